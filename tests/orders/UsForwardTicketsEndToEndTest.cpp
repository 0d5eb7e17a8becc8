// The US and forward order forms end to end as the trader against the test server: each order
// is checked, reviewed with the trading password, sent and acknowledged, and each body the
// server received is compared field by field with a table written from the forms' message
// layouts; the forward form initialises once, on its own quotations; the US form refuses ticker
// information of another market; a refusal at Submit sends nothing.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/FormMDIWnd.h"
#include "market/QuotationFwdKSETable.h"
#include "market/TableLinks.h"
#include "market/DataTable.h"
#include "market/DataArray.h"
#include "link/MessageTypes.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/PlaceOrderDlg.h"
#include "orders/PlaceOrderForwardDlg.h"
#include "orders/PlaceOrderKSEDlg.h"
#include "orders/ReviewDialog.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/orders/OrderTestSupport.h"

namespace {
enum { IDC_BUY = 5720, IDC_TICKER = 5722, IDC_QUANTITY = 5723, IDC_LIMIT = 5728, IDC_TILL_DATE = 5735, IDC_DAYS = 5718,
       IDC_SUBMIT = 5737, IDC_MARKET = 6730, IDC_RIGHT = 6677, IDC_EXPIRY = 6678, IDC_MAKERS = 5794, IDC_PRICE = 5800 };

struct UsForwardSession : COrderSession
{
    // The frames' slots outlive the test: the session's end destroys the frames and clears them.
    template<class FORM> FORM* Open(UINT nFormId)
    {
        static CFormMDIWnd* s_slots[2];
        CFormMDIWnd** ppSlot = &s_slots[nFormId == IDD_FORM_US_ORDER ? 0 : 1];
        *ppSlot = nullptr;
        App().OpenFormWindow(ppSlot, nFormId);
        PumpPending();
        return *ppSlot != nullptr ? dynamic_cast<FORM*>((*ppSlot)->GetView()) : nullptr;
    }
    CPlaceOrderForwardDlg* OpenForward()
    {
        CPlaceOrderForwardDlg* pForm = Open<CPlaceOrderForwardDlg>(IDD_FORM_FORWARD_ORDER);
        EXPECT_TRUE(pForm != nullptr && PumpUntil([&] { return pForm->GetInitCount() == 1; })) << "the quotations came";
        return pForm;
    }
    void ChooseMarket(HWND hDlg, long nCode) { ChooseItem(hDlg, IDC_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(nCode))); }
    // Submit, the review answered with the password; false when the order never came.
    bool SubmitAndConfirm(HWND hDlg, const char* pszOrder, const COrderPending& pending)
    {
        const size_t nOrders = Count(pszOrder);
        RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) {
                           TypeText("secret");
                           ClickControl(h, IDOK);
                       }}});
        NotifyControl(hDlg, IDC_SUBMIT, BN_CLICKED);
        return PumpUntil([&] { return Count(pszOrder) == nOrders + 1 && !pending.IsOrderPending(); }) && FinishedSteps();
    }
};

struct FORM_ORDER
{
    const char* pszName;
    UINT nFormId;
    std::function<HWND(UsForwardSession&)> fill;    // opens the form and types the order
    const char* pszCheck;
    const char* pszOrder;
    std::vector<std::string> check, order;          // the password is "secret"
    const char* pszAcknowledged;
};

std::string MarketName(long nCode)
{
    return static_cast<LPCSTR>(GetGlobals()->GetMarketName(nCode));
}

