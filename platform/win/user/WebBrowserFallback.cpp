// The browser's surface without a web engine: a rich-text view across the browser window.
// Written HTML shows as static text; a local file's page shows the same way; an http or https
// address shows as a link that a click hands to the desktop's browser. No script runs and nothing
// is fetched. The loads report what the engine's would, from the message loop.
#include <strings.h>

#include <cstdio>
#include <cstring>
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Shell.h"
#include "platform/win/user/ControlInternal.h"
#include "platform/win/user/Cursor.h"
#include "platform/win/user/WebEngine.h"

namespace {
const char s_szViewClass[] = "TbWebBrowserText";
const long MAX_FILE_BYTES = 16L * 1024 * 1024;     // a bigger local page is not shown

// The rich-text view, except that a click belongs to the browser: it may open the address shown.
LRESULT CALLBACK TextWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_LBUTTONUP)
        PostMessageA(GetParent(hWnd), WBM_FALLBACK, FALLBACK_CLICK, 0);
    return TbRichViewWndProc(hWnd, uMsg, wParam, lParam);
}

BOOL IsWebAddress(const std::string& strUrl)
{
    return strncasecmp(strUrl.c_str(), "http://", 7) == 0 || strncasecmp(strUrl.c_str(), "https://", 8) == 0;
}

std::string EscapeHtml(const std::string& str)
{
    std::string strOut;
    for (char ch : str) {
        switch (ch) {
        case '&': strOut += "&amp;"; break;
        case '<': strOut += "&lt;"; break;
        case '>': strOut += "&gt;"; break;
        case '"': strOut += "&quot;"; break;
        default:  strOut += ch;
        }
    }
    return strOut;
}

// A local file's text (UTF-8), or nothing for a file that cannot be read.
std::string ReadLocalFile(const std::string& strUrl)
{
    std::string strPath = strUrl.substr(strncasecmp(strUrl.c_str(), "file://", 7) == 0 ? 7 : 0);
    std::string strDecoded;
    for (size_t i = 0; i < strPath.size(); ++i) {
        if (strPath[i] == '%' && i + 2 < strPath.size() && isxdigit(static_cast<unsigned char>(strPath[i + 1])) &&
            isxdigit(static_cast<unsigned char>(strPath[i + 2]))) {
            strDecoded += static_cast<char>(std::stoi(strPath.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            strDecoded += strPath[i];
        }
    }
    std::string strText;
    FILE* pFile = fopen(strDecoded.c_str(), "rb");
    if (pFile == nullptr)
        return strText;
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pFile)) > 0 && static_cast<long>(strText.size()) < MAX_FILE_BYTES)
        strText.append(buf, n);
    fclose(pFile);
    return static_cast<long>(strText.size()) <= MAX_FILE_BYTES ? strText : std::string();
}

// The text of the page's title element; empty without one.
std::string TitleOf(const std::string& strHtml)
{
    const char* p = strcasestr(strHtml.c_str(), "<title");
    const char* pStart = p != nullptr ? strchr(p, '>') : nullptr;
    const char* pEnd = pStart != nullptr ? strcasestr(pStart, "</title") : nullptr;
    if (pEnd == nullptr)
        return std::string();
    std::string str(pStart + 1, pEnd);
    const size_t nFirst = str.find_first_not_of(" \t\r\n");
    return nFirst == std::string::npos ? std::string() : str.substr(nFirst, str.find_last_not_of(" \t\r\n") - nFirst + 1);
}

// TRUE when the page's html or body element reads right to left (dir="rtl").
BOOL ReadsRightToLeft(const std::string& strHtml)
{
    for (const char* pszTag : {"<html", "<body"}) {
        const char* p = strcasestr(strHtml.c_str(), pszTag);
        const char* pEnd = p != nullptr ? strchr(p, '>') : nullptr;
        if (pEnd == nullptr)
            continue;
        const std::string strTag(p, pEnd);
        const char* pDir = strcasestr(strTag.c_str(), "dir=");
        if (pDir != nullptr && strncasecmp(pDir + 4 + (pDir[4] == '"' || pDir[4] == '\'' ? 1 : 0), "rtl", 3) == 0)
            return TRUE;
    }
    return FALSE;
}

class CFallbackWebView : public ITbWebView
{
public:
    CFallbackWebView(HWND hWnd, HWND hText, std::shared_ptr<ITbWebViewSink> pSink)
        : m_hWnd(hWnd), m_hText(hText), m_pSink(std::move(pSink)) {}
    ~CFallbackWebView() override
    {
        if (IsWindow(m_hText))
            DestroyWindow(m_hText);
    }
    void Navigate(const std::string& strUrl) override { Ask(strUrl, FALSE); }
    void ShowHtml(const std::string& strHtml) override { Ask(strHtml, TRUE); }
    void Reload() override { Ask(m_strShown, FALSE); }
    void SetOptions(DWORD) override {}     // this view never runs a script nor fetches anything
    BOOL IsEngine() const override { return FALSE; }

