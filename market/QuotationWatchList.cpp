// The US watch list's own side of CQuotationTable: the list kept in the settings file between
// runs, the one-shot price alerts, the user's own positions, the context menu with its market
// filter, and the row commands with the grid's keys and clicks.
#include <cstdio>
#include <cstring>
#include "app/NorvApp.h"
#include "app/StockActions.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/base/SharedGlobals.h"
#include "framework/table/TableFilters.h"
#include "framework/table/ViewTable.h"
#include "market/DataArray.h"
#include "market/InternationalMarketMakerOrderBookTable.h"
#include "market/InternationalOrderBookTable.h"
#include "market/QuotationFigures.h"
#include "market/QuotationTable.h"
#include "market/SymbolCommands.h"
#include "market/TableLinks.h"
#include "market/TimeAndSalesFeed.h"
#include "market/dialogs/AlertDlg.h"
#include "market/dialogs/ExtrenalPortfolio.h"
#include "market/dialogs/TickerSelectDlg.h"
#include "platform/mfc/CmdUI.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/Sound.h"
#include "platform/win/user/VirtualKeys.h"
#include "refdata/ZorvatGlobals.h"

#define IDR_QUOTATION_MENU 251
#define IDS_TABLE_MENU_TITLE 55291
#define IDS_ADD_SYMBOL_TITLE 55292
#define IDS_CHANGE_SYMBOL_TITLE 55293
#define IDS_ALERT_REACHED 55296          // "%1" symbol, "%2" alert price
#define IDS_MARKETS_POPUP 57105
#define IDS_REMOVE_QUESTION 40342

#define ID_QUOTE_ALL_MARKETS 33075
#define ID_QUOTE_FIRST_MARKET 33570
#define ID_QUOTE_LAST_MARKET 33600      // 31 markets at most
#define ID_QUOTE_ADD 33074
#define ID_QUOTE_CHANGE 33076
#define ID_QUOTE_REMOVE 33077
#define ID_QUOTE_ALERT 33078
#define ID_QUOTE_OWN_POSITION 33080
#define ID_QUOTE_SCROLLING 33086
#define ID_QUOTE_OPTION_CHAIN 33338
#define ID_QUOTE_TICKET 33208
#define QC_TICKET_TEXT 12               // the quote's text the ticket takes with the symbol
#define ID_QUOTE_SHOW_EXT 33200
#define ID_TRADES_ADD 33081
#define ID_TRADES_STOP 33082
#define ID_TRADES_REMOVE 33083
#define ID_TRADES_SHOW 33084
#define ID_TRADES_ADD_AND_SHOW 57445
#define ID_QUOTE_COMPANY_NEWS 33209
#define ID_QUOTE_MAKER_BOOK 40194
#define ID_QUOTE_APP_RULE 40192
#define KSE_MARKET_CODE 2

