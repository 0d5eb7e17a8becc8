#include "app/TableFactory.h"

#include <map>

namespace {

std::map<UINT, PFN_MAKE_TABLE>& Makers()
{
    static std::map<UINT, PFN_MAKE_TABLE> s_makers;
    return s_makers;
}

}  // namespace

void RegisterTableMaker(UINT nNameId, PFN_MAKE_TABLE pfnMake)
{
    if (pfnMake == nullptr)
        Makers().erase(nNameId);
    else
        Makers()[nNameId] = pfnMake;
}

PFN_MAKE_TABLE FindTableMaker(UINT nNameId)
{
    const auto it = Makers().find(nNameId);
    return it == Makers().end() ? nullptr : it->second;
}

std::vector<UINT> RegisteredTableIds()
{
    std::vector<UINT> ids;
    for (const auto& maker : Makers())
        ids.push_back(maker.first);
    return ids;
}

IDataTable* MakeTable(UINT nNameId, int nFixedColumns, UINT nTitleId)
{
    const PFN_MAKE_TABLE pfnMake = FindTableMaker(nNameId);
    return pfnMake == nullptr ? nullptr : pfnMake(nNameId, nFixedColumns, nTitleId);
}
