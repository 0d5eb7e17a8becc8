#include "account/MarginStocksTable.h"
#include "app/ZorvatApp.h"
#include "link/ServerMessage.h"
#include "refdata/ZorvatTypes.h"

namespace {
constexpr TABLE_COLUMN Count(UINT nTitleId, int nField)
{
    return AccountNumber(nTitleId, 0, nField, COLF_THOUSANDS | COLF_BLANK_ZERO | COLF_OMIT_ZERO_FRACTION, 0, QUANTITY_WIDTH);
}
const TABLE_COLUMN s_columns[] = {
    AccountText(57034, 6, 0),
    Count(57042, 1), Count(57043, 2), Count(57138, 3),
    {.nTitleId = 57139, .nType = COLTYPE_COMPUTED, .nWidth = CODE_WIDTH, .nAlign = ALIGN_RIGHT, .nField = 4,
     .pfnFormat = CZorvatTypes::FormatYesNoColumn, .nFormatValue = 4},
};
const TABLE_SORT_KEY s_sort[] = {{0, 1}};
const int s_keys[] = {0};
const ACCOUNT_MENU_ITEM s_menu[] = {{.nId = ID_ACCOUNT_REFRESH}, {}};
const ACCOUNT_COMMAND s_commands[] = {{ID_ACCOUNT_REFRESH, RULE_ALWAYS, ACTION_REFRESH_ASKED}};
}  // namespace

const ACCOUNT_DESC g_marginStocksTable = {
    .table = {.nNameId = IDS_TABLE_MARGIN_STOCKS_1, .nTitleId = 57053, .nFixedColumns = 1, .columns = s_columns,
              .sort = s_sort, .keys = s_keys, .nRequestType = MSG_LM, .nReplyType = MSG_LM},
    .menu = s_menu, .commands = s_commands};

BOOL CMarginStocksTable::Create(UINT nNameId, int nFixedColumns, UINT nTitleId)
{
    m_nKind = nNameId == IDS_TABLE_MARGIN_STOCKS_2 ? 2 : 1;
    return CAccountTable::Create(nNameId, nFixedColumns, nTitleId);
}

BOOL CMarginStocksTable::SendRequest()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr)
        return FALSE;
    CString strBody;
    strBody.Format("||%ld|%ld", static_cast<long>(pApp->GetUser().GetUserNumber()), m_nKind);
    return pApp->SendRequest(MSG_LM, strBody) != 0;
}

void CMarginStocksTable::OnLM(CServerMessage* pMsg)
{
    // The other list's reply is the other instance's.
    if (pMsg != nullptr && pMsg->GetLong(3) == m_nKind)
        TableOnReplyBegin(pMsg);
}
