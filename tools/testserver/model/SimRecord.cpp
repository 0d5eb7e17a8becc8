#include "tools/testserver/model/SimRecord.h"
#include <charconv>
#include <cmath>
#include <cstdint>

// Writes the digits from the right end of a buffer of 48 bytes; returns where they start.
static char* UnitsText(char* pEnd, int64_t nUnits, int nDecimals, bool bPoint)
{
    nDecimals = nDecimals < 0 ? 0 : nDecimals > 18 ? 18 : nDecimals;
    const bool bNegative = nUnits < 0;
    uint64_t nAbs = bNegative ? 0 - static_cast<uint64_t>(nUnits) : static_cast<uint64_t>(nUnits);
    char* p = pEnd;
    if (bPoint) {
        // The fraction, at least one digit, then the '.'.
        for (int i = 0; i < (nDecimals > 0 ? nDecimals : 1); ++i) {
            *--p = static_cast<char>('0' + (nDecimals > 0 ? nAbs % 10 : 0));
            if (nDecimals > 0)
                nAbs /= 10;
        }
        *--p = '.';
    }
    do {
        *--p = static_cast<char>('0' + nAbs % 10);
        nAbs /= 10;
    } while (nAbs != 0);
    if (bNegative)
        *--p = '-';
    return p;
}

std::string FormatUnits(int64_t nUnits, int nDecimals)
{
    char sz[48];
    const char* p = UnitsText(sz + sizeof sz, nUnits, nDecimals, true);
    return std::string(p, static_cast<size_t>(sz + sizeof sz - p));
}

void AssignUnits(std::string& str, int64_t nUnits, int nDecimals)
{
    char sz[48];
    const char* p = UnitsText(sz + sizeof sz, nUnits, nDecimals, true);
    str.assign(p, static_cast<size_t>(sz + sizeof sz - p));
}

void AssignInt(std::string& str, int64_t nValue)
{
    char sz[48];
    const char* p = UnitsText(sz + sizeof sz, nValue, 0, false);
    str.assign(p, static_cast<size_t>(sz + sizeof sz - p));
}

void CSimRecordSlots::Bind(CSimRecord& rec, const char* const* ppszNames, size_t nCount)
{
    m_slots.clear();
    for (size_t i = 0; i < nCount; ++i)
        m_slots.push_back(&rec[ppszNames[i]]);
}

std::string FormatDouble(double dValue, int nDecimals)
{
    if (nDecimals < 1)
        nDecimals = 1;
    if (!std::isfinite(dValue))
        dValue = 0.0;
    // Through integers: printf's "%f" would take the decimal point from the locale. Rounded as the
    // amount is written in decimal (its shortest text), half away from zero: 1240.6725 to three
    // places is 1240.673, as a statement rounds it, though its double lies a hair below.
    if (nDecimals > 18)
        nDecimals = 18;
    char szShortest[400];
    const auto result = std::to_chars(szShortest, szShortest + sizeof szShortest - 1, dValue, std::chars_format::fixed);
    if (result.ec != std::errc())
        return FormatUnits(0, nDecimals);
    *result.ptr = '\0';
    const char* p = szShortest;
    const bool bNegative = *p == '-';
    p += bNegative ? 1 : 0;
    uint64_t nUnits = 0;
    int nFraction = -1;
    bool bUp = false;
    for (; *p != '\0'; ++p) {
        if (*p == '.') {
            nFraction = 0;
            continue;
        }
        if (nFraction == nDecimals) {
            bUp = *p >= '5';
            break;
        }
        if (nUnits > UINT64_MAX / 20)
            return FormatUnits(0, nDecimals);
        nUnits = nUnits * 10 + static_cast<uint64_t>(*p - '0');
        nFraction += nFraction >= 0 ? 1 : 0;
    }
    for (int i = nFraction < 0 ? 0 : nFraction; i < nDecimals; ++i)
        nUnits *= 10;
    nUnits += bUp ? 1 : 0;
    const int64_t nSigned = static_cast<int64_t>(nUnits > static_cast<uint64_t>(INT64_MAX) ? INT64_MAX : nUnits);
    return FormatUnits(bNegative ? -nSigned : nSigned, nDecimals);
}

void SetField(CSimRecord& rec, const char* pszName, const std::string& strValue)
{
    auto it = rec.find(pszName);
    if (it == rec.end())
        rec.emplace(pszName, strValue);
    else
        it->second.assign(strValue);
}

void SetField(CSimRecord& rec, const char* pszName, int64_t nValue)
{
    AssignInt(rec[pszName], nValue);
}

const std::string& GetField(const CSimRecord& rec, const std::string& strName)
{
    static const std::string s_strEmpty;
    const auto it = rec.find(strName);
    return it == rec.end() ? s_strEmpty : it->second;
}

double GetDouble(const CSimRecord& rec, const std::string& strName)
{
    const std::string& str = GetField(rec, strName);
    double dValue = 0;
    std::from_chars(str.data(), str.data() + str.size(), dValue);
    return dValue;
}
