// Server lines parsed into typed messages, request lines built from types and fields, numbers
// read as the original reads them, and a message written into a table row.
#include <gtest/gtest.h>

#include <cmath>
#include "LinkDoubles.h"
#include "framework/base/ColumnDataType.h"
#include "framework/base/NorvGlobals.h"
#include "link/FieldNumbers.h"
#include "link/RowWriter.h"

namespace {

// "type header [f0,f1,...]" of a parsed line.
std::string Parsed(const char* pszLine, int nMode = 1)
{
    RegisterCodesForTest();
    CServerMessage msg(pszLine, nMode);
    std::string s = std::to_string(msg.GetType()) + " " + std::to_string(msg.GetHeaderNumber()) + " [";
    for (int i = 0; i < msg.GetSize(); ++i)
        s += (i ? "," : "") + std::string(msg.GetFieldText(i));
    return s + "]";
}

std::string Request(int nType, const char* pszBody, int nMode, BOOL bCaret = FALSE, BOOL bRaw = FALSE,
                    long nRequest = 0, BOOL bDoubleBar = FALSE)
{
    CString strLine("stale");
    const int nResult = FormatRequestLine(&strLine, nType, pszBody, nMode, bCaret, bRaw, &nRequest, bDoubleBar);
    return nResult == REQUEST_OK ? std::string(strLine) : "refused " + std::to_string(nResult) + strLine.GetString();
}

std::string Request(const CServerMessage& msg, BOOL bRaw = FALSE, long nRequest = 0)
{
    CString strLine("stale");
    const int nResult = msg.FormatRequest(&strLine, MSG_DQ, 1, FALSE, bRaw, &nRequest, FALSE);
    return nResult == REQUEST_OK ? std::string(strLine) : "refused " + std::to_string(nResult) + strLine.GetString();
}

// A row of typed columns that records what FillRow writes.
class CFakeRow : public IMessageRowWriter
{
public:
    explicit CFakeRow(std::vector<std::pair<int, int>> columns) : m_columns(std::move(columns)) {}
    int GetColumnCount() const override { return static_cast<int>(m_columns.size()); }
    int GetColumnType(int nCol) const override { return m_columns.at(static_cast<size_t>(nCol)).first; }
    int GetColumnDecimals(int nCol) const override { return m_columns.at(static_cast<size_t>(nCol)).second; }
    BOOL SetCellText(int nCol, LPCSTR pszText, int nFlag) override
    {
        m_writes += (m_writes.empty() ? "" : " ") + std::to_string(nCol) + "=" + pszText + "/" + std::to_string(nFlag);
        return TRUE;
    }
    std::string m_writes;
private:
    std::vector<std::pair<int, int>> m_columns;     // type, decimals
};

}  // namespace

TEST(ServerMessage, ParsesReceivedLinesOfEachForm)
{
    EXPECT_EQ("243 42 [d0,d1]", Parsed("$OB|7|XC|42|d0|d1"));
    EXPECT_EQ("177 0 [0,100]", Parsed("&UL|3|XC||0|100"));
    EXPECT_EQ("125 5 [a,,]", Parsed("~GS|1|XC|5|a||"));        // empty and trailing fields kept
    EXPECT_EQ("-3 0 [0,x]", Parsed("$EN|7|XC|0|x"));           // "EN" has no header number
    EXPECT_EQ("243 0 []", Parsed("$OB|x"));                     // short: no data, no number
    EXPECT_EQ("-1 9 [a]", Parsed("$ZZ|1|XC|9|a"));              // unknown, fields still parsed
    EXPECT_EQ("-2 0 [100,Unknown user]", Parsed("100|Unknown user"));
    EXPECT_EQ("-2 0 [,abc]", Parsed("abc"));                    // no '|': "" and the line
    EXPECT_EQ("-2 0 [,$OB]", Parsed("$OB"));
    EXPECT_EQ("-1 0 []", Parsed(nullptr));
    EXPECT_EQ("243 2147483647 [a]", Parsed("$OB|1|XC|99999999999|a"));
    for (int nMode : {0, 2}) {                                  // the link's other line forms
        EXPECT_EQ("-1 0 []", Parsed("-abc|d", nMode));
        EXPECT_EQ("243 0 [d0,d1]", Parsed("$OB|1|d0|d1", nMode));
        EXPECT_EQ("-2 0 [abc]", Parsed("abc", nMode));
        EXPECT_EQ("-2 0 [~OB,1,2]", Parsed("~OB|1|2", nMode));
    }
}

