#pragma once
// The constant description of one server-fed table, read by CDataTable: its names, columns,
// sort and keys, the messages that feed it and the fields each column takes from them. The base
// builds the columns, the field maps, the registration, the feeding cycle and the live gate
// from it, so a table with nothing special is its description and the few sink slots that
// route its messages to the base. See market/README.md for how a table is described.
#include <span>
#include "framework/base/ColumnDataType.h"
#include "framework/table/TableColumn.h"
#include "link/MessageTypes.h"
#include "platform/win/WinTypes.h"

// Display and feeding flags of a column.
#define COLF_KEY           0x0001   // hidden key column: not shown, not switchable, not sortable
#define COLF_HIDDEN        0x0002   // hidden, and the user cannot show it
#define COLF_THOUSANDS     0x0004   // thousands grouping
#define COLF_OMIT_ZERO_FRACTION 0x0008 // "12" rather than "12.00"
#define COLF_BLANK_ZERO    0x0010   // zero shows as an empty cell
#define COLF_SUMMED        0x0020   // summed in group and total lines
#define COLF_SERVER_DATE   0x0040   // the field is a server date/time text, converted to the column's type
#define COLF_NOT_SORTABLE  0x0080
#define COLF_NO_THOUSANDS  0x0100   // numbers (order and trade numbers) without grouping
#define COLF_ZERO_SHOWN    0x0200   // zero shows as a number (the engine blanks it by default)
#define COLF_SWITCHABLE    0x0400   // with COLF_HIDDEN: hidden, but the user may show it
#define COLF_MONEY         0x0800   // an amount held to its currency's smallest unit (TABLE_DESC)
#define COLF_KEY_WORD      0x1000   // a code the trader reads the row by (an order's status): it
                                    // keeps its room where other codes give theirs

#define FIELD_NONE (-1)             // a column no field feeds (its table's code fills it)

// What a column holds: a TABLE_COLUMN's nWidth is either pixels (a free text: a headline, a
// description) or one of these kinds. Every described column's window fits it to what it holds
// (its widest text or title, growing as wider ones come, until the trader sets a width); the
// kind's width (ColumnKindWidth) is where it starts before a window has measured it. The
// largest figure or text of each kind in a real market is ColumnKindLargest's.
enum COLUMN_KIND : int
{
    MONEY_WIDTH = -1,       // an amount of billions with 3 decimals and its sign (an account's totals)
    QUANTITY_WIDTH = -2,    // a position's shares to 10 digits, signed, with their decimals
    VOLUME_WIDTH = -3,      // a day's shares or a count to 10 digits
    PRICE_WIDTH = -4,       // a price with its decimals
    PERCENT_WIDTH = -5,     // a change or a share in per cent
    NUMBER_WIDTH = -6,      // an order, trade, stock or account number: never grouped
    CODE_WIDTH = -7,        // a symbol, currency, side, board or type: a word
    REFERENCE_WIDTH = -8,   // an order's reference as the ticket takes it
    MARKET_COLUMN_WIDTH = -9,   // a market's name (the column holds its code)
    NAME_WIDTH = -10,       // a company's or an index's name
    DATE_WIDTH = -11,
    TIME_WIDTH = -12,
    DATETIME_WIDTH = -13,
    COUNT_WIDTH = -14,      // a day's trades or orders, or a term in months
    GAIN_PERCENT_WIDTH = -15,   // a position's gain in per cent: one bought at a fraction of a cent gains millions
    COLUMN_KIND_FIRST = GAIN_PERCENT_WIDTH,
};
// A market column's text: room for the code it holds and the longest name in either language.
constexpr int MARKET_COLUMN_SIZE = 60;

// The pixels of a width kind (a positive width is its own).
int ColumnKindWidth(int nWidth);

// The largest figure or the longest text of a kind as a real market carries it, written as a
// cell holds it ("-123456789.125", a date "20261231"); "" for a market column (the longest of
// the markets' own names), null for a kind whose texts are the server's (codes, names).
const char* ColumnKindLargest(int nKind);

