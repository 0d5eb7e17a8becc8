// The terminal worked with the mouse as on a desktop: Sell chosen in the ticket's side box with
// the mouse, typed in while fills arrive, maximised and sent, each line coming up beneath the
// ticket, which keeps the keys, the indicator telling of it; the ticket restored from the menu
// bar's button and the information window brought forward with its newest line in view. The
// next order typed while the last one's reply is held: every key stays, and only the fields still
// reading the order sent are emptied. A ticket activated again gives the keys back to the field
// left; brought forward by F3 it takes them at its first field.
// And the pause lock up: no click reaches the terminal behind it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/FormMDIWnd.h"
#include "app/NorvMainFrame.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "market/TableLinks.h"
#include "market/dialogs/PausePasswdDlg.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/ReviewDialog.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/user/Accelerators.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/TestAnswers.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/orders/OrderTestSupport.h"

namespace {
using MouseRoadSession = COrderSession;

BOOL CALLBACK FindShownList(HWND hWnd, LPARAM lParam)
{
    char sz[32] = {};
    GetClassNameA(hWnd, sz, sizeof sz);
    if (std::string(sz) == "ListBox" && IsWindowVisible(hWnd)) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

// A press and release where the display reports them, then the queue handled.
void ClickAt(HWND hWnd, POINT pt)
{
    ClientToScreen(hWnd, &pt);
    TbDisplayMouse(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, pt);
    TbDisplayMouse(hWnd, WM_LBUTTONUP, 0, pt);
    PumpPending();
}

// The item of that text chosen in a drop-down list with the mouse: the box clicked open, the
// list activated by the window manager as the pointer goes onto it, the item clicked.
void ChooseWithMouse(HWND hDlg, int nId, const std::string& strItem)
{
    HWND hBox = GetDlgItem(hDlg, nId);
    ClickAt(hBox, POINT{5, 5});
    HWND hList = nullptr;
    EnumWindows(FindShownList, reinterpret_cast<LPARAM>(&hList));
    ASSERT_NE(nullptr, hList) << "the list opened";
    TbDisplayActivate(hList);
    const LRESULT nItem = SendMessageA(hList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(strItem.c_str()));
    ASSERT_GE(nItem, 0) << strItem;
    RECT rc = {};
    SendMessageA(hList, LB_GETITEMRECT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&rc));
    ClickAt(hList, POINT{rc.left + 5, (rc.top + rc.bottom) / 2});
}

// A field emptied, clicked into and typed in; with pApp, a fill's line arrives before each key.
void TypeInto(HWND hDlg, int nId, const char* pszText, CZORVAT32App* pApp = nullptr)
{
    SetDlgItemTextA(hDlg, nId, "");
    ClickAt(GetDlgItem(hDlg, nId), POINT{3, 3});
    for (const char* p = pszText; *p != '\0'; ++p) {
        if (pApp != nullptr) {
            pApp->AddInfoText("Order filled");
            pApp->BringInfoWindowToTop(1);
            PumpPending();
        }
        const char sz[2] = {*p, '\0'};
        TypeText(sz);
    }
    PumpPending();
}

// The first item of the box that begins with the text; "" when none does.
std::string ListItem(HWND hDlg, int nId, const char* pszStart)
{
    char szItem[256] = "";
    const LRESULT nItem = SendDlgItemMessageA(hDlg, nId, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pszStart));
    if (nItem >= 0)
        SendDlgItemMessageA(hDlg, nId, CB_GETLBTEXT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(szItem));
    return szItem;
}

std::string Place(HWND hWnd, HWND hClient)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    MapWindowPoints(nullptr, hClient, reinterpret_cast<POINT*>(&rc), 2);
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + " " + std::to_string(rc.right - rc.left) + "x" +
           std::to_string(rc.bottom - rc.top);
}
}  // namespace

