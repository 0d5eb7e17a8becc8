#include "framework/table/AVLTree.h"
#include <algorithm>
#include <climits>
#include <cstdint>
#include "framework/table/RowPosition.h"
#include "framework/table/TreeAlloc.h"

void CTreeNode::Init(TBCellSlot* pData)
{
    ClearLinks();
    m_pData = pData;
}

void CTreeNode::ClearLinks()
{
    m_anLink[0] = m_anLink[1] = m_anLink[2] = 0;
    m_bHeight = 1;
    m_nWeight = m_anSideWeight[0] = m_anSideWeight[1] = 0;
    m_abSideHeight[0] = m_abSideHeight[1] = 0;
}

CAVLTree::~CAVLTree() = default;

int CAVLTree::GetNodeWeight(CTreeNode*)
{
    return 1;
}

int CAVLTree::GetSubtreeWeight(CTreeNode* pNode)
{
    return pNode ? pNode->Subtree() : 0;
}

int CAVLTree::GetCount()
{
    return GetSubtreeWeight(m_pRoot);
}

// The height of a node from what it keeps of its children (the line total is worked out on use).
static void Total(CTreeNode* pNode)
{
    pNode->m_bHeight = static_cast<BYTE>(1 + std::max(pNode->m_abSideHeight[0], pNode->m_abSideHeight[1]));
}

// Takes one side's figures (0 left, 1 right) from its child, already up to date, then the height.
static void TakeSide(CTreeNode* pNode, const CTreeNode* pChild, int nSide)
{
    pNode->m_anSideWeight[nSide] = pChild ? pChild->Subtree() : 0;
    pNode->m_abSideHeight[nSide] = pChild ? pChild->m_bHeight : 0;
    Total(pNode);
}

// Both sides read from the children: only where they both may have changed.
void CAVLTree::Update(CTreeNode* pNode)
{
    TakeSide(pNode, pNode->Left(), 0);
    TakeSide(pNode, pNode->Right(), 1);
}

void CAVLTree::Transplant(CTreeNode* pOld, CTreeNode* pNew)
{
    CTreeNode* pParent = pOld->Parent();
    if (!pParent)
        m_pRoot = pNew;
    else if (pParent->Left() == pOld)
        pParent->SetLeft(pNew);
    else
        pParent->SetRight(pNew);
    if (pNew)
        pNew->SetParent(pParent);
}

CTreeNode* CAVLTree::RotateLeft(CTreeNode* pNode)
{
    CTreeNode* pPivot = pNode->Right();
    Transplant(pNode, pPivot);
    pNode->SetRight(pPivot->Left());
    if (pNode->Right())
        pNode->Right()->SetParent(pNode);
    pPivot->SetLeft(pNode);
    pNode->SetParent(pPivot);
    // The node's right side is now what was the pivot's left: the pivot kept its figures.
    pNode->m_anSideWeight[1] = pPivot->m_anSideWeight[0];
    pNode->m_abSideHeight[1] = pPivot->m_abSideHeight[0];
    Total(pNode);
    TakeSide(pPivot, pNode, 0);
    return pPivot;
}

CTreeNode* CAVLTree::RotateRight(CTreeNode* pNode)
{
    CTreeNode* pPivot = pNode->Left();
    Transplant(pNode, pPivot);
    pNode->SetLeft(pPivot->Right());
    if (pNode->Left())
        pNode->Left()->SetParent(pNode);
    pPivot->SetRight(pNode);
    pNode->SetParent(pPivot);
    pNode->m_anSideWeight[0] = pPivot->m_anSideWeight[1];
    pNode->m_abSideHeight[0] = pPivot->m_abSideHeight[1];
    Total(pNode);
    TakeSide(pPivot, pNode, 1);
    return pPivot;
}

