// A restricted user (role 16) end to end: after login the account tables hold what the
// simulator's replies carry; the day's orders and fills send their live lines, which reach no
// table (no row, no alert), and a refresh brings the orders.
#include <gtest/gtest.h>
#include "account/ExecutedTradesKSETable.h"
#include "account/ExecutedTradesTable.h"
#include "account/OrderStatusKSETable.h"
#include "account/OrderStatusTable.h"
#include "app/TableFactory.h"
#include "framework/base/NorvGlobals.h"
#include "market/DataArray.h"
#include "platform/win/user/Sound.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/account/AccountTestSupport.h"

namespace {
struct RestrictedUser : CAccountSession
{
    // Each table's rows against the rows of the replies that load it.
    void ExpectTablesAsReplies()
    {
        const struct {
            UINT nNameId;
            std::vector<const char*> replies;
        } loads[] = {
            {IDS_TABLE_US_ORDERS, {"OS"}},   {IDS_TABLE_US_TRADES, {"ET"}},   {IDS_TABLE_KSE_ORDERS, {"KS", "KB"}},
            {IDS_TABLE_KSE_TRADES, {"EK", "EF"}}, {IDS_TABLE_US_HOLDINGS, {"IH"}},
        };
        for (const auto& load : loads) {
            size_t nRows = 0;
            for (const char* pszReply : load.replies)
                nRows += LastReplyRows(pszReply).size();
            CDataTable* pTable = FindDataTable(load.nNameId);
            ASSERT_NE(nullptr, pTable) << load.nNameId;
            EXPECT_EQ(nRows, static_cast<size_t>(pTable->GetRows()->GetCount())) << load.nNameId;
        }
    }
};
}  // namespace

TEST_F(RestrictedUser, TablesHoldTheRepliesAndNoLiveLine)
{
    ASSERT_TRUE(StartSession({"--rate", "0"}, false, "restricted", "limited"));
    GetGlobals()->m_nAlertSoundMode = 1;
    GetNorvGlobals().m_bBeep = TRUE;
    auto* pOrders = Find<COrderStatusTable>(IDS_TABLE_US_ORDERS);
    auto* pKseOrders = Find<COrderStatusKSETable>(IDS_TABLE_KSE_ORDERS);
    ASSERT_TRUE(pOrders && pKseOrders);
    ASSERT_TRUE(PumpUntil([&] {
        return pOrders->IsComplete() && pKseOrders->IsComplete() && FindDataTable(IDS_TABLE_US_HOLDINGS)->IsComplete();
    }, 5000));
    PumpFor(300);
    ExpectTablesAsReplies();
    ASSERT_GT(FindDataTable(IDS_TABLE_US_HOLDINGS)->GetRows()->GetCount(), 0);
    // The KSE holdings reply is of a type dropped for this role, as the position lines are.
    EXPECT_FALSE(LastReplyRows("IK").empty());
    EXPECT_EQ(0, FindDataTable(IDS_TABLE_KSE_HOLDINGS)->GetRows()->GetCount());

    // Orders that fill: the simulator sends their live lines, and no table takes them.
    const UINT nBeeps = TbGetBeepCount();
    const size_t nLive = Sent("NO").size() + Sent("NS").size();
    Send(MSG_KR, "||1005|10050|1|1|101|20000|3|0||0|||limited");
    Send(MSG_OR, "1005|10050|1|ALPN|1000|3|0||0|||limited");
    ASSERT_TRUE(PumpUntil([&] { return Sent("NO").size() + Sent("NS").size() >= nLive + 2 && !Sent("NT").empty(); }, 5000));
    PumpFor(300);
    ExpectTablesAsReplies();
    EXPECT_EQ(nBeeps, TbGetBeepCount()) << "no trade sounds";

    // Asked again, the replies carry the new orders.
    const int nOrders = pOrders->GetRows()->GetCount();
    pOrders->SendRequest();
    ASSERT_TRUE(PumpUntil([&] { return pOrders->GetRows()->GetCount() > nOrders && pOrders->IsComplete(); }, 5000));
    ExpectTablesAsReplies();
}
