// The order ticket end to end as the trader against the test server: each menu command opens
// the ticket on its market and panel with the choices that market offers (one table of cases);
// a complete order enables Submit; the good-till rules
// against Python's datetime with the clock fixed; the option series of the chain form's two
// replies kept together; pictures in English and Arabic with nothing cut off.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "app/FormMDIWnd.h"
#include "app/NorvMainFrame.h"
#include "app/StockActions.h"
#include "app/ZorvatApp.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/StockListKSETable.h"
#include "market/TableLinks.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/OrderForms.h"
#include "orders/ReviewDialog.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/DateTimePick.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/TerminalRun.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/ExpectedData.h"
#include "tests/link/LinkSessionSupport.h"
#include "tests/orders/OrderTestSupport.h"

namespace {
#define MARKET_OPTIONS 16
#define MARKET_HARBOR 4
#define MARKET_ATLANTIC 8
#define MARKET_KSE 2

time_t LocalMorning(const std::string& strDate)    // "dd/mm/yyyy" at 10:00 local time
{
    return ::LocalMorning(atoi(strDate.substr(6, 4).c_str()), atoi(strDate.substr(3, 2).c_str()), atoi(strDate.substr(0, 2).c_str()));
}

std::vector<std::string> Texts(const std::vector<UINT>& ids)
{
    std::vector<std::string> texts;
    for (UINT nId : ids)
        texts.push_back(static_cast<LPCSTR>(LoadMarketText(nId)));
    return texts;
}

bool Shown(HWND hDlg, int nId)
{
    return IsWindowVisible(GetDlgItem(hDlg, nId)) != FALSE;
}

std::string ScreenshotPath(const std::string& strName)
{
    const std::string strFolder = std::string(TB_BINARY_DIR) + "/screenshots";
    std::system(("mkdir -p '" + strFolder + "'").c_str());
    return strFolder + "/" + strName + ".png";
}

using OrderTicketSession = COrderSession;

enum PANEL { PANEL_NONE = 0, PANEL_FORWARD = 1, PANEL_CONTRACT = 2, PANEL_OPTIONS = 4, PANEL_EXTRA = 8 };

// What each command shows on its market. Session: the trading-session box's text (a string id,
// or the fixed text of a US session).
struct TICKET_CASE
{
    const char* pszName;
    UINT nCommand;
    long nMarket;               // chosen by the user when the command leaves the market open
    BOOL bUserChoosesMarket;
    int nKseType;
    std::vector<UINT> sides, types, validities;
    UINT nSideSelected;         // 0: none
    UINT nSessionId;
    const char* pszSession;
    int nPanels;
    COLORREF crForm;            // 0: the button face
};

const COLORREF BUY = RGB(255, 128, 128), SELL = RGB(128, 255, 128);

const std::vector<TICKET_CASE>& Cases()
{
    static const std::vector<TICKET_CASE> cases = {
        {"us_options", 33100, MARKET_OPTIONS, TRUE, -1, {55045, 55046}, {55048, 55051}, {55053, 55054}, 55045, 57031,
         nullptr, PANEL_OPTIONS | PANEL_EXTRA, BUY},
        // Every type of the mask but the forward limit, whose price no US order carries.
        {"us_atlantic", 33100, MARKET_ATLANTIC, TRUE, -1, {55045, 55046, 57032, 57033}, {55048, 55049, 55050, 55051, 57350},
         {55053, 55054, 55391, 55055}, 55045, 57031, nullptr, PANEL_NONE, BUY},
        {"us_pre_market", 33306, MARKET_HARBOR, TRUE, -1, {55045, 55046}, {55048}, {55053}, 55045, 0, "Pre-Market",
         PANEL_NONE, BUY},
        {"kse_regular", 33049, MARKET_KSE, FALSE, 1, {55045, 55046}, {55048, 55051}, {55053, 55054, 55055},
         55045, 57549, nullptr, PANEL_NONE, BUY},
        {"kse_regular_sell", 33050, MARKET_KSE, FALSE, 1, {55045, 55046}, {55048, 55051},
         {55053, 55054, 55055}, 55046, 57549, nullptr, PANEL_NONE, SELL},
        {"kse_forward", 33269, MARKET_KSE, FALSE, 3, {55045, 55046}, {57553}, {}, 55045, 57551, nullptr, PANEL_FORWARD,
         BUY},
        {"kse_contract", 33273, MARKET_KSE, FALSE, 4, {55046}, {55048, 55051}, {55053, 55054, 55055}, 55046,
         57552, nullptr, PANEL_CONTRACT, SELL},
    };
    return cases;
}

// Every control the form shows lies inside its frame's client area, or wholly outside it (the
// account panel's fields beyond the form's width while the panel is closed).
std::string CutControls(HWND hFrame, HWND hDlg)
{
    RECT rcClient;
    GetClientRect(hFrame, &rcClient);
    MapWindowPoints(hFrame, nullptr, reinterpret_cast<POINT*>(&rcClient), 2);
    std::string strCut;
    for (HWND hChild = GetWindow(hDlg, GW_CHILD); hChild != nullptr; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        RECT rc;
        GetWindowRect(hChild, &rc);
        RECT rcSeen;
        const bool bInside = rc.left >= rcClient.left && rc.right <= rcClient.right && rc.top >= rcClient.top &&
                             rc.bottom <= rcClient.bottom;
        if (IsWindowVisible(hChild) && IntersectRect(&rcSeen, &rc, &rcClient) && !bInside)
            strCut += std::to_string(GetDlgCtrlID(hChild)) + " ";
    }
    return strCut;
}

void CheckCase(OrderTicketSession& s, const TICKET_CASE& c, const std::string& strLanguage)
{
    SCOPED_TRACE(c.pszName);
    CNewPlaceOrderDlg* pTicket = s.Command(c.nCommand);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    const CString strMarket = GetGlobals()->GetMarketName(c.nMarket);
    if (c.nCommand == 33306) {
        EXPECT_EQ(std::vector<std::string>{static_cast<LPCSTR>(strMarket)}, BoxItems(hDlg, IDC_TICKET_MARKET))
            << "pre-market lists only the markets marked for it";
    }
    if (c.bUserChoosesMarket)
        ChooseItem(hDlg, IDC_TICKET_MARKET, static_cast<LPCSTR>(strMarket));
    EXPECT_EQ(std::string(strMarket), BoxSelection(hDlg, IDC_TICKET_MARKET));
    EXPECT_EQ(c.nKseType, pTicket->GetKseMarketType());
    EXPECT_EQ(Texts(c.sides), BoxItems(hDlg, IDC_TICKET_SIDE));
    EXPECT_EQ(Texts(c.types), BoxItems(hDlg, IDC_TICKET_TYPE));
    EXPECT_EQ(Texts(c.validities), BoxItems(hDlg, IDC_TICKET_VALIDITY));
    EXPECT_EQ(c.nSideSelected != 0 ? std::string(LoadMarketText(c.nSideSelected)) : "", BoxSelection(hDlg, IDC_TICKET_SIDE));
    EXPECT_EQ(c.pszSession != nullptr ? std::string(c.pszSession) : std::string(LoadMarketText(c.nSessionId)),
              BoxSelection(hDlg, IDC_TICKET_SESSION));
    EXPECT_EQ((c.nPanels & PANEL_FORWARD) != 0, Shown(hDlg, IDC_TICKET_TENOR) && Shown(hDlg, IDC_TICKET_FILL_RULE));
    EXPECT_EQ((c.nPanels & PANEL_CONTRACT) != 0, Shown(hDlg, IDC_TICKET_CONTRACT) && Shown(hDlg, IDC_TICKET_CONTRACT_DATE));
    EXPECT_EQ((c.nPanels & PANEL_OPTIONS) != 0, Shown(hDlg, IDC_TICKET_STRIKE) && Shown(hDlg, IDC_TICKET_RIGHT));
    EXPECT_EQ((c.nPanels & PANEL_EXTRA) != 0, Shown(hDlg, IDC_TICKET_EXTRA));
    if (c.nPanels & PANEL_EXTRA) {    // "السلسلة:" in code page 1256 on the Arabic ticket
        EXPECT_EQ(strLanguage == "ar" ? "\xC7\xE1\xD3\xE1\xD3\xE1\xC9:" : "Series:", ControlText(hDlg, IDC_TICKET_EXTRA_LABEL));
    }
    EXPECT_EQ(c.crForm != 0 ? c.crForm : GetSysColor(COLOR_BTNFACE), pTicket->GetFormColour());
    char szTitle[256] = "";
    GetWindowTextA(GetParent(hDlg), szTitle, sizeof szTitle);
    EXPECT_EQ(std::string(LoadMarketText(c.nCommand == 33306 ? IDS_TITLE_PRE_MARKET : IDS_TITLE_ORDER_TICKET)), szTitle);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_SUBMIT))) << "nothing typed yet";

    // A complete order: the ticker, a quantity, a limit price, and the panel's own fields.
    SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, c.nKseType == -1 ? "ALPN" : "NBK");
    // Typed key by key, the quantity shows its thousands separator.
    SetDlgItemTextA(hDlg, IDC_TICKET_QUANTITY, "");
    for (char ch : std::string("1000"))
        SendDlgItemMessageA(hDlg, IDC_TICKET_QUANTITY, WM_CHAR, static_cast<WPARAM>(ch), 0);
    NotifyControl(hDlg, IDC_TICKET_QUANTITY, EN_KILLFOCUS);
    if (c.nPanels & PANEL_FORWARD) {
        ChooseItem(hDlg, IDC_TICKET_FILL_RULE, static_cast<LPCSTR>(LoadMarketText(57554)));
        ChooseItem(hDlg, IDC_TICKET_TENOR, "3");
        EnterText(hDlg, IDC_TICKET_MARKET_MAKER, "MM1");
    }
    if (c.nPanels & PANEL_CONTRACT)
        EnterText(hDlg, IDC_TICKET_CONTRACT, "12");
    EnterText(hDlg, IDC_TICKET_LIMIT, "1.5");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_SUBMIT))) << "a complete order";
    EXPECT_EQ("1,000", ControlText(hDlg, IDC_TICKET_QUANTITY)) << "grouped as typed";
    EXPECT_EQ("1000", std::string(pTicket->TakeSnapshot().strQuantity)) << "read without the grouping";

    const HWND hFrame = GetParent(hDlg);
    PumpPending();
    EXPECT_EQ("", CutControls(hFrame, hDlg));
    EXPECT_TRUE(TbSaveWindowPng(hFrame, ScreenshotPath("order_ticket_" + std::string(c.pszName) + "_" + strLanguage).c_str()));

    // A limit order without its price cannot go.
    EnterText(hDlg, IDC_TICKET_LIMIT, "");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_SUBMIT))) << "no limit price";
    if (c.nPanels & PANEL_FORWARD) {
        // A tenor change takes that tenor's price: the price is typed again after it.
        SendDlgItemMessageA(hDlg, IDC_TICKET_TENOR, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        NotifyControl(hDlg, IDC_TICKET_TENOR, CBN_SELCHANGE);
        EnterText(hDlg, IDC_TICKET_LIMIT, "1.5");
        EXPECT_EQ("1.5", ControlText(hDlg, IDC_TICKET_LIMIT).substr(0, 3));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_SUBMIT))) << "no tenor";
    }
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_TICKET_CLOSE, BN_CLICKED), 0);
    PumpPending();
    EXPECT_EQ(nullptr, s.App().GetOrderTicketForm()) << "closed";
}
}  // namespace

