// Popup menus in the layer's modal loop, and the display's reports of menus the user works.
#include "platform/win/user/MdiInternal.h"
#include "platform/win/user/MenuInternal.h"
#include "platform/win/user/ModalLoop.h"
#include "platform/win/user/QueueInternal.h"
#include "platform/win/user/TestAnswers.h"
#include "platform/win/user/WindowRecord.h"

// The popup menu open: one at a time, as on the original.
struct TbMenuTracking {
    HMENU hMenu = nullptr;
    HWND  hOwner = nullptr;
    UINT  uFlags = 0;
    BOOL  bShown = FALSE;       // the display shows it to someone
    BOOL  bDone = FALSE;
    BOOL  bClosedByDisplay = FALSE;
    UINT  uChosen = 0;
};

// How long an unanswered popup without a display waits for a timer that could answer it.
static const int HEADLESS_WAIT_MS = 1000;

// A chosen id counts only when it names an enabled item of the menu: nobody can choose a greyed one.
static UINT ValidChoice(HMENU hMenu, UINT uId)
{
    const TbMenuItem* pItem = uId ? TbFindMenuCommand(hMenu, uId, nullptr) : nullptr;
    return pItem && !(pItem->fState & (MF_GRAYED | MF_DISABLED)) ? uId : 0;
}

static BOOL IsTrackingDone(TbMenuTracking& t)
{
    if (t.bDone)
        return TRUE;
    // A test's answer, and the headless close, wait until what is queued has been delivered.
    MSG msg;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
        return FALSE;
    TBTESTANSWER answer;
    if (TbTakeTestAnswer(TB_ASK_POPUPMENU, &answer)) {
        t.uChosen = ValidChoice(t.hMenu, static_cast<UINT>(answer.nValue));
        t.bDone = TRUE;
    } else if (!t.bShown) {
        const int nNextTimer = TbMsUntilNextTimer();
        t.bDone = nNextTimer < 0 || nNextTimer > HEADLESS_WAIT_MS;
    }
    return t.bDone;
}

static BOOL IsSystemMenuOf(HWND hWnd, HMENU hMenu)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    return pWnd && pWnd->hSysMenu && pWnd->hSysMenu == hMenu;
}

BOOL TrackPopupMenuEx(HMENU hMenu, UINT uFlags, int x, int y, HWND hWnd, LPTPMPARAMS)
{
    TbUserState& user = TbUser();
    if (!IsMenu(hMenu) || !TbFindWindow(hWnd) || user.pMenuTracking || !TbIsUiThread())
        return FALSE;
    // Before this menu counts as open: the default answer to WM_CANCELMODE closes the open menu.
    TbCancelMode();
    if (user.pMenuTracking || !IsMenu(hMenu) || !TbFindWindow(hWnd))
        return FALSE;
    TbMenuTracking tracking;
    tracking.hMenu = hMenu;
    tracking.hOwner = hWnd;
    tracking.uFlags = uFlags;
    user.pMenuTracking = &tracking;
    const BOOL bNotify = !(uFlags & TPM_NONOTIFY);
    const BOOL bSystem = IsSystemMenuOf(hWnd, hMenu);
    if (bNotify) {
        SendMessageA(hWnd, WM_ENTERMENULOOP, TRUE, 0);
        SendMessageA(hWnd, WM_INITMENU, reinterpret_cast<WPARAM>(hMenu), 0);
        TbMdiPrepareMenu(hWnd, hMenu);
        SendMessageA(hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), MAKELPARAM(0, bSystem));
    }
    // The owner may have destroyed the menu or itself while preparing it.
    if (IsMenu(hMenu) && IsWindow(hWnd)) {
        tracking.bShown = TbGetDisplay()->OpenPopupMenu(hMenu, uFlags, POINT{x, y}, hWnd);
        // A popup does not disable its owner: the loop has no owner.
        TbRunModalLoop(nullptr, [&tracking] { return IsTrackingDone(tracking); }, {}, TB_MODAL_KEEPMODE);
        if (tracking.bShown && !tracking.bClosedByDisplay)
            TbGetDisplay()->ClosePopupMenu();
    }
    user.pMenuTracking = nullptr;
    const UINT uChosen = IsMenu(hMenu) ? ValidChoice(hMenu, tracking.uChosen) : 0;
    if (bNotify && IsWindow(hWnd)) {
        SendMessageA(hWnd, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        SendMessageA(hWnd, WM_EXITMENULOOP, TRUE, 0);
    }
    if (uFlags & TPM_RETURNCMD)
        return static_cast<BOOL>(uChosen);
    // The command comes through the queue, after the menu is gone, as on the original.
    if (uChosen && IsWindow(hWnd))
        PostMessageA(hWnd, bSystem ? WM_SYSCOMMAND : WM_COMMAND, uChosen, 0);
    return TRUE;
}

BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int, HWND hWnd, const RECT*)
{
    return TrackPopupMenuEx(hMenu, uFlags, x, y, hWnd, nullptr);
}

BOOL EndMenu()
{
    TbMenuTracking* pTracking = TbUser().pMenuTracking;
    if (!pTracking)
        return FALSE;
    pTracking->uChosen = 0;
    pTracking->bDone = TRUE;
    return TRUE;
}

// ---- calls from the display ----

void TbDisplayMenuInit(HWND hOwner, HMENU hMenu, int nPos, BOOL bEntering)
{
    if (!TbFindWindow(hOwner) || !IsMenu(hMenu))
        return;
    TbMenuTracking* pTracking = TbUser().pMenuTracking;
    if (pTracking) {
        if (pTracking->hOwner == hOwner && !(pTracking->uFlags & TPM_NONOTIFY)) {
            TbMdiPrepareMenu(hOwner, hMenu);
            SendMessageA(hOwner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), MAKELPARAM(nPos, FALSE));
        }
        return;
    }
    // A menu bar of a modal dialog's owner does not open (the display asks first; this is the
    // layer's word on it).
    if (!TbDisplayTakesInput(hOwner))
        return;
    if (bEntering) {
        SendMessageA(hOwner, WM_ENTERMENULOOP, FALSE, 0);
        SendMessageA(hOwner, WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(hOwner)), 0);
    }
    TbMdiPrepareMenu(hOwner, hMenu);
    if (IsWindow(hOwner) && IsMenu(hMenu))
        SendMessageA(hOwner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu),
                     MAKELPARAM(nPos, IsSystemMenuOf(hOwner, hMenu)));
}

void TbDisplayMenuSelect(HWND hOwner, HMENU hMenu, UINT uItem, UINT uFlags)
{
    TbMenuTracking* pTracking = TbUser().pMenuTracking;
    if (!TbFindWindow(hOwner) || (pTracking && (pTracking->uFlags & TPM_NONOTIFY)))
        return;
    SendMessageA(hOwner, WM_MENUSELECT, MAKEWPARAM(uItem, uFlags), reinterpret_cast<LPARAM>(hMenu));
}

void TbDisplayMenuDone(HWND hOwner, UINT uId)
{
    if (TbMenuTracking* pTracking = TbUser().pMenuTracking) {
        pTracking->uChosen = uId;
        pTracking->bDone = TRUE;
        pTracking->bClosedByDisplay = TRUE;
        // The modal loop may be waiting for a message: wake it to see the menu closed.
        PostMessageA(pTracking->hOwner, WM_NULL, 0, 0);
        return;
    }
    if (!TbFindWindow(hOwner))
        return;
    SendMessageA(hOwner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    SendMessageA(hOwner, WM_EXITMENULOOP, FALSE, 0);
    HMENU hMenu = GetMenu(hOwner);
    if (uId && IsWindow(hOwner) && hMenu && ValidChoice(hMenu, uId) && TbDisplayTakesInput(hOwner))
        PostMessageA(hOwner, WM_COMMAND, uId, 0);
}
