#include "tools/testserver/model/SimOrders.h"
#include <algorithm>
#include <cmath>
#include <cstdio>

void CSimOrders::Init(CSimMarket* pMarket, CSimAccounts* pAccounts, CSimClock* pClock)
{
    m_pMarket = pMarket;
    m_pAccounts = pAccounts;
    m_pClock = pClock;
    m_orders.clear();
    m_fills.clear();
    m_open.assign(pMarket->GetInstruments().size(), std::vector<size_t>());
    m_nTradeNo = 0;
}

// An option's series on its order and fill records, as the order-status and trade lines carry it.
static void SetSeries(CSimRecord& rec, const CSimOptionSeries& option)
{
    if (!option.IsOption())
        return;
    SetField(rec, "underlying", option.strUnderlying);
    SetField(rec, "right", int64_t{option.nRight});
    SetField(rec, "strike", FormatDouble(option.dStrike, 4));
    SetField(rec, "expiry", CSimClock::ServerDate(option.nExpiry));
}

CSimOrders::Charges CSimOrders::ChargesOf(const CSimMarketInfo& market, double dValue) const
{
    if (dValue <= 0)
        return {0, 0};
    return {std::max(market.dMinCommission, dValue * market.dCommission), dValue * (market.dExchangeFee + market.dClearingFee)};
}

const CSimMarketInfo& CSimOrders::MarketOf(const Order& order) const
{
    const CSimMarketInfo* pBoard = order.option.IsOption() ? m_pMarket->FindMarket(SIM_MARKET_OPTIONS) : nullptr;
    return pBoard ? *pBoard : *order.pInst->pMarket;
}

std::string CSimOrders::SymbolOf(const Order& order) const
{
    return order.option.IsOption() ? CSimAccounts::OptionSymbol(order.option) : order.pInst->strSymbol;
}

bool CSimOrders::OptionQuote(const CSimOptionSeries& option, int64_t* pLast, int64_t* pBid, int64_t* pAsk) const
{
    const CSimMarketInfo* pBoard = m_pMarket->FindMarket(SIM_MARKET_OPTIONS);
    if (!pBoard || !option.IsOption())
        return false;
    for (const CSimRecord& row : m_pMarket->GetOptionChain(option.strUnderlying))
        if (atoi(GetField(row, "right").c_str()) == option.nRight && std::fabs(GetDouble(row, "strike") - option.dStrike) < 1e-6 &&
            CSimClock::FromServerDate(GetField(row, "expiry")) == option.nExpiry) {
            *pLast = CSimMarket::ToUnits(*pBoard, GetDouble(row, "last"));
            *pBid = CSimMarket::ToUnits(*pBoard, GetDouble(row, "bid"));
            *pAsk = CSimMarket::ToUnits(*pBoard, GetDouble(row, "ask"));
            return true;
        }
    return false;
}

// The price a check counts the value at: the limit when there is one; else, for a buy, the
// highest offer of the book (a market order may take all five levels), for a sale the best bid;
// an option's the premium it would trade at.
int64_t CSimOrders::EstimatePrice(const Order& order) const
{
    const CSimInstrument& inst = *order.pInst;
    if ((order.nType == SIM_TYPE_LIMIT || order.nType == SIM_TYPE_STOP_LIMIT) && order.nLimit > 0)
        return order.nLimit;
    int64_t nLast = 0, nBid = 0, nAsk = 0;
    if (order.option.IsOption())
        return OptionQuote(order.option, &nLast, &nBid, &nAsk) ? (order.nSide == SIM_SIDE_BUY ? nAsk : nBid) : 0;
    if (order.nSide != SIM_SIDE_BUY)
        return inst.nBestBid;
    int64_t nHighest = inst.nBestAsk;
    for (const auto& level : inst.levels)
        if (level.second.nAskQty > 0)
            nHighest = std::max(nHighest, level.first);
    return nHighest;
}

double CSimOrders::CashToReserve(const Order& order) const
{
    if (order.nSide != SIM_SIDE_BUY || !IsOpen(order))
        return 0;
    const CSimMarketInfo& market = MarketOf(order);
    const int64_t nPrice = std::max(EstimatePrice(order), order.nStop);
    const double dValue = CSimMarket::Value(market, nPrice, (order.nQty - order.nFilled) * SharesOf(order));
    const Charges charges = ChargesOf(market, dValue);
    return dValue + charges.dCommission + charges.dFees;
}

