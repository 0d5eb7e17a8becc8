// An order's life drawn at random: an order of each kind the order status tables take a line of
// (a US stock or option, a KSE regular-board order, a forward order), its fills, a change and its
// end, written by the server as a story; its lines delivered in any order, repeated, late and
// before the order's own line. After every line each window that shows the order agrees with
// what the delivered lines tell, and nothing goes out for an ended order.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "account/AccountTable.h"
#include "account/ExecutedTradesKSETable.h"
#include "account/ExecutedTradesTable.h"
#include "account/OrderStatusKSETable.h"
#include "account/OrderStatusTable.h"
#include "app/FormMDIWnd.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/TableLinks.h"
#include "orders/ModifyOrderForm.h"
#include "orders/NewModifyOrderDlg.h"
#include "orders/ReviewDialog.h"
#include "refdata/ZorvatTypes.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/Property.h"
#include "tests/orders/OrderLifeSupport.h"

namespace {
constexpr int OC_QUANTITY = 4, OC_OPEN = 10, OC_FILLED = 11, OC_STATUS = 12;
constexpr int KC_QUANTITY = 9, KC_OPEN = 15, KC_FILLED = 16, KC_STATUS = 19;
constexpr int TC_ORDER = 9, EC_ORDER = 12;

// The types of the order lines the order status tables take: their live types less the trades
// the executed trades tables take and the status change.
std::vector<int> OrderLineTypes()
{
    std::set<int> others = {MSG_NC};
    for (const ACCOUNT_DESC* pDesc : {&g_executedTradesTable, &g_executedTradesKSETable})
        others.insert(pDesc->table.liveTypes.begin(), pDesc->table.liveTypes.end());
    std::vector<int> types;
    for (const ACCOUNT_DESC* pDesc : {&g_orderStatusTable, &g_orderStatusKSETable})
        for (int nType : pDesc->table.liveTypes)
            if (others.count(nType) == 0)
                types.push_back(nType);
    return types;
}

struct LIFE_LINE
{
    std::string strText;
    bool bOrderLine = false;
    long nCount = 0;            // an order line's filled count
    long nStatus = 0;           // an order line's or a status change's status
    long nTrade = 0;            // a trade's number and quantity
    long nTraded = 0;
};

struct ORDER_STORY
{
    int nType = 0;              // the type of its order lines
    bool bOption = false;
    long nOrder = 0;
    std::vector<LIFE_LINE> lines;   // as the server writes them
};

bool IsEnded(long nStatus)
{
    return nStatus == 3 || nStatus == 4 || nStatus == 5 || nStatus == 7 || nStatus == 8;
}

// The lines of one order's life, drawn.
ORDER_STORY DrawStory(const std::vector<int>& types, long nOrder, long* pnTrade)
{
    ORDER_STORY story;
    story.nType = *rc::gen::elementOf(types);
    story.bOption = story.nType == MSG_NO && *rc::gen::arbitrary<bool>();
    story.nOrder = nOrder;
    const auto orderLine = [&](long nQuantity, long nFilled, long nStatus) {
        LIFE_LINE line;
        line.bOrderLine = true;
        line.nCount = nFilled;
        line.nStatus = nStatus;
        const long nOpen = IsEnded(nStatus) ? 0 : nQuantity - nFilled;   // a forward line carries none
        line.strText = story.nType == MSG_NO   ? UsOrderLine(nOrder, nQuantity, nOpen, nFilled, nStatus, story.bOption)
                       : story.nType == MSG_NS ? KseOrderLine(nOrder, nQuantity, nOpen, nFilled, nStatus)
                                               : ForwardOrderLine(nOrder, nQuantity, nFilled, nStatus);
        story.lines.push_back(line);
    };
    // A forward order rests as status 1.
    const long nResting = story.nType == MSG_NF ? 1 : 2;
    long nQuantity = *rc::gen::inRange(1, 21) * 10;
    long nFilled = 0;
    orderLine(nQuantity, 0, nResting);
    const int nFills = *rc::gen::inRange(0, 4);
    const int nChangeAt = *rc::gen::inRange(-1, nFills + 1);
    for (int i = 0; i <= nFills && nFilled < nQuantity; ++i) {
        if (i == nChangeAt)
            orderLine(nQuantity += *rc::gen::inRange(1, 6) * 10, nFilled, nFilled > 0 ? 6 : nResting);
        if (i == nFills)
            break;
        const long nLeft = nQuantity - nFilled;
        const long nTraded = *rc::gen::arbitrary<bool>() ? nLeft : *rc::gen::inRange(1L, nLeft + 1);
        LIFE_LINE trade;
        trade.nTrade = ++*pnTrade;
        trade.nTraded = nTraded;
        trade.strText = story.nType == MSG_NO   ? UsTradeLine(trade.nTrade, nOrder, nTraded, story.bOption)
                        : story.nType == MSG_NS ? KseTradeLine(trade.nTrade, nOrder, nTraded)
                                                : ForwardTradeLine(trade.nTrade, nOrder, nTraded);
        story.lines.push_back(trade);
        nFilled += nTraded;
        orderLine(nQuantity, nFilled, nFilled >= nQuantity ? 3 : 6);
    }
    if (nFilled < nQuantity) {
        const long nEnd = *rc::gen::elementOf(std::vector<long>{0, 5, 7});
        if (nEnd != 0) {
            if (story.nType == MSG_NO) {
                LIFE_LINE change;
                change.nStatus = nEnd;
                change.strText = UsStatusLine(nOrder, nEnd);
                story.lines.push_back(change);
            }
            orderLine(nQuantity, nFilled, nEnd);
        }
    }
    return story;
}

// The story's lines as they come: any order, some twice.
std::vector<size_t> DrawDelivery(const ORDER_STORY& story)
{
    std::vector<std::pair<int, size_t>> keyed;
    for (size_t i = 0; i < story.lines.size(); ++i) {
        keyed.push_back({*rc::gen::inRange(0, 1000), i});
        if (*rc::gen::inRange(0, 4) == 0)
            keyed.push_back({*rc::gen::inRange(0, 1000), i});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<size_t> order;
    for (const auto& [nKey, nIndex] : keyed)
        order.push_back(nIndex);
    return order;
}

struct OrderLifeProperty : OrderLifeSession
{
    // The rows of the trades table that name the order.
    int TradeRows(bool bUs, long nOrder) const
    {
        CDataTable* pTrades = FindDataTable(bUs ? IDS_TABLE_US_TRADES : IDS_TABLE_KSE_TRADES);
        int nCount = 0;
        for (int i = 0; pTrades != nullptr && i < pTrades->GetRows()->GetCount(); ++i)
            if (pTrades->GetRows()->GetAt(i)->GetLong(bUs ? TC_ORDER : EC_ORDER) == nOrder)
                ++nCount;
        return nCount;
    }

    // What the delivered lines tell, against every window that shows the order; "" when they agree.
    std::string Disagreement(const ORDER_STORY& story, const std::vector<size_t>& delivered)
    {
        const bool bUs = story.nType == MSG_NO;
        bool bRow = false;
        long nCount = 0, nEnd = 0;
        std::map<long, long> trades;
        for (size_t nIndex : delivered) {
            const LIFE_LINE& line = story.lines[nIndex];
            if (line.bOrderLine) {
                bRow = true;
                nCount = std::max(nCount, line.nCount);
            }
            if (line.nTrade != 0)
                trades[line.nTrade] = line.nTraded;
            if (nEnd == 0 && (line.bOrderLine || line.nStatus != 0) && IsEnded(line.nStatus))
                nEnd = line.nStatus;
        }
        long nTraded = 0;
        for (const auto& [nTrade, nQuantity] : trades)
            nTraded += nQuantity;
        // The KSE order status counts its own lines' fills; a US order its trades too.
        const long nFilled = bUs ? std::max(nCount, nTraded) : nCount;
        std::ostringstream ss;
        const UINT nTable = bUs ? IDS_TABLE_US_ORDERS : IDS_TABLE_KSE_ORDERS;
        const CDataBuffer* pRow = Row(nTable, std::to_string(story.nOrder));
        const size_t nTold = ToldFills(story.nOrder);
        const size_t nExpectTold = bUs && !bRow ? 0 : trades.size();
        if (nTold != nExpectTold)
            ss << "fills told " << nTold << ", expected " << nExpectTold << "; ";
        if (TradeRows(bUs, story.nOrder) != static_cast<int>(trades.size()))
            ss << "trade rows " << TradeRows(bUs, story.nOrder) << ", expected " << trades.size() << "; ";
        if ((pRow != nullptr) != bRow) {
            ss << "row " << (pRow != nullptr) << ", expected " << bRow;
            return ss.str();
        }
        if (pRow == nullptr)
            return ss.str();
        const long nQuantity = pRow->GetLong(bUs ? OC_QUANTITY : KC_QUANTITY);
        const long nShownFilled = pRow->GetLong(bUs ? OC_FILLED : KC_FILLED);
        const long nShownOpen = pRow->GetLong(bUs ? OC_OPEN : KC_OPEN);
        const long nStatus = pRow->GetLong(bUs ? OC_STATUS : KC_STATUS);
        const bool bForward = story.nType == MSG_NF;
        const long nExpectStatus = nEnd != 0 ? nEnd : nFilled >= nQuantity ? 3 : nFilled > 0 ? 6 : bForward ? 1 : 2;
        // A forward order shows what is left only while it rests unfilled.
        const long nExpectOpen = IsEnded(nExpectStatus) || (bForward && nExpectStatus != 1) ? 0 : nQuantity - nFilled;
        if (nShownFilled != nFilled)
            ss << "filled " << nShownFilled << ", expected " << nFilled << "; ";
        if (nShownOpen != nExpectOpen)
            ss << "open " << nShownOpen << ", expected " << nExpectOpen << "; ";
        if (nStatus != nExpectStatus)
            ss << "status " << nStatus << ", expected " << nExpectStatus << "; ";
        // An open modify form reads the row; an ended order's form is gone.
        const HWND hForm = FormOf(story.nOrder);
        if (IsEnded(nExpectStatus) && hForm != nullptr)
            ss << "the form of an ended order is open; ";
        // The form groups its counts as the quantity beside them.
        const auto Plain = [hForm](int nId) {
            std::string strText = ControlText(hForm, nId);
            strText.erase(std::remove(strText.begin(), strText.end(), ','), strText.end());
            return strText;
        };
        if (hForm != nullptr && (Plain(IDC_MODIFY_OPEN) != std::to_string(nShownOpen) ||
                                 Plain(IDC_MODIFY_FILLED) != std::to_string(nShownFilled)))
            ss << "the form reads open " << ControlText(hForm, IDC_MODIFY_OPEN) << ", filled "
               << ControlText(hForm, IDC_MODIFY_FILLED) << "; ";
        return ss.str();
    }

    // The form opened for the order when it shows open and no form is open.
    void FollowWithForm(const ORDER_STORY& story)
    {
        if (story.nType == MSG_NF || App().GetModifyOrderForm() != nullptr)
            return;
        const bool bUs = story.nType == MSG_NO;
        const CDataBuffer* pRow = Row(bUs ? IDS_TABLE_US_ORDERS : IDS_TABLE_KSE_ORDERS, std::to_string(story.nOrder));
        const long nStatus = pRow != nullptr ? pRow->GetLong(bUs ? OC_STATUS : KC_STATUS) : 0;
        if (nStatus != 2 && nStatus != 6)
            return;
        if (bUs)
            App().OpenModifyOrderUS(story.nOrder);
        else
            App().OpenModifyOrderKSE(story.nOrder);
        PumpPending();
    }

    // The order's lines delivered so; "" when every window agreed after each, and a form opened
    // for the ended order sent nothing.
    std::string Live(const ORDER_STORY& story, const std::vector<size_t>& delivery, bool bWithForm)
    {
        std::vector<size_t> delivered;
        for (size_t nIndex : delivery) {
            Line(story.lines[nIndex].strText, 0);
            delivered.push_back(nIndex);
            const std::string strWrong = Disagreement(story, delivered);
            if (!strWrong.empty())
                return "after " + story.lines[nIndex].strText + ": " + strWrong;
            if (bWithForm)
                FollowWithForm(story);
        }
        std::string strWrong;
        const bool bUs = story.nType == MSG_NO;
        const CDataBuffer* pRow = Row(bUs ? IDS_TABLE_US_ORDERS : IDS_TABLE_KSE_ORDERS, std::to_string(story.nOrder));
        if (bWithForm && bUs && pRow != nullptr && IsEnded(pRow->GetLong(OC_STATUS))) {
            // The trader opens the ended order's form anyway and asks a change: it ends at once.
            App().OpenModifyOrderUS(story.nOrder);
            PumpPending();
            if (const HWND hForm = FormOf(story.nOrder)) {
                const size_t nAsked = Count("OW");
                EnterText(hForm, IDC_MODIFY_QUANTITY, "500");
                NotifyControl(hForm, IDC_MODIFY_MODIFY, BN_CLICKED);
                PumpPending();
                if (FormOf(story.nOrder) != nullptr) {
                    // Its preview answered and its review left, so that the run goes on.
                    RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) { ClickControl(h, IDCANCEL); }}});
                    PumpUntil([&] { return Count("OW") > nAsked; }, 2000);
                    PumpFor(300);
                    ClearDialogSteps();
                    strWrong = "a change went out for the ended order";
                }
            }
        }
        if (CFormMDIWnd* pFrame = App().GetModifyOrderForm()) {
            ClickControl(pFrame->GetView()->m_hWnd, IDC_MODIFY_CLOSE);
            PumpPending();
        }
        return strWrong;
    }

    long nNextOrder = 70000;
    long nNextTrade = 700000;
};

