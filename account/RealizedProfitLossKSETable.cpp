#include "account/RealizedProfitLossKSETable.h"

#include "account/HoldingsValuation.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "refdata/ZorvatTypes.h"

namespace {
enum { KC_SYMBOL = 3, KF_STOCK = 3 };

constexpr TABLE_COLUMN Dinars(UINT nTitleId, int nField, UINT nFlags = COLF_THOUSANDS | COLF_SUMMED | COLF_ZERO_SHOWN,
                              int nWidth = MONEY_WIDTH)
{
    return AccountNumber(nTitleId, -3, nField, nFlags, 3, nWidth);
}

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 0, .nType = COLTYPE_INT32, .nWidth = 10, .nFlags = COLF_KEY, .nField = 0},
    AccountDate(56306, 1),
    AccountId(56307, 2),
    AccountText(56308, 11, FIELD_NONE),
    AccountText(56692, 6, KF_STOCK),
    AccountCode(56309, KSE_BOARD_WIDTH, 4, CMarketKSE::FormatCodeColumn, 5),
    AccountNumber(56310, 0, 5, COLF_THOUSANDS | COLF_SUMMED | COLF_ZERO_SHOWN),
    AccountNumber(56311, -1, 6, COLF_THOUSANDS | COLF_OMIT_ZERO_FRACTION, 0, PRICE_WIDTH),
    Dinars(56312, 7, COLF_THOUSANDS | COLF_ZERO_SHOWN, PRICE_WIDTH),          // price
    Dinars(56313, 8),
    Dinars(56314, 9),
    AccountDate(56315, 10),
    AccountDate(56316, 11),
    {.nTitleId = 56317, .nType = COLTYPE_DOUBLE, .nWidth = QUANTITY_WIDTH, .nDecimals = -1, .nAlign = ALIGN_RIGHT,
     .nFlags = COLF_HIDDEN | COLF_SUMMED | COLF_ZERO_SHOWN, .nField = 12},
    Dinars(56318, 13, COLF_THOUSANDS | COLF_SUMMED | COLF_ZERO_SHOWN),        // charges
    Dinars(56319, 15, COLF_THOUSANDS | COLF_SUMMED),
    Dinars(56320, 14, COLF_THOUSANDS | COLF_SUMMED),
    Dinars(56321, 16),
    AccountNumber(56322, -2, 17, COLF_THOUSANDS | COLF_ZERO_SHOWN, 2, GAIN_PERCENT_WIDTH),
};
const TABLE_SORT_KEY s_sort[] = {{1, SORT_ASCENDING}, {3, SORT_ASCENDING}, {0, SORT_ASCENDING}};
const int s_keys[] = {0};
const int s_quickFilters[] = {KC_SYMBOL};
const ACCOUNT_MENU_ITEM s_menu[] = {{.nId = ID_ACCOUNT_REFRESH}, {}};
const ACCOUNT_COMMAND s_commands[] = {{ID_ACCOUNT_REFRESH, RULE_ALWAYS, ACTION_REFRESH}};
}  // namespace

const RANGE_REPORT_DESC g_realizedProfitLossKSETable = {
    .account = {.table = {.nNameId = IDS_TABLE_KSE_REALIZED, .nTitleId = 56796, .nFixedColumns = 3, .columns = s_columns,
                          .sort = s_sort, .keys = s_keys, .nRequestType = MSG_RK, .nReplyType = MSG_RK},
                .quickFilters = s_quickFilters, .menu = s_menu, .commands = s_commands},
    .nDialogId = IDD_REALIZED_RANGE, .pszBody = "||%ld|%s|%s|%s||||0||2", .nEchoFrom = 4, .nEchoTo = 5, .nErrorField = 0, .bEveryView = FALSE};

void CRealizedProfitLossKSETable::OnRecord(CServerMessage* pMsg)
{
    if (CDataBuffer* pRow = AddReplyRow(pMsg))
        pRow->SetText(KC_SYMBOL, KseStockName(pMsg->GetLong(KF_STOCK), TRUE), TRUE);
}