// bSubmit: the sale typed in and sent (the ticker's own look-up differs between the languages).
void DriveWithTheMouse(MouseRoadSession& s, bool bArabic, bool bSubmit)
{
    s.Start(bArabic);
    CZORVAT32App& app = s.App();
    app.GetInfoTable()->ShowWindow();
    PumpPending();
    CNewPlaceOrderDlg* pTicket = s.Command(33049);        // KSE: Buy and Sell
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd, hTicket = GetParent(hDlg);
    CNorvMainFrame* pFrame = app.GetMainFrame();
    const HWND hClient = pFrame->m_hWndMDIClient;
    auto active = [&] { return reinterpret_cast<HWND>(SendMessageA(hClient, WM_MDIGETACTIVE, 0, 0)); };

    ChooseWithMouse(hDlg, IDC_TICKET_SIDE, static_cast<LPCSTR>(LoadMarketText(55046)));
    EXPECT_EQ(std::string(LoadMarketText(55046)), ControlText(hDlg, IDC_TICKET_SIDE));
    EXPECT_EQ(RGB(128, 255, 128), pTicket->GetFormColour()) << "the sell side's colour";
    if (bSubmit) {
        TypeInto(hDlg, IDC_TICKET_TICKER, "107");       // the trader holds 107
        TypeInto(hDlg, IDC_TICKET_QUANTITY, "1000", &app);
        TypeInto(hDlg, IDC_TICKET_LIMIT, "1125");
        ClickAt(GetDlgItem(hDlg, IDC_TICKET_QUANTITY), POINT{3, 3});  // the price left for a field that needs no lookup
        EXPECT_EQ("1,000", ControlText(hDlg, IDC_TICKET_QUANTITY)) << "every key typed while fills arrive";
        ASSERT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_SUBMIT))) << "a complete order";
    }

    // Maximised from its frame's button, the ticket fills the client; the order goes out and its
    // acknowledgement brings the information window up.
    const std::string strNormal = Place(hTicket, hClient);
    TbDisplaySysCommand(hTicket, SC_MAXIMIZE);
    PumpPending();
    RECT rcClient;
    GetClientRect(hClient, &rcClient);
    const std::string strFilled = "0,0 " + std::to_string(rcClient.right) + "x" + std::to_string(rcClient.bottom);
    ASSERT_EQ(strFilled, Place(hTicket, hClient));
    // The maximised frame shows the form alone, at the reading start; the closed account panel's
    // login field, beyond the form's width, stays unseen.
    RECT rcFrame, rcForm, rcLogin, rcSeen;
    GetClientRect(hTicket, &rcFrame);
    MapWindowPoints(hTicket, nullptr, reinterpret_cast<POINT*>(&rcFrame), 2);
    GetWindowRect(hDlg, &rcForm);
    GetWindowRect(GetDlgItem(hDlg, IDC_TICKET_LOGIN), &rcLogin);
    EXPECT_EQ(bArabic ? rcFrame.right : rcFrame.left, bArabic ? rcForm.right : rcForm.left);
    EXPECT_LT(rcForm.right - rcForm.left, rcFrame.right - rcFrame.left);
    EXPECT_FALSE(IntersectRect(&rcSeen, &rcLogin, &rcForm)) << "the login field seen";
    EXPECT_TRUE(TbSaveWindowPng(hTicket, (std::string(TB_BINARY_DIR) + "/screenshots/order_ticket_maximised_" +
                                          (bArabic ? "ar" : "en") + ".png").c_str()));
    const HWND hInfo = app.GetInfoTable()->GetDataTable()->GetMainWindow()->m_hWnd;
    if (bSubmit) {
        const int nLines = app.GetInfoTable()->GetLineCount();
        RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) {
                       TypeText("secret");
                       ClickControl(h, IDOK);
                   }}});
        app.AddInfoText("Order filled");
        app.BringInfoWindowToTop(1);
        PumpPending();
        ClickAt(GetDlgItem(hDlg, IDC_TICKET_SUBMIT), POINT{3, 3});
        ASSERT_TRUE(PumpUntil([&] { return s.Count("KR") == 1 && app.GetInfoTable()->GetLineCount() > nLines + 1; }))
            << s.pRun->InfoText();
        PumpFor(200);
        EXPECT_TRUE(FinishedSteps());
        const std::vector<std::string> order = BodyOf(s.Requests({"KR"}).back());
        ASSERT_GT(order.size(), 7u);
        EXPECT_EQ("2", order[5]) << "a sale";
        EXPECT_EQ("107", order[6]);
        EXPECT_EQ("1000", order[7]);
    } else {
        app.AddInfoText("Order acknowledged");      // as the acknowledgement does
        app.BringInfoWindowToTop(1);
        PumpPending();
    }
    // The line takes nothing from the trader: the maximised ticket stays in front with the keys,
    // on the display too, the information window comes up right beneath it, and the indicator
    // blinks for the line unseen.
    EXPECT_EQ(hTicket, GetWindow(hClient, GW_CHILD)) << "the ticket in front";
    EXPECT_EQ(hTicket, active());
    HWND hShownTop = nullptr, hShownActive = nullptr;
    TbQtMdiShown(hClient, &hShownTop, &hShownActive);
    EXPECT_TRUE(hShownTop == hTicket && hShownActive == hTicket) << "as the display shows them";
    EXPECT_EQ(hInfo, GetWindow(hTicket, GW_HWNDNEXT)) << "the information window next";
    EXPECT_NE(0, app.GetIndicatorState()) << "the indicator tells of the line";
    EXPECT_TRUE(IsChild(hDlg, GetFocus())) << "the keys in the ticket seen";

    // The bar's restore button gives the ticket its place back; the information window's caption
    // clicked brings it forward, its newest line whole in view.
    TbDisplayMenuDone(pFrame->m_hWnd, SC_RESTORE);
    TbDisplayChildActivate(hInfo);
    PumpPending();
    const CTableWindow& grid = app.GetInfoTable()->GetDataTable()->GetMainWindow()->GetGrid();
    EXPECT_EQ(hInfo, active());
    EXPECT_EQ(grid.GetRowCount() - 1, grid.GetLastFullyShownRow()) << "the newest line whole";
    ClickAt(GetDlgItem(hDlg, IDC_TICKET_QUANTITY), POINT{3, 3});
    EXPECT_EQ(hTicket, active());
    EXPECT_EQ(hTicket, GetWindow(hClient, GW_CHILD)) << "in front";
}

