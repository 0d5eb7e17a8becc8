#include "platform/win/gdi/PixelBuffer.h"
#include <algorithm>
#include <cstring>

static int ClampSize(int n)
{
    return std::clamp(n, 0, 32767);
}

void CTbPixelBuffer::Create(int cx, int cy, BOOL bMono, uint32_t pxFill)
{
    m_cx = ClampSize(cx);
    m_cy = ClampSize(cy);
    if (m_cx == 0 || m_cy == 0)
        m_cx = m_cy = 0;
    m_bMono = bMono;
    m_pixels.assign(static_cast<size_t>(m_cx) * m_cy, bMono ? TbPixelToMono(pxFill) : pxFill);
}

void CTbPixelBuffer::Resize(int cx, int cy, uint32_t pxFill)
{
    cx = ClampSize(cx);
    cy = ClampSize(cy);
    if (cx == 0 || cy == 0)
        cx = cy = 0;
    if (cx == m_cx && cy == m_cy)
        return;
    std::vector<uint32_t> pixels(static_cast<size_t>(cx) * cy, m_bMono ? TbPixelToMono(pxFill) : pxFill);
    int nKeepX = std::min(cx, m_cx), nKeepY = std::min(cy, m_cy);
    for (int y = 0; y < nKeepY; ++y)
        std::memcpy(pixels.data() + static_cast<size_t>(y) * cx, Row(y), sizeof(uint32_t) * nKeepX);
    m_pixels.swap(pixels);
    m_cx = cx;
    m_cy = cy;
}

void CTbPixelBuffer::Move(const RECT& rcSrc, int dx, int dy, const RECT& rcClip)
{
    // Destination = (source moved) within the clip and the buffer; read from where it came.
    LONG l = std::max<LONG>({rcSrc.left + dx, rcClip.left, 0, dx});
    LONG t = std::max<LONG>({rcSrc.top + dy, rcClip.top, 0, dy});
    LONG r = std::min<LONG>({rcSrc.right + dx, rcClip.right, m_cx, m_cx + dx});
    LONG b = std::min<LONG>({rcSrc.bottom + dy, rcClip.bottom, m_cy, m_cy + dy});
    if (l >= r || t >= b)
        return;
    size_t nBytes = sizeof(uint32_t) * static_cast<size_t>(r - l);
    if (dy > 0) {
        for (LONG y = b - 1; y >= t; --y)
            std::memmove(Row(y) + l, Row(y - dy) + (l - dx), nBytes);
    } else {
        for (LONG y = t; y < b; ++y)
            std::memmove(Row(y) + l, Row(y - dy) + (l - dx), nBytes);
    }
}