TEST_F(OrderTicketSession, EachCommandOpensItsMarketWithItsChoicesInEnglish)
{
    Start(false);
    for (const TICKET_CASE& c : Cases())
        CheckCase(*this, c, "en");
    // A KSE command on a ticket left in pre-market mode still finds its market.
    ASSERT_NE(nullptr, Command(33306));
    CNewPlaceOrderDlg* pTicket = Command(33049);
    ASSERT_NE(nullptr, pTicket);
    EXPECT_FALSE(pTicket->IsPreMarket());
    EXPECT_EQ(std::string(GetGlobals()->GetMarketName(MARKET_KSE)), BoxSelection(pTicket->m_hWnd, IDC_TICKET_MARKET));
    EXPECT_EQ(Texts({55045, 55046}), BoxItems(pTicket->m_hWnd, IDC_TICKET_SIDE));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(pTicket->m_hWnd, IDC_TICKET_SIDE)));
    // The US ticket's command on that KSE ticket, nothing typed in it: a ticket with no market
    // chosen, as it opens.
    ASSERT_EQ(pTicket, Command(33100));
    EXPECT_EQ("", BoxSelection(pTicket->m_hWnd, IDC_TICKET_MARKET));
    EXPECT_EQ(-1, pTicket->GetKseMarketType());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(pTicket->m_hWnd, IDC_TICKET_SIDE)));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), pTicket->GetFormColour());
    // A KSE stock typed by its number before the market is chosen stays once the KSE is.
    SetDlgItemTextA(pTicket->m_hWnd, IDC_TICKET_TICKER, "101");
    ChooseItem(pTicket->m_hWnd, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(MARKET_KSE)));
    EXPECT_EQ("101", ControlText(pTicket->m_hWnd, IDC_TICKET_TICKER));
    EXPECT_NE("", ControlText(pTicket->m_hWnd, IDC_TICKET_DESCRIPTION));
}