TEST_F(MouseRoadSession, ASaleChosenWithTheMouseGoesOutWhileTheTicketIsMaximisedAndTheWindowsComeBack)
{
    DriveWithTheMouse(*this, false, true);
}

TEST_F(MouseRoadSession, TheSameRoadInArabic)
{
    DriveWithTheMouse(*this, true, false);
}

// A stock bought from the ticker's list, then chosen from the list again for the next order:
// the choice sets the ticker it names, each time.
TEST_F(MouseRoadSession, TheTickerChosenAgainAfterAnOrderIsTakenAgain)
{
    Start(true);
    CNewPlaceOrderDlg* pTicket = Command(33049);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    const std::string strItem = ListItem(hDlg, IDC_TICKET_TICKER, "101/");
    ASSERT_NE("", strItem);
    const char* const szItem = strItem.c_str();
    for (int nOrder = 0; nOrder < 3; ++nOrder) {
        SCOPED_TRACE(nOrder);
        ChooseWithMouse(hDlg, IDC_TICKET_SIDE, static_cast<LPCSTR>(LoadMarketText(55045)));
        ChooseWithMouse(hDlg, IDC_TICKET_TICKER, szItem);
        EXPECT_EQ(szItem, ControlText(hDlg, IDC_TICKET_TICKER));
        EXPECT_NE("", ControlText(hDlg, IDC_TICKET_DESCRIPTION));
        TypeInto(hDlg, IDC_TICKET_QUANTITY, "1000");
        TypeInto(hDlg, IDC_TICKET_LIMIT, "842");
        ClickAt(GetDlgItem(hDlg, IDC_TICKET_QUANTITY), POINT{3, 3});
        ASSERT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_SUBMIT)));
        const size_t nOrders = Count("KR");
        RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) {
                       TypeText("secret");
                       ClickControl(h, IDOK);
                   }}});
        ClickAt(GetDlgItem(hDlg, IDC_TICKET_SUBMIT), POINT{3, 3});
        ASSERT_TRUE(PumpUntil([&] { return Count("KR") == nOrders + 1 && ControlText(hDlg, IDC_TICKET_TICKER).empty(); }))
            << pRun->InfoText();
        EXPECT_TRUE(FinishedSteps());
        EXPECT_EQ("101", BodyOf(Requests({"KR"}).back()).at(6));
    }
}

// The next order typed while the last one's acknowledgement comes in, the reply held by a
// loaded server: every key lands in the quantity and stays there, whatever the reply finds
// typed (a different quantity, or the same one again, the keys split around it), and the order
// the ticket then holds goes out whole. Only the fields untouched since the order are emptied for
// the next one; an order acknowledged while the trader works in the information window leaves
// the keys there.
struct CKeysAroundAnAcknowledgement
{
    MouseRoadSession& s;
    HWND hDlg = nullptr;
    std::string strTicker;      // the ticker's list item, as the ticket shows it chosen

