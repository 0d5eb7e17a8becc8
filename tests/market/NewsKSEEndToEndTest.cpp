// The KSE announcements and the KSE news browser end to end: the terminal logs in as the trader
// against the test server, with announcements added that come out a little after the tables
// are open, in English and in Arabic.
#include <gtest/gtest.h>
#include <fstream>
#include <memory>
#include <string>
#include <vector>
#include "tests/app/AppTestSupport.h"
#include "tests/app/TerminalRun.h"
#include "app/AppCommands.h"
#include "app/NewsPages.h"
#include "app/TableMDIWnd.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/NewsBrowserKSETable.h"
#include "market/NewsDetailKSETable.h"
#include "market/NewsKSETable.h"
#include "platform/mfc/CmdTarget.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/Window.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/TestAnswers.h"
#include "refdata/ServerDateFields.h"
#include "tests/market/MarketSessionSupport.h"

namespace {

enum { KC_TIME, KC_ID, KC_LANGUAGE, KC_HEADLINE = 5, KC_HEADLINE_AR };

// Out at the server's first minute change, twelve seconds after it starts, with the server's own
// first stories (the market's, in both languages): a stock's story in both languages, one in
// English only and one in Arabic only.
const char* const s_pszBoth = "Harbour Bank approves a merger";
const char* const s_pszBothAr = "بنك المرفأ يوافق على الاندماج";
const char* const s_pszBothStoryAr = "وافق مجلس الإدارة على اندماج وحدتين.";
const char* const s_pszEnglishOnly = "Wafra Energy notice in English";
const char* const s_pszArabicOnly = "إعلان الوفرة بالعربية فقط";
const char* const s_pszMarket = "KSE opens the week steady";
const char* const s_pszMarketAr = "افتتاح مستقر لسوق الكويت";

std::string DataWithAnnouncements()
{
    const std::string strData = CopyServerData("tb-newskse-data");
    if (strData.empty())
        return "";
    std::ofstream news(strData + "/market/news.txt", std::ios::app);
    news << "5961|0|0|2|104|" << s_pszBoth << "|The board approved merging two units.\n"
         << "5962|1|0|2|104|" << s_pszBothAr << "|" << s_pszBothStoryAr << "\n"
         << "5963|0|0|2|119|" << s_pszEnglishOnly << "|A notice.\n"
         << "5964|1|0|2|110|" << s_pszArabicOnly << "|نص الإعلان.\n";
    return strData;
}

std::string Cp1256(const char* pszUtf8) { return TbUtf8ToCodePage(pszUtf8, 1256); }

// Records the story pages the browser table opens.
struct CRecordingPages : INewsPages
{
    std::vector<std::string> kse;
    void OpenNewsPage(LPCSTR /*pszStoryId*/) override {}
    void OpenNewsPageKSE(LPCSTR pszStoryId) override { kse.emplace_back(pszStoryId); }
};

struct NewsKSESession : CMarketSession
{
    bool bArabic = false;

    void Start(bool bInArabic)
    {
        bArabic = bInArabic;
        strData = DataWithAnnouncements();
        ASSERT_FALSE(strData.empty());
        ASSERT_TRUE(StartSession({"--rate", "200", "--data", strData, "--clock", "2026-12-07 09:30:48"}, bArabic));
    }
    void TearDown() override
    {
        SetNewsPages(nullptr);
        StopSession();
        TbClearTestAnswers();
    }
    // The shown row whose column holds the text; false when none does.
    static bool FindShownRow(CDataTable* pTable, int nCol, const std::string& strText, CViewRow& row)
    {
        CViewTable* pView = pTable->GetMainWindow()->GetView();
        for (int i = 0; i < pView->GetRowCount(); ++i) {
            CTBString strCell;
            if (pView->GetRow(row, i) && row.IsDataRow() && row.GetText(strCell, nCol) && strText == static_cast<const char*>(strCell))
                return true;
        }
        return false;
    }
    static const CDataBuffer* FindById(const CDataArray& rows, long nId)
    {
        for (int i = 0; i < rows.GetCount(); ++i)
            if (rows.GetAt(i)->GetLong(KC_ID) == nId)
                return rows.GetAt(i);
        return nullptr;
    }

