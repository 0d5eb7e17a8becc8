// The data-table base fed through a real message source: a reply fills and sorts the rows, the
// live gate drops lines before the first reply has ended and holds them while a later reply
// refills the table, a stray "EN" changes nothing, and the fields follow the description.
#include <gtest/gtest.h>
#include <string>
#include "DataTableTestSupport.h"
#include "framework/base/NorvGlobals.h"

namespace {

struct FeedFixture : ::testing::Test
{
    CTestLanguage language;
    CTestShell shell;
    CZorvatMessageSource source;
    CQuoteFeedTable* pTable = nullptr;

    void SetUp() override
    {
        RegisterMessageCodes(g_messageCodePairs);
        pTable = new CQuoteFeedTable(&source);
        ASSERT_TRUE(pTable->Create());
    }
    void TearDown() override
    {
        if (CNorvApp::Get() != nullptr)
            CNorvApp::Get()->RemoveAllTables();
    }
    void Fire(const char* pszLine) { FireTableLine(source, pszLine); }
    void Reply(std::initializer_list<const char*> rows)
    {
        Fire("~FR|1|XC||0");
        for (const char* pszRow : rows)
            Fire(pszRow);
        Fire("$EN|1|XC|0");
    }
    std::string Rows() const { return RowsText(*pTable->GetRows()); }
};

}  // namespace

TEST_F(FeedFixture, ReplyFillsSortedRowsThroughTheDescription)
{
    EXPECT_FALSE(pTable->IsComplete());
    Fire("~FR|1|XC||0");
    EXPECT_TRUE(pTable->IsReceiving());
    EXPECT_TRUE(CNorvApp::Get()->IsBusy());
    Fire("3|CCC|1250|3000|200105|093000|ccc");
    Fire("1|AAA|99.5|1000|201231|101500|aaa");
    Fire("2|BBB|7|20|not a date|1|bbb");
    Fire("$EN|1|XC|0");
    EXPECT_TRUE(pTable->IsComplete());
    EXPECT_FALSE(pTable->IsReceiving());
    EXPECT_FALSE(CNorvApp::Get()->IsBusy());
    // Sorted by the key; the server's dates in the column's form, one that is none left empty.
    EXPECT_EQ("1 AAA 99.5 1,000 2020/12/31 10:15:00|2 BBB 7 20  |3 CCC 1,250 3,000 2020/01/05 09:30:00", Rows());
    EXPECT_EQ(3, pTable->GetTable()->GetView(0)->GetRowCount()) << "written through into the engine table";
    Fire("4|DDD|1|1|1|1|ddd");
    EXPECT_EQ(3, pTable->GetRows()->GetCount()) << "a data line outside a reply is ignored";

    // A later reply starts over; an empty one leaves the table empty and still complete.
    Reply({});
    EXPECT_EQ("", Rows());
    EXPECT_EQ(0, pTable->GetTable()->GetView(0)->GetRowCount());
    EXPECT_TRUE(pTable->IsComplete());
}

TEST_F(FeedFixture, ArabicInterfaceTakesTheArabicField)
{
    GetNorvGlobals().m_nLanguage = 1;
    // Under a name of its own, so that the table map keeps both.
    CQuoteFeedTable* pArabic = new CQuoteFeedTable(&source);     // the table map deletes it
    const BOOL bCreated = pArabic->Create(52999, 0, 0);
    GetNorvGlobals().m_nLanguage = 0;
    ASSERT_TRUE(bCreated);
    Fire("~FR|1|XC||0");
    Fire("5|EEE|1|1|1|1|eee");
    Fire("$EN|1|XC|0");
    EXPECT_EQ("eee", std::string(pArabic->GetRows()->GetAt(0)->GetText(1)));
    EXPECT_EQ("EEE", std::string(pTable->GetRows()->GetAt(0)->GetText(1))) << "both tables took the reply";
}

