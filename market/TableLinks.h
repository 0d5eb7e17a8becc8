#pragma once
// How the market tables reach one another and the shared grid clicks: a table from the
// application's table map by its name id, the KSE stock texts of the stock list, and the quick
// filter a click on a cell sets.
#include "platform/mfc/String.h"

class CDataTable;
class CTableMDIWnd;
class CViewRow;

// The open data table of that name id; null when none is open.
CDataTable* FindDataTable(UINT nNameId);
// A quotation table has stored a quote of the symbol on the market: the open position tables
// revalue that symbol's rows at it.
void RevaluePositionsOf(LPCSTR pszSymbol, long nMarketCode);

// What a table gives for a KSE stock id: its symbol (the Arabic one with bSecond).
struct IStockTextSource
{
    virtual ~IStockTextSource() = default;
    virtual CString GetStockSymbol(long nStockId, BOOL bSecond) const = 0;
};
// The symbol that the table of that name id gives; empty while the table does not exist or
// gives none.
CString GetStockSymbolFrom(UINT nNameId, long nStockId, BOOL bSecond);
// TRUE while the user interface is Arabic.
BOOL IsArabicInterface();
// The company of a symbol in its market's symbol list; empty when the list lacks it. With
// bInterface, in the interface's language: the list's Arabic name where it has one.
CString CompanyNameOf(long nMarketCode, LPCSTR pszSymbol, BOOL bInterface = FALSE);

// The one name an order goes by in every line the trader reads about it: a KSE stock's symbol in
// the interface language (its number while the stock list has none); an option series by its
// underlying, right, strike and expiry ("ALPN Put 50.00 18/12/2026"; expiry an eight-digit
// year-month-day, or none).
CString KseOrderName(long nStock);
CString OptionSeriesName(LPCSTR pszUnderlying, int nRight, double dStrike, long nExpiry);

// An order's end (cancelled, expired, filled) is told once, by whichever line tells it first: the
// modify form's acknowledgement or status line, or the order-status table's notice. TRUE, and
// noted, the first time for the order of that market family and number; the user's log-off
// forgets them.
BOOL IsFirstToTellOrderEnd(BOOL bKse, LPCSTR pszOrder);

// The clicked data row's window shows only the rows whose column equals the clicked cell's text,
// on top of its present filters (with bWhileFiltered only while it shows them: its sum mode is
// on; filters the user switched off at the grid's corner are dropped). FALSE (nothing changed)
// for a group or total line.
BOOL FilterViewOnCell(CDataTable* pTable, CViewRow* pRow, int nCol, BOOL bWhileFiltered = FALSE);
// The same on the table's main window for a text; FALSE when it has none.
BOOL ShowRowsOf(CDataTable* pTable, int nCol, LPCSTR pszText);
// The window shows only the rows whose column holds the text, whatever it showed before (a new
// filter set, so a click on the next stock shows that stock); FALSE without a window or view.
BOOL NarrowWindow(CTableMDIWnd* pWindow, int nCol, LPCSTR pszText);
// NarrowWindow on the table's main window, whose last row is then selected (a trades list's
// latest trade); FALSE when the table is not open.
BOOL NarrowToLatest(CDataTable* pTable, int nCol, LPCSTR pszText);
// The table's window of its current view, else its main window; null when it has none.
CTableMDIWnd* GetCurrentViewWindow(CDataTable* pTable);

// A string of the language library.
CString LoadMarketText(UINT nId);
// A command's menu item: its string's short text after the status-bar prompt (the whole string
// when it has no prompt).
CString LoadMenuItemText(UINT nId);

// A line in the information window (a text, or the string of an id when the text is null),
// raised unless the user's level is above nPriority.
void ShowMarketInfo(LPCSTR pszText, UINT nTextId, int nPriority);
