// The KSE odd-lot quotations fed through a real message source: the "SQ" reply fills rows with
// their change and average price, "QQ" keeps them (a line before the first reply has ended is
// dropped, one during a refill is held until its end), and the alerts are saved by symbol.
#include <gtest/gtest.h>

#include <string>
#include "framework/base/SettingsFile.h"
#include "framework/table/TreeNode.h"
#include "framework/table/ViewRow.h"
#include "link/MessageSource.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/QuotationFigures.h"
#include "market/QuotationOddLotKSETable.h"
#include "platform/win/user/Menu.h"
#include "tests/app/AppTestSupport.h"
#include "tests/market/DataTableTestSupport.h"

namespace {

// A row of the reply, or the live line with its header: stock, reference, last, traded
// quantity, deals and value (thousands).
std::string OddLot(const char* pszHead, int nStock, const char* pszRef, const char* pszLast, const char* pszQty,
                   const char* pszValue)
{
    return std::string(pszHead) + std::to_string(nStock) + "||||||||||||||" + pszRef + "|||" + pszLast +
           "|211207101500|" + pszQty + "|3|" + pszValue;
}
std::string Row(int nStock, const char* pszRef, const char* pszLast, const char* pszQty, const char* pszValue)
{
    return OddLot("", nStock, pszRef, pszLast, pszQty, pszValue);
}
std::string Live(int nStock, const char* pszRef, const char* pszLast, const char* pszQty, const char* pszValue)
{
    return OddLot("~QQ|1|XC|0|", nStock, pszRef, pszLast, pszQty, pszValue);
}

struct OddLotFixture : ::testing::Test
{
    CTestLanguage language;
    CTestShell shell;
    CZorvatMessageSource source;
    CQuotationOddLotKSETable* pTable = nullptr;

    void SetUp() override
    {
        RegisterMessageCodes(g_messageCodePairs);
        pTable = new CQuotationOddLotKSETable(&source);     // the table map deletes it
        ASSERT_TRUE(pTable->Create());
    }
    void TearDown() override
    {
        if (CNorvApp::Get() != nullptr)
            CNorvApp::Get()->RemoveAllTables();
    }
    void Fire(const std::string& strLine) { FireTableLine(source, strLine.c_str()); }
    // Stock, last, change and average of every row, in the store's order.
    std::string Rows()
    {
        std::string strText;
        CDataArray* pRows = pTable->GetRows();
        for (int i = 0; i < pRows->GetCount(); ++i) {
            const CDataBuffer* pRow = pRows->GetAt(i);
            strText += (i > 0 ? "|" : "") + std::string(pRow->GetText(OC_STOCK, TRUE)) + " " +
                       std::string(pRow->GetText(OC_LAST, TRUE)) + " " + std::string(pRow->GetText(OC_CHANGE, TRUE)) +
                       " " + std::string(pRow->GetText(OC_AVERAGE, TRUE));
        }
        return strText;
    }
    int Colour(int nStock, int nCol)
    {
        CViewTable* pView = pTable->GetTable()->GetView(0);
        for (int i = 0; i < pView->GetRowCount(); ++i) {
            CViewRow row;
            CTBString strStock;
            if (pView->GetRow(row, i) && row.IsDataRow() && row.GetText(strStock, OC_STOCK) &&
                strStock == std::to_string(nStock).c_str())
                return row.GetNode()->GetAttr(nCol, 1) & CELL_TEXT_MASK;
        }
        return -1;
    }
};

}  // namespace

TEST_F(OddLotFixture, ReplyRowsAreKeptByLiveLines)
{
    Fire(Live(101, "500", "510", "40", "20.4"));
    Fire("~SQ|1|XC||0");
    Fire(Live(101, "500", "510", "40", "20.4"));
    Fire(Row(205, "300", "290", "10", "2.9"));
    Fire(Row(101, "500", "0", "0", "0"));
    Fire("$EN|1|XC|0");
    // Lines before the first reply ended are dropped; the reply's rows sorted by stock; no last
    // price: no change; nothing traded: no average (zeros show blank).
    EXPECT_EQ("101   |205 290 -10 290", Rows());
    EXPECT_EQ(QUOTE_ATTR_UNCHANGED, Colour(101, OC_LAST));
    EXPECT_EQ(QUOTE_ATTR_FALLING, Colour(205, OC_CHANGE));

    // A live line updates its row in place; one for a stock not listed adds a row.
    Fire(Live(101, "500", "510", "40", "20.4"));
    Fire(Live(150, "100", "100", "5", "0.5"));
    EXPECT_EQ("101 510 10 510|150 100  100|205 290 -10 290", Rows());
    EXPECT_EQ(QUOTE_ATTR_RISING, Colour(101, OC_LAST));
    EXPECT_EQ(QUOTE_ATTR_UNCHANGED, Colour(150, OC_CHANGE));
    EXPECT_EQ("2021/12/07 10:15:00", std::string(pTable->GetRows()->GetAt(0)->GetText(OC_TIME, TRUE)));

    // A refill holds the live lines until its end, then applies them to the new rows in order.
    Fire("~SQ|1|XC||0");
    Fire(Live(205, "300", "310", "20", "6.2"));
    Fire(Live(205, "300", "320", "30", "9.6"));
    Fire(Row(205, "300", "290", "10", "2.9"));
    EXPECT_EQ(2, pTable->GetHeldLineCount());
    Fire("$EN|1|XC|0");
    EXPECT_EQ(0, pTable->GetHeldLineCount());
    EXPECT_EQ("205 320 20 320", Rows());
    EXPECT_EQ(QUOTE_ATTR_RISING, Colour(205, OC_CHANGE));
}

TEST_F(OddLotFixture, AlertsAreSavedBySymbol)
{
    Fire("~SQ|1|XC||0");
    Fire(Row(101, "500", "510", "40", "20.4"));
    Fire(Row(102, "500", "510", "40", "20.4"));
    Fire("$EN|1|XC|0");
    CDataBuffer* pRow = pTable->GetRows()->GetAt(1);
    pRow->SetText(OC_SYMBOL, "NBK", TRUE);
    pRow->SetDouble(OC_ALERT_PRICE, 0.29, TRUE);
    const int nDirection = ALERT_ON_RISE;
    pRow->SetValue(OC_ALERT_DIR, &nDirection, TRUE);
    CSettingsFile ini;
    pTable->SaveWatchList(ini);
    EXPECT_STREQ("QuotesOddLotKSE.TickerKSE", ini.GetSection());
    EXPECT_STREQ("NBK", ini.GetString("TickerKSE1"));
    EXPECT_EQ(29, ini.GetLong("AlertPrcKSE1", 0));
    EXPECT_EQ(ALERT_ON_RISE, ini.GetLong("AlertDirKSE1", 0));
    EXPECT_STREQ("", ini.GetString("TickerKSE2"));

    HMENU hMenu = pTable->CreateContextMenu();
    ASSERT_NE(nullptr, hMenu);
    EXPECT_EQ(33255u, GetMenuItemID(hMenu, 0)) << "the board's trades";
    DestroyMenu(hMenu);
}
