// The browser control on each of its surfaces (the web engine and the rich-text view): loads and
// their notifications, written documents of any size, the switches for scripts and remote
// loading, cancelling, new windows through CHtmlView, and the rich-text view's address link.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#ifdef TB_HAVE_WEB_ENGINE
#include <QtWebEngineCore/QWebEnginePage>
#include <QtWebEngineWidgets/QWebEngineView>
#endif
#include <QtWidgets/QWidget>
#include <chrono>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "platform/mfc/HtmlView.h"
#include "platform/qt/QtInternal.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/kernel/Shell.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/WebBrowser.h"
#include "platform/win/user/Window.h"

namespace {

struct Event {
    UINT uCode;
    std::string strUrl, strText;
    BOOL bTopLevel;
};

// The owner of the browsers under test: it records every notification and answers the two that
// ask, as the test says.
struct Owner {
    std::vector<Event> events;
    std::function<BOOL(const std::string&)> cancelNavigation = [](const std::string&) { return FALSE; };
    HWND hNewWindowTarget = nullptr;
    BOOL bRefuseNewWindow = FALSE;
};
Owner* g_pOwner = nullptr;

LRESULT CALLBACK OwnerProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NOTIFY && g_pOwner != nullptr) {
        NMWEBBROWSERA* pNm = reinterpret_cast<NMWEBBROWSERA*>(lParam);
        g_pOwner->events.push_back({pNm->hdr.code, pNm->pszUrl, pNm->pszText, pNm->bTopLevel});
        if (pNm->hdr.code == WBN_BEFORENAVIGATE2)
            pNm->bCancel = g_pOwner->cancelNavigation(pNm->pszUrl);
        if (pNm->hdr.code == WBN_NEWWINDOW2) {
            pNm->hWndTarget = g_pOwner->hNewWindowTarget;
            pNm->bCancel = g_pOwner->bRefuseNewWindow;
        }
        return 0;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

// Runs the queue until the condition holds or the time is up; TRUE when it held.
BOOL PumpUntil(const std::function<bool()>& done, int nMs = 15000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(nMs);
    const UINT_PTR nTimer = SetTimer(nullptr, 0, 10, nullptr);
    MSG msg;
    while (!done() && std::chrono::steady_clock::now() < end && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    KillTimer(nullptr, nTimer);
    return done();
}

void Pump(int nMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(nMs);
    PumpUntil([&] { return std::chrono::steady_clock::now() >= end; }, nMs + 1000);
}

// What the browser shows, as plain text: the page's text on the engine, the view's on the other.
std::string ShownText(HWND hBrowser)
{
#ifdef TB_HAVE_WEB_ENGINE
    if (WebBrowser_HasEngine(hBrowser)) {
        QWebEngineView* pView = TbQtWidgetOf(hBrowser)->findChild<QWebEngineView*>();
        std::string str;
        bool bDone = false;
        pView->page()->toPlainText([&](const QString& strText) {
            str = strText.toStdString();
            bDone = true;
        });
        PumpUntil([&] { return bDone; });
        return str;
    }
#endif
    HWND hText = GetWindow(hBrowser, GW_CHILD);
    std::string str(static_cast<size_t>(GetWindowTextLengthA(hText)) + 1, '\0');
    str.resize(static_cast<size_t>(GetWindowTextA(hText, str.data(), static_cast<int>(str.size()))));
    return str;
}

std::string WriteFile(const std::string& strName, const std::string& strText)
{
    const std::string strPath = std::string(TB_BINARY_DIR) + "/webtest-" + strName;
    FILE* pFile = fopen(strPath.c_str(), "wb");
    fwrite(strText.data(), 1, strText.size(), pFile);
    fclose(pFile);
    return "file://" + strPath;
}

// A loopback listener that only counts the connections made to it.
class CLoopbackCounter
{
public:
    CLoopbackCounter()
    {
        m_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr = {};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        listen(m_fd, 8);
        fcntl(m_fd, F_SETFL, O_NONBLOCK);
        socklen_t cb = sizeof addr;
        getsockname(m_fd, reinterpret_cast<sockaddr*>(&addr), &cb);
        m_nPort = ntohs(addr.sin_port);
    }
    ~CLoopbackCounter() { close(m_fd); }
    int Port() const { return m_nPort; }
    // Closes what came at once, so that a page waiting for it gives up.
    int Count()
    {
        for (int fd; (fd = accept(m_fd, nullptr, nullptr)) >= 0; ++m_nAccepted)
            close(fd);
        return m_nAccepted;
    }

private:
    int m_fd = -1;
    int m_nPort = 0;
    int m_nAccepted = 0;
};

class Browser : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(TbInitQtPlatform(nullptr, nullptr));
        if (GetParam() && !TbWebEngineAvailable())
            GTEST_SKIP() << "no web engine in this build";
        TbWebBrowserUseEngine(GetParam());
        TbRegisterControlClasses();
        WNDCLASSA wc = {};
        if (!GetClassInfoA(nullptr, "TbBrowserOwner", &wc)) {
            wc.lpfnWndProc = OwnerProc;
            wc.lpszClassName = "TbBrowserOwner";
            RegisterClassA(&wc);
        }
        g_pOwner = &m_owner;
        m_hOwner = CreateWindowExA(0, "TbBrowserOwner", "Browser test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 640, 480,
                                   nullptr, nullptr, nullptr, nullptr);
        m_hBrowser = MakeBrowser(7);
        ASSERT_NE(nullptr, m_hBrowser);
        EXPECT_EQ(GetParam(), WebBrowser_HasEngine(m_hBrowser) != FALSE);
    }
    void TearDown() override
    {
        if (m_hOwner != nullptr)
            DestroyWindow(m_hOwner);
        g_pOwner = nullptr;
        TbWebBrowserUseEngine(TRUE);
        Pump(20);      // the engine's views go once Qt is back in its loop
    }
    HWND MakeBrowser(int nId)
    {
        return CreateWindowExA(0, WC_WEBBROWSERA, "", WS_CHILD | WS_VISIBLE, 0, 0, 640, 480, m_hOwner,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(nId)), nullptr, nullptr);
    }
    int Count(UINT uCode) const
    {
        int n = 0;
        for (const Event& e : m_owner.events)
            n += e.uCode == uCode;
        return n;
    }
    BOOL WaitForComplete(int nCount = 1)
    {
        return PumpUntil([&] { return Count(WBN_DOCUMENTCOMPLETE) >= nCount; });
    }
    BOOL WaitForReady(HWND hBrowser)
    {
        return PumpUntil([&] { return WebBrowser_GetReadyState(hBrowser) == READYSTATE_COMPLETE; });
    }
    // The notifications' codes in order, progress left out (how often it moves is the engine's).
    std::string Sequence() const
    {
        static const struct { UINT uCode; const char* pszName; } s_names[] = {
            {WBN_BEFORENAVIGATE2, "before"}, {WBN_NAVIGATECOMPLETE2, "navigated"}, {WBN_DOCUMENTCOMPLETE, "complete"},
            {WBN_DOWNLOADBEGIN, "begin"}, {WBN_DOWNLOADCOMPLETE, "end"}, {WBN_TITLECHANGE, "title"},
            {WBN_NEWWINDOW2, "new"}, {WBN_STATUSTEXTCHANGE, "status"}};
        std::string str;
        for (const Event& e : m_owner.events)
            for (const auto& n : s_names)
                if (n.uCode == e.uCode)
                    str += std::string(str.empty() ? "" : " ") + n.pszName + (e.bTopLevel ? "" : "(frame)");
        return str;
    }
    Owner m_owner;
    HWND m_hOwner = nullptr;
    HWND m_hBrowser = nullptr;
};

