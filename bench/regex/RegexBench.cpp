// The dictionaries' regular expressions, compiled once, against user-interface texts, each beside
// the C library's POSIX engine asked for ten match slots as the dictionary needs its groups; and
// our engine alone on long texts where backtracking could explode.
#include "framework/base/Regex.h"
#include <benchmark/benchmark.h>
#include <regex.h>
#include <cstdlib>
#include <string>

namespace {

const char* const s_patterns[] = {"Connected", "^NBK", "ZAIN|NBK|KFH", "Order (.*) filled", "[0-9]+\\.[0-9]+",
                                  "\\<cat\\>"};

// Window titles, menu items and status texts of the lengths the dictionary sees; some match.
const char* const s_texts[] = {
    "Connected to server",
    "NBK 0.345 1200",
    "Market watch - Kuwait Stock Exchange",
    "Order 1742 filled at 0.345",
    "Disconnected",
    "Last trade 12.50 KWD",
    "the cat sat on the mat",
    "File",
    "Open portfolio...",
    "Order entry: buy 1000 ZAIN at market, valid for the day",
};
const int TEXT_COUNT = sizeof s_texts / sizeof s_texts[0];

void BM_Ours(benchmark::State& state)
{
    tbre::regexp* pRe = tbre::regcomp(s_patterns[state.range(0)]);
    int nMatches = 0;
    for (auto _ : state)
        for (const char* pszText : s_texts)
            nMatches += tbre::regexec(pRe, pszText);
    benchmark::DoNotOptimize(nMatches);
    state.SetItemsProcessed(state.iterations() * TEXT_COUNT);
    state.SetLabel(s_patterns[state.range(0)]);
    free(pRe);
}

void BM_CLibrary(benchmark::State& state)
{
    regex_t peer;
    regcomp(&peer, s_patterns[state.range(0)], REG_EXTENDED);
    regmatch_t match[10];
    int nMatches = 0;
    for (auto _ : state)
        for (const char* pszText : s_texts)
            nMatches += regexec(&peer, pszText, 10, match, 0) == 0;
    benchmark::DoNotOptimize(nMatches);
    state.SetItemsProcessed(state.iterations() * TEXT_COUNT);
    state.SetLabel(s_patterns[state.range(0)]);
    regfree(&peer);
}

// Expressions whose alternatives under repetition combine in exponentially many ways, on a text
// of state.range(1) bytes where every way must fail before the match near its end is found.
void BM_OursLongText(benchmark::State& state)
{
    static const char* const s_hard[] = {"(a|aa)*b", "(x+x+)+y", "[ab]*[ab]*[ab]*c"};
    const size_t nSize = static_cast<size_t>(state.range(1));
    std::string strText;
    switch (state.range(0)) {
    case 0:
        strText = std::string(nSize, 'a') + "cb";
        break;
    case 1:
        strText = std::string(nSize, 'x') + "zy";
        break;
    default:
        while (strText.size() < nSize)
            strText += "ab";
        strText += "dc";
        break;
    }
    tbre::regexp* pRe = tbre::regcomp(s_hard[state.range(0)]);
    int nMatches = 0;
    for (auto _ : state)
        nMatches += tbre::regexec(pRe, strText.c_str());
    benchmark::DoNotOptimize(nMatches);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(strText.size()));
    state.SetLabel(s_hard[state.range(0)]);
    free(pRe);
}

}  // namespace

BENCHMARK(BM_Ours)->DenseRange(0, 5);
BENCHMARK(BM_CLibrary)->DenseRange(0, 5);
BENCHMARK(BM_OursLongText)->ArgsProduct({{0, 1, 2}, {1 << 10, 1 << 20}})->Unit(benchmark::kMillisecond);
