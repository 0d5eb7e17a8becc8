#pragma once
// One GDI font owned by the framework's windows, with conversions between whole points and
// logical heights (72 points to the inch, the inch from the device's LOGPIXELSY). The handle is
// deleted when it is replaced, deleted or the object dies, unless Detach gave it away.
#include "framework/base/TBString.h"
#include "platform/win/Windows.h"

class CTBFont
{
public:
    CTBFont() = default;
    virtual ~CTBFont() { DeleteObject(); }
    CTBFont(const CTBFont&) = delete;
    CTBFont& operator=(const CTBFont&) = delete;

    HFONT GetSafeHandle() const { return m_hFont; }
    // TRUE when a handle was made; the old font is deleted first either way.
    BOOL CreateFontIndirect(const LOGFONTA& lf);
    // The byte count copied (sizeof(LOGFONTA)), 0 without a font.
    int  GetLogFont(LOGFONTA* pLogFont) const;
    void DeleteObject();
    HFONT Detach();
    // Takes over a handle (null = none); the one held is deleted first unless it is the same.
    void Attach(HFONT hFont);

    // Copies re-create the font from the other's description; a font already held is left
    // alone, and a source without a font leaves none.
    void Copy(const CTBFont& other) { CreateFromHandle(other.m_hFont); }
    void CreateFromHandle(HFONT hFont);

    // Faces of 32 characters or more are cut to the 31 a LOGFONT holds. Bold gives weight 700,
    // else 400; the Arabic character set while the framework reads right to left. A null DC
    // measures on the screen.
    BOOL CreatePointFont(const CTBString& strFace, int nPoints, BOOL bBold, HDC hdc);
    int  GetPointSize(HDC hdc) const { return GetPointSizeOf(m_hFont, hdc); }
    // -1 for a null font or metrics that cannot be read. The font stays selected in a given DC.
    static int GetPointSizeOf(HFONT hFont, HDC hdc);
    // The negative logical height of a point size on the DC (its state is kept).
    static int PointSizeToHeight(int nPoints, HDC hdc);

private:
    HFONT m_hFont = nullptr;
};
