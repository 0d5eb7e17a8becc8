// The grid's mouse: presses, pointer moves and releases over the title strip, the rows and the
// row headers; column drags, hiding and showing, the title-click sort, marking drags and the
// menus of the right button.
#include <cstdlib>
#include "framework/base/NorvGlobals.h"
#include "framework/base/TBString.h"
#include "framework/table/SortColumns.h"
#include "framework/table/TableColumn.h"
#include "framework/table/TableColumns.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "platform/win/user/Cursor.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/VirtualKeys.h"

namespace
{
// The corner cell's top pixels belong to the show-again edge, not to the corner's own click.
const int CORNER_TOP_MARGIN = 3;
const int SORT_KEY_CAPACITY = 30;
// Pixels sideways that turn a press on a title into a column drag.
const int TITLE_DRAG_START = 4;

// The column's group setting: 2 groups by its key, 1 keeps the view's grouping, 0 and 3 do not.
const int GROUP_ALWAYS = 2;
const int GROUP_KEEP = 1;
}  // namespace

// What lies under a point: the line (RowFromPoint), the title-strip zone and, for the strip, the
// zone's column, elsewhere the display column under the point.
void CTableWindow::HitTestCell(POINT pt, int* pRow, int* pCol, int* pZone) const
{
    *pRow = RowFromPoint(pt.x, pt.y);
    *pZone = HitTestZone(pt, pCol);
    if (*pRow != -1)
        *pCol = ColumnFromPoint(pt.x, pt.y);
}

BOOL CTableWindow::IsOnPressedCell(int nRow, int nCol, int nZone) const
{
    return nRow == m_nPressRow && nCol == m_nPressCol && nZone == m_nPressZone;
}

BOOL CTableWindow::IsInRowHeaders(POINT pt) const
{
    return m_pView && m_pView->GetShowHeader() && ::PtInRect(&m_headerPane.GetRect(), pt);
}

BOOL CTableWindow::IsOnCorner(POINT pt) const
{
    const RECT& rc = m_headerPane.GetTitleRect();
    return IsInRowHeaders(pt) && ::PtInRect(&rc, pt) && pt.y - rc.top >= CORNER_TOP_MARGIN;
}

// ---- Press ----------------------------------------------------------------------------------

void CTableWindow::OnMouseDown(UINT nKeys, int x, int y, BOOL bDoubleClick)
{
    if (!m_pView) {
        CTBWnd::OnLButtonDown(nKeys, x, y);
        return;
    }
    HideCellTip();
    const BOOL bTookFocus = !HasFocusOrEditor();
    if (bTookFocus)
        ::SetFocus(m_hWnd);
    ::SetCapture(m_hWnd);
    const POINT pt = {x, y};
    int nRow = RowFromPoint(x, y);
    int nCol = m_nLastCol;
    int nZone = m_nLastZone;
    if (x != m_ptLast.x || y != m_ptLast.y) {
        // The press that activates the grid only activates it.
        if (bTookFocus) {
            CTBWnd::OnLButtonDown(nKeys, x, y);
            return;
        }
        HitTestCell(pt, &nRow, &nCol, &nZone);
    }
    CloseEditor(TRUE);
    m_nPressRow = nRow;
    m_nPressCol = nCol;
    m_nPressZone = nZone;
    m_ptPress = pt;

    if (nRow == -1) {
        if (nZone == TW_ZONE_RESIZE) {
            if (bDoubleClick)
                AutoFitColumn(nCol, FALSE);
            else
                BeginColumnResize(nCol, pt);
        } else if (nZone == TW_ZONE_MOVE) {
            BeginColumnMove(nCol, pt);
        } else if (IsOnCorner(pt)) {
            SetRowHeaderHotLine(-1);
        }
        return;
    }
    if (nRow == TW_APPEND_LINE) {
        SetCurrentRowOffset(IsValidCurrentRow(TW_APPEND_LINE) ? TW_APPEND_LINE : LastShownLine(), 1);
        return;
    }
    if (nRow < 0)
        return;
    if (IsInRowHeaders(pt)) {
        if (!m_headerPane.IsDragActive())
            m_headerPane.BeginDrag(nRow, /*bMark=*/TRUE);
        SetRowHeaderHotLine(nRow);
    }
    if (nRow <= LastShownLine())
        SetCurrentRowOffset(nRow, 1);
}

// ---- Pointer moves --------------------------------------------------------------------------

// A drag held above or below the rows scrolls the window on a timer; the line it stands for is
// the first or the last one shown.
int CTableWindow::AutoScrollLineAt(POINT pt, int nRow)
{
    const RECT rcRows = GetRowsRect();
    const int nLast = LastShownLine();
    if (pt.y < rcRows.top) {
        if (m_nTopRow > 0)
            StartAutoScrollTimer(TW_TIMER_SCROLL_UP);
        else
            StopAutoScrollTimer();
        return 0;
    }
    if (nRow >= 0 && nRow <= nLast) {
        StopAutoScrollTimer();
        return nRow;
    }
    if (m_nTopRow < GetMaxTopRow())
        StartAutoScrollTimer(TW_TIMER_SCROLL_DOWN);
    else
        StopAutoScrollTimer();
    return nLast;
}

