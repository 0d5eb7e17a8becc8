// Input: the display's mouse and keyboard events as queued messages, the keyboard state the
// program sees, and TranslateMessage.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/MdiInternal.h"
#include "platform/win/user/QueueInternal.h"
#include "platform/win/user/ScrollBarInternal.h"
#include "platform/win/user/Sound.h"
#include "platform/win/user/VirtualKeys.h"
#include "platform/win/user/WindowRecord.h"

namespace {
struct InputState {
    BYTE  keys[256] = {};       // bit 7 down, bit 0 toggled
    BYTE  delivered[256] = {};  // bit 7 down, as the display's deliveries left it
    POINT ptCursor = {0, 0};
    // Characters of recent key presses, so that TranslateMessage gives what the keyboard typed.
    struct KeyChars { DWORD dwId; char szChars[8]; };
    KeyChars ring[64] = {};
    DWORD dwNextId = 1;
};
InputState& Input()
{
    static InputState* s_pState = new InputState;
    return *s_pState;
}

void SetKey(int nVk, bool bDown)
{
    BYTE& b = Input().keys[nVk & 0xFF];
    if (bDown && !(b & 0x80))
        b ^= 0x01;
    b = static_cast<BYTE>(bDown ? (b | 0x80) : (b & ~0x80));
}

void SetDelivered(int nVk, bool bDown)
{
    BYTE& b = Input().delivered[nVk & 0xFF];
    b = static_cast<BYTE>(bDown ? 0x80 : 0);
}

// A press or release of a modifier holds its left-hand twin too, as one key of each is all the
// display tells apart.
int LeftTwin(int nVk)
{
    return nVk == VK_SHIFT ? VK_LSHIFT : nVk == VK_CONTROL ? VK_LCONTROL : nVk == VK_MENU ? VK_LMENU : 0;
}

// The buttons a mouse message presses (1) or releases (0); -1 for the others.
int ButtonOf(UINT uMsg, int* pVk)
{
    static const struct { UINT uMsg; int nVk; int nDown; } s_buttons[] = {
        {WM_LBUTTONDOWN, VK_LBUTTON, 1}, {WM_LBUTTONDBLCLK, VK_LBUTTON, 1}, {WM_LBUTTONUP, VK_LBUTTON, 0},
        {WM_RBUTTONDOWN, VK_RBUTTON, 1}, {WM_RBUTTONDBLCLK, VK_RBUTTON, 1}, {WM_RBUTTONUP, VK_RBUTTON, 0},
        {WM_MBUTTONDOWN, VK_MBUTTON, 1}, {WM_MBUTTONDBLCLK, VK_MBUTTON, 1}, {WM_MBUTTONUP, VK_MBUTTON, 0},
    };
    for (const auto& b : s_buttons) {
        if (b.uMsg == uMsg) {
            *pVk = b.nVk;
            return b.nDown;
        }
    }
    return -1;
}
}

SHORT GetKeyState(int nVirtKey)
{
    BYTE b = Input().keys[nVirtKey & 0xFF];
    return static_cast<SHORT>(((b & 0x80) ? 0x8000 : 0) | (b & 0x01));
}

SHORT GetAsyncKeyState(int nVirtKey)
{
    return TbGetDisplay()->GetAsyncKeyState(nVirtKey);
}

SHORT TbDeliveredKeyState(int nVirtKey)
{
    return static_cast<SHORT>((Input().delivered[nVirtKey & 0xFF] & 0x80) ? 0x8000 : 0);
}

BOOL GetCursorPos(LPPOINT pPoint)
{
    if (!pPoint)
        return FALSE;
    if (!TbGetDisplay()->GetCursorPos(pPoint))
        *pPoint = Input().ptCursor;
    return TRUE;
}

void TbNoteInputTaken(const MSG& msg)
{
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        bool bDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
        SetKey(static_cast<int>(msg.wParam), bDown);
        if (int nTwin = LeftTwin(static_cast<int>(msg.wParam)))
            SetKey(nTwin, bDown);
        break;
    }
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: SetKey(VK_LBUTTON, true); break;
    case WM_LBUTTONUP:   SetKey(VK_LBUTTON, false); break;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: SetKey(VK_RBUTTON, true); break;
    case WM_RBUTTONUP:   SetKey(VK_RBUTTON, false); break;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: SetKey(VK_MBUTTON, true); break;
    case WM_MBUTTONUP:   SetKey(VK_MBUTTON, false); break;
    }
}

