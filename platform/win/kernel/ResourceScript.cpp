// Tokenizer and statement reader of the resource files.
#include "platform/win/kernel/ResourceScript.h"
#include "platform/win/kernel/ResourceTokens.h"

#include <cstdio>
#include <fstream>
#include <sstream>


namespace {
bool IsWordChar(char ch)
{
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '_';
}

bool SameWord(const std::string& s, const char* pszWord)
{
    size_t i = 0;
    for (; pszWord[i]; ++i) {
        if (i >= s.size())
            return false;
        char ch = s[i];
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
        if (ch != pszWord[i])
            return false;
    }
    return i == s.size();
}
}  // namespace

BOOL CResourceScript::LoadFile(const char* pszPath)
{
    if (!pszPath)
        return FALSE;
    std::ifstream file(pszPath, std::ios::binary);
    if (!file)
        return FALSE;
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad())
        return FALSE;
    Parse(text.str());
    return TRUE;
}

bool CResourceScript::IsStringTableWord(const Token& token)
{
    return token.kind == TK_WORD && SameWord(token.text, "STRINGTABLE");
}

void CResourceScript::AddError(int nLine, const char* pszWhat)
{
    char szError[160];
    std::snprintf(szError, sizeof(szError), "line %d: %s", nLine, pszWhat);
    m_errors.emplace_back(szError);
}

void CResourceScript::Parse(std::string_view text)
{
    std::vector<Token> tokens;
    size_t i = 0;
    int nLine = 1;
    // A byte-order mark from an editor is not part of the script.
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        i = 3;
    bool bLineStart = true;
    while (i < text.size()) {
        const char ch = text[i];
        if (ch == '\n') {
            ++nLine;
            ++i;
            bLineStart = true;
            continue;
        }
        if (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\f' || ch == '\v') {
            ++i;
            continue;
        }
        if (bLineStart && ch == '#') {          // #include, #define, #pragma: not ours to follow
            while (i < text.size() && text[i] != '\n')
                ++i;
            continue;
        }
        bLineStart = false;
        if (ch == '/' && i + 1 < text.size() && text[i + 1] == '/') {
            while (i < text.size() && text[i] != '\n')
                ++i;
            continue;
        }
        if (ch == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            const size_t nEnd = text.find("*/", i + 2);
            const size_t nStop = nEnd == std::string_view::npos ? text.size() : nEnd + 2;
            for (; i < nStop; ++i)
                if (text[i] == '\n')
                    ++nLine;
            continue;
        }
        if (ch == '"') {
            Token t{TK_STRING, nLine, std::string(), 0};
            ++i;
            bool bClosed = false;
            while (i < text.size() && text[i] != '\n') {
                const char c = text[i++];
                if (c == '"') {
                    if (i < text.size() && text[i] == '"') {    // "" stands for one quote
                        t.text += '"';
                        ++i;
                        continue;
                    }
                    bClosed = true;
                    break;
                }
                if (c == '\\' && i < text.size() && text[i] != '\n') {
                    const char e = text[i++];
                    switch (e) {
                    case 'n': t.text += '\n'; break;
                    case 't': t.text += '\t'; break;
                    case 'r': t.text += '\r'; break;
                    case '"': t.text += '"'; break;
                    case '\\': t.text += '\\'; break;
                    default: t.text += '\\'; t.text += e; break;   // unknown escapes stay as written
                    }
                    continue;
                }
                t.text += c;
            }
            if (!bClosed)
                AddError(nLine, "text without its closing quote");
            tokens.push_back(std::move(t));
            continue;
        }
        if (IsWordChar(ch)) {
            const size_t nStart = i;
            while (i < text.size() && IsWordChar(text[i]))
                ++i;
            Token t{TK_WORD, nLine, std::string(text.substr(nStart, i - nStart)), 0};
            if (ch >= '0' && ch <= '9') {
                // Decimal or 0x hex, with the optional L of a long constant.
                std::string digits = t.text;
                if (!digits.empty() && (digits.back() == 'L' || digits.back() == 'l'))
                    digits.pop_back();
                const bool bHex = digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
                bool bOk = !digits.empty();
                unsigned long long ullValue = 0;
                for (size_t k = bHex ? 2 : 0; k < digits.size() && bOk; ++k) {
                    const char d = digits[k];
                    int nDigit;
                    if (d >= '0' && d <= '9') nDigit = d - '0';
                    else if (bHex && d >= 'a' && d <= 'f') nDigit = d - 'a' + 10;
                    else if (bHex && d >= 'A' && d <= 'F') nDigit = d - 'A' + 10;
                    else { bOk = false; break; }
                    ullValue = ullValue * (bHex ? 16 : 10) + static_cast<unsigned>(nDigit);
                    if (ullValue > 0xFFFFFFFFULL)
                        bOk = false;
                }
                if (bOk) {
                    t.kind = TK_NUMBER;
                    t.ullValue = ullValue;
                }
            } else if (SameWord(t.text, "BEGIN")) {
                t.kind = TK_BEGIN;
            } else if (SameWord(t.text, "END")) {
                t.kind = TK_END;
            }
            tokens.push_back(std::move(t));
            continue;
        }
        Token t{TK_PUNCT, nLine, std::string(1, ch), 0};
        if (ch == '{')
            t.kind = TK_BEGIN;
        else if (ch == '}')
            t.kind = TK_END;
        tokens.push_back(std::move(t));
        ++i;
    }

    for (size_t k = 0; k < tokens.size();) {
        const Token& t = tokens[k];
        if (IsStringTableWord(t)) {
            ParseStringTable(tokens, k);
        } else if (ParseTemplate(tokens, k)) {
            continue;
        } else if (t.kind == TK_WORD && (SameWord(t.text, "LANGUAGE") || SameWord(t.text, "VERSION") ||
                                         SameWord(t.text, "CHARACTERISTICS"))) {
            const int nStatementLine = t.nLine;
            while (k < tokens.size() && tokens[k].nLine == nStatementLine)
                ++k;
        } else if (t.kind == TK_END) {
            AddError(t.nLine, "END without BEGIN");
            ++k;
        } else {
            SkipStatement(tokens, k);
        }
    }
}

