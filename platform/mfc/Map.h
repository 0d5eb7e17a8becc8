#pragma once
// The library's hash map template, CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>, with the original's
// layout: a table of buckets (17 unless InitHashTable says otherwise), HashKey picking the
// bucket, each new key put at the head of its bucket's chain. A walk goes bucket by bucket
// down each chain, so the system's lists built from maps come out in the original order.
// The key just returned by GetNextAssoc may be removed without spoiling the walk.
#include <vector>
#include "platform/mfc/ElementHelpers.h"

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject
{
public:
    explicit CMap(int /*nBlockSize*/ = 10) {}
    CMap(const CMap& other) : CObject(other) { CopyFrom(other); }
    CMap& operator=(const CMap& other);
    ~CMap() override { RemoveAll(); }

    int  GetCount() const { return m_nCount; }
    int  GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // Lookup copies the value out and answers TRUE when the key is there; operator[] adds a
    // default value for a missing key.
    BOOL   Lookup(ARG_KEY key, VALUE& rValue) const;
    // The value in place, null when the key is not there: read without copying it.
    const VALUE* PLookupValue(ARG_KEY key) const
    {
        UINT nBucket;
        const CAssoc* pAssoc = GetAssocAt(key, nBucket);
        return pAssoc != nullptr ? &pAssoc->value : nullptr;
    }
    VALUE& operator[](ARG_KEY key);
    void   SetAt(ARG_KEY key, TbArgIn<ARG_VALUE> newValue) { (*this)[key] = newValue; }
    BOOL   RemoveKey(ARG_KEY key);                  // FALSE when the key was not there
    void   RemoveAll();

    // Walking: null when the map is empty; GetNextAssoc moves rNextPosition on (null at the end).
    POSITION GetStartPosition() const;
    void     GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const;

    // Bucket count: set it while the map is empty (the keys are spread again otherwise).
    UINT GetHashTableSize() const { return m_nHashTableSize; }
    void InitHashTable(UINT nHashSize, BOOL bAllocNow = TRUE);

private:
    struct CAssoc {
        CAssoc* pNext;
        UINT nHashValue;        // the full hash, so a walk can find the bucket that follows
        KEY key;
        VALUE value;
    };
    CAssoc* GetAssocAt(ARG_KEY key, UINT& nBucket) const;
    CAssoc* FirstFrom(UINT nBucket) const;
    void    CopyFrom(const CMap& other);

    std::vector<CAssoc*> m_table;       // owns every chain; empty until the first key
    UINT m_nHashTableSize = 17;
    int m_nCount = 0;
};

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator=(const CMap& other)
{
    if (&other != this) {
        RemoveAll();
        CopyFrom(other);
    }
    return *this;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc*
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetAssocAt(ARG_KEY key, UINT& nBucket) const
{
    nBucket = HashKey<ARG_KEY>(key) % m_nHashTableSize;
    if (m_table.empty())
        return nullptr;
    for (CAssoc* pAssoc = m_table[nBucket]; pAssoc != nullptr; pAssoc = pAssoc->pNext) {
        if (CompareElements(&pAssoc->key, &key))
            return pAssoc;
    }
    return nullptr;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Lookup(ARG_KEY key, VALUE& rValue) const
{
    UINT nBucket;
    CAssoc* pAssoc = GetAssocAt(key, nBucket);
    if (pAssoc == nullptr)
        return FALSE;
    rValue = pAssoc->value;
    return TRUE;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key)
{
    UINT nBucket;
    if (CAssoc* pAssoc = GetAssocAt(key, nBucket))
        return pAssoc->value;
    if (m_table.empty())
        m_table.assign(m_nHashTableSize, nullptr);
    CAssoc* pAssoc = new CAssoc{m_table[nBucket], HashKey<ARG_KEY>(key), KEY(), VALUE()};
    pAssoc->key = key;
    m_table[nBucket] = pAssoc;
    ++m_nCount;
    return pAssoc->value;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key)
{
    if (m_table.empty())
        return FALSE;
    UINT nBucket = HashKey<ARG_KEY>(key) % m_nHashTableSize;
    for (CAssoc** ppAssoc = &m_table[nBucket]; *ppAssoc != nullptr; ppAssoc = &(*ppAssoc)->pNext) {
        if (CompareElements(&(*ppAssoc)->key, &key)) {
            CAssoc* pAssoc = *ppAssoc;
            *ppAssoc = pAssoc->pNext;
            delete pAssoc;
            --m_nCount;
            return TRUE;
        }
    }
    return FALSE;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll()
{
    for (CAssoc* pAssoc : m_table) {
        while (pAssoc != nullptr) {
            CAssoc* pNext = pAssoc->pNext;
            delete pAssoc;
            pAssoc = pNext;
        }
    }
    m_table.clear();
    m_nCount = 0;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc*
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::FirstFrom(UINT nBucket) const
{
    for (; nBucket < m_table.size(); ++nBucket) {
        if (m_table[nBucket] != nullptr)
            return m_table[nBucket];
    }
    return nullptr;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
POSITION CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetStartPosition() const
{
    return reinterpret_cast<POSITION>(FirstFrom(0));
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
{
    CAssoc* pAssoc = rNextPosition == BEFORE_START_POSITION ? FirstFrom(0)
                                                            : reinterpret_cast<CAssoc*>(rNextPosition);
    if (pAssoc == nullptr) {
        rNextPosition = nullptr;
        return;
    }
    CAssoc* pNext = pAssoc->pNext ? pAssoc->pNext : FirstFrom(pAssoc->nHashValue % m_nHashTableSize + 1);
    rNextPosition = reinterpret_cast<POSITION>(pNext);
    rKey = pAssoc->key;
    rValue = pAssoc->value;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT nHashSize, BOOL bAllocNow)
{
    if (nHashSize == 0)
        return;
    // Chains are rebuilt in walk order, each key again at the head of its new bucket.
    std::vector<CAssoc*> walk;
    for (CAssoc* pAssoc = FirstFrom(0); pAssoc != nullptr;
         pAssoc = pAssoc->pNext ? pAssoc->pNext : FirstFrom(pAssoc->nHashValue % m_nHashTableSize + 1))
        walk.push_back(pAssoc);
    m_nHashTableSize = nHashSize;
    m_table.clear();
    if (bAllocNow || !walk.empty())
        m_table.assign(m_nHashTableSize, nullptr);
    for (CAssoc* pAssoc : walk) {
        CAssoc*& rHead = m_table[pAssoc->nHashValue % m_nHashTableSize];
        pAssoc->pNext = rHead;
        rHead = pAssoc;
    }
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CopyFrom(const CMap& other)
{
    // Same buckets, same chain order: the copy walks exactly like the original.
    m_nHashTableSize = other.m_nHashTableSize;
    if (other.m_table.empty())
        return;
    m_table.assign(m_nHashTableSize, nullptr);
    for (UINT nBucket = 0; nBucket < m_nHashTableSize; ++nBucket) {
        CAssoc** ppTail = &m_table[nBucket];
        for (CAssoc* pFrom = other.m_table[nBucket]; pFrom != nullptr; pFrom = pFrom->pNext) {
            *ppTail = new CAssoc{nullptr, pFrom->nHashValue, pFrom->key, pFrom->value};
            ppTail = &(*ppTail)->pNext;
            ++m_nCount;
        }
    }
}

// The library's named maps the system uses.
class CMapStringToPtr : public CMap<CString, LPCSTR, void*, void*>
{
public:
    using CMap::CMap;
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*>
{
public:
    using CMap::CMap;
};

class CMapStringToString : public CMap<CString, LPCSTR, CString, LPCSTR>
{
public:
    using CMap::CMap;
};

class CMapStringToOb : public CMap<CString, LPCSTR, CObject*, CObject*>
{
public:
    using CMap::CMap;
};