// The US ticket's command on a KSE order the trader has begun, by any of its fields: the ticket
// comes forward as it stands, every key kept, and the order can still go as typed.
TEST_F(OrderTicketSession, TheUsCommandOnABegunKseOrderKeepsEveryKey)
{
    Start(false);
    CNewPlaceOrderDlg* pTicket = Command(33049);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    const auto Shown = [hDlg] {
        std::vector<std::string> texts;
        for (int nId : {IDC_TICKET_MARKET, IDC_TICKET_SESSION, IDC_TICKET_SIDE, IDC_TICKET_TICKER, IDC_TICKET_QUANTITY,
                        IDC_TICKET_TYPE, IDC_TICKET_LIMIT, IDC_TICKET_VALIDITY})
            texts.push_back(ControlText(hDlg, nId));
        return texts;
    };
    const std::pair<int, const char*> begun[] = {
        {IDC_TICKET_TICKER, "101"}, {IDC_TICKET_QUANTITY, "1,500"}, {IDC_TICKET_LIMIT, "842"}};
    for (const auto& field : begun) {
        SCOPED_TRACE(field.second);
        NotifyControl(hDlg, IDC_TICKET_RESET, BN_CLICKED);
        ASSERT_EQ(pTicket, Command(33049));
        EnterText(hDlg, field.first, field.second);
        const std::vector<std::string> typed = Shown();
        ASSERT_EQ(pTicket, Command(33100));
        EXPECT_EQ(typed, Shown());
        EXPECT_EQ(1, pTicket->GetKseMarketType()) << "the regular board";
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_QUANTITY)));
    }
    // The order begun goes as the trader types it on.
    EnterText(hDlg, IDC_TICKET_TICKER, "101");
    EnterText(hDlg, IDC_TICKET_QUANTITY, "1,500");
    ASSERT_EQ(pTicket, Command(33100));
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_SUBMIT)));
    const size_t nChecks = Count("KV");
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) { ClickControl(h, IDCANCEL); }}});
    NotifyControl(hDlg, IDC_TICKET_SUBMIT, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return Count("KV") == nChecks + 1 && FinishedSteps(); })) << Lines("KV");
    const std::vector<std::string> check = BodyOf(Requests({"KV"}).back());
    EXPECT_EQ("101|1500|842", check[6] + "|" + check[7] + "|" + check[9]);
}

