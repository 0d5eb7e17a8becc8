#include "framework/base/Measure.h"

namespace {
const UINT IDS_UNIT_MILLIMETRES = 29000;
const UINT IDS_UNIT_INCHES = 29001;

BOOL ContainsUnit(const CTBString& strLowerText, UINT uNameId)
{
    CTBString strName;
    strName.LoadAppString(uNameId);
    if (strName.GetLength() == 0)
        return FALSE;       // a missing name must not match every text
    strName.MakeLower();
    return FindStringMB(strLowerText, strName) != nullptr;
}
}  // namespace

int GreatestCommonDivisor(int a, int b)
{
    while (b != 0) {
        int r = a % b;
        a = b;
        b = r;
    }
    return a;
}

void ReduceFraction(int& nNumerator, int& nDenominator)
{
    int nDivisor = GreatestCommonDivisor(nNumerator, nDenominator);
    if (nDivisor == 0)
        return;
    nNumerator /= nDivisor;
    nDenominator /= nDivisor;
}

double ConvertMeasure(int nFromUnit, int nToUnit, double dValue)
{
    if (nFromUnit == MEASURE_INCHES && nToUnit == MEASURE_MILLIMETRES)
        return dValue * 25.4;
    if (nFromUnit == MEASURE_MILLIMETRES && nToUnit == MEASURE_INCHES)
        return dValue * 0.03937007874015748;
    return dValue;
}

CTBString GetMeasureUnitName(int nUnit)
{
    CTBString str;
    if (nUnit == MEASURE_MILLIMETRES)
        str.LoadAppString(IDS_UNIT_MILLIMETRES);
    else if (nUnit == MEASURE_INCHES)
        str.LoadAppString(IDS_UNIT_INCHES);
    return str;
}

int ParseMeasureUnit(const char* pszText)
{
    CTBString strText(pszText);
    strText.MakeLower();
    if (ContainsUnit(strText, IDS_UNIT_MILLIMETRES))
        return MEASURE_MILLIMETRES;
    if (ContainsUnit(strText, IDS_UNIT_INCHES))
        return MEASURE_INCHES;
    return -1;
}
