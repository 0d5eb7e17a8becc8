// The chart windows end to end against the test server, logged in as the trader, in English
// and in Arabic: the chart commands through the chooser, the series requests they send, and the
// nine chart slots through a workspace saved and loaded.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/AppCommands.h"
#include "app/ChartWindows.h"
#include "app/StockActions.h"
#include "app/FormMDIWnd.h"
#include "app/NorvMainFrame.h"
#include "charts/ChartAxis.h"
#include "charts/ChartChooserDlg.h"
#include "charts/ChartPoint.h"
#include "charts/ZorvatChart.h"
#include "charts/ZorvatChartDataHolder.h"
#include "charts/ZorvatChartForm.h"
#include "charts/ZorvatChartView.h"
#include "common/DialogSteps.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/gdi/PixelBuffer.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/TestAnswers.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/app/AppTestSupport.h"
#include "tests/market/MarketSessionSupport.h"
#include "tests/common/WindowPixels.h"

namespace {

struct ChartsSession : CMarketSession
{
    void SetUp() override { RegisterCharts(); }
    void TearDown() override
    {
        StopSession();
        RegisterChartMaker(nullptr);
        // The session's times would stay in the process's reference data: today's charts of
        // the tests after take the default day again.
        if (CZorvatGlobals* pGlobals = GetGlobals()) {
            pGlobals->SetFirstMarketTime(CNorvTime());
            pGlobals->SetSecondMarketTime(CNorvTime());
        }
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
    // A live quote of the symbol with a last price has gone out.
    bool HasTraded(const std::string& strSymbol) const
    {
        for (const std::string& strLine : server.Log())
            if (strLine.rfind("> ~GS|0|XC|8|" + strSymbol + "|", 0) == 0) {
                const CServerMessage quote(strLine.c_str() + 2, 1);
                if (quote.GetDouble(3, 0) > 0)
                    return true;
            }
        return false;
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
// "KH" for the KSE. A new chart steps down from the one before, as a cascade does.
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
        CRect rcFirst, rcSecond;
        App().GetChartWindow(0)->GetWindowRect(&rcFirst);
        App().GetChartWindow(1)->GetWindowRect(&rcSecond);
        EXPECT_GT(rcSecond.top, rcFirst.top) << "the new chart stands below the first one's caption";
        EXPECT_NE(rcFirst.left, rcSecond.left);
        EXPECT_EQ("BRKT " + Text(IDS_CHART_DURATION_FIRST + 1), Title(App().GetChartWindow(1)));
        ASSERT_TRUE(PumpUntil([&] { return RequestCount("CD") == 2; }));
        EXPECT_NE(std::string::npos, Requests("CD")[1].find("|BRKT|1|3|0|")) << "three months of days";

        OpenThroughChooser(33301, "101");
        ASSERT_NE(nullptr, ViewIn(2));
        ASSERT_TRUE(PumpUntil([&] { return RequestCount("KH") == 1; }));
        EXPECT_NE(std::string::npos, Requests("KH")[0].find("|XC||||101|0|0|0")) << Requests("KH")[0];

        // A US command whose chooser is given the KSE in its market list charts a KSE stock.
        const std::string strKse = static_cast<LPCSTR>(GetGlobals()->GetMarketName(CHART_MARKET_KSE));
        OpenThroughChooser(33192, "102", [&](HWND h) { ChooseItem(h, IDC_CHART_MARKET, strKse); });
        ASSERT_NE(nullptr, ViewIn(3));
        ASSERT_TRUE(PumpUntil([&] { return RequestCount("KH") == 2; }));
        EXPECT_NE(std::string::npos, Requests("KH")[1].find("|XC||||102|0|0|0")) << Requests("KH")[1];
        EXPECT_EQ(2, RequestCount("CD")) << "the KSE stock is not asked for with \"CD\"";
        StopSession();
    }
}

// Nine charts saved and loaded with the workspace: a hidden one comes back hidden (saved with
// 1111) with its settings and series, a maximised one comes back in its normal place; a tenth chart
// takes the hidden one's slot at its saved place, and with another kind it destroys the frame
// it replaces; with all nine shown the next chart reuses the next slot in turn.
TEST_F(ChartsSession, NineChartsComeBackWithTheWorkspaceAndATenthReusesASlot)
{
    ASSERT_TRUE(StartSession({"--rate", "200"}, false));
    const char* const apszTickers[] = {"ALPN", "BRKT", "CDRX", "DLMR", "EVTN", "FRGT", "GLNT", "HXLA", "IRDN"};
    for (int n = 0; n < 9; ++n) {
        OpenThroughChooser(n % 2 == 0 ? 33192 : 33190, apszTickers[n]);
        ASSERT_NE(nullptr, ViewIn(n)) << n;
        EXPECT_EQ("ChartView" + std::to_string(n), ViewIn(n)->GetSettingsKey());
    }
    ASSERT_TRUE(PumpUntil([&] { return RequestCount("CD") == 9; }));
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    // Slot 2 moves to a place of its own and is saved shown, so its section keeps its ticker;
    // then it is hidden and slot 4 maximised, and the workspace saved again.
    App().GetChartWindow(2)->SetWindowPos(nullptr, 120, 130, 330, 240, SWP_NOZORDER | SWP_NOACTIVATE);
    App().SaveWorkspace();
    App().GetChartWindow(2)->SendMessage(WM_CLOSE);
    EXPECT_FALSE(App().GetChartWindow(2)->IsWindowVisible()) << "a chart frame hides when closed";
    App().GetChartWindow(4)->ShowWindow(SW_SHOWMAXIMIZED);
    App().SaveWorkspace();
    WINDOWPLACEMENT wp = {};
    settings.SetSection("ChartView2");
    settings.GetWindowPlacement(&wp, "WinPlace", &wp, nullptr);
    EXPECT_EQ(1111u, wp.showCmd);
    EXPECT_STREQ("CDRX", settings.GetValue("ChartView2", "TkrSymb"));
    EXPECT_STREQ("EVTN", settings.GetValue("ChartView4", "TkrSymb"));
    const std::vector<HWND> before = [&] {
        std::vector<HWND> handles;
        for (int n = 0; n < 9; ++n)
            handles.push_back(App().GetChartWindow(n)->m_hWnd);
        return handles;
    }();

    App().LoadWorkspace(App().GetWorkspaceFile(), TRUE);
    for (int n = 0; n < 9; ++n) {
        SCOPED_TRACE(n);
        EXPECT_FALSE(::IsWindow(before[n])) << "the chart in the slot before is gone";
        ASSERT_NE(nullptr, ViewIn(n));
        EXPECT_EQ(n != 2, App().GetChartWindow(n)->IsWindowVisible() != FALSE);
        EXPECT_TRUE(ViewIn(n)->IsChartReady()) << "a chart restored hidden loads its settings too";
    }
    EXPECT_FALSE(App().GetChartWindow(4)->IsZoomed()) << "a maximised chart comes back normal";
    EXPECT_EQ("EVTN " + Text(IDS_CHART_DURATION_FIRST), Title(App().GetChartWindow(4)));
    ASSERT_TRUE(PumpUntil([&] { return RequestCount("CD") == 9 + 9; }));
    EXPECT_NE(std::string::npos, Requests("CD")[9 + 2].find("|CDRX|0|0|0|")) << "the hidden chart asks for its series";

    // The tenth chart: the hidden slot 2, today's chart, is made again for a history at the
    // place slot 2 was saved with; the frame it replaces is destroyed.
    EXPECT_EQ(CHART_KIND_INTRADAY, ViewIn(2)->GetChartKind()) << "restored hidden, it keeps its kind";
    const HWND hHidden = App().GetChartWindow(2)->m_hWnd;
    OpenThroughChooser(33190, "JSPR");
    EXPECT_FALSE(::IsWindow(hHidden));
    ASSERT_NE(nullptr, ViewIn(2));
    EXPECT_EQ("JSPR " + Text(IDS_CHART_DURATION_FIRST + 1), Title(App().GetChartWindow(2)));
    CRect rc;
    App().GetChartWindow(2)->GetWindowRect(&rc);
    App().GetChartWindow(2)->GetParent()->ScreenToClient(&rc);
    EXPECT_EQ(120, rc.left);
    EXPECT_EQ(130, rc.top);
    // All nine shown: the next slot in turn, 3, whose historical chart is kept for another one.
    CFormMDIWnd* pThird = App().GetChartWindow(3);
    OpenThroughChooser(33190, "KLVR");
    EXPECT_EQ(pThird, App().GetChartWindow(3));
    EXPECT_EQ("KLVR " + Text(IDS_CHART_DURATION_FIRST + 1), Title(pThird));
}

namespace {
// The chart maker of the program, but the first view it makes never says it is ready.
class CFirstNotReady : public IChartMaker
{
public:
    struct CNotReadyView : CZorvatChartView {
        using CZorvatChartView::CZorvatChartView;
        BOOL IsChartReady() const override { return FALSE; }
    };
    IChartMaker* pReal = GetChartMaker();
    bool bMade = false;
    std::unique_ptr<IChartChoice> AskChoice(int nKind, LPCSTR pszSymbol, int nMarket) override
    {
        return pReal->AskChoice(nKind, pszSymbol, nMarket);
    }
    CFormChart* MakeFrame() override { return pReal->MakeFrame(); }
    CWnd* MakeView(int nKind, int nMarket) override
    {
        if (bMade)
            return pReal->MakeView(nKind, nMarket);
        bMade = true;
        return new CNotReadyView(nKind, nMarket);
    }
};
}  // namespace

// The US market's state 4 ("MM") clears every chart's series and asks for them again: the
// main and comparison series of a US chart, and a KSE chart's; a chart not ready in the first
// slot is passed over, not the end of the walk.
TEST_F(ChartsSession, MarketStateFourAsksForEverySeriesAgain)
{
    for (bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        CFirstNotReady maker;
        RegisterChartMaker(&maker);
        strData = CopyServerData("chartreset");
        ASSERT_FALSE(strData.empty());
        // The schedule's request is answered with the state, so the test says when it comes.
        std::ofstream(strData + "/session.txt", std::ios::app) << "\n[VS]\n~MM|0|XC||4|1\n";
        ASSERT_TRUE(StartSession({"--rate", "200", "--data", strData}, bArabic));
        OpenThroughChooser(33190, "BRKT");
        OpenThroughChooser(33192, "ALPN", [](HWND h) { ClickControl(h, 1749); });
        OpenThroughChooser(33301, "101");
        ASSERT_TRUE(PumpUntil([&] { return RequestCount("CD") == 3 && RequestCount("KH") == 1; }));
        App().SendRequest(MSG_VS, "");
        ASSERT_TRUE(PumpUntil([&] { return RequestCount("CD") == 5 && RequestCount("KH") == 2; }))
            << RequestCount("CD") << " " << RequestCount("KH");
        PumpFor(200);
        const std::vector<std::string> cd = Requests("CD");
        ASSERT_EQ(5u, cd.size()) << "the chart that is not ready asks for nothing again";
        EXPECT_EQ(cd[1].substr(cd[1].find("|XC|")), cd[3].substr(cd[3].find("|XC|")));
        EXPECT_EQ(cd[2].substr(cd[2].find("|XC|")), cd[4].substr(cd[4].find("|XC|")));
        EXPECT_NE(std::string::npos, cd[2].find("|.GSPC|"));
        StopSession();
        RegisterCharts();
    }
}

namespace {
int PixelsIn(HWND hWnd, const RECT& rc, COLORREF cr = RGB(0, 0, 255))
{
    HDC hdc = GetDC(hWnd);
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += GetPixel(hdc, x, y) == cr;
    ReleaseDC(hWnd, hdc);
    return n;
}
}  // namespace

namespace {

// Every price the series took: a reply row counts one, each live quote one more.
int PricesTaken(const CZorvatChartDataHolder* pHolder)
{
    int nPrices = 0;
    for (const CChartPoint* p = pHolder->GetHead(); p != nullptr; p = p->m_pNext)
        nPrices += p->m_nCount;
    return nPrices;
}

int PointCount(const CZorvatChartDataHolder* pHolder)
{
    int nPoints = 0;
    for (const CChartPoint* p = pHolder->GetHead(); p != nullptr; p = p->m_pNext)
        ++nPoints;
    return nPoints;
}

// The picture of a chart frame. A chart that draws stands whole in it: both panes' frames show
// their lines across (the price pane's top and bottom, the volume pane's) and down the far side.
void ShootChart(CFormMDIWnd* pFrame, const std::string& strName, bool bDrawn = false)
{
    pFrame->SetWindowPos(nullptr, 0, 0, 640, 420, SWP_NOMOVE | SWP_NOZORDER);
    pFrame->GetView()->Invalidate();
    pFrame->GetView()->UpdateWindow();
    const std::string strPath = ScreenshotPath(strName);
    ASSERT_TRUE(TbSaveWindowPng(pFrame->m_hWnd, strPath.c_str())) << strName;
    CTbPixelBuffer image;
    if (!bDrawn || !TbGetImageCodec()->Load(strPath.c_str(), &image, nullptr))
        return;
    std::vector<int> rows(image.Height()), columns(image.Width());
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (TbPixelToColor(image.Row(y)[x]) == RGB(0, 0, 0))
                ++rows[y], ++columns[x];
    const auto nRows = std::count_if(rows.begin(), rows.end(), [&](int n) { return n > image.Width() / 2; });
    const auto nColumns = std::count_if(columns.begin(), columns.end(), [&](int n) { return n > image.Height() / 2; });
    EXPECT_GE(nRows, 4) << strName << ": both panes show from top to bottom";
    EXPECT_GE(nColumns, 1) << strName << ": the plots show from side to side";
}
}  // namespace

// Today's chart takes the day's minutes from "CD" and grows from the live "GS" quotes of its
// ticker; a year of weeks compared with an index takes both series; a KSE chart takes "KH".
// Before the US market opens, today's chart has no data and says so.
TEST_F(ChartsSession, ChartsTakeTheirSeriesAndTodaysGrowsFromLiveQuotes)
{
    for (bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        const std::string strLang = bArabic ? "ar" : "en";
        ASSERT_TRUE(StartSession({"--rate", "200", "--clock", "2026-12-08 19:30:00"}, bArabic));
        // The day's minutes are there once the symbol has traded: its quotes are followed.
        App().SendRequest(MSG_GS, "ALPN|1");
        ASSERT_TRUE(PumpUntil([&] { return HasTraded("ALPN"); }, 20000));
        OpenThroughChooser(33192, "ALPN", [](HWND h) { ClickControl(h, 1752); });
        CZorvatChartView* pToday = ViewIn(0);
        ASSERT_NE(nullptr, pToday);
        ShootChart(App().GetChartWindow(0), "chart_waiting_" + strLang);
        CZorvatChartDataHolder* pMain = pToday->GetMainHolder();
        ASSERT_TRUE(PumpUntil([&] { return pMain->IsComplete(); })) << pRun->InfoText();
        const int nPrices = PricesTaken(pMain);
        EXPECT_GT(PointCount(pMain), 100) << "three hours of minutes";
        ASSERT_TRUE(PumpUntil([&] { return PricesTaken(pMain) > nPrices + 2; }, 20000)) << "live quotes";
        ShootChart(App().GetChartWindow(0), "chart_window_" + strLang, true);
        EXPECT_GT(PixelsIn(pToday->m_hWnd, pToday->GetPriceChart()->GetPlotRect()), 100) << "the day's bars show";
        {
            // The volume's legend reads whole, in either language, as the regular weight of its
            // light face draws it: its band starts in the gap after the ticker's line.
            LOGFONTA lf = {};
            lf.lfHeight = 12;
            lf.lfWeight = FW_NORMAL;
            lf.lfCharSet = DEFAULT_CHARSET;
            snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "Arial");
            HFONT hFont = CreateFontIndirectA(&lf);
            HDC hdc = GetDC(pToday->m_hWnd);
            HGDIOBJ hOld = SelectObject(hdc, hFont);
            SIZE size = {};
            GetTextExtentPoint32A(hdc, "ALPN", 4, &size);
            SelectObject(hdc, hOld);
            ReleaseDC(pToday->m_hWnd, hdc);
            const RECT rcPlot = pToday->GetPriceChart()->GetPlotRect();
            const RECT rcBand = {rcPlot.left + 5 + size.cx + 20, rcPlot.top + 2, rcPlot.right, rcPlot.top + 2 + size.cy};
            EXPECT_TRUE(SameInk(InkOfText(hFont, Text(55317)), InkOfWindow(pToday->m_hWnd, rcBand)));
            DeleteObject(hFont);
        }
        // The axis spans the US session of "MT" in New York time, two hours either side; the
        // day's minutes start at its open and, with the live points, stand inside the plot.
        const CZorvatGlobals* pGlobals = GetGlobals();
        EXPECT_EQ(163000, pGlobals->GetFirstMarketTime().GetPacked());
        const int nOpen = pGlobals->GetFirstMarketTimeNY().GetSecondsOfDay();
        const CChartAxis& axis = *pToday->GetPriceChart()->GetXAxis();
        EXPECT_EQ(nOpen - 7200, axis.m_nMin);
        EXPECT_EQ(pGlobals->GetSecondMarketTimeNY().GetSecondsOfDay() + 7200, axis.m_nMax);
        EXPECT_EQ(nOpen, pMain->GetHead()->m_nTime);
        const RECT rcPlot = pToday->GetPriceChart()->GetPlotRect();
        int nOutside = 0, nFirstOutside = -1;
        for (const CChartPoint* p = pMain->GetHead(); p != nullptr; p = p->m_pNext) {
            const double dX = rcPlot.left + static_cast<double>(p->m_nTime - axis.m_nMin) *
                                                (rcPlot.right - rcPlot.left) / (axis.m_nMax - axis.m_nMin);
            if (dX < rcPlot.left || dX > rcPlot.right)
                nFirstOutside = nOutside++ == 0 ? p->m_nTime : nFirstOutside;
        }
        EXPECT_EQ(0, nOutside) << "first at " << nFirstOutside << " s, of " << PointCount(pMain);

        OpenThroughChooser(33190, "BRKT", [](HWND h) {
            ClickControl(h, 1728);
            ClickControl(h, 1749);
        });
        CZorvatChartView* pCompared = ViewIn(1);
        ASSERT_NE(nullptr, pCompared);
        ASSERT_TRUE(PumpUntil([&] {
            return pCompared->GetMainHolder()->IsComplete() && pCompared->GetCompHolder()->IsComplete();
        })) << pRun->InfoText();
        EXPECT_GT(PointCount(pCompared->GetMainHolder()), 40) << "a year of weeks";
        EXPECT_GT(PointCount(pCompared->GetCompHolder()), 40);
        ShootChart(App().GetChartWindow(1), "chart_comparison_" + strLang, true);

        OpenThroughChooser(33300, "101");
        CZorvatChartView* pKse = ViewIn(2);
        ASSERT_NE(nullptr, pKse);
        ASSERT_TRUE(PumpUntil([&] { return pKse->GetMainHolder()->IsComplete(); })) << pRun->InfoText();
        EXPECT_GT(PointCount(pKse->GetMainHolder()), 50) << "three months of KSE days";
        StopSession();

        ASSERT_TRUE(StartSession({"--rate", "200", "--clock", "2026-12-08 12:00:00"}, bArabic));
        OpenThroughChooser(33192, "ALPN");
        ASSERT_NE(nullptr, ViewIn(0));
        ASSERT_TRUE(PumpUntil([&] { return ViewIn(0)->GetMainHolder()->IsComplete(); }));
        EXPECT_EQ(0, PointCount(ViewIn(0)->GetMainHolder())) << "no trade before the open";
        ShootChart(App().GetChartWindow(0), "chart_no_data_" + strLang);
        StopSession();
    }
}


// Today's KSE chart draws the day's minutes that "KH" sends (the session's hours are those the
// schedule gives); a stock the server does not know ends the wait with the server's error; the
// chooser's index comparisons go with the US market; a real double click opens the chooser.
TEST_F(ChartsSession, KseTodayDrawsItsMinutesAndTheChooserFollowsTheMarket)
{
    for (bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        const std::string strLang = bArabic ? "ar" : "en";
        ASSERT_TRUE(StartSession({"--rate", "200", "--clock", "2026-12-08 10:00:00"}, bArabic));
        OpenThroughChooser(33301, "101");
        CZorvatChartView* pKse = ViewIn(0);
        ASSERT_NE(nullptr, pKse);
        ASSERT_TRUE(PumpUntil([&] { return pKse->GetMainHolder()->IsComplete(); })) << pRun->InfoText();
        EXPECT_GE(PointCount(pKse->GetMainHolder()), 60) << "09:00 to 10:00, a minute each";
        ShootChart(App().GetChartWindow(0), "chart_kse_today_" + strLang, true);
        const CRect rcPlot = pKse->GetPriceChart()->GetPlotRect();
        EXPECT_GT(PixelsIn(pKse->m_hWnd, rcPlot), 60) << "the line shows";
        EXPECT_EQ(rcPlot.Width(), PixelsIn(pKse->m_hWnd, CRect(rcPlot.left, rcPlot.top, rcPlot.right, rcPlot.top + 1),
                                           RGB(0, 0, 0)))
            << "the frame's top line runs whole, the legend under it";

        // After a resize nothing of the drawing before stays: the window is what a fresh paint gives.
        App().GetChartWindow(0)->SetWindowPos(nullptr, 0, 0, 760, 520, SWP_NOMOVE | SWP_NOZORDER);
        PumpFor(100);
        const std::vector<COLORREF> resized = WindowPixels(pKse->m_hWnd);
        pKse->Invalidate();
        pKse->UpdateWindow();
        EXPECT_TRUE(resized == WindowPixels(pKse->m_hWnd)) << "the drawing before the resize stayed";

        // A real double click on the chart, behind another one, opens its chooser.
        OpenThroughChooser(33300, "101");
        ASSERT_NE(nullptr, ViewIn(1));
        RunDialogSteps({{IDC_CHART_TICKER, [](HWND h) {
                             EXPECT_EQ("101", ControlText(h, IDC_CHART_TICKER));
                             ClickControl(h, IDCANCEL);
                         }}});
        POINT pt = {100, 60};
        pKse->ClientToScreen(&pt);
        for (UINT uMsg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP})
            TbDisplayMouse(pKse->m_hWnd, uMsg, uMsg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, pt);
        EXPECT_TRUE(PumpUntil([] { return FinishedSteps(); })) << "the chooser came";

        // A stock the server does not know: the chart stops waiting and the error is shown.
        OpenThroughChooser(33301, "999");
        ASSERT_NE(nullptr, ViewIn(2));
        EXPECT_TRUE(PumpUntil([&] { return ViewIn(2)->GetMainHolder()->IsComplete(); })) << "no endless wait";
        EXPECT_EQ(0, PointCount(ViewIn(2)->GetMainHolder()));
        EXPECT_FALSE(pRun->InfoText().empty());

        // A US chart with an index chosen, then the KSE in the market list: the index gives way.
        const std::string strKse = static_cast<LPCSTR>(GetGlobals()->GetMarketName(CHART_MARKET_KSE));
        OpenThroughChooser(33192, "102", [&](HWND h) {
            ClickControl(h, 1749);
            ChooseItem(h, IDC_CHART_MARKET, strKse);
            for (int nId : {1747, 1748, 1749})
                EXPECT_FALSE(IsWindowEnabled(GetDlgItem(h, nId))) << nId;
            EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(h, IDC_CHART_COMPARE, BM_GETCHECK, 0, 0));
        });
        ASSERT_TRUE(PumpUntil([&] { return RequestCount("KH") == 4; }));
        PumpFor(200);
        EXPECT_EQ(4, RequestCount("KH")) << "no index asked for on the KSE";
        EXPECT_EQ(0, RequestCount("CD"));
        StopSession();
    }
}

