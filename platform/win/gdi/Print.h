#pragma once
// Printer device contexts. A printer DC draws through the same GDI calls, mapping and clipping as
// a window DC, but into a document (vector pages: text stays text); an information DC answers
// GetDeviceCaps and text measures without one. Its device units are the printer's dots, (0, 0)
// the top left of the printable area.
#include "platform/win/Records.h"
#include "platform/win/WinTypes.h"

struct DOCINFOA {
    int    cbSize;
    LPCSTR lpszDocName;
    LPCSTR lpszOutput;          // the PDF printer: the file to write; null asks for one
    LPCSTR lpszDatatype;
    DWORD  fwType;
};
typedef DOCINFOA* LPDOCINFOA;
#define SP_ERROR     (-1)
#define SP_APPABORT  (-2)
#define SP_USERABORT (-3)

// pszDevice names the printer (pszDriver and pszPort are not needed); pDevMode null: the
// printer's defaults. Null for an unknown printer or a device mode that does not read.
HDC CreateDCA(LPCSTR pszDriver, LPCSTR pszDevice, LPCSTR pszPort, const DEVMODEA* pDevMode);
HDC CreateICA(LPCSTR pszDriver, LPCSTR pszDevice, LPCSTR pszPort, const DEVMODEA* pDevMode);

// A job: StartDoc answers its id (> 0) or SP_ERROR (a second document, an output that cannot be
// written, the file question cancelled). StartPage and EndPage answer > 0 or SP_ERROR; EndDoc
// finishes the file or hands it to the queue; AbortDoc drops what was drawn.
int StartDocA(HDC hdc, const DOCINFOA* pDocInfo);
int StartPage(HDC hdc);
int EndPage(HDC hdc);
int EndDoc(HDC hdc);
int AbortDoc(HDC hdc);
