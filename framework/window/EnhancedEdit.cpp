// The input field's life, setting and reading, colours and read-only. Typing, keys and pastes
// are in EnhancedEditTyping.cpp.
#include "framework/window/EnhancedEdit.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/base/ColumnValues.h"
#include "framework/base/NorvGlobals.h"
#include "platform/win/Windows.h"
#include "platform/win/user/Controls.h"

namespace {
const COLORREF WHITE = RGB(255, 255, 255);

std::string WithoutChar(std::string str, char ch)
{
    str.erase(std::remove(str.begin(), str.end(), ch), str.end());
    return str;
}

// Digits, zero-padded to nDigits, with the separator nDigits from the end and the sign in front.
std::string ImpliedDecimals(LONGLONG nValue, int nDecimals)
{
    char sz[40];
    bool bNegative = nValue < 0;
    unsigned long long nMagnitude = bNegative ? 0ULL - static_cast<unsigned long long>(nValue)
                                              : static_cast<unsigned long long>(nValue);
    snprintf(sz, sizeof(sz), "%llu", nMagnitude);
    std::string str = sz;
    if (nDecimals < 0 && nDecimals != DECIMALS_64THS) {
        size_t n = static_cast<size_t>(-nDecimals);
        if (str.size() < n)
            str.insert(0, n - str.size(), '0');
        str.insert(str.size() - n, 1, GetNorvGlobals().m_chDecimal);
    }
    return bNegative ? "-" + str : str;
}
}  // namespace

CEnhancedEdit::CEnhancedEdit()
    : m_crText(GetSysColor(COLOR_WINDOWTEXT)), m_crBack(GetSysColor(COLOR_WINDOW)),
      m_crBackRemembered(m_crBack), m_crTextRemembered(m_crText)
{
}

CEnhancedEdit::~CEnhancedEdit()
{
    if (m_hWnd)
        DestroyWindow();
    if (m_hBrush)
        DeleteObject(m_hBrush);
}

BOOL CEnhancedEdit::SubclassDlgItem(UINT nId, HWND hParent)
{
    HWND hItem = GetDlgItem(hParent, static_cast<int>(nId));
    if (!hItem)
        return FALSE;
    char szClass[32] = {};
    GetClassNameA(hItem, szClass, sizeof(szClass));
    if (strcasecmp(szClass, "combobox") == 0) {
        POINT pt = {5, 5};
        hItem = ChildWindowFromPoint(hItem, pt);
        if (!hItem)
            return FALSE;
    }
    if (!SubclassWindow(hItem))
        return FALSE;
    SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 1);
    return TRUE;
}

void CEnhancedEdit::PreSubclassWindow()
{
    CTBWnd::PreSubclassWindow();
    ApplyRightToLeftFont();
}

void CEnhancedEdit::ApplyRightToLeftFont()
{
    const DWORD dwRtl = WS_EX_RTLREADING | WS_EX_RIGHT;
    if ((GetWindowLongA(m_hWnd, GWL_EXSTYLE) & dwRtl) != dwRtl)
        return;
    HFONT hFont = reinterpret_cast<HFONT>(SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    LOGFONTA lf;
    if (!hFont || GetObjectA(hFont, sizeof(lf), &lf) != sizeof(lf))
        return;
    lf.lfCharSet = ARABIC_CHARSET;
    if (m_fontRtl.CreateFontIndirect(lf))
        SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_fontRtl.GetSafeHandle()), TRUE);
}

// Kind and filters ------------------------------------------------------------------------------

void CEnhancedEdit::SetDataType(int nType, int nDecimals)
{
    m_type.SetDataType(nType);
    m_nDecimals = nDecimals;
}

void CEnhancedEdit::SetFormat(const CColumnDataType& type, int nDecimals)
{
    m_type.CopyFrom(type);
    m_nDecimals = nDecimals;
}

void CEnhancedEdit::SetValidChars(const char* pszChars)
{
    m_strValidChars = pszChars ? pszChars : "";
    m_bValidChars = !(m_strValidChars.GetLength() == 0);
}

void CEnhancedEdit::SetForbiddenChars(const char* pszChars)
{
    m_strForbidden = pszChars ? pszChars : "";
    m_bForbidden = !(m_strForbidden.GetLength() == 0);
}

void CEnhancedEdit::AddShortcut(char chLetter, int nCode, const char* pszText, int nNumber)
{
    int n = toupper(static_cast<unsigned char>(chLetter)) - 'A';
    if (n < 0 || n >= 26)
        return;
    if (!m_pShortcuts)
        m_pShortcuts = std::make_unique<CShortcut[]>(26);
    m_pShortcuts[n] = CShortcut{TRUE, nCode, CTBString(pszText ? pszText : ""), nNumber};
    m_bShortcuts = TRUE;
}

CTBString CEnhancedEdit::GetShortcutText(char chLetter) const
{
    int n = toupper(static_cast<unsigned char>(chLetter)) - 'A';
    if (!m_pShortcuts || n < 0 || n >= 26 || !m_pShortcuts[n].bSet)
        return CTBString();
    return m_pShortcuts[n].strText;
}

