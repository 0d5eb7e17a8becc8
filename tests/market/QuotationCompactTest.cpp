// Compact quotation lines against the expansions an independent encoder wrote
// (gen_compact_quotes.py): padding in and at the end of a line, and damaged lines dropped.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "market/CompactQuote.h"

namespace {

struct CompactCase {
    long nMarket;
    std::string strTicker, strPacked, strExpected;
};

std::vector<CompactCase> ReadCases()
{
    std::ifstream in(TB_SOURCE_DIR "/tests/market/expected_compact_quotes.txt");
    std::vector<CompactCase> cases;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        CompactCase c;
        std::string strMarket;
        std::getline(fields, strMarket, '\t');
        std::getline(fields, c.strTicker, '\t');
        std::getline(fields, c.strPacked, '\t');
        std::getline(fields, c.strExpected);
        c.nMarket = std::stol(strMarket);
        cases.push_back(c);
    }
    return cases;
}

}  // namespace

TEST(CompactQuote, ExpandsWhatTheIndependentEncoderPacked)
{
    const std::vector<CompactCase> cases = ReadCases();
    ASSERT_EQ(60u, cases.size());
    int nDropped = 0;
    std::string strLine = "left over from an earlier line";
    for (const CompactCase& c : cases) {
        const BOOL bExpanded = ExpandCompactQuoteLine(c.nMarket, c.strTicker, c.strPacked, strLine);
        if (c.strExpected == "DROP") {
            ++nDropped;
            EXPECT_FALSE(bExpanded) << c.strPacked;
            EXPECT_EQ("", strLine) << "a damaged line leaves nothing to parse";
        } else {
            EXPECT_TRUE(bExpanded) << c.strPacked;
            EXPECT_EQ(c.strExpected, strLine) << c.strPacked;
        }
    }
    EXPECT_EQ(5, nDropped);
}

TEST(CompactQuote, PaddingAndAnUnpairedCharacterAddNothing)
{
    std::string strLine;
    // "A" is value 0: symbols 0, 0, 0. ",," is 63 63: symbols 15, 15, 15, all padding.
    ASSERT_TRUE(ExpandCompactQuoteLine(4, "IBM", "AA,,", strLine));
    EXPECT_EQ("~GS|1|XC|4|IBM|000", strLine);
    // A trailing half pair is no triple: it is left out, not read past the field.
    ASSERT_TRUE(ExpandCompactQuoteLine(4, "IBM", "AAB", strLine));
    EXPECT_EQ("~GS|1|XC|4|IBM|000", strLine);
    ASSERT_TRUE(ExpandCompactQuoteLine(8, "", "", strLine));
    EXPECT_EQ("~GS|1|XC|8||", strLine);
}
