// The application's side of the market tables, end to end against the test server as the
// trader: the standing set made in order from the makers there are, the KSE subscription once
// per session on the server's ready state, the initial load's end, the table commands with their
// rules, the openers, the market menus, the form windows and the workspace of every table.
// Tables whose classes are not built here are small fakes registered under their name ids.
#include <gtest/gtest.h>
#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>
#include "AppTestSupport.h"
#include "TerminalRun.h"
#include "app/FormFactory.h"
#include "app/FormMDIWnd.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "framework/table/SortColumns.h"
#include "framework/table/ViewTable.h"
#include "link/MessageTypes.h"
#include "market/MarketTables.h"
#include "market/dialogs/GlobalParamKSEDlg.h"
#include "market/dialogs/MarketScheduleDlg.h"
#include "market/dialogs/MarketScheduleKSEDlg.h"
#include "platform/mfc/CmdUI.h"
#include "platform/win/kernel/Shell.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/TestAnswers.h"
#include "platform/win/user/WebBrowser.h"
#include "refdata/ZorvatGlobals.h"

#define IDS_INITIAL_LOAD_DONE 40331
#define IDS_TICKERS_MENU 57389
#define IDS_MARKETS_MENU 57406

namespace {

// What the fake tables were asked, in order: "made 52112", "request 51128",
// "request 41125 3 10020", "resubscribe 51921", "log 51960 in <section>".
std::vector<std::string> s_calls;
// The tables that asked while their main window showed.
std::vector<std::string> s_askedWhileShown;

int CountCalls(const std::string& strCall)
{
    return static_cast<int>(std::count(s_calls.begin(), s_calls.end(), strCall));
}

// A server-fed table as far as the application sees one. The KSE order status asks for its
// orders as the real one does, so that the load awaiting them can end.
class CFakeMarketTable : public CMDITable
{
public:
    ~CFakeMarketTable() override { Destroy(); }
    BOOL Create(UINT nNameId, UINT nTitleId)
    {
        if (!CreateTable(nNameId, nTitleId))
            return FALSE;
        CNorvApp::Get()->AddTable(this);
        return TRUE;
    }
    BOOL SendRequest() override
    {
        s_calls.push_back("request " + Id());
        NoteShown();
        if (GetNameId() == 51128)
            CZORVAT32App::Get()->SendRequest(MSG_KB, "");
        return TRUE;
    }
    BOOL SendRequestFor(long nArgument, LPCSTR pszText) override
    {
        s_calls.push_back("request " + Id() + " " + std::to_string(nArgument) + " " + (pszText != nullptr ? pszText : "-"));
        NoteShown();
        return TRUE;
    }
    void ResubscribeAll() override { s_calls.push_back("resubscribe " + Id()); }
    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (nCode == static_cast<int>(CN_COMMAND) && pHandlerInfo == nullptr && nId == 40018)
            s_calls.push_back("command 40018 to " + Id());
        return CMDITable::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
    }
    void ReloadLogSetting() override
    {
        s_calls.push_back("log " + Id() + " in " + static_cast<const char*>(GetSharedGlobals()->m_settings.GetSection()));
    }

protected:
    std::string Id() const { return std::to_string(GetNameId()); }
    void NoteShown()
    {
        if (GetMainWindow() != nullptr && GetMainWindow()->IsWindowVisible())
            s_askedWhileShown.push_back(Id());
    }
    void CreateColumns() override
    {
        CColumn column = m_table.AddColumn();
        column.SetName("Symbol");
        column.SetTitle("Symbol", 0);
        column.SetDataType(COLTYPE_STRING);
        column.SetWidth(80);
        // The KSE quotations have the columns the sorted windows sort by.
        for (int i = 1; GetNameId() == 52114 && i < 18; ++i) {
            CColumn figure = m_table.AddColumn();
            const std::string strName = "Figure " + std::to_string(i);
            figure.SetName(strName.c_str());
            figure.SetTitle(strName.c_str(), 0);
            figure.SetDataType(COLTYPE_INT32);
            figure.SetWidth(40);
        }
    }
};

IDataTable* MakeFakeTable(UINT nNameId, int, UINT nTitleId)
{
    s_calls.push_back("made " + std::to_string(nNameId));
    CFakeMarketTable* pTable = new CFakeMarketTable;
    if (!pTable->Create(nNameId, nTitleId)) {
        delete pTable;
        return nullptr;
    }
    return pTable;
}

BOOL Enabled(CZORVAT32App& app, UINT nId, int* pnCheck = nullptr)
{
    BOOL bEnabled = FALSE;
    int nCheck = -1;
    EXPECT_TRUE(app.GetCommandState(nId, &bEnabled, &nCheck)) << "command " << nId << " has a rule";
    if (pnCheck != nullptr)
        *pnCheck = nCheck;
    return bEnabled;
}

CString Text(UINT nId)
{
    CString strText;
    GetSharedGlobals()->LoadString(strText, nId);
    return strText;
}

// The popup titled strTitle in hMenu and its position; null when there is none.
HMENU FindPopup(HMENU hMenu, const CString& strTitle, int* pnPos, int* pnCount)
{
    HMENU hFound = nullptr;
    *pnCount = 0;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i) {
        char szText[256] = "";
        GetMenuStringA(hMenu, static_cast<UINT>(i), szText, sizeof szText, MF_BYPOSITION);
        if (GetSubMenu(hMenu, i) != nullptr && strTitle == szText) {
            hFound = GetSubMenu(hMenu, i);
            *pnPos = i;
            ++*pnCount;
        }
    }
    return hFound;
}

struct MarketSessionFixture : ::testing::Test
{
    CTestServer server;
    CTerminalRun run;
    std::vector<UINT> fakes;
    BOOL bOption = GetGlobals()->m_bOption;

