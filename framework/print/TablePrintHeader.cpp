// Header and footer elements, their list layout and the page fields.
#include "framework/print/TablePrintHeader.h"

#include <cstdio>
#include <cstring>

#include "framework/base/NorvGlobals.h"
#include "framework/print/TablePrint.h"

namespace {

int IndentToDevice(HDC hdc, int nIndentMm)
{
    return nIndentMm > 0 ? static_cast<int>(GetDeviceCaps(hdc, LOGPIXELSX) * nIndentMm * 0.03937) : 0;
}

class CTablePrintTextHeader : public CTablePrintHeader
{
public:
    CTablePrintTextHeader(const char* pszText, const LOGFONTA& lf, COLORREF crText, COLORREF crBack)
        : m_strText(pszText), m_logFont(lf), m_crBack(crBack), m_crText(crText) {}

    void Prepare(HDC hdc) override
    {
        LOGFONTA lf = m_logFont;
        lf.lfHeight = CTBFont::PointSizeToHeight(m_logFont.lfHeight, hdc);
        m_font.CreateFontIndirect(lf);
    }
    void Release(HDC) override { m_font.DeleteObject(); }
    void Measure(HDC hdc, RECT* prc) override
    {
        HGDIOBJ hOld = m_font.GetSafeHandle() ? SelectObject(hdc, m_font.GetSafeHandle()) : nullptr;
        RECT rc = {0, 0, prc->right - prc->left, 0};
        DrawTextA(hdc, m_strText, -1, &rc, TextFlags() | DT_CALCRECT);
        if (hOld)
            SelectObject(hdc, hOld);
        *prc = RECT{0, 0, rc.right - rc.left, rc.bottom - rc.top};
    }
    void Draw(HDC hdc, const RECT& rc, const CPrintPage&, CTablePrint* pPrint) override
    {
        int nMode = pPrint ? pPrint->GetSettings().m_nColorMode : PRINT_COLOR;
        HBRUSH hBrush = CreateSolidBrush(PrintBackColor(nMode, m_crBack));
        FillRect(hdc, &rc, hBrush);
        DeleteObject(hBrush);
        COLORREF crOld = SetTextColor(hdc, PrintTextColor(nMode, m_crText));
        int nOldMode = SetBkMode(hdc, TRANSPARENT);
        HGDIOBJ hOld = m_font.GetSafeHandle() ? SelectObject(hdc, m_font.GetSafeHandle()) : nullptr;
        CTBString strText = pPrint ? pPrint->GetFields().Substitute(m_strText) : m_strText;
        RECT rcText = rc;
        DrawTextA(hdc, strText, -1, &rcText, TextFlags());
        if (hOld)
            SelectObject(hdc, hOld);
        SetBkMode(hdc, nOldMode);
        SetTextColor(hdc, crOld);
    }

private:
    CTBString m_strText;
    LOGFONTA m_logFont;                 // lfHeight holds a point size
    COLORREF m_crBack;
    COLORREF m_crText;
    CTBFont m_font;                     // made for the run's DC
};

class CTablePrintBitmapHeader : public CTablePrintHeader
{
public:
    CTablePrintBitmapHeader(HBITMAP hBitmap, int nResX, int nResY)
        : m_hBitmap(hBitmap), m_nResX(nResX > 0 ? nResX : 300), m_nResY(nResY > 0 ? nResY : 300) {}

