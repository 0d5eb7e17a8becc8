// The print engine's run: printer DC and printable area, document start, scaling into column
// bands, pagination into page records and the page loop. Drawing is in TablePrintDraw.cpp.
#include "framework/print/TablePrint.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "framework/base/NorvGlobals.h"
#include "framework/print/PrinterInfo.h"
#include "framework/table/TableColumn.h"
#include "framework/table/TableColumnsMap.h"
#include "framework/table/TableGroups.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "framework/table/TreeNode.h"
#include "framework/table/RowPosition.h"

namespace {

int Gcd(int a, int b)
{
    while (b != 0) {
        int t = a % b;
        a = b;
        b = t;
    }
    return a < 1 ? 1 : a;
}

int AtLeastOne(int n)
{
    return n < 1 ? 1 : n;
}

// A font of the same face and weight as hFont, nPoints high at 100 % on the printer: the
// scale's mapping then shrinks text and columns alike.
BOOL MakePrinterFont(CTBFont& font, const LOGFONTA& lfFrom, int nPoints, int nWeight, HDC hdc)
{
    LOGFONTA lf = lfFrom;
    lf.lfHeight = -static_cast<LONG>(static_cast<long long>(nPoints) * GetDeviceCaps(hdc, LOGPIXELSY) / 72);
    lf.lfWidth = 0;
    lf.lfWeight = nWeight;
    return font.CreateFontIndirect(lf);
}

} // namespace

CTablePrint::CTablePrint() = default;

CTablePrint::~CTablePrint()
{
    DeletePens();
}

BOOL CTablePrint::SetView(CViewTable* pView)
{
    m_pView = pView;
    if (pView)
        m_sortColumns.Assign(pView->GetSortColumns());
    else
        m_sortColumns.Clear();
    m_bSortShown = pView && !pView->GetColumns().m_bDefaultOrder;
    return TRUE;
}

const CPrintPage* CTablePrint::GetPage(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetPageCount() ? &m_pages[static_cast<size_t>(nIndex)] : nullptr;
}

const CPrintBand* CTablePrint::GetBand(int nIndex) const
{
    return nIndex >= 0 && nIndex < static_cast<int>(m_bands.size()) ? &m_bands[static_cast<size_t>(nIndex)] : nullptr;
}

CTableColumn* CTablePrint::GetPrintColumn(int nIndex, int* pnColumnIndex) const
{
    if (pnColumnIndex)
        *pnColumnIndex = -1;
    if (!m_pView || nIndex < 0 || nIndex >= m_pView->GetColumnCount())
        return nullptr;
    if (m_settings.m_bTableOrder) {
        if (pnColumnIndex)
            *pnColumnIndex = nIndex;
        return m_pView->GetColumns().GetColumn(nIndex);
    }
    CTableColumnsMap& order = m_pView->GetColumnOrder();
    if (nIndex >= order.GetCount())
        return nullptr;
    if (pnColumnIndex)
        *pnColumnIndex = order.GetColumnIndex(nIndex);
    return order.GetColumn(nIndex);
}

int CTablePrint::GetColumnWidth(int nIndex) const
{
    return nIndex >= 0 && nIndex < static_cast<int>(m_columnWidths.size()) ? m_columnWidths[static_cast<size_t>(nIndex)] : 0;
}

int CTablePrint::ToLogical(int nDeviceUnits) const
{
    int nScale = m_settings.m_nScale > 0 ? m_settings.m_nScale : 100;
    return static_cast<int>(static_cast<long long>(nDeviceUnits) * 100 / nScale);
}

void CTablePrint::SetScaleMapping(HDC hdc, int nScale) const
{
    int nDivisor = Gcd(nScale, 100);
    SetMapMode(hdc, MM_ANISOTROPIC);
    SetWindowExtEx(hdc, 100 / nDivisor, 100 / nDivisor, nullptr);
    SetViewportExtEx(hdc, nScale / nDivisor, nScale / nDivisor, nullptr);
}