    // A purchase of 1000 of 107 at 1125 sent; false when it did not go out.
    bool Send()
    {
        ChooseWithMouse(hDlg, IDC_TICKET_SIDE, static_cast<LPCSTR>(LoadMarketText(55045)));
        ChooseItem(hDlg, IDC_TICKET_TICKER, strTicker);
        TypeInto(hDlg, IDC_TICKET_QUANTITY, "1000");
        TypeInto(hDlg, IDC_TICKET_LIMIT, "1125");
        ClickAt(GetDlgItem(hDlg, IDC_TICKET_QUANTITY), POINT{3, 3});
        const size_t nOrders = s.Count("KR");
        RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) {
                       TypeText("secret");
                       ClickControl(h, IDOK);
                   }}});
        ClickAt(GetDlgItem(hDlg, IDC_TICKET_SUBMIT), POINT{3, 3});
        return PumpUntil([&] { return s.Count("KR") == nOrders + 1; }) && FinishedSteps();
    }
    // The quantity clicked, its text selected as the trader's Shift+Home does, keys typed.
    void TypeQuantity(const char* pszKeys)
    {
        ClickAt(GetDlgItem(hDlg, IDC_TICKET_QUANTITY), POINT{3, 3});
        SendDlgItemMessageA(hDlg, IDC_TICKET_QUANTITY, EM_SETSEL, 0, -1);
        for (const char* p = pszKeys; *p != '\0'; ++p) {
            const char sz[2] = {*p, '\0'};
            TypeText(sz);
        }
        PumpPending();
    }
    bool Acknowledged(int nLines)
    {
        return PumpUntil([&] { return s.App().GetInfoTable()->GetLineCount() > nLines; });
    }
};

void TypeAroundAnAcknowledgement(MouseRoadSession& s, bool bArabic, bool bMaximised)
{
    s.Start(bArabic, {"--rate", "0", "--scenario", "delay=KR:1"});
    CZORVAT32App& app = s.App();
    app.GetInfoTable()->ShowWindow();
    CNewPlaceOrderDlg* pTicket = s.Command(33049);
    ASSERT_NE(nullptr, pTicket);
    CKeysAroundAnAcknowledgement road{s, pTicket->m_hWnd, ""};
    const HWND hDlg = road.hDlg;
    if (bMaximised) {
        TbDisplaySysCommand(GetParent(hDlg), SC_MAXIMIZE);
        PumpPending();
        ASSERT_TRUE(IsZoomed(GetParent(hDlg)));
    }
    road.strTicker = ListItem(hDlg, IDC_TICKET_TICKER, "107/");
    ASSERT_NE("", road.strTicker);

    // Keys before the reply and after it: a different quantity, split around the reply, and the
    // same one again.
    const struct { const char* pszBefore; const char* pszAfter; const char* pszShown; const char* pszSent; } cases[] = {
        {"1500", "", "1,500", "1500"},
        {"123", "456", "123,456", "123456"},
        {"1000", "", "1,000", "1000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pszBefore) + "|" + c.pszAfter);
        ASSERT_TRUE(road.Send()) << s.pRun->InfoText();
        const int nLines = app.GetInfoTable()->GetLineCount();
        road.TypeQuantity(c.pszBefore);
        EXPECT_EQ(nLines, app.GetInfoTable()->GetLineCount()) << "typed before the reply";
        ASSERT_TRUE(road.Acknowledged(nLines)) << s.pRun->InfoText();
        TypeText(c.pszAfter);
        PumpPending();
        EXPECT_EQ(c.pszShown, ControlText(hDlg, IDC_TICKET_QUANTITY)) << "every key kept";
        // The fields left as the order sent them are that order's: emptied for the next one.
        EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_TICKER)) << "the order sent's ticker kept";
        EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_SIDE)) << "its side kept";
        EXPECT_EQ(IDC_TICKET_QUANTITY, FocusedControl(hDlg)) << "the keys taken away";
        // The order the ticket holds, completed, goes out as it reads.
        ChooseWithMouse(hDlg, IDC_TICKET_SIDE, static_cast<LPCSTR>(LoadMarketText(55045)));
        ChooseItem(hDlg, IDC_TICKET_TICKER, road.strTicker);
        EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_LIMIT)) << "the order sent's price kept";
        TypeInto(hDlg, IDC_TICKET_LIMIT, "1125");
        EXPECT_EQ(c.pszShown, ControlText(hDlg, IDC_TICKET_QUANTITY));
        const size_t nOrders = s.Count("KR");
        RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) {
                       TypeText("secret");
                       ClickControl(h, IDOK);
                   }}});
        ClickAt(GetDlgItem(hDlg, IDC_TICKET_SUBMIT), POINT{3, 3});
        ASSERT_TRUE(PumpUntil([&] { return s.Count("KR") == nOrders + 1; }) && FinishedSteps()) << s.pRun->InfoText();
        EXPECT_EQ(c.pszSent, BodyOf(s.Requests({"KR"}).back()).at(7));
        // Untouched since it went out, the ticket is emptied by its acknowledgement.
        ASSERT_TRUE(PumpUntil([&] { return ControlText(hDlg, IDC_TICKET_TICKER).empty(); })) << s.pRun->InfoText();
        EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_QUANTITY));
    }

    ASSERT_TRUE(road.Send()) << s.pRun->InfoText();
    const HWND hInfo = app.GetInfoTable()->GetDataTable()->GetMainWindow()->m_hWnd;
    TbDisplayChildActivate(hInfo);
    PumpPending();
    ASSERT_TRUE(PumpUntil([&] { return ControlText(hDlg, IDC_TICKET_TICKER).empty(); })) << s.pRun->InfoText();
    EXPECT_EQ(hInfo, reinterpret_cast<HWND>(SendMessageA(app.GetMainFrame()->m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0)));
    EXPECT_TRUE(GetFocus() == hInfo || IsChild(hInfo, GetFocus())) << "the keys in the window worked in";
}