const std::vector<FORM_ORDER>& FormOrders()
{
    static const std::vector<FORM_ORDER> orders = {
        // Tuesday 8 December 2026 and five days: Sunday the 13th steps back to Friday, three days.
        {"us_limit_till_date", IDD_FORM_US_ORDER,
         [](UsForwardSession& s) {
             s.clock.tNow = LocalMorning(2026, 12, 8);
             GetGlobals()->SetClockSource(&s.clock);
             const HWND h = s.Open<CPlaceOrderDlg>(IDD_FORM_US_ORDER)->m_hWnd;
             s.ChooseMarket(h, 4);
             SetDlgItemTextA(h, IDC_TICKER, "ALPN");
             EnterText(h, IDC_QUANTITY, "1,000");
             EnterText(h, IDC_LIMIT, "10.5");
             CheckRadioButton(h, 5732, IDC_TILL_DATE, IDC_TILL_DATE);
             NotifyControl(h, IDC_TILL_DATE, BN_CLICKED);
             EnterText(h, IDC_DAYS, "5");
             return h;
         },
         "OV", "OR",
         {"1002", "10020", "1", "ALPN", "1000", "0", "10.5", "", "1", "3", "261211", "", "@4", "", "", "", "", "", "", ""},
         {"1002", "10020", "1", "ALPN", "1000", "0", "10.5", "", "1", "3", "261211", "secret", "", "", "", "", "", "", "",
          "", "", "", "", ""},
         "Order 1 accepted: account 10020, Buy 1000 ALPN at 10.5000 Limit Good till date 11/12/2026."},
        {"us_option_series", IDD_FORM_US_ORDER,
         [](UsForwardSession& s) {
             const HWND h = s.Open<CPlaceOrderDlg>(IDD_FORM_US_ORDER)->m_hWnd;
             s.ChooseMarket(h, 16);
             s.AskOptionSeries(h, "CDRX");
             ChooseItem(h, IDC_RIGHT, static_cast<LPCSTR>(LoadMarketText(57172)));
             ChooseItem(h, IDC_EXPIRY, "2027/01");
             SetDlgItemTextA(h, IDC_TICKER, "CDRX");
             EnterText(h, IDC_QUANTITY, "2");
             EnterText(h, IDC_LIMIT, "3.4");
             return h;
         },
         "OV", "OR",
         {"1002", "10020", "1", "CDRX", "2", "0", "3.4", "", "0", "", "", "", "@16", "", "", "CDRX", "1", "65.00", "270115", ""},
         {"1002", "10020", "1", "CDRX", "2", "0", "3.4", "", "0", "", "", "secret", "", "", "", "", "", "", "", "CDRX", "1",
          "65.00", "270115", ""},
         "Order 2 accepted: account 10020, Buy 2 CDRX Call 65.00 15/01/2027 at 3.4000 Limit."},
        // Stock 101, a purchase for one month from the cheapest market maker, partial fill.
        {"forward", IDD_FORM_FORWARD_ORDER,
         [](UsForwardSession& s) {
             const HWND h = s.OpenForward()->m_hWnd;
             // The test market quotes no quantities: market maker 1 sells 900 of stock 101 for a
             // month, more than its quote's limit of 842.
             CDataBuffer* pQuote = FindDataTable(IDS_TABLE_QUOTATIONS_FWD_KSE)->GetRows()->FindRowByIds({101, 2, 1});
             pQuote->SetDouble(10, 900, TRUE);
             CheckRadioButton(h, IDC_BUY, 5721, IDC_BUY);
             NotifyControl(h, IDC_BUY, BN_CLICKED);
             ChooseItem(h, IDC_MAKERS, "1 / 848.957 / 900");
             // The maker's price stays whole once the focus has passed through it.
             ::SetFocus(GetDlgItem(h, IDC_PRICE));
             ::SetFocus(GetDlgItem(h, IDC_QUANTITY));
             return h;
         },
         "KU", "KA",
         {"", "", "1002", "10020", "1", "101", "842", "1", "2", "1", "848.957", "", "1"},
         {"", "", "1002", "10020", "1", "101", "842", "1", "2", "1", "848.957", "secret", "", "", "", "", "1"},
         "Forward order 900001 accepted: account 10020, Buy 842 Gulf Harbour Bank (101) at 848.957."},
    };
    return orders;
}

// "@n" stands for the name of market n.
std::vector<std::string> Expected(std::vector<std::string> fields)
{
    for (std::string& field : fields)
        if (!field.empty() && field[0] == '@')
            field = MarketName(atol(field.c_str() + 1));
    return fields;
}

TEST_F(UsForwardSession, EachFormIsCheckedReviewedSentAndAcknowledged)
{
    Start(false);
    for (const FORM_ORDER& order : FormOrders()) {
        SCOPED_TRACE(order.pszName);
        const HWND hDlg = order.fill(*this);
        ASSERT_NE(nullptr, hDlg);
        const COrderPending& pending = order.nFormId == IDD_FORM_US_ORDER
            ? static_cast<CPlaceOrderDlg*>(CWnd::FromHandlePermanent(hDlg))->GetPending()
            : static_cast<CPlaceOrderForwardDlg*>(CWnd::FromHandlePermanent(hDlg))->GetPending();
        ASSERT_TRUE(SubmitAndConfirm(hDlg, order.pszOrder, pending)) << pRun->InfoText();
        EXPECT_EQ(Expected(order.check), BodyOf(Requests({order.pszCheck}).back()));
        EXPECT_EQ(Expected(order.order), BodyOf(Requests({order.pszOrder}).back()));
        EXPECT_NE(std::string::npos, pRun->InfoText().find(std::string(order.pszAcknowledged) + "\n")) << pRun->InfoText();
        EXPECT_EQ("", ControlText(hDlg, IDC_QUANTITY)) << "cleared for the next order";
    }
    EXPECT_EQ("", OrdersWithoutCheck(server.Log()));
}
}  // namespace