    void SetUp() override { s_calls.clear(); }
    void TearDown() override
    {
        run.Close();
        for (UINT nId : fakes)
            RegisterTableMaker(nId, nullptr);
        RegisterMarketTables();
        GetGlobals()->m_bOption = bOption;
        s_calls.clear();
    }
    // The trader logged in, the given tables being fakes.
    void StartTrader(const std::vector<UINT>& tables) { StartAs("trader", "secret", tables); }
    void StartAs(const char* pszUser, const char* pszPassword, const std::vector<UINT>& tables,
                 const std::vector<std::string>& options = {})
    {
        ASSERT_TRUE(server.Start(options));
        fakes = tables;
        run.m_onMakersRegistered = [this] {
            for (UINT nId : fakes)
                RegisterTableMaker(nId, &MakeFakeTable);
        };
        ASSERT_TRUE(run.StartLoggedIn(server.Port(), pszUser, pszPassword));
        PumpFor(200);
    }
    int CountReceived(const std::string& strStart, const std::string& strEnd = "") const
    {
        int nCount = 0;
        for (const std::string& line : server.Received())
            nCount += line.rfind(strStart, 0) == 0 && line.size() >= strEnd.size() &&
                      line.compare(line.size() - strEnd.size(), strEnd.size(), strEnd) == 0;
        return nCount;
    }
    // The last line the server sent that starts so.
    std::string LastSent(const std::string& strStart) const
    {
        std::string strFound;
        for (const std::string& line : server.Log())
            if (line.rfind("> " + strStart, 0) == 0)
                strFound = line.substr(2);
        return strFound;
    }
    CMDIChildWnd* ActiveChild() { return run.App().GetMainFrame()->MDIGetActive(); }
};

}  // namespace

TEST_F(MarketSessionFixture, StandingSetIsMadeInOrderFromTheMakersThereAre)
{
    ASSERT_NO_FATAL_FAILURE(StartTrader({51110, 51954, 52110, 52113, 41057}));
    CZORVAT32App& app = run.App();
    GetGlobals()->m_bOption = TRUE;
    app.DestroyTickersAndTables();
    EXPECT_TRUE(app.GetTables().empty());
    s_calls.clear();
    app.OpenStandingTables();
    EXPECT_EQ((std::vector<std::string>{"made 51110", "made 51954", "made 52110", "made 52113", "made 41057"}), s_calls);
    ASSERT_NE(nullptr, app.GetInfoTable()) << "the information window comes first, from the market layer";
    EXPECT_EQ(app.GetInfoTable()->GetDataTable(), app.FindTable(50001));
    EXPECT_TRUE(app.FindTable(50001)->GetMainWindow()->IsWindowVisible());
    EXPECT_EQ(nullptr, app.FindTable(51130)) << "a table without a maker is left out";
    EXPECT_TRUE(app.FindTable(51110)->GetMainWindow()->GetGrid().GetFollowLastRow());
    EXPECT_TRUE(app.FindTable(51954)->GetMainWindow()->GetGrid().GetFollowLastRow());
    EXPECT_FALSE(app.FindTable(41057)->GetMainWindow()->GetGrid().GetFollowLastRow());

    // Without the option the order books and KSE time and sales are not made.
    GetGlobals()->m_bOption = FALSE;
    app.DestroyTickersAndTables();
    EXPECT_EQ(nullptr, app.GetInfoTable());
    app.OpenStandingTables();
    for (UINT nId : {52110, 52111, 52112, 52113})
        EXPECT_EQ(nullptr, app.FindTable(nId)) << nId;
    EXPECT_NE(nullptr, app.FindTable(41057));
    EXPECT_NE(nullptr, app.GetInfoTable());
}

TEST_F(MarketSessionFixture, ReadyStateSubscribesOncePerSession)
{
    // The KSE order status is there: the load ends with its orders, asked for by the subscription.
    ASSERT_NO_FATAL_FAILURE(StartTrader({51142, 51128, 56256, 41125, 51921, 51110, 51130, 51170, 41057}));
    CZORVAT32App& app = run.App();
    EXPECT_TRUE(app.IsMarketDataSubscribed());
    const std::string strReady = LastSent("~DR|");
    ASSERT_FALSE(strReady.empty());
    app.GetDispatcher().OnServerMessage(strReady.c_str());
    PumpFor(300);

    EXPECT_EQ(1, run.CountInfoLines(IDS_INITIAL_LOAD_DONE)) << run.InfoText();
    for (const char* pszStart : {"&LX|", "&SQ|", "&FQ|", "&OB|", "&KB|"})
        EXPECT_EQ(1, CountReceived(pszStart)) << pszStart;
    EXPECT_EQ(1, CountReceived("&TE|", "||1"));
    EXPECT_EQ(1, CountCalls("request 51142"));
    EXPECT_EQ(1, CountCalls("request 51128"));
    EXPECT_EQ(1, CountCalls("request 56256"));
    EXPECT_EQ(1, CountCalls("request 41125 3 10020")) << "the combined holdings of every market, for the account";
    EXPECT_EQ(1, CountCalls("resubscribe 51921"));
    // The login's own: the schedule, the US account tables, and the orders once more after the
    // symbol lists.
    EXPECT_EQ(1, CountCalls("request 41057"));
    EXPECT_EQ(1, CountCalls("request 51130"));
    EXPECT_EQ(1, CountCalls("request 51170 3 -"));
    EXPECT_TRUE(PumpUntil([] { return CountCalls("request 51110") == 2; }, 5000)) << CountCalls("request 51110");

    // A "DR" of another state, or with a text, does nothing.
    app.Logoff();
    EXPECT_FALSE(app.IsMarketDataSubscribed());
    app.GetDispatcher().OnServerMessage("~DR|0|XC||0|K|5");
    app.GetDispatcher().OnServerMessage("~DR|0|XC||0|Q|-1");
    app.GetDispatcher().OnServerMessage("~DR|0|XC||0||-1");
    EXPECT_FALSE(app.IsMarketDataSubscribed());

    // The next login is a new session: one more burst, and the quotations stream again.
    run.QueueLogin("trader", "secret");
    app.RunLogin();
    ASSERT_TRUE(PumpUntil([&] { return CountReceived("&LX|") == 2; }));
    PumpFor(300);
    EXPECT_EQ(2, CountReceived("&SQ|"));
    EXPECT_EQ(2, CountCalls("request 51128"));
    EXPECT_EQ(2, CountCalls("resubscribe 51921"));
}

