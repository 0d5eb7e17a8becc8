#include "orders/OrderPending.h"

#include "app/dialogs/AppHelpers.h"
#include "link/ServerMessage.h"

void COrderPending::CheckSent(const ORDER_ROAD& road, long nNumber, const ORDER_TICKET_SNAPSHOT& shot)
{
    m_pRoad = &road;
    m_nCheck = nNumber;
    m_shot = shot;
}

void COrderPending::OrderSent(const ORDER_ROAD& road, long nNumber, const ORDER_TICKET_SNAPSHOT& shot)
{
    if (nNumber != 0)
        m_orders.push_back({&road, nNumber, shot});
}

void COrderPending::ForgetCheck()
{
    m_nCheck = 0;
}

void COrderPending::ForgetAll()
{
    m_nCheck = 0;
    m_orders.clear();
}

BOOL COrderPending::IsCheckReply(const CServerMessage* pMsg) const
{
    return m_nCheck != 0 && pMsg != nullptr && pMsg->GetType() == m_pRoad->pCheck->nType &&
           GetRawLineNumber(pMsg) == m_nCheck;
}

BOOL COrderPending::TakeOrderReply(const CServerMessage* pMsg, OUTSTANDING_ORDER* pOrder)
{
    if (pMsg == nullptr)
        return FALSE;
    const long nNumber = GetRawLineNumber(pMsg);
    for (auto it = m_orders.begin(); it != m_orders.end(); ++it)
        if (it->nNumber == nNumber && pMsg->GetType() == it->pRoad->pOrder->nType) {
            *pOrder = *it;
            m_orders.erase(it);
            return TRUE;
        }
    return FALSE;
}
