// The list box through its messages: sorting and finding without case, the three kinds of
// selection with the mouse and the keys, owner drawing, the parent taking keys, points to items
// and scrolling by item.
#include <gtest/gtest.h>
#include <string>
#include "ControlTestSupport.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/QueueInternal.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
class ListBoxes : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (IsWindow(m_hParent))
            DestroyWindow(m_hParent);
        DrainQueue();
    }
    HWND Make(DWORD dwStyle, int cy = 100)
    {
        m_hParent = CreateControlParent();
        m_hList = CreateControl(m_hParent, WC_LISTBOXA, dwStyle, 0, 0, 100, cy, 9);
        if (m_hList)
            SendMessageA(m_hList, LB_SETITEMHEIGHT, 0, 10);
        return m_hList;
    }
    void Add(std::initializer_list<const char*> items)
    {
        for (const char* psz : items)
            SendMessageA(m_hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(psz));
    }
    std::string Text(int n)
    {
        char sz[64] = {};
        if (SendMessageA(m_hList, LB_GETTEXTLEN, n, 0) >= static_cast<LRESULT>(sizeof sz))
            return "<long>";
        return SendMessageA(m_hList, LB_GETTEXT, n, reinterpret_cast<LPARAM>(sz)) == LB_ERR ? "<err>" : sz;
    }
    std::string Selected()
    {
        std::string str;
        for (int i = 0; i < SendMessageA(m_hList, LB_GETCOUNT, 0, 0); ++i)
            if (SendMessageA(m_hList, LB_GETSEL, i, 0) > 0)
                str += std::to_string(i);
        return str;
    }
    // A click on item n (10 pixels each) with the keys given as MK_ flags.
    void ClickItem(int n, WPARAM wKeys = 0) { Click(m_hList, 5, n * 10 + 5, wKeys); }
    void KeyWith(UINT uVk, UINT uHeld)
    {
        if (uHeld) {
            MSG down = {m_hList, WM_KEYDOWN, uHeld, 0, 0, {0, 0}, 0};
            TbNoteInputTaken(down);
        }
        SendMessageA(m_hList, WM_KEYDOWN, uVk, 0);
        if (uHeld) {
            MSG up = {m_hList, WM_KEYUP, uHeld, 0, 0, {0, 0}, 0};
            TbNoteInputTaken(up);
        }
    }
    HWND m_hParent = nullptr;
    HWND m_hList = nullptr;
};
}  // namespace

TEST_F(ListBoxes, SortedListFindsWithoutCaseAndKeepsItsData)
{
    ASSERT_NE(nullptr, Make(LBS_SORT | LBS_NOTIFY));
    Add({"pear", "Apple", "banana", "apricot"});
    EXPECT_EQ("Apple", Text(0));
    EXPECT_EQ("apricot", Text(1));
    EXPECT_EQ("pear", Text(3));
    EXPECT_EQ(1, SendMessageA(m_hList, LB_FINDSTRING, -1, reinterpret_cast<LPARAM>("APR")));
    EXPECT_EQ(0, SendMessageA(m_hList, LB_FINDSTRING, 1, reinterpret_cast<LPARAM>("ap")));     // wraps round
    EXPECT_EQ(LB_ERR, SendMessageA(m_hList, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>("APR")));
    EXPECT_EQ(2, SendMessageA(m_hList, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>("BANANA")));
    EXPECT_EQ(3, SendMessageA(m_hList, LB_SELECTSTRING, -1, reinterpret_cast<LPARAM>("P")));
    EXPECT_EQ(3, SendMessageA(m_hList, LB_GETCURSEL, 0, 0));
    SendMessageA(m_hList, LB_SETITEMDATA, 2, 77);
    EXPECT_EQ(1, SendMessageA(m_hList, LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>("zz")));   // inserting does not sort
    EXPECT_EQ(77, SendMessageA(m_hList, LB_GETITEMDATA, 3, 0));
    EXPECT_EQ(4, SendMessageA(m_hList, LB_GETCURSEL, 0, 0));                                   // the selection moved along
    EXPECT_EQ(4, SendMessageA(m_hList, LB_DELETESTRING, 0, 0));
    EXPECT_EQ(LB_ERR, SendMessageA(m_hList, LB_DELETESTRING, 4, 0));
    EXPECT_EQ("<err>", Text(9));
    EXPECT_EQ(LB_ERR, SendMessageA(m_hList, LB_SETCURSEL, static_cast<WPARAM>(-1), 0));
    EXPECT_EQ(LB_ERR, SendMessageA(m_hList, LB_GETCURSEL, 0, 0));
    // Programs' changes are not told; the user's are.
    EXPECT_EQ("", ParentLog().Joined());
    ClickItem(1);
    EXPECT_EQ("CMD 9/4, CMD 9/1", ParentLog().Joined());        // LBN_SETFOCUS, LBN_SELCHANGE
    ParentLog().Clear();
    SendMessageA(m_hList, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 15));
    SendMessageA(m_hList, WM_LBUTTONUP, 0, MAKELPARAM(5, 15));
    EXPECT_EQ("CMD 9/2", ParentLog().Joined());                 // LBN_DBLCLK
    SendMessageA(m_hList, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(0, SendMessageA(m_hList, LB_GETCOUNT, 0, 0));
}