// Today's KSE chart restored with the workspace draws its day at the first login of a program:
// its series is answered before the login's schedule, which gives the session's hours.
TEST_F(ChartsSession, KseTodayRestoredAtAProgramsFirstLoginDrawsItsDay)
{
    const std::vector<std::string> options = {"--rate", "200", "--clock", "2026-12-08 10:00:00"};
    for (bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        ASSERT_TRUE(StartSession(options, bArabic));
        OpenThroughChooser(33301, "101");
        ASSERT_NE(nullptr, ViewIn(0));
        ASSERT_TRUE(PumpUntil([&] { return ViewIn(0)->GetMainHolder()->IsComplete(); }));
        App().SaveWorkspace();
        const std::string strFolder = pRun->Folder();
        StopSession();

        GetGlobals()->ClearSchedule();
        ASSERT_TRUE(StartSession(options, bArabic, strFolder));
        CZorvatChartView* pKse = ViewIn(0);
        ASSERT_NE(nullptr, pKse);
        ASSERT_TRUE(PumpUntil([&] { return pKse->GetMainHolder()->IsComplete(); })) << pRun->InfoText();
        const std::vector<std::string> log = server.Log();
        const auto Sent = [&](const char* pszStart) {
            return std::find_if(log.begin(), log.end(), [&](const std::string& s) { return s.rfind(pszStart, 0) == 0; });
        };
        ASSERT_LT(Sent("> ~KH|"), Sent("> ~GM|")) << "the series came first";
        EXPECT_EQ("101 " + Text(IDS_CHART_DURATION_FIRST), Title(App().GetChartWindow(0)));
        EXPECT_GE(PointCount(pKse->GetMainHolder()), 60) << "09:00 to 10:00, a minute each";
        for (const CChartPoint* p = pKse->GetMainHolder()->GetHead(); p != nullptr; p = p->m_pNext) {
            EXPECT_GE(p->m_nTime, GetGlobals()->GetScheduleTime(2).GetSecondsOfDay()) << "inside the session";
            EXPECT_LE(p->m_nTime, GetGlobals()->GetScheduleTime(3).GetSecondsOfDay()) << "inside the session";
        }
        ShootChart(App().GetChartWindow(0), std::string("chart_kse_restored_") + (bArabic ? "ar" : "en"), true);
        EXPECT_GT(PixelsIn(pKse->m_hWnd, pKse->GetPriceChart()->GetPlotRect()), 60) << "the line shows";
        StopSession();
    }
}

