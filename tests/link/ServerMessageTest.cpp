// Server lines parsed into typed messages, request lines built from types and fields, numbers
// read as the original reads them, and a message written into a table row.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>
#include <vector>
#include "LinkDoubles.h"
#include "framework/base/ColumnDataType.h"
#include "framework/base/NorvGlobals.h"
#include "link/FieldNumbers.h"
#include "link/RowWriter.h"
#include "link/ServerMessage.h"

namespace {

// "type header [f0,f1,...]" of a parsed line.
std::string Parsed(const char* pszLine, int nMode = 1)
{
    CServerMessage msg(pszLine, nMode);
    std::string s = std::to_string(msg.GetType()) + " " + std::to_string(msg.GetHeaderNumber()) + " [";
    for (int i = 0; i < msg.GetSize(); ++i)
        s += (i ? "," : "") + std::string(msg.GetFieldText(i));
    return s + "]";
}

std::string RequestLine(int nType, const char* pszBody, int nMode, BOOL bCaret = FALSE, BOOL bRaw = FALSE,
                        long nRequest = 0, BOOL bDoubleBar = FALSE)
{
    CString strLine("left over");
    const int nResult = FormatRequestLine(&strLine, nType, pszBody, nMode, bCaret, bRaw, &nRequest, bDoubleBar);
    return nResult == REQUEST_OK ? std::string(strLine) : "refused " + std::to_string(nResult) + " '" +
                                                              std::string(strLine) + "'";
}

class ServerMessage : public ::testing::Test
{
protected:
    void SetUp() override { RegisterCodesForTest(); }
};

// A row of typed columns that records what FillRow writes.
class CFakeRow : public IMessageRowWriter
{
public:
    struct Column {
        int nType;
        int nDecimals;
    };
    explicit CFakeRow(std::vector<Column> columns) : m_columns(std::move(columns)) {}
    int GetColumnCount() const override { return static_cast<int>(m_columns.size()); }
    int GetColumnType(int nCol) const override { return m_columns.at(static_cast<size_t>(nCol)).nType; }
    int GetColumnDecimals(int nCol) const override { return m_columns.at(static_cast<size_t>(nCol)).nDecimals; }
    BOOL SetCellText(int nCol, LPCSTR pszText, int nFlag) override
    {
        m_writes += (m_writes.empty() ? "" : " ") + std::to_string(nCol) + "=" + pszText + "/" +
                    std::to_string(nFlag);
        return TRUE;
    }
    std::string m_writes;

private:
    std::vector<Column> m_columns;
};

}  // namespace

TEST_F(ServerMessage, ParsesReceivedLinesOfEachForm)
{
    // Typed replies: two header fields, then the header number, then data.
    EXPECT_EQ("243 42 [d0,d1]", Parsed("$OB|7|XC|42|d0|d1"));
    EXPECT_EQ("125 5 [A,B]", Parsed("~GS|1|XC|5|A|B"));
    EXPECT_EQ("177 0 [0,100]", Parsed("&UL|3|XC||0|100"));
    EXPECT_EQ("243 42 []", Parsed("$OB|7|XC|42"));          // header only
    EXPECT_EQ("243 0 [a,,]", Parsed("$OB|7|XC||a||"));       // empty and trailing fields kept
    // "EN" has no header number: its data start with the third header field.
    EXPECT_EQ("-3 0 [0]", Parsed("$EN|7|XC|0"));
    EXPECT_EQ("-3 0 [0,x]", Parsed("$EN|7|XC|0|x"));
    // Short typed lines: no data, and no header number taken from a data field.
    EXPECT_EQ("243 0 []", Parsed("$OB|x"));
    EXPECT_EQ("-2 0 [,$OB]", Parsed("$OB"));                 // no '|': no head, so a data row
    EXPECT_EQ("243 0 []", Parsed("$OB|1|XC"));
    // Unknown mnemonics still give their fields; a head too short for a mnemonic is unknown.
    EXPECT_EQ("-1 9 [a]", Parsed("$ZZ|1|XC|9|a"));
    EXPECT_EQ("-1 9 [a]", Parsed("$O|1|XC|9|a"));
    EXPECT_EQ("243 9 [a]", Parsed("$OBX|1|XC|9|a"));        // the two characters after the prefix
    // Data rows: every piece is a field; a line without '|' is "" and the line.
    EXPECT_EQ("-2 0 [100,Unknown user]", Parsed("100|Unknown user"));
    EXPECT_EQ("-2 0 [,abc]", Parsed("abc"));
    EXPECT_EQ("-2 0 [,x]", Parsed("|x"));
    EXPECT_EQ("-2 0 [#OB,1,XC,9,a]", Parsed("#OB|1|XC|9|a"));
    EXPECT_EQ("-2 0 [-x,y]", Parsed("-x|y"));
    EXPECT_EQ("-1 0 []", Parsed(""));
    EXPECT_EQ("-1 0 []", Parsed(nullptr));
    // The header number saturates like atoi on the original.
    EXPECT_EQ("243 2147483647 [a]", Parsed("$OB|1|XC|99999999999|a"));
}

