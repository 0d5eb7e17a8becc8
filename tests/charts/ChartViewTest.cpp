// The chart view as a user meets it: the chooser through its controls (the lines the holders
// send counted on recording holders), the panes and the splitter, the readout in the title,
// and live quotes redrawing one bar or laying the chart out again.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ChartDrawTestSupport.h"
#include "SeriesTestSupport.h"
#include "charts/ChartChooserDlg.h"
#include "charts/ZorvatChart.h"
#include "charts/ZorvatChartView.h"
#include "common/DialogSteps.h"
#include "tests/app/AppTestSupport.h"
#include "tests/link/LinkDoubles.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "platform/mfc/DC.h"
#include "refdata/ZorvatGlobals.h"

namespace {

// A chart view whose holders keep the lines they would send.
class CTestChartView : public CZorvatChartView
{
public:
    explicit CTestChartView(CZorvatMessageSource* pSource)
        : CZorvatChartView(new CRecordingHolder(0, pSource), new CRecordingHolder(1, pSource))
    {
    }
    // The lines sent since the last call, main then comparison, as "main;comp", each without
    // its market code: the markets the chooser lists are the process's reference data.
    std::string TakeLines()
    {
        std::string strText;
        for (CZorvatChartDataHolder* pHolder : {m_pMainHolder, m_pCompHolder}) {
            auto& lines = static_cast<CRecordingHolder*>(pHolder)->lines;
            for (const std::string& strLine : lines)
                strText += strLine.substr(0, strLine.rfind('|')) + " ";
            lines.clear();
            strText += ";";
        }
        return strText;
    }
};

// A top-level frame holding one chart view of 600 x 400 client pixels.
class ChartViewFixture : public ::testing::Test
{
protected:
    CTestChartView* MakeView(CWnd& frame, int cy = 400)
    {
        EXPECT_TRUE(frame.CreateEx(0, nullptr, "", WS_OVERLAPPED, 0, 0, 640, cy + 60, nullptr, nullptr));
        frame.ShowWindow(SW_SHOW);
        auto* pView = new CTestChartView(&source);
        EXPECT_TRUE(pView->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, cy), &frame, 1));
        return pView;
    }
    std::string FrameTitle(CWnd& frame)
    {
        CString strTitle;
        frame.GetWindowText(strTitle);
        return static_cast<LPCSTR>(strTitle);
    }
    void Choose(CZorvatChartView* pView, const char* pszTicker, int nDuration, int nPeriod, int nLineType = 0,
                BOOL bVolume = TRUE)
    {
        CChartChoices choices;
        pView->FillChooser(choices);
        choices.m_strTicker = pszTicker;
        choices.m_nDuration = nDuration;
        choices.m_nPeriod = nPeriod;
        choices.m_nLineType = nLineType;
        choices.m_bShowVolume = bVolume;
        pView->ApplyFromChooser(choices);
    }
    // A line as the dispatcher hands it on: "EN", a reply's data row, or a typed line.
    void Fire(const std::string& strLine) { FireLine(source, strLine.c_str()); }
    // Today's trades of "IBM" from 09:30, one a minute, rising a cent and 1,000 shares a minute.
    void FeedDay(int nMinutes)
    {
        Fire("~CD|1|XC||IBM|0|0|0|0|10.00|0");
        for (int i = 0; i < nMinutes; ++i) {
            const int t = 34200 + 60 * i;
            char szRow[64];
            snprintf(szRow, sizeof szRow, "%02d%02d00|%.2f|%d", t / 3600, t / 60 % 60, 10.0 + i * 0.01, 1000 + 10 * i);
            Fire(szRow);
        }
        Fire("$EN|1|XC");
    }
    static std::string Quote(const char* pszLast, const char* pszTime, const char* pszVolume)
    {
        return std::string("~GS|0|XC|8|IBM|0|2|") + pszLast + "|||" + pszTime + "|||7#" + pszVolume;
    }
    void Paint(CWnd* pView)
    {
        pView->Invalidate();
        pView->UpdateWindow();
    }
    // The window's pixels now, in a canvas of its size.
    void Grab(CWnd* pView, CChartCanvas& canvas)
    {
        CClientDC dc(pView);
        canvas.GetDC()->BitBlt(0, 0, canvas.m_cx, canvas.m_cy, &dc, 0, 0, SRCCOPY);
    }

    CTestLanguage language;             // the English templates and texts, whatever ran before
    CZorvatMessageSource source;
};

