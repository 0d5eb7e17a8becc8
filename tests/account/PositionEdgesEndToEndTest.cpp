// Edges of the account tables a user meets that the day's trading against the simulator does not
// reach, as the trader: a short position's gain and its colour; an order filled by its trade
// lines alone, exactly and one share short; live trades on the last day of a report's range and
// on the day after it.
#include <gtest/gtest.h>
#include "account/CombinedUnrealizedProfitLossDlg.h"
#include "account/CombinedUnrealizedProfitLossTable.h"
#include "account/HistRangeDlg.h"
#include "account/HistTransactionKSETable.h"
#include "account/HistTransactionTable.h"
#include "account/UnrealizedProfitLossTable.h"
#include "app/AppCommands.h"
#include "app/NorvMainFrame.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/table/TreeNode.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "platform/win/user/DateTimePick.h"
#include "tests/account/AccountTestSupport.h"
#include "tests/common/DialogSteps.h"

namespace {
const int US_MARKET = 8;
enum { OC_ORDER = 1, OC_STATUS = 12 };

struct SHOWN
{
    std::string strText;
    int nColour;
};

// The text and text colour of a column in the main window's row whose key column shows strKey.
SHOWN ShownCell(CDataTable* pTable, int nKeyCol, const std::string& strKey, int nCol)
{
    CViewTable* pView = pTable->GetMainWindow()->GetView();
    CViewRow row;
    for (int i = 0; i < pView->GetRowCount(); ++i) {
        CTBString strText;
        if (!pView->GetRow(row, i) || !row.IsDataRow() || !row.GetText(strText, nKeyCol) || strKey != static_cast<const char*>(strText))
            continue;
        row.GetText(strText, nCol);
        return {static_cast<const char*>(strText), row.GetNode()->GetAttr(nCol, 1) & CELL_TEXT_MASK};
    }
    return {"(no row)", -1};
}

struct PositionEdges : CAccountSession
{
    void Command(UINT nId) { SendMessageA(pRun->App().GetMainFrame()->m_hWnd, WM_COMMAND, nId, 0); }
    void Fire(const std::string& strLine) { pRun->App().GetDispatcher().OnServerMessage(strLine.c_str()); }
};
}  // namespace

// A short position gains when the price falls below what the shares were sold for and loses when
// it rises, in green and red. The US table reads it from the line's short side; the combined
// table, one side a row, from a negative quantity whose cost is the proceeds.
TEST_F(PositionEdges, AShortPositionGainsWhenThePriceFallsAndLosesWhenItRises)
{
    ASSERT_TRUE(StartSession({"--rate", "0"}));
    Command(ID_APP_US_UNREALIZED);
    auto* pUs = Find<CUnrealizedProfitLossTable>(IDS_TABLE_US_UNREALIZED);
    ASSERT_NE(nullptr, pUs);
    ASSERT_TRUE(PumpUntil([&] { return pUs->IsComplete(); }));
    RunDialogSteps({{IDC_COMBINED_UNREALIZED_ACCOUNT, [](HWND hDlg) {
                         EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hDlg, IDOK))) << "no account yet";
                         EnterText(hDlg, IDC_COMBINED_UNREALIZED_ACCOUNT, "10020");
                         NotifyControl(hDlg, IDC_COMBINED_UNREALIZED_ACCOUNT, EN_CHANGE);
                         ClickControl(hDlg, IDOK);
                     }}});
    Command(40229);
    ASSERT_TRUE(FinishedSteps());
    auto* pCombined = Find<CCombinedUnrealizedProfitLossTable>(IDS_TABLE_COMBINED_UNREALIZED);
    ASSERT_NE(nullptr, pCombined);
    ASSERT_TRUE(PumpUntil([&] { return pCombined->IsComplete() && !pCombined->IsReceiving(); }));
    PumpFor(300);

    // 100 shares sold short for 1,000.00, now at 9 and at 11; dollars to the cent in both.
    const struct {
        const char* pszSymbol;
        double dPrice;
        const char* pszUsGain;
        const char* pszCombinedGain;
        int nColour;
    } cases[] = {{"SHTA", 9, "100.00", "100.00", 4}, {"SHTB", 11, "-100.00", "-100.00", 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszSymbol);
        char szLine[256];
        snprintf(szLine, sizeof szLine, "~NH|0|XC||%s|0|0|0|0|%.2f|0|10020||0|261201|261201|0|0||100|0||1000|1000|||||||%d|=USD||0|0",
                 c.pszSymbol, c.dPrice, US_MARKET);
        Fire(szLine);
        snprintf(szLine, sizeof szLine, "~NH|0|XC||%s|-100|0|0|-1000|%.2f|0|10020||0|261201|261201|-1000|-1000||0|0||0|0|||||||%d|=USD||0|0",
                 (std::string(c.pszSymbol) + "L").c_str(), c.dPrice, US_MARKET);
        Fire(szLine);
        const SHOWN gain = ShownCell(pUs, UC_SYMBOL, c.pszSymbol, UC_SHORT_GAIN);
        EXPECT_EQ(c.pszUsGain, gain.strText);
        EXPECT_EQ(c.nColour, gain.nColour);
        EXPECT_EQ(c.nColour, ShownCell(pUs, UC_SYMBOL, c.pszSymbol, UC_SHORT_PERCENT).nColour);
        const SHOWN combined = ShownCell(pCombined, CU_SYMBOL, std::string(c.pszSymbol) + "L", CU_GAIN);
        EXPECT_EQ(c.pszCombinedGain, combined.strText);
        EXPECT_EQ(c.nColour, combined.nColour);
        EXPECT_EQ(c.nColour, ShownCell(pCombined, CU_SYMBOL, std::string(c.pszSymbol) + "L", CU_PERCENT).nColour);
    }
}

