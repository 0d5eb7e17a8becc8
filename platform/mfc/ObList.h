#pragma once
// The typed lists the system uses: of objects (a table's windows), of plain pointers, and of
// texts. None of them owns what its pointers point at.
#include "platform/mfc/List.h"

class CObList : public CList<CObject*, CObject*>
{
public:
    using CList::CList;
};

class CPtrList : public CList<void*, void*>
{
public:
    using CList::CList;
};

class CStringList : public CList<CString, LPCSTR>
{
public:
    using CList::CList;
};
