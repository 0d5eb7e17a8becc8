// The positional balanced tree: balance, weights, parent links and order after every step of
// random inserts, positional inserts and removals, against a plain vector.
#include <gtest/gtest.h>
#include <algorithm>
#include <random>
#include <vector>
#include "framework/table/AVLTree.h"
#include "framework/table/TreeAlloc.h"

namespace {

struct CKeyNode : CTreeNode
{
    int nKey = 0;
    int nWeight = 1;
    int GetKind() const override { return 99; }
};

class CCountingAlloc : public ITreeAlloc
{
public:
    void ReleaseNode(CTreeNode* pNode) override
    {
        ++m_nReleased;
        delete pNode;
    }
    void FreeNodeData(CTreeNode*) override {}
    TBCellSlot* AllocValues(const CTableColumns*) override { return nullptr; }
    ITreeAlloc* Clone() const override { return new CCountingAlloc; }
    int m_nReleased = 0;
};

class CKeyTree : public CAVLTree
{
public:
    ~CKeyTree() override { RemoveAll(); }
    int CompareNodes(CTreeNode* pA, CTreeNode* pB) override
    {
        int a = static_cast<CKeyNode*>(pA)->nKey, b = static_cast<CKeyNode*>(pB)->nKey;
        return a < b ? -1 : (a > b ? 1 : 0);
    }
    ITreeAlloc* GetAllocator() override { return &m_alloc; }
    int GetNodeWeight(CTreeNode* pNode) override { return static_cast<CKeyNode*>(pNode)->nWeight; }
    CCountingAlloc m_alloc;
};

CKeyNode* Node(int nKey, int nWeight = 1)
{
    CKeyNode* pNode = new CKeyNode;
    pNode->nKey = nKey;
    pNode->nWeight = nWeight;
    return pNode;
}

std::vector<CKeyNode*> InOrder(CKeyTree& tree)
{
    std::vector<CTreeNode*> nodes;
    tree.CollectNodes(nodes, FALSE);
    std::vector<CKeyNode*> out;
    for (CTreeNode* p : nodes)
        out.push_back(static_cast<CKeyNode*>(p));
    return out;
}

}  // namespace

TEST(AVLTree, SortedAndPositionalInsertsAndRemovalsKeepInvariantsAndIndexes)
{
    std::mt19937 rng(3);
    CKeyTree tree;
    std::vector<CKeyNode*> model;       // the display order
    for (int nStep = 0; nStep < 4000; ++nStep) {
        int nOp = static_cast<int>(rng() % 10);
        if (nOp < 4 || model.empty()) {
            CKeyNode* pNode = Node(static_cast<int>(rng() % 1000), static_cast<int>(rng() % 3));
            if (tree.Insert(pNode)) {
                auto at = std::upper_bound(model.begin(), model.end(), pNode,
                                           [](CKeyNode* a, CKeyNode* b) { return a->nKey < b->nKey; });
                model.insert(at, pNode);
            } else {
                delete pNode;   // an equal key links nothing
            }
        } else if (nOp < 6) {
            // Positional: keys follow the position so that the order stays sorted.
            size_t nAt = rng() % (model.size() + 1);
            int nIndex = 0;
            for (size_t i = 0; i < nAt; ++i)
                nIndex += model[i]->nWeight;
            int nLow = nAt > 0 ? model[nAt - 1]->nKey : -1000000;
            int nHigh = nAt < model.size() ? model[nAt]->nKey : 1000000;
            if (nHigh - nLow < 2)
                continue;
            CKeyNode* pNode = Node(nLow + 1, 1);
            // Before the line at nIndex: only when that line is the node at nAt.
            if (nAt < model.size() && model[nAt]->nWeight == 0) {
                delete pNode;
                continue;
            }
            tree.InsertAt(nIndex, pNode);
            model.insert(model.begin() + static_cast<std::ptrdiff_t>(nAt), pNode);
        } else {
            size_t i = rng() % model.size();
            ASSERT_EQ(1, tree.Remove(model[i], nOp == 9 ? 0 : 1));
            if (nOp == 9)
                delete model[i];        // detached, not released
            model.erase(model.begin() + static_cast<std::ptrdiff_t>(i));
        }
        ASSERT_TRUE(tree.CheckInvariants()) << "step " << nStep;
        ASSERT_EQ(model, InOrder(tree)) << "step " << nStep;
        int nIndex = 0;
        for (CKeyNode* pNode : model) {
            ASSERT_EQ(nIndex, tree.GetIndexOf(pNode));
            if (pNode->nWeight > 0) {
                ASSERT_EQ(pNode, tree.GetAt(nIndex));
            }
            nIndex += pNode->nWeight;
        }
        ASSERT_EQ(nIndex, tree.GetCount());
        ASSERT_EQ(static_cast<int>(model.size()), tree.GetNodeCount());
    }
}

