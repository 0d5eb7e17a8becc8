#include "account/OrderStatusKSETable.h"

#include "app/ZorvatApp.h"
#include "framework/base/NorvGlobals.h"
#include "framework/table/CriteriaParser.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/TableLinks.h"
#include "refdata/ZorvatTypes.h"

#define IDS_NOTICE_ORDER_ENDED 55349

namespace {
enum {
    KC_TIME, KC_ORDER, KC_UNUSED, KC_MARKET, KC_SIDE, KC_STOCK, KC_NAME, KC_MONTHS, KC_SERIES, KC_QUANTITY, KC_TYPE,
    KC_LIMIT, KC_STOP, KC_DURATION, KC_GOOD_TILL, KC_OPEN, KC_FILLED, KC_PART_FILLED, KC_VALUE, KC_STATUS,
    KC_DATE, KC_REFERENCE, KC_CODE_TEXT
};
// Fields of the lines besides those the maps write.
constexpr int KF_STOCK = 2, KF_QUANTITY = 4, KF_FILLED = 6, KF_STATUS = 16, KF_CODE = 33, NSF_CODE = 29;
constexpr int BF_QUANTITY = 5, BF_FILLED = 6, BF_PRICE = 7, BF_STATUS = 11;
enum { STATUS_OPEN = 2, STATUS_FILLED = 3, STATUS_CANCELLED = 5, STATUS_PARTLY_FILLED = 6, STATUS_EXPIRED = 7 };
#define KSE_MARKET_FORWARD 3

const TABLE_COLUMN s_columns[] = {
    AccountDateTime(51111, 1),
    AccountId(51112, 0),
    AccountId(55353, FIELD_NONE, NUMBER_WIDTH, COLF_HIDDEN),
    // The code columns stay wide enough for their texts in both languages.
    AccountCode(55354, KSE_BOARD_WIDTH, 23, CMarketKSE::FormatCodeColumn, KC_MARKET),
    AccountCode(51113, SIDE_WIDTH, 3, CTransactionType::FormatCodeColumn, KC_SIDE),
    AccountText(51194, 6, 2),
    AccountText(51114, 11, FIELD_NONE),
    // A forward order's term in months and its series: counts, empty on the regular board.
    AccountInt(55355, FIELD_NONE, COLF_THOUSANDS, COUNT_WIDTH),
    AccountInt(55356, FIELD_NONE, COLF_THOUSANDS, COUNT_WIDTH),
    AccountNumber(51115, 0, 4),
    AccountCode(51116, ORDER_TYPE_WIDTH, 8, COrderType::FormatCodeColumn, KC_TYPE),
    AccountPrice(51117, KSE_PRICE_DECIMALS, 9),
    AccountPrice(51118, KSE_PRICE_DECIMALS, 10),
    AccountCode(51119, DURATION_WIDTH, 11, COrderDur::FormatCodeColumn, KC_DURATION),
    AccountDate(51120, 13),
    AccountNumber(51121, 0, 5, COLF_THOUSANDS | COLF_SUMMED),
    AccountNumber(51122, 0, 6, COLF_THOUSANDS | COLF_SUMMED),
    // What is left of a partly filled order, as Open shows it: shown only when the trader asks,
    // and no total, which would add bought and sold shares of every stock.
    AccountNumber(55357, 0, 7, COLF_THOUSANDS | COLF_HIDDEN | COLF_SWITCHABLE),
    AccountNumber(55358, -3, 14, COLF_THOUSANDS | COLF_SUMMED, 3, MONEY_WIDTH),
    AccountCode(51123, 70, 16, COrderStatus::FormatCodeColumn, KC_STATUS, COLF_KEY_WORD),
    AccountDate(55359, 24),
    AccountReference(55360, 25),
    AccountText(42297, 30, FIELD_NONE),
};
// "KB" rows and "NF" lines: the forward orders.
const int s_forwardFields[] = {1, 0, FIELD_NONE, FIELD_NONE, 4, 2, FIELD_NONE, 3, 10, 5, FIELD_NONE, 7, FIELD_NONE,
                               9, FIELD_NONE, FIELD_NONE, 6, FIELD_NONE, FIELD_NONE, 11};
const TABLE_FIELD_MAP s_maps[] = {{MSG_KB, s_forwardFields}, {MSG_NF, s_forwardFields}};
const TABLE_SORT_KEY s_sort[] = {{KC_TIME, SORT_ASCENDING}, {KC_ORDER, SORT_DESCENDING}};
const int s_keys[] = {KC_ORDER};
const int s_live[] = {MSG_NS, MSG_NF};
const int s_direct[] = {MSG_KB};
const ACCOUNT_REQUEST s_requests[] = {{MSG_KS, "||%d|%s|0|0|0|1000000|0||2"}, {MSG_KB, "||%d|%s|0|0|1000000|0||2"}};
const int s_quickFilters[] = {KC_SIDE, KC_STOCK, KC_NAME, KC_TYPE, KC_DURATION, KC_STATUS, KC_CODE_TEXT};
const ACCOUNT_MENU_ITEM s_menu[] = {{.nId = ID_ACCOUNT_REFRESH}, {.nId = ID_ACCOUNT_TICKET_FROM_ORDER}, {}};
const ACCOUNT_COMMAND s_commands[] = {
    {ID_ACCOUNT_REFRESH, RULE_ALWAYS, ACTION_REFRESH_ASKED},
    {ID_ACCOUNT_TICKET_FROM_ORDER, RULE_ALWAYS, ACTION_OWN},
};

const int s_activeCodes[] = {1, STATUS_OPEN, STATUS_PARTLY_FILLED};
const int s_filledCodes[] = {STATUS_FILLED, STATUS_PARTLY_FILLED};
const int s_cancelledCodes[] = {4, STATUS_CANCELLED, STATUS_EXPIRED, 8};
const int s_forwardCodes[] = {KSE_MARKET_FORWARD};
const KSE_ORDER_FILTER s_variants[] = {
    {KC_STATUS, s_activeCodes, nullptr},
    {KC_STATUS, s_filledCodes, nullptr},
    {KC_STATUS, s_cancelledCodes, nullptr},
    // The forward market's orders by their market, whose text tells the window's caption what it shows.
    {KC_MARKET, s_forwardCodes, nullptr},
};

BOOL IsEndedStatus(long nStatus)
{
    return nStatus == STATUS_CANCELLED || nStatus == STATUS_EXPIRED;
}
}  // namespace