std::string Described(const ORDER_STORY& story, const std::vector<size_t>& delivery)
{
    std::string strText = "delivered:\n";
    for (size_t nIndex : delivery)
        strText += "  " + story.lines[nIndex].strText + "\n";
    return strText;
}
}  // namespace

// Every kind of order, its lines in any order: the tables and the form agree after each line.
TEST_F(OrderLifeProperty, EveryOrderOfLinesGivesOneRecord)
{
    ASSERT_NO_FATAL_FAILURE(StartLoaded());
    const std::vector<int> types = OrderLineTypes();
    ASSERT_EQ(3u, std::set<int>(types.begin(), types.end()).size()) << "US, KSE regular and forward order lines";
    TB_CHECK_PROPERTY(250, [&] {
        const ORDER_STORY story = DrawStory(types, ++nNextOrder, &nNextTrade);
        const std::vector<size_t> delivery = DrawDelivery(story);
        const std::string strWrong = Live(story, delivery, /*bWithForm=*/*rc::gen::inRange(0, 3) == 0);
        if (!strWrong.empty())
            RC_FAIL(strWrong + "\n" + Described(story, delivery));
    });
}

namespace {
// The server's own lines of one order (its order lines and its trades), as it sent them.
struct SERVER_ORDER
{
    bool bUs = false;
    std::string strOrder;
    std::vector<std::string> lines;
    std::map<std::string, long> trades;     // by trade number: quantity
};

SERVER_ORDER ServerLinesOf(const CTestServer& server, bool bUs, const std::string& strOrder)
{
    SERVER_ORDER order;
    order.bUs = bUs;
    order.strOrder = strOrder;
    const std::string strOrderHead = bUs ? "> ~NO|" : "> ~NS|", strTradeHead = bUs ? "> ~NT|" : "> ~NX|";
    for (const std::string& strLog : server.Log()) {
        const bool bOrder = strLog.rfind(strOrderHead, 0) == 0, bTrade = strLog.rfind(strTradeHead, 0) == 0;
        if (!bOrder && !bTrade)
            continue;
        const std::vector<std::string> fields = BodyOf(strLog.substr(2));
        if (bOrder && fields.at(0) == strOrder)
            order.lines.push_back(strLog.substr(2));
        if (bTrade && fields.at(bUs ? 9 : 13) == strOrder) {
            order.lines.push_back(strLog.substr(2));
            order.trades[fields.at(bUs ? 0 : 1)] = atol(fields.at(bUs ? 4 : 5).c_str());
        }
    }
    return order;
}
}  // namespace

