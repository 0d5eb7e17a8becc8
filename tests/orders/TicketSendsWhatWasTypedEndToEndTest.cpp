// The order ticket sends what the trader typed and chose, nothing the form put there behind his
// back: the ticker is looked up once per text, a typed price survives every lookup, option series
// come only from the ticket's own request, no order leaves without a market, and every body
// ends where its fields do.
#include <functional>
#include <string>
#include <vector>

#include "app/AppCommands.h"
#include "app/FormMDIWnd.h"
#include "market/TableLinks.h"
#include "link/LinkProtocol.h"
#include "link/MessageTypes.h"
#include "link/ZorvatComm.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "orders/NewModifyOrderDlg.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/PlaceOrderDlg.h"
#include "orders/PlaceOrderForwardDlg.h"
#include "orders/PlaceOrderKSEDlg.h"
#include "orders/PlaceOrderOddLotKSEDlg.h"
#include "orders/ReviewDialog.h"
#include "platform/win/user/TestAnswers.h"
#include "orders/MarketChoices.h"
#include "orders/ModifyOrderDlg.h"
#include "orders/ModifyOrderKSEDlg.h"
#include "orders/OrderRequests.h"
#include "orders/SeparateModifyForm.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/orders/OrderTestSupport.h"

namespace {
using TicketSession = COrderSession;
using ModifyKeepsSession = COrderStatusSession;

void LeaveTicker(HWND hDlg)
{
    NotifyControl(hDlg, IDC_TICKET_TICKER, CBN_KILLFOCUS);
}
}  // namespace

// A US ticker with a quotation row puts its last price in the limit; the trader types his own,
// and leaving the box again, or choosing another ticker, keeps it. A ticker without a row is asked
// of the server once, however often the box is left.
TEST_F(TicketSession, TickerIsLookedUpOncePerTextAndTypedPricesStay)
{
    Start(false);
    CNewPlaceOrderDlg* pTicket = Command(33100);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    ChooseItem(hDlg, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(4)));
    SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "ALPN");
    LeaveTicker(hDlg);
    ASSERT_NE("", ControlText(hDlg, IDC_TICKET_LIMIT)) << "the last price";
    ChooseItem(hDlg, IDC_TICKET_SIDE, static_cast<LPCSTR>(LoadMarketText(55046)));
    EnterText(hDlg, IDC_TICKET_QUANTITY, "100");
    EnterText(hDlg, IDC_TICKET_LIMIT, "10.5");
    const std::string strSide = ControlText(hDlg, IDC_TICKET_SIDE), strLimit = ControlText(hDlg, IDC_TICKET_LIMIT);
    ASSERT_EQ(std::string(LoadMarketText(55046)), strSide);
    LeaveTicker(hDlg);
    EXPECT_EQ(strLimit, ControlText(hDlg, IDC_TICKET_LIMIT));

    // Another market's symbol: asked once, told once.
    SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "GHB");
    for (int i = 0; i < 3; ++i)
        LeaveTicker(hDlg);
    ASSERT_TRUE(PumpUntil([&] { return pRun->InfoText().find("another market") != std::string::npos; }));
    PumpFor(300);
    EXPECT_EQ(1u, Count("RN"));
    const std::string strInfo = pRun->InfoText();
    EXPECT_EQ(strInfo.find("another market"), strInfo.rfind("another market")) << strInfo;

    SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "SLVT");
    LeaveTicker(hDlg);
    EXPECT_EQ("Silvertide Biotech", ControlText(hDlg, IDC_TICKET_DESCRIPTION));
    EXPECT_EQ(strSide, ControlText(hDlg, IDC_TICKET_SIDE));
    EXPECT_EQ(strLimit, ControlText(hDlg, IDC_TICKET_LIMIT));
    NotifyControl(hDlg, IDC_TICKET_SUBMIT, BN_CLICKED);     // refused: the trader holds none
    ASSERT_TRUE(PumpUntil([&] { return Count("OV") == 1; }));
    const std::vector<std::string> check = BodyOf(Requests({"OV"}).back());
    EXPECT_EQ("2", check.at(2));
    EXPECT_EQ("SLVT", check.at(3));
    EXPECT_EQ("10.5", check.at(6));
}

