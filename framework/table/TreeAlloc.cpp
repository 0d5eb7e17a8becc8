#include "framework/table/TreeAlloc.h"
#include <typeinfo>
#include "framework/table/TableColumns.h"
#include "framework/table/TableGroup.h"

#define SPARE_ROWS_MAX 64

ITreeAlloc::~ITreeAlloc()
{
    for (CTableRow* pRow : m_spare)
        delete pRow;
}

CTreeNode* ITreeAlloc::CreateNode(int nKind)
{
    switch (nKind) {
    case NODE_GROUP:
        return new CTableGroup;
    case NODE_ROW:
        if (!m_spare.empty()) {
            CTableRow* pRow = m_spare.back();
            m_spare.pop_back();
            return pRow;
        }
        return new CTableRow;
    case NODE_SUM:
        return new CTableRowSum;
    case NODE_EMPTY:
        return new CTableRowEmpty;
    default:
        return nullptr;
    }
}

void ITreeAlloc::ReleaseNode(CTreeNode* pNode)
{
    if (!pNode)
        return;
    FreeNodeData(pNode);
    // Only plain rows are kept (typeid, not the kind: a derived row must really be deleted).
    if (m_spare.size() < SPARE_ROWS_MAX && typeid(*pNode) == typeid(CTableRow)) {
        CTableRow* pRow = static_cast<CTableRow*>(pNode);
        pRow->Recycle();
        m_spare.push_back(pRow);
        return;
    }
    delete pNode;
}

void ITreeAlloc::SetNodeDataIfAny(CTreeNode* pNode, TBCellSlot* pValues)
{
    if (pValues)
        SetNodeData(pNode, pValues);
}

void CTreeAlloc::FreeNodeData(CTreeNode* pNode)
{
    if (pNode->GetKind() == NODE_GROUP)
        CTableColumns::FreeRowValues(pNode->GetData());
    ClearNodeData(pNode);
}

void CSnapAlloc::FreeNodeData(CTreeNode* pNode)
{
    if (pNode->GetKind() == NODE_GROUP || pNode->GetKind() == NODE_ROW)
        CTableColumns::FreeRowValues(pNode->GetData());
    ClearNodeData(pNode);
}

TBCellSlot* CSnapAlloc::AllocValues(const CTableColumns* pColumns)
{
    return pColumns ? pColumns->AllocRowValues(FALSE) : nullptr;
}