// A key's characters of up to three bytes (every key of a single-byte page) travel in the message
// itself, marked by the top byte: however many keys wait in the queue, none loses its character
// to a later one. Longer texts take a slot of the ring.
const DWORD PACKED_CHARS = 0xFF000000;

DWORD TbRegisterKeyChars(LPCSTR pszChars)
{
    if (!pszChars || !*pszChars)
        return 0;
    const size_t nLen = strlen(pszChars);
    if (nLen <= 3) {
        DWORD dwPacked = PACKED_CHARS;
        for (size_t i = 0; i < nLen; ++i)
            dwPacked |= static_cast<DWORD>(static_cast<BYTE>(pszChars[i])) << (8 * i);
        return dwPacked;
    }
    InputState& in = Input();
    DWORD dwId = in.dwNextId++;
    if (in.dwNextId >= PACKED_CHARS)
        in.dwNextId = 1;
    auto& slot = in.ring[dwId % 64];
    slot.dwId = dwId;
    TbCopyText(slot.szChars, sizeof slot.szChars, pszChars);
    return dwId;
}

// The US layout's characters for keys whose press came without a character of its own.
static int CharFromKey(UINT uVk)
{
    bool bShift = GetKeyState(VK_SHIFT) < 0;
    bool bCtrl = GetKeyState(VK_CONTROL) < 0;
    bool bCaps = (GetKeyState(VK_CAPITAL) & 1) != 0;
    if (uVk >= 'A' && uVk <= 'Z') {
        if (bCtrl)
            return static_cast<int>(uVk - 'A' + 1);
        return (bShift != bCaps) ? static_cast<int>(uVk) : static_cast<int>(uVk - 'A' + 'a');
    }
    if (bCtrl)
        return uVk == VK_RETURN ? '\n' : (uVk == VK_BACK ? 0x7F : 0);
    if (uVk >= '0' && uVk <= '9')
        return bShift ? ")!@#$%^&*("[uVk - '0'] : static_cast<int>(uVk);
    if (uVk >= VK_NUMPAD0 && uVk <= VK_NUMPAD9)
        return static_cast<int>('0' + (uVk - VK_NUMPAD0));
    static const struct { UINT uVk; char ch; char chShift; } s_keys[] = {
        {VK_SPACE, ' ', ' '}, {VK_RETURN, '\r', '\r'}, {VK_BACK, '\b', '\b'}, {VK_TAB, '\t', '\t'},
        {VK_ESCAPE, 27, 27}, {VK_MULTIPLY, '*', '*'}, {VK_ADD, '+', '+'}, {VK_SUBTRACT, '-', '-'},
        {VK_DECIMAL, '.', '.'}, {VK_DIVIDE, '/', '/'}, {VK_OEM_1, ';', ':'}, {VK_OEM_PLUS, '=', '+'},
        {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},
        {VK_OEM_3, '`', '~'}, {VK_OEM_4, '[', '{'}, {VK_OEM_5, '\\', '|'}, {VK_OEM_6, ']', '}'},
        {VK_OEM_7, '\'', '"'},
    };
    for (const auto& k : s_keys)
        if (k.uVk == uVk)
            return bShift ? k.chShift : k.ch;
    return 0;
}

BOOL TranslateMessage(const MSG* pMsg)
{
    if (!pMsg || (pMsg->message != WM_KEYDOWN && pMsg->message != WM_SYSKEYDOWN))
        return FALSE;
    UINT uCharMsg = pMsg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    char szChars[8] = {};
    const auto& slot = Input().ring[pMsg->lPrivate % 64];
    if ((pMsg->lPrivate & PACKED_CHARS) == PACKED_CHARS) {
        for (int i = 0; i < 3; ++i)
            szChars[i] = static_cast<char>((pMsg->lPrivate >> (8 * i)) & 0xFF);
    } else if (pMsg->lPrivate && slot.dwId == pMsg->lPrivate) {
        TbCopyText(szChars, sizeof szChars, slot.szChars);
    } else {
        szChars[0] = static_cast<char>(CharFromKey(static_cast<UINT>(pMsg->wParam)));
    }
    size_t nLen = strlen(szChars);
    if (nLen == 0)
        return FALSE;
    // Characters go first in the queue, so they come before the key's release and later keys.
    for (size_t i = nLen; i-- > 0;) {
        MSG msg = {pMsg->hwnd, uCharMsg, static_cast<BYTE>(szChars[i]), pMsg->lParam, pMsg->time, pMsg->pt, 0};
        TbPostRecord(msg, TRUE);
    }
    return TRUE;
}