// After Reset the trader completes the form again but chooses no market: Submit stays disabled,
// and a click on it sends nothing.
TEST_F(TicketSession, NoMarketNoOrder)
{
    Start(false);
    CNewPlaceOrderDlg* pTicket = Command(33100);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    const auto fill = [&] {
        ChooseItem(hDlg, IDC_TICKET_SIDE, static_cast<LPCSTR>(LoadMarketText(55045)));
        ChooseItem(hDlg, IDC_TICKET_TYPE, static_cast<LPCSTR>(LoadMarketText(55051)));
        ChooseItem(hDlg, IDC_TICKET_VALIDITY, static_cast<LPCSTR>(LoadMarketText(55053)));
        SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "ALPN");
        LeaveTicker(hDlg);
        EnterText(hDlg, IDC_TICKET_QUANTITY, "100");
    };
    ChooseItem(hDlg, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(4)));
    fill();
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_SUBMIT)));
    NotifyControl(hDlg, IDC_TICKET_RESET, BN_CLICKED);
    fill();
    EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_MARKET));
    EXPECT_EQ("ALPN", ControlText(hDlg, IDC_TICKET_TICKER));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_SUBMIT)));
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) { ClickControl(h, IDCANCEL); }}});    // were one to open
    NotifyControl(hDlg, IDC_TICKET_SUBMIT, BN_CLICKED);

    // The US ticket the same: complete but for the market, nothing.
    static CFormMDIWnd* s_pUsFrame;
    s_pUsFrame = nullptr;
    App().OpenFormWindow(&s_pUsFrame, IDD_FORM_US_ORDER);
    PumpPending();
    ASSERT_NE(nullptr, s_pUsFrame);
    const HWND hUs = s_pUsFrame->GetView()->m_hWnd;
    const auto fillUs = [&] {
        SetDlgItemTextA(hUs, IDC_TICKET_TICKER, "ALPN");
        NotifyControl(hUs, IDC_TICKET_TICKER, CBN_KILLFOCUS);
        EnterText(hUs, IDC_TICKET_QUANTITY, "100");
        EnterText(hUs, IDC_TICKET_LIMIT, "10.5");
    };
    fillUs();
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hUs, IDC_TICKET_SUBMIT)));
    NotifyControl(hUs, IDC_TICKET_SUBMIT, BN_CLICKED);
    PumpFor(300);
    ClearDialogSteps();
    EXPECT_EQ(0u, Requests({"OV", "KV", "KU", "KJ"}).size());

    // The market chosen at last keeps the ticker typed when it lists it, and looks it up; a
    // market that does not list it empties it. A KSE price shows its one decimal.
    ChooseItem(hDlg, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(8)));
    EXPECT_EQ("ALPN", ControlText(hDlg, IDC_TICKET_TICKER));
    EXPECT_EQ("Alpine Networks", ControlText(hDlg, IDC_TICKET_DESCRIPTION));
    ChooseItem(hDlg, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(2)));
    EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_TICKER));
    ChooseItem(hDlg, IDC_TICKET_SESSION, static_cast<LPCSTR>(CKSEMktType::GetText(KSE_TYPE_REGULAR)));
    SetFocus(GetDlgItem(hDlg, IDC_TICKET_LIMIT));
    TypeText("843");
    PumpPending();
    SetFocus(GetDlgItem(hDlg, IDC_TICKET_QUANTITY));
    EXPECT_EQ("843.0", ControlText(hDlg, IDC_TICKET_LIMIT));

    // The US ticket with its market: the check names it.
    ChooseItem(hUs, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(4)));
    fillUs();
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) { ClickControl(h, IDCANCEL); }}});    // the review, when it opens
    NotifyControl(hUs, IDC_TICKET_SUBMIT, BN_CLICKED);
    const auto* pUs = dynamic_cast<const COrderFormBase*>(CWnd::FromHandle(hUs));
    ASSERT_NE(nullptr, pUs);
    ASSERT_TRUE(PumpUntil([&] { return Count("OV") == 1 && !pUs->GetPending().IsCheckPending(); }));
    ClearDialogSteps();
    EXPECT_EQ(std::string(GetGlobals()->GetMarketName(4)), BodyOf(Requests({"OV"}).back()).at(12));
}