// A rectangle's rows "top-bottom": the width of a chart follows its bar fit.
std::string Rows(const RECT& rc)
{
    return std::to_string(rc.top) + "-" + std::to_string(rc.bottom);
}

BOOL Checked(HWND hDlg, int nId)
{
    return SendMessageA(GetDlgItem(hDlg, nId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
BOOL Enabled(HWND hDlg, int nId)
{
    return IsWindowEnabled(GetDlgItem(hDlg, nId));
}

}  // namespace

// Each double click opens the chooser on the chart's settings; what the user does there decides
// which series are asked for again, and the title follows.
TEST_F(ChartViewFixture, ChooserThroughItsControlsAsksOnlyForTheSeriesItsChoicesReshape)
{
    CWnd frame;
    CTestChartView* pView = MakeView(frame);
    // Each case is the user's steps, one at a time as the dialog takes them; the last ends it.
    struct CASE {
        const char* pszName;
        std::vector<std::function<void(HWND)>> steps;
        const char* pszLines;               // "main lines;comparison lines;"
        const char* pszTitle;
    };
    const std::vector<CASE> cases = {
        {"a new chart: a ticker typed, a year, the period moved to weekly, an average",
         {[](HWND h) {
              EXPECT_FALSE(Enabled(h, IDOK)) << "no ticker yet";
              EXPECT_TRUE(Checked(h, IDC_CHART_DURATION)) << "a new chart is today's";
              EXPECT_FALSE(Enabled(h, IDC_CHART_AVERAGE_FIRST));
              EnterText(h, IDC_CHART_TICKER, "IBM");
          },
          [](HWND h) {
              EXPECT_TRUE(Enabled(h, IDOK));
              ClickControl(h, 1728);
          },
          [](HWND h) {
              EXPECT_TRUE(Checked(h, 1742)) << "a year allows weekly and monthly bars only";
              EXPECT_FALSE(Enabled(h, 1738));
              EXPECT_FALSE(Enabled(h, 1740));
              EXPECT_TRUE(Enabled(h, 1741));
              ClickControl(h, 1734);
          },
          [](HWND h) { ClickControl(h, IDOK); }},
         "&CD|XC||IBM|3|4|20 ;;", "IBM 1 Year"},
        {"the same choices again", {[](HWND h) { ClickControl(h, IDOK); }}, ";;", "IBM 1 Year"},
        {"a comparison with an index",
         {[](HWND h) { ClickControl(h, 1749); },
          [](HWND h) {
              EXPECT_TRUE(GetWindowLongA(GetDlgItem(h, IDC_CHART_COMPARE_TEXT), GWL_STYLE) & ES_READONLY);
              ClickControl(h, IDOK);
          }},
         ";&CD|XC||.GSPC|3|4|20 ;", "IBM 1 Year"},
        {"cancelled after choosing today",
         {[](HWND h) { ClickControl(h, IDC_CHART_DURATION); }, [](HWND h) { ClickControl(h, IDCANCEL); }},
         ";;", "IBM 1 Year"},
        {"today: five-minute bars, no average, both series again",
         {[](HWND h) {
              EXPECT_TRUE(Checked(h, 1749)) << "the chart's comparison shows";
              EXPECT_TRUE(Checked(h, 1734));
              ClickControl(h, IDC_CHART_DURATION);
          },
          [](HWND h) {
              EXPECT_TRUE(Checked(h, IDC_CHART_PERIOD));
              EXPECT_TRUE(Checked(h, IDC_CHART_AVERAGE));
              EXPECT_FALSE(Enabled(h, IDC_CHART_BANDS));
              ClickControl(h, IDOK);
          }},
         "&CD|XC||IBM|0|0|0 ;&CD|XC||.GSPC|0|0|0 ;", "IBM Today"},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.pszName);
        std::vector<DIALOG_STEP> steps;
        for (const auto& fnStep : c.steps)
            steps.push_back({IDC_CHART_TICKER, fnStep});
        RunDialogSteps(steps);
        pView->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(100, 100));
        EXPECT_TRUE(FinishedSteps());
        EXPECT_EQ(c.pszLines, pView->TakeLines());
        EXPECT_EQ(c.pszTitle, FrameTitle(frame));
    }
    // The KSE charts no index: only a typed comparison, and the stock-number hint.
    CChartChooserDlg kse(FALSE, "101", CHART_MARKET_KSE, &frame);
    RunDialogSteps({{IDC_CHART_TICKER, [](HWND h) {
                         for (int nId : {1747, 1748, 1749})
                             EXPECT_FALSE(Enabled(h, nId)) << nId;
                         EXPECT_TRUE(Enabled(h, IDC_CHART_COMPARE));
                         EXPECT_FALSE(ControlVisible(h, IDC_CHART_NOTE_US));
                         EXPECT_TRUE(ControlVisible(h, IDC_CHART_NOTE_KSE));
                         EXPECT_EQ("101", ControlText(h, IDC_CHART_TICKER));
                         ClickControl(h, IDCANCEL);
                     }}});
    EXPECT_EQ(IDCANCEL, kse.DoModal());
    frame.DestroyWindow();
}

