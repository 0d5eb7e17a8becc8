// The completing combo box in a class library dialog of data/tbdlg_1252.rc, driven by typed
// characters and Backspace in its edit part and by the focus leaving it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogTestSupport.h"
#include "WindowTestSupport.h"
#include "framework/base/NorvGlobals.h"
#include "framework/window/EnhancedComboBox.h"
#include "framework/window/TBDialog.h"
#include "platform/mfc/Dialog.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
// Logs the commands its controls send or post.
class CLogDlg : public CDialog
{
public:
    CLogDlg() : CDialog(IDD_ORDER, nullptr) {}
    std::vector<WORD> m_codes;     // notification codes from the market box, in order

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (LOWORD(wParam) == IDC_MARKET)
            m_codes.push_back(HIWORD(wParam));
        return CDialog::OnCommand(wParam, lParam);
    }
};

// Refuses texts that begin with a digit.
class CNoDigitsCombo : public CEnhancedComboBox
{
public:
    BOOL AcceptText(LPCSTR pszText) override { return !(pszText[0] >= '0' && pszText[0] <= '9'); }
};

class EnhancedComboBoxes : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dlg.Create(IDD_ORDER, nullptr));
        ASSERT_TRUE(m_combo.SubclassDlgItem(IDC_MARKET, &m_dlg));
        for (const char* psz : {"Apple", "Apricot", "Banana"})
            m_combo.AddString(psz);
        m_hEdit = ::GetDlgItem(m_combo.m_hWnd, 1001);
        ASSERT_NE(nullptr, m_hEdit);
        ::SetFocus(m_hEdit);
        Drain();
        m_dlg.m_codes.clear();
    }
    void TearDown() override
    {
        m_dlg.DestroyWindow();
        Drain();
    }
    void Type(const std::string& strKeys)
    {
        for (char ch : strKeys)
            SendMessageA(m_hEdit, WM_CHAR, static_cast<unsigned char>(ch), 0);
    }
    std::string Text() const
    {
        char sz[64] = {};
        GetWindowTextA(m_hEdit, sz, sizeof(sz));
        return sz;
    }
    std::string Selected() const
    {
        DWORD dwStart = 0, dwEnd = 0;
        SendMessageA(m_hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
        return Text().substr(dwStart, dwEnd - dwStart);
    }
    void ClearByKeys()
    {
        SendMessageA(m_hEdit, EM_SETSEL, 0, -1);
        Type("\b");
        ASSERT_EQ("", Text());
    }
    void Leave()
    {
        ::SetFocus(::GetDlgItem(m_dlg.m_hWnd, IDC_QUANTITY));
        Drain();
    }
    std::vector<std::string> Items() const
    {
        std::vector<std::string> items;
        for (int i = 0; i < m_combo.GetCount(); ++i) {
            CString str;
            m_combo.GetLBText(i, str);
            items.emplace_back(static_cast<LPCSTR>(str));
        }
        return items;
    }

    CDialogResources m_res;
    CLogDlg m_dlg;
    CEnhancedComboBox m_combo;
    HWND m_hEdit = nullptr;
};

TEST_F(EnhancedComboBoxes, TypingCompletesFromTheFirstMatchingItem)
{
    Type("A");
    EXPECT_EQ("Apple", Text());
    EXPECT_EQ("pple", Selected());
    Type("pr");     // typing on overwrites the completion
    EXPECT_EQ("Apricot", Text());
    EXPECT_EQ("icot", Selected());
    Type("x");
    EXPECT_EQ("Aprx", Text());
    EXPECT_EQ("", Selected());
}

TEST_F(EnhancedComboBoxes, DeletingDoesNotCompleteAgain)
{
    Type("Ap");
    ASSERT_EQ("Apple", Text());
    Type("\b");
    EXPECT_EQ("Ap", Text());
    Type("\b");
    EXPECT_EQ("A", Text());
    // Adding again does.
    Type("p");
    EXPECT_EQ("Apple", Text());
}

TEST_F(EnhancedComboBoxes, CaseOfTheTypedText)
{
    Type("ap");
    EXPECT_EQ("Apple", Text());
    EXPECT_EQ("ple", Selected());

    // Case-sensitive: the list search still ignores case; only the comparison with the last
    // text is exact.
    m_combo.SetCaseSensitive(TRUE);
    ClearByKeys();
    Type("ba");
    EXPECT_EQ("Banana", Text());
    EXPECT_EQ("nana", Selected());

    m_combo.SetAutoComplete(FALSE);
    ClearByKeys();
    Type("Ba");
    EXPECT_EQ("Ba", Text());
}

TEST_F(EnhancedComboBoxes, LeavingWithAnItemSelectsItAndTellsTheParent)
{
    Type("Apricot");
    ASSERT_EQ(-1, m_combo.GetCurSel());
    Leave();
    EXPECT_EQ(1, m_combo.GetCurSel());
    EXPECT_EQ((std::vector<WORD>{CBN_SELCHANGE, ECBN_LEFT}),
              std::vector<WORD>(m_dlg.m_codes.end() - 2, m_dlg.m_codes.end()));
}

TEST_F(EnhancedComboBoxes, LeavingWithANewTextOnlyTellsThatItLeft)
{
    Type("Cherry");
    Leave();
    EXPECT_EQ(ECBN_LEFT, m_dlg.m_codes.back());
    for (WORD nCode : m_dlg.m_codes)
        EXPECT_NE(CBN_SELCHANGE, nCode);
    EXPECT_EQ(3, m_combo.GetCount());

    // With adding on: put at the top of an unsorted list, then selected as an item.
    m_combo.SetAddOnLeaving(TRUE);
    ::SetFocus(m_hEdit);
    Drain();
    m_dlg.m_codes.clear();
    Leave();
    EXPECT_EQ((std::vector<std::string>{"Cherry", "Apple", "Apricot", "Banana"}), Items());
    EXPECT_EQ(0, m_combo.GetCurSel());
    EXPECT_EQ((std::vector<WORD>{CBN_SELCHANGE, ECBN_LEFT}),
              std::vector<WORD>(m_dlg.m_codes.end() - 2, m_dlg.m_codes.end()));
}

