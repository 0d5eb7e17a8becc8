// What the server answers and what becomes of an order while a form has it, as the trader reads
// it: every refusal of every order road reads whole, its value in place or its place closed up;
// a fill that comes before its order's line waits for it and is applied and told then; a modify
// form whose order is filled or cancelled meanwhile says so, closes and sends nothing more.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "account/ExecutedTradesTable.h"
#include "account/OrderStatusKSETable.h"
#include "account/OrderStatusTable.h"
#include "app/FormMDIWnd.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/TableLinks.h"
#include "orders/ModifyOrderDlg.h"
#include "orders/ModifyOrderKSEDlg.h"
#include "orders/NewModifyOrderDlg.h"
#include "orders/OrderFormBase.h"
#include "orders/OrderRequests.h"
#include "orders/ReviewDialog.h"
#include "orders/SeparateModifyForm.h"
#include "refdata/ZorvatTypes.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/orders/OrderTestSupport.h"

namespace {
// US order status columns the tests read.
enum { OC_OPEN = 10, OC_FILLED = 11, OC_STATUS = 12 };
enum { KC_FILLED = 16, KC_STATUS = 19 };

// The trader with the order-status and executed-trades tables, as the terminal stands after login.
struct OrderEndsSession : COrderStatusSession
{
    PFN_MAKE_TABLE pfnUsTrades = FindTableMaker(IDS_TABLE_US_TRADES);
    CFormMDIWnd* pSlot = nullptr;

    void RegisterMakers() override
    {
        COrderStatusSession::RegisterMakers();
        RegisterTableMaker(IDS_TABLE_US_TRADES, MakeDataTable<CExecutedTradesTable>);
    }
    void TearDown() override
    {
        COrderStatusSession::TearDown();
        RegisterTableMaker(IDS_TABLE_US_TRADES, pfnUsTrades);
        pSlot = nullptr;
    }
    // A line as the server sends it, taken by the terminal as if read from the link.
    void Line(const std::string& strLine)
    {
        App().GetDispatcher().OnServerMessage(strLine.c_str());
        PumpFor(100);
    }
    std::string Shown(UINT nTable, const std::string& strOrder, int nCol) const
    {
        const CDataBuffer* pRow = Row(nTable, strOrder);
        return pRow != nullptr ? std::string(pRow->GetText(nCol, TRUE)) : std::string("-");
    }
    int Told(const std::string& strLine) const
    {
        const std::string strText = "\n" + pRun->InfoText();
        int nCount = 0;
        for (size_t n = 0; (n = strText.find("\n" + strLine + "\n", n)) != std::string::npos; ++n)
            ++nCount;
        return nCount;
    }
    // A change reviewed while another terminal cancels its order, on each market's separate form.
    void ReviewWhileCancelledElsewhere(bool bArabic);
    // A separate modify form opened as the application opens forms, with the order loaded.
    HWND OpenSeparate(UINT nForm, const std::string& strOrder)
    {
        App().OpenFormWindow(&pSlot, nForm);
        PumpPending();
        auto* pForm = pSlot != nullptr ? dynamic_cast<CSeparateModifyForm*>(pSlot->GetView()) : nullptr;
        if (pForm == nullptr)
            return nullptr;
        pForm->LoadOrder(atol(strOrder.c_str()));
        PumpPending();
        return pForm->m_hWnd;
    }
};

// A live line of the server with these data fields, the others empty.
std::string Live(const char* pszMnemonic, const std::map<int, std::string>& fields)
{
    std::string strLine = std::string("~") + pszMnemonic + "|0|XC|";
    for (int i = 0; i <= fields.rbegin()->first; ++i)
        strLine += "|" + (fields.count(i) != 0 ? fields.at(i) : std::string());
    return strLine;
}

// A US trade (trade number, order, quantity, price) and order (number, quantity, open, filled,
// status); a KSE order's status line.
std::string UsTrade(const std::string& strTrade, const std::string& strOrder, const char* pszQuantity, const char* pszPrice)
{
    return Live("NT", {{0, strTrade}, {1, "20261209100000"}, {2, "1"}, {3, "ALPN"}, {4, pszQuantity}, {5, pszPrice},
                       {9, strOrder}, {10, "1"}, {16, "4"}});
}

std::string UsOrder(const std::string& strOrder, const char* pszQuantity, const char* pszOpen, const char* pszFilled,
                    const char* pszStatus)
{
    return Live("NO", {{0, strOrder}, {1, "20261209095959"}, {2, "ALPN"}, {3, "1"}, {4, pszQuantity}, {5, pszOpen},
                       {6, pszFilled}, {8, "0"}, {9, "30.00"}, {11, "0"}, {16, pszStatus}, {21, "0"}, {27, "4"}, {28, "=USD"}});
}

size_t Occurrences(const std::string& strText, const std::string& strPart)
{
    size_t nCount = 0;
    for (size_t n = 0; (n = strText.find(strPart, n)) != std::string::npos; n += strPart.size())
        ++nCount;
    return nCount;
}

std::string KseOrder(const std::string& strOrder, const char* pszOpen, const char* pszFilled, const char* pszStatus)
{
    return Live("NS", {{0, strOrder}, {1, "20261209095959"}, {2, "101"}, {3, "1"}, {4, "100"}, {5, pszOpen},
                       {6, pszFilled}, {8, "0"}, {9, "800"}, {11, "0"}, {16, pszStatus}, {23, "1"}, {24, "20261209"},
                       {25, "S" + strOrder}});
}

std::string FormText(UINT nId, const std::string& strOrder)
{
    CString strText;
    strText.FormatMessage(nId, strOrder.c_str());
    return static_cast<LPCSTR>(strText);
}
}  // namespace

