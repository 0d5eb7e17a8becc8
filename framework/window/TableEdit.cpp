#include "framework/window/TableEdit.h"

#include <cstring>
#include "framework/base/ColumnDataType.h"
#include "framework/base/NorvGlobals.h"
#include "platform/win/Windows.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Sound.h"

namespace {
// What a column's data type lets through; types not listed take everything.
enum CharFilter { FILTER_NONE, FILTER_NUMBER, FILTER_DATE, FILTER_TIME, FILTER_DATETIME, FILTER_ANY };
const struct {
    int nType;
    CharFilter filter;
} s_filters[] = {
    {-1, FILTER_NONE},
    {COLTYPE_NONE, FILTER_NONE},
    {COLTYPE_INT32, FILTER_NUMBER},
    {COLTYPE_INT64, FILTER_NUMBER},
    {COLTYPE_DOUBLE, FILTER_NUMBER},
    {COLTYPE_PACKED_DATE, FILTER_DATE},
    {COLTYPE_DATE_TEXT, FILTER_DATE},
    {COLTYPE_PACKED_TIME, FILTER_TIME},
    {COLTYPE_TIME_TEXT, FILTER_TIME},
    {COLTYPE_PACKED_DATETIME, FILTER_DATETIME},
};

CharFilter FilterOf(int nType)
{
    for (const auto& f : s_filters) {
        if (f.nType == nType)
            return f.filter;
    }
    return FILTER_ANY;
}

BOOL IsControlChar(unsigned char ch)
{
    return ch < 0x20 || ch == 0x7f;
}

BOOL InPattern(const CTBString& strPattern, unsigned char ch)
{
    return ch != 0 && strchr(strPattern, ch) != nullptr;
}
}  // namespace

BOOL CTableEdit::Create(UINT nId, const char* pszText, const RECT& rect, CTBWnd* pParent, DWORD dwStyle,
                        DWORD dwExStyle)
{
    if (!pParent || !pParent->GetSafeHwnd())
        return FALSE;
    return CreateEx(dwExStyle, WC_EDITA, pszText, dwStyle | WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParent->GetSafeHwnd(),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nId)));
}

// The keys the grid acts on while the editor is open.
BOOL CTableEdit::IsGridKey(UINT nKey)
{
    static const UINT s_keys[] = {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN};
    for (UINT nGridKey : s_keys) {
        if (nKey == nGridKey)
            return TRUE;
    }
    return FALSE;
}

// A sign, separator or control character in a numeric cell. With the whole text selected the
// text counts as empty, since what is typed replaces it.
BOOL CTableEdit::AcceptsNumericSign(unsigned char ch) const
{
    CTBString strText = GetWindowText();
    DWORD dwStart = 0, dwEnd = 0;
    SendMessageA(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
    if (dwStart == 0 && static_cast<int>(dwEnd) >= strText.GetLength())
        strText.Empty();
    if (ch == '-')
        return m_bAllowNegative && strText.Find('-') < 0;
    if (ch == static_cast<unsigned char>(GetNorvGlobals().m_chDecimal))
        return m_nDecimals < 0 && strText.Find(GetNorvGlobals().m_chDecimal) < 0;
    if (m_nDecimals == DECIMALS_FRACTION && (ch == '/' || ch == ' '))
        return strText.Find(static_cast<char>(ch)) < 0;
    return IsControlChar(ch);
}

BOOL CTableEdit::AcceptsChar(unsigned char ch) const
{
    const CNorvGlobals& g = GetNorvGlobals();
    const BOOL bDigitOrControl = (ch >= '0' && ch <= '9') || IsControlChar(ch);
    const BOOL bDateMark = ch == '.' || ch == '-' || ch == '/';
    switch (FilterOf(m_nDataType)) {
    case FILTER_NONE:
        return FALSE;
    case FILTER_NUMBER:
        if ((ch >= '0' && ch <= '9') || ch == static_cast<unsigned char>(g.m_chThousands))
            return TRUE;
        return AcceptsNumericSign(ch);
    case FILTER_DATE:
        return bDigitOrControl || bDateMark || InPattern(g.m_strDatePattern, ch);
    case FILTER_TIME:
        return bDigitOrControl || InPattern(g.m_strTimePattern, ch);
    case FILTER_DATETIME:
        return bDigitOrControl || bDateMark || ch == ' ' || InPattern(g.m_strDatePattern, ch) ||
               InPattern(g.m_strTimePattern, ch);
    case FILTER_ANY:
        break;
    }
    return TRUE;
}

LRESULT CTableEdit::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_KEYDOWN:
        if (IsGridKey(static_cast<UINT>(wParam)))
            return SendMessageA(GetParent(m_hWnd), WM_KEYDOWN, wParam, lParam);
        break;
    case WM_KEYUP:
        if (IsGridKey(static_cast<UINT>(wParam)))
            return 0;
        break;
    case WM_CHAR: {
        const unsigned char ch = static_cast<unsigned char>(wParam);
        // Their key-down went to the grid already.
        if (ch == '\r' || ch == '\t' || ch == 0x1b)
            return 0;
        // Ctrl+A selects the whole cell, whatever the column takes: typing then replaces it.
        if (ch != 1 && !AcceptsChar(ch)) {
            if (GetNorvGlobals().m_bBeep)
                MessageBeep(0);
            return 0;
        }
        break;
    }
    case WM_GETDLGCODE: {
        // A dialog that embeds a grid hands the editor Tab and Enter, which the grid acts on.
        LRESULT lCode = CTBWnd::WindowProc(uMsg, wParam, lParam);
        return m_nDataType != 0 ? lCode | DLGC_WANTTAB | DLGC_WANTALLKEYS : lCode;
    }
    }
    return CTBWnd::WindowProc(uMsg, wParam, lParam);
}