TEST_F(EnhancedComboBoxes, AddTextRefusesEmptyAndRefusedTexts)
{
    CNoDigitsCombo combo;
    ASSERT_TRUE(combo.SubclassDlgItem(IDC_SIDE, &m_dlg));
    EXPECT_EQ(0, combo.AddText(""));
    EXPECT_EQ(0, combo.AddText("7 days"));
    EXPECT_EQ(1, combo.AddText("Sell"));
    EXPECT_EQ(1, combo.AddText("Buy"));
    EXPECT_EQ(1, combo.AddText("buy"));      // already there, whatever the case
    EXPECT_EQ(2, combo.GetCount());
    CString str;
    combo.GetLBText(0, str);
    EXPECT_STREQ("Buy", str);
    combo.DestroyWindow();
}

TEST_F(EnhancedComboBoxes, ReadOnlyListTakesNoKeysAndShowsFixedColours)
{
    CEnhancedComboBox list;
    ASSERT_TRUE(list.SubclassDlgItem(IDC_SIDE, &m_dlg));
    list.AddString("Buy");
    list.AddString("Sell");
    list.SetCurSel(0);
    list.SetReadOnly(TRUE);
    SendMessageA(list.m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(0, list.GetCurSel());
    list.SetReadOnly(FALSE);
    SendMessageA(list.m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(1, list.GetCurSel());

    // The edit part of the completing box: read-only in its colours, black on white.
    m_combo.SetReadOnly(TRUE);
    EXPECT_TRUE(GetWindowLongA(m_hEdit, GWL_STYLE) & ES_READONLY);
    HDC hdc = GetDC(m_hEdit);
    SetTextColor(hdc, RGB(1, 2, 3));
    LRESULT lBrush = SendMessageA(m_combo.m_hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdc),
                                  reinterpret_cast<LPARAM>(m_hEdit));
    EXPECT_NE(0, lBrush);
    EXPECT_EQ(RGB(0, 0, 0), GetTextColor(hdc));
    EXPECT_EQ(RGB(255, 255, 255), GetBkColor(hdc));
    m_combo.SetReadOnly(FALSE);
    SendMessageA(m_combo.m_hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(m_hEdit));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), GetTextColor(hdc));
    ReleaseDC(m_hEdit, hdc);
    list.DestroyWindow();
}
}  // namespace

namespace {
// A dialog of the framework's base with the completing box; it hands its controls'
// notifications to their class library objects, as the forms' own dialogs do.
class CComboLangDlg : public CTBLangDialog
{
public:
    CComboLangDlg() : CTBLangDialog(IDD_ORDER, nullptr) {}
    CTBString GetSettingsSection() override { return "DlgComboShot"; }
    CTBString GetCaption() override
    {
        return GetNorvGlobals().m_bRightToLeft ? CTBString(Arabic("أمر جديد").c_str()) : CTBString("New order");
    }
    CTBString GetLangSection(int nLanguage) override { return nLanguage ? "DlgComboShot.Lang1" : "DlgComboShot.Lang0"; }
    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_COMMAND || (uMsg >= WM_CTLCOLORMSGBOX && uMsg <= WM_CTLCOLORSTATIC)) {
            CWnd* pChild = CWnd::FromHandlePermanent(reinterpret_cast<HWND>(lParam));
            LRESULT lResult = 0;
            if (pChild != nullptr && pChild->OnChildNotify(uMsg, wParam, lParam, &lResult))
                return lResult;
        }
        return CTBLangDialog::WindowProc(uMsg, wParam, lParam);
    }
};

TEST(EnhancedComboBoxShots, EnglishAndArabicDialogs)
{
    struct {
        int nCodePage;
        const char* pszShot;
        std::string strTyped;
        std::string strItem;
    } const runs[] = {
        {1252, "dialog_combo_en", "Ap", "Apricot"},
        {1256, "dialog_combo_ar", Arabic("دب"), Arabic("دبي")},
    };
    for (const auto& run : runs) {
        CDialogResources res(run.nCodePage);
        CComboLangDlg dlg;
        ASSERT_TRUE(dlg.Create(IDD_ORDER, nullptr));
        ShowWindow(dlg.m_hWnd, SW_SHOW);
        CEnhancedComboBox combo;
        ASSERT_TRUE(combo.SubclassDlgItem(IDC_MARKET, CWnd::FromHandle(dlg.m_hWnd)));
        combo.AddString(run.strItem.c_str());
        combo.AddString(run.nCodePage == 1256 ? Arabic("الرياض").c_str() : "Banana");
        HWND hEdit = ::GetDlgItem(combo.m_hWnd, 1001);
        ::SetFocus(hEdit);
        for (char ch : run.strTyped)
            SendMessageA(hEdit, WM_CHAR, static_cast<unsigned char>(ch), 0);
        char sz[64] = {};
        GetWindowTextA(hEdit, sz, sizeof(sz));
        EXPECT_EQ(run.strItem, sz) << run.pszShot;
        UpdateWindow(dlg.m_hWnd);
        Drain();
        EXPECT_TRUE(TbSaveWindowPng(dlg.m_hWnd, ScreenshotPath(run.pszShot).c_str())) << run.pszShot;
        combo.DestroyWindow();
        dlg.DestroyWindow();
    }
}
}  // namespace
