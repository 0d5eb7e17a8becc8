// The dialog manager on the test template (labels, edits, check boxes, radio buttons, a group box,
// push buttons): creation, dialog units, the keyboard through IsDialogMessage, the modal run and
// the controls' behaviour the class library and the framework's dialogs stand on.
#include <gtest/gtest.h>
#include <algorithm>

#include <string>
#include <vector>

#include "WindowTestSupport.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Caret.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/VirtualKeys.h"
#include "platform/win/gdi/Gdi.h"

namespace {
struct DialogLog {
    std::vector<std::string> entries;   // "INIT", "FONT", "COMMAND 1/0", ...
    LRESULT lInitResult = TRUE;
    BOOL bEndOnCommand = FALSE;
    BOOL bInSetFocus = FALSE;
    BOOL bKillFocusInside = FALSE;
    WPARAM wInitFocus = 0;
    LPARAM lInitParam = 0;
};
DialogLog g_log;

INT_PTR CALLBACK TestDialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_SETFONT:
        g_log.entries.push_back("FONT");
        return FALSE;
    case WM_INITDIALOG:
        g_log.entries.push_back("INIT");
        g_log.wInitFocus = wParam;
        g_log.lInitParam = lParam;
        return g_log.lInitResult;
    case WM_COMMAND:
        g_log.entries.push_back("COMMAND " + std::to_string(LOWORD(wParam)) + "/" + std::to_string(HIWORD(wParam)));
        if (HIWORD(wParam) == EN_KILLFOCUS && g_log.bInSetFocus)
            g_log.bKillFocusInside = TRUE;
        if (g_log.bEndOnCommand && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
            EndDialog(hDlg, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

class Dialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_log = DialogLog();
        TbAddResourcePath(TB_SOURCE_DIR "/tests/platform/data");
        m_hModule = LoadLibraryA("testdlg_1252.dll");
        ASSERT_NE(nullptr, m_hModule);
        m_hOwner = CreateTestWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    }
    void TearDown() override
    {
        if (IsWindow(m_hDlg))
            DestroyWindow(m_hDlg);
        DestroyWindow(m_hOwner);
        PumpReady();
        FreeLibrary(m_hModule);
    }
    HWND Create(HMODULE hModule = nullptr)
    {
        m_hDlg = CreateDialogParamA(hModule ? hModule : m_hModule, MAKEINTRESOURCEA(100), m_hOwner, TestDialogProc, 42);
        return m_hDlg;
    }
    // Keys as the display sends them, read through the dialog manager as a modeless dialog's loop does.
    void Key(UINT uVk, LPARAM lFlags = 0, LPCSTR pszChars = "")
    {
        TbDisplayKey(WM_KEYDOWN, uVk, 1 | lFlags, pszChars);
        TbDisplayKey(WM_KEYUP, uVk, 1 | lFlags | (static_cast<LPARAM>(KF_UP) << 16), "");
        Drain();
    }
    void ShiftKey(UINT uVk)
    {
        TbDisplayKey(WM_KEYDOWN, VK_SHIFT, 1, "");
        Key(uVk);
        TbDisplayKey(WM_KEYUP, VK_SHIFT, 1 | (static_cast<LPARAM>(KF_UP) << 16), "");
        Drain();
    }
    void Type(const char* pszText)
    {
        for (const char* p = pszText; *p; ++p) {
            const char sz[2] = {*p, 0};
            Key(static_cast<UINT>(*p >= 'a' && *p <= 'z' ? *p - 'a' + 'A' : *p), 0, sz);
        }
    }
    void Drain()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER || !IsDialogMessageA(m_hDlg, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
    }
    int FocusId() const { return GetDlgCtrlID(GetFocus()); }
    // The dialog's control that has the focus or holds it (a combo box's edit).
    int FocusControlId() const
    {
        HWND hFocus = GetFocus();
        while (hFocus && GetParent(hFocus) != m_hDlg)
            hFocus = GetParent(hFocus);
        return GetDlgCtrlID(hFocus);
    }
    std::string Text(int nId) const
    {
        char sz[256];
        GetDlgItemTextA(m_hDlg, nId, sz, sizeof sz);
        return sz;
    }
    std::string Log() const
    {
        std::string str;
        for (const std::string& s : g_log.entries)
            str += (str.empty() ? "" : ", ") + s;
        return str;
    }
    HMODULE m_hModule = nullptr;
    HWND m_hOwner = nullptr;
    HWND m_hDlg = nullptr;
};
}  // namespace

