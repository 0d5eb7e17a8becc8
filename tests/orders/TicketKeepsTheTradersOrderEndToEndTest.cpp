// What the trader chose and typed in the order ticket stays his, whatever the server answers and
// whatever command comes meanwhile, in both languages: a lookup's answer moves the ticket to the
// symbol's market and keeps the side, type, quantity and limit chosen; after a refused check,
// however Submit was pressed, the next keys land in the ticket; the acknowledgement empties only
// the fields that still read the order sent, and a market chosen meanwhile takes none of that
// order; a ticket command on a begun order leaves it whole, a row's order replaces it whole and
// says so.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/FormMDIWnd.h"
#include "app/NorvMainFrame.h"
#include "app/ZorvatApp.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "market/DataTable.h"
#include "market/TableLinks.h"
#include "market/TickerLookupDlg.h"
#include "market/TickerLookupResultsTable.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/ReviewDialog.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/TestAnswers.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/orders/OrderTestSupport.h"

#define ID_ROW_TICKET 33208

namespace {
using TicketKeepsTheTradersOrder = COrderSession;

// A press and release where the display reports them, then the queue handled.
void ClickOn(HWND hDlg, int nId)
{
    const HWND hControl = GetDlgItem(hDlg, nId);
    POINT pt = {3, 3};
    ClientToScreen(hControl, &pt);
    TbDisplayMouse(hControl, WM_LBUTTONDOWN, MK_LBUTTON, pt);
    TbDisplayMouse(hControl, WM_LBUTTONUP, 0, pt);
    PumpPending();
}

// The field clicked into, emptied and typed in key by key through the display.
void TypeInto(HWND hDlg, int nId, const char* pszKeys)
{
    ClickOn(hDlg, nId);
    SendDlgItemMessageA(hDlg, nId, EM_SETSEL, 0, -1);
    for (const char* p = pszKeys; *p != '\0'; ++p) {
        const char sz[2] = {*p, '\0'};
        TypeText(sz);
    }
    PumpPending();
}

std::string Sell()
{
    return static_cast<LPCSTR>(LoadMarketText(55046));
}

// The row menu's command as the trader picks it after a right click on the row's first cell.
void PickFromRowMenu(CDataTable* pTable, int nRow, UINT nId)
{
    TbQueueTestAnswer({TB_ASK_POPUPMENU, static_cast<INT_PTR>(nId), ""});
    CTableWindow& grid = pTable->GetMainWindow()->GetGrid();
    RECT rc;
    ASSERT_TRUE(grid.GetCellRect(nRow, pTable->GetMainWindow()->GetView()->GetColumnOrder().FindPosition(0), &rc));
    POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ClientToScreen(grid.m_hWnd, &pt);
    for (const auto& [uMsg, wKeys] : {std::pair<UINT, WPARAM>{WM_MOUSEMOVE, 0}, {WM_LBUTTONDOWN, MK_LBUTTON},
                                      {WM_LBUTTONUP, 0}, {WM_RBUTTONDOWN, MK_RBUTTON}, {WM_RBUTTONUP, 0}}) {
        TbDisplayMouse(grid.m_hWnd, uMsg, wKeys, pt);
        PumpFor(20);
    }
    PumpFor(100);
}

// The first item of the box that begins with the text; "" when none does.
std::string ItemStarting(HWND hDlg, int nId, const std::string& strStart)
{
    for (const std::string& strItem : BoxItems(hDlg, nId))
        if (strItem.rfind(strStart, 0) == 0)
            return strItem;
    return "";
}

// The ticket's order type that takes a limit alone, as the fields say it; "" when none.
std::string LimitType(HWND hDlg)
{
    for (const std::string& strType : BoxItems(hDlg, IDC_TICKET_TYPE)) {
        ChooseItem(hDlg, IDC_TICKET_TYPE, strType);
        if ((GetWindowLongA(GetDlgItem(hDlg, IDC_TICKET_LIMIT), GWL_STYLE) & ES_READONLY) == 0 &&
            (GetWindowLongA(GetDlgItem(hDlg, IDC_TICKET_STOP), GWL_STYLE) & ES_READONLY) != 0)
            return strType;
    }
    return "";
}

// A US symbol of one market (the KSE's are no lookup's), from the reference data.
void FirstUsSymbol(long* pnSymbolMarket, std::string* pstrSymbol)
{
    CArray<int, int> codes;
    GetGlobals()->GetMarketCodeList(codes);
    for (int i = 0; i < codes.GetSize() && pstrSymbol->empty(); ++i) {
        CStringArray symbols;
        GetGlobals()->GetMarketSymbols(codes[i], symbols);
        for (int j = 0; codes[i] != 2 && j < symbols.GetSize(); ++j)
            if (symbols[j].GetLength() > 0 && symbols[j][0] != '.') {
                *pnSymbolMarket = codes[i];
                *pstrSymbol = static_cast<LPCSTR>(symbols[j]);
                break;
            }
    }
}

// That symbol and another US market whose ticket offers a sale with a limit.
bool SymbolAndAnotherMarket(HWND hDlg, long* pnSymbolMarket, std::string* pstrSymbol, std::string* pstrOther)
{
    FirstUsSymbol(pnSymbolMarket, pstrSymbol);
    const std::string strOwn = static_cast<LPCSTR>(GetGlobals()->GetMarketName(*pnSymbolMarket));
    for (const std::string& strMarket : BoxItems(hDlg, IDC_TICKET_MARKET)) {
        if (strMarket == strOwn || GetGlobals()->GetMarketCode(strMarket.c_str()) == 2)
            continue;
        ChooseItem(hDlg, IDC_TICKET_MARKET, strMarket);
        if (!ItemStarting(hDlg, IDC_TICKET_SIDE, Sell()).empty() && !LimitType(hDlg).empty()) {
            *pstrOther = strMarket;
            return true;
        }
    }
    return false;
}

// The symbol looked up through the lookup form, its results come.
void LookUp(TicketKeepsTheTradersOrder& s, const std::string& strSymbol, CDataTable** ppResults)
{
    ASSERT_TRUE(s.App().RunCommand(33195));
    auto* pLookup = dynamic_cast<CFormMDIWnd*>(s.App().GetMainFrame()->MDIGetActive());
    ASSERT_NE(nullptr, pLookup);
    const HWND hLookup = pLookup->GetView()->m_hWnd;
    SetDlgItemTextA(hLookup, IDC_LOOKUP_TICKER, strSymbol.c_str());
    SendMessageA(GetDlgItem(hLookup, IDC_LOOKUP_SEARCH), BM_CLICK, 0, 0);
    *ppResults = FindDataTable(IDS_TABLE_TICKER_LOOKUP_RESULTS);
    ASSERT_NE(nullptr, *ppResults);
    ASSERT_TRUE(PumpUntil([&] { return (*ppResults)->IsComplete() && CellText(*ppResults, 0, 0) == strSymbol; }, 10000));
}

// A sale of 7 begun on another market, the symbol picked from the lookup's results, a limit
// typed before the server names the symbol's market: the ticket moves to that market and keeps
// the sale, the type, the 7 and the limit, and the check carries them.
void LookupAnswerKeepsTheOrderChosen(TicketKeepsTheTradersOrder& s, bool bArabic)
{
    ASSERT_NO_FATAL_FAILURE(s.Start(bArabic, {"--rate", "0", "--scenario", "delay=RN:1"}));
    CNewPlaceOrderDlg* pTicket = s.Command(33100);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    long nSymbolMarket = 0;
    std::string strSymbol, strOther;
    ASSERT_TRUE(SymbolAndAnotherMarket(hDlg, &nSymbolMarket, &strSymbol, &strOther));
    ChooseItem(hDlg, IDC_TICKET_SIDE, ItemStarting(hDlg, IDC_TICKET_SIDE, Sell()));
    const std::string strSide = BoxSelection(hDlg, IDC_TICKET_SIDE);
    TypeInto(hDlg, IDC_TICKET_QUANTITY, "7");

    CDataTable* pResults = nullptr;
    ASSERT_NO_FATAL_FAILURE(LookUp(s, strSymbol, &pResults));
    const size_t nAsked = s.Count("RN");
    PickFromRowMenu(pResults, 0, ID_ROW_TICKET);
    ASSERT_TRUE(PumpUntil([&] { return s.Count("RN") > nAsked; }, 3000));
    // Before the answer: a limit order, its price typed.
    const std::string strType = LimitType(hDlg);
    ASSERT_NE("", strType);
    TypeInto(hDlg, IDC_TICKET_LIMIT, "48.50");
    const std::string strOwn = static_cast<LPCSTR>(GetGlobals()->GetMarketName(nSymbolMarket));
    ASSERT_TRUE(PumpUntil([&] { return BoxSelection(hDlg, IDC_TICKET_MARKET) == strOwn; }, 5000))
        << "the symbol's market not taken: " << s.pRun->InfoText();
    PumpFor(100);
    EXPECT_EQ(0u, ControlText(hDlg, IDC_TICKET_TICKER).find(strSymbol));
    EXPECT_EQ(strSide, BoxSelection(hDlg, IDC_TICKET_SIDE)) << "the side chosen";
    EXPECT_EQ(strType, BoxSelection(hDlg, IDC_TICKET_TYPE)) << "the type chosen";
    EXPECT_EQ("7", ControlText(hDlg, IDC_TICKET_QUANTITY));
    EXPECT_EQ(48.5, atof(ControlText(hDlg, IDC_TICKET_LIMIT).c_str())) << ControlText(hDlg, IDC_TICKET_LIMIT);

    // What goes out is what the ticket and its review show.
    std::string strReviewed;
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND h) {
                       strReviewed = ControlText(h, IDC_REVIEW_SIDE);
                       ClickControl(h, IDCANCEL);
                   }}});
    const size_t nChecks = s.Count("OV");
    ClickControl(hDlg, IDC_TICKET_SUBMIT);
    ASSERT_TRUE(PumpUntil([&] { return s.Count("OV") > nChecks; }, 5000)) << s.pRun->InfoText();
    PumpFor(300);
    const bool bReviewed = FinishedSteps();
    ClearDialogSteps();
    const std::vector<std::string> check = BodyOf(s.Requests({"OV"}).back());
    ASSERT_GT(check.size(), 12u);
    EXPECT_EQ(std::to_string(CTransactionType::GetCodeByText(strSide.c_str())), check[2]);
    EXPECT_EQ("7", check[4]);
    EXPECT_EQ(48.5, atof(check[6].c_str())) << check[6];
    EXPECT_EQ(std::to_string(nSymbolMarket), check[12]);
    // The trader holds none of it: the server refuses the sale unless it reviews it.
    if (bReviewed) {
        EXPECT_EQ(strSide, strReviewed) << "the review's side";
    }
}
}  // namespace

