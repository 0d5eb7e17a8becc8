#pragma once
// The class library's point, size and rectangle: the Win32 records with constructors and the
// arithmetic the window code uses. They convert to the records' pointers, so every Win32 call
// takes them as they are.
#include "platform/win/WinTypes.h"

class CPoint : public POINT
{
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int x0, int y0) : POINT{x0, y0} {}
    CPoint(POINT pt) : POINT(pt) {}                                 // NOLINT: a record is a point
    explicit CPoint(LPARAM lParam) : POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)} {}
    void Offset(int dx, int dy) { x += dx; y += dy; }
    bool operator==(POINT pt) const { return x == pt.x && y == pt.y; }
    bool operator!=(POINT pt) const { return !(*this == pt); }
    CPoint operator+(POINT pt) const { return CPoint(x + pt.x, y + pt.y); }
    CPoint operator-(POINT pt) const { return CPoint(x - pt.x, y - pt.y); }
    operator LPPOINT() { return this; }
};

class CSize : public SIZE
{
public:
    CSize() : SIZE{0, 0} {}
    CSize(int cx0, int cy0) : SIZE{cx0, cy0} {}
    CSize(SIZE size) : SIZE(size) {}                                // NOLINT
    bool operator==(SIZE size) const { return cx == size.cx && cy == size.cy; }
    bool operator!=(SIZE size) const { return !(*this == size); }
};

class CRect : public RECT
{
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& rc) : RECT(rc) {}                             // NOLINT
    CRect(POINT pt, SIZE size) : RECT{pt.x, pt.y, pt.x + size.cx, pt.y + size.cy} {}

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
    BOOL IsRectEmpty() const { return right <= left || bottom <= top; }
    BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    BOOL PtInRect(POINT pt) const { return pt.x >= left && pt.x < right && pt.y >= top && pt.y < bottom; }
    void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
    void InflateRect(int dx, int dy) { left -= dx; right += dx; top -= dy; bottom += dy; }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    void NormalizeRect();
    BOOL IntersectRect(const RECT& rc1, const RECT& rc2);   // FALSE and empty when they do not meet
    BOOL UnionRect(const RECT& rc1, const RECT& rc2);
    bool operator==(const RECT& rc) const;
    bool operator!=(const RECT& rc) const { return !(*this == rc); }
    // Two CRects compare without C++20's reversed candidate competing over the base conversion.
    bool operator==(const CRect& rc) const { return *this == static_cast<const RECT&>(rc); }
    bool operator!=(const CRect& rc) const { return !(*this == rc); }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
};
