// The KSE tickets (forms 7139 and 7265) end to end as the trader: each order is checked,
// reviewed with the trading password, sent and acknowledged, and the bodies the server received
// match a table written from the tickets' message layouts; a reply counts only in the form that
// asked; what is sent is what was reviewed; refusals send nothing; pictures in both languages.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/FormMDIWnd.h"
#include "market/TableLinks.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/PlaceOrderKSEDlg.h"
#include "orders/PlaceOrderOddLotKSEDlg.h"
#include "orders/ReviewDialog.h"
#include "platform/win/user/TestAnswers.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/orders/OrderTestSupport.h"

namespace {
struct KseTickets : COrderSession
{
    // The form's slot outlives the test: the session's end destroys the frame and clears it.
    CPlaceOrderKSEDlg* Open(UINT nFormId)
    {
        static CFormMDIWnd* s_pFrames[2];
        CFormMDIWnd** ppSlot = &s_pFrames[nFormId == IDD_FORM_KSE_TICKET ? 0 : 1];
        *ppSlot = nullptr;
        App().OpenFormWindow(ppSlot, nFormId);
        PumpPending();
        return *ppSlot != nullptr ? dynamic_cast<CPlaceOrderKSEDlg*>((*ppSlot)->GetView()) : nullptr;
    }
    // Submit, the review answered with the password (or by the step given), until the order's
    // reply was taken.
    void SubmitAndConfirm(CPlaceOrderKSEDlg* pForm, std::function<void(HWND)> during = nullptr)
    {
        const size_t nOrders = Count("KR");
        RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND h) {
                             if (during)
                                 during(h);
                             TypeText("secret");
                             ClickControl(h, IDOK);
                         }}});
        NotifyControl(pForm->m_hWnd, IDC_ORDER_FORM_SUBMIT, BN_CLICKED);
        ASSERT_TRUE(PumpUntil([&] { return Count("KR") == nOrders + 1 && !pForm->GetPending().IsOrderPending(); }))
            << pRun->InfoText();
        EXPECT_TRUE(FinishedSteps());
    }
};

// A click goes through the display's queue.
void Click(HWND h, int nId)
{
    ClickControl(h, nId);
    PumpPending();
}

void Fill(HWND h, int nSide, const char* pszStock, const char* pszQuantity, int nType,
          std::vector<std::pair<int, const char*>> prices)
{
    Click(h, nSide);
    ChooseItem(h, IDC_KSE_STOCK, pszStock);
    EnterText(h, IDC_KSE_QUANTITY, pszQuantity);
    Click(h, nType);
    for (const auto& price : prices)
        EnterText(h, price.first, price.second);
}

struct KSE_ORDER
{
    const char* pszName;
    UINT nForm;
    std::function<void(KseTickets&, HWND)> fill;
    std::vector<std::string> check, order;      // the bodies, field by field
    const char* pszAcknowledged;
};

