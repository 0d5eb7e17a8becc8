#include "market/QuotationFwdKSETable.h"

#include <memory>
#include "app/StockActions.h"
#include "app/TableMDIWnd.h"
#include "framework/table/ViewRow.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/LastPriceSource.h"
#include "market/StockListKSETable.h"
#include "market/TableLinks.h"
#include "market/TickerFeed.h"
#include "market/TimeAndSalesKSETables.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

namespace {
enum FWD_COLUMN { FC_SYMBOL = 0, FC_STOCK = 1, FC_SIDE = 2, FC_SERIES = 3, FC_UNDERLYING = 7, FC_PERIODS = 8 };
// Each period's five columns: two prices, a third figure, the traded quantity and the trade count.
enum PERIOD_COLUMN { PC_QUANTITY = 3, PC_COUNT = 4, PC_COUNT_OF = 5 };
const int PERIOD_MONTHS[FWD_PERIODS] = {1, 3, 6, 9, 12};
const long SIDE_BUY = 1;
const long SIDE_SELL = 2;
// A line's period figures: side 1's five, then side 2's, for each period in turn.
const int LINE_PERIODS = 5;
const int LINE_PERIOD_STRIDE = 10;
const COLORREF FWD_CELL_BACK = 0x80FFFF;        // light yellow
const COLORREF TRADE_BUY_COLOUR = 0xFF0000;     // blue
const COLORREF TRADE_SELL_COLOUR = 0x0000FF;    // red
const long KSE_MARKET = 2;
const int FWD_TRADES_STOCK_COLUMN = 3;
// "FM": 2 side, 3 stock, 4 months, 5 price, 6 quantity, 7 series, 8 not 0 for a real trade.
enum TRADE_FIELD { TF_SIDE = 2, TF_STOCK = 3, TF_MONTHS = 4, TF_PRICE = 5, TF_QUANTITY = 6, TF_SERIES = 7, TF_VALID = 8 };

constexpr TABLE_COLUMN Price(UINT nTitleId, int nField = FIELD_NONE)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = PRICE_WIDTH, .nDecimals = -3, .nAlign = ALIGN_RIGHT,
            .nFlags = COLF_OMIT_ZERO_FRACTION, .nField = nField};
}
constexpr TABLE_COLUMN Figure(UINT nTitleId, int nType, UINT nFlags = COLF_SUMMED, int nField = FIELD_NONE)
{
    return {.nTitleId = nTitleId, .nType = nType, .nWidth = nType == COLTYPE_INT32 ? COUNT_WIDTH : VOLUME_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = nFlags,
            .nField = nField};
}
#define FWD_PERIOD_COLUMNS(title) \
    Price(title), Price((title) + 1), Figure((title) + 2, COLTYPE_DOUBLE), Figure((title) + 3, COLTYPE_DOUBLE), \
        Figure((title) + 4, COLTYPE_INT32)

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 52123, .nSize = 12},
    {.nTitleId = 52124, .nType = COLTYPE_INT32, .nWidth = NUMBER_WIDTH, .nAlign = ALIGN_RIGHT, .nField = 0},
    // Wide enough for the side's text in both languages ("Sell", "شراء").
    {.nTitleId = 52125, .nType = COLTYPE_COMPUTED, .nWidth = 40,
     .pfnFormat = CTransactionType::FormatCodeColumn, .nFormatValue = FC_SIDE},
    Figure(52126, COLTYPE_INT32, 0, 1),
    Figure(52127, COLTYPE_DOUBLE, 0, 2),
    Figure(52128, COLTYPE_DOUBLE, 0, 3),
    Price(52129, 4),
    Price(52130),
    FWD_PERIOD_COLUMNS(52131), FWD_PERIOD_COLUMNS(52136), FWD_PERIOD_COLUMNS(52141),
    FWD_PERIOD_COLUMNS(52146), FWD_PERIOD_COLUMNS(52151),
};
const TABLE_SORT_KEY s_sort[] = {{FC_STOCK, 1}, {FC_SIDE, 1}, {FC_SERIES, 1}};
const int s_keys[] = {FC_STOCK, FC_SIDE, FC_SERIES};
const int s_live[] = {MSG_FW, MSG_FM};
const int s_direct[] = {MSG_MM};

