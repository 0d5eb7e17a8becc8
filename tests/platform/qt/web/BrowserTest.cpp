// The browser control on each of its surfaces (the web engine and the rich-text view): loads and
// their notifications, cancelling, written documents of any size and language, the switches for
// scripts and remote loading, new windows and page dialogs through CHtmlView, keys and pointer,
// the rich-text view's address link, and the engine that cannot start.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#ifdef TB_HAVE_WEB_ENGINE
#include <QtWebEngineCore/QWebEnginePage>
#include <QtWebEngineWidgets/QWebEngineView>
#endif
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>
#include <algorithm>
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
#include "platform/win/gdi/PixelBuffer.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Shell.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/TestAnswers.h"
#include "platform/win/user/VirtualKeys.h"
#include "platform/win/user/WebBrowser.h"
#include "platform/win/user/Window.h"

namespace {

struct Event {
    UINT uCode;
    std::string strUrl, strText;
    BOOL bTopLevel;
    LONG nProgress;
};

// The owner of the browsers under test: it records every notification and answers the two that
// ask, as the test says.
struct Owner {
    std::vector<Event> events;
    std::function<BOOL(const std::string&)> cancelNavigation = [](const std::string&) { return FALSE; };
    HWND hNewWindowTarget = nullptr;
    BOOL bRefuseNewWindow = FALSE;
    UINT uDestroyOn = 0;            // the notification the owner destroys the browser in
};
Owner* g_pOwner = nullptr;

LRESULT CALLBACK OwnerProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NOTIFY && g_pOwner != nullptr) {
        NMWEBBROWSERA* pNm = reinterpret_cast<NMWEBBROWSERA*>(lParam);
        g_pOwner->events.push_back({pNm->hdr.code, pNm->pszUrl, pNm->pszText, pNm->bTopLevel, pNm->nProgress});
        if (pNm->hdr.code == WBN_BEFORENAVIGATE2)
            pNm->bCancel = g_pOwner->cancelNavigation(pNm->pszUrl);
        if (pNm->hdr.code == WBN_NEWWINDOW2) {
            pNm->hWndTarget = g_pOwner->hNewWindowTarget;
            pNm->bCancel = g_pOwner->bRefuseNewWindow;
        }
        if (pNm->hdr.code == g_pOwner->uDestroyOn)
            DestroyWindow(pNm->hdr.hwndFrom);
        return 0;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

// The keys that come out of the queue, where a frame would translate its accelerators.
std::vector<MSG> g_keys;

// Runs the queue until the condition holds or the time is up; TRUE when it held. The bound is
// generous: the engine under the sanitizers on a loaded machine takes many seconds to lay out.
BOOL PumpUntil(const std::function<bool()>& done, int nMs = 60000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(nMs);
    const UINT_PTR nTimer = SetTimer(nullptr, 0, 10, nullptr);
    MSG msg;
    while (!done() && std::chrono::steady_clock::now() < end && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYDOWN || msg.message == WM_CHAR)
            g_keys.push_back(msg);
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
        return TbUtf8ToCodePage(str, CP_ACP);
    }
#endif
    HWND hText = GetWindow(hBrowser, GW_CHILD);
    std::string str(static_cast<size_t>(GetWindowTextLengthA(hText)) + 1, '\0');
    str.resize(static_cast<size_t>(GetWindowTextA(hText, str.data(), static_cast<int>(str.size()))));
    return str;
}

std::string ScreenshotPath(const char* pszName)
{
    const std::string strDir = std::string(TB_BINARY_DIR) + "/screenshots";
    mkdir(strDir.c_str(), 0755);
    return strDir + "/" + pszName + ".png";
}

std::string WriteFile(const std::string& strName, const std::string& strText)
{
    const std::string strPath = std::string(TB_BINARY_DIR) + "/webtest-" + strName;
    FILE* pFile = fopen(strPath.c_str(), "wb");
    fwrite(strText.data(), 1, strText.size(), pFile);
    fclose(pFile);
    return "file://" + strPath;
}

