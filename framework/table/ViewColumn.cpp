#include "framework/table/ViewColumn.h"
#include "framework/table/TablePlatform.h"
#include "framework/table/ViewTable.h"

void CViewColumn::Bind(CViewTable* pView, CTableColumn* pColumn, int nCol)
{
    m_pView = pView;
    m_pColumn = pColumn;
    m_nCol = pColumn ? nCol : -1;
}

int CViewColumn::GetDisplayWidth() const
{
    return m_pColumn && !m_pColumn->m_bHidden ? m_pColumn->m_nWidth : 0;
}

void CViewColumn::SetSize(int nSize)
{
    // Rows already laid out keep their text buffers: the size is fixed once the view holds rows.
    if (!m_pColumn || nSize < 1 || nSize > TEXT_SIZE_MAX || (m_pView && m_pView->IsOpen()))
        return;
    m_pColumn->m_nSize = nSize;
}

void CViewColumn::SetWidth(int nWidth)
{
    if (!m_pColumn || nWidth < 10 || nWidth > TableScreenWidth() || nWidth == m_pColumn->m_nWidth)
        return;
    m_pColumn->m_nWidth = nWidth;
    if (m_pView)
        m_pView->GetEvents().FireColumnWidthChanged(m_nCol, nWidth);
}

void CViewColumn::SetFitWidth(BOOL bFit, BOOL bYields, BOOL bYieldsLast)
{
    if (!m_pColumn)
        return;
    m_pColumn->m_bFitWidth = bFit;
    m_pColumn->m_bFitYields = bFit && bYields;
    m_pColumn->m_bFitYieldsLast = bFit && bYieldsLast && !bYields;
}

void CViewColumn::SetDecimals(int nDecimals)
{
    if (!m_pColumn || nDecimals < -128 || nDecimals > 127 || nDecimals == m_pColumn->m_chDecimals)
        return;
    m_pColumn->m_chDecimals = static_cast<signed char>(nDecimals);
    if (m_pView)
        m_pView->GetEvents().FireColumnAttributeChanged(m_nCol, nDecimals);
}

void CViewColumn::SetOptionFlag(BOOL bFlag)
{
    if (m_pColumn)
        m_pColumn->m_bOptionFlag = bFlag;
}

void CViewColumn::SetSummed(BOOL bSummed)
{
    if (!m_pColumn || (bSummed && !ColumnTypeIsNumeric(m_pColumn->GetDataType())))
        return;
    m_pColumn->m_bSummed = bSummed;
}

void CViewColumn::SetDataType(int nType)
{
    // A row's value block is laid out by the types: they are fixed once the view holds rows.
    if (!m_pColumn || (m_pView && m_pView->IsOpen()))
        return;
    m_pColumn->SetDataType(nType);
    m_pColumn->RecalcAlignment();
}

void CViewColumn::SetComputed(TBCOLUMNFORMAT pfnFormat, int nUserValue)
{
    if (!m_pColumn)
        return;
    if (!(m_pView && m_pView->IsOpen()))
        m_pColumn->SetDataType(COLTYPE_COMPUTED);
    m_pColumn->m_pfnFormat = pfnFormat;
    m_pColumn->m_nUserValue = nUserValue;
    m_pColumn->RecalcAlignment();
}

void CViewColumn::SetUnit(int nUnitCol, TBUNITDECIMALS pfnDecimals)
{
    // Only a text column of the view can name a unit.
    const CTableColumn* pUnit = m_pView != nullptr && nUnitCol >= 0 && nUnitCol < m_pView->GetColumnCount()
                                    ? m_pView->GetColumns().GetColumn(nUnitCol) : nullptr;
    if (!m_pColumn || (nUnitCol >= 0 && (pUnit == nullptr || pUnit->GetDataType() != COLTYPE_STRING)))
        return;
    m_pColumn->m_nUnitColumn = pfnDecimals != nullptr ? nUnitCol : -1;
    m_pColumn->m_pfnUnitDecimals = pfnDecimals;
}

void CViewColumn::SetAlignment(int nAlign)
{
    if (!m_pColumn || nAlign == m_pColumn->m_nAlign)
        return;
    m_pColumn->m_nAlign = nAlign;
    m_pColumn->RecalcAlignment();
    if (m_pView)
        m_pView->GetEvents().FireColumnAlignChanged(m_nCol, nAlign);
}

void CViewColumn::SetTitle(const char* pszTitle, int nLanguage)
{
    if (!m_pColumn)
        return;
    CTBString& strTitle = m_pColumn->m_strTitle[nLanguage == 1 ? 1 : 0];
    if (strTitle == (pszTitle ? pszTitle : ""))
        return;
    strTitle = pszTitle ? pszTitle : "";
    if (m_pView)
        m_pView->GetEvents().FireColumnTitleChanged(m_nCol, &strTitle, nLanguage == 1 ? 1 : 0);
}

void CViewColumn::SetName(const char* pszName)
{
    if (m_pColumn)
        m_pColumn->m_strName = pszName;
}

void CViewColumn::SetHidden(BOOL bHidden)
{
    bHidden = bHidden ? TRUE : FALSE;
    if (!m_pColumn || bHidden == m_pColumn->m_bHidden)
        return;
    m_pColumn->m_bHidden = bHidden;
    if (m_pView)
        m_pView->GetEvents().FireColumnsHiddenChanged(m_nCol, bHidden);
}

void CViewColumn::SetSortable(BOOL bSortable)
{
    if (m_pColumn)
        m_pColumn->m_bSortable = bSortable;
}

void CViewColumn::SetUserSwitchable(BOOL bSwitchable)
{
    if (m_pColumn)
        m_pColumn->m_bUserSwitchable = bSwitchable;
}

template <class TGet, class TSet>
static void SetNumberFormat(CViewTable* pView, CTableColumn* pColumn, int nCol, int nValue, TGet get, TSet set)
{
    if (!pColumn || (pColumn->*get)() == nValue)
        return;
    (pColumn->*set)(nValue);
    if (pView)
        pView->GetEvents().FireColumnNumberFormatChanged(nCol, pColumn);
}

void CViewColumn::SetThousands(BOOL bThousands)
{
    SetNumberFormat(m_pView, m_pColumn, m_nCol, bThousands ? TRUE : FALSE, &CColumnDataType::GetThousands,
                    &CColumnDataType::SetThousands);
}

void CViewColumn::SetOmitZeroFraction(int nMode)
{
    SetNumberFormat(m_pView, m_pColumn, m_nCol, nMode >= 0 && nMode <= 2 ? nMode : 0,
                    &CColumnDataType::GetOmitZeroFraction, &CColumnDataType::SetOmitZeroFraction);
}

void CViewColumn::SetMinDecimals(int nMinDecimals)
{
    SetNumberFormat(m_pView, m_pColumn, m_nCol, nMinDecimals, &CColumnDataType::GetMinDecimals,
                    &CColumnDataType::SetMinDecimals);
}

void CViewColumn::SetBlankZero(BOOL bBlankZero)
{
    SetNumberFormat(m_pView, m_pColumn, m_nCol, bBlankZero ? TRUE : FALSE, &CColumnDataType::GetBlankZero,
                    &CColumnDataType::SetBlankZero);
}
