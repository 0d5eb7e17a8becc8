// The browser host, on the web engine and on the rich-text surface: what is written before the
// blank page has come is written once it has, and each text only once; Clear then Write shows
// only the new text; the parent's veto keeps the page; a frame's loads raise no page
// notification; the host takes its placeholder's place and id; without a parent it still works.
// A spy on the control's procedure sees every text written into it.
#include <gtest/gtest.h>
#include <unistd.h>
#include <fstream>
#include <string>
#include <vector>
#include "WindowTestSupport.h"
#include "framework/window/SimpleBrowser.h"
#include "platform/win/Windows.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/user/WebBrowser.h"

namespace {
const UINT ID_PLACEHOLDER = 77;
const char* const PARENT_CLASS = "SimpleBrowserTestParent";

struct Event {
    UINT nCode;
    std::string strUrl;
};

// What the parent was told, and the address whose before-navigate it refuses.
std::vector<Event> s_events;
std::string s_strRefused;
// The texts written into the control and its clearings, in order.
std::vector<std::string> s_written;
WNDPROC s_pfnControl = nullptr;

LRESULT CALLBACK ParentProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NOTIFY && wParam == ID_PLACEHOLDER) {
        const auto* pInfo = reinterpret_cast<const SimpleBrowserNotification*>(lParam);
        s_events.push_back({pInfo->hdr.code, static_cast<LPCSTR>(pInfo->strUrl)});
        return pInfo->hdr.code == SBN_BEFORE_NAVIGATE && pInfo->strUrl == s_strRefused.c_str() ? 1 : 0;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK SpyProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WBM_WRITE)
        s_written.emplace_back(reinterpret_cast<LPCSTR>(lParam), wParam);
    else if (uMsg == WBM_CLEAR)
        s_written.emplace_back("<clear>");
    return CallWindowProcA(s_pfnControl, hWnd, uMsg, wParam, lParam);
}

std::string WriteFile(const std::string& strName, const std::string& strText)
{
    const std::string strPath = "/tmp/tb-simple-browser-" + std::to_string(getpid()) + "-" + strName;
    std::ofstream(strPath) << strText;
    return strPath;
}

// Each case on the engine (true) and on the rich-text surface (false).
struct Browser : ::testing::TestWithParam<bool>
{
    HWND hParent = nullptr;
    CWnd parentWnd;
    SimpleBrowser page;

    void SetUp() override
    {
        if (GetParam() && !TbWebEngineAvailable())
            GTEST_SKIP() << "no web engine on this display";
        TbWebBrowserUseEngine(GetParam());
        WNDCLASSA wc{};
        wc.lpfnWndProc = ParentProc;
        wc.lpszClassName = PARENT_CLASS;
        RegisterClassA(&wc);
        hParent = CreateWindowExA(0, PARENT_CLASS, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 420, 240, nullptr,
                                  nullptr, nullptr, nullptr);
        ASSERT_TRUE(parentWnd.Attach(hParent));
        s_events.clear();
        s_written.clear();
        s_strRefused.clear();
    }
    void TearDown() override
    {
        if (page.m_hWnd != nullptr)
            page.DestroyWindow();
        parentWnd.Detach();
        if (hParent != nullptr)
            DestroyWindow(hParent);
        TbWebBrowserUseEngine(TRUE);
    }
    void Make()
    {
        HWND hPlaceholder = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 10, 20, 300, 120, hParent,
                                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_PLACEHOLDER)), nullptr,
                                            nullptr);
        ASSERT_NE(nullptr, hPlaceholder);
        ASSERT_TRUE(page.CreateFromControl(&parentWnd, ID_PLACEHOLDER));
        EXPECT_FALSE(IsWindow(hPlaceholder));
        s_pfnControl = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(page.GetBrowserWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SpyProc)));
    }
    bool Told(UINT nCode, const std::string& strUrl) const
    {
        for (const Event& event : s_events)
            if (event.nCode == nCode && event.strUrl == strUrl)
                return true;
        return false;
    }
    int CountTold(UINT nCode) const
    {
        int n = 0;
        for (const Event& event : s_events)
            n += event.nCode == nCode;
        return n;
    }
};

}  // namespace

