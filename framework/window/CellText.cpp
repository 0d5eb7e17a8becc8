#include "framework/window/CellText.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "framework/base/NorvGlobals.h"
#include "framework/table/TableColumn.h"
#include "platform/win/kernel/CodePage.h"

namespace {

// Digits with nothing but signs, separators, per cent, brackets, blanks and the date and
// time separators: cut at its start it still reads as a value.
BOOL ReadsAsValue(const char* pszText)
{
    BOOL bDigit = FALSE;
    for (const char* p = pszText; *p; ++p) {
        if (*p >= '0' && *p <= '9')
            bDigit = TRUE;
        else if (!strchr(" +-.,%()/:", *p))
            return FALSE;
    }
    return bDigit;
}

// The code page a DC's font draws its bytes in.
UINT CodePageOf(HDC hdc)
{
    TEXTMETRICA tm;
    if (!hdc || !GetTextMetricsA(hdc, &tm))
        return CP_ACP;
    return tm.tmCharSet == ARABIC_CHARSET ? 1256 : tm.tmCharSet == ANSI_CHARSET ? 1252 : CP_ACP;
}

int TextWidth(HDC hdc, const char* pszText, int nLength)
{
    SIZE size = {0, 0};
    if (nLength <= 0 || !GetTextExtentPoint32A(hdc, pszText, nLength, &size))
        return 0;
    return size.cx;
}

}  // namespace

void LayOutCellText(HDC hdc, char* pszText, size_t nSize, const CELL_ROOM& room, RECT* prcText, UINT* puFormat)
{
    const RECT& rcCell = room.rcCell;
    // The text's room inside the margins, and where anything may stand: the cell short of its
    // gap, and never beyond the part that shows.
    const int nLow = std::max(rcCell.left + room.nGap, room.rcShown.left);
    const int nHigh = std::min(rcCell.right - room.nGap, room.rcShown.right);
    RECT rc = {std::max(rcCell.left + room.nMargin, nLow), rcCell.top, std::min(rcCell.right - room.nMargin, nHigh),
               rcCell.bottom};
    UINT uAlign = room.uAlign;
    if (pszText && nSize >= 2 && ReadsAsValue(pszText)) {
        // A value stands in its whole cell: the pane's edge may hide a part of it, as it hides
        // the rest of the cell, but only a column too narrow for it turns it into '#'.
        const int nWidth = TextWidth(hdc, pszText, static_cast<int>(strlen(pszText)));
        const int nCellLow = rcCell.left + room.nGap, nCellHigh = rcCell.right - room.nGap;
        RECT rcValue = {rcCell.left + room.nMargin, rcCell.top, rcCell.right - room.nMargin, rcCell.bottom};
        const int nRoom = rcValue.right - rcValue.left;
        if (nWidth <= nRoom) {
            rcValue.right -= std::min(room.nInset, nRoom - nWidth);
            rc = rcValue;
        } else if (nWidth <= rcCell.right - rcCell.left) {
            // Into the margins, from the side the column aligns to; a pixel clear of the cell's
            // lines where the value leaves room for it, up to them where it does not, so that a
            // value as wide as its column was made for shows whole.
            const bool bClear = nWidth <= nCellHigh - nCellLow;
            const int nMin = bClear ? nCellLow : rcCell.left;
            const int nMax = bClear ? nCellHigh : rcCell.right;
            const int nLeft = uAlign == DT_RIGHT    ? rcValue.right - nWidth
                              : uAlign == DT_CENTER ? (rcValue.left + rcValue.right - nWidth) / 2
                                                    : rcValue.left;
            rc.left = std::clamp(nLeft, nMin, nMax - nWidth);
            rc.right = rc.left + nWidth;
        } else {
            const int nMark = TextWidth(hdc, "#", 1);
            const int nSpace = std::max(nHigh - nLow, 0);
            size_t nCount = nMark > 0 && nSpace > nMark ? static_cast<size_t>(nSpace / nMark) : 1;
            nCount = std::min(nCount, nSize - 1);
            memset(pszText, '#', nCount);
            pszText[nCount] = '\0';
            rc.left = std::min(rc.left, nLow);
            rc.right = std::max(rc.right, nHigh);
        }
    } else {
        // A text wider than the part of its cell that shows stands at its place in the cell (the
        // pane clips it), so that scrolling brings the rest of it into view; one that fits the
        // part that shows moves into it whole.
        const RECT rcWhole = {rcCell.left + room.nMargin, rcCell.top, rcCell.right - room.nMargin, rcCell.bottom};
        if (pszText && (rc.left > rcWhole.left || rc.right < rcWhole.right) &&
            TextWidth(hdc, pszText, static_cast<int>(strlen(pszText))) > rc.right - rc.left)
            rc = rcWhole;
        uAlign = CellAlignFlag(hdc, pszText, rc.right - rc.left, uAlign, CellReadingFlag(pszText, CodePageOf(hdc)));
    }
    *prcText = rc;
    *puFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | uAlign | CellReadingFlag(pszText, CodePageOf(hdc));
}

