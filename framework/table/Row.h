#pragma once
#include "framework/base/TBString.h"
#include "framework/table/ViewRow.h"

class CTable;

// The cursors of a row, owned, one per view. Owners make a row for every write they look up:
// the pointers of the first views live in the list itself, so that making one takes no heap block
// (the cursors come from the engine's slot pool).
class CViewRowList
{
public:
    static const int INLINE_VIEWS = 6;

    CViewRowList() = default;
    CViewRowList(const CViewRowList&) = delete;
    CViewRowList& operator=(const CViewRowList&) = delete;
    ~CViewRowList() { DeleteAll(); }
    int  GetSize() const { return m_nCount; }
    // Null outside the list.
    CViewRow* GetAt(int nIndex) const { return nIndex >= 0 && nIndex < m_nCount ? Data()[nIndex] : nullptr; }
    CViewRow* operator[](int nIndex) const { return Data()[nIndex]; }
    CViewRow* const* begin() const { return Data(); }
    CViewRow* const* end() const { return Data() + m_nCount; }
    void Add(CViewRow* pRow);
    void DeleteAll();

private:
    CViewRow* const* Data() const { return m_ppMore ? m_ppMore : m_apInline; }

    CViewRow* m_apInline[INLINE_VIEWS] = {};
    CViewRow** m_ppMore = nullptr;      // owned, once the views outgrow the inline pointers
    int m_nCount = 0;
    int m_nCapacity = INLINE_VIEWS;
};

// A row of the whole table: one cursor per view, the base view's first. The owners of a table
// write every row through it, in three phases across the views so that a write one view
// refuses changes nothing in any view: validate everywhere, store once, commit everywhere.
class CRow
{
public:
    CRow() = default;
    // One cursor per view; a non-null block gives every cursor a new node carrying it.
    CRow(CTable* pTable, TBCellSlot* pValues);
    CRow(const CRow& other) { Assign(other); }
    CRow& operator=(const CRow& other) { Assign(other); return *this; }
    virtual ~CRow() = default;
    virtual void SetEditable(BOOL bEditable);

    void Assign(const CRow& other);
    void AddViewRow(CViewRow* pRow) { m_rows.Add(pRow); }
    void NewNodes(TBCellSlot* pValues);
    int  GetViewCount() const { return m_rows.GetSize(); }
    CViewRow* GetViewRow(int nView = 0) const { return m_rows.GetAt(nView); }

    BOOL IsValid() const;
    BOOL IsDataRow() const;
    TBCellSlot* LockValues();
    void UnlockValues(TBCellSlot* pValues);
    BOOL GetText(CTBString& strText, int nCol);
    void Reset();

    // Writes; 1 on success, 0 when a view refused (nothing changed) or a commit failed.
    // SetCell's mode 1 moves the row at EndUpdate even when no key changes.
    BOOL SetCell(int nCol, int32_t nValue, int nMode = 0);
    BOOL UpdateCell(int nCol, const void* pValue);
    BOOL SetRowValues(TBCellSlot* pValues);
    BOOL SetCellFromBuffer(int nCol, const CTBString& strText);
    BOOL SetCellTextColor(int nCol, int nColor);
    BOOL SetCellBackColor(int nCol, int nColor);

    void BeginUpdate();
    void EndUpdate();

private:
    BOOL WriteAll(int nCol, const void* pValue, int nFlags, int nMode);
    // The views in which the write would move the row: their count, and up to nMax of their cursors.
    int  FindMoving(int nCol, const void* pValue, int nFlags, CViewRow** apRows, int nMax);
    // EndUpdate, with or without walking the moving rows' new paths first.
    void FinishUpdate(BOOL bTouch);

    CViewRowList m_rows;

    friend class CTable;
};
