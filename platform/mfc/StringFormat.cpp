// CString's formatting and resource loading: printf formats, message inserts, string ids.
#include "platform/mfc/String.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>
#include "platform/win/kernel/Resources.h"

namespace {

// Appends printf output of any length: measure, then write into exactly that much room.
void AppendV(std::string& strOut, LPCSTR pszFormat, va_list args) __attribute__((format(printf, 2, 0)));
void AppendV(std::string& strOut, LPCSTR pszFormat, va_list args)
{
    va_list argsMeasure;
    va_copy(argsMeasure, args);
    int nLength = std::vsnprintf(nullptr, 0, pszFormat, argsMeasure);
    va_end(argsMeasure);
    if (nLength <= 0)
        return;         // nothing to add, or a format the C library refused
    size_t nOld = strOut.size();
    strOut.resize(nOld + static_cast<size_t>(nLength) + 1);
    std::vsnprintf(&strOut[nOld], static_cast<size_t>(nLength) + 1, pszFormat, args);
    strOut.resize(nOld + static_cast<size_t>(nLength));
}

void AppendF(std::string& strOut, LPCSTR pszFormat, ...) __attribute__((format(printf, 2, 3)));
void AppendF(std::string& strOut, LPCSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    AppendV(strOut, pszFormat, args);
    va_end(args);
}

// One argument of a message insert. Its type comes from the insert's printf conversion:
// a va_list can only be read in order and with the type that was passed.
enum InsertKind { INSERT_TEXT, INSERT_INT, INSERT_LONG, INSERT_LONGLONG, INSERT_DOUBLE, INSERT_POINTER };

struct InsertArg {
    InsertKind nKind = INSERT_POINTER;      // an index the text never names is read as a slot
    bool bNamed = false;
    std::string strConversion;              // "%" plus the conversion, ready for snprintf
    union { const char* psz; int n; long l; long long ll; double d; void* p; } value{};
};

const int MAX_INSERTS = 99;

// Reads "%<n>" or "%<n>!conversion!" at pszAt (just past the '%'); nIndex 0 when it is no insert.
LPCSTR ParseInsert(LPCSTR pszAt, int& nIndex, std::string& strConversion)
{
    nIndex = 0;
    if (*pszAt < '1' || *pszAt > '9')
        return pszAt;
    nIndex = *pszAt++ - '0';
    if (*pszAt >= '0' && *pszAt <= '9')
        nIndex = nIndex * 10 + (*pszAt++ - '0');
    strConversion = "%s";
    if (*pszAt == '!') {
        LPCSTR pszEnd = std::strchr(pszAt + 1, '!');
        if (pszEnd != nullptr && pszEnd - pszAt - 1 < 16) {
            strConversion.assign("%").append(pszAt + 1, static_cast<size_t>(pszEnd - pszAt - 1));
            pszAt = pszEnd + 1;
        }
    }
    return pszAt;
}

// The argument type a printf conversion consumes; the original's "I64" size becomes "ll".
// False for one we do not format (an unknown letter, or a '*' that would read a hidden slot).
bool ClassifyConversion(std::string& strConversion, InsertKind& nKind)
{
    size_t nI64 = strConversion.find("I64");
    if (nI64 != std::string::npos)
        strConversion.replace(nI64, 3, "ll");
    if (strConversion.size() < 2 || strConversion.find_first_not_of("%-+ #0123456789.hl", 0) != strConversion.size() - 1)
        return false;
    char chConv = strConversion.back();
    bool bLongLong = strConversion.find("ll") != std::string::npos;
    bool bLong = !bLongLong && strConversion.find('l') != std::string::npos;
    if (std::strchr("diouxXc", chConv))
        nKind = chConv == 'c' ? INSERT_INT : bLongLong ? INSERT_LONGLONG : bLong ? INSERT_LONG : INSERT_INT;
    else if (std::strchr("feEgG", chConv))
        nKind = INSERT_DOUBLE;
    else if (chConv == 's')
        nKind = INSERT_TEXT;
    else if (chConv == 'p')
        nKind = INSERT_POINTER;
    else
        return false;
    return true;
}

void AppendInsert(std::string& strOut, const InsertArg& arg)
{
    // The conversion was matched to its argument's type when the argument was read.
    const char* pszConversion = arg.strConversion.c_str();
    switch (arg.nKind) {
    case INSERT_TEXT:     AppendF(strOut, pszConversion, arg.value.psz ? arg.value.psz : ""); break;
    case INSERT_INT:      AppendF(strOut, pszConversion, arg.value.n); break;
    case INSERT_LONG:     AppendF(strOut, pszConversion, arg.value.l); break;
    case INSERT_LONGLONG: AppendF(strOut, pszConversion, arg.value.ll); break;
    case INSERT_DOUBLE:   AppendF(strOut, pszConversion, arg.value.d); break;
    case INSERT_POINTER:  AppendF(strOut, pszConversion, arg.value.p); break;
    }
}

} // namespace

