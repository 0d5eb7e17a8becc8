// The ticket's markets chosen one after another as the trader does, in both languages: every
// market of the market box (and each market type of a market that has several) after every
// other; each first in a ticket opened by every command that opens it and by a row's order
// command; and each straight after an order placed on another. Each time the market gives its
// own fields ready to fill: a complete order enables Submit. A KSE stock typed before any
// market is chosen is the KSE's alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/FormMDIWnd.h"
#include "app/StockActions.h"
#include "app/ZorvatApp.h"
#include "market/TableLinks.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/ReviewDialog.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/orders/OrderTestSupport.h"

namespace {
using TicketMarkets = COrderSession;

struct MARKET_CHOICE
{
    std::string strMarket;
    std::string strSession;     // the market type box's item chosen with it

    std::string Name() const { return strMarket + " / " + strSession; }
};

// Every market the ticket lists, each market type of a market that offers several.
std::vector<MARKET_CHOICE> ChoicesOf(HWND hDlg)
{
    std::vector<MARKET_CHOICE> choices;
    for (const std::string& strMarket : BoxItems(hDlg, IDC_TICKET_MARKET)) {
        ChooseItem(hDlg, IDC_TICKET_MARKET, strMarket);
        for (const std::string& strSession : BoxItems(hDlg, IDC_TICKET_SESSION))
            choices.push_back({strMarket, strSession});
    }
    return choices;
}

// The choice made as the trader makes it: the market, then its type when the box does not
// already show it (choosing the shown item again changes nothing on a display).
void Choose(HWND hDlg, const MARKET_CHOICE& choice)
{
    ChooseItem(hDlg, IDC_TICKET_MARKET, choice.strMarket);
    if (BoxSelection(hDlg, IDC_TICKET_SESSION) != choice.strSession)
        ChooseItem(hDlg, IDC_TICKET_SESSION, choice.strSession);
}

void TypeKeys(HWND hDlg, int nId, const std::string& strKeys)
{
    SetDlgItemTextA(hDlg, nId, "");
    for (char ch : strKeys)
        SendDlgItemMessageA(hDlg, nId, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(ch)), 0);
    NotifyControl(hDlg, nId, EN_KILLFOCUS);
}

// The quantity, and the fields of the market type's own panel, filled.
void FillQuantityAndPanel(HWND hDlg)
{
    TypeKeys(hDlg, IDC_TICKET_QUANTITY, "100");
    if (ControlVisible(hDlg, IDC_TICKET_TENOR)) {
        ChooseItem(hDlg, IDC_TICKET_FILL_RULE, BoxItems(hDlg, IDC_TICKET_FILL_RULE).front());
        ChooseItem(hDlg, IDC_TICKET_TENOR, BoxItems(hDlg, IDC_TICKET_TENOR).front());
        EnterText(hDlg, IDC_TICKET_MARKET_MAKER, "MM1");
    }
    if (ControlVisible(hDlg, IDC_TICKET_CONTRACT))
        TypeKeys(hDlg, IDC_TICKET_CONTRACT, "12");
}

// The choice's fields ready: side, type and validity offered and enabled; one of the market's
// own symbols (or one typed where it lists none), a side, a quantity and a price typed key by
// key (and the panel's own fields) make an order Submit takes.
void ExpectReady(HWND hDlg, const MARKET_CHOICE& choice, const std::string& strRoad)
{
    SCOPED_TRACE(strRoad + ": " + choice.Name());
    EXPECT_EQ(choice.strMarket, BoxSelection(hDlg, IDC_TICKET_MARKET));
    EXPECT_EQ(choice.strSession, BoxSelection(hDlg, IDC_TICKET_SESSION));
    for (int nId : {IDC_TICKET_SIDE, IDC_TICKET_TYPE, IDC_TICKET_VALIDITY})
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, nId))) << "box " << nId << " grey";
    const std::vector<std::string> sides = BoxItems(hDlg, IDC_TICKET_SIDE), tickers = BoxItems(hDlg, IDC_TICKET_TICKER);
    ASSERT_FALSE(sides.empty()) << "no side offered";
    EXPECT_NE("", BoxSelection(hDlg, IDC_TICKET_TYPE)) << "no order type";
    if (BoxSelection(hDlg, IDC_TICKET_SIDE).empty())
        ChooseItem(hDlg, IDC_TICKET_SIDE, sides.front());
    if (!tickers.empty()) {
        ChooseItem(hDlg, IDC_TICKET_TICKER, tickers.front());
    } else {                    // a market that lists no symbols takes one typed
        SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "ALPN");
        NotifyControl(hDlg, IDC_TICKET_TICKER, CBN_KILLFOCUS);
    }
    TypeKeys(hDlg, IDC_TICKET_LIMIT, "842");
    FillQuantityAndPanel(hDlg);
    EXPECT_EQ("100", ControlText(hDlg, IDC_TICKET_QUANTITY)) << "the quantity refused its keys";
    EXPECT_EQ("842", ControlText(hDlg, IDC_TICKET_LIMIT).substr(0, 3)) << "the price refused its keys";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_SUBMIT))) << "a complete order not taken";
}

