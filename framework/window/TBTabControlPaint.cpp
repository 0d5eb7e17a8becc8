// The tab control's painting: tabs with 3-D edges, the current one raised over the base line,
// a jagged edge where a tab is cut off, the arrows and the focus frame.
#include <algorithm>

#include "framework/base/NorvGlobals.h"
#include "framework/window/TBTabControl.h"
#include "platform/win/Windows.h"

namespace {
void Line(HDC hdc, HPEN hPen, int x1, int y1, int x2, int y2)
{
    HGDIOBJ hOld = SelectObject(hdc, hPen);
    MoveToEx(hdc, x1, y1, nullptr);
    LineTo(hdc, x2, y2);
    SelectObject(hdc, hOld);
}
}  // namespace

BOOL CTBTabControl::OnEraseBkgnd(HDC)
{
    return TRUE;    // OnPaint fills the background with the parent's brush
}

HBRUSH CTBTabControl::GetBackgroundBrush(HDC hdc)
{
    HWND hParent = GetParent(m_hWnd);
    HBRUSH hBrush = hParent ? reinterpret_cast<HBRUSH>(SendMessageA(hParent, WM_CTLCOLORSTATIC,
                                                                     reinterpret_cast<WPARAM>(hdc),
                                                                     reinterpret_cast<LPARAM>(m_hWnd)))
                            : nullptr;
    return hBrush ? hBrush : GetSysColorBrush(COLOR_WINDOW);
}

void CTBTabControl::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(m_hWnd, &ps);
    RECT rcClient;
    GetClientRect(m_hWnd, &rcClient);
    FillRect(hdc, &rcClient, GetBackgroundBrush(hdc));
    SetBkMode(hdc, TRANSPARENT);
    for (int i = 0; i < m_items.GetSize(); ++i)
        if (i != m_nCurrent && !IsRectEmpty(&m_items[i]->rc))
            DrawItem(hdc, i, FALSE);
    if (m_nCurrent < m_items.GetSize() && !IsRectEmpty(&m_items[m_nCurrent]->rc))
        DrawItem(hdc, m_nCurrent, TRUE);
    DrawBaseLine(hdc, rcClient.right);
    if (AreArrowsShown())
        DrawArrows(hdc);
    if (GetFocus() == m_hWnd && m_nCurrent < m_items.GetSize()) {
        RECT rc = m_items[m_nCurrent]->rc;
        InflateRect(&rc, -1, -1);
        DrawFocusRect(hdc, &rc);
    }
    for (int i = 0; i < m_items.GetSize(); ++i)
        m_items[i]->rcPrev = m_items[i]->rc;
    EndPaint(m_hWnd, &ps);
}

void CTBTabControl::DrawItem(HDC hdc, int nIndex, BOOL bCurrent)
{
    const CTB3DFrame& frame = GetNorvGlobals().m_frame;
    CTabItem* pItem = m_items[nIndex];
    RECT rc = pItem->rc;
    if (bCurrent)
        InflateRect(&rc, 2, 2);
    // Cut by the usable width: only the tab's own width tells, the rectangle was clipped.
    BOOL bClipped = rc.right - rc.left < pItem->nWidth + (bCurrent ? 4 : 0);

    // Right to left the tab is cut at its left side, the side away from the first tab.
    const BOOL bRtl = IsRightToLeft();
    const BOOL bTornLeft = bClipped && bRtl;
    if (!bTornLeft) {
        Line(hdc, frame.GetLightPen(), rc.left, rc.bottom, rc.left, rc.top + 2);
        Line(hdc, frame.GetLightPen(), rc.left, rc.top + 2, rc.left + 2, rc.top);
    }
    Line(hdc, frame.GetLightPen(), rc.left + 2, rc.top, rc.right - 1, rc.top);
    if (!bClipped || bRtl) {
        Line(hdc, frame.GetShadowPen(), rc.right - 1, rc.top + 1, rc.right - 1, rc.bottom);
        Line(hdc, frame.GetDarkPen(), rc.right, rc.top + 2, rc.right, rc.bottom);
    }
    if (bClipped) {
        // A torn edge says there is more of the tab than is shown.
        static const int s_nOffsets[4] = {0, 1, 0, -1};
        for (int y = rc.top, n = 0; y < rc.bottom; y += 3, ++n) {
            int x = (bRtl ? rc.left : rc.right - 1) + s_nOffsets[n % 4];
            Line(hdc, frame.GetShadowPen(), x, y, x, std::min<LONG>(y + 3, rc.bottom));
        }
    }

    int nSaved = SaveDC(hdc);
    IntersectClipRect(hdc, rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom);
    HFONT hFont = bCurrent ? m_hFontCurrent : m_hFontOther;
    if (hFont)
        SelectObject(hdc, hFont);
    SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
    // Centred within the width the text needs, so that a cut tab shows the start of its text:
    // its right end when it reads right to left.
    const int cxText = pItem->nWidth + (bCurrent ? 4 : 0);
    RECT rcText = bRtl ? RECT{rc.right - cxText, rc.top, rc.right, rc.bottom} : RECT{rc.left, rc.top, rc.left + cxText, rc.bottom};
    DrawTextA(hdc, pItem->strText, pItem->strText.GetLength(), &rcText,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | (bRtl ? DT_RTLREADING : 0u));
    RestoreDC(hdc, nSaved);
}

void CTBTabControl::DrawBaseLine(HDC hdc, int cxClient)
{
    HPEN hPen = GetNorvGlobals().m_frame.GetLightPen();
    CTabItem* pCurrent = m_items.GetAt(m_nCurrent);
    if (!pCurrent || IsRectEmpty(&pCurrent->rc)) {
        int y = m_nStripHeight - 2;
        Line(hdc, hPen, 0, y, cxClient, y);
        return;
    }
    // The current tab stands open to the page below it.
    RECT rc = pCurrent->rc;
    InflateRect(&rc, 2, 2);
    int y = pCurrent->rc.bottom - 1;
    Line(hdc, hPen, 0, y, rc.left, y);
    Line(hdc, hPen, rc.right + 1, y, cxClient, y);
}

void CTBTabControl::DrawArrows(HDC hdc)
{
    HBITMAP hBitmap = GetArrowBitmap();
    if (!hBitmap || IsRectEmpty(&m_rcArrows))
        return;
    int cx = m_rcArrows.right - m_rcArrows.left;
    HDC hdcMem = CreateCompatibleDC(hdc);
    HGDIOBJ hOld = SelectObject(hdcMem, hBitmap);
    BitBlt(hdc, m_rcArrows.left, m_rcArrows.top, cx, m_rcArrows.bottom - m_rcArrows.top, hdcMem,
           GetArrowImage() * cx, 0, SRCCOPY);
    SelectObject(hdcMem, hOld);
    DeleteDC(hdcMem);
}
