// The application object: start-up and the message loop, the command target at the end of the
// routing, help, cursors. The profile is in WinAppProfile.cpp.
#include "platform/mfc/WinApp.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/mfc/CommonDialogs.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/RecentFileList.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/kernel/Shell.h"
#include "platform/win/user/Cursor.h"

namespace {
// The application objects alive, oldest first: the newest is the program's, and when it goes
// (a test's own) the one before it is again.
std::vector<CWinApp*>& Apps()
{
    static std::vector<CWinApp*> s_apps;
    return s_apps;
}

// Splits a command line at blanks; a quoted part keeps its blanks.
std::vector<std::string> SplitCommandLine(LPCSTR pszLine)
{
    std::vector<std::string> args;
    std::string strArg;
    bool bQuoted = false, bInArg = false;
    for (const char* p = pszLine ? pszLine : ""; *p; ++p) {
        if (*p == '"') {
            bQuoted = !bQuoted;
            bInArg = true;
        } else if ((*p == ' ' || *p == '\t') && !bQuoted) {
            if (bInArg)
                args.push_back(strArg);
            strArg.clear();
            bInArg = false;
        } else {
            strArg += *p;
            bInArg = true;
        }
    }
    if (bInArg)
        args.push_back(strArg);
    return args;
}
}  // namespace

// ---- the message loop ----

int CWinThread::ExitInstance()
{
    return static_cast<int>(m_msgCur.wParam);
}

BOOL CWinThread::PumpMessage()
{
    if (!::GetMessageA(&m_msgCur, nullptr, 0, 0))
        return FALSE;
    if (!PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->hwnd == nullptr)
        return FALSE;
    CWnd* pMainWnd = m_pMainWnd;
    if (CWnd::WalkPreTranslateTree(pMainWnd ? pMainWnd->m_hWnd : nullptr, pMsg))
        return TRUE;
    // A modeless window of its own (a dialog) still gets the main frame's accelerators.
    if (pMainWnd != nullptr && ::IsWindow(pMainWnd->m_hWnd) && ::GetAncestor(pMsg->hwnd, GA_ROOT) != pMainWnd->m_hWnd)
        return pMainWnd->PreTranslateMessage(pMsg);
    return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    if (pMsg->message == WM_MOUSEMOVE) {
        const bool bSame = m_nLastMessage == WM_MOUSEMOVE && pMsg->pt.x == m_ptLastMouse.x && pMsg->pt.y == m_ptLastMouse.y;
        m_ptLastMouse = pMsg->pt;
        m_nLastMessage = pMsg->message;
        return !bSame;
    }
    m_nLastMessage = pMsg->message;
    return pMsg->message != WM_PAINT;
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        CWnd* pMainWnd = m_pMainWnd;
        if (pMainWnd != nullptr && ::IsWindow(pMainWnd->m_hWnd) && pMainWnd->IsWindowVisible()) {
            pMainWnd->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
            if (m_pMainWnd == pMainWnd && ::IsWindow(pMainWnd->m_hWnd))
                pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
        return TRUE;
    }
    if (lCount == 1) {
        CWnd::DeleteTempMap();
        CMenu::DeleteTempMap();
        CDC::DeleteTempMap();
        CGdiObject::DeleteTempMap();
    }
    return FALSE;
}

