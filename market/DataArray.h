#pragma once
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>
#include "framework/table/Table.h"
#include "platform/mfc/String.h"

// The decimal code an amount of a column of code nDecimals shows in a currency ("=KWD"): the
// currency's unit (the dinar's fils, else cents), or the column's own where it shows more places
// or no currency is named.
int CurrencyDecimals(const char* pszCurrency, int nDecimals);

class CDataArray;
class CTableColumn;

// Characters of a fixed-width text type's value (the packed and digit forms: 4, 6, 8 or 14),
// which the engine stores unterminated; 0 for the other types.
int FixedTextChars(int nType);

// A cell's value copied out of its row by the column's type, so that it reads the same after the
// row has changed or gone: a number (the integer types as stored; packed dates and times as
// yyyymmdd, hhmmss or yyyymmddhhmmss), a double as stored, or a text (the text types, cut to the
// column's size). Empty for no cell, or a 64-bit or double cell without a value.
class CCellValue
{
public:
    enum { EMPTY, NUMBER, DOUBLE, TEXT };
    CCellValue() = default;
    // The cell nCol of a value block by its column's type; empty for a null block.
    static CCellValue Read(const TBCellSlot* pValues, int nCol, const CTableColumn& column);

    int  GetKind() const { return m_nKind; }
    BOOL IsEmpty() const { return m_nKind == EMPTY; }
    // Each kind also reads as the others: a double as a number cut toward zero (INT64_MIN
    // outside the range), a text as the number or double it starts with, a number in decimal
    // and a double in up to 15 significant digits as a text. Empty reads as 0 and "".
    LONGLONG GetNumber() const;
    double   GetDouble() const;
    CString  GetText() const;

private:
    int m_nKind = EMPTY;
    LONGLONG m_nNumber = 0;
    double m_dValue = 0.0;
    CString m_strText;
};

// One stored row of a row store: its own value block (one slot per column of the table's
// current view, then the out-of-line storage), which the engine table's nodes share once the
// row is added and published. Rows made by CDataArray::NewRow belong to the caller; the array
// owns the copies it stores.
class CDataBuffer
{
public:
    explicit CDataBuffer(CDataArray* pArray);
    // A copy of a value block made for the same columns (texts and 64-bit values copied by type).
    CDataBuffer(CDataArray* pArray, const TBCellSlot* pSource);
    CDataBuffer(const CDataBuffer&) = delete;
    CDataBuffer& operator=(const CDataBuffer&) = delete;
    virtual ~CDataBuffer();

    // The value block; AllocValues makes it on first use, null without a bound table or view.
    TBCellSlot* GetValues() const { return m_pValues; }
    TBCellSlot* AllocValues();
    CDataArray* GetArray() const { return m_pArray; }
    BOOL IsAdded() const { return m_bAdded; }
    BOOL IsDirty() const { return m_bDirty; }

    // Writes. FALSE for a column outside the view or a row without a block. With bPublish an
    // added row's change reaches the engine table (and its windows); a value or colour equal to
    // the present one reaches nothing. SetValue takes the slot's own form: a 32-bit integer for
    // types 1, 4 and 99, a 64-bit integer for 2, a double for 3, the text for the text types.
    BOOL SetText(int nCol, const char* pszText, BOOL bPublish);
    BOOL SetValue(int nCol, const void* pValue, BOOL bPublish);
    BOOL SetDouble(int nCol, double dValue, BOOL bPublish);
    // Colour indexes of a cell of an added row: text colour and background in every view, and
    // (outside a batch) background in one view.
    BOOL SetCellAttribute(int nCol, int nColour);
    BOOL SetCellBackColor(int nCol, int nColour);
    BOOL SetViewCellAttribute(int nView, int nCol, int nColour);

    // Batches: every write between BeginChanges and Commit reaches the engine table through one
    // row update, so the row is re-sorted, regrouped and repainted once, at Commit.
    void BeginChanges() { m_bDirty = TRUE; }
    void Commit();

    // Reads. GetValue copies the cell as stored (empty outside the view or without a table).
    // The others: a column outside the view, or a row without a table, reads as 0 or the empty
    // text; numbers scale by the column's decimal code (neither 0 nor sixty-fourths): an integer
    // column reads as a double times 10^d, a double column as an integer divided by 10^d.
    CCellValue GetValue(int nCol) const;
    CString  GetText(int nCol, BOOL bFormatted = FALSE) const;
    LONG     GetLong(int nCol) const;
    LONGLONG GetInt64(int nCol) const;
    double   GetDouble(int nCol) const;

