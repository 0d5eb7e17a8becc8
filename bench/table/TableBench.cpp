// A quotation table with three views: sorted on two keys; grouped by sector with sums; filtered
// to the rising rows. Row writes that move a row, writes of a summed cell, inserts, deletes, a
// full resort and a build from 1,000,000 inserts; then the same write stream on SQLite in memory,
// doing only the work the engine does (an index per view's full order, a sums row updated only
// when a summed cell changes), the ratios and the memory per row of both.
//
// --rows=N sets the table's rows (100,000 unless given; 1,000 to 1,000,000 are the sizes we watch).
// Memory per row is the growth of the process's peak resident size while the rows are built,
// divided by the rows: the engine's table is built first, then SQLite's.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
const int SECTORS = 50;
int g_nRows = 100000;

// The process's peak resident size in bytes (VmHWM), 0 where the system does not tell.
long long PeakResident()
{
    FILE* pFile = fopen("/proc/self/status", "r");
    if (!pFile)
        return 0;
    char szLine[256];
    long long nKb = 0;
    while (fgets(szLine, sizeof szLine, pFile))
        if (strncmp(szLine, "VmHWM:", 6) == 0)
            nKb = atoll(szLine + 6);
    fclose(pFile);
    return nKb * 1024;
}

// Growth of the peak resident size over each build, per row.
double g_dEngineBytesPerRow = 0;
double g_dSqliteBytesPerRow = 0;
double g_dSqliteOwnBytesPerRow = 0;     // as SQLite counts its own allocations

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
        // The owner's list of blocks is the benchmark's, not the table's: in place before the measure.
        s_pTable->m_blocks.resize(static_cast<size_t>(g_nRows) + 1);
        s_pTable->m_blocks.clear();
        long long nBefore = PeakResident();
        std::mt19937 rng(1);
        s_pTable->Fill(g_nRows, rng);
        g_dEngineBytesPerRow = static_cast<double>(PeakResident() - nBefore) / g_nRows;
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