void CTablePrint::DeletePens()
{
    if (m_hGridBrush)
        DeleteObject(m_hGridBrush);
    if (m_hThickBrush)
        DeleteObject(m_hThickBrush);
    m_hGridBrush = nullptr;
    m_hThickBrush = nullptr;
}

// ---- The run ------------------------------------------------------------------------------

int CTablePrint::Print()
{
    m_bPreview = FALSE;
    HDC hdc = CreatePrinterDC();
    if (!hdc)
        return 0;
    int nResult = StartDocument(hdc);
    if (nResult == 1) {
        Paginate(hdc);
        PrintPages(hdc);
        EndDocument(hdc);
    }
    DeleteDC(hdc);
    return nResult;
}

HDC CTablePrint::BeginPreview()
{
    m_bPreview = TRUE;
    HDC hdc = CreatePrinterDC();
    if (!hdc)
        return nullptr;
    if (StartDocument(hdc) != 1) {
        DeleteDC(hdc);
        return nullptr;
    }
    Paginate(hdc);
    return hdc;
}

BOOL CTablePrint::DrawPreviewPage(int nPage, HDC hdc, const RECT* prcClip)
{
    const CPrintPage* pPage = GetPage(nPage);
    if (!pPage || !hdc)
        return FALSE;
    if (!prcClip)
        return PrintPage(hdc, *pPage, nullptr) != 0;
    POINT pts[2] = {{prcClip->left, prcClip->top}, {prcClip->right, prcClip->bottom}};
    DPtoLP(hdc, pts, 2);
    RECT rcClip = {pts[0].x < pts[1].x ? pts[0].x : pts[1].x, pts[0].y < pts[1].y ? pts[0].y : pts[1].y,
                   pts[0].x < pts[1].x ? pts[1].x : pts[0].x, pts[0].y < pts[1].y ? pts[1].y : pts[0].y};
    return PrintPage(hdc, *pPage, &rcClip) != 0;
}

void CTablePrint::EndPreview(HDC hdc)
{
    if (hdc) {
        EndDocument(hdc);
        DeleteDC(hdc);
    }
    m_bPreview = FALSE;
}

HDC CTablePrint::CreatePrinterDC()
{
    if (!m_settings.HasPrinter())
        return nullptr;
    HDC hdc = m_settings.GetPrinter()->CreateDC();
    if (!hdc)
        return nullptr;
    PreparePrinterDC(hdc);
    return hdc;
}

void CTablePrint::PreparePrinterDC(HDC hdc)
{
    SetBkMode(hdc, TRANSPARENT);
    // 25 millimetres to the inch, in floating point: 20 mm is 0.8 inch.
    double dInches[4];
    for (int i = 0; i < 4; ++i) {
        double dMargin = m_settings.m_dMargins[i];
        dInches[i] = m_settings.m_nUnits == PRINT_UNITS_MM ? static_cast<long long>(dMargin * 100) / 2500.0
                                                           : static_cast<long long>(dMargin * 1000) / 1000.0;
    }
    int nHorz = GetDeviceCaps(hdc, HORZRES);
    int nVert = GetDeviceCaps(hdc, VERTRES);
    int nOffX = GetDeviceCaps(hdc, PHYSICALOFFSETX);
    int nOffY = GetDeviceCaps(hdc, PHYSICALOFFSETY);
    int nDpiX = GetDeviceCaps(hdc, LOGPIXELSX);
    int nDpiY = GetDeviceCaps(hdc, LOGPIXELSY);
    m_rcPage = RECT{0, 0, nHorz, nVert};
    double dLeft = nDpiX * dInches[PRINT_MARGIN_LEFT] - nOffX;
    double dTop = nDpiY * dInches[PRINT_MARGIN_TOP] - nOffY;
    double dRight = nOffX + nHorz - nDpiX * dInches[PRINT_MARGIN_RIGHT];
    double dBottom = nOffY + nVert - nDpiY * dInches[PRINT_MARGIN_BOTTOM];
    m_rcPrintable.left = static_cast<int>(dLeft > nOffX ? dLeft : nOffX);
    m_rcPrintable.top = static_cast<int>(dTop > nOffY ? dTop : nOffY);
    m_rcPrintable.right = static_cast<int>(dRight < nHorz - nOffX ? dRight : nHorz - nOffX);
    m_rcPrintable.bottom = static_cast<int>(dBottom < nVert - nOffY ? dBottom : nVert - nOffY);
    // Margins that meet or cross leave no page to print on (negative bands, a page per line):
    // the page as far as the printer reaches takes their place.
    if (m_rcPrintable.right <= m_rcPrintable.left) {
        m_rcPrintable.left = nOffX;
        m_rcPrintable.right = nHorz - nOffX;
    }
    if (m_rcPrintable.bottom <= m_rcPrintable.top) {
        m_rcPrintable.top = nOffY;
        m_rcPrintable.bottom = nVert - nOffY;
    }
    SetupScaling(hdc);
}