TEST(MulDivTest, RoundsHalfAwayFromZeroAndRefusesWhatDoesNotFit)
{
    EXPECT_EQ(63, MulDiv(50, 5, 4));        // 62.5
    EXPECT_EQ(-63, MulDiv(-50, 5, 4));
    EXPECT_EQ(-63, MulDiv(50, -5, 4));
    EXPECT_EQ(62, MulDiv(249, 1, 4));       // 62.25
    EXPECT_EQ(-11, MulDiv(8, -96, 72));     // a point size to a character height
    EXPECT_EQ(-1, MulDiv(1, 2, 0));
    EXPECT_EQ(-1, MulDiv(0x40000000, 4, 1));
    EXPECT_EQ(1073741824, MulDiv(0x40000000, 0x40000000, 0x40000000));
}

TEST_F(Dialogs, CreatesControlsInTemplateOrderWithTheFontThenInitialises)
{
    HWND hDlg = Create();
    ASSERT_NE(nullptr, hDlg);
    // The font reaches the dialog before WM_INITDIALOG, which names the first tab stop.
    EXPECT_EQ("FONT, INIT, COMMAND 101/256", Log());     // then the first field's EN_SETFOCUS
    EXPECT_EQ(42, g_log.lInitParam);
    EXPECT_EQ(GetDlgItem(hDlg, 101), reinterpret_cast<HWND>(g_log.wInitFocus));
    // Every control draws with the template's font.
    HFONT hFont = reinterpret_cast<HFONT>(SendMessageA(hDlg, WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, hFont);
    std::string strOrder;
    char szClass[32];
    for (HWND h = GetWindow(hDlg, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        GetClassNameA(h, szClass, sizeof szClass);
        strOrder += std::string(szClass) + ":" + std::to_string(GetDlgCtrlID(h)) + " ";
    }
    EXPECT_EQ("Static:-1 Edit:101 Static:-1 Edit:102 Edit:103 Static:-1 Edit:104 Button:110 Button:111 "
              "Button:112 Button:113 Button:120 Button:121 Button:122 Static:-1 ComboBox:105 ListBox:106 "
              "Static:-1 msctls_trackbar32:108 ScrollBar:107 Button:1 Button:2 ", strOrder);
    // The combo box is only its field; its list's room is below, and the list got the bar.
    RECT rcCombo, rcDrop;
    GetWindowRect(GetDlgItem(hDlg, 105), &rcCombo);
    SendDlgItemMessageA(hDlg, 105, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rcDrop));
    EXPECT_LT(rcCombo.bottom - rcCombo.top, MulDiv(60, 11, 8));
    EXPECT_EQ(rcCombo.top + MulDiv(60, 11, 8), rcDrop.bottom);
    EXPECT_FALSE(GetWindowLongA(GetDlgItem(hDlg, 105), GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(hFont, reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(GetDlgItem(hDlg, 105), TB_COMBO_EDIT_ID), WM_GETFONT, 0, 0)));
    EXPECT_EQ(hFont, reinterpret_cast<HFONT>(SendDlgItemMessageA(hDlg, 104, WM_GETFONT, 0, 0)));
    EXPECT_EQ(hFont, reinterpret_cast<HFONT>(SendDlgItemMessageA(hDlg, IDOK, WM_GETFONT, 0, 0)));
    // TRUE from WM_INITDIALOG focused the first tab stop with its text selected; not shown yet.
    EXPECT_EQ(101, FocusId());
    EXPECT_FALSE(IsWindowVisible(hDlg));
    // The OK button is the default.
    EXPECT_EQ(MAKELRESULT(IDOK, DC_HASDEFID), SendMessageA(hDlg, DM_GETDEFID, 0, 0));
}

TEST_F(Dialogs, DialogUnitsComeFromTheTemplateFont)
{
    HWND hDlg = Create();
    ASSERT_NE(nullptr, hDlg);
    // 8 points is an 11-pixel character height; the headless font is half as wide as high, so
    // the base units are (5, 11): x by 5/4, y by 11/8.
    RECT rc = {50, 7, 150, 19};
    ASSERT_TRUE(MapDialogRect(hDlg, &rc));
    EXPECT_EQ(63, rc.left);
    EXPECT_EQ(10, rc.top);
    EXPECT_EQ(188, rc.right);
    EXPECT_EQ(26, rc.bottom);
    RECT rcEdit;
    GetWindowRect(GetDlgItem(hDlg, 101), &rcEdit);
    POINT pt = {rcEdit.left, rcEdit.top};
    ScreenToClient(hDlg, &pt);
    EXPECT_EQ(63, pt.x);
    EXPECT_EQ(10, pt.y);
    EXPECT_EQ(125, rcEdit.right - rcEdit.left);
    RECT rcClient;
    GetClientRect(hDlg, &rcClient);
    EXPECT_EQ(MulDiv(247, 5, 4), rcClient.right);
    EXPECT_EQ(MulDiv(157, 11, 8), rcClient.bottom);
    // A top-level dialog whose template names no place opens centred on its owner, kept on the screen.
    RECT rcDlg, rcOwner;
    GetWindowRect(hDlg, &rcDlg);
    GetWindowRect(m_hOwner, &rcOwner);
    EXPECT_EQ(std::max<LONG>(0, (rcOwner.left + rcOwner.right) / 2 - (rcDlg.right - rcDlg.left) / 2), rcDlg.left);
    EXPECT_EQ(std::max<LONG>(0, (rcOwner.top + rcOwner.bottom) / 2 - (rcDlg.bottom - rcDlg.top) / 2), rcDlg.top);
}

TEST_F(Dialogs, FalseFromInitDialogKeepsTheFocusTheProcedureChose)
{
    g_log.lInitResult = FALSE;
    HWND hDlg = Create();
    ASSERT_NE(nullptr, hDlg);
    EXPECT_NE(101, FocusId());
}

TEST_F(Dialogs, TabWalksTabStopsSkippingDisabledAndHiddenControls)
{
    HWND hDlg = Create();
    ASSERT_NE(nullptr, hDlg);
    ShowWindow(hDlg, SW_SHOW);
    std::vector<int> forward;
    for (int i = 0; i < 11; ++i) {
        Key(VK_TAB);
        forward.push_back(FocusControlId());
    }
    // 103 is read-only but a tab stop; 113 and 122 are disabled, 120 hidden; the scroll bar is
    // no tab stop. The combo box's focus is in its edit.
    EXPECT_EQ((std::vector<int>{102, 103, 104, 111, 121, 105, 106, 108, IDOK, IDCANCEL, 101}), forward);
    ShiftKey(VK_TAB);
    ShiftKey(VK_TAB);
    ShiftKey(VK_TAB);
    ShiftKey(VK_TAB);
    EXPECT_EQ(106, FocusId());
    ShiftKey(VK_TAB);
    EXPECT_EQ(TB_COMBO_EDIT_ID, FocusId());
    Key(VK_TAB);
    Key(VK_TAB);
    Key(VK_TAB);
    Key(VK_TAB);
    Key(VK_TAB);
    ShiftKey(VK_TAB);
    EXPECT_EQ(IDCANCEL, FocusId());
    ShiftKey(VK_TAB);
    EXPECT_EQ(IDOK, FocusId());
    // Tab into an edit selects its text, so typing replaces it.
    SetDlgItemTextA(hDlg, 102, "12.5");
    SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hDlg, 103)), TRUE);
    ShiftKey(VK_TAB);
    EXPECT_EQ(102, FocusId());
    DWORD dwStart = 9, dwEnd = 9;
    SendDlgItemMessageA(hDlg, 102, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
    EXPECT_EQ(0u, dwStart);
    EXPECT_EQ(4u, dwEnd);
    EXPECT_EQ(GetDlgItem(hDlg, 104), GetNextDlgTabItem(hDlg, GetDlgItem(hDlg, 103), FALSE));
    EXPECT_EQ(GetDlgItem(hDlg, 101), GetNextDlgTabItem(hDlg, nullptr, FALSE));
}

