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

void CloseTicker(CTickerWnd* pTicker)
{
    if (Closer())
        Closer()(pTicker);
}

void RegisterTickerMaker(TickerMaker pfnMaker)
{
    s_pfnMaker = pfnMaker;
}

TickerMaker GetTickerMaker()
{
    return s_pfnMaker;
}
