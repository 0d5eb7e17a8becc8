#pragma once
// The headers, grid and titles page of the page setup: row titles, page and report headers and
// footers, the column titles and where they print, and the grid width, which the thick lines
// follow at twice its value. A width the printer cannot draw sensibly (more than a thirtieth of
// its printable width) is refused.
#include "framework/print/TBPropertyPage.h"

#define IDD_PAGE_HEADERS        1125
#define IDC_HEADERS_ROWTITLES   1051
#define IDC_HEADERS_PAGE        1052
#define IDC_HEADERS_REPORT      1053
#define IDC_HEADERS_TITLES      1093
#define IDC_HEADERS_TITLES_ALL  1077
#define IDC_HEADERS_TITLES_FIRST 1078
#define IDC_HEADERS_NOGRID      1070
#define IDC_HEADERS_GRID        1071
#define IDC_HEADERS_GRIDWIDTH   1072

class CTPHeaderFooterDlg : public CTBPropertyPage
{
public:
    explicit CTPHeaderFooterDlg(CTablePrintSettings* pSettings);

    BOOL OnInitDialog() override;
    BOOL OnCmdMsg(UINT nId, int nCode) override;
    void ShowTitleRows();
    // The largest grid width taken, -1 without a printer (no limit).
    int  GetMaxGridWidth() const { return m_nMaxGridWidth; }

private:
    void ShowGrid();
    int  GridLimit() const;

    int m_nMaxGridWidth = -1;
};