TEST_F(MarketSessionFixture, WithoutKseOrderStatusTheLoadEndsWithTheRatesAndNoOrdersAreAsked)
{
    ASSERT_NO_FATAL_FAILURE(StartTrader({}));
    EXPECT_EQ(1, run.CountInfoLines(IDS_INITIAL_LOAD_DONE)) << run.InfoText();
    EXPECT_EQ(1, CountReceived("&VX|"));
    EXPECT_EQ(0, CountReceived("&KB|"));
    EXPECT_EQ(1, CountReceived("&LX|")) << "the feeds go out all the same";
}

TEST_F(MarketSessionFixture, CommandsFollowTheTradersRightsAndFallBackAtLogoff)
{
    ASSERT_NO_FATAL_FAILURE(StartTrader({}));
    CZORVAT32App& app = run.App();
    for (UINT nId : {ID_APP_KSE_STOCK_LIST, ID_APP_KSE_TICK_UNITS, ID_APP_KSE_TIME_SALES, ID_APP_FWD_TIME_SALES,
                     ID_APP_FWD_RULES, ID_APP_WEB_SITE, ID_APP_KSE_QUOTES, ID_APP_KSE_ORDER_BOOK, ID_APP_KSE_INDICES,
                     ID_APP_FWD_QUOTES, ID_APP_FWD_OPEN_INTEREST, ID_APP_KSE_SORT_FIRST, ID_APP_KSE_SORT_LAST,
                     ID_APP_EXCHANGE_RATES, ID_APP_INTEREST_RATES, ID_APP_INTL_BOOK, ID_APP_INTL_BOOK_2,
                     ID_APP_INTL_MM_BOOK, ID_APP_MARKET_FIRST, ID_APP_MARKET_ALL, ID_APP_US_QUOTES,
                     ID_APP_US_TIME_SALES, ID_APP_US_TIME_SALES_2, 33100, 33049, 33273, 33186, 33315})
        EXPECT_TRUE(Enabled(app, nId)) << nId;
    for (UINT nId : {33615u})
        EXPECT_FALSE(Enabled(app, nId)) << nId << " waits for its window";
    // The ticker items show or hide their tickers.
    int nTickerCheck = -1;
    EXPECT_TRUE(Enabled(app, ID_APP_TICKER_FIRST, &nTickerCheck));
    EXPECT_EQ(0, nTickerCheck);

    // The market-depth option: checked while on, and kept in the profile as it is switched.
    int nCheck = -1;
    EXPECT_TRUE(Enabled(app, ID_APP_MARKET_DEPTH, &nCheck));
    EXPECT_EQ(1, nCheck) << "no stored choice reads as on";
    app.RunCommand(ID_APP_MARKET_DEPTH);
    Enabled(app, ID_APP_MARKET_DEPTH, &nCheck);
    EXPECT_EQ(0, nCheck);
    EXPECT_EQ("No", std::string(app.ReadProfileText(Text(40373), Text(40379), "")));
    app.RunCommand(ID_APP_MARKET_DEPTH);
    EXPECT_EQ("Yes", std::string(app.ReadProfileText(Text(40373), Text(40379), "")));

    // The web site goes to the desktop's browser.
    TbRecordShellOpens(TRUE);
    app.RunCommand(ID_APP_WEB_SITE);
    std::string strOpened;
    EXPECT_TRUE(TbTakeShellOpen(&strOpened));
    EXPECT_EQ(std::string(Text(57066)), strOpened);
    TbRecordShellOpens(FALSE);

    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDYES, ""});
    app.RunCommand(ID_APP_DISCONNECT);
    for (UINT nId : {ID_APP_KSE_STOCK_LIST, ID_APP_KSE_TIME_SALES, ID_APP_FWD_RULES, ID_APP_MARKET_DEPTH, ID_APP_US_QUOTES,
                     ID_APP_KSE_ORDER_BOOK, ID_APP_KSE_SORT_FIRST, ID_APP_EXCHANGE_RATES, ID_APP_INTL_MM_BOOK})
        EXPECT_FALSE(Enabled(app, nId)) << nId;
    EXPECT_TRUE(Enabled(app, ID_APP_WEB_SITE));
    EXPECT_TRUE(Enabled(app, ID_APP_MARKET_ALL)) << "the schedule's items need no rights";
}

TEST_F(MarketSessionFixture, ViewerHasNoKseCommandsAndNoSubscriptionOfKseFeeds)
{
    ASSERT_NO_FATAL_FAILURE(StartAs("viewer", "viewer", {56256, 41125}));
    CZORVAT32App& app = run.App();
    for (UINT nId : {ID_APP_KSE_STOCK_LIST, ID_APP_KSE_TIME_SALES, ID_APP_FWD_TIME_SALES, ID_APP_US_QUOTES,
                     ID_APP_KSE_QUOTES, ID_APP_KSE_ORDER_BOOK, ID_APP_KSE_INDICES, ID_APP_FWD_QUOTES,
                     ID_APP_FWD_OPEN_INTEREST})
        EXPECT_FALSE(Enabled(app, nId)) << nId;
    EXPECT_TRUE(Enabled(app, ID_APP_MARKET_DEPTH)) << "role 1 is enough";
    for (UINT nId : {ID_APP_KSE_SORT_FIRST, ID_APP_EXCHANGE_RATES, ID_APP_INTEREST_RATES, ID_APP_INTL_BOOK})
        EXPECT_TRUE(Enabled(app, nId)) << nId << ": role 1 is enough";
    // Below both levels no account table is asked for, and the session counts as subscribed.
    EXPECT_TRUE(app.IsMarketDataSubscribed());
    EXPECT_EQ(0, CountReceived("&LX|"));
    EXPECT_EQ(0, CountReceived("&TE|"));
    EXPECT_EQ(0, CountCalls("request 56256"));
    EXPECT_EQ(0, CountCalls("request 41125"));
}

