#pragma once
#include <cstddef>
#include <cstdint>
#include "framework/base/ColumnDataType.h"
#include "framework/table/NodePool.h"

class CViewTable;
class CTableColumn;

// Node kinds answered by GetKind.
#define NODE_TABLE      1
#define NODE_GROUP      2
#define NODE_ROW        3
#define NODE_SUM        4
#define NODE_EMPTY      5

// Row flag bits.
#define ROW_HIDDEN      0x01    // filtered out of the display; stays in key order
#define ROW_MARKED      0x02
#define ROW_EDITABLE    0x04
#define ROW_MARKABLE    0x08
#define ROW_SORTED      0x10    // takes part in the key order; cleared by a positional insert
#define ROW_KEPT_BITS   0xe0    // survive a reset

// Cell attribute bytes (three per column).
#define CELL_BACK_MASK  0x7f    // byte 0: background colour index
#define CELL_TEXT_MASK  0x7f    // byte 1: text colour index
#define CELL_BOLD       0x80    // byte 1
#define CELL_FRACTION   0x01    // byte 2: show as sixty-fourths

// The empty marker base of every engine object.
class CTableObject
{
public:
    virtual ~CTableObject() = default;
};

// A node's first sort keys packed into one number, with the tags that say which keys it holds.
struct CPackedKey
{
    uint64_t nKey = 0;
    signed char chKey1 = 0;             // 0: nothing packed
    signed char chKey2 = 0;
};

// A node of a positional balanced tree. The tree owns the links; parent links let a node be
// removed and its display index be found without comparing keys.
//
// The node is one cache line: a walk down (links, packed keys, line counts, row id and flags for
// the comparisons) or up (links, the children's figures) costs one line a level, and the caches
// hold twice the nodes they held of 128 bytes. Nodes come from CNodePool (slots on cache lines),
// so links are 32-bit; what walks never read lives in a side record (CNodeSide).
class CTreeNode : public CTableObject
{
public:
    virtual void Init(TBCellSlot* pData);
    virtual int  GetKind() const = 0;
    virtual void SetData(TBCellSlot* pData) { m_pData = pData; }
    TBCellSlot* GetData() const { return m_pData; }
    void ClearLinks();
    // GetKind without the virtual call, for the comparisons every lookup makes.
    int  Kind() const { return m_bKind; }

    // Every node comes from CNodePool, so that its links can be 32-bit numbers: derived nodes
    // too, whatever their size (up to CNodePool::SLOTS_MAX slots).
    static void* operator new(size_t nSize) { return CNodePool::Allocate(nSize); }
    static void  operator delete(void* p, size_t nSize) { CNodePool::Free(p, nSize); }

    // Links (the tree owns them): children by side (0 left, 1 right), so that a walk takes a side
    // by index instead of a branch the processor would have to guess, and the parent.
    CTreeNode* Left() const { return CNodePool::At<CTreeNode>(m_anLink[0]); }
    CTreeNode* Right() const { return CNodePool::At<CTreeNode>(m_anLink[1]); }
    CTreeNode* Child(int nSide) const { return CNodePool::At<CTreeNode>(m_anLink[nSide]); }
    CTreeNode* Parent() const { return CNodePool::At<CTreeNode>(m_anLink[2]); }
    void SetLeft(CTreeNode* pNode) { m_anLink[0] = CNodePool::LinkOf(pNode); }
    void SetRight(CTreeNode* pNode) { m_anLink[1] = CNodePool::LinkOf(pNode); }
    void SetParent(CTreeNode* pNode) { m_anLink[2] = CNodePool::LinkOf(pNode); }
    BOOL HasLeft() const { return m_anLink[0] != 0; }
    BOOL HasRight() const { return m_anLink[1] != 0; }
    BOOL HasParent() const { return m_anLink[2] != 0; }
    // The links as numbers (0 left, 1 right, 2 parent), for walks that follow them without
    // turning each into an address and back.
    uint32_t LinkAt(int n) const { return m_anLink[n]; }
    // The side (0 left, 1 right) where pChild hangs, without decoding a link.
    int SideOf(const CTreeNode* pChild) const { return m_anLink[1] == CNodePool::LinkOf(pChild); }

private:
    uint32_t m_anLink[3] = {0, 0, 0};

public:
    int m_nRowId = -1;                  // rows: unique within the view, -1 while unassigned
    // The view's first sort keys packed into one number that orders as the keys do (see
    // CTableColumns::CacheSortKey); m_chKey1/m_chKey2 say which keys it holds, 0 = none.
    uint64_t m_nKeyCache = 0;
    // A node keeps its children's heights and line counts too, so that a walk up the tree never
    // has to read the sibling it did not come from (a cache miss on every level otherwise).
    // Each side's figures sit in a pair indexed by the side (0 left, 1 right), so that a walk up
    // takes the side it comes from without a branch (a guess the processor would miss half the time).
    int m_nWeight = 0;                  // display lines of this node, as its tree last counted them
    int m_anSideWeight[2] = {0, 0};     // display lines of the left and right subtrees
    BYTE m_bHeight = 1;                 // AVL height of the subtree rooted here
    BYTE m_abSideHeight[2] = {0, 0};

protected:
    BYTE m_bKind = 0;                   // what GetKind answers, set by each node class

public:
    BYTE m_bFlags = 0;                  // rows: ROW_ bits
    signed char m_chKey1 = 0;           // (column + 1) * direction of each packed key, 0 = none
    signed char m_chKey2 = 0;

protected:
    uint32_t m_nSide = 0;               // link of the side record (CTableTreeNode), 0 = none yet

public:
    TBCellSlot* m_pData = nullptr;      // value block, not owned (the allocator decides)

