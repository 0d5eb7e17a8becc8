#pragma once
// The chart chooser (template 7256): the ticker and its market, a comparison (an index or a
// typed ticker), the duration and the period it allows, the moving average and its bands, line
// or bars, and the volume pane. Its members are the choices the chart settings fill and read;
// the dialog only edits them and sends nothing.
#include "charts/ZorvatChartSettings.h"
#include "framework/window/EnhancedComboBox.h"
#include "framework/window/EnhancedEdit.h"
#include "platform/mfc/Dialog.h"

#define IDD_CHART_CHOOSER 7256
#define IDC_CHART_MARKET 1720
#define IDC_CHART_TICKER 1722
#define IDC_CHART_VOLUME 1724
#define IDC_CHART_DURATION 1725         // the first of six: today, then the five spans
#define IDC_CHART_AVERAGE_FIRST 1731    // lengths 1 to 7; "none" is 1744, the group's first
#define IDC_CHART_AVERAGE_LAST 1737
#define IDC_CHART_PERIOD 1738           // group order 1738, 1739, 1740, 1742, 1741: periods 0..4
#define IDC_CHART_BANDS 1743
#define IDC_CHART_AVERAGE 1744
#define IDC_CHART_COMPARE_TEXT 1745
#define IDC_CHART_COMPARE 1746          // the typed ticker, then the three indices
#define IDC_CHART_LINE_TYPE 1751        // line, then bars (1752)
#define IDC_CHART_NOTE_US 1860          // the hint for a ticker of a market other than the KSE
#define IDC_CHART_NOTE_KSE 1861

class CChartChooserDlg : public CDialog, public CChartChoices
{
public:
    // Today's chart when bIntraday, else the first historical span.
    CChartChooserDlg(BOOL bIntraday, LPCSTR pszTicker, int nMarket, CWnd* pParent);

protected:
    BOOL OnInitDialog() override;
    // The market chosen in the list becomes the chart's market code too, so that the request
    // and the next chooser follow the list rather than the market the chart was opened with.
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnTickerChange();
    // A click on a duration or comparison button, or the dialog's start (0).
    afx_msg void OnDurationChange(UINT nId = 0);
    afx_msg void OnCompareChange(UINT nId = 0);
    // Another market chosen in the list: the index comparisons follow it.
    afx_msg void OnMarketChange();
    DECLARE_MESSAGE_MAP()

private:
    // The KSE charts no index: only a typed comparison and the stock-number hint; an index
    // chosen before gives way to the typed one (TRUE: the members changed).
    BOOL ApplyMarket();
    // OK only with a ticker typed.
    void EnableOk();

    CEnhancedEdit m_editTicker;
    CEnhancedEdit m_editCompare;
    CEnhancedComboBox m_comboMarket;
};
