// The input field's messages: typing digit by digit with live grouping, the character filters
// of the text kinds, keys, pastes, focus and the read-only guard.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/base/ColumnValues.h"
#include "framework/base/NorvGlobals.h"
#include "framework/window/EnhancedEdit.h"
#include "platform/win/Windows.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/Controls.h"

namespace {
// Separators every three digits leftwards from nEnd, never right after a '-'.
std::string Group(const std::string& str, size_t nEnd, char chThousands)
{
    std::string out = str.substr(nEnd);
    int nDigits = 0;
    for (size_t i = nEnd; i-- > 0;) {
        if (nDigits == 3 && str[i] != '-') {
            out.insert(out.begin(), chThousands);
            nDigits = 0;
        }
        out.insert(out.begin(), str[i]);
        ++nDigits;
    }
    return out;
}

// A number's length is its digits: the separators and the sign typing adds are not counted.
int DigitCount(const std::string& str)
{
    return static_cast<int>(std::count_if(str.begin(), str.end(), [](unsigned char ch) { return isdigit(ch) != 0; }));
}

BOOL HasLetterOrSymbol(const std::string& str)
{
    for (unsigned char ch : str)
        if ((ch < 0x80 && isalpha(ch)) || (ch != 0 && strchr("%$!/()=?#^;:", ch)) || ch == 0xB0)
            return TRUE;
    return FALSE;
}
}  // namespace

CTBString CEnhancedEdit::FormatNumberText(const char* pszText) const
{
    const char chDecimal = GetNorvGlobals().m_chDecimal;
    const char chThousands = GetNorvGlobals().m_chThousands;
    std::string str = pszText ? pszText : "";
    if (m_type.GetDataType() == COLTYPE_INT32) {
        int32_t nValue = 0;
        if (str.empty() || !ParseIntValue(&nValue, m_nDecimals, m_type, str.c_str()))
            return CTBString();
        char sz[64];
        FormatIntValue(sz, sizeof(sz), nValue, m_nDecimals, m_type);
        return CTBString(sz);
    }

    str.erase(std::remove(str.begin(), str.end(), chThousands), str.end());
    BOOL bNegative = !str.empty() && str[0] == '-';
    if (bNegative)
        str.erase(0, 1);
    str.erase(0, std::min(str.find_first_not_of('0'), str.size()));

    size_t p = str.find(chDecimal);
    if (m_nDecimals < 0 && m_nDecimals != DECIMALS_64THS) {
        size_t n = static_cast<size_t>(-m_nDecimals);
        if (p == std::string::npos) {
            str += chDecimal;
            str.append(n, '0');
        } else {
            str.resize(std::min(str.size(), p + n + 1));
            str.append(p + n + 1 - str.size(), '0');
        }
        // A minimum of fraction digits drops the zeros at the end down to it, as the table
        // engine shows a number, so that a field of many places shows what it holds.
        if (m_type.GetMinDecimals() > 0) {
            const size_t nKeep = str.find(chDecimal) + 1 + std::min(n, static_cast<size_t>(m_type.GetMinDecimals()));
            while (str.size() > nKeep && str.back() == '0')
                str.pop_back();
        }
    } else if (m_nDecimals == 0 && p != std::string::npos) {
        str.resize(p);
    }
    if (str.empty() || str[0] == chDecimal)
        str.insert(0, 1, '0');

    if (HasLetterOrSymbol(str))
        return CTBString();
    std::string strC = str;
    std::replace(strC.begin(), strC.end(), chDecimal, '.');
    double dValue = atof(strC.c_str());
    if (dValue == 0 && m_type.GetBlankZero())
        return CTBString();
    if (bNegative)
        str.insert(0, 1, '-');
    if (m_type.GetThousands())
        str = Group(str, std::min(str.find(chDecimal), str.size()), chThousands);
    size_t nLast = str.rfind(chDecimal);
    if (m_type.GetOmitZeroFraction() != 0 && nLast != std::string::npos &&
        str.find_first_not_of('0', nLast + 1) == std::string::npos)
        str.resize(nLast);
    return CTBString(str.c_str());
}

void CEnhancedEdit::SetTextAndCaret(const CTBString& strText, int nCaret)
{
    if (!m_hWnd)
        return;
    CallWindowProcA(*GetSuperWndProcAddr(), m_hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(static_cast<const char*>(strText)));
    CallWindowProcA(*GetSuperWndProcAddr(), m_hWnd, EM_SETSEL, static_cast<WPARAM>(nCaret), nCaret);
    CallWindowProcA(*GetSuperWndProcAddr(), m_hWnd, EM_SCROLLCARET, 0, 0);
}

