// Fuzz target value_conversions: the cell value conversions (numbers, sixty-fourths, texts,
// dates and times, packed dates) and the date and time functions under them.
//
// Input: an operation byte, the separators, patterns and column settings it runs with, then the
// typed text (up to a NUL). Operations:
//   0  a typed text into a numeric cell, shown, read back
//   1  a sixty-fourths text ("10 17/32") read, shown, read back
//   2  a typed text into a date or time cell, shown, read back
//   3  the date and time functions on raw fields, bytes and patterns
//   4  two integer cells of different decimal codes compared, added and subtracted
//   5  the number normaliser into small buffers, and the order of plain number texts
//
// Properties: a refused text leaves the cell as it was (an integer cell with its missing
// marker); every display text is terminated inside its buffer, and a number that does not fit
// shows as '#' characters only; what a reader takes, the display shows, and the shown text reads
// back as the same value; comparisons are antisymmetric and agree with exact arithmetic; an
// addition that succeeded is undone by the subtraction.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "framework/base/ColumnValues.h"
#include "framework/base/DateTime.h"
#include "framework/base/NorvGlobals.h"
#include "fuzz/common/FuzzInput.h"
#include "fuzz/platform/win/FuzzFiles.h"

namespace {

const size_t TEXT_MAX = 400;
const int BIG = 1024;                       // room for any number at any decimal code
const char GUARD = '\x7f';

// Patterns whose display reads back as the same value, and some that lose a field on the way.
const char* const s_apszDates[] = {"D/M/Y", "Y/M/D", "M-D-Y", "Y.M.D", "d/m/Y", "DMY", "d/m/y", "D.M", "Y"};
const char* const s_apszTimes[] = {"H:M:S", "h:M:S", "H.M.S", "HMS", "H:M", "h:m:s"};
const int ROUND_TRIP_DATES = 6;             // the first ones keep every field
const int ROUND_TRIP_TIMES = 4;
// English and Arabic both write '.' and ','; a user's settings may swap them.
const struct { char chDecimal, chThousands; } s_separators[] = {{'.', ','}, {',', '.'}};

// Puts back the globals an input changed, so that nothing leaks into the next one.
class CGlobalsScope
{
public:
    CGlobalsScope()
        : m_chDecimal(GetNorvGlobals().m_chDecimal), m_chThousands(GetNorvGlobals().m_chThousands),
          m_strDate(GetNorvGlobals().m_strDatePattern), m_strTime(GetNorvGlobals().m_strTimePattern)
    {
    }
    ~CGlobalsScope()
    {
        CNorvGlobals& g = GetNorvGlobals();
        g.m_chDecimal = m_chDecimal;
        g.m_chThousands = m_chThousands;
        g.m_strDatePattern = m_strDate;
        g.m_strTimePattern = m_strTime;
    }

private:
    char m_chDecimal, m_chThousands;
    CTBString m_strDate, m_strTime;
};

// A cell and the storage a row would give it, with guard bytes around the storage.
struct CTestCell
{
    explicit CTestCell(int nType) : m_nType(nType)
    {
        std::memset(m_achStorage, GUARD, sizeof(m_achStorage));
        if (ColumnTypeIsStored(nType))
            m_slot.pData = m_achStorage + 8;
        else
            m_slot.nValue = 0x5A5A5A5A;
    }
    // The bytes a value of the type takes: what must stay as it was after a refused read.
    std::string Value() const
    {
        switch (m_nType) {
        case COLTYPE_INT64:
        case COLTYPE_DOUBLE:          return std::string(m_achStorage + 8, 8);
        case COLTYPE_STRING:          return std::string(m_achStorage + 8, 64);
        case COLTYPE_PACKED_DATETIME: return std::string(m_achStorage + 8, 6);
        case COLTYPE_DATE_TEXT:       return std::string(m_achStorage + 8, 8);
        case COLTYPE_TIME_TEXT:       return std::string(m_achStorage + 8, 6);
        case COLTYPE_DATETIME_TEXT:   return std::string(m_achStorage + 8, 14);
        default:                      return std::string(m_slot.achBytes, 4);
        }
    }
    // Nothing written before the storage or past the bytes of its type.
    bool GuardsHold() const
    {
        const size_t nUsed = ColumnTypeIsStored(m_nType) ? Value().size() : 0;
        for (size_t i = 0; i < sizeof(m_achStorage); ++i)
            if ((i < 8 || i >= 8 + nUsed) && m_achStorage[i] != GUARD)
                return false;
        return true;
    }

