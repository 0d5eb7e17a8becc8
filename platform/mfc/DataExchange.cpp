// Dialog data exchange: UpdateData, the DDX_ exchanges and the DDV_ checks.
#include "platform/mfc/DataExchange.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <strings.h>
#include "platform/win/user/Controls.h"
#include "platform/win/user/DateTimePick.h"
#include "platform/win/user/MessageBox.h"

// The library's English texts. The system's dialogs show them untranslated, as the library did.
static const char PARSE_INT[] = "Please enter an integer.";
static const char PARSE_UINT[] = "Please enter a positive integer.";
static const char PARSE_REAL[] = "Please enter a number.";
static const char PARSE_INT_RANGE[] = "Please enter an integer between %s and %s.";
static const char PARSE_REAL_RANGE[] = "Please enter a number between %s and %s.";
static const char PARSE_STRING_SIZE[] = "Please enter no more than %d characters.";

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    if (m_hWnd == nullptr)
        return FALSE;
    CDataExchange dx(this, bSaveAndValidate);
    // The texts UpdateData writes are not the person's changes: their notifications are dropped.
    const HWND hWndOldLockout = s_hWndLockoutNotify;
    s_hWndLockoutNotify = m_hWnd;
    DoDataExchange(&dx);
    s_hWndLockoutNotify = hWndOldLockout;
    return !dx.HasFailed();
}

void CWnd::DoDataExchange(CDataExchange*)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = m_pDlgWnd != nullptr ? ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), nIDC) : nullptr;
    if (hWndCtrl == nullptr) {
        fprintf(stderr, "data exchange: no control %d in the window\n", nIDC);
        m_bFailed = TRUE;
        return nullptr;
    }
    m_hWndLastControl = hWndCtrl;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = hWndCtrl != nullptr;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    // The person is taken to what has to be corrected; a failed fill only stops the exchange.
    if (!m_bFailed && m_bSaveAndValidate && m_hWndLastControl != nullptr && ::IsWindow(m_hWndLastControl)) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    m_bFailed = TRUE;
}