namespace {

// How a command's item is enabled: always, with a selected data row, with one and the US time
// and sales open, with one whose book is off (follow) or on (stop), with one and the user's
// chart, US order or news rights, with one whose symbol command has something to open, or by
// the application's rule of the same command.
enum {
    QRULE_ALWAYS, QRULE_ROW, QRULE_TRADES, QRULE_BOOK_OFF, QRULE_BOOK_ON, QRULE_CHART, QRULE_US_ORDER, QRULE_NEWS,
    QRULE_SYMBOL, QRULE_APP
};

struct QUOTE_COMMAND {
    UINT nId;
    int nRule;
};

const QUOTE_COMMAND s_commands[] = {
    {ID_QUOTE_ALL_MARKETS, QRULE_ALWAYS}, {ID_QUOTE_ADD, QRULE_ALWAYS}, {ID_QUOTE_SHOW_EXT, QRULE_ALWAYS},
    {ID_QUOTE_CHANGE, QRULE_ROW}, {ID_QUOTE_REMOVE, QRULE_ROW}, {ID_QUOTE_ALERT, QRULE_ROW},
    {ID_QUOTE_OWN_POSITION, QRULE_ROW}, {ID_QUOTE_SCROLLING, QRULE_ROW},
    {ID_TRADES_ADD, QRULE_TRADES}, {ID_TRADES_STOP, QRULE_TRADES}, {ID_TRADES_REMOVE, QRULE_TRADES},
    {ID_TRADES_SHOW, QRULE_TRADES}, {ID_TRADES_ADD_AND_SHOW, QRULE_TRADES},
    {57454, QRULE_BOOK_OFF}, {57455, QRULE_BOOK_ON}, {57456, QRULE_ALWAYS},
    {40195, QRULE_BOOK_OFF}, {40196, QRULE_BOOK_ON}, {40197, QRULE_ALWAYS},
    // Order ticket, news, charts, research, option chain, the symbol's own items, its makers.
    {ID_QUOTE_TICKET, QRULE_US_ORDER}, {ID_QUOTE_COMPANY_NEWS, QRULE_NEWS}, {33210, QRULE_CHART}, {33211, QRULE_CHART},
    {33212, QRULE_ROW}, {33213, QRULE_ROW}, {33214, QRULE_ROW}, {ID_QUOTE_OPTION_CHAIN, QRULE_ROW},
    {ID_SYMBOL_GO_TO, QRULE_SYMBOL}, {ID_SYMBOL_ORDER_BOOK, QRULE_SYMBOL}, {ID_SYMBOL_NEWS, QRULE_SYMBOL},
    {ID_QUOTE_MAKER_BOOK, QRULE_ROW}, {ID_QUOTE_APP_RULE, QRULE_APP},
};

// The two US books a row can follow: the commands that start, stop and show one, the row's
// column that says it is followed, the book's table and the application's opener of it.
struct BOOK_LINK {
    UINT nFollow;
    UINT nStop;
    UINT nOpen;
    int nFlagCol;
    UINT nTableId;
    UINT nOpener;
};
const BOOK_LINK s_books[] = {
    {57454, 57455, 57456, QC_BOOK, IDS_TABLE_ORDER_BOOK_US, ID_APP_INTL_BOOK_2},
    {40195, 40196, 40197, QC_MAKER_BOOK, IDS_TABLE_MAKER_BOOK_US, ID_APP_INTL_MM_BOOK},
};

const BOOK_LINK* FindBook(UINT nId)
{
    for (const BOOK_LINK& book : s_books)
        if (book.nFollow == nId || book.nStop == nId || book.nOpen == nId)
            return &book;
    return nullptr;
}

const BOOK_LINK* FindBookTable(UINT nTableId)
{
    for (const BOOK_LINK& book : s_books)
        if (book.nTableId == nTableId)
            return &book;
    return nullptr;
}

// 33210 charts the row's symbol intraday, 33211 its history.
int ChartKindOf(UINT nId)
{
    return nId == 33210 ? CHART_KIND_INTRADAY : CHART_KIND_HISTORY;
}

const QUOTE_COMMAND* FindCommand(UINT nId)
{
    for (const QUOTE_COMMAND& command : s_commands)
        if (command.nId == nId)
            return &command;
    return nullptr;
}

// A price as the dialogs show it: empty for none.
CString PriceText(double dPrice, LPCSTR pszFormat)
{
    CString strText;
    if (dPrice != 0)
        strText.Format(pszFormat, dPrice);
    return strText;
}

}  // namespace

// --- Settings --------------------------------------------------------------------------------

void CQuotationTable::OnLayoutSaved(CTableMDIWnd* pWindow)
{
    // The list once, with the main window; the further views have none of their own.
    if (pWindow != nullptr && pWindow == GetMainWindow())
        SaveWatchList(GetSharedGlobals()->m_settings);
}

void CQuotationTable::OnLayoutLoaded(CTableMDIWnd* pWindow)
{
    CDataTable::OnLayoutLoaded(pWindow);
    if (pWindow == nullptr || pWindow != GetMainWindow())
        return;
    CIni& ini = GetSharedGlobals()->m_settings;
    const CTBString strSection = ini.GetSection();
    LoadWatchList(ini);
    ini.SetSection(strSection);
}

void CQuotationTable::LoadSettings(CIni* pIni)
{
    CDataTable::LoadSettings(pIni);
    if (pIni == nullptr)
        return;
    const CTBString strSection = pIni->GetSection();
    LoadWatchList(*pIni);
    pIni->SetSection(strSection);
}

