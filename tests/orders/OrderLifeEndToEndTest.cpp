// An order's life as the trader reads it, whatever order the server's lines come in: its order
// line, its trades, its end and its changes, late, repeated or before the order's line, give one
// record in the order status, the executed trades and an open modify form: filled is the sum of
// its distinct fills, open what is left of its quantity, an ended order stays ended, each fill is
// told once, and nothing goes out for an ended order.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "account/ExecutedTradesKSETable.h"
#include "account/ExecutedTradesTable.h"
#include "account/OrderStatusKSETable.h"
#include "account/OrderStatusTable.h"
#include "app/FormMDIWnd.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "orders/ModifyOrderForm.h"
#include "orders/NewModifyOrderDlg.h"
#include "orders/OrderRequests.h"
#include "orders/ReviewDialog.h"
#include "refdata/ZorvatTypes.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/orders/OrderLifeSupport.h"

namespace {
// Order status columns the tests read: US, KSE.
enum { OC_QUANTITY = 4, OC_OPEN = 10, OC_FILLED = 11, OC_STATUS = 12 };
enum { KC_QUANTITY = 9, KC_OPEN = 15, KC_FILLED = 16, KC_STATUS = 19 };

std::string UsOrder(long nOrder, long nQuantity, long nOpen, long nFilled, long nStatus)
{
    return UsOrderLine(nOrder, nQuantity, nOpen, nFilled, nStatus, false);
}
std::string UsTrade(long nTrade, long nOrder, long nQuantity)
{
    return UsTradeLine(nTrade, nOrder, nQuantity, false);
}
std::string UsEnd(long nOrder, long nStatus)
{
    return UsStatusLine(nOrder, nStatus);
}
std::string KseOrder(long nOrder, long nQuantity, long nOpen, long nFilled, long nStatus)
{
    return KseOrderLine(nOrder, nQuantity, nOpen, nFilled, nStatus);
}
}  // namespace

// A part fill told before its order's line, which counts it: filled 40, open 60, told once.
TEST_F(OrderLifeSession, APartFillBeforeItsOrderIsCountedOnce)
{
    ASSERT_NO_FATAL_FAILURE(StartLoaded());
    Line(UsTrade(9801, 801, 40));
    EXPECT_EQ(0u, ToldFills(801)) << "told with its order";
    Line(UsOrder(801, 100, 60, 40, 6));
    EXPECT_EQ("40", Shown(IDS_TABLE_US_ORDERS, 801, OC_FILLED));
    EXPECT_EQ("60", Shown(IDS_TABLE_US_ORDERS, 801, OC_OPEN));
    EXPECT_EQ(std::string(COrderStatus::GetText(6)), Shown(IDS_TABLE_US_ORDERS, 801, OC_STATUS));
    EXPECT_EQ(1u, ToldFills(801)) << pRun->InfoText();
    // The same order's older line, and the trade again: nothing changes.
    Line(UsOrder(801, 100, 100, 0, 2));
    Line(UsTrade(9801, 801, 40));
    EXPECT_EQ("40", Shown(IDS_TABLE_US_ORDERS, 801, OC_FILLED));
    EXPECT_EQ("60", Shown(IDS_TABLE_US_ORDERS, 801, OC_OPEN));
    EXPECT_EQ(1u, ToldFills(801)) << pRun->InfoText();
}

