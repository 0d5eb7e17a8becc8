// The books of the walk: five price levels a side laid from the best prices, restored after a
// level is used up, and the user's orders trading against them. The walk itself is in
// SimMarket.cpp.
#include <algorithm>
#include "tools/testserver/model/SimMarket.h"

// Fields of a book level, in slot order.
enum { L_MARKET, L_SYMBOL, L_PRICE, L_BID_ORDERS, L_BID_QTY, L_ASK_ORDERS, L_ASK_QTY, L_POSITION, L_BID_MAKER, L_ASK_MAKER,
       L_BID_ENTRY, L_ASK_ENTRY, L_COUNT };
static const char* const s_levelSlots[L_COUNT] = {
    "market", "symbol", "price", "bid_orders", "bid_qty", "ask_orders", "ask_qty", "position", "bid_maker", "ask_maker",
    "bid_entry", "ask_entry"};

// The market maker shown at a level: fixed by the price, so a level keeps its maker.
static int64_t MakerAt(int64_t nPrice, int64_t nTick, bool bBid)
{
    return 101 + (nPrice / nTick * 7 + (bBid ? 3 : 8)) % 12;
}

// A side's maker and its entry text ("MM104"), both empty when the side has nothing: a market-
// maker book takes no entry for such a side.
static void AssignMaker(std::string& strMaker, std::string& strEntry, int64_t nQty, int64_t nPrice, int64_t nTick, bool bBid)
{
    strMaker.clear();
    strEntry.clear();
    if (nQty <= 0)
        return;
    AssignInt(strMaker, MakerAt(nPrice, nTick, bBid));
    strEntry = "MM" + strMaker;
}

void CSimMarket::RandomLevel(CSimInstrument& inst, CSimLevel& level, bool bBid)
{
    // Small levels, a few lots each, so that the walk's trades use them up and prices move.
    const int64_t nLot = LotOf(inst);
    const int nOrders = m_random.Between(1, 6);
    const int64_t nQty = nLot * m_random.Between(nOrders, 3 * nOrders);
    if (bBid) {
        level.nBidOrders = nOrders;
        level.nBidQty = nQty;
    } else {
        level.nAskOrders = nOrders;
        level.nAskQty = nQty;
    }
}

void CSimMarket::BuildBook(CSimInstrument& inst)
{
    inst.levels.clear();
    int64_t nPrice = inst.nBestBid;
    for (int i = 0; i < kLevels && nPrice > 0 && IsInsideLimits(inst, nPrice); ++i, nPrice = StepDown(inst, nPrice))
        RandomLevel(inst, inst.levels[nPrice], true);
    nPrice = inst.nBestAsk;
    for (int i = 0; i < kLevels && IsInsideLimits(inst, nPrice); ++i, nPrice = StepUp(inst, nPrice))
        RandomLevel(inst, inst.levels[nPrice], false);
}

// Lays five levels a side from the best prices again, keeping the quantities of the prices that
// stay on their side, and tells each level that went, appeared or changed. In place: the walk
// calls it whenever a level is used up.
void CSimMarket::RestoreBook(CSimInstrument& inst, ISimEventSink& sink)
{
    int64_t want[2 * kLevels];      // ascending: the bids from the lowest, then the asks
    int nBids = 0, nWant = 0;
    for (int64_t p = inst.nBestBid; nBids < kLevels && p > 0 && IsInsideLimits(inst, p); p = StepDown(inst, p))
        ++nBids;
    int64_t p = inst.nBestBid;
    for (int i = nBids - 1; i >= 0; --i, p = StepDown(inst, p))
        want[i] = p;
    nWant = nBids;
    for (p = inst.nBestAsk; nWant < nBids + kLevels && IsInsideLimits(inst, p); p = StepUp(inst, p))
        want[nWant++] = p;
    for (auto it = inst.levels.begin(); it != inst.levels.end();) {
        if (std::find(want, want + nWant, it->first) != want + nWant) {
            ++it;
            continue;
        }
        EmitLevel(inst, it->first, CSimLevel(), sink);
        it = inst.levels.erase(it);
    }
    for (int i = 0; i < nWant; ++i) {
        const bool bBid = i < nBids;
        const auto found = inst.levels.find(want[i]);
        const bool bNew = found == inst.levels.end();
        CSimLevel& level = bNew ? inst.levels[want[i]] : found->second;
        const CSimLevel was = level;
        if (bBid) {
            if (level.nBidQty <= 0)
                RandomLevel(inst, level, true);
            level.nAskOrders = 0;
            level.nAskQty = 0;
        } else {
            if (level.nAskQty <= 0)
                RandomLevel(inst, level, false);
            level.nBidOrders = 0;
            level.nBidQty = 0;
        }
        if (bNew || was.nBidOrders != level.nBidOrders || was.nBidQty != level.nBidQty || was.nAskOrders != level.nAskOrders ||
            was.nAskQty != level.nAskQty)
            EmitLevel(inst, want[i], level, sink);
    }
}

