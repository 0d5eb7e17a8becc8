#pragma once
// Scroll bars: a window's own bars (WS_HSCROLL, WS_VSCROLL), at its right and bottom edges
// outside the client area, and the "ScrollBar" control (nBar SB_CTL with the control's handle).
// The user's clicks and drags on a bar are WM_HSCROLL/WM_VSCROLL to the window (lParam null) or
// to the control's parent (lParam the control); the bar itself moves only when the program sets
// the position.
#include "platform/win/WinTypes.h"
#include "platform/win/user/Messages.h"

#define ESB_ENABLE_BOTH   0x0000
#define ESB_DISABLE_BOTH  0x0003
#define ESB_DISABLE_LEFT  0x0001
#define ESB_DISABLE_RIGHT 0x0002
#define ESB_DISABLE_UP    0x0001
#define ESB_DISABLE_DOWN  0x0002
#define ESB_DISABLE_LTUP  ESB_DISABLE_LEFT
#define ESB_DISABLE_RTDN  ESB_DISABLE_RIGHT

// The range is nMin..nMax; nPage is cut to the range's size and nPos kept within
// nMin..nMax-nPage+1. A window's bar whose whole range fits in a page is hidden, or shown
// disabled with SIF_DISABLENOSCROLL. Answers the position now.
int  SetScrollInfo(HWND hWnd, int nBar, LPCSCROLLINFO pInfo, BOOL bRedraw);
// The fields fMask asks for; nTrackPos is where the thumb is dragged to (nPos when not dragging).
// FALSE for a window without that bar's values and for a bad nBar.
BOOL GetScrollInfo(HWND hWnd, int nBar, LPSCROLLINFO pInfo);
int  SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw);    // the position before
int  GetScrollPos(HWND hWnd, int nBar);
BOOL SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw);
BOOL GetScrollRange(HWND hWnd, int nBar, LPINT pnMinPos, LPINT pnMaxPos);
// SB_HORZ, SB_VERT or SB_BOTH of a window; SB_CTL shows or hides the control itself.
BOOL ShowScrollBar(HWND hWnd, int nBar, BOOL bShow);
// ESB_ flags: the arrows that are disabled. FALSE when nothing changed.
BOOL EnableScrollBar(HWND hWnd, UINT wSBflags, UINT wArrows);