void CQuotationTable::SaveWatchList(CIni& ini)
{
    CZorvatGlobals* pGlobals = GetGlobals();
    SelectWatchListSection(ini, GetName(), /*bOddLot=*/FALSE);
    WriteWatchListHead(ini, FALSE, m_bShowExt);
    ITimeAndSalesFeed* pTrades = FindTimeAndSalesFeed();
    CDataArray* pRows = GetRows();
    int nIndex = 0;
    for (int i = 0; i < pRows->GetCount(); ++i) {
        const CDataBuffer* pRow = pRows->GetAt(i);
        WATCH_ENTRY entry;
        entry.strTicker = pRow->GetText(QC_TICKER);
        entry.nMarketCode = pGlobals != nullptr ? static_cast<int>(pGlobals->GetMarketCode(pRow->GetText(QC_MARKET))) : 0;
        entry.nOwnQuantity = static_cast<LONG>(pRow->GetDouble(QC_OWN_QTY));
        entry.dOwnPrice = pRow->GetDouble(QC_OWN_PRICE);
        entry.dAlertPrice = pRow->GetDouble(QC_ALERT_PRICE);
        entry.nAlertDirection = pRow->GetLong(QC_ALERT_DIR);
        entry.bScrollingTicker = pRow->GetLong(QC_SCROLLING) > 0;
        if (pTrades != nullptr) {
            entry.bInTimesAndSales = pTrades->IsSymbolAdded(entry.strTicker);
            entry.bStoppedInTimesAndSales = entry.bInTimesAndSales && pTrades->IsSymbolStopped(entry.strTicker);
        }
        entry.strShortTicker = pRow->GetText(QC_SHORT_TICKER);
        WriteWatchEntry(ini, nIndex++, entry);
    }
    // Symbols still waiting for their lookup are the user's too.
    for (const WATCH_ENTRY& entry : m_saved)
        WriteWatchEntry(ini, nIndex++, entry);
}

void CQuotationTable::LoadWatchList(CIni& ini)
{
    SelectWatchListSection(ini, GetName(), /*bOddLot=*/FALSE);
    ShowExtColumns(ReadShowExtended(ini));
    m_saved.clear();
    WATCH_ENTRY entry;
    for (int n = 0; ReadWatchEntry(ini, n, &entry); ++n)
        m_saved.push_back(entry);
    RestoreSavedSymbols();
}

void CQuotationTable::RestoreSavedSymbols()
{
    CZorvatGlobals* pGlobals = GetGlobals();
    if (pGlobals == nullptr || GetRows()->GetTable() == nullptr)
        return;
    CArray<int, int> codes;
    pGlobals->GetMarketCodes(codes);
    // Before the market list has come nothing can be told usable: the list waits for it.
    if (codes.GetSize() == 0)
        return;
    RemoveUnusableMarkets();
    std::vector<WATCH_ENTRY> waiting;
    for (const WATCH_ENTRY& entry : m_saved) {
        MarketDetail market;
        if (!pGlobals->LookupMarket(entry.nMarketCode, market) || market.m_nEnabled == 0)
            continue;
        const CString strMarket = pGlobals->GetMarketName(entry.nMarketCode);
        // Listed already (a symbol list came first): the saved values go straight into its row.
        if (CDataBuffer* pRow = FindQuote(entry.strTicker, strMarket)) {
            pRow->BeginChanges();
            ApplySavedEntry(pRow, entry, TRUE);
            pRow->Commit();
            continue;
        }
        // Not sent (no link yet): asked again after the next login.
        if (!AddSymbol(entry.strTicker, strMarket, &entry))
            waiting.push_back(entry);
    }
    m_saved.swap(waiting);
}

// --- Alerts and own positions ----------------------------------------------------------------

void CQuotationTable::CheckAlert(CDataBuffer* pRow, double dLast)
{
    if (IsAlertDue(dLast, pRow->GetDouble(QC_ALERT_PRICE), pRow->GetLong(QC_ALERT_DIR)))
        FireAlert(pRow);
}

void CQuotationTable::FireAlert(CDataBuffer* pRow)
{
    if (pRow == nullptr)
        return;
    char szPrice[48];
    snprintf(szPrice, sizeof(szPrice), "%.4f", pRow->GetDouble(QC_ALERT_PRICE));
    CString strText;
    strText.FormatMessage(IDS_ALERT_REACHED, static_cast<LPCSTR>(pRow->GetText(QC_TICKER)), szPrice);
    ShowInfo(strText);
    MessageBeep(MB_ICONEXCLAMATION);
    // One shot: the user sets it again when wanted.
    const int nNone = ALERT_NONE;
    pRow->SetText(QC_ALERT_PRICE, "", TRUE);
    pRow->SetValue(QC_ALERT_DIR, &nNone, TRUE);
}

