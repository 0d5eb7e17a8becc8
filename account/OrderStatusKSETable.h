#pragma once
// The user's KSE orders: the regular and odd-lot orders ("KS") and then the forward orders
// ("KB", which completes the load), kept current by "NS" and "NF" once loaded. The base table
// tells a cancelled order in the information window; its four variants show the same rows
// through a fixed filter (active, filled, cancelled, forward), set again after every load.
#include "account/AccountTable.h"
#include "account/OrderLife.h"

#define IDS_TABLE_KSE_ORDERS 51128
#define IDS_TABLE_KSE_FORWARD_ORDERS 56370

extern const ACCOUNT_DESC g_orderStatusKSETable;

// A variant's filter: the codes of its column's code table, or a criteria.
struct KSE_ORDER_FILTER
{
    int nColumn;
    std::span<const int> codes;
    LPCSTR pszCriteria;
};

class COrderStatusKSETable : public CAccountTable
{
public:
    // Without a filter the table is the base one, whose notices the variants leave to it.
    explicit COrderStatusKSETable(CZorvatMessageSource* pSource, const KSE_ORDER_FILTER* pFilter = nullptr)
        : CAccountTable(g_orderStatusKSETable, pSource), m_pFilter(pFilter) {}

    void OnKS(CServerMessage* pMsg) override;
    void OnKB(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
    void OnEnd(CServerMessage* pMsg) override;
    void OnNS(CServerMessage* pMsg) override { TableOnLive(pMsg); }
    void OnNF(CServerMessage* pMsg) override { TableOnLive(pMsg); }

protected:
    void ApplyLive(CServerMessage* pMsg) override;
    BOOL OnOwnCellClick(CViewRow* pRow, int nCol) override;
    void OnAccountCommand(UINT nId) override;

private:
    // The columns a line does not carry as they stand; the notice of an ended order.
    void SetDerivedColumns(CDataBuffer* pRow, CServerMessage* pMsg, BOOL bForward);
    void NoticeEnded(CServerMessage* pMsg, CDataBuffer* pRow, long nStatus);
    // The line (or a reply's row, already in pRow) taken into the order's record; the row,
    // made when missing, then shows the record's newest line and its counts.
    CDataBuffer* TakeLine(CServerMessage* pMsg, int nMap, CDataBuffer* pRow);
    // The status, open and filled quantities of the row by its order's record.
    void ShowCounts(CDataBuffer* pRow, const ORDER_LIFE& life);

    const KSE_ORDER_FILTER* m_pFilter;  // a constant; null for the base table
    int m_nReplyType = -1;              // the reply under way: MSG_KS, MSG_KB, or -1
    ORDER_LIVES m_lives;                // by order number, replies and lines alike
};

// The variants: the base table with their filter.
template <int KIND>
class COrderStatusKSEVariant : public COrderStatusKSETable
{
public:
    explicit COrderStatusKSEVariant(CZorvatMessageSource* pSource);
};
enum { KSE_ORDERS_ACTIVE, KSE_ORDERS_FILLED, KSE_ORDERS_CANCELLED, KSE_ORDERS_FORWARD };
using COrderStatusActiveKSETable = COrderStatusKSEVariant<KSE_ORDERS_ACTIVE>;
using COrderStatusFilledKSETable = COrderStatusKSEVariant<KSE_ORDERS_FILLED>;
using COrderStatusCancelledKSETable = COrderStatusKSEVariant<KSE_ORDERS_CANCELLED>;
using COrderStatusForwardTable = COrderStatusKSEVariant<KSE_ORDERS_FORWARD>;
