#include "framework/base/TBString.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Resources.h"

const char CTBString::s_szEmpty[1] = "";

namespace {
const int FORMAT_BUFFER = 1024;
const int RESOURCE_BUFFER = 512;

// A new[] buffer of nCount + 1 zeroed bytes holding at most nCount bytes of pszText.
char* NewZeroed(const char* pszText, int nCount)
{
    char* pszBuffer = new char[static_cast<size_t>(nCount) + 1]();
    if (pszText != nullptr)
        memcpy(pszBuffer, pszText, strnlen(pszText, static_cast<size_t>(nCount)));
    return pszBuffer;
}
}  // namespace

CTBString::CTBString(const char* pszText)
{
    *this = pszText;
}

CTBString::CTBString(const char* pszText, int nCount)
{
    Assign(pszText, nCount);
}

CTBString::CTBString(char ch)
{
    Assign(&ch, 1);
}

CTBString::CTBString(const CTBString& other)
{
    *this = other.m_pszData;
}

CTBString::CTBString(CTBString&& other) noexcept
    : m_nLength(other.m_nLength), m_pszData(other.m_pszData)
{
    other.m_nLength = 0;
    other.m_pszData = const_cast<char*>(s_szEmpty);
}

CTBString& CTBString::operator=(const char* pszText)
{
    if (pszText == nullptr)
        Empty();
    else if (pszText != m_pszData)
        Assign(pszText, static_cast<int>(strlen(pszText)));
    return *this;
}

CTBString& CTBString::operator=(const CTBString& other)
{
    return *this = other.m_pszData;
}

CTBString& CTBString::operator=(CTBString&& other) noexcept
{
    if (this != &other) {
        Empty();
        m_nLength = other.m_nLength;
        m_pszData = other.m_pszData;
        other.m_nLength = 0;
        other.m_pszData = const_cast<char*>(s_szEmpty);
    }
    return *this;
}

CTBString& CTBString::operator=(char ch)
{
    Assign(&ch, 1);
    return *this;
}

void CTBString::Adopt(char* pszBuffer, int nLength)
{
    // The new text may have been copied out of the old buffer (a substring of ourselves), so the
    // old one goes only once the new one is in place.
    char* pszOld = HasBuffer() ? m_pszData : nullptr;
    m_pszData = pszBuffer;
    m_nLength = nLength;
    delete[] pszOld;
}

void CTBString::Assign(const char* pszText, int nCount)
{
    if (pszText == nullptr) {
        Empty();
        return;
    }
    if (nCount < 0)
        nCount = 0;
    if (nCount > INT32_MAX - 1)
        nCount = INT32_MAX - 1;             // the stored length counts the NUL as well
    Adopt(NewZeroed(pszText, nCount), nCount + 1);
}

void CTBString::Empty()
{
    if (HasBuffer())
        delete[] m_pszData;
    m_nLength = 0;
    m_pszData = const_cast<char*>(s_szEmpty);
}

CTBString& CTBString::operator+=(const char* pszText)
{
    if (pszText == nullptr || *pszText == '\0')
        return *this;
    if (!HasBuffer())
        return *this = pszText;
    size_t cchOld = strlen(m_pszData);
    size_t cchAdd = strlen(pszText);
    char* pszBuffer = new char[cchOld + cchAdd + 1];
    memcpy(pszBuffer, m_pszData, cchOld);
    memcpy(pszBuffer + cchOld, pszText, cchAdd + 1);
    Adopt(pszBuffer, static_cast<int>(cchOld + cchAdd + 1));
    return *this;
}

CTBString& CTBString::operator+=(const CTBString& other)
{
    return *this += other.m_pszData;
}

CTBString CTBString::operator+(const char* pszText) const
{
    CTBString strResult(*this);
    strResult += pszText;
    return strResult;
}

CTBString CTBString::operator+(const CTBString& other) const
{
    return *this + other.m_pszData;
}

