// Every request a form sends is answered on screen: while the server holds back the reply to an
// order, the trader goes on using the same form (another Submit, a Submit refused at once, a
// Cancel after a Modify, another contract action, another exercise), and the held reply still
// reaches the information window when it comes.
#include <string>
#include <vector>

#include "app/FormMDIWnd.h"
#include "app/NorvMainFrame.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/TableLinks.h"
#include "orders/ExpirationInstructionDlg.h"
#include "orders/ForwardContractDetailDlg.h"
#include "orders/ManualExerciseDlg.h"
#include "orders/ModifyOrderForm.h"
#include "orders/NewModifyOrderDlg.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/OrderRequests.h"
#include "orders/ReviewDialog.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/TestAnswers.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/orders/OrderTestSupport.h"

namespace {

// The reply of that type held back for a second and a half.
std::vector<std::string> Held(const char* pszType)
{
    return {"--rate", "0", "--scenario", std::string("delay=") + pszType + ":1.5"};
}

void AnswerReview(bool bOk)
{
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [bOk](HWND h) {
                       if (bOk)
                           TypeText("secret");
                       ClickControl(h, bOk ? IDOK : IDCANCEL);
                   }}});
}

size_t Occurrences(const std::string& strText, const std::string& strPart)
{
    size_t n = 0;
    for (size_t nAt = strText.find(strPart); nAt != std::string::npos; nAt = strText.find(strPart, nAt + 1))
        ++n;
    return n;
}

HWND ViewOf(CFormMDIWnd* pFrame)
{
    return pFrame != nullptr && pFrame->GetView() != nullptr ? pFrame->GetView()->m_hWnd : nullptr;
}

struct RepliesSession : COrderStatusSession
{
    std::string strOrder;
    HWND hForm = nullptr;
    // A KSE order's quantity changed to 150 in its modify form and sent to a server that holds
    // "KM" back that many seconds; then the form closed meanwhile, by its Close button or its
    // frame's close box: it only hides.
    void ChangeAndClose(const char* pszSeconds, bool bCloseBox = true)
    {
        Start(false, {"--rate", "0", "--scenario", std::string("delay=KM:") + pszSeconds});
        strOrder = Place(MSG_KR, "||1002|10020|1|1|101|100|0|800||0|||secret", 17, 51128);
        ASSERT_FALSE(strOrder.empty()) << pRun->InfoText();
        App().OpenModifyOrderKSE(atol(strOrder.c_str()));
        PumpPending();
        hForm = ViewOf(App().GetModifyOrderForm());
        ASSERT_NE(nullptr, hForm);
        EnterText(hForm, IDC_MODIFY_QUANTITY, "150");
        AnswerReview(true);
        NotifyControl(hForm, IDC_MODIFY_MODIFY, BN_CLICKED);
        ASSERT_TRUE(PumpUntil([&] { return Count("KM") == 1 && FinishedSteps(); })) << Lines("KW");
        if (bCloseBox)
            TbDisplaySysCommand(GetParent(hForm), SC_CLOSE);
        else
            ClickControl(hForm, IDC_MODIFY_CLOSE);
        PumpPending();
        ASSERT_NE(nullptr, App().GetModifyOrderForm());
        EXPECT_FALSE(IsWindowVisible(GetParent(hForm)));
    }
    // The KSE ticket opened, a purchase of 1,000 of stock 101 at 842 typed, reviewed with the
    // password and sent; the ticket is returned, null when it did not open or send.
    CNewPlaceOrderDlg* SendKseBuy()
    {
        CNewPlaceOrderDlg* pTicket = Command(33049);
        if (pTicket == nullptr)
            return nullptr;
        const HWND hDlg = pTicket->m_hWnd;
        ChooseItem(hDlg, IDC_TICKET_SIDE, static_cast<LPCSTR>(LoadMarketText(55045)));
        SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "101");
        EnterText(hDlg, IDC_TICKET_QUANTITY, "1000");
        EnterText(hDlg, IDC_TICKET_LIMIT, "842");
        AnswerReview(true);
        NotifyControl(hDlg, IDC_TICKET_SUBMIT, BN_CLICKED);
        return PumpUntil([&] { return Count("KR") == 1 && FinishedSteps(); }) ? pTicket : nullptr;
    }
};
}  // namespace

