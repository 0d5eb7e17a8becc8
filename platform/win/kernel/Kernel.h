#pragma once
// Process services of the kernel subset: the last error, ticks and sleeping, the program's
// own path, memory status, moveable global memory and temporary files.
#include "platform/win/WinTypes.h"

#define ERROR_SUCCESS 0
#define ERROR_FILE_NOT_FOUND 2
#define ERROR_PATH_NOT_FOUND 3
#define ERROR_ACCESS_DENIED 5
#define ERROR_INVALID_HANDLE 6
#define ERROR_NOT_ENOUGH_MEMORY 8
#define ERROR_WRITE_FAULT 29
#define ERROR_INVALID_PARAMETER 87
#define ERROR_INSUFFICIENT_BUFFER 122
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814

// Per thread, as on the original.
DWORD GetLastError();
void  SetLastError(DWORD dwError);

// Milliseconds since an arbitrary start, wrapping at 2^32 like the original's counter.
DWORD GetTickCount();
ULONGLONG GetTickCount64();
void  Sleep(DWORD dwMilliseconds);

// The executable's full path when hModule is null (in the folder $TB_PROGRAM_DIR names when it is
// set); for a resource module, its file.
// Cut to nSize-1 and terminated; returns the length copied (nSize when cut), 0 on failure.
DWORD GetModuleFileNameA(HMODULE hModule, LPSTR pszFileName, DWORD nSize);

// Physical memory and the process's address space, from /proc/meminfo.
struct MEMORYSTATUS {
    DWORD dwLength;
    DWORD dwMemoryLoad;         // percent in use
    SIZE_T dwTotalPhys;
    SIZE_T dwAvailPhys;
    SIZE_T dwTotalPageFile;
    SIZE_T dwAvailPageFile;
    SIZE_T dwTotalVirtual;
    SIZE_T dwAvailVirtual;
};
typedef MEMORYSTATUS* LPMEMORYSTATUS;
void GlobalMemoryStatus(LPMEMORYSTATUS pStatus);

// Global memory: a handle names a block that may move while it is unlocked.
#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)
HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes);
HGLOBAL GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags);
LPVOID  GlobalLock(HGLOBAL hMem);
BOOL    GlobalUnlock(HGLOBAL hMem);
SIZE_T  GlobalSize(HGLOBAL hMem);
HGLOBAL GlobalFree(HGLOBAL hMem);      // null when freed, the handle back on failure

// A block of nSize bytes aligned to nSize (a power of two), which the system is asked to back
// with large pages; for pools that keep their chunks to the end. Null when memory is short.
void* TbAllocLargeChunk(SIZE_T nSize);

// Temporary files live in a folder private to the user (mode 0700) and are made with mode 0600.
// GetTempPathA answers with a trailing '/'; the count excludes the terminator, or is the size
// needed (terminator included) when the buffer is too small.
DWORD GetTempPathA(DWORD nBufferLength, LPSTR pszBuffer);
// uUnique 0: a new, empty, unique file "<path>/<prefix up to 3><hex>.tmp" is created and its
// number returned; otherwise only the name is made. 0 on failure. pszTempFileName holds MAX_PATH.
UINT GetTempFileNameA(LPCSTR pszPathName, LPCSTR pszPrefixString, UINT uUnique, LPSTR pszTempFileName);

// The process's error mode (SEM_ flags): kept and answered; no system box is ever shown here.
#define SEM_FAILCRITICALERRORS     0x0001
#define SEM_NOGPFAULTERRORBOX      0x0002
#define SEM_NOALIGNMENTFAULTEXCEPT 0x0004
#define SEM_NOOPENFILEERRORBOX     0x8000
UINT SetErrorMode(UINT uMode);              // the previous mode
// The thread's locale id (1033 until set): kept and answered; text rules come from the code page.
BOOL SetThreadLocale(LCID lcid);
LCID GetThreadLocale();
// Locale information: LOCALE_IMEASURE answers "0" (metric) or "1" (U.S.) from the user's locale
// (LC_ALL, then LC_MEASUREMENT, then LANG, as the C library reads them). The characters written
// with the terminator, or the size needed when cchData is 0; 0 for an unknown type.
#define LOCALE_USER_DEFAULT   0x0400
#define LOCALE_SYSTEM_DEFAULT 0x0800
#define LOCALE_IMEASURE       0x0000000D
typedef DWORD LCTYPE;
int GetLocaleInfoA(LCID Locale, LCTYPE LCType, LPSTR lpLCData, int cchData);

// nNumber * nNumerator / nDenominator with a 64-bit product, rounded half away from zero; -1 when
// nDenominator is 0 or the answer does not fit in an int.
int MulDiv(int nNumber, int nNumerator, int nDenominator);