// Cancelled, then a trade made before the cancel told after it: the order stays cancelled with
// its fill, its number opens no form, and a form opened for it sends nothing. An expired order
// filled late stays expired.
TEST_F(OrderLifeSession, AnEndedOrderStaysEnded)
{
    ASSERT_NO_FATAL_FAILURE(StartLoaded());
    const std::string strOrder = Place(MSG_OR, "1002|10020|1|ALPN|100|0|30.00||0|||secret", 11, IDS_TABLE_US_ORDERS);
    ASSERT_FALSE(strOrder.empty());
    const long nOrder = atol(strOrder.c_str());
    Line(UsEnd(nOrder, 5));
    Line(UsTrade(9901, nOrder, 40));
    EXPECT_EQ(std::string(COrderStatus::GetText(5)), Shown(IDS_TABLE_US_ORDERS, nOrder, OC_STATUS));
    EXPECT_EQ("40", Shown(IDS_TABLE_US_ORDERS, nOrder, OC_FILLED));
    EXPECT_EQ(0.0, Number(IDS_TABLE_US_ORDERS, nOrder, OC_OPEN));
    EXPECT_EQ(1u, ToldFills(nOrder)) << pRun->InfoText();

    ClickOrderNumber(IDS_TABLE_US_ORDERS, nOrder);
    EXPECT_EQ(nullptr, App().GetModifyOrderForm()) << "an ended order opens no form";
    App().OpenModifyOrderUS(nOrder);
    PumpPending();
    const HWND hForm = FormOf(nOrder);
    if (hForm != nullptr) {
        // Were a review to open, it is left: the test reads what went out.
        RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) { ClickControl(h, IDCANCEL); }}});
        EnterText(hForm, IDC_MODIFY_QUANTITY, "150");
        NotifyControl(hForm, IDC_MODIFY_MODIFY, BN_CLICKED);
        PumpFor(300);
        ClearDialogSteps();
    }
    EXPECT_EQ(0u, Count("OW") + Count("OM") + Count("OC")) << Lines("OW");

    Line(UsOrder(802, 100, 100, 0, 2));
    Line(UsEnd(802, 7));
    Line(UsTrade(9902, 802, 100));
    EXPECT_EQ(std::string(COrderStatus::GetText(7)), Shown(IDS_TABLE_US_ORDERS, 802, OC_STATUS));
    EXPECT_EQ("100", Shown(IDS_TABLE_US_ORDERS, 802, OC_FILLED));
    EXPECT_EQ(1u, ToldFills(802));

    // A KSE order's fill line told after its cancel: cancelled, with the fill.
    Line(KseOrder(803, 100, 100, 0, 2));
    Line(KseOrder(803, 100, 0, 0, 5));
    Line(KseOrder(803, 100, 60, 40, 6));
    EXPECT_EQ(std::string(COrderStatus::GetText(5)), Shown(IDS_TABLE_KSE_ORDERS, 803, KC_STATUS));
    EXPECT_EQ("40", Shown(IDS_TABLE_KSE_ORDERS, 803, KC_FILLED));
}

// The combined form follows a part fill of its order at once, both markets, and reads the row
// again at Modify.
TEST_F(OrderLifeSession, TheModifyFormReadsItsOrdersFills)
{
    ASSERT_NO_FATAL_FAILURE(StartLoaded());
    const std::string strUs = Place(MSG_OR, "1002|10020|1|ALPN|100|0|30.00||0|||secret", 11, IDS_TABLE_US_ORDERS);
    ASSERT_FALSE(strUs.empty());
    App().OpenModifyOrderUS(atol(strUs.c_str()));
    PumpPending();
    HWND hForm = FormOf(atol(strUs.c_str()));
    ASSERT_NE(nullptr, hForm);
    EXPECT_EQ("100", ControlText(hForm, IDC_MODIFY_OPEN));
    Line(UsTrade(9601, atol(strUs.c_str()), 40));
    EXPECT_EQ("60", ControlText(hForm, IDC_MODIFY_OPEN));
    EXPECT_EQ("40", ControlText(hForm, IDC_MODIFY_FILLED));
    EXPECT_EQ("60", Shown(IDS_TABLE_US_ORDERS, atol(strUs.c_str()), OC_OPEN));

    Line(KseOrder(604, 100, 100, 0, 2));
    App().OpenModifyOrderKSE(604);
    PumpPending();
    hForm = FormOf(604);
    ASSERT_NE(nullptr, hForm);
    // Grouped as the quantity beside them.
    Line(KseOrder(604, 200000, 184200, 15800, 6));
    EXPECT_EQ("184,200", ControlText(hForm, IDC_MODIFY_OPEN));
    EXPECT_EQ("15,800", ControlText(hForm, IDC_MODIFY_FILLED));
    // Cleared by the trader, read again from the row at Modify.
    ClickControl(hForm, IDC_MODIFY_CLEAR);
    EnterText(hForm, IDC_MODIFY_QUANTITY, "150");
    NotifyControl(hForm, IDC_MODIFY_MODIFY, BN_CLICKED);
    PumpPending();
    EXPECT_EQ("184,200", ControlText(hForm, IDC_MODIFY_OPEN));
    EXPECT_EQ("15,800", ControlText(hForm, IDC_MODIFY_FILLED));
}