    int m_nType;
    TBCellSlot m_slot{};
    char m_achStorage[8 + 64 + 16];
};

// The display text into a buffer of nSize with guard bytes behind it, checked for bounds.
std::string Show(const CTestCell& cell, int nSize, int nDecimals, const CColumnDataType& type)
{
    std::vector<char> buffer(static_cast<size_t>(nSize) + 8, GUARD);
    const int n = FormatColumnValue(buffer.data(), nSize, &cell.m_slot, nDecimals, type);
    for (size_t i = static_cast<size_t>(nSize); i < buffer.size(); ++i)
        FUZZ_CHECK_SAY(buffer[i] == GUARD, "a display stays in its buffer", "type %d, d %d, size %d",
                       type.GetDataType(), nDecimals, nSize);
    const size_t nLength = strnlen(buffer.data(), static_cast<size_t>(nSize));
    FUZZ_CHECK_SAY(nLength < static_cast<size_t>(nSize), "a display is terminated in its buffer", "size %d", nSize);
    FUZZ_CHECK(static_cast<size_t>(n) == nLength, "a display counts what it wrote");
    return std::string(buffer.data(), nLength);
}

bool AllHashes(const std::string& str)
{
    return str.find_first_not_of('#') == std::string::npos;
}

CColumnDataType TakeType(CFuzzInput& input, int nType)
{
    const BOOL bGroup = input.TakeBool();
    const int nOmit = input.TakeInt(0, 2);
    const int nMinDecimals = input.TakeInt(0, 7);
    const BOOL bBlankZero = input.TakeBool();
    return CColumnDataType(nType, bGroup, nOmit, nMinDecimals, bBlankZero);
}

int TakeDecimals(CFuzzInput& input)
{
    static const int s_anCommon[] = {-99, -6, -4, -2, -1, 0, 1, 3, -98, 9};
    if (input.TakeInt(0, 3) == 0)
        return static_cast<int8_t>(input.TakeByte());       // any signed byte a view column holds
    return s_anCommon[input.TakeInt(0, 9)];
}

void SetGlobals(CFuzzInput& input, int* pnDate, int* pnTime)
{
    const auto& sep = s_separators[input.TakeInt(0, 1)];
    CNorvGlobals& g = GetNorvGlobals();
    g.m_chDecimal = sep.chDecimal;
    g.m_chThousands = sep.chThousands;
    *pnDate = input.TakeInt(0, sizeof(s_apszDates) / sizeof(s_apszDates[0]) - 1);
    *pnTime = input.TakeInt(0, sizeof(s_apszTimes) / sizeof(s_apszTimes[0]) - 1);
    g.m_strDatePattern = s_apszDates[*pnDate];
    g.m_strTimePattern = s_apszTimes[*pnTime];
}

// Reads the text; checks what a refusal must leave; returns whether it was read.
bool Read(CTestCell& cell, int nDecimals, const CColumnDataType& type, const std::string& strText)
{
    const std::string strBefore = cell.Value();
    const BOOL bRead = ParseColumnValue(&cell.m_slot, 64, nDecimals, type, strText.c_str());
    FUZZ_CHECK(cell.GuardsHold(), "a read stays in the cell's storage");
    if (!bRead) {
        const int nType = type.GetDataType();
        if (nType == COLTYPE_INT32 || nType == COLTYPE_INT || nType == COLTYPE_COMPUTED)
            FUZZ_CHECK(cell.m_slot.nValue == MISSING_INT32, "a refused integer leaves the missing marker");
        else if (nType == COLTYPE_INT64)
            FUZZ_CHECK(cell.Value() == std::string(reinterpret_cast<const char*>(&MISSING_INT64), 8),
                       "a refused integer leaves the missing marker");
        else
            FUZZ_CHECK(cell.Value() == strBefore, "a refused text leaves the cell as it was");
    }
    return bRead != FALSE;
}

// Operation 0: numbers.
void Numbers(CFuzzInput& input)
{
    static const int s_anTypes[] = {COLTYPE_INT32, COLTYPE_INT64, COLTYPE_DOUBLE, COLTYPE_INT, COLTYPE_COMPUTED};
    const int nType = s_anTypes[input.TakeInt(0, 4)];
    const int nDecimals = TakeDecimals(input);
    const CColumnDataType type = TakeType(input, nType);
    const int nSmall = input.TakeInt(1, 40);
    const std::string strText = input.TakeText(TEXT_MAX);
    CTestCell cell(nType);
    if (!Read(cell, nDecimals, type, strText))
        return;
    const std::string strShown = Show(cell, BIG, nDecimals, type);
    const std::string strSmall = Show(cell, nSmall, nDecimals, type);
    if (strShown.size() < static_cast<size_t>(nSmall))
        FUZZ_CHECK(strSmall == strShown, "a display that fits is the whole text");
    else
        FUZZ_CHECK(strSmall.size() == static_cast<size_t>(nSmall - 1) && AllHashes(strSmall),
                   "a number that does not fit shows '#' characters");
    if (AllHashes(strShown) && !strShown.empty())
        return;     // a missing value, or one past every buffer
    CTestCell back(nType);
    FUZZ_CHECK_SAY(Read(back, nDecimals, type, strShown), "a shown number reads back", "type %d, d %d: '%s' from '%s'",
                   nType, nDecimals, strShown.c_str(), strText.c_str());
    const std::string strAgain = Show(back, BIG, nDecimals, type);
    FUZZ_CHECK_SAY(strAgain == strShown, "a shown number reads back as the same value", "type %d, d %d: '%s' then '%s'",
                   nType, nDecimals, strShown.c_str(), strAgain.c_str());
    if (nType == COLTYPE_DOUBLE) {
        double dFirst, dBack;
        std::memcpy(&dFirst, cell.m_slot.pData, 8);
        std::memcpy(&dBack, back.m_slot.pData, 8);
        // The display rounds; reading it gives the value rounded as the display did.
        if (nDecimals < 0 && nDecimals != DECIMALS_64THS)
            FUZZ_CHECK_SAY(dBack == RoundHalfAwayFromZero(dFirst, -nDecimals), "a double reads back rounded as shown",
                           "%.17g then %.17g, d %d", dFirst, dBack, nDecimals);
    } else {
        FUZZ_CHECK_SAY(back.Value() == cell.Value(), "a shown integer reads back as the same value",
                       "type %d, d %d: '%s'", nType, nDecimals, strShown.c_str());
    }
}

// Operation 1: sixty-fourths texts.
void SixtyFourths(CFuzzInput& input)
{
    const BOOL bBlankZero = input.TakeBool();
    const CColumnDataType type = TakeType(input, COLTYPE_INT64);
    const std::string strText = input.TakeText(64);
    int32_t n32 = 12345;
    LONGLONG n64 = 12345;
    const BOOL b32 = ParseFractionText(&n32, strText.c_str(), bBlankZero);
    const BOOL b64 = ParseFractionText64(&n64, strText.c_str(), bBlankZero);
    if (!b32)
        FUZZ_CHECK(n32 == MISSING_INT32, "a refused fraction leaves the missing marker");
    if (b32)
        FUZZ_CHECK(b64 && n64 == n32, "what the 32-bit reader takes, the 64-bit one takes alike");
    if (!b64)
        return;
    char szShown[BIG];
    FormatInt64Value(szShown, sizeof(szShown), n64, DECIMALS_64THS, type);
    if (n64 == MISSING_INT64 || AllHashes(szShown))
        return;
    LONGLONG nBack = 0;
    FUZZ_CHECK_SAY(ParseFractionText64(&nBack, szShown, type.GetBlankZero()) && nBack == n64,
                   "a shown fraction reads back as the same value", "'%s' from '%s'", szShown, strText.c_str());
}

// Operation 2: dates and times.
void DatesAndTimes(CFuzzInput& input, int nDate, int nTime)
{
    static const int s_anTypes[] = {COLTYPE_PACKED_DATE, COLTYPE_PACKED_TIME, COLTYPE_PACKED_DATETIME,
                                    COLTYPE_DATE_TEXT, COLTYPE_TIME_TEXT, COLTYPE_DATETIME_TEXT};
    const int nType = s_anTypes[input.TakeInt(0, 5)];
    const int nSmall = input.TakeInt(1, 24);
    const std::string strText = input.TakeText(64);
    const CColumnDataType type(nType, FALSE, 0, 0, TRUE);
    CTestCell cell(nType);
    if (!Read(cell, 0, type, strText))
        return;
    const std::string strShown = Show(cell, BIG, 0, type);
    const std::string strSmall = Show(cell, nSmall, 0, type);
    FUZZ_CHECK(strShown.compare(0, strSmall.size(), strSmall) == 0, "a short display is a prefix of the whole");
    // What a reader takes, the display shows: nothing is dropped from the screen or an export.
    FUZZ_CHECK_SAY(!strShown.empty(), "a date or time read is shown", "type %d, '%s' with %s %s", nType,
                   strText.c_str(), s_apszDates[nDate], s_apszTimes[nTime]);
    CTestCell back(nType);
    FUZZ_CHECK_SAY(Read(back, 0, type, strShown), "a shown date reads back", "type %d, '%s' with %s %s", nType,
                   strShown.c_str(), s_apszDates[nDate], s_apszTimes[nTime]);
    const std::string strAgain = Show(back, BIG, 0, type);
    FUZZ_CHECK_SAY(strAgain == strShown, "a shown date reads back as the same value", "'%s' then '%s'",
                   strShown.c_str(), strAgain.c_str());
    // A pattern with every field loses nothing: the stored bytes come back as they were. A
    // two-digit year does only for the years it can name.
    const bool bDateKeeps = nDate < ROUND_TRIP_DATES;
    const bool bTimeKeeps = nTime < ROUND_TRIP_TIMES;
    const bool bNeedsDate = nType != COLTYPE_PACKED_TIME && nType != COLTYPE_TIME_TEXT;
    const bool bNeedsTime = nType != COLTYPE_PACKED_DATE && nType != COLTYPE_DATE_TEXT;
    if ((!bNeedsDate || bDateKeeps) && (!bNeedsTime || bTimeKeeps))
        FUZZ_CHECK_SAY(back.Value() == cell.Value(), "a shown date reads back as the same bytes", "'%s'",
                       strShown.c_str());
}

// Operation 3: the date and time functions on raw values.
void RawDates(CFuzzInput& input)
{
    const int nYear = input.TakeInt(-10, 10010);
    const int nMonth = input.TakeInt(-1, 14);
    const int nDay = input.TakeInt(-1, 33);
    const int nSize = input.TakeInt(1, 24);
    const std::string strPattern = input.TakeText(12);
    const std::string strText = input.TakeText(32);
    std::vector<char> buffer(static_cast<size_t>(nSize) + 8, GUARD);
    FormatDate(buffer.data(), nSize, strPattern.c_str(), nYear, nMonth, nDay);
    FUZZ_CHECK(strnlen(buffer.data(), nSize) < static_cast<size_t>(nSize), "a date is terminated in its buffer");
    FormatTime(buffer.data(), nSize, strPattern.c_str(), nMonth, nDay, nYear % 70);
    FUZZ_CHECK(strnlen(buffer.data(), nSize) < static_cast<size_t>(nSize), "a time is terminated in its buffer");
    const BYTE abPacked[6] = {static_cast<BYTE>(nYear), static_cast<BYTE>(nMonth + '0'), static_cast<BYTE>(nDay),
                              static_cast<BYTE>(nSize + '0'), static_cast<BYTE>(nMonth), static_cast<BYTE>(nDay + '0')};
    FormatPackedDateTime(buffer.data(), nSize, reinterpret_cast<const char*>(abPacked), strPattern.c_str(), "H:M:S");
    FUZZ_CHECK(strnlen(buffer.data(), nSize) < static_cast<size_t>(nSize), "a date and time is terminated");
    FormatDateTimeText(buffer.data(), nSize, strText.c_str(), strPattern.c_str(), "H:M:S");
    FUZZ_CHECK(strnlen(buffer.data(), nSize) < static_cast<size_t>(nSize), "a date text is terminated");
    for (size_t i = static_cast<size_t>(nSize); i < buffer.size(); ++i)
        FUZZ_CHECK(buffer[i] == GUARD, "the date functions stay in their buffer");

    // Stored bytes as the server or a file gives them, damaged or not: shown within the buffer.
    static const int s_anStored[] = {COLTYPE_INT32, COLTYPE_INT64, COLTYPE_DOUBLE, COLTYPE_CHAR4,
                                     COLTYPE_STRING, COLTYPE_PACKED_DATE, COLTYPE_PACKED_TIME,
                                     COLTYPE_PACKED_DATETIME, COLTYPE_DATE_TEXT, COLTYPE_TIME_TEXT,
                                     COLTYPE_DATETIME_TEXT};
    for (int nType : s_anStored) {
        CTestCell cell(nType);
        const CColumnDataType type(nType, TRUE, 0, 0, TRUE);
        FUZZ_CHECK(StoreColumnValue(&cell.m_slot, 64, type, strText.c_str()) && cell.GuardsHold(),
                   "a stored value stays in the cell's storage");
        const std::string strShown = Show(cell, nSize, nMonth, type);
        if (ColumnTypeIsNumeric(nType) && strShown.size() == static_cast<size_t>(nSize - 1) && nSize > 1)
            FUZZ_CHECK(AllHashes(strShown) || Show(cell, BIG, nMonth, type) == strShown,
                       "a number that does not fit shows '#' characters");
    }

    int y, m, d;
    const char* p = strText.c_str();
    if (ParseDate(&y, &m, &d, &p, strPattern.c_str())) {
        FUZZ_CHECK(IsValidDate(y, m, d) && y >= DATE_YEAR_FIRST && y <= DATE_YEAR_LAST, "a date read is valid");
        char sz[16];
        FormatDate(sz, sizeof(sz), "Y/M/D", y, m, d);
        FUZZ_CHECK_SAY(sz[0] != '\0', "a date read can be shown", "%d-%d-%d", y, m, d);
    }
    p = strText.c_str();
    int h, mi, s;
    if (ParseTime(&h, &mi, &s, &p, strPattern.c_str())) {
        char sz[16];
        FormatTime(sz, sizeof(sz), "H:M:S", h, mi, s);
        FUZZ_CHECK_SAY(sz[0] != '\0', "a time read can be shown", "%d:%d:%d", h, mi, s);
    }
}

// The exact order of value / 10^-d (d below 0), value * 10^d, value / 64: scaled to a common
// denominator in 128 bits.
int ExactOrder(int32_t a, int nA, int32_t b, int nB)
{
    // In units of 10^-9 / 64: a decimal code's value is v * 64 * 10^(9 + d), a 64ths one v * 10^9.
    auto Scale = [](int32_t v, int n) {
        __int128 x = v;
        const int nPower = n == DECIMALS_64THS ? 9 : 9 + n;
        for (int i = 0; i < nPower; ++i)
            x *= 10;
        return n == DECIMALS_64THS ? x : x * 64;
    };
    const __int128 x = Scale(a, nA), y = Scale(b, nB);
    return x < y ? -1 : x > y ? 1 : 0;
}

int Sign(int n)
{
    return n < 0 ? -1 : n > 0 ? 1 : 0;
}

// Operation 4: comparing and summing integer cells across decimal codes.
void CompareAndSum(CFuzzInput& input)
{
    static const int s_anCodes[] = {-9, -6, -2, -1, 0, 1, 3, 9, DECIMALS_64THS};
    const int32_t a = static_cast<int32_t>(input.TakeInt(INT32_MIN, INT32_MAX));
    const int32_t b = static_cast<int32_t>(input.TakeInt(INT32_MIN, INT32_MAX));
    const int nA = s_anCodes[input.TakeInt(0, 8)];
    const int nB = s_anCodes[input.TakeInt(0, 8)];
    const int nAB = CompareIntValues(a, nA, b, nB);
    FUZZ_CHECK(Sign(nAB) == -Sign(CompareIntValues(b, nB, a, nA)), "comparing is antisymmetric");
    FUZZ_CHECK(CompareIntValues(a, nA, a, nA) == 0, "a value equals itself");
    if (a != MISSING_INT32 && b != MISSING_INT32 && nA != nB)
        FUZZ_CHECK_SAY(Sign(nAB) == ExactOrder(a, nA, b, nB), "comparing across codes orders by value",
                       "%d at %d against %d at %d: %d", a, nA, b, nB, nAB);
    int32_t nTarget = a;
    if (AddIntValue(&nTarget, nA, b, nA)) {
        FUZZ_CHECK(SubtractIntValue(&nTarget, nA, b, nA) && nTarget == a, "a subtraction undoes an addition");
    }
    LONGLONG n64 = static_cast<LONGLONG>(a) << 20;
    const LONGLONG n64Before = n64;
    if (AddInt64Value(&n64, nA, b, nA))
        FUZZ_CHECK(SubtractInt64Value(&n64, nA, b, nA) && n64 == n64Before, "a subtraction undoes an addition");
}

// Operation 5: the normaliser's bounds and the order of plain number texts.
void Normalise(CFuzzInput& input)
{
    const int nDecimals = TakeDecimals(input);
    const int nSize = input.TakeInt(1, 40);
    const BOOL bKeepPoint = input.TakeBool();
    const std::string strFirst = input.TakeText(TEXT_MAX);
    const std::string strSecond = input.TakeText(64);
    std::vector<char> buffer(static_cast<size_t>(nSize) + 8, GUARD);
    const BOOL bFits = NormalizeNumberText(buffer.data(), nSize, strFirst.c_str(), nDecimals, bKeepPoint);
    FUZZ_CHECK(strnlen(buffer.data(), nSize) < static_cast<size_t>(nSize), "a plain text is terminated");
    for (size_t i = static_cast<size_t>(nSize); i < buffer.size(); ++i)
        FUZZ_CHECK(buffer[i] == GUARD, "the normaliser stays in its buffer");
    char szFirst[1100], szSecond[1100];
    if (!NormalizeNumberText(szFirst, sizeof(szFirst), strFirst.c_str(), nDecimals, TRUE) ||
        !NormalizeNumberText(szSecond, sizeof(szSecond), strSecond.c_str(), nDecimals, TRUE))
        return;
    if (bFits)
        FUZZ_CHECK(NormalizeNumberText(szFirst, sizeof(szFirst), strFirst.c_str(), nDecimals, bKeepPoint) &&
                       std::string(szFirst) == buffer.data(),
                   "a small buffer that takes the text gives the same text");
    NormalizeNumberText(szFirst, sizeof(szFirst), strFirst.c_str(), nDecimals, TRUE);
    const int n = CompareNumberText(szFirst, szSecond);
    FUZZ_CHECK(Sign(n) == -Sign(CompareNumberText(szSecond, szFirst)), "number texts order antisymmetrically");
    FUZZ_CHECK(CompareNumberText(szFirst, szFirst) == 0, "a number text equals itself");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t cbData)
{
    CGlobalsScope globals;
    CFuzzInput input(pData, cbData);
    const int nOperation = input.TakeInt(0, 5);
    int nDate, nTime;
    SetGlobals(input, &nDate, &nTime);
    switch (nOperation) {
    case 0: Numbers(input); break;
    case 1: SixtyFourths(input); break;
    case 2: DatesAndTimes(input, nDate, nTime); break;
    case 3: RawDates(input); break;
    case 4: CompareAndSum(input); break;
    default: Normalise(input); break;
    }
    return 0;
}
