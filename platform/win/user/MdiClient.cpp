// The "MDICLIENT" window class: the frame's document windows, which of them is active and
// maximised, their arrangement and the window list of the frame's window menu.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/ResourceTemplates.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/LayerWords.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/MdiInternal.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/WindowRecord.h"

namespace {
const char MDI_CLIENT_CLASS[] = "MDICLIENT";
const int MAX_LISTED = 9;           // the window list names the first nine children
const UINT MORE_WINDOWS = 0xFF;     // the id of "More Windows...", past any child's, from idFirstChild
const int IDC_MORE_LIST = 100;
const int ICON_CX = 160;            // a minimised child's width in the icon row

// The client's state, kept in its window record (the class's extra bytes) from WM_CREATE to
// WM_NCDESTROY.
struct MdiState {
    HMENU hWindowMenu = nullptr;
    UINT  idFirstChild = 0;
    HWND  hActive = nullptr;
    BOOL  bMaximized = FALSE;       // the active child is maximised, and so is the next one activated
    BOOL  bActivating = FALSE;      // an activation is under way: what it sets off cannot start another
    UINT  nIdsUsed = 0;             // ids handed out from idFirstChild: a menu may still name them
    HWND  hMaxShown = nullptr;      // the maximised child whose controls stand on the frame's menu bar
    HMENU hMaxMenu = nullptr;       // the bar that holds them
    std::vector<HWND> order;        // the children in creation order: their ids and the list's order
    std::string strFrameTitle;      // the frame's own title, without a maximised child's
};

MdiState* StateOf(HWND hClient)
{
    if (!TbMdiIsClient(hClient))
        return nullptr;
    return reinterpret_cast<MdiState*>(GetWindowLongPtrA(hClient, 0));
}

BOOL IsCandidate(HWND hChild, BOOL bSkipDisabled)
{
    return IsWindowVisible(hChild) && !(bSkipDisabled && !IsWindowEnabled(hChild));
}

// The client's children in z-order, topmost first.
std::vector<HWND> ZOrder(HWND hClient)
{
    std::vector<HWND> children;
    for (HWND h = GetWindow(hClient, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        children.push_back(h);
    return children;
}

BOOL IsShown(HWND hChild, HWND hChanging, BOOL bShowing)
{
    return hChild == hChanging ? bShowing : IsWindowVisible(hChild);
}

// Ids follow creation order, the visible children first: the window list names the first nine
// by ids that run on from idFirstChild, as the menu's commands do.
void Renumber(MdiState* pState, HWND hChanging = nullptr, BOOL bShowing = FALSE)
{
    UINT uId = pState->idFirstChild;
    for (BOOL bVisible : {TRUE, FALSE})
        for (HWND hChild : pState->order)
            if (IsWindow(hChild) && IsShown(hChild, hChanging, bShowing) == bVisible)
                SetWindowLongPtrA(hChild, GWLP_ID, static_cast<LONG_PTR>(uId++));
    pState->nIdsUsed = std::max(pState->nIdsUsed, uId - pState->idFirstChild);
}


// A maximised child has no frame of its own: its system menu stands first on the frame's menu
// bar and its minimise, restore and close buttons last, on the right.
const struct { UINT uCmd; HBITMAP hbm; } MAX_BUTTONS[] = {
    {SC_MINIMIZE, HBMMENU_MBAR_MINIMIZE}, {SC_RESTORE, HBMMENU_MBAR_RESTORE}, {SC_CLOSE, HBMMENU_MBAR_CLOSE}};

HBITMAP ItemBitmap(HMENU hMenu, int nPos)
{
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_BITMAP;
    return GetMenuItemInfoA(hMenu, static_cast<UINT>(nPos), TRUE, &mii) ? mii.hbmpItem : nullptr;
}

void RemoveMaxControls(MdiState* pState)
{
    HMENU hBar = pState->hMaxMenu;
    pState->hMaxMenu = nullptr;
    pState->hMaxShown = nullptr;
    if (!IsMenu(hBar))
        return;
    // The system menu is the child's: it leaves the bar without being destroyed.
    if (GetMenuItemCount(hBar) > 0 && ItemBitmap(hBar, 0) == HBMMENU_SYSTEM)
        RemoveMenu(hBar, 0, MF_BYPOSITION);
    for (int i = GetMenuItemCount(hBar) - 1; i >= 0; --i) {
        const HBITMAP hbm = ItemBitmap(hBar, i);
        if (hbm == HBMMENU_MBAR_MINIMIZE || hbm == HBMMENU_MBAR_RESTORE || hbm == HBMMENU_MBAR_CLOSE)
            DeleteMenu(hBar, static_cast<UINT>(i), MF_BYPOSITION);
    }
}

void SyncMaxControls(HWND hClient)
{
    MdiState* pState = StateOf(hClient);
    if (!pState)
        return;
    const HWND hFrame = GetParent(hClient);
    const HMENU hBar = GetMenu(hFrame);
    const HWND hWant = pState->bMaximized && pState->hActive && IsWindow(pState->hActive) &&
                               IsZoomed(pState->hActive) && IsWindowVisible(pState->hActive)
                           ? pState->hActive : nullptr;
    if (hWant == pState->hMaxShown && hBar == pState->hMaxMenu)
        return;
    const BOOL bHad = pState->hMaxShown != nullptr;
    RemoveMaxControls(pState);
    if (hWant && IsMenu(hBar)) {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_SUBMENU | MIIM_BITMAP | MIIM_DATA;
        mii.hSubMenu = GetSystemMenu(hWant, FALSE);
        mii.hbmpItem = HBMMENU_SYSTEM;
        mii.dwItemData = reinterpret_cast<ULONG_PTR>(hWant);
        InsertMenuItemA(hBar, 0, TRUE, &mii);
        for (const auto& button : MAX_BUTTONS) {
            MENUITEMINFOA bi = {};
            bi.cbSize = sizeof bi;
            bi.fMask = MIIM_ID | MIIM_BITMAP | MIIM_FTYPE;
            bi.fType = button.uCmd == SC_MINIMIZE ? MFT_RIGHTJUSTIFY : 0;
            bi.wID = button.uCmd;
            bi.hbmpItem = button.hbm;
            InsertMenuItemA(hBar, static_cast<UINT>(GetMenuItemCount(hBar)), TRUE, &bi);
        }
        pState->hMaxShown = hWant;
        pState->hMaxMenu = hBar;
    }
    if (bHad || hWant)
        DrawMenuBar(hFrame);
    TbMdiShowFrameTitle(hClient);
}

// The window the trader works in is always among the ones the window list numbers: one
// activated beyond them takes the place of the last numbered, and keeps it afterwards.
void KeepListed(MdiState* pState, HWND hChild)
{
    std::vector<size_t> listed;
    for (size_t i = 0; i < pState->order.size(); ++i)
        if (pState->order[i] == hChild || IsWindowVisible(pState->order[i]))
            listed.push_back(i);
    const auto it = std::find(pState->order.begin(), pState->order.end(), hChild);
    if (it == pState->order.end() || listed.size() <= static_cast<size_t>(MAX_LISTED))
        return;
    const size_t nAt = static_cast<size_t>(it - pState->order.begin()), nLast = listed[MAX_LISTED - 1];
    if (nAt > nLast)
        std::swap(pState->order[nAt], pState->order[nLast]);
}

void Activate(HWND hClient, HWND hChild)
{
    MdiState* pState = StateOf(hClient);
    if (!pState || (hChild && GetParent(hChild) != hClient))
        return;
    // Activated again (its caption clicked, chosen from the window list), the active child comes
    // over whatever was brought over it: the window the keys go to is the one on top.
    if (hChild == pState->hActive) {
        if (hChild && IsWindow(hChild) && IsWindowVisible(hChild))
            SetWindowPos(hChild, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
    // A child's answer to being activated or deactivated (its size changing with the maximised
    // mode, a raise, a focus) does not start another activation: the two would call each other
    // without end. Only a child that went away during it is replaced.
    if (pState->bActivating && pState->hActive && IsWindow(pState->hActive))
        return;
    const HWND hOld = pState->hActive;
    pState->hActive = hChild;
    pState->bActivating = TRUE;
    if (hOld && IsWindow(hOld)) {
        SendMessageA(hOld, WM_NCACTIVATE, FALSE, 0);
        SendMessageA(hOld, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hOld), reinterpret_cast<LPARAM>(hChild));
    }
    if (hChild && IsWindow(hChild)) {
        // Maximised mode goes with the activation: the new child is maximised, the old restored.
        if ((pState = StateOf(hClient)) != nullptr && pState->bMaximized) {
            if (!IsZoomed(hChild))
                ShowWindow(hChild, SW_SHOWMAXIMIZED);
            if (hOld && IsWindow(hOld) && IsZoomed(hOld))
                ShowWindow(hOld, SW_SHOWNOACTIVATE);
        }
        SetWindowPos(hChild, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SendMessageA(hChild, WM_NCACTIVATE, TRUE, 0);
        SendMessageA(hChild, WM_CHILDACTIVATE, 0, 0);
        SendMessageA(hChild, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hOld), reinterpret_cast<LPARAM>(hChild));
        if (IsWindow(hChild) && GetActiveWindow() == GetAncestor(hClient, GA_ROOT) && !IsChild(hChild, GetFocus()))
            SetFocus(hChild);
    } else if ((pState = StateOf(hClient)) != nullptr) {
        pState->bMaximized = FALSE;
    }
    if ((pState = StateOf(hClient)) != nullptr) {
        pState->bActivating = FALSE;
        if (hChild && IsWindow(hChild))
            KeepListed(pState, hChild);
    }
    SyncMaxControls(hClient);
    TbMdiRefreshWindowList(hClient);
}

void Adopt(HWND hClient, HWND hChild)
{
    MdiState* pState = StateOf(hClient);
    if (!pState || std::find(pState->order.begin(), pState->order.end(), hChild) != pState->order.end())
        return;
    // It becomes active when it shows (DefMDIChildProcA's WM_SHOWWINDOW).
    pState->order.push_back(hChild);
    TbMdiRefreshWindowList(hClient);
}

void Forget(HWND hClient, HWND hChild)
{
    MdiState* pState = StateOf(hClient);
    if (!pState)
        return;
    auto it = std::find(pState->order.begin(), pState->order.end(), hChild);
    if (it == pState->order.end())
        return;
    pState->order.erase(it);
    if (pState->hActive == hChild)
        TbMdiActivateAnother(hClient, hChild);
    TbMdiRefreshWindowList(hClient);
}

// The display draws a frame and title bar around each child's client (the layer's geometry):
// places are computed for the outer rectangles, so that no title bar lies outside the client.
RECT ChildFrame()
{
    RECT rcFrame = {};
    TbGetDisplay()->GetMdiChildFrame(&rcFrame);
    return rcFrame;
}

// A frame that reads right to left arranges its children from the right, as a mirrored client does.
BOOL ReadsRightToLeft(HWND hClient)
{
    return (GetWindowLongA(GetAncestor(hClient, GA_ROOT), GWL_EXSTYLE) & (WS_EX_LAYOUTRTL | WS_EX_RTLREADING)) != 0;
}

// A child whose outer rectangle, frame included, is x, y, cx, cy; with bFromRight, x counts from
// the right of an area nWidth wide.
void PlaceFramed(HWND hChild, const RECT& rcFrame, int x, int y, int cx, int cy, BOOL bFromRight = FALSE, int nWidth = 0)
{
    if (bFromRight)
        x = nWidth - x - cx;
    SetWindowPos(hChild, nullptr, x + rcFrame.left, y + rcFrame.top, std::max(0, cx - rcFrame.left - rcFrame.right),
                 std::max(0, cy - rcFrame.top - rcFrame.bottom), SWP_NOZORDER | SWP_NOACTIVATE);
}

// The cascade in an area: outer size three quarters of it, one title bar down and on (to the left
// in a frame that reads right to left) per step.
// For nWindows more than that leaves steps for, the windows are smaller, down to a third of the
// area, so that each caption still shows below the one behind it: started again at the top, the
// later windows (the ones on top, the active one among them) would lie over the whole cascade.
struct CascadeSteps {
    RECT rcFrame;
    int nStep, cx, cy, nSteps;
};
CascadeSteps MeasureCascade(const RECT& rcArea, int nWindows = 0)
{
    CascadeSteps steps;
    steps.rcFrame = ChildFrame();
    steps.nStep = std::max(1, static_cast<int>(steps.rcFrame.top));
    const int cxArea = static_cast<int>(rcArea.right), cyArea = static_cast<int>(rcArea.bottom);
    const int nSpan = std::max(0, nWindows - 1) * steps.nStep;
    auto side = [nSpan](int nArea, int nMin) {
        const int nFitting = std::max(nArea - nSpan, std::max(nArea / 3, nMin));
        return std::max(std::min(nArea * 3 / 4, nFitting), nMin);
    };
    steps.cx = side(cxArea, GetSystemMetrics(SM_CXMIN));
    steps.cy = side(cyArea, GetSystemMetrics(SM_CYMIN));
    steps.nSteps = std::max(1, (cyArea - steps.cy) / steps.nStep + 1);
    return steps;
}

// The next place for a child made with CW_USEDEFAULT: a step down the cascade per child.
void DefaultPlace(HWND hClient, const MdiState* pState, int* px, int* py, int* pcx, int* pcy)
{
    RECT rc;
    GetClientRect(hClient, &rc);
    const CascadeSteps steps = MeasureCascade(rc);
    const int n = static_cast<int>(pState->order.size()) % steps.nSteps;
    if (*px == CW_USEDEFAULT) {
        const int cxOuter = *pcx == CW_USEDEFAULT ? steps.cx : *pcx + steps.rcFrame.left + steps.rcFrame.right;
        *px = (ReadsRightToLeft(hClient) ? rc.right - n * steps.nStep - cxOuter : n * steps.nStep) + steps.rcFrame.left;
        *py = n * steps.nStep + steps.rcFrame.top;
    }
    if (*pcx == CW_USEDEFAULT) {
        *pcx = std::max(0, steps.cx - steps.rcFrame.left - steps.rcFrame.right);
        *pcy = std::max(0, steps.cy - steps.rcFrame.top - steps.rcFrame.bottom);
    }
}

HWND CreateChild(HWND hClient, MDICREATESTRUCTA* pCreate)
{
    MdiState* pState = StateOf(hClient);
    if (!pState || !pCreate)
        return nullptr;
    DWORD dwStyle = pCreate->style | WS_CHILD | WS_CLIPSIBLINGS;
    if (!(GetWindowLongA(hClient, GWL_STYLE) & MDIS_ALLCHILDSTYLES))
        dwStyle |= WS_SYSMENU | WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    int x = pCreate->x, y = pCreate->y, cx = pCreate->cx, cy = pCreate->cy;
    DefaultPlace(hClient, pState, &x, &y, &cx, &cy);
    const UINT uId = pState->idFirstChild + static_cast<UINT>(pState->order.size());
    HWND hChild = CreateWindowExA(WS_EX_MDICHILD, pCreate->szClass, pCreate->szTitle,
                                  dwStyle & ~static_cast<DWORD>(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE), x, y, cx, cy,
                                  hClient, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(uId)),
                                  reinterpret_cast<HINSTANCE>(pCreate->hOwner), pCreate);
    if (!hChild)
        return nullptr;
    if ((pState = StateOf(hClient)) != nullptr && (dwStyle & WS_MAXIMIZE))
        pState->bMaximized = TRUE;
    if (dwStyle & WS_VISIBLE)
        ShowWindow(hChild, (pState && pState->bMaximized) ? SW_SHOWMAXIMIZED : (dwStyle & WS_MINIMIZE) ? SW_SHOWMINNOACTIVE : SW_SHOW);
    TbMdiRefreshWindowList(hClient);
    return IsWindow(hChild) ? hChild : nullptr;
}

LRESULT GetActive(HWND hClient, BOOL* pbMaximized)
{
    MdiState* pState = StateOf(hClient);
    if (pbMaximized)
        *pbMaximized = pState && pState->hActive && pState->bMaximized;
    return reinterpret_cast<LRESULT>(pState ? pState->hActive : nullptr);
}

// WM_MDINEXT: the next child (the current one goes to the bottom) or, with bPrev, the bottom one.
void Next(HWND hClient, HWND hFrom, BOOL bPrev)
{
    MdiState* pState = StateOf(hClient);
    if (!pState)
        return;
    if (!hFrom)
        hFrom = pState->hActive;
    std::vector<HWND> candidates;
    for (HWND h : ZOrder(hClient))
        if (h != hFrom && IsCandidate(h, TRUE))
            candidates.push_back(h);
    if (candidates.empty())
        return;
    HWND hNext = bPrev ? candidates.back() : candidates.front();
    Activate(hClient, hNext);
    if (!bPrev && hFrom && IsWindow(hFrom))
        SetWindowPos(hFrom, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Maximize(HWND hClient, HWND hChild)
{
    MdiState* pState = StateOf(hClient);
    if (!pState || GetParent(hChild) != hClient)
        return;
    pState->bMaximized = TRUE;
    if (pState->hActive != hChild)
        Activate(hClient, hChild);
    if (IsWindow(hChild) && !IsZoomed(hChild))
        ShowWindow(hChild, SW_SHOWMAXIMIZED);
    SyncMaxControls(hClient);
}

void Restore(HWND hClient, HWND hChild)
{
    MdiState* pState = StateOf(hClient);
    if (!pState || GetParent(hChild) != hClient)
        return;
    if (IsZoomed(hChild) || hChild == pState->hActive)
        pState->bMaximized = FALSE;
    ShowWindow(hChild, SW_RESTORE);
    if (IsWindow(hChild) && pState->hActive != hChild)
        Activate(hClient, hChild);
    SyncMaxControls(hClient);
}

void DestroyChild(HWND hClient, HWND hChild)
{
    if (GetParent(hChild) != hClient)
        return;
    Forget(hClient, hChild);
    DestroyWindow(hChild);
}

// The children an arrangement moves: visible, not minimised, bottom of the z-order first.
std::vector<HWND> Arranged(HWND hClient, BOOL bSkipDisabled)
{
    std::vector<HWND> children;
    for (HWND h : ZOrder(hClient))
        if (IsCandidate(h, bSkipDisabled) && !IsIconic(h))
            children.insert(children.begin(), h);
    return children;
}

// Leaves maximised mode before an arrangement: no child stays frameless among framed ones.
void RestoreMaximized(HWND hClient)
{
    MdiState* pState = StateOf(hClient);
    if (pState && pState->bMaximized && pState->hActive)
        Restore(hClient, pState->hActive);
    for (HWND h : ZOrder(hClient))
        if (IsZoomed(h))
            ShowWindow(h, SW_SHOWNOACTIVATE);
    SyncMaxControls(hClient);
}

BOOL HasIcons(HWND hClient)
{
    for (HWND h : ZOrder(hClient))
        if (IsWindowVisible(h) && IsIconic(h))
            return TRUE;
    return FALSE;
}

// The outer size below which a child is never made: what it answers to WM_GETMINMAXINFO beyond
// the layer's default (a form its whole dialog), frame included; 0 x 0 for a child that asks
// for nothing of its own.
SIZE OwnMinimum(HWND hChild, const RECT& rcFrame)
{
    MINMAXINFO mmi = {};
    DefWindowProcA(hChild, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    const POINT ptDefault = mmi.ptMinTrackSize;
    SendMessageA(hChild, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    if (mmi.ptMinTrackSize.x <= ptDefault.x && mmi.ptMinTrackSize.y <= ptDefault.y)
        return SIZE{0, 0};
    return SIZE{mmi.ptMinTrackSize.x + rcFrame.left + rcFrame.right, mmi.ptMinTrackSize.y + rcFrame.top + rcFrame.bottom};
}

// An outer size of at least the child's own minimum, at x, y moved back into an area nWidth by
// nHeight where it fits, so that a child kept whole is also seen whole.
void PlaceWhole(HWND hChild, const RECT& rcFrame, int x, int y, int cx, int cy, int nWidth, int nHeight, BOOL bFromRight)
{
    const SIZE min = OwnMinimum(hChild, rcFrame);
    cx = std::max(cx, static_cast<int>(min.cx));
    cy = std::max(cy, static_cast<int>(min.cy));
    x = std::max(0, std::min(x, nWidth - cx));
    y = std::max(0, std::min(y, nHeight - cy));
    PlaceFramed(hChild, rcFrame, x, y, cx, cy, bFromRight, nWidth);
}

LRESULT Cascade(HWND hClient, UINT uFlags)
{
    RestoreMaximized(hClient);
    std::vector<HWND> children = Arranged(hClient, (uFlags & MDITILE_SKIPDISABLED) != 0);
    RECT rc;
    GetClientRect(hClient, &rc);
    if (HasIcons(hClient))
        rc.bottom -= GetSystemMetrics(SM_CYMIN);
    const int nWindows = static_cast<int>(children.size());
    const CascadeSteps steps = MeasureCascade(rc, nWindows);
    // Still more windows than steps: the places go round, and the topmost window, the last
    // placed, takes the front place of the cascade.
    int n = nWindows > steps.nSteps ? (steps.nSteps - nWindows % steps.nSteps) % steps.nSteps : 0;
    const BOOL bFromRight = ReadsRightToLeft(hClient);
    for (HWND hChild : children) {
        const int nAt = (n++ % steps.nSteps) * steps.nStep;
        PlaceWhole(hChild, steps.rcFrame, nAt, nAt, steps.cx, steps.cy, rc.right, rc.bottom, bFromRight);
    }
    return nWindows;
}

// The outer places of n tiles in the area, first tile first: rows of windows side by side
// (bColumns FALSE) or columns of windows one above another; the later groups take one window
// more when they do not come out even.
std::vector<RECT> TilePlaces(int n, const RECT& rcArea, BOOL bColumns)
{
    std::vector<RECT> places;
    const int nGroups = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(n))));
    const int nAcross = bColumns ? rcArea.right - rcArea.left : rcArea.bottom - rcArea.top;   // the groups share this side
    const int nAlong = bColumns ? rcArea.bottom - rcArea.top : rcArea.right - rcArea.left;    // a group's windows this one
    for (int g = 0; g < nGroups && n > 0; ++g) {
        const int nInGroup = n / nGroups + (g >= nGroups - n % nGroups ? 1 : 0);
        const int nFrom = nAcross * g / nGroups, nTo = nAcross * (g + 1) / nGroups;
        for (int i = 0; i < nInGroup; ++i) {
            const int nStart = nAlong * i / nInGroup, nEnd = nAlong * (i + 1) / nInGroup;
            places.push_back(bColumns ? RECT{nFrom, nStart, nTo, nEnd} : RECT{nStart, nFrom, nEnd, nTo});
            OffsetRect(&places.back(), rcArea.left, rcArea.top);
        }
    }
    return places;
}

// Tiles the windows in the client. A window that would be made smaller than its own minimum (a
// form smaller than its dialog) is kept whole instead: such windows stand one above another at
// the reading start, beside the others' tiles; where they do not fit there, each is placed whole
// a title bar apart from the client's corner, and the others take the whole client.
LRESULT Tile(HWND hClient, UINT uFlags)
{
    RestoreMaximized(hClient);
    std::vector<HWND> children = Arranged(hClient, (uFlags & MDITILE_SKIPDISABLED) != 0);
    std::reverse(children.begin(), children.end());         // the topmost takes the first place
    const int n = static_cast<int>(children.size());
    if (n == 0)
        return FALSE;
    RECT rc;
    GetClientRect(hClient, &rc);
    if (HasIcons(hClient))
        rc.bottom -= GetSystemMetrics(SM_CYMIN);
    const BOOL bColumns = (uFlags & MDITILE_HORIZONTAL) != 0;
    const RECT rcFrame = ChildFrame();
    const BOOL bFromRight = ReadsRightToLeft(hClient);
    const std::vector<RECT> places = TilePlaces(n, rc, bColumns);
    std::vector<HWND> whole, tiled;
    int cxWhole = 0, cyWhole = 0;
    for (int i = 0; i < n; ++i) {
        const SIZE min = OwnMinimum(children[static_cast<size_t>(i)], rcFrame);
        const RECT& rcPlace = places[static_cast<size_t>(i)];
        if (min.cx > rcPlace.right - rcPlace.left || min.cy > rcPlace.bottom - rcPlace.top) {
            whole.push_back(children[static_cast<size_t>(i)]);
            cxWhole = std::max(cxWhole, static_cast<int>(min.cx));
            cyWhole += min.cy;
        } else {
            tiled.push_back(children[static_cast<size_t>(i)]);
        }
    }
    RECT rcTiles = rc;
    const BOOL bBeside = !whole.empty() && cyWhole <= rc.bottom && (tiled.empty() || cxWhole <= rc.right * 2 / 3);
    int y = 0, nStep = 0;
    for (HWND hChild : whole) {
        const SIZE min = OwnMinimum(hChild, rcFrame);
        PlaceWhole(hChild, rcFrame, bBeside ? 0 : nStep, bBeside ? y : nStep, min.cx, min.cy, rc.right, rc.bottom, bFromRight);
        y += min.cy;
        nStep += std::max(1, static_cast<int>(rcFrame.top));
    }
    if (bBeside)
        rcTiles.left = cxWhole;
    const std::vector<RECT> tiles = TilePlaces(static_cast<int>(tiled.size()), rcTiles, bColumns);
    for (size_t i = 0; i < tiled.size(); ++i) {
        const RECT& rcTile = tiles[i];
        PlaceFramed(tiled[i], rcFrame, rcTile.left, rcTile.top, rcTile.right - rcTile.left, rcTile.bottom - rcTile.top,
                    bFromRight, rc.right);
    }
    return TRUE;
}

// Minimised children in rows along the bottom, from the reading start (the right in a frame
// that reads right to left); answers the height the rows take.
LRESULT ArrangeIcons(HWND hClient)
{
    RECT rc;
    GetClientRect(hClient, &rc);
    const BOOL bRtl = ReadsRightToLeft(hClient);
    const int cy = GetSystemMetrics(SM_CYMIN);
    const int nPerRow = std::max(1, static_cast<int>(rc.right) / ICON_CX);
    int n = 0;
    MdiState* pState = StateOf(hClient);
    if (!pState)
        return 0;
    std::vector<HWND> order = pState->order;
    for (HWND hChild : order) {
        if (!IsWindowVisible(hChild) || !IsIconic(hChild))
            continue;
        const int x = bRtl ? static_cast<int>(rc.right) - (n % nPerRow + 1) * ICON_CX : (n % nPerRow) * ICON_CX;
        SetWindowPos(hChild, nullptr, x, rc.bottom - (n / nPerRow + 1) * cy, ICON_CX, cy, SWP_NOZORDER | SWP_NOACTIVATE);
        ++n;
    }
    return n ? ((n - 1) / nPerRow + 1) * cy : 0;
}

BOOL IsListCommand(const MdiState* pState, UINT uId)
{
    return uId >= pState->idFirstChild &&
           (uId - pState->idFirstChild < pState->nIdsUsed || uId - pState->idFirstChild == MORE_WINDOWS);
}

// The list leaves the window menu before it is made again, and the old window menu when the
// menus change: every item that names a child, whoever put it there, and the separator before.
void RemoveWindowList(MdiState* pState)
{
    if (!IsMenu(pState->hWindowMenu))
        return;
    for (int i = GetMenuItemCount(pState->hWindowMenu) - 1; i >= 0; --i)
        if (!GetSubMenu(pState->hWindowMenu, i) && IsListCommand(pState, GetMenuItemID(pState->hWindowMenu, i)))
            DeleteMenu(pState->hWindowMenu, static_cast<UINT>(i), MF_BYPOSITION);
    // The separators that stood before lists, this one's or another made in its place.
    for (int nLast = GetMenuItemCount(pState->hWindowMenu) - 1;
         nLast >= 0 && (GetMenuState(pState->hWindowMenu, static_cast<UINT>(nLast), MF_BYPOSITION) & MF_SEPARATOR); --nLast)
        DeleteMenu(pState->hWindowMenu, static_cast<UINT>(nLast), MF_BYPOSITION);
}

LRESULT SetMenus(HWND hClient, HMENU hFrameMenu, HMENU hWindowMenu)
{
    MdiState* pState = StateOf(hClient);
    HWND hFrame = GetParent(hClient);
    HMENU hOld = GetMenu(hFrame);
    if (!pState)
        return 0;
    if (hFrameMenu || hWindowMenu)
        RemoveWindowList(pState);
    if (hFrameMenu)
        RemoveMaxControls(pState);
    if (hFrameMenu && IsMenu(hFrameMenu))
        SetMenu(hFrame, hFrameMenu);
    if (hWindowMenu && IsMenu(hWindowMenu))
        pState->hWindowMenu = hWindowMenu;
    SyncMaxControls(hClient);
    TbMdiRefreshWindowList(hClient);
    return reinterpret_cast<LRESULT>(hOld);
}

LRESULT OnCreate(HWND hClient, const CREATESTRUCTA* pCs)
{
    auto* pState = new MdiState;
    if (pCs && pCs->lpCreateParams) {
        const auto* pCcs = static_cast<const CLIENTCREATESTRUCT*>(pCs->lpCreateParams);
        pState->hWindowMenu = pCcs->hWindowMenu;
        pState->idFirstChild = pCcs->idFirstChild;
    }
    // The display's area scrolls the children itself: bars of the client's own would only take
    // room from the client that the area fills, a strip no maximised child reaches.
    if (TbWindow* pWnd = TbFindWindow(hClient))
        pWnd->dwStyle &= ~static_cast<DWORD>(WS_HSCROLL | WS_VSCROLL);
    // The frame was titled before its client came.
    char szTitle[256] = {};
    GetWindowTextA(GetParent(hClient), szTitle, sizeof szTitle);
    pState->strFrameTitle = szTitle;
    SetWindowLongPtrA(hClient, 0, reinterpret_cast<LONG_PTR>(pState));
    return 0;
}

LRESULT OnNcDestroy(HWND hClient)
{
    if (MdiState* pState = StateOf(hClient))
        RemoveMaxControls(pState);
    delete StateOf(hClient);
    SetWindowLongPtrA(hClient, 0, 0);
    return DefWindowProcA(hClient, WM_NCDESTROY, 0, 0);
}

LRESULT OnSize(HWND hClient, WPARAM wParam, LPARAM lParam)
{
    // A maximised child fills the client whatever its size.
    MdiState* pState = StateOf(hClient);
    if (pState && pState->bMaximized && pState->hActive && IsZoomed(pState->hActive))
        SetWindowPos(pState->hActive, nullptr, 0, 0, LOWORD(lParam), HIWORD(lParam), SWP_NOZORDER | SWP_NOACTIVATE);
    if (HasIcons(hClient))
        ArrangeIcons(hClient);
    return DefWindowProcA(hClient, WM_SIZE, wParam, lParam);
}

LRESULT OnSetFocus(HWND hClient)
{
    MdiState* pState = StateOf(hClient);
    if (pState && pState->hActive && IsWindow(pState->hActive) && !IsIconic(pState->hActive))
        SetFocus(pState->hActive);
    return 0;
}

LRESULT OnParentNotify(HWND hClient, WPARAM wParam, LPARAM lParam)
{
    HWND hChild = reinterpret_cast<HWND>(lParam);
    if (LOWORD(wParam) == WM_CREATE && (GetWindowLongA(hChild, GWL_EXSTYLE) & WS_EX_MDICHILD))
        Adopt(hClient, hChild);
    else if (LOWORD(wParam) == WM_DESTROY)
        Forget(hClient, hChild);
    return 0;
}

// "More Windows...": every visible child by title; the one chosen, or null.
INT_PTR CALLBACK MoreWindowsProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    HWND hList = GetDlgItem(hDlg, IDC_MORE_LIST);
    switch (uMsg) {
    case WM_INITDIALOG: {
        const HWND hClient = reinterpret_cast<HWND>(lParam);
        const MdiState* pState = StateOf(hClient);
        for (HWND hChild : pState ? pState->order : std::vector<HWND>()) {
            if (!IsWindowVisible(hChild))
                continue;
            char szTitle[128] = {};
            GetWindowTextA(hChild, szTitle, sizeof szTitle);
            const int nIndex = static_cast<int>(SendMessageA(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(szTitle)));
            SendMessageA(hList, LB_SETITEMDATA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(hChild));
            if (hChild == pState->hActive)
                SendMessageA(hList, LB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
        }
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || (LOWORD(wParam) == IDC_MORE_LIST && HIWORD(wParam) == LBN_DBLCLK)) {
            const LRESULT nSel = SendMessageA(hList, LB_GETCURSEL, 0, 0);
            EndDialog(hDlg, nSel < 0 ? 0 : static_cast<INT_PTR>(SendMessageA(hList, LB_GETITEMDATA, static_cast<WPARAM>(nSel), 0)));
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(hDlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

HWND ChooseFromAll(HWND hClient)
{
    TBDLGTEMPLATE dlg;
    dlg.dwStyle = DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    dlg.cx = 180;
    dlg.cy = 120;
    const auto Word = [](const char* pszEnglish) { return TbUtf8ToCodePage(TbLayerWord(pszEnglish), CP_ACP); };
    dlg.strCaption = Word("Select Window");
    const DWORD dwChild = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    dlg.items.push_back({"LISTBOX", "", IDC_MORE_LIST, dwChild | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 0, 7, 7, 166, 84});
    dlg.items.push_back({"BUTTON", Word("OK"), IDOK, dwChild | BS_DEFPUSHBUTTON, 0, 69, 98, 50, 14});
    dlg.items.push_back({"BUTTON", Word("Cancel"), IDCANCEL, dwChild | BS_PUSHBUTTON, 0, 123, 98, 50, 14});
    const INT_PTR nChosen = DialogBoxIndirectParamA(nullptr, &dlg, GetAncestor(hClient, GA_ROOT), MoreWindowsProc,
                                                    reinterpret_cast<LPARAM>(hClient));
    HWND hChosen = nChosen > 0 ? reinterpret_cast<HWND>(nChosen) : nullptr;
    return hChosen && IsWindow(hChosen) && GetParent(hChosen) == hClient ? hChosen : nullptr;
}

LRESULT CALLBACK MdiClientWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE:         return OnCreate(hWnd, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_NCDESTROY:      return OnNcDestroy(hWnd);
    case WM_SIZE:           return OnSize(hWnd, wParam, lParam);
    case WM_SETFOCUS:       return OnSetFocus(hWnd);
    case WM_PARENTNOTIFY:   return OnParentNotify(hWnd, wParam, lParam);
    case WM_MDICREATE:      return reinterpret_cast<LRESULT>(CreateChild(hWnd, reinterpret_cast<MDICREATESTRUCTA*>(lParam)));
    case WM_MDIACTIVATE:    Activate(hWnd, reinterpret_cast<HWND>(wParam)); return 0;
    case WM_MDIGETACTIVE:   return GetActive(hWnd, reinterpret_cast<BOOL*>(lParam));
    case WM_MDINEXT:        Next(hWnd, reinterpret_cast<HWND>(wParam), lParam != 0); return 0;
    case WM_MDIMAXIMIZE:    Maximize(hWnd, reinterpret_cast<HWND>(wParam)); return 0;
    case WM_MDIRESTORE:     Restore(hWnd, reinterpret_cast<HWND>(wParam)); return 0;
    case WM_MDIDESTROY:     DestroyChild(hWnd, reinterpret_cast<HWND>(wParam)); return 0;
    case WM_MDICASCADE:     return Cascade(hWnd, static_cast<UINT>(wParam));
    case WM_MDITILE:        return Tile(hWnd, static_cast<UINT>(wParam));
    case WM_MDIICONARRANGE: return ArrangeIcons(hWnd);
    case WM_MDISETMENU:     return SetMenus(hWnd, reinterpret_cast<HMENU>(wParam), reinterpret_cast<HMENU>(lParam));
    case WM_MDIREFRESHMENU: TbMdiRefreshWindowList(hWnd); return reinterpret_cast<LRESULT>(GetMenu(GetParent(hWnd)));
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
}  // namespace

BOOL TbRegisterMdiClientClass(LPCSTR pszClassName)
{
    if (!pszClassName || IS_INTRESOURCE(pszClassName) || strcasecmp(pszClassName, MDI_CLIENT_CLASS) != 0)
        return FALSE;
    WNDCLASSA wc = {};
    if (GetClassInfoA(nullptr, MDI_CLIENT_CLASS, &wc))
        return TRUE;
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = MdiClientWndProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_APPWORKSPACE + 1));
    wc.lpszClassName = MDI_CLIENT_CLASS;
    return RegisterClassA(&wc) != 0;
}

BOOL TbMdiIsClient(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    return pWnd && pWnd->pfnWndProc && pWnd->pClass->pfnWndProc == MdiClientWndProc;
}

HWND TbMdiClientOf(HWND hChild)
{
    HWND hParent = GetParent(hChild);
    return TbMdiIsClient(hParent) ? hParent : nullptr;
}

void TbMdiActivateUnder(HWND hWnd)
{
    for (HWND h = hWnd; h; h = GetParent(h)) {
        const HWND hClient = TbMdiClientOf(h);
        if (!hClient)
            continue;
        if (!StateOf(hClient) || !IsWindowVisible(h) || !IsWindowEnabled(h))
            return;
        SendMessageA(hClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(h), 0);
        return;
    }
}

// The topmost visible child other than hLeaving that is open (not minimised); null when none.
static HWND NextOpen(HWND hClient, HWND hLeaving)
{
    for (HWND h : ZOrder(hClient))
        if (h != hLeaving && IsCandidate(h, FALSE) && !IsIconic(h))
            return h;
    return nullptr;
}

void TbMdiNoteZOrder(HWND hChild)
{
    // The window on top is the one the keys go to: a child brought over the active one (by the
    // program, or by a workspace putting its order back) takes the activation, and an active
    // child sent below others hands it to the one now on top.
    const HWND hClient = TbMdiClientOf(hChild);
    const MdiState* pState = StateOf(hClient);
    if (!pState || pState->bActivating)
        return;
    const HWND hTop = NextOpen(hClient, nullptr);
    if (hTop && hTop != pState->hActive)
        Activate(hClient, hTop);
}

void TbMdiActivateAnother(HWND hClient, HWND hLeaving)
{
    // A window still open before a minimised one: the next close goes to a window it can close.
    if (HWND hOpen = NextOpen(hClient, hLeaving)) {
        Activate(hClient, hOpen);
        return;
    }
    for (HWND h : ZOrder(hClient))
        if (h != hLeaving && IsCandidate(h, FALSE)) {
            Activate(hClient, h);
            return;
        }
    Activate(hClient, nullptr);
}

BOOL TbMdiIsListCommand(HWND hClient, UINT uId)
{
    MdiState* pState = StateOf(hClient);
    return pState && IsListCommand(pState, uId);
}

HWND TbMdiChildOfCommand(HWND hClient, UINT uId)
{
    MdiState* pState = StateOf(hClient);
    if (!pState || !IsListCommand(pState, uId))
        return nullptr;
    if (uId - pState->idFirstChild == MORE_WINDOWS)
        return ChooseFromAll(hClient);
    for (HWND hChild : pState->order)
        if (static_cast<UINT>(GetDlgCtrlID(hChild)) == uId && IsWindowVisible(hChild))
            return hChild;
    return nullptr;
}

void TbMdiNoteChildState(HWND hClient, HWND hChild)
{
    MdiState* pState = StateOf(hClient);
    if (!pState)
        return;
    if (hChild == pState->hActive && !pState->bActivating)
        pState->bMaximized = IsZoomed(hChild);
    if (IsIconic(hChild)) {
        // It goes to the icon row at once, and the next window still open takes the activation.
        ArrangeIcons(hClient);
        if (HWND hOpen = hChild == pState->hActive ? NextOpen(hClient, hChild) : nullptr)
            Activate(hClient, hOpen);
    }
    if ((pState = StateOf(hClient)) != nullptr)
        SyncMaxControls(hClient);
}

void TbMdiRefreshWindowList(HWND hClient, HWND hChanging, BOOL bShowing)
{
    MdiState* pState = StateOf(hClient);
    if (!pState)
        return;
    RemoveWindowList(pState);
    Renumber(pState, hChanging, bShowing);
    if (!IsMenu(pState->hWindowMenu))
        return;
    int nListed = 0;
    for (HWND hChild : pState->order) {
        if (!IsShown(hChild, hChanging, bShowing))
            continue;
        if (nListed == 0)
            AppendMenuA(pState->hWindowMenu, MF_SEPARATOR, 0, nullptr);
        if (nListed == MAX_LISTED) {
            AppendMenuA(pState->hWindowMenu, MF_STRING, pState->idFirstChild + MORE_WINDOWS,
                        TbUtf8ToCodePage(TbLayerWord("&More Windows..."), CP_ACP).c_str());
            break;
        }
        char szTitle[128] = {};
        GetWindowTextA(hChild, szTitle, sizeof szTitle);
        char szItem[160];
        snprintf(szItem, sizeof szItem, "&%d %s", nListed + 1, szTitle);
        AppendMenuA(pState->hWindowMenu, MF_STRING | (hChild == pState->hActive ? MF_CHECKED : 0),
                    static_cast<UINT_PTR>(GetDlgCtrlID(hChild)), szItem);
        ++nListed;
    }
}

void TbMdiPrepareMenu(HWND hFrame, HMENU hMenu)
{
    for (HWND h = GetWindow(hFrame, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (MdiState* pState = StateOf(h); pState && hMenu && pState->hWindowMenu == hMenu)
            TbMdiRefreshWindowList(h);
}

BOOL TbMdiSetFrameTitle(HWND hClient, LPCSTR pszTitle)
{
    MdiState* pState = StateOf(hClient);
    if (!pState)
        return FALSE;
    pState->strFrameTitle = pszTitle ? pszTitle : "";
    TbMdiShowFrameTitle(hClient);
    return TRUE;
}

void TbMdiShowFrameTitle(HWND hClient)
{
    const MdiState* pState = StateOf(hClient);
    if (!pState)
        return;
    // A maximised child has no caption of its own: its title shows in the frame's.
    std::string strTitle = pState->strFrameTitle;
    if (pState->hMaxShown && IsWindow(pState->hMaxShown)) {
        char szChild[256] = {};
        GetWindowTextA(pState->hMaxShown, szChild, sizeof szChild);
        if (szChild[0])
            strTitle += std::string(" - [") + szChild + "]";
    }
    const HWND hFrame = GetParent(hClient);
    char szShown[512] = {};
    GetWindowTextA(hFrame, szShown, sizeof szShown);
    if (strTitle != szShown)
        DefWindowProcA(hFrame, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strTitle.c_str()));
}
