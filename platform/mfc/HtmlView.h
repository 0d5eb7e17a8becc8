#pragma once
// A view that shows a web page: a window holding the layer's browser control (child id
// AFX_IDW_PANE_FIRST) across its whole client area. The browser's notifications become the
// virtual On... calls below, which a derived view overrides; the defaults do nothing. The object
// belongs to whoever made it; its window is a child of a frame.
#include "platform/mfc/String.h"
#include "platform/mfc/Wnd.h"
#include "platform/win/user/CommCtrl.h"

class CHtmlView : public CWnd
{
public:
    CHtmlView() = default;

    // Makes the view and its browser; FALSE when either cannot be made.
    BOOL Create(LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = nullptr) override;
    // Called once the view stands in its frame: the place to start the first page. The default
    // shows a blank page.
    virtual void OnInitialUpdate();

    // Pages. Flags, target frame, headers and post data are taken and not used: the engine does
    // not offer them.
    void Navigate2(LPCSTR pszUrl, DWORD dwFlags = 0, LPCSTR pszTargetFrameName = nullptr, LPCSTR pszHeaders = nullptr,
                   LPVOID pvPostData = nullptr, DWORD dwPostDataLen = 0);
    CString GetLocationURL() const;
    CString GetLocationName() const;            // the page's title
    void Refresh();
    int GetReadyState() const;                  // a READYSTATE_ value
    // TRUE: no dialog a script asks for shows.
    void SetSilent(BOOL bSilent);
    BOOL GetSilent() const;
    // The view has no chrome to hide: kept and answered, nothing else.
    void SetFullScreen(BOOL bFullScreen) { m_bFullScreen = bFullScreen; }
    BOOL GetFullScreen() const { return m_bFullScreen; }
    // The browser control itself (null before Create): the target another view's OnNewWindow2
    // answers with.
    HWND GetBrowserWindow() const { return m_hWndBrowser; }

    // The browser's events. Top-level pages only, except OnBeforeNavigate2, which frames raise too.
    virtual void OnBeforeNavigate2(LPCSTR pszUrl, DWORD nFlags, LPCSTR pszTargetFrameName, LPCSTR pszHeaders,
                                   BOOL* pbCancel);
    virtual void OnNavigateComplete2(LPCSTR pszUrl);
    virtual void OnDocumentComplete(LPCSTR pszUrl);
    virtual void OnDownloadBegin();
    virtual void OnDownloadComplete();
    virtual void OnProgressChange(long nProgress, long nProgressMax);
    virtual void OnStatusTextChange(LPCSTR pszText);
    virtual void OnTitleChange(LPCSTR pszText);
    // The page asks for a new window: set *phWndTarget to another view's browser window to open it
    // there, or *pbCancel; with neither nothing opens.
    virtual void OnNewWindow2(HWND* phWndTarget, BOOL* pbCancel);

protected:
    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnBrowserNotify(const NMHDR* pHeader);
    HWND m_hWndBrowser = nullptr;       // our child; destroyed with the view's window
    BOOL m_bFullScreen = FALSE;
};
