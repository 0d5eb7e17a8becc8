#include "market/RulesFwdKSETable.h"

#include "market/TableLinks.h"

namespace {
const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 52173, .nType = COLTYPE_INT32, .nWidth = NUMBER_WIDTH, .nAlign = ALIGN_RIGHT, .nField = 0},
    {.nTitleId = 0, .nType = COLTYPE_INT32, .nWidth = 10, .nAlign = ALIGN_RIGHT, .nFlags = COLF_KEY, .nField = 1},
    {.nTitleId = 52175, .nWidth = 380, .nSize = 61, .nField = 2},
};
const TABLE_SORT_KEY s_sort[] = {{0, SORT_ASCENDING}, {1, SORT_ASCENDING}};
const int s_keys[] = {0, 1};
}  // namespace

const TABLE_DESC g_rulesFwdKSETable = {
    .nNameId = IDS_TABLE_RULES_FWD_KSE, .nTitleId = IDS_TITLE_RULES_FWD_KSE, .columns = s_columns, .sort = s_sort,
    .keys = s_keys, .nRequestType = MSG_FR, .nReplyType = MSG_FR, .nFlags = TABLEF_FOLLOW_LAST_ROW};

void CRulesFwdKSETable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    if (nCol == 0 && FilterViewOnCell(this, pRow, nCol) && pnHandled != nullptr)
        *pnHandled = 1;
}
