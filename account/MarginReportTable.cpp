#include "account/MarginReportTable.h"
#include "refdata/ZorvatTypes.h"

namespace {
enum { MR_ACCOUNT = 0, MR_CALL = 4 };
constexpr TABLE_COLUMN Amount(UINT nTitleId, int nField, int nDecimals = -2, UINT nFlags = COLF_SUMMED, int nWidth = MONEY_WIDTH)
{
    return AccountNumber(nTitleId, nDecimals, nField, COLF_THOUSANDS | COLF_BLANK_ZERO | nFlags, 2, nWidth);
}
const TABLE_COLUMN s_columns[] = {
    AccountId(57058, 0),
    Amount(57059, 1), Amount(57060, 2),
    AccountNumber(57061, 0, 5, COLF_THOUSANDS | COLF_BLANK_ZERO),
    AccountCode(57062, CODE_WIDTH, 3, CMarginCallStatus::FormatCodeColumn, MR_CALL),
    AccountNumber(57063, 0, 4, COLF_THOUSANDS | COLF_BLANK_ZERO),
    Amount(57064, 6, -3), Amount(57070, 7), Amount(57071, 8),
};
const TABLE_SORT_KEY s_sort[] = {{3, 1}, {MR_ACCOUNT, 1}};
const int s_keys[] = {MR_ACCOUNT};
const int s_live[] = {MSG_MN};
const ACCOUNT_REQUEST s_requests[] = {{MSG_ML, "||%d"}};
const ACCOUNT_MENU_ITEM s_menu[] = {{.nId = ID_ACCOUNT_REFRESH}, {}};
const ACCOUNT_COMMAND s_commands[] = {{ID_ACCOUNT_REFRESH, RULE_ALWAYS, ACTION_REFRESH_ASKED}};
}  // namespace

// A new account number adds a row; a listed one has its row replaced. A line inside the first
// reply waits for its end, as inside any other.
const ACCOUNT_DESC g_marginReportTable = {
    .table = {.nNameId = IDS_TABLE_MARGIN_REPORT, .nTitleId = 57057, .nFixedColumns = 1, .columns = s_columns,
              .sort = s_sort, .keys = s_keys, .nRequestType = MSG_ML, .nReplyType = MSG_ML, .liveTypes = s_live,
              .nFlags = TABLEF_LIVE_UNGATED},
    .requests = s_requests, .menu = s_menu, .commands = s_commands};
