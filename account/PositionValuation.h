#pragma once
// The valuation of a position, the one rule of the account windows: the price of the moment, the
// one cost of a purchase, the value, gain and per cent at them, and how derived cells are written.
// Every window that shows positions values them here, so that one position reads alike in all.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <unordered_map>
#include <vector>
#include "platform/mfc/String.h"

#define KSE_MARKET_CODE 2

class CDataArray;
class CDataBuffer;
class CDataTable;

// The grid's text colour of a gain cell: the palette's rise and fall colours, the default at zero.
#define GAIN_COLOUR_UP      4
#define GAIN_COLOUR_DOWN    3
#define GAIN_COLOUR_NONE    0
int GainColour(double dGain);

// Derived values go into the store as text and are read back by the column's type, so a cell
// holds what the grid shows after six decimals: "%f", or " %f " for the base-currency columns.
void WriteDerived(CDataBuffer* pRow, int nCol, double dValue);
void WriteConverted(CDataBuffer* pRow, int nCol, double dValue);

// The US quotation's price of a symbol on a market: its last price, or the close while it has
// no last; FALSE when the quotation table has no such row.
BOOL FindUsQuotePrice(LPCSTR pszSymbol, LPCSTR pszMarket, double& dPrice);
// The price of an option's underlying: its US quotation on whichever board quotes it, the last
// price or, without one, the close; FALSE when no quotation has a price for it.
BOOL FindUnderlyingPrice(LPCSTR pszSymbol, double& dPrice);

// The one valuation of a position that every account window reads, so that a position shows one
// price, value, gain and per cent in all of them at every moment.
//
// Its price, as its market quotes it (a KSE price in fils): the quotation's last price, or while
// it has none the close (the KSE board's previous close). FALSE when no quotation holds a price
// for it: the row keeps the price of the server's latest line. pszAccount: the account the
// window shows (null: the trader's), whose lines' prices alone it takes.
BOOL FindPositionPrice(LPCSTR pszSymbol, long nMarketCode, double& dPrice, LPCSTR pszAccount = nullptr);
// A server's line for an account (null: the trader's) has just priced a position at dPrice
// (quoted, > 0) in one window: while no quotation prices it, that is the freshest price of it, and
// every window on that account takes it, so that a reply in one window does not leave the others
// at an older line's price, and another account's lines leave the trader's windows alone.
void TakeServerPrice(LPCSTR pszSymbol, long nMarketCode, double dPrice, LPCSTR pszAccount = nullptr);
// What a quoted price stands for in the row's money: a KSE price is in fils; an option's
// premium is a share's, and a contract holds a hundred shares.
double QuotedUnit(long nMarketCode, BOOL bOption);
// A position's one cost, the same in every window whichever line brought it. A line gives the
// cost as an amount rounded to the line's places (pszCostLine, as the line writes it) and may give
// a more exact figure beside it (its average price times the quantity, or the amount to more
// places): that figure where the amount is its rounding, else the amount as it reads. Each
// window shows it rounded once, to its own places.
double PositionCost(LPCSTR pszCostLine, double dExact);
struct POSITION_VALUE
{
    double dValue = 0;
    double dGain = 0;
    double dPercent = 0;
};
// A position of dQuantity at dPrice (quoted, in dUnit): its value with dAdded (an amount the
// server adds to it), its gain over dCost and that gain in per cent of the cost (100 without one).
POSITION_VALUE ValuePosition(double dQuantity, double dPrice, double dUnit, double dCost, double dAdded = 0);
// The same for a row whose cost dCost is held as it shows: the value and the gain held to the places
// its column nValueCol shows, so that the gain is the shown value less the shown cost and the per
// cent that gain of that cost, alike in every window that shows the two alike.
POSITION_VALUE ValuePosition(CDataBuffer* pRow, int nValueCol, double dQuantity, double dPrice, double dUnit, double dCost,
                             double dAdded = 0);
// A holdings row's columns of its valuation, written in one batch of the row: the price as the
// row shows it, the value, the gain and its per cent.
struct VALUED_COLUMNS
{
    int nPrice, nValue, nGain, nPercent;
};
void WriteValuation(CDataBuffer* pRow, const VALUED_COLUMNS& columns, double dShownPrice, const POSITION_VALUE& value);
// A row that no quote values (its price the server's line's): its gain and per cent from its
// value and its cost as they show, as a valued row's; the value and gain columns are
// columns.nValue and columns.nGain, the cost column nCostCol.
POSITION_VALUE SettleGain(CDataBuffer* pRow, const VALUED_COLUMNS& columns, int nCostCol);
// The gain columns of a row coloured by the gain.
void MarkGain(CDataBuffer* pRow, std::initializer_list<int> columns, double dGain);


// The distinct (market, symbol) pairs of the stored rows with a market, each revalued once; a
// table of one market (nMarketCol below 0) has its rows' symbols revalued on nMarketCode.
void RevalueEveryPosition(CDataTable* pTable, int nSymbolCol, int nMarketCol, long nMarketCode = 0);

// The stored rows of each (symbol, market) of a position table, so that a quote of a held symbol
// finds its rows without a search of the store. Built once the rows stand still (two look-ups
// without a row added, removed or re-keyed between them); until then, and for a pair it lacks
// (a symbol not held, or one the store's own comparison matches otherwise), the store is searched.
class CPositionRows
{
public:
    // bMarketKey: the market is the store's second key and is looked up as a key (cut to its
    // column's size), else it is compared whole with the rows' market texts. A table of one
    // market (nMarketCol below 0) finds the rows by symbol alone, whatever market is asked. A
    // symbol column that is not the store's first key (bSymbolKey false) is searched row by row.
    CPositionRows(int nSymbolCol, int nMarketCol, bool bMarketKey = false, bool bSymbolKey = true)
        : m_nSymbolCol(nSymbolCol), m_nMarketCol(nMarketCol), m_bMarketKey(bMarketKey), m_bSymbolKey(bSymbolKey) {}
    // The rows of the symbol on the market, in key order.
    const std::vector<CDataBuffer*>& Find(CDataArray* pRows, LPCSTR pszSymbol, LPCSTR pszMarket);

private:
    void Build(CDataArray* pRows);

    int m_nSymbolCol;
    int m_nMarketCol;
    bool m_bMarketKey;
    bool m_bSymbolKey;
    std::unordered_map<std::string, std::vector<CDataBuffer*>> m_index;
    std::vector<CDataBuffer*> m_found;
    const CDataArray* m_pBuiltFor = nullptr;
    uint64_t m_nBuiltAt = UINT64_MAX;   // the store's shape count the index was built at
    uint64_t m_nSeenAt = UINT64_MAX;    // and at the last look-up
    size_t m_nSymbolChars = 0;          // the store keeps a key cut to its column's size
    size_t m_nMarketChars = 0;
};
