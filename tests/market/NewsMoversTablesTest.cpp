// The news list, the movers and the holidays fed through a real message source: mention
// expansion against a Python reference, general and company replies, live headlines, the three
// movers' lists out of one reply with their colours and popup, the holidays' markets.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>
#include "DataTableTestSupport.h"
#include "app/TableMDIWnd.h"
#include "framework/table/Row.h"
#include "framework/table/Table.h"
#include "framework/table/TreeNode.h"
#include "framework/table/ViewRow.h"
#include "framework/window/TableWindow.h"
#include "market/CorporateEventsKSETable.h"
#include "market/CorporateEventsTable.h"
#include "market/GainerLooserTable.h"
#include "market/HolidayTable.h"
#include "market/IndicesKSETable.h"
#include "market/ListNewsTable.h"
#include "platform/win/user/Menu.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/market/MarketSessionSupport.h"

namespace {

CString TestMarketName(long nCode)
{
    CString strName;
    if (nCode != 0)
        strName.Format("M%ld", nCode);
    return strName;
}

std::vector<std::string> Split(const std::string& strLine, char chSep)
{
    std::vector<std::string> parts(1);
    for (char ch : strLine) {
        if (ch == chSep)
            parts.emplace_back();
        else
            parts.back() += ch;
    }
    return parts;
}

CString FullName(long nCode)
{
    const CZorvatGlobals* pGlobals = GetGlobals();
    return pGlobals != nullptr ? pGlobals->GetMarketName(nCode) : CString();
}

struct NewsMoversFixture : CTableFixture
{
    // The text colour index a stored row's cell has in the engine table.
    static int TextAttribute(CDataTable* pTable, std::initializer_list<const char*> keys, int nCol)
    {
        const CDataBuffer* pRow = pTable->GetRows()->FindRow(keys);
        if (pRow == nullptr)
            return -1;
        CRow key(pTable->GetTable(), pRow->GetValues());
        CRow found = pTable->GetTable()->FindRow(key);
        if (!found.IsValid() || found.GetViewRow(0) == nullptr || found.GetViewRow(0)->GetNode() == nullptr)
            return -1;
        return found.GetViewRow(0)->GetNode()->GetAttr(nCol, 1) & CELL_TEXT_MASK;
    }
    // The symbol on the first line of the table's main window.
    static std::string FirstShown(CDataTable* pTable)
    {
        CNorvApp::ShowTable(pTable);
        if (!pTable->GetMainWindow()->GetGrid().SelectRow(0, 0, FALSE))
            return "";
        CViewRow row;
        int nIndex = -1;
        CTBString strSymbol;
        if (!pTable->GetSelectedRow(row, &nIndex) || !row.GetText(strSymbol, 0))
            return "";
        return static_cast<LPCSTR>(strSymbol);
    }
    // Items of the menu with this id.
    static int CountItems(HMENU hMenu, UINT nId)
    {
        int nCount = 0;
        for (int i = 0; i < GetMenuItemCount(hMenu); ++i)
            nCount += GetMenuItemID(hMenu, i) == nId ? 1 : 0;
        return nCount;
    }
};

}  // namespace

TEST(MarketMentions, MatchThePythonReferenceAndEndWithinOneStepPerMark)
{
    std::ifstream in(std::string(TB_SOURCE_DIR) + "/tests/market/expected_mentions.txt");
    ASSERT_TRUE(in.good());
    int nCases = 0;
    for (std::string strLine; std::getline(in, strLine); ++nCases) {
        const std::vector<std::string> parts = Split(strLine, '|');
        ASSERT_EQ(3u, parts.size()) << strLine;
        int nSteps = -1;
        const CString strExpanded = CListNewsTable::ExpandMarketMentions(parts[0].c_str(), TestMarketName, &nSteps);
        EXPECT_EQ(parts[1], std::string(strExpanded)) << "text [" << parts[0] << "]";
        EXPECT_EQ(atoi(parts[2].c_str()), nSteps) << "text [" << parts[0] << "]";
        const int nMarks = static_cast<int>(std::count(parts[0].begin(), parts[0].end(), '@'));
        EXPECT_LE(nSteps, nMarks) << "one step at most per mark";
    }
    EXPECT_GT(nCases, 1000);
}