TEST_P(Browser, LoadsAPageWithAFrameAndTellsItsOwnerOnceForThePage)
{
    const std::string strFrame = WriteFile("frame.html", "<html><body><p>Inner frame</p></body></html>");
    const std::string strPage = WriteFile("page.html", "<html><head><title>Quarterly report</title></head><body>"
                                                       "<h1>Results</h1><p>Revenue rose.</p><iframe src=\"" + strFrame +
                                                       "\"></iframe></body></html>");
    EXPECT_EQ(READYSTATE_UNINITIALIZED, WebBrowser_GetReadyState(m_hBrowser));
    ASSERT_TRUE(WebBrowser_Navigate(m_hBrowser, strPage.c_str()));
    EXPECT_TRUE(m_owner.events.empty()) << "nothing is told from inside the call";
    ASSERT_TRUE(WaitForComplete());
    Pump(100);     // a late frame would show here
    EXPECT_EQ(READYSTATE_COMPLETE, WebBrowser_GetReadyState(m_hBrowser));
    EXPECT_EQ(strPage, WebBrowser_GetLocation(m_hBrowser));
    EXPECT_EQ("Quarterly report", WebBrowser_GetTitle(m_hBrowser));
    // The page is told once; a frame only asks before it loads (the rich-text view has no frames).
    const std::string strExpected = GetParam() ? "before begin before(frame) navigated end complete"
                                         : "before begin navigated end complete";
    std::string strSeq = Sequence();
    EXPECT_NE(std::string::npos, strSeq.find(" title"));
    for (size_t n; (n = strSeq.find(" title")) != std::string::npos;)
        strSeq.erase(n, 6);
    EXPECT_EQ(strExpected, strSeq);
    EXPECT_EQ(1, Count(WBN_DOCUMENTCOMPLETE));
    for (const Event& e : m_owner.events) {
        if (e.uCode == WBN_DOCUMENTCOMPLETE || e.uCode == WBN_NAVIGATECOMPLETE2) {
            EXPECT_EQ(strPage, e.strUrl);
        }
    }
    EXPECT_NE(std::string::npos, ShownText(m_hBrowser).find("Revenue rose."));

    // A cancelled navigation keeps the page, its address and its state.
    m_owner.events.clear();
    const std::string strOther = WriteFile("other.html", "<html><head><title>Other</title></head><body>Other</body></html>");
    m_owner.cancelNavigation = [&](const std::string& strUrl) { return strUrl == strOther; };
    ASSERT_TRUE(WebBrowser_Navigate(m_hBrowser, strOther.c_str()));
    ASSERT_TRUE(PumpUntil([&] { return Count(WBN_BEFORENAVIGATE2) == 1; }));
    Pump(300);
    EXPECT_EQ("before", Sequence());
    EXPECT_EQ(READYSTATE_COMPLETE, WebBrowser_GetReadyState(m_hBrowser));
    EXPECT_EQ(strPage, WebBrowser_GetLocation(m_hBrowser));
    EXPECT_NE(std::string::npos, ShownText(m_hBrowser).find("Revenue rose."));
}

