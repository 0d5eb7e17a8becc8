// The order reviews as the trader sees them against the test server: each reply layout's fields
// in their controls, the US figures shown or hidden by the user's margin value and the side, the
// trading password's rule, the passwords kept per review class and forgotten at log-off, and the
// alert sound's choice. Screenshots in English and Arabic.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/common/DialogSteps.h"
#include "app/ZorvatApp.h"
#include "framework/base/NorvGlobals.h"
#include "link/ServerMessage.h"
#include "market/StockListKSETable.h"
#include "market/TableLinks.h"
#include "orders/AlertSoundDlg.h"
#include "orders/OrderForms.h"
#include "orders/ReviewForwardContractDlg.h"
#include "orders/ReviewOrderDlg.h"
#include "orders/ReviewOrderForwardDlg.h"
#include "orders/ReviewOrderKSEDlg.h"
#include "orders/ReviewOrderOddLotKSEDlg.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/TestAnswers.h"
#include "platform/win/user/VirtualKeys.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/TerminalRun.h"
#include "tests/link/LinkSessionSupport.h"
#include "tests/orders/OrderTestSupport.h"


namespace {

int Occurrences(const std::string& strText, const char* pszPart)
{
    int n = 0;
    for (size_t nAt = strText.find(pszPart); nAt != std::string::npos; nAt = strText.find(pszPart, nAt + 1))
        ++n;
    return n;
}

// A reply line of the server: fields given by index, the others empty.
CServerMessage Reply(const char* pszType, int nFields, std::vector<std::pair<int, const char*>> fields)
{
    std::vector<std::string> values(nFields);
    for (const auto& [nField, pszValue] : fields)
        values[nField] = pszValue;
    std::string strLine = std::string("&") + pszType + "|1|XC|";
    for (const std::string& strValue : values)
        strLine += "|" + strValue;
    return CServerMessage(strLine.c_str(), 1);
}

struct ReviewSession : ::testing::Test
{
    CTestServer server;
    std::unique_ptr<CTerminalRun> pRun;
    const CTBString strDatePattern = GetNorvGlobals().m_strDatePattern;
    const CTBString strTimePattern = GetNorvGlobals().m_strTimePattern;

