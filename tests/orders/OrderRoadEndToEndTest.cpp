// The order road end to end as the trader against the test server: each kind of order is
// checked, reviewed with the trading password, sent and acknowledged, and every body the server
// received is compared field by field with one table written from the order messages' layouts;
// the server's refusals show their texts; replies count only in the ticket that asked; what is
// sent is what was reviewed; refusals at Submit send nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "account/AccountTable.h"
#include "account/OrderStatusKSETable.h"
#include "account/OrderStatusTable.h"
#include "app/FormMDIWnd.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "app/NorvMainFrame.h"
#include "app/ZorvatApp.h"
#include "framework/base/SettingsFile.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/TableLinks.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/OrderForms.h"
#include "orders/OrderRequests.h"
#include "orders/ReviewDialog.h"
#include "orders/ReviewOrderKSEDlg.h"
#include "platform/win/user/TestAnswers.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/TerminalRun.h"
#include "tests/link/LinkSessionSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/orders/OrderTestSupport.h"

namespace {
using OrderRoadSession = COrderSession;

// ---- The roads -----------------------------------------------------------------------------

struct ROAD
{
    const char* pszName;
    UINT nCommand;
    long nMarket;                   // chosen by the user; 0: the command's own
    std::function<void(OrderRoadSession&, HWND)> fill;     // the order typed into the ticket
    const char* pszCheck;
    const char* pszOrder;
    // The bodies the server must receive, field by field; the order's password is "secret".
    std::vector<std::string> check, order;
    const char* pszAcknowledged;    // the information window's line
    std::vector<std::pair<int, std::string>> reviewed = {};     // controls of the review, and their texts
};

// US market 4 (Harbor), KSE regular board, KSE forward market, the option series of market 16.
const std::vector<ROAD>& Roads()
{
    static const std::vector<ROAD> roads = {
        {"us_limit", 33100, 4,
         [](OrderRoadSession&, HWND h) {
             SetDlgItemTextA(h, IDC_TICKET_TICKER, "ALPN");
             EnterText(h, IDC_TICKET_QUANTITY, "1,000");
             EnterText(h, IDC_TICKET_LIMIT, "10.5");
         },
         "OV", "OR",
         {"1002", "10020", "1", "ALPN", "1000", "0", "10.5", "", "0", "", "", "", "4", "", "", "", "", "", "", "", "1"},
         {"1002", "10020", "1", "ALPN", "1000", "0", "10.5", "", "0", "", "", "secret", "", "", "", "", "4", "", "", "",
          "", "", "", "", "1"},
         "Order 1 accepted: account 10020, Buy 1000 ALPN at 10.5000 Limit.",
         // Cash balance, order value, net amount, buying power, cash after the order, no series.
         {{6644, "2,000,000.00"}, {5745, "10,500.00"}, {5746, "10,510.82"}, {6643, "2,000,000.00"},
          {6639, "1,989,489.18"}, {6550, "0.307"}, {5996, ""}, {5997, "Harbor Exchange"}}},
        {"kse_regular", 33049, 0,
         [](OrderRoadSession&, HWND h) {
             SetDlgItemTextA(h, IDC_TICKET_TICKER, "101");
             EnterText(h, IDC_TICKET_QUANTITY, "1,000");
             EnterText(h, IDC_TICKET_LIMIT, "842");
         },
         "KV", "KR",
         {"", "", "1002", "10020", "1", "1", "101", "1000", "0", "842", "", "0", "", "", "", "1"},
         {"", "", "1002", "10020", "1", "1", "101", "1000", "0", "842", "", "0", "", "", "secret", "", "", "", "",
          "1"},
         "Order 2 accepted: account 10020, Buy 1000 GHB at 842.0 Limit."},
        {"kse_forward", 33269, 0,
         [](OrderRoadSession&, HWND h) {
             SetDlgItemTextA(h, IDC_TICKET_TICKER, "101");
             EnterText(h, IDC_TICKET_QUANTITY, "100");
             ChooseItem(h, IDC_TICKET_FILL_RULE, static_cast<LPCSTR>(LoadMarketText(57554)));
             ChooseItem(h, IDC_TICKET_TENOR, "1");
             EnterText(h, IDC_TICKET_MARKET_MAKER, "7");
             EnterText(h, IDC_TICKET_LIMIT, "850");
         },
         "KU", "KA",
         {"", "", "1002", "10020", "1", "101", "100", "7", "3", "1", "850", "", "1"},
         {"", "", "1002", "10020", "1", "101", "100", "7", "3", "1", "850", "secret"},
         "Forward order 900001 accepted: account 10020, Buy 100 Gulf Harbour Bank (101) at 850.0.",
         // Commission and the other charges, and the net amount that books them all.
         {{5816, "2.000"}, {5817, "0.021"}, {5818, "0.009"}, {5746, "87.030"}, {5761, "All or none"}}},
        {"kse_forward_makers_decimals", 33269, 0,
         [](OrderRoadSession&, HWND h) {
             SetDlgItemTextA(h, IDC_TICKET_TICKER, "101");
             EnterText(h, IDC_TICKET_QUANTITY, "100");
             ChooseItem(h, IDC_TICKET_FILL_RULE, static_cast<LPCSTR>(LoadMarketText(57554)));
             ChooseItem(h, IDC_TICKET_TENOR, "1");
             EnterText(h, IDC_TICKET_MARKET_MAKER, "7");
             EnterText(h, IDC_TICKET_LIMIT, "849.585");
         },
         "KU", "KA",
         {"", "", "1002", "10020", "1", "101", "100", "7", "3", "1", "849.585", "", "1"},
         {"", "", "1002", "10020", "1", "101", "100", "7", "3", "1", "849.585", "secret"},
         "Forward order 900002 accepted: account 10020, Buy 100 Gulf Harbour Bank (101) at 849.585.",
         {{5749, "849.585"}}},
        {"kse_contract", 33273, 0,
         [](OrderRoadSession&, HWND h) {
             SetDlgItemTextA(h, IDC_TICKET_TICKER, "107");
             EnterText(h, IDC_TICKET_QUANTITY, "100");
             EnterText(h, IDC_TICKET_CONTRACT, "12");
             SetPickerDate(h, IDC_TICKET_CONTRACT_DATE, 2026, 12, 20);
             EnterText(h, IDC_TICKET_LIMIT, "1125");
         },
         "KJ", "KQ",
         // No maker named: the contract's opener names one, the command none.
         {"", "", "1002", "10020", "261220", "12", "", "2", "107", "100", "0", "1125", "", "0", ""},
         {"", "", "1002", "10020", "261220", "12", "0", "2", "107", "100", "0", "1125", "", "0", "", "", "secret"},
         "Order S00000003 accepted: account 10020, Sell 100 AWT at 1125.0 Limit."},
        {"us_pre_market", 33306, 4,
         [](OrderRoadSession&, HWND h) {
             SetDlgItemTextA(h, IDC_TICKET_TICKER, "ALPN");
             EnterText(h, IDC_TICKET_QUANTITY, "100");
             EnterText(h, IDC_TICKET_LIMIT, "10.5");
         },
         "OV", "OR",
         {"1002", "10020", "1", "ALPN", "100", "0", "10.5", "", "0", "", "", "", "4", "", "1", "", "", "", "", "", "1"},
         {"1002", "10020", "1", "ALPN", "100", "0", "10.5", "", "0", "", "", "secret", "", "", "", "", "4", "", "1", "",
          "", "", "", "", "1"},
         "Order 4 accepted: account 10020, Buy 100 ALPN at 10.5000 Limit."},
        {"us_good_till_date", 33100, 4,
         [](OrderRoadSession& s, HWND h) {
             // Tuesday 8 December 2026 and five days: the 13th, in the server's date form.
             s.clock.tNow = LocalMorning(2026, 12, 8);
             GetGlobals()->SetClockSource(&s.clock);
             SetDlgItemTextA(h, IDC_TICKET_TICKER, "QNTL");
             EnterText(h, IDC_TICKET_QUANTITY, "100");
             EnterText(h, IDC_TICKET_LIMIT, "10.5");
             ChooseItem(h, IDC_TICKET_VALIDITY, static_cast<LPCSTR>(LoadMarketText(55054)));
             EnterText(h, IDC_TICKET_DAYS, "5");
         },
         "OV", "OR",
         {"1002", "10020", "1", "QNTL", "100", "0", "10.5", "", "1", "5", "261213", "", "4", "", "", "", "", "", "", "", "1"},
         {"1002", "10020", "1", "QNTL", "100", "0", "10.5", "", "1", "5", "261213", "secret", "", "", "", "", "4", "", "", "",
          "", "", "", "", "1"},
         "Order 5 accepted: account 10020, Buy 100 QNTL at 10.5000 Limit Good till date 13/12/2026."},
        {"us_market_order_dated", 33100, 4,
         [](OrderRoadSession&, HWND h) {
             // A market order carries no days nor date, whatever its validity.
             ChooseItem(h, IDC_TICKET_SIDE, static_cast<LPCSTR>(LoadMarketText(55045)));
             SetDlgItemTextA(h, IDC_TICKET_TICKER, "ALPN");
             EnterText(h, IDC_TICKET_QUANTITY, "10");
             ChooseItem(h, IDC_TICKET_TYPE, static_cast<LPCSTR>(LoadMarketText(55051)));
             ChooseItem(h, IDC_TICKET_VALIDITY, static_cast<LPCSTR>(LoadMarketText(55054)));
             EnterText(h, IDC_TICKET_DAYS, "5");
         },
         "OV", "OR",
         {"1002", "10020", "1", "ALPN", "10", "3", "", "", "1", "", "", "", "4", "", "", "", "", "", "", "", "1"},
         {"1002", "10020", "1", "ALPN", "10", "3", "", "", "1", "", "", "secret", "", "", "", "", "4", "", "", "", "", "",
          "", "", "1"},
         "Order 6 accepted: account 10020, Buy 10 ALPN at Market."},
        {"us_option", 33100, 16,
         [](OrderRoadSession& s, HWND h) {
             s.AskOptionSeries(h, "CDRX");
             ChooseItem(h, IDC_TICKET_RIGHT, static_cast<LPCSTR>(LoadMarketText(57172)));
             ChooseItem(h, IDC_TICKET_EXPIRY, "2027/01");
             SetDlgItemTextA(h, IDC_TICKET_TICKER, "CDRX");
             EnterText(h, IDC_TICKET_QUANTITY, "2");
             EnterText(h, IDC_TICKET_LIMIT, "3.4");
             EnterText(h, IDC_TICKET_EXTRA, "W1");
         },
         "OV", "OR",
         {"1002", "10020", "1", "CDRX", "2", "0", "3.4", "", "0", "", "", "", "16", "", "", "CDRX", "1", "65.00", "270115",
          "W1", "1"},
         {"1002", "10020", "1", "CDRX", "2", "0", "3.4", "", "0", "", "", "secret", "", "", "", "", "16", "", "", "CDRX",
          "1", "65.00", "270115", "W1", "1"},
         "Order 7 accepted: account 10020, Buy 2 CDRX Call 65.00 15/01/2027 at 3.4000 Limit.",
         // Two contracts of 100 shares, with the options board's charges.
         {{5996, "CDRX Call 65.00 15/01/2027"}, {5997, "Options Board"}, {5745, "680.00"}, {5746, "688.05"}}},
        // F3 on the options board opens it for a new order: the shares themselves.
        {"options_board_shares", 33100, 16,
         [](OrderRoadSession&, HWND h) {
             ChooseItem(h, IDC_TICKET_SIDE, static_cast<LPCSTR>(LoadMarketText(55045)));
             SetDlgItemTextA(h, IDC_TICKET_TICKER, "CDRX");
             EnterText(h, IDC_TICKET_QUANTITY, "2");
             EnterText(h, IDC_TICKET_LIMIT, "3.4");
         },
         "OV", "OR",
         {"1002", "10020", "1", "CDRX", "2", "0", "3.4", "", "0", "", "", "", "16", "", "", "", "", "", "", "", "1"},
         {"1002", "10020", "1", "CDRX", "2", "0", "3.4", "", "0", "", "", "secret", "", "", "", "", "16", "", "", "", "",
          "", "", "", "1"},
         "Order 8 accepted: account 10020, Buy 2 CDRX at 3.4000 Limit.",
         {{5996, ""}, {5745, "6.80"}}},
    };
    return roads;
}

const ROAD& FindRoad(const std::string& strName)
{
    for (const ROAD& road : Roads())
        if (strName == road.pszName)
            return road;
    throw std::invalid_argument(strName);
}

// The road's ticket opened by its command, on its market, with its order typed in; one open
// with the last road's order left unsent is emptied first (a command leaves an order begun whole).
CNewPlaceOrderDlg* OpenRoad(OrderRoadSession& s, const ROAD& road)
{
    if (CFormMDIWnd* pOpen = s.App().GetOrderTicketForm();
        pOpen != nullptr && dynamic_cast<CNewPlaceOrderDlg*>(pOpen->GetView())->HoldsBegunOrder()) {
        ClickControl(pOpen->GetView()->m_hWnd, IDC_TICKET_RESET);
        PumpPending();
    }
    CNewPlaceOrderDlg* pTicket = s.Command(road.nCommand);
    if (pTicket == nullptr)
        return nullptr;
    if (road.nMarket != 0)
        ChooseItem(pTicket->m_hWnd, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(road.nMarket)));
    road.fill(s, pTicket->m_hWnd);
    return pTicket;
}

