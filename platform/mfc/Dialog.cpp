// CDialog: creation from templates through the creation hook, the modal run in the layer's
// dialog loop, and the default OK, Cancel and initialisation.
#include "platform/mfc/Dialog.h"
#include "platform/mfc/FrameWnd.h"

#include <algorithm>

#include "platform/win/kernel/Resources.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/WindowObjects.h"

// Centres a top-level dialog over its owner, or over the screen when it has no visible owner, and
// keeps it whole on the screen.
static void CentreDialog(HWND hDlg)
{
    RECT rcDlg = {}, rcOver = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const RECT rcScreen = rcOver;
    GetWindowRect(hDlg, &rcDlg);
    HWND hOwner = GetWindow(hDlg, GW_OWNER);
    if (hOwner != nullptr && IsWindowVisible(hOwner) && !IsIconic(hOwner))
        GetWindowRect(hOwner, &rcOver);
    const int cx = rcDlg.right - rcDlg.left, cy = rcDlg.bottom - rcDlg.top;
    int x = rcOver.left + (rcOver.right - rcOver.left - cx) / 2;
    int y = rcOver.top + (rcOver.bottom - rcOver.top - cy) / 2;
    x = std::max(rcScreen.left, std::min(x, rcScreen.right - cx));
    y = std::max(rcScreen.top, std::min(y, rcScreen.bottom - cy));
    SetWindowPos(hDlg, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The dialog procedure the library gives the dialog manager. Every message already passed the
// object's maps on its way here (the object's procedure sits in front of the dialog class's);
// only the start of the dialog is left, which the manager reports to this procedure alone.
static INT_PTR CALLBACK LibraryDlgProc(HWND hDlg, UINT uMsg, WPARAM, LPARAM)
{
    if (uMsg != WM_INITDIALOG)
        return FALSE;
    auto* pDialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hDlg));
    if (pDialog == nullptr)
        return TRUE;
    RECT rcBefore = {}, rcAfter = {};
    GetWindowRect(hDlg, &rcBefore);
    const BOOL bFocus = pDialog->OnInitDialog();
    // A dialog its initialisation left where the template put it goes to the middle of its owner.
    if (IsWindow(hDlg) && !(GetWindowLongA(hDlg, GWL_STYLE) & (WS_CHILD | WS_VISIBLE)) &&
        GetWindowRect(hDlg, &rcAfter) && EqualRect(&rcBefore, &rcAfter))
        CentreDialog(hDlg);
    return bFocus;
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

CDialog::CDialog(LPCSTR pszTemplateName, CWnd* pParentWnd) : m_pParentWnd(pParentWnd)
{
    if (pszTemplateName == nullptr)
        return;
    if (IS_INTRESOURCE(pszTemplateName))
        m_nIDTemplate = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(pszTemplateName));
    else
        m_strTemplateName = pszTemplateName;
}

LPCSTR CDialog::TemplateName() const
{
    if (m_nIDTemplate != 0)
        return MAKEINTRESOURCEA(m_nIDTemplate);
    return m_strTemplateName.IsEmpty() ? nullptr : static_cast<LPCSTR>(m_strTemplateName);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCSTR pszTemplateName, CWnd* pParentWnd)
{
    if (m_hWnd != nullptr)
        return FALSE;
    if (pszTemplateName != nullptr) {
        m_nIDTemplate = 0;
        m_strTemplateName.Empty();
        if (IS_INTRESOURCE(pszTemplateName))
            m_nIDTemplate = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(pszTemplateName));
        else
            m_strTemplateName = pszTemplateName;
    }
    if (pParentWnd != nullptr)
        m_pParentWnd = pParentWnd;
    LPCSTR pszName = TemplateName();
    if (pszName == nullptr)
        return FALSE;
    return CreateIndirect(TbFindDialogTemplate(TbGetResourceModule(), pszName), m_pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEA pTemplate, CWnd* pParentWnd)
{
    if (m_hWnd != nullptr || pTemplate == nullptr)
        return FALSE;
    if (pParentWnd != nullptr)
        m_pParentWnd = pParentWnd;
    HWND hWndParent = m_pParentWnd != nullptr ? m_pParentWnd->GetSafeHwnd() : nullptr;
    BOOL bAttached = FALSE;
    HWND hWnd = CTbCreationHook<CWnd>::CreateThrough(this, [&] {
        return CreateDialogIndirectParamA(TbGetResourceModule(), pTemplate, hWndParent, &LibraryDlgProc, 0);
    }, &bAttached);
    if (!bAttached) {
        // No window was ever ours, so no WM_NCDESTROY will end the object's creation.
        PostNcDestroy();
        return FALSE;
    }
    return hWnd != nullptr;
}

