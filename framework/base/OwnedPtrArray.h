#pragma once
// The framework's growable arrays: one layout {data, count, capacity, grow-by} of pointer-sized
// (or int) slots, with the disposal policy fixed by the kind of array:
//   CTBOwnedPtrArray<T>  owns its elements: shrinking, clearing and destroying delete them
//                        (through the virtual destructor when T has one);
//   CTBPtrArray<T>       pointers owned elsewhere (sink lists): only the slot block is freed;
//   CTBIntArray          plain 32-bit values (field maps, code lists).
// RemoveAt never disposes of an element: the caller takes it over. Indexes and counts are
// checked; a call outside the array is refused (FALSE) and changes nothing.
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "platform/win/WinTypes.h"

// Deletes each non-null element of nCount slots and nulls its slot. The slot is cleared before
// the delete, so a destructor that looks back into its owner's array finds no dangling pointer.
template <class T>
void DeleteOwnedObjects(T** ppSlots, int nCount)
{
    static_assert(sizeof(T) > 0, "deleting an incomplete type");
    static_assert(!std::is_polymorphic_v<T> || std::has_virtual_destructor_v<T>,
                  "an owned polymorphic element needs a virtual destructor");
    for (int i = 0; i < nCount; ++i) {
        T* pElement = ppSlots[i];
        ppSlots[i] = nullptr;
        delete pElement;
    }
}

struct TBKeepElements
{
    static constexpr bool OWNS = false;
    template <class TSlot>
    static void Dispose(TSlot*, int) {}
};

template <class T>
struct TBDeleteElements
{
    static constexpr bool OWNS = true;
    static void Dispose(T** ppSlots, int nCount) { DeleteOwnedObjects(ppSlots, nCount); }
};

template <class TSlot, class TPolicy>
class CTBGrowArray
{
    static_assert(std::is_trivially_copyable_v<TSlot>, "slots are moved as raw memory");

public:
    CTBGrowArray() = default;
    CTBGrowArray(const CTBGrowArray&) = delete;
    CTBGrowArray& operator=(const CTBGrowArray&) = delete;
    ~CTBGrowArray()
    {
        TPolicy::Dispose(m_pData, m_nCount);
        delete[] m_pData;
    }

    // Reading. GetAt outside the array yields a null (0) slot; operator[] is for loops that
    // stay below GetSize().
    int GetSize() const { return m_nCount; }
    int GetCapacity() const { return m_nCapacity; }
    int GetGrowBy() const { return m_nGrowBy; }
    TSlot GetAt(int nIndex) const { return nIndex >= 0 && nIndex < m_nCount ? m_pData[nIndex] : TSlot(); }
    TSlot& operator[](int nIndex) { return m_pData[nIndex]; }
    const TSlot& operator[](int nIndex) const { return m_pData[nIndex]; }
    TSlot* GetData() { return m_pData; }
    const TSlot* GetData() const { return m_pData; }
    TSlot* begin() { return m_pData; }
    TSlot* end() { return m_pData + m_nCount; }
    const TSlot* begin() const { return m_pData; }
    const TSlot* end() const { return m_pData + m_nCount; }

    // Sizing. nGrowBy -1 keeps the stored step; 0 grows to exactly the size asked for. New slots
    // are zeroed; a new count of 0 disposes of everything and frees the block.
    BOOL SetSize(int nNewCount, int nGrowBy = -1);
    BOOL SetAtGrow(int nIndex, TSlot value);
    int  Add(TSlot value) { return SetAtGrow(m_nCount, value) ? m_nCount - 1 : -1; }
    // Puts nCount copies of value at nIndex, moving the slots from nIndex up (or growing the
    // array to nIndex + nCount when nIndex is at or past the end).
    BOOL InsertAt(int nIndex, TSlot value, int nCount = 1);
    // Takes the slots out of the array without disposing of their elements.
    BOOL RemoveAt(int nIndex, int nCount = 1);

    // The other array's slots copied in at nIndex. Only for arrays that do not own their
    // elements: a copied pointer in an owning array would be deleted twice.
    BOOL InsertArrayAt(int nIndex, const CTBGrowArray& other) requires(!TPolicy::OWNS);

protected:
    BOOL IsRange(int nIndex, int nCount) const
    {
        return nIndex >= 0 && nCount >= 0 && nIndex <= m_nCount && nCount <= m_nCount - nIndex;
    }
    void FreeBlock()
    {
        delete[] m_pData;
        m_pData = nullptr;
        m_nCount = 0;
        m_nCapacity = 0;
    }

    TSlot* m_pData = nullptr;           // the slot block, array new; null until first sized
    int m_nCount = 0;
    int m_nCapacity = 0;
    int m_nGrowBy = 0;
};

