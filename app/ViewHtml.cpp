#include "app/ViewHtml.h"

#include "app/FormMDIWnd.h"
#include "platform/mfc/FrameWnd.h"

BOOL CViewHtml::Create(LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       UINT nID, CCreateContext* pContext)
{
    if (pParentWnd != nullptr && pParentWnd->m_hWnd != nullptr)
        pParentWnd->ModifyStyle(0, WS_OVERLAPPEDWINDOW);
    if (!CHtmlView::Create(pszClassName, pszWindowName, dwStyle, rect, pParentWnd, nID, pContext))
        return FALSE;
    // The frame does not run a view's initial update: this view runs its own.
    OnInitialUpdate();
    return TRUE;
}

void CViewHtml::OnInitialUpdate()
{
    // No blank page first: the opener names the page at once.
    ShowWindow(SW_SHOW);
    SetSilent(TRUE);
    SetFullScreen(TRUE);
}

BOOL CViewHtml::ShowAddress(LPCSTR pszAddress)
{
    const CString strAddress(pszAddress != nullptr ? pszAddress : "");
    if (strAddress == m_strRequested) {
        // Still on its way, or arrived and not left: the same page, nothing to load again.
        if (m_bOnTheWay || (!m_strArrived.IsEmpty() && GetLocationURL() == m_strArrived))
            return FALSE;
    }
    m_strRequested = strAddress;
    m_strArrived.Empty();
    m_bOnTheWay = TRUE;
    Navigate2(strAddress);
    return TRUE;
}

void CViewHtml::OnNavigateComplete2(LPCSTR pszUrl)
{
    if (m_bOnTheWay) {
        m_bOnTheWay = FALSE;
        m_strArrived = pszUrl != nullptr ? pszUrl : "";
    }
    CHtmlView::OnNavigateComplete2(pszUrl);
}

void CViewHtml::OnNewWindow2(HWND* phWndTarget, BOOL* pbCancel)
{
    CFormMDIWnd* pTarget = m_ppTargetSlot != nullptr ? *m_ppTargetSlot : nullptr;
    CViewHtml* pTargetView = pTarget != nullptr ? dynamic_cast<CViewHtml*>(pTarget->GetView()) : nullptr;
    if (pTargetView == nullptr || pTargetView->GetBrowserWindow() == nullptr) {
        if (pbCancel != nullptr)
            *pbCancel = TRUE;
        return;
    }
    if (phWndTarget != nullptr)
        *phWndTarget = pTargetView->GetBrowserWindow();
    // The page it takes is not one an opener asked for: a later opener's address loads again.
    pTargetView->m_strRequested.Empty();
    pTargetView->m_bOnTheWay = FALSE;
    pTarget->ShowWindow(SW_SHOW);
    pTarget->MDIActivate();
}
