#include "framework/base/Regex.h"

#include <cstdlib>
#include <cstring>
#include "framework/base/RegexProgram.h"

namespace tbre {

namespace {

thread_local const char* t_pszLastError = nullptr;

// Facts about what an expression part can match, gathered while it is compiled.
const int HASWIDTH = 1;                 // never matches the empty text
const int SIMPLE = 2;                   // one character wide: a simple operand of '*' and '+'
const int SPSTART = 4;                  // starts with '*' or '+'
const int WORST = 0;

const char META[] = "^$.[()|?+*\\\n";

bool IsRepeat(char c)
{
    return c == '*' || c == '+' || c == '?';
}

// Two passes over one expression: the first (m_pCode null) only measures, the second emits into
// a program of the measured size. Nodes are named by their offset in the program.
class CRegexCompiler
{
public:
    CRegexCompiler(const char* pszExpression, unsigned char* pCode)
        : m_pszParse(pszExpression), m_pCode(pCode)
    {
        Emit(REGEXP_MAGIC);
    }
    // The whole expression; false after an error has been reported.
    bool Compile(int& nFlags) { return Reg(false, nFlags) >= 0; }
    long GetSize() const { return m_nSize; }

private:
    int Fail(const char* pszMessage)
    {
        regerror(pszMessage);
        m_bFailed = true;
        return -1;
    }
    bool Measuring() const { return m_pCode == nullptr; }

    void Emit(unsigned char b)
    {
        if (!Measuring())
            m_pCode[m_nSize] = b;
        ++m_nSize;
    }
    int Node(unsigned char op)
    {
        int nNode = static_cast<int>(m_nSize);
        Emit(op);
        Emit(0);
        Emit(0);
        return nNode;
    }
    // Puts a node in front of an operand already emitted: the operand moves up.
    void Insert(unsigned char op, int nOperand)
    {
        if (!Measuring()) {
            memmove(m_pCode + nOperand + NODE_HEADER, m_pCode + nOperand, m_nSize - nOperand);
            m_pCode[nOperand] = op;
            m_pCode[nOperand + 1] = 0;
            m_pCode[nOperand + 2] = 0;
        }
        m_nSize += NODE_HEADER;
    }
    // Links the last node of the chain from nNode to nTarget.
    void Tail(int nNode, int nTarget)
    {
        if (Measuring())
            return;
        int nScan = nNode;
        for (;;) {
            int nNext = NextNode(m_pCode, nScan);
            if (nNext < 0)
                break;
            nScan = nNext;
        }
        int nOffset = m_pCode[nScan] == OP_BACK ? nScan - nTarget : nTarget - nScan;
        m_pCode[nScan + 1] = static_cast<unsigned char>((nOffset >> 8) & 0xFF);
        m_pCode[nScan + 2] = static_cast<unsigned char>(nOffset & 0xFF);
    }
    // Tail on the operand of a branch; nothing for other nodes.
    void OpTail(int nNode, int nTarget)
    {
        if (Measuring() || nNode < 0 || m_pCode[nNode] != OP_BRANCH)
            return;
        Tail(nNode + NODE_HEADER, nTarget);
    }
    bool TooBig() const { return m_nSize >= REGEXP_MAX_PROGRAM; }

    int Reg(bool bParen, int& nFlags);
    int Branch(int& nFlags);
    int Piece(int& nFlags);
    int Atom(int& nFlags);
    int Set();

