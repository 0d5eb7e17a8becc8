#pragma once
// What the two US order books share: they are fed only by broadcast lines ("L2" price levels,
// "L3" market makers) of the symbols the US watch list has subscribed to their book. A line
// carries status, symbol, market code and action ("0" changes, "1" the full picture, "2"
// clear) before its entries; a line for a symbol whose watch-list row is missing or whose book
// flag is off is dropped, so a late line after a stop does not bring the symbol back.
#include "market/DataTable.h"

#define BOOK_ACTION_UPDATE '0'
#define BOOK_ACTION_FULL   '1'
#define BOOK_ACTION_CLEAR  '2'
#define BOOK_FIRST_ENTRY_FIELD 5

class CInternationalBookTable : public CDataTable
{
public:
    // nFlagColumn: the watch list's column that says the symbol's book is on.
    CInternationalBookTable(const TABLE_DESC& desc, CZorvatMessageSource* pSource, int nFlagColumn)
        : CDataTable(desc, pSource), m_nFlagColumn(nFlagColumn)
    {
    }

    // Asks the server to start (bOn) or stop the symbol's book lines; 0 when nothing was sent (an
    // empty symbol, or one that would shift the request's fields).
    long Subscribe(LPCSTR pszSymbol, long nMarketCode, BOOL bOn);

    // Cuts "first:second" at its first ':'; a missing part is left empty.
    static void SplitField(LPCSTR pszPair, CString& strFirst, CString& strSecond);

protected:
    // Status, action and the watch list's flag; the entries go to ApplyEntries.
    void OnBookLine(CServerMessage* pMsg);
    virtual void ApplyEntries(CServerMessage* pMsg, const CString& strSymbol, const CString& strMarket,
                              const CString& strName) = 0;
    // Every row of the symbol in that market.
    void RemoveSymbol(const CString& strSymbol, const CString& strMarket);
    // The watch list's name of the symbol, for a row of the book.
    void SetName(CDataBuffer* pRow, int nCol, const CString& strName);
    // The request line goes out here; a test can watch it.
    virtual long SendLine(LPCSTR pszBody) { return SendRequest(pszBody); }

private:
    int m_nFlagColumn;
};