TEST_F(KseTickets, EachOrderIsCheckedReviewedSentAndAcknowledged)
{
    Start(false);
    const KSE_ORDER orders[] = {
        {"regular board, a limit purchase with the ticket flag", IDD_FORM_KSE_TICKET,
         [](KseTickets&, HWND h) {
             Fill(h, IDC_KSE_SIDE_BUY, "GHB / 101", "1,000", IDC_KSE_TYPE_LIMIT, {{IDC_KSE_LIMIT, "842"}});
             CheckDlgButton(h, IDC_KSE_FLAG, BST_CHECKED);
         },
         {"", "", "1002", "10020", "1", "1", "101", "1000", "0", "842", "", "0", "", "", "", "0"},
         {"", "", "1002", "10020", "1", "1", "101", "1000", "0", "842", "", "0", "", "", "secret", "", "", "", "", "0"},
         "accepted: account 10020, Buy 1000 GHB at 842.0 Limit."},
        {"regular board, a stop-limit sale till a Sunday moved to the Friday", IDD_FORM_KSE_TICKET,
         [](KseTickets& s, HWND h) {
             s.clock.tNow = LocalMorning(2026, 12, 8);       // a Tuesday; five days is a Sunday
             GetGlobals()->SetClockSource(&s.clock);
             Fill(h, IDC_KSE_SIDE_SELL, "AWT / 107", "100", IDC_KSE_TYPE_STOP_LIMIT,
                  {{IDC_KSE_STOP_2, "1100"}, {IDC_KSE_LIMIT_2, "1125"}});
             Click(h, IDC_KSE_VALIDITY_FIRST + 3);
             EnterText(h, IDC_KSE_DAYS, "5");
         },
         // A sale carries no flag: the body ends at its last field set.
         {"", "", "1002", "10020", "1", "2", "107", "100", "2", "1125", "1100", "1", "3", "261211"},
         {"", "", "1002", "10020", "1", "2", "107", "100", "2", "1125", "1100", "1", "3", "261211", "secret"},
         "accepted: account 10020, Sell 100 AWT at 1100.0 Stop 1125.0 Limit Good till date 11/12/2026."},
        // A purchase starts with the flag the last one kept: set.
        {"odd-lot board, a limit purchase, the stock typed", IDD_FORM_ODD_LOT_TICKET,
         [](KseTickets&, HWND h) {
             Click(h, IDC_KSE_SIDE_BUY);
             SetDlgItemTextA(h, IDC_KSE_STOCK, "GHB / 101");
             NotifyControl(h, IDC_KSE_STOCK, CBN_KILLFOCUS);
             EnterText(h, IDC_KSE_QUANTITY, "50");
             Click(h, IDC_KSE_TYPE_STOP);                // the odd-lot board's limit order
             EnterText(h, IDC_KSE_LIMIT, "842");
         },
         {"", "", "1002", "10020", "2", "1", "101", "50", "0", "842", "", "", "", "", "", "0"},
         {"", "", "1002", "10020", "2", "1", "101", "50", "0", "842", "", "", "", "", "secret", "", "", "", "", "0"},
         "accepted: account 10020, Buy 50 GHB at 842.00 Limit."},
    };
    for (const KSE_ORDER& order : orders) {
        SCOPED_TRACE(order.pszName);
        CPlaceOrderKSEDlg* pForm = Open(order.nForm);
        ASSERT_NE(nullptr, pForm);
        const HWND hDlg = pForm->m_hWnd;
        order.fill(*this, hDlg);
        ASSERT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, IDC_ORDER_FORM_SUBMIT)));
        SubmitAndConfirm(pForm);
        EXPECT_EQ(order.check, BodyOf(Requests({"KV"}).back()));
        EXPECT_EQ(order.order, BodyOf(Requests({"KR"}).back()));
        EXPECT_NE(std::string::npos, pRun->InfoText().find(std::string(order.pszAcknowledged) + "\n")) << pRun->InfoText();
        EXPECT_EQ("", ControlText(hDlg, IDC_KSE_STOCK)) << "cleared for the next order";
        SendMessageA(GetParent(hDlg), WM_CLOSE, 0, 0);
        PumpPending();
    }
    EXPECT_EQ("", OrdersWithoutCheck(server.Log()));
}

// With the order ticket open beside the KSE ticket and waiting for a "KV" of its own (the test
// server answers a quantity of 999 under another number), one Submit in the KSE ticket opens one
// review and sends one order, and the order ticket stays as it was; what is sent is what was
// submitted, whatever the form becomes during the review; a close during the review sends
// nothing and the form goes after.
TEST_F(KseTickets, RepliesCountOnlyInTheFormThatAskedAndTheOrderIsWhatWasReviewed)
{
    Start(false);
    CNewPlaceOrderDlg* pTicket = Command(33049);
    ASSERT_NE(nullptr, pTicket);
    ChooseItem(pTicket->m_hWnd, IDC_TICKET_SIDE, static_cast<LPCSTR>(LoadMarketText(55045)));
    SetDlgItemTextA(pTicket->m_hWnd, IDC_TICKET_TICKER, "101");
    EnterText(pTicket->m_hWnd, IDC_TICKET_QUANTITY, "999");
    EnterText(pTicket->m_hWnd, IDC_TICKET_LIMIT, "842");
    int nReviews = 0;
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND h) {
                         ++nReviews;
                         ClickControl(h, IDCANCEL);
                     }}});
    NotifyControl(pTicket->m_hWnd, IDC_TICKET_SUBMIT, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return Lines("KV").find("> ~KV|99999|") != std::string::npos; })) << Lines("KV");
    PumpFor(200);
    ClearDialogSteps();
    ASSERT_EQ(0, nReviews) << "a reply under another number is not the ticket's own";
    ASSERT_TRUE(pTicket->GetPending().IsCheckPending());
    CPlaceOrderKSEDlg* pForm = Open(IDD_FORM_KSE_TICKET);
    ASSERT_NE(nullptr, pForm);
    const HWND hDlg = pForm->m_hWnd;
    Fill(hDlg, IDC_KSE_SIDE_BUY, "GHB / 101", "1000", IDC_KSE_TYPE_LIMIT, {{IDC_KSE_LIMIT, "842"}});
    SubmitAndConfirm(pForm, [&](HWND h) {
        ++nReviews;
        Fill(hDlg, IDC_KSE_SIDE_SELL, "AWT / 107", "5", IDC_KSE_TYPE_LIMIT, {{IDC_KSE_LIMIT, "900"}});
        SetFocus(GetDlgItem(h, IDC_REVIEW_PASSWORD));
    });
    PumpFor(200);
    EXPECT_EQ(1, nReviews);
    EXPECT_EQ(2u, Count("KV"));
    EXPECT_EQ(1u, Count("KR"));
    const std::vector<std::string> check = BodyOf(Requests({"KV"}).back());
    const std::vector<std::string> order = BodyOf(Requests({"KR"}).back());
    ASSERT_GE(order.size(), 14u);
    EXPECT_EQ(std::vector<std::string>(check.begin(), check.begin() + 14), std::vector<std::string>(order.begin(), order.begin() + 14));
    EXPECT_EQ("101", ControlText(pTicket->m_hWnd, IDC_TICKET_TICKER)) << "the order ticket keeps its order";
    EXPECT_TRUE(pTicket->GetPending().IsCheckPending()) << "still waiting for its own";

    Fill(hDlg, IDC_KSE_SIDE_BUY, "GHB / 101", "1000", IDC_KSE_TYPE_LIMIT, {{IDC_KSE_LIMIT, "842"}});
    bool bReviewed = false;
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND) {
                         bReviewed = true;
                         TypeText("secret");
                         PostMessageA(GetParent(hDlg), WM_CLOSE, 0, 0);
                     }}});
    NotifyControl(hDlg, IDC_ORDER_FORM_SUBMIT, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return bReviewed && !IsWindow(hDlg); }));
    PumpFor(200);
    EXPECT_EQ(1u, Count("KR"));
}

