#include "market/GainerLooserTable.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "app/StockActions.h"
#include "framework/base/TBString.h"
#include "framework/table/ViewRow.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/IndicesKSETable.h"
#include "market/TableLinks.h"
#include "platform/mfc/CmdUI.h"
#include "platform/win/user/Menu.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

#define ORDER_BOOK_MARKET_TEXT "NMS"
// The movers are the US markets' symbols.
#define MOVERS_MARKET_CODE 1

namespace {
enum { GC_SYMBOL, GC_LAST, GC_CHANGE, GC_PERCENT, GC_VOLUME, GC_MARKET, GC_KIND };

constexpr TABLE_COLUMN Price(UINT nTitleId, int nField)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = PRICE_WIDTH, .nDecimals = -2, .nAlign = ALIGN_RIGHT,
            .nFlags = COLF_OMIT_ZERO_FRACTION, .nMinDecimals = 2, .nField = nField};
}

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 51971, .nSize = 6, .nField = 1},
    Price(51972, 2), Price(51974, 4), Price(51975, 5),
    {.nTitleId = 51976, .nType = COLTYPE_DOUBLE, .nWidth = VOLUME_WIDTH, .nAlign = ALIGN_RIGHT, .nField = 6},
    {.nTitleId = 51970, .nWidth = MARKET_COLUMN_WIDTH, .nSize = 40, .nField = 0},      // the market's name where the line gives its code
    {.nTitleId = 51973, .nType = COLTYPE_COMPUTED, .nFlags = COLF_HIDDEN, .nField = 3,
     .pfnFormat = CGainerLooser::FormatCodeColumn, .nFormatValue = GC_KIND},
};
// The list first, then the kind's own order, then the symbol.
const TABLE_SORT_KEY s_gainersSort[] = {{GC_KIND, SORT_ASCENDING}, {GC_CHANGE, SORT_DESCENDING}, {GC_SYMBOL, SORT_DESCENDING}};
const TABLE_SORT_KEY s_losersSort[] = {{GC_KIND, SORT_ASCENDING}, {GC_CHANGE, SORT_ASCENDING}, {GC_SYMBOL, SORT_DESCENDING}};
const TABLE_SORT_KEY s_activeSort[] = {{GC_KIND, SORT_ASCENDING}, {GC_VOLUME, SORT_DESCENDING}, {GC_SYMBOL, SORT_DESCENDING}};
const int s_keys[] = {GC_SYMBOL, GC_KIND};

constexpr TABLE_DESC Movers(UINT nNameId, UINT nTitleId, std::span<const TABLE_SORT_KEY> sort)
{
    return {.nNameId = nNameId, .nTitleId = nTitleId, .nFixedColumns = 1, .columns = s_columns, .sort = sort,
            .keys = s_keys, .nRequestType = MSG_GL, .nReplyType = MSG_GL};
}

// The symbol's items, on top of the popup in this order.
const UINT s_symbolItems[] = {ID_MOVER_SHOW_SYMBOL, ID_MOVER_ORDER_BOOK, ID_MOVER_NEWS};

// Takes out a set inserted at an earlier opening: the items and the separator below them.
void RemoveSymbolItems(HMENU hMenu)
{
    for (const UINT nId : s_symbolItems) {
        int nPos = -1;
        for (int i = 0; i < GetMenuItemCount(hMenu) && nPos < 0; ++i)
            if (GetMenuItemID(hMenu, i) == nId)
                nPos = i;
        if (nPos < 0)
            continue;
        RemoveMenu(hMenu, static_cast<UINT>(nPos), MF_BYPOSITION);
        // The separator follows the last of the set.
        if (nId == ID_MOVER_NEWS && nPos < GetMenuItemCount(hMenu) && GetMenuItemID(hMenu, nPos) == 0 &&
            GetSubMenu(hMenu, nPos) == nullptr)
            RemoveMenu(hMenu, static_cast<UINT>(nPos), MF_BYPOSITION);
    }
}
}  // namespace

const TABLE_DESC g_gainerLooserTables[3] = {
    Movers(IDS_TABLE_GAINERS, 56785, s_gainersSort),
    Movers(IDS_TABLE_LOSERS, 56786, s_losersSort),
    Movers(IDS_TABLE_MOST_ACTIVE, 56787, s_activeSort),
};

CGainerLooserTable::CGainerLooserTable(CZorvatMessageSource* pSource, int nKind)
    : CDataTable(g_gainerLooserTables[nKind >= 0 && nKind < 3 ? nKind : 0], pSource), m_nKind(nKind)
{
}

