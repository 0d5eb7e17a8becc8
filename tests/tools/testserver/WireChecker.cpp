#include "WireChecker.h"
#include <cstdlib>
#include <cstring>
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"

namespace {

enum { FORM_NONE, FORM_DATE, FORM_TIME, FORM_DATETIME };
// A form whose readers convert the field only when it is not empty (a stock not traded yet).
#define OR_EMPTY(nForm) ((nForm) + 8)

// The fields the terminal's readers read, by type: the data fields a header (or plain line) must
// have at least, those of each row, and the fields read as server dates and times.
const struct Reader {
    const char* pszMnemonic;
    int nHeadFields;
    int nRowFields;
    struct { bool bRow; int nField; int nForm; } dates[6];
} s_readers[] = {
    {"VC", 6, 0, {}},
    {"XC", 5, 23, {}},
    {"MT", 3, 0, {{false, 1, FORM_TIME}, {false, 2, FORM_TIME}}},
    {"EM", 1, 2, {}},
    {"UL", 28, 0, {}},
    {"US", 2, 0, {}},
    {"DS", 3, 10, {}},
    {"SL", 1, 21, {{true, 6, FORM_DATETIME}, {true, 13, FORM_DATE}, {true, 14, FORM_DATE}, {true, 16, FORM_DATE}, {true, 17, FORM_DATE}}},
    {"CL", 0, 4, {}},
    {"CT", 1, 2, {}},
    {"TU", 3, 0, {}},
    {"GM", 13, 0, {{false, 2, FORM_TIME}, {false, 5, FORM_TIME}, {false, 9, FORM_TIME}}},
    {"GG", 28, 0, {}},
    {"HD", 1, 3, {{true, 0, FORM_DATE}}},
    {"VS", 1, 5, {{true, 2, FORM_TIME}}},
    {"VX", 4, 3, {}},
    {"LI", 4, 3, {}},
    {"FR", 1, 3, {}},
    {"TL", 1, 2, {}},
    {"RN", 19, 0, {}},
    {"GS", 35, 0, {{false, 6, FORM_TIME}, {false, 16, FORM_DATE}, {false, 20, FORM_DATE}}},
    {"TI", 1, 0, {{false, 0, FORM_TIME}}},
    {"MM", 2, 0, {}},
    {"CM", 2, 0, {}},
    {"BM", 2, 0, {}},
    {"MS", 6, 0, {}},
    {"DR", 3, 0, {}},
    // Market data: replies and their live lines.
    {"SQ", 1, 31, {{true, 2, OR_EMPTY(FORM_DATETIME)}, {true, 13, FORM_DATE}, {true, 29, OR_EMPTY(FORM_TIME)}}},
    {"QQ", 31, 0, {{false, 2, FORM_DATETIME}, {false, 13, FORM_DATE}, {false, 29, FORM_TIME}}},
    {"OB", 1, 6, {}},
    {"OU", 6, 0, {}},
    {"OD", 1, 5, {}},
    {"OO", 5, 0, {}},
    {"TE", 1, 6, {{true, 2, FORM_DATETIME}}},
    {"TM", 6, 0, {{false, 2, FORM_DATETIME}}},
    {"LX", 1, 11, {}},
    {"IX", 18, 0, {{false, 17, FORM_DATETIME}}},
    {"CD", 7, 3, {}},
    {"KH", 7, 3, {}},
    {"FQ", 1, 55, {}},
    {"FW", 55, 0, {}},
    {"OI", 1, 8, {}},
    {"DQ", 8, 12, {{false, 3, FORM_DATE}, {true, 0, FORM_DATE}}},
    {"DX", 7, 9, {{false, 3, FORM_DATE}, {true, 0, FORM_DATE}}},
    {"GO", 1, 9, {{true, 4, FORM_DATE}}},
    {"L2", 5, 0, {}},
    {"L3", 5, 0, {}},
    {"LW", 8, 8, {{true, 2, FORM_DATETIME}}},
    {"BW", 8, 0, {{false, 2, FORM_DATETIME}}},
    {"EW", 14, 0, {}},
    {"NN", 2, 3, {{true, 1, FORM_DATETIME}}},
    {"NZ", 3, 3, {{true, 1, FORM_DATETIME}}},
    {"NY", 1, 7, {{true, 0, FORM_DATETIME}}},
    {"NI", 7, 0, {{false, 0, FORM_DATETIME}}},
    {"ND", 1, 2, {}},
    {"CF", 7, 10, {{true, 7, FORM_DATE}}},
    {"CE", 6, 22, {{true, 7, FORM_DATE}, {true, 14, FORM_DATETIME}}},
    {"GL", 1, 7, {}},
    {"FE", 1, 9, {{true, 1, FORM_DATETIME}}},
    {"FM", 9, 0, {{false, 1, FORM_DATETIME}}},
    {"SF", 7, 3, {{false, 3, FORM_DATE}}},
    {"SI", 7, 2, {{false, 3, FORM_DATE}}},
    // An account's live lines.
    {"NS", 26, 0, {{false, 1, FORM_DATETIME}}},
    {"NO", 22, 0, {{false, 1, FORM_DATETIME}}},
    {"NX", 18, 0, {{false, 2, FORM_DATETIME}}},
    {"NT", 11, 0, {{false, 1, FORM_DATETIME}}},
    {"NC", 4, 0, {}},
    {"NF", 12, 0, {{false, 1, FORM_DATETIME}}},
    {"NW", 16, 0, {{false, 1, FORM_DATETIME}}},
    {"NU", 15, 0, {{false, 10, OR_EMPTY(FORM_DATE)}}},
    // Orders: checks, placing, modifying and cancelling.
    {"KV", 26, 0, {}},
    {"KR", 18, 0, {}},
    {"KJ", 31, 0, {}},
    {"KQ", 18, 0, {}},
    {"KW", 26, 0, {}},
    {"KM", 17, 0, {}},
    {"KC", 5, 0, {}},
    {"OV", 31, 0, {}},
    {"OW", 31, 0, {}},
    {"OR", 17, 0, {}},
    {"OM", 17, 0, {}},
    {"OC", 5, 0, {}},
    {"KU", 25, 0, {}},
    {"KA", 14, 0, {}},
    {"KL", 21, 0, {{false, 5, FORM_DATE}}},
    {"KI", 12, 0, {{false, 5, FORM_DATE}}},
    {"XO", 17, 0, {{false, 10, FORM_DATE}}},
    {"XI", 16, 0, {{false, 13, FORM_DATE}}},
    // Account reports and their live lines.
    {"OS", 9, 28, {{true, 1, FORM_DATETIME}}},
    {"KS", 11, 26, {{true, 1, FORM_DATETIME}}},
    {"KB", 10, 12, {{true, 1, FORM_DATETIME}}},
    {"ET", 6, 11, {{true, 1, FORM_DATETIME}}},
    {"EK", 8, 18, {{true, 2, FORM_DATETIME}}},
    {"EF", 7, 16, {{true, 1, FORM_DATETIME}}},
    {"IH", 4, 32, {}},
    {"NH", 31, 0, {}},
    {"IK", 5, 18, {}},
    {"IU", 19, 0, {}},
    {"UK", 5, 18, {}},
    {"UP", 4, 26, {}},
    {"RP", 10, 22, {{true, 1, FORM_DATE}}},
    {"RK", 10, 22, {{true, 1, FORM_DATE}}},
    {"TH", 13, 17, {{true, 1, FORM_DATE}}},
    {"TK", 10, 17, {{true, 1, FORM_DATE}}},
    {"NR", 17, 0, {{false, 1, FORM_DATE}}},
    {"NK", 17, 0, {{false, 1, FORM_DATE}}},
    {"KN", 10, 15, {{true, 0, FORM_DATE}, {true, 1, FORM_DATE}}},
    {"CU", 15, 0, {{false, 0, FORM_DATE}, {false, 1, FORM_DATE}}},
    {"MD", 4, 11, {}},
    {"MN", 9, 0, {}},
    {"ML", 4, 9, {}},
    {"LM", 4, 4, {}},
    {"PF", 14, 0, {}},
    {"PK", 15, 0, {}},
    {"PX", 14, 0, {}},
    {"CC", 7, 0, {}},
    {"RC", 15, 0, {}},
    {"PB", 1, 0, {}},
    {"KD", 34, 0, {{false, 4, FORM_DATE}, {false, 32, FORM_DATE}}},
};

// The US books' lines: after status, symbol, market and action, whole entries of this many
// fields, at most this many, each pair "number:number" (an "L3" side without a maker has none).
const struct BookLine { const char* pszMnemonic; int nEntryFields, nMaxEntries; int nPairs[2]; } s_bookLines[] = {
    {"L2", 3, 20, {1, 2}},
    {"L3", 6, 10, {2, 5}},
};

bool IsNumber(const std::string& s)
{
    char* pEnd = nullptr;
    strtod(s.c_str(), &pEnd);
    return !s.empty() && pEnd == s.c_str() + s.size();
}

// What is wrong with a book line the way its table reads it, "" when nothing.
std::string BookFault(const BookLine& book, const CServerMessage& msg)
{
    const std::string strAction = msg.GetFieldText(4);
    if (strAction != "0" && strAction != "1" && strAction != "2")
        return "a book line whose action is not 0, 1 or 2";
    const int nEntryFields = msg.GetSize() - 5;
    if (nEntryFields % book.nEntryFields != 0 || nEntryFields / book.nEntryFields > book.nMaxEntries)
        return "a book line that is not whole entries, or has more than its table takes";
    if (strAction == "2" && nEntryFields != 0)
        return "a book's clearing line with entries";
    for (int nAt = 5; nAt < msg.GetSize(); nAt += book.nEntryFields) {
        if (std::string(book.pszMnemonic) == "L2" && !IsNumber(msg.GetFieldText(nAt)))
            return "a price level without its price";
        for (int nPair : book.nPairs) {
            const std::string strPair = msg.GetFieldText(nAt + nPair);
            const bool bSide = book.nEntryFields == 3 || !std::string(msg.GetFieldText(nAt + nPair - 2)).empty();
            const size_t nColon = strPair.find(':');
            if (bSide && (nColon == std::string::npos || !IsNumber(strPair.substr(0, nColon)) ||
                          !IsNumber(strPair.substr(nColon + 1))))
                return "a book pair that is not \"number:number\"";
        }
    }
    return "";
}

// Plain lines whose readers take field 0 as the result and read nothing else when it is not 0.
const char* const s_resultFirst[] = {"KL", "KI", "XO", "XI"};

// The lists whose "EN" carries the number of rows; every other "EN" but a lookup's found flag reads 0.
const char* const s_countedEnds[] = {"LW", "NN", "NZ", "NY", "ND"};

const Reader* FindReader(const std::string& strMnemonic)
{
    for (const Reader& r : s_readers)
        if (strMnemonic == r.pszMnemonic)
            return &r;
    return nullptr;
}

bool IsDigits(const std::string& s)
{
    return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

// The server's forms: a date is the year minus 2000 then MMDD, a time HHMMSS with the hour's
// leading zero allowed to be missing, a date and time the year minus 2000 then MMDDhhmmss.
bool IsServerForm(const std::string& s, int nForm)
{
    if (nForm >= 8)
        return s.empty() || IsServerForm(s, nForm - 8);
    if (!IsDigits(s))
        return false;
    auto two = [&](size_t nFromEnd) { return atoi(s.substr(s.size() - nFromEnd, 2).c_str()); };
    switch (nForm) {
    case FORM_DATE: return s.size() >= 5 && s.size() <= 6 && two(4) >= 1 && two(4) <= 12 && two(2) >= 1 && two(2) <= 31;
    case FORM_TIME: return s.size() >= 5 && s.size() <= 6 && atoi(s.c_str()) / 10000 < 24 && two(4) < 60 && two(2) < 60;
    case FORM_DATETIME: return s.size() >= 11 && s.size() <= 12 && IsServerForm(s.substr(0, s.size() - 6), FORM_DATE) &&
                               IsServerForm(s.substr(s.size() - 6), FORM_TIME);
    }
    return true;
}

std::string Mnemonic(int nType)
{
    const MESSAGE_TYPE_INFO* pInfo = GetMessageTypeInfo(nType);
    return pInfo ? pInfo->szMnemonic : "";
}

std::vector<std::string> Header(const std::string& line)
{
    std::vector<std::string> parts;
    size_t nStart = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t n = line.find('|', nStart);
        parts.push_back(line.substr(nStart, n == std::string::npos ? std::string::npos : n - nStart));
        if (n == std::string::npos)
            break;
        nStart = n + 1;
    }
    return parts;
}

// A compact quotation ("GS" with two data fields) as the terminal expands it: the second field
// packs three characters of "0123456789|. #" into two.
std::string ExpandCompact(const std::string& line)
{
    static const char s_symbols[] = "0123456789|. #";
    auto value = [](char ch) {
        return ch >= 'A' && ch <= 'Z' ? ch - 'A' : ch >= 'a' && ch <= 'z' ? ch - 'a' + 26
             : ch >= '0' && ch <= '9' ? ch - '0' + 52 : ch == ',' ? 63 : -1;
    };
    const CServerMessage msg(line.c_str(), 1);
    std::string out = "~GS|1|XC|" + std::to_string(msg.GetHeaderNumber()) + "|" + msg.GetFieldText(0) + "|";
    const std::string packed = msg.GetFieldText(1);
    for (size_t i = 0; i + 1 < packed.size(); i += 2) {
        const int a = value(packed[i]), b = value(packed[i + 1]);
        if (a < 0 || b < 0)
            return "";
        const int v = (a % 4) * 64 + b;
        for (int nSymbol : {a / 4, v / 16, v % 16})
            if (nSymbol < 14)
                out += s_symbols[nSymbol];
    }
    return out;
}

}  // namespace

