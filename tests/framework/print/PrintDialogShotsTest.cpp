// Pictures of the print dialog and of the page-setup dialog on each of its pages, in English and
// in Arabic (laid out right to left), under <build>/screenshots for people to look at.
#include <gtest/gtest.h>

#include <string>

#include "PrintDialogTestSupport.h"
#include "framework/print/TBPageSetupDlg.h"
#include "framework/print/TBPrintDlg.h"
#include "framework/window/TBTabControl.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/kernel/CodePage.h"
#include "tests/framework/table/TableTestSupport.h"

namespace {

void Show(HWND hWnd)
{
    ShowWindow(hWnd, SW_SHOW);
    UpdateWindow(hWnd);
    Drain();
}

TEST(PrintDialogShots, PrintAndPageSetupInEnglishAndArabic)
{
    for (int nCodePage : {1252, 1256}) {
        CPrintDialogEnvironment env(nCodePage);
        const std::string strLang = nCodePage == 1256 ? "_ar" : "_en";
        COwnedTable table({{"Symbol", COLTYPE_STRING, 12, FALSE}});
        table.View().SetTitle(nCodePage == 1256 ? ToCodePage("الأسعار", 1256).c_str() : "Quotes",
                              nCodePage == 1256 ? 1 : 0);
        CTablePrintSettings settings;
        UsePrinter(settings, TEST_PRINTER_WIDE);
        settings.m_nFromPage = 2;
        settings.m_nToPage = 7;
        settings.m_font.CreatePointFont(CTBString("DejaVu Sans"), 10, TRUE, nullptr);

        // The machine's page is Arabic whatever the language, as the program sets it.
        const UINT uOldPage = GetACP();
        TbSetActiveCodePage(1256);
        CTBPrintDlg print(nullptr, &table.View());
        print.SetSettings(settings);
        ASSERT_TRUE(print.Create(IDD_PRINT, nullptr));
        Show(print.m_hWnd);
        EXPECT_TRUE(TbSaveWindowPng(print.m_hWnd, ScreenshotPath(("print_dialog" + strLang).c_str()).c_str()));
        // The port reads "FILE:" in Arabic too: kept between left-to-right marks.
        char szWhere[64] = "";
        GetDlgItemTextA(print.m_hWnd, IDC_PRINT_LOCATION, szWhere, sizeof szWhere);
        EXPECT_STREQ(nCodePage == 1256 ? "\xFD" "FILE:\xFD" : "FILE:", szWhere);
        TbSetActiveCodePage(uOldPage);
        print.DestroyWindow();

        CTBPageSetupDlg setup(nullptr, &table.View());
        setup.SetSettings(settings);
        ASSERT_TRUE(setup.Create(IDD_PAGESETUP, nullptr));
        static const char* const s_pages[] = {"paper", "margins", "headers", "table"};
        for (int nTab = 0; nTab < CTBPageSetupDlg::PAGE_COUNT; ++nTab) {
            setup.GetTabControl()->SelectTab(nTab);
            ASSERT_EQ(nTab, setup.GetShownPage());
            Show(setup.m_hWnd);
            const std::string strShot = std::string("page_setup_") + s_pages[nTab] + strLang;
            EXPECT_TRUE(TbSaveWindowPng(setup.m_hWnd, ScreenshotPath(strShot.c_str()).c_str())) << strShot;
        }
        setup.DestroyWindow();
    }
}

}  // namespace
