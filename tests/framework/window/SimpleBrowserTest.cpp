// The form's page: it takes its placeholder's place, shows what is written once refreshed (text
// in ink, links in blue, right-to-left text from the right edge) and is emptied by Clear.
#include <gtest/gtest.h>
#include <string>
#include "WindowTestSupport.h"
#include "framework/window/SimpleBrowser.h"
#include "platform/win/Windows.h"
#include "platform/win/gdi/ImageCodec.h"

namespace {
const UINT ID_PLACEHOLDER = 77;

// The columns of the view that hold a pixel of the colour test.
template <class TTest>
std::vector<int> Columns(HWND hWnd, TTest test)
{
    UpdateWindow(hWnd);
    RECT rc;
    GetClientRect(hWnd, &rc);
    HDC hdc = GetDC(hWnd);
    std::vector<int> columns;
    for (int x = 0; x < rc.right; ++x)
        for (int y = 0; y < rc.bottom; ++y)
            if (test(GetPixel(hdc, x, y))) {
                columns.push_back(x);
                break;
            }
    ReleaseDC(hWnd, hdc);
    return columns;
}

bool IsInk(COLORREF cr)
{
    return GetRValue(cr) < 100 && GetGValue(cr) < 100 && GetBValue(cr) < 100;
}

bool IsLinkBlue(COLORREF cr)
{
    return GetBValue(cr) > 150 && GetRValue(cr) < 100 && GetGValue(cr) < 100;
}

struct Page : ::testing::Test
{
    CTestParent parent{400, 200};
    CWnd parentWnd;
    SimpleBrowser page;
    HWND hPlaceholder = nullptr;

    void Make(DWORD dwExStyle)
    {
        hPlaceholder = CreateWindowExA(dwExStyle, "Static", "", WS_CHILD | WS_VISIBLE, 10, 20, 300, 120, parent.m_hWnd,
                                       reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_PLACEHOLDER)), nullptr, nullptr);
        ASSERT_NE(nullptr, hPlaceholder);
        ASSERT_TRUE(parentWnd.Attach(parent.m_hWnd));
        ASSERT_TRUE(page.CreateFromControl(&parentWnd, ID_PLACEHOLDER));
    }
    void TearDown() override
    {
        if (page.m_hWnd != nullptr)
            page.DestroyWindow();
        parentWnd.Detach();
    }
};
}  // namespace

TEST_F(Page, TakesThePlaceholdersPlaceAndShowsWhatIsWritten)
{
    Make(0);
    EXPECT_FALSE(IsWindow(hPlaceholder));
    EXPECT_EQ(page.m_hWnd, GetDlgItem(parent.m_hWnd, ID_PLACEHOLDER));
    RECT rc;
    GetWindowRect(page.m_hWnd, &rc);
    POINT pt = {rc.left, rc.top};
    ScreenToClient(parent.m_hWnd, &pt);
    EXPECT_EQ(10, pt.x);
    EXPECT_EQ(20, pt.y);
    EXPECT_EQ(300, rc.right - rc.left);
    // A second page for the same id, or for a missing control, is refused.
    SimpleBrowser other;
    EXPECT_FALSE(other.CreateFromControl(&parentWnd, 4242));
    EXPECT_FALSE(page.CreateFromControl(&parentWnd, ID_PLACEHOLDER));

    page.Clear();
    page.Write("<p>Plain <a href=\"http://example.com/\">link</a></p>");
    page.Write("<img src=\"http://example.com/x.gif\"><script>document.body.innerHTML='gone'</script>");
    page.Refresh();
    char sz[64];
    GetWindowTextA(page.m_hWnd, sz, sizeof sz);
    EXPECT_STREQ("Plain link", sz);
    EXPECT_FALSE(Columns(page.m_hWnd, IsInk).empty());
    const std::vector<int> blue = Columns(page.m_hWnd, IsLinkBlue);
    ASSERT_FALSE(blue.empty());
    EXPECT_GT(blue.front(), Columns(page.m_hWnd, IsInk).front()) << "the link follows the plain word";
    EXPECT_TRUE(TbSaveWindowPng(parent.m_hWnd, ScreenshotPath("simple_browser_page").c_str()));

    page.Clear();
    page.Refresh();
    EXPECT_EQ(0, GetWindowTextLengthA(page.m_hWnd));
    EXPECT_TRUE(page.GetDocument().empty());
    EXPECT_TRUE(Columns(page.m_hWnd, IsInk).empty());
}

TEST_F(Page, RightToLeftTextStartsAtTheRightEdge)
{
    Make(WS_EX_RTLREADING);
    page.Write(Arabic("<p>خبر قصير</p>").c_str());
    page.Refresh();
    const std::vector<int> ink = Columns(page.m_hWnd, IsInk);
    ASSERT_FALSE(ink.empty());
    EXPECT_GT(ink.front(), 150) << "a short line stays in the right half";
    EXPECT_GT(ink.back(), 250);
}
