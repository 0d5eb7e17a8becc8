#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "framework/base/ColumnValues.h"
#include "framework/base/NorvGlobals.h"
#include "tests/common/ExpectedData.h"

namespace {

// Sets the globals' separators and patterns for a test and puts the old ones back.
class ColumnValues : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CNorvGlobals& g = GetNorvGlobals();
        m_chDecimal = g.m_chDecimal;
        m_chThousands = g.m_chThousands;
        m_strDate = g.m_strDatePattern;
        m_strTime = g.m_strTimePattern;
        SetSeparators('.', ',');
        g.m_strDatePattern = "D/M/Y";
        g.m_strTimePattern = "H:M:S";
    }
    void TearDown() override
    {
        CNorvGlobals& g = GetNorvGlobals();
        g.m_chDecimal = m_chDecimal;
        g.m_chThousands = m_chThousands;
        g.m_strDatePattern = m_strDate;
        g.m_strTimePattern = m_strTime;
    }
    static void SetSeparators(char chDecimal, char chThousands)
    {
        GetNorvGlobals().m_chDecimal = chDecimal;
        GetNorvGlobals().m_chThousands = chThousands;
    }

    char m_chDecimal = '.', m_chThousands = ',';
    CTBString m_strDate, m_strTime;
};

CColumnDataType Type(int nType, int nMinDecimals = 0, int nOmit = 0, BOOL bBlankZero = TRUE, BOOL bGroup = TRUE)
{
    return CColumnDataType(nType, bGroup, nOmit, nMinDecimals, bBlankZero);
}

std::string ShowInt(int32_t nValue, int nDecimals, const CColumnDataType& type = Type(COLTYPE_INT32), int nSize = 64)
{
    TBCellSlot cell{};
    cell.nValue = nValue;
    char szText[256] = "?";
    FormatColumnValue(szText, nSize, &cell, nDecimals, type);
    return szText;
}

std::string ShowDouble(double dValue, int nDecimals, const CColumnDataType& type = Type(COLTYPE_DOUBLE))
{
    TBCellSlot cell{};
    cell.pData = &dValue;
    char szText[256] = "?";
    FormatColumnValue(szText, sizeof(szText), &cell, nDecimals, type);
    return szText;
}

// Reads an integer cell; "FAIL" when the read is refused (the cell then holds the marker).
std::string ReadInt(const char* pszText, int nDecimals, const CColumnDataType& type = Type(COLTYPE_INT32))
{
    TBCellSlot cell{};
    cell.nValue = 12345;
    if (!ParseColumnValue(&cell, 0, nDecimals, type, pszText))
        return cell.nValue == MISSING_INT32 ? "FAIL" : "FAIL without marker";
    return std::to_string(cell.nValue);
}

std::vector<std::vector<std::string>> ReadExpected(const char* pszName, char chKind)
{
    return ReadExpectedRows(std::string("tests/framework/base/") + pszName, chKind);
}

double ToDouble(const std::string& str)
{
    double d = 0;
    std::from_chars(str.data(), str.data() + str.size(), d);
    return d;
}

}  // namespace

TEST_F(ColumnValues, ShowsFixedPointAndScaledIntegers)
{
    EXPECT_EQ("1,234.56", ShowInt(123456, -2));
    EXPECT_EQ("1.00", ShowInt(100, -2));
    EXPECT_EQ("1.2", ShowInt(120, -2, Type(COLTYPE_INT32, /*nMinDecimals=*/1)));
    EXPECT_EQ("1.0", ShowInt(100, -2, Type(COLTYPE_INT32, /*nMinDecimals=*/1)));
    EXPECT_EQ("1", ShowInt(100, -2, Type(COLTYPE_INT32, 0, /*nOmit=*/2)));
    EXPECT_EQ("", ShowInt(0, -2));
    EXPECT_EQ("0.00", ShowInt(0, -2, Type(COLTYPE_INT32, 0, 0, /*bBlankZero=*/FALSE)));
    EXPECT_EQ("-0.05", ShowInt(-5, -2));
    EXPECT_EQ("12,000", ShowInt(12, 3));
    EXPECT_EQ("-2,147,483,647", ShowInt(-2147483647, 0));
    EXPECT_EQ("0.0000000000000000000000000000000000000000000000000123", ShowInt(123, -52));

    SetSeparators(',', '.');
    EXPECT_EQ("1.234,56", ShowInt(123456, -2));
    EXPECT_EQ("1234,56", ShowInt(123456, -2, Type(COLTYPE_INT32, 0, 0, TRUE, /*bGroup=*/FALSE)));
}

