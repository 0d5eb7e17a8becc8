#include "framework/base/TB3DFrame.h"

#include <algorithm>

#include "framework/base/DrawUtils.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/SysMetrics.h"

void CTB3DFrame::DeleteObjects()
{
    for (HPEN* pPen : {&m_hLight, &m_hShadow, &m_hDark, &m_hFace}) {
        if (*pPen != nullptr)
            DeleteObject(*pPen);
        *pPen = nullptr;
    }
    if (m_hFaceBrush != nullptr)
        DeleteObject(m_hFaceBrush);
    m_hFaceBrush = nullptr;
}

void CTB3DFrame::Create3D(int nWidth)
{
    DeleteObjects();
    m_hLight = CreatePen(PS_SOLID, nWidth, GetSysColor(COLOR_BTNHIGHLIGHT));
    m_hShadow = CreatePen(PS_SOLID, nWidth, GetSysColor(COLOR_BTNSHADOW));
    m_hDark = CreatePen(PS_SOLID, nWidth, GetSysColor(COLOR_3DDKSHADOW));
    m_hFace = CreatePen(PS_SOLID, nWidth, GetSysColor(COLOR_BTNFACE));
    m_hFaceBrush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    m_nFlags = static_cast<WORD>((m_nFlags & FLAT) | MODE_3D);
}

void CTB3DFrame::CreateMono(int nWidth)
{
    DeleteObjects();
    m_hDark = CreatePen(PS_SOLID, nWidth, RGB(0, 0, 0));
    m_hFaceBrush = CreateSolidBrush(RGB(255, 255, 255));
    m_nFlags = static_cast<WORD>((m_nFlags & FLAT) | MODE_MONO);
}

void CTB3DFrame::CreateColored(COLORREF crColor, int nWidth)
{
    // A stored colour comes back palette-relative: only its RGB part tells which colour it is.
    COLORREF crRgb = crColor & 0x00FFFFFF;
    if (crRgb == GetSysColor(COLOR_BTNFACE)) {
        Create3D(nWidth);
        return;
    }
    DeleteObjects();
    m_hLight = CreatePen(PS_SOLID, nWidth, ShadeColor(crRgb, 130));
    m_hShadow = CreatePen(PS_SOLID, nWidth, ShadeColor(crRgb, 67));
    m_hDark = CreatePen(PS_SOLID, nWidth, ShadeColor(crRgb, 0));
    m_hFace = CreatePen(PS_SOLID, nWidth, crRgb);
    m_hFaceBrush = CreateSolidBrush(crRgb);
    m_nFlags = MODE_COLORED;
}

void CTB3DFrame::SetFlat(BOOL bFlat)
{
    if (bFlat)
        m_nFlags = static_cast<WORD>(m_nFlags | FLAT);
    else
        m_nFlags = static_cast<WORD>(m_nFlags & ~FLAT);
}

void CTB3DFrame::Line(HDC hdc, HPEN hPen, int x1, int y1, int x2, int y2) const
{
    HGDIOBJ hOld = SelectObject(hdc, Pen(hPen));
    MoveToEx(hdc, x1, y1, nullptr);
    LineTo(hdc, x2, y2);
    if (hOld != nullptr)
        SelectObject(hdc, hOld);
}