// Rotates a node whose sides differ by two; returns the subtree's new root.
CTreeNode* CAVLTree::Rotate(CTreeNode* pNode, int nBalance)
{
    if (nBalance > 1) {
        CTreeNode* pRight = pNode->Right();
        if (pRight->m_abSideHeight[0] > pRight->m_abSideHeight[1]) {
            RotateRight(pRight);
            TakeSide(pNode, pNode->Right(), 1);
        }
        return RotateLeft(pNode);
    }
    if (nBalance < -1) {
        CTreeNode* pLeft = pNode->Left();
        if (pLeft->m_abSideHeight[1] > pLeft->m_abSideHeight[0]) {
            RotateLeft(pLeft);
            TakeSide(pNode, pNode->Left(), 0);
        }
        return RotateRight(pNode);
    }
    return pNode;
}

// Most steps of a walk up find the node balanced: that check stays inline.
inline CTreeNode* CAVLTree::Balance(CTreeNode* pNode)
{
    int nBalance = pNode->m_abSideHeight[1] - pNode->m_abSideHeight[0];
    return nBalance > 1 || nBalance < -1 ? Rotate(pNode, nBalance) : pNode;
}

// The node's own figures are right: walks up to the root, each parent taking the figures of the
// side it came from and rotating where the sides differ by two. The figures travel up in
// registers: reading back what the step below stored would make every step wait for it.
void CAVLTree::WalkUp(CTreeNode* pNode)
{
    // The walk follows parent links as numbers: a side is found by comparing the child's number.
    int nLines = pNode->Subtree();
    int nHeight = pNode->m_bHeight;
    uint32_t nNode = CNodePool::LinkOf(pNode);
    uint32_t nUp = pNode->LinkAt(2);
    while (nUp) {
        CTreeNode* pParent = CNodePool::AtLive<CTreeNode>(nUp);
        int nSide = pParent->LinkAt(1) == nNode;
        if (pParent->m_abSideHeight[nSide] == nHeight)
            break;
        int nOtherLines = pParent->m_anSideWeight[nSide ^ 1];
        int nOtherHeight = pParent->m_abSideHeight[nSide ^ 1];
        pParent->m_anSideWeight[nSide] = nLines;
        pParent->m_abSideHeight[nSide] = static_cast<BYTE>(nHeight);
        int nBalance = nSide ? nHeight - nOtherHeight : nOtherHeight - nHeight;    // right minus left
        if (nBalance > 1 || nBalance < -1) {
            pNode = Rotate(pParent, nBalance);
            nLines = pNode->Subtree();
            nHeight = pNode->m_bHeight;
            nNode = CNodePool::LinkOf(pNode);
            nUp = pNode->LinkAt(2);
            continue;
        }
        nLines += nOtherLines + pParent->m_nWeight;
        nHeight = 1 + std::max(nHeight, nOtherHeight);
        pParent->m_bHeight = static_cast<BYTE>(nHeight);
        nNode = nUp;
        nUp = pParent->LinkAt(2);
    }
    // A subtree whose height stayed leaves every height and balance above as it was: from here
    // up only the line counts change, most walks' longer part.
    while (nUp) {
        CTreeNode* pParent = CNodePool::AtLive<CTreeNode>(nUp);
        int nSide = pParent->LinkAt(1) == nNode;
        pParent->m_anSideWeight[nSide] = nLines;
        nLines += pParent->m_anSideWeight[nSide ^ 1] + pParent->m_nWeight;
        nNode = nUp;
        nUp = pParent->LinkAt(2);
    }
}

// The node's own figures are made right here, then the walk up.
void CAVLTree::RebalanceFrom(CTreeNode* pNode)
{
    if (!pNode)
        return;
    Update(pNode);
    WalkUp(Balance(pNode));
}

void CAVLTree::RefreshWeights(CTreeNode* pNode)
{
    if (!pNode)
        return;
    pNode->m_nWeight = GetNodeWeight(pNode);
    Total(pNode);
    WalkUp(pNode);
}

