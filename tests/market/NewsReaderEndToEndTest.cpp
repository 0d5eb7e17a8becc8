// The news reader end to end: the trader opens the news list, a click opens the reader and the
// server's story fills it (decoded from Base64, its headline and address); an error reply leaves
// it; an address from the server is cut to its bound and opened only when it is a web address.
// In English and in Arabic, with pictures of the reader.
#include <gtest/gtest.h>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include "tests/app/AppTestSupport.h"
#include "tests/app/TerminalRun.h"
#include "app/AppCommands.h"
#include "app/FormMDIWnd.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"
#include "market/DataArray.h"
#include "market/ListNewsTable.h"
#include "market/NewsReaderDlg.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Shell.h"
#include "tests/market/MarketSessionSupport.h"

namespace {

struct Story {
    std::string strLanguage, strHeadline, strText;
};

// The simulator's stories by id, from its data file.
std::map<std::string, Story> Stories()
{
    std::map<std::string, Story> stories;
    std::ifstream file(std::string(TB_SOURCE_DIR) + "/tools/testserver/data/market/news.txt");
    std::string line;
    while (std::getline(file, line)) {
        std::vector<std::string> fields;
        for (size_t nFrom = 0;;) {
            const size_t nBar = line.find('|', nFrom);
            fields.push_back(line.substr(nFrom, nBar == std::string::npos ? std::string::npos : nBar - nFrom));
            if (nBar == std::string::npos)
                break;
            nFrom = nBar + 1;
        }
        if (fields.size() >= 7 && !fields[0].empty() && isdigit(static_cast<unsigned char>(fields[0][0])))
            stories[fields[0]] = Story{fields[1], fields[5], fields[6]};
    }
    return stories;
}

std::string Text(HWND hWnd)
{
    std::string str(static_cast<size_t>(GetWindowTextLengthA(hWnd)) + 1, '\0');
    str.resize(static_cast<size_t>(GetWindowTextA(hWnd, str.data(), static_cast<int>(str.size()))));
    return str;
}

std::string LoadText(UINT nId)
{
    CString str;
    GetSharedGlobals()->LoadString(str, nId);
    return static_cast<LPCSTR>(str);
}

struct NewsReaderSession : CMarketSession
{
    void Start(bool bArabic)
    {
        ASSERT_TRUE(StartSession({"--rate", "50", "--clock", "2026-12-07 09:30:57"}, bArabic));
        TbRecordShellOpens(TRUE);
    }
    void TearDown() override
    {
        TbRecordShellOpens(FALSE);
        StopSession();
    }
    CNewsReaderDlg* Reader()
    {
        CFormMDIWnd* pForm = pRun->App().GetNewsReaderForm();
        return pForm != nullptr ? dynamic_cast<CNewsReaderDlg*>(pForm->GetView()) : nullptr;
    }
    // What the reader wrote into its page.
    std::string Page() { return Reader()->GetPage().GetDocument(); }
    std::string Item(int nId) { return Text(GetDlgItem(Reader()->m_hWnd, nId)); }
    static std::string Opened()
    {
        std::string strTarget;
        return TbTakeShellOpen(&strTarget) ? strTarget : "<nothing>";
    }
    // A story reply as the server writes it: result, reference, headline, body and address.
    void Deliver(long nResult, const std::string& strBody, const std::string& strLink)
    {
        const std::string strLine = "~EW|0|XC||" + std::to_string(nResult) + "||||R7||||Headline 7|" + strBody + "||||" + strLink;
        pRun->App().GetDispatcher().OnServerMessage(strLine.c_str());
    }

