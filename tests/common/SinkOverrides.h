#pragma once
// Which handlers a message sink's class overrides, read from the object's virtual table: the
// test side of the rule that every sink takes exactly the types of its own handlers. The program
// never looks at virtual tables; only this check does, and only for g++ and clang, which lay a
// virtual member pointer out as the handler's byte offset in the table plus one (on ARM the
// flag moves to the adjustment word).
#include <cstdint>
#include <cstring>
#include <ostream>
#include "link/MessageSink.h"

#if !defined(__GNUC__)
#error "SinkOverrides.h reads the virtual tables of g++ and clang only"
#endif

namespace sink_overrides {

using SinkHandler = void (CZorvatMessageSink::*)(CServerMessage*);

// A sink's table pointer: a class with virtual functions and no virtual base starts with it, a
// secondary base too (its table holds thunks to the overrides).
inline const void* const* VirtualTable(const CZorvatMessageSink* pSink)
{
    const void* const* pTable;
    memcpy(&pTable, static_cast<const void*>(pSink), sizeof pTable);
    return pTable;
}

// The index of a virtual handler in the table.
inline size_t TableIndex(SinkHandler pfnHandler)
{
    struct {
        uintptr_t nPtr;
        ptrdiff_t nAdj;
    } pmf;
    static_assert(sizeof pmf == sizeof(SinkHandler), "a member pointer is two words");
    memcpy(&pmf, &pfnHandler, sizeof pmf);
#if defined(__arm__) || defined(__aarch64__)
    const uintptr_t nOffset = pmf.nPtr;
#else
    const uintptr_t nOffset = pmf.nPtr - 1;
#endif
    return nOffset / sizeof(void*);
}

}  // namespace sink_overrides

// The types whose handlers pSink's class overrides (OnRecord, OnEnd and OnTick aside).
inline CMessageTypeSet GetOverriddenTypes(const CZorvatMessageSink* pSink)
{
    using namespace sink_overrides;
    static const CZorvatMessageSink s_base;
    const void* const* pBase = VirtualTable(&s_base);
    const void* const* pTable = VirtualTable(pSink);
    CMessageTypeSet types;
#define TB_MESSAGE(mn, code, kind, field, role) \
    if (pTable[TableIndex(&CZorvatMessageSink::On##mn)] != pBase[TableIndex(&CZorvatMessageSink::On##mn)]) \
        types.Add(code);
#define TB_MESSAGE_GAP(slot)
#define TB_MESSAGE_NOSINK(mn, code)
#include "link/MessageTypeList.h"
    return types;
}

// Prints a set as its mnemonics, so that a failed comparison shows the types on each side.
inline void PrintTo(const CMessageTypeSet& types, std::ostream* pOut)
{
    *pOut << "{";
#define TB_MESSAGE(mn, code, kind, field, role) \
    if (types.HasSlot(MESSAGE_SLOT_##mn)) \
        *pOut << " " #mn;
#define TB_MESSAGE_GAP(slot)
#define TB_MESSAGE_NOSINK(mn, code)
#include "link/MessageTypeList.h"
    *pOut << " }";
}
