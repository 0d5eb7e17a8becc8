// The print engine's page records: slices of display lines crossed with column bands, scaling
// and fitting, the page loop's range, and what a printed page shows of alignment and fields.
#include "PrintTestSupport.h"
#include "framework/print/NorvTablePrint.h"
#include "framework/print/PrinterInfo.h"
#include "framework/table/Table.h"
#include "platform/win/user/TestAnswers.h"

namespace {

// Counts the pages a run reports.
class CCountingSink : public IPrintProgressSink
{
public:
    BOOL SetProgress(int nPercent) override
    {
        m_calls.push_back(nPercent);
        return TRUE;
    }
    std::vector<int> m_calls;
};

// An engine on the PDF printer over a view, set up as the test asks, laid out for the preview.
class CLaidOut
{
public:
    CLaidOut(CViewTable& view, const std::function<void(CTablePrintSettings&)>& setup = nullptr) : m_print(&view)
    {
        UsePdfPrinterOnly();
        EXPECT_TRUE(m_print.GetSettings().SelectPrinter());
        m_print.GetSettings().m_nUnits = PRINT_UNITS_MM;
        for (double& dMargin : m_print.GetSettings().m_dMargins)
            dMargin = 20.0;
        if (setup)
            setup(m_print.GetSettings());
        m_print.BuildHeaders("Holdings");
        m_hdc = m_print.BeginPreview();
        EXPECT_NE(nullptr, m_hdc);
    }
    ~CLaidOut() { m_print.EndPreview(m_hdc); }
    CNorvTablePrint m_print;
    HDC m_hdc = nullptr;
};

// The records' structure: slices cover the display lines once and in order, each slice has one
// page per band, bodies lie in the printable area, page numbers run slice by slice.
void ExpectWholeLayout(CTablePrint& print, int nLines)
{
    const int nBands = print.GetBandCount();
    ASSERT_GE(nBands, 1);
    ASSERT_EQ(0, print.GetPageCount() % nBands);
    int nNext = 0;
    const RECT& rcL = print.GetLogicalRect();
    for (int i = 0; i < print.GetPageCount(); ++i) {
        const CPrintPage& page = *print.GetPage(i);
        EXPECT_EQ(i / nBands + 1, page.m_nSlice) << "page " << i;
        EXPECT_EQ(i % nBands, page.m_nBand) << "page " << i;
        EXPECT_EQ(i + 1, print.GetPageNumber(page));
        EXPECT_GE(page.m_rcBody.left, rcL.left);
        EXPECT_LE(page.m_rcBody.right, rcL.right);
        EXPECT_EQ(print.GetBand(page.m_nBand)->m_nWidth, page.m_rcBody.right - page.m_rcBody.left);
        if (page.m_nBand == 0) {
            EXPECT_EQ(nNext, page.m_nFirstLine) << "slice " << page.m_nSlice;
            EXPECT_GE(page.m_nLastLine, page.m_nFirstLine) << "every page advances";
            nNext = page.m_nLastLine + 1;
        } else {
            EXPECT_EQ(print.GetPage(i - 1)->m_nFirstLine, page.m_nFirstLine);
        }
    }
    EXPECT_EQ(nLines, nNext) << "the slices end at the last display line";
}

}  // namespace

