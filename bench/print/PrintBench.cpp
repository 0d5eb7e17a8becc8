// A 10,000-row table of 12 columns (texts, prices, integers), grouped in 40 groups with sums and
// a grand total, printed through CNorvTablePrint to the PDF printer at 600 dpi end to end:
// scaling, pagination, drawing and PDF writing, reported as pages per second. Beside it the
// pagination alone and one preview page drawn on a screen bitmap at 100 %.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "bench/common/BenchMain.h"
#include "framework/print/NorvTablePrint.h"
#include "framework/table/Table.h"
#include "framework/table/ViewTable.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/Windows.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/spool/Printers.h"

namespace {

const int ROWS = 10000;
const int COLUMNS = 12;
const int COL_GROUP = 1;

class CBenchTable
{
public:
    CBenchTable()
    {
        for (int nCol = 0; nCol < COLUMNS; ++nCol) {
            CColumn column = m_table.AddColumn();
            char szName[16];
            snprintf(szName, sizeof szName, "C%02d", nCol);
            column.SetName(szName);
            column.SetTitle(szName, 0);
            const BOOL bText = nCol < 3;
            const BOOL bPrice = nCol >= 3 && nCol < 8;
            column.SetDataType(bText ? COLTYPE_STRING : (bPrice ? COLTYPE_DOUBLE : COLTYPE_INT32));
            column.SetWidth(bText ? 90 : 70);
            if (bText)
                column.SetSize(16);
            if (bPrice)
                column.SetDecimals(-3);
            column.SetSummed(!bText);
        }
        m_table.Open();
        std::mt19937 rng(7);
        const CTableColumns& columns = View().GetColumns();
        for (int i = 0; i < ROWS; ++i) {
            TBCellSlot* pBlock = columns.AllocRowValues(FALSE);
            for (int nCol = 0; nCol < COLUMNS; ++nCol) {
                char szText[16];
                if (nCol < 3) {
                    snprintf(szText, sizeof szText, "%c%05d", 'A' + nCol, nCol == COL_GROUP ? i % 40 : i);
                    columns.SetSlotValue(&pBlock[nCol], szText, nCol);
                } else if (nCol < 8) {
                    double dPrice = static_cast<double>(rng() % 10000000) / 1000.0;
                    columns.SetSlotValue(&pBlock[nCol], &dPrice, nCol);
                } else {
                    int32_t nValue = static_cast<int32_t>(rng() % 1000000);
                    columns.SetSlotValue(&pBlock[nCol], &nValue, nCol);
                }
            }
            CRow row(&m_table, pBlock);
            m_table.InsertRow(row);
            m_blocks.push_back(pBlock);
        }
        CSortColumns keys(30);
        keys.Add(COL_GROUP, SORT_ASCENDING);
        keys.Add(0, SORT_ASCENDING);
        View().Sort(keys, TRUE);
        View().SetGroupHeaderMode(1);
        View().SetTotalsMode(3);
        View().SetTitle("Benchmark", 0);
    }
    ~CBenchTable()
    {
        m_table.RemoveAllRows();
        for (TBCellSlot* pBlock : m_blocks)
            CTableColumns::FreeRowValues(pBlock);
    }
    CViewTable& View() { return *m_table.GetView(0); }

private:
    CTable m_table;
    std::vector<TBCellSlot*> m_blocks;
};

CBenchTable& Table()
{
    static CBenchTable s_table;
    return s_table;
}

void SetUpPrint(CNorvTablePrint& print)
{
    print.GetSettings().SetPrinterName("PDF");
    print.SetName("Benchmark Terminal");
    print.BuildHeaders("Benchmark");
}

std::string OutputPath()
{
    return "/tmp/bench_print_" + std::to_string(getpid()) + ".pdf";
}

void BM_PrintToPdf(benchmark::State& state)
{
    const std::string strPdf = OutputPath();
    long nPages = 0;
    for (auto _ : state) {
        CNorvTablePrint print(&Table().View());
        SetUpPrint(print);
        print.SetOutputFile(strPdf.c_str());
        if (print.Print() != 1) {
            state.SkipWithError("the PDF printer refused the document");
            break;
        }
        nPages += print.GetPageCount();
    }
    state.counters["pages"] = benchmark::Counter(static_cast<double>(nPages), benchmark::Counter::kIsRate);
    std::remove(strPdf.c_str());
}
BENCHMARK(BM_PrintToPdf)->Unit(benchmark::kMillisecond)->Iterations(2);

// The engine with its pagination in reach of the benchmark.
class CBenchPrint : public CNorvTablePrint
{
public:
    explicit CBenchPrint(CViewTable* pView) : CNorvTablePrint(pView) {}
    using CTablePrint::Paginate;
};

// The layout the preview keeps.
class CPreviewRun
{
public:
    CPreviewRun() : m_print(&Table().View())
    {
        SetUpPrint(m_print);
        m_hdc = m_print.BeginPreview();
    }
    ~CPreviewRun() { m_print.EndPreview(m_hdc); }
    CBenchPrint m_print;
    HDC m_hdc = nullptr;
};

void BM_Paginate(benchmark::State& state)
{
    CPreviewRun run;
    if (!run.m_hdc) {
        state.SkipWithError("no printer DC");
        return;
    }
    for (auto _ : state) {
        run.m_print.Paginate(run.m_hdc);
        benchmark::DoNotOptimize(run.m_print.GetPageCount());
    }
    state.counters["pages"] = run.m_print.GetPageCount();
}
BENCHMARK(BM_Paginate)->Unit(benchmark::kMillisecond);

// One page at 100 % on an A4-sized screen bitmap, mapped as the preview maps it.
void BM_PreviewPage(benchmark::State& state)
{
    CPreviewRun run;
    if (!run.m_hdc) {
        state.SkipWithError("no printer DC");
        return;
    }
    HDC hdcScreen = GetDC(nullptr);
    HDC hdc = CreateCompatibleDC(hdcScreen);
    const int cx = GetDeviceCaps(run.m_hdc, HORZRES) * GetDeviceCaps(hdcScreen, LOGPIXELSX) / GetDeviceCaps(run.m_hdc, LOGPIXELSX);
    const int cy = GetDeviceCaps(run.m_hdc, VERTRES) * GetDeviceCaps(hdcScreen, LOGPIXELSY) / GetDeviceCaps(run.m_hdc, LOGPIXELSY);
    HBITMAP hBitmap = CreateCompatibleBitmap(hdcScreen, cx, cy);
    HGDIOBJ hOld = SelectObject(hdc, hBitmap);
    SIZE sizeWindow, sizeViewport;
    GetWindowExtEx(run.m_hdc, &sizeWindow);
    GetViewportExtEx(run.m_hdc, &sizeViewport);
    SetMapMode(hdc, MM_ANISOTROPIC);
    SetWindowExtEx(hdc, sizeWindow.cx * GetDeviceCaps(run.m_hdc, LOGPIXELSX), sizeWindow.cy * GetDeviceCaps(run.m_hdc, LOGPIXELSY), nullptr);
    SetViewportExtEx(hdc, sizeViewport.cx * GetDeviceCaps(hdcScreen, LOGPIXELSX), sizeViewport.cy * GetDeviceCaps(hdcScreen, LOGPIXELSY), nullptr);
    RECT rcAll = {0, 0, cx, cy};
    int nPage = 0;
    for (auto _ : state) {
        FillRect(hdc, &rcAll, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        run.m_print.DrawPreviewPage(nPage, hdc, &rcAll);
        nPage = (nPage + 1) % run.m_print.GetPageCount();
    }
    SelectObject(hdc, hOld);
    DeleteObject(hBitmap);
    DeleteDC(hdc);
    ReleaseDC(nullptr, hdcScreen);
}
BENCHMARK(BM_PreviewPage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    TbInitBenchmarks(&argc, &argv);
    if (!TbInitQtPlatform(&argc, argv)) {
        fprintf(stderr, "bench_print: the Qt display did not start (QT_QPA_PLATFORM=offscreen?)\n");
        return 1;
    }
    TbAddResourcePath(TB_SOURCE_DIR "/resources");
    TbSetResourceModule(LoadLibraryA("_1252.dll"));
    TbUseSystemPrinters(FALSE);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