// The order a request would make, with its prices in the units of its market.
CSimOrders::Order CSimOrders::ProbeOf(const CSimOrderRequest& req, CSimInstrument* pInst) const
{
    Order probe;
    probe.pInst = pInst;
    probe.option = req.option;
    probe.nBooked = req.nBooked;
    probe.nSide = req.nSide;
    probe.nType = req.nType;
    probe.nQty = req.nQty;
    const CSimMarketInfo& market = MarketOf(probe);
    probe.nLimit = req.nType == SIM_TYPE_LIMIT || req.nType == SIM_TYPE_STOP_LIMIT ? CSimMarket::ToUnits(market, req.dPrice) : 0;
    probe.nStop = req.nType == SIM_TYPE_STOP || req.nType == SIM_TYPE_STOP_LIMIT ? CSimMarket::ToUnits(market, req.dStop) : 0;
    return probe;
}

int CSimOrders::Validate(const CSimOrderRequest& req, CSimAccount** ppAccount, CSimInstrument** ppInst, int64_t nQtyFreed,
                         double dCashFreed, std::string* pstrInsert)
{
    CSimAccount* pAccount = m_pAccounts->Find(req.strUser);
    if (!pAccount)
        return SIM_ERR_ACCOUNT;
    CSimInstrument* pInst = m_pMarket->Find(req.nMarket, req.strSymbol);
    int64_t nLast = 0, nBid = 0, nAsk = 0;
    const bool bOption = req.option.IsOption();
    if (!pInst || (bOption && !OptionQuote(req.option, &nLast, &nBid, &nAsk))) {
        *pstrInsert = req.strSymbol;
        return SIM_ERR_SYMBOL;
    }
    if (req.nQty < 1) {
        *pstrInsert = "1";
        return SIM_ERR_QUANTITY;
    }
    const Order probe = ProbeOf(req, pInst);
    const CSimMarketInfo& market = MarketOf(probe);
    const bool bHasLimit = req.nType == SIM_TYPE_LIMIT || req.nType == SIM_TYPE_STOP_LIMIT;
    const bool bHasStop = req.nType == SIM_TYPE_STOP || req.nType == SIM_TYPE_STOP_LIMIT;
    for (const auto& price : {std::make_pair(bHasLimit, req.dPrice), std::make_pair(bHasStop, req.dStop)}) {
        if (!price.first)
            continue;
        const int64_t nUnits = CSimMarket::ToUnits(market, price.second);
        // A digit past the market's decimals is off every tick, not rounded onto one.
        const bool bWhole = std::fabs(price.second * market.nScale - static_cast<double>(nUnits)) < 1e-6;
        // The options board's premiums move by its own tick.
        const bool bOnTick = bOption ? market.nTick > 0 && nUnits % market.nTick == 0 : m_pMarket->IsOnTick(*pInst, nUnits);
        if (nUnits <= 0 || !bWhole || !bOnTick) {
            *pstrInsert = CSimMarket::PriceText(market, bOption ? market.nTick : m_pMarket->TickAt(*pInst, std::max<int64_t>(nUnits, 1)));
            return SIM_ERR_TICK;
        }
        if (!bOption && !m_pMarket->IsInsideLimits(*pInst, nUnits)) {
            *pstrInsert = CSimMarket::PriceText(market, pInst->nLimitDown) + " - " + CSimMarket::PriceText(market, pInst->nLimitUp);
            return SIM_ERR_LIMITS;
        }
    }
    if (req.nSide == SIM_SIDE_BUY) {
        const double dAvailable = m_pAccounts->AvailableCash(*pAccount, market.strCurrency) + dCashFreed;
        if (CashToReserve(probe) > dAvailable + 1e-9) {
            *pstrInsert = FormatDouble(dAvailable, 3);
            return SIM_ERR_CASH;
        }
    } else {
        const int64_t nAvailable = (bOption ? m_pAccounts->HeldContracts(*pAccount, SymbolOf(probe))
                                            : m_pAccounts->AvailableShares(*pAccount, market.nCode, pInst->strSymbol)) + nQtyFreed;
        if (req.nQty > nAvailable) {
            *pstrInsert = std::to_string(nAvailable);
            return SIM_ERR_SHARES;
        }
    }
    *ppAccount = pAccount;
    *ppInst = pInst;
    return 0;
}