// A second press of the same button, soon and near the first, is a double click, as on the
// original; only windows whose class asks for them get WM_xBUTTONDBLCLK.
static UINT DoubleClickOf(HWND hWnd, UINT uMsg, POINT pt, bool bWanted)
{
    static const DWORD DOUBLE_CLICK_MS = 500;
    static struct { HWND hWnd; UINT uMsg; POINT pt; DWORD dwTime; } s_last = {nullptr, 0, {0, 0}, 0};
    DWORD dwNow = TbNowMs();
    bool bDouble = s_last.hWnd == hWnd && s_last.uMsg == uMsg && dwNow - s_last.dwTime <= DOUBLE_CLICK_MS &&
                   std::abs(static_cast<int>(pt.x - s_last.pt.x)) <= 2 && std::abs(static_cast<int>(pt.y - s_last.pt.y)) <= 2;
    if (bDouble) {
        s_last.hWnd = nullptr;      // a third press starts over
        return bWanted ? uMsg + (WM_LBUTTONDBLCLK - WM_LBUTTONDOWN) : uMsg;
    }
    s_last = {hWnd, uMsg, pt, dwNow};
    return uMsg;
}

namespace {
HWND s_hTrackLeave = nullptr;       // TrackMouseEvent's window (user-interface thread)

// The tracked window hears once that the pointer is gone.
void PostMouseLeave()
{
    HWND hWnd = s_hTrackLeave;
    s_hTrackLeave = nullptr;
    if (IsWindow(hWnd))
        PostMessageA(hWnd, WM_MOUSELEAVE, 0, 0);
}
}  // namespace

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT pEventTrack)
{
    if (!pEventTrack || !(pEventTrack->dwFlags & TME_LEAVE) || !IsWindow(pEventTrack->hwndTrack))
        return FALSE;
    if (pEventTrack->dwFlags & TME_CANCEL) {
        if (s_hTrackLeave == pEventTrack->hwndTrack)
            s_hTrackLeave = nullptr;
        return TRUE;
    }
    if (s_hTrackLeave != nullptr && s_hTrackLeave != pEventTrack->hwndTrack)
        PostMouseLeave();
    s_hTrackLeave = pEventTrack->hwndTrack;
    return TRUE;
}

void TbDisplayMouseLeave(HWND hWnd)
{
    if (s_hTrackLeave != nullptr && (s_hTrackLeave == hWnd || IsChild(hWnd, s_hTrackLeave)))
        PostMouseLeave();
}

