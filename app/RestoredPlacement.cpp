#include "app/RestoredPlacement.h"

#include <algorithm>
#include <cmath>
#include <vector>
#include "platform/win/user/Display.h"

namespace {

int s_nWorkspaceLoads = 0;      // CWorkspacePlacing scopes open: the outermost one fits the windows

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
    // A client not laid out yet has no size: the screen stands for it. While a workspace loads,
    // its windows keep their places relative to each other, only kept near the screen: they are
    // fitted into the client together when it is whole.
    RECT rcArea = {};
    if (s_nWorkspaceLoads > 0)
        rcArea = RECT{0, 0, 2 * cxScreen, 2 * cyScreen};
    else if (hClient == nullptr || !GetClientRect(hClient, &rcArea) || IsRectEmpty(&rcArea))
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

namespace {

// One side of the client: the windows' edges along it, mapped into [0, nArea) when they reach
// past it. The stretches between neighbouring edges shrink alike, save those of at most nKeep
// (title-bar steps), which keep their length while the others leave room for them.
class CSpanFit
{
public:
    CSpanFit(std::vector<int> edges, int nArea, int nKeep)
    {
        edges.push_back(0);
        std::sort(edges.begin(), edges.end());
        edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
        m_edges = edges;
        m_fitted.assign(edges.size(), 0.0);
        const int nExtent = edges.back() - edges.front();
        if (nExtent <= nArea) {
            for (size_t i = 0; i < edges.size(); ++i)
                m_fitted[i] = edges[i];
            return;
        }
        double dKept = 0, dShrunk = 0;
        for (size_t i = 1; i < edges.size(); ++i)
            (edges[i] - edges[i - 1] <= nKeep ? dKept : dShrunk) += edges[i] - edges[i - 1];
        // Too many short stretches to keep: all shrink alike.
        const bool bKeepShort = dShrunk > 0 && dKept < nArea / 2;
        const double dFactor = bKeepShort ? (nArea - dKept) / dShrunk : static_cast<double>(nArea) / nExtent;
        for (size_t i = 1; i < edges.size(); ++i) {
            const int nGap = edges[i] - edges[i - 1];
            m_fitted[i] = m_fitted[i - 1] + (bKeepShort && nGap <= nKeep ? nGap : nGap * dFactor);
        }
    }
    int Map(int n) const
    {
        const auto it = std::lower_bound(m_edges.begin(), m_edges.end(), n);
        const size_t i = static_cast<size_t>(std::min<std::ptrdiff_t>(it - m_edges.begin(), m_edges.size() - 1));
        return static_cast<int>(std::lround(m_fitted[i]));
    }

private:
    std::vector<int> m_edges;
    std::vector<double> m_fitted;
};

}  // namespace

CWorkspacePlacing::CWorkspacePlacing(HWND hClient) : m_hClient(hClient)
{
    ++s_nWorkspaceLoads;
}

CWorkspacePlacing::~CWorkspacePlacing()
{
    if (--s_nWorkspaceLoads == 0)
        FitChildrenIntoClient(m_hClient);
}

void FitChildrenIntoClient(HWND hClient)
{
    RECT rcArea = {};
    if (hClient == nullptr || !IsWindow(hClient))
        return;
    if (!GetClientRect(hClient, &rcArea) || IsRectEmpty(&rcArea))
        rcArea = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT rcFrame = {};
    TbGetDisplay()->GetMdiChildFrame(&rcFrame);
    struct Open { HWND hWnd; RECT rcOuter; };
    std::vector<Open> open;
    std::vector<int> xs, ys;
    bool bIcons = false;
    for (HWND h = GetWindow(hClient, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
        if (!IsWindowVisible(h) || IsZoomed(h))
            continue;
        if (IsIconic(h)) {
            bIcons = true;
            continue;
        }
        RECT rc;
        GetWindowRect(h, &rc);
        MapWindowPoints(nullptr, hClient, reinterpret_cast<POINT*>(&rc), 2);
        const RECT rcOuter = {std::max<LONG>(0, rc.left - rcFrame.left), std::max<LONG>(0, rc.top - rcFrame.top),
                              std::max<LONG>(0, rc.right + rcFrame.right), std::max<LONG>(0, rc.bottom + rcFrame.bottom)};
        open.push_back({h, rcOuter});
        xs.insert(xs.end(), {static_cast<int>(rcOuter.left), static_cast<int>(rcOuter.right)});
        ys.insert(ys.end(), {static_cast<int>(rcOuter.top), static_cast<int>(rcOuter.bottom)});
    }
    // The minimised windows' row stays clear, as the arrangements leave it.
    if (bIcons)
        rcArea.bottom -= GetSystemMetrics(SM_CYMIN);
    const int nKeep = 2 * std::max(1, static_cast<int>(rcFrame.top));
    const CSpanFit fitX(xs, rcArea.right, nKeep), fitY(ys, rcArea.bottom, nKeep);
    for (const Open& o : open) {
        MINMAXINFO mmi = {};
        SendMessageA(o.hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
        RECT rc = {fitX.Map(o.rcOuter.left) + rcFrame.left, fitY.Map(o.rcOuter.top) + rcFrame.top,
                   fitX.Map(o.rcOuter.right) - rcFrame.right, fitY.Map(o.rcOuter.bottom) - rcFrame.bottom};
        rc.right = std::max(rc.right, rc.left + mmi.ptMinTrackSize.x);
        rc.bottom = std::max(rc.bottom, rc.top + mmi.ptMinTrackSize.y);
        rc = ReachableChildRect(hClient, rc);
        RECT rcNow;
        GetWindowRect(o.hWnd, &rcNow);
        MapWindowPoints(nullptr, hClient, reinterpret_cast<POINT*>(&rcNow), 2);
        if (!EqualRect(&rc, &rcNow))
            SetWindowPos(o.hWnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

HWND LowestCaptionCovered(HWND hWnd)
{
    const HWND hClient = hWnd != nullptr ? GetParent(hWnd) : nullptr;
    if (hClient == nullptr)
        return nullptr;
    RECT rcFrame = {};
    TbGetDisplay()->GetMdiChildFrame(&rcFrame);
    auto outer = [&](HWND h) {
        RECT rc;
        GetWindowRect(h, &rc);
        return RECT{rc.left - rcFrame.left, rc.top - rcFrame.top, rc.right + rcFrame.right, rc.bottom + rcFrame.bottom};
    };
    const RECT rcOver = outer(hWnd);
    HWND hLowest = nullptr;
    for (HWND h = GetWindow(hWnd, GW_HWNDNEXT); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
        if (!IsWindowVisible(h) || IsIconic(h))
            continue;
        const RECT rc = outer(h);
        const RECT rcCaption = {rc.left, rc.top, rc.right, rc.top + rcFrame.top};
        RECT rcCommon;
        if (IntersectRect(&rcCommon, &rcCaption, &rcOver))
            hLowest = h;
    }
    return hLowest;
}