TEST(AVLTree, LookupsRefuseWhatIsNotThere)
{
    CKeyTree tree;
    EXPECT_EQ(0, tree.GetCount());
    EXPECT_EQ(nullptr, tree.GetAt(0));
    CKeyNode* pHidden = Node(1, 0);
    CKeyNode* pShown = Node(2, 1);
    tree.Insert(pHidden);
    tree.Insert(pShown);
    // One hidden, one visible: one line, and line 0 is the visible one.
    EXPECT_EQ(1, tree.GetCount());
    EXPECT_EQ(pShown, tree.GetAt(0));
    EXPECT_EQ(nullptr, tree.GetAt(1));
    EXPECT_EQ(nullptr, tree.GetAt(-1));
    EXPECT_EQ(0, tree.RemoveAt(5));
    CKeyNode stranger;
    EXPECT_EQ(0, tree.Remove(&stranger, 1));
    EXPECT_EQ(-1, tree.GetIndexOf(&stranger));
    CKeyNode key;
    key.nKey = 2;
    EXPECT_EQ(pShown, tree.Find(&key));
    key.nKey = 3;
    EXPECT_EQ(nullptr, tree.Find(&key));
}

TEST(AVLTree, InsertAtPutsTheNewLineBeforeAndAppendsAtTheEnd)
{
    CKeyTree tree;
    CKeyNode* pA = Node(10);
    CKeyNode* pB = Node(20);
    tree.Insert(pA);
    tree.Insert(pB);
    CKeyNode* pBefore = Node(15);
    tree.InsertAt(1, pBefore);
    CKeyNode* pEnd = Node(30);
    tree.InsertAt(tree.GetCount(), pEnd);
    EXPECT_EQ((std::vector<CKeyNode*>{pA, pBefore, pB, pEnd}), InOrder(tree));
    EXPECT_TRUE(tree.CheckInvariants());
}

TEST(AVLTree, RemovingTheRootOfThreeKeepsBalanceAndReleasesThroughTheAllocator)
{
    CKeyTree tree;
    CKeyNode* p1 = Node(1);
    CKeyNode* p2 = Node(2);
    CKeyNode* p3 = Node(3);
    tree.Insert(p1);
    tree.Insert(p2);
    tree.Insert(p3);
    ASSERT_EQ(p2, tree.GetRoot());
    ASSERT_EQ(1, tree.Remove(p2, 1));
    EXPECT_EQ(1, tree.m_alloc.m_nReleased);
    EXPECT_TRUE(tree.CheckInvariants());
    EXPECT_EQ((std::vector<CKeyNode*>{p1, p3}), InOrder(tree));
    EXPECT_EQ(1, tree.GetIndexOf(p3));
    tree.Resort();
    EXPECT_EQ((std::vector<CKeyNode*>{p1, p3}), InOrder(tree));
    tree.RemoveAll();
    EXPECT_EQ(3, tree.m_alloc.m_nReleased);
    EXPECT_EQ(0, tree.GetCount());
}
