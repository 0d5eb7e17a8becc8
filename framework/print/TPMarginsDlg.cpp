#include "framework/print/TPMarginsDlg.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/base/Measure.h"
#include "framework/print/PrinterInfo.h"
#include "framework/print/TablePrintSettings.h"
#include "platform/win/spool/WinSpool.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Dialogs.h"

namespace {
const PRINTCONTROL s_controls[] = {
    {.nId = IDC_MARGINS_SCALE, .nKind = PCK_NUMBER, .pField = &CTablePrintSettings::m_nScale, .nMin = 10, .nMax = 200,
     .pszFormat = "%d %%", .pszBlank = "100"},
    {.nId = IDC_MARGINS_PAGESWIDE, .nKind = PCK_NUMBER, .pField = &CTablePrintSettings::m_nPagesWide, .nMin = 1,
     .nMax = 5, .pszBlank = "1"},
    {.nId = IDC_MARGINS_CENTER, .nKind = PCK_CHECK, .pField = &CTablePrintSettings::m_bCenter},
};

// Left and right, top and bottom: the room the table needs between them, in millimetres.
const double TABLE_ROOM_MM = 20.0;
}  // namespace

BOOL MarginsFitPaper(const double dMargins[4], double dWidth, double dHeight, double dMinHorz, double dMinVert)
{
    // A printer that does not tell its least margin is taken as reaching the edge: an unknown
    // minimum must not make room the paper does not have.
    dMinHorz = dMinHorz > 0 ? dMinHorz : 0.0;
    dMinVert = dMinVert > 0 ? dMinVert : 0.0;
    if (dMargins[0] < dMinHorz || dMargins[1] < dMinHorz || dMargins[2] < dMinVert || dMargins[3] < dMinVert)
        return FALSE;
    return dMargins[0] + dMargins[1] + TABLE_ROOM_MM + 2 * dMinHorz <= dWidth
        && dMargins[2] + dMargins[3] + TABLE_ROOM_MM + 2 * dMinVert <= dHeight;
}

CTPMarginsDlg::CTPMarginsDlg(CTablePrintSettings* pSettings)
    : CTBPropertyPage(IDD_PAGE_MARGINS, "TPMarginsDlg", pSettings, s_controls)
{
}

BOOL CTPMarginsDlg::OnInitDialog()
{
    m_dMinHorzMargin = m_dMinVertMargin = -1.0;
    CPrinterInfo* pPrinter = m_pSettings->GetPrinter();
    const POINT* pPaper = pPrinter ? pPrinter->FindPaperDimensions(static_cast<WORD>(m_pSettings->GetPaperSize())) : nullptr;
    HDC hdc = pPaper ? pPrinter->CreateDC() : nullptr;
    if (hdc) {
        const int cxPhysical = GetDeviceCaps(hdc, PHYSICALWIDTH), cyPhysical = GetDeviceCaps(hdc, PHYSICALHEIGHT);
        if (cxPhysical > 0 && cyPhysical > 0) {
            m_dMinHorzMargin = static_cast<double>(GetDeviceCaps(hdc, PHYSICALOFFSETX)) / cxPhysical * pPaper->x / 10.0;
            m_dMinVertMargin = static_cast<double>(GetDeviceCaps(hdc, PHYSICALOFFSETY)) / cyPhysical * pPaper->y / 10.0;
        }
        DeleteDC(hdc);
    }
    CTBPropertyPage::OnInitDialog();
    ShowMargins();
    ShowScaleChoice();
    return TRUE;
}

void CTPMarginsDlg::ShowScaleChoice()
{
    const BOOL bFit = m_pSettings->m_nPagesWide != 0;
    CheckRadioButton(m_hWnd, IDC_MARGINS_ATSCALE, IDC_MARGINS_FIT, bFit ? IDC_MARGINS_FIT : IDC_MARGINS_ATSCALE);
    EnableItem(IDC_MARGINS_SCALE, !bFit);
    EnableItem(IDC_MARGINS_PAGESWIDE, bFit);
    ShowPrintControl(m_hWnd, m_controls, *m_pSettings, bFit ? IDC_MARGINS_PAGESWIDE : IDC_MARGINS_SCALE);
    SetDlgItemTextA(m_hWnd, bFit ? IDC_MARGINS_SCALE : IDC_MARGINS_PAGESWIDE, "");
}