TEST(TablePrint, SlicesAndBandsCoverTheTableOnce)
{
    CPrintTable table(300);
    const int nLines = table.View().GetRowTree().GetCount();
    const struct { const char* pszCase; std::function<void(CTablePrintSettings&)> setup; } cases[] = {
        {"defaults", nullptr},
        {"titles on the first page only", [](CTablePrintSettings& s) { s.m_nTitleRows = 1; }},
        {"no titles, no row titles", [](CTablePrintSettings& s) { s.m_nTitleRows = 0; s.m_bRowTitles = FALSE; }},
        {"scale 200", [](CTablePrintSettings& s) { s.m_nScale = 200; }},
        {"scale 40", [](CTablePrintSettings& s) { s.m_nScale = 40; }},
        {"inches", [](CTablePrintSettings& s) { s.m_nUnits = PRINT_UNITS_INCHES; for (double& d : s.m_dMargins) d = 1.5; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszCase);
        CLaidOut laid(table.View(), c.setup);
        ExpectWholeLayout(laid.m_print, nLines);
    }
}

TEST(TablePrint, MarginsAreTwentyFiveMillimetresToTheInchAndCentreTheBand)
{
    CPrintTable table(20, FALSE);
    CLaidOut laid(table.View());
    // A4 at 600 dpi has no unprintable edge on the PDF printer: 20 mm is 0.8 inch, 480 dots.
    const RECT& rc = laid.m_print.GetPrintableRect();
    EXPECT_EQ(480, rc.left);
    EXPECT_EQ(480, rc.top);
    EXPECT_EQ(GetDeviceCaps(laid.m_hdc, HORZRES) - 480, rc.right);
    EXPECT_EQ(GetDeviceCaps(laid.m_hdc, VERTRES) - 480, rc.bottom);
    ASSERT_EQ(1, laid.m_print.GetBandCount());
    const CPrintPage& page = *laid.m_print.GetPage(0);
    const RECT& rcL = laid.m_print.GetLogicalRect();
    int nSpare = (rcL.right - rcL.left) - (page.m_rcBody.right - page.m_rcBody.left);
    ASSERT_GT(nSpare, 1);
    EXPECT_EQ(rcL.left + nSpare / 2, page.m_rcBody.left);
}

TEST(TablePrint, ScaleFittingAndBandsOfWideColumns)
{
    CPrintTable table(30, FALSE);
    // Wide enough for three pages at 100 %.
    for (int i = 0; i < PT_COLUMNS; ++i)
        table.t.Table().GetColumn(i).SetWidth(250);
    {
        CLaidOut fit(table.View(), [](CTablePrintSettings& s) { s.m_nPagesWide = 1; });
        EXPECT_EQ(1, fit.m_print.GetBandCount());
        EXPECT_LE(fit.m_print.GetSettings().m_nScale, 100);
        EXPECT_GE(fit.m_print.GetSettings().m_nScale, 10);
    }
    {
        CLaidOut wide(table.View(), [](CTablePrintSettings& s) { s.m_nScale = 250; });
        EXPECT_EQ(200, wide.m_print.GetSettings().m_nScale);
        ExpectWholeLayout(wide.m_print, table.View().GetRowTree().GetCount());
    }
    // One column wider than the page: a band of its own, cut to the printable width; the next
    // column starts the next band.
    // Wider than any screen lets a user drag it: the stored width as a settings file may hold it.
    table.View().GetColumns().GetColumn(PT_NAME)->m_nWidth = 5000;
    {
        CLaidOut laid(table.View(), [](CTablePrintSettings& s) { s.m_bRowTitles = FALSE; });
        const int nAvailable = laid.m_print.GetLogicalRect().right - laid.m_print.GetLogicalRect().left;
        std::vector<std::pair<int, int>> bands;
        for (int b = 0; b < laid.m_print.GetBandCount(); ++b) {
            const CPrintBand* pBand = laid.m_print.GetBand(b);
            EXPECT_LE(pBand->m_nWidth, nAvailable);
            bands.emplace_back(pBand->m_nFirstColumn, pBand->m_nLastColumn);
        }
        ASSERT_GE(bands.size(), 3u);
        EXPECT_EQ(std::make_pair(0, 0), bands[0]);
        EXPECT_EQ(std::make_pair(1, 1), bands[1]);
        EXPECT_EQ(nAvailable, laid.m_print.GetBand(1)->m_nWidth);
        EXPECT_EQ(2, bands[2].first);
    }
    // Columns without any width cannot be fitted: they print at the scale asked for.
    for (int i = 0; i < PT_COLUMNS; ++i)
        table.t.Table().GetColumn(i).SetHidden(TRUE);
    CLaidOut empty(table.View(), [](CTablePrintSettings& s) { s.m_nPagesWide = 1; s.m_bRowTitles = FALSE; s.m_nScale = 80; });
    EXPECT_EQ(80, empty.m_print.GetSettings().m_nScale);
    EXPECT_EQ(1, empty.m_print.GetBandCount());
}

TEST(TablePrint, HeadersTallerThanThePageStillAdvance)
{
    CPrintTable table(12, FALSE);
    UsePdfPrinterOnly();
    CNorvTablePrint print(&table.View());
    ASSERT_TRUE(print.GetSettings().SelectPrinter());
    // A page header taller than the page leaves no room for a line: each page takes one.
    for (int i = 0; i < 100; ++i)
        CTablePrintHeader::AddSeparator(print.GetPageHeader(), 20, PRINT_ALIGN_FULL, PALETTERGB(255, 255, 255), 0);
    print.GetSettings().m_bReportFooter = FALSE;
    HDC hdc = print.BeginPreview();
    ASSERT_NE(nullptr, hdc);
    ExpectWholeLayout(print, table.View().GetRowTree().GetCount());
    EXPECT_EQ(12, print.GetPageCount());
    print.EndPreview(hdc);
}

TEST(TablePrint, PageRangePrintsItsPagesWithProgress)
{
    CPrintTable table(400);
    const struct { int nFrom, nTo; int nExpected; } cases[] = {
        {3, 2, 1},      // a last page before the first prints the first alone
        {0, 0, -1},     // all
        {2, 4, 3},
        {99, 0, 0},     // past the end: nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.nFrom) + " to " + std::to_string(c.nTo));
        CNorvTablePrint print(&table.View());
        ASSERT_TRUE(print.GetSettings().SelectPrinter());
        print.GetSettings().m_nFromPage = c.nFrom;
        print.GetSettings().m_nToPage = c.nTo;
        CCountingSink sink;
        print.SetProgressSink(&sink);
        const std::string strPdf = TestFilePath("range.pdf");
        print.SetOutputFile(strPdf.c_str());
        ASSERT_EQ(1, print.Print());
        int nExpected = c.nExpected < 0 ? print.GetPageCount() : c.nExpected;
        ASSERT_GT(print.GetPageCount(), 4);
        if (nExpected == 0) {
            EXPECT_TRUE(sink.m_calls.empty());
        } else {
            ASSERT_EQ(static_cast<size_t>(nExpected + 1), sink.m_calls.size());
            EXPECT_EQ(0, sink.m_calls.front());
            EXPECT_EQ(100, sink.m_calls.back());
        }
        // A PDF file has at least one page, so a run that printed none is told by the sink alone.
        if (nExpected > 0) {
            EXPECT_EQ(nExpected, PdfPageCount(strPdf));
        }
        std::remove(strPdf.c_str());
    }
}

TEST(TablePrint, PrintedPricesLineUpOnTheirSeparatorAndFieldsFillIn)
{
    CPrintTable table(8, FALSE);
    CNorvTablePrint print(&table.View());
    UsePdfPrinterOnly();
    ASSERT_TRUE(print.GetSettings().SelectPrinter());
    print.SetName("Test Terminal");
    print.BuildHeaders("Holdings");
    const std::string strPdf = TestFilePath("align.pdf");
    print.SetOutputFile(strPdf.c_str());
    ASSERT_EQ(1, print.Print());
    const std::string strBoxes = PdfPageBoxes(strPdf, 1);
    // Prices of up to three decimals: 10.5 and 10.125 begin at one place when their points line up.
    double x5 = WordLeft(strBoxes, "10.5");
    double x125 = WordLeft(strBoxes, "10.125");
    ASSERT_GT(x5, 0) << strBoxes;
    ASSERT_GT(x125, 0);
    EXPECT_NEAR(x5, x125, 0.5);
    const std::string strText = PdfPageText(strPdf, 1);
    EXPECT_NE(std::string::npos, strText.find("Page 1 of 1")) << strText;
    std::remove(strPdf.c_str());
}

TEST(TablePrintFields, NamesBetweenBracketsTakeTheirValues)
{
    CTablePrintFields fields;
    fields.SetNumber(CTablePrintFields::FIELD_PAGE, 3);
    fields.SetNumber(CTablePrintFields::FIELD_LASTPAGE, 7);
    const struct { const char* pszIn; const char* pszOut; } texts[] = {
        {"<PAGE> of <LASTPAGE>", "3 of 7"},
        {"<<PAGE>", "<3"},
        {"<page> <GONE> <PAGE", "<page> <GONE> <PAGE"},
        {"a > b <PAGE>", "a > b 3"},
    };
    for (const auto& t : texts)
        EXPECT_STREQ(t.pszOut, fields.Substitute(t.pszIn)) << t.pszIn;
}

TEST(TablePrint, RunThatEndsShortClosesItsProgressAndTellsAFailure)
{
    CPrintTable table(50);
    UsePdfPrinterOnly();
    TbClearTestAnswers();
    const struct { const char* pszCase; int nFromPage; BOOL bCancelFile; int nResult; int nMessages; } cases[] = {
        {"file question cancelled", 0, TRUE, 0, 1},
        {"from a page past the end", 99, FALSE, 1, 0},
        {"whole run", 0, FALSE, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszCase);
        CNorvTablePrint print(&table.View());
        ASSERT_TRUE(print.GetSettings().SelectPrinter());
        print.GetSettings().m_nFromPage = c.nFromPage;
        print.BuildHeaders("Holdings");
        const std::string strPdf = TestFilePath("short.pdf");
        TbQueueTestAnswer({TB_ASK_SAVEFILE, c.bCancelFile ? IDCANCEL : IDOK, strPdf});
        if (c.nMessages)
            TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDOK, ""});
        EXPECT_EQ(c.nResult, RunTablePrint(print, nullptr, "Printing"));
        EXPECT_EQ(0, TbPendingTestAnswers()) << "the file question and the failure message came as expected";
        EXPECT_EQ(nullptr, print.GetProgressSink()) << "no dialog is left watching the print";
        Drain();
        EXPECT_EQ(nullptr, FindWindowA(nullptr, "Printing")) << "the progress dialog is closed";
        TbClearTestAnswers();
        std::remove(strPdf.c_str());
    }
}

