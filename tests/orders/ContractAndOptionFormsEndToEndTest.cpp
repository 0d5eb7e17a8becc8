// The trader acts on a forward contract and on option positions against the simulator: the
// contract's details with the actions its mask allows, a close previewed, reviewed and taken,
// the contract's own update; an option exercised from a holdings row and confirmed once; an
// expiration instruction asked again only for another symbol or market. Pictures of each form.
#include <string>
#include <vector>

#include "account/ExecutedTradesTable.h"
#include "account/InvestorHoldingsTable.h"
#include "app/TableFactory.h"
#include "app/FormMDIWnd.h"
#include "app/NorvMainFrame.h"
#include "app/TableMDIWnd.h"
#include "framework/window/TableWindow.h"
#include "platform/win/gdi/ImageCodec.h"
#include "framework/base/DateTime.h"
#include "framework/base/NumberStyle.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/TableLinks.h"
#include "orders/ConfirmManualExerciseDlg.h"
#include "orders/ExpirationInstructionDlg.h"
#include "orders/ForwardContractDetailDlg.h"
#include "orders/ManualExerciseDlg.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/OrderForms.h"
#include "orders/ReviewForwardContractDlg.h"
#include "platform/win/user/DateTimePick.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/orders/OrderTestSupport.h"

namespace {
typedef std::vector<std::string> FIELDS;
const int BUTTONS[] = {IDC_CONTRACT_NEW_ORDER, IDC_CONTRACT_ACTION_2, IDC_CONTRACT_ACTION_4, IDC_CONTRACT_ACTION_8,
                       IDC_CONTRACT_ACTION_16};

struct ContractForms : COrderSession
{
    // The trader with the US holdings too, whose rows the option forms start from, and the US
    // trades, which tell the fills; the makers go with the test, so the other tests' terminals
    // make no such tables.
    void StartWithHoldings()
    {
        ASSERT_TRUE(server.Start());
        pRun = std::make_unique<CTerminalRun>(false);
        pRun->m_onMakersRegistered = [] {
            RegisterOrderForms();
            RegisterTableMaker(IDS_TABLE_US_HOLDINGS, MakeDataTable<CInvestorHoldingsTable>);
            RegisterTableMaker(IDS_TABLE_US_TRADES, MakeDataTable<CExecutedTradesTable>);
        };
        ASSERT_TRUE(pRun->StartLoggedIn(server.Port(), "trader", "secret"));
    }
    void TearDown() override
    {
        COrderSession::TearDown();
        RegisterTableMaker(IDS_TABLE_US_HOLDINGS, nullptr);
        RegisterTableMaker(IDS_TABLE_US_TRADES, nullptr);
    }
    HWND ViewOf(CFormMDIWnd* pFrame) { return pFrame != nullptr && pFrame->GetView() ? pFrame->GetView()->m_hWnd : nullptr; }
    FIELDS LastBody(const char* pszType) const
    {
        const std::vector<std::string> lines = Requests({pszType});
        return lines.empty() ? FIELDS() : BodyOf(lines.back());
    }
    // The contract shown with the mask once its details came.
    HWND ShowContract(const char* pszId, long nMask)
    {
        const size_t nBefore = Count("KD");
        App().OpenForwardContractDetail(1002, 10020, COleDateTime(2026, 11, 30, 0, 0, 0), pszId, nMask);
        HWND hForm = ViewOf(App().GetForwardContractForm());
        EXPECT_TRUE(PumpUntil([&] { return Count("KD") == nBefore + 1 && ControlText(hForm, IDC_CONTRACT_ID) == pszId; }));
        PumpFor(100);
        return hForm;
    }
    std::string Picture(HWND hView, const std::string& strName)
    {
        SaveDialogScreenshot(hView, "orders_" + strName);      // makes the folder
        const std::string strPath = std::string(TB_BINARY_DIR) + "/screenshots/orders_" + strName + ".png";
        EXPECT_TRUE(TbSaveWindowPng(GetParent(hView), strPath.c_str())) << strName;
        return strPath;
    }
    // The US holdings row of the option selected and a command of its menu run on it.
    void RunOnOptionRow(const char* pszOption, UINT nCommand)
    {
        CDataTable* pHoldings = FindDataTable(51170);
        ASSERT_NE(nullptr, pHoldings);
        ASSERT_TRUE(PumpUntil([&] { return pHoldings->GetRows()->FindRow({pszOption}) != nullptr; }));
        CNorvApp::ShowTable(pHoldings);
        PumpFor(100);
        CTableWindow& grid = pHoldings->GetMainWindow()->GetGrid();
        for (int nRow = 0; nRow < grid.GetRowCount(); ++nRow) {
            grid.SelectRow(nRow, 0, FALSE);
            if (pHoldings->GetSelectedDataRow() && pHoldings->GetSelectedDataRow()->GetText(0) == pszOption)
                break;
        }
        ASSERT_TRUE(pHoldings->GetSelectedDataRow() && pHoldings->GetSelectedDataRow()->GetText(0) == pszOption);
        pHoldings->OnCmdMsg(nCommand, CN_COMMAND, nullptr, nullptr);
        PumpFor(100);
    }
};

std::string DateInPattern(const char* pszDigits)
{
    char szText[33] = {};
    FormatDateText(szText, sizeof szText, pszDigits, GetGlobalDatePattern());
    return szText;
}

// Masks 0, 1, 10 and 31; the new-order button's ticket; a "CU" for another contract; a close of all
// of it previewed, reviewed and taken; its own "CU" with no action left.
TEST_F(ContractForms, ActsOnAForwardContractAsItsMaskAllows)
{
    Start(false);
    const struct { long nMask; bool bNewOrder, bAction2, bAction4, bAction8, bAction16; } masks[] = {
        {0, false, false, false, false, false}, {1, true, false, false, false, false}, {10, false, true, false, true, false},
        {31, true, true, true, true, true}};
    HWND hForm = nullptr;
    for (const auto& m : masks) {
        SCOPED_TRACE(m.nMask);
        hForm = ShowContract("1", m.nMask);
        ASSERT_NE(nullptr, hForm);
        const bool expected[] = {m.bNewOrder, m.bAction2, m.bAction4, m.bAction8, m.bAction16};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(expected[i], IsWindowEnabled(GetDlgItem(hForm, BUTTONS[i])) != FALSE) << BUTTONS[i];
        // A purchase's quantity is the user's while a new order may be made.
        EXPECT_EQ(!m.bNewOrder, (GetWindowLongA(GetDlgItem(hForm, IDC_CONTRACT_QUANTITY), GWL_STYLE) & ES_READONLY) != 0);
        EXPECT_EQ((FIELDS{"", "", "1002", "10020", "261130", "1"}), LastBody("KD"));
    }
    EXPECT_EQ(std::string(GetStockSymbolFrom(56376, 102, FALSE)), ControlText(hForm, IDC_CONTRACT_SYMBOL));
    EXPECT_EQ("10000", ControlText(hForm, IDC_CONTRACT_QUANTITY));
    Picture(hForm, "forward_contract_en");

    // The new order: the ticket on the contract, its date, number and quantity.
    NotifyControl(hForm, IDC_CONTRACT_NEW_ORDER, BN_CLICKED);
    PumpFor(200);
    CFormMDIWnd* pTicketFrame = App().GetOrderTicketForm();
    ASSERT_NE(nullptr, pTicketFrame);
    auto* pTicket = dynamic_cast<CNewPlaceOrderDlg*>(pTicketFrame->GetView());
    ASSERT_NE(nullptr, pTicket);
    EXPECT_EQ(4, pTicket->GetKseMarketType());
    const ORDER_TICKET_SNAPSHOT shot = pTicket->TakeSnapshot();
    EXPECT_EQ("1", std::string(shot.strContractNumber));
    EXPECT_EQ("10000", std::string(shot.strQuantity));
    EXPECT_EQ("10020", std::string(shot.strMarketMaker));
    EXPECT_EQ("20261130", std::string(shot.contractDate.Format("%Y%m%d")));
    SendMessageA(pTicketFrame->m_hWnd, WM_CLOSE, 0, 0);
    PumpFor(100);

    // Another terminal of the trader buys forward: the contract it opens comes as a "CU" that is
    // not the shown contract's.
    const size_t nDetails = Count("KD");
    App().SendRequest(MSG_KA, "||1002|10020|1|101|100|0|3|1|5000|secret");
    ASSERT_TRUE(PumpUntil([&] { return Lines("CU").find("|2|2|101|") != std::string::npos; })) << Lines("CU") << Lines("KA");
    // And closes it: neither that "KI" reply nor the "CU" after it is the form's.
    App().SendRequest(MSG_KI, "||1002|10020|2|261130|2|10020|1|101|1|0|||secret|||0");
    ASSERT_TRUE(PumpUntil([&] { return Lines("KI").find("> ~KI") != std::string::npos; })) << Lines("KI");
    PumpFor(300);
    EXPECT_EQ(nDetails, Count("KD"));
    EXPECT_EQ(std::string::npos, pRun->InfoText().find(LoadMarketText(56807))) << pRun->InfoText();

    // The form closed while its review is open: the review ends, nothing is sent, the form goes.
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND) {
        TypeText("secret");
        PostMessageA(GetParent(hForm), WM_CLOSE, 0, 0);
    }}});
    NotifyControl(hForm, IDC_CONTRACT_ACTION_4, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return FinishedSteps() && App().GetForwardContractForm() == nullptr; }));
    PumpFor(200);
    EXPECT_EQ(1u, Count("KI"));
    hForm = ShowContract("1", 31);
    const size_t nReopened = Count("KD");

    // Close all of contract 1 at a price: "KL", the review, "KI" with the same values.
    SetDlgItemTextA(hForm, IDC_CONTRACT_PRICE, "612.5");
    std::string strReviewed;
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND h) {
        strReviewed = ControlText(h, IDC_REVIEW_CONTRACT_TEXT);
        SaveDialogScreenshot(h, "orders_forward_contract_review_en");
        TypeText("secret");
        ClickControl(h, IDOK);
    }}});
    NotifyControl(hForm, IDC_CONTRACT_ACTION_2, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return Count("KI") == 2 && Count("KD") == nReopened + 1; })) << Lines("KI");
    ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(GetDlgItem(hForm, IDC_CONTRACT_NEW_ORDER)) == FALSE; }));
    EXPECT_TRUE(FinishedSteps());
    const FIELDS preview = {"", "", "1002", "10020", "2", "261130", "1", "10020", "1", "102", "1", "10000",
                            "0.000000", "0.000000", "", "", "", "", "612.500000"};
    const FIELDS action = {"", "", "1002", "10020", "2", "261130", "1", "10020", "1", "102", "1", "10000",
                           "", "", "secret", "", "", "", "612.500000"};
    EXPECT_EQ(preview, LastBody("KL"));
    EXPECT_EQ(action, LastBody("KI"));
    CString strExpected;
    strExpected.FormatMessage(56800, "1", DateInPattern("20261130").c_str(), ControlText(hForm, IDC_CONTRACT_TEXT_26).c_str());
    EXPECT_EQ(std::string(strExpected), strReviewed);

    // Acknowledged once; the contract's own "CU" with no action left disables every button.
    CString strExtra, strDone;
    strExtra.FormatMessage(IDS_CONTRACT_DONE_EXTRA, "10000", "102");
    strDone.FormatMessage(IDS_CONTRACT_DONE, "1", DateInPattern("20261130").c_str(), static_cast<LPCSTR>(strExtra),
                          static_cast<LPCSTR>(LoadMarketText(56807)));
    const std::string strInfo = pRun->InfoText();
    const size_t nAt = strInfo.find(std::string(strDone));
    EXPECT_NE(std::string::npos, nAt) << strInfo;
    EXPECT_EQ(std::string::npos, strInfo.find(std::string(strDone), nAt + 1)) << strInfo;
    for (int nId : BUTTONS)
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hForm, nId))) << nId;
}

