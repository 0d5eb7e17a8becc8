#pragma once
// One list of the movers of "GL": top gainers (kind 0), top losers (1) or the most active (2).
// A reply carries the three lists; each table keeps the rows of its own kind, their change cells
// marked rising or falling. Its context menu names the selected symbol.
#include "market/DataTable.h"

#define IDS_TABLE_GAINERS 51977
#define IDS_TABLE_LOSERS 51978
#define IDS_TABLE_MOST_ACTIVE 51979
#define ID_MOVER_SHOW_SYMBOL 33567
#define ID_MOVER_ORDER_BOOK 33568
#define ID_MOVER_NEWS 33569
#define ID_TABLE_REFRESH 33175

// Indexed by the list kind.
extern const TABLE_DESC g_gainerLooserTables[3];

class CGainerLooserTable : public CDataTable
{
public:
    // nKind 0 to 2; fixed for the table's life.
    CGainerLooserTable(CZorvatMessageSource* pSource, int nKind);
    int GetKind() const { return m_nKind; }
    // "GL" carries the three lists; the opener and the refresh command ask for it again.
    using CDataTable::SendRequest;
    BOOL SendRequest() override { return CDataTable::SendRequest("") != 0; }

    void OnGL(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnRecord(CServerMessage* pMsg) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;
    HMENU CreateContextMenu() override;
    // The popup made by CreateContextMenu gets the selected symbol's items on top, once.
    void OnInitMenuPopup(HMENU hMenu, UINT nIndex, BOOL bSysMenu) override;
    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

private:
    // The selected data row's column text; FALSE when no data row is selected.
    BOOL GetSelectedText(int nCol, CString& strText);
    static BOOL ItemEnabled(UINT nId, BOOL bRow, const CString& strMarket);

    int m_nKind;
    HMENU m_hPopup = nullptr;
};

template <int nKind>
IDataTable* MakeGainerLooserTable(UINT nNameId, int nFixedColumns, UINT nTitleId)
{
    CGainerLooserTable* pTable = new CGainerLooserTable(GetAppMessageSource(), nKind);
    if (!pTable->Create(nNameId, nFixedColumns, nTitleId)) {
        pTable->Destroy();
        delete pTable;
        return nullptr;
    }
    return pTable;
}
