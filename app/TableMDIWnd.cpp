#include "app/TableMDIWnd.h"
#include "app/RestoredPlacement.h"

#include <algorithm>
#include "app/WindowPicture.h"

#include "app/DataTable.h"
#include "app/NorvApp.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"
#include "framework/table/Table.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TWApp.h"
#include "framework/table/TableArchive.h"
#include "framework/table/TableColumn.h"
#include "framework/table/TableColumnsMap.h"
#include "framework/table/ColumnFilter.h"
#include "framework/table/TableFilters.h"
#include "platform/mfc/CmdUI.h"
#include "platform/mfc/CommonDialogs.h"
#include "platform/win/user/Clipboard.h"
#include <cstring>
#include "platform/win/Windows.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Display.h"

#define TABLE_WINDOW_STYLE 0x40CF0000   // child, caption, system menu, sizing frame, both boxes
#define IDS_EXPORT_FILTER 858
#define OFN_EXPORT_TABLE 0x806          // hide read-only, ask before replacing, the folder must exist

namespace {

// The colour indices the window sets before any saved grid property is read.
const struct { int nIndex; COLORREF cr; } s_creationColors[] = {
    {5, 0xFF0000}, {6, 0xFFFF80}, {7, 0x0000FF},
};

CSettingsFile& Settings()
{
    return GetSharedGlobals()->m_settings;
}

}  // namespace

BEGIN_MESSAGE_MAP(CTableMDIWnd, CMDIChildWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_SYSCOMMAND()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
    ON_WM_SHOWWINDOW()
    ON_WM_MOUSEACTIVATE()
    ON_WM_MDIACTIVATE()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_MENUSELECT()
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

CTableMDIWnd::CTableMDIWnd(IDataTable* pTable, CViewTable* pView) : m_pView(pView), m_pTable(pTable)
{
}

CTableMDIWnd::~CTableMDIWnd() = default;

BOOL CTableMDIWnd::CreateTableWindow(LPCSTR pszClassName, CMDIFrameWnd* pFrame, CWnd* pSizeFrom)
{
    CString strTitle = m_pView != nullptr ? static_cast<const char*>(m_pView->GetTitle()) : "";
    // The MDI client places the window, at its next default position: the first window of a
    // table with the default size, a further one as large as the table's main window.
    CRect rect = CFrameWnd::rectDefault;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (pSizeFrom != nullptr && pSizeFrom->m_hWnd != nullptr && pSizeFrom->GetWindowPlacement(&wp)) {
        const RECT& rc = wp.rcNormalPosition;
        rect.SetRect(CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT + (rc.right - rc.left), CW_USEDEFAULT + (rc.bottom - rc.top));
    }
    return Create(pszClassName != nullptr && *pszClassName ? pszClassName : nullptr, strTitle, TABLE_WINDOW_STYLE,
                  rect, pFrame);
}

BOOL CTableMDIWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (GetNorvGlobals().m_bRightToLeft)
        cs.dwExStyle |= WS_EX_RTLREADING | WS_EX_RIGHT;
    if (GetSharedGlobals()->m_bWindowOption)
        cs.style &= ~WS_MINIMIZEBOX;
    return CMDIChildWnd::PreCreateWindow(cs);
}

void CTableMDIWnd::SelectSection()
{
    Settings().SetSection(m_pTable != nullptr ? static_cast<const char*>(m_pTable->GetSectionName(m_pView)) : "");
}

int CTableMDIWnd::OnCreate(LPCREATESTRUCTA pCreate)
{
    if (CMDIChildWnd::OnCreate(pCreate) == -1)
        return -1;
    if (HasGrid() || m_pView == nullptr || m_pTable == nullptr)
        return m_pView != nullptr && m_pTable != nullptr ? 0 : -1;
    m_grid.SetFontFace("Arial", 10);
    for (const auto& color : s_creationColors) {
        m_grid.SetCellTextColor(color.cr, color.nIndex);
        m_grid.SetCellBackColor(color.cr, color.nIndex);
    }
    m_grid.SetFollowLastRow(FALSE);
    SelectSection();
    // The section only: the context menu is the table's own (UpdateTableMenu), not one the
    // settings file would describe.
    m_grid.Load(&Settings(), nullptr);
    ApplyAppColors();
    CRect rcClient;
    GetClientRect(&rcClient);
    if (!m_grid.CreateEx(m_pView, 0, "", WS_CHILD, 0, 0, rcClient.Width(), rcClient.Height(), m_hWnd, 0))
        return -1;
    CTableMDIWnd* pMain = m_pTable->GetMainWindow();
    if (pMain != nullptr && pMain != this && pMain->HasGrid())
        m_grid.CopyAppearance(&pMain->m_grid);
    RestorePlacement();
    GetClientRect(&rcClient);
    SizeGrid(rcClient.Width(), rcClient.Height());
    UpdateTableMenu();
    m_pView->AddSink(this);
    return 0;
}

