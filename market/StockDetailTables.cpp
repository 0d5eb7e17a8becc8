#include "market/StockDetailTables.h"

#include <memory>
#include "app/ZorvatApp.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"

namespace {
// Heads: 3 the stamp of the data, 4 the stock, 6 0 when the terminal's cache is current.
const CACHE_DESC s_financialCache = {
    .pszPrefix = "SF", .bLanguage = TRUE, .nStockField = 4, .nStampField = 3, .nModeField = 6, .nIncrementMode = -1};
const CACHE_DESC s_informationCache = {
    .pszPrefix = "SI", .bLanguage = TRUE, .nStockField = 4, .nStampField = 3, .nModeField = 6, .nIncrementMode = -1};

const TABLE_COLUMN s_financialColumns[] = {
    {.nTitleId = 56901, .nType = COLTYPE_INT32, .nWidth = 70, .nAlign = ALIGN_RIGHT, .nFlags = COLF_HIDDEN},
    {.nTitleId = 56902, .nSize = 40, .nField = 0},
    {.nTitleId = 56903, .nWidth = MONEY_WIDTH, .nAlign = ALIGN_RIGHT, .nField = 1},
    {.nTitleId = 56904, .nWidth = MONEY_WIDTH, .nAlign = ALIGN_RIGHT, .nField = 2},
};
const TABLE_COLUMN s_informationColumns[] = {
    {.nTitleId = 56913, .nType = COLTYPE_INT32, .nWidth = 70, .nAlign = ALIGN_RIGHT, .nFlags = COLF_HIDDEN},
    {.nTitleId = 56895, .nSize = 40, .nField = 0},
    {.nTitleId = 56896, .nWidth = 180, .nSize = 80, .nField = 1},
};
const TABLE_SORT_KEY s_sort[] = {{0, SORT_ASCENDING}};
const int s_keys[] = {0};
}  // namespace

const TABLE_DESC g_stockFinancialTable = {
    .nNameId = IDS_TABLE_STOCK_FINANCIAL, .nTitleId = IDS_TITLE_STOCK_FINANCIAL, .columns = s_financialColumns,
    .sort = s_sort, .keys = s_keys, .nRequestType = MSG_SF, .nReplyType = MSG_SF};
const TABLE_DESC g_stockInformationTable = {
    .nNameId = IDS_TABLE_STOCK_INFORMATION, .nTitleId = IDS_TITLE_STOCK_INFORMATION, .columns = s_informationColumns,
    .sort = s_sort, .keys = s_keys, .nRequestType = MSG_SI, .nReplyType = MSG_SI};

CStockDetailTable::CStockDetailTable(const TABLE_DESC& desc, const CACHE_DESC& cache, CZorvatMessageSource* pSource)
    : CCachedStockTable(desc, cache, pSource)
{
}

CStockFinancialTable::CStockFinancialTable(CZorvatMessageSource* pSource)
    : CStockDetailTable(g_stockFinancialTable, s_financialCache, pSource)
{
}

CStockInformationTable::CStockInformationTable(CZorvatMessageSource* pSource)
    : CStockDetailTable(g_stockInformationTable, s_informationCache, pSource)
{
}

void CStockDetailTable::AddRequestFields(CServerMessage& request, long nStock) const
{
    CString strStock;
    strStock.Format("%ld", nStock);
    request.SetAtGrow(4, strStock);
    const CZORVAT32App* pApp = CZORVAT32App::Get();
    request.SetAtGrow(5, pApp != nullptr ? pApp->GetLanguageCode() : "0");
}

void CStockDetailTable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsTakingRows())
        return;
    std::unique_ptr<CDataBuffer> pRow(GetRows()->NewRow());
    FillRow(pMsg, pRow.get(), FALSE);
    const LONG nNumber = m_nRowCounter++;
    pRow->SetValue(0, &nNumber, FALSE);
    GetRows()->AddRow(pRow.get(), TRUE);
}