void CTPMarginsDlg::ShowMargins()
{
    const CTBString strUnit = GetMeasureUnitName(m_pSettings->m_nUnits);
    for (int i = 0; i < 4; ++i) {
        char szText[64];
        snprintf(szText, sizeof(szText), "%.2lf %s", m_pSettings->m_dMargins[i], static_cast<const char*>(strUnit));
        SetDlgItemTextA(m_hWnd, IDC_MARGINS_LEFT + i, szText);
    }
}

BOOL CTPMarginsDlg::CheckMargins()
{
    CPrinterInfo* pPrinter = m_pSettings->GetPrinter();
    const POINT* pPaper = pPrinter ? pPrinter->FindPaperDimensions(static_cast<WORD>(m_pSettings->GetPaperSize())) : nullptr;
    if (!pPaper)
        return TRUE;
    double d[4];
    for (int i = 0; i < 4; ++i)
        d[i] = ConvertMeasure(m_pSettings->m_nUnits, MEASURE_MILLIMETRES, m_pSettings->m_dMargins[i]);
    double dWidth = pPaper->x / 10.0, dHeight = pPaper->y / 10.0;
    if (m_pSettings->GetOrientation() == DMORIENT_LANDSCAPE) {
        const double dSwap = dWidth;
        dWidth = dHeight;
        dHeight = dSwap;
    }
    return MarginsFitPaper(d, dWidth, dHeight, m_dMinHorzMargin, m_dMinVertMargin);
}

void CTPMarginsDlg::CommitMargin(int nId)
{
    const int nIndex = nId - IDC_MARGINS_LEFT;
    if (nIndex < 0 || nIndex > 3)
        return;
    char szText[64] = "";
    GetDlgItemTextA(m_hWnd, nId, szText, sizeof(szText));
    const BOOL bBlank = szText[strspn(szText, " \t")] == '\0';
    const char* pszText = bBlank ? "0" : szText;
    const int nUnit = ParseMeasureUnit(pszText);
    if (nUnit >= 0 && nUnit != m_pSettings->m_nUnits) {
        for (double& dMargin : m_pSettings->m_dMargins)
            dMargin = ConvertMeasure(m_pSettings->m_nUnits, nUnit, dMargin);
        m_pSettings->m_nUnits = nUnit;
    }
    // Remembered in the unit now in force, so a refused margin comes back as the same length.
    const double dOld = m_pSettings->m_dMargins[nIndex];
    m_pSettings->m_dMargins[nIndex] = atof(pszText);
    if (!CheckMargins())
        m_pSettings->m_dMargins[nIndex] = dOld;
    ShowMargins();
}

BOOL CTPMarginsDlg::OnCmdMsg(UINT nId, int nCode)
{
    const int nIdInt = static_cast<int>(nId);
    if (nIdInt >= IDC_MARGINS_LEFT && nIdInt <= IDC_MARGINS_BOTTOM) {
        if (nCode == EN_SETFOCUS)
            SendDlgItemMessageA(m_hWnd, nIdInt, EM_SETSEL, 0, -1);
        else if (nCode == EN_KILLFOCUS)
            CommitMargin(nIdInt);
        return TRUE;
    }
    if (nId == IDC_MARGINS_ATSCALE) {
        m_pSettings->m_nPagesWide = 0;
        ShowScaleChoice();
        return TRUE;
    }
    if (nId == IDC_MARGINS_FIT) {
        // Fitting starts from one page across, whatever was typed before.
        m_pSettings->m_nPagesWide = 1;
        ShowScaleChoice();
        return TRUE;
    }
    return CTBPropertyPage::OnCmdMsg(nId, nCode);
}