int CTablePrint::StartDocument(HDC hdc)
{
    if (!m_pView)
        return 0;
    static const int s_masks[4][2] = {{0, 1}, {0, 0}, {2, 2}, {2, 1}};   // by selection: without, with sum mode
    int nSelection = m_settings.m_nRowSelection;
    if (nSelection >= 0 && nSelection <= 3)
        m_pView->GetRowTree().RecalcTableGroupsByMask(s_masks[nSelection][m_pView->GetSumMode() ? 1 : 0]);
    if (m_settings.m_bNoSort) {
        CSortColumns none(30);
        m_pView->Resort(none);
    } else {
        m_pView->Resort(m_sortColumns);
    }

    m_nCellInset = AtLeastOne(ScreenToPrinterX(hdc, 3));
    m_nArrowWidth = AtLeastOne(ScreenToPrinterX(hdc, 12));
    m_nPx1 = AtLeastOne(ScreenToPrinterX(hdc, 1));
    m_nPx2 = AtLeastOne(ScreenToPrinterX(hdc, 2));
    m_nPx4 = AtLeastOne(ScreenToPrinterX(hdc, 4));
    m_nPy1 = AtLeastOne(ScreenToPrinterY(hdc, 1));
    m_nPy2 = AtLeastOne(ScreenToPrinterY(hdc, 2));
    m_nPy6 = AtLeastOne(ScreenToPrinterY(hdc, 6));

    DeletePens();
    int nMode = m_settings.m_nColorMode;
    m_nGridPenWidth = LineWidthToPrinter(hdc, m_settings.m_nGridWidth);
    if (m_nGridPenWidth != 0)
        m_hGridBrush = CreateSolidBrush(PrintTextColor(nMode, m_properties.GetFaceColor()));
    m_nThickPenWidth = LineWidthToPrinter(hdc, m_settings.m_nGroupLineStyle == 3 ? m_settings.m_nGridWidth
                                                                                 : m_settings.m_nLineWidth);
    if (m_nThickPenWidth != 0)
        m_hThickBrush = CreateSolidBrush(PrintTextColor(nMode, m_properties.GetShadowColor()));
    int nFrameWidth = (m_nPx1 + m_nPy1) / 2;
    if (nMode == PRINT_COLOR)
        m_frame.Create3D(nFrameWidth);
    else
        m_frame.CreateMono(nFrameWidth);
    m_frame.SetFlat(TRUE);

    if (!m_bPreview) {
        DOCINFOA docInfo = {};
        docInfo.cbSize = sizeof(docInfo);
        CTBString strTitle = m_pView->GetTitle();
        docInfo.lpszDocName = strTitle;
        docInfo.lpszOutput = m_strOutput.IsBlank() ? nullptr : static_cast<const char*>(m_strOutput);
        if (StartDocA(hdc, &docInfo) < 1)
            return 0;
    }
    if (m_settings.m_bReportHeader)
        CTablePrintHeader::PrepareList(m_reportHeader, hdc);
    if (m_settings.m_bReportFooter)
        CTablePrintHeader::PrepareList(m_reportFooter, hdc);
    if (m_settings.m_bPageHeader)
        CTablePrintHeader::PrepareList(m_pageHeader, hdc);
    if (m_settings.m_bPageFooter)
        CTablePrintHeader::PrepareList(m_pageFooter, hdc);
    return 1;
}