void CEnhancedEdit::Refuse(WPARAM nWhy) const
{
    if (GetNorvGlobals().m_bBeep)
        MessageBeep(0);
    if (m_hWnd != nullptr && GetParent(m_hWnd) != nullptr)
        PostMessageA(GetParent(m_hWnd), EEN_REFUSED, nWhy, GetDlgCtrlID(m_hWnd));
}

BOOL CEnhancedEdit::AcceptsNumericChar(unsigned char ch) const
{
    const CNorvGlobals& g = GetNorvGlobals();
    if (isdigit(ch) || ch == g.m_chThousands)
        return TRUE;
    if (ch == '-')
        return !m_bNoMinus;
    if (ch == static_cast<unsigned char>(g.m_chDecimal))
        return m_nDecimals < 0 && m_nDecimals != DECIMALS_64THS;
    return m_nDecimals == DECIMALS_64THS && m_nDenominator != 0 && (ch == '/' || ch == ' ');
}

BOOL CEnhancedEdit::AcceptsTextChar(unsigned char ch) const
{
    BOOL bForbidden = m_bForbidden && strchr(m_strForbidden, ch) != nullptr && ch != 0;
    if (m_bValidChars) {
        BOOL bAllowed = ch != 0 && strchr(m_strValidChars, ch) != nullptr;
        return m_bForbidden ? (bAllowed || !bForbidden) : bAllowed;
    }
    if (m_bForbidden)
        return !bForbidden;
    return ch != '|';
}

BOOL CEnhancedEdit::IsTypedNumber(const std::string& strText, WPARAM* pWhy) const
{
    const CNorvGlobals& g = GetNorvGlobals();
    // Typing a thousands separator changes nothing, so a pasted one stands for nothing either.
    std::string str = strText;
    str.erase(std::remove(str.begin(), str.end(), g.m_chThousands), str.end());
    size_t i = 0;
    auto Digits = [&str, &i] {
        size_t nFirst = i;
        while (i < str.size() && isdigit(static_cast<unsigned char>(str[i])))
            ++i;
        return i - nFirst;
    };
    if (i < str.size() && str[i] == '-') {
        if (m_bNoMinus)
            return FALSE;
        ++i;
    }
    Digits();
    if (m_nDecimals == DECIMALS_64THS && m_nDenominator != 0) {
        // "whole numerator/denominator": one blank, and a '/' typed after a digit brings the
        // field's own denominator with it.
        if (i < str.size() && str[i] == ' ') {
            ++i;
            Digits();
        }
        if (i < str.size() && str[i] == '/')
            return i > 0 && isdigit(static_cast<unsigned char>(str[i - 1])) &&
                   str.compare(i + 1, std::string::npos, std::to_string(m_nDenominator)) == 0;
        return i == str.size();
    }
    if (i < str.size() && str[i] == g.m_chDecimal && m_nDecimals < 0 && m_nDecimals != DECIMALS_64THS) {
        ++i;
        if (Digits() > static_cast<size_t>(-m_nDecimals)) {
            // Only the fraction's length is wrong: the reason typing gives for a digit too many.
            if (pWhy != nullptr && i == str.size())
                *pWhy = EER_DECIMALS;
            return FALSE;
        }
    }
    return i == str.size();
}

BOOL CEnhancedEdit::CouldBeTyped(const std::string& str, WPARAM* pWhy) const
{
    const int nMax = MaxLength();
    if (IsNumeric())
        return (nMax <= 0 || DigitCount(str) <= nMax) && IsTypedNumber(str, pWhy);
    if (nMax > 0 && static_cast<int>(str.size()) > nMax)
        return FALSE;
    const int nType = m_type.GetDataType();
    if (nType != COLTYPE_CHAR4 && nType != COLTYPE_STRING)
        return FALSE;   // the date and time kinds take no typing at all
    if (!m_bValidChars && !m_bForbidden && m_bShortcuts) {
        // Every key of a shortcut field puts a whole shortcut text there.
        for (int n = 0; n < 26; ++n)
            if (m_pShortcuts && m_pShortcuts[n].bSet && str == static_cast<const char*>(m_pShortcuts[n].strText))
                return TRUE;
        return str.empty();
    }
    for (unsigned char ch : str)
        if (ch < ' ' || !AcceptsTextChar(ch))
            return FALSE;
    return TRUE;
}

