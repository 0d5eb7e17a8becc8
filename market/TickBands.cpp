#include "market/TickBands.h"

#include <cmath>
#include "link/ServerMessage.h"

namespace {
const long PRICE_CAP = 100000;          // fils: bands from here on are pinned to a width's multiple

double BandLow(long nFrom, long nWidth)
{
    if (nFrom == 0)
        return 0.0;
    if (nFrom < PRICE_CAP)
        return static_cast<double>(nFrom);
    // Without a width there is nothing to align to: the band starts where the line says.
    if (nWidth == 0)
        return static_cast<double>(nFrom);
    const long nRest = PRICE_CAP % nWidth;
    return static_cast<double>(nRest == 0 ? PRICE_CAP - nWidth : PRICE_CAP - nRest);
}
}  // namespace

int ComputeTickBands(const CServerMessage& line, TICK_BAND* pBands, int nMax)
{
    if (pBands == nullptr || nMax <= 0)
        return 0;
    int nBands = 0;
    double dPrevious = 0.0;
    for (int k = 0; k < line.GetSize() && nBands < nMax; k += 3) {
        const long nFrom = line.GetLong(k);
        const long nWidth = line.GetLong(k + 1);
        // Ticks come as decimals of a fils (0.1, 0.5): rounded, so that 0.29 keeps its 29.
        const long long nTick = std::llround(line.GetDouble(k + 2, 0) * 100.0);
        TICK_BAND band;
        band.dLow = BandLow(nFrom, nWidth);
        if (nWidth != 0) {
            band.dUpper = static_cast<double>(nWidth);
            // The band's top: its own start plus its width, as the bands tile the price range.
            band.dHigh = band.dLow + static_cast<double>(nWidth);
        }
        if (nFrom != 0)
            dPrevious = static_cast<double>(nFrom);
        if (nTick == 0)
            continue;
        band.nBand = nBands;
        band.nTick = static_cast<long>(nTick);
        band.nFrom = static_cast<long>(dPrevious) + 1;
        band.nWidth = nWidth;
        pBands[nBands++] = band;
    }
    return nBands;
}
