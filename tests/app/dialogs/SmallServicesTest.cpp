// The application's small services: the language code of requests, the number after a raw
// line's mnemonic, Base64 as the news reader receives it, and the chart windows' sections.
#include <gtest/gtest.h>

#include <string>

#include "app/dialogs/AppHelpers.h"
#include "framework/base/NorvGlobals.h"
#include "link/ServerMessage.h"

namespace {
int RawNumber(const char* pszLine)
{
    CServerMessage message(pszLine, 1);
    return GetRawLineNumber(&message);
}

std::string Decoded(const char* pszText, const char* pszBefore = "before")
{
    CString strOut = pszBefore;
    const BOOL bOk = Base64DecodeString(pszText, &strOut);
    return (bOk ? "ok:" : "refused:") + std::string(strOut, static_cast<size_t>(strOut.GetLength()));
}
}  // namespace

TEST(SmallServices, RawLineNumberIsTheSecondNonEmptyPiece)
{
    EXPECT_EQ(0, GetRawLineNumber(nullptr));
    EXPECT_EQ(0, RawNumber("&XC"));
    EXPECT_EQ(17, RawNumber("&XC||17"));                // empty pieces do not count
    EXPECT_EQ(5, RawNumber("&OB|5|XC||"));
    EXPECT_EQ(0, RawNumber("&OB|x|XC"));                  // not a number: 0, as atoi reads it
    EXPECT_EQ(-12, RawNumber("|||EN|-12|3"));
}

TEST(SmallServices, Base64DecodesExactlyOrLeavesTheOutputAlone)
{
    EXPECT_EQ("ok:hello", Decoded("aGVsbG8="));
    EXPECT_EQ("ok:hello", Decoded("aGVs\r\nbG8"));          // line breaks and no padding
    EXPECT_EQ("ok:", Decoded(""));
    EXPECT_EQ(std::string("ok:\0\1\2\xff", 7), Decoded("AAEC/w=="));   // bytes, a zero among them
    // Published vectors of RFC 4648, section 10.
    for (const auto& [pszPlain, pszCoded] : {std::pair{"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"},
                                             {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}})
        EXPECT_EQ(std::string("ok:") + pszPlain, Decoded(pszCoded)) << pszCoded;
    for (const char* pszBad : {"a$b=", "abcde", "YQ==YQ==", "Y===", "Zg=", "-_8="})
        EXPECT_EQ("refused:before", Decoded(pszBad)) << pszBad;
}

TEST(SmallServices, LanguageCodeAndChartSections)
{
    const BOOL bOld = GetNorvGlobals().m_bRightToLeft;
    GetNorvGlobals().SetRightToLeft(FALSE);
    EXPECT_STREQ("0", GetLanguageCode());
    GetNorvGlobals().SetRightToLeft(TRUE);
    EXPECT_STREQ("1", GetLanguageCode());
    GetNorvGlobals().SetRightToLeft(bOld);
    EXPECT_EQ("ChartView0", std::string(FormatChartViewKey(0)));
    EXPECT_EQ("ChartView8", std::string(FormatChartViewKey(8)));
}