// Seventy trades told before their orders' lines, which come seconds later: none is told while
// it waits, each is applied and told once with its order.
TEST_F(OrderLifeSession, FillsWaitForTheirOrdersHoweverManyAndLate)
{
    ASSERT_NO_FATAL_FAILURE(StartLoaded());
    for (long n = 0; n < 70; ++n)
        Line(UsTrade(19000 + n, 9000 + n, 100), 0);
    PumpFor(2500);      // past the terminal's once-a-second ticks
    for (long n = 0; n < 70; ++n)
        ASSERT_EQ(0u, ToldFills(9000 + n)) << "told while its order does not show\n" << pRun->InfoText();
    for (long n = 0; n < 70; ++n)
        Line(UsOrder(9000 + n, 100, 0, 100, 3), 0);
    PumpFor(100);
    for (long n = 0; n < 70; ++n) {
        EXPECT_EQ(std::string(COrderStatus::GetText(3)), Shown(IDS_TABLE_US_ORDERS, 9000 + n, OC_STATUS)) << n;
        EXPECT_EQ("100", Shown(IDS_TABLE_US_ORDERS, 9000 + n, OC_FILLED)) << n;
        EXPECT_EQ(1u, ToldFills(9000 + n)) << n;
    }
    // One more, its line written before the trade and told after it.
    Line(UsTrade(19100, 9100, 100));
    PumpFor(1500);
    EXPECT_EQ(0u, ToldFills(9100));
    Line(UsOrder(9100, 100, 100, 0, 2));
    EXPECT_EQ("100", Shown(IDS_TABLE_US_ORDERS, 9100, OC_FILLED));
    EXPECT_EQ(std::string(COrderStatus::GetText(3)), Shown(IDS_TABLE_US_ORDERS, 9100, OC_STATUS));
    EXPECT_EQ(1u, ToldFills(9100));
}

// A change reviewed while an order-status reply, and no line of the order, tells that it was
// cancelled: OK sends nothing, and the form closes.
TEST_F(OrderLifeSession, AReplyThatEndsTheOrderStopsTheReviewedChange)
{
    ASSERT_NO_FATAL_FAILURE(StartLoaded());
    const std::string strOrder = Place(MSG_OR, "1002|10020|1|ALPN|100|0|30.00||0|||secret", 11, IDS_TABLE_US_ORDERS);
    ASSERT_FALSE(strOrder.empty());
    const long nOrder = atol(strOrder.c_str());
    App().OpenModifyOrderUS(nOrder);
    PumpPending();
    const HWND hForm = FormOf(nOrder);
    ASSERT_NE(nullptr, hForm);
    EnterText(hForm, IDC_MODIFY_QUANTITY, "150");
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND h) {
                       // The table asked again; the server's rows say the order was cancelled.
                       const std::string strRow = UsOrder(nOrder, 100, 0, 0, 5);
                       Line("~OS|0|XC||1002|10020|0|0|1000000|0||2|0", 0);
                       Line(strRow.substr(strRow.find("||") + 2), 0);
                       Line("~EN|0|XC||", 0);
                       TypeText("secret");
                       ClickControl(h, IDOK);
                   }}});
    NotifyControl(hForm, IDC_MODIFY_MODIFY, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return App().GetModifyOrderForm() == nullptr; })) << pRun->InfoText();
    ClearDialogSteps();
    PumpFor(300);
    EXPECT_EQ(1u, Count("OW"));
    EXPECT_EQ(0u, Count("OM")) << Lines("OM");
    EXPECT_EQ(std::string(COrderStatus::GetText(5)), Shown(IDS_TABLE_US_ORDERS, nOrder, OC_STATUS));
    EXPECT_EQ(1u, TimesIn(pRun->InfoText(), "Order " + strOrder + " was cancelled: the form closes")) << pRun->InfoText();
}

// Found by the order-life property: a forward order's resting line told again after its fill's
// line, which counts more: the older line tells nothing new. The same for a regular-board order.
TEST_F(OrderLifeSession, AnOlderLineAfterANewerOneTellsNothingNew)
{
    ASSERT_NO_FATAL_FAILURE(StartLoaded());
    Line(ForwardOrderLine(70081, 10, 0, 1));
    Line(ForwardTradeLine(700054, 70081, 1));
    Line(ForwardOrderLine(70081, 10, 1, 6));
    Line(ForwardOrderLine(70081, 10, 0, 1));
    EXPECT_EQ("1", Shown(IDS_TABLE_KSE_ORDERS, 70081, KC_FILLED));
    EXPECT_EQ(0.0, Number(IDS_TABLE_KSE_ORDERS, 70081, KC_OPEN));
    EXPECT_EQ(std::string(COrderStatus::GetText(6)), Shown(IDS_TABLE_KSE_ORDERS, 70081, KC_STATUS));

    Line(KseOrder(70082, 100, 100, 0, 2));
    Line(KseOrder(70082, 100, 60, 40, 6));
    Line(KseOrder(70082, 100, 100, 0, 2));
    EXPECT_EQ("40", Shown(IDS_TABLE_KSE_ORDERS, 70082, KC_FILLED));
    EXPECT_EQ("60", Shown(IDS_TABLE_KSE_ORDERS, 70082, KC_OPEN));
    EXPECT_EQ(std::string(COrderStatus::GetText(6)), Shown(IDS_TABLE_KSE_ORDERS, 70082, KC_STATUS));
}

