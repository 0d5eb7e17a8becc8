// The code tables of CZorvatTypes through their public operations: texts against the codes and
// string ids written out here by hand, fallbacks, reverse lookups, the column callbacks before
// the tables exist and with short buffers, and the holder's making and deleting.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "CodeTablesSupport.h"
#include "framework/table/TableColumn.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/kernel/Resources.h"
#include "refdata/ServerCodeTables.h"
#include "refdata/ZorvatTypes.h"

namespace {

typedef CString (*GETTEXT)(int);
typedef int (*GETCODE)(LPCSTR);

struct ColumnCallback { const char* pszTable; TBCOLUMNFORMAT pfn; };

// Every column callback there is, the flag column's included.
const ColumnCallback s_callbacks[] = {
    {"TransactionType", &CTransactionType::FormatCodeColumn},
    {"MarketUS", &CMarketUS::FormatCodeColumn},
    {"MarketKSE", &CMarketKSE::FormatCodeColumn},
    {"OrderType", &COrderType::FormatCodeColumn},
    {"OrderDur", &COrderDur::FormatCodeColumn},
    {"OrderStatus", &COrderStatus::FormatCodeColumn},
    {"RoutingStatus", &CRoutingStatus::FormatCodeColumn},
    {"RoutingResult", &CRoutingResult::FormatCodeColumn},
    {"TradeStatus", &CTradeStatus::FormatCodeColumn},
    {"GainerLooser", &CGainerLooser::FormatCodeColumn},
    {"AlertDir", &CAlertDir::FormatCodeColumn},
    {"ForwardContractStatus", &CForwardContractStatus::FormatCodeColumn},
    {"MarginCallStatus", &CMarginCallStatus::FormatCodeColumn},
    {"HoldingKSE", &CHoldingKSE::FormatCodeColumn},
    {"OptionRight", &COptionRight::FormatCodeColumn},
    {"InterestType", &CInterestType::FormatCodeColumn},
    {"LangOpt", &CLangOpt::FormatCodeColumn},
    {"SubsType", &CSubsType::FormatCodeColumn},
    {"YesNo column", &CZorvatTypes::FormatYesNoColumn},
};

// A row of three cells with the code in the middle one, as a computed column sees it.
struct CRow
{
    explicit CRow(int nCode) { slots[0].nValue = -77; slots[1].nValue = nCode; slots[2].nValue = -77; }
    TBCellSlot slots[3] = {};
};

std::string Format(TBCOLUMNFORMAT pfn, int nCode, int nSize = 64, BOOL* pbDone = nullptr)
{
    CRow row(nCode);
    std::vector<char> buf(static_cast<size_t>(nSize > 0 ? nSize : 1) + 8, '#');
    BOOL bDone = pfn(buf.data(), nSize, row.slots, 1);
    if (pbDone != nullptr)
        *pbDone = bDone;
    for (size_t i = static_cast<size_t>(nSize > 0 ? nSize : 0); i < buf.size(); ++i)
        EXPECT_EQ('#', buf[i]) << "written past the buffer at " << i;
    return bDone ? std::string(buf.data()) : std::string("(untouched:") + buf[0] + ")";
}

// The tables made from a module whose texts are their ids, for the length of one test.
class CodeTables : public ::testing::Test
{
protected:
    CCodeTextModule m_module;
    CZorvatTypes m_types;
    void SetUp() override { m_types.CreateTables(); }
};

TEST(CodeTablesBefore, ReadersAnswerAsForMissingCodesWhileNoTableExists)
{
    EXPECT_EQ(nullptr, CTransactionType::Get());
    EXPECT_STREQ("3", CTransactionType::GetText(3));
    EXPECT_STREQ("77", CRoutingResult::GetText(77));     // the stand-in's text is not there either
    EXPECT_EQ(-1, COrderType::GetCodeByText("55048"));
    EXPECT_EQ(0, COptionRight::GetCodeByText("57172"));
    EXPECT_EQ(-1, CFillRest::GetCodeByText(""));
    for (const ColumnCallback& c : s_callbacks) {
        BOOL bDone = TRUE;
        EXPECT_EQ("(untouched:#)", Format(c.pfn, 1, 16, &bDone)) << c.pszTable;
        EXPECT_FALSE(bDone) << c.pszTable;
    }
}

TEST_F(CodeTables, TextsAreTheListedIdsAndMissingCodesShowTheirNumber)
{
    // A few codes of every table that something reads, from the tables' listings.
    static const struct { const char* pszTable; GETTEXT pfn; int nCode; const char* pszText; } rows[] = {
        {"PaymentMode", &CPaymentMode::GetText, 0, ""},
        {"PaymentMode", &CPaymentMode::GetText, 3, "55185"},
        {"PaymentMode", &CPaymentMode::GetText, 4, "4"},
        {"AccountType", &CAccountType::GetText, 1, "55035"},
        {"AccountType", &CAccountType::GetText, 4, "55038"},
        {"AccountType", &CAccountType::GetText, 0, "0"},
        {"TransactionType", &CTransactionType::GetText, -1, "55044"},
        {"TransactionType", &CTransactionType::GetText, 0, "57790"},
        {"TransactionType", &CTransactionType::GetText, 15, "55098"},
        {"TransactionType", &CTransactionType::GetText, 16, "16"},
        {"TransactionType", &CTransactionType::GetText, 20, "20"},
        {"TransactionType", &CTransactionType::GetText, 39, "39"},
        {"TransactionType", &CTransactionType::GetText, 46, "57157"},
        {"OrderDur", &COrderDur::GetText, -1, "55052"},
        {"OrderDur", &COrderDur::GetText, 3, "55391"},
        {"OrderType", &COrderType::GetText, 5, "57553"},
        {"OrderType", &COrderType::GetText, 99, "99"},
        {"OrderStatus", &COrderStatus::GetText, 1, "55057"},
        {"OrderStatus", &COrderStatus::GetText, 0, "0"},
        {"OrderStatus", &COrderStatus::GetText, 8, "55064"},
        {"RoutingStatus", &CRoutingStatus::GetText, -1, ""},
        {"RoutingStatus", &CRoutingStatus::GetText, 0, "55057"},
        {"RoutingStatus", &CRoutingStatus::GetText, 9, "57731"},
        {"RoutingResult", &CRoutingResult::GetText, -100, "57704"},
        {"RoutingResult", &CRoutingResult::GetText, 16, "57742"},
        {"RoutingResult", &CRoutingResult::GetText, 77, "57725"},
        {"RoutingResult", &CRoutingResult::GetText, -2, "57725"},
        {"TradeStatus", &CTradeStatus::GetText, 3, "55404"},
        {"TradeStatus", &CTradeStatus::GetText, 4, "55403"},
        {"GainerLooser", &CGainerLooser::GetText, -1, "-1"},
        {"GainerLooser", &CGainerLooser::GetText, 2, "55301"},
        {"AlertDir", &CAlertDir::GetText, -1, "-1"},
        {"AlertDir", &CAlertDir::GetText, 0, ""},
        {"AlertDir", &CAlertDir::GetText, 2, "55298"},
        {"MarketUS", &CMarketUS::GetText, 1, "57028"},
        {"MarketKSE", &CMarketKSE::GetText, 0, ""},
        {"MarketKSE", &CMarketKSE::GetText, 3, "56255"},
        {"HoldingKSE", &CHoldingKSE::GetText, -1, ""},
        {"HoldingKSE", &CHoldingKSE::GetText, 4, "56271"},
        {"ForwardContractStatus", &CForwardContractStatus::GetText, 0, "56815"},
        {"ForwardContractStatus", &CForwardContractStatus::GetText, 8, "8"},
        {"ForwardContractStatus", &CForwardContractStatus::GetText, 14, "56814"},
        {"MarginCallStatus", &CMarginCallStatus::GetText, -1, "57067"},
        {"OptionRight", &COptionRight::GetText, 1, "57172"},
        {"OptionRight", &COptionRight::GetText, 2, "57171"},
        {"InterestType", &CInterestType::GetText, 2, "57252"},
        {"LangOpt", &CLangOpt::GetText, 0, "57543"},
        {"KSEMktType", &CKSEMktType::GetText, 2, "2"},
        {"KSEMktType", &CKSEMktType::GetText, 4, "57552"},
        {"SubsType", &CSubsType::GetText, 1, "41027"},
    };
    for (const auto& r : rows)
        EXPECT_STREQ(r.pszText, r.pfn(r.nCode)) << r.pszTable << " " << r.nCode;
}

TEST_F(CodeTables, ReverseLookupsTurnEveryTextBackAndRefuseOthers)
{
    static const struct { const char* pszTable; GETCODE pfnCode; GETTEXT pfnText; int nAbsent;
                          std::vector<int> codes; } tables[] = {
        {"TransactionType", &CTransactionType::GetCodeByText, &CTransactionType::GetText, -1, {-1, 0, 1, 19, 38, 46}},
        {"OrderType", &COrderType::GetCodeByText, &COrderType::GetText, -1, {-1, 0, 3, 5}},
        {"OrderDur", &COrderDur::GetCodeByText, &COrderDur::GetText, -1, {-1, 0, 3}},
        {"OptionRight", &COptionRight::GetCodeByText, &COptionRight::GetText, 0, {0, 1, 2}},
        {"KSEMktType", &CKSEMktType::GetCodeByText, &CKSEMktType::GetText, -1, {1, 3, 4}},
        {"FillRest", &CFillRest::GetCodeByText, nullptr, -1, {2, 3}},
    };
    for (const auto& t : tables) {
        for (int nCode : t.codes) {
            CString strText = t.pfnText != nullptr ? t.pfnText(nCode) : CString();
            if (t.pfnText == nullptr)
                strText = nCode == 2 ? "57555" : "57554";
            EXPECT_EQ(nCode, t.pfnCode(strText)) << t.pszTable << " " << nCode;
            // Exact bytes only: no trimming, no prefix.
            EXPECT_EQ(t.nAbsent, t.pfnCode(CString(strText) + " ")) << t.pszTable;
            EXPECT_EQ(t.nAbsent, t.pfnCode(CString(strText.Left(3)))) << t.pszTable;
        }
        EXPECT_EQ(t.nAbsent, t.pfnCode("no such text")) << t.pszTable;
        EXPECT_EQ(t.nAbsent, t.pfnCode(nullptr)) << t.pszTable;
    }
    // A number that is a code but not a text of the table is no text either.
    EXPECT_EQ(-1, CTransactionType::GetCodeByText("3"));
    // The option right's "none" also answers an unknown text, so a caller tests for 1 or 2.
    EXPECT_EQ(0, COptionRight::GetCodeByText("57170"));
    EXPECT_EQ(0, COptionRight::GetCodeByText("Call"));
}

TEST_F(CodeTables, ColumnCallbacksWriteTheTextCutToTheBuffer)
{
    for (const ColumnCallback& c : s_callbacks) {
        // A code no table of these holds shows its number (the routing result its stand-in's
        // text), in full and cut.
        const std::string strMissing = c.pfn == &CRoutingResult::FormatCodeColumn ? "57725" : "123456";
        EXPECT_EQ(strMissing, Format(c.pfn, 123456)) << c.pszTable;
        EXPECT_EQ(strMissing.substr(0, 3), Format(c.pfn, 123456, 4)) << c.pszTable;
        EXPECT_EQ("", Format(c.pfn, 123456, 1)) << c.pszTable;
        BOOL bDone = TRUE;
        EXPECT_EQ("(untouched:#)", Format(c.pfn, 1, 0, &bDone)) << c.pszTable;
        EXPECT_FALSE(bDone) << c.pszTable;
        CRow row(1);
        EXPECT_FALSE(c.pfn(nullptr, 8, row.slots, 1)) << c.pszTable;
        char sz[8] = "#";
        EXPECT_FALSE(c.pfn(sz, 8, nullptr, 1)) << c.pszTable;
        EXPECT_FALSE(c.pfn(sz, 8, row.slots, -1)) << c.pszTable;
        EXPECT_STREQ("#", sz) << c.pszTable;
    }
    EXPECT_EQ("55045", Format(&CTransactionType::FormatCodeColumn, 1));
    EXPECT_EQ("5504", Format(&CTransactionType::FormatCodeColumn, 1, 5));
    EXPECT_EQ("5", Format(&CTransactionType::FormatCodeColumn, 1, 2));
    EXPECT_EQ("57725", Format(&CRoutingResult::FormatCodeColumn, 123456));
    EXPECT_EQ("", Format(&CHoldingKSE::FormatCodeColumn, -1));
    EXPECT_EQ("56100", Format(&CZorvatTypes::FormatYesNoColumn, 1));
    EXPECT_EQ("56101", Format(&CZorvatTypes::FormatYesNoColumn, 0));
    EXPECT_EQ("561", Format(&CZorvatTypes::FormatYesNoColumn, 0, 4));
    EXPECT_EQ("2", Format(&CZorvatTypes::FormatYesNoColumn, 2));
}

TEST_F(CodeTables, FlagTextsAreThoseOfTheTablesTime)
{
    // Loaded with the tables: a module change afterwards does not reach the flag column.
    HINSTANCE hOld = TbGetResourceModule();
    TbSetResourceModule(nullptr);
    EXPECT_EQ("56100", Format(&CZorvatTypes::FormatYesNoColumn, 1));
    EXPECT_STREQ("55045", CTransactionType::GetText(1));
    TbSetResourceModule(hOld);
}

TEST_F(CodeTables, HolderMakesEveryTableOnceAndDeletesThem)
{
    std::vector<const void*> tables;
#define TB_CODE_TABLE(table, ...) tables.push_back(C##table::Get());
#define TB_CODE_TABLE_SINK(table, ...) TB_CODE_TABLE(table)
#define TB_NAME_TABLE_SINK(table, ...) TB_CODE_TABLE(table)
#define TB_SERVER_TABLE(table) TB_CODE_TABLE(table)
#include "refdata/CodeTableList.h"
    for (const void* p : tables)
        EXPECT_NE(nullptr, p);
    m_types.CreateTables();
    size_t i = 0;
#define TB_CODE_TABLE(table, ...) EXPECT_EQ(tables[i++], C##table::Get()) << #table;
#define TB_CODE_TABLE_SINK(table, ...) TB_CODE_TABLE(table)
#define TB_NAME_TABLE_SINK(table, ...) TB_CODE_TABLE(table)
#define TB_SERVER_TABLE(table) TB_CODE_TABLE(table)
#include "refdata/CodeTableList.h"

    // The business names are the program's own, and the idle sinks are never registered.
    ASSERT_NE(nullptr, CBusinessType::Get());
    tagBusinessType rec;
    ASSERT_TRUE(CBusinessType::Get()->Lookup(2, rec));
    EXPECT_STREQ("Semi-Government", rec.name);
    EXPECT_EQ(7, CBusinessType::Get()->GetCount());
    EXPECT_EQ(-1, CBusinessType::Get()->GetSinkId());
    ASSERT_NE(nullptr, CEmpStatus::Get());
    EXPECT_EQ(-1, CEmpStatus::Get()->GetSinkId());
    EXPECT_STREQ("Other", CBusinessType::Get()->Add(6, "Other"));

    const CTransactionType* pTransactionType = CTransactionType::Get();
    {
        CZorvatTypes second;
        second.CreateTables();                   // finds every table there
        EXPECT_EQ(pTransactionType, CTransactionType::Get());
    }                                             // and deletes them with it
    EXPECT_EQ(nullptr, CTransactionType::Get());
    EXPECT_EQ(nullptr, CBusinessType::Get());
    EXPECT_STREQ("1", CTransactionType::GetText(1));
    EXPECT_EQ("(untouched:#)", Format(&CZorvatTypes::FormatYesNoColumn, 1));
}

TEST(CodeTableTexts, EveryIdHasATextInBothLanguages)
{
    HMODULE hModules[2] = {LoadLibraryA("_1252.dll"), LoadLibraryA("_1256.dll")};
    for (HMODULE hModule : hModules) {
        ASSERT_NE(nullptr, hModule);
        char sz[256];
        std::vector<UINT> ids = {IDS_CODE_YES, IDS_CODE_NO};
#define TB_CODE_TABLE(table, readers, absent, standIn, ...) \
        for (const CCodeEntry& e : std::vector<CCodeEntry>{__VA_ARGS__}) \
            if (e.pszText == nullptr) \
                ids.push_back(e.nId);
#define TB_CODE_TABLE_SINK(table, ...) TB_CODE_TABLE(table, 0, 0, 0, __VA_ARGS__)
#define TB_NAME_TABLE_SINK(table, ...) TB_CODE_TABLE(table, 0, 0, 0, __VA_ARGS__)
#define TB_SERVER_TABLE(table)
#include "refdata/CodeTableList.h"
        for (UINT nId : ids) {
            EXPECT_GT(LoadStringA(hModule, nId, sz, sizeof(sz)), 0) << "string " << nId;
            // An Arabic text is read without English beside it ("Put" after its right).
            if (hModule == hModules[1]) {
                EXPECT_EQ(nullptr, strpbrk(sz, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) << "string " << nId;
            }
        }
        FreeLibrary(hModule);
    }
}

// An option's right reads as a right, never as an order's side: "Put" is no "Sell", in either
// language, or an acknowledgement of a put reads "buy ... sell".
TEST(CodeTableTexts, OptionRightsAreNoSideWords)
{
    std::map<std::string, std::vector<UINT>> ids;
#define TB_CODE_TABLE(table, readers, absent, standIn, ...) \
    for (const CCodeEntry& e : std::vector<CCodeEntry>{__VA_ARGS__}) \
        if (e.pszText == nullptr) \
            ids[#table].push_back(e.nId);
#define TB_CODE_TABLE_SINK(table, ...) TB_CODE_TABLE(table, 0, 0, 0, __VA_ARGS__)
#define TB_NAME_TABLE_SINK(table, ...) TB_CODE_TABLE(table, 0, 0, 0, __VA_ARGS__)
#define TB_SERVER_TABLE(table)
#include "refdata/CodeTableList.h"
    ASSERT_FALSE(ids["OptionRight"].empty());
    ASSERT_FALSE(ids["TransactionType"].empty());
    for (const char* pszLibrary : {"_1252.dll", "_1256.dll"}) {
        HMODULE hModule = LoadLibraryA(pszLibrary);
        ASSERT_NE(nullptr, hModule);
        const auto Text = [hModule](UINT nId) {
            char sz[256] = "";
            LoadStringA(hModule, nId, sz, sizeof(sz));
            return std::string(sz);
        };
        for (UINT nRight : ids["OptionRight"])
            for (UINT nSide : ids["TransactionType"])
                EXPECT_NE(Text(nSide), Text(nRight)) << pszLibrary << ": right " << nRight << ", side " << nSide;
        FreeLibrary(hModule);
    }
}

}  // namespace
