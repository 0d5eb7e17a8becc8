// The sort and group dialog, shown through the application's grid layer and used with the mouse
// and the keyboard as a person would: adding, flipping, removing and ordering keys, drops into
// the keys, the limit of keys, a grid that goes while the dialog stays, and where the dialog's
// place is kept. Pictures of a drag in English and Arabic.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogTestSupport.h"
#include "GridTestSupport.h"
#include "WindowTestSupport.h"
#include "framework/table/SortColumns.h"
#include "framework/window/DlgSortCol.h"
#include "framework/window/TWApp.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Display.h"

namespace {
// The mouse at a client point of a window, as the display reports it; a press never pairs with
// an earlier one into a double click unless asked.
void Mouse(UINT uMsg, HWND hWnd, int x, int y, WPARAM wKeys = 0, bool bDouble = false)
{
    POINT pt = {x, y};
    ClientToScreen(hWnd, &pt);
    if (uMsg == WM_LBUTTONDOWN && !bDouble) {
        TbDisplayMouse(WindowFromPoint(pt), WM_MBUTTONDOWN, 0, pt);
        TbDisplayMouse(WindowFromPoint(pt), WM_MBUTTONUP, 0, pt);
    }
    TbDisplayMouse(WindowFromPoint(pt), uMsg, wKeys, pt);
    Drain();
}

void Key(UINT nKey, bool bControl = false)
{
    if (bControl)
        TbDisplayKey(WM_KEYDOWN, VK_CONTROL, 0, "");
    TbDisplayKey(WM_KEYDOWN, nKey, 0, nKey == VK_SPACE ? " " : "");
    TbDisplayKey(WM_KEYUP, nKey, 0, "");
    if (bControl)
        TbDisplayKey(WM_KEYUP, VK_CONTROL, 0, "");
    Drain();
}

int ItemY(HWND hList, int nItem)
{
    const int h = static_cast<int>(SendMessageA(hList, LB_GETITEMHEIGHT, 0, 0));
    return nItem * h + h / 2;
}

// What a list shows: "Last|-Change" (a minus for a descending key).
std::string Items(HWND hList)
{
    std::string str;
    for (int i = 0; i < static_cast<int>(SendMessageA(hList, LB_GETCOUNT, 0, 0)); ++i) {
        char sz[256] = {};
        if (SendMessageA(hList, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) < static_cast<LRESULT>(sizeof(sz)))
            SendMessageA(hList, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(sz));
        str += (str.empty() ? "" : "|") + std::string(SendMessageA(hList, LB_GETITEMDATA, static_cast<WPARAM>(i), 0) < 0 ? "-" : "") + sz;
    }
    return str;
}

std::string Keys(const CViewTable& view)
{
    return static_cast<const char*>(view.GetSortColumns().ToText());
}

class DlgSortCols : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_language.IsLoaded());
        m_table.View().SetName("Quotes");
        m_table.Fill(20);
    }
    void TearDown() override
    {
        if (CDlgSortCol* pDlg = CTWApp::Get()->GetSortDialog())
            if (pDlg->m_hWnd)
                pDlg->DestroyWindow();
    }
    // Shows the dialog for the grid; null when there is none.
    CDlgSortCol* Show(CTableWindow* pGrid)
    {
        CTWApp::Get()->ShowSortDialog(pGrid);
        Drain();
        CDlgSortCol* pDlg = CTWApp::Get()->GetSortDialog();
        return pDlg && pDlg->m_hWnd ? pDlg : nullptr;
    }
    HWND Item(int nId) const { return GetDlgItem(CTWApp::Get()->GetSortDialog()->m_hWnd, nId); }
    HWND Columns() const { return Item(CDlgSortCol::IDC_COLUMNS); }
    HWND KeyList() const { return Item(CDlgSortCol::IDC_KEYS); }
    void ClickItem(HWND hList, int nItem, WPARAM wKeys = 0)
    {
        Mouse(WM_LBUTTONDOWN, hList, 20, ItemY(hList, nItem), MK_LBUTTON | wKeys);
        Mouse(WM_LBUTTONUP, hList, 20, ItemY(hList, nItem), wKeys);
    }
    void Click(int nId)
    {
        Mouse(WM_LBUTTONDOWN, Item(nId), 5, 5, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, Item(nId), 5, 5);
    }
    // Adds the available column shown at nItem by a left double click.
    void AddByDoubleClick(int nItem)
    {
        ClickItem(Columns(), nItem);
        Mouse(WM_LBUTTONDOWN, Columns(), 20, ItemY(Columns(), nItem), MK_LBUTTON, true);
        Mouse(WM_LBUTTONUP, Columns(), 20, ItemY(Columns(), nItem));
    }

    CGridLanguage m_language;
    CGridTable m_table;
};
}  // namespace