int CEnhancedEdit::GetShortcutNumber(char chLetter) const
{
    int n = toupper(static_cast<unsigned char>(chLetter)) - 'A';
    if (!m_pShortcuts || n < 0 || n >= 26 || !m_pShortcuts[n].bSet)
        return -1;
    return m_pShortcuts[n].nNumber;
}

BOOL CEnhancedEdit::IsNumeric() const
{
    int nType = m_type.GetDataType();
    return nType == COLTYPE_INT32 || nType == COLTYPE_INT64 || nType == COLTYPE_DOUBLE;
}

int CEnhancedEdit::MaxLength() const
{
    if (m_type.GetDataType() == COLTYPE_CHAR4)
        return 4;
    return m_nMaxLength > 0 ? static_cast<int>(std::min<LONGLONG>(m_nMaxLength, 0x7FFFFFFF)) : 0;
}

// Colours and read-only --------------------------------------------------------------------------

void CEnhancedEdit::SetReadOnly(BOOL bReadOnly)
{
    m_bReadOnly = bReadOnly;
    if (m_hWnd) {
        LONG lStyle = GetWindowLongA(m_hWnd, GWL_STYLE);
        lStyle = bReadOnly ? ((lStyle | ES_READONLY) & ~WS_TABSTOP) : ((lStyle & ~ES_READONLY) | WS_TABSTOP);
        SetWindowLongA(m_hWnd, GWL_STYLE, lStyle);
        CallWindowProcA(*GetSuperWndProcAddr(), m_hWnd, EM_SETREADONLY, bReadOnly, 0);
    }
    SetColors(EE_KEEP_COLOR, EE_KEEP_COLOR);
}

void CEnhancedEdit::SetColors(COLORREF crBack, COLORREF crText)
{
    if (crBack != EE_KEEP_COLOR)
        m_crBackRemembered = crBack;
    m_crBack = m_bReadOnly && !m_bKeepColors ? WHITE : m_crBackRemembered;
    if (crText != EE_KEEP_COLOR)
        m_crText = crText;
    if (m_hBrush)
        DeleteObject(m_hBrush);
    m_hBrush = CreateSolidBrush(m_crBack);
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CEnhancedEdit::SetTimedTextColor(COLORREF crText, int nSeconds)
{
    if (crText == EE_KEEP_COLOR) {
        RestoreTimedColor();
        return;
    }
    // A second colour while one runs keeps the colour from before the first.
    if (!m_bTimedColor)
        m_crTextRemembered = m_crText;
    m_crText = crText;
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, TRUE);
    if (nSeconds != 0 && m_hWnd) {
        UINT nMs = static_cast<UINT>(std::min(static_cast<long long>(nSeconds) * 1000, 65000LL));
        SetTimer(m_hWnd, COLOR_TIMER, nMs, nullptr);
        m_bTimedColor = TRUE;
    }
}

void CEnhancedEdit::RestoreTimedColor()
{
    if (m_bTimedColor && m_hWnd)
        KillTimer(m_hWnd, COLOR_TIMER);
    m_bTimedColor = FALSE;
    m_crText = m_crTextRemembered;
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, TRUE);
}

HBRUSH CEnhancedEdit::CtlColor(HDC hdc)
{
    if (!m_hBrush)
        m_hBrush = CreateSolidBrush(m_crBack);
    SetTextColor(hdc, m_crText);
    SetBkColor(hdc, m_crBack);
    return m_hBrush;
}

// Setting ---------------------------------------------------------------------------------------

void CEnhancedEdit::SetText(const char* pszText)
{
    std::string str = WithoutChar(pszText ? pszText : "", '|');
    if (IsNumeric()) {
        const char chDecimal = GetNorvGlobals().m_chDecimal;
        std::string strKept;
        for (char ch : str)
            if (isdigit(static_cast<unsigned char>(ch)) || ch == '-' || ch == chDecimal)
                strKept += ch;
        str = static_cast<const char*>(FormatNumberText(strKept.c_str()));
    } else if (m_type.GetDataType() == COLTYPE_CHAR4 && str.size() > 4) {
        str.resize(4);
    }
    SetTextAndCaret(str.c_str(), 0);
}

void CEnhancedEdit::SetValue(const void* pValue)
{
    if (!pValue)
        return;
    switch (m_type.GetDataType()) {
    case COLTYPE_INT32:
        SetText(ImpliedDecimals(*static_cast<const int32_t*>(pValue), m_nDecimals).c_str());
        break;
    case COLTYPE_INT64:
        SetText(ImpliedDecimals(*static_cast<const LONGLONG*>(pValue), m_nDecimals).c_str());
        break;
    case COLTYPE_DOUBLE:
        SetDouble(*static_cast<const double*>(pValue));
        break;
    case COLTYPE_CHAR4:
    case COLTYPE_STRING:
        SetText(static_cast<const char*>(pValue));
        break;
    }
}