void CTablePrint::EndDocument(HDC hdc)
{
    if (m_settings.m_bReportHeader)
        CTablePrintHeader::ReleaseList(m_reportHeader, hdc);
    if (m_settings.m_bReportFooter)
        CTablePrintHeader::ReleaseList(m_reportFooter, hdc);
    if (m_settings.m_bPageHeader)
        CTablePrintHeader::ReleaseList(m_pageHeader, hdc);
    if (m_settings.m_bPageFooter)
        CTablePrintHeader::ReleaseList(m_pageFooter, hdc);
    if (!m_bPreview)
        EndDoc(hdc);
}

// ---- Scaling and bands ----------------------------------------------------------------------

int CTablePrint::SetupScaling(HDC hdc)
{
    int nScale = m_settings.m_nScale;
    int nBandLimit = INT_MAX;
    int nColumns = m_pView ? m_pView->GetColumnCount() : 0;
    m_columnWidths.assign(static_cast<size_t>(nColumns), 0);
    auto measureColumns = [&]() {
        for (int i = 0; i < nColumns; ++i) {
            int nCol = -1;
            CTableColumn* pColumn = GetPrintColumn(i, &nCol);
            m_columnWidths[static_cast<size_t>(i)] =
                pColumn && !pColumn->m_bHidden ? ScreenToPrinterX(hdc, pColumn->m_nWidth) : 0;
            // A column that fits what it holds does so in the printer's fonts too.
            if (pColumn && !pColumn->m_bHidden && pColumn->m_bFitWidth)
                m_columnWidths[static_cast<size_t>(i)] = std::max({m_columnWidths[static_cast<size_t>(i)], MeasurePrintedFit(hdc, pColumn, nCol),
                                                                   MeasurePrintedTitle(hdc, pColumn, nCol)});
        }
    };

    if (m_settings.m_nPagesWide < 1) {
        if (nScale > 200)
            nScale = 200;
    } else {
        SetScaleMapping(hdc, 100);
        measureColumns();
        long long nTotal = 0;
        if (m_settings.m_bRowTitles) {
            CreateFonts(hdc);
            GetRowHeight(hdc, &m_sizeRow);
            nTotal += m_sizeRow.cx;
        }
        for (int nWidth : m_columnWidths)
            nTotal += nWidth;
        // A table without any width has nothing to fit: it prints at its scale.
        if (nTotal > 0) {
            long long nFit = static_cast<long long>(m_rcPrintable.right - m_rcPrintable.left) * m_settings.m_nPagesWide * 100 / nTotal;
            nScale = nFit > 100 ? 100 : static_cast<int>(nFit);
        } else if (nScale > 200) {
            nScale = 200;
        }
        nBandLimit = m_settings.m_nPagesWide;
    }
    if (nScale < 10)
        nScale = 10;

    for (;;) {
        m_settings.m_nScale = nScale;
        SetScaleMapping(hdc, nScale);
        m_rcLogical = RECT{ToLogical(m_rcPrintable.left), ToLogical(m_rcPrintable.top), ToLogical(m_rcPrintable.right),
                           ToLogical(m_rcPrintable.bottom)};
        CreateFonts(hdc);
        GetRowHeight(hdc, &m_sizeRow);
        GetTitleRowHeight(hdc, &m_sizeTitle);
        measureColumns();
        int nBands = BuildColumnBands();
        if (nBands <= nBandLimit || nScale <= 10)
            break;
        nScale = nScale - 3 < 10 ? 10 : nScale - 3;
    }
    m_nBands = static_cast<int>(m_bands.size());
    return 1;
}

