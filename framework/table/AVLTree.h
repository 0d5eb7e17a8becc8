#pragma once
#include <vector>
#include "framework/table/TreeNode.h"

class ITreeAlloc;
class CAVLTree;
struct CRowPosition;

// The walks of a cache warming (see CAVLTree::TouchWalks).
#define TOUCH_UP        1   // up to the root
#define TOUCH_SPINE     2   // down the right links, as a removal looks for a node's predecessor
#define TOUCH_DOWN      3   // down by the packed keys, towards where a node carrying them goes
#define TOUCH_ONE       4   // the one node
#define TOUCH_WALKS_MAX 16  // walks advanced together at most

struct CTouchWalk
{
    const CTreeNode* pCur = nullptr;    // where the walk stands; null when it ended
    int nKind = 0;
    CPackedKey key;                     // TOUCH_DOWN: the keys that steer, then the row id
    int nRowId = -1;
    // A TOUCH_DOWN walk whose packed keys stand for every sort key of its tree takes each step as
    // the tree's comparison would: where it ends is where the row goes, and the tree is told, so
    // that the insert that follows does not walk down again (see CAVLTree::SetInsertHint).
    CAVLTree* pTree = nullptr;          // null: a walk for the cache only
    int nShift = 0;                     // the packed bits below the keys that steer
    CTreeNode* pParent = nullptr;       // the last node passed, and the side taken there
    BOOL bLeft = FALSE;
    BOOL bEverLeft = FALSE;
    BOOL bExact = TRUE;                 // every step so far went the way the comparison goes
};

// What a tree walk calls for each node in display order (the filters implement it).
class ITreeVisitor
{
public:
    virtual ~ITreeVisitor() = default;
    // 0 stops the walk.
    virtual BOOL VisitNode(CTreeNode* pNode, int nIndex) = 0;
    // The display range to walk; both negative = every node.
    virtual int GetFirstRow() const = 0;
    virtual int GetLastRow() const = 0;
};

// A height-balanced search tree whose nodes also carry the display lines of their subtrees,
// so that a node is found by key or by display line, and a node's display index is known,
// in logarithmic time. Derived trees say how nodes compare, how many lines a node shows and
// what happens when a node enters or leaves. The allocator is the only way a node is deleted.
class CAVLTree
{
public:
    virtual ~CAVLTree();    // derived trees release their nodes (the allocator is theirs)

    // Sorted insert: 1 linked, 0 when an equal node was met (OnDuplicate decides).
    virtual int  Insert(CTreeNode* pNode);
    // Positional insert before the line at nIndex; nIndex is clamped to 0..GetCount().
    virtual int  InsertAt(int nIndex, CTreeNode* pNode);
    // nRelease 1: the node goes to the allocator; otherwise it stays alive, detached.
    // 0 when the node is not in this tree.
    virtual int  Remove(CTreeNode* pNode, int nRelease);
    // Releases the node whose first line is nIndex; 0 when there is none.
    virtual int  RemoveAt(int nIndex);
    virtual void RemoveAll();
    virtual CTreeNode* Find(CTreeNode* pKey);
    virtual void Resort();
    virtual int  CompareNodes(CTreeNode* pA, CTreeNode* pB) = 0;
    virtual int  GetCount();
    virtual CTreeNode* DetachRoot();
    virtual ITreeAlloc* GetAllocator() = 0;
    virtual int  GetNodeWeight(CTreeNode* pNode);
    // Nodes linked in the tree, hidden or not.
    int  GetNodeCount() const { return m_nNodes; }

    int GetSubtreeWeight(CTreeNode* pNode);
    // The node whose first display line is nIndex, null when none.
    CTreeNode* GetAt(int nIndex);
    // The node whose lines hold nIndex, with its first line in *pnStart; null when none.
    CTreeNode* FindLine(int nIndex, int* pnStart);
    // Display index of a node of this tree; -1 when it is not in this tree.
    int  GetIndexOf(const CTreeNode* pNode) const;
    BOOL Contains(const CTreeNode* pNode) const;
    int  LocateByKey(CTreeNode* pKey, CRowPosition* pPos);
    // In-order walk of the visitor's range, indexes shifted by nOffset; 1 when it ran to its end.
    int  WalkRange(ITreeVisitor* pVisitor, int nOffset = 0);
    // A node's own line count changed: refresh the weights above it.
    void RefreshWeights(CTreeNode* pNode);
    // Every weight recomputed (after a change of what a node shows).
    void RecalcAllWeights();

