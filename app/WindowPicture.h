#pragma once
// A window's picture, frame included, put on the clipboard as a bitmap: the "copy as picture"
// of form and table windows.
#include "platform/win/WinTypes.h"

// hOwner opens the clipboard; bEmpty empties it first (FALSE: the picture joins what the same
// command put there already). FALSE when the clipboard could not be opened.
BOOL CopyWindowPicture(HWND hWnd, HWND hOwner, BOOL bEmpty);