TEST(ServerMessage, ReadsFieldsNumbersAndOverrides)
{
    CServerMessage msg("$OB|7|XC|42|12.5|-3|\xE9\xE1", 1);
    EXPECT_STREQ("$OB|7|XC|42|12.5|-3|\xE9\xE1", msg.GetRawLine());
    EXPECT_STREQ("\xE9\xE1", msg.GetField(2));                // code-page bytes pass unchanged
    EXPECT_EQ(-3, msg.GetLong(1));
    EXPECT_DOUBLE_EQ(1250.0, msg.GetDouble(0, 2));
    for (int i : {-1, 3})
        EXPECT_TRUE(msg.GetField(i).IsEmpty() && msg.GetLong(i) == 0 && msg.GetDouble(i, 2) == 0.0) << i;
    msg.SetOverride(0, "13");
    msg.SetOverride(3, "beyond");                   // outside the fields: ignored
    EXPECT_STREQ("13", msg.GetFieldOrOverride(0));
    EXPECT_STREQ("12.5", msg.GetField(0));
    msg.ResetOverrides();
    EXPECT_STREQ("12.5", msg.GetFieldOrOverride(0));

    EXPECT_EQ(-12, ReadFieldLong("  -12abc"));
    EXPECT_EQ(2147483647, ReadFieldLong("99999999999999999999"));
    EXPECT_EQ(-2147483647 - 1, ReadFieldLong("-99999999999"));
    EXPECT_DOUBLE_EQ(-150.0, ReadFieldDouble(" \t-1.5e2x"));
    EXPECT_DOUBLE_EQ(1.0, ReadFieldDouble("1,5"));              // the point is always '.'
    EXPECT_DOUBLE_EQ(12.0, ReadFieldDouble("12e+"));            // an exponent needs digits
    EXPECT_EQ(0.0, ReadFieldDouble("e5"));
    EXPECT_EQ(HUGE_VAL, ReadFieldDouble("1e999"));
    EXPECT_EQ(-HUGE_VAL, ReadFieldDouble("-123e99999999999"));
    EXPECT_EQ(0.0, ReadFieldDouble("1e-999"));
}

TEST(ServerMessage, FormatsRequestLines)
{
    RegisterCodesForTest();
    EXPECT_EQ("@VC", Request(MSG_VC, "", 0));
    EXPECT_EQ("@X9||256|n|e", Request(MSG_X9, "256|n|e", 0, FALSE, FALSE, 0, TRUE));
    EXPECT_EQ("@VC|12", Request(MSG_VC, "12", 2));
    EXPECT_EQ("raw|x", Request(MSG_OB, "raw|x", 1, FALSE, TRUE));
    EXPECT_EQ("&OB|XC||", Request(MSG_OB, "", 1, FALSE, FALSE, 77));   // empty before the number
    EXPECT_EQ("&EN|XC|5", Request(MSG_EN, "5", 1));
    EXPECT_EQ("&OB|XC|77|a|b", Request(MSG_OB, "a|b", 1, FALSE, FALSE, 77));
    EXPECT_EQ("^OB|XC||a|b", Request(MSG_OB, "a|b", 1, TRUE));
    EXPECT_EQ("refused -2", Request(190, "a", 1));
    EXPECT_EQ("refused -1", Request(MSG_OB, "a\r\n&UL|XC||x", 1));

    CServerMessage msg(0);
    EXPECT_EQ("&DQ|XC||", Request(msg));                        // no fields: the empty form
    msg.Add("a");
    msg.SetAtGrow(3, "b");                                      // the gap holds empty fields
    EXPECT_EQ("&DQ|XC|12|a|||b", Request(msg, FALSE, 12));
    CServerMessage reply("$OB|1|XC|7|p|q", 1);                  // a parsed message, changed
    reply.SetAtGrow(1, "r");
    EXPECT_EQ("&DQ|XC||p|r", Request(reply));
    EXPECT_STREQ("$OB|1|XC|7|p|q", reply.GetRawLine());
}

