// Option positions of the accounts: long calls and puts on the option chains, exercised into
// the underlying at the strike, and the instructions that stand for them at expiration.
#include <cmath>
#include <cstdlib>
#include "tools/testserver/model/SimAccounts.h"
#include "tools/testserver/model/SimOrders.h"

static const int64_t SHARES_PER_CONTRACT = 100;

// The letters of an option: underlying, month (calls A-L, puts M-X) and strike (A-T for
// 5 to 100 in steps of 5, again from 105).
static std::string OptionLetters(const std::string& strUnderlying, int nRight, double dStrike, int nExpiry)
{
    const int nMonth = nExpiry / 100 % 100;
    const int nStep = static_cast<int>(std::lround(dStrike / 5.0));
    std::string s = strUnderlying;
    s += static_cast<char>((nRight == 1 ? 'A' : 'M') + (nMonth + 11) % 12);
    s += static_cast<char>('A' + (nStep + 19) % 20);
    return s;
}

// The chain's row of a position: its price and name.
static bool ChainRow(const CSimMarket& market, const CSimAccount::OptionPosition& pos, CSimRecord* pRow)
{
    for (const CSimRecord& row : market.GetOptionChain(pos.strUnderlying))
        if (atoi(GetField(row, "right").c_str()) == pos.nRight && std::fabs(GetDouble(row, "strike") - pos.dStrike) < 1e-6 &&
            CSimClock::FromServerDate(GetField(row, "expiry")) == pos.nExpiry) {
            *pRow = row;
            return true;
        }
    return false;
}

bool CSimAccounts::AddOptionPosition(CSimAccount& account, const std::string& strSymbol, int64_t nContracts, double dPremium,
                                     bool bWritten)
{
    for (const CSimRecord& row : m_pMarket->GetOptionChain(strSymbol.substr(0, strSymbol.size() >= 2 ? strSymbol.size() - 2 : 0))) {
        const int nRight = atoi(GetField(row, "right").c_str());
        const double dStrike = GetDouble(row, "strike");
        const int nExpiry = CSimClock::FromServerDate(GetField(row, "expiry"));
        if (OptionLetters(GetField(row, "underlying"), nRight, dStrike, nExpiry) != strSymbol || nContracts <= 0)
            continue;
        const double dAmount = dPremium * static_cast<double>(nContracts * SHARES_PER_CONTRACT);
        CSimAccount::OptionPosition* pPos = nullptr;
        for (CSimAccount::OptionPosition& pos : account.options)
            if (pos.strSymbol == strSymbol)
                pPos = &pos;
        if (!pPos) {
            account.options.push_back({strSymbol, GetField(row, "underlying"), nRight, dStrike, nExpiry, 0, 0.0, GetDouble(row, "last")});
            pPos = &account.options.back();
        }
        // Contracts written: the premium they brought is the short side's proceeds.
        if (bWritten) {
            pPos->nWritten += nContracts;
            pPos->dProceeds += dAmount;
        } else {
            pPos->nContracts += nContracts;
            pPos->dCost += dAmount;
        }
        return true;
    }
    return false;
}

std::string CSimAccounts::OptionSymbol(const CSimOptionSeries& series)
{
    return OptionLetters(series.strUnderlying, series.nRight, series.dStrike, series.nExpiry);
}

int64_t CSimAccounts::HeldContracts(const CSimAccount& account, const std::string& strSymbol) const
{
    const CSimAccount::OptionPosition* pPos = FindOption(account, strSymbol);
    return pPos ? pPos->nContracts : 0;
}

void CSimAccounts::ApplyOptionFill(CSimAccount& account, const CSimOptionSeries& series, int nSide, int64_t nContracts,
                                   double dValue, double dCharges, ISimEventSink& sink)
{
    const std::string strSymbol = OptionSymbol(series);
    // Charges in cents, as a statement books them.
    dCharges = std::round(dCharges * 100.0) / 100.0;
    CSimAccount::OptionPosition* pPos = nullptr;
    for (CSimAccount::OptionPosition& pos : account.options)
        if (pos.strSymbol == strSymbol)
            pPos = &pos;
    if (!pPos) {
        account.options.push_back({strSymbol, series.strUnderlying, series.nRight, series.dStrike, series.nExpiry, 0, 0.0});
        pPos = &account.options.back();
    }
    double dAmount = 0;
    if (nSide == 1) {
        pPos->nContracts += nContracts;
        // Booked as the shares' costs are: the cost to a hundredth of a cent.
        pPos->dCost = std::round((pPos->dCost + dValue + dCharges) * 10000.0) / 10000.0;
        dAmount = -(dValue + dCharges);
    } else {
        const double dCostOut = pPos->nContracts > 0 ? pPos->dCost * static_cast<double>(nContracts) / static_cast<double>(pPos->nContracts) : 0;
        pPos->dCost = std::round((pPos->dCost - dCostOut) * 10000.0) / 10000.0;
        pPos->nContracts -= nContracts;
        dAmount = dValue - dCharges;
    }
    account.cash["USD"].dBalance += dAmount;
    CSimRecord rec = OptionRecord(account, *pPos);
    pPos->dToldPrice = GetDouble(rec, "price");
    sink.OnSimEvent(SIM_HOLDING, SIM_MARKET_OPTIONS, account.strUser, rec);
    PublishCash(account, "USD", sink);
    PublishChange(account, 0, sink);
}

