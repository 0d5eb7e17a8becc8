// The forward board of the accounts: orders that trade at once or rest until the series' quote
// reaches them, the contracts they open, and the actions taken on a contract.
#include <algorithm>
#include <cstdlib>
#include "tools/testserver/model/SimAccounts.h"
#include "tools/testserver/model/SimOrders.h"

static const int TXN_FORWARD = 6;       // a contract closed: its profit paid or taken

static std::string Amount(double dAmount)
{
    return FormatDouble(dAmount, 3);
}

// The series' quote now of a stock's series of those months (or of that series number).
static bool FindSeries(const CSimMarket& market, int nStock, int nMonths, int nSeries, CSimRecord* pQuote)
{
    for (const CSimRecord& quote : market.GetForwards())
        if (atoi(GetField(quote, "stock").c_str()) == nStock &&
            (nMonths ? atoi(GetField(quote, "months").c_str()) == nMonths : atoi(GetField(quote, "series").c_str()) == nSeries)) {
            *pQuote = quote;
            return true;
        }
    return false;
}

CSimRecord CSimAccounts::ForwardOrderRecord(const CSimAccount::ForwardOrder& order) const
{
    CSimClock at;
    at.Advance(order.nPlacedMillis);
    CSimRecord rec;
    SetField(rec, "order_no", order.nNo);
    SetField(rec, "datetime", at.ServerDateTime());
    SetField(rec, "date", at.ServerDate());
    SetField(rec, "stock", int64_t{order.nStock});
    SetField(rec, "series", int64_t{order.nSeries});
    SetField(rec, "months", int64_t{order.nMonths});
    SetField(rec, "side", int64_t{order.nSide});
    SetField(rec, "quantity", order.nQty);
    SetField(rec, "filled", order.nFilled);
    SetField(rec, "price", FormatDouble(order.dPrice, 3));
    SetField(rec, "duration", int64_t{0});
    // The forward board's readers take a resting order as status 1.
    SetField(rec, "status", int64_t{order.nStatus == SIM_STATUS_OPEN ? 1 : order.nStatus});
    SetField(rec, "reference", "F" + std::to_string(order.nNo));
    SetField(rec, "contract_no", order.nContract ? std::to_string(order.nContract) : std::string());
    return rec;
}

std::vector<CSimRecord> CSimAccounts::GetForwardOrders(const CSimAccount& account) const
{
    std::vector<CSimRecord> rows;
    for (const CSimAccount::ForwardOrder& order : account.forwardOrders)
        rows.push_back(ForwardOrderRecord(order));
    return rows;
}

int CSimAccounts::PlaceForward(const CSimForwardRequest& req, ISimEventSink& sink, CSimRecord* pOrder, std::string* pstrInsert)
{
    CSimAccount* pAccount = Find(req.strUser);
    if (!pAccount)
        return SIM_ERR_ACCOUNT;
    if (!CheckPassword(*pAccount, req.strPassword))
        return SIM_ERR_PASSWORD;
    CSimRecord review;
    const int nResult = CheckForward(req, &review, pstrInsert);
    if (nResult)
        return nResult;
    CSimRecord quote;
    FindSeries(*m_pMarket, req.nStock, req.nMonths, 0, &quote);
    const double dPrice = GetDouble(review, "price");
    const bool bNow = req.dPrice <= 0 || (req.nSide == SIM_SIDE_BUY ? dPrice >= GetDouble(quote, "ask") : dPrice <= GetDouble(quote, "bid"));
    pAccount->forwardOrders.push_back({++m_nForwardOrderNo, req.nStock, atoi(GetField(review, "series").c_str()), req.nMonths,
                                       req.nSide, req.nQty, 0, dPrice, SIM_STATUS_OPEN, m_pClock->GetMillis(), 0});
    CSimAccount::ForwardOrder& order = pAccount->forwardOrders.back();
    sink.OnSimEvent(SIM_FORWARD_ORDER, SIM_MARKET_KSE, pAccount->strUser, ForwardOrderRecord(order));
    if (bNow)
        FillForward(*pAccount, order, sink);
    else
        ++m_nResting;
    *pOrder = ForwardOrderRecord(order);
    for (const char* pszName : {"maturity", "value", "commission", "exchange_fee", "clearing_fee", "total", "margin"})
        SetField(*pOrder, pszName, GetField(review, pszName));
    return 0;
}

