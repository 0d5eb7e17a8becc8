#include "market/InternationalOrderBookTable.h"

#include <cstdlib>
#include <memory>
#include "app/TableMDIWnd.h"
#include "framework/base/TBString.h"
#include "framework/table/ViewRow.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/OrderBookKSETable.h"
#include "market/QuotationTable.h"
#include "market/TableLinks.h"
#include "platform/mfc/CmdUI.h"
#include "platform/win/user/Menu.h"
#include "refdata/ZorvatGlobals.h"

namespace {

constexpr TABLE_COLUMN Quantity(UINT nTitleId)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = VOLUME_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = COLF_SUMMED};
}
constexpr TABLE_COLUMN Orders(UINT nTitleId)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_INT32, .nWidth = COUNT_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = COLF_SUMMED};
}

// No field feeds a column: the line's levels are written cell by cell.
const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 57390, .nSize = 20},                                                       // 0 symbol
    {.nTitleId = 57400, .nWidth = MARKET_COLUMN_WIDTH, .nSize = MARKET_COLUMN_SIZE},        // 1 market
    {.nTitleId = 57451, .nWidth = NAME_WIDTH, .nSize = 100},                                // 2 name, whole
    {.nTitleId = 57391, .nType = COLTYPE_DOUBLE, .nWidth = PRICE_WIDTH, .nDecimals = -4, .nAlign = ALIGN_RIGHT,
     .nMinDecimals = 2},                                                                    // 3 price
    Quantity(57393), Orders(57392), Quantity(57395), Orders(57394),
};
static_assert(sizeof(s_columns) / sizeof(s_columns[0]) == PL_COUNT);

const TABLE_SORT_KEY s_sort[] = {{PL_SYMBOL, 1}, {PL_MARKET, 1}, {PL_PRICE, -1}};
const int s_keys[] = {PL_SYMBOL, PL_MARKET, PL_PRICE};
const int s_direct[] = {MSG_L2};

}  // namespace

const TABLE_DESC g_orderBookUSTable = {.nNameId = IDS_TABLE_ORDER_BOOK_US, .nTitleId = IDS_TITLE_ORDER_BOOK_US,
                                       .nFixedColumns = 2, .columns = s_columns, .sort = s_sort, .keys = s_keys,
                                       .nRequestType = MSG_L2, .directTypes = s_direct};

CInternationalOrderBookTable::CInternationalOrderBookTable(CZorvatMessageSource* pSource)
    : CInternationalBookTable(g_orderBookUSTable, pSource, QC_BOOK)
{
}

void CInternationalOrderBookTable::ApplyEntries(CServerMessage* pMsg, const CString& strSymbol,
                                                const CString& strMarket, const CString& strName)
{
    CDataArray* pRows = GetRows();
    for (int i = 0; i < MAX_BOOK_LEVELS; ++i) {
        const int nField = BOOK_FIRST_ENTRY_FIELD + 3 * i;
        const CString strPrice = pMsg->GetField(nField);
        if (strPrice.IsEmpty())
            break;
        CString strBuyQuantity, strBuyOrders, strSellQuantity, strSellOrders;
        SplitField(pMsg->GetField(nField + 1), strBuyQuantity, strBuyOrders);
        SplitField(pMsg->GetField(nField + 2), strSellQuantity, strSellOrders);
        if (atoi(strBuyQuantity) == 0 && atoi(strSellQuantity) == 0) {
            pRows->RemoveRow({strSymbol, strMarket, strPrice});
            continue;
        }
        CDataBuffer* pRow = pRows->FindRow({strSymbol, strMarket, strPrice});
        std::unique_ptr<CDataBuffer> pNew(pRow == nullptr ? pRows->NewRow() : nullptr);
        CDataBuffer* pTarget = pRow != nullptr ? pRow : pNew.get();
        pTarget->BeginChanges();
        pTarget->SetText(PL_SYMBOL, strSymbol, TRUE);
        pTarget->SetText(PL_MARKET, strMarket, TRUE);
        pTarget->SetText(PL_PRICE, strPrice, TRUE);
        pTarget->SetText(PL_BUY_QUANTITY, strBuyQuantity, TRUE);
        pTarget->SetText(PL_BUY_ORDERS, strBuyOrders, TRUE);
        pTarget->SetText(PL_SELL_QUANTITY, strSellQuantity, TRUE);
        pTarget->SetText(PL_SELL_ORDERS, strSellOrders, TRUE);
        SetName(pTarget, PL_NAME, strName);
        pTarget->Commit();
        if (pNew == nullptr)
            continue;
        if (CDataBuffer* pAdded = pRows->GetAt(pRows->AddRow(pNew.get(), TRUE))) {
            pAdded->SetCellAttribute(PL_BUY_QUANTITY, BOOK_BUY_ATTRIBUTE);
            pAdded->SetCellAttribute(PL_BUY_ORDERS, BOOK_BUY_ATTRIBUTE);
            pAdded->SetCellAttribute(PL_SELL_QUANTITY, BOOK_SELL_ATTRIBUTE);
            pAdded->SetCellAttribute(PL_SELL_ORDERS, BOOK_SELL_ATTRIBUTE);
        }
    }
}

