#include "tools/testserver/ModelTables.h"
#include <cstdlib>

static std::vector<std::string> SplitArgs(const std::string& strName)
{
    std::vector<std::string> out;
    size_t nStart = 0;
    for (;;) {
        const size_t n = strName.find(':', nStart);
        out.push_back(strName.substr(nStart, n == std::string::npos ? std::string::npos : n - nStart));
        if (n == std::string::npos)
            return out;
        nStart = n + 1;
    }
}

static const std::string& Arg(const std::vector<std::string>& args, size_t i)
{
    static const std::string s_empty;
    return i < args.size() ? args[i] : s_empty;
}

static int IntArg(const std::vector<std::string>& args, size_t i, int nDefault)
{
    const std::string& s = Arg(args, i);
    return s.empty() ? nDefault : atoi(s.c_str());
}

// A date of a request: YYYYMMDD or the server's form; empty, or not a date, gives nDefault.
static int DateArg(const std::vector<std::string>& args, size_t i, int nDefault)
{
    const std::string& s = Arg(args, i);
    if (s.size() == 8)
        return atoi(s.c_str());
    const int nDate = CSimClock::FromServerDate(s);
    return nDate ? nDate : nDefault;
}

void CModelTables::Build()
{
    const CSimTables& tables = m_sim.Tables();
    const CSimMarket& market = m_sim.Market();

    std::map<std::string, const CSimRecord*> stocks;
    for (const CSimRecord& row : tables.Get("stocks").rows)
        stocks[GetField(row, "id")] = &row;
    std::vector<CRecord>& symbols = m_fixed["symbols"];
    for (const CSimInstrument& inst : market.GetInstruments()) {
        const CSimMarketInfo& info = *inst.pMarket;
        CRecord rec;
        const bool bKse = info.nCode == SIM_MARKET_KSE;
        auto itStock = stocks.find(inst.strSymbol);
        rec["id"] = bKse ? inst.strSymbol : "0";
        rec["symbol"] = bKse && itStock != stocks.end() ? GetField(*itStock->second, "symbol") : inst.strSymbol;
        rec["symbol_ar"] = rec["symbol"];
        rec["code"] = inst.strSymbol;
        rec["market"] = std::to_string(info.nCode);
        rec["name"] = inst.strName;
        rec["name_ar"] = inst.strNameAr;
        rec["sector"] = std::to_string(inst.nSector);
        rec["currency"] = "=" + info.strCurrency;
        rec["lot"] = std::to_string(CSimMarket::LotOf(inst) / 100);
        rec["price"] = CSimMarket::PriceText(info, inst.nPrevClose);
        rec["tick"] = CSimMarket::PriceText(info, market.TickAt(inst, inst.nPrevClose));
        symbols.push_back(std::move(rec));
    }

    // One list of error texts: the server's own and the model's refusals.
    std::vector<CRecord>& errors = m_fixed["errors"];
    if (const std::vector<CRecord>* pRef = m_reference.FindTable("errors"))
        errors = *pRef;
    for (const CSimRecord& row : tables.Get("errors").rows) {
        bool bKnown = false;
        for (const CRecord& rec : errors)
            bKnown = bKnown || GetField(rec, "code") == GetField(row, "code");
        if (!bKnown)
            errors.push_back(row);
    }
}

const std::vector<CRecord>* CModelTables::FindTable(const std::string& strName) const
{
    auto itFixed = m_fixed.find(strName);
    if (itFixed != m_fixed.end())
        return &itFixed->second;
    const std::vector<std::string> args = SplitArgs(strName);
    if (args.size() == 1 && strName != "indices" && strName != "forwards" && strName != "fwdtrades" && strName != "announcements"
        && strName != "states" && strName != "words")
        return m_reference.FindTable(strName);
    // A chart of a ticker the model does not know is no table at all.
    if (args[0] == "chart")
        return m_sim.Market().GetChart(IntArg(args, 1, 0), Arg(args, 2), IntArg(args, 3, -1), IntArg(args, 4, 0),
                                       IntArg(args, 5, 0), m_made) ? &m_made : nullptr;
    // A report of a range that ends before it starts is no report at all: its shape's unknown=
    // code refuses it with the reason, as the server decides the ranges it takes.
    if ((args[0] == "transactions" || args[0] == "realized") && DateArg(args, 4, 0) != 0 &&
        DateArg(args, 4, 0) < DateArg(args, 3, 0))
        return nullptr;
    m_made = Make(args[0], std::vector<std::string>(args.begin() + 1, args.end()));
    return &m_made;
}

