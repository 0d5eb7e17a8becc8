#pragma once
// The KSE tick-size bands that a "TU" line carries: triples of (a, b, t) from data field 0 on,
// walked into at most MAX_TICK_BANDS bands. The tick table shows them; the walk is kept apart
// from the table so that the arithmetic stands on its own.
#include "platform/win/WinTypes.h"

class CServerMessage;

#define MAX_TICK_BANDS 10

struct TICK_BAND
{
    int nBand = 0;          // 0, 1, ... in line order: the row's key
    double dHigh = 0.0;     // low plus b: where the next band starts; 0 when b is 0
    double dLow = 0.0;
    double dUpper = 0.0;    // b; 0 when b is 0
    long nTick = 0;         // t in hundredths, rounded to the nearest
    // As the line gave them, for whoever checks a price against the band.
    long nFrom = 0;         // the last non-zero a so far, plus 1
    long nWidth = 0;        // b
};

// Walks the line's triples while fields remain and fewer than nMax bands are made. A triple
// whose tick rounds to 0 makes no band and takes no number. Fields missing from a triple read
// as 0. Returns the number of bands written to pBands (nMax at most; 0 for a null array).
int ComputeTickBands(const CServerMessage& line, TICK_BAND* pBands, int nMax);