CSimRecord CSimOrders::Review(const CSimOrderRequest& req, const CSimAccount& account, const CSimInstrument& inst) const
{
    Order probe = ProbeOf(req, const_cast<CSimInstrument*>(&inst));
    const CSimMarketInfo& market = MarketOf(probe);
    probe.nLimit = CSimMarket::ToUnits(market, req.dPrice);
    const int64_t nPrice = EstimatePrice(probe);
    // The amounts in the currency's own units (fils, cents), so that what the review adds up
    // shows added up.
    const double dUnit = market.strCurrency == "KWD" ? 1000.0 : 100.0;
    const auto inUnits = [dUnit](double dAmount) { return std::round(dAmount * dUnit) / dUnit; };
    const double dValue = inUnits(CSimMarket::Value(market, nPrice, req.nQty * SharesOf(probe)));
    const Charges charges = ChargesOf(market, dValue);
    const double dCharges = inUnits(charges.dCommission + charges.dFees);
    CSimRecord rec;
    SetField(rec, "market", BookedMarketOf(probe));
    SetField(rec, "symbol", SymbolOf(probe));
    SetField(rec, "name", inst.strName);
    SetField(rec, "side", int64_t{req.nSide});
    SetField(rec, "type", int64_t{req.nType});
    SetField(rec, "quantity", req.nQty);
    SetField(rec, "price", FormatDouble(req.dPrice, market.nDecimals));
    SetField(rec, "stop_price", FormatDouble(req.dStop, market.nDecimals));
    SetField(rec, "duration", int64_t{req.nDuration});
    SetField(rec, "good_till", req.nGoodTill ? CSimClock::ServerDate(req.nGoodTill) : std::string());
    SetField(rec, "est_price", CSimMarket::PriceText(market, nPrice));
    SetField(rec, "value", FormatDouble(dValue, 3));
    SetField(rec, "commission", FormatDouble(charges.dCommission, 3));
    SetField(rec, "exchange_fee", FormatDouble(dValue * market.dExchangeFee, 3));
    SetField(rec, "clearing_fee", FormatDouble(dValue * market.dClearingFee, 3));
    SetField(rec, "other_fee", FormatDouble(0, 3));
    SetField(rec, "charges", FormatDouble(dCharges, 3));
    SetField(rec, "total", FormatDouble(req.nSide == SIM_SIDE_BUY ? dValue + dCharges : dValue - dCharges, 3));
    const double dCash = m_pAccounts->AvailableCash(account, market.strCurrency);
    const int64_t nShares = probe.option.IsOption() ? m_pAccounts->HeldContracts(account, SymbolOf(probe))
                                                    : m_pAccounts->AvailableShares(account, market.nCode, inst.strSymbol);
    SetField(rec, "cash_available", FormatDouble(dCash, 3));
    SetField(rec, "shares_available", nShares);
    SetField(rec, "currency", market.strCurrency);
    SetField(rec, "margin", FormatDouble(0, 2));
    // What the order leaves: a purchase takes its total from the cash and from the margin the
    // account's equity allows beyond what its holdings need (in the order's currency), a sale
    // adds its total to both.
    const double dTotal = req.nSide == SIM_SIDE_BUY ? -(dValue + dCharges) : dValue - dCharges;
    const double dRate = m_pAccounts->ToKwd(market.strCurrency, 1.0);
    const double dMargin = dRate > 0 ? GetDouble(m_pAccounts->GetMargin(account), "excess") / dRate : 0.0;
    SetField(rec, "buying_power", FormatDouble(dCash, 2));
    SetField(rec, "cash_after", FormatDouble(dCash + dTotal, 2));
    SetField(rec, "rate", FormatDouble(dRate, 3));
    SetField(rec, "margin_available", FormatDouble(dMargin, 2));
    SetField(rec, "margin_after", FormatDouble(dMargin + dTotal, 2));
    SetField(rec, "margin_shares", nShares);
    return rec;
}

int CSimOrders::Check(const CSimOrderRequest& req, CSimRecord* pReview, std::string* pstrInsert)
{
    CSimAccount* pAccount = nullptr;
    CSimInstrument* pInst = nullptr;
    const int nError = Validate(req, &pAccount, &pInst, 0, 0, pstrInsert);
    if (nError == 0)
        *pReview = Review(req, *pAccount, *pInst);
    return nError;
}

void CSimOrders::Reserve(Order& order, CSimAccount& account)
{
    const CSimMarketInfo& market = MarketOf(order);
    const double dCash = CashToReserve(order);
    m_pAccounts->ReserveCash(account, market.strCurrency, dCash - order.dReservedCash);
    order.dReservedCash = dCash;
    // Contracts sold are not held back: a sale is checked against the contracts held.
    if (order.option.IsOption())
        return;
    const int64_t nShares = order.nSide == SIM_SIDE_SELL && IsOpen(order) ? order.nQty - order.nFilled : 0;
    m_pAccounts->ReserveShares(account, market.nCode, order.pInst->strSymbol, nShares - order.nReservedShares);
    order.nReservedShares = nShares;
}

