// Pictures of the grid a person can look at, in English and in Arabic: a quotation-like view with
// a fixed column, groups and sums, marked rows, change highlights, colours and bold cells, the
// focus frame and both scroll bars; the same after scrolling; a grid control inside a dialog,
// which hands it Tab and Enter.
#include <gtest/gtest.h>

#include "framework/base/NorvGlobals.h"
#include "framework/table/ViewRow.h"
#include "framework/window/TBDialog.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/Menu.h"
#include "tests/common/MenuShot.h"
#include "tests/framework/window/DialogTestSupport.h"
#include "tests/framework/window/GridTestSupport.h"

namespace {

const int IDD_GRID = 320;
const int IDC_GRID = 321;

struct CShotLanguage
{
    BOOL bArabic;
    const char* pszSuffix;
};
const CShotLanguage s_languages[] = {{FALSE, "en"}, {TRUE, "ar"}};

// Arabic titles beside the English ones; the grid shows those of the framework's language.
void SetTitles(CGridTable& table)
{
    static const char* s_arabic[] = {"الرمز", "آخر سعر", "الكمية", "التغير"};
    for (int nCol = 0; nCol < GRID_COLUMNS; ++nCol)
        table.t.Table().GetColumn(nCol).SetTitle(Arabic(s_arabic[nCol]).c_str(), 1);
}

// Colours, bold cells, marks and fresh changes on a few rows of the view.
void Decorate(CGridTable& table, CTableWindow& grid)
{
    grid.SetCellTextColor(RGB(190, 0, 0), 1);
    grid.SetCellBackColor(RGB(255, 250, 190), 2);
    for (int nIndex : {1, 4, 9}) {
        CViewRow row(&table.View());
        if (!table.View().GetRow(row, nIndex) || !row.IsDataRow())
            continue;
        row.SetCellTextColor(GRID_COL_CHANGE, 1);
        row.SetCellBackColor(GRID_COL_LAST, 2);
        row.SetCellBold(GRID_COL_SYMBOL, TRUE);
    }
    for (int nIndex : {2, 3, 7}) {
        CViewRow row(&table.View());
        if (table.View().GetRow(row, nIndex) && row.IsDataRow())
            row.SetMarked(TRUE);
    }
    // Only the rows written below have changed lately; the fill is old news.
    for (int nIndex = 0; nIndex < table.View().GetRowCount(); ++nIndex) {
        CViewRow row(&table.View());
        if (table.View().GetRow(row, nIndex) && row.GetNode())
            row.GetNode()->SetStamp(0);
    }
    for (int nIndex : {5, 6}) {
        CViewRow row(&table.View());
        if (!table.View().GetRow(row, nIndex) || !row.IsDataRow())
            continue;
        TBCellSlot* pBlock = row.LockValues();
        row.UnlockValues(pBlock);
        CRow written = table.t.Find(pBlock);
        int32_t nVolume = 123456;
        written.UpdateCell(GRID_COL_VOLUME, &nVolume);
    }
}

class GridScreenshots : public ::testing::TestWithParam<CShotLanguage>
{
protected:
    void SetUp() override
    {
        GetNorvGlobals().SetRightToLeft(GetParam().bArabic);
        GetNorvGlobals().SetLanguage(GetParam().bArabic ? 1 : 0);
        TbSetActiveCodePage(GetParam().bArabic ? 1256 : 1252);     // menu texts are in the active page
    }
    void TearDown() override
    {
        TbSetActiveCodePage(1252);
        GetNorvGlobals().SetLanguage(0);
        GetNorvGlobals().SetRightToLeft(FALSE);
    }
    std::string Shot(const char* pszName) const
    {
        return ScreenshotPath((std::string(pszName) + "_" + GetParam().pszSuffix).c_str());
    }
};

}  // namespace

TEST_P(GridScreenshots, QuotationViewBeforeAndAfterScrolling)
{
    CGridTable table;
    SetTitles(table);
    table.Fill(60);
    table.SortBy(GRID_COL_CHANGE, SORT_DESCENDING);
    CSortColumns keys(30);
    keys.Add(GRID_COL_CHANGE, SORT_DESCENDING);
    keys.Add(GRID_COL_SYMBOL, SORT_ASCENDING);
    table.View().Sort(keys, /*bGroup=*/TRUE);
    table.View().SetGroupHeaderMode(1);
    table.View().SetTotalsMode(3);
    table.View().SetShowHeader(TRUE);
    table.View().SetFixedColumnCount(1);
    CGridWindow grid(table.View(), 300, 260);
    grid->SetFontFace("DejaVu Sans", 9);
    grid->SetHighlightSeconds(30);
    grid->SetFocusFrame(TRUE);
    Decorate(table, grid.Grid());
    grid->SetCurrentRowOffset(3);
    UpdateWindow(grid.Hwnd());
    EXPECT_TRUE(IsWindowVisible(grid->GetScrollPane().GetScrollBar().m_hWnd)) << "the columns are wider than the pane";
    EXPECT_TRUE(TbSaveWindowPng(grid.Hwnd(), Shot("grid_quotes").c_str()));

    grid->SetTopRow(20, TRUE, 0);
    grid->GetScrollPane().ScrollTo(60, TRUE);
    UpdateWindow(grid.Hwnd());
    EXPECT_EQ(20, grid->GetTopRow());
    EXPECT_TRUE(TbSaveWindowPng(grid.Hwnd(), Shot("grid_quotes_scrolled").c_str()));
}

