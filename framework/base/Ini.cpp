#include "framework/base/Ini.h"

#include <cinttypes>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/win/kernel/Profile.h"

namespace {

const DWORD TEXT_BUFFER = 256;          // texts, flags, longs and fonts: at most 255 characters
const DWORD COLOR_BUFFER = 41;
const int DEVMODE_CHUNK = 40;           // bytes per key, 80 hex digits
const COLORREF PALETTE_RELATIVE = 0x02000000;

// Reads one decimal number the way "%d" does; clamps instead of overflowing.
const char* ScanInt(const char* psz, int* pnValue)
{
    while (*psz == ' ' || *psz == '\t' || *psz == '\n' || *psz == '\r' || *psz == '\v' || *psz == '\f')
        ++psz;
    const bool bNegative = *psz == '-';
    if (*psz == '-' || *psz == '+')
        ++psz;
    if (*psz < '0' || *psz > '9')
        return nullptr;
    int64_t n = 0;
    for (; *psz >= '0' && *psz <= '9'; ++psz) {
        if (n <= INT64_C(1) << 32)
            n = n * 10 + (*psz - '0');
    }
    if (bNegative)
        n = -n;
    *pnValue = n < INT_MIN ? INT_MIN : n > INT_MAX ? INT_MAX : static_cast<int>(n);
    return psz;
}

// atol of a text, held within the 32-bit range that files and the wire rely on.
LONG TextToLong(const char* psz)
{
    const long long n = strtoll(psz, nullptr, 10);
    return n < INT32_MIN ? INT32_MIN : n > INT32_MAX ? INT32_MAX : static_cast<LONG>(n);
}

} // namespace

int ScanIntList(const char* pszText, int* pnValues, int nMax)
{
    int nRead = 0;
    const char* psz = pszText;
    while (psz != nullptr && nRead < nMax) {
        psz = ScanInt(psz, &pnValues[nRead]);
        if (psz == nullptr)
            break;
        ++nRead;
        if (nRead < nMax) {
            if (*psz != ',')
                break;
            ++psz;
        }
    }
    return nRead;
}

BYTE HexPairToByte(const char* pszPair)
{
    auto digit = [](char ch) -> int {
        if (ch >= '0' && ch <= '9')
            return ch - '0';
        if (ch >= 'a' && ch <= 'f')
            return ch - 'a' + 10;
        if (ch >= 'A' && ch <= 'F')
            return ch - 'A' + 10;
        return 0;
    };
    return static_cast<BYTE>(digit(pszPair[0]) * 16 + digit(pszPair[1]));
}

CIni::CIni(const char* pszFile, const char* pszSection) : m_strFile(pszFile), m_strSection(pszSection)
{
}

DWORD CIni::ReadProfileString(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszDefault, LPSTR pszOut, DWORD cchOut,
                              LPCSTR pszFile)
{
    return GetPrivateProfileStringA(pszSection, pszKey, pszDefault, pszOut, cchOut, pszFile);
}

int CIni::ReadProfileInt(LPCSTR pszSection, LPCSTR pszKey, int nDefault, LPCSTR pszFile)
{
    return static_cast<int>(GetPrivateProfileIntA(pszSection, pszKey, nDefault, pszFile));
}

BOOL CIni::WriteProfileString(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszValue, LPCSTR pszFile)
{
    return WritePrivateProfileStringA(pszSection, pszKey, pszValue, pszFile);
}

CTBString CIni::KeyText(UINT uKeyId)
{
    CTBString strKey;
    strKey.LoadAppString(uKeyId);
    return strKey;
}

BOOL CIni::WriteValue(const CTBString& strKey, const char* pszValue)
{
    return WriteProfileString(m_strSection, strKey, pszValue, m_strFile);
}

int CIni::GetInt(const CTBString& strKey, int nDefault)
{
    return ReadProfileInt(m_strSection, strKey, nDefault, m_strFile);
}

BOOL CIni::WriteInt(const CTBString& strKey, int nValue)
{
    char szValue[16];
    snprintf(szValue, sizeof(szValue), "%d", nValue);
    return WriteValue(strKey, szValue);
}

LONG CIni::GetLong(const CTBString& strKey, LONG nDefault)
{
    char szDefault[16];
    snprintf(szDefault, sizeof(szDefault), "%" PRId32, nDefault);
    char szValue[TEXT_BUFFER];
    ReadProfileString(m_strSection, strKey, szDefault, szValue, sizeof(szValue), m_strFile);
    szValue[sizeof(szValue) - 1] = '\0';
    if (!CTBString(szValue).IsNumber())
        return nDefault;
    return TextToLong(szValue);
}