TEST_F(ColumnValues, ShowsDoublesRoundedHalfAwayFromZeroAsWritten)
{
    EXPECT_EQ("1,234.5", ShowDouble(1234.5, -2));
    EXPECT_EQ("1", ShowDouble(1.0, -2));
    EXPECT_EQ("2", ShowDouble(1.999, -2));
    EXPECT_EQ("1.50", ShowDouble(1.5, -2, Type(COLTYPE_DOUBLE, /*nMinDecimals=*/2)));
    EXPECT_EQ("2", ShowDouble(2.7, 0));
    EXPECT_EQ("27,000", ShowDouble(27.9, 3));
    // Halves of the last shown digit go away from zero on the value as written, not on the
    // binary neighbour just below it.
    EXPECT_EQ("2.68", ShowDouble(2.675, -2));
    EXPECT_EQ("-1.01", ShowDouble(-1.005, -2));
    EXPECT_EQ("0.29", ShowDouble(0.285, -2));
    // A value that shows as zero carries no sign.
    EXPECT_EQ("0", ShowDouble(-0.001, -2));
    EXPECT_EQ("1,000,000,000,000,000,000,000", ShowDouble(1e21, -2));
}

TEST_F(ColumnValues, ShowsSixtyFourths)
{
    EXPECT_EQ("10 1/2", ShowInt(672, DECIMALS_64THS));
    EXPECT_EQ("1/2", ShowInt(32, DECIMALS_64THS));
    EXPECT_EQ("10 17/32", ShowInt(674, DECIMALS_64THS));
    EXPECT_EQ("-10 1/2", ShowInt(-672, DECIMALS_64THS));
    EXPECT_EQ("1,000 1/64", ShowInt(64001, DECIMALS_64THS));
    EXPECT_EQ("0", ShowInt(0, DECIMALS_64THS, Type(COLTYPE_INT, 0, 0, /*bBlankZero=*/FALSE)));
    EXPECT_EQ("10 1/2", ShowDouble(672.0, DECIMALS_64THS));
}

TEST_F(ColumnValues, MissingAndOverlongValuesShowHashes)
{
    EXPECT_EQ("#######", ShowInt(MISSING_INT32, -2, Type(COLTYPE_INT32), 8));
    EXPECT_EQ("#######", ShowInt(1234567, -2, Type(COLTYPE_INT32), 8));   // "12,345.67" needs 9
    EXPECT_EQ("1,234.56", ShowInt(123456, -2, Type(COLTYPE_INT32), 9));
    EXPECT_EQ("####", ShowInt(5, 100, Type(COLTYPE_INT32), 5));          // a hundred zeros
    EXPECT_EQ(std::string(255, '#'), ShowDouble(MISSING_DOUBLE, -2));
    EXPECT_EQ(std::string(255, '#'), ShowDouble(NAN, -2));

    LONGLONG nMissing = MISSING_INT64;
    TBCellSlot cell{};
    cell.pData = &nMissing;
    char szText[4];
    FormatColumnValue(szText, sizeof(szText), &cell, 0, Type(COLTYPE_INT64));
    EXPECT_STREQ("###", szText);
    cell.pData = nullptr;
    FormatColumnValue(szText, sizeof(szText), &cell, 0, Type(COLTYPE_DOUBLE));
    EXPECT_STREQ("###", szText);
    FormatColumnValue(szText, 1, &cell, 0, Type(COLTYPE_INT32));
    EXPECT_STREQ("", szText);
}

