// The order status and executed trades tables against the simulator as the trader: loaded at
// login, then a day of orders sent as the order forms send them (filled, partly filled, resting,
// cancelled) changes their rows, statuses, trades, notices and the alert sounds; reloaded, the
// tables hold what the live lines made of them.
#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <tuple>
#include <gtest/gtest.h>
#include "account/ExecutedTradesKSETable.h"
#include "account/ExecutedTradesTable.h"
#include "account/OrderStatusKSETable.h"
#include "account/OrderStatusTable.h"
#include "app/FormFactory.h"
#include "app/FormMDIWnd.h"
#include "app/NorvApp.h"
#include "app/TableMDIWnd.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"
#include "framework/table/Table.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/Sound.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"
#include "tests/account/AccountTestSupport.h"

namespace {
// US order status and executed trades columns the tests read.
enum { OC_ORDER = 1, OC_SIDE = 2, OC_SYMBOL = 3, OC_QUANTITY = 4, OC_OPEN = 10, OC_FILLED = 11, OC_STATUS = 12, OC_ROUTING_RESULT = 14, OC_SESSION = 16,
       OC_MARKET = 21 };
enum { TC_TRADE = 1, TC_QUANTITY = 4, TC_PRICE = 5, TC_ORDER = 9 };
enum { KC_ORDER = 1, KC_NAME = 6, KC_QUANTITY = 9, KC_LIMIT = 11, KC_OPEN = 15, KC_FILLED = 16, KC_PART_OPEN = 17, KC_STATUS = 19 };
const std::vector<int> s_orderColumns = {0, OC_ORDER, OC_SIDE, OC_SYMBOL, OC_QUANTITY, 5, 6, OC_OPEN, OC_FILLED, OC_STATUS, OC_MARKET};
const std::vector<int> s_tradeColumns = {0, TC_TRADE, 2, 3, TC_QUANTITY, TC_PRICE, TC_ORDER, 15};
const std::vector<int> s_kseOrderColumns = {0, KC_ORDER, 4, 5, KC_NAME, KC_QUANTITY, KC_OPEN, KC_FILLED, KC_STATUS};

std::string Field(const std::string& strLine, int nField)
{
    return CServerMessage(strLine.c_str(), 1).GetFieldText(nField);
}

std::string Text(UINT nId)
{
    CString str;
    GetSharedGlobals()->LoadString(str, nId);
    return static_cast<LPCSTR>(str);
}

// The notice of a trade line, as its inserts fill the notice's text.
std::string TradeNotice(const std::string& strOrder, int nSide, const std::string& strSymbol, const std::string& strQty,
                        double dPrice, const char* pszPriceFormat)
{
    char szPrice[32];
    snprintf(szPrice, sizeof szPrice, pszPriceFormat, dPrice);
    CString strNotice;
    strNotice.FormatMessage(Text(55321).c_str(), strOrder.c_str(), static_cast<LPCSTR>(CTransactionType::GetText(nSide)),
                            strSymbol.c_str(), strQty.c_str(), szPrice);
    return static_cast<LPCSTR>(strNotice);
}

int CountLines(const std::string& strText, const std::string& strLine)
{
    int nCount = 0;
    size_t nAt = 0;
    const std::string strWhole = "\n" + strText;
    while ((nAt = strWhole.find("\n" + strLine + "\n", nAt)) != std::string::npos) {
        ++nCount;
        ++nAt;
    }
    return nCount;
}

// A form view that goes with its window: the modify form's stand-in.
class CStandInForm : public CWnd
{
public:
    static CWnd* Make(UINT) { return new CStandInForm; }
    BOOL Create(LPCSTR, LPCSTR pszName, DWORD dwStyle, const RECT&, CWnd* pParent, UINT nId, CCreateContext* pContext) override
    {
        return CWnd::Create("STATIC", pszName, dwStyle, CRect(0, 0, 200, 100), pParent, nId, pContext);
    }

protected:
    void PostNcDestroy() override { delete this; }
};

// The display row of the order in the table's main window; -1 when not shown.
int FindShownRow(CDataTable* pTable, int nOrderCol, long nOrder, CViewRow* pRow)
{
    CViewTable* pView = pTable->GetMainWindow()->GetView();
    for (int i = 0; i < pView->GetRowCount(); ++i)
        if (pView->GetRow(*pRow, i) && pRow->IsDataRow() &&
            CDataTable::GetCellValue(pRow, nOrderCol).GetNumber() == nOrder)
            return i;
    return -1;
}

struct OrderTables : CAccountSession
{
    // The statuses the server gave the order in its order lines, in order.
    std::vector<long> Statuses(const std::string& strMnemonic, const std::string& strOrder, int nStatusField) const
    {
        std::vector<long> statuses;
        for (const std::string& line : Sent(strMnemonic))
            if (Field(line, 0) == strOrder)
                statuses.push_back(CServerMessage(line.c_str(), 1).GetLong(nStatusField));
        return statuses;
    }
    // An order placed; its number from the reply's field.
    std::string Place(const std::string& strMnemonic, const std::string& strBody, int nNumberField)
    {
        const long nLink = Send(strMnemonic == "OR" ? MSG_OR : strMnemonic == "KA" ? MSG_KA : MSG_KR, strBody);
        std::string strOrder;
        PumpUntil([&] {
            for (const std::string& line : Sent(strMnemonic))
                if (line.rfind("~" + strMnemonic + "|" + std::to_string(nLink) + "|", 0) == 0)
                    strOrder = Field(line, nNumberField);
            return !strOrder.empty();
        }, 5000);
        return strOrder;
    }
};
}  // namespace

