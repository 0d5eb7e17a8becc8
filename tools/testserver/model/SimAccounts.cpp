#include "tools/testserver/model/SimAccounts.h"
#include <algorithm>
#include <cmath>
#include "tools/testserver/model/SimOrders.h"
#include <cstdlib>

static const int TXN_BUY = 1, TXN_SELL = 2, TXN_DEPOSIT = 3, TXN_CONVERSION = 5;
static const int FIRST_ACCOUNT = 5001;
static const double MARGIN_RATE_PCT = 30.0;     // of the holdings' value, as the broker lends

static std::string Amount(double dAmount)
{
    return FormatDouble(dAmount, 3);
}

// Money as the statements of its currency give it: dollars to the cent, dinars to the fils.
static int MoneyPlaces(const std::string& strCurrency)
{
    return strCurrency == "KWD" ? 3 : 2;
}

static std::string Money(double dAmount, const std::string& strCurrency)
{
    return FormatDouble(dAmount, MoneyPlaces(strCurrency));
}

// The books keep a position's cost to a hundredth of a cent (a tenth of a fils), and charges in
// the currency's own unit: a cost is then exact in the fields that carry four places.
static const int COST_PLACES = 4;
static double InPlaces(double dAmount, int nPlaces)
{
    const double dScale = std::pow(10.0, nPlaces);
    return std::round(dAmount * dScale) / dScale;
}

// The trading day nBack days before nDate.
static int TradingDaysBack(int nDate, int nBack)
{
    for (int i = 0; i < nBack; ++i)
        nDate = CSimClock::PreviousTradingDate(nDate);
    return nDate;
}

static int64_t MillisOf(int nDate, int nTime)
{
    CSimClock at;
    at.Set(nDate, nTime);
    return at.GetMillis();
}

bool CSimAccounts::Init(const CSimTables& tables, CSimMarket* pMarket, CSimClock* pClock)
{
    m_pMarket = pMarket;
    m_pClock = pClock;
    m_pPortfolios = &tables.Get("portfolios");
    m_accounts.clear();
    m_kwdPerUnit.clear();
    for (const CSimRecord& row : tables.Get("currencies").rows)
        m_kwdPerUnit[GetField(row, "currency")] = GetDouble(row, "kwd");
    m_rates.clear();
    for (const CSimRecord& row : tables.Get("rates").rows)
        m_rates[{GetField(row, "from"), GetField(row, "to")}] = GetDouble(row, "rate");
    return true;
}

double CSimAccounts::ToKwd(const std::string& strCurrency, double dAmount) const
{
    const auto it = m_kwdPerUnit.find(strCurrency);
    return it == m_kwdPerUnit.end() ? 0.0 : dAmount * it->second;
}

CSimAccount* CSimAccounts::Find(const std::string& strUser)
{
    for (auto& pAccount : m_accounts)
        if (pAccount->strUser == strUser)
            return pAccount.get();
    return nullptr;
}

const CSimAccount* CSimAccounts::Find(const std::string& strUser) const
{
    for (const auto& pAccount : m_accounts)
        if (pAccount->strUser == strUser)
            return pAccount.get();
    return nullptr;
}