    ::testing::AssertionResult Start(const char* pszUser, bool bArabic = false)
    {
        if (!server.Start())
            return ::testing::AssertionFailure() << "the test server did not start";
        pRun = std::make_unique<CTerminalRun>(bArabic);
        pRun->m_onMakersRegistered = [] { RegisterOrderForms(); };
        ::testing::AssertionResult result = pRun->StartLoggedIn(server.Port(), pszUser, pszUser == std::string("trader") ? "secret" : pszUser);
        if (!result)
            return result;
        if (!PumpUntil([] { return GetStockSymbolFrom(IDS_TABLE_STOCK_LIST_KSE, 101, FALSE) == "GHB"; }))
            return ::testing::AssertionFailure() << "the stock list never came";
        return ::testing::AssertionSuccess();
    }
    void Stop()
    {
        ClearDialogSteps();
        pRun.reset();
        server.Stop();
        GetNorvGlobals().m_strDatePattern = strDatePattern;
        GetNorvGlobals().m_strTimePattern = strTimePattern;
    }
    void TearDown() override
    {
        EXPECT_TRUE(FinishedSteps()) << "a dialog step never ran";
        Stop();
    }
};

// One review on screen: how it is made, and what some of its controls show.
struct LAYOUT_CASE
{
    const char* pszName;
    std::function<INT_PTR(std::function<void(HWND)>)> run;     // runs the dialog with the step
    std::vector<std::pair<int, const char*>> shown;
    int nClose;                         // the button that ends it, and the result
};

const CString s_strGivenName = "Given name";
const CString s_strDescription = "Acme Widgets Inc";

std::vector<LAYOUT_CASE> LayoutCases()
{
    std::vector<LAYOUT_CASE> cases;
    auto add = [&](const char* pszName, auto make, std::vector<std::pair<int, const char*>> shown,
                   int nClose = IDCANCEL) {
        cases.push_back({pszName, [make](std::function<void(HWND)> step) {
            auto pDlg = make();
            RunDialogSteps({{IDC_REVIEW_PASSWORD, step}});
            return pDlg->DoModal();
        }, std::move(shown), nClose});
    };
    // A purchase checked with "KV": the buying figure with three decimals, prices as booked, at
    // least in the board's one decimal.
    add("kse_new", [] {
        auto p = std::make_unique<CReviewOrderKSEDlg>(
            Reply("KV", 26, {{5, "1"}, {6, "101"}, {7, "1000"}, {8, "1"}, {9, "850.5"}, {10, "0"}, {11, "1"},
                              {13, "261231"}, {14, "5000"}, {15, "7700"}, {16, "842"}, {17, "842.5"}, {22, "1234.5"},
                              {25, "1.5"}}),
            nullptr, 0, FALSE);
        p->SetTitleId(IDS_REVIEW_TITLE_NEW);
        return p;
    }, {{5742, "GHB / 101"}, {5754, "Gulf Harbour Bank"}, {5747, "Buy"}, {5758, "31/12/2026"}, {5744, "1,000"},
        {5749, "842.0"}, {5752, "850.5"}, {5753, ""}, {5745, "842.500"}, {5746, "1,234.500"}, {5751, "5,000.000"},
        {6550, "1.500"}, {IDOK, "Place Order"}, {0, "Review New Order"}});
    // A sale's modification check ("KJ"): the holding from field 30 (a whole number of shares), no
    // fee, a name given, and no date without the good-till duration.
    add("kse_modify_check", [] {
        return std::make_unique<CReviewOrderKSEDlg>(
            Reply("KJ", 31, {{7, "2"}, {8, "102"}, {13, "250"}, {15, "614"}, {16, "9.25"}, {21, "7"}, {23, "0"},
                              {24, "600.0"}, {25, "0"}, {27, "261231"}, {28, "99"}, {30, "3000"}}),
            &s_strGivenName, 2, TRUE);
    }, {{5742, "NCB / 102"}, {5754, "Given name"}, {5747, "Sell"}, {5758, ""}, {5744, "250"}, {5749, "614.0"},
        {5752, ""}, {5753, "600.0"}, {5745, "9.250"}, {5746, "7.000"}, {5751, "3,000"}, {6550, "0.000"},
        {IDOK, "Modify Order"}});
    // The modify forms' layout, titled by the form.
    add("kse_modify_form", [] {
        auto p = std::make_unique<CReviewOrderKSEDlg>(
            Reply("KW", 26, {{4, "1"}, {5, "103"}, {6, "40"}, {8, "390"}, {14, "1.5"}, {16, "388"}, {25, "2"}}),
            nullptr, 1, FALSE);
        p->SetTitleId(IDS_REVIEW_TITLE_MODIFY_FORM);
        return p;
    }, {{5742, "DRB / 103"}, {5754, "Dunes Real Bank"}, {5744, "40"}, {5752, "390.0"}, {5749, "388.0"},
        {5751, "1.500"}, {6550, "2.000"}, {IDOK, "Confirm Cancellation"}, {0, "Review Order Change or Cancellation"}});
    // Prices of four figures read grouped, as the ticket shows them.
    add("kse_thousands", [] {
        return std::make_unique<CReviewOrderKSEDlg>(
            Reply("KV", 26, {{5, "1"}, {6, "101"}, {7, "1150"}, {8, "1"}, {9, "1150"}, {10, "0"}, {11, "0"},
                              {16, "1000"}, {17, "1150000"}}),
            nullptr, 0, FALSE);
    }, {{5744, "1,150"}, {5749, "1,000.0"}, {5752, "1,150.0"}, {5745, "1,150,000.000"}});
    // The odd lot shows a limit of 0.
    add("kse_odd_lot", [] {
        return std::make_unique<CReviewOrderOddLotKSEDlg>(
            Reply("KV", 26, {{5, "2"}, {6, "101"}, {7, "35"}, {9, "0"}, {15, "35"}, {16, "842"}}), nullptr);
    }, {{5742, "GHB / 101"}, {5744, "35"}, {5752, "0.0"}, {5751, "35"}, {5747, "Sell"}});
    // A US check: four-decimal prices, the two last figures from fields 29 and 30; the cash
    // rounded half away from zero as the server wrote it.
    add("us_new", [] {
        return std::make_unique<CReviewOrderDlg>(
            Reply("OV", 31, {{2, "1"}, {3, "ACME"}, {4, "2000"}, {6, "12.5"}, {8, "1"}, {10, "261231"}, {14, "1995169.855"},
                              {15, "1200"}, {16, "12.5"}, {17, "2500"}, {22, "0.307"}, {28, "9"}, {29, "1500"},
                              {30, "2500.5"}}),
            &s_strDescription, 0);
    }, {{5742, "ACME"}, {5754, "Acme Widgets Inc"}, {5747, "Buy"}, {5758, "31/12/2026"}, {5744, "2,000"},
        {5749, "12.5000"}, {5752, "12.5000"}, {5753, ""}, {5745, "2,500.00"}, {6644, "1,995,169.86"}, {6723, "1,200"},
        {6550, "0.307"}, {6581, "1,500"}, {6582, "2,500.50"}, {IDOK, "Place Order"}});
    // A cancellation's message ends before field 14: it has none of the server's figures.
    add("us_cancel", [] {
        return std::make_unique<CReviewOrderDlg>(
            Reply("OW", 14, {{2, "2"}, {3, "ACME"}, {4, "200"}, {8, "0"}, {10, "261231"}}), &s_strDescription, 1);
    }, {{5747, "Sell"}, {5758, ""}, {6644, ""}, {6581, ""}, {6723, ""}, {IDOK, "Confirm Cancellation"},
        {0, "Review Order Change or Cancellation"}});
    // A forward sale: the charges of fields 13 and 14 come off the contract's price; the price
    // asked reads with its maker's three decimals; the maker is named by its number, as the
    // ticket lists it, and the maturity reads as a date.
    add("forward", [] {
        return std::make_unique<CReviewOrderForwardDlg>(
            Reply("KU", 25, {{4, "2"}, {5, "102"}, {6, "500"}, {7, "7"}, {10, "480"}, {13, "5"}, {14, "2"},
                              {17, "1000"}, {20, "3"}, {22, "270106"}, {23, "849.585"}, {24, "900"}}),
            nullptr);
    }, {{5742, "NCB / 102"}, {5759, "7"}, {5760, "06/01/2027"}, {1706, "Forward sale"}, {5745, "893.000"}, {5746, "993.000"},
        {5749, "849.585"}, {5751, "480"}, {6550, "3.000"}});
    // The contract's second button ends it without asking for the password.
    add("forward_contract", [] {
        return std::make_unique<CReviewForwardContractDlg>("Renew contract 77 on 31/12/2026");
    }, {{5814, "Renew contract 77 on 31/12/2026"}}, IDC_REVIEW_CONTRACT_OTHER);
    return cases;
}

TEST_F(ReviewSession, EachLayoutShowsItsReplyFieldsAsTheTraderReadsThem)
{
    for (const bool bArabic : {false, true}) {
        ASSERT_TRUE(Start("trader", bArabic));
        for (const LAYOUT_CASE& c : LayoutCases()) {
            SCOPED_TRACE(c.pszName);
            const LAYOUT_CASE* p = &c;
            const INT_PTR nResult = c.run([p, bArabic](HWND h) {
                EXPECT_TRUE(SaveDialogScreenshot(h, std::string("orders_review_") + p->pszName + (bArabic ? "_1256" : "_1252")));
                if (bArabic && p->shown.size() > 1 && p->shown[1].first == 5754 && p->shown[1].second == std::string("Gulf Harbour Bank")) {
                    // The stock's name in the user's language, as the symbol beside it.
                    const auto* pList = dynamic_cast<CStockListKSETable*>(FindDataTable(IDS_TABLE_STOCK_LIST_KSE));
                    ASSERT_NE(nullptr, pList);
                    EXPECT_EQ(std::string(pList->GetStockName(101, TRUE)), ControlText(h, 5754));
                    EXPECT_NE("Gulf Harbour Bank", ControlText(h, 5754));
                }
                for (const auto& [nId, pszText] : p->shown) {
                    if (bArabic)
                        break;                      // the texts are the English ones
                    char sz[256] = "";
                    if (nId == 0)
                        GetWindowTextA(h, sz, sizeof sz);
                    EXPECT_EQ(pszText, nId == 0 ? std::string(sz) : ControlText(h, nId)) << "control " << nId;
                }
                ClickControl(h, p->nClose);
            });
            EXPECT_EQ(c.nClose, nResult);
        }
        Stop();
    }
}

// Which of the US review's side-dependent controls show, for users without and with a margin
// value (login field 18), by side code; "-" hidden, "+" shown, in the order of s_usControls.
const int s_usControls[] = {1705, 6723, 1706, 6641, 6640, 6582, 6638, 6581, 6635, 6644, 6642, 6643, 6636, 6550, 6637, 6639};
const struct { const char* pszUser; const char* pszSide; const char* pszShown; } s_usRules[] = {
    {"trader", "1", "++++++--++++++++"},
    {"trader", "2", "++++++----------"},
    {"trader", "27", "++++++--++++++++"},       // another side: the eight stay as the template has them
    {"margin", "1", "++--++++++------"},
    {"margin", "27", "++--++++++------"},
    {"margin", "2", "++--------------"},
    {"margin", "28", "++--------------"},
    {"margin", "5", "++--++++++------"},
};

TEST_F(ReviewSession, UsFiguresShowByTheUsersMarginValueAndTheSide)
{
    for (const char* pszUser : {"trader", "margin"}) {
        ASSERT_TRUE(Start(pszUser));
        for (const auto& rule : s_usRules) {
            if (rule.pszUser != std::string(pszUser))
                continue;
            SCOPED_TRACE(std::string(pszUser) + " side " + rule.pszSide);
            CReviewOrderDlg dlg(Reply("OV", 31, {{2, rule.pszSide}, {3, "ACME"}}), nullptr, 0);
            std::string strShown;
            RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND h) {
                for (int nId : s_usControls)
                    strShown += ControlVisible(h, nId) ? '+' : '-';
                PressKey(VK_ESCAPE);
            }}});
            EXPECT_EQ(IDCANCEL, dlg.DoModal());
            EXPECT_EQ(rule.pszShown, strShown);
        }
        Stop();
    }
}

