#include "tools/testserver/model/Simulator.h"

bool CSimulator::Start(const std::string& strFolder, uint64_t nSeed, int nDate, int nTime, std::string* pstrError)
{
    m_bStarted = false;
    m_queue.clear();
    m_store.clear();
    if (!m_clock.Set(nDate, nTime)) {
        *pstrError = "not a date and time: " + std::to_string(nDate) + " " + std::to_string(nTime);
        return false;
    }
    if (!m_tables.Load(strFolder, pstrError) || !m_market.Init(m_tables, &m_clock, nSeed, pstrError) ||
        !m_accounts.Init(m_tables, &m_market, &m_clock))
        return false;
    m_orders.Init(&m_market, &m_accounts, &m_clock);
    m_bStarted = true;
    return true;
}

void CSimulator::OnSimEvent(int nType, int nMarket, const std::string& strUser, const CSimRecord& rec)
{
    Queued queued;
    queued.ev.nType = nType;
    queued.ev.nMarket = nMarket;
    queued.ev.strUser = strUser;
    if (m_bInWalk) {
        queued.ev.pRecord = &rec;
    } else {
        m_store.push_back(rec);
        queued.ev.pRecord = &m_store.back();
        queued.bOwned = true;
    }
    m_queue.push_back(std::move(queued));
}

void CSimulator::Detach()
{
    for (Queued& queued : m_queue) {
        if (queued.bOwned)
            continue;
        m_store.push_back(*queued.ev.pRecord);
        queued.ev.pRecord = &m_store.back();
        queued.bOwned = true;
    }
}

void CSimulator::Step()
{
    m_bInWalk = true;
    CSimInstrument* pTraded = m_market.Step(*this);
    m_bInWalk = false;
    // Orders that the trade reaches change the book and the quote the step's events show.
    if (pTraded && m_orders.HasOpenOrders(*pTraded) && m_orders.AnyReached(*pTraded)) {
        Detach();
        m_orders.OnMarketTrade(*pTraded, *this);
    }
    // The positions the trade revalued, after the quote that moved them.
    if (pTraded)
        m_accounts.PublishHolders(*pTraded, *this);
    // Resting forward orders that the series' quote now reaches.
    if (pTraded && m_accounts.HasRestingForwards())
        m_accounts.OnForwardQuotes(*this);
    // The options held on the traded symbol take their new premium.
    if (pTraded)
        m_accounts.PublishOptionPrices(pTraded->strSymbol, *this);
}

const CSimEvent* CSimulator::Next()
{
    if (!m_bStarted)
        return nullptr;
    if (m_queue.empty()) {
        // Everything stored has been taken, the last one included.
        m_store.clear();
        while (m_queue.empty())
            Step();
    }
    m_current = std::move(m_queue.front().ev);
    m_queue.pop_front();
    return &m_current;
}

int CSimulator::Advance(int64_t nMillis, const std::function<void(const CSimEvent&)>& fnEvent)
{
    const int64_t nUntil = m_clock.GetMillis() + nMillis;
    int nCount = 0;
    while (m_bStarted && (!m_queue.empty() || m_clock.GetMillis() < nUntil)) {
        fnEvent(*Next());
        ++nCount;
    }
    return nCount;
}

int CSimulator::Login(const std::string& strUser, const std::string& strPassword, int nAccount)
{
    return m_accounts.Open(strUser, strPassword, nAccount).nAccount;
}

int CSimulator::CheckOrder(const CSimOrderRequest& req, CSimRecord* pReview, std::string* pstrInsert)
{
    return m_orders.Check(req, pReview, pstrInsert);
}

int CSimulator::SendOrder(const CSimOrderRequest& req, CSimRecord* pOrder, std::string* pstrInsert)
{
    Detach();
    const int nResult = m_orders.Send(req, *this, pOrder, pstrInsert);
    // A trade of the order moves the underlying of the options held on it.
    m_accounts.PublishOptionPrices(req.strSymbol, *this);
    return nResult;
}

int CSimulator::CheckModify(int64_t nOrderNo, const CSimOrderRequest& req, CSimRecord* pReview, std::string* pstrInsert)
{
    return m_orders.CheckModify(nOrderNo, req, pReview, pstrInsert);
}

int CSimulator::ModifyOrder(int64_t nOrderNo, const CSimOrderRequest& req, CSimRecord* pOrder, std::string* pstrInsert)
{
    Detach();
    const int nResult = m_orders.Modify(nOrderNo, req, *this, pOrder, pstrInsert);
    m_accounts.PublishOptionPrices(req.strSymbol, *this);
    return nResult;
}

int CSimulator::CheckCancel(const std::string& strUser, int64_t nOrderNo, CSimRecord* pReview, std::string* pstrInsert)
{
    return m_orders.CheckCancel(strUser, nOrderNo, pReview, pstrInsert);
}

int CSimulator::CancelOrder(const std::string& strUser, const std::string& strPassword, int64_t nOrderNo, CSimRecord* pOrder,
                            std::string* pstrInsert)
{
    Detach();
    return m_orders.Cancel(strUser, strPassword, nOrderNo, *this, pOrder, pstrInsert);
}

int CSimulator::ConvertCash(const std::string& strUser, const std::string& strFrom, const std::string& strTo, double dAmount,
                            bool bExecute, CSimRecord* pQuote, std::string* pstrInsert)
{
    CSimAccount* pAccount = m_accounts.Find(strUser);
    if (!pAccount)
        return SIM_ERR_ACCOUNT;
    Detach();
    return m_accounts.ConvertCash(*pAccount, strFrom, strTo, dAmount, bExecute, *this, pQuote, pstrInsert);
}

int CSimulator::PlaceForward(const CSimForwardRequest& req, CSimRecord* pOrder, std::string* pstrInsert)
{
    Detach();
    return m_accounts.PlaceForward(req, *this, pOrder, pstrInsert);
}

int CSimulator::ActOnContract(const CSimContractAction& req, CSimRecord* pResult, std::string* pstrInsert)
{
    Detach();
    return m_accounts.ActOnContract(req, *this, pResult, pstrInsert);
}

int CSimulator::Exercise(const CSimOptionRequest& req, CSimRecord* pTerms, std::string* pstrInsert)
{
    Detach();
    auto trade = [](void* pContext, CSimAccount& account, const CSimInstrument& inst, int nSide, int64_t nQty, int64_t nPrice,
                    ISimEventSink& sink) {
        static_cast<CSimOrders*>(pContext)->BookExercise(account, inst, nSide, nQty, nPrice, sink);
    };
    return m_accounts.Exercise(req, *this, trade, &m_orders, pTerms, pstrInsert);
}
