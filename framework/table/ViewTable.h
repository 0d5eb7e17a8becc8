#pragma once
#include "framework/base/TBString.h"
#include "framework/table/TableColumns.h"
#include "framework/table/TableColumnsMap.h"
#include "framework/table/TableEvents.h"
#include "framework/table/TableGroups.h"
#include "framework/table/TreeAlloc.h"

class CTable;
class CTableFilters;
class CViewRow;
class CChangeBits;
class CViewColumn;
class CIni;
class ITableArchive;

// One view of a table: its own columns, display order, sort and group keys, lines (the grouped
// positional tree), filters, sum lines, options and event source. Every view holds its own node
// for every row of the table; rows are written through CRow (or a CViewRow of this view).
class CViewTable : public CTableObject
{
public:
    CViewTable();
    ~CViewTable() override;
    CViewTable(const CViewTable&) = delete;
    CViewTable& operator=(const CViewTable&) = delete;

    // Life. Open is refused when already open, without columns, or with an allocator set.
    BOOL Open(const ITreeAlloc* pAlloc);
    void Reset();
    BOOL CopyFrom(const char* pszName, CViewTable* pSource, int nFlags);
    BOOL IsOpen() const { return m_bOpen; }

    // Rows, through a cursor of this view.
    virtual int  InsertRow(CViewRow& row);
    virtual int  RemoveRow(CViewRow& row);
    virtual int  AddRow(CViewRow& row);
    virtual int  NextRowId() { return m_nNextRowId++; }
    BOOL InsertRowAt(int nIndex, CViewRow& row);
    BOOL DeleteRowAt(int nIndex);
    BOOL GetRow(CViewRow& row, int nIndex);
    BOOL LocateRow(CViewRow& row, const CViewRow& other);
    // The same with the row of other's block in this view already looked up (null when none).
    BOOL LocateRow(CViewRow& row, const CViewRow& other, CTableRow* pHeld);
    void TouchRow(CViewRow& row);
    void RemoveAllRows();
    int  GetRowCount() { return m_rows.GetCount(); }
    BOOL ForEachRow(ITableArchive* pArchive);
    // FALSE when a line was refused (the others are still read) or a row not inserted.
    BOOL ReadRows(ITableArchive* pArchive);
    BOOL ReadRowsAt(ITableArchive* pArchive, int nIndex);
    void GetRowStatistics(CRowStatistics* pStats);
    // The grid's in-place edit: a data row's cell from text; 0 for other lines or a refused text.
    BOOL SetCellTextAt(int nIndex, int nCol, const char* pszText);

    // Filters. The view owns its filters; null = every row passes.
    void SetFilters(CTableFilters* pFilters);
    CTableFilters* GetFilters() const { return m_pFilters; }
    BOOL ApplyFilters(CTableFilters* pFilters);
    BOOL ReapplyFilters();
    // Runs the view's filters on one row in mode 1 (mark on match, unmark otherwise).
    void FilterRow(CTableRow* pRow, int nIndex);

    // Sorting and grouping. Sort and Resort answer the number of sort keys.
    int  Sort(const CSortColumns& keys, BOOL bGroup);
    int  Resort(const CSortColumns& keys);
    void Resort();
    int  SetDefaultSortColumns(const CSortColumns& keys);
    const CSortColumns& GetSortColumns() const { return m_columns.m_sortKeys; }
    const CGroupColumns& GetGroupColumns() const { return m_columns.m_groupKeys; }

    // Options; setters store first and fire only on a change.
    const CTBString& GetName() const { return m_strName; }
    void SetName(const char* pszName) { m_strName = pszName; }
    void SetTitle(const char* pszTitle, int nLanguage);
    const CTBString& GetTitleAt(int nLanguage) const { return m_strTitle[nLanguage == 1 ? 1 : 0]; }
    const CTBString& GetTitle() const;
    void SetShowHeader(BOOL bShow);
    void SetAllowFixedColumns(BOOL bAllow);
    void SetGroupHeaderMode(int nMode);
    void SetTotalsMode(int nMode);
    void SetHideOnClose(BOOL bHide) { m_bHideOnClose = bHide; }
    void SetSumMode(int nMode);
    BOOL GetShowHeader() const { return m_bShowHeader; }
    BOOL GetAllowFixedColumns() const { return m_bAllowFixedColumns; }
    int  GetGroupHeaderMode() const { return m_nGroupHeaderMode; }
    int  GetTotalsMode() const { return m_nTotalsMode; }
    int  GetSumMode() const { return m_nSumMode; }
    BOOL GetHideOnClose() const { return m_bHideOnClose; }
    BOOL ShowsGroupSums() const { return m_nTotalsMode == 1 || m_nTotalsMode == 3; }
    int  GetGroupExtraRowCount() const;
    BOOL HasGrandTotalRow() const { return m_nTotalsMode == 2 || m_nTotalsMode == 3; }
    BOOL HasCustomGroupSumLine() const;
    BOOL FirstGroupColumnHasJoins() const { return FALSE; }

    // Columns.
    BOOL GetColumn(int nCol, CViewColumn& column);
    BOOL AddColumn(CViewColumn& column);
    int  GetColumnCount() const { return m_columns.GetCount(); }
    CTableColumns& GetColumns() { return m_columns; }
    const CTableColumns& GetColumns() const { return m_columns; }
    CTableColumnsMap& GetColumnOrder() { return m_order; }
    void SetFixedColumnCount(int nVisible);
    int  GetFixedColumnCount() const;
    void SetAllColumnsHidden(BOOL bHidden);
    void ResetColumnState();
    HMENU BuildColumnMenu();

