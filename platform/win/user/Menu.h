#pragma once
// Menu objects in the Win32 shape: the table engine's column menus and the framework's menus
// from settings build them; TrackPopupMenu and the menu bar will show the same objects.
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
#ifndef MF_HELP
#define MF_MENUBARBREAK 0x0020
#define MF_MENUBREAK    0x0040
#define MF_HELP         0x4000
#endif

HMENU CreatePopupMenu();
HMENU CreateMenu();
// Destroys the menu and the submenus it holds.
BOOL  DestroyMenu(HMENU hMenu);
BOOL  IsMenu(HMENU hMenu);
// MF_POPUP: uIDNewItem is the submenu's handle, which the menu then owns.
BOOL  AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR pszNewItem);
int   GetMenuItemCount(HMENU hMenu);
// The item's command id; (UINT)-1 for a submenu or a position out of range.
UINT  GetMenuItemID(HMENU hMenu, int nPos);
// Copies the text (cut to cchMax-1) and returns its length; pszString null returns the length.
int   GetMenuStringA(HMENU hMenu, UINT uIDItem, LPSTR pszString, int cchMax, UINT uFlag);
// The item's flags; (UINT)-1 when there is no such item.
UINT  GetMenuState(HMENU hMenu, UINT uId, UINT uFlags);
HMENU GetSubMenu(HMENU hMenu, int nPos);
// A menu bar (or popup) built from a MENU resource of the module (null: the resource module);
// null when there is none.
HMENU LoadMenuA(HINSTANCE hInstance, LPCSTR pszMenuName);
