// The user record as login replies from the server fill it, and as its copies hand it on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/ServerMessage.h"
#include "refdata/User.h"

namespace {

// A login reply line whose field i holds pszFields[i].
CServerMessage LoginReply(const std::vector<std::string>& fields)
{
    std::string strLine = "&UL|3|XC|";
    for (const auto& strField : fields)
        strLine += "|" + strField;
    return CServerMessage(strLine.c_str(), 1);
}

// A successful reply with every field the record reads set apart from the others.
std::vector<std::string> FullReply()
{
    std::vector<std::string> fields(28);
    for (size_t i = 0; i < fields.size(); ++i)
        fields[i] = std::to_string(100 + i);
    fields[0] = "jsmith";
    fields[1] = "0";
    fields[2] = "4711";
    fields[4] = "J. Smith";
    fields[6] = "880012";
    fields[8] = "4";
    fields[21] = "text 21";
    fields[22] = "text 22";
    fields[23] = "6";
    fields[27] = "https://quotes.example/us";
    return fields;
}

// Every field of the record, in its order.
std::string Fields(const CUser& user)
{
    std::string s = std::string(user.GetName()) + "|" + user.GetUserText().GetString() + "|" +
                    user.GetPendingText().GetString() + "|" + user.GetPassword().GetString() + "|" +
                    user.GetAccountText().GetString() + "|" + user.GetQuotesPageAddress().GetString();
    for (int n : {user.GetUserNumber(), user.GetRole(), user.GetValue18(), user.GetValue19(), user.GetValue20(),
                  user.GetMarketMask()})
        s += "|" + std::to_string(n);
    s += std::string("|") + user.GetLoginText21().GetString() + "|" + user.GetLoginText22().GetString();
    for (int n : {user.GetValue10(), user.GetUsAccessLevel(), user.GetKseAccessLevel()})
        s += "|" + std::to_string(n);
    return s;
}

const char* const NOBODY = "||||||0|-1|0|0|0|0|||0|0|0";

}  // namespace

TEST(User, LoginReplyFillsEveryFieldAndCopiesDropValue19)
{
    CUser user;
    EXPECT_EQ(NOBODY, Fields(user));
    user.SetPassword("secret");
    user.SetPendingText("jsmith2");
    ASSERT_TRUE(user.SetFromLoginReply(LoginReply(FullReply())));
    const std::string strFilled = "J. Smith|jsmith|jsmith2|secret|880012|https://quotes.example/us|4711|4|118|119|120|6|"
                                  "text 21|text 22|110|109|112";
    EXPECT_EQ(strFilled, Fields(user));
    EXPECT_EQ(880012, user.GetAccountNumber());

    const std::string strCopied = "J. Smith|jsmith|jsmith2|secret|880012|https://quotes.example/us|4711|4|118|0|120|6|"
                                  "text 21|text 22|110|109|112";
    const CUser copy(user);
    EXPECT_EQ(strCopied, Fields(copy));
    CUser assigned;
    assigned = user;
    EXPECT_EQ(strCopied, Fields(assigned));
    EXPECT_EQ(strFilled, Fields(user));     // the source keeps its own

    // The accepted change of the user text, then log-off.
    user.AcceptPendingText();
    EXPECT_STREQ("jsmith2", user.GetUserText());
    user.Reset();
    EXPECT_EQ(NOBODY, Fields(user));
}

TEST(User, RefusedOrShortRepliesLeaveTheRecord)
{
    CUser user;
    ASSERT_TRUE(user.SetFromLoginReply(LoginReply(FullReply())));
    const std::string strBefore = Fields(user);
    auto refused = FullReply();
    refused[1] = "17";                              // the server's error
    EXPECT_FALSE(user.SetFromLoginReply(LoginReply(refused)));
    EXPECT_FALSE(user.SetFromLoginReply(LoginReply({"jsmith", "0", "4711", "3"})));
    EXPECT_FALSE(user.SetFromLoginReply(CServerMessage("&UL|3|XC|", 1)));
    EXPECT_EQ(strBefore, Fields(user));

    // Five fields are enough; what the reply lacks reads as empty or 0.
    ASSERT_TRUE(user.SetFromLoginReply(LoginReply({"guest", "0", "12", "", "Guest"})));
    EXPECT_EQ("Guest|guest|||||12|0|0|0|0|0|||0|0|0", Fields(user));
}

TEST(User, AccountNumberOnlyOfANumber)
{
    static const struct { const char* pszAccount; long nNumber; } cases[] = {
        {"880012", 880012}, {"", 0}, {"12A", 0}, {"abc", 0}, {"99999999999", 0}, {"-15", -15}, {"007", 7}};
    for (const auto& c : cases) {
        auto fields = FullReply();
        fields[6] = c.pszAccount;
        CUser user;
        ASSERT_TRUE(user.SetFromLoginReply(LoginReply(fields)));
        EXPECT_STREQ(c.pszAccount, user.GetAccountText());
        EXPECT_EQ(c.nNumber, user.GetAccountNumber()) << c.pszAccount;
    }
}