BOOL CQuotationTable::SetAlert(LPCSTR pszTicker, LPCSTR pszMarket, double dAlertPrice)
{
    CDataBuffer* pRow = FindQuote(pszTicker, pszMarket);
    if (pRow == nullptr)
        return FALSE;
    double dCurrent = pRow->GetDouble(QC_LAST);
    if (dCurrent == 0)
        dCurrent = pRow->GetDouble(QC_CLOSE);
    if (dCurrent == 0)
        dCurrent = pRow->GetDouble(QC_OPEN);
    const int nDirection = AlertDirectionFor(dAlertPrice, dCurrent);
    pRow->BeginChanges();
    if (nDirection == ALERT_NONE) {
        const int nNone = ALERT_NONE;
        pRow->SetText(QC_ALERT_PRICE, "", TRUE);
        pRow->SetValue(QC_ALERT_DIR, &nNone, TRUE);
    } else {
        SetNumber(pRow, QC_ALERT_PRICE, dAlertPrice, TRUE);
        pRow->SetValue(QC_ALERT_DIR, &nDirection, TRUE);
        if (nDirection == ALERT_FIRE_NOW)
            FireAlert(pRow);
    }
    pRow->Commit();
    return TRUE;
}

BOOL CQuotationTable::SetOwnPosition(LPCSTR pszTicker, LPCSTR pszMarket, double dQuantity, double dPrice)
{
    CDataBuffer* pRow = FindQuote(pszTicker, pszMarket);
    if (pRow == nullptr)
        return FALSE;
    pRow->BeginChanges();
    SetNumber(pRow, QC_OWN_QTY, dQuantity, TRUE);
    SetNumber(pRow, QC_OWN_PRICE, dPrice, TRUE);
    ComputePosition(pRow);
    pRow->Commit();
    return TRUE;
}

void CQuotationTable::ShowExtColumns(BOOL bShow)
{
    m_bShowExt = bShow;
    if (GetTable()->GetColumnCount() <= QC_OWN_GAIN_PERCENT)
        return;
    for (int nCol = QC_OWN_QTY; nCol <= QC_OWN_GAIN_PERCENT; ++nCol) {
        CColumn column = GetTable()->GetColumn(nCol);
        column.SetUserSwitchable(bShow);
        column.SetHidden(!bShow);
    }
}

// --- Context menu and commands ---------------------------------------------------------------

HMENU CQuotationTable::CreateContextMenu()
{
    HMENU hPopup = LoadPopupMenu(IDR_QUOTATION_MENU);
    if (hPopup == nullptr)
        return nullptr;
    // The market filter: "All", then every market but the KSE's, as many as the commands hold.
    m_marketMenu.clear();
    HMENU hMarkets = GetSubMenu(hPopup, 0);
    ModifyMenuA(hPopup, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(hMarkets), LoadMarketText(IDS_MARKETS_POPUP));
    if (CZorvatGlobals* pGlobals = GetGlobals(); pGlobals != nullptr && hMarkets != nullptr) {
        CArray<int, int> codes;
        pGlobals->GetMarketCodes(codes);
        for (int i = 0; i < codes.GetSize(); ++i) {
            if (codes[i] == KSE_MARKET_CODE)
                continue;
            if (m_marketMenu.size() > ID_QUOTE_LAST_MARKET - ID_QUOTE_FIRST_MARKET)
                break;
            const CString strName = pGlobals->GetMarketName(codes[i]);
            AppendMenuA(hMarkets, MF_STRING, ID_QUOTE_FIRST_MARKET + m_marketMenu.size(), strName);
            m_marketMenu.push_back(strName);
        }
    }
    if (HMENU hTableMenu = CDataTable::CreateContextMenu())
        AppendMenuA(hPopup, MF_POPUP, reinterpret_cast<UINT_PTR>(hTableMenu), LoadMarketText(IDS_TABLE_MENU_TITLE));
    return hPopup;
}

BOOL CQuotationTable::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    const BOOL bMarket = nId >= ID_QUOTE_FIRST_MARKET && nId <= ID_QUOTE_LAST_MARKET;
    if (!bMarket && FindCommand(nId) == nullptr)
        return CDataTable::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
    if (nCode == static_cast<int>(CN_UPDATE_COMMAND_UI))
        return pExtra != nullptr && UpdateCommand(nId, static_cast<CCmdUI*>(pExtra));
    if (nCode != CN_COMMAND)
        return FALSE;
    if (pHandlerInfo != nullptr)
        return TRUE;
    return RunCommand(nId);
}

