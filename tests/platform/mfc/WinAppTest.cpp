// The application object: its profile in the INI file and then in the registry, the recent-file
// list with its menu items, command routing and command-UI updates of a frame's menus, and the
// run from AfxWinMain to the end of the message loop.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/RecentFileList.h"
#include "platform/mfc/WinApp.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Kernel.h"

namespace {
// A private config folder and program folder for one test, and the bars' test resources as the
// resource module.
class AppFolders : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char szTemplate[] = "/tmp/tb_winapp_XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(szTemplate));
        m_strDir = szTemplate;
        setenv("XDG_CONFIG_HOME", (m_strDir + "/config").c_str(), 1);
        setenv("TB_PROGRAM_DIR", m_strDir.c_str(), 1);
        TbAddResourcePath(TB_SOURCE_DIR "/tests/platform/data");
        m_hOldModule = TbGetResourceModule();
        m_hModule = LoadLibraryA("testbars_1252.dll");
        ASSERT_NE(nullptr, m_hModule);
        TbSetResourceModule(m_hModule);
    }
    void TearDown() override
    {
        TbSetResourceModule(m_hOldModule);
        FreeLibrary(m_hModule);
        unsetenv("XDG_CONFIG_HOME");
        unsetenv("TB_PROGRAM_DIR");
        std::system(("rm -rf '" + m_strDir + "'").c_str());
        // A main window destroyed by a test posted the quit that ends the program's loop.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    std::string ReadText(const std::string& strPath) const
    {
        std::ifstream file(strPath, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    std::string m_strDir;
    HMODULE m_hModule = nullptr;
    HINSTANCE m_hOldModule = nullptr;
};

// Records what the framework asks of the application.
class CTestApp : public CWinApp
{
public:
    explicit CTestApp(LPCSTR pszName = "Quelmor Test") : CWinApp(pszName) {}
    CDocument* OpenDocumentFile(LPCSTR pszFileName) override
    {
        m_opened.emplace_back(pszFileName);
        return m_bOpens ? &m_document : nullptr;
    }
    BOOL InitInstance() override { return m_fnInit ? m_fnInit(this) : FALSE; }
    // The first idle moment closes the main window when a test asks for it.
    BOOL OnIdle(LONG lCount) override
    {
        if (++m_nIdle == 1 && m_bCloseWhenIdle && m_pMainWnd != nullptr)
            m_pMainWnd->PostMessage(WM_CLOSE);
        return CWinApp::OnIdle(lCount);
    }

    std::vector<std::string> m_opened;
    BOOL m_bOpens = TRUE;
    int m_nIdle = 0;
    BOOL m_bCloseWhenIdle = FALSE;
    int m_nWorkspaceOpened = 0;
    BOOL (*m_fnInit)(CTestApp*) = nullptr;

protected:
    afx_msg void OnOpenWorkspace() { ++m_nWorkspaceOpened; }
    // The print command never stays in the menu, and takes the separator after it along.
    afx_msg void OnUpdatePrint(CCmdUI* pCmdUI)
    {
        if (pCmdUI->m_pMenu == nullptr)
            return;
        if (pCmdUI->m_pMenu->GetMenuItemID(static_cast<int>(pCmdUI->m_nIndex) + 1) == 0)
            pCmdUI->m_pMenu->DeleteMenu(pCmdUI->m_nIndex + 1, MF_BYPOSITION);
        pCmdUI->m_pMenu->DeleteMenu(pCmdUI->m_nID, MF_BYCOMMAND);
    }
    DECLARE_MESSAGE_MAP()

private:
    CDocument m_document;
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(603, OnOpenWorkspace)
    ON_UPDATE_COMMAND_UI(605, OnUpdatePrint)
END_MESSAGE_MAP()

class CTestFrame : public CFrameWnd
{
public:
    int m_nConnects = 0;

protected:
    afx_msg void OnConnect() { ++m_nConnects; }
    afx_msg void OnUpdateDisconnect(CCmdUI* pCmdUI)
    {
        pCmdUI->Enable(FALSE);
        pCmdUI->SetCheck(1);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_COMMAND(601, OnConnect)
    ON_UPDATE_COMMAND_UI(602, OnUpdateDisconnect)
END_MESSAGE_MAP()

std::string MenuText(HMENU hMenu)
{
    std::string strText;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i) {
        char sz[128] = "";
        GetMenuStringA(hMenu, static_cast<UINT>(i), sz, sizeof sz, MF_BYPOSITION);
        const UINT uState = GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
        strText += (i ? "|" : "") + std::string(GetMenuItemID(hMenu, i) == 0 ? "-" : sz);
        if (uState & MF_GRAYED)
            strText += " (grey)";
        if (uState & MF_CHECKED)
            strText += " (checked)";
    }
    return strText;
}

TEST_F(AppFolders, ProfileIsTheIniFileUntilTheRegistryKeyIsSet)
{
    CTestApp app;
    const std::string strIni = m_strDir + "/test_platform_mfc.ini";
    EXPECT_EQ(strIni, app.m_pszProfileName);
    EXPECT_EQ(m_strDir + "/test_platform_mfc.hlp", app.m_pszHelpFilePath);
    EXPECT_STREQ("test_platform_mfc", app.m_pszExeName);

    EXPECT_TRUE(app.WriteProfileInt("General", "Count", -5));
    EXPECT_EQ(static_cast<UINT>(-5), app.GetProfileInt("general", "COUNT", 7));
    EXPECT_TRUE(app.WriteProfileString("General", "BaseCurrency", "=KWD"));
    EXPECT_STREQ("=KWD", app.GetProfileString("General", "BaseCurrency"));
    EXPECT_STREQ("dflt", app.GetProfileString("General", "Missing", "dflt"));
    BYTE bytes[] = {0x00, 0xAB, 0xFF};
    EXPECT_TRUE(app.WriteProfileBinary("General", "Placement", bytes, sizeof bytes));
    EXPECT_NE(std::string::npos, ReadText(strIni).find("Placement=AALKPP"));
    LPBYTE pData = nullptr;
    UINT nBytes = 0;
    ASSERT_TRUE(app.GetProfileBinary("General", "Placement", &pData, &nBytes));
    EXPECT_EQ(std::string("\x00\xAB\xFF", 3), std::string(reinterpret_cast<char*>(pData), nBytes));
    delete[] pData;

    // The registry from now on: the INI file's values are not seen any more.
    app.SetRegistryKey("Brand");
    EXPECT_STREQ("Quelmor Test", app.m_pszProfileName);
    EXPECT_EQ(7u, app.GetProfileInt("General", "Count", 7));
    EXPECT_TRUE(app.WriteProfileInt("Settings", "Arabic", 1));
    HKEY hKey = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Brand\\Quelmor Test\\Settings", 0, KEY_READ, &hKey));
    DWORD dwValue = 0, cb = sizeof dwValue, dwType = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(hKey, "Arabic", nullptr, &dwType, reinterpret_cast<BYTE*>(&dwValue), &cb));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), dwType);
    EXPECT_EQ(1u, dwValue);
    RegCloseKey(hKey);

    EXPECT_TRUE(app.WriteProfileString("General", "BaseCurrency", "=USD"));
    EXPECT_STREQ("=USD", app.GetProfileString("General", "BaseCurrency"));
    // A value of the other type reads as the default.
    EXPECT_EQ(3u, app.GetProfileInt("General", "BaseCurrency", 3));
    EXPECT_STREQ("x", app.GetProfileString("Settings", "Arabic", "x"));
    EXPECT_TRUE(app.WriteProfileString("General", "BaseCurrency", nullptr));
    EXPECT_STREQ("gone", app.GetProfileString("General", "BaseCurrency", "gone"));
    EXPECT_TRUE(app.WriteProfileBinary("General", "Placement", bytes, sizeof bytes));
    ASSERT_TRUE(app.GetProfileBinary("General", "Placement", &pData, &nBytes));
    EXPECT_EQ(std::string("\x00\xAB\xFF", 3), std::string(reinterpret_cast<char*>(pData), nBytes));
    delete[] pData;
    EXPECT_FALSE(app.GetProfileBinary("General", "Missing", &pData, &nBytes));
    EXPECT_EQ(nullptr, pData);

    // A second application object with the same names reads the same profile; while it lives
    // it is the program's, and the first is again after it.
    {
        CTestApp second;
        EXPECT_EQ(&second, AfxGetApp());
        second.SetRegistryKey("Brand");
        EXPECT_EQ(1u, second.GetProfileInt("Settings", "Arabic", 0));
    }
    EXPECT_EQ(&app, AfxGetApp());
}

TEST_F(AppFolders, RecentFilesKeepTheNewestFourAndShowInTheMenu)
{
    {
        CTestApp app;
        app.SetRegistryKey("Brand");
        app.LoadStdProfileSettings(4);
        ASSERT_NE(nullptr, app.m_pRecentFileList);
        for (const char* psz : {"/ws/1.wks", "/ws/2.wks", "/ws/3.wks", "/ws/4.wks", "/ws/5.wks", "/ws/3.wks"})
            app.AddToRecentFileList(psz);
        const CRecentFileList& list = *app.m_pRecentFileList;
        EXPECT_EQ("/ws/3.wks|/ws/5.wks|/ws/4.wks|/ws/2.wks",
                  std::string(list[0]) + "|" + list[1].GetString() + "|" + list[2].GetString() + "|" + list[3].GetString());
        EXPECT_EQ(0, app.ExitInstance());
    }
    CTestApp app;
    app.SetRegistryKey("Brand");
    app.LoadStdProfileSettings(4);
    ASSERT_NE(nullptr, app.m_pRecentFileList);
    EXPECT_STREQ("/ws/5.wks", (*app.m_pRecentFileList)[1]);

    // The menu: the files in place of the placeholder, numbered, enabled; a second opening of the
    // menu shows the same items once.
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 603, "&Open...");
    menu.AppendMenu(MF_STRING | MF_GRAYED, ID_FILE_MRU_FILE1, "Recent workspace");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_APP_EXIT, "E&xit");
    for (int nOpen = 0; nOpen < 2; ++nOpen) {
        CCmdUI state;
        state.m_pMenu = &menu;
        state.m_nIndex = 1;
        state.m_nID = ID_FILE_MRU_FILE1;
        state.m_nIndexMax = menu.GetMenuItemCount();
        EXPECT_TRUE(state.DoUpdate(&app, TRUE));
        EXPECT_EQ("&Open...|&1 /ws/3.wks|&2 /ws/5.wks|&3 /ws/4.wks|&4 /ws/2.wks|-|E&xit", MenuText(menu.m_hMenu));
        EXPECT_EQ(4u, state.m_nIndex);              // the walk goes on after the last file
        EXPECT_EQ(7u, state.m_nIndexMax);
    }
    // An Arabic user's menu keeps each path reading left to right after its number.
    SetThreadLocale(0x3401);
    TbSetActiveCodePage(1256);
    CCmdUI arabic;
    arabic.m_pMenu = &menu;
    arabic.m_nIndex = 1;
    arabic.m_nID = ID_FILE_MRU_FILE1;
    EXPECT_TRUE(arabic.DoUpdate(&app, TRUE));
    EXPECT_EQ("&Open...|&1 \xFD/ws/3.wks\xFD|&2 \xFD/ws/5.wks\xFD|&3 \xFD/ws/4.wks\xFD|&4 \xFD/ws/2.wks\xFD|-|E&xit",
              MenuText(menu.m_hMenu));
    SetThreadLocale(1033);
    TbSetActiveCodePage(1252);
    // Choosing one opens it; one that no longer opens leaves the list.
    EXPECT_TRUE(app.OnCmdMsg(ID_FILE_MRU_FILE1 + 1, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(std::vector<std::string>{"/ws/5.wks"}, app.m_opened);
    app.m_bOpens = FALSE;
    EXPECT_TRUE(app.OnCmdMsg(ID_FILE_MRU_FILE1 + 2, CN_COMMAND, nullptr, nullptr));
    EXPECT_STREQ("/ws/2.wks", (*app.m_pRecentFileList)[2]);
    EXPECT_STREQ("", (*app.m_pRecentFileList)[3]);
    EXPECT_FALSE(app.OnCmdMsg(ID_FILE_MRU_FILE1 + 3, CN_COMMAND, nullptr, nullptr));   // a free slot

    // Names: a file in the current folder alone, a long path shortened, a relative one made whole.
    char szCwd[4096];
    ASSERT_NE(nullptr, getcwd(szCwd, sizeof szCwd));
    app.AddToRecentFileList("here.wks");
    EXPECT_EQ(std::string(szCwd) + "/here.wks", (*app.m_pRecentFileList)[0].GetString());
    app.AddToRecentFileList("/a/long/folder/name/for/the/saved/workspace/files/market.wks");
    CString strName;
    ASSERT_TRUE(app.m_pRecentFileList->GetDisplayName(strName, 1, szCwd, static_cast<int>(std::string(szCwd).size())));
    EXPECT_STREQ("here.wks", strName);
    ASSERT_TRUE(app.m_pRecentFileList->GetDisplayName(strName, 0, szCwd, static_cast<int>(std::string(szCwd).size())));
    EXPECT_STREQ("/.../files/market.wks", strName);
    EXPECT_LE(strName.GetLength(), 30);
}

TEST_F(AppFolders, AnEmptyRecentListLeavesThePlaceholderGrey)
{
    CTestApp app;
    app.SetRegistryKey("Brand");
    app.LoadStdProfileSettings(4);
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_FILE_MRU_FILE1, "Recent workspace");
    CCmdUI state;
    state.m_pMenu = &menu;
    state.m_nID = ID_FILE_MRU_FILE1;
    state.m_nIndexMax = 1;
    state.DoUpdate(&app, TRUE);
    EXPECT_EQ("Recent workspace (grey)", MenuText(menu.m_hMenu));
}