TEST_F(OrderTables, UsOrdersFillRestAndCancelIntoTheirRowsTradesNoticesAndSounds)
{
    ASSERT_TRUE(StartSession({"--rate", "0"}));
    GetGlobals()->m_nAlertSoundMode = 1;
    GetNorvGlobals().m_bBeep = TRUE;
    auto* pOrders = Find<COrderStatusTable>(51110);
    auto* pTrades = Find<CExecutedTradesTable>(51130);
    ASSERT_NE(nullptr, pOrders);
    ASSERT_NE(nullptr, pTrades);
    // The login loaded the account as the simulator holds it: no order of the day yet.
    EXPECT_TRUE(pOrders->IsComplete());
    EXPECT_EQ(LastReplyRows("OS").size(), static_cast<size_t>(pOrders->GetRows()->GetCount()));
    EXPECT_EQ(LastReplyRows("ET").size(), static_cast<size_t>(pTrades->GetRows()->GetCount()));
    const UINT nBeeps = TbGetBeepCount();

    // Filled at once, more than the book holds (partly filled), and one far below the market.
    const std::string strFilled = Place("OR", "1002|10020|1|ALPN|100|3|0||0|||secret", 11);
    const std::string strPartly = Place("OR", "1002|10020|1|ALPN|20000|3|0||0|||secret", 11);
    const std::string strResting = Place("OR", "1002|10020|1|ALPN|100|0|30.00||0|||secret", 11);
    ASSERT_FALSE(strFilled.empty() || strPartly.empty() || strResting.empty()) << pRun->InfoText();
    ASSERT_TRUE(PumpUntil([&] { return pOrders->GetRows()->GetCount() == 3; }, 5000));
    PumpFor(300);
    EXPECT_EQ((std::vector<long>{2, 3}), Statuses("NO", strFilled, 16));
    EXPECT_EQ((std::vector<long>{2, 6}), Statuses("NO", strPartly, 16));
    EXPECT_EQ((std::vector<long>{2}), Statuses("NO", strResting, 16));
    const std::map<std::string, std::string> shown = {{strFilled, "3"}, {strPartly, "6"}, {strResting, "2"}};
    for (const auto& [strOrder, strStatus] : shown) {
        const CDataBuffer* pRow = pOrders->GetRows()->FindRow({strOrder.c_str()});
        ASSERT_NE(nullptr, pRow) << strOrder;
        EXPECT_EQ(strStatus, std::string(pRow->GetText(OC_STATUS))) << strOrder;
        EXPECT_DOUBLE_EQ(pRow->GetDouble(OC_QUANTITY), pRow->GetDouble(OC_OPEN) + pRow->GetDouble(OC_FILLED)) << strOrder;
        EXPECT_EQ(std::string(GetGlobals()->GetMarketName(8)), std::string(pRow->GetText(OC_MARKET))) << strOrder;
    }
    EXPECT_EQ(0, pOrders->GetRows()->FindRow({strResting.c_str()})->GetDouble(OC_FILLED));

    Shoot(pOrders, "account_us_orders");
    // What the user reads of each order: what became of it, and that the market took it.
    std::vector<std::string> statuses = ShownTexts(pOrders, OC_STATUS);
    std::sort(statuses.begin(), statuses.end());
    EXPECT_EQ((std::vector<std::string>{"Filled", "Open", "Partly filled"}), statuses);
    EXPECT_EQ(std::vector<std::string>(3, "Accepted"), ShownTexts(pOrders, OC_ROUTING_RESULT));
    EXPECT_EQ(std::vector<std::string>(3, "Regular"), ShownTexts(pOrders, OC_SESSION));

    // Each trade is a row, a sound and a notice, once.
    const std::vector<std::string> fills = Sent("NT");
    std::set<std::string> tradeNumbers;
    std::string strInfo = pRun->InfoText();
    for (const std::string& line : fills) {
        tradeNumbers.insert(Field(line, 0));
        const CServerMessage msg(line.c_str(), 1);
        EXPECT_EQ(1, CountLines(strInfo, TradeNotice(Field(line, 9), static_cast<int>(msg.GetLong(2)), Field(line, 3),
                                                     Field(line, 4), msg.GetDouble(5, 0), "%.4f")))
            << line << "\n" << strInfo;
    }
    ASSERT_LE(2u, tradeNumbers.size()) << "the market orders traded";
    for (int i = 0; i < pTrades->GetRows()->GetCount(); ++i)
        EXPECT_EQ(std::string(GetGlobals()->GetMarketName(8)), std::string(pTrades->GetRows()->GetAt(i)->GetText(15)));
    EXPECT_EQ(tradeNumbers.size(), static_cast<size_t>(pTrades->GetRows()->GetCount()));
    EXPECT_EQ(tradeNumbers.size(), TbGetBeepCount() - nBeeps);
    // A trade told again only updates its row.
    pRun->App().GetDispatcher().OnServerMessage(fills.front().c_str());
    EXPECT_EQ(tradeNumbers.size(), static_cast<size_t>(pTrades->GetRows()->GetCount()));
    EXPECT_EQ(tradeNumbers.size(), TbGetBeepCount() - nBeeps);
    EXPECT_EQ(strInfo, pRun->InfoText());

    // A click on an order number: a filled order opens nothing, an open one the modify form.
    RegisterFormMaker(7311, &CStandInForm::Make);
    CViewRow row;
    int nHandled = 0;
    ASSERT_LE(0, FindShownRow(pOrders, OC_ORDER, atol(strFilled.c_str()), &row));
    pOrders->OnCellClick(&row, OC_ORDER, &nHandled);
    EXPECT_EQ(nullptr, pRun->App().GetModifyOrderForm()) << "status 3";
    ASSERT_LE(0, FindShownRow(pOrders, OC_ORDER, atol(strPartly.c_str()), &row));
    pOrders->OnCellClick(&row, OC_ORDER, &nHandled);
    EXPECT_NE(nullptr, pRun->App().GetModifyOrderForm()) << "status 6";
    RegisterFormMaker(7311, nullptr);

    // A trade's order number brings its order forward, selected.
    CViewRow tradeRow;
    ASSERT_LE(0, FindShownRow(pTrades, TC_ORDER, atol(strPartly.c_str()), &tradeRow));
    nHandled = 0;
    pTrades->OnCellClick(&tradeRow, TC_ORDER, &nHandled);
    EXPECT_EQ(1, nHandled);
    ASSERT_NE(nullptr, pOrders->GetSelectedDataRow());
    EXPECT_EQ(atol(strPartly.c_str()), pOrders->GetSelectedDataRow()->GetLong(OC_ORDER));

    // Cancelled: status 5 and one notice each; the trade repeated by a reload sounds no more.
    for (const std::string& strOrder : {strPartly, strResting})
        Send(MSG_OC, "1002|10020|" + strOrder + "|secret");
    ASSERT_TRUE(PumpUntil([&] {
        return std::string(pOrders->GetRows()->FindRow({strResting.c_str()})->GetText(OC_STATUS)) == "5" &&
               std::string(pOrders->GetRows()->FindRow({strPartly.c_str()})->GetText(OC_STATUS)) == "5";
    }, 5000)) << RowsText(pOrders, s_orderColumns);
    strInfo = pRun->InfoText();
    for (const std::string& strOrder : {strPartly, strResting}) {
        CString strNotice;
        strNotice.FormatMessage(Text(55349).c_str(), strOrder.c_str(), static_cast<LPCSTR>(CTransactionType::GetText(1)), "ALPN");
        EXPECT_EQ(1, CountLines(strInfo, static_cast<LPCSTR>(strNotice))) << strInfo;
    }
    EXPECT_EQ(0, pOrders->GetRows()->FindRow({strResting.c_str()})->GetDouble(OC_OPEN));

    // The status and option filters of the grid's menu: each replaces its own column's filter.
    const std::vector<std::pair<UINT, std::set<std::string>>> filters = {
        {33561, {}}, {33560, {strFilled}}, {33562, {strPartly, strResting}}, {33565, {strPartly, strResting}},
        {33559, {strFilled, strPartly, strResting}}, {33563, {strFilled, strPartly, strResting}}};
    for (const auto& [nCommand, expected] : filters) {
        RunTableCommand(pOrders, nCommand);
        const std::vector<std::string> shownOrders = ShownTexts(pOrders, OC_ORDER);
        EXPECT_EQ(expected, std::set<std::string>(shownOrders.begin(), shownOrders.end())) << nCommand;
    }

    // Reloaded, the tables hold what the live lines made of them, with no new sound.
    const std::string strOrdersLive = RowsText(pOrders, s_orderColumns);
    const std::string strTradesLive = RowsText(pTrades, s_tradeColumns);
    const UINT nBeepsBefore = TbGetBeepCount();
    const int nOsBefore = static_cast<int>(Sent("OS").size());
    RunTableCommand(pOrders, 33175);
    pTrades->SendRequest();
    ASSERT_TRUE(PumpUntil([&] { return static_cast<int>(Sent("OS").size()) > nOsBefore && !pOrders->IsReceiving() && !pTrades->IsReceiving(); }, 5000));
    PumpFor(300);
    EXPECT_EQ(strOrdersLive, RowsText(pOrders, s_orderColumns));
    EXPECT_EQ(strTradesLive, RowsText(pTrades, s_tradeColumns));
    EXPECT_EQ(nBeepsBefore, TbGetBeepCount());

    Shoot(pTrades, "account_us_trades");
}

