#include "market/InternationalInterestRatesTable.h"

#include "app/ZorvatApp.h"
#include "refdata/ZorvatTypes.h"

namespace {
const int IRC_TYPE = 1;
const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 57302, .nWidth = CODE_WIDTH, .nSize = 6, .nField = 0},
    {.nTitleId = 57296, .nType = COLTYPE_COMPUTED, .nWidth = CODE_WIDTH, .nField = 1,
     .pfnFormat = CInterestType::FormatCodeColumn, .nFormatValue = IRC_TYPE},
    {.nTitleId = 57297, .nType = COLTYPE_DOUBLE, .nWidth = PERCENT_WIDTH, .nDecimals = -4, .nAlign = ALIGN_RIGHT, .nField = 2},
};
const TABLE_SORT_KEY s_sort[] = {{0, SORT_ASCENDING}, {IRC_TYPE, SORT_ASCENDING}};
const int s_keys[] = {0, IRC_TYPE};
}  // namespace

const TABLE_DESC g_interestRatesTable = {
    .nNameId = IDS_TABLE_INTEREST_RATES, .nTitleId = IDS_TITLE_INTEREST_RATES, .columns = s_columns,
    .sort = s_sort, .keys = s_keys, .nRequestType = MSG_LI, .nReplyType = MSG_LI};

BOOL CInternationalInterestRatesTable::SendRequest()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr)
        return FALSE;
    CString strBody;
    strBody.Format("||%d|%d|", pApp->GetUser().GetUserNumber(), 0);
    return CDataTable::SendRequest(strBody) != 0;
}

void CInternationalInterestRatesTable::OnLI(CServerMessage* pMsg)
{
    if (pMsg != nullptr && pMsg->GetLong(3) == 0)
        TableOnReplyBegin(pMsg);
}
