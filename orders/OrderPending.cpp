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
    m_checks.clear();
    m_orders.clear();
}

BOOL COrderPending::IsCheckReply(const CServerMessage* pMsg) const
{
    return m_nCheck != 0 && pMsg != nullptr && pMsg->GetType() == m_pRoad->pCheck->nType &&
           GetRawLineNumber(pMsg) == m_nCheck;
}

namespace {
// The request of the list that the reply answers, taken out of it into *pTaken.
BOOL TakeAnswered(std::vector<OUTSTANDING_ORDER>& list, BOOL bChecks, const CServerMessage* pMsg,
                  OUTSTANDING_ORDER* pTaken)
{
    if (pMsg == nullptr)
        return FALSE;
    const long nNumber = GetRawLineNumber(pMsg);
    for (auto it = list.begin(); it != list.end(); ++it)
        if (it->nNumber == nNumber && pMsg->GetType() == (bChecks ? it->pRoad->pCheck : it->pRoad->pOrder)->nType) {
            *pTaken = *it;
            list.erase(it);
            return TRUE;
        }
    return FALSE;
}
}  // namespace

BOOL COrderPending::TakeOrderReply(const CServerMessage* pMsg, OUTSTANDING_ORDER* pOrder)
{
    return TakeAnswered(m_orders, FALSE, pMsg, pOrder);
}

void COrderPending::AddCheck(const ORDER_ROAD& road, long nNumber, const ORDER_TICKET_SNAPSHOT& shot)
{
    if (nNumber != 0)
        m_checks.push_back({&road, nNumber, shot});
}

BOOL COrderPending::TakeCheckReply(const CServerMessage* pMsg, OUTSTANDING_ORDER* pCheck)
{
    return TakeAnswered(m_checks, TRUE, pMsg, pCheck);
}