BOOL CEnhancedEdit::FilterChar(UINT nChar)
{
    const unsigned char ch = static_cast<unsigned char>(nChar);
    // The key-down already turned these into clipboard messages.
    if ((ch == 3 || ch == 22 || ch == 24) && !GetNorvGlobals().m_bNoClipboardKeys)
        return TRUE;
    // Ctrl+A selects the whole field, whatever the field takes: typing then replaces it.
    if (ch == 1)
        return FALSE;
    if (IsNumeric())
        return OnNumericChar(nChar);
    int nType = m_type.GetDataType();
    if (nType == COLTYPE_CHAR4 || nType == COLTYPE_STRING)
        return OnTextChar(nChar);
    return TRUE;
}

BOOL CEnhancedEdit::OnTextChar(UINT nChar)
{
    const unsigned char ch = static_cast<unsigned char>(nChar);
    if (ch == '\b' || ch < ' ')
        return FALSE;
    DWORD dwStart = 0, dwEnd = 0;
    CallWindowProcA(*GetSuperWndProcAddr(), m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart),
                    reinterpret_cast<LPARAM>(&dwEnd));
    int nMax = MaxLength();
    if (nMax > 0 && dwStart == dwEnd && GetRaw().GetLength() >= nMax) {
        Refuse();
        return TRUE;
    }
    if (!m_bValidChars && !m_bForbidden && m_bShortcuts) {
        int n = toupper(ch) - 'A';
        if (m_pShortcuts && n >= 0 && n < 26 && m_pShortcuts[n].bSet) {
            SetTextAndCaret(m_pShortcuts[n].strText, m_pShortcuts[n].strText.GetLength());
            if (m_pShortcuts[n].nNumber >= 0)
                m_nLastShortcut = m_pShortcuts[n].nNumber;
        }
        return TRUE;
    }
    if (!AcceptsTextChar(ch)) {
        Refuse();
        return TRUE;
    }
    return FALSE;
}