int CSimMarket::LevelPosition(const CSimInstrument& inst, int64_t nPrice, const CSimLevel& level) const
{
    int nPosition = 0;
    if (level.nBidQty > 0)
        for (int64_t p = inst.nBestBid; p >= nPrice && p > 0 && nPosition < kLevels; p = StepDown(inst, p))
            ++nPosition;
    else if (level.nAskQty > 0)
        for (int64_t p = inst.nBestAsk; p <= nPrice && nPosition < kLevels; p = StepUp(inst, p))
            ++nPosition;
    return nPosition;
}

void CSimMarket::FillLevelRecord(CSimRecord& rec, const CSimInstrument& inst, int64_t nPrice, const CSimLevel& level) const
{
    SetField(rec, "market", int64_t{inst.pMarket->nCode});
    SetField(rec, "symbol", inst.strSymbol);
    SetField(rec, "price", PriceText(*inst.pMarket, nPrice));
    SetField(rec, "bid_orders", int64_t{level.nBidOrders});
    SetField(rec, "bid_qty", level.nBidQty);
    SetField(rec, "ask_orders", int64_t{level.nAskOrders});
    SetField(rec, "ask_qty", level.nAskQty);
    SetField(rec, "position", int64_t{LevelPosition(inst, nPrice, level)});
    const int64_t nTick = TickAt(inst, nPrice);
    AssignMaker(rec["bid_maker"], rec["bid_entry"], level.nBidQty, nPrice, nTick, true);
    AssignMaker(rec["ask_maker"], rec["ask_entry"], level.nAskQty, nPrice, nTick, false);
}

void CSimMarket::EmitLevel(const CSimInstrument& inst, int64_t nPrice, const CSimLevel& level, ISimEventSink& sink)
{
    if (m_nLevelRecsUsed == m_levelRecs.size()) {
        m_levelRecs.emplace_back();
        m_levelSlots.emplace_back();
        m_levelSlots.back().Bind(m_levelRecs.back(), s_levelSlots, L_COUNT);
    }
    CSimRecordSlots& f = m_levelSlots[m_nLevelRecsUsed];
    AssignInt(f[L_MARKET], inst.pMarket->nCode);
    f[L_SYMBOL].assign(inst.strSymbol);
    AssignUnits(f[L_PRICE], nPrice, inst.pMarket->nDecimals);
    AssignInt(f[L_BID_ORDERS], level.nBidOrders);
    AssignInt(f[L_BID_QTY], level.nBidQty);
    AssignInt(f[L_ASK_ORDERS], level.nAskOrders);
    AssignInt(f[L_ASK_QTY], level.nAskQty);
    AssignInt(f[L_POSITION], LevelPosition(inst, nPrice, level));
    const int64_t nTick = TickAt(inst, nPrice);
    AssignMaker(f[L_BID_MAKER], f[L_BID_ENTRY], level.nBidQty, nPrice, nTick, true);
    AssignMaker(f[L_ASK_MAKER], f[L_ASK_ENTRY], level.nAskQty, nPrice, nTick, false);
    sink.OnSimEvent(SIM_BOOK, inst.pMarket->nCode, std::string(), m_levelRecs[m_nLevelRecsUsed++]);
}

