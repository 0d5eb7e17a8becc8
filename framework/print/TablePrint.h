#pragma once
// The print engine: one table view laid out into page records (a slice of display lines
// crossed with a band of columns) and drawn on a printer or, for the preview, on any DC. It
// scales the screen's column widths to the printer, draws titles, rows, group and sum lines,
// grid lines, cell colours and fonts as the table window shows them (its properties copy), and
// places the four header and footer lists. CNorvTablePrint fills the lists.
#include "framework/base/TB3DFrame.h"
#include "framework/print/PrintLayout.h"
#include "framework/print/TablePrintHeader.h"
#include "framework/print/TablePrintSettings.h"
#include "framework/table/SortColumns.h"
#include "framework/window/TableWindowProperties.h"

#include <vector>

class CViewTable;
class CTableColumn;
class CTableRow;

// Receives the progress of a run; FALSE asks the run to stop after the current page.
class IPrintProgressSink
{
public:
    virtual ~IPrintProgressSink() = default;
    virtual BOOL SetProgress(int nPercent) = 0;
};

class CTablePrint
{
public:
    CTablePrint();
    virtual ~CTablePrint();
    CTablePrint(const CTablePrint&) = delete;
    CTablePrint& operator=(const CTablePrint&) = delete;

    // The view printed (not owned); its sort keys are copied now.
    BOOL SetView(CViewTable* pView);
    CViewTable* GetView() const { return m_pView; }
    void SetProgressSink(IPrintProgressSink* pSink) { m_pProgress = pSink; }
    IPrintProgressSink* GetProgressSink() const { return m_pProgress; }
    // Where the document goes (the printer's own choice when blank): a file for the PDF printer.
    void SetOutputFile(const char* pszPath) { m_strOutput = pszPath; }

    // The whole run on the printer: 0 without a printer, a DC or a started document, else 1.
    int  Print();
    // The preview keeps the printer DC between these; null when no document could be set up.
    HDC  BeginPreview();
    // Page index from 0; the clip in device units or null. FALSE for an index outside the pages.
    BOOL DrawPreviewPage(int nPage, HDC hdc, const RECT* prcClip);
    void EndPreview(HDC hdc);
    int  GetPageNumber(const CPrintPage& page) const { return (page.m_nSlice - 1) * m_nBands + page.m_nBand + 1; }

    // What the last scaling and pagination made.
    int  GetPageCount() const { return static_cast<int>(m_pages.size()); }
    const CPrintPage* GetPage(int nIndex) const;
    int  GetBandCount() const { return m_nBands; }
    const CPrintBand* GetBand(int nIndex) const;
    const RECT& GetPrintableRect() const { return m_rcPrintable; }
    const RECT& GetLogicalRect() const { return m_rcLogical; }
    const SIZE& GetRowSize() const { return m_sizeRow; }
    const SIZE& GetTitleSize() const { return m_sizeTitle; }

    CTablePrintSettings& GetSettings() { return m_settings; }
    const CTablePrintSettings& GetSettings() const { return m_settings; }
    CTableWindowProperties& GetProperties() { return m_properties; }
    const CTablePrintFields& GetFields() const { return m_fields; }
    CTablePrintHeaderList& GetReportHeader() { return m_reportHeader; }
    CTablePrintHeaderList& GetReportFooter() { return m_reportFooter; }
    CTablePrintHeaderList& GetPageHeader() { return m_pageHeader; }
    CTablePrintHeaderList& GetPageFooter() { return m_pageFooter; }