TEST_F(TicketKeepsTheTradersOrder, ALookupsAnswerKeepsTheSideTypeQuantityAndLimitChosen)
{
    LookupAnswerKeepsTheOrderChosen(*this, false);
}

TEST_F(TicketKeepsTheTradersOrder, ALookupsAnswerKeepsTheSideTypeQuantityAndLimitChosenInArabic)
{
    LookupAnswerKeepsTheOrderChosen(*this, true);
}

namespace {
// The ways a trader submits: a click on Submit, its letter with Alt, Enter in the last field.
enum SUBMIT_WAY { BY_CLICK, BY_LETTER, BY_ENTER };

// The keys go through the application's own loop, as its mnemonics and default button need.
void SubmitBy(TicketKeepsTheTradersOrder& s, HWND hDlg, SUBMIT_WAY way, const std::function<bool()>& sent)
{
    if (way == BY_CLICK) {
        ClickOn(hDlg, IDC_TICKET_SUBMIT);
        return;
    }
    if (way == BY_ENTER) {
        s.pRun->TypeKey(VK_RETURN, sent);
        return;
    }
    // The letter the button's text marks, with Alt, as the display sends it.
    const std::string strText = ControlText(hDlg, IDC_TICKET_SUBMIT);
    const size_t nAmp = strText.find('&');
    ASSERT_NE(std::string::npos, nAmp) << strText;
    std::string strLetter = strText.substr(nAmp + 1, 1);
    const unsigned char ch = static_cast<unsigned char>(strLetter[0]);
    if (ch < 0x80)
        strLetter[0] = static_cast<char>(tolower(ch));
    const UINT nKey = ch < 0x80 ? static_cast<UINT>(toupper(ch)) : 0;
    TbDisplayKey(WM_KEYDOWN, nKey, MAKELPARAM(1, KF_ALTDOWN), strLetter.c_str());
    TbDisplayKey(WM_KEYUP, nKey, MAKELPARAM(1, KF_ALTDOWN | KF_UP | KF_REPEAT), nullptr);
    s.pRun->TypeKey(VK_SHIFT, sent);
}

// An order of each kind the server refuses at its check (a KSE purchase, a US purchase),
// submitted every way: once the refusal is told, a key typed lands in the ticket's field.
void KeysAfterARefusal(TicketKeepsTheTradersOrder& s, bool bArabic)
{
    ASSERT_NO_FATAL_FAILURE(s.Start(bArabic, {"--rate", "0", "--fail", "KV=428", "--fail", "OV=433"}));
    s.App().GetInfoTable()->ShowWindow();
    for (UINT nCommand : {33049u, 33100u}) {
        CNewPlaceOrderDlg* pTicket = s.Command(nCommand);
        ASSERT_NE(nullptr, pTicket);
        const HWND hDlg = pTicket->m_hWnd;
        if (nCommand == 33100u) {
            // The KSE order begun stays as it is: emptied, the ticket takes a US market of its own symbols.
            ClickControl(hDlg, IDC_TICKET_RESET);
            PumpPending();
            for (const std::string& strMarket : BoxItems(hDlg, IDC_TICKET_MARKET)) {
                if (GetGlobals()->GetMarketCode(strMarket.c_str()) == 2)
                    continue;
                ChooseItem(hDlg, IDC_TICKET_MARKET, strMarket);
                if (!BoxItems(hDlg, IDC_TICKET_TICKER).empty() && !LimitType(hDlg).empty())
                    break;
            }
        }
        ChooseItem(hDlg, IDC_TICKET_SIDE, BoxItems(hDlg, IDC_TICKET_SIDE).front());
        ChooseItem(hDlg, IDC_TICKET_TICKER, BoxItems(hDlg, IDC_TICKET_TICKER).front());
        if (nCommand == 33100u)
            ChooseItem(hDlg, IDC_TICKET_TYPE, LimitType(hDlg));
        TypeInto(hDlg, IDC_TICKET_LIMIT, "85");
        for (SUBMIT_WAY way : {BY_CLICK, BY_LETTER, BY_ENTER}) {
            SCOPED_TRACE(std::to_string(nCommand) + " way " + std::to_string(way));
            TypeInto(hDlg, IDC_TICKET_QUANTITY, "100");
            ASSERT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_SUBMIT))) << "a complete order";
            const int nLines = s.App().GetInfoTable()->GetLineCount();
            const size_t nChecks = s.Requests({"KV", "OV"}).size();
            // A letter another control shares takes the keys there first: pressed again, it goes on.
            const auto sent = [&] { return s.Requests({"KV", "OV"}).size() > nChecks; };
            for (int n = 0; n < (way == BY_LETTER ? 3 : 1) && !sent(); ++n)
                SubmitBy(s, hDlg, way, sent);
            ASSERT_TRUE(PumpUntil([&] { return s.Requests({"KV", "OV"}).size() > nChecks; }, 3000)) << "not submitted";
            ASSERT_TRUE(PumpUntil([&] {
                return s.App().GetInfoTable()->GetLineCount() > nLines && IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_SUBMIT));
            }, 3000)) << s.pRun->InfoText();
            PumpFor(100);
            // The key goes where the ticket shows the caret.
            ASSERT_TRUE(IsChild(hDlg, GetFocus())) << "the keys left the ticket";
            const int nField = FocusedControl(hDlg);
            const std::string strBefore = ControlText(hDlg, nField);
            TypeText("5");
            PumpPending();
            EXPECT_NE(strBefore, ControlText(hDlg, nField)) << "the key lost in control " << nField;
        }
        if (nCommand != 33049u)
            continue;
        // Another market chosen before the refusal is read: the refusal names the order it refuses,
        // its quantity grouped as the ticket shows it.
        TypeInto(hDlg, IDC_TICKET_QUANTITY, "1500");
        const std::string strOrder[] = {ControlText(hDlg, IDC_TICKET_SIDE), "1,500",
                                        ControlText(hDlg, IDC_TICKET_TICKER).substr(0, ControlText(hDlg, IDC_TICKET_TICKER).find('/')),
                                        ControlText(hDlg, IDC_TICKET_MARKET)};
        const int nLines = s.App().GetInfoTable()->GetLineCount();
        NotifyControl(hDlg, IDC_TICKET_SUBMIT, BN_CLICKED);
        for (const std::string& strMarket : BoxItems(hDlg, IDC_TICKET_MARKET))
            if (GetGlobals()->GetMarketCode(strMarket.c_str()) != 2) {
                ChooseItem(hDlg, IDC_TICKET_MARKET, strMarket);
                break;
            }
        ASSERT_TRUE(PumpUntil([&] { return s.App().GetInfoTable()->GetLineCount() > nLines; }, 3000));
        const std::string strTold(s.App().GetInfoTable()->GetLineCell(s.App().GetInfoTable()->GetLineCount() - 1, INFO_COL_TEXT));
        for (const std::string& strPart : strOrder)
            EXPECT_NE(std::string::npos, strTold.find(strPart)) << strTold << " names no " << strPart;
    }
}
}  // namespace

