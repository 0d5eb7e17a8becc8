#include "market/OrderBookOddLotKSETable.h"

#include <memory>
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/OrderBookKSETable.h"
#include "market/StockListKSETable.h"
#include "market/TableLinks.h"
#include "refdata/ZorvatTypes.h"

namespace {

constexpr TABLE_COLUMN Price(UINT nTitleId)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = PRICE_WIDTH, .nDecimals = -1, .nAlign = ALIGN_RIGHT,
            .nFlags = COLF_OMIT_ZERO_FRACTION};
}

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 52100, .nType = COLTYPE_INT32, .nWidth = NUMBER_WIDTH, .nAlign = ALIGN_RIGHT, .nField = 0},  // 0 stock
    {.nTitleId = 52101, .nSize = 20},                                                       // 1 symbol
    {.nTitleId = 52107, .nType = COLTYPE_DOUBLE, .nWidth = VOLUME_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = COLF_SUMMED,
     .nField = 1},                                                                          // 2 quantity
    {.nTitleId = 52118, .nType = COLTYPE_COMPUTED, .nWidth = 30, .nFlags = COLF_HIDDEN, .nField = 3,
     .pfnFormat = CTransactionType::FormatCodeColumn, .nFormatValue = OBC_SIDE},            // 3 side
    Price(52108),                                                                           // 4 side-1 price
    Price(52109),                                                                           // 5 other sides' price
    {.nTitleId = 52117, .nType = COLTYPE_INT32, .nWidth = COUNT_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = COLF_SUMMED,
     .nField = 4},                                                                          // 6 orders
};
static_assert(sizeof(s_columns) / sizeof(s_columns[0]) == OBC_COUNT);

const TABLE_SORT_KEY s_sort[] = {{OBC_STOCK, 1}, {OBC_QUANTITY, 1}, {OBC_SIDE, -1}, {OBC_SELL_PRICE, -1},
                                 {OBC_BUY_PRICE, -1}};
const int s_keys[] = {OBC_STOCK, OBC_QUANTITY, OBC_SIDE, OBC_BUY_PRICE, OBC_SELL_PRICE};
const int s_liveTypes[] = {MSG_OO};

#define SIDE_BUY 1

// The column of a line's price: side 1's, or the other one for every other side code.
int PriceColumn(long nSide)
{
    return nSide == SIDE_BUY ? OBC_BUY_PRICE : OBC_SELL_PRICE;
}

}  // namespace

const TABLE_DESC g_orderBookOddLotKSETable = {
    .nNameId = IDS_TABLE_ORDER_BOOK_ODDLOT_KSE, .nTitleId = IDS_TITLE_ORDER_BOOK_ODDLOT_KSE, .nFixedColumns = 1,
    .columns = s_columns, .sort = s_sort, .keys = s_keys, .nReplyType = MSG_OD, .liveTypes = s_liveTypes};

void COrderBookOddLotKSETable::CreateColumns()
{
    CDataTable::CreateColumns();
    GetTable()->GetColumn(OBC_STOCK).SetThousands(FALSE);
}

void COrderBookOddLotKSETable::SetLineCells(CDataBuffer* pRow, CServerMessage* pMsg, BOOL bPublish)
{
    pRow->SetDouble(PriceColumn(pMsg->GetLong(3)), pMsg->GetDouble(2, 0), bPublish);
    pRow->SetText(OBC_SYMBOL, GetKSEStockSymbol(pMsg->GetLong(0), IsArabicInterface()), bPublish);
}

void COrderBookOddLotKSETable::AddLineRow(CServerMessage* pMsg)
{
    std::unique_ptr<CDataBuffer> pNew(GetRows()->NewRow());
    FillRow(pMsg, pNew.get(), FALSE);
    SetLineCells(pNew.get(), pMsg, FALSE);
    if (CDataBuffer* pRow = GetRows()->GetAt(GetRows()->AddRow(pNew.get(), TRUE))) {
        pRow->SetCellAttribute(OBC_BUY_PRICE, BOOK_BUY_ATTRIBUTE);
        pRow->SetCellAttribute(OBC_SELL_PRICE, BOOK_SELL_ATTRIBUTE);
    }
}

void COrderBookOddLotKSETable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg != nullptr && IsReceiving() && (GetSource() == nullptr || GetSource()->IsRestricted()))
        AddLineRow(pMsg);
}

void COrderBookOddLotKSETable::ApplyLive(CServerMessage* pMsg)
{
    const CString strStock = pMsg->GetField(0);
    const CString strQuantity = pMsg->GetField(1);
    const CString strSide = pMsg->GetField(3);
    const CString strPrice = pMsg->GetField(2);
    CDataArray* pRows = GetRows();
    const double dPrice = pMsg->GetDouble(2, 0);
    if (pMsg->GetLong(4) == 0 && dPrice == 0) {
        if (pMsg->GetLong(1) == 0)
            pRows->RemoveRange({strStock});
        else
            pRows->RemoveRange({strStock, strQuantity});
        return;
    }
    // The entry's key puts the price where an insert of the same line put it, so that an entry
    // of any side code can be found and removed again; the other price is the stored 0.
    const BOOL bBuy = PriceColumn(pMsg->GetLong(3)) == OBC_BUY_PRICE;
    const char* pszBuyPrice = bBuy ? static_cast<LPCSTR>(strPrice) : "0";
    const char* pszSellPrice = bBuy ? "0" : static_cast<LPCSTR>(strPrice);
    if (pMsg->GetLong(4) == 0) {
        pRows->RemoveRow({strStock, strQuantity, strSide, pszBuyPrice, pszSellPrice});
        return;
    }
    CDataBuffer* pRow = pRows->FindRow({strStock, strQuantity, strSide, pszBuyPrice, pszSellPrice});
    if (pRow == nullptr) {
        AddLineRow(pMsg);
        return;
    }
    pRow->BeginChanges();
    FillRow(pMsg, pRow, TRUE);
    SetLineCells(pRow, pMsg, TRUE);
    pRow->Commit();
}

void COrderBookOddLotKSETable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    if (nCol != OBC_STOCK && nCol != OBC_SYMBOL && nCol != OBC_SIDE)
        return;
    if (FilterViewOnCell(this, pRow, nCol) && pnHandled != nullptr)
        *pnHandled = 1;
}
