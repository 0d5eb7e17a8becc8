#include "app/ZorvatApp.h"

#include <memory>

#include "app/ChartWindows.h"
#include "app/FormMDIWnd.h"
#include "app/StockActions.h"
#include "app/dialogs/AppHelpers.h"
#include "framework/base/SharedGlobals.h"
#include "platform/win/user/MessageBox.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ZorvatGlobals.h"

#define IDS_CHART_FRAME 55290           // the chart frame's title
#define IDS_NO_US_CHART 40413           // the market list has no US market that charts

namespace {

IChartMaker* s_pChartMaker = nullptr;

IChartView* ChartViewOf(const CFormMDIWnd* pFrame)
{
    return pFrame != nullptr ? dynamic_cast<IChartView*>(pFrame->GetView()) : nullptr;
}

// The chart commands: the kind and the market each opens with.
const struct {
    UINT nId;
    int nKind;
    int nMarket;
} s_chartCommands[] = {
    {ID_APP_CHART_US_HISTORY, CHART_KIND_HISTORY, 1},
    {ID_APP_CHART_US_INTRADAY, CHART_KIND_INTRADAY, 1},
    {ID_APP_CHART_KSE_HISTORY, CHART_KIND_HISTORY, 2},
    {ID_APP_CHART_KSE_INTRADAY, CHART_KIND_INTRADAY, 2},
};

// A chart as its caption names it: the frame's title and its symbol.
CString ChartName(LPCSTR pszSymbol)
{
    CString strName;
    GetSharedGlobals()->LoadString(strName, IDS_CHART_FRAME);
    return strName + " " + pszSymbol;
}

}  // namespace

std::vector<UINT> CZORVAT32App::GetChartCommands()
{
    std::vector<UINT> commands;
    for (const auto& chart : s_chartCommands)
        commands.push_back(chart.nId);
    return commands;
}

void RegisterChartMaker(IChartMaker* pMaker)
{
    s_pChartMaker = pMaker;
}

IChartMaker* GetChartMaker()
{
    return s_pChartMaker;
}

void CZORVAT32App::DropChartWindow(int nSlot)
{
    // Closing a chart frame only hides it: a frame given up is destroyed, or it would linger
    // hidden and unreachable with its series still asking the server.
    if (CFormMDIWnd* pFrame = m_chartSlots[nSlot]) {
        m_chartSlots[nSlot] = nullptr;
        if (pFrame->m_hWnd != nullptr)
            pFrame->DestroyWindow();
    }
}

IChartView* CZORVAT32App::MakeChartWindow(int nSlot, int nKind, int nMarket)
{
    if (s_pChartMaker == nullptr)
        return nullptr;
    CFormChart* pFrame = s_pChartMaker->MakeFrame();
    CWnd* pView = s_pChartMaker->MakeView(nKind, nMarket);
    auto* pChartFrame = dynamic_cast<IChartFrame*>(pFrame);
    auto* pChartView = dynamic_cast<IChartView*>(pView);
    if (pChartFrame == nullptr || pChartView == nullptr) {
        delete pFrame;
        delete pView;
        return nullptr;
    }
    // The slot first: the frame reads its placement from the section the slot names.
    pChartView->SetSettingsKey(nSlot);
    m_chartSlots[nSlot] = pFrame;
    if (!pChartFrame->CreateChart(IDS_CHART_FRAME, pView, &m_chartSlots[nSlot])) {
        // A frame whose window never came is still ours, and so is a view never created.
        if (m_chartSlots[nSlot] == pFrame)
            delete pFrame;
        m_chartSlots[nSlot] = nullptr;
        if (pView->m_hWnd == nullptr)
            delete pView;
        return nullptr;
    }
    return pChartView;
}

void CZORVAT32App::OpenChart(LPCSTR pszSymbol, int nKind, int nMarket)
{
    if (s_pChartMaker == nullptr)
        return;
    const std::unique_ptr<IChartChoice> pChoice = s_pChartMaker->AskChoice(nKind, pszSymbol, nMarket);
    if (pChoice == nullptr)
        return;
    const int nSlot = NextChartSlot();
    IChartView* pView = ChartViewOf(m_chartSlots[nSlot]);
    if (m_chartSlots[nSlot] != nullptr && (pView == nullptr || pView->GetChartKind() != nKind)) {
        DropChartWindow(nSlot);
        pView = nullptr;
    }
    if (pView == nullptr) {
        pView = MakeChartWindow(nSlot, nKind, nMarket);
        if (pView == nullptr)
            return;
        dynamic_cast<IChartFrame*>(m_chartSlots[nSlot])->LoadFromWorkspace(&GetSharedGlobals()->m_settings, FALSE);
    }
    CFormMDIWnd* pFrame = m_chartSlots[nSlot];
    pFrame->ShowWindow(SW_SHOW);
    pFrame->MDIActivate();
    pView->SetSettingsKey(nSlot);
    pView->ApplyChoice(*pChoice);
}

void CZORVAT32App::RefreshCharts(LPCSTR pszSymbol)
{
    for (CFormMDIWnd* pFrame : m_chartSlots) {
        if (pFrame == nullptr)
            continue;
        IChartView* pView = ChartViewOf(pFrame);
        // A chart not ready (restored hidden, or still waiting) is passed over, not an end.
        if (pView == nullptr || !pView->IsChartReady())
            continue;
        pView->RefreshSeries(pszSymbol);
    }
}

void CZORVAT32App::ResetCharts()
{
    RefreshCharts(nullptr);
}

void CZORVAT32App::RefreshChartsForSymbol(LPCSTR pszSymbol)
{
    if (pszSymbol != nullptr)
        RefreshCharts(pszSymbol);
}

void CZORVAT32App::SaveChartWindows()
{
    for (CFormMDIWnd* pFrame : m_chartSlots)
        if (pFrame != nullptr && pFrame->m_hWnd != nullptr)
            pFrame->SaveSettings();
}

void CZORVAT32App::LoadChartWindows()
{
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    for (int n = 0; n < CHART_SLOTS; ++n) {
        settings.SetSection(FormatChartViewKey(n));
        const CString strSymbol = static_cast<LPCSTR>(settings.GetString("TkrSymb", ""));
        if (strSymbol.IsEmpty())
            continue;
        const int nDuration = settings.GetInt("Duration", 0);
        const int nMarket = settings.GetInt("Market", 0);
        DropChartWindow(n);
        if (MakeChartWindow(n, nDuration == 0 ? CHART_KIND_INTRADAY : CHART_KIND_HISTORY, nMarket) != nullptr)
            dynamic_cast<IChartFrame*>(m_chartSlots[n])->LoadFromWorkspace(&settings, TRUE);
        else
            ReportLeftOut(ChartName(strSymbol));
    }
}

void CZORVAT32App::OnChartCommand(UINT nId)
{
    for (const auto& command : s_chartCommands)
        if (command.nId == nId)
            OpenChart(nullptr, command.nKind, command.nMarket);
}

void CZORVAT32App::OnMarketChartCommand(UINT)
{
    MarketDetail market;
    const CZorvatGlobals* pGlobals = GetGlobals();
    if (pGlobals != nullptr && pGlobals->LookupMarket(1, market) && market.m_nQuoteLookupFlag != 1) {
        OpenChart(nullptr, CHART_KIND_HISTORY, 1);
        return;
    }
    // The item stays offered to every user: one that cannot open a chart says why.
    CString strText;
    GetSharedGlobals()->LoadString(strText, IDS_NO_US_CHART);
    ShowMessageBox(strText, MB_OK | MB_ICONINFORMATION);
}
