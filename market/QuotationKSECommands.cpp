// The KSE board as the hub from which the user acts on a stock: the double click and commands
// that open the order ticket, the clicks that filter the related windows or edit the row's own
// settings, the per-stock history and information tables, and the context menu.
#include <cstdio>
#include "app/NorvApp.h"
#include "app/StockActions.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "framework/base/TBString.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "market/CachedStockTable.h"
#include "market/DataArray.h"
#include "market/QuotationKSETable.h"
#include "market/TableLinks.h"
#include "platform/mfc/CmdUI.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Menu.h"

#define IDR_KSE_MENU 253
#define IDS_TABLE_MENU_TITLE 55291
#define IDS_TABLE_TRADES_KSE 52112
#define IDS_TABLE_ORDER_BOOK_KSE 52110
#define TRADES_STOCK_COLUMN 2
#define BOOK_STOCK_COLUMN 1
#define KSE_MARKET_CODE 2

namespace {

enum { KRULE_ALWAYS, KRULE_ROW, KRULE_ORDER, KRULE_NEWS, KRULE_CHART_HISTORY, KRULE_CHART_INTRADAY };

struct KSE_COMMAND {
    UINT nId;
    int nRule;
};

const KSE_COMMAND s_commands[] = {
    {33208, KRULE_ORDER}, {33049, KRULE_ORDER}, {33050, KRULE_ORDER}, {33078, KRULE_ROW}, {33080, KRULE_ROW},
    {33200, KRULE_ALWAYS}, {33201, KRULE_ALWAYS}, {33209, KRULE_NEWS}, {33210, KRULE_CHART_INTRADAY},
    {33211, KRULE_CHART_HISTORY}, {33086, KRULE_ROW}, {33279, KRULE_ALWAYS}, {33280, KRULE_ALWAYS},
    {33281, KRULE_ALWAYS}, {33282, KRULE_ALWAYS},
};

// The per-stock tables the board opens; the details ask only for a focused stock.
struct STOCK_TABLE {
    UINT nCommand;
    UINT nNameId;
    UINT nTitleId;
    BOOL bNeedsRow;
};
const STOCK_TABLE s_stockTables[] = {
    {33279, 56897, 56898, TRUE}, {33280, 56906, 56907, TRUE}, {33281, 56837, 56838, FALSE}, {33282, 56853, 56854, FALSE},
};

// The double click's price: the clicked column's, else the last, else the fallback; by mode.
struct TICKET_COLUMN {
    int nCol;
    int nPriceCol;
    int nMode;
};
const TICKET_COLUMN s_ticketColumns[] = {
    {KC_TEXT, KC_LAST, ORDER_MODE_BUY},        {KC_STOCK, KC_LAST, ORDER_MODE_BUY},
    {KC_LAST, KC_LAST, ORDER_MODE_BUY},        {KC_PRICE_MODE2, KC_PRICE_MODE2, ORDER_MODE_SELL},
    {KC_PRICE_MODE1, KC_PRICE_MODE1, ORDER_MODE_BUY}, {KC_FALLBACK, KC_FALLBACK, ORDER_MODE_BUY},
    {KC_BOOK_MODE2, KC_BOOK_MODE2, ORDER_MODE_SELL}, {KC_BOOK_MODE1, KC_BOOK_MODE1, ORDER_MODE_BUY},
};

const KSE_COMMAND* FindCommand(UINT nId)
{
    for (const KSE_COMMAND& command : s_commands)
        if (command.nId == nId)
            return &command;
    return nullptr;
}

double TicketPrice(const CDataBuffer* pRow, int nPriceCol)
{
    const int order[] = {nPriceCol, KC_LAST, KC_FALLBACK};
    for (int nCol : order)
        if (pRow->GetDouble(nCol) > 0)
            return pRow->GetDouble(nCol);
    return nPriceCol == KC_FALLBACK ? pRow->GetDouble(KC_LAST) : pRow->GetDouble(KC_FALLBACK);
}

// The related windows that follow a click on a stock: the KSE trades on their main window with
// the stock's latest trade selected, and the KSE order book in the window of its current view.
void ShowRelatedWindows(LPCSTR pszStock)
{
    NarrowToLatest(FindDataTable(IDS_TABLE_TRADES_KSE), TRADES_STOCK_COLUMN, pszStock);
    NarrowWindow(GetCurrentViewWindow(FindDataTable(IDS_TABLE_ORDER_BOOK_KSE)), BOOK_STOCK_COLUMN, pszStock);
}

CString StockCode(const CDataBuffer* pRow)
{
    CString strCode;
    strCode.Format("%ld", static_cast<long>(pRow->GetLong(KC_STOCK)));
    return strCode;
}

}  // namespace

