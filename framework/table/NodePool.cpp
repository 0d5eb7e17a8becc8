#include "framework/table/NodePool.h"
#include <atomic>
#include <cstring>
#include <mutex>
#include <new>
#include "framework/table/TablePlatform.h"

#if defined(TB_POOL_CHECKS)
#include <sanitizer/asan_interface.h>
#include <sanitizer/lsan_interface.h>
#define POOL_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define POOL_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define POOL_POISON(p, n) ((void)(p), (void)(n))
#define POOL_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

char* CNodePool::s_pBase = nullptr;

namespace {

struct CFreeSlot
{
    CFreeSlot* pNext;
};

// A thread's slots: a free list per size in slots, then the untouched rest of its last chunk.
// Zero-filled at thread start, so the thread-local needs no constructor.
struct CThreadSlots
{
    CFreeSlot* apFree[CNodePool::SLOTS_MAX + 1];
    char* pNext;
    char* pEnd;
    long long nBalance;     // bytes taken less bytes given back
};

thread_local CThreadSlots t_slots;

std::mutex s_rangeLock;
size_t s_nCommitted = 0;    // bytes of the range handed out as chunks

void NewChunk(char* pBase)
{
    size_t nOffset;
    {
        std::lock_guard<std::mutex> lock(s_rangeLock);
        if (s_nCommitted + CNodePool::CHUNK_SIZE > CNodePool::RANGE_SIZE)
            throw std::bad_alloc();
        nOffset = s_nCommitted;
        if (!TableCommitRange(pBase + nOffset, CNodePool::CHUNK_SIZE))
            throw std::bad_alloc();
        s_nCommitted += CNodePool::CHUNK_SIZE;
    }
    char* pChunk = pBase + nOffset;
    POOL_POISON(pChunk, CNodePool::CHUNK_SIZE);
    // Offset 0 would read as the null link: the range's first slot is never handed out.
    t_slots.pNext = nOffset == 0 ? pChunk + CNodePool::SLOT_SIZE : pChunk;
    t_slots.pEnd = pChunk + CNodePool::CHUNK_SIZE;
}

const size_t HALF_SIZE = CNodePool::SLOT_SIZE / 2;

// The size class of an object: 0 for half a slot, else its count of slots.
size_t SlotsFor(size_t nBytes)
{
    return nBytes <= HALF_SIZE ? 0 : (nBytes + CNodePool::SLOT_SIZE - 1) / CNodePool::SLOT_SIZE;
}

size_t BytesOf(size_t nSlots)
{
    return nSlots ? nSlots * CNodePool::SLOT_SIZE : HALF_SIZE;
}

}  // namespace

void* CNodePool::Allocate(size_t nBytes)
{
    const size_t nSlots = SlotsFor(nBytes);
    if (nSlots > SLOTS_MAX)
        throw std::bad_alloc();
    const size_t nSize = BytesOf(nSlots);
    if (nSlots == 0 && !t_slots.apFree[0]) {
        // Half slots come in pairs cut from one slot: both go on the list, taken from there.
        char* pPair = static_cast<char*>(Allocate(SLOT_SIZE));
        Free(pPair + HALF_SIZE, HALF_SIZE);
        Free(pPair, HALF_SIZE);
    }
    char* pSlot;
    if (CFreeSlot* pFree = t_slots.apFree[nSlots]) {
        POOL_UNPOISON(pFree, sizeof(CFreeSlot));
        t_slots.apFree[nSlots] = pFree->pNext;
        pSlot = reinterpret_cast<char*>(pFree);
    } else {
        if (static_cast<size_t>(t_slots.pEnd - t_slots.pNext) < nSize) {
            // The chunk's rest goes to the one-slot list rather than unused.
            for (char* p = t_slots.pNext; p && p + SLOT_SIZE <= t_slots.pEnd; p += SLOT_SIZE) {
                t_slots.nBalance += static_cast<long long>(SLOT_SIZE);
                POOL_UNPOISON(p, SLOT_SIZE);
                Free(p, SLOT_SIZE);
            }
            NewChunk(Reserve());
        }
        pSlot = t_slots.pNext;
        t_slots.pNext += nSize;
    }
    t_slots.nBalance += static_cast<long long>(nSize);
    POOL_UNPOISON(pSlot, nSize);
    return pSlot;
}

void CNodePool::Free(void* pSlot, size_t nBytes)
{
    if (!pSlot)
        return;
    const size_t nSlots = SlotsFor(nBytes);
    const size_t nSize = BytesOf(nSlots);
    t_slots.nBalance -= static_cast<long long>(nSize);
#if defined(TB_POOL_CHECKS)
    // A freed node keeps no pointer that would hide a leak from the check.
    memset(pSlot, 0, nSize);
#endif
    CFreeSlot* pFree = static_cast<CFreeSlot*>(pSlot);
    pFree->pNext = t_slots.apFree[nSlots];
    t_slots.apFree[nSlots] = pFree;
    POOL_POISON(pSlot, nSize);
}

char* CNodePool::Reserve()
{
    // Once for the process; every thread's first chunk passes here before it hands out a slot.
    static char* s_pRange = [] {
        char* pRange = static_cast<char*>(TableReserveRange(RANGE_SIZE, CHUNK_SIZE));
        if (!pRange)
            throw std::bad_alloc();
#if defined(TB_POOL_CHECKS)
        // Nodes hold the only pointers to their value blocks and attributes.
        __lsan_register_root_region(pRange, RANGE_SIZE);
#endif
        s_pBase = pRange;
        return pRange;
    }();
    return s_pRange;
}

long long CNodePool::GetThreadBalance()
{
    return t_slots.nBalance;
}

bool CNodePool::Holds(const void* p)
{
    const char* pc = static_cast<const char*>(p);
    return s_pBase && pc >= s_pBase && pc < s_pBase + RANGE_SIZE;
}
