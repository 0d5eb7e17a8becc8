// The grid's fast find driven through its controls, and the application layer's show of the
// grid dialogs: one dialog reused for two grids, made again after the user closed it, and
// nothing left behind when it cannot be made.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "DialogTestSupport.h"
#include "framework/window/DlgFastFind.h"
#include "framework/window/DlgFilter.h"
#include "framework/window/TWApp.h"
#include "platform/win/gdi/ImageCodec.h"
#include "tests/framework/window/GridTestSupport.h"

namespace {

TBCellSlot* AddRow(CGridTable& g, const char* pszSymbol, double dChange, int nVolume)
{
    TBCellSlot* pBlock = g.t.NewBlock();
    PutText(g.t, pBlock, GRID_COL_SYMBOL, pszSymbol);
    g.View().GetColumns().SetSlotValue(&pBlock[GRID_COL_CHANGE], &dChange, GRID_COL_CHANGE);
    PutInt(g.t, pBlock, GRID_COL_VOLUME, nVolume);
    g.t.Insert(pBlock);
    return pBlock;
}

class FastFind : public ::testing::Test
{
protected:
    void TearDown() override
    {
        CDlgFastFind* pDlg = CTWApp::Get()->GetFastFindDialog();
        if (pDlg != nullptr && pDlg->m_hWnd != nullptr)
            ClickItem(pDlg->m_hWnd, IDCANCEL);
    }
    void Show(int nRows = 0)
    {
        m_table.Fill(nRows);
        m_pGrid = std::make_unique<CGridWindow>(m_table.View());
    }
    HWND Open(int nCol)
    {
        CTWApp::Get()->ShowFastFindDialog(&m_pGrid->Grid(), nCol);
        CDlgFastFind* pDlg = CTWApp::Get()->GetFastFindDialog();
        return pDlg ? pDlg->m_hWnd : nullptr;
    }
    // The view row made current by typing the text; -1 when none is.
    int Typed(HWND hDlg, const char* pszText)
    {
        SetItemText(hDlg, IDC_FASTFIND_TEXT, pszText);
        return (*m_pGrid)->GetCurrentRow();
    }

    CGridTable m_table;
    std::unique_ptr<CGridWindow> m_pGrid;   // goes before the table
};

TEST_F(FastFind, TypedTextFindsTheFirstCellThatBeginsWithItIgnoringCase)
{
    for (const char* psz : {"zeta", "ABACUS", "alpha", "abc-x", "*star", "Ab"})
        AddRow(m_table, psz, 0, 0);
    Show();
    HWND hDlg = Open(GRID_COL_SYMBOL);
    ASSERT_NE(nullptr, hDlg);
    EXPECT_EQ(1, Typed(hDlg, "ab"));
    EXPECT_EQ(2, Typed(hDlg, "AL"));
    EXPECT_EQ(2, Typed(hDlg, "a?p"));       // the user's own wildcards
    EXPECT_EQ(3, Typed(hDlg, "a*-"));
    EXPECT_EQ(1, Typed(hDlg, "*s"));        // a star anywhere...
    EXPECT_EQ(4, Typed(hDlg, "\\*s"));      // ...and an escaped one at the start
    // No match: nothing moves.
    EXPECT_EQ(4, Typed(hDlg, "q"));
    EXPECT_TRUE(ItemEnabled(hDlg, IDC_GRID_FIND_NEXT));
}

TEST_F(FastFind, NumbersAreFoundAsTypedWithoutSeparatorsOrPadding)
{
    // A price column that shows both fraction digits.
    m_table.View().GetColumns().GetColumn(GRID_COL_CHANGE)->SetMinDecimals(2);
    AddRow(m_table, "A", -3, 5);
    AddRow(m_table, "B", 1234.65, 7);
    AddRow(m_table, "C", 1234.5, 8);
    AddRow(m_table, "D", 1234.56, 12345);
    AddRow(m_table, "E", 12.25, 9);
    Show();
    CViewRow row(&m_table.View());
    CTBString strCell;
    ASSERT_TRUE(m_table.View().GetRow(row, 2));
    row.GetText(strCell, GRID_COL_CHANGE);
    ASSERT_STREQ("1,234.50", strCell);

    HWND hDlg = Open(GRID_COL_CHANGE);
    EXPECT_EQ(1, Typed(hDlg, "1234"));
    EXPECT_EQ(2, Typed(hDlg, "1234.5"));    // the digits typed, not 1234.50 and not 123450
    EXPECT_EQ(2, Typed(hDlg, "1234.50"));
    EXPECT_EQ(3, Typed(hDlg, "1234.56"));
    EXPECT_EQ(2, Typed(hDlg, "1,234.5"));   // the plain match of the text as shown
    EXPECT_EQ(4, Typed(hDlg, "12.2"));
    EXPECT_EQ(0, Typed(hDlg, "-3"));
    EXPECT_EQ(0, Typed(hDlg, "1234.7"));    // no match: the current row stays

    // Another column chosen: the text already typed is looked for there at once.
    EXPECT_EQ(1, Typed(hDlg, "1234"));
    SendDlgItemMessageA(hDlg, IDC_GRID_COLUMNS, CB_SETCURSEL,
                        SendDlgItemMessageA(hDlg, IDC_GRID_COLUMNS, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>("Volume")), 0);
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_GRID_COLUMNS, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDC_GRID_COLUMNS)));
    EXPECT_EQ(GRID_COL_VOLUME, CTWApp::Get()->GetFastFindDialog()->GetColumn());
    EXPECT_EQ(3, (*m_pGrid)->GetCurrentRow()) << "12,345";
}