    void Measure(HDC hdc, RECT* prc) override
    {
        BITMAP bm = {};
        if (!m_hBitmap || !GetObjectA(m_hBitmap, sizeof(bm), &bm)) {
            *prc = RECT{0, 0, 0, 0};
            return;
        }
        *prc = RECT{0, 0, static_cast<LONG>(bm.bmWidth * GetDeviceCaps(hdc, LOGPIXELSX) / m_nResX),
                    static_cast<LONG>(bm.bmHeight * GetDeviceCaps(hdc, LOGPIXELSY) / m_nResY)};
    }
    void Draw(HDC hdc, const RECT& rc, const CPrintPage&, CTablePrint*) override
    {
        BITMAP bm = {};
        if (!m_hBitmap || !GetObjectA(m_hBitmap, sizeof(bm), &bm))
            return;
        HDC hdcMem = CreateCompatibleDC(hdc);
        if (!hdcMem)
            return;
        HGDIOBJ hOld = SelectObject(hdcMem, m_hBitmap);
        StretchBlt(hdc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, hdcMem, 0, 0, bm.bmWidth,
                   bm.bmHeight, SRCCOPY);
        SelectObject(hdcMem, hOld);
        DeleteDC(hdcMem);
    }

private:
    HBITMAP m_hBitmap;                  // not owned
    int m_nResX;
    int m_nResY;
};

class CTablePrintSeparatorHeader : public CTablePrintHeader
{
public:
    CTablePrintSeparatorHeader(int nPoints, COLORREF crColor) : m_nPoints(nPoints), m_crColor(crColor) {}

    void Prepare(HDC hdc) override
    {
        CTBFont font;
        m_nHeight = 0;
        if (!font.CreatePointFont("Arial", m_nPoints, FALSE, hdc))
            return;
        LOGFONTA lf;
        font.GetLogFont(&lf);
        lf.lfHeight = CTBFont::PointSizeToHeight(m_nPoints, hdc);
        font.CreateFontIndirect(lf);
        HGDIOBJ hOld = SelectObject(hdc, font.GetSafeHandle());
        SIZE size = {0, 0};
        GetTextExtentPoint32A(hdc, "MWXYygq", 7, &size);
        SelectObject(hdc, hOld);
        m_nHeight = size.cy;
    }
    void Measure(HDC, RECT* prc) override { *prc = RECT{0, 0, prc->right - prc->left, m_nHeight}; }
    void Draw(HDC hdc, const RECT& rc, const CPrintPage&, CTablePrint* pPrint) override
    {
        HBRUSH hBrush = CreateSolidBrush(PrintBackColor(pPrint ? pPrint->GetSettings().m_nColorMode : 0, m_crColor));
        FillRect(hdc, &rc, hBrush);
        DeleteObject(hBrush);
    }

private:
    int m_nPoints;
    COLORREF m_crColor;
    int m_nHeight = 0;
};

class CTablePrintLineHeader : public CTablePrintHeader
{
public:
    CTablePrintLineHeader(int nThickness, COLORREF crColor) : m_nThickness(nThickness), m_crColor(crColor) {}

    void Measure(HDC hdc, RECT* prc) override
    {
        *prc = RECT{0, 0, prc->right - prc->left, ScreenToPrinterY(hdc, m_nThickness)};
    }
    void Draw(HDC hdc, const RECT& rc, const CPrintPage&, CTablePrint* pPrint) override
    {
        HBRUSH hBrush = CreateSolidBrush(PrintTextColor(pPrint ? pPrint->GetSettings().m_nColorMode : 0, m_crColor));
        FillRect(hdc, &rc, hBrush);
        DeleteObject(hBrush);
    }

private:
    int m_nThickness;                   // screen pixels
    COLORREF m_crColor;
};

CTablePrintHeader* Append(CTablePrintHeaderList& list, CTablePrintHeader* pHeader)
{
    list.Add(pHeader);
    return pHeader;
}

} // namespace

// ---- Page fields --------------------------------------------------------------------------

const char* const CTablePrintFields::s_names[FIELD_COUNT] = {"PAGE", "LASTPAGE", "COLUMNS", "ROWS", "GROUPS"};

CTablePrintFields::CTablePrintFields() = default;

void CTablePrintFields::SetValue(int nIndex, const char* pszText)
{
    if (nIndex >= 0 && nIndex < FIELD_COUNT)
        m_values[nIndex] = pszText ? pszText : "";
}

