#pragma once
// The root of the class library's objects, and the small types every collection shares:
// POSITION for walking lists and maps, and the 8-bit text types the library's interfaces use.
#include "platform/win/WinTypes.h"

// Text is 8-bit in the active code page, so the generic text names are the narrow ones.
typedef char TCHAR;
typedef char* LPTSTR;
typedef const char* LPCTSTR;
#ifndef _T
#define _T(x) x
#endif

// An opaque place in a list or map: null ends a walk.
struct TB_POSITION__;
typedef TB_POSITION__* POSITION;
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(static_cast<LONG_PTR>(-1)))

// Every class-library object derives from this, so owners can delete through a base pointer
// and collections of objects (CObList) can hold any of them.
class CObject
{
public:
    virtual ~CObject() = default;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};