// Orders the simulator fills, their trades sent before their lines; its lines told again in any
// order: each order reads filled once, each fill told once.
TEST_F(OrderLifeProperty, ServerOrdersToldAgainInAnyOrder)
{
    ASSERT_NO_FATAL_FAILURE(Start(false, {"--rate", "0", "--scenario", "fill-first"}));
    // The placing roads of both markets, as the order ticket sends them.
    const std::vector<std::pair<int, const char*>> places = {{MSG_OR, "1002|10020|1|ALPN|%ld|3|0||0|||secret"},
                                                             {MSG_KR, "||1002|10020|1|1|101|%ld|3|0||0|||secret"}};
    TB_CHECK_PROPERTY(8, [&] {
        const size_t nPlace = *rc::gen::inRange<size_t>(0, places.size());
        const bool bUs = places[nPlace].first == MSG_OR;
        CString strBody;
        strBody.Format(places[nPlace].second, static_cast<long>(*rc::gen::inRange(1, 20) * 10));
        const std::string strOrder = Place(places[nPlace].first, strBody, bUs ? 11 : 17, bUs ? IDS_TABLE_US_ORDERS : IDS_TABLE_KSE_ORDERS);
        RC_ASSERT(!strOrder.empty());
        const SERVER_ORDER order = ServerLinesOf(server, bUs, strOrder);
        RC_ASSERT(!order.trades.empty());
        long nTraded = 0;
        for (const auto& [strTrade, nQuantity] : order.trades)
            nTraded += nQuantity;
        const size_t nTold = ToldFills(atol(strOrder.c_str()));
        std::vector<std::string> again = order.lines;
        for (size_t i = again.size(); i > 1; --i)
            std::swap(again[i - 1], again[*rc::gen::inRange<size_t>(0, i)]);
        again.resize(*rc::gen::inRange<size_t>(1, again.size() + 1));
        for (const std::string& strLine : again) {
            Line(strLine, 0);
            const UINT nTable = bUs ? IDS_TABLE_US_ORDERS : IDS_TABLE_KSE_ORDERS;
            const long nFilled = static_cast<long>(Number(nTable, atol(strOrder.c_str()), bUs ? OC_FILLED : KC_FILLED));
            const long nStatus = static_cast<long>(Number(nTable, atol(strOrder.c_str()), bUs ? OC_STATUS : KC_STATUS));
            if (nFilled != nTraded || nStatus != 3 || ToldFills(atol(strOrder.c_str())) != order.trades.size() ||
                TradeRows(bUs, atol(strOrder.c_str())) != static_cast<int>(order.trades.size()))
                RC_FAIL("after " + strLine + ": filled " + std::to_string(nFilled) + " of " + std::to_string(nTraded) +
                        ", status " + std::to_string(nStatus) + ", told " + std::to_string(nTold) + " then " +
                        std::to_string(ToldFills(atol(strOrder.c_str()))));
        }
    });
}
