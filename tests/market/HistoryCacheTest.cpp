// Naming, finding and deleting the history cache files.
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include "market/HistoryCache.h"

namespace fs = std::filesystem;

namespace {
// A fresh folder per test, removed at its end.
class HistoryCacheTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* pInfo = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = fs::path(TB_BINARY_DIR) / "history_cache" / pInfo->name();
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_strFolder = (m_folder.string() + "/").c_str();
    }
    void TearDown() override { fs::remove_all(m_folder); }
    void Touch(const char* pszName) { std::ofstream(m_folder / pszName) << "x\n"; }

    fs::path m_folder;
    CString m_strFolder;
};
}  // namespace

TEST_F(HistoryCacheTest, NamesFilesOnlyForStampsOfLettersAndDigits)
{
    CHistoryCache monthly("QM", FALSE);
    CHistoryCache financial("SF", TRUE);
    monthly.SetFolder(m_strFolder);
    financial.SetFolder(m_strFolder);
    EXPECT_EQ(m_strFolder + "QM_101_261207.SAV", monthly.MakePath(101, "1", "261207"));
    EXPECT_EQ(m_strFolder + "SF_101_1_261207.SAV", financial.MakePath(101, "1", "261207"));
    for (const char* pszStamp : {"", "..", "26/12", "*", "a b", "..\\x", "26_12"}) {
        EXPECT_TRUE(monthly.MakePath(101, "0", pszStamp).IsEmpty()) << pszStamp;
        EXPECT_FALSE(monthly.Delete(101, "0", pszStamp)) << pszStamp;
    }
    EXPECT_TRUE(monthly.MakePath(101, "0", nullptr).IsEmpty());
}

TEST_F(HistoryCacheTest, FindsTheStampOfItsOwnStockAndLanguageOnly)
{
    CHistoryCache info("SI", TRUE);
    info.SetFolder(m_strFolder);
    EXPECT_TRUE(info.FindStamp(101, "0").IsEmpty());
    Touch("SI_1011_0_261201.SAV");      // another stock that starts alike
    Touch("SI_101_1_261202.SAV");       // the other language
    Touch("SF_101_0_261203.SAV");       // the other kind
    Touch("SI_101_0_bad-stamp.SAV");    // not a stamp we write
    Touch("SI_101_0_.SAV");
    Touch("SI_101_0_261130.TXT");
    EXPECT_TRUE(info.FindStamp(101, "0").IsEmpty());
    Touch("SI_101_0_261130.SAV");
    EXPECT_EQ(CString("261130"), info.FindStamp(101, "0"));
    // Two left by a run that stopped between writing and deleting: the newer one.
    Touch("SI_101_0_261204.SAV");
    EXPECT_EQ(CString("261204"), info.FindStamp(101, "0"));
    EXPECT_TRUE(info.Delete(101, "0", "261204"));
    EXPECT_FALSE(info.Delete(101, "0", "261204"));
    EXPECT_EQ(CString("261130"), info.FindStamp(101, "0"));
    EXPECT_TRUE(fs::exists(m_folder / "SI_101_1_261202.SAV"));
}

TEST_F(HistoryCacheTest, AMissingFolderHoldsNoStamp)
{
    CHistoryCache monthly("QM", FALSE);
    monthly.SetFolder((m_strFolder + "absent/"));
    EXPECT_TRUE(monthly.FindStamp(101, nullptr).IsEmpty());
}
