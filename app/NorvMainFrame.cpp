#include "app/NorvMainFrame.h"

#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"
#include "app/FormMDIWnd.h"
#include "app/NorvApp.h"
#include "app/TableMDIWnd.h"
#include "platform/mfc/Menu.h"
#include "platform/win/Windows.h"

#define WINDOW_TITLE_CHARS 100

BEGIN_MESSAGE_MAP(CNorvMainFrame, CMDIFrameWnd)
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

void CNorvMainFrame::SetTitleText(LPCSTR pszTitle)
{
    m_strTitle = pszTitle != nullptr ? pszTitle : "";
    if (m_hWnd != nullptr)
        SetWindowText(m_strTitle);
}

int CNorvMainFrame::NextZOrderIndex()
{
    if (m_nZOrder == 0x7FFF)
        return -1;
    ++m_nZOrder;
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    settings.SetSection(".Z-Order");
    settings.WriteInt("NumTables", m_nZOrder);
    return m_nZOrder - 1;
}

void CNorvMainFrame::SaveFrameSettings()
{
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(&wp);
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    settings.SetSection(".General");
    settings.WriteWindowPlacement("WinPlace", &wp);
    // A workspace saved with fewer windows than the last must not bring the others back.
    ResetZOrder();
    settings.SetSection(".Z-Order");
    settings.WriteInt("NumTables", 0);
}

BOOL CNorvMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (GetNorvGlobals().m_bRightToLeft)
        cs.dwExStyle |= WS_EX_RTLREADING;
    return CMDIFrameWnd::PreCreateWindow(cs);
}

BOOL CNorvMainFrame::CreateClient(LPCREATESTRUCTA pCreate, CMenu* pWindowMenu)
{
    if (!CMDIFrameWnd::CreateClient(pCreate, pWindowMenu))
        return FALSE;
    m_wndClient.SubclassWindow(m_hWndMDIClient);
    return TRUE;
}

void CNorvMainFrame::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    // The second-to-last top-level menu is "Window".
    HMENU hMenu = ::GetMenu(m_hWnd);
    const int nCount = hMenu != nullptr ? GetMenuItemCount(hMenu) : 0;
    if (!bSysMenu && pPopupMenu != nullptr && nCount >= 2 && GetSubMenu(hMenu, nCount - 2) == pPopupMenu->m_hMenu)
        BuildWindowMenu(pPopupMenu->m_hMenu);
    CMDIFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
}

void CNorvMainFrame::BuildWindowMenu(HMENU hPopup)
{
    if (hPopup == nullptr)
        return;
    // The list made last time goes, with the separator before it.
    for (int n = GetMenuItemCount(hPopup); n > 0 && (GetMenuItemID(hPopup, n - 1) & 0xFFFF) >= AFX_IDM_FIRST_MDICHILD;
         n = GetMenuItemCount(hPopup))
        RemoveMenu(hPopup, static_cast<UINT>(n - 1), MF_BYPOSITION);
    const int nLast = GetMenuItemCount(hPopup) - 1;
    if (nLast >= 0 && GetMenuItemID(hPopup, nLast) == 0)
        RemoveMenu(hPopup, static_cast<UINT>(nLast), MF_BYPOSITION);
    CNorvApp* pApp = CNorvApp::Get();
    CMDIChildWnd* pActive = MDIGetActive();
    if (pApp == nullptr || pActive == nullptr || pApp->CountVisibleTableWindows() == 0)
        return;
    AppendMenuA(hPopup, MF_SEPARATOR, 0, nullptr);
    int nNumber = 0;
    for (HWND hChild = ::GetWindow(pActive->m_hWnd, GW_HWNDFIRST); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        CWnd* pChild = CWnd::FromHandlePermanent(hChild);
        if (!::IsWindowVisible(hChild) ||
            (dynamic_cast<CTableMDIWnd*>(pChild) == nullptr && dynamic_cast<CFormMDIWnd*>(pChild) == nullptr))
            continue;
        char szTitle[WINDOW_TITLE_CHARS + 1] = "";
        ::GetWindowTextA(hChild, szTitle, sizeof szTitle);
        ++nNumber;
        char szItem[WINDOW_TITLE_CHARS + 16];
        if (nNumber < 10)
            snprintf(szItem, sizeof szItem, "&%d %s", nNumber, szTitle);
        else
            snprintf(szItem, sizeof szItem, "%d&%d %s", nNumber / 10, nNumber % 10, szTitle);
        const UINT nId = static_cast<UINT>(::GetDlgCtrlID(hChild));
        AppendMenuA(hPopup, MF_STRING | (hChild == pActive->m_hWnd ? MF_CHECKED : 0), nId, szItem);
    }
}

void ActivateNextAfterHiding(CMDIChildWnd* pChild)
{
    CMDIFrameWnd* pFrame = pChild != nullptr ? pChild->GetMDIFrame() : nullptr;
    if (pFrame != nullptr && pFrame->MDIGetActive() == pChild)
        pFrame->MDINext();
}
