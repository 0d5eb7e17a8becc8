// The grid's filter dialog driven through its controls: criteria added with the operator
// buttons and applied, the combine switch, removing everything, the per-column limit, Escape in
// the field, editing a criterion of a column that holds many; and both grid dialogs once their
// grid is gone.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "framework/table/TableFilters.h"
#include "framework/window/DlgFilter.h"
#include "framework/window/TWApp.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/user/VirtualKeys.h"
#include "tests/framework/window/GridTestSupport.h"

namespace {

class FilterDialog : public ::testing::Test
{
protected:
    FilterDialog()
    {
        m_table.Fill(20);   // volume 10 * i, change (i % 7) - 3
    }
    void TearDown() override
    {
        CDlgFilter* pDlg = CTWApp::Get()->GetFilterDialog();
        if (pDlg != nullptr && pDlg->m_hWnd != nullptr)
            pDlg->DestroyWindow();
    }
    HWND Open(int nCol)
    {
        if (!m_pGrid)
            m_pGrid = std::make_unique<CGridWindow>(m_table.View());
        CTWApp::Get()->ShowFilterDialog(&m_pGrid->Grid(), nCol);
        m_pDlg = CTWApp::Get()->GetFilterDialog();
        return m_pDlg ? m_pDlg->m_hWnd : nullptr;
    }
    // The view's own filters, as a saved layout would bring them.
    void PresetCriteria(int nCol, int nFirst, int nCount)
    {
        CTableFilters* pFilters = m_table.View().GetFilters();
        if (pFilters == nullptr) {
            pFilters = new CTableFilters;
            pFilters->Init(&m_table.View(), nullptr);
            m_table.View().SetFilters(pFilters);
        }
        for (int i = nFirst; i < nFirst + nCount; ++i) {
            char sz[16];
            snprintf(sz, sizeof(sz), "=%d", i);
            ASSERT_GE(pFilters->AddFilter(nCol, sz, /*bFlag=*/FALSE, /*nGroup=*/1), 0) << sz;
        }
    }
    void ChooseColumn(HWND hDlg, const char* pszTitle)
    {
        HWND hCombo = GetDlgItem(hDlg, IDC_GRID_COLUMNS);
        const LRESULT nItem = SendMessageA(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pszTitle));
        SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nItem), 0);
        SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_GRID_COLUMNS, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
    }
    // An operator button, then the value after it, then the group's add button.
    void AddWithOperator(HWND hDlg, int nField, int nOperator, const char* pszValue)
    {
        SetFocus(GetDlgItem(hDlg, nField));
        ClickItem(hDlg, nOperator);
        SetItemText(hDlg, nField, (ItemText(hDlg, nField) + pszValue).c_str());
        ClickItem(hDlg, nField == IDC_FILTER_ANY_TEXT ? IDC_FILTER_ANY_ADD : IDC_FILTER_ALL_ADD);
    }
    int Marked()
    {
        CRowStatistics stats;
        m_table.View().GetRowStatistics(&stats);
        return stats.nMarked;
    }
    // In the marked-rows mode an unmarked row is not shown at all.
    bool IsMarked(int nTableRow)
    {
        char szSymbol[16];
        snprintf(szSymbol, sizeof(szSymbol), "S%04d", nTableRow);
        CViewRow row(&m_table.View());
        for (int i = 0; i < m_table.View().GetRowCount(); ++i) {
            CTBString str;
            if (m_table.View().GetRow(row, i) && row.IsDataRow() && row.GetText(str, GRID_COL_SYMBOL) && str == szSymbol)
                return row.IsMarked();
        }
        return false;
    }
    std::vector<std::string> CriteriaOf(const CTableFilters& filters, int nCol)
    {
        std::vector<std::string> out;
        CColumnFilter* pColumn = filters.GetColumnFilter(nCol);
        for (int i = 0; pColumn && i < pColumn->GetSize(); ++i) {
            CTBString str;
            pColumn->FormatFilterText(str, i);
            out.emplace_back(str);
        }
        return out;
    }

    CGridTable m_table;
    std::unique_ptr<CGridWindow> m_pGrid;   // goes before the table
    CDlgFilter* m_pDlg = nullptr;
};