TEST_F(ServerMessage, ParsesLinkLineModes)
{
    for (int nMode : {0, 2}) {
        SCOPED_TRACE(nMode);
        EXPECT_EQ("-1 0 []", Parsed("-abc|d", nMode));      // a '-' line carries nothing
        EXPECT_EQ("243 0 [d0,d1]", Parsed("$OB|1|d0|d1", nMode));
        EXPECT_EQ("243 0 []", Parsed("$OB|1", nMode));
        EXPECT_EQ("-2 0 [abc]", Parsed("abc", nMode));
        EXPECT_EQ("-2 0 [a,,b]", Parsed("a||b", nMode));
        EXPECT_EQ("-2 0 [~OB,1,2]", Parsed("~OB|1|2", nMode));  // only '$' types a line here
        EXPECT_EQ("-1 0 []", Parsed("", nMode));
    }
}

TEST_F(ServerMessage, KeepsTheRawLineAndReadsFieldsSafely)
{
    CServerMessage msg("$OB|7|XC|42|12.5|-3|abc|\xE9\xE1", 1);
    EXPECT_STREQ("$OB|7|XC|42|12.5|-3|abc|\xE9\xE1", msg.GetRawLine());
    EXPECT_EQ('$', msg.GetRawFirstChar());
    EXPECT_STREQ("\xE9\xE1", msg.GetField(3));                // code-page bytes pass unchanged
    EXPECT_EQ(-3, msg.GetLong(1));
    EXPECT_DOUBLE_EQ(1250.0, msg.GetDouble(0, 2));
    EXPECT_DOUBLE_EQ(0.125, msg.GetDouble(0, -2));
    for (int i : {-1, 4, 1000}) {
        EXPECT_STREQ("", msg.GetField(i)) << i;
        EXPECT_STREQ("", msg.GetFieldText(i)) << i;
        EXPECT_STREQ("", msg.GetFieldOrOverride(i)) << i;
        EXPECT_EQ(0, msg.GetLong(i)) << i;
        EXPECT_EQ(0.0, msg.GetDouble(i, 2)) << i;
    }
    // Parsing again replaces everything.
    msg.Parse("x|y");
    EXPECT_EQ(MESSAGE_TYPE_DATA_ROW, msg.GetType());
    EXPECT_EQ(0, msg.GetHeaderNumber());
    EXPECT_STREQ("x|y", msg.GetRawLine());
    EXPECT_EQ(2, msg.GetSize());
}