// One column, in display order. Only the members that differ from the defaults are written.
struct TABLE_COLUMN
{
    UINT nTitleId = 0;              // 0: the key columns' title (string 851)
    int nType = COLTYPE_STRING;     // COLTYPE_ of framework/base/ColumnDataType.h
    int nWidth = 95;                // pixels, or a COLUMN_KIND
    int nDecimals = 0;              // decimal code of a number column (-99 sixty-fourths)
    int nSize = 0;                  // characters of a text, without the terminator; 0 default
    int nAlign = ALIGN_LEFT;        // ALIGN_ of framework/table/TableColumn.h
    UINT nFlags = 0;                // COLF_
    int nMinDecimals = 0;           // decimals always shown when the zero fraction is omitted
    int nField = FIELD_NONE;        // the reply's field that feeds the column
    int nArabicField = FIELD_NONE;  // the field used instead while the interface is Arabic
    TBCOLUMNFORMAT pfnFormat = nullptr; // a computed column's text (code tables)
    int nFormatValue = 0;           // handed to pfnFormat
};

// A further message type that feeds the table: column c takes fields[c] (FIELD_NONE or past
// the end: untouched), arabicFields[c] instead while the interface is Arabic when given.
struct TABLE_FIELD_MAP
{
    int nMessageType = 0;           // MSG_ of link/MessageTypes.h
    std::span<const int> fields = {};
    std::span<const int> arabicFields = {};
};

struct TABLE_SORT_KEY
{
    int nColumn;
    int nDirection;                 // 1 ascending, as CSortColumns has it
};

// Table flags.
#define TABLEF_FOLLOW_LAST_ROW  0x0001  // the main window keeps the newest row in view
#define TABLEF_NO_SINK          0x0002  // not registered as a message sink
#define TABLEF_NO_GROUP_LINES   0x0004  // no group headers and no totals
#define TABLEF_LIVE_UNGATED     0x0008  // live lines apply before the first reply too (still held during one)
#define TABLEF_REPLY_ADDS       0x0010  // a reply adds to the rows: emptying is the requester's business
#define TABLEF_QUIET_REPLY      0x0020  // a reply runs without the busy flag and its wait cursor
#define TABLEF_OWN_WIDTHS       0x0040  // the table widens its columns itself: the window does not fit them

#define TABLE_NO_COLOR (-1)

// A row that names a company from the symbol lists: the column of the name, and the columns of
// the symbol and of the market's name it is found by.
struct COMPANY_NAME_COLUMNS
{
    int nName = -1;                 // -1: the table names no company so
    int nSymbol = -1;
    int nMarket = -1;
};

struct TABLE_DESC
{
    UINT nNameId = 0;               // table-map key and settings section (the string's text)
    UINT nTitleId = 0;              // window title; 0: the name
    int nFixedColumns = 0;          // more than 0: the class's own count, whatever its maker gives
    std::span<const TABLE_COLUMN> columns = {};
    std::span<const TABLE_SORT_KEY> sort = {};   // default sort, in priority order
    std::span<const int> keys = {};     // the row store's key columns, in key order
    // The reply, live and direct types are the table's whole catalogue: its class handles those
    // types and no other, and its sink takes them (CZorvatMessageSink::GetMessageTypes).
    int nRequestType = 0;           // what SendRequest sends; 0: fed by broadcast only
    int nReplyType = 0;             // the reply whose own line opens the feeding cycle
    std::span<const int> liveTypes = {};    // live lines: held during a refill, applied once complete
    std::span<const int> directTypes = {};  // lines the class applies itself, outside the reply and the gate
    std::span<const TABLE_FIELD_MAP> maps = {};    // fields of further message types
    UINT nFlags = 0;                // TABLEF_
    long crCellBack0 = TABLE_NO_COLOR;  // the grid's background colour of cell attribute 0
    // The currency of a row's COLF_MONEY amounts: the text of this column ("=USD"), or while it
    // is empty (or -1) a unit of nMoneyDecimals decimals; -1 there too: amounts as written.
    int nCurrencyColumn = -1;
    int nMoneyDecimals = -1;
    COMPANY_NAME_COLUMNS company = {};
};
