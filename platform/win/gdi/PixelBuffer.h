#pragma once
// The pixels of a bitmap or of a window's backing image: 32-bit 0xFFRRGGBB, rows top down.
// A monochrome buffer holds only black (0xFF000000) and white (0xFFFFFFFF).
#include <cstdint>
#include <vector>
#include "platform/win/WinTypes.h"

#define TB_PIXEL_BLACK 0xFF000000u
#define TB_PIXEL_WHITE 0xFFFFFFFFu

inline uint32_t TbColorToPixel(COLORREF cr)
{
    return 0xFF000000u | ((cr & 0xFFu) << 16) | (cr & 0xFF00u) | ((cr >> 16) & 0xFFu);
}
inline COLORREF TbPixelToColor(uint32_t px)
{
    return ((px >> 16) & 0xFFu) | (px & 0xFF00u) | ((px & 0xFFu) << 16);
}
// The nearer of black and white, as a monochrome surface shows a colour.
inline uint32_t TbPixelToMono(uint32_t px)
{
    int nSum = static_cast<int>(((px >> 16) & 0xFF) + ((px >> 8) & 0xFF) + (px & 0xFF));
    return nSum >= 383 ? TB_PIXEL_WHITE : TB_PIXEL_BLACK;
}

class CTbPixelBuffer
{
public:
    // Sizes are clamped to 0..32767; an empty buffer has no pixels.
    void Create(int cx, int cy, BOOL bMono, uint32_t pxFill);
    // Keeps the pixels that still fit at the top-left; the new area gets pxFill.
    void Resize(int cx, int cy, uint32_t pxFill);
    int  Width() const { return m_cx; }
    int  Height() const { return m_cy; }
    BOOL IsMono() const { return m_bMono; }
    BOOL IsEmpty() const { return m_cx == 0 || m_cy == 0; }
    uint32_t* Row(int y) { return m_pixels.data() + static_cast<size_t>(y) * m_cx; }
    const uint32_t* Row(int y) const { return m_pixels.data() + static_cast<size_t>(y) * m_cx; }
    uint32_t* Bits() { return m_pixels.data(); }
    const uint32_t* Bits() const { return m_pixels.data(); }
    BOOL Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_cx && y < m_cy; }
    // Moves the block src (clipped to the buffer) by dx, dy, clipped to rcClip; overlaps are safe.
    void Move(const RECT& rcSrc, int dx, int dy, const RECT& rcClip);

private:
    std::vector<uint32_t> m_pixels;
    int  m_cx = 0;
    int  m_cy = 0;
    BOOL m_bMono = FALSE;
};