TEST_F(OrderTables, KseOrdersReachTheFiveTablesWithOneNoticeAndTheirTradesSound)
{
    ASSERT_TRUE(StartSession({"--rate", "0"}));
    GetGlobals()->m_nAlertSoundMode = 1;
    auto* pOrders = Find<COrderStatusKSETable>(51128);
    auto* pTrades = Find<CExecutedTradesKSETable>(51142);
    ASSERT_NE(nullptr, pOrders);
    ASSERT_NE(nullptr, pTrades);
    EXPECT_TRUE(pOrders->IsComplete()) << "the forward orders' reply ended the load";
    EXPECT_EQ(LastReplyRows("KS").size() + LastReplyRows("KB").size(), static_cast<size_t>(pOrders->GetRows()->GetCount()));
    const UINT nBeeps = TbGetBeepCount();

    const std::string strFilled = Place("KR", "||1002|10020|1|1|101|100|3|0||0|||secret", 17);
    const std::string strPartly = Place("KR", "||1002|10020|1|1|101|300000|3|0||0|||secret", 17);
    ASSERT_FALSE(strFilled.empty() || strPartly.empty()) << pRun->InfoText();
    ASSERT_TRUE(PumpUntil([&] { return pOrders->GetRows()->GetCount() >= 2; }, 5000));
    PumpFor(300);
    EXPECT_EQ(3, Statuses("NS", strFilled, 16).back());
    EXPECT_EQ(6, Statuses("NS", strPartly, 16).back());
    Send(MSG_KC, "||1002|10020|" + strPartly + "||||||||||||||||||||secret");
    ASSERT_TRUE(PumpUntil([&] { return std::string(pOrders->GetRows()->FindRow({strPartly.c_str()})->GetText(KC_STATUS)) == "5"; }, 5000));
    PumpFor(200);

    // A forward order resting until its series is quoted: its own row, market 3, open, in the
    // forward and active views, at its price to the last of a maker's three decimals.
    const std::string strForward = Place("KA", "||1002|10020|1|101|1000|0|3|1|849.585|secret", 13);
    ASSERT_FALSE(strForward.empty()) << pRun->InfoText();
    ASSERT_TRUE(PumpUntil([&] { return pOrders->GetRows()->FindRow({strForward.c_str()}) != nullptr; }, 5000));
    PumpFor(200);
    const CDataBuffer* pForward = pOrders->GetRows()->FindRow({strForward.c_str()});
    EXPECT_EQ(3, pForward->GetLong(3)) << "the forward market";
    EXPECT_EQ("1", std::string(pForward->GetText(KC_STATUS)));
    EXPECT_EQ(1000, pForward->GetDouble(KC_OPEN));

    // The five tables hold the same rows; each variant's window shows its statuses.
    for (UINT nNameId : {51128u, 56370u}) {
        auto* pShown = Find<COrderStatusKSETable>(nNameId);
        const std::vector<std::string> orders = ShownTexts(pShown, KC_ORDER), limits = ShownTexts(pShown, KC_LIMIT);
        const size_t nAt = std::find(orders.begin(), orders.end(), strForward) - orders.begin();
        ASSERT_LT(nAt, limits.size()) << nNameId;
        EXPECT_EQ("849.585", limits[nAt]) << nNameId;
    }
    const std::string strRows = RowsText(pOrders, s_kseOrderColumns);
    const std::map<UINT, std::set<std::string>> variants = {
        {51164, {strForward}}, {51165, {strFilled}}, {51166, {strPartly}}, {56370, {strForward}}};
    for (const auto& [nNameId, expected] : variants) {
        auto* pVariant = Find<COrderStatusKSETable>(nNameId);
        ASSERT_NE(nullptr, pVariant) << nNameId;
        EXPECT_EQ(strRows, RowsText(pVariant, s_kseOrderColumns)) << nNameId;
        const std::vector<std::string> shownOrders = ShownTexts(pVariant, KC_ORDER);
        EXPECT_EQ(expected, std::set<std::string>(shownOrders.begin(), shownOrders.end())) << nNameId;
    }
    const std::string strInfo = pRun->InfoText();
    const std::string strName = GetStockSymbolFrom(56376, 101, FALSE).GetString();
    CString strNotice;
    strNotice.FormatMessage(Text(55349).c_str(), strPartly.c_str(), static_cast<LPCSTR>(CTransactionType::GetText(1)),
                            strName.c_str());
    EXPECT_EQ(1, CountLines(strInfo, static_cast<LPCSTR>(strNotice))) << "one notice for five tables\n" << strInfo;

    std::set<std::string> tradeNumbers;
    for (const std::string& line : Sent("NX")) {
        tradeNumbers.insert(Field(line, 1));
        const CServerMessage msg(line.c_str(), 1);
        // The regular board's price in fils, to one decimal as the board quotes it.
        EXPECT_EQ(1, CountLines(strInfo, TradeNotice(Field(line, 13), static_cast<int>(msg.GetLong(3)), strName,
                                                     Field(line, 5), msg.GetDouble(6, 0), "%.1f")))
            << line << "\n" << strInfo;
    }
    ASSERT_LE(2u, tradeNumbers.size());
    EXPECT_EQ(tradeNumbers.size(), static_cast<size_t>(pTrades->GetRows()->GetCount()));
    EXPECT_EQ(tradeNumbers.size(), TbGetBeepCount() - nBeeps);

    // Reloaded ("KS" and then "KB"), the five tables hold what the live lines made of them.
    const size_t nKb = Sent("KB").size();
    pOrders->SendRequest();
    ASSERT_TRUE(PumpUntil([&] { return Sent("KB").size() > nKb && !pOrders->IsReceiving(); }, 5000));
    PumpFor(300);
    for (UINT nNameId : {51128u, 51164u, 51165u, 51166u, 56370u})
        EXPECT_EQ(strRows, RowsText(Find<COrderStatusKSETable>(nNameId), s_kseOrderColumns)) << nNameId;
    // What is left of each partly filled order, in each window the trader shows the column in:
    // field 7 of a regular order, quantity less filled of a forward order with a fill. No total:
    // it would add bought and sold shares of every stock.
    std::map<std::string, long long> left;
    for (const std::string& row : LastReplyRows("KS"))
        left[Field(row, 0)] = atoll(Field(row, 7).c_str());
    for (const std::string& row : LastReplyRows("KB")) {
        const long long nFilled = atoll(Field(row, 6).c_str());
        left[Field(row, 0)] = nFilled > 0 ? atoll(Field(row, 5).c_str()) - nFilled : 0;
    }
    EXPECT_LT(0, left[strPartly]);
    for (UINT nNameId : {51128u, 51164u, 51165u, 51166u, 56370u}) {
        CDataTable* pVariant = Find<COrderStatusKSETable>(nNameId);
        CColumn column = pVariant->GetTable()->GetColumn(KC_PART_OPEN);
        EXPECT_TRUE(column.IsHidden() && column.IsUserSwitchable()) << nNameId;
        column.SetHidden(FALSE);
        std::vector<std::string> expected;
        for (const std::string& strOrder : ShownTexts(pVariant, KC_ORDER))
            expected.push_back(left[strOrder] != 0 ? Grouped(left[strOrder]) : "");
        EXPECT_EQ(expected, ShownTexts(pVariant, KC_PART_OPEN)) << nNameId;
        EXPECT_EQ("", TotalText(pVariant, KC_PART_OPEN)) << nNameId;
        column.SetHidden(TRUE);
    }

    Shoot(pOrders, "account_kse_orders");
    Shoot(Find<COrderStatusKSETable>(51165), "account_kse_orders_filled");
    Shoot(pTrades, "account_kse_trades");
    // Each trade reads as done on the regular board.
    const size_t nTrades = static_cast<size_t>(pTrades->GetRows()->GetCount());
    EXPECT_EQ(std::vector<std::string>(nTrades, "Regular board"), ShownTexts(pTrades, 2));
    EXPECT_EQ(std::vector<std::string>(nTrades, "Executed"), ShownTexts(pTrades, 16));
}

