// The quotation tables' figures worked out by hand: change, percentage and colours, earnings
// ratio, day's gain, own position, odd-lot average, alerts, and prices kept in hundredths.
#include <gtest/gtest.h>

#include <cmath>
#include "framework/base/SettingsFile.h"
#include "market/QuotationFigures.h"
#include "market/WatchListSettings.h"

TEST(QuotationFigures, ChangePercentRatioAndDayGain)
{
    static const struct {
        double dLast, dClose, dOpen, dEps, dHeld1, dHeld3;
        BOOL bStarred;
        double dChange, dPercent, dRatio, dDayGain;
        int nAttr;
    } rows[] = {
        {12.5, 10, 9, 2.5, 100, 50, FALSE, 2.5, 25, 5, 375, QUOTE_ATTR_RISING},
        {8, 10, 9, 0, 0, 0, FALSE, -2, -20, 0, 0, QUOTE_ATTR_FALLING},
        {10, 10, 9, 4, 0, 0, TRUE, 0, 0, 2.5, 0, QUOTE_ATTR_STAR_UNCHANGED},
        {11, 10, 9, 0, 0, 0, TRUE, 1, 10, 0, 0, QUOTE_ATTR_STAR_RISING},
        {9, 10, 9, 0, 0, 10, TRUE, -1, -10, 0, -10, QUOTE_ATTR_STAR_FALLING},
        // The reference falls back to the open while it is (almost) zero.
        {12, 0.00005, 8, 0, 0, 0, FALSE, 4, 50, 0, 0, QUOTE_ATTR_RISING},
        // No last price: no change, and the reference is the ratio's numerator.
        {0, 10, 9, 4, 100, 0, FALSE, 0, 0, 2.5, 0, QUOTE_ATTR_UNCHANGED},
        // No reference at all: the percentage is 0, not infinite.
        {5, 0, 0, 0, 0, 0, FALSE, 5, 0, 0, 0, QUOTE_ATTR_RISING},
    };
    for (const auto& r : rows) {
        QUOTE_PRICES prices;
        prices.dLast = r.dLast;
        prices.dClose = r.dClose;
        prices.dOpen = r.dOpen;
        prices.dEarnings = r.dEps;
        prices.dHeld1 = r.dHeld1;
        prices.dHeld3 = r.dHeld3;
        QUOTE_FIGURES f;
        ComputeQuoteFigures(prices, r.bStarred, &f);
        EXPECT_DOUBLE_EQ(r.dChange, f.dChange) << "last " << r.dLast;
        EXPECT_TRUE(std::isfinite(f.dPercent)) << "last " << r.dLast;
        EXPECT_NEAR(r.dPercent, f.dPercent, 1e-9) << "last " << r.dLast;
        EXPECT_DOUBLE_EQ(r.dRatio, f.dEarningsRatio) << "last " << r.dLast;
        EXPECT_DOUBLE_EQ(r.dDayGain, f.dDayGain) << "last " << r.dLast;
        EXPECT_EQ(r.nAttr, f.nAttr) << "last " << r.dLast;
    }
}

TEST(QuotationFigures, OwnPositionAndOddLotAverage)
{
    QUOTE_PRICES prices;
    prices.dLast = 12;
    prices.dClose = 10;
    prices.dOpen = 9;
    POSITION_FIGURES p;
    ComputePositionFigures(100, 10, prices, &p);
    EXPECT_DOUBLE_EQ(1000, p.dCost);
    EXPECT_DOUBLE_EQ(1200, p.dValue);
    EXPECT_DOUBLE_EQ(200, p.dGain);
    EXPECT_DOUBLE_EQ(20, p.dGainPercent);
    EXPECT_EQ(QUOTE_ATTR_RISING, p.nAttr);
    // Without a last price the position is valued at the reference, then at the open.
    prices.dLast = 0.005;
    ComputePositionFigures(100, 10, prices, &p);
    EXPECT_DOUBLE_EQ(1000, p.dValue);
    EXPECT_EQ(QUOTE_ATTR_UNCHANGED, p.nAttr);
    prices.dClose = 0;
    ComputePositionFigures(100, 10, prices, &p);
    EXPECT_DOUBLE_EQ(900, p.dValue);
    EXPECT_DOUBLE_EQ(-10, p.dGainPercent);
    EXPECT_EQ(QUOTE_ATTR_FALLING, p.nAttr);
    // Nothing paid: no gain to speak of.
    ComputePositionFigures(100, 0, prices, &p);
    EXPECT_DOUBLE_EQ(0, p.dGain);
    EXPECT_DOUBLE_EQ(0, p.dGainPercent);

    ODDLOT_FIGURES o;
    ComputeOddLotFigures(/*dLast=*/510, /*dReference=*/500, /*dQuantity=*/40, /*dValue=*/20.4, &o);
    EXPECT_DOUBLE_EQ(10, o.dChange);
    EXPECT_DOUBLE_EQ(510, o.dAverage);
    EXPECT_EQ(QUOTE_ATTR_RISING, o.nAttr);
    ComputeOddLotFigures(0, 500, 0, 20.4, &o);
    EXPECT_DOUBLE_EQ(0, o.dChange);
    EXPECT_DOUBLE_EQ(0, o.dAverage);
    EXPECT_EQ(QUOTE_ATTR_UNCHANGED, o.nAttr);
    ComputeOddLotFigures(480, 500, 10, 4.8, &o);
    EXPECT_EQ(QUOTE_ATTR_FALLING, o.nAttr);
}

