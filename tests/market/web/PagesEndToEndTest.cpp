// The web pages end to end, in English and Arabic, against the simulator's web side named by a
// branding file of the test's own: every page command opens its window with its title at its
// address; a second command shows the same window and loads only an address that changed; the
// US and KSE pages of one ticker are two windows; the insider trades' new windows land in their
// hidden companion; closing hides and reopening shows the page as it was; log-off closes them;
// a cancelled ticker choice opens nothing; a headline's click opens its story; what goes into an
// address cannot change its structure, and a quotes page that is no web address opens nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <fstream>
#include <sstream>
#include "MarketSessionSupport.h"
#include "app/AppCommands.h"
#include "app/FormMDIWnd.h"
#include "app/NorvMainFrame.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "app/ViewHtml.h"
#include "app/ZorvatApp.h"
#include "framework/base/SharedGlobals.h"
#include "framework/table/ViewRow.h"
#include "framework/window/TableWindow.h"
#include "market/DataArray.h"
#include "market/NewsBrowserKSETable.h"
#include "market/NewsReaderDlg.h"
#include "market/dialogs/TickerSelectDlg.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/gdi/PixelBuffer.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/TestAnswers.h"
#include "platform/win/user/WebBrowser.h"

namespace {

const char* const s_pszProductHost = "https://pages.zorvatonline.example";

// The product's branding files with the page addresses on the simulator's web side, searched
// before the tree's while the object lives.
class CTestBranding
{
public:
    explicit CTestBranding(int nHttpPort)
    {
        char szDir[] = "/tmp/tb-branding-XXXXXX";
        m_strFolder = mkdtemp(szDir) != nullptr ? szDir : "";
        m_strHost = "http://127.0.0.1:" + std::to_string(nHttpPort);
        for (const char* pszName : {"branding_1252.rc", "branding_1256.rc"}) {
            std::ifstream in(TB_SOURCE_DIR "/resources/" + std::string(pszName));
            std::stringstream text;
            text << in.rdbuf();
            std::string str = text.str();
            for (size_t n; (n = str.find(s_pszProductHost)) != std::string::npos;)
                str.replace(n, strlen(s_pszProductHost), m_strHost);
            std::ofstream(m_strFolder + "/" + pszName) << str;
        }
        // The brand's pictures, where the branding files name them.
        symlink(TB_SOURCE_DIR "/resources/app", (m_strFolder + "/app").c_str());
        TbPutResourcePathFirst(m_strFolder.c_str(), TRUE);
    }
    ~CTestBranding()
    {
        TbPutResourcePathFirst(m_strFolder.c_str(), FALSE);
        for (const char* pszName : {"branding_1252.rc", "branding_1256.rc", "app"})
            unlink((m_strFolder + "/" + pszName).c_str());
        rmdir(m_strFolder.c_str());
    }
    const std::string& Host() const { return m_strHost; }

private:
    std::string m_strFolder;
    std::string m_strHost;
};

std::string LoadText(UINT nId)
{
    CString str;
    GetSharedGlobals()->LoadString(str, nId);
    return static_cast<LPCSTR>(str);
}

std::string Title(CWnd* pWnd)
{
    char sz[256] = "";
    GetWindowTextA(pWnd->m_hWnd, sz, sizeof sz);
    return sz;
}

struct PagesSession : CMarketSession
{
    std::unique_ptr<CTestBranding> pBranding;
    std::string m_strLastSeen;          // where the last page waited for was

