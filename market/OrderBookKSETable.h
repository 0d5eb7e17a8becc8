#pragma once
// The KSE order book: one row per stock and price level with the orders and quantity of each
// side, filled by the "OB" reply and kept current by live "OU" lines (through the base's gate:
// dropped before the first reply has ended, held during a refill). A level whose two order
// counts are 0 is gone. The class adds the stock's texts, the sides' colours and the click that
// narrows a window to one stock.
#include "market/DataTable.h"

#define IDS_TABLE_ORDER_BOOK_KSE 52110
#define IDS_TITLE_ORDER_BOOK_KSE 56780

enum ORDER_BOOK_COLUMN {
    BC_STOCK = 0, BC_SYMBOL = 1, BC_NAME = 2, BC_PRICE = 3, BC_BUY_ORDERS = 4, BC_BUY_QUANTITY = 5,
    BC_SELL_ORDERS = 6, BC_SELL_QUANTITY = 7, BC_COUNT = 8
};

// Cell colours that tell the two sides of a book apart.
#define BOOK_BUY_ATTRIBUTE 7
#define BOOK_SELL_ATTRIBUTE 8

extern const TABLE_DESC g_orderBookKSETable;

class COrderBookKSETable : public CDataTable
{
public:
    explicit COrderBookKSETable(CZorvatMessageSource* pSource) : CDataTable(g_orderBookKSETable, pSource) {}

    void OnOB(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnOU(CServerMessage* pMsg) override { TableOnLive(pMsg); }
    void OnRecord(CServerMessage* pMsg) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;

protected:
    void CreateColumns() override;
    void ApplyLive(CServerMessage* pMsg) override;

private:
    // The row the line's fields make, with its texts and colours; null when its key is stored.
    CDataBuffer* AddLineRow(CServerMessage* pMsg);
    static void SetStockTexts(CDataBuffer* pRow, long nStock, BOOL bPublish);
};
