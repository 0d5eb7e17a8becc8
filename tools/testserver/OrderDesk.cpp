#include "tools/testserver/OrderDesk.h"
#include <cstdlib>
#include <initializer_list>

static const COrderForm s_forms[] = {
    //                          board side sym qty type price stop dur till order pass months mode when right
    {"KV", ORDER_CHECK, true,         4,  5,  6,  7,  8,  9, 10, 11, 13, -1, -1},
    {"KR", ORDER_SEND, true,          4,  5,  6,  7,  8,  9, 10, 11, 13, -1, 14},
    // The order ticket's order on a forward contract: a "KJ" without an order (field 6 empty;
    // the contract in fields 4 and 5), and the "KQ" after it (field 6 its market maker).
    {"KJ", ORDER_CHECK, true,        -1,  7,  8,  9, 10, 11, 12, 13, 15, -1, -1, -1, -1, 6},
    {"KQ", ORDER_SEND, true,         -1,  7,  8,  9, 10, 11, 12, 13, 15, -1, 16, -1, -1, ORDER_AFTER_CONTRACT_CHECK},
    {"KJ", ORDER_CHECK_MODIFY, true, -1,  7,  8,  9, 10, 11, 12, 13, 15,  6, -1},
    {"KQ", ORDER_MODIFY, true,       -1,  7,  8,  9, 10, 11, 12, 13, 15,  6, 16},
    {"KW", ORDER_CHECK_MODIFY, true, -1,  4,  5,  6,  7,  8,  9, 10, 12, 13, -1},
    {"KM", ORDER_MODIFY, true,       -1,  4,  5,  6,  7,  8,  9, 10, 12, 13, 14},
    {"KC", ORDER_CANCEL, true,       -1, -1, -1, -1, -1, -1, -1, -1, -1,  4, 24},
    //                                                                                  right under strike expiry market
    {"OV", ORDER_CHECK, false,       -1,  2,  3,  4,  5,  6,  7,  8, 10, -1, -1, -1, -1, -1, 16, 15, 17, 18, 12},
    {"OR", ORDER_SEND, false,        -1,  2,  3,  4,  5,  6,  7,  8, 10, -1, 11, -1, -1, -1, 20, 19, 21, 22, 16},
    {"OW", ORDER_CHECK_MODIFY, false, -1, 2,  3,  4,  5,  6,  7,  8, 10, 11, -1},
    {"OM", ORDER_MODIFY, false,      -1,  2,  3,  4,  5,  6,  7,  8, 10, 11, 12},
    {"OC", ORDER_CANCEL, false,      -1, -1, -1, -1, -1, -1, -1, -1, -1,  2,  3},
    {"KU", ORDER_CHECK_FORWARD, true, -1, 4,  5,  6, -1, 10, -1, -1, -1, -1, -1, 9},
    {"KA", ORDER_SEND_FORWARD, true, -1,  4,  5,  6, -1, 10, -1, -1, -1, -1, 11, 9},
    //                          board side sym qty action price stop dur till contract pass
    {"KL", ORDER_CHECK_CONTRACT, true, -1, -1, -1, 11,  4, 18, -1, -1, -1,  6, -1},
    {"KI", ORDER_CONTRACT, true,     -1, -1, -1, 11,  4, 18, -1, -1, -1,  6, 14},
    //                          board side sym qty type min limit dur till order pass months mode
    {"XO", ORDER_EXERCISE, false,    -1, -1,  5,  7, -1, -1, -1, -1, -1, -1, -1, -1, 3},
    {"XI", ORDER_INSTRUCT, false,    -1, -1,  4,  7, -1,  8,  9, -1, -1, -1, -1, -1, 6},
};

static std::string At(const std::vector<std::string>& fields, int i)
{
    return i >= 0 && static_cast<size_t>(i) < fields.size() ? fields[static_cast<size_t>(i)] : std::string();
}

