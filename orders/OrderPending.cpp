#include "orders/OrderPending.h"

#include "app/dialogs/AppHelpers.h"
#include "link/ServerMessage.h"

void COrderPending::CheckSent(const ORDER_ROAD& road, long nNumber, const ORDER_TICKET_SNAPSHOT& shot)
{
    m_pRoad = &road;
    m_nCheck = nNumber;
    m_nOrder = 0;
    m_shot = shot;
}

void COrderPending::OrderSent(long nNumber)
{
    m_nCheck = 0;
    m_nOrder = nNumber;
}

void COrderPending::Clear()
{
    m_nCheck = 0;
    m_nOrder = 0;
}

BOOL COrderPending::IsCheckReply(const CServerMessage* pMsg) const
{
    return m_nCheck != 0 && pMsg != nullptr && pMsg->GetType() == m_pRoad->pCheck->nType &&
           GetRawLineNumber(pMsg) == m_nCheck;
}

BOOL COrderPending::IsOrderReply(const CServerMessage* pMsg) const
{
    return m_nOrder != 0 && pMsg != nullptr && pMsg->GetType() == m_pRoad->pOrder->nType &&
           GetRawLineNumber(pMsg) == m_nOrder;
}
