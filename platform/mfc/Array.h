#pragma once
// The library's growable array template, CArray<TYPE, ARG_TYPE>, on std::vector. Indexes
// are ints as in the 32-bit original. An index outside the array never touches memory that
// is not the array's: a read answers a default element, a write lands in a scratch element
// that nobody reads, an insert or removal out of range does nothing.
#include <algorithm>
#include <utility>
#include <vector>
#include "platform/mfc/ElementHelpers.h"

template<class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject
{
public:
    CArray() = default;

    // Size. nGrowBy is the original's allocation step; std::vector grows by its own rule.
    int  GetSize() const { return static_cast<int>(m_data.size()); }
    int  GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return m_data.empty(); }
    int  GetUpperBound() const { return GetSize() - 1; }
    void SetSize(int nNewSize, int nGrowBy = -1);   // a negative size is refused
    void FreeExtra() { m_data.shrink_to_fit(); }
    void RemoveAll() { m_data.clear(); }

    // Elements.
    const TYPE& GetAt(int nIndex) const { return IsIndex(nIndex) ? m_data[nIndex] : Scratch(); }
    TYPE&       GetAt(int nIndex) { return ElementAt(nIndex); }
    const TYPE& ElementAt(int nIndex) const { return GetAt(nIndex); }
    TYPE&       ElementAt(int nIndex) { return IsIndex(nIndex) ? m_data[nIndex] : Scratch(); }
    const TYPE& operator[](int nIndex) const { return GetAt(nIndex); }
    TYPE&       operator[](int nIndex) { return ElementAt(nIndex); }
    void        SetAt(int nIndex, TbArgIn<ARG_TYPE> newElement);
    const TYPE* GetData() const { return m_data.data(); }
    TYPE*       GetData() { return m_data.data(); }

    // Growing and shrinking. Add and Append return the index of the first element added;
    // SetAtGrow and InsertAt past the end fill the gap with default elements.
    int  Add(TbArgIn<ARG_TYPE> newElement);
    int  Append(const CArray& src);
    void Copy(const CArray& src) { if (&src != this) m_data = src.m_data; }
    void SetAtGrow(int nIndex, TbArgIn<ARG_TYPE> newElement);
    void InsertAt(int nIndex, TbArgIn<ARG_TYPE> newElement, int nCount = 1);
    void InsertAt(int nStartIndex, const CArray* pNewArray);
    void RemoveAt(int nIndex, int nCount = 1);      // the part inside the array goes

private:
    BOOL IsIndex(int nIndex) const { return nIndex >= 0 && nIndex < GetSize(); }
    static TYPE& Scratch()
    {
        static thread_local TYPE s_scratch;
        s_scratch = TYPE();
        return s_scratch;
    }

    std::vector<TYPE> m_data;
};

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(int nNewSize, int /*nGrowBy*/)
{
    if (nNewSize >= 0)
        m_data.resize(static_cast<size_t>(nNewSize));
}

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAt(int nIndex, TbArgIn<ARG_TYPE> newElement)
{
    if (IsIndex(nIndex))
        m_data[nIndex] = newElement;
}

template<class TYPE, class ARG_TYPE>
int CArray<TYPE, ARG_TYPE>::Add(TbArgIn<ARG_TYPE> newElement)
{
    m_data.push_back(TYPE(newElement));
    return GetSize() - 1;
}

template<class TYPE, class ARG_TYPE>
int CArray<TYPE, ARG_TYPE>::Append(const CArray& src)
{
    int nOldSize = GetSize();
    if (&src == this) {
        std::vector<TYPE> copy(m_data);
        m_data.insert(m_data.end(), copy.begin(), copy.end());
    } else {
        m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
    }
    return nOldSize;
}

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(int nIndex, TbArgIn<ARG_TYPE> newElement)
{
    if (nIndex < 0)
        return;
    TYPE element(newElement);       // before growing: newElement may live in this array
    if (nIndex >= GetSize())
        m_data.resize(static_cast<size_t>(nIndex) + 1);
    m_data[nIndex] = std::move(element);
}

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(int nIndex, TbArgIn<ARG_TYPE> newElement, int nCount)
{
    if (nIndex < 0 || nCount <= 0)
        return;
    TYPE element(newElement);
    if (nIndex > GetSize())
        m_data.resize(static_cast<size_t>(nIndex));
    m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), element);
}

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(int nStartIndex, const CArray* pNewArray)
{
    if (nStartIndex < 0 || pNewArray == nullptr || pNewArray->IsEmpty())
        return;
    std::vector<TYPE> copy(pNewArray->m_data);
    if (nStartIndex > GetSize())
        m_data.resize(static_cast<size_t>(nStartIndex));
    m_data.insert(m_data.begin() + nStartIndex, copy.begin(), copy.end());
}

template<class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(int nIndex, int nCount)
{
    if (!IsIndex(nIndex) || nCount <= 0)
        return;
    int nEnd = nIndex + std::min(nCount, GetSize() - nIndex);
    m_data.erase(m_data.begin() + nIndex, m_data.begin() + nEnd);
}