// Every reply type of every order road: a refusal that carries its value reads with it, one that
// carries none reads whole without an empty place; the KSE modify form tells the server's tick.
TEST_F(OrderEndsSession, EveryRefusalReadsWhole)
{
    StartTrader(false);
    for (const ORDER_ROAD* pRoad : GetAllOrderRoads()) {
        const std::pair<int, int> replies[] = {{pRoad->pCheck->nType, pRoad->nCheckError},
                                               {pRoad->pOrder->nType, pRoad->pAck != nullptr ? pRoad->pAck->nError : 0}};
        for (const auto& [nType, nError] : replies) {
            SCOPED_TRACE(GetMessageMnemonic(nType));
            const auto refusal = [&](const char* pszCode, const char* pszValue) {
                std::string strLine = std::string("~") + GetMessageMnemonic(nType) + "|0|XC|";
                for (int i = 0; i < nError; ++i)
                    strLine += "|";
                strLine += std::string("|") + pszCode + "|" + pszValue + "|||";
                return std::string(ReplyErrorText(CServerMessage(strLine.c_str(), 1), nError));
            };
            EXPECT_EQ("The price must be a multiple of 2.0", refusal("433", "2.0"));
            EXPECT_EQ("Unknown symbol GHBX", refusal("652", "GHBX"));
            EXPECT_EQ("This order is not open", refusal("724", ""));
            EXPECT_EQ("The price is outside the day's limits", refusal("447", ""));
        }
    }

    // The KSE regular board's own modify form, an order's price off the board's tick.
    const std::string strOrder = Place(MSG_KR, "||1002|10020|1|1|101|100|0|800||0|||secret", 17, IDS_TABLE_KSE_ORDER_STATUS);
    ASSERT_FALSE(strOrder.empty());
    Row(IDS_TABLE_KSE_ORDER_STATUS, strOrder)->SetDouble(11, 832.55, TRUE);
    const HWND hForm = OpenSeparate(IDD_FORM_MODIFY_ORDER_KSE, strOrder);
    ASSERT_NE(nullptr, hForm);
    EnterText(hForm, IDC_SEPARATE_QUANTITY, "150");
    const size_t nBefore = pRun->InfoText().size();
    NotifyControl(hForm, IDC_SEPARATE_MODIFY, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return pRun->InfoText().size() > nBefore; })) << Lines("KW");
    EXPECT_EQ("The price must be a multiple of 2.0\n", pRun->InfoText().substr(nBefore)) << Lines("KW");
    EXPECT_EQ(0u, Count("KM"));
}

