// Start-up: the window placement, the option and base-currency defaults from the profile, and
// the language when the Arabic library is missing (in a process of its own, whose resources lack
// it).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <string>
#include "AppTestSupport.h"
#include "TerminalRun.h"
#include "WholeTerminalMakers.h"
#include "app/MainFrame.h"
#include "account/AccountTables.h"
#include "app/AppCommands.h"
#include "app/DataTable.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "framework/base/NorvGlobals.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/kernel/Registry.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/LayerWords.h"
#include "refdata/ZorvatGlobals.h"

namespace {

// The application's profile key, as start-up forms it from the brand and the application name.
const char s_szProfile[] = "Software\\ZORVATOnLine\\Quelmor Pro\\";

void SetProfileText(const char* pszSection, const char* pszName, const char* pszValue)
{
    HKEY hKey = nullptr;
    const std::string strKey = std::string(s_szProfile) + pszSection;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, strKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr) !=
        ERROR_SUCCESS)
        return;
    if (pszValue == nullptr)
        RegDeleteValueA(hKey, pszName);
    else
        RegSetValueExA(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(pszValue), strlen(pszValue) + 1);
    RegCloseKey(hKey);
}

struct StartupFixture : ::testing::Test
{
    CTestServer server;
    void SetUp() override { ASSERT_TRUE(server.Start({"--accounts", TB_SOURCE_DIR "/tests/app/data/accounts.txt"})); }
};

}  // namespace

TEST_F(StartupFixture, DefaultsWhereNothingIsStored)
{
    SetProfileText("Options", "KSEMarketDepth", nullptr);
    SetProfileText(".General", "BaseCurrency", nullptr);
    CTerminalRun run;
    run.WriteLinkSettings(server.Port());
    ASSERT_TRUE(run.Start());
    EXPECT_TRUE(run.App().GetMainFrame()->IsZoomed()) << "no saved placement: maximised";
    EXPECT_TRUE(GetGlobals()->m_bOption) << "a missing option counts as Yes";
    EXPECT_EQ("=KWD", std::string(run.App().GetBaseCurrency()));
    EXPECT_STREQ("0", run.App().GetLanguageCode());
    EXPECT_FALSE(GetNorvGlobals().m_bRightToLeft);
}

TEST_F(StartupFixture, StoredValuesAreTakenAsWritten)
{
    SetProfileText("Options", "KSEMarketDepth", "yes");
    SetProfileText(".General", "BaseCurrency", "=USD");
    CTerminalRun run;
    run.WriteLinkSettings(server.Port());
    ASSERT_TRUE(run.Start());
    EXPECT_FALSE(GetGlobals()->m_bOption) << "only \"Yes\" as written sets the option";
    EXPECT_EQ("=USD", std::string(run.App().GetBaseCurrency()));
    SetProfileText("Options", "KSEMarketDepth", nullptr);
    SetProfileText(".General", "BaseCurrency", nullptr);
}

// A saved place of the main window from a larger screen, a run without a display or a damaged
// file: the window opens wholly on the screen, large enough to work in; a sound one as saved.
TEST_F(StartupFixture, TheMainWindowOpensOnTheScreen)
{
    const int cxScreen = GetSystemMetrics(SM_CXSCREEN), cyScreen = GetSystemMetrics(SM_CYSCREEN);
    const struct { const char* pszPlace; RECT rcSeen; } cases[] = {
        {"0,1,0,0,0,0,50000,50000,50700,50500", {cxScreen - 700, cyScreen - 500, cxScreen, cyScreen}},
        {"0,1,0,0,0,0,30,40,30,40", {30, 40, 670, 520}},
        {"0,1,0,0,0,0,-20,70,-10,75", {0, 70, 640, 550}},
        {"0,1,0,0,0,0,20,30,700,560", {20, 30, 700, 560}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszPlace);
        CTerminalRun run;
        std::ofstream(run.Folder() + "/Default.wsp") << "[.General]\nWinPlace=" << c.pszPlace << "\n";
        run.WriteLinkSettings(server.Port());
        ASSERT_TRUE(run.Start());
        CRect rc;
        run.App().GetMainFrame()->GetWindowRect(&rc);
        auto text = [](const RECT& r) {
            return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," + std::to_string(r.bottom);
        };
        EXPECT_EQ(text(c.rcSeen), text(rc));
        EXPECT_FALSE(run.App().GetMainFrame()->IsZoomed());
    }
}

