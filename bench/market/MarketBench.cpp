// The quotation tables on their live road inside the terminal: a watch list of 500 US symbols
// shown in a window of 60 lines (change colours on) takes "GS" lines, full and compact, each
// parsed, fanned out through the message source, found by its keys and written in one batch,
// the window painting what changed every eighth line; beside it the odd-lot table takes an
// "SQ" reply of 10,000 rows with a "QQ" line every tenth row, from its header to the repaint
// after its "EN"; last, the quote lines again with all 500 symbols in the US time and sales
// (window hidden). Offscreen unless a display is given.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/NorvApp.h"
#include "app/NorvMainFrame.h"
#include "app/TableMDIWnd.h"
#include "bench/common/BenchMain.h"
#include "bench/market/MarketBenchSupport.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"
#include "link/MessageSource.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/OrderBookKSETable.h"
#include "market/QuotationOddLotKSETable.h"
#include "market/QuotationTable.h"
#include "market/TableLinks.h"
#include "market/TimeAndSalesTable.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/Windows.h"
#include "platform/win/kernel/Resources.h"
#include "refdata/ZorvatGlobals.h"

namespace {

const int SYMBOLS = 500;
const int ODD_LOTS = 10000;
const int LINES = 4096;                 // distinct lines cycled through
const int PAINT_EVERY = 8;

const char s_szSymbols[] = "0123456789|. #";
const char s_szAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// The server's compact form of a quote's fields: three symbols in two characters.
std::string Pack(const std::string& strText)
{
    std::vector<int> symbols;
    for (char ch : strText)
        symbols.push_back(static_cast<int>(strchr(s_szSymbols, ch) - s_szSymbols));
    while (symbols.size() % 3 != 0)
        symbols.push_back(15);
    std::string strPacked;
    for (size_t i = 0; i < symbols.size(); i += 3) {
        const int a = symbols[i] * 4 + symbols[i + 1] / 4;
        const int b = (symbols[i + 1] % 4) * 16 + symbols[i + 2];
        strPacked += a == 63 ? ',' : s_szAlphabet[a];
        strPacked += b == 63 ? ',' : s_szAlphabet[b];
    }
    return strPacked;
}

// The terminal's side of the road: the frame, the source, the reference data and both tables.
struct CMarketRoad
{
    CMarketRoad()
    {
        OpenBenchFrame("Market benchmark", source, pApp, pFrame);
        for (const std::string& strLine : {std::string("$XC|1|XC||0"), MarketRow(4, "Harbor"), MarketRow(8, "Atlantic"),
                                           std::string("$EN|1|XC|0")})
            Fire(source, strLine);
        pQuotes = new CQuotationTable(&source);
        pQuotes->Create();
        for (int nMarket : {4, 8}) {
            Fire(source, "$DS|1|XC||0||" + std::to_string(nMarket));
            for (int i = nMarket == 4 ? 0 : SYMBOLS / 2; i < (nMarket == 4 ? SYMBOLS / 2 : SYMBOLS); ++i)
                Fire(source, Ticker(i) + "|" + std::to_string(nMarket) + "|" + Ticker(i) + "|Name " + Ticker(i) +
                                 "|n|Company|c|USD|Sector|s");
            Fire(source, "$EN|1|XC|0");
        }
        Show(pQuotes);
        pOddLots = new CQuotationOddLotKSETable(&source);
        pOddLots->Create();
        Show(pOddLots);
        // Lines whose last price walks a little around 50, on random symbols of both markets.
        std::mt19937 rng(11);
        for (int n = 0; n < LINES; ++n) {
            const int i = static_cast<int>(rng() % SYMBOLS);
            char szFields[160];
            const double dLast = 50 + static_cast<int>(rng() % 200) / 100.0 - 1;
            snprintf(szFields, sizeof szFields, "0|2|%.2f|%.2f|%.2f|%06d|%d|%d|%d#%d|49.50|51.20|48.80|||49.90|211207",
                     dLast, dLast - 0.01, dLast + 0.01, 163000 + n % 3000, n % 9 + 1, n % 7 + 1, 1000 + n, 100000 + n * 10);
            const int nMarket = i < SYMBOLS / 2 ? 4 : 8;
            full.push_back("~GS|1|XC|" + std::to_string(nMarket) + "|" + Ticker(i) + "|" + szFields);
            compact.push_back("~GS|1|XC|" + std::to_string(nMarket) + "|" + Ticker(i) + "|" + Pack(szFields));
        }
    }
    ~CMarketRoad()
    {
        CloseBenchFrame(pApp, pFrame);
    }
    void Show(CDataTable* pTable)
    {
        CNorvApp::ShowTable(pTable);
        if (CTableMDIWnd* pWindow = pTable->GetMainWindow()) {
            pWindow->GetGrid().SetHighlightSeconds(5);
            // 60 whole lines.
            pWindow->MoveWindow(0, 0, 1500, pWindow->GetGrid().GetTitleHeight() + 62 * pWindow->GetGrid().GetRowHeight());
        }
        Pump();
    }

