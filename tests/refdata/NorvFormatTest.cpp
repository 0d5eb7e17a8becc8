// The framework's code tables: the global ones with their texts written in the program, and
// those CNorvFormat makes from the language library, through the holder and the tables' maps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CodeTablesSupport.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/kernel/Resources.h"
#include "refdata/CodeTable.h"
#include "refdata/NorvFormat.h"

namespace {

TEST(NorvFormatGlobal, TablesHoldTheirTextsBeforeAnythingRuns)
{
    tagDuration dur;
    ASSERT_TRUE(CDuration::Get()->Lookup(2, dur));
    EXPECT_STREQ("FOK", dur.english);
    EXPECT_STREQ("FOK", dur.spanish);                 // the character 2 alone keeps "FOK"
    for (char c : {'F', '2'}) {
        ASSERT_TRUE(CDuration::Get()->Lookup(c, dur));
        EXPECT_EQ(2, dur.index);
        EXPECT_STREQ("TON", dur.spanish) << c;
    }
    ASSERT_TRUE(CDuration::Get()->Lookup('3', dur));
    EXPECT_EQ(4, dur.index);
    EXPECT_FALSE(CDuration::Get()->Lookup('X', dur));
    EXPECT_EQ(15, CDuration::Get()->GetCount());

    tagPrimaryAuctionStat stat5, stat6;
    ASSERT_TRUE(CPrimaryAuctionStat::Get()->Lookup('5', stat5));
    ASSERT_TRUE(CPrimaryAuctionStat::Get()->Lookup('6', stat6));
    EXPECT_STREQ(stat5.english, stat6.english);
    EXPECT_STREQ("Adjudicado", stat6.spanish);

    // The Spanish texts are code page 1252 bytes.
    tagDirection dir;
    ASSERT_TRUE(CDirection::Get()->Lookup('S', dir));
    EXPECT_STREQ("Vendi\xF3", dir.spanishPast);
    EXPECT_EQ(8, dir.id);
    tagLoanYesNo yes;
    ASSERT_TRUE(CLoanYesNo::Get()->Lookup(1, yes));
    EXPECT_STREQ("S\xED", yes.spanish);

    tagSpecialSituationType special;
    ASSERT_TRUE(CSpecialSituationType::Get()->Lookup(static_cast<ESpecialSituationType>(10), special));
    EXPECT_STREQ("ESC", special.english);
    tagClearingType clearing;
    ASSERT_TRUE(CClearingType::Get()->Lookup(0, clearing));
    EXPECT_EQ(-1, clearing.index);
    EXPECT_STREQ("Undefined", clearing.text);
}

TEST(NorvFormatGlobal, LoanDirectionReplacesSomeDirectionsAndKeepsTheOthers)
{
    const CLoanDirection* pLoan = CLoanDirection::Get();
    ASSERT_NE(nullptr, pLoan);
    EXPECT_NE(static_cast<const CDirection*>(pLoan), CDirection::Get());
    tagDirection rec;
    ASSERT_TRUE(pLoan->Lookup('B', rec));
    EXPECT_EQ(2, rec.index);
    EXPECT_STREQ("REPORTADO", rec.spanish);
    ASSERT_TRUE(pLoan->Lookup('M', rec));
    EXPECT_STREQ("PRESTAMISTA", rec.spanish);
    EXPECT_STREQ("Prest\xF3", rec.spanishPast);
    for (char c : {'S', '0', '1', '\1'}) {
        tagDirection dir;
        ASSERT_TRUE(pLoan->Lookup(c, rec)) << int(c);
        ASSERT_TRUE(CDirection::Get()->Lookup(c, dir));
        EXPECT_EQ(dir.index, rec.index);
        EXPECT_STREQ(dir.english, rec.english);
        EXPECT_STREQ(dir.spanish, rec.spanish);
    }
    ASSERT_TRUE(pLoan->Lookup('\0', rec));
    EXPECT_EQ(-1, rec.index);
    EXPECT_EQ(0, rec.id);
    EXPECT_STREQ("", rec.englishPast);
    EXPECT_EQ(9, pLoan->GetCount());       // six of the base, with L, C and M added
    // The base table itself is untouched.
    ASSERT_TRUE(CDirection::Get()->Lookup('B', rec));
    EXPECT_STREQ("COMPRA", rec.spanish);
    EXPECT_FALSE(CDirection::Get()->Lookup('L', rec));
}

class NorvFormatTables : public ::testing::Test
{
protected:
    CCodeTextModule m_module;
    CNorvFormat m_format;
    void SetUp() override { m_format.CreateTables(); }
};

TEST(NorvFormatHeap, TablesDoNotExistBeforeTheHolderMakesThem)
{
    EXPECT_EQ(nullptr, CLoanType::Get());
    EXPECT_EQ(nullptr, CTradeChangeType::Get());
    CNorvFormat format;
    EXPECT_EQ(nullptr, CSpecialSituationStatus::Get());
}

TEST_F(NorvFormatTables, TextsComeFromTheLanguageLibraryWithTheirDictionaryTexts)
{
    tagSpecialSituationStatus status;
    for (int nCode : {0, 11, 12, 13, 14}) {
        ASSERT_TRUE(CSpecialSituationStatus::Get()->Lookup(static_cast<ESpecialSituationStatus>(nCode), status));
        EXPECT_STREQ("15000", status.text) << nCode;
        EXPECT_STREQ(status.text, status.dictText);
    }
    ASSERT_TRUE(CSpecialSituationStatus::Get()->Lookup(static_cast<ESpecialSituationStatus>(10), status));
    EXPECT_STREQ("15013", status.text);

    tagLoanType loan;
    ASSERT_TRUE(CLoanType::Get()->Lookup(1, loan));
    EXPECT_EQ(13, loan.index);
    EXPECT_STREQ("15072", loan.text);
    ASSERT_TRUE(CLoanType::Get()->Lookup(static_cast<char>(-1), loan));
    EXPECT_EQ(-1, loan.index);
    EXPECT_STREQ("", loan.text);
    EXPECT_FALSE(CLoanType::Get()->Lookup(4, loan));

    tagAffHoldStatus hold31, hold41;
    ASSERT_TRUE(CAffHoldStatus::Get()->Lookup(static_cast<EAffHoldStatus>(31), hold31));
    ASSERT_TRUE(CAffHoldStatus::Get()->Lookup(static_cast<EAffHoldStatus>(41), hold41));
    EXPECT_STREQ("D", hold31.text);
    EXPECT_STREQ("D", hold41.dictText);

    // A few codes of other tables, from their listings.
    tagUserPrivilege priv;
    ASSERT_TRUE(CUserPrivilege::Get()->Lookup(static_cast<EUserPrivilege>(9), priv));
    EXPECT_STREQ("15050", priv.text);
    tagPOType po;
    ASSERT_TRUE(CPOType::Get()->Lookup(static_cast<EPOType>(1), po));
    EXPECT_STREQ("15152", po.text);
    EXPECT_FALSE(CPOType::Get()->Lookup(static_cast<EPOType>(0), po));
    tagTradeChangeStatus change;
    ASSERT_TRUE(CTradeChangeStatus::Get()->Lookup(static_cast<ETradeChangeStatus>(-1), change));
    EXPECT_STREQ("15166", change.text);
    tagStockScheduleType schedule;
    ASSERT_TRUE(CStockScheduleType::Get()->Lookup(static_cast<EStockScheduleType>(1), schedule));
    EXPECT_STREQ("Extended", schedule.text);
}

TEST_F(NorvFormatTables, HolderMakesEachTableOnceAndDeletesThem)
{
    std::vector<const void*> tables;
#define TB_DIRECTION_TABLE(table, ...)
#define TB_LOAN_DIRECTION_TABLE(table, ...)
#define TB_INDEXED_PAIR_TABLE(table, ...)
#define TB_PAIR_TABLE(table, ...)
#define TB_CLEARING_TABLE(table, ...)
#define TB_LOAN_TYPE_TABLE(table, ...) tables.push_back(C##table::Get());
#define TB_LANGUAGE_TABLE(table, ...) TB_LOAN_TYPE_TABLE(table)
#include "refdata/NorvFormatList.h"
    ASSERT_EQ(24u, tables.size());
    for (const void* p : tables)
        EXPECT_NE(nullptr, p);
    const CLoanType* pLoanType = CLoanType::Get();
    {
        CNorvFormat second;
        second.CreateTables();
        EXPECT_EQ(pLoanType, CLoanType::Get());
    }
    EXPECT_EQ(nullptr, CLoanType::Get());
    EXPECT_EQ(nullptr, CTradeChangeType::Get());
}

TEST(NorvFormatTexts, EveryIdHasATextInBothLanguages)
{
    std::vector<UINT> ids;
#define TB_DIRECTION_TABLE(table, ...)
#define TB_LOAN_DIRECTION_TABLE(table, ...)
#define TB_INDEXED_PAIR_TABLE(table, ...)
#define TB_PAIR_TABLE(table, ...)
#define TB_CLEARING_TABLE(table, ...)
#define TB_LOAN_TYPE_TABLE(table, ...) \
    for (const CLoanTypeEntry& e : std::vector<CLoanTypeEntry>{__VA_ARGS__}) \
        if (e.nId != 0) \
            ids.push_back(e.nId);
#define TB_LANGUAGE_TABLE(table, ...) \
    for (const CCodeEntry& e : std::vector<CCodeEntry>{__VA_ARGS__}) \
        if (e.pszText == nullptr) \
            ids.push_back(e.nId);
#include "refdata/NorvFormatList.h"
    ASSERT_FALSE(ids.empty());
    for (const char* pszModule : {"_1252.dll", "_1256.dll"}) {
        HMODULE hModule = LoadLibraryA(pszModule);
        ASSERT_NE(nullptr, hModule);
        char sz[256];
        for (UINT nId : ids)
            EXPECT_GT(LoadStringA(hModule, nId, sz, sizeof(sz)), 0) << pszModule << " string " << nId;
        FreeLibrary(hModule);
    }
}

}  // namespace