    void Load();
    void Click();

private:
    // The latest request wins: one posted message serves it.
    void Ask(const std::string& str, BOOL bWritten)
    {
        m_strAsked = str;
        m_bAskedWritten = bWritten;
        if (!m_bPosted)
            m_bPosted = PostMessageA(m_hWnd, WBM_FALLBACK, FALLBACK_LOAD, 0);
    }
    HWND m_hWnd;
    HWND m_hText;                       // our child, destroyed with us
    std::shared_ptr<ITbWebViewSink> m_pSink;
    std::string m_strAsked;             // an address, or the written document (UTF-8)
    BOOL m_bAskedWritten = FALSE;
    BOOL m_bPosted = FALSE;
    std::string m_strShown;             // the address shown ("about:blank" for a written document)
    std::string m_strLink;              // the web address the page offers to open, or empty
};

void CFallbackWebView::Load()
{
    if (!m_bPosted)
        return;
    m_bPosted = FALSE;
    // The sink may destroy the browser, and with it this view: from here on only locals.
    const std::shared_ptr<ITbWebViewSink> pSink = m_pSink;
    const HWND hWnd = m_hWnd, hText = m_hText;
    const BOOL bWritten = m_bAskedWritten;
    const std::string strUrl = bWritten ? std::string("about:blank") : m_strAsked;
    std::string strHtml = bWritten ? m_strAsked : std::string();
    if (!bWritten && !pSink->OnBeforeNavigate(strUrl, TRUE))
        return;
    if (!IsWindow(hWnd))
        return;
    std::string strLink;
    if (!bWritten) {
        if (IsWebAddress(strUrl)) {
            strLink = strUrl;
            strHtml = "<p><a href=\"" + EscapeHtml(strUrl) + "\">" + EscapeHtml(strUrl) + "</a></p>";
        } else if (strncasecmp(strUrl.c_str(), "file:", 5) == 0 || strUrl[0] == '/') {
            strHtml = ReadLocalFile(strUrl);
        }
    }
    m_strShown = strUrl;
    m_strLink = strLink;
    pSink->OnLoadStarted(bWritten);
    if (!bWritten && IsWindow(hWnd))
        pSink->OnProgress(0);
    if (!IsWindow(hWnd))
        return;
    // Right-to-left text reads so when the browser or the page says it does.
    const DWORD dwRtl = (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_RTLREADING) || ReadsRightToLeft(strHtml) ? WS_EX_RTLREADING : 0;
    SetWindowLongA(hText, GWL_EXSTYLE, (GetWindowLongA(hText, GWL_EXSTYLE) & ~WS_EX_RTLREADING) | dwRtl);
    SetWindowTextA(hText, TbUtf8ToCodePage(strHtml, CP_ACP).c_str());
    // The engine names a page without a title after its address.
    std::string strTitle = TitleOf(strHtml);
    if (strTitle.empty() && !bWritten)
        strTitle = strUrl;
    if (!strTitle.empty())
        pSink->OnTitle(strTitle);
    if (!bWritten && IsWindow(hWnd))
        pSink->OnProgress(100);
    if (IsWindow(hWnd))
        pSink->OnLoadFinished(strUrl, bWritten);
}

void CFallbackWebView::Click()
{
    if (m_strLink.empty())
        return;
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.hwnd = m_hWnd;
    info.lpVerb = "open";
    const std::string strFile = m_strLink;
    info.lpFile = strFile.c_str();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExA(&info);
}
}  // namespace

ITbWebView* TbCreateFallbackWebView(HWND hWnd, std::shared_ptr<ITbWebViewSink> pSink)
{
    WNDCLASSA wc = {};
    if (!GetClassInfoA(nullptr, s_szViewClass, &wc)) {
        wc.style = CS_GLOBALCLASS;
        wc.lpfnWndProc = TextWndProc;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = s_szViewClass;
        RegisterClassA(&wc);
    }
    RECT rc;
    GetClientRect(hWnd, &rc);
    HWND hText = CreateWindowExA(GetWindowLongA(hWnd, GWL_EXSTYLE) & (WS_EX_RTLREADING | WS_EX_LAYOUTRTL), s_szViewClass,
                                 "", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, rc.right, rc.bottom, hWnd, nullptr,
                                 nullptr, nullptr);
    if (hText == nullptr)
        return nullptr;
    return new CFallbackWebView(hWnd, hText, std::move(pSink));
}

void TbFallbackWebViewMessage(ITbWebView* pView, WPARAM wParam)
{
    CFallbackWebView* pFallback = dynamic_cast<CFallbackWebView*>(pView);
    if (pFallback == nullptr)
        return;
    if (wParam == FALLBACK_LOAD)
        pFallback->Load();
    else if (wParam == FALLBACK_CLICK)
        pFallback->Click();
}
