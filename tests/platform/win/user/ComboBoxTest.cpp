// The combo box through its messages and the user's keys and clicks: the item messages, the
// drop-down list's popup opening and closing with the notifications in order, the edit child
// and its notifications, the completion a parent does over a subclassed edit, the simple kind
// and owner drawing.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "ControlTestSupport.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/QueueInternal.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
BOOL CALLBACK FindOwnedList(HWND hWnd, LPARAM lParam)
{
    auto* pFind = reinterpret_cast<std::pair<HWND, HWND>*>(lParam);
    char sz[32] = {};
    GetClassNameA(hWnd, sz, sizeof sz);
    if (std::strcmp(sz, WC_LISTBOXA) == 0 && GetWindow(hWnd, GW_OWNER) == pFind->first) {
        pFind->second = hWnd;
        return FALSE;
    }
    return TRUE;
}

class ComboBoxes : public ::testing::Test
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
        m_hCombo = CreateControl(m_hParent, WC_COMBOBOXA, dwStyle, 10, 10, 120, cy, 7);
        return m_hCombo;
    }
    void Add(std::initializer_list<const char*> items)
    {
        for (const char* psz : items)
            SendMessageA(m_hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(psz));
    }
    std::string Text()
    {
        char sz[64] = {};
        GetWindowTextA(m_hCombo, sz, sizeof sz);
        return sz;
    }
    std::string ItemText(int n)
    {
        char sz[64] = {};
        if (SendMessageA(m_hCombo, CB_GETLBTEXTLEN, n, 0) >= static_cast<LRESULT>(sizeof sz))
            return "<long>";
        return SendMessageA(m_hCombo, CB_GETLBTEXT, n, reinterpret_cast<LPARAM>(sz)) == CB_ERR ? "<err>" : sz;
    }
    HWND List()
    {
        std::pair<HWND, HWND> find(m_hCombo, nullptr);
        EnumWindows(FindOwnedList, reinterpret_cast<LPARAM>(&find));
        return find.second;
    }
    int Sel() { return static_cast<int>(SendMessageA(m_hCombo, CB_GETCURSEL, 0, 0)); }
    BOOL Dropped() { return static_cast<BOOL>(SendMessageA(m_hCombo, CB_GETDROPPEDSTATE, 0, 0)); }
    // A mouse message to the combo at a screen point (the combo has the mouse while its list is open).
    void MouseAt(UINT uMsg, POINT ptScreen)
    {
        ScreenToClient(m_hCombo, &ptScreen);
        SendMessageA(m_hCombo, uMsg, uMsg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(ptScreen.x, ptScreen.y));
    }
    void ClickButton()
    {
        RECT rc;
        GetClientRect(m_hCombo, &rc);
        Click(m_hCombo, rc.right - 5, rc.bottom / 2);
    }
    // Item n of the open list, in screen coordinates.
    POINT ListItemPoint(int n)
    {
        RECT rcItem = {};
        SendMessageA(List(), LB_GETITEMRECT, n, reinterpret_cast<LPARAM>(&rcItem));
        POINT pt = {rcItem.left + 5, (rcItem.top + rcItem.bottom) / 2};
        ClientToScreen(List(), &pt);
        return pt;
    }
    void SysKey(HWND hWnd, UINT uVk)
    {
        SendMessageA(hWnd, WM_SYSKEYDOWN, uVk, static_cast<LPARAM>(KF_ALTDOWN) << 16);
    }
    HWND m_hParent = nullptr;
    HWND m_hCombo = nullptr;
};
}  // namespace

