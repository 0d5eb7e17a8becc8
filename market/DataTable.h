#pragma once
// The base of every server-fed table. Its window side (views, at most four windows, the last one
// hidden) is CMDITable's; this class adds what its description drives: the columns and field
// maps, the row store that mirrors the server's rows into the engine table, the feeding cycle of
// a reply (TableOnReplyBegin, TableOnRecord, TableOnEnd), the live gate that holds a table's live
// lines until its reply has ended, the log options, and the table text export and import.
// A concrete table routes its sink slots to the base:
//     void OnFR(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
//     void OnLL(CServerMessage* pMsg) override { TableOnLive(pMsg); }
// and overrides ApplyLive only when a live line does more than update the row of its keys.
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>
#include "app/MDITable.h"
#include "framework/window/TableWindowEvents.h"
#include "link/MessageSink.h"
#include "market/TableDescription.h"
#include "platform/mfc/String.h"

class CCellValue;
class CDataArray;
class CDataBuffer;
class CIni;
class CServerMessage;
class CTableColumn;
class CTableFilters;
class CViewRow;
class CZorvatMessageSource;

#define MAX_HELD_LIVE_LINES 100000      // live lines a refill holds; later ones are dropped
#define IDS_KEY_COLUMN_TITLE 851
#define IDR_TABLE_MENU 104              // the standard table context menu

// The table's log options, kept in its settings section.
class CLogFileSetting
{
public:
    virtual ~CLogFileSetting() = default;
    void Save(CIni* pIni) const;
    void Load(CIni* pIni);

    int m_nLogsPeriod = 5;
    CString m_strLogsFile;
    CString m_strLogsFile2;             // not persisted
    BOOL m_bLogsRealtime = FALSE;
    CString m_strLogsFileRT;
};

class CDataTable : public CMDITable, public CTableWindowEventSink, public CZorvatMessageSink
{
public:
    // Neither is owned: the description is a constant, the source outlives the table (null:
    // the table is never registered as a sink). The sink takes the types the description lists:
    // the reply type, the live types and the direct types.
    CDataTable(const TABLE_DESC& desc, CZorvatMessageSource* pSource);
    ~CDataTable() override;

    // Builds the table (columns, maps, saved layout, the main window), binds the row store,
    // registers it in the application's table map and the message source. FALSE when the table
    // was created already, its description is refused (IsUsableDescription), the engine table
    // cannot be opened or the main window cannot be made: then nothing is registered and the
    // object is left as constructed, so a later Create may succeed.
    virtual BOOL Create(UINT nNameId, int nFixedColumns, UINT nTitleId);
    BOOL Create() { return Create(m_desc.nNameId, m_desc.nFixedColumns, m_desc.nTitleId); }
    // Sink removed, windows gone, the engine table reset; the rows are freed.
    void Destroy() override;

    const TABLE_DESC& GetDescription() const { return m_desc; }
    // A description the base can build: at least one column; keys, sort keys and fixed columns
    // within the columns; no field map longer than the columns.
    static BOOL IsUsableDescription(const TABLE_DESC& desc);
    UINT GetNameId() const override { return m_nNameId; }
    const CString& GetTitle() const { return m_strTitle; }
    CDataArray* GetRows() const { return m_pRows.get(); }
    CZorvatMessageSource* GetSource() const { return m_pSource; }

