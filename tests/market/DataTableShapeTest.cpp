// The shape every server-fed table shares: a cell read from a window as a typed copy that outlives
// its row, the stored row of a window's line, a Create that fails registering nothing (and can
// be tried again), each market table's message types as its description lists them, and a
// table's sink from construction to deletion.
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "DataTableTestSupport.h"
#include "app/TableMDIWnd.h"
#include "framework/table/ViewRow.h"
#include "tests/common/SinkOverrides.h"
#include "market/IndicesHistoryTables.h"
#include "market/IndicesKSETable.h"
#include "market/InternationalExchangeRatesTable.h"
#include "market/InternationalInterestRatesTable.h"
#include "market/InternationalMarketMakerOrderBookTable.h"
#include "market/InternationalMarketScheduleTable.h"
#include "market/InternationalOrderBookTable.h"
#include "market/OpenInterestFwdKSETable.h"
#include "market/OptionChainTable.h"
#include "market/OrderBookKSETable.h"
#include "market/OrderBookOddLotKSETable.h"
#include "market/QuotationDailyTable.h"
#include "market/QuotationFwdKSETable.h"
#include "market/QuotationKSETable.h"

namespace {

#define TABLE_ICON_ID 284
#define TABLE_WINDOW_CLASS_NAME "NorvTableMDIWnd"

// A market table class and the message types its sink takes.
struct MARKET_CLASS
{
    const char* pszName;
    std::function<CDataTable*(CZorvatMessageSource*)> make;
    std::vector<int> types;
};

template <class TTable>
CDataTable* MakeOn(CZorvatMessageSource* pSource)
{
    return new TTable(pSource);
}

const std::vector<MARKET_CLASS>& MarketClasses()
{
    static const std::vector<MARKET_CLASS> classes = {
        {"KSE board", MakeOn<CQuotationKSETable>, {MSG_QQ, MSG_SQ}},
        {"KSE order book", MakeOn<COrderBookKSETable>, {MSG_OU, MSG_OB}},
        {"KSE odd-lot book", MakeOn<COrderBookOddLotKSETable>, {MSG_OO, MSG_OD}},
        {"forward market", MakeOn<CQuotationFwdKSETable>, {MSG_MM, MSG_FM, MSG_FQ, MSG_FW}},
        {"open interest", MakeOn<COpenInterestFwdKSETable>, {MSG_OI}},
        {"indices", MakeOn<CIndicesKSETable>, {MSG_IX, MSG_LX}},
        {"index daily history", MakeOn<CIndicesDailyTable>, {MSG_DX}},
        {"index monthly history", MakeOn<CIndicesMonthlyTable>, {MSG_DX}},
        {"stock daily history", MakeOn<CQuotationDailyTable>, {MSG_DQ}},
        {"exchange rates", MakeOn<CInternationalExchangeRatesTable>, {MSG_VX}},
        {"interest rates", MakeOn<CInternationalInterestRatesTable>, {MSG_LI}},
        {"market schedule", MakeOn<CInternationalMarketScheduleTable>, {MSG_VS}},
        {"option chain", MakeOn<COptionChainTable>, {MSG_GO}},
        {"US price-level book", MakeOn<CInternationalOrderBookTable>, {MSG_L2}},
        {"US market-maker book", MakeOn<CInternationalMarketMakerOrderBookTable>, {MSG_L3}},
    };
    return classes;
}

struct ShapeFixture : ::testing::Test
{
    CTestLanguage language;
    CTestShell shell;
    CZorvatMessageSource source;

    void SetUp() override { RegisterMessageCodes(g_messageCodePairs); }
    void TearDown() override
    {
        CNorvApp::Get()->RemoveAllTables();
        UnregisterClassA(TABLE_WINDOW_CLASS_NAME, nullptr);
    }
    void Fire(const char* pszLine) { FireTableLine(source, pszLine); }
    // A reply of the type with one data line, then a line of every other type the table takes.
    void FireTypes(const std::vector<int>& types)
    {
        for (int nType : types) {
            const std::string strMnemonic = GetMessageTypeInfo(nType)->szMnemonic;
            Fire(("~" + strMnemonic + "|1|XC||0").c_str());
            Fire("2|2|1|1|1|1|1|1|1|1|1|1");
            Fire("$EN|1|XC|0");
        }
    }
    void Reply(std::initializer_list<const char*> rows)
    {
        Fire("~FR|1|XC||0");
        for (const char* pszRow : rows)
            Fire(pszRow);
        Fire("$EN|1|XC|0");
    }
    // The table window class named by the application, but not registered: no table window
    // can be made.
    void BreakTableWindows()
    {
        shell.App().RegisterTableWindowClass(TABLE_ICON_ID);
        ASSERT_EQ(std::string(TABLE_WINDOW_CLASS_NAME), std::string(shell.App().GetTableWindowClass()));
        ASSERT_TRUE(UnregisterClassA(TABLE_WINDOW_CLASS_NAME, nullptr));
    }
};

}  // namespace