void CQuotationKSETable::OpenTicket(CDataBuffer* pRow, int nCol)
{
    IStockActions* pActions = GetStockActions();
    if (pRow == nullptr || pActions == nullptr)
        return;
    for (const TICKET_COLUMN& column : s_ticketColumns) {
        if (column.nCol == nCol) {
            pActions->OpenOrderTicketKSE(column.nMode, pRow->GetText(KC_TEXT), TicketPrice(pRow, column.nPriceCol), 0, 0);
            return;
        }
    }
}

void CQuotationKSETable::OnDoubleClick(CViewRow* /*pRow*/, int nCol)
{
    OpenTicket(GetSelectedDataRow(), nCol);
}

void CQuotationKSETable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    CDataBuffer* pStock = GetDataRow(pRow);
    if (pStock == nullptr)
        return;
    const long nStock = pStock->GetLong(KC_STOCK);
    switch (nCol) {
    case KC_TEXT:
        ShowRelatedWindows(pStock->GetText(KC_TEXT));
        break;
    case KC_STATE:
    case KC_SEGMENT:
    case KC_SESSION:
        FilterViewOnCell(this, pRow, nCol);
        break;
    case KC_ALERT_PRICE:
    case KC_ALERT_DIR:
        EditAlert(nStock);
        break;
    case KC_TICKER:
        ToggleTicker(nStock);
        break;
    case KC_EXT_QTY:
    case KC_EXT_PRICE:
        EditExternalHolding(nStock);
        break;
    default:
        return;
    }
    if (pnHandled != nullptr)
        *pnHandled = 1;
}

HMENU CQuotationKSETable::CreateContextMenu()
{
    HMENU hTableMenu = CDataTable::CreateContextMenu();
    if (hTableMenu == nullptr)
        return nullptr;
    HMENU hBar = LoadMenuA(TbGetResourceModule(), MAKEINTRESOURCEA(IDR_KSE_MENU));
    HMENU hPopup = hBar != nullptr ? GetSubMenu(hBar, 0) : nullptr;
    if (hPopup != nullptr)
        RemoveMenu(hBar, 0, MF_BYPOSITION);
    if (hBar != nullptr)
        DestroyMenu(hBar);
    if (hPopup == nullptr) {
        DestroyMenu(hTableMenu);
        return nullptr;
    }
    RemoveMenu(hPopup, 33208, MF_BYCOMMAND);
    const UINT top[] = {33279, 33280, 0, 33281, 33282, 0};
    for (UINT i = 0; i < sizeof(top) / sizeof(top[0]); ++i) {
        if (top[i] == 0)
            InsertMenuA(hPopup, i, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        else
            InsertMenuA(hPopup, i, MF_BYPOSITION | MF_STRING, top[i], LoadMenuItemText(top[i]));
    }
    AppendMenuA(hPopup, MF_POPUP, reinterpret_cast<UINT_PTR>(hTableMenu), LoadMarketText(IDS_TABLE_MENU_TITLE));
    return hPopup;
}

BOOL CQuotationKSETable::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // Buy and sell without a selected stock are the application's: an empty KSE ticket.
    const BOOL bAppTicket = (nId == 33049 || nId == 33050) && GetSelectedDataRow() == nullptr;
    if (FindCommand(nId) == nullptr || bAppTicket)
        return CDataTable::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
    if (nCode == static_cast<int>(CN_UPDATE_COMMAND_UI))
        return pExtra != nullptr && UpdateCommand(nId, static_cast<CCmdUI*>(pExtra));
    if (nCode != CN_COMMAND)
        return FALSE;
    if (pHandlerInfo != nullptr)
        return TRUE;
    return RunCommand(nId);
}