const COrderForm* FindOrderForm(const std::string& strMnemonic, const std::vector<std::string>& fields,
                                bool bAfterContractCheck)
{
    for (const COrderForm& form : s_forms) {
        if (strMnemonic != form.pszMnemonic)
            continue;
        if (form.nWhenEmpty == ORDER_AFTER_CONTRACT_CHECK ? bAfterContractCheck
                                                          : form.nWhenEmpty < 0 || At(fields, form.nWhenEmpty).empty())
            return &form;
    }
    return nullptr;
}

// The forms of the values as the protocol gives them; an empty field is left to the model.
static bool IsWhole(const std::string& strField)
{
    return !strField.empty() && strField.find_first_not_of("0123456789") == std::string::npos;
}

static bool IsCodeOf(const std::string& strField, std::initializer_list<int> codes)
{
    if (!IsWhole(strField) || strField.size() > 3)
        return false;
    for (int nCode : codes)
        if (atoi(strField.c_str()) == nCode)
            return true;
    return false;
}

static bool IsPrice(const std::string& strField)
{
    const size_t nPoint = strField.find('.');
    const std::string strWhole = strField.substr(0, nPoint);
    const std::string strFraction = nPoint == std::string::npos ? std::string("0") : strField.substr(nPoint + 1);
    return (IsWhole(strWhole) || (strWhole.empty() && IsWhole(strFraction))) && (strFraction.empty() || IsWhole(strFraction));
}

// A date as the protocol sends it: the year less 2000, then the month and the day ("261211").
static bool IsServerDate(const std::string& strField)
{
    if (!IsWhole(strField) || strField.size() < 5 || strField.size() > 6)
        return false;
    const int nMonth = atoi(strField.substr(strField.size() - 4, 2).c_str());
    const int nDay = atoi(strField.substr(strField.size() - 2).c_str());
    return nMonth >= 1 && nMonth <= 12 && nDay >= 1 && nDay <= 31;
}

int CheckOrderFields(const COrderForm& form, const std::vector<std::string>& fields, std::string* pstrInsert)
{
    const bool bOrder = form.nAction <= ORDER_CANCEL;
    const struct { int nField; bool (*pfnReads)(const std::string&); } checks[] = {
        {form.nBoard, IsWhole},
        {bOrder ? form.nSide : -1, [](const std::string& s) { return IsCodeOf(s, {1, 2, 27, 28}); }},
        {form.nQty, IsWhole},
        {form.nType, bOrder ? +[](const std::string& s) { return IsCodeOf(s, {0, 1, 2, 3, 4, 5}); } : IsWhole},
        {form.nPrice, IsPrice},
        {form.nStop, IsPrice},
        {form.nDuration, [](const std::string& s) { return IsCodeOf(s, {0, 1, 2, 3}); }},
        {form.nGoodTill, IsServerDate},
        {form.nOrder, IsWhole},
        {form.nMonths, IsWhole},
        {form.nMode, IsWhole},
        {form.nRight, [](const std::string& s) { return IsCodeOf(s, {0, 1, 2}); }},
        {form.nStrike, IsPrice},
        {form.nExpiry, IsServerDate},
    };
    for (const auto& check : checks) {
        const std::string strField = At(fields, check.nField);
        if (check.nField >= 0 && !strField.empty() && !check.pfnReads(strField)) {
            *pstrInsert = std::to_string(check.nField);
            return ORDER_ERR_FIELD;
        }
    }
    return 0;
}

// The market of a symbol: the KSE for a stock id, else the US board that lists it.
static int MarketOf(const CSimulator& sim, bool bKse, const std::string& strSymbol)
{
    if (bKse)
        return SIM_MARKET_KSE;
    for (const CSimInstrument& inst : sim.Market().GetInstruments())
        if (inst.strSymbol == strSymbol && inst.pMarket->nCode != SIM_MARKET_KSE)
            return inst.pMarket->nCode;
    return 0;
}

