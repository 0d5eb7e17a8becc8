// The option chain fed through a real message source: replies add up, and the main window's
// filter keeps exactly the rows a plain list comprehension keeps over the same series
// (expected_option_filter.txt, from gen_option_filter.py).
#include <gtest/gtest.h>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>
#include "DataTableTestSupport.h"
#include "app/TableMDIWnd.h"
#include "framework/base/TBString.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "market/OptionChainTable.h"
#include "market/TableLinks.h"
#include "refdata/ZorvatTypes.h"

namespace {

std::vector<std::string> Split(const std::string& strLine, char chSep)
{
    std::vector<std::string> parts;
    std::stringstream in(strLine);
    for (std::string strPart; std::getline(in, strPart, chSep);)
        parts.push_back(strPart);
    if (!strLine.empty() && strLine.back() == chSep)
        parts.emplace_back();
    return parts;
}

COleDateTime DateOf(const std::string& strDate)
{
    COleDateTime date;
    if (strDate == "-")
        date.SetStatus(COleDateTime::null);
    else
        date.SetDate(std::stoi(strDate.substr(0, 4)), std::stoi(strDate.substr(4, 2)), std::stoi(strDate.substr(6, 2)));
    return date;
}

struct OptionChainFixture : ::testing::Test
{
    CTestLanguage language;
    CTestShell shell;
    CZorvatMessageSource source;
    CZorvatTypes types;
    COptionChainTable* pChain = nullptr;

    void SetUp() override
    {
        RegisterMessageCodes(g_messageCodePairs);
        types.CreateTables();
        pChain = new COptionChainTable(&source);
        ASSERT_TRUE(pChain->Create());
    }
    void TearDown() override
    {
        if (CNorvApp::Get() != nullptr)
            CNorvApp::Get()->RemoveAllTables();
    }
    void Fire(const std::string& strLine) { FireTableLine(source, strLine.c_str()); }
    // One "GO" reply of series "underlying|right|strike|YYYYMMDD".
    void Reply(const std::vector<std::string>& series)
    {
        Fire("~GO|1|XC||0|X");
        for (const std::string& strRow : series) {
            const std::vector<std::string> f = Split(strRow, '|');
            // The server's date: the year less 2000, then month and day.
            const std::string strDate = std::to_string(std::stoi(f[3].substr(0, 4)) - 2000) + f[3].substr(4);
            Fire(f[0] + "|" + f[0] + "C|" + f[1] + "|" + f[2] + "|" + strDate);
        }
        Fire("$EN|1|XC|0");
    }
    // The rows the main window shows, each as "underlying/right/strike/YYYYMMDD" from its stored
    // values (the grid's texts name the row).
    std::set<std::string> Shown() const
    {
        std::map<std::string, std::string> byText;
        const CDataArray* pRows = pChain->GetRows();
        for (int r = 0; r < pRows->GetCount(); ++r) {
            const CDataBuffer* pRow = pRows->GetAt(r);
            std::string strText;
            for (int c = 0; c < 4; ++c)
                strText += std::string(pRow->GetText(c, TRUE)) + "/";
            char szStrike[32];
            std::snprintf(szStrike, sizeof(szStrike), "%.2f", pRow->GetDouble(2));
            byText[strText] = std::string(pRow->GetText(0)) + "/" + std::to_string(pRow->GetLong(1)) + "/" + szStrike +
                              "/" + std::string(pRow->GetText(3));
        }
        std::set<std::string> shown;
        CViewTable* pView = pChain->GetMainWindow()->GetView();
        CViewRow row;
        for (int i = 0; pView->GetRow(row, i); ++i) {
            if (!row.IsDataRow())
                continue;
            std::string strText;
            for (int c = 0; c < 4; ++c) {
                CTBString strCell;
                row.GetText(strCell, c);
                strText += std::string(strCell) + "/";
            }
            shown.insert(byText.count(strText) != 0 ? byText[strText] : "?" + strText);
        }
        return shown;
    }
};

}  // namespace

TEST_F(OptionChainFixture, RepliesAddUpAndDatesAreConverted)
{
    Reply({"ALPN|1|45|20261218", "ALPN|1|50|20261218"});
    Reply({"ALPN|2|45|20261218"});
    CDataArray* pRows = pChain->GetRows();
    ASSERT_EQ(3, pRows->GetCount()) << "the puts' reply keeps the calls";
    EXPECT_EQ(CString("ALPN"), pRows->GetAt(0)->GetText(0));
    EXPECT_EQ(CString("20261218"), pRows->GetAt(0)->GetText(3)) << "the server's date as eight digits";
    EXPECT_EQ(1, pRows->GetAt(0)->GetLong(1));
    EXPECT_EQ(2, pRows->GetAt(2)->GetLong(1)) << "sorted by right after the underlying";
    pChain->RemoveAllRows();
    Reply({"BRIX|1|10|20270115"});
    EXPECT_EQ(1, pRows->GetCount()) << "emptying is the requester's";
}

TEST_F(OptionChainFixture, FilterKeepsWhatTheKnownAnswerKeeps)
{
    std::ifstream in(TB_SOURCE_DIR "/tests/market/expected_option_filter.txt");
    ASSERT_TRUE(in.good());
    std::vector<std::string> series;
    std::vector<std::vector<std::string>> cases;
    for (std::string strLine; std::getline(in, strLine);) {
        if (strLine.rfind("row|", 0) == 0)
            series.push_back(strLine.substr(4));
        else if (strLine.rfind("case|", 0) == 0)
            cases.push_back(Split(strLine.substr(5), '|'));
    }
    ASSERT_FALSE(series.empty());
    ASSERT_GE(cases.size(), 5u);
    Reply(series);
    ASSERT_EQ(static_cast<int>(series.size()), pChain->GetRows()->GetCount());

    const CString strBoth = LoadMarketText(IDS_OPTION_BOTH_RIGHTS);
    for (const std::vector<std::string>& c : cases) {
        const int nRight = std::stoi(c[2]);
        const CString strRight = nRight == 0 ? strBoth : nRight == 9 ? CString("no such right") : COptionRight::GetText(nRight);
        ASSERT_TRUE(pChain->ApplyFilter(std::stod(c[0]), std::stod(c[1]), strRight, DateOf(c[3]), DateOf(c[4])));
        std::set<std::string> expected;
        for (const std::string& strKey : Split(c[5], ','))
            if (!strKey.empty())
                expected.insert(strKey);
        EXPECT_EQ(expected, Shown()) << "strikes " << c[0] << " to " << c[1] << ", right " << c[2] << ", expiry "
                                     << c[3] << " to " << c[4];
    }
}