// A forward maker, or a board stock, without a quote takes away the price the ticket gave for
// the one before; a price the trader typed stays, and one he emptied takes the maker's again.
TEST_F(TicketSession, NoQuoteLeavesNoPriceOfTheOneBefore)
{
    Start(false);
    CNewPlaceOrderDlg* pTicket = Command(33269);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "101");
    LeaveTicker(hDlg);
    EnterText(hDlg, IDC_TICKET_QUANTITY, "100");
    ChooseItem(hDlg, IDC_TICKET_FILL_RULE, static_cast<LPCSTR>(LoadMarketText(57554)));
    ChooseItem(hDlg, IDC_TICKET_TENOR, "1");
    EnterText(hDlg, IDC_TICKET_MARKET_MAKER, "1");
    const std::string strMakerPrice = ControlText(hDlg, IDC_TICKET_LIMIT);
    ASSERT_NE("", strMakerPrice) << "maker 1's price";
    // Emptied by the trader, the quantity and the price stay empty when he leaves them, and the
    // maker's price fills the price again.
    for (int nId : {IDC_TICKET_QUANTITY, IDC_TICKET_LIMIT}) {
        SetFocus(GetDlgItem(hDlg, nId));
        SetDlgItemTextA(hDlg, nId, "");
        SetFocus(GetDlgItem(hDlg, IDC_TICKET_MARKET_MAKER));
        PumpPending();
        EXPECT_EQ("", ControlText(hDlg, nId)) << nId;
    }
    EnterText(hDlg, IDC_TICKET_MARKET_MAKER, "1");
    EXPECT_EQ(strMakerPrice, ControlText(hDlg, IDC_TICKET_LIMIT));
    EnterText(hDlg, IDC_TICKET_QUANTITY, "100");
    EnterText(hDlg, IDC_TICKET_MARKET_MAKER, "5");
    EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_LIMIT)) << "maker 5 quotes none";
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_SUBMIT)));
    EnterText(hDlg, IDC_TICKET_LIMIT, "850");
    EnterText(hDlg, IDC_TICKET_MARKET_MAKER, "1");
    EXPECT_EQ("850", ControlText(hDlg, IDC_TICKET_LIMIT)) << "typed";

    // The board's price of 101 once the trader opened the board and 101 traded; then it goes.
    ASSERT_TRUE(App().RunCommand(ID_APP_KSE_QUOTES));
    ASSERT_TRUE(PumpUntil([] {
        CDataBuffer* pRow = FindDataTable(52114) != nullptr ? FindDataTable(52114)->GetRows()->FindRow({"101"}) : nullptr;
        return pRow != nullptr && pRow->GetDouble(2) > 0;
    }, 10000));
    // The forward order begun stays through a command: emptied, the ticket takes the board's.
    ClickControl(hDlg, IDC_TICKET_RESET);
    PumpPending();
    ASSERT_EQ(pTicket, Command(33049));
    SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "GHB");
    LeaveTicker(hDlg);
    ASSERT_NE("", ControlText(hDlg, IDC_TICKET_LIMIT)) << "the board's price of 101";
    IDataTable* pBoard = App().FindTable(52114);
    App().RemoveTable(&pBoard);
    SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "102");
    LeaveTicker(hDlg);
    EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_LIMIT)) << "no board row";

    // A US symbol the quotations lack: asked of the server, without the last one's price.
    ClickControl(hDlg, IDC_TICKET_RESET);
    PumpPending();
    ASSERT_EQ(pTicket, Command(33100));
    ChooseItem(hDlg, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(4)));
    SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "ALPN");
    LeaveTicker(hDlg);
    ASSERT_NE("", ControlText(hDlg, IDC_TICKET_LIMIT));
    SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "ZZZZ");
    LeaveTicker(hDlg);
    ASSERT_TRUE(PumpUntil([&] { return Count("RN") == 1; }));
    PumpFor(200);
    EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_LIMIT)) << "no quotation row";
}

