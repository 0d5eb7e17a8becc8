// The web link on a dialog's static: the link and its dialog's procedures, and what all links of
// the process share.
#include "app/dialogs/HyperLink.h"

#include <strings.h>

#include <cstring>
#include <new>

#include "framework/base/SharedGlobals.h"
#include "platform/mfc/String.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Cursor.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/Messages.h"
#include "platform/win/user/Paint.h"
#include "platform/win/kernel/Shell.h"
#include "platform/win/user/Props.h"
#include "platform/mfc/AfxRes.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/Wnd.h"
#include "platform/win/user/VirtualKeys.h"
#include "platform/win/user/Window.h"

namespace {
// What every link of the process shares: one underlined font and the hand, while a link exists.
struct LinkShared
{
    HFONT hUnderlined = nullptr;
    HCURSOR hHand = nullptr;
    int nLinks = 0;
    ATOM atom = 0;
};
LinkShared s_shared;

// The property that holds a static's link object, and its dialog's procedure before ours.
ATOM LinkAtom()
{
    if (s_shared.atom == 0)
        s_shared.atom = GlobalAddAtomA("_Hyperlink_Object_Pointer_\\{AFEED740-CC6D-47c5-831D-9848FD916EEF}");
    return s_shared.atom;
}

LPCSTR AtomName()
{
    return MAKEINTATOM(LinkAtom());
}

void ShowStatusText(LPCSTR pszText);
}  // namespace

CHyperLink::~CHyperLink()
{
    // A static that outlives its link gets its own procedure back, never a pointer to nothing.
    if (m_hWnd != nullptr && IsWindow(m_hWnd))
        Detach();
    delete[] m_pszUrl;
}

BOOL CHyperLink::SetUrl(LPCSTR pszUrl)
{
    if (pszUrl == nullptr)
        pszUrl = "";
    const size_t nLength = strnlen(pszUrl, HYPERLINK_URL_MAX);
    char* pszCopy = new (std::nothrow) char[nLength + 1];
    if (pszCopy == nullptr)
        return FALSE;
    memcpy(pszCopy, pszUrl, nLength);
    pszCopy[nLength] = '\0';
    delete[] m_pszUrl;
    m_pszUrl = pszCopy;
    return TRUE;
}

BOOL CHyperLink::IsWebAddress(LPCSTR pszUrl)
{
    if (pszUrl == nullptr)
        return FALSE;
    size_t nScheme = 0;
    if (strncasecmp(pszUrl, "http://", 7) == 0)
        nScheme = 7;
    else if (strncasecmp(pszUrl, "https://", 8) == 0)
        nScheme = 8;
    else
        return FALSE;
    // A host must follow; blanks and control characters would let the text say more than an address.
    if (pszUrl[nScheme] == '\0' || pszUrl[nScheme] == '/')
        return FALSE;
    for (const char* p = pszUrl; *p != '\0'; ++p)
        if (static_cast<unsigned char>(*p) <= ' ' || *p == 0x7F)
            return FALSE;
    return TRUE;
}

BOOL CHyperLink::Open()
{
    if (!IsWebAddress(GetUrl()))
        return FALSE;
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.hwnd = m_hWnd != nullptr ? GetParent(m_hWnd) : nullptr;
    info.lpVerb = "open";
    info.lpFile = GetUrl();
    info.nShow = SW_SHOWNORMAL;
    // Whether the browser came up is not told: the link counts as opened either way.
    ShellExecuteExA(&info);
    m_bVisited = TRUE;
    if (m_hWnd != nullptr)
        InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

BOOL CHyperLink::AttachToDlgItem(HWND hDlg, int nId, LPCSTR pszUrl)
{
    HWND hWnd = GetDlgItem(hDlg, nId);
    if (hWnd == nullptr || m_hWnd != nullptr || !SetUrl(pszUrl))
        return FALSE;
    // The dialog colours its links: its own procedure goes under ours once, whatever the number of links.
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hDlg, GWLP_WNDPROC)) != ParentProc) {
        SetPropA(hDlg, AtomName(), reinterpret_cast<HANDLE>(GetWindowLongPtrA(hDlg, GWLP_WNDPROC)));
        SetWindowLongPtrA(hDlg, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ParentProc));
    }
    SetWindowLongA(hWnd, GWL_STYLE, GetWindowLongA(hWnd, GWL_STYLE) | SS_NOTIFY);
    m_hFont = reinterpret_cast<HFONT>(SendMessageA(hWnd, WM_GETFONT, 0, 0));
    if (++s_shared.nLinks == 1) {
        LOGFONTA lf = {};
        GetObjectA(m_hFont != nullptr ? static_cast<HGDIOBJ>(m_hFont) : GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
        lf.lfUnderline = TRUE;
        s_shared.hUnderlined = CreateFontIndirectA(&lf);
        s_shared.hHand = LoadCursorA(nullptr, IDC_HAND);
        if (s_shared.hHand == nullptr)
            s_shared.hHand = LoadCursorA(nullptr, IDC_ARROW);
    }
    m_hWnd = hWnd;
    m_pfnOldProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    SetPropA(hWnd, AtomName(), reinterpret_cast<HANDLE>(this));
    SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkProc));
    return TRUE;
}

