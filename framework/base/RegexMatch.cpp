// Matching and substitution of compiled expressions. The state of one match lives in a
// CRegexMatcher on the caller's stack, so matches on other expressions or threads never meet.
#include <cstring>
#include "framework/base/Regex.h"
#include "framework/base/RegexProgram.h"
#include "platform/win/kernel/CodePage.h"

namespace tbre {

namespace {

// Word characters are the active code page's letters and digits and '_'.
bool IsWordChar(char c)
{
    return c == '_' || (c != '\0' && IsCharAlphaNumericA(c));
}

class CRegexMatcher
{
public:
    CRegexMatcher(regexp* pProg, const char* pszText)
        : m_pProg(pProg), m_pCode(reinterpret_cast<const unsigned char*>(pProg->program)), m_pszBol(pszText)
    {
    }
    // 1 when the program matches at pszAt; the groups are then set.
    int Try(const char* pszAt);
    bool Failed() const { return m_bFailed; }

private:
    bool Fail(const char* pszMessage)
    {
        regerror(pszMessage);
        m_bFailed = true;
        return false;
    }
    const char* Operand(int nNode) const { return reinterpret_cast<const char*>(m_pCode + nNode + NODE_HEADER); }
    bool Match(int nScan);
    bool MatchNode(int nScan, int nNext, bool& bDone);
    int Repeat(int nNode);

