#pragma once
// A dialog's static text turned into a web link: blue until opened, purple after, underlined while
// the pointer is over it, opened with a click or the space key. The link object and the dialog's
// own procedure ride on window properties, so the static and its dialog keep working as before.
// CHyperlinkControl also tells the main frame's status bar what the link opens.
#include "platform/win/user/Window.h"

#define HYPERLINK_COLOR         0xFF0000    // COLORREF: blue
#define HYPERLINK_COLOR_VISITED 0x800080    // purple
#define HYPERLINK_URL_MAX       2048        // characters kept of an address

class CHyperLink
{
public:
    CHyperLink() = default;
    virtual ~CHyperLink();
    CHyperLink(const CHyperLink&) = delete;
    CHyperLink& operator=(const CHyperLink&) = delete;

    // Replaces the address (cut to HYPERLINK_URL_MAX characters); FALSE when it cannot be kept.
    BOOL SetUrl(LPCSTR pszUrl);
    LPCSTR GetUrl() const { return m_pszUrl != nullptr ? m_pszUrl : ""; }
    // Turns the dialog's static nId into this link; FALSE when there is no such control or the
    // address cannot be kept.
    BOOL AttachToDlgItem(HWND hDlg, int nId, LPCSTR pszUrl);

    BOOL IsHovering() const { return m_bHover; }
    BOOL IsVisited() const { return m_bVisited; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Opens the address in the web browser. Only "http://" and "https://" addresses are opened:
    // the address may come from the server, and anything else would start whatever program the
    // system connects with it. FALSE when refused.
    BOOL Open();
    static BOOL IsWebAddress(LPCSTR pszUrl);

protected:
    virtual void OnEnter() {}
    virtual void OnLeave() {}

private:
    static LRESULT CALLBACK LinkProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ParentProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnMouseMove(LPARAM lParam);
    void DrawFocus();
    void Detach();

    char* m_pszUrl = nullptr;           // owned
    BOOL m_bHover = FALSE;
    BOOL m_bVisited = FALSE;
    HFONT m_hFont = nullptr;            // the static's own font, put back when the pointer leaves
    WNDPROC m_pfnOldProc = nullptr;     // the static's procedure before ours
    HWND m_hWnd = nullptr;              // the static while attached
};

// A link whose address shows in the main frame's status bar while the pointer is over it.
class CHyperlinkControl : public CHyperLink
{
protected:
    void OnEnter() override;            // an empty address becomes string 57557 first
    void OnLeave() override;            // the idle prompt (string 57345)
};
