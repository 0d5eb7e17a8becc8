// Exchange rates stored by currency pair and read against the base currency.
#include <gtest/gtest.h>

#include "refdata/CurrencyRates.h"

namespace {

class CFakeBase : public IBaseCurrencySource
{
public:
    CString GetBaseCurrency() const override { return m_strBase; }
    CString m_strBase = "=KWD";
};

}  // namespace

TEST(CurrencyRates, OnlyDirectRatesTheServerSentCount)
{
    CFakeBase base;
    CBaseCurrConv rates(&base);
    EXPECT_EQ(0.0, rates.GetCrossRate("=USD"));
    rates.SetCrossRate("=USD", "=KWD", 0.30);
    rates.SetCrossRate("=USD", "=EUR", 0.92);           // A's other rates stay
    rates.SetCrossRate("=KWD", "=EUR", 3.05);
    EXPECT_EQ(0.30, rates.GetCrossRate("=USD"));
    EXPECT_EQ(0.0, rates.GetCrossRate("=EUR"));         // no inverse of KWD against EUR
    EXPECT_EQ(0.0, rates.GetCrossRate("=KWD"));         // the base against itself is not 1.0
    EXPECT_EQ(0.0, rates.GetCrossRate("=GBP"));
    EXPECT_EQ(0.0, rates.GetCrossRate(nullptr));

    // The base currency is read at each call.
    base.m_strBase = "=EUR";
    EXPECT_EQ(0.92, rates.GetCrossRate("=USD"));
    EXPECT_EQ(3.05, rates.GetCrossRate("=KWD"));
    EXPECT_EQ(0.0, rates.GetCrossRate("=EUR"));
    rates.SetCrossRate("=EUR", "=EUR", 1.0);            // unless the server sends it
    EXPECT_EQ(1.0, rates.GetCrossRate("=EUR"));

    // A newer rate for a pair replaces the older one, and only that one.
    rates.SetCrossRate("=USD", "=EUR", 0.95);
    EXPECT_EQ(0.95, rates.GetCrossRate("=USD"));
    base.m_strBase = "=KWD";
    EXPECT_EQ(0.30, rates.GetCrossRate("=USD"));

    // No base currency source: nothing converts.
    rates.SetBaseCurrencySource(nullptr);
    EXPECT_EQ(0.0, rates.GetCrossRate("=USD"));
}

TEST(CurrencyRates, RateCopiesAreWholeAndIndependent)
{
    CRate usd;
    usd.SetAt("=KWD", 0.30);
    usd.SetAt("=EUR", 0.92);
    CRate copy(usd);
    CRate assigned;
    assigned.SetAt("=JPY", 150.0);                      // emptied before the copy
    assigned = usd;
    usd.SetAt("=KWD", 0.31);
    for (const CRate* pRate : {&copy, &assigned}) {
        double dRate = 0.0;
        EXPECT_EQ(2, pRate->GetCount());
        EXPECT_TRUE(pRate->Lookup("=KWD", dRate) && dRate == 0.30);
        EXPECT_TRUE(pRate->Lookup("=EUR", dRate) && dRate == 0.92);
        EXPECT_FALSE(pRate->Lookup("=JPY", dRate));
    }
    const CRate& self = assigned;
    assigned = self;
    EXPECT_EQ(2, assigned.GetCount());
}
