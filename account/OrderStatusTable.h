#pragma once
// The user's US orders ("OS"), kept current by their live lines: "NO" adds or changes an order,
// "NT" fills it, "NC" changes its status (a cancel or a rejection told in the information
// window). A click on an open order's number opens the modify form; the symbol items of its
// menu name the selected order's symbol.
#include <string>
#include <unordered_set>
#include <vector>
#include "account/AccountTable.h"
#include "account/OrderLife.h"
#include "link/ServerMessage.h"

#define IDS_TABLE_US_ORDERS 51110

extern const ACCOUNT_DESC g_orderStatusTable;

class COrderStatusTable : public CAccountTable
{
public:
    explicit COrderStatusTable(CZorvatMessageSource* pSource);

    void OnOS(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
    void OnEnd(CServerMessage* pMsg) override;
    void OnNO(CServerMessage* pMsg) override { TableOnLive(pMsg); }
    // A trade told inside a reply is counted at once (its notice is the trades table's); its
    // order's row shows it at the reply's end.
    void OnNT(CServerMessage* pMsg) override;
    // A status change before the first load's end is told in no notice, even when it waits for
    // that end to apply.
    void OnNC(CServerMessage* pMsg) override;
    void OnInitMenuPopup(HMENU hMenu, UINT nIndex, BOOL bSysMenu) override;

    // TRUE when the trade line is for an order this table has no row of yet: the fill is counted
    // and its notice waits here for the order's line, however late, to be told with it.
    BOOL HoldsFill(CServerMessage* pMsg);
    // How many trade notices wait for their orders' lines.
    size_t GetWaitingFillCount() const { return m_waitingFills.GetCount(); }

protected:
    void ApplyLive(CServerMessage* pMsg) override;
    BOOL OnOwnCellClick(CViewRow* pRow, int nCol) override;
    void OnAccountCommand(UINT nId) override;

private:
    // The market name and the symbol's reference text of a row from its line.
    void SetLookedUpColumns(CDataBuffer* pRow, CServerMessage* pMsg, BOOL bSymbolText);
    // The line (or a reply's row, already in pRow) taken into the order's record; the row,
    // made when missing, then shows the record's newest line and its counts.
    CDataBuffer* TakeLine(CServerMessage* pMsg, int nMap, CDataBuffer* pRow);
    void ApplyOrderLine(CServerMessage* pMsg);
    // A trade counted once for its order: its record, or null when the trade was told before.
    ORDER_LIFE* CountTrade(CServerMessage* pMsg);
    // A trade counted once for its order; its notice waits when the order has no row yet.
    void ApplyFill(CServerMessage* pMsg);
    // The status, open and filled quantities of the row by its order's record.
    void ShowCounts(CDataBuffer* pRow, const ORDER_LIFE& life);
    // The notices that waited for the order of that number, told now that it shows.
    void TellWaiting(const CString& strOrder);
    // Every waiting trade's notice told as it stands: a reply holds every fill so far.
    void TellAllWaiting();
    void ApplyStatus(CServerMessage* pMsg);
    // The notice of an order's end by its status line, when it is news.
    void NoticeEnd(CServerMessage* pMsg, const CDataBuffer* pRow, BOOL bQuiet);

    // A trade's number as a whole number above 0; 0 for an empty or other text, which tells
    // no trade from another.
    static long TradeNumber(CServerMessage* pMsg);

    std::unordered_set<long> m_filledTrades;    // the numbered trades whose quantity an order has taken
    std::unordered_multiset<std::string> m_quietChanges;   // order numbers of status lines from before the first end
    ORDER_LIVES m_lives;                            // by order number, replies and lines alike
    std::vector<std::string> m_countedInReply;      // orders whose trades came inside the reply under way
    COrderWaitingLines m_waitingFills;              // trades told before their order's line
    COrderWaitingLines m_waitingEnds;               // status lines before their order's line
};
