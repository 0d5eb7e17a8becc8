// The browser host: its control's events told to the parent through one table.
#include "framework/window/SimpleBrowser.h"

#include <algorithm>

#include "platform/win/user/Controls.h"
#include "platform/win/user/WebBrowser.h"

namespace {

enum { FIELD_URL = 1, FIELD_FRAME = 2, FIELD_POST = 4, FIELD_HEADERS = 8, FIELD_PROGRESS = 16, FIELD_TEXT = 32 };

// The control's events: the notification each becomes, what it carries, and whether only the
// top-level page raises it.
const struct
{
    UINT nControlCode;
    UINT nCode;
    int nFields;
    BOOL bTopLevelOnly;
} s_events[] = {
    {WBN_BEFORENAVIGATE2, SBN_BEFORE_NAVIGATE, FIELD_URL | FIELD_FRAME | FIELD_POST | FIELD_HEADERS, TRUE},
    {WBN_DOCUMENTCOMPLETE, SBN_DOCUMENT_COMPLETE, FIELD_URL, TRUE},
    {WBN_DOWNLOADBEGIN, SBN_DOWNLOAD_BEGIN, 0, FALSE},
    {WBN_PROGRESSCHANGE, SBN_PROGRESS_CHANGE, FIELD_PROGRESS, FALSE},
    {WBN_DOWNLOADCOMPLETE, SBN_DOWNLOAD_COMPLETE, 0, FALSE},
    {WBN_NAVIGATECOMPLETE2, SBN_NAVIGATE_COMPLETE, FIELD_URL, TRUE},
    {WBN_STATUSTEXTCHANGE, SBN_STATUS_TEXT_CHANGE, FIELD_TEXT, FALSE},
    {WBN_TITLECHANGE, SBN_TITLE_CHANGE, FIELD_TEXT, FALSE},
    {WBN_PRINTTEMPLATEINSTANTIATION, SBN_PRINT_TEMPLATE_INSTANTIATION, 0, FALSE},
    {WBN_PRINTTEMPLATETEARDOWN, SBN_PRINT_TEMPLATE_TEARDOWN, 0, FALSE},
};

}  // namespace

BOOL SimpleBrowser::Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nId, DWORD dwOptions)
{
    // A second Create leaves the browser it has untouched.
    if (m_hWnd != nullptr)
        return FALSE;
    m_bReady = FALSE;
    m_hWndBrowser = nullptr;
    if (!CWnd::CreateEx(0, nullptr, "", dwStyle | WS_CLIPCHILDREN, rect, pParent, nId))
        return FALSE;
    TbRegisterControlClasses();
    CRect rc;
    GetClientRect(&rc);
    m_hWndBrowser = ::CreateWindowExA(0, WC_WEBBROWSERA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, rc.Width(),
                                      rc.Height(), m_hWnd,
                                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(SIMPLE_BROWSER_CONTROL_ID)),
                                      nullptr, nullptr);
    if (m_hWndBrowser == nullptr) {
        DestroyWindow();
        return FALSE;
    }
    WebBrowser_SetOptions(m_hWndBrowser, WBO_NOSCRIPT | WBO_NOREMOTE | WBO_SILENT, dwOptions);
    Navigate("about:blank");
    return TRUE;
}

