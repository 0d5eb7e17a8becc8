#include "framework/print/TBPageSetupDlg.h"

#include "framework/base/TBApp.h"
#include "framework/print/TPHeaderFooterDlg.h"
#include "framework/print/TPMarginsDlg.h"
#include "framework/print/TPPaperFormatDlg.h"
#include "framework/print/TPTableDlg.h"
#include "framework/window/DlgFastFind.h"
#include "framework/window/TBTabControl.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Dialogs.h"

namespace {
// Pixels between the frame around the pages and the buttons under it, and between the frame's
// sides and a page.
const int FRAME_GAP = 8;
const int PAGE_INSET = 5;

HINSTANCE AppModule()
{
    CTBApp* pApp = GetTBApp();
    return pApp ? pApp->GetModule() : TbGetResourceModule();
}
}  // namespace

CTBPageSetupDlg::CTBPageSetupDlg(CTBWnd* pOwner, CViewTable* pView)
    : CTBLangDialog(IDD_PAGESETUP, pOwner), m_pView(pView)
{
    RegisterTabControlClass();
    m_fontSample.CreateFromHandle(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    m_frame.Create3D(1);
}

CTBPageSetupDlg::~CTBPageSetupDlg()
{
    // Destroyed here, while the section names are still this class's, its position is kept.
    if (m_hWnd != nullptr)
        DestroyWindow();
    FreePages();
}

void CTBPageSetupDlg::SetSampleFont(HFONT hFont, COLORREF crSample)
{
    m_fontSample.DeleteObject();
    m_fontSample.CreateFromHandle(hFont);
    m_crSample = crSample;
}

CTBPropertyPage* CTBPageSetupDlg::GetPage(int nIndex) const
{
    return nIndex >= 0 && nIndex < PAGE_COUNT ? m_pages[nIndex].pPage.get() : nullptr;
}

CTBTabControl* CTBPageSetupDlg::GetTabControl() const
{
    return m_hWnd ? dynamic_cast<CTBTabControl*>(CTBWnd::FromHandle(GetDlgItem(m_hWnd, IDC_PAGESETUP_TABS))) : nullptr;
}

CTBString CTBPageSetupDlg::GetSettingsSection()
{
    return GridDialogSection("DlgPageSetup", m_pView);
}

CTBString CTBPageSetupDlg::GetCaption()
{
    return GridDialogCaption(IDS_PAGESETUP_CAPTION, m_pView);
}

CTBString CTBPageSetupDlg::GetLangSection(int nLanguage)
{
    return GridDialogLangSection("DlgPageSetup", nLanguage);
}

void CTBPageSetupDlg::OnLanguageChanged(int nLanguage)
{
    CTBLangDialog::OnLanguageChanged(nLanguage);
    CTBTabControl* pTabs = GetTabControl();
    if (!pTabs)
        return;
    const int nCurrent = pTabs->GetCurSel();
    while (pTabs->GetItemCount() > 0)
        pTabs->DeleteItem(0);
    for (int i = 0; i < PAGE_COUNT; ++i) {
        CTBString strTab;
        strTab.LoadAppString(IDS_PAGESETUP_TAB_FIRST + i);
        pTabs->AddItem(strTab);
    }
    if (nCurrent > 0 && nCurrent < PAGE_COUNT)
        pTabs->SelectTab(nCurrent);
}

void CTBPageSetupDlg::LoadPages()
{
    FreePages();
    for (int i = 0; i < PAGE_COUNT; ++i) {
        PAGE& page = m_pages[i];
        switch (i) {
        case 0: page.pPage = std::make_unique<CTPPaperFormatDlg>(&m_settings); break;
        case 1: page.pPage = std::make_unique<CTPMarginsDlg>(&m_settings); break;
        case 2: page.pPage = std::make_unique<CTPHeaderFooterDlg>(&m_settings); break;
        default: {
            auto pTable = std::make_unique<CTPTableDlg>(&m_settings);
            pTable->SetSample(m_fontSample.GetSafeHandle(), m_crSample);
            page.pPage = std::move(pTable);
            break;
        }
        }
        // A page whose template cannot be had is left out.
        page.hResource = FindResourceA(AppModule(), MAKEINTRESOURCEA(IDD_PAGE_PAPER + i), RT_DIALOG);
        page.hTemplate = page.hResource ? LoadResource(AppModule(), page.hResource) : nullptr;
        page.pTemplate = page.hTemplate ? static_cast<LPCDLGTEMPLATEA>(LockResource(page.hTemplate)) : nullptr;
        if (!page.pTemplate) {
            if (page.hTemplate)
                FreeResource(page.hTemplate);
            page = PAGE();
        }
    }
}

void CTBPageSetupDlg::FreePages()
{
    for (PAGE& page : m_pages) {
        page.pPage.reset();
        if (page.hTemplate)
            FreeResource(page.hTemplate);
        page = PAGE();
    }
    m_nShown = -1;
}

RECT CTBPageSetupDlg::GetFrameRect() const
{
    RECT rc = {};
    HWND hTabs = GetDlgItem(m_hWnd, IDC_PAGESETUP_TABS);
    HWND hOK = GetDlgItem(m_hWnd, IDOK);
    if (!hTabs || !hOK)
        return rc;
    RECT rcOK = {};
    GetWindowRect(hTabs, &rc);
    GetWindowRect(hOK, &rcOK);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rcOK), 2);
    rc.bottom = rcOK.top - FRAME_GAP;
    return rc;
}

