// Activation, keyboard focus, mouse capture and enabling.
#include "platform/win/user/ControlInternal.h"
#include "platform/win/user/Hooks.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/ModalLoop.h"
#include "platform/win/user/WindowRecord.h"

HWND GetFocus()
{
    return TbUser().hFocus;
}

HWND SetFocus(HWND hWnd)
{
    TbUserState& user = TbUser();
    HWND hOld = user.hFocus;
    if (hWnd && !TbFindWindow(hWnd))
        return nullptr;
    if (hWnd == hOld)
        return hOld;
    if (TbCallCbtHook(HCBT_SETFOCUS, reinterpret_cast<WPARAM>(hWnd), reinterpret_cast<LPARAM>(hOld)) != 0)
        return nullptr;
    if (hWnd) {
        HWND hRoot = GetAncestor(hWnd, GA_ROOT);
        if (hRoot != user.hActive) {
            SetActiveWindow(hRoot);
            // Activating may have moved the focus already (the default activation focuses the window).
            if (user.hFocus == hWnd)
                return hOld;
            hOld = user.hFocus;
        }
    }
    user.hFocus = hWnd;
    if (hWnd)
        TbDialogsNoteFocus(hWnd);
    if (hOld && TbFindWindow(hOld))
        SendMessageA(hOld, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    if (hWnd && user.hFocus == hWnd && TbFindWindow(hWnd)) {
        if (TbWindow* pWnd = TbFindWindow(hWnd))
            if (pWnd->pSurface)
                pWnd->pSurface->SetFocus();
        SendMessageA(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(hOld), 0);
    }
    return hOld;
}

HWND GetActiveWindow()
{
    return TbUser().hActive;
}

HWND GetForegroundWindow()
{
    return TbUser().hActive;
}

HWND SetActiveWindow(HWND hWnd)
{
    TbUserState& user = TbUser();
    HWND hOld = user.hActive;
    if (hWnd) {
        if (!TbFindWindow(hWnd))
            return nullptr;
        hWnd = GetAncestor(hWnd, GA_ROOT);
    }
    if (hWnd == hOld)
        return hOld;
    if (hWnd && TbCallCbtHook(HCBT_ACTIVATE, reinterpret_cast<WPARAM>(hWnd), 0) != 0)
        return nullptr;
    // A drag inside the window losing activation ends before it does: the pointer's release
    // would go to another window.
    if (hOld && user.hCapture && GetAncestor(user.hCapture, GA_ROOT) == hOld)
        TbCancelMode();
    user.hActive = hWnd;
    if (hOld && TbFindWindow(hOld)) {
        SendMessageA(hOld, WM_NCACTIVATE, FALSE, 0);
        SendMessageA(hOld, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(hOld)), reinterpret_cast<LPARAM>(hWnd));
        if (!hWnd)
            SendMessageA(hOld, WM_ACTIVATEAPP, FALSE, 0);
    }
    // Focus left behind in the window that lost activation goes with it.
    if (user.hFocus && GetAncestor(user.hFocus, GA_ROOT) != hWnd) {
        HWND hLost = user.hFocus;
        user.hFocus = nullptr;
        if (TbFindWindow(hLost))
            SendMessageA(hLost, WM_KILLFOCUS, 0, 0);
    }
    if (hWnd && user.hActive == hWnd && TbFindWindow(hWnd)) {
        if (!hOld)
            SendMessageA(hWnd, WM_ACTIVATEAPP, TRUE, 0);
        SendMessageA(hWnd, WM_NCACTIVATE, TRUE, 0);
        if (TbWindow* pWnd = TbFindWindow(hWnd))
            if (pWnd->pSurface)
                pWnd->pSurface->Raise(TRUE);
        SendMessageA(hWnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, IsIconic(hWnd)), reinterpret_cast<LPARAM>(hOld));
    }
    return hOld;
}

BOOL SetForegroundWindow(HWND hWnd)
{
    if (!TbFindWindow(hWnd))
        return FALSE;
    SetActiveWindow(hWnd);
    return TRUE;
}

