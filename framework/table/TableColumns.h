#pragma once
#include "framework/base/OwnedPtrArray.h"
#include "framework/table/SortColumns.h"
#include "framework/table/TableColumn.h"
#include "framework/table/TreeNode.h"

class CIni;

// The column definitions of one view with its fixed-column count and its sort, group and
// default sort keys. It also lays out a row's value block:
//
//   [header slot]  one slot per column  out-of-line storage of the columns that need it
//
// Slots are pointer-sized (TBCellSlot) so that the pointers to texts and 64-bit values fit on
// 64-bit; each column's storage is rounded up to whole slots so that doubles stay aligned.
// The three columns (type 1, type 3, type 12 of text size 25) take 3 x 8 bytes of slots, 8 for
// the double and 32 for the text: 64 bytes, the second and third slots pointing at their storage.
class CTableColumns : public CTBOwnedPtrArray<CTableColumn>
{
public:
    CTableColumns() = default;
    CTableColumns(const CTableColumns&) = delete;
    CTableColumns& operator=(const CTableColumns&) = delete;
    virtual ~CTableColumns() = default;

    int  GetCount() const { return GetSize(); }
    CTableColumn* GetColumn(int nCol) const { return GetAt(nCol); }
    static CTableColumn* CloneColumn(const CTableColumn& column) { return new CTableColumn(column); }
    // Deletes the columns, clones the other's, copies the fixed count, the flag and the keys.
    void Assign(const CTableColumns& other);

    // Value blocks. Null when there are no columns. bHeader puts one free slot before the cells
    // (the pointer returned is the block's start, the cells follow the header).
    TBCellSlot* AllocRowValues(BOOL bHeader = FALSE) const;
    static void FreeRowValues(TBCellSlot* pBlock);
    size_t GetRowValuesSize() const;
    // A typed value into a cell by the column's type; a null value stores zero or empty.
    // A text keeps at most size-1 characters and its terminator.
    void SetSlotValue(TBCellSlot* pSlot, const void* pValue, int nCol) const;
    // TRUE when storing pValue would change the cell (exact bytes, not collation).
    BOOL SlotDiffers(const TBCellSlot* pSlot, const void* pValue, int nCol) const;
    BOOL RawSlotDiffers(const TBCellSlot* pSlot, const TBCellSlot* pOther, int nCol) const;
    void CopyRowValues(TBCellSlot* pDest, const TBCellSlot* pSource) const;

    int  FindByTitle(const char* pszTitle) const;
    int  FindByName(const char* pszName) const;
    int  GetMaxTitleLines() const;

    // Keys.
    void AppendDefaultKeys();
    // Orders two rows by a key list: -1, 0 or 1. Keys naming no column are passed over. Inline:
    // the packed keys decide most comparisons of a walk down a tree without a call.
    int  CompareRows(const CTableTreeNode* pFirst, const CTableTreeNode* pSecond, const CSortColumns& keys) const;
    // Keeps the node's first sort keys in the node as one number (the first, and a second when
    // both are 32-bit whole numbers of one decimal code), so that comparisons skip the block.
    void CacheSortKey(CTableTreeNode* pNode) const;
    // The packed keys the node will carry once column nCol holds a value kept in its slot (the
    // typed value, or with bRaw the raw slot): a write about to move the row. FALSE when the
    // column's values live out of line or the keys do not pack.
    BOOL PackSortKeyAfter(const CTableTreeNode* pNode, int nCol, const void* pValue, BOOL bRaw, CPackedKey* pKey) const;
    // The packed keys of the node's values as they are; FALSE when they do not pack.
    BOOL GetPackedKey(const CTableTreeNode* pNode, CPackedKey* pKey) const
    {
        return PackSortKey(pNode, pNode->GetData(), -1, 0, pKey);
    }
    BOOL IsKeyColumn(int nCol) const { return m_sortKeys.HasColumn(nCol) || m_groupKeys.HasColumn(nCol); }

    // Settings. Load refuses (0) an out-of-range count or an invalid column and then leaves
    // the columns and keys as they were.
    void Save(CIni* pLayout, CIni* pDefinition) const;
    BOOL Load(CIni* pLayout, CIni* pDefinition);
    void LoadLayout(CIni* pLayout);
    void LoadLayoutKeys(CIni* pLayout);

    int m_nFixed = 0;                   // columns that stay in place at the left
    int m_bDefaultOrder = 0;            // no sort keys were saved: the default keys apply
    CSortColumns m_sortKeys{30};
    CGroupColumns m_groupKeys;
    CDefaultSortColumns m_defaultKeys;

private:
    BOOL PackSortKey(const CTableTreeNode* pNode, const TBCellSlot* pValues, int nCol, int32_t nValue,
                     CPackedKey* pKey) const;
    // The values of the keys from nFirstKey on, read from the blocks.
    int  CompareValues(const CTableTreeNode* pFirst, const CTableTreeNode* pSecond, const CSortColumns& keys,
                       int nFirstKey) const;
};

inline int CTableColumns::CompareRows(const CTableTreeNode* pFirst, const CTableTreeNode* pSecond,
                                      const CSortColumns& keys) const
{
    // How many leading keys of the list the two nodes' packed keys stand for: 0, 1 or 2.
    int nFirstKey = 0;
    signed char chKey1 = pFirst->m_chKey1;
    signed char chKey2 = pFirst->m_chKey2;
    if (chKey1 != 0 && chKey1 == pSecond->m_chKey1 && chKey2 == pSecond->m_chKey2 && chKey1 == keys.GetPackedTag(0)) {
        uint64_t nA = pFirst->m_nKeyCache;
        uint64_t nB = pSecond->m_nKeyCache;
        if (chKey2 != 0 && chKey2 == keys.GetPackedTag(1)) {
            nFirstKey = 2;
        } else {
            nFirstKey = 1;
            // The list goes on with another key than the one packed second (group keys).
            if (chKey2 != 0) {
                nA >>= 32;
                nB >>= 32;
            }
        }
        if (nA != nB)
            return static_cast<int>(nA > nB) - static_cast<int>(nA < nB);     // no jump to guess
    }
    return nFirstKey >= keys.GetCount() ? 0 : CompareValues(pFirst, pSecond, keys, nFirstKey);
}
