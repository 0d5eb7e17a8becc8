// The grid window's columns under the pointer: hit tests and zones, the pointer's shape, and the
// user's column resize and move with their tracking figures and timers.
#include <algorithm>
#include <cstring>
#include "framework/base/NorvGlobals.h"
#include "framework/table/TableColumn.h"
#include "framework/table/TableColumns.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Cursor.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/ScrollBars.h"
#include "platform/win/user/SysMetrics.h"

namespace {

const int MIN_COLUMN_WIDTH = 10;
const int RESIZE_STEP = 10;         // pixels a tick of the widening or narrowing timer
const int RESIZE_BAND = 6;          // width of the resize band, centred on the column's edge

int Clamp(int n, int nLow, int nHigh) { return n < nLow ? nLow : (n > nHigh ? nHigh : n); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Hit tests and the pointer

int CTableWindow::ColumnFromPoint(int x, int y) const
{
    const POINT pt = {x, y};
    if (PtInRect(&m_rcHeader, pt))
        return -1;
    if (PtInRect(&m_rcDivider, pt))
        return -3;
    if (PtInRect(&m_fixedPane.GetRect(), pt))
        return m_fixedPane.ColumnFromX(x);
    return m_scrollPane.ColumnFromX(x);
}

int CTableWindow::RowFromPoint(int x, int y) const
{
    (void)x;
    const int nLine = m_scrollPane.RowFromY(y);
    if (nLine < 0)
        return nLine;
    const int nAppend = GetAppendLineOffset();
    if (nAppend >= 0) {
        if (nLine == nAppend)
            return TW_APPEND_LINE;
        if (nLine > nAppend)
            return TW_NO_ROW;
    } else if (nLine >= GetLinesThatFit()) {
        return TW_NO_ROW;
    }
    return nLine;
}

void CTableWindow::SetCursorForZone(int nZone)
{
    HCURSOR hCursor = nullptr;
    switch (nZone) {
    case TW_ZONE_RESIZE: hCursor = m_hCursors[0] ? m_hCursors[0] : LoadCursorA(nullptr, IDC_SIZEWE); break;
    case TW_ZONE_MOVE:
    case TW_ZONE_DROP: hCursor = m_hCursors[1] ? m_hCursors[1] : LoadCursorA(nullptr, IDC_SIZEWE); break;
    case TW_ZONE_HIDE: hCursor = m_hCursors[2]; break;
    case TW_ZONE_SHOW: hCursor = m_hCursors[3]; break;
    case TW_ZONE_NODROP:
    case TW_ZONE_DROP_RIGHT:
    case TW_ZONE_DROP_LEFT: hCursor = LoadCursorA(nullptr, IDC_NO); break;
    default:
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        m_bCursorSet = FALSE;
        return;
    }
    if (hCursor)
        SetCursor(hCursor);
    m_bCursorSet = TRUE;
}

// The first hidden column the user may show at or after a position, unless a shown one comes
// first; a negative position starts at the first column.
int CTableWindow::FindNextHiddenColumn(int nDisplayCol) const
{
    if (!m_pView)
        return -1;
    if (nDisplayCol < 0)
        nDisplayCol = 0;
    CTableColumnsMap& order = m_pView->GetColumnOrder();
    for (int nPos = nDisplayCol; nPos < order.GetCount(); ++nPos) {
        if (GetColumnWidth(nPos) > 0)
            return -1;
        const CTableColumn* pColumn = order.GetColumn(nPos);
        if (pColumn && pColumn->m_bUserSwitchable)
            return nPos;
    }
    return -1;
}

int CTableWindow::HitTestZone(POINT pt, int* pColumn) const
{
    if (pColumn)
        *pColumn = -1;
    const int nTitleBottom = m_rcGrid.top + m_nTitleHeight;
    if (!m_pView || !PtInRect(&m_rcGrid, pt) || pt.y >= nTitleBottom)
        return TW_ZONE_NONE;
    const BOOL bFocus = HasFocusOrEditor();
    const BOOL bNearTop = pt.y - m_rcGrid.top < 4;
    const BOOL bMirror = IsMirrored();
    CTableColumnsMap& order = m_pView->GetColumnOrder();
    auto setColumn = [pColumn](int n) { if (pColumn) *pColumn = n; };

    if (PtInRect(&m_rcDivider, pt)) {
        const int nLastFixed = m_fixedPane.GetLastColumn() >= 0
                               ? std::max(m_fixedPane.GetFirstColumn(), m_fixedPane.GetLastColumn()) : -1;
        setColumn(nLastFixed);
        if (!bFocus || nLastFixed < 0)
            return TW_ZONE_NONE;
        if (!bNearTop)
            return TW_ZONE_RESIZE;
        const int nHidden = FindNextHiddenColumn(nLastFixed + 1);
        setColumn(nHidden);
        return nHidden >= 0 ? TW_ZONE_SHOW : TW_ZONE_NONE;
    }
    if (PtInRect(&m_rcHeader, pt)) {
        if (bFocus && bNearTop) {
            const int nHidden = FindNextHiddenColumn(0);
            setColumn(nHidden);
            if (nHidden >= 0)
                return TW_ZONE_SHOW;
        }
        return TW_ZONE_NONE;
    }
    const int nCol = ColumnFromPoint(pt.x, pt.y);
    if (nCol == -2) {
        // After the last column: the columns may end in a run of hidden ones.
        int nPos = order.GetCount() - 1;
        int nFound = -1;
        while (nPos >= 0 && GetColumnWidth(nPos) == 0) {
            const CTableColumn* p = order.GetColumn(nPos);
            if (p && p->m_bUserSwitchable)
                nFound = nPos;
            --nPos;
        }
        setColumn(nFound);
        return bFocus && nFound >= 0 ? TW_ZONE_SHOW : TW_ZONE_NONE;
    }
    if (nCol < 0)
        return TW_ZONE_NONE;
    const CTableWindowArea* pPane = m_fixedPane.ContainsColumn(nCol) ? &m_fixedPane : &m_scrollPane;
    RECT rcCol;
    pPane->GetColumnRect(nCol, &rcCol);
    // Distances to the trailing edge of this column and of the one before it.
    const int nTrail = bMirror ? pt.x - rcCol.left : rcCol.right - 1 - pt.x;
    const int nLead = bMirror ? rcCol.right - 1 - pt.x : pt.x - rcCol.left;
    int nEdgeCol = -1;
    int nDist = 1 << 20;
    if (nTrail <= nLead) {
        nEdgeCol = nCol;
        nDist = nTrail;
    } else {
        const int nStep = pPane->GetFirstColumn() <= pPane->GetLastColumn() ? 1 : -1;
        nEdgeCol = nCol == pPane->GetFirstColumn() ? (pPane == &m_scrollPane && !m_fixedPane.IsEmpty() ? -2 : -1)
                                                    : nCol - nStep;
        nDist = nLead + 1;
    }
    if (nDist <= 6 && bNearTop) {
        const int nHidden = nEdgeCol >= 0 ? FindNextHiddenColumn(nEdgeCol + 1) : FindNextHiddenColumn(0);
        setColumn(nHidden);
        return bFocus && nHidden >= 0 ? TW_ZONE_SHOW : TW_ZONE_NONE;
    }
    if (nDist <= 3) {
        setColumn(nEdgeCol);
        return nEdgeCol >= 0 ? TW_ZONE_RESIZE : TW_ZONE_NONE;
    }
    if (nDist <= 6)
        return TW_ZONE_NONE;
    setColumn(nCol);
    const CTableColumn* pDef = order.GetColumn(nCol);
    if (bNearTop) {
        const BOOL bFixed = pPane == &m_fixedPane;
        if (bFocus && pDef && pDef->m_bUserSwitchable && (!bFixed || m_pView->GetAllowFixedColumns()))
            return TW_ZONE_HIDE;
        return TW_ZONE_NONE;
    }
    if (pPane == &m_scrollPane && nTitleBottom - pt.y < 4)
        return TW_ZONE_MOVE;
    return bFocus ? TW_ZONE_TITLE : TW_ZONE_NONE;
}

// ---------------------------------------------------------------------------------------------
// Column resize

void CTableWindow::BeginColumnResize(int nDisplayCol, POINT pt)
{
    CTableWindowArea* pPane = PaneOfColumn(nDisplayCol);
    if (IsColumnDragActive() || !pPane)
        return;
    const BOOL bFixed = pPane == &m_fixedPane;
    if (IsMirrored()) {
        m_nDragMinX = m_scrollPane.GetRect().left;
        m_nDragMaxX = bFixed ? m_fixedPane.GetRect().right : m_scrollPane.GetRect().right;
    } else {
        m_nDragMinX = bFixed ? m_fixedPane.GetRect().left : m_scrollPane.GetRect().left;
        m_nDragMaxX = m_scrollPane.GetRect().right;
    }
    RECT rcCol;
    pPane->GetColumnRect(nDisplayCol, &rcCol);
    m_nDragCol = nDisplayCol;
    m_nAnchorX = IsMirrored() ? rcCol.right : rcCol.left;
    const int nTrailing = IsMirrored() ? rcCol.left : rcCol.right;
    m_rcTrack = {nTrailing - RESIZE_BAND / 2, pPane->GetTitleRect().top, nTrailing + RESIZE_BAND / 2, rcCol.bottom};
    m_nPointerOffset = pt.x - nTrailing;
    ParkCurrentRow();
    UpdateNow();
    SetCursorForZone(TW_ZONE_RESIZE);
    m_bResizing = TRUE;
    DrawResizeLine();
}

void CTableWindow::TrackColumnResize(int x, int y)
{
    (void)y;
    if (!m_bResizing)
        return;
    CTableWindowArea* pPane = PaneOfColumn(m_nDragCol);
    if (!pPane)
        return;
    const int nX = x - m_nPointerOffset;
    const int nWidth = GetColumnWidth(m_nDragCol);
    const BOOL bMirror = IsMirrored();
    if (pPane == &m_scrollPane) {
        const BOOL bPastFar = bMirror ? nX < m_nDragMinX && m_rcTrack.left <= m_nDragMinX
                                      : nX > m_nDragMaxX && m_rcTrack.right >= m_nDragMaxX;
        const BOOL bBeforeNear = bMirror ? nX > m_nDragMaxX : nX < m_nDragMinX;
        if (bPastFar && nWidth < GetSystemMetrics(SM_CXSCREEN)) {
            StartAutoScrollTimer(TW_TIMER_GROW_COLUMN);
            return;
        }
        if (bBeforeNear && nWidth > MIN_COLUMN_WIDTH) {
            StartAutoScrollTimer(TW_TIMER_SHRINK_COLUMN);
            return;
        }
    }
    StopAutoScrollTimer();
    const int nEdge = Clamp(nX, m_nDragMinX, m_nDragMaxX);
    const int nNew = std::max(MIN_COLUMN_WIDTH, bMirror ? m_nAnchorX - nEdge : nEdge - m_nAnchorX);
    if (nNew == nWidth)
        return;
    EraseResizeLine();
    SetColumnWidth(m_nDragCol, nNew, TRUE);
    TrackBandToColumn();
    UpdateNow();
    DrawResizeLine();
}

// The band follows the dragged column's trailing edge after a width change.
void CTableWindow::TrackBandToColumn()
{
    CTableWindowArea* pPane = PaneOfColumn(m_nDragCol);
    if (!pPane)
        return;
    RECT rcCol;
    pPane->GetColumnRect(m_nDragCol, &rcCol);
    m_nAnchorX = IsMirrored() ? rcCol.right : rcCol.left;
    const int nTrailing = IsMirrored() ? rcCol.left : rcCol.right;
    OffsetRect(&m_rcTrack, nTrailing - RESIZE_BAND / 2 - m_rcTrack.left, 0);
}

void CTableWindow::GrowResizedColumn()
{
    const int nWidth = GetColumnWidth(m_nDragCol);
    const int nMax = GetSystemMetrics(SM_CXSCREEN);
    if (!m_bResizing || nWidth >= nMax) {
        StopAutoScrollTimer();
        return;
    }
    const int nStep = std::min(RESIZE_STEP, nMax - nWidth);
    EraseResizeLine();
    SetColumnWidth(m_nDragCol, nWidth + nStep, TRUE);
    m_scrollPane.ScrollTo(m_scrollPane.GetOffset() + nStep, TRUE);
    TrackBandToColumn();
    UpdateNow();
    DrawResizeLine();
}

void CTableWindow::ShrinkResizedColumn()
{
    const int nWidth = GetColumnWidth(m_nDragCol);
    if (!m_bResizing)
        return;
    EraseResizeLine();
    if (nWidth <= MIN_COLUMN_WIDTH) {
        StopAutoScrollTimer();
        m_scrollPane.ScrollTo(std::max(0, m_scrollPane.GetOffset() - RESIZE_STEP), TRUE);
    } else {
        const int nStep = std::min(RESIZE_STEP, nWidth - MIN_COLUMN_WIDTH);
        SetColumnWidth(m_nDragCol, nWidth - nStep, TRUE);
        m_scrollPane.ScrollTo(std::max(0, m_scrollPane.GetOffset() - nStep), TRUE);
    }
    TrackBandToColumn();
    UpdateNow();
    DrawResizeLine();
}

void CTableWindow::EndColumnResize(BOOL bApply)
{
    StopAutoScrollTimer();
    if (m_bResizing) {
        EraseResizeLine();
        SetCursorForZone(TW_ZONE_NONE);
        m_bResizing = FALSE;
        CTableWindowArea* pPane = PaneOfColumn(m_nDragCol);
        if (bApply && pPane && m_pView) {
            RECT rcCol;
            pPane->GetColumnRect(m_nDragCol, &rcCol);
            const int nWidth = IsMirrored() ? rcCol.right - m_rcTrack.left - 3 : m_rcTrack.left - rcCol.left + 3;
            const int nSet = SetColumnWidth(m_nDragCol, nWidth, TRUE);
            // The width the user set stays: the column no longer follows what it holds.
            if (CTableColumn* pColumn = m_pView->GetColumnOrder().GetColumn(m_nDragCol)) {
                pColumn->m_nWidth = GetColumnWidth(m_nDragCol) > 0 ? GetColumnWidth(m_nDragCol) : nSet;
                pColumn->m_bFitWidth = FALSE;
            }
            m_scrollPane.ClampScroll();
            RECT rc;
            GetClientRect(m_hWnd, &rc);
            RecalcLayout(rc);
        }
    }
    m_nDragCol = -1;
    RestoreCurrentRow();
}

void CTableWindow::DrawResizeLine()
{
    if (!m_hWnd || m_bTrackDrawn)
        return;
    InvertTrack(m_rcTrack, TRUE);
    m_bTrackDrawn = TRUE;
}

void CTableWindow::EraseResizeLine()
{
    if (!m_hWnd || !m_bTrackDrawn)
        return;
    InvertTrack(m_rcTrack, TRUE);
    m_bTrackDrawn = FALSE;
}

// XOR with the dither brush: drawing the same figure again takes it off.
void CTableWindow::InvertTrack(const RECT& rc, BOOL bInset)
{
    HDC hdc = GetDC(m_hWnd);
    if (!hdc)
        return;
    HGDIOBJ hOld = SelectObject(hdc, m_hDitherBrush ? m_hDitherBrush : GetStockObject(GRAY_BRUSH));
    const int nInset = bInset ? 1 : 0;
    PatBlt(hdc, rc.left + nInset, rc.top, rc.right - rc.left - 2 * nInset, rc.bottom - rc.top, PATINVERT);
    SelectObject(hdc, hOld);
    ReleaseDC(m_hWnd, hdc);
}

// ---------------------------------------------------------------------------------------------
// Column move

void CTableWindow::BeginColumnMove(int nDisplayCol, POINT pt)
{
    if (IsColumnDragActive() || !m_scrollPane.ContainsColumn(nDisplayCol) || !m_pView)
        return;
    const CTableColumn* pColumn = m_pView->GetColumnOrder().GetColumn(nDisplayCol);
    if (!pColumn || !pColumn->m_bFlag2)
        return;
    const int nWidth = GetColumnWidth(nDisplayCol);
    m_nDragMinX = m_scrollPane.GetRect().left;
    m_nDragMaxX = m_scrollPane.GetRect().right - nWidth;
    m_nDropTarget = -1;
    m_nDropCode = 0;
    const RECT& rcCells = m_scrollPane.GetCellRect();
    m_rcTrack = {pt.x - nWidth / 2, rcCells.top, pt.x - nWidth / 2 + nWidth, rcCells.bottom};
    m_nPointerOffset = pt.x - m_rcTrack.left;
    m_nDragCol = nDisplayCol;
    ParkCurrentRow();
    UpdateNow();
    SetCursorForZone(TW_ZONE_MOVE);
    m_bMoving = TRUE;
    DrawMoveImage();
}

int CTableWindow::DropTest(POINT pt, int* pTarget) const
{
    *pTarget = -1;
    const RECT& rcCells = m_scrollPane.GetCellRect();
    // The titles take a drop as the rows below them do.
    if (pt.y < m_scrollPane.GetRect().top || pt.y >= rcCells.bottom)
        return TW_ZONE_NODROP;
    const RECT& rcPane = m_scrollPane.GetRect();
    if (pt.x < rcPane.left)
        return TW_ZONE_DROP_LEFT;
    if (pt.x >= rcPane.right)
        return TW_ZONE_DROP_RIGHT;
    const int nCol = m_scrollPane.ColumnFromX(pt.x);
    if (nCol >= 0) {
        RECT rcCol;
        m_scrollPane.GetColumnRect(nCol, &rcCol);
        const int nMiddle = (rcCol.left + rcCol.right) / 2;
        const BOOL bPastMiddle = IsMirrored() ? pt.x < nMiddle : pt.x >= nMiddle;
        *pTarget = bPastMiddle ? nCol + 1 : nCol;
        return TW_ZONE_DROP;
    }
    if (nCol == -2) {
        *pTarget = GetDisplayColumnCount();
        return TW_ZONE_DROP;
    }
    return TW_ZONE_NODROP;
}

void CTableWindow::TrackColumnMove(int x, int y)
{
    if (!m_bMoving)
        return;
    int nTarget = -1;
    const int nCode = DropTest(POINT{x, y}, &nTarget);
    SetCursorForZone(nCode);
    RECT rcNew = m_rcTrack;
    OffsetRect(&rcNew, x - m_nPointerOffset - m_rcTrack.left, 0);
    if (nCode == m_nDropCode && nTarget == m_nDropTarget && EqualRect(&rcNew, &m_rcTrack) && m_bMoveDrawn)
        return;
    if (nCode == TW_ZONE_DROP) {
        EraseMoveImage(&rcNew);
        m_rcTrack = rcNew;
        DrawMoveImage();
    } else {
        EraseMoveImage(nullptr);
        m_rcTrack = rcNew;
    }
    m_nDropCode = nCode;
    m_nDropTarget = nTarget;
    if (nCode == TW_ZONE_DROP_LEFT) {
        UpdateNow();
        StartAutoScrollTimer(TW_TIMER_SCROLL_LEFT);
    } else if (nCode == TW_ZONE_DROP_RIGHT) {
        UpdateNow();
        StartAutoScrollTimer(TW_TIMER_SCROLL_RIGHT);
    } else {
        StopAutoScrollTimer();
    }
}

void CTableWindow::EndColumnMove(BOOL bApply)
{
    StopAutoScrollTimer();
    if (m_bMoving) {
        EraseMoveImage(nullptr);
        SetCursorForZone(TW_ZONE_NONE);
        m_bMoving = FALSE;
        const int nCount = GetDisplayColumnCount();
        int nTarget = std::min(m_nDropTarget, nCount);
        if (bApply && m_pView && nTarget >= 0 && nTarget != m_nDragCol && nTarget != m_nDragCol + 1) {
            m_scrollPane.Invalidate(nullptr, FALSE);
            m_pView->GetColumnOrder().MoveColumn(m_nDragCol, nTarget);
            RebuildWidthTable();
            UpdateNow();
        }
    }
    m_nDragCol = -1;
    m_nDropTarget = -1;
    RestoreCurrentRow();
}

void CTableWindow::DrawMoveImage()
{
    if (!m_hWnd || m_bMoveDrawn)
        return;
    InvertTrack(m_rcTrack, FALSE);
    m_bMoveDrawn = TRUE;
}

void CTableWindow::EraseMoveImage(const RECT* pKeep)
{
    (void)pKeep;    // the whole old image goes: an XOR figure must be erased as it was drawn
    if (!m_hWnd || !m_bMoveDrawn)
        return;
    InvertTrack(m_rcTrack, FALSE);
    m_bMoveDrawn = FALSE;
}
