// The interest-rate table fed through a real message source: a reply whose header carries a
// code in field 3 leaves the rows as they were, a stray "EN" ends nothing, the rate kind reads
// through its code table.
#include <gtest/gtest.h>
#include <string>
#include "DataTableTestSupport.h"
#include "market/InternationalInterestRatesTable.h"
#include "refdata/ZorvatTypes.h"

namespace {

struct RatesFixture : ::testing::Test
{
    CTestLanguage language;
    CTestShell shell;
    CZorvatMessageSource source;
    CZorvatTypes types;

    void SetUp() override
    {
        RegisterMessageCodes(g_messageCodePairs);
        types.CreateTables();
    }
    void TearDown() override
    {
        if (CNorvApp::Get() != nullptr)
            CNorvApp::Get()->RemoveAllTables();
    }
    void Fire(const char* pszLine) { FireTableLine(source, pszLine); }
};

}  // namespace

TEST_F(RatesFixture, OnlyAReplyWithoutCodeRefillsTheRates)
{
    auto* pRates = new CInternationalInterestRatesTable(&source);
    ASSERT_TRUE(pRates->Create());
    Fire("~LI|1|XC||0|0|0|0");
    Fire("KWD|2|4.0000");
    Fire("KWD|1|2.2500");
    Fire("USD|1|4.1250");
    Fire("$EN|1|XC|0");
    ASSERT_EQ(3, pRates->GetRows()->GetCount());
    EXPECT_EQ(CString("KWD"), pRates->GetRows()->GetAt(0)->GetText(0));
    EXPECT_EQ(1, pRates->GetRows()->GetAt(0)->GetLong(1)) << "sorted by currency, then kind";
    EXPECT_EQ(CInterestType::GetText(2), pRates->GetRows()->GetAt(1)->GetText(1, TRUE)) << "the kind as its text";
    EXPECT_DOUBLE_EQ(4.125, pRates->GetRows()->GetAt(2)->GetDouble(2));

    // A reply with a code in field 3 neither empties the table nor takes its lines.
    Fire("~LI|1|XC||0|0|0|7");
    Fire("EUR|1|3.0000");
    Fire("$EN|1|XC|0");
    EXPECT_EQ(3, pRates->GetRows()->GetCount());
    EXPECT_FALSE(pRates->IsReceiving());

    // The next good reply replaces every row.
    Fire("~LI|1|XC||0|0|0|0");
    Fire("EUR|1|3.0000");
    Fire("$EN|1|XC|0");
    ASSERT_EQ(1, pRates->GetRows()->GetCount());
    EXPECT_EQ(CString("EUR"), pRates->GetRows()->GetAt(0)->GetText(0));
}
