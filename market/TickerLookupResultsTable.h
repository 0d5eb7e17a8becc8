#pragma once
// The symbols a ticker search found ("TL"): symbol and company name. Its context menu acts on
// the selected symbol; an answer that found nothing hides the window and says so.
#include "market/DataTable.h"

#define IDS_TABLE_TICKER_LOOKUP_RESULTS 51580
#define IDS_TITLE_TICKER_LOOKUP_RESULTS 56765

extern const TABLE_DESC g_tickerLookupResultsTable;

class CTickerLookupResultsTable : public CDataTable
{
public:
    explicit CTickerLookupResultsTable(CZorvatMessageSource* pSource)
        : CDataTable(g_tickerLookupResultsTable, pSource) {}

    HMENU CreateContextMenu() override;
    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    void OnTL(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnEnd(CServerMessage* pMsg) override;

    // The symbol of the selected data row of the active window; empty when none.
    CString GetSelectedSymbol();
};
