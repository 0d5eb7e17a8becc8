#include "account/ExecutedTradesKSETable.h"

#include "account/ExecutedTradesTable.h"
#include "account/OrderStatusKSETable.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/TableLinks.h"
#include "refdata/ZorvatTypes.h"

namespace {
enum {
    EC_TIME, EC_TRADE, EC_MARKET, EC_SIDE, EC_STOCK, EC_NAME, EC_MONTHS, EC_SERIES, EC_QUANTITY, EC_PRICE,
    EC_COMMISSION, EC_TOTAL, EC_ORDER, EC_REFERENCE, EC_DATE, EC_TEXT, EC_STATUS, EC_AMOUNT_3, EC_EXCHANGE_FEE,
    EC_CLEARING_FEE, EC_AMOUNT_6, EC_VALUE, EC_CODE_TEXT
};
// Fields of the lines besides those the maps write: regular ("EK", "NX") and forward ("EF", "NW").
constexpr int XF_REFRESH = 0, XF_BOARD = 0, XF_SIDE = 3, XF_STOCK = 4, XF_QUANTITY = 5, XF_PRICE = 6, XF_ORDER = 13, XF_CODE = 24;
constexpr int WF_SIDE = 2, WF_STOCK = 3, WF_QUANTITY = 6, WF_PRICE = 7, WF_ORDER = 13;
#define KSE_MARKET_FORWARD "3"
#define KSE_BOARD_ODD_LOT 2
#define REFRESH_FORWARD 3

constexpr TABLE_COLUMN Amount(UINT nTitleId, int nField, int nWidth = MONEY_WIDTH, UINT nFlags = COLF_THOUSANDS | COLF_SUMMED)
{
    return AccountNumber(nTitleId, -3, nField, nFlags, 3, nWidth);
}

// The server's amounts that no line gives a meaning for every trade: kept, never shown.
const UINT UNNAMED = COLF_HIDDEN;

const TABLE_COLUMN s_columns[] = {
    AccountDateTime(51131, 2),
    AccountText(51132, 40, 1, NUMBER_WIDTH),
    AccountCode(51147, KSE_BOARD_WIDTH, 0, CMarketKSE::FormatCodeColumn, EC_MARKET),
    AccountCode(51133, SIDE_WIDTH, 3, CTransactionType::FormatCodeColumn, EC_SIDE),
    AccountText(51195, 6, 4),
    AccountText(51134, 11, FIELD_NONE),
    AccountInt(51168, FIELD_NONE),
    AccountInt(51167, FIELD_NONE),
    AccountNumber(51135, 0, 5),
    AccountPrice(51136, KSE_PRICE_DECIMALS, 6),
    Amount(51138, 7),                                   // 10 commission
    // 11: a forward trade's value with its charges; a regular trade's line leaves it empty.
    Amount(51141, 12, MONEY_WIDTH, COLF_THOUSANDS | COLF_SUMMED | UNNAMED),
    AccountId(51139, 13),
    AccountReference(51144, 14),
    AccountDate(51145, 17),
    AccountText(51146, 40, 18, 70),
    AccountCode(51123, 90, 15, CTradeStatus::FormatCodeColumn, EC_STATUS),
    // 17 repeats a forward trade's commission; 18 and 19 are its exchange's and clearing fees.
    Amount(51251, 8, MONEY_WIDTH, COLF_THOUSANDS | COLF_SUMMED | UNNAMED),
    Amount(51252, 9),
    Amount(51254, 10),
    Amount(51255, 11, MONEY_WIDTH, COLF_THOUSANDS | COLF_SUMMED | UNNAMED),
    Amount(56600, FIELD_NONE, MONEY_WIDTH, COLF_THOUSANDS),
    AccountText(42294, 30, FIELD_NONE),
};
// "EF" rows and "NW" lines: the forward trades, which stop after the value.
// Their commission (field 9) shows where a regular trade's does, so that its total counts both.
const int s_forwardFields[] = {1, 0, FIELD_NONE, 2, 3, FIELD_NONE, 4, 5, 6, 7, 9, 12, 13, 14,
                               FIELD_NONE, FIELD_NONE, 15, 9, 10, 11, FIELD_NONE, 8};
const TABLE_FIELD_MAP s_maps[] = {{MSG_EF, s_forwardFields}, {MSG_NW, s_forwardFields}};
const TABLE_SORT_KEY s_sort[] = {{EC_TIME, SORT_ASCENDING}, {EC_TRADE, SORT_DESCENDING}};
// The regular and odd-lot boards and the forward market number their trades each on its own:
// a trade is its number on its market.
const int s_keys[] = {EC_TRADE, EC_MARKET};
const int s_live[] = {MSG_NX, MSG_NW};
const int s_direct[] = {MSG_EF};
const ACCOUNT_REQUEST s_requests[] = {{MSG_EK, "||%d|%s|0|0|1000000|1"}, {MSG_EF, "||%d|%s|0|0|0"}};
const int s_quickFilters[] = {EC_SIDE, EC_STOCK, EC_NAME, EC_CODE_TEXT};
const ACCOUNT_MENU_ITEM s_menu[] = {{.nId = ID_ACCOUNT_REFRESH}, {}};
const ACCOUNT_COMMAND s_commands[] = {
    {ID_ACCOUNT_REFRESH, RULE_ALWAYS, ACTION_REFRESH_ASKED},
    {ID_ACCOUNT_ALERT_SOUND, RULE_ALWAYS, ACTION_DIALOG},
};
}  // namespace