TEST_F(Dialogs, ArrowsMoveInsideARadioGroupAndChooseTheButton)
{
    HWND hDlg = Create();
    ASSERT_NE(nullptr, hDlg);
    ShowWindow(hDlg, SW_SHOW);
    SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hDlg, 111)), TRUE);
    Key(VK_DOWN);
    EXPECT_EQ(112, FocusId());
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(hDlg, 112));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(hDlg, 111));
    // The disabled third button is passed over; the group wraps.
    Key(VK_DOWN);
    EXPECT_EQ(111, FocusId());
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(hDlg, 111));
    Key(VK_UP);
    EXPECT_EQ(112, FocusId());
    EXPECT_NE(std::string::npos, Log().find("COMMAND 112/0"));
    // The chosen button is now the group's tab stop.
    SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hDlg, 104)), TRUE);
    Key(VK_TAB);
    EXPECT_EQ(112, FocusId());
    // CheckRadioButton sets one and clears the rest of the range.
    CheckRadioButton(hDlg, 111, 113, 113);
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(hDlg, 112));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(hDlg, 113));
}

TEST_F(Dialogs, EnterPressesTheDefaultOrFocusedButtonAndEscapeCancels)
{
    HWND hDlg = Create();
    ASSERT_NE(nullptr, hDlg);
    ShowWindow(hDlg, SW_SHOW);
    g_log.entries.clear();
    Key(VK_RETURN);
    EXPECT_EQ("COMMAND 1/0", Log());
    Key(VK_ESCAPE);
    EXPECT_EQ("COMMAND 1/0, COMMAND 2/0", Log());
    // A focused push button takes the default look and Enter presses it.
    SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hDlg, IDCANCEL)), TRUE);
    EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongA(GetDlgItem(hDlg, IDCANCEL), GWL_STYLE) & BS_TYPEMASK);
    EXPECT_EQ(BS_PUSHBUTTON, GetWindowLongA(GetDlgItem(hDlg, IDOK), GWL_STYLE) & BS_TYPEMASK);
    g_log.entries.clear();
    Key(VK_RETURN);
    EXPECT_EQ("COMMAND 2/0", Log());
    // Back in an edit the default button has its look again; DM_SETDEFID moves it.
    SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hDlg, 101)), TRUE);
    EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongA(GetDlgItem(hDlg, IDOK), GWL_STYLE) & BS_TYPEMASK);
    SendMessageA(hDlg, DM_SETDEFID, IDCANCEL, 0);
    g_log.entries.clear();
    Key(VK_RETURN);
    EXPECT_EQ("COMMAND 2/0", Log());
    // The characters of Enter and Escape never reach the edit.
    EXPECT_EQ("", Text(101));
}

