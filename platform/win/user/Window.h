#pragma once
// The window manager: classes, windows, their tree, geometry, focus and capture.
// Handles of destroyed windows are never handed out again, so a stale HWND stays invalid.
#include "platform/win/WinTypes.h"
#include "platform/win/Records.h"
#include "platform/win/user/Messages.h"

typedef LRESULT (CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

// Window styles
#define WS_OVERLAPPED       0x00000000L
#define WS_POPUP            0x80000000L
#define WS_CHILD            0x40000000L
#define WS_MINIMIZE         0x20000000L
#define WS_VISIBLE          0x10000000L
#define WS_DISABLED         0x08000000L
#define WS_CLIPSIBLINGS     0x04000000L
#define WS_CLIPCHILDREN     0x02000000L
#define WS_MAXIMIZE         0x01000000L
#define WS_CAPTION          0x00C00000L
#define WS_BORDER           0x00800000L
#define WS_DLGFRAME         0x00400000L
#define WS_VSCROLL          0x00200000L
#define WS_HSCROLL          0x00100000L
#define WS_SYSMENU          0x00080000L
#define WS_THICKFRAME       0x00040000L
#define WS_GROUP            0x00020000L
#define WS_TABSTOP          0x00010000L
#define WS_MINIMIZEBOX      0x00020000L
#define WS_MAXIMIZEBOX      0x00010000L
#define WS_CHILDWINDOW      WS_CHILD
#define WS_OVERLAPPEDWINDOW (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_POPUPWINDOW      (WS_POPUP | WS_BORDER | WS_SYSMENU)
#define WS_EX_DLGMODALFRAME  0x00000001L
#define WS_EX_NOPARENTNOTIFY 0x00000004L
#define WS_EX_TOPMOST        0x00000008L
#define WS_EX_ACCEPTFILES    0x00000010L
#define WS_EX_TRANSPARENT    0x00000020L
#define WS_EX_MDICHILD       0x00000040L
#define WS_EX_TOOLWINDOW     0x00000080L
#define WS_EX_NOACTIVATE     0x08000000L    // shown and clicked without becoming the active window
#define WS_EX_WINDOWEDGE     0x00000100L
#define WS_EX_CLIENTEDGE     0x00000200L
#define WS_EX_CONTEXTHELP    0x00000400L
#define WS_EX_RIGHT          0x00001000L
#define WS_EX_LEFT           0x00000000L
#define WS_EX_RTLREADING     0x00002000L
#define WS_EX_LEFTSCROLLBAR  0x00004000L
#define WS_EX_CONTROLPARENT  0x00010000L
#define WS_EX_STATICEDGE     0x00020000L
#define WS_EX_APPWINDOW      0x00040000L
#define WS_EX_LAYOUTRTL      0x00400000L
// Class styles
#define CS_VREDRAW      0x0001
#define CS_HREDRAW      0x0002
#define CS_DBLCLKS      0x0008
#define CS_OWNDC        0x0020
#define CS_CLASSDC      0x0040
#define CS_PARENTDC     0x0080
#define CS_NOCLOSE      0x0200
#define CS_SAVEBITS     0x0800
#define CS_GLOBALCLASS  0x4000
#define CW_USEDEFAULT   (static_cast<int>(0x80000000))
// ShowWindow
#define SW_HIDE            0
#define SW_SHOWNORMAL      1
#define SW_NORMAL          1
#define SW_SHOWMINIMIZED   2
#define SW_SHOWMAXIMIZED   3
#define SW_MAXIMIZE        3
#define SW_SHOWNOACTIVATE  4
#define SW_SHOW            5
#define SW_MINIMIZE        6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA          8
#define SW_RESTORE         9
#define SW_SHOWDEFAULT     10
#define SW_MAX             10     // the last show command
// SetWindowPos
#define SWP_NOSIZE         0x0001
#define SWP_NOMOVE         0x0002
#define SWP_NOZORDER       0x0004
#define SWP_NOREDRAW       0x0008
#define SWP_NOACTIVATE     0x0010
#define SWP_FRAMECHANGED   0x0020
#define SWP_SHOWWINDOW     0x0040
#define SWP_HIDEWINDOW     0x0080
#define SWP_NOCOPYBITS     0x0100
#define SWP_NOOWNERZORDER  0x0200
#define SWP_NOSENDCHANGING 0x0400
#define HWND_TOP       (reinterpret_cast<HWND>(0))
#define HWND_BOTTOM    (reinterpret_cast<HWND>(1))
#define HWND_TOPMOST   (reinterpret_cast<HWND>(-1))
#define HWND_NOTOPMOST (reinterpret_cast<HWND>(-2))
#define HWND_MESSAGE   (reinterpret_cast<HWND>(-3))
#define HWND_BROADCAST (reinterpret_cast<HWND>(0xffff))
// Get/SetWindowLongPtr and Get/SetClassLongPtr
#define GWLP_WNDPROC     (-4)
#define GWLP_HINSTANCE   (-6)
#define GWLP_HWNDPARENT  (-8)
#define GWLP_ID          (-12)
#define GWL_STYLE        (-16)
#define GWL_EXSTYLE      (-20)
#define GWLP_USERDATA    (-21)
#define GWL_WNDPROC      GWLP_WNDPROC
#define GWL_ID           GWLP_ID
#define GWL_USERDATA     GWLP_USERDATA
#define GCLP_MENUNAME      (-8)
#define GCLP_HBRBACKGROUND (-10)
#define GCLP_HCURSOR       (-12)
#define GCLP_HICON         (-14)
#define GCLP_HMODULE       (-16)
#define GCL_CBWNDEXTRA     (-18)
#define GCL_CBCLSEXTRA     (-20)
#define GCLP_WNDPROC       (-24)
#define GCL_STYLE          (-26)
#define GCW_ATOM           (-32)
#define GCLP_HICONSM       (-34)
// GetWindow and GetAncestor
#define GW_HWNDFIRST 0
#define GW_HWNDLAST  1
#define GW_HWNDNEXT  2
#define GW_HWNDPREV  3
#define GW_OWNER     4
#define GW_CHILD     5
#define GA_PARENT    1
#define GA_ROOT      2
#define GA_ROOTOWNER 3

struct WNDCLASSA {
    UINT style; WNDPROC lpfnWndProc; int cbClsExtra; int cbWndExtra; HINSTANCE hInstance;
    HICON hIcon; HCURSOR hCursor; HBRUSH hbrBackground; LPCSTR lpszMenuName; LPCSTR lpszClassName;
};
struct WNDCLASSEXA {
    UINT cbSize; UINT style; WNDPROC lpfnWndProc; int cbClsExtra; int cbWndExtra; HINSTANCE hInstance;
    HICON hIcon; HCURSOR hCursor; HBRUSH hbrBackground; LPCSTR lpszMenuName; LPCSTR lpszClassName; HICON hIconSm;
};
typedef WNDCLASSA* LPWNDCLASSA;
typedef WNDCLASSEXA* LPWNDCLASSEXA;
struct CREATESTRUCTA {
    LPVOID lpCreateParams; HINSTANCE hInstance; HMENU hMenu; HWND hwndParent;
    int cy; int cx; int y; int x; LONG style; LPCSTR lpszName; LPCSTR lpszClass; DWORD dwExStyle;
};
typedef CREATESTRUCTA* LPCREATESTRUCTA;
struct WINDOWPOS { HWND hwnd; HWND hwndInsertAfter; int x; int y; int cx; int cy; UINT flags; };
typedef WINDOWPOS* LPWINDOWPOS;
struct MINMAXINFO { POINT ptReserved; POINT ptMaxSize; POINT ptMaxPosition; POINT ptMinTrackSize; POINT ptMaxTrackSize; };
typedef MINMAXINFO* LPMINMAXINFO;
struct NCCALCSIZE_PARAMS { RECT rgrc[3]; WINDOWPOS* lppos; };
struct STYLESTRUCT { DWORD styleOld; DWORD styleNew; };

// Classes. Names compare without case; a class of the caller's module comes before a global one.
ATOM RegisterClassA(const WNDCLASSA* pWndClass);
ATOM RegisterClassExA(const WNDCLASSEXA* pWndClass);
BOOL UnregisterClassA(LPCSTR pszClassName, HINSTANCE hInstance);
BOOL GetClassInfoA(HINSTANCE hInstance, LPCSTR pszClassName, LPWNDCLASSA pWndClass);
BOOL GetClassInfoExA(HINSTANCE hInstance, LPCSTR pszClassName, LPWNDCLASSEXA pWndClass);
int  GetClassNameA(HWND hWnd, LPSTR pszClassName, int cchMax);
ULONG_PTR GetClassLongPtrA(HWND hWnd, int nIndex);
ULONG_PTR SetClassLongPtrA(HWND hWnd, int nIndex, LONG_PTR nValue);

// Creation and destruction. The creation order is the original's: the CBT hook, WM_GETMINMAXINFO
// (top-level), WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_PARENTNOTIFY, WM_SIZE and WM_MOVE, then
// showing for WS_VISIBLE. DestroyWindow sends WM_DESTROY parent first and WM_NCDESTROY children first.
HWND CreateWindowExA(DWORD dwExStyle, LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle,
                     int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                     HINSTANCE hInstance, LPVOID pParam);
HWND CreateWindowA(LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, int x, int y, int nWidth,
                   int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID pParam);
BOOL DestroyWindow(HWND hWnd);
BOOL IsWindow(HWND hWnd);

// Window data. A bad handle or index gives 0.
LONG_PTR GetWindowLongPtrA(HWND hWnd, int nIndex);
LONG_PTR SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR nNewLong);
LONG GetWindowLongA(HWND hWnd, int nIndex);
LONG SetWindowLongA(HWND hWnd, int nIndex, LONG nNewLong);
int  GetWindowTextA(HWND hWnd, LPSTR pszString, int cchMax);     // through WM_GETTEXT
int  GetWindowTextLengthA(HWND hWnd);
BOOL SetWindowTextA(HWND hWnd, LPCSTR pszString);                // through WM_SETTEXT
int  GetDlgCtrlID(HWND hWnd);
HWND GetDlgItem(HWND hDlg, int nIDDlgItem);

