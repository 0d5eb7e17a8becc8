// The code tables' column callbacks as a repainting grid calls them: one call per visible code
// cell, over a screen of rows whose codes mix present ones with a few the table lacks.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "platform/win/kernel/Resources.h"
#include "refdata/ZorvatTypes.h"

namespace {

// The English texts, so that the copies are as long as on screen.
class CEnglishTables
{
public:
    CEnglishTables()
    {
        TbAddResourcePath(TB_SOURCE_DIR "/resources");
        m_hModule = LoadLibraryA("_1252.dll");
        m_hOld = TbGetResourceModule();
        TbSetResourceModule(m_hModule);
        m_types.CreateTables();
    }
    ~CEnglishTables()
    {
        TbSetResourceModule(m_hOld);
        if (m_hModule != nullptr)
            FreeLibrary(m_hModule);
    }

private:
    HMODULE m_hModule = nullptr;
    HINSTANCE m_hOld = nullptr;
    CZorvatTypes m_types;
};

// Rows of one slot each: codes from nFirst to nLast.
std::vector<TBCellSlot> MakeRows(int nFirst, int nLast)
{
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> code(nFirst, nLast);
    std::vector<TBCellSlot> rows(1024);
    for (TBCellSlot& slot : rows)
        slot.nValue = code(rng);
    return rows;
}

void RunColumn(benchmark::State& state, BOOL (*pfn)(char*, int, const TBCellSlot*, int), int nFirst,
               int nLast)
{
    CEnglishTables tables;
    std::vector<TBCellSlot> rows = MakeRows(nFirst, nLast);
    char szCell[64];
    size_t i = 0;
    for (auto _ : state) {
        BOOL bDone = pfn(szCell, sizeof(szCell), &rows[i & 1023], 0);
        benchmark::DoNotOptimize(bDone);
        benchmark::DoNotOptimize(szCell);
        ++i;
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

// Transaction types -1 to 48: codes 16, 20, 39, 47 and 48 are missing and show their number.
void BM_FormatCodeColumnTransactionType(benchmark::State& state)
{
    RunColumn(state, &CTransactionType::FormatCodeColumn, -1, 48);
}
BENCHMARK(BM_FormatCodeColumnTransactionType);

void BM_FormatCodeColumnOrderStatus(benchmark::State& state)
{
    RunColumn(state, &COrderStatus::FormatCodeColumn, -1, 8);
}
BENCHMARK(BM_FormatCodeColumnOrderStatus);

void BM_FormatYesNoColumn(benchmark::State& state)
{
    RunColumn(state, &CZorvatTypes::FormatYesNoColumn, 0, 1);
}
BENCHMARK(BM_FormatYesNoColumn);

}  // namespace