// Option exercise from a holdings row: 3 contracts are 300 shares; the terms' answer opens the
// confirmation once, and the exercise's answer is told in the information window. The
// expiration instruction is asked again only for another symbol or market.
TEST_F(ContractForms, ExercisesAndInstructsFromAHoldingsRow)
{
    StartWithHoldings();
    // The application's command opens the form with nothing preset; the row's menu fills it.
    SendMessageA(App().GetMainFrame()->m_hWnd, WM_COMMAND, 33335, 0);
    PumpPending();
    ASSERT_NE(nullptr, App().GetManualExerciseForm());
    EXPECT_EQ("", ControlText(ViewOf(App().GetManualExerciseForm()), IDC_EXERCISE_SYMBOL));
    RunOnOptionRow("ALPNLI", 33335);
    HWND hExercise = ViewOf(App().GetManualExerciseForm());
    ASSERT_NE(nullptr, hExercise);
    EXPECT_EQ("ALPNLI", ControlText(hExercise, IDC_EXERCISE_SYMBOL));
    const std::string strMarket = ControlText(hExercise, IDC_EXERCISE_MARKET);
    EXPECT_EQ(std::string(GetGlobals()->GetMarketName(16)), strMarket);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hExercise, IDC_EXERCISE_SEND)));
    // A part of a contract cannot be sent: refused, nothing on the wire.
    SetDlgItemTextA(hExercise, IDC_EXERCISE_CONTRACTS, "1.5");
    NotifyControl(hExercise, IDC_EXERCISE_SEND, BN_CLICKED);
    PumpFor(200);
    EXPECT_EQ(0u, Count("XO"));
    EXPECT_EQ(1, pRun->CountInfoLines(IDS_ORDER_NO_QUANTITY));
    SetDlgItemTextA(hExercise, IDC_EXERCISE_CONTRACTS, "3");
    EXPECT_EQ("300", ControlText(hExercise, IDC_EXERCISE_SHARES));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hExercise, IDC_EXERCISE_SEND)));
    Picture(hExercise, "option_exercise_en");

    int nConfirmations = 0;
    bool bWarned = true;
    std::string strPaid, strLeft;
    RunDialogSteps({{6726, [&](HWND h) {
        ++nConfirmations;
        bWarned = ControlVisible(h, IDC_CONFIRM_WARNING);
        strPaid = ControlText(h, 6732);
        strLeft = ControlText(h, 6733);
        ClickControl(h, IDOK);
    }}});
    NotifyControl(hExercise, IDC_EXERCISE_SEND, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return Count("XO") == 2 && pRun->InfoText().find("ALPNLI") != std::string::npos; }))
        << Lines("XO");
    PumpFor(500);
    EXPECT_EQ(1, nConfirmations);
    EXPECT_FALSE(bWarned) << "the cash left is above zero";
    EXPECT_EQ("13,500.00", strPaid) << "300 shares at the strike, as money";
    EXPECT_EQ(strLeft.size() - 3, strLeft.find('.')) << strLeft;
    EXPECT_NE(std::string::npos, strLeft.find(',')) << strLeft;
    // The exercise fills as an order of its own: its fill line names it.
    ASSERT_TRUE(PumpUntil([&] { return pRun->InfoText().find(" filled at 45.0000.") != std::string::npos; }));
    EXPECT_EQ(std::string::npos, pRun->InfoText().find("Order : ")) << pRun->InfoText();
    EXPECT_EQ(2u, Count("XO")) << "exercised once";
    const std::vector<std::string> exercises = Requests({"XO"});
    EXPECT_EQ((FIELDS{"", "", "1002", "0", "10020", "ALPNLI", "16", "3"}), BodyOf(exercises[0]));
    EXPECT_EQ((FIELDS{"", "", "1002", "1", "10020", "ALPNLI", "16", "3"}), BodyOf(exercises[1]));

    // The expiration instruction of the same row; leaving a field unchanged asks nothing.
    RunOnOptionRow("ALPNLI", 33355);
    HWND hExpiry = ViewOf(App().GetExpirationForm());
    ASSERT_NE(nullptr, hExpiry);
    ASSERT_TRUE(PumpUntil([&] { return !ControlText(hExpiry, 6715).empty(); }));
    EXPECT_EQ((FIELDS{"", "", "1002", "10020", "ALPNLI", "16", "0", "0", "0.000000", "0.000000"}), LastBody("XI"));
    EXPECT_EQ("2", ControlText(hExpiry, IDC_EXPIRY_CONTRACTS)) << "3 of the 5 exercised";
    Picture(hExpiry, "expiration_instruction_en");
    const struct { int nId; const char* pszText; size_t nAsked; } edits[] = {
        {IDC_EXPIRY_SYMBOL, "ALPNLI", 1}, {IDC_EXPIRY_MARKET, strMarket.c_str(), 1},
        {IDC_EXPIRY_SYMBOL, "GLNTXN", 2}, {IDC_EXPIRY_SYMBOL, "GLNTXN", 2}};
    for (const auto& e : edits) {
        SetDlgItemTextA(hExpiry, e.nId, e.pszText);
        NotifyControl(hExpiry, e.nId, EN_KILLFOCUS);
        PumpUntil([&] { return Count("XI") == e.nAsked && ControlText(hExpiry, 6714) == e.pszText; }, 2000);
        EXPECT_EQ(e.nAsked, Count("XI")) << e.nId << " " << e.pszText;
    }
    PumpFor(300);
    // A value below 0 is refused by its own field's name; nothing leaves.
    const struct { int nId; const char* pszSays; } negatives[] = {
        {IDC_EXPIRY_CONTRACTS, "the contracts to exercise cannot be below 0"},
        {IDC_EXPIRY_MIN_IN_MONEY, "the least amount in the money cannot be below 0"},
        {IDC_EXPIRY_LIMIT, "the price limit cannot be below 0"}};
    for (const auto& n : negatives) {
        const std::string strBefore = ControlText(hExpiry, n.nId);
        SetDlgItemTextA(hExpiry, n.nId, "-5");
        NotifyControl(hExpiry, IDC_EXPIRY_SUBMIT, BN_CLICKED);
        PumpFor(100);
        EXPECT_NE(std::string::npos, pRun->InfoText().find(n.pszSays)) << pRun->InfoText();
        EXPECT_EQ(2u, Count("XI")) << n.pszSays;
        SetDlgItemTextA(hExpiry, n.nId, strBefore.c_str());
    }
    SetDlgItemTextA(hExpiry, IDC_EXPIRY_CONTRACTS, "2");
    NotifyControl(hExpiry, IDC_EXPIRY_SUBMIT, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return Count("XI") == 3; }));
    EXPECT_EQ((FIELDS{"", "", "1002", "10020", "GLNTXN", "16", "1", "2", "0.010000", "0.000000"}), LastBody("XI"));
    EXPECT_TRUE(PumpUntil([&] {
        return pRun->InfoText().find("The expiration instruction of GLNTXN is recorded: 2 contracts") != std::string::npos;
    })) << pRun->InfoText();
}

