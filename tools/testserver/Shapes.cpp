#include "tools/testserver/Shapes.h"
#include <fnmatch.h>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

enum {
    SOURCE_TEXT, SOURCE_ERR, SOURCE_NUMBER, SOURCE_COUNT, SOURCE_SEQ, SOURCE_REQ, SOURCE_USER,
    SOURCE_CLOCK, SOURCE_ROW, SOURCE_EN, SOURCE_AR, SOURCE_LANG, SOURCE_FOUND, SOURCE_BASE64, SOURCE_SDATE, SOURCE_OWN
};

static const struct { const char* pszPrefix; int nSource; } s_sources[] = {
    {"err", SOURCE_ERR}, {"number", SOURCE_NUMBER}, {"count", SOURCE_COUNT}, {"found", SOURCE_FOUND}, {"seq", SOURCE_SEQ},
    {"req.", SOURCE_REQ}, {"user.", SOURCE_USER}, {"clock.", SOURCE_CLOCK}, {"row.", SOURCE_ROW},
    {"en.", SOURCE_EN}, {"ar.", SOURCE_AR}, {"text.", SOURCE_LANG}, {"b64.", SOURCE_BASE64}, {"sdate.", SOURCE_SDATE},
    {"own.", SOURCE_OWN},
};

static std::string Base64(const std::string& strIn)
{
    static const char s_digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < strIn.size(); i += 3) {
        const size_t n = std::min<size_t>(3, strIn.size() - i);
        uint32_t v = 0;
        for (size_t k = 0; k < 3; ++k)
            v = (v << 8) | (k < n ? static_cast<unsigned char>(strIn[i + k]) : 0u);
        for (size_t k = 0; k < 4; ++k)
            out += k <= n ? s_digits[(v >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

// The compact form of a typed line: its first data field, then the rest packed, three
// characters of "0123456789|. #" in two of A-Z, a-z, 0-9 and ',' (values 0 to 63); 15 fills
// the last three. A character outside the set is left out.
static std::string Compact(const std::string& strLine)
{
    static const char s_symbols[] = "0123456789|. #";
    static const char s_digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+,";
    size_t nAt = 0;
    for (int nBars = 0; nBars < 5 && nAt != std::string::npos; ++nBars)
        nAt = strLine.find('|', nAt + (nBars ? 1 : 0));
    if (nAt == std::string::npos)
        return strLine;
    std::vector<int> symbols;
    for (size_t i = nAt + 1; i < strLine.size(); ++i)
        if (const char* p = strchr(s_symbols, strLine[i]); p && *p)
            symbols.push_back(static_cast<int>(p - s_symbols));
    while (symbols.size() % 3)
        symbols.push_back(15);
    std::string out = strLine.substr(0, nAt + 1);
    for (size_t i = 0; i < symbols.size(); i += 3) {
        const int v = symbols[i + 1] * 16 + symbols[i + 2];
        out += s_digits[symbols[i] * 4 + v / 64];
        out += s_digits[v % 64];
    }
    return out;
}

// YYYYMMDD to the server's form: the year minus 2000 without leading zeros, then MMDD.
static std::string ServerDate(const std::string& strDate)
{
    if (strDate.size() != 8)
        return strDate;
    return std::to_string(atoi(strDate.substr(0, 4).c_str()) - 2000) + strDate.substr(4);
}

static bool ParseField(const std::string& strText, CShapeField& field, std::string& strError)
{
    size_t i = 0;
    while (i < strText.size()) {
        const size_t nOpen = strText.find('{', i);
        if (nOpen != i) {
            field.push_back({SOURCE_TEXT, strText.substr(i, nOpen == std::string::npos ? std::string::npos : nOpen - i)});
            if (nOpen == std::string::npos)
                break;
        }
        const size_t nClose = strText.find('}', nOpen);
        if (nClose == std::string::npos) {
            strError = "unclosed {";
            return false;
        }
        const std::string strName = strText.substr(nOpen + 1, nClose - nOpen - 1);
        bool bFound = false;
        for (const auto& s : s_sources) {
            const std::string strPrefix = s.pszPrefix;
            const bool bDotted = strPrefix.back() == '.';
            if (bDotted ? strName.compare(0, strPrefix.size(), strPrefix) == 0 && strName.size() > strPrefix.size()
                        : strName == strPrefix) {
                field.push_back({s.nSource, bDotted ? strName.substr(strPrefix.size()) : ""});
                bFound = true;
                break;
            }
        }
        if (!bFound) {
            strError = "unknown source {" + strName + "}";
            return false;
        }
        i = nClose + 1;
    }
    return true;
}

static bool ParseFields(const std::string& strText, std::vector<CShapeField>& fields, std::string& strError)
{
    fields.clear();
    if (strText.empty())
        return true;
    for (const std::string& strField : SplitFields(strText)) {
        fields.emplace_back();
        if (!ParseField(strField, fields.back(), strError))
            return false;
    }
    return true;
}

static bool ParseKey(const std::string& strKey, const std::string& strValue, CShape& shape, std::string& strError)
{
    if (strKey == "error") {
        shape.nErrorField = atoi(strValue.c_str());
    } else if (strKey == "rows") {
        shape.strRows = strValue;
        return ParseField(strValue, shape.rows, strError);
    } else if (strKey == "live") {
        shape.strLive = strValue;
    } else if (strKey == "after") {
        shape.strAfter = strValue;
    } else if (strKey == "compact") {
        shape.bCompact = strValue == "1";
    } else if (strKey == "entries") {
        shape.nEntries = atoi(strValue.c_str());
        if (shape.nEntries <= 0) {
            strError = "entries= takes a count above 0";
            return false;
        }
    } else if (strKey == "as") {
        shape.strAs = strValue;
    } else if (strKey == "unknown") {
        shape.nUnknownError = atol(strValue.c_str());
    } else if (strKey == "if") {
        const size_t nClose = strValue.find('}');
        const size_t nOp = strValue.find_first_of("=~", nClose == std::string::npos ? 0 : nClose);
        if (nOp == std::string::npos || nOp == 0) {
            strError = "a condition without = or ~";
            return false;
        }
        shape.bIf = true;
        shape.condition.nOp = strValue[nOp];
        shape.bIfNot = nOp > 0 && strValue[nOp - 1] == '!';
        return ParseField(strValue.substr(0, nOp - (shape.bIfNot ? 1 : 0)), shape.conditionLeft, strError) &&
               ParseField(strValue.substr(nOp + 1), shape.condition.value, strError);
    } else if (strKey == "lang") {
        shape.nLangField = strValue == "session" ? SHAPE_LANG_SESSION : atoi(strValue.c_str());
    } else if (strKey == "number") {
        shape.bOwnNumber = true;
        return ParseField(strValue, shape.number, strError);
    } else if (strKey == "link") {
        shape.bOwnLink = true;
        return ParseField(strValue, shape.link, strError);
    } else if (strKey == "where") {
        std::stringstream in(strValue);
        std::string strOne;
        while (std::getline(in, strOne, ',')) {
            const size_t nOp = strOne.find_first_of("=&~");
            if (nOp == std::string::npos || nOp == 0) {
                strError = "filter without = or &";
                return false;
            }
            CShapeFilter filter;
            filter.strField = strOne.substr(0, nOp);
            filter.nOp = strOne[nOp];
            if (!ParseField(strOne.substr(nOp + 1), filter.value, strError))
                return false;
            shape.filters.push_back(std::move(filter));
        }
    } else {
        strError = "unknown key " + strKey;
        return false;
    }
    return true;
}

static bool ParseShapeLine(const std::string& strLine, CShape& shape, std::string& strError)
{
    static const char* const s_kinds[] = {"plain", "stream", "each", "silent"};
    std::stringstream in(strLine);
    std::string strKind, strWord;
    in >> shape.strName >> strKind;
    shape.strMnemonic = shape.strName.substr(0, 2);
    if (shape.strName.size() < 2 || (shape.strName.size() > 2 && shape.strName[2] != '.')) {
        strError = "a name is a mnemonic and an optional .variant";
        return false;
    }
    shape.nKind = -1;
    for (int i = 0; i < 4; ++i)
        if (strKind == s_kinds[i])
            shape.nKind = i;
    if (shape.nKind < 0) {
        strError = "unknown kind " + strKind;
        return false;
    }
    while (in >> strWord) {
        const size_t nEq = strWord.find('=');
        if (nEq == std::string::npos) {
            strError = "key without a value: " + strWord;
            return false;
        }
        if (!ParseKey(strWord.substr(0, nEq), strWord.substr(nEq + 1), shape, strError))
            return false;
    }
    return true;
}

bool CShapeBook::Load(const std::string& strPath, std::string& strError)
{
    std::ifstream in(strPath);
    if (!in) {
        strError = strPath + ": cannot be read";
        return false;
    }
    std::string line;
    int nLine = 0;
    while (std::getline(in, line)) {
        ++nLine;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::string strWhy;
        bool bOk = true;
        if (line[0] != ' ') {
            m_shapes.emplace_back();
            bOk = ParseShapeLine(line, m_shapes.back(), strWhy);
        } else {
            const size_t nStart = line.find_first_not_of(' ');
            const size_t nSpace = line.find(' ', nStart);
            const std::string strPart = line.substr(nStart, nSpace == std::string::npos ? std::string::npos : nSpace - nStart);
            const std::string strRest = nSpace == std::string::npos ? "" : line.substr(nSpace + 1);
            std::vector<CShapeField>* pFields = nullptr;
            if (!m_shapes.empty())
                pFields = strPart == "head" ? &m_shapes.back().head : strPart == "row" ? &m_shapes.back().row
                        : strPart == "end" ? &m_shapes.back().end : nullptr;
            if (!pFields) {
                strWhy = "a field list outside a shape, or not head, row or end";
                bOk = false;
            } else {
                bOk = ParseFields(strRest, *pFields, strWhy);
            }
        }
        if (!bOk) {
            strError = strPath + ":" + std::to_string(nLine) + ": " + strWhy;
            return false;
        }
    }
    for (CShape& shape : m_shapes) {
        if (shape.strAs.empty())
            continue;
        const CShape* pLike = Find(shape.strAs);
        if (!pLike || !pLike->strAs.empty()) {
            strError = strPath + ": " + shape.strName + ": as=" + shape.strAs + " names no shape with fields of its own";
            return false;
        }
        const std::vector<CShapeField>& fields = pLike->nKind == SHAPE_STREAM ? pLike->row : pLike->head;
        if (shape.nKind == SHAPE_STREAM)
            shape.row = fields;
        else
            shape.head = fields;
    }
    return true;
}

std::vector<const CShape*> CShapeBook::Conditional(const std::string& strMnemonic) const
{
    std::vector<const CShape*> out;
    for (const CShape& shape : m_shapes)
        if (shape.bIf && shape.strLive.empty() && shape.strMnemonic == strMnemonic)
            out.push_back(&shape);
    return out;
}

const CShape* CShapeBook::Find(const std::string& strName) const
{
    for (const CShape& shape : m_shapes)
        if (shape.strName == strName)
            return &shape;
    return nullptr;
}

// What a field of one line is expanded against.
struct CShapeWriter::Scope
{
    const CShapeContext& ctx;
    const CRecord* pRow;
    bool bArabic;
    size_t nCount;
};

static const std::string& Lookup(const CRecord* pRec, const std::string& strName)
{
    static const std::string s_empty;
    if (!pRec)
        return s_empty;
    auto it = pRec->find(strName);
    return it == pRec->end() ? s_empty : it->second;
}

// A value may not end the line or shift the fields after it.
static void AppendClean(std::string& out, const std::string& strValue)
{
    for (char ch : strValue)
        out += ch == '|' ? '/' : (ch == '\r' || ch == '\n' || ch == '\0') ? ' ' : ch;
}

std::string CShapeWriter::Expand(const CShapeField& field, const Scope& s) const
{
    std::string out;
    AppendField(out, field, s);
    return out;
}

void CShapeWriter::AppendField(std::string& out, const CShapeField& field, const Scope& s) const
{
    for (const CShapePiece& piece : field) {
        switch (piece.nSource) {
        case SOURCE_TEXT: out += piece.strText; break;
        case SOURCE_ERR: out += std::to_string(s.ctx.nError); break;
        case SOURCE_NUMBER: AppendClean(out, s.ctx.strNumber); break;
        case SOURCE_COUNT: out += std::to_string(s.nCount); break;
        case SOURCE_FOUND: out += s.nCount > 0 ? "1" : "0"; break;
        case SOURCE_SEQ: out += std::to_string(s.ctx.nSeq); break;
        case SOURCE_REQ: {
            // {req.N+}: field N and every one after it, at their places.
            const size_t i = static_cast<size_t>(atoi(piece.strText.c_str()));
            const bool bRest = piece.strText.back() == '+';
            for (size_t k = i; s.ctx.pRequest && k < s.ctx.pRequest->size() && (k == i || bRest); ++k) {
                if (k > i)
                    out += '|';
                AppendClean(out, (*s.ctx.pRequest)[k]);
            }
            break;
        }
        case SOURCE_USER: AppendClean(out, Lookup(s.ctx.pUser, piece.strText)); break;
        case SOURCE_CLOCK: AppendClean(out, Lookup(s.ctx.pClock, piece.strText)); break;
        case SOURCE_ROW: AppendClean(out, Lookup(s.pRow, piece.strText)); break;
        case SOURCE_EN: AppendClean(out, m_text.Convert(Lookup(s.pRow, piece.strText), false)); break;
        case SOURCE_AR: AppendClean(out, m_text.Convert(Lookup(s.pRow, piece.strText + "_ar"), true)); break;
        case SOURCE_OWN: AppendClean(out, m_text.Convert(Lookup(s.pRow, piece.strText), Lookup(s.pRow, "lang") == "1")); break;
        case SOURCE_BASE64: out += Base64(m_text.Convert(Lookup(s.pRow, piece.strText), Lookup(s.pRow, "lang") == "1")); break;
        case SOURCE_SDATE: AppendClean(out, ServerDate(Lookup(s.pRow, piece.strText))); break;
        case SOURCE_LANG: {
            const std::string& strArabic = Lookup(s.pRow, piece.strText + "_ar");
            if (s.bArabic && !strArabic.empty())
                AppendClean(out, m_text.Convert(strArabic, true));
            else
                AppendClean(out, m_text.Convert(Lookup(s.pRow, piece.strText), false));
            break;
        }
        }
    }
}

std::vector<std::string> CShapeWriter::ExpandAll(const std::vector<CShapeField>& fields, const Scope& scope) const
{
    std::vector<std::string> out;
    out.reserve(fields.size());
    for (const CShapeField& field : fields)
        out.push_back(Expand(field, scope));
    return out;
}

bool CShapeWriter::Matches(const CShape& shape, const CRecord& rec, const Scope& scope) const
{
    for (const CShapeFilter& filter : shape.filters) {
        const std::string strWant = Expand(filter.value, scope);
        if (strWant.empty())
            continue;
        const std::string& strHave = Lookup(&rec, filter.strField);
        const bool bMatch = filter.nOp == '&' ? (atol(strHave.c_str()) & atol(strWant.c_str())) != 0
                          : filter.nOp == '~' ? fnmatch(strWant.c_str(), strHave.c_str(), FNM_CASEFOLD) == 0
                                              : strHave == strWant;
        if (!bMatch)
            return false;
    }
    return true;
}

std::string CShapeWriter::TypedLine(const std::string& strMnemonic, const std::string& strLink,
                                    const std::string& strNumber, const std::vector<std::string>& fields)
{
    std::string line = "~" + strMnemonic + "|" + strLink + "|XC|" + strNumber;
    for (const std::string& f : fields)
        line += "|" + f;
    return line;
}

std::string CShapeWriter::TypedLine(const CShape& shape, const std::string& strLink, const std::string& strNumber,
                                    const Scope& scope) const
{
    std::string line;
    line.reserve(256);
    line += '~';
    line += shape.strMnemonic;
    line += '|';
    line += strLink;
    line += "|XC|";
    line += strNumber;
    for (const CShapeField& field : shape.head) {
        line += '|';
        AppendField(line, field, scope);
    }
    return line;
}

bool CShapeWriter::Holds(const CShape& shape, const CShapeContext& ctx) const
{
    const Scope scope{ctx, ctx.pRecord, false, 0};
    const std::string strLeft = Expand(shape.conditionLeft, scope), strRight = Expand(shape.condition.value, scope);
    const bool bHolds = shape.condition.nOp == '~' ? fnmatch(strRight.c_str(), strLeft.c_str(), FNM_CASEFOLD) == 0
                                                   : strLeft == strRight;
    return bHolds != shape.bIfNot;
}

bool CShapeWriter::Write(const std::string& strShape, const CShapeContext& ctx, CShapeReply& reply) const
{
    const CShape* pShape = m_book.Find(strShape);
    return pShape && Write(*pShape, ctx, reply);
}

bool CShapeWriter::Write(const CShape& shape, const CShapeContext& ctx, CShapeReply& reply) const
{
    reply = CShapeReply();
    const bool bArabic = shape.nLangField == SHAPE_LANG_SESSION
                             ? ctx.bArabicSession
                             : shape.nLangField >= 0 && ctx.pRequest &&
                                   static_cast<size_t>(shape.nLangField) < ctx.pRequest->size() &&
                                   (*ctx.pRequest)[static_cast<size_t>(shape.nLangField)] == "1";
    Scope scope{ctx, ctx.pRecord, bArabic, 0};
    std::string strNumber = shape.bOwnNumber ? Expand(shape.number, scope) : ctx.strNumber;
    const std::string strLink = shape.bOwnLink ? Expand(shape.link, scope) : ctx.strLink;
    long nError = ctx.nError;
    if (nError == 0 && shape.nUnknownError != 0 && !m_tables.FindTable(Expand(shape.rows, scope)))
        nError = shape.nUnknownError;
    if (nError != 0) {
        // A failure is the header alone, the code in the error field; a type known only by its
        // error field gets empty fields up to it.
        if (shape.nErrorField == SHAPE_NO_ERROR)
            return false;
        std::vector<std::string> fields = ExpandAll(shape.head, scope);
        const size_t nAt = shape.nErrorField < 0 ? (fields.empty() ? 0 : fields.size() - 1)
                                                 : static_cast<size_t>(shape.nErrorField);
        if (fields.size() <= nAt)
            fields.resize(nAt + 1);
        fields[nAt] = std::to_string(nError);
        reply.lines.push_back(TypedLine(shape.strMnemonic, strLink, strNumber, fields));
        return true;
    }
    if (shape.nKind == SHAPE_SILENT)
        return false;
    const std::vector<CRecord>* pRows = shape.strRows.empty() ? nullptr : m_tables.FindTable(Expand(shape.rows, scope));
    if (shape.nKind == SHAPE_PLAIN && shape.strRows.empty() && ctx.pRecord && !Matches(shape, *ctx.pRecord, scope))
        return false;
    if (shape.nKind == SHAPE_PLAIN && shape.nEntries > 0) {
        // One line: the head, then each passing record's fields after it.
        std::string line = TypedLine(shape, strLink, strNumber, scope);
        for (const CRecord& rec : pRows ? *pRows : NoRecords()) {
            Scope rowScope{ctx, &rec, bArabic, reply.nRows};
            if (reply.nRows >= static_cast<size_t>(shape.nEntries) || !Matches(shape, rec, rowScope))
                continue;
            for (const CShapeField& field : shape.row) {
                line += '|';
                AppendField(line, field, rowScope);
            }
            ++reply.nRows;
        }
        reply.lines.push_back(std::move(line));
        reply.nFirstRow = reply.lines.size();
        reply.nRows = 0;
        return true;
    }
    if (shape.nKind == SHAPE_PLAIN && !shape.strRows.empty()) {
        // A plain line from a table is the first record that passes the filters; none, no line.
        scope.pRow = nullptr;
        for (const CRecord& rec : pRows ? *pRows : NoRecords())
            if (!scope.pRow && Matches(shape, rec, scope))
                scope.pRow = &rec;
        if (!scope.pRow)
            return false;
        if (shape.bOwnNumber)
            strNumber = Expand(shape.number, scope);
    }
    if (shape.nKind == SHAPE_STREAM && pRows != nullptr)
        // A stream's header may name the first record's fields (a summary of the rows).
        for (const CRecord& rec : *pRows)
            if (!scope.pRow && Matches(shape, rec, scope))
                scope.pRow = &rec;
    if (shape.nKind == SHAPE_PLAIN || shape.nKind == SHAPE_STREAM)
        reply.lines.push_back(TypedLine(shape, strLink, strNumber, scope));
    if (shape.bCompact && !reply.lines.empty())
        reply.lines.back() = Compact(reply.lines.back());
    reply.nFirstRow = reply.lines.size();
    if (shape.nKind == SHAPE_STREAM || shape.nKind == SHAPE_EACH) {
        for (const CRecord& rec : pRows ? *pRows : NoRecords()) {
            Scope rowScope{ctx, &rec, bArabic, reply.nRows};
            if (!Matches(shape, rec, rowScope))
                continue;
            if (shape.nKind == SHAPE_EACH) {
                reply.lines.push_back(TypedLine(shape, strLink, strNumber, rowScope));
            } else {
                std::string line;
                for (const CShapeField& field : shape.row) {
                    if (&field != &shape.row.front())
                        line += '|';
                    AppendField(line, field, rowScope);
                }
                // A row of one field still needs its bar: a line without one reads as "" and itself.
                if (shape.row.size() == 1)
                    line += "|";
                reply.lines.push_back(line);
            }
            ++reply.nRows;
        }
    }
    if (shape.nKind == SHAPE_STREAM) {
        scope.nCount = reply.nRows;
        std::vector<std::string> end = ExpandAll(shape.end, scope);
        if (end.empty())
            end.push_back("0");
        std::string line = "~EN|" + strLink + "|XC";
        for (const std::string& f : end)
            line += "|" + f;
        reply.lines.push_back(line);
        reply.bStream = true;
    }
    return !reply.lines.empty();
}
