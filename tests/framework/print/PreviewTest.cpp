// The preview window: the pages it shows are the print's, navigation by pages, slices and keys,
// zoom bounds, the toolbar in both reading directions; pictures in English and Arabic.
#include "PrintTestSupport.h"
#include "framework/print/NorvTablePrint.h"
#include "framework/print/PreviewWnd.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/user/TestAnswers.h"

namespace {

std::string PageText(const CPrintPage& page)
{
    char sz[160];
    snprintf(sz, sizeof(sz), "%d-%d s%d b%d t%d h%d,%d,%d,%d b%d,%d,%d,%d f%d,%d,%d,%d", page.m_nFirstLine,
             page.m_nLastLine, page.m_nSlice, page.m_nBand, page.m_bTitles, page.m_rcHeader.left, page.m_rcHeader.top,
             page.m_rcHeader.right, page.m_rcHeader.bottom, page.m_rcBody.left, page.m_rcBody.top, page.m_rcBody.right,
             page.m_rcBody.bottom, page.m_rcFooter.left, page.m_rcFooter.top, page.m_rcFooter.right, page.m_rcFooter.bottom);
    return sz;
}

std::vector<std::string> Pages(const CTablePrint& print)
{
    std::vector<std::string> pages;
    for (int i = 0; i < print.GetPageCount(); ++i)
        pages.push_back(PageText(*print.GetPage(i)));
    return pages;
}

// A preview of a table in a top-level parent, on the PDF printer.
class CPreview
{
public:
    CPreview(CViewTable& view, const std::function<void(CTablePrintSettings&)>& setup = nullptr)
        : m_parent(900, 700), m_print(&view)
    {
        UsePdfPrinterOnly();
        EXPECT_TRUE(m_print.GetSettings().SelectPrinter());
        if (setup)
            setup(m_print.GetSettings());
        m_print.SetName("Test Terminal");
        m_print.BuildHeaders("Holdings");
        EXPECT_TRUE(m_window.Create(&m_print, m_parent.m_hWnd, WS_CHILD | WS_VISIBLE, 1, nullptr));
        Drain();
    }
    ~CPreview()
    {
        m_window.DestroyWindow();
        Drain();
    }
    CTestParent m_parent;
    CNorvTablePrint m_print;
    CTablePrintWindow m_window;
};

BOOL Enabled(CTablePrintWindow& window, UINT nId)
{
    return IsWindowEnabled(window.GetControl(nId));
}

}  // namespace