void CAVLTree::RecalcAllWeights()
{
    std::vector<CTreeNode*> nodes;
    CollectNodes(nodes, TRUE);
    for (CTreeNode* pNode : nodes) {
        pNode->m_nWeight = GetNodeWeight(pNode);
        Update(pNode);
    }
}

void CAVLTree::LinkNode(CTreeNode* pParent, BOOL bLeft, CTreeNode* pNode)
{
    ++m_nChanges;
    pNode->ClearLinks();
    pNode->m_nWeight = GetNodeWeight(pNode);
    Total(pNode);
    pNode->SetParent(pParent);
    ++m_nNodes;
    if (!pParent)
        m_pRoot = pNode;
    else if (bLeft)
        pParent->SetLeft(pNode);
    else
        pParent->SetRight(pNode);
    WalkUp(pNode);
}

void CAVLTree::UnlinkNode(CTreeNode* pNode)
{
    // A hint made while the node was still in (a row on the move) stays good without it: the
    // other nodes keep their order, and an empty link at the hinted node is still the place
    // between it and its neighbour. Only a hint at the node itself is lost.
    if (m_hint.pParent && m_hint.nChanges == m_nChanges && m_hint.nRowId == pNode->m_nRowId
        && m_hint.pParent != pNode)
        ++m_hint.nChanges;
    ++m_nChanges;
    CTreeNode* pFix;
    if (pNode->Left() && pNode->Right()) {
        // The in-order predecessor takes the node's place.
        CTreeNode* pPred = pNode->Left();
        while (pPred->Right())
            pPred = pPred->Right();
        if (pPred->Parent() != pNode) {
            pFix = pPred->Parent();
            pFix->SetRight(pPred->Left());
            if (pPred->Left())
                pPred->Left()->SetParent(pFix);
            pPred->SetLeft(pNode->Left());
            pPred->Left()->SetParent(pPred);
        } else {
            pFix = pPred;
        }
        pPred->SetRight(pNode->Right());
        pPred->Right()->SetParent(pPred);
        // The predecessor's right side is the removed node's, unchanged; its left side is
        // brought up to date by the walk from pFix.
        pPred->m_anSideWeight[1] = pNode->m_anSideWeight[1];
        pPred->m_abSideHeight[1] = pNode->m_abSideHeight[1];
        // Its height too, as the node's parent has it: the walk up stops recomputing heights
        // where a subtree's height stayed, and this one must be right when that is below it.
        pPred->m_bHeight = pNode->m_bHeight;
        if (pFix != pPred) {
            pPred->m_anSideWeight[0] = pNode->m_anSideWeight[0];
            pPred->m_abSideHeight[0] = pNode->m_abSideHeight[0];
        }
        Transplant(pNode, pPred);
    } else {
        pFix = pNode->Parent();
        Transplant(pNode, pNode->Left() ? pNode->Left() : pNode->Right());
    }
    pNode->ClearLinks();
    --m_nNodes;
    RebalanceFrom(pFix);
}

// The new node takes the old one's links and height, its weight counted anew up to the root;
// the old one is left detached.
void CAVLTree::ReplaceNode(CTreeNode* pOld, CTreeNode* pNew)
{
    ++m_nChanges;
    pNew->SetLeft(pOld->Left());
    pNew->SetRight(pOld->Right());
    pNew->m_bHeight = pOld->m_bHeight;
    pNew->m_anSideWeight[0] = pOld->m_anSideWeight[0];
    pNew->m_anSideWeight[1] = pOld->m_anSideWeight[1];
    pNew->m_abSideHeight[0] = pOld->m_abSideHeight[0];
    pNew->m_abSideHeight[1] = pOld->m_abSideHeight[1];
    if (pNew->Left())
        pNew->Left()->SetParent(pNew);
    if (pNew->Right())
        pNew->Right()->SetParent(pNew);
    Transplant(pOld, pNew);
    pOld->ClearLinks();
    RefreshWeights(pNew);
}