// The option series and the market read whole in the US review, in either language, whichever
// right the series has.
TEST_F(ReviewSession, TheUsReviewShowsTheSeriesAndMarketWhole)
{
    for (const bool bArabic : {false, true}) {
        ASSERT_TRUE(Start("trader", bArabic));
        for (int nRight = 0; nRight <= 2; ++nRight) {
            const std::string strSeries = "ALPN " + std::string(COptionRight::GetText(nRight)) + " 145.00 18/12/2026";
            const std::string strMarket(GetGlobals()->GetMarketName(16));
            CReviewOrderDlg dlg(Reply("OV", 31, {{2, "1"}, {3, "ALPNXI"}}), nullptr, 0);
            dlg.SetOptionSeries(strSeries.c_str());
            dlg.SetMarket(strMarket.c_str());
            RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND h) {
                for (const auto& [nId, strText] : {std::pair{IDC_REVIEW_OPTION_SERIES, strSeries}, std::pair{IDC_REVIEW_MARKET, strMarket}}) {
                    const HWND hField = GetDlgItem(h, nId);
                    EXPECT_EQ(strText, ControlText(h, nId));
                    HDC hdc = GetDC(hField);
                    HGDIOBJ hOld = SelectObject(hdc, reinterpret_cast<HGDIOBJ>(SendMessageA(hField, WM_GETFONT, 0, 0)));
                    SIZE size = {};
                    GetTextExtentPoint32A(hdc, strText.c_str(), static_cast<int>(strText.size()), &size);
                    SelectObject(hdc, hOld);
                    ReleaseDC(hField, hdc);
                    RECT rc;
                    GetClientRect(hField, &rc);
                    EXPECT_LT(size.cx, rc.right - rc.left - 4) << (bArabic ? "Arabic " : "English ") << nId << " right " << nRight;
                }
                PressKey(VK_ESCAPE);
            }}});
            EXPECT_EQ(IDCANCEL, dlg.DoModal());
        }
        Stop();
    }
}