// The panes share the client area above the bottom margin; the splitter moves the share where
// the mouse lets go, unclamped, and the title reads the values under the held button.
TEST_F(ChartViewFixture, PanesSplitWhereTheUserDragsAndTheTitleReadsUnderTheHeldButton)
{
    CWnd frame;
    CTestChartView* pView = MakeView(frame);
    Choose(pView, "IBM", 0, 0);
    FeedDay(60);
    // 400 pixels high: the price pane down to trunc(385 x 0.7) + 15, the strip, the volume pane
    // to 385; each chart keeps its margin of 7.
    EXPECT_EQ(284, pView->GetSplitY());
    EXPECT_EQ("284-287", Rows(pView->GetSplitterRect()));
    EXPECT_EQ("7-277", Rows(pView->GetPriceChart()->GetChartRect()));
    EXPECT_EQ("294-378", Rows(pView->GetVolumeChart()->GetChartRect()));

    // The drag marker moves over saved rows: where it was, the picture comes back exactly.
    Paint(pView);
    CChartCanvas before(600, 400), during(600, 400);
    Grab(pView, before);
    pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 285));
    pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 150));
    pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 200));
    Grab(pView, during);
    int nChanged = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 600; ++x)
            if (before.Pixel(x, y) != during.Pixel(x, y)) {
                ++nChanged;
                ASSERT_TRUE(y >= 200 && y < 203) << "the marker left a trace at " << x << "," << y;
            }
    EXPECT_GT(nChanged, 0) << "the marker shows";
    pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(300, 200));
    EXPECT_DOUBLE_EQ(185.0 / 385, pView->GetPriceShare());
    EXPECT_EQ(static_cast<int>(385 * (185.0 / 385)) + 15, pView->GetSplitY());

    // Let go above the margin: the share goes below 0 as it is, and the next drag recovers.
    pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, pView->GetSplitY() + 1));
    pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(300, 10));
    EXPECT_DOUBLE_EQ(-5.0 / 385, pView->GetPriceShare());
    pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, pView->GetSplitY() + 1));
    pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(300, 284));
    EXPECT_DOUBLE_EQ(269.0 / 385, pView->GetPriceShare());

    // The readout: the frame title while the button is held on a pane, back when it is let go.
    const std::string strTitle = FrameTitle(frame);
    EXPECT_EQ("IBM Today", strTitle);
    pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 100));
    const std::string strReadout = FrameTitle(frame);
    EXPECT_EQ(0u, strReadout.find(strTitle + " (")) << strReadout;
    EXPECT_EQ(')', strReadout.back());
    pView->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(210, 100));
    EXPECT_EQ(strTitle, FrameTitle(frame)) << "a move without the button ends the readout";

    // Without the volume pane the price pane reaches the bottom margin.
    Choose(pView, "IBM", 0, 0, 0, FALSE);
    EXPECT_EQ(385, pView->GetSplitY());
    EXPECT_EQ("7-378", Rows(pView->GetPriceChart()->GetChartRect()));
    frame.DestroyWindow();
}

