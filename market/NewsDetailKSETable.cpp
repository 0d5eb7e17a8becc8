#include "market/NewsDetailKSETable.h"

#include "framework/table/SortColumns.h"

namespace {
const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 56936, .nType = COLTYPE_INT32, .nWidth = 55, .nAlign = ALIGN_RIGHT, .nFlags = COLF_HIDDEN, .nField = 0},
    {.nTitleId = 56937, .nWidth = 180, .nSize = 80, .nField = 1},
};
const TABLE_SORT_KEY s_sort[] = {{0, SORT_ASCENDING}};
const int s_keys[] = {0};
}  // namespace

const TABLE_DESC g_newsDetailKSETable = {.nNameId = IDS_TABLE_NEWS_DETAIL_KSE, .nTitleId = IDS_TITLE_NEWS_DETAIL_KSE,
                                         .columns = s_columns, .sort = s_sort, .keys = s_keys, .nRequestType = MSG_ND,
                                         .nReplyType = MSG_ND};