TEST_F(FeedFixture, LiveLinesWaitForTheFirstReplyAndUpdateByKey)
{
    Fire("$LL|1|XC||1|555|9");
    EXPECT_EQ("", Rows()) << "before the first reply has ended a live line is dropped";
    Fire("~FR|1|XC||0");
    Fire("1|AAA|100|10|200101|100000|a");
    Fire("$LL|1|XC||1|555|9");
    Fire("$EN|1|XC|0");
    EXPECT_EQ("1 AAA 100 10 2020/01/01 10:00:00", Rows()) << "nor is one during the first reply kept";
    EXPECT_EQ(0, pTable->GetHeldLineCount());

    Fire("$LL|1|XC||1|555|9");
    Fire("$LL|1|XC||7|2|3");
    EXPECT_EQ("1 AAA 555 9 2020/01/01 10:00:00|7  2 3  ", Rows()) << "updated in place, a new key added";
    // A line of a type the description does not call live, routed here, changes nothing.
    CServerMessage other("$GS|1|XC||1|1|1", 1);
    pTable->TableOnLive(&other);
    EXPECT_EQ("1 AAA 555 9 2020/01/01 10:00:00|7  2 3  ", Rows());
}

TEST_F(FeedFixture, LiveLinesDuringARefillApplyAfterItsEnd)
{
    Reply({"1|AAA|100|10|200101|100000|a", "2|BBB|200|20|200101|100000|b"});
    Fire("~FR|1|XC||0");
    Fire("1|AAA|101|11|200101|100000|a");
    Fire("$LL|1|XC||2|250|25");       // a row the reply has not sent yet
    Fire("$LL|1|XC||9|900|90");       // a row the reply does not know
    Fire("$LL|1|XC||2|260|26");       // the later value of the same row wins
    EXPECT_EQ(3, pTable->GetHeldLineCount());
    Fire("2|BBB|201|21|200101|100000|b");
    EXPECT_EQ(2, pTable->GetRows()->GetCount());
    Fire("$EN|1|XC|0");
    EXPECT_EQ(0, pTable->GetHeldLineCount());
    EXPECT_EQ("1 AAA 101 11 2020/01/01 10:00:00|2 BBB 260 26 2020/01/01 10:00:00|9  900 90  ", Rows());
    EXPECT_EQ(3, pTable->GetTable()->GetView(0)->GetRowCount()) << "no row twice in the engine table";
}

namespace {

// The feed table that writes down each live line it applies, as a table whose live lines add to
// a row (a volume, a trade) would count it.
class CCountingFeedTable : public CQuoteFeedTable
{
public:
    using CQuoteFeedTable::CQuoteFeedTable;
    void ApplyLive(CServerMessage* pMsg) override
    {
        m_strApplied += (m_strApplied.empty() ? "" : ",") + std::string(pMsg->GetFieldText(1));
        CQuoteFeedTable::ApplyLive(pMsg);
        // A line the table cannot place asks for the table again, once.
        if (m_strAskAgainAt == pMsg->GetFieldText(1)) {
            m_strAskAgainAt.clear();
            BeginReply(FALSE);
        }
    }
    std::string m_strApplied;
    std::string m_strAskAgainAt;
};

}  // namespace

