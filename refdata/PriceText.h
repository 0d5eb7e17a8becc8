#pragma once
// How a price reads wherever the trader meets it: an order form's field, a review, an
// acknowledgement, a notice, a table's cell. A price shows every decimal it carries and never
// fewer than its market's prices have, so that nobody confirms or reads a price the order does
// not have. The decimals are chosen here and nowhere else; the tables and the fields get them as
// a decimal code and a minimum of fraction digits, which the table engine and the input field
// apply the same way (trailing zeros dropped down to the minimum).
#include "platform/mfc/String.h"

// The decimals of the markets' prices: KSE prices are fils to one decimal (the forward market's
// makers quote more, which their prices carry), US prices dollars to four.
#define KSE_PRICE_DECIMALS      1
#define US_PRICE_DECIMALS       4
// The most decimals a price shows (what a double holds of a price reliably), and the most an
// order request's price field carries: a price of more is refused before it is sent.
#define MAX_PRICE_DECIMALS      6
#define REQUEST_PRICE_DECIMALS  4
// The decimal code of a price column or field: all it shows, trailing zeros dropped down to the
// market's decimals given as its minimum.
#define PRICE_DECIMAL_CODE      (-MAX_PRICE_DECIMALS)

// The decimals the price shows with: those it carries, at least nLeastDecimals.
int ShownPriceDecimals(double dPrice, int nLeastDecimals);
// The price's text ("%.*f", no grouping) with those decimals: 849.585 at 1 reads "849.585",
// 850 reads "850.0".
CString FormatPrice(double dPrice, int nLeastDecimals);
// The decimals a price's text carries, zeros at its end aside ("845.5680" 3, "850" 0); -1 for
// a text that is no plain number.
int PriceTextDecimals(const char* pszPrice);