// A page drawn on a screen bitmap at the printer's proportions, as the preview draws it.
TEST(TablePrint, GreyModePrintsColouredTextAsGreyOnWhite)
{
    CPrintTable table(30, FALSE);
    const struct { int nMode; bool bRed; } cases[] = {{PRINT_COLOR, true}, {PRINT_GREY, false}, {PRINT_BLACKWHITE, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nMode);
        CLaidOut laid(table.View(), [&](CTablePrintSettings& s) {
            s.m_nColorMode = c.nMode;
            s.m_crBackground = RGB(0, 0, 255);
        });
        laid.m_print.GetProperties().SetCellTextColor(RGB(255, 0, 0), 0);
        // The symbols of the first rows in the window's colour 5, a green.
        laid.m_print.GetProperties().SetCellTextColor(RGB(0, 200, 0), 5);
        for (int nLine = 0; nLine < 10; ++nLine) {
            CViewRow row(&table.View());
            ASSERT_TRUE(table.View().GetRow(row, nLine));
            row.GetNode()->AllocAttributes(PT_COLUMNS);
            row.GetNode()->SetAttr(PT_SYMBOL, 1, 5);
        }
        HDC hdcScreen = GetDC(nullptr);
        HDC hdc = CreateCompatibleDC(hdcScreen);
        const int cx = 400;
        const int cy = cx * GetDeviceCaps(laid.m_hdc, VERTRES) / GetDeviceCaps(laid.m_hdc, HORZRES);
        HBITMAP hBitmap = CreateCompatibleBitmap(hdcScreen, cx, cy);
        HGDIOBJ hOld = SelectObject(hdc, hBitmap);
        RECT rcAll = {0, 0, cx, cy};
        FillRect(hdc, &rcAll, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SIZE sizeWindow, sizeViewport;
        GetWindowExtEx(laid.m_hdc, &sizeWindow);
        GetViewportExtEx(laid.m_hdc, &sizeViewport);
        SetMapMode(hdc, MM_ANISOTROPIC);
        SetWindowExtEx(hdc, sizeWindow.cx * GetDeviceCaps(laid.m_hdc, HORZRES), sizeWindow.cy * GetDeviceCaps(laid.m_hdc, VERTRES), nullptr);
        SetViewportExtEx(hdc, sizeViewport.cx * cx, sizeViewport.cy * cy, nullptr);
        ASSERT_TRUE(laid.m_print.DrawPreviewPage(0, hdc, nullptr));
        SetMapMode(hdc, MM_TEXT);
        int nRed = 0, nBlue = 0, nGreen = 0, nColoured = 0;
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x) {
                COLORREF cr = GetPixel(hdc, x, y);
                int r = GetRValue(cr), g = GetGValue(cr), b = GetBValue(cr);
                nRed += r > g + 60 && r > b + 60;
                nBlue += b > r + 60 && b > g + 60;
                nGreen += g > r + 60 && g > b + 60;
                nColoured += std::abs(r - g) > 8 || std::abs(g - b) > 8;
            }
        SelectObject(hdc, hOld);
        DeleteObject(hBitmap);
        DeleteDC(hdc);
        ReleaseDC(nullptr, hdcScreen);
        if (c.bRed) {
            EXPECT_GT(nRed, 0) << "text in its colour";
            EXPECT_GT(nBlue, 0) << "the body on its background";
            EXPECT_GT(nGreen, 0) << "cells in their own colour";
        } else {
            EXPECT_EQ(0, nColoured) << "greys only, on white";
        }
    }
}