// Under a window manager that frames the main window with a caption of 20 pixels above and an
// edge of 5 below, a saved place off the screen above or below opens with the whole frame on it:
// the caption, where the trader moves and closes the window, is never above the screen's top, nor
// the lower edge below its bottom. (The headless display keeps its own frame's sides on the screen.)
TEST_F(StartupFixture, TheMainWindowsFrameCaptionIncludedOpensOnTheScreen)
{
    const RECT rcFrame = {1, 20, 1, 5};
    TbQtSetWindowManagerFrame(&rcFrame);
    struct CStandInGoes {
        ~CStandInGoes() { TbQtSetWindowManagerFrame(nullptr); }
    } standInGoes;
    const int cyScreen = GetSystemMetrics(SM_CYSCREEN);
    const struct { const char* pszPlace; int nOuterTop, nOuterBottom; } cases[] = {
        {"0,1,0,0,0,0,-5000,-3000,-4200,-2400", 0, 20 + 600 + 5}, {"0,1,0,0,0,0,50000,50000,90000,90000", 0, cyScreen}};
    for (const auto& [pszPlace, nOuterTop, nOuterBottom] : cases) {
        SCOPED_TRACE(pszPlace);
        CTerminalRun run;
        std::ofstream(run.Folder() + "/Default.wsp") << "[.General]\nWinPlace=" << pszPlace << "\n";
        run.WriteLinkSettings(server.Port());
        run.m_bCancelUnanswered = true;
        ASSERT_TRUE(run.Start());
        const HWND hFrame = run.App().GetMainFrame()->m_hWnd;
        auto outer = [&](const RECT& rc) { return std::to_string(rc.top - rcFrame.top) + "-" + std::to_string(rc.bottom + rcFrame.bottom); };
        const std::string strWanted = std::to_string(nOuterTop) + "-" + std::to_string(nOuterBottom);
        RECT rc = {}, rcShown = {};
        for (int n = 0; n < 50 && outer(rc) != strWanted; ++n) {
            PumpFor(20);
            GetWindowRect(hFrame, &rc);
        }
        EXPECT_EQ(strWanted, outer(rc)) << "the frame's top and bottom on a screen " << cyScreen << " high";
        ASSERT_TRUE(TbQtGetSurfaceGeometry(hFrame, &rcShown));
        EXPECT_EQ(strWanted, outer(rcShown)) << "the display shows it there";
    }
}

// A table's name keys the workspace: the holdings windows an English session saved come back in
// an Arabic session in the same program folder. The layer's own dialogs (print setup, message
// boxes, choosers) speak the language chosen, not the machine's code page, Arabic for both.
TEST_F(StartupFixture, ArabicSessionTakesTheEnglishWorkspaceAndSpeaksArabic)
{
    const struct { UINT nCommand; UINT nTable; } tables[] = {
        {ID_APP_KSE_HOLDINGS, IDS_TABLE_KSE_HOLDINGS}, {ID_APP_US_HOLDINGS, IDS_TABLE_US_HOLDINGS},
        {ID_APP_COMBINED_HOLDINGS, IDS_TABLE_COMBINED_HOLDINGS}};
    CWholeTerminalMakers makers;    // the account tables' makers go again with the test
    std::string strFolder;
    {
        CTerminalRun english;
        strFolder = english.Folder();
        english.m_onMakersRegistered = [] { RegisterAccountTables(); };
        english.WriteLinkSettings(server.Port());
        ASSERT_TRUE(english.Start());
        for (const auto& t : tables)
            english.App().RunCommand(t.nCommand);
        english.App().SaveWorkspace();
    }
    CTerminalRun arabic(/*bArabic=*/true, strFolder);
    arabic.m_onMakersRegistered = [] { RegisterAccountTables(); };
    arabic.WriteLinkSettings(server.Port());
    ASSERT_TRUE(arabic.Start());
    EXPECT_STREQ("إعداد الطباعة", TbLayerWord("Print Setup"));
    for (const auto& t : tables) {
        IDataTable* pTable = arabic.App().FindTable(t.nTable);
        ASSERT_NE(nullptr, pTable);
        EXPECT_TRUE(pTable->GetMainWindow()->IsWindowVisible()) << t.nTable;
    }
}