void TbDisplayMouse(HWND hWndUnder, UINT uMsg, WPARAM wKeys, POINT ptScreen, BOOL bAgain)
{
    TbUserState& user = TbUser();
    Input().ptCursor = ptScreen;
    // A press delivered again is one the display told already: the button is as the display
    // left it since (released, most often).
    int nButton = 0;
    if (int nDown = ButtonOf(uMsg, &nButton); nDown >= 0 && !bAgain)
        SetDelivered(nButton, nDown == 1);
    HWND hTarget = user.hCapture ? user.hCapture : hWndUnder;
    if (uMsg == WM_MOUSEWHEEL && user.hFocus)
        hTarget = user.hFocus;
    TbWindow* pWnd = TbFindWindow(hTarget);
    // A disabled child lets its parent have the pointer; under a disabled top-level window (the
    // owner of a modal dialog) no window takes it, however deep.
    if (!user.hCapture) {
        for (TbWindow* pUp = pWnd; pUp; pUp = pUp->hParent ? TbFindWindow(pUp->hParent) : nullptr)
            if (pUp->dwStyle & WS_DISABLED) {
                pWnd = pUp->hParent ? TbFindWindow(pUp->hParent) : nullptr;
                hTarget = pWnd ? pWnd->hWnd : nullptr;
            }
    }
    if (!pWnd) {
        if (uMsg == WM_LBUTTONDOWN || uMsg == WM_RBUTTONDOWN || uMsg == WM_MBUTTONDOWN)
            TbDisplayInputRefused(hWndUnder);
        return;
    }
    // On the window's own scroll bars the pointer is in the non-client area: WM_NCxxx messages
    // with the hit-test code and the screen point.
    int nHit = HTCLIENT;
    if (!user.hCapture && uMsg != WM_MOUSEWHEEL && (pWnd->dwStyle & (WS_HSCROLL | WS_VSCROLL))) {
        nHit = TbScrollBarHitTest(hTarget, ptScreen);
        if (nHit == HTNOWHERE)
            nHit = HTCLIENT;
    }
    // A window that answers HTCAPTION for a point of its body is dragged by it.
    if (!user.hCapture && uMsg == WM_LBUTTONDOWN && nHit == HTCLIENT &&
        SendMessageA(hTarget, WM_NCHITTEST, 0, MAKELPARAM(ptScreen.x, ptScreen.y)) == HTCAPTION) {
        if (!IsWindow(hTarget))
            return;
        nHit = HTCAPTION;
    }
    if (uMsg == WM_LBUTTONDOWN || uMsg == WM_RBUTTONDOWN || uMsg == WM_MBUTTONDOWN)
        uMsg = DoubleClickOf(hTarget, uMsg, ptScreen, (pWnd->pClass->uStyle & CS_DBLCLKS) != 0);
    bool bDown = uMsg == WM_LBUTTONDOWN || uMsg == WM_RBUTTONDOWN || uMsg == WM_MBUTTONDOWN ||
                 uMsg == WM_LBUTTONDBLCLK || uMsg == WM_RBUTTONDBLCLK || uMsg == WM_MBUTTONDBLCLK;
    if (bDown) {
        HWND hRoot = GetAncestor(hTarget, GA_ROOT);
        if (hRoot != user.hActive) {
            LRESULT lAct = SendMessageA(hTarget, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(hRoot), MAKELPARAM(nHit, uMsg));
            if (lAct != MA_NOACTIVATE && lAct != MA_NOACTIVATEANDEAT)
                SetActiveWindow(hRoot);
            if (lAct == MA_ACTIVATEANDEAT || lAct == MA_NOACTIVATEANDEAT || !IsWindow(hTarget))
                return;
        }
        // A press inside a document window that is not the active one activates it and brings
        // it to the front, the keyboard with it; the press then goes where it was aimed.
        if (!user.hCapture && user.hActive == hRoot) {
            TbMdiActivateUnder(hTarget);
            if (!IsWindow(hTarget))
                return;
        }
    }
    LPARAM lParam;
    if (nHit != HTCLIENT) {
        uMsg -= WM_MOUSEMOVE - WM_NCMOUSEMOVE;
        wKeys = static_cast<WPARAM>(nHit);
        lParam = MAKELPARAM(ptScreen.x, ptScreen.y);
    } else if (uMsg == WM_MOUSEWHEEL) {
        lParam = MAKELPARAM(ptScreen.x, ptScreen.y);
    } else {
        POINT pt = ptScreen;
        ScreenToClient(hTarget, &pt);
        lParam = MAKELPARAM(pt.x, pt.y);
    }
    // The pointer is on another window now: the tracked one hears it first.
    if (s_hTrackLeave != nullptr && s_hTrackLeave != hTarget)
        PostMouseLeave();
    MSG msg = {hTarget, uMsg, wKeys, lParam, TbNowMs(), ptScreen, 0};
    TbPostRecord(msg, bAgain);
}

BOOL TbDisplayTakesInput(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    while (pWnd && pWnd->hParent)
        pWnd = TbFindWindow(pWnd->hParent);
    return pWnd && !(pWnd->dwStyle & WS_DISABLED);
}

