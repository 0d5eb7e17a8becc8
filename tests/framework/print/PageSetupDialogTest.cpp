// The page-setup dialog and its four pages driven through their controls: tabs that make the
// pages again over the dialog's copy, the paper sizes, margins and their unit, scale and fit,
// the grid width a printer allows, colour mode and the font exchange with its sample text.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "PrintDialogTestSupport.h"
#include "framework/base/Measure.h"
#include "framework/print/PrinterInfo.h"
#include "framework/print/TBPageSetupDlg.h"
#include "framework/print/TBPrintDlg.h"
#include "framework/print/TPHeaderFooterDlg.h"
#include "framework/print/TPMarginsDlg.h"
#include "framework/print/TPPaperFormatDlg.h"
#include "framework/print/TPTableDlg.h"
#include "framework/window/TBTabControl.h"
#include "tests/framework/table/TableTestSupport.h"

namespace {

enum { TAB_PAPER, TAB_MARGINS, TAB_HEADERS, TAB_TABLE };

class CPageSetupRun
{
public:
    explicit CPageSetupRun(const CTablePrintSettings& settings, CViewTable* pView = nullptr, HFONT hWindowFont = nullptr,
                           COLORREF crWindow = RGB(255, 255, 255))
        : dlg(nullptr, pView)
    {
        dlg.SetSettings(settings);
        if (hWindowFont)
            dlg.SetSampleFont(hWindowFont, crWindow);
        dlg.Create(IDD_PAGESETUP, nullptr);
    }
    // The window of the page shown after choosing its tab.
    HWND Page(int nTab)
    {
        CTBTabControl* pTabs = dlg.GetTabControl();
        if (pTabs && pTabs->GetCurSel() != nTab)
            pTabs->SelectTab(nTab);
        CTBPropertyPage* pPage = dlg.GetPage(nTab);
        return dlg.GetShownPage() == nTab && pPage ? pPage->m_hWnd : nullptr;
    }
    CTablePrintSettings& S() { return dlg.Settings(); }
    CTBPageSetupDlg dlg;
};

std::string Length(double dValue, int nUnits, const char* pszFormat)
{
    char sz[64];
    snprintf(sz, sizeof(sz), pszFormat, dValue, static_cast<const char*>(GetMeasureUnitName(nUnits)));
    return sz;
}

TEST(PageSetupDialog, TabsMakeEachPageAgainOverTheDialogsCopy)
{
    CPrintDialogEnvironment env;
    COwnedTable table({{"Symbol", COLTYPE_STRING, 12, FALSE}});
    table.View().SetName("Quotes");
    table.View().SetTitle("US Quotes", 0);
    CTablePrintSettings settings;
    UsePrinter(settings, TB_PDF_PRINTER_NAME);
    settings.m_nScale = 80;
    CPageSetupRun run(settings, &table.View());
    char szCaption[128] = "";
    GetWindowTextA(run.dlg.m_hWnd, szCaption, sizeof(szCaption));
    EXPECT_EQ(AppText(IDS_PAGESETUP_CAPTION) + " - US Quotes", szCaption);
    CTBTabControl* pTabs = run.dlg.GetTabControl();
    ASSERT_NE(nullptr, pTabs);
    ASSERT_EQ(4, pTabs->GetItemCount());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(AppText(IDS_PAGESETUP_TAB_FIRST + i), pTabs->GetItemText(i));
    EXPECT_EQ(TAB_PAPER, run.dlg.GetShownPage());

    // Only the page of the tab shown has a window, placed under the tabs; a value typed on a
    // page is in the copy when the page is made again.
    HWND hMargins = run.Page(TAB_MARGINS);
    ASSERT_NE(nullptr, hMargins);
    EXPECT_EQ(nullptr, run.dlg.GetPage(TAB_PAPER)->m_hWnd);
    RECT rcTabs = {}, rcPage = {};
    GetWindowRect(pTabs->m_hWnd, &rcTabs);
    GetWindowRect(hMargins, &rcPage);
    EXPECT_EQ(rcTabs.bottom, rcPage.top);
    EXPECT_EQ(rcTabs.left + 5, rcPage.left);
    EXPECT_EQ(rcTabs.right - 5, rcPage.right);
    EXPECT_EQ("80 %", ItemTextOf(hMargins, IDC_MARGINS_SCALE));
    Type(hMargins, IDC_MARGINS_SCALE, "150");
    HWND hHeaders = run.Page(TAB_HEADERS);
    ASSERT_NE(nullptr, hHeaders);
    EXPECT_FALSE(IsWindow(hMargins));
    Click(hHeaders, IDC_HEADERS_ROWTITLES);
    hMargins = run.Page(TAB_MARGINS);
    EXPECT_EQ("150 %", ItemTextOf(hMargins, IDC_MARGINS_SCALE));
    EXPECT_FALSE(run.S().m_bRowTitles);

    // Preview keeps the settings and asks for the preview; the caller's record is untouched.
    SendMessageA(run.dlg.m_hWnd, WM_COMMAND, IDC_PAGESETUP_PREVIEW, 0);
    EXPECT_EQ(PRINT_RESULT_PREVIEW, run.dlg.GetEndCode());
    EXPECT_EQ(80, settings.m_nScale);
    EXPECT_EQ(150, run.dlg.GetSettings().m_nScale);
}

TEST(PageSetupDialog, PaperPageShowsThePageAsPrintedInTheRecordsUnit)
{
    CPrintDialogEnvironment env;
    CTablePrintSettings settings;
    UsePrinter(settings, TB_PDF_PRINTER_NAME);
    settings.SetPaperSize(DMPAPER_A4);
    settings.SetOrientation(DMORIENT_PORTRAIT);
    settings.m_nUnits = PRINT_UNITS_MM;
    {
        CPageSetupRun run(settings);
        HWND hPaper = run.Page(TAB_PAPER);
        ASSERT_NE(nullptr, hPaper);
        EXPECT_TRUE(IsChecked(hPaper, IDC_PAPER_PORTRAIT));
        EXPECT_EQ(Length(210.0, PRINT_UNITS_MM, "%.1lf %s"), ItemTextOf(hPaper, IDC_PAPER_WIDTH));
        EXPECT_EQ(Length(297.0, PRINT_UNITS_MM, "%.1lf %s"), ItemTextOf(hPaper, IDC_PAPER_HEIGHT));
        Click(hPaper, IDC_PAPER_LANDSCAPE);
        EXPECT_EQ(DMORIENT_LANDSCAPE, run.S().GetOrientation());
        EXPECT_EQ(Length(297.0, PRINT_UNITS_MM, "%.1lf %s"), ItemTextOf(hPaper, IDC_PAPER_WIDTH));
        EXPECT_EQ(Length(210.0, PRINT_UNITS_MM, "%.1lf %s"), ItemTextOf(hPaper, IDC_PAPER_HEIGHT));
        // Another paper from the list.
        // Another paper from the list.
        ASSERT_TRUE(ChooseItem(hPaper, IDC_PAPER_LIST, "A3"));
        EXPECT_EQ(DMPAPER_A3, run.S().GetPaperSize());
        EXPECT_EQ(Length(420.0, PRINT_UNITS_MM, "%.1lf %s"), ItemTextOf(hPaper, IDC_PAPER_WIDTH));
    }
    settings.m_nUnits = PRINT_UNITS_INCHES;
    {
        CPageSetupRun run(settings);
        HWND hPaper = run.Page(TAB_PAPER);
        EXPECT_EQ(Length(210.0 / 25.4, PRINT_UNITS_INCHES, "%.1lf %s"), ItemTextOf(hPaper, IDC_PAPER_WIDTH));
        EXPECT_EQ(Length(297.0 / 25.4, PRINT_UNITS_INCHES, "%.1lf %s"), ItemTextOf(hPaper, IDC_PAPER_HEIGHT));
        EXPECT_EQ("8.3 " + AppText(29001), ItemTextOf(hPaper, IDC_PAPER_WIDTH));
    }
    // A paper the driver does not offer becomes the first one listed.
    CTablePrintSettings grey;
    UsePrinter(grey, TEST_PRINTER_GREY);
    grey.SetPaperSize(DMPAPER_A3);
    CPageSetupRun run(grey);
    HWND hPaper = run.Page(TAB_PAPER);
    EXPECT_EQ(run.S().GetPrinter()->GetPaperId(0), run.S().GetPaperSize());
    EXPECT_EQ(0, SendDlgItemMessageA(hPaper, IDC_PAPER_LIST, CB_GETCURSEL, 0, 0));
}

TEST(PageSetupDialog, MarginsPageTakesMarginsScaleAndFitWithinTheirLimits)
{
    CPrintDialogEnvironment env;
    CTablePrintSettings settings;
    UsePrinter(settings, TB_PDF_PRINTER_NAME);
    settings.SetPaperSize(DMPAPER_A4);
    settings.SetOrientation(DMORIENT_PORTRAIT);
    settings.m_nUnits = PRINT_UNITS_MM;
    for (double& d : settings.m_dMargins)
        d = 20.0;
    CPageSetupRun run(settings);
    HWND hPage = run.Page(TAB_MARGINS);
    ASSERT_NE(nullptr, hPage);
    CTablePrintSettings& s = run.S();
    const int LEFT = IDC_MARGINS_LEFT, RIGHT = IDC_MARGINS_LEFT + 1;

    // A4 is 210 mm wide and the table needs 20 mm of it.
    Type(hPage, LEFT, "95");
    Type(hPage, RIGHT, "96");
    EXPECT_DOUBLE_EQ(95.0, s.m_dMargins[0]);
    EXPECT_DOUBLE_EQ(20.0, s.m_dMargins[1]);
    EXPECT_EQ(Length(20.0, PRINT_UNITS_MM, "%.2lf %s"), ItemTextOf(hPage, RIGHT));
    Type(hPage, LEFT, "90");
    Type(hPage, RIGHT, "90");
    EXPECT_DOUBLE_EQ(90.0, s.m_dMargins[1]);
    // In landscape the same paper is 297 mm wide.
    s.SetOrientation(DMORIENT_LANDSCAPE);
    Type(hPage, RIGHT, "180");
    EXPECT_DOUBLE_EQ(180.0, s.m_dMargins[1]);
    s.SetOrientation(DMORIENT_PORTRAIT);
    Type(hPage, RIGHT, "20");
    Type(hPage, LEFT, "20");

    // Another unit's name converts all four margins, and this one takes the number typed.
    Type(hPage, IDC_MARGINS_LEFT + 2, ("1 " + AppText(29001)).c_str());
    EXPECT_EQ(PRINT_UNITS_INCHES, s.m_nUnits);
    EXPECT_DOUBLE_EQ(1.0, s.m_dMargins[2]);
    EXPECT_NEAR(20.0 / 25.4, s.m_dMargins[0], 1e-9);
    EXPECT_EQ(Length(1.0, PRINT_UNITS_INCHES, "%.2lf %s"), ItemTextOf(hPage, IDC_MARGINS_LEFT + 2));
    EXPECT_EQ(Length(20.0 / 25.4, PRINT_UNITS_INCHES, "%.2lf %s"), ItemTextOf(hPage, LEFT));
    // A refused margin after a change of unit keeps its length.
    Type(hPage, IDC_MARGINS_BOTTOM, "300 mm");
    EXPECT_EQ(PRINT_UNITS_MM, s.m_nUnits);
    EXPECT_NEAR(20.0, s.m_dMargins[3], 1e-9);
    EXPECT_NEAR(25.4, s.m_dMargins[2], 1e-9);

    // Scale from 10 to 200 per cent; a blank field is 100.
    static const struct { const char* pszTyped; int nScale; } s_scales[] = {
        {"150", 150}, {"5", 150}, {"250", 150}, {"10", 10}, {"200", 200}, {"9", 200}, {"201", 200}, {"", 100}};
    for (const auto& c : s_scales) {
        Type(hPage, IDC_MARGINS_SCALE, c.pszTyped);
        EXPECT_EQ(c.nScale, s.m_nScale) << "typed \"" << c.pszTyped << '"';
        EXPECT_EQ(std::to_string(c.nScale) + " %", ItemTextOf(hPage, IDC_MARGINS_SCALE));
    }
    // Fitting starts from one page across and takes 1 to 5.
    EXPECT_FALSE(IsEnabledItem(hPage, IDC_MARGINS_PAGESWIDE));
    Click(hPage, IDC_MARGINS_FIT);
    EXPECT_EQ(1, s.m_nPagesWide);
    EXPECT_EQ("1", ItemTextOf(hPage, IDC_MARGINS_PAGESWIDE));
    EXPECT_FALSE(IsEnabledItem(hPage, IDC_MARGINS_SCALE));
    EXPECT_EQ("", ItemTextOf(hPage, IDC_MARGINS_SCALE));
    Type(hPage, IDC_MARGINS_PAGESWIDE, "6");
    EXPECT_EQ(1, s.m_nPagesWide);
    Type(hPage, IDC_MARGINS_PAGESWIDE, "5");
    EXPECT_EQ(5, s.m_nPagesWide);
    Click(hPage, IDC_MARGINS_ATSCALE);
    EXPECT_EQ(0, s.m_nPagesWide);
    EXPECT_EQ("100 %", ItemTextOf(hPage, IDC_MARGINS_SCALE));
    Click(hPage, IDC_MARGINS_FIT);
    EXPECT_EQ(1, s.m_nPagesWide);
}

TEST(PageSetupDialog, MarginsFitTheWidthAPrinterCanReach)
{
    // A4 portrait: 210 x 297 mm. A printer that does not tell its least margin reaches the edge.
    static const struct { double d[4], dMinHorz, dMinVert; BOOL bFits; } s_cases[] = {
        {{95, 96, 20, 20}, -1, -1, FALSE}, {{90, 90, 20, 20}, -1, -1, TRUE},  {{95, 95, 20, 20}, -1, -1, TRUE},
        {{95, 95.01, 20, 20}, -1, -1, FALSE}, {{90, 90, 20, 20}, 5, -1, TRUE}, {{91, 90, 20, 20}, 5, -1, FALSE},
        {{4.9, 20, 20, 20}, 5, -1, FALSE}, {{20, 4.9, 20, 20}, 5, -1, FALSE}, {{-1, 20, 20, 20}, -1, -1, FALSE},
        {{20, 20, 140, 137}, -1, -1, TRUE}, {{20, 20, 140, 137}, -1, 0.5, FALSE},
    };
    for (const auto& c : s_cases)
        EXPECT_EQ(c.bFits, MarginsFitPaper(c.d, 210.0, 297.0, c.dMinHorz, c.dMinVert))
            << c.d[0] << ", " << c.d[1] << ", " << c.d[2] << ", " << c.d[3] << " within " << c.dMinHorz << ", " << c.dMinVert;

    // Through the page, on a printer whose edges are 80 of 4,960 dots of A4.
    CPrintDialogEnvironment env;
    CTablePrintSettings settings;
    UsePrinter(settings, TEST_PRINTER_WIDE);
    settings.SetOrientation(DMORIENT_PORTRAIT);
    settings.m_nUnits = PRINT_UNITS_MM;
    CPageSetupRun run(settings);
    HWND hPage = run.Page(TAB_MARGINS);
    auto* pMargins = dynamic_cast<CTPMarginsDlg*>(run.dlg.GetPage(TAB_MARGINS));
    ASSERT_NE(nullptr, pMargins);
    EXPECT_NEAR(80.0 / 600.0 * 25.4, pMargins->GetMinHorzMargin(), 1e-3);
    Type(hPage, IDC_MARGINS_LEFT, "3");
    EXPECT_DOUBLE_EQ(20.0, run.S().m_dMargins[0]);
    Type(hPage, IDC_MARGINS_LEFT, "4");
    EXPECT_DOUBLE_EQ(4.0, run.S().m_dMargins[0]);
}

TEST(PageSetupDialog, HeadersPageKeepsTheGridWithinTheWidthThePrinterDraws)
{
    CPrintDialogEnvironment env;
    CTablePrintSettings settings;
    UsePrinter(settings, TEST_PRINTER_WIDE);
    settings.m_nGridWidth = 3;
    settings.m_nLineWidth = 6;
    settings.m_nTitleRows = 0;
    CPageSetupRun run(settings);
    HWND hPage = run.Page(TAB_HEADERS);
    ASSERT_NE(nullptr, hPage);
    CTablePrintSettings& s = run.S();
    auto* pHeaders = dynamic_cast<CTPHeaderFooterDlg*>(run.dlg.GetPage(TAB_HEADERS));
    ASSERT_NE(nullptr, pHeaders);
    EXPECT_EQ(4800 / 30, pHeaders->GetMaxGridWidth());

    static const struct { const char* pszTyped; int nGrid; } s_widths[] = {
        {"200", 3}, {"161", 3}, {"160", 160}, {"0", 1}, {"", 1}, {"7", 7}};
    for (const auto& c : s_widths) {
        Type(hPage, IDC_HEADERS_GRIDWIDTH, c.pszTyped);
        EXPECT_EQ(c.nGrid, s.m_nGridWidth) << "typed \"" << c.pszTyped << '"';
        EXPECT_EQ(2 * c.nGrid, s.m_nLineWidth) << "typed \"" << c.pszTyped << '"';
        EXPECT_EQ(std::to_string(c.nGrid), ItemTextOf(hPage, IDC_HEADERS_GRIDWIDTH));
    }
    Click(hPage, IDC_HEADERS_NOGRID);
    EXPECT_EQ(0, s.m_nGridWidth);
    EXPECT_EQ(0, s.m_nLineWidth);
    EXPECT_FALSE(IsEnabledItem(hPage, IDC_HEADERS_GRIDWIDTH));
    Click(hPage, IDC_HEADERS_GRID);
    EXPECT_EQ(7, s.m_nGridWidth);
    EXPECT_EQ(14, s.m_nLineWidth);

    // Column titles switched on print on every page; the headers and footers go in pairs.
    EXPECT_FALSE(IsEnabledItem(hPage, IDC_HEADERS_TITLES_ALL));
    Click(hPage, IDC_HEADERS_TITLES);
    EXPECT_EQ(2, s.m_nTitleRows);
    EXPECT_TRUE(IsChecked(hPage, IDC_HEADERS_TITLES_ALL));
    Click(hPage, IDC_HEADERS_TITLES_FIRST);
    EXPECT_EQ(1, s.m_nTitleRows);
    Click(hPage, IDC_HEADERS_REPORT);
    EXPECT_FALSE(s.m_bReportHeader);
    EXPECT_FALSE(s.m_bReportFooter);
    EXPECT_TRUE(s.m_bPageFooter);

    // Without a printer any width is taken.
    CTablePrintSettings none;
    CPageSetupRun free(none);
    HWND hFree = free.Page(TAB_HEADERS);
    Type(hFree, IDC_HEADERS_GRIDWIDTH, "200");
    EXPECT_EQ(200, free.S().m_nGridWidth);
}

TEST(PageSetupDialog, TablePageExchangesFontsAndColourModes)
{
    CPrintDialogEnvironment env;
    CTBFont windowFont, ownFont;
    windowFont.CreatePointFont(CTBString("DejaVu Sans"), 9, FALSE, nullptr);
    LOGFONTA lf = {};
    ownFont.CreatePointFont(CTBString("DejaVu Serif"), 12, TRUE, nullptr);
    ownFont.GetLogFont(&lf);
    lf.lfItalic = TRUE;
    ownFont.CreateFontIndirect(lf);

    CTablePrintSettings settings;
    UsePrinter(settings, TEST_PRINTER_GREY);
    settings.m_nColorMode = PRINT_COLOR;
    settings.m_font.Copy(ownFont);
    CPageSetupRun run(settings, nullptr, windowFont.GetSafeHandle(), RGB(10, 20, 30));
    HWND hPage = run.Page(TAB_TABLE);
    ASSERT_NE(nullptr, hPage);
    auto* pTable = dynamic_cast<CTPTableDlg*>(run.dlg.GetPage(TAB_TABLE));
    ASSERT_NE(nullptr, pTable);
    CTablePrintSettings& s = run.S();

    // A printer without colour: grey, and the colour choices are greyed.
    EXPECT_EQ(PRINT_GREY, s.m_nColorMode);
    EXPECT_TRUE(IsChecked(hPage, IDC_TABLE_GREY));
    EXPECT_FALSE(IsEnabledItem(hPage, IDC_TABLE_COLOR));
    EXPECT_FALSE(IsEnabledItem(hPage, IDC_TABLE_BACKGROUND));
    EXPECT_EQ(RGB(10, 20, 30), s.m_crBackground);

    // The sample names the font shown in the language's words.
    EXPECT_TRUE(IsChecked(hPage, IDC_TABLE_OWNFONT));
    HDC hdc = GetDC(hPage);
    const std::string strOwn = "DejaVu Serif - 12 " + AppText(IDS_FONT_POINTS) + " - " + AppText(IDS_FONT_BOLD) +
                               " - " + AppText(IDS_FONT_ITALIC);
    EXPECT_EQ(strOwn, std::string(FontSampleText(pTable->GetShownFont(), hdc)));

    // The window's fonts put the own font aside; choosing it again brings it back.
    Click(hPage, IDC_TABLE_WINDOWFONT);
    EXPECT_EQ(nullptr, s.m_font.GetSafeHandle());
    EXPECT_EQ("DejaVu Sans - 9 " + AppText(IDS_FONT_POINTS), std::string(FontSampleText(pTable->GetShownFont(), hdc)));
    Click(hPage, IDC_TABLE_OWNFONT);
    ASSERT_NE(nullptr, s.m_font.GetSafeHandle());
    EXPECT_EQ(strOwn, std::string(FontSampleText(s.m_font.GetSafeHandle(), hdc)));
    ReleaseDC(hPage, hdc);

    // On a colour printer the mode goes into the device mode.
    CTablePrintSettings colour;
    UsePrinter(colour, TB_PDF_PRINTER_NAME);
    CPageSetupRun run2(colour);
    HWND hColour = run2.Page(TAB_TABLE);
    EXPECT_TRUE(IsEnabledItem(hColour, IDC_TABLE_COLOR));
    for (int nId : {IDC_TABLE_COLOR, IDC_TABLE_BLACKWHITE}) {
        Click(hColour, nId);
        auto* pDevMode = static_cast<DEVMODEA*>(GlobalLock(run2.S().GetPrinter()->GetDevMode()));
        EXPECT_EQ(nId == IDC_TABLE_COLOR ? DMCOLOR_COLOR : DMCOLOR_MONOCHROME, pDevMode->dmColor);
        GlobalUnlock(run2.S().GetPrinter()->GetDevMode());
    }
    EXPECT_EQ(PRINT_BLACKWHITE, run2.S().m_nColorMode);
}

}  // namespace
