#include "account/RealizedProfitLossTable.h"

#include "account/HoldingsValuation.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

#define OPTION_CONTRACT_SHARES 100

namespace {
enum { RF_SYMBOL = 3, RF_MARKET = 18 };

constexpr TABLE_COLUMN Amount(UINT nTitleId, int nField, UINT nFlags = COLF_THOUSANDS | COLF_SUMMED | COLF_ZERO_SHOWN | COLF_MONEY,
                              int nWidth = MONEY_WIDTH)
{
    return AccountNumber(nTitleId, -2, nField, nFlags, 2, nWidth);
}
constexpr TABLE_COLUMN Price(UINT nTitleId, int nField)
{
    return AccountNumber(nTitleId, -4, nField, COLF_THOUSANDS | COLF_OMIT_ZERO_FRACTION, 2, PRICE_WIDTH);
}

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 0, .nType = COLTYPE_INT32, .nWidth = 10, .nFlags = COLF_KEY, .nField = 0},
    AccountDate(51221, 1),
    AccountId(51222, 2),
    AccountText(51235, 6, RF_SYMBOL),
    // Shares or option contracts: no total.
    AccountNumber(51224, 0, 4, COLF_THOUSANDS | COLF_ZERO_SHOWN),
    Price(51225, 5),
    Amount(51226, 7),
    Amount(51227, 8),
    AccountDate(51228, 9),
    AccountDate(51229, 10),
    Amount(51230, 12, COLF_THOUSANDS | COLF_SUMMED | COLF_ZERO_SHOWN | COLF_MONEY),     // charges
    Amount(51234, 13, COLF_THOUSANDS | COLF_SUMMED | COLF_MONEY),
    Amount(51231, 14),
    Amount(51232, 15, COLF_THOUSANDS | COLF_ZERO_SHOWN, GAIN_PERCENT_WIDTH),                  // per cent
    AccountCode(57218, 95, 17, CTransactionType::FormatCodeColumn, 14),
    AccountText(57379, MARKET_COLUMN_SIZE, FIELD_NONE, MARKET_COLUMN_WIDTH),
    AccountText(57220, 6, 19),
    AccountName(51223),
    AccountText(57230, 6, 20),
    AccountCode(57231, OPTION_RIGHT_WIDTH, 21, COptionRight::FormatCodeColumn, RC_RIGHT),
    Price(57233, 22),
    AccountDate(57232, 23),
};
const TABLE_SORT_KEY s_sort[] = {{1, SORT_ASCENDING}, {RC_SYMBOL, SORT_ASCENDING}, {0, SORT_ASCENDING}};
const int s_keys[] = {0};
const int s_quickFilters[] = {RC_SYMBOL, RC_MARKET, RC_CURRENCY, RC_SYMBOL_TEXT};
const UINT s_optionItems[] = {33563, 33565, 33564};
const ACCOUNT_MENU_ITEM s_menu[] = {{.nId = ID_ACCOUNT_REFRESH}, {}, {.nPopupTitleId = 33558, .popup = s_optionItems}, {}};
const ACCOUNT_COMMAND s_commands[] = {
    {ID_ACCOUNT_REFRESH, RULE_ALWAYS, ACTION_REFRESH},
    {33563, RULE_US, ACTION_CLEAR_FILTER, RC_RIGHT},
    {33564, RULE_REMOVED, ACTION_CRITERIA_FILTER, RC_RIGHT, ">0"},
    {33565, RULE_US, ACTION_CRITERIA_FILTER, RC_RIGHT, "=0"},
};
}  // namespace

const RANGE_REPORT_DESC g_realizedProfitLossTable = {
    .account = {.table = {.nNameId = IDS_TABLE_US_REALIZED, .nTitleId = 56770, .nFixedColumns = 3, .columns = s_columns,
                          .sort = s_sort, .keys = s_keys, .nRequestType = MSG_RP, .nReplyType = MSG_RP,
                          .nMoneyDecimals = 2, .company = {RC_SYMBOL_TEXT, RC_SYMBOL, RC_MARKET}},
                .quickFilters = s_quickFilters, .menu = s_menu, .commands = s_commands,
                .nFirstOptionColumn = 18, .nLastOptionColumn = 21},
    .nDialogId = IDD_REALIZED_RANGE, .pszBody = "%ld|%s|%s|%s|||||2", .nEchoFrom = 2, .nEchoTo = 3, .nErrorField = 9, .bEveryView = TRUE};

void CRealizedProfitLossTable::OnRecord(CServerMessage* pMsg)
{
    CDataBuffer* pRow = AddReplyRow(pMsg);
    if (pRow == nullptr)
        return;
    const long nMarket = pMsg->GetLong(RF_MARKET);
    pRow->SetText(RC_MARKET, GetGlobals()->GetMarketName(nMarket), TRUE);
    // The company's name in the interface's language, as the combined reports show it.
    const CString strName = CompanyNameOf(nMarket, pMsg->GetFieldText(RF_SYMBOL), /*bInterface=*/TRUE);
    if (!strName.IsEmpty())
        pRow->SetText(RC_SYMBOL_TEXT, strName, TRUE);
    // The server counts an option's profit per share.
    if (pRow->GetLong(RC_RIGHT) != 0)
        SetNumber(pRow, RC_PROFIT, pRow->GetDouble(RC_PROFIT) * OPTION_CONTRACT_SHARES);
}
