#pragma once
// Rounding of a decimal to a number of decimals by a mode. The value is rounded as it is
// written (the shortest text that reads back to the same double), so 1.005 rounds to 1.01 as
// the user sees it, not to 1.00 as its binary neighbour 1.00499999... would.
#include "platform/win/WinTypes.h"

#define ROUND_HALF_UP 0     // half rounds towards plus infinity: 2.5 -> 3, -2.5 -> -2
#define ROUND_UP 1          // towards plus infinity
#define ROUND_DOWN 2        // towards minus infinity

// Any other mode gives 0.0; a value that is not finite comes back as it is.
double RoundByMode(int nMode, double dValue, int nDecimals);
