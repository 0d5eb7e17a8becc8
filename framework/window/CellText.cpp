#include "framework/window/CellText.h"

#include <cstring>

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

int TextWidth(HDC hdc, const char* pszText, int nLength)
{
    SIZE size = {0, 0};
    if (nLength <= 0 || !GetTextExtentPoint32A(hdc, pszText, nLength, &size))
        return 0;
    return size.cx;
}

}  // namespace

BOOL FitCellText(HDC hdc, char* pszText, size_t nSize, int nRoom, int* pnInset)
{
    if (!hdc || !pszText || nSize < 2 || !ReadsAsValue(pszText))
        return FALSE;
    const int nWidth = TextWidth(hdc, pszText, static_cast<int>(strlen(pszText)));
    if (nWidth <= nRoom) {
        if (pnInset && *pnInset > nRoom - nWidth)
            *pnInset = nRoom - nWidth;
        return FALSE;
    }
    const int nMark = TextWidth(hdc, "#", 1);
    size_t nCount = nMark > 0 && nRoom > nMark ? static_cast<size_t>(nRoom / nMark) : 1;
    if (nCount > nSize - 1)
        nCount = nSize - 1;
    memset(pszText, '#', nCount);
    pszText[nCount] = '\0';
    if (pnInset)
        *pnInset = 0;
    return TRUE;
}
