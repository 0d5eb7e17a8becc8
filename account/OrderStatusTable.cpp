#include "account/OrderStatusTable.h"

#include "account/ExecutedTradesTable.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include "account/HoldingsValuation.h"
#include "app/ZorvatApp.h"
#include "framework/table/ViewRow.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/SymbolCommands.h"
#include "market/TableLinks.h"
#include "platform/win/user/Menu.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

#define IDS_NOTICE_ORDER_ENDED 55349

namespace {
enum {
    OC_TIME, OC_ORDER, OC_SIDE, OC_SYMBOL, OC_QUANTITY, OC_TYPE, OC_LIMIT, OC_STOP, OC_DURATION, OC_GOOD_TILL,
    OC_OPEN, OC_FILLED, OC_STATUS, OC_ROUTING, OC_RESULT, OC_LINKED, OC_MARKET_CODE, OC_OPTION, OC_RIGHT,
    OC_EXPIRY, OC_STRIKE, OC_MARKET, OC_CURRENCY, OC_SYMBOL_TEXT, OC_REFERENCE
};
// Fields of the lines besides those the map writes.
enum { OF_SYMBOL = 2, OF_QUANTITY = 4, OF_FILLED = 6, OF_STATUS = 16, OF_MARKET = 27 };
enum { TF_TRADE = 0, TF_QUANTITY = 4, TF_ORDER = 9 };
enum { CF_ORDER = 0, CF_QUANTITY = 1, CF_STATUS = 2 };
enum { STATUS_OPEN = 2, STATUS_FILLED = 3, STATUS_CANCELLED = 5, STATUS_PARTLY_FILLED = 6, STATUS_EXPIRED = 7 };

const TABLE_COLUMN s_columns[] = {
    AccountDateTime(51111, 1),
    AccountId(51112, 0),
    AccountCode(51113, SIDE_WIDTH, 3, CTransactionType::FormatCodeColumn, OC_SIDE),    // wide enough for its texts
    AccountText(51109, 6, 2),
    AccountNumber(51115, 0, 4),
    AccountCode(51116, ORDER_TYPE_WIDTH, 8, COrderType::FormatCodeColumn, OC_TYPE),
    AccountPrice(51117, US_PRICE_DECIMALS, 9),
    AccountPrice(51118, US_PRICE_DECIMALS, 10),
    AccountCode(51119, DURATION_WIDTH, 11, COrderDur::FormatCodeColumn, OC_DURATION),
    AccountDate(51120, 13),
    // Shares and option contracts: no total adds them.
    AccountNumber(51121, 0, 5, COLF_THOUSANDS),
    AccountNumber(51122, 0, 6, COLF_THOUSANDS),
    AccountCode(51123, 70, 16, COrderStatus::FormatCodeColumn, OC_STATUS, COLF_KEY_WORD),
    AccountCode(57023, 70, 20, CRoutingStatus::FormatCodeColumn, OC_ROUTING, COLF_HIDDEN, 100),
    AccountCode(57449, 70, 29, CRoutingResult::FormatCodeColumn, OC_RESULT, 0, 40),
    AccountId(55392, 22, NUMBER_WIDTH, COLF_HIDDEN),
    AccountCode(55470, 64, 21, CMarketUS::FormatCodeColumn, OC_MARKET_CODE),
    AccountText(57158, 6, 23),
    AccountCode(57159, OPTION_RIGHT_WIDTH, 24, COptionRight::FormatCodeColumn, OC_RIGHT),
    AccountDate(57160, 26),
    AccountNumber(57161, -4, 25, COLF_THOUSANDS | COLF_OMIT_ZERO_FRACTION, 2, PRICE_WIDTH),
    AccountText(57378, MARKET_COLUMN_SIZE, FIELD_NONE, MARKET_COLUMN_WIDTH),
    AccountText(57216, 6, 28),
    AccountName(51114),
    AccountId(57351, 19),
};
const TABLE_SORT_KEY s_sort[] = {{OC_TIME, SORT_ASCENDING}, {OC_ORDER, SORT_DESCENDING}};
const int s_keys[] = {OC_ORDER};
const int s_live[] = {MSG_NO, MSG_NT, MSG_NC};
const ACCOUNT_REQUEST s_requests[] = {{MSG_OS, "%d|%s|0|0|1000000|0||2"}};
const int s_quickFilters[] = {OC_SIDE, OC_SYMBOL, OC_TYPE, OC_DURATION, OC_STATUS, OC_MARKET_CODE, OC_MARKET,
                              OC_CURRENCY, OC_SYMBOL_TEXT};
const UINT s_statusItems[] = {33559, 33561, 33560, 33562};
const ACCOUNT_MENU_ITEM s_menu[] = {
    {.nId = ID_ACCOUNT_REFRESH}, {}, {.nId = ID_ACCOUNT_TICKET_FROM_ORDER}, {.nPopupTitleId = 33557, .popup = s_statusItems}};
const int s_activeCodes[] = {1, STATUS_OPEN, STATUS_PARTLY_FILLED};
const int s_filledCodes[] = {STATUS_FILLED};
const int s_cancelledCodes[] = {4, STATUS_CANCELLED, STATUS_EXPIRED, 8};
const ACCOUNT_COMMAND s_commands[] = {
    {ID_ACCOUNT_REFRESH, RULE_ALWAYS, ACTION_REFRESH},
    {ID_ACCOUNT_NOTHING, RULE_DISABLED},
    {ID_ACCOUNT_TICKET_FROM_ORDER, RULE_ALWAYS, ACTION_OWN},
    {33559, RULE_US, ACTION_CLEAR_FILTER, OC_STATUS},
    {33561, RULE_US, ACTION_CODE_FILTER, OC_STATUS, nullptr, s_activeCodes},
    {33560, RULE_US, ACTION_CODE_FILTER, OC_STATUS, nullptr, s_filledCodes},
    {33562, RULE_US, ACTION_CODE_FILTER, OC_STATUS, nullptr, s_cancelledCodes},
    {33563, RULE_US, ACTION_CLEAR_FILTER, OC_RIGHT},
    {33564, RULE_REMOVED, ACTION_CRITERIA_FILTER, OC_RIGHT, ">0"},
    {33565, RULE_US, ACTION_CRITERIA_FILTER, OC_RIGHT, "=0"},
    {ID_SYMBOL_GO_TO, RULE_NONE, ACTION_OWN}, {ID_SYMBOL_ORDER_BOOK, RULE_NONE, ACTION_OWN},
    {ID_SYMBOL_NEWS, RULE_NONE, ACTION_OWN},
};
// The selected order's symbol items, in this order at the top of the menu.
const UINT s_symbolItems[] = {ID_SYMBOL_GO_TO, ID_SYMBOL_ORDER_BOOK, ID_SYMBOL_NEWS};

// The selected order's symbol item has something to open: the order book only for the book's
// market.
BOOL IsSymbolItemEnabled(UINT nId, const CDataBuffer* pRow)
{
    return pRow != nullptr && (nId != ID_SYMBOL_ORDER_BOOK || pRow->GetText(OC_MARKET) == BOOK_MARKET_TEXT) &&
           CanRunSymbolCommand(nId, pRow->GetText(OC_MARKET));
}

// A trade or an order's end may come before its order's line: its notice waits for that line
// however late it comes. A day's trades of one account stay far below this; past it the oldest
// notice is told as it stands (its fill is counted all the same when its order comes).
const size_t MAX_WAITING_LINES = 100000;

// The order as every line names it: an option order by its series, a stock's by its symbol.
CString OrderName(const CDataBuffer* pRow)
{
    const long nRight = pRow->GetLong(OC_RIGHT);
    if (nRight != 1 && nRight != 2)
        return pRow->GetText(OC_SYMBOL);
    return OptionSeriesName(pRow->GetText(OC_OPTION), static_cast<int>(nRight), pRow->GetDouble(OC_STRIKE),
                            pRow->GetLong(OC_EXPIRY));
}

BOOL IsOpenStatus(long nStatus)
{
    return nStatus == 1 || nStatus == STATUS_OPEN || nStatus == STATUS_PARTLY_FILLED;
}
}  // namespace

