#pragma once
// What a symbol's row offers wherever the terminal lists symbols of the quoted markets (the watch
// list, the US orders and positions): go to the symbol, its order book, its news. One rule and
// one action each, so that an item reads and works alike in every table.
#include "platform/mfc/String.h"
#include "platform/win/WinTypes.h"

#define ID_SYMBOL_GO_TO 33567
#define ID_SYMBOL_ORDER_BOOK 33568
#define ID_SYMBOL_NEWS 33569
#define BOOK_MARKET_TEXT "NMS"          // the market whose symbols the US books carry

// TRUE for the three ids above.
BOOL IsSymbolCommand(UINT nId);
// Whether the command has something to open for a symbol of that market (its name as the
// tables show it; none for a market the market list does not name): going to it needs a market
// shown by its charts, news the user's news rights; the order book opens the US book or the
// market's page, so it always has one.
BOOL CanRunSymbolCommand(UINT nId, LPCSTR pszMarket);
// The command for the symbol. The order book of a book market follows the symbol in the US book
// and shows it, when the watch list holds the symbol (the book takes lines only for its rows);
// any other symbol gets the market's order-book page. News asks the company news for the key
// "COMPANY:<symbol>".
void RunSymbolCommand(UINT nId, LPCSTR pszSymbol, LPCSTR pszMarket);