void CTableWindow::OnMouseMove(UINT nKeys, int x, int y)
{
    const POINT pt = {x, y};
    int nRow = -3;
    if (m_pView)
        HitTestCell(pt, &nRow, &m_nLastCol, &m_nLastZone);
    m_ptLast = pt;
    if (!m_pView) {
        CTBWnd::OnMouseMove(nKeys, x, y);
        return;
    }
    if (::GetCapture() == m_hWnd) {
        if (m_bResizing) {
            TrackColumnResize(x, y);
            return;
        }
        if (m_bMoving) {
            TrackColumnMove(x, y);
            return;
        }
    } else if (IsColumnDragActive()) {
        // The capture went elsewhere: the drag cannot end with a release here.
        EndColumnResize(FALSE);
        EndColumnMove(FALSE);
    }
    const BOOL bLeft = (nKeys & MK_LBUTTON) != 0;
    const BOOL bButton = (nKeys & (MK_LBUTTON | MK_RBUTTON)) != 0;
    if (bButton || nRow < 0 || m_bMoving || m_bResizing)
        HideCellTip();
    else
        UpdateCellTip(nRow, m_nLastCol, pt);

    // A title taken anywhere and dragged sideways moves its column, as one taken by the grip
    // at the strip's bottom does; a shorter move is still a click.
    if (bLeft && m_nPressRow == -1 && m_nPressZone == TW_ZONE_TITLE && abs(x - m_ptPress.x) >= TITLE_DRAG_START) {
        BeginColumnMove(m_nPressCol, m_ptPress);
        if (m_bMoving) {
            m_nPressZone = TW_ZONE_MOVE;
            TrackColumnMove(x, y);
            return;
        }
    }

    if (bButton && m_headerPane.IsDragActive()) {
        const int nLine = AutoScrollLineAt(pt, nRow);
        m_headerPane.DragTo(nLine);
        if (bLeft && nLine >= 0)
            SetCurrentRowOffset(nLine, 1);
        m_nPressRow = nLine;
        return;
    }
    if (bButton && !IsOnPressedCell(nRow, m_nLastCol, m_nLastZone)) {
        SetRowHeaderHotLine(-3);
        SetCursorForZone(TW_ZONE_NONE);
        const RECT rcRows = GetRowsRect();
        const BOOL bBelow = pt.y >= rcRows.top && (nRow < 0 || nRow > LastShownLine());
        if (bLeft && m_nPressCol >= 0 && m_nPressRow >= 0 && bBelow) {
            SetCurrentRowOffset(AutoScrollLineAt(pt, nRow), 1);
        } else if (bLeft && m_nPressCol >= 0 && m_nPressRow >= 0 && m_nLastZone == m_nPressZone && nRow >= 0) {
            StopAutoScrollTimer();
            if (nRow <= LastShownLine())
                SetCurrentRowOffset(nRow, 1);
        }
        return;
    }
    if (nRow == -1) {
        SetCursorForZone(m_nLastZone);
        if (bLeft && IsOnCorner(pt))
            SetRowHeaderHotLine(-1);
        return;
    }
    if (m_bCursorSet)
        SetCursorForZone(TW_ZONE_NONE);
    if (bLeft && nRow >= 0) {
        if (IsInRowHeaders(pt))
            SetRowHeaderHotLine(nRow);
        if (nRow <= LastShownLine())
            SetCurrentRowOffset(nRow, 1);
    }
}

// ---- Left release ---------------------------------------------------------------------------

void CTableWindow::OnLButtonUp(UINT nKeys, int x, int y)
{
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (!m_pView) {
        CTBWnd::OnLButtonUp(nKeys, x, y);
        return;
    }
    const POINT pt = {x, y};
    int nRow, nCol, nZone;
    HitTestCell(pt, &nRow, &nCol, &nZone);
    if (IsColumnDragActive()) {
        if (m_bResizing)
            EndColumnResize(TRUE);
        else
            EndColumnMove(TRUE);
        SetCursorForZone(HitTestZone(pt, nullptr));
        return;
    }
    StopAutoScrollTimer();
    EndMarkAtFocus(TRUE);
    const BOOL bSame = IsOnPressedCell(nRow, nCol, nZone);
    SetRowHeaderHotLine(-3);
    if (!bSame)
        return;
    switch (nZone) {
    case TW_ZONE_HIDE:
        HideColumn(nCol);
        return;
    case TW_ZONE_SHOW:
        ShowColumn(nCol);
        return;
    case TW_ZONE_TITLE:
        if (!CellClick(-1, nCol))
            SortByColumn(nCol);
        return;
    }
    if (IsInRowHeaders(pt)) {
        if (nRow >= 0)
            CellClick(nRow, -1);
        else if (IsOnCorner(pt) && !CellClick(-1, -1))
            ToggleSumMode();
        return;
    }
    if (nRow == TW_NO_ROW && pt.y >= GetRowsRect().top) {
        // Below the last row: the next row comes into view and becomes current.
        SetCurrentRowOffset(LastShownLine(), 0);
        AutoScroll(SB_LINEDOWN, 0);
        SetCurrentRowOffset(LastShownLine(), 0);
    } else if (nRow >= 0 && nCol >= 0) {
        CellClick(nRow, nCol);
        if (IsCellEditable(m_nTopRow + nRow, nCol))
            StartEdit(nRow, nCol);
    }
}

