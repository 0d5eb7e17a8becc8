// The US news and the company news end to end: the terminal logs in as the trader against the
// test server and opens them through their commands, in English and in Arabic. The news asks
// for every US story, a click opens a story's page, and an empty reply to a symbol closes the
// window with a word in the information window; the company news asks through its dialog,
// which narrows the market's symbols as a part of one is typed, and takes only its own replies.
#include <gtest/gtest.h>
#include <fstream>
#include <memory>
#include <cstring>
#include <string>
#include "tests/app/AppTestSupport.h"
#include "tests/app/TerminalRun.h"
#include "app/AppCommands.h"
#include "app/FormMDIWnd.h"
#include "app/NewsPages.h"
#include "app/StockActions.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "framework/base/NorvGlobals.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "market/CompanyNewsTable.h"
#include "market/DataArray.h"
#include "market/ListNewsTable.h"
#include "market/NewsReaderDlg.h"
#include "market/NewsTable.h"
#include "market/dialogs/CompanyNewsDlg.h"
#include "platform/mfc/CmdTarget.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/user/Controls.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/market/MarketSessionSupport.h"

namespace {

// The server's data with three US stories out at its clock's first minute change (a second after
// its start), and a US symbol starting with "." whose name holds the typed text.
std::string DataWithStories()
{
    const std::string strData = CopyServerData("tb-company-news");
    if (strData.empty())
        return "";
    std::ofstream news(strData + "/market/news.txt", std::ios::app);
    news << "5951|0|0|8|ALPN|Alpine Networks opens a lab|The lab will test coastal links.\n"
         << "5952|0|0|4|PRSM|Prismatic Labs hires|The company added forty engineers.\n"
         << "5953|0|0|8|BRKT|Brookton Motors recalls a model|The recall covers one year's cars.\n";
    std::ofstream symbols(strData + "/market/us_symbols.txt", std::ios::app);
    symbols << ".ALPX|8|Alpine Index|مؤشر ألباين|10.00|0|0|0\n";
    return strData;
}

// Text typed into a combo box's edit part, as the edit tells its box.
void TypeInto(HWND hDlg, int nId, const char* pszText)
{
    HWND hEdit = GetWindow(GetDlgItem(hDlg, nId), GW_CHILD);
    ASSERT_NE(nullptr, hEdit);
    SetFocus(hEdit);
    SetWindowTextA(hEdit, pszText);
    const int nEnd = static_cast<int>(strlen(pszText));
    SendMessageA(hEdit, EM_SETSEL, static_cast<WPARAM>(nEnd), nEnd);
}

void SaveDialogPicture(HWND hDlg, const std::string& strName)
{
    UpdateWindow(hDlg);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    EXPECT_TRUE(TbSaveWindowPng(hDlg, ScreenshotPath(strName).c_str()));
}

// The story pages asked for.
struct CPagesDouble : INewsPages
{
    std::vector<std::string> pages;
    void OpenNewsPage(LPCSTR pszStoryId) override { pages.emplace_back(pszStoryId); }
    void OpenNewsPageKSE(LPCSTR) override {}
};

struct CompanyNewsSession : CMarketSession
{
    CPagesDouble pagesDouble;