TEST_P(Browser, WrittenDocumentsOfAnySizeShowWholeWithoutNavigating)
{
    // Pieces written one after another make one document; past 2 MB it still shows whole.
    const std::string strHead = "<html><head><title>Long story</title></head><body>";
    std::string strBody;
    for (int i = 0; strBody.size() < 3u * 1024 * 1024; ++i)
        strBody += "<p>Line " + std::to_string(i) + " of the story.</p>";
    const std::string strTail = "<p>THE END</p></body></html>";
    ASSERT_TRUE(WebBrowser_Write(m_hBrowser, strHead.data(), strHead.size()));
    ASSERT_TRUE(WebBrowser_Write(m_hBrowser, strBody.data(), strBody.size()));
    ASSERT_TRUE(WebBrowser_Write(m_hBrowser, strTail.data(), strTail.size()));
    ASSERT_TRUE(WaitForReady(m_hBrowser));
    const std::string strShown = ShownText(m_hBrowser);
    EXPECT_NE(std::string::npos, strShown.find("Line 0 of the story."));
    EXPECT_NE(std::string::npos, strShown.find("THE END"));
    EXPECT_EQ(std::string::npos, strShown.find("THE END", strShown.find("THE END") + 1)) << "each piece once";
    EXPECT_EQ("about:blank", WebBrowser_GetLocation(m_hBrowser));
    EXPECT_EQ(0, Count(WBN_BEFORENAVIGATE2) + Count(WBN_DOCUMENTCOMPLETE) + Count(WBN_DOWNLOADBEGIN));

    // Clearing empties it; what is written next shows alone.
    ASSERT_TRUE(WebBrowser_Clear(m_hBrowser));
    const std::string strShort = "<p>Short note</p>";
    ASSERT_TRUE(WebBrowser_Write(m_hBrowser, strShort.data(), strShort.size()));
    ASSERT_TRUE(WaitForReady(m_hBrowser));
    EXPECT_EQ("Short note", ShownText(m_hBrowser).substr(0, 10));
    EXPECT_EQ(std::string::npos, ShownText(m_hBrowser).find("THE END"));
}

TEST_P(Browser, SwitchesKeepScriptsFromRunningAndRemoteContentFromBeingFetched)
{
    CLoopbackCounter server;
    const std::string strImage = "http://127.0.0.1:" + std::to_string(server.Port()) + "/logo.png";
    const std::string strHtml = "<html><head><title>Story</title></head><body><p>Plain words</p><img src=\"" + strImage +
                                "\"><script>document.title = 'script ran';</script></body></html>";
    const struct { DWORD dwOptions; bool bRuns, bFetches; } cases[] = {
        {0, true, true},
        {WBO_NOSCRIPT, false, true},
        {WBO_NOREMOTE, true, false},
        {WBO_NOSCRIPT | WBO_NOREMOTE, false, false},
    };
    for (const auto& c : cases) {
        HWND hBrowser = MakeBrowser(8);
        WebBrowser_SetOptions(hBrowser, WBO_NOSCRIPT | WBO_NOREMOTE, c.dwOptions);
        EXPECT_EQ(c.dwOptions, WebBrowser_GetOptions(hBrowser));
        const int nBefore = server.Count();
        ASSERT_TRUE(WebBrowser_Write(hBrowser, strHtml.data(), strHtml.size()));
        ASSERT_TRUE(PumpUntil([&] {
            server.Count();
            return WebBrowser_GetReadyState(hBrowser) == READYSTATE_COMPLETE;
        }));
        Pump(200);
        // The rich-text view never runs nor fetches anything.
        const bool bRuns = GetParam() && c.bRuns, bFetches = GetParam() && c.bFetches;
        EXPECT_EQ(bRuns ? "script ran" : "Story", WebBrowser_GetTitle(hBrowser)) << "options " << c.dwOptions;
        EXPECT_EQ(bFetches, server.Count() > nBefore) << "options " << c.dwOptions;
        EXPECT_NE(std::string::npos, ShownText(hBrowser).find("Plain words"));
        DestroyWindow(hBrowser);
    }
}