// Submit, the review answered with the password and OK; true once the order's reply came.
bool SubmitConfirmed(OrderRoadSession& s, CNewPlaceOrderDlg* pTicket, const ROAD& road)
{
    const size_t nOrders = s.Count(road.pszOrder);
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [&road](HWND h) {
                   for (const auto& shown : road.reviewed) {
                       EXPECT_EQ(shown.second, ControlText(h, shown.first)) << shown.first;
                   }
                   TypeText("secret");
                   ClickControl(h, IDOK);
               }}});
    NotifyControl(pTicket->m_hWnd, IDC_TICKET_SUBMIT, BN_CLICKED);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(pTicket->m_hWnd, IDC_TICKET_SUBMIT))) << "waiting for the check";
    return PumpUntil([&] { return s.Count(road.pszOrder) == nOrders + 1 && !pTicket->GetPending().IsOrderPending(); }) &&
           FinishedSteps();
}

TEST_F(OrderRoadSession, EachRoadIsCheckedReviewedSentAndAcknowledged)
{
    Start(false);
    for (const ROAD& road : Roads()) {
        SCOPED_TRACE(road.pszName);
        CNewPlaceOrderDlg* pTicket = OpenRoad(*this, road);
        ASSERT_NE(nullptr, pTicket);
        const size_t nChecks = Count(road.pszCheck);
        std::vector<std::string> kept;
        for (int nId : {IDC_TICKET_MARKET, IDC_TICKET_TYPE, IDC_TICKET_VALIDITY, IDC_TICKET_DAYS})
            kept.push_back(ControlText(pTicket->m_hWnd, nId));
        ASSERT_TRUE(SubmitConfirmed(*this, pTicket, road)) << pRun->InfoText();
        EXPECT_EQ(nChecks + 1, Count(road.pszCheck));
        EXPECT_EQ(road.check, BodyOf(Requests({road.pszCheck}).back()));
        EXPECT_EQ(road.order, BodyOf(Requests({road.pszOrder}).back()));
        EXPECT_NE(std::string::npos, pRun->InfoText().find(std::string(road.pszAcknowledged) + "\n")) << pRun->InfoText();
        for (int nId : {IDC_TICKET_TICKER, IDC_TICKET_QUANTITY, IDC_TICKET_DESCRIPTION, IDC_TICKET_STOP, IDC_TICKET_LIMIT})
            EXPECT_EQ("", ControlText(pTicket->m_hWnd, nId)) << "cleared for the next order: control " << nId;
        std::vector<std::string> after;
        for (int nId : {IDC_TICKET_MARKET, IDC_TICKET_TYPE, IDC_TICKET_VALIDITY, IDC_TICKET_DAYS})
            after.push_back(ControlText(pTicket->m_hWnd, nId));
        // A market order's lookup puts a dated validity back to the day (the type's own rule).
        if (std::string(road.pszName) == "us_market_order_dated")
            std::copy(after.begin() + 2, after.end(), kept.begin() + 2);
        EXPECT_EQ(kept, after) << "market, type, validity and days stay for the next order";
        const bool bSideKept = SendDlgItemMessageA(pTicket->m_hWnd, IDC_TICKET_SIDE, CB_GETCURSEL, 0, 0) != CB_ERR;
        EXPECT_EQ(std::string(road.pszOrder) == "KA", bSideKept) << "the side kept after a forward order only";
        EXPECT_EQ(bSideKept, pTicket->GetFormColour() != GetSysColor(COLOR_BTNFACE)) << "the form's colour is its side's";
    }
    EXPECT_EQ("", OrdersWithoutCheck(server.Log()));
}