TEST_F(MarketSessionFixture, UsQuoteValueOpensTheUsQuotationCommands)
{
    const std::vector<std::string> options = {"--accounts", TB_SOURCE_DIR "/tests/app/data/accounts.txt"};
    ASSERT_NO_FATAL_FAILURE(StartAs("demo01", "demo12", {51921, 51954}, options));
    CZORVAT32App& app = run.App();
    for (UINT nId : {ID_APP_US_QUOTES, ID_APP_US_TIME_SALES, ID_APP_US_TIME_SALES_2, ID_APP_KSE_STOCK_LIST})
        EXPECT_TRUE(Enabled(app, nId)) << nId;
    app.RunCommand(ID_APP_US_QUOTES);
    EXPECT_EQ(app.FindTable(51921)->GetMainWindow(), ActiveChild());
    app.RunCommand(ID_APP_US_TIME_SALES_2);
    EXPECT_EQ(app.FindTable(51954)->GetMainWindow(), ActiveChild());
    EXPECT_EQ(0, CountCalls("request 51921")) << "a standing table is only shown";
}

TEST_F(MarketSessionFixture, OpenersMakeATableOnceAndRaiseItAfterwards)
{
    ASSERT_NO_FATAL_FAILURE(StartTrader({52112, 52113, 52119, 52171}));
    CZORVAT32App& app = run.App();
    // The option made the KSE time and sales standing; the opener finds them missing here.
    for (UINT nId : {52112, 52113}) {
        IDataTable* pTable = app.FindTable(nId);
        app.RemoveTable(&pTable);
    }
    s_calls.clear();
    const int nTradesBefore = CountReceived("&TE|", "||");

    app.RunCommand(ID_APP_KSE_TIME_SALES);
    EXPECT_EQ((std::vector<std::string>{"made 52112", "made 52113"}), s_calls);
    IDataTable* pTrades = app.FindTable(52112);
    ASSERT_NE(nullptr, pTrades);
    EXPECT_EQ(pTrades->GetMainWindow(), ActiveChild());
    EXPECT_FALSE(app.FindTable(52113)->GetMainWindow()->IsWindowVisible()) << "the odd lots are made, not shown";

    app.RunCommand(ID_APP_FWD_TIME_SALES);
    ASSERT_NE(nullptr, app.FindTable(52119));
    EXPECT_EQ(app.FindTable(52119)->GetMainWindow(), ActiveChild());
    app.RunCommand(ID_APP_KSE_TIME_SALES);
    EXPECT_EQ(pTrades->GetMainWindow(), ActiveChild()) << "the second time only raises it";
    EXPECT_EQ(1, pTrades->GetWindowCount());

    // The odd lots still there: only the regular table is made again.
    app.RemoveTable(&pTrades);
    app.RunCommand(ID_APP_KSE_TIME_SALES);
    app.RunCommand(ID_APP_FWD_RULES);
    EXPECT_EQ((std::vector<std::string>{"made 52112", "made 52113", "made 52119", "made 52112", "made 52171"}), s_calls);
    PumpFor(300);
    EXPECT_EQ(2, CountReceived("&TE|", "||") - nTradesBefore) << "one first request per table made";
    EXPECT_EQ(1, CountReceived("&FE|"));
    EXPECT_EQ(1, CountReceived("&FR|", "||||0")) << "the rules in the user's language";

    // A table whose class is not there: nothing opens and nothing is asked.
    RegisterTableMaker(52119, nullptr);
    IDataTable* pForward = app.FindTable(52119);
    app.RemoveTable(&pForward);
    app.RunCommand(ID_APP_FWD_TIME_SALES);
    EXPECT_EQ(nullptr, app.FindTable(52119));
    PumpFor(200);
    EXPECT_EQ(1, CountReceived("&FE|"));
}

TEST_F(MarketSessionFixture, MarketMenusHoldElevenItemsAndAreReplacedByTheNextList)
{
    ASSERT_NO_FATAL_FAILURE(StartTrader({}));
    CZORVAT32App& app = run.App();
    HMENU hMain = ::GetMenu(app.GetMainFrame()->m_hWnd);
    HMENU hMarketsMenu = GetSubMenu(hMain, 7);
    int nPos = -1, nPopups = 0;
    HMENU hSchedules = FindPopup(hMarketsMenu, Text(IDS_MARKETS_MENU), &nPos, &nPopups);
    ASSERT_NE(nullptr, hSchedules) << "built when the market list arrived";
    CArray<int, int> codes;
    GetGlobals()->GetMarketCodes(codes);
    EXPECT_EQ(codes.GetSize() + 2, GetMenuItemCount(hSchedules)) << "each market, a separator, all markets";

    // A second list of fifteen markets: one popup still, with the eleven the ids allow.
    std::vector<std::string> lines = {"~XC|90|XC||0|0|0|0|0"};
    for (int i = 0; i < 15; ++i) {
        const std::string strName = "M" + std::to_string(i);
        lines.push_back(strName + "|Market " + std::to_string(i) + "|" + strName + "|" + strName + "|1|0|0|0|0|0|0|0|" +
                        std::to_string(1 << i) + "|Market " + std::to_string(i) + "|" + strName + "|0|0|0|0|0|0|0|0");
    }
    lines.push_back("~EN|90|XC|0");
    for (const std::string& line : lines)
        app.GetDispatcher().OnServerMessage(line.c_str());
    GetGlobals()->GetMarketCodes(codes);
    ASSERT_EQ(15, codes.GetSize());
    hSchedules = FindPopup(hMarketsMenu, Text(IDS_MARKETS_MENU), &nPos, &nPopups);
    ASSERT_NE(nullptr, hSchedules);
    EXPECT_EQ(1, nPopups);
    EXPECT_EQ(13, GetMenuItemCount(hSchedules));
    EXPECT_EQ(static_cast<UINT>(ID_APP_MARKET_LAST), GetMenuItemID(hSchedules, 10));
    EXPECT_EQ(static_cast<UINT>(ID_APP_MARKET_ALL), GetMenuItemID(hSchedules, 12));

    // Fifteen tickers: eleven items after a separator, twice built and one popup.
    app.RemoveAllTickers();
    for (int i = 0; i < 15; ++i)
        app.AddTicker(("T" + std::to_string(i)).c_str());
    app.BuildMarketMenus();
    app.BuildMarketMenus();
    HMENU hView = GetSubMenu(hMain, 9);
    HMENU hTickers = FindPopup(hView, Text(IDS_TICKERS_MENU), &nPos, &nPopups);
    ASSERT_NE(nullptr, hTickers);
    EXPECT_EQ(1, nPopups);
    EXPECT_EQ(4, nPos);
    EXPECT_EQ(0u, GetMenuItemID(hView, 3)) << "a separator before it";
    EXPECT_EQ(11, GetMenuItemCount(hTickers));
    EXPECT_EQ(static_cast<UINT>(ID_APP_TICKER_FIRST), GetMenuItemID(hTickers, 0));
    EXPECT_EQ(static_cast<UINT>(ID_APP_TICKER_LAST), GetMenuItemID(hTickers, 10));
}

