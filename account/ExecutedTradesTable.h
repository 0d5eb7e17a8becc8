#pragma once
// The user's US trades ("ET"), a row added by each new "NT" with the alert sound and a notice;
// a repeated trade number only updates its row. A click on a trade's order number brings the
// order forward in the order status table.
#include "account/AccountTable.h"

#define IDS_TABLE_US_TRADES 51130

extern const ACCOUNT_DESC g_executedTradesTable;

class CExecutedTradesTable : public CAccountTable
{
public:
    explicit CExecutedTradesTable(CZorvatMessageSource* pSource) : CAccountTable(g_executedTradesTable, pSource) {}

    void OnET(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnRecord(CServerMessage* pMsg) override;
    void OnNT(CServerMessage* pMsg) override { TableOnLive(pMsg); }

protected:
    void ApplyLive(CServerMessage* pMsg) override;
    BOOL OnOwnCellClick(CViewRow* pRow, int nCol) override;
};

// The order of the number in the order status table of that name id: marked, selected and
// scrolled into sight in its first window, which comes to the front. FALSE when the table or
// the order is not there.
BOOL GoToOrder(UINT nOrdersNameId, long nOrder);
// The alert sound and the notice of a US trade line ("NT").
void AnnounceTradeLine(CServerMessage* pMsg);
// The alert sound and the trade's notice.
void AnnounceTrade(const CString& strOrder, const CString& strSide, const CString& strSymbol,
                   const CString& strQuantity, const CString& strPrice);
