#pragma once
// A form's order request in flight: the check it sent (its number, the values it was built from,
// the road it takes), then the order sent after the review. A reply counts only when it is of
// the pending kind and echoes the pending number in its first header field; every other reply
// is someone else's. A new check supersedes whatever was pending.
#include "orders/OrderRequests.h"
#include "orders/OrderTicketSnapshot.h"

class CServerMessage;

class COrderPending
{
public:
    void CheckSent(const ORDER_ROAD& road, long nNumber, const ORDER_TICKET_SNAPSHOT& shot);
    void OrderSent(long nNumber);
    void Clear();

    BOOL IsCheckReply(const CServerMessage* pMsg) const;
    BOOL IsOrderReply(const CServerMessage* pMsg) const;
    const ORDER_ROAD* GetRoad() const { return m_pRoad; }
    const ORDER_TICKET_SNAPSHOT& GetSnapshot() const { return m_shot; }
    BOOL IsCheckPending() const { return m_nCheck != 0; }
    BOOL IsOrderPending() const { return m_nOrder != 0; }

private:
    const ORDER_ROAD* m_pRoad = nullptr;
    long m_nCheck = 0;
    long m_nOrder = 0;
    ORDER_TICKET_SNAPSHOT m_shot;
};