CTreeNode* CAVLTree::PlaceNode(CTreeNode* pParent, BOOL bLeft, CTreeNode* pNode, int)
{
    LinkNode(pParent, bLeft, pNode);
    return pNode;
}

CTreeNode* CAVLTree::PlaceNodeAt(CTreeNode* pParent, BOOL bLeft, CTreeNode* pNode, int nIndex)
{
    return PlaceNode(pParent, bLeft, pNode, nIndex);
}

void CAVLTree::OnDuplicate(CTreeNode*, CTreeNode*, int)
{
}

int CAVLTree::Insert(CTreeNode* pNode)
{
    OnInserting();
    if (m_pRoot && (m_bAppending || AppendsFirst())) {
        // One comparison with the last node instead of one per level, when it goes after it.
        CTreeNode* pLast = m_pRoot;
        while (pLast->Right())
            pLast = pLast->Right();
        int nCmp = CompareNodes(pNode, pLast);
        if (nCmp > 0 || (nCmp == 0 && LinksEqualNodes())) {
            PlaceNode(pLast, FALSE, pNode, GetSubtreeWeight(m_pRoot));
            OnInserted();
            return 1;
        }
        if (nCmp == 0) {
            OnDuplicate(pNode, pLast, GetSubtreeWeight(m_pRoot) - pLast->m_nWeight);
            OnInserted();
            return 0;
        }
        m_bAppending = FALSE;
    }
    CTreeNode* pParent = nullptr;
    CTreeNode* pCur = m_pRoot;
    BOOL bLeft = FALSE;
    BOOL bEverLeft = FALSE;
    int nOffset = 0;        // lines before the current subtree
    while (pCur) {
        int nCmp = CompareNodes(pNode, pCur);
        if (nCmp == 0) {
            if (!LinksEqualNodes()) {
                m_bAppending = FALSE;
                OnDuplicate(pNode, pCur, nOffset + pCur->LeftWeight());
                OnInserted();
                return 0;
            }
            nCmp = 1;
        }
        pParent = pCur;
        bLeft = nCmp < 0;
        bEverLeft |= bLeft;
        // Selected, not branched on: which way a walk down goes is a coin toss for the processor.
        int nMask = -static_cast<int>(bLeft);
        nOffset += (pCur->LeftWeight() + pCur->m_nWeight) & ~nMask;
        pCur = pCur->Child(!bLeft);
    }
    // Rows often come in key order (a table of trades by time): after one insert at the end, the
    // next is first compared with the last node. Inserts in no order do not keep it up.
    m_bAppending = !bEverLeft && pParent;
    PlaceNode(pParent, bLeft, pNode, nOffset);
    OnInserted();
    return 1;
}

int CAVLTree::InsertAt(int nIndex, CTreeNode* pNode)
{
    OnInserting();
    nIndex = std::clamp(nIndex, 0, GetCount());
    CTreeNode* pParent = nullptr;
    CTreeNode* pCur = m_pRoot;
    BOOL bLeft = FALSE;
    int nOffset = 0;
    while (pCur) {
        int nAt = nOffset + pCur->LeftWeight();
        int nWeight = pCur->m_nWeight;
        pParent = pCur;
        if (nIndex == nAt && nWeight > 0) {
            // Becomes the in-order predecessor: it takes the line, the old one moves down.
            bLeft = TRUE;
            pCur = pCur->Left();
            while (pCur) {
                pParent = pCur;
                bLeft = FALSE;
                pCur = pCur->Right();
            }
            break;
        }
        bLeft = nIndex < nAt;
        if (bLeft) {
            pCur = pCur->Left();
        } else {
            nOffset = nAt + nWeight;
            pCur = pCur->Right();
        }
    }
    PlaceNodeAt(pParent, bLeft, pNode, nIndex);
    OnInserted();
    return 1;
}

// Nodes whose subtrees are taller than this are near the root: nearly every walk passes them,
// so they stay in cache.
#define TOUCH_CACHED_BELOW 9