TEST_F(ComboBoxes, ItemMessagesSortFindWithoutCaseAndShowTheSelection)
{
    ASSERT_NE(nullptr, Make(CBS_DROPDOWNLIST | CBS_SORT));
    Add({"pear", "Apple", "banana", "apricot"});
    EXPECT_EQ(4, SendMessageA(m_hCombo, CB_GETCOUNT, 0, 0));
    EXPECT_EQ("Apple", ItemText(0));
    EXPECT_EQ("pear", ItemText(3));
    EXPECT_EQ("<err>", ItemText(4));
    EXPECT_EQ(1, SendMessageA(m_hCombo, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("APR")));
    EXPECT_EQ(0, SendMessageA(m_hCombo, CB_FINDSTRING, 1, reinterpret_cast<LPARAM>("ap")));       // wraps round
    EXPECT_EQ(CB_ERR, SendMessageA(m_hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("APR")));
    EXPECT_EQ(2, SendMessageA(m_hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("BANANA")));
    EXPECT_EQ(-1, Sel());
    EXPECT_EQ("", Text());
    EXPECT_EQ(3, SendMessageA(m_hCombo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("p")));
    EXPECT_EQ("pear", Text());
    EXPECT_EQ(CB_ERR, SendMessageA(m_hCombo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("x")));
    EXPECT_EQ(3, Sel());
    // A drop-down list's text can only be one of its items.
    EXPECT_EQ(CB_ERR, SendMessageA(m_hCombo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("plum")));
    EXPECT_EQ(TRUE, SendMessageA(m_hCombo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("BANANA")));
    EXPECT_EQ(2, Sel());
    EXPECT_EQ("banana", Text());
    SendMessageA(m_hCombo, CB_SETITEMDATA, 2, 55);
    EXPECT_EQ(1, SendMessageA(m_hCombo, CB_INSERTSTRING, 1, reinterpret_cast<LPARAM>("zz")));    // inserting does not sort
    EXPECT_EQ(55, SendMessageA(m_hCombo, CB_GETITEMDATA, 3, 0));
    EXPECT_EQ(3, Sel());
    EXPECT_EQ(4, SendMessageA(m_hCombo, CB_DELETESTRING, 3, 0));
    EXPECT_EQ("", Text());                  // the selected item went
    EXPECT_EQ(CB_ERR, SendMessageA(m_hCombo, CB_SETCURSEL, 9, 0));
    EXPECT_EQ(CB_ERR, SendMessageA(m_hCombo, CB_GETEDITSEL, 0, 0));   // no edit
    SendMessageA(m_hCombo, CB_SETCURSEL, 0, 0);
    EXPECT_EQ(CB_OKAY, SendMessageA(m_hCombo, CB_RESETCONTENT, 0, 0));
    EXPECT_EQ(0, SendMessageA(m_hCombo, CB_GETCOUNT, 0, 0));
    EXPECT_EQ("", Text());
    // Programs' changes are not told.
    EXPECT_EQ("", ParentLog().Joined());
}