BOOL CQuotationTable::UpdateCommand(UINT nId, CCmdUI* pCmdUI)
{
    if (nId >= ID_QUOTE_FIRST_MARKET && nId <= ID_QUOTE_LAST_MARKET) {
        pCmdUI->Enable(nId - ID_QUOTE_FIRST_MARKET < m_marketMenu.size());
        return TRUE;
    }
    const QUOTE_COMMAND* pCommand = FindCommand(nId);
    CDataBuffer* pRow = pCommand->nRule != QRULE_ALWAYS && pCommand->nRule != QRULE_APP ? GetSelectedDataRow() : nullptr;
    switch (pCommand->nRule) {
    case QRULE_ALWAYS:
        pCmdUI->Enable(TRUE);
        break;
    case QRULE_ROW:
        pCmdUI->Enable(pRow != nullptr);
        break;
    case QRULE_BOOK_OFF:
    case QRULE_BOOK_ON:
        pCmdUI->Enable(pRow != nullptr &&
                       (pRow->GetLong(FindBook(nId)->nFlagCol) != 0) == (pCommand->nRule == QRULE_BOOK_ON));
        break;
    case QRULE_TRADES:
        UpdateTradesCommand(nId, pRow, pCmdUI);
        break;
    case QRULE_CHART:
        pCmdUI->Enable(pRow != nullptr && GetStockActions() != nullptr &&
                       GetStockActions()->CanOpenChart(ChartKindOf(nId)));
        break;
    case QRULE_US_ORDER:
        pCmdUI->Enable(pRow != nullptr && GetStockActions() != nullptr && GetStockActions()->CanEnterOrderUS());
        break;
    case QRULE_NEWS:
        pCmdUI->Enable(pRow != nullptr && GetStockActions() != nullptr && GetStockActions()->CanOpenCompanyNews());
        break;
    case QRULE_SYMBOL:
        pCmdUI->Enable(pRow != nullptr && CanRunSymbolCommand(nId, pRow->GetText(QC_MARKET)));
        break;
    default: {
        BOOL bEnabled = FALSE;
        CZORVAT32App* pApp = CZORVAT32App::Get();
        pCmdUI->Enable(pApp != nullptr && pApp->GetCommandState(nId, &bEnabled, nullptr) && bEnabled);
        break;
    }
    }
    if (nId == ID_QUOTE_SHOW_EXT)
        pCmdUI->SetCheck(m_bShowExt ? 1 : 0);
    else if (nId == ID_QUOTE_SCROLLING)
        pCmdUI->SetCheck(pRow != nullptr && pRow->GetLong(QC_SCROLLING) > 0 ? 1 : 0);
    else if (nId == ID_SYMBOL_ORDER_BOOK)
        pCmdUI->SetCheck(pRow != nullptr && pRow->GetLong(QC_BOOK) != 0 ? 1 : 0);
    return TRUE;
}

void CQuotationTable::UpdateTradesCommand(UINT nId, CDataBuffer* pRow, CCmdUI* pCmdUI)
{
    ITimeAndSalesFeed* pTrades = FindTimeAndSalesFeed();
    if (pRow == nullptr || pTrades == nullptr) {
        pCmdUI->Enable(FALSE);
        return;
    }
    const CString strTicker = pRow->GetText(QC_TICKER);
    const BOOL bAdded = pTrades->IsSymbolAdded(strTicker);
    switch (nId) {
    case ID_TRADES_ADD:
        pCmdUI->Enable(!bAdded);
        break;
    case ID_TRADES_STOP:
        pCmdUI->Enable(bAdded);
        pCmdUI->SetCheck(bAdded && pTrades->IsSymbolStopped(strTicker) ? 1 : 0);
        break;
    case ID_TRADES_REMOVE:
        pCmdUI->Enable(bAdded);
        break;
    default:
        pCmdUI->Enable(TRUE);
        break;
    }
}

void CQuotationTable::RunTradesCommand(UINT nId, LPCSTR pszTicker)
{
    ITimeAndSalesFeed* pTrades = FindTimeAndSalesFeed();
    if (pTrades == nullptr)
        return;
    if (nId == ID_TRADES_ADD || nId == ID_TRADES_ADD_AND_SHOW)
        pTrades->AddSymbol(pszTicker);
    else if (nId == ID_TRADES_STOP)
        pTrades->ToggleSymbolStop(pszTicker);
    else if (nId == ID_TRADES_REMOVE)
        pTrades->RemoveSymbol(pszTicker);
    if (nId == ID_TRADES_SHOW || nId == ID_TRADES_ADD_AND_SHOW) {
        CNorvApp::ShowTable(dynamic_cast<IDataTable*>(pTrades));
        pTrades->FilterSymbol(pszTicker);
    }
}

