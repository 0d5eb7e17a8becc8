// The grid window's life, layout and vertical scrolling.
#include <gtest/gtest.h>

#include <vector>

#include "framework/base/Ini.h"
#include "framework/base/NorvGlobals.h"
#include "framework/window/TWApp.h"
#include "platform/mfc/Wnd.h"
#include "platform/win/user/SysMetrics.h"
#include "tests/framework/window/GridTestSupport.h"

namespace {

class CDestroySink : public CTableWindowEventSink
{
public:
    void OnWindowDestroyed(CTableWindow* pWindow) override { m_pGone = pWindow; }
    CTableWindow* m_pGone = nullptr;
};

}  // namespace

TEST(TableWindow, CreationNeedsAnOpenViewAndRegistersWithIt)
{
    CViewTable closed;
    CTableWindow refused;
    EXPECT_FALSE(refused.CreateEx(&closed, 0, "x", WS_POPUP, 0, 0, 100, 100, nullptr, 0));
    EXPECT_FALSE(refused.CreateEx(nullptr, 0, "x", WS_POPUP, 0, 0, 100, 100, nullptr, 0));
    EXPECT_EQ(nullptr, refused.m_hWnd);
    EXPECT_FALSE(closed.HasSinks());

    CGridTable table;
    table.Fill(10);
    {
        CGridWindow grid(table.View());
        ASSERT_NE(nullptr, grid.Hwnd());
        EXPECT_TRUE(table.View().HasSinks());
        CDestroySink sink;
        grid->AddEventSink(&sink);
        DestroyWindow(grid.Hwnd());
        EXPECT_EQ(&grid.Grid(), sink.m_pGone);
        EXPECT_FALSE(table.View().HasSinks());
    }
}

TEST(TableWindow, RefusedCreationKeepsNoViewAndCanBeTriedAgain)
{
    CTableWindow grid;
    {
        CGridTable gone;
        EXPECT_FALSE(grid.CreateEx(&gone.View(), 0, "x", WS_CHILD, 0, 0, 100, 100, nullptr, 0))
            << "a child needs a parent";
        EXPECT_FALSE(gone.View().HasSinks());
        EXPECT_EQ(nullptr, grid.GetView());
    }
    // The view it was refused with is gone: loading settings must not reach for it.
    grid.Load(nullptr, nullptr);
    EXPECT_EQ(0, grid.GetDisplayColumnCount());

    CGridTable table;
    table.Fill(3);
    CGridWindow shown(table.View(), 400, 300, &grid);
    ASSERT_NE(nullptr, shown.Hwnd());
    EXPECT_EQ(&table.View(), grid.GetView());
    EXPECT_EQ(GRID_COLUMNS, grid.GetDisplayColumnCount());
}

TEST(TableWindow, LayoutCutsHeaderFixedDividerAndScrollingPanes)
{
    CGridTable table;
    table.Fill(100);
    table.View().SetShowHeader(TRUE);
    CGridWindow grid(table.View(), 500, 300);
    const int nRowHeight = grid->GetRowHeight();
    EXPECT_GT(nRowHeight, 5);
    // No fixed column: no divider, the scrolling pane starts after the row headers.
    EXPECT_TRUE(IsRectEmpty(&grid->GetDividerRect()));
    EXPECT_EQ(nRowHeight, grid->GetHeaderPane().GetRect().right);
    EXPECT_EQ(nRowHeight, grid->GetScrollPane().GetRect().left);
    // 100 rows do not fit: the vertical bar takes its strip at the right.
    EXPECT_EQ(500 - GetSystemMetrics(SM_CXVSCROLL), grid->GetGridRect().right);

    table.View().SetFixedColumnCount(1);
    const int nFixed = grid->GetColumnWidth(0);
    EXPECT_EQ(5, grid->GetDividerRect().right - grid->GetDividerRect().left);
    EXPECT_EQ(nRowHeight + nFixed, grid->GetDividerRect().left);
    EXPECT_EQ(nRowHeight + nFixed + 5, grid->GetScrollPane().GetRect().left);
}

