// The getters of a stored row: every type code read back as text, 32-bit and 64-bit integers
// and doubles, with the decimal codes that scale (2, -2) and those that do not (0, sixty-fourths).
#include <gtest/gtest.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include "DataArrayTestSupport.h"

namespace {

struct CValueCase
{
    int nType;
    int nDecimals;
    const char* pszIn;          // written with SetText
    const char* pszText;        // GetText unformatted
    LONG nLong;
    LONGLONG nInt64;
    double dDouble;
};

// Packed forms: the year byte counts from 1922 (2024 is 'f'), the rest is '0' plus the value.
const CValueCase s_cases[] = {
    {COLTYPE_INT32, 0, "12345", "12345", 12345, 12345, 12345.0},
    {COLTYPE_INT32, 2, "12345", "12345", 12345, 12345, 1234500.0},
    {COLTYPE_INT32, -2, "12345", "12345", 12345, 12345, 123.45},
    {COLTYPE_INT32, DECIMALS_64THS, "-12345", "-12345", -12345, -12345, -12345.0},
    {COLTYPE_INT32, 0, "99999999999", "2147483647", INT32_MAX, INT32_MAX, 2147483647.0},
    {COLTYPE_INT, 2, "7", "7", 7, 7, 7.0},
    {COLTYPE_COMPUTED, 0, "-5", "-5", -5, -5, -5.0},
    {COLTYPE_INT64, 0, "5000000000", "5000000000", 705032704, 5000000000LL, 5e9},
    {COLTYPE_INT64, 2, "-1", "-1", -1, -1, -100.0},
    {COLTYPE_INT64, 0, "-9223372036854775807", "-9223372036854775807", 1, -9223372036854775807LL, -9.223372036854775807e18},
    {COLTYPE_DOUBLE, 0, "12345.0", "12345.000000", 12345, 12345, 12345.0},
    {COLTYPE_DOUBLE, 2, "12345.0", "12345.000000", 123, 123, 12345.0},
    {COLTYPE_DOUBLE, DECIMALS_64THS, "12345", "12345.000000", 12345, 12345, 12345.0},
    {COLTYPE_DOUBLE, -2, "1.239", "1.239000", 123, 123, 1.239},
    {COLTYPE_DOUBLE, 0, "-2.7", "-2.700000", -2, -2, -2.7},
    {COLTYPE_DOUBLE, 0, "1e12", "1000000000000.000000", INT32_MIN, 1000000000000LL, 1e12},
    {COLTYPE_CHAR4, 2, "1234xyz", "1234", 1234, 1234, 1234.0},
    {COLTYPE_CHAR4, 0, "12", "12", 12, 12, 12.0},
    {COLTYPE_STRING, 2, "42.5 and more text", "42.5 an", 42, 42, 42.5},
    {COLTYPE_STRING, 0, "", "", 0, 0, 0.0},
    {COLTYPE_PACKED_DATE, 0, "f<O", "f<O", 20241231, 20241231, 20241231.0},
    {COLTYPE_PACKED_DATE, 0, "f?O", "f?O", 0, 0, 0.0},
    {COLTYPE_PACKED_TIME, 0, "9N?", "9N?", 93015, 93015, 93015.0},
    {COLTYPE_PACKED_DATETIME, 0, "f<O9N?", "f<O9N?", 93015, 2024123100093015LL, 2024123100093015.0},
    {COLTYPE_DATE_TEXT, 0, "20241231", "20241231", 20241231, 20241231, 20241231.0},
    {COLTYPE_DATE_TEXT, 0, "2024", "2024", 2024, 2024, 2024.0},
    {COLTYPE_TIME_TEXT, 0, "1234567", "123456", 123456, 123456, 123456.0},
    {COLTYPE_DATETIME_TEXT, 0, "20241231093015", "20241231093015", INT32_MAX, 20241231093015LL, 20241231093015.0},
    {COLTYPE_NONE, 0, "5", "", 0, 0, 0.0},
};

TEST(DataArrayValues, EveryTypeReadsBackByTheConversionTable)
{
    UseSourceResources();
    CTable table;
    for (const CValueCase& c : s_cases) {
        CColumn column = table.AddColumn();
        column.SetDataType(c.nType);
        column.SetDecimals(c.nDecimals);
        column.SetSize(8);
    }
    ASSERT_TRUE(table.Open());
    CDataArray rows;
    rows.SetTable(&table);
    ASSERT_TRUE(rows.SetKeyColumns({0}));
    CDataBuffer* pWork = rows.NewRow();
    for (int i = 0; i < static_cast<int>(std::size(s_cases)); ++i)
        EXPECT_EQ(s_cases[i].nType != COLTYPE_NONE, pWork->SetText(i, s_cases[i].pszIn, FALSE)) << "column " << i;
    ASSERT_EQ(0, rows.AddRow(pWork, TRUE));
    delete pWork;

    // The stored copy, published into the engine, reads as the work row was written.
    CDataBuffer* pRow = rows.GetAt(0);
    for (int i = 0; i < static_cast<int>(std::size(s_cases)); ++i) {
        const CValueCase& c = s_cases[i];
        SCOPED_TRACE(testing::Message() << "type " << c.nType << " decimals " << c.nDecimals << " text " << c.pszIn);
        EXPECT_STREQ(c.pszText, pRow->GetText(i));
        EXPECT_EQ(c.nLong, pRow->GetLong(i));
        EXPECT_EQ(c.nInt64, pRow->GetInt64(i));
        EXPECT_DOUBLE_EQ(c.dDouble, pRow->GetDouble(i));
    }

    // SetDouble goes through the text, so integer columns take the whole part.
    EXPECT_TRUE(pRow->SetDouble(1, 12.75, TRUE));
    EXPECT_EQ(12, pRow->GetLong(1));
    EXPECT_TRUE(pRow->SetDouble(11, 0.125, TRUE));
    EXPECT_DOUBLE_EQ(0.125, pRow->GetDouble(11));
    // A double column holds what the value's text with 16 fraction digits reads back as.
    for (double dValue : {1.0, 1.1, -7.25, 123.456789012345678, 1e300, -1.7976931348623157e308, 0.1,
                          0.123456789012345678, 1e-20, -0.0, 0.0, std::numeric_limits<double>::infinity()}) {
        char szText[400];
        snprintf(szText, sizeof szText, "%.16f", dValue);
        EXPECT_TRUE(pRow->SetDouble(11, dValue, TRUE));
        double dStored = pRow->GetDouble(11);
        double dExpected = strtod(szText, nullptr);
        EXPECT_EQ(0, memcmp(&dExpected, &dStored, sizeof dStored)) << dValue << " stored as " << dStored;
    }
    // A 64-bit value through its own form, read back as its decimal text and as a typed copy.
    LONGLONG nBig = -4000000000LL;
    EXPECT_TRUE(pRow->SetValue(7, &nBig, TRUE));
    EXPECT_STREQ("-4000000000", pRow->GetText(7));
    EXPECT_EQ(nBig, pRow->GetValue(7).GetNumber());
    // Formatted, as the grid shows it (thousands separators, the column's width of text).
    nBig = -40000;
    EXPECT_TRUE(pRow->SetValue(7, &nBig, TRUE));
    EXPECT_STREQ("-40,000", pRow->GetText(7, /*bFormatted=*/TRUE));
}

} // namespace
