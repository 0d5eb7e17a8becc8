#pragma once
// The KSE announcements ("NY", live "NI") in English and Arabic, keyed by their time. A new live
// announcement in the user's language, or in both, is echoed in the information window; a click
// on a headline opens the announcement's detail (CNewsDetailKSETable) in that headline's language.
#include "market/DataTable.h"
#include "platform/mfc/OleDateTime.h"

#define IDS_TABLE_NEWS_KSE 56915
#define IDS_TITLE_NEWS_KSE 56916

extern const TABLE_DESC g_newsKSETable;

class CNewsKSETable : public CDataTable
{
public:
    explicit CNewsKSETable(CZorvatMessageSource* pSource) : CDataTable(g_newsKSETable, pSource) {}

    // The rows go and every announcement is asked for.
    using CDataTable::SendRequest;
    BOOL SendRequest() override;
    // The detail of the announcement of that time, in English (0) or Arabic (1). FALSE, with
    // nothing sent, for a time that is not valid or without a link.
    BOOL RequestNewsDetail(const COleDateTime& time, long nLanguage);

    void OnNY(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnNI(CServerMessage* pMsg) override { TableOnLive(pMsg); }
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;
    HMENU CreateContextMenu() override;
    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // What the KSE news tables share: the table menu under "Refresh", and the refresh's question
    // (TRUE on Yes).
    static HMENU CreateRefreshMenu();
    static BOOL ConfirmRefresh();
    // A time of exactly 14 digits, YYYYMMDDhhmmss, as a date-time; any other text, or a date that
    // does not exist, gives the invalid status.
    static COleDateTime ParseAnnouncementTime(LPCSTR pszText);

protected:
    void ApplyLive(CServerMessage* pMsg) override;
};
