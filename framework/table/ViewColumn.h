#pragma once
#include "framework/table/TableColumn.h"

class CViewTable;

// The handle of one column in one view: setters store into that view's column and fire the
// view's event when the value changed.
class CViewColumn
{
public:
    CViewColumn() = default;
    CViewColumn(const CViewColumn& other) = default;
    CViewColumn& operator=(const CViewColumn& other) = default;
    virtual ~CViewColumn() = default;

    void Bind(CViewTable* pView, CTableColumn* pColumn, int nCol);
    BOOL IsBound() const { return m_pColumn != nullptr; }
    CTableColumn* GetTableColumn() const { return m_pColumn; }
    int  GetIndex() const { return m_nCol; }

    int  GetDisplayWidth() const;       // 0 when hidden
    int  GetDecimals() const { return m_pColumn ? m_pColumn->m_chDecimals : 0; }
    BOOL IsHidden() const { return m_pColumn && m_pColumn->m_bHidden; }
    BOOL IsUserSwitchable() const { return m_pColumn && m_pColumn->m_bUserSwitchable; }
    int  GetDataType() const { return m_pColumn ? m_pColumn->GetDataType() : 0; }
    const char* GetTitle() const { return m_pColumn ? static_cast<const char*>(m_pColumn->GetTitle()) : ""; }

    void SetSize(int nSize);
    void SetWidth(int nWidth);          // refused outside 10 to the screen width
    void SetFitWidth(BOOL bFit, BOOL bYields = FALSE, BOOL bYieldsLast = FALSE);
    void SetDecimals(int nDecimals);
    void SetOptionFlag(BOOL bFlag);
    void SetSummed(BOOL bSummed);       // refused for non-numeric types
    void SetDataType(int nType);
    void SetComputed(TBCOLUMNFORMAT pfnFormat, int nUserValue);
    // Each row's cell shows the decimals of the unit its text column nUnitCol names.
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

private:
    CViewTable* m_pView = nullptr;
    CTableColumn* m_pColumn = nullptr;
    int m_nCol = -1;
};
