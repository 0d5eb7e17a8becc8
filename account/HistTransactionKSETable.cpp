#include "account/HistTransactionKSETable.h"

#include "account/HoldingsValuation.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/TableLinks.h"
#include "refdata/ZorvatTypes.h"

namespace {
enum { KC_NAME = 6, KC_STATUS = 20, KF_STOCK = 5, KF_STATUS = 24, KF_LIVE_STATUS = 21 };

constexpr TABLE_COLUMN Dinars(UINT nTitleId, int nField, int nWidth, UINT nFlags = COLF_THOUSANDS | COLF_SUMMED)
{
    return AccountNumber(nTitleId, -3, nField, nFlags, 3, nWidth);
}

const TABLE_COLUMN s_columns[] = {
    AccountId(56273, 0, NUMBER_WIDTH, COLF_HIDDEN),
    AccountDate(56274, 1),
    {.nTitleId = 56275, .nType = COLTYPE_DATE_TEXT, .nWidth = DATE_WIDTH, .nAlign = ALIGN_RIGHT, .nField = 14},
    AccountCode(56276, KSE_BOARD_WIDTH, 17, CMarketKSE::FormatCodeColumn, 3),
    AccountCode(56277, 95, 2, CTransactionType::FormatCodeColumn, 4),
    AccountText(56278, 20, 3),
    AccountText(56279, 50, FIELD_NONE),
    AccountText(56690, 6, KF_STOCK),
    AccountText(56280, 50, FIELD_NONE),
    AccountNumber(56281, 0, 6, COLF_THOUSANDS | COLF_SUMMED),
    AccountNumber(56282, -1, 7, COLF_THOUSANDS | COLF_OMIT_ZERO_FRACTION, 0, PRICE_WIDTH),
    // An account's amounts and balance run to tens of millions of dinars with their fils.
    Dinars(56283, 8, MONEY_WIDTH, COLF_THOUSANDS | COLF_SUMMED | COLF_ZERO_SHOWN),
    Dinars(56284, 10, MONEY_WIDTH),
    Dinars(56285, 9, MONEY_WIDTH),
    Dinars(56286, 11, MONEY_WIDTH),
    Dinars(56287, 13, MONEY_WIDTH, COLF_THOUSANDS), // a running balance: no total
    Dinars(56288, 12, MONEY_WIDTH, COLF_THOUSANDS | COLF_ZERO_SHOWN),
    AccountText(51158, 60, 4),
    AccountText(56908, 40, 15, 70),
    AccountDate(56909, 16),
    AccountText(42298, 30, FIELD_NONE),
};
const TABLE_SORT_KEY s_sort[] = {{0, SORT_ASCENDING}};
const int s_keys[] = {0};
const int s_live[] = {MSG_NK};
const int s_quickFilters[] = {4, 5, KC_NAME, KC_STATUS};
const ACCOUNT_MENU_ITEM s_menu[] = {{.nId = ID_ACCOUNT_REFRESH}, {}};
const ACCOUNT_COMMAND s_commands[] = {{ID_ACCOUNT_REFRESH, RULE_ALWAYS, ACTION_REFRESH}};
}  // namespace

const RANGE_REPORT_DESC g_histTransactionKSETable = {
    .account = {.table = {.nNameId = IDS_TABLE_KSE_TRANSACTIONS, .nTitleId = 56794, .nFixedColumns = 2,
                          .columns = s_columns, .sort = s_sort, .keys = s_keys, .nRequestType = MSG_TK,
                          .nReplyType = MSG_TK, .liveTypes = s_live},
                .quickFilters = s_quickFilters, .menu = s_menu, .commands = s_commands},
    .nDialogId = IDD_TRANSACTION_RANGE, .pszBody = "||%ld|%s||||%s|%s|||||2", .nEchoFrom = 7, .nEchoTo = 8, .nErrorField = 0,
    .bEveryView = FALSE};

void CHistTransactionKSETable::OnRecord(CServerMessage* pMsg)
{
    if (CDataBuffer* pRow = AddReplyRow(pMsg)) {
        pRow->SetText(KC_NAME, KseStockName(pMsg->GetLong(KF_STOCK), TRUE), TRUE);
        pRow->SetText(KC_STATUS, LoadMarketText(GetKseCodeTextId(pMsg->GetLong(KF_STATUS))), TRUE);
    }
}

void CHistTransactionKSETable::ApplyLive(CServerMessage* pMsg)
{
    // A live line's status stands in another field; its stock keeps only the code.
    if (CDataBuffer* pRow = AddLiveRow(pMsg))
        pRow->SetText(KC_STATUS, LoadMarketText(GetKseCodeTextId(pMsg->GetLong(KF_LIVE_STATUS))), TRUE);
}
