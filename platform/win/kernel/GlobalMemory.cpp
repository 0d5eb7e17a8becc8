// Global memory blocks. A fixed block's handle is its address; a moveable block's handle names
// a record that follows the block when it is reallocated, so the handle stays valid.
#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "platform/win/kernel/Kernel.h"

namespace {
struct CGlobalBlock {
    void* pData = nullptr;
    SIZE_T nSize = 0;
    int nLocks = 0;
    bool bMoveable = false;
};

// The clipboard may hand blocks across threads, so the table is locked.
std::mutex s_mutex;
std::unordered_map<HGLOBAL, CGlobalBlock*> s_blocks;

CGlobalBlock* Find(HGLOBAL hMem)
{
    const auto it = s_blocks.find(hMem);
    return it == s_blocks.end() ? nullptr : it->second;
}

// malloc(0) may answer null; a block of no bytes still needs an address.
void* Allocate(SIZE_T nBytes, bool bZero)
{
    const SIZE_T n = nBytes ? nBytes : 1;
    return bZero ? std::calloc(n, 1) : std::malloc(n);
}
}  // namespace

HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes)
{
    void* pData = Allocate(dwBytes, (uFlags & GMEM_ZEROINIT) != 0);
    if (!pData) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto* pBlock = new CGlobalBlock{pData, dwBytes, 0, (uFlags & GMEM_MOVEABLE) != 0};
    const HGLOBAL hMem = pBlock->bMoveable ? static_cast<HGLOBAL>(pBlock) : pData;
    std::lock_guard<std::mutex> lock(s_mutex);
    s_blocks[hMem] = pBlock;
    return hMem;
}

HGLOBAL GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags)
{
    std::lock_guard<std::mutex> lock(s_mutex);
    CGlobalBlock* pBlock = Find(hMem);
    if (!pBlock) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // A fixed block may move only when the caller allows it; a locked moveable block never.
    if ((!pBlock->bMoveable && !(uFlags & GMEM_MOVEABLE)) || (pBlock->bMoveable && pBlock->nLocks > 0)) {
        if (dwBytes > pBlock->nSize) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        pBlock->nSize = dwBytes;            // shrinking in place is always possible
        return hMem;
    }
    void* pData = std::realloc(pBlock->pData, dwBytes ? dwBytes : 1);
    if (!pData) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if ((uFlags & GMEM_ZEROINIT) && dwBytes > pBlock->nSize)
        std::memset(static_cast<BYTE*>(pData) + pBlock->nSize, 0, dwBytes - pBlock->nSize);
    pBlock->pData = pData;
    pBlock->nSize = dwBytes;
    if (pBlock->bMoveable)
        return hMem;
    s_blocks.erase(hMem);
    s_blocks[pData] = pBlock;
    return pData;
}

LPVOID GlobalLock(HGLOBAL hMem)
{
    std::lock_guard<std::mutex> lock(s_mutex);
    CGlobalBlock* pBlock = Find(hMem);
    if (!pBlock) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (pBlock->bMoveable)
        ++pBlock->nLocks;
    return pBlock->pData;
}

BOOL GlobalUnlock(HGLOBAL hMem)
{
    std::lock_guard<std::mutex> lock(s_mutex);
    CGlobalBlock* pBlock = Find(hMem);
    if (!pBlock) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (pBlock->nLocks > 0)
        --pBlock->nLocks;
    // TRUE while the block is still locked; FALSE with no error once it is not.
    SetLastError(ERROR_SUCCESS);
    return pBlock->nLocks > 0 ? TRUE : FALSE;
}

SIZE_T GlobalSize(HGLOBAL hMem)
{
    std::lock_guard<std::mutex> lock(s_mutex);
    const CGlobalBlock* pBlock = Find(hMem);
    return pBlock ? pBlock->nSize : 0;
}

HGLOBAL GlobalFree(HGLOBAL hMem)
{
    std::lock_guard<std::mutex> lock(s_mutex);
    CGlobalBlock* pBlock = Find(hMem);
    if (!pBlock) {
        SetLastError(ERROR_INVALID_HANDLE);
        return hMem;
    }
    s_blocks.erase(hMem);
    std::free(pBlock->pData);
    delete pBlock;
    return nullptr;
}

void* TbAllocLargeChunk(SIZE_T nSize)
{
    void* pChunk = std::aligned_alloc(nSize, nSize);
#if defined(MADV_HUGEPAGE)
    // One page table entry for the whole chunk: walks that touch it all over then miss the
    // address cache far less often.
    if (pChunk)
        madvise(pChunk, nSize, MADV_HUGEPAGE);
#endif
    return pChunk;
}
