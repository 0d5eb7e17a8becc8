#pragma once
// Inside the layer: the printers the spooler lists, the display's printing side behind
// ITbPrintSystem (implemented in platform/qt: CUPS queues, PDF files, vector pages), and the
// test interface that adds virtual printers. No Qt type here.
#include <memory>
#include <string>
#include <vector>
#include "platform/win/Records.h"
#include "platform/win/WinTypes.h"

class CTbPixelBuffer;

// The fixed name the PDF printer is always listed under.
#define TB_PDF_PRINTER_NAME "PDF"
#define TB_PRINTER_PDF     1        // writes a PDF file
#define TB_PRINTER_QUEUE   2        // a CUPS queue of the machine
#define TB_PRINTER_VIRTUAL 3        // a test's printer: writes a PDF file like the PDF printer

// A paper the layer knows: its DMPAPER id, name and size in tenths of a millimetre (portrait).
struct TBPAPERSIZE {
    short nId;
    const char* pszName;
    int cx;
    int cy;
};
const TBPAPERSIZE* TbFindPaper(short nId);          // null for an id the layer does not know

// One printer as the spooler lists it. Offsets are the unprintable edge on each side, in dots.
struct TBPRINTER {
    int nKind = TB_PRINTER_PDF;
    std::string strName;            // active code page
    std::string strQueue;           // a queue's own name (UTF-8), which strName may differ from
    std::string strPort;
    std::string strDriver;
    std::string strLocation;
    std::string strComment;
    std::vector<short> papers;      // DMPAPER ids
    short nDefaultPaper = 0;        // one of papers
    std::vector<POINT> resolutions; // dots per inch (x, y), the default first
    POINT ptOffset = {0, 0};
    BOOL bColor = TRUE;
    BOOL bDefault = FALSE;
};

// The page a document is drawn on: paper, orientation and resolution chosen from a device mode.
struct TBPAGEGEOMETRY {
    short nPaper = 0;
    BOOL bLandscape = FALSE;
    int nDpiX = 600, nDpiY = 600;
    SIZE szPhysical = {0, 0};       // dots
    POINT ptOffset = {0, 0};        // dots
    int nCopies = 1;
    BOOL bCollate = FALSE;
    BOOL bColor = TRUE;
};

// The drawing of one page in device units (dots), already mapped and clipped by the caller's DC
// state except for the clip, which the page applies. Colours are COLORREF.
struct ITbPrintPage {
    virtual ~ITbPrintPage() = default;
    virtual void SetClip(const std::vector<RECT>* pClip) = 0;          // null: the whole page
    // A pen of width 0 draws nothing; style as PS_xxx.
    virtual void Lines(const POINT* pPoints, int nCount, BOOL bClosed, COLORREF cr, int nWidth, UINT uStyle) = 0;
    virtual void FillPolygon(const POINT* pPoints, int nCount, BOOL bWinding, COLORREF cr) = 0;
    virtual void FillRect(const RECT& rc, COLORREF cr) = 0;
    virtual void Ellipse(const RECT& rc, BOOL bFill, COLORREF crFill, BOOL bFrame, COLORREF crPen, int nWidth) = 0;
    // One line of text, the cell's left at x and top at yTop, in the text engine's face.
    virtual void Text(void* pFace, int x, int yTop, const char* pszUtf8, int cbUtf8, COLORREF cr, BOOL bRtl) = 0;
    // The source rectangle of an image stretched onto the destination rectangle.
    virtual void Image(const CTbPixelBuffer& image, const RECT& rcSource, const RECT& rcDest) = 0;
};

// A document being written: pages are finished as they are drawn, so memory stays flat.
struct ITbPrintJob {
    virtual ~ITbPrintJob() = default;
    virtual ITbPrintPage* StartPage() = 0;      // null on failure
    virtual BOOL EndPage() = 0;
    virtual BOOL Finish() = 0;                  // closes the file or hands it to the queue
    virtual void Abort() = 0;                   // drops the output
};

struct ITbPrintSystem {
    virtual ~ITbPrintSystem() = default;
    // The machine's queues (CUPS), the default one marked; answers at once without a cupsd.
    // A queue whose name is taken by the PDF printer is listed as "<name> (CUPS)".
    virtual void ListQueues(std::vector<TBPRINTER>* pQueues) = 0;
    // pszOutputUtf8 null: the queue itself; else the PDF file to write.
    virtual std::unique_ptr<ITbPrintJob> StartJob(const TBPRINTER& printer, const TBPAGEGEOMETRY& page,
                                                  const char* pszDocUtf8, const char* pszOutputUtf8) = 0;
};
void TbSetPrintSystem(ITbPrintSystem* pSystem);
ITbPrintSystem* TbGetPrintSystem();

// The printers in the spooler's order: the PDF printer, the test's virtual printers, the queues.
std::vector<TBPRINTER> TbListPrinters();
BOOL TbFindPrinter(LPCSTR pszName, TBPRINTER* pPrinter);
// The geometry a device mode gives on a printer (its defaults for fields the mode does not set,
// or sets to something the printer lacks).
TBPAGEGEOMETRY TbPageGeometry(const TBPRINTER& printer, const DEVMODEA* pDevMode);

// Test interface. A virtual printer writes PDF like the PDF printer, with the papers,
// resolution, offsets (dots) and colour given. bDefault makes it the default printer.
struct TBVIRTUALPRINTER {
    std::string strName;
    std::vector<short> papers;      // the first is the default
    int nDpiX = 600, nDpiY = 600;
    POINT ptOffset = {0, 0};
    BOOL bColor = TRUE;
    BOOL bDefault = FALSE;
};
void TbAddVirtualPrinter(const TBVIRTUALPRINTER& printer);
void TbRemoveVirtualPrinters();
// FALSE hides the machine's queues, so that a test sees the same list on every machine.
void TbUseSystemPrinters(BOOL bUse);