TEST_F(MouseRoadSession, KeysTypedWhileAnOrderIsAcknowledgedStayWhereTheTraderTypes)
{
    TypeAroundAnAcknowledgement(*this, false, false);
}

TEST_F(MouseRoadSession, KeysTypedWhileAnOrderIsAcknowledgedStayInTheMaximisedArabicTicket)
{
    TypeAroundAnAcknowledgement(*this, true, true);
}

// The same order sent again before the first is acknowledged: while its check is unanswered the
// first one's acknowledgement leaves the ticket as it is, and the review shows what it reads.
TEST_F(MouseRoadSession, AnOrderSentAgainBeforeTheFirstIsAnsweredStaysInTheTicket)
{
    Start(false, {"--rate", "0", "--scenario", "delay=KR:1"});
    CNewPlaceOrderDlg* pTicket = Command(33049);
    ASSERT_NE(nullptr, pTicket);
    CKeysAroundAnAcknowledgement road{*this, pTicket->m_hWnd, ""};
    const HWND hDlg = road.hDlg;
    road.strTicker = ListItem(hDlg, IDC_TICKET_TICKER, "107/");
    ASSERT_NE("", road.strTicker);
    ASSERT_TRUE(road.Send()) << pRun->InfoText();
    const int nLines = App().GetInfoTable()->GetLineCount();
    std::string strTickerInReview, strQuantityInReview;
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND h) {
                   strTickerInReview = ControlText(hDlg, IDC_TICKET_TICKER);
                   strQuantityInReview = ControlText(hDlg, IDC_TICKET_QUANTITY);
                   TypeText("secret");
                   ClickControl(h, IDOK);
               }}});
    ClickAt(GetDlgItem(hDlg, IDC_TICKET_SUBMIT), POINT{3, 3});
    ASSERT_TRUE(PumpUntil([&] { return Count("KR") == 2; }) && FinishedSteps()) << pRun->InfoText();
    EXPECT_GT(App().GetInfoTable()->GetLineCount(), nLines) << "the first acknowledged before the second's review";
    EXPECT_EQ(road.strTicker, strTickerInReview);
    EXPECT_EQ("1,000", strQuantityInReview);
    EXPECT_EQ("1000", BodyOf(Requests({"KR"}).back()).at(7));
    ASSERT_TRUE(PumpUntil([&] { return ControlText(hDlg, IDC_TICKET_TICKER).empty(); })) << pRun->InfoText();
}

