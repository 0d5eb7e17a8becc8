#pragma once
// The compact form of a quotation line: "GS" with two data fields, the ticker and the quote's
// further fields packed three symbols into two characters. Expanding it gives the full "GS" line,
// which the quotation table then reads like any other.
#include <string>
#include <string_view>
#include "platform/win/WinTypes.h"

// Writes the full line "~GS|1|XC|<market>|<ticker>|" followed by the unpacked symbols into
// strOut, whose storage is reused from line to line. FALSE, with strOut empty, when a packed character lies outside the alphabet: the line is
// damaged and none of its fields can be trusted. An unpaired last character adds nothing.
BOOL ExpandCompactQuoteLine(long nMarket, std::string_view ticker, std::string_view packed, std::string& strOut);