    // Feeding cycle. TableOnReplyBegin takes the description's reply type only (any, when it
    // names none); TableOnRecord takes a line only inside this table's reply; TableOnEnd acts
    // only when this table was receiving (a stray "EN" changes nothing), sorts the rows, sets
    // the complete flag and then applies the live lines held meanwhile, in arrival order.
    void TableOnReplyBegin(CServerMessage* pMsg);
    // TableOnRecord answers whether the line became a row.
    BOOL TableOnRecord(CServerMessage* pMsg);
    void TableOnEnd(CServerMessage* pMsg);
    BOOL IsComplete() const { return m_bComplete; }
    BOOL IsReceiving() const { return m_bReceiving; }
    // The live gate: dropped before the first reply has ended (unless the description says
    // TABLEF_LIVE_UNGATED), held while a reply fills the table, else applied now (ApplyLive). A type the description does not list as
    // live (when it lists any) is ignored.
    void TableOnLive(CServerMessage* pMsg);
    int  GetHeldLineCount() const { return static_cast<int>(m_held.size()); }
    // The same cycle for a table loaded by two replies, the second adding to the first's rows
    // and only its end completing the load: BeginReply opens a reply of any type (emptying the
    // table or not), EndReply ends it as TableOnEnd does, the complete flag set only with
    // bComplete (it stays set once set). Held live lines are applied at every end.
    void BeginReply(BOOL bEmpty);
    void EndReply(BOOL bComplete);
    // The request of the description's type with this body; the link's sequence number, 0 when
    // nothing was sent (no request type, no link).
    long SendRequest(LPCSTR pszBody);

    // Rows.
    virtual void RemoveAllRows();
    // A row of the description's company columns whose name is blank takes it from the symbol
    // lists, in the interface's language; NameCompanies does so for every row, written through.
    void NameCompany(CDataBuffer* pRow, BOOL bPublish);
    void NameCompanies() override;
    // Fills a row from a message through the field map of its type (the base map for the reply
    // and for a type without a map of its own), server dates converted first. FALSE for a null.
    BOOL FillRow(CServerMessage* pMsg, CDataBuffer* pRow, BOOL bPublish);
    // The same through the field map of another message type than the line's own.
    BOOL FillRow(CServerMessage* pMsg, int nType, CDataBuffer* pRow, BOOL bPublish);
    // The map of a message type (column to field, FIELD_NONE for none); the base map for 0.
    const std::vector<int>& GetFieldMap(int nMessageType) const;

    // Windows and views.
    virtual CString GetViewTitle(CViewTable* pView, BOOL bLanguage);
    virtual CString GetViewName(CViewTable* pView);
    CTableMDIWnd* GetActiveWindow() const;
    // The focused row of the active window; *pnIndex -1 when none or not a data row. FALSE
    // when no window of this table is active.
    BOOL GetSelectedRow(CViewRow& row, int* pnIndex);
    // A cell of a window's line, copied by the column's type; empty for a line without values
    // or a column outside its view. The copy owns its text: it stays right whatever happens to
    // the row afterwards.
    static CCellValue GetCellValue(CViewRow* pRow, int nCol);
    // The stored row a window's data line shows, found by the store's key columns; null for a
    // group or total line, a table without keys, or a row no longer stored.
    CDataBuffer* GetDataRow(CViewRow* pRow) const;
    // The stored row of the active window's focused data line; null when there is none.
    CDataBuffer* GetSelectedDataRow();
    // A cell of the focused data line of the table's active window, else of its main window;
    // empty when neither has one.
    CCellValue GetFocusedValue(int nCol);
    // The column definition of a column of the current view; null outside.
    CTableColumn* GetColumnDataType(int nCol);
    // The window's view takes the filter set (owned from now on; the old one is deleted).
    static BOOL SetViewFilter(CTableMDIWnd* pWindow, CTableFilters* pFilters);
    CTableMDIWnd* OpenWindow(BOOL bActivate) override;
    void RemoveWindow(CTableMDIWnd* pWindow) override;

    // Table text export and import. SaveToFile answers FALSE for an empty path or a file it
    // cannot write; LoadFromFile FALSE for an empty path, TRUE otherwise (a missing file adds
    // nothing); the rest of a line longer than the line buffer is skipped.
    BOOL SaveToFile(LPCSTR pszPath);
    BOOL LoadFromFile(LPCSTR pszPath);

    // Settings: the log options and every view's layout in the table's section.
    void SaveSettings() override;
    virtual void LoadSettings(CIni* pIni);
    CLogFileSetting& GetLogSettings() { return m_log; }