TEST_F(FilterDialog, AnyOfCriteriaFromTheOperatorButtonsMarkRowsAboveOrBelow)
{
    HWND hDlg = Open(GRID_COL_VOLUME);
    ASSERT_NE(nullptr, hDlg);
    EXPECT_EQ("20", ItemText(hDlg, IDC_FILTER_ROWS));
    EXPECT_FALSE(ItemEnabled(hDlg, IDC_FILTER_APPLY));
    AddWithOperator(hDlg, IDC_FILTER_ANY_TEXT, IDC_FILTER_OP_EQUAL + 2, "100");    // ">"
    EXPECT_EQ("9", ItemText(hDlg, IDC_FILTER_MATCHES));
    AddWithOperator(hDlg, IDC_FILTER_ANY_TEXT, IDC_FILTER_OP_EQUAL + 1, "50");     // "<"
    EXPECT_EQ("14", ItemText(hDlg, IDC_FILTER_MATCHES));
    EXPECT_EQ(2, SendDlgItemMessageA(hDlg, IDC_FILTER_ANY_LIST, LB_GETCOUNT, 0, 0));
    EXPECT_EQ("", ItemText(hDlg, IDC_FILTER_ANY_TEXT));
    // Nothing reaches the view before Apply.
    EXPECT_EQ(0, Marked());
    EXPECT_TRUE(ItemEnabled(hDlg, IDC_FILTER_APPLY));

    ClickItem(hDlg, IDC_FILTER_APPLY);
    EXPECT_EQ(14, Marked());
    EXPECT_EQ(1, m_table.View().GetSumMode());
    for (int i : {0, 4, 11, 19})
        EXPECT_TRUE(IsMarked(i)) << i;
    for (int i : {5, 10})
        EXPECT_FALSE(IsMarked(i)) << i;
    EXPECT_FALSE(ItemEnabled(hDlg, IDC_FILTER_APPLY));

    // Removing everything and applying unmarks every row and leaves the marked-rows mode.
    ClickItem(hDlg, IDC_FILTER_REMOVE_ALL);
    EXPECT_EQ(0, SendDlgItemMessageA(hDlg, IDC_FILTER_ANY_LIST, LB_GETCOUNT, 0, 0));
    EXPECT_EQ("", ItemText(hDlg, IDC_FILTER_MATCHES));
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(nullptr, m_pDlg->m_hWnd);
    EXPECT_EQ(0, Marked());
    EXPECT_EQ(0, m_table.View().GetSumMode());
    EXPECT_EQ(nullptr, m_table.View().GetFilters());
}

TEST_F(FilterDialog, CombineSwitchLetsEitherGroupSuffice)
{
    HWND hDlg = Open(GRID_COL_VOLUME);
    AddWithOperator(hDlg, IDC_FILTER_ANY_TEXT, IDC_FILTER_OP_EQUAL + 2, "150");   // 16..19
    ChooseColumn(hDlg, "Change");
    AddWithOperator(hDlg, IDC_FILTER_ALL_TEXT, IDC_FILTER_OP_EQUAL, "3");        // 6 and 13
    EXPECT_EQ(1, SendDlgItemMessageA(hDlg, IDC_FILTER_ALL_LIST, LB_GETCOUNT, 0, 0));
    EXPECT_EQ("0", ItemText(hDlg, IDC_FILTER_MATCHES));
    EXPECT_EQ("Match all", ItemText(hDlg, IDC_FILTER_COMBINE));

    ClickItem(hDlg, IDC_FILTER_COMBINE);
    EXPECT_EQ("Match any", ItemText(hDlg, IDC_FILTER_COMBINE));
    EXPECT_EQ("6", ItemText(hDlg, IDC_FILTER_MATCHES));
    ClickItem(hDlg, IDC_FILTER_APPLY);
    EXPECT_EQ(6, Marked());
    EXPECT_TRUE(IsMarked(6));       // only the all-of group holds
    EXPECT_EQ(1, m_table.View().GetFilters()->GetCombine());

    // Opened again, the dialog starts from what the view has.
    ClickItem(hDlg, IDCANCEL);
    hDlg = Open(GRID_COL_SYMBOL);
    EXPECT_EQ("Match any", ItemText(hDlg, IDC_FILTER_COMBINE));
    EXPECT_EQ(1, SendDlgItemMessageA(hDlg, IDC_FILTER_ANY_LIST, LB_GETCOUNT, 0, 0));
}