// The order the ready ticket holds, checked, reviewed and sent; its answer told.
void PlaceOrder(COrderSession& s, HWND hDlg)
{
    const int nLines = s.App().GetInfoTable()->GetLineCount();
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) {
                   SetDlgItemTextA(h, IDC_REVIEW_PASSWORD, "secret");
                   ClickControl(h, IDOK);
               }}});
    ClickControl(hDlg, IDC_TICKET_SUBMIT);
    EXPECT_TRUE(PumpUntil([&] { return s.App().GetInfoTable()->GetLineCount() > nLines; })) << s.pRun->InfoText();
    ClearDialogSteps();
}

void EveryMarketAfterEveryOther(TicketMarkets& s, bool bArabic)
{
    s.Start(bArabic, {"--rate", "0"});
    CZORVAT32App& app = s.App();
    app.GetInfoTable()->ShowWindow();
    const std::vector<UINT> commands = CZORVAT32App::GetOrderTicketCommands();
    ASSERT_FALSE(commands.empty());
    // Each command, then each market the ticket it opened lists.
    CNewPlaceOrderDlg* pTicket = nullptr;
    for (UINT nCommand : commands) {
        pTicket = s.Command(nCommand);
        ASSERT_NE(nullptr, pTicket) << nCommand;
        for (const MARKET_CHOICE& choice : ChoicesOf(pTicket->m_hWnd)) {
            ASSERT_EQ(pTicket, s.Command(nCommand));
            Choose(pTicket->m_hWnd, choice);
            ExpectReady(pTicket->m_hWnd, choice, "command " + std::to_string(nCommand));
        }
    }
    const HWND hDlg = pTicket->m_hWnd;

    // Market after market, in a ticket that lists every market.
    for (UINT nCommand : commands)
        if (s.Command(nCommand)->IsPreMarket() == FALSE)
            break;
    const std::vector<MARKET_CHOICE> choices = ChoicesOf(hDlg);
    ASSERT_GT(choices.size(), 3u);
    for (const MARKET_CHOICE& first : choices)
        for (const MARKET_CHOICE& next : choices) {
            Choose(hDlg, first);
            ExpectReady(hDlg, first, "chosen first");
            Choose(hDlg, next);
            ExpectReady(hDlg, next, "after " + first.Name());
        }

    // A row's order commands, US and KSE, then each market.
    for (const MARKET_CHOICE& choice : choices) {
        app.OpenOrderTicket(0, "ALPN", 0.0, static_cast<LPCSTR>(GetGlobals()->GetMarketName(8)), nullptr, 0);
        Choose(hDlg, choice);
        ExpectReady(hDlg, choice, "a US row's order command");
        GetStockActions()->OpenOrderTicketKSE(ORDER_MODE_BUY, "101", 850.0, 0, 0);
        Choose(hDlg, choice);
        ExpectReady(hDlg, choice, "a KSE row's order command");
    }

    // Straight after an order placed on another market.
    for (size_t i = 0; i < choices.size(); ++i) {
        const MARKET_CHOICE& placed = choices[i];
        const MARKET_CHOICE& next = choices[(i + 1) % choices.size()];
        Choose(hDlg, placed);
        ExpectReady(hDlg, placed, "to place");
        PlaceOrder(s, hDlg);
        Choose(hDlg, next);
        ExpectReady(hDlg, next, "after an order on " + placed.Name());
    }
}
}  // namespace

TEST_F(TicketMarkets, EveryMarketAfterEveryOtherGivesItsFieldsReadyToFill)
{
    EveryMarketAfterEveryOther(*this, false);
}

TEST_F(TicketMarkets, EveryMarketAfterEveryOtherInArabic)
{
    EveryMarketAfterEveryOther(*this, true);
}