// Lines held through a refill go on after its end in the order they came, each once; the next
// refill starts with nothing of them, also when it begins before the first one ended.
TEST_F(FeedFixture, HeldLinesApplyOnceInArrivalOrderAndNoneCarryOver)
{
    auto* pCounting = new CCountingFeedTable(&source);      // the table map deletes it
    ASSERT_TRUE(pCounting->Create(52998, 0, 0));
    Reply({"1|AAA|100|10|200101|100000|a"});
    Fire("~FR|1|XC||0");
    Fire("$LL|1|XC||1|101|1");
    Fire("$LL|1|XC||2|102|2");
    Fire("$LL|1|XC||1|103|3");
    EXPECT_EQ("", pCounting->m_strApplied) << "nothing applies while the reply runs";
    Fire("1|AAA|100|10|200101|100000|a");
    Fire("$EN|1|XC|0");
    EXPECT_EQ("101,102,103", pCounting->m_strApplied);
    EXPECT_EQ("1 AAA 103 3 2020/01/01 10:00:00|2  102 2  ", RowsText(*pCounting->GetRows()));

    pCounting->m_strApplied.clear();
    Reply({"1|AAA|100|10|200101|100000|a"});
    EXPECT_EQ("", pCounting->m_strApplied) << "a later refill applies none of them again";
    EXPECT_EQ("1 AAA 100 10 2020/01/01 10:00:00", RowsText(*pCounting->GetRows()));

    // A refill that starts again before its end drops what the first start held.
    Fire("~FR|1|XC||0");
    Fire("$LL|1|XC||1|104|4");
    Fire("~FR|1|XC||0");
    Fire("$LL|1|XC||1|105|5");
    Fire("1|AAA|100|10|200101|100000|a");
    Fire("$EN|1|XC|0");
    EXPECT_EQ("105", pCounting->m_strApplied);
    EXPECT_EQ(0, pCounting->GetHeldLineCount());

    // A held line whose work asks for the table again: the lines after it wait for that reply,
    // and it is not among them.
    pCounting->m_strApplied.clear();
    pCounting->m_strAskAgainAt = "106";
    Fire("~FR|1|XC||0");
    Fire("$LL|1|XC||1|106|6");
    Fire("$LL|1|XC||2|107|7");
    Fire("$LL|1|XC||1|108|8");
    Fire("1|AAA|100|10|200101|100000|a");
    Fire("$EN|1|XC|0");
    EXPECT_EQ("106", pCounting->m_strApplied);
    EXPECT_TRUE(pCounting->IsReceiving());
    EXPECT_EQ(2, pCounting->GetHeldLineCount());
    Fire("$EN|1|XC|0");
    EXPECT_EQ("106,107,108", pCounting->m_strApplied);
    EXPECT_EQ(0, pCounting->GetHeldLineCount());
}

TEST_F(FeedFixture, StrayEndChangesNothing)
{
    // An error header reaches no table: the "EN" after it is nobody's.
    CNorvApp::Get()->SetBusyFlag(TRUE);
    Fire("~FR|1|XC||7");
    Fire("1|AAA|100|10|200101|100000|a");
    Fire("$EN|1|XC|0");
    EXPECT_FALSE(pTable->IsComplete());
    EXPECT_TRUE(CNorvApp::Get()->IsBusy()) << "another reply's busy state is left alone";
    EXPECT_EQ("", Rows());

    // Nor does an "EN" of no reply at all end a reply this table is not in.
    Reply({"1|AAA|100|10|200101|100000|a"});
    Fire("$EN|1|XC|0");
    EXPECT_EQ("1 AAA 100 10 2020/01/01 10:00:00", Rows());
    EXPECT_FALSE(pTable->IsReceiving());
}

TEST_F(FeedFixture, RequestsGoOutOnlyWithALink)
{
    // No application with a link here: nothing is sent, and the table says so.
    EXPECT_EQ(0, pTable->SendRequest(""));
    EXPECT_EQ(pTable, CNorvApp::Get()->FindTableByName(pTable->GetName())) << "registered under its name";
    EXPECT_GE(pTable->GetSinkId(), 0);
    pTable->Destroy();
    EXPECT_EQ(-1, pTable->GetSinkId()) << "the sink goes with the table";
}

TEST_F(FeedFixture, RefillHoldsAtMostItsBoundOfLiveLines)
{
    Reply({"1|AAA|100|10|200101|100000|a"});
    Fire("~FR|1|XC||0");
    Fire("1|AAA|100|10|200101|100000|a");
    for (int n = 1; n <= MAX_HELD_LIVE_LINES + 5; ++n)
        Fire(("$LL|1|XC||1|100|" + std::to_string(n)).c_str());
    EXPECT_EQ(MAX_HELD_LIVE_LINES, pTable->GetHeldLineCount()) << "later lines are dropped, memory stays bounded";
    Fire("$EN|1|XC|0");
    EXPECT_EQ(100000, pTable->GetRows()->GetAt(0)->GetLong(3)) << "the last line held is the last applied";
}
