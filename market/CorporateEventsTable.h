#pragma once
// The corporate events of every market ("CE", asked for a date range by the download filter):
// the KSE events' fields with the market, the subscription kind, its dates and the time.
#include "market/DataTable.h"

#define IDS_TABLE_CORPORATE_EVENTS 51240
#define IDS_TITLE_CORPORATE_EVENTS 56771

extern const TABLE_DESC g_corporateEventsTable;

class CCorporateEventsTable : public CDataTable
{
public:
    explicit CCorporateEventsTable(CZorvatMessageSource* pSource) : CDataTable(g_corporateEventsTable, pSource) {}

    void OnCE(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;
    // Refresh on top of the standard menu: it runs the download filter.
    HMENU CreateContextMenu() override;
    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
};

// The download filter over hParent: on OK the table (made when missing, its layout restored) is
// emptied, shown and asked for the chosen dates. The dialog's result.
int RunCorpEventDownload(HWND hParent);
