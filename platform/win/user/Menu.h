#pragma once
// Menu objects in the Win32 shape: the table engine's column menus and the framework's menus
// from settings build them; a window's menu bar and TrackPopupMenu show the same objects.
#include "platform/win/WinTypes.h"

#ifndef MF_STRING
#define MF_STRING       0x0000
#define MF_ENABLED      0x0000
#define MF_UNCHECKED    0x0000
#define MF_BYCOMMAND    0x0000
#define MF_GRAYED       0x0001
#define MF_DISABLED     0x0002
#define MF_CHECKED      0x0008
#define MF_POPUP        0x0010
#define MF_BYPOSITION   0x0400
#define MF_SEPARATOR    0x0800
#endif
#define MF_INSERT       0x0000
#define MF_CHANGE       0x0080
#define MF_APPEND       0x0100
#define MF_DELETE       0x0200
#define MF_REMOVE       0x1000
#define MF_MENUBARBREAK 0x0020
#define MF_MENUBREAK    0x0040
#define MF_HILITE       0x0080
#define MF_OWNERDRAW    0x0100
#define MF_DEFAULT      0x1000
#define MF_SYSMENU      0x2000
#define MF_HELP         0x4000
#define MF_RIGHTJUSTIFY 0x4000
#define MF_MOUSESELECT  0x8000

#define MFT_STRING       MF_STRING
#define MFT_MENUBARBREAK MF_MENUBARBREAK
#define MFT_MENUBREAK    MF_MENUBREAK
#define MFT_OWNERDRAW    MF_OWNERDRAW
#define MFT_RADIOCHECK   0x00000200
#define MFT_SEPARATOR    MF_SEPARATOR
#define MFT_RIGHTORDER   0x00002000
#define MFT_RIGHTJUSTIFY MF_RIGHTJUSTIFY
#define MFS_GRAYED       0x00000003
#define MFS_DISABLED     MFS_GRAYED
#define MFS_CHECKED      MF_CHECKED
#define MFS_HILITE       MF_HILITE
#define MFS_ENABLED      MF_ENABLED
#define MFS_UNCHECKED    MF_UNCHECKED
#define MFS_DEFAULT      MF_DEFAULT

#define MIIM_STATE      0x00000001
#define MIIM_ID         0x00000002
#define MIIM_SUBMENU    0x00000004
#define MIIM_CHECKMARKS 0x00000008
#define MIIM_TYPE       0x00000010
#define MIIM_DATA       0x00000020
#define MIIM_STRING     0x00000040
#define MIIM_BITMAP     0x00000080
// Item pictures the display draws itself: a maximised MDI child's system menu (the item's data
// is the child) and its buttons on the frame's menu bar.
#define HBMMENU_SYSTEM         (reinterpret_cast<HBITMAP>(static_cast<INT_PTR>(1)))
#define HBMMENU_MBAR_RESTORE   (reinterpret_cast<HBITMAP>(static_cast<INT_PTR>(2)))
#define HBMMENU_MBAR_MINIMIZE  (reinterpret_cast<HBITMAP>(static_cast<INT_PTR>(3)))
#define HBMMENU_MBAR_CLOSE     (reinterpret_cast<HBITMAP>(static_cast<INT_PTR>(5)))
#define MIIM_FTYPE      0x00000100

// TrackPopupMenu
#define TPM_LEFTBUTTON   0x0000
#define TPM_RIGHTBUTTON  0x0002
#define TPM_LEFTALIGN    0x0000
#define TPM_CENTERALIGN  0x0004
#define TPM_RIGHTALIGN   0x0008
#define TPM_TOPALIGN     0x0000
#define TPM_VCENTERALIGN 0x0010
#define TPM_BOTTOMALIGN  0x0020
#define TPM_HORIZONTAL   0x0000
#define TPM_VERTICAL     0x0040
#define TPM_NONOTIFY     0x0080
#define TPM_RETURNCMD    0x0100
#define TPM_LAYOUTRTL    0x8000

typedef struct tagMENUITEMINFOA {
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    HBITMAP hbmpChecked;
    HBITMAP hbmpUnchecked;
    ULONG_PTR dwItemData;
    LPSTR dwTypeData;       // the text; on reading, a buffer of cch bytes (null: cch gets the length)
    UINT cch;
    HBITMAP hbmpItem;
} MENUITEMINFOA, *LPMENUITEMINFOA;
typedef const MENUITEMINFOA* LPCMENUITEMINFOA;

