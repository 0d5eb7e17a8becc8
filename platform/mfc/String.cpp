#include "platform/mfc/String.h"

#include <algorithm>
#include <cstring>
#include "platform/win/kernel/CodePage.h"

namespace {

const std::string::size_type npos = std::string::npos;

inline LPCSTR OrEmpty(LPCSTR psz) { return psz ? psz : ""; }

// Positions and counts are ints in the library's interface; std::string speaks size_t.
inline int ToIndex(std::string::size_type n) { return n == npos ? -1 : static_cast<int>(n); }

BOOL InSet(char ch, LPCSTR pszSet) { return ch != '\0' && std::strchr(pszSet, ch) != nullptr; }

} // namespace

CString::CString(LPCSTR psz)
{
    if (psz != nullptr && IS_INTRESOURCE(psz)) {
        // The library's way of naming a string resource where a text is expected.
        LoadString(LOWORD(reinterpret_cast<ULONG_PTR>(psz)));
        return;
    }
    m_str = OrEmpty(psz);
}

CString::CString(LPCSTR pch, int nLength)
{
    if (pch != nullptr && nLength > 0)
        m_str.assign(pch, strnlen(pch, static_cast<size_t>(nLength)));
}

CString::CString(char ch, int nRepeat)
{
    if (nRepeat > 0)
        m_str.assign(static_cast<size_t>(nRepeat), ch);
}

CString& CString::operator=(LPCSTR psz)
{
    m_str = OrEmpty(psz);   // std::string copes with a source inside its own buffer
    return *this;
}

CString& CString::operator=(char ch)
{
    m_str.assign(1, ch);
    return *this;
}

CString& CString::operator+=(const CString& str)
{
    m_str += str.m_str;
    return *this;
}

CString& CString::operator+=(LPCSTR psz)
{
    m_str += OrEmpty(psz);
    return *this;
}

CString& CString::operator+=(char ch)
{
    m_str += ch;
    return *this;
}

CString operator+(const CString& str1, const CString& str2)
{
    CString str(str1);
    str += str2;
    return str;
}

CString operator+(const CString& str, LPCSTR psz)
{
    CString strResult(str);
    strResult += psz;
    return strResult;
}

CString operator+(LPCSTR psz, const CString& str)
{
    CString strResult(psz);
    strResult += str;
    return strResult;
}

CString operator+(const CString& str, char ch)
{
    CString strResult(str);
    strResult += ch;
    return strResult;
}

CString operator+(char ch, const CString& str)
{
    CString strResult(ch);
    strResult += str;
    return strResult;
}

char CString::GetAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetLength() ? m_str[static_cast<size_t>(nIndex)] : '\0';
}

void CString::SetAt(int nIndex, char ch)
{
    if (nIndex >= 0 && nIndex < GetLength())
        m_str[static_cast<size_t>(nIndex)] = ch;
}

int CString::Compare(LPCSTR psz) const
{
    return std::strcmp(m_str.c_str(), OrEmpty(psz));
}

int CString::CompareNoCase(LPCSTR psz) const
{
    const unsigned char* p1 = reinterpret_cast<const unsigned char*>(m_str.c_str());
    const unsigned char* p2 = reinterpret_cast<const unsigned char*>(OrEmpty(psz));
    for (;; ++p1, ++p2) {
        int n1 = TbToLower(*p1), n2 = TbToLower(*p2);
        if (n1 != n2 || n1 == 0)
            return n1 - n2;
    }
}

int CString::Collate(LPCSTR psz) const
{
    return lstrcmpA(m_str.c_str(), OrEmpty(psz));
}

