#pragma once
// MDI: the "MDICLIENT" window class that holds a frame's document windows (the MDI children),
// and the default procedures of the frame and of the children. The client keeps which child is
// active, whether the children are maximised, their order and the window list of the frame's
// window menu; the display shows the client as its MDI area.
#include "platform/win/user/Message.h"

#define MDIS_ALLCHILDSTYLES  0x0001
#define MDITILE_VERTICAL     0x0000     // side by side
#define MDITILE_HORIZONTAL   0x0001     // one above another
#define MDITILE_SKIPDISABLED 0x0002
#define MDITILE_ZORDER       0x0004

// WM_CREATE of an MDI client: the frame's window menu, where the list of children goes, and the
// command id of the first child (the children's ids follow it in creation order).
typedef struct tagCLIENTCREATESTRUCT {
    HMENU hWindowMenu;
    UINT idFirstChild;
} CLIENTCREATESTRUCT, *LPCLIENTCREATESTRUCT;

// WM_MDICREATE: the child to make; CW_USEDEFAULT places it at the next cascade position. The
// child's CREATESTRUCTA lpCreateParams points at this record.
typedef struct tagMDICREATESTRUCTA {
    LPCSTR szClass;
    LPCSTR szTitle;
    HANDLE hOwner;          // the instance
    int x;
    int y;
    int cx;
    int cy;
    DWORD style;
    LPARAM lParam;
} MDICREATESTRUCTA, *LPMDICREATESTRUCTA;

// The frame's default: the window list's commands activate a child, WM_SIZE fills the frame's
// client area with the MDI client, WM_SETFOCUS passes the focus to the active child.
LRESULT DefFrameProcA(HWND hWnd, HWND hWndMDIClient, UINT uMsg, WPARAM wParam, LPARAM lParam);
// A child's default: system commands (the user's move, size, minimise, maximise, restore, close,
// next) become the client's MDI operations, WM_CLOSE destroys the child through the client, and
// a child that is hidden or activated tells the client.
LRESULT DefMDIChildProcA(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
// Ctrl+F4 (close), Ctrl+F5 (restore) and Ctrl+F6 or Ctrl+Tab (next child; with Shift the
// previous) as WM_SYSCOMMAND to the active child. TRUE when the key was one of them.
BOOL TranslateMDISysAccel(HWND hWndClient, LPMSG pMsg);