    // Column i in print order (display order, or the view's array with m_bTableOrder) and its
    // printer width; null or 0 outside the columns.
    CTableColumn* GetPrintColumn(int nIndex, int* pnColumnIndex) const;
    int  GetColumnWidth(int nIndex) const;

protected:
    virtual int  StartDocument(HDC hdc);
    virtual void EndDocument(HDC hdc);
    virtual int  SetupScaling(HDC hdc);
    virtual HDC  CreatePrinterDC();
    virtual int  PrintPages(HDC hdc);
    virtual int  PrintPage(HDC hdc, const CPrintPage& page, const RECT* prcClip);
    virtual int  DrawPageHeaders(HDC hdc, const CPrintPage& page, const RECT* prcClip);
    virtual int  DrawPageFooter(HDC hdc, const CPrintPage& page, const RECT* prcClip);
    virtual int  DrawBody(HDC hdc, const CPrintPage& page, const RECT* prcClip);
    virtual void DrawColumnTitles(HDC hdc, const RECT& rc, const CPrintPage& page);
    virtual void DrawColumnTitle(HDC hdc, int nIndex, const RECT& rc);
    virtual void DrawRows(HDC hdc, const RECT& rc, const CPrintPage& page, const RECT* prcClip);
    virtual void DrawRow(HDC hdc, const RECT& rc, int nLine, const CPrintPage& page);
    virtual void DrawCell(HDC hdc, CTableRow* pRow, int nIndex, const RECT& rc);
    virtual void DrawRowCells(HDC hdc, const CPrintBand& band, CTableRow* pRow, const RECT& rc);
    virtual void GetRowHeight(HDC hdc, SIZE* pSize);
    virtual void GetTitleRowHeight(HDC hdc, SIZE* pSize);
    virtual void CreateFonts(HDC hdc);
    virtual int  Paginate(HDC hdc);
    virtual int  BuildColumnBands();
    // The printable area from the margins and the scaling, on a DC made for the printer.
    void PreparePrinterDC(HDC hdc);

private:
    void SetScaleMapping(HDC hdc, int nScale) const;
    void DeletePens();
    void DrawHLine(HDC hdc, HBRUSH hBrush, int nWidth, int x1, int x2, int y) const;
    void DrawVLine(HDC hdc, HBRUSH hBrush, int nWidth, int x, int y1, int y2) const;
    int  ToLogical(int nDeviceUnits) const;
    void DrawMarkTriangle(HDC hdc, const RECT& rc) const;
    int  MeasureList(CTablePrintHeaderList& list, BOOL bEnabled, HDC hdc);
    int  DecimalInset(const CTableColumn* pColumn, const BYTE* pAttrs, const char* pszText, BOOL bTitleFont) const;
    // The printed width of a column that fits what it holds: its widest text in the printer's fonts.
    int  MeasurePrintedFit(HDC hdc, const CTableColumn* pColumn, int nCol);
    // The printed width of its title's widest line in the titles' font, beside the sort mark
    // when the column has one.
    int  MeasurePrintedTitle(HDC hdc, const CTableColumn* pColumn, int nCol);
    // The column the view shows sorted, as the grid marks it: none in the default order.
    BOOL IsSortMarked(int nCol) const;

    CTablePrintSettings m_settings;
    CTablePrintHeaderList m_reportHeader;
    CTablePrintHeaderList m_reportFooter;
    CTablePrintHeaderList m_pageHeader;
    CTablePrintHeaderList m_pageFooter;
    CTableWindowProperties m_properties;
    CViewTable* m_pView = nullptr;              // not owned
    CSortColumns m_sortColumns{30};
    BOOL m_bSortShown = FALSE;                  // the view was sorted by the trader, not in its default order
    IPrintProgressSink* m_pProgress = nullptr;  // not owned
    std::vector<CPrintPage> m_pages;
    std::vector<CPrintBand> m_bands;
    CTablePrintFields m_fields;
    RECT m_rcPage = {0, 0, 0, 0};               // device units
    RECT m_rcPrintable = {0, 0, 0, 0};          // device units, margins applied
    RECT m_rcLogical = {0, 0, 0, 0};            // the printable area at the run's scale
    BOOL m_bPreview = FALSE;
    SIZE m_sizeRow = {0, 0};
    SIZE m_sizeTitle = {0, 0};
    int  m_nBands = 1;
    int  m_nPageHeaderHeight = -1;
    int  m_nPageFooterHeight = -1;
    int  m_nReportHeaderHeight = -1;
    int  m_nReportFooterHeight = -1;
    std::vector<int> m_columnWidths;            // printer width by print index
    int  m_nCellInset = 3;
    int  m_nArrowWidth = 12;
    int  m_nPx1 = 1, m_nPx2 = 2, m_nPx4 = 4;
    int  m_nPy1 = 1, m_nPy2 = 2, m_nPy6 = 6;
    int  m_nGridPenWidth = 0;
    int  m_nThickPenWidth = 0;
    CTBFont m_fontData;
    CTBFont m_fontTitle;
    // Lines are filled as rectangles of the pens' widths: the same pixels under any mapping.
    HBRUSH m_hGridBrush = nullptr;              // owned; null for width 0
    HBRUSH m_hThickBrush = nullptr;             // owned; null for width 0
    CTB3DFrame m_frame;
    char m_szCell[512] = "";
    CTBString m_strOutput;
    int  m_nDigitWidth[4] = {0, 0, 0, 0};       // "0" title, "0" data, separator title, separator data
};
