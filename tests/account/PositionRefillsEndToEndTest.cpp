// The position tables' replies in the scenarios that break a naive refill: a live position line
// between a reply's header and its "EN" (held, applied after the sort: no second row), and the
// two "IH" or "IK" replies of the login answered in reverse order. After a fill on each family
// and a refresh of every table, the rows are what they were, each position once.
#include <set>
#include <gtest/gtest.h>
#include "account/CombinedHoldingsTable.h"
#include "account/InvestorHoldingsTable.h"
#include "account/UnrealizedProfitLossTable.h"
#include "app/TableFactory.h"
#include "market/DataArray.h"
#include "tests/account/AccountTestSupport.h"

namespace {
const int KH_STOCK = 1, KH_TYPE = 2, KH_QUANTITY = 3;

// Each position table with its key columns and a quantity.
const struct {
    UINT nNameId;
    std::vector<int> columns;
    int nKeys;
} s_tables[] = {
    {IDS_TABLE_US_HOLDINGS, {HC_SYMBOL, HC_SUBKEY, HC_MARKET, HC_QUANTITY}, 3},
    {IDS_TABLE_KSE_HOLDINGS, {KH_STOCK, KH_TYPE, KH_QUANTITY}, 2},
    {IDS_TABLE_COMBINED_HOLDINGS, {CH_SYMBOL, CH_MARKET, CH_TYPE, CH_QUANTITY}, 3},
    {IDS_TABLE_US_UNREALIZED, {UC_SYMBOL, UC_MARKET, UC_LONG_QTY}, 2},
};

// The share rows as text (not the cash lines: the simulator's replies carry none, its live lines
// do), and whether two rows share their keys.
std::string PositionsText(UINT nNameId, const std::vector<int>& columns, int nKeys, bool* pbDoubled)
{
    CDataTable* pTable = FindDataTable(nNameId);
    std::set<std::string> keys;
    std::string strText;
    for (int i = 0; i < pTable->GetRows()->GetCount(); ++i) {
        const CDataBuffer* pRow = pTable->GetRows()->GetAt(i);
        std::string strKey;
        for (int k = 0; k < nKeys; ++k)
            strKey += std::string(pRow->GetText(columns[static_cast<size_t>(k)])) + "|";
        *pbDoubled = *pbDoubled || !keys.insert(strKey).second;
        const std::string strFirst(pRow->GetText(columns[0]));
        if (strFirst.empty() || strFirst == "0" || strFirst[0] == '=')
            continue;
        for (int nCol : columns)
            strText += std::string(pRow->GetText(nCol, TRUE)) + "|";
        strText += "\n";
    }
    return strText;
}

struct PositionRefills : CAccountSession
{
    // The live lines of a type the server put inside replies of another.
    size_t LiveInReplies(const std::string& strLive, const std::string& strReply) const
    {
        size_t nCount = 0;
        bool bIn = false;
        for (const std::string& line : Sent("")) {
            if (line.rfind("~" + strReply + "|", 0) == 0)
                bIn = true;
            else if (line.rfind("~EN|", 0) == 0)
                bIn = false;
            else if (bIn && line.rfind("~" + strLive + "|", 0) == 0)
                ++nCount;
        }
        return nCount;
    }

    // Every table asked again; done when each has ended its reply.
    void RefreshAll()
    {
        const size_t nEn = Sent("EN").size();
        for (const auto& table : s_tables)
            static_cast<IDataTable*>(FindDataTable(table.nNameId))->SendRequest();
        // IH, IK, UP, and the combined table's IH then IK.
        ASSERT_TRUE(PumpUntil([&] { return Sent("EN").size() >= nEn + 5; }, 5000));
        PumpFor(300);
    }
};
}  // namespace

TEST_F(PositionRefills, LiveLinesInRefillsAndReversedRepliesLeaveOnePositionARow)
{
    for (const char* pszScenario : {"live-in-refill=NH", "live-in-refill=IU", "reverse=IH", "reverse=IK"}) {
        SCOPED_TRACE(pszScenario);
        ASSERT_TRUE(StartSession({"--rate", "0", "--scenario", pszScenario}));
        RefreshAll();
        // A fill on each family: its position lines are the last live lines the server sent.
        for (const auto& order : {std::pair<int, const char*>{MSG_OR, "1002|10020|1|ALPN|500|3|0||0|||secret"},
                                  std::pair<int, const char*>{MSG_KR, "||1002|10020|1|1|101|2000|3|0||0|||secret"}}) {
            const char* pszLive = order.first == MSG_OR ? "NH" : "IU";
            const size_t nLive = Sent(pszLive).size();
            Send(order.first, order.second);
            ASSERT_TRUE(PumpUntil([&] { return Sent(pszLive).size() > nLive; }, 5000)) << pszLive;
            PumpFor(300);
            std::vector<std::string> before;
            bool bDoubled = false;
            for (const auto& table : s_tables)
                before.push_back(PositionsText(table.nNameId, table.columns, table.nKeys, &bDoubled));
            RefreshAll();
            for (size_t i = 0; i < std::size(s_tables); ++i) {
                const auto& table = s_tables[i];
                EXPECT_EQ(before[i], PositionsText(table.nNameId, table.columns, table.nKeys, &bDoubled))
                    << table.nNameId << " after " << pszLive;
            }
            EXPECT_FALSE(bDoubled) << "a position in two rows after " << pszLive;
            // The scenario's live line went inside the refills of its own table.
            if (std::string(pszScenario) == std::string("live-in-refill=") + pszLive) {
                EXPECT_GT(LiveInReplies(pszLive, order.first == MSG_OR ? "IH" : "IK"), 0u) << pszLive;
            }
        }
        TearDown();
    }
}