// One step down of an exact walk, as the tree's comparison of rows would take it: rows inserted
// at a position first, then by the packed keys, equal keys by row id.
static const CTreeNode* ExactStep(CTouchWalk& walk)
{
    CTreeNode* pCur = const_cast<CTreeNode*>(walk.pCur);
    BOOL bLeft;
    if (pCur->Kind() == NODE_ROW && !(pCur->m_bFlags & ROW_SORTED)) {
        bLeft = FALSE;
    } else if (pCur->m_chKey1 != walk.key.chKey1 || pCur->m_chKey2 != walk.key.chKey2) {
        walk.bExact = FALSE;
        return nullptr;
    } else {
        uint64_t nKey = walk.key.nKey >> walk.nShift;
        uint64_t nCur = pCur->m_nKeyCache >> walk.nShift;
        if (nKey != nCur) {
            bLeft = nKey < nCur;
        } else {
            // A row without an id compares equal, and equal rows link to the right.
            bLeft = pCur->m_nRowId >= 0 && walk.nRowId < pCur->m_nRowId;
            if (pCur->m_nRowId == walk.nRowId)
                walk.bExact = FALSE;
        }
    }
    walk.pParent = pCur;
    walk.bLeft = bLeft;
    walk.bEverLeft |= bLeft;
    return pCur->Child(!bLeft);
}

// One step of a warming walk: the next node, or null at the walk's end.
static const CTreeNode* TouchStep(CTouchWalk& walk)
{
    const CTreeNode* pCur = walk.pCur;
    switch (walk.nKind) {
    case TOUCH_UP:
        // The levels near the root are in cache: the walk has nothing to fetch there.
        return pCur->m_bHeight > TOUCH_CACHED_BELOW ? nullptr : pCur->Parent();
    case TOUCH_SPINE:
        return pCur->Right();
    case TOUCH_ONE:
        return nullptr;
    case TOUCH_DOWN:
        if (walk.pTree)
            return ExactStep(walk);
        if (pCur->m_chKey1 != walk.key.chKey1 || pCur->m_chKey2 != walk.key.chKey2)
            return nullptr;
        // Equal keys go by row id, as they do in the views.
        return pCur->Child(walk.key.nKey != pCur->m_nKeyCache ? walk.key.nKey > pCur->m_nKeyCache
                                                              : walk.nRowId >= pCur->m_nRowId);
    default:
        return nullptr;
    }
}

void CAVLTree::TouchWalks(CTouchWalk* aWalks, int nCount)
{
    // The misses come near the leaves. A walk down starts with the levels near the root, which
    // stay in cache; brought down to the lower levels first, it waits there at the same time as
    // the walks up, which start at the leaves.
    for (int i = 0; i < nCount; ++i) {
        CTouchWalk& walk = aWalks[i];
        if (walk.nKind == TOUCH_DOWN)
            while (walk.pCur && walk.pCur->m_bHeight > TOUCH_CACHED_BELOW)
                walk.pCur = TouchStep(walk);
        __builtin_prefetch(walk.pCur);
    }
    for (BOOL bAny = nCount > 0; bAny;) {
        bAny = FALSE;
        for (int i = 0; i < nCount; ++i) {
            if (!aWalks[i].pCur)
                continue;
            aWalks[i].pCur = TouchStep(aWalks[i]);
            // Asked for outright: reads whose values go nowhere would be dropped as dead.
            __builtin_prefetch(aWalks[i].pCur);
            bAny = TRUE;
        }
    }
    for (int i = 0; i < nCount; ++i)
        if (aWalks[i].pTree && aWalks[i].bExact && aWalks[i].pParent)
            aWalks[i].pTree->SetInsertHint(aWalks[i]);
}

void CAVLTree::SetInsertHint(const CTouchWalk& walk)
{
    m_hint.pParent = walk.pParent;
    m_hint.bLeft = walk.bLeft;
    m_hint.bEverLeft = walk.bEverLeft;
    m_hint.key = walk.key;
    m_hint.nRowId = walk.nRowId;
    m_hint.nChanges = m_nChanges;
}

