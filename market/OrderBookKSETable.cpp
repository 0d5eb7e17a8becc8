#include "market/OrderBookKSETable.h"

#include <memory>
#include "framework/table/ViewRow.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/StockListKSETable.h"
#include "market/TableLinks.h"

namespace {

constexpr TABLE_COLUMN Count(UINT nTitleId, int nField)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_INT32, .nWidth = COUNT_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = COLF_SUMMED,
            .nField = nField};
}
constexpr TABLE_COLUMN Quantity(UINT nTitleId, int nField)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = VOLUME_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = COLF_SUMMED,
            .nField = nField};
}

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 52100, .nType = COLTYPE_INT32, .nWidth = NUMBER_WIDTH, .nAlign = ALIGN_RIGHT, .nField = 0},  // 0 stock
    {.nTitleId = 52101, .nSize = 20},                                                       // 1 symbol
    {.nTitleId = 52010, .nWidth = NAME_WIDTH, .nSize = 100},                                // 2 name, whole
    {.nTitleId = 52102, .nType = COLTYPE_DOUBLE, .nWidth = PRICE_WIDTH, .nDecimals = -1, .nAlign = ALIGN_RIGHT,
     .nFlags = COLF_OMIT_ZERO_FRACTION, .nField = 1},                                       // 3 price
    Count(52103, 2), Quantity(52104, 3), Count(52105, 4), Quantity(52106, 5),
};
static_assert(sizeof(s_columns) / sizeof(s_columns[0]) == BC_COUNT);

// Each stock's levels from the highest price down.
const TABLE_SORT_KEY s_sort[] = {{BC_STOCK, 1}, {BC_PRICE, -1}};
const int s_keys[] = {BC_STOCK, BC_PRICE};
const int s_liveTypes[] = {MSG_OU};

}  // namespace

const TABLE_DESC g_orderBookKSETable = {
    .nNameId = IDS_TABLE_ORDER_BOOK_KSE, .nTitleId = IDS_TITLE_ORDER_BOOK_KSE, .nFixedColumns = 1,
    .columns = s_columns, .sort = s_sort, .keys = s_keys, .nRequestType = MSG_OB, .nReplyType = MSG_OB,
    .liveTypes = s_liveTypes};

void COrderBookKSETable::CreateColumns()
{
    CDataTable::CreateColumns();
    // A stock's number is a name, not an amount.
    GetTable()->GetColumn(BC_STOCK).SetThousands(FALSE);
}

void COrderBookKSETable::SetStockTexts(CDataBuffer* pRow, long nStock, BOOL bPublish)
{
    const BOOL bArabic = IsArabicInterface();
    pRow->SetText(BC_SYMBOL, GetKSEStockSymbol(nStock, bArabic), bPublish);
    const auto* pList = dynamic_cast<const CStockListKSETable*>(FindDataTable(IDS_TABLE_STOCK_LIST_KSE));
    CString strName = pList != nullptr ? pList->GetStockName(nStock, bArabic) : CString();
    if (strName.IsEmpty())
        strName.Format("%ld", nStock);
    pRow->SetText(BC_NAME, strName, bPublish);
}

CDataBuffer* COrderBookKSETable::AddLineRow(CServerMessage* pMsg)
{
    std::unique_ptr<CDataBuffer> pNew(GetRows()->NewRow());
    FillRow(pMsg, pNew.get(), FALSE);
    SetStockTexts(pNew.get(), pMsg->GetLong(0), FALSE);
    // A key the store holds already gives no index: no row to colour.
    CDataBuffer* pRow = GetRows()->GetAt(GetRows()->AddRow(pNew.get(), TRUE));
    if (pRow != nullptr) {
        pRow->SetCellAttribute(BC_BUY_ORDERS, BOOK_BUY_ATTRIBUTE);
        pRow->SetCellAttribute(BC_BUY_QUANTITY, BOOK_BUY_ATTRIBUTE);
        pRow->SetCellAttribute(BC_SELL_ORDERS, BOOK_SELL_ATTRIBUTE);
        pRow->SetCellAttribute(BC_SELL_QUANTITY, BOOK_SELL_ATTRIBUTE);
    }
    return pRow;
}

void COrderBookKSETable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg != nullptr && IsReceiving() && (GetSource() == nullptr || GetSource()->IsRestricted()))
        AddLineRow(pMsg);
}

void COrderBookKSETable::ApplyLive(CServerMessage* pMsg)
{
    const CString strStock = pMsg->GetField(0);
    const CString strPrice = pMsg->GetField(1);
    CDataArray* pRows = GetRows();
    if (pMsg->GetLong(2) == 0 && pMsg->GetLong(4) == 0) {
        pRows->RemoveAt(pRows->FindRowIndex({strStock, strPrice}));
        return;
    }
    CDataBuffer* pRow = pRows->FindRow({strStock, strPrice});
    if (pRow == nullptr) {
        AddLineRow(pMsg);
        return;
    }
    // One batch: the row is repainted once.
    pRow->BeginChanges();
    FillRow(pMsg, pRow, TRUE);
    SetStockTexts(pRow, pMsg->GetLong(0), TRUE);
    pRow->Commit();
}

void COrderBookKSETable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    if (nCol < BC_STOCK || nCol > BC_NAME)
        return;
    if (FilterViewOnCell(this, pRow, nCol) && pnHandled != nullptr)
        *pnHandled = 1;
}