    // Orders two rows by their first nKeys key columns (all of them when nKeys is negative).
    int  Compare(const CDataBuffer* pOther, int nKeys) const;

private:
    friend class CDataArray;
    BOOL Write(int nCol, const void* pValue, BOOL bPublish);
    BOOL WriteColour(int nCol, int nColour, int nFlags);
    // The engine's row of this block, opened for the batch when a batch is open.
    CRow* OpenPending();
    // Ends the open batch's row update (before the row leaves the engine table).
    void CloseBatch();
    const CTableColumn* GetColumn(int nCol) const;

    TBCellSlot* m_pValues = nullptr;    // owned
    CDataArray* m_pArray = nullptr;     // not owned
    BOOL m_bAdded = FALSE;
    BOOL m_bDirty = FALSE;
    BOOL m_bKeyChanged = FALSE;         // a key column changed inside the open batch
    CRow* m_pPending = nullptr;         // owned: carries the open batch into the engine table
};

// Where a key-prefix search of a row store stands: the rows that share the leading key values
// are walked with GetRow and FindNext.
class CRowFinder
{
public:
    CRowFinder() = default;
    explicit CRowFinder(CDataArray* pArray) : m_pArray(pArray) {}
    CDataBuffer* GetRow() const;
    // The next row equal on the first m_nKeys key columns; null (the index stays) at the range's end.
    CDataBuffer* FindNext();

    int m_nKeys = 0;                    // leading key columns that must match
    int m_nIndex = -1;                  // current row, -1 = none
    CDataArray* m_pArray = nullptr;     // not owned
};

// The row store of a server-fed table: rows kept sorted by the key columns and written through
// into the bound engine table. A reply loads in bulk mode (BeginUpdate ... EndUpdate): rows are
// appended and sorted once at the end, and key searches find nothing meanwhile.
class CDataArray
{
public:
    CDataArray() = default;
    CDataArray(const CDataArray&) = delete;
    CDataArray& operator=(const CDataArray&) = delete;
    // Takes its rows out of the engine table (which must still live) and deletes them.
    virtual ~CDataArray();

    // Binding. A null table is ignored. Key columns replace the previous list unless no table is
    // bound, the list is empty, starts with a negative index, or names a column the view lacks.
    virtual void SetTable(CTable* pTable);
    CTable* GetTable() const { return m_pTable; }
    BOOL SetKeyColumns(std::span<const int> columns);
    BOOL SetKeyColumns(std::initializer_list<int> columns) { return SetKeyColumns(std::span(columns.begin(), columns.size())); }
    BOOL IsKeyColumn(int nCol) const;
    // Amount columns: a number written into one is held to its currency's smallest unit (cents,
    // a dinar's fils), so that a sum adds what the rows show. The currency is the row's text in
    // nCurrencyCol; while that is empty (or nCurrencyCol is -1) the unit has nDefaultDecimals
    // decimals, and with -1 there the amount stays as written.
    void SetMoneyColumns(std::span<const int> columns, int nCurrencyCol, int nDefaultDecimals);
    // A number for column nCol of the row as SetMoneyColumns holds it (as it is elsewhere).
    double HeldAmount(const CDataBuffer* pRow, int nCol, double dValue) const;
    int  GetKeyColumnCount() const { return static_cast<int>(m_keys.size()); }
    int  GetKeyColumn(int nIndex) const;
    // The column count of the table's current view (view 0 when none is current); 0 unbound.
    int  GetColumnCount() const;
    CViewTable* GetReadView() const;

    // Rows. NewRow's row belongs to the caller. AddRow stores a copy and answers its index, or -1
    // when a row with equal keys is stored already (outside bulk mode) or the row has no values.
    CDataBuffer* NewRow() { return new CDataBuffer(this); }
    int  AddRow(CDataBuffer* pRow, BOOL bPublish);
    int  GetCount() const { return static_cast<int>(m_rows.size()); }
    CDataBuffer* GetAt(int nIndex) const;
    // Take the row out of the engine table too; FALSE for an index outside the array.
    BOOL RemoveAt(int nIndex);
    void RemoveAll();

