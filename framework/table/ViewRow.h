#pragma once
#include <cstdint>
#include "framework/base/TBString.h"
#include "framework/table/RowPosition.h"
#include "framework/table/TreeNode.h"

class CViewTable;
struct CTouchWalk;

// Cell write flags, combined by the callers.
#define WRITE_RAW        0x001   // a raw cell slot, or with column -1 a whole value block
#define WRITE_VALUE      0x200   // a typed value through CTableColumns::SetSlotValue
#define WRITE_TEXTCOLOR  0x002
#define WRITE_BACKCOLOR  0x400
#define WRITE_BOLD       0x004
#define WRITE_FRACTION   0x008
#define WRITE_VALUES     (WRITE_RAW | WRITE_VALUE | WRITE_FRACTION)

#define MARK_UNCHANGED   0x80
#define MARK_CHANGED     0x7f

// Attributes of a whole-row write: one entry per column (null = leave them).
struct CRowAttributes
{
    const BYTE* pTextColor = nullptr;
    const BYTE* pBackColor = nullptr;
    const BYTE* pBold = nullptr;
    const BYTE* pFraction = nullptr;
};

// Per column, whether a write changed it since the last commit: a bit each, kept in the cursor
// for views of up to 64 columns, so that a write allocates nothing for them.
class CChangeBits
{
public:
    CChangeBits() = default;
    CChangeBits(const CChangeBits&) = delete;
    CChangeBits& operator=(const CChangeBits&) = delete;
    ~CChangeBits() { Free(); }
    // Sized for nColumns, all unchanged.
    void Reset(int nColumns);
    void Clear();
    void Free();
    int  GetCount() const { return m_nColumns; }
    void Set(int nCol) { Words()[nCol >> 6] |= uint64_t(1) << (nCol & 63); }
    void SetAll();
    BOOL IsSet(int nCol) const { return (Words()[nCol >> 6] >> (nCol & 63)) & 1; }
    int  CountSet() const;

private:
    int WordCount() const { return (m_nColumns + 63) >> 6; }
    uint64_t* Words() { return m_nColumns > 64 ? m_pWords : &m_nBits; }
    const uint64_t* Words() const { return m_nColumns > 64 ? m_pWords : &m_nBits; }

    union {
        uint64_t m_nBits = 0;           // up to 64 columns
        uint64_t* m_pWords;             // more: owned
    };
    int m_nColumns = 0;
};

// A cursor on one row of one view: finds or creates the row's node there, reads cells, and
// writes cells and attributes with everything that follows in that view (change marks,
// filters, sums, moves, events). A node the cursor created is its own until the view inserts it.
class CViewRow
{
public:
    explicit CViewRow(CViewTable* pView = nullptr, TBCellSlot* pValues = nullptr);
    // Owners make and drop a cursor per view for every row they write: cursors come from the
    // engine's pool of slots (CNodePool); a larger derived cursor comes from the heap.
    static void* operator new(size_t nSize);
    static void  operator delete(void* p, size_t nSize);
    CViewRow(const CViewRow& other);
    CViewRow& operator=(const CViewRow& other) { Assign(other); return *this; }
    virtual ~CViewRow();
    virtual void SetEditable(BOOL bEditable);

    // Node and position.
    void NewNode(TBCellSlot* pValues);
    int  Reset(BOOL bDelete);
    void Assign(const CViewRow& other);
    // As assigning a fresh cursor of the view, without making one.
    void Rebind(CViewTable* pView);
    int  AssignRowId();
    CTableRow* GetNode() const { return m_pos.m_pNode; }
    CTableRow* EnsureNode();
    CViewTable* GetView() const { return m_pView; }
    // The position as last located; the index may be -1 until GetIndex or RefreshPosition.
    const CRowPosition& GetPosition() const { return m_pos; }
    void SetPosition(const CRowPosition& pos);
    // Re-reads the node's place from the tree (other rows may have moved it).
    BOOL RefreshPosition();
    BOOL IsValid() const { return m_pos.m_pNode && m_pos.m_nKind != LINE_NONE; }
    BOOL IsDataRow() const { return m_pos.m_pNode && m_pos.IsDataRow(); }
    BOOL IsOwned() const { return m_pos.m_pNode && m_pos.m_nKind == LINE_NONE && !m_nDetached; }
    BOOL IsInTree() const { return IsValid() && !m_nDetached; }
    // The display index as the tree has it now (-1 when the row is not in the tree).
    int  GetIndex() { return RefreshPosition() ? m_pos.m_nIndex : -1; }