void CSimOrders::Unreserve(Order& order, CSimAccount& account, ISimEventSink& sink)
{
    // Called once the order is no longer open, so Reserve sets both reservations to nothing.
    const double dCash = order.dReservedCash;
    const int64_t nShares = order.nReservedShares;
    Reserve(order, account);
    if (dCash != 0)
        m_pAccounts->PublishCash(account, MarketOf(order).strCurrency, sink);
    if (nShares != 0)
        m_pAccounts->PublishHolding(account, order.pInst->pMarket->nCode, order.pInst->strSymbol, sink);
}

int CSimOrders::Send(const CSimOrderRequest& req, ISimEventSink& sink, CSimRecord* pOrder, std::string* pstrInsert)
{
    CSimAccount* pAccount = m_pAccounts->Find(req.strUser);
    if (!pAccount)
        return SIM_ERR_ACCOUNT;
    if (!m_pAccounts->CheckPassword(*pAccount, req.strPassword))
        return SIM_ERR_PASSWORD;
    CSimInstrument* pInst = nullptr;
    const int nError = Validate(req, &pAccount, &pInst, 0, 0, pstrInsert);
    if (nError != 0)
        return nError;
    Order order;
    order.nNo = static_cast<int64_t>(m_orders.size()) + 1;
    order.strUser = req.strUser;
    order.pInst = pInst;
    order.nBooked = req.nBooked;
    order.nSide = req.nSide;
    order.nType = req.nType;
    order.nDuration = req.nDuration;
    order.nGoodTill = req.nGoodTill;
    order.nQty = req.nQty;
    order.option = req.option;
    const bool bHasStop = req.nType == SIM_TYPE_STOP || req.nType == SIM_TYPE_STOP_LIMIT;
    const Order probe = ProbeOf(req, pInst);
    order.nLimit = probe.nLimit;
    order.nStop = probe.nStop;
    order.nStatus = bHasStop ? SIM_STATUS_WAITING : SIM_STATUS_OPEN;
    order.nPlacedMillis = order.nUpdatedMillis = m_pClock->GetMillis();
    m_orders.push_back(order);
    Order& placed = m_orders.back();
    m_open[static_cast<size_t>(pInst->nIndex)].push_back(m_orders.size() - 1);
    Reserve(placed, *pAccount);
    Publish(placed, sink);
    if (placed.nSide == SIM_SIDE_BUY)
        m_pAccounts->PublishCash(*pAccount, MarketOf(placed).strCurrency, sink);
    else if (!placed.option.IsOption())
        m_pAccounts->PublishHolding(*pAccount, pInst->pMarket->nCode, pInst->strSymbol, sink);
    if (!bHasStop)
        TradeNow(placed, sink);
    *pOrder = OrderRecord(placed);
    return 0;
}

// Trades what the book offers up to the order's limit (market orders: the five levels), then
// tells the order's new state once.
void CSimOrders::TradeNow(Order& order, ISimEventSink& sink)
{
    const bool bMarket = order.nType == SIM_TYPE_MARKET || order.nType == SIM_TYPE_STOP;
    const int64_t nOpen = order.nQty - order.nFilled;
    if (nOpen <= 0)
        return;
    // An option trades whole at the chain's premium that reaches it, and books nothing of the
    // underlying's.
    if (order.option.IsOption()) {
        if (const int64_t nPrice = ReachedPrice(order, 0)) {
            Fill(order, nPrice, nOpen, sink);
            Publish(order, sink);
        }
        return;
    }
    const auto fills = m_pMarket->TakeLiquidity(*order.pInst, order.nSide, bMarket ? 0 : order.nLimit, nOpen, sink);
    for (const auto& fill : fills)
        Fill(order, fill.first, fill.second, sink);
    if (!fills.empty())
        Publish(order, sink);
}

