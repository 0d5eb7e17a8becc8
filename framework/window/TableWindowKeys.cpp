// The grid's keyboard: moving the current row and the panes, marking with Shift, walking the
// editable cells with Tab and Enter, inserting, deleting and the clipboard keys.
#include "framework/table/TableColumn.h"
#include "framework/table/TreeNode.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/VirtualKeys.h"

namespace
{
// Commands of the grid's menus that the clipboard keys share.
const UINT ID_CUT = 25600;
const UINT ID_COPY = 25601;
const UINT ID_PASTE = 25602;

const int NO_HSCROLL = -1;

// Keys that move the current row. With Shift they first begin marking (unmarking with Ctrl too)
// and then act as without a modifier; with Ctrl alone some scroll the panes sideways instead.
enum { MOVE_LINE_UP, MOVE_LINE_DOWN, MOVE_PAGE_UP, MOVE_PAGE_DOWN, MOVE_HOME, MOVE_END };
const struct { UINT nKey; int nMove; int nCtrlHScroll; } s_moveKeys[] = {
    {VK_UP, MOVE_LINE_UP, NO_HSCROLL},       {VK_DOWN, MOVE_LINE_DOWN, NO_HSCROLL},
    {VK_PRIOR, MOVE_PAGE_UP, SB_PAGELEFT},   {VK_NEXT, MOVE_PAGE_DOWN, SB_PAGERIGHT},
    {VK_HOME, MOVE_HOME, SB_LEFT},           {VK_END, MOVE_END, SB_RIGHT},
};

// Keys that change rows or the clipboard, by modifier: none, Shift, Ctrl, Ctrl+Shift.
enum { EDIT_NONE, EDIT_INSERT, EDIT_DELETE, EDIT_CUT, EDIT_COPY, EDIT_PASTE, EDIT_FIND };
const struct { UINT nKey; int nAction[4]; } s_editKeys[] = {
    {VK_INSERT, {EDIT_INSERT, EDIT_PASTE, EDIT_COPY, EDIT_COPY}},
    {VK_DELETE, {EDIT_DELETE, EDIT_CUT, EDIT_DELETE, EDIT_CUT}},
    {'C', {EDIT_NONE, EDIT_NONE, EDIT_COPY, EDIT_COPY}},
    {'V', {EDIT_NONE, EDIT_NONE, EDIT_PASTE, EDIT_PASTE}},
    {'X', {EDIT_NONE, EDIT_NONE, EDIT_CUT, EDIT_CUT}},
    {'F', {EDIT_NONE, EDIT_NONE, EDIT_FIND, EDIT_FIND}},
};

UINT UpperKey(UINT nKey)
{
    return nKey >= 'a' && nKey <= 'z' ? nKey - 'a' + 'A' : nKey;
}
}  // namespace

void CTableWindow::OnKeyDown(UINT nKey, UINT nRepeat, UINT nFlags)
{
    if (IsColumnDragActive())
        return;
    const BOOL bShift = IsKeyHeld(VK_SHIFT);
    const BOOL bCtrl = IsKeyHeld(VK_CONTROL);
    switch (nKey) {
    case VK_TAB:
    case VK_RETURN:
        // Without the editor the keys belong to whoever hosts the grid; the sinks hear nothing.
        if (!IsEditorShowing()) {
            CTBWnd::OnKeyDown(nKey, nRepeat, nFlags);
            return;
        }
        MoveToEditableCell(bShift ? -1 : 1);
        break;
    case VK_ESCAPE:
        if (IsEditorShowing()) {
            CloseEditor(FALSE);
            Beep();
            if (m_hWnd && ::GetFocus() != m_hWnd)
                ::SetFocus(m_hWnd);
        }
        break;
    case VK_SPACE:
        ToggleMarkAtFocus();
        break;
    case VK_LEFT:
        HScroll(SB_LINELEFT);
        break;
    case VK_RIGHT:
        HScroll(SB_LINERIGHT);
        break;
    default:
        if (!DoMoveKey(nKey, bShift, bCtrl) && !DoEditKey(nKey, bShift, bCtrl))
            CTBWnd::OnKeyDown(nKey, nRepeat, nFlags);
        break;
    }
    FireKeyDown(nKey, nRepeat, nFlags);
}