// A live quote inside the axes repaints only its bar's slot in each pane, and the window then
// shows what a full repaint of the same series shows; a quote beyond the axes lays them out.
TEST_F(ChartViewFixture, LiveQuoteInsideTheAxesRedrawsOnlyItsBarAndOneOutsideRelaysOut)
{
    CWnd frame1, frame2;
    CTestChartView* pLive = MakeView(frame1);
    CTestChartView* pFull = MakeView(frame2);
    for (CTestChartView* pView : {pLive, pFull})
        Choose(pView, "IBM", 0, 0, /*nLineType=*/1);
    FeedDay(90);                        // both views take the one reply: 09:30 to 10:59
    Paint(pLive);
    CChartCanvas before(600, 400), after(600, 400), full(600, 400);
    Grab(pLive, before);

    // 11:00:30 opens the slot 11:00 to 11:05 (10:55 to 11:00 ends at 11:00, both ends taken);
    // 11:05:00 falls on its end, so it is the same slot's, not the next one's.
    Fire(Quote("10.95", "110030", "500000"));
    Fire(Quote("10.40", "110500", "500000"));
    Grab(pLive, after);
    // The slot's rectangle from the chart's own axes: trunc((value - min) / scale) past the plot's left.
    const int k = 39630 / 300 * 300;
    auto slotLeft = [&](CZorvatChart* pChart, int v) {
        const CChartAxis* pX = pChart->m_pXAxis;
        return pChart->GetPlotRect().left + static_cast<int>((v - pX->m_nMin) / pX->m_dScale);
    };
    int nChanged = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 600; ++x) {
            if (before.Pixel(x, y) == after.Pixel(x, y))
                continue;
            ++nChanged;
            bool bInside = false;
            for (CZorvatChart* pChart : {pLive->GetPriceChart(), pLive->GetVolumeChart()}) {
                const RECT& rcPlot = pChart->GetPlotRect();
                bInside = bInside || (x >= slotLeft(pChart, k) - 1 && x <= slotLeft(pChart, k + 300) + 1 &&
                                      y >= rcPlot.top && y < rcPlot.bottom);
            }
            ASSERT_TRUE(bInside) << "a pixel outside the new bar changed at " << x << "," << y;
        }
    EXPECT_GT(nChanged, 0) << "the new bar shows";
    Paint(pFull);
    Grab(pFull, full);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 600; ++x)
            ASSERT_EQ(full.Pixel(x, y), after.Pixel(x, y)) << "unlike a full repaint at " << x << "," << y;

    // A price above the axis: the axis is made again to hold it.
    const int nMaxBefore = pLive->GetPriceChart()->m_pYAxis->m_nMax;
    Fire(Quote("14.00", "110130", "500100"));
    EXPECT_GT(pLive->GetPriceChart()->m_pYAxis->m_nMax, nMaxBefore);
    EXPECT_GE(pLive->GetPriceChart()->m_pYAxis->m_nMax, 1400);
    frame1.DestroyWindow();
    frame2.DestroyWindow();
}