BOOL CTablePrint::IsSortMarked(int nCol) const
{
    return m_bSortShown && !m_settings.m_bNoSort && m_sortColumns.GetCount() > 0 && m_sortColumns.GetAt(0).m_nColumn == nCol;
}

int CTablePrint::MeasurePrintedTitle(HDC hdc, const CTableColumn* pColumn, int nCol)
{
    if (!m_fontData.GetSafeHandle() || !m_fontTitle.GetSafeHandle())
        return 0;
    HGDIOBJ hOld = SelectObject(hdc, (m_settings.m_nBoldTitles == 1 ? m_fontTitle : m_fontData).GetSafeHandle());
    int nWidest = 0;
    const char* pszLine = pColumn->GetTitle();
    for (const char* p = pszLine;; ++p)
        if (*p == '\n' || *p == '\0') {
            SIZE size = {0, 0};
            GetTextExtentPoint32A(hdc, pszLine, static_cast<int>(p - pszLine), &size);
            nWidest = std::max(nWidest, static_cast<int>(size.cx));
            if (*p == '\0')
                break;
            pszLine = p + 1;
        }
    SelectObject(hdc, hOld);
    // As DrawColumnTitle lays it out: the insets, the mark's room and the line the cell ends with.
    const int nLine = ToLogical(m_nGridPenWidth > 0 ? m_nGridPenWidth : m_nPx1);
    return nWidest > 0 ? nWidest + 2 * m_nCellInset + (IsSortMarked(nCol) ? m_nArrowWidth : 0) + nLine + m_nPx1 : 0;
}

int CTablePrint::MeasurePrintedFit(HDC hdc, const CTableColumn* pColumn, int nCol)
{
    if (!m_pView || nCol < 0 || !m_fontData.GetSafeHandle() || !m_fontTitle.GetSafeHandle())
        return 0;
    std::vector<char> text(static_cast<size_t>(pColumn->GetFullTextSize()));
    int nWidest = 0;
    // As DrawRow and DrawCell choose the font: a total line and a bold cell in the title's.
    const auto Measure = [&](CTableRow* pRow, BOOL bTotal) {
        pRow->GetCellText(text.data(), static_cast<int>(text.size()), nCol, pColumn, m_pView);
        if (!text[0])
            return TRUE;
        BYTE attrs[3];
        for (int i = 0; i < 3; ++i)
            attrs[i] = pRow->GetAttr(nCol, i);
        const BOOL bTitleFont = bTotal || (attrs[1] & CELL_BOLD) != 0;
        HGDIOBJ hOld = SelectObject(hdc, (bTitleFont ? m_fontTitle : m_fontData).GetSafeHandle());
        SIZE size = {0, 0};
        GetTextExtentPoint32A(hdc, text.data(), static_cast<int>(strlen(text.data())), &size);
        SelectObject(hdc, hOld);
        nWidest = std::max(nWidest, static_cast<int>(size.cx) + DecimalInset(pColumn, attrs, text.data(), bTitleFont));
        return TRUE;
    };
    // Every row, also one the row selection of the print shows and the window does not, and
    // the sum and total lines the view has.
    m_pView->GetRowTree().ForEachRow([&](CTableRow* pRow) { return Measure(pRow, FALSE); });
    CViewRow row(m_pView);
    for (int nLine = 0; nLine < m_pView->GetRowCount(); ++nLine)
        if (m_pView->GetRow(row, nLine) && row.GetNode() && !row.IsDataRow())
            Measure(row.GetNode(), row.GetPosition().m_nKind == LINE_TOTAL);
    // Its insets and the line the cell ends with, as DrawCell lays it out.
    const int nLine = ToLogical(m_nGridPenWidth > 0 ? m_nGridPenWidth : m_nPx1);
    return nWidest > 0 ? nWidest + 2 * m_nCellInset + nLine + m_nPx1 : 0;
}

