#pragma once
// The spooler: the printers the machine offers, their device modes and capabilities. The PDF
// printer is always listed (it writes a file); the machine's CUPS printers come after it when
// the display can reach them. Names, ports and texts are bytes in the active code page.
#include "platform/win/Records.h"
#include "platform/win/WinTypes.h"

// EnumPrintersA
#define PRINTER_ENUM_DEFAULT     0x00000001
#define PRINTER_ENUM_LOCAL       0x00000002
#define PRINTER_ENUM_CONNECTIONS 0x00000004
#define PRINTER_ATTRIBUTE_DEFAULT 0x00000004
#define PRINTER_ATTRIBUTE_NETWORK 0x00000010
#define PRINTER_ATTRIBUTE_LOCAL   0x00000040
#define PRINTER_ACCESS_USE        0x00000008

struct PRINTER_INFO_4A {
    LPSTR pPrinterName;
    LPSTR pServerName;          // null: a printer of this machine
    DWORD Attributes;
};
struct PRINTER_INFO_2A {
    LPSTR pServerName;
    LPSTR pPrinterName;
    LPSTR pShareName;
    LPSTR pPortName;            // the PDF printer: "FILE:"; a CUPS queue: its device address
    LPSTR pDriverName;
    LPSTR pComment;
    LPSTR pLocation;
    LPDEVMODEA pDevMode;        // the printer's default device mode, inside the caller's buffer
    LPSTR pSepFile;
    LPSTR pPrintProcessor;
    LPSTR pDatatype;
    LPSTR pParameters;
    LPVOID pSecurityDescriptor;
    DWORD Attributes;
    DWORD Priority;
    DWORD DefaultPriority;
    DWORD StartTime;
    DWORD UntilTime;
    DWORD Status;
    DWORD cJobs;
    DWORD AveragePPM;
};
typedef PRINTER_INFO_4A* LPPRINTER_INFO_4A;
typedef PRINTER_INFO_2A* LPPRINTER_INFO_2A;
struct PRINTER_DEFAULTSA {
    LPSTR pDatatype;
    LPDEVMODEA pDevMode;
    DWORD DesiredAccess;
};
typedef PRINTER_DEFAULTSA* LPPRINTER_DEFAULTSA;

// Levels 2 and 4 only. The strings and device modes follow the records in the caller's buffer;
// when it is too small: FALSE, GetLastError() ERROR_INSUFFICIENT_BUFFER and *pcbNeeded the size.
BOOL EnumPrintersA(DWORD Flags, LPSTR Name, DWORD Level, LPBYTE pPrinterEnum, DWORD cbBuf, LPDWORD pcbNeeded,
                   LPDWORD pcReturned);
BOOL OpenPrinterA(LPSTR pPrinterName, LPHANDLE phPrinter, LPPRINTER_DEFAULTSA pDefault);   // FALSE: no such printer
BOOL GetPrinterA(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD cbBuf, LPDWORD pcbNeeded);
BOOL ClosePrinter(HANDLE hPrinter);

// The device mode: its public fields, which dmFields names as set.
#define DM_SPECVERSION   0x0400
#define DM_ORIENTATION   0x00000001L
#define DM_PAPERSIZE     0x00000002L
#define DM_PAPERLENGTH   0x00000004L
#define DM_PAPERWIDTH    0x00000008L
#define DM_SCALE         0x00000010L
#define DM_COPIES        0x00000100L
#define DM_DEFAULTSOURCE 0x00000200L
#define DM_PRINTQUALITY  0x00000400L
#define DM_COLOR         0x00000800L
#define DM_DUPLEX        0x00001000L
#define DM_YRESOLUTION   0x00002000L
#define DM_COLLATE       0x00008000L
#define DM_FORMNAME      0x00010000L
#define DMORIENT_PORTRAIT  1
#define DMORIENT_LANDSCAPE 2
#define DMCOLOR_MONOCHROME 1
#define DMCOLOR_COLOR      2
#define DMCOLLATE_FALSE    0
#define DMCOLLATE_TRUE     1
#define DMPAPER_LETTER 1        // 8.5 x 11 in
#define DMPAPER_LEGAL  5        // 8.5 x 14 in
#define DMPAPER_A3     8        // 297 x 420 mm
#define DMPAPER_A4     9        // 210 x 297 mm
#define DMPAPER_A5     11       // 148 x 210 mm

// DocumentPropertiesA: fMode 0 answers the full size (public and private bytes). DM_IN_BUFFER
// merges the fields pDevModeInput names into the printer's defaults; DM_IN_PROMPT asks the
// person for paper, orientation, copies and colour (IDOK or IDCANCEL); DM_OUT_BUFFER writes the
// result into pDevModeOutput. A negative answer: no such printer or a bad input.
#define DM_UPDATE     1
#define DM_COPY       2
#define DM_PROMPT     4
#define DM_MODIFY     8
#define DM_IN_BUFFER  DM_MODIFY
#define DM_IN_PROMPT  DM_PROMPT
#define DM_OUT_BUFFER DM_COPY
#define DM_OUT_DEFAULT DM_UPDATE
LONG DocumentPropertiesA(HWND hWnd, HANDLE hPrinter, LPSTR pDeviceName, PDEVMODEA pDevModeOutput,
                         PDEVMODEA pDevModeInput, DWORD fMode);

// DeviceCapabilitiesA: the count of entries, written to pOutput when it is not null; (DWORD)-1
// for an unknown printer or capability. Papers are WORD ids, sizes POINT in tenths of a
// millimetre, names 64-byte texts, resolutions pairs of LONG dots per inch (x, y).
#define DC_PAPERS          2
#define DC_PAPERSIZE       3
#define DC_ENUMRESOLUTIONS 13
#define DC_PAPERNAMES      16
#define DC_ORIENTATION     17       // the degrees landscape turns (90), 0 without landscape
#define DC_COPIES          18
#define DC_COLLATE         22
#define DC_COLORDEVICE     32
DWORD DeviceCapabilitiesA(LPCSTR pDevice, LPCSTR pPort, WORD fwCapability, LPSTR pOutput, const DEVMODEA* pDevMode);