UINT CellReadingFlag(const char* pszText, UINT nCodePage)
{
    if (!pszText)
        return 0;
    const char* p = pszText;
    while (*p && static_cast<unsigned char>(*p) < 0x80)
        ++p;
    if (!*p)
        return 0;
    // Hebrew, Arabic and their presentation forms, and the right-to-left mark.
    const std::string strUtf8 = TbCodePageToUtf8(pszText, nCodePage);
    for (size_t i = 0; i < strUtf8.size();) {
        const unsigned char ch = static_cast<unsigned char>(strUtf8[i]);
        unsigned int nCode = ch;
        size_t nLength = 1;
        if (ch >= 0xF0 && i + 3 < strUtf8.size()) {
            nCode = ((ch & 0x07u) << 18) | ((strUtf8[i + 1] & 0x3Fu) << 12) | ((strUtf8[i + 2] & 0x3Fu) << 6) | (strUtf8[i + 3] & 0x3Fu);
            nLength = 4;
        } else if (ch >= 0xE0 && i + 2 < strUtf8.size()) {
            nCode = ((ch & 0x0Fu) << 12) | ((strUtf8[i + 1] & 0x3Fu) << 6) | (strUtf8[i + 2] & 0x3Fu);
            nLength = 3;
        } else if (ch >= 0xC0 && i + 1 < strUtf8.size()) {
            nCode = ((ch & 0x1Fu) << 6) | (strUtf8[i + 1] & 0x3Fu);
            nLength = 2;
        }
        if ((nCode >= 0x0590 && nCode <= 0x08FF) || (nCode >= 0xFB1D && nCode <= 0xFDFF) || (nCode >= 0xFE70 && nCode <= 0xFEFF)
            || nCode == 0x200F)
            return DT_RTLREADING;
        i += nLength;
    }
    return 0;
}

UINT CellAlignFlag(HDC hdc, const char* pszText, int nRoom, UINT uAlign, UINT uReading)
{
    if (!hdc || !pszText || TextWidth(hdc, pszText, static_cast<int>(strlen(pszText))) <= nRoom)
        return uAlign;
    return (uReading & DT_RTLREADING) ? DT_RIGHT : DT_LEFT;
}

int CellDecimalInset(const CTableColumn* pColumn, BOOL bFraction, const char* pszText, int nDigit, int nSeparator)
{
    if (!pColumn || !pszText || pColumn->GetEffectiveAlignment() != ALIGN_RIGHT)
        return 0;
    const BOOL bTrims = pColumn->GetMinDecimals() >= 1 || pColumn->GetOmitZeroFraction() == 2;
    const int nDecimals = pColumn->GetDecimals(bFraction);
    if (!bTrims || nDecimals >= 0 || nDecimals == DECIMALS_64THS)
        return 0;
    const int nWanted = nDecimals == DECIMALS_CARRIED ? pColumn->GetMinDecimals() : -nDecimals;
    const char* pSep = strchr(pszText, GetNorvGlobals().m_chDecimal);
    if (!pSep)
        return nWanted * nDigit + nSeparator;
    int nHave = 0;
    for (const char* p = pSep + 1; *p >= '0' && *p <= '9'; ++p)
        ++nHave;
    return nHave < nWanted ? (nWanted - nHave) * nDigit : 0;
}
