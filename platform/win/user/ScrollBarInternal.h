#pragma once
#include <algorithm>
// Inside the scroll bars: one bar's values, its geometry and drawing, and the user's press on it,
// shared by a window's own bars and the "ScrollBar" control.
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/ScrollBars.h"
#include "platform/win/user/WindowRecord.h"

// The parts of a bar, from the top (left) end.
enum TbScrollPart { TB_SBP_NONE, TB_SBP_LINEUP, TB_SBP_PAGEUP, TB_SBP_THUMB, TB_SBP_PAGEDOWN, TB_SBP_LINEDOWN };

struct TbScrollBarInfo {
    int  nMin = 0;
    int  nMax = 100;
    UINT nPage = 0;
    int  nPos = 0;
    int  nTrackPos = 0;
    UINT uArrows = ESB_ENABLE_BOTH;     // the ESB_ flags of disabled arrows
    BOOL bDisableNoScroll = FALSE;      // shown disabled rather than hidden while nothing scrolls
    int  nPressed = TB_SBP_NONE;        // the part held down, drawn pressed
    BOOL bTracking = FALSE;             // the thumb is being dragged: nTrackPos is its place
    int  nThumbOffset = -1;             // while dragging: the thumb's start in the track, pixels
    // The highest position: a full page still fits.
    int MaxPos() const { return nMax - std::max(static_cast<int>(nPage) - 1, 0); }
    BOOL CanScroll() const { return nMin < nMax && static_cast<long long>(nPage) <= static_cast<long long>(nMax) - nMin; }
};

// A window's two bars, kept in its record's pScroll slot.
struct TbWindowScrollBars : TbClassState {
    TbScrollBarInfo bars[2];            // SB_HORZ, SB_VERT
    BOOL bSet[2] = {FALSE, FALSE};      // given values by the program, with or without the style
};

// Applies what pInfo's mask gives, keeping the page and position in range.
void TbApplyScrollInfo(TbScrollBarInfo& sb, const SCROLLINFO& info);
void TbReadScrollInfo(const TbScrollBarInfo& sb, SCROLLINFO* pInfo);

// Geometry in a rectangle rc holding the bar: the arrows' length, the thumb's start and length in
// the track between them (0 length: no thumb), a point's part.
struct TbScrollGeometry {
    int nArrow = 0;
    int nTrack = 0;         // the length between the arrows
    int nThumbStart = 0;    // from the track's start
    int nThumbLen = 0;
};
TbScrollGeometry TbScrollBarGeometry(const TbScrollBarInfo& sb, const RECT& rc, BOOL bVert, BOOL bEnabled);
int  TbScrollHitPart(const TbScrollBarInfo& sb, const RECT& rc, BOOL bVert, BOOL bEnabled, POINT pt);
void TbDrawScrollBar(HDC hdc, const TbScrollBarInfo& sb, const RECT& rc, BOOL bVert, BOOL bEnabled);

// A bar of a window: its values (SB_CTL: the control's own), where it lies in hWnd's client
// coordinates and which way it runs. Null or FALSE when it has none.
TbScrollBarInfo* TbFindScrollBar(HWND hWnd, int nBar);
BOOL TbScrollBarPlace(HWND hWnd, int nBar, RECT* pRect, BOOL* pbVert);
BOOL TbScrollBarEnabled(HWND hWnd, int nBar);
void TbRedrawScrollBar(HWND hWnd, int nBar);
TbScrollBarInfo* TbControlScrollBar(HWND hWnd);     // the "ScrollBar" control's values

// The user pressed the left button on a bar at pt (hWnd's client coordinates): sends the scroll
// messages until the button is released, repeating on a held arrow or page area, in the layer's
// own loop that takes the mouse from the queue.
void TbTrackScrollBar(HWND hWnd, int nBar, POINT pt);

// A window's own bars: their extent outside the client area, painting them into the backing
// image, and the part of the window a screen point falls on (HTVSCROLL, HTHSCROLL, HTNOWHERE).
int  TbVertBarWidth(const TbWindow* pWnd);
int  TbHorzBarHeight(const TbWindow* pWnd);
void TbDrawWindowScrollBars(HWND hWnd);
int  TbScrollBarHitTest(HWND hWnd, POINT ptScreen);
