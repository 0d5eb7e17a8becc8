#include "account/HistTransactionTable.h"

#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

namespace {
enum { TC_MARKET = 12, TF_MARKET = 14 };

constexpr TABLE_COLUMN Amount(UINT nTitleId, int nField, int nWidth, UINT nFlags = COLF_THOUSANDS | COLF_SUMMED)
{
    return AccountNumber(nTitleId, -2, nField, nFlags | COLF_MONEY, 2, nWidth);
}
constexpr TABLE_COLUMN Price(UINT nTitleId, int nField)
{
    return AccountNumber(nTitleId, -4, nField, COLF_THOUSANDS | COLF_OMIT_ZERO_FRACTION, 2, PRICE_WIDTH);
}

const TABLE_COLUMN s_columns[] = {
    AccountId(51181, 0, NUMBER_WIDTH, COLF_HIDDEN),
    AccountDate(51182, 1),
    AccountCode(51183, 95, 2, CTransactionType::FormatCodeColumn, 2),
    AccountId(51184, 12, NUMBER_WIDTH, COLF_HIDDEN),
    AccountText(51185, 20, 3),
    AccountText(51237, 6, 5),
    AccountNumber(51187, 0, 6, COLF_THOUSANDS | COLF_SUMMED),
    Price(51188, 7),
    Amount(51189, 9, MONEY_WIDTH),
    Amount(51190, 10, MONEY_WIDTH, COLF_THOUSANDS | COLF_SUMMED | COLF_ZERO_SHOWN),
    Amount(51191, 11, MONEY_WIDTH, COLF_THOUSANDS | COLF_ZERO_SHOWN),
    AccountText(51158, 60, 4),
    AccountText(57376, MARKET_COLUMN_SIZE, FIELD_NONE, MARKET_COLUMN_WIDTH),
    AccountText(51239, 6, 15),
    AccountText(51186, 50, FIELD_NONE),
    Price(52178, 16),
};
const TABLE_SORT_KEY s_sort[] = {{0, SORT_ASCENDING}, {1, SORT_ASCENDING}};
const int s_keys[] = {0, 1};
const int s_live[] = {MSG_NR};
const int s_quickFilters[] = {2, 4, 5, TC_MARKET, 13, 14};
const ACCOUNT_MENU_ITEM s_menu[] = {{.nId = ID_ACCOUNT_REFRESH}, {}};
const ACCOUNT_COMMAND s_commands[] = {{ID_ACCOUNT_REFRESH, RULE_ALWAYS, ACTION_REFRESH}};
}  // namespace

const RANGE_REPORT_DESC g_histTransactionTable = {
    .account = {.table = {.nNameId = IDS_TABLE_US_TRANSACTIONS, .nTitleId = 56746, .nFixedColumns = 2,
                          .columns = s_columns, .sort = s_sort, .keys = s_keys, .nRequestType = MSG_TH,
                          .nReplyType = MSG_TH, .liveTypes = s_live, .nMoneyDecimals = 2},
                .quickFilters = s_quickFilters, .menu = s_menu, .commands = s_commands},
    .nDialogId = IDD_TRANSACTION_RANGE, .pszBody = "%ld|%s||||%s|%s|||2", .nEchoFrom = 5, .nEchoTo = 6,
    // Field 9 echoes the request's trailing "2"; the code stands where the routing reads it.
    .nErrorField = 12,
    .bEveryView = FALSE};

void CHistTransactionTable::OnRecord(CServerMessage* pMsg)
{
    if (CDataBuffer* pRow = AddReplyRow(pMsg))
        pRow->SetText(TC_MARKET, GetGlobals()->GetMarketName(pMsg->GetLong(TF_MARKET)), TRUE);
}

void CHistTransactionTable::ApplyLive(CServerMessage* pMsg)
{
    if (CDataBuffer* pRow = AddLiveRow(pMsg))
        pRow->SetText(TC_MARKET, GetGlobals()->GetMarketName(pMsg->GetLong(TF_MARKET)), TRUE);
}