CServerMessage KseCheck()
{
    return Reply("KV", 26, {{5, "1"}, {6, "101"}, {7, "10"}, {16, "842"}});
}

// Sets the keep box as a click would leave it.
void SetKeepBox(HWND h, bool bChecked)
{
    if ((SendDlgItemMessageA(h, IDC_REVIEW_KEEP, BM_GETCHECK, 0, 0) == BST_CHECKED) != bChecked)
        ClickControl(h, IDC_REVIEW_KEEP);
}

bool KeepBoxChecked(HWND h)
{
    return SendDlgItemMessageA(h, IDC_REVIEW_KEEP, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// A review run with a valid password and the keep box as given: the class's store is known after.
void Confirm(CReviewDialog& dlg, const char* pszPassword, bool bKeep)
{
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [=](HWND h) {
        SetDlgItemTextA(h, IDC_REVIEW_PASSWORD, pszPassword);
        SetKeepBox(h, bKeep);
        PressKey(VK_RETURN);
    }}});
    ASSERT_EQ(IDOK, dlg.DoModal());
}

TEST_F(ReviewSession, PasswordRuleAndKeptPasswordsPerClassUntilLogOff)
{
    ASSERT_TRUE(Start("trader"));
    CZORVAT32App& app = pRun->App();
    {   // Known stores: nothing kept in either class.
        CReviewOrderKSEDlg kse(KseCheck(), nullptr, 0, FALSE);
        Confirm(kse, "000000", false);
        CReviewOrderDlg us(Reply("OV", 31, {{2, "1"}}), nullptr, 0);
        Confirm(us, "000000", false);
    }
    EXPECT_FALSE(app.IsRememberPin());

    CReviewOrderKSEDlg first(KseCheck(), nullptr, 0, FALSE);
    const std::string strInfoBefore = pRun->InfoText();
    RunDialogSteps({
        {IDC_REVIEW_PASSWORD, [](HWND h) {
            EXPECT_EQ(IDC_REVIEW_PASSWORD, FocusedControl(h));
            EXPECT_TRUE(GetWindowLongA(GetDlgItem(h, IDC_REVIEW_PASSWORD), GWL_STYLE) & ES_PASSWORD);
            EXPECT_FALSE(KeepBoxChecked(h));
            TypeText("pin|12");
        }},
        {IDC_REVIEW_PASSWORD, [](HWND h) {
            EXPECT_EQ("pin12", ControlText(h, IDC_REVIEW_PASSWORD));       // the field takes no '|'
            PressKey(VK_RETURN);                     // five characters
        }},
        {IDC_REVIEW_PASSWORD, [&](HWND h) {
            EXPECT_EQ(IDC_REVIEW_PASSWORD, FocusedControl(h));
            EXPECT_NE(std::string::npos, pRun->InfoText().find("The trading password has at least 6 characters"))
                << pRun->InfoText();
            // Put there past the field's filter: refused, and the trader is told why, each time.
            SetDlgItemTextA(h, IDC_REVIEW_PASSWORD, "pin|123");
            PressKey(VK_RETURN);
        }},
        {IDC_REVIEW_PASSWORD, [&](HWND h) {
            EXPECT_EQ(IDC_REVIEW_PASSWORD, FocusedControl(h));
            EXPECT_EQ(1, Occurrences(pRun->InfoText(), "The trading password cannot hold a '|'")) << pRun->InfoText();
            SetDlgItemTextA(h, IDC_REVIEW_PASSWORD, "pin\t123");
            PressKey(VK_RETURN);
        }},
        {IDC_REVIEW_PASSWORD, [&](HWND h) {
            EXPECT_EQ(IDC_REVIEW_PASSWORD, FocusedControl(h));
            EXPECT_EQ(2, Occurrences(pRun->InfoText(), "The trading password cannot hold a '|'")) << pRun->InfoText();
            SetDlgItemTextA(h, IDC_REVIEW_PASSWORD, "pin123");       // six: enough
            ClickControl(h, IDC_REVIEW_KEEP);
            PressKey(VK_RETURN);
        }},
    });
    ASSERT_EQ(IDOK, first.DoModal());
    EXPECT_EQ("pin123", std::string(first.GetPassword()));

    // The next KSE review comes filled; the US review is not offered the KSE password.
    CReviewOrderKSEDlg second(KseCheck(), nullptr, 0, FALSE);
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) {
        EXPECT_EQ("pin123", ControlText(h, IDC_REVIEW_PASSWORD));
        EXPECT_TRUE(KeepBoxChecked(h));
        PressKey(VK_RETURN);
    }}});
    ASSERT_EQ(IDOK, second.DoModal());
    EXPECT_EQ("pin123", std::string(second.GetPassword()));
    CReviewOrderDlg us(Reply("OV", 31, {{2, "2"}}), nullptr, 0);
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) {
        EXPECT_EQ("", ControlText(h, IDC_REVIEW_PASSWORD));
        EXPECT_FALSE(KeepBoxChecked(h));
        TypeText("usPin99");
        ClickControl(h, IDC_REVIEW_KEEP);
        PressKey(VK_RETURN);
    }}});
    ASSERT_EQ(IDOK, us.DoModal());
    EXPECT_TRUE(app.IsRememberPin()) << "the US keep box is the RememberPIN setting";

    // Log-off forgets the kept passwords; the keep boxes stay checked.
    app.Logoff();
    for (int nClass = 0; nClass < 2; ++nClass) {
        SCOPED_TRACE(nClass == 0 ? "KSE" : "US");
        std::unique_ptr<CReviewDialog> pDlg;
        if (nClass == 0)
            pDlg = std::make_unique<CReviewOrderKSEDlg>(KseCheck(), nullptr, 0, FALSE);
        else
            pDlg = std::make_unique<CReviewOrderDlg>(Reply("OV", 31, {{2, "1"}}), nullptr, 0);
        RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) {
            EXPECT_EQ("", ControlText(h, IDC_REVIEW_PASSWORD));
            EXPECT_TRUE(KeepBoxChecked(h));
            PressKey(VK_ESCAPE);
        }}});
        EXPECT_EQ(IDCANCEL, pDlg->DoModal());
    }
    EXPECT_TRUE(app.IsRememberPin());
    // The US keep box is what the workspace loads into the setting.
    app.SetRememberPin(FALSE);
    CReviewOrderDlg usFromWorkspace(Reply("OV", 31, {{2, "1"}}), nullptr, 0);
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) {
        EXPECT_FALSE(KeepBoxChecked(h));
        PressKey(VK_ESCAPE);
    }}});
    EXPECT_EQ(IDCANCEL, usFromWorkspace.DoModal());
    {   // Leave the stores as a fresh process has them for the tests that follow.
        CReviewOrderKSEDlg kse(KseCheck(), nullptr, 0, FALSE);
        Confirm(kse, "000000", false);
        CReviewOrderDlg usReset(Reply("OV", 31, {{2, "1"}}), nullptr, 0);
        Confirm(usReset, "000000", false);
    }
}

