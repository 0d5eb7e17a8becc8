#pragma once
// The US stories ("NN"): time and headline of each story, its id kept in a hidden column. The
// request names a symbol (none for every story); a reply to another symbol's request leaves the
// table alone, and an empty reply to the table's own request closes its window with a word in
// the information window. A click on a story opens its page.
#include "market/DataTable.h"

#define IDS_TITLE_NEWS 56783
#define IDS_NEWS_TITLE_SYMBOL 55308     // the window's title while it shows one symbol
#define IDS_NEWS_NONE 55306             // an empty reply to the table's request

extern const TABLE_DESC g_newsTable;

class CNewsTable : public CDataTable
{
public:
    explicit CNewsTable(CZorvatMessageSource* pSource) : CDataTable(g_newsTable, pSource) {}

    // The stories of a symbol (null or empty: every story) and a number the server echoes.
    using CDataTable::SendRequest;
    BOOL SendRequestFor(long nNumber, LPCSTR pszSymbol) override;
    BOOL SendRequest() override { return SendRequestFor(0, nullptr); }
    const CString& GetSymbol() const { return m_strSymbol; }
    BOOL IsRequestPending() const { return m_bPending; }

    void OnNN(CServerMessage* pMsg) override;
    void OnEnd(CServerMessage* pMsg) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;
    HMENU CreateContextMenu() override;
    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

private:
    CString m_strSymbol;
    BOOL m_bPending = FALSE;
};