    // The first reply, the live announcements and what the information window tells of them,
    // then a headline's detail in its language.
    void CheckAnnouncements(const std::string& strLanguage)
    {
        ASSERT_TRUE(pRun->App().RunCommand(ID_APP_KSE_NEWS));
        CNewsKSETable* pNews = Find<CNewsKSETable>(IDS_TABLE_NEWS_KSE);
        ASSERT_NE(nullptr, pNews);
        ASSERT_TRUE(PumpUntil([&] { return pNews->IsComplete(); }));
        EXPECT_EQ(1, RequestCount("NY"));
        const CDataArray& rows = *pNews->GetRows();
        ASSERT_EQ(nullptr, FindById(rows, 5961)) << "the session started late: the announcements are in the reply";

        const std::string strInfoBefore = pRun->InfoText();
        ASSERT_TRUE(PumpUntil([&] { return FindById(rows, 5001) && FindById(rows, 5961) && FindById(rows, 5963) && FindById(rows, 5964); },
                              30000));
        const CDataBuffer* pMarket = FindById(rows, 5001);
        EXPECT_EQ(2, pMarket->GetLong(KC_LANGUAGE));
        EXPECT_STREQ(s_pszMarket, pMarket->GetText(KC_HEADLINE));
        EXPECT_EQ(Cp1256(s_pszMarketAr), std::string(pMarket->GetText(KC_HEADLINE_AR)));
        const CDataBuffer* pBoth = FindById(rows, 5961);
        EXPECT_EQ(2, pBoth->GetLong(KC_LANGUAGE));
        EXPECT_STREQ(s_pszBoth, pBoth->GetText(KC_HEADLINE));
        EXPECT_EQ(Cp1256(s_pszBothAr), std::string(pBoth->GetText(KC_HEADLINE_AR)));
        EXPECT_EQ(0, FindById(rows, 5963)->GetLong(KC_LANGUAGE));
        EXPECT_EQ(1, FindById(rows, 5964)->GetLong(KC_LANGUAGE));
        EXPECT_STREQ("", FindById(rows, 5964)->GetText(KC_HEADLINE));

        // Only the new announcements of the user's language or of both are told.
        std::string strInfo = pRun->InfoText().substr(strInfoBefore.size());
        auto told = [&](const std::string& strText) { return strInfo.find(strText) != std::string::npos; };
        auto toldAny = [&] {
            for (const std::string& strText : {std::string(s_pszMarket), Cp1256(s_pszMarketAr), std::string(s_pszBoth),
                                               Cp1256(s_pszBothAr), std::string(s_pszEnglishOnly), Cp1256(s_pszArabicOnly)})
                if (told(strText))
                    return true;
            return false;
        };
        if (!bArabic) {
            EXPECT_TRUE(told(s_pszMarket) && told(s_pszBoth) && told(s_pszEnglishOnly)) << strInfo;
            EXPECT_FALSE(told(Cp1256(s_pszMarketAr)) || told(Cp1256(s_pszBothAr)) || told(Cp1256(s_pszArabicOnly))) << strInfo;
        } else {
            EXPECT_TRUE(told(Cp1256(s_pszMarketAr)) && told(Cp1256(s_pszBothAr)) && told(Cp1256(s_pszArabicOnly))) << strInfo;
            EXPECT_FALSE(told(s_pszMarket) || told(s_pszBoth) || told(s_pszEnglishOnly)) << strInfo;
        }

        // A line for a time already listed updates its row and tells nothing.
        const std::string strKnown = pRun->InfoText();
        const std::string strLine = "$NI|0|XC||" +
            std::string(ConvertDisplayDateField(FindById(rows, 5963)->GetText(KC_TIME), COLTYPE_DATETIME_TEXT)) +
            "|0|5963|119|2|Revised notice|";
        CServerMessage live(strLine.c_str(), 1);
        pNews->OnNI(&live);
        EXPECT_STREQ("Revised notice", FindById(rows, 5963)->GetText(KC_HEADLINE));
        EXPECT_EQ(4, rows.GetCount());
        EXPECT_EQ(strKnown, pRun->InfoText());

        // Refresh after its question: the reply brings the same rows back and tells none of them.
        const std::string strInfoLive = pRun->InfoText();
        TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDYES, ""});
        EXPECT_TRUE(pNews->OnCmdMsg(33175, CN_COMMAND, nullptr, nullptr));
        ASSERT_TRUE(PumpUntil([&] { return RequestCount("NY") == 2 && !pNews->IsReceiving() && FindById(rows, 5964); }))
            << RequestCount("NY") << " " << pNews->IsReceiving() << " " << rows.GetCount() << "\n" << ServerLines("NY");
        EXPECT_EQ(4, rows.GetCount());
        strInfo = pRun->InfoText().substr(strInfoLive.size());
        EXPECT_FALSE(toldAny()) << strInfo;
        CNorvApp::ShowTable(pNews);
        Shoot(pNews, "market_news_kse_" + strLanguage);