TEST_F(FastFind, FindNextWrapsAndNeverStopsOnGroupOrSumLines)
{
    AddRow(m_table, "S1", 0, 10);
    AddRow(m_table, "S1", 0, 20);
    AddRow(m_table, "S2", 0, 5);
    m_table.View().SetTotalsMode(3);        // group sums and a grand total
    CSortColumns keys(30);
    keys.Add(GRID_COL_SYMBOL, SORT_ASCENDING);
    m_table.View().Sort(keys, /*bGroup=*/TRUE);
    Show();
    HWND hDlg = Open(GRID_COL_VOLUME);
    // The sum lines show 30, 5 and 35; no data row begins with 3.
    std::vector<int> dataLines;
    CViewRow row(&m_table.View());
    bool bSumShowsThree = false;
    for (int i = 0; i < m_table.View().GetRowCount(); ++i) {
        ASSERT_TRUE(m_table.View().GetRow(row, i));
        CTBString strCell;
        row.GetText(strCell, GRID_COL_VOLUME);
        if (row.IsDataRow())
            dataLines.push_back(i);
        else if (strCell.GetAt(0) == '3')
            bSumShowsThree = true;
    }
    ASSERT_TRUE(bSumShowsThree);
    ASSERT_EQ(3u, dataLines.size());
    (*m_pGrid)->SelectRow(dataLines[0], 0, FALSE);
    EXPECT_EQ(dataLines[0], Typed(hDlg, "3"));

    // Every data row holds a volume with a 0 or 5 in it: "*" finds each in turn, then wraps.
    EXPECT_EQ(dataLines[0], Typed(hDlg, "*"));
    for (int nNext : {dataLines[1], dataLines[2], dataLines[0], dataLines[1]}) {
        ClickItem(hDlg, IDC_GRID_FIND_NEXT);
        EXPECT_EQ(nNext, (*m_pGrid)->GetCurrentRow());
    }
    // Enter (the dialog's OK) is Find next too.
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(dataLines[2], (*m_pGrid)->GetCurrentRow());
}

TEST_F(FastFind, BlankTextGreysTheFindButton)
{
    Show(5);
    HWND hDlg = Open(-1);
    // Opened without a column: the first listed column is in force.
    EXPECT_EQ(GRID_COL_SYMBOL, CTWApp::Get()->GetFastFindDialog()->GetColumn());
    EXPECT_EQ(4, Typed(hDlg, "s0004"));
    EXPECT_TRUE(ItemEnabled(hDlg, IDC_GRID_FIND_NEXT));
    for (const char* psz : {"", "  \t"}) {
        Typed(hDlg, psz);
        EXPECT_FALSE(ItemEnabled(hDlg, IDC_GRID_FIND_NEXT)) << "'" << psz << "'";
    }
    EXPECT_EQ(4, (*m_pGrid)->GetCurrentRow());
    char szCaption[128] = "";
    GetWindowTextA(hDlg, szCaption, sizeof(szCaption));
    EXPECT_EQ(std::string("Find - ") + static_cast<const char*>(m_table.View().GetTitle()), szCaption);
}