// A loopback listener that only counts the connections made to it, closing each at once so that
// a page waiting for an answer gives up.
struct CLoopbackCounter {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    int nPort = 0, nAccepted = 0;
    CLoopbackCounter()
    {
        sockaddr_in addr = {AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t cb = sizeof addr;
        bind(fd, reinterpret_cast<sockaddr*>(&addr), cb);
        listen(fd, 8);
        fcntl(fd, F_SETFL, O_NONBLOCK);
        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &cb);
        nPort = ntohs(addr.sin_port);
    }
    ~CLoopbackCounter() { close(fd); }
    int Count()
    {
        for (int fdIn; (fdIn = accept(fd, nullptr, nullptr)) >= 0; ++nAccepted)
            close(fdIn);
        return nAccepted;
    }
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
    BOOL WaitForComplete()
    {
        return PumpUntil([&] { return Count(WBN_DOCUMENTCOMPLETE) > 0; });
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
    // Progress climbs from 0 to 100 before the page is complete.
    std::vector<LONG> progress;
    for (const Event& e : m_owner.events) {
        if (e.uCode == WBN_DOCUMENTCOMPLETE || e.uCode == WBN_NAVIGATECOMPLETE2) {
            EXPECT_EQ(strPage, e.strUrl);
        }
        if (e.uCode == WBN_PROGRESSCHANGE)
            progress.push_back(e.nProgress);
        if (e.uCode == WBN_DOCUMENTCOMPLETE) {
            ASSERT_FALSE(progress.empty());
            EXPECT_EQ(0, progress.front());
            EXPECT_EQ(100, progress.back());
            EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
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

TEST_P(Browser, AnOwnerMayDestroyTheBrowserInsideAnyNotification)
{
    const std::string strPage = WriteFile("short.html", "<html><head><title>Short</title></head><body>Short</body></html>");
    for (UINT uCode : {WBN_BEFORENAVIGATE2, WBN_DOWNLOADBEGIN, WBN_TITLECHANGE, WBN_NAVIGATECOMPLETE2, WBN_DOCUMENTCOMPLETE}) {
        HWND hBrowser = MakeBrowser(9);
        m_owner.events.clear();
        m_owner.uDestroyOn = uCode;
        ASSERT_TRUE(WebBrowser_Navigate(hBrowser, strPage.c_str()));
        ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hBrowser); }, 5000)) << "code " << uCode;
        const size_t nEvents = m_owner.events.size();
        Pump(200);
        // Nothing more is told once the browser is gone, and its last word was the one it died in.
        EXPECT_EQ(nEvents, m_owner.events.size()) << "code " << uCode;
        EXPECT_EQ(uCode, m_owner.events.back().uCode);
    }
    m_owner.uDestroyOn = 0;
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

TEST_P(Browser, ShowsAStoryInEitherLanguageAndItsPictureInTheWindows)
{
    const struct { UINT uCodePage; const char* pszName; const char* pszDir; const char* pszTitleUtf8; const char* pszTextUtf8; } cases[] = {
        {1252, "en", "ltr", "Quarterly results", "Revenue rose by 12% on higher deposits."},
        {1256, "ar", "rtl", "\xd8\xa7\xd9\x84\xd9\x86\xd8\xaa\xd8\xa7\xd8\xa6\xd8\xac \xd8\xa7\xd9\x84\xd9\x81\xd8\xb5\xd9\x84\xd9\x8a\xd8\xa9",
         "\xd8\xa7\xd8\xb1\xd8\xaa\xd9\x81\xd8\xb9\xd8\xaa \xd8\xa7\xd9\x84\xd8\xa5\xd9\x8a\xd8\xb1\xd8\xa7\xd8\xaf\xd8\xa7\xd8\xaa 12%."},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(TbSetActiveCodePage(c.uCodePage));
        const std::string strTitle = TbUtf8ToCodePage(c.pszTitleUtf8, c.uCodePage);
        const std::string strText = TbUtf8ToCodePage(c.pszTextUtf8, c.uCodePage);
        const std::string strHtml = std::string("<html dir=\"") + c.pszDir + "\"><head><title>" + strTitle +
                                    "</title></head><body style=\"background:#ffffcc\"><h2>" + strTitle + "</h2><p>" + strText +
                                    "</p></body></html>";
        WebBrowser_Clear(m_hBrowser);
        ASSERT_TRUE(WebBrowser_Write(m_hBrowser, strHtml.data(), strHtml.size()));
        ASSERT_TRUE(WaitForReady(m_hBrowser));
        EXPECT_NE(std::string::npos, ShownText(m_hBrowser).find(strText)) << c.pszName;
        const std::string strShot = ScreenshotPath((std::string("browser_story_") + c.pszName + (GetParam() ? "" : "_richtext")).c_str());
        Pump(300);
        ASSERT_TRUE(TbSaveWindowPng(m_hOwner, strShot.c_str()));
        CTbPixelBuffer image;
        ASSERT_TRUE(TbGetImageCodec()->Load(strShot.c_str(), &image, nullptr));
        // The window's picture shows the page the engine drew: its background at the bottom.
        if (GetParam()) {
            EXPECT_EQ(strTitle, WebBrowser_GetTitle(m_hBrowser)) << c.pszName;
            EXPECT_EQ(0xFFFFFFCCu, image.Row(image.Height() - 10)[image.Width() / 2]) << c.pszName;
        }
        // Either way the heading starts at the side its language reads from.
        int xFirst = image.Width(), xLast = -1;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < image.Width() - 20; ++x)
                if ((image.Row(y)[x] & 0xFF) < 0x60) {
                    xFirst = std::min(xFirst, x);
                    xLast = std::max(xLast, x);
                }
        ASSERT_GE(xLast, 0) << c.pszName;
        if (c.uCodePage == 1256)
            EXPECT_GT(xLast, image.Width() - 60) << "right to left: the heading ends at the right edge";
        else
            EXPECT_LT(xFirst, 20) << "left to right: the heading starts at the left edge";
    }
    TbSetActiveCodePage(1252);
}