void CTableMDIWnd::SizeGrid(int cx, int cy)
{
    if (!HasGrid())
        return;
    ::SetWindowPos(m_grid.m_hWnd, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CTableMDIWnd::ApplyAppColors()
{
    CNorvApp* pApp = CNorvApp::Get();
    if (pApp == nullptr)
        return;
    const APP_COLORS& c = pApp->GetColors();
    // Index, text colour, background colour; CLR_INVALID leaves the text colour alone.
    const struct { int nIndex; COLORREF crText, crBack; } colors[] = {
        {3, c.crDown, 0x0000FF},
        {4, c.crUp, 0x00FF00},
        {5, c.crUnchanged, c.crUnchanged},
        {6, c.crTickerDifferent, c.crTickerDifferent},
        {7, 0xFF0000, 0xFF0000},
        {8, 0x0000FF, 0x0000FF},
        {9, 0x0080FF, 0x0080FF},
        {10, c.crMarketMaker, c.crMarketMaker},
        {11, c.crOddLot, c.crOddLot},
        {13, 0xFF0000, 0xFF0000},
        {14, 0x0000FF, 0x0000FF},
        {17, c.crJuniorStock, c.crJuniorStock},
        {20, CLR_INVALID, c.crSegment1},
        {21, CLR_INVALID, c.crSegment2},
        {22, CLR_INVALID, c.crSegment3},
    };
    for (const auto& color : colors) {
        if (color.crText != CLR_INVALID)
            m_grid.SetCellTextColor(color.crText, color.nIndex);
        m_grid.SetCellBackColor(color.crBack, color.nIndex);
    }
}

void CTableMDIWnd::UpdateTableMenu()
{
    if (!HasGrid() || m_pTable == nullptr)
        return;
    m_grid.SetContextMenu(m_pTable->CreateContextMenu());
}

BOOL CTableMDIWnd::SetFontCharset(BYTE nCharset)
{
    HFONT hFont = m_grid.GetFont() != nullptr ? m_grid.GetFont() : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    LOGFONTA lf{};
    if (GetObjectA(hFont, sizeof lf, &lf) == 0 || lf.lfCharSet == nCharset)
        return TRUE;
    lf.lfCharSet = nCharset;
    m_grid.SetFont(CreateFontIndirectA(&lf));
    lf.lfWeight = FW_BOLD;
    m_grid.SetBoldFont(CreateFontIndirectA(&lf));
    return TRUE;
}

void CTableMDIWnd::LoadSettings()
{
    if (!HasGrid())
        return;
    SelectSection();
    m_grid.Load(&Settings(), nullptr);
    ApplyAppColors();
    SelectSection();
    m_pView->LoadSettings(&Settings(), nullptr);
    RestorePlacement();
    m_pTable->OnLayoutLoaded(this);
}

void CTableMDIWnd::SaveSettings()
{
    if (!HasGrid())
        return;
    SelectSection();
    m_grid.Save(&Settings(), &Settings());
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(&wp);
    const BOOL bVisible = IsWindowVisible();
    if (!bVisible)
        wp.showCmd = SW_SAVED_HIDDEN;
    SelectSection();
    Settings().WriteWindowPlacement("WinPlace", &wp);
    m_pView->SaveSettings(&Settings(), nullptr);
    if (m_pTable != nullptr)
        m_pTable->OnLayoutSaved(this);
    CNorvApp* pApp = CNorvApp::Get();
    if (bVisible && pApp != nullptr) {
        const int nIndex = pApp->NextZOrderIndex();
        if (nIndex >= 0) {
            char szKey[16];
            snprintf(szKey, sizeof szKey, "%d", nIndex);
            Settings().SetSection(".Z-Order");
            Settings().WriteString(szKey, m_pView->GetName());
        }
    }
}

int CTableMDIWnd::FittedWidth(int* pnMost)
{
    int nWidth = 0;
    if (HasGrid()) {
        for (int i = 0; i < m_grid.GetDisplayColumnCount(); ++i)
            nWidth += m_grid.GetColumnWidth(i);
        nWidth += m_grid.GetRowHeight();
    }
    CRect rcWindow, rcClient;
    GetWindowRect(&rcWindow);
    GetClientRect(&rcClient);
    nWidth += 2 * GetSystemMetrics(SM_CXBORDER) + (rcWindow.Width() - rcClient.Width()) + 1 + GetSystemMetrics(SM_CXVSCROLL);
    // The caption reads whole too, and the window stays inside the client with its frame.
    RECT rcFrame = {};
    TbGetDisplay()->GetMdiChildFrame(&rcFrame);
    CString strTitle;
    GetWindowText(strTitle);
    nWidth = std::max(nWidth, TbGetDisplay()->GetMdiTitleWidth(strTitle) - static_cast<int>(rcFrame.left + rcFrame.right));
    int nMost = GetSystemMetrics(SM_CXSCREEN);
    CRect rcArea;
    if (::GetClientRect(::GetParent(m_hWnd), &rcArea) && rcArea.Width() > 0)
        nMost = static_cast<int>(rcArea.Width() - rcFrame.left - rcFrame.right);
    if (pnMost != nullptr)
        *pnMost = nMost;
    return std::min(nWidth, nMost);
}

void CTableMDIWnd::FitToColumns(WINDOWPLACEMENT* pwp, BOOL bWidenOnly)
{
    // A right-to-left interface reads from the right: the MDI client's default place stands at
    // its right, and the window keeps its right edge there.
    RECT& rc = pwp->rcNormalPosition;
    int nMost = 0;
    const int nFitted = FittedWidth(&nMost);
    const int nWidth = bWidenOnly ? std::clamp(static_cast<int>(rc.right - rc.left), nFitted, std::max(nFitted, nMost)) : nFitted;
    if (GetNorvGlobals().m_bRightToLeft)
        rc.left = rc.right - nWidth;
    else
        rc.right = rc.left + nWidth;
}

void CTableMDIWnd::FitBeforeShowing()
{
    // Hidden, its rows may have come since it was last fitted, and the columns grown to hold
    // them: a command shows it no narrower than they and its caption need.
    if (m_hWnd == nullptr || IsWindowVisible())
        return;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(&wp);
    FitToColumns(&wp, /*bWidenOnly=*/TRUE);
    MakePlacementReachable(m_hWnd, &wp);
    wp.showCmd = SW_HIDE;
    SetWindowPlacement(&wp);
}

void CTableMDIWnd::RestorePlacement()
{
    WINDOWPLACEMENT current{};
    current.length = sizeof current;
    GetWindowPlacement(&current);
    WINDOWPLACEMENT wp = current;
    BOOL bMissing = FALSE;
    SelectSection();
    Settings().GetWindowPlacement(&wp, "WinPlace", &current, &bMissing);
    if (bMissing) {
        // Never saved: as wide as the columns and the caption need, up to the client.
        FitToColumns(&wp, /*bWidenOnly=*/FALSE);
        wp.showCmd = SW_SAVED_HIDDEN;
    }
    const BOOL bFirstView = m_pView == nullptr || m_pView->GetViewId() <= 0;
    wp.showCmd = wp.showCmd == SW_SAVED_HIDDEN && bFirstView ? SW_HIDE : SW_SHOWNORMAL;
    MakePlacementReachable(m_hWnd, &wp);
    SetWindowPlacement(&wp);
    ShowWindow(wp.showCmd);
}

BOOL CTableMDIWnd::RunOwnCommand(UINT nId)
{
    if (!HasGrid())
        return FALSE;
    if (RunPrintCommand(nId))
        return TRUE;
    switch (nId) {
    case ID_TABLE_SHOW_COLUMNS:
        m_pView->SetAllColumnsHidden(FALSE);
        return TRUE;
    case ID_TABLE_FOLLOW_LAST:
        m_grid.SetFollowLastRow(!m_grid.GetFollowLastRow());
        return TRUE;
    case ID_TABLE_GRAND_TOTAL: {
        // Group sums stay as they are; only the grand total row comes or goes.
        static const int s_toggled[] = {2, 3, 0, 1};
        // A view that never had a mode set (-1) shows no totals, as mode 0.
        const int nMode = m_pView->GetTotalsMode() < 0 ? 0 : m_pView->GetTotalsMode();
        if (nMode <= 3)
            m_pView->SetTotalsMode(s_toggled[nMode]);
        return TRUE;
    }
    case ID_TABLE_COPY_ALL:
        m_grid.CopySelection(FALSE);
        return TRUE;
    case ID_TABLE_NEW_WINDOW:
        if (m_pTable->CanOpenNewWindow() && m_pTable->GetWindowCount() < MAX_TABLE_WINDOWS)
            m_pTable->OpenWindow(TRUE);
        return TRUE;
    case ID_TABLE_FILTER:
        ShowFilterDialog();
        return TRUE;
    case ID_TABLE_REMOVE_FILTER:
        RemoveFilter();
        return TRUE;
    case ID_TABLE_TITLES:
        m_pView->m_bWriteTitleLine = !m_pView->m_bWriteTitleLine;
        return TRUE;
    case ID_TABLE_EXPORT:
        Export();
        return TRUE;
    case ID_TABLE_COPY_PICTURE:
        CopyAsPicture();
        return TRUE;
    default:
        return FALSE;
    }
}

void CTableMDIWnd::ShowFilterDialog()
{
    // The first column shown that the user may switch; none such: nothing to filter.
    CTableColumnsMap& order = m_pView->GetColumnOrder();
    for (int nPos = 0; nPos < order.GetCount(); ++nPos) {
        CTableColumn* pColumn = order.GetColumn(nPos);
        if (pColumn != nullptr && !pColumn->m_bHidden && pColumn->m_bUserSwitchable) {
            if (CTWApp* pApp = CTWApp::Get())
                pApp->ShowFilterDialog(&m_grid, nPos);
            return;
        }
    }
}

void CTableMDIWnd::RemoveFilter()
{
    CTableFilters* pFilters = m_pView->GetFilters();
    if (pFilters == nullptr || pFilters->IsEmpty())
        return;
    m_pView->SetFilters(nullptr);
    m_pView->ReapplyFilters();
    m_grid.SelectAllRows(FALSE);
    if (m_pView->GetSumMode() != 0)
        m_pView->SetSumMode(0);
}

void CTableMDIWnd::Export()
{
    CSharedGlobals* pShared = GetSharedGlobals();
    CString strFilter = pShared->m_strText1;
    if (strFilter.IsEmpty())
        pShared->LoadString(strFilter, IDS_EXPORT_FILTER);
    const CString strName = m_pTable->GetName();
    CFileDialog dialog(FALSE, "tbl", strName, OFN_EXPORT_TABLE, strFilter, this);
    if (dialog.DoModal() != IDOK)
        return;
    // A file that cannot be opened writes nothing and says nothing.
    CTableFileArchive archive(m_pView, FALSE);
    if (!archive.Open(dialog.GetPathName(), FALSE))
        return;
    archive.m_chSeparator = static_cast<char>(pShared->m_nExportSeparator);
    m_pView->ForEachRow(&archive);
    archive.Close();
}

void CTableMDIWnd::CopyAsPicture()
{
    m_grid.CopyRowsToClipboard(nullptr, FALSE, nullptr);
    // Beside the rows: the clipboard is not emptied.
    CopyWindowPicture(m_hWnd, m_grid.m_hWnd, FALSE);
}

BOOL CTableMDIWnd::UpdateOwnCommand(UINT nId, CCmdUI* pCmdUI)
{
    if (!HasGrid())
        return FALSE;
    const BOOL bOutput = GetSharedGlobals()->m_bTableCommands;
    const BOOL bRows = m_pView->GetRowCount() > 0;
    switch (nId) {
    case ID_TABLE_SHOW_COLUMNS:
        pCmdUI->Enable(TRUE);
        return TRUE;
    case ID_TABLE_FOLLOW_LAST:
        pCmdUI->Enable(TRUE);
        pCmdUI->SetCheck(m_grid.GetFollowLastRow() ? 1 : 0);
        return TRUE;
    case ID_TABLE_GRAND_TOTAL:
        pCmdUI->Enable(TRUE);
        pCmdUI->SetCheck(m_pView->GetTotalsMode() == 2 || m_pView->GetTotalsMode() == 3 ? 1 : 0);
        return TRUE;
    case ID_TABLE_COPY_ALL:
    case ID_TABLE_COPY_PICTURE:
        pCmdUI->Enable(bRows && bOutput);
        return TRUE;
    case ID_TABLE_FILTER:
        pCmdUI->Enable(TRUE);
        return TRUE;
    case ID_TABLE_REMOVE_FILTER:
        pCmdUI->Enable(m_pView->GetFilters() != nullptr && !m_pView->GetFilters()->IsEmpty());
        return TRUE;
    case ID_TABLE_TITLES:
        pCmdUI->Enable(bRows);
        pCmdUI->SetCheck(m_pView->m_bWriteTitleLine ? 1 : 0);
        return TRUE;
    case ID_TABLE_EXPORT:
    case ID_TABLE_PRINT:
    case ID_TABLE_PRINT_PREVIEW:
    case ID_TABLE_PAGE_SETUP:
        pCmdUI->Enable(bOutput);
        return TRUE;
    case ID_TABLE_NEW_WINDOW:
        pCmdUI->Enable(m_pTable->CanOpenNewWindow() && m_pTable->GetWindowCount() < MAX_TABLE_WINDOWS && bOutput);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CTableMDIWnd::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nCode == static_cast<int>(CN_UPDATE_COMMAND_UI) && pExtra != nullptr &&
        UpdateOwnCommand(nId, static_cast<CCmdUI*>(pExtra)))
        return TRUE;
    if (nCode == CN_COMMAND && pHandlerInfo == nullptr && RunOwnCommand(nId))
        return TRUE;
    if (CWnd::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // The table is this window's view: its command on the selected row goes before the
    // application's command of the same id (KSE > Buy buys the selected quotation).
    if (m_pTable != nullptr && m_pTable->OnCmdMsg(nId, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
}

void CTableMDIWnd::OnTitleChanged(const CTBString* pTitle, int nLanguage)
{
    if (pTitle == nullptr || m_pView == nullptr)
        return;
    const CTBString strTitle = *pTitle;
    m_pView->SetTitle(strTitle, nLanguage);
    UpdateCaption();
}

void CTableMDIWnd::OnFilterChanged()
{
    UpdateCaption();
}

void CTableMDIWnd::OnSumModeChanged()
{
    UpdateCaption();
}

void CTableMDIWnd::UpdateCaption()
{
    if (m_hWnd == nullptr || m_pView == nullptr)
        return;
    CString strCaption = static_cast<const char*>(m_pView->GetTitle());
    // A click on a cell or the filter dialog may hide most rows; the caption tells why they are gone.
    CTableFilters* pFilters = m_pView->GetFilters();
    if (m_pView->GetSumMode() != 0 && pFilters != nullptr && !pFilters->IsEmpty()) {
        CString strCriteria;
        for (int nCol = 0; nCol < m_pView->GetColumns().GetCount(); ++nCol) {
            CColumnFilter* pColumn = pFilters->GetColumnFilter(nCol);
            for (int nFilter = 0; pColumn != nullptr && nFilter < pColumn->GetSize(); ++nFilter) {
                CTBString strText;
                if (!pColumn->FormatFilterText(strText, nFilter) || strText.GetLength() == 0)
                    continue;
                CString strOne = static_cast<const char*>(strText);
                // An exact match reads as the cell's own text, without the quotes that keep it exact.
                if (strOne.GetLength() >= 2 && strOne[0] == '"' && strOne[strOne.GetLength() - 1] == '"')
                    strOne = strOne.Mid(1, strOne.GetLength() - 2);
                if (!strCriteria.IsEmpty())
                    strCriteria += ", ";
                strCriteria += strOne;
            }
        }
        if (!strCriteria.IsEmpty())
            strCaption += " - " + strCriteria;
    }
    CString strNow;
    GetWindowText(strNow);
    if (strNow != strCaption)
        SetWindowText(strCaption);
}

void CTableMDIWnd::OnClose()
{
    // A maximised window is restored first, so the next one does not open maximised.
    if (IsZoomed() && GetParent() != nullptr)
        GetParent()->SendMessage(WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_hWnd));
    if (m_pTable != nullptr)
        m_pTable->CloseWindow(this);
}

void CTableMDIWnd::OnSysCommand(UINT nId, LPARAM lParam)
{

    if (GetSharedGlobals()->m_bCloseOnSysMenu && (nId & 0xFFF0) == SC_MOUSEMENU) {
        OnClose();
        return;
    }
    CMDIChildWnd::OnSysCommand(nId, lParam);
}

void CTableMDIWnd::OnSize(UINT nType, int cx, int cy)
{
    CMDIChildWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        SizeGrid(cx, cy);
    if (m_pTable != nullptr)
        m_pTable->OnWindowSize(this, nType, cx, cy);
}

void CTableMDIWnd::OnSetFocus(CWnd* pOldWnd)
{
    CMDIChildWnd::OnSetFocus(pOldWnd);
    if (HasGrid())
        ::SetFocus(m_grid.m_hWnd);
}

void CTableMDIWnd::OnDestroy()
{
    if (HasGrid())
        m_grid.SetContextMenu(nullptr);
    if (m_pView != nullptr)
        m_pView->RemoveSink(this);
    if (m_pTable != nullptr)
        m_pTable->RemoveWindow(this);
    if (CTWApp* pApp = CTWApp::Get(); pApp != nullptr && pApp->GetTargetWindow() == &m_grid)
        pApp->SetTargetWindow(nullptr);
    CMDIChildWnd::OnDestroy();
}

BOOL CTableMDIWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CTableMDIWnd::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CMDIChildWnd::OnShowWindow(bShow, nStatus);
    if (bShow && HasGrid())
        m_grid.Refresh();
}

int CTableMDIWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT uMessage)
{
    if (GetParent() != nullptr && GetMDIFrame() != nullptr)
        GetParent()->SendMessage(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd));
    return CMDIChildWnd::OnMouseActivate(pDesktopWnd, nHitTest, uMessage);
}

void CTableMDIWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd)
{
    CMDIChildWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
    if (!bActivate || !HasGrid() || m_pTable == nullptr)
        return;
    if (CTWApp* pApp = CTWApp::Get())
        pApp->SetTargetWindow(&m_grid);
    if (CTable* pTable = m_pTable->GetTable()) {
        const int nIndex = pTable->FindView(m_pView);
        if (nIndex >= 0)
            pTable->SetCurrentView(nIndex);
    }
}

void CTableMDIWnd::OnSysColorChange()
{
    CMDIChildWnd::OnSysColorChange();
    Invalidate();
}

void CTableMDIWnd::OnMenuSelect(UINT nItemId, UINT nFlags, HMENU hSysMenu)
{
    CMDIChildWnd::OnMenuSelect(nItemId, nFlags, hSysMenu);
    if (nFlags & MF_POPUP)
        return;
    // The item's prompt, its first line only, in the main frame's message pane.
    char szPrompt[256] = "";
    LoadStringA(TbGetResourceModule(), nItemId, szPrompt, sizeof szPrompt);
    if (char* pszBreak = strrchr(szPrompt, '\n'))
        *pszBreak = '\0';
    if (CMDIFrameWnd* pFrame = GetMDIFrame())
        pFrame->SetMessageText(szPrompt);
}

void CTableMDIWnd::OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu)
{
    CMDIChildWnd::OnInitMenuPopup(pMenu, nIndex, bSysMenu);
    if (pMenu != nullptr && m_pTable != nullptr)
        m_pTable->OnInitMenuPopup(pMenu->GetSafeHmenu(), nIndex, bSysMenu);
}