TEST_F(TicketKeepsTheTradersOrder, KeysTypedAfterARefusedCheckLandInTheTicketHoweverItWasSubmitted)
{
    KeysAfterARefusal(*this, false);
}

TEST_F(TicketKeepsTheTradersOrder, KeysTypedAfterARefusedCheckLandInTheTicketHoweverItWasSubmittedInArabic)
{
    KeysAfterARefusal(*this, true);
}

namespace {
// A KSE purchase of 500 of the market's first stock at 850 sent through its review, its
// acknowledgement held by the server; false when it did not go out.
bool SendKseOrder(TicketKeepsTheTradersOrder& s, HWND hDlg)
{
    ChooseItem(hDlg, IDC_TICKET_SIDE, BoxItems(hDlg, IDC_TICKET_SIDE).front());
    ChooseItem(hDlg, IDC_TICKET_TICKER, BoxItems(hDlg, IDC_TICKET_TICKER).front());
    TypeInto(hDlg, IDC_TICKET_QUANTITY, "500");
    TypeInto(hDlg, IDC_TICKET_LIMIT, "850");
    const size_t nOrders = s.Count("KR");
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) {
                       SetDlgItemTextA(h, IDC_REVIEW_PASSWORD, "secret");
                       ClickControl(h, IDOK);
                   }}});
    NotifyControl(hDlg, IDC_TICKET_SUBMIT, BN_CLICKED);
    return PumpUntil([&] { return s.Count("KR") == nOrders + 1; }) && FinishedSteps();
}