// Prices whose doubles lie just below the cent read as quoted: in the readout under the held
// button and at the ends of the price axis (a day from 8.40 to 8.60 spans 8.20 to 8.70).
TEST_F(ChartViewFixture, PricesOnTheCentReadAsQuotedInTheReadoutAndOnTheAxis)
{
    CWnd frame;
    CTestChartView* pView = MakeView(frame);
    for (const char* pszPrice : {"2.30", "8.20", "0.29", "1.13"}) {
        SCOPED_TRACE(pszPrice);
        Choose(pView, "IBM", 0, 0);
        Fire("~CD|1|XC||IBM|0|0|0|0|0|0");
        Fire(std::string("093000|") + pszPrice + "|100");
        Fire("$EN|1|XC");
        CZorvatChart* pChart = pView->GetPriceChart();
        const int x = pChart->GetPlotRect().left + pChart->m_pXAxis->ValueToPixel(34200);
        pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 100));
        EXPECT_EQ(std::string("IBM Today (09:30 ") + pszPrice + ")", FrameTitle(frame));
        pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, 100));
    }
    Fire("~CD|1|XC||IBM|0|0|0|0|0|0");
    Fire("093000|8.40|100");
    Fire("093100|8.60|100");
    Fire("$EN|1|XC");
    CChartAxis* pY = pView->GetPriceChart()->m_pYAxis;
    CString strMin, strMax;
    pY->GetLabel(pY->m_nMin, strMin);
    pY->GetLabel(pY->m_nMax, strMax);
    EXPECT_EQ("8.20", std::string(strMin));
    EXPECT_EQ("8.70", std::string(strMax));
    frame.DestroyWindow();
}

namespace {
int CountPixels(CChartCanvas& canvas, COLORREF cr)
{
    int n = 0;
    for (int y = 0; y < canvas.m_cy; ++y)
        for (int x = 0; x < canvas.m_cx; ++x)
            n += canvas.Pixel(x, y) == cr;
    return n;
}
}  // namespace

// A chart that opened with no data (before the open, a pre-market trade its only minute) draws
// its first live quote: the quote lays
// the axes out, whatever the default axes held. An index's ticks on a comparison chart are
// weighed on the per-cent axis only: billions of index volume redraw one bar, no repaint.
TEST_F(ChartViewFixture, FirstLiveQuoteDrawsANoDataChartAndIndexTicksRedrawOneBar)
{
    CWnd frame;
    CTestChartView* pView = MakeView(frame);
    Choose(pView, "IBM", 0, 0, /*nLineType=*/1);
    Fire("~CD|1|XC||IBM|0|0|0|0|0|0");
    Fire("070000|5.00|1000");
    Fire("$EN|1|XC");
    EXPECT_EQ(nullptr, pView->GetMainHolder()->GetHead()) << "a minute before the axis's hours is no data";
    Paint(pView);
    CChartCanvas canvas(600, 400);
    Grab(pView, canvas);
    EXPECT_EQ(0, CountPixels(canvas, RGB(0, 0, 255))) << "no data yet";
    Fire(Quote("5.00", "050030", "1000"));
    EXPECT_EQ(nullptr, pView->GetMainHolder()->GetHead()) << "a quote before the axis's hours keeps no data";
    Fire(Quote("5.00", "100030", "1000"));
    pView->UpdateWindow();
    Grab(pView, canvas);
    EXPECT_GT(CountPixels(canvas, RGB(0, 0, 255)), 3) << "the first bar shows";

    // Today's IBM against .GSPC, both replies in; then two index ticks of a minute apart whose
    // volume difference is three billion.
    CChartChoices choices;
    pView->FillChooser(choices);
    choices.m_nCompare = 0;
    choices.m_strCompare = ".GSPC";
    pView->ApplyFromChooser(choices);
    FeedDay(90);
    Fire("~CD|1|XC||.GSPC|0|0|0|0|4000.00|0");
    Fire("093000|4000.00|100");
    Fire("103000|4080.00|100");
    Fire("$EN|1|XC");
    Paint(pView);
    const int nPriceMax = pView->GetPriceChart()->m_pYAxis->m_nMax;
    // Every per-cent label keeps its sign inside the window, the lowest the widest.
    Fire("~CD|1|XC||.GSPC|0|0|0|0|4000.00|0");
    Fire("093000|4000.00|100");
    Fire("103000|3400.00|100");
    Fire("$EN|1|XC");
    {
        CZorvatChart* pChart = pView->GetPriceChart();
        CString strLowest;
        pChart->m_pYAxis->GetLabel(pChart->m_pYAxis->m_nMin, strLowest);
        EXPECT_EQ("-15.50%", std::string(strLowest));
        CClientDC dc(pView);
        CFont* pOld = dc.SelectObject(&pChart->m_pYAxis->m_font);
        EXPECT_LE(dc.GetTextExtent(strLowest).cx, pChart->GetPlotRect().left - 7 - 5) << "room left of the ticks";
        dc.SelectObject(pOld);
        EXPECT_EQ(pChart->GetPlotRect().left, pView->GetVolumeChart()->GetPlotRect().left);
    }
    Fire("~CD|1|XC||.GSPC|0|0|0|0|4000.00|0");
    Fire("093000|4000.00|100");
    Fire("103000|4080.00|100");
    Fire("$EN|1|XC");
    Paint(pView);
    const int nVolumeMax = pView->GetVolumeChart()->m_pYAxis->m_nMax;
    auto index = [](const char* pszLast, const char* pszAt, const char* pszVolume) {
        return std::string("~IX|0|XC|8|.GSPC|") + pszLast + "||" + pszLast + "|" + pszLast + "||" + pszVolume +
               "|||||||||||20261208" + pszAt;
    };
    Fire(index("4040.00", "110030", "3000000000"));
    Fire(index("4050.00", "110130", "6000000000"));
    RECT rcUpdate;
    EXPECT_FALSE(::GetUpdateRect(pView->m_hWnd, &rcUpdate, FALSE)) << "no relayout, no repaint";
    EXPECT_EQ(nPriceMax, pView->GetPriceChart()->m_pYAxis->m_nMax);
    EXPECT_EQ(nVolumeMax, pView->GetVolumeChart()->m_pYAxis->m_nMax);
    EXPECT_EQ(39690, pView->GetCompHolder()->GetTail()->m_nTime) << "the ticks were taken";
    frame.DestroyWindow();
}