void CTB3DFrame::DrawFrame(HDC hdc, const RECT& rc, BOOL bSunken) const
{
    int cx = rc.right - rc.left;
    int cy = rc.bottom - rc.top;
    if (cx <= 0 || cy <= 0)
        return;
    if (IsFlat()) {
        HGDIOBJ hOld = SelectObject(hdc, Pen(m_hDark));
        Rectangle(hdc, rc.left, rc.top, rc.right, rc.bottom);
        if (hOld != nullptr)
            SelectObject(hdc, hOld);
        return;
    }
    HPEN hOuterTopLeft = bSunken ? m_hDark : m_hLight;
    HPEN hOuterBottomRight = bSunken ? m_hShadow : m_hDark;
    HPEN hInnerBottomRight = bSunken ? m_hFace : m_hShadow;
    int l = rc.left, t = rc.top;
    int r = rc.right - 1, b = rc.bottom - 1;      // the last column and row inside
    if (cx == 1 || cy == 1) {
        Line(hdc, hOuterBottomRight, l, t, cx == 1 ? l : rc.right, cy == 1 ? t : rc.bottom);
        return;
    }
    if (cx == 2) {
        Line(hdc, hOuterTopLeft, l, t, l, rc.bottom);
        Line(hdc, hOuterBottomRight, r, t, r, rc.bottom);
        return;
    }
    if (cy == 2) {
        Line(hdc, hOuterTopLeft, l, t, rc.right, t);
        Line(hdc, hOuterBottomRight, l, b, rc.right, b);
        return;
    }
    // The right side top to bottom, then the bottom right to left, its far ends softened.
    HGDIOBJ hOld = SelectObject(hdc, Pen(hOuterBottomRight));
    MoveToEx(hdc, r, t, nullptr);
    LineTo(hdc, r, b);
    LineTo(hdc, l - 1, b);
    COLORREF crSoft = GetSysColor(COLOR_BTNSHADOW);
    SetPixel(hdc, l, b, crSoft);
    SetPixel(hdc, r, t, crSoft);
    SelectObject(hdc, Pen(hOuterTopLeft));
    MoveToEx(hdc, l, b - 1, nullptr);
    LineTo(hdc, l, t);
    LineTo(hdc, r, t);
    SelectObject(hdc, Pen(hInnerBottomRight));
    MoveToEx(hdc, r - 1, t + 1, nullptr);
    LineTo(hdc, r - 1, b - 1);
    LineTo(hdc, l, b - 1);
    if (hOld != nullptr)
        SelectObject(hdc, hOld);
    if (m_hFaceBrush != nullptr && r - 1 > l + 1 && b - 1 > t + 1) {
        RECT rcFace = {l + 1, t + 1, r - 1, b - 1};
        FillRect(hdc, &rcFace, m_hFaceBrush);
    }
}

void CTB3DFrame::DrawArrow(HDC hdc, const RECT& rc, BOOL bUp) const
{
    int cx = rc.right - rc.left;
    int cy = rc.bottom - rc.top;
    int n = std::min(cx, cy);
    if (n <= 0)
        return;
    int l = rc.left + (cx - n) / 2;
    int t = rc.top + (cy - n) / 2;
    int r = l + n - 1, b = t + n - 1;
    int xMid = l + (n - 1) / 2;
    POINT pts[3];
    if (bUp) {
        pts[0] = POINT{xMid, t};
        pts[1] = POINT{r, b};
        pts[2] = POINT{l, b};
    } else {
        pts[0] = POINT{l, t};
        pts[1] = POINT{r, t};
        pts[2] = POINT{xMid, b};
    }
    if (IsFlat()) {
        HGDIOBJ hOld = SelectObject(hdc, Pen(m_hDark));
        Polygon(hdc, pts, 3);
        if (hOld != nullptr)
            SelectObject(hdc, hOld);
        return;
    }
    // Light on the edges that face the top left, shadow on the others; the inside stays as it was.
    // Each edge leaves out its end point, which the next edge starts with.
    if (bUp) {
        Line(hdc, m_hLight, pts[0].x, pts[0].y, pts[2].x, pts[2].y);
        Line(hdc, m_hShadow, pts[2].x, pts[2].y, pts[1].x, pts[1].y);
        Line(hdc, m_hShadow, pts[1].x, pts[1].y, pts[0].x, pts[0].y);
    } else {
        Line(hdc, m_hLight, pts[0].x, pts[0].y, pts[1].x, pts[1].y);
        Line(hdc, m_hShadow, pts[1].x, pts[1].y, pts[2].x, pts[2].y);
        Line(hdc, m_hLight, pts[2].x, pts[2].y, pts[0].x, pts[0].y);
    }
}