// Refused at Submit: the text at priority 2, nothing sent, nothing pending, Submit enabled.
TEST_F(KseTickets, RefusedOrdersSendNothing)
{
    Start(false);
    CPlaceOrderKSEDlg* pForm = Open(IDD_FORM_KSE_TICKET);
    ASSERT_NE(nullptr, pForm);
    const HWND hDlg = pForm->m_hWnd;
    Fill(hDlg, IDC_KSE_SIDE_BUY, "GHB / 101", "1000", IDC_KSE_TYPE_LIMIT, {{IDC_KSE_LIMIT, "842"}});
    for (const bool bLinkDown : {false, true}) {
        SCOPED_TRACE(bLinkDown ? "the link down" : "a typed text that is no stock");
        if (bLinkDown) {
            TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDOK, ""});     // the connection's loss is told
            server.Stop();
            ASSERT_TRUE(PumpUntil([&] { return !App().IsConnected(); }));
            ChooseItem(hDlg, IDC_KSE_STOCK, "GHB / 101");
        } else {
            SetDlgItemTextA(hDlg, IDC_KSE_STOCK, "10|1");
        }
        const UINT nText = bLinkDown ? IDS_ORDER_NOT_CONNECTED : IDS_ORDER_NO_TICKER;
        const int nShown = pRun->CountInfoLines(nText);
        const size_t nChecks = Count("KV");
        NotifyControl(hDlg, IDC_ORDER_FORM_SUBMIT, BN_CLICKED);
        PumpFor(100);
        EXPECT_EQ(nShown + 1, pRun->CountInfoLines(nText)) << pRun->InfoText();
        EXPECT_FALSE(pForm->GetPending().IsCheckPending());
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, IDC_ORDER_FORM_SUBMIT)));
        EXPECT_EQ(nChecks, Count("KV"));
    }
}

void ShootBothForms(KseTickets& s, const std::string& strLanguage)
{
    for (UINT nForm : {IDD_FORM_KSE_TICKET, IDD_FORM_ODD_LOT_TICKET}) {
        CPlaceOrderKSEDlg* pForm = s.Open(nForm);
        ASSERT_NE(nullptr, pForm);
        const HWND hDlg = pForm->m_hWnd;
        Click(hDlg, IDC_KSE_SIDE_BUY);
        SendDlgItemMessageA(hDlg, IDC_KSE_STOCK, CB_SETCURSEL, 0, 0);
        NotifyControl(hDlg, IDC_KSE_STOCK, CBN_SELCHANGE);
        EnterText(hDlg, IDC_KSE_QUANTITY, "1000");
        EnterText(hDlg, IDC_KSE_LIMIT, "842");
        PumpFor(50);
        char szTitle[256] = "";
        GetWindowTextA(GetParent(hDlg), szTitle, sizeof szTitle);
        EXPECT_EQ(std::string(LoadMarketText(nForm)), szTitle);
        const std::string strName = nForm == IDD_FORM_KSE_TICKET ? "orders_kse_ticket_" : "orders_kse_odd_lot_ticket_";
        EXPECT_TRUE(SaveDialogScreenshot(GetParent(hDlg), strName + strLanguage));
    }
}

TEST_F(KseTickets, BothFormsInEnglish)
{
    Start(false);
    ShootBothForms(*this, "en");
}

TEST_F(KseTickets, BothFormsInArabic)
{
    Start(true);
    ShootBothForms(*this, "ar");
}
}  // namespace
