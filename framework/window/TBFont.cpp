#include "framework/window/TBFont.h"

#include <cstring>

#include "framework/base/NorvGlobals.h"

BOOL CTBFont::CreateFontIndirect(const LOGFONTA& lf)
{
    DeleteObject();
    m_hFont = CreateFontIndirectA(&lf);
    return m_hFont != nullptr;
}

int CTBFont::GetLogFont(LOGFONTA* pLogFont) const
{
    if (!m_hFont || !pLogFont)
        return 0;
    return GetObjectA(m_hFont, sizeof(LOGFONTA), pLogFont);
}

void CTBFont::DeleteObject()
{
    if (m_hFont)
        ::DeleteObject(m_hFont);
    m_hFont = nullptr;
}

HFONT CTBFont::Detach()
{
    HFONT hFont = m_hFont;
    m_hFont = nullptr;
    return hFont;
}

void CTBFont::Attach(HFONT hFont)
{
    if (hFont == m_hFont)
        return;
    DeleteObject();
    m_hFont = hFont;
}

void CTBFont::CreateFromHandle(HFONT hFont)
{
    if (hFont == m_hFont)
        return;
    DeleteObject();
    LOGFONTA lf;
    if (hFont && GetObjectA(hFont, sizeof(lf), &lf) == sizeof(lf))
        m_hFont = CreateFontIndirectA(&lf);
}

BOOL CTBFont::CreatePointFont(const CTBString& strFace, int nPoints, BOOL bBold, HDC hdc)
{
    LOGFONTA lf = {};
    lf.lfHeight = PointSizeToHeight(nPoints, hdc);
    lf.lfWeight = bBold == 1 ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = GetNorvGlobals().m_bRightToLeft ? ARABIC_CHARSET : DEFAULT_CHARSET;
    // A longer face would leave the name without its terminator.
    snprintf(lf.lfFaceName, sizeof(lf.lfFaceName), "%s", static_cast<const char*>(strFace));
    return CreateFontIndirect(lf);
}

int CTBFont::GetPointSizeOf(HFONT hFont, HDC hdc)
{
    if (!hFont)
        return -1;
    HDC hdcUse = hdc ? hdc : CreateCompatibleDC(nullptr);
    if (!hdcUse)
        return -1;
    HGDIOBJ hOld = SelectObject(hdcUse, hFont);
    TEXTMETRICA tm;
    int nPoints = -1;
    int nDpi = GetDeviceCaps(hdcUse, LOGPIXELSY);
    if (GetTextMetricsA(hdcUse, &tm) && nDpi > 0)
        nPoints = MulDiv(tm.tmHeight - tm.tmInternalLeading, 72, nDpi);
    if (!hdc) {
        SelectObject(hdcUse, hOld);
        DeleteDC(hdcUse);
    }
    return nPoints;
}

int CTBFont::PointSizeToHeight(int nPoints, HDC hdc)
{
    HDC hdcUse = hdc ? hdc : CreateCompatibleDC(nullptr);
    if (!hdcUse)
        return 0;
    int nSaved = SaveDC(hdcUse);
    // The identity world transform and both origins at 0: DPtoLP applies the mapping mode alone.
    SetGraphicsMode(hdcUse, GM_ADVANCED);
    ModifyWorldTransform(hdcUse, nullptr, MWT_IDENTITY);
    SetViewportOrgEx(hdcUse, 0, 0, nullptr);
    SetWindowOrgEx(hdcUse, 0, 0, nullptr);
    POINT pt = {0, static_cast<int>(nPoints * GetDeviceCaps(hdcUse, LOGPIXELSY) / 72.0)};
    DPtoLP(hdcUse, &pt, 1);
    RestoreDC(hdcUse, nSaved);
    if (!hdc)
        DeleteDC(hdcUse);
    return -pt.y;
}