void CSimOrders::Fill(Order& order, int64_t nPrice, int64_t nQty, ISimEventSink& sink)
{
    CSimAccount* pAccount = m_pAccounts->Find(order.strUser);
    if (!pAccount)
        return;
    const CSimMarketInfo& market = MarketOf(order);
    const double dValue = CSimMarket::Value(market, nPrice, nQty * SharesOf(order));
    // The least commission is per order, not per fill: each fill pays what the order's total
    // commission grows by.
    const Charges total = ChargesOf(market, order.dFilledValue + dValue);
    const Charges charges = {total.dCommission - order.dCommission, ChargesOf(market, dValue).dFees};
    order.dCommission = total.dCommission;
    order.nFilled += nQty;
    order.dFilledValue += dValue;
    order.nStatus = order.nFilled >= order.nQty ? SIM_STATUS_FILLED : SIM_STATUS_PARTLY;
    order.nUpdatedMillis = m_pClock->GetMillis();
    if (order.nStatus == SIM_STATUS_FILLED)
        Close(order);
    // The reservation shrinks before the trade books, so the cash and holding lines the trade
    // sends show both at once.
    Reserve(order, *pAccount);

    BookFill(*pAccount, order, nQty, nPrice, charges, sink);
}

void CSimOrders::BookFill(CSimAccount& account, const Order& order, int64_t nQty, int64_t nPrice, const Charges& charges,
                          ISimEventSink& sink)
{
    const CSimInstrument& inst = *order.pInst;
    const int64_t nOrderNo = order.nNo;
    const int nSide = order.nSide;
    const CSimMarketInfo& market = MarketOf(order);
    const double dValue = CSimMarket::Value(market, nPrice, nQty * SharesOf(order));
    const double dCharges = charges.dCommission + charges.dFees;
    CSimRecord rec;
    SetField(rec, "trade_no", ++m_nTradeNo);
    SetField(rec, "order_no", nOrderNo ? std::to_string(nOrderNo) : std::string());
    SetField(rec, "reference", nOrderNo ? ReferenceOf(nOrderNo) : std::string("EXERCISE"));
    SetField(rec, "account", int64_t{account.nAccount});
    SetField(rec, "market", BookedMarketOf(order));
    SetField(rec, "side", int64_t{nSide});
    SetField(rec, "symbol", SymbolOf(order));
    SetField(rec, "name", inst.strName);
    SetField(rec, "quantity", nQty);
    SetField(rec, "price", CSimMarket::PriceText(market, nPrice));
    SetSeries(rec, order.option);
    SetField(rec, "value", FormatDouble(dValue, 3));
    SetField(rec, "commission", FormatDouble(charges.dCommission, 3));
    SetField(rec, "fees", FormatDouble(charges.dFees, 3));
    SetField(rec, "charges", FormatDouble(dCharges, 3));
    SetField(rec, "net", FormatDouble(nSide == SIM_SIDE_BUY ? dValue + dCharges : dValue - dCharges, 3));
    SetField(rec, "currency", market.strCurrency);
    SetField(rec, "datetime", m_pClock->ServerDateTime());
    SetField(rec, "date", m_pClock->ServerDate());
    SetField(rec, "time", m_pClock->ServerTime());
    SetField(rec, "status", int64_t{1});
    m_fills.emplace_back(account.strUser, rec);
    sink.OnSimEvent(SIM_FILL, market.nCode, account.strUser, rec);
    if (order.option.IsOption())
        m_pAccounts->ApplyOptionFill(account, order.option, nSide, nQty, dValue, dCharges, sink);
    else
        m_pAccounts->ApplyFill(account, inst, nSide, nQty, nPrice, dCharges, sink);
}

// The exercise is an order of its own, numbered as every order is, filled whole at the strike.
void CSimOrders::BookExercise(CSimAccount& account, const CSimInstrument& inst, int nSide, int64_t nQty, int64_t nPrice,
                              ISimEventSink& sink)
{
    Order order;
    order.nNo = static_cast<int64_t>(m_orders.size()) + 1;
    order.strUser = account.strUser;
    order.pInst = const_cast<CSimInstrument*>(&inst);
    order.nSide = nSide;
    order.nQty = nQty;
    order.nLimit = nPrice;
    order.nPlacedMillis = order.nUpdatedMillis = m_pClock->GetMillis();
    m_orders.push_back(order);
    Order& placed = m_orders.back();
    Fill(placed, nPrice, nQty, sink);
    Publish(placed, sink);
}

void CSimOrders::Close(const Order& order)
{
    std::vector<size_t>& open = m_open[static_cast<size_t>(order.pInst->nIndex)];
    open.erase(std::remove(open.begin(), open.end(), static_cast<size_t>(order.nNo - 1)), open.end());
}

