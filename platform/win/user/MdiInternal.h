#pragma once
// Inside the window manager: what the MDI default procedures ask of the MDI client.
#include "platform/win/user/Mdi.h"

// The client of an MDI child (its parent when that is an MDI client), or null.
HWND TbMdiClientOf(HWND hChild);
BOOL TbMdiIsClient(HWND hWnd);
// Activates the next visible child other than hLeaving (none: no child is active).
void TbMdiActivateAnother(HWND hClient, HWND hLeaving);
// The child whose window-list command id this is; null when it is none.
HWND TbMdiChildOfCommand(HWND hClient, UINT uId);
// A child's show state changed outside the client's own operations (minimised by the user).
void TbMdiNoteChildState(HWND hClient, HWND hChild);
// The window list of the visible children; hChanging (may be null) is about to show or hide.
void TbMdiRefreshWindowList(HWND hClient, HWND hChanging = nullptr, BOOL bShowing = FALSE);
// Registers "MDICLIENT" when pszClassName names it and it is not registered yet.
BOOL TbRegisterMdiClientClass(LPCSTR pszClassName);