TEST_F(DlgSortCols, AddFlipApplyAndRemoveBackToColumnOrder)
{
    CGridWindow grid(m_table.View());
    CDlgSortCol* pDlg = Show(&grid.Grid());
    ASSERT_NE(nullptr, pDlg);
    EXPECT_EQ(&grid.Grid(), pDlg->GetTarget());
    EXPECT_EQ("Symbol|Last|Volume|Change", Items(Columns()));
    EXPECT_EQ("", Items(KeyList()));
    EXPECT_EQ("Sort and Group - " + std::string(m_table.View().GetTitle()), std::string(pDlg->GetWindowText()));

    // Last with the button, Change with the Right key; Space turns the selected second key.
    ClickItem(Columns(), 1);
    Click(CDlgSortCol::IDC_ADD);
    ClickItem(Columns(), 2);
    Key(VK_RIGHT);
    EXPECT_EQ("Symbol|Volume", Items(Columns()));
    EXPECT_EQ("Last|Change", Items(KeyList()));
    ClickItem(KeyList(), 1);
    Key(VK_SPACE);
    EXPECT_EQ("Last|-Change", Items(KeyList()));
    Click(CDlgSortCol::IDC_APPLY);
    EXPECT_EQ("+1,-3", Keys(m_table.View()));
    EXPECT_EQ("Last|-Change", Items(KeyList())) << "reloaded after the sort";

    // A double click adds Volume at the end; a sort made elsewhere reloads the lists.
    AddByDoubleClick(1);
    EXPECT_EQ("Last|-Change|Volume", Items(KeyList()));
    m_table.SortBy(GRID_COL_VOLUME, SORT_DESCENDING);
    EXPECT_EQ("-Volume", Items(KeyList()));
    EXPECT_EQ("Symbol|Last|Change", Items(Columns()));

    // Removing goes back to the column order: Last, then Volume with the Delete key.
    ClickItem(Columns(), 1);
    Click(CDlgSortCol::IDC_ADD);
    ClickItem(KeyList(), 1);
    Click(CDlgSortCol::IDC_REMOVE);
    EXPECT_EQ("Symbol|Last|Change", Items(Columns()));
    ClickItem(KeyList(), 0);
    Key(VK_DELETE);
    EXPECT_EQ("Symbol|Last|Volume|Change", Items(Columns()));
    EXPECT_EQ("", Items(KeyList()));
    // Without keys there is nothing to group by, and applying removes the sort.
    EXPECT_FALSE(IsWindowEnabled(Item(CDlgSortCol::IDC_GROUP)));
    EXPECT_EQ(static_cast<UINT>(BST_UNCHECKED), IsDlgButtonChecked(pDlg->m_hWnd, CDlgSortCol::IDC_GROUP));
    Click(IDOK);
    EXPECT_EQ("", Keys(m_table.View()));
    EXPECT_EQ(nullptr, pDlg->m_hWnd) << "OK closes";

    // Closed by the user, it is made again on the next request.
    CDlgSortCol* pAgain = Show(&grid.Grid());
    ASSERT_NE(nullptr, pAgain);
    EXPECT_TRUE(IsWindowVisible(pAgain->m_hWnd));
}

