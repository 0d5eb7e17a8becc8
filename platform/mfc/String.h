#pragma once
// The class library's string: bytes in the active code page, a value whose copies own their
// text. It stands on std::string; what it adds is the library's operations and the library's
// answers at the edges: positions outside the text are clamped or answered with 0 or -1 and
// a null pointer reads as "", so nothing here reads or writes past the text.
#include <cstdarg>
#include <string>
#include <type_traits>
#include "platform/mfc/Object.h"

class CString
{
public:
    // Construction. A null pointer gives the empty string; a MAKEINTRESOURCE id loads that
    // string from the resource module. The counted form stops early at a NUL.
    CString() = default;
    CString(LPCSTR psz);                            // NOLINT: converts like the C string it holds
    CString(LPCSTR pch, int nLength);
    explicit CString(char ch, int nRepeat = 1);
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    ~CString() = default;

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(LPCSTR psz);                 // a pointer into our own text is safe
    CString& operator=(char ch);
    CString& operator+=(const CString& str);
    CString& operator+=(LPCSTR psz);
    CString& operator+=(char ch);

    // Size and characters. GetAt outside the text answers 0; SetAt outside it does nothing.
    int    GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL   IsEmpty() const { return m_str.empty(); }
    void   Empty() { m_str.clear(); }
    char   GetAt(int nIndex) const;
    void   SetAt(int nIndex, char ch);
    // Any integer type: one overload per type keeps the built-in pointer subscript (through
    // operator LPCSTR) from competing with this one.
    template<class INDEX, class = std::enable_if_t<std::is_integral_v<INDEX>>>
    char operator[](INDEX nIndex) const
    {
        if constexpr (std::is_signed_v<INDEX>) {
            if (nIndex < 0)
                return '\0';
        }
        size_t nAt = static_cast<size_t>(nIndex);
        return nAt < m_str.size() ? m_str[nAt] : '\0';
    }
    LPCSTR GetString() const { return m_str.c_str(); }
    operator LPCSTR() const { return m_str.c_str(); }   // never null

    // Comparison, <0, 0 or >0. Compare is byte order; CompareNoCase folds the active code
    // page's case; Collate and CollateNoCase sort as the user's locale does (lstrcmpA).
    int Compare(LPCSTR psz) const;
    int CompareNoCase(LPCSTR psz) const;
    int Collate(LPCSTR psz) const;
    int CollateNoCase(LPCSTR psz) const;

