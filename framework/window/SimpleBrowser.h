#pragma once
// A browser inside a dialog or window (the news reader's page): a host window holding the
// layer's browser control (child 0xE900) across its client area. It navigates, writes HTML into
// the page once the page is ready, clears and refreshes it, and tells its parent the control's
// events as WM_NOTIFY with a SimpleBrowserNotification (wParam: its own id); the parent's answer
// to SBN_BEFORE_NAVIGATE, when non-zero, keeps the page shown. Events of frames inside the page
// raise no before-navigate, navigate-complete or document-complete notification.
#include <string>
#include "platform/mfc/String.h"
#include "platform/mfc/Wnd.h"
#include "platform/win/user/CommCtrl.h"

#define SIMPLE_BROWSER_CONTROL_ID 0xE900

// The notification codes (NMHDR code).
#define SBN_BEFORE_NAVIGATE     0
#define SBN_DOCUMENT_COMPLETE   1
#define SBN_DOWNLOAD_BEGIN      2
#define SBN_PROGRESS_CHANGE     3
#define SBN_DOWNLOAD_COMPLETE   4
#define SBN_NAVIGATE_COMPLETE   5
#define SBN_STATUS_TEXT_CHANGE  6
#define SBN_TITLE_CHANGE        7
#define SBN_PRINT_TEMPLATE_INSTANTIATION 8    // never sent: the engine has no print templates
#define SBN_PRINT_TEMPLATE_TEARDOWN      9

// Fields an event does not set are empty or 0. The engine tells no post data nor headers.
struct SimpleBrowserNotification
{
    NMHDR hdr;
    CString strUrl;
    CString strFrame;
    const void* pPostData = nullptr;
    int nPostDataSize = 0;
    CString strHeaders;
    int nProgress = 0;
    int nProgressMax = 0;
    CString strText;
};

class SimpleBrowser : public CWnd
{
public:
    SimpleBrowser() = default;

    // The host window with the given style, place, parent and id, its browser (the WBO_ switches
    // of platform/win/user/WebBrowser.h, set before anything loads) and "about:blank" asked
    // for. FALSE, with nothing left made, when the host or the browser cannot be made.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nId, DWORD dwOptions = 0);
    // Takes the place of the dialog's control nId: its rectangle, id, place in the tab order,
    // font and reading direction; the control is destroyed. FALSE when there is no such control.
    BOOL CreateFromControl(CWnd* pParent, UINT nId, DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                           DWORD dwOptions = 0);

    // Loads the address; text waiting to be written is dropped.
    void Navigate(LPCSTR pszUrl);
    // Adds HTML to the page: at once when the page is ready, else once it is. Written text is
    // not written again by a later Write.
    void Write(LPCSTR pszHtml);
    // An empty page; text waiting to be written is dropped.
    void Clear();
    void Refresh();
    BOOL IsReady() const { return m_bReady; }
    // What has been written into the page since it was last emptied or navigated, waiting text
    // included.
    const std::string& GetDocument() const { return m_strDocument; }
    HWND GetBrowserWindow() const { return m_hWndBrowser; }

protected:
    // One call per event: sends the notification to the parent; a derived class may act first.
    // The parent's answer; FALSE without a parent.
    virtual LRESULT OnBrowserEvent(SimpleBrowserNotification& notification);
    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnControlNotify(const NMHDR* pHeader);
    void WritePending();

    HWND m_hWndBrowser = nullptr;       // our child: goes with the host
    BOOL m_bReady = FALSE;              // the top-level page has arrived
    std::string m_strNavigating;        // the address asked for last
    BOOL m_bFresh = TRUE;               // nothing written since the page was emptied or loaded
    std::string m_strPending;           // written while not ready
    std::string m_strDocument;
};
