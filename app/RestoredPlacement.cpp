#include "app/RestoredPlacement.h"

#include <algorithm>
#include "platform/win/user/Display.h"

namespace {

// One side of the window: its outer extent (frame included) moved inside [0, nArea) where it
// fits, else to the area's start, so that the caption and the left edge stay in reach.
void FitSpan(LONG& nStart, LONG& nEnd, int nBefore, int nAfter, int nScreen, int nMin, int nArea)
{
    const long long nWanted = static_cast<long long>(nEnd) - nStart;
    const int nSize = static_cast<int>(std::clamp<long long>(nWanted, nMin, std::max(nMin, nScreen - nBefore - nAfter)));
    int nOuter = static_cast<int>(std::clamp<long long>(nStart, -nScreen, nScreen)) - nBefore;
    if (nOuter + nBefore + nSize + nAfter > nArea)
        nOuter = nArea - (nBefore + nSize + nAfter);
    nOuter = std::max(0, nOuter);
    nStart = nOuter + nBefore;
    nEnd = nStart + nSize;
}

}  // namespace

RECT ReachableChildRect(HWND hClient, RECT rc)
{
    // The display's frame around a child's rectangle: its top holds the caption.
    RECT rcFrame = {};
    TbGetDisplay()->GetMdiChildFrame(&rcFrame);
    const int cxScreen = GetSystemMetrics(SM_CXSCREEN), cyScreen = GetSystemMetrics(SM_CYSCREEN);
    // A client not laid out yet has no size: the screen stands for it.
    RECT rcArea = {};
    if (hClient == nullptr || !GetClientRect(hClient, &rcArea) || IsRectEmpty(&rcArea))
        rcArea = RECT{0, 0, cxScreen, cyScreen};
    FitSpan(rc.left, rc.right, rcFrame.left, rcFrame.right, cxScreen, GetSystemMetrics(SM_CXMIN), rcArea.right);
    FitSpan(rc.top, rc.bottom, rcFrame.top, rcFrame.bottom, cyScreen, GetSystemMetrics(SM_CYMIN), rcArea.bottom);
    return rc;
}

void MakeFramePlacementReachable(WINDOWPLACEMENT* pwp)
{
    // A frame smaller than this holds its menu, toolbar and status bar but no window to work in.
    static const int FRAME_MIN_CX = 640, FRAME_MIN_CY = 480;
    if (pwp == nullptr)
        return;
    auto fit = [](LONG& nStart, LONG& nEnd, int nMin, int nScreen) {
        const long long nWanted = static_cast<long long>(nEnd) - nStart;
        const int nSize = static_cast<int>(std::clamp<long long>(nWanted, std::min(nMin, nScreen), nScreen));
        nStart = static_cast<LONG>(std::clamp<long long>(nStart, 0, nScreen - nSize));
        nEnd = nStart + nSize;
    };
    RECT& rc = pwp->rcNormalPosition;
    fit(rc.left, rc.right, FRAME_MIN_CX, GetSystemMetrics(SM_CXSCREEN));
    fit(rc.top, rc.bottom, FRAME_MIN_CY, GetSystemMetrics(SM_CYSCREEN));
}

void MakePlacementReachable(HWND hWnd, WINDOWPLACEMENT* pwp)
{
    if (pwp != nullptr)
        pwp->rcNormalPosition = ReachableChildRect(hWnd != nullptr ? GetParent(hWnd) : nullptr, pwp->rcNormalPosition);
}
