#pragma once
// A KSE stock's daily price history, one row per day, newest first: the monthly history's
// table with the daily kind of "DQ" and its own cache files, "QD_%ld_%s.SAV".
#include "market/QuotationMonthlyTable.h"

#define IDS_TABLE_QUOTATION_DAILY 56837
#define IDS_TITLE_QUOTATION_DAILY 56838
#define HISTORY_KIND_DAILY 1

extern const TABLE_DESC g_quotationDailyTable;

class CQuotationDailyTable : public CQuotationMonthlyTable
{
public:
    explicit CQuotationDailyTable(CZorvatMessageSource* pSource);
};