void CSimAccounts::PublishOptionPrices(const std::string& strUnderlying, ISimEventSink& sink)
{
    for (const std::unique_ptr<CSimAccount>& pAccount : m_accounts)
        for (CSimAccount::OptionPosition& pos : pAccount->options) {
            if (pos.strUnderlying != strUnderlying || (pos.nContracts <= 0 && pos.nWritten <= 0))
                continue;
            CSimRecord rec = OptionRecord(*pAccount, pos);
            const double dPrice = GetDouble(rec, "price");
            if (dPrice == pos.dToldPrice)
                continue;
            pos.dToldPrice = dPrice;
            sink.OnSimEvent(SIM_HOLDING, SIM_MARKET_OPTIONS, pAccount->strUser, rec);
        }
}

const CSimAccount::OptionPosition* CSimAccounts::FindOption(const CSimAccount& account, const std::string& strSymbol) const
{
    for (const CSimAccount::OptionPosition& pos : account.options)
        if (pos.strSymbol == strSymbol)
            return &pos;
    return nullptr;
}

CSimRecord CSimAccounts::OptionRecord(const CSimAccount& account, const CSimAccount::OptionPosition& pos) const
{
    CSimRecord chain;
    ChainRow(*m_pMarket, pos, &chain);
    const double dPrice = GetDouble(chain, "last");
    const double dValue = dPrice * static_cast<double>(pos.nContracts * SHARES_PER_CONTRACT);
    CSimRecord rec;
    SetField(rec, "account", int64_t{account.nAccount});
    SetField(rec, "market", int64_t{SIM_MARKET_OPTIONS});
    SetField(rec, "symbol", pos.strSymbol);
    SetField(rec, "name", GetField(chain, "symbol"));
    SetField(rec, "currency", "USD");
    SetField(rec, "type", int64_t{0});
    SetField(rec, "underlying", pos.strUnderlying);
    SetField(rec, "right", int64_t{pos.nRight});
    SetField(rec, "strike", FormatDouble(pos.dStrike, 4));
    SetField(rec, "expiry", CSimClock::ServerDate(pos.nExpiry));
    SetField(rec, "quantity", pos.nContracts);
    SetField(rec, "available", pos.nContracts);
    SetField(rec, "reserved", int64_t{0});
    SetField(rec, "price", FormatDouble(dPrice, 2));
    SetField(rec, "avg_cost", FormatDouble(pos.nContracts ? pos.dCost / static_cast<double>(pos.nContracts * SHARES_PER_CONTRACT) : 0, 4));
    SetField(rec, "cost", FormatDouble(pos.dCost, 4));
    // The cost in the unit of price times quantity (the premium per share times the contracts),
    // as the unrealized reports take it: they count a contract's hundred shares in the gain. To six
    // places, so that a hundred times it is the cost to a hundredth of a cent, as the holdings give it.
    SetField(rec, "quoted_cost", FormatDouble(pos.dCost / static_cast<double>(SHARES_PER_CONTRACT), 6));
    SetField(rec, "quoted_cost_exact", FormatDouble(pos.dCost / static_cast<double>(SHARES_PER_CONTRACT), 6));
    SetField(rec, "market_value", FormatDouble(dValue, 3));
    SetField(rec, "unrealized", FormatDouble(dValue - pos.dCost, 3));
    SetField(rec, "unrealized_pct", FormatDouble(pos.dCost > 0 ? 100.0 * (dValue - pos.dCost) / pos.dCost : 0.0, 2));
    SetField(rec, "realized", FormatDouble(0, 3));
    SetField(rec, "market_value_kwd", FormatDouble(ToKwd("USD", dValue), 3));
    SetField(rec, "multiplier", SHARES_PER_CONTRACT);
    // The contracts written: the premium received a share, and the proceeds as the cost is given.
    SetField(rec, "short_quantity", pos.nWritten);
    SetField(rec, "short_avg", FormatDouble(pos.nWritten ? pos.dProceeds / static_cast<double>(pos.nWritten * SHARES_PER_CONTRACT) : 0, 4));
    SetField(rec, "short_proceeds", FormatDouble(pos.dProceeds / static_cast<double>(SHARES_PER_CONTRACT), 6));
    SetField(rec, "short_proceeds_exact", FormatDouble(pos.dProceeds / static_cast<double>(SHARES_PER_CONTRACT), 6));
    return rec;
}

std::vector<CSimRecord> CSimAccounts::GetOptionPositions(const CSimAccount& account) const
{
    std::vector<CSimRecord> rows;
    for (const CSimAccount::OptionPosition& pos : account.options)
        if (pos.nContracts > 0 || pos.nWritten > 0)
            rows.push_back(OptionRecord(account, pos));
    return rows;
}

