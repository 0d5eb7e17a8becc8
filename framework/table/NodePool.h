#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#define TB_POOL_CHECKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TB_POOL_CHECKS 1
#endif
#endif

// Storage of the tree nodes and row cursors (their classes' operator new): slots of SLOT_SIZE
// bytes, each starting on a cache line, cut from one address range reserved at first use and
// committed chunk by chunk. Cursors come and go with every row an owner writes; a slot is a few
// instructions where the heap takes a hundred. A walk down or up a big tree reads one line per
// node only when the node starts on a line (see CTreeNode).
//
// Since every node lies in the one range, a link between nodes is a 32-bit number (the node's
// offset in LINK_UNIT steps, 0 for none) instead of a pointer, half the bytes. Objects larger
// than a slot take several adjacent ones. Free slots are kept per thread and per size and
// reused; chunks are kept for the life of the process. Sanitizer builds mark free slots as
// unaddressable, and the leak check reads the range as a root (the blocks nodes point to).
class CNodePool
{
public:
    static const size_t SLOT_SIZE = 64;
    static const size_t CHUNK_SIZE = 2 * 1024 * 1024;
    static const size_t LINK_UNIT = 8;                  // nodes align to it (they hold pointers)
    static const size_t RANGE_SIZE = (size_t{1} << 32) * LINK_UNIT;
    static const size_t SLOTS_MAX = 64;                 // the largest object: this many slots

    // A slot for an object of at most SLOT_SIZE bytes; never null (throws as new does).
    static void* Allocate() { return Allocate(SLOT_SIZE); }
    // Adjacent slots for an object of nBytes, at most SLOTS_MAX slots; throws std::bad_alloc
    // beyond or when the range is used up.
    static void* Allocate(size_t nBytes);
    // Slots from Allocate with the same size, from any thread; null is ignored.
    static void Free(void* pSlot) { Free(pSlot, SLOT_SIZE); }
    static void Free(void* pSlot, size_t nBytes);
    // Bytes of the slots this thread took and gave back, as a running balance: what a thread's
    // tables hold in nodes and cursors, for the engine's memory figures.
    static long long GetThreadBalance();

    // Links: 0 for null; any other object must lie in the range.
    static uint32_t LinkOf(const void* p)
    {
#if defined(TB_POOL_CHECKS)
        // A node from elsewhere (the stack, a member of a heap object) cannot be linked.
        if (p && !Holds(p))
            abort();
#endif
        return p ? static_cast<uint32_t>((static_cast<const char*>(p) - s_pBase) / LINK_UNIT) : 0;
    }
    template <class T> static T* At(uint32_t nLink)
    {
        return nLink ? reinterpret_cast<T*>(s_pBase + static_cast<size_t>(nLink) * LINK_UNIT) : nullptr;
    }
    // The same for a link known not to be 0: no test on the walks' hottest steps.
    template <class T> static T* AtLive(uint32_t nLink)
    {
        return reinterpret_cast<T*>(s_pBase + static_cast<size_t>(nLink) * LINK_UNIT);
    }
    // TRUE for an address inside the reserved range (checks and tests).
    static bool Holds(const void* p);

private:
    static char* Reserve();
    static char* s_pBase;       // the range's start, set before the first slot is handed out
};