TEST_F(ServerMessage, ReadsNumbersLikeTheOriginal)
{
    EXPECT_EQ(-12, ReadFieldLong("  -12abc"));
    EXPECT_EQ(7, ReadFieldLong("+7"));
    EXPECT_EQ(2147483647, ReadFieldLong("99999999999999999999"));
    EXPECT_EQ(-2147483647 - 1, ReadFieldLong("-99999999999"));
    EXPECT_EQ(0, ReadFieldLong("abc"));
    EXPECT_EQ(0, ReadFieldLong(""));
    EXPECT_EQ(0, ReadFieldLong("- 5"));
    EXPECT_DOUBLE_EQ(150.0, ReadFieldDouble("1.5e2"));
    EXPECT_DOUBLE_EQ(-0.25, ReadFieldDouble(" \t-0.25x"));
    EXPECT_DOUBLE_EQ(0.5, ReadFieldDouble(".5"));
    EXPECT_DOUBLE_EQ(5.0, ReadFieldDouble("5."));
    EXPECT_DOUBLE_EQ(1.0, ReadFieldDouble("1,5"));              // the point is always '.'
    EXPECT_DOUBLE_EQ(12.0, ReadFieldDouble("12e"));             // an exponent needs digits
    EXPECT_DOUBLE_EQ(12.0, ReadFieldDouble("12e+"));
    EXPECT_EQ(0.0, ReadFieldDouble("e5"));
    EXPECT_EQ(0.0, ReadFieldDouble("."));
    EXPECT_EQ(HUGE_VAL, ReadFieldDouble("1e999"));
    EXPECT_EQ(-HUGE_VAL, ReadFieldDouble("-123456789e99999999999"));
    EXPECT_EQ(0.0, ReadFieldDouble("1e-999"));
    EXPECT_EQ(0.0, ReadFieldDouble("0.0000e99999"));
}