// A chart on the desktop: a new one opens large enough to draw; its view fills the frame at
// every size, maximised and restored; maximised, its title (where the readout shows) stands in
// the main window's; a double click gives the chooser the chart's comparison again.
TEST_F(ChartsSession, AChartFillsItsWindowAndMaximisedTitlesTheMainWindow)
{
    for (bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        ASSERT_TRUE(StartSession({"--rate", "200"}, bArabic));
        OpenThroughChooser(33190, "BRKT", [](HWND h) { EnterText(h, IDC_CHART_COMPARE_TEXT, "ALPN"); });
        CFormMDIWnd* pFrame = App().GetChartWindow(0);
        CZorvatChartView* pView = ViewIn(0);
        ASSERT_NE(nullptr, pView);
        ASSERT_TRUE(PumpUntil([&] { return pView->GetMainHolder()->IsComplete() && pView->GetCompHolder()->IsComplete(); }));
        CRect rc;
        pFrame->GetWindowRect(&rc);
        EXPECT_EQ(CSize(640, 480), rc.Size()) << "a chart with no saved place";
        const auto expectFills = [&](const char* pszWhen) {
            CRect rcClient, rcView;
            pFrame->GetClientRect(&rcClient);
            pFrame->ClientToScreen(&rcClient);
            pView->GetWindowRect(&rcView);
            EXPECT_EQ(rcClient, rcView) << pszWhen;
        };
        for (const CSize size : {CSize(400, 300), CSize(1100, 700)}) {
            pFrame->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
            expectFills("resized");
        }
        CWnd* pMain = App().GetMainFrame();
        const std::string strMain = Title(pMain);
        pFrame->MDIMaximize();
        expectFills("maximised");
        const POINT pt = CRect(pView->GetPriceChart()->GetPlotRect()).CenterPoint();
        pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        EXPECT_NE(std::string::npos, Title(pFrame).find("BRKT " + Text(IDS_CHART_DURATION_FIRST + 1) + " (")) << "the readout";
        EXPECT_EQ(strMain + " - [" + Title(pFrame) + "]", Title(pMain));
        pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        pFrame->MDIRestore();
        expectFills("restored");
        EXPECT_EQ(strMain, Title(pMain));

        RunDialogSteps({{IDC_CHART_TICKER, [](HWND h) {
                             EXPECT_EQ("ALPN", ControlText(h, IDC_CHART_COMPARE_TEXT));
                             ClickControl(h, IDCANCEL);
                         }}});
        pView->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(pt.x, pt.y));
        EXPECT_TRUE(FinishedSteps());
        StopSession();
    }
}