void CInternationalOrderBookTable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    if (nCol != PL_SYMBOL && nCol != PL_MARKET)
        return;
    if (FilterViewOnCell(this, pRow, nCol) && pnHandled != nullptr)
        *pnHandled = 1;
}

HMENU CInternationalOrderBookTable::CreateContextMenu()
{
    HMENU hMenu = CDataTable::CreateContextMenu();
    if (hMenu == nullptr)
        return nullptr;
    InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    CString strText;
    strText.Format(LoadMarketText(IDS_STOP_ORDER_BOOK), "");
    InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_STRING, ID_STOP_ORDER_BOOK, strText);
    return hMenu;
}

BOOL CInternationalOrderBookTable::GetSelectedSymbol(CString& strSymbol, CString& strMarket)
{
    CViewRow row;
    int nIndex = -1;
    CTBString strCell;
    if (!GetSelectedRow(row, &nIndex) || nIndex < 0 || !row.GetText(strCell, PL_SYMBOL))
        return FALSE;
    strSymbol = static_cast<LPCSTR>(strCell);
    if (!row.GetText(strCell, PL_MARKET))
        return FALSE;
    strMarket = static_cast<LPCSTR>(strCell);
    return TRUE;
}

void CInternationalOrderBookTable::StopSelected()
{
    CString strSymbol, strMarket;
    CZorvatGlobals* pGlobals = GetGlobals();
    if (pGlobals == nullptr || !GetSelectedSymbol(strSymbol, strMarket))
        return;
    const long nMarket = pGlobals->GetMarketCode(strMarket);
    Subscribe(strSymbol, nMarket, FALSE);
    // Only the watch list's flag: the stop itself has gone out once, here.
    if (auto* pQuotes = dynamic_cast<CQuotationTable*>(FindDataTable(IDS_TABLE_QUOTATIONS_US)))
        pQuotes->SetOrderBookFlag(strSymbol, nMarket, 0);
}

BOOL CInternationalOrderBookTable::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nId != ID_STOP_ORDER_BOOK)
        return CDataTable::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
    if (nCode == static_cast<int>(CN_UPDATE_COMMAND_UI)) {
        if (pExtra == nullptr)
            return FALSE;
        CCmdUI* pCmdUI = static_cast<CCmdUI*>(pExtra);
        CString strSymbol, strMarket, strInsert, strText;
        const BOOL bSelected = GetSelectedSymbol(strSymbol, strMarket);
        if (bSelected)
            strInsert.Format("(%s)", static_cast<LPCSTR>(strSymbol));
        strText.Format(LoadMarketText(IDS_STOP_ORDER_BOOK), static_cast<LPCSTR>(strInsert));
        pCmdUI->SetText(strText);
        pCmdUI->Enable(bSelected);
        return TRUE;
    }
    if (nCode != CN_COMMAND)
        return FALSE;
    if (pHandlerInfo == nullptr)
        StopSelected();
    return TRUE;
}