TEST_F(OrderTicketSession, EachCommandOpensItsMarketWithItsChoicesInArabic)
{
    Start(true);
    for (const TICKET_CASE& c : Cases())
        CheckCase(*this, c, "ar");
    // Read right to left: the market box stands right of the session box, Submit right of Close.
    CNewPlaceOrderDlg* pTicket = Command(33100);
    ASSERT_NE(nullptr, pTicket);
    RECT rcMarket, rcSession, rcSubmit, rcClose;
    GetWindowRect(GetDlgItem(pTicket->m_hWnd, IDC_TICKET_MARKET), &rcMarket);
    GetWindowRect(GetDlgItem(pTicket->m_hWnd, IDC_TICKET_SESSION), &rcSession);
    GetWindowRect(GetDlgItem(pTicket->m_hWnd, IDC_TICKET_SUBMIT), &rcSubmit);
    GetWindowRect(GetDlgItem(pTicket->m_hWnd, IDC_TICKET_CLOSE), &rcClose);
    EXPECT_GT(rcMarket.left, rcSession.left);
    EXPECT_GT(rcSubmit.left, rcClose.left);
}

// Days typed become 1..90 and give the date; a picked date becomes tomorrow .. today + 90 and
// gives the days. Today is the clock's, on two days of the year.
TEST_F(OrderTicketSession, GoodTillDaysAndDateFollowTheRulesOfDatetime)
{
    Start(false);
    GetGlobals()->SetClockSource(&clock);
    CNewPlaceOrderDlg* pTicket = Command(33100);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    ChooseItem(hDlg, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(MARKET_HARBOR)));
    ChooseItem(hDlg, IDC_TICKET_VALIDITY, static_cast<LPCSTR>(LoadMarketText(55054)));
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_GOOD_TILL)));
    int nRows = 0;
    for (char chKind : {'d', 'p'})
        for (const auto& row : ReadExpectedRows("tests/orders/expected_good_till.txt", chKind)) {
            ASSERT_EQ(5u, row.size());
            clock.tNow = LocalMorning(row[1]);
            if (chKind == 'd') {
                EnterText(hDlg, IDC_TICKET_DAYS, row[2]);
            } else {
                const std::string& strPick = row[2];
                const COleDateTime picked(atoi(strPick.substr(6, 4).c_str()), atoi(strPick.substr(3, 2).c_str()),
                                          atoi(strPick.substr(0, 2).c_str()), 15, 30, 0);
                SYSTEMTIME st = {};
                ASSERT_TRUE(picked.GetAsSystemTime(st));
                const HWND hPicker = GetDlgItem(hDlg, IDC_TICKET_GOOD_TILL);
                ASSERT_TRUE(SendMessageA(hPicker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)));
                NMDATETIMECHANGE change = {};
                change.nmhdr.hwndFrom = hPicker;
                change.nmhdr.idFrom = IDC_TICKET_GOOD_TILL;
                change.nmhdr.code = DTN_DATETIMECHANGE;
                change.st = st;
                SendMessageA(hDlg, WM_NOTIFY, IDC_TICKET_GOOD_TILL, reinterpret_cast<LPARAM>(&change));
            }
            EXPECT_EQ(row[3], ControlText(hDlg, IDC_TICKET_DAYS)) << row[0] << " " << row[1] << " " << row[2];
            EXPECT_EQ(row[4], ControlText(hDlg, IDC_TICKET_GOOD_TILL)) << row[0] << " " << row[1] << " " << row[2];
            EXPECT_EQ(row[4], std::string(pTicket->TakeSnapshot().goodTill.Format("%d/%m/%Y")));
            ++nRows;
        }
    EXPECT_EQ(24, nRows);
}

