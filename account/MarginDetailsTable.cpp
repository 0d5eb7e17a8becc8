#include "account/MarginDetailsTable.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/base/TBString.h"
#include "framework/table/ViewTable.h"
#include "link/ServerMessage.h"
#include "market/TableLinks.h"

#define IDS_MARGIN_ACCOUNT 57050
#define IDS_MARGIN_RATIO 57051
#define IDS_MARGIN_LOAN 57074
#define IDS_MARGIN_EQUITY 57075

namespace {
constexpr TABLE_COLUMN Amount(UINT nTitleId, int nField, UINT nFlags, int nDecimals = -2, int nMin = 2, int nWidth = MONEY_WIDTH)
{
    return AccountNumber(nTitleId, nDecimals, nField, COLF_THOUSANDS | nFlags, nMin, nWidth);
}
const UINT Z = COLF_BLANK_ZERO;
const UINT O = COLF_ZERO_SHOWN;
const UINT W = COLF_OMIT_ZERO_FRACTION;
// The server's figures no line of ours gives a meaning: kept with the row, never shown.
const UINT UNNAMED = COLF_HIDDEN;

const TABLE_COLUMN s_columns[] = {
    AccountText(57034, 6, 0),
    Amount(57035, 1, Z),
    Amount(57036, 2, O), Amount(57037, 3, O), Amount(57038, 4, O), Amount(57039, 5, O),
    Amount(57040, 6, Z),
    Amount(57041, 7, Z | W, -4, 2, PRICE_WIDTH),
    // 8 the margin call (1 while the equity is below the margin required) and 9 the equity's
    // per cent of the holdings, titled as the margin report and the caption title them: the
    // margin stocks' columns have their first titles.
    Amount(57062, 8, Z | W, 0, 0, QUANTITY_WIDTH), Amount(IDS_MARGIN_RATIO, 9, Z | W, 0, 0, QUANTITY_WIDTH),
    Amount(57044, 10, Z | W | UNNAMED, 0, 0, QUANTITY_WIDTH),
    Amount(57045, 11, Z | W | UNNAMED, 0, 2, PERCENT_WIDTH),
    Amount(57046, 12, Z | W | UNNAMED, 0, 2, PERCENT_WIDTH),
    Amount(57047, 13, Z | W | COLF_SUMMED | UNNAMED, -2, 2, MONEY_WIDTH),
    Amount(57048, 14, Z | W | COLF_SUMMED | UNNAMED, -2, 2, MONEY_WIDTH),
};
const TABLE_SORT_KEY s_sort[] = {{0, 1}};
const int s_keys[] = {0};
const ACCOUNT_MENU_ITEM s_menu[] = {{.nId = ID_ACCOUNT_REFRESH}, {}};
const ACCOUNT_COMMAND s_commands[] = {{ID_ACCOUNT_REFRESH, RULE_ALWAYS, ACTION_REFRESH_ASKED}};
}  // namespace

const ACCOUNT_DESC g_marginDetailsTable = {
    .table = {.nNameId = IDS_TABLE_MARGIN_DETAILS, .nTitleId = 57050, .nFixedColumns = 1, .columns = s_columns,
              .sort = s_sort, .keys = s_keys, .nRequestType = MSG_MD, .nReplyType = MSG_MD},
    .menu = s_menu, .commands = s_commands};

BOOL CMarginDetailsTable::SendRequestFor(long /*nArgument*/, LPCSTR pszAccount)
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr)
        return FALSE;
    m_strAccount = pszAccount != nullptr ? pszAccount : "";
    CString strBody;
    strBody.Format("||%ld|%s", static_cast<long>(pApp->GetUser().GetUserNumber()), static_cast<LPCSTR>(m_strAccount));
    return pApp->SendRequest(MSG_MD, strBody) != 0;
}

CString CMarginDetailsTable::FormatSummary(CServerMessage* pMsg)
{
    CString strSummary;
    strSummary.Format("%s #%ld - %s=%ld %% - %s=%.2lf USD - %s=%.2lf USD",
                      static_cast<LPCSTR>(LoadMarketText(IDS_MARGIN_ACCOUNT)), static_cast<long>(pMsg->GetLong(3)),
                      static_cast<LPCSTR>(LoadMarketText(IDS_MARGIN_RATIO)), static_cast<long>(pMsg->GetLong(4)),
                      static_cast<LPCSTR>(LoadMarketText(IDS_MARGIN_EQUITY)), pMsg->GetDouble(6, 0),
                      static_cast<LPCSTR>(LoadMarketText(IDS_MARGIN_LOAN)), pMsg->GetDouble(5, 0));
    return strSummary;
}

void CMarginDetailsTable::OnMD(CServerMessage* pMsg)
{
    if (pMsg == nullptr)
        return;
    TableOnReplyBegin(pMsg);
    const CTBString strSummary(static_cast<LPCSTR>(FormatSummary(pMsg)));
    // Both languages' titles: the caption shows the summary whichever is on.
    if (CTableMDIWnd* pMain = GetMainWindow())
        for (int nLanguage : {0, 1})
            pMain->OnTitleChanged(&strSummary, nLanguage);
}
