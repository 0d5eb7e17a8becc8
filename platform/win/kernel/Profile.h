#pragma once
// The private-profile functions on INI files, with the original's rules: sections and keys
// compare case-insensitively, the first match wins, values are trimmed of blanks, the
// caller's buffer size bounds the result, the default answers for what is missing.
#include "platform/win/WinTypes.h"

DWORD GetPrivateProfileStringA(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszDefault, LPSTR pszOut, DWORD cchOut,
                               LPCSTR pszFile);
UINT  GetPrivateProfileIntA(LPCSTR pszSection, LPCSTR pszKey, INT nDefault, LPCSTR pszFile);
// A null key deletes the section, a null value deletes the key. FALSE when the file was not written;
// a line break in any argument, ']' in the section, '=' in the key or a key starting with '[' or
// ';' is refused and changes nothing. Lines the write does not touch keep their bytes.
BOOL  WritePrivateProfileStringA(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszValue, LPCSTR pszFile);
// The system profile. Section "windows", key "device" answers the default printer as
// "name,winspool,port"; every other key answers the default.
DWORD GetProfileStringA(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszDefault, LPSTR pszOut, DWORD cchOut);
