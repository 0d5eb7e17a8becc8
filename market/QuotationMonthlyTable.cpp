#include "market/QuotationMonthlyTable.h"

#include <memory>
#include "app/ZorvatApp.h"
#include "market/TableLinks.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/StockListKSETable.h"

namespace {
enum MONTHLY_COLUMN { MC_SYMBOL = 0, MC_STOCK = 1, MC_MONTH = 2, MC_STATE = 15 };
const int STATE_FIELD = 11;

constexpr TABLE_COLUMN Number(UINT nTitleId, int nDecimals, int nField, int nWidth = PRICE_WIDTH)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = nWidth, .nDecimals = nDecimals,
            .nAlign = ALIGN_RIGHT, .nMinDecimals = nDecimals < 0 ? 2 : 0, .nField = nField};
}

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 56839, .nSize = 11},                                                   // 0 symbol
    {.nTitleId = 56840, .nType = COLTYPE_INT32, .nWidth = NUMBER_WIDTH, .nAlign = ALIGN_RIGHT},  // 1 stock
    {.nTitleId = 56841, .nType = COLTYPE_DATE_TEXT, .nWidth = DATE_WIDTH, .nAlign = ALIGN_RIGHT,
     .nFlags = COLF_SERVER_DATE, .nField = 0},                                          // 2 month
    {.nTitleId = 56842, .nType = COLTYPE_DOUBLE, .nWidth = PRICE_WIDTH, .nDecimals = -1, .nAlign = ALIGN_RIGHT,
     .nField = 1},                                                                      // 3 close
    Number(56843, 0, 2, VOLUME_WIDTH),
    Number(56844, 0, 3, VOLUME_WIDTH),
    Number(56845, 0, 4, MONEY_WIDTH),
    Number(56846, -2, 5),
    Number(56847, -2, 6),
    Number(56848, -2, FIELD_NONE),
    Number(56849, -2, FIELD_NONE),
    Number(56850, 0, 7),
    Number(56851, 0, 8),
    Number(56852, 0, 9, PERCENT_WIDTH),
    {.nTitleId = 42292, .nSize = 11, .nFlags = COLF_HIDDEN, .nField = 10},             // 14
    {.nTitleId = 42293, .nSize = 30},                                                   // 15 state
};
const TABLE_SORT_KEY s_sort[] = {{MC_MONTH, SORT_DESCENDING}};
const int s_keys[] = {MC_MONTH};

// Heads: 3 the stamp of the data, 4 the period, 5 the stock, 7 the cache mode.
const CACHE_DESC s_cache = {
    .pszPrefix = "QM", .bLanguage = FALSE, .nStockField = 5, .nStampField = 3, .nModeField = 7, .nIncrementMode = 2};

// The state texts by the line's code; any other code reads as the first.
const UINT s_stateTexts[] = {57825, 57826, 57827, 57828};
}  // namespace

const TABLE_DESC g_quotationMonthlyTable = {
    .nNameId = IDS_TABLE_QUOTATION_MONTHLY, .nTitleId = IDS_TITLE_QUOTATION_MONTHLY, .columns = s_columns,
    .sort = s_sort, .keys = s_keys, .nRequestType = MSG_DQ, .nReplyType = MSG_DQ};

CQuotationMonthlyTable::CQuotationMonthlyTable(CZorvatMessageSource* pSource)
    : CQuotationMonthlyTable(g_quotationMonthlyTable, s_cache, HISTORY_KIND_MONTHLY, pSource)
{
}

CQuotationMonthlyTable::CQuotationMonthlyTable(const TABLE_DESC& desc, const CACHE_DESC& cache, long nKind,
                                               CZorvatMessageSource* pSource)
    : CCachedStockTable(desc, cache, pSource), m_nKind(nKind)
{
}

void CQuotationMonthlyTable::AddRequestFields(CServerMessage& request, long nStock) const
{
    CString strKind, strStock;
    strKind.Format("%ld", m_nKind);
    strStock.Format("%ld", nStock);
    request.SetAtGrow(4, strKind);
    request.SetAtGrow(5, strStock);
}

BOOL CQuotationMonthlyTable::IsOwnReply(CServerMessage* pMsg) const
{
    return pMsg->GetLong(4) == m_nKind;
}

void CQuotationMonthlyTable::OnDQ(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsOwnReply(pMsg))
        return;
    const long nError = pMsg->GetLong(0);
    if (nError > 0) {
        CZORVAT32App* pApp = CZORVAT32App::Get();
        if (pApp != nullptr)
            ShowMarketInfo(pApp->GetErrorText(nError), 0, INFO_PRIORITY_ERROR);
        return;
    }
    OnReplyHead(pMsg);
}

void CQuotationMonthlyTable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsTakingRows())
        return;
    std::unique_ptr<CDataBuffer> pRow(GetRows()->NewRow());
    FillRow(pMsg, pRow.get(), FALSE);
    // The list's own symbol whatever the interface's language: the cache serves both.
    pRow->SetText(MC_SYMBOL, GetKSEStockSymbol(GetStock(), FALSE), FALSE);
    const LONG nStock = GetStock();
    pRow->SetValue(MC_STOCK, &nStock, FALSE);
    const long nState = pMsg->GetLong(STATE_FIELD);
    const size_t nText = nState >= 1 && nState <= 3 ? static_cast<size_t>(nState) : 0;
    pRow->SetText(MC_STATE, LoadMarketText(s_stateTexts[nText]), FALSE);
    AddReplyRow(pRow.get());
}

void CQuotationMonthlyTable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    if (nCol != MC_SYMBOL && nCol != MC_STOCK && nCol != MC_MONTH)
        return;
    if (FilterViewOnCell(this, pRow, nCol) && pnHandled != nullptr)
        *pnHandled = 1;
}
