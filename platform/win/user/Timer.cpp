// Timers. A due timer is not a queued message: GetMessage makes its WM_TIMER when nothing else
// waits, so a late timer gives one WM_TIMER, never a burst.
#include <algorithm>
#include <climits>
#include <vector>
#include "platform/win/user/QueueInternal.h"
#include "platform/win/user/WindowRecord.h"

namespace {
struct Timer {
    HWND      hWnd;
    UINT_PTR  nId;
    UINT      uPeriod;
    TIMERPROC pfn;
    DWORD     dwDue;
};
std::vector<Timer>& Timers()
{
    static std::vector<Timer>* s_pTimers = new std::vector<Timer>;
    return *s_pTimers;
}
// Due times wrap with the millisecond counter; compare by difference.
bool IsDue(DWORD dwDue, DWORD dwNow)
{
    return static_cast<int32_t>(dwNow - dwDue) >= 0;
}
}

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC pfnTimerFunc)
{
    if (!TbIsUiThread() || (hWnd && !TbFindWindow(hWnd)))
        return 0;
    uElapse = std::clamp<UINT>(uElapse, USER_TIMER_MINIMUM, 0x7FFFFFFF);
    auto& timers = Timers();
    if (!hWnd) {
        // Thread timers get an id of their own unless they name one that exists.
        bool bExists = std::any_of(timers.begin(), timers.end(),
                                   [nIDEvent](const Timer& t) { return !t.hWnd && t.nId == nIDEvent; });
        if (!bExists || nIDEvent == 0) {
            static UINT_PTR s_nNextId = 0x7F00;
            nIDEvent = ++s_nNextId;
        }
    }
    DWORD dwDue = TbNowMs() + uElapse;
    for (Timer& t : timers)
        if (t.hWnd == hWnd && t.nId == nIDEvent) {
            t.uPeriod = uElapse;
            t.pfn = pfnTimerFunc;
            t.dwDue = dwDue;
            return nIDEvent ? nIDEvent : 1;
        }
    timers.push_back(Timer{hWnd, nIDEvent, uElapse, pfnTimerFunc, dwDue});
    TbGetDisplay()->Wake();
    return nIDEvent ? nIDEvent : 1;
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent)
{
    auto& timers = Timers();
    auto it = std::find_if(timers.begin(), timers.end(),
                           [&](const Timer& t) { return t.hWnd == hWnd && t.nId == uIDEvent; });
    if (it == timers.end())
        return FALSE;
    timers.erase(it);
    return TRUE;
}

void TbDropWindowTimers(HWND hWnd)
{
    auto& timers = Timers();
    timers.erase(std::remove_if(timers.begin(), timers.end(), [hWnd](const Timer& t) { return t.hWnd == hWnd; }),
                 timers.end());
}

BOOL TbTimerExists(HWND hWnd, UINT_PTR nId, TIMERPROC pfn)
{
    for (const Timer& t : Timers())
        if (t.hWnd == hWnd && t.nId == nId && t.pfn == pfn)
            return TRUE;
    return FALSE;
}

BOOL TbTakeTimer(HWND hWndFilter, BOOL bRemove, MSG* pMsg)
{
    DWORD dwNow = TbNowMs();
    Timer* pBest = nullptr;
    for (Timer& t : Timers()) {
        if (!IsDue(t.dwDue, dwNow) || !TbMatchesWindowFilter(t.hWnd, hWndFilter))
            continue;
        if (!pBest || static_cast<int32_t>(t.dwDue - pBest->dwDue) < 0)
            pBest = &t;
    }
    if (!pBest)
        return FALSE;
    *pMsg = MSG{pBest->hWnd, WM_TIMER, pBest->nId, reinterpret_cast<LPARAM>(pBest->pfn), dwNow, {0, 0}, 0};
    if (bRemove)
        pBest->dwDue = dwNow + pBest->uPeriod;
    return TRUE;
}

int TbMsUntilNextTimer()
{
    DWORD dwNow = TbNowMs();
    int nBest = -1;
    for (const Timer& t : Timers()) {
        int32_t nLeft = static_cast<int32_t>(t.dwDue - dwNow);
        nLeft = std::max(nLeft, 0);
        if (nBest < 0 || nLeft < nBest)
            nBest = nLeft;
    }
    return nBest;
}
