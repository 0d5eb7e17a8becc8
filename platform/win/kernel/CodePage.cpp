// Code pages 1252 and 1256: conversions, character classes and case.
#include "platform/win/kernel/CodePage.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/win/kernel/CodePageTables.h"
#include "platform/win/kernel/Kernel.h"

namespace {
#include "platform/win/kernel/CodePageTables.inc"

const TbPageTables s_page1252 = {1252, s_toUnicode1252, s_flags1252, s_upper1252, s_lower1252, s_collation1252};
const TbPageTables s_page1256 = {1256, s_toUnicode1256, s_flags1256, s_upper1256, s_lower1256, s_collation1256};

// One UI thread owns the process's page; start-up sets it once the language is known.
UINT s_uActivePage = 1252;

const UINT REPLACEMENT = 0xFFFD;

// Unicode back to a byte: the upper half of each page, sorted by code point.
struct CReverseMap {
    std::array<std::pair<UINT, BYTE>, 128> entries;
    explicit CReverseMap(const TbPageTables& page)
    {
        for (int i = 0; i < 128; ++i)
            entries[i] = {page.toUnicode[128 + i], static_cast<BYTE>(128 + i)};
        std::sort(entries.begin(), entries.end());
    }
    // Returns FALSE when the page has no byte for the code point.
    BOOL Find(UINT uCode, BYTE* pb) const
    {
        // The Arabic keyboards type digits as Arabic-Indic or Eastern Arabic-Indic digits, and
        // numbers with the Arabic decimal and thousands separators, which neither page holds:
        // they are the same digits and separators, so they arrive as '0'..'9', '.' and ','. A
        // separator dropped would make "73.1" of "٧٣٫١" read 731.
        if ((uCode >= 0x0660 && uCode <= 0x0669) || (uCode >= 0x06F0 && uCode <= 0x06F9))
            uCode = '0' + (uCode & 0x0F);
        else if (uCode == 0x066B)
            uCode = '.';
        else if (uCode == 0x066C)
            uCode = ',';
        if (uCode < 0x80) {
            *pb = static_cast<BYTE>(uCode);
            return TRUE;
        }
        auto it = std::lower_bound(entries.begin(), entries.end(), std::make_pair(uCode, BYTE(0)));
        if (it == entries.end() || it->first != uCode)
            return FALSE;
        *pb = it->second;
        return TRUE;
    }
};

const CReverseMap& ReverseMap(const TbPageTables& page)
{
    static const CReverseMap s_map1252(s_page1252);
    static const CReverseMap s_map1256(s_page1256);
    return page.uCodePage == 1256 ? s_map1256 : s_map1252;
}

// Decodes one UTF-8 sequence at text[i], advancing i; malformed input gives U+FFFD and
// consumes one byte, so a damaged text never stalls or reads past its end.
UINT DecodeUtf8(std::string_view text, size_t& i)
{
    const BYTE b0 = static_cast<BYTE>(text[i++]);
    if (b0 < 0x80)
        return b0;
    int nMore;
    UINT uCode, uMin;
    if (b0 >= 0xC2 && b0 <= 0xDF) { nMore = 1; uCode = b0 & 0x1F; uMin = 0x80; }
    else if (b0 >= 0xE0 && b0 <= 0xEF) { nMore = 2; uCode = b0 & 0x0F; uMin = 0x800; }
    else if (b0 >= 0xF0 && b0 <= 0xF4) { nMore = 3; uCode = b0 & 0x07; uMin = 0x10000; }
    else return REPLACEMENT;
    if (text.size() - i < static_cast<size_t>(nMore))
        return REPLACEMENT;
    for (int k = 0; k < nMore; ++k) {
        const BYTE b = static_cast<BYTE>(text[i + k]);
        if ((b & 0xC0) != 0x80)
            return REPLACEMENT;
        uCode = (uCode << 6) | (b & 0x3F);
    }
    if (uCode < uMin || uCode > 0x10FFFF || (uCode >= 0xD800 && uCode <= 0xDFFF))
        return REPLACEMENT;
    i += nMore;
    return uCode;
}

void AppendUtf8(std::string& out, UINT uCode)
{
    if (uCode > 0x10FFFF || (uCode >= 0xD800 && uCode <= 0xDFFF))
        uCode = REPLACEMENT;
    if (uCode < 0x80) {
        out += static_cast<char>(uCode);
    } else if (uCode < 0x800) {
        out += static_cast<char>(0xC0 | (uCode >> 6));
        out += static_cast<char>(0x80 | (uCode & 0x3F));
    } else if (uCode < 0x10000) {
        out += static_cast<char>(0xE0 | (uCode >> 12));
        out += static_cast<char>(0x80 | ((uCode >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (uCode & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (uCode >> 18));
        out += static_cast<char>(0x80 | ((uCode >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((uCode >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (uCode & 0x3F));
    }
}

const TbPageTables& ActivePage()
{
    return s_uActivePage == 1256 ? s_page1256 : s_page1252;
}

BYTE Flags(CHAR ch)
{
    return ActivePage().flags[static_cast<BYTE>(ch)];
}

// Code points of a wide text: wchar_t holds a whole code point here, but a UTF-16 pair
// that reaches us from a caller is joined too.
UINT NextWide(const WCHAR* pwsz, int cch, int& i)
{
    UINT u = static_cast<UINT>(pwsz[i++]);
    if (u >= 0xD800 && u <= 0xDBFF && i < cch) {
        const UINT lo = static_cast<UINT>(pwsz[i]);
        if (lo >= 0xDC00 && lo <= 0xDFFF) {
            ++i;
            return 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00);
        }
    }
    return u;
}
}  // namespace

const TbPageTables* TbFindPageTables(UINT uCodePage)
{
    if (uCodePage == CP_ACP)
        uCodePage = s_uActivePage;
    if (uCodePage == 1252)
        return &s_page1252;
    if (uCodePage == 1256)
        return &s_page1256;
    return nullptr;
}

UINT GetACP()
{
    return s_uActivePage;
}

BOOL TbSetActiveCodePage(UINT uCodePage)
{
    if (uCodePage != 1252 && uCodePage != 1256)
        return FALSE;
    s_uActivePage = uCodePage;
    return TRUE;
}

std::string TbCodePageToUtf8(std::string_view text, UINT uCodePage)
{
    const TbPageTables* pPage = TbFindPageTables(uCodePage);
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (char ch : text)
        AppendUtf8(out, pPage ? pPage->toUnicode[static_cast<BYTE>(ch)] : REPLACEMENT);
    return out;
}

std::string TbUtf8ToCodePage(std::string_view utf8, UINT uCodePage)
{
    const TbPageTables* pPage = TbFindPageTables(uCodePage);
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const UINT uCode = DecodeUtf8(utf8, i);
        BYTE b = '?';               // stays when the page has no such character
        if (pPage)
            ReverseMap(*pPage).Find(uCode, &b);
        out += static_cast<char>(b);
    }
    return out;
}

int MultiByteToWideChar(UINT uCodePage, DWORD /*dwFlags*/, LPCSTR pszText, int cbText, WCHAR* pwszOut, int cchOut)
{
    const TbPageTables* pPage = uCodePage == CP_UTF8 ? nullptr : TbFindPageTables(uCodePage);
    if (!pszText || cbText == 0 || cchOut < 0 || (cchOut > 0 && !pwszOut) || (!pPage && uCodePage != CP_UTF8)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // -1 takes the terminator along, as the original does.
    const size_t cb = cbText < 0 ? std::strlen(pszText) + 1 : static_cast<size_t>(cbText);
    const std::string_view text(pszText, cb);
    int nOut = 0;
    for (size_t i = 0; i < cb;) {
        UINT uCode;
        if (pPage)
            uCode = pPage->toUnicode[static_cast<BYTE>(text[i++])];
        else
            uCode = DecodeUtf8(text, i);
        if (cchOut > 0) {
            if (nOut >= cchOut) {
                SetLastError(ERROR_INSUFFICIENT_BUFFER);
                return 0;
            }
            pwszOut[nOut] = static_cast<WCHAR>(uCode);
        }
        ++nOut;
    }
    return nOut;
}

int WideCharToMultiByte(UINT uCodePage, DWORD /*dwFlags*/, const WCHAR* pwszText, int cchText, LPSTR pszOut, int cbOut,
                        LPCSTR pszDefault, LPBOOL pbUsedDefault)
{
    const TbPageTables* pPage = uCodePage == CP_UTF8 ? nullptr : TbFindPageTables(uCodePage);
    if (!pwszText || cchText == 0 || cbOut < 0 || (cbOut > 0 && !pszOut) || (!pPage && uCodePage != CP_UTF8)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int cch = cchText;
    if (cch < 0) {
        cch = 0;
        while (pwszText[cch])
            ++cch;
        ++cch;
    }
    if (pbUsedDefault)
        *pbUsedDefault = FALSE;
    const char chDefault = (pszDefault && *pszDefault) ? *pszDefault : '?';
    std::string bytes;
    for (int i = 0; i < cch;) {
        const UINT uCode = NextWide(pwszText, cch, i);
        if (!pPage) {
            AppendUtf8(bytes, uCode);
            continue;
        }
        BYTE b;
        if (!ReverseMap(*pPage).Find(uCode, &b)) {
            b = static_cast<BYTE>(chDefault);
            if (pbUsedDefault)
                *pbUsedDefault = TRUE;
        }
        bytes += static_cast<char>(b);
    }
    if (cbOut == 0)
        return static_cast<int>(bytes.size());
    if (bytes.size() > static_cast<size_t>(cbOut)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(pszOut, bytes.data(), bytes.size());
    return static_cast<int>(bytes.size());
}

BOOL IsCharAlphaA(CHAR ch)
{
    return (Flags(ch) & TB_CT_ALPHA) ? TRUE : FALSE;
}

BOOL IsCharAlphaNumericA(CHAR ch)
{
    return (Flags(ch) & (TB_CT_ALPHA | TB_CT_DIGIT)) ? TRUE : FALSE;
}

BOOL IsCharUpperA(CHAR ch)
{
    return (Flags(ch) & TB_CT_UPPER) ? TRUE : FALSE;
}

BOOL IsCharLowerA(CHAR ch)
{
    return (Flags(ch) & TB_CT_LOWER) ? TRUE : FALSE;
}

// A plain char that is signed arrives negative; it still names a byte of the page.
int TbToUpper(int ch)
{
    if (ch == -1 || ch < -128 || ch > 255)
        return ch;
    return ActivePage().upper[static_cast<BYTE>(ch)];
}

int TbToLower(int ch)
{
    if (ch == -1 || ch < -128 || ch > 255)
        return ch;
    return ActivePage().lower[static_cast<BYTE>(ch)];
}

BOOL TbIsDigit(int ch)
{
    return (ch >= '0' && ch <= '9') ? TRUE : FALSE;
}

BOOL TbIsSpace(int ch)
{
    return (ch == ' ' || (ch >= '\t' && ch <= '\r')) ? TRUE : FALSE;
}

namespace {
DWORD MapBuffer(LPSTR psz, DWORD cch, const BYTE* pMap)
{
    if (!psz)
        return 0;
    for (DWORD i = 0; i < cch; ++i)
        psz[i] = static_cast<char>(pMap[static_cast<BYTE>(psz[i])]);
    return cch;
}

// The original takes a character in the low word of the pointer instead of a text.
LPSTR MapText(LPSTR psz, const BYTE* pMap)
{
    const ULONG_PTR uValue = reinterpret_cast<ULONG_PTR>(psz);
    if (uValue >> 16 == 0) {
        if (uValue == 0)
            return nullptr;
        return reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(pMap[uValue & 0xFF]));
    }
    MapBuffer(psz, static_cast<DWORD>(std::strlen(psz)), pMap);
    return psz;
}
}  // namespace

LPSTR CharUpperA(LPSTR psz)
{
    return MapText(psz, ActivePage().upper);
}

LPSTR CharLowerA(LPSTR psz)
{
    return MapText(psz, ActivePage().lower);
}

DWORD CharUpperBuffA(LPSTR psz, DWORD cch)
{
    return MapBuffer(psz, cch, ActivePage().upper);
}

DWORD CharLowerBuffA(LPSTR psz, DWORD cch)
{
    return MapBuffer(psz, cch, ActivePage().lower);
}

LPSTR CharNextA(LPCSTR psz)
{
    if (!psz)
        return nullptr;
    return const_cast<LPSTR>(*psz ? psz + 1 : psz);
}

LPSTR CharPrevA(LPCSTR pszStart, LPCSTR psz)
{
    if (!psz)
        return nullptr;
    return const_cast<LPSTR>((pszStart && psz > pszStart) ? psz - 1 : psz);
}

BOOL IsDBCSLeadByte(BYTE /*b*/)
{
    return FALSE;
}

int lstrlenA(LPCSTR psz)
{
    return psz ? static_cast<int>(std::strlen(psz)) : 0;
}

LPSTR lstrcpynA(LPSTR pszDest, LPCSTR pszSrc, int cchMax)
{
    if (!pszDest || cchMax <= 0)
        return pszDest;
    int i = 0;
    if (pszSrc)
        for (; i < cchMax - 1 && pszSrc[i]; ++i)
            pszDest[i] = pszSrc[i];
    pszDest[i] = '\0';
    return pszDest;
}

std::string TbLeftToRightText(std::string_view text)
{
    // 1252 has no mark: its byte 0xFD is a letter.
    if (s_uActivePage != 1256)
        return std::string(text);
    const char chMark = '\xFD';
    return chMark + std::string(text) + chMark;
}