// The chain form asks for the puts, then the calls, of one underlying: the ticket keeps both and
// lists the months of both; the next underlying replaces them.
TEST_F(OrderTicketSession, OptionSeriesOfBothRepliesStayTogether)
{
    Start(false);
    CNewPlaceOrderDlg* pTicket = Command(33100);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    ChooseItem(hDlg, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(MARKET_OPTIONS)));
    const auto Ask = [&](const char* pszUnderlying, int nRows) {
        AskOptionSeries(hDlg, pszUnderlying);
        return PumpUntil([&] {
            return pTicket->GetOptionStore().GetCount() == nRows && pTicket->GetOptionStore().GetUnderlying() == pszUnderlying &&
                   !pTicket->IsReceivingOptions();
        });
    };
    const auto Strikes = [&](UINT nRightId, const char* pszMonth) {
        ChooseItem(hDlg, IDC_TICKET_RIGHT, static_cast<LPCSTR>(LoadMarketText(nRightId)));
        ChooseItem(hDlg, IDC_TICKET_EXPIRY, pszMonth);
        std::string strStrikes;
        for (const std::string& strike : BoxItems(hDlg, IDC_TICKET_STRIKE))
            strStrikes += std::to_string(atoi(strike.c_str())) + " ";
        return strStrikes;
    };
    ASSERT_TRUE(Ask("CDRX", 3)) << "one put and two calls";
    EXPECT_EQ("CDRX", ControlText(hDlg, IDC_TICKET_UNDERLYING));
    EXPECT_EQ(std::string(LoadMarketText(57172)), BoxSelection(hDlg, IDC_TICKET_RIGHT)) << "the right of the last reply";
    EXPECT_EQ(60, atoi(ControlText(hDlg, IDC_TICKET_STRIKE).c_str())) << "its first strike of the first month";
    EXPECT_EQ((std::vector<std::string>{"2026/12", "2027/01"}), BoxItems(hDlg, IDC_TICKET_EXPIRY));
    EXPECT_EQ("60 ", Strikes(57171, "2026/12")) << "the put of the first reply";
    EXPECT_EQ("60 ", Strikes(57172, "2026/12"));
    EXPECT_EQ("65 ", Strikes(57172, "2027/01"));

    ASSERT_TRUE(Ask("GLNT", 3)) << "two calls and one put of the next underlying only";
    EXPECT_EQ("GLNT", ControlText(hDlg, IDC_TICKET_UNDERLYING));
    EXPECT_EQ(std::vector<std::string>{"2026/12"}, BoxItems(hDlg, IDC_TICKET_EXPIRY));
    EXPECT_EQ("70 75 ", Strikes(57172, "2026/12"));
    EXPECT_EQ("70 ", Strikes(57171, "2026/12"));
    const ORDER_TICKET_SNAPSHOT shot = pTicket->TakeSnapshot();
    EXPECT_EQ(2, shot.nRight);
    EXPECT_EQ("2026/12/18", std::string(shot.strExpiryKey));

    // The same underlying asked again after a reset lists each series once, whatever right is
    // chosen in turn.
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_TICKET_RESET, BN_CLICKED), 0);
    PumpPending();
    ChooseItem(hDlg, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(MARKET_OPTIONS)));
    ASSERT_TRUE(Ask("GLNT", 3));
    for (UINT nRightId : {57171, 57172, 57171, 57172})
        EXPECT_EQ(nRightId == 57172 ? "70 75 " : "70 ", Strikes(nRightId, "2026/12")) << nRightId;
}