CSimAccount& CSimAccounts::Open(const std::string& strUser, const std::string& strPassword, int nAccount)
{
    if (CSimAccount* pFound = Find(strUser))
        return *pFound;
    m_accounts.push_back(std::make_unique<CSimAccount>());
    CSimAccount& account = *m_accounts.back();
    account.strUser = strUser;
    account.strPassword = strPassword;
    account.nAccount = nAccount > 0 ? nAccount : FIRST_ACCOUNT + static_cast<int>(m_accounts.size()) - 1;

    bool bNamed = false;
    for (const CSimRecord& row : m_pPortfolios->rows)
        bNamed = bNamed || GetField(row, "user") == strUser;
    const std::string strKey = bNamed ? strUser : "*";
    std::vector<const CSimRecord*> rows;
    for (const CSimRecord& row : m_pPortfolios->rows)
        if (GetField(row, "user") == strKey)
            rows.push_back(&row);

    // The money first comes in as one deposit per currency, a month back, large enough for the
    // holdings bought after it; the purchases leave the balance the file gives.
    const int nToday = m_pClock->GetDate();
    std::map<std::string, double> deposits;
    for (const CSimRecord* pRow : rows)
        if (GetField(*pRow, "kind") == "C")
            deposits[GetField(*pRow, "symbol")] += GetDouble(*pRow, "quantity");
    for (const CSimRecord* pRow : rows) {
        CSimInstrument* pInst = m_pMarket->Find(atoi(GetField(*pRow, "market").c_str()), GetField(*pRow, "symbol"));
        const std::string& strKind = GetField(*pRow, "kind");
        if ((strKind == "H" || strKind == "S") && pInst) {
            const int64_t nPrice = CSimMarket::ToUnits(*pInst->pMarket, GetDouble(*pRow, "price"));
            const double dValue = CSimMarket::Value(*pInst->pMarket, nPrice, atoll(GetField(*pRow, "quantity").c_str()));
            deposits[pInst->pMarket->strCurrency] += strKind == "H" ? dValue : -dValue;
        }
    }
    const int nDepositDate = TradingDaysBack(nToday, 22);
    for (const auto& entry : deposits) {
        account.cash[entry.first].dBalance += entry.second;
        AddTransaction(account, nDepositDate, MillisOf(nDepositDate, 100000), TXN_DEPOSIT, nullptr, 0, 0, entry.second, 0,
                       entry.first, "Deposit");
    }
    int nBack = 20;
    for (const CSimRecord* pRow : rows) {
        const std::string& strKind = GetField(*pRow, "kind");
        const int nMarketColumn = atoi(GetField(*pRow, "market").c_str());
        const int64_t nQty = atoll(GetField(*pRow, "quantity").c_str());
        const double dPrice = GetDouble(*pRow, "price");
        if (strKind == "H") {
            CSimInstrument* pInst = m_pMarket->Find(nMarketColumn, GetField(*pRow, "symbol"));
            if (!pInst || nQty <= 0)
                continue;
            const int64_t nPrice = CSimMarket::ToUnits(*pInst->pMarket, dPrice);
            const double dValue = CSimMarket::Value(*pInst->pMarket, nPrice, nQty);
            CSimHolding& holding = HoldingOf(account, nMarketColumn, pInst->strSymbol);
            const int nDate = TradingDaysBack(nToday, nBack);
            holding.nQty += nQty;
            holding.dCost = InPlaces(holding.dCost + dValue, COST_PLACES);
            holding.nOpenDate = holding.nOpenDate ? holding.nOpenDate : nDate;
            account.cash[pInst->pMarket->strCurrency].dBalance -= dValue;
            nBack -= 3;
            AddTransaction(account, nDate, MillisOf(nDate, 100000), TXN_BUY, pInst, nQty, nPrice, -dValue, 0,
                           pInst->pMarket->strCurrency, "Bought " + pInst->strName);
        } else if (strKind == "S") {
            CSimInstrument* pInst = m_pMarket->Find(nMarketColumn, GetField(*pRow, "symbol"));
            if (!pInst || nQty <= 0)
                continue;
            const int64_t nPrice = CSimMarket::ToUnits(*pInst->pMarket, dPrice);
            const int nDate = TradingDaysBack(nToday, nBack);
            nBack -= 3;
            const double dAmount = Sell(account, *pInst, HoldingOf(account, nMarketColumn, pInst->strSymbol), nQty, nPrice, 0,
                                        nDate, MillisOf(nDate, 110000));
            account.cash[pInst->pMarket->strCurrency].dBalance += dAmount;
            AddTransaction(account, nDate, MillisOf(nDate, 110000), TXN_SELL, pInst, nQty, nPrice, dAmount, 0,
                           pInst->pMarket->strCurrency, "Sold " + pInst->strName);
        } else if (strKind == "F") {
            CSimClock at;
            const int nOpen = TradingDaysBack(nToday, 5);
            at.Set(nOpen, 0);
            at.Advance(int64_t{30} * 86400000);
            account.forwards.push_back({static_cast<int>(account.forwards.size()) + 1, atoi(GetField(*pRow, "symbol").c_str()),
                                        nMarketColumn, nQty < 0 ? 2 : 1, nQty < 0 ? -nQty : nQty, dPrice, nOpen, at.GetDate()});
        } else if (strKind == "A") {
            // An amount the server adds to a held position's value, in the price column.
            if (CSimInstrument* pInst = m_pMarket->Find(nMarketColumn, GetField(*pRow, "symbol")))
                HoldingOf(account, nMarketColumn, pInst->strSymbol).dAdded += dPrice;
        } else if (strKind == "O" || strKind == "W") {
            AddOptionPosition(account, GetField(*pRow, "symbol"), nQty, dPrice, strKind == "W");
        }
    }
    return account;
}

CSimHolding& CSimAccounts::HoldingOf(CSimAccount& account, int nMarket, const std::string& strSymbol)
{
    for (CSimHolding& holding : account.holdings)
        if (holding.nMarket == nMarket && holding.strSymbol == strSymbol)
            return holding;
    account.holdings.push_back(CSimHolding());
    account.holdings.back().nMarket = nMarket;
    account.holdings.back().strSymbol = strSymbol;
    return account.holdings.back();
}

double CSimAccounts::AvailableCash(const CSimAccount& account, const std::string& strCurrency) const
{
    const auto it = account.cash.find(strCurrency);
    return it == account.cash.end() ? 0.0 : it->second.dBalance - it->second.dReserved;
}

