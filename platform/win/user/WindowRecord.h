#pragma once
// Inside the window manager: the class and window records and the process-wide user state.
// Only platform/win's own files use this header; everything else goes through handles.
#include <memory>
#include <string>
#include <vector>
#include "platform/win/user/Window.h"
#include "platform/win/user/Display.h"
#include "platform/win/gdi/PixelBuffer.h"
#include "platform/win/gdi/Region.h"

struct TbWndClass {
    std::string strName;
    UINT        uStyle = 0;
    WNDPROC     pfnWndProc = nullptr;
    int         cbClsExtra = 0;
    int         cbWndExtra = 0;
    HINSTANCE   hInstance = nullptr;
    HICON       hIcon = nullptr;
    HICON       hIconSm = nullptr;
    HCURSOR     hCursor = nullptr;
    HBRUSH      hbrBackground = nullptr;
    std::string strMenuName;
    ATOM        atom = 0;
    std::vector<BYTE> clsExtra;
};

// The state a window class keeps for each of its windows (a dialog's default button, an edit's
// selection), made by the class's procedure and freed with the window.
struct TbClassState {
    virtual ~TbClassState() = default;
};

struct TbWindow {
    HWND        hWnd = nullptr;
    std::shared_ptr<TbWndClass> pClass;     // shared: a class unregistered while windows live stays valid for them
    WNDPROC     pfnWndProc = nullptr;
    DWORD       dwStyle = 0;
    DWORD       dwExStyle = 0;
    HWND        hParent = nullptr;          // child windows only
    HWND        hOwner = nullptr;           // top-level windows only
    LONG_PTR    nId = 0;                    // child id, or the menu of a top-level window
    HINSTANCE   hInstance = nullptr;
    std::string strText;
    RECT        rcWindow = {0, 0, 0, 0};    // parent's client coordinates; screen for top-level
    RECT        rcNormal = {0, 0, 0, 0};    // restored position while minimised or maximised
    LONG_PTR    nUserData = 0;
    HICON       hIcon = nullptr;            // WM_SETICON's: big and small; null: the class's
    HICON       hIconSm = nullptr;
    std::vector<BYTE> wndExtra;
    std::vector<HWND> children;             // z-order, topmost first
    int         nShowState = SW_HIDE;       // SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED once shown
    BOOL        bDestroying = FALSE;
    BOOL        bCreated = FALSE;           // WM_NCCREATE passed
    BOOL        bRedraw = TRUE;             // WM_SETREDRAW
    // Painting
    CTbRegion   rgnUpdate;                  // client coordinates
    BOOL        bEraseBkgnd = FALSE;
    BOOL        bInPaint = FALSE;
    BOOL        bPaintValidated = FALSE;    // BeginPaint ran during the current WM_PAINT
    CTbPixelBuffer image;                   // the backing image, client-sized once something draws
    std::unique_ptr<ITbSurface> pSurface;
    // Controls and dialogs
    std::unique_ptr<TbClassState> pState;   // the class procedure's own record
    std::unique_ptr<TbClassState> pScroll;  // WS_HSCROLL / WS_VSCROLL bars, made on first use
    // Menus and MDI.
    int         nMenuBarHeight = 0;         // the menu bar above the client area (top-level windows)
    HMENU       hSysMenu = nullptr;         // the window's system menu once asked for; owned
    RECT        rcUserPending = {0, 0, 0, 0};   // where the user dragged an MDI child, until its SC_MOVE/SC_SIZE is answered
    BOOL        bInSizeMove = FALSE;    // between WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE of the user's move or size
    // SetProp: names in lower case (an atom by its text), in the order they were set.
    std::vector<std::pair<std::string, HANDLE>> props;
};

// Process-wide state of the window manager (user-interface thread only).
struct TbUserState {
    std::vector<std::shared_ptr<TbWndClass>> classes;
    std::vector<HWND> topLevel;             // z-order, topmost first
    HWND   hDesktop = nullptr;
    HWND   hFocus = nullptr;
    HWND   hActive = nullptr;
    HWND   hCapture = nullptr;
    ATOM   nextAtom = 0xC000;
    POINT  ptNextDefault = {40, 40};        // where the next CW_USEDEFAULT window goes
    // Menus and MDI.
    struct TbMenuTracking* pMenuTracking = nullptr;     // the popup menu open, if any
};
TbUserState& TbUser();

// Lookups. The pointer is good until the next call that can destroy windows (any send).
TbWindow* TbFindWindow(HWND hWnd);
// Shows on the display the icon the window's title bar takes: its own (WM_SETICON), else its class's.
void TbShowWindowIcon(TbWindow* pWnd);
TbWindow* TbFindWindowOrDesktop(HWND hWnd);
int  TbClientWidth(const TbWindow* pWnd);
int  TbClientHeight(const TbWindow* pWnd);         // below the menu bar
// The backing image: the client area with the window's own scroll bars at its right and bottom,
// whose room (0 without them) the client area gives up.
int  TbImageWidth(const TbWindow* pWnd);
int  TbImageHeight(const TbWindow* pWnd);
int  TbVertBarWidth(const TbWindow* pWnd);
int  TbHorzBarHeight(const TbWindow* pWnd);
int  TbWindowWidth(const TbWindow* pWnd);
int  TbWindowHeight(const TbWindow* pWnd);         // the menu bar included
// The backing image at its size (TbImageWidth, TbImageHeight), made on first use.
CTbPixelBuffer* TbWindowImage(TbWindow* pWnd);
// Client (0,0) of a window in screen coordinates.
POINT TbClientOrigin(const TbWindow* pWnd);
BOOL TbIsVisibleChain(const TbWindow* pWnd);
BOOL TbIsUiThread();

// The class state of a window as T, made on first use; null for a dead window. Good until the
// next call that can destroy the window.
template <class T>
T* TbClassStateOf(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return nullptr;
    T* pState = dynamic_cast<T*>(pWnd->pState.get());
    if (!pState && !pWnd->bDestroying) {
        pState = new T;
        pWnd->pState.reset(pState);
    }
    return pState;
}
// The class state when the window has one of type T, else null; never makes one.
template <class T>
T* TbFindClassState(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    return pWnd ? dynamic_cast<T*>(pWnd->pState.get()) : nullptr;
}

// Copies a text cut to cchMax-1 bytes and terminated; the length copied.
int TbCopyText(LPSTR pszDest, int cchMax, LPCSTR pszSrc);

// Calls a window, timer or hook procedure with the exception guard.
LRESULT TbCallProc(WNDPROC pfn, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// Paint bookkeeping used by the queue.
HWND TbFindWindowToPaint(HWND hWndFilter);
void TbAfterPaintDispatch(HWND hWnd);
void TbDropWindowTimers(HWND hWnd);
void TbForgetWindowState(HWND hWnd);        // focus, capture, activation pointing at a window going away
void TbResizeImage(TbWindow* pWnd);
// Menus and MDI: shows the window's menu bar and lays the client out below it (bNotify: with WM_SIZE).
void TbApplyMenuBar(HWND hWnd, BOOL bNotify);
