#include "framework/print/TPPaperFormatDlg.h"

#include <cstdio>

#include "framework/base/Measure.h"
#include "framework/print/PrinterInfo.h"
#include "framework/print/TablePrintSettings.h"
#include "platform/win/spool/WinSpool.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Dialogs.h"

CTPPaperFormatDlg::CTPPaperFormatDlg(CTablePrintSettings* pSettings)
    : CTBPropertyPage(IDD_PAGE_PAPER, "TPPaperFormatDlg", pSettings, {})
{
}

BOOL CTPPaperFormatDlg::OnInitDialog()
{
    CTBPropertyPage::OnInitDialog();
    EnableItem(IDC_PAPER_HEIGHT, FALSE);
    EnableItem(IDC_PAPER_WIDTH, FALSE);
    ShowOrientation();
    FillPapers();
    return TRUE;
}

void CTPPaperFormatDlg::ShowOrientation()
{
    const BOOL bPortrait = m_pSettings->GetOrientation() == DMORIENT_PORTRAIT;
    CheckRadioButton(m_hWnd, IDC_PAPER_LANDSCAPE, IDC_PAPER_PORTRAIT, bPortrait ? IDC_PAPER_PORTRAIT : IDC_PAPER_LANDSCAPE);
}

void CTPPaperFormatDlg::FillPapers()
{
    HWND hList = GetDlgItem(m_hWnd, IDC_PAPER_LIST);
    SendMessageA(hList, CB_RESETCONTENT, 0, 0);
    CPrinterInfo* pPrinter = m_pSettings->GetPrinter();
    if (!pPrinter)
        return;
    for (int i = 0; i < pPrinter->GetPaperCount(); ++i) {
        const LRESULT nItem = SendMessageA(hList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(
                                               static_cast<const char*>(pPrinter->GetPaperName(i))));
        SendMessageA(hList, CB_SETITEMDATA, nItem, pPrinter->GetPaperId(i));
    }
    SelectPaper();
}

void CTPPaperFormatDlg::SelectPaper()
{
    HWND hList = GetDlgItem(m_hWnd, IDC_PAPER_LIST);
    const int nCount = static_cast<int>(SendMessageA(hList, CB_GETCOUNT, 0, 0));
    if (!m_pSettings->HasPrinter() || nCount <= 0)
        return;
    const LRESULT nPaper = m_pSettings->GetPaperSize();
    int nFound = -1;
    for (int i = 0; i < nCount; ++i)
        if (SendMessageA(hList, CB_GETITEMDATA, i, 0) == nPaper)
            nFound = i;
    if (nFound < 0) {
        m_pSettings->SetPaperSize(static_cast<short>(SendMessageA(hList, CB_GETITEMDATA, 0, 0)));
        nFound = 0;
    }
    SendMessageA(hList, CB_SETCURSEL, nFound, 0);
    ShowPaperSize();
}

void CTPPaperFormatDlg::ShowPaperSize(CPrinterInfo* pPrinter)
{
    if (!pPrinter)
        pPrinter = m_pSettings->GetPrinter();
    const POINT* pPaper = pPrinter ? pPrinter->FindPaperDimensions(static_cast<WORD>(m_pSettings->GetPaperSize())) : nullptr;
    if (!pPaper)
        return;
    const int nUnits = m_pSettings->m_nUnits;
    const double dShort = ConvertMeasure(MEASURE_MILLIMETRES, nUnits, pPaper->x / 10.0);
    const double dLong = ConvertMeasure(MEASURE_MILLIMETRES, nUnits, pPaper->y / 10.0);
    const BOOL bPortrait = m_pSettings->GetOrientation() == DMORIENT_PORTRAIT;
    const CTBString strUnit = GetMeasureUnitName(nUnits);
    char szText[64];
    snprintf(szText, sizeof(szText), "%.1lf %s", bPortrait ? dShort : dLong, static_cast<const char*>(strUnit));
    SetDlgItemTextA(m_hWnd, IDC_PAPER_WIDTH, szText);
    snprintf(szText, sizeof(szText), "%.1lf %s", bPortrait ? dLong : dShort, static_cast<const char*>(strUnit));
    SetDlgItemTextA(m_hWnd, IDC_PAPER_HEIGHT, szText);
}

void CTPPaperFormatDlg::OnPaperChange()
{
    const LRESULT nSel = SendDlgItemMessageA(m_hWnd, IDC_PAPER_LIST, CB_GETCURSEL, 0, 0);
    if (nSel < 0)
        return;
    m_pSettings->SetPaperSize(static_cast<short>(SendDlgItemMessageA(m_hWnd, IDC_PAPER_LIST, CB_GETITEMDATA, nSel, 0)));
    ShowPaperSize();
}

void CTPPaperFormatDlg::OnPrinterProperties()
{
    CPrinterInfo* pPrinter = m_pSettings->GetPrinter();
    if (!pPrinter)
        return;
    pPrinter->ShowProperties(GetParent(m_hWnd));
    ShowOrientation();
    SelectPaper();
}

BOOL CTPPaperFormatDlg::OnCmdMsg(UINT nId, int nCode)
{
    switch (nId) {
    case IDC_PAPER_LANDSCAPE:
    case IDC_PAPER_PORTRAIT:
        m_pSettings->SetOrientation(nId == IDC_PAPER_PORTRAIT ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE);
        ShowPaperSize();
        return TRUE;
    case IDC_PAPER_PROPERTIES:
        OnPrinterProperties();
        return TRUE;
    case IDC_PAPER_LIST:
        if (nCode == CBN_SELCHANGE)
            OnPaperChange();
        return TRUE;
    }
    return CTBPropertyPage::OnCmdMsg(nId, nCode);
}