TEST_F(ColumnValues, ShowsTextsDatesAndTimes)
{
    char szText[64];
    TBCellSlot cell{};
    memcpy(cell.achBytes, "ABCD", 4);
    FormatColumnValue(szText, sizeof(szText), &cell, 0, Type(COLTYPE_CHAR4));
    EXPECT_STREQ("ABCD", szText);
    FormatColumnValue(szText, 3, &cell, 0, Type(COLTYPE_CHAR4));
    EXPECT_STREQ("AB", szText);

    cell.pData = nullptr;
    FormatColumnValue(szText, sizeof(szText), &cell, 0, Type(COLTYPE_STRING));
    EXPECT_STREQ("[NULL]", szText);
    char szStored[] = "Kuwait Finance House";
    cell.pData = szStored;
    FormatColumnValue(szText, 7, &cell, 0, Type(COLTYPE_STRING));
    EXPECT_STREQ("Kuwait", szText);

    memcpy(cell.achBytes, "\x53" "32", 4);    // 1922 + 83 = 2005, March, 2
    FormatColumnValue(szText, sizeof(szText), &cell, 0, Type(COLTYPE_PACKED_DATE));
    EXPECT_STREQ("02/03/2005", szText);
    char abDateTime[6] = {83, '3', '2', '0' + 9, '0' + 5, '0' + 7};
    cell.pData = abDateTime;
    FormatColumnValue(szText, sizeof(szText), &cell, 0, Type(COLTYPE_PACKED_DATETIME));
    EXPECT_STREQ("02/03/2005 09:05:07", szText);
    char achDigits[14] = {'2', '0', '0', '5', '0', '3', '0', '2', '1', '2', '3', '0', '1', '5'};  // no terminator
    cell.pData = achDigits;
    FormatColumnValue(szText, sizeof(szText), &cell, 0, Type(COLTYPE_DATETIME_TEXT));
    EXPECT_STREQ("02/03/2005 12:30:15", szText);
    FormatColumnValue(szText, sizeof(szText), &cell, 0, Type(COLTYPE_NONE));
    EXPECT_STREQ("", szText);
}

TEST_F(ColumnValues, FormattingMatchesPythonDecimal)
{
    int nRows = 0;
    for (char chKind : {'I', 'L', 'D'}) {
        for (const auto& f : ReadExpected("expected_numbers.txt", chKind)) {
            ASSERT_EQ(9u, f.size());
            SetSeparators(f[7][0], f[7][1]);
            CColumnDataType type(0, std::stoi(f[3]), std::stoi(f[4]), std::stoi(f[5]), std::stoi(f[6]));
            int nDecimals = std::stoi(f[2]);
            char szText[128];
            if (chKind == 'I') {
                FormatIntValue(szText, sizeof(szText), static_cast<int32_t>(std::stoll(f[1])), nDecimals, type);
            } else if (chKind == 'L') {
                FormatInt64Value(szText, sizeof(szText), std::stoll(f[1]), nDecimals, type);
            } else {
                FormatDecimalNumber(szText, sizeof(szText), ToDouble(f[1]), nDecimals, type);
            }
            EXPECT_EQ(f[8], szText) << chKind << " " << f[1] << " d=" << nDecimals << " flags " << f[3] << f[4] << f[5]
                                    << f[6];
            ++nRows;
        }
    }
    EXPECT_GT(nRows, 2000);
}

TEST_F(ColumnValues, RoundingMatchesPythonDecimal)
{
    auto rows = ReadExpected("expected_numbers.txt", 'R');
    ASSERT_GT(rows.size(), 200u);
    for (const auto& f : rows)
        EXPECT_EQ(ToDouble(f[3]), RoundHalfAwayFromZero(ToDouble(f[1]), std::stoi(f[2]))) << f[1] << " to " << f[2];
    EXPECT_EQ(2.68, RoundHalfAwayFromZero(2.675, 2));
    EXPECT_EQ(-3.0, RoundHalfAwayFromZero(-2.5, 0));
    EXPECT_EQ(1e14, GetPowerOfTen(14));
    EXPECT_EQ(1e-3, GetPowerOfTen(-3));
}

