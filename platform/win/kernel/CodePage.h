#pragma once
// Code pages 1252 (English) and 1256 (Arabic): the process's active page, conversion to and
// from UTF-8 and UTF-16, and the character classes, case mapping and collation of each page.
// Our own tables, so nothing depends on the locales installed on the machine; the numeric C
// locale is never changed (numbers always use '.').
#include <string>
#include <string_view>
#include "platform/win/WinTypes.h"

#define CP_ACP 0
#define CP_UTF8 65001

// The active ANSI code page: 1252 until the language is chosen. Pages other than 1252 and
// 1256 are refused (FALSE) and the active page stays.
UINT GetACP();
BOOL TbSetActiveCodePage(UINT uCodePage);

// Conversions. Every byte of both pages has a character (1252's five unused bytes are the C1
// controls, as on the original), so bytes survive a round trip; a character the page lacks, or
// a malformed UTF-8 byte, becomes '?' (or the caller's default).
std::string TbCodePageToUtf8(std::string_view text, UINT uCodePage = CP_ACP);
std::string TbUtf8ToCodePage(std::string_view utf8, UINT uCodePage = CP_ACP);
int MultiByteToWideChar(UINT uCodePage, DWORD dwFlags, LPCSTR pszText, int cbText, WCHAR* pwszOut, int cchOut);
int WideCharToMultiByte(UINT uCodePage, DWORD dwFlags, const WCHAR* pwszText, int cchText, LPSTR pszOut, int cbOut,
                        LPCSTR pszDefault, LPBOOL pbUsedDefault);

// The text kept reading left to right inside right-to-left text (a path, a printer's port):
// between the active page's left-to-right marks where it has them (1256), as it stands otherwise.
std::string TbLeftToRightText(std::string_view text);

// Character classes and case of the active page (the C library's ctype in the original's locale).
BOOL IsCharAlphaA(CHAR ch);
BOOL IsCharAlphaNumericA(CHAR ch);
BOOL IsCharUpperA(CHAR ch);
BOOL IsCharLowerA(CHAR ch);
int  TbToUpper(int ch);         // as toupper(): an int in the range of unsigned char or EOF
int  TbToLower(int ch);
BOOL TbIsDigit(int ch);         // '0'..'9' only, in every page
BOOL TbIsSpace(int ch);         // blank, tab, line feed, vertical tab, form feed, carriage return
LPSTR CharUpperA(LPSTR psz);
LPSTR CharLowerA(LPSTR psz);
DWORD CharUpperBuffA(LPSTR psz, DWORD cch);
DWORD CharLowerBuffA(LPSTR psz, DWORD cch);

// Both pages are single-byte: the next character is one byte on, never past the terminator.
LPSTR CharNextA(LPCSTR psz);
LPSTR CharPrevA(LPCSTR pszStart, LPCSTR psz);
BOOL  IsDBCSLeadByte(BYTE b);

// Collation: the locale-aware word sort of the original (case-insensitive first, then case;
// hyphen and apostrophe weigh less than other punctuation; a null text before any other).
int lstrcmpA(LPCSTR psz1, LPCSTR psz2);
int lstrcmpiA(LPCSTR psz1, LPCSTR psz2);
int lstrlenA(LPCSTR psz);
LPSTR lstrcpynA(LPSTR pszDest, LPCSTR pszSrc, int cchMax);
