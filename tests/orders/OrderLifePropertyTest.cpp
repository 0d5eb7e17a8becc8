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
    long nQuantity = 0;         // an order line's quantity and filled count
    long nCount = 0;
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
    size_t nReplyRow = 0;       // the order line the order-status reply shows it as, if one comes

    bool IsUs() const { return nType == MSG_NO; }
};

bool IsEnded(long nStatus)
{
    return nStatus == 3 || nStatus == 4 || nStatus == 5 || nStatus == 7 || nStatus == 8;
}

// The lines of one order's life, drawn: placed, changed once, filled in parts, then cancelled,
// expired or refused, or filled and then cancelled all the same; an end may count fewer fills
// than were made, its last trade crossing it.
ORDER_STORY DrawStory(int nType, long nOrder, long* pnTrade)
{
    ORDER_STORY story;
    story.nType = nType;
    story.bOption = story.nType == MSG_NO && *rc::gen::arbitrary<bool>();
    story.nOrder = nOrder;
    const auto orderLine = [&](long nQuantity, long nFilled, long nStatus) {
        LIFE_LINE line;
        line.bOrderLine = true;
        line.nQuantity = nQuantity;
        line.nCount = nFilled;
        line.nStatus = nStatus;
        const long nOpen = IsEnded(nStatus) ? 0 : nQuantity - nFilled;   // a forward line carries none
        line.strText = story.nType == MSG_NO   ? UsOrderLine(nOrder, nQuantity, nOpen, nFilled, nStatus, story.bOption)
                       : story.nType == MSG_NS ? KseOrderLine(nOrder, nQuantity, nOpen, nFilled, nStatus)
                                               : ForwardOrderLine(nOrder, nQuantity, nFilled, nStatus);
        story.lines.push_back(line);
    };
    const auto statusChange = [&](long nStatus) {
        if (story.nType != MSG_NO)
            return;
        LIFE_LINE change;
        change.nStatus = nStatus;
        change.strText = UsStatusLine(nOrder, nStatus);
        story.lines.push_back(change);
    };
    // A forward order rests as status 1.
    const long nResting = story.nType == MSG_NF ? 1 : 2;
    long nQuantity = *rc::gen::inRange(1, 21) * 10;
    long nFilled = 0;
    orderLine(nQuantity, 0, nResting);
    const long nEnd = *rc::gen::elementOf(std::vector<long>{0, 0, 3, 4, 5, 7, 8});
    if (nEnd == 4 || nEnd == 8) {
        // Refused before anything else happened.
        statusChange(nEnd);
        orderLine(nQuantity, 0, nEnd);
        return story;
    }
    const int nFills = *rc::gen::inRange(0, 4);
    const int nChangeAt = *rc::gen::inRange(-1, nFills + 1);
    std::vector<long> counts = {0};
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
        counts.push_back(nFilled);
        orderLine(nQuantity, nFilled, nFilled >= nQuantity ? 3 : 6);
    }
    // Filled, it may still be told cancelled; an end crossing the last trade counts fewer fills.
    if (nEnd == 5 || nEnd == 7 || (nEnd == 3 && nFilled >= nQuantity)) {
        const long nStatus = nEnd == 3 ? 5 : nEnd;
        statusChange(nStatus);
        orderLine(nQuantity, *rc::gen::arbitrary<bool>() ? nFilled : *rc::gen::elementOf(counts), nStatus);
    }
    return story;
}

// One thing delivered: a story's line, or the order-status reply of one market (every story of
// that market as one of its order lines).
struct DELIVERY
{
    int nStory = -1;            // -1 for a reply
    size_t nLine = 0;
    bool bUsReply = false;
};

struct ORDER_DAY
{
    std::vector<ORDER_STORY> stories;
    std::vector<DELIVERY> delivery;
};