// A view whose page may ask for new windows: the owner answers with another view's browser.
class CTestHtmlView : public CHtmlView
{
public:
    HWND m_hTarget = nullptr;
    BOOL m_bRefuse = FALSE;
    int m_nComplete = 0;
    int m_nNewWindow = 0;
    std::string m_strTitle;
    void OnDocumentComplete(LPCSTR) override { ++m_nComplete; }
    void OnTitleChange(LPCSTR pszText) override { m_strTitle = pszText; }
    void OnNewWindow2(HWND* phWndTarget, BOOL* pbCancel) override
    {
        ++m_nNewWindow;
        *phWndTarget = m_hTarget;
        *pbCancel = m_bRefuse;
    }
};

TEST_P(Browser, HtmlViewOpensANewWindowInTheViewItsOwnerNamesOrNowhere)
{
    if (!GetParam())
        GTEST_SKIP() << "the rich-text view runs no script, so no page asks for a window";
    const std::string strTarget = WriteFile("target.html", "<html><head><title>Insider trades</title></head><body>Trades</body></html>");
    const std::string strOpener = WriteFile("opener.html", "<html><head><title>Opener</title></head><body>"
                                                           "<script>window.open('" + strTarget + "');</script></body></html>");
    for (const BOOL bRefuse : {FALSE, TRUE}) {
        CTestHtmlView opener, companion;
        ASSERT_TRUE(opener.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 320, 240), CWnd::FromHandle(m_hOwner), 1));
        ASSERT_TRUE(companion.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(320, 0, 640, 240), CWnd::FromHandle(m_hOwner), 2));
        companion.OnInitialUpdate();
        ASSERT_TRUE(PumpUntil([&] { return companion.m_nComplete == 1; }));
        EXPECT_EQ("about:blank", std::string(companion.GetLocationURL()));
        opener.m_hTarget = companion.GetBrowserWindow();
        opener.m_bRefuse = bRefuse;
        opener.SetFullScreen(TRUE);
        EXPECT_TRUE(opener.GetFullScreen());
        opener.Navigate2(strOpener.c_str());
        ASSERT_TRUE(PumpUntil([&] { return opener.m_nNewWindow == 1; }));
        PumpUntil([&] { return companion.m_nComplete == 2; }, 2000);
        EXPECT_EQ(bRefuse ? "about:blank" : strTarget, std::string(companion.GetLocationURL())) << "refused " << bRefuse;
        EXPECT_EQ(bRefuse ? "about:blank" : "Insider trades", companion.m_strTitle);
        EXPECT_EQ(strOpener, std::string(opener.GetLocationURL()));
        EXPECT_EQ("Opener", std::string(opener.GetLocationName()));
    }
}

TEST_P(Browser, TheRichTextViewShowsAWebAddressAsALinkTheDesktopOpens)
{
    if (GetParam())
        GTEST_SKIP() << "the engine shows the page itself";
    TbRecordShellOpens(TRUE);
    const std::string strUrl = "https://research.example/profile?symbol=A%26B";
    ASSERT_TRUE(WebBrowser_Navigate(m_hBrowser, strUrl.c_str()));
    ASSERT_TRUE(WaitForComplete());
    EXPECT_EQ(strUrl, WebBrowser_GetLocation(m_hBrowser));
    EXPECT_EQ(strUrl, ShownText(m_hBrowser));
    std::string strOpened;
    EXPECT_FALSE(TbTakeShellOpen(&strOpened));
    HWND hText = GetWindow(m_hBrowser, GW_CHILD);
    SendMessageA(hText, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(hText, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump(20);
    ASSERT_TRUE(TbTakeShellOpen(&strOpened));
    EXPECT_EQ(strUrl, strOpened);
    // Written text is no address: a click opens nothing.
    ASSERT_TRUE(WebBrowser_Write(m_hBrowser, "<p>Text</p>", 11));
    ASSERT_TRUE(WaitForReady(m_hBrowser));
    SendMessageA(hText, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump(20);
    EXPECT_FALSE(TbTakeShellOpen(&strOpened));
    TbRecordShellOpens(FALSE);
}

INSTANTIATE_TEST_SUITE_P(Surfaces, Browser, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Engine" : "RichText"; });

}  // namespace