// Two orders one after the other in one ticket, each by its own road (command, market, fields):
// the second sends, reviews and acknowledges what its road shows, nothing the first one left in
// a field its market hides.
TEST_F(OrderRoadSession, TheNextOrderInOneTicketCarriesNothingOfTheLast)
{
    const std::pair<const char*, const char*> pairs[] = {
        {"us_option", "us_limit"}, {"us_option", "kse_regular"}, {"us_limit", "us_option"},
        {"kse_regular", "us_limit"}, {"kse_forward", "kse_regular"}, {"kse_forward", "kse_contract"},
    };
    for (const auto& pair : pairs) {
        SCOPED_TRACE(std::string(pair.first) + " then " + pair.second);
        Start(false);
        for (const char* pszRoad : {pair.first, pair.second}) {
            // The cash the review shows is what the order before left.
            ROAD road = FindRoad(pszRoad);
            std::erase_if(road.reviewed, [](const auto& shown) { return shown.first == 6644 || shown.first == 6643 || shown.first == 6639; });
            CNewPlaceOrderDlg* pTicket = OpenRoad(*this, road);
            ASSERT_NE(nullptr, pTicket);
            ASSERT_TRUE(SubmitConfirmed(*this, pTicket, road)) << pRun->InfoText();
            EXPECT_EQ(road.check, BodyOf(Requests({road.pszCheck}).back()));
            EXPECT_EQ(road.order, BodyOf(Requests({road.pszOrder}).back()));
            // The order's number is its place among the session's orders.
            const std::string strAcknowledged = strchr(road.pszAcknowledged, ':');
            EXPECT_NE(std::string::npos, pRun->InfoText().find(strAcknowledged + "\n")) << pRun->InfoText();
        }
        TearDown();
    }
}

