// The preview's MDI frame: a snapshot of the table window's table, the print engine made as the
// print command makes it, and the settings stored back when the frame closes.
#include "framework/print/PreviewWnd.h"

#include "framework/base/SharedGlobals.h"
#include "framework/print/NorvTablePrint.h"
#include "framework/table/Table.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"

BEGIN_MESSAGE_MAP(CPreviewWnd, CMDIChildWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

CPreviewWnd::~CPreviewWnd()
{
    delete m_pPrint;
    delete m_pView;
}

BOOL CPreviewWnd::Create(CTableWindow* pGrid, const char* pszSection, const char* pszCaption, CMDIFrameWnd* pFrame)
{
    CViewTable* pGridView = pGrid ? pGrid->GetView() : nullptr;
    CTable* pTable = pGridView ? pGridView->GetTable() : nullptr;
    m_pView = pTable ? pTable->CreateSnapshotView(3) : nullptr;
    if (!m_pView) {
        delete this;
        return FALSE;
    }
    m_strSection = pszSection;
    CSettingsFile& settingsFile = GetSharedGlobals()->m_settings;
    settingsFile.SetSection(m_strSection);
    m_pPrint = new CNorvTablePrint(m_pView);
    CTablePrintSettings& settings = m_pPrint->GetSettings();
    settings.m_font.CreateFromHandle(pGrid->GetFont());
    settings.Load(settingsFile);
    m_pPrint->GetProperties().CopyFrom(*pGrid);
    CString strName;
    GetSharedGlobals()->GetProductName(strName);
    m_pPrint->SetName(strName);
    m_pPrint->LoadLogo(IDB_PRINT_LOGO);
    m_pPrint->BuildHeaders(m_pView->GetTitle());
    // A frame whose window fails is deleted with it: nothing here touches it after a failure.
    return CMDIChildWnd::Create(nullptr, pszCaption, 0x50C40000, rectDefault, pFrame);
}

int CPreviewWnd::OnCreate(LPCREATESTRUCTA pCreate)
{
    if (CMDIChildWnd::OnCreate(pCreate) == -1)
        return -1;
    if (!m_window.Create(m_pPrint, m_hWnd, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST, nullptr))
        return -1;
    ::ShowWindow(m_window.GetSafeHwnd(), SW_SHOW);
    ::SetFocus(m_window.GetSafeHwnd());
    return 0;
}

void CPreviewWnd::OnSize(UINT nType, int cx, int cy)
{
    CMDIChildWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED && m_window.GetSafeHwnd())
        ::MoveWindow(m_window.GetSafeHwnd(), 0, 0, cx, cy, TRUE);
}

void CPreviewWnd::OnSetFocus(CWnd* pOldWnd)
{
    CMDIChildWnd::OnSetFocus(pOldWnd);
    if (m_window.GetSafeHwnd())
        ::SetFocus(m_window.GetSafeHwnd());
}

void CPreviewWnd::OnDestroy()
{
    if (m_pPrint) {
        CSettingsFile& settingsFile = GetSharedGlobals()->m_settings;
        settingsFile.SetSection(m_strSection);
        m_pPrint->GetSettings().Save(settingsFile);
    }
    CMDIChildWnd::OnDestroy();
}

BOOL CPreviewWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == ID_PREVIEW_CLOSE) {
        SendMessage(WM_CLOSE);
        return TRUE;
    }
    return CMDIChildWnd::OnCommand(wParam, lParam);
}