std::vector<CRecord> CModelTables::Make(const std::string& strKind, const std::vector<std::string>& args) const
{
    const CSimMarket& market = m_sim.Market();
    const int nMarket = IntArg(args, 0, 0);
    // A symbol on its market, or on any market when none is given.
    auto find = [&](int nIn, const std::string& strSymbol) -> const CSimInstrument* {
        for (const CSimInstrument& inst : market.GetInstruments())
            if (inst.strSymbol == strSymbol && (nIn == 0 || inst.pMarket->nCode == nIn))
                return &inst;
        return nullptr;
    };
    std::vector<CRecord> out;
    if (strKind == "quotes") {
        for (const CSimInstrument& inst : market.GetInstruments())
            if (nMarket == 0 || inst.pMarket->nCode == nMarket)
                out.push_back(market.GetQuote(inst));
    } else if (strKind == "quote") {
        if (const CSimInstrument* pInst = find(0, Arg(args, 0)))
            out.push_back(market.GetQuote(*pInst));
    } else if (strKind == "book" || strKind == "oddlots" || strKind == "trades") {
        // One symbol's, or with no symbol every symbol's of the market.
        const std::string& strSymbol = Arg(args, 1);
        for (const CSimInstrument& inst : market.GetInstruments()) {
            if ((nMarket != 0 && inst.pMarket->nCode != nMarket) || (!strSymbol.empty() && inst.strSymbol != strSymbol))
                continue;
            std::vector<CRecord> rows = strKind == "book" ? market.GetBook(inst)
                                      : strKind == "trades" ? market.GetTrades(inst) : market.GetOddLots(inst);
            out.insert(out.end(), rows.begin(), rows.end());
        }
    } else if (strKind == "indices") {
        out = market.GetIndices();
    } else if (strKind == "forwards") {
        out = market.GetForwards();
    } else if (strKind == "fwdtrades") {
        // The day's: a run that goes past midnight starts the board's list again.
        for (const CSimRecord& trade : m_sim.Accounts().GetForwardTrades())
            if (GetField(trade, "date") == m_sim.GetClock().ServerDate())
                out.push_back(trade);
    } else if (strKind == "chain") {
        out = market.GetOptionChain(Arg(args, 0));
    } else if (strKind == "state") {
        out.push_back(market.GetMarketState(nMarket));
    } else if (strKind == "lookup") {
        out = market.LookupSymbols(Arg(args, 0), 50);
    } else if (strKind == "movers") {
        // No kind: the gainers, the losers and the most active, one list after the other.
        const int nKind = IntArg(args, 1, -1);
        for (int k = nKind < 0 ? 0 : nKind; k <= (nKind < 0 ? 2 : nKind); ++k) {
            std::vector<CRecord> rows = market.GetMovers(nMarket, k, IntArg(args, 2, 10));
            out.insert(out.end(), rows.begin(), rows.end());
        }
    } else if (strKind == "news") {
        out = market.GetNews(IntArg(args, 0, -1), Arg(args, 1));
    } else if (strKind == "announcements") {
        out = market.GetAnnouncements();
    } else if (strKind == "story") {
        for (CRecord& rec : market.GetNews(-1))
            if (GetField(rec, "id") == Arg(args, 0))
                out.push_back(std::move(rec));
    } else if (strKind == "daily") {
        if (const CSimInstrument* pInst = find(nMarket, Arg(args, 1)))
            out = market.GetDailyHistory(*pInst, DateArg(args, 2, 0), IntArg(args, 3, 250));
    } else if (strKind == "indexdays") {
        out = market.GetIndexHistory(nMarket, DateArg(args, 1, 0), IntArg(args, 2, 250));
    } else if (strKind == "financials" || strKind == "profile") {
        // A KSE company's figures and its description, as label and value rows.
        for (const CSimRecord& row : m_sim.Tables().Get("stocks").rows) {
            if (GetField(row, "id") != Arg(args, 0))
                continue;
            const double dShares = GetDouble(row, "shares"), dClose = GetDouble(row, "prev_close");
            auto add = [&](const char* pszLabel, const char* pszLabelAr, const std::string& strValue, const std::string& strValueAr) {
                out.push_back({{"label", pszLabel}, {"label_ar", pszLabelAr}, {"value", strValue}, {"value_ar", strValueAr}});
            };
            if (strKind == "financials") {
                add("Previous close (fils)", "الإغلاق السابق (فلس)", FormatDouble(dClose, 1), "");
                add("Shares (millions)", "عدد الأسهم (مليون)", FormatDouble(dShares, 1), "");
                add("Market value (KWD millions)", "القيمة السوقية (مليون دينار)", FormatDouble(dShares * dClose / 1000.0, 3), "");
            } else {
                add("Name", "الاسم", GetField(row, "name"), GetField(row, "name_ar"));
                add("Symbol", "الرمز", GetField(row, "symbol"), "");
                add("Sector", "القطاع", GetField(row, "sector"), "");
            }
        }
    } else if (strKind == "model") {
        out = m_sim.Tables().Get(Arg(args, 0)).rows;
    } else if (strKind == "states") {
        out = MarketStates();
    } else if (strKind == "words") {
        out.push_back(SessionWords());
    } else {
        out = Account(strKind, args);
    }
    return out;
}

