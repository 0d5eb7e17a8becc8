#pragma once
// Every choice of one table print: columns and rows, titles, headers and footers, margins and
// units, scale or fit to pages, line widths, colour mode, font, page range, and the printer with
// its device mode. The engine holds one, the print and page-setup dialogs edit a copy, and the
// table window's commands load one from the settings file before and save it after.
#include "framework/base/TBString.h"
#include "framework/window/TBFont.h"
#include "platform/win/Windows.h"

class CIni;
class CPrinterInfo;

// Settings keys: string ids whose texts are the keys of the table window's section.
#define IDS_PRINT_TABLEORDER    28800
#define IDS_PRINT_NOSORT        28805
#define IDS_PRINT_TITLEROWS     28810
#define IDS_PRINT_ROWTITLES     28815
#define IDS_PRINT_ROWSELECTION  28820
#define IDS_PRINT_BACKGROUND    28825
#define IDS_PRINT_SCALE         28835
#define IDS_PRINT_PAGESWIDE     28840
#define IDS_PRINT_FROMPAGE      28845
#define IDS_PRINT_TOPAGE        28850
#define IDS_PRINT_MARGINLEFT    28860
#define IDS_PRINT_MARGINRIGHT   28865
#define IDS_PRINT_MARGINTOP     28870
#define IDS_PRINT_MARGINBOTTOM  28875
#define IDS_PRINT_UNITS         28877
#define IDS_PRINT_CENTER        28880
#define IDS_PRINT_GRIDWIDTH     28885
#define IDS_PRINT_LINEWIDTH     28890
#define IDS_PRINT_COLORMODE     28895
#define IDS_PRINT_PRINTER       28900
#define IDS_PRINT_FONT          28902
#define IDS_PRINT_PAGEHEADER    28910
#define IDS_PRINT_REPORTHEADER  28915
#define IDS_PRINT_PAGEFOOTER    28920
#define IDS_PRINT_REPORTFOOTER  28925
#define IDS_PRINT_DEVMODE       28935
#define IDS_PRINT_STOREDFLAG    28940

// Margin indexes and units.
#define PRINT_MARGIN_LEFT   0
#define PRINT_MARGIN_RIGHT  1
#define PRINT_MARGIN_TOP    2
#define PRINT_MARGIN_BOTTOM 3
#define PRINT_UNITS_INCHES  0
#define PRINT_UNITS_MM      1

// Colour modes.
#define PRINT_COLOR         0
#define PRINT_GREY          1
#define PRINT_BLACKWHITE    2

class CTablePrintSettings
{
public:
    CTablePrintSettings();                                  // the defaults; units from the locale
    CTablePrintSettings(const CTablePrintSettings& other);  // no font, name or printer, then CopyFrom
    CTablePrintSettings& operator=(const CTablePrintSettings&) = delete;
    ~CTablePrintSettings();

    // Every plain field, the margins and the font. Without a printer in the source the target
    // keeps its own printer and name.
    void CopyFrom(const CTablePrintSettings& other);
    // The stored fields under their keys in the section the CIni names. Load reads each with
    // the current value as its default; FALSE when no printer could be selected (then the record
    // has none, and the stored device mode and flag are not read). A stored device mode is
    // applied only when its recorded sizes are whole and equal the selected printer's.
    void Save(CIni& ini) const;
    BOOL Load(CIni& ini);

    // Printer choice. SelectPrinter opens m_strPrinter, else the default printer; FALSE leaves
    // no printer and an empty name. SetPrinterName ignores a blank name.
    BOOL SelectPrinter();
    void SetPrinterName(const CTBString& strName);
    // Margins that leave the table no room on the chosen paper (a settings file edited by hand,
    // a printer with a smaller paper) are cut, pair by pair, to a quarter of the paper each.
    // Load and SetPrinterName do it; without paper dimensions nothing changes.
    void BoundMarginsByPaper();
    CTBString GetPrinterName() const;
    BOOL HasPrinter() const { return m_pPrinter != nullptr; }
    CPrinterInfo* GetPrinter() const { return m_pPrinter; }

    // Device-mode fields; without a printer the getters answer -1 and the setters do nothing.
    short GetOrientation() const;
    void  SetOrientation(short nOrientation);
    short GetPaperSize() const;
    void  SetPaperSize(short nPaperSize);
    short GetCopies();                  // adds DM_COPIES with 1 copy when it is missing
    void  SetCopies(short nCopies);
    int   GetCollate() const;
    void  SetCollate(int nCollate);

    // The stored fields (the description in TablePrintSettings.cpp lists them with their keys).
    BOOL m_bTableOrder = FALSE;     // columns in the view's column array order, else display order
    BOOL m_bNoSort = FALSE;         // re-sort with an empty key list before a run
    int  m_nTitleRows = 2;          // column titles: 1 first page only, 2 every page, else never
    int  m_nTitleStyle = 1;         // not stored
    int  m_nGroupLineStyle = 2;     // not stored; 3 double group lines
    int  m_nBoldTitles = 0;         // not stored; 1 bold column titles
    BOOL m_bRowTitles = TRUE;
    BOOL m_bPageHeader = TRUE;
    BOOL m_bReportHeader = TRUE;
    BOOL m_bPageFooter = TRUE;
    BOOL m_bReportFooter = TRUE;
    int  m_nRowSelection = 0;       // which rows count in the sums, 0 to 3
    COLORREF m_crBackground = static_cast<COLORREF>(-1);   // -1: no fill
    int  m_nScale = 100;            // per cent; after a run the scale used
    int  m_nPagesWide = 0;          // fit to this many pages wide; 0 or less: the scale
    int  m_nFromPage = -1;          // 1-based; 0 or less: from the first
    int  m_nToPage = -1;            // 0 or less: to the last
    double m_dMargins[4] = {20.0, 20.0, 20.0, 20.0};       // in m_nUnits
    int  m_nUnits = PRINT_UNITS_MM;
    BOOL m_bCenter = TRUE;
    int  m_nGridWidth = 1;          // screen pixels; 0 none; negative: minus device units
    int  m_nLineWidth = 2;          // thick lines, same encoding
    int  m_nColorMode = PRINT_GREY;
    CTBFont m_font;                 // none: the table window's fonts
    BOOL m_bStoredFlag = TRUE;
    CTBString m_strPrinter;

private:
    void ApplyStoredDevMode(CIni& ini);
    void ResetPrinter();

    CPrinterInfo* m_pPrinter = nullptr;    // owned
};
