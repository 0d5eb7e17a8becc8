// A view's options and its columns as a whole: titles, modes, fixed and hidden columns.
#include "framework/base/NorvGlobals.h"
#include "framework/table/ViewColumn.h"
#include "framework/table/ViewTable.h"

const CTBString& CViewTable::GetTitle() const
{
    return GetTitleAt(GetNorvGlobals().m_nLanguage);
}

void CViewTable::SetTitle(const char* pszTitle, int nLanguage)
{
    CTBString& strTitle = m_strTitle[nLanguage == 1 ? 1 : 0];
    if (strTitle == (pszTitle ? pszTitle : ""))
        return;
    strTitle = pszTitle ? pszTitle : "";
    m_events.FireTitleChanged(&strTitle, nLanguage == 1 ? 1 : 0);
}

void CViewTable::SetShowHeader(BOOL bShow)
{
    bShow = bShow ? TRUE : FALSE;
    if (bShow == m_bShowHeader)
        return;
    m_bShowHeader = bShow;
    m_events.FireShowHeaderChanged(bShow);
}

void CViewTable::SetAllowFixedColumns(BOOL bAllow)
{
    bAllow = bAllow ? TRUE : FALSE;
    if (bAllow == m_bAllowFixedColumns)
        return;
    m_bAllowFixedColumns = bAllow;
    m_events.FireAllowFixedColumnsChanged(bAllow);
}

void CViewTable::SetGroupHeaderMode(int nMode)
{
    if (nMode == m_nGroupHeaderMode)
        return;
    m_nGroupHeaderMode = nMode;
    m_rows.RefreshMode();
    m_events.FireGroupHeaderModeChanged(nMode);
}

void CViewTable::SetTotalsMode(int nMode)
{
    if (nMode == m_nTotalsMode)
        return;
    BOOL bCustom = HasCustomGroupSumLine();
    m_nTotalsMode = nMode;
    // Whether lone rows live in groups depends on the totals mode: regroup when it flips.
    if (m_bOpen && m_rows.GetRoot() && bCustom != HasCustomGroupSumLine())
        m_rows.Resort();
    m_rows.RefreshMode();
    m_events.FireTotalsModeChanged(nMode);
}

void CViewTable::SetSumMode(int nMode)
{
    if (nMode == m_nSumMode)
        return;
    m_events.FireSumModeChanging();
    m_nSumMode = nMode;
    m_rows.RecalcTableGroups();
    m_events.FireSumModeChanged();
}

int CViewTable::GetGroupExtraRowCount() const
{
    return (m_nGroupHeaderMode == 2 ? 1 : 0) + (ShowsGroupSums() ? 1 : 0);
}

BOOL CViewTable::HasCustomGroupSumLine() const
{
    if (!ShowsGroupSums() || m_columns.m_groupKeys.GetCount() == 0)
        return FALSE;
    const CTableColumn* pFirst = m_columns.GetColumn(m_columns.m_groupKeys.GetAt(0).m_nColumn);
    return pFirst && pFirst->m_custSum.m_pHandler && m_columns.m_groupKeys.HasColumn(pFirst->m_custSum.m_nKeyColumn);
}

BOOL CViewTable::GetColumn(int nCol, CViewColumn& column)
{
    CTableColumn* pColumn = m_columns.GetColumn(nCol);
    column.Bind(pColumn ? this : nullptr, pColumn, pColumn ? nCol : -1);
    return pColumn != nullptr;
}

BOOL CViewTable::AddColumn(CViewColumn& column)
{
    // Rows are laid out for the columns the view had when it opened.
    if (m_bOpen)
        return FALSE;
    CTableColumn* pColumn = new CTableColumn;
    pColumn->RecalcAlignment();
    int nCol = m_columns.Add(pColumn);
    column.Bind(this, pColumn, nCol);
    return TRUE;
}

static BOOL IsPermanentlyHidden(const CTableColumn* pColumn)
{
    return pColumn->m_bHidden && !pColumn->m_bUserSwitchable;
}

void CViewTable::SetFixedColumnCount(int nVisible)
{
    int nColumns = m_columns.GetCount();
    if (nVisible < 0 || nVisible > nColumns)
        return;
    int nWalked = 0;
    int nCounted = 0;
    while (nWalked < nColumns && nCounted < nVisible) {
        if (!IsPermanentlyHidden(m_columns[nWalked]))
            ++nCounted;
        ++nWalked;
    }
    if (nWalked == m_columns.m_nFixed)
        return;
    m_columns.m_nFixed = nWalked;
    m_events.FireFixedColumnsChanged(nWalked);
}

int CViewTable::GetFixedColumnCount() const
{
    int nCount = 0;
    for (int i = 0; i < m_columns.m_nFixed && i < m_columns.GetCount(); ++i)
        if (!IsPermanentlyHidden(m_columns[i]))
            ++nCount;
    return nCount;
}

void CViewTable::SetAllColumnsHidden(BOOL bHidden)
{
    BOOL bChanged = FALSE;
    for (CTableColumn* pColumn : m_columns) {
        if (IsPermanentlyHidden(pColumn) || pColumn->m_bHidden == bHidden)
            continue;
        pColumn->m_bHidden = bHidden;
        bChanged = TRUE;
    }
    if (bChanged)
        m_events.FireColumnsHiddenChanged(-1, bHidden);
}

void CViewTable::ResetColumnState()
{
    for (CTableColumn* pColumn : m_columns)
        pColumn->m_bEditable = FALSE;
    m_bAllowCut = FALSE;
    m_bAllowPaste = FALSE;
}