// A KSE board row's order click: the regular board's ticket on the row's side, stock and price.
TEST_F(OrderTicketSession, ABoardRowOpensTheKseTicketWithItsStockSideAndPrice)
{
    Start(false);
    IStockActions* pActions = GetStockActions();
    ASSERT_NE(nullptr, pActions);
    EXPECT_TRUE(pActions->CanEnterOrderKSE());
    EXPECT_TRUE(pActions->CanEnterOrderUS());
    pActions->OpenOrderTicketKSE(ORDER_MODE_SELL, "NBK", 0.52, 0, 0);
    PumpPending();
    CFormMDIWnd* pFrame = App().GetOrderTicketForm();
    ASSERT_NE(nullptr, pFrame);
    auto* pTicket = dynamic_cast<CNewPlaceOrderDlg*>(pFrame->GetView());
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    EXPECT_EQ(std::string(GetGlobals()->GetMarketName(MARKET_KSE)), BoxSelection(hDlg, IDC_TICKET_MARKET));
    EXPECT_EQ(std::string(LoadMarketText(57549)), BoxSelection(hDlg, IDC_TICKET_SESSION));
    EXPECT_EQ(std::string(LoadMarketText(55046)), BoxSelection(hDlg, IDC_TICKET_SIDE));
    EXPECT_EQ("NBK", ControlText(hDlg, IDC_TICKET_TICKER));
    EXPECT_EQ("=KWD", ControlText(hDlg, IDC_TICKET_CURRENCY));
    const ORDER_TICKET_SNAPSHOT shot = pTicket->TakeSnapshot();
    EXPECT_DOUBLE_EQ(0.52, atof(shot.strLimitPrice));
    EXPECT_EQ(1, shot.nKseMarketType);
    EXPECT_EQ(2, shot.nSide);
}

// A forward contract's details open the contract ticket with the contract's values.
TEST_F(OrderTicketSession, AForwardContractOpensItsTicketWithItsValues)
{
    Start(false);
    const COleDateTime validity(2026, 12, 20, 0, 0, 0);
    App().OpenOrderTicketForward("NBK", validity, "MM1", "77", "500", 2);
    PumpPending();
    CFormMDIWnd* pFrame = App().GetOrderTicketForm();
    ASSERT_NE(nullptr, pFrame);
    auto* pTicket = dynamic_cast<CNewPlaceOrderDlg*>(pFrame->GetView());
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    EXPECT_EQ(4, pTicket->GetKseMarketType());
    EXPECT_EQ(std::string(LoadMarketText(55046)), BoxSelection(hDlg, IDC_TICKET_SIDE));
    EXPECT_EQ(RGB(128, 255, 128), pTicket->GetFormColour()) << "the sell side's colour";
    const ORDER_TICKET_SNAPSHOT shot = pTicket->TakeSnapshot();
    EXPECT_EQ("NBK", std::string(shot.strTicker));
    EXPECT_EQ("MM1", std::string(shot.strMarketMaker));
    EXPECT_EQ("77", std::string(shot.strContractNumber));
    EXPECT_EQ("500", std::string(shot.strQuantity));
    EXPECT_EQ("20/12/2026", std::string(shot.contractDate.Format("%d/%m/%Y")));
    EXPECT_EQ("=KWD", std::string(ControlText(hDlg, IDC_TICKET_CURRENCY)));
}

