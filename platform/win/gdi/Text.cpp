// Text output and measurement: TextOut, ExtTextOut, DrawText and the metrics, in the code page of
// the font's character set.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/Raster.h"
#include "platform/win/gdi/TextEngine.h"
#include "platform/win/kernel/CodePage.h"

namespace {
class CFixedCellEngine : public ITbTextEngine
{
public:
    std::shared_ptr<void> CreateFace(const LOGFONTA& lf) override
    {
        auto pHeight = std::make_shared<int>(lf.lfHeight ? std::abs(static_cast<int>(lf.lfHeight)) : 13);
        return pHeight;
    }
    void GetMetrics(void* pFace, TEXTMETRICA* pTm) override
    {
        int h = *static_cast<int*>(pFace);
        *pTm = TEXTMETRICA{};
        pTm->tmHeight = h;
        pTm->tmAscent = h * 4 / 5;
        pTm->tmDescent = h - pTm->tmAscent;
        pTm->tmAveCharWidth = std::max(1, h / 2);
        pTm->tmMaxCharWidth = h;
        pTm->tmWeight = FW_NORMAL;
        pTm->tmLastChar = 255;
        pTm->tmDefaultChar = '?';
        pTm->tmBreakChar = ' ';
    }
    int MeasureWidth(void* pFace, const char* psz, int cb) override
    {
        int nChars = 0;
        for (int i = 0; i < cb; ++i)
            if ((static_cast<unsigned char>(psz[i]) & 0xC0) != 0x80)
                ++nChars;
        return nChars * std::max(1, *static_cast<int*>(pFace) / 2);
    }
    void Draw(void*, CTbPixelBuffer&, const std::vector<RECT>&, int, int, const char*, int, uint32_t, BOOL) override {}
};

std::atomic<ITbTextEngine*> s_pEngine{nullptr};

ITbTextEngine* Engine()
{
    static CFixedCellEngine* s_pFixed = new CFixedCellEngine;
    ITbTextEngine* p = s_pEngine.load();
    return p ? p : s_pFixed;
}

// The face for the DC's font at the DC's scale, made once per height.
void* FaceOf(TbDC* pDC)
{
    TbFont* pFont = pDC->st.pFont.get();
    LONG nHeight = pFont->lf.lfHeight;
    LONG nDevice = nHeight < 0 ? -pDC->ScaleY(static_cast<int>(-nHeight)) : pDC->ScaleY(static_cast<int>(nHeight));
    if (!pFont->pFace || pFont->nFaceHeight != nDevice) {
        LOGFONTA lf = pFont->lf;
        lf.lfHeight = nDevice;
        lf.lfWidth = pDC->ScaleX(static_cast<int>(lf.lfWidth));
        pFont->pFace = Engine()->CreateFace(lf);
        pFont->nFaceHeight = nDevice;
    }
    return pFont->pFace.get();
}

UINT CodePageOf(TbDC* pDC)
{
    switch (pDC->st.pFont->lf.lfCharSet) {
    case ANSI_CHARSET:   return 1252;
    case ARABIC_CHARSET: return 1256;
    }
    return CP_ACP;
}

std::string ToUtf8(TbDC* pDC, const char* psz, size_t cb)
{
    return TbCodePageToUtf8(std::string_view(psz, cb), CodePageOf(pDC));
}

int MeasureDevice(TbDC* pDC, const std::string& strUtf8)
{
    return Engine()->MeasureWidth(FaceOf(pDC), strUtf8.data(), static_cast<int>(strUtf8.size()));
}

TEXTMETRICA MetricsDevice(TbDC* pDC)
{
    TEXTMETRICA tm;
    Engine()->GetMetrics(FaceOf(pDC), &tm);
    return tm;
}

// One line at device (x, yTop): background when opaque, then the glyphs.
void DrawLine(TbDC* pDC, const std::vector<RECT>& clip, int x, int yTop, const std::string& strUtf8, int nWidth,
              int nHeight, BOOL bRtl, BOOL bOpaque)
{
    if (ITbPrintPage* pPage = pDC->PrintPage()) {
        // On paper the text stays text, in the face measured at the printer's dots.
        pPage->SetClip(&clip);
        if (bOpaque)
            pPage->FillRect(RECT{x, yTop, x + nWidth, yTop + nHeight}, pDC->st.crBk);
        pPage->Text(FaceOf(pDC), x, yTop, strUtf8.data(), static_cast<int>(strUtf8.size()), pDC->st.crText, bRtl);
        return;
    }
    CTbPixelBuffer* pTarget = pDC->Target();
    if (!pTarget)
        return;
    BOOL bMono = pTarget->IsMono();
    RECT rcCell = {x, yTop, x + nWidth, yTop + nHeight};
    if (bOpaque) {
        CTbRaster raster(*pTarget, clip, R2_COPYPEN);
        TbPaint paint;
        paint.px = TbSurfacePixel(pDC->st.crBk, bMono);
        raster.FillRect(rcCell, paint);
    }
    Engine()->Draw(FaceOf(pDC), *pTarget, clip, x, yTop, strUtf8.data(), static_cast<int>(strUtf8.size()),
                   TbSurfacePixel(pDC->st.crText, bMono), bRtl);
    // Only a window DC keeps the engine's drawing open: its image lives as long as the DC, while a
    // memory DC's bitmap may be deselected and freed at any time.
    if (pDC->nKind != TB_DC_WINDOW)
        Engine()->EndDrawing();
    pDC->Touch(rcCell);
}

std::vector<RECT> ClipTo(TbDC* pDC, const RECT& rcDevice)
{
    std::vector<RECT> clip;
    for (const RECT& rc : pDC->Clip()) {
        RECT r = TbIntersect(rc, rcDevice);
        if (!TbRectEmpty(r))
            clip.push_back(r);
    }
    return clip;
}

int ToLogicalX(TbDC* pDC, int cx)
{
    return pDC->UnscaleX(cx);
}

int ToLogicalY(TbDC* pDC, int cy)
{
    return pDC->UnscaleY(cy);
}

size_t TextLength(LPCSTR psz, int cch)
{
    if (!psz)
        return 0;
    return cch < 0 ? strlen(psz) : static_cast<size_t>(cch);
}
}