    CNorvApp* pApp = nullptr;
    CNorvMainFrame* pFrame = nullptr;
    CZorvatMessageSource source;
    CQuotationTable* pQuotes = nullptr;             // the table map owns both
    CQuotationOddLotKSETable* pOddLots = nullptr;
    CTimeAndSalesTable* pTrades = nullptr;
    COrderBookKSETable* pBook = nullptr;
    std::vector<std::string> full, compact;
};

CMarketRoad* s_pRoad = nullptr;

void BM_QuoteLine(benchmark::State& state, bool bCompact)
{
    const std::vector<std::string>& lines = bCompact ? s_pRoad->compact : s_pRoad->full;
    size_t n = 0;
    for (auto _ : state) {
        CServerMessage msg(lines[n % LINES].c_str(), 1);
        if (bCompact)
            s_pRoad->pQuotes->ExpandCompactQuote(&msg);
        s_pRoad->source.FireType(msg.GetType(), &msg, -1);
        if (++n % PAINT_EVERY == 0)
            Pump();
    }
    state.SetItemsProcessed(static_cast<int64_t>(n));
}
void BM_FullQuoteLine(benchmark::State& state) { BM_QuoteLine(state, false); }
void BM_CompactQuoteLine(benchmark::State& state) { BM_QuoteLine(state, true); }
BENCHMARK(BM_FullQuoteLine)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CompactQuoteLine)->Unit(benchmark::kMicrosecond);

// The same full lines with every symbol followed in the US time and sales too (its window
// hidden): each trade also becomes a row there.
void BM_FullQuoteLineWithTimeAndSales(benchmark::State& state)
{
    if (s_pRoad->pTrades == nullptr) {
        s_pRoad->pTrades = new CTimeAndSalesTable(&s_pRoad->source);
        s_pRoad->pTrades->Create();
        for (int i = 0; i < SYMBOLS; ++i)
            s_pRoad->pTrades->AddSymbol(Ticker(i).c_str());
    }
    BM_QuoteLine(state, false);
    state.counters["trades"] = s_pRoad->pTrades->GetRows()->GetCount();
}
BENCHMARK(BM_FullQuoteLineWithTimeAndSales)->Unit(benchmark::kMicrosecond);

// From the reply's header to the repaint after its end, the live lines held meanwhile applied.
void BM_OddLotRefill(benchmark::State& state)
{
    std::vector<std::string> rows, live;
    for (int i = 0; i < ODD_LOTS; ++i) {
        char szRow[160];
        snprintf(szRow, sizeof szRow, "%d||||||||||||||%d|||%d|211207101500|%d|3|%d.%03d", 1000 + i, 500 + i % 90,
                 505 + i % 90, 40 + i % 7, 20 + i % 9, i % 1000);
        rows.push_back(szRow);
        live.push_back(std::string("~QQ|1|XC|0|") + szRow);
    }
    for (auto _ : state) {
        Fire(s_pRoad->source, "~SQ|1|XC||0");
        for (int i = 0; i < ODD_LOTS; ++i) {
            Fire(s_pRoad->source, rows[static_cast<size_t>(i)]);
            if (i % 10 == 9)
                Fire(s_pRoad->source, live[static_cast<size_t>(i / 2)]);
        }
        Fire(s_pRoad->source, "$EN|1|XC|0");
        Pump();
    }
    state.counters["rows"] = s_pRoad->pOddLots->GetRows()->GetCount();
}
BENCHMARK(BM_OddLotRefill)->Unit(benchmark::kMillisecond);