namespace {
// The x (in pixels at 150 dpi) of the vertical rules crossing row y (in points) of a printed
// page: runs of dark pixels, each told by its first pixel.
std::vector<int> RulesAt(const std::string& strPgm, double dPoints)
{
    int cx = 0, cy = 0, nMax = 0, nRead = 0;
    if (sscanf(strPgm.c_str(), "P5 %d %d %d%n", &cx, &cy, &nMax, &nRead) != 3)
        return {};
    const unsigned char* pBits = reinterpret_cast<const unsigned char*>(strPgm.data()) + nRead + 1;
    const int y = static_cast<int>(dPoints * 150 / 72);
    std::vector<int> rules;
    if (y < 0 || y >= cy || strPgm.size() < static_cast<size_t>(nRead + 1 + cx * cy))
        return rules;
    for (int x = 0; x < cx; ++x)
        if (pBits[y * cx + x] < 128 && (x == 0 || pBits[y * cx + x - 1] >= 128))
            rules.push_back(x);
    return rules;
}

double WordBox(const std::string& strBoxes, const std::string& strWord, const char* pszEdge)
{
    const size_t nWord = strBoxes.find(">" + strWord + "</word>");
    if (nWord == std::string::npos)
        return -1;
    const size_t nAt = strBoxes.rfind(std::string(pszEdge) + "=\"", nWord);
    return nAt == std::string::npos ? -1 : atof(strBoxes.c_str() + nAt + strlen(pszEdge) + 2);
}
}  // namespace