    CTreeNode* GetRoot() const { return m_pRoot; }
    CTreeNode* First() const;
    static CTreeNode* Next(const CTreeNode* pNode);
    // Nodes in order (or post-order, children first).
    void CollectNodes(std::vector<CTreeNode*>& nodes, BOOL bPostOrder) const;

    // Cache warming for a caller about to change several trees: all walks advance together, so
    // that their cache misses overlap instead of following one another, and the changes that
    // follow find their lines in cache. Nothing is changed. A TOUCH_DOWN walk stops where the
    // packed keys do not decide.
    static void TouchWalks(CTouchWalk* aWalks, int nCount);

    // Structure checks for tests: order, heights, balance, weights and parent links.
    BOOL CheckInvariants();

    // Where an exact warming walk ended (see CTouchWalk): the next sorted insert of a node with
    // these packed keys and row id links there without a walk down, while the tree's structure is
    // as the walk saw it but for the removal of the node with that row id (a row on the move).
    void SetInsertHint(const CTouchWalk& walk);

protected:
    // Hooks. PlaceNode links a node (or one standing in for it) at an empty link and returns it.
    virtual CTreeNode* PlaceNode(CTreeNode* pParent, BOOL bLeft, CTreeNode* pNode, int nIndex);
    virtual CTreeNode* PlaceNodeAt(CTreeNode* pParent, BOOL bLeft, CTreeNode* pNode, int nIndex);
    virtual void OnDuplicate(CTreeNode* pNew, CTreeNode* pEqual, int nIndex);
    virtual void ReleaseNode(CTreeNode* pNode, int nIndex, int nRelease);
    virtual void OnRemoving() {}
    virtual void OnRemoved() {}
    virtual void OnInserting() {}
    virtual void OnInserted() {}
    virtual void ReinsertSubtree(CTreeNode* pNode);
    virtual BOOL VisitNode(ITreeVisitor* pVisitor, CTreeNode* pNode, int nIndex);
    // TRUE: a sorted insert that meets an equal node goes on to its right instead of stopping.
    virtual BOOL LinksEqualNodes() { return FALSE; }
    // TRUE: sorted inserts are expected to come in order, so each is first compared with the last
    // node (a rebuild puts rows back in their old order).
    virtual BOOL AppendsFirst() { return FALSE; }

    // Mechanics shared by the derived trees.
    void LinkNode(CTreeNode* pParent, BOOL bLeft, CTreeNode* pNode);
    void UnlinkNode(CTreeNode* pNode);
    void ReplaceNode(CTreeNode* pOld, CTreeNode* pNew);
    void RebalanceFrom(CTreeNode* pNode);
    void WalkUp(CTreeNode* pNode);
    void ReleaseAll(CTreeNode* pRoot);

    // The place of an insert hinted by SetInsertHint, when it still holds for the node: the link is
    // empty and nothing but the node's own removal changed the tree since the walk.
    BOOL TakeInsertHint(const CTreeNode* pNode, CTreeNode** ppParent, BOOL* pbLeft, BOOL* pbEverLeft);

    CTreeNode* m_pRoot = nullptr;
    int m_nNodes = 0;
    BOOL m_bAppending = FALSE;          // the last sorted insert went in at the end

private:
    struct CInsertHint
    {
        CTreeNode* pParent = nullptr;   // null: no hint
        BOOL bLeft = FALSE;
        BOOL bEverLeft = FALSE;
        CPackedKey key;
        int nRowId = -1;
        unsigned nChanges = 0;          // m_nChanges as the hint holds
    };

    void Update(CTreeNode* pNode);
    CTreeNode* RotateLeft(CTreeNode* pNode);
    CTreeNode* RotateRight(CTreeNode* pNode);
    CTreeNode* Balance(CTreeNode* pNode);
    CTreeNode* Rotate(CTreeNode* pNode, int nBalance);
    void Transplant(CTreeNode* pOld, CTreeNode* pNew);
    int  CheckSubtree(CTreeNode* pNode, CTreeNode* pParent, BOOL* pbOk);

    CInsertHint m_hint;
    unsigned m_nChanges = 0;            // links made or taken away, counted for the hint
};
