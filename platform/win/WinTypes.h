#pragma once
// The Win32 base types, macros and plain records as the system's code uses them.
// Sizes follow 64-bit Windows: handles and message parameters are pointer-sized,
// DWORD and LONG stay 32 bits because files and the wire rely on them.
#include <cstddef>
#include <cstdint>

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef unsigned int UINT;
typedef int INT;
typedef short SHORT;
typedef unsigned short USHORT;
typedef char CHAR;
typedef unsigned char UCHAR;
typedef wchar_t WCHAR;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef ULONG_PTR DWORD_PTR;
typedef size_t SIZE_T;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef DWORD COLORREF;
typedef WORD ATOM;
typedef WORD LANGID;
typedef DWORD LCID;
typedef BYTE BOOLEAN;
typedef float FLOAT;

typedef char* LPSTR;
typedef const char* LPCSTR;
typedef char* PSTR;
typedef const char* PCSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef void* PVOID;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;
typedef LONG* LPLONG;
typedef int* LPINT;
typedef UINT* LPUINT;
typedef BOOL* LPBOOL;
typedef WORD* LPWORD;
typedef COLORREF* LPCOLORREF;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef NULL
#define NULL nullptr
#endif
#define MAX_PATH 260

#define CALLBACK
#define WINAPI
#define APIENTRY
#define CONST const

// Handles are distinct opaque pointer types, as with STRICT on the original.
#define TB_DECLARE_HANDLE(name) struct name##__; typedef struct name##__* name
TB_DECLARE_HANDLE(HWND);
TB_DECLARE_HANDLE(HINSTANCE);
TB_DECLARE_HANDLE(HDC);
TB_DECLARE_HANDLE(HMENU);
TB_DECLARE_HANDLE(HACCEL);
TB_DECLARE_HANDLE(HICON);
TB_DECLARE_HANDLE(HFONT);
TB_DECLARE_HANDLE(HPEN);
TB_DECLARE_HANDLE(HBRUSH);
TB_DECLARE_HANDLE(HBITMAP);
TB_DECLARE_HANDLE(HRGN);
TB_DECLARE_HANDLE(HPALETTE);
TB_DECLARE_HANDLE(HHOOK);
TB_DECLARE_HANDLE(HACCEL);
typedef HICON HCURSOR;
typedef HINSTANCE HMODULE;
typedef void* HANDLE;
typedef void* HGDIOBJ;
typedef HANDLE HGLOBAL;
typedef HANDLE HLOCAL;
typedef HANDLE* LPHANDLE;
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1)))

#define MAKEWORD(a, b) (static_cast<WORD>((static_cast<BYTE>(static_cast<DWORD_PTR>(a) & 0xff)) | (static_cast<WORD>(static_cast<BYTE>(static_cast<DWORD_PTR>(b) & 0xff)) << 8)))
#define MAKELONG(a, b) (static_cast<LONG>((static_cast<WORD>(static_cast<DWORD_PTR>(a) & 0xffff)) | (static_cast<DWORD>(static_cast<WORD>(static_cast<DWORD_PTR>(b) & 0xffff)) << 16)))
#define LOWORD(l) (static_cast<WORD>(static_cast<DWORD_PTR>(l) & 0xffff))
#define HIWORD(l) (static_cast<WORD>((static_cast<DWORD_PTR>(l) >> 16) & 0xffff))
#define LOBYTE(w) (static_cast<BYTE>(static_cast<DWORD_PTR>(w) & 0xff))
#define HIBYTE(w) (static_cast<BYTE>((static_cast<DWORD_PTR>(w) >> 8) & 0xff))
#define MAKEWPARAM(l, h) (static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(l, h))))
#define MAKELPARAM(l, h) (static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(l, h))))
#define MAKELRESULT(l, h) (static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(l, h))))
#define GET_X_LPARAM(lp) (static_cast<int>(static_cast<short>(LOWORD(lp))))
#define GET_Y_LPARAM(lp) (static_cast<int>(static_cast<short>(HIWORD(lp))))
#define MAKEINTRESOURCEA(i) (reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
#define MAKEINTRESOURCE MAKEINTRESOURCEA
#define IS_INTRESOURCE(p) ((static_cast<ULONG_PTR>(reinterpret_cast<ULONG_PTR>(p)) >> 16) == 0)

#define RGB(r, g, b) (static_cast<COLORREF>((static_cast<BYTE>(r) | (static_cast<WORD>(static_cast<BYTE>(g)) << 8)) | (static_cast<DWORD>(static_cast<BYTE>(b)) << 16)))
#define GetRValue(rgb) (LOBYTE(rgb))
#define GetGValue(rgb) (LOBYTE(static_cast<WORD>(rgb) >> 8))
#define GetBValue(rgb) (LOBYTE((rgb) >> 16))
#define CLR_INVALID 0xFFFFFFFF

struct RECT { LONG left; LONG top; LONG right; LONG bottom; };
typedef RECT* LPRECT;
typedef const RECT* LPCRECT;
struct POINT { LONG x; LONG y; };
typedef POINT* LPPOINT;
struct SIZE { LONG cx; LONG cy; };
typedef SIZE* LPSIZE;
struct POINTS { SHORT x; SHORT y; };