TEST_F(ListBoxes, ExtendedSelectionTakesRangesWithShiftAndSinglesWithCtrl)
{
    ASSERT_NE(nullptr, Make(LBS_EXTENDEDSEL | LBS_NOTIFY));
    Add({"a", "b", "c", "d", "e", "f"});
    ClickItem(1);
    ClickItem(3, MK_SHIFT);
    EXPECT_EQ("123", Selected());
    ClickItem(5, MK_CONTROL);
    EXPECT_EQ("1235", Selected());
    ClickItem(2, MK_CONTROL);
    EXPECT_EQ("135", Selected());
    EXPECT_EQ(3, SendMessageA(m_hList, LB_GETSELCOUNT, 0, 0));
    int items[8] = {};
    EXPECT_EQ(2, SendMessageA(m_hList, LB_GETSELITEMS, 2, reinterpret_cast<LPARAM>(items)));
    EXPECT_EQ(3, items[1]);
    // A plain click starts over; a drag stretches the selection from it.
    SendMessageA(m_hList, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(m_hList, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 25));
    SendMessageA(m_hList, WM_LBUTTONUP, 0, MAKELPARAM(5, 25));
    EXPECT_EQ("012", Selected());
    // Keys: Down selects the next alone, Shift+Down stretches, Ctrl+Down moves only the focus.
    KeyWith(VK_DOWN, 0);
    EXPECT_EQ("3", Selected());
    KeyWith(VK_DOWN, VK_SHIFT);
    EXPECT_EQ("34", Selected());
    KeyWith(VK_DOWN, VK_CONTROL);
    EXPECT_EQ("34", Selected());
    EXPECT_EQ(5, SendMessageA(m_hList, LB_GETCARETINDEX, 0, 0));
    KeyWith(VK_SPACE, VK_CONTROL);
    EXPECT_EQ("345", Selected());
    SendMessageA(m_hList, LB_SELITEMRANGE, FALSE, MAKELPARAM(0, 4));
    EXPECT_EQ("5", Selected());
    SendMessageA(m_hList, LB_SETSEL, TRUE, -1);
    EXPECT_EQ("012345", Selected());
    EXPECT_EQ(LB_ERR, SendMessageA(m_hList, LB_SETCURSEL, 1, 0));
}

TEST_F(ListBoxes, MultipleSelectionTogglesWithClicksAndSpace)
{
    ASSERT_NE(nullptr, Make(LBS_MULTIPLESEL | LBS_NOTIFY));
    Add({"a", "b", "c"});
    ClickItem(0);
    ClickItem(2);
    EXPECT_EQ("02", Selected());
    ClickItem(0);
    EXPECT_EQ("2", Selected());
    KeyWith(VK_DOWN, 0);          // the focus moves, the selection stays
    EXPECT_EQ("2", Selected());
    KeyWith(VK_SPACE, 0);
    EXPECT_EQ("12", Selected());
}

TEST_F(ListBoxes, OwnerDrawnListMeasuresOnceAndDrawsEachItemWithItsState)
{
    m_hParent = CreateControlParent();
    ParentLog().uItemHeight = 20;
    m_hList = CreateControl(m_hParent, WC_LISTBOXA, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 0, 0, 100, 100, 4);
    ASSERT_NE(nullptr, m_hList);
    EXPECT_EQ("MEASURE 4", ParentLog().Joined());
    EXPECT_EQ(20, SendMessageA(m_hList, LB_GETITEMHEIGHT, 0, 0));
    Add({"x", "y", "z"});
    SendMessageA(m_hList, LB_SETCURSEL, 1, 0);
    SetFocus(m_hList);
    ParentLog().Clear();
    UpdateWindow(m_hList);
    EXPECT_EQ("DRAW 0, DRAW 1 sel focus, DRAW 2", ParentLog().Joined());
    EXPECT_EQ("y", Text(1));
    // Without LBS_HASSTRINGS an item is its data.
    HWND hData = CreateControl(m_hParent, WC_LISTBOXA, LBS_OWNERDRAWFIXED, 0, 100, 100, 50, 5);
    SendMessageA(hData, LB_ADDSTRING, 0, 1234);
    EXPECT_EQ(1234, SendMessageA(hData, LB_GETITEMDATA, 0, 0));
    EXPECT_EQ(0, SendMessageA(hData, LB_FINDSTRING, -1, 1234));
}