int PeriodOfMonths(long nMonths)
{
    for (int g = 0; g < FWD_PERIODS; ++g)
        if (PERIOD_MONTHS[g] == nMonths)
            return g;
    return -1;
}
}  // namespace

const TABLE_DESC g_quotationFwdKSETable = {
    .nNameId = IDS_TABLE_QUOTATIONS_FWD_KSE, .nTitleId = IDS_TITLE_QUOTATIONS_FWD_KSE, .nFixedColumns = 1,
    .columns = s_columns, .sort = s_sort, .keys = s_keys, .nRequestType = MSG_FQ, .nReplyType = MSG_FQ,
    .liveTypes = s_live, .directTypes = s_direct, .nFlags = TABLEF_LIVE_UNGATED, .crCellBack0 = FWD_CELL_BACK};

void CQuotationFwdKSETable::FillSide(CServerMessage* pMsg, CDataBuffer* pRow, long nSide, BOOL bPublish)
{
    pMsg->ResetOverrides();
    FillRow(pMsg, pRow, bPublish);
    const long nStock = pMsg->GetLong(0);
    pRow->SetText(FC_SYMBOL, GetKSEStockSymbol(nStock, IsArabicInterface()), bPublish);
    pRow->SetDouble(FC_UNDERLYING, GetLastPriceFrom(IDS_TABLE_QUOTATIONS_KSE, nStock), bPublish);
    const LONG nSideValue = nSide;
    pRow->SetValue(FC_SIDE, &nSideValue, bPublish);
    const int nFirstField = nSide == SIDE_BUY ? 5 : 10;
    for (int g = 0; g < LINE_PERIODS; ++g)
        for (int k = 0; k < PC_COUNT_OF; ++k) {
            const int nCol = FC_PERIODS + PC_COUNT_OF * g + k;
            const int nField = nFirstField + LINE_PERIOD_STRIDE * g + k;
            if (k == PC_COUNT) {
                const LONG nCount = pMsg->GetLong(nField);
                pRow->SetValue(nCol, &nCount, bPublish);
            } else {
                pRow->SetDouble(nCol, pMsg->GetDouble(nField, 0), bPublish);
            }
        }
}

void CQuotationFwdKSETable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()))
        return;
    for (const long nSide : {SIDE_BUY, SIDE_SELL}) {
        std::unique_ptr<CDataBuffer> pRow(GetRows()->NewRow());
        FillSide(pMsg, pRow.get(), nSide, FALSE);
        GetRows()->AddRow(pRow.get(), TRUE);
    }
}

void CQuotationFwdKSETable::ApplyLive(CServerMessage* pMsg)
{
    if (pMsg->GetType() == MSG_FM) {
        ApplyTrade(pMsg);
        return;
    }
    for (const long nSide : {SIDE_BUY, SIDE_SELL}) {
        const int nIndex = GetRows()->FindRowIndexByIds(
            {static_cast<LONG>(pMsg->GetLong(0)), static_cast<LONG>(nSide), static_cast<LONG>(pMsg->GetLong(1))});
        if (nIndex < 0) {
            std::unique_ptr<CDataBuffer> pRow(GetRows()->NewRow());
            FillSide(pMsg, pRow.get(), nSide, FALSE);
            GetRows()->AddRow(pRow.get(), TRUE);
            continue;
        }
        CDataBuffer* pRow = GetRows()->GetAt(nIndex);
        pRow->BeginChanges();
        FillSide(pMsg, pRow, nSide, TRUE);
        pRow->Commit();
    }
}

void CQuotationFwdKSETable::OnFM(CServerMessage* pMsg)
{
    // A trade counts only into a table that has had its figures.
    if (pMsg == nullptr || !IsComplete() || pMsg->GetLong(TF_VALID) == 0)
        return;
    TableOnLive(pMsg);
}