const ACCOUNT_DESC g_orderStatusTable = {
    .table = {.nNameId = IDS_TABLE_US_ORDERS, .nTitleId = 56721, .nFixedColumns = 2, .columns = s_columns,
              .sort = s_sort, .keys = s_keys, .nRequestType = MSG_OS, .nReplyType = MSG_OS, .liveTypes = s_live,
              .nFlags = TABLEF_FOLLOW_LAST_ROW | TABLEF_LIVE_UNGATED, .company = {OC_SYMBOL_TEXT, OC_SYMBOL, OC_MARKET}},
    .requests = s_requests, .quickFilters = s_quickFilters, .menu = s_menu, .commands = s_commands,
    .nFirstOptionColumn = OC_OPTION, .nLastOptionColumn = OC_STRIKE};

COrderStatusTable::COrderStatusTable(CZorvatMessageSource* pSource)
    : CAccountTable(g_orderStatusTable, pSource), m_waitingFills(TF_ORDER, MAX_WAITING_LINES),
      m_waitingEnds(CF_ORDER, MAX_WAITING_LINES)
{
}

void COrderStatusTable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()))
        return;
    BOOL bNew = FALSE;
    CDataBuffer* pRow =
        FillOrAddRow(pMsg, 0, &bNew, [&](CDataBuffer* pFilled, BOOL) { SetLookedUpColumns(pFilled, pMsg, TRUE); });
    if (pRow == nullptr)
        return;
    // The reply counts the fills made before it was written; a line or trade told before it
    // may be newer.
    TakeLine(pMsg, 0, pRow);
}