// The ticket: an order sent, a Submit refused for its empty quantity, a second order sent; both
// orders are acknowledged, each once.
TEST_F(RepliesSession, TicketTellsEveryOrderItSent)
{
    Start(false, Held("KR"));
    CNewPlaceOrderDlg* pTicket = SendKseBuy();
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;

    EnterText(hDlg, IDC_TICKET_QUANTITY, "");
    NotifyControl(hDlg, IDC_TICKET_SUBMIT, BN_CLICKED);
    EXPECT_EQ(1, pRun->CountInfoLines(IDS_ORDER_NO_QUANTITY));
    EnterText(hDlg, IDC_TICKET_QUANTITY, "500");
    AnswerReview(true);
    NotifyControl(hDlg, IDC_TICKET_SUBMIT, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return Count("KR") == 2 && FinishedSteps(); }));

    EXPECT_TRUE(PumpUntil([&] { return !pTicket->GetPending().IsOrderPending(); }, 6000));
    PumpFor(200);
    const std::string strInfo = pRun->InfoText();
    EXPECT_EQ(1u, Occurrences(strInfo, "Buy 1000 GHB at 842")) << strInfo;
    EXPECT_EQ(1u, Occurrences(strInfo, "Buy 500 GHB at 842")) << strInfo;
    EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_TICKER)) << "cleared once nothing is under way";
}

// The modify form: a change sent, the form closed and opened again, then a cancel of the same
// order; both are told, and the form closes with the last reply.
TEST_F(RepliesSession, ModifyFormTellsTheChangeAndTheCancel)
{
    // Closed meanwhile, the form only hides; opened again for its order, it shows.
    ASSERT_NO_FATAL_FAILURE(ChangeAndClose("1.5"));
    App().OpenModifyOrderKSE(atol(strOrder.c_str()));
    EXPECT_TRUE(IsWindowVisible(GetParent(hForm)));
    AnswerReview(true);
    NotifyControl(hForm, IDC_MODIFY_CANCEL, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return Count("KC") == 1 && FinishedSteps(); }));

    ASSERT_TRUE(PumpUntil([&] { return App().GetModifyOrderForm() == nullptr; }, 6000)) << pRun->InfoText();
    const std::string strInfo = pRun->InfoText();
    EXPECT_EQ(1u, Occurrences(strInfo, " changed: account 10020, Buy 150 GHB")) << strInfo;
}

// A change sent, then the cancel's review open when the order's status line says it ended: the
// review ends, the form waits for the change's answer; loaded meanwhile with another order, it
// takes that order's Modify.
TEST_F(RepliesSession, AFormLoadedAgainAfterItsOrderEndedTakesSubmit)
{
    Start(false, {"--rate", "0", "--scenario", "delay=KM:30"});
    const std::string strOther = Place(MSG_KR, "||1002|10020|1|1|101|100|0|800||0|||secret", 17, 51128);
    strOrder = Place(MSG_KR, "||1002|10020|1|1|101|100|0|800||0|||secret", 17, 51128);
    ASSERT_FALSE(strOther.empty() || strOrder.empty()) << pRun->InfoText();
    App().OpenModifyOrderKSE(atol(strOrder.c_str()));
    PumpPending();
    auto* pForm = dynamic_cast<CModifyOrderForm*>(App().GetModifyOrderForm()->GetView());
    ASSERT_NE(nullptr, pForm);
    hForm = pForm->m_hWnd;
    EnterText(hForm, IDC_MODIFY_QUANTITY, "150");
    AnswerReview(true);
    NotifyControl(hForm, IDC_MODIFY_MODIFY, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return Count("KM") == 1 && FinishedSteps(); })) << Lines("KW");
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND) {
                       // As the server tells it: order, quantity, status 5 (cancelled), market, reference.
                       CServerMessage ended(("~NC|0|XC||" + strOrder + "|0|5|2|S1").c_str(), 1);
                       pForm->OnNC(&ended);
                   }}});
    NotifyControl(hForm, IDC_MODIFY_CANCEL, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return FinishedSteps() && !pForm->IsInModal(); }));
    ASSERT_EQ(pForm, dynamic_cast<CModifyOrderForm*>(App().GetModifyOrderForm()->GetView())) << "waiting for the change's answer";
    App().OpenModifyOrderKSE(atol(strOther.c_str()));
    PumpPending();
    EnterText(hForm, IDC_MODIFY_QUANTITY, "120");
    NotifyControl(hForm, IDC_MODIFY_MODIFY, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return Count("KW") == 2; })) << pRun->InfoText();
    EXPECT_EQ(strOther, BodyOf(Requests({"KW"}).back()).at(13));
}

// Closed with its change unanswered, the form waits hidden; once the link is lost or the trader
// disconnects, no reply can come, and the form goes.
TEST_F(RepliesSession, HiddenModifyFormGoesWithTheLink)
{
    for (const bool bLost : {true, false}) {
        SCOPED_TRACE(bLost ? "lost" : "disconnected");
        ASSERT_NO_FATAL_FAILURE(ChangeAndClose("30", bLost));
        if (bLost) {
            TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDOK, ""});     // the box that tells the loss
            server.Stop();
        } else {
            App().Disconnect(FALSE);
        }
        EXPECT_TRUE(PumpUntil([&] { return App().GetModifyOrderForm() == nullptr; }, 3000));
        TearDown();
    }
}

