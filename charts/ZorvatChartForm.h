#pragma once
// The frame of one chart window, on the application's chart frame: it keeps the window's
// placement and, while the window is shown, the chart's settings in the chart's workspace
// section ("ChartView%d" of its slot). Made by the application's chart opener and workspace
// restore; it hides when closed and deletes itself when destroyed.
#include "app/ChartWindows.h"
#include "app/FormMDIWnd.h"

class CZorvatChartView;

class CZorvatChartForm : public CFormChart, public IChartFrame
{
public:
    // The frame on the view, whose slot is already set; the opener applies the placement.
    BOOL Create(UINT nTitleId, CWnd* pView, CFormMDIWnd** ppSlot);
    BOOL CreateChart(UINT nTitleId, CWnd* pView, CFormMDIWnd** ppSlot) override { return Create(nTitleId, pView, ppSlot); }
    // The placement (a hidden window as 1111), and the settings of a shown one.
    void SaveSettings() override;
    // The placement, normal unless saved hidden; then the settings of a shown window when asked.
    void LoadFromWorkspace(CSettingsFile* pFile, BOOL bSettings) override;

    CZorvatChartView* GetChartView() const;

protected:
    // A frame being destroyed (replaced in its slot, or at log-off) saves nothing: its section
    // belongs to the slot's next chart, and the workspace is saved before the frames go.
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    BOOL m_bDestroying = FALSE;
};

// The charts layer's maker of chart windows and choosers, registered with the application.
void RegisterCharts();
