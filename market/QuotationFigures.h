#pragma once
// The figures the quotation tables compute from a row's prices: change and percentage, the
// earnings ratio, the day's gain of a held position, the user's own position, the odd-lot
// board's average price, and when a price alert is due. Pure arithmetic, so that the tables
// only read and write cells around it.
#include "platform/win/WinTypes.h"

// Cell colour indexes the grid draws a quote in; a starred quote has a palette of its own.
#define QUOTE_ATTR_UNCHANGED 0
#define QUOTE_ATTR_FALLING 3
#define QUOTE_ATTR_RISING 4
#define QUOTE_ATTR_STAR_UNCHANGED 13
#define QUOTE_ATTR_STAR_RISING 14
#define QUOTE_ATTR_STAR_FALLING 15

// Alert directions as stored in a row and the settings: 0 none, 1 on a rise to the price,
// 2 on a fall to it.
#define ALERT_NONE 0
#define ALERT_ON_RISE 1
#define ALERT_ON_FALL 2
#define ALERT_FIRE_NOW (-2)             // set at the current price: due at once, nothing kept

// The colour index of a change's sign.
int QuoteAttribute(double dChange, BOOL bStarred);

// One quotation row's prices in, its computed cells out.
struct QUOTE_PRICES {
    double dLast = 0;           // last price
    double dClose = 0;          // reference price of the change
    double dOpen = 0;           // stands in for the reference while that is below 0.0001
    double dEarnings = 0;       // earnings per share
    double dHeld1 = 0;          // held quantities whose day's gain counts
    double dHeld3 = 0;
};
struct QUOTE_FIGURES {
    double dChange = 0;
    double dPercent = 0;        // 0 without a reference: never infinite or NaN
    double dEarningsRatio = 0;
    double dDayGain = 0;
    int nAttr = QUOTE_ATTR_UNCHANGED;           // of the price, change and percentage
    int nDayGainAttr = QUOTE_ATTR_UNCHANGED;
};
double QuoteReference(const QUOTE_PRICES& prices);
void ComputeQuoteFigures(const QUOTE_PRICES& prices, BOOL bStarred, QUOTE_FIGURES* pOut);

// The user's own position: quantity and price paid against the market price (the last, else
// the reference, else the open while each is below 0.01).
struct POSITION_FIGURES {
    double dCost = 0;
    double dValue = 0;
    double dGain = 0;
    double dGainPercent = 0;
    int nAttr = QUOTE_ATTR_UNCHANGED;
};
void ComputePositionFigures(double dQuantity, double dPricePaid, const QUOTE_PRICES& prices, POSITION_FIGURES* pOut);

// The odd-lot board: change against the reference while there is a last price, and the
// average price of the traded value (in thousandths) over the traded quantity.
struct ODDLOT_FIGURES {
    double dChange = 0;
    double dAverage = 0;
    int nAttr = QUOTE_ATTR_UNCHANGED;
};
void ComputeOddLotFigures(double dLast, double dReference, double dQuantity, double dValue, ODDLOT_FIGURES* pOut);

// Alerts. The direction a new alert price takes against the current price: ALERT_NONE for a
// price at or below 0 (the alert is removed), ALERT_FIRE_NOW when they are equal.
int AlertDirectionFor(double dAlertPrice, double dCurrent);
// TRUE when a last price reaches an alert set in that direction.
BOOL IsAlertDue(double dLast, double dAlertPrice, long nDirection);

// Prices in the settings file are whole hundredths, rounded to the nearest (0.29 is 29).
LONG PriceToSetting(double dPrice);
double SettingToPrice(LONG nValue);