TEST(GridDialogs, OneDialogServesGridAThenBAndIsMadeAgainWhenClosed)
{
    CTWApp& app = *CTWApp::Get();
    CGridTable tableA, tableB;
    tableA.Fill(3);
    tableB.Fill(4);
    tableA.View().SetTitle("Quotes A", 0);
    tableB.View().SetTitle("Quotes B", 0);
    // Two grids, no message pumped.
    CGridWindow gridA(tableA.View()), gridB(tableB.View());

    app.ShowFastFindDialog(&gridA.Grid(), GRID_COL_SYMBOL);
    CDlgFastFind* pFind = app.GetFastFindDialog();
    ASSERT_NE(nullptr, pFind);
    HWND hFirst = pFind->m_hWnd;
    ASSERT_NE(nullptr, hFirst);
    EXPECT_EQ(&gridA.Grid(), app.GetTargetWindow());
    EXPECT_TRUE(IsWindowVisible(hFirst));

    app.ShowFastFindDialog(&gridB.Grid(), GRID_COL_VOLUME);
    EXPECT_EQ(pFind, app.GetFastFindDialog());
    EXPECT_EQ(hFirst, pFind->m_hWnd);
    EXPECT_EQ(&gridB.Grid(), pFind->GetTarget());
    EXPECT_EQ(GRID_COL_VOLUME, pFind->GetColumn());
    EXPECT_EQ(&gridB.Grid(), app.GetTargetWindow());
    EXPECT_EQ("Find - Quotes B", std::string(pFind->GetWindowText()));
    SetItemText(hFirst, IDC_FASTFIND_TEXT, "30");
    EXPECT_EQ(3, gridB->GetCurrentRow());

    // The filter dialog follows the same rule.
    app.ShowFilterDialog(&gridA.Grid(), GRID_COL_VOLUME);
    CDlgFilter* pFilter = app.GetFilterDialog();
    ASSERT_NE(nullptr, pFilter);
    HWND hFilter = pFilter->m_hWnd;
    app.ShowFilterDialog(&gridB.Grid(), GRID_COL_SYMBOL);
    EXPECT_EQ(pFilter, app.GetFilterDialog());
    EXPECT_EQ(hFilter, pFilter->m_hWnd);
    EXPECT_EQ(&gridB.Grid(), pFilter->GetTarget());
    EXPECT_EQ("4", ItemText(hFilter, IDC_FILTER_ROWS));

    // Retargeting moves every open dialog, on the view's first column.
    app.SetTargetWindow(&gridA.Grid());
    EXPECT_EQ(&gridA.Grid(), pFind->GetTarget());
    EXPECT_EQ(&gridA.Grid(), pFilter->GetTarget());
    EXPECT_EQ(0, pFind->GetColumn());
    EXPECT_EQ("3", ItemText(hFilter, IDC_FILTER_ROWS));

    // Closed by the user, made again on the next request.
    ClickItem(hFirst, IDCANCEL);
    EXPECT_EQ(nullptr, app.GetFastFindDialog()->m_hWnd);
    app.ShowFastFindDialog(&gridB.Grid(), -1);
    ASSERT_NE(nullptr, app.GetFastFindDialog());
    EXPECT_NE(nullptr, app.GetFastFindDialog()->m_hWnd);
    EXPECT_EQ(&gridB.Grid(), app.GetFastFindDialog()->GetTarget());
    ClickItem(app.GetFastFindDialog()->m_hWnd, IDCANCEL);
    ClickItem(hFilter, IDCANCEL);
}