void CString::Format(LPCSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::FormatFromResource(UINT nFormatId, ...)
{
    CString strFormat;
    strFormat.LoadString(nFormatId);
    va_list args;
    va_start(args, nFormatId);
    FormatV(strFormat, args);
    va_end(args);
}

void CString::FormatV(LPCSTR pszFormat, va_list args)
{
    // Into a fresh text: an argument may be this very string.
    std::string strResult;
    if (pszFormat != nullptr)
        AppendV(strResult, pszFormat, args);
    m_str.swap(strResult);
}

void CString::AppendFormat(LPCSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    AppendFormatV(pszFormat, args);
    va_end(args);
}

void CString::AppendFormatV(LPCSTR pszFormat, va_list args)
{
    std::string strAdd;
    if (pszFormat != nullptr)
        AppendV(strAdd, pszFormat, args);
    m_str += strAdd;
}

void CString::FormatMessageArgs(LPCSTR pszFormat, int nArgs, ...)
{
    if (pszFormat == nullptr) {
        Empty();
        return;
    }
    va_list args;
    va_start(args, nArgs);
    // First pass: which inserts the text names, and the type each one takes.
    std::vector<InsertArg> inserts(MAX_INSERTS + 1);
    int nHighest = 0;
    for (LPCSTR psz = std::strchr(pszFormat, '%'); psz != nullptr; psz = std::strchr(psz, '%')) {
        int nIndex;
        std::string strConversion;
        LPCSTR pszNext = ParseInsert(psz + 1, nIndex, strConversion);
        InsertArg& arg = inserts[static_cast<size_t>(nIndex)];
        InsertKind nKind;
        if (nIndex > 0 && nIndex <= nArgs && !arg.bNamed && ClassifyConversion(strConversion, nKind)) {
            arg.bNamed = true;
            arg.nKind = nKind;
            arg.strConversion = strConversion;
        }
        if (nIndex <= nArgs)
            nHighest = std::max(nHighest, nIndex);
        psz = nIndex > 0 ? pszNext : (psz[1] != '\0' ? psz + 2 : psz + 1);
    }
    // Second pass over the arguments, in order.
    for (int i = 1; i <= nHighest; ++i) {
        InsertArg& arg = inserts[static_cast<size_t>(i)];
        switch (arg.nKind) {
        case INSERT_TEXT:     arg.value.psz = va_arg(args, const char*); break;
        case INSERT_INT:      arg.value.n = va_arg(args, int); break;
        case INSERT_LONG:     arg.value.l = va_arg(args, long); break;
        case INSERT_LONGLONG: arg.value.ll = va_arg(args, long long); break;
        case INSERT_DOUBLE:   arg.value.d = va_arg(args, double); break;
        case INSERT_POINTER:  arg.value.p = va_arg(args, void*); break;
        }
    }
    va_end(args);
    // Third pass: the text with the inserts in place.
    std::string strResult;
    for (LPCSTR psz = pszFormat; *psz != '\0';) {
        if (*psz != '%') {
            strResult += *psz++;
            continue;
        }
        int nIndex;
        std::string strConversion;
        LPCSTR pszNext = ParseInsert(psz + 1, nIndex, strConversion);
        if (nIndex > 0) {
            const InsertArg& arg = inserts[static_cast<size_t>(nIndex)];
            if (arg.bNamed)
                AppendInsert(strResult, arg);
            else
                strResult.append(psz, static_cast<size_t>(pszNext - psz));  // a conversion we do not format
            psz = pszNext;
            continue;
        }
        char chEscape = psz[1];
        if (chEscape == '0')
            break;
        if (chEscape == '\0') {
            strResult += '%';
            break;
        }
        switch (chEscape) {
        case 'n': strResult += "\r\n"; break;
        case 'r': strResult += '\r'; break;
        case 't': strResult += '\t'; break;
        default:  strResult += chEscape; break;    // "%%", "%!", "%." and the like
        }
        psz += 2;
    }
    m_str.swap(strResult);
}

BOOL CString::LoadString(UINT nId)
{
    return LoadString(TbGetResourceModule(), nId);
}

BOOL CString::LoadString(HINSTANCE hInstance, UINT nId)
{
    // Grow until the text fits: a text cut to the buffer fills it exactly.
    for (int nSize = 256; nSize <= 65536; nSize *= 2) {
        std::vector<char> buffer(static_cast<size_t>(nSize));
        int nLength = LoadStringA(hInstance, nId, buffer.data(), nSize);
        if (nLength <= 0)
            return FALSE;
        if (nLength < nSize - 1 || nSize == 65536) {
            m_str.assign(buffer.data(), static_cast<size_t>(nLength));
            return TRUE;
        }
    }
    return FALSE;
}
