// The default procedures of an MDI frame and its children, and the MDI system keys.
#include "platform/win/user/MdiInternal.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/VirtualKeys.h"
#include "platform/win/user/WindowRecord.h"

static HWND ActiveChild(HWND hClient)
{
    return reinterpret_cast<HWND>(SendMessageA(hClient, WM_MDIGETACTIVE, 0, 0));
}

LRESULT DefFrameProcA(HWND hWnd, HWND hWndMDIClient, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (!TbMdiIsClient(hWndMDIClient))
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    switch (uMsg) {
    case WM_COMMAND:
        if (lParam == 0) {
            // The window list activates its child, bringing a minimised one back.
            if (HWND hChild = TbMdiChildOfCommand(hWndMDIClient, LOWORD(wParam))) {
                if (IsIconic(hChild))
                    SendMessageA(hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(hChild), 0);
                SendMessageA(hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hChild), 0);
                return 0;
            }
            if (TbMdiIsListCommand(hWndMDIClient, LOWORD(wParam)))
                return 0;       // a window that has gone, or no choice among more windows
            // A maximised child's system commands come through the frame's menu bar.
            HWND hActive = ActiveChild(hWndMDIClient);
            if (hActive && LOWORD(wParam) >= SC_SIZE)
                return SendMessageA(hActive, WM_SYSCOMMAND, wParam, lParam);
        }
        break;
    case WM_SIZE:
        MoveWindow(hWndMDIClient, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        SetFocus(hWndMDIClient);
        return 0;
    case WM_SETTEXT:
        if (TbMdiSetFrameTitle(hWndMDIClient, reinterpret_cast<LPCSTR>(lParam)))
            return TRUE;
        break;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

// A move or size the user made on the display waits in the record for the child's answer.
static LRESULT ApplyUserGeometry(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd || IsRectEmpty(&pWnd->rcUserPending))
        return 0;
    const RECT rc = pWnd->rcUserPending;
    pWnd->rcUserPending = RECT{0, 0, 0, 0};
    SetWindowPos(hWnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

static LRESULT OnChildSysCommand(HWND hWnd, HWND hClient, WPARAM wParam, LPARAM lParam)
{
    const WPARAM hChild = reinterpret_cast<WPARAM>(hWnd);
    switch (wParam & 0xFFF0) {
    case SC_KEYMENU:
        if (lParam == '-') {
            // The window's own menu at its top corner on the reading side; the choice is its command.
            RECT rc;
            GetWindowRect(hWnd, &rc);
            const BOOL bRtl = (GetWindowLongA(GetAncestor(hWnd, GA_ROOT), GWL_EXSTYLE) & (WS_EX_LAYOUTRTL | WS_EX_RTLREADING)) != 0;
            const UINT uChosen = static_cast<UINT>(TrackPopupMenu(GetSystemMenu(hWnd, FALSE),
                TPM_RETURNCMD | (bRtl ? TPM_RIGHTALIGN : TPM_LEFTALIGN), bRtl ? rc.right : rc.left, rc.top, 0, hWnd, nullptr));
            if (uChosen != 0 && IsWindow(hWnd))
                SendMessageA(hWnd, WM_SYSCOMMAND, uChosen, 0);
            return 0;
        }
        break;
    case SC_MAXIMIZE:    SendMessageA(hClient, WM_MDIMAXIMIZE, hChild, 0); return 0;
    case SC_RESTORE:     SendMessageA(hClient, WM_MDIRESTORE, hChild, 0); return 0;
    case SC_NEXTWINDOW:  SendMessageA(hClient, WM_MDINEXT, hChild, 0); return 0;
    case SC_PREVWINDOW:  SendMessageA(hClient, WM_MDINEXT, hChild, 1); return 0;
    case SC_CLOSE:       SendMessageA(hWnd, WM_CLOSE, 0, 0); return 0;
    case SC_MOVE:
    case SC_SIZE:        return ApplyUserGeometry(hWnd);
    case SC_MINIMIZE:
        ShowWindow(hWnd, SW_SHOWMINNOACTIVE);
        TbMdiNoteChildState(hClient, hWnd);
        return 0;
    }
    return DefWindowProcA(hWnd, WM_SYSCOMMAND, wParam, 0);
}

LRESULT DefMDIChildProcA(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    HWND hClient = TbMdiClientOf(hWnd);
    if (!hClient)
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    switch (uMsg) {
    case WM_SYSCOMMAND:
        return OnChildSysCommand(hWnd, hClient, wParam, lParam);
    case WM_CLOSE:
        SendMessageA(hClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(hWnd), 0);
        return 0;
    case WM_CHILDACTIVATE:
        // Also when active already: the display's click on a caption brings it over the others.
        SendMessageA(hClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hWnd), 0);
        break;
    case WM_SETFOCUS:
        if (ActiveChild(hClient) != hWnd)
            SendMessageA(hClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hWnd), 0);
        break;
    case WM_SHOWWINDOW:
        // A child that shows becomes the active one; one that hides (kept for later instead of
        // closed) leaves the activation to another.
        if (wParam)
            SendMessageA(hClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hWnd), 0);
        else if (ActiveChild(hClient) == hWnd)
            TbMdiActivateAnother(hClient, hWnd);
        TbMdiRefreshWindowList(hClient, hWnd, wParam != 0);
        break;
    case WM_SETTEXT: {
        LRESULT lResult = DefWindowProcA(hWnd, uMsg, wParam, lParam);
        TbMdiRefreshWindowList(hClient);
        TbMdiShowFrameTitle(hClient);
        return lResult;
    }
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

BOOL TranslateMDISysAccel(HWND hWndClient, LPMSG pMsg)
{
    if (!pMsg || !TbMdiIsClient(hWndClient) || (pMsg->message != WM_KEYDOWN && pMsg->message != WM_SYSKEYDOWN))
        return FALSE;
    if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0)
        return FALSE;
    UINT uCmd = 0;
    switch (pMsg->wParam) {
    case VK_F4:  uCmd = SC_CLOSE; break;
    case VK_F5:  uCmd = SC_RESTORE; break;
    case VK_F6:
    case VK_TAB: uCmd = GetKeyState(VK_SHIFT) < 0 ? SC_PREVWINDOW : SC_NEXTWINDOW; break;
    default:     return FALSE;
    }
    HWND hActive = ActiveChild(hWndClient);
    if (!hActive || !IsWindowEnabled(hActive))
        return FALSE;
    SendMessageA(hActive, WM_SYSCOMMAND, uCmd, MAKELPARAM(pMsg->wParam, 0));
    return TRUE;
}

// ---- calls from the display ----

// Puts the display back to what the window record says, after a request the window refused.
static void ResyncSurface(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd || !pWnd->pSurface)
        return;
    pWnd->pSurface->SetShowState(pWnd->nShowState);
    pWnd->pSurface->SetGeometry(pWnd->rcWindow.left, pWnd->rcWindow.top, TbWindowWidth(pWnd), TbWindowHeight(pWnd));
}