void CEnhancedEdit::SetInt64(LONGLONG nValue)
{
    SetText(ImpliedDecimals(nValue, m_nDecimals).c_str());
}

void CEnhancedEdit::SetDouble(double dValue)
{
    char sz[400];
    int nPlaces = m_nDecimals == DECIMALS_64THS ? 0 : std::abs(m_nDecimals);
    snprintf(sz, sizeof(sz), "%1.*f", nPlaces, dValue);
    // The C text has '.', the field keeps only the framework's separator.
    for (char* p = sz; *p; ++p)
        if (*p == '.')
            *p = GetNorvGlobals().m_chDecimal;
    SetText(sz);
}

BOOL CEnhancedEdit::IsEmpty() const
{
    return GetRaw().GetLength() == 0;
}

void CEnhancedEdit::Reformat()
{
    if (!IsNumeric())
        return;
    CTBString strNew = FormatNumberText(GetRaw());
    if (strNew != GetRaw())
        SetTextAndCaret(strNew, strNew.GetLength());
}

// Reading ---------------------------------------------------------------------------------------

CTBString CEnhancedEdit::GetRaw() const
{
    return m_hWnd ? GetWindowText() : CTBString();
}

CTBString CEnhancedEdit::GetFormattedText(BOOL bUngroup) const
{
    std::string str = static_cast<const char*>(IsNumeric() ? FormatNumberText(GetRaw()) : GetRaw());
    if (bUngroup && IsNumeric())
        str = WithoutChar(str, GetNorvGlobals().m_chThousands);
    return CTBString(str.c_str());
}

CTBString CEnhancedEdit::GetText(BOOL bStrip) const
{
    std::string str = static_cast<const char*>(GetRaw());
    if (IsNumeric())
        str = WithoutChar(str, GetNorvGlobals().m_chThousands);
    if (bStrip)
        str = WithoutChar(WithoutChar(str, ','), '\'');
    return CTBString(str.c_str());
}

int CEnhancedEdit::CopyText(char* pszBuffer, int nSize) const
{
    if (!pszBuffer || nSize <= 0)
        return 0;
    CTBString str = GetText(FALSE);
    int nCopy = std::min(str.GetLength(), nSize - 1);
    memcpy(pszBuffer, static_cast<const char*>(str), static_cast<size_t>(nCopy));
    pszBuffer[nCopy] = '\0';
    return nCopy;
}

CTBString CEnhancedEdit::GetPlainText() const
{
    std::string str = static_cast<const char*>(GetFormattedText(TRUE));
    int nType = m_type.GetDataType();
    if (nType == COLTYPE_INT32 || nType == COLTYPE_INT64)
        str = WithoutChar(str, GetNorvGlobals().m_chDecimal);
    return CTBString(str.c_str());
}

BOOL CEnhancedEdit::GetValue(void* pValue, int nTextSize) const
{
    if (!pValue)
        return FALSE;
    switch (m_type.GetDataType()) {
    case COLTYPE_INT32:
        if (m_nDecimals == DECIMALS_64THS) {
            int32_t nValue = 0;
            ParseFractionText(&nValue, GetText(FALSE), m_type.GetBlankZero());
            *static_cast<int32_t*>(pValue) = nValue;
        } else {
            *static_cast<int32_t*>(pValue) = static_cast<int32_t>(atol(GetPlainText()));
        }
        break;
    case COLTYPE_INT64:
        *static_cast<LONGLONG*>(pValue) = atoll(GetPlainText());
        break;
    case COLTYPE_CHAR4:
    case COLTYPE_STRING:
        if (nTextSize > 0)
            snprintf(static_cast<char*>(pValue), static_cast<size_t>(nTextSize), "%s",
                     static_cast<const char*>(GetRaw()));
        break;
    }
    return TRUE;
}

long CEnhancedEdit::GetLong()
{
    CTBString str = GetText(FALSE);
    BOOL bRead = FALSE;
    long nResult = 0;
    switch (m_type.GetDataType()) {
    case COLTYPE_INT64: {
        LONGLONG n = 0;
        bRead = ParseInt64Value(&n, m_nDecimals, m_type, str);
        nResult = static_cast<long>(n);
        break;
    }
    case COLTYPE_DOUBLE: {
        double d = 0;
        bRead = ParseDoubleValue(&d, m_nDecimals, m_type, str);
        nResult = static_cast<long>(d);
        break;
    }
    default: {
        int32_t n = 0;
        bRead = ParseIntValue(&n, m_nDecimals, m_type, str);
        nResult = n;
        break;
    }
    }
    if (!bRead) {
        Clear();
        return 0;
    }
    return nResult;
}

double CEnhancedEdit::GetDouble()
{
    if (m_type.GetDataType() != COLTYPE_DOUBLE)
        return static_cast<double>(GetLong());
    double d = 0;
    if (!ParseDoubleValue(&d, m_nDecimals, m_type, GetText(FALSE))) {
        Clear();
        return 0;
    }
    return d;
}
