// The framework's dialog base on the order dialog of data/tbdlg_*.rc: modal runs ended by the
// keyboard, the owner around a run, creation failures, texts from the language sections and
// the remembered position.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "DialogTestSupport.h"
#include "WindowTestSupport.h"
#include "framework/base/NorvGlobals.h"
#include "framework/window/TBDialog.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
class COrderDlg : public CTBLangDialog
{
public:
    explicit COrderDlg(CTBWnd* pOwner = nullptr) : CTBLangDialog(IDD_ORDER, pOwner) {}
    std::function<void(COrderDlg&)> m_fnInit;

    CTBString GetSettingsSection() override { return "DlgOrder"; }
    CTBString GetCaption() override { return GetNorvGlobals().m_nLanguage == 0 ? "New order" : "Ordre"; }
    CTBString GetLangSection(int nLanguage) override
    {
        char sz[32];
        snprintf(sz, sizeof(sz), "DlgOrder.Lang%d", nLanguage);
        return sz;
    }
    std::string Text(int nId) const
    {
        CTBString str;
        GetItemText(nId, str);
        return static_cast<const char*>(str);
    }
    std::string Caption() const { return static_cast<const char*>(GetWindowText()); }
    POINT Position() const
    {
        RECT rc = {};
        GetWindowRect(m_hWnd, &rc);
        return {rc.left, rc.top};
    }
    void PostKey(int nId, UINT nKey)
    {
        PostMessageA(GetDlgItem(m_hWnd, nId), WM_KEYDOWN, nKey, 0);
    }

protected:
    BOOL OnInitDialog() override
    {
        if (m_fnInit)
            m_fnInit(*this);
        return TRUE;
    }
};

// A framework window to own the dialogs.
class COwner : public CTBWnd
{
public:
    COwner()
    {
        CreateEx(0, "WindowTestParent", "owner", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr);
        // The display's activation of the new window arrives late; let it, before a run
        // disables the owner.
        PumpUntil([this] { return GetActiveWindow() == m_hWnd; }, 200);
        Drain();
    }
};

class TBDialogs : public ::testing::Test
{
protected:
    CDialogResources m_res;
    std::string Setting(const char* pszSection, const char* pszKey)
    {
        m_res.Settings().SetSection(pszSection);
        return static_cast<const char*>(m_res.Settings().GetString(CTBString(pszKey), "<none>"));
    }
    void Set(const char* pszSection, const char* pszKey, const char* pszValue)
    {
        m_res.Settings().SetSection(pszSection);
        m_res.Settings().WriteString(CTBString(pszKey), pszValue);
    }
    // The position a modeless run opens at, with the saved position given.
    POINT OpenedAt(const char* pszSaved)
    {
        if (pszSaved != nullptr)
            Set("DlgOrder", "DialogPos", pszSaved);
        COrderDlg dlg;
        EXPECT_TRUE(dlg.Create(IDD_ORDER, nullptr));
        POINT pt = dlg.Position();
        dlg.DestroyWindow();
        return pt;
    }
};

TEST_F(TBDialogs, EnterAndEscapeEndTheModalRun)
{
    struct {
        UINT nKey;
        int nExpected;
    } const runs[] = {{VK_RETURN, IDOK}, {VK_ESCAPE, IDCANCEL}};
    for (const auto& run : runs) {
        COwner owner;
        COrderDlg dlg(&owner);
        dlg.m_fnInit = [&](COrderDlg& d) { d.PostKey(IDC_QUANTITY, run.nKey); };
        EXPECT_EQ(run.nExpected, dlg.DoModal()) << run.nKey;
        EXPECT_EQ(nullptr, dlg.m_hWnd);
        EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
        EXPECT_EQ(owner.m_hWnd, GetActiveWindow());
    }
}

TEST_F(TBDialogs, AltLetterAndTabMoveTheFocus)
{
    static int s_nAfterAlt = 0, s_nAfterTab = 0;
    s_nAfterAlt = s_nAfterTab = 0;
    COrderDlg dlg;
    dlg.m_fnInit = [](COrderDlg& d) {
        PostMessageA(GetDlgItem(d.m_hWnd, IDOK), WM_SYSKEYDOWN, 'Q', 1 << 29);
        // The keys are handled one by one; each step looks at the focus the previous one left.
        SetTimer(d.m_hWnd, 1, 1, [](HWND hWnd, UINT, UINT_PTR, DWORD) {
            KillTimer(hWnd, 1);
            s_nAfterAlt = GetDlgCtrlID(GetFocus());
            PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
            SetTimer(hWnd, 2, 1, [](HWND hDlg, UINT, UINT_PTR, DWORD) {
                KillTimer(hDlg, 2);
                s_nAfterTab = GetDlgCtrlID(GetFocus());
                PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
            });
        });
    };
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(IDC_QUANTITY, s_nAfterAlt);
    EXPECT_EQ(IDOK, s_nAfterTab);
}