TEST_F(NewsMoversFixture, NewsListTakesGeneralRepliesAndLiveHeadlines)
{
    CListNewsTable* pNews = Make<CListNewsTable>();
    FireAll({"~LW|1|XC||0|7|0|0|0|||",
             "11|0|261207093000|NCB|11|2|Results @2, today|",
             "12|1|261207094500|GHB|12|4|@4 and @8 open|",
             "$EN|1|XC|0|2"});
    ASSERT_TRUE(pNews->IsComplete());
    const CDataArray& rows = *pNews->GetRows();
    ASSERT_EQ(2, rows.GetCount());
    EXPECT_EQ("11,12", Column(rows, 0));
    EXPECT_EQ((std::vector<std::string>{std::string(FullName(2)), std::string(FullName(4))}), ShownTexts(pNews, 5));
    EXPECT_EQ("Results (" + std::string(FullName(2)) + "), today", std::string(rows.GetAt(0)->GetText(6)));
    EXPECT_EQ("(" + std::string(FullName(4)) + ") and (" + std::string(FullName(8)) + ") open",
              std::string(rows.GetAt(1)->GetText(6)));

    // A company's reply is not this table's: the list stays.
    FireAll({"~LW|1|XC||0|7|0|0|0||2|NCB", "13|0|261207100000|NCB|13|2|Other|", "$EN|1|XC|0|1"});
    EXPECT_EQ("11,12", Column(rows, 0));
    // An error reply leaves it too.
    FireAll({"~LW|1|XC||5|7|0|0|0|||", "$EN|1|XC|0|0"});
    EXPECT_EQ("11,12", Column(rows, 0));

    // Live: the story and language of a shown row update it; another language is a new row.
    FireAll({"$BW|1|XC||11|0|261207093000|NCB|11|2|Revised @2|", "$BW|1|XC||11|1|261207093000|NCB|11|2|Arabic|"});
    ASSERT_EQ(3, rows.GetCount());
    const CDataBuffer* pUpdated = rows.FindRow({"11", "0"});
    ASSERT_NE(nullptr, pUpdated);
    EXPECT_EQ("Revised (" + std::string(FullName(2)) + ")", std::string(pUpdated->GetText(6)));
}

TEST_F(NewsMoversFixture, OneMoversReplyFillsEachListWithItsOwnRowsAndColours)
{
    CGainerLooserTable* pTables[3] = {Make<CGainerLooserTable>(0), Make<CGainerLooserTable>(1),
                                      Make<CGainerLooserTable>(2)};
    FireAll({"~GL|1|XC||0",
             "2|GHB|842|0|12|1.45|1000",
             "2|NCB|614|0|30|5.1|500",
             "2|KFH|700|1|-10|-1.4|800",
             "2|ZAIN|500|1|0|0|100",
             "2|GHB|842|2|12|1.45|1000",
             "2|NCB|614|2|30|5.1|500",
             "$EN|1|XC|0"});
    for (CGainerLooserTable* pTable : pTables)
        ASSERT_TRUE(pTable->IsComplete());
    EXPECT_EQ("GHB,NCB", Column(*pTables[0]->GetRows(), 0));
    EXPECT_EQ("KFH,ZAIN", Column(*pTables[1]->GetRows(), 0));
    EXPECT_EQ("GHB,NCB", Column(*pTables[2]->GetRows(), 0));
    // Shown: gainers by the largest change, losers by the largest fall, the most active by volume.
    EXPECT_EQ("NCB", FirstShown(pTables[0]));
    EXPECT_EQ("KFH", FirstShown(pTables[1]));
    EXPECT_EQ("GHB", FirstShown(pTables[2]));

    for (int nCol : {2, 3}) {
        EXPECT_EQ(CHANGE_ATTR_RISE, TextAttribute(pTables[0], {"NCB", "0"}, nCol));
        EXPECT_EQ(CHANGE_ATTR_FALL, TextAttribute(pTables[1], {"KFH", "1"}, nCol));
        EXPECT_EQ(CHANGE_ATTR_NONE, TextAttribute(pTables[1], {"ZAIN", "1"}, nCol)) << "no change, no colour";
    }
}