TEST_F(ColumnValues, ReadsTypedIntegers)
{
    EXPECT_EQ("12", ReadInt("12,345", 3));
    EXPECT_EQ("0", ReadInt("345", 3));
    EXPECT_EQ("123456", ReadInt("1,234.567", -2));
    EXPECT_EQ("-5", ReadInt("-0.05", -2));
    EXPECT_EQ("FAIL", ReadInt("12-3", -2));
    EXPECT_EQ("FAIL", ReadInt("1e5", -2));
    EXPECT_EQ("FAIL", ReadInt("21474836.48", -2));
    EXPECT_EQ("FAIL", ReadInt("-2147483648", 0));     // the marker is not a value
    EXPECT_EQ("0", ReadInt(" \t", -2));
    EXPECT_EQ("FAIL", ReadInt(" ", -2, Type(COLTYPE_INT32, 0, 0, /*bBlankZero=*/FALSE)));

    auto rows = ReadExpected("expected_numbers.txt", 'P');
    ASSERT_GT(rows.size(), 300u);
    for (const auto& f : rows)
        EXPECT_EQ(f[3], ReadInt(f[1].c_str(), std::stoi(f[2]))) << f[1] << " d=" << f[2];

    LONGLONG n = 0;
    EXPECT_TRUE(ParseInt64Value(&n, -2, Type(COLTYPE_INT64), "92,233,720,368,547,758.07"));
    EXPECT_EQ(INT64_MAX, n);
    EXPECT_FALSE(ParseInt64Value(&n, -2, Type(COLTYPE_INT64), "92233720368547758.08"));
    EXPECT_EQ(MISSING_INT64, n);
}

TEST_F(ColumnValues, ReadsSixtyFourthsAndFractions)
{
    EXPECT_EQ("672", ReadInt("10 1/2", DECIMALS_64THS));
    EXPECT_EQ("672", ReadInt("10.5", DECIMALS_64THS));
    EXPECT_EQ("640000", ReadInt("10,000 0/2", DECIMALS_64THS));
    EXPECT_EQ("-674", ReadInt("-10 17/32", DECIMALS_64THS));
    EXPECT_EQ("32", ReadInt("1/2", DECIMALS_64THS));
    EXPECT_EQ("FAIL", ReadInt("1/3", DECIMALS_64THS));
    EXPECT_EQ("FAIL", ReadInt("3/2", DECIMALS_64THS));
    EXPECT_EQ("FAIL", ReadInt("1/128", DECIMALS_64THS));
    EXPECT_EQ("FAIL", ReadInt("1/648", DECIMALS_64THS));
    EXPECT_EQ("FAIL", ReadInt("33554432", DECIMALS_64THS));    // 64 times it overflows
    // A fraction typed into a decimal column is converted and rounded half away from zero.
    EXPECT_EQ("1050", ReadInt("10 1/2", -2));
    EXPECT_EQ("1", ReadInt("1/2", 0));
    EXPECT_EQ("-1", ReadInt("-1/2", 0));
    EXPECT_EQ("2", ReadInt("15 1/2", 1));

    LONGLONG n;
    EXPECT_TRUE(ParseFractionText64(&n, "144,115,188,075,855,871 63/64", FALSE));
    EXPECT_EQ(INT64_MAX, n);
    EXPECT_FALSE(ParseFractionText64(&n, "144115188075855872", FALSE));
}