TEST_F(ShapeFixture, CellCopiesReadRightAfterTheirRowIsGone)
{
    CQuoteFeedTable* pTable = new CQuoteFeedTable(&source);    // the table map deletes it
    ASSERT_TRUE(pTable->Create());
    Reply({"1|AAA|99.5|1000|201231|101500|aaa", "2|BBB|7.25|20|200105|093000|bbb"});
    CViewRow row(pTable->GetTable()->GetView(0));
    ASSERT_TRUE(pTable->GetTable()->GetView(0)->GetRow(row, 1));
    const CCellValue key = CDataTable::GetCellValue(&row, 0);
    const CCellValue symbol = CDataTable::GetCellValue(&row, 1);
    const CCellValue price = CDataTable::GetCellValue(&row, 2);
    const CCellValue volume = CDataTable::GetCellValue(&row, 3);
    const CCellValue date = CDataTable::GetCellValue(&row, 4);
    EXPECT_EQ(pTable->GetRows()->GetAt(1), pTable->GetDataRow(&row)) << "the stored row by its keys";
    EXPECT_TRUE(CDataTable::GetCellValue(&row, 6).IsEmpty()) << "a column outside the view";
    EXPECT_TRUE(CDataTable::GetCellValue(&row, -1).IsEmpty());
    EXPECT_TRUE(CDataTable::GetCellValue(nullptr, 0).IsEmpty());
    CViewRow unplaced(pTable->GetTable()->GetView(0));
    EXPECT_TRUE(CDataTable::GetCellValue(&unplaced, 1).IsEmpty()) << "a cursor on no line";
    EXPECT_EQ(nullptr, pTable->GetDataRow(&unplaced));

    // The row leaves the store, then a refill replaces every row and its texts.
    EXPECT_TRUE(pTable->GetRows()->RemoveRow({"2"}));
    Reply({"3|CCCCCCCCCC|1|1|1|1|c", "4|DDDDDDDDDD|2|2|2|2|d"});
    EXPECT_EQ(CCellValue::NUMBER, key.GetKind());
    EXPECT_EQ(2, key.GetNumber());
    EXPECT_EQ("2", std::string(key.GetText()));
    EXPECT_EQ(CCellValue::TEXT, symbol.GetKind());
    EXPECT_EQ("BBB", std::string(symbol.GetText()));
    EXPECT_EQ(CCellValue::DOUBLE, price.GetKind());
    EXPECT_EQ(7.25, price.GetDouble());
    EXPECT_EQ(7, price.GetNumber());
    EXPECT_EQ("7.25", std::string(price.GetText()));
    EXPECT_EQ(20, volume.GetNumber()) << "the number, not its grouped text";
    EXPECT_EQ("20200105", std::string(date.GetText())) << "as stored, not as shown";
    EXPECT_EQ(20200105, date.GetNumber()) << "a text reads as the number it starts with";
    EXPECT_EQ("", std::string(CCellValue().GetText()));
    EXPECT_EQ(0, CCellValue().GetNumber());
}

