#pragma once
// The KSE odd-lot order book: one row per stock, quantity, side and price with the orders that
// stand there, filled by the "OD" reply and kept current by live "OO" lines (through the base's
// gate). A side-1 entry's price stands in one column, any other side's in the next, so that the
// two sides read apart; an "OO" with no orders removes the stock's entries, those of one
// quantity, or one entry.
#include "market/DataTable.h"

#define IDS_TABLE_ORDER_BOOK_ODDLOT_KSE 52111
#define IDS_TITLE_ORDER_BOOK_ODDLOT_KSE 56781

enum ODDLOT_BOOK_COLUMN {
    OBC_STOCK = 0, OBC_SYMBOL = 1, OBC_QUANTITY = 2, OBC_SIDE = 3, OBC_BUY_PRICE = 4, OBC_SELL_PRICE = 5,
    OBC_ORDERS = 6, OBC_COUNT = 7
};

extern const TABLE_DESC g_orderBookOddLotKSETable;

class COrderBookOddLotKSETable : public CDataTable
{
public:
    explicit COrderBookOddLotKSETable(CZorvatMessageSource* pSource)
        : CDataTable(g_orderBookOddLotKSETable, pSource)
    {
    }

    void OnOD(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnOO(CServerMessage* pMsg) override { TableOnLive(pMsg); }
    void OnRecord(CServerMessage* pMsg) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;

protected:
    void CreateColumns() override;
    void ApplyLive(CServerMessage* pMsg) override;

private:
    void AddLineRow(CServerMessage* pMsg);
    // The price in its side's column, the symbol from the stock list.
    static void SetLineCells(CDataBuffer* pRow, CServerMessage* pMsg, BOOL bPublish);
};
