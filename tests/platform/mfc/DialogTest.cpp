// CDialog on the dialog manager's test template (name, price, read-only and password edits, a
// radio group of three with the last disabled, a check box, OK and Cancel): modal and modeless
// runs, data exchange both ways with its failures, and reflection to control objects.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/mfc/Controls.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Dialog.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/TestAnswers.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
const int IDC_NAME = 101, IDC_PRICE = 102, IDC_PASSWORD = 104;
const int IDC_BUY = 111, IDC_SELL = 112, IDC_SHORT = 113, IDC_CONFIRM = 121;
const UINT_PTR TIMER_STEP = 7;

// A dialog whose exchange, start and timer steps each test sets.
class CTestDlg : public CDialog
{
public:
    explicit CTestDlg(CWnd* pParent = nullptr, UINT nIDTemplate = 100) : CDialog(nIDTemplate, pParent) {}
    std::function<void(CDataExchange*)> m_fnExchange;
    std::function<void(CTestDlg&, int)> m_fnStep;   // the timer's steps, 0 first
    int m_nParentChanges = 0;
    int m_nSteps = 0;
    BOOL m_bInitFocusDefault = TRUE;
    POINT m_ptInit = {-1, -1};      // where the initialisation moves the dialog; -1: it leaves it

    void PressOk() { PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(m_hWnd, IDOK))); }
    std::string Text(int nID) const
    {
        CString str;
        GetDlgItemText(nID, str);
        return static_cast<LPCSTR>(str);
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        if (m_fnExchange)
            m_fnExchange(pDX);
    }
    BOOL OnInitDialog() override
    {
        m_bInitFocusDefault = CDialog::OnInitDialog();
        if (m_ptInit.x >= 0)
            SetWindowPos(nullptr, m_ptInit.x, m_ptInit.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (m_fnStep)
            SetTimer(TIMER_STEP, 5);
        return m_bInitFocusDefault;
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent)
    {
        if (nIDEvent == TIMER_STEP && m_fnStep)
            m_fnStep(*this, m_nSteps++);
    }
    afx_msg void OnNameChange() { ++m_nParentChanges; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDlg, CDialog)
    ON_WM_TIMER()
    ON_CONTROL(EN_CHANGE, IDC_NAME, OnNameChange)
END_MESSAGE_MAP()

// An edit that follows its own changes; with bPassOn its parent sees them too.
class CCountingEdit : public CEdit
{
public:
    int m_nChanges = 0;
    BOOL m_bPassOn = FALSE;
    HBRUSH m_hbrBack = nullptr;

protected:
    afx_msg void OnChange() { ++m_nChanges; }
    afx_msg BOOL OnChangeEx()
    {
        ++m_nChanges;
        return !m_bPassOn;
    }
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor)
    {
        if (m_hbrBack != nullptr && nCtlColor == CTLCOLOR_EDIT)
            pDC->SetBkColor(RGB(255, 255, 0));
        return m_hbrBack;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCountingEdit, CEdit)
    ON_CONTROL_REFLECT_EX(EN_CHANGE, OnChangeEx)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TbClearTestAnswers();
        TbAddResourcePath(TB_SOURCE_DIR "/tests/platform/data");
        m_hModule = LoadLibraryA("testdlg_1252.dll");
        ASSERT_NE(nullptr, m_hModule);
        m_hOldModule = TbGetResourceModule();
        TbSetResourceModule(m_hModule);
        ASSERT_TRUE(m_owner.CreateEx(0, nullptr, "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300, nullptr,
                                     nullptr));
    }
    void TearDown() override
    {
        m_owner.DestroyWindow();
        Pump();
        TbSetResourceModule(m_hOldModule);
        FreeLibrary(m_hModule);
        EXPECT_EQ(0, TbPendingTestAnswers()) << "a message box that should have come did not";
        TbClearTestAnswers();
    }
    // A modeless dialog's loop, as the application's runs it.
    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!CWnd::WalkPreTranslateTree(nullptr, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
    }
    static void AnswerMessageBox()
    {
        TBTESTANSWER answer;
        answer.nKind = TB_ASK_MESSAGEBOX;
        answer.nValue = IDOK;
        TbQueueTestAnswer(answer);
    }
    // Saves one control's text through an exchange; FALSE when the exchange failed (its message
    // box answered), with the failing control focused.
    BOOL Save(CTestDlg& dlg, int nID, LPCSTR pszText, BOOL bExpectFailure)
    {
        dlg.SetDlgItemText(nID, pszText);
        if (bExpectFailure)
            AnswerMessageBox();
        return dlg.UpdateData(TRUE);
    }

    CWnd m_owner;
    HMODULE m_hModule = nullptr;
    HINSTANCE m_hOldModule = nullptr;
};

