// The order tables in Arabic: their context menus opened again and again keep one set of the
// selected order's items and lose the items that never stay; a reload with live lines inside
// its reply ends with one row per order and trade and no second alert; pictures of the tables.
// The selected symbol's items of the US orders and positions open what they name, or are greyed.
#include <set>
#include <gtest/gtest.h>
#include "account/ExecutedTradesKSETable.h"
#include "account/ExecutedTradesTable.h"
#include "account/OrderStatusKSETable.h"
#include "account/OrderStatusTable.h"
#include "account/UnrealizedProfitLossTable.h"
#include "app/NorvApp.h"
#include "app/AppCommands.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "framework/table/Table.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/Sound.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/account/AccountTestSupport.h"
#include "tests/market/RecordingActions.h"

namespace {
int CountItems(HMENU hMenu, UINT nId)
{
    int nCount = 0;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i)
        nCount += GetMenuItemID(hMenu, i) == nId ? 1 : 0;
    return nCount;
}

std::string ItemText(HMENU hMenu, UINT nId)
{
    char szText[256] = "";
    GetMenuStringA(hMenu, nId, szText, static_cast<int>(sizeof szText), MF_BYCOMMAND);
    return szText;
}

// Every row's key once: a row stored twice would show its order or trade twice.
bool KeysAreUnique(CDataTable* pTable)
{
    std::set<std::string> keys;
    for (int i = 0; i < pTable->GetRows()->GetCount(); ++i)
        if (!keys.insert(std::string(pTable->GetRows()->GetAt(i)->GetText(1))).second)
            return false;
    return true;
}
}  // namespace

struct OrderMenus : CAccountSession
{
};

TEST_F(OrderMenus, MenusKeepOneSymbolSetAndRefillsHoldTheirLiveLines)
{
    ASSERT_TRUE(StartSession({"--rate", "0", "--scenario", "live-in-refill"}, /*bArabic=*/true));
    GetGlobals()->m_nAlertSoundMode = 1;
    auto* pOrders = Find<COrderStatusTable>(51110);
    auto* pTrades = Find<CExecutedTradesTable>(51130);
    auto* pKseOrders = Find<COrderStatusKSETable>(51128);
    auto* pKseTrades = Find<CExecutedTradesKSETable>(51142);
    ASSERT_TRUE(pOrders && pTrades && pKseOrders && pKseTrades);
    Send(MSG_KR, "||1002|10020|1|1|101|300000|3|0||0|||secret");
    Send(MSG_OR, "1002|10020|1|ALPN|20000|3|0||0|||secret");
    ASSERT_TRUE(PumpUntil([&] {
        return pOrders->GetRows()->GetCount() == 1 && pKseOrders->GetRows()->GetCount() == 1 &&
               pTrades->GetRows()->GetCount() > 0 && pKseTrades->GetRows()->GetCount() > 0;
    }, 5000));
    PumpFor(300);

    // Shown from the main menu, a table's option columns stay hidden whatever was shown before.
    for (CAccountTable* pTable : std::initializer_list<CAccountTable*>{pOrders, pTrades}) {
        pTable->SetColumnsHidden(FALSE);
        pRun->App().RunCommand(pTable == pOrders ? 33101 : 33103);
        const int nOption = pTable->GetAccountDescription().nFirstOptionColumn;
        EXPECT_TRUE(pTable->GetTable()->GetColumn(nOption).IsHidden()) << pTable->GetNameId();
        EXPECT_FALSE(pTable->GetTable()->GetColumn(nOption - 1).IsHidden()) << pTable->GetNameId();
    }

    // Opened twice over the selected order: one set of its items, named for its symbol.
    HMENU hMenu = pOrders->CreateContextMenu();
    ASSERT_NE(nullptr, hMenu);
    EXPECT_EQ(33175u, GetMenuItemID(hMenu, 0));
    EXPECT_EQ(33620u, GetMenuItemID(hMenu, 2));
    CNorvApp::ShowTable(pOrders);
    PumpFor(100);
    pOrders->GetMainWindow()->GetGrid().SelectRow(0, 0, FALSE);
    pOrders->OnInitMenuPopup(hMenu, 0, FALSE);
    const int nItems = GetMenuItemCount(hMenu);
    pOrders->OnInitMenuPopup(hMenu, 0, FALSE);
    EXPECT_EQ(nItems, GetMenuItemCount(hMenu));
    for (UINT nId : {33567u, 33568u, 33569u})
        EXPECT_EQ(1, CountItems(hMenu, nId)) << nId;
    EXPECT_NE(std::string::npos, ItemText(hMenu, 33567).find("(ALPN)")) << ItemText(hMenu, 33567);
    EXPECT_EQ(0u, GetMenuItemID(hMenu, 3)) << "a separator under the set";
    DestroyMenu(hMenu);

    // The trades' option popup never keeps its options-only item.
    hMenu = pTrades->CreateContextMenu();
    ASSERT_NE(nullptr, hMenu);
    HMENU hOptions = GetSubMenu(hMenu, 2);
    ASSERT_NE(nullptr, hOptions);
    EXPECT_EQ(1, CountItems(hOptions, 33564));
    pTrades->OnInitMenuPopup(hOptions, 2, FALSE);
    EXPECT_EQ(0, CountItems(hOptions, 33564));
    EXPECT_EQ(2, GetMenuItemCount(hOptions));
    DestroyMenu(hMenu);

    // Reloaded with a live line inside each reply: one row per order and trade, no new alert.
    const std::string strOrders = RowsText(pOrders, {1, 4, 10, 11, 12});
    const std::string strTrades = RowsText(pTrades, {1, 4, 5, 9});
    const std::string strKseTrades = RowsText(pKseTrades, {1, 8, 9, 12});
    const UINT nBeeps = TbGetBeepCount();
    const size_t nEn = Sent("EN").size();
    for (CAccountTable* pTable : std::initializer_list<CAccountTable*>{pOrders, pTrades, pKseOrders, pKseTrades})
        pTable->SendRequest();
    ASSERT_TRUE(PumpUntil([&] { return Sent("EN").size() >= nEn + 6; }, 5000));
    PumpFor(300);
    EXPECT_EQ(strOrders, RowsText(pOrders, {1, 4, 10, 11, 12}));
    EXPECT_EQ(strTrades, RowsText(pTrades, {1, 4, 5, 9}));
    EXPECT_EQ(strKseTrades, RowsText(pKseTrades, {1, 8, 9, 12}));
    for (CDataTable* pTable : std::initializer_list<CDataTable*>{pOrders, pTrades, pKseOrders, pKseTrades})
        EXPECT_TRUE(KeysAreUnique(pTable)) << pTable->GetNameId();
    EXPECT_EQ(nBeeps, TbGetBeepCount());

    pOrders->SetColumnsHidden(FALSE);
    Shoot(pOrders, "account_us_orders_ar");
    Shoot(pTrades, "account_us_trades_ar");
    Shoot(pKseOrders, "account_kse_orders_ar");
    Shoot(Find<COrderStatusKSETable>(51164), "account_kse_orders_active_ar");
    Shoot(pKseTrades, "account_kse_trades_ar");
}

