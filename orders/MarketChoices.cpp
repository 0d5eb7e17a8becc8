// The ticket's market choices as data: one table per box.
#include "orders/MarketChoices.h"

#include "refdata/RefDataRecords.h"

namespace {
struct MASK_ITEM
{
    int nBit;
    unsigned nStringId;
    int nCode;
    bool bPreMarket;                // offered in pre-market mode too
};

const MASK_ITEM SIDES[] = {
    {1, 55045, 1, true}, {2, 55046, 2, true}, {4, 57032, 27, true}, {8, 57033, 28, true}};
const MASK_ITEM ORDER_TYPES[] = {
    {1, 55048, 0, true}, {4, 55049, 1, false}, {8, 55050, 2, false},
    {2, 55051, 3, false}, {16, 57350, 4, false}, {32, 57553, 5, false}};
const MASK_ITEM VALIDITIES[] = {
    {1, 55053, 0, true}, {2, 55054, 1, false}, {8, 55391, 3, false}, {4, 55055, 2, false}};

const char* const PRE_MARKET_MARK = "164";
const int FORWARD_SIDES = 3;
const int FORWARD_ORDER_TYPES = 32;
const int CONTRACT_SIDES = 2;

template <size_t N>
std::vector<CHOICE_ITEM> Items(const MASK_ITEM (&table)[N], int nMask, bool bPreMarket)
{
    std::vector<CHOICE_ITEM> items;
    for (const MASK_ITEM& item : table)
        if ((nMask & item.nBit) != 0 && (item.bPreMarket || !bPreMarket))
            items.push_back({item.nStringId, item.nCode});
    return items;
}
}  // namespace

MARKET_CHOICES ReadMarketChoices(const MarketDetail& market)
{
    MARKET_CHOICES choices;
    choices.nFamily = market.m_nValue5;
    choices.nSides = market.m_nValue7;
    choices.nOrderTypes = market.m_nValue9;
    choices.nValidities = market.m_nValue10;
    choices.bOptions = market.m_nValue11 == 2;
    choices.nDefaultSide = market.m_nConstant1;
    choices.strExtraLabel = market.m_strText0;
    choices.bKeepTickers = market.m_nValue22 == 0;
    choices.bPreMarket = market.m_strText3.Find(PRE_MARKET_MARK) >= 0;
    return choices;
}

MARKET_CHOICES ApplyKseMarketType(MARKET_CHOICES choices, int nKseType)
{
    if (nKseType == KSE_TYPE_FORWARD) {
        choices.nSides = FORWARD_SIDES;
        choices.nOrderTypes = FORWARD_ORDER_TYPES;
        choices.nValidities = 0;
    } else if (nKseType == KSE_TYPE_CONTRACT) {
        choices.nSides = CONTRACT_SIDES;
    }
    // The forward limit is the forward market's own type: every other order ("OV", "OR", "KV",
    // "KJ" and theirs) carries a limit price only for limit and stop-limit, so the price typed for
    // it would not go out; only the forward panel offers it.
    if (nKseType != KSE_TYPE_FORWARD)
        choices.nOrderTypes &= ~FORWARD_ORDER_TYPES;
    return choices;
}

std::vector<CHOICE_ITEM> GetSideItems(int nMask)
{
    return Items(SIDES, nMask, false);
}

std::vector<CHOICE_ITEM> GetOrderTypeItems(int nMask, bool bPreMarket)
{
    return Items(ORDER_TYPES, nMask, bPreMarket);
}

std::vector<CHOICE_ITEM> GetValidityItems(int nMask, bool bPreMarket)
{
    return Items(VALIDITIES, nMask, bPreMarket);
}
