#include "framework/print/TPHeaderFooterDlg.h"

#include <climits>

#include "framework/print/PrinterInfo.h"
#include "framework/print/TablePrintSettings.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Dialogs.h"

namespace {
const PRINTCONTROL s_controls[] = {
    {.nId = IDC_HEADERS_ROWTITLES, .nKind = PCK_CHECK, .pField = &CTablePrintSettings::m_bRowTitles},
    {.nId = IDC_HEADERS_PAGE, .nKind = PCK_CHECK, .pField = &CTablePrintSettings::m_bPageHeader,
     .pTwin = &CTablePrintSettings::m_bPageFooter},
    {.nId = IDC_HEADERS_REPORT, .nKind = PCK_CHECK, .pField = &CTablePrintSettings::m_bReportHeader,
     .pTwin = &CTablePrintSettings::m_bReportFooter},
    {.nId = IDC_HEADERS_TITLES_ALL, .nKind = PCK_RADIO, .pField = &CTablePrintSettings::m_nTitleRows, .nValue = 2},
    {.nId = IDC_HEADERS_TITLES_FIRST, .nKind = PCK_RADIO, .pField = &CTablePrintSettings::m_nTitleRows, .nValue = 1},
    {.nId = IDC_HEADERS_NOGRID, .nKind = PCK_RADIO, .pField = &CTablePrintSettings::m_nGridWidth, .nValue = 0,
     .pTwin = &CTablePrintSettings::m_nLineWidth, .nTwinFactor = 2},
    {.nId = IDC_HEADERS_GRIDWIDTH, .nKind = PCK_NUMBER, .pField = &CTablePrintSettings::m_nGridWidth, .nMin = 1,
     .nMax = INT_MAX, .pszBlank = "1", .nFlags = PCF_ZERO_IS_BLANK, .pTwin = &CTablePrintSettings::m_nLineWidth,
     .nTwinFactor = 2},
};

// Grid lines thicker than a thirtieth of the printable width would bury the cells.
const int GRID_WIDTH_DIVISOR = 30;
}  // namespace

CTPHeaderFooterDlg::CTPHeaderFooterDlg(CTablePrintSettings* pSettings)
    : CTBPropertyPage(IDD_PAGE_HEADERS, "TPHeaderFooterDlg", pSettings, s_controls)
{
}

int CTPHeaderFooterDlg::GridLimit() const
{
    return m_nMaxGridWidth < 0 ? INT_MAX : m_nMaxGridWidth;
}

BOOL CTPHeaderFooterDlg::OnInitDialog()
{
    m_nMaxGridWidth = -1;
    if (CPrinterInfo* pPrinter = m_pSettings->GetPrinter()) {
        if (HDC hdc = pPrinter->CreateDC()) {
            m_nMaxGridWidth = GetDeviceCaps(hdc, HORZRES) / GRID_WIDTH_DIVISOR;
            DeleteDC(hdc);
        }
    }
    CTBPropertyPage::OnInitDialog();
    ShowTitleRows();
    ShowGrid();
    return TRUE;
}

void CTPHeaderFooterDlg::ShowTitleRows()
{
    const int nRows = m_pSettings->m_nTitleRows;
    if (nRows < 0 || nRows > 2)
        return;
    CheckDlgButton(m_hWnd, IDC_HEADERS_TITLES, nRows != 0 ? BST_CHECKED : BST_UNCHECKED);
    EnableItem(IDC_HEADERS_TITLES_ALL, nRows != 0);
    EnableItem(IDC_HEADERS_TITLES_FIRST, nRows != 0);
    if (nRows != 0)
        CheckRadioButton(m_hWnd, IDC_HEADERS_TITLES_ALL, IDC_HEADERS_TITLES_FIRST,
                         nRows == 2 ? IDC_HEADERS_TITLES_ALL : IDC_HEADERS_TITLES_FIRST);
}

void CTPHeaderFooterDlg::ShowGrid()
{
    const BOOL bGrid = m_pSettings->m_nGridWidth != 0;
    CheckRadioButton(m_hWnd, IDC_HEADERS_NOGRID, IDC_HEADERS_GRID, bGrid ? IDC_HEADERS_GRID : IDC_HEADERS_NOGRID);
    EnableItem(IDC_HEADERS_GRIDWIDTH, bGrid);
    if (bGrid)
        ShowPrintControl(m_hWnd, m_controls, *m_pSettings, IDC_HEADERS_GRIDWIDTH);
    else
        SetDlgItemTextA(m_hWnd, IDC_HEADERS_GRIDWIDTH, "");
}

BOOL CTPHeaderFooterDlg::OnCmdMsg(UINT nId, int nCode)
{
    switch (nId) {
    case IDC_HEADERS_TITLES:
        // Switched on, the titles print on every page.
        m_pSettings->m_nTitleRows = m_pSettings->m_nTitleRows == 0 ? 2 : 0;
        ShowTitleRows();
        return TRUE;
    case IDC_HEADERS_NOGRID:
        CTBPropertyPage::OnCmdMsg(nId, nCode);
        EnableItem(IDC_HEADERS_GRIDWIDTH, FALSE);
        return TRUE;
    case IDC_HEADERS_GRID:
        // Grid lines take the width in the field (a blank field or 0 is one pixel), so the
        // choice never leaves a grid of width 0.
        EnableItem(IDC_HEADERS_GRIDWIDTH, TRUE);
        for (const PRINTCONTROL& control : m_controls)
            if (control.nId == IDC_HEADERS_GRIDWIDTH && !CommitPrintNumber(m_hWnd, control, *m_pSettings, GridLimit())) {
                SetDlgItemTextA(m_hWnd, IDC_HEADERS_GRIDWIDTH, "1");
                CommitPrintNumber(m_hWnd, control, *m_pSettings, GridLimit());
            }
        return TRUE;
    case IDC_HEADERS_GRIDWIDTH:
        HandlePrintControl(m_hWnd, m_controls, *m_pSettings, static_cast<int>(nId), nCode, GridLimit());
        return TRUE;
    }
    return CTBPropertyPage::OnCmdMsg(nId, nCode);
}
