#include "market/TableDescription.h"
#include <iterator>

namespace {
struct KIND
{
    int nPixels;
    const char* pszLargest;
};

// Indexed by -kind - 1. Each width holds its largest figure in the grid's and the printer's
// font in either language, with the cell's margins.
const KIND s_kinds[] = {
    {135, "-1234567890.125"},       // money
    {120, "-1234567890"},           // quantity, with up to three decimals
    {100, "1234567890"},            // volume
    {90, "99999.9999"},             // price
    {70, "-1234.56"},               // per cent
    {85, "2147483647"},             // number
    {95, nullptr},                  // code
    {300, "KW-2026-12-09-ORDER-0000123456-ABCDEFGH"},   // reference: the ticket's 40 characters
    {160, ""},                      // market
    {280, nullptr},                 // name: a company's of 50 letters in Arabic
    {90, "20261231"},               // date
    {65, "235959"},                 // time
    {125, "20261231235959"},        // date and time
    {85, "9999999"},                // count: its totals stay within a whole number's range
    {110, "-12345678.12"},          // a position's gain per cent
};
static_assert(std::size(s_kinds) == static_cast<size_t>(-COLUMN_KIND_FIRST));

const KIND* Kind(int nKind)
{
    return nKind < 0 && nKind >= COLUMN_KIND_FIRST ? &s_kinds[-nKind - 1] : nullptr;
}
}  // namespace

int ColumnKindWidth(int nWidth)
{
    const KIND* pKind = Kind(nWidth);
    return pKind != nullptr ? pKind->nPixels : nWidth;
}

const char* ColumnKindLargest(int nKind)
{
    const KIND* pKind = Kind(nKind);
    return pKind != nullptr ? pKind->pszLargest : nullptr;
}