// A trade told before its order's line waits for that line, then fills the order and is told,
// once; an order line written after its trade is not filled twice; a trade of no order is told
// at once. A KSE order's line tells its own fills, whatever came before it.
TEST_F(OrderEndsSession, AFillBeforeItsOrderWaitsForTheOrder)
{
    // The server's own order: its trade line goes before the order's lines.
    Start(false, {"--rate", "0", "--scenario", "fill-first"});
    size_t nBefore = pRun->InfoText().size();
    const std::string strUs = Place(MSG_OR, "1002|10020|1|ALPN|100|3|0||0|||secret", 11, IDS_TABLE_US_ORDERS);
    ASSERT_FALSE(strUs.empty()) << Lines("NT") << Lines("NO");
    const std::vector<std::string> log = server.Log();
    size_t nTrade = log.size(), nOrder = log.size();
    for (size_t i = 0; i < log.size(); ++i) {
        if (nTrade == log.size() && log[i].rfind("> ~NT|", 0) == 0 && BodyOf(log[i].substr(2)).at(9) == strUs)
            nTrade = i;
        if (nOrder == log.size() && log[i].rfind("> ~NO|", 0) == 0 && BodyOf(log[i].substr(2)).at(0) == strUs)
            nOrder = i;
    }
    ASSERT_LT(nTrade, nOrder) << "the trade goes first";
    EXPECT_EQ(0.0, Row(IDS_TABLE_US_ORDERS, strUs)->GetDouble(OC_OPEN));
    EXPECT_EQ("100", Shown(IDS_TABLE_US_ORDERS, strUs, OC_FILLED)) << Lines("NT") << Lines("NO");
    EXPECT_EQ(std::string(COrderStatus::GetText(3)), Shown(IDS_TABLE_US_ORDERS, strUs, OC_STATUS));
    const std::string strUsTold = pRun->InfoText().substr(nBefore);
    EXPECT_EQ(1u, Occurrences(strUsTold, "Order " + strUs + ": Buy 100 ALPN filled at ")) << strUsTold;

    nBefore = pRun->InfoText().size();
    const std::string strKse = Place(MSG_KR, "||1002|10020|1|1|101|100|3|0||0|||secret", 17, IDS_TABLE_KSE_ORDERS);
    ASSERT_FALSE(strKse.empty()) << Lines("NX") << Lines("NS");
    EXPECT_EQ("100", Shown(IDS_TABLE_KSE_ORDERS, strKse, KC_FILLED)) << Lines("NX") << Lines("NS");
    EXPECT_EQ(std::string(COrderStatus::GetText(3)), Shown(IDS_TABLE_KSE_ORDERS, strKse, KC_STATUS));

    // A trade told twice before its order, the order's line not counting it: filled once, told once.
    const std::string strNotice = "Order 777: Buy 100 ALPN filled at 30.0000.";
    Line(UsTrade("9777", "777", "100", "30.00"));
    Line(UsTrade("9777", "777", "100", "30.00"));
    EXPECT_EQ(0, Told(strNotice)) << "told with its order";
    Line(UsOrder("777", "100", "100", "0", "2"));
    EXPECT_EQ(0.0, Row(IDS_TABLE_US_ORDERS, "777")->GetDouble(OC_OPEN));
    EXPECT_EQ("100", Shown(IDS_TABLE_US_ORDERS, "777", OC_FILLED));
    EXPECT_EQ(1, Told(strNotice)) << pRun->InfoText();

    // An exercise's trade names no order: told at once.
    nBefore = pRun->InfoText().size();
    Line(UsTrade("9779", "", "200", "45.00"));
    EXPECT_NE(std::string::npos, pRun->InfoText().find("200 ALPN filled at 45.0000", nBefore)) << pRun->InfoText();
}

// The modify form of an order that is filled or cancelled meanwhile: told in its own words, the
// form closes and no change goes out, also when the end comes while the change is reviewed.
TEST_F(OrderEndsSession, AModifyFormFollowsItsOrderToItsEnd)
{
    StartTrader(false);
    // The combined form on a US order, filled in full.
    std::string strOrder = Place(MSG_OR, "1002|10020|1|ALPN|100|0|30.00||0|||secret", 11, IDS_TABLE_US_ORDERS);
    ASSERT_FALSE(strOrder.empty());
    App().OpenModifyOrderUS(atol(strOrder.c_str()));
    PumpPending();
    ASSERT_NE(nullptr, App().GetModifyOrderForm());
    Line(UsTrade("9100", strOrder, "100", "30.00"));
    ASSERT_TRUE(PumpUntil([&] { return App().GetModifyOrderForm() == nullptr; })) << pRun->InfoText();
    EXPECT_EQ(1, Told(FormText(IDS_FORM_ORDER_FILLED, strOrder))) << pRun->InfoText();

    // The KSE regular board's own form, its order cancelled while the change is reviewed.
    strOrder = Place(MSG_KR, "||1002|10020|1|1|101|100|0|800||0|||secret", 17, IDS_TABLE_KSE_ORDERS);
    ASSERT_FALSE(strOrder.empty());
    const HWND hForm = OpenSeparate(IDD_FORM_MODIFY_ORDER_KSE, strOrder);
    ASSERT_NE(nullptr, hForm);
    EnterText(hForm, IDC_SEPARATE_QUANTITY, "150");
    const size_t nBefore = pRun->InfoText().size();
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND h) {
                       Line(KseOrder(strOrder, "100", "0", "5"));
                       TypeText("secret");
                       ClickControl(h, IDOK);
                   }}});
    NotifyControl(hForm, IDC_SEPARATE_MODIFY, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return pSlot == nullptr; })) << pRun->InfoText();
    ClearDialogSteps();
    PumpFor(200);
    EXPECT_EQ(0u, Count("KM")) << Lines("KM");
    // Told once, by the order-status table's notice, which had the line first.
    EXPECT_EQ(1u, Occurrences(pRun->InfoText().substr(nBefore), "Order " + strOrder + " ")) << pRun->InfoText();
    EXPECT_EQ(1, Told("Order " + strOrder + " (Buy GHB) has been cancelled.")) << pRun->InfoText();
}