// The contract's details: a close taken, then another close previewed and left; the first is
// told. The exercise: one confirmed, then another asked and left; the first is told.
TEST_F(RepliesSession, ContractAndExerciseFormsTellWhatTheyTook)
{
    const struct
    {
        const char* pszHeld;
        const char* pszCheck;           // the request that asks first
        const char* pszAction;          // the request that takes the action
        const char* pszDone;            // in the information window once it is taken (null: the
        UINT nDone;                     // text of that id)
    } cases[] = {
        {"KI", "KL", "KI", nullptr, 56807},
        {"XO", "XO", "XO", "ALPNLI", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszHeld);
        Start(false, Held(c.pszHeld));
        const std::string strBefore = pRun->InfoText();
        const std::string strDone = c.pszDone != nullptr ? c.pszDone : static_cast<LPCSTR>(LoadMarketText(c.nDone));
        ASSERT_NE("", strDone);
        HWND hForm = nullptr;
        int nButton = 0;
        size_t nTaken = 0;              // the requests of the action's type once it is taken
        if (std::string(c.pszHeld) == "KI") {
            App().OpenForwardContractDetail(1002, 10020, COleDateTime(2026, 11, 30, 0, 0, 0), "1", 31);
            hForm = ViewOf(App().GetForwardContractForm());
            ASSERT_TRUE(PumpUntil([&] { return ControlText(hForm, IDC_CONTRACT_ID) == "1"; }, 6000));
            SetDlgItemTextA(hForm, IDC_CONTRACT_PRICE, "612.5");
            nButton = IDC_CONTRACT_ACTION_2;
            nTaken = 1;
            AnswerReview(true);
        } else {
            SendMessageA(App().GetMainFrame()->m_hWnd, WM_COMMAND, 33335, 0);
            PumpPending();
            hForm = ViewOf(App().GetManualExerciseForm());
            ASSERT_NE(nullptr, hForm);
            SetDlgItemTextA(hForm, IDC_EXERCISE_SYMBOL, "ALPNLI");
            SetDlgItemTextA(hForm, IDC_EXERCISE_MARKET, GetGlobals()->GetMarketName(16));
            SetDlgItemTextA(hForm, IDC_EXERCISE_CONTRACTS, "1");
            nButton = IDC_EXERCISE_SEND;
            nTaken = 2;
            RunDialogSteps({{6726, [](HWND h) { ClickControl(h, IDOK); }}});
        }
        NotifyControl(hForm, nButton, BN_CLICKED);
        ASSERT_TRUE(PumpUntil([&] { return Count(c.pszAction) == nTaken && FinishedSteps(); }, 6000)) << Lines(c.pszAction);
        // Asked again while the first is under way; whatever the answer, it is left.
        const size_t nChecks = Count(c.pszCheck);
        if (std::string(c.pszHeld) == "KI")
            AnswerReview(false);
        else
            RunDialogSteps({{6726, [](HWND h) { ClickControl(h, IDCANCEL); }}});
        NotifyControl(hForm, nButton, BN_CLICKED);
        ASSERT_TRUE(PumpUntil([&] { return Count(c.pszCheck) == nChecks + 1; }));
        PumpUntil([&] { return Occurrences(pRun->InfoText().substr(strBefore.size()), strDone) > 0; }, 5000);
        PumpFor(300);
        ClearDialogSteps();
        EXPECT_EQ(1u, Occurrences(pRun->InfoText().substr(strBefore.size()), strDone)) << pRun->InfoText();
        TearDown();
    }
}