void COrderStatusTable::OnEnd(CServerMessage* pMsg)
{
    const BOOL bReply = IsReceiving();
    TableOnEnd(pMsg);
    if (!bReply)
        return;
    for (const std::string& strOrder : m_countedInReply)
        if (CDataBuffer* pRow = GetRows()->FindRow({strOrder.c_str()}))
            ShowCounts(pRow, LifeOf(m_lives, strOrder));
    m_countedInReply.clear();
    // An end that waited for its order's line is told now that the reply shows the order.
    for (const std::string& strOrder : m_waitingEnds.GetOrders())
        if (GetRows()->FindRow({strOrder.c_str()}) != nullptr)
            TellWaiting(strOrder.c_str());
    // A row may show an order ended that no line told: a form open on it follows its row.
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->TellFormsOrderRows();
}

void COrderStatusTable::SetLookedUpColumns(CDataBuffer* pRow, CServerMessage* pMsg, BOOL bSymbolText)
{
    const long nMarket = pMsg->GetLong(OF_MARKET);
    pRow->SetText(OC_MARKET, GetGlobals()->GetMarketName(nMarket), TRUE);
    if (!bSymbolText)
        return;
    // The company's name in the interface's language, as the combined reports show it.
    const CString strName = CompanyNameOf(nMarket, pMsg->GetFieldText(OF_SYMBOL), /*bInterface=*/TRUE);
    if (!strName.IsEmpty())
        pRow->SetText(OC_SYMBOL_TEXT, strName, TRUE);
}

void COrderStatusTable::ApplyLive(CServerMessage* pMsg)
{
    switch (pMsg->GetType()) {
    case MSG_NO:
        ApplyOrderLine(pMsg);
        break;
    case MSG_NT:
        ApplyFill(pMsg);
        break;
    case MSG_NC:
        ApplyStatus(pMsg);
        break;
    }
}

CDataBuffer* COrderStatusTable::TakeLine(CServerMessage* pMsg, int nMap, CDataBuffer* pRow)
{
    ORDER_LIFE& life = LifeOf(m_lives, pMsg->GetFieldView(0));
    const ORDER_ROW_CHANGE change = TakeOrderLine(
        life, {pMsg, nMap, pMsg->GetDouble(OF_QUANTITY, 0), pMsg->GetDouble(OF_FILLED, 0), pMsg->GetLong(OF_STATUS)});
    // The row shows the record's newest line: a reply's row is filled from its own line already.
    CServerMessage* pShown = change == ORDER_ROW_TAKES_LINE ? pMsg : life.shown.GetLine();
    if (IsReceiving() && pRow != nullptr) {
        if (change != ORDER_ROW_TAKES_LINE) {
            FillRow(pShown, life.shown.nMap, pRow, TRUE);
            SetLookedUpColumns(pRow, pShown, FALSE);
        }
    } else if (pRow == nullptr || change != ORDER_ROW_KEEPS) {
        BOOL bNew = FALSE;
        pRow = FillOrAddRow(pShown, MSG_NO, &bNew,
                            [&](CDataBuffer* pFilled, BOOL bAdded) { SetLookedUpColumns(pFilled, pShown, bAdded); });
        if (pRow == nullptr)
            return nullptr;
    }
    // A newest open line counting every fill shows its own counts already.
    const ORDER_LINE_COPY& shown = life.shown;
    if (change != ORDER_ROW_TAKES_LINE || life.nEnded != 0 || shown.dFilled != life.Filled())
        ShowCounts(pRow, life);
    return pRow;
}