bool CSimOrders::IsReached(const Order& order, int64_t nLast) const
{
    if (order.option.IsOption())
        return ReachedPrice(order, nLast) > 0;
    if (order.nStatus == SIM_STATUS_WAITING)
        return order.nSide == SIM_SIDE_BUY ? nLast >= order.nStop : nLast <= order.nStop;
    if (order.nType == SIM_TYPE_MARKET || order.nType == SIM_TYPE_STOP)
        return true;
    return order.nSide == SIM_SIDE_BUY ? nLast <= order.nLimit : nLast >= order.nLimit;
}

int64_t CSimOrders::ReachedPrice(const Order& order, int64_t nLast) const
{
    int64_t nBid = 0, nAsk = 0;
    if (order.option.IsOption() && !OptionQuote(order.option, &nLast, &nBid, &nAsk))
        return 0;
    const bool bBuy = order.nSide == SIM_SIDE_BUY;
    if (order.nStatus == SIM_STATUS_WAITING)
        return (bBuy ? nLast >= order.nStop : nLast <= order.nStop) ? nLast : 0;
    const int64_t nPrice = bBuy ? nAsk : nBid;
    if (order.nType == SIM_TYPE_MARKET || order.nType == SIM_TYPE_STOP)
        return nPrice;
    return (bBuy ? nPrice <= order.nLimit : nPrice >= order.nLimit) ? nPrice : 0;
}

bool CSimOrders::AnyReached(const CSimInstrument& inst) const
{
    if (static_cast<size_t>(inst.nIndex) >= m_open.size())
        return false;
    for (size_t nOrder : m_open[static_cast<size_t>(inst.nIndex)])
        if (IsReached(m_orders[nOrder], inst.nLast))
            return true;
    return false;
}

void CSimOrders::OnMarketTrade(CSimInstrument& inst, ISimEventSink& sink)
{
    if (static_cast<size_t>(inst.nIndex) >= m_open.size())
        return;
    const int64_t nLast = inst.nLast;
    // A copy: fills close orders. By number, so that two orders the same trade reaches fill in
    // the order they came.
    const std::vector<size_t> open = m_open[static_cast<size_t>(inst.nIndex)];
    for (size_t nOrder : open) {
        Order& order = m_orders[nOrder];
        if (!IsOpen(order) || !IsReached(order, nLast))
            continue;
        if (order.nStatus == SIM_STATUS_WAITING) {
            order.bTriggered = true;
            order.nStatus = order.nFilled > 0 ? SIM_STATUS_PARTLY : SIM_STATUS_OPEN;
            order.nUpdatedMillis = m_pClock->GetMillis();
            Publish(order, sink);
            TradeNow(order, sink);
            continue;
        }
        Fill(order, order.option.IsOption() ? ReachedPrice(order, nLast) : nLast, order.nQty - order.nFilled, sink);
        Publish(order, sink);
    }
}

CSimOrders::Order* CSimOrders::FindOpen(const std::string& strUser, int64_t nOrderNo)
{
    if (nOrderNo < 1 || nOrderNo > static_cast<int64_t>(m_orders.size()))
        return nullptr;
    Order& order = m_orders[static_cast<size_t>(nOrderNo - 1)];
    return order.strUser == strUser && IsOpen(order) ? &order : nullptr;
}

int CSimOrders::CheckModify(int64_t nOrderNo, const CSimOrderRequest& req, CSimRecord* pReview, std::string* pstrInsert)
{
    Order* pOrder = FindOpen(req.strUser, nOrderNo);
    if (!pOrder) {
        *pstrInsert = std::to_string(nOrderNo);
        return SIM_ERR_NOT_OPEN;
    }
    if (req.nQty <= pOrder->nFilled) {
        *pstrInsert = std::to_string(pOrder->nFilled + 1);
        return SIM_ERR_QUANTITY;
    }
    // The order's own reservation counts as available: it is given back before the new one.
    CSimOrderRequest open = req;
    open.nMarket = pOrder->pInst->pMarket->nCode;
    open.strSymbol = pOrder->pInst->strSymbol;
    open.option = pOrder->option;
    open.nBooked = pOrder->nBooked;
    open.nSide = pOrder->nSide;
    open.nType = pOrder->nType;
    open.nQty = req.nQty - pOrder->nFilled;
    CSimAccount* pAccount = nullptr;
    CSimInstrument* pInst = nullptr;
    const int nError = Validate(open, &pAccount, &pInst, pOrder->nReservedShares, pOrder->dReservedCash, pstrInsert);
    if (nError != 0)
        return nError;
    *pReview = Review(open, *pAccount, *pInst);
    SetField(*pReview, "order_no", nOrderNo);
    SetField(*pReview, "quantity", req.nQty);
    return 0;
}