TEST_F(ListBoxes, ParentAnswersKeysThroughVKeyToItem)
{
    ASSERT_NE(nullptr, Make(LBS_WANTKEYBOARDINPUT | LBS_NOTIFY));
    Add({"a", "b", "c", "d"});
    SendMessageA(m_hList, LB_SETCURSEL, 0, 0);
    ParentLog().lVKeyToItem = -2;                   // handled: nothing moves
    SendMessageA(m_hList, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(0, SendMessageA(m_hList, LB_GETCURSEL, 0, 0));
    ParentLog().lVKeyToItem = -1;                   // the default: Down goes on
    SendMessageA(m_hList, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(1, SendMessageA(m_hList, LB_GETCURSEL, 0, 0));
    ParentLog().lVKeyToItem = 3;                    // go there
    SendMessageA(m_hList, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(3, SendMessageA(m_hList, LB_GETCURSEL, 0, 0));
    EXPECT_EQ("VKEY 40 caret 0, VKEY 40 caret 0, CMD 9/1, VKEY 40 caret 1, CMD 9/1", ParentLog().Joined());
    // Characters go to the next item starting with them.
    SendMessageA(m_hList, WM_CHAR, 'B', 0);
    EXPECT_EQ(1, SendMessageA(m_hList, LB_GETCURSEL, 0, 0));
}

TEST_F(ListBoxes, ItemFromPointAtTheEdgesAndScrollingByItem)
{
    ASSERT_NE(nullptr, Make(WS_VSCROLL, 50));
    EXPECT_EQ(MAKELRESULT(0, 1), SendMessageA(m_hList, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 5)));   // empty
    for (int i = 0; i < 20; ++i)
        SendMessageA(m_hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_string(i).c_str()));
    EXPECT_TRUE(GetWindowLongA(m_hList, GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(MAKELRESULT(0, 0), SendMessageA(m_hList, LB_ITEMFROMPOINT, 0, MAKELPARAM(0, 0)));
    EXPECT_EQ(MAKELRESULT(0, 0), SendMessageA(m_hList, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 9)));
    EXPECT_EQ(MAKELRESULT(1, 0), SendMessageA(m_hList, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 10)));
    EXPECT_EQ(MAKELRESULT(4, 0), SendMessageA(m_hList, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 49)));
    EXPECT_EQ(MAKELRESULT(5, 1), SendMessageA(m_hList, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 50)));
    EXPECT_EQ(MAKELRESULT(0, 1), SendMessageA(m_hList, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, -3)));
    EXPECT_EQ(MAKELRESULT(2, 1), SendMessageA(m_hList, LB_ITEMFROMPOINT, 0, MAKELPARAM(500, 25)));
    // Its own bar scrolls by item, a page at a time, and never past the last page.
    SendMessageA(m_hList, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(1, SendMessageA(m_hList, LB_GETTOPINDEX, 0, 0));
    SendMessageA(m_hList, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(6, SendMessageA(m_hList, LB_GETTOPINDEX, 0, 0));
    EXPECT_EQ(6, GetScrollPos(m_hList, SB_VERT));
    EXPECT_EQ(MAKELRESULT(5, 1), SendMessageA(m_hList, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, -3)));
    SendMessageA(m_hList, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(15, SendMessageA(m_hList, LB_GETTOPINDEX, 0, 0));
    RECT rc = {};
    SendMessageA(m_hList, LB_GETITEMRECT, 16, reinterpret_cast<LPARAM>(&rc));
    EXPECT_EQ(10, rc.top);
    // The keys bring the focus item into view.
    SendMessageA(m_hList, LB_SETCURSEL, 2, 0);
    EXPECT_EQ(2, SendMessageA(m_hList, LB_GETTOPINDEX, 0, 0));
    SendMessageA(m_hList, WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(15, SendMessageA(m_hList, LB_GETTOPINDEX, 0, 0));
    EXPECT_EQ(19, SendMessageA(m_hList, LB_GETCURSEL, 0, 0));
    SendMessageA(m_hList, WM_KEYDOWN, VK_PRIOR, 0);
    EXPECT_EQ(15, SendMessageA(m_hList, LB_GETCURSEL, 0, 0));
}