    void Start(bool bArabic)
    {
        strData = DataWithStories();
        ASSERT_FALSE(strData.empty());
        ASSERT_TRUE(StartSession({"--rate", "200", "--data", strData, "--clock", "2026-12-07 09:30:59"}, bArabic));
        SetNewsPages(&pagesDouble);
    }
    void TearDown() override
    {
        SetNewsPages(nullptr);
        CancelDialogStep();
        StopSession();
    }
    static std::string Column(const CDataArray& rows, int nCol)
    {
        std::string strText;
        for (int i = 0; i < rows.GetCount(); ++i)
            strText += (i > 0 ? "," : "") + std::string(rows.GetAt(i)->GetText(nCol));
        return strText;
    }
    static std::string Title(CDataTable* pTable)
    {
        char sz[200] = "";
        GetWindowTextA(pTable->GetMainWindow()->m_hWnd, sz, sizeof sz);
        return sz;
    }
    // The items of a combo box joined with "|".
    static std::string ComboItems(HWND hDlg, int nId)
    {
        std::string strItems;
        const int nCount = static_cast<int>(SendDlgItemMessageA(hDlg, nId, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < nCount; ++i) {
            char sz[200] = "";
            SendDlgItemMessageA(hDlg, nId, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(sz));
            strItems += (i > 0 ? "|" : "") + std::string(sz);
        }
        return strItems;
    }
    static std::string Text(UINT nId) { return static_cast<LPCSTR>(LoadMarketText(nId)); }
    // A click on a shown row's cell, as the grid reports it.
    static int Click(CDataTable* pTable, int nRow, int nCol)
    {
        CViewRow row;
        if (!pTable->GetMainWindow()->GetView()->GetRow(row, nRow))
            return -1;
        int nHandled = 0;
        pTable->OnCellClick(&row, nCol, &nHandled);
        return nHandled;
    }

    void CheckNews(const std::string& strLanguage)
    {
        // The stories come out at the server's first minute change: the news list, live, shows when.
        ASSERT_TRUE(pRun->App().RunCommand(ID_APP_NEWS_LIST));
        CListNewsTable* pList = Find<CListNewsTable>(IDS_TABLE_NEWS_LIST);
        ASSERT_NE(nullptr, pList);
        ASSERT_TRUE(PumpUntil([&] { return pList->IsComplete() && pList->GetRows()->FindRow({"5953", "0"}) != nullptr; },
                              20000));
        ASSERT_TRUE(pRun->App().RunCommand(ID_APP_NEWS));
        CNewsTable* pNews = Find<CNewsTable>(IDS_TABLE_NEWS);
        ASSERT_NE(nullptr, pNews);
        const CDataArray& rows = *pNews->GetRows();
        ASSERT_TRUE(PumpUntil([&] { return pNews->IsComplete() && !pNews->IsReceiving() && rows.GetCount() >= 3; }))
            << rows.GetCount() << " " << pNews->IsComplete() << pNews->IsReceiving() << "\n" << ServerLines("NN")
            << ServerLines("EN");
        ASSERT_FALSE(Requests("NN").empty());
        EXPECT_NE(nullptr, rows.FindRow({"5951"})) << Column(rows, 0);
        EXPECT_EQ(Text(IDS_TITLE_NEWS), Title(pNews));
        EXPECT_TRUE(pNews->GetMainWindow()->IsWindowVisible());
        Shoot(pNews, "market_news_" + strLanguage);

        // Any cell of a story opens its page.
        CNorvApp::ShowTable(pNews);
        ASSERT_EQ(1, Click(pNews, 0, 2));
        ASSERT_EQ(1u, pagesDouble.pages.size());
        EXPECT_NE(nullptr, rows.FindRow({pagesDouble.pages[0].c_str()})) << pagesDouble.pages[0];

        // One symbol's stories: the title names it.
        ASSERT_TRUE(pNews->SendRequestFor(0, "BRKT"));
        ASSERT_TRUE(PumpUntil([&] { return !pNews->IsRequestPending() && Column(rows, 0) == "5953"; }))
            << Column(rows, 0);
        CString strTitle;
        strTitle.Format(LoadMarketText(IDS_NEWS_TITLE_SYMBOL), "BRKT");
        EXPECT_EQ(std::string(strTitle), Title(pNews));
        EXPECT_TRUE(pNews->GetMainWindow()->IsWindowVisible());

        // A symbol without stories: the window closes and the information window says so.
        CNorvApp::ShowTable(pNews);
        ASSERT_TRUE(pNews->SendRequestFor(0, "ZZZZ"));
        ASSERT_TRUE(PumpUntil([&] { return !pNews->IsRequestPending(); }));
        EXPECT_EQ(0, rows.GetCount());
        EXPECT_FALSE(pNews->GetMainWindow()->IsWindowVisible());
        CString strNone;
        strNone.Format(LoadMarketText(IDS_NEWS_NONE), "ZZZZ");
        EXPECT_NE(std::string::npos, pRun->InfoText().find(std::string(strNone))) << pRun->InfoText();

        // Every story again: the table's own title comes back.
        ASSERT_TRUE(pRun->App().RunCommand(ID_APP_NEWS));
        ASSERT_TRUE(PumpUntil([&] { return !pNews->IsRequestPending() && rows.GetCount() >= 3; }));
        EXPECT_EQ(Text(IDS_TITLE_NEWS), Title(pNews));
        EXPECT_TRUE(pNews->GetMainWindow()->IsWindowVisible());
    }

    void CheckCompanyNews(const std::string& strLanguage)
    {
        // The news list of every market is open: the company's reply must leave it.
        CListNewsTable* pList = Find<CListNewsTable>(IDS_TABLE_NEWS_LIST);
        ASSERT_NE(nullptr, pList);
        const int nListRows = pList->GetRows()->GetCount();

        const std::string strMarket = static_cast<LPCSTR>(GetGlobals()->GetMarketName(8));
        std::string strNarrowed, strAll;
        RunOnNextDialog(IDC_COMPANY_MARKET, [&](HWND h) {
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(h, IDOK))) << "no ticker yet";
            char szCaption[100] = "";
            GetWindowTextA(h, szCaption, sizeof szCaption);
            EXPECT_EQ(Text(IDS_TITLE_COMPANY_NEWS), szCaption);
            ASSERT_NE(CB_ERR, SendDlgItemMessageA(h, IDC_COMPANY_MARKET, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                                  reinterpret_cast<LPARAM>(strMarket.c_str())));
            SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_COMPANY_MARKET, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(GetDlgItem(h, IDC_COMPANY_MARKET)));
            strAll = ComboItems(h, IDC_COMPANY_TICKER);
            TypeInto(h, IDC_COMPANY_TICKER, "alp");
            strNarrowed = ComboItems(h, IDC_COMPANY_TICKER);
            char szTyped[40] = "";
            GetDlgItemTextA(h, IDC_COMPANY_TICKER, szTyped, sizeof szTyped);
            EXPECT_EQ("alp", std::string(szTyped)) << "the typed text stays";
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(h, IDOK)));
            SaveDialogPicture(h, "market_company_news_dialog_" + strLanguage);
            SendDlgItemMessageA(h, IDC_COMPANY_TICKER, CB_SETCURSEL, 0, 0);
            SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_COMPANY_TICKER, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(GetDlgItem(h, IDC_COMPANY_TICKER)));
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(h, IDOK)));
            SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(h, IDOK)));
        });
        ASSERT_TRUE(pRun->App().RunCommand(ID_APP_COMPANY_NEWS));
        EXPECT_TRUE(DialogStepRan());
        EXPECT_NE(std::string::npos, strAll.find("BRKT/")) << strAll;
        EXPECT_EQ(std::string::npos, strAll.find(".ALPX")) << "a symbol starting with '.' is never listed";
        EXPECT_EQ(0u, strNarrowed.rfind("ALPN/", 0)) << strNarrowed;
        EXPECT_EQ(std::string::npos, strNarrowed.find("BRKT")) << strNarrowed;

        CCompanyNewsTable* pCompany = Find<CCompanyNewsTable>(IDS_TABLE_COMPANY_NEWS);
        ASSERT_NE(nullptr, pCompany);
        const CDataArray& rows = *pCompany->GetRows();
        ASSERT_TRUE(PumpUntil([&] { return pCompany->IsComplete() && !pCompany->IsReceiving() && rows.GetCount() > 0; }));
        EXPECT_EQ("ALPN", std::string(pCompany->GetTicker()));
        EXPECT_EQ(8, pCompany->GetMarketCode());
        for (int i = 0; i < rows.GetCount(); ++i)
            EXPECT_EQ("ALPN", std::string(rows.GetAt(i)->GetText(3)));
        EXPECT_NE(nullptr, rows.FindRow({"5951", "0"}));
        EXPECT_EQ(nListRows, pList->GetRows()->GetCount()) << "the company's reply is not the list's";
        Shoot(pCompany, "market_company_news_" + strLanguage);

        // The list asked again: the company's rows stay.
        const int nCompanyRows = rows.GetCount();
        ASSERT_TRUE(pList->SendRequest());
        ASSERT_TRUE(PumpUntil([&] { return !pList->IsReceiving() && pList->GetRows()->GetCount() >= nListRows; }));
        EXPECT_EQ(nCompanyRows, rows.GetCount());

        // A click on a headline asks for its story; the market column narrows the window.
        CNorvApp::ShowTable(pCompany);
        const size_t nStories = Requests("EW").size();
        ASSERT_EQ(1, Click(pCompany, 0, 6));
        ASSERT_TRUE(PumpUntil([&] { return Requests("EW").size() > nStories; }));
        EXPECT_NE(std::string::npos, Requests("EW").back().find("|5951|0|")) << Requests("EW").back();
        // The reader opens at once and the server's story fills it.
        CFormMDIWnd* pReaderForm = nullptr;
        ASSERT_TRUE(PumpUntil([&] {
            pReaderForm = pRun->App().GetNewsReaderForm();
            CWnd* pView = pReaderForm != nullptr ? pReaderForm->GetView() : nullptr;
            char sz[100] = "";
            if (pView != nullptr)
                GetDlgItemTextA(pView->m_hWnd, IDC_NEWS_READER_TITLE, sz, sizeof sz);
            return std::string(sz) == "Alpine Networks opens a lab";
        }));
        pReaderForm->SendMessage(WM_CLOSE);

        // A stock row's company news: its symbol as the row gives it, no question asked.
        IStockActions* pActions = GetStockActions();
        ASSERT_NE(nullptr, pActions);
        EXPECT_TRUE(pActions->CanOpenCompanyNews());
        pActions->OpenCompanyNews("BRKT", 8);
        ASSERT_TRUE(PumpUntil([&] { return !pCompany->IsReceiving() && Column(rows, 0) == "5953"; })) << Column(rows, 0);
        EXPECT_EQ("BRKT", std::string(pCompany->GetTicker()));

        // Its refresh asks for a company again; a typed ticker goes out upper-cased.
        const std::string strHarbor = static_cast<LPCSTR>(GetGlobals()->GetMarketName(4));
        RunOnNextDialog(IDC_COMPANY_MARKET, [&](HWND h) {
            SendDlgItemMessageA(h, IDC_COMPANY_MARKET, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                reinterpret_cast<LPARAM>(strHarbor.c_str()));
            SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_COMPANY_MARKET, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(GetDlgItem(h, IDC_COMPANY_MARKET)));
            SetDlgItemTextA(h, IDC_COMPANY_TICKER, "");
            TypeInto(h, IDC_COMPANY_TICKER, "prsm");
            SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(h, IDOK)));
        });
        ASSERT_TRUE(pCompany->OnCmdMsg(ID_NEWS_REFRESH, CN_COMMAND, nullptr, nullptr));
        EXPECT_TRUE(DialogStepRan());
        ASSERT_TRUE(PumpUntil([&] { return !pCompany->IsReceiving() && Column(rows, 0) == "5952"; })) << Column(rows, 0);
        EXPECT_EQ("PRSM", std::string(pCompany->GetTicker()));
        EXPECT_EQ(4, pCompany->GetMarketCode());
        EXPECT_EQ(0, Click(pCompany, 0, 7)) << "column 7 does nothing";
    }
};

}  // namespace

TEST_F(CompanyNewsSession, NewsAndCompanyNewsInEnglish)
{
    ASSERT_NO_FATAL_FAILURE(Start(false));
    CheckNews("en");
    CheckCompanyNews("en");
}

TEST_F(CompanyNewsSession, NewsAndCompanyNewsInArabic)
{
    ASSERT_NO_FATAL_FAILURE(Start(true));
    CheckNews("ar");
    CheckCompanyNews("ar");
}
