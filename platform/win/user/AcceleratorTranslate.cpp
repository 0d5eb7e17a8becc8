// TranslateAcceleratorA: keys into commands through an accelerator table.
#include <vector>
#include "platform/win/user/Accelerators.h"
#include "platform/win/user/MenuInternal.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/VirtualKeys.h"
#include "platform/win/user/WindowRecord.h"

// The modifiers held as the key came, as accelerator flags.
static BYTE HeldModifiers(const MSG& msg)
{
    BYTE fHeld = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        fHeld |= FSHIFT;
    if (GetKeyState(VK_CONTROL) < 0)
        fHeld |= FCONTROL;
    if (GetKeyState(VK_MENU) < 0 || (HIWORD(msg.lParam) & KF_ALTDOWN))
        fHeld |= FALT;
    return fHeld;
}

static BOOL Matches(const ACCEL& accel, const MSG& msg, BYTE fHeld)
{
    const BYTE fMods = FSHIFT | FCONTROL | FALT;
    if (accel.fVirt & FVIRTKEY) {
        if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
            return FALSE;
        return msg.wParam == accel.key && (accel.fVirt & fMods) == (fHeld & fMods);
    }
    // A character entry: the character already says Shift and Ctrl; only Alt tells them apart.
    if (msg.message != WM_CHAR && msg.message != WM_SYSCHAR)
        return FALSE;
    return msg.wParam == accel.key && ((accel.fVirt & FALT) != 0) == (msg.message == WM_SYSCHAR);
}

int TranslateAcceleratorA(HWND hWnd, HACCEL hAccTable, LPMSG pMsg)
{
    if (!pMsg || !TbFindWindow(hWnd))
        return 0;
    const UINT uMsg = pMsg->message;
    if (uMsg != WM_KEYDOWN && uMsg != WM_SYSKEYDOWN && uMsg != WM_CHAR && uMsg != WM_SYSCHAR)
        return 0;
    const int nCount = CopyAcceleratorTableA(hAccTable, nullptr, 0);
    if (nCount <= 0)
        return 0;
    std::vector<ACCEL> entries(static_cast<size_t>(nCount));
    CopyAcceleratorTableA(hAccTable, entries.data(), nCount);
    const BYTE fHeld = HeldModifiers(*pMsg);
    const ACCEL* pFound = nullptr;
    for (const ACCEL& accel : entries)
        if (Matches(accel, *pMsg, fHeld)) {
            pFound = &accel;
            break;
        }
    if (!pFound || !IsWindowEnabled(GetAncestor(hWnd, GA_ROOT)))
        return 0;
    const UINT uCmd = pFound->cmd;
    // A command of the window's system menu is a system command.
    HMENU hSysMenu = (GetWindowLongA(hWnd, GWL_STYLE) & WS_SYSMENU) ? GetSystemMenu(hWnd, FALSE) : nullptr;
    if (hSysMenu && TbFindMenuCommand(hSysMenu, uCmd, nullptr)) {
        SendMessageA(hWnd, WM_SYSCOMMAND, uCmd, 0);
        return 1;
    }
    // The owner updates its menu first, so a command it greys now is not sent.
    HMENU hMenu = GetMenu(hWnd);
    if (hMenu) {
        SendMessageA(hWnd, WM_INITMENU, reinterpret_cast<WPARAM>(hMenu), 0);
        const TbMenuItem* pItem = IsMenu(hMenu) ? TbFindMenuCommand(hMenu, uCmd, nullptr) : nullptr;
        if (pItem && (pItem->fState & (MF_GRAYED | MF_DISABLED)))
            return 1;
    }
    if (IsWindow(hWnd))
        SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(uCmd, 1), 0);
    return 1;
}