int64_t CSimAccounts::AvailableShares(const CSimAccount& account, int nMarket, const std::string& strSymbol) const
{
    for (const CSimHolding& holding : account.holdings)
        if (holding.nMarket == nMarket && holding.strSymbol == strSymbol)
            return holding.nQty - holding.nReserved;
    return 0;
}

void CSimAccounts::ReserveCash(CSimAccount& account, const std::string& strCurrency, double dAmount)
{
    account.cash[strCurrency].dReserved += dAmount;
}

void CSimAccounts::ReserveShares(CSimAccount& account, int nMarket, const std::string& strSymbol, int64_t nQty)
{
    HoldingOf(account, nMarket, strSymbol).nReserved += nQty;
}

void CSimAccounts::PublishCash(const CSimAccount& account, const std::string& strCurrency, ISimEventSink& sink) const
{
    sink.OnSimEvent(SIM_CASH, 0, account.strUser, CashRecord(account, strCurrency));
}

void CSimAccounts::PublishHolding(CSimAccount& account, int nMarket, const std::string& strSymbol, ISimEventSink& sink)
{
    sink.OnSimEvent(SIM_HOLDING, nMarket, account.strUser, HoldingRecord(account, HoldingOf(account, nMarket, strSymbol)));
}

void CSimAccounts::PublishHolders(const CSimInstrument& inst, ISimEventSink& sink)
{
    // The KSE's holders hear of their positions on their own trades only; options are valued
    // as contracts, by their own lines.
    if (inst.pMarket->nCode == SIM_MARKET_KSE || inst.pMarket->nCode == SIM_MARKET_OPTIONS)
        return;
    for (const auto& pAccount : m_accounts)
        for (const CSimHolding& holding : pAccount->holdings)
            if (holding.nMarket == inst.pMarket->nCode && holding.strSymbol == inst.strSymbol && holding.nQty > 0)
                sink.OnSimEvent(SIM_HOLDING, holding.nMarket, pAccount->strUser, HoldingRecord(*pAccount, holding));
}

// A sale out of the holding on nDate: the holding's cost goes out in proportion and the sale
// is kept as a realized line; returns the cash it brings.
double CSimAccounts::Sell(CSimAccount& account, const CSimInstrument& inst, CSimHolding& holding, int64_t nQty, int64_t nPrice,
                          double dCharges, int nDate, int64_t nMillis)
{
    const CSimMarketInfo& market = *inst.pMarket;
    const double dValue = CSimMarket::Value(market, nPrice, nQty);
    CSimClock at;
    at.Advance(nMillis);
    const double dAmount = dValue - dCharges;
    const double dCostOut = holding.nQty > 0 ? holding.dCost * static_cast<double>(nQty) / static_cast<double>(holding.nQty) : 0;
    const double dProfit = dAmount - dCostOut;
    holding.nQty -= nQty;
    holding.dCost = InPlaces(holding.dCost - dCostOut, COST_PLACES);
    holding.dRealized += dProfit;
    CSimRecord rec;
    SetField(rec, "row", static_cast<int64_t>(account.realized.size() + 1));
    SetField(rec, "side", int64_t{2});
    SetField(rec, "buy_date", holding.nOpenDate ? CSimClock::ServerDate(holding.nOpenDate) : std::string());
    SetField(rec, "sell_date", CSimClock::ServerDate(nDate));
    SetField(rec, "date", CSimClock::ServerDate(nDate));
    SetField(rec, "datetime", at.ServerDateTime());
    SetField(rec, "account", int64_t{account.nAccount});
    SetField(rec, "market", int64_t{market.nCode});
    SetField(rec, "symbol", inst.strSymbol);
    SetField(rec, "name", inst.strName);
    SetField(rec, "quantity", nQty);
    SetField(rec, "avg_cost", FormatDouble(dCostOut / static_cast<double>(nQty) * market.nUnit, market.nDecimals));
    SetField(rec, "price", CSimMarket::PriceText(market, nPrice));
    SetField(rec, "cost", Amount(dCostOut));
    SetField(rec, "proceeds", Amount(dValue));
    SetField(rec, "charges", Amount(dCharges));
    SetField(rec, "net", Amount(dAmount));
    SetField(rec, "profit", Amount(dProfit));
    SetField(rec, "profit_pct", FormatDouble(dCostOut > 0 ? 100.0 * dProfit / dCostOut : 0.0, 2));
    SetField(rec, "currency", market.strCurrency);
    account.realized.push_back(std::move(rec));
    return dAmount;
}