    void Start(bool bArabic, const std::vector<std::string>& options = {"--rate", "0"})
    {
        ASSERT_TRUE(server.Start(options));
        pBranding = std::make_unique<CTestBranding>(server.HttpPort());
        pRun = std::make_unique<CTerminalRun>(bArabic);
        TbWebBrowserUseEngine(TRUE);
        ASSERT_TRUE(pRun->StartLoggedIn(server.Port(), "trader", "secret"));
    }
    void TearDown() override
    {
        CancelDialogStep();
        StopSession();
        pBranding.reset();
    }
    CZORVAT32App& App() { return pRun->App(); }
    // How many times the simulator was asked for the path.
    int Gets(const std::string& strPath) const
    {
        int nCount = 0;
        for (const std::string& line : server.Log())
            nCount += line == "H GET " + strPath + " HTTP/1.1";
        return nCount;
    }
    // The page's view once it shows the address, loaded; null after ten seconds.
    CViewHtml* Loaded(LPCSTR pszPageId, const std::string& strAddress)
    {
        CViewHtml* pView = nullptr;
        PumpUntil([&] {
            pView = App().GetPageView(pszPageId);
            return pView != nullptr && static_cast<LPCSTR>(pView->GetLocationURL()) == strAddress &&
                   pView->GetReadyState() == READYSTATE_COMPLETE;
        });
        m_strLastSeen = pView != nullptr ? static_cast<LPCSTR>(pView->GetLocationURL()) : "no window";
        return m_strLastSeen == strAddress ? pView : nullptr;
    }
    // The command run with the ticker picker answered (null: cancelled); whether the picker came.
    bool RunWithTicker(UINT nCommand, const char* pszTicker)
    {
        RunOnNextDialog(IDC_TICKER_SYMBOL, [pszTicker](HWND hDlg) {
            if (pszTicker == nullptr) {
                SendMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
                return;
            }
            SetDlgItemTextA(hDlg, IDC_TICKER_SYMBOL, pszTicker);
            SendDlgItemMessageA(hDlg, IDC_TICKER_MARKET, CB_SETCURSEL, 0, 0);
            SendMessageA(GetDlgItem(hDlg, IDOK), BM_CLICK, 0, 0);
        });
        App().RunCommand(nCommand);
        const bool bRan = DialogStepRan();
        CancelDialogStep();
        return bRan;
    }
};

struct PagesEndToEnd : PagesSession, ::testing::WithParamInterface<bool>
{
};

}  // namespace