// The order trades whole at its price: the contract opens, the order is filled, and the
// forward board shows the trade.
void CSimAccounts::FillForward(CSimAccount& account, CSimAccount::ForwardOrder& order, ISimEventSink& sink)
{
    CSimForwardRequest req;
    req.strUser = account.strUser;
    req.nStock = order.nStock;
    req.nMonths = order.nMonths;
    req.nSide = order.nSide;
    req.nQty = order.nQty;
    req.dPrice = order.dPrice;
    CSimRecord review;
    std::string strInsert;
    if (CheckForward(req, &review, &strInsert) != 0)
        return;
    CSimAccount::Forward fwd{static_cast<int>(account.forwards.size()) + 1, order.nStock, order.nSeries, order.nSide, order.nQty,
                             order.dPrice, m_pClock->GetDate(), CSimClock::FromServerDate(GetField(review, "maturity"))};
    account.forwards.push_back(fwd);
    order.nFilled = order.nQty;
    order.nStatus = SIM_STATUS_FILLED;
    order.nContract = fwd.nNo;

    CSimRecord trade;
    SetField(trade, "trade_no", ++m_nForwardTradeNo);
    SetField(trade, "datetime", m_pClock->ServerDateTime());
    SetField(trade, "date", m_pClock->ServerDate());
    for (const char* pszName : {"stock", "series", "months", "side", "quantity", "price", "value"})
        SetField(trade, pszName, GetField(review, pszName));
    m_forwardTrades.push_back(trade);
    CSimRecord fill = trade;
    for (const char* pszName : {"commission", "exchange_fee", "clearing_fee", "total"})
        SetField(fill, pszName, GetField(review, pszName));
    SetField(fill, "order_no", order.nNo);
    SetField(fill, "reference", "F" + std::to_string(order.nNo));
    SetField(fill, "status", int64_t{1});
    account.forwardFills.push_back(fill);

    sink.OnSimEvent(SIM_FORWARD_FILL, SIM_MARKET_KSE, account.strUser, fill);
    sink.OnSimEvent(SIM_FORWARD_ORDER, SIM_MARKET_KSE, account.strUser, ForwardOrderRecord(order));
    sink.OnSimEvent(SIM_CONTRACT, SIM_MARKET_KSE, account.strUser, ContractRecord(account, fwd));
    sink.OnSimEvent(SIM_FORWARD_TRADE, SIM_MARKET_KSE, std::string(), trade);
}

void CSimAccounts::OnForwardQuotes(ISimEventSink& sink)
{
    if (m_nResting == 0)
        return;
    const std::vector<CSimRecord> quotes = m_pMarket->GetForwards();
    for (auto& pAccount : m_accounts) {
        for (CSimAccount::ForwardOrder& order : pAccount->forwardOrders) {
            if (order.nStatus != SIM_STATUS_OPEN)
                continue;
            for (const CSimRecord& quote : quotes) {
                if (atoi(GetField(quote, "stock").c_str()) != order.nStock || atoi(GetField(quote, "series").c_str()) != order.nSeries)
                    continue;
                const bool bReached = order.nSide == SIM_SIDE_BUY ? GetDouble(quote, "ask") <= order.dPrice
                                                                  : GetDouble(quote, "bid") >= order.dPrice;
                if (bReached) {
                    FillForward(*pAccount, order, sink);
                    --m_nResting;
                }
            }
        }
    }
}