bool Acknowledged(CNewPlaceOrderDlg* pTicket)
{
    return PumpUntil([&] { return !pTicket->GetPending().IsOrderPending(); }, 5000);
}

// While a KSE order's acknowledgement is held: every other market chosen takes none of the
// order's values, and a new order typed there stays through the acknowledgement and goes out as
// typed; a good-till date chosen, and a row's order put in the ticket by its command, stay too.
void TheAcknowledgementEmptiesOnlyWhatStillShowsTheOrder(TicketKeepsTheTradersOrder& s, bool bArabic)
{
    ASSERT_NO_FATAL_FAILURE(s.Start(bArabic, {"--rate", "0", "--scenario", "delay=KR:1"}));
    CNewPlaceOrderDlg* pTicket = s.Command(33049);
    ASSERT_NE(nullptr, pTicket);
    const HWND hDlg = pTicket->m_hWnd;
    const std::string strKse = BoxSelection(hDlg, IDC_TICKET_MARKET);
    std::vector<std::string> markets = BoxItems(hDlg, IDC_TICKET_MARKET);
    std::erase(markets, strKse);
    ASSERT_FALSE(markets.empty());
    for (const std::string& strMarket : markets) {
        SCOPED_TRACE(strMarket);
        ASSERT_TRUE(SendKseOrder(s, hDlg)) << s.pRun->InfoText();
        ChooseItem(hDlg, IDC_TICKET_MARKET, strMarket);
        EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_QUANTITY)) << "the KSE order's quantity on " << strMarket;
        EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_TICKER));
        // The next order, typed on this market before the reply.
        const std::vector<std::string> tickers = BoxItems(hDlg, IDC_TICKET_TICKER);
        if (tickers.empty())
            SetDlgItemTextA(hDlg, IDC_TICKET_TICKER, "ALPN");
        else
            ChooseItem(hDlg, IDC_TICKET_TICKER, tickers.front());
        const std::string strTicker = ControlText(hDlg, IDC_TICKET_TICKER);
        TypeInto(hDlg, IDC_TICKET_QUANTITY, "7");
        ASSERT_TRUE(pTicket->GetPending().IsOrderPending()) << "answered before the next order was typed";
        ASSERT_TRUE(Acknowledged(pTicket));
        PumpFor(50);
        EXPECT_EQ(strMarket, BoxSelection(hDlg, IDC_TICKET_MARKET));
        EXPECT_EQ(strTicker, ControlText(hDlg, IDC_TICKET_TICKER));
        EXPECT_EQ("7", ControlText(hDlg, IDC_TICKET_QUANTITY));
        EXPECT_EQ("7", pTicket->TakeSnapshot().strQuantity) << "what would go out";
        ClickControl(hDlg, IDC_TICKET_RESET);
        PumpPending();
        ASSERT_EQ(pTicket, s.Command(33049));
    }

    // A good-till date chosen before the reply is the trader's: it stays, with its days.
    ASSERT_TRUE(SendKseOrder(s, hDlg)) << s.pRun->InfoText();
    std::string strDated;
    for (const std::string& strValidity : BoxItems(hDlg, IDC_TICKET_VALIDITY))
        if (COrderDur::GetCodeByText(strValidity.c_str()) == 1)
            strDated = strValidity;
    ASSERT_NE("", strDated);
    ChooseItem(hDlg, IDC_TICKET_VALIDITY, strDated);
    const COleDateTime picked = pTicket->TakeSnapshot().goodTill + COleDateTimeSpan(3, 0, 0, 0);
    SYSTEMTIME st = {};
    ASSERT_TRUE(picked.GetAsSystemTime(st));
    const HWND hPicker = GetDlgItem(hDlg, IDC_TICKET_GOOD_TILL);
    SendMessageA(hPicker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    NMDATETIMECHANGE change = {};
    change.nmhdr.hwndFrom = hPicker;
    change.nmhdr.idFrom = IDC_TICKET_GOOD_TILL;
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.st = st;
    SendMessageA(hDlg, WM_NOTIFY, IDC_TICKET_GOOD_TILL, reinterpret_cast<LPARAM>(&change));
    const std::string strDays = ControlText(hDlg, IDC_TICKET_DAYS), strDate = ControlText(hDlg, IDC_TICKET_GOOD_TILL);
    ASSERT_TRUE(Acknowledged(pTicket));
    PumpFor(50);
    EXPECT_EQ(strDated, BoxSelection(hDlg, IDC_TICKET_VALIDITY));
    EXPECT_EQ(strDays, ControlText(hDlg, IDC_TICKET_DAYS));
    EXPECT_EQ(strDate, ControlText(hDlg, IDC_TICKET_GOOD_TILL));

    // A row's order put in the ticket by its command before the reply is the ticket's order now.
    ASSERT_TRUE(SendKseOrder(s, hDlg)) << s.pRun->InfoText();
    const std::string strStock = BoxItems(hDlg, IDC_TICKET_TICKER).back();
    const std::string strNumber = strStock.substr(0, strStock.find('/'));
    s.App().OpenOrderTicketKSE(1, strNumber.c_str(), 0.0, 0, 1);
    PumpPending();
    ASSERT_EQ(0u, ControlText(hDlg, IDC_TICKET_TICKER).find(strNumber));
    EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_QUANTITY)) << "the order sent's quantity with the row's stock";
    const std::string strSide = BoxSelection(hDlg, IDC_TICKET_SIDE);
    ASSERT_TRUE(Acknowledged(pTicket));
    PumpFor(50);
    EXPECT_EQ(0u, ControlText(hDlg, IDC_TICKET_TICKER).find(strNumber)) << "the row's order emptied";
    EXPECT_EQ(strSide, BoxSelection(hDlg, IDC_TICKET_SIDE));

    // A lookup result's order picked before the reply stands, on the symbol's market, with none of
    // the KSE order's values.
    long nSymbolMarket = 0;
    std::string strSymbol;
    FirstUsSymbol(&nSymbolMarket, &strSymbol);
    CDataTable* pResults = nullptr;
    ASSERT_NO_FATAL_FAILURE(LookUp(s, strSymbol, &pResults));
    ASSERT_TRUE(SendKseOrder(s, hDlg)) << s.pRun->InfoText();
    PickFromRowMenu(pResults, 0, ID_ROW_TICKET);
    PumpPending();
    ASSERT_TRUE(pTicket->GetPending().IsOrderPending()) << "answered before the lookup's order came";
    ASSERT_TRUE(Acknowledged(pTicket));
    // The server names the symbol's market after the order's reply.
    const std::string strMarket = static_cast<LPCSTR>(GetGlobals()->GetMarketName(nSymbolMarket));
    ASSERT_TRUE(PumpUntil([&] { return BoxSelection(hDlg, IDC_TICKET_MARKET) == strMarket; }, 5000)) << s.pRun->InfoText();
    PumpFor(50);
    EXPECT_EQ(0u, ControlText(hDlg, IDC_TICKET_TICKER).find(strSymbol)) << "the lookup's order emptied";
    EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_QUANTITY)) << "the KSE order's quantity on " << strMarket;
    EXPECT_NE("850", ControlText(hDlg, IDC_TICKET_LIMIT).substr(0, 3)) << "the KSE order's limit on " << strMarket;
    EXPECT_NE("", BoxSelection(hDlg, IDC_TICKET_SIDE)) << "the lookup's order stands whole";
}
}  // namespace