namespace {
// The forms act only on their own replies: the forward form initialises once, at the end of its
// own quotations, not at the end of another table's or another request's reply; the US form
// refuses ticker information of another market than its own; a refusal sends nothing.
TEST_F(UsForwardSession, FormsActOnlyOnTheirOwnReplies)
{
    Start(false);
    CPlaceOrderForwardDlg* pForward = OpenForward();
    ASSERT_NE(nullptr, pForward);
    const HWND hForward = pForward->m_hWnd;
    EXPECT_TRUE(IsWindowEnabled(hForward));
    EXPECT_EQ(1u, Count("FQ"));
    CheckRadioButton(hForward, IDC_BUY, 5721, IDC_BUY);
    NotifyControl(hForward, IDC_BUY, BN_CLICKED);
    SendDlgItemMessageA(hForward, IDC_TICKER, CB_SETCURSEL, 2, 0);
    NotifyControl(hForward, IDC_TICKER, CBN_SELCHANGE);
    const std::string strTicker = ControlText(hForward, IDC_TICKER);

    // Another request's quotations and another table's reply end: nothing runs again.
    App().SendRequest(MSG_FQ, "");
    CPlaceOrderDlg* pUs = Open<CPlaceOrderDlg>(IDD_FORM_US_ORDER);
    ASSERT_NE(nullptr, pUs);
    const HWND hUs = pUs->m_hWnd;
    ChooseMarket(hUs, 16);
    AskOptionSeries(hUs, "CDRX");
    ASSERT_TRUE(PumpUntil([&] { return Count("FQ") == 2; }));
    PumpFor(300);
    EXPECT_EQ(1, pForward->GetInitCount());
    EXPECT_FALSE(pForward->IsReceivingQuotes());
    EXPECT_EQ(strTicker, ControlText(hForward, IDC_TICKER)) << "the choice stays";
    EXPECT_EQ(2, SendDlgItemMessageA(hUs, IDC_EXPIRY, CB_GETCOUNT, 0, 0)) << "both rights' months";

    // ALPN trades on market 8: choosing market 4 for it asks for its ticker information, which
    // names market 8, and is refused.
    ChooseMarket(hUs, 8);
    SetDlgItemTextA(hUs, IDC_TICKER, "ALPN");
    NotifyControl(hUs, IDC_TICKER, CBN_KILLFOCUS);
    EXPECT_EQ("=USD", ControlText(hUs, 6731)) << "the currency beside the ticker";
    const HWND hTicket = Command(33100)->m_hWnd;
    ChooseMarket(hTicket, 8);
    SetDlgItemTextA(hTicket, IDC_TICKET_TICKER, "ALPN");
    NotifyControl(hTicket, IDC_TICKET_TICKER, CBN_KILLFOCUS);
    EXPECT_EQ("=USD", ControlText(hTicket, IDC_TICKET_CURRENCY)) << "in the order ticket as well";
    ChooseMarket(hUs, 4);
    ASSERT_TRUE(PumpUntil([&] { return pRun->InfoText().find("The symbol is traded on another market") != std::string::npos; }))
        << pRun->InfoText() << Lines("RN");
    EXPECT_EQ((std::vector<std::string>{"", "", "ALPN"}), BodyOf(Requests({"RN"}).back()));
    EXPECT_EQ("", ControlText(hUs, 6732)) << "the form is unchanged";
    EXPECT_EQ(MarketName(4), ControlText(hUs, IDC_MARKET));

    // A quantity above 2,147,483,647 is refused whole: nothing sent, Submit stays usable.
    SetDlgItemTextA(hUs, IDC_TICKER, "PRSM");
    EnterText(hUs, IDC_QUANTITY, "3000000000");
    EnterText(hUs, IDC_LIMIT, "10.5");
    NotifyControl(hUs, IDC_SUBMIT, BN_CLICKED);
    PumpFor(200);
    EXPECT_EQ(0u, Count("OV"));
    EXPECT_FALSE(pUs->GetPending().IsCheckPending());
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hUs, IDC_SUBMIT)));
    EXPECT_NE(std::string::npos, pRun->InfoText().find(static_cast<LPCSTR>(LoadMarketText(40323))));
    EXPECT_TRUE(SaveDialogScreenshot(hUs, "orders_us_ticket_en"));
    EXPECT_TRUE(SaveDialogScreenshot(hForward, "orders_forward_ticket_en"));
}