void CQuotationTable::FilterOnMarket(LPCSTR pszMarket)
{
    CTableMDIWnd* pWindow = GetActiveWindow();
    if (pWindow == nullptr)
        pWindow = GetMainWindow();
    if (pWindow == nullptr || pWindow->GetView() == nullptr)
        return;
    CTableFilters* pFilters = new CTableFilters;
    pFilters->Init(pWindow->GetView(), nullptr);
    if (pszMarket != nullptr)
        pFilters->AddFilter(QC_MARKET, pszMarket, /*bFlag=*/FALSE, /*nGroup=*/0, /*bQuote=*/TRUE);
    SetViewFilter(pWindow, pFilters);
}

BOOL CQuotationTable::RunCommand(UINT nId)
{
    if (nId >= ID_QUOTE_FIRST_MARKET && nId <= ID_QUOTE_LAST_MARKET) {
        if (nId - ID_QUOTE_FIRST_MARKET < m_marketMenu.size())
            FilterOnMarket(m_marketMenu[nId - ID_QUOTE_FIRST_MARKET]);
        return TRUE;
    }
    if (nId == ID_QUOTE_ALL_MARKETS) {
        FilterOnMarket(nullptr);
        return TRUE;
    }
    if (nId == ID_QUOTE_SHOW_EXT) {
        ShowExtColumns(!m_bShowExt);
        return TRUE;
    }
    if (nId == ID_QUOTE_ADD) {
        AskNewSymbol(nullptr, nullptr);
        return TRUE;
    }
    const BOOK_LINK* pBook = FindBook(nId);
    if (pBook != nullptr && nId == pBook->nOpen) {
        if (CZORVAT32App* pApp = CZORVAT32App::Get())
            pApp->RunCommand(pBook->nOpener);
        return TRUE;
    }
    const int nRule = FindCommand(nId)->nRule;
    CDataBuffer* pRow = nRule != QRULE_ALWAYS && nRule != QRULE_APP ? GetSelectedDataRow() : nullptr;
    if (pRow == nullptr)
        return TRUE;
    if (nRule == QRULE_TRADES)
        RunTradesCommand(nId, pRow->GetText(QC_TICKER));
    else if (nRule == QRULE_CHART && GetStockActions() != nullptr)
        GetStockActions()->OpenChart(pRow->GetText(QC_TICKER), ChartKindOf(nId),
                                     GetGlobals()->GetMarketCode(pRow->GetText(QC_MARKET)));
    else if (pBook != nullptr)
        FollowBook(pRow, pBook->nTableId, nId == pBook->nFollow);
    else if (nRule == QRULE_SYMBOL)
        RunSymbolCommand(nId, pRow->GetText(QC_TICKER), pRow->GetText(QC_MARKET));
    else if (nId == ID_QUOTE_MAKER_BOOK)
        ShowInBook(pRow->GetText(QC_TICKER), pRow->GetText(QC_MARKET), IDS_TABLE_MAKER_BOOK_US);
    else if (nId == ID_QUOTE_COMPANY_NEWS && GetStockActions() != nullptr && GetStockActions()->CanOpenCompanyNews())
        GetStockActions()->OpenCompanyNews(pRow->GetText(QC_TICKER),
                                           GetGlobals()->GetMarketCode(pRow->GetText(QC_MARKET)));
    else
        RunCommandOnRow(nId, pRow->GetText(QC_TICKER), pRow->GetText(QC_MARKET));
    return TRUE;
}

BOOL CQuotationTable::ShowInBook(LPCSTR pszTicker, LPCSTR pszMarket, UINT nBookId)
{
    CDataBuffer* pRow = FindQuote(pszTicker, pszMarket);
    const BOOK_LINK* pBook = FindBookTable(nBookId);
    if (pRow == nullptr || pBook == nullptr)
        return FALSE;
    // The book shows only the symbols it was asked for.
    if (pRow->GetLong(pBook->nFlagCol) == 0)
        FollowBook(pRow, nBookId, TRUE);
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->RunCommand(pBook->nOpener);
    return TRUE;
}