TEST_F(TBDialogs, OwnerThatWasDisabledStaysDisabled)
{
    COwner owner;
    EnableWindow(owner.m_hWnd, FALSE);
    COrderDlg dlg(&owner);
    dlg.m_fnInit = [](COrderDlg& d) { d.PostKey(IDC_QUANTITY, VK_ESCAPE); };
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_FALSE(IsWindowEnabled(owner.m_hWnd));
}

TEST_F(TBDialogs, FailedCreationLeavesTheOwnerEnabled)
{
    COwner owner;
    CTBDialog missing(999, &owner);
    EXPECT_EQ(-1, missing.DoModal());
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));

    COrderDlg ending(&owner);
    ending.m_fnInit = [](COrderDlg& d) { d.EndDialog(IDOK); };
    EXPECT_FALSE(ending.Create(IDD_ORDER, &owner));
    EXPECT_EQ(nullptr, ending.m_hWnd);
    EXPECT_EQ(-1, ending.DoModal());
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
}

TEST_F(TBDialogs, TextsComeFromTheLanguageSection)
{
    Set("DlgOrder.Lang0", "310", "&Exchange:");
    Set("DlgOrder.Lang0", "312", "@(#(@");
    Set("DlgOrder.Lang0", "1", "Send\\nnow");
    Set("DlgOrder.Lang1", "310", "&Bourse:");
    COrderDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_ORDER, nullptr));
    EXPECT_EQ("New order", dlg.Caption());
    EXPECT_EQ("&Exchange:", dlg.Text(IDC_MARKET_LABEL));
    EXPECT_EQ("&Quantity:", dlg.Text(IDC_QUANTITY_LABEL));      // the entry that means none
    EXPECT_EQ("Send\nnow", dlg.Text(IDOK));
    EXPECT_EQ("Cancel", dlg.Text(IDCANCEL));

    // A switch while it is open labels it again at once; the section is left as it was.
    m_res.Settings().SetSection("Elsewhere");
    GetNorvGlobals().SetLanguage(1);
    EXPECT_EQ("Ordre", dlg.Caption());
    EXPECT_EQ("&Bourse:", dlg.Text(IDC_MARKET_LABEL));
    EXPECT_EQ("Elsewhere", std::string(m_res.Settings().GetSection()));
    GetNorvGlobals().SetLanguage(0);
    EXPECT_EQ("New order", dlg.Caption());
    dlg.DestroyWindow();

    // Closed, it hears no more.
    GetNorvGlobals().SetLanguage(1);
    GetNorvGlobals().SetLanguage(0);
}

TEST_F(TBDialogs, SavedPositionIsAppliedOnlyWhenWhole)
{
    const POINT ptTemplate = OpenedAt(nullptr);
    // Closing wrote where it was.
    char szWritten[32];
    snprintf(szWritten, sizeof(szWritten), "%d,%d", static_cast<int>(ptTemplate.x), static_cast<int>(ptTemplate.y));
    EXPECT_EQ(szWritten, Setting("DlgOrder", "DialogPos"));

    const POINT pt = OpenedAt("120,80");
    EXPECT_EQ(120, pt.x);
    EXPECT_EQ(80, pt.y);
    EXPECT_EQ("120,80", Setting("DlgOrder", "DialogPos"));

    for (const char* pszSaved : {"120,", "-5,80", ",80", "abc", "4000,10", "10,4000"}) {
        const POINT ptOther = OpenedAt(pszSaved);
        EXPECT_EQ(ptTemplate.x, ptOther.x) << pszSaved;
        EXPECT_EQ(ptTemplate.y, ptOther.y) << pszSaved;
    }
    // A dialog that still shows a corner on the screen is put there.
    const int cxScreen = GetSystemMetrics(SM_CXSCREEN);
    char szEdge[32];
    snprintf(szEdge, sizeof(szEdge), "%d,0", cxScreen - 10);
    EXPECT_EQ(cxScreen - 10, OpenedAt(szEdge).x);
}

TEST_F(TBDialogs, InitialisationAnswerNeedsTheCallback)
{
    // The answer decides whether the system focuses the first tab stop.
    static int s_nCalls = 0;
    s_nCalls = 0;
    for (BOOL bCallback : {FALSE, TRUE}) {
        COrderDlg dlg;
        if (bCallback)
            dlg.SetInitCallback([](HWND) -> BOOL { ++s_nCalls; return TRUE; });
        ASSERT_TRUE(dlg.Create(IDD_ORDER, nullptr));
        HWND hFocus = GetFocus();
        if (bCallback)
            EXPECT_EQ(GetDlgItem(dlg.m_hWnd, IDC_MARKET), GetParent(hFocus));
        else
            EXPECT_FALSE(hFocus != nullptr && GetParent(hFocus) == GetDlgItem(dlg.m_hWnd, IDC_MARKET));
        dlg.DestroyWindow();
    }
    EXPECT_EQ(1, s_nCalls);
}
}  // namespace