TEST_F(ColumnValues, ReadsDoublesTextsAndDates)
{
    double d = 7.0;
    TBCellSlot cell{};
    cell.pData = &d;
    EXPECT_TRUE(ParseColumnValue(&cell, 0, -2, Type(COLTYPE_DOUBLE), "1,234.567"));
    EXPECT_EQ(1234.56, d);
    EXPECT_FALSE(ParseColumnValue(&cell, 0, -2, Type(COLTYPE_DOUBLE), "1/2"));
    EXPECT_FALSE(ParseColumnValue(&cell, 0, -2, Type(COLTYPE_DOUBLE), "1 2"));
    EXPECT_EQ(1234.56, d) << "a failed read leaves a double as it was";
    EXPECT_TRUE(ParseColumnValue(&cell, 0, DECIMALS_64THS, Type(COLTYPE_DOUBLE), "10 1/2"));
    EXPECT_EQ(672.0, d);
    // A count of 64ths is a 64-bit integer however it is typed: beyond, the text is refused
    // (the display could show no text that reads back), the cell left as it was.
    EXPECT_FALSE(ParseColumnValue(&cell, 0, DECIMALS_64THS, Type(COLTYPE_DOUBLE), "147716054938256105."));
    EXPECT_FALSE(ParseColumnValue(&cell, 0, DECIMALS_64THS, Type(COLTYPE_DOUBLE), "147716054938256105 1/2"));
    EXPECT_EQ(672.0, d);
    // Near the end of 64 bits the display shows the double's digits, and they read back.
    EXPECT_TRUE(ParseColumnValue(&cell, 0, DECIMALS_64THS, Type(COLTYPE_DOUBLE), "144115188075855000."));
    const double dNearEnd = d;
    const std::string strShown = ShowDouble(d, DECIMALS_64THS);
    EXPECT_TRUE(ParseColumnValue(&cell, 0, DECIMALS_64THS, Type(COLTYPE_DOUBLE), strShown.c_str())) << strShown;
    EXPECT_EQ(dNearEnd, d) << strShown;
    EXPECT_EQ("###############", ShowDouble(9.3e18, DECIMALS_64THS, Type(COLTYPE_DOUBLE)).substr(0, 15));
    SetSeparators(',', '.');
    EXPECT_TRUE(ParseColumnValue(&cell, 0, -4, Type(COLTYPE_DOUBLE), "1.234,5"));
    EXPECT_EQ(1234.5, d);
    SetSeparators('.', ',');

    char szText[8] = "xxxxxxx";
    cell.pData = szText;
    EXPECT_TRUE(ParseColumnValue(&cell, 5, 0, Type(COLTYPE_STRING), "Gulf Bank"));
    EXPECT_STREQ("Gulf", szText);
    cell.pData = nullptr;
    EXPECT_FALSE(ParseColumnValue(&cell, 5, 0, Type(COLTYPE_STRING), "Gulf Bank"));
    EXPECT_TRUE(ParseColumnValue(&cell, 0, 0, Type(COLTYPE_CHAR4), "KWD"));
    EXPECT_EQ(0, memcmp(cell.achBytes, "KWD\0", 4));

    EXPECT_TRUE(ParseColumnValue(&cell, 0, 0, Type(COLTYPE_PACKED_DATE), "02-03-05"));
    EXPECT_EQ(0, memcmp(cell.achBytes, "\x53" "32\0", 4));
    char achDigits[16] = "...............";
    cell.pData = achDigits;
    EXPECT_TRUE(ParseColumnValue(&cell, 0, 0, Type(COLTYPE_DATETIME_TEXT), "02/03/2005 12:30:15"));
    EXPECT_EQ("20050302123015.", std::string(achDigits));
}

TEST_F(ColumnValues, NormalisingNeverWritesPastTheBuffer)
{
    char szOut[300];
    ASSERT_TRUE(NormalizeNumberText(szOut, sizeof(szOut), "-1,234.5", -4, TRUE));
    EXPECT_STREQ("-1234.5000", szOut);
    ASSERT_TRUE(NormalizeNumberText(szOut, sizeof(szOut), "-1,234.5", -4, FALSE));
    EXPECT_STREQ("-12345000", szOut);
    ASSERT_TRUE(NormalizeNumberText(szOut, sizeof(szOut), "12,345.9", 2, TRUE));
    EXPECT_STREQ("123", szOut);
    // Sixty-fourths would pad 99 fraction digits: a small buffer refuses instead of overrunning.
    char szSmall[16];
    memset(szSmall, 'z', sizeof(szSmall));
    EXPECT_FALSE(NormalizeNumberText(szSmall, 12, "1.5", DECIMALS_64THS, TRUE));
    EXPECT_EQ('z', szSmall[12]);
    EXPECT_STREQ("", szSmall) << "a refused text leaves no unterminated part behind";
    memset(szSmall, 'z', sizeof(szSmall));
    EXPECT_FALSE(NormalizeNumberText(szSmall, 8, "12345x", 0, TRUE));
    EXPECT_STREQ("", szSmall);
    ASSERT_TRUE(NormalizeNumberText(szOut, sizeof(szOut), "1.5", DECIMALS_64THS, TRUE));
    EXPECT_EQ(101u, strlen(szOut));
    EXPECT_FALSE(NormalizeNumberText(szOut, sizeof(szOut), std::string(400, '9').c_str(), 0, TRUE));
    EXPECT_EQ("FAIL", ReadInt(std::string(400, '9').c_str(), -2));
}