void CTablePrintFields::SetNumber(int nIndex, long nValue)
{
    char szNumber[32];
    snprintf(szNumber, sizeof(szNumber), "%ld", nValue);
    SetValue(nIndex, szNumber);
}

const char* CTablePrintFields::Lookup(const char* pszName) const
{
    for (int i = 0; i < FIELD_COUNT; ++i)
        if (pszName && strcmp(pszName, s_names[i]) == 0)
            return m_values[i];
    return nullptr;
}

CTBString CTablePrintFields::Substitute(const char* pszText) const
{
    CTBString strOut;
    if (!pszText)
        return strOut;
    const char* p = pszText;
    while (*p) {
        const char* pOpen = strchr(p, '<');
        const char* pClose = pOpen ? strchr(pOpen, '>') : nullptr;
        if (!pOpen || !pClose) {
            strOut += p;
            break;
        }
        // The last "<" before the ">" opens the name; what lies before it is plain text.
        const char* pName = pOpen;
        for (const char* q = pOpen; q < pClose; ++q)
            if (*q == '<')
                pName = q;
        strOut += CTBString(p, static_cast<int>(pName - p));
        CTBString strName(pName + 1, static_cast<int>(pClose - pName - 1));
        const char* pszValue = Lookup(strName);
        if (pszValue)
            strOut += pszValue;
        else
            strOut += CTBString(pName, static_cast<int>(pClose - pName + 1));
        p = pClose + 1;
    }
    return strOut;
}

// ---- Elements and lists -------------------------------------------------------------------

int CTablePrintHeader::GetEffectiveAlign() const
{
    if (GetNorvGlobals().m_bRightToLeft) {
        if (m_nAlign == PRINT_ALIGN_LEFT)
            return PRINT_ALIGN_RIGHT;
        if (m_nAlign == PRINT_ALIGN_RIGHT)
            return PRINT_ALIGN_LEFT;
    }
    return m_nAlign;
}

UINT CTablePrintHeader::TextFlags() const
{
    int nAlign = GetEffectiveAlign();
    UINT uAlign = nAlign == PRINT_ALIGN_LEFT ? DT_LEFT : nAlign == PRINT_ALIGN_RIGHT ? DT_RIGHT : DT_CENTER;
    return uAlign | DT_NOCLIP | DT_EXTERNALLEADING | DT_NOPREFIX | GetNorvGlobals().GetRtlReadingFlag();
}

CTablePrintHeader* CTablePrintHeader::AddText(CTablePrintHeaderList& list, const char* pszText, const LOGFONTA& lf,
                                              int nAlign, COLORREF crText, COLORREF crBack, int nIndentMm)
{
    CTablePrintHeader* p = new CTablePrintTextHeader(pszText, lf, crText, crBack);
    p->m_nAlign = nAlign;
    p->m_nIndentMm = nIndentMm;
    return Append(list, p);
}

CTablePrintHeader* CTablePrintHeader::AddBitmap(CTablePrintHeaderList& list, HBITMAP hBitmap, int nResX, int nResY,
                                                int nAlign, int nIndentMm)
{
    CTablePrintHeader* p = new CTablePrintBitmapHeader(hBitmap, nResX, nResY);
    p->m_nAlign = nAlign;
    p->m_nIndentMm = nIndentMm;
    return Append(list, p);
}

CTablePrintHeader* CTablePrintHeader::AddSeparator(CTablePrintHeaderList& list, int nPoints, int nAlign,
                                                   COLORREF crColor, int nIndentMm)
{
    CTablePrintHeader* p = new CTablePrintSeparatorHeader(nPoints, crColor);
    p->m_nAlign = nAlign;
    p->m_nIndentMm = nIndentMm;
    return Append(list, p);
}

CTablePrintHeader* CTablePrintHeader::AddLine(CTablePrintHeaderList& list, int nThickness, COLORREF crColor,
                                              int nAlign, int nIndentMm)
{
    CTablePrintHeader* p = new CTablePrintLineHeader(nThickness, crColor);
    p->m_nAlign = nAlign;
    p->m_nIndentMm = nIndentMm;
    return Append(list, p);
}