// The KSE order book of 200 stocks of 20 levels, its window open (60 lines, default sort), under
// a stream of "OU" lines: 90 % change a level, 5 % add one, 5 % remove one; a tenth of them on
// the first stock. Each line is parsed, fanned out, found by its keys and written in one batch;
// the window paints what changed every eighth line. Argument 1: the window shows the first stock
// only.
const int BOOK_STOCKS = 200;
const int BOOK_LEVELS = 20;
const int BOOK_LINES = 1000000;

std::vector<std::string> MakeBookLines()
{
    std::vector<std::set<int>> levels(BOOK_STOCKS);
    for (auto& stock : levels)
        for (int i = 0; i < BOOK_LEVELS; ++i)
            stock.insert(100 + i);
    std::mt19937 rng(29);
    std::vector<std::string> lines;
    lines.reserve(BOOK_LINES);
    char szLine[96];
    for (int n = 0; n < BOOK_LINES; ++n) {
        const int nStock = rng() % 10 == 0 ? 0 : 1 + static_cast<int>(rng() % (BOOK_STOCKS - 1));
        std::set<int>& stock = levels[nStock];
        const int nKind = static_cast<int>(rng() % 100);
        int nPrice = 0;
        // A new level needs a free price among the 60 a stock may use.
        if ((nKind < 5 && stock.size() < 50) || stock.empty()) {
            do
                nPrice = 90 + static_cast<int>(rng() % 60);
            while (stock.count(nPrice) != 0);
            stock.insert(nPrice);
        } else {
            auto it = stock.begin();
            std::advance(it, rng() % stock.size());
            nPrice = *it;
            if (nKind < 10) {
                stock.erase(it);
                snprintf(szLine, sizeof szLine, "~OU|1|XC|0|%d|%d|0|0|0|0", 1000 + nStock, nPrice);
                lines.push_back(szLine);
                continue;
            }
        }
        snprintf(szLine, sizeof szLine, "~OU|1|XC|0|%d|%d|%d|%d|%d|%d", 1000 + nStock, nPrice,
                 static_cast<int>(rng() % 9 + 1), static_cast<int>(rng() % 90000 + 100), static_cast<int>(rng() % 9),
                 static_cast<int>(rng() % 90000 + 100));
        lines.push_back(szLine);
    }
    return lines;
}

void BM_OrderBookLive(benchmark::State& state)
{
    if (s_pRoad->pBook == nullptr) {
        s_pRoad->pBook = new COrderBookKSETable(&s_pRoad->source);
        s_pRoad->pBook->Create();
        Fire(s_pRoad->source, "~OB|1|XC||0");
        for (int nStock = 0; nStock < BOOK_STOCKS; ++nStock)
            for (int i = 0; i < BOOK_LEVELS; ++i)
                Fire(s_pRoad->source, std::to_string(1000 + nStock) + "|" + std::to_string(100 + i) + "|3|1500|2|900");
        Fire(s_pRoad->source, "$EN|1|XC|0");
        s_pRoad->Show(s_pRoad->pBook);
    }
    if (state.range(0) == 1)
        ShowRowsOf(s_pRoad->pBook, BC_STOCK, "1000");
    static const std::vector<std::string> lines = MakeBookLines();
    for (auto _ : state) {
        for (size_t n = 0; n < lines.size(); ++n) {
            CServerMessage msg(lines[n].c_str(), 1);
            s_pRoad->source.FireType(msg.GetType(), &msg, -1);
            if ((n + 1) % PAINT_EVERY == 0)
                Pump();
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(lines.size()));
    state.counters["rows"] = s_pRoad->pBook->GetRows()->GetCount();
}
BENCHMARK(BM_OrderBookLive)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    TbInitBenchmarks(&argc, &argv);
    if (!TbInitQtPlatform(&argc, argv))
        return 1;
    s_pRoad = new CMarketRoad;
    benchmark::RunSpecifiedBenchmarks();
    delete s_pRoad;
    benchmark::Shutdown();
    return 0;
}
