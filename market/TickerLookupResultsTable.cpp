#include "market/TickerLookupResultsTable.h"

#include <algorithm>

#include "app/StockActions.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/base/TBString.h"
#include "framework/table/ViewRow.h"
#include "framework/window/TableWindow.h"
#include "link/ServerMessage.h"
#include "market/QuotationTable.h"
#include "market/TableLinks.h"
#include "platform/mfc/CmdUI.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Menu.h"

#define IDR_LOOKUP_MENU 252
#define IDS_TABLE_MENU_TITLE 55291
#define IDS_NOTHING_FOUND 55305

namespace {
const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 51581, .nSize = 6, .nField = 0},
    {.nTitleId = 51582, .nWidth = 600, .nSize = 100, .nField = 1},  // within a small screen
};
const TABLE_SORT_KEY s_sort[] = {{0, SORT_ASCENDING}};
const int s_keys[] = {0};

// The commands of the context menu on the selected symbol. Each acts through the window it
// opens; a command whose window this terminal does not have yet stays disabled.
typedef void (*PFN_SYMBOL_ACTION)(LPCSTR pszSymbol);

// The server finds the symbol's market ("RN"); the watch list takes the row from its answer.
void AddToQuotations(LPCSTR pszSymbol)
{
    if (CQuotationTable* pQuotes = dynamic_cast<CQuotationTable*>(FindDataTable(IDS_TABLE_QUOTATIONS_US)))
        pQuotes->AddSymbol(pszSymbol, "", nullptr);
}

// The order ticket on the symbol, with no price: the lookup knows none.
void OpenTicket(LPCSTR pszSymbol)
{
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->OpenOrderTicket(0, pszSymbol, 0.0, nullptr, nullptr, 0);
}

// The symbol's chart, intraday or historical, of market 1.
void OpenIntradayChart(LPCSTR pszSymbol)
{
    if (IStockActions* pActions = GetStockActions())
        pActions->OpenChart(pszSymbol, CHART_KIND_INTRADAY, 1);
}

void OpenHistoricalChart(LPCSTR pszSymbol)
{
    if (IStockActions* pActions = GetStockActions())
        pActions->OpenChart(pszSymbol, CHART_KIND_HISTORY, 1);
}

// The research pages of the symbol, US ones: the lookup searches the US symbols.
void OpenProfile(LPCSTR pszSymbol)
{
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->OpenCompanyProfile(pszSymbol);
}
void OpenResearch(LPCSTR pszSymbol)
{
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->OpenResearch(pszSymbol);
}
void OpenInsiderTrades(LPCSTR pszSymbol)
{
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->OpenInsiderTrades(pszSymbol);
}

// Whether the user may place a US order, as the application's rule for its ticket says.
BOOL MayEnterOrder()
{
    IStockActions* pActions = GetStockActions();
    return pActions != nullptr && pActions->CanEnterOrderUS();
}

const struct
{
    UINT nId;
    PFN_SYMBOL_ACTION pfnAction;
    BOOL (*pfnAllowed)();   // the user's rights beyond a selected symbol; null for none
} s_commands[] = {
    {33074, AddToQuotations, nullptr},
    {33208, OpenTicket, MayEnterOrder},
    {33209, nullptr, nullptr},   // company news
    {33210, OpenIntradayChart, nullptr},
    {33211, OpenHistoricalChart, nullptr},
    {33212, OpenProfile, nullptr},
    {33213, OpenResearch, nullptr},
    {33214, OpenInsiderTrades, nullptr},
};
}  // namespace

const TABLE_DESC g_tickerLookupResultsTable = {
    .nNameId = IDS_TABLE_TICKER_LOOKUP_RESULTS, .nTitleId = IDS_TITLE_TICKER_LOOKUP_RESULTS, .columns = s_columns,
    .sort = s_sort, .keys = s_keys, .nRequestType = MSG_TL, .nReplyType = MSG_TL};

void CTickerLookupResultsTable::OnEnd(CServerMessage* pMsg)
{
    if (!IsReceiving())
        return;
    TableOnEnd(pMsg);
    if (pMsg == nullptr || pMsg->GetLong(0) != 0)
        return;
    if (CTableMDIWnd* pWindow = GetActiveWindow())
        CloseWindow(pWindow);
    ShowMarketInfo(nullptr, IDS_NOTHING_FOUND, INFO_PRIORITY_ERROR);
}

HMENU CTickerLookupResultsTable::CreateContextMenu()
{
    HMENU hBar = LoadMenuA(TbGetResourceModule(), MAKEINTRESOURCEA(IDR_LOOKUP_MENU));
    if (hBar == nullptr)
        return CDataTable::CreateContextMenu();
    HMENU hPopup = GetSubMenu(hBar, 0);
    if (hPopup != nullptr)
        RemoveMenu(hBar, 0, MF_BYPOSITION);
    DestroyMenu(hBar);
    if (hPopup == nullptr)
        return CDataTable::CreateContextMenu();
    if (HMENU hTableMenu = CDataTable::CreateContextMenu())
        AppendMenuA(hPopup, MF_POPUP, reinterpret_cast<UINT_PTR>(hTableMenu), LoadMarketText(IDS_TABLE_MENU_TITLE));
    return hPopup;
}

CString CTickerLookupResultsTable::GetSelectedSymbol()
{
    CViewRow row;
    int nIndex = -1;
    CTBString strSymbol;
    if (!GetSelectedRow(row, &nIndex) || nIndex < 0 || !row.GetText(strSymbol, 0))
        return CString();
    return CString(static_cast<LPCSTR>(strSymbol));
}

BOOL CTickerLookupResultsTable::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    const auto* pCommand = std::find_if(std::begin(s_commands), std::end(s_commands),
                                        [nId](const auto& command) { return command.nId == nId; });
    if (pCommand == std::end(s_commands))
        return CDataTable::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
    if (nCode == static_cast<int>(CN_UPDATE_COMMAND_UI)) {
        if (pExtra == nullptr)
            return FALSE;
        static_cast<CCmdUI*>(pExtra)->Enable(pCommand->pfnAction != nullptr && !GetSelectedSymbol().IsEmpty() &&
                                             (pCommand->pfnAllowed == nullptr || pCommand->pfnAllowed()));
        return TRUE;
    }
    if (nCode != CN_COMMAND)
        return FALSE;
    if (pHandlerInfo != nullptr)
        return TRUE;
    const CString strSymbol = GetSelectedSymbol();
    if (pCommand->pfnAction != nullptr && !strSymbol.IsEmpty())
        pCommand->pfnAction(strSymbol);
    return TRUE;
}