void CTablePrintHeader::PrepareList(CTablePrintHeaderList& list, HDC hdc)
{
    for (CTablePrintHeader* p : list)
        p->Prepare(hdc);
}

void CTablePrintHeader::ReleaseList(CTablePrintHeaderList& list, HDC hdc)
{
    for (CTablePrintHeader* p : list)
        p->Release(hdc);
}

int CTablePrintHeader::MeasureList(CTablePrintHeaderList& list, HDC hdc)
{
    enum { LEFT, CENTER, RIGHT };
    int nBottom[3] = {0, 0, 0};
    int nBefore[3] = {0, 0, 0};         // a column's bottom before its last element was placed
    int nWidth[3] = {0, 0, 0};
    int nTotal = 0;
    for (CTablePrintHeader* p : list) {
        p->m_nIndent = IndentToDevice(hdc, p->m_nIndentMm);
        int nAlign = p->GetEffectiveAlign();
        int nColumn = nAlign == PRINT_ALIGN_LEFT ? LEFT : nAlign == PRINT_ALIGN_RIGHT ? RIGHT : CENTER;
        int nTop;
        RECT rc = {0, 0, 0, 0};
        if (nAlign == PRINT_ALIGN_FULL) {
            nTop = nTotal;
        } else {
            // An indented side element stands beside the one placed before it.
            BOOL bBeside = nColumn != CENTER && p->m_nIndentMm >= 1;
            nTop = bBeside ? nBefore[nColumn] : nBottom[nColumn];
            rc.right = nWidth[nColumn];
        }
        p->Measure(hdc, &rc);
        p->m_rcPlaced = RECT{0, nTop, rc.right - rc.left, nTop + rc.bottom - rc.top};
        int nPlacedBottom = p->m_rcPlaced.bottom;
        if (nAlign == PRINT_ALIGN_FULL) {
            for (int i = 0; i < 3; ++i) {
                nBefore[i] = nBottom[i];
                nBottom[i] = nPlacedBottom;
            }
        } else {
            int nElementWidth = p->m_rcPlaced.right + (nColumn == CENTER ? 0 : p->m_nIndent);
            if (nElementWidth > nWidth[nColumn])
                nWidth[nColumn] = nElementWidth;
            nBefore[nColumn] = nBottom[nColumn];
            if (nColumn == CENTER || nPlacedBottom > nBottom[nColumn])
                nBottom[nColumn] = nPlacedBottom;
        }
        nTotal = nBottom[0] > nBottom[1] ? nBottom[0] : nBottom[1];
        if (nBottom[2] > nTotal)
            nTotal = nBottom[2];
    }
    return nTotal;
}

void CTablePrintHeader::DrawList(CTablePrintHeaderList& list, HDC hdc, const RECT& rcArea, const CPrintPage& page,
                                 CTablePrint* pPrint)
{
    for (CTablePrintHeader* p : list) {
        int nWidth = p->m_rcPlaced.right - p->m_rcPlaced.left;
        RECT rc;
        rc.top = rcArea.top + p->m_rcPlaced.top;
        rc.bottom = rcArea.top + p->m_rcPlaced.bottom;
        switch (p->GetEffectiveAlign()) {
        case PRINT_ALIGN_LEFT:
            rc.left = rcArea.left + p->m_nIndent;
            rc.right = rc.left + nWidth;
            break;
        case PRINT_ALIGN_RIGHT:
            rc.right = rcArea.right - p->m_nIndent;
            rc.left = rc.right - nWidth;
            break;
        case PRINT_ALIGN_FULL:
            rc.left = rcArea.left;
            rc.right = rcArea.right;
            break;
        default:
            rc.left = rcArea.left + (rcArea.right - rcArea.left - nWidth) / 2 + p->m_nIndent;
            rc.right = rc.left + nWidth;
            break;
        }
        p->Draw(hdc, rc, page, pPrint);
    }
}
