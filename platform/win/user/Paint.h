#pragma once
// Painting a window: the update region, WM_PAINT, window DCs and scrolling the backing image.
// Drawing through GetDC lands in the backing image at once and is shown when the DC is released.
#include "platform/win/WinTypes.h"
#include "platform/win/user/Window.h"

struct PAINTSTRUCT {
    HDC  hdc;
    BOOL fErase;            // TRUE when WM_ERASEBKGND did not erase
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};
typedef PAINTSTRUCT* LPPAINTSTRUCT;

#define RDW_INVALIDATE      0x0001
#define RDW_INTERNALPAINT   0x0002
#define RDW_ERASE           0x0004
#define RDW_VALIDATE        0x0008
#define RDW_NOINTERNALPAINT 0x0010
#define RDW_NOERASE         0x0020
#define RDW_NOCHILDREN      0x0040
#define RDW_ALLCHILDREN     0x0080
#define RDW_UPDATENOW       0x0100
#define RDW_ERASENOW        0x0200
#define RDW_FRAME           0x0400
#define RDW_NOFRAME         0x0800
#define SW_SCROLLCHILDREN   0x0001
#define SW_INVALIDATE       0x0002
#define SW_ERASE            0x0004

HDC  BeginPaint(HWND hWnd, LPPAINTSTRUCT pPaint);   // clipped to the update region, which it validates
BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* pPaint);
HDC  GetDC(HWND hWnd);                               // null: a DC of the screen, for measuring
HDC  GetWindowDC(HWND hWnd);
int  ReleaseDC(HWND hWnd, HDC hdc);
BOOL InvalidateRect(HWND hWnd, const RECT* pRect, BOOL bErase);   // null rect: the whole client
BOOL InvalidateRgn(HWND hWnd, HRGN hRgn, BOOL bErase);
BOOL ValidateRect(HWND hWnd, const RECT* pRect);
BOOL ValidateRgn(HWND hWnd, HRGN hRgn);
BOOL GetUpdateRect(HWND hWnd, LPRECT pRect, BOOL bErase);
int  GetUpdateRgn(HWND hWnd, HRGN hRgn, BOOL bErase);
BOOL UpdateWindow(HWND hWnd);                        // sends WM_PAINT now when something is invalid
// Stops one window from drawing (WM_SETREDRAW) until LockWindowUpdate(null), which then
// repaints it whole. FALSE while another window is locked, or for a dead window.
BOOL LockWindowUpdate(HWND hWndLock);
BOOL RedrawWindow(HWND hWnd, const RECT* prcUpdate, HRGN hrgnUpdate, UINT uFlags);
// Moves the pixels of prcScroll (null: the client) by dx, dy inside prcClip (null: the client);
// the area left behind is returned and, with SW_INVALIDATE, invalidated.
int  ScrollWindowEx(HWND hWnd, int dx, int dy, const RECT* prcScroll, const RECT* prcClip, HRGN hrgnUpdate,
                    LPRECT prcUpdate, UINT uFlags);
BOOL ScrollWindow(HWND hWnd, int dx, int dy, const RECT* prcScroll, const RECT* prcClip);
BOOL ScrollDC(HDC hdc, int dx, int dy, const RECT* prcScroll, const RECT* prcClip, HRGN hrgnUpdate, LPRECT prcUpdate);
