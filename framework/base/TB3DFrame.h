#pragma once
// A frame-and-arrow painter: the pens and brush that draw raised, sunken or flat edges, built from
// the system's 3-D colours, from one colour, or black on white. The grid's header and frames, the
// framework controls and the framework globals' frame sets use it. It owns its drawing objects.
#include "platform/win/WinTypes.h"

class CTB3DFrame
{
public:
    CTB3DFrame() = default;
    ~CTB3DFrame() { DeleteObjects(); }
    CTB3DFrame(const CTB3DFrame&) = delete;
    CTB3DFrame& operator=(const CTB3DFrame&) = delete;

    // Building. Each deletes the old objects first. Create3D keeps the flat bit; CreateColored
    // clears it, and with the button-face colour builds the 3-D set.
    void Create3D(int nWidth);
    void CreateMono(int nWidth);
    void CreateColored(COLORREF crColor, int nWidth);
    void DeleteObjects();
    BOOL IsCreated3D() const { return (m_nFlags & MODE_MASK) == MODE_3D; }
    BOOL IsFlat() const { return (m_nFlags & FLAT) != 0; }
    void SetFlat(BOOL bFlat);

    // Drawing. An empty rectangle draws nothing; the DC's objects are put back afterwards.
    void DrawFrame(HDC hdc, const RECT& rc, BOOL bSunken) const;
    void DrawArrow(HDC hdc, const RECT& rc, BOOL bUp) const;

    HPEN   GetLightPen() const { return m_hLight; }
    HPEN   GetShadowPen() const { return m_hShadow; }
    HPEN   GetDarkPen() const { return m_hDark; }
    HPEN   GetFacePen() const { return m_hFace; }
    HBRUSH GetFaceBrush() const { return m_hFaceBrush; }

    static const WORD MODE_3D = 1;
    static const WORD MODE_MONO = 2;
    static const WORD MODE_COLORED = 3;
    static const WORD MODE_MASK = 3;
    static const WORD FLAT = 8;

private:
    HPEN Pen(HPEN hPen) const { return hPen ? hPen : m_hDark; }   // the mono set has only the dark pen
    void Line(HDC hdc, HPEN hPen, int x1, int y1, int x2, int y2) const;

    HPEN   m_hLight = nullptr;      // highlight edge
    HPEN   m_hShadow = nullptr;     // shadow edge
    HPEN   m_hDark = nullptr;       // dark shadow edge; the outline in flat mode
    HPEN   m_hFace = nullptr;
    HBRUSH m_hFaceBrush = nullptr;  // fills the inside of a frame
    WORD   m_nFlags = 0;
};