BOOL CQuotationTable::FollowBook(CDataBuffer* pRow, UINT nBookId, BOOL bOn)
{
    const BOOK_LINK* pBook = FindBookTable(nBookId);
    auto* pTable = dynamic_cast<CInternationalBookTable*>(FindDataTable(nBookId));
    const CZorvatGlobals* pGlobals = GetGlobals();
    if (pRow == nullptr || pBook == nullptr || pTable == nullptr || pGlobals == nullptr)
        return FALSE;
    const CString strTicker = pRow->GetText(QC_TICKER);
    const CString strMarket = pRow->GetText(QC_MARKET);
    // The flag says what the server was asked: a request that did not go out changes nothing.
    if (pTable->Subscribe(strTicker, pGlobals->GetMarketCode(strMarket), bOn) == 0)
        return FALSE;
    if (CDataBuffer* pFound = FindQuote(strTicker, strMarket)) {
        const int nFlag = bOn ? 1 : 0;
        pFound->SetValue(pBook->nFlagCol, &nFlag, TRUE);
    }
    return TRUE;
}

void CQuotationTable::StopFollowedBooks(CDataBuffer* pRow)
{
    for (const BOOK_LINK& book : s_books)
        if (pRow->GetLong(book.nFlagCol) != 0)
            FollowBook(pRow, book.nTableId, FALSE);
}

void CQuotationTable::AskNewSymbol(CDataBuffer* pRow, LPCSTR pszFirstText)
{
    CString strOldTicker, strOldMarket;
    if (pRow != nullptr) {
        strOldTicker = pRow->GetText(QC_TICKER);
        strOldMarket = pRow->GetText(QC_MARKET);
    }
    CTickerSelectDlg dlg(LoadMarketText(pRow != nullptr ? IDS_CHANGE_SYMBOL_TITLE : IDS_ADD_SYMBOL_TITLE));
    if (pszFirstText != nullptr) {
        dlg.SetTicker(pszFirstText);
    } else if (pRow != nullptr) {
        dlg.SetTicker(strOldTicker);
        dlg.SetMarket(strOldMarket);
    }
    if (dlg.DoModal() != IDOK)
        return;
    // A row that went while the dialog ran has nothing left to change: adding the new symbol
    // would answer a question the user no longer sees.
    if (pRow != nullptr && FindQuote(strOldTicker, strOldMarket) == nullptr)
        return;
    if (FindQuote(dlg.GetTicker(), dlg.GetMarket()) != nullptr) {
        ShowAlreadyListed(dlg.GetTicker());
        return;
    }
    if (pRow != nullptr)
        RemoveSymbol(strOldTicker, strOldMarket);
    AddSymbol(dlg.GetTicker(), dlg.GetMarket(), nullptr);
}

// --- Grid events -----------------------------------------------------------------------------

void CQuotationTable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    CDataBuffer* pQuote = GetDataRow(pRow);
    if (pQuote == nullptr || nCol < 0 || nCol > QC_OWN_PRICE)
        return;
    const CString strTicker = pQuote->GetText(QC_TICKER);
    const CString strMarket = pQuote->GetText(QC_MARKET);
    switch (nCol) {
    case QC_TICKER: {
        ITimeAndSalesFeed* pTrades = FindTimeAndSalesFeed();
        if (pTrades == nullptr || !pTrades->IsSymbolAdded(strTicker))
            return;
        pTrades->FilterSymbol(strTicker);
        break;
    }
    case QC_MARKET:
    case 12:
    case 13:
        if (!FilterViewOnCell(this, pRow, nCol))
            return;
        break;
    case QC_ALERT_PRICE:
    case QC_ALERT_DIR:
        RunCommandOnRow(ID_QUOTE_ALERT, strTicker, strMarket);
        break;
    case QC_SCROLLING:
        RunCommandOnRow(ID_QUOTE_SCROLLING, strTicker, strMarket);
        break;
    case QC_OWN_QTY:
    case QC_OWN_PRICE:
        RunCommandOnRow(ID_QUOTE_OWN_POSITION, strTicker, strMarket);
        break;
    default:
        return;
    }
    if (pnHandled != nullptr)
        *pnHandled = 1;
}

void CQuotationTable::OnDoubleClick(CViewRow* pRow, int /*nCol*/)
{
    if (CDataBuffer* pQuote = GetDataRow(pRow))
        AskNewSymbol(pQuote, nullptr);
}

void CQuotationTable::OnBeginEdit(CViewRow* pRow, int /*nCol*/, CTBString* /*pText*/)
{
    if (CDataBuffer* pQuote = GetDataRow(pRow))
        AskNewSymbol(pQuote, nullptr);
}

