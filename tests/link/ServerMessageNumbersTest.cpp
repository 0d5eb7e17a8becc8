// The numbers a message keeps of its fields: read once per line, never served for another
// line or after a field changed, and never in place of an override.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>
#include "LinkDoubles.h"
#include "link/FieldNumbers.h"

namespace {

// A received line of nFields random numeric texts, some blank or odd.
std::string RandomLine(std::mt19937& rng, int nFields, std::vector<std::string>* pFields)
{
    static const char* const s_pieces[] = {"", "0", "-7", "12.5", "  3e2", "99999999999", "1,5", "x", "-0.25"};
    std::string strLine = "$GS|1|XC|4";
    pFields->clear();
    for (int i = 0; i < nFields; ++i) {
        std::string strField = s_pieces[rng() % (sizeof s_pieces / sizeof s_pieces[0])];
        if (rng() % 2)
            strField += std::to_string(rng() % 1000);
        pFields->push_back(strField);
        strLine += "|" + strField;
    }
    return strLine;
}

}  // namespace

TEST(ServerMessageNumbers, NeverServesAnEarlierLine)
{
    RegisterCodesForTest();
    std::mt19937 rng(11);           // fixed seed: a failure replays step by step
    CServerMessage msg(1);
    std::vector<std::string> fields;
    for (int nStep = 0; nStep < 500; ++nStep) {
        msg.Parse(RandomLine(rng, 1 + static_cast<int>(rng() % 12), &fields).c_str());
        // Each field read the way several sinks would, twice and at different powers.
        for (int nRound = 0; nRound < 2; ++nRound) {
            for (int i = -1; i <= static_cast<int>(fields.size()); ++i) {
                const bool bInside = i >= 0 && i < static_cast<int>(fields.size());
                const std::string strText = bInside ? fields[static_cast<size_t>(i)] : "";
                ASSERT_EQ(ReadFieldLong(strText), msg.GetLong(i)) << "step " << nStep << " field " << i;
                ASSERT_EQ(ReadFieldDouble(strText), msg.GetDouble(i, 0)) << "step " << nStep << " field " << i;
                ASSERT_EQ(ReadFieldDouble(strText) * 100.0, msg.GetDouble(i, 2)) << "step " << nStep;
            }
        }
    }
}

TEST(ServerMessageNumbers, FollowChangedFieldsAndLeaveOverridesFirst)
{
    RegisterCodesForTest();
    CServerMessage msg("$GS|1|XC|4|10|20.5", 1);
    ASSERT_EQ(10, msg.GetLong(0));
    ASSERT_DOUBLE_EQ(20.5, msg.GetDouble(1, 0));
    // An override is what the sinks after it see as text; it is never converted in place of
    // the field, and a cached number never hides it.
    msg.SetOverride(1, "99");
    EXPECT_STREQ("99", msg.GetFieldOrOverrideText(1));
    EXPECT_DOUBLE_EQ(20.5, msg.GetDouble(1, 0));
    EXPECT_STREQ("99", msg.GetFieldOrOverrideText(1));

    msg.SetAtGrow(1, "7.25");       // a field set: its old number is gone
    EXPECT_DOUBLE_EQ(7.25, msg.GetDouble(1, 0));
    EXPECT_EQ(2, msg.Add("3"));
    EXPECT_EQ(3, msg.GetLong(2));
    EXPECT_EQ(10, msg.GetLong(0));

    CServerMessage copy(msg);       // a copy reads its own fields, then its own next line
    msg.RemoveAll();
    EXPECT_EQ(0, msg.GetLong(0));
    EXPECT_DOUBLE_EQ(7.25, copy.GetDouble(1, 0));
    copy.Parse("$GS|1|XC|4|-4|8");
    EXPECT_EQ(-4, copy.GetLong(0));
    EXPECT_DOUBLE_EQ(8.0, copy.GetDouble(1, 0));
    EXPECT_EQ(0, copy.GetLong(2));  // beyond the new line's fields

    copy = CServerMessage("$GS|1|XC|4|5", 1);
    EXPECT_EQ(5, copy.GetLong(0));
    EXPECT_EQ(0.0, copy.GetDouble(1, 0));
}