void CResourceScript::ParseStringTable(const std::vector<Token>& tokens, size_t& i)
{
    const int nTableLine = tokens[i].nLine;
    ++i;
    // Options (LANGUAGE, DISCARDABLE, ...) may stand between the keyword and the block.
    while (i < tokens.size() && tokens[i].kind != TK_BEGIN && !IsStringTableWord(tokens[i]))
        ++i;
    if (i >= tokens.size() || tokens[i].kind != TK_BEGIN) {
        AddError(nTableLine, "STRINGTABLE without BEGIN");
        return;
    }
    ++i;
    while (i < tokens.size() && tokens[i].kind != TK_END && !IsStringTableWord(tokens[i])) {
        const Token& id = tokens[i];
        const int nLine = id.nLine;
        size_t k = i + 1;
        if (k < tokens.size() && tokens[k].kind == TK_PUNCT && tokens[k].text == ",")
            ++k;
        std::string strText;
        bool bHasText = false;
        // Adjacent texts on the entry's line are joined, so a long text can be split.
        while (k < tokens.size() && tokens[k].kind == TK_STRING) {
            strText += tokens[k].text;
            bHasText = true;
            ++k;
        }
        if (id.kind != TK_NUMBER || id.ullValue > 0xFFFF || !bHasText) {
            AddError(nLine, id.kind == TK_NUMBER && id.ullValue > 0xFFFF ? "string id above 65535"
                                                                         : "expected: id, \"text\"");
            // Step to the next line, or the END on this one.
            k = i + 1;
            while (k < tokens.size() && tokens[k].nLine == nLine && tokens[k].kind != TK_END &&
                   !IsStringTableWord(tokens[k]))
                ++k;
            i = k;
            continue;
        }
        const UINT uId = static_cast<UINT>(id.ullValue);
        if (!m_strings.emplace(uId, std::move(strText)).second) {
            char szWhat[64];
            std::snprintf(szWhat, sizeof(szWhat), "string %u given twice; the first text stays", uId);
            AddError(nLine, szWhat);
        }
        i = k;
    }
    // The next table's keyword ends a table that lacks its END, so that table stays readable.
    if (i >= tokens.size() || tokens[i].kind != TK_END)
        AddError(nTableLine, "STRINGTABLE without END");
    else
        ++i;
}

std::string NumberedName(unsigned long long ullId)
{
    return "#" + std::to_string(ullId);
}

std::string ResourceFileKey(const char* pszType, const std::string& strName)
{
    std::string strKey;
    for (const char* p = pszType; *p; ++p)
        strKey += static_cast<char>(*p >= 'a' && *p <= 'z' ? *p - 'a' + 'A' : *p);
    return strKey + "/" + strName;
}

void CResourceScript::SkipStatement(const std::vector<Token>& tokens, size_t& i)
{
    const int nLine = tokens[i].nLine;
    size_t k = i;
    while (k + 1 < tokens.size() && tokens[k + 1].nLine == nLine && tokens[k + 1].kind != TK_BEGIN &&
           !IsStringTableWord(tokens[k + 1]))
        ++k;
    // A header is a name or number and a type word; anything else is a stray line.
    const bool bHeader = k > i && (tokens[i].kind == TK_NUMBER || tokens[i].kind == TK_WORD) &&
                         tokens[i + 1].kind == TK_WORD;
    if (!bHeader) {
        AddError(nLine, "not a resource statement");
        i = k + 1;
        return;
    }
    // A header line that ends with a text names a file ("300 BITMAP "x.png""): the statement is
    // that line. Any other header has option lines and then a block.
    if (tokens[k].kind == TK_STRING) {
        m_files.emplace(ResourceFileKey(tokens[i + 1].text.c_str(), tokens[i].kind == TK_NUMBER
                                            ? NumberedName(tokens[i].ullValue) : tokens[i].text),
                        tokens[k].text);
        i = k + 1;
        return;
    }
    for (++k; k < tokens.size() && tokens[k].kind != TK_BEGIN; ++k) {
        if (IsStringTableWord(tokens[k])) {
            AddError(nLine, "statement without its BEGIN block");
            i = k;
            return;
        }
    }
    if (k >= tokens.size()) {
        AddError(nLine, "statement without its BEGIN block");
        i = k;
        return;
    }
    int nDepth = 0;
    for (; k < tokens.size(); ++k) {
        // STRINGTABLE is a keyword, never part of a block: a block still open there lacks its END,
        // and the table after it must not be stepped over with it.
        if (IsStringTableWord(tokens[k]))
            break;
        if (tokens[k].kind == TK_BEGIN) {
            ++nDepth;
        } else if (tokens[k].kind == TK_END && --nDepth == 0) {
            i = k + 1;
            return;
        }
    }
    AddError(nLine, "block without its END");
    i = k;
}
