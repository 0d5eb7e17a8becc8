#pragma once
// The paper format page of the page setup: the papers the printer's driver offers, the
// orientation, the page's width and height as printed in the settings' unit, and the driver's
// own properties dialog. Everything it changes lives in the device mode of the settings' printer.
#include "framework/print/TBPropertyPage.h"

class CPrinterInfo;

#define IDD_PAGE_PAPER          1123
#define IDC_PAPER_LIST          1076
#define IDC_PAPER_WIDTH         1091
#define IDC_PAPER_HEIGHT        1092
#define IDC_PAPER_LANDSCAPE     1056
#define IDC_PAPER_PORTRAIT      1057
#define IDC_PAPER_PROPERTIES    1074

class CTPPaperFormatDlg : public CTBPropertyPage
{
public:
    explicit CTPPaperFormatDlg(CTablePrintSettings* pSettings);

    BOOL OnInitDialog() override;
    BOOL OnCmdMsg(UINT nId, int nCode) override;

    void ShowOrientation();
    void FillPapers();
    // Selects the device mode's paper; one the driver does not offer becomes the first listed.
    void SelectPaper();
    // The settings' printer when null; nothing without a printer or paper size.
    void ShowPaperSize(CPrinterInfo* pPrinter = nullptr);
    void OnPaperChange();
    void OnPrinterProperties();
};
