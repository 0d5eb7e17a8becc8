#pragma once
// The user's US orders ("OS"), kept current by their live lines: "NO" adds or changes an order,
// "NT" fills it, "NC" changes its status (a cancel or a rejection told in the information
// window). A click on an open order's number opens the modify form; the symbol items of its
// menu name the selected order's symbol.
#include <unordered_set>
#include "account/AccountTable.h"

#define IDS_TABLE_US_ORDERS 51110

extern const ACCOUNT_DESC g_orderStatusTable;

class COrderStatusTable : public CAccountTable
{
public:
    explicit COrderStatusTable(CZorvatMessageSource* pSource) : CAccountTable(g_orderStatusTable, pSource) {}

    void OnOS(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnRecord(CServerMessage* pMsg) override;
    void OnNO(CServerMessage* pMsg) override { TableOnLive(pMsg); }
    void OnNT(CServerMessage* pMsg) override { TableOnLive(pMsg); }
    void OnNC(CServerMessage* pMsg) override { TableOnLive(pMsg); }
    void OnInitMenuPopup(HMENU hMenu, UINT nIndex, BOOL bSysMenu) override;

protected:
    void ApplyLive(CServerMessage* pMsg) override;
    BOOL OnOwnCellClick(CViewRow* pRow, int nCol) override;
    void OnAccountCommand(UINT nId) override;

private:
    // The market name and the symbol's reference text of a row from its line.
    void SetLookedUpColumns(CDataBuffer* pRow, CServerMessage* pMsg, BOOL bSymbolText);
    void ApplyFill(CServerMessage* pMsg);
    void ApplyStatus(CServerMessage* pMsg);

    std::unordered_set<long> m_filledTrades;    // the trades whose quantity an order has taken
};