BOOL CEnhancedEdit::OnNumericChar(UINT nChar)
{
    const unsigned char ch = static_cast<unsigned char>(nChar);
    const char chDecimal = GetNorvGlobals().m_chDecimal;
    const char chThousands = GetNorvGlobals().m_chThousands;
    const BOOL bFractions = m_nDecimals == DECIMALS_64THS && m_nDenominator != 0;
    std::string str = static_cast<const char*>(GetRaw());
    DWORD dwStart = 0, dwEnd = 0;
    CallWindowProcA(*GetSuperWndProcAddr(), m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart),
                    reinterpret_cast<LPARAM>(&dwEnd));
    size_t nStart = std::min<size_t>(dwStart, str.size()), nEnd = std::min<size_t>(dwEnd, str.size());
    const BOOL bSelection = nStart != nEnd;
    if (ch < ' ' && ch != '\b')
        return TRUE;

    // Full fields and full fractions take nothing more but Backspace or a replacement; a field
    // is full with its length in digits, what the selection holds given back.
    const size_t m = m_nDecimals == DECIMALS_64THS ? 0 : static_cast<size_t>(std::abs(m_nDecimals));
    size_t p = str.rfind(chDecimal);
    int nMax = MaxLength();
    if (nMax > 0 && isdigit(ch) && DigitCount(str) - DigitCount(str.substr(nStart, nEnd - nStart)) >= nMax) {
        Refuse();
        return TRUE;
    }
    if (ch != '\b' && !bSelection) {
        if (p != std::string::npos && nEnd > p && str.size() - p - 1 >= m) {
            Refuse(EER_DECIMALS);
            return TRUE;
        }
    }
    if (bFractions) {
        size_t nSlash = str.find('/');
        if (ch == '\b' && !bSelection && nEnd > 0 && str[nEnd - 1] == '/') {
            size_t nCut = nEnd - 1;
            if (nCut > 0 && str[nCut - 1] == '/')
                --nCut;
            str.resize(nCut);
            SetTextAndCaret(str.c_str(), static_cast<int>(str.size()));
            return TRUE;
        }
        if (ch == '/') {
            if (nEnd == str.size() && !str.empty() && isdigit(static_cast<unsigned char>(str.back())) &&
                nSlash == std::string::npos) {
                str += "/" + std::to_string(m_nDenominator);
                SetTextAndCaret(str.c_str(), static_cast<int>(nEnd + 1));
            } else {
                Refuse();
            }
            return TRUE;
        }
        if (nSlash != std::string::npos && nEnd > nSlash) {
            Refuse();
            return TRUE;
        }
        if (ch == ' ' && str.find(' ') != std::string::npos) {
            Refuse();
            return TRUE;
        }
    }
    if (ch != '\b' && !AcceptsNumericChar(ch)) {
        Refuse();
        return TRUE;
    }

    // Work on the ungrouped text; the caret and selection move with it.
    if (m_type.GetThousands()) {
        auto Before = [&](size_t n) { return static_cast<size_t>(std::count(str.begin(), str.begin() + n, chThousands)); };
        nStart -= Before(nStart);
        nEnd -= Before(nEnd);
        str.erase(std::remove(str.begin(), str.end(), chThousands), str.end());
    }
    size_t nCaret = nStart;
    if (bSelection) {
        str.erase(nStart, nEnd - nStart);
        size_t nOld = str.find(chDecimal);
        if (ch == static_cast<unsigned char>(chDecimal) && nOld != std::string::npos) {
            str.erase(nOld, 1);
            if (nOld < nCaret)
                --nCaret;
        }
    }
    if (ch == '\b') {
        if (!bSelection && nCaret > 0)
            str.erase(--nCaret, 1);
    } else if (ch == static_cast<unsigned char>(chDecimal) && str.find(chDecimal) != std::string::npos) {
        nCaret = str.find(chDecimal) + 1;
    } else if (ch == '-') {
        if (!str.empty() && str[0] == '-') {
            str.erase(0, 1);
            nCaret = nCaret > 0 ? nCaret - 1 : 0;
        } else {
            str.insert(0, 1, '-');
            ++nCaret;
        }
    } else if (ch != static_cast<unsigned char>(chThousands)) {
        if (nCaret == 0 && !str.empty() && str[0] == '-')
            nCaret = 1;
        str.insert(nCaret++, 1, static_cast<char>(ch));
    }

    if (m_type.GetThousands()) {
        size_t nGroupEnd = str.find(chDecimal);
        if (bFractions)
            nGroupEnd = str.find_first_of(" /");
        std::string strGrouped = Group(str, std::min(nGroupEnd, str.size()), chThousands);
        // The caret keeps its place among the characters that are not separators.
        size_t nKept = 0, nPos = 0;
        while (nPos < strGrouped.size() && nKept < nCaret) {
            if (strGrouped[nPos] != chThousands)
                ++nKept;
            ++nPos;
        }
        str = strGrouped;
        nCaret = nPos;
    }
    SetTextAndCaret(str.c_str(), static_cast<int>(nCaret));
    return TRUE;
}

BOOL CEnhancedEdit::OnKey(UINT nKey)
{
    const BOOL bCtrl = GetKeyState(VK_CONTROL) < 0;
    const BOOL bShift = GetKeyState(VK_SHIFT) < 0;
    if (bCtrl && !GetNorvGlobals().m_bNoClipboardKeys && (nKey == 'C' || nKey == 'V' || nKey == 'X')) {
        SendMessageA(m_hWnd, nKey == 'C' ? WM_COPY : nKey == 'V' ? WM_PASTE : WM_CUT, 0, 0);
        return TRUE;
    }
    if (m_bNotifyUpDown && (nKey == VK_UP || nKey == VK_DOWN)) {
        PostMessageA(GetParent(m_hWnd), nKey == VK_UP ? EEN_UP : EEN_DOWN, bShift ? 2 : bCtrl ? 1 : 0,
                     GetDlgCtrlID(m_hWnd));
        return TRUE;
    }
    int nType = m_type.GetDataType();
    if (nType == COLTYPE_CHAR4 || nType == COLTYPE_STRING || nKey == VK_TAB)
        return FALSE;
    if (!IsNumeric())
        return TRUE;
    if (nKey != VK_DELETE)
        return FALSE;
    std::string str = static_cast<const char*>(GetRaw());
    DWORD dwStart = 0, dwEnd = 0;
    CallWindowProcA(*GetSuperWndProcAddr(), m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart),
                    reinterpret_cast<LPARAM>(&dwEnd));
    if (dwStart != dwEnd || dwEnd > str.size())
        return FALSE;
    if (dwEnd < str.size() && str[dwEnd] == GetNorvGlobals().m_chDecimal) {
        CallWindowProcA(*GetSuperWndProcAddr(), m_hWnd, EM_SETSEL, dwEnd + 1, dwEnd + 1);
        return TRUE;
    }
    if (m_nDecimals == DECIMALS_64THS && m_nDenominator != 0) {
        size_t nSlash = str.find('/');
        if (nSlash != std::string::npos && dwEnd == nSlash) {
            str.resize(nSlash);
            SetTextAndCaret(str.c_str(), static_cast<int>(nSlash));
            return TRUE;
        }
        if (nSlash != std::string::npos && dwEnd > nSlash) {
            Refuse();
            return TRUE;
        }
    }
    return FALSE;
}

