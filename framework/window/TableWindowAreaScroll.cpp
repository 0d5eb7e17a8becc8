// Horizontal scrolling of a grid pane: the offset, its scroll bar, and moving the pixels that
// stay in view so that only the uncovered strip is painted.
#include "framework/window/TableWindowArea.h"

#include "framework/window/TableWindow.h"

namespace {

int Width(const RECT& rc) { return rc.right - rc.left; }

// The step of a horizontal scroll code in bar positions; FALSE for codes that name no position.
BOOL NewBarPosition(UINT nCode, UINT nPos, int nCurrent, int nMax, int nPaneWidth, int* pNew)
{
    switch (nCode) {
    case SB_LINELEFT:      *pNew = nCurrent - 10; return TRUE;
    case SB_LINERIGHT:     *pNew = nCurrent + 10; return TRUE;
    case SB_PAGELEFT:      *pNew = nCurrent - nPaneWidth * 5 / 6; return TRUE;
    case SB_PAGERIGHT:     *pNew = nCurrent + nPaneWidth * 5 / 6; return TRUE;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:    *pNew = static_cast<int>(nPos); return TRUE;
    case SB_LEFT:          *pNew = 0; return TRUE;
    case SB_RIGHT:         *pNew = nMax; return TRUE;
    default:               return FALSE;
    }
}

} // namespace

int CTableWindowArea::GetMaxOffset() const
{
    int nMax = m_nTotalWidth - Width(m_rcPane);
    return nMax > 0 ? nMax : 0;
}

void CTableWindowArea::ClampScroll()
{
    int nMax = GetMaxOffset();
    int nOffset = m_nOffset > nMax ? nMax : (m_nOffset < 0 ? 0 : m_nOffset);
    if (nOffset == m_nOffset)
        return;
    m_nOffset = nOffset;
    RecalcLayout();
    UpdateScrollBar();
    Invalidate(nullptr, FALSE);
}

void CTableWindowArea::OnHScroll(UINT nCode, UINT nPos)
{
    HWND hGrid = GridHwnd();
    if (!hGrid)
        return;
    if (!m_pGrid->HasFocusOrEditor())
        SetFocus(hGrid);
    if (nCode > SB_ENDSCROLL)
        return;
    if (nCode == SB_ENDSCROLL) {
        OnEndScroll();
        m_bScrollGesture = FALSE;
        return;
    }
    if (!m_bScrollGesture) {
        m_bScrollGesture = TRUE;
        OnBeginScroll();
    }
    int nMax = GetMaxOffset();
    // The bar runs left to right in every layout: in a mirrored pane its position is the mirror.
    BOOL bMirrored = IsMirroredLayout();
    int nBar = bMirrored ? nMax - m_nOffset : m_nOffset;
    int nNewBar = 0;
    if (!NewBarPosition(nCode, nPos, nBar, nMax, Width(m_rcPane), &nNewBar))
        return;
    ScrollToClamped(bMirrored ? nMax - nNewBar : nNewBar);
}

void CTableWindowArea::Scroll(UINT nCode, UINT nPos)
{
    OnHScroll(nCode, nPos);
    OnHScroll(SB_ENDSCROLL, 0);
}

void CTableWindowArea::OnBeginScroll()
{
    // Scrolling away from the cell being edited ends the edit: the focus goes to the grid.
    HWND hGrid = GridHwnd();
    HWND hEditor = m_pGrid ? m_pGrid->GetEditor().GetSafeHwnd() : nullptr;
    if (hGrid && hEditor && GetFocus() == hEditor)
        SetFocus(hGrid);
}

void CTableWindowArea::ScrollTo(int nOffset, BOOL bAnimate)
{
    HWND hGrid = GridHwnd();
    if (bAnimate && hGrid && nOffset != m_nOffset) {
        // Content moves left as the offset grows, right in a mirrored pane.
        int dx = IsMirroredLayout() ? nOffset - m_nOffset : m_nOffset - nOffset;
        RECT rcMove = m_rcPane;
        rcMove.bottom = m_rcCells.bottom;
        RECT rcOldUsed = m_rcCells;
        EDGES edges = EdgeCells();
        for (RECT& rc : edges.rc)
            OffsetRect(&rc, dx, 0);
        ScrollWindow(hGrid, dx, 0, &rcMove, &rcMove);
        // ScrollWindow invalidates what it uncovers; widen that over the frame edges that
        // moved with the pixels.
        RECT rc = rcMove;
        if (dx < 0)
            rc.left = rcMove.right + dx - 3;
        else
            rc.right = rcMove.left + dx + (IsMirroredLayout() ? 3 : 1);
        InvalidateRect(hGrid, &rc, FALSE);
        m_nOffset = nOffset;
        RecalcLayout();
        // The focus frame's sides stand at the cell area's edges, not with the pixels that moved:
        // both are drawn again, whichever way the columns went.
        for (const int x : {m_rcCells.left, m_rcCells.right - 1}) {
            rc = RECT{x, rcMove.top, x + 1, rcMove.bottom};
            InvalidateRect(hGrid, &rc, FALSE);
        }
        InvalidateEdgeCells(edges);
        // Near the end the used width changes: what lies beyond the columns is painted anew.
        if (rcOldUsed.left != m_rcCells.left || rcOldUsed.right != m_rcCells.right) {
            rc = rcMove;
            if (IsMirroredLayout())
                rc.right = (rcOldUsed.left > m_rcCells.left ? rcOldUsed.left : m_rcCells.left) + 3;
            else
                rc.left = (rcOldUsed.right < m_rcCells.right ? rcOldUsed.right : m_rcCells.right) - 3;
            InvalidateRect(hGrid, &rc, FALSE);
        }
    } else {
        m_nOffset = nOffset;
        RecalcLayout();
    }
    UpdateScrollBar();
}

void CTableWindowArea::UpdateScrollBar()
{
    HWND hBar = m_scrollBar.GetSafeHwnd();
    if (!IsWindow(hBar))
        return;
    int nMax = GetMaxOffset();
    int nPos = m_nOffset;
    if (IsMirroredLayout()) {
        nPos = nMax - m_nOffset;
        if (nPos < 0)
            nPos = 0;
    }
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = m_nTotalWidth;
    si.nPage = static_cast<UINT>(Width(m_rcPane) > 0 ? Width(m_rcPane) : 0);
    si.nPos = nPos;
    SetScrollInfo(hBar, SB_CTL, &si, TRUE);
}
