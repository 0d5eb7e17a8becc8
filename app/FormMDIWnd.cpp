#include "app/FormMDIWnd.h"
#include "app/WindowPicture.h"

#include <algorithm>

#include "app/NorvApp.h"
#include "app/NorvMainFrame.h"
#include "app/RestoredPlacement.h"
#include "app/TableMDIWnd.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"
#include "platform/win/Windows.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/Dialogs.h"
#include "platform/mfc/View.h"

#define FORM_FRAME_STYLE 0x40C80000     // child, caption, system menu
#define FORM_VIEW_STYLE (WS_CHILD | WS_VISIBLE | WS_BORDER)
#define CHART_FIRST_CX 640              // a chart frame's size before it has a saved place
#define CHART_FIRST_CY 480
#define FORM_FIRST_X 20                 // a form's distance from the client's side before it has a saved place
#define FORM_UNPLACED (-32768)          // no saved place read

namespace {

CSettingsFile& Settings()
{
    return GetSharedGlobals()->m_settings;
}

WINDOWPLACEMENT CurrentPlacement(const CWnd* pWnd)
{
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    pWnd->GetWindowPlacement(&wp);
    return wp;
}

// The placement of a long-lived frame: hidden ones are marked so, to stay hidden when read back.
void WritePlacement(CWnd* pWnd, LPCSTR pszSection)
{
    WINDOWPLACEMENT wp = CurrentPlacement(pWnd);
    if (!pWnd->IsWindowVisible())
        wp.showCmd = SW_SAVED_HIDDEN;
    Settings().SetSection(pszSection);
    Settings().WriteWindowPlacement("WinPlace", &wp);
}

// Applies a placement read back: a hidden frame stays hidden, anything else shows normal.
void ApplyPlacement(CWnd* pWnd, WINDOWPLACEMENT wp)
{
    wp.showCmd = wp.showCmd == SW_SAVED_HIDDEN ? SW_HIDE : SW_SHOWNORMAL;
    MakePlacementReachable(pWnd->m_hWnd, &wp);
    pWnd->SetWindowPlacement(&wp);
    pWnd->ShowWindow(wp.showCmd);
}

// A form keeps its size: only its top-left corner comes from the file.
void MoveReachable(CWnd* pWnd, int x, int y)
{
    CRect rcWindow;
    pWnd->GetWindowRect(&rcWindow);
    const RECT rc = ReachableChildRect(::GetParent(pWnd->m_hWnd), RECT{x, y, x + rcWindow.Width(), y + rcWindow.Height()});
    pWnd->SetWindowPos(nullptr, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The first corner from pt, a caption's height down and on at a time, where no other shown
// window of the MDI client stands; with bFromRight pt.x counts the top-right corner from the
// client's right, as a right-to-left interface reads.
POINT FreeCorner(HWND hClient, HWND hSelf, POINT pt, BOOL bFromRight)
{
    RECT rcArea{};
    ::GetClientRect(hClient, &rcArea);
    const int nStep = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    for (BOOL bTaken = TRUE; bTaken && hClient != nullptr;) {
        bTaken = FALSE;
        for (HWND h = ::GetWindow(hClient, GW_CHILD); h != nullptr && !bTaken; h = ::GetWindow(h, GW_HWNDNEXT)) {
            RECT rc;
            if (h == hSelf || !::IsWindowVisible(h) || ::IsIconic(h) || !::GetWindowRect(h, &rc))
                continue;
            ::MapWindowPoints(nullptr, hClient, reinterpret_cast<POINT*>(&rc), 2);
            bTaken = (bFromRight ? rcArea.right - rc.right : rc.left) == pt.x && rc.top == pt.y;
        }
        if (bTaken) {
            pt.x += nStep;
            pt.y += nStep;
        }
    }
    return pt;
}

HWND MdiClient()
{
    CNorvApp* pApp = CNorvApp::Get();
    CMDIFrameWnd* pFrame = pApp != nullptr ? pApp->GetMainFrame() : nullptr;
    return pFrame != nullptr ? pFrame->m_hWndMDIClient : nullptr;
}

}  // namespace

BEGIN_MESSAGE_MAP(CFormMDIWnd, CMDIChildWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_GETMINMAXINFO()
    ON_WM_SYSCOMMAND()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_COMMAND(ID_EDIT_COPY_PICTURE, OnCopyPicture)
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CHidingFormWnd, CFormMDIWnd)
    ON_WM_CLOSE()
    ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

CFormMDIWnd::~CFormMDIWnd()
{
    if (m_ppSlot != nullptr && *m_ppSlot == this)
        *m_ppSlot = nullptr;
}

BOOL CFormMDIWnd::CreateForm(UINT nTemplateId, CWnd* pView, CFormMDIWnd** ppSlot)
{
    m_nTemplateId = nTemplateId;
    m_pView = pView;
    m_ppSlot = ppSlot;
    CNorvApp* pApp = CNorvApp::Get();
    CMDIFrameWnd* pFrame = pApp != nullptr ? pApp->GetMainFrame() : nullptr;
    if (!Create(nullptr, "", FORM_FRAME_STYLE, CRect(10, 10, 1000, 1000), pFrame))
        return FALSE;
    LoadSettings(&Settings());
    return TRUE;
}

int CFormMDIWnd::OnCreate(LPCREATESTRUCTA pCreate)
{
    if (CMDIChildWnd::OnCreate(pCreate) == -1)
        return -1;
    if (m_pView == nullptr)
        return 0;
    if (!m_pView->Create(nullptr, "", FORM_VIEW_STYLE, CRect(0, 0, 0, 0), this, m_nTemplateId)) {
        // A view that failed has gone with its window (it deletes itself): the frame stays empty.
        m_pView = nullptr;
        return 0;
    }
    CString strTitle;
    GetSharedGlobals()->LoadString(strTitle, m_nTemplateId);
    SetWindowText(strTitle);
    ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
    RecalcLayout();
    if (!IsPageView()) {
        // The frame fits the form exactly.
        CRect rcView, rcWindow, rcClient;
        m_pView->GetWindowRect(&rcView);
        GetWindowRect(&rcWindow);
        GetClientRect(&rcClient);
        if (rcView.Width() > 0 && rcView.Height() > 0)
            SetWindowPos(nullptr, 0, 0, rcView.Width() + rcWindow.Width() - rcClient.Width(),
                         rcView.Height() + rcWindow.Height() - rcClient.Height(),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Never placed, a form stands near the client's top left, or its top right where the
    // interface reads right to left.
    POINT pt{FORM_FIRST_X, 20};
    Settings().SetSection(".General");
    Settings().GetWindowPos(&pt, static_cast<LPCSTR>(strTitle), POINT{FORM_UNPLACED, 20});
    if (pt.x == FORM_UNPLACED) {
        CRect rcArea, rcWindow;
        ::GetClientRect(::GetParent(m_hWnd), &rcArea);
        GetWindowRect(&rcWindow);
        pt.x = GetNorvGlobals().m_bRightToLeft ? rcArea.right - FORM_FIRST_X - rcWindow.Width() : FORM_FIRST_X;
    }
    MoveReachable(this, pt.x, pt.y);
    m_pView->ShowWindow(SW_SHOW);
    m_pView->SendMessage(WM_INITIALUPDATE);
    ShowWindow(SW_SHOW);
    MDIActivate();
    m_pView->SetFocus();
    return 0;
}

void CFormMDIWnd::OnSetFocus(CWnd* pOldWnd)
{
    CMDIChildWnd::OnSetFocus(pOldWnd);
    // The frame itself takes no keys: the form gives them to the field it had last (after another
    // window or a box over the whole terminal), or to its first one.
    if (m_pView != nullptr && m_pView->m_hWnd != nullptr)
        m_pView->SetFocus();
}

void CFormMDIWnd::FocusFirstField()
{
    if (m_hWnd == nullptr || m_pView == nullptr || m_pView->m_hWnd == nullptr || !IsWindowVisible())
        return;
    const HWND hFirst = ::GetNextDlgTabItem(m_pView->m_hWnd, nullptr, FALSE);
    if (hFirst != nullptr && ::IsChild(m_pView->m_hWnd, hFirst))
        ::SetFocus(hFirst);
    else
        m_pView->SetFocus();
}

CString CFormMDIWnd::GetFormSection() const
{
    CString strSection;
    strSection.Format("%u-%d", m_nTemplateId, GetNorvGlobals().m_bRightToLeft ? 1 : 0);
    return strSection;
}

void CFormMDIWnd::SaveSettings()
{
    WINDOWPLACEMENT wp = CurrentPlacement(this);
    Settings().SetSection(GetFormSection());
    Settings().WriteWindowPlacement("WinPlace", &wp);
}

void CFormMDIWnd::LoadSettings(CSettingsFile* pSettings)
{
    if (pSettings == nullptr || m_hWnd == nullptr)
        return;
    const WINDOWPLACEMENT current = CurrentPlacement(this);
    WINDOWPLACEMENT wp = current;
    BOOL bMissing = FALSE;
    pSettings->SetSection(GetFormSection());
    pSettings->GetWindowPlacement(&wp, "WinPlace", &current, &bMissing);
    if (bMissing)
        return;
    // Only the position comes back: never a size, never maximised or minimised.
    if (IsZoomed() || IsIconic())
        ShowWindow(SW_SHOWNORMAL);
    MoveReachable(this, wp.rcNormalPosition.left, wp.rcNormalPosition.top);
    ShowWindow(SW_SHOWNORMAL);
}

void CFormMDIWnd::OnSize(UINT nType, int cx, int cy)
{
    CMDIChildWnd::OnSize(nType, cx, cy);
    if (m_pView == nullptr || m_pView->m_hWnd == nullptr)
        return;
    CRect rcView;
    m_pView->GetWindowRect(&rcView);
    if (ViewFillsFrame() || rcView.IsRectEmpty()) {
        m_pView->MoveWindow(0, 0, cx, cy);
        return;
    }
    // A form keeps its own size in a frame of another size (maximised, cascaded), at the reading
    // start: controls a form keeps beyond its width (a closed panel) stay unseen.
    const int x = GetNorvGlobals().m_bRightToLeft ? cx - rcView.Width() : 0;
    m_pView->SetWindowPos(nullptr, x, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CFormMDIWnd::OnGetMinMaxInfo(MINMAXINFO* pInfo)
{
    CMDIChildWnd::OnGetMinMaxInfo(pInfo);
    // A form is never smaller than its dialog: the arrangements leave its fields and buttons whole.
    if (pInfo == nullptr || ViewFillsFrame() || m_pView == nullptr || m_pView->m_hWnd == nullptr)
        return;
    CRect rcView, rcWindow, rcClient;
    m_pView->GetWindowRect(&rcView);
    GetWindowRect(&rcWindow);
    GetClientRect(&rcClient);
    if (rcView.IsRectEmpty())
        return;
    pInfo->ptMinTrackSize.x = std::max<LONG>(pInfo->ptMinTrackSize.x, rcView.Width() + rcWindow.Width() - rcClient.Width());
    pInfo->ptMinTrackSize.y = std::max<LONG>(pInfo->ptMinTrackSize.y, rcView.Height() + rcWindow.Height() - rcClient.Height());
}

void CFormMDIWnd::OnSysCommand(UINT nId, LPARAM lParam)
{
    if (GetSharedGlobals()->m_bCloseOnSysMenu && (nId & 0xFFF0) == SC_MOUSEMENU) {
        SendMessage(WM_CLOSE);
        return;
    }
    CMDIChildWnd::OnSysCommand(nId, lParam);
}

void CFormMDIWnd::OnSysColorChange()
{
    CMDIChildWnd::OnSysColorChange();
    Invalidate();
}

void CFormMDIWnd::OnClose()
{
    if (m_hWnd != nullptr && m_pView != nullptr && m_pView->m_hWnd != nullptr &&
        m_pView->SendMessage(WM_FORM_CLOSING) != 0) {
        ShowWindow(SW_HIDE);
        if (CMDIFrameWnd* pFrame = GetMDIFrame())
            pFrame->MDINext();
        return;
    }
    CMDIChildWnd::OnClose();
}

void CFormMDIWnd::OnDestroy()
{
    SaveSettings();
    m_pView = nullptr;
    if (m_ppSlot != nullptr && *m_ppSlot == this)
        *m_ppSlot = nullptr;
    m_ppSlot = nullptr;
    CMDIChildWnd::OnDestroy();
}

void CFormMDIWnd::OnCopyPicture()
{
    CopyAsBitmap();
}

BOOL CFormMDIWnd::CopyAsBitmap()
{
    HWND hOwner = m_pView != nullptr && m_pView->m_hWnd != nullptr ? m_pView->m_hWnd : m_hWnd;
    return CopyWindowPicture(m_hWnd, hOwner, TRUE);
}

void CHidingFormWnd::OnClose()
{
    if (m_hWnd == nullptr) {
        CFormMDIWnd::OnClose();
        return;
    }
    ShowWindow(SW_HIDE);
    ActivateNextAfterHiding(this);
}

void CHidingFormWnd::OnSysCommand(UINT nId, LPARAM lParam)
{
    if (GetSharedGlobals()->m_bCloseOnSysMenu && (nId & 0xFFF0) == SC_MOUSEMENU) {
        OnClose();
        return;
    }
    CFormMDIWnd::OnSysCommand(nId, lParam);
}

BOOL CFormChart::CreateForm(UINT nTemplateId, CWnd* pView, CFormMDIWnd** ppSlot)
{
    if (!CFormMDIWnd::CreateForm(nTemplateId, pView, ppSlot))
        return FALSE;
    if (m_bRestore)
        LoadSettings(&Settings());
    return TRUE;
}

void CFormChart::SaveSettings()
{
    WritePlacement(this, m_strSection);
}

void CFormChart::LoadSettings(CSettingsFile* pSettings)
{
    if (pSettings == nullptr || m_hWnd == nullptr)
        return;
    const WINDOWPLACEMENT current = CurrentPlacement(this);
    WINDOWPLACEMENT wp = current;
    BOOL bMissing = FALSE;
    pSettings->SetSection(m_strSection);
    pSettings->GetWindowPlacement(&wp, "WinPlace", &current, &bMissing);
    if (bMissing) {
        // A chart never placed opens where its axes, bars and volume pane can be read: a smaller
        // frame leaves the plot too small to draw. It steps down past the windows standing at
        // that corner, as a cascade does, so that it never hides the chart opened before it.
        SetWindowPlacement(&current);
        // Right to left, it starts at the client's right, as every new window there does.
        const BOOL bFromRight = GetNorvGlobals().m_bRightToLeft;
        const POINT pt = FreeCorner(::GetParent(m_hWnd), m_hWnd, POINT{50, 50}, bFromRight);
        RECT rcArea{};
        ::GetClientRect(::GetParent(m_hWnd), &rcArea);
        const int x = bFromRight ? rcArea.right - pt.x - CHART_FIRST_CX : pt.x;
        wp.rcNormalPosition = RECT{x, pt.y, x + CHART_FIRST_CX, pt.y + CHART_FIRST_CY};
    }
    ApplyPlacement(this, wp);
}

BOOL CFormHtml::PreCreateWindow(CREATESTRUCTA& cs)
{
    WINDOWPLACEMENT none{};
    WINDOWPLACEMENT wp{};
    BOOL bMissing = FALSE;
    Settings().SetSection(m_strPageId);
    Settings().GetWindowPlacement(&wp, "WinPlace", &none, &bMissing);
    if (bMissing) {
        cs.x = 10;
        cs.y = 10;
        cs.cx = 640;
        cs.cy = 480;
    } else {
        // Its first image is made at this size: a file's size is first bounded to the screen.
        const RECT rc = ReachableChildRect(MdiClient(), wp.rcNormalPosition);
        cs.x = rc.left;
        cs.y = rc.top;
        cs.cx = rc.right - rc.left;
        cs.cy = rc.bottom - rc.top;
    }
    return CFormMDIWnd::PreCreateWindow(cs);
}

void CFormHtml::SaveSettings()
{
    WritePlacement(this, m_strPageId);
}

void CFormHtml::LoadSettings(CSettingsFile* pSettings)
{
    if (pSettings == nullptr || m_hWnd == nullptr)
        return;
    const WINDOWPLACEMENT current = CurrentPlacement(this);
    WINDOWPLACEMENT wp = current;
    pSettings->SetSection(m_strPageId);
    pSettings->GetWindowPlacement(&wp, "WinPlace", &current, nullptr);
    ApplyPlacement(this, wp);
}