int CSimOrders::Modify(int64_t nOrderNo, const CSimOrderRequest& req, ISimEventSink& sink, CSimRecord* pOrderRec,
                       std::string* pstrInsert)
{
    CSimAccount* pAccount = m_pAccounts->Find(req.strUser);
    if (!pAccount)
        return SIM_ERR_ACCOUNT;
    if (!m_pAccounts->CheckPassword(*pAccount, req.strPassword))
        return SIM_ERR_PASSWORD;
    CSimRecord review;
    const int nError = CheckModify(nOrderNo, req, &review, pstrInsert);
    if (nError != 0)
        return nError;
    Order& order = *FindOpen(req.strUser, nOrderNo);
    const CSimMarketInfo& market = MarketOf(order);
    order.nQty = req.nQty;
    if (order.nType == SIM_TYPE_LIMIT || order.nType == SIM_TYPE_STOP_LIMIT)
        order.nLimit = CSimMarket::ToUnits(market, req.dPrice);
    if (order.nType == SIM_TYPE_STOP || order.nType == SIM_TYPE_STOP_LIMIT)
        order.nStop = order.bTriggered ? order.nStop : CSimMarket::ToUnits(market, req.dStop);
    order.nDuration = req.nDuration;
    order.nGoodTill = req.nGoodTill;
    order.nUpdatedMillis = m_pClock->GetMillis();
    Reserve(order, *pAccount);
    Publish(order, sink);
    if (order.nSide == SIM_SIDE_BUY)
        m_pAccounts->PublishCash(*pAccount, market.strCurrency, sink);
    else if (!order.option.IsOption())
        m_pAccounts->PublishHolding(*pAccount, market.nCode, order.pInst->strSymbol, sink);
    if (order.nStatus != SIM_STATUS_WAITING)
        TradeNow(order, sink);
    *pOrderRec = OrderRecord(order);
    return 0;
}

int CSimOrders::CheckCancel(const std::string& strUser, int64_t nOrderNo, CSimRecord* pReview, std::string* pstrInsert)
{
    Order* pOrder = FindOpen(strUser, nOrderNo);
    CSimAccount* pAccount = m_pAccounts->Find(strUser);
    if (!pOrder || !pAccount) {
        *pstrInsert = std::to_string(nOrderNo);
        return SIM_ERR_NOT_OPEN;
    }
    const CSimMarketInfo& market = MarketOf(*pOrder);
    CSimOrderRequest req;
    req.option = pOrder->option;
    req.nBooked = pOrder->nBooked;
    req.nSide = pOrder->nSide;
    req.nType = pOrder->nType;
    req.nQty = pOrder->nQty - pOrder->nFilled;
    req.dPrice = static_cast<double>(pOrder->nLimit) / market.nScale;
    req.dStop = static_cast<double>(pOrder->nStop) / market.nScale;
    req.nDuration = pOrder->nDuration;
    req.nGoodTill = pOrder->nGoodTill;
    *pReview = Review(req, *pAccount, *pOrder->pInst);
    SetField(*pReview, "order_no", nOrderNo);
    return 0;
}

int CSimOrders::Cancel(const std::string& strUser, const std::string& strPassword, int64_t nOrderNo, ISimEventSink& sink,
                       CSimRecord* pOrderRec, std::string* pstrInsert)
{
    CSimAccount* pAccount = m_pAccounts->Find(strUser);
    if (!pAccount)
        return SIM_ERR_ACCOUNT;
    if (!m_pAccounts->CheckPassword(*pAccount, strPassword))
        return SIM_ERR_PASSWORD;
    Order* pOrder = FindOpen(strUser, nOrderNo);
    if (!pOrder) {
        *pstrInsert = std::to_string(nOrderNo);
        return SIM_ERR_NOT_OPEN;
    }
    pOrder->nStatus = SIM_STATUS_CANCELLED;
    pOrder->nUpdatedMillis = m_pClock->GetMillis();
    Close(*pOrder);
    Unreserve(*pOrder, *pAccount, sink);
    Publish(*pOrder, sink);
    *pOrderRec = OrderRecord(*pOrder);
    return 0;
}

void CSimOrders::Publish(const Order& order, ISimEventSink& sink)
{
    sink.OnSimEvent(SIM_ORDER, MarketOf(order).nCode, order.strUser, OrderRecord(order));
}

