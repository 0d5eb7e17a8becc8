// A quotation table of 100,000 rows with three views: sorted on two keys; grouped by sector with
// sums; filtered to the rising rows. Row writes that move a row, writes of a summed cell,
// inserts, deletes, a full resort and a build from 1,000,000 inserts; then the same write stream
// on SQLite in memory (an index per view's order, a sums table), and the ratio.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>
#include "bench/common/BenchMain.h"
#include "framework/table/Table.h"
#include "framework/table/TableFilters.h"

namespace {

enum { COL_SYM, COL_SECTOR, COL_LAST, COL_VOL, COL_CHG, COL_COUNT };
const int ROWS = 100000;
const int SECTORS = 50;

class CQuoteTable
{
public:
    CQuoteTable()
    {
        static const struct { const char* pszName; int nType; int nSize; BOOL bSummed; } s_columns[] = {
            {"Sym", COLTYPE_STRING, 12, FALSE}, {"Sector", COLTYPE_INT32, 0, FALSE}, {"Last", COLTYPE_INT32, 0, FALSE},
            {"Vol", COLTYPE_INT64, 0, TRUE},    {"Chg", COLTYPE_INT32, 0, FALSE}};
        for (const auto& def : s_columns) {
            CColumn column = m_table.AddColumn();
            column.SetName(def.pszName);
            column.SetDataType(def.nType);
            if (def.nSize)
                column.SetSize(def.nSize);
            column.SetSummed(def.bSummed);
        }
        m_table.GetColumn(COL_LAST).SetDecimals(-2);
        m_table.SetAllowCut(FALSE);
        m_table.SetAllowPaste(FALSE);
        m_table.Open();
        m_table.AddView("Sectors");
        m_table.AddView("Rising");
        CSortColumns twoKeys(30);
        twoKeys.Add(COL_SECTOR, SORT_ASCENDING);
        twoKeys.Add(COL_LAST, SORT_DESCENDING);
        View(0).Sort(twoKeys, FALSE);
        CSortColumns bySector(30);
        bySector.Add(COL_SECTOR, SORT_ASCENDING);
        bySector.Add(COL_SYM, SORT_ASCENDING);
        View(1).Sort(bySector, TRUE);
        View(1).SetTotalsMode(3);
        View(1).SetGroupHeaderMode(2);
        CSortColumns byLast(30);
        byLast.Add(COL_LAST, SORT_DESCENDING);
        View(2).Sort(byLast, FALSE);
        CTableFilters* pFilters = new CTableFilters;
        pFilters->Init(&View(2), nullptr);
        pFilters->AddFilter(COL_CHG, ">=0", /*bFlag=*/FALSE, /*nGroup=*/0);
        View(2).SetFilters(pFilters);
        View(2).SetSumMode(1);
    }
    ~CQuoteTable()
    {
        m_table.RemoveAllRows();
        for (TBCellSlot* pBlock : m_blocks)
            CTableColumns::FreeRowValues(pBlock);
    }
    CViewTable& View(int n) { return *m_table.GetView(n); }

    TBCellSlot* NewQuote(int nSerial, std::mt19937& rng)
    {
        TBCellSlot* pBlock = View(0).GetColumns().AllocRowValues(FALSE);
        char szSym[16];
        snprintf(szSym, sizeof szSym, "S%07d", nSerial);
        const CTableColumns& columns = View(0).GetColumns();
        columns.SetSlotValue(&pBlock[COL_SYM], szSym, COL_SYM);
        int32_t nSector = static_cast<int32_t>(rng() % SECTORS);
        int32_t nLast = static_cast<int32_t>(1000 + rng() % 100000);
        int64_t nVol = static_cast<int64_t>(rng() % 1000000);
        int32_t nChg = static_cast<int32_t>(rng() % 2001) - 1000;
        columns.SetSlotValue(&pBlock[COL_SECTOR], &nSector, COL_SECTOR);
        columns.SetSlotValue(&pBlock[COL_LAST], &nLast, COL_LAST);
        columns.SetSlotValue(&pBlock[COL_VOL], &nVol, COL_VOL);
        columns.SetSlotValue(&pBlock[COL_CHG], &nChg, COL_CHG);
        return pBlock;
    }
    void Insert(TBCellSlot* pBlock)
    {
        CRow row(&m_table, pBlock);
        m_table.InsertRow(row);
        m_blocks.push_back(pBlock);
    }
    void Fill(int nRows, std::mt19937& rng)
    {
        for (int i = 0; i < nRows; ++i)
            Insert(NewQuote(m_nSerial++, rng));
    }
    // As an owner writes a server line: find the row by the block it holds, write the cell.
    void Write(TBCellSlot* pBlock, int nCol, const void* pValue)
    {
        CRow key(&m_table, pBlock);
        CRow row = m_table.FindRow(key);
        row.UpdateCell(nCol, pValue);
    }
    BOOL Delete(size_t nIndex)
    {
        TBCellSlot* pBlock = m_blocks[nIndex];
        CRow key(&m_table, pBlock);
        CRow row = m_table.FindRow(key);
        BOOL bDone = m_table.DeleteRow(row);
        m_blocks[nIndex] = m_blocks.back();
        m_blocks.pop_back();
        CTableColumns::FreeRowValues(pBlock);
        return bDone;
    }