    // Copies of a part, clamped to the text.
    CString Left(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(LPCSTR pszCharSet) const; // the leading run of characters in the set
    CString SpanExcluding(LPCSTR pszCharSet) const; // the leading run of characters not in it
    // The next token at or after iStart, leading delimiters skipped; iStart moves past the
    // delimiter that ends it. No token left: "" and iStart = -1.
    CString Tokenize(LPCSTR pszTokens, int& iStart) const;

    // Searching: the index found, or -1 (also when nStart lies outside the text).
    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR pszSub, int nStart = 0) const;  // an empty sub is found at nStart
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR pszCharSet) const;

    // Changing in place. Counts and lengths are what the library returns.
    CString& MakeUpper();                           // the active code page's case mapping
    CString& MakeLower();
    CString& TrimLeft();                            // blanks, tabs and line ends
    CString& TrimLeft(char chTarget);
    CString& TrimLeft(LPCSTR pszTargets);
    CString& TrimRight();
    CString& TrimRight(char chTarget);
    CString& TrimRight(LPCSTR pszTargets);
    CString& Trim();
    CString& Trim(char chTarget);
    CString& Trim(LPCSTR pszTargets);
    int Replace(char chOld, char chNew);            // the number of characters replaced
    int Replace(LPCSTR pszOld, LPCSTR pszNew);      // the number of texts replaced; "" is none
    int Remove(char ch);                            // the number removed
    int Insert(int nIndex, char ch);                // the new length; nIndex clamped to the text
    int Insert(int nIndex, LPCSTR psz);
    int Delete(int nIndex, int nCount = 1);         // the new length

    // printf-style, any length: the text is measured before it is written. A CString goes to
    // %s as (LPCSTR)str; the compiler checks the arguments against a literal format.
    void Format(LPCSTR pszFormat, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(LPCSTR pszFormat, va_list args) __attribute__((format(printf, 2, 0)));
    void AppendFormat(LPCSTR pszFormat, ...) __attribute__((format(printf, 2, 3)));
    void AppendFormatV(LPCSTR pszFormat, va_list args) __attribute__((format(printf, 2, 0)));
    // The format is a string resource. No compiler can check a format it cannot see, so
    // CString arguments are passed as their text here, and other class objects are refused.
    template<class... ARGS>
    void Format(UINT nFormatId, const ARGS&... args) { FormatFromResource(nFormatId, VarArg(args)...); }
    // Message inserts: %1 to %99 take the arguments in order, each a text unless it carries
    // its own printf conversion ("%2!d!", "%3!.2f!"); %% is '%', %n a line break, %0 ends
    // the text. Arguments as for Format of a resource.
    template<class... ARGS>
    void FormatMessage(LPCSTR pszFormat, const ARGS&... args)
    {
        FormatMessageArgs(pszFormat, static_cast<int>(sizeof...(args)), VarArg(args)...);
    }
    template<class... ARGS>
    void FormatMessage(UINT nFormatId, const ARGS&... args)
    {
        CString strFormat;
        strFormat.LoadString(nFormatId);
        FormatMessageArgs(strFormat.GetString(), static_cast<int>(sizeof...(args)), VarArg(args)...);
    }

    // Resource strings, any length. FALSE, and the string unchanged, when the id has no text.
    BOOL LoadString(UINT nId);                      // from the framework's resource module
    BOOL LoadString(HINSTANCE hInstance, UINT nId);

    // Raw access for C functions that fill a buffer: room for nMinBufLength characters and a
    // terminator; ReleaseBuffer then sets the length (-1: up to the first NUL).
    LPSTR GetBuffer(int nMinBufLength);
    LPSTR GetBuffer() { return m_str.data(); }
    LPSTR GetBufferSetLength(int nNewLength);
    void  ReleaseBuffer(int nNewLength = -1);

private:
    static LPCSTR VarArg(const CString& str) { return str.GetString(); }
    template<class T>
    static const T& VarArg(const T& value)
    {
        static_assert(std::is_trivially_copyable_v<T>, "only plain values can pass through '...'");
        return value;
    }
    void FormatFromResource(UINT nFormatId, ...);
    // nArgs bounds the inserts read: a translated text naming "%3" when two were passed keeps
    // its "%3" as written rather than reading past the arguments.
    void FormatMessageArgs(LPCSTR pszFormat, int nArgs, ...);

    std::string m_str;
};

CString operator+(const CString& str1, const CString& str2);
CString operator+(const CString& str, LPCSTR psz);
CString operator+(LPCSTR psz, const CString& str);
CString operator+(const CString& str, char ch);
CString operator+(char ch, const CString& str);

inline bool operator==(const CString& s1, const CString& s2) { return s1.Compare(s2) == 0; }
inline bool operator==(const CString& s1, LPCSTR s2) { return s1.Compare(s2) == 0; }
inline bool operator==(LPCSTR s1, const CString& s2) { return s2.Compare(s1) == 0; }
inline bool operator!=(const CString& s1, const CString& s2) { return s1.Compare(s2) != 0; }
inline bool operator!=(const CString& s1, LPCSTR s2) { return s1.Compare(s2) != 0; }
inline bool operator!=(LPCSTR s1, const CString& s2) { return s2.Compare(s1) != 0; }
inline bool operator<(const CString& s1, const CString& s2) { return s1.Compare(s2) < 0; }
inline bool operator<(const CString& s1, LPCSTR s2) { return s1.Compare(s2) < 0; }
inline bool operator<(LPCSTR s1, const CString& s2) { return s2.Compare(s1) > 0; }
inline bool operator>(const CString& s1, const CString& s2) { return s1.Compare(s2) > 0; }
inline bool operator>(const CString& s1, LPCSTR s2) { return s1.Compare(s2) > 0; }
inline bool operator>(LPCSTR s1, const CString& s2) { return s2.Compare(s1) < 0; }
inline bool operator<=(const CString& s1, const CString& s2) { return s1.Compare(s2) <= 0; }
inline bool operator<=(const CString& s1, LPCSTR s2) { return s1.Compare(s2) <= 0; }
inline bool operator<=(LPCSTR s1, const CString& s2) { return s2.Compare(s1) >= 0; }
inline bool operator>=(const CString& s1, const CString& s2) { return s1.Compare(s2) >= 0; }
inline bool operator>=(const CString& s1, LPCSTR s2) { return s1.Compare(s2) >= 0; }
inline bool operator>=(LPCSTR s1, const CString& s2) { return s2.Compare(s1) <= 0; }
