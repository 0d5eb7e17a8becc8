// The criteria text parser: shapes, tokens and the operator table.
#include <gtest/gtest.h>
#include <string>
#include "framework/base/NorvGlobals.h"
#include "framework/table/CriteriaParser.h"

namespace {

// "class:text" of every token, then "=shape".
std::string Tokens(const char* pszText, int nKind = CRIT_NUMERIC)
{
    CCriteriaParser parser;
    parser.Parse(pszText, nKind);
    std::string out;
    for (int i = 0; i < parser.GetCount(); ++i)
        out += std::to_string(parser.GetToken(i)->m_nClass) + ":" + static_cast<const char*>(parser.GetToken(i)->m_strText) + " ";
    return out + "=" + std::to_string(parser.Classify());
}

}  // namespace

TEST(CriteriaParser, ShapesOfValuesOperatorsAndRanges)
{
    EXPECT_EQ("1:100 =0", Tokens("100"));
    EXPECT_EQ("2:<= 1:100 =1", Tokens("<=100"));
    EXPECT_EQ("2:=< 1:100 =1", Tokens("=<100"));
    EXPECT_EQ("2:<= 1:100 =1", Tokens(":100"));
    EXPECT_EQ("1:100 2:>= =1", Tokens("100-"));
    // No blank may stand between an operator and its value.
    EXPECT_EQ("2:<= 3:  1:100 =3", Tokens("<= 100"));
    EXPECT_EQ("1:10 3:- 1:20 =2", Tokens("10-20"));
    EXPECT_EQ("1:10 3:  1:20 =2", Tokens("10 : 20"));
    EXPECT_EQ("1:10 3:  1:20 =2", Tokens("10  20"));
    EXPECT_EQ("1:10 3:- 1:20 =2", Tokens("10 - 20"));
    EXPECT_EQ("1:-20 =0", Tokens("-20"));
    EXPECT_EQ("1:-20 =0", Tokens("- 20"));
    EXPECT_EQ("1:12 3/8 =0", Tokens("12 3/8"));
    EXPECT_EQ("1:1/2 3:- 1:3/4 =2", Tokens("1/2-3/4"));
    EXPECT_EQ("=3", Tokens(""));
    EXPECT_EQ("2:<> 1:5 =1", Tokens("<>5"));
    EXPECT_EQ(4, LookupCriteriaOperator("<>"));
}

TEST(CriteriaParser, SeparatorsComeFromTheGlobals)
{
    CNorvGlobals& g = GetNorvGlobals();
    char chDecimal = g.m_chDecimal;
    char chThousands = g.m_chThousands;
    g.m_chDecimal = ',';
    g.m_chThousands = '.';
    EXPECT_EQ("1:1.234,5 =0", Tokens("1.234,5"));
    g.m_chDecimal = chDecimal;
    g.m_chThousands = chThousands;
}

TEST(CriteriaParser, QuotedTextIsOneValueAndOperatorsHaveTheirTexts)
{
    EXPECT_EQ("1:\"a< b c\" =0", Tokens("\"a< b c\"", CRIT_TEXT));
    EXPECT_EQ("a< b c", std::string(UnquoteCriteriaText("\"a< b c\"")));
    EXPECT_EQ("plain", std::string(UnquoteCriteriaText("plain")));
    EXPECT_EQ("\"KWD\"", std::string(QuoteCriteriaText("KWD")));
    EXPECT_EQ(5, LookupCriteriaOperator("<=5"));
    EXPECT_EQ(3, LookupCriteriaOperator("=>"));
    EXPECT_EQ(1, LookupCriteriaOperator("=="));
    EXPECT_EQ(5, LookupCriteriaOperator("=<="));
    EXPECT_EQ(0, LookupCriteriaOperator("5"));
    EXPECT_STREQ("<=", GetCriteriaOperatorText(5));
    EXPECT_STREQ(">=", GetCriteriaOperatorText(3));
    EXPECT_STREQ("??", GetCriteriaOperatorText(9));
}
