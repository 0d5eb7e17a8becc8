#include "framework/table/TableGroup.h"
#include "framework/table/ViewTable.h"

CTableGroup::~CTableGroup()
{
    m_rows.RemoveAll();
}

void CTableGroup::Init(TBCellSlot* pData, CViewTable* pView)
{
    ITreeAlloc* pAlloc = pView ? pView->GetAllocator() : nullptr;
    if (pAlloc)
        pAlloc->ClearNodeData(this);
    CTreeNode::Init(pData);
    if (pView)
        AllocAttributes(pView->GetColumnCount());
    m_sum.Init(pView, this);
    m_rows.SetView(pView);
}