void CSimAccounts::ApplyFill(CSimAccount& account, const CSimInstrument& inst, int nSide, int64_t nQty, int64_t nPrice,
                             double dCharges, ISimEventSink& sink)
{
    const CSimMarketInfo& market = *inst.pMarket;
    const double dValue = CSimMarket::Value(market, nPrice, nQty);
    dCharges = InPlaces(dCharges, MoneyPlaces(market.strCurrency));
    CSimHolding& holding = HoldingOf(account, market.nCode, inst.strSymbol);
    CSimAccount::Cash& cash = account.cash[market.strCurrency];
    double dAmount = 0;
    if (nSide == 1) {
        dAmount = -(dValue + dCharges);
        holding.nOpenDate = holding.nQty > 0 ? holding.nOpenDate : m_pClock->GetDate();
        holding.nQty += nQty;
        holding.dCost = InPlaces(holding.dCost + dValue + dCharges, COST_PLACES);
    } else {
        dAmount = Sell(account, inst, holding, nQty, nPrice, dCharges, m_pClock->GetDate(), m_pClock->GetMillis());
    }
    cash.dBalance += dAmount;
    AddTransaction(account, m_pClock->GetDate(), m_pClock->GetMillis(), nSide == 1 ? TXN_BUY : TXN_SELL, &inst, nQty, nPrice,
                   dAmount, dCharges, market.strCurrency, (nSide == 1 ? "Bought " : "Sold ") + inst.strName);
    sink.OnSimEvent(SIM_HOLDING, market.nCode, account.strUser, HoldingRecord(account, holding));
    sink.OnSimEvent(SIM_CASH, 0, account.strUser, CashRecord(account, market.strCurrency));
    PublishChange(account, 1, sink);
}

// The last nNewTransactions of the history and the margin figures after them.
void CSimAccounts::PublishChange(const CSimAccount& account, size_t nNewTransactions, ISimEventSink& sink) const
{
    const size_t nCount = account.transactions.size();
    for (size_t i = nCount - std::min(nCount, nNewTransactions); i < nCount; ++i) {
        const CSimRecord& rec = account.transactions[i];
        sink.OnSimEvent(SIM_TRANSACTION, atoi(GetField(rec, "market").c_str()), account.strUser, rec);
    }
    sink.OnSimEvent(SIM_MARGIN, 0, account.strUser, GetMargin(account));
}

void CSimAccounts::AddTransaction(CSimAccount& account, int nDate, int64_t nMillis, int nType, const CSimInstrument* pInst,
                                  int64_t nQty, int64_t nPrice, double dAmount, double dCharges, const std::string& strCurrency,
                                  const std::string& strText)
{
    CSimClock at;
    at.Advance(nMillis);
    CSimRecord rec;
    SetField(rec, "txn_no", static_cast<int64_t>(account.transactions.size() + 1));
    SetField(rec, "account", int64_t{account.nAccount});
    SetField(rec, "date", CSimClock::ServerDate(nDate));
    SetField(rec, "datetime", at.ServerDateTime());
    SetField(rec, "type", int64_t{nType});
    SetField(rec, "market", pInst ? std::to_string(pInst->pMarket->nCode) : std::string());
    // The KSE board of a trade (the regular board's 1, as the order lines give it); a movement
    // of cash was made on no board.
    SetField(rec, "board", pInst && pInst->pMarket->nCode == SIM_MARKET_KSE ? std::string("1") : std::string());
    SetField(rec, "symbol", pInst ? pInst->strSymbol : std::string());
    SetField(rec, "quantity", pInst ? std::to_string(nQty) : std::string());
    SetField(rec, "price", pInst ? CSimMarket::PriceText(*pInst->pMarket, nPrice) : std::string());
    SetField(rec, "amount", Money(dAmount, strCurrency));
    SetField(rec, "credit", dAmount > 0 ? Money(dAmount, strCurrency) : std::string());
    SetField(rec, "debit", dAmount < 0 ? Money(-dAmount, strCurrency) : std::string());
    SetField(rec, "charges", Money(dCharges, strCurrency));
    SetField(rec, "currency", strCurrency);
    SetField(rec, "balance", Money(account.cash[strCurrency].dBalance, strCurrency));
    SetField(rec, "text", strText);
    account.transactions.push_back(std::move(rec));
}

CSimRecord CSimAccounts::CashRecord(const CSimAccount& account, const std::string& strCurrency) const
{
    const auto it = account.cash.find(strCurrency);
    const CSimAccount::Cash cash = it == account.cash.end() ? CSimAccount::Cash() : it->second;
    CSimRecord rec;
    SetField(rec, "account", int64_t{account.nAccount});
    SetField(rec, "user", account.strUser);
    SetField(rec, "currency", strCurrency);
    SetField(rec, "balance", Amount(cash.dBalance));
    SetField(rec, "reserved", Amount(cash.dReserved));
    SetField(rec, "available", Amount(cash.dBalance - cash.dReserved));
    SetField(rec, "balance_kwd", Amount(ToKwd(strCurrency, cash.dBalance)));
    return rec;
}