// Each market of the list with the state the schedule gives it at the clock's time; a market
// the schedule does not know keeps the list's state.
std::vector<CRecord> CModelTables::MarketStates() const
{
    std::vector<CRecord> out;
    if (const std::vector<CRecord>* pMarkets = m_reference.FindTable("markets"))
        out = *pMarkets;
    for (CRecord& rec : out) {
        const CSimRecord state = m_sim.Market().GetMarketState(atoi(GetField(rec, "code").c_str()));
        if (!GetField(state, "state").empty())
            rec["state"] = GetField(state, "state");
    }
    return out;
}

// The market states in the words of "MM", from the same schedule at the same time: the KSE's
// 0 pre-open, 1 open and 2 closed for its pre-opening, continuous trading and close; the US
// markets' 4 open during their regular session and 1 closed.
CRecord CModelTables::SessionWords() const
{
    const CSimMarket& market = m_sim.Market();
    const std::string strKse = GetField(market.GetMarketState(SIM_MARKET_KSE), "state");
    const std::string strUs = GetField(market.GetMarketState(8), "state");
    return {{"kse", strKse == "1" ? "0" : strKse == "2" ? "1" : "2"}, {"us", strUs == "1" ? "4" : "1"}};
}

// The conversion form's one line: the dollar and dinar balances, and the two rates it converts
// at, dollars to dinars at the bid and dinars to dollars at the ask.
CRecord CModelTables::ConversionForm(const std::vector<CSimRecord>& cash) const
{
    CRecord form = {{"usd", "0.00"}, {"kwd", "0.000"}, {"to_kwd", "0"}, {"to_usd", "0"}};
    for (const CSimRecord& row : cash) {
        if (GetField(row, "currency") == "USD")
            form["usd"] = FormatDouble(GetDouble(row, "balance"), 2);
        else if (GetField(row, "currency") == "KWD")
            form["kwd"] = FormatDouble(GetDouble(row, "balance"), 3);
    }
    for (const CSimRecord& rate : m_sim.Tables().Get("rates").rows) {
        if (GetField(rate, "from") == "USD" && GetField(rate, "to") == "KWD") {
            form["to_kwd"] = GetField(rate, "bid");
            form["to_usd"] = GetField(rate, "ask");
        }
    }
    return form;
}

std::vector<CRecord> CModelTables::Account(const std::string& strKind, const std::vector<std::string>& args) const
{
    const std::string& strUser = Arg(args, 0);
    const CSimAccount* pAccount = m_sim.Accounts().Find(strUser);
    if (!pAccount)
        return {};
    const CSimAccounts& accounts = m_sim.Accounts();
    const int nMarket = IntArg(args, 1, 0), nFrom = DateArg(args, 2, 0), nTo = DateArg(args, 3, 99991231);
    if (strKind == "orders")
        return m_sim.Orders().GetOrders(strUser, nMarket, nFrom, nTo);
    if (strKind == "fills")
        return m_sim.Orders().GetFills(strUser, nMarket, nFrom, nTo);
    if (strKind == "transactions")
        return accounts.GetTransactions(*pAccount, nMarket, nFrom, nTo);
    if (strKind == "realized")
        return accounts.GetRealized(*pAccount, nMarket, nFrom, nTo);
    if (strKind == "performance")
        return {accounts.GetPerformance(*pAccount, nMarket, nFrom, nTo)};
    if (strKind == "cash")
        return accounts.GetCash(*pAccount);
    if (strKind == "conversion_form")
        return {ConversionForm(accounts.GetCash(*pAccount))};
    if (strKind == "holdings") {
        // The option positions stand among the holdings of every market and of the options board.
        std::vector<CRecord> rows = accounts.GetHoldings(*pAccount, nMarket);
        if (nMarket == 0 || nMarket == SIM_MARKET_OPTIONS)
            for (CRecord& rec : accounts.GetOptionPositions(*pAccount))
                rows.push_back(std::move(rec));
        // "holdings:user:2:cash": the KSE holdings list the dinars as the position of stock 0,
        // the balance its quantity, cost and value at a price of 1.
        if (Arg(args, 2) == "cash")
            for (CRecord cash : accounts.GetCash(*pAccount))
                if (cash["currency"] == "KWD") {
                    cash.insert({{"type", "0"}, {"symbol", "0"}, {"price", "1"}, {"cost", cash["balance"]},
                                 {"market_value", cash["balance"]}, {"market_value_kwd", cash["balance_kwd"]},
                                 {"unrealized", "0"}, {"unrealized_pct", "0"}, {"realized", "0"}, {"avg_cost", "0"},
                                 {"open_date", ""}});
                    rows.push_back(std::move(cash));
                }
        return rows;
    }
    if (strKind == "contracts")
        return accounts.GetForwardContracts(*pAccount);
    if (strKind == "fwdorders")
        return accounts.GetForwardOrders(*pAccount);
    if (strKind == "fwdfills")
        return accounts.GetForwardFills(*pAccount);
    if (strKind == "margin")
        return {accounts.GetMargin(*pAccount)};
    return {};
}