// Charts > US chart: a user whose market list has no US market is told why no chart opens; for
// the others it asks for a ticker of the US markets. (The trader last: the process keeps the
// market list of the last session, which the chooser tests read.)
TEST_F(ChartsSession, UsChartOpensOnTheUsMarketsOrSaysWhyNot)
{
    ASSERT_TRUE(server.Start({"--rate", "200"}));
    pRun = std::make_unique<CTerminalRun>(false);
    ASSERT_TRUE(pRun->StartLoggedIn(server.Port(), "guest1", "guest1"));
    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDOK, ""});
    App().RunCommand(ID_APP_CHART_MARKET_1);
    EXPECT_EQ(0, TbPendingTestAnswers()) << "the user is told why";
    EXPECT_EQ(nullptr, App().GetChartWindow(0));
    StopSession();

    ASSERT_TRUE(StartSession({"--rate", "200"}, false));
    OpenThroughChooser(ID_APP_CHART_MARKET_1, "BRKT");
    ASSERT_NE(nullptr, ViewIn(0));
    EXPECT_EQ(GetGlobals()->GetMarketName(1), ViewIn(0)->GetMarketName());
    EXPECT_TRUE(PumpUntil([&] { return RequestCount("CD") == 1; }));
}

namespace {
// The volumes of the rows of the last "CD" reply for a ticker, as the server sent them.
std::vector<long long> SentVolumes(const std::vector<std::string>& log, const std::string& strTicker)
{
    std::vector<long long> volumes;
    bool bIn = false;
    for (const std::string& strLine : log) {
        if (strLine.rfind("> ", 0) != 0)
            continue;
        const std::string strBody = strLine.substr(2);
        if (strBody.rfind("~CD|", 0) == 0 || strBody.rfind("$CD|", 0) == 0) {
            bIn = strBody.find("|" + strTicker + "|") != std::string::npos;
            if (bIn)
                volumes.clear();
            continue;
        }
        if (!bIn)
            continue;
        if (strBody[0] == '$' || strBody[0] == '~' || strBody[0] == '@') {
            bIn = false;
            continue;
        }
        const CServerMessage row(strBody.c_str(), 1);
        volumes.push_back(std::stoll(static_cast<LPCSTR>(row.GetFieldText(2))));
    }
    return volumes;
}
}  // namespace

