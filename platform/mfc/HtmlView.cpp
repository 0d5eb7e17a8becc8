// The web page view: its browser child and the notifications turned into virtual calls.
#include "platform/mfc/HtmlView.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/win/user/WebBrowser.h"

BOOL CHtmlView::Create(LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       UINT nID, CCreateContext* pContext)
{
    if (!CWnd::Create(pszClassName, pszWindowName, dwStyle | WS_CLIPCHILDREN, rect, pParentWnd, nID, pContext))
        return FALSE;
    TbRegisterControlClasses();
    CRect rc;
    GetClientRect(&rc);
    m_hWndBrowser = ::CreateWindowExA(0, WC_WEBBROWSERA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, rc.Width(),
                                      rc.Height(), m_hWnd,
                                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)), nullptr,
                                      nullptr);
    if (m_hWndBrowser == nullptr) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

void CHtmlView::OnInitialUpdate()
{
    Navigate2("about:blank");
}

void CHtmlView::Navigate2(LPCSTR pszUrl, DWORD, LPCSTR, LPCSTR, LPVOID, DWORD)
{
    WebBrowser_Navigate(m_hWndBrowser, pszUrl);
}

CString CHtmlView::GetLocationURL() const
{
    return CString(WebBrowser_GetLocation(m_hWndBrowser).c_str());
}

CString CHtmlView::GetLocationName() const
{
    return CString(WebBrowser_GetTitle(m_hWndBrowser).c_str());
}

void CHtmlView::Refresh()
{
    WebBrowser_Refresh(m_hWndBrowser);
}

int CHtmlView::GetReadyState() const
{
    return WebBrowser_GetReadyState(m_hWndBrowser);
}

void CHtmlView::SetSilent(BOOL bSilent)
{
    WebBrowser_SetOptions(m_hWndBrowser, WBO_SILENT, bSilent ? WBO_SILENT : 0);
}

BOOL CHtmlView::GetSilent() const
{
    return (WebBrowser_GetOptions(m_hWndBrowser) & WBO_SILENT) != 0;
}

void CHtmlView::OnBeforeNavigate2(LPCSTR, DWORD, LPCSTR, LPCSTR, BOOL*) {}
void CHtmlView::OnNavigateComplete2(LPCSTR) {}
void CHtmlView::OnDocumentComplete(LPCSTR) {}
void CHtmlView::OnDownloadBegin() {}
void CHtmlView::OnDownloadComplete() {}
void CHtmlView::OnProgressChange(long, long) {}
void CHtmlView::OnStatusTextChange(LPCSTR) {}
void CHtmlView::OnTitleChange(LPCSTR) {}
void CHtmlView::OnNewWindow2(HWND*, BOOL*) {}

LRESULT CHtmlView::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_NOTIFY: {
        const NMHDR* pHeader = reinterpret_cast<const NMHDR*>(lParam);
        if (pHeader != nullptr && pHeader->hwndFrom == m_hWndBrowser && m_hWndBrowser != nullptr)
            return OnBrowserNotify(pHeader);
        break;
    }
    case WM_SIZE:
        // The browser fills the view.
        if (m_hWndBrowser != nullptr)
            ::MoveWindow(m_hWndBrowser, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        break;
    case WM_SETFOCUS:
        if (m_hWndBrowser != nullptr) {
            ::SetFocus(m_hWndBrowser);
            return 0;
        }
        break;
    case WM_NCDESTROY:
        m_hWndBrowser = nullptr;
        break;
    }
    return CWnd::WindowProc(uMsg, wParam, lParam);
}

LRESULT CHtmlView::OnBrowserNotify(const NMHDR* pHeader)
{
    // NMWEBBROWSERA is the record of every browser notification; its fields are never null.
    NMWEBBROWSERA* pNm = reinterpret_cast<NMWEBBROWSERA*>(const_cast<NMHDR*>(pHeader));
    switch (pHeader->code) {
    case WBN_BEFORENAVIGATE2:    OnBeforeNavigate2(pNm->pszUrl, 0, pNm->pszTargetFrame, pNm->pszHeaders, &pNm->bCancel); break;
    case WBN_NAVIGATECOMPLETE2:  OnNavigateComplete2(pNm->pszUrl); break;
    case WBN_DOCUMENTCOMPLETE:   OnDocumentComplete(pNm->pszUrl); break;
    case WBN_DOWNLOADBEGIN:      OnDownloadBegin(); break;
    case WBN_DOWNLOADCOMPLETE:   OnDownloadComplete(); break;
    case WBN_PROGRESSCHANGE:     OnProgressChange(pNm->nProgress, pNm->nProgressMax); break;
    case WBN_STATUSTEXTCHANGE:   OnStatusTextChange(pNm->pszText); break;
    case WBN_TITLECHANGE:        OnTitleChange(pNm->pszText); break;
    case WBN_NEWWINDOW2:         OnNewWindow2(&pNm->hWndTarget, &pNm->bCancel); break;
    }
    return 0;
}
