#pragma once
// Fractions and length units of the page setup: unit 0 is inches, 1 millimetres.
#include "framework/base/TBString.h"

const int MEASURE_INCHES = 0;
const int MEASURE_MILLIMETRES = 1;

// Euclid's algorithm; b = 0 gives a.
int  GreatestCommonDivisor(int a, int b);
// Divides both by their greatest common divisor; 0/0 stays as it is.
void ReduceFraction(int& nNumerator, int& nDenominator);
// Equal or unknown units give the value unchanged.
double ConvertMeasure(int nFromUnit, int nToUnit, double dValue);
// The unit's name from the resource module (string 29000 millimetres, 29001 inches); empty for
// other units.
CTBString GetMeasureUnitName(int nUnit);
// The unit whose name the text contains, case ignored: 1 millimetres, 0 inches, -1 neither.
int  ParseMeasureUnit(const char* pszText);