LRESULT CALLBACK CHyperLink::ParentProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC pfnOld = reinterpret_cast<WNDPROC>(GetPropA(hWnd, AtomName()));
    if (pfnOld == nullptr)
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    if (uMsg == WM_CTLCOLORSTATIC) {
        LRESULT lBrush = CallWindowProcA(pfnOld, hWnd, uMsg, wParam, lParam);
        const auto* pLink = static_cast<const CHyperLink*>(GetPropA(reinterpret_cast<HWND>(lParam), AtomName()));
        if (pLink != nullptr) {
            // A dialog that leaves the colours alone gets the default ones first, so the link's stays.
            if (lBrush == 0)
                lBrush = DefWindowProcA(hWnd, uMsg, wParam, lParam);
            SetTextColor(reinterpret_cast<HDC>(wParam), pLink->m_bVisited ? HYPERLINK_COLOR_VISITED : HYPERLINK_COLOR);
        }
        return lBrush;
    }
    if (uMsg == WM_DESTROY) {
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnOld));
        RemovePropA(hWnd, AtomName());
    }
    return CallWindowProcA(pfnOld, hWnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK CHyperLink::LinkProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    auto* pLink = static_cast<CHyperLink*>(GetPropA(hWnd, AtomName()));
    if (pLink == nullptr)
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    return pLink->OnMessage(uMsg, wParam, lParam);
}

void CHyperLink::OnMouseMove(LPARAM lParam)
{
    if (!m_bHover) {
        m_bHover = TRUE;
        SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(s_shared.hUnderlined), FALSE);
        InvalidateRect(m_hWnd, nullptr, TRUE);
        OnEnter();
        SetCapture(m_hWnd);
        return;
    }
    // Read unsigned: a point left or above the link is far outside, not inside.
    const UINT x = LOWORD(lParam), y = HIWORD(lParam);
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    if (x >= static_cast<UINT>(rc.right) || y >= static_cast<UINT>(rc.bottom))
        ReleaseCapture();
}

void CHyperLink::DrawFocus()
{
    HWND hParent = GetParent(m_hWnd);
    RECT rc;
    GetWindowRect(m_hWnd, &rc);
    MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    InflateRect(&rc, 1, 1);
    HDC hdc = GetDC(hParent);
    DrawFocusRect(hdc, &rc);
    ReleaseDC(hParent, hdc);
}

void CHyperLink::Detach()
{
    SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnOldProc));
    SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), FALSE);
    if (--s_shared.nLinks < 1) {
        DeleteObject(s_shared.hUnderlined);
        s_shared.hUnderlined = nullptr;
        s_shared.hHand = nullptr;
        s_shared.nLinks = 0;
    }
    RemovePropA(m_hWnd, AtomName());
    m_hWnd = nullptr;
}

LRESULT CHyperLink::OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = m_hWnd;
    WNDPROC pfnOld = m_pfnOldProc;
    switch (uMsg) {
    case WM_SETCURSOR:
        SetCursor(s_shared.hHand);
        return TRUE;
    case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        return 0;
    case WM_CAPTURECHANGED:
        m_bHover = FALSE;
        OnLeave();
        SendMessageA(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), FALSE);
        InvalidateRect(hWnd, nullptr, TRUE);
        return 0;
    case WM_KEYUP:
        if (wParam != VK_SPACE)
            break;
        [[fallthrough]];
    case WM_LBUTTONUP:
        Open();
        return 0;
    case WM_SETFOCUS:
        OnEnter();
        DrawFocus();
        return 0;
    case WM_KILLFOCUS:
        OnLeave();
        DrawFocus();
        return 0;
    case WM_DESTROY:
        Detach();
        break;
    }
    return CallWindowProcA(pfnOld, hWnd, uMsg, wParam, lParam);
}

namespace {
void ShowStatusText(LPCSTR pszText)
{
    // The status bar's message pane belongs to the main frame, which takes the text this way.
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(pszText));
}
}  // namespace

void CHyperlinkControl::OnEnter()
{
    if (GetUrl()[0] == '\0') {
        CString strNone;
        GetSharedGlobals()->LoadString(strNone, 57557);
        SetUrl(strNone);
    }
    ShowStatusText(GetUrl());
}

void CHyperlinkControl::OnLeave()
{
    CString strIdle;
    GetSharedGlobals()->LoadString(strIdle, 57345);
    ShowStatusText(strIdle);
}