INT_PTR CDialog::DoModal()
{
    LPCSTR pszName = TemplateName();
    const TBDLGTEMPLATE* pTemplate = pszName ? TbFindDialogTemplate(TbGetResourceModule(), pszName) : nullptr;
    if (pTemplate == nullptr || m_hWnd != nullptr)
        return -1;
    // Without a parent the dialog belongs to the window the person is working in, which the run
    // disables, as a message box would.
    HWND hWndParent = m_pParentWnd != nullptr ? m_pParentWnd->GetSafeHwnd() : ::GetActiveWindow();
    INT_PTR nResult = -1;
    BOOL bAttached = FALSE;
    CTbCreationHook<CWnd>::CreateThrough(this, [&]() -> HWND {
        nResult = DialogBoxIndirectParamA(TbGetResourceModule(), pTemplate, hWndParent, &LibraryDlgProc, 0);
        return nullptr;
    }, &bAttached);
    return nResult;
}

void CDialog::EndDialog(int nResult)
{
    if (m_hWnd != nullptr)
        ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog()
{
    // A failed fill leaves the dialog open on what did fill; the person sees the rest empty.
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    // A modeless dialog's keys (Tab, Enter, Escape, mnemonics) reach the dialog manager from
    // whatever loop runs; a modal run gives them to it itself.
    if (m_hWnd == nullptr || pMsg == nullptr)
        return FALSE;
    const UINT uMsg = pMsg->message;
    const bool bInput = (uMsg >= WM_KEYFIRST && uMsg <= WM_KEYLAST) || (uMsg >= WM_MOUSEFIRST && uMsg <= WM_MOUSELAST);
    if (!bInput || (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)))
        return FALSE;
    // A dialog inside a frame (a form's body) lets the frames' accelerators go first, as a form
    // view does, since the dialog manager takes every key; a control that wants the key keeps it.
    if (uMsg >= WM_KEYFIRST && uMsg <= WM_KEYLAST && (GetStyle() & WS_CHILD) &&
        !(::SendMessageA(pMsg->hwnd, WM_GETDLGCODE, pMsg->wParam, reinterpret_cast<LPARAM>(pMsg)) & DLGC_WANTMESSAGE))
        for (HWND hWnd = ::GetParent(m_hWnd); hWnd != nullptr; hWnd = ::GetParent(hWnd))
            if (auto* pFrame = dynamic_cast<CFrameWnd*>(FromHandlePermanent(hWnd)))
                if (pFrame->PreTranslateMessage(pMsg))
                    return TRUE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

void CDialog::NextDlgCtrl() const
{
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0);
}

void CDialog::PrevDlgCtrl() const
{
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (pWndCtrl != nullptr && pWndCtrl->GetSafeHwnd() != nullptr)
        ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->GetSafeHwnd()), TRUE);
}

void CDialog::SetDefID(UINT nID)
{
    ::SendMessageA(m_hWnd, DM_SETDEFID, nID, 0);
}

DWORD CDialog::GetDefID() const
{
    return static_cast<DWORD>(::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0));
}

void CDialog::MapDialogRect(LPRECT pRect) const
{
    ::MapDialogRect(m_hWnd, pRect);
}