// Whatever double a long digit text reads as, its display reads back as the same double: the
// reader takes every text the display can give, up to the largest double at any decimal code.
TEST_F(ColumnValues, LongDigitTextsReadBackFromTheirDisplay)
{
    auto MaxDoubleDigits = [] {
        char sz[400];
        auto res = std::to_chars(sz, sz + sizeof(sz), 1.7976931348623157e308, std::chars_format::fixed);
        return std::string(sz, res.ptr);
    };
    struct { std::string strText; int nDecimals; int nMinDecimals; } cases[] = {
        {std::string(255, '9'), 0, 0},                  // 1e255: shown with 256 digits
        {std::string(300, '7') + ".25", -2, 2},
        {"1" + std::string(308, '0'), -98, 98},           // 1e308 with 98 fraction digits
        {MaxDoubleDigits(), -4, 4},                        // the largest double, 309 digits
        {"1" + std::string(300, '0'), 20, 0},             // scaled: 320 digits on screen
    };
    for (const auto& c : cases) {
        const CColumnDataType type = Type(COLTYPE_DOUBLE, c.nMinDecimals);
        double dRead = 7.0;
        TBCellSlot cell{};
        cell.pData = &dRead;
        ASSERT_TRUE(ParseColumnValue(&cell, 0, c.nDecimals, type, c.strText.c_str())) << c.strText;
        char szShown[1024];
        FormatColumnValue(szShown, sizeof(szShown), &cell, c.nDecimals, type);
        ASSERT_GT(strlen(szShown), 256u) << "longer than the old reader's buffer";
        ASSERT_EQ(nullptr, strchr(szShown, '#')) << szShown;
        double dBack = 7.0;
        cell.pData = &dBack;
        ASSERT_TRUE(ParseColumnValue(&cell, 0, c.nDecimals, type, szShown)) << szShown;
        EXPECT_EQ(dRead, dBack) << szShown;
        char szAgain[1024];
        FormatColumnValue(szAgain, sizeof(szAgain), &cell, c.nDecimals, type);
        EXPECT_STREQ(szShown, szAgain);
    }
    // Leading zeros carry no digit of the value: however many there are, the text reads.
    double d = 7.0;
    TBCellSlot cell{};
    cell.pData = &d;
    EXPECT_TRUE(ParseColumnValue(&cell, 0, -2, Type(COLTYPE_DOUBLE), (std::string(600, '0') + "1.25").c_str()));
    EXPECT_EQ(1.25, d);
    // Beyond the largest double the text is no double: refused, the cell left as it was.
    EXPECT_FALSE(ParseColumnValue(&cell, 0, -2, Type(COLTYPE_DOUBLE), ("1" + std::string(309, '0')).c_str()));
    EXPECT_FALSE(ParseColumnValue(&cell, 0, 0, Type(COLTYPE_DOUBLE), std::string(2000, '9').c_str()));
    EXPECT_EQ(1.25, d);
    // Integers are bounded by their type whatever the text's length.
    EXPECT_EQ("12", ReadInt((std::string(500, '0') + "12").c_str(), 0));
    EXPECT_EQ("FAIL", ReadInt(("1" + std::string(500, '0')).c_str(), 0));
}

TEST_F(ColumnValues, ComparesNumbersAcrossDecimalCodes)
{
    EXPECT_LT(CompareIntValues(150, -2, 2, 0), 0);
    EXPECT_EQ(0, CompareIntValues(15, -1, 150, -2));
    // A 64ths cell matches a decimal filter value at its own value: 10 1/2 = 10.50.
    EXPECT_EQ(0, CompareIntValues(672, DECIMALS_64THS, 1050, -2));
    EXPECT_GT(CompareIntValues(673, DECIMALS_64THS, 1050, -2), 0);
    EXPECT_LT(CompareIntValues(-673, DECIMALS_64THS, -1050, -2), 0);
    EXPECT_EQ(0, CompareInt64Values(12, 3, 12000, 0));
    EXPECT_LT(CompareIntValues(MISSING_INT32, 0, -5, -2), 0);
    EXPECT_EQ(0, CompareDoubleValues(672.0, DECIMALS_64THS, 10.5, -2));
    EXPECT_LT(CompareDoubleValues(1.5, -1, 2.0, -2), 0);

    EXPECT_LT(CompareNumberText("0.05", "0.5"), 0);
    EXPECT_LT(CompareNumberText("-1", ""), 0);
    EXPECT_EQ(0, CompareNumberText("", "0"));
    EXPECT_EQ(0, CompareNumberText("-0.00", "0"));
    EXPECT_EQ(0, CompareNumberText("007.50", "7.5"));
    EXPECT_GT(CompareNumberText("10", "9.99"), 0);
    EXPECT_LT(CompareNumberText("-10", "-9.99"), 0);
    EXPECT_GT(CompareNumberText("2147483648", "2147483647"), 0);
}