// The KSE tickets: a price typed with two decimals is taken whole, and the check carries it; on the odd-lot board a typed text that is no item of the
// stock list chooses nothing, so Submit is disabled and nothing is sent until a stock is chosen.
TEST_F(TicketSession, KseTicketsSendTheStockAndPriceShown)
{
    Start(false);
    static CFormMDIWnd* s_pFrames[2];
    const auto open = [this](UINT nForm, CFormMDIWnd** ppSlot) {
        *ppSlot = nullptr;
        App().OpenFormWindow(ppSlot, nForm);
        PumpPending();
        return *ppSlot != nullptr ? (*ppSlot)->GetView()->m_hWnd : nullptr;
    };
    const HWND hRegular = open(IDD_FORM_KSE_TICKET, &s_pFrames[0]);
    ASSERT_NE(nullptr, hRegular);
    ClickControl(hRegular, IDC_KSE_SIDE_BUY);
    PumpPending();
    ChooseItem(hRegular, IDC_KSE_STOCK, "GHB / 101");
    EnterText(hRegular, IDC_KSE_QUANTITY, "1000");
    ::SetFocus(GetDlgItem(hRegular, IDC_KSE_LIMIT));
    PumpPending();
    ASSERT_EQ(IDC_KSE_LIMIT, FocusedControl(hRegular));
    TypeText("842.25");
    PumpPending();
    NotifyControl(hRegular, IDC_KSE_LIMIT, EN_KILLFOCUS);
    EXPECT_EQ("842.25", ControlText(hRegular, IDC_KSE_LIMIT));
    NotifyControl(hRegular, IDC_ORDER_FORM_SUBMIT, BN_CLICKED);     // off the board's ticks: refused
    ASSERT_TRUE(PumpUntil([&] { return Count("KV") == 1; }));
    EXPECT_EQ("842.25", BodyOf(Requests({"KV"}).back()).at(9));

    const HWND hOddLot = open(IDD_FORM_ODD_LOT_TICKET, &s_pFrames[1]);
    ASSERT_NE(nullptr, hOddLot);
    ClickControl(hOddLot, IDC_KSE_SIDE_BUY);
    ClickControl(hOddLot, IDC_KSE_TYPE_MARKET);
    PumpPending();
    ChooseItem(hOddLot, IDC_KSE_STOCK, "GHB / 101");
    EnterText(hOddLot, IDC_KSE_QUANTITY, "10");
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(hOddLot, IDC_ORDER_FORM_SUBMIT)));
    SetDlgItemTextA(hOddLot, IDC_KSE_STOCK, "107");
    NotifyControl(hOddLot, IDC_KSE_STOCK, CBN_KILLFOCUS);
    EXPECT_EQ("107", ControlText(hOddLot, IDC_KSE_STOCK));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hOddLot, IDC_ORDER_FORM_SUBMIT)));
    const size_t nChecks = Count("KV");
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) { ClickControl(h, IDCANCEL); }}});    // were one to open
    NotifyControl(hOddLot, IDC_ORDER_FORM_SUBMIT, BN_CLICKED);
    PumpFor(300);
    ClearDialogSteps();
    EXPECT_EQ(nChecks, Count("KV"));
    ChooseItem(hOddLot, IDC_KSE_STOCK, "GHB / 101");
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) { ClickControl(h, IDCANCEL); }}});
    NotifyControl(hOddLot, IDC_ORDER_FORM_SUBMIT, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return Count("KV") == nChecks + 1 && FinishedSteps(); }));
    EXPECT_EQ("101", BodyOf(Requests({"KV"}).back()).at(6));
}