// The reply as the server sends it: its header, each story's row, its end; the KSE orders in
// two replies, the forward orders in the second.
std::vector<std::string> ReplyLines(const ORDER_DAY& day, bool bUs)
{
    std::vector<std::string> lines;
    for (const auto& [pszHead, nType] : bUs ? std::vector<std::pair<const char*, int>>{{"~OS|0|XC||0|0|0|0|0|0|0|0|0", MSG_NO}}
                                            : std::vector<std::pair<const char*, int>>{{"~KS|0|XC||0", MSG_NS}, {"~KB|0|XC||0", MSG_NF}}) {
        lines.push_back(pszHead);
        const size_t nFirst = lines.size();
        for (const ORDER_STORY& story : day.stories)
            if (story.nType == nType) {
                const std::string& strLine = story.lines[story.nReplyRow].strText;
                lines.push_back(strLine.substr(strLine.find("|XC||") + 5));
            }
        lines.push_back("$EN|0|XC|0|" + std::to_string(lines.size() - nFirst));
    }
    return lines;
}

// Several orders of both markets at once, a US and a KSE order under one number, their lines
// mixed in any order, some twice, with the order-status reply of each market, written at any
// point of each order's life, delivered anywhere or not at all.
ORDER_DAY DrawDay(const std::vector<int>& types, long* pnOrder, long* pnTrade)
{
    ORDER_DAY day;
    const int nStories = *rc::gen::inRange(1, 5);
    const long nFirst = *pnOrder + 1;
    long nUs = nFirst, nKse = nFirst;
    for (int i = 0; i < nStories; ++i) {
        const int nType = *rc::gen::elementOf(types);
        long& nNumber = nType == MSG_NO ? nUs : nKse;
        day.stories.push_back(DrawStory(nType, nNumber++, pnTrade));
        *pnOrder = std::max(*pnOrder, nNumber);
    }
    std::vector<std::pair<int, DELIVERY>> keyed;
    for (size_t s = 0; s < day.stories.size(); ++s) {
        ORDER_STORY& story = day.stories[s];
        std::vector<size_t> rows;
        for (size_t i = 0; i < story.lines.size(); ++i) {
            if (story.lines[i].bOrderLine)
                rows.push_back(i);
            keyed.push_back({*rc::gen::inRange(0, 1000), {static_cast<int>(s), i}});
            if (*rc::gen::inRange(0, 4) == 0)
                keyed.push_back({*rc::gen::inRange(0, 1000), {static_cast<int>(s), i}});
        }
        story.nReplyRow = *rc::gen::elementOf(rows);
    }
    for (bool bUs : {true, false})
        if (*rc::gen::arbitrary<bool>())
            keyed.push_back({*rc::gen::inRange(0, 1000), {-1, 0, bUs}});
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [nKey, item] : keyed)
        day.delivery.push_back(item);
    return day;
}

// What the lines delivered so far tell of one order, drawn from the story alone; nOtherQuantity
// may stand as well where the lines cannot tell which quantity is newer.
struct ORDER_TOLD
{
    bool bRow = false;
    long nFilled = 0, nEnd = 0, nQuantity = 0, nOtherQuantity = -1;
    size_t nTrades = 0, nFillsTold = 0, nEndsTold = 0;
};

