#include "market/QuotationFigures.h"

#include <cmath>
#include <cstdint>

int QuoteAttribute(double dChange, BOOL bStarred)
{
    if (dChange > 0)
        return bStarred ? QUOTE_ATTR_STAR_RISING : QUOTE_ATTR_RISING;
    if (dChange < 0)
        return bStarred ? QUOTE_ATTR_STAR_FALLING : QUOTE_ATTR_FALLING;
    return bStarred ? QUOTE_ATTR_STAR_UNCHANGED : QUOTE_ATTR_UNCHANGED;
}

double QuoteReference(const QUOTE_PRICES& prices)
{
    return prices.dClose < 0.0001 ? prices.dOpen : prices.dClose;
}

void ComputeQuoteFigures(const QUOTE_PRICES& prices, BOOL bStarred, QUOTE_FIGURES* pOut)
{
    if (pOut == nullptr)
        return;
    const double dLast = prices.dLast;
    const double dRef = QuoteReference(prices);
    QUOTE_FIGURES figures;
    if (dLast > 0) {
        figures.dChange = dLast - dRef;
        // A symbol without a reference yet has no percentage: 0 rather than an infinite cell.
        figures.dPercent = dRef != 0 ? figures.dChange / dRef * 100 : 0;
    }
    figures.nAttr = QuoteAttribute(figures.dChange, bStarred);
    if (prices.dEarnings > 0)
        figures.dEarningsRatio = (dLast > 0 ? dLast : dRef) / prices.dEarnings;
    figures.dDayGain = (prices.dHeld1 + prices.dHeld3) * figures.dChange;
    figures.nDayGainAttr = QuoteAttribute(figures.dDayGain, bStarred);
    *pOut = figures;
}

void ComputePositionFigures(double dQuantity, double dPricePaid, const QUOTE_PRICES& prices, POSITION_FIGURES* pOut)
{
    if (pOut == nullptr)
        return;
    double dPrice = prices.dLast;
    if (dPrice < 0.01)
        dPrice = prices.dClose;
    if (dPrice < 0.01)
        dPrice = prices.dOpen;
    POSITION_FIGURES figures;
    figures.dCost = dPricePaid * dQuantity;
    figures.dValue = dPrice * dQuantity;
    if (figures.dCost != 0) {
        figures.dGain = figures.dValue - figures.dCost;
        figures.dGainPercent = figures.dGain / figures.dCost * 100;
    }
    figures.nAttr = QuoteAttribute(figures.dGain, FALSE);
    *pOut = figures;
}

void ComputeOddLotFigures(double dLast, double dReference, double dQuantity, double dValue, ODDLOT_FIGURES* pOut)
{
    if (pOut == nullptr)
        return;
    ODDLOT_FIGURES figures;
    if (dLast > 0)
        figures.dChange = dLast - dReference;
    figures.nAttr = QuoteAttribute(figures.dChange, FALSE);
    if (dQuantity > 0)
        figures.dAverage = dValue / dQuantity * 1000;
    *pOut = figures;
}

int AlertDirectionFor(double dAlertPrice, double dCurrent)
{
    if (!(dAlertPrice > 0))
        return ALERT_NONE;
    if (dAlertPrice < dCurrent)
        return ALERT_ON_FALL;
    if (dAlertPrice > dCurrent)
        return ALERT_ON_RISE;
    return ALERT_FIRE_NOW;
}

BOOL IsAlertDue(double dLast, double dAlertPrice, long nDirection)
{
    if (nDirection == ALERT_ON_RISE)
        return dLast >= dAlertPrice;
    if (nDirection == ALERT_ON_FALL)
        return dLast <= dAlertPrice;
    return FALSE;
}

LONG PriceToSetting(double dPrice)
{
    const double dHundredths = dPrice * 100;
    // A value the settings cannot hold is stored as none rather than as a wrapped number.
    if (!std::isfinite(dHundredths) || dHundredths >= static_cast<double>(INT32_MAX) ||
        dHundredths <= static_cast<double>(INT32_MIN))
        return 0;
    return static_cast<LONG>(std::llround(dHundredths));
}

double SettingToPrice(LONG nValue)
{
    return nValue / 100.0;
}