// The column-title row is ruled as the rows under it: the rule between the row-title cell and
// the first column stands in it too, on every page, read left to right and right to left.
TEST(TablePrint, TitleRowHasTheRulesOfItsRowsOnEveryPage)
{
    for (int nCodePage : {1252, 1256}) {
        SCOPED_TRACE(nCodePage);
        CGridLanguage language(nCodePage);
        CPrintTable table(90, FALSE);
        UsePdfPrinterOnly();
        CNorvTablePrint print(&table.View());
        ASSERT_TRUE(print.GetSettings().SelectPrinter());
        print.BuildHeaders("Holdings");
        const std::string strPdf = TestFilePath("rules.pdf");
        print.SetOutputFile(strPdf.c_str());
        ASSERT_EQ(1, print.Print());
        ASSERT_GE(PdfPageCount(strPdf), 2);
        for (int nPage : {1, 2}) {
            SCOPED_TRACE(nPage);
            const std::string strBoxes = PdfPageBoxes(strPdf, nPage);
            const std::vector<std::string> symbols = FindSymbols(PdfPageText(strPdf, nPage));
            ASSERT_FALSE(symbols.empty());
            const double yTop = WordBox(strBoxes, symbols.front(), "yMin");
            const double yBottom = WordBox(strBoxes, symbols.front(), "yMax");
            ASSERT_GT(yTop, 0) << strBoxes;
            const std::string strPgm = RunCommand("pdftoppm -gray -r 150 -f " + std::to_string(nPage) + " -l " +
                                                  std::to_string(nPage) + " '" + strPdf + "' 2>/dev/null");
            const std::vector<int> row = RulesAt(strPgm, yBottom + 0.8);
            EXPECT_EQ(PT_COLUMNS + 2, static_cast<int>(row.size())) << "the row-title cell's two and each column's";
            EXPECT_EQ(row, RulesAt(strPgm, yTop - 3)) << "the title row's rules";
        }
        std::remove(strPdf.c_str());
    }
}

namespace {
// The number after "Page 1 of " in a printed page's text; -1 without one.
int LastPageOf(const std::string& strText)
{
    const size_t nAt = strText.find("Page 1 of ");
    return nAt == std::string::npos ? -1 : atoi(strText.c_str() + nAt + 10);
}
}  // namespace

