#pragma once
// The market simulator's model as the server sees it: one shared market, an account per user,
// and one stream of events that every session reads from. The server takes events with Next
// (or Advance), maps each type to its message shape and fills the fields from the record; it
// places orders through the calls below and answers queries from the parts' reports. Nothing
// here knows the wire; nothing reads the wall clock.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include "tools/testserver/model/SimAccounts.h"
#include "tools/testserver/model/SimClock.h"
#include "tools/testserver/model/SimEvent.h"
#include "tools/testserver/model/SimMarket.h"
#include "tools/testserver/model/SimOrders.h"
#include "tools/testserver/model/SimTables.h"

class CSimulator : private ISimEventSink
{
public:
    CSimulator() = default;
    CSimulator(const CSimulator&) = delete;
    CSimulator& operator=(const CSimulator&) = delete;

    // Reads the data files of strFolder and opens the market at the Kuwait date and time
    // (YYYYMMDD, HHMMSS); false with a message when a file or the date is wrong.
    bool Start(const std::string& strFolder, uint64_t nSeed, int nDate, int nTime, std::string* pstrError);
    // Simulated time per step of the walk (20 ms unless set): the pace of the simulated clock
    // against the number of events, not against the wall clock. A step makes about four events
    // (a trade, its quote, one or two book levels, now and then an index or ticker line), so a
    // server sending R lines a second keeps the clock near real time with about 4000 / R ms;
    // 0 leaves the clock where it is for the step.
    void SetStepMillis(int64_t nMillis) { m_market.SetStepMillis(nMillis); }

    // The next event; the walk runs as far as it must to make one. The event and its record
    // stay valid until the next call of Next, Advance or an order call.
    const CSimEvent* Next();
    // Every event until the clock has moved nMillis; returns how many.
    int Advance(int64_t nMillis, const std::function<void(const CSimEvent&)>& fnEvent);
    const CSimClock& GetClock() const { return m_clock; }
    // Events made and not yet taken: after an order call, the ones it made come first.
    size_t GetPendingCount() const { return m_queue.size(); }

    // A session's login opens the user's account (or finds it); returns its number: nAccount
    // when the server's accounts file gives one, else one from 5001 up.
    int Login(const std::string& strUser, const std::string& strPassword, int nAccount = 0);

    // Orders (SimOrders.h): 0 or a refusal code with its insert; the changes come as events.
    int CheckOrder(const CSimOrderRequest& req, CSimRecord* pReview, std::string* pstrInsert);
    int SendOrder(const CSimOrderRequest& req, CSimRecord* pOrder, std::string* pstrInsert);
    int CheckModify(int64_t nOrderNo, const CSimOrderRequest& req, CSimRecord* pReview, std::string* pstrInsert);
    int ModifyOrder(int64_t nOrderNo, const CSimOrderRequest& req, CSimRecord* pOrder, std::string* pstrInsert);
    int CheckCancel(const std::string& strUser, int64_t nOrderNo, CSimRecord* pReview, std::string* pstrInsert);
    int CancelOrder(const std::string& strUser, const std::string& strPassword, int64_t nOrderNo, CSimRecord* pOrder,
                    std::string* pstrInsert);

    // Forward orders (SimAccounts.h): 0 or a refusal code with its insert.
    int CheckForward(const CSimForwardRequest& req, CSimRecord* pReview, std::string* pstrInsert) const
    {
        return m_accounts.CheckForward(req, pReview, pstrInsert);
    }
    int PlaceForward(const CSimForwardRequest& req, CSimRecord* pOrder, std::string* pstrInsert);
    // Actions on a forward contract: the preview and the action (SimAccounts.h).
    int CheckContractAction(const CSimContractAction& req, CSimRecord* pReview, std::string* pstrInsert) const
    {
        return m_accounts.CheckContractAction(req, pReview, pstrInsert);
    }
    int ActOnContract(const CSimContractAction& req, CSimRecord* pResult, std::string* pstrInsert);
    // Option exercise (terms, or made: the underlying trades at the strike as a trade of the
    // user) and expiration instructions (SimAccounts.h).
    int Exercise(const CSimOptionRequest& req, CSimRecord* pTerms, std::string* pstrInsert);
    int Instruct(const CSimOptionRequest& req, CSimRecord* pInstruction, std::string* pstrInsert)
    {
        return m_accounts.Instruct(req, pInstruction, pstrInsert);
    }

    // Cash conversion between currencies of the user's account (SimAccounts.h).
    int ConvertCash(const std::string& strUser, const std::string& strFrom, const std::string& strTo, double dAmount,
                    bool bExecute, CSimRecord* pQuote, std::string* pstrInsert);

    // The parts, for queries: books, quotes and lists from the market, reports from the
    // accounts and the orders, reference rows from the tables.
    const CSimTables& Tables() const { return m_tables; }
    CSimMarket& Market() { return m_market; }
    const CSimMarket& Market() const { return m_market; }
    const CSimAccounts& Accounts() const { return m_accounts; }
    const CSimOrders& Orders() const { return m_orders; }

private:
    void OnSimEvent(int nType, int nMarket, const std::string& strUser, const CSimRecord& rec) override;
    void Step();
    // Copies the records of the events not yet taken, before anything but the walk changes them.
    void Detach();

    struct Queued
    {
        CSimEvent ev;
        bool bOwned = false;            // ev.pRecord points into m_store
    };
    CSimTables m_tables;
    CSimClock m_clock;
    CSimMarket m_market;
    CSimAccounts m_accounts;
    CSimOrders m_orders;
    std::deque<Queued> m_queue;
    std::deque<CSimRecord> m_store;     // copies the queue points at; a deque keeps them in place
    CSimEvent m_current;
    bool m_bInWalk = false;             // events point at the market's own records
    bool m_bStarted = false;
};
