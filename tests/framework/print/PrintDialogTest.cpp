// The print dialog driven through its controls: the page-range field's forms, the results of a
// run, the caption, a change of printer and what it does to the record.
#include <gtest/gtest.h>

#include <string>

#include "PrintDialogTestSupport.h"
#include "framework/print/PageRange.h"
#include "framework/print/TBPrintDlg.h"
#include "tests/framework/table/TableTestSupport.h"

namespace {

// The dialog as the table window opens it, made modeless so the test can drive it.
class CPrintDialogRun
{
public:
    explicit CPrintDialogRun(const CTablePrintSettings& settings, CViewTable* pView = nullptr) : dlg(nullptr, pView)
    {
        dlg.SetSettings(settings);
        dlg.Create(IDD_PRINT, nullptr);
    }
    HWND Hwnd() const { return dlg.m_hWnd; }
    CTBPrintDlg dlg;
};

TEST(PrintDialog, PageRangeFieldKeepsThePagesEachFormNames)
{
    CPrintDialogEnvironment env;
    CTablePrintSettings settings;
    UsePrinter(settings, TB_PDF_PRINTER_NAME);
    CPrintDialogRun run(settings);
    HWND hDlg = run.Hwnd();
    ASSERT_NE(nullptr, hDlg);
    ASSERT_TRUE(IsChecked(hDlg, IDC_PRINT_ALLPAGES));

    // Typed text, the first and last pages kept, and the field's text afterwards.
    static const struct { const char* pszTyped; int nFrom, nTo; const char* pszShown; } s_cases[] = {
        {"4", 4, 4, "4"},         {"3-5", 3, 5, "3-5"},     {"3:5", 3, 5, "3-5"},     {"5-3", 5, 5, "5"},
        {"=6", 6, 6, "6"},        {"6=", 6, 6, "6"},        {">4", 4, -1, ">4"},      {">=4", 4, -1, ">4"},
        {"4>=", 4, -1, ">4"},     {"4-", 4, -1, ">4"},      {"4<", 4, -1, ">4"},      {"<7", -1, 7, "<7"},
        {"<=7", -1, 7, "<7"},     {"7<=", -1, 7, "<7"},     {"7>", -1, 7, "<7"},      {"-7", -1, 7, "<7"},
        {":7", -1, 7, "<7"},      {"0", -1, -1, ""},        {"", -1, -1, ""},         {"pages", -1, -1, ""},
        {"2-3-4", -1, -1, ""},
    };
    for (const auto& c : s_cases) {
        Type(hDlg, IDC_PRINT_RANGE, c.pszTyped);
        const CTablePrintSettings& s = run.dlg.GetSettings();
        EXPECT_EQ(c.nFrom, s.m_nFromPage) << "typed \"" << c.pszTyped << '"';
        EXPECT_EQ(c.nTo, s.m_nToPage) << "typed \"" << c.pszTyped << '"';
        EXPECT_EQ(c.pszShown, ItemTextOf(hDlg, IDC_PRINT_RANGE)) << "typed \"" << c.pszTyped << '"';
        // Typing chose the pages button; a range that names no page falls back to all pages.
        EXPECT_EQ(c.nFrom > 0 || c.nTo > 0, IsChecked(hDlg, IDC_PRINT_PAGES)) << "typed \"" << c.pszTyped << '"';
        // The text shown reads back as the same pages.
        int nFrom = 0, nTo = 0;
        ParsePageRange(c.pszShown, nFrom, nTo);
        EXPECT_EQ(c.nFrom, nFrom) << "shown \"" << c.pszShown << '"';
        EXPECT_EQ(c.nTo, nTo) << "shown \"" << c.pszShown << '"';
    }

    // All pages empties the field and both bounds.
    Type(hDlg, IDC_PRINT_RANGE, "2-9");
    Click(hDlg, IDC_PRINT_ALLPAGES);
    EXPECT_EQ("", ItemTextOf(hDlg, IDC_PRINT_RANGE));
    EXPECT_EQ(-1, run.dlg.GetSettings().m_nFromPage);
    EXPECT_EQ(-1, run.dlg.GetSettings().m_nToPage);
    EXPECT_TRUE(IsChecked(hDlg, IDC_PRINT_ALLPAGES));

    // Enter with the focus still in the field prints the pages the field holds.
    SetWindowTextA(GetDlgItem(hDlg, IDC_PRINT_RANGE), "2-3");
    SendMessageA(hDlg, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(IDOK, run.dlg.GetEndCode());
    EXPECT_EQ(2, run.dlg.GetSettings().m_nFromPage);
    EXPECT_EQ(3, run.dlg.GetSettings().m_nToPage);
}

TEST(PrintDialog, OpensOnTheRecordAndEndsWithWhatTheUserChose)
{
    CPrintDialogEnvironment env;
    COwnedTable table({{"Symbol", COLTYPE_STRING, 12, FALSE}});
    table.View().SetName("Quotes");
    table.View().SetTitle("US Quotes", 0);
    CTablePrintSettings settings;
    UsePrinter(settings, TEST_PRINTER_GREY);
    settings.m_nFromPage = 3;
    settings.m_nToPage = 5;
    settings.m_nRowSelection = 2;
    settings.m_bNoSort = TRUE;
    settings.SetCopies(3);
    settings.m_nColorMode = PRINT_COLOR;
    {
        CPrintDialogRun run(settings, &table.View());
        HWND hDlg = run.Hwnd();
        ASSERT_NE(nullptr, hDlg);
        char szCaption[128] = "";
        GetWindowTextA(hDlg, szCaption, sizeof(szCaption));
        EXPECT_EQ(AppText(IDS_PRINT_CAPTION) + " - US Quotes", szCaption);
        EXPECT_EQ(TEST_PRINTER_GREY, ItemTextOf(hDlg, IDC_PRINT_PRINTER));
        EXPECT_TRUE(IsChecked(hDlg, IDC_PRINT_PAGES));
        EXPECT_EQ("3-5", ItemTextOf(hDlg, IDC_PRINT_RANGE));
        EXPECT_EQ("3", ItemTextOf(hDlg, IDC_PRINT_COPIES));
        EXPECT_TRUE(IsChecked(hDlg, IDC_PRINT_ROWS_2));
        EXPECT_TRUE(IsChecked(hDlg, IDC_PRINT_NOSORT));
        EXPECT_FALSE(IsChecked(hDlg, IDC_PRINT_TABLEORDER));

        // The buttons and fields write the record at once.
        Click(hDlg, IDC_PRINT_ROWS_3);
        Click(hDlg, IDC_PRINT_TABLEORDER);
        Click(hDlg, IDC_PRINT_COLLATE);
        Type(hDlg, IDC_PRINT_COPIES, "12");
        Type(hDlg, IDC_PRINT_COPIES, "0");      // refused: the copies stay
        EXPECT_EQ("12", ItemTextOf(hDlg, IDC_PRINT_COPIES));
        CTablePrintSettings& s = run.dlg.Settings();
        EXPECT_EQ(3, s.m_nRowSelection);
        EXPECT_TRUE(s.m_bTableOrder);
        EXPECT_EQ(TRUE, s.GetCollate());
        EXPECT_EQ(12, s.GetCopies());

        // Nothing changed yet: Cancel is Cancel.
        const std::string strCancel = ItemTextOf(hDlg, IDCANCEL);
        SendMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(IDCANCEL, run.dlg.GetEndCode());

        // Another printer: a colour printer starts grey, and Cancel keeps the settings.
        ASSERT_TRUE(ChooseItem(hDlg, IDC_PRINT_PRINTER, TB_PDF_PRINTER_NAME));
        EXPECT_EQ(TB_PDF_PRINTER_NAME, std::string(s.GetPrinterName()));
        EXPECT_EQ(PRINT_GREY, s.m_nColorMode);
        EXPECT_EQ(AppText(IDS_PRINT_KEEP), ItemTextOf(hDlg, IDCANCEL));
        EXPECT_NE(strCancel, ItemTextOf(hDlg, IDCANCEL));
        SendMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(PRINT_RESULT_CHANGED, run.dlg.GetEndCode());
        SendMessageA(hDlg, WM_COMMAND, IDC_PRINT_PREVIEW, 0);
        EXPECT_EQ(PRINT_RESULT_PREVIEW, run.dlg.GetEndCode());

        // The copy handed back carries the new printer and the choices.
        CTablePrintSettings out(run.dlg.GetSettings());
        EXPECT_EQ(TB_PDF_PRINTER_NAME, std::string(out.GetPrinterName()));
        EXPECT_EQ(3, out.m_nRowSelection);
    }
    // The caller's record is untouched by the dialog's copy.
    EXPECT_EQ(TEST_PRINTER_GREY, std::string(settings.GetPrinterName()));
    EXPECT_EQ(2, settings.m_nRowSelection);
}

// The modal run as the table window starts it: the result of the button pressed comes back.
int s_nButton = 0;
BOOL PressOnOpen(HWND hDlg)
{
    PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(s_nButton, BN_CLICKED), 0);
    return TRUE;
}

TEST(PrintDialog, ModalRunReturnsTheButtonsResult)
{
    CPrintDialogEnvironment env;
    CTablePrintSettings settings;
    UsePrinter(settings, TB_PDF_PRINTER_NAME);
    for (int nButton : {IDOK, IDC_PRINT_PREVIEW, IDCANCEL}) {
        CTBPrintDlg dlg(nullptr, nullptr);
        dlg.SetSettings(settings);
        dlg.SetInitCallback(PressOnOpen);
        s_nButton = nButton;
        EXPECT_EQ(nButton, dlg.DoModal());
        EXPECT_EQ(nullptr, dlg.m_hWnd);
    }
}

}  // namespace