TEST(ServerMessage, RefusesFieldsThatWouldCorruptTheLine)
{
    RegisterCodesForTest();
    // A typed password or note must neither shift the fields after it nor start a second line.
    for (const char* pszTyped : {"pa|ss", "note\r\n&UL|XC||admin|x", "cr\r"}) {
        CServerMessage msg(0);
        msg.Add("user");
        msg.Add(pszTyped);
        EXPECT_EQ("refused -1", Request(msg)) << pszTyped;
    }
    // A raw line stands as it is: its bars are meant, its line ends are not.
    CServerMessage raw(0);
    raw.Add("&OB|XC||a|b");
    EXPECT_EQ("&OB|XC||a|b", Request(raw, TRUE));
    raw.Add("x\n");
    EXPECT_EQ("refused -1", Request(raw, TRUE));
}

TEST(ServerMessage, FillsARowThroughTheFieldMap)
{
    const CFakeRow columns({{COLTYPE_STRING, 0}, {COLTYPE_DOUBLE, 2}, {COLTYPE_DOUBLE, -2}, {COLTYPE_DOUBLE, 0},
                            {COLTYPE_DOUBLE, DECIMALS_64THS}, {COLTYPE_INT32, 2}, {COLTYPE_DOUBLE, 2}});
    const int map[] = {0, 1, 1, 1, 1, 1, 2};

    CFakeRow received = columns;            // lines from the server are written as they are
    EXPECT_EQ(7, CServerMessage("$OB|1|XC||KWD|1234|12.5", 1).FillRow(map, 7, &received, 1));
    EXPECT_EQ("0=KWD/1 1=1234/1 2=1234/1 3=1234/1 4=1234/1 5=1234/1 6=12.5/1", received.m_writes);

    // Mode 0: a whole number in a scaled double column is scaled; one with a point is not.
    CServerMessage built("KWD|1234|12.5", 0);
    CFakeRow row = columns;
    built.FillRow(map, 7, &row, 0);
    EXPECT_EQ("0=KWD/0 1=123400.000000/0 2=12.340000/0 3=1234/0 4=1234/0 5=1234/0 6=12.5/0", row.m_writes);

    // Overrides first; unmapped columns, short maps and fields beyond the line are skipped.
    built.SetOverride(1, "7");
    const int shortMap[] = {-1, 1, 99};
    CFakeRow partial = columns;
    built.FillRow(shortMap, 3, &partial, 4);
    EXPECT_EQ("1=700.000000/4", partial.m_writes);

    // The scaled value is written with the decimal separator the table reads.
    GetNorvGlobals().m_chDecimal = ',';
    CFakeRow comma = columns;
    CServerMessage("KWD|15|1,5", 0).FillRow(map, 7, &comma, 0);
    GetNorvGlobals().m_chDecimal = '.';
    EXPECT_EQ("0=KWD/0 1=1500,000000/0 2=0,150000/0 3=15/0 4=15/0 5=15/0 6=1,5/0", comma.m_writes);

    CFakeRow none({});
    EXPECT_EQ(0, built.FillRow(map, 7, &none, 0));
    EXPECT_EQ(0, built.FillRow(map, 7, nullptr, 0));
}