// A US order typed and sent with Enter from its price field: the price reads in its decimals
// once the review took the keys, and the order acknowledged still empties the ticket it left.
TEST_F(MouseRoadSession, AnOrderSentWithEnterFromItsPriceIsEmptiedByItsAcknowledgement)
{
    Start(false, {"--rate", "0"});
    CNewPlaceOrderDlg* pTicket = Command(33100);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    ChooseWithMouse(hDlg, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(8)));   // a US market
    TypeInto(hDlg, IDC_TICKET_TICKER, "ALPN");
    TypeInto(hDlg, IDC_TICKET_QUANTITY, "10");
    TypeInto(hDlg, IDC_TICKET_LIMIT, "30");
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) {
                   TypeText("secret");
                   ClickControl(h, IDOK);
               }}});
    ASSERT_EQ(IDC_TICKET_LIMIT, FocusedControl(hDlg));
    NotifyControl(hDlg, IDC_TICKET_SUBMIT, BN_CLICKED);     // as Enter does, the keys left in the price
    ASSERT_TRUE(PumpUntil([&] { return Count("OR") == 1; }) && FinishedSteps()) << pRun->InfoText();
    EXPECT_EQ("30", BodyOf(Requests({"OR"}).back()).at(6));
    EXPECT_TRUE(PumpUntil([&] { return ControlText(hDlg, IDC_TICKET_TICKER).empty(); }, 3000)) << pRun->InfoText();
    EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_QUANTITY));
    EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_LIMIT));
    EXPECT_TRUE(IsChild(hDlg, GetFocus())) << "the keys left the ticket: " << FocusedControl(hDlg);
}

// Keys alone: a ticket opened with F3, the trader working in its quantity, the information
// window activated over it. The ticket activated again with the mouse gives the keys back to the
// quantity; brought forward by F3 instead, it takes them at its Market box, and Alt+I and a
// ticker are entered as typed.
TEST_F(MouseRoadSession, ATicketBroughtForwardByItsKeyTakesTheKeysAtItsFirstField)
{
    Start(false);
    CZORVAT32App& app = App();
    auto ticket = [&] { return app.GetOrderTicketForm(); };
    ASSERT_TRUE(pRun->TypeKey(VK_F3, [&] { return ticket() != nullptr; }));
    const HWND hDlg = ticket()->GetView()->m_hWnd, hTicket = GetParent(hDlg);
    ChooseWithMouse(hDlg, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(8)));   // a US market
    ClickAt(GetDlgItem(hDlg, IDC_TICKET_QUANTITY), POINT{3, 3});
    TypeText("5");
    PumpPending();
    ASSERT_EQ(IDC_TICKET_QUANTITY, FocusedControl(hDlg));
    const HWND hInfo = app.GetInfoTable()->GetDataTable()->GetMainWindow()->m_hWnd;
    auto leaveForTheInformation = [&] {
        TbDisplayChildActivate(hInfo);
        PumpPending();
        ASSERT_FALSE(IsChild(hDlg, GetFocus())) << "the information window took no keys";
    };
    leaveForTheInformation();
    TbDisplayChildActivate(hTicket);
    PumpPending();
    EXPECT_EQ(IDC_TICKET_QUANTITY, FocusedControl(hDlg)) << "the keys back where the trader left them";
    leaveForTheInformation();
    EXPECT_TRUE(pRun->TypeKey(VK_F3, [&] { return IsChild(hDlg, GetFocus()); }));
    EXPECT_EQ(IDC_TICKET_MARKET, FocusedControl(hDlg)) << "a command starts at the first field";
    TbDisplayKey(WM_KEYDOWN, 'I', MAKELPARAM(1, KF_ALTDOWN), "i");
    TbDisplayKey(WM_KEYUP, 'I', MAKELPARAM(1, KF_ALTDOWN | KF_UP | KF_REPEAT), nullptr);
    const HWND hTicker = GetDlgItem(hDlg, IDC_TICKET_TICKER);
    EXPECT_TRUE(pRun->TypeKey(VK_SHIFT, [&] { return IsChild(hTicker, GetFocus()); }));
    TypeText("ALPN");
    EXPECT_TRUE(pRun->TypeKey(VK_END, [&] { return ControlText(hDlg, IDC_TICKET_TICKER) == "ALPN"; }))
        << ControlText(hDlg, IDC_TICKET_TICKER);
}

