#pragma once
#include "framework/base/OwnedPtrArray.h"
#include "framework/table/TFilter.h"

// The criteria of one column of a view, in their order.
class CColumnFilter : public CTBOwnedPtrArray<ITFilter>
{
public:
    virtual ~CColumnFilter() = default;
    // 1 when the row passes the column's group nGroup (1 any-of, 0 all-of).
    virtual BOOL Match(const CTableTreeNode* pNode, int nIndex, CViewTable* pView, int nGroup);

    void Init(int nCol, CViewTable* pView);
    BOOL IsBound() const { return m_pColumn != nullptr; }
    // The new filter's position, or -1 (not built, a duplicate, or a kind the column refuses).
    int  AddFilter(const char* pszText, BOOL bFlag, int nGroup);
    BOOL IsValidCriteria(const char* pszText);
    BOOL FormatFilterText(CTBString& strText, int nFilter);
    BOOL HasGroup(int nGroup) const;
    void Save(CIni* pSettings);
    void Load(CIni* pSettings);
    int  GetColumnIndex() const { return m_nCol; }

private:
    ITFilter* BuildFilter(const char* pszText);
    ITFilter* BuildFromText(const char* pszText);
    BOOL RebuildsItself(ITFilter* pFilter);
    int  InsertFilter(ITFilter* pFilter);

    const CTableColumn* m_pColumn = nullptr;
    int m_nCol = -1;
    CViewTable* m_pView = nullptr;
};
