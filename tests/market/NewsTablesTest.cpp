// The US stories fed through a real message source: a reply to another symbol's request left
// alone, and an empty reply closing the window only when it answers the table's own pending
// request.
#include <gtest/gtest.h>
#include <string>
#include "DataTableTestSupport.h"
#include "app/TableMDIWnd.h"
#include "market/NewsTable.h"

namespace {

struct NewsTablesFixture : CTableFixture
{
    // The window's own visibility, whatever its frame's.
    static bool Shown(CDataTable* pTable)
    {
        return (GetWindowLongA(pTable->GetMainWindow()->m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
    }
};

}  // namespace

TEST_F(NewsTablesFixture, StoriesTakeOnlyTheReplyToTheirSymbol)
{
    CNewsTable* pNews = Make<CNewsTable>();
    CNorvApp::ShowTable(pNews);
    pNews->SendRequestFor(0, "ALPN");
    EXPECT_EQ("ALPN", std::string(pNews->GetSymbol()));
    EXPECT_TRUE(pNews->IsRequestPending());
    FireAll({"~NN|1|XC||ALPN|0", "71|261207093000|Alpine opens a lab", "70|261207091500|Alpine hires",
             "$EN|1|XC|2"});
    const CDataArray& rows = *pNews->GetRows();
    EXPECT_EQ("70,71", Column(rows, 0)) << "by time";
    EXPECT_FALSE(pNews->IsRequestPending());
    EXPECT_TRUE(Shown(pNews));

    // Another requester's reply (every story) leaves the rows, and its empty end closes nothing.
    FireAll({"~NN|1|XC|||0", "80|261207100000|Other", "$EN|1|XC|1"});
    EXPECT_EQ("70,71", Column(rows, 0));
    EXPECT_TRUE(Shown(pNews));

    // A separator in the symbol would shift the request's fields: nothing is asked.
    EXPECT_FALSE(pNews->SendRequestFor(0, "A|B"));
    EXPECT_FALSE(pNews->IsRequestPending());
}

TEST_F(NewsTablesFixture, AnEmptyReplyClosesTheWindowOnlyForThePendingRequest)
{
    CNewsTable* pNews = Make<CNewsTable>();
    CNorvApp::ShowTable(pNews);
    // Not asked: an empty reply of its symbol leaves the window open.
    FireAll({"~NN|1|XC|||0", "$EN|1|XC|0"});
    EXPECT_TRUE(Shown(pNews));

    pNews->SendRequestFor(0, "ZZZZ");
    // The end of another table's reply is not the answer.
    FireAll({"$EN|1|XC|0"});
    EXPECT_TRUE(pNews->IsRequestPending());
    EXPECT_TRUE(Shown(pNews));
    FireAll({"~NN|1|XC||ZZZZ|0", "$EN|1|XC|0"});
    EXPECT_FALSE(pNews->IsRequestPending());
    EXPECT_FALSE(Shown(pNews));
    EXPECT_EQ(0, pNews->GetRows()->GetCount());

    // A reply with stories keeps the window of a pending request.
    CNorvApp::ShowTable(pNews);
    pNews->SendRequestFor(0, "");
    FireAll({"~NN|1|XC|||0", "90|261207093000|One", "$EN|1|XC|1"});
    EXPECT_FALSE(pNews->IsRequestPending());
    EXPECT_TRUE(Shown(pNews));
}
