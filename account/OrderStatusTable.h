#pragma once
// The user's US orders ("OS"), kept current by their live lines: "NO" adds or changes an order,
// "NT" fills it, "NC" changes its status (a cancel or a rejection told in the information
// window). A click on an open order's number opens the modify form; the symbol items of its
// menu name the selected order's symbol.
#include <string>
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
    // A trade told inside a reply is in that reply's rows already: it is only remembered.
    void OnNT(CServerMessage* pMsg) override;
    // A status change before the first load's end is told in no notice, even when it waits for
    // that end to apply.
    void OnNC(CServerMessage* pMsg) override;
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

    // A trade's number as a whole number above 0; 0 for an empty or other text, which tells
    // no trade from another.
    static long TradeNumber(CServerMessage* pMsg);

    std::unordered_set<long> m_filledTrades;    // the numbered trades whose quantity an order has taken
    std::unordered_multiset<std::string> m_quietChanges;   // order numbers of status lines from before the first end
};
