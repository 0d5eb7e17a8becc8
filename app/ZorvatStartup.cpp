#include <cstdlib>
#include <cstring>
#include "app/MainFrame.h"
#include "app/RestoredPlacement.h"
#include "app/ZorvatApp.h"
#include "app/SessionHooks.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"
#include "link/MessageTypes.h"
#include "link/ZorvatComm.h"
#include "platform/win/Windows.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/net/Winsock.h"
#include "platform/win/user/MessageBox.h"
#include "refdata/ZorvatGlobals.h"

#define DEFAULT_BRAND "ZORVATOnLine"
#define IDS_BRAND 40372
#define IDS_SOCKETS_FAILED 40349
#define IDS_PRINT_TITLE 40366
#define IDS_SHARED_TEXT 40370
#define IDS_OPTION_SECTION 40373
#define IDS_OPTION_KEY 40379
#define IDS_APP_NAME 40378
#define IDS_HELP_MENU_TEXT 42229
#define IDB_PRINT_LOGO 115
#define IDI_TABLE_WINDOW 284
#define ID_MENU_TRIMMED 32828
#define ID_MENU_TRIMMED_UNLESS_TEXT 33618
#define LANGID_ENGLISH 1033
#define LANGID_ARABIC 0x3401
// The system code page of the machines the terminal runs on, whatever language it shows: the
// server's Arabic texts (company names, headlines) are drawn and copied through it in English
// too, and the English texts are plain ASCII in it.
#define SYSTEM_CODE_PAGE 1256
#ifndef FWS_ADDTOTITLE
#define FWS_ADDTOTITLE 0x00008000L   // the frame's title carries the document's name
#endif

namespace {

CString ModuleString(HMODULE hModule, UINT nId)
{
    char szText[512];
    return LoadStringA(hModule, nId, szText, sizeof szText) > 0 ? CString(szText) : CString();
}

}  // namespace

CString CZORVAT32App::ReadBrandName()
{
    // The English branding library names the brand, whatever the language.
    CString strBrand = DEFAULT_BRAND;
    if (HMODULE hBranding = LoadLibraryA("branding_1252.dll")) {
        const CString strText = ModuleString(hBranding, IDS_BRAND);
        if (!strText.IsEmpty())
            strBrand = strText;
        FreeLibrary(hBranding);
    }
    return strBrand;
}

BOOL CZORVAT32App::LoadLanguage(DWORD dwArabic)
{
    HMODULE hBranding = nullptr;
    if (dwArabic != 0) {
        m_hLanguage = LoadLibraryA("_1256.dll");
        if (m_hLanguage != nullptr) {
            hBranding = LoadLibraryA("branding_1256.dll");
            m_nLanguageId = LANGID_ARABIC;
            // The user's language, which the platform's own dialogs speak; the code page stays 1256.
            SetThreadLocale(LANGID_ARABIC);
            GetNorvGlobals().SetRightToLeft(TRUE);
            GetNorvGlobals().SetLanguage(1);
        }
    }
    if (m_hLanguage == nullptr) {
        // English, laid out left to right, also when the Arabic library is missing.
        m_hLanguage = LoadLibraryA("_1252.dll");
        hBranding = LoadLibraryA("branding_1252.dll");
        m_nLanguageId = LANGID_ENGLISH;
        SetThreadLocale(LANGID_ENGLISH);
        GetNorvGlobals().SetRightToLeft(FALSE);
        GetNorvGlobals().SetLanguage(0);
    }
    CSharedGlobals* pShared = GetSharedGlobals();
    if (pShared->m_hBranding != nullptr)
        FreeLibrary(pShared->m_hBranding);
    pShared->m_hBranding = hBranding;
    return m_hLanguage != nullptr;
}

CString CZORVAT32App::FindProgramFolder()
{
    // The executable's folder ($TB_PROGRAM_DIR moves it for tests and the demo).
    char szPath[1024] = "";
    GetModuleFileNameA(nullptr, szPath, sizeof szPath);
    CString strPath = szPath;
    const int nSlash = strPath.ReverseFind('/');
    return nSlash >= 0 ? strPath.Left(nSlash + 1) : CString("./");
}

