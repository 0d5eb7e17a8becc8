#pragma once
// The page range of the print dialog as the user types it: one page ("4"), a range ("3-5",
// "3:5"), an operator before or after a page ("<=7", "7>=", "=2"), an open end ("5-" from 5,
// "-5" to 5). A bound of -1 is open: from the first page, to the last.
#include "framework/base/TBString.h"

// Both bounds -1 for a blank text and for one that is no page range.
void ParsePageRange(const char* pszText, int& nFrom, int& nTo);
// The text that reads back as the same range: "" all pages, ">4" from 4, "<7" to 7, "5" one
// page, "3-5".
CTBString FormatPageRange(int nFrom, int nTo);