void CQuotationTable::OnKeyDown(UINT nKey, UINT /*nRepeat*/, UINT /*nFlags*/)
{
    CDataBuffer* pRow = GetSelectedDataRow();
    if (pRow == nullptr)
        return;
    if (nKey == VK_DELETE) {
        RemoveSymbol(pRow->GetText(QC_TICKER), pRow->GetText(QC_MARKET));
        return;
    }
    // Typing a symbol's first character starts the change of the row's symbol with it; a key
    // with Ctrl or Alt is a shortcut, not typing.
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
        return;
    char szFirst[2] = {0, 0};
    if ((nKey >= '0' && nKey <= '9') || (nKey >= 'A' && nKey <= 'Z'))
        szFirst[0] = static_cast<char>(nKey);
    else if (nKey >= VK_NUMPAD0 && nKey <= VK_NUMPAD0 + 9)
        szFirst[0] = static_cast<char>('0' + (nKey - VK_NUMPAD0));
    else if (nKey == VK_DECIMAL || nKey == VK_OEM_PERIOD)
        szFirst[0] = '.';
    if (szFirst[0] != 0)
        AskNewSymbol(pRow, szFirst);
}

void CQuotationTable::RunCommandOnRow(UINT nId, const CString& strTicker, const CString& strMarket)
{
    // A modal dialog lets quotes, lookups and removals run meanwhile: what it gives is written
    // to the row found again by its keys afterwards, and a row gone by then is not written.
    const LPCSTR pszTicker = strTicker;
    const LPCSTR pszMarket = strMarket;
    CDataBuffer* pRow = FindQuote(pszTicker, pszMarket);
    if (pRow == nullptr)
        return;
    switch (nId) {
    case ID_QUOTE_CHANGE:
        AskNewSymbol(pRow, nullptr);
        break;
    case ID_QUOTE_REMOVE:
        if (MessageBoxA(nullptr, LoadMarketText(IDS_REMOVE_QUESTION), nullptr, MB_YESNO | MB_ICONQUESTION) == IDYES)
            RemoveSymbol(pszTicker, pszMarket);
        break;
    case ID_QUOTE_OPTION_CHAIN:
        if (CZORVAT32App* pApp = CZORVAT32App::Get())
            pApp->OpenOptionChain(pszTicker);
        break;
    case ID_QUOTE_TICKET:
        // At the last price, or before the first trade at the price the change counts from.
        if (CZORVAT32App* pApp = CZORVAT32App::Get()) {
            const double dLast = pRow->GetDouble(QC_LAST);
            pApp->OpenOrderTicket(0, pszTicker, dLast != 0.0 ? dLast : pRow->GetDouble(QC_CLOSE), pszMarket,
                                  pRow->GetText(QC_TICKET_TEXT), 0);
        }
        break;
    // The research pages of the row's ticker.
    case 33212:
    case 33213:
    case 33214:
        if (CZORVAT32App* pApp = CZORVAT32App::Get()) {
            void (CZORVAT32App::*pfnOpen)(LPCSTR) = nId == 33212 ? &CZORVAT32App::OpenCompanyProfile
                                                  : nId == 33213 ? &CZORVAT32App::OpenResearch
                                                                 : &CZORVAT32App::OpenInsiderTrades;
            (pApp->*pfnOpen)(pszTicker);
        }
        break;
    case ID_QUOTE_SCROLLING: {
        const int nFlag = pRow->GetLong(QC_SCROLLING) > 0 ? 0 : 1;
        pRow->SetValue(QC_SCROLLING, &nFlag, TRUE);
        break;
    }
    case ID_QUOTE_ALERT: {
        CAlertDlg dlg;
        dlg.SetSymbolText(pszTicker);
        dlg.SetMarketText(pszMarket);
        dlg.SetPriceText(pRow->GetText(QC_LAST, TRUE));
        dlg.SetAlertText(PriceText(pRow->GetDouble(QC_ALERT_PRICE), "%.2f"));
        if (dlg.DoModal() == IDOK)
            SetAlert(pszTicker, pszMarket, dlg.GetAlertPrice());
        break;
    }
    case ID_QUOTE_OWN_POSITION: {
        CExtrenalPortfolio dlg;
        dlg.SetSymbolText(pszTicker);
        dlg.SetMarketText(pszMarket);
        dlg.SetQuantityText(PriceText(pRow->GetDouble(QC_OWN_QTY), "%.0f"));
        dlg.SetPriceText(PriceText(pRow->GetDouble(QC_OWN_PRICE), "%.4f"));
        if (dlg.DoModal() == IDOK)
            SetOwnPosition(pszTicker, pszMarket, dlg.GetQuantity(), dlg.GetPrice());
        break;
    }
    default:
        break;
    }
}
