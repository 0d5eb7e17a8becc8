#include "market/TimeAndSalesKSETables.h"

#include <algorithm>
#include <memory>
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/StockListKSETable.h"
#include "refdata/ZorvatTypes.h"

namespace {
constexpr TABLE_COLUMN TradeNumber(int nField)
{
    return {.nTitleId = 0, .nType = COLTYPE_INT32, .nWidth = 10, .nAlign = ALIGN_RIGHT, .nFlags = COLF_KEY,
            .nField = nField};
}
constexpr TABLE_COLUMN TradeTime(int nField)
{
    return {.nTitleId = 51950, .nType = COLTYPE_DATETIME_TEXT, .nWidth = DATETIME_WIDTH, .nAlign = ALIGN_RIGHT,
            .nFlags = COLF_SERVER_DATE, .nField = nField};
}
constexpr TABLE_COLUMN Price(int nField)
{
    return {.nTitleId = 51952, .nType = COLTYPE_DOUBLE, .nWidth = PRICE_WIDTH, .nDecimals = -1, .nAlign = ALIGN_RIGHT,
            .nFlags = COLF_OMIT_ZERO_FRACTION, .nField = nField};
}
constexpr TABLE_COLUMN Quantity(int nField)
{
    return {.nTitleId = 51953, .nType = COLTYPE_DOUBLE, .nWidth = VOLUME_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = COLF_SUMMED,
            .nField = nField};
}
constexpr TABLE_COLUMN Text(UINT nTitleId, int nSize, int nField)
{
    return {.nTitleId = nTitleId, .nSize = nSize, .nField = nField};
}
constexpr TABLE_COLUMN Count(UINT nTitleId, int nField)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_INT32, .nWidth = COUNT_WIDTH, .nAlign = ALIGN_RIGHT, .nField = nField};
}

// Lines: 0 board, 1 trade number, 2 date and time, 3 stock, 4 price, 5 quantity.
const TABLE_COLUMN s_regularColumns[] = {
    TradeNumber(1), TradeTime(2), Text(51951, 11, FIELD_NONE), Text(56693, 6, 3), Text(52011, 30, FIELD_NONE),
    Price(4), Quantity(5),
};
const TABLE_COLUMN s_oddLotColumns[] = {
    TradeNumber(1), TradeTime(2), Text(51951, 11, FIELD_NONE), Text(56693, 6, 3), Price(4), Quantity(5),
};
// Lines: 0 trade number, 1 date and time, 2 side, 3 stock, 4 months, 5 price, 6 quantity, 7 series.
const int FWD_SIDE_COLUMN = 2;
const TABLE_COLUMN s_forwardColumns[] = {
    TradeNumber(0),
    TradeTime(1),
    {.nTitleId = 51957, .nType = COLTYPE_COMPUTED, .nWidth = 30, .nField = 2,
     .pfnFormat = CTransactionType::FormatCodeColumn, .nFormatValue = FWD_SIDE_COLUMN},
    Text(51951, 11, FIELD_NONE),
    Text(56693, 6, 3),
    Price(5),
    Quantity(6),
    Count(51955, 4),
    Count(51956, 7),
};

const TABLE_SORT_KEY s_sortBySecond[] = {{1, SORT_ASCENDING}, {2, SORT_ASCENDING}, {0, SORT_ASCENDING}};
const TABLE_SORT_KEY s_sortByThird[] = {{1, SORT_ASCENDING}, {3, SORT_ASCENDING}, {0, SORT_ASCENDING}};
const int s_keys[] = {0};
const int s_boardLive[] = {MSG_TM};
const int s_forwardLive[] = {MSG_FM};
const long TRADES_CELL_BACK = RGB(255, 0, 255);

const TABLE_DESC s_regular = {
    .nNameId = IDS_TABLE_TRADES_KSE, .nTitleId = IDS_TITLE_TRADES_KSE, .nFixedColumns = 1,
    .columns = s_regularColumns, .sort = s_sortBySecond, .keys = s_keys, .nRequestType = MSG_TE,
    .nReplyType = MSG_TE, .liveTypes = s_boardLive, .nFlags = TABLEF_FOLLOW_LAST_ROW, .crCellBack0 = TRADES_CELL_BACK};