// A regular buy and then a forward buy that fills, which its market numbers as the regular
// board numbered the first: two trades, two rows, two notices.
TEST_F(OrderTables, AForwardTradeNumberedAsARegularOneKeepsBothRowsAndTellsBoth)
{
    ASSERT_TRUE(StartSession({"--rate", "0"}));
    auto* pTrades = Find<CExecutedTradesKSETable>(51142);
    ASSERT_NE(nullptr, pTrades);
    CNorvApp::ShowTable(pTrades);
    ASSERT_FALSE(Place("KR", "||1002|10020|1|1|101|1000|3|0||0|||secret", 17).empty()) << pRun->InfoText();
    ASSERT_TRUE(PumpUntil([&] { return !Sent("NX").empty(); }, 5000));
    ASSERT_FALSE(Place("KA", "||1002|10020|1|101|1000|0|3|1|0|secret", 13).empty()) << pRun->InfoText();
    ASSERT_TRUE(PumpUntil([&] { return !Sent("NW").empty(); }, 5000));
    PumpFor(300);
    const std::string strRegular = Sent("NX").front(), strForward = Sent("NW").front();
    ASSERT_EQ(Field(strRegular, 1), Field(strForward, 0)) << "the case: one number on two markets";
    const std::vector<std::string> shown = ShownTexts(pTrades, 2);
    EXPECT_EQ((std::multiset<std::string>{"Forward market", "Regular board"}), std::multiset<std::string>(shown.begin(), shown.end()));
    // Each told once: its order, side, stock, quantity and price.
    for (const auto& [strLine, nSide, nQuantity] : {std::tuple{strRegular, 3, 5}, {strForward, 2, 6}}) {
        const CServerMessage msg(strLine.c_str(), 1);
        // The price as the line gives it, every decimal it carries and at least the board's one.
        const std::string strPrice = Field(strLine, nQuantity + 1);
        const size_t nPoint = strPrice.find('.');
        const int nDecimals =
            nPoint == std::string::npos ? 1 : std::max(1, static_cast<int>(strPrice.find_last_not_of('0') - nPoint));
        EXPECT_EQ(1, CountLines(pRun->InfoText(), TradeNotice(Field(strLine, 13), static_cast<int>(msg.GetLong(nSide)),
                                                              GetStockSymbolFrom(56376, 101, FALSE).GetString(),
                                                              Field(strLine, nQuantity), msg.GetDouble(nQuantity + 1, 0),
                                                              ("%." + std::to_string(nDecimals) + "f").c_str())))
            << strLine << "\n" << pRun->InfoText();
    }
    // Both trades' commissions in one column, and in its total.
    const double dCommissions = atof(Field(strRegular, 7).c_str()) + atof(Field(strForward, 9).c_str());
    EXPECT_LT(0, atof(Field(strForward, 9).c_str())) << strForward;
    EXPECT_EQ(GroupedAmount(dCommissions, 3), TotalText(pTrades, 10));
    // The forward trade told again (a status of the same trade) finds its own row on its market.
    pRun->App().GetDispatcher().OnServerMessage(strForward.c_str());
    PumpFor(200);
    const std::vector<std::string> again = ShownTexts(pTrades, 2);
    EXPECT_EQ((std::multiset<std::string>{"Forward market", "Regular board"}), std::multiset<std::string>(again.begin(), again.end()));
}

