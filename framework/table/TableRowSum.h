#pragma once
#include <vector>
#include "framework/table/TreeNode.h"

class CTableGroup;

// A sum line: the running sums of the summed columns over the visible rows of a group (or, with
// no owner, of the whole view). Its cells may instead come from the first group column's
// custom sum line. The sum block is its own.
class CTableRowSum : public CTableRow
{
public:
    CTableRowSum();
    ~CTableRowSum() override;
    int  GetKind() const override { return NODE_SUM; }
    void ResetRow() override;
    void GetCellText(char* pszBuf, int nSize, int nCol, const CTableColumn* pColumn, CViewTable* pView) override;

    // Fresh sums for the view's columns; the owner group, null for the total line.
    void Init(CViewTable* pView, CTableGroup* pOwner);
    // Every sum back to zero; handler texts that follow the sums become dirty.
    void Reset(CViewTable* pView);
    // nCol -1 = every column. TRUE when a summed column was met.
    BOOL AddRow(const CTableRow* pRow, CViewTable* pView, int nCol);
    BOOL SubtractRow(const CTableRow* pRow, CViewTable* pView, int nCol);
    void InvalidateCustomTexts();
    CTableGroup* GetOwner() const { return m_pOwner; }

private:
    BOOL Accumulate(const CTableRow* pRow, CViewTable* pView, int nCol, BOOL bAdd);
    void FreeSums();
    void DirtyFollowingTexts(CViewTable* pView);

    struct CustomText
    {
        std::vector<char> buffer;
        BOOL bDirty = TRUE;
    };
    std::vector<CustomText> m_custom;   // one per column, made on first need
    // The sums of the 32-bit integer columns, one per column: a total of counts or quantities
    // passes what one row holds, so it is kept and shown in 64 bits.
    std::vector<LONGLONG> m_wide;
    TBCellSlot* m_pSums = nullptr;      // owned value block
    CTableGroup* m_pOwner = nullptr;
};