// Found by the order-life property: a modify form open on a US order that the order-status reply,
// and no line of the order, shows refused: the form closes, the end told once. A KSE order's
// change under review when the KSE reply shows it cancelled: the review and the form close by
// themselves, and nothing goes out.
TEST_F(OrderLifeSession, AReplyThatShowsTheOrderEndedClosesItsForm)
{
    ASSERT_NO_FATAL_FAILURE(StartLoaded());
    Line(UsOrder(70507, 10, 10, 0, 2));
    App().OpenModifyOrderUS(70507);
    PumpPending();
    ASSERT_NE(nullptr, FormOf(70507));
    const std::string strRow = UsOrder(70507, 10, 0, 0, 4);
    for (const std::string& strLine : {std::string("~OS|0|XC||0|0|0|0|0|0|0|0|0"), strRow.substr(strRow.find("|XC||") + 5),
                                       std::string("$EN|0|XC|0|1")})
        Line(strLine, 0);
    EXPECT_EQ(nullptr, App().GetModifyOrderForm());
    EXPECT_EQ(1u, TimesIn(pRun->InfoText(), "Order 70507 is no longer open: the form closes")) << pRun->InfoText();

    const std::string strOrder = Place(MSG_KR, "||1002|10020|1|1|101|100|0|800||0|||secret", 17, IDS_TABLE_KSE_ORDERS);
    ASSERT_FALSE(strOrder.empty());
    const long nOrder = atol(strOrder.c_str());
    App().OpenModifyOrderKSE(nOrder);
    PumpPending();
    const HWND hForm = FormOf(nOrder);
    ASSERT_NE(nullptr, hForm);
    EnterText(hForm, IDC_MODIFY_QUANTITY, "150");
    const std::string strCancelled = KseOrder(nOrder, 100, 0, 0, 5);
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND) {
                       for (const std::string& strLine : {std::string("~KS|0|XC||0"), strCancelled.substr(strCancelled.find("|XC||") + 5),
                                                          std::string("$EN|0|XC|0|1"), std::string("~KB|0|XC||0"),
                                                          std::string("$EN|0|XC|0|0")})
                           Line(strLine, 0);
                   }}});
    NotifyControl(hForm, IDC_MODIFY_MODIFY, BN_CLICKED);
    EXPECT_TRUE(PumpUntil([&] { return App().GetModifyOrderForm() == nullptr; }, 2000)) << pRun->InfoText();
    EXPECT_TRUE(FinishedSteps()) << "the change was reviewed";
    ClearDialogSteps();
    EXPECT_EQ(0u, Count("KM")) << Lines("KM");
    EXPECT_EQ(1u, TimesIn(pRun->InfoText(), "Order " + strOrder + " was cancelled: the form closes")) << pRun->InfoText();
}

// A US order and a KSE order of the same number, both cancelled: each end is told.
TEST_F(OrderLifeSession, OrdersOfTwoMarketsWithOneNumberAreToldApart)
{
    ASSERT_NO_FATAL_FAILURE(StartLoaded());
    Line(UsOrder(4242, 100, 100, 0, 2));
    Line(KseOrder(4242, 100, 100, 0, 2));
    Line(UsEnd(4242, 5));
    Line(KseOrder(4242, 100, 0, 0, 5));
    const std::string strInfo = pRun->InfoText();
    EXPECT_EQ(1u, TimesIn(strInfo, "Order 4242 (Buy ALPN) has been cancelled.")) << strInfo;
    EXPECT_EQ(1u, TimesIn(strInfo, "Order 4242 (Buy GHB) has been cancelled.")) << strInfo;
}

