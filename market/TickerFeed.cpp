#include "market/TickerFeed.h"

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
