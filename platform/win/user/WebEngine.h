#pragma once
// Between the browser control (WebBrowserClass.cpp) and a surface that shows its pages: the
// display's web engine (platform/qt) or the rich-text view of the layer itself. No Qt type here.
// Addresses and texts are UTF-8.
#include <memory>
#include <string>
#include "platform/win/WinTypes.h"
#include "platform/win/user/WebBrowser.h"

// The browser's side: what a surface reports. Calls come from the message loop.
struct ITbWebViewSink {
    virtual ~ITbWebViewSink() = default;
    // A page or a frame is about to load; FALSE keeps what is shown.
    virtual BOOL OnBeforeNavigate(const std::string& strUrl, BOOL bTopLevel) = 0;
    // A navigation's load began, moved on (0 to 100) and ended at strUrl. bWritten: the load of
    // a written document, which raises no navigation event.
    virtual void OnLoadStarted(BOOL bWritten) = 0;
    virtual void OnProgress(int nPercent) = 0;
    virtual void OnLoadFinished(const std::string& strUrl, BOOL bWritten) = 0;
    virtual void OnTitle(const std::string& strTitle) = 0;
    virtual void OnHoveredLink(const std::string& strUrl) = 0;
    // The page asks for a new window for strUrl: the browser window to load it in, or null.
    virtual HWND OnNewWindow(const std::string& strUrl) = 0;
};

// One browser's surface. Loads are asynchronous: their events reach the sink later.
struct ITbWebView {
    virtual ~ITbWebView() = default;
    virtual void Navigate(const std::string& strUrl) = 0;
    // Shows strHtml as the whole document, at "about:blank".
    virtual void ShowHtml(const std::string& strHtml) = 0;
    virtual void Reload() = 0;
    // WBO_ switches, for the next load.
    virtual void SetOptions(DWORD dwOptions) = 0;
    virtual BOOL IsEngine() const = 0;
};

// The display's web engine; absent (null) when the build has none or it cannot start.
struct ITbWebEngine {
    virtual ~ITbWebEngine() = default;
    // The surface of the browser window hWnd (its window surface must exist); null: none.
    virtual ITbWebView* CreateView(HWND hWnd, std::shared_ptr<ITbWebViewSink> pSink) = 0;
};
void TbSetWebEngine(ITbWebEngine* pEngine);
ITbWebEngine* TbGetWebEngine();

// The rich-text surface (WebBrowserFallback.cpp): a rich-text child across hWnd. Its loads go
// through the message loop: it posts WBM_FALLBACK (wParam FALLBACK_LOAD) to hWnd, whose procedure
// hands the message back with TbFallbackWebViewMessage; a click on it sends FALLBACK_CLICK.
ITbWebView* TbCreateFallbackWebView(HWND hWnd, std::shared_ptr<ITbWebViewSink> pSink);
void TbFallbackWebViewMessage(ITbWebView* pView, WPARAM wParam);
#define WBM_FALLBACK   (WBM_FIRST + 0x40)
#define FALLBACK_LOAD  0
#define FALLBACK_CLICK 1