void CTBString::Format(const char* pszFormat, ...)
{
    char szBuffer[FORMAT_BUFFER];
    szBuffer[0] = '\0';
    if (pszFormat != nullptr) {
        va_list args;
        va_start(args, pszFormat);
        // vsnprintf cuts a longer text at 1023 characters instead of running past the buffer.
        if (vsnprintf(szBuffer, sizeof(szBuffer), pszFormat, args) < 0)
            szBuffer[0] = '\0';
        va_end(args);
    }
    *this = szBuffer;
}

BOOL CTBString::LoadString(HINSTANCE hModule, UINT uId)
{
    char szBuffer[RESOURCE_BUFFER];
    szBuffer[0] = '\0';
    if (LoadStringA(hModule, uId, szBuffer, RESOURCE_BUFFER) > 0) {
        szBuffer[RESOURCE_BUFFER - 1] = '\0';
        *this = szBuffer;
        return TRUE;
    }
    Format("SID %d", static_cast<int>(uId));
    return FALSE;
}

CTBString& CTBString::LoadStringOrEmpty(HINSTANCE hModule, UINT uId)
{
    if (!LoadString(hModule, uId))
        Empty();
    return *this;
}

CTBString& CTBString::LoadAppString(UINT uId)
{
    return LoadStringOrEmpty(TbGetResourceModule(), uId);
}

char CTBString::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nLength)
        return '\0';
    return m_pszData[nIndex];
}

BOOL CTBString::HasChar(char ch) const
{
    return HasBuffer() && strchr(m_pszData, ch) != nullptr;
}

int CTBString::Find(char ch, int nStart) const
{
    if (nStart < 0)
        nStart = 0;
    if (!HasBuffer() || nStart >= m_nLength)
        return -1;
    const char* pszFound = strchr(m_pszData + nStart, ch);
    return pszFound == nullptr ? -1 : static_cast<int>(pszFound - m_pszData);
}

int CTBString::Find(const char* pszSub) const
{
    const char* pszFound = FindStringMB(m_pszData, pszSub);
    return pszFound == nullptr ? -1 : static_cast<int>(pszFound - m_pszData);
}

BOOL CTBString::IsNumber() const
{
    for (const char* p = m_pszData; *p != '\0'; ++p)
        if (!TbIsDigit(static_cast<unsigned char>(*p)) && *p != '+' && *p != '-')
            return FALSE;
    return TRUE;
}

BOOL CTBString::IsDigits() const
{
    for (const char* p = m_pszData; *p != '\0'; ++p)
        if (!TbIsDigit(static_cast<unsigned char>(*p)))
            return FALSE;
    return TRUE;
}

BOOL CTBString::IsBlank() const
{
    return IsBlankText(m_pszData);
}

bool CTBString::operator==(const char* pszText) const
{
    if (!HasBuffer())
        return pszText == nullptr || *pszText == '\0';
    return pszText != nullptr && strcmp(m_pszData, pszText) == 0;
}

bool CTBString::operator==(const CTBString& other) const
{
    return *this == other.m_pszData;
}

void CTBString::MakeLeft(int nCount)
{
    if (nCount < 0)
        nCount = 0;
    if (!HasBuffer() || nCount >= m_nLength)
        return;
    Assign(m_pszData, nCount);
}

void CTBString::MakeRight(int nCount)
{
    if (nCount < 0)
        nCount = 0;
    if (!HasBuffer() || nCount >= m_nLength)
        return;
    Assign(m_pszData + GetLength() - nCount, nCount);
}

void CTBString::MakeUpper()
{
    // The shared empty text is read-only, and the page's own table decides the case, not the
    // machine's locale.
    if (!HasBuffer())
        return;
    for (int i = 0; i < GetLength(); ++i)
        m_pszData[i] = static_cast<char>(TbToUpper(static_cast<unsigned char>(m_pszData[i])));
}

void CTBString::MakeLower()
{
    if (!HasBuffer())
        return;
    for (int i = 0; i < GetLength(); ++i)
        m_pszData[i] = static_cast<char>(TbToLower(static_cast<unsigned char>(m_pszData[i])));
}