// The symbol items of the US orders and positions over a row of the Atlantic Board, whose
// symbols are looked up in the watch list: go to symbol greyed, no order book outside the book's
// market, the news of the symbol's company; on the US markets as a whole, whose symbols are
// charted, go to symbol opens the chart.
TEST_F(OrderMenus, SymbolItemsOpenWhatTheyNameOrAreGreyed)
{
    ASSERT_TRUE(StartSession({"--rate", "0"}));
    Send(MSG_OR, "1002|10020|1|ALPN|20000|3|0||0|||secret");
    pRun->App().RunCommand(ID_APP_US_UNREALIZED);
    const struct { UINT nTableId; int nSymbolCol, nMarketCol; const char* pszSymbol; } cases[] = {
        {IDS_TABLE_US_ORDERS, 3, 21, "ALPN"}, {IDS_TABLE_US_UNREALIZED, UC_SYMBOL, UC_MARKET, "GLNT"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nTableId);
        CDataTable* pTable = Find<CDataTable>(c.nTableId);
        ASSERT_NE(nullptr, pTable);
        CNorvApp::ShowTable(pTable);
        // The row of the symbol on that market selected; null when there is none.
        const auto select = [&](const CString& strMarket) -> CDataBuffer* {
            CViewTable* pView = pTable->GetMainWindow()->GetView();
            CViewRow row;
            for (int i = 0; pView->GetRow(row, i); ++i) {
                CTBString strSymbol, strShown;
                if (row.IsDataRow() && row.GetText(strSymbol, c.nSymbolCol) && strSymbol == c.pszSymbol &&
                    row.GetText(strShown, c.nMarketCol) && strShown == static_cast<LPCSTR>(strMarket)) {
                    // A click on the row brings its window forward over any notice.
                    CNorvApp::ShowTable(pTable);
                    pTable->GetMainWindow()->GetGrid().SelectRow(i, 0, FALSE);
                    return pTable->GetSelectedDataRow();
                }
            }
            return nullptr;
        };
        const CString strAtlantic = GetGlobals()->GetMarketName(8), strCharted = GetGlobals()->GetMarketName(1);
        ASSERT_TRUE(PumpUntil([&] { return select(strAtlantic) != nullptr; }, 5000));
        CDataBuffer* pRow = select(strAtlantic);
        HMENU hMenu = pTable->CreateContextMenu();
        CRecordingActions actions;
        CStockActionsScope scope(&actions);
        // "on" or "grey" for go to symbol, order book and news, as the menu opens.
        const auto states = [&] {
            pTable->OnInitMenuPopup(hMenu, 0, FALSE);
            std::string strStates;
            for (UINT nId : {33567u, 33568u, 33569u})
                strStates += (GetMenuState(hMenu, nId, MF_BYCOMMAND) & MF_GRAYED) ? "grey " : "on ";
            return strStates;
        };
        EXPECT_EQ("grey grey on ", states());
        pTable->OnCmdMsg(33569, CN_COMMAND, nullptr, nullptr);
        pRow->SetText(c.nMarketCol, strCharted, TRUE);
        EXPECT_EQ("on grey on ", states());
        pTable->OnCmdMsg(33567, CN_COMMAND, nullptr, nullptr);
        pRow->SetText(c.nMarketCol, strAtlantic, TRUE);
        const std::string strSymbol = c.pszSymbol;
        EXPECT_EQ((std::vector<std::string>{"news COMPANY:" + strSymbol + " 8", "chart " + strSymbol + " 0 1"}),
                  actions.calls);
        DestroyMenu(hMenu);
    }
}
