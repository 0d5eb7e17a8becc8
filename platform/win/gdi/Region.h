#pragma once
// A region as a list of non-overlapping rectangles: update regions, clip regions and HRGN objects.
#include <vector>
#include "platform/win/WinTypes.h"

class CTbRegion
{
public:
    CTbRegion() = default;
    explicit CTbRegion(const RECT& rc) { SetRect(rc); }
    void SetEmpty() { m_rects.clear(); }
    void SetRect(const RECT& rc);
    BOOL IsEmpty() const { return m_rects.empty(); }
    const std::vector<RECT>& Rects() const { return m_rects; }
    RECT GetBox() const;
    int  GetType() const;               // NULLREGION, SIMPLEREGION or COMPLEXREGION
    void Union(const RECT& rc);
    void Union(const CTbRegion& rgn);
    void Subtract(const RECT& rc);
    void Subtract(const CTbRegion& rgn);
    void Intersect(const RECT& rc);
    void Intersect(const CTbRegion& rgn);
    void Xor(const CTbRegion& rgn);
    void Offset(int dx, int dy);
    BOOL Contains(int x, int y) const;
    BOOL Intersects(const RECT& rc) const;
    BOOL Equals(const CTbRegion& rgn) const;

private:
    void Merge();
    std::vector<RECT> m_rects;
};

inline BOOL TbRectEmpty(const RECT& rc) { return rc.left >= rc.right || rc.top >= rc.bottom; }
RECT TbIntersect(const RECT& a, const RECT& b);     // empty rectangles come back as {0,0,0,0}
RECT TbUnion(const RECT& a, const RECT& b);         // an empty side is ignored
