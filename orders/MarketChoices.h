#pragma once
// What a market lets the order ticket offer, read from its market record, and the items of the
// side, order-type and validity boxes that the masks give, in the order the boxes list them.
#include <vector>
#include "platform/mfc/String.h"

struct MarketDetail;

#define MARKET_FAMILY_NONE 0        // no order entry
#define MARKET_FAMILY_KSE 2         // any other family is a US-type market
#define KSE_TYPE_NONE (-1)
#define KSE_TYPE_REGULAR 1
#define KSE_TYPE_FORWARD 3
#define KSE_TYPE_CONTRACT 4

struct MARKET_CHOICES
{
    int nFamily = MARKET_FAMILY_NONE;
    int nSides = 0;                 // bits 1, 2, 4, 8: sides 1, 2, 27, 28
    int nOrderTypes = 0;            // bits 1, 2, 4, 8, 16, 32: types 0, 3, 1, 2, 4, 5
    int nValidities = 0;            // bits 1, 2, 4, 8: validities 0, 1, 2, 3
    BOOL bOptions = FALSE;          // the option panel
    int nDefaultSide = 1;           // 1 or 2: that side is selected
    CString strExtraLabel;          // not empty: the extra text field is shown, under the form's own label
    BOOL bKeepTickers = FALSE;      // the recent tickers are saved
    BOOL bPreMarket = FALSE;        // listed in pre-market mode
};

// Which record fields carry what the ticket reads.
MARKET_CHOICES ReadMarketChoices(const MarketDetail& market);
// The forward panel offers the first two sides, order type 5 and no validity; the contract
// panel only the sell side; no other panel or market offers order type 5.
MARKET_CHOICES ApplyKseMarketType(MARKET_CHOICES choices, int nKseType);

struct CHOICE_ITEM
{
    unsigned nStringId;
    int nCode;
};
// The items in the box's order; the ticket selects the first. Pre-market mode offers only the
// first order type and the first validity.
std::vector<CHOICE_ITEM> GetSideItems(int nMask);
std::vector<CHOICE_ITEM> GetOrderTypeItems(int nMask, bool bPreMarket);
std::vector<CHOICE_ITEM> GetValidityItems(int nMask, bool bPreMarket);