// The server's refusals show their texts in the information window, each a line of its own: a
// check's error sends no order; an order's error leaves the ticket as it was; ticker information
// of another market than the ticket's tells so.
TEST_F(OrderRoadSession, RefusalsShowTheServersText)
{
    const struct
    {
        const char* pszFail;            // the server's forced error, "" for none
        const char* pszRoad;
        const char* pszTicker;          // typed after the road's order and looked up; no Submit
        const char* pszShown;
    } cases[] = {
        {"KV=652", "kse_regular", nullptr, "Unknown symbol"},
        {"OV=428", "us_limit", nullptr, "Not enough cash: 0 available"},
        {"OV=433", "us_limit", nullptr, "The price must be a multiple of 0"},
        {"OV=652", "us_limit", nullptr, "Unknown symbol"},
        {"KA=442", "kse_forward", nullptr, "Quantity is below the least this order takes"},
        {"KQ=724", "kse_contract", nullptr, "This order is not open"},
        {"KQ=447", "kse_contract", nullptr, "The price is outside the day's limits"},
        {"", "us_limit", "GHB", "The symbol is traded on another market"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pszFail) + " " + c.pszRoad);
        Start(false, *c.pszFail != '\0' ? std::vector<std::string>{"--fail", c.pszFail} : std::vector<std::string>{});
        const ROAD& road = FindRoad(c.pszRoad);
        CNewPlaceOrderDlg* pTicket = OpenRoad(*this, road);
        ASSERT_NE(nullptr, pTicket);
        const HWND hDlg = pTicket->m_hWnd;
        const std::string strBefore = pRun->InfoText();
        const bool bOrderRefused = std::string(c.pszFail).rfind(road.pszOrder, 0) == 0;     // the order, not its check
        if (c.pszTicker != nullptr) {
            const LRESULT nTypes = SendDlgItemMessageA(hDlg, IDC_TICKET_TYPE, CB_GETCOUNT, 0, 0);
            SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, c.pszTicker);
            NotifyControl(hDlg, IDC_TICKET_TICKER, CBN_KILLFOCUS);
            ASSERT_TRUE(PumpUntil([&] { return pRun->InfoText().size() > strBefore.size(); })) << Lines("RN");
            EXPECT_EQ(nTypes, SendDlgItemMessageA(hDlg, IDC_TICKET_TYPE, CB_GETCOUNT, 0, 0)) << "the market shown keeps its choices";
        } else if (bOrderRefused) {
            ASSERT_TRUE(SubmitConfirmed(*this, pTicket, road));
            EXPECT_EQ(road.order, BodyOf(Requests({road.pszOrder}).back()));
            EXPECT_NE("", ControlText(hDlg, IDC_TICKET_TICKER)) << "kept for another try";
        } else {
            NotifyControl(hDlg, IDC_TICKET_SUBMIT, BN_CLICKED);
            ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_SUBMIT)) != FALSE; }));
            PumpFor(100);
            EXPECT_EQ(0u, Count(road.pszOrder));
        }
        const std::string strShown = "\n" + pRun->InfoText().substr(strBefore.size());
        EXPECT_NE(std::string::npos, strShown.find("\n" + std::string(c.pszShown) + "\n")) << strShown;
        TearDown();
    }
}
}  // namespace

namespace {
// The KSE regular board's purchase of 1,000 (or the quantity) of stock 101 at 842.
void FillKseOrder(HWND hDlg, const char* pszQuantity = "1000")
{
    ChooseItem(hDlg, IDC_TICKET_SIDE, static_cast<LPCSTR>(LoadMarketText(55045)));
    SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "101");
    EnterText(hDlg, IDC_TICKET_QUANTITY, pszQuantity);
    EnterText(hDlg, IDC_TICKET_LIMIT, "842");
}

void Submit(HWND hDlg)
{
    NotifyControl(hDlg, IDC_TICKET_SUBMIT, BN_CLICKED);
}

