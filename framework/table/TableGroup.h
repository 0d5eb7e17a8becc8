#pragma once
#include "framework/table/TableRowSum.h"
#include "framework/table/TableTree.h"

// A group of the grouped tree: the rows that share the group key value, in full key order, with
// their sum line. Its value block is a copy of the founding row's values (the view's
// allocator frees it), so it compares by the group key like a row.
class CTableGroup : public CTableTreeNode
{
public:
    CTableGroup() { m_bKind = NODE_GROUP; }
    ~CTableGroup() override;
    int  GetKind() const override { return NODE_GROUP; }
    void Init(TBCellSlot* pData, CViewTable* pView);
    int  GetRowCount() { return m_rows.GetCount(); }       // visible rows

    CTableRowSum m_sum;
    CTableRows   m_rows;
};