// The modify form: an order good till a date beyond the form's own range keeps that date when
// only its quantity changes; Clear empties what the user may type, and Cancel order still goes.
TEST_F(ModifyKeepsSession, ModifyKeepsTheOrdersDateAndClearKeepsCancel)
{
    StartTrader(false);
    const std::string strOrder = Place(MSG_KR, "||1002|10020|1|1|101|100|0|800||1|176|270601|secret", 17, 51128);
    ASSERT_FALSE(strOrder.empty()) << pRun->InfoText();
    App().OpenModifyOrderKSE(atol(strOrder.c_str()));
    PumpPending();
    CFormMDIWnd* pFrame = App().GetModifyOrderForm();
    const HWND hForm = pFrame != nullptr && pFrame->GetView() != nullptr ? pFrame->GetView()->m_hWnd : nullptr;
    ASSERT_NE(nullptr, hForm);
    EnterText(hForm, IDC_MODIFY_QUANTITY, "150");
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) { ClickControl(h, IDCANCEL); }}});
    NotifyControl(hForm, IDC_MODIFY_MODIFY, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return Count("KW") == 1 && FinishedSteps(); })) << pRun->InfoText();
    const std::vector<std::string> preview = BodyOf(Requests({"KW"}).back());
    EXPECT_EQ("150", preview.at(6));
    EXPECT_EQ("270601", preview.at(12));

    const std::string strOpen = ControlText(hForm, IDC_MODIFY_OPEN);
    NotifyControl(hForm, IDC_MODIFY_CLEAR, BN_CLICKED);
    EXPECT_EQ("", ControlText(hForm, IDC_MODIFY_QUANTITY));
    EXPECT_EQ("", ControlText(hForm, IDC_MODIFY_LIMIT));
    EXPECT_EQ(strOpen, ControlText(hForm, IDC_MODIFY_OPEN)) << "read-only: not the user's to clear";
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) {
                       TypeText("secret");
                       ClickControl(h, IDOK);
                   }}});
    NotifyControl(hForm, IDC_MODIFY_CANCEL, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return Count("KC") == 1 && App().GetModifyOrderForm() == nullptr; })) << pRun->InfoText();
    EXPECT_EQ(strOrder, BodyOf(Requests({"KC"}).back()).at(4));
}

// The forward ticket: a ticker text that names no stock chooses none, so nothing goes for the
// stock chosen before; opened while the link is down, it says why it waits.
TEST_F(TicketSession, ForwardTicketSendsOnlyTheStockShown)
{
    enum { IDC_FWD_BUY = 5720, IDC_FWD_TICKER = 5722, IDC_FWD_QUANTITY = 5723, IDC_FWD_PRICE = 5800 };
    for (const bool bLinkDown : {true, false}) {
        SCOPED_TRACE(bLinkDown ? "link down" : "link up");
        Start(false);
        const int nPort = server.Port();
        if (bLinkDown) {
            TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDOK, ""});     // the connection's loss is told
            server.Stop();
            ASSERT_TRUE(PumpUntil([&] { return !App().IsConnected(); }));
            // The forward quotations closed: the ticket must ask for them.
            IDataTable* pQuotes = App().FindTable(52121);
            App().RemoveTable(&pQuotes);
        }
        static CFormMDIWnd* s_pFrame;
        s_pFrame = nullptr;
        App().OpenFormWindow(&s_pFrame, IDD_FORM_FORWARD_ORDER);
        PumpPending();
        ASSERT_NE(nullptr, s_pFrame);
        const HWND hDlg = s_pFrame->GetView()->m_hWnd;
        if (bLinkDown) {
            EXPECT_FALSE(IsWindowEnabled(hDlg));
            EXPECT_EQ(1, pRun->CountInfoLines(IDS_ORDER_NOT_CONNECTED)) << pRun->InfoText();
            // The server back and the link with it: the session starts again, the waiting ticket
            // goes with the last session's windows, and one opened now has its quotations.
            ASSERT_TRUE(server.Start({"--port", std::to_string(nPort)}));
            pRun->QueueLogin("trader", "secret");
            SendMessageA(App().GetComm()->m_hWnd, WM_TIMER, LINK_TIMER_RECONNECT, 0);
            ASSERT_TRUE(PumpUntil([&] { return pRun->LoginDialogsSeen() == 2; }) && pRun->WaitForLoad()) << pRun->InfoText();
            EXPECT_EQ(nullptr, s_pFrame) << "no disabled ticket stays";
            App().OpenFormWindow(&s_pFrame, IDD_FORM_FORWARD_ORDER);
            PumpPending();
            ASSERT_NE(nullptr, s_pFrame);
            const HWND hAgain = s_pFrame->GetView()->m_hWnd;
            EXPECT_TRUE(PumpUntil([&] { return IsWindowEnabled(hAgain) && ControlText(hAgain, IDC_FWD_TICKER) != ""; }));
            TearDown();
            continue;
        }
        ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(hDlg) != FALSE; })) << "the quotations came";
        CheckRadioButton(hDlg, IDC_FWD_BUY, 5721, IDC_FWD_BUY);
        NotifyControl(hDlg, IDC_FWD_BUY, BN_CLICKED);
        ChooseItem(hDlg, IDC_FWD_TICKER, ControlText(hDlg, IDC_FWD_TICKER));
        EnterText(hDlg, IDC_FWD_QUANTITY, "100");
        EnterText(hDlg, IDC_FWD_PRICE, "850");
        ASSERT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, IDC_ORDER_FORM_SUBMIT)));
        SetDlgItemTextA(hDlg, IDC_FWD_TICKER, "ZZZ");
        NotifyControl(hDlg, IDC_FWD_TICKER, CBN_KILLFOCUS);
        EXPECT_EQ("ZZZ", ControlText(hDlg, IDC_FWD_TICKER));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hDlg, IDC_ORDER_FORM_SUBMIT)));
        RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) { ClickControl(h, IDCANCEL); }}});    // were one to open
        NotifyControl(hDlg, IDC_ORDER_FORM_SUBMIT, BN_CLICKED);
        PumpFor(300);
        ClearDialogSteps();
        EXPECT_EQ(0u, Count("KU"));
        TearDown();
    }
}

