#include "app/NorvMainFrame.h"

#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"

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