// The alert sound dialog needs no session: the reference data holds the choice.
struct AlertSoundTest : ::testing::Test
{
    void SetUp() override
    {
        m_strFile = MakeTestFolder("alert_sound") + "/ding.wav";
        FILE* pFile = fopen(m_strFile.c_str(), "w");
        ASSERT_NE(nullptr, pFile);
        fclose(pFile);
        GetGlobals()->m_nAlertSoundMode = 1;
        GetGlobals()->m_strAlertSoundFile = "/old/bell.wav";
    }
    void TearDown() override
    {
        EXPECT_TRUE(FinishedSteps());
        ClearDialogSteps();
        EXPECT_EQ(0, TbPendingTestAnswers());
        TbClearTestAnswers();
        GetGlobals()->m_nAlertSoundMode = 0;
        GetGlobals()->m_strAlertSoundFile = "";
    }
    static bool Checked(HWND h, int nId) { return SendDlgItemMessageA(h, nId, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    std::string m_strFile;
};

TEST_F(AlertSoundTest, BrowseChoosesTheFileOkStoresCancelKeeps)
{
    for (const int nLanguage : {1252, 1256}) {
        CTestLanguage language(nLanguage);
        GetGlobals()->m_nAlertSoundMode = 1;
        GetGlobals()->m_strAlertSoundFile = "/old/bell.wav";
        {   // Cancel after a change: nothing stored.
            CAlertSoundDlg dlg;
            RunDialogSteps({{IDC_ALERT_SOUND_PATH, [&](HWND h) {
                EXPECT_TRUE(Checked(h, IDC_ALERT_SOUND_BEEP));
                EXPECT_EQ("/old/bell.wav", ControlText(h, IDC_ALERT_SOUND_PATH));
                EXPECT_TRUE(SaveDialogScreenshot(h, "orders_alert_sound_" + std::to_string(nLanguage)));
                ClickControl(h, IDC_ALERT_SOUND_NONE);
                PressKey(VK_ESCAPE);
            }}});
            EXPECT_EQ(IDCANCEL, dlg.DoModal());
            EXPECT_EQ(1, GetGlobals()->m_nAlertSoundMode);
        }
        {   // Browse picks the file and the file choice; OK stores both.
            CAlertSoundDlg dlg;
            TbQueueTestAnswer({TB_ASK_OPENFILE, IDOK, m_strFile});
            RunDialogSteps({{IDC_ALERT_SOUND_PATH, [&](HWND h) { ClickControl(h, IDC_ALERT_SOUND_BROWSE); }},
                 {IDC_ALERT_SOUND_PATH, [&](HWND h) {
                     EXPECT_TRUE(Checked(h, IDC_ALERT_SOUND_FILE));
                     EXPECT_FALSE(Checked(h, IDC_ALERT_SOUND_BEEP));
                     EXPECT_EQ(m_strFile, ControlText(h, IDC_ALERT_SOUND_PATH));
                     ClickControl(h, IDOK);
                 }}});
            EXPECT_EQ(IDOK, dlg.DoModal());
            EXPECT_EQ(2, GetGlobals()->m_nAlertSoundMode);
            EXPECT_EQ(m_strFile, std::string(GetGlobals()->m_strAlertSoundFile));
        }
        {   // A file browsed to, then no sound: the mode is stored, the path stays the last stored.
            GetGlobals()->m_strAlertSoundFile = "/old/bell.wav";
            CAlertSoundDlg dlg;
            TbQueueTestAnswer({TB_ASK_OPENFILE, IDOK, m_strFile});
            RunDialogSteps({{IDC_ALERT_SOUND_PATH, [&](HWND h) { ClickControl(h, IDC_ALERT_SOUND_BROWSE); }},
                 {IDC_ALERT_SOUND_PATH, [&](HWND h) {
                     ClickControl(h, IDC_ALERT_SOUND_NONE);
                     ClickControl(h, IDOK);
                 }}});
            EXPECT_EQ(IDOK, dlg.DoModal());
            EXPECT_EQ(0, GetGlobals()->m_nAlertSoundMode);
            EXPECT_EQ("/old/bell.wav", std::string(GetGlobals()->m_strAlertSoundFile));
        }
    }
}

}  // namespace

// Every review that names the company shows the longest name of the simulator's lists whole, in
// either language: each control of the dialog that shows the name has room for the widest name
// of the lists, in its own font.
TEST_F(ReviewSession, EveryReviewShowsTheLongestListedNameWhole)
{
    for (const bool bArabic : {false, true}) {
        ASSERT_TRUE(Start("trader", bArabic));
        ASSERT_TRUE(PumpUntil([] { return !FindDataTable(IDS_TABLE_STOCK_LIST_KSE)->IsReceiving(); }));
        const LISTED_NAMES listed = ListedNames(bArabic);
        ASSERT_GT(listed.nKseStock, 0);
        ASSERT_FALSE(listed.strUsName.empty());
        const std::string strStock = std::to_string(listed.nKseStock);
        const CString strUsName = listed.strUsName.c_str();
        // Each review class and reply layout, the stock named by the reply (the KSE name from the
        // stock list) or, in the US, by the ticket's description.
        const struct { const char* pszName; std::function<std::unique_ptr<CReviewDialog>()> make; std::string strName; } reviews[] = {
            {"kse_check", [&] { return std::make_unique<CReviewOrderKSEDlg>(Reply("KV", 26, {{5, "1"}, {6, strStock.c_str()}}), nullptr, 0, FALSE); }, listed.strKseName},
            {"kse_modify_check", [&] { return std::make_unique<CReviewOrderKSEDlg>(Reply("KJ", 31, {{7, "2"}, {8, strStock.c_str()}}), nullptr, 2, TRUE); }, listed.strKseName},
            {"kse_modify_form", [&] { return std::make_unique<CReviewOrderKSEDlg>(Reply("KW", 26, {{4, "1"}, {5, strStock.c_str()}}), nullptr, 2, FALSE); }, listed.strKseName},
            {"kse_odd_lot", [&] { return std::make_unique<CReviewOrderOddLotKSEDlg>(Reply("KV", 26, {{5, "2"}, {6, strStock.c_str()}}), nullptr); }, listed.strKseName},
            {"forward", [&] { return std::make_unique<CReviewOrderForwardDlg>(Reply("KU", 25, {{4, "1"}, {5, strStock.c_str()}}), nullptr); }, listed.strKseName},
            {"us_new", [&] { return std::make_unique<CReviewOrderDlg>(Reply("OV", 31, {{2, "1"}, {3, listed.strUsSymbol.c_str()}}), &strUsName, 0); }, listed.strUsName},
            {"us_modify", [&] { return std::make_unique<CReviewOrderDlg>(Reply("OW", 31, {{2, "2"}, {3, listed.strUsSymbol.c_str()}}), &strUsName, 2); }, listed.strUsName},
        };
        for (const auto& review : reviews) {
            SCOPED_TRACE(std::string(review.pszName) + (bArabic ? " Arabic" : " English"));
            auto pDlg = review.make();
            RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND h) {
                EXPECT_TRUE(SaveDialogScreenshot(h, std::string("orders_review_longest_") + review.pszName + (bArabic ? "_1256" : "_1252")));
                const std::vector<HWND> fields = ControlsShowing(h, review.strName);
                EXPECT_FALSE(fields.empty()) << "no control shows \"" << TbCodePageToUtf8(review.strName) << "\"";
                for (HWND hField : fields)
                    ExpectEachNameFits(hField, listed.names);
                PressKey(VK_ESCAPE);
            }}});
            EXPECT_EQ(IDCANCEL, pDlg->DoModal());
        }
        Stop();
    }
}