// The tree. GetParent answers the owner of a popup, as on the original.
HWND GetParent(HWND hWnd);
HWND SetParent(HWND hWndChild, HWND hWndNewParent);
HWND GetAncestor(HWND hWnd, UINT gaFlags);
HWND GetWindow(HWND hWnd, UINT uCmd);
HWND GetTopWindow(HWND hWnd);
BOOL IsChild(HWND hWndParent, HWND hWnd);
HWND GetDesktopWindow();
typedef BOOL (CALLBACK* WNDENUMPROC)(HWND, LPARAM);
BOOL EnumChildWindows(HWND hWndParent, WNDENUMPROC pfnEnum, LPARAM lParam);
BOOL EnumWindows(WNDENUMPROC pfnEnum, LPARAM lParam);
HWND FindWindowA(LPCSTR pszClassName, LPCSTR pszWindowName);

// Geometry. A child's window rectangle is kept in its parent's client coordinates; windows have no
// non-client frame of their own here (the display draws a top-level window's frame outside it).
BOOL ShowWindow(HWND hWnd, int nCmdShow);
BOOL IsWindowVisible(HWND hWnd);
BOOL IsIconic(HWND hWnd);
BOOL IsZoomed(HWND hWnd);
BOOL MoveWindow(HWND hWnd, int x, int y, int nWidth, int nHeight, BOOL bRepaint);
BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags);
BOOL BringWindowToTop(HWND hWnd);
BOOL GetClientRect(HWND hWnd, LPRECT pRect);
BOOL GetWindowRect(HWND hWnd, LPRECT pRect);             // screen coordinates
BOOL ScreenToClient(HWND hWnd, LPPOINT pPoint);
BOOL ClientToScreen(HWND hWnd, LPPOINT pPoint);
int  MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT pPoints, UINT cPoints);
HWND WindowFromPoint(POINT pt);
HWND ChildWindowFromPoint(HWND hWndParent, POINT pt);