TEST_F(ColumnValues, ComparesTextsDatesAndNullCells)
{
    TBCellSlot a{}, b{};
    char szApple[] = "apple", szBanana[] = "Banana";
    a.pData = szApple;
    b.pData = szBanana;
    EXPECT_LT(CompareColumnValues(&a, 0, &b, 0, COLTYPE_STRING), 0) << "a word sort, not strcmp";
    b.pData = nullptr;
    EXPECT_GT(CompareColumnValues(&a, 0, &b, 0, COLTYPE_STRING), 0);

    char abEarly[6] = {83, '3', '2', '9', '0', '0'}, abLate[6] = {83, '3', '2', '9', '0', '1'};
    a.pData = abEarly;
    b.pData = abLate;
    EXPECT_LT(CompareColumnValues(&a, 0, &b, 0, COLTYPE_PACKED_DATETIME), 0);
    b.pData = nullptr;
    EXPECT_GT(CompareColumnValues(&a, 0, &b, 0, COLTYPE_PACKED_DATETIME), 0);
    a.pData = nullptr;
    EXPECT_EQ(0, CompareColumnValues(&a, 0, &b, 0, COLTYPE_DATE_TEXT));

    TBCellSlot c{}, d{};
    memcpy(c.achBytes, "\xF0" "12", 4);    // 2162 after 2005: bytes compare unsigned
    memcpy(d.achBytes, "\x53" "32", 4);
    EXPECT_GT(CompareColumnValues(&c, 0, &d, 0, COLTYPE_PACKED_DATE), 0);
    EXPECT_EQ(0, CompareColumnValues(&c, 0, &d, 0, COLTYPE_NONE));
}

TEST_F(ColumnValues, SumsBringTheSourceToTheTargetCode)
{
    int32_t n = 10;
    EXPECT_TRUE(AddIntValue(&n, 0, 250, -2));
    EXPECT_EQ(12, n);
    n = 100;
    EXPECT_TRUE(AddIntValue(&n, -2, 3, 0));
    EXPECT_EQ(400, n);
    EXPECT_FALSE(AddIntValue(&n, -2, 1, 10));
    EXPECT_EQ(MISSING_INT32, n);
    n = 7;
    EXPECT_TRUE(AddIntValue(&n, 10, 5, -2));
    EXPECT_EQ(7, n) << "a source twelve places finer is too small to count";
    // A 64ths row in a decimal sum counts at its value.
    n = 1000;
    EXPECT_TRUE(AddIntValue(&n, -2, 672, DECIMALS_64THS));
    EXPECT_EQ(2050, n);
    EXPECT_TRUE(SubtractIntValue(&n, -2, 672, DECIMALS_64THS));
    EXPECT_EQ(1000, n);
    n = 64;
    EXPECT_TRUE(AddIntValue(&n, DECIMALS_64THS, 150, -2));
    EXPECT_EQ(160, n);
    // Overflow and missing values make the total missing.
    n = INT32_MAX;
    EXPECT_FALSE(AddIntValue(&n, 0, 1, 0));
    EXPECT_EQ(MISSING_INT32, n);
    EXPECT_FALSE(AddIntValue(&n, 0, 1, 0));
    n = 5;
    EXPECT_FALSE(SubtractIntValue(&n, -2, MISSING_INT32, 0));
    EXPECT_EQ(MISSING_INT32, n);
    LONGLONG n64 = INT64_MAX;
    EXPECT_FALSE(AddInt64Value(&n64, 0, 1, 0));
    EXPECT_EQ(MISSING_INT64, n64);

    double dTarget = 1.0, dSource = 0.1234564;
    TBCellSlot target{}, source{};
    target.pData = &dTarget;
    source.pData = &dSource;
    EXPECT_TRUE(AddColumnValues(&target, -2, &source, -2, COLTYPE_DOUBLE));
    EXPECT_EQ(1.123456, dTarget);
    dTarget = 1e308;
    dSource = 1e308;
    EXPECT_FALSE(AddColumnValues(&target, -2, &source, -2, COLTYPE_DOUBLE));
    EXPECT_EQ(MISSING_DOUBLE, dTarget);
    EXPECT_TRUE(AddColumnValues(&target, 0, &source, 0, COLTYPE_STRING));
}