TEST_F(DlgSortCols, ControlArrowsMoveKeysAndGroupFollowsTheFirstKey)
{
    m_table.View().GetColumns().GetColumn(GRID_COL_LAST)->m_nSetting03 = 0;     // not for grouping
    CGridWindow grid(m_table.View());
    CDlgSortCol* pDlg = Show(&grid.Grid());
    ASSERT_NE(nullptr, pDlg);
    ClickItem(Columns(), 0);
    ClickItem(Columns(), 2, MK_SHIFT);
    Click(CDlgSortCol::IDC_ADD);
    EXPECT_EQ("Symbol|Last|Volume", Items(KeyList()));
    EXPECT_TRUE(IsWindowEnabled(Item(CDlgSortCol::IDC_GROUP)));

    ClickItem(KeyList(), 0);
    Key(VK_UP, true);
    EXPECT_EQ("Symbol|Last|Volume", Items(KeyList())) << "the first key stays first";
    Key(VK_DOWN, true);
    EXPECT_EQ("Last|Symbol|Volume", Items(KeyList()));
    EXPECT_FALSE(IsWindowEnabled(Item(CDlgSortCol::IDC_GROUP))) << "Last is no group column";
    ClickItem(KeyList(), 2);
    ClickItem(KeyList(), 1, MK_CONTROL);
    Key(VK_UP, true);
    EXPECT_EQ("Symbol|Volume|Last", Items(KeyList())) << "two selected keys move as a block";
    Key(VK_DOWN, true);
    Key(VK_DOWN, true);
    EXPECT_EQ("Last|Symbol|Volume", Items(KeyList()));

    ClickItem(KeyList(), 1);
    Key(VK_UP, true);
    ASSERT_TRUE(IsWindowEnabled(Item(CDlgSortCol::IDC_GROUP)));
    CheckDlgButton(pDlg->m_hWnd, CDlgSortCol::IDC_GROUP, BST_CHECKED);
    Click(CDlgSortCol::IDC_APPLY);
    EXPECT_EQ("+0,+1,+2", Keys(m_table.View()));
    EXPECT_EQ(1, m_table.View().GetGroupColumns().GetCount());
}

