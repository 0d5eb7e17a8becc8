#include "market/InternationalExchangeRatesTable.h"

#include "app/ZorvatApp.h"
#include "framework/base/TBString.h"
#include "framework/table/ViewRow.h"

namespace {
enum RATE_COLUMN { RC_FROM = 0, RC_TO = 1, RC_RATE = 2, RC_BID = 3 };

// A currency code whole ("=KWD").
constexpr TABLE_COLUMN Currency(UINT nTitleId, int nField)
{
    return {.nTitleId = nTitleId, .nWidth = 45, .nSize = 6, .nField = nField};
}
constexpr TABLE_COLUMN Rate(UINT nTitleId, int nField)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = PRICE_WIDTH, .nDecimals = -7, .nAlign = ALIGN_RIGHT,
            .nField = nField};
}

const TABLE_COLUMN s_columns[] = {
    Currency(57270, 0), Currency(57271, 1), Rate(57272, 2), Rate(57273, 3), Rate(57274, 4),
};
const TABLE_SORT_KEY s_sort[] = {{RC_FROM, SORT_ASCENDING}, {RC_TO, SORT_ASCENDING}};
const int s_keys[] = {RC_FROM, RC_TO};
}  // namespace

const TABLE_DESC g_exchangeRatesTable = {
    .nNameId = IDS_TABLE_EXCHANGE_RATES, .nTitleId = IDS_TITLE_EXCHANGE_RATES, .columns = s_columns,
    .sort = s_sort, .keys = s_keys, .nRequestType = MSG_VX, .nReplyType = MSG_VX};

BOOL CInternationalExchangeRatesTable::SendRequest()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr)
        return FALSE;
    CString strBody;
    strBody.Format("||%ld|%ld", static_cast<long>(pApp->GetUser().GetUserNumber()), 0L);
    return CDataTable::SendRequest(strBody) != 0;
}

void CInternationalExchangeRatesTable::OnVX(CServerMessage* pMsg)
{
    if (pMsg != nullptr && pMsg->GetLong(3) == 0)
        TableOnReplyBegin(pMsg);
}

void CInternationalExchangeRatesTable::OnRecord(CServerMessage* pMsg)
{
    if (!TableOnRecord(pMsg))
        return;
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->SetCrossRate(pMsg->GetFieldText(0), pMsg->GetFieldText(1), pMsg->GetDouble(2, 0));
}

void CInternationalExchangeRatesTable::OnEnd(CServerMessage* pMsg)
{
    // A stray "EN" is another table's: it neither ends this reply nor touches the rates.
    if (!IsReceiving())
        return;
    TableOnEnd(pMsg);
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->OnRatesIn();
}

void CInternationalExchangeRatesTable::OnCellClick(CViewRow* pRow, int nCol, int* /*pnHandled*/)
{
    if (pRow == nullptr || !pRow->IsDataRow() || (nCol != RC_RATE && nCol != RC_BID))
        return;
    CTBString strFrom, strTo;
    if (!pRow->GetText(strFrom, RC_FROM) || !pRow->GetText(strTo, RC_TO))
        return;
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->OpenInternationalCurrencyConversion(strFrom, strTo);
}