// Before any order line corrects it, an order's trade lines alone set what it reads as: one
// share short of its quantity is a partial fill, the last share fills it.
TEST_F(PositionEdges, TradeLinesAloneFillAnOrderExactlyAtItsQuantity)
{
    ASSERT_TRUE(StartSession({"--rate", "0"}));
    auto* pOrders = Find<CDataTable>(51110);
    ASSERT_NE(nullptr, pOrders);
    // A limit far below the market rests: the server sends its order line and no trade.
    const long nLink = Send(MSG_OR, "1002|10020|1|ALPN|100|0|30.00||0|||secret");
    std::string strOrder;
    ASSERT_TRUE(PumpUntil([&] {
        for (const std::string& line : Sent("OR"))
            if (line.rfind("~OR|" + std::to_string(nLink) + "|", 0) == 0)
                strOrder = CServerMessage(line.c_str(), 1).GetFieldText(11);
        return !strOrder.empty() && pOrders->GetRows()->FindRow({strOrder.c_str()}) != nullptr;
    }, 5000)) << pRun->InfoText();
    CNorvApp::ShowTable(pOrders);
    PumpFor(200);
    EXPECT_EQ("Open", ShownCell(pOrders, OC_ORDER, strOrder, OC_STATUS).strText);

    const struct {
        int nTrade, nQuantity;
        const char* pszStatus;
    } trades[] = {{990001, 99, "Partly filled"}, {990002, 1, "Filled"}};
    for (const auto& t : trades) {
        char szLine[256];
        snprintf(szLine, sizeof szLine, "~NT|0|XC||%d|20261201100000|1|ALPN|%d|30.00|%.2f|||%s|1||||||%d", t.nTrade,
                 t.nQuantity, t.nQuantity * 30.0, strOrder.c_str(), US_MARKET);
        Fire(szLine);
        EXPECT_EQ(t.pszStatus, ShownCell(pOrders, OC_ORDER, strOrder, OC_STATUS).strText) << t.nQuantity;
    }
}

// A range that ends on the server's day takes that day's trades as they come; one that ends the
// day before does not, for the US and the KSE transactions alike.
TEST_F(PositionEdges, LiveTradesJoinATransactionRangeThroughItsLastDayOnly)
{
    ASSERT_TRUE(StartSession({"--rate", "0", "--clock", "2026-12-07 09:30:00"}));
    const long nDay = 20261207;
    const struct {
        UINT nCommand, nTable;
        const char *pszReply, *pszLive;
        int nOrderType;
        const char* pszOrder;
    } reports[] = {
        {ID_APP_US_TRANSACTIONS, IDS_TABLE_US_TRANSACTIONS, "TH", "NR", MSG_OR, "1002|10020|1|ALPN|100|3|0||0|||secret"},
        {ID_APP_KSE_TRANSACTIONS, IDS_TABLE_KSE_TRANSACTIONS, "TK", "NK", MSG_KR, "||1002|10020|1|1|101|100|3|0||0|||secret"},
    };
    for (const auto& r : reports) {
        SCOPED_TRACE(r.pszReply);
        CDataTable* pTable = nullptr;
        for (const long nTo : {nDay, nDay - 1}) {
            // From the menu and then the refresh, the range from the first of the month to nTo.
            const size_t nReplies = Sent(r.pszReply).size();
            RunDialogSteps({{IDC_RANGE_FROM, [=](HWND hDlg) {
                                 SetPicker(hDlg, IDC_RANGE_FROM, 20261201);
                                 SetPicker(hDlg, IDC_RANGE_TO, nTo);
                                 ClickControl(hDlg, IDOK);
                             }}});
            if (pTable == nullptr)
                Command(r.nCommand);
            else
                RunTableCommand(pTable, ID_ACCOUNT_REFRESH);
            ASSERT_TRUE(FinishedSteps());
            pTable = FindDataTable(r.nTable);
            ASSERT_NE(nullptr, pTable);
            ASSERT_TRUE(PumpUntil([&] { return Sent(r.pszReply).size() > nReplies && !pTable->IsReceiving(); }));
            PumpFor(200);

            const size_t nShown = ShownTexts(pTable, 1).size();
            const size_t nLive = Sent(r.pszLive).size();
            Send(r.nOrderType, r.pszOrder);
            ASSERT_TRUE(PumpUntil([&] { return Sent(r.pszLive).size() > nLive; }, 5000)) << pRun->InfoText();
            PumpFor(200);
            ASSERT_EQ("261207", std::string(CServerMessage(Sent(r.pszLive).back().c_str(), 1).GetFieldText(1)));
            EXPECT_EQ(nShown + (nTo == nDay ? 1 : 0), ShownTexts(pTable, 1).size()) << "range to " << nTo;
        }
    }
}