TEST_F(Dialogs, ComboBoxListKeepsEnterAndEscapeWhileOpen)
{
    HWND hDlg = Create();
    ASSERT_NE(nullptr, hDlg);
    ShowWindow(hDlg, SW_SHOW);
    HWND hCombo = GetDlgItem(hDlg, 105);
    for (const char* psz : {"beta", "alpha", "gamma"})
        SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(psz));
    Key('A', static_cast<LPARAM>(KF_ALTDOWN) << 16, "a");    // "&Account:" labels the combo box
    EXPECT_EQ(105, FocusControlId());
    g_log.entries.clear();
    Key(VK_DOWN, static_cast<LPARAM>(KF_ALTDOWN) << 16);
    EXPECT_TRUE(SendMessageA(hCombo, CB_GETDROPPEDSTATE, 0, 0));
    Key(VK_DOWN);
    Key(VK_RETURN);                         // chooses, and does not press OK
    EXPECT_FALSE(SendMessageA(hCombo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ("alpha", Text(105));
    EXPECT_EQ("COMMAND 105/7, COMMAND 105/1, COMMAND 105/9, COMMAND 105/8", Log());
    Key(VK_F4);
    Key(VK_ESCAPE);                         // closes the list, the dialog stays
    EXPECT_FALSE(SendMessageA(hCombo, CB_GETDROPPEDSTATE, 0, 0));
    g_log.entries.clear();
    Key(VK_ESCAPE);
    EXPECT_EQ("COMMAND 2/0", Log());
}

TEST_F(Dialogs, AltMnemonicsFocusLabelledControlsAndClickButtons)
{
    HWND hDlg = Create();
    ASSERT_NE(nullptr, hDlg);
    ShowWindow(hDlg, SW_SHOW);
    const LPARAM lAlt = static_cast<LPARAM>(KF_ALTDOWN) << 16;
    Key('W', lAlt, "w");                    // "Pass&word:" labels the password field
    EXPECT_EQ(104, FocusId());
    Key('C', lAlt, "c");                    // "&Confirm" is an automatic check box
    EXPECT_EQ(121, FocusId());
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(hDlg, 121));
    Key('M', lAlt, "m");                    // "&Manual" is disabled: nothing happens
    EXPECT_EQ(121, FocusId());
    // A plain letter on a button, which takes no characters, works as a mnemonic too.
    Key('N', 0, "n");
    EXPECT_EQ(101, FocusId());
    // In an edit a plain letter is typed.
    Key('S', 0, "s");
    EXPECT_EQ("s", Text(101));
    EXPECT_EQ(101, FocusId());
}

