#include "platform/win/gdi/Region.h"
#include <algorithm>
#include "platform/win/gdi/GdiDefs.h"

RECT TbIntersect(const RECT& a, const RECT& b)
{
    RECT rc = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
               std::min(a.bottom, b.bottom)};
    if (TbRectEmpty(rc))
        rc = RECT{0, 0, 0, 0};
    return rc;
}

RECT TbUnion(const RECT& a, const RECT& b)
{
    if (TbRectEmpty(a))
        return TbRectEmpty(b) ? RECT{0, 0, 0, 0} : b;
    if (TbRectEmpty(b))
        return a;
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

void CTbRegion::SetRect(const RECT& rc)
{
    m_rects.clear();
    if (!TbRectEmpty(rc))
        m_rects.push_back(rc);
}

RECT CTbRegion::GetBox() const
{
    RECT rcBox = {0, 0, 0, 0};
    for (const RECT& rc : m_rects)
        rcBox = TbUnion(rcBox, rc);
    return rcBox;
}

int CTbRegion::GetType() const
{
    return m_rects.empty() ? NULLREGION : (m_rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION);
}

void CTbRegion::Subtract(const RECT& rcCut)
{
    if (TbRectEmpty(rcCut))
        return;
    std::vector<RECT> rects;
    rects.reserve(m_rects.size() + 4);
    for (const RECT& rc : m_rects) {
        RECT rcIn = TbIntersect(rc, rcCut);
        if (TbRectEmpty(rcIn)) {
            rects.push_back(rc);
            continue;
        }
        // Up to four pieces: the bands above and below, then left and right of the cut.
        if (rc.top < rcIn.top)
            rects.push_back(RECT{rc.left, rc.top, rc.right, rcIn.top});
        if (rcIn.bottom < rc.bottom)
            rects.push_back(RECT{rc.left, rcIn.bottom, rc.right, rc.bottom});
        if (rc.left < rcIn.left)
            rects.push_back(RECT{rc.left, rcIn.top, rcIn.left, rcIn.bottom});
        if (rcIn.right < rc.right)
            rects.push_back(RECT{rcIn.right, rcIn.top, rc.right, rcIn.bottom});
    }
    m_rects.swap(rects);
}

void CTbRegion::Union(const RECT& rc)
{
    if (TbRectEmpty(rc))
        return;
    Subtract(rc);
    m_rects.push_back(rc);
    Merge();
}

void CTbRegion::Union(const CTbRegion& rgn)
{
    if (&rgn == this)
        return;
    for (const RECT& rc : rgn.m_rects)
        Union(rc);
}

void CTbRegion::Subtract(const CTbRegion& rgn)
{
    if (&rgn == this) {
        m_rects.clear();
        return;
    }
    for (const RECT& rc : rgn.m_rects)
        Subtract(rc);
    Merge();
}

void CTbRegion::Intersect(const RECT& rcClip)
{
    std::vector<RECT> rects;
    for (const RECT& rc : m_rects) {
        RECT rcIn = TbIntersect(rc, rcClip);
        if (!TbRectEmpty(rcIn))
            rects.push_back(rcIn);
    }
    m_rects.swap(rects);
}

void CTbRegion::Intersect(const CTbRegion& rgn)
{
    if (&rgn == this)
        return;
    // Both lists are disjoint, so their pairwise intersections are too.
    std::vector<RECT> rects;
    for (const RECT& a : m_rects)
        for (const RECT& b : rgn.m_rects) {
            RECT rcIn = TbIntersect(a, b);
            if (!TbRectEmpty(rcIn))
                rects.push_back(rcIn);
        }
    m_rects.swap(rects);
    Merge();
}

void CTbRegion::Xor(const CTbRegion& rgn)
{
    CTbRegion rgnBoth = *this;
    rgnBoth.Intersect(rgn);
    Union(rgn);
    Subtract(rgnBoth);
}

void CTbRegion::Offset(int dx, int dy)
{
    for (RECT& rc : m_rects) {
        rc.left += dx;
        rc.right += dx;
        rc.top += dy;
        rc.bottom += dy;
    }
}

BOOL CTbRegion::Contains(int x, int y) const
{
    for (const RECT& rc : m_rects)
        if (x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom)
            return TRUE;
    return FALSE;
}

BOOL CTbRegion::Intersects(const RECT& rcTest) const
{
    for (const RECT& rc : m_rects)
        if (!TbRectEmpty(TbIntersect(rc, rcTest)))
            return TRUE;
    return FALSE;
}

BOOL CTbRegion::Equals(const CTbRegion& rgn) const
{
    CTbRegion a = *this, b = rgn;
    a.Subtract(rgn);
    b.Subtract(*this);
    return a.IsEmpty() && b.IsEmpty();
}

void CTbRegion::Merge()
{
    // Join neighbours that share a whole edge, so repeated invalidation of one area stays small.
    bool bMerged = true;
    while (bMerged && m_rects.size() > 1) {
        bMerged = false;
        for (size_t i = 0; i < m_rects.size() && !bMerged; ++i)
            for (size_t j = i + 1; j < m_rects.size(); ++j) {
                RECT& a = m_rects[i];
                const RECT& b = m_rects[j];
                bool bRow = a.top == b.top && a.bottom == b.bottom && (a.right == b.left || b.right == a.left);
                bool bCol = a.left == b.left && a.right == b.right && (a.bottom == b.top || b.bottom == a.top);
                if (bRow || bCol) {
                    a = TbUnion(a, b);
                    m_rects.erase(m_rects.begin() + static_cast<std::ptrdiff_t>(j));
                    bMerged = true;
                    break;
                }
            }
    }
}