// A KSE stock typed by its number in a ticket reset to no market: each market chosen then keeps
// it only when it lists the stock (the KSE, each of its market types); every other market starts
// without it, and stays the market chosen.
TEST_F(TicketMarkets, AKseStockTypedBeforeTheMarketIsTheKsesAlone)
{
    Start(false, {"--rate", "0"});
    CNewPlaceOrderDlg* pTicket = Command(33100);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    const std::vector<MARKET_CHOICE> choices = ChoicesOf(hDlg);
    const std::string strKse = static_cast<LPCSTR>(GetGlobals()->GetMarketName(2));
    for (const MARKET_CHOICE& choice : choices) {
        SCOPED_TRACE(choice.Name());
        ClickControl(hDlg, IDC_TICKET_RESET);
        PumpPending();
        ASSERT_EQ("", BoxSelection(hDlg, IDC_TICKET_MARKET));
        SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "101");
        Choose(hDlg, choice);
        PumpFor(100);           // what the server says of the symbol
        if (choice.strMarket == strKse) {
            EXPECT_EQ("101", ControlText(hDlg, IDC_TICKET_TICKER).substr(0, 3));
            EXPECT_NE("", ControlText(hDlg, IDC_TICKET_DESCRIPTION));
        } else {
            EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_TICKER)) << "taken as this market's";
            EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_DESCRIPTION));
        }
        EXPECT_EQ(choice.strMarket, BoxSelection(hDlg, IDC_TICKET_MARKET)) << "another market put in its place";
    }
}

// On every market and market type the ticket lists, in Arabic: a side and an order type chosen,
// a ticker typed and left with Tab, and a limit typed at once, before the server answers the
// ticker's lookup. The answer fills in what the ticker names, never the trader's limit, side or
// type: the fields keep them, and the check carries the limit typed.
TEST_F(TicketMarkets, ALimitTypedBeforeTheTickersLookupIsAnsweredStays)
{
    Start(true, {"--rate", "0", "--scenario", "delay=RN:0.6"});
    CNewPlaceOrderDlg* pTicket = nullptr;
    for (UINT nCommand : CZORVAT32App::GetOrderTicketCommands())
        if ((pTicket = Command(nCommand))->IsPreMarket() == FALSE)
            break;
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    const std::vector<MARKET_CHOICE> choices = ChoicesOf(hDlg);
    // Without the quotations open a US ticker is asked of the server.
    IDataTable* pQuotes = App().FindTable(51921);
    App().RemoveTable(&pQuotes);
    size_t nLookups = 0;
    for (const MARKET_CHOICE& choice : choices) {
        SCOPED_TRACE(choice.Name());
        Choose(hDlg, choice);
        const std::vector<std::string> sides = BoxItems(hDlg, IDC_TICKET_SIDE), tickers = BoxItems(hDlg, IDC_TICKET_TICKER);
        ASSERT_FALSE(sides.empty());
        // The trader's own choices: the last side, the last order type that takes a limit alone.
        ChooseItem(hDlg, IDC_TICKET_SIDE, sides.back());
        const std::vector<std::string> types = BoxItems(hDlg, IDC_TICKET_TYPE);
        for (auto it = types.rbegin(); it != types.rend(); ++it) {
            ChooseItem(hDlg, IDC_TICKET_TYPE, *it);
            if ((GetWindowLongA(GetDlgItem(hDlg, IDC_TICKET_LIMIT), GWL_STYLE) & ES_READONLY) == 0 &&
                (GetWindowLongA(GetDlgItem(hDlg, IDC_TICKET_STOP), GWL_STYLE) & ES_READONLY) != 0)
                break;
        }
        const std::string strSide = BoxSelection(hDlg, IDC_TICKET_SIDE), strType = BoxSelection(hDlg, IDC_TICKET_TYPE);
        FillQuantityAndPanel(hDlg);
        // A symbol the quotations lack is asked of the server; a market that lists none takes one typed.
        const size_t nAsked = Count("RN");
        SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, tickers.empty() ? "SLVT" : tickers.back().c_str());
        ::SetFocus(GetDlgItem(hDlg, IDC_TICKET_TICKER));
        PumpPending();
        PressKey(VK_TAB);
        ::SetFocus(GetDlgItem(hDlg, IDC_TICKET_LIMIT));
        SendDlgItemMessageA(hDlg, IDC_TICKET_LIMIT, EM_SETSEL, 0, -1);
        for (const char* p = "12.5"; *p != '\0'; ++p) {
            TypeText(std::string(1, *p).c_str());
            PumpPending();
        }
        ASSERT_EQ("12.5", ControlText(hDlg, IDC_TICKET_LIMIT));
        // A ticker the ticket could not describe at once is being asked of the server.
        if (ControlText(hDlg, IDC_TICKET_DESCRIPTION).empty()) {
            ASSERT_TRUE(PumpUntil([&] { return Count("RN") > nAsked; }, 3000)) << "not looked up";
            ++nLookups;
            // The answer describes a symbol the market lists; one of another market is only told.
            if (!tickers.empty())
                ASSERT_TRUE(PumpUntil([&] { return !ControlText(hDlg, IDC_TICKET_DESCRIPTION).empty(); }, 3000));
            else
                PumpFor(800);
        }
        EXPECT_EQ("12.5", ControlText(hDlg, IDC_TICKET_LIMIT)) << "the answer put its price over the trader's";
        EXPECT_EQ(strSide, BoxSelection(hDlg, IDC_TICKET_SIDE));
        EXPECT_EQ(strType, BoxSelection(hDlg, IDC_TICKET_TYPE));
        const std::vector<std::string> checks = {"OV", "KV", "KU", "KJ"};
        const size_t nChecks = Requests(checks).size();
        RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) { ClickControl(h, IDCANCEL); }}});
        ClickControl(hDlg, IDC_TICKET_SUBMIT);
        EXPECT_TRUE(PumpUntil([&] { return Requests(checks).size() > nChecks; }, 5000));
        PumpFor(100);
        ClearDialogSteps();
        if (Requests(checks).size() > nChecks) {
            const std::vector<std::string> body = BodyOf(Requests(checks).back());
            EXPECT_NE(body.end(), std::find_if(body.begin(), body.end(), [](const std::string& f) {
                          return f.rfind("12.5", 0) == 0 && atof(f.c_str()) == 12.5;
                      })) << Requests(checks).back();
        }
    }
    EXPECT_GT(nLookups, 0u) << "no ticker was looked up: the road was not taken";
}

