#pragma once
// The user's KSE trades: the regular and odd-lot trades ("EK") and then the forward trades
// ("EF"), a row added by each new "NX" or "NW" with the alert sound and a notice. A trade is its
// number on its market, since each market numbers its own. The next request's "EK" empties the
// table; an "EK" that comes while an "EF" of the same refresh is still open adds to it.
#include "account/AccountTable.h"

#define IDS_TABLE_KSE_TRADES 51142

extern const ACCOUNT_DESC g_executedTradesKSETable;

class CExecutedTradesKSETable : public CAccountTable
{
public:
    explicit CExecutedTradesKSETable(CZorvatMessageSource* pSource) : CAccountTable(g_executedTradesKSETable, pSource) {}

    // The pair of requests; a new pair starts a new refresh, whatever became of the last one.
    BOOL SendRequest() override;
    using CAccountTable::SendRequest;
    void OnEK(CServerMessage* pMsg) override;
    void OnEF(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
    void OnEnd(CServerMessage* pMsg) override;
    void OnNX(CServerMessage* pMsg) override { TableOnLive(pMsg); }
    void OnNW(CServerMessage* pMsg) override { TableOnLive(pMsg); }
    BOOL IsRefreshing() const { return m_nRefresh != -1; }

protected:
    void ApplyLive(CServerMessage* pMsg) override;
    BOOL OnOwnCellClick(CViewRow* pRow, int nCol) override;
    void SetKindKeys(CDataBuffer* pLine, int nType) const override;

private:
    void SetDerivedColumns(CDataBuffer* pRow, CServerMessage* pMsg, BOOL bForward);

    int m_nReplyType = -1;              // MSG_EK, MSG_EF or -1
    long m_nRefresh = -1;               // -1: no refresh under way
};
