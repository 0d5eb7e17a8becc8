#pragma once
// The user's US orders ("OS"), kept current by their live lines: "NO" adds or changes an order,
// "NT" fills it, "NC" changes its status (a cancel or a rejection told in the information
// window). A click on an open order's number opens the modify form; the symbol items of its
// menu name the selected order's symbol.
#include <chrono>
#include <deque>
#include <memory>
#include <string>
#include <unordered_set>
#include "account/AccountTable.h"
#include "link/ServerMessage.h"

#define IDS_TABLE_US_ORDERS 51110

extern const ACCOUNT_DESC g_orderStatusTable;

class COrderStatusTable : public CAccountTable
{
public:
    explicit COrderStatusTable(CZorvatMessageSource* pSource) : CAccountTable(g_orderStatusTable, pSource) {}

    void OnOS(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
    void OnNO(CServerMessage* pMsg) override { TableOnLive(pMsg); }
    // A trade told inside a reply is in that reply's rows already: it is only remembered.
    void OnNT(CServerMessage* pMsg) override;
    // A status change before the first load's end is told in no notice, even when it waits for
    // that end to apply.
    void OnNC(CServerMessage* pMsg) override;
    void OnInitMenuPopup(HMENU hMenu, UINT nIndex, BOOL bSysMenu) override;
    // A fill that waits for its order's line too long is told as it stands.
    void OnTick() override;

    // TRUE when the trade line is for an order this table has no row of yet: the fill waits
    // here for the order's line, and its notice is told when it is applied (or given up).
    BOOL HoldsFill(CServerMessage* pMsg);

protected:
    void ApplyLive(CServerMessage* pMsg) override;
    BOOL OnOwnCellClick(CViewRow* pRow, int nCol) override;
    void OnAccountCommand(UINT nId) override;

private:
    // The market name and the symbol's reference text of a row from its line.
    void SetLookedUpColumns(CDataBuffer* pRow, CServerMessage* pMsg, BOOL bSymbolText);
    // FALSE when the order has no row (nothing applied).
    BOOL ApplyFill(CServerMessage* pMsg);
    // The fills that waited for the order of that number, applied and told.
    void ApplyWaitingFills(const CString& strOrder);
    // The waiting fills told as they stand and dropped: those older than the bound, or all.
    void GiveUpWaitingFills(BOOL bAll);
    void ApplyStatus(CServerMessage* pMsg);

    // A trade's number as a whole number above 0; 0 for an empty or other text, which tells
    // no trade from another.
    static long TradeNumber(CServerMessage* pMsg);

    std::unordered_set<long> m_filledTrades;    // the numbered trades whose quantity an order has taken
    std::unordered_multiset<std::string> m_quietChanges;   // order numbers of status lines from before the first end
    struct WAITING_FILL
    {
        std::unique_ptr<CServerMessage> pLine;
        std::chrono::steady_clock::time_point since;
    };
    std::deque<WAITING_FILL> m_waitingFills;        // trades whose order's line has not come yet, oldest first
};
