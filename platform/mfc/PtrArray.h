#pragma once
// The arrays of plain slots: pointers, DWORDs and UINTs, and the typed view of a pointer
// array that hands out the element type instead of void*.
#include "platform/mfc/Array.h"

class CPtrArray : public CArray<void*, void*>
{
};

class CDWordArray : public CArray<DWORD, DWORD>
{
};

class CUIntArray : public CArray<UINT, UINT>
{
};

// CTypedPtrArray<CPtrArray, CThing*>: the same array, typed at the interface. Ownership of
// the elements stays with the caller, as with the base.
template<class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS
{
public:
    TYPE  GetAt(int nIndex) const { return static_cast<TYPE>(BASE_CLASS::GetAt(nIndex)); }
    TYPE& ElementAt(int nIndex) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(nIndex)); }
    TYPE  operator[](int nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](int nIndex) { return ElementAt(nIndex); }
    TYPE* GetData() { return reinterpret_cast<TYPE*>(BASE_CLASS::GetData()); }
    void  SetAt(int nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
    void  SetAtGrow(int nIndex, TYPE ptr) { BASE_CLASS::SetAtGrow(nIndex, ptr); }
    int   Add(TYPE ptr) { return BASE_CLASS::Add(ptr); }
    void  InsertAt(int nIndex, TYPE ptr, int nCount = 1) { BASE_CLASS::InsertAt(nIndex, ptr, nCount); }
};
