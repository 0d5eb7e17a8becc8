#pragma once
// The chart windows as the application keeps them in its nine slots. The charts layer, above
// the application, registers its maker; without one the chart commands open nothing.
#include <memory>
#include "platform/win/WinTypes.h"

class CFormChart;
class CFormMDIWnd;
class CSettingsFile;
class CWnd;

// The user's answer in the chart chooser, held for the chart that takes it.
struct IChartChoice
{
    virtual ~IChartChoice() = default;
};

// What the application asks of a chart view.
struct IChartView
{
    virtual ~IChartView() = default;
    // CHART_KIND_INTRADAY or CHART_KIND_HISTORY (app/StockActions.h), as the chart now stands.
    virtual int GetChartKind() const = 0;
    // Its chart pair is chosen: a restored hidden chart's is not.
    virtual BOOL IsChartReady() const = 0;
    // The workspace section of the chart in slot n.
    virtual void SetSettingsKey(int nSlot) = 0;
    virtual LPCSTR GetSettingsKey() const = 0;
    virtual void ApplyChoice(IChartChoice& choice) = 0;
    // Each series that exists is cleared and asked for again; with a symbol, only its series.
    virtual void RefreshSeries(LPCSTR pszSymbol) = 0;
};

// The chart frame as the application drives it.
struct IChartFrame
{
    virtual ~IChartFrame() = default;
    // The frame on the view (whose slot is set), titled by the string id, in the slot; FALSE
    // when it could not be made.
    virtual BOOL CreateChart(UINT nTitleId, CWnd* pView, CFormMDIWnd** ppSlot) = 0;
    // Its placement, and with bSettings the chart's settings, from the file's section of its view.
    virtual void LoadFromWorkspace(CSettingsFile* pFile, BOOL bSettings) = 0;
};

struct IChartMaker
{
    virtual ~IChartMaker() = default;
    // The chooser, modal, preset with the kind, the symbol (null for none) and the market; null
    // when the user did not confirm it.
    virtual std::unique_ptr<IChartChoice> AskChoice(int nKind, LPCSTR pszSymbol, int nMarket) = 0;
    // A frame (also an IChartFrame) and a view (also an IChartView) on the heap, not yet created;
    // each goes with its window once created.
    virtual CFormChart* MakeFrame() = 0;
    virtual CWnd* MakeView(int nKind, int nMarket) = 0;
};

// Not owned; null removes it.
void RegisterChartMaker(IChartMaker* pMaker);
IChartMaker* GetChartMaker();