TEST(PrintPreview, ShowsThePrintsPagesAndNavigatesThem)
{
    CGridLanguage language(1252);
    CPrintTable table(200);
    for (int i = 0; i < PT_COLUMNS; ++i)
        table.t.Table().GetColumn(i).SetWidth(300);    // two columns a band at 100 %: three bands
    std::vector<std::string> printed;
    {
        CNorvTablePrint print(&table.View());
        ASSERT_TRUE(print.GetSettings().SelectPrinter());
        print.SetName("Test Terminal");
        print.BuildHeaders("Holdings");
        const std::string strPdf = TestFilePath("preview-compare.pdf");
        print.SetOutputFile(strPdf.c_str());
        ASSERT_EQ(1, print.Print());
        printed = Pages(print);
        std::remove(strPdf.c_str());
    }
    CPreview preview(table.View());
    CTablePrintWindow& window = preview.m_window;
    ASSERT_NE(nullptr, window.GetPreviewDC());
    EXPECT_EQ(printed, Pages(preview.m_print));
    ASSERT_EQ(3, preview.m_print.GetBandCount());
    ASSERT_GE(preview.m_print.GetPageCount(), 9);

    EXPECT_EQ(0, window.GetCurrentPage());
    EXPECT_FALSE(Enabled(window, ID_PREVIEW_PREV));
    EXPECT_FALSE(Enabled(window, ID_PREVIEW_FIRST));
    EXPECT_TRUE(Enabled(window, ID_PREVIEW_NEXTSLICE));
    window.NextPage();
    window.NextSlice();
    EXPECT_EQ(4, window.GetCurrentPage()) << "next slice from page 2 shows page 5";
    window.PrevSlice();
    EXPECT_EQ(1, window.GetCurrentPage());
    window.PrevSlice();
    EXPECT_EQ(1, window.GetCurrentPage()) << "no slice before the first";
    window.LastPage();
    EXPECT_EQ(preview.m_print.GetPageCount() - 1, window.GetCurrentPage());
    EXPECT_FALSE(Enabled(window, ID_PREVIEW_NEXT));
    EXPECT_FALSE(Enabled(window, ID_PREVIEW_NEXTSLICE));
    window.ShowPageNumber(0);
    window.ShowPageNumber(preview.m_print.GetPageCount() + 1);
    EXPECT_EQ(preview.m_print.GetPageCount() - 1, window.GetCurrentPage()) << "numbers outside are ignored";
    window.ShowPageNumber(2);
    EXPECT_EQ(1, window.GetCurrentPage());

    // Keys: page down and up, the keypad's plus and minus, a digit into the page field.
    const struct { UINT nKey; int nPage; int nZoom; } keys[] = {
        {VK_NEXT, 2, 100}, {VK_NEXT, 3, 100}, {VK_PRIOR, 2, 100}, {VK_ADD, 2, 110}, {VK_SUBTRACT, 2, 100},
    };
    for (const auto& k : keys) {
        EXPECT_TRUE(window.HandleKey(k.nKey));
        EXPECT_EQ(k.nPage, window.GetCurrentPage()) << "key " << k.nKey;
        EXPECT_EQ(k.nZoom, window.GetZoom()) << "key " << k.nKey;
    }
    EXPECT_TRUE(window.HandleKey('7'));
    EXPECT_EQ(window.GetControl(ID_PREVIEW_PAGE), GetFocus());
    SendMessageA(window.GetControl(ID_PREVIEW_PAGE), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(6, window.GetCurrentPage());

    // Zoom: ten steps from 100 reach 200 and stop; down it stops at 10.
    for (int i = 0; i < 12; ++i)
        window.ZoomIn();
    EXPECT_EQ(200, window.GetZoom());
    EXPECT_FALSE(Enabled(window, ID_PREVIEW_ZOOMIN));
    for (int i = 0; i < 25; ++i)
        window.ZoomOut();
    EXPECT_EQ(10, window.GetZoom());
    EXPECT_FALSE(Enabled(window, ID_PREVIEW_ZOOMOUT));
}

TEST(PrintPreview, RangeOpensOnItsFirstPage)
{
    CGridLanguage language(1252);
    CPrintTable table(400);
    CPreview preview(table.View(), [](CTablePrintSettings& s) {
        s.m_nFromPage = 3;
        s.m_nToPage = 5;
    });
    CTablePrintWindow& window = preview.m_window;
    ASSERT_GE(preview.m_print.GetPageCount(), 6);
    EXPECT_EQ(2, window.GetCurrentPage());
    window.LastPage();
    EXPECT_EQ(4, window.GetCurrentPage());
    window.FirstPage();
    EXPECT_EQ(2, window.GetCurrentPage());
    window.PrevPage();
    EXPECT_EQ(2, window.GetCurrentPage());
}

TEST(PrintPreview, ToolbarRunsFromTheReadingStartInBothLanguages)
{
    for (int nCodePage : {1252, 1256}) {
        CGridLanguage language(nCodePage);
        CPrintTable table(120);
        CPreview preview(table.View());
        CTablePrintWindow& window = preview.m_window;
        RECT rc;
        GetClientRect(window.GetSafeHwnd(), &rc);
        int xFirst = window.GetControlLeft(ID_PREVIEW_FIRST);
        int xClose = window.GetControlLeft(ID_PREVIEW_CLOSE);
        if (nCodePage == 1256) {
            EXPECT_EQ(rc.right - 28, xFirst);
            EXPECT_GT(xFirst, xClose);
        } else {
            EXPECT_EQ(8, xFirst);
            EXPECT_LT(xFirst, xClose);
        }
        InvalidateRect(window.GetSafeHwnd(), nullptr, TRUE);
        UpdateWindow(window.GetSafeHwnd());
        Drain();
        const char* pszShot = nCodePage == 1256 ? "print_preview_ar" : "print_preview_en";
        EXPECT_TRUE(TbSaveWindowPng(preview.m_parent.m_hWnd, ScreenshotPath(pszShot).c_str())) << pszShot;
    }
}

TEST(PrintPreview, PageSetupAndPrintRestartOnTheSamePageAndZoom)
{
    CGridLanguage language(1252);
    CPrintTable table(400);
    CPreview preview(table.View());
    CTablePrintWindow& window = preview.m_window;
    const int nPagesAt100 = preview.m_print.GetPageCount();
    window.GoToPage(2);
    window.ZoomIn();
    CTablePrintWindow::s_pfnPageSetup = [](CTablePrint* pPrint, HWND, void*) {
        pPrint->GetSettings().m_nScale = 50;
        return static_cast<int>(IDOK);
    };
    window.PageSetup();
    EXPECT_LT(preview.m_print.GetPageCount(), nPagesAt100) << "the new layout is shown";
    EXPECT_EQ(2, window.GetCurrentPage());
    EXPECT_EQ(110, window.GetZoom());

    CTablePrintWindow::s_pfnPrintDialog = [](CTablePrint*, HWND, void*) { return static_cast<int>(IDOK); };
    const std::string strPdf = TestFilePath("from-preview.pdf");
    TbClearTestAnswers();
    TbQueueTestAnswer({TB_ASK_SAVEFILE, IDOK, strPdf});
    window.PrintFromPreview();
    EXPECT_EQ(0, TbPendingTestAnswers());
    EXPECT_EQ(preview.m_print.GetPageCount(), PdfPageCount(strPdf));
    EXPECT_NE(nullptr, window.GetPreviewDC()) << "the preview goes on after printing";
    EXPECT_EQ(2, window.GetCurrentPage());
    EXPECT_EQ(110, window.GetZoom());
    CTablePrintWindow::s_pfnPageSetup = nullptr;
    CTablePrintWindow::s_pfnPrintDialog = nullptr;
    std::remove(strPdf.c_str());
}
