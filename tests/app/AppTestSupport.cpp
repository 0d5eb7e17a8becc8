#include "AppTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include "framework/base/Language.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/user/Message.h"

std::string MakeTestFolder(const char* pszStem)
{
    static int s_nFolder = 0;
    const std::string strFolder = std::string(TB_BINARY_DIR) + "/test-files/app-" + std::to_string(getpid()) + "-" +
                                  pszStem + "-" + std::to_string(++s_nFolder);
    std::error_code ec;
    std::filesystem::remove_all(strFolder, ec);
    std::filesystem::create_directories(strFolder, ec);
    return strFolder;
}

void PumpPending()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

CTestLanguage::CTestLanguage(int nCodePage)
{
    static bool s_bPath = false;
    if (!s_bPath) {
        TbAddResourcePath(TB_SOURCE_DIR "/resources");
        s_bPath = true;
    }
    char szName[32];
    snprintf(szName, sizeof szName, "_%d.dll", nCodePage);
    m_hModule = LoadLibraryA(szName);
    m_hOld = TbGetResourceModule();
    TbSetResourceModule(m_hModule);
    GetNorvGlobals().SetRightToLeft(nCodePage == 1256);
    GetNorvGlobals().SetLanguage(nCodePage == 1256 ? 1 : 0);
}

CTestLanguage::~CTestLanguage()
{
    TbSetResourceModule(m_hOld);
    GetNorvGlobals().SetRightToLeft(FALSE);
    GetNorvGlobals().SetLanguage(0);
    if (m_hModule != nullptr)
        FreeLibrary(m_hModule);
}

CTestShell::CTestShell()
{
    m_strFolder = MakeTestFolder("shell");
    m_pApp = new CNorvApp;
    m_pApp->LoadWorkspace((m_strFolder + "/settings.ini").c_str(), FALSE);
    m_pFrame = new CNorvMainFrame;
    m_pFrame->Create(nullptr, "Test terminal", WS_OVERLAPPEDWINDOW, CRect(0, 0, 1000, 700));
    m_pFrame->ShowWindow(SW_SHOW);
    m_pApp->SetMainFrame(m_pFrame);
}

CTestShell::~CTestShell()
{
    m_pApp->RemoveAllTables();
    if (m_pFrame->m_hWnd != nullptr)
        m_pFrame->DestroyWindow();
    GetSharedGlobals()->m_pInfoWindow = nullptr;
    delete m_pApp;
    PumpPending();
}

std::string CTestShell::Setting(const char* pszSection, const char* pszKey)
{
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    settings.SetSection(pszSection);
    return static_cast<const char*>(settings.GetString(pszKey, "<none>"));
}

namespace {

// One display for the whole program, so that fonts measure and screenshots can be written.
class CDisplayEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(TbInitQtPlatform(nullptr, nullptr));
        // The registry of this program's run, away from the user's own.
        setenv("XDG_CONFIG_HOME", MakeTestFolder("config").c_str(), 1);
    }
};

const ::testing::Environment* const s_pDisplay = ::testing::AddGlobalTestEnvironment(new CDisplayEnvironment);

}  // namespace
