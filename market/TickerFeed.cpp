#include "market/TickerFeed.h"

#include <cstdio>
#include <map>
#include <string>

namespace {
std::map<std::string, ITickerFeed*>& Feeds()
{
    static std::map<std::string, ITickerFeed*> feeds;
    return feeds;
}
}  // namespace

void RegisterTickerFeed(LPCSTR pszName, ITickerFeed* pFeed)
{
    if (pszName == nullptr)
        return;
    if (pFeed == nullptr)
        Feeds().erase(pszName);
    else
        Feeds()[pszName] = pFeed;
}

ITickerFeed* FindTickerFeed(LPCSTR pszName)
{
    if (pszName == nullptr)
        return nullptr;
    const auto it = Feeds().find(pszName);
    return it != Feeds().end() ? it->second : nullptr;
}

void AddPriceItem(ITickerFeed* pFeed, LPCSTR pszLabel, double dLast, double dChange, int nDecimals)
{
    if (pFeed == nullptr)
        return;
    const COLORREF crText = pFeed->GetTextColor();
    const COLORREF crChange = dChange > 0 ? pFeed->GetUpColor() : dChange < 0 ? pFeed->GetDownColor() : crText;
    char szText[96];
    if (pFeed->IsShowingChanges())
        snprintf(szText, sizeof(szText), "%.*f %+.*f", nDecimals, dLast, nDecimals, dChange);
    else
        snprintf(szText, sizeof(szText), "%.*f", nDecimals, dLast);
    pFeed->AddItem(pszLabel, crText, szText, crChange);
}