TEST_F(OrderTables, RefusedForwardRepliesEndTheLoadAndLeaveNoDoubledTrades)
{
    // The forward orders' reply refused: the load still ends, the KSE orders wait for a reply.
    ASSERT_TRUE(StartSession({"--rate", "0", "--fail", "KB=9", "--fail", "EF=9"}));
    auto* pOrders = Find<COrderStatusKSETable>(51128);
    auto* pTrades = Find<CExecutedTradesKSETable>(51142);
    ASSERT_NE(nullptr, pOrders);
    EXPECT_TRUE(pRun->App().IsInitialLoadDone());
    EXPECT_FALSE(pOrders->IsComplete());
    const std::string strOrder = Place("KR", "||1002|10020|1|1|101|100|3|0||0|||secret", 17);
    ASSERT_FALSE(strOrder.empty());
    ASSERT_TRUE(PumpUntil([&] { return pTrades->GetRows()->GetCount() > 0; }, 5000));
    PumpFor(200);
    EXPECT_EQ(0, pOrders->GetRows()->GetCount()) << "live orders wait for a complete load";
    const std::string strTrades = RowsText(pTrades, {1, 8, 9, 12});

    // Each refresh's forward trades are refused: the next one still starts afresh.
    for (int i = 0; i < 2; ++i) {
        const size_t nEk = Sent("EK").size();
        pTrades->SendRequest();
        ASSERT_TRUE(PumpUntil([&] { return Sent("EK").size() > nEk && !pTrades->IsReceiving(); }, 5000));
        PumpFor(200);
        EXPECT_EQ(strTrades, RowsText(pTrades, {1, 8, 9, 12})) << "refresh " << i;
    }
}