CSimRecord CSimAccounts::HoldingRecord(const CSimAccount& account, const CSimHolding& holding) const
{
    CSimRecord rec;
    const CSimInstrument* pInst = m_pMarket->Find(holding.nMarket, holding.strSymbol);
    if (!pInst)
        return rec;
    const CSimMarketInfo& market = *pInst->pMarket;
    const int64_t nPrice = pInst->nLast > 0 ? pInst->nLast : pInst->nPrevClose;
    const double dMarketValue = CSimMarket::Value(market, nPrice, holding.nQty);
    const double dAvgCost = holding.nQty > 0 ? holding.dCost / static_cast<double>(holding.nQty) * market.nUnit : 0.0;
    SetField(rec, "account", int64_t{account.nAccount});
    SetField(rec, "market", int64_t{market.nCode});
    SetField(rec, "symbol", holding.strSymbol);
    SetField(rec, "name", pInst->strName);
    SetField(rec, "currency", market.strCurrency);
    SetField(rec, "type", int64_t{0});
    SetField(rec, "quantity", holding.nQty);
    SetField(rec, "reserved", holding.nReserved);
    SetField(rec, "available", holding.nQty - holding.nReserved);
    // Each field at the places a server's carries: the cost to four (the holdings' lines), again to
    // the currency's unit (the unrealized reports'), and the average price to four.
    SetField(rec, "avg_cost", FormatDouble(dAvgCost, COST_PLACES));
    SetField(rec, "cost", FormatDouble(holding.dCost, COST_PLACES));
    SetField(rec, "quoted_cost", Money(holding.dCost, market.strCurrency));
    SetField(rec, "quoted_cost_exact", FormatDouble(holding.dCost, COST_PLACES));
    SetField(rec, "price", CSimMarket::PriceText(market, nPrice));
    SetField(rec, "market_value", Amount(dMarketValue));
    SetField(rec, "unrealized", Amount(dMarketValue - holding.dCost));
    SetField(rec, "unrealized_pct", FormatDouble(holding.dCost > 0 ? 100.0 * (dMarketValue - holding.dCost) / holding.dCost : 0.0, 2));
    SetField(rec, "realized", Amount(holding.dRealized));
    SetField(rec, "added", Money(holding.dAdded, market.strCurrency));
    SetField(rec, "market_value_kwd", Amount(ToKwd(market.strCurrency, dMarketValue)));
    SetField(rec, "open_date", holding.nOpenDate ? CSimClock::ServerDate(holding.nOpenDate) : std::string());
    // Shares are held long only.
    for (const char* pszShort : {"short_quantity", "short_avg", "short_proceeds", "short_proceeds_exact"})
        SetField(rec, pszShort, "0");
    return rec;
}

std::vector<CSimRecord> CSimAccounts::GetCash(const CSimAccount& account) const
{
    std::vector<CSimRecord> rows;
    for (const auto& entry : account.cash)
        rows.push_back(CashRecord(account, entry.first));
    return rows;
}

std::vector<CSimRecord> CSimAccounts::GetHoldings(const CSimAccount& account, int nMarket) const
{
    std::vector<CSimRecord> rows;
    for (const CSimHolding& holding : account.holdings)
        if ((nMarket == 0 || holding.nMarket == nMarket) && (holding.nQty != 0 || holding.nReserved != 0))
            rows.push_back(HoldingRecord(account, holding));
    return rows;
}

// A record's server date ("61231", "261207") against a range of YYYYMMDD.
static bool InRange(const CSimRecord& rec, int nMarket, int nFrom, int nTo)
{
    const int nDate = CSimClock::FromServerDate(GetField(rec, "date"));
    if (nDate < nFrom || nDate > nTo)
        return false;
    return nMarket == 0 || atoi(GetField(rec, "market").c_str()) == nMarket;
}

std::vector<CSimRecord> CSimAccounts::GetTransactions(const CSimAccount& account, int nMarket, int nFrom, int nTo) const
{
    std::vector<CSimRecord> rows;
    for (const CSimRecord& rec : account.transactions) {
        // Cash lines belong to every market's history.
        const bool bCash = GetField(rec, "market").empty();
        if (InRange(rec, bCash ? 0 : nMarket, nFrom, nTo))
            rows.push_back(rec);
    }
    return rows;
}

std::vector<CSimRecord> CSimAccounts::GetRealized(const CSimAccount& account, int nMarket, int nFrom, int nTo) const
{
    std::vector<CSimRecord> rows;
    for (const CSimRecord& rec : account.realized)
        if (InRange(rec, nMarket, nFrom, nTo))
            rows.push_back(rec);
    return rows;
}

