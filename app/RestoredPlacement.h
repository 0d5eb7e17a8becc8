#pragma once
// A window's place read back from a workspace file, made one the desktop can show. The file may
// come from a larger screen, from a run without a display, or from a damaged disk: a window is
// never larger than the screen, and its caption (drawn by the display around the window's
// rectangle) lies inside the MDI client, moved in as a desktop moves a window that would open
// off screen.
#include "platform/win/Windows.h"

// The rectangle rc of an MDI child of hClient (client coordinates), kept reachable.
RECT ReachableChildRect(HWND hClient, RECT rc);
// The normal rectangle of a placement read for the MDI child hWnd.
void MakePlacementReachable(HWND hWnd, WINDOWPLACEMENT* pwp);
// The normal rectangle of the main frame's placement: wholly on the screen, and large enough to
// show its bars and the windows restored into it.
void MakeFramePlacementReachable(WINDOWPLACEMENT* pwp);
