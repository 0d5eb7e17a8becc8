#pragma once
// The records of the reference data's maps: a market, a symbol (in the stock-list map and in its
// market's symbol map) and a currency. Plain values, each filled from one data row of its reply;
// lookups hand out copies, so nobody keeps a reference into a map.
#include "platform/mfc/String.h"

class CServerMessage;

// One market, from a row of the market list ("XC").
struct MarketDetail
{
    // Fields the row lacks read as empty or 0. The linked market's name is the caller's: it
    // depends on the names known when the row arrives.
    void SetFromRow(const CServerMessage& row, LPCSTR pszLinkedMarketName);

    CString m_strEnglishName;           // field 13
    CString m_strArabicName;            // field 14
    CString m_strText3;                 // field 3
    int m_nEnabled = 0;                 // field 4; non-zero: symbols are requested and quoted
    CString m_strText0;                 // field 0
    int m_nValue5 = 0;                  // field 5
    int m_nMarketCode = 0;              // field 12; a bit value tested against the user's mask
    int m_nQuoteListFlag = 0;           // field 15; the US quotation table takes its symbol list
    int m_nNoQuoteFlag = 0;             // field 16; 1: no live quotation subscription
    int m_nQuoteLookupFlag = 0;         // field 17; 1: a symbol is looked up in the quotations
    int m_nValue18 = 0;                 // field 18
    int m_nValue19 = 0;                 // field 19
    int m_nNoNewsFlag = 0;              // field 20; 1: no company news for its symbols
    int m_nValue9 = 0;                  // field 9
    int m_nValue10 = 0;                 // field 10
    int m_nValue11 = 0;                 // field 11
    int m_nValue7 = 0;                  // field 7
    CString m_strLinkedMarketName;      // the name of the market code in field 8
    int m_nTimeOffset = 0;              // field 21, seconds taken off the market's times
    int m_nValue22 = 0;                 // field 22
    int m_nConstant1 = 1;               // no reply fills it
};

// One symbol, from a row of a market's symbol list ("DS") or of the KSE list ("SL"), whose
// rows leave the market out and start with the symbol: they are stored as market 2 with the
// symbol twice.
struct StockList
{
    void SetFromSymbolRow(const CServerMessage& row);       // a "DS" row
    void SetFromKseRow(const CServerMessage& row);          // an "SL" row

    int market = 0;
    CString text1;                      // the symbol, the key of both maps
    CString text2;
    CString text3;
    CString text4;
    CString text5;
    CString text6;
};

// The same fields, kept per market in its symbol map.
struct ShortStockListEntry : StockList
{
};

// One currency, from a row of the currency list ("CL").
struct CurrencyDetail
{
    void SetFromRow(const CServerMessage& row);

    CString m_strCode;                  // field 1, the key
    int m_nValue2 = 0;                  // field 2
    int m_nValue0 = 0;                  // field 0
    CString m_strText3;                 // field 3
};
