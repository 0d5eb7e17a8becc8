#pragma once
// Inside the window manager: what the MDI default procedures ask of the MDI client.
#include "platform/win/user/Mdi.h"

// The client of an MDI child (its parent when that is an MDI client), or null.
HWND TbMdiClientOf(HWND hChild);
BOOL TbMdiIsClient(HWND hWnd);
// The MDI child that holds hWnd (or is it) becomes the active one of its client and comes to the
// front of the others.
void TbMdiActivateUnder(HWND hWnd);
// A child's place in the z-order changed: the child now on top (not minimised) is the active one.
void TbMdiNoteZOrder(HWND hChild);
// Activates the next visible child other than hLeaving (none: no child is active).
void TbMdiActivateAnother(HWND hClient, HWND hLeaving);
// The child whose window-list command id this is ("More Windows..." asks the user which);
// null when it is none. TbMdiIsListCommand: the id belongs to the window list, child or not.
HWND TbMdiChildOfCommand(HWND hClient, UINT uId);
BOOL TbMdiIsListCommand(HWND hClient, UINT uId);
// A child's show state changed outside the client's own operations (minimised by the user).
void TbMdiNoteChildState(HWND hClient, HWND hChild);
// The window list of the visible children; hChanging (may be null) is about to show or hide.
void TbMdiRefreshWindowList(HWND hClient, HWND hChanging = nullptr, BOOL bShowing = FALSE);
// Before the frame hears that a popup opens: its MDI client's window list, when the popup is
// the window menu, made again from the children open now.
void TbMdiPrepareMenu(HWND hFrame, HMENU hMenu);
// Registers "MDICLIENT" when pszClassName names it and it is not registered yet.
BOOL TbRegisterMdiClientClass(LPCSTR pszClassName);
// The frame's own title (its WM_SETTEXT), and the title it shows: its own, followed by
// " - [child]" while a child is maximised. FALSE when hClient is no MDI client.
BOOL TbMdiSetFrameTitle(HWND hClient, LPCSTR pszTitle);
void TbMdiShowFrameTitle(HWND hClient);
