// CFrameWnd: its bars and their layout, the prompts in the status bar, command-UI updates of
// its menus and the tips of its bars' buttons.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/mfc/ControlBar.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/kernel/Shell.h"

// ---- bars ----

void CFrameWnd::OnSize(UINT nType, int, int)
{
    Default();
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::RecalcLayout(BOOL)
{
    // A frame without bars keeps the layout its window procedure gave it.
    if (m_listControlBars.empty() || m_bInRecalcLayout || m_hWnd == nullptr)
        return;
    m_bInRecalcLayout = TRUE;
    CRect rc;
    GetClientRect(&rc);
    const std::vector<CControlBar*> bars = m_listControlBars;
    for (CControlBar* pBar : bars) {
        if (!pBar->IsVisible())
            continue;
        const int cy = std::min(pBar->CalcFixedLayout(TRUE, TRUE).cy, std::max(0, rc.Height()));
        if (pBar->m_dwStyle & CBRS_ALIGN_BOTTOM) {
            rc.bottom -= cy;
            pBar->MoveWindow(rc.left, rc.bottom, rc.Width(), cy);
        } else {
            pBar->MoveWindow(rc.left, rc.top, rc.Width(), cy);
            rc.top += cy;
        }
    }
    if (HWND hPane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST))
        ::MoveWindow(hPane, rc.left, rc.top, rc.Width(), std::max(0, rc.Height()), TRUE);
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT)
{
    // The dock bars' ids: top, left, bottom, right.
    static const struct { UINT nID; DWORD dwAlign; } s_docks[] = {
        {0xE81B, CBRS_ALIGN_TOP}, {0xE81C, CBRS_ALIGN_LEFT}, {0xE81D, CBRS_ALIGN_BOTTOM}, {0xE81E, CBRS_ALIGN_RIGHT}};
    if (pBar == nullptr || pBar->m_pDockSite != this)
        return;
    for (const auto& d : s_docks)
        if (d.nID == nDockBarID)
            pBar->m_dwStyle = (pBar->m_dwStyle & ~static_cast<DWORD>(CBRS_ALIGN_ANY)) | d.dwAlign;
    RecalcLayout();
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) const
{
    for (CControlBar* pBar : m_listControlBars)
        if (pBar->m_hWnd != nullptr && static_cast<UINT>(pBar->GetDlgCtrlID()) == nID)
            return pBar;
    return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL)
{
    if (pBar == nullptr || pBar->m_hWnd == nullptr)
        return;
    pBar->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
    RecalcLayout();
}

BOOL CFrameWnd::OnBarCheck(UINT nID)
{
    CControlBar* pBar = GetControlBar(nID);
    if (pBar == nullptr)
        return FALSE;
    ShowControlBar(pBar, !pBar->IsVisible(), FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    if (CControlBar* pBar = GetControlBar(pCmdUI->m_nID)) {
        pCmdUI->SetCheck(pBar->IsVisible() ? 1 : 0);
        return;
    }
    pCmdUI->ContinueRouting();
}

// ---- prompts and menus ----

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const
{
    char szFull[512];
    if (LoadStringA(nullptr, nID, szFull, sizeof szFull) == 0) {
        rMessage.Empty();
        return;
    }
    if (char* pszEnd = std::strchr(szFull, '\n'))
        *pszEnd = '\0';
    rMessage = szFull;
}

CWnd* CFrameWnd::GetMessageBar() const
{
    return m_hWnd ? GetDlgItem(AFX_IDW_STATUS_BAR) : nullptr;
}

void CFrameWnd::SetMessageText(LPCSTR pszText)
{
    SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(pszText ? pszText : ""));
}

void CFrameWnd::SetMessageText(UINT nID)
{
    SendMessage(WM_SETMESSAGESTRING, nID);
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    const UINT nIDLast = m_nIDLastMessage;
    m_nIDLastMessage = static_cast<UINT>(wParam);
    m_nIDTracking = static_cast<UINT>(wParam);
    if (CWnd* pBar = GetMessageBar()) {
        CString strMessage;
        if (lParam != 0)
            strMessage = reinterpret_cast<LPCSTR>(lParam);
        else if (wParam != 0)
            GetMessageString(static_cast<UINT>(wParam), strMessage);
        pBar->SetWindowText(strMessage);
    }
    return nIDLast;
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    if (nFlags == 0xFFFF && hSysMenu == nullptr) {
        // The menu closed: the idle prompt comes back.
        m_nIDTracking = AFX_IDS_IDLEMESSAGE;
        SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
        return;
    }
    if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP)))
        m_nIDTracking = 0;
    else if (nItemID >= 0xF000 && nItemID < 0xF1F0)
        m_nIDTracking = AFX_IDS_SCFIRST + (nItemID - 0xF000) / 16;     // the system commands' prompts
    else if (nItemID >= AFX_IDM_FIRST_MDICHILD)
        m_nIDTracking = AFX_IDS_MDICHILD;
    else
        m_nIDTracking = nItemID;
    if (m_nIDTracking != m_nIDLastMessage)
        SendMessage(WM_SETMESSAGESTRING, m_nIDTracking);
}

