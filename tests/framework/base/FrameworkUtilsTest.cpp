#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "framework/base/Measure.h"
#include "framework/base/TBDebug.h"
#include "framework/base/TempFiles.h"
#include "framework/base/Wildcard.h"
#include "platform/win/kernel/Resources.h"

TEST(Wildcard, StarsMarksEscapesAndCase)
{
    static const struct { const char* pszPattern; const char* pszText; BOOL bCase; BOOL bMatch; } s_cases[] = {
        {"a*c", "abc", TRUE, TRUE},       {"a*c", "ac", TRUE, TRUE},        {"a*c", "abd", TRUE, FALSE},
        {"a?c", "abc", TRUE, TRUE},       {"a?c", "ac", TRUE, FALSE},       {"A*", "abc", FALSE, TRUE},
        {"A*", "abc", TRUE, FALSE},       {"\\*", "*", TRUE, TRUE},         {"\\*", "a", TRUE, FALSE},
        {"*b*b", "abxbyb", TRUE, TRUE},   {"*ab", "aab", TRUE, TRUE},       {"a\\?", "a?", TRUE, TRUE},
        {"a\\?", "ab", TRUE, FALSE},      {"", "", TRUE, TRUE},             {"*", "", TRUE, TRUE},
        {"?", "", TRUE, FALSE},           {"ab\\", "ab\\", TRUE, TRUE},     {"**x", "yyx", TRUE, TRUE},
    };
    for (const auto& c : s_cases)
        EXPECT_EQ(c.bMatch, MatchWildcard(c.pszPattern, c.pszText, c.bCase)) << c.pszPattern << " / " << c.pszText;
    EXPECT_FALSE(MatchWildcard(nullptr, "a", TRUE));

    // Twenty runs of a kind are allowed, twenty-one match nothing; escaped ones do not count.
    std::string str20, str21, strText;
    for (int i = 0; i < 21; ++i) {
        if (i < 20)
            str20 += "*a";
        str21 += "*a";
        strText += "a";
    }
    EXPECT_TRUE(MatchWildcard(str20.c_str(), strText.c_str(), TRUE));
    EXPECT_FALSE(MatchWildcard(str21.c_str(), strText.c_str(), TRUE));
    std::string strEscaped;
    for (int i = 0; i < 30; ++i)
        strEscaped += "\\*";
    EXPECT_TRUE(MatchWildcard(strEscaped.c_str(), std::string(30, '*').c_str(), TRUE));

    CTBString strPattern("a**b***");
    CollapseStarRuns(strPattern);
    EXPECT_STREQ("a*b*", strPattern);
    CTBString strPlain("a*b");
    CollapseStarRuns(strPlain);
    EXPECT_STREQ("a*b", strPlain);
}

TEST(Measure, FractionsUnitsAndTheirNames)
{
    EXPECT_EQ(6, GreatestCommonDivisor(54, 24));
    EXPECT_EQ(7, GreatestCommonDivisor(7, 0));
    int nNum = 150, nDen = 100;
    ReduceFraction(nNum, nDen);
    EXPECT_EQ(3, nNum);
    EXPECT_EQ(2, nDen);
    nNum = nDen = 0;
    ReduceFraction(nNum, nDen);     // no division by zero
    EXPECT_EQ(0, nNum);
    EXPECT_DOUBLE_EQ(25.4, ConvertMeasure(MEASURE_INCHES, MEASURE_MILLIMETRES, 1.0));
    EXPECT_NEAR(1.0, ConvertMeasure(MEASURE_MILLIMETRES, MEASURE_INCHES, 25.4), 1e-12);
    EXPECT_DOUBLE_EQ(3.0, ConvertMeasure(MEASURE_INCHES, 7, 3.0));

    HINSTANCE hOld = TbGetResourceModule();
    TbSetResourceModule(nullptr);
    EXPECT_EQ(-1, ParseMeasureUnit("10 mm")) << "without names nothing matches";
    TbAddResourcePath(TB_SOURCE_DIR "/resources");
    for (const char* pszLibrary : {"_1252.dll", "_1256.dll"}) {
        HMODULE hModule = LoadLibraryA(pszLibrary);
        ASSERT_NE(nullptr, hModule) << pszLibrary;
        TbSetResourceModule(hModule);
        CTBString strMm = GetMeasureUnitName(MEASURE_MILLIMETRES);
        CTBString strInch = GetMeasureUnitName(MEASURE_INCHES);
        EXPECT_GT(strMm.GetLength(), 0);
        EXPECT_GT(strInch.GetLength(), 0);
        EXPECT_EQ(0, GetMeasureUnitName(5).GetLength());
        EXPECT_EQ(MEASURE_MILLIMETRES, ParseMeasureUnit(CTBString("12.5 ") + strMm));
        EXPECT_EQ(MEASURE_INCHES, ParseMeasureUnit(CTBString("1 ") + strInch));
        EXPECT_EQ(-1, ParseMeasureUnit("12"));
        TbSetResourceModule(nullptr);
        FreeLibrary(hModule);
    }
    HMODULE hEnglish = LoadLibraryA("_1252.dll");
    TbSetResourceModule(hEnglish);
    EXPECT_EQ(MEASURE_MILLIMETRES, ParseMeasureUnit("3 MM")) << "case is ignored";
    EXPECT_EQ(MEASURE_INCHES, ParseMeasureUnit("2 Inches"));
    TbSetResourceModule(hOld);
    FreeLibrary(hEnglish);
}

TEST(TempFiles, UniqueFilesInTheTemporaryDirectory)
{
    CTBString strDir = GetTempDirectory();
    ASSERT_GT(strDir.GetLength(), 0);
    CTBString strFirst = MakeTempFileName("tbx");
    CTBString strSecond = MakeTempFileName("tbx");
    ASSERT_GT(strFirst.GetLength(), 0);
    EXPECT_NE(strFirst, strSecond);
    EXPECT_EQ(0, strncmp(strFirst, strDir, static_cast<size_t>(strDir.GetLength())));
    EXPECT_LE(strFirst.GetLength(), 259);
    struct stat st = {};
    EXPECT_EQ(0, stat(strFirst, &st)) << "the file is made, so the name stays taken";
    remove(strFirst);
    remove(strSecond);
}

namespace {
class CCollectOut : public IDebugOut
{
public:
    explicit CCollectOut(std::string* pText) : m_pText(pText) {}
    void Output(const char* pszText) override { *m_pText += pszText; }

private:
    std::string* m_pText;
};
}  // namespace

TEST(TBDebug, OutputGoesToTheInstalledSink)
{
    std::string strSeen;
    CTBDebug debug;
    debug.Output("dropped");
    debug.SetOutput(new CCollectOut(&strSeen));
    debug.Output("one ");
    debug.Output(nullptr);
    debug.Output("two");
    EXPECT_EQ("one two", strSeen);
    debug.SetOutput(nullptr);
    debug.Output("dropped again");
    EXPECT_EQ("one two", strSeen);
    GetTBDebug().Output("the process's own output discards by default");
}