// A drag of an available column onto the middle of the keys inserts it there; keys dragged
// within their list move. Pictures of the dialog with the insertion mark in both languages.
TEST(DlgSortColDrag, DropsIntoTheMiddleOfTheKeys)
{
    static const char* const s_arabic[GRID_COLUMNS] = {"الرمز", "الأخير", "الحجم", "التغير"};
    for (int nCodePage : {1252, 1256}) {
        CGridLanguage language(nCodePage);
        CGridTable table;
        for (int nCol = 0; nCol < GRID_COLUMNS; ++nCol)
            table.t.Table().GetColumn(nCol).SetTitle(Arabic(s_arabic[nCol]).c_str(), 1);
        table.Fill(5);
        CGridWindow grid(table.View());
        CTWApp::Get()->ShowSortDialog(&grid.Grid());
        Drain();
        CDlgSortCol* pDlg = CTWApp::Get()->GetSortDialog();
        ASSERT_TRUE(pDlg && pDlg->m_hWnd);
        HWND hColumns = GetDlgItem(pDlg->m_hWnd, CDlgSortCol::IDC_COLUMNS);
        HWND hKeys = GetDlgItem(pDlg->m_hWnd, CDlgSortCol::IDC_KEYS);
        // Symbol and Volume become keys; Last is dragged between them.
        Mouse(WM_LBUTTONDOWN, hColumns, 20, ItemY(hColumns, 0), MK_LBUTTON);
        Mouse(WM_LBUTTONUP, hColumns, 20, ItemY(hColumns, 0));
        Mouse(WM_LBUTTONDOWN, hColumns, 20, ItemY(hColumns, 2), MK_LBUTTON | MK_CONTROL);
        Mouse(WM_LBUTTONUP, hColumns, 20, ItemY(hColumns, 2), MK_CONTROL);
        SendMessageA(pDlg->m_hWnd, WM_COMMAND, CDlgSortCol::IDC_ADD, 0);
        ASSERT_EQ(2, SendMessageA(hKeys, LB_GETCOUNT, 0, 0));
        CTBDragListBox* pKeys = dynamic_cast<CTBDragListBox*>(CTBWnd::FromHandle(hKeys));
        ASSERT_NE(nullptr, pKeys);
        auto Title = [&table](int nCol) {
            return std::string(static_cast<const char*>(table.View().GetColumns().GetColumn(nCol)->GetTitle()));
        };

        Mouse(WM_LBUTTONDOWN, hColumns, 20, ItemY(hColumns, 0), MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, hColumns, 20, ItemY(hColumns, 0) + 6, MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, hKeys, 30, ItemY(hKeys, 1) - 2, MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, hKeys, 32, ItemY(hKeys, 1), MK_LBUTTON);
        EXPECT_EQ(1, pKeys->GetInsertMark());
        EXPECT_TRUE(TbSaveWindowPng(pDlg->m_hWnd, ScreenshotPath(nCodePage == 1256 ? "sort_dialog_drag_ar" : "sort_dialog_drag_en").c_str()));
        Mouse(WM_LBUTTONUP, hKeys, 32, ItemY(hKeys, 1));
        EXPECT_EQ(Title(GRID_COL_SYMBOL) + "|" + Title(GRID_COL_LAST) + "|" + Title(GRID_COL_VOLUME), Items(hKeys));
        EXPECT_EQ(-1, pKeys->GetInsertMark());
        EXPECT_EQ(nullptr, GetCapture());

        // The last key dragged onto the first: it goes before it.
        Mouse(WM_LBUTTONDOWN, hKeys, 20, ItemY(hKeys, 2), MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, hKeys, 20, ItemY(hKeys, 2) - 6, MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, hKeys, 20, ItemY(hKeys, 0), MK_LBUTTON);
        Mouse(WM_LBUTTONUP, hKeys, 20, ItemY(hKeys, 0));
        SendMessageA(pDlg->m_hWnd, WM_COMMAND, CDlgSortCol::IDC_APPLY, 0);
        EXPECT_EQ("+2,+0,+1", Keys(table.View()));
        // And a key dropped on the columns goes back there.
        Mouse(WM_LBUTTONDOWN, hKeys, 20, ItemY(hKeys, 0), MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, hKeys, 20, ItemY(hKeys, 0) + 6, MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, hColumns, 20, 10, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, hColumns, 20, 10);
        EXPECT_EQ(2, SendMessageA(hKeys, LB_GETCOUNT, 0, 0));
        EXPECT_EQ(2, SendMessageA(hColumns, LB_GETCOUNT, 0, 0));
        pDlg->DestroyWindow();
    }
}

TEST(DlgSortColLimit, AppliesAtMostThirtyKeys)
{
    CGridLanguage language;
    std::vector<CTestColumn> columns;
    static char s_szNames[35][8];
    for (int i = 0; i < 35; ++i) {
        snprintf(s_szNames[i], sizeof(s_szNames[i]), "C%02d", i);
        columns.push_back({s_szNames[i], COLTYPE_INT32, 0, FALSE});
    }
    COwnedTable t(columns);
    t.Table().Open();
    CGridWindow grid(t.View(0));
    CTWApp::Get()->ShowSortDialog(&grid.Grid());
    Drain();
    CDlgSortCol* pDlg = CTWApp::Get()->GetSortDialog();
    ASSERT_TRUE(pDlg && pDlg->m_hWnd);
    HWND hColumns = GetDlgItem(pDlg->m_hWnd, CDlgSortCol::IDC_COLUMNS);
    SendMessageA(hColumns, LB_SELITEMRANGE, TRUE, MAKELPARAM(0, 34));
    SendMessageA(pDlg->m_hWnd, WM_COMMAND, CDlgSortCol::IDC_ADD, 0);
    EXPECT_EQ(35, SendMessageA(GetDlgItem(pDlg->m_hWnd, CDlgSortCol::IDC_KEYS), LB_GETCOUNT, 0, 0));
    SendMessageA(pDlg->m_hWnd, WM_COMMAND, CDlgSortCol::IDC_APPLY, 0);
    ASSERT_EQ(30, t.View(0).GetSortColumns().GetCount());
    EXPECT_EQ(29, t.View(0).GetSortColumns().GetAt(29).m_nColumn);
    EXPECT_EQ(30, SendMessageA(GetDlgItem(pDlg->m_hWnd, CDlgSortCol::IDC_KEYS), LB_GETCOUNT, 0, 0));
    pDlg->DestroyWindow();
}