void TbSetTextEngine(ITbTextEngine* pEngine)
{
    s_pEngine.store(pEngine);
}

ITbTextEngine* TbGetTextEngine()
{
    return Engine();
}

BOOL GetTextMetricsA(HDC hdc, LPTEXTMETRICA pMetrics)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || !pMetrics)
        return FALSE;
    TEXTMETRICA tm = MetricsDevice(pDC);
    tm.tmHeight = ToLogicalY(pDC, tm.tmHeight);
    tm.tmAscent = ToLogicalY(pDC, tm.tmAscent);
    tm.tmDescent = ToLogicalY(pDC, tm.tmDescent);
    tm.tmInternalLeading = ToLogicalY(pDC, tm.tmInternalLeading);
    tm.tmExternalLeading = ToLogicalY(pDC, tm.tmExternalLeading);
    tm.tmAveCharWidth = ToLogicalX(pDC, tm.tmAveCharWidth);
    tm.tmMaxCharWidth = ToLogicalX(pDC, tm.tmMaxCharWidth);
    tm.tmCharSet = pDC->st.pFont->lf.lfCharSet;
    *pMetrics = tm;
    return TRUE;
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR pszString, int cchString, LPSIZE pSize)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || !pSize || cchString < 0 || (cchString > 0 && !pszString))
        return FALSE;
    std::string strUtf8 = ToUtf8(pDC, pszString ? pszString : "", static_cast<size_t>(cchString));
    pSize->cx = ToLogicalX(pDC, MeasureDevice(pDC, strUtf8));
    pSize->cy = ToLogicalY(pDC, MetricsDevice(pDC).tmHeight);
    return TRUE;
}

BOOL GetTextExtentPointA(HDC hdc, LPCSTR pszString, int cchString, LPSIZE pSize)
{
    return GetTextExtentPoint32A(hdc, pszString, cchString, pSize);
}

BOOL GetCharWidth32A(HDC hdc, UINT iFirstChar, UINT iLastChar, LPINT pBuffer)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || !pBuffer || iFirstChar > iLastChar || iLastChar > 255)
        return FALSE;
    for (UINT ch = iFirstChar; ch <= iLastChar; ++ch) {
        char c = static_cast<char>(ch);
        pBuffer[ch - iFirstChar] = ToLogicalX(pDC, MeasureDevice(pDC, ToUtf8(pDC, &c, 1)));
    }
    return TRUE;
}

int GetTextFaceA(HDC hdc, int cchFace, LPSTR pszFace)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC)
        return 0;
    const char* pszName = pDC->st.pFont->lf.lfFaceName;
    if (!pszFace)
        return static_cast<int>(strlen(pszName)) + 1;
    if (cchFace <= 0)
        return 0;
    snprintf(pszFace, static_cast<size_t>(cchFace), "%s", pszName);
    return static_cast<int>(strlen(pszFace));
}