BOOL CAVLTree::TakeInsertHint(const CTreeNode* pNode, CTreeNode** ppParent, BOOL* pbLeft, BOOL* pbEverLeft)
{
    CTreeNode* pParent = m_hint.pParent;
    if (!pParent)
        return FALSE;
    m_hint.pParent = nullptr;       // one insert at most
    if (pNode->Kind() != NODE_ROW || !(pNode->m_bFlags & ROW_SORTED) || m_hint.nChanges != m_nChanges || m_hint.nRowId != pNode->m_nRowId || m_hint.key.nKey != pNode->m_nKeyCache
        || m_hint.key.chKey1 != pNode->m_chKey1 || m_hint.key.chKey2 != pNode->m_chKey2
        || (m_hint.bLeft ? pParent->Left() : pParent->Right()))
        return FALSE;
    *ppParent = pParent;
    *pbLeft = m_hint.bLeft;
    *pbEverLeft = m_hint.bEverLeft;
    return TRUE;
}

BOOL CAVLTree::Contains(const CTreeNode* pNode) const
{
    if (!pNode || !m_pRoot)
        return FALSE;
    while (pNode->Parent())
        pNode = pNode->Parent();
    return pNode == m_pRoot;
}

// One walk up: the index, and whether the walk ends at this tree's root.
int CAVLTree::GetIndexOf(const CTreeNode* pNode) const
{
    if (!pNode || !m_pRoot)
        return -1;
    int nIndex = pNode->LeftWeight();
    // A node without a parent is this root or in no tree here; it may be one the pool never
    // made (a caller's key), which has no link to compare.
    if (!pNode->HasParent())
        return pNode == m_pRoot ? nIndex : -1;
    uint32_t nNode = CNodePool::LinkOf(pNode);
    const CTreeNode* pUp = pNode;
    for (uint32_t nUp = pNode->LinkAt(2); nUp; nUp = pUp->LinkAt(2)) {
        pUp = CNodePool::AtLive<CTreeNode>(nUp);
        if (pUp->LinkAt(1) == nNode)
            nIndex += pUp->LeftWeight() + pUp->m_nWeight;
        nNode = nUp;
    }
    return pUp == m_pRoot ? nIndex : -1;
}

int CAVLTree::Remove(CTreeNode* pNode, int nRelease)
{
    int nIndex = GetIndexOf(pNode);
    if (nIndex < 0)
        return 0;
    OnRemoving();
    UnlinkNode(pNode);
    ReleaseNode(pNode, nIndex, nRelease);
    OnRemoved();
    return 1;
}

int CAVLTree::RemoveAt(int nIndex)
{
    CTreeNode* pNode = GetAt(nIndex);
    return pNode ? Remove(pNode, 1) : 0;
}

void CAVLTree::ReleaseNode(CTreeNode* pNode, int, int nRelease)
{
    if (nRelease == 1) {
        if (ITreeAlloc* pAlloc = GetAllocator())
            pAlloc->ReleaseNode(pNode);
    } else {
        pNode->ClearLinks();
    }
}

void CAVLTree::ReleaseAll(CTreeNode* pRoot)
{
    if (!pRoot)
        return;
    std::vector<CTreeNode*> nodes;
    std::vector<CTreeNode*> stack{pRoot};
    while (!stack.empty()) {
        CTreeNode* pNode = stack.back();
        stack.pop_back();
        nodes.push_back(pNode);
        if (pNode->Left())
            stack.push_back(pNode->Left());
        if (pNode->Right())
            stack.push_back(pNode->Right());
    }
    ITreeAlloc* pAlloc = GetAllocator();
    for (CTreeNode* pNode : nodes) {
        pNode->ClearLinks();
        if (pAlloc)
            pAlloc->ReleaseNode(pNode);
    }
}