// Keys typed faster than the program reads them: a mnemonic, then the keys meant for the field it
// chooses, all queued before the first is read. Each key goes where the keys are as it is read:
// the field the mnemonic chose gets every key after it, the field left gets none.
TEST_F(Dialogs, KeysTypedAheadOfAMnemonicLandInTheFieldItChose)
{
    HWND hDlg = Create();
    ASSERT_NE(nullptr, hDlg);
    ShowWindow(hDlg, SW_SHOW);
    Key('S', 0, "s");
    ASSERT_EQ(101, FocusId());
    const LPARAM lAlt = static_cast<LPARAM>(KF_ALTDOWN) << 16, lUp = static_cast<LPARAM>(KF_UP) << 16;
    TbDisplayKey(WM_KEYDOWN, 'W', 1 | lAlt, "w");          // "Pass&word:"
    TbDisplayKey(WM_KEYUP, 'W', 1 | lAlt | lUp, "");
    for (const char* psz : {"4", "2"}) {
        TbDisplayKey(WM_KEYDOWN, static_cast<UINT>(*psz), 1, psz);
        TbDisplayKey(WM_KEYUP, static_cast<UINT>(*psz), 1 | lUp, "");
    }
    Drain();
    EXPECT_EQ(104, FocusId());
    EXPECT_EQ("42", Text(104));
    EXPECT_EQ("s", Text(101)) << "keys typed after the mnemonic left in the field it left";
}

namespace {
WNDPROC g_pfnEditProc = nullptr;
LRESULT CALLBACK SubclassedEdit(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_GETDLGCODE)
        return CallWindowProcA(g_pfnEditProc, hWnd, uMsg, wParam, lParam) | DLGC_WANTTAB;
    if (uMsg == WM_CHAR && (wParam == 'x' || wParam == '\t'))
        return 0;                           // swallowed before the class sees it
    return CallWindowProcA(g_pfnEditProc, hWnd, uMsg, wParam, lParam);
}
}  // namespace

TEST_F(Dialogs, SubclassedEditKeepsTabAndSwallowsKeys)
{
    HWND hDlg = Create();
    ASSERT_NE(nullptr, hDlg);
    ShowWindow(hDlg, SW_SHOW);
    HWND hEdit = GetDlgItem(hDlg, 101);
    g_pfnEditProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassedEdit)));
    Type("axb");
    EXPECT_EQ("ab", Text(101));
    Key(VK_TAB, 0, "\t");
    EXPECT_EQ(101, FocusId());              // WM_GETDLGCODE kept the Tab
    SetWindowLongPtrA(hEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pfnEditProc));
    Key(VK_TAB, 0, "\t");
    EXPECT_EQ(102, FocusId());
}

TEST_F(Dialogs, EditTellsItsParentInsideSetFocus)
{
    HWND hDlg = Create();
    ASSERT_NE(nullptr, hDlg);
    ASSERT_EQ(101, FocusId());
    g_log.entries.clear();
    g_log.bInSetFocus = TRUE;
    SetFocus(GetDlgItem(hDlg, 102));
    g_log.bInSetFocus = FALSE;
    EXPECT_TRUE(g_log.bKillFocusInside);
    EXPECT_EQ("COMMAND 101/512, COMMAND 102/256", Log());
}

