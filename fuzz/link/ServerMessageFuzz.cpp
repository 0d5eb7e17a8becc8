// Server lines and request lines. A line from the input is parsed in the mode the input picks
// and compared with a plain split at '|' by the rules of each mode; fields, numbers, overrides
// and FillRow are read with hostile indices and column maps. A request is built from hostile
// fields: a field that would break the line is refused with an empty line, and an accepted
// line parses back to the fields it was built from.
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>
#include "framework/base/ColumnDataType.h"
#include "framework/base/NorvGlobals.h"
#include "fuzz/common/FuzzCheck.h"
#include "fuzz/common/FuzzInput.h"
#include "link/FieldNumbers.h"
#include "link/RowWriter.h"
#include "link/ServerMessage.h"

namespace {

using Fields = std::vector<std::string>;

Fields SplitAtBars(const std::string& line)
{
    Fields pieces;
    size_t nStart = 0;
    for (;;) {
        const size_t nBar = line.find('|', nStart);
        pieces.push_back(line.substr(nStart, nBar == std::string::npos ? std::string::npos : nBar - nStart));
        if (nBar == std::string::npos)
            return pieces;
        nStart = nBar + 1;
    }
}

std::string Join(const Fields& fields, size_t nFirst = 0)
{
    std::string s;
    for (size_t i = nFirst; i < fields.size(); ++i)
        s += (i > nFirst ? "|" : "") + fields[i];
    return s;
}

// What a parse must give, from the rules of the three modes.
struct Expected {
    int nType = MESSAGE_TYPE_UNKNOWN;
    long nHeader = 0;
    size_t nDataStart = 0;          // pieces before it are the header
    Fields fields;
};

Expected Expect(const std::string& line, int nMode)
{
    Expected x;
    if (line.empty() || (nMode != 1 && line[0] == '-'))
        return x;
    const Fields pieces = SplitAtBars(line);
    const bool bBar = pieces.size() > 1;
    const std::string head = bBar ? pieces[0] : "";
    const bool bTyped = !head.empty() && (nMode == 1 ? std::strchr("~$&", head[0]) != nullptr : head[0] == '$');
    if (!bTyped) {
        x.nType = MESSAGE_TYPE_DATA_ROW;
        x.fields = (nMode == 1 && !bBar) ? Fields{"", line} : pieces;
        return x;
    }
    x.nType = head.size() >= 3 ? GetMessageCode(head[1], head[2]) : MESSAGE_TYPE_UNKNOWN;
    x.nDataStart = nMode != 1 ? 2 : x.nType == MSG_EN ? 3 : 4;
    if (nMode == 1 && x.nType != MSG_EN && pieces.size() > 3 && !pieces[3].empty())
        x.nHeader = ReadFieldLong(pieces[3]);
    if (pieces.size() > x.nDataStart)
        x.fields.assign(pieces.begin() + static_cast<long>(x.nDataStart), pieces.end());
    return x;
}

// atol of the original, saturating at 32 bits: strtoll in the "C" locale, clamped.
long ReferenceLong(const std::string& text)
{
    const long long n = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<long>(n < INT_MIN ? INT_MIN : n > INT_MAX ? INT_MAX : n);
}

void CheckFields(const CServerMessage& msg, const Fields& fields, CFuzzInput& in)
{
    FUZZ_CHECK(msg.GetSize() == static_cast<int>(fields.size()), "field count");
    const int nSize = msg.GetSize();
    for (int i = -2; i < nSize + 2; ++i) {
        const bool bIn = i >= 0 && i < nSize;
        const std::string want = bIn ? fields[static_cast<size_t>(i)] : "";
        FUZZ_CHECK(std::string(msg.GetField(i)) == want, "GetField");
        FUZZ_CHECK(want == msg.GetFieldText(i), "GetFieldText");
        FUZZ_CHECK(msg.GetFieldView(i) == want, "GetFieldView");
        FUZZ_CHECK(msg.GetLong(i) == (bIn ? ReferenceLong(want) : 0), "GetLong reads as atol, 0 outside");
        const int nPower = in.TakeInt(-30, 30);
        const double d = msg.GetDouble(i, nPower);
        FUZZ_CHECK(bIn || d == 0.0, "GetDouble outside the fields");
        // A plain run of up to 15 digits is exact.
        if (bIn && !want.empty() && want.size() <= 15 && want.find_first_not_of("0123456789") == std::string::npos)
            FUZZ_CHECK(msg.GetDouble(i, 0) == static_cast<double>(std::strtoll(want.c_str(), nullptr, 10)),
                       "GetDouble of digits");
        (void)d;
    }
    for (int i : {INT_MIN, INT_MAX, -1000000}) {
        FUZZ_CHECK(msg.GetField(i).IsEmpty() && msg.GetFieldText(i)[0] == '\0' && msg.GetLong(i) == 0 &&
                       msg.GetDouble(i, 3) == 0.0 && msg.GetFieldOrOverride(i).IsEmpty(),
                   "an index far outside reads as nothing");
    }
}

void CheckParse(const CServerMessage& msg, const std::string& line, int nMode, CFuzzInput& in)
{
    const Expected x = Expect(line, nMode);
    FUZZ_CHECK(msg.GetType() == x.nType, "message type");
    FUZZ_CHECK(msg.GetHeaderNumber() == x.nHeader, "header number");
    FUZZ_CHECK(std::string(msg.GetRawLine()) == line, "raw line");
    FUZZ_CHECK(msg.GetRawFirstChar() == (line.empty() ? '\0' : line[0]), "raw first character");
    CheckFields(msg, x.fields, in);
    if (nMode == 1 && !line.empty()) {
        // Received lines: the header pieces and the fields joined with '|' give the line back.
        const Fields pieces = SplitAtBars(line);
        if (x.nType == MESSAGE_TYPE_DATA_ROW && pieces.size() > 1)
            FUZZ_CHECK(Join(x.fields) == line, "a data row's fields join to the line");
        if (x.nType != MESSAGE_TYPE_DATA_ROW && !x.fields.empty())
            FUZZ_CHECK(Join(Fields(pieces.begin(), pieces.begin() + static_cast<long>(x.nDataStart))) + "|" +
                               Join(x.fields) == line,
                       "header and fields join to the line");
    }
}

// Overrides against a plain map: the override where one is set and not empty, else the field.
void CheckOverrides(CServerMessage& msg, CFuzzInput& in)
{
    std::map<int, std::string> model;
    const int nSize = msg.GetSize();
    const int nSteps = in.TakeInt(0, 8);
    for (int nStep = 0; nStep < nSteps; ++nStep) {
        if (in.TakeInt(0, 5) == 0) {
            msg.ResetOverrides();
            model.clear();
            continue;
        }
        const int i = in.TakeInt(-2, nSize + 2);
        const std::string text = in.TakeText(12);
        msg.SetOverride(i, text.c_str());
        if (i >= 0 && i < nSize)
            model[i] = text;
    }
    for (int i = -2; i < nSize + 2; ++i) {
        const auto it = model.find(i);
        const std::string want = it != model.end() && !it->second.empty() ? it->second : std::string(msg.GetField(i));
        FUZZ_CHECK(std::string(msg.GetFieldOrOverride(i)) == want, "GetFieldOrOverride");
        FUZZ_CHECK(want == msg.GetFieldOrOverrideText(i), "GetFieldOrOverrideText");
    }
}

// A row whose columns the input makes up; it records every write.
class CRecordingRow : public IMessageRowWriter
{
public:
    int GetColumnCount() const override { return m_nColumns; }
    int GetColumnType(int nCol) const override { return Column(nCol).nType; }
    int GetColumnDecimals(int nCol) const override { return Column(nCol).nDecimals; }
    BOOL SetCellText(int nCol, LPCSTR pszText, int nFlag) override
    {
        Column(nCol);
        FUZZ_CHECK(pszText != nullptr, "a cell text");
        m_writes.push_back({nCol, pszText, nFlag});
        return TRUE;
    }