TEST(GridDialogs, ADialogThatCannotBeMadeLeavesNothing)
{
    CTWApp& app = *CTWApp::Get();
    CGridTable table;
    table.Fill(2);
    CGridWindow grid(table.View());
    CDlgFastFind* pOld = app.GetFastFindDialog();
    if (pOld != nullptr && pOld->m_hWnd != nullptr)
        ClickItem(pOld->m_hWnd, IDCANCEL);
    {
        // A module without the grid dialogs' templates.
        CDialogResources other(1252);
        GetNorvGlobals().m_bBeep = FALSE;
        app.ShowFastFindDialog(&grid.Grid(), 0);
        app.ShowFilterDialog(&grid.Grid(), 0);
        GetNorvGlobals().m_bBeep = TRUE;
        EXPECT_EQ(nullptr, app.GetFastFindDialog());
        EXPECT_EQ(nullptr, app.GetFilterDialog());
    }
    app.ShowFastFindDialog(&grid.Grid(), 0);
    ASSERT_NE(nullptr, app.GetFastFindDialog());
    ClickItem(app.GetFastFindDialog()->m_hWnd, IDCANCEL);
}

TEST(GridDialogShots, FastFindInEnglishAndArabic)
{
    for (int nCodePage : {1252, 1256}) {
        CGridLanguage language(nCodePage);
        CGridTable table;
        table.Fill(20);
        if (nCodePage == 1256)
            SetArabicTitles(table);
        CGridWindow grid(table.View());
        CTWApp::Get()->ShowFastFindDialog(&grid.Grid(), GRID_COL_SYMBOL);
        CDlgFastFind* pDlg = CTWApp::Get()->GetFastFindDialog();
        ASSERT_NE(nullptr, pDlg);
        ASSERT_NE(nullptr, pDlg->m_hWnd);
        SetItemText(pDlg->m_hWnd, IDC_FASTFIND_TEXT, "S0012");
        EXPECT_EQ(12, grid->GetCurrentRow());
        UpdateWindow(pDlg->m_hWnd);
        Drain();
        const char* pszShot = nCodePage == 1256 ? "grid_dialog_fastfind_ar" : "grid_dialog_fastfind_en";
        EXPECT_TRUE(TbSaveWindowPng(pDlg->m_hWnd, ScreenshotPath(pszShot).c_str())) << pszShot;
        ClickItem(pDlg->m_hWnd, IDCANCEL);
    }
}
}  // namespace

namespace {
BOOL CALLBACK FindShownList(HWND hWnd, LPARAM lParam)
{
    char sz[32] = {};
    GetClassNameA(hWnd, sz, sizeof sz);
    if (std::string(sz) == WC_LISTBOXA && IsWindowVisible(hWnd)) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

// The column chosen with the mouse in the dialog's list (the window manager activating the list
// the pointer is on, as a desktop does): Find next looks in that column.
TEST_F(FastFind, AColumnChosenWithTheMouseIsTheOneSearched)
{
    AddRow(m_table, "alpha", 0, 300);
    AddRow(m_table, "beta", 0, 200);
    AddRow(m_table, "gamma", 0, 100);
    Show();
    HWND hDlg = Open(GRID_COL_SYMBOL);
    ASSERT_NE(nullptr, hDlg);
    ASSERT_EQ(0, Typed(hDlg, "1")) << "no symbol begins with 1: the first row stays";
    HWND hColumns = GetDlgItem(hDlg, IDC_GRID_COLUMNS);
    RECT rc;
    GetClientRect(hColumns, &rc);
    ClickAt(hColumns, POINT{rc.right / 2, rc.bottom / 2});
    HWND hList = nullptr;
    EnumWindows(FindShownList, reinterpret_cast<LPARAM>(&hList));
    ASSERT_NE(nullptr, hList) << "the column list opened";
    TbDisplayActivate(hList);
    PumpInput();
    const LRESULT nVolume = SendMessageA(hList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("Volume"));
    ASSERT_GE(nVolume, 0);
    RECT rcItem = {};
    SendMessageA(hList, LB_GETITEMRECT, static_cast<WPARAM>(nVolume), reinterpret_cast<LPARAM>(&rcItem));
    ClickAt(hList, POINT{rcItem.left + 5, (rcItem.top + rcItem.bottom) / 2});
    char szShown[32] = {};
    GetWindowTextA(hColumns, szShown, sizeof szShown);
    EXPECT_STREQ("Volume", szShown);
    ClickItem(hDlg, IDC_GRID_FIND_NEXT);
    EXPECT_EQ(2, (*m_pGrid)->GetCurrentRow()) << "the row whose volume begins with 1";
}