namespace {
// The control of one exchange; null when an earlier one failed or the control is missing.
HWND StartExchange(CDataExchange* pDX, int nIDC, bool bEdit)
{
    if (pDX->HasFailed())
        return nullptr;
    return bEdit ? pDX->PrepareEditCtrl(nIDC) : pDX->PrepareCtrl(nIDC);
}

// Tells the person why the exchange stops, over the dialog.
void FailWithMessage(CDataExchange* pDX, LPCSTR pszText)
{
    ::MessageBoxA(pDX->m_pDlgWnd->GetSafeHwnd(), pszText, nullptr, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
}

CString WindowText(HWND hWnd)
{
    CString str;
    const int nLength = ::GetWindowTextLengthA(hWnd);
    if (nLength > 0) {
        ::GetWindowTextA(hWnd, str.GetBuffer(nLength), nLength + 1);
        str.ReleaseBuffer();
    }
    return str;
}

// Writes only a changed text, so an unchanged control keeps its selection and does not flicker.
void SetTextIfChanged(HWND hWnd, LPCSTR pszText)
{
    if (WindowText(hWnd) != pszText)
        ::SetWindowTextA(hWnd, pszText);
}

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

// What follows a number may only be blanks.
bool OnlyBlanks(const char* p)
{
    while (IsBlank(*p))
        ++p;
    return *p == '\0';
}

// A whole number in [llMin, llMax] with blanks around it and nothing else.
bool ParseInteger(LPCSTR pszText, long long llMin, long long llMax, long long* pllValue)
{
    const char* p = pszText;
    while (IsBlank(*p))
        ++p;
    // strtoll would take a '-' for an unsigned member and wrap it; the range check refuses it.
    if (*p != '-' && *p != '+' && (*p < '0' || *p > '9'))
        return false;
    errno = 0;
    char* pEnd = nullptr;
    const long long llValue = std::strtoll(p, &pEnd, 10);
    if (pEnd == p || errno == ERANGE || llValue < llMin || llValue > llMax)
        return false;
    if (!OnlyBlanks(pEnd))
        return false;
    *pllValue = llValue;
    return true;
}

bool ParseUnsigned(LPCSTR pszText, unsigned long long ullMax, unsigned long long* pullValue)
{
    const char* p = pszText;
    while (IsBlank(*p))
        ++p;
    if (*p == '+')
        ++p;
    if (*p < '0' || *p > '9')
        return false;
    errno = 0;
    char* pEnd = nullptr;
    const unsigned long long ullValue = std::strtoull(p, &pEnd, 10);
    if (errno == ERANGE || ullValue > ullMax)
        return false;
    if (!OnlyBlanks(pEnd))
        return false;
    *pullValue = ullValue;
    return true;
}

// A finite number in the C locale's form, blanks around it allowed.
bool ParseReal(LPCSTR pszText, double* pdValue)
{
    const char* p = pszText;
    while (IsBlank(*p))
        ++p;
    char* pEnd = nullptr;
    const double dValue = std::strtod(p, &pEnd);
    if (pEnd == p || !std::isfinite(dValue))
        return false;
    if (!OnlyBlanks(pEnd))
        return false;
    *pdValue = dValue;
    return true;
}

// One number through an edit: written by fnFormat, read back whole by fnParse, pszFailure told
// when it does not read.
template <class T, class FFormat, class FParse>
void ExchangeNumber(CDataExchange* pDX, int nIDC, T& value, FFormat fnFormat, FParse fnParse, LPCSTR pszFailure)
{
    HWND hWndCtrl = StartExchange(pDX, nIDC, true);
    if (hWndCtrl == nullptr)
        return;
    if (!pDX->m_bSaveAndValidate) {
        char szText[64];
        fnFormat(szText, sizeof szText, value);
        SetTextIfChanged(hWndCtrl, szText);
        return;
    }
    if (!fnParse(static_cast<LPCSTR>(WindowText(hWndCtrl)), &value))
        FailWithMessage(pDX, pszFailure);
}

template <class T>
void ExchangeSigned(CDataExchange* pDX, int nIDC, T& value)
{
    ExchangeNumber(pDX, nIDC, value,
        [](char* psz, size_t cch, T v) { std::snprintf(psz, cch, "%lld", static_cast<long long>(v)); },
        [](LPCSTR psz, T* p) {
            long long ll = 0;
            if (!ParseInteger(psz, std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), &ll))
                return false;
            *p = static_cast<T>(ll);
            return true;
        }, PARSE_INT);
}

template <class T>
void ExchangeUnsigned(CDataExchange* pDX, int nIDC, T& value)
{
    ExchangeNumber(pDX, nIDC, value,
        [](char* psz, size_t cch, T v) { std::snprintf(psz, cch, "%llu", static_cast<unsigned long long>(v)); },
        [](LPCSTR psz, T* p) {
            unsigned long long ull = 0;
            if (!ParseUnsigned(psz, std::numeric_limits<T>::max(), &ull))
                return false;
            *p = static_cast<T>(ull);
            return true;
        }, PARSE_UINT);
}

template <class T>
void ExchangeReal(CDataExchange* pDX, int nIDC, T& value, int nDigits)
{
    ExchangeNumber(pDX, nIDC, value,
        [nDigits](char* psz, size_t cch, T v) { std::snprintf(psz, cch, "%.*g", nDigits, static_cast<double>(v)); },
        [](LPCSTR psz, T* p) {
            double d = 0;
            // A double beyond the member's range would become infinite.
            if (!ParseReal(psz, &d) || !std::isfinite(static_cast<T>(d)))
                return false;
            *p = static_cast<T>(d);
            return true;
        }, PARSE_REAL);
}

// A DDV_ check of the value the DDX_ before it read; a failure focuses that DDX_'s control.
void FailRange(CDataExchange* pDX, LPCSTR pszFormat, LPCSTR pszMin, LPCSTR pszMax)
{
    char szText[160];
    std::snprintf(szText, sizeof szText, pszFormat, pszMin, pszMax);
    FailWithMessage(pDX, szText);
}

bool IsClass(HWND hWnd, LPCSTR pszClass)
{
    char szClass[64];
    return ::GetClassNameA(hWnd, szClass, sizeof szClass) > 0 && strcasecmp(szClass, pszClass) == 0;
}
}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = StartExchange(pDX, nIDC, true);
    if (hWndCtrl == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        value = WindowText(hWndCtrl);
    else
        SetTextIfChanged(hWndCtrl, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) { ExchangeSigned(pDX, nIDC, value); }
void DDX_Text(CDataExchange* pDX, int nIDC, long& value) { ExchangeSigned(pDX, nIDC, value); }
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) { ExchangeUnsigned(pDX, nIDC, value); }
void DDX_Text(CDataExchange* pDX, int nIDC, double& value) { ExchangeReal(pDX, nIDC, value, DBL_DIG); }
void DDX_Text(CDataExchange* pDX, int nIDC, float& value) { ExchangeReal(pDX, nIDC, value, FLT_DIG); }

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = StartExchange(pDX, nIDC, false);
    if (hWndCtrl == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(hWndCtrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_DateTimeCtrl(CDataExchange* pDX, int nIDC, COleDateTime& value)
{
    HWND hWndCtrl = StartExchange(pDX, nIDC, false);
    if (hWndCtrl == nullptr)
        return;
    SYSTEMTIME st = {};
    if (pDX->m_bSaveAndValidate) {
        const LRESULT lResult = ::SendMessageA(hWndCtrl, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
        if (lResult == GDT_VALID)
            value = COleDateTime(st);
        else
            value.SetStatus(lResult == GDT_NONE ? COleDateTime::null : COleDateTime::invalid);
        return;
    }
    const BOOL bValid = value.GetStatus() == COleDateTime::valid && value.GetAsSystemTime(st);
    ::SendMessageA(hWndCtrl, DTM_SETSYSTEMTIME, bValid ? GDT_VALID : GDT_NONE, bValid ? reinterpret_cast<LPARAM>(&st) : 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = StartExchange(pDX, nIDC, false);
    if (hWndCtrl == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        value = -1;
    // The group runs from nIDC to the next control that starts a group; its radio buttons count.
    int nIndex = 0;
    for (HWND hWnd = hWndCtrl; hWnd != nullptr; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        if (hWnd != hWndCtrl && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_GROUP))
            break;
        if (!(::SendMessageA(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON))
            continue;
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessageA(hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = nIndex;
        } else {
            ::SendMessageA(hWnd, BM_SETCHECK, nIndex == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++nIndex;
    }
}

namespace {
void ExchangeComboString(CDataExchange* pDX, int nIDC, CString& value, UINT uFindMsg)
{
    HWND hWndCtrl = StartExchange(pDX, nIDC, false);
    if (hWndCtrl == nullptr)
        return;
    if (!pDX->m_bSaveAndValidate) {
        const LRESULT lIndex = ::SendMessageA(hWndCtrl, uFindMsg, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(static_cast<LPCSTR>(value)));
        if (lIndex != CB_ERR)
            ::SendMessageA(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(lIndex), 0);
        else
            SetTextIfChanged(hWndCtrl, value);      // a drop-down list ignores it
        return;
    }
    value = WindowText(hWndCtrl);
    // A drop-down list without an edit may show its selection without answering it as its text.
    const LRESULT lIndex = ::SendMessageA(hWndCtrl, CB_GETCURSEL, 0, 0);
    if (value.IsEmpty() && lIndex != CB_ERR) {
        const LRESULT lLength = ::SendMessageA(hWndCtrl, CB_GETLBTEXTLEN, static_cast<WPARAM>(lIndex), 0);
        if (lLength > 0) {
            ::SendMessageA(hWndCtrl, CB_GETLBTEXT, static_cast<WPARAM>(lIndex),
                           reinterpret_cast<LPARAM>(value.GetBuffer(static_cast<int>(lLength))));
            value.ReleaseBuffer();
        }
    }
}

void ExchangeIndex(CDataExchange* pDX, int nIDC, int& index, UINT uGetMsg, UINT uSetMsg)
{
    HWND hWndCtrl = StartExchange(pDX, nIDC, false);
    if (hWndCtrl == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageA(hWndCtrl, uGetMsg, 0, 0));
    else
        ::SendMessageA(hWndCtrl, uSetMsg, static_cast<WPARAM>(index), 0);
}
}  // namespace

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    ExchangeComboString(pDX, nIDC, value, CB_FINDSTRING);
}

void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value)
{
    ExchangeComboString(pDX, nIDC, value, CB_FINDSTRINGEXACT);
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    ExchangeIndex(pDX, nIDC, index, CB_GETCURSEL, CB_SETCURSEL);
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = StartExchange(pDX, nIDC, false);
    if (hWndCtrl == nullptr)
        return;
    if (!pDX->m_bSaveAndValidate) {
        ::SendMessageA(hWndCtrl, LB_SELECTSTRING, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(static_cast<LPCSTR>(value)));
        return;
    }
    value.Empty();
    const LRESULT lIndex = ::SendMessageA(hWndCtrl, LB_GETCURSEL, 0, 0);
    if (lIndex == LB_ERR)
        return;
    const LRESULT lLength = ::SendMessageA(hWndCtrl, LB_GETTEXTLEN, static_cast<WPARAM>(lIndex), 0);
    if (lLength > 0) {
        ::SendMessageA(hWndCtrl, LB_GETTEXT, static_cast<WPARAM>(lIndex),
                       reinterpret_cast<LPARAM>(value.GetBuffer(static_cast<int>(lLength))));
        value.ReleaseBuffer();
    }
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    ExchangeIndex(pDX, nIDC, index, LB_GETCURSEL, LB_SETCURSEL);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.GetSafeHwnd() != nullptr)
        return;
    HWND hWndCtrl = StartExchange(pDX, nIDC, false);
    if (hWndCtrl == nullptr)
        return;
    if (!rControl.SubclassWindow(hWndCtrl)) {
        fprintf(stderr, "data exchange: control %d cannot be subclassed\n", nIDC);
        pDX->Fail();
    }
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (pDX->HasFailed())
        return;
    if (!pDX->m_bSaveAndValidate) {
        HWND hWndCtrl = pDX->m_hWndLastControl;
        if (hWndCtrl != nullptr)
            ::SendMessageA(hWndCtrl, IsClass(hWndCtrl, WC_COMBOBOXA) ? CB_LIMITTEXT : EM_LIMITTEXT,
                           static_cast<WPARAM>(nChars), 0);
        return;
    }
    if (value.GetLength() > nChars) {
        char szText[96];
        std::snprintf(szText, sizeof szText, PARSE_STRING_SIZE, nChars);
        FailWithMessage(pDX, szText);
    }
}

namespace {
// Loading never fails a range: the member is what the program set. Every integer kind the
// checks take fits a long long.
template <class T>
void CheckRange(CDataExchange* pDX, T value, T minVal, T maxVal)
{
    if (pDX->HasFailed() || !pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    char szMin[32], szMax[32];
    std::snprintf(szMin, sizeof szMin, "%lld", static_cast<long long>(minVal));
    std::snprintf(szMax, sizeof szMax, "%lld", static_cast<long long>(maxVal));
    FailRange(pDX, PARSE_INT_RANGE, szMin, szMax);
}
}  // namespace

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    CheckRange(pDX, value, minVal, maxVal);
}

void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal)
{
    CheckRange(pDX, value, minVal, maxVal);
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    CheckRange(pDX, value, minVal, maxVal);
}

void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal)
{
    if (pDX->HasFailed() || !pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    char szMin[32], szMax[32];
    std::snprintf(szMin, sizeof szMin, "%.*g", DBL_DIG, minVal);
    std::snprintf(szMax, sizeof szMax, "%.*g", DBL_DIG, maxVal);
    FailRange(pDX, PARSE_REAL_RANGE, szMin, szMax);
}