void CQuotationFwdKSETable::ApplyTrade(CServerMessage* pMsg)
{
    const long nSide = pMsg->GetLong(TF_SIDE);
    CDataBuffer* pRow = GetRows()->FindRowByIds({static_cast<LONG>(pMsg->GetLong(TF_STOCK)), static_cast<LONG>(nSide),
                                                 static_cast<LONG>(pMsg->GetLong(TF_SERIES))});
    if (pRow == nullptr)
        return;
    const long nMonths = pMsg->GetLong(TF_MONTHS);
    const int g = PeriodOfMonths(nMonths);
    if (g >= 0) {
        const int nCount = FC_PERIODS + PC_COUNT_OF * g + PC_COUNT;
        const int nQuantity = FC_PERIODS + PC_COUNT_OF * g + PC_QUANTITY;
        pRow->BeginChanges();
        const LONG nTrades = pRow->GetLong(nCount) + 1;
        pRow->SetValue(nCount, &nTrades, TRUE);
        pRow->SetDouble(nQuantity, pRow->GetDouble(nQuantity) + pMsg->GetDouble(TF_QUANTITY, 0), TRUE);
        pRow->Commit();
    }
    // The KSE ticker goes by the market's name in the interface's language.
    const CZorvatGlobals* pGlobals = GetGlobals();
    ITickerFeed* pTicker = pGlobals != nullptr ? FindTickerFeed(pGlobals->GetMarketName(KSE_MARKET)) : nullptr;
    if (pTicker == nullptr)
        return;
    CString strText;
    strText.Format("%.2f (%ld)", pMsg->GetDouble(TF_PRICE, 0), nMonths);
    pTicker->AddItem(pRow->GetText(FC_SYMBOL), pTicker->GetTextColor(), strText,
                     nSide == SIDE_BUY ? TRADE_BUY_COLOUR : TRADE_SELL_COLOUR);
}

void CQuotationFwdKSETable::OnMM(CServerMessage* pMsg)
{
    // Only the KSE's own closing states empty the forward market: a US market's state never.
    if (pMsg == nullptr || !IsComplete() || pMsg->GetLong(1) != KSE_MARKET)
        return;
    switch (pMsg->GetLong(0)) {
    case 0: case 1: case 4: case 5:
        RemoveAllRows();
        break;
    default:
        break;
    }
}

void CQuotationFwdKSETable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    if (pRow == nullptr || !pRow->IsDataRow())
        return;
    if (nCol == FC_SYMBOL) {
        CTBString strSymbol;
        if (!pRow->GetText(strSymbol, FC_SYMBOL))
            return;
        // The forward trades of this stock, when they are open: the latest one selected on their
        // main window, and the window of their current view narrowed alike.
        CDataTable* pTrades = FindDataTable(IDS_TABLE_TRADES_FWD_KSE);
        if (!NarrowToLatest(pTrades, FWD_TRADES_STOCK_COLUMN, strSymbol))
            return;
        CTableMDIWnd* pWindow = GetCurrentViewWindow(pTrades);
        if (pWindow != pTrades->GetMainWindow())
            NarrowWindow(pWindow, FWD_TRADES_STOCK_COLUMN, strSymbol);
        if (pnHandled != nullptr)
            *pnHandled = 1;
        return;
    }
    if (nCol >= FC_STOCK && nCol <= FC_SERIES && FilterViewOnCell(this, pRow, nCol) && pnHandled != nullptr)
        *pnHandled = 1;
}

BOOL CQuotationFwdKSETable::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nId != ID_FWD_ORDER_TICKET)
        return CDataTable::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
    // Forward contracts go through the US order entry's rule. The command takes the selected row
    // and opens nothing of this table's own.
    CViewRow row;
    int nIndex = -1;
    const BOOL bRow = GetSelectedRow(row, &nIndex) && nIndex >= 0;
    const IStockActions* pActions = GetStockActions();
    return RouteOwnCommand(nCode, pExtra, pHandlerInfo, bRow && pActions != nullptr && pActions->CanEnterOrderUS(),
                           [] {});
}