// Typing in the ticker box lists the market's symbols whose symbol or name holds the text, in
// any case, as "symbol/name"; the box keeps what was typed.
TEST_F(OrderTicketSession, TypingInTheTickerBoxListsTheSymbolsThatHoldTheText)
{
    Start(false);
    CNewPlaceOrderDlg* pTicket = Command(33100);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    ChooseItem(hDlg, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(MARKET_HARBOR)));
    CStringArray symbols;
    GetGlobals()->GetMarketSymbols(MARKET_HARBOR, symbols);
    ASSERT_GT(symbols.GetSize(), 3);
    for (const std::string strTyped : {"a", "Ex", "zzz", ""}) {
        std::string strUpper = strTyped;
        for (char& ch : strUpper)
            ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
        std::vector<std::string> expected;
        for (int i = 0; i < symbols.GetSize(); ++i) {
            ShortStockListEntry entry;
            ASSERT_TRUE(GetGlobals()->LookupShortStockEntry(MARKET_HARBOR, symbols[i], entry));
            std::string strSymbol = static_cast<LPCSTR>(symbols[i]), strName = static_cast<LPCSTR>(entry.text5);
            std::string strBoth = strSymbol + "\n" + strName;
            for (char& ch : strBoth)
                ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
            if (strBoth.find(strUpper) != std::string::npos && strSymbol[0] != '.')
                expected.push_back(strSymbol + "/" + strName);
        }
        std::sort(expected.begin(), expected.end());
        SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, strTyped.c_str());
        NotifyControl(hDlg, IDC_TICKET_TICKER, CBN_EDITCHANGE);
        EXPECT_EQ(expected, BoxItems(hDlg, IDC_TICKET_TICKER)) << "typed " << strTyped;
        EXPECT_EQ(strTyped, ControlText(hDlg, IDC_TICKET_TICKER));
    }
}

