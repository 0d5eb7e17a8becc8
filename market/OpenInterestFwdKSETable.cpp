#include "market/OpenInterestFwdKSETable.h"

#include <memory>
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/StockListKSETable.h"
#include "refdata/ZorvatTypes.h"

namespace {
enum OPEN_INTEREST_COLUMN { OC_SYMBOL = 0, OC_STOCK = 1, OC_TERM = 2, OC_SIDE = 3 };

constexpr TABLE_COLUMN Amount(UINT nTitleId, int nField, int nWidth = VOLUME_WIDTH)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = nWidth, .nAlign = ALIGN_RIGHT,
            .nFlags = COLF_SUMMED, .nField = nField};
}

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 52162, .nSize = 11},
    {.nTitleId = 52163, .nSize = 6, .nField = 0},
    // The term and the side wide enough for their titles and the side's text in both languages.
    {.nTitleId = 52164, .nType = COLTYPE_INT32, .nWidth = COUNT_WIDTH, .nAlign = ALIGN_RIGHT, .nField = 1},
    {.nTitleId = 52165, .nType = COLTYPE_COMPUTED, .nWidth = 40, .nField = 2,
     .pfnFormat = CTransactionType::FormatCodeColumn, .nFormatValue = OC_SIDE},
    Amount(52166, 3), Amount(52167, 4), Amount(52168, 5, MONEY_WIDTH), Amount(52169, 6, MONEY_WIDTH), Amount(52170, 7),
};
const TABLE_SORT_KEY s_sort[] = {{OC_STOCK, 1}, {OC_TERM, 1}, {OC_SIDE, 1}};
const int s_keys[] = {OC_STOCK, OC_TERM, OC_SIDE};
}  // namespace

const TABLE_DESC g_openInterestFwdKSETable = {
    .nNameId = IDS_TABLE_OPEN_INTEREST_FWD_KSE, .nTitleId = IDS_TITLE_OPEN_INTEREST_FWD_KSE, .nFixedColumns = 1,
    .columns = s_columns, .sort = s_sort, .keys = s_keys, .nRequestType = MSG_OI, .nReplyType = MSG_OI,
    .nFlags = TABLEF_FOLLOW_LAST_ROW};

void COpenInterestFwdKSETable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()))
        return;
    std::unique_ptr<CDataBuffer> pRow(GetRows()->NewRow());
    FillRow(pMsg, pRow.get(), FALSE);
    pRow->SetText(OC_SYMBOL, GetKSEStockSymbol(pMsg->GetLong(0), IsArabicInterface()), FALSE);
    GetRows()->AddRow(pRow.get(), TRUE);
}

void COpenInterestFwdKSETable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    if (nCol < OC_STOCK || nCol > OC_SIDE)
        return;
    if (FilterViewOnCell(this, pRow, nCol) && pnHandled != nullptr)
        *pnHandled = 1;
}
