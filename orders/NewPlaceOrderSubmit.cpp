// The order ticket's parts of the order road (OrderRoadForm.h): its road by the KSE market type,
// the ticket flag kept at every Submit, and what an acknowledgement clears.
#include "link/MessageTypes.h"
#include "orders/NewPlaceOrderDlg.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ZorvatGlobals.h"

const ORDER_ROAD* CNewPlaceOrderDlg::GetRoadOf(const ORDER_TICKET_SNAPSHOT& shot) const
{
    MarketDetail market;
    if (!GetGlobals()->LookupMarket(shot.nMarketCode, market))
        return nullptr;         // no market chosen: nothing is sent
    return FindTicketRoad(shot.nKseMarketType);
}

void CNewPlaceOrderDlg::KeepTicketFlag(const ORDER_TICKET_SNAPSHOT& shot, BOOL)
{
    SetKeptTicketFlag(shot.bTicketFlag);
}

int CNewPlaceOrderDlg::ClearAfterAcknowledgement(int nOrderType)
{
    for (int nId : {IDC_TICKET_TICKER, IDC_TICKET_QUANTITY, IDC_TICKET_DESCRIPTION, IDC_TICKET_STOP, IDC_TICKET_LIMIT})
        SetText(nId, "");
    m_strTickerLooked.Empty();
    // The series named the order placed, as its ticker did.
    ForgetOptionSeries();
    if (nOrderType != MSG_KA) {
        SendDlgItemMessage(IDC_TICKET_SIDE, CB_SETCURSEL, static_cast<WPARAM>(-1));
        m_strSide.Empty();
        // No side chosen, no side's colour.
        ColourBySide();
    }
    if (nOrderType != MSG_KQ)
        UpdateSubmitButton();
    return IDC_TICKET_TICKER;
}
