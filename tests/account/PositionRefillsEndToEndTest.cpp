// The position tables' replies in the scenarios that break a naive refill: a live position line
// between a reply's header and its "EN" (held, applied after the sort: no second row), and the
// two "IH" or "IK" replies of the login answered in reverse order. After a fill on each family
// and a refresh of every table, the rows are what they were, each position once.
#include <algorithm>
#include <set>
#include <gtest/gtest.h>
#include "account/CombinedHoldingsTable.h"
#include "account/CombinedUnrealizedProfitLossDlg.h"
#include "account/MarginReportTable.h"
#include "account/UnrealizedProfitLossKSETable.h"
#include "account/InvestorHoldingsTable.h"
#include "account/UnrealizedProfitLossTable.h"
#include "app/AppCommands.h"
#include "app/NorvApp.h"
#include "app/TableFactory.h"
#include "app/ZorvatApp.h"
#include "market/DataArray.h"
#include "tests/account/AccountTestSupport.h"
#include "tests/common/DialogSteps.h"

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

// The share rows as text (not the cash lines, which only some replies carry), and whether two
// rows share their keys.
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

namespace {
// A table's first reply as the server would send it, with a live line for another position
// between its row and its "EN"; the table's own request was refused, so this is its first load.
struct FIRST_LOAD
{
    const char* pszUser;
    std::vector<std::string> fails;
    std::vector<UINT> commands;     // what the user runs before, the last one opening the table
    UINT nTable;
    std::vector<std::string> lines; // "#" stands for the number of the table's refused request
    int nKeyCol;
    std::set<std::string> keys;     // what its window shows after the reply
};

const FIRST_LOAD s_firstLoads[] = {
    {"trader", {"UP=500"}, {ID_APP_US_UNREALIZED}, IDS_TABLE_US_UNREALIZED,
     {"~UP|#|XC||1002|10020|2|0", "GLNT|261201|261201|70.00|140000|2000|0||73.05|||0|0|0|0||||||8|=USD|||0|0",
      "~NH|0|XC||ZZZ|10|0|0|100.00|10.00|100.00|10020||0|261201|261201|100.00|100.00||0|0||0|0|||||||8|=USD||0|0",
      "~EN|#|XC|0"},
     0, {"GLNT", "ZZZ"}},
    {"trader", {"UK=500"}, {33235}, IDS_TABLE_KSE_UNREALIZED,
     {"~UK|#|XC||0||1002|10020|2", "0|107|261109|261109|1050.0|52500.000|50000|0|0||1125.0|261109||||0||0",
      "~IU|0|XC||0|109|1000|0|0|95.000|0|98|98.000|0|10020|0|98.000|261112|261112|=KWD|95.000|0", "~EN|#|XC|0"},
     1, {"107", "109"}},
    {"trader", {"UP=500"}, {ID_APP_US_UNREALIZED, 40229}, IDS_TABLE_COMBINED_UNREALIZED,
     {"~UP|#|XC||1002|10020|2|0", "GLNT|261201|261201|70.00|140000|2000|0||73.05|||0|0|0|0||||||8|=USD|||0|0",
      "~NH|0|XC||ZZZ|10|0|0|100.00|10.00|100.00|10020||0|261201|261201|100.00|100.00||0|0||0|0|||||||8|=USD||0|0",
      "~EN|#|XC|0"},
     0, {"GLNT", "ZZZ", "107", "109"}},
    {"margin", {"ML=500"}, {33313}, IDS_TABLE_MARGIN_REPORT,
     {"~ML|#|XC||0||1004", "10040|1000.000|2000.000|0|100.00|30.00|0.000|3000.000|2400.000",
      "~MN|0|XC||77777|1000.000|2000.000|0|100.00|30.00|0.000|3000.000|2400.000", "~EN|#|XC|0"},
     0, {"10040", "77777"}},
};
}  // namespace

