#include "market/TickerLinks.h"

#include <map>
#include <string>
#include "market/TableLinks.h"
#include "market/DataTable.h"

namespace {
std::map<std::string, ITickerItems*>& Tickers()
{
    static std::map<std::string, ITickerItems*> tickers;
    return tickers;
}
}  // namespace

void RegisterTicker(LPCSTR pszName, ITickerItems* pTicker)
{
    if (pszName == nullptr)
        return;
    if (pTicker == nullptr)
        Tickers().erase(pszName);
    else
        Tickers()[pszName] = pTicker;
}

ITickerItems* FindTicker(LPCSTR pszName)
{
    if (pszName == nullptr)
        return nullptr;
    const auto it = Tickers().find(pszName);
    return it != Tickers().end() ? it->second : nullptr;
}

double GetLastPriceFrom(UINT nNameId, long nStockId)
{
    const ILastPriceSource* pSource = dynamic_cast<const ILastPriceSource*>(FindDataTable(nNameId));
    return pSource != nullptr ? pSource->GetLastPrice(nStockId) : 0.0;
}
