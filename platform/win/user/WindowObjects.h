#pragma once
// What an object-per-window library (the framework's CTBWnd, the class library's CWnd) needs to
// tie its objects to windows: a creation hook that hands the next window created on this thread
// to a waiting object, before that window's first message; and the message being handled, kept
// per library across nested sends.
#include "platform/win/user/Message.h"
#include "platform/win/user/Messages.h"
#include "platform/win/user/Window.h"

// TWnd has a member AttachWindowCreate(HWND) (which may be private if it befriends this class).
template <class TWnd>
class CTbCreationHook
{
public:
    // Creates the window from cs with pWnd waiting for it. *pbAttached tells whether the object
    // got its window; a window procedure that refused creation still reports it attached.
    static HWND Create(TWnd* pWnd, const CREATESTRUCTA& cs, BOOL* pbAttached)
    {
        return CreateThrough(pWnd, [&cs] {
            return CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                                   cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
        }, pbAttached);
    }
    // The same for a window another call creates (WM_MDICREATE to an MDI client): fnCreate
    // answers the window it made.
    template <class F>
    static HWND CreateThrough(TWnd* pWnd, F&& fnCreate, BOOL* pbAttached)
    {
        s_pWndInit = pWnd;
        if (s_hHook == nullptr)
            s_hHook = SetWindowsHookExA(WH_CBT, &Hook, nullptr, 0);
        HWND hWnd = fnCreate();
        if (s_hHook != nullptr) {
            UnhookWindowsHookEx(s_hHook);
            s_hHook = nullptr;
        }
        *pbAttached = s_pWndInit != pWnd;
        if (s_pWndInit == pWnd)
            s_pWndInit = nullptr;
        return hWnd;
    }
    // An object destroyed while waiting must not be attached later.
    static void Forget(const TWnd* pWnd)
    {
        if (s_pWndInit == pWnd)
            s_pWndInit = nullptr;
    }

private:
    static LRESULT CALLBACK Hook(int nCode, WPARAM wParam, LPARAM lParam)
    {
        if (nCode != HCBT_CREATEWND)
            return CallNextHookEx(s_hHook, nCode, wParam, lParam);
        if (TWnd* pWnd = s_pWndInit) {
            s_pWndInit = nullptr;
            pWnd->AttachWindowCreate(reinterpret_cast<HWND>(wParam));
        }
        // One window per installation: the next creation installs the hook again.
        HHOOK hHook = s_hHook;
        LRESULT lResult = CallNextHookEx(hHook, nCode, wParam, lParam);
        if (s_hHook == hHook) {
            UnhookWindowsHookEx(hHook);
            s_hHook = nullptr;
        }
        return lResult;
    }
    static inline TWnd* s_pWndInit = nullptr;
    static inline HHOOK s_hHook = nullptr;
};

// Puts pfnOwn in as the window's procedure; the one it replaces becomes pfnSuper, the procedure
// unhandled messages go on to, unless pfnSuper is set already or it is our own or the default
// (DefWindowProc is called anyway). FALSE when the window has no procedure to replace.
inline BOOL TbTakeOverProcedure(HWND hWnd, WNDPROC pfnOwn, WNDPROC& pfnSuper)
{
    WNDPROC pfnOld = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnOwn)));
    if (pfnOld == nullptr)
        return FALSE;
    if (pfnSuper == nullptr && pfnOld != pfnOwn && pfnOld != &DefWindowProcA)
        pfnSuper = pfnOld;
    return TRUE;
}

// Calls handler() as the window's procedure for one message: current holds the message while it
// runs and gets the outer one back after (nested sends); a handler that throws is answered with
// 0 and the program goes on.
template <class F>
LRESULT TbCallObjectProc(MSG& current, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, F&& handler)
{
    const MSG msgSaved = current;
    current = MSG{hWnd, uMsg, wParam, lParam, 0, {0, 0}, 0};
    LRESULT lResult = 0;
    try {
        lResult = handler();
    } catch (...) {
        lResult = 0;
    }
    current = msgSaved;
    return lResult;
}
