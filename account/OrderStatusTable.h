#pragma once
// The user's US orders ("OS"), kept current by their live lines: "NO" adds or changes an order,
// "NT" fills it, "NC" changes its status (a cancel or a rejection told in the information
// window). A click on an open order's number opens the modify form; the symbol items of its
// menu name the selected order's symbol.
#include <deque>
#include <memory>
#include <string>
#include <unordered_set>
#include "account/AccountTable.h"
#include "account/OrderLife.h"
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

    // TRUE when the trade line is for an order this table has no row of yet: the fill is counted
    // and its notice waits here for the order's line, however late, to be told with it.
    BOOL HoldsFill(CServerMessage* pMsg);
    // How many trade notices wait for their orders' lines.
    size_t GetWaitingFillCount() const { return m_waitingFills.size(); }

protected:
    void ApplyLive(CServerMessage* pMsg) override;
    BOOL OnOwnCellClick(CViewRow* pRow, int nCol) override;
    void OnAccountCommand(UINT nId) override;

private:
    // The market name and the symbol's reference text of a row from its line.
    void SetLookedUpColumns(CDataBuffer* pRow, CServerMessage* pMsg, BOOL bSymbolText);
    void ApplyOrderLine(CServerMessage* pMsg);
    // A trade counted once for its order; its notice waits when the order has no row yet.
    void ApplyFill(CServerMessage* pMsg);
    // The status, open and filled quantities of the row by its order's record.
    void ShowCounts(CDataBuffer* pRow, const ORDER_LIFE& life);
    // The notices that waited for the order of that number, told now that it shows.
    void TellWaiting(const CString& strOrder);
    // Every waiting notice told as it stands: a reply holds every fill so far.
    void TellAllWaiting();
    void ApplyStatus(CServerMessage* pMsg);
    // The notice of an order's end by its status line, when it is news.
    void NoticeEnd(CServerMessage* pMsg, const CDataBuffer* pRow, BOOL bQuiet);

    // A trade's number as a whole number above 0; 0 for an empty or other text, which tells
    // no trade from another.
    static long TradeNumber(CServerMessage* pMsg);

    std::unordered_set<long> m_filledTrades;    // the numbered trades whose quantity an order has taken
    std::unordered_multiset<std::string> m_quietChanges;   // order numbers of status lines from before the first end
    ORDER_LIVES m_lives;                            // by order number, since the last reply
    std::deque<std::unique_ptr<CServerMessage>> m_waitingFills;     // trades told before their order's line, oldest first
    std::deque<std::unique_ptr<CServerMessage>> m_waitingEnds;      // status lines before their order's line
};