BOOL CZORVAT32App::InitInstance()
{
    TbSetActiveCodePage(SYSTEM_CODE_PAGE);
    const CString strBrand = ReadBrandName();
    if (!LoadLanguage(ReadArabicChoice(strBrand)))
        return FALSE;
    TbSetResourceModule(m_hLanguage);
    RegisterStockActions(TRUE);
    RegisterPageOpeners(TRUE);
    CSharedGlobals* pShared = GetSharedGlobals();

    m_strProgramFolder = FindProgramFolder();
    CString strAppName;
    pShared->LoadString(strAppName, IDS_APP_NAME);
    m_strHelpFile = m_strProgramFolder + "Zorvat32.chm";
    free(const_cast<char*>(m_pszHelpFilePath));
    m_pszHelpFilePath = strdup(m_strHelpFile);
    Init(m_hLanguage, strAppName, 0);
    if (!RegisterWindowClasses())
        return FALSE;
    RegisterTreeListClass();

    WSADATA wsa{};
    if (WSAStartup(0x0101, &wsa) != 0) {
        CString strText;
        pShared->LoadString(strText, IDS_SOCKETS_FAILED);
        MessageBoxA(nullptr, strText, "", MB_OK);
        return FALSE;
    }
    GetNorvGlobals().m_strTimePattern = "H:M:S";
    GetNorvGlobals().m_strDatePattern = "D/M/Y";
    pShared->LoadString(pShared->m_strText1, IDS_SHARED_TEXT);

    CString strFile;
    pShared->LoadString(strFile, IDS_LINK_SETTINGS_FILE);
    m_strLinkSettingsFile = m_strProgramFolder + strFile;
    pShared->LoadString(strFile, IDS_SETTINGS_FILE);
    m_strWorkspaceFile = m_strProgramFolder + strFile;
    pShared->m_settings.Open(m_strWorkspaceFile);
    m_pSettings = &pShared->m_settings;

    pShared->LoadString(pShared->m_strProductName, IDS_PRINT_TITLE);
    pShared->m_nExportSeparator = '|';
    OpenProfile(pShared, strAppName);

    RegisterMessageCodes(g_messageCodePairs);
    GetGlobals()->Register(this, this);
    GetGlobals()->LoadStrings();
    RegisterTableWindowClass(IDI_TABLE_WINDOW);

    if (!CreateMainFrame())
        return FALSE;
    // A workspace named on the command line opens as a recent file would.
    CCommandLineInfo commandLine;
    if (m_lpCmdLine != nullptr)
        ParseCommandLine(commandLine);
    if (!ProcessShellCommand(commandLine))
        return FALSE;

    GetGlobals()->ReadMarketsFile();
    BuildStandingSet();
    m_norvFormat.CreateTables();
    m_types.CreateTables();

    // An empty or missing option counts as "Yes"; only "Yes" itself, as written, sets it.
    CString strSection, strKey;
    pShared->LoadString(strSection, IDS_OPTION_SECTION);
    pShared->LoadString(strKey, IDS_OPTION_KEY);
    CString strOption = ReadProfileText(strSection, strKey, "");
    if (strOption.IsEmpty())
        strOption = "Yes";
    GetGlobals()->m_bOption = strOption == "Yes";
    ReadBaseCurrency();
    Connect();
    return TRUE;
}

BOOL CZORVAT32App::CreateMainFrame()
{
    CMainFrame* pFrame = new CMainFrame;
    m_pMainFrame = pFrame;
    if (!pFrame->LoadFrame(IDS_APP_TITLE, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        m_pMainFrame = nullptr;     // a failed creation deleted the frame
        return FALSE;
    }
    // The class library's main window: its bars update while idle, and its end ends the loop.
    CWinApp::m_pMainWnd = pFrame;
    GetSharedGlobals()->LoadString(m_strAppTitle, IDS_APP_TITLE);
    pFrame->SetTitleText(m_strAppTitle);
    TrimMenu(pFrame);

    // Maximised unless a placement was saved.
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    pFrame->GetWindowPlacement(&wp);
    wp.showCmd = SW_SHOWMAXIMIZED;
    WINDOWPLACEMENT saved = wp;
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    settings.SetSection(".General");
    settings.GetWindowPlacement(&saved, "WinPlace", &wp, nullptr);
    MakeFramePlacementReachable(&saved);
    pFrame->SetWindowPlacement(&saved);
    pFrame->ShowWindow(saved.showCmd);
    pFrame->UpdateWindow();
    // The client and the bars take their places now: the windows made next are sized from them.
    pFrame->RecalcLayout();
    return TRUE;
}

void CZORVAT32App::TrimMenu(CMainFrame* pFrame)
{
    HMENU hMenu = ::GetMenu(pFrame->m_hWnd);
    if (hMenu == nullptr)
        return;
    DeleteMenu(hMenu, ID_MENU_TRIMMED, MF_BYCOMMAND);
    CString strText;
    GetSharedGlobals()->LoadString(strText, IDS_HELP_MENU_TEXT);
    if (strText.IsEmpty())
        DeleteMenu(hMenu, ID_MENU_TRIMMED_UNLESS_TEXT, MF_BYCOMMAND);
}

int CZORVAT32App::ExitInstance()
{
    // The session ends with the program: what it kept for its user goes as at a log-off.
    RunLogoffHooks();
    RegisterStockActions(FALSE);
    RegisterPageOpeners(FALSE);
    GetGlobals()->Unregister();
    if (m_pComm != nullptr && m_pComm->m_hWnd != nullptr)
        m_pComm->DestroyWindow();
    DestroyTickersAndTables();
    if (m_hLanguage != nullptr) {
        TbSetResourceModule(nullptr);
        FreeLibrary(m_hLanguage);
        m_hLanguage = nullptr;
    }
    return CNorvApp::ExitInstance();
}