// Each reply reaches the ticket that asked for it and no other: with a second ticket open, one
// Submit opens one review and sends one order; a check under a number nobody sent opens none;
// and what is sent is what was submitted, whatever the form and the ticker information become
// in between.
TEST_F(OrderRoadSession, RepliesCountOnlyInTheTicketThatAskedAndTheOrderIsWhatWasSubmitted)
{
    Start(false);
    CNewPlaceOrderDlg* pTicket = Command(33049);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    // The frame's slot outlives the test: the session's end destroys the frame and clears it.
    static CFormMDIWnd* pSecondFrame;
    pSecondFrame = nullptr;
    App().OpenFormWindow(&pSecondFrame, IDD_FORM_ORDER_TICKET);
    ASSERT_NE(nullptr, pSecondFrame);
    auto* pSecond = dynamic_cast<CNewPlaceOrderDlg*>(pSecondFrame->GetView());
    ASSERT_NE(nullptr, pSecond);
    pSecond->SelectMarket(GetGlobals()->GetMarketName(2));
    ASSERT_TRUE(pSecond->SelectKseMarketType(1));
    SetDlgItemTextA(pSecond->m_hWnd, IDC_TICKET_TICKER, "101");
    FillKseOrder(hDlg);

    int nReviews = 0;
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND h) {
                   ++nReviews;
                   TypeText("secret");
                   ClickControl(h, IDOK);
               }}});
    Submit(hDlg);
    ASSERT_TRUE(PumpUntil([&] { return Count("KR") == 1 && !pTicket->GetPending().IsOrderPending(); }));
    PumpFor(200);
    EXPECT_EQ(1, nReviews);
    EXPECT_EQ(1u, Count("KV"));
    EXPECT_EQ(1u, Count("KR"));
    EXPECT_EQ("101", ControlText(pSecond->m_hWnd, IDC_TICKET_TICKER)) << "the other ticket keeps its order";
    EXPECT_FALSE(pSecond->GetPending().IsCheckPending());

    // A check reply under another number: no review, the ticket still waits for its own.
    const std::string strInfo = pRun->InfoText();
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND h) {
                   ++nReviews;
                   ClickControl(h, IDCANCEL);
               }}});
    FillKseOrder(hDlg, "999");       // the test server answers it under another number
    Submit(hDlg);
    ASSERT_TRUE(PumpUntil([&] {
        for (const std::string& line : server.Log())
            if (line.rfind("> ~KV|99999|", 0) == 0)
                return true;
        return false;
    })) << Lines("KV");
    PumpFor(300);
    EXPECT_EQ(1, nReviews);
    EXPECT_EQ(strInfo, pRun->InfoText());
    EXPECT_TRUE(pTicket->GetPending().IsCheckPending());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_SUBMIT)));
    ClearDialogSteps();

    // A second Submit supersedes the check still pending. The form changes before its check
    // comes back, and again, through the ticker information, while the review is open.
    FillKseOrder(hDlg);
    Submit(hDlg);
    ChooseItem(hDlg, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(4)));
    EnterText(hDlg, IDC_TICKET_QUANTITY, "5");
    RunDialogSteps({{IDC_REVIEW_PASSWORD,
               [&](HWND) {
                   ++nReviews;
                   SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "SLVT");
                   NotifyControl(hDlg, IDC_TICKET_TICKER, CBN_KILLFOCUS);
               }},
              {IDC_REVIEW_PASSWORD, [&](HWND h) {
                   EXPECT_TRUE(PumpUntil([&] { return ControlText(hDlg, IDC_TICKET_DESCRIPTION) == "Silvertide Biotech"; }))
                       << "the ticker information came during the review" << Lines("RN");
                   TypeText("secret");
                   ClickControl(h, IDOK);
               }}});
    ASSERT_TRUE(PumpUntil([&] { return Count("KR") == 2 && !pTicket->GetPending().IsOrderPending(); }));
    EXPECT_EQ(2, nReviews);
    const std::vector<std::string> check = BodyOf(Requests({"KV"}).back());
    const std::vector<std::string> order = BodyOf(Requests({"KR"}).back());
    ASSERT_GE(check.size(), 14u);
    ASSERT_GE(order.size(), 14u);
    EXPECT_EQ(std::vector<std::string>(check.begin(), check.begin() + 14), std::vector<std::string>(order.begin(), order.begin() + 14));
    EXPECT_EQ("101", order[6]);
    EXPECT_EQ("1000", order[7]);
    EXPECT_EQ("", OrdersWithoutCheck(server.Log()));
}

// Refused at Submit: a clear text at priority 2, nothing sent, nothing pending, Submit enabled.
TEST_F(OrderRoadSession, RefusedOrdersSendNothing)
{
    Start(false);
    CNewPlaceOrderDlg* pTicket = Command(33049);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    const struct
    {
        const char* pszName;
        const char* pszStock;
        const char* pszQuantity;
        const char* pszLimit;
        bool bLinkDown;
        UINT nText;
    } cases[] = {
        {"a bar in the symbol", "10|1", "1000", "842", false, IDS_ORDER_BAD_TEXT},
        {"a line break in the symbol", "10\n1", "1000", "842", false, IDS_ORDER_BAD_TEXT},
        {"a quantity above 2,147,483,647", "101", "3000000000", "842", false, IDS_ORDER_NO_QUANTITY},
        {"one above the largest quantity", "101", "2147483648", "842", false, IDS_ORDER_NO_QUANTITY},
        {"the largest quantity", "101", "2147483647", "842", false, 0},
        {"a price that is no number", "101", "1000", "8a2", false, IDS_ORDER_NO_PRICE},
        {"a price of more decimals than an order carries", "101", "1000", "842.12345", false, IDS_ORDER_PRICE_DECIMALS},
        {"no ticker", "", "1000", "842", false, IDS_ORDER_NO_TICKER},
        {"the link down", "101", "1000", "842", true, IDS_ORDER_NOT_CONNECTED},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        if (c.bLinkDown) {
            TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDOK, ""});     // the connection's loss is told
            server.Stop();
            ASSERT_TRUE(PumpUntil([&] { return !App().IsConnected(); }));
        }
        SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, c.pszStock);
        SetDlgItemTextA(hDlg, IDC_TICKET_QUANTITY, c.pszQuantity);
        SetDlgItemTextA(hDlg, IDC_TICKET_LIMIT, c.pszLimit);
        const size_t nChecks = c.bLinkDown ? 0 : Count("KV");
        const int nShown = c.nText != 0 ? pRun->CountInfoLines(c.nText) : 0;
        Submit(hDlg);
        if (c.nText == 0) {
            EXPECT_TRUE(pTicket->GetPending().IsCheckPending());
            EXPECT_TRUE(PumpUntil([&] { return Count("KV") == nChecks + 1; }));
            // Refused by the server: its text, and Submit again.
            EXPECT_TRUE(PumpUntil([&] { return !pTicket->GetPending().IsCheckPending() && IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_SUBMIT)); }));
            continue;
        }
        EXPECT_EQ(nShown + 1, pRun->CountInfoLines(c.nText)) << pRun->InfoText();
        EXPECT_FALSE(pTicket->GetPending().IsCheckPending());
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_SUBMIT)));
        if (!c.bLinkDown) {
            PumpFor(100);
            EXPECT_EQ(nChecks, Count("KV"));
        }
    }
}