TEST_F(CDialogs, ModalRunMovesValuesBothWaysAndEndsWithTimerPostedOk)
{
    CTestDlg dlg(&m_owner);
    CString strName = "KPROJ";
    double dPrice = 1.25;
    int nSide = 1, nConfirm = 1, nQuantity = 40;
    dlg.m_fnExchange = [&](CDataExchange* pDX) {
        DDX_Text(pDX, IDC_NAME, strName);
        DDX_Text(pDX, IDC_PRICE, dPrice);
        DDX_Text(pDX, IDC_PASSWORD, nQuantity);
        DDX_Radio(pDX, IDC_BUY, nSide);
        DDX_Check(pDX, IDC_CONFIRM, nConfirm);
    };
    std::string strShown;
    BOOL bOwnerDisabled = FALSE;
    dlg.m_fnStep = [&](CTestDlg& d, int nStep) {
        if (nStep > 0)
            return;
        strShown = d.Text(IDC_NAME) + "|" + d.Text(IDC_PRICE) + "|" + d.Text(IDC_PASSWORD) + "|" +
                   std::to_string(d.IsDlgButtonChecked(IDC_SELL)) + std::to_string(d.IsDlgButtonChecked(IDC_CONFIRM));
        bOwnerDisabled = !m_owner.IsWindowEnabled();
        d.SetDlgItemText(IDC_NAME, "ZAIN");
        d.SetDlgItemText(IDC_PRICE, " 0.5 ");
        d.SetDlgItemText(IDC_PASSWORD, "-7");
        d.CheckRadioButton(IDC_BUY, IDC_SHORT, IDC_BUY);
        d.CheckDlgButton(IDC_CONFIRM, BST_UNCHECKED);
        d.PressOk();
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ("KPROJ|1.25|40|11", strShown);
    EXPECT_TRUE(bOwnerDisabled);
    EXPECT_TRUE(m_owner.IsWindowEnabled());
    EXPECT_EQ(nullptr, dlg.GetSafeHwnd());
    EXPECT_STREQ("ZAIN", strName);
    EXPECT_DOUBLE_EQ(0.5, dPrice);
    EXPECT_EQ(-7, nQuantity);
    EXPECT_EQ(0, nSide);
    EXPECT_EQ(0, nConfirm);
}

// A dialog whose initialisation leaves it where its template puts it opens over the middle of
// its owner; one the initialisation moves stays where it was moved.
TEST_F(CDialogs, ModalDialogOpensCentredOnItsOwnerUnlessItsInitialisationMovesIt)
{
    m_owner.SetWindowPos(nullptr, 300, 200, 500, 360, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT rcOwner;
    m_owner.GetWindowRect(&rcOwner);
    for (POINT ptInit : {POINT{-1, -1}, POINT{40, 30}}) {
        CTestDlg dlg(&m_owner);
        dlg.m_ptInit = ptInit;
        RECT rc = {};
        dlg.m_fnStep = [&rc](CTestDlg& d, int) {
            d.GetWindowRect(&rc);
            d.EndDialog(IDOK);
        };
        ASSERT_EQ(IDOK, dlg.DoModal());
        if (ptInit.x < 0) {
            EXPECT_EQ(rcOwner.left + (rcOwner.right - rcOwner.left - (rc.right - rc.left)) / 2, rc.left);
            EXPECT_EQ(rcOwner.top + (rcOwner.bottom - rcOwner.top - (rc.bottom - rc.top)) / 2, rc.top);
        } else {
            EXPECT_EQ(ptInit.x, rc.left);
            EXPECT_EQ(ptInit.y, rc.top);
        }
    }
}

TEST_F(CDialogs, ModalRunEndsWithEndDialogValueCancelOrMinusOneWithoutTemplate)
{
    CTestDlg dlg(&m_owner);
    dlg.m_fnStep = [](CTestDlg& d, int) { d.EndDialog(42); };
    EXPECT_EQ(42, dlg.DoModal());

    CTestDlg cancelled(&m_owner);
    cancelled.m_fnStep = [](CTestDlg& d, int) { d.PostMessage(WM_COMMAND, IDCANCEL, 0); };
    EXPECT_EQ(IDCANCEL, cancelled.DoModal());

    CTestDlg missing(&m_owner, 999);
    EXPECT_EQ(-1, missing.DoModal());
    EXPECT_FALSE(missing.Create(999u, &m_owner));
    EXPECT_TRUE(m_owner.IsWindowEnabled());
}

TEST_F(CDialogs, FailedExchangeKeepsModalDialogOpenWithTheControlFocused)
{
    CTestDlg dlg(&m_owner);
    int nQuantity = 5;
    dlg.m_fnExchange = [&](CDataExchange* pDX) {
        DDX_Text(pDX, IDC_PASSWORD, nQuantity);
        DDV_MinMaxInt(pDX, nQuantity, 1, 999);
    };
    std::string strAfterFailure;
    dlg.m_fnStep = [&](CTestDlg& d, int nStep) {
        if (nStep == 0) {
            d.SetDlgItemText(IDC_PASSWORD, "12x");
            AnswerMessageBox();
            d.PressOk();
        } else if (nStep == 1) {
            DWORD dwStart = 9, dwEnd = 9;
            ::SendMessageA(::GetFocus(), EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
            strAfterFailure = std::to_string(::GetDlgCtrlID(::GetFocus())) + " " + std::to_string(dwStart) + "-" +
                              std::to_string(dwEnd) + " pending " + std::to_string(TbPendingTestAnswers());
            d.SetDlgItemText(IDC_PASSWORD, "1000");
            AnswerMessageBox();
            d.PressOk();
        } else if (nStep == 2) {
            d.SetDlgItemText(IDC_PASSWORD, "999");
            d.PressOk();
        }
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ("104 0-3 pending 0", strAfterFailure);
    EXPECT_EQ(999, nQuantity);
    EXPECT_GE(dlg.m_nSteps, 3);
}

TEST_F(CDialogs, TextExchangeReadsEveryNumberTypeWholeOrFails)
{
    CTestDlg dlg(&m_owner);
    ASSERT_TRUE(dlg.Create(100u, &m_owner));
    int nInt = 0;
    long lLong = 0;
    UINT uUint = 0;
    double dDouble = 0;
    float fFloat = 0;
    int nKind = 0;
    dlg.m_fnExchange = [&](CDataExchange* pDX) {
        switch (nKind) {
        case 0: DDX_Text(pDX, IDC_NAME, nInt); break;
        case 1: DDX_Text(pDX, IDC_NAME, lLong); break;
        case 2: DDX_Text(pDX, IDC_NAME, uUint); break;
        case 3: DDX_Text(pDX, IDC_NAME, dDouble); break;
        case 4: DDX_Text(pDX, IDC_NAME, fFloat); break;
        }
    };
    static const struct {
        int nKind;
        const char* pszText;
        BOOL bOk;
        double dValue;
    } cases[] = {
        {0, " 42\t", TRUE, 42}, {0, "-2147483648", TRUE, -2147483648.0}, {0, "2147483647", TRUE, 2147483647},
        {0, "2147483648", FALSE, 0}, {0, "", FALSE, 0}, {0, "4 2", FALSE, 0}, {0, "1.5", FALSE, 0},
        {0, "+8", TRUE, 8},
        {1, "-123456", TRUE, -123456}, {1, "12e3", FALSE, 0},
        {2, "4294967295", TRUE, 4294967295.0}, {2, "-1", FALSE, 0}, {2, "4294967296", FALSE, 0}, {2, "abc", FALSE, 0},
        {3, " 1.5e3 ", TRUE, 1500}, {3, "-0.25", TRUE, -0.25}, {3, "1,5", FALSE, 0}, {3, "", FALSE, 0},
        {3, "inf", FALSE, 0}, {3, "1e400", FALSE, 0},
        {4, "0.125", TRUE, 0.125}, {4, "1e39", FALSE, 0},
    };
    for (const auto& c : cases) {
        nKind = c.nKind;
        nInt = 0, lLong = 0, uUint = 0, dDouble = 0, fFloat = 0;
        ::SetFocus(dlg.GetDlgItem(IDOK)->GetSafeHwnd());
        const BOOL bOk = Save(dlg, IDC_NAME, c.pszText, !c.bOk);
        EXPECT_EQ(c.bOk, bOk) << "kind " << c.nKind << " text '" << c.pszText << "'";
        EXPECT_EQ(0, TbPendingTestAnswers()) << "kind " << c.nKind << " text '" << c.pszText << "'";
        const double dGot = nInt + static_cast<double>(lLong) + uUint + dDouble + fFloat;
        EXPECT_DOUBLE_EQ(c.dValue, dGot) << "kind " << c.nKind << " text '" << c.pszText << "'";
        if (!c.bOk) {
            EXPECT_EQ(IDC_NAME, ::GetDlgCtrlID(::GetFocus())) << "the failing control takes the focus";
        }
    }
    // Loading writes the library's forms: 15 significant digits for a double, 6 for a float.
    nKind = 3;
    dDouble = 0.1;
    EXPECT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ("0.1", dlg.Text(IDC_NAME));
    dDouble = 1e20;
    dlg.UpdateData(FALSE);
    EXPECT_EQ("1e+20", dlg.Text(IDC_NAME));
    nKind = 4;
    fFloat = 3.14159265f;
    dlg.UpdateData(FALSE);
    EXPECT_EQ("3.14159", dlg.Text(IDC_NAME));
    nKind = 2;
    uUint = 4000000000u;
    dlg.UpdateData(FALSE);
    EXPECT_EQ("4000000000", dlg.Text(IDC_NAME));
    dlg.DestroyWindow();
}

TEST_F(CDialogs, RangeChecksAcceptTheirBoundsAndRefuseOneBeyond)
{
    CTestDlg dlg(&m_owner);
    ASSERT_TRUE(dlg.Create(100u, &m_owner));
    int nInt = 0;
    long lLong = 0;
    UINT uUint = 0;
    double dDouble = 0;
    CString strName;
    int nKind = 0;
    dlg.m_fnExchange = [&](CDataExchange* pDX) {
        switch (nKind) {
        case 0: DDX_Text(pDX, IDC_PRICE, nInt); DDV_MinMaxInt(pDX, nInt, -5, 10); break;
        case 1: DDX_Text(pDX, IDC_PRICE, lLong); DDV_MinMaxLong(pDX, lLong, 100, 200000); break;
        case 2: DDX_Text(pDX, IDC_PRICE, uUint); DDV_MinMaxUInt(pDX, uUint, 1, 3000); break;
        case 3: DDX_Text(pDX, IDC_PRICE, dDouble); DDV_MinMaxDouble(pDX, dDouble, 0.001, 99.5); break;
        case 4: DDX_Text(pDX, IDC_PRICE, strName); DDV_MaxChars(pDX, strName, 6); break;
        }
    };
    static const struct {
        int nKind;
        const char* pszText;
        BOOL bOk;
    } cases[] = {
        {0, "-5", TRUE}, {0, "10", TRUE}, {0, "-6", FALSE}, {0, "11", FALSE},
        {1, "100", TRUE}, {1, "200000", TRUE}, {1, "99", FALSE}, {1, "200001", FALSE},
        {2, "1", TRUE}, {2, "3000", TRUE}, {2, "0", FALSE}, {2, "3001", FALSE},
        {3, "0.001", TRUE}, {3, "99.5", TRUE}, {3, "0.0009", FALSE}, {3, "99.50001", FALSE},
        {4, "KPROJ1", TRUE}, {4, "", TRUE}, {4, "KPROJ12", FALSE},
    };
    for (const auto& c : cases) {
        nKind = c.nKind;
        EXPECT_EQ(c.bOk, Save(dlg, IDC_PRICE, c.pszText, !c.bOk)) << "kind " << c.nKind << " text " << c.pszText;
        EXPECT_EQ(0, TbPendingTestAnswers()) << "kind " << c.nKind << " text " << c.pszText;
    }
    // Loading never fails a range; the length limit becomes the edit's limit.
    nKind = 0;
    nInt = 50;
    EXPECT_TRUE(dlg.UpdateData(FALSE));
    nKind = 4;
    strName = "AB";
    EXPECT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(6, dlg.SendDlgItemMessage(IDC_PRICE, EM_GETLIMITTEXT));
    dlg.DestroyWindow();
}

TEST_F(CDialogs, FailureStopsTheRestOfTheExchange)
{
    CTestDlg dlg(&m_owner);
    ASSERT_TRUE(dlg.Create(100u, &m_owner));
    int nFirst = 1, nSecond = 2;
    dlg.m_fnExchange = [&](CDataExchange* pDX) {
        DDX_Text(pDX, IDC_NAME, nFirst);
        DDV_MinMaxInt(pDX, nFirst, 0, 10);      // one message box only, for the text
        DDX_Text(pDX, IDC_PRICE, nSecond);
    };
    dlg.SetDlgItemText(IDC_PRICE, "77");
    EXPECT_FALSE(Save(dlg, IDC_NAME, "x", TRUE));
    EXPECT_EQ(1, nFirst);
    EXPECT_EQ(2, nSecond);
    EXPECT_EQ(IDC_NAME, ::GetDlgCtrlID(::GetFocus()));
    dlg.DestroyWindow();
}

TEST_F(CDialogs, RadioGroupFromItsFirstButton)
{
    CTestDlg dlg(&m_owner);
    ASSERT_TRUE(dlg.Create(100u, &m_owner));
    int nSide = 2;
    dlg.m_fnExchange = [&](CDataExchange* pDX) { DDX_Radio(pDX, IDC_BUY, nSide); };
    EXPECT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(0u, dlg.IsDlgButtonChecked(IDC_BUY));
    EXPECT_EQ(0u, dlg.IsDlgButtonChecked(IDC_SELL));
    EXPECT_EQ(1u, dlg.IsDlgButtonChecked(IDC_SHORT)) << "a disabled button still counts";
    dlg.CheckRadioButton(IDC_BUY, IDC_SHORT, IDC_SELL);
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(1, nSide);
    dlg.CheckDlgButton(IDC_SELL, BST_UNCHECKED);
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(-1, nSide) << "none checked";
    EXPECT_EQ(0u, dlg.IsDlgButtonChecked(IDC_CONFIRM)) << "the next group is not touched";
    dlg.DestroyWindow();
}

// Deletes itself when its window goes, as a modeless dialog made with new does.
class CSelfDeletingDlg : public CTestDlg
{
public:
    explicit CSelfDeletingDlg(BOOL* pbDeleted) : m_pbDeleted(pbDeleted) {}
    ~CSelfDeletingDlg() override { *m_pbDeleted = TRUE; }

protected:
    void PostNcDestroy() override { delete this; }

private:
    BOOL* m_pbDeleted;
};

TEST_F(CDialogs, ModelessDialogTakesTabThroughPreTranslateAndDeletesItselfOnlyWhenAsked)
{
    BOOL bDeleted = FALSE;
    auto* pDlg = new CSelfDeletingDlg(&bDeleted);
    CString strName = "NBK";
    pDlg->m_fnExchange = [&](CDataExchange* pDX) { DDX_Text(pDX, IDC_NAME, strName); };
    ASSERT_TRUE(pDlg->Create(100u, &m_owner));
    pDlg->ShowWindow(SW_SHOW);
    Pump();
    EXPECT_TRUE(pDlg->m_bInitFocusDefault);
    EXPECT_EQ("NBK", pDlg->Text(IDC_NAME));
    EXPECT_EQ(IDC_NAME, ::GetDlgCtrlID(::GetFocus()));
    // Tab reaches the dialog manager through the modeless dialog's PreTranslateMessage.
    ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_TAB, 1);
    Pump();
    EXPECT_EQ(IDC_PRICE, ::GetDlgCtrlID(::GetFocus()));
    pDlg->NextDlgCtrl();
    EXPECT_EQ(103, ::GetDlgCtrlID(::GetFocus())) << "the read-only edit keeps its tab stop";
    pDlg->PrevDlgCtrl();
    EXPECT_EQ(IDC_PRICE, ::GetDlgCtrlID(::GetFocus()));
    pDlg->GotoDlgCtrl(pDlg->GetDlgItem(IDC_NAME));
    EXPECT_EQ(IDC_NAME, ::GetDlgCtrlID(::GetFocus()));
    EXPECT_EQ(MAKELONG(IDOK, DC_HASDEFID), static_cast<LONG>(pDlg->GetDefID()));
    pDlg->SetDefID(IDCANCEL);
    EXPECT_EQ(IDCANCEL, LOWORD(pDlg->GetDefID()));
    CRect rc(0, 0, 4, 8);
    pDlg->MapDialogRect(&rc);
    EXPECT_GT(rc.Width(), 0);
    EXPECT_GT(rc.Height(), 0);
    EXPECT_FALSE(bDeleted);
    pDlg->DestroyWindow();
    EXPECT_TRUE(bDeleted);
}

TEST_F(CDialogs, ModelessCreateWithoutSelfDeletionLeavesTheObjectToItsOwner)
{
    CTestDlg dlg;
    ASSERT_TRUE(dlg.Create(MAKEINTRESOURCEA(100)));
    HWND hDlg = dlg.GetSafeHwnd();
    EXPECT_EQ(&dlg, CWnd::FromHandlePermanent(hDlg));
    dlg.DestroyWindow();
    EXPECT_EQ(nullptr, dlg.GetSafeHwnd());
    EXPECT_FALSE(::IsWindow(hDlg));
}

TEST_F(CDialogs, ReflectedChangeStaysWithTheEditUnlessItPassesItOn)
{
    CTestDlg dlg(&m_owner);
    CCountingEdit edit;
    dlg.m_fnExchange = [&](CDataExchange* pDX) { DDX_Control(pDX, IDC_NAME, edit); };
    ASSERT_TRUE(dlg.Create(100u, &m_owner));
    ASSERT_EQ(edit.GetSafeHwnd(), ::GetDlgItem(dlg.GetSafeHwnd(), IDC_NAME));
    EXPECT_EQ(0, edit.m_nChanges) << "subclassed during the fill";
    edit.SetWindowText("ABC");
    EXPECT_EQ(1, edit.m_nChanges);
    EXPECT_EQ(0, dlg.m_nParentChanges);
    edit.m_bPassOn = TRUE;
    edit.SetWindowText("ABCD");
    EXPECT_EQ(2, edit.m_nChanges);
    EXPECT_EQ(1, dlg.m_nParentChanges);
    // What UpdateData writes is not a change the person made: neither side hears of it.
    CString strName = "XYZ";
    dlg.m_fnExchange = [&](CDataExchange* pDX) {
        DDX_Control(pDX, IDC_NAME, edit);
        DDX_Text(pDX, IDC_NAME, strName);
    };
    EXPECT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ("XYZ", dlg.Text(IDC_NAME));
    EXPECT_EQ(2, edit.m_nChanges);
    EXPECT_EQ(1, dlg.m_nParentChanges);
    dlg.DestroyWindow();
}

TEST_F(CDialogs, EditColoursItselfThroughReflectedCtlColor)
{
    CTestDlg dlg(&m_owner);
    CCountingEdit edit;
    dlg.m_fnExchange = [&](CDataExchange* pDX) { DDX_Control(pDX, IDC_NAME, edit); };
    ASSERT_TRUE(dlg.Create(100u, &m_owner));
    HBRUSH hbr = CreateSolidBrush(RGB(255, 255, 0));
    edit.m_hbrBack = hbr;
    HDC hdc = ::GetDC(edit.GetSafeHwnd());
    EXPECT_EQ(reinterpret_cast<LRESULT>(hbr), ::SendMessageA(dlg.GetSafeHwnd(), WM_CTLCOLOREDIT,
                                                             reinterpret_cast<WPARAM>(hdc),
                                                             reinterpret_cast<LPARAM>(edit.GetSafeHwnd())));
    EXPECT_EQ(RGB(255, 255, 0), GetBkColor(hdc));
    HWND hPrice = ::GetDlgItem(dlg.GetSafeHwnd(), IDC_PRICE);
    EXPECT_NE(reinterpret_cast<LRESULT>(hbr), ::SendMessageA(dlg.GetSafeHwnd(), WM_CTLCOLOREDIT,
                                                             reinterpret_cast<WPARAM>(hdc),
                                                             reinterpret_cast<LPARAM>(hPrice)))
        << "an edit without its own colours gets the dialog's";
    // A null brush leaves the colours to the parent.
    edit.m_hbrBack = nullptr;
    EXPECT_NE(0, ::SendMessageA(dlg.GetSafeHwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdc),
                                reinterpret_cast<LPARAM>(edit.GetSafeHwnd())));
    ::ReleaseDC(edit.GetSafeHwnd(), hdc);
    dlg.DestroyWindow();
    DeleteObject(hbr);
}

TEST_F(CDialogs, ButtonAndEditWrappersReachTheirControls)
{
    CTestDlg dlg(&m_owner);
    CButton confirm;
    CEdit name;
    dlg.m_fnExchange = [&](CDataExchange* pDX) {
        DDX_Control(pDX, IDC_CONFIRM, confirm);
        DDX_Control(pDX, IDC_NAME, name);
    };
    ASSERT_TRUE(dlg.Create(100u, &m_owner));
    confirm.SetCheck(BST_CHECKED);
    EXPECT_EQ(BST_CHECKED, confirm.GetCheck());
    EXPECT_EQ(1u, dlg.IsDlgButtonChecked(IDC_CONFIRM));
    confirm.SetState(TRUE);
    EXPECT_TRUE(confirm.GetState() & BST_PUSHED);

    name.SetWindowText("KUWAIT");
    name.SetSel(1, 3);
    int nStart = 0, nEnd = 0;
    name.GetSel(nStart, nEnd);
    EXPECT_EQ(1, nStart);
    EXPECT_EQ(3, nEnd);
    name.ReplaceSel("--", TRUE);
    EXPECT_EQ("K--AIT", dlg.Text(IDC_NAME));
    EXPECT_TRUE(name.CanUndo());
    name.Undo();
    EXPECT_EQ("KUWAIT", dlg.Text(IDC_NAME));
    name.SetLimitText(4);
    EXPECT_EQ(4u, name.GetLimitText());
    char szLine[8] = {};
    EXPECT_EQ(3, name.GetLine(0, szLine, 3));
    EXPECT_STREQ("KUW", szLine);
    EXPECT_EQ(6, name.LineLength());
    name.SetReadOnly(TRUE);
    EXPECT_TRUE(name.GetStyle() & ES_READONLY);
    dlg.SetDlgItemInt(IDC_PRICE, static_cast<UINT>(-12));
    BOOL bTranslated = FALSE;
    EXPECT_EQ(-12, static_cast<int>(dlg.GetDlgItemInt(IDC_PRICE, &bTranslated)));
    EXPECT_TRUE(bTranslated);
    dlg.DestroyWindow();
}

TEST_F(CDialogs, ArabicTemplateExchangesTheSameFields)
{
    HMODULE hArabic = LoadLibraryA("testdlg_1256.dll");
    ASSERT_NE(nullptr, hArabic);
    TbSetResourceModule(hArabic);
    CTestDlg dlg(&m_owner);
    int nSide = 0;
    CString strName = "\xC7\xE1\xD3\xE6\xE3";   // Arabic letters in code page 1256
    dlg.m_fnExchange = [&](CDataExchange* pDX) {
        DDX_Text(pDX, IDC_NAME, strName);
        DDX_Radio(pDX, IDC_BUY, nSide);
    };
    std::string strShown;
    dlg.m_fnStep = [&](CTestDlg& d, int nStep) {
        if (nStep > 0)
            return;
        strShown = d.Text(IDC_NAME);
        CRect rcBuy, rcName;
        ::GetWindowRect(::GetDlgItem(d.GetSafeHwnd(), IDC_BUY), &rcBuy);
        ::GetWindowRect(::GetDlgItem(d.GetSafeHwnd(), IDC_NAME), &rcName);
        if (rcBuy.left > rcName.left)
            strShown += " not mirrored";
        d.CheckRadioButton(IDC_BUY, IDC_SHORT, IDC_SELL);
        d.PressOk();
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ("\xC7\xE1\xD3\xE6\xE3", strShown);
    EXPECT_EQ(1, nSide);
    TbSetResourceModule(m_hModule);
    FreeLibrary(hArabic);
}
}  // namespace