BOOL CQuotationKSETable::UpdateCommand(UINT nId, CCmdUI* pCmdUI)
{
    const int nRule = FindCommand(nId)->nRule;
    const CDataBuffer* pRow = nRule == KRULE_ALWAYS ? nullptr : GetSelectedDataRow();
    const IStockActions* pActions = GetStockActions();
    BOOL bEnable = nRule == KRULE_ALWAYS || pRow != nullptr;
    if (bEnable && nRule != KRULE_ALWAYS && nRule != KRULE_ROW) {
        bEnable = pActions != nullptr &&
                  (nRule == KRULE_ORDER  ? pActions->CanEnterOrderKSE()
                   : nRule == KRULE_NEWS ? pActions->CanOpenCompanyNews()
                                         : pActions->CanOpenChart(nRule == KRULE_CHART_HISTORY ? CHART_KIND_HISTORY
                                                                                               : CHART_KIND_INTRADAY));
    }
    pCmdUI->Enable(bEnable);
    if (nId == 33200)
        pCmdUI->SetCheck(m_bShowExternal ? 1 : 0);
    else if (nId == 33086)
        pCmdUI->SetCheck(pRow != nullptr && pRow->GetLong(KC_TICKER) != 0 ? 1 : 0);
    return TRUE;
}

void CQuotationKSETable::OpenStockTable(UINT nId)
{
    for (const STOCK_TABLE& table : s_stockTables) {
        if (table.nCommand != nId)
            continue;
        IDataTable* pTable = CNorvApp::Get() != nullptr ? CNorvApp::Get()->FindTable(table.nNameId) : nullptr;
        if (pTable == nullptr)
            pTable = MakeTable(table.nNameId, 0, table.nTitleId);
        if (pTable == nullptr)
            return;
        CNorvApp::ShowTable(pTable);
        return;
    }
}

BOOL CQuotationKSETable::RunCommand(UINT nId)
{
    if (nId == 33200) {
        SetShowExternal(!m_bShowExternal);
        return TRUE;
    }
    for (const STOCK_TABLE& table : s_stockTables) {
        if (table.nCommand != nId)
            continue;
        // Read before the opened table becomes the active window.
        const BOOL bFocused = GetSelectedDataRow() != nullptr;
        const long nStock = static_cast<long>(GetFocusedValue(KC_STOCK).GetNumber());
        OpenStockTable(nId);
        CCachedStockTable* pHistory = dynamic_cast<CCachedStockTable*>(FindDataTable(table.nNameId));
        if (pHistory != nullptr && (bFocused || !table.bNeedsRow))
            pHistory->Request(nStock);
        return TRUE;
    }
    CDataBuffer* pRow = GetSelectedDataRow();
    IStockActions* pActions = GetStockActions();
    if (pRow == nullptr)
        return TRUE;
    const long nStock = pRow->GetLong(KC_STOCK);
    switch (nId) {
    case 33078:
        EditAlert(nStock);
        break;
    case 33080:
        EditExternalHolding(nStock);
        break;
    case 33086:
        ToggleTicker(nStock);
        break;
    case 33208:
    case 33049:
    case 33050:
        if (pActions != nullptr)
            pActions->OpenOrderTicketKSE(nId == 33050 ? ORDER_MODE_SELL : ORDER_MODE_BUY, pRow->GetText(KC_TEXT),
                                         TicketPrice(pRow, KC_LAST), 0, 0);
        break;
    case 33209:
        if (pActions != nullptr)
            pActions->OpenCompanyNews(pRow->GetText(KC_STOCK), KSE_MARKET_CODE);
        break;
    case 33210:
    case 33211:
        if (pActions != nullptr)
            pActions->OpenChart(StockCode(pRow), nId == 33210 ? CHART_KIND_INTRADAY : CHART_KIND_HISTORY, KSE_MARKET_CODE);
        break;
    default:
        break;
    }
    return TRUE;
}
