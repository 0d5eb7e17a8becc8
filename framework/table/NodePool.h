#pragma once
#include <cstddef>

// Storage of the row nodes and row cursors (their classes' operator new): slots of SLOT_SIZE
// bytes, each starting on a cache line, cut from large chunks. Cursors come and go with every
// row an owner writes; a slot is a few instructions where the heap takes a hundred. A walk down or up a big tree reads one line per node only
// when the node starts on a line (see CTreeNode); the heap's 16-byte alignment would split most
// nodes over two. Free slots are kept per thread and reused; chunks are kept for the life of the
// process. Sanitizer builds take every node from the heap, so that their checks see each one.
class CNodePool
{
public:
    static const size_t SLOT_SIZE = 128;
    static const size_t CHUNK_SIZE = 2 * 1024 * 1024;

    // A slot for an object of at most SLOT_SIZE bytes; never null (throws as new does).
    static void* Allocate();
    // A slot from Allocate, from any thread.
    static void Free(void* pSlot);
    // Bytes of the slots this thread took and gave back, as a running balance: what a thread's
    // tables hold in row nodes and cursors, for the engine's memory figures.
    static long long GetThreadBalance();
};