TEST_F(AppFolders, MenusFollowTheHandlersOfTheFrameAndTheApplication)
{
    CTestApp app;
    CTestFrame* pFrame = new CTestFrame;
    ASSERT_TRUE(pFrame->LoadFrame(600));
    app.m_pMainWnd = pFrame;
    HMENU hFile = GetSubMenu(GetMenu(pFrame->m_hWnd), 0);
    ASSERT_NE(nullptr, hFile);
    pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hFile), 0);
    // Connect: the frame's; Disconnect: its update handler; Open: the application's; Print
    // removes itself and its separator; the recent list is empty; Exit is the library's.
    EXPECT_EQ("&Connect|&Disconnect (grey) (checked)|&Open workspace...|Recent workspace (grey)|-|E&xit",
              MenuText(hFile));

    // Without automatic enabling, items without handlers stay as they are.
    pFrame->m_bAutoMenuEnable = FALSE;
    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_STRING, 777, "No handler");
    pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.m_hMenu), 0);
    EXPECT_EQ("No handler", MenuText(popup.m_hMenu));
    pFrame->m_bAutoMenuEnable = TRUE;
    pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.m_hMenu), 0);
    EXPECT_EQ("No handler (grey)", MenuText(popup.m_hMenu));

    // Commands reach the frame first, then the application.
    pFrame->SendMessage(WM_COMMAND, 601);
    pFrame->SendMessage(WM_COMMAND, 603);
    EXPECT_EQ(1, pFrame->m_nConnects);
    EXPECT_EQ(1, app.m_nWorkspaceOpened);

    // The main window's end ends the loop.
    pFrame->DestroyWindow();
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(AppFolders, AfxWinMainRunsTheLoopUntilTheMainWindowCloses)
{
    CTestApp app;
    app.m_fnInit = [](CTestApp* pApp) -> BOOL {
        CCommandLineInfo cmdInfo;
        pApp->ParseCommandLine(cmdInfo);
        if (cmdInfo.m_nShellCommand != CCommandLineInfo::FileOpen || !cmdInfo.m_bRunEmbedded)
            return FALSE;
        CTestFrame* pFrame = new CTestFrame;
        if (!pFrame->LoadFrame(600))
            return FALSE;
        pApp->m_pMainWnd = pFrame;
        if (!pApp->ProcessShellCommand(cmdInfo))
            return FALSE;
        pFrame->PostMessage(WM_COMMAND, 601);
        pApp->m_bCloseWhenIdle = TRUE;
        return TRUE;
    };
    char szCmdLine[] = "\"/tmp/my space.wks\" /Embedding";
    EXPECT_EQ(0, AfxWinMain(nullptr, nullptr, szCmdLine, SW_SHOWNORMAL));
    EXPECT_EQ(std::vector<std::string>{"/tmp/my space.wks"}, app.m_opened);
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    EXPECT_GT(app.m_nIdle, 0);

    // A start-up that fails takes its main window down and still exits.
    app.m_bOpens = FALSE;
    EXPECT_EQ(0, AfxWinMain(nullptr, nullptr, szCmdLine, SW_SHOWNORMAL));
    EXPECT_EQ(nullptr, app.m_pMainWnd);
}
}  // namespace