TEST_P(Browser, SwitchesKeepScriptsFromRunningAndRemoteContentFromBeingFetched)
{
    CLoopbackCounter server;
    const std::string strImage = "http://127.0.0.1:" + std::to_string(server.nPort) + "/logo.png";
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

TEST_P(Browser, HtmlViewAsksAPagesQuestionsInTheLayersMessageBoxUnlessSilent)
{
    if (!GetParam())
        GTEST_SKIP() << "the rich-text view runs no script, so no page asks anything";
    const std::string strPage = WriteFile("confirm.html", "<html><body><script>"
                                                          "document.title = confirm('Leave?') ? 'confirmed' : 'declined';"
                                                          "</script></body></html>");
    const struct { BOOL bSilent; INT_PTR nAnswer; const char* pszTitle; int nLeft; } cases[] = {
        {FALSE, IDOK, "confirmed", 0},
        {FALSE, IDCANCEL, "declined", 0},
        {TRUE, IDOK, "declined", 1},        // no box: the answer stays unused
    };
    for (const auto& c : cases) {
        TbClearTestAnswers();
        TbQueueTestAnswer(TBTESTANSWER{TB_ASK_MESSAGEBOX, c.nAnswer, std::string()});
        CTestHtmlView view;
        ASSERT_TRUE(view.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 320, 240), CWnd::FromHandle(m_hOwner), 1));
        view.SetSilent(c.bSilent);
        EXPECT_EQ(c.bSilent, view.GetSilent());
        view.Navigate2(strPage.c_str());
        EXPECT_TRUE(PumpUntil([&] { return view.m_strTitle == c.pszTitle; }, 5000)) << c.pszTitle << " silent " << c.bSilent;
        EXPECT_EQ(c.nLeft, TbPendingTestAnswers());
    }
    TbClearTestAnswers();
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

