// The page of a form on the read-only rich-text view.
#include "framework/window/SimpleBrowser.h"

#include <algorithm>

#include "platform/win/user/Controls.h"

BOOL SimpleBrowser::CreateFromControl(CWnd* pParent, UINT nId)
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
    if (!CreateEx(dwExStyle, WC_RICHVIEWA, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP, rcChild, pParent, nId))
        return FALSE;
    // The view keeps the placeholder's place in the tab order and its font.
    ::SetWindowPos(m_hWnd, hAfter != nullptr ? hAfter : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (hFont != nullptr)
        ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    return TRUE;
}

void SimpleBrowser::Clear()
{
    m_strDocument.clear();
    if (m_hWnd != nullptr)
        ::SetWindowTextA(m_hWnd, "");
}

void SimpleBrowser::Write(LPCSTR pszHtml)
{
    if (pszHtml == nullptr)
        return;
    m_strDocument += pszHtml;
    if (m_hWnd != nullptr)
        ::SetWindowTextA(m_hWnd, m_strDocument.c_str());
}

void SimpleBrowser::Refresh()
{
    if (m_hWnd == nullptr)
        return;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::UpdateWindow(m_hWnd);
}
