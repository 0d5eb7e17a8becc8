// A grid of 60 whole lines by 20 columns (about 1,600 x 1,300 pixels) over a quotation table of
// 100,000 rows, sorted on the last price, one fixed column, change highlights on. Page repaints
// and scrolls, beside moving the pixels of the whole window alone; live writes to rows on
// screen, a sort-key write that moves a shown row away, and writes to random rows, each beside
// the same writes with no grid watching the view; a fast-find keystroke and the filter dialog's
// count over the whole view. The repaint, the title click and the writes also run on a second
// grid whose columns fit what they hold (fit:1), against the first (fit:0), in the same run;
// the ratios print at the end; the first keeps the widths the second fitted, so that both paint
// the same cells. Run with a display to watch the window.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "bench/common/BenchMain.h"
#include "framework/table/Table.h"
#include "framework/table/TableFilters.h"
#include "framework/window/DlgFastFind.h"
#include "framework/window/DlgFilter.h"
#include "framework/window/TableWindow.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Dialogs.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/SysMetrics.h"

namespace {

const int ROWS = 100000;
const int COLUMNS = 20;
const int LINES = 60;
const int COL_SYM = 0;
const int COL_NAME = 1;
const int COL_LAST = 2;         // the sort key
const int COL_VOL = 10;
const int PRICE_COLUMNS = 8;    // 2..9 prices with decimals, 10..17 integers, 18..19 texts

class CBenchGrid
{
public:
    // pWidths: the widths the columns keep (those the fitting grid found, so that both grids
    // paint the same cells and differ by the fitting alone).
    CBenchGrid(BOOL bFit, const std::vector<int>* pWidths)
    {
        for (int nCol = 0; nCol < COLUMNS; ++nCol) {
            CColumn column = m_table.AddColumn();
            char szName[16];
            snprintf(szName, sizeof szName, "C%02d", nCol);
            column.SetName(szName);
            column.SetTitle(szName, 0);
            const BOOL bText = nCol == COL_SYM || nCol == COL_NAME || nCol >= 18;
            const BOOL bPrice = nCol >= COL_LAST && nCol < COL_LAST + PRICE_COLUMNS;
            column.SetDataType(bText ? COLTYPE_STRING : (bPrice ? COLTYPE_DOUBLE : COLTYPE_INT32));
            if (bText)
                column.SetSize(16);
            if (bPrice)
                column.SetDecimals(-3);
            column.SetFitWidth(bFit, nCol == COL_NAME);
            if (pWidths)
                column.SetWidth((*pWidths)[static_cast<size_t>(nCol)]);
        }
        m_table.SetAllowCut(FALSE);
        m_table.SetAllowPaste(FALSE);
        m_table.Open();
        std::mt19937 rng(7);
        for (int i = 0; i < ROWS; ++i)
            Insert(NewRow(i, rng));
        CSortColumns keys(30);
        keys.Add(COL_LAST, SORT_DESCENDING);
        View().Sort(keys, FALSE);
        View().SetFixedColumnCount(1);
        View().SetShowHeader(TRUE);

        m_grid.SetFontFace("DejaVu Sans", 9);
        m_grid.SetHighlightSeconds(5);
        m_grid.CreateEx(&View(), 0, "Grid benchmark", WS_POPUP, 0, 0, 1600, 1300, nullptr, 0);
        // 60 whole lines below the title strip, and the pane's bar when it shows one.
        const int nHeight = m_grid.GetTitleHeight() + LINES * m_grid.GetRowHeight() + GetSystemMetrics(SM_CYHSCROLL);
        SetWindowPos(m_grid.m_hWnd, nullptr, 0, 0, 1600, nHeight, SWP_NOZORDER | SWP_NOMOVE);
        ShowWindow(m_grid.m_hWnd, SW_SHOW);
        m_grid.ScrollToRow(ROWS / 2, 0);
        UpdateWindow(m_grid.m_hWnd);
    }
    ~CBenchGrid()
    {
        m_grid.DestroyWindow();
        m_table.RemoveAllRows();
        for (TBCellSlot* pBlock : m_blocks)
            CTableColumns::FreeRowValues(pBlock);
    }
    CViewTable& View() { return *m_table.GetView(0); }
    CTableWindow& Grid() { return m_grid; }