TEST_F(ShapeFixture, SelectedAndFocusedLinesReadTheirStoredRow)
{
    CQuoteFeedTable* pTable = new CQuoteFeedTable(&source);
    ASSERT_TRUE(pTable->Create());
    EXPECT_TRUE(pTable->GetFocusedValue(1).IsEmpty()) << "an empty table has no focused line";
    Reply({"1|AAA|1|1000|1|1|a", "2|BBB|2|1234567|1|1|b", "3|CCC|3|3|1|1|c"});
    CTableMDIWnd* pMain = pTable->GetMainWindow();
    ASSERT_NE(nullptr, pMain);
    // Not the active window: the selection is no one's, the focused line the main window's.
    pMain->GetGrid().SelectRow(1, 0, FALSE);
    EXPECT_EQ(1234567, pTable->GetFocusedValue(3).GetNumber());
    CNorvApp::ShowTable(pTable);
    EXPECT_EQ(pTable->GetRows()->GetAt(1), pTable->GetSelectedDataRow());
    EXPECT_EQ("BBB", std::string(pTable->GetFocusedValue(1).GetText()));
    // A live line's new figures are read at once.
    Fire("$LL|1|XC||2|8.5|42");
    EXPECT_EQ(42, pTable->GetFocusedValue(3).GetNumber());
    EXPECT_EQ(8.5, pTable->GetSelectedDataRow()->GetDouble(2));
    pMain->GetGrid().SelectRow(2, 0, FALSE);
    EXPECT_EQ(3, pTable->GetFocusedValue(0).GetNumber());
    EXPECT_EQ(pTable->GetRows()->GetAt(2), pTable->GetSelectedDataRow());
}

TEST_F(ShapeFixture, FailedCreateRegistersNothingAndCanBeTriedAgain)
{
    BreakTableWindows();
    const std::vector<const MARKET_CLASS*> classes = {&MarketClasses()[0], &MarketClasses()[1], &MarketClasses()[2],
                                                      &MarketClasses()[6], &MarketClasses()[8]};
    std::vector<std::unique_ptr<CDataTable>> failed;
    for (const MARKET_CLASS* pClass : classes) {
        failed.emplace_back(pClass->make(&source));
        CDataTable* pTable = failed.back().get();
        EXPECT_FALSE(pTable->Create()) << pClass->pszName;
        EXPECT_EQ(-1, pTable->GetSinkId()) << pClass->pszName;
        EXPECT_EQ(nullptr, shell.App().FindTable(pTable->GetDescription().nNameId)) << pClass->pszName;
        EXPECT_EQ(nullptr, pTable->GetMainWindow()) << pClass->pszName;
    }
    EXPECT_EQ(0, source.GetSinkCount());
    EXPECT_TRUE(shell.App().GetTables().empty());
    for (const MARKET_CLASS* pClass : classes)
        FireTypes(pClass->types);
    for (const auto& pTable : failed)
        EXPECT_EQ(0, pTable->GetRows()->GetCount());

    // With table windows again, the same objects are created as if new.
    shell.App().RegisterTableWindowClass(TABLE_ICON_ID);
    for (size_t i = 0; i < failed.size(); ++i) {
        CDataTable* pTable = failed[i].release();    // the table map's from here
        ASSERT_TRUE(pTable->Create()) << classes[i]->pszName;
        EXPECT_EQ(pTable, shell.App().FindTable(pTable->GetDescription().nNameId));
        EXPECT_NE(nullptr, pTable->GetMainWindow());
        EXPECT_EQ(static_cast<int>(pTable->GetDescription().columns.size()),
                  pTable->GetTable()->GetView(0)->GetColumnCount()) << classes[i]->pszName;
    }
    EXPECT_EQ(static_cast<int>(classes.size()), source.GetSinkCount());
}

TEST_F(ShapeFixture, SecondCreateOrRefusedDescriptionChangesNothing)
{
    CQuoteFeedTable* pTable = new CQuoteFeedTable(&source);
    ASSERT_TRUE(pTable->Create());
    Reply({"1|AAA|1|1|1|1|a"});
    EXPECT_FALSE(pTable->Create());
    EXPECT_EQ(1, source.GetSinkCount());
    EXPECT_EQ(6, pTable->GetTable()->GetView(0)->GetColumnCount());
    EXPECT_EQ("1 AAA 1 1 2000/01/01 ", RowsText(*pTable->GetRows()));

    // Descriptions the base cannot build: a key, a sort key or fixed columns past the columns,
    // a field map longer than them, no columns at all.
    const int badKeys[] = {0, 6};
    const TABLE_SORT_KEY badSort[] = {{7, 1}};
    const int longMap[] = {0, 1, 2, 3, 4, 5, 6};
    const TABLE_FIELD_MAP longMaps[] = {{.nMessageType = MSG_LL, .fields = longMap}};
    TABLE_DESC descs[5] = {g_quoteTable, g_quoteTable, g_quoteTable, g_quoteTable, g_quoteTable};
    descs[0].keys = badKeys;
    descs[1].sort = badSort;
    descs[2].nFixedColumns = 7;
    descs[3].maps = longMaps;
    descs[4].columns = {};
    for (const TABLE_DESC& desc : descs) {
        EXPECT_FALSE(CDataTable::IsUsableDescription(desc));
        CDataTable table(desc, &source);
        EXPECT_FALSE(table.Create(52998, 0, 0));
        EXPECT_EQ(nullptr, table.GetMainWindow());
        EXPECT_EQ(nullptr, shell.App().FindTable(52998));
    }
    EXPECT_EQ(1, source.GetSinkCount());
    EXPECT_TRUE(CDataTable::IsUsableDescription(g_quoteTable));
}

