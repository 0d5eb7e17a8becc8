#pragma once
// The quotations of the KSE odd-lot board: one row per stock the server lists, keyed by the
// stock's number, filled by the "SQ" reply and kept current by the live "QQ" lines (through the
// base's gate: dropped before the first reply has ended, held during a refill). The class adds
// the stock's symbol, the change and average price of each row, the alert columns it saves, its
// context menu and the click that shows the stock's odd-lot trades.
#include "market/DataTable.h"

#define IDS_TABLE_QUOTATIONS_ODDLOT_KSE 52115
#define IDS_TITLE_QUOTATIONS_ODDLOT_KSE 56731

// Columns the code reads or writes by number.
enum ODDLOT_COLUMN {
    OC_SYMBOL = 0, OC_STOCK = 1, OC_LAST = 2, OC_TIME = 3, OC_REFERENCE = 4, OC_QUANTITY = 5, OC_DEALS = 6,
    OC_VALUE = 7, OC_AVERAGE = 8, OC_CHANGE = 9, OC_ALERT_PRICE = 10, OC_ALERT_DIR = 11, OC_COUNT = 12
};

extern const TABLE_DESC g_oddLotQuotationTable;

class CQuotationOddLotKSETable : public CDataTable
{
public:
    explicit CQuotationOddLotKSETable(CZorvatMessageSource* pSource);

    // Its alerts under "<name>.TickerKSE", with the main window's layout; never read back, the
    // rows come from the server.
    void OnLayoutSaved(CTableMDIWnd* pWindow) override;
    void SaveWatchList(CIni& ini);
    HMENU CreateContextMenu() override;

    void OnSQ(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnQQ(CServerMessage* pMsg) override { TableOnLive(pMsg); }
    void OnRecord(CServerMessage* pMsg) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;

protected:
    void CreateColumns() override;
    void ApplyLive(CServerMessage* pMsg) override;

private:
    // A row from a line not yet stored: its fields, symbol and figures.
    void AddLineRow(CServerMessage* pMsg);
    // Change and average price with their colours; the colour index.
    int  ComputeRow(CDataBuffer* pRow, BOOL bPublish);
};
