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
#include "app/MainFrame.h"
#include "framework/base/NorvGlobals.h"
#include "platform/win/kernel/Registry.h"
#include "platform/win/kernel/CodePage.h"
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
    EXPECT_EQ(1252u, GetACP());
}

TEST(StartupLanguage, ArabicWithoutItsLibraryStartsInEnglish)
{
    // The tree's resources without the Arabic language library.
    const std::string strResources = MakeTestFolder("resources-en");
    std::filesystem::copy(TB_SOURCE_DIR "/resources", strResources, std::filesystem::copy_options::recursive);
    std::filesystem::remove(strResources + "/_1256.rc");
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("TB_STARTUP_CHILD", "1", 1);
        setenv("TB_RESOURCE_DIR", strResources.c_str(), 1);
        execl("/proc/self/exe", "test_app", "--gtest_filter=StartupChild.*", static_cast<char*>(nullptr));
        _exit(127);
    }
    int nStatus = 0;
    ASSERT_EQ(pid, waitpid(pid, &nStatus, 0));
    ASSERT_TRUE(WIFEXITED(nStatus));
    EXPECT_EQ(0, WEXITSTATUS(nStatus)) << "the child's checks failed";
}
