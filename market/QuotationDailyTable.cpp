#include "market/QuotationDailyTable.h"

namespace {
enum DAILY_COLUMN { DC_DAY = 2 };

// Fraction digits: -n shows n, of which the trailing zeros are trimmed down to n.
constexpr TABLE_COLUMN Number(UINT nTitleId, int nDecimals, int nField, int nWidth = PRICE_WIDTH)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = nWidth, .nDecimals = nDecimals,
            .nAlign = ALIGN_RIGHT, .nMinDecimals = nDecimals < -1 ? -nDecimals : 0, .nField = nField};
}

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 56823, .nSize = 12},                                                   // 0 symbol
    {.nTitleId = 56824, .nType = COLTYPE_INT32, .nWidth = NUMBER_WIDTH, .nAlign = ALIGN_RIGHT},  // 1 stock
    {.nTitleId = 56825, .nType = COLTYPE_DATE_TEXT, .nWidth = DATE_WIDTH, .nAlign = ALIGN_RIGHT,
     .nFlags = COLF_SERVER_DATE, .nField = 0},                                          // 2 day
    Number(56826, -1, 1),
    Number(56827, 0, 2, VOLUME_WIDTH),
    Number(56828, 0, 3, VOLUME_WIDTH),
    Number(56829, 0, 4, MONEY_WIDTH),
    Number(56830, -1, 5),
    Number(56831, -1, 6),
    Number(56832, -1, FIELD_NONE),
    Number(56833, -2, FIELD_NONE),
    Number(56834, 0, 7),
    Number(56835, 0, 8),
    Number(56836, -3, 9, PERCENT_WIDTH),
    {.nTitleId = 42290, .nSize = 12, .nFlags = COLF_HIDDEN, .nField = 10},
    {.nTitleId = 42291, .nSize = 31},                                                   // 15 state
};
const TABLE_SORT_KEY s_sort[] = {{DC_DAY, SORT_DESCENDING}};
const int s_keys[] = {DC_DAY};

const CACHE_DESC s_cache = {
    .pszPrefix = "QD", .bLanguage = FALSE, .nStockField = 5, .nStampField = 3, .nModeField = 7, .nIncrementMode = 2};
}  // namespace

const TABLE_DESC g_quotationDailyTable = {
    .nNameId = IDS_TABLE_QUOTATION_DAILY, .nTitleId = IDS_TITLE_QUOTATION_DAILY, .nFixedColumns = 2,
    .columns = s_columns, .sort = s_sort, .keys = s_keys, .nRequestType = MSG_DQ, .nReplyType = MSG_DQ};

CQuotationDailyTable::CQuotationDailyTable(CZorvatMessageSource* pSource)
    : CQuotationMonthlyTable(g_quotationDailyTable, s_cache, HISTORY_KIND_DAILY, pSource)
{
}