// Every side of every market, then every other market chosen: the colour tells the side the box
// shows afterwards, or none.
TEST_F(TicketMarkets, TheColourFollowsTheSideShownAcrossMarkets)
{
    Start(false);
    CNewPlaceOrderDlg* pTicket = Command(33100);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    const auto Expected = [&] {
        const int nShown = CTransactionType::GetCodeByText(ControlText(hDlg, IDC_TICKET_SIDE).c_str());
        return nShown == 1 || nShown == 27 ? RGB(255, 128, 128)
               : nShown == 2 || nShown == 28 ? RGB(128, 255, 128)
                                             : GetSysColor(COLOR_BTNFACE);
    };
    const std::vector<std::string> markets = BoxItems(hDlg, IDC_TICKET_MARKET);
    for (const std::string& strFrom : markets) {
        ChooseItem(hDlg, IDC_TICKET_MARKET, strFrom);
        for (const std::string& strSide : BoxItems(hDlg, IDC_TICKET_SIDE))
            for (const std::string& strTo : markets) {
                ChooseItem(hDlg, IDC_TICKET_MARKET, strFrom);
                ChooseItem(hDlg, IDC_TICKET_SIDE, strSide);
                ChooseItem(hDlg, IDC_TICKET_MARKET, strTo);
                EXPECT_EQ(Expected(), pTicket->GetFormColour())
                    << strFrom << " " << strSide << " -> " << strTo << " shows '" << ControlText(hDlg, IDC_TICKET_SIDE) << "'";
                // The side chosen stays where the market offers it; else the trader hears it went.
                const std::vector<std::string> sides = BoxItems(hDlg, IDC_TICKET_SIDE);
                if (std::find(sides.begin(), sides.end(), strSide) != sides.end()) {
                    EXPECT_EQ(strSide, ControlText(hDlg, IDC_TICKET_SIDE)) << strFrom << " -> " << strTo;
                } else if (strFrom != strTo) {
                    EXPECT_NE(std::string::npos, pRun->InfoText().find(strTo + " takes no " + strSide))
                        << strFrom << " " << strSide << " -> " << strTo;
                }
            }
        // Reset empties the order, its side among the rest.
        ChooseItem(hDlg, IDC_TICKET_MARKET, strFrom);
        NotifyControl(hDlg, IDC_TICKET_RESET, BN_CLICKED);
        EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_SIDE));
        EXPECT_EQ(Expected(), pTicket->GetFormColour()) << strFrom << " reset";
    }
}

// The pre-market ticket opened over an order with a side: the side box loses its choice, and the
// form its colour with it.
TEST_F(TicketMarkets, ThePreMarketTicketLeavesNoSidesColour)
{
    Start(false);
    CNewPlaceOrderDlg* pTicket = Command(33100);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    ChooseItem(hDlg, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(4)));
    ChooseItem(hDlg, IDC_TICKET_SIDE, static_cast<LPCSTR>(LoadMarketText(55046)));
    ASSERT_EQ(RGB(128, 255, 128), pTicket->GetFormColour());
    App().OpenOrderTicket(1, nullptr, 0.0, nullptr, nullptr, 0);
    PumpPending();
    if (ControlText(hDlg, IDC_TICKET_SIDE).empty())
        EXPECT_EQ(GetSysColor(COLOR_BTNFACE), pTicket->GetFormColour()) << "no side chosen, no side's colour";
    else
        EXPECT_EQ(RGB(128, 255, 128), pTicket->GetFormColour());
}