TEST_P(PagesEndToEnd, EveryPageCommandOpensItsWindowAndComesBackAsItWas)
{
    Start(GetParam());
    // Each command, the page it opens, its title, the ticker typed and where it goes.
    const struct { UINT nCommand; LPCSTR pszPageId; UINT nTitleId; const char* pszTicker; const char* pszPath; } pages[] = {
        {33180, "BRIEF_STOCK_TICKER", 55280, nullptr, "/brief/stock-ticker"},
        {33181, "BRIEF_STORY_STOCKS", 55281, nullptr, "/brief/story-stocks"},
        {33182, "BRIEF_SECTOR_RATINGS", 55282, nullptr, "/brief/sector-ratings"},
        {33183, "BRIEF_MARKET_CALENDAR", 55283, nullptr, "/brief/market-calendar"},
        {33184, "BRIEF_UPGRADES_DOWNGRADES", 55284, nullptr, "/brief/upgrades-downgrades"},
        {33185, "BRIEF_SPLITS_CALENDAR", 55285, nullptr, "/brief/splits-calendar"},
        {33290, "BRIEF_STOCK_TICKER_KSE", 55443, nullptr, "/brief/stock-ticker?market=kse"},
        {33291, "BRIEF_STORY_STOCKS_KSE", 55444, nullptr, "/brief/story-stocks?market=kse"},
        {33292, "BRIEF_SECTOR_RATINGS_KSE", 55445, nullptr, "/brief/sector-ratings?market=kse"},
        {33293, "BRIEF_MARKET_CALENDAR_KSE", 55446, nullptr, "/brief/market-calendar?market=kse"},
        {33294, "BRIEF_UPGRADES_DOWNGRADES_KSE", 55447, nullptr, "/brief/upgrades-downgrades?market=kse"},
        {33295, "BRIEF_SPLITS_CALENDAR_KSE", 55448, nullptr, "/brief/splits-calendar?market=kse"},
        {33189, "ZACKS_EARNINGS_CALENDAR", 55289, nullptr, "/calendar"},
        {33315, "TechnicalCharting", 55455, nullptr, "/charting"},
        {33186, "ZACKS_COMPANY_PROFILE", 55286, "ALPN", "/research/profile?symbol=ALPN"},
        {33296, "ZACKS_COMPANY_PROFILE_KSE", 55449, "GHB", "/research/profile?symbol=GHB&market=kse"},
        {33188, "ZACKS_RESEARCH", 55288, "ALPN", "/research/research?symbol=ALPN"},
        {33297, "ZACKS_RESEARCH_KSE", 55451, "GHB", "/research/research?symbol=GHB&market=kse"},
        {33187, "ZACKS_INSIDER_TRADES", 55287, "ALPN", "/research/insider?symbol=ALPN"},
        {33298, "ZACKS_INSIDER_TRADES_KSE", 55450, "GHB", "/research/insider?symbol=GHB&market=kse"},
    };
    const std::string& strHost = pBranding->Host();
    for (const auto& page : pages) {
        SCOPED_TRACE(page.pszPageId);
        if (page.pszTicker != nullptr)
            EXPECT_TRUE(RunWithTicker(page.nCommand, page.pszTicker)) << "the ticker is asked for";
        else
            App().RunCommand(page.nCommand);
        CViewHtml* pView = Loaded(page.pszPageId, strHost + page.pszPath);
        ASSERT_NE(nullptr, pView) << m_strLastSeen;
        CFormMDIWnd* pFrame = App().GetPageWindow(page.pszPageId);
        EXPECT_EQ(LoadText(page.nTitleId), Title(pFrame));
        EXPECT_TRUE(pFrame->IsWindowVisible());
        EXPECT_EQ(1, Gets(page.pszPath));
    }
    // The US and KSE profiles of one ticker stand in two windows.
    EXPECT_NE(App().GetPageWindow("ZACKS_COMPANY_PROFILE"), App().GetPageWindow("ZACKS_COMPANY_PROFILE_KSE"));
    // The page that opens a window of the calendar, the second command of the earnings calendar.
    CFormMDIWnd* pCalendar = App().GetPageWindow("ZACKS_EARNINGS_CALENDAR");
    App().RunCommand(33299);
    EXPECT_EQ(pCalendar, App().GetPageWindow("ZACKS_EARNINGS_CALENDAR"));

    // Again, unchanged: the same window comes to the front and nothing loads again.
    CFormMDIWnd* pProfile = App().GetPageWindow("ZACKS_COMPANY_PROFILE");
    const std::string strProfile = "/research/profile?symbol=ALPN";
    pProfile->SendMessage(WM_CLOSE);
    EXPECT_FALSE(pProfile->IsWindowVisible()) << "closing hides";
    ASSERT_TRUE(RunWithTicker(33186, "ALPN"));
    EXPECT_EQ(pProfile, App().GetPageWindow("ZACKS_COMPANY_PROFILE"));
    EXPECT_TRUE(pProfile->IsWindowVisible());
    EXPECT_EQ(pProfile, App().GetMainFrame()->MDIGetActive());
    PumpFor(300);
    EXPECT_EQ(1, Gets(strProfile)) << "an unchanged page is not loaded again";
    // Led elsewhere, it goes back to its page.
    App().GetPageView("ZACKS_COMPANY_PROFILE")->Navigate2((strHost + "/charting").c_str());
    ASSERT_NE(nullptr, Loaded("ZACKS_COMPANY_PROFILE", strHost + "/charting"));
    ASSERT_TRUE(RunWithTicker(33186, "ALPN"));
    ASSERT_NE(nullptr, Loaded("ZACKS_COMPANY_PROFILE", strHost + strProfile));
    EXPECT_EQ(2, Gets(strProfile));
    // Another ticker goes to its own page in the same window.
    ASSERT_TRUE(RunWithTicker(33186, "PRSM"));
    ASSERT_NE(nullptr, Loaded("ZACKS_COMPANY_PROFILE", strHost + "/research/profile?symbol=PRSM"));
    EXPECT_EQ(pProfile, App().GetPageWindow("ZACKS_COMPANY_PROFILE"));
    // A cancelled choice opens nothing and leaves the page.
    ASSERT_TRUE(RunWithTicker(33188, nullptr));
    ASSERT_TRUE(RunWithTicker(33187, nullptr));
    PumpFor(200);
    EXPECT_EQ(1, Gets("/research/research?symbol=ALPN"));

    // The insider trades' companion stands hidden; a window the page opens lands in it.
    CFormMDIWnd* pCompanion = App().GetPageWindow("ZACKS_INSIDER_TRADES_C");
    ASSERT_NE(nullptr, pCompanion);
    EXPECT_FALSE(pCompanion->IsWindowVisible());
    EXPECT_EQ(LoadText(55320), Title(pCompanion));
    ASSERT_NE(nullptr, App().GetPageWindow("ZACKS_INSIDER_TRADES_C_KSE"));
    EXPECT_NE(nullptr, App().GetPageWindow("ZACKS_EARNINGS_CALENDAR_C"));
    App().GetPageView("ZACKS_INSIDER_TRADES")->Navigate2((strHost + "/popup").c_str());
    ASSERT_NE(nullptr, Loaded("ZACKS_INSIDER_TRADES_C", strHost + "/calendar/week"));
    EXPECT_TRUE(pCompanion->IsWindowVisible());
    // A page without a companion opens no window.
    App().GetPageView("TechnicalCharting")->Navigate2((strHost + "/popup").c_str());
    ASSERT_NE(nullptr, Loaded("TechnicalCharting", strHost + "/popup"));
    PumpFor(300);
    EXPECT_EQ(1, Gets("/calendar/week"));

    // A research page in its frame, for the eye.
    RunWithTicker(33188, "ALPN");
    CFormMDIWnd* pResearch = App().GetPageWindow("ZACKS_RESEARCH");
    ASSERT_NE(nullptr, Loaded("ZACKS_RESEARCH", strHost + "/research/research?symbol=ALPN"));
    PumpFor(300);
    EXPECT_TRUE(TbSaveWindowPng(pResearch->m_hWnd, ScreenshotPath(GetParam() ? "page_research_ar" : "page_research_en").c_str()));
    EXPECT_TRUE(TbSaveWindowPng(App().GetMainFrame()->m_hWnd,
                                ScreenshotPath(GetParam() ? "page_research_terminal_ar" : "page_research_terminal_en").c_str()));

    // Log-off: the pages go with the session, companions too.
    App().Logoff();
    for (const auto& page : pages)
        EXPECT_EQ(nullptr, App().GetPageWindow(page.pszPageId)) << page.pszPageId;
    EXPECT_EQ(nullptr, App().GetPageWindow("ZACKS_INSIDER_TRADES_C"));
}