int CString::CollateNoCase(LPCSTR psz) const
{
    return lstrcmpiA(m_str.c_str(), OrEmpty(psz));
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const
{
    // 64-bit sums: a huge count from a caller must not wrap round into a valid range.
    long long nStart = std::max(nFirst, 0);
    long long nEnd = std::min<long long>(nStart + std::max(nCount, 0), GetLength());
    CString str;
    if (nStart < nEnd)
        str.m_str.assign(m_str, static_cast<size_t>(nStart), static_cast<size_t>(nEnd - nStart));
    return str;
}

CString CString::Left(int nCount) const
{
    return Mid(0, nCount);
}

CString CString::Right(int nCount) const
{
    int nKeep = std::clamp(nCount, 0, GetLength());
    return Mid(GetLength() - nKeep, nKeep);
}

CString CString::SpanIncluding(LPCSTR pszCharSet) const
{
    std::string::size_type n = m_str.find_first_not_of(OrEmpty(pszCharSet));
    return Left(n == npos ? GetLength() : static_cast<int>(n));
}

CString CString::SpanExcluding(LPCSTR pszCharSet) const
{
    std::string::size_type n = m_str.find_first_of(OrEmpty(pszCharSet));
    return Left(n == npos ? GetLength() : static_cast<int>(n));
}

CString CString::Tokenize(LPCSTR pszTokens, int& iStart) const
{
    if (iStart < 0 || iStart >= GetLength()) {
        iStart = -1;
        return CString();
    }
    if (pszTokens == nullptr || *pszTokens == '\0') {
        // No delimiters: the rest is one token, and the walk ends after it.
        CString str = Mid(iStart);
        iStart = -1;
        return str;
    }
    std::string::size_type nFrom = m_str.find_first_not_of(pszTokens, static_cast<size_t>(iStart));
    if (nFrom == npos) {
        iStart = -1;
        return CString();
    }
    std::string::size_type nTo = m_str.find_first_of(pszTokens, nFrom);
    if (nTo == npos)
        nTo = m_str.size();
    iStart = static_cast<int>(nTo) + 1;
    return Mid(static_cast<int>(nFrom), static_cast<int>(nTo - nFrom));
}

int CString::Find(char ch, int nStart) const
{
    if (nStart < 0 || nStart >= GetLength())
        return -1;
    return ToIndex(m_str.find(ch, static_cast<size_t>(nStart)));
}

int CString::Find(LPCSTR pszSub, int nStart) const
{
    if (pszSub == nullptr || nStart < 0 || nStart > GetLength())
        return -1;
    return ToIndex(m_str.find(pszSub, static_cast<size_t>(nStart)));
}

int CString::ReverseFind(char ch) const
{
    return ToIndex(m_str.rfind(ch));
}

int CString::FindOneOf(LPCSTR pszCharSet) const
{
    return ToIndex(m_str.find_first_of(OrEmpty(pszCharSet)));
}

CString& CString::MakeUpper()
{
    CharUpperBuffA(m_str.data(), static_cast<DWORD>(m_str.size()));
    return *this;
}

CString& CString::MakeLower()
{
    CharLowerBuffA(m_str.data(), static_cast<DWORD>(m_str.size()));
    return *this;
}

CString& CString::TrimLeft()
{
    size_t n = 0;
    while (n < m_str.size() && TbIsSpace(static_cast<unsigned char>(m_str[n])))
        ++n;
    m_str.erase(0, n);
    return *this;
}

CString& CString::TrimLeft(char chTarget)
{
    char sz[2] = {chTarget, '\0'};
    return TrimLeft(sz);
}

CString& CString::TrimLeft(LPCSTR pszTargets)
{
    size_t n = 0;
    while (n < m_str.size() && InSet(m_str[n], OrEmpty(pszTargets)))
        ++n;
    m_str.erase(0, n);
    return *this;
}

CString& CString::TrimRight()
{
    size_t n = m_str.size();
    while (n > 0 && TbIsSpace(static_cast<unsigned char>(m_str[n - 1])))
        --n;
    m_str.resize(n);
    return *this;
}

CString& CString::TrimRight(char chTarget)
{
    char sz[2] = {chTarget, '\0'};
    return TrimRight(sz);
}

CString& CString::TrimRight(LPCSTR pszTargets)
{
    size_t n = m_str.size();
    while (n > 0 && InSet(m_str[n - 1], OrEmpty(pszTargets)))
        --n;
    m_str.resize(n);
    return *this;
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

CString& CString::Trim(char chTarget)
{
    return TrimRight(chTarget).TrimLeft(chTarget);
}

CString& CString::Trim(LPCSTR pszTargets)
{
    return TrimRight(pszTargets).TrimLeft(pszTargets);
}

int CString::Replace(char chOld, char chNew)
{
    int nCount = 0;
    for (char& ch : m_str) {
        if (ch == chOld) {
            ch = chNew;
            ++nCount;
        }
    }
    return nCount;
}

int CString::Replace(LPCSTR pszOld, LPCSTR pszNew)
{
    if (pszOld == nullptr || *pszOld == '\0')
        return 0;
    // Copies first: either text may point into our own buffer.
    const std::string strOld(pszOld), strNew(OrEmpty(pszNew));
    std::string strResult;
    int nCount = 0;
    size_t nDone = 0;
    for (size_t nAt = m_str.find(strOld); nAt != npos; nAt = m_str.find(strOld, nDone)) {
        strResult.append(m_str, nDone, nAt - nDone).append(strNew);
        nDone = nAt + strOld.size();
        ++nCount;
    }
    if (nCount > 0) {
        strResult.append(m_str, nDone, npos);
        m_str.swap(strResult);
    }
    return nCount;
}

int CString::Remove(char ch)
{
    size_t nBefore = m_str.size();
    m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
    return static_cast<int>(nBefore - m_str.size());
}

int CString::Insert(int nIndex, char ch)
{
    m_str.insert(static_cast<size_t>(std::clamp(nIndex, 0, GetLength())), 1, ch);
    return GetLength();
}

int CString::Insert(int nIndex, LPCSTR psz)
{
    if (psz != nullptr && *psz != '\0') {
        const std::string strInsert(psz);   // psz may point into our own buffer
        m_str.insert(static_cast<size_t>(std::clamp(nIndex, 0, GetLength())), strInsert);
    }
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    if (nIndex < 0)
        nIndex = 0;
    if (nCount > 0 && nIndex < GetLength())
        m_str.erase(static_cast<size_t>(nIndex), static_cast<size_t>(nCount));
    return GetLength();
}

LPSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength > GetLength())
        m_str.resize(static_cast<size_t>(nMinBufLength));
    return m_str.data();
}

LPSTR CString::GetBufferSetLength(int nNewLength)
{
    m_str.resize(static_cast<size_t>(std::max(nNewLength, 0)));
    return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength)
{
    size_t nLength = nNewLength < 0 ? strnlen(m_str.data(), m_str.size())
                                    : std::min(static_cast<size_t>(nNewLength), m_str.size());
    m_str.resize(nLength);
}
