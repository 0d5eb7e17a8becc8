#include "framework/table/CriteriaParser.h"
#include <cstring>
#include <string>
#include "framework/base/NorvGlobals.h"
#include "platform/win/kernel/CodePage.h"

// Character classes of a position; a quote is a class of its own, never a token class.
#define CLS_QUOTE 4

static const struct { const char* pszText; int nCode; } s_operators[] = {
    {"<=", CRIT_OP_LE}, {"=<", CRIT_OP_LE}, {">=", CRIT_OP_GE}, {"=>", CRIT_OP_GE},
    {"<", CRIT_OP_LT}, {">", CRIT_OP_GT}, {"=", CRIT_OP_EQ},
};

int LookupCriteriaOperator(const char* pszText)
{
    if (!pszText)
        return 0;
    for (const auto& op : s_operators)
        if (strncmp(pszText, op.pszText, strlen(op.pszText)) == 0)
            return op.nCode;
    return 0;
}

BOOL IsCriteriaOperator(const char* pszText)
{
    return LookupCriteriaOperator(pszText) != 0;
}

const char* GetCriteriaOperatorText(int nCode)
{
    for (const auto& op : s_operators)
        if (op.nCode == nCode)
            return op.pszText;
    return "??";
}

CTBString UnquoteCriteriaText(const char* pszText)
{
    if (!pszText || pszText[0] != '"')
        return CTBString(pszText);
    int nLength = static_cast<int>(strlen(pszText));
    return nLength < 2 ? CTBString("") : CTBString(pszText + 1, nLength - 2);
}

CTBString QuoteCriteriaText(const char* pszText)
{
    CTBString str("\"");
    str += pszText;
    str += "\"";
    return str;
}

static BOOL IsNumericValueChar(char ch)
{
    const CNorvGlobals& g = GetNorvGlobals();
    return TbIsDigit(static_cast<BYTE>(ch)) || ch == '+' || ch == '-' || ch == '/'
        || ch == g.m_chDecimal || ch == g.GetThousandsSeparator();
}

static BOOL IsTextValueChar(char ch)
{
    return IsCharAlphaNumericA(ch) || TbIsSpace(static_cast<BYTE>(ch)) || IsNumericValueChar(ch);
}

static BOOL IsSeparatorAt(const char* psz, int i)
{
    char ch = psz[i];
    if (ch == ' ' || ch == '\t' || ch == ':')
        return TRUE;
    if (ch != '-')
        return FALSE;
    char chNext = psz[i + 1];
    if (chNext == '-' || !chNext || !IsNumericValueChar(chNext))
        return TRUE;
    // A '-' after a number separates; at the start or after a '-' it is a sign.
    return i > 0 && psz[i - 1] != '-' && IsNumericValueChar(psz[i - 1]);
}

static int ClassAt(const char* psz, int i, int nKind)
{
    char ch = psz[i];
    if (!ch)
        return CRIT_OTHER;
    if (nKind == CRIT_TEXT) {
        if (IsTextValueChar(ch))
            return CRIT_VALUE;
        if (IsSeparatorAt(psz, i))
            return CRIT_SEPARATOR;
    } else {
        if (IsSeparatorAt(psz, i))
            return CRIT_SEPARATOR;
        if (IsNumericValueChar(ch))
            return CRIT_VALUE;
    }
    if (ch == '<' || ch == '>' || ch == '=')
        return CRIT_OPERATOR;
    if (ch == '"')
        return CLS_QUOTE;
    return CRIT_OTHER;
}

// One character of each run of separators stays: a '-' when the run holds one after its start,
// else its first. A trailing separator goes unless it is a '-' ("20-" means from 20 on).
static std::string NormaliseSeparators(const char* psz, int nKind)
{
    std::string out;
    BOOL bQuoted = FALSE;
    int i = 0;
    while (psz[i]) {
        if (psz[i] == '"')
            bQuoted = !bQuoted;
        if (bQuoted || ClassAt(psz, i, nKind) != CRIT_SEPARATOR) {
            out += psz[i++];
            continue;
        }
        int j = i + 1;
        BOOL bDash = FALSE;
        while (psz[j] && ClassAt(psz, j, nKind) == CRIT_SEPARATOR) {
            bDash = bDash || psz[j] == '-';
            ++j;
        }
        char ch = bDash ? '-' : psz[i];
        if (psz[j] || ch == '-')
            out += ch;
        i = j;
    }
    return out;
}