    void CheckReader(const std::string& strLanguage)
    {
        ASSERT_TRUE(pRun->App().RunCommand(ID_APP_NEWS_LIST));
        CListNewsTable* pNews = Find<CListNewsTable>(IDS_TABLE_NEWS_LIST);
        ASSERT_NE(nullptr, pNews);
        // The first stories come out at the server clock's first minute change, live or in the reply.
        ASSERT_TRUE(PumpUntil([&] { return pNews->IsComplete() && pNews->GetRows()->GetCount() > 0; }, 20000));
        CNorvApp::ShowTable(pNews);

        // A click on the headline of a story in the interface's language: the reader opens at
        // once, and the story fills it.
        const std::map<std::string, Story> stories = Stories();
        CViewRow row;
        for (int i = 0; pNews->GetMainWindow()->GetView()->GetRow(row, i); ++i) {
            CTBString strRowId;
            row.GetText(strRowId, 0);
            const auto it = stories.find(std::string(strRowId));
            if (it != stories.end() && it->second.strLanguage == (strLanguage == "ar" ? "1" : "0"))
                break;
        }
        ASSERT_TRUE(row.IsDataRow());
        int nHandled = 0;
        pNews->OnCellClick(&row, 6, &nHandled);
        EXPECT_EQ(1, nHandled);
        ASSERT_NE(nullptr, Reader());
        ASSERT_TRUE(PumpUntil([&] { return !Reader()->GetReference().IsEmpty(); })) << "no story reply";
        const std::string strId = static_cast<LPCSTR>(Reader()->GetReference());
        ASSERT_EQ(1u, stories.count(strId)) << strId;
        const Story& story = stories.at(strId);
        const UINT nCodePage = story.strLanguage == "1" ? 1256 : 1252;
        EXPECT_EQ(TbUtf8ToCodePage(story.strText, nCodePage), Page()) << "decoded from Base64";
        EXPECT_EQ(TbUtf8ToCodePage(story.strHeadline, nCodePage), Item(IDC_NEWS_READER_TITLE));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Reader()->m_hWnd, IDC_NEWS_READER_TITLE)));
        const std::string strLink = "https://news.example.com/story/" + strId;
        EXPECT_EQ(strLink, Item(IDC_NEWS_READER_LINK));
        EXPECT_EQ(LoadText(IDS_NEWS_READER_LINK), Item(IDC_NEWS_READER_LINK_CAPTION));
        EXPECT_TRUE(Reader()->OpenLink());
        EXPECT_EQ(strLink, Opened());
        CFormMDIWnd* pForm = pRun->App().GetNewsReaderForm();
        PumpFor(200);
        UpdateWindow(pForm->m_hWnd);
        EXPECT_TRUE(TbSaveWindowPng(pForm->m_hWnd, ScreenshotPath("market_news_reader_" + strLanguage).c_str()));

        // An error reply goes to the information window; the story stays.
        const std::string strPage = Page();
        const std::string strError = static_cast<LPCSTR>(pRun->App().GetErrorText(105));
        Deliver(105, "", "https://example.com/other");
        EXPECT_EQ(strPage, Page());
        EXPECT_EQ(strLink, Item(IDC_NEWS_READER_LINK));
        EXPECT_EQ(strId, std::string(Reader()->GetReference()));
        EXPECT_NE(std::string::npos, pRun->InfoText().find(strError)) << pRun->InfoText();

        // An address is kept to 511 characters; a body that is not Base64 shows as it came.
        const std::string strLong = "https://example.com/" + std::string(600, 'a');
        Deliver(0, "PGI+Qm9sZDwvYj4gc3Rvcnk=", strLong);      // "<b>Bold</b> story"
        EXPECT_EQ("<b>Bold</b> story", Page());
        EXPECT_EQ("Headline 7", Item(IDC_NEWS_READER_TITLE));
        EXPECT_EQ(strLong.substr(0, NEWS_READER_LINK_MAX), Item(IDC_NEWS_READER_LINK));
        EXPECT_EQ(strLong.substr(0, NEWS_READER_LINK_MAX), std::string(Reader()->GetLink()));
        EXPECT_TRUE(Reader()->OpenLink());
        EXPECT_EQ(strLong.substr(0, NEWS_READER_LINK_MAX), Opened());
        Deliver(0, "not Base64: <i>as sent</i>", "file:///etc/passwd");
        EXPECT_EQ("not Base64: <i>as sent</i>", Page());
        EXPECT_EQ("file:///etc/passwd", Item(IDC_NEWS_READER_LINK));
        EXPECT_FALSE(Reader()->OpenLink());
        EXPECT_EQ("<nothing>", Opened());
        // No address: no caption.
        Deliver(0, "", "");
        EXPECT_EQ("", Item(IDC_NEWS_READER_LINK_CAPTION));

        // The application's opener shows its three texts in the one reader; an empty title
        // leaves the headline shown, an empty address leaves none.
        pRun->App().OpenNewsStory("<h2>Given</h2><p>body</p>", "Given title", "https://example.com/given");
        EXPECT_EQ(pForm, pRun->App().GetNewsReaderForm());
        EXPECT_EQ("<h2>Given</h2><p>body</p>", Page());
        EXPECT_EQ("Given title", Item(IDC_NEWS_READER_TITLE));
        EXPECT_EQ("https://example.com/given", Item(IDC_NEWS_READER_LINK));
        pRun->App().OpenNewsStory(nullptr, "", nullptr);
        EXPECT_EQ("", Page());
        EXPECT_EQ("Given title", Item(IDC_NEWS_READER_TITLE));
        EXPECT_EQ("", Item(IDC_NEWS_READER_LINK));
        EXPECT_EQ("", Item(IDC_NEWS_READER_LINK_CAPTION));
        EXPECT_FALSE(Reader()->OpenLink());
        // Another click reuses the reader.
        pNews->OnCellClick(&row, 0, &nHandled);
        EXPECT_EQ(pForm, pRun->App().GetNewsReaderForm());
        EXPECT_TRUE(PumpUntil([&] { return Page() == TbUtf8ToCodePage(story.strText, nCodePage); }));
    }
};

}  // namespace

TEST_F(NewsReaderSession, StoryFromTheListInEnglish)
{
    Start(false);
    CheckReader("en");
}

TEST_F(NewsReaderSession, StoryFromTheListInArabic)
{
    Start(true);
    CheckReader("ar");
}