int CSimAccounts::CheckContractAction(const CSimContractAction& req, CSimRecord* pReview, std::string* pstrInsert) const
{
    const CSimAccount* pAccount = Find(req.strUser);
    if (!pAccount)
        return SIM_ERR_ACCOUNT;
    const CSimAccount::Forward* pFwd = nullptr;
    for (const CSimAccount::Forward& fwd : pAccount->forwards)
        if (fwd.nNo == req.nContract && fwd.nStatus == 1)
            pFwd = &fwd;
    if (!pFwd) {
        *pstrInsert = std::to_string(req.nContract);
        return SIM_ERR_NOT_OPEN;
    }
    if (req.nAction != SIM_CONTRACT_CLOSE && req.nAction != SIM_CONTRACT_ROLL)
        return SIM_ERR_NO_ACTION;
    const bool bClose = req.nAction == SIM_CONTRACT_CLOSE;
    const int64_t nQty = bClose && req.nQty > 0 ? req.nQty : pFwd->nQty;
    if (nQty > pFwd->nQty || req.nQty < 0) {
        *pstrInsert = std::to_string(pFwd->nQty);
        return SIM_ERR_QUANTITY;
    }
    CSimRecord quote;
    const bool bQuoted = FindSeries(*m_pMarket, pFwd->nStock, 0, pFwd->nSeries, &quote);
    const double dPrice = !bClose ? pFwd->dPrice : req.dPrice > 0 ? req.dPrice : bQuoted ? GetDouble(quote, "price") : pFwd->dPrice;
    const double dQty = static_cast<double>(nQty);
    int nMaturity = pFwd->nMaturity;
    if (!bClose) {
        CSimClock maturity;
        maturity.Set(pFwd->nMaturity, 0);
        maturity.Advance(int64_t{30} * 86400000 * std::max(1, atoi(GetField(quote, "months").c_str())));
        nMaturity = maturity.GetDate();
    }
    CSimRecord& rec = *pReview;
    rec = ContractRecord(*pAccount, *pFwd);
    SetField(rec, "action", int64_t{req.nAction});
    SetField(rec, "quantity", nQty);
    SetField(rec, "left", bClose ? pFwd->nQty - nQty : pFwd->nQty);
    SetField(rec, "price", FormatDouble(dPrice, 3));
    SetField(rec, "value", Amount(dPrice * dQty / 1000.0));
    SetField(rec, "profit", Amount(bClose ? (dPrice - pFwd->dPrice) * dQty / 1000.0 * (pFwd->nSide == SIM_SIDE_BUY ? 1 : -1) : 0.0));
    SetField(rec, "maturity", CSimClock::ServerDate(nMaturity));
    if (bClose && nQty == pFwd->nQty) {
        SetField(rec, "status", int64_t{2});
        SetField(rec, "actions", int64_t{0});
    }
    return 0;
}

// A close pays the profit (or takes the loss) of the quantity closed in dinars and keeps the
// rest of the contract open; closing all of it ends the contract. A roll moves the maturity on
// by the series' months at the contract's price.
int CSimAccounts::ActOnContract(const CSimContractAction& req, ISimEventSink& sink, CSimRecord* pResult, std::string* pstrInsert)
{
    CSimAccount* pAccount = Find(req.strUser);
    if (!pAccount)
        return SIM_ERR_ACCOUNT;
    if (!CheckPassword(*pAccount, req.strPassword))
        return SIM_ERR_PASSWORD;
    const int nResult = CheckContractAction(req, pResult, pstrInsert);
    if (nResult)
        return nResult;
    CSimAccount::Forward* pFwd = nullptr;
    for (CSimAccount::Forward& fwd : pAccount->forwards)
        if (fwd.nNo == req.nContract)
            pFwd = &fwd;
    if (req.nAction == SIM_CONTRACT_ROLL) {
        pFwd->nMaturity = CSimClock::FromServerDate(GetField(*pResult, "maturity"));
    } else {
        const double dProfit = GetDouble(*pResult, "profit");
        pFwd->nQty = atoll(GetField(*pResult, "left").c_str());
        if (pFwd->nQty == 0) {
            pFwd->nQty = atoll(GetField(*pResult, "quantity").c_str());
            pFwd->nStatus = 2;
        }
        pAccount->cash["KWD"].dBalance += dProfit;
        const CSimInstrument* pStock = m_pMarket->Find(SIM_MARKET_KSE, std::to_string(pFwd->nStock));
        AddTransaction(*pAccount, m_pClock->GetDate(), m_pClock->GetMillis(), TXN_FORWARD, pStock,
                       atoll(GetField(*pResult, "quantity").c_str()),
                       pStock ? CSimMarket::ToUnits(*pStock->pMarket, GetDouble(*pResult, "price")) : 0, dProfit, 0, "KWD",
                       "Forward contract " + std::to_string(pFwd->nNo) + " closed");
        sink.OnSimEvent(SIM_CASH, 0, pAccount->strUser, CashRecord(*pAccount, "KWD"));
        PublishChange(*pAccount, 1, sink);
    }
    sink.OnSimEvent(SIM_CONTRACT, SIM_MARKET_KSE, pAccount->strUser, ContractRecord(*pAccount, *pFwd));
    return 0;
}
