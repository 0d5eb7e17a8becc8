// What a parsed message keeps of the line it came from: the whole line and its first character,
// whatever separators it starts with, in every parse mode.
#include <gtest/gtest.h>

#include <string>
#include "LinkDoubles.h"

TEST(ServerMessageRawLine, FirstCharacterIsTheLinesEvenWhenItIsABar)
{
    RegisterCodesForTest();
    // The parse cuts the line at each '|': a line that starts with one must still say so.
    const struct { const char* pszLine; int nMode; char chFirst; } cases[] = {
        {"|a|b", 1, '|'}, {"||", 0, '|'}, {"|", 2, '|'}, {"$OB|1|XC|7|x", 1, '$'},
        {"-5|x", 0, '-'}, {"row", 1, 'r'}, {"", 1, '\0'},
    };
    for (const auto& c : cases) {
        const CServerMessage msg(c.pszLine, c.nMode);
        EXPECT_EQ(c.chFirst, msg.GetRawFirstChar()) << "\"" << c.pszLine << "\" mode " << c.nMode;
        EXPECT_STREQ(c.pszLine, msg.GetRawLine()) << "mode " << c.nMode;
    }
}
