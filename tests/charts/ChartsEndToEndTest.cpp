// The chart windows end to end against the test server, logged in as the trader, in English
// and in Arabic: the chart commands through the chooser, the series requests they send, and the
// nine chart slots through a workspace saved and loaded.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "app/ChartWindows.h"
#include "app/FormMDIWnd.h"
#include "charts/ChartChooserDlg.h"
#include "charts/ZorvatChartDataHolder.h"
#include "charts/ZorvatChartForm.h"
#include "charts/ZorvatChartView.h"
#include "common/DialogSteps.h"
#include "framework/base/SharedGlobals.h"
#include "platform/win/gdi/ImageCodec.h"
#include "tests/market/MarketSessionSupport.h"

namespace {

struct ChartsSession : CMarketSession
{
    void SetUp() override { RegisterCharts(); }
    void TearDown() override
    {
        StopSession();
        RegisterChartMaker(nullptr);
    }
    CZORVAT32App& App() { return pRun->App(); }
    CZorvatChartView* ViewIn(int nSlot)
    {
        CFormMDIWnd* pFrame = App().GetChartWindow(nSlot);
        return pFrame != nullptr ? dynamic_cast<CZorvatChartView*>(pFrame->GetView()) : nullptr;
    }
    // The command's chooser answered with the ticker (and whatever more the step does), then OK.
    void OpenThroughChooser(UINT nCommand, const char* pszTicker, std::function<void(HWND)> fnMore = nullptr)
    {
        const std::string strTicker = pszTicker;
        RunDialogSteps({{IDC_CHART_TICKER, [=](HWND h) {
                             EnterText(h, IDC_CHART_TICKER, strTicker);
                             if (fnMore)
                                 fnMore(h);
                         }},
                        {IDC_CHART_TICKER, [](HWND h) { ClickControl(h, IDOK); }}});
        App().RunCommand(nCommand);
        EXPECT_TRUE(FinishedSteps()) << nCommand;
    }
    static std::string Text(UINT nId)
    {
        CString strText;
        GetSharedGlobals()->LoadString(strText, nId);
        return static_cast<LPCSTR>(strText);
    }
    static std::string Title(CWnd* pWnd)
    {
        CString strTitle;
        pWnd->GetWindowText(strTitle);
        return static_cast<LPCSTR>(strTitle);
    }
};

}  // namespace

// The chart commands open the chooser; its answer opens a chart window in the next slot, titled
// with the ticker and the span, which asks the server for its series: "CD" for the US markets,
// "KH" for the KSE.
TEST_F(ChartsSession, ChartCommandsOpenAChartOfTheChosenTickerInBothLanguages)
{
    for (bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        const std::string strLang = bArabic ? "ar" : "en";
        ASSERT_TRUE(StartSession({"--rate", "200"}, bArabic));
        OpenThroughChooser(33192, "ALPN", [&](HWND h) { SaveDialogScreenshot(h, "chart_chooser_" + strLang); });
        CZorvatChartView* pIntraday = ViewIn(0);
        ASSERT_NE(nullptr, pIntraday);
        EXPECT_TRUE(App().GetChartWindow(0)->IsWindowVisible());
        EXPECT_EQ("ALPN " + Text(IDS_CHART_DURATION_FIRST), Title(App().GetChartWindow(0)));
        ASSERT_TRUE(PumpUntil([&] { return RequestCount("CD") == 1; }));
        EXPECT_EQ(0u, Requests("CD")[0].find("&CD|")) << Requests("CD")[0];
        EXPECT_NE(std::string::npos, Requests("CD")[0].find("|ALPN|0|0|0|")) << Requests("CD")[0];

        OpenThroughChooser(33190, "BRKT");
        ASSERT_NE(nullptr, ViewIn(1)) << "the first slot's chart is shown: the next slot";
        EXPECT_EQ("BRKT " + Text(IDS_CHART_DURATION_FIRST + 1), Title(App().GetChartWindow(1)));
        ASSERT_TRUE(PumpUntil([&] { return RequestCount("CD") == 2; }));
        EXPECT_NE(std::string::npos, Requests("CD")[1].find("|BRKT|1|3|0|")) << "three months of days";

        OpenThroughChooser(33301, "101");
        ASSERT_NE(nullptr, ViewIn(2));
        ASSERT_TRUE(PumpUntil([&] { return RequestCount("KH") == 1; }));
        EXPECT_NE(std::string::npos, Requests("KH")[0].find("|XC||||101|0|0|0")) << Requests("KH")[0];
        StopSession();
    }
}