void TbDisplayUserGeometry(HWND hWnd, int x, int y, int cx, int cy)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return;
    if (!TbDisplayTakesInput(hWnd)) {
        ResyncSurface(hWnd);
        return;
    }
    const BOOL bSized = cx != TbWindowWidth(pWnd) || cy != TbWindowHeight(pWnd);
    if (!bSized && x == pWnd->rcWindow.left && y == pWnd->rcWindow.top)
        return;
    pWnd->rcUserPending = RECT{x, y, x + cx, y + cy};
    SendMessageA(hWnd, WM_SYSCOMMAND, bSized ? SC_SIZE : SC_MOVE, MAKELPARAM(x, y));
    if ((pWnd = TbFindWindow(hWnd)) == nullptr)
        return;
    pWnd->rcUserPending = RECT{0, 0, 0, 0};
    if (pWnd->rcWindow.left != x || pWnd->rcWindow.top != y || TbWindowWidth(pWnd) != cx || TbWindowHeight(pWnd) != cy)
        ResyncSurface(hWnd);
}

void TbDisplaySysCommand(HWND hWnd, UINT uCmd)
{
    if (!TbFindWindow(hWnd))
        return;
    if (TbDisplayTakesInput(hWnd))
        SendMessageA(hWnd, WM_SYSCOMMAND, uCmd, 0);
    ResyncSurface(hWnd);
}

void TbDisplayChildActivate(HWND hWnd)
{
    if (TbFindWindow(hWnd) && TbDisplayTakesInput(hWnd))
        SendMessageA(hWnd, WM_CHILDACTIVATE, 0, 0);
}
