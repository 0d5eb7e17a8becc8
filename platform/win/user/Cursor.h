#pragma once
// Cursors, icons and images: the standard shapes, PNG files, and resource images found through
// the resource module.
#include "platform/win/WinTypes.h"

#define IDC_ARROW       MAKEINTRESOURCEA(32512)
#define IDC_IBEAM       MAKEINTRESOURCEA(32513)
#define IDC_WAIT        MAKEINTRESOURCEA(32514)
#define IDC_CROSS       MAKEINTRESOURCEA(32515)
#define IDC_UPARROW     MAKEINTRESOURCEA(32516)
#define IDC_SIZE        MAKEINTRESOURCEA(32640)
#define IDC_ICON        MAKEINTRESOURCEA(32641)
#define IDC_SIZENWSE    MAKEINTRESOURCEA(32642)
#define IDC_SIZENESW    MAKEINTRESOURCEA(32643)
#define IDC_SIZEWE      MAKEINTRESOURCEA(32644)
#define IDC_SIZENS      MAKEINTRESOURCEA(32645)
#define IDC_SIZEALL     MAKEINTRESOURCEA(32646)
#define IDC_NO          MAKEINTRESOURCEA(32648)
#define IDC_HAND        MAKEINTRESOURCEA(32649)
#define IDC_APPSTARTING MAKEINTRESOURCEA(32650)
#define IDC_HELP        MAKEINTRESOURCEA(32651)
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDI_HAND        MAKEINTRESOURCEA(32513)
#define IDI_QUESTION    MAKEINTRESOURCEA(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCEA(32515)
#define IDI_ASTERISK    MAKEINTRESOURCEA(32516)
#define IDI_WINLOGO     MAKEINTRESOURCEA(32517)
#define IDI_ERROR       IDI_HAND
#define IDI_WARNING     IDI_EXCLAMATION
#define IDI_INFORMATION IDI_ASTERISK

#define IMAGE_BITMAP    0
#define IMAGE_ICON      1
#define IMAGE_CURSOR    2
#define LR_DEFAULTCOLOR     0x0000
#define LR_MONOCHROME       0x0001
#define LR_LOADFROMFILE     0x0010
#define LR_LOADTRANSPARENT  0x0020
#define LR_DEFAULTSIZE      0x0040
#define LR_CREATEDIBSECTION 0x2000
#define LR_SHARED           0x8000
#define DI_MASK         0x0001
#define DI_IMAGE        0x0002
#define DI_NORMAL       0x0003

// Standard shapes with a null instance; otherwise the resource's image. Shared: never destroyed.
HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR pszCursorName);
HICON   LoadIconA(HINSTANCE hInstance, LPCSTR pszIconName);
HBITMAP LoadBitmapA(HINSTANCE hInstance, LPCSTR pszBitmapName);
// LR_LOADFROMFILE reads a PNG (or any format the display's image codec knows) by path.
HANDLE  LoadImageA(HINSTANCE hInstance, LPCSTR pszName, UINT uType, int cxDesired, int cyDesired, UINT fuLoad);
HCURSOR SetCursor(HCURSOR hCursor);     // the previous cursor; null hides the pointer shape
HCURSOR GetCursor();
int     ShowCursor(BOOL bShow);
BOOL    DestroyCursor(HCURSOR hCursor);
BOOL    DestroyIcon(HICON hIcon);
BOOL    DrawIcon(HDC hdc, int x, int y, HICON hIcon);
BOOL    DrawIconEx(HDC hdc, int x, int y, HICON hIcon, int cx, int cy, UINT istepIfAniCur, HBRUSH hbrFlicker,
                   UINT diFlags);

// Where resource images come from: the resource module's entry of that type ("BITMAP", "ICON",
// "CURSOR") and name gives a file path. By default the resource files' own image entries
// (TbFindResourceFile); a test may put another finder in place.
typedef BOOL (*TBRESOURCEFILEPROC)(HINSTANCE hInstance, LPCSTR pszType, LPCSTR pszName, LPSTR pszPath, int cchPath);
void TbSetResourceFileFinder(TBRESOURCEFILEPROC pfn);