const ACCOUNT_DESC g_orderStatusKSETable = {
    .table = {.nNameId = IDS_TABLE_KSE_ORDERS, .nTitleId = 56725, .nFixedColumns = 2, .columns = s_columns,
              .sort = s_sort, .keys = s_keys, .nRequestType = MSG_KS, .nReplyType = MSG_KS, .liveTypes = s_live,
              .directTypes = s_direct, .maps = s_maps},
    .requests = s_requests, .quickFilters = s_quickFilters, .menu = s_menu, .commands = s_commands};

template <int KIND>
COrderStatusKSEVariant<KIND>::COrderStatusKSEVariant(CZorvatMessageSource* pSource)
    : COrderStatusKSETable(pSource, &s_variants[KIND])
{
}
template class COrderStatusKSEVariant<KSE_ORDERS_ACTIVE>;
template class COrderStatusKSEVariant<KSE_ORDERS_FILLED>;
template class COrderStatusKSEVariant<KSE_ORDERS_CANCELLED>;
template class COrderStatusKSEVariant<KSE_ORDERS_FORWARD>;

void COrderStatusKSETable::OnKS(CServerMessage* pMsg)
{
    if (pMsg == nullptr)
        return;
    BeginReply(/*bEmpty=*/TRUE);
    m_nReplyType = MSG_KS;
}

void COrderStatusKSETable::OnKB(CServerMessage* pMsg)
{
    if (pMsg == nullptr)
        return;
    // The forward orders join the regular ones. A forward line since the first reply may have
    // made an order's row already: the store stays sorted, so that each row finds it.
    BeginReply(/*bEmpty=*/FALSE);
    GetRows()->EndUpdate();
    m_nReplyType = MSG_KB;
}