// Today's US chart while the session's hours are known: a live quote before the open, even at
// the axis's first second, leaves "no data" (no axes, no bar); the first quote inside the hours
// draws the chart.
TEST_F(ChartViewFixture, APreMarketQuoteAloneLeavesNoDataUntilAQuoteInsideTheHours)
{
    CZorvatGlobals* pGlobals = GetGlobals();
    const CNorvTime savedFirst = pGlobals->GetFirstMarketTime(), savedSecond = pGlobals->GetSecondMarketTime();
    CNorvTime opens, closes;
    opens.Set(17, 30, 0);
    closes.Set(23, 59, 0);
    pGlobals->SetFirstMarketTime(opens);
    pGlobals->SetSecondMarketTime(closes);
    int nOpen = 0, nClose = 0, nFirst = 0, nLast = 0;
    GetSessionHours(&nOpen, &nClose);
    GetIntradayRange(&nFirst, &nLast);
    ASSERT_LT(nFirst, nOpen);
    // A time of the axis's clock as the server writes it.
    const auto ServerTime = [](int nOnAxis) {
        const int t = (nOnAxis - IntradayClockShift() + 2 * 86400) % 86400;
        char sz[16];
        snprintf(sz, sizeof sz, "%02d%02d%02d", t / 3600, t / 60 % 60, t % 60);
        return std::string(sz);
    };
    CWnd frame;
    CTestChartView* pView = MakeView(frame);
    Choose(pView, "IBM", 0, 0, /*nLineType=*/1);
    Fire("~CD|1|XC||IBM|0|0|0|0|0|0");
    Fire("$EN|1|XC");
    CChartCanvas canvas(600, 400);
    for (const int nAt : {nFirst, nOpen - 60}) {
        Fire(Quote("48.25", ServerTime(nAt).c_str(), "1000"));
        Paint(pView);
        Grab(pView, canvas);
        EXPECT_EQ(0, CountPixels(canvas, RGB(0, 0, 255))) << "a quote before the open at " << nAt;
        EXPECT_FALSE(pView->GetMainHolder()->HasData());
    }
    Fire(Quote("48.30", ServerTime(nOpen + 1800).c_str(), "2000"));
    pView->UpdateWindow();
    Grab(pView, canvas);
    EXPECT_GT(CountPixels(canvas, RGB(0, 0, 255)), 3) << "the first quote inside the hours draws";
    frame.DestroyWindow();
    pGlobals->SetFirstMarketTime(savedFirst);
    pGlobals->SetSecondMarketTime(savedSecond);
}