std::vector<CSimRecord> CSimAccounts::GetForwardContracts(const CSimAccount& account) const
{
    std::vector<CSimRecord> rows;
    for (const CSimAccount::Forward& fwd : account.forwards)
        rows.push_back(ContractRecord(account, fwd));
    return rows;
}

CSimRecord CSimAccounts::ContractRecord(const CSimAccount& account, const CSimAccount::Forward& fwd) const
{
    double dCurrent = fwd.dPrice;
    for (const CSimRecord& quote : m_pMarket->GetForwards())
        if (atoi(GetField(quote, "stock").c_str()) == fwd.nStock && atoi(GetField(quote, "series").c_str()) == fwd.nSeries)
            dCurrent = GetDouble(quote, "price");
    const double dQty = static_cast<double>(fwd.nQty);
    const double dProfit = (dCurrent - fwd.dPrice) * dQty / 1000.0 * (fwd.nSide == 1 ? 1 : -1);
    CSimRecord rec;
    SetField(rec, "contract_no", int64_t{fwd.nNo});
    SetField(rec, "account", int64_t{account.nAccount});
    SetField(rec, "stock", int64_t{fwd.nStock});
    SetField(rec, "series", int64_t{fwd.nSeries});
    SetField(rec, "side", int64_t{fwd.nSide});
    SetField(rec, "quantity", fwd.nQty);
    SetField(rec, "price", FormatDouble(fwd.dPrice, 3));
    SetField(rec, "open_date", CSimClock::ServerDate(fwd.nOpenDate));
    SetField(rec, "maturity", CSimClock::ServerDate(fwd.nMaturity));
    SetField(rec, "current", FormatDouble(dCurrent, 3));
    SetField(rec, "value", Amount(dCurrent * dQty / 1000.0));
    SetField(rec, "profit", Amount(dProfit));
    SetField(rec, "status", int64_t{fwd.nStatus});
    // An open contract takes a new order, a close and a roll; a closed one nothing.
    SetField(rec, "actions", int64_t{fwd.nStatus == 1 ? 1 | SIM_CONTRACT_CLOSE | SIM_CONTRACT_ROLL : 0});
    return rec;
}

int CSimAccounts::CheckForward(const CSimForwardRequest& req, CSimRecord* pReview, std::string* pstrInsert) const
{
    if (!Find(req.strUser))
        return SIM_ERR_ACCOUNT;
    const std::vector<CSimRecord> quotes = m_pMarket->GetForwards();
    const CSimRecord* pSeries = nullptr;
    for (const CSimRecord& quote : quotes)
        if (atoi(GetField(quote, "stock").c_str()) == req.nStock && atoi(GetField(quote, "months").c_str()) == req.nMonths)
            pSeries = &quote;
    const CSimInstrument* pInst = m_pMarket->Find(SIM_MARKET_KSE, std::to_string(req.nStock));
    if (!pSeries || !pInst) {
        *pstrInsert = std::to_string(req.nStock);
        return SIM_ERR_SYMBOL;
    }
    if (req.nQty <= 0) {
        *pstrInsert = "1";
        return SIM_ERR_QUANTITY;
    }
    const double dPrice = req.dPrice > 0 ? req.dPrice : GetDouble(*pSeries, req.nSide == SIM_SIDE_BUY ? "ask" : "bid");
    const double dValue = dPrice * static_cast<double>(req.nQty) / 1000.0;
    const CSimMarketInfo& market = *pInst->pMarket;
    const double dCommission = std::max(market.dMinCommission, dValue * market.dCommission);
    const double dExchange = dValue * market.dExchangeFee, dClearing = dValue * market.dClearingFee;
    const double dCharges = dCommission + dExchange + dClearing;
    CSimClock maturity;
    maturity.Set(m_pClock->GetDate(), 0);
    maturity.Advance(int64_t{30} * 86400000 * req.nMonths);
    CSimRecord& rec = *pReview;
    rec.clear();
    SetField(rec, "stock", int64_t{req.nStock});
    SetField(rec, "series", GetField(*pSeries, "series"));
    SetField(rec, "months", int64_t{req.nMonths});
    SetField(rec, "side", int64_t{req.nSide});
    SetField(rec, "quantity", req.nQty);
    SetField(rec, "price", FormatDouble(dPrice, 3));
    SetField(rec, "maturity", CSimClock::ServerDate(maturity.GetDate()));
    SetField(rec, "value", Amount(dValue));
    SetField(rec, "commission", Amount(dCommission));
    SetField(rec, "exchange_fee", Amount(dExchange));
    SetField(rec, "clearing_fee", Amount(dClearing));
    SetField(rec, "total", Amount(req.nSide == SIM_SIDE_BUY ? dValue + dCharges : dValue - dCharges));
    SetField(rec, "value_commission", Amount(req.nSide == SIM_SIDE_BUY ? dValue + dCommission : dValue - dCommission));
    SetField(rec, "margin", FormatDouble(0, 2));
    return 0;
}