TEST_P(Browser, WritesOnceThePageHasComeAndEachTextOnce)
{
    Make();
    // In the placeholder's place, with its id; a second one for the id, or for a missing one, is refused.
    EXPECT_EQ(page.m_hWnd, GetDlgItem(hParent, ID_PLACEHOLDER));
    RECT rc;
    GetWindowRect(page.m_hWnd, &rc);
    POINT pt = {rc.left, rc.top};
    ScreenToClient(hParent, &pt);
    EXPECT_EQ(10, pt.x);
    EXPECT_EQ(20, pt.y);
    EXPECT_EQ(300, rc.right - rc.left);
    SimpleBrowser other;
    EXPECT_FALSE(other.CreateFromControl(&parentWnd, 4242));
    EXPECT_FALSE(page.CreateFromControl(&parentWnd, ID_PLACEHOLDER));

    page.Write("<p>one</p>");
    EXPECT_TRUE(s_written.empty()) << "the blank page has not come yet";
    ASSERT_TRUE(PumpUntil([&] { return Told(SBN_NAVIGATE_COMPLETE, "about:blank"); }, 10000));
    EXPECT_TRUE(page.IsReady());
    ASSERT_EQ(std::vector<std::string>{"<p>one</p>"}, s_written);
    page.Write("<p>two</p>");
    EXPECT_EQ((std::vector<std::string>{"<p>one</p>", "<p>two</p>"}), s_written) << "each text once";
    EXPECT_EQ("<p>one</p><p>two</p>", page.GetDocument());

    page.Clear();
    page.Write("<p>three</p>");
    EXPECT_EQ("<p>three</p>", page.GetDocument());
    EXPECT_EQ((std::vector<std::string>{"<p>one</p>", "<p>two</p>", "<clear>", "<p>three</p>"}), s_written)
        << "a page that has come is emptied and written at once";
    page.Refresh();
    EXPECT_TRUE(TbSaveWindowPng(hParent, ScreenshotPath(GetParam() ? "simple_browser_engine" : "simple_browser_rich").c_str()));
}

TEST_P(Browser, TheParentsVetoKeepsThePageAndFramesTellNothing)
{
    Make();
    ASSERT_TRUE(PumpUntil([&] { return Told(SBN_NAVIGATE_COMPLETE, "about:blank"); }, 10000));
    const std::string strRefused = "http://127.0.0.1:9/refused";
    s_strRefused = strRefused;
    page.Navigate(strRefused.c_str());
    ASSERT_TRUE(PumpUntil([&] { return Told(SBN_BEFORE_NAVIGATE, strRefused); }, 10000));
    PumpUntil([] { return false; }, 300);
    EXPECT_FALSE(Told(SBN_NAVIGATE_COMPLETE, strRefused));
    EXPECT_EQ("about:blank", WebBrowser_GetLocation(page.GetBrowserWindow()));
    if (!GetParam())
        return;     // the rich-text surface shows no frames

    // A page with a frame: the frame's loads tell the parent nothing.
    const std::string strInner = "file://" + WriteFile("inner.html", "<p>inner</p>");
    const std::string strOuter = "file://" + WriteFile("outer.html", "<iframe src=\"" + strInner + "\"></iframe>");
    s_events.clear();
    page.Navigate(strOuter.c_str());
    ASSERT_TRUE(PumpUntil([&] { return Told(SBN_DOCUMENT_COMPLETE, strOuter); }, 10000));
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(1, CountTold(SBN_BEFORE_NAVIGATE));
    EXPECT_EQ(1, CountTold(SBN_NAVIGATE_COMPLETE));
    EXPECT_EQ(1, CountTold(SBN_DOCUMENT_COMPLETE));
    EXPECT_FALSE(Told(SBN_BEFORE_NAVIGATE, strInner));
}

TEST_P(Browser, WithoutAParentItStillWrites)
{
    SimpleBrowser lone;
    ASSERT_TRUE(lone.Create(WS_POPUP, CRect(0, 0, 200, 100), nullptr, 0));
    EXPECT_FALSE(lone.Create(WS_POPUP, CRect(0, 0, 200, 100), nullptr, 0)) << "one window each";
    lone.Write("<p>alone</p>");
    EXPECT_TRUE(PumpUntil([&] { return lone.IsReady(); }, 10000));
    EXPECT_EQ("<p>alone</p>", lone.GetDocument());
    EXPECT_TRUE(s_events.empty());
    lone.DestroyWindow();
}

INSTANTIATE_TEST_SUITE_P(Surfaces, Browser, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Engine" : "RichText"; });