TEST_F(ComboBoxes, DroppedListOpensBelowTheFieldAndClosesOnAChoice)
{
    ASSERT_NE(nullptr, Make(CBS_DROPDOWNLIST | WS_VSCROLL, 200));
    // The bar goes to the list; the combo is only its field.
    EXPECT_FALSE(GetWindowLongA(m_hCombo, GWL_STYLE) & WS_VSCROLL);
    ASSERT_NE(nullptr, List());
    EXPECT_TRUE(GetWindowLongA(List(), GWL_STYLE) & WS_POPUP);
    RECT rcCombo;
    GetWindowRect(m_hCombo, &rcCombo);
    EXPECT_LT(rcCombo.bottom - rcCombo.top, 40);
    EXPECT_EQ(rcCombo.bottom - rcCombo.top, SendMessageA(m_hCombo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    for (int i = 0; i < 30; ++i)
        SendMessageA(m_hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("item " + std::to_string(i)).c_str()));
    SendMessageA(m_hCombo, CB_SETITEMHEIGHT, 0, 10);
    SendMessageA(m_hCombo, CB_SETCURSEL, 1, 0);
    EXPECT_TRUE(GetWindowLongA(List(), GWL_STYLE) & WS_VSCROLL);     // shown once the items need it

    ClickButton();
    EXPECT_TRUE(Dropped());
    EXPECT_EQ("CMD 7/3, CMD 7/7", ParentLog().Joined());         // CBN_SETFOCUS, CBN_DROPDOWN
    EXPECT_TRUE(IsWindowVisible(List()));
    RECT rcList;
    GetWindowRect(List(), &rcList);
    EXPECT_EQ(rcCombo.bottom, rcList.top);
    EXPECT_EQ(rcCombo.left, rcList.left);
    // As many items as the combo's made height leaves room for below the field.
    const int nRoom = (200 - (rcCombo.bottom - rcCombo.top)) / 10;
    EXPECT_EQ(nRoom * 10 + 2, rcList.bottom - rcList.top);
    RECT rcDrop = {};
    SendMessageA(m_hCombo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rcDrop));
    EXPECT_EQ(rcCombo.top + 200, rcDrop.bottom);
    // The pointer over an item selects it; the release there chooses it.
    ParentLog().Clear();
    MouseAt(WM_MOUSEMOVE, ListItemPoint(3));
    EXPECT_EQ(3, Sel());
    EXPECT_EQ("", ParentLog().Joined());
    MouseAt(WM_LBUTTONUP, ListItemPoint(3));
    EXPECT_FALSE(Dropped());
    EXPECT_FALSE(IsWindowVisible(List()));
    EXPECT_EQ("item 3", Text());
    EXPECT_EQ("CMD 7/1, CMD 7/9, CMD 7/8", ParentLog().Joined());   // SELCHANGE, SELENDOK, CLOSEUP

    // Opening with a wider dropped width.
    EXPECT_EQ(300, SendMessageA(m_hCombo, CB_SETDROPPEDWIDTH, 300, 0));
    SendMessageA(m_hCombo, CB_SHOWDROPDOWN, TRUE, 0);
    GetWindowRect(List(), &rcList);
    EXPECT_EQ(300, rcList.right - rcList.left);
    SendMessageA(m_hCombo, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_FALSE(Dropped());
}

TEST_F(ComboBoxes, KeysOpenMoveAndCloseTheList)
{
    ASSERT_NE(nullptr, Make(CBS_DROPDOWNLIST));
    Add({"a", "b", "c", "d"});
    SetFocus(m_hCombo);
    ParentLog().Clear();
    // Closed: the arrows change the selection.
    SendMessageA(m_hCombo, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(m_hCombo, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(1, Sel());
    EXPECT_EQ("b", Text());
    SendMessageA(m_hCombo, WM_CHAR, 'd', 0);
    EXPECT_EQ(3, Sel());
    EXPECT_EQ("CMD 7/1, CMD 7/1, CMD 7/1", ParentLog().Joined());
    // F4 opens; Down moves in the open list; Escape gives the old selection back.
    ParentLog().Clear();
    SendMessageA(m_hCombo, WM_KEYDOWN, VK_F4, 0);
    EXPECT_TRUE(Dropped());
    SendMessageA(m_hCombo, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(2, Sel());
    SendMessageA(m_hCombo, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(Dropped());
    EXPECT_EQ(3, Sel());
    EXPECT_EQ("d", Text());
    EXPECT_EQ("CMD 7/7, CMD 7/1, CMD 7/10, CMD 7/8, CMD 7/1", ParentLog().Joined());
    // Alt+Down opens, Enter keeps the choice.
    ParentLog().Clear();
    SysKey(m_hCombo, VK_DOWN);
    EXPECT_TRUE(Dropped());
    SendMessageA(m_hCombo, WM_KEYDOWN, VK_HOME, 0);
    SendMessageA(m_hCombo, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(Dropped());
    EXPECT_EQ(0, Sel());
    EXPECT_EQ("CMD 7/7, CMD 7/1, CMD 7/9, CMD 7/8", ParentLog().Joined());
}

TEST_F(ComboBoxes, ClickElsewhereCancelModeAndLosingTheFocusCancel)
{
    ASSERT_NE(nullptr, Make(CBS_DROPDOWNLIST));
    HWND hOther = CreateControl(m_hParent, WC_BUTTONA, BS_PUSHBUTTON, 10, 150, 50, 20, 8, "x");
    Add({"a", "b", "c"});
    SendMessageA(m_hCombo, CB_SETCURSEL, 0, 0);
    ClickButton();
    ASSERT_TRUE(Dropped());
    EXPECT_EQ(m_hCombo, GetCapture());
    MouseAt(WM_MOUSEMOVE, ListItemPoint(2));
    ParentLog().Clear();
    POINT ptFar = {500, 500};
    MouseAt(WM_LBUTTONDOWN, ptFar);
    EXPECT_FALSE(Dropped());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(0, Sel());                    // the pointed item was not chosen
    EXPECT_EQ("CMD 7/10, CMD 7/8", ParentLog().Joined());

    SendMessageA(m_hCombo, CB_SHOWDROPDOWN, TRUE, 0);
    ParentLog().Clear();
    SendMessageA(m_hCombo, WM_CANCELMODE, 0, 0);
    EXPECT_FALSE(Dropped());
    EXPECT_EQ("CMD 7/10, CMD 7/8", ParentLog().Joined());

    SendMessageA(m_hCombo, CB_SHOWDROPDOWN, TRUE, 0);
    ParentLog().Clear();
    SetFocus(hOther);
    EXPECT_FALSE(Dropped());
    EXPECT_EQ("CMD 7/10, CMD 7/8, CMD 7/4", ParentLog().Joined());   // ... CBN_KILLFOCUS
}

TEST_F(ComboBoxes, DropDownTypesInItsEditChild)
{
    ASSERT_NE(nullptr, Make(CBS_DROPDOWN | CBS_AUTOHSCROLL));
    HWND hEdit = GetDlgItem(m_hCombo, TB_COMBO_EDIT_ID);
    ASSERT_NE(nullptr, hEdit);
    EXPECT_TRUE(GetWindowLongA(hEdit, GWL_STYLE) & ES_AUTOHSCROLL);
    Add({"one", "two", "three"});
    SetFocus(m_hCombo);                     // goes on to the edit
    EXPECT_EQ(hEdit, GetFocus());
    EXPECT_EQ("CMD 7/3", ParentLog().Joined());
    ParentLog().Clear();
    SendMessageA(hEdit, WM_CHAR, 'x', 0);
    EXPECT_EQ("CMD 7/6, CMD 7/5", ParentLog().Joined());        // CBN_EDITUPDATE, CBN_EDITCHANGE
    EXPECT_EQ("x", Text());
    // The program's text and selection go through the edit without edit notifications.
    ParentLog().Clear();
    SetWindowTextA(m_hCombo, "hello");
    char sz[16] = {};
    GetWindowTextA(hEdit, sz, sizeof sz);
    EXPECT_STREQ("hello", sz);
    EXPECT_EQ(TRUE, SendMessageA(m_hCombo, CB_SETEDITSEL, 0, MAKELPARAM(1, -1)));
    DWORD dwStart = 0, dwEnd = 0;
    EXPECT_EQ(MAKELRESULT(1, 5), SendMessageA(m_hCombo, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd)));
    EXPECT_EQ(5u, dwEnd);
    SendMessageA(m_hCombo, CB_SETCURSEL, 2, 0);
    EXPECT_EQ("three", Text());
    EXPECT_EQ(MAKELRESULT(0, 5), SendMessageA(m_hCombo, CB_GETEDITSEL, 0, 0));
    EXPECT_EQ("", ParentLog().Joined());
    EXPECT_EQ(TRUE, SendMessageA(m_hCombo, CB_LIMITTEXT, 6, 0));
    SendMessageA(hEdit, WM_CHAR, 'a', 0);
    SendMessageA(hEdit, WM_KEYDOWN, VK_END, 0);
    for (char ch : std::string("bcdefg"))
        SendMessageA(hEdit, WM_CHAR, static_cast<WPARAM>(ch), 0);
    EXPECT_EQ("abcdef", Text());
    // The edit hands the combo the list's keys: Down picks the next item, F4 opens.
    SendMessageA(m_hCombo, CB_SETCURSEL, 0, 0);
    ParentLog().Clear();
    SendMessageA(hEdit, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ("two", Text());
    EXPECT_EQ("CMD 7/1", ParentLog().Joined());
    SysKey(hEdit, VK_DOWN);
    EXPECT_TRUE(Dropped());
    // An open list keeps Enter from the dialog.
    MSG msg = {hEdit, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}, 0};
    EXPECT_TRUE(SendMessageA(hEdit, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&msg)) & DLGC_WANTMESSAGE);
    SendMessageA(hEdit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(Dropped());
    EXPECT_FALSE(SendMessageA(hEdit, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&msg)) & DLGC_WANTMESSAGE);
}

namespace {
// A parent doing what the program's completing combo does: it subclasses the edit child, and on
// CBN_EDITUPDATE completes a text that grew from the first item starting with it, selecting the
// completed tail so that typing on overwrites it.
struct Completion {
    WNDPROC pfnEditProc = nullptr;
    std::string strLast;
    int nEditChars = 0;                 // characters seen by the subclass
};
Completion& TheCompletion()
{
    static Completion s_completion;
    return s_completion;
}

LRESULT CALLBACK CompletingEditProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_CHAR)
        ++TheCompletion().nEditChars;
    return CallWindowProcA(TheCompletion().pfnEditProc, hWnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK CompletingParentProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_COMMAND && HIWORD(wParam) == CBN_EDITUPDATE) {
        HWND hCombo = reinterpret_cast<HWND>(lParam);
        Completion& c = TheCompletion();
        char sz[64] = {};
        GetWindowTextA(hCombo, sz, sizeof sz);
        const std::string strText = sz;
        DWORD dwStart = 0, dwEnd = 0;
        SendMessageA(hCombo, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
        if (!strText.empty() && dwStart == dwEnd && dwEnd == strText.size() && strcasecmp(strText.c_str(), c.strLast.c_str()) != 0 &&
            c.strLast.size() <= strText.size()) {
            const LRESULT lItem = SendMessageA(hCombo, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(sz));
            if (lItem != CB_ERR) {
                char szItem[64] = {};
                SendMessageA(hCombo, CB_GETLBTEXT, static_cast<WPARAM>(lItem), reinterpret_cast<LPARAM>(szItem));
                SetWindowTextA(hCombo, szItem);
                SendMessageA(hCombo, CB_SETEDITSEL, 0, MAKELPARAM(strText.size(), -1));
            }
        }
        c.strLast = strText;
        return 0;
    }
    if (uMsg == WM_COMMAND)
        ParentLog().entries.push_back("CMD " + std::to_string(LOWORD(wParam)) + "/" + std::to_string(static_cast<short>(HIWORD(wParam))));
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
}  // namespace

TEST_F(ComboBoxes, ParentCompletesTypedTextOverTheSubclassedEdit)
{
    TbRegisterControlClasses();
    WNDCLASSA wc = {};
    if (!GetClassInfoA(nullptr, "TbCompletingParent", &wc)) {
        wc.lpfnWndProc = CompletingParentProc;
        wc.lpszClassName = "TbCompletingParent";
        RegisterClassA(&wc);
    }
    ParentLog() = ControlParentLog();
    TheCompletion() = Completion();
    m_hParent = CreateWindowExA(0, "TbCompletingParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    m_hCombo = CreateControl(m_hParent, WC_COMBOBOXA, CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 0, 150, 100, 5);
    HWND hEdit = GetDlgItem(m_hCombo, TB_COMBO_EDIT_ID);
    ASSERT_NE(nullptr, hEdit);
    TheCompletion().pfnEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CompletingEditProc)));
    Add({"Apple", "Apricot"});
    SetFocus(hEdit);
    auto type = [&](char ch) {
        SendMessageA(hEdit, WM_CHAR, static_cast<WPARAM>(ch), 0);
    };
    auto sel = [&] {
        DWORD dwStart = 0, dwEnd = 0;
        SendMessageA(m_hCombo, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
        return std::to_string(dwStart) + "-" + std::to_string(dwEnd);
    };
    type('a');
    EXPECT_EQ("Apple", Text());
    EXPECT_EQ("1-5", sel());
    type('p');                              // overwrites the completed tail, completes again
    EXPECT_EQ("Apple", Text());
    EXPECT_EQ("2-5", sel());
    type('r');
    EXPECT_EQ("Apricot", Text());
    EXPECT_EQ("3-7", sel());
    // Backspace removes the selected tail; the text got shorter, so it is not completed again.
    type('\b');
    EXPECT_EQ("Apr", Text());
    EXPECT_EQ("3-3", sel());
    EXPECT_EQ(4, TheCompletion().nEditChars);
    // The completion changed the text quietly: each typed key told the parent once.
    EXPECT_EQ("CMD 5/3, CMD 5/5, CMD 5/5, CMD 5/5, CMD 5/5", ParentLog().Joined());
}

TEST_F(ComboBoxes, SimpleComboShowsItsListAndTellsDoubleClicks)
{
    ASSERT_NE(nullptr, Make(CBS_SIMPLE, 120));
    RECT rc;
    GetWindowRect(m_hCombo, &rc);
    EXPECT_EQ(120, rc.bottom - rc.top);     // the list is inside
    HWND hList = GetDlgItem(m_hCombo, 1000);
    ASSERT_NE(nullptr, hList);
    EXPECT_TRUE(IsWindowVisible(hList));
    Add({"a", "b", "c"});
    SendMessageA(hList, LB_SETITEMHEIGHT, 0, 10);
    SetFocus(m_hCombo);
    ParentLog().Clear();
    Click(hList, 5, 15);
    EXPECT_EQ(1, Sel());
    EXPECT_EQ("b", Text());
    EXPECT_EQ(GetDlgItem(m_hCombo, TB_COMBO_EDIT_ID), GetFocus());      // the typing stays in the edit
    EXPECT_EQ("CMD 7/1", ParentLog().Joined());
    ParentLog().Clear();
    SendMessageA(hList, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 25));
    SendMessageA(hList, WM_LBUTTONUP, 0, MAKELPARAM(5, 25));
    EXPECT_EQ("CMD 7/1, CMD 7/2", ParentLog().Joined());       // CBN_SELCHANGE, CBN_DBLCLK
    SendMessageA(m_hCombo, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_FALSE(Dropped());
}

TEST_F(ComboBoxes, OwnerDrawnFieldAndListDrawAsTheCombo)
{
    m_hParent = CreateControlParent();
    ParentLog().uItemHeight = 14;
    m_hCombo = CreateControl(m_hParent, WC_COMBOBOXA, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0, 0, 100, 100, 6);
    ASSERT_NE(nullptr, m_hCombo);
    EXPECT_EQ("MEASURE 6", ParentLog().Joined());           // asked as the combo
    EXPECT_EQ(14, SendMessageA(m_hCombo, CB_GETITEMHEIGHT, 0, 0));
    Add({"x", "y"});
    SendMessageA(m_hCombo, CB_SETCURSEL, 1, 0);
    EXPECT_EQ("y", ItemText(1));
    ParentLog().Clear();
    UpdateWindow(m_hCombo);
    EXPECT_EQ("DRAW 1", ParentLog().Joined());
    SendMessageA(m_hCombo, CB_SHOWDROPDOWN, TRUE, 0);
    ParentLog().Clear();
    UpdateWindow(List());
    EXPECT_EQ("DRAW 0, DRAW 1 sel", ParentLog().Joined());
}
