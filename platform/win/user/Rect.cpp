// Rectangle and point helpers of the window manager.
#include <algorithm>
#include "platform/win/user/Window.h"

BOOL SetRect(LPRECT pRect, int xLeft, int yTop, int xRight, int yBottom)
{
    if (!pRect)
        return FALSE;
    *pRect = RECT{xLeft, yTop, xRight, yBottom};
    return TRUE;
}

BOOL SetRectEmpty(LPRECT pRect)
{
    return SetRect(pRect, 0, 0, 0, 0);
}

BOOL CopyRect(LPRECT pDst, const RECT* pSrc)
{
    if (!pDst || !pSrc)
        return FALSE;
    *pDst = *pSrc;
    return TRUE;
}

BOOL InflateRect(LPRECT pRect, int dx, int dy)
{
    if (!pRect)
        return FALSE;
    pRect->left -= dx;
    pRect->right += dx;
    pRect->top -= dy;
    pRect->bottom += dy;
    return TRUE;
}

BOOL OffsetRect(LPRECT pRect, int dx, int dy)
{
    if (!pRect)
        return FALSE;
    pRect->left += dx;
    pRect->right += dx;
    pRect->top += dy;
    pRect->bottom += dy;
    return TRUE;
}

BOOL IsRectEmpty(const RECT* pRect)
{
    return !pRect || pRect->left >= pRect->right || pRect->top >= pRect->bottom;
}

BOOL IntersectRect(LPRECT pDst, const RECT* pSrc1, const RECT* pSrc2)
{
    if (!pDst || !pSrc1 || !pSrc2)
        return FALSE;
    RECT rc = {std::max(pSrc1->left, pSrc2->left), std::max(pSrc1->top, pSrc2->top),
               std::min(pSrc1->right, pSrc2->right), std::min(pSrc1->bottom, pSrc2->bottom)};
    if (IsRectEmpty(&rc)) {
        SetRectEmpty(pDst);
        return FALSE;
    }
    *pDst = rc;
    return TRUE;
}

BOOL UnionRect(LPRECT pDst, const RECT* pSrc1, const RECT* pSrc2)
{
    if (!pDst || !pSrc1 || !pSrc2)
        return FALSE;
    if (IsRectEmpty(pSrc1)) {
        if (IsRectEmpty(pSrc2)) {
            SetRectEmpty(pDst);
            return FALSE;
        }
        *pDst = *pSrc2;
        return TRUE;
    }
    if (IsRectEmpty(pSrc2)) {
        *pDst = *pSrc1;
        return TRUE;
    }
    *pDst = RECT{std::min(pSrc1->left, pSrc2->left), std::min(pSrc1->top, pSrc2->top),
                 std::max(pSrc1->right, pSrc2->right), std::max(pSrc1->bottom, pSrc2->bottom)};
    return TRUE;
}

BOOL SubtractRect(LPRECT pDst, const RECT* pSrc1, const RECT* pSrc2)
{
    if (!pDst || !pSrc1 || !pSrc2)
        return FALSE;
    RECT rc = *pSrc1, rcCut;
    // Only a cut across a whole side shrinks the rectangle; anything else leaves it as it was.
    if (IntersectRect(&rcCut, pSrc1, pSrc2)) {
        if (rcCut.top == rc.top && rcCut.bottom == rc.bottom) {
            if (rcCut.left == rc.left) rc.left = rcCut.right;
            else if (rcCut.right == rc.right) rc.right = rcCut.left;
        } else if (rcCut.left == rc.left && rcCut.right == rc.right) {
            if (rcCut.top == rc.top) rc.top = rcCut.bottom;
            else if (rcCut.bottom == rc.bottom) rc.bottom = rcCut.top;
        }
    }
    if (IsRectEmpty(&rc)) {
        SetRectEmpty(pDst);
        return FALSE;
    }
    *pDst = rc;
    return TRUE;
}

BOOL EqualRect(const RECT* pRect1, const RECT* pRect2)
{
    return pRect1 && pRect2 && pRect1->left == pRect2->left && pRect1->top == pRect2->top &&
           pRect1->right == pRect2->right && pRect1->bottom == pRect2->bottom;
}

BOOL PtInRect(const RECT* pRect, POINT pt)
{
    return pRect && pt.x >= pRect->left && pt.x < pRect->right && pt.y >= pRect->top && pt.y < pRect->bottom;
}