std::string CSimOrders::ReferenceOf(int64_t nOrderNo)
{
    char sz[32];
    snprintf(sz, sizeof sz, "S%08lld", static_cast<long long>(nOrderNo));
    return sz;
}

CSimRecord CSimOrders::OrderRecord(const Order& order) const
{
    const CSimInstrument& inst = *order.pInst;
    const CSimMarketInfo& market = MarketOf(order);
    const CSimAccount* pAccount = static_cast<const CSimAccounts*>(m_pAccounts)->Find(order.strUser);
    CSimClock placed, updated;
    placed.Advance(order.nPlacedMillis);
    updated.Advance(order.nUpdatedMillis);
    CSimRecord rec;
    SetField(rec, "order_no", order.nNo);
    SetField(rec, "reference", ReferenceOf(order.nNo));
    SetField(rec, "account", int64_t{pAccount ? pAccount->nAccount : 0});
    SetField(rec, "user", order.strUser);
    SetField(rec, "market", BookedMarketOf(order));
    // The KSE order-status lines name the board's market type: the regular board's 1.
    SetField(rec, "kse_type", int64_t{1});
    SetField(rec, "side", int64_t{order.nSide});
    SetField(rec, "symbol", SymbolOf(order));
    SetField(rec, "name", inst.strName);
    SetSeries(rec, order.option);
    SetField(rec, "type", int64_t{order.nType});
    SetField(rec, "duration", int64_t{order.nDuration});
    SetField(rec, "good_till", order.nGoodTill ? CSimClock::ServerDate(order.nGoodTill) : std::string());
    SetField(rec, "quantity", order.nQty);
    SetField(rec, "price", CSimMarket::PriceText(market, order.nLimit));
    SetField(rec, "stop_price", CSimMarket::PriceText(market, order.nStop));
    SetField(rec, "open_qty", IsOpen(order) ? order.nQty - order.nFilled : 0);
    SetField(rec, "filled_qty", order.nFilled);
    // What a partly filled order has still to fill; 0 before its first fill.
    SetField(rec, "part_open_qty", order.nFilled > 0 ? order.nQty - order.nFilled : 0);
    const double dAvg = order.nFilled > 0 ? order.dFilledValue / static_cast<double>(order.nFilled * SharesOf(order)) * market.nUnit : 0.0;
    SetField(rec, "avg_price", FormatDouble(dAvg, market.nDecimals));
    SetField(rec, "value", FormatDouble(order.dFilledValue, 3));
    SetField(rec, "status", int64_t{order.nStatus});
    // What an order notice tells: cancelled, and whether part of it had traded.
    SetField(rec, "cancelled", int64_t{order.nStatus == SIM_STATUS_CANCELLED ? 1 : 0});
    SetField(rec, "partly", int64_t{order.nFilled > 0 && order.nFilled < order.nQty ? 1 : 0});
    SetField(rec, "datetime", placed.ServerDateTime());
    SetField(rec, "date", placed.ServerDate());
    SetField(rec, "time", placed.ServerTime());
    SetField(rec, "updated", updated.ServerDateTime());
    SetField(rec, "currency", market.strCurrency);
    return rec;
}

std::vector<CSimRecord> CSimOrders::GetOrders(const std::string& strUser, int nMarket, int nFrom, int nTo) const
{
    std::vector<CSimRecord> rows;
    for (const Order& order : m_orders) {
        CSimClock placed;
        placed.Advance(order.nPlacedMillis);
        if (order.strUser == strUser && placed.GetDate() >= nFrom && placed.GetDate() <= nTo &&
            (nMarket == 0 || MarketOf(order).nCode == nMarket))
            rows.push_back(OrderRecord(order));
    }
    return rows;
}

std::vector<CSimRecord> CSimOrders::GetFills(const std::string& strUser, int nMarket, int nFrom, int nTo) const
{
    std::vector<CSimRecord> rows;
    for (const auto& entry : m_fills) {
        const int nDate = CSimClock::FromServerDate(GetField(entry.second, "date"));
        if (entry.first == strUser && nDate >= nFrom && nDate <= nTo &&
            (nMarket == 0 || GetField(entry.second, "market") == std::to_string(nMarket)))
            rows.push_back(entry.second);
    }
    return rows;
}

bool CSimOrders::HasOpenOrders(const CSimInstrument& inst) const
{
    return static_cast<size_t>(inst.nIndex) < m_open.size() && !m_open[static_cast<size_t>(inst.nIndex)].empty();
}
