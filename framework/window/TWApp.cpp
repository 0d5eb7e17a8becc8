// The grid's part of the application object.
#include "framework/window/TWApp.h"

#include <new>

#include "framework/base/NorvGlobals.h"
#include "framework/window/DlgSortCol.h"
#include "framework/window/TBTabControl.h"
#include "framework/window/TableWindow.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/Sound.h"

CTWApp::CTWApp() : m_uClipFormat(RegisterClipboardFormatA("CF_NorvTable")) {}

CTWApp::~CTWApp()
{
    delete m_pSortDlg;
}

CTWApp* CTWApp::Get()
{
    return dynamic_cast<CTWApp*>(GetTBApp());
}

BOOL CTWApp::RegisterWindowClasses()
{
    if (!RegisterTableWindowCtlClass())
        return FALSE;
    return RegisterTabControlClass();
}

void CTWApp::SetTargetWindow(CTableWindow* pWindow)
{
    m_pTarget = pWindow;
    if (m_pSortDlg && m_pSortDlg->m_hWnd)
        m_pSortDlg->SetTarget(pWindow);
}

void CTWApp::OnSysColorChange()
{
    GetNorvGlobals().RecreateFrames();
}

// The filter, fast-find and sort dialogs come with the grid's interaction; until then a request
// is refused the way a dialog that cannot be made is.
void CTWApp::ShowFilterDialog(CTableWindow* pWindow, int nCol)
{
    (void)pWindow;
    (void)nCol;
    if (GetNorvGlobals().m_bBeep)
        MessageBeep(0);
}

void CTWApp::ShowFastFindDialog(CTableWindow* pWindow, int nCol)
{
    ShowFilterDialog(pWindow, nCol);
}

// The dialog is reused while its window exists and made again after the user closed it; one
// that cannot be made beeps and leaves nothing behind.
void CTWApp::ShowSortDialog(CTableWindow* pWindow)
{
    if (m_pSortDlg && m_pSortDlg->m_hWnd) {
        m_pTarget = pWindow;
        m_pSortDlg->SetTarget(pWindow);
    } else {
        delete m_pSortDlg;
        m_pSortDlg = new (std::nothrow) CDlgSortCol;
        if (m_pSortDlg == nullptr || !m_pSortDlg->Create(pWindow)) {
            delete m_pSortDlg;
            m_pSortDlg = nullptr;
            if (GetNorvGlobals().m_bBeep)
                MessageBeep(0);
            return;
        }
        m_pTarget = pWindow;
    }
    ShowWindow(m_pSortDlg->m_hWnd, SW_SHOW);
    UpdateWindow(m_pSortDlg->m_hWnd);
}

void CTWApp::NotifySortChanged(CTableWindow* pWindow)
{
    if (m_pSortDlg && m_pSortDlg->m_hWnd && pWindow && m_pSortDlg->GetTarget() == pWindow)
        m_pSortDlg->Refresh();
}

void CTWApp::OnWindowDestroyed(CTableWindow* pWindow)
{
    if (m_pTarget == pWindow)
        m_pTarget = nullptr;
    if (m_pSortDlg && m_pSortDlg->GetTarget() == pWindow)
        m_pSortDlg->SetTarget(nullptr);
}