// A grid that goes while its dialog stays open leaves the dialog serving nothing: greyed, empty,
// and Apply and the reload after a sort reach nothing. Its place is kept under "DlgSortCol".
TEST_F(DlgSortCols, GridThatGoesLeavesTheDialogWithoutTarget)
{
    // The grid is a child of a window of its own, so that the dialog outlives it.
    HWND hHost = CreateWindowExA(0, "WindowTestParent", "host", WS_POPUP | WS_VISIBLE, 10, 10, 400, 300, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hHost);
    CTableWindow* pGrid = new CTableWindow;
    ASSERT_TRUE(pGrid->CreateEx(&m_table.View(), 0, "Grid", WS_CHILD | WS_VISIBLE, 0, 0, 400, 300, hHost, 0));
    CDlgSortCol* pDlg = Show(pGrid);
    ASSERT_NE(nullptr, pDlg);
    ClickItem(Columns(), 0);
    Click(CDlgSortCol::IDC_ADD);
    EXPECT_EQ("Quotes.DlgSortCol", std::string(pDlg->GetSettingsSection()));

    delete pGrid;
    Drain();
    ASSERT_NE(nullptr, pDlg->m_hWnd);
    EXPECT_EQ(nullptr, pDlg->GetTarget());
    EXPECT_EQ(nullptr, CTWApp::Get()->GetTargetWindow());
    for (int nId : {CDlgSortCol::IDC_ADD, CDlgSortCol::IDC_REMOVE, CDlgSortCol::IDC_GROUP, CDlgSortCol::IDC_COLUMNS,
                    CDlgSortCol::IDC_KEYS, CDlgSortCol::IDC_APPLY})
        EXPECT_FALSE(IsWindowEnabled(Item(nId))) << nId;
    EXPECT_EQ("", Items(KeyList()));
    EXPECT_EQ("Sort and Group", std::string(pDlg->GetWindowText()));
    SendMessageA(pDlg->m_hWnd, WM_COMMAND, CDlgSortCol::IDC_APPLY, 0);
    m_table.SortBy(GRID_COL_LAST, SORT_ASCENDING);
    CTWApp::Get()->NotifySortChanged(pGrid);
    EXPECT_EQ("+1", Keys(m_table.View()));
    EXPECT_EQ("", Items(KeyList()));

    EXPECT_EQ("DlgSortCol", std::string(pDlg->GetSettingsSection()));
    SendMessageA(pDlg->m_hWnd, WM_CLOSE, 0, 0);
    Drain();
    EXPECT_EQ(nullptr, pDlg->m_hWnd);
    EXPECT_EQ("+1", Keys(m_table.View())) << "closing from the caption applies nothing";
    EXPECT_NE("<none>", m_language.Setting("DlgSortCol", "DialogPos"));
    EXPECT_EQ("<none>", m_language.Setting("", "DialogPos"));
    DestroyWindow(hHost);
}

// A module without the dialog's template: the request is refused and no dialog object is left.
TEST(DlgSortColShow, FailedCreationLeavesNoDialog)
{
    CGridTable table;
    table.Fill(3);
    CDialogResources resources;
    CGridWindow grid(table.View());
    CTWApp::Get()->ShowSortDialog(&grid.Grid());
    EXPECT_EQ(nullptr, CTWApp::Get()->GetSortDialog());
}