int CTablePrint::BuildColumnBands()
{
    m_bands.clear();
    const int nAvailable = m_rcLogical.right - m_rcLogical.left;
    CPrintBand band;
    band.m_nFirstColumn = 0;
    band.m_nLastColumn = -1;
    band.m_nWidth = m_settings.m_bRowTitles ? m_sizeTitle.cx : 0;
    int nColumns = static_cast<int>(m_columnWidths.size());
    for (int i = 0; i < nColumns; ++i) {
        int nWidth = GetColumnWidth(i);
        BOOL bHasWidth = band.m_nWidth > (m_bands.empty() && m_settings.m_bRowTitles ? m_sizeTitle.cx : 0);
        if (band.m_nLastColumn >= band.m_nFirstColumn && bHasWidth && band.m_nWidth + nWidth > nAvailable) {
            m_bands.push_back(band);
            band = CPrintBand{i, i - 1, 0};
        }
        band.m_nLastColumn = i;
        band.m_nWidth += nWidth;
        // A column wider than the page gets a band of its own, clipped to the printable width;
        // the next column starts the next band.
        if (band.m_nWidth > nAvailable) {
            band.m_nWidth = nAvailable;
            m_bands.push_back(band);
            band = CPrintBand{i + 1, i, 0};
        }
    }
    if (band.m_nLastColumn >= band.m_nFirstColumn || m_bands.empty())
        m_bands.push_back(band);
    return static_cast<int>(m_bands.size());
}

// ---- Fonts and heights ----------------------------------------------------------------------

void CTablePrint::CreateFonts(HDC hdc)
{
    m_fontData.DeleteObject();
    m_fontTitle.DeleteObject();
    LOGFONTA lf = {};
    if (m_settings.m_font.GetSafeHandle()) {
        m_settings.m_font.GetLogFont(&lf);
        int nPoints = CTBFont::GetPointSizeOf(m_settings.m_font.GetSafeHandle(), nullptr);
        MakePrinterFont(m_fontData, lf, nPoints > 0 ? nPoints : 10, lf.lfWeight, hdc);
        MakePrinterFont(m_fontTitle, lf, nPoints > 0 ? nPoints : 10, FW_BOLD, hdc);
    } else if (m_properties.GetFont()) {
        LOGFONTA lfBold = {};
        GetObjectA(m_properties.GetFont(), sizeof(lf), &lf);
        int nPoints = CTBFont::GetPointSizeOf(m_properties.GetFont(), nullptr);
        HFONT hBold = m_properties.GetBoldFont();
        if (!hBold || !GetObjectA(hBold, sizeof(lfBold), &lfBold)) {
            lfBold = lf;
            lfBold.lfWeight = FW_BOLD;
        }
        MakePrinterFont(m_fontData, lf, nPoints > 0 ? nPoints : 10, lf.lfWeight, hdc);
        MakePrinterFont(m_fontTitle, lfBold, nPoints > 0 ? nPoints : 10, lfBold.lfWeight, hdc);
    } else {
        snprintf(lf.lfFaceName, sizeof(lf.lfFaceName), "%s", "Times New Roman");
        lf.lfCharSet = GetNorvGlobals().m_bRightToLeft ? ARABIC_CHARSET : DEFAULT_CHARSET;
        MakePrinterFont(m_fontData, lf, 10, FW_NORMAL, hdc);
        MakePrinterFont(m_fontTitle, lf, 10, FW_BOLD, hdc);
    }
    char szSeparator[2] = {GetNorvGlobals().m_chDecimal, '\0'};
    CTBFont* fonts[2] = {&m_fontTitle, &m_fontData};
    for (int i = 0; i < 2; ++i) {
        HGDIOBJ hOld = SelectObject(hdc, fonts[i]->GetSafeHandle());
        SIZE size = {0, 0};
        GetTextExtentPoint32A(hdc, "0", 1, &size);
        m_nDigitWidth[i] = size.cx;
        GetTextExtentPoint32A(hdc, szSeparator, 1, &size);
        m_nDigitWidth[2 + i] = size.cx;
        SelectObject(hdc, hOld);
    }
}