// The user's keys and pointer on a page: typing and Tab stay in it, a key it leaves comes out of
// the queue where the frame's accelerators take it, and a link pointed at is the status text.
TEST_P(Browser, KeysAndThePointerWorkThePageAndWhatItLeavesReachesTheFrame)
{
#ifdef TB_HAVE_WEB_ENGINE
    if (!GetParam())
        GTEST_SKIP() << "the rich-text view takes no key and does not follow the pointer";
    const std::string strHtml = "<html><body style=\"margin:0\"><input id=a autofocus oninput=\"document.title = 'typed ' + this.value\">"
                                "<input id=b onfocus=\"document.title = 'second field'\"><a href=\"http://quotes.example/A%26B\" "
                                "style=\"display:block;height:100px\">Quotes</a></body></html>";
    ASSERT_TRUE(WebBrowser_Write(m_hBrowser, strHtml.data(), strHtml.size()));
    ASSERT_TRUE(WaitForReady(m_hBrowser));
    SetFocus(m_hBrowser);
    Pump(100);
    g_keys.clear();
    const struct { int nQtKey; const char* pszText; UINT uVk; const char* pszTitle; } keys[] = {
        {Qt::Key_X, "x", 0, "typed x"},             // typing goes into the field
        {Qt::Key_Tab, "\t", 0, "second field"},     // Tab moves between the page's fields
        {Qt::Key_F2, "", VK_F2, nullptr},           // a key the page leaves reaches the accelerators
    };
    for (const auto& c : keys) {
        QWidget* pTarget = QApplication::focusWidget();
        ASSERT_NE(nullptr, pTarget);
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent key(type, c.nQtKey, Qt::NoModifier, QString::fromLatin1(c.pszText));
            QApplication::sendEvent(pTarget, &key);
        }
        if (c.pszTitle != nullptr) {
            EXPECT_TRUE(PumpUntil([&] { return WebBrowser_GetTitle(m_hBrowser) == c.pszTitle; }, 5000)) << c.pszTitle;
            Pump(100);
            EXPECT_TRUE(g_keys.empty()) << c.pszTitle << ": " << g_keys.size() << " keys came out";
        } else {
            ASSERT_TRUE(PumpUntil([&] { return !g_keys.empty(); }, 5000));
            EXPECT_EQ(m_hBrowser, g_keys[0].hwnd);
            EXPECT_EQ(c.uVk, g_keys[0].wParam);
        }
        g_keys.clear();
    }
    QWidget* pPage = TbQtWidgetOf(m_hBrowser)->findChild<QWebEngineView*>()->focusProxy();
    const struct { int y; const char* pszStatus; } points[] = {{70, "http://quotes.example/A%26B"}, {300, ""}};
    for (const auto& c : points) {
        QMouseEvent move(QEvent::MouseMove, QPointF(40, c.y), pPage->mapToGlobal(QPointF(40, c.y)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(pPage, &move);
        EXPECT_TRUE(PumpUntil([&] {
            return !m_owner.events.empty() && m_owner.events.back().uCode == WBN_STATUSTEXTCHANGE &&
                   m_owner.events.back().strText == c.pszStatus;
        }, 5000)) << "at y " << c.y;
    }
#else
    GTEST_SKIP() << "the rich-text view takes no key and does not follow the pointer";
#endif
}

TEST(BrowserEngine, BrowsersStandOnTheRichTextViewWhenTheEngineCannotStart)
{
    if (!TbInitQtPlatform(nullptr, nullptr) || !TbWebEngineAvailable())
        GTEST_SKIP() << "no web engine in this build";
    // Without its helper program the engine cannot start; the display then offers none.
    setenv("QTWEBENGINEPROCESS_PATH", "/nonexistent/QtWebEngineProcess", 1);
    ASSERT_TRUE(TbInitQtPlatform(nullptr, nullptr));
    EXPECT_FALSE(TbWebEngineAvailable());
    TbRegisterControlClasses();
    HWND hBrowser = CreateWindowExA(0, WC_WEBBROWSERA, "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hBrowser);
    EXPECT_FALSE(WebBrowser_HasEngine(hBrowser));
    DestroyWindow(hBrowser);
    unsetenv("QTWEBENGINEPROCESS_PATH");
    ASSERT_TRUE(TbInitQtPlatform(nullptr, nullptr));
    EXPECT_TRUE(TbWebEngineAvailable());
}

INSTANTIATE_TEST_SUITE_P(Surfaces, Browser, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Engine" : "RichText"; });

}  // namespace
