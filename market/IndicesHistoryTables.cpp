#include "market/IndicesHistoryTables.h"

#include <array>
#include "link/ServerMessage.h"

namespace {
const COLORREF INDEX_CELL_BACK = 0xD2D2D2;
const int MODE_FIELD = 6;
const long MODE_LAST = 2;               // modes 0 current, 1 all, 2 the increment; others ignored

// The two tables' columns differ in their titles, and the monthly one shows two fraction digits
// in its columns 9 and 10 when they have any.
constexpr std::array<TABLE_COLUMN, 15> HistoryColumns(UINT nFirstTitle, int nMinDecimals9)
{
    auto number = [](UINT nTitleId, int nDecimals, int nField, UINT nFlags, int nWidth = PRICE_WIDTH) {
        return TABLE_COLUMN{.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = nWidth, .nDecimals = nDecimals,
                            .nAlign = ALIGN_RIGHT, .nFlags = nFlags, .nMinDecimals = nDecimals < 0 ? -nDecimals : 0,
                            .nField = nField};
    };
    TABLE_COLUMN count9 = number(nFirstTitle + 9, 0, 3, 0, VOLUME_WIDTH);
    count9.nMinDecimals = nMinDecimals9;
    const TABLE_COLUMN count10 = {.nTitleId = nFirstTitle + 10, .nType = COLTYPE_INT32, .nWidth = COUNT_WIDTH,
                                  .nAlign = ALIGN_RIGHT, .nMinDecimals = nMinDecimals9, .nField = 4};
    return {{
        {.nTitleId = nFirstTitle, .nType = COLTYPE_DATE_TEXT, .nWidth = DATE_WIDTH, .nAlign = ALIGN_RIGHT,
         .nFlags = COLF_SERVER_DATE, .nField = 0},
        number(nFirstTitle + 1, -2, 1, 0),
        number(nFirstTitle + 2, -2, FIELD_NONE, COLF_BLANK_ZERO),
        number(nFirstTitle + 3, -2, FIELD_NONE, COLF_BLANK_ZERO),
        number(nFirstTitle + 4, -2, FIELD_NONE, COLF_BLANK_ZERO),
        number(nFirstTitle + 5, -2, 2, 0),
        number(nFirstTitle + 6, -2, FIELD_NONE, COLF_BLANK_ZERO),
        number(nFirstTitle + 7, -2, FIELD_NONE, COLF_BLANK_ZERO),
        number(nFirstTitle + 8, -2, FIELD_NONE, COLF_BLANK_ZERO, PERCENT_WIDTH),
        count9,
        count10,
        number(nFirstTitle + 11, -3, 5, 0, MONEY_WIDTH),
        number(nFirstTitle + 12, 0, 6, COLF_HIDDEN, VOLUME_WIDTH),
        {.nTitleId = nFirstTitle + 13, .nType = COLTYPE_INT32, .nWidth = COUNT_WIDTH, .nAlign = ALIGN_RIGHT,
         .nFlags = COLF_HIDDEN, .nField = 7},
        number(nFirstTitle + 14, -3, 8, COLF_HIDDEN, MONEY_WIDTH),
    }};
}

constexpr auto s_dailyColumns = HistoryColumns(56858, 0);
constexpr auto s_monthlyColumns = HistoryColumns(56875, 2);
const TABLE_SORT_KEY s_sort[] = {{0, 1}};
const int s_keys[] = {0};

// Heads: 3 the date of the data, 4 the kind, 5 the index, 6 the mode.
const CACHE_DESC s_dailyCache = {
    .pszPrefix = "IXD", .bLanguage = FALSE, .nStockField = 5, .nStampField = 3, .nModeField = MODE_FIELD,
    .nIncrementMode = 2};
const CACHE_DESC s_monthlyCache = {
    .pszPrefix = "IXM", .bLanguage = FALSE, .nStockField = 5, .nStampField = 3, .nModeField = MODE_FIELD,
    .nIncrementMode = 2};

const TABLE_DESC s_dailyTable = {
    .nNameId = IDS_TABLE_INDEX_DAILY, .nTitleId = IDS_TITLE_INDEX_DAILY, .nFixedColumns = 1,
    .columns = s_dailyColumns, .sort = s_sort, .keys = s_keys, .nRequestType = MSG_DX, .nReplyType = MSG_DX,
    .nFlags = TABLEF_FOLLOW_LAST_ROW};
const TABLE_DESC s_monthlyTable = {
    .nNameId = IDS_TABLE_INDEX_MONTHLY, .nTitleId = IDS_TITLE_INDEX_MONTHLY, .nFixedColumns = 1,
    .columns = s_monthlyColumns, .sort = s_sort, .keys = s_keys, .nRequestType = MSG_DX, .nReplyType = MSG_DX,
    .nFlags = TABLEF_FOLLOW_LAST_ROW, .crCellBack0 = INDEX_CELL_BACK};
}  // namespace

const INDEX_HISTORY_DESC g_indexDaily = {.table = s_dailyTable, .cache = s_dailyCache, .nKind = 1};
const INDEX_HISTORY_DESC g_indexMonthly = {.table = s_monthlyTable, .cache = s_monthlyCache, .nKind = 2};

CIndicesHistoryTable::CIndicesHistoryTable(const INDEX_HISTORY_DESC& history, CZorvatMessageSource* pSource)
    : CCachedStockTable(history.table, history.cache, pSource), m_history(history)
{
}

void CIndicesHistoryTable::AddRequestFields(CServerMessage& request, long nIndex) const
{
    CString strKind, strIndex;
    strKind.Format("%ld", m_history.nKind);
    strIndex.Format("%ld", nIndex);
    request.SetAtGrow(4, strKind);
    request.SetAtGrow(5, strIndex);
}

BOOL CIndicesHistoryTable::IsOwnReply(CServerMessage* pMsg) const
{
    const long nMode = pMsg->GetLong(MODE_FIELD);
    return pMsg->GetLong(4) == m_history.nKind && nMode >= 0 && nMode <= MODE_LAST;
}