// A forward line between the two replies of a KSE refresh, for an order or trade the second
// reply holds too, leaves that order or trade one row.
TEST_F(OrderTables, AForwardLineBetweenTheRepliesOfARefreshLeavesOneRow)
{
    const struct {
        const char* pszFirst;
        const char* pszSecond;
        const char* pszLive;
        UINT nTable;
    } cases[] = {{"KS", "KB", "NF", 51128}, {"EK", "EF", "NW", 51142}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszSecond);
        ASSERT_TRUE(StartSession({"--rate", "0", "--scenario", std::string("delay=") + c.pszSecond + ":1"}));
        CDataTable* pTable = FindDataTable(c.nTable);
        CNorvApp::ShowTable(pTable);
        ASSERT_TRUE(PumpUntil([&] { return !Sent(c.pszSecond).empty() && !pTable->IsReceiving(); }, 5000));
        // A forward order at no price trades at once: an order and a trade of the forward board.
        const size_t nLive = Sent(c.pszLive).size();
        Send(MSG_KA, "||1002|10020|1|101|1000|0|3|1|0|secret");
        ASSERT_TRUE(PumpUntil([&] { return Sent(c.pszLive).size() > nLive; }, 5000)) << pRun->InfoText();
        PumpFor(300);
        const std::string strForward = Sent(c.pszLive).back();
        const std::vector<std::string> before = ShownTexts(pTable, 1);
        ASSERT_EQ(1, std::count(before.begin(), before.end(), Field(strForward, 0)));

        const size_t nFirst = Sent(c.pszFirst).size(), nSecond = Sent(c.pszSecond).size();
        ASSERT_TRUE(static_cast<IDataTable*>(pTable)->SendRequest());
        // The first reply taken in; the second comes a second later.
        ASSERT_TRUE(PumpUntil([&] { return Sent(c.pszFirst).size() > nFirst; }, 5000));
        PumpFor(300);
        ASSERT_FALSE(pTable->IsReceiving());
        pRun->App().GetDispatcher().OnServerMessage(strForward.c_str());
        // The server logs the second reply when it holds it back: it comes a second later.
        ASSERT_TRUE(PumpUntil([&] { return Sent(c.pszSecond).size() > nSecond; }, 5000));
        PumpFor(1500);
        ASSERT_FALSE(pTable->IsReceiving());
        const std::vector<std::string> after = ShownTexts(pTable, 1);
        EXPECT_EQ(std::multiset<std::string>(before.begin(), before.end()), std::multiset<std::string>(after.begin(), after.end()));
        TearDown();
    }
}

