#pragma once
// The US price-level book: one row per symbol, market and price with the quantity and orders of
// each side, fed by the "L2" lines of the symbols whose book the watch list turned on. Its
// context menu stops the selected symbol's book.
#include "market/InternationalBookTable.h"

#define IDS_TABLE_ORDER_BOOK_US 57396
#define IDS_TITLE_ORDER_BOOK_US 57495
#define ID_STOP_ORDER_BOOK 33648
#define IDS_STOP_ORDER_BOOK 41267
#define MAX_BOOK_LEVELS 20

enum PRICE_BOOK_COLUMN {
    PL_SYMBOL = 0, PL_MARKET = 1, PL_NAME = 2, PL_PRICE = 3, PL_BUY_QUANTITY = 4, PL_BUY_ORDERS = 5,
    PL_SELL_QUANTITY = 6, PL_SELL_ORDERS = 7, PL_COUNT = 8
};

extern const TABLE_DESC g_orderBookUSTable;

class CInternationalOrderBookTable : public CInternationalBookTable
{
public:
    explicit CInternationalOrderBookTable(CZorvatMessageSource* pSource);

    void OnL2(CServerMessage* pMsg) override { OnBookLine(pMsg); }
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;
    HMENU CreateContextMenu() override;
    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    void ApplyEntries(CServerMessage* pMsg, const CString& strSymbol, const CString& strMarket,
                      const CString& strName) override;

private:
    // The selected data row's symbol and market; FALSE when none is selected.
    BOOL GetSelectedSymbol(CString& strSymbol, CString& strMarket);
    void StopSelected();
};