TEST_F(Dialogs, EditLimitsReplacesUndoesAndNotifies)
{
    HWND hDlg = Create();
    ASSERT_NE(nullptr, hDlg);
    HWND hEdit = GetDlgItem(hDlg, 101);
    g_log.entries.clear();
    SetWindowTextA(hEdit, "Hello");
    EXPECT_EQ("COMMAND 101/1024, COMMAND 101/768", Log());  // EN_UPDATE, then EN_CHANGE
    EXPECT_FALSE(SendMessageA(hEdit, EM_CANUNDO, 0, 0));
    SendMessageA(hEdit, EM_SETSEL, 1, 3);
    SendMessageA(hEdit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("ipp"));
    EXPECT_EQ("Hipplo", Text(101));
    EXPECT_EQ(MAKELRESULT(4, 4), SendMessageA(hEdit, EM_GETSEL, 0, 0));
    EXPECT_TRUE(SendMessageA(hEdit, EM_GETMODIFY, 0, 0));
    ASSERT_TRUE(SendMessageA(hEdit, EM_CANUNDO, 0, 0));
    SendMessageA(hEdit, EM_UNDO, 0, 0);
    EXPECT_EQ("Hello", Text(101));
    SendMessageA(hEdit, EM_UNDO, 0, 0);     // undoing the undo puts the change back
    EXPECT_EQ("Hipplo", Text(101));
    // The limit cuts what is inserted and says so.
    SendMessageA(hEdit, EM_LIMITTEXT, 8, 0);
    EXPECT_EQ(8, SendMessageA(hEdit, EM_GETLIMITTEXT, 0, 0));
    g_log.entries.clear();
    SendMessageA(hEdit, EM_SETSEL, 6, 6);
    SendMessageA(hEdit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("-world"));
    EXPECT_EQ("Hipplo-w", Text(101));
    EXPECT_EQ("COMMAND 101/1024, COMMAND 101/768, COMMAND 101/1281", Log());
    g_log.entries.clear();
    Type("z");
    EXPECT_EQ("Hipplo-w", Text(101));
    EXPECT_EQ("COMMAND 101/1281", Log());
    // Keys: Home, Shift+End selects, Backspace deletes the selection, WM_CLEAR the selection too.
    Key(VK_HOME);
    TbDisplayKey(WM_KEYDOWN, VK_SHIFT, 1, "");
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    TbDisplayKey(WM_KEYUP, VK_SHIFT, 1 | (static_cast<LPARAM>(KF_UP) << 16), "");
    Key(VK_BACK, 0, "\b");
    EXPECT_EQ("pplo-w", Text(101));
    SendMessageA(hEdit, EM_SETSEL, 0, -1);
    SendMessageA(hEdit, WM_CLEAR, 0, 0);
    EXPECT_EQ("", Text(101));
}

TEST_F(Dialogs, ReadOnlyNumberAndPasswordFields)
{
    HWND hDlg = Create();
    ASSERT_NE(nullptr, hDlg);
    ShowWindow(hDlg, SW_SHOW);
    SetDlgItemTextA(hDlg, 103, "fixed");
    SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hDlg, 103)), TRUE);
    Type("ab");
    Key(VK_DELETE);
    EXPECT_EQ("fixed", Text(103));
    EXPECT_EQ('*', SendDlgItemMessageA(hDlg, 104, EM_GETPASSWORDCHAR, 0, 0));
    SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hDlg, 104)), TRUE);
    Type("pw");
    EXPECT_EQ("pw", Text(104));            // the text is kept; only the display hides it
    HWND hEdit = GetDlgItem(hDlg, 102);
    SetWindowLongA(hEdit, GWL_STYLE, GetWindowLongA(hEdit, GWL_STYLE) | ES_NUMBER);
    SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hEdit), TRUE);
    Type("1a2");
    EXPECT_EQ("12", Text(102));
    BOOL bOk = FALSE;
    EXPECT_EQ(12u, GetDlgItemInt(hDlg, 102, &bOk, FALSE));
    EXPECT_TRUE(bOk);
    SetDlgItemInt(hDlg, 101, static_cast<UINT>(-35), TRUE);
    EXPECT_EQ("-35", Text(101));
    EXPECT_EQ(static_cast<UINT>(-35), GetDlgItemInt(hDlg, 101, &bOk, TRUE));
    EXPECT_TRUE(bOk);
    EXPECT_EQ(0u, GetDlgItemInt(hDlg, 101, &bOk, FALSE));
    EXPECT_FALSE(bOk);
    SetDlgItemTextA(hDlg, 101, " 7x");
    EXPECT_EQ(0u, GetDlgItemInt(hDlg, 101, &bOk, TRUE));
    EXPECT_FALSE(bOk);
}