template <class TSlot, class TPolicy>
BOOL CTBGrowArray<TSlot, TPolicy>::SetSize(int nNewCount, int nGrowBy)
{
    if (nNewCount < 0 || nGrowBy < -1)
        return FALSE;
    if (nGrowBy != -1)
        m_nGrowBy = nGrowBy;
    if (nNewCount == 0) {
        TPolicy::Dispose(m_pData, m_nCount);
        FreeBlock();
        return TRUE;
    }
    if (m_pData == nullptr) {
        m_pData = new TSlot[static_cast<size_t>(nNewCount)]();
        m_nCapacity = nNewCount;
    } else if (nNewCount > m_nCapacity) {
        // Summed in 64 bits: a large step must not wrap into a block smaller than asked for.
        int64_t nStepped = static_cast<int64_t>(m_nCapacity) + m_nGrowBy;
        int nNewCapacity = nStepped > nNewCount && nStepped <= INT32_MAX ? static_cast<int>(nStepped) : nNewCount;
        TSlot* pNew = new TSlot[static_cast<size_t>(nNewCapacity)]();
        memcpy(static_cast<void*>(pNew), m_pData, sizeof(TSlot) * static_cast<size_t>(m_nCount));
        delete[] m_pData;
        m_pData = pNew;
        m_nCapacity = nNewCapacity;
    } else if (nNewCount > m_nCount) {
        memset(static_cast<void*>(m_pData + m_nCount), 0, sizeof(TSlot) * static_cast<size_t>(nNewCount - m_nCount));
    } else if (nNewCount < m_nCount) {
        TPolicy::Dispose(m_pData + nNewCount, m_nCount - nNewCount);
    }
    m_nCount = nNewCount;
    return TRUE;
}

template <class TSlot, class TPolicy>
BOOL CTBGrowArray<TSlot, TPolicy>::SetAtGrow(int nIndex, TSlot value)
{
    if (nIndex < 0 || nIndex == INT32_MAX)
        return FALSE;
    if (nIndex >= m_nCount)
        SetSize(nIndex + 1);
    m_pData[nIndex] = value;
    return TRUE;
}

template <class TSlot, class TPolicy>
BOOL CTBGrowArray<TSlot, TPolicy>::InsertAt(int nIndex, TSlot value, int nCount)
{
    if (nIndex < 0 || nCount <= 0 || nCount > INT32_MAX - (nIndex > m_nCount ? nIndex : m_nCount))
        return FALSE;
    if (nIndex < m_nCount) {
        int nOldCount = m_nCount;
        SetSize(m_nCount + nCount);
        memmove(static_cast<void*>(m_pData + nIndex + nCount), m_pData + nIndex,
                sizeof(TSlot) * static_cast<size_t>(nOldCount - nIndex));
    } else {
        SetSize(nIndex + nCount);
    }
    for (int i = 0; i < nCount; ++i)
        m_pData[nIndex + i] = value;
    return TRUE;
}

template <class TSlot, class TPolicy>
BOOL CTBGrowArray<TSlot, TPolicy>::RemoveAt(int nIndex, int nCount)
{
    if (!IsRange(nIndex, nCount) || nIndex == m_nCount)
        return FALSE;
    int nMove = m_nCount - (nIndex + nCount);
    if (nMove > 0)
        memmove(static_cast<void*>(m_pData + nIndex), m_pData + nIndex + nCount, sizeof(TSlot) * static_cast<size_t>(nMove));
    m_nCount -= nCount;
    return TRUE;
}

template <class TSlot, class TPolicy>
BOOL CTBGrowArray<TSlot, TPolicy>::InsertArrayAt(int nIndex, const CTBGrowArray& other) requires(!TPolicy::OWNS)
{
    if (other.m_nCount == 0)
        return nIndex >= 0;
    // Copied out first: the other array may be this one, whose slots InsertAt moves.
    TSlot* pCopy = new TSlot[static_cast<size_t>(other.m_nCount)];
    int nCopy = other.m_nCount;
    memcpy(static_cast<void*>(pCopy), other.m_pData, sizeof(TSlot) * static_cast<size_t>(nCopy));
    BOOL bDone = InsertAt(nIndex, pCopy[0], nCopy);
    if (bDone)
        memcpy(static_cast<void*>(m_pData + nIndex), pCopy, sizeof(TSlot) * static_cast<size_t>(nCopy));
    delete[] pCopy;
    return bDone;
}

// Owns its elements. Objects that own others keep them here and are done: the destructor
// deletes whatever is left.
template <class T>
class CTBOwnedPtrArray : public CTBGrowArray<T*, TBDeleteElements<T>>
{
    using Base = CTBGrowArray<T*, TBDeleteElements<T>>;

public:
    // Deletes the nCount elements from nIndex and closes the gap.
    BOOL DeleteAt(int nIndex, int nCount = 1)
    {
        if (!this->IsRange(nIndex, nCount) || nIndex == this->m_nCount)
            return FALSE;
        DeleteOwnedObjects(this->m_pData + nIndex, nCount);
        return Base::RemoveAt(nIndex, nCount);
    }
    // Deletes every element and frees the block; the array is empty and usable after it.
    void DeleteAll()
    {
        DeleteOwnedObjects(this->m_pData, this->m_nCount);
        this->FreeBlock();
    }
};

// Pointers owned elsewhere.
template <class T>
class CTBPtrArray : public CTBGrowArray<T*, TBKeepElements>
{
public:
    void FreeData() { this->FreeBlock(); }
};

// Plain 32-bit values.
class CTBIntArray : public CTBGrowArray<int, TBKeepElements>
{
public:
    void FreeData() { FreeBlock(); }
};
