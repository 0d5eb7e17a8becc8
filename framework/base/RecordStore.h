#pragma once
#include "platform/win/WinTypes.h"

// Fixed-size records kept sorted by a key field in a sparse slot array, with a pool of short
// texts for the fields that hold text. Settings files keep their sections and entries in one;
// every server-fed table embeds one. The store owns its records and its texts.
//
// A record is an array of pointer-sized fields, so a field can hold a pooled text or a pointer
// as well as a number; an integer key is the field's 32-bit value.
class CRecordStore
{
public:
    CRecordStore();
    ~CRecordStore();
    CRecordStore(const CRecordStore&) = delete;
    CRecordStore& operator=(const CRecordStore&) = delete;

    // Set-up, once before use. A field count outside 1..150 is refused; a capacity of 0 or
    // less keeps 1000, a growth outside 1..99 percent keeps the previous one.
    BOOL Init(int nFields, int nCapacity, int nGrowth);
    // A key field outside the record clears the key (FALSE). A second key equal to the first
    // or outside the record is cleared.
    BOOL SetKeyFields(int nKey, BOOL bKeyText, int nKey2, BOOL bKey2Text);

    // Binary search that steps over empty slots. A text key is passed as its pointer; a second
    // key of -1 is not compared. With pbFound: the slot found, or where the key belongs.
    // Without: the slot found, or -3 / -2 when the key is not there. Always: -1 no key field,
    // -4 no records, -99 the search did not settle.
    int Find(INT_PTR key, INT_PTR key2 = -1, BOOL* pbFound = nullptr) const;

    // Stores a record at nIndex, moving the occupied slots above it up to the nearest empty
    // one. A given record must come from malloc with the store's field count and becomes the
    // store's; null makes a zeroed one. Returns the record stored, null for an index the
    // store cannot address or before Init.
    INT_PTR* InsertAt(int nIndex, INT_PTR* pRecord = nullptr);
    // Always inserts: a key that is present gets a new record placed before the first.
    INT_PTR* FindOrInsert(INT_PTR key, INT_PTR key2, INT_PTR* pRecord = nullptr);
    // Frees the record (not its texts: the pool keeps them until the store goes).
    BOOL DeleteAt(int nIndex);

    // Walks: GetNextIndex(-1) is the first occupied slot, -1 after the last.
    INT_PTR* GetAt(int nIndex) const;
    int GetUpperBound() const { return m_nUpper; }
    int GetNextIndex(int nIndex) const;

    // Texts of the pool, at most 1024 characters (nLength 0 = the whole text, cut to fit).
    // Returns the text to keep in the field in place of pszOld, which is released unless it is
    // returned again: *pbUnchanged is TRUE when pszOld already held the same bytes. A null
    // pszNew gives the pool's empty text.
    LPCSTR SetString(LPCSTR pszOld, LPCSTR pszNew, BOOL* pbUnchanged, int nLength);
    // The same on a field of a record: the field's old text gives way to pszText.
    LPCSTR SetString(INT_PTR* pRecord, int nField, LPCSTR pszText);

    static constexpr int MAX_FIELDS = 150;
    static constexpr int MAX_TEXT = 1024;

private:
    struct FreeList {
        LPSTR* ppBlocks = nullptr;
        int nCount = 0;
        int nCapacity = 0;
    };

    int  CompareKeys(INT_PTR key, INT_PTR key2, const INT_PTR* pRecord) const;
    BOOL GrowSlots(int nIndex);
    LPSTR AllocText(int nLength);
    void  ReleaseText(LPCSTR pszText);
    void  PushFree(LPSTR pBlock, int nCapacity);

    int m_nFields = 0;
    int m_nCapacity = 1000;
    int m_nUpper = -1;
    int m_nCount = 0;
    int m_nKey = -1;
    BOOL m_bKeyText = FALSE;
    int m_nKey2 = -1;
    BOOL m_bKey2Text = FALSE;
    int m_nGrowth = 20;
    INT_PTR** m_ppSlots = nullptr;      // m_nCapacity slots; null = empty slot
    LPSTR* m_ppChunks = nullptr;        // the pool's 4096-byte chunks, owned
    int m_nChunks = 0;
    LPSTR m_pNext = nullptr;            // next free byte of the newest chunk
    LPSTR m_pEnd = nullptr;             // end of the newest chunk
    FreeList* m_pFree = nullptr;        // MAX_TEXT + 1 lists of released blocks, by capacity
};