// Runs in the child process only: its resources have no Arabic library, its registry asks for one.
TEST(StartupChild, ArabicAskedWithoutItsLibrary)
{
    if (getenv("TB_STARTUP_CHILD") == nullptr)
        GTEST_SKIP() << "runs in the process StartupLanguage starts";
    CTerminalRun run(/*bArabic=*/true);
    run.WriteLinkSettings(1);
    ASSERT_TRUE(run.Start());
    EXPECT_EQ(1033, run.App().GetLanguageId());
    EXPECT_STREQ("0", run.App().GetLanguageCode());
    EXPECT_FALSE(GetNorvGlobals().m_bRightToLeft) << "English laid out left to right";
    EXPECT_EQ(1256u, GetACP()) << "the machine's Arabic page, whatever the language";
}

// Runs in the child process only: its branding names no brand, its registry asks for Arabic.
TEST(StartupBrandChild, ArabicFoundUnderTheDefaultBrand)
{
    if (getenv("TB_STARTUP_CHILD") == nullptr)
        GTEST_SKIP() << "runs in the process StartupBrand starts";
    CTerminalRun run(/*bArabic=*/true);
    run.WriteLinkSettings(1);
    ASSERT_TRUE(run.Start());
    EXPECT_STREQ("1", run.App().GetLanguageCode()) << "the choice is read under the default brand's key";
    EXPECT_TRUE(GetNorvGlobals().m_bRightToLeft);
}

namespace {

// The tree's resources changed by edit, in a folder of their own; the filter's tests run in a
// child process that starts from them. Whether the child's checks passed.
bool RunChildWithResources(const char* pszFilter, const std::function<void(const std::string&)>& edit)
{
    const std::string strResources = MakeTestFolder("resources-child");
    std::filesystem::copy(TB_SOURCE_DIR "/resources", strResources, std::filesystem::copy_options::recursive);
    edit(strResources);
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("TB_STARTUP_CHILD", "1", 1);
        setenv("TB_RESOURCE_DIR", strResources.c_str(), 1);
        const std::string strFilter = std::string("--gtest_filter=") + pszFilter;
        execl("/proc/self/exe", "test_app", strFilter.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int nStatus = 0;
    return waitpid(pid, &nStatus, 0) == pid && WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0;
}

}  // namespace

TEST(StartupLanguage, ArabicWithoutItsLibraryStartsInEnglish)
{
    EXPECT_TRUE(RunChildWithResources("StartupChild.*", [](const std::string& strResources) {
        std::filesystem::remove(strResources + "/_1256.rc");
    })) << "the child's checks failed";
}

TEST(StartupBrand, MissingBrandFallsBackToTheDefault)
{
    EXPECT_TRUE(RunChildWithResources("StartupBrandChild.*", [](const std::string& strResources) {
        // The English branding without its brand string.
        const std::string strFile = strResources + "/branding_1252.rc";
        std::ifstream in(strFile);
        std::string strKept, strLine;
        while (std::getline(in, strLine))
            if (strLine.find("40372") == std::string::npos)
                strKept += strLine + "\n";
        in.close();
        std::ofstream(strFile) << strKept;
    })) << "the child's checks failed";
}