int CSimAccounts::Exercise(const CSimOptionRequest& req, ISimEventSink& sink, TradeFn fnTrade, void* pContext, CSimRecord* pTerms,
                           std::string* pstrInsert)
{
    CSimAccount* pAccount = Find(req.strUser);
    if (!pAccount)
        return SIM_ERR_ACCOUNT;
    const CSimAccount::OptionPosition* pPos = FindOption(*pAccount, req.strSymbol);
    if (!pPos || pPos->nContracts <= 0) {
        *pstrInsert = req.strSymbol;
        return SIM_ERR_SYMBOL;
    }
    if (req.nContracts <= 0 || req.nContracts > pPos->nContracts) {
        *pstrInsert = std::to_string(pPos->nContracts);
        return SIM_ERR_QUANTITY;
    }
    const CSimInstrument* pUnder = nullptr;
    for (const CSimInstrument& inst : m_pMarket->GetInstruments())
        if (inst.strSymbol == pPos->strUnderlying && inst.pMarket->nCode != SIM_MARKET_KSE)
            pUnder = &inst;
    if (!pUnder) {
        *pstrInsert = req.strSymbol;
        return SIM_ERR_SYMBOL;
    }
    const int64_t nShares = req.nContracts * SHARES_PER_CONTRACT;
    const int64_t nStrike = CSimMarket::ToUnits(*pUnder->pMarket, pPos->dStrike);
    const double dAmount = CSimMarket::Value(*pUnder->pMarket, nStrike, nShares);
    const bool bCall = pPos->nRight == 1;
    const double dCash = AvailableCash(*pAccount, pUnder->pMarket->strCurrency);
    const int64_t nHeld = AvailableShares(*pAccount, pUnder->pMarket->nCode, pUnder->strSymbol);
    *pTerms = OptionRecord(*pAccount, *pPos);
    SetField(*pTerms, "contracts", req.nContracts);
    SetField(*pTerms, "shares", nShares);
    SetField(*pTerms, "amount", FormatDouble(dAmount, 4));
    SetField(*pTerms, "cash_after", FormatDouble(bCall ? dCash - dAmount : dCash + dAmount, 2));
    SetField(*pTerms, "shares_after", bCall ? nHeld + nShares : nHeld - nShares);
    if (!req.bExecute)
        return 0;
    if (bCall && dCash < dAmount) {
        *pstrInsert = FormatDouble(dCash, 2);
        return SIM_ERR_CASH;
    }
    if (!bCall && nHeld < nShares) {
        *pstrInsert = std::to_string(nHeld);
        return SIM_ERR_SHARES;
    }
    for (CSimAccount::OptionPosition& pos : pAccount->options)
        if (&pos == pPos) {
            pos.dCost = std::round((pos.dCost - pos.dCost * static_cast<double>(req.nContracts) / static_cast<double>(pos.nContracts)) *
                                   10000.0) / 10000.0;
            pos.nContracts -= req.nContracts;
        }
    fnTrade(pContext, *pAccount, *pUnder, bCall ? SIM_SIDE_BUY : SIM_SIDE_SELL, nShares, nStrike, sink);
    sink.OnSimEvent(SIM_HOLDING, SIM_MARKET_OPTIONS, pAccount->strUser, OptionRecord(*pAccount, *pPos));
    return 0;
}

int CSimAccounts::Instruct(const CSimOptionRequest& req, CSimRecord* pInstruction, std::string* pstrInsert)
{
    CSimAccount* pAccount = Find(req.strUser);
    if (!pAccount)
        return SIM_ERR_ACCOUNT;
    const CSimAccount::OptionPosition* pPos = FindOption(*pAccount, req.strSymbol);
    if (!pPos || pPos->nContracts <= 0) {
        *pstrInsert = req.strSymbol;
        return SIM_ERR_SYMBOL;
    }
    if (req.bExecute && (req.nContracts < 0 || req.nContracts > pPos->nContracts)) {
        *pstrInsert = std::to_string(pPos->nContracts);
        return SIM_ERR_QUANTITY;
    }
    auto it = pAccount->instructions.find(req.strSymbol);
    if (req.bExecute)
        pAccount->instructions[req.strSymbol] = {req.nContracts, req.dMinInMoney, req.dLimit};
    // Until one is given, every contract held is exercised when a cent in the money.
    const CSimAccount::Instruction standing = req.bExecute ? pAccount->instructions[req.strSymbol]
                                            : it != pAccount->instructions.end() ? it->second
                                            : CSimAccount::Instruction{pPos->nContracts, 0.01, 0.0};
    *pInstruction = OptionRecord(*pAccount, *pPos);
    SetField(*pInstruction, "contracts", std::min(standing.nContracts, pPos->nContracts));
    SetField(*pInstruction, "min_in_money", FormatDouble(standing.dMinInMoney, 4));
    SetField(*pInstruction, "limit", FormatDouble(standing.dLimit, 4));
    SetField(*pInstruction, "held", pPos->nContracts);
    return 0;
}