TEST_F(UsForwardSession, PicturesInArabic)
{
    Start(true);
    CPlaceOrderForwardDlg* pForward = OpenForward();
    ASSERT_NE(nullptr, pForward);
    CheckRadioButton(pForward->m_hWnd, IDC_BUY, 5721, IDC_BUY);
    NotifyControl(pForward->m_hWnd, IDC_BUY, BN_CLICKED);
    CPlaceOrderDlg* pUs = Open<CPlaceOrderDlg>(IDD_FORM_US_ORDER);
    ASSERT_NE(nullptr, pUs);
    ChooseMarket(pUs->m_hWnd, 16);
    AskOptionSeries(pUs->m_hWnd, "CDRX");
    EXPECT_TRUE(SaveDialogScreenshot(pUs->m_hWnd, "orders_us_ticket_ar"));
    EXPECT_TRUE(SaveDialogScreenshot(pForward->m_hWnd, "orders_forward_ticket_ar"));
}
}  // namespace

namespace {
int Occurrences(const std::string& strText, const std::string& strPart)
{
    int n = 0;
    for (size_t nAt = strText.find(strPart); nAt != std::string::npos; nAt = strText.find(strPart, nAt + 1))
        ++n;
    return n;
}

// The US ticket offers the four sides and sends each as its code; a purchase and a sale colour
// the US and the KSE tickets alike, the other two sides leave the dialog's face; the KSE flag box
// is offered for the sides whose check carries the flag. A US check's refusal shows its insert,
// whatever its code.
TEST_F(UsForwardSession, SidesColourTheTicketsAndGoOutAsTheirCodes)
{
    Start(false);
    CPlaceOrderDlg* pUs = Open<CPlaceOrderDlg>(IDD_FORM_US_ORDER);
    CPlaceOrderKSEDlg* pKse = Open<CPlaceOrderKSEDlg>(IDD_FORM_KSE_TICKET);
    ASSERT_TRUE(pUs != nullptr && pKse != nullptr);
    const HWND hUs = pUs->m_hWnd, hKse = pKse->m_hWnd;
    const COLORREF crFace = GetSysColor(COLOR_BTNFACE), crBuy = RGB(255, 128, 128), crSell = RGB(128, 255, 128);
    const struct { int nUs, nKse; const char* pszCode; COLORREF crForm; bool bFlag; } sides[] = {
        {IDC_BUY, IDC_KSE_SIDE_BUY, "1", crBuy, true}, {5721, IDC_KSE_SIDE_SELL, "2", crSell, false},
        {5770, IDC_KSE_SIDE_27, "27", crFace, true}, {5771, IDC_KSE_SIDE_28, "28", crFace, false}};
    ChooseMarket(hUs, 4);
    int nRefused = 0;
    for (const auto& side : sides) {
        SCOPED_TRACE(side.pszCode);
        ClickControl(hUs, side.nUs);
        ClickControl(hKse, side.nKse);
        PumpPending();
        EXPECT_EQ(side.crForm, pUs->GetFormColour());
        EXPECT_EQ(side.crForm, pKse->GetFormColour());
        EXPECT_EQ(side.bFlag, IsWindowEnabled(GetDlgItem(hKse, IDC_KSE_FLAG)) != FALSE);
        SetDlgItemTextA(hUs, IDC_TICKER, "ZZZQ");
        EnterText(hUs, IDC_QUANTITY, "10");
        EnterText(hUs, IDC_LIMIT, "1.5");
        NotifyControl(hUs, IDC_SUBMIT, BN_CLICKED);
        ++nRefused;
        ASSERT_TRUE(PumpUntil([&] { return Occurrences(pRun->InfoText(), "Unknown symbol ZZZQ") == nRefused; }))
            << pRun->InfoText();
        EXPECT_EQ(side.pszCode, BodyOf(Requests({"OV"}).back())[2]);
    }
    // A key the quantity refuses is told as the field is left, in both tickets.
    for (const std::pair<HWND, int>& field : {std::pair<HWND, int>(hUs, IDC_QUANTITY), std::pair<HWND, int>(hKse, IDC_KSE_QUANTITY)}) {
        SendDlgItemMessageA(field.first, field.second, WM_CHAR, 'x', 0);
        PumpPending();
        NotifyControl(field.first, field.second, EN_KILLFOCUS);
    }
    EXPECT_EQ(2, Occurrences(pRun->InfoText(), "The quantity takes digits only")) << pRun->InfoText();
}
}  // namespace
