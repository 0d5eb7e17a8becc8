// The KSE news tables fed through a real message source: the announcement time a click reads,
// and the news browser's replies (another list's reply, a stray "EN", an empty reply).
#include <gtest/gtest.h>
#include <string>
#include "DataTableTestSupport.h"
#include "app/TableMDIWnd.h"
#include "framework/table/ViewTable.h"
#include "market/NewsBrowserKSETable.h"
#include "market/NewsKSETable.h"
#include "market/TableLinks.h"
#include "platform/win/user/Window.h"

namespace {

TEST(NewsKSETable, OnlyAWholeFourteenDigitTimeIsRead)
{
    static const struct { const char* pszText; bool bValid; const char* pszRead; } s_cases[] = {
        {"20261207093105", true, "2026-12-07 09:31:05"},
        {"20240229235959", true, "2024-02-29 23:59:59"},
        {"              ", false, ""},      // an empty time cell
        {"", false, ""},
        {"2026120709310", false, ""},       // one digit short
        {"202612070931050", false, ""},     // one too many
        {"2026120709310x", false, ""},
        {"-2026120709310", false, ""},
        {"20261307093105", false, ""},      // month 13
        {"20230229120000", false, ""},      // no 29 February that year
        {"20261207246000", false, ""},
    };
    for (const auto& c : s_cases) {
        const COleDateTime time = CNewsKSETable::ParseAnnouncementTime(c.pszText);
        EXPECT_EQ(c.bValid, time.GetStatus() == COleDateTime::valid) << '"' << c.pszText << '"';
        if (c.bValid) {
            EXPECT_STREQ(c.pszRead, time.Format("%Y-%m-%d %H:%M:%S")) << c.pszText;
        }
    }
    EXPECT_EQ(COleDateTime::invalid, CNewsKSETable::ParseAnnouncementTime(nullptr).GetStatus());
}

struct NewsBrowserFeed : ::testing::Test
{
    CTestLanguage language;
    CTestShell shell;
    CZorvatMessageSource source;
    CNewsBrowserKSETable* pTable = nullptr;

    void SetUp() override
    {
        RegisterMessageCodes(g_messageCodePairs);
        pTable = new CNewsBrowserKSETable(&source);
        ASSERT_TRUE(pTable->Create());
        CNorvApp::ShowTable(pTable);
    }
    void TearDown() override
    {
        if (CNorvApp::Get() != nullptr)
            CNorvApp::Get()->RemoveAllTables();
    }
    void FireAll(std::initializer_list<const char*> lines)
    {
        for (const char* pszLine : lines)
            FireTableLine(source, pszLine);
    }
    bool Shown() const { return IsWindowVisible(pTable->GetMainWindow()->m_hWnd) != FALSE; }
};

TEST_F(NewsBrowserFeed, OnlyTheEndOfItsOwnReplyAnswersTheRequest)
{
    pTable->RequestStoryList(5);
    EXPECT_TRUE(pTable->IsRequestPending());
    // Another list's reply and the end of some other reply leave the table and its window alone.
    FireAll({"~NZ|1|XC||0||7", "S9|261207090000|Not asked", "$EN|1|XC|1"});
    FireAll({"$EN|1|XC|0"});
    EXPECT_EQ(0, pTable->GetRows()->GetCount());
    EXPECT_TRUE(pTable->IsRequestPending());
    EXPECT_TRUE(Shown());

    FireAll({"~NZ|1|XC||0||5", "S1|261207093000|First", "S2|261207093100|Second", "$EN|1|XC|2"});
    EXPECT_EQ("S1 2026/12/07 09:30:00 First|S2 2026/12/07 09:31:00 Second", RowsText(*pTable->GetRows()));
    EXPECT_FALSE(pTable->IsRequestPending());
    EXPECT_TRUE(Shown());
    CString strTitle;
    strTitle.Format(LoadMarketText(56943), 5L);
    EXPECT_STREQ(strTitle, pTable->GetMainWindow()->GetView()->GetTitleAt(0));

    // Every KSE story: the table's own title again.
    pTable->RequestStoryList(-3);
    EXPECT_EQ(0, pTable->GetStoryList());
    FireAll({"~NZ|1|XC||0||", "S1|261207093000|First", "$EN|1|XC|1"});
    EXPECT_STREQ(pTable->GetTitle(), pTable->GetMainWindow()->GetView()->GetTitleAt(0));
}

TEST_F(NewsBrowserFeed, AnEmptyReplyToItsRequestClosesTheWindow)
{
    pTable->RequestStoryList(9);
    FireAll({"~NZ|1|XC||0||9", "$EN|1|XC|0"});
    EXPECT_FALSE(pTable->IsRequestPending());
    EXPECT_FALSE(Shown());
    // Once answered, another empty end closes nothing it has not asked for.
    CNorvApp::ShowTable(pTable);
    FireAll({"~NZ|1|XC||0||9", "$EN|1|XC|0"});
    EXPECT_TRUE(Shown());
}

}  // namespace