void CTBPageSetupDlg::ShowPage(int nIndex)
{
    if (CTBPropertyPage* pOld = GetPage(m_nShown))
        pOld->DestroyWindow();
    m_nShown = -1;
    PAGE* pPage = nIndex >= 0 && nIndex < PAGE_COUNT ? &m_pages[nIndex] : nullptr;
    if (!pPage || !pPage->pPage || !pPage->pPage->CreatePage(pPage->pTemplate, this))
        return;
    m_nShown = nIndex;
    HWND hTabs = GetDlgItem(m_hWnd, IDC_PAGESETUP_TABS);
    RECT rcTabs = {};
    GetWindowRect(hTabs, &rcTabs);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rcTabs), 2);
    const RECT rcFrame = GetFrameRect();
    HWND hPage = pPage->pPage->m_hWnd;
    SetWindowPos(hPage, hTabs, rcTabs.left + PAGE_INSET, rcTabs.bottom, rcTabs.right - rcTabs.left - 2 * PAGE_INSET,
                 rcFrame.bottom - rcTabs.bottom - PAGE_INSET, SWP_NOACTIVATE);
    ShowWindow(hPage, SW_SHOW);
}

BOOL CTBPageSetupDlg::OnInitDialog()
{
    // The tab texts came with the language, before this.
    LoadPages();
    ShowPage(0);
    return TRUE;
}

void CTBPageSetupDlg::CommitShownPage()
{
    CTBPropertyPage* pPage = GetPage(m_nShown);
    HWND hFocus = GetFocus();
    if (pPage && pPage->m_hWnd && hFocus && IsChild(pPage->m_hWnd, hFocus))
        pPage->OnCmdMsg(static_cast<UINT>(GetDlgCtrlID(hFocus)), EN_KILLFOCUS);
}

BOOL CTBPageSetupDlg::OnCmdMsg(UINT nId, int nCode)
{
    if (nId == IDC_PAGESETUP_TABS) {
        if (nCode == TBTN_SELCHANGE)
            if (CTBTabControl* pTabs = GetTabControl())
                ShowPage(pTabs->GetCurSel());
        return TRUE;
    }
    if (nId == IDC_PAGESETUP_PREVIEW) {
        CommitShownPage();
        EndDialog(1090);
        return TRUE;
    }
    return CTBLangDialog::OnCmdMsg(nId, nCode);
}

LRESULT CTBPageSetupDlg::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == TBTN_QUERYCHANGE) {
        CTBPropertyPage* pPage = GetPage(m_nShown);
        return pPage && pPage->m_hWnd ? pPage->OnQueryTabChange() : 1;
    }
    return CTBLangDialog::WindowProc(uMsg, wParam, lParam);
}

void CTBPageSetupDlg::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(m_hWnd, &ps);
    m_frame.DrawFrame(hdc, GetFrameRect(), FALSE);
    EndPaint(m_hWnd, &ps);
}

void CTBPageSetupDlg::OnOK()
{
    CommitShownPage();
    CTBLangDialog::OnOK();
}

void CTBPageSetupDlg::OnDestroy()
{
    if (CTBPropertyPage* pPage = GetPage(m_nShown))
        pPage->DestroyWindow();
    m_nShown = -1;
    CTBLangDialog::OnDestroy();
}