void CWireChecker::Check(const std::vector<std::string>& lines)
{
    RegisterMessageCodes(g_messageCodePairs);
    bool bInStream = false;
    long nStreamRows = 0;
    std::string strStreamLink;
    const Reader* pStreamReader = nullptr;
    for (const std::string& line : lines) {
        if (line.size() >= 31998 || line.find('\r') != std::string::npos || line.find('\0') != std::string::npos)
            Fault("a line too long or with CR or NUL", line);
        const CServerMessage msg(line.c_str(), 1);
        const int nType = msg.GetType();
        if (nType == MESSAGE_TYPE_DATA_ROW) {
            ++nRows;
            ++nStreamRows;
            if (!bInStream)
                Fault("a row outside a stream", line);
            if (strchr("~$&-", line.empty() ? '-' : line[0]))
                Fault("a row that starts like a control or typed line", line);
            if (pStreamReader && msg.GetSize() < pStreamReader->nRowFields)
                Fault("a row shorter than its readers read", line);
            if (pStreamReader)
                for (const auto& d : pStreamReader->dates)
                    if (d.nForm != FORM_NONE && d.bRow && !IsServerForm(msg.GetFieldText(d.nField), d.nForm))
                        Fault("a row's date or time not in the server's form", line);
            continue;
        }
        if (line[0] != '~')
            Fault("a typed line that does not start with '~'", line);
        const std::vector<std::string> head = Header(line);
        if (nType == MSG_EN) {
            ++counts["EN"];
            if (!bInStream)
                Fault("\"EN\" outside a stream", line);
            else if (head.size() < 2 || head[1] != strStreamLink)
                Fault("\"EN\" that does not echo its header's number", line);
            else if (pStreamReader && strcmp(pStreamReader->pszMnemonic, "TL") != 0) {
                bool bCounted = false;
                for (const char* psz : s_countedEnds)
                    bCounted = bCounted || strcmp(psz, pStreamReader->pszMnemonic) == 0;
                if (msg.GetLong(0) != (bCounted ? nStreamRows : 0))
                    Fault("an \"EN\" whose first field is not what its readers read", line);
            }
            bInStream = false;
            pStreamReader = nullptr;
            continue;
        }
        if (bInStream)
            Fault("a typed line inside a stream", line);
        const std::string strMnemonic = Mnemonic(nType);
        if (strMnemonic.empty()) {
            Fault("a type the terminal does not know", line);
            continue;
        }
        ++counts[strMnemonic];
        const MESSAGE_TYPE_INFO* pInfo = GetMessageTypeInfo(nType);
        const long nLink = head.size() > 1 ? atol(head[1].c_str()) : 0;
        auto itRequest = requests.find(nLink);
        const bool bReply = nLink != 0 && itRequest != requests.end() && itRequest->second.strMnemonic == strMnemonic;
        if (nLink != 0 && !bReply)
            Fault("a reply to no request of its type", line);
        // A quotation's header number is its market code.
        if (bReply && head.size() > 3 && head[3] != itRequest->second.strNumber && strMnemonic != "GS")
            Fault("a header number that does not echo the request's", line);
        long nError = 0;
        if (pInfo->nFanOut == FANOUT_REPLY || pInfo->nFanOut == FANOUT_CHECKED) {
            const int nField = pInfo->nErrorField < 0 ? msg.GetSize() - 1 : pInfo->nErrorField;
            nError = msg.GetLong(nField);
            auto itFail = fails.find(strMnemonic);
            const long nWant = itFail == fails.end() ? 0 : itFail->second;
            // A refused login or password change is an answer of its own, not a forced failure.
            if (nError != nWant && !(nWant == 0 && (strMnemonic == "UL" || strMnemonic == "US")))
                Fault("an error field of " + std::to_string(nError) + " where " + std::to_string(nWant) + " was due", line);
        }
        for (const char* psz : s_resultFirst)
            if (strMnemonic == psz && nError == 0)
                nError = msg.GetLong(0);
        const Reader* pReader = FindReader(strMnemonic);
        if (strMnemonic == "GS" && msg.GetSize() == 2) {
            ++counts["GS compact"];
            const std::string expanded = ExpandCompact(line);
            const CServerMessage full(expanded.c_str(), 1);
            if (expanded.empty() || full.GetSize() < 22 || !IsServerForm(full.GetFieldText(6), FORM_TIME) ||
                full.GetDouble(3, 0) <= 0)
                Fault("a compact quotation that does not expand to one", line + " -> " + expanded);
            continue;
        }
        for (const BookLine& book : s_bookLines)
            if (strMnemonic == book.pszMnemonic)
                if (const std::string strWhy = BookFault(book, msg); !strWhy.empty())
                    Fault(strWhy, line);
        if (pReader && nError == 0) {
            if (msg.GetSize() < pReader->nHeadFields)
                Fault("a line shorter than its readers read", line);
            for (const auto& d : pReader->dates)
                if (d.nForm != FORM_NONE && !d.bRow && !IsServerForm(msg.GetFieldText(d.nField), d.nForm))
                    Fault("a date or time not in the server's form", line);
        }
        if ((pInfo->nFanOut == FANOUT_REPLY && nError == 0) || pInfo->nFanOut == FANOUT_STREAM) {
            bInStream = true;
            nStreamRows = 0;
            strStreamLink = head.size() > 1 ? head[1] : "";
            pStreamReader = pReader;
        }
    }
    if (bInStream)
        faults.push_back("a stream without its \"EN\" at the end");
}