BOOL ExtTextOutA(HDC hdc, int x, int y, UINT fuOptions, const RECT* pRect, LPCSTR pszString, UINT cchString, const INT*)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || (cchString > 0 && !pszString))
        return FALSE;
    CTbPixelBuffer* pTarget = pDC->Target();
    ITbPrintPage* pPage = pDC->PrintPage();
    if (!pTarget && !pPage)
        return TRUE;
    std::string strUtf8 = ToUtf8(pDC, pszString ? pszString : "", cchString);
    TEXTMETRICA tm = MetricsDevice(pDC);
    int nWidth = MeasureDevice(pDC, strUtf8);
    UINT uAlign = pDC->st.uTextAlign;
    POINT pt = (uAlign & TA_UPDATECP) ? pDC->ToDevice(pDC->st.ptCurrent.x, pDC->st.ptCurrent.y) : pDC->ToDevice(x, y);
    int xLeft = pt.x;
    switch (uAlign & TA_CENTER) {
    case TA_RIGHT:  xLeft = pt.x - nWidth; break;
    case TA_CENTER: xLeft = pt.x - nWidth / 2; break;
    }
    int yTop = pt.y;
    if ((uAlign & TA_BASELINE) == TA_BASELINE)
        yTop = pt.y - tm.tmAscent;
    else if (uAlign & TA_BOTTOM)
        yTop = pt.y - tm.tmHeight;
    std::vector<RECT> clip = pDC->Clip();
    if (pRect && (fuOptions & (ETO_OPAQUE | ETO_CLIPPED))) {
        RECT rcDevice = pDC->ToDevice(*pRect);
        if ((fuOptions & ETO_OPAQUE) && pPage) {
            pPage->FillRect(rcDevice, pDC->st.crBk);
        } else if (fuOptions & ETO_OPAQUE) {
            CTbRaster raster(*pTarget, clip, R2_COPYPEN);
            TbPaint paint;
            paint.px = TbSurfacePixel(pDC->st.crBk, pTarget->IsMono());
            raster.FillRect(rcDevice, paint);
            pDC->Touch(raster.Dirty());
        }
        if (fuOptions & ETO_CLIPPED)
            clip = ClipTo(pDC, rcDevice);
    }
    BOOL bRtl = (uAlign & TA_RTLREADING) || (fuOptions & ETO_RTLREADING);
    BOOL bOpaque = pDC->st.nBkMode == OPAQUE && !(pRect && (fuOptions & ETO_OPAQUE));
    DrawLine(pDC, clip, xLeft, yTop, strUtf8, nWidth, tm.tmHeight, bRtl, bOpaque);
    if (uAlign & TA_UPDATECP) {
        int nAdvance = ToLogicalX(pDC, nWidth);
        pDC->st.ptCurrent.x += (uAlign & TA_CENTER) == TA_RIGHT ? -nAdvance : nAdvance;
    }
    return TRUE;
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR pszString, int cchString)
{
    if (cchString < 0)
        return FALSE;
    return ExtTextOutA(hdc, x, y, 0, nullptr, pszString, static_cast<UINT>(cchString), nullptr);
}

// ---- DrawText ----