    CTable m_table;
    std::vector<TBCellSlot*> m_blocks;
    int m_nSerial = 0;
};

CQuoteTable& SharedTable()
{
    static std::unique_ptr<CQuoteTable> s_pTable;
    if (!s_pTable) {
        s_pTable = std::make_unique<CQuoteTable>();
        std::mt19937 rng(1);
        s_pTable->Fill(ROWS, rng);
    }
    return *s_pTable;
}

void BM_MovingWrite(benchmark::State& state)
{
    CQuoteTable& t = SharedTable();
    std::mt19937 rng(2);
    for (auto _ : state) {
        TBCellSlot* pBlock = t.m_blocks[rng() % t.m_blocks.size()];
        int32_t nLast = static_cast<int32_t>(1000 + rng() % 100000);
        t.Write(pBlock, COL_LAST, &nLast);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MovingWrite);

void BM_SummedCellWrite(benchmark::State& state)
{
    CQuoteTable& t = SharedTable();
    std::mt19937 rng(3);
    for (auto _ : state) {
        TBCellSlot* pBlock = t.m_blocks[rng() % t.m_blocks.size()];
        int64_t nVol = static_cast<int64_t>(rng() % 1000000);
        t.Write(pBlock, COL_VOL, &nVol);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SummedCellWrite);

// What every write above pays to find its row by the block the owner holds.
void BM_FindOnly(benchmark::State& state)
{
    CQuoteTable& t = SharedTable();
    std::mt19937 rng(2);
    for (auto _ : state) {
        TBCellSlot* pBlock = t.m_blocks[rng() % t.m_blocks.size()];
        CRow key(&t.m_table, pBlock);
        CRow row = t.m_table.FindRow(key);
        benchmark::DoNotOptimize(row.IsValid());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FindOnly);

void BM_InsertThenDelete(benchmark::State& state)
{
    CQuoteTable& t = SharedTable();
    std::mt19937 rng(4);
    BOOL bInsert = state.range(0) == 0;
    for (auto _ : state) {
        // Inserts and deletes alternate timing so that the table stays at its size.
        if (bInsert) {
            TBCellSlot* pBlock = t.NewQuote(t.m_nSerial++, rng);
            t.Insert(pBlock);
            state.PauseTiming();
            t.Delete(t.m_blocks.size() - 1);
            state.ResumeTiming();
        } else {
            state.PauseTiming();
            t.Insert(t.NewQuote(t.m_nSerial++, rng));
            size_t nIndex = rng() % t.m_blocks.size();
            state.ResumeTiming();
            t.Delete(nIndex);
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(bInsert ? "insert" : "delete");
}
BENCHMARK(BM_InsertThenDelete)->Arg(0)->Arg(1);

void BM_FullResort(benchmark::State& state)
{
    CQuoteTable& t = SharedTable();
    for (auto _ : state)
        t.View(1).Resort();
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(t.m_blocks.size()));
}
BENCHMARK(BM_FullResort)->Unit(benchmark::kMillisecond);

void BM_BuildFromMillionInserts(benchmark::State& state)
{
    for (auto _ : state) {
        CQuoteTable t;
        std::mt19937 rng(5);
        t.Fill(1000000, rng);
        state.PauseTiming();
        t.m_table.RemoveAllRows();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_BuildFromMillionInserts)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same stream on SQLite: one table with an index per view's order, a sums table per
// sector, each write an UPDATE of the row and one of its sector's sum, 1,000 writes a transaction.
class CSqliteQuotes
{
public:
    CSqliteQuotes()
    {
        sqlite3_open(":memory:", &m_pDb);
        Exec("CREATE TABLE q(id INTEGER PRIMARY KEY, sym TEXT, sector INT, last INT, vol INT, chg INT)");
        Exec("CREATE INDEX q_view0 ON q(sector, last DESC)");
        Exec("CREATE INDEX q_view1 ON q(sector, sym)");
        Exec("CREATE INDEX q_view2 ON q(last DESC) WHERE chg >= 0");
        Exec("CREATE TABLE sums(sector INTEGER PRIMARY KEY, vol INT)");
        Exec("BEGIN");
        for (int s = 0; s < SECTORS; ++s)
            Exec(("INSERT INTO sums VALUES(" + std::to_string(s) + ",0)").c_str());
        sqlite3_stmt* pInsert = nullptr;
        sqlite3_prepare_v2(m_pDb, "INSERT INTO q VALUES(?,?,?,?,?,?)", -1, &pInsert, nullptr);
        std::mt19937 rng(1);
        m_sectors.resize(ROWS);
        for (int i = 0; i < ROWS; ++i) {
            char szSym[16];
            snprintf(szSym, sizeof szSym, "S%07d", i);
            int nSector = static_cast<int>(rng() % SECTORS);
            m_sectors[static_cast<size_t>(i)] = nSector;
            sqlite3_bind_int(pInsert, 1, i);
            sqlite3_bind_text(pInsert, 2, szSym, -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(pInsert, 3, nSector);
            sqlite3_bind_int(pInsert, 4, static_cast<int>(1000 + rng() % 100000));
            sqlite3_bind_int64(pInsert, 5, static_cast<sqlite3_int64>(rng() % 1000000));
            sqlite3_bind_int(pInsert, 6, static_cast<int>(rng() % 2001) - 1000);
            sqlite3_step(pInsert);
            sqlite3_reset(pInsert);
        }
        sqlite3_finalize(pInsert);
        Exec("COMMIT");
        sqlite3_prepare_v2(m_pDb, "UPDATE q SET last=? WHERE id=?", -1, &m_pUpdateLast, nullptr);
        sqlite3_prepare_v2(m_pDb, "UPDATE q SET vol=? WHERE id=?", -1, &m_pUpdateVol, nullptr);
        sqlite3_prepare_v2(m_pDb, "UPDATE sums SET vol=vol+? WHERE sector=?", -1, &m_pUpdateSum, nullptr);
    }
    ~CSqliteQuotes()
    {
        sqlite3_finalize(m_pUpdateLast);
        sqlite3_finalize(m_pUpdateVol);
        sqlite3_finalize(m_pUpdateSum);
        sqlite3_close(m_pDb);
    }
    void Exec(const char* pszSql) { sqlite3_exec(m_pDb, pszSql, nullptr, nullptr, nullptr); }
    void Write(sqlite3_stmt* pUpdate, int nId, sqlite3_int64 nValue, sqlite3_int64 nSumDelta)
    {
        if (m_nInTransaction == 0)
            Exec("BEGIN");
        sqlite3_bind_int64(pUpdate, 1, nValue);
        sqlite3_bind_int(pUpdate, 2, nId);
        sqlite3_step(pUpdate);
        sqlite3_reset(pUpdate);
        sqlite3_bind_int64(m_pUpdateSum, 1, nSumDelta);
        sqlite3_bind_int(m_pUpdateSum, 2, m_sectors[static_cast<size_t>(nId)]);
        sqlite3_step(m_pUpdateSum);
        sqlite3_reset(m_pUpdateSum);
        if (++m_nInTransaction == 1000) {
            Exec("COMMIT");
            m_nInTransaction = 0;
        }
    }
    sqlite3* m_pDb = nullptr;
    sqlite3_stmt* m_pUpdateLast = nullptr;
    sqlite3_stmt* m_pUpdateVol = nullptr;
    sqlite3_stmt* m_pUpdateSum = nullptr;
    std::vector<int> m_sectors;
    int m_nInTransaction = 0;
};

void BM_SqliteMovingWrite(benchmark::State& state)
{
    static CSqliteQuotes s_db;
    std::mt19937 rng(2);
    for (auto _ : state)
        s_db.Write(s_db.m_pUpdateLast, static_cast<int>(rng() % ROWS), static_cast<sqlite3_int64>(1000 + rng() % 100000), 0);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SqliteMovingWrite);

void BM_SqliteSummedCellWrite(benchmark::State& state)
{
    static CSqliteQuotes s_db;
    std::mt19937 rng(3);
    for (auto _ : state)
        s_db.Write(s_db.m_pUpdateVol, static_cast<int>(rng() % ROWS), static_cast<sqlite3_int64>(rng() % 1000000),
                   static_cast<sqlite3_int64>(rng() % 1000));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SqliteSummedCellWrite);

// Console output as usual, with the rates kept so that the ratios can be printed after. With
// --benchmark_repetitions the median stands for the benchmark: the machine may be busy.
class CRateReporter : public benchmark::ConsoleReporter
{
public:
    CRateReporter() : ConsoleReporter(TbConsoleOptions()) {}
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            auto it = run.counters.find("items_per_second");
            if (it == run.counters.end())
                continue;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median")
                continue;
            std::string strName = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate || !m_rates.count(strName))
                m_rates[strName] = it->second.value;
        }
    }
    double Rate(const char* pszName) const
    {
        auto it = m_rates.find(pszName);
        return it != m_rates.end() ? it->second : 0;
    }

private:
    std::map<std::string, double> m_rates;
};

}  // namespace

int main(int argc, char** argv)
{
    TbInitBenchmarks(&argc, &argv);
    CRateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* pszStream : {"MovingWrite", "SummedCellWrite"}) {
        double dEngine = reporter.Rate((std::string("BM_") + pszStream).c_str());
        double dSqlite = reporter.Rate((std::string("BM_Sqlite") + pszStream).c_str());
        if (dEngine > 0 && dSqlite > 0)
            printf("%s: engine %.0f/s, SQLite %.0f/s, ratio %.2f\n", pszStream, dEngine, dSqlite, dEngine / dSqlite);
    }
    benchmark::Shutdown();
    return 0;
}