// A price typed key by key is taken as typed, a maker's three decimals too; one of more decimals
// than an order carries is refused at Submit, told why, and never sent.
TEST_F(OrderRoadSession, TypedPricesAreTakenWholeOrRefusedForTheirDecimals)
{
    Start(false);
    const struct
    {
        const char* pszRoad;
        const char* pszTyped;
        UINT nText;                     // the refusal, 0 for none
    } cases[] = {
        {"kse_forward", "845.568", 0},
        {"kse_regular", "842.5", 0},
        {"us_limit", "48.1234", 0},
        {"us_limit", "48.12345", IDS_ORDER_PRICE_DECIMALS},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pszRoad) + " " + c.pszTyped);
        const ROAD& road = FindRoad(c.pszRoad);
        CNewPlaceOrderDlg* pTicket = OpenRoad(*this, road);
        ASSERT_NE(nullptr, pTicket);
        const HWND hDlg = pTicket->m_hWnd;
        SetDlgItemTextA(hDlg, IDC_TICKET_LIMIT, "");
        ::SetFocus(GetDlgItem(hDlg, IDC_TICKET_LIMIT));
        PumpPending();
        // Key by key, each taken before the next, as a trader types.
        for (const char* p = c.pszTyped; *p != '\0'; ++p) {
            TypeText(std::string(1, *p).c_str());
            PumpPending();
        }
        ::SetFocus(GetDlgItem(hDlg, IDC_TICKET_QUANTITY));
        PumpPending();
        EXPECT_EQ(c.pszTyped, ControlText(hDlg, IDC_TICKET_LIMIT));
        const size_t nChecks = Count(road.pszCheck);
        const int nShown = pRun->CountInfoLines(IDS_ORDER_PRICE_DECIMALS);
        RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) { ClickControl(h, IDCANCEL); }}});
        Submit(hDlg);
        PumpUntil([&] { return Count(road.pszCheck) > nChecks; }, 1000);
        PumpFor(200);
        ClearDialogSteps();
        EXPECT_EQ(nShown + (c.nText != 0 ? 1 : 0), pRun->CountInfoLines(IDS_ORDER_PRICE_DECIMALS)) << pRun->InfoText();
        ASSERT_EQ(nChecks + (c.nText != 0 ? 0 : 1), Count(road.pszCheck)) << Lines(road.pszCheck);
        const std::string strCheck = road.pszCheck;
        if (c.nText == 0) {
            EXPECT_EQ(c.pszTyped, BodyOf(Requests({strCheck}).back()).at(strCheck == "OV" ? 6 : strCheck == "KV" ? 9 : 10));
        }
    }

    // A digit past the most decimals a price field holds is refused as it is typed; leaving the
    // field says why by the price's decimals, not by what the field takes.
    const HWND hDlg = OpenRoad(*this, FindRoad("us_limit"))->m_hWnd;
    SetDlgItemTextA(hDlg, IDC_TICKET_LIMIT, "");
    ::SetFocus(GetDlgItem(hDlg, IDC_TICKET_LIMIT));
    PumpPending();
    for (const char* p = "48.1234567"; *p != '\0'; ++p) {
        TypeText(std::string(1, *p).c_str());
        PumpPending();
    }
    const int nDecimals = pRun->CountInfoLines(IDS_ORDER_PRICE_DECIMALS), nTaken = pRun->CountInfoLines(IDS_TICKET_PRICE_REFUSED);
    ::SetFocus(GetDlgItem(hDlg, IDC_TICKET_QUANTITY));
    PumpPending();
    EXPECT_EQ("48.123456", ControlText(hDlg, IDC_TICKET_LIMIT));
    EXPECT_EQ(nDecimals + 1, pRun->CountInfoLines(IDS_ORDER_PRICE_DECIMALS)) << pRun->InfoText();
    EXPECT_EQ(nTaken, pRun->CountInfoLines(IDS_TICKET_PRICE_REFUSED)) << pRun->InfoText();

    // The same price pasted whole is refused with the same reason, the field left as it was.
    SetDlgItemTextA(hDlg, IDC_TICKET_LIMIT, "");
    ::SetFocus(GetDlgItem(hDlg, IDC_TICKET_LIMIT));
    PumpPending();
    PasteInto(hDlg, IDC_TICKET_LIMIT, "48.1234567");
    PumpPending();
    ::SetFocus(GetDlgItem(hDlg, IDC_TICKET_QUANTITY));
    PumpPending();
    EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_LIMIT));
    EXPECT_EQ(nDecimals + 2, pRun->CountInfoLines(IDS_ORDER_PRICE_DECIMALS)) << pRun->InfoText();
    EXPECT_EQ(nTaken, pRun->CountInfoLines(IDS_TICKET_PRICE_REFUSED)) << pRun->InfoText();
}