// Margins of half a metre (a settings file edited by hand) come back within the paper, and a
// page always carries rows and columns: a thousand rows print on a few dozen pages, not on
// thousands of empty ones. A printer of smaller paper bounds the margins it is given as well.
TEST(TablePrint, MarginsWiderThanThePaperAreBoundedAndEveryPageCarriesRows)
{
    CPrintTable table(1000, FALSE);
    UsePdfPrinterOnly();
    CTestIni ini;
    {
        CTablePrintSettings stored;
        ASSERT_TRUE(stored.SelectPrinter());
        stored.m_nUnits = PRINT_UNITS_MM;
        for (double& dMargin : stored.m_dMargins)
            dMargin = 500.0;
        stored.Save(ini.m_ini);
    }
    for (bool bLoad : {true, false}) {
        SCOPED_TRACE(bLoad ? "loaded" : "set in the record");
        CNorvTablePrint print(&table.View());
        if (bLoad) {
            ASSERT_TRUE(print.GetSettings().Load(ini.m_ini));
            // What the margins page shows now: a quarter of the paper on each side.
            const POINT* pPaper = print.GetSettings().GetPrinter()->FindPaperDimensions(
                static_cast<WORD>(print.GetSettings().GetPaperSize()));
            ASSERT_NE(nullptr, pPaper);
            EXPECT_NEAR(pPaper->x / 40.0, print.GetSettings().m_dMargins[PRINT_MARGIN_LEFT], 0.01);
            EXPECT_NEAR(pPaper->y / 40.0, print.GetSettings().m_dMargins[PRINT_MARGIN_BOTTOM], 0.01);
        } else {
            ASSERT_TRUE(print.GetSettings().SelectPrinter());
            print.GetSettings().m_nUnits = PRINT_UNITS_MM;
            for (double& dMargin : print.GetSettings().m_dMargins)
                dMargin = 500.0;
        }
        print.BuildHeaders("Holdings");
        print.GetSettings().m_nFromPage = 1;
        print.GetSettings().m_nToPage = 1;
        const std::string strPdf = TestFilePath("margins.pdf");
        print.SetOutputFile(strPdf.c_str());
        ASSERT_EQ(1, print.Print());
        const std::string strText = PdfPageText(strPdf, 1);
        EXPECT_NE(std::string::npos, strText.find("Symbol")) << strText;
        EXPECT_NE(std::string::npos, strText.find(PrintedOrder(1000).front())) << strText;
        const int nPages = LastPageOf(strText);
        EXPECT_GE(nPages, 10) << strText;
        EXPECT_LE(nPages, 200) << strText;
        std::remove(strPdf.c_str());
    }

    TbRemoveVirtualPrinters();
    TBVIRTUALPRINTER small;
    small.strName = "Small Paper";
    small.papers = {DMPAPER_A5};
    TbAddVirtualPrinter(small);
    CTablePrintSettings settings;
    ASSERT_TRUE(settings.SelectPrinter());
    settings.m_nUnits = PRINT_UNITS_MM;
    for (double& dMargin : settings.m_dMargins)
        dMargin = 70.0;
    settings.SetPrinterName(CTBString("Small Paper"));
    ASSERT_EQ("Small Paper", std::string(settings.GetPrinterName()));
    EXPECT_NEAR(148.0 / 4, settings.m_dMargins[PRINT_MARGIN_LEFT], 0.01) << "A5 is 148 mm wide";
    EXPECT_NEAR(148.0 / 4, settings.m_dMargins[PRINT_MARGIN_RIGHT], 0.01);
    EXPECT_DOUBLE_EQ(70.0, settings.m_dMargins[PRINT_MARGIN_TOP]) << "210 mm leave room for 70 and 70";
    TbRemoveVirtualPrinters();
}
// A table printed in Arabic is text a reader can search: its titles come back from the PDF as
// their letters in reading order, lam-alef as two letters, no presentation forms, as English
// text does; the English cells beside them stay as they were.
TEST(TablePrint, ArabicPrintsAsSearchableLetters)
{
    CGridLanguage language(1256);
    CPrintTable table(5, FALSE);
    UsePdfPrinterOnly();
    CNorvTablePrint print(&table.View());
    ASSERT_TRUE(print.GetSettings().SelectPrinter());
    print.BuildHeaders("Holdings");
    const std::string strPdf = TestFilePath("arabic.pdf");
    print.SetOutputFile(strPdf.c_str());
    ASSERT_EQ(1, print.Print());
    const std::string strText = PdfPageText(strPdf, 1);
    for (const char* pszWord : {"الرمز", "الاسم", "القطاع", "الكمية", "السعر", "القيمة"})
        EXPECT_NE(std::string::npos, strText.find(pszWord)) << pszWord << " in " << strText;
    // UTF-8 of U+FB50..U+FDFF begins EF AD..EF B7, of U+FE70..U+FEFF EF B9..EF BB.
    for (size_t i = 0; i + 1 < strText.size(); ++i)
        if (static_cast<unsigned char>(strText[i]) == 0xEF) {
            const unsigned char ch = static_cast<unsigned char>(strText[i + 1]);
            EXPECT_FALSE((ch >= 0xAD && ch <= 0xB7) || (ch >= 0xB9 && ch <= 0xBB)) << "a presentation form at " << i;
        }
    EXPECT_NE(std::string::npos, strText.find("S0004")) << strText;
    EXPECT_NE(std::string::npos, strText.find("Holdings")) << strText;
    EXPECT_EQ(1, PdfPageCount(strPdf));
    const std::string strComplaints = RunCommand("pdftotext '" + strPdf + "' /dev/null 2>&1");
    EXPECT_TRUE(strComplaints.empty()) << "a sound file, its table of objects right: " << strComplaints;
    std::remove(strPdf.c_str());
}