TEST_F(Dialogs, ButtonsClickCheckAndNotify)
{
    HWND hDlg = Create();
    ASSERT_NE(nullptr, hDlg);
    ShowWindow(hDlg, SW_SHOW);
    g_log.entries.clear();
    SendDlgItemMessageA(hDlg, 121, BM_CLICK, 0, 0);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(hDlg, 121));
    SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hDlg, 121)), TRUE);
    Key(VK_SPACE, 0, " ");
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(hDlg, 121));
    EXPECT_EQ("COMMAND 121/0, COMMAND 101/512, COMMAND 121/0", Log());
    // A plain check box (not automatic) only tells; the program checks it.
    g_log.entries.clear();
    EnableWindow(GetDlgItem(hDlg, 122), TRUE);
    SendDlgItemMessageA(hDlg, 122, BM_CLICK, 0, 0);
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(hDlg, 122));
    CheckDlgButton(hDlg, 122, BST_CHECKED);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(hDlg, 122));
    // A disabled button does nothing.
    EnableWindow(GetDlgItem(hDlg, 122), FALSE);
    SendDlgItemMessageA(hDlg, 122, BM_CLICK, 0, 0);
    EXPECT_EQ("COMMAND 122/0", Log());
}

namespace {
HWND g_hTimerDlg = nullptr;
int g_nTicks = 0;
BOOL g_bOwnerDisabledSeen = FALSE;
BOOL g_bPostedSeen = FALSE;
HWND g_hModalOwner = nullptr;

INT_PTR CALLBACK ModalProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM)
{
    if (uMsg == WM_INITDIALOG) {
        g_hTimerDlg = hDlg;
        SetTimer(hDlg, 7, 10, nullptr);
        PostMessageA(g_hModalOwner, WM_USER + 1, 0, 0);
        return TRUE;
    }
    if (uMsg == WM_TIMER && wParam == 7) {
        g_bOwnerDisabledSeen = !IsWindowEnabled(g_hModalOwner);
        if (++g_nTicks == 3 && g_bPostedSeen)
            EndDialog(hDlg, 77);
        return TRUE;
    }
    if (uMsg == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(hDlg, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

LRESULT OwnerOverride(HWND, UINT uMsg, WPARAM, LPARAM, BOOL* pbHandled)
{
    if (uMsg == WM_USER + 1) {
        g_bPostedSeen = TRUE;
        *pbHandled = TRUE;
    }
    return 0;
}
}  // namespace

TEST_F(Dialogs, ModalRunDisablesTheOwnerAndKeepsTheQueueRunning)
{
    g_nTicks = 0;
    g_bOwnerDisabledSeen = FALSE;
    g_bPostedSeen = FALSE;
    g_hModalOwner = m_hOwner;
    g_pfnTestOverride = OwnerOverride;
    const INT_PTR nResult = DialogBoxParamA(m_hModule, MAKEINTRESOURCEA(100), m_hOwner, ModalProc, 0);
    g_pfnTestOverride = nullptr;
    EXPECT_EQ(77, nResult);
    EXPECT_TRUE(g_bOwnerDisabledSeen);
    EXPECT_TRUE(g_bPostedSeen);
    EXPECT_GE(g_nTicks, 3);
    EXPECT_TRUE(IsWindowEnabled(m_hOwner));
    EXPECT_FALSE(IsWindow(g_hTimerDlg));
    // A template that is not there: -1, and the owner stays enabled.
    EXPECT_EQ(-1, DialogBoxParamA(m_hModule, MAKEINTRESOURCEA(999), m_hOwner, ModalProc, 0));
    EXPECT_TRUE(IsWindowEnabled(m_hOwner));
}

namespace {
INT_PTR CALLBACK EndAtOnceProc(HWND hDlg, UINT uMsg, WPARAM, LPARAM)
{
    if (uMsg == WM_INITDIALOG) {
        EndDialog(hDlg, 5);
        return TRUE;
    }
    return FALSE;
}
}  // namespace

TEST_F(Dialogs, DialogEndedWhileStartingReturnsAtOnceUnshown)
{
    EXPECT_EQ(5, DialogBoxParamA(m_hModule, MAKEINTRESOURCEA(100), m_hOwner, EndAtOnceProc, 0));
    EXPECT_TRUE(IsWindowEnabled(m_hOwner));
}

namespace {
INT_PTR CALLBACK EndWhenPostedProc(HWND hDlg, UINT uMsg, WPARAM, LPARAM)
{
    if (uMsg == WM_INITDIALOG) {
        PostMessageA(hDlg, WM_USER + 3, 0, 0);
        return TRUE;
    }
    if (uMsg == WM_USER + 3)
        EndDialog(hDlg, 6);
    return FALSE;
}
}  // namespace

TEST_F(Dialogs, ModalRunEndsADragInTheOwner)
{
    HWND hGrid = CreateTestWindow(m_hOwner, WS_CHILD | WS_VISIBLE, 9);
    SetActiveWindow(m_hOwner);
    SetCapture(hGrid);
    CMessageLog::Get().Clear();
    EXPECT_EQ(6, DialogBoxParamA(m_hModule, MAKEINTRESOURCEA(100), m_hOwner, EndWhenPostedProc, 0));
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_CANCELMODE, hGrid));
    EXPECT_EQ(nullptr, GetCapture());
    DestroyWindow(hGrid);
}