void COrderStatusKSETable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || m_nReplyType < 0 || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()))
        return;
    BOOL bNew = FALSE;
    const BOOL bForward = m_nReplyType == MSG_KB;
    CDataBuffer* pRow = FillOrAddRow(pMsg, bForward ? MSG_KB : 0, &bNew,
                                     [&](CDataBuffer* pFilled, BOOL) { SetDerivedColumns(pFilled, pMsg, bForward); });
    if (pRow == nullptr)
        return;
    // The reply counts the fills made before it was written; a line told before it may be newer.
    TakeLine(pMsg, bForward ? MSG_KB : 0, pRow);
}

void COrderStatusKSETable::OnEnd(CServerMessage* /*pMsg*/)
{
    if (!IsReceiving())
        return;
    const BOOL bComplete = m_nReplyType == MSG_KB;
    m_nReplyType = -1;
    EndReply(bComplete);
    // A row may show an order ended that no line told: a form open on it follows its row.
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->TellFormsOrderRows();
    if (bComplete && m_pFilter != nullptr) {
        std::vector<CString> texts;
        // Quoted: a text is a value, even one that holds a column's title ("Market" in "Forward market").
        for (int nCode : m_pFilter->codes)
            texts.push_back(static_cast<const char*>(QuoteCriteriaText(GetCodeText(m_pFilter->nColumn, nCode))));
        FilterMainWindow(m_pFilter->nColumn, texts, m_pFilter->pszCriteria);
    }
}

void COrderStatusKSETable::SetDerivedColumns(CDataBuffer* pRow, CServerMessage* pMsg, BOOL bForward)
{
    pRow->SetText(KC_NAME, GetKseStockName(pMsg->GetLong(KF_STOCK), GetNorvGlobals().m_bRightToLeft), TRUE);
    if (!bForward) {
        const long nCode = pMsg->GetLong(pMsg->GetType() == MSG_NS ? NSF_CODE : KF_CODE);
        pRow->SetText(KC_CODE_TEXT, LoadMarketText(GetKseCodeTextId(nCode)), TRUE);
        return;
    }
    // Forward prices are in fils: the value is in dinars.
    const double dQuantity = pMsg->GetDouble(BF_QUANTITY, 0);
    const double dFilled = pMsg->GetDouble(BF_FILLED, 0);
    SetNumber(pRow, KC_VALUE, pMsg->GetDouble(BF_PRICE, 0) * dQuantity / 1000.0);
    pRow->SetText(KC_MARKET, "3", TRUE);
    pRow->SetText(KC_TYPE, "0", TRUE);
    SetNumber(pRow, KC_OPEN, pMsg->GetLong(BF_STATUS) == 1 ? dQuantity - dFilled : 0);
    SetNumber(pRow, KC_PART_FILLED, pMsg->GetLong(BF_FILLED) > 0 ? dQuantity - dFilled : 0);
}

void COrderStatusKSETable::ApplyLive(CServerMessage* pMsg)
{
    const BOOL bForward = pMsg->GetType() == MSG_NF;
    const long nStatus = pMsg->GetLong(bForward ? BF_STATUS : KF_STATUS);
    CDataBuffer* pRow = TakeLine(pMsg, bForward ? MSG_NF : MSG_NS, GetRows()->FindRow({pMsg->GetField(0)}));
    if (pRow != nullptr && LifeOf(m_lives, pMsg->GetFieldView(0)).nEnded == nStatus)
        NoticeEnded(pMsg, pRow, nStatus);
}

