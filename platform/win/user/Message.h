#pragma once
// Messages and the queue: sending, posting, the loop's reading and dispatching, timers, hooks and
// the keyboard state. One user-interface thread owns the queue; PostMessage, PostThreadMessage and
// PostQuitMessage may be called from any thread and wake the loop.
#include "platform/win/WinTypes.h"
#include "platform/win/user/Messages.h"
#include "platform/win/user/Window.h"

#define PM_NOREMOVE 0x0000
#define PM_REMOVE   0x0001
#define PM_NOYIELD  0x0002

// Sending calls the window's procedure at once (nested sends work). A procedure that raises an
// exception is stopped at the call: the message's result is 0 and the program goes on.
LRESULT SendMessageA(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProcA(WNDPROC pfnPrevWndFunc, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProcA(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// Posting. FALSE for a handle that is not a window (checked on the user-interface thread only).
BOOL PostMessageA(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessageA(DWORD idThread, UINT uMsg, WPARAM wParam, LPARAM lParam);   // any id: the UI thread
void PostQuitMessage(int nExitCode);

// Reading. Order: posted messages and input as they came, then WM_QUIT, then WM_PAINT, then
// WM_TIMER. GetMessage waits inside the display's event loop while nothing is there; it returns
// 0 for WM_QUIT and -1 for a bad window filter.
BOOL GetMessageA(LPMSG pMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax);
BOOL PeekMessageA(LPMSG pMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);
BOOL WaitMessage();
BOOL TranslateMessage(const MSG* pMsg);   // WM_KEYDOWN gives WM_CHAR, WM_SYSKEYDOWN WM_SYSCHAR
LRESULT DispatchMessageA(const MSG* pMsg);
DWORD GetMessageTime();
DWORD GetMessagePos();
UINT RegisterWindowMessageA(LPCSTR pszString);   // 0xC000..0xFFFF, the same number for the same text

// Timers: per window and id; a due timer gives one WM_TIMER however late it is (coalesced).
typedef void (CALLBACK* TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);
#define USER_TIMER_MINIMUM 0x0000000A
UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC pfnTimerFunc);
BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent);

// Hooks: the thread's computer-based-training hook (creation, destruction, activation, focus).
typedef LRESULT (CALLBACK* HOOKPROC)(int nCode, WPARAM wParam, LPARAM lParam);
#define WH_MSGFILTER    (-1)
#define WH_GETMESSAGE   3
#define WH_CALLWNDPROC  4
#define WH_CBT          5
#define HCBT_MOVESIZE     0
#define HCBT_MINMAX       1
#define HCBT_QS           2
#define HCBT_CREATEWND    3
#define HCBT_DESTROYWND   4
#define HCBT_ACTIVATE     5
#define HCBT_CLICKSKIPPED 6
#define HCBT_KEYSKIPPED   7
#define HCBT_SYSCOMMAND   8
#define HCBT_SETFOCUS     9
struct CBT_CREATEWNDA { CREATESTRUCTA* lpcs; HWND hwndInsertAfter; };
typedef CBT_CREATEWNDA* LPCBT_CREATEWNDA;
HHOOK SetWindowsHookExA(int idHook, HOOKPROC pfn, HINSTANCE hMod, DWORD dwThreadId);   // WH_CBT only
BOOL UnhookWindowsHookEx(HHOOK hHook);
LRESULT CallNextHookEx(HHOOK hHook, int nCode, WPARAM wParam, LPARAM lParam);

// Keyboard and mouse state as of the last input message read from the queue: bit 15 down,
// bit 0 toggled. GetAsyncKeyState asks the display for the state now.
SHORT GetKeyState(int nVirtKey);
SHORT GetAsyncKeyState(int nVirtKey);
BOOL GetCursorPos(LPPOINT pPoint);

// Asks for WM_MOUSELEAVE when the pointer next goes from the window to another one, or off the
// program's windows. One window is tracked at a time; the message comes once.
#define TME_LEAVE  0x00000002
#define TME_CANCEL 0x80000000
struct TRACKMOUSEEVENT {
    DWORD cbSize;
    DWORD dwFlags;
    HWND hwndTrack;
    DWORD dwHoverTime;
};
typedef TRACKMOUSEEVENT* LPTRACKMOUSEEVENT;
BOOL TrackMouseEvent(LPTRACKMOUSEEVENT pEventTrack);