// US trade and status lines told at awkward moments: a trade inside a reply is in its rows
// already, trades without a number each fill, and a cancel told before the first load's end
// makes no notice, one after it does.
TEST_F(OrderTables, UsTradesAndCancelsInsideRepliesCountOnceAndNoticeAfterTheFirstEnd)
{
    ASSERT_TRUE(StartSession({"--rate", "0", "--fail", "OS=500"}));
    auto* pOrders = Find<COrderStatusTable>(51110);
    ASSERT_NE(nullptr, pOrders);
    CNorvApp::ShowTable(pOrders);
    std::string strNumber;
    ASSERT_TRUE(PumpUntil([&] {
        for (const std::string& line : server.Received())
            if (line.rfind("&OS|", 0) == 0)
                strNumber = Split(line)[1];
        return !strNumber.empty() && !Sent("OS").empty();
    }));
    PumpFor(200);
    ASSERT_FALSE(pOrders->IsComplete());
    auto line = [&](const std::string& strLine) { pRun->App().GetDispatcher().OnServerMessage(strLine.c_str()); };
    // The first reply: order 501 of 300 with 100 filled by trade 9001, told again inside it,
    // and order 502 cancelled inside it.
    line("~OS|" + strNumber + "|XC||1002|10020|0|0|1000000|0||2|0");
    line("501||GLNT|1|300|200|100||2|70.00|0|1||||||6|||||8||||||8");
    line("~NT|0|XC||9001||1|GLNT|100|70.00|7000.00|||501|1||||||8");
    line("502||GLNT|1|100|100|0||2|70.00|0|1||||||2|||||8||||||8");
    line("~NC|0|XC||502|100|5");
    line("~EN|" + strNumber + "|XC|0");
    PumpFor(200);
    auto shown = [&](const char* pszOrder, int nCol) {
        const std::vector<std::string> orders = ShownTexts(pOrders, OC_ORDER), texts = ShownTexts(pOrders, nCol);
        for (size_t i = 0; i < orders.size(); ++i)
            if (orders[i] == pszOrder)
                return texts[i];
        return std::string("-");
    };
    EXPECT_EQ("100", shown("501", OC_FILLED));
    EXPECT_EQ("200", shown("501", OC_OPEN));
    EXPECT_EQ(std::string(COrderStatus::GetText(5)), shown("502", OC_STATUS));
    const auto notice = [&](const char* pszOrder) {
        CString strNotice;
        strNotice.FormatMessage(Text(55349).c_str(), pszOrder, static_cast<LPCSTR>(CTransactionType::GetText(1)), "GLNT");
        return CountLines(pRun->InfoText(), static_cast<LPCSTR>(strNotice));
    };
    EXPECT_EQ(0, notice("502")) << "told before the first end";

    // Two trades of 50 without a number: both fill.
    line("~NT|0|XC||||1|GLNT|50|70.00|3500.00|||501|1||||||8");
    line("~NT|0|XC||n/a||1|GLNT|50|70.00|3500.00|||501|1||||||8");
    PumpFor(200);
    EXPECT_EQ("200", shown("501", OC_FILLED));
    EXPECT_EQ("100", shown("501", OC_OPEN));
    // Told again by its number: nothing more.
    line("~NT|0|XC||9001||1|GLNT|100|70.00|7000.00|||501|1||||||8");
    PumpFor(200);
    EXPECT_EQ("200", shown("501", OC_FILLED));
    line("~NC|0|XC||501|100|5");
    PumpFor(200);
    EXPECT_EQ(1, notice("501"));
}
