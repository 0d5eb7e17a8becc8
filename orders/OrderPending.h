#pragma once
// A form's requests in flight: the check it sent (its number, the values it was built from, the
// road it takes), and every order sent after a review that has not had its reply. A reply counts
// only when it is of the pending kind and echoes a pending number in its first header field;
// every other reply is someone else's. A new check sent supersedes the check pending, unless it
// is added: an added check, like an order, stays outstanding until its own reply, whatever the
// form does meanwhile, so that reply is told.
#include <vector>

#include "orders/OrderRequests.h"
#include "orders/OrderTicketSnapshot.h"

class CServerMessage;

// An order sent and not yet answered.
struct OUTSTANDING_ORDER
{
    const ORDER_ROAD* pRoad = nullptr;
    long nNumber = 0;
    ORDER_TICKET_SNAPSHOT shot;
};

class COrderPending
{
public:
    void CheckSent(const ORDER_ROAD& road, long nNumber, const ORDER_TICKET_SNAPSHOT& shot);
    void OrderSent(const ORDER_ROAD& road, long nNumber, const ORDER_TICKET_SNAPSHOT& shot);
    // The check is no longer waited for; orders sent and checks added stay outstanding.
    void ForgetCheck();
    // Nothing is waited for: the link that would bring the replies went down.
    void ForgetAll();
    // A check kept beside the checks added before it, each until its own reply.
    void AddCheck(const ORDER_ROAD& road, long nNumber, const ORDER_TICKET_SNAPSHOT& shot);
    // TRUE when the reply answers an added check, which is then done and copied to *pCheck.
    BOOL TakeCheckReply(const CServerMessage* pMsg, OUTSTANDING_ORDER* pCheck);

    BOOL IsCheckReply(const CServerMessage* pMsg) const;
    // TRUE when the reply answers an outstanding order, which is then done and copied to *pOrder.
    BOOL TakeOrderReply(const CServerMessage* pMsg, OUTSTANDING_ORDER* pOrder);
    // The pending check's road and values.
    const ORDER_ROAD* GetRoad() const { return m_pRoad; }
    const ORDER_TICKET_SNAPSHOT& GetSnapshot() const { return m_shot; }
    BOOL IsCheckPending() const { return m_nCheck != 0 || !m_checks.empty(); }
    BOOL IsOrderPending() const { return !m_orders.empty(); }

private:
    const ORDER_ROAD* m_pRoad = nullptr;
    long m_nCheck = 0;
    ORDER_TICKET_SNAPSHOT m_shot;
    std::vector<OUTSTANDING_ORDER> m_orders;
    std::vector<OUTSTANDING_ORDER> m_checks;    // added, in the order sent
};