    // Sub-menu 0 of the standard table menu; subclasses give their own.
    HMENU CreateContextMenu() override;
    // The first popup of a menu resource of the language library, detached (the caller owns it).
    static HMENU LoadPopupMenu(UINT nMenuId);
    // Puts the commands at the top of a menu, each titled by its string, a separator under them.
    static void InsertTopItems(HMENU hMenu, std::initializer_list<UINT> ids);
    // The routing of one of a table's own commands: its update enables it as bEnabled says; the
    // command itself runs pfnRun (a query for a handler only answers TRUE). FALSE for other codes.
    static BOOL RouteOwnCommand(int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo, BOOL bEnabled,
                                const std::function<void()>& run);
    void OnInitMenuPopup(HMENU /*hMenu*/, UINT /*nIndex*/, BOOL /*bSysMenu*/) override {}

    // The message sink's id (the grid's event sink has one too).
    using CZorvatMessageSink::GetSinkId;
    // Sink slots every table shares.
    void OnRecord(CServerMessage* pMsg) override { TableOnRecord(pMsg); }
    void OnEnd(CServerMessage* pMsg) override { TableOnEnd(pMsg); }

protected:
    // What a live line does once it passes the gate: by default the row whose keys the line
    // carries is updated, or added when there is none.
    virtual void ApplyLive(CServerMessage* pMsg);
    // The columns and maps of the description; a subclass adding more calls these first.
    void CreateColumns() override;
    virtual void InitFieldMaps();

    // Column builders; each appends a column to the base view.
    CColumn AddColumn(UINT nTitleId, int nWidth, int nDecimals, int nType, int nAlign, int nSize);
    CColumn AddIntColumn(UINT nTitleId);
    CColumn AddStringColumn(UINT nTitleId, int nWidth, int nSize, int nAlign);
    CColumn AddTimeColumn(UINT nTitleId, BOOL bPacked, int nWidth, int nAlign);
    CColumn AddDateTimeColumn(UINT nTitleId, BOOL bPacked, int nWidth, int nAlign);
    CColumn AddDateColumn(UINT nTitleId, BOOL bPacked, int nWidth, int nAlign);
    CColumn AddNumberColumn(UINT nTitleId, int nWidth, int nDecimals, int nAlign, BOOL bThousands,
                            BOOL bOmitZeroFraction, int nMinDecimals, BOOL bBlankZero);
    CColumn AddDescribedColumn(const TABLE_COLUMN& def);

private:
    // Undoes a Create that failed half-way: the object is as constructed again.
    void AbandonCreate();
    BOOL IsLiveType(int nType) const;
    void ApplyHeldLines();
    // Converts the server date fields of the map's columns (field overrides).
    void ConvertDateFields(CServerMessage* pMsg, const std::vector<int>& map) const;
    void RetitleViews();
    void SelectSection(CIni* pIni) const;

    const TABLE_DESC& m_desc;
    CZorvatMessageSource* m_pSource;
    std::unique_ptr<CDataArray> m_pRows;
    UINT m_nNameId = 0;
    CString m_strTitle;
    CLogFileSetting m_log;
    BOOL m_bComplete = FALSE;           // set at the end of the first reply, never cleared
    BOOL m_bReceiving = FALSE;          // between this table's reply line and its "EN"
    std::vector<int> m_baseMap;         // column to field
    struct CTypedMap { int nType; std::vector<int> map; };
    std::vector<CTypedMap> m_maps;      // the further message types
    std::vector<std::unique_ptr<CServerMessage>> m_held;   // live lines of a refill, in order
};

// The maker a table registers for its name id (app/TableFactory.h): made on the heap with the
// application's message source and created; null, and nothing left behind, when Create fails.
CZorvatMessageSource* GetAppMessageSource();
template <class TTable>
IDataTable* MakeDataTable(UINT nNameId, int nFixedColumns, UINT nTitleId)
{
    TTable* pTable = new TTable(GetAppMessageSource());
    if (!pTable->Create(nNameId, nFixedColumns, nTitleId)) {
        pTable->Destroy();
        delete pTable;
        return nullptr;
    }
    return pTable;
}