// The order-status reply counts a part fill of 40, whose trade line comes after it: filled 40,
// open 60, however often the trade and the order's line counting it are told. A whole fill so
// told reads 100 of 100.
TEST_F(OrderLifeSession, AFillTheReplyCountedIsCountedOnceWhenItsTradeComesAfter)
{
    ASSERT_NO_FATAL_FAILURE(StartLoaded());
    const std::string strPart = UsOrder(8100, 100, 60, 40, 6), strWhole = UsOrder(8101, 100, 0, 100, 3);
    for (const std::string& strLine : {std::string("~OS|0|XC||0|0|0|0|0|0|0|0|0"), strPart.substr(strPart.find("||") + 2),
                                       strWhole.substr(strWhole.find("||") + 2), std::string("$EN|0|XC|0|2")})
        Line(strLine, 0);
    Line(UsTrade(98100, 8100, 40));
    Line(UsTrade(98101, 8101, 100));
    EXPECT_EQ("40", Shown(IDS_TABLE_US_ORDERS, 8100, OC_FILLED));
    EXPECT_EQ("60", Shown(IDS_TABLE_US_ORDERS, 8100, OC_OPEN));
    EXPECT_EQ("100", Shown(IDS_TABLE_US_ORDERS, 8101, OC_FILLED));
    Line(strPart);
    Line(UsTrade(98100, 8100, 40));
    EXPECT_EQ("40", Shown(IDS_TABLE_US_ORDERS, 8100, OC_FILLED));
    EXPECT_EQ(std::string(COrderStatus::GetText(6)), Shown(IDS_TABLE_US_ORDERS, 8100, OC_STATUS));
    // A trade made after the reply adds to what it counted.
    Line(UsTrade(98102, 8100, 20));
    Line(UsOrder(8100, 100, 40, 60, 6));
    EXPECT_EQ("60", Shown(IDS_TABLE_US_ORDERS, 8100, OC_FILLED));
    EXPECT_EQ("40", Shown(IDS_TABLE_US_ORDERS, 8100, OC_OPEN));
}

// A changed KSE order's older line told after the change's line, which counts as many fills:
// the change's quantity stands, 3,700 with 1,000 open, whichever of the two came first.
TEST_F(OrderLifeSession, AnOlderLineOfAChangedOrderLeavesTheChangesQuantity)
{
    ASSERT_NO_FATAL_FAILURE(StartLoaded());
    Line(KseOrder(601895, 3200, 3200, 0, 2));
    Line(KseOrder(601895, 3700, 1000, 2700, 6));
    Line(KseOrder(601895, 3200, 500, 2700, 6));
    EXPECT_EQ(3700.0, Number(IDS_TABLE_KSE_ORDERS, 601895, KC_QUANTITY));
    EXPECT_EQ(1000.0, Number(IDS_TABLE_KSE_ORDERS, 601895, KC_OPEN));
    EXPECT_EQ(2700.0, Number(IDS_TABLE_KSE_ORDERS, 601895, KC_FILLED));
    // Both lines of 2,700 before any line of fewer, the later told twice: it stands until one tells.
    Line(KseOrder(601896, 3700, 1000, 2700, 6));
    Line(KseOrder(601896, 3200, 500, 2700, 6));
    Line(KseOrder(601896, 3200, 500, 2700, 6));
    Line(KseOrder(601896, 3200, 3200, 0, 2));
    EXPECT_EQ(3700.0, Number(IDS_TABLE_KSE_ORDERS, 601896, KC_QUANTITY));
    EXPECT_EQ(1000.0, Number(IDS_TABLE_KSE_ORDERS, 601896, KC_OPEN));
}

// A trade of 20 told before the line of the change that raised its order of 10 to 20: the row
// reads 20 filled of 20 and nothing open, before the change's line as after it.
TEST_F(OrderLifeSession, ATradePastItsOrdersQuantityShowsTheOrderAtLeastAsLarge)
{
    ASSERT_NO_FATAL_FAILURE(StartLoaded());
    Line(UsOrder(8200, 10, 10, 0, 2));
    for (const std::string& strLine : {UsTrade(98200, 8200, 20), UsOrder(8200, 20, 20, 0, 2), UsOrder(8200, 20, 0, 20, 3)}) {
        Line(strLine);
        EXPECT_EQ(20.0, Number(IDS_TABLE_US_ORDERS, 8200, OC_QUANTITY)) << strLine;
        EXPECT_EQ(20.0, Number(IDS_TABLE_US_ORDERS, 8200, OC_FILLED)) << strLine;
        EXPECT_EQ(0.0, Number(IDS_TABLE_US_ORDERS, 8200, OC_OPEN)) << strLine;
    }
}