// Two Submits while the server holds the checks back: each check is answered on screen, a
// refusal by its text, a clean one by its own review and order.
TEST_F(RepliesSession, TicketAnswersEveryCheckItSent)
{
    const struct
    {
        const char* pszQuantity[2];
        const char* pszPrice[2];
        const char* pszShown[2];        // each once in the information window
        size_t nOrders;
    } cases[] = {
        {{"1000", "99999999"}, {"1", "842"}, {"outside the day's limits", "Not enough cash"}, 0},
        {{"1000", "500"}, {"842", "842"}, {"Buy 1000 GHB at 842", "Buy 500 GHB at 842"}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszShown[0]);
        Start(false, Held("KV"));
        CNewPlaceOrderDlg* pTicket = Command(33049);
        ASSERT_NE(nullptr, pTicket);
        const HWND hDlg = pTicket->m_hWnd;
        ChooseItem(hDlg, IDC_TICKET_SIDE, static_cast<LPCSTR>(LoadMarketText(55045)));
        SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "101");
        if (c.nOrders > 0) {
            const auto ok = [](HWND h) {
                TypeText("secret");
                ClickControl(h, IDOK);
            };
            RunDialogSteps({{IDC_REVIEW_PASSWORD, ok}, {IDC_REVIEW_PASSWORD, ok}});
        }
        for (int i = 0; i < 2; ++i) {
            EnterText(hDlg, IDC_TICKET_QUANTITY, c.pszQuantity[i]);
            EnterText(hDlg, IDC_TICKET_LIMIT, c.pszPrice[i]);
            ASSERT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_SUBMIT)));
            NotifyControl(hDlg, IDC_TICKET_SUBMIT, BN_CLICKED);
        }
        ASSERT_TRUE(PumpUntil([&] { return Count("KV") == 2; }));
        const auto shown = [&](const char* pszText) { return Occurrences(pRun->InfoText(), pszText); };
        PumpUntil([&] { return shown(c.pszShown[0]) > 0 && shown(c.pszShown[1]) > 0; }, 6000);
        PumpFor(200);
        for (const char* pszText : c.pszShown)
            EXPECT_EQ(1u, shown(pszText)) << pszText << " in\n" << pRun->InfoText();
        EXPECT_EQ(c.nOrders, Count("KR"));
        TearDown();
    }
}

// An order's acknowledgement that comes after a later check's refusal (the server answers the
// order once another order of the trader's is answered) leaves what the trader typed for it.
TEST_F(RepliesSession, AnEarlierAcknowledgementKeepsWhatWasRefusedSince)
{
    Start(false, {"--rate", "0", "--scenario", "reverse=KR"});
    CNewPlaceOrderDlg* pTicket = SendKseBuy();
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    EnterText(hDlg, IDC_TICKET_QUANTITY, "99999999");
    NotifyControl(hDlg, IDC_TICKET_SUBMIT, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return Occurrences(pRun->InfoText(), "Not enough cash") == 1; })) << pRun->InfoText();
    App().SendRequest(MSG_KR, "||1002|10020|1|1|102|100|0|614||0|||secret");
    ASSERT_TRUE(PumpUntil([&] { return Occurrences(pRun->InfoText(), "Buy 1000 GHB at 842") == 1; }, 5000))
        << pRun->InfoText();
    PumpFor(200);
    EXPECT_EQ("101", ControlText(hDlg, IDC_TICKET_TICKER));
    EXPECT_EQ("99999999", ControlText(hDlg, IDC_TICKET_QUANTITY));
}

// The expiration instruction submitted twice (refused, then taken), then another symbol asked
// while the server holds all back: each answer is told once, naming what it is about, and the
// earlier answers leave what the trader typed since as it stands.
TEST_F(RepliesSession, ExpirationFormTellsEachInstructionsAnswer)
{
    Start(false, Held("XI"));
    App().OpenExpirationInstruction("ALPNLI", GetGlobals()->GetMarketName(16));
    const HWND hForm = ViewOf(App().GetExpirationForm());
    ASSERT_NE(nullptr, hForm);
    ASSERT_TRUE(PumpUntil([&] { return !ControlText(hForm, 6715).empty(); }, 5000));
    for (const char* pszContracts : {"50", "1"}) {
        SetDlgItemTextA(hForm, IDC_EXPIRY_CONTRACTS, pszContracts);
        NotifyControl(hForm, IDC_EXPIRY_SUBMIT, BN_CLICKED);
    }
    SetDlgItemTextA(hForm, IDC_EXPIRY_CONTRACTS, "2");
    SetDlgItemTextA(hForm, IDC_EXPIRY_SYMBOL, "ZZZZ");
    NotifyControl(hForm, IDC_EXPIRY_SYMBOL, EN_KILLFOCUS);
    ASSERT_TRUE(PumpUntil([&] { return Count("XI") == 4; }));
    const auto told = [&] { return "\n" + pRun->InfoText(); };
    PumpUntil([&] { return told().find("\nUnknown symbol") != std::string::npos; }, 5000);
    PumpFor(200);
    EXPECT_EQ(1u, Occurrences(told(), "\nQuantity must be at least 5 shares\n")) << told();
    EXPECT_EQ(1u, Occurrences(told(), "\nThe expiration instruction of ALPNLI is recorded: 1 contracts to exercise at expiration.\n"))
        << told();
    EXPECT_EQ(1u, Occurrences(told(), "\nUnknown symbol ZZZZ\n")) << told();
    EXPECT_EQ("ZZZZ", ControlText(hForm, IDC_EXPIRY_SYMBOL));
    EXPECT_EQ("2", ControlText(hForm, IDC_EXPIRY_CONTRACTS));
}