    // Events.
    void AddSink(CTableEventSink* pSink) { if (pSink) m_events.AddSink(pSink); }
    void RemoveSink(CTableEventSink* pSink) { if (pSink) m_events.RemoveSink(pSink->GetSinkId()); }
    CTableEventSource& GetEvents() { return m_events; }
    BOOL IsSuspended() const { return m_nSuspend > 0; }
    // While a reply fills the table its rows come by the thousand: a window takes each as it
    // comes but paints them once, when it next paints. The end is told (OnLoadEnded).
    void SetLoading(BOOL bLoading);
    BOOL IsLoading() const { return m_bLoading; }
    // Nobody listens: the reports of neighbouring lines need not be worked out.
    BOOL HasSinks() const { return m_events.GetSinkCount() > 0; }
    void NotifyRowChanged(CTableRow* pNode, int nIndex, int nCol);
    void StampRowChanged(CTableRow* pNode, int nIndex, int nCol);
    // A data line whose look may follow its neighbours' (a group formed or dissolved, a row
    // moved beside it) while its values stay: reported changed (column -1) with
    // IsReportingLookOnly TRUE meanwhile, so that a sink may skip reading its texts again.
    void NotifyRowLookChanged(CTableRow* pNode, int nIndex);
    BOOL IsReportingLookOnly() const { return m_bLookOnly; }
    // While the end of an update reports its row: the columns the update changed, for that row
    // alone (null for any other, or outside such a report). Its other cells kept their texts.
    const CChangeBits* GetUpdateChanges(const CTableRow* pNode) const
    {
        return pNode && pNode == m_pUpdatedNode ? m_pUpdateChanges : nullptr;
    }
    void NotifyRowMoved(CRowPosition* pOld, int nOldLines, CRowPosition* pNew, int nNewLines);
    void NotifyRowsRemoved(int nIndex, int nLines);

    // Settings.
    void SaveSettings(CIni* pLayout, CIni* pDefinition);
    BOOL LoadSettings(CIni* pLayout, CIni* pDefinition);
    BOOL ApplySettings(CIni* pLayout, CIni* pDefinition);

    // Parts.
    CTableGroups& GetRowTree() { return m_rows; }
    ITreeAlloc* GetAllocator() const { return m_pAlloc; }
    // Takes the allocator a closed view without one will open with (snapshots); owned after.
    BOOL SetAllocator(ITreeAlloc* pAlloc);
    BYTE* GetChangeMarks() { return m_pChangeMarks; }
    void ClearChangeMarks();
    int  GetViewId() const { return m_nViewId; }
    void SetViewId(int nId) { m_nViewId = nId; }
    CTable* GetTable() const { return m_pTable; }
    void SetTable(CTable* pTable) { m_pTable = pTable; }
    int  GetCellEventMode() const { return m_nCellEvents; }
    // The memory guard reads the machine's memory load through this (tests put in their own).
    typedef BOOL (*MEMORYLOADPROC)(double* pdUsedPercent);
    static void SetMemoryLoadProc(MEMORYLOADPROC pfnProc);

    // Options read by the grid and the settings.
    BOOL m_bAllowCut = TRUE;
    BOOL m_bAllowPaste = TRUE;
    BOOL m_bAllowSortDialog = TRUE;
    BOOL m_bRowAlerts = FALSE;          // a stamped marked row raises OnRowAlert
    BOOL m_bWriteTitleLine = FALSE;     // ForEachRow writes the column titles first

private:
    void CheckMemory();
    void RebuildTree();
    void TakeKeys(const CSortColumns& keys, BOOL bGroup, BOOL bKeepGrouping);
    BOOL LoadFilters(CIni* pLayout);
    int  InsertNode(CViewRow& row, BOOL bEvents);

    CTBString m_strName;
    CTBString m_strTitle[2];
    BOOL m_bShowHeader = TRUE;
    BOOL m_bHideOnClose = FALSE;
    BOOL m_bOpen = FALSE;
    BOOL m_bAllowFixedColumns = FALSE;
    int  m_nSumMode = 0;                // 1 = marked-rows mode: only marked rows show and sum
    int  m_nGroupHeaderMode = -1;
    int  m_nTotalsMode = -1;
    CTableEventSource m_events;
    int  m_nNextRowId = 0;
    CTableGroups m_rows;
    CTableColumns m_columns;
    CTableColumnsMap m_order;
    ITreeAlloc* m_pAlloc = nullptr;     // owned
    CTableFilters* m_pFilters = nullptr;  // owned
    int  m_nViewId = -1;
    int  m_nSuspend = 0;
    BOOL m_bLoading = FALSE;
    BOOL m_bLookOnly = FALSE;
    const CTableRow* m_pUpdatedNode = nullptr;
    const CChangeBits* m_pUpdateChanges = nullptr;
    BYTE* m_pChangeMarks = nullptr;     // one per column: 0x80 unchanged, 0x7f changed
    int  m_nCellEvents = 0;             // nothing in the system turns it on
    int  m_nGuardMark = 0;              // the line count the memory guard last read at
    CTable* m_pTable = nullptr;         // the table holding the view; null for snapshots

    friend class CTableGroups;
    friend class CViewRow;
};
