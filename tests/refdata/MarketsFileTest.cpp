// The market-name cache file: read at start-up from the program folder, rewritten after each
// complete market list for a logged-in user.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include "RefDataSupport.h"
#include "framework/base/NorvGlobals.h"
#include "refdata/ZorvatGlobals.h"

namespace {

class MarketsFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_client.m_strFolder = m_folder.Path().c_str();
        ASSERT_TRUE(m_globals.Register(&m_source, &m_client));
    }
    void TearDown() override { GetNorvGlobals().m_nLanguage = 0; }
    void WriteFile(const std::string& text) const
    {
        std::ofstream(m_folder.File("Markets.zvt"), std::ios::binary) << text;
    }
    std::string ReadFile() const
    {
        std::ifstream file(m_folder.File("Markets.zvt"), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
    // "code=English/Arabic" for each code asked, "-" where the code has no name.
    std::string Names(std::initializer_list<int> codes)
    {
        std::string s;
        for (int nCode : codes) {
            CString strEnglish, strArabic;
            GetNorvGlobals().m_nLanguage = 0;
            const BOOL bEnglish = m_globals.LookupMarketName(nCode, strEnglish);
            GetNorvGlobals().m_nLanguage = 1;
            const BOOL bArabic = m_globals.LookupMarketName(nCode, strArabic);
            GetNorvGlobals().m_nLanguage = 0;
            s += (s.empty() ? "" : " ") + std::to_string(nCode) + "=" +
                 (bEnglish ? std::string(strEnglish) : "-") + "/" + (bArabic ? std::string(strArabic) : "-");
        }
        return s;
    }

    CLanguageModule m_language;
    CTempFolder m_folder;
    CZorvatMessageSource m_source;
    CMarketListClientDouble m_client;
    CZorvatGlobals m_globals;
};

}  // namespace

TEST_F(MarketsFile, ReadsEachLineAsOneMarket)
{
    WriteFile("3|Alpha|Beta\r\n5|Gamma\n6|\r\n7|Be|ta|x\nno separator\r\n\r\nx|Zero|Null\n -4|Neg|Neg\n"
              "9|Old|Old\n9|New|Jadid");
    m_globals.ReadMarketsFile();
    EXPECT_EQ("3=Alpha/Beta 5=Gamma/Gamma 6=/ 7=Be/ta|x 0=Zero/Null -4=Neg/Neg 9=New/Jadid 8=-/-",
              Names({3, 5, 6, 7, 0, -4, 9, 8}));
    EXPECT_EQ(3, m_globals.GetMarketCode("Alpha"));
}

TEST_F(MarketsFile, MissingFileLeavesNoNames)
{
    WriteFile("3|Alpha|Beta\n");
    m_globals.ReadMarketsFile();
    ASSERT_EQ("3=Alpha/Beta", Names({3}));
    std::remove(m_folder.File("Markets.zvt").c_str());
    m_globals.ReadMarketsFile();                    // emptied first, whether or not it exists
    EXPECT_EQ("3=-/-", Names({3}));
    EXPECT_EQ("3", std::string(m_globals.GetMarketName(3)));
}

TEST_F(MarketsFile, MarketListWritesWhatReadsBackTheSame)
{
    m_client.LogIn(4711, "880012", 4);
    // A name with a stray carriage return would split its line; it is written as a blank.
    FireLine(m_source, "$XC|1|XC||0");
    for (const char* pszRow : {"||||1||||||||2|KSE|Kuwait", "||||1||||||||4|U\rS|Amrika", "||||0||||||||8|Europe|"})
        FireLine(m_source, pszRow);
    FireLine(m_source, "$EN|1|XC|0");
    const std::string text = ReadFile();
    EXPECT_NE(std::string::npos, text.find("2|KSE|Kuwait\r\n"));
    EXPECT_NE(std::string::npos, text.find("4|U S|Amrika\r\n"));
    EXPECT_NE(std::string::npos, text.find("8|Europe|\r\n"));
    EXPECT_EQ(3, std::count(text.begin(), text.end(), '\n'));

    CZorvatGlobals other;
    other.Register(&m_source, &m_client);
    other.ReadMarketsFile();
    EXPECT_EQ("KSE", std::string(other.GetMarketName(2)));
    EXPECT_EQ("U S", std::string(other.GetMarketName(4)));
    EXPECT_EQ("Europe", std::string(other.GetMarketName(8)));
    GetNorvGlobals().m_nLanguage = 1;
    EXPECT_EQ("Amrika", std::string(other.GetMarketName(4)));
    EXPECT_EQ("", std::string(other.GetMarketName(8)));
}

TEST_F(MarketsFile, ArabicNameKeepsItsSeparatorsThroughAWrite)
{
    WriteFile("3|Alpha|Be|ta\n");
    m_globals.ReadMarketsFile();
    m_globals.WriteMarketsFile();
    EXPECT_EQ("3|Alpha|Be|ta\r\n", ReadFile());
}

TEST_F(MarketsFile, UnwritableFolderWritesNothing)
{
    WriteFile("3|Alpha|Beta\n");
    m_globals.ReadMarketsFile();
    m_client.m_strFolder = (m_folder.Path() + "/missing").c_str();
    m_globals.WriteMarketsFile();
    EXPECT_EQ(m_folder.Path() + "/missing/Markets.zvt", std::string(m_globals.GetMarketsFilePath()));
    EXPECT_FALSE(std::ifstream(m_folder.File("missing/Markets.zvt")).good());
}
