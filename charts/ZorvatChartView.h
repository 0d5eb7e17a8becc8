#pragma once
// The window of one chart: a price pane over an optional volume pane, a legend line, the
// waiting and no-data texts, the values under the mouse in the frame title while the button is
// held, a splitter between the panes and the chooser on a double click. It owns the two series
// holders and the four charts, and is itself the chart's settings: the holders tell it when a
// series completes or a live quote changes one. It lives in a chart form and goes with its window.
#include "app/ChartWindows.h"
#include "charts/ZorvatChartSettings.h"
#include "platform/mfc/View.h"

class CDC;
class CZorvatChart;
class CHistoricalChart;
class CHistoricalVolumeChart;
class CIntradayChart;
class CIntradayVolumeChart;

#define IDS_CHART_WAITING 55309
#define IDS_CHART_NO_DATA 55310
#define IDS_CHART_DURATION_FIRST 55311  // the title's duration texts, 0 (today) to 5
#define IDS_CHART_THOUSANDS 55317
#define IDS_CHART_MILLIONS 55318

class CZorvatChartView : public CView, public CZorvatChartSettings, public IChartView
{
    DECLARE_DYNCREATE(CZorvatChartView)
public:
    // The chooser or the workspace sets the chart; until then the chart is of the kind given
    // (a chart restored hidden loads no settings). The market is the caller's.
    CZorvatChartView(int nKind = 0, int nMarket = 0);
    ~CZorvatChartView() override;

    // The frame gains a sizing border and its boxes, then the view is made as a plain window.
    BOOL Create(LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = nullptr) override;

    // The workspace section "ChartView%d" of the chart's slot.
    LPCSTR GetSettingsKey() const override { return m_strSettingsKey; }
    void SetSettingsKey(int nSlot) override;
    // The pair of charts the settings ask for, their bar widths, the title, then a relayout.
    virtual void SelectCharts();
    // The panes' rectangles, and the value axes from the series; nothing until the series are
    // ready or while the window has no area.
    virtual void LayoutPanes();
    virtual void LayoutValueAxis();
    // The frame title with the values under the point of the chart, and back.
    virtual void ShowReadout(CZorvatChart* pChart, CPoint pt);
    virtual void HideReadout();
    virtual void UpdateReadout(CZorvatChart* pChart, CPoint pt);

    void OnDraw(CDC* pDC) override;

    // The settings' side.
    void ApplyFromChooser(CChartChoices& choices) override;
    void Load(CIni& ini) override;
    void OnSeriesComplete(const char* pszTicker) override;
    void OnSeriesUpdated(const char* pszTicker, CZorvatChartDataHolder* pHolder) override;

    // What the application asks (app/ChartWindows.h).
    int GetChartKind() const override;
    BOOL IsChartReady() const override { return m_pPriceChart != nullptr; }
    void ApplyChoice(IChartChoice& choice) override;
    void RefreshSeries(LPCSTR pszSymbol) override;

    // What a test or the frame reads.
    const CString& GetTitle() const { return m_strTitle; }
    CZorvatChart* GetPriceChart() const { return m_pPriceChart; }
    CZorvatChart* GetVolumeChart() const { return m_pVolumeChart; }
    int GetSplitY() const { return m_nSplitY; }
    double GetPriceShare() const { return m_dPriceShare; }
    // The splitter strip between the panes; empty without the volume pane.
    CRect GetSplitterRect() const;

protected:
    // On holders of the caller's making (tests keep the lines they send), owned from here on.
    CZorvatChartView(CZorvatChartDataHolder* pMain, CZorvatChartDataHolder* pComp);
    // Both series there to draw: complete (the comparison too, when there is one) with points.
    BOOL IsSeriesReady() const;
    // Value axes, panes and a full repaint.
    void Relayout();
    // Both value strips as wide as the widest label of either needs (at least their made width).
    void FitValueAxes();
    void DrawMessage(CDC* pDC, const CRect& rcClient, UINT nTextId);
    void DrawLegend(CDC* pDC, const CRect& rcClient);
    // The drag marker's strip put back from the saved copy, and the copy dropped.
    void RestoreDragStrip(CDC* pDC);
    void EndDrag();

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT uMessage);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    int m_nKind = 0;                    // the kind made with, until the settings choose the pair
    CString m_strTitle;                 // the ticker and the duration's text
    CString m_strSettingsKey;
    BOOL m_bReadout = FALSE;
    BOOL m_bAxesLaidOut = FALSE;        // the value axes stand on the series now held
    CZorvatChart* m_pPriceChart = nullptr;              // the pair in use, one of the two below
    CZorvatChart* m_pVolumeChart = nullptr;
    CIntradayChart* m_pIntradayChart = nullptr;         // owned
    CIntradayVolumeChart* m_pIntradayVolumeChart = nullptr;
    CHistoricalChart* m_pHistoricalChart = nullptr;
    CHistoricalVolumeChart* m_pHistoricalVolumeChart = nullptr;
    // The price pane's share of the height above the bottom margin. A drag sets it as the
    // mouse lies, unclamped: outside 0..1 only the background shows until the next drag.
    double m_dPriceShare = 0.7;
    int m_nSplitY = 0;                  // the price pane's bottom edge
    int m_nBottomMargin = 15;
    int m_nPaneGap = 3;                 // the splitter strip's height
    HCURSOR m_hPrevCursor = nullptr;
    BOOL m_bDragging = FALSE;
    CDC* m_pDragDC = nullptr;           // owned: the screen strip under the drag marker
    CBitmap* m_pDragBitmap = nullptr;   // owned: selected into m_pDragDC
    POINT m_ptDragSaved = {0, 0};       // where that strip was taken from (y), none when x is -1
};