CDataBuffer* COrderStatusKSETable::TakeLine(CServerMessage* pMsg, int nMap, CDataBuffer* pRow)
{
    const BOOL bForward = nMap == MSG_KB || nMap == MSG_NF;
    ORDER_LIFE& life = LifeOf(m_lives, pMsg->GetFieldView(0));
    const ORDER_ROW_CHANGE change =
        TakeOrderLine(life, {pMsg, nMap, pMsg->GetDouble(bForward ? BF_QUANTITY : KF_QUANTITY, 0),
                             pMsg->GetDouble(bForward ? BF_FILLED : KF_FILLED, 0), pMsg->GetLong(bForward ? BF_STATUS : KF_STATUS)});
    // The row shows the record's newest line: a reply's row is filled from its own line already.
    CServerMessage* pShown = change == ORDER_ROW_TAKES_LINE ? pMsg : life.shown.GetLine();
    const int nShownMap = change == ORDER_ROW_TAKES_LINE ? nMap : life.shown.nMap;
    const BOOL bShownForward = nShownMap == MSG_KB || nShownMap == MSG_NF;
    if (IsReceiving() && pRow != nullptr) {
        if (change != ORDER_ROW_TAKES_LINE) {
            FillRow(pShown, nShownMap, pRow, TRUE);
            SetDerivedColumns(pRow, pShown, bShownForward);
        }
    } else if (pRow == nullptr || change != ORDER_ROW_KEEPS) {
        BOOL bNew = FALSE;
        pRow = FillOrAddRow(pShown, nShownMap, &bNew,
                            [&](CDataBuffer* pFilled, BOOL) { SetDerivedColumns(pFilled, pShown, bShownForward); });
        if (pRow == nullptr)
            return nullptr;
    }
    // A newest open line counting every fill shows its own counts already.
    const ORDER_LINE_COPY& shown = life.shown;
    if (change != ORDER_ROW_TAKES_LINE || life.nEnded != 0 || shown.dFilled != life.Filled())
        ShowCounts(pRow, life);
    return pRow;
}

void COrderStatusKSETable::ShowCounts(CDataBuffer* pRow, const ORDER_LIFE& life)
{
    ORDER_COUNTS counts = CountOrder(life, pRow->GetDouble(KC_QUANTITY), pRow->GetLong(KC_STATUS));
    // A forward order shows what is left only while it rests unfilled.
    if (pRow->GetLong(KC_MARKET) == KSE_MARKET_FORWARD && counts.nStatus != 1)
        counts.dOpen = 0;
    CString strStatus;
    strStatus.Format("%ld", counts.nStatus);
    pRow->SetText(KC_STATUS, strStatus, TRUE);
    if (counts.dQuantity != pRow->GetDouble(KC_QUANTITY))
        SetNumber(pRow, KC_QUANTITY, counts.dQuantity);
    SetNumber(pRow, KC_OPEN, counts.dOpen);
    SetNumber(pRow, KC_FILLED, counts.dFilled);
}

void COrderStatusKSETable::NoticeEnded(CServerMessage* pMsg, CDataBuffer* pRow, long nStatus)
{
    // One notice for the five tables: the variants leave it to the base table.
    if (m_pFilter != nullptr || !IsEndedStatus(nStatus) || !IsFirstToTellOrderEnd(TRUE, pMsg->GetFieldText(0)))
        return;
    const CString inserts[] = {pMsg->GetField(0), pRow->GetText(KC_SIDE, TRUE), KseOrderName(pRow->GetLong(KC_STOCK))};
    PostNotice(IDS_NOTICE_ORDER_ENDED, inserts);
}

BOOL COrderStatusKSETable::OnOwnCellClick(CViewRow* pRow, int nCol)
{
    if (nCol != KC_TIME && nCol != KC_ORDER)
        return FALSE;
    const long nStatus = GetRowNumber(pRow, KC_STATUS);
    // A forward order is changed on its own form.
    if (GetRowNumber(pRow, KC_MARKET) == KSE_MARKET_FORWARD ||
        (nStatus != 1 && nStatus != STATUS_OPEN && nStatus != STATUS_PARTLY_FILLED))
        return FALSE;
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->OpenModifyOrderKSE(GetRowNumber(pRow, KC_ORDER));
    return TRUE;
}

void COrderStatusKSETable::OnAccountCommand(UINT nId)
{
    CDataBuffer* pRow = GetSelectedDataRow();
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (nId == ID_ACCOUNT_TICKET_FROM_ORDER && pRow != nullptr && pApp != nullptr)
        pApp->OpenOrderTicketFromOrderKSE(pRow->GetLong(KC_ORDER));
}