// An index trades billions of shares a day: a three-month daily chart of ".DJI" (and its weekly
// and monthly charts) stands each day's volume bar in proportion to what the server sent, on a
// volume axis that reaches the largest of them, in both languages.
TEST_F(ChartsSession, AnIndexsVolumesInTheBillionsStandInProportionOnAnAxisThatHoldsThem)
{
    for (bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        ASSERT_TRUE(StartSession({"--rate", "200"}, bArabic));
        int nSlot = 0;
        // Each historical period the chooser offers, with the shortest span that allows it.
        for (int nPeriod = 0; nPeriod < 5; ++nPeriod) {
            int nDuration = 1;
            while (nDuration < CHART_DURATION_COUNT && !CZorvatChartSettings::IsPeriodAllowed(nDuration, nPeriod))
                ++nDuration;
            if (nPeriod < 2 || nDuration == CHART_DURATION_COUNT)
                continue;
            SCOPED_TRACE("period " + std::to_string(nPeriod));
            // The span first: the period's button is enabled once the span is taken.
            RunDialogSteps({{IDC_CHART_TICKER, [=](HWND h) {
                                 EnterText(h, IDC_CHART_TICKER, ".DJI");
                                 ClickControl(h, IDC_CHART_DURATION + nDuration);
                             }},
                            {IDC_CHART_TICKER, [=](HWND h) {
                                 // The period buttons in their group's order.
                                 HWND hButton = GetDlgItem(h, IDC_CHART_PERIOD);
                                 for (int i = 0; i < nPeriod; ++i)
                                     hButton = GetWindow(hButton, GW_HWNDNEXT);
                                 ClickControl(h, GetDlgCtrlID(hButton));
                             }},
                            {IDC_CHART_TICKER, [](HWND h) { ClickControl(h, IDOK); }}});
            App().RunCommand(33190);
            ASSERT_TRUE(FinishedSteps());
            CZorvatChartView* pView = ViewIn(nSlot);
            CFormMDIWnd* pFrame = App().GetChartWindow(nSlot++);
            ASSERT_NE(nullptr, pView);
            ASSERT_EQ(nPeriod, pView->GetPeriod());
            ASSERT_TRUE(PumpUntil([&] { return pView->GetMainHolder()->IsComplete(); })) << pRun->InfoText();
            const std::vector<long long> sent = SentVolumes(server.Log(), ".DJI");
            ASSERT_GT(sent.size(), 2u);
            const long long nLargest = *std::max_element(sent.begin(), sent.end());
            EXPECT_GT(nLargest, static_cast<long long>(INT_MAX)) << "an index's day passes 2^31";
            ShootChart(pFrame, std::string("chart_index_volume_") + (bArabic ? "ar_" : "en_") + std::to_string(nPeriod));

            // Each bar's height, read from the window: its column of the volume pane, from above
            // the plot's floor line up.
            CZorvatChart* pVolume = pView->GetVolumeChart();
            const RECT rcPlot = pVolume->GetPlotRect();
            const CChartAxis& x = *pVolume->GetXAxis();
            HDC hdc = GetDC(pView->m_hWnd);
            const int yFloor = pVolume->GetYAxis()->ValueToPixel(0) + rcPlot.top;
            const int nFull = yFloor - (pVolume->GetYAxis()->ValueToPixel(pVolume->GetYAxis()->m_nMax) + rcPlot.top);
            std::vector<int> heights;
            for (const CChartPoint* p = pView->GetMainHolder()->GetHead(); p != nullptr; p = p->m_pNext) {
                const int xBar = x.ValueToPixel(p->m_nSeq - pVolume->m_nBarWidth / 2) + rcPlot.left;
                if (xBar < rcPlot.left || xBar >= rcPlot.right)
                    continue;
                int nHeight = 0;
                while (yFloor - 1 - nHeight >= rcPlot.top && GetPixel(hdc, xBar, yFloor - 1 - nHeight) == pVolume->GetMainColor())
                    ++nHeight;
                heights.push_back(nHeight);
            }
            ReleaseDC(pView->m_hWnd, hdc);
            ASSERT_EQ(sent.size(), heights.size()) << "every bar in view";
            const int nTallest = *std::max_element(heights.begin(), heights.end());
            EXPECT_LT(nTallest, nFull) << "the largest stands under the axis's top";
            for (size_t i = 0; i < sent.size(); ++i) {
                const double dWanted = static_cast<double>(sent[i]) / static_cast<double>(nLargest) * nTallest;
                EXPECT_NEAR(dWanted, heights[i], 2.0) << "bar " << i << " of " << sent[i] << " shares";
            }
            // The axis's labels reach the largest: its top, in the legend's millions.
            EXPECT_EQ(6, pVolume->GetYAxis()->m_nExponent) << "millions";
            CString strTop;
            pVolume->GetYAxis()->GetLabel(pVolume->GetYAxis()->m_nMax, strTop);
            EXPECT_GE(atof(strTop) * 1e6, static_cast<double>(nLargest)) << static_cast<LPCSTR>(strTop);
        }
        // A stock charted next in the index's closed window counts plain shares again: in
        // thousands, a day of a few hundred shares would draw no bar.
        CZorvatChartView* pIndexView = ViewIn(0);
        App().GetChartWindow(0)->SendMessage(WM_CLOSE);
        OpenThroughChooser(33190, "BRKT");
        ASSERT_EQ(pIndexView, ViewIn(0));
        ASSERT_TRUE(PumpUntil([&] { return !SentVolumes(server.Log(), "BRKT").empty() && pIndexView->GetMainHolder()->IsComplete(); }));
        EXPECT_EQ(1, pIndexView->GetVolumeChart()->GetYAxis()->GetUnit());
        StopSession();
    }
}
