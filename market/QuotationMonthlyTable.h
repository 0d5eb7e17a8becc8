#pragma once
// A KSE stock's monthly price history, one row per month, newest first: requested with "DQ" of
// the monthly kind and cached per stock in "QM_%ld_%s.SAV", so that a later request fetches only
// the months after the cached ones. A click on the symbol, stock or month filters the window.
#include "market/CachedStockTable.h"

#define IDS_TABLE_QUOTATION_MONTHLY 56853
#define IDS_TITLE_QUOTATION_MONTHLY 56854
#define HISTORY_KIND_MONTHLY 2          // "DQ" field 4: which period's history

extern const TABLE_DESC g_quotationMonthlyTable;

class CQuotationMonthlyTable : public CCachedStockTable
{
public:
    explicit CQuotationMonthlyTable(CZorvatMessageSource* pSource);

    long RequestHistory(long nStock) { return Request(nStock); }

    void OnDQ(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;

protected:
    void AddRequestFields(CServerMessage& request, long nStock) const override;
    BOOL IsOwnReply(CServerMessage* pMsg) const override;
};
