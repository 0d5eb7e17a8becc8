#pragma once
// The US market-maker book: one row per symbol, market, market maker and side with that maker's
// price and quantity, fed by the "L3" lines of the symbols whose maker book the watch list
// turned on. An entry never removes a row: a symbol's rows go only with a full picture or a
// clear.
#include "market/InternationalBookTable.h"

#define IDS_TABLE_MAKER_BOOK_US 57483
#define IDS_TITLE_MAKER_BOOK_US 57496
#define MAX_MAKER_ENTRIES 10

enum MAKER_BOOK_COLUMN {
    MC_SYMBOL = 0, MC_MARKET = 1, MC_ENTRY = 2, MC_MAKER = 3, MC_SIDE = 4, MC_NAME = 5, MC_PRICE = 6,
    MC_BUY_QUANTITY = 7, MC_SELL_QUANTITY = 8, MC_COUNT = 9
};

extern const TABLE_DESC g_makerBookUSTable;

class CInternationalMarketMakerOrderBookTable : public CInternationalBookTable
{
public:
    explicit CInternationalMarketMakerOrderBookTable(CZorvatMessageSource* pSource);

    void OnL3(CServerMessage* pMsg) override { OnBookLine(pMsg); }
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;

protected:
    void ApplyEntries(CServerMessage* pMsg, const CString& strSymbol, const CString& strMarket,
                      const CString& strName) override;

private:
    // One side of an entry: maker, its text and its "quantity:price" pair.
    void ApplySide(int nSide, LPCSTR pszMaker, LPCSTR pszText, LPCSTR pszPair, const CString& strSymbol,
                   const CString& strMarket, const CString& strName);
};