void CEnhancedEdit::OnPaste()
{
    if (!OpenClipboard(m_hWnd))
        return;
    std::string strClip;
    if (HANDLE hData = GetClipboardData(CF_TEXT)) {
        if (const char* psz = static_cast<const char*>(GlobalLock(hData))) {
            strClip = psz;
            GlobalUnlock(hData);
        }
    }
    CloseClipboard();
    if (strClip.empty())
        return;

    // A paste is typing in one go: it is taken only when the field could hold what results by
    // typing alone. A '|' would split a request line; "1-2" would reach a ticket as a number.
    DWORD dwStart = 0, dwEnd = 0;
    CallWindowProcA(*GetSuperWndProcAddr(), m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart),
                    reinterpret_cast<LPARAM>(&dwEnd));
    const std::string strHeld = static_cast<const char*>(GetRaw());
    const size_t nStart = std::min<size_t>(std::min(dwStart, dwEnd), strHeld.size());
    const size_t nEnd = std::min<size_t>(std::max(dwStart, dwEnd), strHeld.size());
    WPARAM nWhy = 0;
    if (!CouldBeTyped(strHeld.substr(0, nStart) + strClip + strHeld.substr(nEnd), &nWhy)) {
        Refuse(nWhy);
        return;
    }
    if (IsNumeric()) {
        // The control's own limit counts the separators a number shows: the text is set whole.
        SetTextAndCaret((strHeld.substr(0, nStart) + strClip + strHeld.substr(nEnd)).c_str(),
                        static_cast<int>(nStart + strClip.size()));
    } else {
        CallWindowProcA(*GetSuperWndProcAddr(), m_hWnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(strClip.c_str()));
    }
    Reformat();
}

LRESULT CEnhancedEdit::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (m_bReadOnly) {
        switch (uMsg) {
        case WM_ACTIVATE: case WM_SETFOCUS: case EM_SETSEL: case WM_KEYDOWN: case WM_CHAR:
        case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
        case WM_CUT: case WM_PASTE:
            return 0;
        case WM_NCHITTEST:
            return HTNOWHERE;
        }
    }
    switch (uMsg) {
    case WM_CHAR:
        if (FilterChar(static_cast<UINT>(wParam)))
            return 0;
        break;
    case WM_UNICHAR:
        // A character the page cannot hold was typed (the layer beeped): the field took nothing,
        // and says so as for any key it refuses.
        if (wParam == UNICODE_NOCHAR)
            return FALSE;
        if (m_hWnd != nullptr && GetParent(m_hWnd) != nullptr)
            PostMessageA(GetParent(m_hWnd), EEN_REFUSED, 0, GetDlgCtrlID(m_hWnd));
        return TRUE;
    case WM_KEYDOWN:
        if (OnKey(static_cast<UINT>(wParam)))
            return 0;
        break;
    case WM_PASTE:
        OnPaste();
        return 0;
    case WM_KILLFOCUS: {
        LRESULT lResult = CTBWnd::WindowProc(uMsg, wParam, lParam);
        // A field the user emptied stays empty: a 0 there would be a value nobody typed.
        if (!IsEmpty())
            Reformat();
        return lResult;
    }
    case WM_SETFOCUS:
        if (m_bTimedColor)
            RestoreTimedColor();
        break;
    case WM_TIMER:
        if (wParam == COLOR_TIMER) {
            RestoreTimedColor();
            return 0;
        }
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(CtlColor(reinterpret_cast<HDC>(wParam)));
    }
    return CTBWnd::WindowProc(uMsg, wParam, lParam);
}