TEST_F(FilterDialog, FindNextGoesThroughTheMatchingRowsAndWraps)
{
    HWND hDlg = Open(GRID_COL_VOLUME);
    AddWithOperator(hDlg, IDC_FILTER_ANY_TEXT, IDC_FILTER_OP_EQUAL + 2, "160");   // 17..19
    for (int nRow : {17, 18, 19, 17}) {
        ClickItem(hDlg, IDC_GRID_FIND_NEXT);
        EXPECT_EQ(nRow, (*m_pGrid)->GetCurrentRow());
    }
    // The text left in the field is taken first: it edits the criterion selected in the list
    // (the one just added).
    SetItemText(hDlg, IDC_FILTER_ANY_TEXT, "<20");
    ClickItem(hDlg, IDC_GRID_FIND_NEXT);
    EXPECT_EQ(0, (*m_pGrid)->GetCurrentRow());
    ASSERT_EQ(1, SendDlgItemMessageA(hDlg, IDC_FILTER_ANY_LIST, LB_GETCOUNT, 0, 0));
    for (int nRow : {1, 0}) {
        ClickItem(hDlg, IDC_GRID_FIND_NEXT);
        EXPECT_EQ(nRow, (*m_pGrid)->GetCurrentRow());
    }
    // Nothing matching: the current row stays.
    ClickItem(hDlg, IDC_FILTER_REMOVE_ALL);
    SetItemText(hDlg, IDC_FILTER_ANY_TEXT, ">1000");
    GetNorvGlobals().m_bBeep = FALSE;
    ClickItem(hDlg, IDC_GRID_FIND_NEXT);
    GetNorvGlobals().m_bBeep = TRUE;
    EXPECT_EQ(0, (*m_pGrid)->GetCurrentRow());
}

TEST_F(FilterDialog, AColumnTakesTwoHundredCriteriaAndNoMore)
{
    PresetCriteria(GRID_COL_VOLUME, 1, 199);
    HWND hDlg = Open(GRID_COL_VOLUME);
    EXPECT_EQ(199, SendDlgItemMessageA(hDlg, IDC_FILTER_ANY_LIST, LB_GETCOUNT, 0, 0));
    SetItemText(hDlg, IDC_FILTER_ANY_TEXT, "=200");
    ClickItem(hDlg, IDC_FILTER_ANY_ADD);
    EXPECT_EQ(200, m_pDlg->GetFilters().GetColumnFilter(GRID_COL_VOLUME)->GetSize());
    EXPECT_FALSE(ItemEnabled(hDlg, IDC_FILTER_ANY_TEXT));
    EXPECT_FALSE(ItemEnabled(hDlg, IDC_FILTER_ANY_ADD));
    // Even a command that gets through adds nothing.
    SetItemText(hDlg, IDC_FILTER_ANY_TEXT, "=201");
    GetNorvGlobals().m_bBeep = FALSE;
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_FILTER_ANY_ADD, BN_CLICKED), 0);
    GetNorvGlobals().m_bBeep = TRUE;
    EXPECT_EQ(200, m_pDlg->GetFilters().GetColumnFilter(GRID_COL_VOLUME)->GetSize());
    // Another column still has room.
    ChooseColumn(hDlg, "Change");
    EXPECT_TRUE(ItemEnabled(hDlg, IDC_FILTER_ANY_TEXT));
}

TEST_F(FilterDialog, EscapeInTheAnyOfFieldEmptiesItInsteadOfClosing)
{
    HWND hDlg = Open(GRID_COL_VOLUME);
    HWND hField = GetDlgItem(hDlg, IDC_FILTER_ANY_TEXT);
    SetFocus(hField);
    SetItemText(hDlg, IDC_FILTER_ANY_TEXT, ">5");
    MSG msg = {};
    msg.hwnd = hField;
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_ESCAPE;
    EXPECT_TRUE(m_pDlg->PreTranslateMessage(&msg));
    EXPECT_NE(nullptr, m_pDlg->m_hWnd);
    EXPECT_EQ("", ItemText(hDlg, IDC_FILTER_ANY_TEXT));
    // Elsewhere it closes without applying.
    SetItemText(hDlg, IDC_FILTER_ALL_TEXT, ">5");
    ClickItem(hDlg, IDC_FILTER_ALL_ADD);
    HWND hList = GetDlgItem(hDlg, IDC_FILTER_ANY_LIST);
    SetFocus(hList);
    msg.hwnd = hList;
    m_pDlg->PreTranslateMessage(&msg);
    EXPECT_EQ(nullptr, m_pDlg->m_hWnd);
    EXPECT_EQ(nullptr, m_table.View().GetFilters());
}

