#pragma once
#include "framework/base/OwnedPtrArray.h"
#include "framework/table/AVLTree.h"
#include "framework/table/ColumnFilter.h"

class CIni;

// What a walk does with the rows it visits.
#define FILTER_FIND         0   // remember the first match, stop
#define FILTER_MARK         1   // mark matches, unmark the others
#define FILTER_UNMARK       2   // unmark matches
#define FILTER_UNMARK_ALL   3
#define FILTER_MARK_ALL     4
#define FILTER_FIND_MARKED  5
#define FILTER_COUNT        6

// The filters of one view, made and owned by it: a CColumnFilter per column and the rule that
// combines them. As the visitor of a tree walk it marks, unmarks, counts or finds rows.
class CTableFilters : public ITreeVisitor
{
public:
    CTableFilters() = default;
    CTableFilters(const CTableFilters&) = delete;
    CTableFilters& operator=(const CTableFilters&) = delete;
    ~CTableFilters() override;

    // Binding. Every other call refuses an unbound object with 0, -1 or null.
    BOOL Init(CViewTable* pView, const CTableFilters* pCopyFrom);
    void Free();
    BOOL IsBound() const;
    CColumnFilter* GetColumnFilter(int nCol) const;

    // Criteria. A text that builds no filter adds nothing (-1).
    int  AddFilter(int nCol, const char* pszCriteria, BOOL bFlag, int nGroup, BOOL bQuote = FALSE);
    BOOL IsValidCriteria(int nCol, const char* pszCriteria);
    void RemoveColumnFilters(int nCol);
    void RemoveAllFilters();
    BOOL IsEmpty() const;
    BOOL HasFilterOn(int nCol) const;

    // Walks: set the mode and range, let the view walk its rows, read the counters.
    void SetMode(int nMode) { m_nMode = nMode; }
    int  GetMode() const { return m_nMode; }
    void SetRowRange(int nFirst, int nLast);
    void ClearRowRange() { m_nFirst = m_nLast = -1; }
    void SetAllRows();
    void ResetCounters() { m_nMatches = 0; m_nFound = -1; }
    int  GetMatchCount() const { return m_nMatches; }
    int  GetFoundIndex() const { return m_nFound; }
    int  GetFirstRow() const override { return m_nFirst; }
    int  GetLastRow() const override { return m_nLast; }
    int  GetCombine() const { return m_nCombine; }
    void SetCombine(int nCombine) { m_nCombine = nCombine ? 1 : 0; }

    virtual BOOL Match(const CTableTreeNode* pNode, int nIndex);
    virtual BOOL VisitRow(CTableRow* pRow, int nIndex);
    BOOL VisitNode(CTreeNode* pNode, int nIndex) override;

    BOOL Save(CIni* pSettings);
    BOOL Load(CIni* pSettings);

private:
    CViewTable* m_pView = nullptr;      // not owned: the view owns us
    int m_nMode = FILTER_MARK;
    int m_nColumns = 0;
    int m_nFirst = 0;
    int m_nLast = 0x7fffffff;
    int m_nMatches = 0;
    int m_nFound = -1;
    CTBOwnedPtrArray<CColumnFilter> m_columns;
    int m_nCombine = 0;                 // 0: any-of and all-of must pass; 1: either
};

// Marks or unmarks a row of a view's tree, keeping the marked-row count.
void SetRowMarked(CViewTable* pView, CTableRow* pRow, BOOL bMarked);