// Two markets the user may see with one name in the interface language: each menu item, each
// ticker's own mark and its close act on that item's own ticker.
TEST_F(MarketSessionFixture, TickersOfOneNameAreEachTheirOwn)
{
    ASSERT_NO_FATAL_FAILURE(StartTrader({}));
    CZORVAT32App& app = run.App();
    auto sendTwins = [&] {
        for (const char* pszLine : {"~XC|91|XC||0|0|0|0|0", "TW1|Twin|TW1|TW1|1|0|0|0|0|0|0|0|2|Twin|TW1|0|0|0|0|0|0|0|0",
                                    "TW2|Twin|TW2|TW2|1|0|0|0|0|0|0|0|4|Twin|TW2|0|0|0|0|0|0|0|0", "~EN|91|XC|0"})
            app.GetDispatcher().OnServerMessage(pszLine);
    };
    sendTwins();
    ASSERT_EQ(2, app.GetTickerCount());
    ASSERT_EQ(app.GetTickerName(0), app.GetTickerName(1));
    auto shown = [&] {
        std::string strShown;
        for (int i = 0; i < 2; ++i) {
            int nCheck = -1;
            Enabled(app, ID_APP_TICKER_FIRST + i, &nCheck);
            CTickerWnd* pTicker = app.GetTickerWindowAt(i);
            strShown += pTicker == nullptr ? "-" : pTicker->IsDocked() ? "docked" : "floating";
            strShown += nCheck == 1 ? "+ " : " ";
        }
        return strShown;
    };
    ASSERT_EQ("- - ", shown());
    ASSERT_TRUE(app.RunCommand(ID_APP_TICKER_FIRST + 1));
    EXPECT_EQ("- docked+ ", shown());
    ASSERT_TRUE(app.RunCommand(ID_APP_TICKER_FIRST));
    ASSERT_EQ("docked+ docked+ ", shown());
    app.GetTickerWindowAt(1)->SetCommandPending(TRUE);
    ASSERT_TRUE(app.RunCommand(ID_APP_TICKER_FLOAT));
    ASSERT_EQ("docked+ floating+ ", shown());
    // The second closed from its own window: the removal comes once its message is done.
    app.GetTickerWindowAt(1)->SendMessage(WM_CLOSE);
    PumpFor(100);
    EXPECT_EQ("docked+ - ", shown());
    ASSERT_TRUE(app.RunCommand(ID_APP_TICKER_FIRST));
    EXPECT_EQ("- - ", shown());
    // A new market list takes both windows away.
    ASSERT_TRUE(app.RunCommand(ID_APP_TICKER_FIRST));
    ASSERT_TRUE(app.RunCommand(ID_APP_TICKER_FIRST + 1));
    ASSERT_EQ("docked+ docked+ ", shown());
    const HWND hFirst = app.GetTickerWindowAt(0)->m_hWnd, hSecond = app.GetTickerWindowAt(1)->m_hWnd;
    sendTwins();
    EXPECT_FALSE(::IsWindow(hFirst));
    EXPECT_FALSE(::IsWindow(hSecond));
    EXPECT_EQ("- - ", shown());
}

TEST(MarketMenusArabic, ArabicTitlesFindTheirPopupsAgain)
{
    CTestServer server;
    ASSERT_TRUE(server.Start());
    CTerminalRun run(/*bArabic=*/true);
    ASSERT_TRUE(run.StartLoggedIn(server.Port(), "trader", "secret"));
    CZORVAT32App& app = run.App();
    app.BuildMarketMenus();
    HMENU hMain = ::GetMenu(app.GetMainFrame()->m_hWnd);
    int nPos = -1, nPopups = 0;
    EXPECT_NE(nullptr, FindPopup(GetSubMenu(hMain, 7), Text(IDS_MARKETS_MENU), &nPos, &nPopups));
    EXPECT_EQ(1, nPopups);
    EXPECT_NE(nullptr, FindPopup(GetSubMenu(hMain, 9), Text(IDS_TICKERS_MENU), &nPos, &nPopups));
    EXPECT_EQ(1, nPopups);
    run.Close();
}

namespace {

// A form view that goes with its window, as the forms of the layers above do.
class CHeapFormView : public CWnd
{
public:
    static int s_nMade;
    static CWnd* Make(UINT)
    {
        ++s_nMade;
        return new CHeapFormView;
    }
    BOOL Create(LPCSTR, LPCSTR pszName, DWORD dwStyle, const RECT&, CWnd* pParent, UINT nId,
                CCreateContext* pContext) override
    {
        return CWnd::Create("STATIC", pszName, dwStyle, CRect(0, 0, 200, 100), pParent, nId, pContext);
    }

protected:
    void PostNcDestroy() override { delete this; }
};
int CHeapFormView::s_nMade = 0;

}  // namespace

TEST_F(MarketSessionFixture, FormWindowsAreMadeOnceFromTheirMakersAndReused)
{
    ASSERT_NO_FATAL_FAILURE(StartTrader({}));
    CZORVAT32App& app = run.App();
    RegisterFormMaker(7117, &CHeapFormView::Make);
    CHeapFormView::s_nMade = 0;
    CFormMDIWnd* pForm = nullptr;
    app.OpenFormWindow(&pForm, 7117);
    ASSERT_NE(nullptr, pForm);
    ASSERT_NE(nullptr, pForm->GetView());
    CFormMDIWnd* pOther = nullptr;
    app.OpenFormWindow(&pOther, 7999);
    ASSERT_NE(nullptr, pOther);
    EXPECT_EQ(nullptr, pOther->GetView()) << "an id without a maker gets the empty frame";
    EXPECT_EQ(pOther, ActiveChild());

    CFormMDIWnd* pFirst = pForm;
    app.OpenFormWindow(&pForm, 7117);
    EXPECT_EQ(pFirst, pForm);
    EXPECT_EQ(pForm, ActiveChild()) << "an open form is raised again";
    EXPECT_EQ(1, CHeapFormView::s_nMade);

    pForm->DestroyWindow();
    EXPECT_EQ(nullptr, pForm);
    app.OpenFormWindow(&pForm, 7117);
    EXPECT_EQ(2, CHeapFormView::s_nMade);
    RegisterFormMaker(7117, nullptr);
    pForm->DestroyWindow();
    pOther->DestroyWindow();
}

