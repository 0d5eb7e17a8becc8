#pragma once
// The announced states of the markets and their times ("VS"). A row whose state is the one its
// market is in now is said in the information window. A click on a market, or the schedule
// menu's market, narrows the window to that market.
#include "app/TableFactory.h"
#include "market/DataTable.h"

#define IDS_TITLE_MARKET_SCHEDULE 41058
#define IDS_MARKET_STATE_NOW 57450    // "%1: %2": the market and its state's text
#define SCHEDULE_COL_TEXT 3             // the state's text, in the interface's language

extern const TABLE_DESC g_marketScheduleTable;

class CInternationalMarketScheduleTable : public CDataTable
{
public:
    explicit CInternationalMarketScheduleTable(CZorvatMessageSource* pSource) : CDataTable(g_marketScheduleTable, pSource) {}

    // "VS" with the logged-in user's number.
    BOOL SendRequest() override { return RequestSchedule(); }
    BOOL RequestSchedule();
    // The active window (else the main one) shows one market; 0 shows every market.
    void FilterByMarket(long nMarketCode) override;

    void OnVS(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnRecord(CServerMessage* pMsg) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;

private:
    // Every filter of the market column removed from the window's, then that market's added
    // (none for an empty name).
    void ShowMarket(CTableMDIWnd* pWindow, LPCSTR pszMarket, BOOL bClearRange);
};