const TABLE_DESC s_oddLot = {
    .nNameId = IDS_TABLE_TRADES_ODDLOT_KSE, .nTitleId = IDS_TITLE_TRADES_ODDLOT_KSE, .nFixedColumns = 1,
    .columns = s_oddLotColumns, .sort = s_sortBySecond, .keys = s_keys, .nRequestType = MSG_TE,
    .nReplyType = MSG_TE, .liveTypes = s_boardLive, .nFlags = TABLEF_FOLLOW_LAST_ROW, .crCellBack0 = TRADES_CELL_BACK};
const TABLE_DESC s_forward = {
    .nNameId = IDS_TABLE_TRADES_FWD_KSE, .nTitleId = IDS_TITLE_TRADES_FWD_KSE, .nFixedColumns = 1,
    .columns = s_forwardColumns, .sort = s_sortByThird, .keys = s_keys, .nRequestType = MSG_FE,
    .nReplyType = MSG_FE, .liveTypes = s_forwardLive, .nFlags = TABLEF_FOLLOW_LAST_ROW,
    .crCellBack0 = TRADES_CELL_BACK};

const int s_regularFilters[] = {2, 4};
const int s_oddLotFilters[] = {2};
const int s_forwardFilters[] = {2, 3, 7, 8};
}  // namespace

const KSE_TRADES_DESC g_tradesKSE = {s_regular, 1, 1, 3, 2, 4, s_regularFilters};
const KSE_TRADES_DESC g_tradesOddLotKSE = {s_oddLot, 2, 1, 3, 2, -1, s_oddLotFilters};
const KSE_TRADES_DESC g_tradesFwdKSE = {s_forward, TRADES_NO_BOARD, 0, 3, 3, -1, s_forwardFilters};

CKSETradesTable::CKSETradesTable(const KSE_TRADES_DESC& trades, CZorvatMessageSource* pSource)
    : CDataTable(trades.table, pSource), m_trades(trades)
{
}

BOOL CKSETradesTable::IsOwnBoard(CServerMessage* pMsg) const
{
    return m_trades.nBoard == TRADES_NO_BOARD || pMsg->GetLong(0) == m_trades.nBoard;
}

void CKSETradesTable::SetSymbols(CServerMessage* pMsg, CDataBuffer* pRow, BOOL bPublish)
{
    const long nStock = pMsg->GetLong(m_trades.nStockField);
    pRow->SetText(m_trades.nSymbolColumn, GetKSEStockSymbol(nStock, IsArabicInterface()), bPublish);
    if (m_trades.nSecondSymbolColumn >= 0)
        pRow->SetText(m_trades.nSecondSymbolColumn,
                      GetStockSymbolFrom(IDS_TABLE_QUOTATIONS_KSE, nStock, IsArabicInterface()), bPublish);
}

void CKSETradesTable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()) ||
        !IsOwnBoard(pMsg))
        return;
    std::unique_ptr<CDataBuffer> pRow(GetRows()->NewRow());
    FillRow(pMsg, pRow.get(), FALSE);
    SetSymbols(pMsg, pRow.get(), FALSE);
    GetRows()->AddRow(pRow.get(), TRUE);
}

void CKSETradesTable::ApplyLive(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsOwnBoard(pMsg))
        return;
    CDataBuffer* pRow = GetRows()->FindRowByIds({static_cast<LONG>(pMsg->GetLong(m_trades.nTradeField))});
    if (pRow == nullptr) {
        std::unique_ptr<CDataBuffer> pNew(GetRows()->NewRow());
        FillRow(pMsg, pNew.get(), FALSE);
        SetSymbols(pMsg, pNew.get(), FALSE);
        GetRows()->AddRow(pNew.get(), TRUE);
        return;
    }
    // A trade told again: its row changes in place, repainted once.
    pRow->BeginChanges();
    FillRow(pMsg, pRow, TRUE);
    SetSymbols(pMsg, pRow, TRUE);
    pRow->Commit();
}

void CKSETradesTable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    if (std::find(m_trades.filterColumns.begin(), m_trades.filterColumns.end(), nCol) == m_trades.filterColumns.end())
        return;
    if (FilterViewOnCell(this, pRow, nCol) && pnHandled != nullptr)
        *pnHandled = 1;
}