void CCriteriaParser::AddToken(int nClass, const char* pszText, int nLength)
{
    CTBString strText(pszText, nLength);
    int nCount = m_tokens.GetSize();
    // "12" and "3/8" after a blank are one mixed fraction.
    if (strchr(strText, '/') && nCount >= 2) {
        CCriteriaToken* pSep = m_tokens[nCount - 1];
        CCriteriaToken* pValue = m_tokens[nCount - 2];
        if (pSep->m_nClass == CRIT_SEPARATOR && IsBlankText(pSep->m_strText) && pValue->m_nClass == CRIT_VALUE
            && !strchr(pValue->m_strText, '/')) {
            pValue->m_strText += " ";
            pValue->m_strText += strText;
            m_tokens.DeleteAt(nCount - 1);
            return;
        }
    }
    m_tokens.Add(new CCriteriaToken(nClass, strText));
}

BOOL CCriteriaParser::Parse(const char* pszText, int nKind)
{
    m_tokens.DeleteAll();
    if (!pszText)
        return FALSE;
    std::string text = NormaliseSeparators(pszText, nKind);
    const char* psz = text.c_str();
    int nLength = static_cast<int>(text.size());
    int nCurrent = CRIT_OTHER;
    int nStart = 0;
    int nRun = 0;
    BOOL bQuoted = FALSE;
    for (int i = 0; i <= nLength; ++i) {
        int nClass = ClassAt(psz, i, nKind);
        if (bQuoted && i < nLength && psz[i] != '"')
            nClass = CRIT_VALUE;
        // The terminator ends the last token, whatever its class.
        if (i == nLength) {
            if (nRun > 0)
                AddToken(nCurrent, psz + nStart, nRun);
            break;
        }
        if (nClass == nCurrent && nClass != CLS_QUOTE) {
            ++nRun;
            continue;
        }
        if (nClass == CLS_QUOTE && bQuoted) {
            bQuoted = FALSE;
            ++nRun;
            continue;
        }
        if (nClass == CLS_QUOTE) {
            bQuoted = TRUE;
            nClass = CRIT_VALUE;
        }
        if (i > 0 && nRun > 0)
            AddToken(nCurrent, psz + nStart, nRun);
        nCurrent = nClass;
        nStart = i;
        nRun = 1;
    }

    int nCount = m_tokens.GetSize();
    if (nCount > 0 && m_tokens[0]->m_nClass == CRIT_SEPARATOR) {
        if (IsBlankText(m_tokens[0]->m_strText)) {
            m_tokens.DeleteAt(0);
        } else {
            // ":20" reads as "<= 20".
            m_tokens[0]->m_nClass = CRIT_OPERATOR;
            m_tokens[0]->m_strText = "<=";
        }
    }
    nCount = m_tokens.GetSize();
    if (nCount > 0 && m_tokens[nCount - 1]->m_nClass == CRIT_SEPARATOR) {
        if (m_tokens[nCount - 1]->m_strText == "-") {
            m_tokens[nCount - 1]->m_nClass = CRIT_OPERATOR;
            m_tokens[nCount - 1]->m_strText = ">=";
        } else {
            m_tokens.DeleteAt(nCount - 1);
        }
    }
    for (CCriteriaToken* pToken : m_tokens)
        if (pToken->m_nClass == CRIT_OPERATOR && !IsCriteriaOperator(pToken->m_strText))
            pToken->m_nClass = CRIT_OTHER;
    return TRUE;
}

int CCriteriaParser::Classify() const
{
    int nCount = m_tokens.GetSize();
    auto cls = [this](int i) { return m_tokens[i]->m_nClass; };
    if (nCount == 1)
        return cls(0) == CRIT_VALUE ? CRIT_SINGLE : CRIT_INVALID;
    if (nCount == 2) {
        if ((cls(0) == CRIT_OPERATOR && cls(1) == CRIT_VALUE) || (cls(0) == CRIT_VALUE && cls(1) == CRIT_OPERATOR))
            return CRIT_OPVALUE;
        return CRIT_INVALID;
    }
    if (nCount == 3 && cls(0) == CRIT_VALUE && cls(1) == CRIT_SEPARATOR && cls(2) == CRIT_VALUE)
        return CRIT_RANGE;
    return CRIT_INVALID;
}