TEST_F(MarketSessionFixture, WorkspaceBringsBackEveryTablesWindowsAndLogSettings)
{
    ASSERT_NO_FATAL_FAILURE(StartTrader({52171, 51960}));
    CZORVAT32App& app = run.App();
    app.RunCommand(ID_APP_FWD_RULES);
    IDataTable* pRules = app.FindTable(52171);
    ASSERT_NE(nullptr, pRules);
    ASSERT_NE(nullptr, pRules->OpenWindow(TRUE));
    IDataTable* pNews = app.FindTable(51960);
    ASSERT_NE(nullptr, pNews);
    CNorvApp::ShowTable(pNews);
    app.SaveWorkspace();

    s_calls.clear();
    app.LoadWorkspace(app.GetWorkspaceFile(), TRUE);
    EXPECT_EQ(2, pRules->GetWindowCount());
    EXPECT_TRUE(pRules->GetMainWindow()->IsWindowVisible());
    EXPECT_TRUE(pRules->FindWindowByView(1)->IsWindowVisible());
    EXPECT_EQ(1, CountCalls("log 52171 in " + std::string(pRules->GetName()))) << "each table in its own section";
    EXPECT_EQ(1, CountCalls("request 51960 0 -")) << "the news shown again asks for its stories";

    // Hidden news asks for nothing.
    pNews->CloseAllWindows();
    app.SaveWorkspace();
    s_calls.clear();
    app.LoadWorkspace(app.GetWorkspaceFile(), TRUE);
    EXPECT_EQ(0, CountCalls("request 51960 0 -"));
}

namespace {

// The pause lock's dialog as a double: the password it was given, and the answer it gives.
std::string s_strPausePassword;
int s_nPauseAnswer = IDOK;

int RunPauseLockDouble(HWND, LPCSTR pszPassword)
{
    s_strPausePassword = pszPassword != nullptr ? pszPassword : "";
    return s_nPauseAnswer;
}

// The popup of the main menu that holds nId now.
HMENU PopupHolding(CZORVAT32App& app, UINT nId)
{
    HMENU hMain = ::GetMenu(app.GetMainFrame()->m_hWnd);
    for (int i = 0; i < GetMenuItemCount(hMain); ++i) {
        HMENU hPopup = GetSubMenu(hMain, i);
        for (int n = 0; hPopup != nullptr && n < GetMenuItemCount(hPopup); ++n)
            if (GetMenuItemID(hPopup, n) == nId)
                return hPopup;
    }
    return nullptr;
}

std::vector<UINT> PopupIds(HMENU hPopup)
{
    std::vector<UINT> ids;
    for (int n = 0; n < GetMenuItemCount(hPopup); ++n)
        ids.push_back(GetMenuItemID(hPopup, n));
    return ids;
}

void PopUp(CZORVAT32App& app, HMENU hPopup)
{
    app.GetMainFrame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), 0);
}

}  // namespace

TEST_F(MarketSessionFixture, MenuLosesTheMarginItemWithoutMarginAndTheRemovedItemsForGood)
{
    ASSERT_NO_FATAL_FAILURE(StartTrader({}));
    CZORVAT32App& app = run.App();
    HMENU hAccount = PopupHolding(app, 33311);
    ASSERT_NE(nullptr, hAccount);
    HMENU hUs = PopupHolding(app, 33337);
    ASSERT_NE(nullptr, hUs);
    const int nUsItems = GetMenuItemCount(hUs);
    PopUp(app, hAccount);
    // The trader's account reports stay; the removed items, the margin item and their separators go.
    const std::vector<UINT> ids = PopupIds(hAccount);
    ASSERT_GE(ids.size(), 3u);
    EXPECT_EQ((std::vector<UINT>{33309, 33310, 33313}), std::vector<UINT>(ids.end() - 3, ids.end()))
        << "the trader has no margin value";
    for (UINT nGone : {33311u, 33335u, 33355u})
        EXPECT_EQ(ids.end(), std::find(ids.begin(), ids.end(), nGone)) << nGone;
    PopUp(app, hUs);
    EXPECT_EQ(nUsItems - 1, GetMenuItemCount(hUs));
    PopUp(app, hUs);
    EXPECT_EQ(nUsItems - 1, GetMenuItemCount(hUs)) << "a second pop-up takes nothing more";
    EXPECT_EQ(0u, GetMenuState(::GetMenu(app.GetMainFrame()->m_hWnd), 33337, MF_BYCOMMAND) + 1)
        << "gone from the whole menu";
}

TEST_F(MarketSessionFixture, MarginValueKeepsTheMarginItemAndItsCommandAsksForTheAccount)
{
    const std::vector<std::string> options = {"--accounts", TB_SOURCE_DIR "/tests/app/data/accounts.txt"};
    ASSERT_NO_FATAL_FAILURE(StartAs("margin", "margin1", {57049}, options));
    CZORVAT32App& app = run.App();
    HMENU hAccount = PopupHolding(app, 33311);
    ASSERT_NE(nullptr, hAccount);
    PopUp(app, hAccount);
    const std::vector<UINT> ids = PopupIds(hAccount);
    ASSERT_GE(ids.size(), 3u);
    EXPECT_EQ((std::vector<UINT>{33313, 0, 33311}), std::vector<UINT>(ids.end() - 3, ids.end()));
    for (UINT nGone : {33335u, 33355u})
        EXPECT_EQ(ids.end(), std::find(ids.begin(), ids.end(), nGone)) << "removed: " << nGone;
    EXPECT_EQ(0u, GetMenuState(hAccount, 33311, MF_BYCOMMAND) & MF_GRAYED);
    app.RunCommand(33311);
    app.RunCommand(33311);
    EXPECT_EQ(1, CountCalls("made 57049"));
    EXPECT_EQ(2, CountCalls("request 57049 0 MARG1003")) << "asked again at every use";
    EXPECT_EQ(app.FindTable(57049)->GetMainWindow(), ActiveChild());
}

