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
    DropFieldsAsSent(nOrderType != MSG_KA);

    if (nOrderType != MSG_KQ)
        UpdateSubmitButton();
    return IDC_TICKET_TICKER;
}

void CNewPlaceOrderDlg::DropFieldsAsSent(BOOL bSide)
{
    // Field by field: what the trader or a command put in a field since the order left stays.
    for (int nId : {IDC_TICKET_QUANTITY, IDC_TICKET_STOP, IDC_TICKET_LIMIT})
        EmptyIfAsSent(nId);
    if (EmptyIfAsSent(IDC_TICKET_TICKER)) {
        // The description, the series and the reference price named the order placed, as its ticker did.
        SetText(IDC_TICKET_DESCRIPTION, "");
        m_strTickerLooked.Empty();
        m_strReferencePrice.Empty();
        ForgetOptionSeries();
    }
    if (bSide && StillAsSent(IDC_TICKET_SIDE)) {
        SendDlgItemMessage(IDC_TICKET_SIDE, CB_SETCURSEL, static_cast<WPARAM>(-1));
        m_strSide.Empty();
        // No side chosen, no side's colour.
        ColourBySide();
    }
    ForgetSentFields();
}