// "New order from the selected order" in the US and the KSE order tables: the ticket shows the
// selected row's order, and submitted as it stands it checks the very order the row came from.
// The US order is a purchase good till a date, the KSE order a sale for the day (good till
// tomorrow); each row is loaded into the ticket the other one left.
TEST_F(OrderRoadSession, AnOrderRowPresetsTheTicketWithThatOrder)
{
    // The two order-status tables, for this test only: the other tables' notices would reach
    // the information window of the tests that follow.
    struct CStatusTables
    {
        CStatusTables()
        {
            RegisterTableMaker(IDS_TABLE_US_ORDERS, MakeDataTable<COrderStatusTable>);
            RegisterTableMaker(IDS_TABLE_KSE_ORDERS, MakeDataTable<COrderStatusKSETable>);
        }
        ~CStatusTables()
        {
            RegisterTableMaker(IDS_TABLE_US_ORDERS, nullptr);
            RegisterTableMaker(IDS_TABLE_KSE_ORDERS, nullptr);
        }
    } tables;
    ASSERT_TRUE(server.Start({}));
    pRun = std::make_unique<CTerminalRun>(false);
    pRun->m_onMakersRegistered = [] { RegisterOrderForms(); };
    ASSERT_TRUE(pRun->StartLoggedIn(server.Port(), "trader", "secret"));
    struct PRESET_CASE
    {
        const char* pszRoad;
        std::function<void(HWND)> change;   // typed over the road's order
        UINT nTable, nShowCommand;
        // The row's columns: side, symbol, quantity, order type, limit, validity.
        int nSide, nSymbol, nQuantity, nType, nLimit, nValidity;
        const char* pszGoodTill;
        const char* pszDays;
        std::vector<std::string> check;     // as the order was checked
    } cases[] = {
        {"us_good_till_date", [](HWND) {}, IDS_TABLE_US_ORDER_STATUS, 33101, 2, 3, 4, 5, 6, 8, "13/12/2026", "5", {}},
        {"kse_regular",
         [](HWND h) {
             ChooseItem(h, IDC_TICKET_SIDE, static_cast<LPCSTR>(LoadMarketText(55046)));
             SetDlgItemTextA(h, IDC_TICKET_TICKER, "107");     // held
             EnterText(h, IDC_TICKET_LIMIT, "1125");
         },
         IDS_TABLE_KSE_ORDER_STATUS, 33224, 4, 5, 9, 10, 11, 13, "09/12/2026", "1", {}},
    };
    CNewPlaceOrderDlg* pTicket = nullptr;
    for (PRESET_CASE& c : cases) {
        SCOPED_TRACE(c.pszRoad);
        const ROAD& road = FindRoad(c.pszRoad);
        pTicket = OpenRoad(*this, road);
        ASSERT_NE(nullptr, pTicket);
        c.change(pTicket->m_hWnd);
        CDataTable* pTable = FindDataTable(c.nTable);
        ASSERT_NE(nullptr, pTable);
        const int nRows = pTable->GetRows()->GetCount();
        ASSERT_TRUE(SubmitConfirmed(*this, pTicket, road)) << pRun->InfoText() << Lines(road.pszCheck);
        ASSERT_TRUE(PumpUntil([&] { return pTable->GetRows()->GetCount() == nRows + 1; }));
        c.check = BodyOf(Requests({road.pszCheck}).back());
    }
    clock.tNow = LocalMorning(2026, 12, 8);
    GetGlobals()->SetClockSource(&clock);
    for (const PRESET_CASE& c : cases) {
        SCOPED_TRACE(c.pszRoad);
        // The user shows the table, selects the order's row (the last one placed) and picks the
        // menu item.
        ASSERT_TRUE(App().RunCommand(c.nShowCommand));
        PumpPending();
        CDataTable* pTable = FindDataTable(c.nTable);
        CTableMDIWnd* pWindow = pTable->GetMainWindow();
        ASSERT_NE(nullptr, pWindow);
        CDataBuffer* pRow = nullptr;
        for (int i = 0; i < pTable->GetRows()->GetCount() && pRow == nullptr; ++i) {
            pWindow->GetGrid().SelectRow(i, 0, FALSE);
            if (CDataBuffer* pSelected = pTable->GetSelectedDataRow(); pSelected != nullptr && pSelected->GetText(c.nSymbol) ==
                                                                            c.check[c.nTable == IDS_TABLE_US_ORDER_STATUS ? 3 : 6].c_str())
                pRow = pSelected;
        }
        ASSERT_NE(nullptr, pRow);
        SendMessageA(pWindow->m_hWnd, WM_COMMAND, ID_ACCOUNT_TICKET_FROM_ORDER, 0);
        PumpPending();
        ASSERT_EQ(pTicket, dynamic_cast<CNewPlaceOrderDlg*>(App().GetOrderTicketForm()->GetView()));
        const HWND hDlg = pTicket->m_hWnd;
        const ORDER_TICKET_SNAPSHOT shot = pTicket->TakeSnapshot();
        const bool bKse = c.nTable == IDS_TABLE_KSE_ORDER_STATUS;
        const struct { const char* pszField; std::string strTicket, strRow; } fields[] = {
            {"market", ControlText(hDlg, IDC_TICKET_MARKET),
             std::string(bKse ? GetGlobals()->GetMarketName(2) : pRow->GetText(21))},
            {"side", ControlText(hDlg, IDC_TICKET_SIDE), std::string(pRow->GetText(c.nSide, TRUE))},
            {"ticker", ControlText(hDlg, IDC_TICKET_TICKER), std::string(pRow->GetText(c.nSymbol))},
            {"quantity", std::to_string(atof(shot.strQuantity)), std::to_string(pRow->GetDouble(c.nQuantity))},
            {"order type", ControlText(hDlg, IDC_TICKET_TYPE), std::string(pRow->GetText(c.nType, TRUE))},
            {"limit", std::to_string(atof(shot.strLimitPrice)), std::to_string(pRow->GetDouble(c.nLimit))},
            {"validity", ControlText(hDlg, IDC_TICKET_VALIDITY), std::string(pRow->GetText(c.nValidity, TRUE))},
            {"good till", std::string(shot.goodTill.Format("%d/%m/%Y")), c.pszGoodTill},
            {"days", ControlText(hDlg, IDC_TICKET_DAYS), c.pszDays},
            {"currency", ControlText(hDlg, IDC_TICKET_CURRENCY), bKse ? "=KWD" : std::string(pRow->GetText(22))},
            {"KSE market type", std::to_string(shot.nKseMarketType), bKse ? "1" : "-1"},     // the regular board
        };
        for (const auto& field : fields)
            EXPECT_EQ(field.strRow, field.strTicket) << field.pszField;

        RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) { ClickControl(h, IDCANCEL); }}});
        NotifyControl(hDlg, IDC_TICKET_SUBMIT, BN_CLICKED);
        ASSERT_TRUE(PumpUntil([&] { return FinishedSteps() && IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_SUBMIT)); }));
        // The same order checked again; a price may come back with its decimals.
        std::vector<std::string> again = BodyOf(Requests({FindRoad(c.pszRoad).pszCheck}).back());
        for (size_t i = 0; i < again.size() && i < c.check.size(); ++i)
            if (again[i] != c.check[i] && !c.check[i].empty() && atof(again[i].c_str()) == atof(c.check[i].c_str()))
                again[i] = c.check[i];
        EXPECT_EQ(c.check, again);
    }
    // An order no longer in its table leaves the ticket as it is.
    const std::string strTicker = ControlText(pTicket->m_hWnd, IDC_TICKET_TICKER);
    App().OpenOrderTicketFromOrderUS(987654);
    EXPECT_EQ(strTicker, ControlText(pTicket->m_hWnd, IDC_TICKET_TICKER));
}