        // The Arabic headline's detail: "ND" for its time and language 1.
        CViewRow row;
        ASSERT_TRUE(FindShownRow(pNews, KC_HEADLINE, s_pszBoth, row));
        int nHandled = 0;
        pNews->OnCellClick(&row, KC_ID, &nHandled);
        EXPECT_EQ(0, RequestCount("ND")) << "only the headlines open the detail";
        pNews->OnCellClick(&row, KC_HEADLINE_AR, &nHandled);
        EXPECT_EQ(1, nHandled);
        CNewsDetailKSETable* pDetail = Find<CNewsDetailKSETable>(IDS_TABLE_NEWS_DETAIL_KSE);
        ASSERT_NE(nullptr, pDetail);
        ASSERT_TRUE(PumpUntil([&] { return pDetail->IsComplete() && !pDetail->IsReceiving(); }));
        EXPECT_EQ(1, RequestCount("ND"));
        ASSERT_EQ(1, pDetail->GetRows()->GetCount()) << server.Log().size();
        EXPECT_EQ(Cp1256(s_pszBothStoryAr), std::string(pDetail->GetRows()->GetAt(0)->GetText(1)));
        EXPECT_EQ(pDetail->GetMainWindow(), pDetail->GetActiveWindow());
    }

    // The browser: every KSE story, a click opening the story's page, one stock's list under its
    // own title, and an empty list closing the window.
    void CheckBrowser(const std::string& strLanguage)
    {
        ASSERT_TRUE(pRun->App().RunCommand(ID_APP_KSE_NEWS_BROWSER));
        CNewsBrowserKSETable* pBrowser = Find<CNewsBrowserKSETable>(IDS_TABLE_NEWS_BROWSER_KSE);
        ASSERT_NE(nullptr, pBrowser);
        ASSERT_TRUE(PumpUntil([&] { return pBrowser->IsComplete() && !pBrowser->IsRequestPending(); }));
        EXPECT_GE(pBrowser->GetRows()->GetCount(), 6) << "both languages of every KSE story out so far";
        Shoot(pBrowser, "market_news_browser_kse_" + strLanguage);

        CRecordingPages pages;
        CViewRow row;
        ASSERT_TRUE(FindShownRow(pBrowser, 2, bArabic ? Cp1256(s_pszBothAr) : s_pszBoth, row));
        // The application opens the story pages; without them nothing opens.
        INewsPages* pAppPages = GetNewsPages();
        EXPECT_NE(nullptr, pAppPages);
        SetNewsPages(nullptr);
        int nHandled = 0;
        pBrowser->OnCellClick(&row, 1, &nHandled);
        EXPECT_EQ(0, nHandled) << "no pages: nothing opens";
        SetNewsPages(&pages);
        pBrowser->OnCellClick(&row, 2, &nHandled);
        pBrowser->OnCellClick(&row, 1, &nHandled);
        SetNewsPages(pAppPages);
        EXPECT_EQ((std::vector<std::string>{bArabic ? "5962" : "5961", bArabic ? "5962" : "5961"}), pages.kse);

        // One stock's stories.
        pBrowser->RequestStoryList(104);
        ASSERT_TRUE(PumpUntil([&] { return !pBrowser->IsRequestPending(); }));
        EXPECT_EQ(2, pBrowser->GetRows()->GetCount());
        CString strTitle;
        strTitle.Format(LoadMarketText(56943), 104L);
        EXPECT_STREQ(strTitle, pBrowser->GetMainWindow()->GetView()->GetTitleAt(bArabic ? 1 : 0));

        // None: the window goes and the information window says which list was empty.
        CNorvApp::ShowTable(pBrowser);
        pBrowser->RequestStoryList(999);
        ASSERT_TRUE(PumpUntil([&] { return !pBrowser->IsRequestPending(); }));
        EXPECT_FALSE(IsWindowVisible(pBrowser->GetMainWindow()->m_hWnd));
        CString strEmpty;
        strEmpty.Format(LoadMarketText(56942), 999L);
        EXPECT_NE(std::string::npos, pRun->InfoText().find(static_cast<LPCSTR>(strEmpty))) << pRun->InfoText();
        EXPECT_EQ(3, RequestCount("NZ"));
    }
};

}  // namespace

TEST_F(NewsKSESession, AnnouncementsAndTheNewsBrowserInEnglish)
{
    Start(false);
    CheckAnnouncements("en");
    CheckBrowser("en");
}

TEST_F(NewsKSESession, AnnouncementsAndTheNewsBrowserInArabic)
{
    Start(true);
    CheckAnnouncements("ar");
    CheckBrowser("ar");
}