const ACCOUNT_DESC g_executedTradesKSETable = {
    .table = {.nNameId = IDS_TABLE_KSE_TRADES, .nTitleId = 56740, .nFixedColumns = 2, .columns = s_columns,
              .sort = s_sort, .keys = s_keys, .nRequestType = MSG_EK, .nReplyType = MSG_EK, .liveTypes = s_live,
              .directTypes = s_direct, .maps = s_maps, .nFlags = TABLEF_LIVE_UNGATED},
    .requests = s_requests, .quickFilters = s_quickFilters, .menu = s_menu, .commands = s_commands};

BOOL CExecutedTradesKSETable::SendRequest()
{
    // A refused or lost "EF" must not keep the next "EK" from emptying the table.
    m_nRefresh = -1;
    return CAccountTable::SendRequest();
}

void CExecutedTradesKSETable::OnEK(CServerMessage* pMsg)
{
    if (pMsg == nullptr)
        return;
    BeginReply(/*bEmpty=*/m_nRefresh == -1);
    m_nReplyType = MSG_EK;
}

void CExecutedTradesKSETable::OnEF(CServerMessage* pMsg)
{
    if (pMsg == nullptr)
        return;
    // A forward line since the first reply may have made a trade's row already: the store stays
    // sorted, so that each row finds it.
    BeginReply(/*bEmpty=*/FALSE);
    GetRows()->EndUpdate();
    m_nReplyType = MSG_EF;
}

void CExecutedTradesKSETable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || m_nReplyType < 0 || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()))
        return;
    const BOOL bForward = m_nReplyType == MSG_EF;
    m_nRefresh = bForward ? REFRESH_FORWARD : pMsg->GetLong(XF_REFRESH);
    BOOL bNew = FALSE;
    if (CDataBuffer* pRow = FillOrAddRow(pMsg, bForward ? MSG_EF : 0, &bNew))
        SetDerivedColumns(pRow, pMsg, bForward);
}

void CExecutedTradesKSETable::OnEnd(CServerMessage* /*pMsg*/)
{
    if (!IsReceiving())
        return;
    if (m_nReplyType == MSG_EF)
        m_nRefresh = -1;
    m_nReplyType = -1;
    EndReply(/*bComplete=*/TRUE);
}

void CExecutedTradesKSETable::SetKindKeys(CDataBuffer* pLine, int nType) const
{
    if (nType == MSG_EF || nType == MSG_NW)
        pLine->SetText(EC_MARKET, KSE_MARKET_FORWARD, FALSE);
}

void CExecutedTradesKSETable::SetDerivedColumns(CDataBuffer* pRow, CServerMessage* pMsg, BOOL bForward)
{
    pRow->SetText(EC_NAME, GetKseStockName(pMsg->GetLong(bForward ? WF_STOCK : XF_STOCK), FALSE), TRUE);
    if (bForward)
        pRow->SetText(EC_MARKET, KSE_MARKET_FORWARD, TRUE);
    else
        pRow->SetText(EC_CODE_TEXT, LoadMarketText(GetKseCodeTextId(pMsg->GetLong(XF_CODE))), TRUE);
}

void CExecutedTradesKSETable::ApplyLive(CServerMessage* pMsg)
{
    const BOOL bForward = pMsg->GetType() == MSG_NW;
    BOOL bNew = FALSE;
    CDataBuffer* pRow = FillOrAddRow(pMsg, bForward ? MSG_NW : MSG_NX, &bNew);
    if (pRow == nullptr)
        return;
    SetDerivedColumns(pRow, pMsg, bForward);
    if (!bNew)
        return;
    // The price as it was booked, at least as its board quotes it: the odd-lot board to two
    // decimals, the regular board and the forward market in fils to one.
    const CString strPrice = FormatPrice(pMsg->GetDouble(bForward ? WF_PRICE : XF_PRICE, 0),
                                         !bForward && pMsg->GetLong(XF_BOARD) == KSE_BOARD_ODD_LOT ? 2 : KSE_PRICE_DECIMALS);
    AnnounceTrade(pMsg->GetField(bForward ? WF_ORDER : XF_ORDER),
                  CTransactionType::GetText(static_cast<int>(pMsg->GetLong(bForward ? WF_SIDE : XF_SIDE))),
                  KseOrderName(pMsg->GetLong(bForward ? WF_STOCK : XF_STOCK)), pMsg->GetField(bForward ? WF_QUANTITY : XF_QUANTITY),
                  strPrice);
}

BOOL CExecutedTradesKSETable::OnOwnCellClick(CViewRow* pRow, int nCol)
{
    return nCol == EC_ORDER && GoToOrder(IDS_TABLE_KSE_ORDERS, GetRowNumber(pRow, EC_ORDER));
}