// Both tickets take the option series they asked for, and only those: the option chain's
// series of another underlying leave the ticket's series, and the order sent, as they were.
TEST_F(TicketSession, TicketsTakeOnlyTheOptionSeriesTheyAskedFor)
{
    Start(false);
    static CFormMDIWnd* s_pUsFrame;
    s_pUsFrame = nullptr;
    CNewPlaceOrderDlg* pTicket = Command(33100);
    ASSERT_NE(nullptr, pTicket);
    ChooseItem(pTicket->m_hWnd, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(16)));
    App().OpenFormWindow(&s_pUsFrame, IDD_FORM_US_ORDER);
    PumpPending();
    ASSERT_NE(nullptr, s_pUsFrame);
    const HWND tickets[] = {pTicket->m_hWnd, s_pUsFrame->GetView()->m_hWnd};
    for (HWND hTicket : tickets)
        AskOptionSeries(hTicket, "CDRX");
    const auto boxes = [](HWND h) {
        return ControlText(h, IDC_TICKET_UNDERLYING) + "|" + ControlText(h, IDC_TICKET_EXPIRY) + "|" +
               ControlText(h, IDC_TICKET_STRIKE) + "|" + std::to_string(SendDlgItemMessageA(h, IDC_TICKET_EXPIRY, CB_GETCOUNT, 0, 0));
    };
    const std::string shown[] = {boxes(tickets[0]), boxes(tickets[1])};
    EXPECT_EQ("CDRX|", shown[0].substr(0, 5));
    ASSERT_NE(nullptr, AskChainSeries("ALPN"));
    for (size_t i = 0; i < std::size(tickets); ++i)
        EXPECT_EQ(shown[i], boxes(tickets[i])) << i;
}

