#pragma once
// The view of a web page frame (CFormHtml): the layer's HTML view made visible and silent, which
// knows the page it was asked for and where the engine took it, and hands the windows the page
// opens to its target frame (for the insider trades and the earnings calendar, their hidden
// companion), or refuses them when it has none. Made with new; it deletes itself with its window.
#include "platform/mfc/HtmlView.h"
#include "platform/mfc/String.h"

class CFormMDIWnd;

class CViewHtml : public CHtmlView
{
public:
    CViewHtml() = default;

    // The parent frame becomes a sizeable window with its boxes, then the view is made and set
    // up (visible, silent, full screen).
    BOOL Create(LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = nullptr) override;
    void OnInitialUpdate() override;

    // Goes to the address unless the page shown is the one it names: the address asked for
    // last, still where the engine's own spelling of it took the view. TRUE when it navigated.
    BOOL ShowAddress(LPCSTR pszAddress);

    // The slot of the frame that takes the pages this one opens in a new window; a slot, not
    // the frame, so that a frame gone leaves nothing dangling. Null: such pages do not open.
    void SetTargetSlot(CFormMDIWnd** ppSlot) { m_ppTargetSlot = ppSlot; }
    CFormMDIWnd** GetTargetSlot() const { return m_ppTargetSlot; }

    void OnNavigateComplete2(LPCSTR pszUrl) override;
    void PostNcDestroy() override { delete this; }
    void OnNewWindow2(HWND* phWndTarget, BOOL* pbCancel) override;

private:
    CFormMDIWnd** m_ppTargetSlot = nullptr;
    CString m_strRequested;     // the address last asked for
    CString m_strArrived;       // the engine's address of it once there; empty while on the way
    BOOL m_bOnTheWay = FALSE;   // the next top-level arrival is the one asked for
};
