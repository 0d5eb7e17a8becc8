#include "platform/mfc/Rect.h"

#include <algorithm>
#include <utility>

void CRect::NormalizeRect()
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
}

BOOL CRect::IntersectRect(const RECT& rc1, const RECT& rc2)
{
    CRect rc(std::max(rc1.left, rc2.left), std::max(rc1.top, rc2.top), std::min(rc1.right, rc2.right),
             std::min(rc1.bottom, rc2.bottom));
    if (rc.IsRectEmpty()) {
        SetRectEmpty();
        return FALSE;
    }
    *this = rc;
    return TRUE;
}

BOOL CRect::UnionRect(const RECT& rc1, const RECT& rc2)
{
    const CRect r1(rc1), r2(rc2);
    if (r1.IsRectEmpty())
        *this = r2;
    else if (r2.IsRectEmpty())
        *this = r1;
    else
        SetRect(std::min(r1.left, r2.left), std::min(r1.top, r2.top), std::max(r1.right, r2.right),
                std::max(r1.bottom, r2.bottom));
    return !IsRectEmpty();
}

bool CRect::operator==(const RECT& rc) const
{
    return left == rc.left && top == rc.top && right == rc.right && bottom == rc.bottom;
}