// Placement: the restored rectangle and the show state, as settings store them.
#define WPF_SETMINPOSITION 0x0001
BOOL GetWindowPlacement(HWND hWnd, WINDOWPLACEMENT* pPlacement);
BOOL SetWindowPlacement(HWND hWnd, const WINDOWPLACEMENT* pPlacement);

// Activation, focus, capture, enabling.
HWND SetFocus(HWND hWnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hWnd);
HWND GetActiveWindow();
HWND GetForegroundWindow();
BOOL SetForegroundWindow(HWND hWnd);
HWND SetCapture(HWND hWnd);
BOOL ReleaseCapture();
HWND GetCapture();
BOOL EnableWindow(HWND hWnd, BOOL bEnable);               // the previous state: TRUE when it was disabled
BOOL IsWindowEnabled(HWND hWnd);

// Rectangles and points.
BOOL SetRect(LPRECT pRect, int xLeft, int yTop, int xRight, int yBottom);
BOOL SetRectEmpty(LPRECT pRect);
BOOL CopyRect(LPRECT pDst, const RECT* pSrc);
BOOL InflateRect(LPRECT pRect, int dx, int dy);
BOOL OffsetRect(LPRECT pRect, int dx, int dy);
BOOL IntersectRect(LPRECT pDst, const RECT* pSrc1, const RECT* pSrc2);
BOOL UnionRect(LPRECT pDst, const RECT* pSrc1, const RECT* pSrc2);
BOOL SubtractRect(LPRECT pDst, const RECT* pSrc1, const RECT* pSrc2);
BOOL EqualRect(const RECT* pRect1, const RECT* pRect2);
BOOL IsRectEmpty(const RECT* pRect);
BOOL PtInRect(const RECT* pRect, POINT pt);