BOOL CIni::WriteLong(const CTBString& strKey, LONG nValue)
{
    char szValue[16];
    snprintf(szValue, sizeof(szValue), "%" PRId32, nValue);
    return WriteValue(strKey, szValue);
}

CTBString CIni::GetString(const CTBString& strKey, const char* pszDefault)
{
    char szValue[TEXT_BUFFER];
    ReadProfileString(m_strSection, strKey, pszDefault != nullptr ? pszDefault : "", szValue, sizeof(szValue),
                      m_strFile);
    szValue[sizeof(szValue) - 1] = '\0';
    return CTBString(szValue).Replace("\\n", "\n");
}

BOOL CIni::WriteString(const CTBString& strKey, const char* pszText)
{
    return WriteValue(strKey, CTBString(pszText).Replace("\n", "\\n"));
}

BOOL CIni::GetBool(const CTBString& strKey, BOOL bDefault)
{
    char szValue[TEXT_BUFFER];
    ReadProfileString(m_strSection, strKey, bDefault ? "Yes" : "No", szValue, sizeof(szValue), m_strFile);
    const char ch = szValue[0];
    return ch == '1' || ch == 'J' || ch == 'j' || ch == 'Y' || ch == 'y';
}

BOOL CIni::WriteBool(const CTBString& strKey, BOOL bValue)
{
    return WriteValue(strKey, bValue ? "Yes" : "No");
}

COLORREF CIni::GetColor(const CTBString& strKey, COLORREF crDefault)
{
    char szDefault[COLOR_BUFFER];
    snprintf(szDefault, sizeof(szDefault), "%d,%d,%d", GetRValue(crDefault), GetGValue(crDefault),
             GetBValue(crDefault));
    char szValue[COLOR_BUFFER];
    ReadProfileString(m_strSection, strKey, szDefault, szValue, sizeof(szValue), m_strFile);
    szValue[sizeof(szValue) - 1] = '\0';
    int rgb[3];
    if (ScanIntList(szValue, rgb, 3) != 3)
        return crDefault;
    for (int n : rgb) {
        if (n < 0 || n > 255)
            return crDefault;
    }
    return PALETTE_RELATIVE | RGB(rgb[0], rgb[1], rgb[2]);
}

BOOL CIni::WriteColor(const CTBString& strKey, COLORREF crValue)
{
    char szValue[COLOR_BUFFER];
    snprintf(szValue, sizeof(szValue), "%d,%d,%d", GetRValue(crValue), GetGValue(crValue), GetBValue(crValue));
    return WriteValue(strKey, szValue);
}

BOOL CIni::ReadFontRecord(const CTBString& strKey, LOGFONTA* pLogFont)
{
    CTBString strRest = GetString(strKey, "");
    if (strRest.IsBlank())
        return FALSE;
    LOGFONTA lf = *pLogFont;
    CTBString strField = strRest;
    strField.SplitToken(",", strRest);
    // The whole face field is replaced, so no tail of an earlier name stays behind the new one.
    memset(lf.lfFaceName, 0, sizeof(lf.lfFaceName));
    snprintf(lf.lfFaceName, sizeof(lf.lfFaceName), "%s", static_cast<const char*>(strField));

    LONG* const pLongs[] = {&lf.lfHeight, &lf.lfWidth, &lf.lfEscapement, &lf.lfOrientation, &lf.lfWeight};
    BYTE* const pBytes[] = {&lf.lfItalic, &lf.lfUnderline, &lf.lfStrikeOut, &lf.lfCharSet,
                            &lf.lfOutPrecision, &lf.lfClipPrecision, &lf.lfQuality, &lf.lfPitchAndFamily};
    const int nLongs = sizeof(pLongs) / sizeof(pLongs[0]);
    const int nFields = nLongs + static_cast<int>(sizeof(pBytes) / sizeof(pBytes[0]));
    for (int i = 0; i < nFields; ++i) {
        if (strRest.IsBlank())
            return FALSE;
        strField = strRest;
        strField.SplitToken(",", strRest);
        const LONG nValue = TextToLong(strField);
        if (i < nLongs)
            *pLongs[i] = nValue;
        else
            *pBytes[i - nLongs] = static_cast<BYTE>(nValue);
    }
    *pLogFont = lf;
    return TRUE;
}

