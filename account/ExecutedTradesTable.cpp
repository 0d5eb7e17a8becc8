#include "account/ExecutedTradesTable.h"

#include <cstdlib>
#include "account/HoldingsValuation.h"
#include "account/OrderStatusTable.h"
#include "app/NorvApp.h"
#include "app/TableMDIWnd.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/TableLinks.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ServerDateFields.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

#define IDS_NOTICE_TRADE 55321
#define ORDERS_ORDER_COLUMN 1

namespace {
enum {
    TC_TIME, TC_TRADE, TC_SIDE, TC_SYMBOL, TC_QUANTITY, TC_PRICE, TC_AMOUNT_1, TC_VALUE, TC_AMOUNT_3, TC_ORDER,
    TC_STATUS, TC_OPTION, TC_RIGHT, TC_EXPIRY, TC_STRIKE, TC_MARKET, TC_CURRENCY, TC_SYMBOL_TEXT, TC_AMOUNT_4
};
enum { TF_SIDE = 2, TF_SYMBOL = 3, TF_QUANTITY = 4, TF_PRICE = 5, TF_ORDER = 9, TF_UNDERLYING = 12, TF_RIGHT = 13,
       TF_STRIKE = 14, TF_EXPIRY = 15, TF_MARKET = 16 };

constexpr TABLE_COLUMN Amount(UINT nTitleId, int nField, UINT nFlags = 0)
{
    return AccountNumber(nTitleId, -2, nField, COLF_THOUSANDS | COLF_SUMMED | COLF_MONEY | nFlags, 2, MONEY_WIDTH);
}
// The server's amounts that no line of ours gives a meaning: kept, never shown.
const UINT UNNAMED = COLF_HIDDEN;

const TABLE_COLUMN s_columns[] = {
    AccountDateTime(51131, 1),
    AccountId(51132, 0),
    AccountCode(51133, SIDE_WIDTH, 2, CTransactionType::FormatCodeColumn, TC_SIDE),
    AccountText(51108, 6, 3),
    AccountNumber(51135, 0, 4),
    AccountNumber(51136, -4, 5, COLF_THOUSANDS | COLF_OMIT_ZERO_FRACTION, 2, PRICE_WIDTH),
    Amount(51137, 7, UNNAMED),
    Amount(56600, 6),                   // the fill's value, quantity times price
    Amount(51141, 8, UNNAMED),
    AccountId(51139, 9),
    AccountCode(51123, 90, 10, CTradeStatus::FormatCodeColumn, TC_STATUS),
    AccountText(57162, 6, 12),
    AccountCode(57163, OPTION_RIGHT_WIDTH, 13, COptionRight::FormatCodeColumn, TC_RIGHT),
    AccountDate(57164, 15),
    AccountNumber(57165, -4, 14, COLF_THOUSANDS | COLF_OMIT_ZERO_FRACTION, 2, PRICE_WIDTH),
    AccountText(57377, MARKET_COLUMN_SIZE, FIELD_NONE, MARKET_COLUMN_WIDTH),
    AccountText(57210, 6, 17),
    AccountName(51134),
    Amount(42269, 18, UNNAMED),
};
const TABLE_SORT_KEY s_sort[] = {{TC_TIME, SORT_ASCENDING}, {TC_TRADE, SORT_DESCENDING}};
const int s_keys[] = {TC_TRADE};
const int s_live[] = {MSG_NT};
const ACCOUNT_REQUEST s_requests[] = {{MSG_ET, "%d|%s|0|0|0"}};
const int s_quickFilters[] = {TC_SIDE, TC_SYMBOL, TC_MARKET, TC_CURRENCY, TC_SYMBOL_TEXT};
const UINT s_optionItems[] = {33563, 33565, 33564};
const ACCOUNT_MENU_ITEM s_menu[] = {{.nId = ID_ACCOUNT_REFRESH}, {}, {.nPopupTitleId = 33558, .popup = s_optionItems},
                                    {}, {.nId = ID_ACCOUNT_ALERT_SOUND}, {}};
const ACCOUNT_COMMAND s_commands[] = {
    {ID_ACCOUNT_REFRESH, RULE_ALWAYS, ACTION_REFRESH_ASKED},
    {ID_ACCOUNT_ALERT_SOUND, RULE_ALWAYS, ACTION_DIALOG},
    {33563, RULE_US, ACTION_CLEAR_FILTER, TC_RIGHT},
    {33564, RULE_REMOVED, ACTION_CRITERIA_FILTER, TC_RIGHT, ">0"},
    {33565, RULE_US, ACTION_CRITERIA_FILTER, TC_RIGHT, "=0"},
};
}  // namespace

const ACCOUNT_DESC g_executedTradesTable = {
    .table = {.nNameId = IDS_TABLE_US_TRADES, .nTitleId = 56726, .nFixedColumns = 2, .columns = s_columns,
              .sort = s_sort, .keys = s_keys, .nRequestType = MSG_ET, .nReplyType = MSG_ET, .liveTypes = s_live,
              .nFlags = TABLEF_LIVE_UNGATED, .nMoneyDecimals = 2, .company = {TC_SYMBOL_TEXT, TC_SYMBOL, TC_MARKET}},
    .requests = s_requests, .quickFilters = s_quickFilters, .menu = s_menu, .commands = s_commands,
    .nFirstOptionColumn = TC_OPTION, .nLastOptionColumn = TC_STRIKE};