// Today's line chart with no minute yet: the first quote inside the hours shows its price at
// once, a mark at its level in the price pane, beside its volume bar.
TEST_F(ChartViewFixture, TheFirstQuoteOfTheDayShowsItsPriceOnALineChart)
{
    CWnd frame;
    CTestChartView* pView = MakeView(frame);
    Choose(pView, "IBM", 0, 0);
    FeedDay(0);
    Fire(Quote("10.50", "100030", "1000"));
    Paint(pView);
    CChartCanvas canvas(600, 400);
    Grab(pView, canvas);
    CZorvatChart* pPrice = pView->GetPriceChart();
    const RECT rcPlot = pPrice->GetPlotRect();
    CPoint pt;
    pPrice->GetValuePoint(&pt, pView->GetMainHolder()->GetHead()->m_nTime, 10.50);
    int nInk = 0;
    for (int x = rcPlot.left; x < rcPlot.right; ++x)
        nInk += canvas.Pixel(x, pt.y) == pPrice->GetMainColor();
    EXPECT_GE(nInk, 3) << "the price's mark at its level";
    canvas.SavePng("chart_first_quote");

    // The minute's next quote moves the point: the mark moves with it, none stays behind; the
    // next minute's quote draws the line from it.
    auto inkAt = [&](double dPrice) {
        CPoint ptLevel;
        pPrice->GetValuePoint(&ptLevel, pView->GetMainHolder()->GetHead()->m_nTime, dPrice);
        Grab(pView, canvas);
        int n = 0;
        for (int x = rcPlot.left; x < rcPlot.right; ++x)
            for (int dy = -1; dy <= 1; ++dy)
                n += canvas.Pixel(x, ptLevel.y + dy) == pPrice->GetMainColor();
        return n;
    };
    Fire(Quote("10.30", "100045", "1000"));
    pView->UpdateWindow();
    const double dMoved = pView->GetMainHolder()->GetHead()->m_dClose;
    EXPECT_GE(inkAt(dMoved), 3) << "the mark at the minute's price";
    EXPECT_EQ(0, inkAt(10.50)) << "nothing left at the first quote's level";
    // The next minute stands in the same column of pixels: the line there is no wider than a
    // point, and the dash stays, at the new price.
    Fire(Quote("10.35", "100115", "1000"));
    pView->UpdateWindow();
    EXPECT_GE(inkAt(pView->GetMainHolder()->GetTail()->m_dClose), 3) << "the dash of a line one pixel wide";
    Fire(Quote("10.45", "100530", "1000"));
    pView->UpdateWindow();
    Grab(pView, canvas);
    CPoint ptFirst;
    pPrice->GetValuePoint(&ptFirst, pView->GetMainHolder()->GetHead()->m_nTime, pView->GetMainHolder()->GetHead()->m_dClose);
    int nBefore = 0;
    for (int x = ptFirst.x - 6; x < ptFirst.x - 1; ++x)
        for (int dy = -1; dy <= 1; ++dy)
            nBefore += canvas.Pixel(x, ptFirst.y + dy) == pPrice->GetMainColor();
    EXPECT_EQ(0, nBefore) << "a line starts at its first point: no dash left before it";
    EXPECT_GE(inkAt(10.45), 1) << "the line reaches the next minute's price";
    frame.DestroyWindow();
}