void COrderStatusTable::ApplyOrderLine(CServerMessage* pMsg)
{
    const CString strOrder = pMsg->GetField(0);
    if (TakeLine(pMsg, MSG_NO, GetRows()->FindRow({strOrder})) != nullptr)
        TellWaiting(strOrder);
}

void COrderStatusTable::ShowCounts(CDataBuffer* pRow, const ORDER_LIFE& life)
{
    const ORDER_COUNTS counts = CountOrder(life, pRow->GetDouble(OC_QUANTITY), pRow->GetLong(OC_STATUS));
    CString strStatus;
    strStatus.Format("%ld", counts.nStatus);
    pRow->SetText(OC_STATUS, strStatus, TRUE);
    if (counts.dQuantity != pRow->GetDouble(OC_QUANTITY))
        SetNumber(pRow, OC_QUANTITY, counts.dQuantity);
    SetNumber(pRow, OC_OPEN, counts.dOpen);
    SetNumber(pRow, OC_FILLED, counts.dFilled);
}

long COrderStatusTable::TradeNumber(CServerMessage* pMsg)
{
    const char* pszNumber = pMsg->GetFieldText(TF_TRADE);
    if (*pszNumber == '\0' || strspn(pszNumber, "0123456789") != strlen(pszNumber) || strlen(pszNumber) > 9)
        return 0;
    return atol(pszNumber);
}

void COrderStatusTable::OnNT(CServerMessage* pMsg)
{
    if (pMsg == nullptr)
        return;
    if (IsReceiving()) {
        if (CountTrade(pMsg) != nullptr)
            m_countedInReply.push_back(pMsg->GetFieldText(TF_ORDER));
        return;
    }
    TableOnLive(pMsg);
}

void COrderStatusTable::OnNC(CServerMessage* pMsg)
{
    if (pMsg != nullptr && !IsComplete())
        m_quietChanges.insert(pMsg->GetFieldText(CF_ORDER));
    TableOnLive(pMsg);
}

void COrderStatusTable::OnOS(CServerMessage* pMsg)
{
    // The reply holds every fill so far: a trade that waited is in its rows, and only its notice
    // is owed. An end waits on for its order's row.
    TellAllWaiting();
    m_countedInReply.clear();
    TableOnReplyBegin(pMsg);
}

BOOL COrderStatusTable::HoldsFill(CServerMessage* pMsg)
{
    // A trade of no order (an exercise) waits for nothing; inside a reply the trade is in its rows.
    const long nOrder = pMsg != nullptr ? pMsg->GetLong(TF_ORDER) : 0;
    return nOrder > 0 && !IsReceiving() && GetRows() != nullptr && GetRows()->FindRow({pMsg->GetFieldText(TF_ORDER)}) == nullptr;
}

void COrderStatusTable::TellWaiting(const CString& strOrder)
{
    for (const std::unique_ptr<CServerMessage>& pLine : m_waitingFills.Take(static_cast<LPCSTR>(strOrder)))
        AnnounceTradeLine(pLine.get());
    for (const std::unique_ptr<CServerMessage>& pLine : m_waitingEnds.Take(static_cast<LPCSTR>(strOrder)))
        ApplyStatus(pLine.get());
}

void COrderStatusTable::TellAllWaiting()
{
    for (const std::unique_ptr<CServerMessage>& pLine : m_waitingFills.TakeAll())
        AnnounceTradeLine(pLine.get());
}

ORDER_LIFE* COrderStatusTable::CountTrade(CServerMessage* pMsg)
{
    // A trade told twice fills its order once; one without a number cannot be told apart.
    const long nTrade = TradeNumber(pMsg);
    if (nTrade > 0 && !m_filledTrades.insert(nTrade).second)
        return nullptr;
    if (pMsg->GetLong(TF_ORDER) <= 0)
        return nullptr;
    ORDER_LIFE& life = LifeOf(m_lives, pMsg->GetFieldView(TF_ORDER));
    life.dTraded += pMsg->GetDouble(TF_QUANTITY, 0);
    return &life;
}

void COrderStatusTable::ApplyFill(CServerMessage* pMsg)
{
    ORDER_LIFE* pLife = CountTrade(pMsg);
    if (pLife == nullptr)
        return;
    if (CDataBuffer* pRow = GetRows()->FindRow({pMsg->GetField(TF_ORDER)})) {
        ShowCounts(pRow, *pLife);
        return;
    }
    if (std::unique_ptr<CServerMessage> pGone = m_waitingFills.Add(*pMsg))
        AnnounceTradeLine(pGone.get());
}