void CFrameWnd::OnInitMenuPopup(CMenu* pMenu, UINT, BOOL bSysMenu)
{
    if (bSysMenu || pMenu == nullptr)
        return;
    CCmdUI state;
    state.m_pMenu = pMenu;
    state.m_nIndexMax = pMenu->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = pMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID == 0)
            continue;           // a separator
        if (state.m_nID == static_cast<UINT>(-1)) {
            // A popup item follows the command of its first item, and is never disabled for want of one.
            state.m_pSubMenu = pMenu->GetSubMenu(static_cast<int>(state.m_nIndex));
            if (state.m_pSubMenu == nullptr || (state.m_nID = state.m_pSubMenu->GetMenuItemID(0)) == 0 ||
                state.m_nID == static_cast<UINT>(-1))
                continue;
            state.DoUpdate(this, FALSE);
        } else {
            // System commands and the window list keep their state.
            state.m_pSubMenu = nullptr;
            state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
        }
        // An update handler may have removed or added items: go on after the ones it left.
        const UINT nCount = pMenu->GetMenuItemCount();
        if (nCount < state.m_nIndexMax) {
            // Items removed at the top leave the index before the first item; the loop's step
            // brings it back to 0.
            const UINT nRemoved = state.m_nIndexMax - nCount;
            state.m_nIndex = state.m_nIndex + 1 > nRemoved ? state.m_nIndex - nRemoved : static_cast<UINT>(-1);
            while (state.m_nIndex < nCount && pMenu->GetMenuItemID(static_cast<int>(state.m_nIndex)) == state.m_nID)
                ++state.m_nIndex;
        }
        state.m_nIndexMax = nCount;
    }
}

CControlBar* CFrameWnd::BarOfTip(HWND hWndTip) const
{
    for (CControlBar* pBar : m_listControlBars)
        if (hWndTip != nullptr && reinterpret_cast<HWND>(pBar->SendMessage(TB_GETTOOLTIPS)) == hWndTip)
            return pBar;
    return nullptr;
}

LRESULT CFrameWnd::OnToolTipNotify(WPARAM, LPARAM lParam)
{
    NMHDR* pHeader = reinterpret_cast<NMHDR*>(lParam);
    if (pHeader == nullptr)
        return 0;
    const UINT nID = static_cast<UINT>(pHeader->idFrom);
    if (pHeader->code == TTN_NEEDTEXTA) {
        NMTTDISPINFOA* pInfo = reinterpret_cast<NMTTDISPINFOA*>(pHeader);
        char szFull[512] = "";
        // A bar without CBRS_TOOLTIPS gets no text, so its tip does not show.
        const CControlBar* pBar = BarOfTip(pHeader->hwndFrom);
        if (nID != 0 && (pBar == nullptr || (pBar->GetBarStyle() & CBRS_TOOLTIPS)))
            LoadStringA(nullptr, nID, szFull, sizeof szFull);
        const char* pszTip = std::strchr(szFull, '\n');
        std::snprintf(pInfo->szText, sizeof pInfo->szText, "%s", pszTip ? pszTip + 1 : "");
        pInfo->lpszText = pInfo->szText;
        pInfo->hinst = nullptr;
        return TRUE;
    }
    if (pHeader->code == TTN_SHOW || pHeader->code == TTN_POP) {
        // The prompt follows the tip of a bar that asks for it.
        const CControlBar* pBar = BarOfTip(pHeader->hwndFrom);
        if (pBar != nullptr && (pBar->GetBarStyle() & CBRS_FLYBY))
            SetMessageText(pHeader->code == TTN_SHOW ? nID : static_cast<UINT>(AFX_IDS_IDLEMESSAGE));
        return 0;
    }
    return Default();
}

void CFrameWnd::OnHelp()
{
    WinHelp(0, HELP_CONTEXT);
}

void CFrameWnd::OnHelpFinder()
{
    WinHelp(0, HELP_FINDER);
}

void CFrameWnd::OnContextHelp()
{
    WinHelp(0, HELP_CONTEXT);
}