    const char* m_pszParse;
    unsigned char* m_pCode;             // null while measuring
    long m_nSize = 0;
    int m_nParens = 1;
    bool m_bFailed = false;
};

// An expression or a parenthesised part: branches, then the end or the closing node.
int CRegexCompiler::Reg(bool bParen, int& nFlags)
{
    nFlags = HASWIDTH;
    int nRet = -1;
    int nParen = 0;
    if (bParen) {
        if (m_nParens >= NSUBEXP)
            return Fail("too many ()");
        nParen = m_nParens++;
        nRet = Node(static_cast<unsigned char>(OP_OPEN + nParen));
    }
    for (;;) {
        int nBranchFlags = 0;
        int nBranch = Branch(nBranchFlags);
        if (nBranch < 0)
            return -1;
        if (nRet >= 0)
            Tail(nRet, nBranch);
        else
            nRet = nBranch;
        if (!(nBranchFlags & HASWIDTH))
            nFlags &= ~HASWIDTH;
        nFlags |= nBranchFlags & SPSTART;
        if (*m_pszParse != '|' && *m_pszParse != '\n')
            break;
        ++m_pszParse;
    }
    int nEnder = Node(bParen ? static_cast<unsigned char>(OP_CLOSE + nParen) : static_cast<unsigned char>(OP_END));
    if (TooBig())
        return Fail("regexp too big");
    Tail(nRet, nEnder);
    // Every branch goes on to the closing node.
    if (!Measuring())
        for (int nBranch = nRet; nBranch >= 0; nBranch = NextNode(m_pCode, nBranch))
            OpTail(nBranch, nEnder);
    if (bParen) {
        if (*m_pszParse++ != ')')
            return Fail("unmatched ()");
    } else if (*m_pszParse != '\0') {
        return Fail(*m_pszParse == ')' ? "unmatched ()" : "junk on end");
    }
    return nRet;
}

// One alternative: a branch node over a chain of pieces.
int CRegexCompiler::Branch(int& nFlags)
{
    nFlags = WORST;
    int nRet = Node(OP_BRANCH);
    int nChain = -1;
    while (*m_pszParse != '\0' && *m_pszParse != '|' && *m_pszParse != '\n' && *m_pszParse != ')') {
        int nPieceFlags = 0;
        int nLatest = Piece(nPieceFlags);
        if (nLatest < 0)
            return -1;
        if (TooBig())
            return Fail("regexp too big");
        nFlags |= nPieceFlags & HASWIDTH;
        if (nChain < 0)
            nFlags |= nPieceFlags & SPSTART;
        else
            Tail(nChain, nLatest);
        nChain = nLatest;
    }
    if (nChain < 0)
        Node(OP_NOTHING);
    return nRet;
}

// An atom and its repetition. A simple operand gets a star or plus node; anything else is built
// from branches that loop back, so the matcher needs no second kind of repetition.
int CRegexCompiler::Piece(int& nFlags)
{
    int nAtomFlags = 0;
    int nRet = Atom(nAtomFlags);
    if (nRet < 0)
        return -1;
    char op = *m_pszParse;
    if (!IsRepeat(op)) {
        nFlags = nAtomFlags;
        return nRet;
    }
    // An operand that can match nothing would loop for ever.
    if (!(nAtomFlags & HASWIDTH) && op != '?')
        return Fail("*+ operand could be empty");
    nFlags = op == '*' ? (WORST | SPSTART) : op == '+' ? (WORST | HASWIDTH | SPSTART) : WORST;
    if (op == '*' && (nAtomFlags & SIMPLE)) {
        Insert(OP_STAR, nRet);
    } else if (op == '*') {
        // x* as (x&|): branch over x looping back to itself, or nothing.
        Insert(OP_BRANCH, nRet);
        OpTail(nRet, Node(OP_BACK));
        OpTail(nRet, nRet);
        Tail(nRet, Node(OP_BRANCH));
        Tail(nRet, Node(OP_NOTHING));
    } else if (op == '+' && (nAtomFlags & SIMPLE)) {
        Insert(OP_PLUS, nRet);
    } else if (op == '+') {
        // x+ as x(&|): x, then a branch back to it, or nothing.
        int nNext = Node(OP_BRANCH);
        Tail(nRet, nNext);
        Tail(Node(OP_BACK), nRet);
        Tail(nNext, Node(OP_BRANCH));
        Tail(nRet, Node(OP_NOTHING));
    } else {
        // x? as (x|): both branches meet after the nothing node.
        Insert(OP_BRANCH, nRet);
        Tail(nRet, Node(OP_BRANCH));
        int nNext = Node(OP_NOTHING);
        Tail(nRet, nNext);
        OpTail(nRet, nNext);
    }
    ++m_pszParse;
    if (IsRepeat(*m_pszParse))
        return Fail("nested *?+");
    return nRet;
}

// The characters of a set after '[' (and '^'), as a terminated string of bytes.
int CRegexCompiler::Set()
{
    if (*m_pszParse == ']' || *m_pszParse == '-')
        Emit(static_cast<unsigned char>(*m_pszParse++));
    while (*m_pszParse != '\0' && *m_pszParse != ']') {
        if (TooBig())
            return Fail("regexp too big");
        if (*m_pszParse != '-') {
            Emit(static_cast<unsigned char>(*m_pszParse++));
            continue;
        }
        ++m_pszParse;
        if (*m_pszParse == ']' || *m_pszParse == '\0') {
            Emit('-');
            continue;
        }
        // The range's first character is already in the set.
        int nFrom = static_cast<unsigned char>(m_pszParse[-2]) + 1;
        int nTo = static_cast<unsigned char>(*m_pszParse);
        if (nFrom > nTo + 1)
            return Fail("invalid [] range");
        for (; nFrom <= nTo; ++nFrom)
            Emit(static_cast<unsigned char>(nFrom));
        ++m_pszParse;
    }
    Emit(0);
    if (*m_pszParse != ']')
        return Fail("unmatched []");
    ++m_pszParse;
    return 0;
}

int CRegexCompiler::Atom(int& nFlags)
{
    nFlags = WORST;
    int nRet = -1;
    switch (*m_pszParse++) {
    case '^':
        nRet = Node(OP_BOL);
        break;
    case '$':
        nRet = Node(OP_EOL);
        break;
    case '.':
        nRet = Node(OP_ANY);
        nFlags |= HASWIDTH | SIMPLE;
        break;
    case '[':
        if (*m_pszParse == '^') {
            nRet = Node(OP_ANYBUT);
            ++m_pszParse;
        } else {
            nRet = Node(OP_ANYOF);
        }
        if (Set() < 0)
            return -1;
        nFlags |= HASWIDTH | SIMPLE;
        break;
    case '(': {
        int nGroupFlags = 0;
        nRet = Reg(true, nGroupFlags);
        if (nRet < 0)
            return -1;
        nFlags |= nGroupFlags & (HASWIDTH | SPSTART);
        break;
    }
    case '\0':
    case '|':
    case '\n':
    case ')':
        return Fail("internal urp");    // the callers stop before these
    case '?':
    case '+':
    case '*':
        return Fail("?+* follows nothing");
    case '\\':
        if (*m_pszParse == '\0')
            return Fail("trailing \\");
        if (*m_pszParse == '<' || *m_pszParse == '>') {
            nRet = Node(*m_pszParse == '<' ? static_cast<unsigned char>(OP_WORDA) : static_cast<unsigned char>(OP_WORDZ));
            ++m_pszParse;
            break;
        }
        nRet = Node(OP_EXACTLY);
        Emit(static_cast<unsigned char>(*m_pszParse++));
        Emit(0);
        nFlags |= HASWIDTH | SIMPLE;
        break;
    default: {
        --m_pszParse;
        size_t nLength = strcspn(m_pszParse, META);
        if (nLength == 0)
            return Fail("internal urp");
        // A repetition after a run takes only the run's last character.
        if (nLength > 1 && IsRepeat(m_pszParse[nLength]))
            --nLength;
        nFlags |= HASWIDTH;
        if (nLength == 1)
            nFlags |= SIMPLE;
        nRet = Node(OP_EXACTLY);
        for (; nLength > 0 && !TooBig(); --nLength)
            Emit(static_cast<unsigned char>(*m_pszParse++));
        Emit(0);
        break;
    }
    }
    return nRet;
}

// Adds the bytes that the chain from nScan can start a match with to first; false when the
// chain can match the empty text (or the walk grows too long), so every position needs a try.
bool AddFirstBytes(const unsigned char* pCode, int nScan, unsigned char* first, int& nBudget)
{
    auto Add = [first](unsigned char b) { first[b >> 3] = static_cast<unsigned char>(first[b >> 3] | (1 << (b & 7))); };
    auto AddSet = [&Add](const char* pszSet, bool bBut) {
        for (int b = 1; b < 256; ++b)
            if ((strchr(pszSet, b) != nullptr) != bBut)
                Add(static_cast<unsigned char>(b));
    };
    for (; nScan >= 0; nScan = NextNode(pCode, nScan)) {
        if (--nBudget < 0)
            return false;
        const char* pszOperand = reinterpret_cast<const char*>(pCode + nScan + NODE_HEADER);
        switch (pCode[nScan]) {
        case OP_EXACTLY:
            Add(static_cast<unsigned char>(*pszOperand));
            return true;
        case OP_ANYOF:
        case OP_ANYBUT:
            AddSet(pszOperand, pCode[nScan] == OP_ANYBUT);
            return true;
        case OP_STAR:
        case OP_PLUS: {
            int nOperand = nScan + NODE_HEADER;
            const char* pszInner = reinterpret_cast<const char*>(pCode + nOperand + NODE_HEADER);
            if (pCode[nOperand] == OP_EXACTLY)
                Add(static_cast<unsigned char>(*pszInner));
            else if (pCode[nOperand] == OP_ANYOF || pCode[nOperand] == OP_ANYBUT)
                AddSet(pszInner, pCode[nOperand] == OP_ANYBUT);
            else
                return false;           // any character
            if (pCode[nScan] == OP_PLUS)
                return true;
            break;                      // none: what follows may start the match
        }
        case OP_BRANCH:
            for (; nScan >= 0 && pCode[nScan] == OP_BRANCH; nScan = NextNode(pCode, nScan))
                if (!AddFirstBytes(pCode, nScan + NODE_HEADER, first, nBudget))
                    return false;
            return true;
        case OP_BOL:
        case OP_EOL:
        case OP_WORDA:
        case OP_WORDZ:
        case OP_NOTHING:
            break;                      // no width: the next node decides
        default:
            if (pCode[nScan] >= OP_OPEN && pCode[nScan] < OP_CLOSE + NSUBEXP)
                break;
            return false;               // the end, any character, or a loop back
        }
    }
    return false;
}

}  // namespace

void regerror(const char* pszMessage)
{
    t_pszLastError = pszMessage;
}

const char* RegLastError()
{
    return t_pszLastError;
}

regexp* regcomp(const char* pszExpression)
{
    if (pszExpression == nullptr) {
        regerror("NULL argument");
        return nullptr;
    }
    int nFlags = 0;
    CRegexCompiler measure(pszExpression, nullptr);
    if (!measure.Compile(nFlags))
        return nullptr;
    if (measure.GetSize() >= REGEXP_MAX_PROGRAM) {
        regerror("regexp too big");
        return nullptr;
    }
    auto* pRegexp = static_cast<regexp*>(malloc(sizeof(regexp) + measure.GetSize()));
    if (pRegexp == nullptr) {
        regerror("out of space");
        return nullptr;
    }
    memset(pRegexp, 0, sizeof(regexp));
    auto* pCode = reinterpret_cast<unsigned char*>(pRegexp->program);
    CRegexCompiler emit(pszExpression, pCode);
    if (!emit.Compile(nFlags)) {
        free(pRegexp);
        return nullptr;
    }

    // What every match needs, so that regexec can skip texts and positions without running.
    int nScan = 1;                      // the first branch
    if (pCode[NextNode(pCode, nScan)] == OP_END) {
        nScan += NODE_HEADER;           // its operand: the only branch's first node
        if (pCode[nScan] == OP_EXACTLY)
            pRegexp->regstart = static_cast<char>(pCode[nScan + NODE_HEADER]);
        else if (pCode[nScan] == OP_BOL)
            pRegexp->reganch = 1;
        // A leading '*' or '+' would make every position a try; the longest literal on the
        // branch's own chain must occur in the text for any to succeed.
        if (nFlags & SPSTART) {
            const char* pszLongest = nullptr;
            size_t nLongest = 0;
            for (; nScan >= 0; nScan = NextNode(pCode, nScan)) {
                if (pCode[nScan] != OP_EXACTLY)
                    continue;
                const char* pszLiteral = reinterpret_cast<const char*>(pCode + nScan + NODE_HEADER);
                if (strlen(pszLiteral) >= nLongest) {
                    pszLongest = pszLiteral;
                    nLongest = strlen(pszLiteral);
                }
            }
            pRegexp->regmust = pszLongest;
            pRegexp->regmlen = static_cast<int>(nLongest);
        }
    }
    int nBudget = 1000;
    pRegexp->regfirstknown = AddFirstBytes(pCode, 1, pRegexp->regfirst, nBudget) ? 1 : 0;
    return pRegexp;
}

}  // namespace tbre
