#pragma once
#include "framework/base/OwnedPtrArray.h"
#include "framework/table/Row.h"
#include "framework/table/ViewColumn.h"
#include "framework/table/ViewTable.h"

class CTable;

// The handle of one column across all views: setters apply to every view, getters read the
// current view's column (the base view's when none is current).
class CColumn
{
public:
    CColumn() = default;
    CColumn(CTable* pTable, int nCol);
    CColumn(const CColumn& other) { *this = other; }
    CColumn& operator=(const CColumn& other);
    virtual ~CColumn() = default;

    void SetSize(int nSize);
    void SetWidth(int nWidth);
    // The width follows what the column holds (CTableColumn::m_bFitWidth, m_bFitYields,
    // m_bFitYieldsLast).
    void SetFitWidth(BOOL bFit, BOOL bYields = FALSE, BOOL bYieldsLast = FALSE);
    void SetDecimals(int nDecimals);
    void SetOptionFlag(BOOL bFlag);
    void SetSummed(BOOL bSummed);
    void SetDataType(int nType);
    void SetComputed(TBCOLUMNFORMAT pfnFormat, int nUserValue);
    void SetUnit(int nUnitCol, TBUNITDECIMALS pfnDecimals);
    void SetAlignment(int nAlign);
    void SetTitle(const char* pszTitle, int nLanguage);
    void SetName(const char* pszName);
    void SetHidden(BOOL bHidden);
    void SetSortable(BOOL bSortable);
    void SetUserSwitchable(BOOL bSwitchable);
    void SetThousands(BOOL bThousands);
    void SetOmitZeroFraction(int nMode);
    void SetMinDecimals(int nMinDecimals);
    void SetBlankZero(BOOL bBlankZero);

    CViewColumn* GetViewColumn() const;
    int  GetDisplayWidth() const;
    int  GetDecimals() const;
    BOOL IsHidden() const;
    BOOL IsUserSwitchable() const;
    int  GetDataType() const;
    CTableColumn* GetTableColumn() const;

private:
    template <class TCall> void ForEachView(TCall&& call);

    CTBOwnedPtrArray<CViewColumn> m_columns;    // one per view, in view order
    CTable* m_pTable = nullptr;
};

// A table: its views, of which the first, the base view, always exists. Rows are written
// through CRow, which carries one cursor per view.
class CTable
{
public:
    CTable();
    virtual ~CTable();
    CTable(const CTable&) = delete;
    CTable& operator=(const CTable&) = delete;
    void Reset();

    // Views.
    int  AddView(const char* pszName);
    int  AddViewCopy(const char* pszName, CViewTable* pSource);
    CViewTable* CreateSnapshotView(int nFlags);
    BOOL RemoveView(CViewTable* pView);
    CViewTable* GetView(int nIndex) const { return m_views.GetAt(nIndex); }
    int  GetViewCount() const { return m_views.GetSize(); }
    int  FindView(const CViewTable* pView) const;
    void SetCurrentView(int nIndex) { m_nCurrent = nIndex; }
    CViewTable* GetCurrentView() const { return m_views.GetAt(m_nCurrent); }
    BOOL Open(const ITreeAlloc* pAlloc = nullptr);
    void SetName(const char* pszName);
    const char* GetName() const;

    // Columns: added to the base view before further views exist.
    CColumn AddColumn();
    CColumn GetColumn(int nCol);
    int  GetColumnCount() const;

    // Rows.
    virtual void InsertRowAt(int nIndex, CRow& row);
    virtual BOOL InsertRow(CRow& row);
    virtual BOOL DeleteRow(CRow& row);
    CRow FindRow(const CRow& row);
    CRow GetRowAt(int nIndex);
    void RemoveAllRows();
    int  GetRowCount() const;
    void CreateViewRows(CRow& row, TBCellSlot* pValues);
    // A row whose cursors stand on the node of pFrom and on the same row in every other view.
    BOOL LocateRows(CRow& row, CViewTable* pFrom, CTableRow* pNode);

    // Settings: LoadSettings keeps the settings objects' sections; SaveSettings names one per view.
    BOOL LoadSettings(CIni* pLayout, CIni* pDefinition);
    void SaveSettings(CIni* pLayout, CIni* pDefinition);

    // Setters for the current view, or every view when none is current.
    void SetFixedColumnCount(int nCount);
    int  SetDefaultSortColumns(const CSortColumns& keys);
    void SetTitle(const char* pszTitle, int nLanguage);
    void SetShowHeader(BOOL bShow);
    void SetAllowFixedColumns(BOOL bAllow);
    void SetGroupHeaderMode(int nMode);
    void SetTotalsMode(int nMode);
    void SetAllowCut(BOOL bAllow);
    void SetAllowPaste(BOOL bAllow);

private:
    CViewTable* GetReadView() const;
    void TouchRowPaths(CRow& row, BOOL bInsert);
    template <class TCall> void ForTargetViews(TCall&& call);

    CTBOwnedPtrArray<CViewTable> m_views;       // index 0 is the base view
    int m_nNextViewId = 1;
    int m_nCurrent = -1;
};