namespace {
// The trader opens the KSE quotations and the KSE ticket, types a stock by its symbol as every
// table shows it, then moves the ticket to a US market: the ticker finds the stock by its symbol,
// the KSE price does not follow into the dollar order, an unknown symbol is told, and keys the
// quantity and price fields refuse are told when the field is left.
TEST_F(OrderTicketSession, TickerFindsKseSymbolsAndAMarketChangeClearsItsPrices)
{
    Start(false);
    SendMessageA(App().GetMainFrame()->m_hWnd, WM_COMMAND, 33251, 0);
    ASSERT_TRUE(PumpUntil([] { return FindDataTable(52114) != nullptr && FindDataTable(52114)->GetRows()->FindRow({"101"}) != nullptr; }));
    CNewPlaceOrderDlg* pTicket = Command(33049);
    ASSERT_NE(nullptr, pTicket);
    const HWND h = pTicket->m_hWnd;

    SetDlgItemTextA(h, IDC_TICKET_TICKER, "ghb");
    NotifyControl(h, IDC_TICKET_TICKER, CBN_EDITCHANGE);
    EXPECT_EQ(std::vector<std::string>{"101/Gulf Harbour Bank"}, BoxItems(h, IDC_TICKET_TICKER));
    SetDlgItemTextA(h, IDC_TICKET_TICKER, "GHB");
    // The board's last price of the stock: 844 fils, set with no message pumped before the
    // lookup, so the stream cannot move it in between.
    FindDataTable(52114)->GetRows()->FindRow({"101"})->SetDouble(2, 844, TRUE);
    NotifyControl(h, IDC_TICKET_TICKER, CBN_KILLFOCUS);
    EXPECT_EQ("101/Gulf Harbour Bank", ControlText(h, IDC_TICKET_TICKER));
    EXPECT_EQ("Gulf Harbour Bank", ControlText(h, IDC_TICKET_DESCRIPTION));
    EXPECT_EQ("844.0", ControlText(h, IDC_TICKET_LIMIT)) << "the board's price, in the board's decimals";

    SetDlgItemTextA(h, IDC_TICKET_TICKER, "NOSUCH");
    NotifyControl(h, IDC_TICKET_TICKER, CBN_KILLFOCUS);
    EXPECT_NE(std::string::npos, pRun->InfoText().find("No KSE stock has the number or symbol 'NOSUCH'")) << pRun->InfoText();

    // Keys, or a pasted text, the fields cannot take: told once, as the field is left.
    const struct { int nId; const char* pszKeys; bool bPasted; const char* pszSays; } refusals[] = {
        {IDC_TICKET_QUANTITY, "abc", false, "The quantity takes digits only"},
        {IDC_TICKET_QUANTITY, "99999999999999", false, "The quantity takes digits only"},
        {IDC_TICKET_LIMIT, "-5x", false, "A price takes digits and one decimal point only"},
        {IDC_TICKET_QUANTITY, "12a", true, "The quantity takes digits only"},
        {IDC_TICKET_LIMIT, "-5x", true, "A price takes digits and one decimal point only"}};
    for (const auto& r : refusals) {
        SCOPED_TRACE(std::string(r.pszKeys) + (r.bPasted ? " pasted" : " typed"));
        const size_t nBefore = pRun->InfoText().size();
        SetDlgItemTextA(h, r.nId, "");
        if (r.bPasted)
            PasteInto(h, r.nId, r.pszKeys);
        for (const char* p = r.pszKeys; !r.bPasted && *p != '\0'; ++p)
            SendDlgItemMessageA(h, r.nId, WM_CHAR, static_cast<WPARAM>(*p), 0);
        PumpPending();
        NotifyControl(h, r.nId, EN_KILLFOCUS);
        const std::string strNew = pRun->InfoText().substr(nBefore);
        EXPECT_EQ(strNew.find(r.pszSays), strNew.rfind(r.pszSays)) << strNew;
        EXPECT_NE(std::string::npos, strNew.find(r.pszSays)) << strNew;
    }
    const size_t nTold = pRun->InfoText().size();
    NotifyControl(h, IDC_TICKET_LIMIT, EN_KILLFOCUS);
    EXPECT_EQ(nTold, pRun->InfoText().size()) << "told once: " << pRun->InfoText().substr(nTold);

    // A price the KSE opener passes shows in the board's decimals too.
    App().OpenOrderTicketKSE(1, nullptr, 846, 0, 1);
    EXPECT_EQ("846.0", ControlText(h, IDC_TICKET_LIMIT));

    ChooseItem(h, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(MARKET_HARBOR)));
    EXPECT_EQ("", ControlText(h, IDC_TICKET_LIMIT)) << "no fils in a dollar order";
    EXPECT_EQ("", ControlText(h, IDC_TICKET_TICKER));
}
}  // namespace

// The ticket names the stock it is given whole, in either language: the longest name of the
// simulator's KSE list, and of its US symbols, in every read-only field that shows it.
TEST_F(OrderTicketSession, TheTicketShowsTheLongestListedNameWhole)
{
    for (const bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        Start(bArabic);
        ASSERT_TRUE(PumpUntil([] { return FindDataTable(IDS_TABLE_STOCK_LIST_KSE) != nullptr && !FindDataTable(IDS_TABLE_STOCK_LIST_KSE)->IsReceiving(); }));
        const LISTED_NAMES listed = ListedNames(bArabic);
        ASSERT_GT(listed.nKseStock, 0);
        ASSERT_FALSE(listed.strUsName.empty());
        CNewPlaceOrderDlg* pTicket = Command(33049);
        ASSERT_NE(nullptr, pTicket);
        const HWND h = pTicket->m_hWnd;
        const struct { int nMarket; std::string strTicker, strName; } orders[] = {
            {0, std::to_string(listed.nKseStock), listed.strKseName},
            {listed.nUsMarket, listed.strUsSymbol, listed.strUsName},
        };
        for (const auto& order : orders) {
            if (order.nMarket != 0)
                ChooseItem(h, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(order.nMarket)));
            SetDlgItemTextA(h, IDC_TICKET_TICKER, order.strTicker.c_str());
            NotifyControl(h, IDC_TICKET_TICKER, CBN_KILLFOCUS);
            EXPECT_TRUE(PumpUntil([&] { return !ControlsShowing(h, order.strName).empty(); }, 5000))
                << "no field shows \"" << TbCodePageToUtf8(order.strName) << "\"" << Lines("RN");
            for (HWND hField : ControlsShowing(h, order.strName))
                ExpectEachNameFits(hField, listed.names);
        }
        TearDown();
    }
}