BOOL CTableWindow::IsKeyHeld(int nVirtKey)
{
    return (::GetAsyncKeyState(nVirtKey) & 0x8000) != 0;
}

BOOL CTableWindow::DoMoveKey(UINT nKey, BOOL bShift, BOOL bCtrl)
{
    for (const auto& key : s_moveKeys) {
        if (key.nKey != nKey)
            continue;
        if (bCtrl && !bShift && key.nCtrlHScroll != NO_HSCROLL) {
            HScroll(static_cast<UINT>(key.nCtrlHScroll));
            return TRUE;
        }
        if (bShift)
            BeginMarkFromFocus(!bCtrl);
        MoveFocusByKey(key.nMove);
        return TRUE;
    }
    return FALSE;
}

// The window's last line with a row on it: the last whole line, or the view's last row when the
// view ends inside the window; negative when the window shows no rows.
int CTableWindow::LastShownLine() const
{
    int nLast = GetWholeLines() - 1;
    const int nEnd = GetRowCount() - 1 - m_nTopRow;
    return nEnd < nLast ? nEnd : nLast;
}

void CTableWindow::MoveFocusByKey(int nMove)
{
    const int nOffset = GetCurrentOffset();
    switch (nMove) {
    case MOVE_LINE_UP:
        VScroll(SB_LINEUP, 0, 0);
        break;
    case MOVE_LINE_DOWN:
        VScroll(SB_LINEDOWN, 0, 0);
        break;
    case MOVE_PAGE_UP:
        if (nOffset >= 1)
            SetCurrentRowOffset(0, 1);
        else
            VScroll(SB_PAGEUP, 0, 0);
        break;
    case MOVE_PAGE_DOWN: {
        int nLast = LastShownLine();
        if (nLast < 0)
            nLast = TW_APPEND_LINE;
        if (nOffset != nLast)
            SetCurrentRowOffset(nLast, 1);
        else
            VScroll(SB_PAGEDOWN, 0, 0);
        break;
    }
    case MOVE_HOME:
        SetCurrentRowOffset(0, 1);
        AutoScroll(SB_TOP, 0);
        break;
    case MOVE_END:
        SetCurrentRowOffset(LastShownLine(), 1);
        AutoScroll(SB_BOTTOM, 0);
        break;
    }
}