TEST_F(NewsMoversFixture, MoversPopupKeepsOneSetOfSymbolItems)
{
    CGainerLooserTable* pGainers = Make<CGainerLooserTable>(0);
    FireAll({"~GL|1|XC||0", "2|GHB|842|0|12|1.45|1000", "NMS|NCB|614|0|30|5.1|500", "$EN|1|XC|0"});
    CNorvApp::ShowTable(pGainers);
    HMENU hMenu = pGainers->CreateContextMenu();
    ASSERT_NE(nullptr, hMenu);
    const int nBase = GetMenuItemCount(hMenu);
    EXPECT_EQ(ID_TABLE_REFRESH, GetMenuItemID(hMenu, 0));

    pGainers->OnInitMenuPopup(hMenu, 0, FALSE);
    pGainers->OnInitMenuPopup(hMenu, 0, FALSE);
    EXPECT_EQ(nBase + 4, GetMenuItemCount(hMenu)) << "three items and their separator, once";
    for (UINT nId : {ID_MOVER_SHOW_SYMBOL, ID_MOVER_ORDER_BOOK, ID_MOVER_NEWS}) {
        EXPECT_EQ(1, CountItems(hMenu, nId));
        EXPECT_NE(0u, GetMenuState(hMenu, nId, MF_BYCOMMAND) & MF_GRAYED) << "no row selected";
    }

    // The first row (NCB, the largest change) on the "NMS" market: every item enabled.
    ASSERT_TRUE(pGainers->GetMainWindow()->GetGrid().SelectRow(0, 0, FALSE));
    pGainers->OnInitMenuPopup(hMenu, 0, FALSE);
    EXPECT_EQ(nBase + 4, GetMenuItemCount(hMenu));
    EXPECT_EQ(0u, GetMenuState(hMenu, ID_MOVER_ORDER_BOOK, MF_BYCOMMAND) & MF_GRAYED);
    char szText[64] = "";
    GetMenuStringA(hMenu, ID_MOVER_SHOW_SYMBOL, szText, sizeof(szText), MF_BYCOMMAND);
    EXPECT_NE(nullptr, strstr(szText, "(NCB)")) << szText;

    // GHB's market is not "NMS": no order book.
    ASSERT_TRUE(pGainers->GetMainWindow()->GetGrid().SelectRow(1, 0, FALSE));
    pGainers->OnInitMenuPopup(hMenu, 0, FALSE);
    EXPECT_NE(0u, GetMenuState(hMenu, ID_MOVER_ORDER_BOOK, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(0u, GetMenuState(hMenu, ID_MOVER_SHOW_SYMBOL, MF_BYCOMMAND) & MF_GRAYED);
    DestroyMenu(hMenu);
}

TEST_F(NewsMoversFixture, HolidaysNameTheirMarkets)
{
    CHolidayTable* pHolidays = Make<CHolidayTable>();
    FireAll({"~HD|1|XC||0", "261225|Holiday B|4", "261201|Holiday A|2", "$EN|1|XC|0"});
    const CDataArray& rows = *pHolidays->GetRows();
    ASSERT_EQ(2, rows.GetCount());
    EXPECT_EQ("Holiday A,Holiday B", Column(rows, 2)) << "by date";
    EXPECT_EQ((std::vector<std::string>{std::string(FullName(2)), std::string(FullName(4))}), ShownTexts(pHolidays, 1))
        << "whole";
}

TEST_F(NewsMoversFixture, KseEventsIgnoreAnotherRequestersReply)
{
    CCorporateEventsKSETable* pEvents = Make<CCorporateEventsKSETable>();
    FireAll({"~CF|1|XC||0||||||0", "7|261210|GHB|1|0.025|1000|0|261215|Cash dividend|2", "$EN|1|XC|0"});
    const CDataArray& rows = *pEvents->GetRows();
    ASSERT_EQ(1, rows.GetCount());
    EXPECT_EQ("GHB", std::string(rows.GetAt(0)->GetText(2)));
    EXPECT_DOUBLE_EQ(0.025, rows.GetAt(0)->GetDouble(4));

    // A reply whose field 6 names another selection is not this table's.
    FireAll({"~CF|1|XC||0||||||5", "8|261211|NCB|1|0.01|10|0|261216|Other|2", "$EN|1|XC|0"});
    EXPECT_EQ(1, rows.GetCount());
    EXPECT_TRUE(rows.FindRow({"7", "2"}) != nullptr);
}

TEST_F(NewsMoversFixture, EventsOfEveryMarketNameTheirMarketAndIgnoreAnotherRequester)
{
    CCorporateEventsTable* pEvents = Make<CCorporateEventsTable>();
    FireAll({"~CE|1|XC||||0|0|261101|261207",
             "7|261210|GHB|1|0.025|1000|0|261215|Cash dividend|7|||||261210000000|||4|1|261210|261215|261215",
             "$EN|1|XC|0"});
    const CDataArray& rows = *pEvents->GetRows();
    ASSERT_EQ(1, rows.GetCount());
    EXPECT_EQ(std::vector<std::string>{std::string(FullName(4))}, ShownTexts(pEvents, 3));
    EXPECT_EQ("GHB", std::string(rows.GetAt(0)->GetText(2)));

    FireAll({"~CE|1|XC||||0|3|261101|261207",
             "8|261211|NCB|1|0.01|10|0|261216|Other|8|||||261211000000|||2|1|261211|261216|261216", "$EN|1|XC|0"});
    EXPECT_EQ(1, rows.GetCount()) << "another requester's reply";
}
