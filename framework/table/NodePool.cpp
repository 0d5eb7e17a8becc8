#include "framework/table/NodePool.h"
#include <mutex>
#include <new>
#include "platform/win/kernel/Kernel.h"

namespace {

struct CFreeSlot
{
    CFreeSlot* pNext;
};

// A thread's slots: the free list first, then the untouched rest of its last chunk. Zero-filled
// at thread start, so the thread-local needs no constructor.
struct CThreadSlots
{
    CFreeSlot* pFree;
    char* pNext;
    char* pEnd;
    long long nBalance;     // slots taken less slots given back
};

thread_local CThreadSlots t_slots;

// Every chunk, linked through its first slot, so that they stay reachable to the end.
std::mutex s_chunkLock;
void* s_pChunks = nullptr;

#if defined(__SANITIZE_ADDRESS__)
const bool s_bHeapOnly = true;
#else
const bool s_bHeapOnly = false;
#endif

void NewChunk()
{
    // Large pages: a walk over a big tree touches nodes all over the chunks, and with small
    // pages nearly every step would also miss the address cache.
    void* pChunk = TbAllocLargeChunk(CNodePool::CHUNK_SIZE);
    if (!pChunk)
        throw std::bad_alloc();
    {
        std::lock_guard<std::mutex> lock(s_chunkLock);
        *static_cast<void**>(pChunk) = s_pChunks;
        s_pChunks = pChunk;
    }
    t_slots.pNext = static_cast<char*>(pChunk) + CNodePool::SLOT_SIZE;
    t_slots.pEnd = static_cast<char*>(pChunk) + CNodePool::CHUNK_SIZE;
}

}  // namespace

void* CNodePool::Allocate()
{
    ++t_slots.nBalance;
    if (s_bHeapOnly)
        return ::operator new(SLOT_SIZE, std::align_val_t(64));
    if (CFreeSlot* pSlot = t_slots.pFree) {
        t_slots.pFree = pSlot->pNext;
        return pSlot;
    }
    if (t_slots.pNext == t_slots.pEnd)
        NewChunk();
    void* pSlot = t_slots.pNext;
    t_slots.pNext += SLOT_SIZE;
    return pSlot;
}

void CNodePool::Free(void* pSlot)
{
    if (!pSlot)
        return;
    --t_slots.nBalance;
    if (s_bHeapOnly) {
        ::operator delete(pSlot, std::align_val_t(64));
        return;
    }
    CFreeSlot* pFree = static_cast<CFreeSlot*>(pSlot);
    pFree->pNext = t_slots.pFree;
    t_slots.pFree = pFree;
}

long long CNodePool::GetThreadBalance()
{
    return t_slots.nBalance * static_cast<long long>(SLOT_SIZE);
}