BOOL CIni::WriteFontRecord(const CTBString& strKey, const LOGFONTA& lf)
{
    char szFace[sizeof(lf.lfFaceName) + 1];
    snprintf(szFace, sizeof(szFace), "%.*s", static_cast<int>(sizeof(lf.lfFaceName)), lf.lfFaceName);
    CTBString strValue;
    strValue.Format("%s,%" PRId32 ",%" PRId32 ",%" PRId32 ",%" PRId32 ",%" PRId32 ",%d,%d,%d,%d,%d,%d,%d,%d", szFace,
                    lf.lfHeight, lf.lfWidth, lf.lfEscapement, lf.lfOrientation, lf.lfWeight, lf.lfItalic,
                    lf.lfUnderline, lf.lfStrikeOut, lf.lfCharSet, lf.lfOutPrecision, lf.lfClipPrecision,
                    lf.lfQuality, lf.lfPitchAndFamily);
    return WriteValue(strKey, strValue);
}

void CIni::BlankChunks(const CTBString& strKey, const char* pszForm)
{
    for (int n = 0;; ++n) {
        CTBString strChunk;
        strChunk.Format(pszForm, static_cast<const char*>(strKey), n);
        char szValue[2 * DEVMODE_CHUNK + 1];
        ReadProfileString(m_strSection, strChunk, "", szValue, sizeof(szValue), m_strFile);
        if (IsBlankText(szValue))
            return;
        // A store that refuses the blank would keep us on this key for ever.
        if (!WriteValue(strChunk, ""))
            return;
    }
}

BOOL CIni::WriteChunks(const CTBString& strKey, const char* pszForm, const BYTE* pBytes, int cbBytes)
{
    BOOL bOk = TRUE;
    for (int n = 0; n * DEVMODE_CHUNK < cbBytes; ++n) {
        char szHex[2 * DEVMODE_CHUNK + 1];
        const int cb = cbBytes - n * DEVMODE_CHUNK < DEVMODE_CHUNK ? cbBytes - n * DEVMODE_CHUNK : DEVMODE_CHUNK;
        for (int i = 0; i < cb; ++i)
            snprintf(szHex + 2 * i, 3, "%02x", pBytes[n * DEVMODE_CHUNK + i]);
        szHex[2 * cb] = '\0';
        CTBString strChunk;
        strChunk.Format(pszForm, static_cast<const char*>(strKey), n);
        if (!WriteValue(strChunk, szHex))
            bOk = FALSE;
    }
    return bOk;
}

int CIni::ReadChunks(const CTBString& strKey, const char* pszForm, BYTE* pBytes, int cbMax)
{
    int cbRead = 0;
    for (int n = 0; cbRead < cbMax; ++n) {
        CTBString strChunk;
        strChunk.Format(pszForm, static_cast<const char*>(strKey), n);
        char szHex[TEXT_BUFFER];
        ReadProfileString(m_strSection, strChunk, "", szHex, sizeof(szHex), m_strFile);
        szHex[sizeof(szHex) - 1] = '\0';
        if (IsBlankText(szHex))
            break;
        for (const char* psz = szHex; psz[0] != '\0' && psz[1] != '\0' && cbRead < cbMax; psz += 2)
            pBytes[cbRead++] = HexPairToByte(psz);
    }
    return cbRead;
}

BOOL CIni::GetDevMode(const CTBString& strKey, DEVMODEA* pDevMode)
{
    if (pDevMode == nullptr)
        return FALSE;
    // The sizes come from the caller before anything is overwritten: the stored bytes carry
    // sizes of their own, and a damaged file must not decide how far we write.
    const WORD cbPublic = pDevMode->dmSize;
    const WORD cbPrivate = pDevMode->dmDriverExtra;
    BYTE* pBytes = reinterpret_cast<BYTE*>(pDevMode);
    const int cbRead = ReadChunks(strKey, "%s.%d", pBytes, cbPublic);
    pDevMode->dmSize = cbPublic;
    if (pDevMode->dmDriverExtra == cbPrivate)
        ReadChunks(strKey, "%s.x%d", pBytes + cbPublic, cbPrivate);
    pDevMode->dmDriverExtra = cbPrivate;
    return cbRead > 0;
}

BOOL CIni::WriteDevMode(const CTBString& strKey, const DEVMODEA* pDevMode)
{
    BlankChunks(strKey, "%s.%d");
    BlankChunks(strKey, "%s.x%d");
    if (pDevMode == nullptr)
        return TRUE;
    const BYTE* pBytes = reinterpret_cast<const BYTE*>(pDevMode);
    const BOOL bPublic = WriteChunks(strKey, "%s.%d", pBytes, pDevMode->dmSize);
    const BOOL bPrivate = WriteChunks(strKey, "%s.x%d", pBytes + pDevMode->dmSize, pDevMode->dmDriverExtra);
    return bPublic && bPrivate;
}