TEST_F(Dialogs, ArabicTemplateIsTakenAsWrittenWithRightToLeftTexts)
{
    HMODULE hArabic = LoadLibraryA("testdlg_1256.dll");
    ASSERT_NE(nullptr, hArabic);
    HWND hDlg = Create(hArabic);
    ASSERT_NE(nullptr, hDlg);
    // Positions are the file's own: the edit at 97 dialog units from the left, not mirrored.
    RECT rcEdit;
    GetWindowRect(GetDlgItem(hDlg, 101), &rcEdit);
    POINT pt = {rcEdit.left, rcEdit.top};
    ScreenToClient(hDlg, &pt);
    EXPECT_EQ(MulDiv(97, 5, 4), pt.x);
    HWND hLabel = GetWindow(hDlg, GW_CHILD);
    EXPECT_EQ(static_cast<LONG>(WS_EX_RTLREADING | WS_EX_RIGHT),
              GetWindowLongA(hLabel, GWL_EXSTYLE) & (WS_EX_RTLREADING | WS_EX_RIGHT));
    EXPECT_EQ(SS_RIGHT, GetWindowLongA(hLabel, GWL_STYLE) & SS_TYPEMASK);
    // The template font carries the Arabic character set, so 1256 texts draw as Arabic.
    LOGFONTA lf = {};
    GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(hDlg, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_EQ(ARABIC_CHARSET, lf.lfCharSet);
    // Alt with an Arabic letter reaches the control it marks ("&شراء": SHEEN is 0xD4 in 1256).
    ShowWindow(hDlg, SW_SHOW);
    Key('A', static_cast<LPARAM>(KF_ALTDOWN) << 16, "\xD4");
    EXPECT_EQ(111, FocusId());
    DestroyWindow(hDlg);
    FreeLibrary(hArabic);
}

TEST(CaretTest, BlinksAsAnInversionThatGivesThePixelsBack)
{
    HWND hWnd = CreateTestWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HDC hdc = GetDC(hWnd);
    RECT rc = {0, 0, 50, 50};
    FillRect(hdc, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ASSERT_TRUE(CreateCaret(hWnd, nullptr, 2, 10));
    SetCaretPos(5, 5);
    EXPECT_FALSE(TbIsCaretDrawn());         // a new caret is hidden
    ShowCaret(hWnd);
    EXPECT_TRUE(TbIsCaretDrawn());
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(hdc, 6, 10));
    HideCaret(hWnd);
    HideCaret(hWnd);
    ShowCaret(hWnd);
    EXPECT_FALSE(TbIsCaretDrawn());         // hiding nests
    ShowCaret(hWnd);
    EXPECT_TRUE(TbIsCaretDrawn());
    SetCaretPos(20, 5);
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(hdc, 6, 10));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(hdc, 21, 10));
    POINT pt;
    ASSERT_TRUE(GetCaretPos(&pt));
    EXPECT_EQ(20, pt.x);
    // Painting takes the caret off and puts it back after.
    InvalidateRect(hWnd, nullptr, FALSE);
    PAINTSTRUCT ps;
    BeginPaint(hWnd, &ps);
    EXPECT_FALSE(TbIsCaretDrawn());
    EndPaint(hWnd, &ps);
    EXPECT_TRUE(TbIsCaretDrawn());
    EXPECT_FALSE(ShowCaret(CreateTestWindow(hWnd, WS_CHILD)));      // not the owner
    DestroyCaret();
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(hdc, 21, 10));
    ReleaseDC(hWnd, hdc);
    DestroyWindow(hWnd);
}
