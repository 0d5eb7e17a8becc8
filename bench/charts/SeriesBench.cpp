// The chart series on their hot paths: a 10,000-row "CD" reply through a holder from its header
// to "EN" (parsed as the link parses it, no painting), and the live quotes for a ticker that none
// of nine open charts shows, which every holder must pass by.
#include <memory>
#include <string>
#include <vector>
#include <benchmark/benchmark.h>
#include "tests/charts/SeriesTestSupport.h"

namespace {
void Fire(CZorvatMessageSource& source, CServerMessage& msg, const std::string& strLine)
{
    msg.Parse(strLine.c_str());
    if (msg.GetType() == MSG_EN)
        source.FireEN(&msg, -1);
    else if (msg.GetType() == MESSAGE_TYPE_DATA_ROW)
        source.FireRawLine(&msg, -1);
    else
        source.FireType(msg.GetType(), &msg, -1);
}

void BM_DailyReplyOf10000Rows(benchmark::State& state)
{
    RegisterMessageCodes(g_messageCodePairs);
    CZorvatMessageSource source;
    CSeriesChart chart(&source);
    chart.Choose("ABC", 1, 2);
    std::vector<std::string> lines = {"~CD|1|XC|1|ABC|1|3|0|0|0|0"};
    CNorvDate date(19900101);
    char szRow[128];
    for (int i = 0; i < 10000; ++i) {
        date.AddDays(date.DayOfWeek() == 5 ? 3 : 1);
        const double dClose = 50.0 + (i % 200) * 0.05;
        snprintf(szRow, sizeof(szRow), "%d|%.2f|%d|%.2f|%.2f|%.2f|%.3f|%.3f", date.GetPacked() - 20000000, dClose,
                 100000 + i, dClose + 0.4, dClose - 0.3, dClose - 0.1, dClose - 0.2, 0.8);
        lines.push_back(szRow);
    }
    lines.push_back("$EN|1|XC|0");
    CServerMessage msg(1);
    for (auto _ : state) {
        for (const std::string& strLine : lines)
            Fire(source, msg, strLine);
        benchmark::DoNotOptimize(chart.main.GetTail());
    }
    if (chart.main.GetTail() == nullptr || chart.main.GetTail()->m_nSeq != 9999)
        state.SkipWithError("the series is not whole");
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
}
BENCHMARK(BM_DailyReplyOf10000Rows)->Unit(benchmark::kMillisecond);

// Nine intraday charts, each with a comparison, complete; the quote names none of their tickers.
void BM_QuoteNoChartShows(benchmark::State& state, const char* pszLine)
{
    RegisterMessageCodes(g_messageCodePairs);
    CZorvatMessageSource source;
    std::vector<std::unique_ptr<CSeriesChart>> charts;
    for (int i = 0; i < 9; ++i) {
        charts.push_back(std::make_unique<CSeriesChart>(&source));
        const std::string strTicker = "T" + std::to_string(i);
        charts.back()->Choose(strTicker.c_str(), 0, 0, 4, ".DJI");
        CServerMessage msg(1);
        Fire(source, msg, "~CD|1|XC|1|" + strTicker + "|0|0|0|0|10|0");
        Fire(source, msg, "93000|10.00|100");
        Fire(source, msg, "$EN|1|XC|0");
    }
    CServerMessage msg(pszLine, 1);
    for (auto _ : state)
        source.FireType(msg.GetType(), &msg, -1);
    if (charts[0]->nUpdated != 0)
        state.SkipWithError("a chart took the quote");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(BM_QuoteNoChartShows, GS, "~GS|0|XC|8|ZZZ|0|2|10.00|||93000|||7#500|||10.20|9.90");
BENCHMARK_CAPTURE(BM_QuoteNoChartShows, QQ, "~QQ|0|XC|2|999|905|261208100000||||910|900|4000");
BENCHMARK_CAPTURE(BM_QuoteNoChartShows, IX, "~IX|0|XC|0|.XYZ|35010||35100|34900||1000|||||||||||261208100000");
}
