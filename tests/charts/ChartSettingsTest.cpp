// The chart settings: which series the chooser's choices ask for again, and a workspace section
// brought back within the chooser's rules with the chart's own market.
#include <gtest/gtest.h>
#include "framework/base/SettingsFile.h"
#include "tests/charts/SeriesTestSupport.h"
#include "tests/market/dialogs/MarketDialogSupport.h"

namespace {
struct SettingsFixture : ::testing::Test
{
    CZorvatMessageSource source;
    void SetUp() override { RegisterMessageCodes(g_messageCodePairs); }
};
}

TEST_F(SettingsFixture, ChooserAsksAgainOnlyForTheSeriesWhoseShapeChanged)
{
    CSeriesChart chart(&source);
    CChartChoices choices;
    chart.FillChooser(choices);
    choices.m_strTicker = "ABC";
    choices.m_strMarket = "US";
    choices.m_nMarket = 4;
    choices.m_nDuration = 1;
    choices.m_nPeriod = 2;
    choices.m_nCompare = 1;
    // Each step changes the choices, then counts the requests of the main and comparison series.
    static const struct { const char* pszStep; void (*pfnChange)(CChartChoices&); int nMain, nComp; } steps[] = {
        {"first choice", [](CChartChoices&) {}, 1, 1},
        {"the same again", [](CChartChoices&) {}, 0, 0},
        {"bars, volume, bands", [](CChartChoices& c) { c.m_nLineType = 1; c.m_bShowVolume = FALSE; c.m_bStandardVariation = TRUE; }, 0, 0},
        {"another index", [](CChartChoices& c) { c.m_nCompare = 3; }, 0, 1},
        {"a typed comparison", [](CChartChoices& c) { c.m_nCompare = 0; c.m_strCompare = "XYZ"; }, 0, 1},
        {"weekly", [](CChartChoices& c) { c.m_nPeriod = 3; }, 1, 1},
        {"an average", [](CChartChoices& c) { c.m_nMovingAverage = 2; }, 1, 1},
        {"another ticker", [](CChartChoices& c) { c.m_strTicker = "ABD"; }, 1, 0},
        {"another market", [](CChartChoices& c) { c.m_strMarket = "US OTC"; }, 1, 0},
        {"today", [](CChartChoices& c) { c.m_nDuration = 0; c.m_nPeriod = 0; c.m_nMovingAverage = 0; }, 1, 1},
        {"fifteen minutes", [](CChartChoices& c) { c.m_nPeriod = 1; }, 0, 0},
        {"no comparison", [](CChartChoices& c) { c.m_strCompare = ""; }, 0, 0},
    };
    for (const auto& step : steps) {
        const size_t nMain = chart.main.lines.size(), nComp = chart.comp.lines.size();
        step.pfnChange(choices);
        chart.ApplyFromChooser(choices);
        EXPECT_EQ(step.nMain, static_cast<int>(chart.main.lines.size() - nMain)) << step.pszStep;
        EXPECT_EQ(step.nComp, static_cast<int>(chart.comp.lines.size() - nComp)) << step.pszStep;
    }
    EXPECT_EQ("&CD|XC||XYZ|1|4|12|0", chart.comp.lines[4]);
    // Filled back: an index by its code, any other text (even one differing in case) as typed.
    CChartChoices filled;
    for (const char* pszComp : {".IXIC", ".ixic", "", "XYZ"}) {
        choices.m_nCompare = 0;
        choices.m_strCompare = pszComp;
        chart.ApplyFromChooser(choices);
        chart.FillChooser(filled);
        const bool bIndex = std::string(pszComp) == ".IXIC";
        EXPECT_EQ(bIndex ? 2 : 0, filled.m_nCompare) << pszComp;
        EXPECT_STREQ(bIndex ? "" : pszComp, filled.m_strCompare) << pszComp;
    }
    EXPECT_STREQ("ABD", filled.m_strTicker);
    EXPECT_EQ(1, filled.m_nPeriod);
}

TEST_F(SettingsFixture, LoadBringsASectionWithinTheChoosersRulesAndAsksForItsOwnMarket)
{
    CReferenceMarkets markets;
    // Stored keys (ticker, comparison, duration, period, average, market; "-" not stored), then
    // what the chart asks for. Volume not stored reads as hidden.
    static const struct { const char *pszTicker, *pszComp, *pszDuration, *pszPeriod, *pszAverage, *pszMarket;
                          const char *pszMain, *pszComp2; int nPeriod; } cases[] = {
        {"ABC", "", "1", "2", "4", "4", "&CD|XC||ABC|1|3|20|4", nullptr, 2},
        {"ABC", ".DJI", "9", "4", "3", "4", "&CD|XC||ABC|0|0|0|4", "&CD|XC||.DJI|0|0|0|4", 0},
        {"ABC", "", "-3", "1", "0", "8", "&CD|XC||ABC|0|0|0|8", nullptr, 1},
        {"ABC", "", "3", "1", "12", "4", "&CD|XC||ABC|3|4|0|4", nullptr, 3},
        {"ABC", "", "5", "2", "7", "4", "&CD|XC||ABC|5|5|200|4", nullptr, 4},
        {"NBK", "", "2", "3", "1", "2", "&KH|XC||||NBK|2|4|5", nullptr, 3},
        {"ABC", "", "1", "2", "0", "-", "&CD|XC||ABC|1|3|0|0", nullptr, 2},
        {"-", "XYZ", "1", "2", "0", "4", nullptr, nullptr, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pszTicker) + " " + c.pszDuration + " " + c.pszPeriod + " " + c.pszMarket);
        CSettingsFile ini;
        ini.SetSection("ChartView1");
        const struct { const char *pszKey, *pszValue; } keys[] = {
            {"TkrSymb", c.pszTicker}, {"TkrSymbComp", c.pszComp}, {"Duration", c.pszDuration},
            {"Period", c.pszPeriod},  {"MovingAverage", c.pszAverage}, {"Market", c.pszMarket}};
        for (const auto& key : keys)
            if (std::string(key.pszValue) != "-")
                ini.WriteString(key.pszKey, key.pszValue);
        CSeriesChart chart(&source);
        chart.Load(ini);
        EXPECT_EQ(c.pszMain ? std::vector<std::string>{c.pszMain} : std::vector<std::string>{}, chart.main.lines);
        EXPECT_EQ(c.pszComp2 ? std::vector<std::string>{c.pszComp2} : std::vector<std::string>{}, chart.comp.lines);
        if (c.pszMain == nullptr) {
            EXPECT_TRUE(chart.IsShowVolume());      // untouched: a new chart's
            continue;
        }
        EXPECT_EQ(c.nPeriod, chart.GetPeriod());
        EXPECT_FALSE(chart.IsShowVolume());
        EXPECT_TRUE(CZorvatChartSettings::IsPeriodAllowed(chart.GetDuration(), chart.GetPeriod()));
        // Saved and loaded again, the chart asks for the same; the market name is not stored.
        CSettingsFile saved;
        saved.SetSection("ChartView2");
        chart.Save(saved);
        EXPECT_EQ(nullptr, saved.GetValue("ChartView2", "MarketName"));
        CSeriesChart again(&source);
        again.Load(saved);
        EXPECT_EQ(chart.main.lines, again.main.lines);
        EXPECT_EQ(chart.GetMarketName(), again.GetMarketName());
    }
}
