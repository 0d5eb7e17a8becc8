#include "charts/ZorvatChartForm.h"

#include <memory>

#include "app/StockActions.h"
#include "app/TableMDIWnd.h"
#include "charts/ChartChooserDlg.h"
#include "charts/ZorvatChartView.h"
#include "framework/base/SharedGlobals.h"

BEGIN_MESSAGE_MAP(CZorvatChartForm, CFormChart)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

BOOL CZorvatChartForm::Create(UINT nTitleId, CWnd* pView, CFormMDIWnd** ppSlot)
{
    m_bRestore = FALSE;
    if (auto* pChart = dynamic_cast<CZorvatChartView*>(pView))
        SetSection(pChart->GetSettingsKey());
    return CFormChart::CreateForm(nTitleId, pView, ppSlot);
}

CZorvatChartView* CZorvatChartForm::GetChartView() const
{
    return dynamic_cast<CZorvatChartView*>(GetView());
}

void CZorvatChartForm::OnDestroy()
{
    m_bDestroying = TRUE;
    CFormChart::OnDestroy();
}

void CZorvatChartForm::SaveSettings()
{
    CZorvatChartView* pView = GetChartView();
    if (pView == nullptr || m_hWnd == nullptr || m_bDestroying)
        return;
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    SetSection(pView->GetSettingsKey());
    settings.SetSection(pView->GetSettingsKey());
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    GetWindowPlacement(&wp);
    const BOOL bVisible = IsWindowVisible();
    if (!bVisible)
        wp.showCmd = SW_SAVED_HIDDEN;
    settings.WriteWindowPlacement("WinPlace", &wp);
    if (bVisible)
        pView->Save(settings);
}

void CZorvatChartForm::LoadFromWorkspace(CSettingsFile* pFile, BOOL bSettings)
{
    CZorvatChartView* pView = GetChartView();
    if (pFile == nullptr || pView == nullptr)
        return;
    SetSection(pView->GetSettingsKey());
    CFormChart::LoadSettings(pFile);
    // A chart restored hidden takes its settings as well: shown later, it has its series.
    if (bSettings) {
        pFile->SetSection(pView->GetSettingsKey());
        pView->Load(*pFile);
    }
}

namespace {

// The chooser's answer, held by the application until the chart takes it.
struct CChartChoice : IChartChoice, CChartChoices {
};

class CChartMaker : public IChartMaker
{
public:
    std::unique_ptr<IChartChoice> AskChoice(int nKind, LPCSTR pszSymbol, int nMarket) override
    {
        CChartChooserDlg dlg(nKind == CHART_KIND_INTRADAY, pszSymbol, nMarket, nullptr);
        if (dlg.DoModal() != IDOK)
            return nullptr;
        auto pChoice = std::make_unique<CChartChoice>();
        static_cast<CChartChoices&>(*pChoice) = dlg;
        return pChoice;
    }
    CFormChart* MakeFrame() override { return new CZorvatChartForm; }
    CWnd* MakeView(int nKind, int nMarket) override { return new CZorvatChartView(nKind, nMarket); }
};

CChartMaker s_maker;

}  // namespace

void RegisterCharts()
{
    RegisterChartMaker(&s_maker);
}