void CGainerLooserTable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()))
        return;
    // The reply carries every list; the others' rows belong to their own tables.
    if (pMsg->GetLong(3) != m_nKind)
        return;
    std::unique_ptr<CDataBuffer> pLine(GetRows()->NewRow());
    FillRow(pMsg, pLine.get(), FALSE);
    // A market given by its code is named: a trader reads "2" as nothing.
    CString strName;
    const char* pszMarket = pMsg->GetFieldText(0);
    char* pszEnd = nullptr;
    const long nMarket = strtol(pszMarket, &pszEnd, 10);
    if (pszEnd != pszMarket && *pszEnd == '\0' && GetGlobals() != nullptr && GetGlobals()->LookupMarketName(nMarket, strName))
        pLine->SetText(GC_MARKET, strName, FALSE);
    const int nIndex = GetRows()->AddRow(pLine.get(), TRUE);
    // A symbol twice in one list keeps its first row.
    if (nIndex < 0)
        return;
    // The cells' colour is the stored row's: the engine row exists once it is added.
    CDataBuffer* pRow = GetRows()->GetAt(nIndex);
    const double dPercent = pRow->GetDouble(GC_PERCENT);
    const int nAttribute = dPercent > 0 ? CHANGE_ATTR_RISE : dPercent < 0 ? CHANGE_ATTR_FALL : CHANGE_ATTR_NONE;
    for (const int nCol : {GC_CHANGE, GC_PERCENT})
        pRow->SetCellAttribute(nCol, nAttribute);
}

void CGainerLooserTable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    if ((nCol == GC_MARKET || nCol == GC_KIND) && FilterViewOnCell(this, pRow, nCol) && pnHandled != nullptr)
        *pnHandled = 1;
}

HMENU CGainerLooserTable::CreateContextMenu()
{
    HMENU hMenu = CDataTable::CreateContextMenu();
    if (hMenu == nullptr)
        return nullptr;
    DeleteMenu(hMenu, 0, MF_BYPOSITION);
    InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_STRING, ID_TABLE_REFRESH, LoadMarketText(ID_TABLE_REFRESH));
    m_hPopup = hMenu;
    return hMenu;
}

BOOL CGainerLooserTable::GetSelectedText(int nCol, CString& strText)
{
    CViewRow row;
    int nIndex = -1;
    CTBString strCell;
    if (!GetSelectedRow(row, &nIndex) || nIndex < 0 || !row.GetText(strCell, nCol))
        return FALSE;
    strText = static_cast<LPCSTR>(strCell);
    return TRUE;
}

void CGainerLooserTable::OnInitMenuPopup(HMENU hMenu, UINT /*nIndex*/, BOOL bSysMenu)
{
    if (bSysMenu || hMenu == nullptr || hMenu != m_hPopup)
        return;
    RemoveSymbolItems(hMenu);
    CString strSymbol, strMarket;
    const BOOL bRow = GetSelectedText(GC_SYMBOL, strSymbol) && GetSelectedText(GC_MARKET, strMarket);
    InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    for (int i = static_cast<int>(std::size(s_symbolItems)) - 1; i >= 0; --i) {
        const UINT nId = s_symbolItems[i];
        CString strText = LoadMenuItemText(nId);
        if (bRow) {
            CString strNamed;
            strNamed.Format("%s (%s)", static_cast<LPCSTR>(strText), static_cast<LPCSTR>(strSymbol));
            strText = strNamed;
        }
        const BOOL bEnabled = ItemEnabled(nId, bRow, strMarket);
        InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_STRING | (bEnabled ? MF_ENABLED : MF_GRAYED), nId, strText);
    }
}

BOOL CGainerLooserTable::ItemEnabled(UINT nId, BOOL bRow, const CString& strMarket)
{
    // The company news of a mover has no page to open: its item stays grey.
    return bRow && nId != ID_MOVER_NEWS && (nId != ID_MOVER_ORDER_BOOK || strMarket == ORDER_BOOK_MARKET_TEXT);
}

BOOL CGainerLooserTable::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nId == ID_TABLE_REFRESH)
        return RouteOwnCommand(nCode, pExtra, pHandlerInfo, TRUE, [this] { SendRequest(); });
    if (std::find(std::begin(s_symbolItems), std::end(s_symbolItems), nId) == std::end(s_symbolItems))
        return CDataTable::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
    CString strSymbol, strMarket;
    const BOOL bRow = GetSelectedText(GC_SYMBOL, strSymbol) && GetSelectedText(GC_MARKET, strMarket);
    // Both symbol items show the symbol as the US markets show theirs.
    const BOOL bEnabled = ItemEnabled(nId, bRow, strMarket);
    return RouteOwnCommand(nCode, pExtra, pHandlerInfo, bEnabled, [bEnabled, strSymbol] {
        if (bEnabled)
            GoToSymbol(strSymbol, MOVERS_MARKET_CODE);
    });
}