// A price given to a form (a quote, a maker's price, a loaded order) with more decimals than its
// market's tick: the field shows it whole, also once the focus has passed through it, and the
// check or preview sends it whole, or, when it has more decimals than an order carries, refuses
// it with that reason and sends nothing. An order's price shows in its market's decimals.
TEST_F(ModifyKeepsSession, GivenPricesStayWholeInEveryForm)
{
    StartTrader(false);
    auto& app = App();
    static CFormMDIWnd* s_pSeparate;
    s_pSeparate = nullptr;
    enum { TICKET, COMBINED, SEPARATE };
    const auto viewOf = [](CFormMDIWnd* pFrame) { return pFrame != nullptr ? pFrame->GetView()->m_hWnd : nullptr; };
    const auto ticket = [&] { return viewOf(app.GetOrderTicketForm()); };
    // The order placed, its row then given the price (a loaded order's own, as booked), and the
    // modify form of that kind opened on it with a new quantity.
    const auto modify = [&](int nKind, int nPlace, const char* pszBody, UINT nTable, double dGiven) {
        const std::string strOrder = Place(nPlace, pszBody, nPlace == MSG_KR ? 17 : 11, nTable);
        const bool bKse = nTable == 51128;
        if (dGiven != 0)
            Row(nTable, strOrder)->SetDouble(bKse ? 11 : 6, dGiven, TRUE);
        HWND hForm = nullptr;
        if (nKind == COMBINED) {
            (app.*(bKse ? &CZORVAT32App::OpenModifyOrderKSE : &CZORVAT32App::OpenModifyOrderUS))(atol(strOrder.c_str()));
            PumpPending();
            hForm = viewOf(app.GetModifyOrderForm());
        } else {
            app.OpenFormWindow(&s_pSeparate, bKse ? IDD_FORM_MODIFY_ORDER_KSE : IDD_FORM_MODIFY_ORDER_US);
            PumpPending();
            if (auto* pForm = s_pSeparate != nullptr ? dynamic_cast<CSeparateModifyForm*>(s_pSeparate->GetView()) : nullptr) {
                pForm->LoadOrder(atol(strOrder.c_str()));
                CheckDlgButton(pForm->m_hWnd, IDC_SEPARATE_SIDE_OPTION, BST_UNCHECKED);
                hForm = pForm->m_hWnd;
            }
        }
        EnterText(hForm, nKind == COMBINED ? IDC_MODIFY_QUANTITY : IDC_SEPARATE_QUANTITY, "150");
        return hForm;
    };
    // Maker 1 quotes stock 101 for a month at three decimals.
    for (const char* pszSide : {"1", "2"})
        if (CDataBuffer* pQuote = FindDataTable(52121)->GetRows()->FindRow({"101", pszSide, "1"}))
            pQuote->SetDouble(8, 845.568, TRUE);
    const char* const KR_BODY = "||1002|10020|1|1|101|100|0|800||0|||secret";
    const char* const OR_BODY = "1002|10020|1|ALPN|100|0|30.5||0|||secret";
    const struct {
        const char* pszName;
        std::function<HWND()> open;     // the ticket's quantity is typed after
        int nKind;
        const char* pszShown;
        const char* pszSent;            // the request, its price field and the price
        size_t nField;
        double dSent;
        UINT nRefused = 0;              // the reason it is not sent
    } cases[] = {
        {"forward maker", [&] {
             app.OpenOrderTicketForwardMarket("101", 0.0, 0);
             ChooseItem(ticket(), IDC_TICKET_SIDE, static_cast<LPCSTR>(LoadMarketText(55045)));
             ChooseItem(ticket(), IDC_TICKET_FILL_RULE, static_cast<LPCSTR>(LoadMarketText(57554)));
             ChooseItem(ticket(), IDC_TICKET_TENOR, "1");
             EnterText(ticket(), IDC_TICKET_MARKET_MAKER, "1");
             return ticket();
         }, TICKET, "845.568", "KU", 10, 845.568},
        {"regular board quote", [&] { app.OpenOrderTicketKSE(1, "101", 842.55, 0, 0); return ticket(); },
         TICKET, "842.55", "KV", 9, 842.55},
        {"contract", [&] {
             app.OpenOrderTicketKSE(2, "107", 1125.25, 0, 4);
             EnterText(ticket(), IDC_TICKET_CONTRACT, "12");
             return ticket();
         }, TICKET, "1,125.25", "KJ", 11, 1125.25},
        {"us quote", [&] {
             app.OpenOrderTicket(0, "ALPN", 10.12345, GetGlobals()->GetMarketName(4), nullptr, 0);
             ChooseItem(ticket(), IDC_TICKET_SIDE, static_cast<LPCSTR>(LoadMarketText(55045)));
             return ticket();
         }, TICKET, "10.12345", "OV", 6, 0, IDS_ORDER_PRICE_DECIMALS},
        {"kse order", [&] { return modify(COMBINED, MSG_KR, KR_BODY, 51128, 0); }, COMBINED, "800.0", "KW", 8, 800},
        {"us order", [&] {
             const HWND h = modify(COMBINED, MSG_OR, OR_BODY, 51110, 0);
             EXPECT_EQ("=USD", ControlText(h, IDC_MODIFY_CURRENCY)) << "the order's currency";
             return h;
         }, COMBINED, "30.5000", "OW", 6, 30.5},
        {"kse order, its own form", [&] { return modify(SEPARATE, MSG_KR, KR_BODY, 51128, 800.555); },
         SEPARATE, "800.555", "KW", 8, 800.555},
        {"us order, its own form", [&] { return modify(SEPARATE, MSG_OR, OR_BODY, 51110, 30.12345); },
         SEPARATE, "30.12345", "OW", 6, 0, IDS_ORDER_PRICE_DECIMALS},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        const HWND hForm = c.open();
        ASSERT_NE(nullptr, hForm);
        if (c.nKind == TICKET)
            EnterText(hForm, IDC_TICKET_QUANTITY, "100");
        const int nField = c.nKind == TICKET ? IDC_TICKET_LIMIT : c.nKind == COMBINED ? IDC_MODIFY_LIMIT : IDC_SEPARATE_LIMIT;
        const int nSend = c.nKind == TICKET ? IDC_TICKET_SUBMIT : c.nKind == COMBINED ? IDC_MODIFY_MODIFY : IDC_SEPARATE_MODIFY;
        for (int nId : {nField, nSend}) {
            ::SetFocus(GetDlgItem(hForm, nId));
            PumpPending();
        }
        EXPECT_EQ(c.pszShown, ControlText(hForm, nField));
        const size_t nSent = Count(c.pszSent);
        const int nRefusals = c.nRefused != 0 ? pRun->CountInfoLines(c.nRefused) : 0;
        RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) { ClickControl(h, IDCANCEL); }}});
        NotifyControl(hForm, nSend, BN_CLICKED);
        if (c.nRefused != 0) {
            PumpFor(300);
            ClearDialogSteps();
            EXPECT_EQ(nSent, Count(c.pszSent)) << "nothing cut, nothing sent";
            EXPECT_EQ(nRefusals + 1, pRun->CountInfoLines(c.nRefused)) << pRun->InfoText();
        } else {
            // Off the board's ticks the server may refuse it: what matters here is what went.
            ASSERT_TRUE(PumpUntil([&] { return Count(c.pszSent) == nSent + 1; })) << pRun->InfoText();
            PumpFor(200);
            ClearDialogSteps();
            EXPECT_EQ(c.dSent, std::stod(BodyOf(Requests({c.pszSent}).back()).at(c.nField)));
        }
        GetParent(hForm) != nullptr ? (void)SendMessageA(GetParent(hForm), WM_CLOSE, 0, 0) : (void)0;
        PumpPending();
    }
}