    int LeftWeight() const { return m_anSideWeight[0]; }
    int RightWeight() const { return m_anSideWeight[1]; }
    // Display lines of the node and both subtrees.
    int Subtree() const { return m_nWeight + m_anSideWeight[0] + m_anSideWeight[1]; }
};

// What a node of a view keeps besides what the walks read: its display attributes and, for
// rows, the fields only the grid, filters and groups look at. Kept out of the node so that the
// node stays one cache line; made on the first value other than the default.
struct CNodeSide
{
    int64_t tStamp = 0;
    BYTE* pAttrs = nullptr;             // three bytes per column, owned; null while all are 0
    uint32_t nGroup = 0;                // link of the group that holds the row
    DWORD dwCategory = 0;
    int nAttrColumns = 0;
    char chStatus = ' ';
};

// A node with display attributes for every cell of its view.
class CTableTreeNode : public CTreeNode
{
public:
    CTableTreeNode() { m_bKind = NODE_TABLE; }
    ~CTableTreeNode() override;
    int GetKind() const override { return NODE_TABLE; }
    // Cell text and edit (rows and cursors); the view gives the columns.
    virtual void GetCellText(char* pszBuf, int nSize, int nCol, const CTableColumn* pColumn, CViewTable* pView);
    virtual BOOL SetCellText(const char* pszText, int nCol, const CTableColumn* pColumn, CViewTable* pView);

    // Attributes; a column outside the array reads 0 and ignores writes. Most rows never get
    // one, so the array is made on the first attribute set.
    void AllocAttributes(int nColumns);
    void CopyAttributes(const CTableTreeNode& other);
    BYTE GetAttr(int nCol, int nByte) const
    {
        const CNodeSide* pSide = Side();
        return pSide && pSide->pAttrs && nCol >= 0 && nCol < pSide->nAttrColumns ? pSide->pAttrs[nCol * 3 + nByte] : 0;
    }
    void SetAttr(int nCol, int nByte, BYTE b);
    BOOL IsFraction(int nCol) const { return (GetAttr(nCol, 2) & CELL_FRACTION) != 0; }
    int  GetAttrColumns() const { const CNodeSide* pSide = Side(); return pSide ? pSide->nAttrColumns : 0; }

    // Asks for the side record ahead of a write to it.
    void PrefetchSide() const
    {
        if (m_nSide)
            __builtin_prefetch(CNodePool::At<const char>(m_nSide), 1);
    }

protected:
    const CNodeSide* Side() const { return CNodePool::At<CNodeSide>(m_nSide); }
    CNodeSide* Side() { return CNodePool::At<CNodeSide>(m_nSide); }
    // The side record, made when missing.
    CNodeSide& MakeSide();
    // Back to a side record's defaults (kept, for the node's next use).
    void ResetSide();
};

// A data row of a view.
class CTableRow : public CTableTreeNode
{
public:
    CTableRow();
    int GetKind() const override { return NODE_ROW; }
    virtual void ClearValues(CViewTable* pView);
    virtual void SetEditable(BOOL bEditable);
    virtual void ResetRow();
    void CopyFrom(const CTableRow& src, CViewTable* pView, int nFlags);
    // Back to the state of a new row, for the allocator to hand out again.
    void Recycle();

    BOOL IsHidden() const { return (m_bFlags & ROW_HIDDEN) != 0; }
    BOOL IsMarked() const { return (m_bFlags & ROW_MARKED) != 0; }
    BOOL IsSorted() const { return (m_bFlags & ROW_SORTED) != 0; }
    void SetFlag(BYTE bFlag, BOOL bOn) { m_bFlags = bOn ? (m_bFlags | bFlag) : (m_bFlags & ~bFlag); }

    // Row categories, see CTableRows::HideByCategory.
    DWORD GetCategory() const { const CNodeSide* pSide = Side(); return pSide ? pSide->dwCategory : 0; }
    void  SetCategory(DWORD dwCategory);
    char  GetStatus() const { const CNodeSide* pSide = Side(); return pSide ? pSide->chStatus : ' '; }
    void  SetStatus(char chStatus);
    // Time of the last change, seconds; 0 = none to show.
    int64_t GetStamp() const { const CNodeSide* pSide = Side(); return pSide ? pSide->tStamp : 0; }
    void  SetStamp(int64_t tStamp);
    // The group that holds the row, null when bare or detached.
    class CTableGroup* GetGroup() const
    {
        const CNodeSide* pSide = Side();
        return pSide ? CNodePool::At<class CTableGroup>(pSide->nGroup) : nullptr;
    }
    void  SetGroup(class CTableGroup* pGroup);
};

// An empty separator line: every cell reads empty.
class CTableRowEmpty : public CTableRow
{
public:
    CTableRowEmpty();
    int GetKind() const override { return NODE_EMPTY; }
    void ResetRow() override;
    void GetCellText(char* pszBuf, int nSize, int nCol, const CTableColumn* pColumn, CViewTable* pView) override;
};
