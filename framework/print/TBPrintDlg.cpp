#include "framework/print/TBPrintDlg.h"

#include <string>

#include "framework/print/PageRange.h"
#include "framework/print/PrintControls.h"
#include "framework/print/PrinterInfo.h"
#include "framework/window/DlgFastFind.h"
#include "framework/base/NorvGlobals.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/spool/WinSpool.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Cursor.h"
#include "platform/win/user/Dialogs.h"

namespace {
const PRINTCONTROL s_controls[] = {
    {.nId = IDC_PRINT_ROWS_ALL, .nKind = PCK_RADIO, .pField = &CTablePrintSettings::m_nRowSelection, .nValue = 0},
    {.nId = IDC_PRINT_ROWS_3, .nKind = PCK_RADIO, .pField = &CTablePrintSettings::m_nRowSelection, .nValue = 3},
    {.nId = IDC_PRINT_ROWS_1, .nKind = PCK_RADIO, .pField = &CTablePrintSettings::m_nRowSelection, .nValue = 1},
    {.nId = IDC_PRINT_ROWS_2, .nKind = PCK_RADIO, .pField = &CTablePrintSettings::m_nRowSelection, .nValue = 2},
    {.nId = IDC_PRINT_NOSORT, .nKind = PCK_CHECK, .pField = &CTablePrintSettings::m_bNoSort},
    {.nId = IDC_PRINT_TABLEORDER, .nKind = PCK_CHECK, .pField = &CTablePrintSettings::m_bTableOrder},
    {.nId = IDC_PRINT_COLLATE, .nKind = PCK_CHECK, .pField = nullptr,
     .pfnGet = [](CTablePrintSettings& s) { return s.GetCollate(); },
     .pfnSet = [](CTablePrintSettings& s, int n) { s.SetCollate(n); }},
    {.nId = IDC_PRINT_COPIES, .nKind = PCK_NUMBER, .pField = nullptr, .nMin = 1, .nMax = 999, .pszBlank = "1",
     .pfnGet = [](CTablePrintSettings& s) { return static_cast<int>(s.GetCopies()); },
     .pfnSet = [](CTablePrintSettings& s, int n) { s.SetCopies(static_cast<short>(n)); }},
};

std::string ItemText(HWND hDlg, int nId)
{
    char szText[256] = "";
    GetDlgItemTextA(hDlg, nId, szText, sizeof(szText));
    return szText;
}
}  // namespace

CTBPrintDlg::CTBPrintDlg(CTBWnd* pOwner, CViewTable* pView, void* pContext)
    : CTBLangDialog(IDD_PRINT, pOwner), m_pView(pView), m_pContext(pContext)
{
}

CTBPrintDlg::~CTBPrintDlg()
{
    // Destroyed here, while the section names are still this class's, its position is kept.
    if (m_hWnd != nullptr)
        DestroyWindow();
}

CTBString CTBPrintDlg::GetSettingsSection()
{
    return GridDialogSection("DlgPrint", m_pView);
}

CTBString CTBPrintDlg::GetCaption()
{
    return GridDialogCaption(IDS_PRINT_CAPTION, m_pView);
}

CTBString CTBPrintDlg::GetLangSection(int nLanguage)
{
    return GridDialogLangSection("DlgPrint", nLanguage);
}

BOOL CTBPrintDlg::OnInitDialog()
{
    m_bShowing = TRUE;
    HWND hList = GetDlgItem(m_hWnd, IDC_PRINT_PRINTER);
    SendMessageA(hList, CB_RESETCONTENT, 0, 0);
    CPrinterInfo::FillPrinterList(hList, m_settings.GetPrinterName());
    ShowPrinter();
    ShowRange();
    ShowPrintControls(m_hWnd, s_controls, m_settings);
    m_bShowing = FALSE;
    return TRUE;
}

void CTBPrintDlg::ShowPrinter()
{
    CPrinterInfo* pPrinter = m_settings.GetPrinter();
    // A driver's name and a port ("FILE:") read left to right in an Arabic dialog too.
    const auto Shown = [](const char* psz) {
        return GetNorvGlobals().m_bRightToLeft ? TbLeftToRightText(psz) : std::string(psz);
    };
    SetDlgItemTextA(m_hWnd, IDC_PRINT_MODEL, pPrinter ? Shown(pPrinter->GetDriverModel()).c_str() : "");
    SetDlgItemTextA(m_hWnd, IDC_PRINT_LOCATION, pPrinter ? Shown(pPrinter->GetLocation()).c_str() : "");
    EnableItem(IDC_PRINT_PROPERTIES, pPrinter != nullptr);
}