// The market a US order names: its code, or (the US ticket of one market) its name; 0 for none.
static int NamedMarket(const CSimulator& sim, const std::string& strField)
{
    if (IsWhole(strField))
        return atoi(strField.c_str());
    for (const CSimInstrument& inst : sim.Market().GetInstruments())
        if (!strField.empty() && inst.pMarket->strName == strField)
            return inst.pMarket->nCode;
    return 0;
}

int ActOnOrder(CSimulator& sim, const COrderForm& form, const std::vector<std::string>& fields, const CRecord& user,
               CRecord& rec)
{
    auto userField = [&](const char* pszName) {
        auto it = user.find(pszName);
        return it == user.end() ? std::string() : it->second;
    };
    rec["account"] = userField("account");
    rec["board"] = At(fields, form.nBoard).empty() ? "1" : At(fields, form.nBoard);
    std::string strRefused;
    if (const int nRefused = CheckOrderFields(form, fields, &strRefused)) {
        rec["insert"] = strRefused;
        rec["order_no"] = At(fields, form.nOrder);
        return nRefused;
    }
    CSimOrderRequest req;
    req.strUser = userField("user");
    req.strPassword = At(fields, form.nPassword);
    req.strSymbol = At(fields, form.nSymbol);
    // An option order is for its series on the options board, an underlying's contracts.
    const std::string strRight = At(fields, form.nRight);
    if (strRight == "1" || strRight == "2") {
        req.option.nRight = atoi(strRight.c_str());
        req.option.strUnderlying = At(fields, form.nUnderlying);
        req.option.dStrike = atof(At(fields, form.nStrike).c_str());
        req.option.nExpiry = CSimClock::FromServerDate(At(fields, form.nExpiry));
        req.strSymbol = req.option.strUnderlying;
    }
    req.nMarket = MarketOf(sim, form.bKse, req.strSymbol);
    // The order goes to the US market it names, any of which trades every US symbol; an
    // option's series trades on the options board alone, and a market the server does not
    // have, or the KSE, takes no US order.
    if (const int nNamed = NamedMarket(sim, At(fields, form.nMarket)); nNamed != 0 && !form.bKse) {
        if (req.option.IsOption() ? nNamed != SIM_MARKET_OPTIONS
                                  : nNamed == SIM_MARKET_KSE || sim.Market().FindMarket(nNamed) == nullptr) {
            rec["insert"] = req.strSymbol;
            rec["order_no"] = At(fields, form.nOrder);
            return SIM_ERR_SYMBOL;
        }
        if (!req.option.IsOption())
            req.nBooked = nNamed;
    }
    req.nSide = atoi(At(fields, form.nSide).c_str());
    req.nType = atoi(At(fields, form.nType).c_str());
    req.nQty = atoll(At(fields, form.nQty).c_str());
    req.dPrice = atof(At(fields, form.nPrice).c_str());
    req.dStop = atof(At(fields, form.nStop).c_str());
    req.nDuration = atoi(At(fields, form.nDuration).c_str());
    const std::string strTill = At(fields, form.nGoodTill);
    req.nGoodTill = CSimClock::FromServerDate(strTill);
    const int64_t nOrder = atoll(At(fields, form.nOrder).c_str());
    CSimForwardRequest fwd;
    fwd.strUser = req.strUser;
    fwd.strPassword = req.strPassword;
    fwd.nStock = atoi(req.strSymbol.c_str());
    fwd.nMonths = atoi(At(fields, form.nMonths).c_str());
    fwd.nSide = req.nSide;
    fwd.nQty = req.nQty;
    fwd.dPrice = req.dPrice;

    CSimContractAction action;
    action.strUser = req.strUser;
    action.strPassword = req.strPassword;
    action.nContract = static_cast<int>(nOrder);
    action.nAction = req.nType;
    action.nQty = req.nQty;
    action.dPrice = req.dPrice;
    CSimOptionRequest option;
    option.strUser = req.strUser;
    option.strSymbol = req.strSymbol;
    option.bExecute = At(fields, form.nMode) == "1";
    option.nContracts = req.nQty;
    option.dMinInMoney = req.dPrice;
    option.dLimit = req.dStop;

    CSimRecord out;
    std::string strInsert;
    int nResult = 0;
    switch (form.nAction) {
    case ORDER_CHECK_CONTRACT: nResult = sim.CheckContractAction(action, &out, &strInsert); break;
    case ORDER_CONTRACT: nResult = sim.ActOnContract(action, &out, &strInsert); break;
    case ORDER_EXERCISE: nResult = sim.Exercise(option, &out, &strInsert); break;
    case ORDER_INSTRUCT: nResult = sim.Instruct(option, &out, &strInsert); break;
    case ORDER_CHECK_FORWARD: nResult = sim.CheckForward(fwd, &out, &strInsert); break;
    case ORDER_SEND_FORWARD: nResult = sim.PlaceForward(fwd, &out, &strInsert); break;
    case ORDER_CHECK: nResult = sim.CheckOrder(req, &out, &strInsert); break;
    case ORDER_SEND: nResult = sim.SendOrder(req, &out, &strInsert); break;
    case ORDER_CHECK_MODIFY: nResult = sim.CheckModify(nOrder, req, &out, &strInsert); break;
    case ORDER_MODIFY: nResult = sim.ModifyOrder(nOrder, req, &out, &strInsert); break;
    case ORDER_CANCEL: nResult = sim.CancelOrder(req.strUser, req.strPassword, nOrder, &out, &strInsert); break;
    }
    rec = out;
    rec["insert"] = strInsert;
    rec["account"] = userField("account");
    // The odd-lot ticket tells its replies by the board the request named.
    rec["board"] = At(fields, form.nBoard).empty() ? "1" : At(fields, form.nBoard);
    if (rec.find("order_no") == rec.end() || rec["order_no"].empty())
        rec["order_no"] = At(fields, form.nOrder);
    return nResult;
}