// The same stream on SQLite, doing what the engine does and no more: one table with a full index
// per view's order (ties by row id, as the views break them), a sums row per sector and one for
// the grand total, updated only by a write that changes the summed cell; 1,000 writes a transaction.
class CSqliteQuotes
{
public:
    CSqliteQuotes()
    {
        sqlite3_open(":memory:", &m_pDb);
        Exec("CREATE TABLE q(id INTEGER PRIMARY KEY, sym TEXT, sector INT, last INT, vol INT, chg INT)");
        Exec("CREATE INDEX q_view0 ON q(sector, last DESC)");
        Exec("CREATE INDEX q_view1 ON q(sector, sym)");
        Exec("CREATE INDEX q_view2 ON q(last DESC)");
        Exec("CREATE TABLE sums(sector INTEGER PRIMARY KEY, vol INT)");
        m_sectors.resize(static_cast<size_t>(g_nRows));
        m_vols.resize(static_cast<size_t>(g_nRows));
    }
    void Fill()
    {
        Exec("BEGIN");
        for (int s = -1; s < SECTORS; ++s)
            Exec(("INSERT INTO sums VALUES(" + std::to_string(s) + ",0)").c_str());
        sqlite3_stmt* pInsert = nullptr;
        sqlite3_prepare_v2(m_pDb, "INSERT INTO q VALUES(?,?,?,?,?,?)", -1, &pInsert, nullptr);
        // The engine's rows: the same generator, drawn in the same order.
        std::mt19937 rng(1);
        for (int i = 0; i < g_nRows; ++i) {
            char szSym[16];
            snprintf(szSym, sizeof szSym, "S%07d", i);
            int nSector = static_cast<int>(rng() % SECTORS);
            m_sectors[static_cast<size_t>(i)] = nSector;
            sqlite3_bind_int(pInsert, 1, i);
            sqlite3_bind_text(pInsert, 2, szSym, -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(pInsert, 3, nSector);
            sqlite3_bind_int(pInsert, 4, static_cast<int>(1000 + rng() % 100000));
            m_vols[static_cast<size_t>(i)] = static_cast<sqlite3_int64>(rng() % 1000000);
            sqlite3_bind_int64(pInsert, 5, m_vols[static_cast<size_t>(i)]);
            sqlite3_bind_int(pInsert, 6, static_cast<int>(rng() % 2001) - 1000);
            sqlite3_step(pInsert);
            sqlite3_reset(pInsert);
        }
        sqlite3_finalize(pInsert);
        Exec("COMMIT");
    }
    void Prepare()
    {
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
    void Step(sqlite3_stmt* pStmt, int nId, sqlite3_int64 nValue)
    {
        sqlite3_bind_int64(pStmt, 1, nValue);
        sqlite3_bind_int(pStmt, 2, nId);
        sqlite3_step(pStmt);
        sqlite3_reset(pStmt);
    }
    void Counted()
    {
        if (++m_nInTransaction == 1000) {
            Exec("COMMIT");
            m_nInTransaction = 0;
        }
    }
    void Begin()
    {
        if (m_nInTransaction == 0)
            Exec("BEGIN");
    }
    void WriteLast(int nId, sqlite3_int64 nLast)
    {
        Begin();
        Step(m_pUpdateLast, nId, nLast);
        Counted();
    }
    void WriteVol(int nId, sqlite3_int64 nVol)
    {
        Begin();
        Step(m_pUpdateVol, nId, nVol);
        sqlite3_int64 nDelta = nVol - m_vols[static_cast<size_t>(nId)];
        m_vols[static_cast<size_t>(nId)] = nVol;
        if (nDelta != 0) {
            Step(m_pUpdateSum, m_sectors[static_cast<size_t>(nId)], nDelta);
            Step(m_pUpdateSum, -1, nDelta);
        }
        Counted();
    }
    sqlite3* m_pDb = nullptr;
    sqlite3_stmt* m_pUpdateLast = nullptr;
    sqlite3_stmt* m_pUpdateVol = nullptr;
    sqlite3_stmt* m_pUpdateSum = nullptr;
    std::vector<int> m_sectors;
    std::vector<sqlite3_int64> m_vols;      // the summed cell as stored, for the sums' change
    int m_nInTransaction = 0;
};

CSqliteQuotes& SharedDb()
{
    static std::unique_ptr<CSqliteQuotes> s_pDb;
    if (!s_pDb) {
        s_pDb = std::make_unique<CSqliteQuotes>();
        long long nBefore = PeakResident();
        sqlite3_int64 nOwnBefore = sqlite3_memory_used();
        s_pDb->Fill();
        s_pDb->Prepare();
        g_dSqliteBytesPerRow = static_cast<double>(PeakResident() - nBefore) / g_nRows;
        g_dSqliteOwnBytesPerRow = static_cast<double>(sqlite3_memory_used() - nOwnBefore) / g_nRows;
    }
    return *s_pDb;
}

void BM_SqliteMovingWrite(benchmark::State& state)
{
    CSqliteQuotes& db = SharedDb();
    std::mt19937 rng(2);
    for (auto _ : state)
        db.WriteLast(static_cast<int>(rng() % static_cast<unsigned>(g_nRows)), static_cast<sqlite3_int64>(1000 + rng() % 100000));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SqliteMovingWrite);

void BM_SqliteSummedCellWrite(benchmark::State& state)
{
    CSqliteQuotes& db = SharedDb();
    std::mt19937 rng(3);
    for (auto _ : state)
        db.WriteVol(static_cast<int>(rng() % static_cast<unsigned>(g_nRows)), static_cast<sqlite3_int64>(rng() % 1000000));
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

// --rows=N taken out of the arguments before the library sees them.
void TakeRowsArgument(int* pArgc, char** argv)
{
    int nOut = 1;
    for (int i = 1; i < *pArgc; ++i) {
        if (strncmp(argv[i], "--rows=", 7) == 0) {
            int nRows = atoi(argv[i] + 7);
            if (nRows > 0)
                g_nRows = nRows;
            continue;
        }
        argv[nOut++] = argv[i];
    }
    *pArgc = nOut;
}

int main(int argc, char** argv)
{
    TakeRowsArgument(&argc, argv);
    TbInitBenchmarks(&argc, &argv);
    // Both built before any timing, each measured over the peak its build leaves.
    SharedTable();
    SharedDb();
    printf("Rows: %d\nMemory per row: engine %.0f bytes, SQLite %.0f bytes (by its own count %.0f)\n", g_nRows,
           g_dEngineBytesPerRow, g_dSqliteBytesPerRow, g_dSqliteOwnBytesPerRow);
    CRateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* pszStream : {"MovingWrite", "SummedCellWrite"}) {
        double dEngine = reporter.Rate((std::string("BM_") + pszStream).c_str());
        double dSqlite = reporter.Rate((std::string("BM_Sqlite") + pszStream).c_str());
        if (dEngine > 0 && dSqlite > 0)
            printf("%s: engine %.0f/s, SQLite %.0f/s, ratio %.2f\n", pszStream, dEngine, dSqlite, dEngine / dSqlite);
    }
    printf("Rows: %d\nMemory per row: engine %.0f bytes, SQLite %.0f bytes (by its own count %.0f)\n", g_nRows,
           g_dEngineBytesPerRow, g_dSqliteBytesPerRow, g_dSqliteOwnBytesPerRow);
    benchmark::Shutdown();
    return 0;
}