TEST_P(PagesEndToEnd, TheNewsReaderShowsAStoryAndRunsNothingOfIt)
{
    Start(GetParam());
    // A story in the interface's language holding a picture from the simulator and a script.
    const UINT nCodePage = GetParam() ? 1256 : 1252;
    const std::string strHeadline = GetParam() ? "أرباح البنك ترتفع" : "The bank's profit rises";
    const std::string strText = GetParam() ? "ارتفع صافي الربح بنسبة عشرة في المئة." : "Net profit rose ten per cent.";
    const std::string strBody = TbUtf8ToCodePage("<h2>" + strHeadline + "</h2><p>" + strText + "</p><img src=\"" +
                                                     pBranding->Host() + "/image.png\"><script>document.title = " +
                                                     "'script ran'; document.body.innerHTML = '';</script>", nCodePage);
    App().OpenNewsStory(strBody.c_str(), TbUtf8ToCodePage(strHeadline, nCodePage).c_str(), "https://example.com/story");
    CFormMDIWnd* pForm = App().GetNewsReaderForm();
    ASSERT_NE(nullptr, pForm);
    auto* pReader = dynamic_cast<CNewsReaderDlg*>(pForm->GetView());
    ASSERT_NE(nullptr, pReader);
    const HWND hBrowser = pReader->GetPage().GetBrowserWindow();
    EXPECT_TRUE(WebBrowser_HasEngine(hBrowser));
    ASSERT_TRUE(PumpUntil([&] { return WebBrowser_GetReadyState(hBrowser) == READYSTATE_COMPLETE; }));
    PumpFor(500);
    EXPECT_NE("script ran", WebBrowser_GetTitle(hBrowser));
    EXPECT_EQ(0, Gets("/image.png")) << "nothing is fetched for a story";
    EXPECT_EQ(strBody, pReader->GetPage().GetDocument());
    // Its text is on the page: dark pixels in the picture of the browser, once the engine has
    // drawn it (long after the page is complete on a loaded machine).
    const std::string strShot = ScreenshotPath(GetParam() ? "news_reader_page_ar" : "news_reader_page_en");
    const auto Ink = [&] {
        CTbPixelBuffer image;
        if (!TbSaveWindowPng(hBrowser, strShot.c_str()) || !TbGetImageCodec()->Load(strShot.c_str(), &image, nullptr))
            return 0;
        int nInk = 0;
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x)
                nInk += (image.Row(y)[x] & 0xFF) < 0x60;
        return nInk;
    };
    int nInk = Ink();
    for (int nTry = 0; nTry < 100 && nInk <= 50; ++nTry) {
        PumpFor(200);
        nInk = Ink();
    }
    EXPECT_GT(nInk, 50) << "the story's text shows";
    EXPECT_TRUE(TbSaveWindowPng(pForm->m_hWnd, ScreenshotPath(GetParam() ? "news_reader_engine_ar" : "news_reader_engine_en").c_str()));
}

