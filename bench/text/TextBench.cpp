// A page of a quotation grid: 1,200 short numbers drawn into a window of 1,600 x 1,300 during a
// paint, with DrawText and with ExtTextOut, beside Qt alone drawing the same strings into an image
// of the same size (one painter; drawText, static text laid out anew, static text kept).
// Every figure is the time for the whole page of 1,200 strings.
#include <cstdio>
#include <string>
#include <vector>
#include "bench/common/BenchMain.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/QtTextPeers.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/SysMetrics.h"

namespace {
const int WINDOW_CX = 1600;
const int WINDOW_CY = 1300;
const int COLUMNS = 12;
const int ROWS = 100;
const int CELL_CX = WINDOW_CX / COLUMNS;
const int CELL_CY = 13;
const int FONT_HEIGHT = -12;

struct Cell {
    std::string str;
    RECT rc;
};

// Prices of a grid: digits, a thousands comma and two decimals, every one different.
const std::vector<Cell>& Cells()
{
    static std::vector<Cell> s_cells = [] {
        std::vector<Cell> cells;
        unsigned nSeed = 12345;
        for (int row = 0; row < ROWS; ++row)
            for (int col = 0; col < COLUMNS; ++col) {
                nSeed = nSeed * 1103515245u + 12345u;
                unsigned n = (nSeed >> 8) % 10000000u;
                char sz[32];
                snprintf(sz, sizeof sz, "%u,%03u.%02u", n / 100000u, (n / 100u) % 1000u, n % 100u);
                RECT rc = {col * CELL_CX, row * CELL_CY, (col + 1) * CELL_CX - 4, (row + 1) * CELL_CY};
                cells.push_back({sz, rc});
            }
        return cells;
    }();
    return s_cells;
}

HWND Window()
{
    static HWND s_hWnd = [] {
        WNDCLASSA wc = {0, DefWindowProcA, 0, 0, nullptr, nullptr, nullptr,
                        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)), nullptr, "TbTextBench"};
        RegisterClassA(&wc);
        HWND hWnd = CreateWindowExA(0, "TbTextBench", "Text", WS_POPUP | WS_VISIBLE, 0, 0, WINDOW_CX, WINDOW_CY,
                                    nullptr, nullptr, nullptr, nullptr);
        return hWnd;
    }();
    return s_hWnd;
}

HFONT Font()
{
    static HFONT s_hFont = [] {
        LOGFONTA lf = {};
        lf.lfHeight = FONT_HEIGHT;
        lf.lfWeight = FW_NORMAL;
        snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "DejaVu Sans");
        return CreateFontIndirectA(&lf);
    }();
    return s_hFont;
}

// The page inside one BeginPaint..EndPaint, as a grid's WM_PAINT draws it.
template <class Draw> void PaintPage(benchmark::State& state, Draw draw)
{
    HWND hWnd = Window();
    for (auto _ : state) {
        InvalidateRect(hWnd, nullptr, FALSE);
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hWnd, &ps);
        HGDIOBJ hOld = SelectObject(hdc, Font());
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, RGB(0, 0, 128));
        for (const Cell& cell : Cells())
            draw(hdc, cell);
        SelectObject(hdc, hOld);
        EndPaint(hWnd, &ps);
    }
    state.counters["strings"] = static_cast<double>(Cells().size());
}

void BM_DrawText(benchmark::State& state)
{
    PaintPage(state, [](HDC hdc, const Cell& cell) {
        RECT rc = cell.rc;
        DrawTextA(hdc, cell.str.c_str(), static_cast<int>(cell.str.size()), &rc,
                  DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    });
}
BENCHMARK(BM_DrawText)->Unit(benchmark::kMillisecond);

void BM_ExtTextOut(benchmark::State& state)
{
    PaintPage(state, [](HDC hdc, const Cell& cell) {
        SetTextAlign(hdc, TA_RIGHT | TA_TOP);
        ExtTextOutA(hdc, cell.rc.right, cell.rc.top, ETO_CLIPPED, &cell.rc, cell.str.c_str(),
                    static_cast<UINT>(cell.str.size()), nullptr);
    });
}
BENCHMARK(BM_ExtTextOut)->Unit(benchmark::kMillisecond);

// ---- Qt alone, the same strings on an image of the window's size ----

CTbQtTextPeers& Peers()
{
    static CTbQtTextPeers s_peers = [] {
        std::vector<TBTEXTPEERCELL> cells;
        for (const Cell& cell : Cells())
            cells.push_back({cell.str, cell.rc});
        return CTbQtTextPeers(WINDOW_CX, WINDOW_CY, "DejaVu Sans", -FONT_HEIGHT, cells);
    }();
    return s_peers;
}

void BM_QtDrawText(benchmark::State& state)
{
    for (auto _ : state)
        Peers().DrawWithPainter();
}
BENCHMARK(BM_QtDrawText)->Unit(benchmark::kMillisecond);

void BM_QtStaticTextLaidOutAnew(benchmark::State& state)
{
    for (auto _ : state)
        Peers().DrawStaticTextAnew();
}
BENCHMARK(BM_QtStaticTextLaidOutAnew)->Unit(benchmark::kMillisecond);

void BM_QtStaticTextKept(benchmark::State& state)
{
    Peers().DrawStaticTextKept();       // lays the texts out once, outside the timing
    for (auto _ : state)
        Peers().DrawStaticTextKept();
}
BENCHMARK(BM_QtStaticTextKept)->Unit(benchmark::kMillisecond);
}

int main(int argc, char** argv)
{
    TbInitBenchmarks(&argc, &argv);
    if (!TbInitQtPlatform(&argc, argv)) {
        fprintf(stderr, "bench_text: the Qt display did not start (QT_QPA_PLATFORM=offscreen?)\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