void CTBString::TrimRight(const char* pszSet)
{
    if (!HasBuffer() || pszSet == nullptr || *pszSet == '\0')
        return;
    size_t cchKeep = strlen(m_pszData);
    while (cchKeep > 0 && strchr(pszSet, m_pszData[cchKeep - 1]) != nullptr)
        --cchKeep;
    if (cchKeep == 0)
        Empty();
    else if (cchKeep != strlen(m_pszData))
        Assign(m_pszData, static_cast<int>(cchKeep));
}

void CTBString::SplitToken(const char* pszDelims, CTBString& strRest)
{
    if (!HasBuffer()) {
        strRest = "";
        return;
    }
    if (pszDelims == nullptr)
        pszDelims = "";
    // The same cut strtok would make, without its hidden position between calls.
    const char* pszToken = m_pszData + strspn(m_pszData, pszDelims);
    if (*pszToken == '\0') {
        *this = "";
        strRest = "";
        return;
    }
    const char* pszEnd = pszToken + strcspn(pszToken, pszDelims);
    CTBString strToken(pszToken, static_cast<int>(pszEnd - pszToken));
    CTBString strAfter(*pszEnd == '\0' ? "" : pszEnd + 1);
    strRest = static_cast<CTBString&&>(strAfter);
    *this = static_cast<CTBString&&>(strToken);
}

CTBString CTBString::Left(int nCount) const
{
    CTBString strResult(*this);
    strResult.MakeLeft(nCount);
    return strResult;
}

CTBString CTBString::Right(int nCount) const
{
    CTBString strResult(*this);
    strResult.MakeRight(nCount);
    return strResult;
}

CTBString CTBString::Mid(int nStart, int nCount) const
{
    if (nStart < 0)
        nStart = 0;
    int nLength = GetLength();
    if (nStart >= nLength || nCount <= 0)
        return CTBString();
    if (nCount > nLength - nStart)
        nCount = nLength - nStart;
    return CTBString(m_pszData + nStart, nCount);
}

CTBString CTBString::Replace(const char* pszFrom, const char* pszTo) const
{
    if (pszFrom == nullptr || *pszFrom == '\0')
        return *this;
    if (pszTo == nullptr)
        pszTo = "";
    size_t cchFrom = strlen(pszFrom);
    std::string result;
    const char* pszRead = m_pszData;
    for (const char* pszHit = FindStringMB(pszRead, pszFrom); pszHit != nullptr;
         pszHit = FindStringMB(pszRead, pszFrom)) {
        result.append(pszRead, static_cast<size_t>(pszHit - pszRead));
        result.append(pszTo);
        pszRead = pszHit + cchFrom;
    }
    result.append(pszRead);
    if (result.empty())
        return CTBString();
    return CTBString(result.c_str());
}

CTBString CTBString::ReplaceChar(char chFrom, char chTo) const
{
    CTBString strResult(*this);
    if (!strResult.HasBuffer())
        return strResult;
    for (char* p = strResult.m_pszData; *p != '\0'; p = CharNextA(p))
        if (*p == chFrom)
            *p = chTo;
    return strResult;
}

char* CTBString::Duplicate() const
{
    if (!HasBuffer())
        return nullptr;
    char* pszCopy = new char[static_cast<size_t>(m_nLength)];
    memcpy(pszCopy, m_pszData, static_cast<size_t>(m_nLength));
    return pszCopy;
}

char* CTBString::DuplicateN(int nCount) const
{
    return NewZeroed(m_pszData, nCount < 0 ? 0 : nCount);
}

const char* FindStringMB(const char* pszText, const char* pszSub)
{
    if (pszText == nullptr || pszSub == nullptr)
        return nullptr;
    if (*pszSub == '\0')
        return pszText;
    size_t cchSub = strlen(pszSub);
    for (const char* p = pszText; *p != '\0'; p = CharNextA(p))
        if (strncmp(p, pszSub, cchSub) == 0)
            return p;
    return nullptr;
}

BOOL IsBlankText(const char* pszText)
{
    if (pszText == nullptr)
        return TRUE;
    for (; *pszText != '\0'; ++pszText)
        if (*pszText != ' ' && *pszText != '\t')
            return FALSE;
    return TRUE;
}
