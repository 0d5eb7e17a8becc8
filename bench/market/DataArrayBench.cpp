// The row store of a quotation table with two views (by symbol; by change, descending), as a
// watch list shows it: key searches by text and by id, the batch a quote line writes (price,
// change, volume and the change's colour, one row update), the same line again (nothing to write),
// and a reply of the store's size loaded in bulk and sorted once. Sizes: a 500-symbol watch list
// and a 10,000-row reply.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <random>
#include <string>
#include <vector>
#include "market/DataArray.h"

namespace {

enum { COL_SYM, COL_NUMBER, COL_LAST, COL_CHG, COL_VOL, COL_COUNT };

class CQuoteRows
{
public:
    explicit CQuoteRows(int nRows, int nKeyColumn)
    {
        static const struct { const char* pszName; int nType; int nSize; } s_columns[] = {
            {"Sym", COLTYPE_STRING, 12}, {"Number", COLTYPE_INT32, 0}, {"Last", COLTYPE_DOUBLE, 0},
            {"Chg", COLTYPE_DOUBLE, 0},  {"Vol", COLTYPE_INT64, 0}};
        for (const auto& def : s_columns) {
            CColumn column = m_table.AddColumn();
            column.SetName(def.pszName);
            column.SetDataType(def.nType);
            if (def.nSize)
                column.SetSize(def.nSize);
        }
        m_table.SetAllowCut(FALSE);
        m_table.SetAllowPaste(FALSE);
        m_table.Open();
        m_table.AddView("Movers");
        CSortColumns bySymbol(30);
        bySymbol.Add(COL_SYM, SORT_ASCENDING);
        m_table.GetView(0)->Sort(bySymbol, FALSE);
        CSortColumns byChange(30);
        byChange.Add(COL_CHG, SORT_DESCENDING);
        m_table.GetView(1)->Sort(byChange, FALSE);
        m_rows.SetTable(&m_table);
        m_rows.SetKeyColumns({nKeyColumn});
        for (int i = 0; i < nRows; ++i) {
            char szSym[16];
            snprintf(szSym, sizeof szSym, "S%06d", i * 7919 % 1000003);
            m_symbols.push_back(szSym);
        }
        Load();
    }
    // A reply: every row appended unsorted, one sort at the end.
    void Load()
    {
        m_table.RemoveAllRows();
        m_rows.RemoveAll();
        m_rows.BeginUpdate();
        CDataBuffer* pWork = m_rows.NewRow();
        for (size_t i = 0; i < m_symbols.size(); ++i) {
            int32_t nNumber = static_cast<int32_t>(i);
            pWork->SetText(COL_SYM, m_symbols[i].c_str(), FALSE);
            pWork->SetValue(COL_NUMBER, &nNumber, FALSE);
            pWork->SetDouble(COL_LAST, 10.0 + static_cast<double>(i % 97), FALSE);
            pWork->SetDouble(COL_CHG, static_cast<double>(i % 13) - 6.0, FALSE);
            m_rows.AddRow(pWork, TRUE);
        }
        delete pWork;
        m_rows.EndUpdate();
    }
    int Count() const { return static_cast<int>(m_symbols.size()); }

    CTable m_table;
    CDataArray m_rows;
    std::vector<std::string> m_symbols;
};

void BM_FindRowByText(benchmark::State& state)
{
    CQuoteRows q(static_cast<int>(state.range(0)), COL_SYM);
    std::mt19937 rng(1);
    for (auto _ : state) {
        const std::string& strSym = q.m_symbols[rng() % static_cast<unsigned>(q.Count())];
        benchmark::DoNotOptimize(q.m_rows.FindRow({strSym.c_str()}));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FindRowByText)->Arg(500)->Arg(10000);

void BM_FindRowById(benchmark::State& state)
{
    CQuoteRows q(static_cast<int>(state.range(0)), COL_NUMBER);
    std::mt19937 rng(2);
    for (auto _ : state)
        benchmark::DoNotOptimize(q.m_rows.FindRowByIds({static_cast<LONG>(rng() % static_cast<unsigned>(q.Count()))}));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FindRowById)->Arg(500)->Arg(10000);

// A quote line: find, then price, change, volume and colour in one batch. The change moves the
// row in the second view.
void BM_QuoteBatch(benchmark::State& state)
{
    CQuoteRows q(static_cast<int>(state.range(0)), COL_SYM);
    std::mt19937 rng(3);
    LONGLONG nVol = 0;
    for (auto _ : state) {
        CDataBuffer* pRow = q.m_rows.FindRow({q.m_symbols[rng() % static_cast<unsigned>(q.Count())].c_str()});
        double dChange = static_cast<double>(rng() % 2001) / 100.0 - 10.0;
        pRow->BeginChanges();
        pRow->SetDouble(COL_LAST, 20.0 + dChange, TRUE);
        pRow->SetDouble(COL_CHG, dChange, TRUE);
        ++nVol;
        pRow->SetValue(COL_VOL, &nVol, TRUE);
        pRow->SetCellAttribute(COL_CHG, dChange > 0 ? 4 : 3);
        pRow->Commit();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_QuoteBatch)->Arg(500)->Arg(10000);

// The same line twice over: the second finds nothing to write.
void BM_QuoteRepeated(benchmark::State& state)
{
    CQuoteRows q(static_cast<int>(state.range(0)), COL_SYM);
    std::mt19937 rng(4);
    for (auto _ : state) {
        CDataBuffer* pRow = q.m_rows.FindRow({q.m_symbols[rng() % static_cast<unsigned>(q.Count())].c_str()});
        double dLast = pRow->GetDouble(COL_LAST);
        pRow->BeginChanges();
        pRow->SetDouble(COL_LAST, dLast, TRUE);
        pRow->Commit();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_QuoteRepeated)->Arg(500)->Arg(10000);

// A reply refilling the table; items are rows.
void BM_LoadReply(benchmark::State& state)
{
    CQuoteRows q(static_cast<int>(state.range(0)), COL_SYM);
    for (auto _ : state)
        q.Load();
    state.SetItemsProcessed(state.iterations() * q.Count());
}
BENCHMARK(BM_LoadReply)->Arg(500)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