TEST_F(ShapeFixture, EachMarketTableTakesTheTypesItsDescriptionLists)
{
    for (const MARKET_CLASS& marketClass : MarketClasses()) {
        std::unique_ptr<CDataTable> pTable(marketClass.make(&source));
        CMessageTypeSet types;
        for (int nType : marketClass.types)
            types.Add(nType);
        EXPECT_EQ(types, pTable->GetMessageTypes()) << marketClass.pszName;
    }
}

TEST_F(ShapeFixture, ATableIsReachedOnlyBetweenCreateAndDestroy)
{
    for (const MARKET_CLASS& marketClass : MarketClasses()) {
        // Fresh: unregistered, not receiving, and its lines reach nothing.
        CDataTable* pTable = marketClass.make(&source);
        EXPECT_EQ(-1, pTable->GetSinkId()) << marketClass.pszName;
        EXPECT_FALSE(pTable->GetSinkRecord()->m_bReceiving);
        FireTypes(marketClass.types);
        EXPECT_FALSE(pTable->IsReceiving()) << marketClass.pszName;
        EXPECT_EQ(0, pTable->GetRows()->GetCount()) << marketClass.pszName;

        // Created, then destroyed as the application does: out of the source first.
        ASSERT_TRUE(pTable->Create()) << marketClass.pszName;
        EXPECT_GE(pTable->GetSinkId(), 0);
        IDataTable* pSlot = shell.App().FindTable(pTable->GetDescription().nNameId);
        ASSERT_EQ(pTable, pSlot);
        shell.App().RemoveTable(&pSlot);
        EXPECT_EQ(0, source.GetSinkCount()) << marketClass.pszName;
        FireTypes(marketClass.types);

        // Deleted through its sink part, once a second table of its name holds its place in the
        // table map: the whole chain runs, its window and its registration go with it.
        pTable = marketClass.make(&source);
        ASSERT_TRUE(pTable->Create());
        CDataTable* pSecond = marketClass.make(&source);    // the table map's
        ASSERT_TRUE(pSecond->Create());
        ASSERT_EQ(pSecond, shell.App().FindTable(pTable->GetDescription().nNameId));
        const HWND hMain = pTable->GetMainWindow() != nullptr ? pTable->GetMainWindow()->m_hWnd : nullptr;
        EXPECT_TRUE(IsWindow(hMain));
        CZorvatMessageSink* pSink = pTable;
        delete pSink;
        EXPECT_FALSE(IsWindow(hMain)) << marketClass.pszName;
        EXPECT_EQ(1, source.GetSinkCount()) << marketClass.pszName;
        FireTypes(marketClass.types);
        EXPECT_GE(pSecond->GetSinkId(), 0);
        IDataTable* pLast = pSecond;
        shell.App().RemoveTable(&pLast);
    }
}

TEST_F(ShapeFixture, AClassThatFixesItsColumnsKeepsThemWhateverItsMakerAsks)
{
    for (const MARKET_CLASS& marketClass : MarketClasses()) {
        CDataTable* pTable = marketClass.make(&source);
        const TABLE_DESC& desc = pTable->GetDescription();
        // The application's makers give 0; a class with its own count keeps it, the others take
        // the maker's.
        const int nAsked = desc.nFixedColumns > 0 ? 0 : 1;
        ASSERT_TRUE(pTable->Create(desc.nNameId, nAsked, desc.nTitleId)) << marketClass.pszName;
        const int nExpected = desc.nFixedColumns > 0 ? desc.nFixedColumns : nAsked;
        EXPECT_EQ(nExpected, pTable->GetTable()->GetView(0)->GetFixedColumnCount()) << marketClass.pszName;
        IDataTable* pSlot = pTable;
        shell.App().RemoveTable(&pSlot);
    }
}
