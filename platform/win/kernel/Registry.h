#pragma once
// The registry: the current user's keys in per-user text files. A key below "Software\<brand>"
// lives in $XDG_CONFIG_HOME/<brand>/registry (~/.config when the variable is unset); keys above
// that level exist without values. Every write locks the file, reads it afresh, changes it and
// replaces it whole (a new file renamed over the old), so two handles or two programs writing the
// same file lose nothing, and a crash mid-write leaves the old file. A damaged file reads as
// whatever of it still parses. Names of keys and values compare without case.
#include "platform/win/WinTypes.h"
#include "platform/win/kernel/Kernel.h"

typedef struct TbRegKey* HKEY;
typedef HKEY* PHKEY;
typedef DWORD REGSAM;
typedef LONG LSTATUS;

#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000001)))

#define REG_NONE      0
#define REG_SZ        1
#define REG_EXPAND_SZ 2
#define REG_BINARY    3
#define REG_DWORD     4

#define KEY_QUERY_VALUE        0x0001
#define KEY_SET_VALUE          0x0002
#define KEY_CREATE_SUB_KEY     0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY             0x0010
#define KEY_READ               0x20019
#define KEY_WRITE              0x20006
#define KEY_ALL_ACCESS         0xF003F

#define REG_OPTION_NON_VOLATILE 0
#define REG_CREATED_NEW_KEY     1
#define REG_OPENED_EXISTING_KEY 2

#ifndef ERROR_MORE_DATA
#define ERROR_MORE_DATA 234
#endif
#ifndef ERROR_BADKEY
#define ERROR_BADKEY 1010
#endif

struct SECURITY_ATTRIBUTES;

// Results are ERROR_ codes: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND for a key or value that is not
// there, ERROR_INVALID_HANDLE, ERROR_INVALID_PARAMETER for a bad name, ERROR_ACCESS_DENIED for a
// write through a read-only handle or to a key that holds no values, ERROR_WRITE_FAULT when the
// file could not be replaced (nothing changed then).
LSTATUS RegCreateKeyExA(HKEY hKey, LPCSTR pszSubKey, DWORD dwReserved, LPSTR pszClass, DWORD dwOptions,
                        REGSAM samDesired, const SECURITY_ATTRIBUTES* pSecurity, PHKEY phkResult,
                        LPDWORD pdwDisposition);
LSTATUS RegOpenKeyExA(HKEY hKey, LPCSTR pszSubKey, DWORD dwOptions, REGSAM samDesired, PHKEY phkResult);
LSTATUS RegCloseKey(HKEY hKey);
// Null pData with pcbData asks the size; a buffer too small gets ERROR_MORE_DATA and the size.
// A null or empty name is the key's default value.
LSTATUS RegQueryValueExA(HKEY hKey, LPCSTR pszValueName, LPDWORD pdwReserved, LPDWORD pdwType, LPBYTE pData,
                         LPDWORD pcbData);
// Stores cbData bytes as given (a REG_SZ caller counts its terminator); at most 1 MB.
LSTATUS RegSetValueExA(HKEY hKey, LPCSTR pszValueName, DWORD dwReserved, DWORD dwType, const BYTE* pData,
                       DWORD cbData);
LSTATUS RegDeleteValueA(HKEY hKey, LPCSTR pszValueName);