int CWinThread::Run()
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    for (;;) {
        MSG msg;
        while (bIdle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

// ---- the application ----

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
    ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
    ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR pszAppName)
{
    if (pszAppName != nullptr)
        Replace(m_pszAppName, pszAppName);
    SetCurrentHandles();
    Apps().push_back(this);
}

CWinApp::~CWinApp()
{
    delete m_pRecentFileList;
    for (HGLOBAL h : {m_hDevMode, m_hDevNames})
        if (h)
            GlobalFree(h);
    for (LPCSTR* ppsz : {&m_pszAppName, &m_pszExeName, &m_pszHelpFilePath, &m_pszProfileName, &m_pszRegistryKey})
        Replace(*ppsz, nullptr);
    std::erase(Apps(), this);
}

void CWinApp::Replace(LPCSTR& psz, LPCSTR pszValue)
{
    std::free(const_cast<char*>(psz));
    psz = pszValue ? strdup(pszValue) : nullptr;
}

void CWinApp::SetCurrentHandles()
{
    char szModule[4096];
    if (GetModuleFileNameA(nullptr, szModule, sizeof szModule) == 0 || szModule[0] == '\0')
        std::strcpy(szModule, "program");
    const std::string strPath(szModule);
    const size_t nSlash = strPath.rfind('/');
    const std::string strName = nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
    const size_t nDot = strName.rfind('.');
    const std::string strStem = nDot == std::string::npos || nDot == 0 ? strName : strName.substr(0, nDot);
    const std::string strBase = strPath.substr(0, strPath.size() - strName.size()) + strStem;
    Replace(m_pszExeName, strStem.c_str());
    Replace(m_pszHelpFilePath, (strBase + ".hlp").c_str());
    if (m_pszAppName == nullptr) {
        CString strTitle;
        Replace(m_pszAppName, strTitle.LoadString(AFX_IDS_APP_TITLE) ? strTitle.GetString() : strStem.c_str());
    }
    // Until SetRegistryKey the profile is an INI file beside the program.
    if (m_pszRegistryKey == nullptr)
        Replace(m_pszProfileName, (strBase + ".ini").c_str());
}

int CWinApp::ExitInstance()
{
    SaveStdProfileSettings();
    return CWinThread::ExitInstance();
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR)
{
    return nullptr;
}

BOOL CWinApp::OnOpenRecentFile(UINT nID)
{
    if (m_pRecentFileList == nullptr)
        return FALSE;
    const int nIndex = static_cast<int>(nID - ID_FILE_MRU_FILE1);
    const CString strPath = (*m_pRecentFileList)[nIndex];
    if (strPath.IsEmpty())
        return FALSE;
    // A file that no longer opens leaves the list.
    if (OpenDocumentFile(strPath) == nullptr)
        m_pRecentFileList->Remove(nIndex);
    return TRUE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI)
{
    if (m_pRecentFileList == nullptr)
        pCmdUI->Enable(FALSE);
    else
        m_pRecentFileList->UpdateMenu(pCmdUI);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::OnFileNew()
{
}

void CWinApp::OnFileOpen()
{
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, "All Files (*.*)|*.*||", m_pMainWnd);
    if (dlg.DoModal() == IDOK)
        OpenDocumentFile(dlg.GetPathName());
}

INT_PTR CWinApp::DoPrintDialog(CPrintDialog* pPD)
{
    // Without a choice yet the chooser starts on the machine's default printer, and a cancel
    // leaves the application following the machine's default.
    pPD->m_pd.hDevNames = m_hDevNames;
    pPD->m_pd.hDevMode = m_hDevMode;
    const INT_PTR nResult = pPD->DoModal();
    // On OK the chooser has freed the blocks it was handed and made new ones.
    if (nResult == IDOK) {
        m_hDevNames = pPD->m_pd.hDevNames;
        m_hDevMode = pPD->m_pd.hDevMode;
    }
    return nResult;
}

void CWinApp::OnFilePrintSetup()
{
    CPrintDialog dlg(TRUE, 0, m_pMainWnd);
    DoPrintDialog(&dlg);
}

void CWinApp::AddToRecentFileList(LPCSTR pszPathName)
{
    if (m_pRecentFileList != nullptr && pszPathName != nullptr && *pszPathName)
        m_pRecentFileList->Add(pszPathName);
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    if (nMaxMRU > 16)
        nMaxMRU = 16;
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (nMaxMRU != 0) {
        m_pRecentFileList = new CRecentFileList(0, "Recent File List", "File%d", static_cast<int>(nMaxMRU));
        m_pRecentFileList->ReadList();
    }
    m_nNumPreviewPages = static_cast<int>(GetProfileInt("Settings", "PreviewPages", 0));
}

void CWinApp::SaveStdProfileSettings()
{
    if (m_pRecentFileList != nullptr)
        m_pRecentFileList->WriteList();
}

void CCommandLineInfo::ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL)
{
    if (bFlag) {
        if (strcasecmp(pszParam, "Embedding") == 0)
            m_bRunEmbedded = TRUE;
        else if (strcasecmp(pszParam, "Automation") == 0)
            m_bRunAutomated = TRUE;
        return;
    }
    if (m_strFileName.IsEmpty()) {
        m_strFileName = pszParam;
        m_nShellCommand = FileOpen;
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    const std::vector<std::string> args = SplitCommandLine(m_lpCmdLine);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& strArg = args[i];
        const BOOL bFlag = !strArg.empty() && (strArg[0] == '-' || strArg[0] == '/') && strArg.size() > 1 &&
                           strArg.find('/', 1) == std::string::npos;
        rCmdInfo.ParseParam(bFlag ? strArg.c_str() + 1 : strArg.c_str(), bFlag, i + 1 == args.size());
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    BOOL bResult = TRUE;
    if (rCmdInfo.m_nShellCommand == CCommandLineInfo::FileNew) {
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr))
            OnFileNew();
        if (m_pMainWnd == nullptr)
            bResult = FALSE;
    } else if (rCmdInfo.m_nShellCommand == CCommandLineInfo::FileOpen) {
        if (OpenDocumentFile(rCmdInfo.m_strFileName) == nullptr)
            bResult = FALSE;
    }
    return bResult;
}

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    if (m_pszHelpFilePath == nullptr || nCmd == HELP_QUIT)
        return;
    ::HtmlHelpA(m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr, m_pszHelpFilePath,
                nCmd == HELP_CONTEXT ? HH_HELP_CONTEXT : HH_DISPLAY_TOPIC, dwData);
}

