#pragma once
// The KSE stories of a story list ("NZ"; list 0 is every KSE story), whose texts open as web
// pages: a click on a row opens its story's page through app/NewsPages.h. An empty reply to the
// table's own request closes its active window and says so in the information window.
#include "market/DataTable.h"

#define IDS_TABLE_NEWS_BROWSER_KSE 56938
#define IDS_TITLE_NEWS_BROWSER_KSE 56939

extern const TABLE_DESC g_newsBrowserKSETable;

class CNewsBrowserKSETable : public CDataTable
{
public:
    explicit CNewsBrowserKSETable(CZorvatMessageSource* pSource) : CDataTable(g_newsBrowserKSETable, pSource) {}

    // The stories of a list (not above 0: every KSE story). Only the reply of the list asked for
    // last refills the table.
    BOOL RequestStoryList(long nListId);
    long GetStoryList() const { return m_nListId; }
    BOOL IsRequestPending() const { return m_bPending; }
    using CDataTable::SendRequest;
    BOOL SendRequestFor(long nArgument, LPCSTR /*pszText*/) override { return RequestStoryList(nArgument); }

    void OnNZ(CServerMessage* pMsg) override;
    void OnEnd(CServerMessage* pMsg) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;
    HMENU CreateContextMenu() override;
    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

private:
    long m_nListId = 0;                 // the list asked for last, 0 for none
    BOOL m_bPending = FALSE;            // asked, its "EN" not come yet
};