ORDER_TOLD Told(const ORDER_DAY& day, size_t nStory, size_t nDelivered)
{
    const ORDER_STORY& story = day.stories[nStory];
    ORDER_TOLD told;
    std::map<long, long> trades;
    long nCount = 0, nEndLineQuantity = -1;
    size_t nNewest = 0;
    bool bEndChange = false, bEndLine = false;
    std::vector<size_t> lines;      // the story's order lines delivered, by index
    const auto orderLine = [&](size_t nIndex, bool bLive) {
        const LIFE_LINE& line = story.lines[nIndex];
        told.bRow = true;
        lines.push_back(nIndex);
        nCount = std::max(nCount, line.nCount);
        if (told.nEnd == 0 && IsEnded(line.nStatus)) {
            told.nEnd = line.nStatus;
            nEndLineQuantity = line.nQuantity;
        }
        if (nEndLineQuantity < 0)
            nNewest = std::max(nNewest, nIndex);
        bEndLine = bEndLine || (bLive && line.nStatus == told.nEnd);
    };
    for (size_t n = 0; n < nDelivered; ++n) {
        const DELIVERY& item = day.delivery[n];
        if (item.nStory < 0) {
            if (item.bUsReply == story.IsUs())
                orderLine(story.nReplyRow, false);
            continue;
        }
        if (static_cast<size_t>(item.nStory) != nStory)
            continue;
        const LIFE_LINE& line = story.lines[item.nLine];
        if (line.bOrderLine)
            orderLine(item.nLine, true);
        if (line.nTrade != 0)
            trades[line.nTrade] = line.nTraded;
        if (!line.bOrderLine && line.nTrade == 0) {
            if (told.nEnd == 0 && IsEnded(line.nStatus))
                told.nEnd = line.nStatus;
            bEndChange = bEndChange || line.nStatus == told.nEnd;
        }
    }
    long nTraded = 0;
    for (const auto& [nTrade, nQuantity] : trades)
        nTraded += nQuantity;
    told.nTrades = trades.size();
    // The KSE order status counts its own lines' fills; a US order its trades too.
    told.nFilled = story.IsUs() ? std::max(nCount, nTraded) : nCount;
    told.nFillsTold = story.IsUs() && !told.bRow ? 0 : trades.size();
    // A cancel is told once, by the US status change or the KSE line that ended the order.
    const bool bCancel = told.nEnd == 5 || told.nEnd == 7;
    told.nEndsTold = bCancel && told.bRow && (story.IsUs() ? bEndChange : bEndLine) ? 1 : 0;
    if (!told.bRow)
        return told;
    // Trades past a line's quantity are of a change whose line has not come: they prove the order at least as large.
    if (nEndLineQuantity >= 0) {
        told.nQuantity = std::max(nEndLineQuantity, told.nFilled);
        return told;
    }
    // The newest open line's quantity, unless a line of as many fills showed another that no
    // line of fewer fills showed: then the lines cannot tell which came first.
    const LIFE_LINE& newest = story.lines[nNewest];
    told.nQuantity = newest.nQuantity;
    for (size_t nIndex : lines) {
        const LIFE_LINE& line = story.lines[nIndex];
        if (IsEnded(line.nStatus) || line.nCount != newest.nCount || line.nQuantity == newest.nQuantity)
            continue;
        const bool bEarlier = std::any_of(lines.begin(), lines.end(), [&](size_t i) {
            return story.lines[i].nQuantity == line.nQuantity && story.lines[i].nCount < line.nCount;
        });
        if (!bEarlier)
            told.nOtherQuantity = std::max(line.nQuantity, told.nFilled);
    }
    told.nQuantity = std::max(told.nQuantity, told.nFilled);
    return told;
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

    // The notices of the order number told since the day began (another account may have used
    // the number): fills, ends.
    size_t Notices(long nOrder, const std::string& strAfter)
    {
        const std::string strNotice = "Order " + std::to_string(nOrder) + strAfter;
        const size_t nNow = TimesIn(pRun->InfoText(), strNotice);
        return nNow - toldBefore.emplace(strNotice, nNow).first->second;
    }

    // What the delivered lines tell, against every window that shows the story's order; "" when they agree.
    std::string Disagreement(const ORDER_DAY& day, size_t nStory, size_t nDelivered)
    {
        const ORDER_STORY& story = day.stories[nStory];
        const ORDER_TOLD told = Told(day, nStory, nDelivered);
        const bool bUs = story.IsUs();
        std::ostringstream ss;
        ss << (bUs ? "US " : "KSE ") << story.nOrder << ": ";
        const size_t nLength = ss.str().size();
        // A number both markets use tells both orders' notices.
        size_t nFillsTold = 0, nEndsTold = 0;
        for (size_t s = 0; s < day.stories.size(); ++s)
            if (day.stories[s].nOrder == story.nOrder) {
                const ORDER_TOLD other = Told(day, s, nDelivered);
                nFillsTold += other.nFillsTold;
                nEndsTold += other.nEndsTold;
            }
        if (Notices(story.nOrder, ": ") != nFillsTold)
            ss << "fills told " << Notices(story.nOrder, ": ") << ", expected " << nFillsTold << "; ";
        // A modify form open on the order tells its end in its own words instead.
        if (nFormStory < 0 && Notices(story.nOrder, " (") != nEndsTold)
            ss << "ends told " << Notices(story.nOrder, " (") << ", expected " << nEndsTold << "; ";
        if (TradeRows(bUs, story.nOrder) != static_cast<int>(told.nTrades))
            ss << "trade rows " << TradeRows(bUs, story.nOrder) << ", expected " << told.nTrades << "; ";
        const UINT nTable = bUs ? IDS_TABLE_US_ORDERS : IDS_TABLE_KSE_ORDERS;
        const CDataBuffer* pRow = Row(nTable, std::to_string(story.nOrder));
        if ((pRow != nullptr) != told.bRow)
            ss << "row " << (pRow != nullptr) << ", expected " << told.bRow << "; ";
        if (pRow != nullptr && told.bRow) {
            const long nQuantity = pRow->GetLong(bUs ? OC_QUANTITY : KC_QUANTITY);
            const long nShownFilled = pRow->GetLong(bUs ? OC_FILLED : KC_FILLED);
            const long nShownOpen = pRow->GetLong(bUs ? OC_OPEN : KC_OPEN);
            const long nStatus = pRow->GetLong(bUs ? OC_STATUS : KC_STATUS);
            const bool bForward = story.nType == MSG_NF;
            if (nQuantity != told.nQuantity && nQuantity != told.nOtherQuantity)
                ss << "quantity " << nQuantity << ", expected " << told.nQuantity << "; ";
            const long nExpectStatus = told.nEnd != 0 ? told.nEnd : told.nFilled >= nQuantity ? 3
                                       : told.nFilled > 0                                    ? 6
                                       : bForward                                            ? 1
                                                                                             : 2;
            // A forward order shows what is left only while it rests unfilled.
            const long nExpectOpen =
                IsEnded(nExpectStatus) || (bForward && nExpectStatus != 1) ? 0 : nQuantity - told.nFilled;
            if (nShownFilled != told.nFilled)
                ss << "filled " << nShownFilled << ", expected " << told.nFilled << "; ";
            if (nShownFilled > nQuantity)
                ss << "filled more than the quantity; ";
            if (nShownOpen != nExpectOpen)
                ss << "open " << nShownOpen << ", expected " << nExpectOpen << "; ";
            if (nStatus != nExpectStatus)
                ss << "status " << nStatus << ", expected " << nExpectStatus << "; ";
            // An open modify form reads the row; an ended order's form is gone.
            const HWND hForm = nFormStory == static_cast<int>(nStory) ? FormOf(story.nOrder) : nullptr;
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
        }
        return ss.str().size() == nLength ? std::string() : ss.str();
    }

    // The form opened for the story's order when it shows open and no form is open.
    void FollowWithForm(const ORDER_DAY& day, size_t nStory)
    {
        const ORDER_STORY& story = day.stories[nStory];
        if (story.nType == MSG_NF || App().GetModifyOrderForm() != nullptr)
            return;
        const bool bUs = story.IsUs();
        const CDataBuffer* pRow = Row(bUs ? IDS_TABLE_US_ORDERS : IDS_TABLE_KSE_ORDERS, std::to_string(story.nOrder));
        const long nStatus = pRow != nullptr ? pRow->GetLong(bUs ? OC_STATUS : KC_STATUS) : 0;
        if (nStatus != 2 && nStatus != 6)
            return;
        if (bUs)
            App().OpenModifyOrderUS(story.nOrder);
        else
            App().OpenModifyOrderKSE(story.nOrder);
        PumpPending();
        nFormStory = static_cast<int>(nStory);
    }

    // The day delivered; "" when every window agreed after each line, and a form opened for an
    // ended order sent nothing.
    std::string Live(const ORDER_DAY& day, bool bWithForm)
    {
        nFormStory = -1;
        toldBefore.clear();
        for (const ORDER_STORY& story : day.stories)
            for (const char* pszAfter : {": ", " ("})
                Notices(story.nOrder, pszAfter);
        for (size_t n = 0; n < day.delivery.size(); ++n) {
            const DELIVERY& item = day.delivery[n];
            if (item.nStory < 0) {
                for (const std::string& strLine : ReplyLines(day, item.bUsReply))
                    Line(strLine, 0);
            } else {
                Line(day.stories[item.nStory].lines[item.nLine].strText, 0);
            }
            for (size_t s = 0; s < day.stories.size(); ++s) {
                const std::string strWrong = Disagreement(day, s, n + 1);
                if (!strWrong.empty())
                    return "after delivery " + std::to_string(n + 1) + ": " + strWrong;
            }
            if (bWithForm)
                FollowWithForm(day, 0);
        }
        std::string strWrong;
        const ORDER_STORY& story = day.stories[0];
        const CDataBuffer* pRow = Row(story.IsUs() ? IDS_TABLE_US_ORDERS : IDS_TABLE_KSE_ORDERS, std::to_string(story.nOrder));
        if (bWithForm && story.IsUs() && pRow != nullptr && IsEnded(pRow->GetLong(OC_STATUS))) {
            // The trader opens the ended order's form anyway and asks a change: it ends at once.
            if (CFormMDIWnd* pFrame = App().GetModifyOrderForm()) {
                ClickControl(pFrame->GetView()->m_hWnd, IDC_MODIFY_CLOSE);
                PumpPending();
            }
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

    int nFormStory = -1;        // the story whose order the open modify form was opened for
    std::map<std::string, size_t> toldBefore;   // each notice's count before the day
    long nNextOrder = 70000;
    long nNextTrade = 700000;
};

std::string Described(const ORDER_DAY& day)
{
    std::string strText = "delivered:\n";
    for (const DELIVERY& item : day.delivery) {
        if (item.nStory < 0) {
            for (const std::string& strLine : ReplyLines(day, item.bUsReply))
                strText += "  " + strLine + "\n";
        } else {
            strText += "  " + day.stories[item.nStory].lines[item.nLine].strText + "\n";
        }
    }
    return strText;
}
}  // namespace

// Orders of every kind at once, in two accounts that use the same numbers, their lines and the
// order-status replies in any order: the tables and the form agree after each.
TEST_F(OrderLifeProperty, EveryOrderOfLinesGivesOneRecord)
{
    ASSERT_NO_FATAL_FAILURE(StartLoaded());
    const std::vector<int> types = OrderLineTypes();
    ASSERT_EQ(3u, std::set<int>(types.begin(), types.end()).size()) << "US, KSE regular and forward order lines";
    for (const char* pszUser : {"trader", "margin"}) {
        SCOPED_TRACE(pszUser);
        if (std::string(pszUser) != "trader") {
            ASSERT_NO_FATAL_FAILURE(LogInAgain(pszUser, pszUser));
            ASSERT_EQ("10040", std::string(App().GetUser().GetAccountText()));
        }
        nNextOrder = 70000;
        nNextTrade = 700000;
        TB_CHECK_PROPERTY(100, [&] {
            const ORDER_DAY day = DrawDay(types, &nNextOrder, &nNextTrade);
            const std::string strWrong = Live(day, /*bWithForm=*/*rc::gen::inRange(0, 3) == 0);
            if (!strWrong.empty())
                RC_FAIL(strWrong + "\n" + Described(day));
        });
    }
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