void CWinApp::HtmlHelp(DWORD_PTR dwData, UINT nCmd)
{
    if (m_pszHelpFilePath != nullptr)
        ::HtmlHelpA(m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr, m_pszHelpFilePath, nCmd, dwData);
}

void CWnd::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->WinHelp(dwData, nCmd);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

HICON CWinApp::LoadIcon(LPCSTR pszResourceName) const
{
    return ::LoadIconA(AfxGetResourceHandle(), pszResourceName);
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const
{
    return ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

HCURSOR CWinApp::LoadStandardCursor(LPCSTR pszCursorName) const
{
    return ::LoadCursorA(nullptr, pszCursorName);
}

void CWinApp::DoWaitCursor(int nCode)
{
    if (nCode > 0) {
        if (m_nWaitCursorCount++ == 0)
            m_hcurWaitCursorRestore = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
        else
            ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    } else if (nCode < 0) {
        if (m_nWaitCursorCount > 0 && --m_nWaitCursorCount == 0)
            ::SetCursor(m_hcurWaitCursorRestore ? m_hcurWaitCursorRestore : ::LoadCursorA(nullptr, IDC_ARROW));
    } else if (m_nWaitCursorCount > 0) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    }
}

// ---- the library's globals ----

CWinApp* AfxGetApp()
{
    return Apps().empty() ? nullptr : Apps().back();
}

CWnd* AfxGetMainWnd()
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->m_hInstance : nullptr;
}

HINSTANCE AfxGetResourceHandle()
{
    return TbGetResourceModule();
}

void AfxSetResourceHandle(HINSTANCE hInstance)
{
    TbSetResourceModule(hInstance);
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    pApp->SetCurrentHandles();
    if (!pApp->InitApplication() || !pApp->InitInstance()) {
        if (pApp->m_pMainWnd != nullptr && ::IsWindow(pApp->m_pMainWnd->m_hWnd))
            pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    return pApp->Run();
}

BOOL AfxSocketInit(void*)
{
    return TRUE;
}

BOOL AfxOleInit()
{
    return TRUE;
}

void AfxEnableControlContainer()
{
}