TEST_F(MarketSessionFixture, NewsOpenersMakeTheirTableOnceAndAskAgainAtEveryUse)
{
    ASSERT_NO_FATAL_FAILURE(StartTrader({57744, 56938, 51960}));
    CZORVAT32App& app = run.App();
    s_calls.clear();
    for (int i = 0; i < 2; ++i) {
        app.RunCommand(33625);
        app.RunCommand(33285);
        app.RunCommand(33193);
    }
    EXPECT_EQ(1, CountCalls("made 57744"));
    EXPECT_EQ(1, CountCalls("made 56938"));
    EXPECT_EQ(0, CountCalls("made 51960")) << "a standing table";
    EXPECT_EQ(2, CountCalls("request 57744"));
    EXPECT_EQ(2, CountCalls("request 56938 0 "));
    EXPECT_EQ(2, CountCalls("request 51960 0 "));
    EXPECT_EQ(app.FindTable(51960)->GetMainWindow(), ActiveChild());
    // The next command goes to the active window as its own.
    app.RunCommand(33616);
    EXPECT_EQ(1, CountCalls("command 40018 to 51960"));
}

TEST_F(MarketSessionFixture, PauseLockKeepsTheSessionOnlyForTheRightPassword)
{
    ASSERT_NO_FATAL_FAILURE(StartTrader({}));
    CZORVAT32App& app = run.App();
    BOOL bEnabled = FALSE;
    ASSERT_TRUE(app.GetCommandState(33048, &bEnabled, nullptr));
    EXPECT_TRUE(bEnabled);
    RegisterPauseLock(&RunPauseLockDouble);   // the tear-down registers the dialog again
    s_nPauseAnswer = IDOK;
    app.RunCommand(33048);
    EXPECT_EQ("secret", s_strPausePassword) << "the session's password";
    EXPECT_TRUE(app.IsLoggedIn());
    s_nPauseAnswer = IDCANCEL;
    app.RunCommand(33048);
    PumpFor(100);
    EXPECT_FALSE(app.IsLoggedIn());
    app.GetCommandState(33048, &bEnabled, nullptr);
    EXPECT_FALSE(bEnabled);
}

TEST_F(MarketSessionFixture, OpenersMakeTheirTablesOnceAndRateCommandsAskAgain)
{
    ASSERT_NO_FATAL_FAILURE(StartTrader({52160, 57396, 57483, 57275, 57256}));
    CZORVAT32App& app = run.App();
    // The books are standing; the openers make them again when they are missing.
    for (UINT nId : {57396, 57483}) {
        IDataTable* pTable = app.FindTable(nId);
        app.RemoveTable(&pTable);
    }
    s_calls.clear();
    const int nInterestBefore = CountReceived("&OI|");
    app.RunCommand(ID_APP_FWD_OPEN_INTEREST);
    app.RunCommand(ID_APP_FWD_OPEN_INTEREST);
    app.RunCommand(ID_APP_INTL_BOOK);
    app.RunCommand(ID_APP_INTL_BOOK_2);
    app.RunCommand(ID_APP_INTL_MM_BOOK);
    EXPECT_EQ((std::vector<std::string>{"made 52160", "made 57396", "made 57483"}), s_calls) << "one table per name";
    EXPECT_EQ(app.FindTable(57483)->GetMainWindow(), ActiveChild());
    PumpFor(300);
    EXPECT_EQ(1, CountReceived("&OI|") - nInterestBefore) << "the first request goes with the table made";

    // The rates are standing: each command asks again and shows them.
    s_calls.clear();
    app.RunCommand(ID_APP_EXCHANGE_RATES);
    EXPECT_EQ(app.FindTable(57275)->GetMainWindow(), ActiveChild());
    app.RunCommand(ID_APP_INTEREST_RATES);
    app.RunCommand(ID_APP_EXCHANGE_RATES);
    EXPECT_EQ((std::vector<std::string>{"request 57275", "request 57256", "request 57275"}), s_calls);
    EXPECT_EQ(app.FindTable(57275)->GetMainWindow(), ActiveChild());
}

TEST_F(MarketSessionFixture, SortCommandsOpenOneMoreQuotationWindowEachSortedItsWay)
{
    ASSERT_NO_FATAL_FAILURE(StartTrader({52114}));
    CZORVAT32App& app = run.App();
    IDataTable* pQuotes = app.FindTable(52114);
    ASSERT_NE(nullptr, pQuotes);
    const int nBefore = pQuotes->GetWindowCount();
    const struct { UINT nId; int nColumn; int nDirection; } expected[] = {
        {ID_APP_KSE_SORT_FIRST, 17, -1}, {ID_APP_KSE_SORT_FIRST + 1, 17, 1}, {ID_APP_KSE_SORT_LAST, 7, -1}};
    int nOpened = 0;
    for (const auto& sort : expected) {
        if (pQuotes->GetWindowCount() >= MAX_TABLE_WINDOWS)
            break;
        app.RunCommand(sort.nId);
        ++nOpened;
        ASSERT_EQ(nBefore + nOpened, pQuotes->GetWindowCount()) << sort.nId << " opens one more window";
        CTableMDIWnd* pWindow = dynamic_cast<CTableMDIWnd*>(ActiveChild());
        ASSERT_NE(nullptr, pWindow);
        ASSERT_NE(pQuotes->GetMainWindow(), pWindow);
        const CSortColumns& keys = pWindow->GetView()->GetSortColumns();
        ASSERT_GE(keys.GetCount(), 1);
        EXPECT_EQ(sort.nColumn, keys.GetAt(0).m_nColumn) << sort.nId;
        EXPECT_EQ(sort.nDirection, keys.GetAt(0).m_nDirection) << sort.nId;
    }
    EXPECT_GE(nOpened, 2);
}