CSimRecord CSimAccounts::GetMargin(const CSimAccount& account) const
{
    double dCash = 0, dHoldings = 0;
    for (const auto& entry : account.cash)
        dCash += ToKwd(entry.first, entry.second.dBalance);
    for (const CSimHolding& holding : account.holdings) {
        const CSimInstrument* pInst = m_pMarket->Find(holding.nMarket, holding.strSymbol);
        if (pInst)
            dHoldings += ToKwd(pInst->pMarket->strCurrency,
                               CSimMarket::Value(*pInst->pMarket, pInst->nLast > 0 ? pInst->nLast : pInst->nPrevClose, holding.nQty));
    }
    const double dEquity = dCash + dHoldings;
    const double dLoan = dCash < 0 ? -dCash : 0.0;
    const double dRequired = dHoldings * MARGIN_RATE_PCT / 100.0;
    CSimRecord rec;
    SetField(rec, "account", int64_t{account.nAccount});
    SetField(rec, "currency", std::string("KWD"));
    SetField(rec, "cash", Amount(dCash));
    SetField(rec, "holdings_value", Amount(dHoldings));
    SetField(rec, "equity", Amount(dEquity));
    SetField(rec, "loan", Amount(dLoan));
    SetField(rec, "margin_rate", FormatDouble(MARGIN_RATE_PCT, 2));
    SetField(rec, "margin_required", Amount(dRequired));
    SetField(rec, "excess", Amount(dEquity - dRequired));
    SetField(rec, "call", int64_t{dEquity < dRequired ? 1 : 0});
    SetField(rec, "ratio", FormatDouble(dHoldings > 0 ? 100.0 * dEquity / dHoldings : 0.0, 2));
    return rec;
}

CSimRecord CSimAccounts::GetPerformance(const CSimAccount& account, int nMarket, int nFrom, int nTo) const
{
    const CSimMarketInfo* pMarket = nMarket ? m_pMarket->FindMarket(nMarket) : nullptr;
    const std::string strCurrency = pMarket ? pMarket->strCurrency : "KWD";
    const auto inCurrency = [&](const std::string& strFrom, double dAmount) {
        if (pMarket)
            return strFrom == strCurrency ? dAmount : 0.0;
        return ToKwd(strFrom, dAmount);
    };
    // A market's performance is that of its currency, on every market that trades in it (the US
    // boards and the options alike): the records of the others count nothing.
    double dDeposits = 0, dWithdrawals = 0, dCharges = 0, dRealized = 0, dUnrealized = 0, dClosing = 0;
    for (const CSimRecord& rec : GetTransactions(account, 0, nFrom, nTo)) {
        const double dAmount = inCurrency(GetField(rec, "currency"), GetDouble(rec, "amount"));
        if (GetField(rec, "market").empty())
            (dAmount >= 0 ? dDeposits : dWithdrawals) += dAmount >= 0 ? dAmount : -dAmount;
        dCharges += inCurrency(GetField(rec, "currency"), GetDouble(rec, "charges"));
    }
    for (const CSimRecord& rec : GetRealized(account, 0, nFrom, nTo))
        dRealized += inCurrency(GetField(rec, "currency"), GetDouble(rec, "profit"));
    for (const auto& entry : account.cash)
        dClosing += inCurrency(entry.first, entry.second.dBalance);
    for (const CSimRecord& rec : GetHoldings(account, 0)) {
        dClosing += inCurrency(GetField(rec, "currency"), GetDouble(rec, "market_value"));
        dUnrealized += inCurrency(GetField(rec, "currency"), GetDouble(rec, "unrealized"));
    }
    // What the account was worth before the range: today's value without the money that came in
    // and the gains made since.
    const double dOpening = dClosing - dDeposits + dWithdrawals - dRealized - dUnrealized;
    CSimRecord rec;
    SetField(rec, "account", int64_t{account.nAccount});
    SetField(rec, "currency", strCurrency);
    SetField(rec, "from", CSimClock::ServerDate(nFrom));
    SetField(rec, "to", CSimClock::ServerDate(nTo));
    SetField(rec, "opening_value", Money(dOpening, strCurrency));
    SetField(rec, "closing_value", Money(dClosing, strCurrency));
    SetField(rec, "deposits", Money(dDeposits, strCurrency));
    SetField(rec, "withdrawals", Money(dWithdrawals, strCurrency));
    SetField(rec, "realized", Money(dRealized, strCurrency));
    SetField(rec, "unrealized", Money(dUnrealized, strCurrency));
    SetField(rec, "charges", Money(dCharges, strCurrency));
    // Without an opening value (to the cent, as it is sent) there is nothing the gains are a
    // return on: no figure, not 0.
    SetField(rec, "return_pct", dOpening >= 0.005 ? FormatDouble(100.0 * (dRealized + dUnrealized) / dOpening, 2) : std::string());
    return rec;
}