TEST_F(FilterDialog, EditingACriterionOfAColumnWithManyChangesThatOne)
{
    PresetCriteria(GRID_COL_VOLUME, 1, 150);
    PresetCriteria(GRID_COL_CHANGE, 1, 30);
    HWND hDlg = Open(GRID_COL_SYMBOL);
    const std::vector<std::string> changeBefore = CriteriaOf(m_pDlg->GetFilters(), GRID_COL_CHANGE);
    const std::vector<std::string> volumeBefore = CriteriaOf(m_pDlg->GetFilters(), GRID_COL_VOLUME);
    ASSERT_EQ(150u, volumeBefore.size());
    // The Volume criteria come first in the list (column order), in their column's order.
    int nItem = -1;
    for (size_t i = 0; i < volumeBefore.size(); ++i)
        if (volumeBefore[i].find("121") != std::string::npos)
            nItem = static_cast<int>(i);
    ASSERT_GT(nItem, 100);
    HWND hList = GetDlgItem(hDlg, IDC_FILTER_ANY_LIST);
    SendMessageA(hList, LB_SETCURSEL, static_cast<WPARAM>(nItem), 0);
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_FILTER_ANY_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(hList));
    EXPECT_EQ(volumeBefore[static_cast<size_t>(nItem)], ItemText(hDlg, IDC_FILTER_ANY_TEXT));
    EXPECT_EQ(GRID_COL_VOLUME, m_pDlg->GetColumn());

    SetFocus(GetDlgItem(hDlg, IDC_FILTER_ANY_TEXT));
    SetItemText(hDlg, IDC_FILTER_ANY_TEXT, "=999");
    SetFocus(GetDlgItem(hDlg, IDC_GRID_COLUMNS));       // leaving the field replaces it
    const std::vector<std::string> volumeAfter = CriteriaOf(m_pDlg->GetFilters(), GRID_COL_VOLUME);
    EXPECT_EQ(150u, volumeAfter.size());
    EXPECT_EQ(0, std::count_if(volumeAfter.begin(), volumeAfter.end(), [](const std::string& s) { return s.find("121") != std::string::npos; }));
    EXPECT_EQ(1, std::count_if(volumeAfter.begin(), volumeAfter.end(), [](const std::string& s) { return s.find("999") != std::string::npos; }));
    EXPECT_EQ(changeBefore, CriteriaOf(m_pDlg->GetFilters(), GRID_COL_CHANGE));
    EXPECT_TRUE(m_pDlg->IsDirty());
    EXPECT_EQ(180, SendMessageA(hList, LB_GETCOUNT, 0, 0));
}

