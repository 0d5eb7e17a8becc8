#include "app/SessionHooks.h"

#include <algorithm>
#include <vector>

namespace {
std::vector<PFN_LOGOFF_HOOK>& Hooks()
{
    static std::vector<PFN_LOGOFF_HOOK> s_hooks;
    return s_hooks;
}
}  // namespace

void RegisterLogoffHook(PFN_LOGOFF_HOOK pfnHook)
{
    if (pfnHook != nullptr && std::find(Hooks().begin(), Hooks().end(), pfnHook) == Hooks().end())
        Hooks().push_back(pfnHook);
}

void RunLogoffHooks()
{
    for (PFN_LOGOFF_HOOK pfnHook : Hooks())
        pfnHook();
}