void CTablePrint::GetRowHeight(HDC hdc, SIZE* pSize)
{
    HGDIOBJ hOld = SelectObject(hdc, m_fontTitle.GetSafeHandle());
    TEXTMETRICA tm = {};
    GetTextMetricsA(hdc, &tm);
    SelectObject(hdc, hOld);
    int nText = tm.tmHeight + tm.tmExternalLeading;
    pSize->cx = nText + static_cast<int>(GetDeviceCaps(hdc, LOGPIXELSX) * 0.03937);
    pSize->cy = nText + static_cast<int>(GetDeviceCaps(hdc, LOGPIXELSY) * 0.03937);
    if (m_settings.m_nGridWidth != 0)
        pSize->cy += LineWidthToPrinter(hdc, m_settings.m_nGridWidth);
}

void CTablePrint::GetTitleRowHeight(HDC hdc, SIZE* pSize)
{
    int nHeight = m_sizeRow.cy;
    int nLines = 1;
    if (m_pView && m_pView->IsOpen()) {
        for (int i = 0; i < m_pView->GetColumnCount(); ++i) {
            CTableColumn* pColumn = GetPrintColumn(i, nullptr);
            if (pColumn && pColumn->GetTitleLines() > nLines)
                nLines = pColumn->GetTitleLines();
        }
    }
    pSize->cx = m_sizeRow.cx;
    switch (m_settings.m_nTitleStyle) {
    case 1:
        pSize->cy = (nLines + 1) * nHeight;
        break;
    case 2:
        pSize->cy = nHeight;
        break;
    case 3:
        pSize->cy = nHeight + LineWidthToPrinter(hdc, 3 * m_settings.m_nGridWidth);
        break;
    default:
        pSize->cy = nLines * nHeight;
        break;
    }
}

// ---- Pagination ---------------------------------------------------------------------------

int CTablePrint::MeasureList(CTablePrintHeaderList& list, BOOL bEnabled, HDC hdc)
{
    return bEnabled ? CTablePrintHeader::MeasureList(list, hdc) : 0;
}