TEST(TableWindow, FewRowsHideTheBarAndBringTheTopBack)
{
    CGridTable table;
    table.Fill(200);
    CGridWindow grid(table.View(), 400, 300);
    grid->ScrollToRow(150, 0);
    EXPECT_EQ(150, grid->GetTopRow());
    grid->ScrollToRow(1000, -3);
    EXPECT_EQ(grid->GetMaxTopRow(), grid->GetTopRow());
    EXPECT_EQ(199, grid->GetLastFullyShownRow());
    // Taller than the rows: the bar goes and the top row comes back to 0.
    SetWindowPos(grid.Hwnd(), nullptr, 0, 0, 400, 200 * grid->GetRowHeight() + 200, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(0, grid->GetTopRow());
    EXPECT_EQ(400, grid->GetGridRect().right);
}

TEST(TableWindow, WheelScrollsOneLinePerMessage)
{
    CGridTable table;
    table.Fill(300);
    CGridWindow grid(table.View(), 400, 300);
    // The current row moves first while it can; at the bottom line the rows scroll instead.
    const int nBottom = grid->GetWholeLines() - 1;
    grid->SetCurrentRowOffset(nBottom);
    for (int i = 0; i < 3; ++i)
        SendMessageA(grid.Hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-360)), 0);
    EXPECT_EQ(3, grid->GetTopRow()) << "one line per message, whatever the delta";
    EXPECT_EQ(nBottom, grid->GetCurrentOffset());
    SendMessageA(grid.Hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120 * 5), 0);
    EXPECT_EQ(3, grid->GetTopRow());
    EXPECT_EQ(nBottom - 1, grid->GetCurrentOffset());
    grid->SetCurrentRowOffset(0);
    SendMessageA(grid.Hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(2, grid->GetTopRow());
}

TEST(TableWindow, StoredPlacementMovesOnlyCompleteRectangles)
{
    CGridTable table;
    table.Fill(5);
    CGridWindow grid(table.View(), 300, 200);
    CIni section(TestFilePath("grid.ini").c_str(), "Grid");
    section.WriteString(IDS_GRID_PLACEMENT, "30,40,0,100");
    grid->Load(&section, nullptr);
    RECT rc;
    GetWindowRect(grid.Hwnd(), &rc);
    EXPECT_EQ(300, rc.right - rc.left);
    section.WriteString(IDS_GRID_PLACEMENT, "30,40,250,120");
    grid->Load(&section, nullptr);
    GetWindowRect(grid.Hwnd(), &rc);
    EXPECT_EQ(30, rc.left);
    EXPECT_EQ(250, rc.right - rc.left);
    grid->SetAllowResize(FALSE);
    section.WriteString(IDS_GRID_PLACEMENT, "50,60,260,130");
    grid->Load(&section, nullptr);
    GetWindowRect(grid.Hwnd(), &rc);
    EXPECT_EQ(30, rc.left);
    remove(TestFilePath("grid.ini").c_str());
}