TEST_F(MarketSessionFixture, LookupAndPreferencesFormsOpenOnceEachFromTheMenu)
{
    ASSERT_NO_FATAL_FAILURE(StartTrader({}));
    CZORVAT32App& app = run.App();
    app.RunCommand(33195);
    CMDIChildWnd* pLookup = ActiveChild();
    ASSERT_NE(nullptr, dynamic_cast<CFormMDIWnd*>(pLookup));
    app.RunCommand(40231);
    CMDIChildWnd* pPreferences = ActiveChild();
    ASSERT_NE(nullptr, dynamic_cast<CFormMDIWnd*>(pPreferences));
    EXPECT_NE(pLookup, pPreferences);
    app.RunCommand(33195);
    EXPECT_EQ(pLookup, ActiveChild()) << "the open form is raised, not made again";
}

TEST_F(MarketSessionFixture, ScheduleAndParameterCommandsEachOpenTheirDialog)
{
    ASSERT_NO_FATAL_FAILURE(StartTrader({}));
    CZORVAT32App& app = run.App();
    // Each dialog is told by a control only it has; its OK closes it.
    const struct { UINT nId; int nMark; } dialogs[] = {
        {33215, IDC_SCHEDULE_FIRST_NY}, {33277, IDC_KSE_SCHEDULE_MINUTES}, {33278, IDC_KSE_PARAM_LIMIT_FIRST}};
    for (const auto& dialog : dialogs) {
        EXPECT_TRUE(Enabled(app, dialog.nId)) << dialog.nId;
        run.QueueDialog(dialog.nMark, {});
        run.m_strMarkText = "unseen";
        app.RunCommand(dialog.nId);
        EXPECT_NE("unseen", run.m_strMarkText) << "command " << dialog.nId << " showed no dialog of its own";
    }
}

TEST_F(MarketSessionFixture, ReportCommandsAskBeforeTheirWindowShows)
{
    ASSERT_NO_FATAL_FAILURE(StartTrader({51200, 55335, 56304, 57052, 57054, 57049, 57056, 57744}));
    CZORVAT32App& app = run.App();
    s_askedWhileShown.clear();
    const struct { UINT nCommand, nTable; } cases[] = {{33119, 51200}, {33232, 55335}, {33235, 56304}, {33309, 57052},
                                                      {33310, 57054}, {33311, 57049}, {33313, 57056}};
    for (const auto& c : cases) {
        if (IDataTable* pTable = app.FindTable(c.nTable))
            pTable->CloseAllWindows();
        s_calls.clear();
        app.RunCommand(c.nCommand);
        EXPECT_EQ(1, std::count_if(s_calls.begin(), s_calls.end(),
                                   [&](const std::string& str) { return str.rfind("request " + std::to_string(c.nTable), 0) == 0; }))
            << c.nCommand;
        ASSERT_NE(nullptr, app.FindTable(c.nTable));
        EXPECT_EQ(app.FindTable(c.nTable)->GetMainWindow(), ActiveChild()) << c.nCommand;
    }
    EXPECT_TRUE(s_askedWhileShown.empty()) << s_askedWhileShown.front() << " was asked after it showed";
    // The news list asks once it shows.
    app.RunCommand(33625);
    EXPECT_EQ(std::vector<std::string>{"57744"}, s_askedWhileShown);
}

TEST_F(MarketSessionFixture, SavedWorkspaceBringsBackPagesAndNewsTogetherInTheNextSession)
{
    ASSERT_NO_FATAL_FAILURE(StartTrader({57744, 56915}));
    CZORVAT32App& app = run.App();
    TbWebBrowserUseEngine(FALSE);
    const std::shared_ptr<void> engineBack(nullptr, [](void*) { TbWebBrowserUseEngine(TRUE); });
    app.RunCommand(33180);
    CFormMDIWnd* pPage = app.GetPageWindow("BRIEF_STOCK_TICKER");
    ASSERT_NE(nullptr, pPage);
    pPage->MoveWindow(120, 70, 500, 300);
    app.RunCommand(33625);
    app.RunCommand(33286);
    const std::string strPath = run.Folder() + "/mine.wsp";
    TbQueueTestAnswer({TB_ASK_SAVEFILE, IDOK, strPath});
    app.RunCommand(ID_APP_SAVE_WORKSPACE_AS);
    std::ifstream in(strPath);
    const std::string strText((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(std::string::npos, strText.find("[BRIEF_STOCK_TICKER]")) << "saved while it is open:\n" << strText;

    // A new session has none of them.
    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDYES, ""});
    app.RunCommand(ID_APP_DISCONNECT);
    ASSERT_TRUE(PumpUntil([&] { return !app.IsConnected(); }, 5000));
    run.QueueLogin("trader", "secret");
    app.RunCommand(ID_APP_CONNECT);
    ASSERT_TRUE(run.WaitForLoad()) << run.InfoText();
    ASSERT_EQ(nullptr, app.GetPageWindow("BRIEF_STOCK_TICKER"));
    ASSERT_EQ(nullptr, app.FindTable(57744));

    HWND hFrame = app.GetMainFrame()->m_hWnd;
    s_calls.clear();
    CRedrawWatch redraws(hFrame, [&] {
        CFormMDIWnd* pBack = app.GetPageWindow("BRIEF_STOCK_TICKER");
        return std::string(pBack != nullptr && pBack->IsWindowVisible() ? "page" : "no page");
    });
    TbQueueTestAnswer({TB_ASK_OPENFILE, IDOK, strPath});
    app.RunCommand(ID_APP_OPEN_WORKSPACE);
    redraws.Stop();
    EXPECT_EQ("off (no page)|on (page)|", redraws.Log()) << "the windows appear together";

    pPage = app.GetPageWindow("BRIEF_STOCK_TICKER");
    ASSERT_NE(nullptr, pPage);
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    pPage->GetWindowPlacement(&wp);
    EXPECT_EQ(CRect(120, 70, 620, 370), CRect(wp.rcNormalPosition)) << "at its place";
    EXPECT_TRUE(pPage->IsWindowVisible());
    for (UINT nId : {57744, 56915}) {
        IDataTable* pTable = app.FindTable(nId);
        ASSERT_NE(nullptr, pTable) << nId;
        EXPECT_TRUE(pTable->GetMainWindow()->IsWindowVisible()) << nId;
        EXPECT_EQ(1, CountCalls("request " + std::to_string(nId))) << "it asks for its rows";
    }
}
