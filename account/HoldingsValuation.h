#pragma once
// What the holdings and unrealized tables share: the one valuation of a position (its price of
// the moment and its value, gain and per cent at it), the rate of a currency against the user's
// base currency, the text form of derived cells, the gain colours, the KSE codes' texts and the
// view filters of their option and quick-filter commands.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <unordered_map>
#include <vector>
#include "app/dialogs/AppHelpers.h"
#include "market/TableLinks.h"
#include "platform/mfc/String.h"

// The commands of the holdings and unrealized windows.
#define ID_POSITIONS_REFRESH        33175
#define ID_POSITIONS_REFRESH_OTHER  33617   // the other account kind; never offered
#define ID_POSITIONS_ORDER          33208
#define ID_POSITIONS_ALL            33563
#define ID_POSITIONS_OPTIONS        33564   // never offered
#define ID_POSITIONS_STOCKS         33565
#define ID_POSITIONS_SYMBOL         33567
#define ID_POSITIONS_SYMBOL_BOOK    33568
#define ID_POSITIONS_SYMBOL_NEWS    33569
#define ID_POSITIONS_EXERCISE       33335   // an option row: the exercise form on it
#define ID_POSITIONS_EXPIRATION     33355   // an option row: its expiration instruction
#define ID_KSE_HOLDINGS_ITEM        40225
#define IDS_POSITIONS_FILTER_MENU   33558
#define IDS_POSITIONS_ORDER_ITEM    40353
#define IDS_REFRESH_QUESTION        40342

#define KSE_MARKET_CODE 2

// A market name is a key of the position tables: held whole (the longest names pass 20 characters).
#define MARKET_NAME_SIZE 40

class CDataArray;
class CDataBuffer;
class CDataTable;
class CServerMessage;
class CViewRow;

// The grid's text colour of a gain cell: the palette's rise and fall colours, the default at zero.
#define GAIN_COLOUR_UP      4
#define GAIN_COLOUR_DOWN    3
#define GAIN_COLOUR_NONE    0
int GainColour(double dGain);

// Derived values go into the store as text and are read back by the column's type, so a cell
// holds what the grid shows after six decimals: "%f", or " %f " for the base-currency columns.
void WriteDerived(CDataBuffer* pRow, int nCol, double dValue);
void WriteConverted(CDataBuffer* pRow, int nCol, double dValue);

// The rate of a currency ("=USD") against the user's base currency; 0 when either is unknown.
double RateToBase(LPCSTR pszCurrency);

// The US quotation's price of a symbol on a market: its last price, or the close while it has
// no last; FALSE when the quotation table has no such row.
BOOL FindUsQuotePrice(LPCSTR pszSymbol, LPCSTR pszMarket, double& dPrice);
// The price of an option's underlying: its US quotation on whichever board quotes it, the last
// price or, without one, the close; FALSE when no quotation has a price for it.
BOOL FindUnderlyingPrice(LPCSTR pszSymbol, double& dPrice);
// A live US position line ("NH") that closes its position: its long and short quantities
// (fields 1, 3, 15, 16), read as whole numbers, are all 0.
BOOL IsClosedUsPosition(CServerMessage* pMsg);

// The one valuation of a position that every account window reads, so that a position shows one
// price, value, gain and per cent in all of them at every moment.
//
// Its price, as its market quotes it (a KSE price in fils): the quotation's last price, or while
// it has none the close (the KSE board's previous close). FALSE when no quotation holds a price
// for it: the row keeps the price of the server's latest line.
BOOL FindPositionPrice(LPCSTR pszSymbol, long nMarketCode, double& dPrice);
// What a quoted price stands for in the row's money: a KSE price is in fils; an option's
// premium is a share's, and a contract holds a hundred shares.
double QuotedUnit(long nMarketCode, BOOL bOption);
struct POSITION_VALUE
{
    double dValue = 0;
    double dGain = 0;
    double dPercent = 0;
};
// A position of dQuantity at dPrice (quoted, in dUnit): its value with dAdded (an amount the
// server adds to it), its gain over dCost and that gain in per cent of the cost (100 without one).
POSITION_VALUE ValuePosition(double dQuantity, double dPrice, double dUnit, double dCost, double dAdded = 0);
// The same for a row: the value held to the places its column nValueCol shows, so that the gain is
// the shown value less the shown cost.
POSITION_VALUE ValuePosition(CDataBuffer* pRow, int nValueCol, double dQuantity, double dPrice, double dUnit, double dCost,
                             double dAdded = 0);
// A holdings row's columns of its valuation, written in one batch of the row: the price as the
// row shows it, the value, the gain and its per cent.
struct VALUED_COLUMNS
{
    int nPrice, nValue, nGain, nPercent;
};
void WriteValuation(CDataBuffer* pRow, const VALUED_COLUMNS& columns, double dShownPrice, const POSITION_VALUE& value);
// The gain columns of a row coloured by the gain.
void MarkGain(CDataBuffer* pRow, std::initializer_list<int> columns, double dGain);

CString MarketNameOf(long nMarketCode);
long MarketCodeOf(LPCSTR pszMarketName);
// A KSE stock code's name from the stock list ("=KWD" for the cash line, the code itself for a
// stock the list lacks); bInterface: in the interface language, else the first language.
CString KseStockName(long nStock, BOOL bInterface);
// The text of a KSE position's status code.
CString KseStatusText(long nStatus);
// The text of a holding type code; bCash: the row is a cash line. A US option position is of a
// type of its own, beyond the KSE holding types (0 to 4) that US shares share.
#define HOLDING_TYPE_OPTION 5
CString HoldingTypeText(int nType, BOOL bCash);

// The option commands of a holdings window: every row, only option rows (code above 0), or only
// rows without an option right, on the main window's view by the option-right column.
enum OPTION_FILTER { OPTION_FILTER_ALL, OPTION_FILTER_OPTIONS, OPTION_FILTER_STOCKS };
BOOL FilterOptionRows(CDataTable* pTable, int nCol, OPTION_FILTER filter);

// TRUE when every character is a letter or digit of ASCII (an empty text too): a symbol an order
// can be placed for.
BOOL IsAlphanumeric(LPCSTR pszText);

// Columns hidden (the user cannot show them) or shown again (and switchable).
void SetColumnsHiddenOf(CDataTable* pTable, std::initializer_list<int> columns, BOOL bHidden);

// The refresh question (Yes/No); TRUE on Yes.
BOOL AskRefresh();

// At the top of a position table's menu: Refresh, a separator, the table's own item, a separator.
void InsertRefreshAndItem(HMENU hMenu, UINT nItemId, LPCSTR pszItemText);

// The logged-in user trades on the US markets.
BOOL HasUsAccess();

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
