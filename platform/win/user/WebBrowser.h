#pragma once
// The browser control: a child window class ("TbWebBrowser") that shows web pages. Its surface is
// the display's web engine when the build has one and it starts; otherwise the layer's rich-text
// view, where written HTML shows as static text and an http or https address shows as a link the
// desktop's browser opens (ShellExecute "open"). Either way the owner gets the same notifications
// (WM_NOTIFY with an NMWEBBROWSERA), so the code above does not know which surface it has.
// Texts are bytes in the active code page; addresses are ASCII.
#include <string>
#include "platform/win/WinTypes.h"
#include "platform/win/user/CommCtrl.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/Messages.h"

#define WC_WEBBROWSERA "TbWebBrowser"

// The browser's switches (WBM_SETOPTIONS). Each browser has its own; a new one runs scripts and
// loads remote content, and a change applies from the next page on.
#define WBO_NOSCRIPT 0x0001         // no script runs
#define WBO_NOREMOTE 0x0002         // nothing is fetched from the network (the page itself included),
                                    // nor a local file into a page
#define WBO_SILENT   0x0004         // no dialog a script asks for (alert, confirm, prompt) shows

// Where a page is (WBM_GETREADYSTATE).
#define READYSTATE_UNINITIALIZED 0  // nothing asked for yet
#define READYSTATE_LOADING       1
#define READYSTATE_LOADED        2
#define READYSTATE_INTERACTIVE   3
#define READYSTATE_COMPLETE      4

// Messages. Every one answers 0 (FALSE) from a window that is not a browser.
#define WBM_FIRST          0x1800
// lParam: the address (LPCSTR). Starts the navigation and answers TRUE at once; the events follow
// from the message loop. A null or empty address does nothing (FALSE).
#define WBM_NAVIGATE       (WBM_FIRST + 0)
// wParam: the buffer's size, lParam: the buffer (LPSTR). The address of the page shown (a written
// document is at "about:blank"), cut to fit and terminated; answers its full length.
#define WBM_GETLOCATION    (WBM_FIRST + 1)
// wParam: the length in bytes, lParam: the HTML (LPCSTR, need not be terminated). Adds the HTML to
// the open document and shows the whole document; any length. No navigation event fires.
#define WBM_WRITE          (WBM_FIRST + 2)
// Empties the document: a blank page at "about:blank", no navigation event.
#define WBM_CLEAR          (WBM_FIRST + 3)
// Loads the page shown again (a written document is shown again as it stands).
#define WBM_REFRESH        (WBM_FIRST + 4)
// Answers a READYSTATE_ value.
#define WBM_GETREADYSTATE  (WBM_FIRST + 5)
// wParam: the WBO_ bits to change, lParam: their new values. Answers the switches before.
#define WBM_SETOPTIONS     (WBM_FIRST + 6)
#define WBM_GETOPTIONS     (WBM_FIRST + 7)
// Answers TRUE when the surface is the web engine, FALSE for the rich-text view.
#define WBM_HASENGINE      (WBM_FIRST + 8)
// wParam: the buffer's size, lParam: the buffer. The title of the page shown, as WBM_GETLOCATION.
#define WBM_GETTITLE       (WBM_FIRST + 9)

