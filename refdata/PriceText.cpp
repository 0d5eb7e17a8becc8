#include "refdata/PriceText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

int ShownPriceDecimals(double dPrice, int nLeastDecimals)
{
    char sz[64];
    snprintf(sz, sizeof sz, "%.*f", MAX_PRICE_DECIMALS, dPrice);
    const int nCarried = std::max(PriceTextDecimals(sz), 0);
    return std::min(std::max(nLeastDecimals, nCarried), MAX_PRICE_DECIMALS);
}

CString FormatPrice(double dPrice, int nLeastDecimals)
{
    CString strText;
    strText.Format("%.*f", ShownPriceDecimals(dPrice, nLeastDecimals), dPrice);
    return strText;
}

int PriceTextDecimals(const char* pszPrice)
{
    if (pszPrice == nullptr)
        return -1;
    const char* p = pszPrice;
    while (*p == ' ')
        ++p;
    if (*p == '-' || *p == '+')
        ++p;
    const size_t nWhole = strspn(p, "0123456789,");
    p += nWhole;
    if (*p != '.')
        return *p == '\0' || *p == ' ' ? 0 : -1;
    const char* pszFraction = ++p;
    const size_t nFraction = strspn(pszFraction, "0123456789");
    if (pszFraction[nFraction] != '\0' && pszFraction[nFraction] != ' ')
        return -1;
    int nDecimals = static_cast<int>(nFraction);
    while (nDecimals > 0 && pszFraction[nDecimals - 1] == '0')
        --nDecimals;
    return nDecimals;
}
