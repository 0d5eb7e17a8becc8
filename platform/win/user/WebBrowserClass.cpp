// The "TbWebBrowser" class: the browser control. Its state (the written document, the address
// and title shown, the switches, the ready state) lives in the window record; its surface shows
// the pages and reports their loads, which become the owner's WBN_ notifications here, so both
// surfaces notify alike.
#include <algorithm>
#include <cstring>
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/ControlInternal.h"
#include "platform/win/user/WebEngine.h"

namespace {
ITbWebEngine* s_pEngine = nullptr;      // set once at start-up by the display
BOOL s_bUseEngine = TRUE;

struct TbWebBrowserState : TbClassState {
    std::unique_ptr<ITbWebView> pView;
    std::string strDocument;            // written since the last navigation or Clear (code page)
    std::string strLocation;            // code page, as the owner reads it
    std::string strTitle;
    std::string strStatus;              // the hovered link told last
    DWORD dwOptions = 0;
    int nReadyState = READYSTATE_UNINITIALIZED;
    int nReadyBefore = READYSTATE_UNINITIALIZED;    // what a cancelled navigation goes back to
};

TbWebBrowserState* StateOf(HWND hWnd)
{
    return TbClassStateOf<TbWebBrowserState>(hWnd);
}

TbWebBrowserState* LiveState(HWND hWnd)
{
    return TbFindClassState<TbWebBrowserState>(hWnd);
}

std::string ToUtf8(const std::string& str)
{
    return TbCodePageToUtf8(str, CP_ACP);
}

std::string FromUtf8(const std::string& str)
{
    return TbUtf8ToCodePage(str, CP_ACP);
}

// Sends one notification; the record comes back with the parent's answers. Without a parent
// nothing is sent and nothing is cancelled.
NMWEBBROWSERA Notify(HWND hWnd, UINT uCode, const std::string& strUrl = std::string(),
                     const std::string& strText = std::string(), LONG nProgress = 0, BOOL bTopLevel = TRUE)
{
    NMWEBBROWSERA nm = {};
    nm.hdr = NMHDR{hWnd, static_cast<UINT_PTR>(GetDlgCtrlID(hWnd)), uCode};
    nm.pszUrl = strUrl.c_str();
    nm.pszTargetFrame = "";
    nm.pszHeaders = "";
    nm.pszText = strText.c_str();
    nm.nProgress = nProgress;
    nm.nProgressMax = 100;
    nm.bTopLevel = bTopLevel;
    HWND hParent = GetParent(hWnd);
    if (hParent != nullptr)
        SendMessageA(hParent, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
    nm.pszUrl = nm.pszText = nm.pszTargetFrame = nm.pszHeaders = "";    // the texts were ours
    return nm;
}

// What the surfaces report, turned into notifications. It holds only the window's handle: the
// parent may destroy the browser inside any notification, so each step finds the state anew and
// stops when it is gone.
class CWebBrowserSink : public ITbWebViewSink
{
public:
    explicit CWebBrowserSink(HWND hWnd) : m_hWnd(hWnd) {}
    BOOL OnBeforeNavigate(const std::string& strUrl, BOOL bTopLevel) override
    {
        if (LiveState(m_hWnd) == nullptr)
            return FALSE;
        const NMWEBBROWSERA nm = Notify(m_hWnd, WBN_BEFORENAVIGATE2, FromUtf8(strUrl), std::string(), 0, bTopLevel);
        TbWebBrowserState* pState = LiveState(m_hWnd);
        if (pState == nullptr)
            return FALSE;
        if (nm.bCancel && bTopLevel)
            pState->nReadyState = pState->nReadyBefore;
        return !nm.bCancel;
    }
    void OnLoadStarted(BOOL bWritten) override
    {
        TbWebBrowserState* pState = LiveState(m_hWnd);
        if (pState == nullptr)
            return;
        pState->nReadyState = READYSTATE_LOADING;
        if (!bWritten)
            Notify(m_hWnd, WBN_DOWNLOADBEGIN);
    }
    void OnProgress(int nPercent) override
    {
        if (LiveState(m_hWnd) != nullptr)
            Notify(m_hWnd, WBN_PROGRESSCHANGE, std::string(), std::string(), std::clamp(nPercent, 0, 100));
    }
    void OnLoadFinished(const std::string& strUrl, BOOL bWritten) override
    {
        TbWebBrowserState* pState = LiveState(m_hWnd);
        if (pState == nullptr)
            return;
        if (bWritten) {
            pState->nReadyState = READYSTATE_COMPLETE;
            return;
        }
        pState->strLocation = FromUtf8(strUrl);
        const std::string strLocation = pState->strLocation;
        const UINT codes[] = {WBN_NAVIGATECOMPLETE2, WBN_DOWNLOADCOMPLETE, WBN_DOCUMENTCOMPLETE};
        for (UINT uCode : codes) {
            pState = LiveState(m_hWnd);
            if (pState == nullptr)
                return;
            // The document is complete before its owner hears of it, so that it may write at once.
            if (uCode == WBN_DOCUMENTCOMPLETE)
                pState->nReadyState = READYSTATE_COMPLETE;
            const BOOL bAddress = uCode == WBN_NAVIGATECOMPLETE2 || uCode == WBN_DOCUMENTCOMPLETE;
            Notify(m_hWnd, uCode, bAddress ? strLocation : std::string());
        }
    }
    void OnTitle(const std::string& strTitle) override
    {
        TbWebBrowserState* pState = LiveState(m_hWnd);
        const std::string str = FromUtf8(strTitle);
        if (pState == nullptr || pState->strTitle == str)
            return;
        pState->strTitle = str;
        Notify(m_hWnd, WBN_TITLECHANGE, std::string(), str);
    }
    void OnHoveredLink(const std::string& strUrl) override
    {
        TbWebBrowserState* pState = LiveState(m_hWnd);
        const std::string str = FromUtf8(strUrl);
        if (pState == nullptr || pState->strStatus == str)
            return;
        pState->strStatus = str;
        Notify(m_hWnd, WBN_STATUSTEXTCHANGE, std::string(), str);
    }
    HWND OnNewWindow(const std::string& strUrl) override
    {
        if (LiveState(m_hWnd) == nullptr)
            return nullptr;
        const NMWEBBROWSERA nm = Notify(m_hWnd, WBN_NEWWINDOW2, FromUtf8(strUrl));
        // Only a live browser of ours can take the page.
        if (nm.bCancel || nm.hWndTarget == nullptr || LiveState(nm.hWndTarget) == nullptr)
            return nullptr;
        return nm.hWndTarget;
    }

private:
    HWND m_hWnd;
};

LRESULT CopyOut(const std::string& str, WPARAM cch, LPARAM lParam)
{
    LPSTR psz = reinterpret_cast<LPSTR>(lParam);
    if (psz != nullptr && cch > 0) {
        const size_t n = std::min<size_t>(str.size(), cch - 1);
        memcpy(psz, str.data(), n);
        psz[n] = '\0';
    }
    return static_cast<LRESULT>(str.size());
}

LRESULT OnCreate(HWND hWnd)
{
    TbWebBrowserState* pState = StateOf(hWnd);
    if (pState == nullptr)
        return -1;
    auto pSink = std::make_shared<CWebBrowserSink>(hWnd);
    if (s_bUseEngine && s_pEngine != nullptr)
        pState->pView.reset(s_pEngine->CreateView(hWnd, pSink));
    if (!pState->pView)
        pState->pView.reset(TbCreateFallbackWebView(hWnd, pSink));
    if (!pState->pView)
        return -1;
    pState->pView->SetOptions(pState->dwOptions);
    return 0;
}

LRESULT OnNavigate(HWND hWnd, LPCSTR pszUrl)
{
    TbWebBrowserState* pState = StateOf(hWnd);
    if (pState == nullptr || !pState->pView || pszUrl == nullptr || *pszUrl == '\0')
        return FALSE;
    pState->strDocument.clear();
    pState->nReadyBefore = pState->nReadyState;
    pState->nReadyState = READYSTATE_LOADING;
    pState->pView->Navigate(ToUtf8(pszUrl));
    return TRUE;
}

// The written document replaces whatever page was shown: it lives at "about:blank".
void ShowDocument(TbWebBrowserState* pState)
{
    pState->strLocation = "about:blank";
    pState->nReadyBefore = pState->nReadyState;
    pState->nReadyState = READYSTATE_LOADING;
    pState->pView->ShowHtml(ToUtf8(pState->strDocument));
}

LRESULT OnWrite(HWND hWnd, size_t cb, LPCSTR pszHtml)
{
    TbWebBrowserState* pState = StateOf(hWnd);
    if (pState == nullptr || !pState->pView || (pszHtml == nullptr && cb > 0))
        return FALSE;
    pState->strDocument.append(pszHtml, cb);
    ShowDocument(pState);
    return TRUE;
}

LRESULT OnClear(HWND hWnd)
{
    TbWebBrowserState* pState = StateOf(hWnd);
    if (pState == nullptr || !pState->pView)
        return FALSE;
    pState->strDocument.clear();
    ShowDocument(pState);
    return TRUE;
}

LRESULT OnRefresh(HWND hWnd)
{
    TbWebBrowserState* pState = StateOf(hWnd);
    if (pState == nullptr || !pState->pView)
        return FALSE;
    if (pState->strLocation == "about:blank" || pState->strLocation.empty())
        ShowDocument(pState);
    else
        pState->pView->Reload();
    return TRUE;
}

LRESULT OnSetOptions(HWND hWnd, DWORD dwMask, DWORD dwValues)
{
    TbWebBrowserState* pState = StateOf(hWnd);
    if (pState == nullptr)
        return 0;
    const DWORD dwBefore = pState->dwOptions;
    pState->dwOptions = (dwBefore & ~dwMask) | (dwValues & dwMask);
    if (pState->pView)
        pState->pView->SetOptions(pState->dwOptions);
    return dwBefore;
}

LRESULT OnDestroy(HWND hWnd)
{
    // The surface goes before the window's own surface does.
    if (TbWebBrowserState* pState = LiveState(hWnd))
        pState->pView.reset();
    return 0;
}
}  // namespace

LRESULT CALLBACK TbWebBrowserWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_NCCREATE:        return TbControlNcCreate(hWnd, StateOf(hWnd) != nullptr, wParam, lParam);
    case WM_CREATE:          return OnCreate(hWnd);
    case WM_DESTROY:         return OnDestroy(hWnd);
    case WM_ERASEBKGND:      return 1;      // the surface covers the whole client area
    case WM_SIZE:
        // The rich-text surface is a child window; the engine's follows the window by itself.
        if (HWND hChild = GetWindow(hWnd, GW_CHILD))
            MoveWindow(hChild, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_GETDLGCODE:      return DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WBM_NAVIGATE:       return OnNavigate(hWnd, reinterpret_cast<LPCSTR>(lParam));
    case WBM_GETLOCATION:    return StateOf(hWnd) ? CopyOut(StateOf(hWnd)->strLocation, wParam, lParam) : 0;
    case WBM_GETTITLE:       return StateOf(hWnd) ? CopyOut(StateOf(hWnd)->strTitle, wParam, lParam) : 0;
    case WBM_WRITE:          return OnWrite(hWnd, static_cast<size_t>(wParam), reinterpret_cast<LPCSTR>(lParam));
    case WBM_CLEAR:          return OnClear(hWnd);
    case WBM_REFRESH:        return OnRefresh(hWnd);
    case WBM_GETREADYSTATE:  return StateOf(hWnd) ? StateOf(hWnd)->nReadyState : 0;
    case WBM_SETOPTIONS:     return OnSetOptions(hWnd, static_cast<DWORD>(wParam), static_cast<DWORD>(lParam));
    case WBM_GETOPTIONS:     return StateOf(hWnd) ? StateOf(hWnd)->dwOptions : 0;
    case WBM_HASENGINE:      return StateOf(hWnd) && StateOf(hWnd)->pView ? StateOf(hWnd)->pView->IsEngine() : FALSE;
    case WBM_FALLBACK:
        if (TbWebBrowserState* pState = LiveState(hWnd); pState != nullptr && pState->pView)
            TbFallbackWebViewMessage(pState->pView.get(), wParam);
        return 0;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

static std::string AskText(HWND hWnd, UINT uMsg)
{
    const LRESULT n = SendMessageA(hWnd, uMsg, 0, 0);
    if (n <= 0)
        return std::string();
    std::string str(static_cast<size_t>(n) + 1, '\0');
    SendMessageA(hWnd, uMsg, str.size(), reinterpret_cast<LPARAM>(str.data()));
    str.resize(static_cast<size_t>(n));
    return str;
}

std::string WebBrowser_GetLocation(HWND hWnd)
{
    return AskText(hWnd, WBM_GETLOCATION);
}

std::string WebBrowser_GetTitle(HWND hWnd)
{
    return AskText(hWnd, WBM_GETTITLE);
}

void TbSetWebEngine(ITbWebEngine* pEngine)
{
    s_pEngine = pEngine;
}

ITbWebEngine* TbGetWebEngine()
{
    return s_pEngine;
}

void TbWebBrowserUseEngine(BOOL bUse)
{
    s_bUseEngine = bUse;
}

BOOL TbWebEngineAvailable()
{
    return s_pEngine != nullptr;
}