    // Reading.
    BOOL IsMarked();
    TBCellSlot* LockValues();
    void UnlockValues(TBCellSlot* pValues);
    BOOL GetText(CTBString& strText, int nCol);

    // Row attributes.
    void SetMarked(BOOL bMarked);
    void SetStatusChar(char chStatus);
    void SetMarkable(BOOL bMarkable);
    void SetCategoryBits(DWORD dwBits);
    BOOL SetCellTextColor(int nCol, int nColor) { return Write(nCol, nullptr, nColor, 0, 0, WRITE_TEXTCOLOR); }
    BOOL SetCellBackColor(int nCol, int nColor) { return Write(nCol, nullptr, nColor, 0, 0, WRITE_BACKCOLOR); }
    BOOL SetCellBold(int nCol, BOOL bBold) { return Write(nCol, nullptr, 0, bBold, 0, WRITE_BOLD); }
    BOOL SetCellFraction(int nCol, BOOL bFraction) { return Write(nCol, nullptr, 0, 0, bFraction, WRITE_FRACTION); }
    BOOL SetRowValues(TBCellSlot* pValues) { return Write(-1, pValues, 0, 0, 0, WRITE_RAW); }

    // One write in this view alone: Validate, then StoreValue and Commit; 0 when refused. A
    // sort-key change outside an update is wrapped in one, so the row moves at once.
    BOOL Write(int nCol, const void* pValue, int nColor, BOOL bBold, BOOL bFraction, int nFlags);

    // The three phases, driven by CRow across the views. pValue is the raw slot (WRITE_RAW),
    // the typed value (WRITE_VALUE) or the whole block (column -1).
    // Validate only checks; Prepare (once every view accepted) takes a moving row out and the
    // old values out of the sums, so that a refusal in a later view leaves nothing changed.
    BOOL Validate(int nCol, const void* pValue, const void* pAttrs, int nFlags);
    void Prepare(int nCol, const void* pValue, const void* pAttrs, int nFlags);
    BOOL StoreValue(int nCol, const void* pValue, int nFlags);
    BOOL Commit(int nCol, const void* pValue, const void* pAttrs, int nFlags);
    void MarkChanged(int nCol);
    // TRUE when the write would change a sort or group key of this view.
    BOOL WouldMove(int nCol, const void* pValue, int nFlags, BOOL bFraction);
    // The cache-warming walks of this row's move (see CAVLTree::TouchWalks): up from its node,
    // down the spine its removal searches, and when the new keys pack, down to its new place.
    // The number of walks put in aWalks, at most nRoom.
    int  AddMoveWalks(int nCol, const void* pValue, int nFlags, CTouchWalk* aWalks, int nRoom);

    // Updates: values are stored at once; the move and most events wait for EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    BOOL IsUpdatePending() const { return m_bPending; }
    void SetReposition() { m_bReposition = TRUE; }

private:
    struct CellAttrs { int nColor; BOOL bBold; BOOL bFraction; };
    BOOL ApplyAttributes(int nCol, const void* pAttrs, int nFlags);
    BOOL ApplyCellAttributes(int nCol, int nColor, BOOL bBold, BOOL bFraction, int nFlags);
    void Detach();
    void Reinsert();
    void MoveNow();
    int  EffectiveFlags(int nCol, int nFlags) const;
    int  CountChangedColumns() const;
    void ClearMarks();
    void EnsureMarks();
    BOOL HasFilterOn(int nCol) const;

    CViewTable* m_pView = nullptr;
    CRowPosition m_pos;                 // node, group, display index, group start, line kind
    BOOL m_bPending = FALSE;
    BOOL m_bReposition = FALSE;
    CChangeBits m_marks;
    int  m_nDetached = 0;               // 1 while the row is out of the tree for repositioning
    CRowPosition m_oldPos;              // where a detached row stood
    int  m_nOldLines = 0;
    BOOL m_bWasMarked = FALSE;

    friend class CRow;
    friend class CViewTable;
};