// A value too wide for its narrowed column prints as '#' marks, never as its trailing digits.
TEST(TablePrint, ValueWiderThanItsColumnPrintsMarksNotAnotherNumber)
{
    CPrintTable table(8, FALSE);
    table.View().GetColumnOrder().GetColumn(PT_VALUE)->m_nWidth = 24;
    CNorvTablePrint print(&table.View());
    UsePdfPrinterOnly();
    ASSERT_TRUE(print.GetSettings().SelectPrinter());
    print.BuildHeaders("Holdings");
    const std::string strPdf = TestFilePath("narrow.pdf");
    print.SetOutputFile(strPdf.c_str());
    ASSERT_EQ(1, print.Print());
    const std::string strText = PdfPageText(strPdf, 1);
    // Quantity i at its price: each value cell is a run of marks, with no digit after the price.
    auto MarksAfter = [&](const std::string& strPrice) {
        const size_t nAt = strText.find(strPrice + " ");
        const size_t nEnd = nAt == std::string::npos ? nAt : strText.find('\n', nAt);
        if (nEnd == std::string::npos)
            return std::string("(no line)");
        std::string strRest = strText.substr(nAt + strPrice.size(), nEnd - nAt - strPrice.size());
        strRest.erase(0, strRest.find_first_not_of(' '));
        return strRest;
    };
    for (const char* pszPrice : {"10.125", "10.25", "10.375", "10.5", "10.625", "10.75"}) {
        const std::string strValue = MarksAfter(pszPrice);
        EXPECT_TRUE(!strValue.empty() && strValue.find_first_not_of('#') == std::string::npos)
            << pszPrice << " is followed by " << strValue << "\n" << strText;
    }
    std::remove(strPdf.c_str());
}

// A text too wide for its column prints its start and loses its end in its own reading order,
// in a column whose texts an Arabic window aligns to the left (a market name's).
TEST(TablePrint, LongArabicTextPrintsItsStart)
{
    CGridLanguage language(1256);
    CPrintTable table(3, FALSE);
    CTableColumn* pColumn = table.View().GetColumnOrder().GetColumn(PT_NAME);
    pColumn->m_nWidth = 40;
    pColumn->m_nAlign = ALIGN_RIGHT;
    pColumn->RecalcAlignment();
    for (int nLine = 0; nLine < 3; ++nLine)
        table.View().SetCellTextAt(nLine, PT_NAME, ToCodePage("السوق الرسمي", 1256).c_str());
    CNorvTablePrint print(&table.View());
    CTBFont font;   // the grid's, made in the language's character set
    ASSERT_TRUE(font.CreatePointFont("Arial", 10, FALSE, nullptr));
    print.GetProperties().SetFont(font.Detach());
    UsePdfPrinterOnly();
    ASSERT_TRUE(print.GetSettings().SelectPrinter());
    const std::string strPdf = TestFilePath("cut.pdf");
    print.SetOutputFile(strPdf.c_str());
    ASSERT_EQ(1, print.Print());
    const std::string strText = PdfPageText(strPdf, 1, true);
    EXPECT_NE(std::string::npos, strText.find("السوق")) << strText;
    EXPECT_EQ(std::string::npos, strText.find("لرسمي")) << strText;
    std::remove(strPdf.c_str());
}

namespace {
// The rules crossing row y (points) of a page's first page drawn at 1200 dpi, each as its left
// and right edge in points.
std::vector<std::pair<double, double>> RuleEdgesAt(const std::string& strPdf, double dPoints)
{
    const std::string strPgm = RunCommand("pdftoppm -gray -r 1200 -f 1 -l 1 -x 0 -W 20000 -H 1 -y "
                                          + std::to_string(static_cast<int>(dPoints * 1200 / 72)) + " '" + strPdf + "' 2>/dev/null");
    int cx = 0, cy = 0, nMax = 0, nRead = 0;
    std::vector<std::pair<double, double>> rules;
    if (sscanf(strPgm.c_str(), "P5 %d %d %d%n", &cx, &cy, &nMax, &nRead) != 3 || strPgm.size() < static_cast<size_t>(nRead + 1 + cx))
        return rules;
    const unsigned char* pBits = reinterpret_cast<const unsigned char*>(strPgm.data()) + nRead + 1;
    for (int x = 0; x < cx; ++x) {
        if (pBits[x] < 128 && (x == 0 || pBits[x - 1] >= 128))
            rules.push_back({x * 72.0 / 1200, x * 72.0 / 1200});
        else if (pBits[x] >= 128 && x > 0 && pBits[x - 1] < 128 && !rules.empty())
            rules.back().second = x * 72.0 / 1200;
    }
    return rules;
}
}  // namespace