BOOL CTableWindow::IsOwnKey(UINT nKey, BOOL bShift, BOOL bCtrl)
{
    if (nKey >= VK_F1 && nKey <= VK_F24)
        return FALSE;
    if (!bCtrl)
        return TRUE;
    nKey = UpperKey(nKey);
    for (const auto& key : s_moveKeys)
        if (key.nKey == nKey)
            return TRUE;
    for (const auto& key : s_editKeys)
        if (key.nKey == nKey)
            return key.nAction[(bShift ? 1 : 0) | 2] != EDIT_NONE;
    switch (nKey) {
    case VK_CONTROL: case VK_SHIFT: case VK_LEFT: case VK_RIGHT:
    case VK_TAB: case VK_RETURN: case VK_ESCAPE: case VK_SPACE:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CTableWindow::DoEditKey(UINT nKey, BOOL bShift, BOOL bCtrl)
{
    nKey = UpperKey(nKey);
    for (const auto& key : s_editKeys) {
        if (key.nKey != nKey)
            continue;
        const int nAction = key.nAction[(bShift ? 1 : 0) | (bCtrl ? 2 : 0)];
        // The clipboard keys are the menu's commands, refused the same way.
        const BOOL bFromInsertOrDelete = nKey == VK_INSERT || nKey == VK_DELETE;
        switch (nAction) {
        case EDIT_INSERT:
            InsertRowAtFocus();
            return TRUE;
        case EDIT_DELETE:
            DeleteRowAt(GetCurrentOffset());
            return TRUE;
        case EDIT_COPY:
            RunClipboardKey(ID_COPY, CanCopy(), bFromInsertOrDelete);
            return TRUE;
        case EDIT_CUT:
            RunClipboardKey(ID_CUT, CanCut(), bFromInsertOrDelete);
            return TRUE;
        case EDIT_PASTE:
            RunClipboardKey(ID_PASTE, CanPaste(), bFromInsertOrDelete);
            return TRUE;
        case EDIT_FIND:
            ShowFastFindDialog(-1);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

// Insert and Delete with a modifier run the command as they are; the letters beep first when
// the command cannot run.
void CTableWindow::RunClipboardKey(UINT nId, BOOL bPossible, BOOL bUnchecked)
{
    if (!bPossible && !bUnchecked) {
        Beep();
        return;
    }
    OnCmdMsg(nId, 0);
}

void CTableWindow::ToggleMarkAtFocus()
{
    EndMarkAtFocus(FALSE);
    const int nOffset = GetCurrentOffset();
    if (nOffset < 0)
        return;
    m_headerPane.BeginDrag(nOffset, /*bMark=*/TRUE);
    m_headerPane.EndDrag(TRUE);
}

void CTableWindow::BeginMarkFromFocus(BOOL bMark)
{
    if (m_headerPane.IsDragActive())
        return;
    const int nOffset = GetCurrentOffset();
    if (nOffset >= 0)
        m_headerPane.BeginDrag(nOffset, bMark);
}

void CTableWindow::EndMarkAtFocus(BOOL bCommit)
{
    if (m_headerPane.IsDragActive())
        m_headerPane.EndDrag(bCommit);
}

// ---- Walking the editable cells -------------------------------------------------------------

BOOL CTableWindow::HasEditableColumn() const
{
    if (!m_pView)
        return FALSE;
    CTableColumnsMap& order = m_pView->GetColumnOrder();
    for (int nPos = 0; nPos < order.GetCount(); ++nPos) {
        const CTableColumn* pColumn = order.GetColumn(nPos);
        if (pColumn && pColumn->m_bEditable && !pColumn->m_bHidden)
            return TRUE;
    }
    return FALSE;
}

void CTableWindow::MoveToEditableCell(int nStep)
{
    if (!HasEditableColumn()) {
        Beep();
        return;
    }
    const int nCols = m_pView->GetColumnOrder().GetCount();
    const int nCount = GetRowCount();
    int nRow = GetCurrentRow();
    int nCol = m_nEditorCol;
    if (nRow < 0 || nCols <= 0) {
        CloseEditor(TRUE);
        return;
    }
    for (;;) {
        nCol += nStep;
        if (nCol < 0 || nCol >= nCols) {
            nRow += nStep;
            nCol = nStep > 0 ? 0 : nCols - 1;
        }
        if (nRow < 0 || nRow >= nCount)
            break;
        if (!IsCellEditable(nRow, nCol))
            continue;
        // What was typed so far is written before the editor moves on.
        CloseEditor(TRUE);
        UpdateNow();
        SetCurrentCell(nRow, nCol);
        const int nOffset = nRow - m_nTopRow;
        SetCurrentRowOffset(nOffset, 1);
        StartEdit(nOffset, nCol);
        return;
    }
    CloseEditor(TRUE);
}

// ---- A new row ------------------------------------------------------------------------------

void CTableWindow::InsertRowAtFocus()
{
    if (!ViewAllowsInsert())
        return;
    const int nOffset = GetCurrentOffset();
    const BOOL bAppend = nOffset == TW_APPEND_LINE;
    if (!bAppend && nOffset < 0)
        return;
    const int nPos = bAppend ? GetRowCount() : m_nTopRow + nOffset;
    CViewRow row(m_pView);
    row.NewNode(nullptr);
    FireInsertRow(nPos, &row);
    // A row nobody gave values to cannot go into the view.
    if (!row.GetNode() || !row.GetNode()->GetData()) {
        Beep();
        return;
    }
    if (!m_pView->InsertRowAt(nPos, row)) {
        Beep();
        return;
    }
    if (bAppend) {
        AutoScroll(SB_BOTTOM, 0);
        SetCurrentRowOffset(TW_APPEND_LINE, 1);
    }
}
