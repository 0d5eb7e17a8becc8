#include "market/InternationalMarketMakerOrderBookTable.h"

#include <memory>
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/OrderBookKSETable.h"
#include "market/QuotationTable.h"
#include "market/TableLinks.h"

namespace {

constexpr TABLE_COLUMN Quantity(UINT nTitleId)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = VOLUME_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = COLF_SUMMED};
}
constexpr TABLE_COLUMN Hidden(UINT nTitleId, UINT nFlags)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_INT32, .nWidth = 55, .nAlign = ALIGN_RIGHT,
            .nFlags = COLF_HIDDEN | nFlags};
}

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 57488, .nSize = 20},                                                       // 0 symbol
    {.nTitleId = 57487, .nWidth = MARKET_COLUMN_WIDTH, .nSize = MARKET_COLUMN_SIZE},        // 1 market
    {.nTitleId = 57479, .nSize = 20},                                                       // 2 entry text
    Hidden(57480, COLF_THOUSANDS | COLF_BLANK_ZERO),                                        // 3 market maker
    Hidden(57490, 0),                                                                       // 4 side
    {.nTitleId = 57489, .nSize = 20},                                                       // 5 name
    {.nTitleId = 57478, .nType = COLTYPE_DOUBLE, .nWidth = PRICE_WIDTH, .nDecimals = -4, .nAlign = ALIGN_RIGHT,
     .nMinDecimals = 2},                                                                    // 6 price
    Quantity(57481), Quantity(57482),
};
static_assert(sizeof(s_columns) / sizeof(s_columns[0]) == MC_COUNT);

const TABLE_SORT_KEY s_sort[] = {{MC_SYMBOL, 1}, {MC_MARKET, 1}, {MC_PRICE, -1}, {MC_SIDE, 1}, {MC_MAKER, -1},
                                 {MC_ENTRY, 1}};
const int s_keys[] = {MC_SYMBOL, MC_MARKET, MC_MAKER, MC_SIDE};
const int s_direct[] = {MSG_L3};

#define ENTRY_FIELDS 6

}  // namespace

const TABLE_DESC g_makerBookUSTable = {.nNameId = IDS_TABLE_MAKER_BOOK_US, .nTitleId = IDS_TITLE_MAKER_BOOK_US,
                                       .nFixedColumns = 2, .columns = s_columns, .sort = s_sort, .keys = s_keys,
                                       .nRequestType = MSG_L3, .directTypes = s_direct};

CInternationalMarketMakerOrderBookTable::CInternationalMarketMakerOrderBookTable(CZorvatMessageSource* pSource)
    : CInternationalBookTable(g_makerBookUSTable, pSource, QC_MAKER_BOOK)
{
}

void CInternationalMarketMakerOrderBookTable::ApplyEntries(CServerMessage* pMsg, const CString& strSymbol,
                                                           const CString& strMarket, const CString& strName)
{
    for (int i = 0; i < MAX_MAKER_ENTRIES; ++i) {
        const int nField = BOOK_FIRST_ENTRY_FIELD + ENTRY_FIELDS * i;
        for (int nSide = 1; nSide <= 2; ++nSide) {
            const int nSideField = nField + 3 * (nSide - 1);
            const CString strMaker = pMsg->GetField(nSideField);
            if (!strMaker.IsEmpty())
                ApplySide(nSide, strMaker, pMsg->GetField(nSideField + 1), pMsg->GetField(nSideField + 2), strSymbol,
                          strMarket, strName);
        }
    }
}

void CInternationalMarketMakerOrderBookTable::ApplySide(int nSide, LPCSTR pszMaker, LPCSTR pszText, LPCSTR pszPair,
                                                        const CString& strSymbol, const CString& strMarket,
                                                        const CString& strName)
{
    CString strQuantity, strPrice, strSide;
    SplitField(pszPair, strQuantity, strPrice);
    strSide.Format("%d", nSide);
    CDataArray* pRows = GetRows();
    CDataBuffer* pRow = pRows->FindRow({strSymbol, strMarket, pszMaker, strSide});
    std::unique_ptr<CDataBuffer> pNew(pRow == nullptr ? pRows->NewRow() : nullptr);
    CDataBuffer* pTarget = pRow != nullptr ? pRow : pNew.get();
    pTarget->BeginChanges();
    if (pNew != nullptr) {
        pTarget->SetText(MC_SYMBOL, strSymbol, FALSE);
        pTarget->SetText(MC_MARKET, strMarket, FALSE);
        pTarget->SetText(MC_MAKER, pszMaker, FALSE);
        pTarget->SetValue(MC_SIDE, &nSide, FALSE);
    }
    pTarget->SetText(MC_PRICE, strPrice, TRUE);
    pTarget->SetText(nSide == 1 ? MC_BUY_QUANTITY : MC_SELL_QUANTITY, strQuantity, TRUE);
    pTarget->SetText(MC_ENTRY, pszText, TRUE);
    SetName(pTarget, MC_NAME, strName);
    pTarget->Commit();
    if (pNew == nullptr)
        return;
    if (CDataBuffer* pAdded = pRows->GetAt(pRows->AddRow(pNew.get(), TRUE))) {
        pAdded->SetCellAttribute(MC_BUY_QUANTITY, BOOK_BUY_ATTRIBUTE);
        pAdded->SetCellAttribute(MC_SELL_QUANTITY, BOOK_SELL_ATTRIBUTE);
    }
}

void CInternationalMarketMakerOrderBookTable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    if (nCol < MC_SYMBOL || nCol > MC_ENTRY)
        return;
    if (FilterViewOnCell(this, pRow, nCol) && pnHandled != nullptr)
        *pnHandled = 1;
}