    TBCellSlot* NewRow(int nSerial, std::mt19937& rng)
    {
        TBCellSlot* pBlock = View().GetColumns().AllocRowValues(FALSE);
        const CTableColumns& columns = View().GetColumns();
        for (int nCol = 0; nCol < COLUMNS; ++nCol) {
            char szText[16];
            if (nCol == COL_SYM || nCol == COL_NAME || nCol >= 18) {
                snprintf(szText, sizeof szText, "%c%07d", 'A' + nCol % 26, nCol == COL_SYM ? nSerial : static_cast<int>(rng() % 1000000));
                columns.SetSlotValue(&pBlock[nCol], szText, nCol);
            } else if (nCol < COL_LAST + PRICE_COLUMNS) {
                double dPrice = static_cast<double>(rng() % 10000000) / 1000.0;
                columns.SetSlotValue(&pBlock[nCol], &dPrice, nCol);
            } else {
                int32_t nValue = static_cast<int32_t>(rng() % 10000000);
                columns.SetSlotValue(&pBlock[nCol], &nValue, nCol);
            }
        }
        return pBlock;
    }
    void Insert(TBCellSlot* pBlock)
    {
        CRow row(&m_table, pBlock);
        m_table.InsertRow(row);
        m_blocks.push_back(pBlock);
    }
    // As a server-fed table writes a line: its row found by the block it holds, then the cell.
    void WriteAt(int nIndex, int nCol, const void* pValue)
    {
        CViewRow viewRow(&View());
        if (!View().GetRow(viewRow, nIndex) || !viewRow.IsDataRow())
            return;
        TBCellSlot* pBlock = viewRow.LockValues();
        viewRow.UnlockValues(pBlock);
        CRow key(&m_table, pBlock);
        CRow row = m_table.FindRow(key);
        row.UpdateCell(nCol, pValue);
    }
    // The grid stops or starts watching the view, for the peers without a grid.
    void Watch(BOOL bWatch)
    {
        if (bWatch)
            View().AddSink(static_cast<CTableEventSink*>(&m_grid));
        else
            View().RemoveSink(static_cast<CTableEventSink*>(&m_grid));
    }

private:
    CTable m_table;
    std::vector<TBCellSlot*> m_blocks;
    CTableWindow m_grid;
};

// The grid whose columns keep their widths, or (bFit) the one whose columns fit what they hold.
CBenchGrid& Bench(BOOL bFit = FALSE)
{
    static std::unique_ptr<CBenchGrid> s_pBenches[2];
    std::unique_ptr<CBenchGrid>& pBench = s_pBenches[bFit ? 1 : 0];
    if (!pBench && bFit) {
        pBench = std::make_unique<CBenchGrid>(TRUE, nullptr);
    } else if (!pBench) {
        std::vector<int> widths;
        CViewTable& fitted = Bench(TRUE).View();
        for (int nCol = 0; nCol < COLUMNS; ++nCol)
            widths.push_back(fitted.GetColumns().GetColumn(nCol)->m_nWidth);
        pBench = std::make_unique<CBenchGrid>(FALSE, &widths);
    }
    return *pBench;
}
BOOL Fitted(const benchmark::State& state)
{
    return state.range(0) != 0;
}

void BM_FullRepaint(benchmark::State& state)
{
    CTableWindow& grid = Bench(Fitted(state)).Grid();
    for (auto _ : state)
        grid.Refresh();
    state.counters["lines"] = grid.GetWholeLines();
}
BENCHMARK(BM_FullRepaint)->ArgName("fit")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The pixels of the whole window moved by one line and nothing painted: the floor of a scroll.
void BM_MovePixelsOnly(benchmark::State& state)
{
    CTableWindow& grid = Bench().Grid();
    int nDirection = 1;
    for (auto _ : state) {
        ScrollWindow(grid.m_hWnd, 0, nDirection * grid.GetRowHeight(), nullptr, nullptr);
        ValidateRect(grid.m_hWnd, nullptr);
        nDirection = -nDirection;
    }
}
BENCHMARK(BM_MovePixelsOnly)->Unit(benchmark::kMicrosecond);

void ScrollBy(benchmark::State& state, int nLines)
{
    CTableWindow& grid = Bench().Grid();
    int nDirection = 1;
    for (auto _ : state) {
        grid.SetTopRow(grid.GetTopRow() + nDirection * nLines, TRUE, 0);
        nDirection = -nDirection;
    }
}
void BM_ScrollOneLine(benchmark::State& state) { ScrollBy(state, 1); }
BENCHMARK(BM_ScrollOneLine)->Unit(benchmark::kMicrosecond);
void BM_ScrollOnePage(benchmark::State& state) { ScrollBy(state, LINES); }
BENCHMARK(BM_ScrollOnePage)->Unit(benchmark::kMillisecond);

void BM_ThumbDragToRandomPlaces(benchmark::State& state)
{
    CTableWindow& grid = Bench().Grid();
    std::mt19937 rng(3);
    for (auto _ : state) {
        grid.SetTopRow(static_cast<int>(rng() % static_cast<unsigned>(grid.GetMaxTopRow())), TRUE, 0);
        grid.UpdateNow();
    }
    grid.ScrollToRow(ROWS / 2, 0);
}
BENCHMARK(BM_ThumbDragToRandomPlaces)->Iterations(1000)->Unit(benchmark::kMillisecond);

// Non-key writes to rows on screen: table write, event, the cell and its row header painted.
void LiveWrites(benchmark::State& state, BOOL bWatch)
{
    CBenchGrid& bench = Bench(bWatch && Fitted(state));
    bench.Watch(bWatch);
    const int nTop = bench.Grid().GetTopRow();
    int32_t nValue = 1;
    int nLine = 0;
    for (auto _ : state) {
        bench.WriteAt(nTop + nLine, COL_VOL, &nValue);
        ++nValue;
        nLine = (nLine + 7) % LINES;
    }
    bench.Watch(TRUE);
    state.SetItemsProcessed(state.iterations());
}
void BM_LiveWriteOnScreen(benchmark::State& state) { LiveWrites(state, TRUE); }
BENCHMARK(BM_LiveWriteOnScreen)->ArgName("fit")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
void BM_LiveWriteNoGrid(benchmark::State& state) { LiveWrites(state, FALSE); }
BENCHMARK(BM_LiveWriteNoGrid)->Unit(benchmark::kMicrosecond);

// A shown row's sort key written so that it leaves for far below the window; put back unmeasured.
void BM_SortKeyMovesShownRowAway(benchmark::State& state)
{
    CBenchGrid& bench = Bench();
    CTableWindow& grid = bench.Grid();
    for (auto _ : state) {
        const int nIndex = grid.GetTopRow() + 10;
        CViewRow row(&bench.View());
        bench.View().GetRow(row, nIndex);
        double dOld = 0;
        {
            CTBString strText;
            row.GetText(strText, COL_LAST);
            dOld = atof(strText);
        }
        const double dLow = -1.0;
        bench.WriteAt(nIndex, COL_LAST, &dLow);
        state.PauseTiming();
        bench.WriteAt(bench.View().GetRowCount() - 1, COL_LAST, &dOld);
        grid.UpdateNow();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SortKeyMovesShownRowAway)->Unit(benchmark::kMicrosecond);

// Writes to random rows of the table, one in ten to the sort key: mostly off screen.
void RandomWrites(benchmark::State& state, BOOL bWatch)
{
    CBenchGrid& bench = Bench(bWatch && Fitted(state));
    bench.Watch(bWatch);
    std::mt19937 rng(11);
    for (auto _ : state) {
        const int nIndex = static_cast<int>(rng() % ROWS);
        if (rng() % 10 == 0) {
            double dPrice = static_cast<double>(rng() % 10000000) / 1000.0;
            bench.WriteAt(nIndex, COL_LAST, &dPrice);
        } else {
            int32_t nValue = static_cast<int32_t>(rng() % 10000000);
            bench.WriteAt(nIndex, COL_VOL, &nValue);
        }
    }
    bench.Watch(TRUE);
    bench.Grid().Refresh();
    state.SetItemsProcessed(state.iterations());
}
void BM_RandomRowWrites(benchmark::State& state) { RandomWrites(state, TRUE); }
BENCHMARK(BM_RandomRowWrites)->ArgName("fit")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
void BM_RandomRowWritesNoGrid(benchmark::State& state) { RandomWrites(state, FALSE); }
BENCHMARK(BM_RandomRowWritesNoGrid)->Unit(benchmark::kMicrosecond);

// 10,000 marked rows copied (the archive file written) and rendered as the clipboard's text.
void BM_CopyMarkedRowsAsText(benchmark::State& state)
{
    CBenchGrid& bench = Bench();
    CViewTable& view = bench.View();
    for (int i = 0; i < ROWS; i += ROWS / 10000) {
        CViewRow row(&view);
        if (view.GetRow(row, i))
            SetRowMarked(&view, row.GetNode(), TRUE);
    }
    size_t nBytes = 0;
    for (auto _ : state) {
        if (!bench.Grid().Copy() || !OpenClipboard(nullptr)) {
            state.SkipWithError("the copy failed");
            break;
        }
        HANDLE hText = GetClipboardData(CF_TEXT);
        nBytes = hText ? GlobalSize(hText) : 0;
        CloseClipboard();
    }
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();       // the grid's file goes
        CloseClipboard();
    }
    bench.Grid().SelectAllRows(FALSE);
    state.counters["rows"] = 10000;
    state.counters["text_bytes"] = static_cast<double>(nBytes);
}
BENCHMARK(BM_CopyMarkedRowsAsText)->Unit(benchmark::kMillisecond);
// The grid dialogs come from the English language module of the source tree.
BOOL UseDialogResources()
{
    static HMODULE s_hModule = nullptr;
    if (s_hModule == nullptr) {
        TbAddResourcePath(TB_SOURCE_DIR "/resources");
        s_hModule = LoadLibraryA("_1252.dll");
        if (s_hModule != nullptr)
            TbSetResourceModule(s_hModule);
    }
    return s_hModule != nullptr;
}

// A keystroke in the fast find that matches no row: the whole view is walked, every cell
// formatted; a number column also normalises every cell for the numeric match.
void FastFindNoMatch(benchmark::State& state, int nCol, const char* pszTyped)
{
    CBenchGrid& bench = Bench();
    CDlgFastFind dlg;
    if (!UseDialogResources() || !dlg.Create(&bench.Grid(), nCol)) {
        state.SkipWithError("the fast-find dialog could not be made");
        return;
    }
    const int nCurrent = bench.Grid().GetCurrentRow();
    for (auto _ : state)
        SetDlgItemTextA(dlg.m_hWnd, IDC_FASTFIND_TEXT, pszTyped);    // its change notice searches
    if (bench.Grid().GetCurrentRow() != nCurrent)
        state.SkipWithError("a row was found");
    state.SetItemsProcessed(state.iterations() * ROWS);
}
void BM_FastFindNoMatchText(benchmark::State& state) { FastFindNoMatch(state, COL_SYM, "zz"); }
BENCHMARK(BM_FastFindNoMatchText)->Unit(benchmark::kMillisecond);
void BM_FastFindNoMatchNumber(benchmark::State& state) { FastFindNoMatch(state, COL_LAST, "-5"); }
BENCHMARK(BM_FastFindNoMatchNumber)->Unit(benchmark::kMillisecond);

// The filter dialog's count after a change: each switch of the combine rule counts the
// matching rows of the whole view again.
void BM_FilterDialogCountAfterChange(benchmark::State& state)
{
    CBenchGrid& bench = Bench();
    CTableFilters* pFilters = new CTableFilters;
    pFilters->Init(&bench.View(), nullptr);
    pFilters->AddFilter(COL_LAST, ">5000", /*bFlag=*/FALSE, /*nGroup=*/1);
    pFilters->AddFilter(COL_VOL, "<100000", /*bFlag=*/FALSE, /*nGroup=*/0);
    bench.View().SetFilters(pFilters);
    {
        CDlgFilter dlg;
        if (!UseDialogResources() || !dlg.Create(&bench.Grid(), COL_LAST)) {
            state.SkipWithError("the filter dialog could not be made");
        } else {
            HWND hCombine = GetDlgItem(dlg.m_hWnd, IDC_FILTER_COMBINE);
            for (auto _ : state)
                SendMessageA(hCombine, BM_CLICK, 0, 0);
            state.SetItemsProcessed(state.iterations() * ROWS);
        }
    }
    bench.View().SetFilters(nullptr);
}
BENCHMARK(BM_FilterDialogCountAfterChange)->Unit(benchmark::kMillisecond);

// A click on a price's title: the cycle runs ascending, descending, unsorted; each click re-sorts
// the 100,000 rows and repaints the page.
void BM_TitleClickSort(benchmark::State& state)
{
    CBenchGrid& bench = Bench(Fitted(state));
    CTableWindow& grid = bench.Grid();
    const int nDisplayCol = bench.View().GetColumnOrder().FindPosition(COL_LAST + 1);
    for (auto _ : state) {
        grid.SortByColumn(nDisplayCol);
        grid.UpdateNow();
    }
    CSortColumns keys(30);      // the other benchmarks expect the last price as the key
    keys.Add(COL_LAST, SORT_DESCENDING);
    bench.View().Sort(keys, FALSE);
    grid.Refresh();
}
BENCHMARK(BM_TitleClickSort)->ArgName("fit")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    TbInitBenchmarks(&argc, &argv);
    if (!TbInitQtPlatform(&argc, argv)) {
        fprintf(stderr, "bench_grid: the Qt display did not start (QT_QPA_PLATFORM=offscreen?)\n");
        return 1;
    }
    CArgRatioReporter reporter("fit", 1.1);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    fflush(stdout);
    benchmark::Shutdown();
    return 0;
}