static const CConversionForm s_conversions[] = {
    //                 amount from to execute
    {"RC",             4,    5,   6,  8, nullptr, nullptr},
    {"PB",             4,   -1,  -1, -1, "USD", "KWD"},
    {"PB",             5,   -1,  -1, -1, "KWD", "USD"},
};

const CConversionForm* FindConversionForm(const std::string& strMnemonic, const std::vector<std::string>& fields)
{
    const CConversionForm* pFound = nullptr;
    for (const CConversionForm& form : s_conversions)
        if (strMnemonic == form.pszMnemonic && (!pFound || At(fields, pFound->nAmount).empty()))
            pFound = &form;
    return pFound;
}

int ActOnConversion(CSimulator& sim, const CConversionForm& form, const std::vector<std::string>& fields, const CRecord& user,
                    CRecord& rec)
{
    auto it = user.find("user");
    // The reference data writes currency codes with a leading "=", and a request names them so:
    // a bare code is no currency. The model knows them bare.
    if (form.nFrom >= 0 && (At(fields, form.nFrom).rfind('=', 0) != 0 || At(fields, form.nTo).rfind('=', 0) != 0))
        return SIM_ERR_CONVERT;
    auto bare = [](std::string strCode) { return strCode.erase(0, strCode.find_first_not_of('=')); };
    const std::string strFrom = bare(form.nFrom >= 0 ? At(fields, form.nFrom) : form.pszFrom);
    const std::string strTo = bare(form.nTo >= 0 ? At(fields, form.nTo) : form.pszTo);
    const bool bExecute = form.nExecute < 0 || At(fields, form.nExecute) == "1";
    CSimRecord out;
    std::string strInsert;
    const int nResult = sim.ConvertCash(it == user.end() ? std::string() : it->second, strFrom, strTo,
                                        atof(At(fields, form.nAmount).c_str()), bExecute, &out, &strInsert);
    rec = out;
    rec["insert"] = strInsert;
    return nResult;
}
