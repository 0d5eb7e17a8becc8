#include "framework/table/TreeAlloc.h"
#include "framework/table/TableColumns.h"
#include "framework/table/TableGroup.h"

CTreeNode* ITreeAlloc::CreateNode(int nKind)
{
    switch (nKind) {
    case NODE_GROUP:
        return new CTableGroup;
    case NODE_ROW:
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