// Every key combination of the main window's menus and toolbar: its accelerators (the
// toolbar's commands among them) and the mnemonics of its menu bar, pressed on the main window as
// the window system gives it the keys after a click.
void PressEveryShortcut(CFrameWnd* pFrame)
{
    const HWND hFrame = pFrame->m_hWnd;
    const HACCEL hAccel = pFrame->m_hAccelTable;
    ASSERT_NE(nullptr, hAccel);
    std::vector<ACCEL> keys(static_cast<size_t>(CopyAcceleratorTableA(hAccel, nullptr, 0)));
    CopyAcceleratorTableA(hAccel, keys.data(), static_cast<int>(keys.size()));
    ASSERT_FALSE(keys.empty());
    for (const ACCEL& key : keys) {
        EXPECT_TRUE(TbQtPressKey(hFrame, key.key, key.fVirt)) << key.key;
        PumpPending();
        EXPECT_FALSE(TbQtMenuOpen()) << "a menu opened at key " << key.key;
    }
    HMENU hBar = GetMenu(hFrame);
    ASSERT_GT(GetMenuItemCount(hBar), 0);
    for (int i = 0; i < GetMenuItemCount(hBar); ++i) {
        char szText[128] = "";
        GetMenuStringA(hBar, static_cast<UINT>(i), szText, sizeof szText, MF_BYPOSITION);
        const char* pszMark = strchr(szText, '&');
        if (pszMark == nullptr || pszMark[1] == '\0')
            continue;
        EXPECT_TRUE(TbQtPressKey(hFrame, 0, FALT, pszMark[1])) << szText;
        PumpPending();
        EXPECT_FALSE(TbQtMenuOpen()) << "the menu " << szText << " opened";
        if (TbQtMenuOpen())
            TbQtPressKey(hFrame, VK_ESCAPE, 0);
    }
}

// File > Pause lock, then the mouse on everything of the terminal but the lock: the menu bar (a
// ticket chosen from it), a toolbar button (a ticket), another window, the frame's and a document
// window's buttons; then every shortcut of the menus and the toolbar. Nothing opens, closes or
// changes and nothing is sent; the lock keeps the keys and the right password lets the trader
// back in.
void ClickPastTheLock(MouseRoadSession& s, bool bArabic)
{
    s.Start(bArabic);
    CZORVAT32App& app = s.App();
    app.GetInfoTable()->ShowWindow();
    PumpPending();
    CNorvMainFrame* pFrame = app.GetMainFrame();
    const HWND hFrame = pFrame->m_hWnd, hClient = pFrame->m_hWndMDIClient;
    const HWND hInfo = app.GetInfoTable()->GetDataTable()->GetMainWindow()->m_hWnd;
    auto children = [&] {
        std::vector<HWND> list;
        for (HWND h = GetWindow(hClient, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT))
            if (IsWindowVisible(h))
                list.push_back(h);
        return list;
    };
    const std::vector<HWND> before = children();
    // What the trader's clicks could send: the orders' checks and the orders (the quotes'
    // subscriptions go on by themselves).
    const std::vector<std::string> orderKinds = {"KV", "KR", "KU", "KJ", "KQ", "OV", "OR", "OM", "OC"};
    const size_t nSent = s.Requests(orderKinds).size();
    const BOOL bZoomed = IsZoomed(hFrame);
    RunDialogSteps({
        {IDC_PAUSE_PASSWORD, [&](HWND h) {
            EXPECT_FALSE(TbQtChooseFromMenuBar(hFrame, 33049)) << "a menu opened";     // KSE > Buy
            const HWND hBar = GetDlgItem(hFrame, 0xE800);
            RECT rc = {};
            SendMessageA(hBar, TB_GETITEMRECT, SendMessageA(hBar, TB_COMMANDTOINDEX, 33601, 0), reinterpret_cast<LPARAM>(&rc));
            EXPECT_TRUE(TbQtClickWindow(hBar, POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}));
            EXPECT_TRUE(TbQtClickWindow(hInfo, POINT{20, 20}));
            TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDNO, ""});      // were the frame to ask
            TbDisplayClose(hFrame);
            TbDisplayShowState(hFrame, SW_SHOWMINIMIZED);
            TbDisplaySysCommand(hInfo, SC_MAXIMIZE);
            // The clicks refused have brought the lock forward (a moment after each).
            PumpFor(100);
            EXPECT_EQ(h, TbQtActiveWindow());
            PressEveryShortcut(pFrame);
            PumpFor(100);
            // The window manager gave the main window the keys with each of them: the lock takes
            // them back, and with them the active caption.
            EXPECT_EQ(h, TbQtActiveWindow()) << "the lock's caption is not the active one";
            EXPECT_EQ(1, TbPendingTestAnswers()) << "the frame asked to close";
            TbClearTestAnswers();
            EXPECT_EQ(before, children()) << "a window opened or closed";
            EXPECT_EQ(bZoomed, IsZoomed(hFrame));
            EXPECT_FALSE(IsIconic(hFrame));
            EXPECT_FALSE(IsZoomed(hInfo));
            const bool bKeys = FocusedControl(h) == IDC_PAUSE_PASSWORD;
            EXPECT_TRUE(bKeys) << "the keys left the lock";
            if (bKeys) {
                // What the shortcuts typed there goes first.
                SetDlgItemTextA(h, IDC_PAUSE_PASSWORD, "");
                TypeText("secret");
                PressKey(VK_RETURN);
            } else {
                SetDlgItemTextA(h, IDC_PAUSE_PASSWORD, "secret");
                ClickControl(h, IDOK);
            }
        }},
    });
    app.RunCommand(33048);
    EXPECT_TRUE(FinishedSteps());
    PumpFor(200);
    EXPECT_EQ(nSent, s.Requests(orderKinds).size());
    EXPECT_TRUE(app.IsLoggedIn());
    EXPECT_EQ(before, children());
}