void CAVLTree::RemoveAll()
{
    CTreeNode* pRoot = DetachRoot();
    ReleaseAll(pRoot);
}

CTreeNode* CAVLTree::DetachRoot()
{
    ++m_nChanges;
    CTreeNode* pRoot = m_pRoot;
    m_pRoot = nullptr;
    m_nNodes = 0;
    return pRoot;
}

CTreeNode* CAVLTree::Find(CTreeNode* pKey)
{
    CTreeNode* pCur = m_pRoot;
    while (pCur) {
        int nCmp = CompareNodes(pKey, pCur);
        if (nCmp == 0)
            return pCur;
        pCur = nCmp < 0 ? pCur->Left() : pCur->Right();
    }
    return nullptr;
}

int CAVLTree::LocateByKey(CTreeNode* pKey, CRowPosition* pPos)
{
    int nOffset = 0;
    CTreeNode* pCur = m_pRoot;
    while (pCur) {
        int nCmp = CompareNodes(pKey, pCur);
        if (nCmp == 0)
            break;
        if (nCmp < 0) {
            pCur = pCur->Left();
        } else {
            nOffset += pCur->LeftWeight() + pCur->m_nWeight;
            pCur = pCur->Right();
        }
    }
    pPos->m_pNode = static_cast<CTableRow*>(pCur);
    pPos->m_nIndex = pCur ? nOffset + pCur->LeftWeight() : -1;
    pPos->m_nKind = pCur ? LINE_ROW : LINE_NONE;
    return pCur ? 1 : 0;
}

CTreeNode* CAVLTree::FindLine(int nIndex, int* pnStart)
{
    if (nIndex < 0)
        return nullptr;
    int nOffset = 0;
    CTreeNode* pCur = m_pRoot;
    while (pCur) {
        int nAt = nOffset + pCur->LeftWeight();
        int nWeight = pCur->m_nWeight;
        if (nIndex < nAt) {
            pCur = pCur->Left();
        } else if (nIndex < nAt + nWeight) {
            if (pnStart)
                *pnStart = nAt;
            return pCur;
        } else {
            nOffset = nAt + nWeight;
            pCur = pCur->Right();
        }
    }
    return nullptr;
}

CTreeNode* CAVLTree::GetAt(int nIndex)
{
    int nStart = -1;
    CTreeNode* pNode = FindLine(nIndex, &nStart);
    return pNode && nStart == nIndex ? pNode : nullptr;
}

CTreeNode* CAVLTree::First() const
{
    CTreeNode* pCur = m_pRoot;
    while (pCur && pCur->Left())
        pCur = pCur->Left();
    return pCur;
}

CTreeNode* CAVLTree::Next(const CTreeNode* pNode)
{
    if (pNode->Right()) {
        CTreeNode* pCur = pNode->Right();
        while (pCur->Left())
            pCur = pCur->Left();
        return pCur;
    }
    while (pNode->Parent() && pNode->Parent()->Right() == pNode)
        pNode = pNode->Parent();
    return pNode->Parent();
}

void CAVLTree::CollectNodes(std::vector<CTreeNode*>& nodes, BOOL bPostOrder) const
{
    if (!bPostOrder) {
        for (CTreeNode* pNode = First(); pNode; pNode = Next(pNode))
            nodes.push_back(pNode);
        return;
    }
    // Reverse of a right-first pre-order is a left-first post-order.
    size_t nStart = nodes.size();
    std::vector<CTreeNode*> stack;
    if (m_pRoot)
        stack.push_back(m_pRoot);
    while (!stack.empty()) {
        CTreeNode* pNode = stack.back();
        stack.pop_back();
        nodes.push_back(pNode);
        if (pNode->Left())
            stack.push_back(pNode->Left());
        if (pNode->Right())
            stack.push_back(pNode->Right());
    }
    std::reverse(nodes.begin() + static_cast<std::ptrdiff_t>(nStart), nodes.end());
}

