#pragma once
// The framework's counted byte string: a plain value (every copy owns its buffer), except that
// every string without a buffer points at one shared, read-only "". Text is bytes in the
// active code page.
#include "platform/win/WinTypes.h"

class CTBString
{
public:
    // Construction and assignment. A null pointer gives the empty string.
    CTBString() = default;
    CTBString(const char* pszText);                 // NOLINT: converts like the C string it holds
    CTBString(const char* pszText, int nCount);     // Assign(pszText, nCount)
    explicit CTBString(char ch);
    CTBString(const CTBString& other);
    CTBString(CTBString&& other) noexcept;
    ~CTBString() { Empty(); }

    CTBString& operator=(const char* pszText);      // a pointer into our own text is safe
    CTBString& operator=(const CTBString& other);
    CTBString& operator=(CTBString&& other) noexcept;
    CTBString& operator=(char ch);
    // Keeps the first nCount bytes in a buffer of exactly nCount + 1 zeroed bytes; a shorter
    // text leaves the rest zero and GetLength still reports nCount.
    void Assign(const char* pszText, int nCount);
    void Empty();

    CTBString& operator+=(const char* pszText);
    CTBString& operator+=(const CTBString& other);
    CTBString operator+(const char* pszText) const;
    CTBString operator+(const CTBString& other) const;

    // printf-style, cut to 1023 characters when longer.
    void Format(const char* pszFormat, ...) __attribute__((format(printf, 2, 3)));

    // Resource strings (at most 511 characters). LoadString assigns "SID <id>" and returns
    // FALSE when the id is missing or empty; the other two leave the string empty instead.
    BOOL LoadString(HINSTANCE hModule, UINT uId);
    CTBString& LoadStringOrEmpty(HINSTANCE hModule, UINT uId);
    CTBString& LoadAppString(UINT uId);             // from TbGetResourceModule()

    // Queries. GetAt past the text yields 0.
    int  GetLength() const { return m_nLength < 1 ? 0 : m_nLength - 1; }
    char GetAt(int nIndex) const;
    BOOL HasChar(char ch) const;                    // the terminator counts: TRUE for 0 with a buffer
    int  Find(char ch, int nStart = 0) const;       // -1 when not found
    int  Find(const char* pszSub) const;            // 0 for an empty sub, -1 when not found
    BOOL IsNumber() const;                          // digits, '+' and '-' only (TRUE when empty)
    BOOL IsDigits() const;                          // digits only (TRUE when empty)
    BOOL IsBlank() const;                           // empty or only blanks and tabs
    // Only a string without a buffer equals a null pointer; both empty states equal "".
    bool operator==(const char* pszText) const;
    bool operator==(const CTBString& other) const;
    bool operator!=(const char* pszText) const { return !(*this == pszText); }
    bool operator!=(const CTBString& other) const { return !(*this == other); }
    operator const char*() const { return m_pszData; }   // never null

    // Cutting in place. Nothing happens without a buffer or when n is not below the stored length.
    void MakeLeft(int nCount);
    void MakeRight(int nCount);
    void MakeUpper();                               // case mapping of the active code page
    void MakeLower();
    void TrimRight(const char* pszSet);             // all trimmed: the string loses its buffer
    // Cuts the first token off at any character of pszDelims: this keeps the token, pszRest
    // what follows its one ending delimiter. Leading delimiters are dropped.
    void SplitToken(const char* pszDelims, CTBString& strRest);

    // Copies; this string stays as it is.
    CTBString Left(int nCount) const;
    CTBString Right(int nCount) const;
    CTBString Mid(int nStart, int nCount) const;
    CTBString Replace(const char* pszFrom, const char* pszTo) const;
    CTBString ReplaceChar(char chFrom, char chTo) const;
    char* Duplicate() const;                        // new[] copy owned by the caller, null without a buffer
    char* DuplicateN(int nCount) const;             // new[] nCount + 1 zeroed bytes, at most nCount copied

private:
    BOOL HasBuffer() const { return m_nLength > 0; }
    void Adopt(char* pszBuffer, int nLength);       // frees the old buffer after the new one is in

    int   m_nLength = 0;                            // bytes of the buffer with its NUL; 0 = no buffer
    char* m_pszData = const_cast<char*>(s_szEmpty); // owned unless it is s_szEmpty
    static const char s_szEmpty[1];
};

// First occurrence of pszSub in pszText, stepping whole characters so that a match never
// starts inside one; an empty sub matches at pszText; null when none.
const char* FindStringMB(const char* pszText, const char* pszSub);
// TRUE when the text is empty (or null) or holds only blanks and tabs.
BOOL IsBlankText(const char* pszText);