// A close or a log-off while the review (titled a new order) is open ends it with Cancel:
// nothing is sent, and the form closes after; the log-off forgets the kept ticket flag.
// Disconnected with an order typed in the ticket and not sent: the ticket goes with the session,
// the information window names it and comes up from the icon row to tell it, and the ticket's
// place stays in the trader's own workspace, where the next login looks for it, not in the
// default file.
TEST_F(OrderRoadSession, DisconnectTellsOfTheUnsentOrderAndKeepsTheTicketsPlace)
{
    Start(false);
    CNewPlaceOrderDlg* pTicket = Command(33049);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    CFormMDIWnd* pFrame = static_cast<CFormMDIWnd*>(pTicket->GetParent());
    FillKseOrder(hDlg);
    const HWND hInfo = App().GetInfoTable()->GetDataTable()->GetMainWindow()->m_hWnd;
    ShowWindow(hInfo, SW_MINIMIZE);
    PumpPending();
    ASSERT_TRUE(IsIconic(hInfo));
    pFrame->SetWindowPos(nullptr, 37, 41, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const std::string strSection = std::to_string(pFrame->GetTemplateId()) + "-0";     // the form's own, in English
    CString strTitle;
    pFrame->GetWindowText(strTitle);
    const std::string strUserFile = static_cast<LPCSTR>(App().GetWorkspaceFile());
    App().Disconnect(FALSE);
    PumpFor(200);
    EXPECT_FALSE(IsWindow(hDlg));
    IInfoTable* pInfo = App().GetInfoTable();
    ASSERT_GT(pInfo->GetLineCount(), 0);
    EXPECT_EQ("Logged off: the order typed in " + std::string(strTitle) + " was not sent.",
              std::string(pInfo->GetLineCell(pInfo->GetLineCount() - 1, INFO_COL_TEXT)));
    EXPECT_FALSE(IsIconic(hInfo)) << "the line came up with its window";
    EXPECT_TRUE(IsWindowVisible(hInfo));
    auto place = [&](const std::string& strFile) {
        CSettingsFile file;
        file.Open(strFile.c_str());
        file.SetSection(strSection.c_str());
        WINDOWPLACEMENT wp = {};
        BOOL bMissing = TRUE;
        file.GetWindowPlacement(&wp, "WinPlace", nullptr, &bMissing);
        return bMissing ? std::string("none") : std::to_string(wp.rcNormalPosition.left) + "," + std::to_string(wp.rcNormalPosition.top);
    };
    EXPECT_EQ("37,41", place(strUserFile));
    EXPECT_EQ("none", place(static_cast<LPCSTR>(App().GetWorkspaceFile())));
}

TEST_F(OrderRoadSession, ClosingDuringTheReviewSendsNothing)
{
    Start(false);
    for (bool bLogoff : {false, true}) {
        SCOPED_TRACE(bLogoff ? "log-off" : "close");
        CNewPlaceOrderDlg* pTicket = Command(33049);
        ASSERT_NE(nullptr, pTicket);
        const HWND hDlg = pTicket->m_hWnd;
        FillKseOrder(hDlg);
        CheckDlgButton(hDlg, IDC_TICKET_FLAG, BST_CHECKED);
        bool bReviewed = false;
        RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND h) {
                       bReviewed = true;
                       char szTitle[256] = "";
                       GetWindowTextA(h, szTitle, sizeof szTitle);
                       EXPECT_EQ(std::string(LoadMarketText(IDS_REVIEW_TITLE_NEW)), szTitle);
                       TypeText("secret");
                       if (bLogoff)
                           App().Logoff();
                       else
                           PostMessageA(GetParent(hDlg), WM_CLOSE, 0, 0);
                       // No click: the review ends with its form (else the steps fail it after 3 s).
                   }}});
        Submit(hDlg);
        EXPECT_TRUE(GetKeptTicketFlag());
        ASSERT_TRUE(PumpUntil([&] { return bReviewed && App().GetOrderTicketForm() == nullptr; }));
        PumpFor(200);
        EXPECT_FALSE(IsWindow(hDlg));
        EXPECT_EQ(0u, Count("KR"));
        EXPECT_EQ(!bLogoff, GetKeptTicketFlag() != FALSE);
        if (bLogoff)
            break;
    }
}
}  // namespace