int CSimAccounts::ConvertCash(CSimAccount& account, const std::string& strFrom, const std::string& strTo, double dAmount,
                              bool bExecute, ISimEventSink& sink, CSimRecord* pQuote, std::string* pstrInsert)
{
    if (!m_kwdPerUnit.count(strFrom) || !m_kwdPerUnit.count(strTo) || strFrom == strTo || !(dAmount > 0))
        return SIM_ERR_CONVERT;
    const auto listed = m_rates.find({strFrom, strTo});
    const double dRate = listed != m_rates.end() ? listed->second : m_kwdPerUnit[strFrom] / m_kwdPerUnit[strTo];
    const double dConverted = dAmount * dRate;
    const double dFromBalance = account.cash[strFrom].dBalance;
    const double dToBalance = account.cash[strTo].dBalance;
    if (dAmount > AvailableCash(account, strFrom) + 1e-9) {
        *pstrInsert = Amount(AvailableCash(account, strFrom));
        return SIM_ERR_CONVERT_CASH;
    }
    if (bExecute) {
        account.cash[strFrom].dBalance -= dAmount;
        AddTransaction(account, m_pClock->GetDate(), m_pClock->GetMillis(), TXN_CONVERSION, nullptr, 0, 0, -dAmount, 0, strFrom,
                       "Converted to " + strTo);
        account.cash[strTo].dBalance += dConverted;
        AddTransaction(account, m_pClock->GetDate(), m_pClock->GetMillis(), TXN_CONVERSION, nullptr, 0, 0, dConverted, 0, strTo,
                       "Converted from " + strFrom);
        PublishCash(account, strFrom, sink);
        PublishCash(account, strTo, sink);
        PublishChange(account, 2, sink);
    }
    CSimRecord& rec = *pQuote;
    rec.clear();
    SetField(rec, "account", int64_t{account.nAccount});
    SetField(rec, "from", strFrom);
    SetField(rec, "to", strTo);
    SetField(rec, "amount", Amount(dAmount));
    SetField(rec, "rate", FormatDouble(dRate, 7));
    SetField(rec, "converted", Amount(dConverted));
    SetField(rec, "from_balance", Amount(dFromBalance));
    SetField(rec, "to_balance", Amount(dToBalance));
    SetField(rec, "from_after", Amount(dFromBalance - dAmount));
    SetField(rec, "to_after", Amount(dToBalance + dConverted));
    SetField(rec, "done", int64_t{bExecute ? 1 : 0});
    return 0;
}

std::string CSimAccounts::StateText() const
{
    std::string strText;
    for (const auto& pAccount : m_accounts) {
        std::vector<CSimRecord> positions = GetHoldings(*pAccount, 0);
        for (CSimRecord& rec : GetOptionPositions(*pAccount))
            positions.push_back(std::move(rec));
        for (const CSimRecord& rec : positions)
            strText += "holding|" + pAccount->strUser + "|" + GetField(rec, "market") + "|" + GetField(rec, "symbol") + "|" +
                       GetField(rec, "quantity") + "|" + GetField(rec, "cost") + "|" + GetField(rec, "price") + "|" +
                       GetField(rec, "currency") + "|" + GetField(rec, "right") + "|" + GetField(rec, "strike") + "\n";
        for (const CSimRecord& cash : GetCash(*pAccount))
            strText += "cash|" + pAccount->strUser + "|" + GetField(cash, "currency") + "|" + GetField(cash, "balance") + "\n";
        for (const CSimRecord& rec : pAccount->realized)
            strText += "realized|" + pAccount->strUser + "|" + GetField(rec, "date") + "|" + GetField(rec, "market") + "|" +
                       GetField(rec, "symbol") + "|" + GetField(rec, "cost") + "|" + GetField(rec, "charges") + "|" +
                       GetField(rec, "profit") + "|" + GetField(rec, "currency") + "\n";
        for (const CSimRecord& rec : pAccount->transactions)
            strText += "transaction|" + pAccount->strUser + "|" + GetField(rec, "date") + "|" + GetField(rec, "market") + "|" +
                       GetField(rec, "amount") + "|" + GetField(rec, "currency") + "\n";
    }
    for (const auto& rate : m_rates)
        strText += "rate|" + rate.first.first + "|" + rate.first.second + "|" + FormatDouble(rate.second, 10) + "\n";
    for (const auto& unit : m_kwdPerUnit)
        strText += "kwd|" + unit.first + "|" + FormatDouble(unit.second, 10) + "\n";
    return strText;
}
