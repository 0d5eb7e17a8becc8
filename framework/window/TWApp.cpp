// The grid's part of the application object.
#include "framework/window/TWApp.h"

#include <new>

#include "framework/base/NorvGlobals.h"
#include "framework/window/DlgFastFind.h"
#include "framework/window/DlgFilter.h"
#include "framework/window/DlgSortCol.h"
#include "framework/window/TBTabControl.h"
#include "framework/window/TableWindow.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/Sound.h"

namespace {
void RefuseDialog()
{
    if (GetNorvGlobals().m_bBeep)
        MessageBeep(0);
}

// The grid dialogs' show: the dialog is reused while its window exists and made again when the
// user closed it; one that cannot be made beeps and leaves nothing behind. TRUE when it shows.
template <class TDialog, class... TArgs>
BOOL ShowGridDialog(TDialog*& pDialog, CTableWindow* pWindow, TArgs... args)
{
    if (pDialog != nullptr && pDialog->m_hWnd != nullptr) {
        pDialog->SetTarget(pWindow, args...);
    } else {
        delete pDialog;
        pDialog = new (std::nothrow) TDialog;
        if (pDialog == nullptr) {
            RefuseDialog();
            return FALSE;
        }
        if (!pDialog->Create(pWindow, args...)) {
            RefuseDialog();
            delete pDialog;
            pDialog = nullptr;
            return FALSE;
        }
    }
    ShowWindow(pDialog->m_hWnd, SW_SHOW);
    UpdateWindow(pDialog->m_hWnd);
    return TRUE;
}

// pOld null: every open dialog serves pNew. Otherwise every dialog serving pOld, open or closed
// by the user, serves pNew: a closed one is deleted only on the next request and must not keep
// a grid (or a copy of its view's filters) that is gone.
template <class TDialog, class... TArgs>
void RetargetGridDialog(TDialog* pDialog, CTableWindow* pOld, CTableWindow* pNew, TArgs... args)
{
    if (pDialog == nullptr)
        return;
    if (pOld == nullptr ? pDialog->m_hWnd != nullptr : pDialog->GetTarget() == pOld)
        pDialog->SetTarget(pNew, args...);
}
}  // namespace

CTWApp::CTWApp() : m_uClipFormat(RegisterClipboardFormatA("CF_NorvTable")) {}

CTWApp::~CTWApp()
{
    // Their destructors destroy their windows.
    delete m_pSortDlg;
    m_pSortDlg = nullptr;
    delete m_pFilterDlg;
    m_pFilterDlg = nullptr;
    delete m_pFastFindDlg;
    m_pFastFindDlg = nullptr;
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
    RetargetDialogs(nullptr, pWindow);
}

void CTWApp::OnSysColorChange()
{
    GetNorvGlobals().RecreateFrames();
}

void CTWApp::ShowFilterDialog(CTableWindow* pWindow, int nCol)
{
    if (ShowGridDialog(m_pFilterDlg, pWindow, nCol))
        m_pTarget = pWindow;
}

void CTWApp::ShowFastFindDialog(CTableWindow* pWindow, int nCol)
{
    if (ShowGridDialog(m_pFastFindDlg, pWindow, nCol))
        m_pTarget = pWindow;
}

void CTWApp::ShowSortDialog(CTableWindow* pWindow)
{
    if (ShowGridDialog(m_pSortDlg, pWindow))
        m_pTarget = pWindow;
}

void CTWApp::NotifySortChanged(CTableWindow* pWindow)
{
    if (m_pSortDlg && m_pSortDlg->m_hWnd && pWindow && m_pSortDlg->GetTarget() == pWindow)
        m_pSortDlg->Refresh();
}

void CTWApp::OnWindowDestroyed(CTableWindow* pWindow)
{
    if (pWindow == nullptr)
        return;
    if (m_pTarget == pWindow)
        m_pTarget = nullptr;
    RetargetDialogs(pWindow, nullptr);
}

void CTWApp::RetargetDialogs(CTableWindow* pOld, CTableWindow* pNew)
{
    RetargetGridDialog(m_pSortDlg, pOld, pNew);
    // Filter and fast find start on the view's first column.
    const int nCol = pNew ? 0 : -1;
    RetargetGridDialog(m_pFilterDlg, pOld, pNew, nCol);
    RetargetGridDialog(m_pFastFindDlg, pOld, pNew, nCol);
}