void CTBPrintDlg::ShowRange()
{
    const BOOL bAll = m_settings.m_nFromPage <= 0 && m_settings.m_nToPage <= 0;
    CheckRadioButton(m_hWnd, IDC_PRINT_PAGES, IDC_PRINT_ALLPAGES, bAll ? IDC_PRINT_ALLPAGES : IDC_PRINT_PAGES);
    const BOOL bShowing = m_bShowing;
    m_bShowing = TRUE;
    SetDlgItemTextA(m_hWnd, IDC_PRINT_RANGE, FormatPageRange(m_settings.m_nFromPage, m_settings.m_nToPage));
    m_bShowing = bShowing;
}

void CTBPrintDlg::TakeRange()
{
    ParsePageRange(ItemText(m_hWnd, IDC_PRINT_RANGE).c_str(), m_settings.m_nFromPage, m_settings.m_nToPage);
    ShowRange();
}

void CTBPrintDlg::MarkChanged()
{
    if (m_bChanged)
        return;
    m_bChanged = TRUE;
    CTBString strKeep;
    strKeep.LoadAppString(IDS_PRINT_KEEP);
    SetDlgItemTextA(m_hWnd, IDCANCEL, strKeep);
}

void CTBPrintDlg::OnPrinterChange()
{
    HCURSOR hOld = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    HWND hList = GetDlgItem(m_hWnd, IDC_PRINT_PRINTER);
    const LRESULT nSel = SendMessageA(hList, CB_GETCURSEL, 0, 0);
    char szName[256] = "";
    if (nSel >= 0 && SendMessageA(hList, CB_GETLBTEXTLEN, nSel, 0) < static_cast<LRESULT>(sizeof(szName)))
        SendMessageA(hList, CB_GETLBTEXT, nSel, reinterpret_cast<LPARAM>(szName));
    if (szName[0] != '\0' && m_settings.GetPrinterName() != szName) {
        MarkChanged();
        m_settings.SetPrinterName(CTBString(szName));
        // A colour printer starts in grey: colour is the user's choice on the table page.
        CPrinterInfo* pPrinter = m_settings.GetPrinter();
        if (pPrinter && pPrinter->GetDevMode()) {
            auto* pDevMode = static_cast<DEVMODEA*>(GlobalLock(pPrinter->GetDevMode()));
            if (pDevMode && (pDevMode->dmFields & DM_COLOR) && m_settings.m_nColorMode == PRINT_COLOR)
                m_settings.m_nColorMode = PRINT_GREY;
            GlobalUnlock(pPrinter->GetDevMode());
        }
        // The copies and collation live in the new printer's device mode.
        ShowPrintControls(m_hWnd, s_controls, m_settings);
    }
    ShowPrinter();
    SetCursor(hOld);
}

BOOL CTBPrintDlg::OnCmdMsg(UINT nId, int nCode)
{
    switch (nId) {
    case IDC_PRINT_PRINTER:
        if (nCode == CBN_SELCHANGE)
            OnPrinterChange();
        return TRUE;
    case IDC_PRINT_PROPERTIES:
        if (CPrinterInfo* pPrinter = m_settings.GetPrinter()) {
            pPrinter->ShowProperties(m_hWnd);
            ShowPrintControls(m_hWnd, s_controls, m_settings);
        }
        return TRUE;
    case IDC_PRINT_ALLPAGES:
        m_settings.m_nFromPage = m_settings.m_nToPage = -1;
        ShowRange();
        return TRUE;
    case IDC_PRINT_PAGES:
        return TRUE;
    case IDC_PRINT_RANGE:
        if (nCode == EN_CHANGE && !m_bShowing)
            CheckRadioButton(m_hWnd, IDC_PRINT_PAGES, IDC_PRINT_ALLPAGES, IDC_PRINT_PAGES);
        else if (nCode == EN_KILLFOCUS)
            TakeRange();
        return TRUE;
    case IDC_PRINT_PREVIEW:
        EndWith(PRINT_RESULT_PREVIEW);
        return TRUE;
    }
    if (HandlePrintControl(m_hWnd, s_controls, m_settings, static_cast<int>(nId), nCode))
        return TRUE;
    return CTBLangDialog::OnCmdMsg(nId, nCode);
}

void CTBPrintDlg::EndWith(int nCode)
{
    // Enter ends the dialog with the focus still in a field: what it holds counts.
    TakeRange();
    for (const PRINTCONTROL& control : s_controls)
        if (control.nKind == PCK_NUMBER)
            CommitPrintNumber(m_hWnd, control, m_settings);
    EndDialog(nCode);
}

void CTBPrintDlg::OnOK()
{
    EndWith(IDOK);
}

void CTBPrintDlg::OnCancel()
{
    EndDialog(m_bChanged ? PRINT_RESULT_CHANGED : IDCANCEL);
}