TEST_F(PositionRefills, LiveLinesInsideAFirstReplyAreAppliedAfterIt)
{
    for (const FIRST_LOAD& load : s_firstLoads) {
        SCOPED_TRACE(load.nTable);
        std::vector<std::string> options = {"--rate", "0"};
        for (const std::string& strFail : load.fails)
            options.insert(options.end(), {"--fail", strFail});
        ASSERT_TRUE(StartSession(options, false, load.pszUser, load.pszUser == std::string("margin") ? "margin" : "secret"));
        const std::string strMnemonic = load.lines.front().substr(1, 2);
        for (const UINT nCommand : load.commands) {
            // The combined report's dialog: the account typed, then OK.
            if (nCommand == 40229)
                RunDialogSteps({{IDC_COMBINED_UNREALIZED_ACCOUNT, [](HWND hDlg) {
                                     EnterText(hDlg, IDC_COMBINED_UNREALIZED_ACCOUNT, "10020");
                                     ClickControl(hDlg, IDOK);
                                 }}});
            pRun->App().RunCommand(nCommand);
        }
        // Each command asks once (the combined report after the US one): the table's own request
        // is the last, and every one of them refused.
        std::string strNumber;
        ASSERT_TRUE(PumpUntil([&] {
            size_t nAsked = 0;
            for (const std::string& line : server.Received())
                if (line.rfind("&" + strMnemonic + "|", 0) == 0) {
                    strNumber = Split(line)[1];
                    ++nAsked;
                }
            return nAsked >= load.commands.size() && Sent(strMnemonic).size() >= load.commands.size();
        })) << pRun->InfoText();
        PumpFor(1000);                  // the server's refusal read before the reply the test hands in
        CDataTable* pTable = FindDataTable(load.nTable);
        ASSERT_NE(nullptr, pTable);
        ASSERT_FALSE(pTable->IsComplete());
        for (std::string strLine : load.lines) {
            for (size_t nAt; (nAt = strLine.find('#')) != std::string::npos;)
                strLine.replace(nAt, 1, strNumber);
            pRun->App().GetDispatcher().OnServerMessage(strLine.c_str());
        }
        PumpFor(500);
        const std::vector<std::string> shown = ShownTexts(pTable, load.nKeyCol);
        EXPECT_EQ(load.keys, std::set<std::string>(shown.begin(), shown.end()));
        EXPECT_EQ(load.keys.size(), shown.size()) << "each position once";
        TearDown();
    }
}

// The combined holdings drop a position line that comes between their request and its reply's
// header: the reply's rows are newer than it.
TEST_F(PositionRefills, CombinedHoldingsDropLinesOlderThanTheirReplies)
{
    ASSERT_TRUE(StartSession({"--rate", "0", "--scenario", "delay=IH:1"}));
    CDataTable* pTable = FindDataTable(IDS_TABLE_COMBINED_HOLDINGS);
    CNorvApp::ShowTable(pTable);
    ASSERT_TRUE(PumpUntil([&] { return pTable->IsComplete() && !Sent("IK").empty() && !pTable->IsReceiving(); }, 5000));
    const size_t nKse = Sent("IK").size();
    ASSERT_TRUE(static_cast<IDataTable*>(pTable)->SendRequest());
    pRun->App().GetDispatcher().OnServerMessage(
        "~NH|0|XC||ZZZ|10|0|0|100.00|10.00|100.00|10020||0|261201|261201|100.00|100.00||0|0||0|0|||||||8|=USD||0|0");
    pRun->App().GetDispatcher().OnServerMessage(
        "~IU|0|XC||0|555|1000|0|0|95.000|0|98|98.000|0|10020|0|98.000|261112|261112|=KWD|95.000|0");
    ASSERT_TRUE(PumpUntil([&] { return Sent("IK").size() > nKse; }, 5000));
    // The server's log has the replies before they leave it: wait for their rows on screen.
    ASSERT_TRUE(PumpUntil([&] { return !pTable->IsReceiving() && !ShownTexts(pTable, CH_SYMBOL).empty(); }, 10000));
    PumpFor(300);
    ASSERT_TRUE(PumpUntil([&] { return !pTable->IsReceiving(); }, 10000));
    const std::vector<std::string> shown = ShownTexts(pTable, CH_SYMBOL);
    for (const char* pszOld : {"ZZZ", "555"})
        EXPECT_EQ(0, std::count(shown.begin(), shown.end(), pszOld)) << pszOld;
}