INSTANTIATE_TEST_SUITE_P(Languages, PagesEndToEnd, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Arabic" : "English"; });

TEST_F(PagesSession, WhatGoesIntoAnAddressStaysText)
{
    Start(false);
    const std::string& strHost = pBranding->Host();
    // The symbol and story openers with texts that would change an address's structure.
    const struct { const char* pszText; LPCSTR pszPageId; const char* pszPath; const char* pszTitle; } cases[] = {
        {"A&B", "ZACKS_COMPANY_PROFILE", "/research/profile?symbol=A%26B", "Company profile A&B"},
        {"BRK B", "ZACKS_COMPANY_PROFILE", "/research/profile?symbol=BRK%20B", "Company profile BRK B"},
        {"x#y", "ZACKS_COMPANY_PROFILE", "/research/profile?symbol=x%23y", "Company profile x#y"},
        {"5001&market=kse", "NewsPageWindow", "/story?id=5001%26market%3Dkse", "No such story"},
        {"5001", "NewsPageWindow", "/story?id=5001", "KSE opens the week steady"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszText);
        if (strcmp(c.pszPageId, "NewsPageWindow") == 0)
            App().OpenNewsPage(c.pszText);
        else
            App().OpenCompanyProfile(c.pszText);
        // The simulator is asked for the address as it was made; its page shows the text as given.
        EXPECT_TRUE(PumpUntil([&] { return Gets(c.pszPath) == 1; })) << c.pszPath;
        EXPECT_TRUE(PumpUntil([&] {
            CViewHtml* pView = App().GetPageView(c.pszPageId);
            return pView != nullptr && std::string(pView->GetLocationName()) == c.pszTitle;
        })) << c.pszTitle;
    }
    // The order book's two texts, and a story of the KSE.
    App().OpenOrderBookPage("GHB", "2");
    EXPECT_NE(nullptr, Loaded("OrderbookPageWindow", strHost + "/book?symbol=GHB&market=2"));
    App().OpenNewsPageKSE("5002");
    EXPECT_NE(nullptr, Loaded("NewsPageWindow_KSE", strHost + "/story?id=5002&market=kse"));
    // No story, no page.
    App().OpenNewsPage(nullptr);
    EXPECT_NE(nullptr, App().GetPageWindow("NewsPageWindow"));
}

TEST_F(PagesSession, TheQuotesPageOpensOnlyAWebAddressAtItsPlace)
{
    // Two users: one whose quotes page is a file, one a web page.
    char szDir[] = "/tmp/tb-pages-users-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(szDir));
    const std::string strUsers = std::string(szDir) + "/accounts.txt";
    std::ofstream(strUsers)
        << "@user|password|number|account|role|us_level|kse_level|mask|name|pin|value10|value18|value19|value20|text21|text22|quotes\n"
        << "filers|secret|1010|10100|4|10|10|30|File User|1111|1|0|0|0|a|b|file:///etc/passwd\n"
        << "webber|secret|1011|10110|4|10|10|30|Web User|1111|1|0|0|0|a|b|http://127.0.0.1:9/quotes\n";
    ASSERT_TRUE(server.Start({"--rate", "0", "--accounts", strUsers}));
    pBranding = std::make_unique<CTestBranding>(server.HttpPort());
    pRun = std::make_unique<CTerminalRun>(false);
    TbWebBrowserUseEngine(TRUE);
    pRun->m_bCancelUnanswered = true;
    ASSERT_TRUE(pRun->StartLoggedIn(server.Port(), "filers", "secret")) << ServerLines("UL");
    BOOL bEnabled = FALSE;
    App().GetCommandState(33621, &bEnabled, nullptr);
    EXPECT_TRUE(bEnabled);
    App().RunCommand(33621);
    PumpFor(200);
    EXPECT_EQ(nullptr, App().GetPageWindow("USMarketQuotesWindow")) << "a file is no page";

    pRun.reset();
    pRun = std::make_unique<CTerminalRun>(false);
    TbWebBrowserUseEngine(TRUE);
    ASSERT_TRUE(pRun->StartLoggedIn(server.Port(), "webber", "secret"));
    App().RunCommand(33621);
    CFormMDIWnd* pQuotes = App().GetPageWindow("USMarketQuotesWindow");
    ASSERT_NE(nullptr, pQuotes);
    EXPECT_EQ(LoadText(55463), Title(pQuotes));
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    pQuotes->GetWindowPlacement(&wp);
    EXPECT_EQ(20, wp.rcNormalPosition.left);
    EXPECT_EQ(20, wp.rcNormalPosition.top);
    EXPECT_EQ(670, wp.rcNormalPosition.right);
    EXPECT_EQ(543, wp.rcNormalPosition.bottom);
}

TEST_F(PagesSession, AHeadlineClickOpensItsStory)
{
    // The KSE stories of the first minute are out once the clock has passed it.
    Start(false, {"--rate", "200", "--clock", "2026-12-07 09:30:59"});
    PumpFor(2500);
    ASSERT_TRUE(App().RunCommand(ID_APP_KSE_NEWS_BROWSER));
    CDataTable* pNews = Find<CDataTable>(IDS_TABLE_NEWS_BROWSER_KSE);
    ASSERT_NE(nullptr, pNews);
    ASSERT_TRUE(PumpUntil([&] { return pNews->GetRows()->GetCount() > 0; }, 20000));
    CViewRow row;
    ASSERT_TRUE(pNews->GetMainWindow()->GetView()->GetRow(row, 0));
    CTBString strStory;
    row.GetText(strStory, 0);
    int nHandled = 0;
    pNews->OnCellClick(&row, 2, &nHandled);
    EXPECT_EQ(1, nHandled);
    const std::string strPath = "/story?id=" + std::string(strStory) + "&market=kse";
    EXPECT_NE(nullptr, Loaded("NewsPageWindow_KSE", pBranding->Host() + strPath)) << m_strLastSeen;
    EXPECT_EQ(1, Gets(strPath));
}

TEST_F(PagesSession, FileOpenTakesAWorkspaceAsARecentFileDoes)
{
    Start(false);
    const std::string strPath = pRun->Folder() + "/other.wsp";
    std::ofstream(strPath) << "[.General]\nAutoSave=No\n";
    const CString strBefore = App().GetWorkspaceFile();
    // No document templates: a new document is nothing.
    EXPECT_TRUE(App().RunCommand(ID_FILE_NEW));
    EXPECT_EQ(strBefore, App().GetWorkspaceFile());
    TbQueueTestAnswer({TB_ASK_OPENFILE, IDCANCEL, ""});
    App().RunCommand(ID_FILE_OPEN);
    EXPECT_EQ(strBefore, App().GetWorkspaceFile()) << "cancelled";
    TbQueueTestAnswer({TB_ASK_OPENFILE, IDOK, strPath});
    App().RunCommand(ID_FILE_OPEN);
    EXPECT_EQ(0, TbPendingTestAnswers());
    EXPECT_EQ(strPath, std::string(App().GetWorkspaceFile()));
    EXPECT_FALSE(App().IsAutoSave()) << "its settings are read";
}

// A page of each kind saved with the workspace comes back on what it was about: none, a ticker,
// a story, the order book's symbol and market.
TEST_F(PagesSession, EveryPageKindComesBackWithTheWorkspaceOnItsOwnTexts)
{
    Start(true);
    const std::string& strHost = pBranding->Host();
    App().RunCommand(33180);
    App().OpenCompanyProfilePage("ALPN", PAGE_MARKET_US);
    App().OpenNewsPage("5001");
    App().OpenOrderBookPage("GHB", "2");
    const struct { LPCSTR pszPageId; const char* pszPath; } pages[] = {
        {"BRIEF_STOCK_TICKER", "/brief/stock-ticker"},
        {"ZACKS_COMPANY_PROFILE", "/research/profile?symbol=ALPN"},
        {"NewsPageWindow", "/story?id=5001"},
        {"OrderbookPageWindow", "/book?symbol=GHB&market=2"},
    };
    for (const auto& page : pages)
        ASSERT_NE(nullptr, Loaded(page.pszPageId, strHost + page.pszPath)) << m_strLastSeen;
    App().SaveWorkspace();
    // The next session opens the user's workspace.
    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDYES, ""});
    App().RunCommand(ID_APP_DISCONNECT);
    ASSERT_TRUE(PumpUntil([&] { return !App().IsConnected(); }, 5000));
    pRun->QueueLogin("trader", "secret");
    App().RunCommand(ID_APP_CONNECT);
    ASSERT_TRUE(pRun->WaitForLoad());
    for (const auto& page : pages)
        EXPECT_NE(nullptr, Loaded(page.pszPageId, strHost + page.pszPath)) << m_strLastSeen;
}
