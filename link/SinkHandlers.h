#pragma once
// The handler of each sink slot, and whether a sink has one of its own. A fan-out passes over
// a sink whose handler of the type is still the do-nothing default, without calling it.
#include <cstddef>
#include <cstring>
#include "link/MessageSink.h"

class CServerMessage;

using SinkHandler = void (CZorvatMessageSink::*)(CServerMessage*);

// The handler of a slot of MessageTypeList.h; null for a gap or a slot outside 1 to 254.
SinkHandler GetSinkHandler(int nSlot);

// The default of one slot as it stands in the virtual table. It is read from the sink's table
// at each question, so a sink still being built or torn down is judged as a call made now
// would be dispatched.
struct CDefaultHandler {
    size_t nIndex = 0;              // in the virtual table
    const void* pEntry = nullptr;   // null where the table's layout is not known: never default

    BOOL IsDefaultIn(const CZorvatMessageSink* pSink) const
    {
        return pEntry != nullptr && VirtualTable(pSink)[nIndex] == pEntry;
    }
    static const void* const* VirtualTable(const CZorvatMessageSink* pSink)
    {
        // A class with virtual functions and no virtual base starts with its table pointer.
        const void* const* pTable;
        memcpy(&pTable, static_cast<const void*>(pSink), sizeof pTable);
        return pTable;
    }
};

// The default of a slot; one that is never default for a slot without a handler.
const CDefaultHandler& GetDefaultHandler(int nSlot);

// Whether pSink's handler of the slot is its own (or may be: see CDefaultHandler).
inline BOOL HasSinkHandler(const CZorvatMessageSink* pSink, int nSlot)
{
    return !GetDefaultHandler(nSlot).IsDefaultIn(pSink);
}