namespace {
// '&' marks a mnemonic and is not shown; "&&" shows one '&'.
std::string StripPrefixes(const std::string& str)
{
    std::string out;
    for (size_t i = 0; i < str.size(); ++i) {
        if (str[i] == '&' && i + 1 < str.size())
            ++i;
        else if (str[i] == '&')
            continue;
        out += str[i];
    }
    return out;
}

std::string ExpandTabs(const std::string& str)
{
    std::string out;
    for (char ch : str) {
        if (ch == '\t') {
            do
                out += ' ';
            while (out.size() % 8 != 0);
        } else {
            out += ch;
        }
    }
    return out;
}

// Splits into lines at line breaks and, with word breaking, where the next word would not fit.
std::vector<std::string> Lines(TbDC* pDC, const std::string& str, UINT uFormat, int nMaxWidth)
{
    std::vector<std::string> lines;
    if (uFormat & DT_SINGLELINE) {
        std::string one;
        for (char ch : str)
            if (ch != '\r' && ch != '\n')
                one += ch;
        lines.push_back(one);
        return lines;
    }
    size_t nStart = 0;
    while (nStart <= str.size()) {
        size_t nEnd = str.find_first_of("\r\n", nStart);
        std::string para = str.substr(nStart, nEnd == std::string::npos ? std::string::npos : nEnd - nStart);
        if (!(uFormat & DT_WORDBREAK) || MeasureDevice(pDC, ToUtf8(pDC, para.data(), para.size())) <= nMaxWidth) {
            lines.push_back(para);
        } else {
            std::string line;
            size_t i = 0;
            while (i < para.size()) {
                size_t nWordEnd = para.find(' ', i);
                std::string word = para.substr(i, nWordEnd == std::string::npos ? std::string::npos : nWordEnd - i + 1);
                std::string trial = line + word;
                std::string trimmed = trial;
                while (!trimmed.empty() && trimmed.back() == ' ')
                    trimmed.pop_back();
                if (!line.empty() && MeasureDevice(pDC, ToUtf8(pDC, trimmed.data(), trimmed.size())) > nMaxWidth) {
                    while (!line.empty() && line.back() == ' ')
                        line.pop_back();
                    lines.push_back(line);
                    line = word;
                } else {
                    line = trial;
                }
                i += word.size();
            }
            while (!line.empty() && line.back() == ' ')
                line.pop_back();
            lines.push_back(line);
        }
        if (nEnd == std::string::npos)
            break;
        nStart = nEnd + ((str[nEnd] == '\r' && nEnd + 1 < str.size() && str[nEnd + 1] == '\n') ? 2 : 1);
    }
    return lines;
}
}

int DrawTextA(HDC hdc, LPCSTR pszString, int cchString, LPRECT pRect, UINT uFormat)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || !pRect || (!pszString && cchString != 0))
        return 0;
    std::string str(pszString ? pszString : "", TextLength(pszString, cchString));
    if (!(uFormat & DT_NOPREFIX))
        str = StripPrefixes(str);
    if (uFormat & DT_EXPANDTABS)
        str = ExpandTabs(str);
    RECT rc = pDC->ToDevice(*pRect);
    TEXTMETRICA tm = MetricsDevice(pDC);
    int nLineHeight = tm.tmHeight + ((uFormat & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    std::vector<std::string> lines = Lines(pDC, str, uFormat, rc.right - rc.left);
    std::vector<std::string> utf8;
    std::vector<int> widths;
    int nMaxWidth = 0;
    for (std::string& line : lines) {
        std::string s = ToUtf8(pDC, line.data(), line.size());
        int w = MeasureDevice(pDC, s);
        // An end ellipsis replaces what does not fit on a single line.
        if ((uFormat & DT_END_ELLIPSIS) && w > rc.right - rc.left && !(uFormat & DT_CALCRECT)) {
            while (!line.empty()) {
                line.pop_back();
                s = ToUtf8(pDC, line.data(), line.size()) + "...";
                w = MeasureDevice(pDC, s);
                if (w <= rc.right - rc.left)
                    break;
            }
        }
        utf8.push_back(s);
        widths.push_back(w);
        nMaxWidth = std::max(nMaxWidth, w);
    }
    int nTotal = nLineHeight * static_cast<int>(lines.size());
    if (uFormat & DT_CALCRECT) {
        pRect->right = pRect->left + ToLogicalX(pDC, nMaxWidth);
        pRect->bottom = pRect->top + ToLogicalY(pDC, nTotal);
        return ToLogicalY(pDC, nTotal);
    }
    int yTop = rc.top;
    if (uFormat & DT_SINGLELINE) {
        if (uFormat & DT_VCENTER)
            yTop = rc.top + (rc.bottom - rc.top - nLineHeight) / 2;
        else if (uFormat & DT_BOTTOM)
            yTop = rc.bottom - nLineHeight;
    }
    std::vector<RECT> clip = (uFormat & DT_NOCLIP) ? pDC->Clip() : ClipTo(pDC, rc);
    BOOL bRtl = (uFormat & DT_RTLREADING) != 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        int x = rc.left;
        if (uFormat & DT_CENTER)
            x = rc.left + (rc.right - rc.left - widths[i]) / 2;
        else if (uFormat & DT_RIGHT)
            x = rc.right - widths[i];
        DrawLine(pDC, clip, x, yTop + nLineHeight * static_cast<int>(i), utf8[i], widths[i], tm.tmHeight, bRtl,
                 pDC->st.nBkMode == OPAQUE);
    }
    return ToLogicalY(pDC, (yTop - rc.top) + nTotal);
}