void COrderStatusTable::ApplyStatus(CServerMessage* pMsg)
{
    const CString strOrder = pMsg->GetField(CF_ORDER);
    const auto itQuiet = m_quietChanges.find(static_cast<LPCSTR>(strOrder));
    const BOOL bQuiet = itQuiet != m_quietChanges.end();
    if (bQuiet)
        m_quietChanges.erase(itQuiet);
    ORDER_LIFE& life = LifeOf(m_lives, static_cast<LPCSTR>(strOrder));
    const long nStatus = pMsg->GetLong(CF_STATUS);
    const BOOL bEnds = life.nEnded == 0 && IsEndedOrderStatus(nStatus);
    if (bEnds)
        life.nEnded = nStatus;
    CDataBuffer* pRow = GetRows()->FindRow({strOrder});
    if (pRow == nullptr) {
        // Told with its order's line, whenever that comes.
        if (bEnds)
            m_waitingEnds.Add(*pMsg);
        return;
    }
    if (life.nEnded == 0)
        pRow->SetText(OC_STATUS, pMsg->GetFieldText(CF_STATUS), TRUE);
    ShowCounts(pRow, life);
    if (life.nEnded == nStatus)
        NoticeEnd(pMsg, pRow, bQuiet);
}

void COrderStatusTable::NoticeEnd(CServerMessage* pMsg, const CDataBuffer* pRow, BOOL bQuiet)
{
    const long nStatus = pMsg->GetLong(CF_STATUS);
    // The first load's cancelled orders are not news, nor is a change told before its end.
    if (!IsComplete() || bQuiet || (nStatus != STATUS_CANCELLED && nStatus != STATUS_EXPIRED) ||
        !IsFirstToTellOrderEnd(FALSE, pMsg->GetFieldText(CF_ORDER)))
        return;
    const CString inserts[] = {pMsg->GetField(CF_ORDER), pRow->GetText(OC_SIDE, TRUE), OrderName(pRow)};
    PostNotice(IDS_NOTICE_ORDER_ENDED, inserts);
}

BOOL COrderStatusTable::OnOwnCellClick(CViewRow* pRow, int nCol)
{
    if (nCol != OC_TIME && nCol != OC_ORDER)
        return FALSE;
    if (!IsOpenStatus(GetRowNumber(pRow, OC_STATUS)))
        return FALSE;
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->OpenModifyOrderUS(GetRowNumber(pRow, OC_ORDER));
    return TRUE;
}

void COrderStatusTable::OnAccountCommand(UINT nId)
{
    CDataBuffer* pRow = GetSelectedDataRow();
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (nId == ID_ACCOUNT_TICKET_FROM_ORDER && pRow != nullptr && pApp != nullptr)
        pApp->OpenOrderTicketFromOrderUS(pRow->GetLong(OC_ORDER));
    else if (IsSymbolCommand(nId) && IsSymbolItemEnabled(nId, pRow))
        RunSymbolCommand(nId, pRow->GetText(OC_SYMBOL), pRow->GetText(OC_MARKET));
}

void COrderStatusTable::OnInitMenuPopup(HMENU hMenu, UINT nIndex, BOOL bSysMenu)
{
    CAccountTable::OnInitMenuPopup(hMenu, nIndex, bSysMenu);
    if (bSysMenu || hMenu == nullptr || hMenu != GetPopup())
        return;
    // One set whatever the menu holds: an earlier opening's set goes by its ids, the separator
    // under it with the last.
    for (UINT nId : s_symbolItems)
        RemoveCommandItem(hMenu, nId, REMOVE_ITEM);
    if (GetRows()->GetCount() == 0)
        return;
    const CDataBuffer* pRow = GetSelectedDataRow();
    const CString strSymbol = pRow != nullptr ? pRow->GetText(OC_SYMBOL) : CString();
    InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    for (int i = static_cast<int>(std::size(s_symbolItems)) - 1; i >= 0; --i) {
        const UINT nId = s_symbolItems[i];
        CString strText = LoadMenuItemText(nId);
        if (pRow != nullptr) {
            CString strNamed;
            strNamed.Format("%s (%s)", static_cast<LPCSTR>(strText), static_cast<LPCSTR>(strSymbol));
            strText = strNamed;
        }
        const BOOL bEnabled = IsSymbolItemEnabled(nId, pRow);
        InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_STRING | (bEnabled ? MF_ENABLED : MF_GRAYED), nId, strText);
    }
}