TEST_F(TicketKeepsTheTradersOrder, TheAcknowledgementEmptiesOnlyWhatStillShowsTheOrderSent)
{
    TheAcknowledgementEmptiesOnlyWhatStillShowsTheOrder(*this, false);
}

TEST_F(TicketKeepsTheTradersOrder, TheAcknowledgementEmptiesOnlyWhatStillShowsTheOrderSentInArabic)
{
    TheAcknowledgementEmptiesOnlyWhatStillShowsTheOrder(*this, true);
}

namespace {
struct TICKET_READING
{
    std::vector<std::string> texts;
    COLORREF crForm = 0;
    bool operator==(const TICKET_READING&) const = default;
};

// What the trader sees of the order in the ticket.
TICKET_READING ReadTicket(CNewPlaceOrderDlg* pTicket)
{
    TICKET_READING reading;
    for (int nId : {IDC_TICKET_MARKET, IDC_TICKET_SESSION, IDC_TICKET_SIDE, IDC_TICKET_TYPE, IDC_TICKET_VALIDITY,
                    IDC_TICKET_TICKER, IDC_TICKET_QUANTITY, IDC_TICKET_LIMIT, IDC_TICKET_STOP}) {
        std::string strText = ControlText(pTicket->m_hWnd, nId);
        // A price reads in its decimals once the caret leaves it: the same price.
        if ((nId == IDC_TICKET_LIMIT || nId == IDC_TICKET_STOP) && !strText.empty())
            strText = std::to_string(atof(strText.c_str()));
        reading.texts.push_back(strText);
    }
    reading.crForm = pTicket->GetFormColour();
    return reading;
}

std::string Joined(const TICKET_READING& reading)
{
    std::string strText;
    for (const std::string& strField : reading.texts)
        strText += strField + "|";
    return strText;
}

// A US order and a KSE order begun, a sale each: every command that opens the ticket leaves the
// order whole, as the ticket shows it (a word tells when the command asked for another kind);
// a row's order command replaces it whole and says so.
void CommandsOnABegunOrder(TicketKeepsTheTradersOrder& s, bool bArabic)
{
    ASSERT_NO_FATAL_FAILURE(s.Start(bArabic, {"--rate", "0"}));
    for (UINT nBegin : {33100u, 33050u}) {
        CNewPlaceOrderDlg* pTicket = s.Command(nBegin);
        ASSERT_NE(nullptr, pTicket);
        const HWND hDlg = pTicket->m_hWnd;
        ClickControl(hDlg, IDC_TICKET_RESET);
        PumpPending();
        ASSERT_EQ(pTicket, s.Command(nBegin));
        if (nBegin == 33100u) {
            for (const std::string& strMarket : BoxItems(hDlg, IDC_TICKET_MARKET)) {
                if (GetGlobals()->GetMarketCode(strMarket.c_str()) == 2)
                    continue;
                ChooseItem(hDlg, IDC_TICKET_MARKET, strMarket);
                if (!BoxItems(hDlg, IDC_TICKET_TICKER).empty() && !LimitType(hDlg).empty())
                    break;
            }
            ChooseItem(hDlg, IDC_TICKET_TYPE, LimitType(hDlg));
        }
        ChooseItem(hDlg, IDC_TICKET_SIDE, ItemStarting(hDlg, IDC_TICKET_SIDE, Sell()));
        ChooseItem(hDlg, IDC_TICKET_TICKER, BoxItems(hDlg, IDC_TICKET_TICKER).front());
        TypeInto(hDlg, IDC_TICKET_QUANTITY, "700");
        TypeInto(hDlg, IDC_TICKET_LIMIT, "842");
        const TICKET_READING begun = ReadTicket(pTicket);
        for (UINT nCommand : CZORVAT32App::GetOrderTicketCommands()) {
            SCOPED_TRACE(std::to_string(nBegin) + " then " + std::to_string(nCommand));
            ASSERT_EQ(pTicket, s.Command(nCommand));
            EXPECT_EQ(Joined(begun), Joined(ReadTicket(pTicket)));
            EXPECT_EQ(begun.crForm, pTicket->GetFormColour()) << "the side's colour";
        }
        EXPECT_GT(s.pRun->CountInfoLines(IDS_TICKET_BEGUN_ORDER_KEPT), 0) << "kept without a word";

        // A row's order: the KSE stock of a double click, a US symbol of a quotation row.
        const std::string strTicker = ControlText(hDlg, IDC_TICKET_TICKER);
        const std::string strSymbol = strTicker.substr(0, strTicker.find('/'));
        const size_t nInfo = s.pRun->InfoText().size();
        if (nBegin == 33100u)
            s.App().OpenOrderTicketKSE(1, "101", 0.0, 0, 1);
        else
            s.App().OpenOrderTicket(0, "ALPN", 0.0, static_cast<LPCSTR>(GetGlobals()->GetMarketName(4)), nullptr, 0);
        PumpPending();
        const std::string strTold = s.pRun->InfoText().substr(nInfo);
        EXPECT_NE(std::string::npos, strTold.find(strSymbol + " 700")) << strTold;
        EXPECT_EQ("", ControlText(hDlg, IDC_TICKET_QUANTITY)) << "the begun order's quantity with the row's symbol";
        EXPECT_NE(begun.texts[7], ReadTicket(pTicket).texts[7]) << "the begun order's price with the row's symbol";
        EXPECT_EQ(std::string::npos, ControlText(hDlg, IDC_TICKET_TICKER).find(strSymbol));
    }
}
}  // namespace

TEST_F(TicketKeepsTheTradersOrder, ACommandLeavesABegunOrderWholeAndARowsOrderReplacesItWhole)
{
    CommandsOnABegunOrder(*this, false);
}

TEST_F(TicketKeepsTheTradersOrder, ACommandLeavesABegunOrderWholeAndARowsOrderReplacesItWholeInArabic)
{
    CommandsOnABegunOrder(*this, true);
}