// A change held in its review while another terminal of the trader cancels the order: the
// server's lines are handled behind the open review, so the order-status row shows the end while
// the trader still reads the review; the review ends, no change goes out, and the end is told.
// In English and in Arabic.
TEST_F(OrderEndsSession, AnOrderCancelledElsewhereWhileItsChangeIsReviewedSendsNothing)
{
    for (const bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        if (bArabic)
            TearDown();
        StartTrader(bArabic);
        ReviewWhileCancelledElsewhere(bArabic);
    }
}

void OrderEndsSession::ReviewWhileCancelledElsewhere(bool bArabic)
{
    COtherTerminal other;
    ASSERT_TRUE(other.Open(server.Port()));
    struct ROAD
    {
        int nPlace;
        const char* pszPlace;
        int nNumberField;
        UINT nTable, nForm;
        int nStatusCol;
        const char *pszCancel, *pszCancelBody, *pszChange;
    };
    const ROAD roads[] = {
        {MSG_KR, "||1002|10020|1|1|101|100|0|800||0|||secret", 17, IDS_TABLE_KSE_ORDERS, IDD_FORM_MODIFY_ORDER_KSE,
         KC_STATUS, "KC", "||1002|10020|#||||||||||||||||||||secret", "KM"},
        {MSG_OR, "1002|10020|1|ALPN|100|0|30.00||0|||secret", 11, IDS_TABLE_US_ORDERS, IDD_FORM_MODIFY_ORDER_US,
         OC_STATUS, "OC", "1002|10020|#|secret", "OM"},
    };
    for (const ROAD& road : roads) {
        SCOPED_TRACE(road.pszChange);
        const std::string strOrder = Place(road.nPlace, road.pszPlace, road.nNumberField, road.nTable);
        ASSERT_FALSE(strOrder.empty());
        const std::string strOpen = Shown(road.nTable, strOrder, road.nStatusCol);
        const HWND hForm = OpenSeparate(road.nForm, strOrder);
        ASSERT_NE(nullptr, hForm);
        EnterText(hForm, IDC_SEPARATE_QUANTITY, "150");
        const size_t nBefore = pRun->InfoText().size();
        std::string strBehind;
        RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND h) {
                           std::string strBody = road.pszCancelBody;
                           strBody.replace(strBody.find('#'), 1, strOrder);
                           other.Send(road.pszCancel, strBody);
                           // The trader reads the review while the row behind it moves.
                           PumpUntil([&] { return Shown(road.nTable, strOrder, road.nStatusCol) != strOpen; }, 3000);
                           strBehind = Shown(road.nTable, strOrder, road.nStatusCol);
                           SaveDialogScreenshot(h, std::string("orders_review_order_ended_") + road.pszChange +
                                                       (bArabic ? "_ar" : "_en"));
                           TypeText("secret");
                           ClickControl(h, IDOK);
                       }}});
        NotifyControl(hForm, IDC_SEPARATE_MODIFY, BN_CLICKED);
        ASSERT_TRUE(PumpUntil([&] { return pSlot == nullptr; })) << pRun->InfoText();
        ClearDialogSteps();
        PumpFor(300);
        EXPECT_NE(strOpen, strBehind) << "the row behind the review stayed as it was";
        EXPECT_EQ(0u, Count(road.pszChange)) << Lines(road.pszChange);
        if (!bArabic) {
            EXPECT_EQ(1u, Occurrences(pRun->InfoText().substr(nBefore), "Order " + strOrder + " ")) << pRun->InfoText();
        }
    }
}