int CTablePrint::Paginate(HDC hdc)
{
    m_nPageHeaderHeight = MeasureList(m_pageHeader, m_settings.m_bPageHeader, hdc);
    m_nPageFooterHeight = MeasureList(m_pageFooter, m_settings.m_bPageFooter, hdc);
    m_nReportHeaderHeight = MeasureList(m_reportHeader, m_settings.m_bReportHeader, hdc);
    m_nReportFooterHeight = MeasureList(m_reportFooter, m_settings.m_bReportFooter, hdc);
    m_pages.clear();
    m_pages.reserve(64);
    const int nLines = m_pView ? m_pView->GetRowTree().GetCount() : 0;
    const int nRowHeight = AtLeastOne(m_sizeRow.cy);
    const RECT& rcL = m_rcLogical;
    int nResult = 1;
    int nFirst = 0;
    for (int nSlice = 1;; ++nSlice) {
        int nTop = m_nPageHeaderHeight + (nSlice == 1 ? m_nReportHeaderHeight : 0);
        int nBottom = m_nPageFooterHeight;
        BOOL bTitles = m_settings.m_nTitleRows == 2 || (m_settings.m_nTitleRows == 1 && nSlice == 1);
        int nTitle = bTitles ? m_sizeTitle.cy : 0;
        int nFree = (rcL.bottom - rcL.top) - nTitle - nBottom - nTop;
        // At least one line a page, so that pagination always advances.
        int nFit = AtLeastOne(nFree / nRowHeight);
        if (nFirst + nFit >= nLines) {
            int nRoom = nFree - m_nReportFooterHeight;
            // A report footer that can never fit ends the pages here; without one the forced
            // line above stands.
            if (m_nReportFooterHeight > 0 && nRoom < 1) {
                nResult = 0;
                break;
            }
            // The report footer goes under the last line: when it does not fit there, this
            // slice takes fewer lines and the rest go on the next one.
            if (nRoom / nRowHeight + nFirst < nLines)
                nFit = AtLeastOne(nRoom / nRowHeight);
        }
        CPrintPage page;
        page.m_nFirstLine = nFirst;
        page.m_nLastLine = nFirst + nFit - 1 < nLines - 1 ? nFirst + nFit - 1 : nLines - 1;
        page.m_nSlice = nSlice;
        page.m_bTitles = bTitles;
        page.m_rcHeader = RECT{rcL.left, rcL.top, rcL.right, rcL.top + nTop};
        page.m_rcFooter = RECT{rcL.left, rcL.bottom - nBottom, rcL.right, rcL.bottom};
        for (size_t b = 0; b < m_bands.size(); ++b) {
            page.m_nBand = static_cast<int>(b);
            int nWidth = m_bands[b].m_nWidth;
            page.m_rcBody = RECT{rcL.left, rcL.top + nTop, rcL.left + nWidth, rcL.bottom - nBottom};
            int nSpare = (rcL.right - rcL.left) - nWidth;
            if (m_settings.m_bCenter && nSpare > 1)
                OffsetRect(&page.m_rcBody, nSpare / 2, 0);
            m_pages.push_back(page);
        }
        nFirst = page.m_nLastLine + 1;
        if (nFirst >= nLines)
            break;
    }

    m_fields.SetNumber(CTablePrintFields::FIELD_LASTPAGE, m_pages.empty() ? 0 : GetPageNumber(m_pages.back()));
    int nShown = 0;
    for (int i = 0; m_pView && i < m_pView->GetColumnCount(); ++i) {
        CTableColumn* pColumn = GetPrintColumn(i, nullptr);
        if (pColumn && !pColumn->m_bHidden)
            ++nShown;
    }
    m_fields.SetNumber(CTablePrintFields::FIELD_COLUMNS, nShown);
    CRowStatistics stats;
    if (m_pView)
        m_pView->GetRowTree().CountRows(&stats);
    m_fields.SetNumber(CTablePrintFields::FIELD_ROWS, stats.nRows);
    m_fields.SetNumber(CTablePrintFields::FIELD_GROUPS, stats.nGroups);
    return nResult;
}

// ---- The page loop --------------------------------------------------------------------------

int CTablePrint::PrintPages(HDC hdc)
{
    const int nCount = GetPageCount();
    if (nCount == 0)
        return 1;
    int nFirst = m_settings.m_nFromPage > 0 ? m_settings.m_nFromPage : 1;
    int nLast = m_settings.m_nToPage > 0 ? m_settings.m_nToPage : nCount;
    if (nLast < nFirst)
        nLast = nFirst;
    if (nLast > nCount)
        nLast = nCount;
    const int nPrinted = nLast - nFirst + 1;
    if (nPrinted < 1)
        return 1;
    if (m_pProgress && !m_pProgress->SetProgress(0))
        return 1;
    for (int nPage = nFirst, k = 1; nPage <= nLast; ++nPage, ++k) {
        StartPage(hdc);
        SetBkMode(hdc, TRANSPARENT);
        SetScaleMapping(hdc, m_settings.m_nScale);
        int nDrawn = PrintPage(hdc, m_pages[static_cast<size_t>(nPage - 1)], nullptr);
        EndPage(hdc);
        // The sink may end itself at 100 %: it is not asked again after that.
        IPrintProgressSink* pSink = m_pProgress;
        if (pSink && !pSink->SetProgress(100 * k / nPrinted))
            break;
        if (!nDrawn)
            break;
    }
    return 1;
}