TEST(GridDialogTargets, DialogsOfADestroyedGridServeNoneAndTouchNothing)
{
    CTWApp& app = *CTWApp::Get();
    CGridTable tableA;
    tableA.Fill(5);
    CGridWindow gridA(tableA.View());
    app.ShowFilterDialog(&gridA.Grid(), GRID_COL_VOLUME);
    app.ShowFastFindDialog(&gridA.Grid(), GRID_COL_SYMBOL);
    CDlgFilter* pFilter = app.GetFilterDialog();
    CDlgFastFind* pFind = app.GetFastFindDialog();
    ASSERT_TRUE(pFilter && pFilter->m_hWnd && pFind && pFind->m_hWnd);
    {
        // The dialogs move to grid B (their windows stay owned by A) and B goes, view and all.
        CGridTable tableB;
        tableB.Fill(7);
        CGridWindow gridB(tableB.View());
        app.ShowFilterDialog(&gridB.Grid(), GRID_COL_VOLUME);
        app.ShowFastFindDialog(&gridB.Grid(), GRID_COL_SYMBOL);
        HWND hFilter = pFilter->m_hWnd;
        SetItemText(hFilter, IDC_FILTER_ANY_TEXT, ">10");
        ClickItem(hFilter, IDC_FILTER_ANY_ADD);
        ASSERT_TRUE(pFilter->GetFilters().IsBound());
        ASSERT_EQ(&gridB.Grid(), pFilter->GetTarget());
    }
    EXPECT_EQ(nullptr, app.GetTargetWindow());
    ASSERT_EQ(pFilter, app.GetFilterDialog());
    ASSERT_NE(nullptr, pFilter->m_hWnd);
    EXPECT_EQ(nullptr, pFilter->GetTarget());
    EXPECT_EQ(nullptr, pFind->GetTarget());
    EXPECT_FALSE(pFilter->GetFilters().IsBound());
    HWND hFilter = pFilter->m_hWnd;
    const int nRowOfA = gridA->GetCurrentRow();
    for (int nId : {IDC_GRID_COLUMNS, IDC_FILTER_ANY_TEXT, IDC_FILTER_APPLY, IDOK, IDC_GRID_FIND_NEXT, IDC_FILTER_REMOVE_ALL})
        EXPECT_FALSE(ItemEnabled(hFilter, nId)) << nId;
    EXPECT_EQ(0, SendDlgItemMessageA(hFilter, IDC_GRID_COLUMNS, CB_GETCOUNT, 0, 0));
    // Every command, greyed or not, finds no grid to work on.
    for (int nId : {IDC_FILTER_COUNT, IDC_FILTER_APPLY, IDC_GRID_FIND_NEXT, IDC_FILTER_SORT, IDC_FILTER_COMBINE, IDC_FILTER_REMOVE_ALL})
        SendMessageA(hFilter, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), 0);
    EXPECT_EQ("", ItemText(hFilter, IDC_FILTER_ROWS));
    SetItemText(pFind->m_hWnd, IDC_FASTFIND_TEXT, "S");
    ClickItem(pFind->m_hWnd, IDC_GRID_FIND_NEXT);
    SendMessageA(pFind->m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_FALSE(ItemEnabled(pFind->m_hWnd, IDC_GRID_FIND_NEXT));
    EXPECT_EQ(nRowOfA, gridA->GetCurrentRow());

    // The next request serves A again.
    app.ShowFilterDialog(&gridA.Grid(), GRID_COL_VOLUME);
    EXPECT_EQ(&gridA.Grid(), pFilter->GetTarget());
    EXPECT_EQ("5", ItemText(pFilter->m_hWnd, IDC_FILTER_ROWS));
    pFilter->DestroyWindow();
    pFind->DestroyWindow();
}

TEST(GridDialogShots, FilterInBothSizesInEnglishAndArabic)
{
    for (int nCodePage : {1252, 1256}) {
        CGridLanguage language(nCodePage);
        CGridTable table;
        table.Fill(20);
        if (nCodePage == 1256)
            SetArabicTitles(table);
        CTableFilters* pFilters = new CTableFilters;
        pFilters->Init(&table.View(), nullptr);
        pFilters->AddFilter(GRID_COL_VOLUME, ">150", FALSE, 1);
        pFilters->AddFilter(GRID_COL_VOLUME, "<30", FALSE, 1);
        pFilters->AddFilter(GRID_COL_SYMBOL, "S00*", FALSE, 0);
        table.View().SetFilters(pFilters);
        CGridWindow grid(table.View());
        CTWApp::Get()->ShowFilterDialog(&grid.Grid(), GRID_COL_VOLUME);
        CDlgFilter* pDlg = CTWApp::Get()->GetFilterDialog();
        ASSERT_NE(nullptr, pDlg);
        ASSERT_NE(nullptr, pDlg->m_hWnd);
        HWND hDlg = pDlg->m_hWnd;
        ClickItem(hDlg, IDC_FILTER_COUNT);
        const char* pszLang = nCodePage == 1256 ? "ar" : "en";
        RECT rcSmall = {}, rcLarge = {};
        GetClientRect(hDlg, &rcSmall);
        for (const char* pszSize : {"small", "large"}) {
            UpdateWindow(hDlg);
            Drain();
            char szShot[64];
            snprintf(szShot, sizeof(szShot), "grid_dialog_filter_%s_%s", pszSize, pszLang);
            EXPECT_TRUE(TbSaveWindowPng(hDlg, ScreenshotPath(szShot).c_str())) << szShot;
            ClickItem(hDlg, IDC_FILTER_MORE);
            if (pszSize[0] == 's')
                GetClientRect(hDlg, &rcLarge);
        }
        EXPECT_GT(rcLarge.bottom, rcSmall.bottom);
        EXPECT_EQ(rcLarge.right, rcSmall.right);
        pDlg->DestroyWindow();
    }
}
}  // namespace
