#include "platform/win/user/Accelerators.h"
#include <memory>
#include <vector>
#include "platform/win/user/HandleTable.h"

namespace {
struct AccelTable {
    std::vector<ACCEL> entries;
};

CTbHandleTable<AccelTable>& Tables()
{
    static CTbHandleTable<AccelTable> s_tables(TB_HANDLE_ACCEL);
    return s_tables;
}
}  // namespace

HACCEL CreateAcceleratorTableA(const ACCEL* pAccel, int nCount)
{
    if (!pAccel || nCount < 1)
        return nullptr;
    auto pTable = std::make_shared<AccelTable>();
    pTable->entries.assign(pAccel, pAccel + nCount);
    return reinterpret_cast<HACCEL>(Tables().Add(std::move(pTable)));
}

int CopyAcceleratorTableA(HACCEL hAccel, LPACCEL pDst, int nCount)
{
    const AccelTable* pTable = Tables().Find(reinterpret_cast<uintptr_t>(hAccel));
    if (!pTable)
        return 0;
    const int nEntries = static_cast<int>(pTable->entries.size());
    if (!pDst)
        return nEntries;
    const int nCopy = nCount < nEntries ? (nCount > 0 ? nCount : 0) : nEntries;
    for (int i = 0; i < nCopy; ++i)
        pDst[i] = pTable->entries[static_cast<size_t>(i)];
    return nCopy;
}

BOOL DestroyAcceleratorTable(HACCEL hAccel)
{
    return Tables().Remove(reinterpret_cast<uintptr_t>(hAccel)) != nullptr;
}