TEST_P(GridScreenshots, GridControlInADialogTakesTabAndEnter)
{
    CDialogResources resources(GetParam().bArabic ? 1256 : 1252);
    CGridTable table;
    SetTitles(table);
    table.Fill(12);
    CTBDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_GRID, nullptr));
    HWND hGrid = GetDlgItem(dialog.m_hWnd, IDC_GRID);
    ASSERT_NE(nullptr, hGrid);
    CTableWindow* pGrid = dynamic_cast<CTableWindow*>(CTBWnd::FromHandle(hGrid));
    ASSERT_NE(nullptr, pGrid);
    ASSERT_TRUE(pGrid->AttachView(&table.View()));
    EXPECT_FALSE(pGrid->AttachView(&table.View())) << "one view for a grid's life";
    EXPECT_FALSE(pGrid->GetAllowResize());
    EXPECT_EQ(static_cast<LRESULT>(DLGC_BUTTON | DLGC_WANTALLKEYS | DLGC_WANTTAB),
              SendMessageA(hGrid, WM_GETDLGCODE, 0, 0));
    // The dialog's own navigation leaves Tab and Enter to the grid.
    SetFocus(hGrid);
    for (WPARAM vk : {static_cast<WPARAM>(VK_TAB), static_cast<WPARAM>(VK_RETURN)}) {
        MSG msg = {};
        msg.hwnd = hGrid;
        msg.message = WM_KEYDOWN;
        msg.wParam = vk;
        IsDialogMessageA(dialog.m_hWnd, &msg);
        EXPECT_EQ(hGrid, GetFocus()) << vk;
        EXPECT_TRUE(IsWindow(dialog.m_hWnd)) << vk;
    }
    pGrid->SetFontFace("DejaVu Sans", 8);    // as the dialog's owner gives its grid the table's fonts
    pGrid->SetCurrentRowOffset(2);
    ShowWindow(dialog.m_hWnd, SW_SHOW);
    RedrawWindow(dialog.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_TRUE(TbSaveWindowPng(dialog.m_hWnd, Shot("grid_dialog").c_str()));
    dialog.DestroyWindow();
    EXPECT_FALSE(table.View().HasSinks()) << "the control grid went with its dialog";
}

namespace {

// The menu a right click opens, pictured: how many menus the picture held.
int ShootMenuOfClick(HWND hWnd, POINT pt, const std::string& strShot)
{
    return ShootMenuWhile(hWnd, strShot, [&] { ClickAt(hWnd, pt, /*bRight=*/true); });
}

}  // namespace

TEST_P(GridScreenshots, ContextMenuWithItsColumnsAndTheColumnMenuAlone)
{
    CGridLanguage language(GetParam().bArabic ? 1256 : 1252);     // the submenu's caption
    CGridTable table;
    SetTitles(table);
    table.Fill(20);
    table.View().SetShowHeader(TRUE);
    CGridWindow grid(table.View(), 360, 240);
    grid->SetFontFace("DejaVu Sans", 9);
    HMENU hMenu = CreatePopupMenu();
    AppendMenuA(hMenu, MF_STRING, 25601, GetParam().bArabic ? Arabic("نسخ").c_str() : "Copy");
    AppendMenuA(hMenu, MF_STRING, 25504, GetParam().bArabic ? Arabic("خطوط الجدول").c_str() : "Grid lines");
    AppendMenuA(hMenu, MF_STRING, 25500, GetParam().bArabic ? Arabic("الخط...").c_str() : "Font...");
    grid->SetContextMenu(hMenu);
    SetFocus(grid.Hwnd());
    UpdateWindow(grid.Hwnd());
    // On a cell: the context menu, its last item the columns' submenu.
    RECT rcCell;
    ASSERT_TRUE(grid->GetCellRect(2, 1, &rcCell));
    EXPECT_GE(ShootMenuOfClick(grid.Hwnd(), POINT{(rcCell.left + rcCell.right) / 2, (rcCell.top + rcCell.bottom) / 2},
                               Shot("grid_context_menu")),
              1);
    EXPECT_EQ(3, GetMenuItemCount(hMenu)) << "the columns' submenu leaves the context menu again";
    // On a title's edge: the column menu alone.
    RECT rcTitle = grid->GetScrollPane().GetTitleRect();
    RECT rcCol;
    grid->GetScrollPane().GetColumnRect(1, &rcCol);
    const int xEdge = IsRectEmpty(&rcCol) ? rcTitle.left : (GetParam().bArabic ? rcCol.left : rcCol.right - 1);
    EXPECT_GE(ShootMenuOfClick(grid.Hwnd(), POINT{xEdge, (rcTitle.top + rcTitle.bottom) / 2 + 2}, Shot("grid_column_menu")), 1);
}

INSTANTIATE_TEST_SUITE_P(Languages, GridScreenshots, ::testing::ValuesIn(s_languages),
                         [](const ::testing::TestParamInfo<CShotLanguage>& info) { return std::string(info.param.pszSuffix); });