void TbDisplayActivate(HWND hWnd)
{
    // A window a modal loop disabled stays inactive: the display activating it late (or the
    // user clicking it) would otherwise take the activation from the dialog, whose loop gives
    // it back, and the two would trade it for ever.
    // A window that asks never to be active (a tip) stays out of it, whatever the display did.
    HWND hRoot = GetAncestor(hWnd, GA_ROOT);
    if (TbFindWindow(hWnd) && hRoot != TbUser().hActive && IsWindowEnabled(hRoot) &&
        !(GetWindowLongA(hRoot, GWL_EXSTYLE) & WS_EX_NOACTIVATE))
        SetActiveWindow(hWnd);
}

HWND GetCapture()
{
    return TbUser().hCapture;
}

HWND SetCapture(HWND hWnd)
{
    TbUserState& user = TbUser();
    HWND hOld = user.hCapture;
    if (!TbFindWindow(hWnd) || hWnd == hOld)
        return hOld;
    user.hCapture = hWnd;
    if (TbWindow* pWnd = TbFindWindow(hWnd))
        if (pWnd->pSurface)
            pWnd->pSurface->SetCapture(TRUE);
    if (hOld && TbFindWindow(hOld)) {
        if (TbWindow* pOld = TbFindWindow(hOld))
            if (pOld->pSurface)
                pOld->pSurface->SetCapture(FALSE);
        SendMessageA(hOld, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
    }
    return hOld;
}

void TbCancelMode()
{
    if (HWND hCapture = TbUser().hCapture)
        SendMessageA(hCapture, WM_CANCELMODE, 0, 0);
}

BOOL ReleaseCapture()
{
    TbUserState& user = TbUser();
    HWND hOld = user.hCapture;
    user.hCapture = nullptr;
    if (hOld && TbFindWindow(hOld)) {
        if (TbWindow* pOld = TbFindWindow(hOld))
            if (pOld->pSurface)
                pOld->pSurface->SetCapture(FALSE);
        SendMessageA(hOld, WM_CAPTURECHANGED, 0, 0);
    }
    return TRUE;
}

BOOL IsWindowEnabled(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    return pWnd && !(pWnd->dwStyle & WS_DISABLED);
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return FALSE;
    BOOL bWasDisabled = (pWnd->dwStyle & WS_DISABLED) != 0;
    if (bWasDisabled == !bEnable)
        return bWasDisabled;
    if (bEnable) {
        pWnd->dwStyle &= ~WS_DISABLED;
    } else {
        pWnd->dwStyle |= WS_DISABLED;
        if (GetFocus() == hWnd || IsChild(hWnd, GetFocus()))
            SetFocus(nullptr);
        if (GetCapture() == hWnd)
            ReleaseCapture();
    }
    if ((pWnd = TbFindWindow(hWnd)) != nullptr && pWnd->pSurface)
        pWnd->pSurface->SetEnabled(bEnable);
    SendMessageA(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
    return bWasDisabled;
}

// A window going away takes the focus, capture and activation it holds with it.
void TbForgetWindowState(HWND hWnd)
{
    TbUserState& user = TbUser();
    auto inTree = [hWnd](HWND h) { return h && (h == hWnd || IsChild(hWnd, h)); };
    if (inTree(user.hCapture))
        ReleaseCapture();
    if (inTree(user.hFocus)) {
        HWND hLost = user.hFocus;
        user.hFocus = nullptr;
        if (TbFindWindow(hLost))
            SendMessageA(hLost, WM_KILLFOCUS, 0, 0);
    }
    if (user.hActive == hWnd) {
        user.hActive = nullptr;
        HWND hNext = nullptr;
        if (TbWindow* pWnd = TbFindWindow(hWnd))
            hNext = pWnd->hOwner;
        for (HWND hTop : user.topLevel)
            if (!hNext && hTop != hWnd && IsWindowVisible(hTop))
                hNext = hTop;
        if (hNext && hNext != hWnd && TbFindWindow(hNext))
            SetActiveWindow(hNext);
    }
}