TEST_F(MouseRoadSession, ThePauseLockTakesEveryClick)
{
    ClickPastTheLock(*this, false);
}

TEST_F(MouseRoadSession, ThePauseLockTakesEveryClickInArabic)
{
    ClickPastTheLock(*this, true);
}

// The ticker's list clicked open at its button (the left end in Arabic) and filtered by the keys
// to one stock: it covers no more than that stock's line, Quantity stays free, and a click on
// Quantity closes the list and lands there, so what is typed next goes there, not into the ticker.
void ClickOutsideATickersList(MouseRoadSession& s, bool bArabic)
{
    s.Start(bArabic);
    CNewPlaceOrderDlg* pTicket = s.Command(33100);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    ChooseWithMouse(hDlg, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(8)));   // a US market
    const HWND hTicker = GetDlgItem(hDlg, IDC_TICKET_TICKER);
    RECT rcTicker = {};
    GetClientRect(hTicker, &rcTicker);
    SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "");
    ClickAt(hTicker, POINT{bArabic ? 3 : rcTicker.right - 3, 3});
    TypeText("ALPN");
    PumpPending();
    HWND hList = nullptr;
    EnumWindows(FindShownList, reinterpret_cast<LPARAM>(&hList));
    ASSERT_NE(nullptr, hList) << "the ticker's list is open";
    ASSERT_EQ(1, SendMessageA(hList, LB_GETCOUNT, 0, 0));
    RECT rcList = {}, rcQuantity = {}, rcBoth = {};
    GetWindowRect(hList, &rcList);
    const HWND hQuantity = GetDlgItem(hDlg, IDC_TICKET_QUANTITY);
    GetWindowRect(hQuantity, &rcQuantity);
    EXPECT_FALSE(IntersectRect(&rcBoth, &rcQuantity, &rcList))
        << "list " << rcList.left << "," << rcList.top << " " << rcList.right << "," << rcList.bottom << "; Quantity at "
        << rcQuantity.top;
    ClickAt(hQuantity, POINT{3, 3});
    TypeText("10");
    PumpPending();
    EXPECT_FALSE(IsWindowVisible(hList)) << "the list closed";
    EXPECT_EQ(IDC_TICKET_QUANTITY, FocusedControl(hDlg));
    EXPECT_EQ("10", ControlText(hDlg, IDC_TICKET_QUANTITY));
    EXPECT_EQ("ALPN", ControlText(hDlg, IDC_TICKET_TICKER));
}

TEST_F(MouseRoadSession, AClickOutsideATickersListLandsWhereClicked)
{
    ClickOutsideATickersList(*this, false);
}

TEST_F(MouseRoadSession, AClickOutsideATickersListLandsWhereClickedInArabic)
{
    ClickOutsideATickersList(*this, true);
}