    struct ColumnInfo { int nType, nDecimals; };
    struct Write { int nCol; std::string text; int nFlag; };
    int m_nColumns = 0;
    std::vector<ColumnInfo> m_columns;
    std::vector<Write> m_writes;

private:
    const ColumnInfo& Column(int nCol) const
    {
        FUZZ_CHECK(nCol >= 0 && nCol < m_nColumns, "a column the row has");
        return m_columns[static_cast<size_t>(nCol)];
    }
};

void CheckFillRow(const CServerMessage& msg, CFuzzInput& in)
{
    static const int s_types[] = {COLTYPE_INT32, COLTYPE_INT64, COLTYPE_DOUBLE, COLTYPE_INT, COLTYPE_CHAR4,
                                  COLTYPE_STRING, COLTYPE_PACKED_DATE, COLTYPE_DATE_TEXT, 90, 99, -7};
    CRecordingRow row;
    row.m_nColumns = in.TakeInt(-1, 12);
    for (int c = 0; c < row.m_nColumns; ++c) {
        const int nType = s_types[in.TakeInt(0, static_cast<int>(sizeof s_types / sizeof s_types[0]) - 1)];
        const int nPick = in.TakeInt(0, 3);
        const int nDecimals = nPick == 0 ? 0 : nPick == 1 ? DECIMALS_64THS : in.TakeInt(-25, 25);
        row.m_columns.push_back({nType, nDecimals});
    }
    // A hostile map: indices outside the fields, at the ends of int, and a map shorter or
    // longer than the row.
    std::vector<int> map(static_cast<size_t>(in.TakeInt(0, 16)));
    for (int& n : map) {
        switch (in.TakeInt(0, 3)) {
        case 0: n = INT_MIN; break;
        case 1: n = INT_MAX; break;
        default: n = in.TakeInt(-3, msg.GetSize() + 3); break;
        }
    }
    const bool bNullMap = in.TakeInt(0, 15) == 0;
    const int nFlag = in.TakeInt(-1, 0x7ff);
    CNorvGlobals& globals = GetNorvGlobals();
    const char chSaved = globals.m_chDecimal;
    globals.m_chDecimal = in.TakeBool() ? ',' : '.';
    const char chDecimal = globals.m_chDecimal;
    const int nResult = msg.FillRow(bNullMap ? nullptr : map.data(), static_cast<int>(map.size()), &row, nFlag);
    globals.m_chDecimal = chSaved;

    FUZZ_CHECK(nResult == row.m_nColumns, "FillRow returns the column count");
    size_t nWrite = 0;
    for (int c = 0; !bNullMap && c < row.m_nColumns && c < static_cast<int>(map.size()); ++c) {
        const int nField = map[static_cast<size_t>(c)];
        if (nField < 0 || nField >= msg.GetSize())
            continue;
        FUZZ_CHECK(nWrite < row.m_writes.size(), "a mapped column is written");
        const CRecordingRow::Write& w = row.m_writes[nWrite++];
        FUZZ_CHECK(w.nCol == c && w.nFlag == nFlag, "columns in order, with the caller's flag");
        const std::string text = msg.GetFieldOrOverrideText(nField);
        const CRecordingRow::ColumnInfo& col = row.m_columns[static_cast<size_t>(c)];
        if (msg.GetMode() == 0 && col.nType == COLTYPE_DOUBLE && col.nDecimals != 0 && col.nDecimals != DECIMALS_64THS &&
            text.find(chDecimal) == std::string::npos) {
            // A whole number in a scaled column: written as "%lf" would, with the separator.
            char szWant[400];
            std::snprintf(szWant, sizeof szWant, "%lf", ReadFieldDouble(text) * PowerOfTen(col.nDecimals));
            if (char* pPoint = std::strchr(szWant, '.'))
                *pPoint = chDecimal;
            FUZZ_CHECK(w.text == szWant, "a scaled value");
        } else {
            FUZZ_CHECK(w.text == text, "the field's text, override first");
        }
    }
    FUZZ_CHECK(nWrite == row.m_writes.size(), "no column written that the map does not name");
}

// Request lines from hostile fields.
void CheckRequest(CFuzzInput& in, const CServerMessage* pParsed)
{
    CServerMessage msg = pParsed != nullptr ? *pParsed : CServerMessage(1);
    Fields model;
    for (int i = 0; i < msg.GetSize(); ++i)
        model.push_back(std::string(msg.GetField(i)));
    const Fields original = model;
    if (in.TakeInt(0, 7) == 0) {
        msg.RemoveAll();
        model.clear();
    }
    const int nSteps = in.TakeInt(0, 6);
    for (int nStep = 0; nStep < nSteps; ++nStep) {
        const std::string text = in.TakeText(24);
        if (in.TakeBool()) {
            FUZZ_CHECK(msg.Add(text.c_str()) == static_cast<int>(model.size()), "Add answers the new index");
            model.push_back(text);
        } else {
            const int i = in.TakeInt(-1, 12);
            msg.SetAtGrow(i, text.c_str());
            if (i >= 0) {
                if (static_cast<size_t>(i) >= model.size())
                    model.resize(static_cast<size_t>(i) + 1);
                model[static_cast<size_t>(i)] = text;
            }
        }
    }
    FUZZ_CHECK(msg.GetSize() == static_cast<int>(model.size()), "built field count");
    for (size_t i = 0; i < model.size(); ++i)
        FUZZ_CHECK(model[i] == msg.GetFieldText(static_cast<int>(i)), "built field");
    if (pParsed != nullptr) {
        // The message it was copied from keeps its own fields.
        FUZZ_CHECK(pParsed->GetSize() == static_cast<int>(original.size()), "the original's field count");
        for (size_t i = 0; i < original.size(); ++i)
            FUZZ_CHECK(pParsed->GetFieldView(static_cast<int>(i)) == original[i], "the original's fields");
    }

    int nType = 0;
    switch (in.TakeInt(0, 3)) {
    case 0: nType = in.TakeInt(-5, 400); break;
    case 1: nType = MSG_EN; break;
    default: {
        int nCount = 0;
        while (g_messageCodePairs[nCount].pszMnemonic != nullptr)
            ++nCount;
        nType = g_messageCodePairs[in.TakeInt(0, nCount - 1)].nCode;
        break;
    }
    }
    const int nMode = in.TakeInt(-1, 3);
    const BOOL bCaret = in.TakeBool();
    const BOOL bRaw = in.TakeBool();
    const BOOL bDoubleBar = in.TakeBool();
    long nRequest = in.TakeBool() ? in.TakeInt(INT_MIN, INT_MAX) : 0;
    const bool bNumber = in.TakeBool();

    CString strLine("left over");
    const int nResult = msg.FormatRequest(&strLine, nType, nMode, bCaret, bRaw, bNumber ? &nRequest : nullptr, bDoubleBar);
    const std::string line(strLine.GetString(), static_cast<size_t>(strLine.GetLength()));

    const bool bRawLine = nMode == 1 && bRaw;
    bool bBadField = false;
    for (const std::string& field : model)
        bBadField = bBadField || field.find_first_of(bRawLine ? "\r\n" : "|\r\n") != std::string::npos;
    LPCSTR pszMnemonic = GetMessageMnemonic(nType);
    const int nWant = bBadField                                       ? REQUEST_BAD_FIELD
                      : (pszMnemonic == nullptr || nMode < 0 || nMode > 2) ? REQUEST_NO_TYPE
                                                                           : REQUEST_OK;
    FUZZ_CHECK(nResult == nWant, "FormatRequest's answer");
    if (nResult != REQUEST_OK) {
        FUZZ_CHECK(line.empty(), "a refused request leaves an empty line");
        return;
    }
    FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos, "one line");
    const std::string body = Join(model);
    const std::string mnemonic = pszMnemonic;
    if (bRawLine) {
        FUZZ_CHECK(line == body, "a raw line is the body");
        return;
    }
    if (nMode != 1) {
        const std::string prefix = "@" + mnemonic + (body.empty() ? "" : bDoubleBar ? "||" : "|");
        FUZZ_CHECK(line == prefix + body, "a link line");
        return;
    }
    FUZZ_CHECK(line[0] == (bCaret ? '^' : '&') && line.compare(1, 2, mnemonic) == 0, "prefix and mnemonic");
    if (body.empty()) {
        FUZZ_CHECK(line.substr(3) == "|XC||", "the empty-body form");
        return;
    }
    // As the server reads it: the link puts its number after the mnemonic, and the server's
    // parse of the line gives the type, the request number and every field back.
    const std::string sent = "&" + mnemonic + "|1" + line.substr(3);
    const CServerMessage back(sent.c_str(), 1);
    FUZZ_CHECK(back.GetType() == nType, "the type parses back");
    const long nWantNumber = nType != MSG_EN && bNumber && nRequest != 0 ? nRequest : 0;
    FUZZ_CHECK(back.GetHeaderNumber() == nWantNumber, "the request number parses back");
    FUZZ_CHECK(back.GetSize() == static_cast<int>(model.size()), "the field count parses back");
    for (size_t i = 0; i < model.size(); ++i)
        FUZZ_CHECK(back.GetFieldView(static_cast<int>(i)) == model[i], "a field parses back");