TEST(TableWindow, SystemCommandsFollowTheAllowFlags)
{
    CGridTable table;
    table.Fill(5);
    CGridWindow grid(table.View(), 300, 200);
    grid->SetAllowMaximize(FALSE);
    SendMessageA(grid.Hwnd(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_FALSE(IsZoomed(grid.Hwnd()));
    grid->SetAllowMaximize(TRUE);
    SendMessageA(grid.Hwnd(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_TRUE(IsZoomed(grid.Hwnd()));
}

TEST(TableWindow, ContextMenuIsOwnedAndAReplacedOneIsDestroyed)
{
    CTableWindow grid;
    HMENU hFirst = CreatePopupMenu();
    HMENU hSecond = CreatePopupMenu();
    grid.SetContextMenu(hFirst);
    grid.SetContextMenu(hFirst);
    EXPECT_TRUE(IsMenu(hFirst)) << "the same menu again is kept";
    grid.SetContextMenu(hSecond);
    EXPECT_FALSE(IsMenu(hFirst));
    EXPECT_TRUE(IsMenu(hSecond));
}

TEST(TableWindow, SortArrowNeedsThirteenPixelsOfTitleText)
{
    CGridTable table;
    table.Fill(3);
    CGridWindow grid(table.View());
    const int nCol = table.View().GetColumnOrder().FindPosition(GRID_COL_LAST);
    // The title cell's pixels with the view sorted by the column or by another one.
    auto Title = [&](int nSortCol, RECT* pCell) {
        table.SortBy(nSortCol, 1);
        InvalidateRect(grid.Hwnd(), nullptr, FALSE);
        UpdateWindow(grid.Hwnd());
        grid->GetCellRect(0, nCol, pCell);
        std::vector<COLORREF> pixels;
        HDC hdc = GetDC(grid.Hwnd());
        for (int y = 0; y < grid->GetTitleHeight(); ++y)
            for (int x = pCell->left; x < pCell->right; ++x)
                pixels.push_back(GetPixel(hdc, x, y));
        ReleaseDC(grid.Hwnd(), hdc);
        return pixels;
    };
    for (int nWidth = 14; nWidth <= 24; ++nWidth) {
        grid->SetColumnWidth(nCol, nWidth, FALSE);
        RECT rcCell;
        const std::vector<COLORREF> other = Title(GRID_COL_SYMBOL, &rcCell);
        const bool bArrow = Title(GRID_COL_LAST, &rcCell) != other;
        // The text keeps 3 pixels off each side of the cell.
        EXPECT_EQ(rcCell.right - rcCell.left - 6 >= 13, bArrow) << "cell " << rcCell.right - rcCell.left << " wide";
    }
}

TEST(TableWindow, HideOnCloseKeepsTheWindow)
{
    CGridTable table;
    table.Fill(5);
    table.View().SetHideOnClose(TRUE);
    CGridWindow grid(table.View(), 300, 200);
    SendMessageA(grid.Hwnd(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(IsWindow(grid.Hwnd()));
    EXPECT_FALSE(IsWindowVisible(grid.Hwnd()));
}

TEST(TWApp, DestroyedGridIsNoLongerTheTarget)
{
    ASSERT_NE(nullptr, CTWApp::Get());
    CTWApp& app = *CTWApp::Get();
    EXPECT_NE(0u, app.GetClipboardFormat());
    EXPECT_TRUE(app.RegisterWindowClasses());   // a second registration finds the classes there
    CGridTable table;
    table.Fill(3);
    {
        CGridWindow grid(table.View(), 200, 100);
        app.SetTargetWindow(&grid.Grid());
        EXPECT_EQ(&grid.Grid(), app.GetTargetWindow());
    }
    EXPECT_EQ(nullptr, app.GetTargetWindow());
}

TEST(TWApp, SystemColourChangeRedrawsGridFramesInTheNewColour)
{
    CGridTable table;
    table.Fill(3);
    // As in the product: the system tells the class library's top-level frame, and the grid
    // is a window inside it.
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "Frame", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 420, 320, nullptr, nullptr));
    CTableWindow grid;
    ASSERT_TRUE(grid.CreateEx(&table.View(), 0, "Grid", WS_CHILD | WS_VISIBLE, 0, 0, 400, 300, frame.m_hWnd, 1));
    UpdateWindow(grid.m_hWnd);
    const COLORREF crNew = RGB(250, 250, 200);
    auto Shown = [&grid, crNew] {
        HDC hdc = GetDC(grid.m_hWnd);
        int nCount = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x)
                nCount += GetPixel(hdc, x, y) == crNew;
        ReleaseDC(grid.m_hWnd, hdc);
        return nCount;
    };
    ASSERT_EQ(0, Shown());

    INT nIndex = COLOR_BTNHIGHLIGHT;
    const COLORREF crOld = GetSysColor(nIndex);
    ASSERT_TRUE(SetSysColors(1, &nIndex, &crNew));
    UpdateWindow(grid.m_hWnd);
    EXPECT_GT(Shown(), 0) << "the titles' frames light up in the new colour";
    SetSysColors(1, &nIndex, &crOld);
    UpdateWindow(grid.m_hWnd);
    EXPECT_EQ(0, Shown()) << "and go back with it";
    frame.DestroyWindow();
}

TEST(TableWindow, TallWindowPaintsEveryLineItShows)
{
    CGridTable table;
    table.Fill(400);
    CGridWindow grid(table.View(), 300, 200);
    const int nHeight = grid->GetTitleHeight() + 150 * grid->GetRowHeight() + 40;
    SetWindowPos(grid.Hwnd(), nullptr, 0, 0, 300, nHeight, SWP_NOZORDER | SWP_NOMOVE);
    InvalidateRect(grid.Hwnd(), nullptr, FALSE);
    UpdateWindow(grid.Hwnd());
    ASSERT_GT(grid->GetLinesThatFit(), 150);
    // More lines than the row cache started with: every one of them was read and painted.
    EXPECT_EQ(grid->GetLastShownRow() - grid->GetTopRow() + 1, grid->GetRowCache().GetCount());
    EXPECT_NE(nullptr, grid->GetRowCache().GetLineRow(grid->GetLinesThatFit() - 1));
}
