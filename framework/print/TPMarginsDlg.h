#pragma once
// The margins and scale page of the page setup: the four margins in their unit (typing another
// unit's name converts all four), the scale in per cent or the pages across to fit, centring.
// Margins that leave less than 20 mm of paper for the table, or fall below what the printer can
// reach, are refused.
#include "framework/print/TBPropertyPage.h"

#define IDD_PAGE_MARGINS        1124
#define IDC_MARGINS_SCALE       1058
#define IDC_MARGINS_ATSCALE     1060
#define IDC_MARGINS_FIT         1061
#define IDC_MARGINS_PAGESWIDE   1062
#define IDC_MARGINS_LEFT        1065    // then right, top, bottom
#define IDC_MARGINS_BOTTOM      1068
#define IDC_MARGINS_CENTER      1069

// Whether margins (left, right, top, bottom, mm) leave the table 20 mm of a paper of the given
// size (mm, as printed) and reach no nearer to its edges than the printer's least margins (-1.0:
// the printer does not tell, taken as 0).
BOOL MarginsFitPaper(const double dMargins[4], double dWidth, double dHeight, double dMinHorz, double dMinVert);

class CTPMarginsDlg : public CTBPropertyPage
{
public:
    explicit CTPMarginsDlg(CTablePrintSettings* pSettings);

    BOOL OnInitDialog() override;
    BOOL OnCmdMsg(UINT nId, int nCode) override;

    void ShowMargins();
    // Whether the margins fit the paper: TRUE without a printer or paper size.
    BOOL CheckMargins();
    void CommitMargin(int nId);
    // The printer's least margins in millimetres, -1.0 when it does not tell.
    double GetMinHorzMargin() const { return m_dMinHorzMargin; }
    double GetMinVertMargin() const { return m_dMinVertMargin; }

private:
    void ShowScaleChoice();

    double m_dMinHorzMargin = -1.0;
    double m_dMinVertMargin = -1.0;
};
