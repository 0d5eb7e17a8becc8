#include "app/Tickers.h"

namespace {
TickerMaker s_pfnMaker = nullptr;

TickerCloser& Closer()
{
    static TickerCloser closer;
    return closer;
}
}  // namespace

void SetTickerCloser(TickerCloser closer)
{
    Closer() = std::move(closer);
}

void CloseTicker(LPCSTR pszName)
{
    if (Closer())
        Closer()(pszName);
}

void RegisterTickerMaker(TickerMaker pfnMaker)
{
    s_pfnMaker = pfnMaker;
}

TickerMaker GetTickerMaker()
{
    return s_pfnMaker;
}