// Prices at widths around the widest's printed width, in both languages: each prints whole, its
// decimal point in line with the others' while there is room for the inset, into the margins
// when a little wider, or the column prints marks. A text and a value stand the margin's gap
// from the rule at their reading start in either language, a value at the reading end the
// rule's width further.
TEST(TablePrint, CellTextsPrintWholeAtTheirMarginsOrAsMarks)
{
    double dNearGap = -1;
    for (int nCodePage : {1252, 1256}) {
        SCOPED_TRACE(nCodePage);
        CGridLanguage language(nCodePage);
        CPrintTable table(8, FALSE);
        UsePdfPrinterOnly();
        const std::string strPdf = TestFilePath("fit.pdf");
        std::string strBoxes, strText;
        auto PrintAt = [&](int nWidth) {
            table.View().GetColumnOrder().GetColumn(PT_PRICE)->m_nWidth = nWidth;
            CNorvTablePrint print(&table.View());
            ASSERT_TRUE(print.GetSettings().SelectPrinter());
            print.SetOutputFile(strPdf.c_str());
            ASSERT_EQ(1, print.Print());
            strBoxes = PdfPageBoxes(strPdf, 1);
            strText = PdfPageText(strPdf, 1);
        };
        // The gap between a word and the rule beside it on its aligned side, and that rule's width.
        auto GapOf = [&](const char* pszWord, bool bRight, double* pRule) {
            const double xWord = WordBox(strBoxes, pszWord, bRight ? "xMax" : "xMin");
            double dGap = 1e9;
            for (const auto& [xLeft, xRight] : RuleEdgesAt(strPdf, WordBox(strBoxes, pszWord, "yMax") + 0.8))
                if (bRight ? xLeft >= xWord && xLeft - xWord < dGap : xWord >= xRight && xWord - xRight < dGap) {
                    dGap = bRight ? xLeft - xWord : xWord - xRight;
                    *pRule = xRight - xLeft;
                }
            return dGap;
        };
        ASSERT_NO_FATAL_FAILURE(PrintAt(80));
        const double dWord = WordBox(strBoxes, "10.125", "xMax") - WordBox(strBoxes, "10.125", "xMin");
        ASSERT_GT(dWord, 0) << strText;
        EXPECT_NEAR(WordLeft(strBoxes, "10.5"), WordLeft(strBoxes, "10.125"), 0.2) << "points in line";
        double dRule = 0;
        const double dSymbolGap = GapOf("S0001", nCodePage == 1256, &dRule);
        const double dPriceGap = GapOf("10.125", true, &dRule);
        if (dNearGap < 0)
            dNearGap = dSymbolGap;
        EXPECT_NEAR(dNearGap, dSymbolGap, 0.1) << "a text at its reading start";
        EXPECT_NEAR(dNearGap + (nCodePage == 1256 ? 0 : dRule), dPriceGap, 0.1) << "a value at its right";
        // Columns are laid out at three quarters of a point to the screen's pixel.
        const int nWordWidth = static_cast<int>(dWord / 0.75);
        for (const auto& [nWidth, bWhole] : {std::pair{nWordWidth + 4, true}, {nWordWidth, false}}) {
            ASSERT_NO_FATAL_FAILURE(PrintAt(nWidth));
            EXPECT_EQ(bWhole, WordLeft(strBoxes, "10.125") > 0) << nWidth << " in " << strText;
            EXPECT_EQ(!bWhole, strText.find("###") != std::string::npos) << nWidth << " in " << strText;
            EXPECT_GT(WordLeft(strBoxes, "10.5"), 0) << "the narrower price fits: " << nWidth;
        }
        std::remove(strPdf.c_str());
    }
    // Columns that fit what they hold print it whole in the printer's fonts, a bold cell in the
    // bold font, whatever width the screen's fonts left them: no marks, no rule across a name.
    CPrintTable table(8);
    CViewRow first(&table.View());
    for (int nLine = 0; table.View().GetRow(first, nLine) && !first.IsDataRow(); ++nLine) {}
    first.SetCellBold(PT_NAME, TRUE);  // S0000's long name
    for (int nCol : {PT_NAME, PT_VALUE}) {
        table.t.Table().GetColumn(nCol).SetFitWidth(TRUE);
        table.View().GetColumnOrder().GetColumn(nCol)->m_nWidth = 4;
    }
    CNorvTablePrint print(&table.View());
    ASSERT_TRUE(print.GetSettings().SelectPrinter());
    const std::string strPdf = TestFilePath("fitted.pdf");
    print.SetOutputFile(strPdf.c_str());
    ASSERT_EQ(1, print.Print());
    const std::string strBoxes = PdfPageBoxes(strPdf, 1);
    EXPECT_EQ(std::string::npos, PdfPageText(strPdf, 1).find('#'));
    for (const auto& [xLeft, xRight] : RuleEdgesAt(strPdf, WordBox(strBoxes, "Inte", "yMax") + 0.8))
        EXPECT_FALSE(xLeft > WordLeft(strBoxes, "Company") && xLeft < WordBox(strBoxes, "Inte", "xMax")) << xLeft;
    std::remove(strPdf.c_str());
}