// ---- Right release --------------------------------------------------------------------------

void CTableWindow::OnRButtonUp(UINT nKeys, int x, int y)
{
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (!m_pView) {
        CTBWnd::OnRButtonUp(nKeys, x, y);
        return;
    }
    const POINT pt = {x, y};
    int nRow, nCol, nZone;
    HitTestCell(pt, &nRow, &nCol, &nZone);
    if (IsColumnDragActive() || !IsOnPressedCell(nRow, nCol, nZone))
        return;
    const BOOL bEndedMarking = m_headerPane.IsDragActive();
    EndMarkAtFocus(TRUE);
    RebuildColumnMenu();
    if (nZone == TW_ZONE_TITLE) {
        if (!CellRightClick(-1, nCol)) {
            if (IsKeyHeld(VK_SHIFT))
                ShowFilterDialog(nCol);
            else
                ShowFastFindDialog(nCol);
        }
        return;
    }
    if (nZone == TW_ZONE_MOVE || nZone == TW_ZONE_HIDE)
        return;
    if ((nZone == TW_ZONE_RESIZE || nZone == TW_ZONE_SHOW || IsOnCorner(pt)) && m_hColumnMenu) {
        POINT ptScreen = pt;
        ::ClientToScreen(m_hWnd, &ptScreen);
        ::TrackPopupMenu(m_hColumnMenu, PopupFlags(), ptScreen.x, ptScreen.y, 0, m_hWnd, nullptr);
        return;
    }
    const BOOL bInHeaders = IsInRowHeaders(pt);
    if (bInHeaders && nRow >= 0) {
        CellRightClick(nRow, -1);
        return;
    }
    if (IsOnCorner(pt)) {
        CellRightClick(-1, -1);
        return;
    }
    if (GetNorvGlobals().m_bRightClickSelects && nRow >= 0 && nRow <= LastShownLine())
        SetCurrentRowOffset(nRow, 1);
    if (CellRightClick(nRow, nCol) || bEndedMarking || bInHeaders)
        return;
    POINT ptScreen = pt;
    ::ClientToScreen(m_hWnd, &ptScreen);
    PopUpContextMenu(ptScreen);
}

// The grid's popups open centred on the pointer; in a right-to-left layout they read right to left.
UINT CTableWindow::PopupFlags() const
{
    return TPM_CENTERALIGN | TPM_RIGHTBUTTON | (IsRightToLeft() ? TPM_LAYOUTRTL : 0);
}

// The context menu with the column menu as its last submenu, at a screen point; the column
// menu goes out of it again once the menu has closed.
void CTableWindow::PopUpContextMenu(POINT ptScreen)
{
    POINT pt = ptScreen;
    ::ScreenToClient(m_hWnd, &pt);
    HMENU hMenu = PrepareContextMenu(pt.x, pt.y);
    if (!hMenu) {
        Beep();
        return;
    }
    ::TrackPopupMenu(hMenu, PopupFlags(), ptScreen.x, ptScreen.y, 0, m_hWnd, nullptr);
    ReleaseContextMenu();
}

// ---- The title-click sort -------------------------------------------------------------------

void CTableWindow::SortByColumn(int nDisplayCol)
{
    if (!m_pView || !m_pView->m_bAllowSortDialog)
        return;
    CTableColumnsMap& order = m_pView->GetColumnOrder();
    const CTableColumn* pColumn = nDisplayCol >= 0 && nDisplayCol < order.GetCount() ? order.GetColumn(nDisplayCol) : nullptr;
    if (!pColumn || !pColumn->m_bSortable)
        return;
    const int nCol = order.GetColumnIndex(nDisplayCol);
    const CSortColumns& oldKeys = m_pView->GetSortColumns();
    CSortColumns newKeys(SORT_KEY_CAPACITY);
    BOOL bGroup = FALSE;
    // Clicks on the first key's title cycle: ascending, descending, unsorted.
    if (oldKeys.GetCount() > 0 && oldKeys.GetAt(0).m_nColumn == nCol && !m_pView->GetColumns().m_bDefaultOrder) {
        if (oldKeys.GetAt(0).m_nDirection != SORT_DESCENDING)
            newKeys.Add(nCol, SORT_DESCENDING);
    } else {
        newKeys.Add(nCol, SORT_ASCENDING);
        if (pColumn->m_nSetting03 == GROUP_ALWAYS)
            bGroup = TRUE;
        else if (pColumn->m_nSetting03 == GROUP_KEEP)
            bGroup = m_pView->GetGroupColumns().GetCount() > 0;
    }
    HCURSOR hOld = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    const CSortColumns before(oldKeys);
    FireSortChanging(&newKeys, &before);
    m_pView->Sort(newKeys, bGroup);
    ::SetCursor(hOld);
}
