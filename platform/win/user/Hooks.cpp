// The thread's computer-based-training hooks: the framework attaches its window objects to new
// windows from the creation notification.
#include <algorithm>
#include <vector>
#include "platform/win/user/Hooks.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/WindowRecord.h"

namespace {
struct Hook {
    HHOOK    hHook;
    HOOKPROC pfn;
};
struct HookState {
    std::vector<Hook> chain;        // the last installed is called first
    uintptr_t nNextId = 0x1000;
};
HookState& Hooks()
{
    static HookState* s_pState = new HookState;
    return *s_pState;
}

LRESULT CallHook(HOOKPROC pfn, int nCode, WPARAM wParam, LPARAM lParam)
{
    try {
        return pfn(nCode, wParam, lParam);
    } catch (...) {
        return 0;       // a failing hook neither stops nor refuses anything
    }
}

// Calls the hook after hHook in the chain (the first when hHook is null).
LRESULT CallFrom(size_t nPos, int nCode, WPARAM wParam, LPARAM lParam)
{
    const auto& chain = Hooks().chain;
    if (nPos >= chain.size())
        return 0;
    size_t nIndex = chain.size() - 1 - nPos;
    return CallHook(chain[nIndex].pfn, nCode, wParam, lParam);
}
}

HHOOK SetWindowsHookExA(int idHook, HOOKPROC pfn, HINSTANCE, DWORD)
{
    if (idHook != WH_CBT || !pfn || !TbIsUiThread())
        return nullptr;
    HHOOK hHook = reinterpret_cast<HHOOK>(Hooks().nNextId);
    Hooks().nNextId += 4;
    Hooks().chain.push_back(Hook{hHook, pfn});
    return hHook;
}

BOOL UnhookWindowsHookEx(HHOOK hHook)
{
    auto& chain = Hooks().chain;
    auto it = std::find_if(chain.begin(), chain.end(), [hHook](const Hook& h) { return h.hHook == hHook; });
    if (it == chain.end())
        return FALSE;
    chain.erase(it);
    return TRUE;
}

LRESULT CallNextHookEx(HHOOK hHook, int nCode, WPARAM wParam, LPARAM lParam)
{
    const auto& chain = Hooks().chain;
    for (size_t nPos = 0; nPos < chain.size(); ++nPos)
        if (chain[chain.size() - 1 - nPos].hHook == hHook)
            return CallFrom(nPos + 1, nCode, wParam, lParam);
    return 0;
}

LRESULT TbCallCbtHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    return CallFrom(0, nCode, wParam, lParam);
}