    // Key searches over the leading key columns, a key per column in key order; surplus keys
    // are ignored. A prefix finds the first row of its range. Nothing is found in bulk mode, in
    // an empty array, or for a null first text or a negative first id.
    CDataBuffer* FindRow(std::span<const char* const> keys) const;
    CDataBuffer* FindRow(std::initializer_list<const char*> keys) const { return FindRow(Texts(keys)); }
    int  FindRowIndex(std::span<const char* const> keys) const;
    int  FindRowIndex(std::initializer_list<const char*> keys) const { return FindRowIndex(Texts(keys)); }
    CDataBuffer* FindRowByIds(std::span<const LONG> keys) const;
    CDataBuffer* FindRowByIds(std::initializer_list<LONG> keys) const { return FindRowByIds(Ids(keys)); }
    int  FindRowIndexByIds(std::span<const LONG> keys) const;
    int  FindRowIndexByIds(std::initializer_list<LONG> keys) const { return FindRowIndexByIds(Ids(keys)); }
    // The finder stands on the first row of the range (index -1 when none).
    void FindRange(CRowFinder& finder, std::span<const char* const> keys);
    void FindRange(CRowFinder& finder, std::initializer_list<const char*> keys) { FindRange(finder, Texts(keys)); }
    // The index of the stored row with the same keys as pRow; -1 when none.
    int  FindIndexOfRow(const CDataBuffer* pRow) const;
    // Removes the first row of the range the keys find; FALSE when none.
    BOOL RemoveRow(std::span<const char* const> keys);
    BOOL RemoveRow(std::initializer_list<const char*> keys) { return RemoveRow(Texts(keys)); }
    // Removes every row of the range the keys find (a key prefix: all rows that share it); the
    // number removed.
    int  RemoveRange(std::span<const char* const> keys);
    int  RemoveRange(std::initializer_list<const char*> keys) { return RemoveRange(Texts(keys)); }

    // A stamp that changes whenever rows are added, removed, moved or re-keyed (not when their
    // other cells change), unique among all stores: an index of the rows kept outside the store
    // stands while the stamp does.
    uint64_t GetShapeChanges() const { return m_nShapeChanges; }

    // Bulk mode.
    void BeginUpdate() { m_bBulk = TRUE; }
    void EndUpdate();
    BOOL IsBulk() const { return m_bBulk || m_nKeyBatches > 0; }

private:
    friend class CDataBuffer;
    static std::span<const char* const> Texts(std::initializer_list<const char*> keys) { return {keys.begin(), keys.size()}; }
    static std::span<const LONG> Ids(std::initializer_list<LONG> keys) { return {keys.begin(), keys.size()}; }
    // Binary search with a key row of nKeys keys: the lowest matching index, or -1.
    int  Search(const CDataBuffer& key, int nKeys) const;
    // The index a row with these keys goes to after any equal rows; *pbEqual when one is equal.
    int  InsertPosition(const CDataBuffer* pRow, BOOL* pbEqual) const;
    // The stored row's own index (rows with equal keys told apart by address); -1 when absent.
    int  IndexOfRow(const CDataBuffer* pRow) const;
    // The key row filled from texts or ids (only its first *pnKeys key columns count); null when
    // the first key is missing.
    CDataBuffer* MakeKeyRow(std::span<const char* const> keys, int* pnKeys) const;
    CDataBuffer* MakeKeyRow(std::span<const LONG> keys, int* pnKeys) const;
    void Sort();
    // The leading keys of every row, in the rows' order, while the first key is a 32-bit
    // integer column (and the second, when a number, too): a search narrows to the rows of those
    // keys in this dense array before it compares rows, which would otherwise cost a cache miss
    // or two each.
    struct CLead {
        int32_t nFirst = 0;
        double dSecond = 0;
    };
    BOOL HasIntegerLead() const;
    BOOL HasNumberSecond() const;
    CLead LeadOf(const CDataBuffer* pRow) const;
    void RebuildLead();
    // The stretch of rows equal to pKey on its first nKeys keys as far as the dense keys go (all
    // rows without an integer lead); *pnCovered: how many keys the stretch settles. FALSE when
    // no row has them: *pnFirst is then where they would stand.
    BOOL LeadRange(const CDataBuffer* pKey, int nKeys, size_t* pnFirst, size_t* pnLast, int* pnCovered) const;
    // A batch changed the row's keys: it goes back to its sorted place (or the array sorts).
    void OnKeyBatchCommitted(CDataBuffer* pRow);
    // The row moved out of order by a key write outside a batch.
    void Reposition(CDataBuffer* pRow, int nOldIndex);
    void Unpublish(CDataBuffer* pRow);
    CDataBuffer* KeyRow() const;

    std::vector<int> m_keys;            // key column indexes in key order
    std::vector<bool> m_money;          // by column: an amount of the row's currency
    int m_nCurrencyCol = -1;
    int m_nMoneyDecimals = -1;
    std::vector<CDataBuffer*> m_rows;   // owned; sorted by the keys except in bulk mode
    std::vector<CLead> m_lead;          // parallel to m_rows; read only outside bulk mode
    BOOL m_bBulk = FALSE;               // a load appends unsorted until EndUpdate
    int  m_nKeyBatches = 0;             // open batches that changed a key: the order is unsure
    BOOL m_bKeysMoved = FALSE;          // several such batches overlapped: sort at the last Commit
    static uint64_t NextShape();
    void Reshaped() { m_nShapeChanges = NextShape(); }
    uint64_t m_nShapeChanges = NextShape();
    CTable* m_pTable = nullptr;         // not owned
    // Owned: the row every key search fills, kept so that a search allocates nothing.
    mutable CDataBuffer* m_pKeyRow = nullptr;
};