void CAVLTree::ReinsertSubtree(CTreeNode* pRoot)
{
    if (!pRoot)
        return;
    // Collect first: re-inserting rewrites the links a walk would follow.
    std::vector<CTreeNode*> nodes;
    std::vector<CTreeNode*> stack{pRoot};
    while (!stack.empty()) {
        CTreeNode* pNode = stack.back();
        stack.pop_back();
        nodes.push_back(pNode);
        if (pNode->Left())
            stack.push_back(pNode->Left());
        if (pNode->Right())
            stack.push_back(pNode->Right());
    }
    std::reverse(nodes.begin(), nodes.end());
    for (CTreeNode* pNode : nodes) {
        pNode->ClearLinks();
        Insert(pNode);
    }
}

void CAVLTree::Resort()
{
    ReinsertSubtree(DetachRoot());
}

BOOL CAVLTree::VisitNode(ITreeVisitor* pVisitor, CTreeNode* pNode, int nIndex)
{
    return pVisitor->VisitNode(pNode, nIndex);
}

int CAVLTree::WalkRange(ITreeVisitor* pVisitor, int nOffset)
{
    int nFirst = pVisitor->GetFirstRow();
    int nLast = pVisitor->GetLastRow();
    if (nFirst < 0 && nLast < 0) {
        nFirst = INT_MIN;
        nLast = INT_MAX;
    } else if (nLast < 0) {
        nLast = INT_MAX;
    }
    // The first node whose lines end after nFirst (or, showing none, stands at or after it).
    CTreeNode* pStart = nullptr;
    int nStartIndex = 0;
    int nBase = nOffset;
    for (CTreeNode* pCur = m_pRoot; pCur;) {
        int nAt = nBase + pCur->LeftWeight();
        int nWeight = pCur->m_nWeight;
        BOOL bMeets = nWeight > 0 ? nAt + nWeight > nFirst : nAt >= nFirst;
        if (bMeets) {
            pStart = pCur;
            nStartIndex = nAt;
            pCur = pCur->Left();
        } else {
            nBase = nAt + nWeight;
            pCur = pCur->Right();
        }
    }
    int nIndex = nStartIndex;
    for (CTreeNode* pNode = pStart; pNode; pNode = Next(pNode)) {
        if (nIndex > nLast)
            return 1;
        int nWeight = pNode->m_nWeight;
        if (!VisitNode(pVisitor, pNode, nIndex))
            return 0;
        if (nWeight > 0 && nLast >= nIndex && nLast < nIndex + nWeight)
            return 0;
        nIndex += nWeight;
    }
    return 1;
}

int CAVLTree::CheckSubtree(CTreeNode* pNode, CTreeNode* pParent, BOOL* pbOk)
{
    if (!pNode)
        return 0;
    if (pNode->Parent() != pParent)
        *pbOk = FALSE;
    int nLeft = CheckSubtree(pNode->Left(), pNode, pbOk);
    int nRight = CheckSubtree(pNode->Right(), pNode, pbOk);
    if (pNode->m_bHeight != 1 + std::max(nLeft, nRight) || std::abs(nLeft - nRight) > 1)
        *pbOk = FALSE;
    if (pNode->m_abSideHeight[0] != nLeft || pNode->m_abSideHeight[1] != nRight
        || pNode->m_anSideWeight[0] != (pNode->Left() ? pNode->Left()->Subtree() : 0)
        || pNode->m_anSideWeight[1] != (pNode->Right() ? pNode->Right()->Subtree() : 0))
        *pbOk = FALSE;
    if (pNode->m_nWeight != GetNodeWeight(pNode))
        *pbOk = FALSE;
    return 1 + std::max(nLeft, nRight);
}

BOOL CAVLTree::CheckInvariants()
{
    BOOL bOk = TRUE;
    if (m_pRoot && m_pRoot->Parent())
        bOk = FALSE;
    CheckSubtree(m_pRoot, nullptr, &bOk);
    return bOk;
}