    regexp* m_pProg;
    const unsigned char* m_pCode;
    const char* m_pszBol;               // the text's start, for '^' and '\<'
    const char* m_pszInput = nullptr;   // where the program stands in the text
    int m_nDepth = 0;
    long m_nSteps = 0;                  // over every start position of one regexec
    bool m_bFailed = false;             // an error was reported: give up the whole regexec
};

int CRegexMatcher::Try(const char* pszAt)
{
    memset(m_pProg->startp, 0, sizeof m_pProg->startp);
    memset(m_pProg->endp, 0, sizeof m_pProg->endp);
    m_pszInput = pszAt;
    if (!Match(1))
        return 0;
    m_pProg->startp[0] = pszAt;
    m_pProg->endp[0] = m_pszInput;
    return 1;
}

// Runs the chain from nScan to its end node by backtracking: alternatives and repetitions recurse
// so that a failing rest can try the next choice; plain nodes only advance.
bool CRegexMatcher::Match(int nScan)
{
    if (m_bFailed)
        return false;
    // Each loop of a repeated group costs a few levels; a long text would exhaust the stack.
    if (m_nDepth >= REGEXP_MAX_DEPTH)
        return Fail("regexp too deep");
    if (++m_nSteps > REGEXP_MAX_STEPS)
        return Fail("regexp too complex");
    ++m_nDepth;
    bool bMatched = false;
    while (nScan >= 0) {
        int nNext = NextNode(m_pCode, nScan);
        bool bDone = false;
        bool bOk = MatchNode(nScan, nNext, bDone);
        if (bDone) {
            bMatched = bOk;
            break;
        }
        if (!bOk)
            break;
        // A branch without alternatives needs no recursion: go on inside it.
        if (m_pCode[nScan] == OP_BRANCH)
            nNext = nScan + NODE_HEADER;
        nScan = nNext;
    }
    if (nScan < 0)
        Fail("corrupted pointers");
    --m_nDepth;
    return bMatched;
}

// One node. Plain nodes return whether the text fits and leave bDone false; nodes that decide the
// rest of the chain themselves set bDone and return the result.
bool CRegexMatcher::MatchNode(int nScan, int nNext, bool& bDone)
{
    const char* pszIn = m_pszInput;
    unsigned char op = m_pCode[nScan];
    switch (op) {
    case OP_BOL:
        return pszIn == m_pszBol;
    case OP_EOL:
        return *pszIn == '\0';
    case OP_WORDA:
        return IsWordChar(*pszIn) && (pszIn == m_pszBol || !IsWordChar(pszIn[-1]));
    case OP_WORDZ:
        return !IsWordChar(*pszIn) && pszIn != m_pszBol && IsWordChar(pszIn[-1]);
    case OP_ANY:
        if (*pszIn == '\0')
            return false;
        ++m_pszInput;
        return true;
    case OP_EXACTLY: {
        const char* pszLiteral = Operand(nScan);
        if (*pszLiteral != *pszIn)
            return false;
        size_t nLength = strlen(pszLiteral);
        if (nLength > 1 && strncmp(pszLiteral, pszIn, nLength) != 0)
            return false;
        m_pszInput += nLength;
        return true;
    }
    case OP_ANYOF:
    case OP_ANYBUT:
        if (*pszIn == '\0' || (strchr(Operand(nScan), *pszIn) != nullptr) != (op == OP_ANYOF))
            return false;
        ++m_pszInput;
        return true;
    case OP_NOTHING:
    case OP_BACK:
        return true;
    case OP_BRANCH:
        if (nNext < 0 || m_pCode[nNext] != OP_BRANCH)
            return true;                // Match goes on into the operand
        bDone = true;
        for (; nScan >= 0 && m_pCode[nScan] == OP_BRANCH; nScan = NextNode(m_pCode, nScan)) {
            if (Match(nScan + NODE_HEADER))
                return true;
            m_pszInput = pszIn;
        }
        return false;
    case OP_STAR:
    case OP_PLUS: {
        bDone = true;
        // Longest first; a literal next must see its first character before the rest is tried.
        char chNext = (nNext >= 0 && m_pCode[nNext] == OP_EXACTLY) ? *Operand(nNext) : '\0';
        int nMin = op == OP_STAR ? 0 : 1;
        int nCount = Repeat(nScan + NODE_HEADER);
        while (nCount >= nMin && !m_bFailed) {
            if ((chNext == '\0' || *m_pszInput == chNext) && Match(nNext))
                return true;
            --nCount;
            m_pszInput = pszIn + nCount;
        }
        return false;
    }
    case OP_END:
        bDone = true;
        return true;
    default:
        if (op >= OP_OPEN && op < OP_OPEN + NSUBEXP) {
            bDone = true;
            // The innermost success sets a group first; outer loops of a repetition keep it.
            if (!Match(nNext))
                return false;
            if (m_pProg->startp[op - OP_OPEN] == nullptr)
                m_pProg->startp[op - OP_OPEN] = pszIn;
            return true;
        }
        if (op >= OP_CLOSE && op < OP_CLOSE + NSUBEXP) {
            bDone = true;
            if (!Match(nNext))
                return false;
            if (m_pProg->endp[op - OP_CLOSE] == nullptr)
                m_pProg->endp[op - OP_CLOSE] = pszIn;
            return true;
        }
        bDone = true;
        return Fail("memory corruption");
    }
}

// How many times the simple node matches from the current position; moves past them.
int CRegexMatcher::Repeat(int nNode)
{
    const char* pszScan = m_pszInput;
    const char* pszOperand = Operand(nNode);
    switch (m_pCode[nNode]) {
    case OP_ANY:
        pszScan += strlen(pszScan);
        break;
    case OP_EXACTLY:
        while (*pszScan != '\0' && *pszScan == *pszOperand)
            ++pszScan;
        break;
    case OP_ANYOF:
        while (*pszScan != '\0' && strchr(pszOperand, *pszScan) != nullptr)
            ++pszScan;
        break;
    case OP_ANYBUT:
        while (*pszScan != '\0' && strchr(pszOperand, *pszScan) == nullptr)
            ++pszScan;
        break;
    default:
        Fail("internal foulup");
        return 0;
    }
    int nCount = static_cast<int>(pszScan - m_pszInput);
    m_pszInput = pszScan;
    return nCount;
}

}  // namespace

int regexec(regexp* pProg, const char* pszText)
{
    if (pProg == nullptr || pszText == nullptr) {
        regerror("NULL parameter");
        return 0;
    }
    if (static_cast<unsigned char>(pProg->program[0]) != REGEXP_MAGIC) {
        regerror("corrupted program");
        return 0;
    }
    if (pProg->regmust != nullptr && strstr(pszText, pProg->regmust) == nullptr)
        return 0;
    CRegexMatcher matcher(pProg, pszText);
    if (pProg->reganch)
        return matcher.Try(pszText);
    const char* pszAt = pszText;
    if (pProg->regstart != '\0') {
        while ((pszAt = strchr(pszAt, pProg->regstart)) != nullptr) {
            if (matcher.Try(pszAt))
                return 1;
            if (matcher.Failed())
                return 0;
            ++pszAt;
        }
        return 0;
    }
    if (pProg->regfirstknown) {
        for (; *pszAt != '\0'; ++pszAt) {
            unsigned char b = static_cast<unsigned char>(*pszAt);
            if (!(pProg->regfirst[b >> 3] & (1 << (b & 7))))
                continue;
            if (matcher.Try(pszAt))
                return 1;
            if (matcher.Failed())
                return 0;
        }
        return 0;
    }
    // Every position, the end of the text included: '$' and empty matches are found there.
    do {
        if (matcher.Try(pszAt))
            return 1;
        if (matcher.Failed())
            return 0;
    } while (*pszAt++ != '\0');
    return 0;
}

void regsub(const regexp* pProg, const char* pszSource, char* pszDest, size_t cbDest)
{
    if (pProg == nullptr || pszSource == nullptr || pszDest == nullptr || cbDest == 0) {
        regerror("NULL parm to regsub");
        return;
    }
    if (static_cast<unsigned char>(pProg->program[0]) != REGEXP_MAGIC) {
        regerror("damaged regexp fed to regsub");
        return;
    }
    char* pDst = pszDest;
    char* pEnd = pszDest + cbDest - 1;  // room for the terminator
    for (const char* pSrc = pszSource; *pSrc != '\0' && pDst < pEnd;) {
        char c = *pSrc++;
        int nGroup = -1;
        if (c == '&')
            nGroup = 0;
        else if (c == '\\' && *pSrc >= '0' && *pSrc <= '9')
            nGroup = *pSrc++ - '0';
        if (nGroup < 0) {
            if (c == '\\' && (*pSrc == '\\' || *pSrc == '&'))
                c = *pSrc++;
            *pDst++ = c;
            continue;
        }
        const char* pszStart = pProg->startp[nGroup];
        const char* pszStop = pProg->endp[nGroup];
        if (pszStart == nullptr || pszStop == nullptr)
            continue;                   // the group took no part
        size_t nLength = pszStop >= pszStart ? static_cast<size_t>(pszStop - pszStart) : 0;
        if (pszStop < pszStart || memchr(pszStart, '\0', nLength) != nullptr) {
            *pDst = '\0';
            regerror("damaged match string");
            return;
        }
        if (nLength > static_cast<size_t>(pEnd - pDst))
            nLength = static_cast<size_t>(pEnd - pDst);
        memcpy(pDst, pszStart, nLength);
        pDst += nLength;
    }
    *pDst = '\0';
}

}  // namespace tbre