TEST_F(ServerMessage, ReadsNumbersWhateverTheProcessLocale)
{
    // With a comma locale the C library would read "2.5" as 2; the fields must not.
    const char* pszOld = setlocale(LC_NUMERIC, nullptr);
    const std::string strOld = pszOld != nullptr ? pszOld : "C";
    bool bSwitched = false;
    for (const char* pszLocale : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ar_KW.UTF-8"})
        bSwitched = bSwitched || setlocale(LC_NUMERIC, pszLocale) != nullptr;
    CServerMessage msg("$OB|1|XC||2.5", 1);
    const double dValue = msg.GetDouble(0, 0);
    setlocale(LC_NUMERIC, strOld.c_str());
    EXPECT_DOUBLE_EQ(2.5, dValue);
    if (!bSwitched)
        GTEST_SKIP() << "no comma locale installed: only the C locale was checked";
}

TEST_F(ServerMessage, OverridesLastUntilReset)
{
    CServerMessage msg("$GS|1|XC|5|KWD|1.5", 1);
    msg.SetOverride(1, "1.750");
    msg.SetOverride(2, "beyond");                   // outside the fields: ignored
    msg.SetOverride(-1, "before");
    EXPECT_STREQ("1.750", msg.GetFieldOrOverride(1));
    EXPECT_STREQ("1.5", msg.GetField(1));           // the field itself is untouched
    EXPECT_STREQ("KWD", msg.GetFieldOrOverride(0));
    msg.SetOverride(0, "");                         // an empty override shows the field
    EXPECT_STREQ("KWD", msg.GetFieldOrOverride(0));
    msg.ResetOverrides();
    EXPECT_STREQ("1.5", msg.GetFieldOrOverride(1));
    msg.SetOverride(1, "2");
    msg.Parse("$GS|1|XC|5|KWD|1.5");
    EXPECT_STREQ("1.5", msg.GetFieldOrOverride(1));
}

TEST_F(ServerMessage, FormatsTheEightRequestLineForms)
{
    EXPECT_EQ("@VC", RequestLine(MSG_VC, "", 0));
    EXPECT_EQ("@X9||256|n|e", RequestLine(MSG_X9, "256|n|e", 0, FALSE, FALSE, 0, TRUE));
    EXPECT_EQ("@VC|12", RequestLine(MSG_VC, "12", 2));
    EXPECT_EQ("whatever|x", RequestLine(MSG_OB, "whatever|x", 1, FALSE, TRUE));
    EXPECT_EQ("&OB|XC||", RequestLine(MSG_OB, "", 1));
    EXPECT_EQ("&EN|XC|5", RequestLine(MSG_EN, "5", 1));
    EXPECT_EQ("&OB|XC|77|a|b", RequestLine(MSG_OB, "a|b", 1, FALSE, FALSE, 77));
    EXPECT_EQ("&OB|XC||a|b", RequestLine(MSG_OB, "a|b", 1));
    EXPECT_EQ("^OB|XC||a", RequestLine(MSG_OB, "a", 1, TRUE));
    // The conditions are taken in order: raw before empty, empty before the request number.
    EXPECT_EQ("", RequestLine(MSG_OB, "", 1, FALSE, TRUE));
    EXPECT_EQ("&OB|XC||", RequestLine(MSG_OB, "", 1, FALSE, FALSE, 77));
    EXPECT_EQ("&OB|XC|-5|a", RequestLine(MSG_OB, "a", 1, FALSE, FALSE, -5));
    // No line for a type without a mnemonic, another mode, or a body that would end the line.
    EXPECT_EQ("refused -2 ''", RequestLine(190, "a", 1));
    EXPECT_EQ("refused -2 ''", RequestLine(MESSAGE_TYPE_DATA_ROW, "a", 1));
    EXPECT_EQ("refused -2 ''", RequestLine(MSG_OB, "a", 3));
    EXPECT_EQ("refused -1 ''", RequestLine(MSG_OB, "a\r\n&UL|XC||x", 1));
    EXPECT_EQ("refused -1 ''", RequestLine(MSG_OB, "a\n", 1, FALSE, TRUE));
    EXPECT_EQ("refused -1 ''", RequestLine(MSG_VC, "a\r", 0));
}

TEST_F(ServerMessage, BuildsRequestsFieldByField)
{
    CString strLine;
    CServerMessage msg(0);
    EXPECT_EQ(REQUEST_OK, msg.FormatRequest(&strLine, MSG_DQ, 1, FALSE, FALSE, nullptr, FALSE));
    EXPECT_STREQ("&DQ|XC||", strLine);          // no fields: the empty-body form

    msg.Add("a");
    msg.Add("");
    msg.Add("b");
    EXPECT_EQ(REQUEST_OK, msg.FormatRequest(&strLine, MSG_DQ, 1, FALSE, FALSE, nullptr, FALSE));
    EXPECT_STREQ("&DQ|XC||a||b", strLine);
    long nRequest = 12;
    EXPECT_EQ(REQUEST_OK, msg.FormatRequest(&strLine, MSG_DQ, 1, TRUE, FALSE, &nRequest, FALSE));
    EXPECT_STREQ("^DQ|XC|12|a||b", strLine);

    // Set-at-grow fills the gap with empty fields.
    CServerMessage sparse(0);
    sparse.SetAtGrow(3, "1");
    sparse.SetAtGrow(0, "x");
    EXPECT_EQ(4, sparse.GetSize());
    EXPECT_EQ(REQUEST_OK, sparse.FormatRequest(&strLine, MSG_RN, 1, FALSE, FALSE, nullptr, FALSE));
    EXPECT_STREQ("&RN|XC||x|||1", strLine);

    // A parsed message can be changed and sent on; its raw line stays as received.
    CServerMessage reply("$OB|1|XC|7|p|q", 1);
    reply.SetAtGrow(1, "r");
    EXPECT_EQ(REQUEST_OK, reply.FormatRequest(&strLine, MSG_OB, 1, FALSE, FALSE, nullptr, FALSE));
    EXPECT_STREQ("&OB|XC||p|r", strLine);
    EXPECT_STREQ("$OB|1|XC|7|p|q", reply.GetRawLine());
    reply.RemoveAll();
    EXPECT_EQ(0, reply.GetSize());
}

TEST_F(ServerMessage, RefusesFieldsThatWouldCorruptTheLine)
{
    // A typed password or note must never shift the fields after it or start a second line.
    for (const char* pszTyped : {"pa|ss", "note\r\n&UL|XC||admin|x", "line\n", "cr\r"}) {
        CServerMessage msg(0);
        msg.Add("user");
        msg.Add(pszTyped);
        CString strLine("stale");
        EXPECT_EQ(REQUEST_BAD_FIELD, msg.FormatRequest(&strLine, MSG_UL, 1, FALSE, FALSE, nullptr, FALSE))
            << pszTyped;
        EXPECT_STREQ("", strLine) << pszTyped;
    }
    // A raw line is the body as it stands: its bars are meant, its line ends are not.
    CServerMessage raw(0);
    raw.Add("&OB|XC||a|b");
    CString strLine;
    EXPECT_EQ(REQUEST_OK, raw.FormatRequest(&strLine, MSG_OB, 1, FALSE, TRUE, nullptr, FALSE));
    EXPECT_STREQ("&OB|XC||a|b", strLine);
    raw.Add("x\n");
    EXPECT_EQ(REQUEST_BAD_FIELD, raw.FormatRequest(&strLine, MSG_OB, 1, FALSE, TRUE, nullptr, FALSE));
    EXPECT_EQ(REQUEST_NO_TYPE, raw.FormatRequest(nullptr, MSG_OB, 1, FALSE, FALSE, nullptr, FALSE));
}

TEST_F(ServerMessage, FillsARowThroughTheFieldMap)
{
    const std::vector<CFakeRow::Column> columns = {
        {COLTYPE_STRING, 0}, {COLTYPE_DOUBLE, 2}, {COLTYPE_DOUBLE, -2}, {COLTYPE_DOUBLE, 0},
        {COLTYPE_DOUBLE, DECIMALS_64THS}, {COLTYPE_INT32, 2}, {COLTYPE_DOUBLE, 2}, {COLTYPE_STRING, 0}};
    const int map[] = {0, 1, 1, 1, 1, 1, 2, 3};

    // Lines from the server (mode 1) are written as they are.
    CServerMessage received("$OB|1|XC||KWD|1234|12.5", 1);
    CFakeRow row1(columns);
    EXPECT_EQ(8, received.FillRow(map, 8, &row1, 1));
    EXPECT_EQ("0=KWD/1 1=1234/1 2=1234/1 3=1234/1 4=1234/1 5=1234/1 6=12.5/1", row1.m_writes);

    // Mode 0: a whole number in a scaled double column is scaled; one with a point is not.
    CServerMessage built("KWD|1234|12.5|x", 0);
    CFakeRow row0(columns);
    EXPECT_EQ(8, built.FillRow(map, 8, &row0, 0));
    EXPECT_EQ("0=KWD/0 1=123400.000000/0 2=12.340000/0 3=1234/0 4=1234/0 5=1234/0 6=12.5/0 7=x/0",
              row0.m_writes);

    // Overrides come first; unmapped columns, short maps and fields beyond the line are skipped.
    built.SetOverride(1, "7");
    const int shortMap[] = {-1, 1, 99};
    CFakeRow rowShort(columns);
    EXPECT_EQ(8, built.FillRow(shortMap, 3, &rowShort, 4));
    EXPECT_EQ("1=700.000000/4", rowShort.m_writes);

    // The scaled value is written with the separator the table reads.
    CNorvGlobals& globals = GetNorvGlobals();
    globals.m_chDecimal = ',';
    CServerMessage comma("KWD|15|1,5", 0);
    CFakeRow rowComma(columns);
    comma.FillRow(map, 8, &rowComma, 0);
    globals.m_chDecimal = '.';
    EXPECT_EQ("0=KWD/0 1=1500,000000/0 2=0,150000/0 3=15/0 4=15/0 5=15/0 6=1,5/0", rowComma.m_writes);

    CFakeRow empty({});
    EXPECT_EQ(0, built.FillRow(map, 8, &empty, 0));
    EXPECT_EQ("", empty.m_writes);
    EXPECT_EQ(0, built.FillRow(map, 8, nullptr, 0));
    EXPECT_EQ(8, built.FillRow(nullptr, 0, &row0, 0));
}