    // The body alone, as callers hand it over.
    const std::string hostile = in.TakeText(24);
    CString strDirect("left over");
    const int nDirect = FormatRequestLine(&strDirect, nType, hostile, nMode, bCaret, FALSE, nullptr, bDoubleBar);
    const bool bBreaks = hostile.find_first_of("\r\n") != std::string::npos;
    FUZZ_CHECK(nDirect == (bBreaks ? REQUEST_BAD_FIELD : REQUEST_OK), "FormatRequestLine's answer");
    FUZZ_CHECK(!bBreaks || strDirect.IsEmpty(), "a refused body leaves an empty line");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    RegisterMessageCodes(g_messageCodePairs);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    CFuzzInput in(pData, nSize);
    const int nMode = in.TakeInt(0, 2);
    const std::string line = in.TakeText(400);
    CServerMessage msg(line.c_str(), nMode);
    CheckParse(msg, line, nMode, in);
    CheckOverrides(msg, in);
    CheckFillRow(msg, in);

    // A copy is a message of its own; parsing again forgets the first line and its overrides.
    const CServerMessage copy = msg;
    const std::string second = in.TakeText(200);
    msg.Parse(second.c_str());
    CheckParse(copy, line, nMode, in);
    CheckParse(msg, second, nMode, in);
    for (int i = 0; i < msg.GetSize(); ++i)
        FUZZ_CHECK(std::string(msg.GetFieldOrOverride(i)) == std::string(msg.GetField(i)), "no override survives a parse");

    CheckRequest(in, in.TakeBool() ? &copy : nullptr);
    return 0;
}