BOOL SimpleBrowser::CreateFromControl(CWnd* pParent, UINT nId, DWORD dwStyle, DWORD dwOptions)
{
    if (pParent == nullptr || pParent->m_hWnd == nullptr || m_hWnd != nullptr)
        return FALSE;
    HWND hPlaceholder = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nId));
    if (hPlaceholder == nullptr)
        return FALSE;
    RECT rc;
    ::GetWindowRect(hPlaceholder, &rc);
    POINT corners[2] = {{rc.left, rc.top}, {rc.right, rc.bottom}};
    ::ScreenToClient(pParent->m_hWnd, &corners[0]);
    ::ScreenToClient(pParent->m_hWnd, &corners[1]);
    // A mirrored parent gives the corners swapped.
    const RECT rcChild = {std::min(corners[0].x, corners[1].x), corners[0].y, std::max(corners[0].x, corners[1].x), corners[1].y};
    const DWORD dwExStyle = static_cast<DWORD>(::GetWindowLongA(hPlaceholder, GWL_EXSTYLE)) & (WS_EX_RTLREADING | WS_EX_CLIENTEDGE);
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageA(hPlaceholder, WM_GETFONT, 0, 0));
    HWND hAfter = ::GetWindow(hPlaceholder, GW_HWNDPREV);
    ::DestroyWindow(hPlaceholder);
    if (!Create(dwStyle, rcChild, pParent, nId, dwOptions))
        return FALSE;
    if (dwExStyle != 0) {
        ModifyStyleEx(0, dwExStyle, SWP_FRAMECHANGED);
        ::SetWindowLongA(m_hWndBrowser, GWL_EXSTYLE,
                         ::GetWindowLongA(m_hWndBrowser, GWL_EXSTYLE) | static_cast<LONG>(dwExStyle & WS_EX_RTLREADING));
    }
    // The browser keeps the placeholder's place in the tab order and its font.
    ::SetWindowPos(m_hWnd, hAfter != nullptr ? hAfter : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (hFont != nullptr)
        ::SendMessageA(m_hWndBrowser, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    return TRUE;
}

void SimpleBrowser::Navigate(LPCSTR pszUrl)
{
    m_bReady = FALSE;
    m_strPending.clear();
    m_strDocument.clear();
    if (m_hWndBrowser == nullptr || pszUrl == nullptr)
        return;
    m_strNavigating = pszUrl;
    m_bFresh = TRUE;
    WebBrowser_Navigate(m_hWndBrowser, pszUrl);
}

void SimpleBrowser::Write(LPCSTR pszHtml)
{
    if (m_hWndBrowser == nullptr || pszHtml == nullptr)
        return;
    m_strPending += pszHtml;
    m_strDocument += pszHtml;
    WritePending();
}

void SimpleBrowser::WritePending()
{
    if (!m_bReady || m_strPending.empty())
        return;
    // A page that reads right to left says so at its start: a web page takes its direction from
    // its markup, not from its window.
    if (m_bFresh && (GetExStyle() & WS_EX_RTLREADING))
        m_strPending.insert(0, "<body dir=\"rtl\">");
    m_bFresh = FALSE;
    WebBrowser_Write(m_hWndBrowser, m_strPending.data(), m_strPending.size());
    // Written once: the page holds it now, and a second Write adds only its own text.
    m_strPending.clear();
}

void SimpleBrowser::Clear()
{
    if (m_hWndBrowser == nullptr)
        return;
    m_strPending.clear();
    m_strDocument.clear();
    // A page that has arrived is emptied in place; before that, the blank page is asked for,
    // unless it is the page on its way: a second load of it would replace what is written
    // when the first arrives.
    m_bFresh = TRUE;
    if (m_bReady)
        WebBrowser_Clear(m_hWndBrowser);
    else if (m_strNavigating != "about:blank")
        Navigate("about:blank");
}

void SimpleBrowser::Refresh()
{
    // A page on its way shows fresh when it comes; loading it again would drop what waits.
    if (m_hWndBrowser != nullptr && m_bReady)
        WebBrowser_Refresh(m_hWndBrowser);
}

LRESULT SimpleBrowser::OnBrowserEvent(SimpleBrowserNotification& notification)
{
    CWnd* pParent = GetParent();
    if (pParent == nullptr || pParent->m_hWnd == nullptr)
        return FALSE;
    return pParent->SendMessage(WM_NOTIFY, notification.hdr.idFrom, reinterpret_cast<LPARAM>(&notification));
}

LRESULT SimpleBrowser::OnControlNotify(const NMHDR* pHeader)
{
    const auto* pEvent = std::find_if(std::begin(s_events), std::end(s_events),
                                      [pHeader](const auto& event) { return event.nControlCode == pHeader->code; });
    if (pEvent == std::end(s_events))
        return 0;
    auto* pInfo = const_cast<NMWEBBROWSERA*>(reinterpret_cast<const NMWEBBROWSERA*>(pHeader));
    if (pEvent->bTopLevelOnly && !pInfo->bTopLevel)
        return 0;
    if (pEvent->nCode == SBN_NAVIGATE_COMPLETE) {
        m_bReady = TRUE;
        WritePending();
    }
    SimpleBrowserNotification notification;
    notification.hdr.hwndFrom = m_hWnd;
    notification.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    notification.hdr.code = pEvent->nCode;
    if (pEvent->nFields & FIELD_URL)
        notification.strUrl = pInfo->pszUrl;
    if (pEvent->nFields & FIELD_FRAME)
        notification.strFrame = pInfo->pszTargetFrame;
    if (pEvent->nFields & FIELD_HEADERS)
        notification.strHeaders = pInfo->pszHeaders;
    if (pEvent->nFields & FIELD_POST) {
        notification.pPostData = pInfo->pPostData;
        notification.nPostDataSize = static_cast<int>(pInfo->cbPostData);
    }
    if (pEvent->nFields & FIELD_PROGRESS) {
        notification.nProgress = pInfo->nProgress;
        notification.nProgressMax = pInfo->nProgressMax;
    }
    if (pEvent->nFields & FIELD_TEXT)
        notification.strText = pInfo->pszText;
    const LRESULT lAnswer = OnBrowserEvent(notification);
    if (pEvent->nCode == SBN_BEFORE_NAVIGATE && lAnswer != 0)
        pInfo->bCancel = TRUE;
    return 0;
}

LRESULT SimpleBrowser::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_NOTIFY: {
        const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
        if (pHeader != nullptr && pHeader->hwndFrom == m_hWndBrowser && m_hWndBrowser != nullptr)
            return OnControlNotify(pHeader);
        break;
    }
    case WM_SIZE:
        if (m_hWndBrowser != nullptr)
            ::MoveWindow(m_hWndBrowser, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        break;
    case WM_NCDESTROY:
        m_hWndBrowser = nullptr;
        m_strNavigating.clear();
        m_bReady = FALSE;
        m_strPending.clear();
        break;
    }
    return CWnd::WindowProc(uMsg, wParam, lParam);
}