void CExecutedTradesTable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()))
        return;
    BOOL bNew = FALSE;
    CDataBuffer* pRow = FillOrAddRow(pMsg, 0, &bNew);
    if (pRow == nullptr)
        return;
    const long nMarket = pMsg->GetLong(TF_MARKET);
    pRow->SetText(TC_MARKET, GetGlobals()->GetMarketName(nMarket), TRUE);
    // The company's name in the interface's language, as the combined reports show it.
    const CString strName = CompanyNameOf(nMarket, pMsg->GetFieldText(TF_SYMBOL), /*bInterface=*/TRUE);
    if (!strName.IsEmpty())
        pRow->SetText(TC_SYMBOL_TEXT, strName, TRUE);
}

void CExecutedTradesTable::ApplyLive(CServerMessage* pMsg)
{
    BOOL bNew = FALSE;
    CDataBuffer* pRow = FillOrAddRow(pMsg, MSG_NT, &bNew);
    if (pRow == nullptr)
        return;
    const long nMarket = pMsg->GetLong(TF_MARKET);
    pRow->SetText(TC_MARKET, GetGlobals()->GetMarketName(nMarket), TRUE);
    if (!bNew)
        return;
    // The company's name in the interface's language, as the combined reports show it.
    const CString strName = CompanyNameOf(nMarket, pMsg->GetFieldText(TF_SYMBOL), /*bInterface=*/TRUE);
    if (!strName.IsEmpty())
        pRow->SetText(TC_SYMBOL_TEXT, strName, TRUE);
    // A trade whose order is not shown yet is told with its order, by the order status table.
    auto* pOrders = dynamic_cast<COrderStatusTable*>(FindDataTable(IDS_TABLE_US_ORDERS));
    if (pOrders == nullptr || !pOrders->HoldsFill(pMsg))
        AnnounceTradeLine(pMsg);
}

void AnnounceTradeLine(CServerMessage* pMsg)
{
    const CString strPrice = FormatPrice(pMsg->GetDouble(TF_PRICE, 0), US_PRICE_DECIMALS);
    // An option's trade names its series, as its order's other lines do.
    const long nRight = pMsg->GetLong(TF_RIGHT);
    const CString strName = nRight == 1 || nRight == 2
                                ? OptionSeriesName(pMsg->GetFieldText(TF_UNDERLYING), static_cast<int>(nRight),
                                                   pMsg->GetDouble(TF_STRIKE, 0),
                                                   atol(ConvertServerDateField(pMsg->GetFieldText(TF_EXPIRY), 24)))
                                : pMsg->GetField(TF_SYMBOL);
    AnnounceTrade(pMsg->GetField(TF_ORDER), CTransactionType::GetText(static_cast<int>(pMsg->GetLong(TF_SIDE))),
                  strName, pMsg->GetField(TF_QUANTITY), strPrice);
}

BOOL CExecutedTradesTable::OnOwnCellClick(CViewRow* pRow, int nCol)
{
    return nCol == TC_ORDER && GoToOrder(IDS_TABLE_US_ORDERS, GetRowNumber(pRow, TC_ORDER));
}

void AnnounceTrade(const CString& strOrder, const CString& strSide, const CString& strSymbol,
                   const CString& strQuantity, const CString& strPrice)
{
    GetGlobals()->PlayAlertSound();
    const CString inserts[] = {strOrder, strSide, strSymbol, strQuantity, strPrice};
    CString strNotice;
    strNotice.FormatMessage(static_cast<LPCSTR>(LoadMarketText(IDS_NOTICE_TRADE)), inserts[0], inserts[1],
                            inserts[2], inserts[3], inserts[4]);
    ShowMarketInfo(strNotice, 0, 1);
}

BOOL GoToOrder(UINT nOrdersNameId, long nOrder)
{
    CDataTable* pOrders = FindDataTable(nOrdersNameId);
    CTableMDIWnd* pWindow = pOrders != nullptr ? pOrders->FindWindowByView(0) : nullptr;
    CViewTable* pView = pWindow != nullptr ? pWindow->GetView() : nullptr;
    if (pView == nullptr || pOrders->GetRows()->FindRowByIds({static_cast<LONG>(nOrder)}) == nullptr)
        return FALSE;
    // Group lines would stand between the rows: the search runs over the plain rows.
    const int nSumMode = pView->GetSumMode();
    if (nSumMode == 1)
        pView->SetSumMode(0);
    BOOL bFound = FALSE;
    for (int i = 0; i < pView->GetRowCount() && !bFound; ++i) {
        CViewRow row;
        if (!pView->GetRow(row, i) || !row.IsDataRow() ||
            CDataTable::GetCellValue(&row, ORDERS_ORDER_COLUMN).GetNumber() != nOrder)
            continue;
        bFound = TRUE;
        row.SetMarked(TRUE);
        pWindow->GetGrid().ScrollToRow(i, -3);
        pWindow->GetGrid().SelectRow(i, 0, FALSE);
    }
    if (nSumMode == 1)
        pView->SetSumMode(1);
    if (bFound)
        if (CNorvApp* pApp = CNorvApp::Get())
            pApp->ShowTable(pOrders);
    return bFound;
}