// The confirmation warns in red only when the cash left (field 15) is below zero.
TEST_F(ContractForms, ConfirmationWarnsOnlyBelowZero)
{
    Start(false);
    const struct { const char* pszCash; bool bWarned; } cases[] = {{"-12.5", true}, {"0", false}, {"3.25", false}};
    for (const auto& c : cases) {
        const std::string strLine = std::string("~XO|1|XC||0||1002|0|10020|ALPNLI|16|3|ALPN|1|261218|45|3|300|13500|") +
                                    c.pszCash + "|300|ALPN DEC 45 CALL";
        CConfirmManualExerciseDlg confirm(CServerMessage(strLine.c_str(), 1), nullptr);
        bool bShown = !c.bWarned;
        COLORREF crText = 0;
        RunDialogSteps({{6726, [&](HWND h) {
            bShown = ControlVisible(h, IDC_CONFIRM_WARNING);
            // The colour the dialog gives the warning to paint with.
            const HWND hWarning = GetDlgItem(h, IDC_CONFIRM_WARNING);
            HDC hdc = GetDC(hWarning);
            SendMessageA(h, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hWarning));
            crText = GetTextColor(hdc);
            ReleaseDC(hWarning, hdc);
            if (c.bWarned)
                SaveDialogScreenshot(h, "orders_exercise_confirmation_en");
            ClickControl(h, IDCANCEL);
        }}});
        EXPECT_EQ(IDCANCEL, confirm.DoModal());
        EXPECT_EQ(c.bWarned, bShown) << c.pszCash;
        if (c.bWarned) {
            EXPECT_EQ(RGB(194, 2, 0), crText);
        }
    }
}
}  // namespace