TEST_F(ColumnValues, StoresAndClearsPlainForms)
{
    TBCellSlot cell{};
    StoreColumnValue(&cell, 0, Type(COLTYPE_INT32), " -2147483648");
    EXPECT_EQ(MISSING_INT32, cell.nValue);
    StoreColumnValue(&cell, 0, Type(COLTYPE_INT32), "99999999999");
    EXPECT_EQ(INT32_MAX, cell.nValue);
    double d = 0;
    cell.pData = &d;
    EXPECT_TRUE(StoreColumnValue(&cell, 0, Type(COLTYPE_DOUBLE), "1234.5625"));
    EXPECT_EQ(1234.5625, d);
    ClearColumnValue(&cell, COLTYPE_DOUBLE);
    EXPECT_EQ(0.0, d);

    // The 14 digits of a date and time text fill their storage and not a byte beyond.
    char achStorage[20];
    memset(achStorage, '!', sizeof(achStorage));
    cell.pData = achStorage;
    EXPECT_TRUE(StoreColumnValue(&cell, 0, Type(COLTYPE_DATETIME_TEXT), "2005030212301599"));
    EXPECT_EQ("20050302123015!!!!!!", std::string(achStorage, 20));
    ClearColumnValue(&cell, COLTYPE_DATETIME_TEXT);
    EXPECT_EQ('\0', achStorage[0]);
    memset(achStorage, '!', sizeof(achStorage));
    EXPECT_TRUE(StoreColumnValue(&cell, 0, Type(COLTYPE_TIME_TEXT), "12"));    // short: never read past it
    EXPECT_EQ(0, memcmp(achStorage, "12\0\0\0\0!", 7));

    cell.pData = nullptr;
    EXPECT_FALSE(StoreColumnValue(&cell, 0, Type(COLTYPE_INT64), "5"));
    EXPECT_FALSE(ParseColumnValue(&cell, 0, 0, Type(COLTYPE_PACKED_DATETIME), "02/03/2005"));
}

TEST(ColumnDataType, PredicatesAndCopy)
{
    EXPECT_TRUE(ColumnTypeIsValid(COLTYPE_DATETIME_TEXT));
    EXPECT_TRUE(ColumnTypeIsValid(COLTYPE_NONE));
    EXPECT_FALSE(ColumnTypeIsValid(5));
    EXPECT_FALSE(ColumnTypeIsValid(0));
    EXPECT_TRUE(ColumnTypeIsNumeric(COLTYPE_COMPUTED));
    EXPECT_FALSE(ColumnTypeIsNumeric(COLTYPE_STRING));
    EXPECT_TRUE(ColumnTypeIsTextual(COLTYPE_COMPUTED));
    EXPECT_FALSE(ColumnTypeIsTextual(COLTYPE_DOUBLE));

    CColumnDataType plain;
    EXPECT_EQ(COLTYPE_INT32, plain.GetDataType());
    EXPECT_TRUE(plain.GetThousands());
    EXPECT_TRUE(plain.GetBlankZero());
    CColumnDataType copy;
    copy.CopyFrom(CColumnDataType(COLTYPE_DOUBLE, FALSE, 2, 3, FALSE));
    EXPECT_EQ(COLTYPE_DOUBLE, copy.GetDataType());
    EXPECT_FALSE(copy.GetThousands());
    EXPECT_EQ(2, copy.GetOmitZeroFraction());
    EXPECT_EQ(3, copy.GetMinDecimals());
    EXPECT_FALSE(copy.GetBlankZero());
}