void TbDisplayInputRefused(HWND hWnd)
{
    // As a click on a modal dialog's owner does on the original: the dialog comes forward.
    const HWND hActive = TbUser().hActive;
    TbWindow* pActive = TbFindWindow(hActive);
    if (!pActive || hActive == GetAncestor(hWnd, GA_ROOT) || !IsWindowEnabled(hActive) || !IsWindowVisible(hActive))
        return;
    BringWindowToTop(hActive);
    // The display may have given the keyboard to the window clicked: the dialog takes it back.
    if ((pActive = TbFindWindow(hActive)) != nullptr && pActive->pSurface)
        pActive->pSurface->Raise(TRUE);
}

void TbDisplayKey(UINT uMsg, UINT uVirtKey, LPARAM lParam, LPCSTR pszChars)
{
    TbUserState& user = TbUser();
    // The key is down or up whether or not a window takes it.
    if (uMsg == WM_KEYDOWN || uMsg == WM_KEYUP) {
        SetDelivered(static_cast<int>(uVirtKey), uMsg == WM_KEYDOWN);
        if (int nTwin = LeftTwin(static_cast<int>(uVirtKey)))
            SetDelivered(nTwin, uMsg == WM_KEYDOWN);
    }
    HWND hTarget = user.hFocus ? user.hFocus : user.hActive;
    if (!TbFindWindow(hTarget))
        return;
    // Alt (without Ctrl, which the display leaves out of the flags), F10, or no focus at all:
    // system keys, as on the original.
    bool bSys = (HIWORD(lParam) & KF_ALTDOWN) || uVirtKey == VK_F10 || uVirtKey == VK_MENU || !user.hFocus;
    UINT uKeyMsg = uMsg == WM_KEYDOWN ? (bSys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (bSys ? WM_SYSKEYUP : WM_KEYUP);
    DWORD dwChars = uMsg == WM_KEYDOWN ? TbRegisterKeyChars(pszChars) : 0;
    MSG msg = {hTarget, uKeyMsg, uVirtKey, lParam, TbNowMs(), Input().ptCursor, dwChars};
    TbPostRecord(msg, FALSE, /*bToFocus=*/TRUE);
}

BOOL TbDisplayKeyText(UINT uMsg, UINT uVirtKey, LPARAM lParam, const char* pszUtf8)
{
    std::string strChars;
    if (uMsg == WM_KEYDOWN && pszUtf8 != nullptr && *pszUtf8 != '\0') {
        const int cchWide = MultiByteToWideChar(CP_UTF8, 0, pszUtf8, -1, nullptr, 0);
        std::vector<WCHAR> wide(static_cast<size_t>(std::max(cchWide, 1)));
        MultiByteToWideChar(CP_UTF8, 0, pszUtf8, -1, wide.data(), cchWide);
        BOOL bLost = FALSE;
        const int cb = WideCharToMultiByte(CP_ACP, 0, wide.data(), cchWide - 1, nullptr, 0, nullptr, &bLost);
        strChars.resize(static_cast<size_t>(std::max(cb, 0)));
        WideCharToMultiByte(CP_ACP, 0, wide.data(), cchWide - 1, strChars.data(), cb, nullptr, &bLost);
        if (bLost) {
            // Never sent as '?', the key is refused; the window with the focus hears which
            // character it was, so that a field can say what it takes.
            MessageBeep(0);
            const HWND hFocus = TbUser().hFocus;
            if (TbFindWindow(hFocus) != nullptr) {
                MSG msg = {hFocus, WM_UNICHAR, static_cast<WPARAM>(wide[0]), 0, TbNowMs(), Input().ptCursor, 0};
                TbPostRecord(msg, FALSE, /*bToFocus=*/TRUE);
            }
            return FALSE;
        }
    }
    TbDisplayKey(uMsg, uVirtKey, lParam, strChars.c_str());
    return TRUE;
}

void TbDisplayModifiers(BOOL bShift, BOOL bCtrl, BOOL bAlt)
{
    const struct { int nVk; BOOL bHeld; } mods[] = {{VK_SHIFT, bShift}, {VK_CONTROL, bCtrl}, {VK_MENU, bAlt}};
    for (const auto& m : mods)
        if (!m.bHeld && (Input().delivered[m.nVk] & 0x80))
            TbDisplayKey(WM_KEYUP, static_cast<UINT>(m.nVk), MAKELPARAM(1, KF_REPEAT | KF_UP), nullptr);
}
