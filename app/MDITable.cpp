#include "app/MDITable.h"

#include <algorithm>
#include "app/NorvApp.h"
#include "app/NorvMainFrame.h"
#include "app/TableMDIWnd.h"
#include "framework/base/SharedGlobals.h"
#include "framework/table/ViewTable.h"

CMDITable::~CMDITable()
{
    Destroy();
}

CString CMDITable::GetSectionName(const CViewTable* pView) const
{
    return pView != nullptr ? CString(static_cast<const char*>(pView->GetName())) : m_strName;
}

BOOL CMDITable::CreateTable(UINT nNameId, UINT nTitleId)
{
    m_nNameId = nNameId;
    GetSharedGlobals()->LoadString(m_strName, nNameId);
    if (m_strName.IsEmpty())
        m_strName.Format("%u", nNameId);
    CString strTitle;
    GetSharedGlobals()->LoadString(strTitle, nTitleId);
    m_table.SetName(m_strName);
    CreateColumns();
    if (!m_table.Open())
        return FALSE;
    m_table.SetTitle(strTitle.IsEmpty() ? m_strName : strTitle, 0);
    // Rows come from the server only, and several windows may share them.
    m_table.SetAllowCut(FALSE);
    m_table.SetAllowPaste(FALSE);
    CViewTable* pView = m_table.GetView(0);
    return pView != nullptr && CreateWindowOnView(pView) != nullptr;
}

CTableMDIWnd* CMDITable::CreateWindowOnView(CViewTable* pView)
{
    CTableMDIWnd* pWindow = new CTableMDIWnd(this, pView);
    m_windows.push_back(pWindow);
    CNorvApp* pApp = CNorvApp::Get();
    const CString strClass = pApp != nullptr ? pApp->GetTableWindowClass() : CString();
    CTableMDIWnd* pMain = pView != m_table.GetView(0) ? GetMainWindow() : nullptr;
    if (!pWindow->CreateTableWindow(strClass, pApp != nullptr ? pApp->GetMainFrame() : nullptr, pMain)) {
        // A failed creation has deleted the frame: it leaves the list by its address alone, and
        // a further window's view with it.
        m_windows.erase(std::remove(m_windows.begin(), m_windows.end(), pWindow), m_windows.end());
        if (pView != m_table.GetView(0) && m_table.FindView(pView) > 0)
            m_table.RemoveView(pView);
        return nullptr;
    }
    return pWindow;
}

CViewTable* CMDITable::FindViewByName(LPCSTR pszName) const
{
    for (int i = 0; i < m_table.GetViewCount(); ++i)
        if (m_table.GetView(i)->GetName() == pszName)
            return m_table.GetView(i);
    return nullptr;
}

CTableMDIWnd* CMDITable::GetMainWindow() const
{
    for (CTableMDIWnd* pWindow : m_windows)
        if (pWindow->GetView() == m_table.GetView(0))
            return pWindow;
    return nullptr;
}

CTableMDIWnd* CMDITable::OpenWindow(BOOL bActivate)
{
    if (!CanOpenNewWindow() || GetWindowCount() >= MAX_TABLE_WINDOWS || m_table.GetViewCount() == 0)
        return nullptr;
    // The view's name, "name:n", is what the workspace finds the window by.
    CString strName;
    for (int n = 2; strName.IsEmpty() || FindViewByName(strName) != nullptr; ++n)
        strName.Format("%s:%d", static_cast<LPCSTR>(m_strName), n);
    const int nView = m_table.AddViewCopy(strName, m_table.GetView(0));
    CViewTable* pView = nView >= 0 ? m_table.GetView(nView) : nullptr;
    if (pView == nullptr)
        return nullptr;
    CTableMDIWnd* pWindow = CreateWindowOnView(pView);
    if (pWindow != nullptr) {
        pWindow->ShowWindow(SW_SHOWNORMAL);
        if (bActivate)
            pWindow->MDIActivate();
    }
    return pWindow;
}

void CMDITable::CloseWindow(CTableMDIWnd* pWindow)
{
    if (pWindow == nullptr || pWindow->m_hWnd == nullptr)
        return;
    if (m_windows.size() > 1) {
        pWindow->DestroyWindow();
        return;
    }
    pWindow->ShowWindow(SW_HIDE);
    ActivateNextAfterHiding(pWindow);
}

void CMDITable::CloseAllWindows()
{
    CTableMDIWnd* pMain = GetMainWindow();
    const std::vector<CTableMDIWnd*> windows = m_windows;
    for (CTableMDIWnd* pWindow : windows)
        if (pWindow != pMain && pWindow->m_hWnd != nullptr)
            pWindow->DestroyWindow();
    if (pMain != nullptr && pMain->m_hWnd != nullptr)
        pMain->ShowWindow(SW_HIDE);
}

void CMDITable::RemoveWindow(CTableMDIWnd* pWindow)
{
    m_windows.erase(std::remove(m_windows.begin(), m_windows.end(), pWindow), m_windows.end());
    // A further window's view goes with it; the first view is the table's own.
    CViewTable* pView = pWindow->GetView();
    if (pView != nullptr && pView != m_table.GetView(0) && m_table.FindView(pView) > 0)
        m_table.RemoveView(pView);
}

CTableMDIWnd* CMDITable::FindWindowByView(int nViewIndex) const
{
    CViewTable* pView = nViewIndex >= 0 && nViewIndex < m_table.GetViewCount() ? m_table.GetView(nViewIndex) : nullptr;
    for (CTableMDIWnd* pWindow : m_windows)
        if (pView != nullptr && pWindow->GetView() == pView)
            return pWindow;
    return nullptr;
}

void CMDITable::SaveSettings()
{
    for (CTableMDIWnd* pWindow : m_windows)
        pWindow->SaveSettings();
}

void CMDITable::ReloadHiddenWindows()
{
    for (CTableMDIWnd* pWindow : std::vector<CTableMDIWnd*>(m_windows))
        if (pWindow->m_hWnd != nullptr && !pWindow->IsWindowVisible())
            pWindow->LoadSettings();
}

void CMDITable::Destroy()
{
    while (!m_windows.empty()) {
        CTableMDIWnd* pWindow = m_windows.back();
        if (pWindow->m_hWnd != nullptr)
            pWindow->DestroyWindow();
        else
            m_windows.pop_back();
    }
}

BOOL CMDITable::SetWindowsCharset(BYTE nCharset)
{
    BOOL bAll = TRUE;
    for (CTableMDIWnd* pWindow : m_windows)
        bAll = pWindow->SetFontCharset(nCharset) && bAll;
    return bAll;
}
