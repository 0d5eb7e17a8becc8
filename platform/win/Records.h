#pragma once
// Plain records that settings files store byte for byte (as hex or as field lists), laid out
// exactly as on the original 32-bit system: a font description, a window placement and a
// printer's device mode. Shared by the kernel, window and printing parts of the layer.
#include <cstddef>

#include "platform/win/WinTypes.h"

#define LF_FACESIZE 32
// Tag names as on the original, so that a header may declare them ahead (struct tagLOGFONTA;).
struct tagLOGFONTA {
    LONG lfHeight;              // logical units; negative for the character height
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
};
typedef tagLOGFONTA LOGFONTA;
typedef LOGFONTA LOGFONT;
typedef LOGFONTA* LPLOGFONTA;
typedef LOGFONTA* LPLOGFONT;
typedef LOGFONTA* PLOGFONTA;
static_assert(sizeof(LOGFONTA) == 60, "LOGFONTA is stored as 60 bytes");

struct tagWINDOWPLACEMENT {
    UINT length;                // 44
    UINT flags;
    UINT showCmd;
    POINT ptMinPosition;
    POINT ptMaxPosition;
    RECT rcNormalPosition;
};
typedef tagWINDOWPLACEMENT WINDOWPLACEMENT;
typedef WINDOWPLACEMENT* LPWINDOWPLACEMENT;
typedef WINDOWPLACEMENT* PWINDOWPLACEMENT;
static_assert(sizeof(WINDOWPLACEMENT) == 44, "WINDOWPLACEMENT is stored as 44 bytes");

// The printer form of the device mode, as a program built for Windows 95/NT 4 knows it: 148
// public bytes, then dmDriverExtra bytes of the driver's own. Settings store both parts as hex.
#define CCHDEVICENAME 32
#define CCHFORMNAME 32
struct _devicemodeA {
    BYTE  dmDeviceName[CCHDEVICENAME];
    WORD  dmSpecVersion;
    WORD  dmDriverVersion;
    WORD  dmSize;               // public bytes: 148
    WORD  dmDriverExtra;        // private bytes that follow the record
    DWORD dmFields;
    SHORT dmOrientation;
    SHORT dmPaperSize;
    SHORT dmPaperLength;
    SHORT dmPaperWidth;
    SHORT dmScale;
    SHORT dmCopies;
    SHORT dmDefaultSource;
    SHORT dmPrintQuality;
    SHORT dmColor;
    SHORT dmDuplex;
    SHORT dmYResolution;
    SHORT dmTTOption;
    SHORT dmCollate;
    BYTE  dmFormName[CCHFORMNAME];
    WORD  dmLogPixels;
    DWORD dmBitsPerPel;
    DWORD dmPelsWidth;
    DWORD dmPelsHeight;
    DWORD dmDisplayFlags;
    DWORD dmDisplayFrequency;
    DWORD dmICMMethod;
    DWORD dmICMIntent;
    DWORD dmMediaType;
    DWORD dmDitherType;
    DWORD dmReserved1;
    DWORD dmReserved2;
};
typedef _devicemodeA DEVMODEA;
typedef DEVMODEA DEVMODE;
typedef DEVMODEA* LPDEVMODEA;
typedef DEVMODEA* LPDEVMODE;
typedef DEVMODEA* PDEVMODEA;
static_assert(sizeof(DEVMODEA) == 148, "DEVMODEA has 148 public bytes");
static_assert(offsetof(DEVMODEA, dmFields) == 40 && offsetof(DEVMODEA, dmFormName) == 70 &&
              offsetof(DEVMODEA, dmBitsPerPel) == 104, "DEVMODEA fields sit where the original puts them");

// A calendar date and time of day in parts, as the date pickers exchange it. Day of week 0 is
// Sunday.
struct _SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};
typedef _SYSTEMTIME SYSTEMTIME;
typedef SYSTEMTIME* LPSYSTEMTIME;
typedef SYSTEMTIME* PSYSTEMTIME;
static_assert(sizeof(SYSTEMTIME) == 16, "SYSTEMTIME is eight words");
