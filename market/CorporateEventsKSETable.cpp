#include "market/CorporateEventsKSETable.h"

#include "link/ServerMessage.h"
#include "market/TableLinks.h"
#include "market/EventColumns.h"
#include "refdata/ZorvatTypes.h"

namespace {
enum { EC_ID, EC_DATE, EC_STOCK, EC_KIND, EC_VALUE, EC_SHARES, EC_VALUE2, EC_RECORD_DATE, EC_TEXT, EC_MARKET };

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 56706, .nType = COLTYPE_INT32, .nWidth = 30, .nAlign = ALIGN_RIGHT, .nFlags = COLF_HIDDEN, .nField = 0},
    EventDateColumn(55337, 1),
    {.nTitleId = 55338, .nSize = 6, .nField = 2},
    {.nTitleId = 55339, .nType = COLTYPE_COMPUTED, .nField = 3, .pfnFormat = CTransactionType::FormatCodeColumn,
     .nFormatValue = EC_KIND},
    EventValueColumn(55340, 4),
    {.nTitleId = 55341, .nType = COLTYPE_INT32, .nWidth = VOLUME_WIDTH, .nAlign = ALIGN_RIGHT, .nField = 5},
    EventValueColumn(55342, 6),
    EventDateColumn(55343, 7),
    {.nTitleId = 55344, .nSize = 50, .nField = 8},
    {.nTitleId = 55336, .nType = COLTYPE_INT32, .nWidth = NUMBER_WIDTH, .nAlign = ALIGN_RIGHT, .nField = 9},
};
const TABLE_SORT_KEY s_sort[] = {
    {EC_DATE, SORT_ASCENDING}, {EC_STOCK, SORT_ASCENDING}, {EC_ID, SORT_ASCENDING}, {EC_MARKET, SORT_ASCENDING}};
const int s_keys[] = {EC_ID, EC_MARKET};
}  // namespace

const TABLE_DESC g_corporateEventsKSETable = {
    .nNameId = IDS_TABLE_CORPORATE_EVENTS_KSE, .nTitleId = IDS_TITLE_CORPORATE_EVENTS_KSE, .nFixedColumns = 1,
    .columns = s_columns, .sort = s_sort, .keys = s_keys, .nRequestType = MSG_CF, .nReplyType = MSG_CF,
    .nFlags = TABLEF_NO_GROUP_LINES};

BOOL CCorporateEventsKSETable::SendRequestFor(long nArgument, LPCSTR /*pszText*/)
{
    CString strBody;
    strBody.Format("||||||%ld", nArgument);
    return SendRequest(strBody) != 0;
}

void CCorporateEventsKSETable::OnCF(CServerMessage* pMsg)
{
    // Another requester's reply names its selection in field 6.
    if (pMsg == nullptr || (pMsg->GetSize() > 2 && pMsg->GetLong(6) != 0))
        return;
    TableOnReplyBegin(pMsg);
}

void CCorporateEventsKSETable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    if ((nCol == EC_STOCK || nCol == EC_KIND) && FilterViewOnCell(this, pRow, nCol) && pnHandled != nullptr)
        *pnHandled = 1;
}
