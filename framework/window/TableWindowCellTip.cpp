// The tip of a cut cell: the whole text of a cell its column is too narrow for, shown by the
// pointer while it rests on the cell; gone when the pointer leaves it or a button is pressed.
#include <algorithm>
#include <vector>
#include "framework/table/TableColumn.h"
#include "framework/table/TableColumnsMap.h"
#include "framework/table/TreeNode.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "framework/window/CellText.h"
#include "framework/window/TableRowCache.h"
#include "framework/window/TableWindow.h"
#include "platform/win/user/CommCtrl.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/SysMetrics.h"

namespace
{
// Pixels between the pointer and the tip below it.
const int TIP_BELOW_POINTER = 20;
}  // namespace

void CTableWindow::UpdateCellTip(int nLine, int nDisplayCol, POINT pt)
{
    if (nLine == m_nTipLine && nDisplayCol == m_nTipCol && m_nTipLine >= 0)
        return;
    HideCellTip();
    if (nLine < 0 || nDisplayCol < 0 || !m_pView || !m_hWnd || nDisplayCol >= GetDisplayColumnCount())
        return;
    CTableWindowArea* pPane = PaneOfColumn(nDisplayCol);
    CTableColumnsMap& order = m_pView->GetColumnOrder();
    CTableColumn* pColumn = order.GetColumn(nDisplayCol);
    if (!pPane || !pColumn)
        return;
    CTableRow* pRow = GetShownRowCache().GetLineRow(nLine);
    // What the cell shows, where the pane paints it (a column partly out of its pane shows only
    // what lies inside it), against the whole text.
    CTBString strShown;
    RECT rcShown;
    if (!pRow || !pPane->GetShownCellText(nLine, nDisplayCol, &strShown, &rcShown))
        return;
    std::vector<char> text(static_cast<size_t>(pColumn->GetFullTextSize()) + 1);
    pRow->GetCellText(text.data(), static_cast<int>(text.size()), order.GetColumnIndex(nDisplayCol), pColumn, m_pView);
    HDC hdc = GetDC(m_hWnd);
    if (!hdc)
        return;
    PrepareDC(hdc);
    const BOOL bBold = (pRow->GetAttr(order.GetColumnIndex(nDisplayCol), 1) & CELL_BOLD) != 0 && GetBoldFont();
    HGDIOBJ hOld = bBold ? SelectObject(hdc, GetBoldFont()) : nullptr;
    SIZE size = {0, 0};
    GetTextExtentPoint32A(hdc, text.data(), static_cast<int>(strlen(text.data())), &size);
    if (hOld)
        SelectObject(hdc, hOld);
    ReleaseDC(m_hWnd, hdc);
    if (strcmp(strShown, text.data()) == 0 && size.cx <= rcShown.right - rcShown.left)
        return;

    if (!m_hCellTip)
        m_hCellTip = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, TOOLTIPS_CLASSA, "", WS_POPUP,
                                     0, 0, 0, 0, m_hWnd, nullptr, nullptr, nullptr);
    if (!m_hCellTip)
        return;
    const BOOL bRightToLeft = CellReadingFlag(text.data());
    const LONG lExStyle = GetWindowLongA(m_hCellTip, GWL_EXSTYLE) & ~WS_EX_RTLREADING;
    SetWindowLongA(m_hCellTip, GWL_EXSTYLE, lExStyle | (bRightToLeft ? WS_EX_RTLREADING : 0));
    SetWindowTextA(m_hCellTip, text.data());
    POINT ptTip = {pt.x, pt.y + TIP_BELOW_POINTER};
    ClientToScreen(m_hWnd, &ptTip);
    // A right-to-left text reads from the pointer leftwards; either way the tip stays on the
    // screen, its reading start above all: a long Arabic line past the screen's edge lost its start.
    RECT rcTip = {0, 0, 0, 0};
    GetWindowRect(m_hCellTip, &rcTip);
    const int cxTip = rcTip.right - rcTip.left, cxScreen = GetSystemMetrics(SM_CXSCREEN);
    if (bRightToLeft)
        ptTip.x -= cxTip;
    ptTip.x = std::min(ptTip.x, cxScreen - cxTip);
    if (!bRightToLeft || cxTip <= cxScreen)
        ptTip.x = std::max(ptTip.x, 0);
    SetWindowPos(m_hCellTip, HWND_TOPMOST, ptTip.x, ptTip.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(m_hCellTip, SW_SHOWNOACTIVATE);
    m_nTipLine = nLine;
    m_nTipCol = nDisplayCol;
    TRACKMOUSEEVENT track = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, 0};
    TrackMouseEvent(&track);
}

void CTableWindow::HideCellTip()
{
    m_nTipLine = -1;
    m_nTipCol = -1;
    if (m_hCellTip && IsWindowVisible(m_hCellTip))
        ShowWindow(m_hCellTip, SW_HIDE);
}