// A symbol looked up and then another that is not found: the first one's name and currency go,
// in both kinds of market; the same symbol left again keeps what its lookup showed.
TEST_F(TicketSession, NoNameStaysBesideASymbolItIsNotTheNameOf)
{
    Start(false);
    CNewPlaceOrderDlg* pTicket = Command(33100);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    ChooseItem(hDlg, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(4)));
    SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "SLVT");
    LeaveTicker(hDlg);
    ASSERT_TRUE(PumpUntil([&] { return ControlText(hDlg, IDC_TICKET_DESCRIPTION) == "Silvertide Biotech"; }));
    LeaveTicker(hDlg);
    PumpFor(200);
    EXPECT_EQ("Silvertide Biotech", ControlText(hDlg, IDC_TICKET_DESCRIPTION));
    SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "101");
    LeaveTicker(hDlg);
    PumpFor(300);
    EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_DESCRIPTION));
    EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_CURRENCY));

    // The KSE: a stock's name, then a number no stock has.
    ChooseItem(hDlg, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(2)));
    SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "101");
    LeaveTicker(hDlg);
    ASSERT_NE("", ControlText(hDlg, IDC_TICKET_DESCRIPTION));
    SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "99999");
    LeaveTicker(hDlg);
    PumpFor(200);
    EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_DESCRIPTION));
}
