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

// While a workspace is loaded, its windows keep the places the file gives them, relative to each
// other (only kept near the screen); when the outermost load ends, every window on view is
// fitted into the client together (FitChildrenIntoClient), so that a workspace from a larger
// screen comes back in the same arrangement, smaller, every caption where it was in view.
class CWorkspacePlacing
{
public:
    explicit CWorkspacePlacing(HWND hClient);
    ~CWorkspacePlacing();
    CWorkspacePlacing(const CWorkspacePlacing&) = delete;
    CWorkspacePlacing& operator=(const CWorkspacePlacing&) = delete;

private:
    HWND m_hClient;
};

// The open (shown, neither minimised nor maximised) MDI children of hClient moved and sized
// together into the client where they reach past it: along each side, the stretches between
// their edges shrink alike, except the short ones (a cascade's title-bar steps, up to two title
// bars), which keep their length, so that a caption in view stays in view. A window keeps its
// own minimum size (a form its dialog).
void FitChildrenIntoClient(HWND hClient);

// Of the MDI children beneath hWnd, the lowest whose caption hWnd lies over (frames included);
// null when it covers none.
HWND LowestCaptionCovered(HWND hWnd);
