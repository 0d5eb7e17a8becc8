#pragma once
// What the forward market asks of the KSE board without knowing its class: a stock's last price.
#include "platform/win/WinTypes.h"

struct ILastPriceSource
{
    virtual ~ILastPriceSource() = default;
    // The stock's last price when above 0, else its reference price; 0 for a stock without a row.
    virtual double GetLastPrice(long nStockId) const = 0;
};
// The price the table of that name id gives; 0 while the table does not exist or gives none.
double GetLastPriceFrom(UINT nNameId, long nStockId);
