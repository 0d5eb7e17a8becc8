// The grid window's geometry: panes and divider, row and title heights, the vertical scroll
// bar and the top row, column widths, and the user's column resize and move.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>

#include "framework/base/ColumnDataType.h"
#include "framework/base/DateTime.h"
#include "framework/base/DecimalDigits.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/NumberStyle.h"
#include "framework/table/CodeFormats.h"
#include "framework/table/TableColumn.h"
#include "framework/table/TableColumns.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Cursor.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/ScrollBars.h"
#include "platform/win/user/SysMetrics.h"

namespace {

const int DIVIDER_WIDTH = 5;
const int MIN_COLUMN_WIDTH = 10;
// A text giving its room to the figures keeps this much of it.
const int YIELD_FLOOR = 80;
const UINT AUTO_SCROLL_PERIOD = 30;

int Clamp(int n, int nLow, int nHigh) { return n < nLow ? nLow : (n > nHigh ? nHigh : n); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Counts and ranges

int CTableWindow::GetRowCount() const
{
    return m_pView ? m_pView->GetRowCount() : 0;
}

int CTableWindow::GetWholeLines() const
{
    return m_scrollPane.GetWholeLines();
}

int CTableWindow::GetLinesThatFit() const
{
    return m_scrollPane.GetLinesThatFit();
}

int CTableWindow::GetLastShownRow() const
{
    return std::min(m_nTopRow + GetWholeLines(), GetRowCount() - 1);
}

int CTableWindow::GetLastFullyShownRow() const
{
    return std::min(m_nTopRow + GetWholeLines() - 1, GetRowCount() - 1);
}

int CTableWindow::GetMaxTopRow() const
{
    return std::max(0, GetRowCount() - GetWholeLines());
}

int CTableWindow::GetAppendLineOffset() const
{
    const int nOffset = GetRowCount() - m_nTopRow;
    return nOffset >= 0 && nOffset < GetLinesThatFit() ? nOffset : TW_NO_ROW;
}

BOOL CTableWindow::GetVisibleRowRange(int* pFirst, int* pLast) const
{
    int nFirst = -1, nLast = -1;
    if (m_hWnd) {
        nFirst = m_nTopRow;
        nLast = GetLastShownRow();
    }
    if (pFirst)
        *pFirst = nFirst;
    if (pLast)
        *pLast = nLast;
    return nFirst >= 0 && nLast >= 0;
}

// ---------------------------------------------------------------------------------------------
// Measuring

void CTableWindow::MeasureHeights()
{
    int nHeight = 0;
    HDC hdc = CreateCompatibleDC(nullptr);
    if (hdc) {
        HFONT fonts[] = {GetFont(), GetBoldFont()};
        for (HFONT hFont : fonts) {
            HGDIOBJ hOld = hFont ? SelectObject(hdc, hFont) : nullptr;
            TEXTMETRICA tm;
            if (GetTextMetricsA(hdc, &tm))
                nHeight = std::max(nHeight, static_cast<int>(tm.tmHeight));
            if (hOld)
                SelectObject(hdc, hOld);
        }
        DeleteDC(hdc);
    }
    m_nRowHeight = nHeight > 0 ? nHeight + 5 : 20;
    const int nLines = m_pView ? std::max(1, m_pView->GetColumns().GetMaxTitleLines()) : 1;
    m_nTitleHeight = nHeight > 0 ? nHeight * nLines + 5 : 20;
}

void CTableWindow::MeasureDigitWidths()
{
    HDC hdc = CreateCompatibleDC(nullptr);
    if (!hdc)
        return;
    const char szSep[2] = {GetNorvGlobals().m_chDecimal, 0};
    struct { HFONT hFont; int* pDigit; int* pSep; } fonts[] = {
        {GetFont(), &m_nDigitWidth, &m_nSepWidth},
        {GetBoldFont(), &m_nDigitWidthBold, &m_nSepWidthBold},
    };
    for (const auto& f : fonts) {
        HGDIOBJ hOld = f.hFont ? SelectObject(hdc, f.hFont) : nullptr;
        SIZE size;
        if (GetTextExtentPoint32A(hdc, "0", 1, &size))
            *f.pDigit = size.cx;
        if (GetTextExtentPoint32A(hdc, szSep, 1, &size))
            *f.pSep = size.cx;
        if (hOld)
            SelectObject(hdc, hOld);
    }
    DeleteDC(hdc);
    m_bFitFontsMeasured = FALSE;
    m_fitTitles.clear();
}

// ---------------------------------------------------------------------------------------------
// Column widths

void CTableWindow::RebuildWidthTable()
{
    m_widths.clear();
    if (!m_pView)
        return;
    CTableColumnsMap& order = m_pView->GetColumnOrder();
    for (int nPos = 0; nPos < order.GetCount(); ++nPos) {
        const CTableColumn* pColumn = order.GetColumn(nPos);
        m_widths.push_back(pColumn && !pColumn->m_bHidden ? std::max(0, pColumn->m_nWidth) : 0);
    }
    YieldTextColumns();
    m_fixedPane.RecalcTotalWidth();
    m_scrollPane.RecalcTotalWidth();
}

// Where the window is too narrow for its columns, the fitted texts that yield (names, markets'
// names, sentences) give their room, the widest first, down to YIELD_FLOOR each; where that is
// not enough, the fitted words (codes' texts) give theirs, and then the texts, each down to its
// title, so that the figures beside them stand in view. Their whole texts show in the cells' tips.
void CTableWindow::YieldTextColumns()
{
    if (!m_hWnd)
        return;
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    const int nRoom = rc.right - rc.left - GetSystemMetrics(SM_CXVSCROLL) - (m_pView->GetShowHeader() ? m_nRowHeight : 0)
                      - (m_pView->GetFixedColumnCount() > 0 ? DIVIDER_WIDTH : 0);
    int nTotal = 0;
    for (const int nWidth : m_widths)
        nTotal += nWidth;
    if (nRoom <= 0 || nTotal <= nRoom)
        return;
    CTableColumnsMap& order = m_pView->GetColumnOrder();
    std::vector<size_t> texts, words;
    for (size_t nPos = 0; nPos < m_widths.size(); ++nPos) {
        const CTableColumn* pColumn = order.GetColumn(static_cast<int>(nPos));
        if (pColumn && pColumn->m_bFitWidth && pColumn->m_bFitYields)
            texts.push_back(nPos);
        else if (pColumn && pColumn->m_bFitWidth && pColumn->m_bFitYieldsLast)
            words.push_back(nPos);
    }
    // The columns give up to the overflow, each kept at the widest cap at which they give it all
    // (never below its floor), or at its floor when they cannot.
    std::vector<int> floors(m_widths.size(), YIELD_FLOOR);
    const auto Give = [&](const std::vector<size_t>& yielding) {
        const int nOver = nTotal - nRoom;
        const auto Given = [&](int nCap) {
            int nGiven = 0;
            for (const size_t nPos : yielding)
                nGiven += std::max(0, m_widths[nPos] - std::max(nCap, floors[nPos]));
            return nGiven;
        };
        int nLow = 0, nHigh = 0;
        for (const size_t nPos : yielding)
            nHigh = std::max(nHigh, m_widths[nPos]);
        while (nLow < nHigh) {
            const int nMid = (nLow + nHigh + 1) / 2;
            if (Given(nMid) >= nOver)
                nLow = nMid;
            else
                nHigh = nMid - 1;
        }
        nTotal -= Given(nLow);
        for (const size_t nPos : yielding)
            m_widths[nPos] = std::min(m_widths[nPos], std::max(nLow, floors[nPos]));
    };
    Give(texts);
    if (nTotal <= nRoom)
        return;
    // Each keeps its title whole.
    if (HDC hdc = GetDC(m_hWnd)) {
        PrepareDC(hdc);
        for (const std::vector<size_t>* pYielding : {&texts, &words})
            for (const size_t nPos : *pYielding)
                floors[nPos] = MeasureTitleFit(hdc, order.GetColumnIndex(static_cast<int>(nPos)), order.GetColumn(static_cast<int>(nPos)));
        ReleaseDC(m_hWnd, hdc);
    }
    Give(words);
    if (nTotal > nRoom)
        Give(texts);
}

int CTableWindow::GetColumnWidth(int nDisplayCol) const
{
    return nDisplayCol >= 0 && nDisplayCol < GetDisplayColumnCount() ? m_widths[static_cast<size_t>(nDisplayCol)] : 0;
}

void CTableWindow::StoreColumnWidth(int nDisplayCol, int nWidth)
{
    if (nDisplayCol >= 0 && nDisplayCol < GetDisplayColumnCount())
        m_widths[static_cast<size_t>(nDisplayCol)] = nWidth;
}

int CTableWindow::SetColumnWidth(int nDisplayCol, int nWidth, BOOL bAnimate)
{
    if (nDisplayCol < 0 || nDisplayCol >= GetDisplayColumnCount())
        return -1;
    nWidth = Clamp(nWidth, MIN_COLUMN_WIDTH, GetSystemMetrics(SM_CXSCREEN));
    const int nOld = GetColumnWidth(nDisplayCol);
    if (nWidth == nOld)
        return nWidth;
    if (!m_hWnd) {
        StoreColumnWidth(nDisplayCol, nWidth);
        return 1;
    }
    if (m_fixedPane.ContainsColumn(nDisplayCol)) {
        MoveDivider(nOld - nWidth);
        m_fixedPane.SetColumnWidth(nDisplayCol, nWidth, TRUE);
    } else if (bAnimate) {
        m_scrollPane.SetColumnWidth(nDisplayCol, nWidth, TRUE);
    } else {
        m_scrollPane.SetColumnWidthNow(nDisplayCol, nWidth);
        // Wider or narrower than the pane now: its scroll bar comes or goes with the width.
        if (m_scrollPane.IsScrollBarShown() || m_scrollPane.GetTotalWidth() > m_scrollPane.GetRect().right - m_scrollPane.GetRect().left)
            m_scrollPane.SetRect(m_scrollPane.GetRect(), TRUE);
    }
    return nWidth;
}

// The fixed pane's width changed by -nDelta: the divider and the scrolling pane follow.
void CTableWindow::MoveDivider(int nDelta)
{
    if (!m_hWnd || nDelta == 0)
        return;
    RECT rcFixed = m_fixedPane.GetRect();
    RECT rcScroll = m_scrollPane.GetRect();
    // The scrolling pane starts at the divider but never beyond the grid's edge: a fixed pane
    // wider than the window reaches under the vertical bar, as the full layout places it.
    if (IsMirrored()) {
        rcFixed.left += nDelta;
        OffsetRect(&m_rcDivider, nDelta, 0);
        rcScroll.right = std::max(m_rcGrid.left, m_rcDivider.left);
    } else {
        rcFixed.right -= nDelta;
        OffsetRect(&m_rcDivider, -nDelta, 0);
        rcScroll.left = std::min(m_rcDivider.right, m_rcGrid.right);
    }
    const BOOL bWasResizing = m_bResizing;
    m_bResizing = TRUE;
    m_fixedPane.SetRect(rcFixed, FALSE);
    m_scrollPane.SetRect(rcScroll, FALSE);
    m_bResizing = bWasResizing;
    m_rcFixed = rcFixed;
    m_rcScroll = rcScroll;
    InvalidateRect(m_hWnd, &m_rcDivider, FALSE);
}

int CTableWindow::AutoFitColumn(int nDisplayCol, BOOL bMeasureOnly)
{
    if (!m_pView || nDisplayCol < 0 || nDisplayCol >= GetDisplayColumnCount())
        return -1;
    CTableColumn* pColumn = m_pView->GetColumnOrder().GetColumn(nDisplayCol);
    if (!pColumn)
        return -1;
    if (IsColumnDragActive() || !m_hWnd)
        return pColumn->m_bHidden ? 0 : pColumn->m_nWidth;
    HDC hdc = GetDC(m_hWnd);
    if (!hdc)
        return pColumn->m_bHidden ? 0 : pColumn->m_nWidth;
    PrepareDC(hdc);
    const int nCol = m_pView->GetColumnOrder().GetColumnIndex(nDisplayCol);
    CTableRowCache& cache = GetShownRowCache();
    std::vector<char> text(static_cast<size_t>(pColumn->GetFullTextSize()));
    int nWidest = 0;
    for (int nLine = 0; nLine < GetLinesThatFit(); ++nLine) {
        CTableRow* pRow = cache.GetLineRow(nLine);
        BOOL bBold = FALSE;
        const char* pszText = "NULL";
        BYTE attrs[3] = {0, 0, 0};
        if (pRow) {
            pRow->GetCellText(text.data(), static_cast<int>(text.size()), nCol, pColumn, m_pView);
            pszText = text.data();
            for (int i = 0; i < 3; ++i)
                attrs[i] = pRow->GetAttr(nCol, i);
            bBold = (attrs[1] & 0x80) != 0;
        }
        HGDIOBJ hOld = bBold && GetBoldFont() ? SelectObject(hdc, GetBoldFont()) : nullptr;
        SIZE size = {0, 0};
        GetTextExtentPoint32A(hdc, pszText, static_cast<int>(strlen(pszText)), &size);
        if (hOld)
            SelectObject(hdc, hOld);
        const int nWidth = size.cx + m_scrollPane.GetDecimalPadding(pColumn, attrs, pszText, bBold);
        nWidest = std::max(nWidest, nWidth);
    }
    ReleaseDC(m_hWnd, hdc);
    const int nFit = Clamp(nWidest + 9, MIN_COLUMN_WIDTH, GetSystemMetrics(SM_CXSCREEN));
    if (bMeasureOnly)
        return nFit;
    ParkCurrentRow();
    SetColumnWidth(nDisplayCol, nFit, TRUE);
    pColumn->m_nWidth = nFit;
    m_scrollPane.ClampScroll();
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    RecalcLayout(rc);
    RestoreCurrentRow();
    return nFit;
}

// ---------------------------------------------------------------------------------------------
// Columns that fit what they hold

namespace {
// Besides its text a cell takes its margins (3 pixels a side) and its line; a title takes its
// margins and a little air, and beside the sort mark 12 pixels more.
const int CELL_FIT_ROOM = 7;
const int TITLE_FIT_ROOM = 8;
const int SORT_MARK_ROOM = 12;
// The characters of numbers, dates and times: they take no ligatures and do not kern apart.
const char FIT_NUMBER_CHARS[] = "0123456789.,:-+%/() ";
// Plain texts' characters, measured alone and FIT_ROW_CHARS in a row.
const unsigned char FIT_FIRST_CHAR = 32, FIT_LAST_CHAR = 126;
const int FIT_ROW_CHARS = 64;
const int FIT_UNITS_PER_PIXEL = FIT_ROW_CHARS * 2;
const size_t FIT_TEXTS_KEPT = 4096;

int TextExtent(HDC hdc, const char* pszText, size_t nLength)
{
    SIZE size = {0, 0};
    if (nLength == 0 || !GetTextExtentPoint32A(hdc, pszText, static_cast<int>(nLength), &size))
        return 0;
    return size.cx;
}
}  // namespace

int CTableWindow::GetFitBound() const
{
    // Room for a long name or a market's name whole, leaving the window for the other columns.
    return std::max(MIN_FIT_BOUND, GetSystemMetrics(SM_CXSCREEN) / 3);
}

// A text's widths in the plain and the bold font, measured once per pair of fonts.
std::pair<int, int> CTableWindow::MeasureFitText(HDC& hdc, const char* pszText)
{
    if (FitFontsChanged())
        m_fitTexts.clear();
    auto it = m_fitTexts.find(pszText);
    if (it == m_fitTexts.end()) {
        if (!GetFitDC(hdc))
            return {0, 0};
        if (FitFontsChanged())
            MeasureFitChars(hdc);
        // In the bold font too, whichever is wider, so that a cell turning bold keeps its room.
        const int nWidth = TextExtent(hdc, pszText, strlen(pszText));
        HGDIOBJ hOld = GetBoldFont() ? SelectObject(hdc, GetBoldFont()) : nullptr;
        const int nBold = hOld ? TextExtent(hdc, pszText, strlen(pszText)) : nWidth;
        if (hOld)
            SelectObject(hdc, hOld);
        if (m_fitTexts.size() >= FIT_TEXTS_KEPT)
            m_fitTexts.clear();
        it = m_fitTexts.emplace(pszText, std::make_pair(nWidth, nBold)).first;
    }
    return it->second;
}

int CTableWindow::FitOfWidths(CTableRow* pRow, int nCol, const CTableColumn* pColumn, const char* pszText,
                              std::pair<int, int> widths) const
{
    const auto [nWidth, nBold] = widths;
    BYTE attrs[3];
    for (int i = 0; i < 3; ++i)
        attrs[i] = pRow->GetAttr(nCol, i);
    const BOOL bBold = nBold > nWidth;
    return std::max(nWidth, nBold) + m_scrollPane.GetDecimalPadding(pColumn, attrs, pszText, bBold) + CELL_FIT_ROOM;
}

int CTableWindow::MeasureCellFit(HDC& hdc, CTableRow* pRow, int nCol, const CTableColumn* pColumn, const char* pszText)
{
    if (!pszText[0])
        return 0;
    const int nFit = FitOfWidths(pRow, nCol, pColumn, pszText, MeasureFitText(hdc, pszText));
    // A font that kerns a number's characters apart has every cell measured.
    const int nCeiling = CellFitCeiling(pRow, nCol, pColumn, pszText);
    if (nCeiling >= 0 && nFit > nCeiling)
        m_bFitCeilingHolds = FALSE;
    return nFit;
}

// A code's or a name's text repeats down a column, and its widest may pass its ceiling: a code
// table's text is known again by its code, the texts measured last by their characters, without
// formatting, measuring or hashing. Every fitted cell of a new row takes this check: it is made
// part of the fit's loops.
inline int CTableWindow::CellFitPast(HDC& hdc, CTableRow* pRow, const TBCellSlot* pValues, int nCol,
                                     const CTableColumn* pColumn, int nRoom)
{
    // A column of its own format shows its callback's text: no ceiling of its value holds.
    const BOOL bFormatted = pColumn->GetDataType() == COLTYPE_COMPUTED && pColumn->m_pfnFormat;
    if (pValues && !bFormatted) {
        const int nValueCeiling = CellValueCeiling(pRow, pValues, nCol, pColumn);
        if (nValueCeiling >= 0 && nValueCeiling <= nRoom)
            return -1;
    }
    CFitKnownCode* pCode = pValues && bFormatted ? KnownCodeOf(pRow, pValues, nCol, pColumn) : nullptr;
    if (pCode && pCode->nMost >= 0) {
        if (pCode->nMost <= nRoom)
            return -1;
        if (pCode->bExact)
            return pCode->nMost;
    }
    return CellFitByText(hdc, pRow, pValues, nCol, pColumn, nRoom, pCode);
}

// Past every ceiling of its value: the cell's text, known again or measured.
int CTableWindow::CellFitByText(HDC& hdc, CTableRow* pRow, const TBCellSlot* pValues, int nCol,
                                const CTableColumn* pColumn, int nRoom, CFitKnownCode* pCode)
{
    char* pszText = FitTextBuffer(pColumn);
    pRow->GetCellText(pszText, pColumn->GetFullTextSize(), nCol, pColumn, m_pView);
    if (!pszText[0]) {
        if (pCode)
            *pCode = {pCode->nCode, 0, TRUE};
        return -1;
    }
    const BOOL bKept = !FitFontsChanged();
    if (bKept && nCol >= 0 && static_cast<size_t>(nCol) < m_fitNumbers.size())
        for (const CFitKnownText& known : m_fitNumbers[static_cast<size_t>(nCol)].known)
            if (known.strText == pszText) {
                const int nFit = FitOfWidths(pRow, nCol, pColumn, pszText, known.widths);
                if (pCode)
                    *pCode = {pCode->nCode, nFit, TRUE};
                return nFit <= nRoom ? -1 : nFit;
            }
    const int nCeiling = CellFitCeiling(pRow, nCol, pColumn, pszText);
    if (nCeiling >= 0 && nCeiling <= nRoom) {
        if (pCode)
            *pCode = {pCode->nCode, nCeiling, FALSE};
        return -1;
    }
    const int nFit = MeasureCellFit(hdc, pRow, nCol, pColumn, pszText);
    // Measuring may have found new fonts and let every kept bound go.
    if (!FitFontsChanged() && nCol >= 0 && nCol < m_pView->GetColumnCount()) {
        CFitNumberBound& bound = FitBoundOf(nCol);
        const std::pair<int, int> widths = MeasureFitText(hdc, pszText);
        if (bound.known.size() < FIT_KNOWN_TEXTS)
            bound.known.push_back({pszText, widths});
        else
            bound.known[bound.nNextKnown++ % FIT_KNOWN_TEXTS] = {pszText, widths};
        if (CFitKnownCode* pKnown = bKept && pCode ? KnownCodeOf(pRow, pValues, nCol, pColumn) : nullptr)
            *pKnown = {pKnown->nCode, nFit, TRUE};
    }
    return nFit;
}

// The place a code table's column keeps what its code's text needs (left of its edge the text
// takes no decimal padding), null for another column; valid while the code tables and the
// fonts stand.
CTableWindow::CFitKnownCode* CTableWindow::KnownCodeOf(CTableRow* pRow, const TBCellSlot* pValues, int nCol,
                                                       const CTableColumn* pColumn)
{
    if (pRow->Kind() != NODE_ROW || !IsKnownCodeColumn(nCol, pColumn))
        return nullptr;
    CFitNumberBound& bound = m_fitNumbers[static_cast<size_t>(nCol)];
    const int nCode = pValues[pColumn->m_nUserValue].nValue;
    for (CFitKnownCode& code : bound.codes)
        if (code.nCode == nCode)
            return &code;
    // A code table holds a few dozen codes at most; a column of more keeps its first.
    if (bound.codes.size() >= FIT_KNOWN_CODES)
        return nullptr;
    bound.codes.push_back({nCode, -1, FALSE});
    return &bound.codes.back();
}

// A code table's column, its kept texts let go when the code tables changed.
BOOL CTableWindow::IsKnownCodeColumn(int nCol, const CTableColumn* pColumn)
{
    if (pColumn->GetDataType() != COLTYPE_COMPUTED || !pColumn->m_pfnFormat
        || pColumn->GetEffectiveAlignment() == ALIGN_RIGHT || nCol < 0 || nCol >= m_pView->GetColumnCount()
        || pColumn->m_nUserValue < 0 || pColumn->m_nUserValue >= m_pView->GetColumnCount())
        return FALSE;
    CFitNumberBound& bound = FitBoundOf(nCol);
    if (bound.nCodeStamp != GetCodeFormatsStamp() || bound.pfnCodeFormat != pColumn->m_pfnFormat) {
        bound.nCodeStamp = GetCodeFormatsStamp();
        bound.pfnCodeFormat = pColumn->m_pfnFormat;
        bound.bCodeText = IsCodeFormat(pColumn->m_pfnFormat);
        bound.codes.clear();
    }
    return bound.bCodeText;
}

CTableWindow::CFitNumberBound& CTableWindow::GrowFitBounds(int nCol)
{
    m_fitNumbers.resize(std::max(static_cast<size_t>(nCol) + 1, static_cast<size_t>(m_pView->GetColumnCount())));
    return m_fitNumbers[static_cast<size_t>(nCol)];
}

BOOL CTableWindow::FitFontsChanged() const
{
    return !m_bFitFontsMeasured || m_hFitFonts[0] != GetFont() || m_hFitFonts[1] != GetBoldFont();
}

// A number's characters take no ligatures and do not kern apart, so their advances added up are
// the most the number takes. A row of each finds the fraction of a pixel that rounding hides in
// one character alone; the one alone, a character that kerns closer to itself. A letter may
// kern apart from another: a quarter of a pixel more each covers that.
void CTableWindow::MeasureFitChars(HDC hdc)
{
    std::fill(std::begin(m_fitChars), std::end(m_fitChars), 0);
    const HFONT fonts[2] = {GetFont(), GetBoldFont()};
    const int nFonts = fonts[1] && fonts[1] != fonts[0] ? 2 : 1;
    for (int nFont = 0; nFont < nFonts; ++nFont) {
        HGDIOBJ hOld = nFont > 0 ? SelectObject(hdc, fonts[nFont]) : nullptr;
        for (unsigned char ch = FIT_FIRST_CHAR; ch <= FIT_LAST_CHAR; ++ch) {
            const char c = static_cast<char>(ch);
            const std::string strRow(FIT_ROW_CHARS, c);
            const int nAlone = TextExtent(hdc, &c, 1) * FIT_UNITS_PER_PIXEL;
            const int nInRow = TextExtent(hdc, strRow.data(), strRow.size()) * 2 + 1;
            const int nApart = strchr(FIT_NUMBER_CHARS, c) ? 0 : FIT_UNITS_PER_PIXEL / 4;
            int& nChar = m_fitChars[ch];
            nChar = std::max({nChar, nAlone + nApart, nInRow + nApart});
        }
        if (hOld)
            SelectObject(hdc, hOld);
    }
    // Each font's widest digit, by a long row of each: its advance to a 512th of a pixel.
    for (int nFont = 0; nFont < 2; ++nFont) {
        HGDIOBJ hOld = nFont > 0 && nFonts > 1 ? SelectObject(hdc, fonts[nFont]) : nullptr;
        int nWidest = -1;
        for (char ch = '0'; ch <= '9'; ++ch) {
            const std::string strRow(512, ch);
            const int nWidth = TextExtent(hdc, strRow.data(), strRow.size());
            if (nWidth > nWidest)
                nWidest = nWidth, m_chWidestDigit[nFont] = ch;
        }
        if (hOld)
            SelectObject(hdc, hOld);
    }
    m_hFitFonts[0] = fonts[0];
    m_hFitFonts[1] = fonts[1];
    m_bFitFontsMeasured = TRUE;
    m_bFitCeilingHolds = TRUE;
    m_fitTexts.clear();
    m_fitNumbers.clear();
    ++m_nFitGeneration;
}

int CTableWindow::CellFitCeiling(CTableRow* pRow, int nCol, const CTableColumn* pColumn, const char* pszText) const
{
    if (FitFontsChanged() || !m_bFitCeilingHolds)
        return -1;
    BYTE attrs[3];
    for (int i = 0; i < 3; ++i)
        attrs[i] = pRow->GetAttr(nCol, i);
    return TextFitCeiling(pszText, attrs, pColumn, FALSE);
}

// With bWidestDigits every digit counts as the widest: the ceiling of every text that has other
// digits in their places.
int CTableWindow::TextFitCeiling(const char* pszText, const BYTE* pAttrs, const CTableColumn* pColumn,
                                 BOOL bWidestDigits) const
{
    int nDigit = 0;
    if (bWidestDigits)
        for (char ch = '0'; ch <= '9'; ++ch)
            nDigit = std::max(nDigit, m_fitChars[static_cast<unsigned char>(ch)]);
    int nUnits = 0;
    for (const char* p = pszText; *p; ++p) {
        const unsigned char ch = static_cast<unsigned char>(*p);
        if (ch >= 128 || !m_fitChars[ch])
            return -1;
        nUnits += bWidestDigits && ch >= '0' && ch <= '9' ? nDigit : m_fitChars[ch];
    }
    // The line's width rounds to the nearest pixel once more.
    const int nText = (nUnits + FIT_UNITS_PER_PIXEL / 2) / FIT_UNITS_PER_PIXEL;
    // Only a right-aligned number lines its fraction up with padding.
    const int nPadding = pColumn->GetEffectiveAlignment() != ALIGN_RIGHT
                             ? 0
                             : std::max(m_scrollPane.GetDecimalPadding(pColumn, pAttrs, pszText, FALSE),
                                        m_scrollPane.GetDecimalPadding(pColumn, pAttrs, pszText, TRUE));
    return nText + nPadding + CELL_FIT_ROOM;
}

namespace {
// Whole digits of a magnitude (one for zero): from its bits, one power of ten compared.
int CountDigits(unsigned long long n)
{
    static constexpr unsigned long long POWERS[20] = {1ULL, 10ULL, 100ULL, 1000ULL, 10000ULL, 100000ULL, 1000000ULL,
        10000000ULL, 100000000ULL, 1000000000ULL, 10000000000ULL, 100000000000ULL, 1000000000000ULL,
        10000000000000ULL, 100000000000000ULL, 1000000000000000ULL, 10000000000000000ULL, 100000000000000000ULL,
        1000000000000000000ULL, 10000000000000000000ULL};
    // 1233/4096 is just over log10(2): the estimate is the count or one short of it.
    const int nEstimate = (std::bit_width(n | 1) * 1233) >> 12;
    return nEstimate + ((n | 1) >= POWERS[nEstimate] ? 1 : 0);
}

// A number cell's whole digits as its ceiling counts them, and its sign; FALSE for one without
// (missing, not finite, past a double's exact digits). A double's rounding may carry into one more
// digit: it counts one more whenever the next integer has one more.
[[gnu::always_inline]] inline BOOL NumberDigits(int nType, const TBCellSlot& cell, int& nDigits, BOOL& bNegative, BOOL& bZero)
{
    if (nType == COLTYPE_INT64) {
        LONGLONG nValue;
        if (!cell.pData)
            return FALSE;
        memcpy(&nValue, cell.pData, sizeof(nValue));
        if (nValue == MISSING_INT64)
            return FALSE;
        bNegative = nValue < 0;
        bZero = nValue == 0;
        nDigits = CountDigits(bNegative ? 0ULL - static_cast<unsigned long long>(nValue) : static_cast<unsigned long long>(nValue));
    } else if (nType == COLTYPE_DOUBLE) {
        double dValue;
        if (!cell.pData)
            return FALSE;
        memcpy(&dValue, cell.pData, sizeof(dValue));
        if (dValue == MISSING_DOUBLE || !std::isfinite(dValue) || std::fabs(dValue) >= 1e15)
            return FALSE;
        bNegative = dValue < 0;
        bZero = dValue == 0;
        nDigits = CountDigits(static_cast<unsigned long long>(std::floor(std::fabs(dValue))) + 1);
    } else {
        if (cell.nValue == MISSING_INT32)
            return FALSE;
        bNegative = cell.nValue < 0;
        bZero = cell.nValue == 0;
        nDigits = CountDigits(bNegative ? 0ULL - static_cast<unsigned long long>(static_cast<long long>(cell.nValue))
                                        : static_cast<unsigned long long>(cell.nValue));
    }
    return TRUE;
}

BOOL StartsWithDigits(const char* pszText, int nDigits)
{
    for (int i = 0; i < nDigits; ++i)
        if (pszText == nullptr || pszText[i] < '0' || pszText[i] > '9')
            return FALSE;
    return TRUE;
}

BOOL IsDateType(int nType)
{
    return (nType >= COLTYPE_PACKED_DATE && nType <= COLTYPE_PACKED_DATETIME)
           || (nType >= COLTYPE_DATE_TEXT && nType <= COLTYPE_DATETIME_TEXT);
}
}  // namespace

// Every field of a date's or a time's pattern takes at most as many digits as the last day of
// a year's last month at its last second: that text, each digit counted at the widest, is as
// wide as any the patterns make.
int CTableWindow::DateFitCeiling(CFitNumberBound& bound, int nType, const BYTE* pAttrs, const CTableColumn* pColumn)
{
    static const CNorvGlobals& globals = GetNorvGlobals();
    const char* pszDate = globals.m_strDatePattern;
    const char* pszTime = globals.m_strTimePattern;
    const auto differs = [](const std::string& strKept, const CTBString& strNow) {
        return strKept.size() != static_cast<size_t>(strNow.GetLength())
               || memcmp(strKept.data(), static_cast<const char*>(strNow), strKept.size()) != 0;
    };
    if (differs(bound.strDatePattern, globals.m_strDatePattern) || differs(bound.strTimePattern, globals.m_strTimePattern)) {
        bound.strDatePattern = pszDate;
        bound.strTimePattern = pszTime;
        bound.nDateCeiling[0] = bound.nDateCeiling[1] = -2;
    }
    int& nKept = bound.nDateCeiling[(pAttrs[2] & CELL_FRACTION) ? 1 : 0];
    if (nKept == -2)
        nKept = MakeDateCeiling(nType, pAttrs, pColumn, pszDate, pszTime);
    return nKept;
}

int CTableWindow::MakeDateCeiling(int nType, const BYTE* pAttrs, const CTableColumn* pColumn, const char* pszDate,
                                  const char* pszTime)
{
    char szDate[128] = "", szTime[128] = "";
    const BOOL bDate = nType != COLTYPE_PACKED_TIME && nType != COLTYPE_TIME_TEXT;
    const BOOL bTime = nType != COLTYPE_PACKED_DATE && nType != COLTYPE_DATE_TEXT;
    if (bDate)
        FormatDate(szDate, sizeof szDate, pszDate, 2000, 12, 28);
    if (bTime)
        FormatTime(szTime, sizeof szTime, pszTime, 23, 59, 59);
    const std::string strText = std::string(szDate) + (bDate && bTime ? " " : "") + szTime;
    const BYTE plain[3] = {0, 0, pAttrs[2]};
    // A pattern too long for these buffers is left to the exact way.
    const BOOL bCut = strlen(szDate) + 8 >= sizeof szDate || strlen(szTime) + 8 >= sizeof szTime;
    return bCut ? -1 : TextFitCeiling(strText.c_str(), plain, pColumn, TRUE);
}

// A number's text holds its sign, its whole digits with their separators and at most its
// decimals' fraction digits: the same layout of as many nines with every fraction digit is as
// wide as any of them, counted at the widest digit. A double's rounding may carry into one more
// digit: it counts one more whenever the next integer has one more.
int CTableWindow::CellValueCeiling(CTableRow* pRow, const TBCellSlot* pValues, int nCol, const CTableColumn* pColumn)
{
    const int nType = pColumn->GetDataType();
    const int nKind = pRow->Kind();
    const int nColumns = m_pView->GetColumnCount();
    // An amount in its row's unit shows that unit's decimals, every one: a data row's is read.
    const BOOL bUnit = pColumn->m_nUnitColumn >= 0;
    if (nCol < 0 || nCol >= nColumns || (bUnit && (nKind != NODE_ROW || pColumn->m_nUnitColumn >= nColumns)))
        return -1;
    // A total line shows the sums of its summed columns alone, a 32-bit one's sum kept aside;
    // a custom line's texts are read.
    if (nKind == NODE_SUM) {
        if (m_pView->HasCustomGroupSumLine())
            return -1;
        if (!pColumn->m_bSummed)
            return 0;       // an empty text takes no room
        if (nType == COLTYPE_INT32 || nType == COLTYPE_INT)
            return -1;
    } else if (nKind != NODE_ROW) {
        return -1;
    }
    const TBCellSlot& cell = pValues[nCol];
    // The fraction mark turns a 32-bit integer's decimals into sixty-fourths and changes no other
    // type's: the padding reads those decimals alone, so no other cell's mark is read.
    BYTE attrs[3] = {0, 0, 0};
    BOOL bNegative = FALSE, bZero = FALSE;
    int nDigits = -1;
    switch (nType) {
    case COLTYPE_STRING:
        // Cut to its room at most: never wider than it stands.
        return cell.pData ? TextFitCeiling(static_cast<const char*>(cell.pData), attrs, pColumn, FALSE) : -1;
    case COLTYPE_COMPUTED:
        if (pColumn->m_pfnFormat)
            return -1;
        [[fallthrough]];
    case COLTYPE_INT32:
    case COLTYPE_INT64:
    case COLTYPE_DOUBLE:
        if (nType == COLTYPE_INT32)
            attrs[2] = pRow->GetAttr(nCol, 2);
        if (!NumberDigits(nType, cell, nDigits, bNegative, bZero))
            return -1;
        break;
    default: {
        if (!IsDateType(nType))
            return -1;
        // A date's or a time's text without its digits (one not given) shows nothing; a date and
        // time shows its time behind a date it cannot read, so only an empty one does.
        const char* pszStamp = static_cast<const char*>(cell.pData);
        if ((nType == COLTYPE_DATE_TEXT && !StartsWithDigits(pszStamp, 8))
            || (nType == COLTYPE_TIME_TEXT && !StartsWithDigits(pszStamp, 6))
            || (nType == COLTYPE_DATETIME_TEXT && (pszStamp == nullptr || *pszStamp == '\0')))
            return 0;
        return DateFitCeiling(FitBoundOf(nCol), nType, attrs, pColumn);
    }
    }
    if (nDigits >= FIT_NUMBER_DIGITS)
        return -1;
    CFitNumberBound& bound = FitBoundOf(nCol);
    const int nFraction = (attrs[2] & CELL_FRACTION) ? 1 : 0;
    const int nDecimals = bUnit ? pColumn->GetRowDecimals(pValues, nFraction != 0) : pColumn->GetDecimals(nFraction != 0);
    if (nDecimals == DECIMALS_64THS)
        return -1;
    // A zero the column leaves blank shows nothing (a total line's sums are its own).
    if (bZero && pColumn->GetBlankZero() && nKind == NODE_ROW)
        return 0;
    KeepFitBoundFormat(bound, nType, pColumn);
    int* pKept = &bound.nCeiling[nFraction][bNegative ? 1 : 0][nDigits];
    if (bUnit) {
        // By the unit's decimals and the fraction mark, which the padding reads.
        const int nKey = nDecimals * 2 + nFraction;
        int* pUnit = bound.UnitCeilings(nKey);
        if (!pUnit) {
            bound.units.emplace_back(nKey, std::array<int, 2 * FIT_NUMBER_DIGITS>{});
            bound.units.back().second.fill(-2);
            pUnit = bound.units.back().second.data();
        }
        pKept = pUnit + (bNegative ? FIT_NUMBER_DIGITS : 0) + nDigits;
    }
    if (*pKept == -2)
        *pKept = MakeNumberCeiling(nType, bNegative, nDigits, nDecimals, bUnit, attrs, pColumn);
    return *pKept;
}

// The format's settings read one by one: the whole style is made only for a new ceiling. A
// changed format lets the column's number ceilings go.
void CTableWindow::KeepFitBoundFormat(CFitNumberBound& bound, int nType, const CTableColumn* pColumn)
{
    static const CNorvGlobals& globals = GetNorvGlobals();
    if (bound.nType != nType || bound.nDecimals[0] != pColumn->GetDecimals(FALSE)
        || bound.nDecimals[1] != pColumn->GetDecimals(TRUE) || bound.bGroup != pColumn->GetThousands()
        || bound.chDecimal != globals.m_chDecimal || bound.chThousands != globals.GetThousandsSeparator()) {
        const CNumberStyle style = GetDisplayStyle(*pColumn);
        bound.nType = nType;
        bound.nDecimals[0] = pColumn->GetDecimals(FALSE);
        bound.nDecimals[1] = pColumn->GetDecimals(TRUE);
        bound.bGroup = style.bGroup;
        bound.chDecimal = style.chDecimal;
        bound.chThousands = style.chThousands;
        std::fill(&bound.nCeiling[0][0][0], &bound.nCeiling[0][0][0] + 2 * 2 * FIT_NUMBER_DIGITS, -2);
        bound.units.clear();
    }
}

// Whether a fitted column's cells can be passed by a lookup through a fit of many lines, and
// which lookup: checked once, not at each line.
void CTableWindow::PrepareBatchFit(CFitColumn& fit)
{
    fit.nFast = FIT_FAST_NONE;
    fit.nGeneration = m_nFitGeneration;
    const CTableColumn* pColumn = fit.pColumn;
    const int nCol = fit.nCol;
    if (FitFontsChanged() || !m_bFitCeilingHolds || nCol < 0 || nCol >= m_pView->GetColumnCount()
        || pColumn->m_nUnitColumn >= m_pView->GetColumnCount())
        return;
    fit.nType = pColumn->GetDataType();
    fit.bUnit = pColumn->m_nUnitColumn >= 0;
    fit.bBlankZero = pColumn->GetBlankZero();
    switch (fit.nType) {
    case COLTYPE_STRING:
        fit.nFast = fit.bUnit ? FIT_FAST_NONE : FIT_FAST_TEXT;
        break;
    case COLTYPE_COMPUTED:
        if (pColumn->m_pfnFormat) {
            fit.nFast = IsKnownCodeColumn(nCol, pColumn) ? FIT_FAST_CODE : FIT_FAST_NONE;
            break;
        }
        [[fallthrough]];
    case COLTYPE_INT32:
    case COLTYPE_INT64:
    case COLTYPE_DOUBLE:
        if (fit.bUnit || pColumn->GetDecimals(FALSE) != DECIMALS_64THS) {
            KeepFitBoundFormat(FitBoundOf(nCol), fit.nType, pColumn);
            fit.nFast = FIT_FAST_NUMBER;
        }
        break;
    default:
        if (IsDateType(fit.nType) && !fit.bUnit) {
            const BYTE plain[3] = {0, 0, 0};
            fit.nDateCeiling = DateFitCeiling(FitBoundOf(nCol), fit.nType, plain, pColumn);
            fit.nFast = fit.nDateCeiling >= 0 ? FIT_FAST_DATE : FIT_FAST_NONE;
        }
        break;
    }
}

// TRUE when a data row's cell is within what its column keeps: a number's ceiling of its digits
// (a 32-bit one without the fraction mark), a date's ceiling, a known code's text, a text's
// characters. Any other answer is left to the whole check.
[[gnu::always_inline]] inline BOOL CTableWindow::FitsAtOnce(CFitColumn& fit, CTableRow* pRow, const TBCellSlot* pValues, int nRoom)
{
    if (fit.nGeneration != m_nFitGeneration)
        PrepareBatchFit(fit);
    if (fit.nFast == FIT_FAST_NONE)
        return FALSE;
    const size_t nCol = static_cast<size_t>(fit.nCol);
    const TBCellSlot& cell = pValues[nCol];
    switch (fit.nFast) {
    case FIT_FAST_DATE:
        return fit.nDateCeiling <= nRoom;
    case FIT_FAST_TEXT: {
        const BYTE plain[3] = {0, 0, 0};
        const int nCeiling = cell.pData ? TextFitCeiling(static_cast<const char*>(cell.pData), plain, fit.pColumn, FALSE) : -1;
        return nCeiling >= 0 && nCeiling <= nRoom;
    }
    case FIT_FAST_CODE: {
        const int nCode = pValues[fit.pColumn->m_nUserValue].nValue;
        for (const CFitKnownCode& code : m_fitNumbers[nCol].codes)
            if (code.nCode == nCode)
                return code.nMost >= 0 && code.nMost <= nRoom;
        return FALSE;
    }
    default: {
        if (fit.nType == COLTYPE_INT32 && (pRow->GetAttr(fit.nCol, 2) & CELL_FRACTION))
            return FALSE;
        int nDigits = 0;
        BOOL bNegative = FALSE, bZero = FALSE;
        if (!NumberDigits(fit.nType, cell, nDigits, bNegative, bZero) || nDigits >= FIT_NUMBER_DIGITS)
            return FALSE;
        CFitNumberBound& bound = m_fitNumbers[nCol];
        const int* pCeilings = bound.nCeiling[0][bNegative ? 1 : 0];
        if (fit.bUnit) {
            // An amount in its row's unit: that unit's ceilings.
            const int nDecimals = fit.pColumn->GetRowDecimals(pValues, FALSE);
            if (nDecimals == DECIMALS_64THS)
                return FALSE;
            const int* pUnit = bound.UnitCeilings(nDecimals * 2);
            if (!pUnit)
                return FALSE;
            pCeilings = pUnit + (bNegative ? FIT_NUMBER_DIGITS : 0);
        }
        // A zero the column leaves blank shows nothing.
        if (bZero && fit.bBlankZero)
            return TRUE;
        const int nCeiling = pCeilings[nDigits];
        return nCeiling >= 0 && nCeiling <= nRoom;
    }
    }
}

int CTableWindow::MakeNumberCeiling(int nType, BOOL bNegative, int nDigits, int nDecimals, BOOL bUnit, const BYTE* pAttrs,
                                    const CTableColumn* pColumn)
{
    const CNumberStyle style = GetDisplayStyle(*pColumn);
    // The formatter's own layout of the widest such text; an integer's fixed point keeps one
    // whole digit.
    const int nFractionDigits = nDecimals < 0 ? std::min(-nDecimals, static_cast<int>(CDecimalDigits::MAX_FRACTION)) : 0;
    const int nWhole = nType == COLTYPE_DOUBLE || nDecimals >= 0 ? nDigits : std::max(1, nDigits - nFractionDigits);
    const std::string strWhole(static_cast<size_t>(nWhole), '9');
    std::string strTail;
    if (nFractionDigits > 0)
        strTail = style.chDecimal + std::string(static_cast<size_t>(nFractionDigits), '9');
    std::vector<char> text(static_cast<size_t>(pColumn->GetFullTextSize()));
    LayOutNumber(text.data(), static_cast<int>(text.size()), style, bNegative, strWhole.c_str(),
                 nDecimals > 0 ? nDecimals : 0, strTail.c_str());
    BYTE plain[3] = {0, 0, pAttrs[2]};
    int nKept = text[0] == '#' ? -1 : TextFitCeiling(text.data(), plain, pColumn, TRUE);
    // A unit's amount keeps every fraction digit; the column's own may be trimmed.
    if (nKept >= 0)
        nKept = MeasuredNumberCeiling(style, bNegative, nWhole, nFractionDigits, bUnit ? nFractionDigits : 0, nDecimals,
                                      pColumn, plain, nKept);
    return nKept;
}

// A number of a layout is at most as wide as the same layout of the font's widest digit: measured
// once in each font, with each count of fraction digits its trimming may leave and the padding
// that lines it up, it is the ceiling to the pixel, so that the widest value of a column fitted
// to it is not measured again at each change. A ceiling counted by characters is never passed:
// past it the font kerns, and the counted ceilings hold no longer.
int CTableWindow::MeasuredNumberCeiling(const CNumberStyle& style, BOOL bNegative, int nWhole, int nFractionDigits,
                                        int nLeastKept, int nDecimals, const CTableColumn* pColumn, const BYTE* pAttrs,
                                        int nCounted)
{
    HDC hdc = nullptr;
    std::vector<char> text(static_cast<size_t>(std::max(1, pColumn->GetFullTextSize())));
    int nCeiling = 0;
    for (int nKeep = nLeastKept; nKeep <= nFractionDigits && nCeiling >= 0; ++nKeep) {
        // The plain font's widest digit for its width, the bold font's for its.
        int nWidths[2] = {0, 0};
        for (int nFont = 0; nFont < 2; ++nFont) {
            const char chDigit = m_chWidestDigit[nFont];
            const std::string strWhole(static_cast<size_t>(nWhole), chDigit);
            const std::string strTail = nKeep > 0 ? style.chDecimal + std::string(static_cast<size_t>(nKeep), chDigit) : "";
            LayOutNumber(text.data(), static_cast<int>(text.size()), style, bNegative, strWhole.c_str(),
                         nDecimals > 0 ? nDecimals : 0, strTail.c_str());
            const std::pair<int, int> widths = text[0] == '#' ? std::make_pair(0, 0) : MeasureFitText(hdc, text.data());
            nWidths[nFont] = nFont == 0 ? widths.first : widths.second;
        }
        const int nPadding = std::max(m_scrollPane.GetDecimalPadding(pColumn, pAttrs, text.data(), FALSE),
                                      m_scrollPane.GetDecimalPadding(pColumn, pAttrs, text.data(), TRUE));
        const int nFit = std::max(nWidths[0], nWidths[1]) + nPadding + CELL_FIT_ROOM;
        if (nWidths[0] <= 0 || nFit > nCounted) {
            m_bFitCeilingHolds = m_bFitCeilingHolds && nWidths[0] <= 0;
            nCeiling = -1;
        }
        nCeiling = nCeiling >= 0 ? std::max(nCeiling, nFit) : -1;
    }
    if (hdc)
        ReleaseDC(m_hWnd, hdc);
    return nCeiling >= 0 ? nCeiling : nCounted;
}

// Grown to the longest column's text once, not cleared for each cell: the format ends its text.
char* CTableWindow::FitTextBuffer(const CTableColumn* pColumn)
{
    const size_t nSize = static_cast<size_t>(std::max(1, pColumn->GetFullTextSize()));
    if (m_fitText.size() < nSize)
        m_fitText.resize(nSize);
    return m_fitText.data();
}

HDC CTableWindow::GetFitDC(HDC& hdc)
{
    if (!hdc) {
        hdc = GetDC(m_hWnd);
        if (hdc)
            PrepareDC(hdc);
    }
    return hdc;
}

int CTableWindow::MeasureTitleFit(HDC& hdc, int nCol, const CTableColumn* pColumn)
{
    if (m_hFitTitleFont != GetFont()) {
        m_fitTitles.clear();
        m_hFitTitleFont = GetFont();
    }
    const char* pszTitle = pColumn->GetTitle();
    auto it = m_fitTitles.find(pszTitle);
    if (it == m_fitTitles.end()) {
        if (!GetFitDC(hdc))
            return 0;
        int nWidest = 0;
        const char* pszLine = pszTitle;
        for (const char* p = pszLine;; ++p)
            if (*p == '\n' || *p == '\0') {
                nWidest = std::max(nWidest, TextExtent(hdc, pszLine, static_cast<size_t>(p - pszLine)));
                if (*p == '\0')
                    break;
                pszLine = p + 1;
            }
        if (m_fitTitles.size() >= FIT_TEXTS_KEPT)
            m_fitTitles.clear();
        it = m_fitTitles.emplace(pszTitle, nWidest).first;
    }
    const int nWidest = it->second;
    const CSortColumns& keys = m_pView->GetSortColumns();
    const BOOL bMarked = keys.GetCount() > 0 && keys.GetAt(0).m_nColumn == nCol && !m_pView->GetColumns().m_bDefaultOrder;
    return nWidest + TITLE_FIT_ROOM + (bMarked ? SORT_MARK_ROOM : 0);
}

BOOL CTableWindow::RefitColumns()
{
    const BOOL bRows = m_bFitExact || m_bFitUnseen;
    const BOOL bChanged = FitColumnsToContent(m_bFitExact, -1, bRows);
    m_bFitExact = FALSE;
    m_bFitUnseen = FALSE;
    return bChanged;
}

BOOL CTableWindow::FitColumnsToContent(BOOL bExact, int nOnlyDisplayCol, BOOL bRows)
{
    if (!m_hWnd || !m_pView)
        return FALSE;
    CTableColumnsMap& order = m_pView->GetColumnOrder();
    std::vector<int> needed(static_cast<size_t>(order.GetCount()), -1);
    BOOL bAny = FALSE;
    for (int nPos = 0; nPos < order.GetCount(); ++nPos) {
        const CTableColumn* pColumn = order.GetColumn(nPos);
        const BOOL bThis = nOnlyDisplayCol < 0 ? pColumn && !pColumn->m_bHidden : nPos == nOnlyDisplayCol;
        if (pColumn && pColumn->m_bFitWidth && bThis)
            needed[static_cast<size_t>(nPos)] = 0, bAny = TRUE;
    }
    if (!bAny)
        return FALSE;
    // The DC only when a title or a text is new: a refresh mostly needs none.
    HDC hdc = nullptr;
    std::vector<CFitColumn>& fitted = m_fitColumns;
    fitted.clear();
    for (int nPos = 0; nPos < order.GetCount(); ++nPos)
        if (needed[static_cast<size_t>(nPos)] >= 0) {
            needed[static_cast<size_t>(nPos)] = MeasureTitleFit(hdc, order.GetColumnIndex(nPos), order.GetColumn(nPos));
            fitted.push_back({nPos, order.GetColumnIndex(nPos), order.GetColumn(nPos)});
        }
    for (CFitColumn& fit : fitted)
        if (bRows)
            PrepareBatchFit(fit);
    CViewRow row(m_pView);
    for (int nLine = 0; bRows && nLine < m_pView->GetRowCount(); ++nLine) {
        if (!m_pView->GetRow(row, nLine) || !row.GetNode())
            continue;
        CTableRow* pRow = row.GetNode();
        TBCellSlot* pValues = LockCeilingValues(pRow);
        const BOOL bDataRow = pValues && pRow->Kind() == NODE_ROW;
        for (CFitColumn& fit : fitted) {
            int& nNeeded = needed[static_cast<size_t>(fit.nPos)];
            if (!bDataRow || !FitsAtOnce(fit, pRow, pValues, nNeeded))
                nNeeded = std::max(nNeeded, CellFitPast(hdc, pRow, pValues, fit.nCol, fit.pColumn, nNeeded));
        }
        UnlockCeilingValues(pRow, pValues);
    }
    if (hdc)
        ReleaseDC(m_hWnd, hdc);
    BOOL bChanged = FALSE;
    for (int nPos = 0; nPos < order.GetCount(); ++nPos) {
        if (needed[static_cast<size_t>(nPos)] < 0)
            continue;
        CTableColumn* pColumn = order.GetColumn(nPos);
        const int nFit = Clamp(needed[static_cast<size_t>(nPos)], MIN_COLUMN_WIDTH, GetFitBound());
        if (bExact ? nFit != pColumn->m_nWidth : nFit > pColumn->m_nWidth) {
            pColumn->m_nWidth = nFit;
            bChanged = TRUE;
        }
    }
    return bChanged;
}

// The rows nFirst.. of a change, one cell of each or (nCol -1) the whole row: a fitted column
// whose new text is wider grows, so that a value never turns into '#' nor a name is cut. Live
// values change many times a second: a number within its column's width is not measured, and
// the changed row's node, when known, is not looked up again.
BOOL CTableWindow::GrowColumnsToRows(int nFirst, int nLines, int nCol, CTableRow* pNode)
{
    if (!m_hWnd || !m_pView || nFirst < 0 || nLines < 1)
        return FALSE;
    // A change names its row's node: the view's row is made only to look one up.
    std::optional<CViewRow> row;
    return GrowColumnsToLines(nLines, nCol, nLines == 1 && pNode && pNode->Kind() == NODE_SUM, [&](int i) -> CTableRow* {
        const int nLine = nFirst + i;
        if (nLine >= m_pView->GetRowCount())
            return nullptr;
        if (nLines == 1)
            return pNode ? pNode : (m_pView->GetRow(row.emplace(m_pView), nLine) ? row->GetNode() : nullptr);
        return m_pView->GetRow(row ? *row : row.emplace(m_pView), nLine) ? row->GetNode() : nullptr;
    });
}

// The lines of a load held for their fit, each still in the view.
BOOL CTableWindow::GrowHeldLines()
{
    if (m_fitHeld.empty() || !m_hWnd || !m_pView)
        return FALSE;
    std::vector<CTableRow*>& nodes = m_fitHeldNodes;
    nodes.clear();
    for (const TBCellSlot* pBlock : m_fitHeld)
        if (CTableRow* pNode = m_pView->GetRowTree().FindByBlock(pBlock))
            nodes.push_back(pNode);
    m_fitHeld.clear();
    return !nodes.empty()
           && GrowColumnsToLines(static_cast<int>(nodes.size()), -1, FALSE, [&](int i) { return nodes[static_cast<size_t>(i)]; });
}

template <class TLineAt>
BOOL CTableWindow::GrowColumnsToLines(int nLines, int nCol, BOOL bSumLine, TLineAt&& lineAt)
{
    CTableColumnsMap& order = m_pView->GetColumnOrder();
    const int nFrom = nCol >= 0 ? order.FindPosition(nCol) : 0;
    const int nTo = nCol >= 0 ? nFrom : order.GetCount() - 1;
    if (nFrom < 0)
        return FALSE;
    // The screen's share is read only for a column already as wide as the least bound.
    int nBound = -1;
    const auto bound = [&] { return nBound >= 0 ? nBound : (nBound = GetFitBound()); };
    // A total line's other columns are empty: only its sums are read. A sum line of its own is
    // read whole.
    const BOOL bCustomSums = m_pView->HasCustomGroupSumLine();
    const BOOL bOnlySums = bSumLine && !bCustomSums;
    const CTableColumns& columns = m_pView->GetColumns();
    std::vector<CFitColumn>& fitted = m_fitColumns;
    fitted.clear();
    for (int nPos = nFrom; nPos <= nTo; ++nPos) {
        const int nIndex = nCol >= 0 ? nCol : order.GetColumnIndex(nPos);
        CTableColumn* pColumn = columns.GetColumn(nIndex);
        if (pColumn && pColumn->m_bFitWidth && !pColumn->m_bHidden && (!bOnlySums || pColumn->m_bSummed)
            && (pColumn->m_nWidth < MIN_FIT_BOUND || pColumn->m_nWidth < bound()))
            fitted.push_back({nPos, nIndex, pColumn});
    }
    if (fitted.empty())
        return FALSE;
    const BOOL bBatch = nLines >= FIT_BATCH_LINES;
    for (CFitColumn& fit : fitted)
        if (bBatch)
            PrepareBatchFit(fit);
    HDC hdc = nullptr;
    BOOL bChanged = FALSE;
    for (int i = 0; i < nLines; ++i) {
        CTableRow* pRow = lineAt(i);
        if (!pRow)
            continue;
        const BOOL bSumsOnly = pRow->Kind() == NODE_SUM && !bCustomSums;
        TBCellSlot* pValues = LockCeilingValues(pRow);
        const BOOL bDataRow = bBatch && pValues && pRow->Kind() == NODE_ROW;
        for (CFitColumn& fit : fitted) {
            CTableColumn* pColumn = fit.pColumn;
            if ((bSumsOnly && !pColumn->m_bSummed) || (pColumn->m_nWidth >= MIN_FIT_BOUND && pColumn->m_nWidth >= bound())
                || (bDataRow && FitsAtOnce(fit, pRow, pValues, pColumn->m_nWidth)))
                continue;
            const int nFit = CellFitPast(hdc, pRow, pValues, fit.nCol, pColumn, pColumn->m_nWidth);
            if (nFit > pColumn->m_nWidth && std::min(nFit, bound()) > pColumn->m_nWidth) {
                pColumn->m_nWidth = std::min(nFit, bound());
                bChanged = TRUE;
            }
        }
        UnlockCeilingValues(pRow, pValues);
    }
    if (hdc)
        ReleaseDC(m_hWnd, hdc);
    return bChanged;
}

// The row's values, read for the numbers' ceilings while the fonts keep them; null otherwise.
TBCellSlot* CTableWindow::LockCeilingValues(CTableRow* pRow)
{
    if (FitFontsChanged() || !m_bFitCeilingHolds)
        return nullptr;
    ITreeAlloc* pAlloc = m_pView->GetAllocator();
    return pAlloc ? pAlloc->LockValues(pRow) : pRow->GetData();
}

void CTableWindow::UnlockCeilingValues(CTableRow* pRow, TBCellSlot* pValues)
{
    if (ITreeAlloc* pAlloc = pValues ? m_pView->GetAllocator() : nullptr)
        pAlloc->UnlockValues(pRow, pValues);
}

// A computed column's text is made of its row's other values: an update of any of them may change it.
BOOL CTableWindow::GrowComputedColumns(int nIndex, CTableRow* pNode)
{
    const CTableColumns& columns = m_pView->GetColumns();
    BOOL bGrown = FALSE;
    for (int nCol = 0; nCol < columns.GetCount(); ++nCol) {
        const CTableColumn* pColumn = columns.GetColumn(nCol);
        if (pColumn && pColumn->m_bFitWidth && pColumn->GetDataType() == COLTYPE_COMPUTED && pColumn->m_pfnFormat)
            bGrown |= GrowColumnsToRows(nIndex, 1, nCol, pNode);
    }
    return bGrown;
}

namespace {
BOOL HasYieldingColumns(CViewTable* pView)
{
    CTableColumnsMap& order = pView->GetColumnOrder();
    for (int nPos = 0; nPos < order.GetCount(); ++nPos) {
        const CTableColumn* pColumn = order.GetColumn(nPos);
        if (pColumn && pColumn->m_bFitWidth && (pColumn->m_bFitYields || pColumn->m_bFitYieldsLast) && !pColumn->m_bHidden)
            return TRUE;
    }
    return FALSE;
}
}  // namespace

BOOL CTableWindow::IsUnitColumn(int nCol) const
{
    const CTableColumns& columns = m_pView->GetColumns();
    for (int i = 0; i < columns.GetCount(); ++i)
        if (columns.GetColumn(i) && columns.GetColumn(i)->m_nUnitColumn == nCol)
            return TRUE;
    return FALSE;
}

// Widths the fit changed, into the panes and the window.
void CTableWindow::ApplyFitWidths()
{
    RebuildWidthTable();
    m_scrollPane.ClampScroll();
    m_bWidthsRefitted = TRUE;
    Refresh();
    m_bWidthsRefitted = FALSE;
}

// ---------------------------------------------------------------------------------------------
// Layout

void CTableWindow::SetPaneColumnRuns()
{
    if (!m_pView)
        return;
    const int nCount = GetDisplayColumnCount();
    const int nFixed = std::min(m_pView->GetFixedColumnCount(), nCount);
    const BOOL bMirror = IsMirrored();
    if (nFixed > 0) {
        if (bMirror)
            m_fixedPane.Init(0, this, nFixed - 1, 0, FALSE);
        else
            m_fixedPane.Init(0, this, 0, nFixed - 1, FALSE);
    } else {
        m_fixedPane.Init(0, this, -1, -1, FALSE);
    }
    if (nFixed < nCount) {
        if (bMirror)
            m_scrollPane.Init(0, this, nCount - 1, nFixed, TRUE);
        else
            m_scrollPane.Init(0, this, nFixed, nCount - 1, TRUE);
    } else {
        m_scrollPane.Init(0, this, -1, -1, TRUE);
    }
    m_headerPane.InitHeader(0, this);
}

void CTableWindow::RecalcLayout(const RECT& rcClient)
{
    if (!m_pView)
        return;
    // A pane that shows or hides its bar while the panes take their rectangles is answered after
    // all of them have theirs: scrolling half-laid-out panes would move stale pixels.
    const BOOL bOuter = !m_bInLayout;
    m_bInLayout = TRUE;
    LayoutPanes(rcClient);
    if (!bOuter)
        return;
    m_bInLayout = FALSE;
    for (int nPass = 0; nPass < 2 && m_pPendingBarPane; ++nPass) {
        CTableWindowArea* pPane = m_pPendingBarPane;
        m_pPendingBarPane = nullptr;
        const BOOL bVBar = m_bVBarShown;
        OnPaneScrollBarChanged(pPane, m_bPendingBarShown);
        if (bVBar != m_bVBarShown) {
            m_bInLayout = TRUE;
            LayoutPanes(rcClient);
            m_bInLayout = FALSE;
        }
    }
    m_pPendingBarPane = nullptr;
}

void CTableWindow::LayoutPanes(const RECT& rcClient)
{
    const BOOL bMirror = IsMirrored();
    const int nRowHeader = m_pView->GetShowHeader() ? m_nRowHeight : 0;
    const BOOL bFixed = !m_fixedPane.IsEmpty();
    const int nFixedWidth = bFixed ? m_fixedPane.GetTotalWidth() : 0;
    const int nGap = bFixed ? DIVIDER_WIDTH : 0;
    int L = rcClient.left, R = rcClient.right;
    const int T = rcClient.top, B = rcClient.bottom;
    const int nOldHeight = m_rcGrid.bottom - m_rcGrid.top;
    const int nOldRight = m_rcGrid.right;

    RECT rcTrial = bMirror ? RECT{L, T, R - nRowHeader - nFixedWidth - nGap, B}
                           : RECT{L + nRowHeader + nFixedWidth + nGap, T, R, B};
    const int nLines = m_scrollPane.GetVisibleRowCount(rcTrial);
    m_cache.SetCapacity(nLines + 2);    // every line that fits, however tall the window
    UpdateVScrollBar(nLines);
    if (m_bVBarShown) {
        if (IsRightToLeft())
            L += GetSystemMetrics(SM_CXVSCROLL);
        else
            R -= GetSystemMetrics(SM_CXVSCROLL);
    }
    if (bMirror) {
        m_rcHeader = {std::max(R - nRowHeader, L), T, R, B};
        m_rcFixed = {m_rcHeader.left - nFixedWidth, T, m_rcHeader.left, B};
        m_rcDivider = {m_rcFixed.left - nGap, T, m_rcFixed.left, B};
        m_rcScroll = {L, T, std::max(L, m_rcDivider.left), B};
    } else {
        m_rcHeader = {L, T, std::min(L + nRowHeader, R), B};
        m_rcFixed = {m_rcHeader.right, T, m_rcHeader.right + nFixedWidth, B};
        m_rcDivider = {m_rcFixed.right, T, m_rcFixed.right + nGap, B};
        m_rcScroll = {std::min(m_rcDivider.right, R), T, R, B};
    }
    m_rcGrid = {L, T, R, B};
    UnionRect(&m_rcPanes, &m_rcHeader, &m_rcFixed);
    UnionRect(&m_rcPanes, &m_rcPanes, &m_rcScroll);
    if (bMirror) {
        m_headerPane.SetRect(m_rcHeader, FALSE);
        m_fixedPane.SetRect(m_rcFixed, m_bWidthsRefitted);
        m_scrollPane.SetRect(m_rcScroll, m_bWidthsRefitted);
    } else {
        m_scrollPane.SetRect(m_rcScroll, m_bWidthsRefitted);
        m_fixedPane.SetRect(m_rcFixed, m_bWidthsRefitted);
        m_headerPane.SetRect(m_rcHeader, FALSE);
    }
    if (!IsRectEmpty(&m_rcDivider) && m_hWnd) {
        const int nHeight = B - T;
        if (nHeight != nOldHeight) {
            const int nBottom = T + std::min(nHeight, nOldHeight);
            RECT rcStrip = {m_rcDivider.left, nBottom - 2, m_rcDivider.right, nBottom};
            InvalidateRect(m_hWnd, &rcStrip, FALSE);
        }
        if (IsRightToLeft() || (nOldRight >= m_rcDivider.left && nOldRight <= m_rcDivider.right))
            InvalidateRect(m_hWnd, &m_rcDivider, FALSE);
    }
}

void CTableWindow::UpdateVScrollBar(int nLines)
{
    m_bVBarStale = FALSE;
    if (!m_hWnd)
        return;
    const int nRows = GetRowCount();
    const BOOL bRtl = IsRightToLeft();
    if (nRows > nLines) {
        RECT rcClient;
        GetClientRect(m_hWnd, &rcClient);
        const int cxBar = GetSystemMetrics(SM_CXVSCROLL);
        const int cyBar = GetSystemMetrics(SM_CYHSCROLL);
        const BOOL bHBar = m_scrollPane.IsScrollBarShown();
        if (!m_vScrollBar.m_hWnd) {
            RECT rcNone = {0, 0, 0, 0};
            m_vScrollBar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT | (bRtl ? SBS_LEFTALIGN : SBS_RIGHTALIGN), rcNone, this, 0);
        }
        if (bHBar && !m_sizeBox.m_hWnd) {
            RECT rcNone = {0, 0, 0, 0};
            m_sizeBox.Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_SIZEBOX, rcNone, this, 0);
        }
        const int x = bRtl ? rcClient.left : rcClient.right - cxBar;
        const int nHeight = rcClient.bottom - rcClient.top - (bHBar ? cyBar : 0);
        SetWindowPos(m_vScrollBar.m_hWnd, nullptr, x, rcClient.top, cxBar, std::max(0, nHeight),
                     SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
        if (m_sizeBox.m_hWnd) {
            if (bHBar)
                SetWindowPos(m_sizeBox.m_hWnd, nullptr, x, rcClient.bottom - cyBar, cxBar, cyBar,
                             SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
            else
                ShowWindow(m_sizeBox.m_hWnd, SW_HIDE);
        }
        m_bVBarShown = TRUE;
        SCROLLINFO si = {};
        si.cbSize = sizeof(si);
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMin = 0;
        si.nMax = nRows - 1;
        si.nPage = static_cast<UINT>(std::max(0, nLines));
        si.nPos = m_nTopRow;
        SetScrollInfo(m_vScrollBar.m_hWnd, SB_CTL, &si, TRUE);
        return;
    }
    if (m_vScrollBar.m_hWnd)
        ShowWindow(m_vScrollBar.m_hWnd, SW_HIDE);
    if (m_sizeBox.m_hWnd)
        ShowWindow(m_sizeBox.m_hWnd, SW_HIDE);
    m_bVBarShown = FALSE;
    if (m_nTopRow != 0)
        SetTopRow(0, TRUE, 0);
}

void CTableWindow::PullBackAtEnd(BOOL bAnimate)
{
    if (m_nTopRow > 0 && m_nTopRow + GetWholeLines() > GetRowCount()) {
        UpdateNow();
        SetTopRow(std::max(0, GetRowCount() - GetWholeLines()), bAnimate, 0);
    }
}

void CTableWindow::Refresh()
{
    if (!m_hWnd || !m_pView)
        return;
    const BOOL bWasLocked = IsRedrawLocked();
    CloseEditor(TRUE);
    ParkCurrentRow();
    if (!bWasLocked)
        LockRedraw();
    // Fitted widths change the cells a pane's unchanged rectangle holds, and whether it needs
    // its bar: the panes lay out again, or a later partial paint shows the old cell area.
    if (RefitColumns()) {
        m_bWidthsRefitted = TRUE;
        RebuildWidthTable();
        m_scrollPane.ClampScroll();
    }
    m_cache.Clear();
    InvalidateRect(m_hWnd, nullptr, FALSE);
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    RecalcLayout(rc);
    m_bWidthsRefitted = FALSE;
    PullBackAtEnd(FALSE);
    m_scrollPane.InvalidateCells(FALSE);
    m_fixedPane.InvalidateCells(FALSE);
    m_headerPane.InvalidateCells(FALSE);
    if (!bWasLocked) {
        UnlockRedraw();
        InvalidateRect(m_hWnd, nullptr, FALSE);
        // A window taking a reply's rows paints them at its next paint, not at each widening,
        // nor at the widening its end or a paint brings.
        if (!m_pView->IsLoading() && !m_bFitPaintsLater)
            RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    RestoreCurrentRow();
}

void CTableWindow::OnSize(UINT nType, int cx, int cy)
{
    CTBWnd::OnSize(nType, cx, cy);
    if (!m_pView)
        return;
    const BOOL bOnLast = nType != SIZE_MINIMIZED && GetFollowLastRow() && GetRowCount() > 0
                         && GetCurrentRow() == GetRowCount() - 1;
    CloseEditor(TRUE);
    ParkCurrentRow();
    RECT rc = {0, 0, cx, cy};
    // Texts that gave their room take it back, or give more.
    const std::vector<int> before = m_widths;
    if (nType != SIZE_MINIMIZED && HasYieldingColumns(m_pView))
        RebuildWidthTable();
    m_bWidthsRefitted = before != m_widths;
    if (m_bWidthsRefitted)
        m_scrollPane.ClampScroll();
    RecalcLayout(rc);
    // Every cell right of a changed width moved, in the part of the window the resize kept too.
    if (m_bWidthsRefitted)
        InvalidateRect(m_hWnd, nullptr, FALSE);
    m_bWidthsRefitted = FALSE;
    PullBackAtEnd(TRUE);
    if (bOnLast && m_nTopRow != GetMaxTopRow())
        SetTopRow(GetMaxTopRow(), TRUE, 0);
    RestoreCurrentRow();
}

void CTableWindow::OnPaneScrollBarChanged(CTableWindowArea* pPane, BOOL bShown)
{
    if (!pPane || !m_pView)
        return;
    if (m_bInLayout) {
        m_pPendingBarPane = pPane;
        m_bPendingBarShown = bShown;
        return;
    }
    const BOOL bPark = !m_bParked;
    if (bPark)
        ParkCurrentRow();
    m_headerPane.ReserveScrollStrip(bShown);
    m_fixedPane.ReserveScrollStrip(bShown);
    m_scrollPane.ReserveScrollStrip(bShown);
    UpdateVScrollBar(pPane->GetWholeLines());
    PullBackAtEnd(TRUE);
    if (bShown && GetLastShownRow() == GetRowCount() - 1 && GetLastShownRow() > GetLastFullyShownRow()
        && m_nTopRow >= 1) {
        UpdateNow();
        VScroll(SB_LINEDOWN, 0, 2);
        VScroll(SB_ENDSCROLL, 0, 2);
    }
    if (bPark)
        RestoreCurrentRow();
}

void CTableWindow::OnRowCountChanged(int nArrived, int nLeft, int nTopChange, BOOL bFollow)
{
    if (nTopChange != 0)
        StoreTopRow(std::max(0, m_nTopRow + nTopChange));
    const int nWhole = GetWholeLines();
    if (m_bParked && GetFollowLastRow() && bFollow)
        m_nSavedOffset = Clamp(GetRowCount() - m_nTopRow - 1, 0, std::max(0, nWhole - 1));
    if (nArrived != nLeft) {
        if ((nArrived > nLeft && !m_bVBarShown) || (nArrived < nLeft && m_bVBarShown)) {
            RECT rc;
            GetClientRect(m_hWnd, &rc);
            RecalcLayout(rc);
        } else if (m_pView->IsLoading()) {
            m_bVBarStale = TRUE;        // set once, when the load ends
        } else {
            UpdateVScrollBar(nWhole);
        }
    } else if (nTopChange != 0) {
        UpdateVScrollBar(nWhole);
    }
    if (nArrived != nLeft || nTopChange != 0)
        PullBackAtEnd(TRUE);
    if (!m_bParked && GetFollowLastRow() && bFollow)
        SetCurrentRowOffset(Clamp(GetRowCount() - m_nTopRow - 1, 0, std::max(0, GetWholeLines() - 1)));
}

// ---------------------------------------------------------------------------------------------
// Vertical scrolling

void CTableWindow::SetTopRow(int nRow, BOOL bAnimate, int nUnused)
{
    (void)nUnused;
    const BOOL bPark = !m_bParked || m_bTrackDrawn;
    if (bPark)
        ParkCurrentRow();
    if (GetFollowLastRow() && GetRowCount() > 0 && m_nTopRow + m_nSavedOffset == GetRowCount() - 1)
        m_nSavedOffset = GetRowCount() - 1 - nRow;
    const int nOld = m_nTopRow;
    // Paints still pending belong to the old top: do them before the pixels move.
    if (bAnimate && m_hWnd && nOld != nRow)
        UpdateNow();
    m_nTopRow = nRow;
    if (m_vScrollBar.m_hWnd)
        SetScrollPos(m_vScrollBar.m_hWnd, SB_CTL, nRow, TRUE);
    if (bAnimate && m_hWnd) {
        if (nOld != nRow) {
            SmoothScrollLines(nOld - nRow);
        } else {
            m_scrollPane.InvalidateCells(FALSE);
            m_fixedPane.InvalidateCells(FALSE);
            m_headerPane.InvalidateCells(FALSE);
            UpdateNow();
        }
    }
    if (bPark)
        RestoreCurrentRow();
}

BOOL CTableWindow::ScrollToRow(int nRow, int nPosition)
{
    const int nRows = GetRowCount();
    nRow = Clamp(nRow, 0, std::max(0, nRows - 1));
    const int nWhole = std::max(1, GetWholeLines());
    int nTop = m_nTopRow;
    if (nPosition == -3) {
        if (nRow < m_nTopRow)
            nTop = nRow;
        else if (nRow > GetLastFullyShownRow())
            nTop = nRow - nWhole + 1;
    } else {
        nPosition = Clamp(nPosition, 0, nWhole - 1);
        nTop = Clamp(nRow - nPosition, 0, GetMaxTopRow());
    }
    nTop = std::max(0, nTop);
    if (nTop != m_nTopRow)
        SetTopRow(nTop, !IsRedrawLocked(), 0);
    return TRUE;
}

void CTableWindow::VScroll(UINT nCode, int nPos, int nSource)
{
    (void)nPos;
    if (nSource == 0 && MoveCurrentRow(static_cast<int>(nCode)))
        return;
    if (!m_bVBarShown || !m_vScrollBar.m_hWnd)
        return;
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    GetScrollInfo(m_vScrollBar.m_hWnd, SB_CTL, &si);
    const int nMax = si.nPage == 0 ? 0 : si.nMax - static_cast<int>(si.nPage) + 1;
    if (!m_bScrollGesture) {
        if (nCode == SB_ENDSCROLL)
            return;
        UpdateNow();
        m_bScrollGesture = TRUE;
    }
    const int nWhole = GetWholeLines();
    int nTop;
    switch (nCode) {
    case SB_LINEUP: nTop = si.nPos - 1; break;
    case SB_LINEDOWN: nTop = si.nPos + 1; break;
    case SB_PAGEUP: nTop = si.nPos - nWhole; break;
    case SB_PAGEDOWN: nTop = si.nPos + nWhole; break;
    case SB_THUMBPOSITION: nTop = m_bThumbAtEnd ? nMax : si.nTrackPos; break;
    case SB_THUMBTRACK:
        nTop = si.nTrackPos;
        m_bThumbAtEnd = si.nTrackPos >= nMax;
        break;
    case SB_TOP: nTop = 0; break;
    case SB_BOTTOM: nTop = nMax; break;
    case SB_ENDSCROLL:
        m_bScrollGesture = FALSE;
        OnEndScrollGesture();
        return;
    default: return;
    }
    nTop = Clamp(nTop, 0, std::max(0, nMax));
    if (nTop == m_nTopRow) {
        if (nTop == 0 || nTop == nMax)
            MoveCurrentRow(static_cast<int>(nCode));
        return;
    }
    if (nSource == 1) {
        // The bar moves the rows under a current row that stays on its data row.
        int nOffset = GetCurrentOffset();
        if (nCode == SB_LINEUP && nOffset >= 0 && nOffset < nWhole - 1)
            ++nOffset;
        else if (nCode == SB_LINEDOWN && nOffset > 0)
            --nOffset;
        else if ((nCode == SB_THUMBPOSITION || nCode == SB_THUMBTRACK) && nOffset >= 0)
            nOffset = Clamp(nOffset + (m_nTopRow - nTop), 0, nWhole);
        if (GetFollowLastRow() && nTop == nMax && nOffset >= 0)
            nOffset = nWhole - 1;
        if (nOffset >= 0 && nOffset != GetCurrentOffset()) {
            if (m_bParked)
                m_nSavedOffset = nOffset;
            else
                SetCurrentRowOffset(nOffset);
        }
    }
    SetTopRow(nTop, TRUE, 0);
}

void CTableWindow::OnVScroll(UINT nCode, UINT nPos, CTBWnd* pScrollBar)
{
    (void)pScrollBar;
    TakeFocusFromEditor();
    VScroll(nCode, static_cast<int>(nPos), 1);
}

void CTableWindow::OnMouseWheel(UINT nKeys, short nDelta)
{
    (void)nKeys;
    TakeFocusFromEditor();
    // One line per message, whatever the delta: a fast wheel must not skip rows unseen.
    VScroll(nDelta < 1 ? SB_LINEDOWN : SB_LINEUP, 0, 0);
    VScroll(SB_ENDSCROLL, 0, 0);
}

void CTableWindow::TakeFocusFromEditor()
{
    if (!HasFocusOrEditor())
        ::SetFocus(m_hWnd);
    CloseEditor(TRUE);
}

void CTableWindow::HScroll(UINT nCode)
{
    if (IsEditorShowing() && m_scrollPane.ContainsColumn(m_nEditedCol))
        CloseEditor(TRUE);
    m_scrollPane.Scroll(nCode, 0);
}

void CTableWindow::OnHScroll(UINT nCode, UINT nPos, CTBWnd* pScrollBar)
{
    (void)pScrollBar;
    m_scrollPane.OnHScroll(nCode, nPos);
}

void CTableWindow::AutoScroll(int nDirection, int nMode)
{
    if (m_bScrollGesture)
        return;
    VScroll(static_cast<UINT>(nDirection), 0, nMode);
    VScroll(SB_ENDSCROLL, 0, nMode);
}

void CTableWindow::StartAutoScrollTimer(UINT_PTR nId)
{
    if (m_nAutoTimer == nId)
        return;
    StopAutoScrollTimer();
    if (m_hWnd && SetTimer(m_hWnd, nId, AUTO_SCROLL_PERIOD, nullptr))
        m_nAutoTimer = nId;
}

void CTableWindow::StopAutoScrollTimer()
{
    if (m_nAutoTimer && m_hWnd)
        KillTimer(m_hWnd, m_nAutoTimer);
    m_nAutoTimer = 0;
}