TEST(QuotationFigures, AlertDirectionAndFiring)
{
    EXPECT_EQ(ALERT_ON_RISE, AlertDirectionFor(12, 10));
    EXPECT_EQ(ALERT_ON_FALL, AlertDirectionFor(8, 10));
    EXPECT_EQ(ALERT_FIRE_NOW, AlertDirectionFor(10, 10));
    EXPECT_EQ(ALERT_NONE, AlertDirectionFor(0, 10));
    EXPECT_EQ(ALERT_NONE, AlertDirectionFor(-1, 10));
    EXPECT_EQ(ALERT_NONE, AlertDirectionFor(NAN, 10));

    EXPECT_FALSE(IsAlertDue(11.99, 12, ALERT_ON_RISE));
    EXPECT_TRUE(IsAlertDue(12, 12, ALERT_ON_RISE));
    EXPECT_TRUE(IsAlertDue(7, 8, ALERT_ON_FALL));
    EXPECT_FALSE(IsAlertDue(8.01, 8, ALERT_ON_FALL));
    EXPECT_FALSE(IsAlertDue(100, 8, ALERT_NONE));
    EXPECT_FALSE(IsAlertDue(100, 8, -1));
}

TEST(WatchListSettings, PricesRoundToHundredthsAndTheListEndsAfterItsLastEntry)
{
    // Binary fractions below the true value: truncation would lose a hundredth.
    EXPECT_EQ(29, PriceToSetting(0.29));
    EXPECT_EQ(115, PriceToSetting(1.15));
    EXPECT_EQ(1050, PriceToSetting(10.5));
    EXPECT_EQ(-115, PriceToSetting(-1.15));
    EXPECT_EQ(0, PriceToSetting(1e300)) << "too large for the file: kept as none";
    EXPECT_DOUBLE_EQ(1.15, SettingToPrice(115));

    CSettingsFile ini;
    SelectWatchListSection(ini, "Quotes", /*bOddLot=*/FALSE);
    EXPECT_STREQ("Quotes.Ticker", ini.GetSection());
    WriteWatchListHead(ini, FALSE, /*bShowExtended=*/TRUE);
    const char* const pszTickers[] = {"IBM", "MSFT", "T"};
    for (int n = 0; n < 3; ++n) {
        WATCH_ENTRY e;
        e.strTicker = pszTickers[n];
        e.nMarketCode = 4 << n;
        e.nOwnQuantity = 100 * n;
        e.dOwnPrice = 0.29 + n;
        e.dAlertPrice = 1.15 * n;
        e.nAlertDirection = n % 3;
        e.bInTimesAndSales = n == 1;
        e.bStoppedInTimesAndSales = n == 2;
        e.bScrollingTicker = n != 1;
        e.strShortTicker = n == 2 ? "T.N" : "";
        WriteWatchEntry(ini, n, e);
    }
    EXPECT_EQ(29, ini.GetLong("ExtPrc0", -1));
    EXPECT_EQ(230, ini.GetLong("AlertPrc2", -1));
    EXPECT_EQ("", std::string(ini.GetString("Ticker3")));

    EXPECT_TRUE(ReadShowExtended(ini));
    WATCH_ENTRY e;
    for (int n = 0; n < 3; ++n) {
        ASSERT_TRUE(ReadWatchEntry(ini, n, &e)) << n;
        EXPECT_STREQ(pszTickers[n], e.strTicker);
        EXPECT_EQ(4 << n, e.nMarketCode);
        EXPECT_EQ(100 * n, e.nOwnQuantity);
        EXPECT_DOUBLE_EQ(0.29 + n, e.dOwnPrice);
        EXPECT_DOUBLE_EQ(1.15 * n, e.dAlertPrice);
        EXPECT_EQ(n % 3, e.nAlertDirection);
        EXPECT_EQ(n == 1, e.bInTimesAndSales);
        EXPECT_EQ(n == 2, e.bStoppedInTimesAndSales);
        EXPECT_EQ(n != 1, e.bScrollingTicker);
    }
    EXPECT_STREQ("T.N", e.strShortTicker);
    EXPECT_FALSE(ReadWatchEntry(ini, 3, &e));
    EXPECT_FALSE(ReadWatchEntry(ini, -1, &e));

    // A shorter list saved over a longer one ends where it now ends.
    SelectWatchListSection(ini, "Quotes", FALSE);
    WriteWatchListHead(ini, FALSE, FALSE);
    WATCH_ENTRY one;
    one.strTicker = "AAPL";
    WriteWatchEntry(ini, 0, one);
    EXPECT_FALSE(ReadShowExtended(ini));
    EXPECT_TRUE(ReadWatchEntry(ini, 0, &e));
    EXPECT_FALSE(ReadWatchEntry(ini, 1, &e));

    SelectWatchListSection(ini, "Odd lots", /*bOddLot=*/TRUE);
    EXPECT_STREQ("Odd lots.TickerKSE", ini.GetSection());
    WriteWatchListHead(ini, TRUE, FALSE);
    ODDLOT_WATCH_ENTRY k;
    k.strTicker = "NBK";
    k.dAlertPrice = 0.29;
    k.nAlertDirection = ALERT_ON_FALL;
    WriteOddLotWatchEntry(ini, 0, k);
    EXPECT_EQ("NBK", std::string(ini.GetString("TickerKSE0")));
    EXPECT_EQ(29, ini.GetLong("AlertPrcKSE0", -1));
    EXPECT_EQ(2, ini.GetLong("AlertDirKSE0", -1));
    EXPECT_EQ("", std::string(ini.GetString("TickerKSE1")));
    EXPECT_EQ(nullptr, ini.GetValue("Odd lots.TickerKSE", "ShowExt"));
}
