#include "app/FormFactory.h"

#include <map>

namespace {

std::map<UINT, PFN_MAKE_FORM_VIEW>& Makers()
{
    static std::map<UINT, PFN_MAKE_FORM_VIEW> s_makers;
    return s_makers;
}

}  // namespace

void RegisterFormMaker(UINT nFormId, PFN_MAKE_FORM_VIEW pfnMake)
{
    if (pfnMake == nullptr)
        Makers().erase(nFormId);
    else
        Makers()[nFormId] = pfnMake;
}

PFN_MAKE_FORM_VIEW FindFormMaker(UINT nFormId)
{
    const auto it = Makers().find(nFormId);
    return it == Makers().end() ? nullptr : it->second;
}