namespace {
// Each form and the confirmation in Arabic, laid out right to left.
TEST_F(ContractForms, PicturesInArabic)
{
    Start(true);
    Picture(ShowContract("1", 31), "forward_contract_ar");
    App().OpenManualExercise("ALPNLI", "10020");
    HWND hExercise = ViewOf(App().GetManualExerciseForm());
    ASSERT_NE(nullptr, hExercise);
    SetDlgItemTextA(hExercise, IDC_EXERCISE_SYMBOL, "ALPNLI");
    SetDlgItemTextA(hExercise, IDC_EXERCISE_MARKET, GetGlobals()->GetMarketName(16));
    SetDlgItemTextA(hExercise, IDC_EXERCISE_CONTRACTS, "3");
    Picture(hExercise, "option_exercise_ar");
    App().OpenExpirationInstruction("ALPNLI", GetGlobals()->GetMarketName(16));
    HWND hExpiry = ViewOf(App().GetExpirationForm());
    ASSERT_TRUE(PumpUntil([&] { return !ControlText(hExpiry, 6715).empty(); }));
    Picture(hExpiry, "expiration_instruction_ar");
    CConfirmManualExerciseDlg confirm(
        CServerMessage("~XO|1|XC||0||1002|0|10020|ALPNLI|16|3|ALPN|1|261218|45|3|300|13500|-12.5|300|x", 1), nullptr);
    RunDialogSteps({{6726, [&](HWND h) {
        SaveDialogScreenshot(h, "orders_exercise_confirmation_ar");
        ClickControl(h, IDCANCEL);
    }}});
    confirm.DoModal();
    EXPECT_TRUE(FinishedSteps());
}
}  // namespace