std::vector<std::pair<int64_t, int64_t>> CSimMarket::TakeLiquidity(CSimInstrument& inst, int nSide, int64_t nLimit, int64_t nQty,
                                                                    ISimEventSink& sink)
{
    std::vector<std::pair<int64_t, int64_t>> fills;
    const bool bBuy = nSide == 1;
    int64_t nPrice = bBuy ? inst.nBestAsk : inst.nBestBid;
    for (int i = 0; i < kLevels && nQty > 0; ++i) {
        if (nLimit > 0 && (bBuy ? nPrice > nLimit : nPrice < nLimit))
            break;
        const auto it = inst.levels.find(nPrice);
        if (it == inst.levels.end())
            break;
        int64_t& nHave = bBuy ? it->second.nAskQty : it->second.nBidQty;
        if (nHave > 0) {
            const int64_t nTake = std::min(nHave, nQty);
            nHave -= nTake;
            nQty -= nTake;
            if (nHave == 0)
                (bBuy ? it->second.nAskOrders : it->second.nBidOrders) = 0;
            fills.emplace_back(nPrice, nTake);
            RecordTrade(inst, nPrice, nTake, nSide, sink);
            EmitLevel(inst, nPrice, it->second, sink);
        }
        if (nHave > 0)
            break;
        nPrice = bBuy ? StepUp(inst, nPrice) : StepDown(inst, nPrice);
    }
    if (fills.empty())
        return fills;
    // The levels taken are gone; the best of the side is the first price with something left,
    // and the other side closes up to one tick below or above it.
    if (bBuy) {
        while (inst.levels.count(inst.nBestAsk) && inst.levels[inst.nBestAsk].nAskQty == 0 &&
               (inst.nLimitUp == 0 || inst.nBestAsk < inst.nLimitUp))
            inst.nBestAsk = StepUp(inst, inst.nBestAsk);
        inst.nBestBid = StepDown(inst, inst.nBestAsk);
    } else {
        while (inst.levels.count(inst.nBestBid) && inst.levels[inst.nBestBid].nBidQty == 0 &&
               (inst.nLimitDown == 0 || inst.nBestBid > inst.nLimitDown) && StepDown(inst, inst.nBestBid) > 0)
            inst.nBestBid = StepDown(inst, inst.nBestBid);
        inst.nBestAsk = StepUp(inst, inst.nBestBid);
    }
    RestoreBook(inst, sink);
    PublishQuote(inst, sink);
    return fills;
}


CSimOddLot CSimMarket::RandomOddLot(CSimInstrument& inst, int nSide)
{
    CSimOddLot lot;
    lot.nSide = nSide;
    lot.nQty = m_random.Between(1, static_cast<int>(LotOf(inst)) - 1);
    lot.nOrders = m_random.Between(1, 3);
    // Within three ticks of the best price of its side.
    int64_t nPrice = nSide == 1 ? inst.nBestBid : inst.nBestAsk;
    for (int i = m_random.Below(3); i > 0; --i) {
        const int64_t nNext = nSide == 1 ? StepDown(inst, nPrice) : StepUp(inst, nPrice);
        if (nNext > 0 && IsInsideLimits(inst, nNext))
            nPrice = nNext;
    }
    lot.nPrice = nPrice;
    return lot;
}

void CSimMarket::FillOddLotRecord(CSimRecord& rec, const CSimInstrument& inst, const CSimOddLot& lot) const
{
    SetField(rec, "market", int64_t{inst.pMarket->nCode});
    SetField(rec, "symbol", inst.strSymbol);
    SetField(rec, "quantity", lot.nQty);
    SetField(rec, "price", PriceText(*inst.pMarket, lot.nPrice));
    SetField(rec, "side", int64_t{lot.nSide});
    SetField(rec, "orders", int64_t{lot.nOrders});
}

// One odd-lot entry of the stock goes and a fresh one near the book takes its place.
void CSimMarket::RenewOddLot(CSimInstrument& inst, ISimEventSink& sink)
{
    if (inst.oddLots.empty())
        return;
    CSimOddLot& lot = inst.oddLots[static_cast<size_t>(m_random.Below(static_cast<int>(inst.oddLots.size())))];
    CSimOddLot gone = lot;
    gone.nOrders = 0;
    FillOddLotRecord(m_oddLotGone, inst, gone);
    sink.OnSimEvent(SIM_ODDLOT, inst.pMarket->nCode, std::string(), m_oddLotGone);
    lot = RandomOddLot(inst, lot.nSide);
    // Two entries of one stock, quantity, side and price would be one row on the terminal.
    for (bool bClash = true; bClash;) {
        bClash = false;
        for (const CSimOddLot& other : inst.oddLots) {
            if (&other != &lot && other.nQty == lot.nQty && other.nSide == lot.nSide && other.nPrice == lot.nPrice) {
                lot.nQty = lot.nQty % (LotOf(inst) - 1) + 1;
                bClash = true;
            }
        }
    }
    FillOddLotRecord(m_oddLotNew, inst, lot);
    sink.OnSimEvent(SIM_ODDLOT, inst.pMarket->nCode, std::string(), m_oddLotNew);
}

std::vector<CSimRecord> CSimMarket::GetOddLots(const CSimInstrument& inst) const
{
    std::vector<CSimRecord> rows(inst.oddLots.size());
    for (size_t i = 0; i < inst.oddLots.size(); ++i)
        FillOddLotRecord(rows[i], inst, inst.oddLots[i]);
    return rows;
}
