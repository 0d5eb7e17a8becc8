#pragma once
#include <vector>
#include "framework/table/TreeNode.h"

class CTableColumns;

// The node factory of a view: creates and releases its nodes and decides who owns the value
// blocks they carry. The allocator's release is the only way a node is deleted.
class ITreeAlloc
{
public:
    ITreeAlloc() = default;
    ITreeAlloc(const ITreeAlloc&) = delete;
    ITreeAlloc& operator=(const ITreeAlloc&) = delete;
    virtual ~ITreeAlloc();
    // Kinds NODE_GROUP to NODE_EMPTY; any other kind gives null.
    virtual CTreeNode* CreateNode(int nKind);
    // Frees the node's data as the allocator decides, then deletes the node.
    virtual void ReleaseNode(CTreeNode* pNode);
    virtual void SetNodeDataIfAny(CTreeNode* pNode, TBCellSlot* pValues);
    virtual void ClearNodeData(CTreeNode* pNode) { pNode->SetData(nullptr); }
    virtual void FreeNodeData(CTreeNode* pNode) = 0;
    // A fresh value block for the columns, or null when rows carry their owner's blocks.
    virtual TBCellSlot* AllocValues(const CTableColumns* pColumns) = 0;
    // Both allocators keep blocks in memory: locking hands out the node's block.
    virtual TBCellSlot* LockValues(CTreeNode* pNode) { return pNode->GetData(); }
    virtual void UnlockValues(CTreeNode*, TBCellSlot*) {}
    virtual ITreeAlloc* Clone() const = 0;
    TBCellSlot* GetNodeData(CTreeNode* pNode) { return LockValues(pNode); }
    virtual void SetNodeData(CTreeNode* pNode, TBCellSlot* pValues) { pNode->SetData(pValues); }

private:
    // Released rows wait here for the next CreateNode: owners make and drop a key row for every
    // write they look up, and a recycled node is still in the cache.
    std::vector<CTableRow*> m_spare;
};

// Base views: row values belong to the table's owner; only group blocks are the view's.
class CTreeAlloc : public ITreeAlloc
{
public:
    void FreeNodeData(CTreeNode* pNode) override;
    TBCellSlot* AllocValues(const CTableColumns*) override { return nullptr; }
    ITreeAlloc* Clone() const override { return new CTreeAlloc; }
};

// Snapshot views own a copy of every row's values.
class CSnapAlloc : public ITreeAlloc
{
public:
    void FreeNodeData(CTreeNode* pNode) override;
    TBCellSlot* AllocValues(const CTableColumns* pColumns) override;
    ITreeAlloc* Clone() const override { return new CSnapAlloc; }
};