// Notifications to the parent, as WM_NOTIFY with an NMWEBBROWSERA (idFrom: the browser's id).
// Each is sent from the message loop, never from inside the call that caused it.
#define WBN_FIRST                     (0U - 2100U)
// Before a page or a frame is loaded: pszUrl, bTopLevel. Setting bCancel keeps the page shown.
#define WBN_BEFORENAVIGATE2           (WBN_FIRST - 0)
// The page at pszUrl is there (top level only).
#define WBN_NAVIGATECOMPLETE2         (WBN_FIRST - 1)
// The page at pszUrl and what it holds are loaded (top level only); the ready state is complete.
#define WBN_DOCUMENTCOMPLETE          (WBN_FIRST - 2)
#define WBN_DOWNLOADBEGIN             (WBN_FIRST - 3)
#define WBN_DOWNLOADCOMPLETE          (WBN_FIRST - 4)
// nProgress of nProgressMax: 0 to 100.
#define WBN_PROGRESSCHANGE            (WBN_FIRST - 5)
// pszText: the address of the link under the pointer, empty when it leaves it.
#define WBN_STATUSTEXTCHANGE          (WBN_FIRST - 6)
// pszText: the page's title.
#define WBN_TITLECHANGE               (WBN_FIRST - 7)
// The page asks for a new window for pszUrl. The parent answers with hWndTarget, a browser of
// its own that then loads the address; with no target, or with bCancel, nothing opens.
#define WBN_NEWWINDOW2                (WBN_FIRST - 8)
// Print templates have no equivalent here: these two are never sent.
#define WBN_PRINTTEMPLATEINSTANTIATION (WBN_FIRST - 9)
#define WBN_PRINTTEMPLATETEARDOWN     (WBN_FIRST - 10)

struct NMWEBBROWSERA {
    NMHDR hdr;
    LPCSTR pszUrl;              // never null: "" when the event has no address
    LPCSTR pszTargetFrame;      // "" (the engine does not tell)
    LPCSTR pszHeaders;          // "" (the engine does not tell)
    const void* pPostData;      // null (the engine does not tell)
    DWORD cbPostData;           // 0
    LPCSTR pszText;             // status text or title; "" for other events
    LONG nProgress;
    LONG nProgressMax;
    BOOL bTopLevel;             // the page itself, not one of its frames
    BOOL bCancel;               // the parent's answer to WBN_BEFORENAVIGATE2 and WBN_NEWWINDOW2
    HWND hWndTarget;            // the parent's answer to WBN_NEWWINDOW2
};
typedef NMWEBBROWSERA* LPNMWEBBROWSERA;

// The class is registered with the standard controls (TbRegisterControlClasses).

// The wrappers of the messages above.
inline BOOL WebBrowser_Navigate(HWND hWnd, LPCSTR pszUrl)
{
    return static_cast<BOOL>(SendMessageA(hWnd, WBM_NAVIGATE, 0, reinterpret_cast<LPARAM>(pszUrl)));
}
std::string WebBrowser_GetLocation(HWND hWnd);
std::string WebBrowser_GetTitle(HWND hWnd);
inline BOOL WebBrowser_Write(HWND hWnd, LPCSTR pszHtml, size_t cb)
{
    return static_cast<BOOL>(SendMessageA(hWnd, WBM_WRITE, static_cast<WPARAM>(cb), reinterpret_cast<LPARAM>(pszHtml)));
}
inline BOOL WebBrowser_Clear(HWND hWnd) { return static_cast<BOOL>(SendMessageA(hWnd, WBM_CLEAR, 0, 0)); }
inline BOOL WebBrowser_Refresh(HWND hWnd) { return static_cast<BOOL>(SendMessageA(hWnd, WBM_REFRESH, 0, 0)); }
inline int WebBrowser_GetReadyState(HWND hWnd) { return static_cast<int>(SendMessageA(hWnd, WBM_GETREADYSTATE, 0, 0)); }
inline DWORD WebBrowser_SetOptions(HWND hWnd, DWORD dwMask, DWORD dwValues)
{
    return static_cast<DWORD>(SendMessageA(hWnd, WBM_SETOPTIONS, dwMask, static_cast<LPARAM>(dwValues)));
}
inline DWORD WebBrowser_GetOptions(HWND hWnd) { return static_cast<DWORD>(SendMessageA(hWnd, WBM_GETOPTIONS, 0, 0)); }
inline BOOL WebBrowser_HasEngine(HWND hWnd) { return static_cast<BOOL>(SendMessageA(hWnd, WBM_HASENGINE, 0, 0)); }

// Whether browsers made from now on stand on the web engine (TRUE, the default, when the display
// has one) or on the rich-text view; for tests that run each case on both surfaces.
void TbWebBrowserUseEngine(BOOL bUse);
// TRUE when the display offers a web engine that started.
BOOL TbWebEngineAvailable();