typedef struct tagTPMPARAMS {
    UINT cbSize;
    RECT rcExclude;
} TPMPARAMS, *LPTPMPARAMS;

HMENU CreatePopupMenu();
HMENU CreateMenu();
// Destroys the menu and the submenus it holds.
BOOL  DestroyMenu(HMENU hMenu);
BOOL  IsMenu(HMENU hMenu);

// Editing. MF_POPUP: uIDNewItem is the submenu's handle, which the menu then owns. An item is
// named by position (MF_BYPOSITION) or by command id, which is looked for in the submenus too.
BOOL  AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR pszNewItem);
// Inserts before the item uPosition names; a position past the end (or -1) appends.
BOOL  InsertMenuA(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR pszNewItem);
BOOL  InsertMenuItemA(HMENU hMenu, UINT uItem, BOOL fByPosition, LPCMENUITEMINFOA pmii);
// Replaces the item's text, flags and id (a submenu it held is destroyed when replaced).
BOOL  ModifyMenuA(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR pszNewItem);
// RemoveMenu leaves a submenu alive for the caller; DeleteMenu destroys it.
BOOL  RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
BOOL  DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
// The previous MF_GRAYED/MF_DISABLED or MF_CHECKED state; (UINT)-1 (-1 for checks) for no item.
UINT  EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable);
DWORD CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck);
// Checks one item of a group as a radio item and clears the others of the range.
BOOL  CheckMenuRadioItem(HMENU hMenu, UINT idFirst, UINT idLast, UINT idCheck, UINT uFlags);
BOOL  GetMenuItemInfoA(HMENU hMenu, UINT uItem, BOOL fByPosition, LPMENUITEMINFOA pmii);
BOOL  SetMenuItemInfoA(HMENU hMenu, UINT uItem, BOOL fByPosition, LPCMENUITEMINFOA pmii);

// Reading.
int   GetMenuItemCount(HMENU hMenu);
// The item's command id; (UINT)-1 for a submenu or a position out of range.
UINT  GetMenuItemID(HMENU hMenu, int nPos);
// Copies the text (cut to cchMax-1) and returns its length; pszString null returns the length.
int   GetMenuStringA(HMENU hMenu, UINT uIDItem, LPSTR pszString, int cchMax, UINT uFlag);
// The item's flags; (UINT)-1 when there is no such item.
UINT  GetMenuState(HMENU hMenu, UINT uId, UINT uFlags);
HMENU GetSubMenu(HMENU hMenu, int nPos);

// A window's menu bar. SetMenu shows the menu above the client area, which shrinks by the bar's
// height (the window's size stays); the menu the window holds when it is destroyed is destroyed
// with it, one it was given before is the caller's again. DrawMenuBar shows the bar again after
// its items changed.
BOOL  SetMenu(HWND hWnd, HMENU hMenu);
HMENU GetMenu(HWND hWnd);
BOOL  DrawMenuBar(HWND hWnd);
// The window's own copy of the system menu (restore, move, size, minimise, maximise, close with
// their SC_ ids), made on first use and owned by the window; bRevert drops it and answers null.
HMENU GetSystemMenu(HWND hWnd, BOOL bRevert);

// Popup menus. The menu shows at x, y (screen) aligned by the TPM_ flags and a modal loop runs
// until it closes, with timers and posted messages delivered. The owner gets WM_INITMENU and
// WM_INITMENUPOPUP before it shows, WM_MENUSELECT as the user moves (TPM_NONOTIFY: none of
// these), then WM_COMMAND posted for the chosen item; with TPM_RETURNCMD the id is returned
// instead (0: dismissed). A test answers through TB_ASK_POPUPMENU once the queue has drained;
// with no display and no answer the menu closes when nothing is left to answer it (no message
// waiting, no timer due within a second). WM_CANCELMODE to the owner, or EndMenu, dismisses it.
// FALSE (0) for a bad menu or window, or while another popup is open.
BOOL  TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved, HWND hWnd, const RECT* prcRect);
BOOL  TrackPopupMenuEx(HMENU hMenu, UINT uFlags, int x, int y, HWND hWnd, LPTPMPARAMS lptpm);
BOOL  EndMenu();

// A menu bar (or popup) built from a MENU resource of the module (null: the resource module);
// null when there is none.
HMENU LoadMenuA(HINSTANCE hInstance, LPCSTR pszMenuName);
