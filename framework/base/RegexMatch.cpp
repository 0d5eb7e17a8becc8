// Matching and substitution of compiled expressions. The state of one match lives in a
// CRegexMatcher on the caller's stack, so matches on other expressions or threads never meet.
//
// The matcher backtracks as the recursive design does (branches in order, '*' and '+' longest
// first, the first path to reach the end wins), with its choices kept on a stack of its own, and
// remembers which pairs of choice node and text position it has entered. Expressions have no
// back-references, so whether the rest of the program matches from a node at a position depends
// on nothing else: a pair entered again has failed before (a success ends the search) and is
// refused at once. That holds across the start positions of one regexec too, so each pair is
// worked on once: time grows with program size times text length, never exponentially, and a
// long text nests nothing. (A pair could also be entered again while still being tried, but only
// through a loop that consumes nothing, and regcomp refuses those.)
#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <deque>
#include <new>
#include <vector>
#include "framework/base/Regex.h"
#include "framework/base/RegexProgram.h"
#include "platform/win/kernel/CodePage.h"

namespace tbre {

namespace {

// The memory of entered pairs, one bit each: past this a text is refused rather than let one
// expression take the machine's memory.
const size_t MAX_MEMO_BYTES = size_t(64) << 20;

// Word characters are the active code page's letters and digits and '_'.
bool IsWordChar(char c)
{
    return c == '_' || (c != '\0' && IsCharAlphaNumericA(c));
}

// What to go back to when the path followed fails.
enum : unsigned char {
    JOB_BRANCH,                         // the alternatives from nNode on, at nAt
    JOB_REPEAT,                         // what follows the star or plus nNode, at nAt down to nLow
    JOB_GROUP,                          // group end nNode (0-9 starts, 10-19 ends) back to nAt (-1: none)
};
struct SJob
{
    unsigned char nKind;
    int nNode;
    int nAt;
    int nLow;
};

// A matcher's memory. The dictionary runs thousands of short matches, so each thread keeps one
// from a regexec to the next, and lets go only of what a long text made it take.
struct SMatchMemory
{
    std::deque<SJob> jobs;              // newest last; a deque, since a long text's stack runs to
                                        // tens of megabytes that growing must not copy
    std::vector<int> rows;              // by node offset: its memo row, -1 for none yet
    std::vector<uint64_t> entered;      // a row of bits per choice node met, one per text position
};
thread_local SMatchMemory t_memory;
const size_t KEEP_LENGTH = 16384;       // the memory of a longer text's match is let go

class CRegexMatcher
{
public:
    CRegexMatcher(regexp* pProg, const char* pszText)
        : m_pProg(pProg), m_pCode(reinterpret_cast<const unsigned char*>(pProg->program)), m_pszBol(pszText)
    {
    }
    ~CRegexMatcher()
    {
        if (m_pMemory == nullptr)
            return;
        if (m_nLength > KEEP_LENGTH) {
            *m_pMemory = SMatchMemory();
            return;
        }
        m_pMemory->jobs.clear();
        m_pMemory->rows.clear();
        m_pMemory->entered.clear();
    }
    CRegexMatcher(const CRegexMatcher&) = delete;
    CRegexMatcher& operator=(const CRegexMatcher&) = delete;
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
    int Offset(const char* pszAt) const { return static_cast<int>(pszAt - m_pszBol); }
    const char*& GroupEnd(int nEnd) { return nEnd < NSUBEXP ? m_pProg->startp[nEnd] : m_pProg->endp[nEnd - NSUBEXP]; }
    bool Run(int nScan, const char* pszIn);
    bool Follow(int& nScan, const char*& pszIn);
    bool Resume(int& nScan, const char*& pszIn);
    // Whether the simple node nNode takes the character at pszIn.
    bool MatchOne(int nNode, const char* pszIn)
    {
        if (*pszIn == '\0')
            return false;
        switch (m_pCode[nNode]) {
        case OP_ANY:
            return true;
        case OP_EXACTLY:
            return *pszIn == *Operand(nNode);
        case OP_ANYOF:
        case OP_ANYBUT:
            return (strchr(Operand(nNode), *pszIn) != nullptr) == (m_pCode[nNode] == OP_ANYOF);
        default:
            return Fail("internal foulup");
        }
    }
    uint64_t* Row(int nNode);
    // Marks the pair of the row's node and pszAt entered; false when it was already: it failed.
    bool FirstEntry(uint64_t* pRow, const char* pszAt) const
    {
        size_t nAt = static_cast<size_t>(pszAt - m_pszBol);
        uint64_t nMask = uint64_t(1) << (nAt % 64);
        if (pRow[nAt / 64] & nMask)
            return false;
        pRow[nAt / 64] |= nMask;
        return true;
    }
    size_t EnterRun(uint64_t* pRow, size_t nFrom) const;
    // The thread's memory, taken on the first choice met: most texts meet none.
    SMatchMemory* Memory()
    {
        if (m_pMemory == nullptr)
            m_pMemory = &t_memory;
        return m_pMemory;
    }
    bool Push(unsigned char nKind, int nNode, const char* pszAt, int nLow = 0);

    regexp* m_pProg;
    const unsigned char* m_pCode;
    const char* m_pszBol;               // the text's start, for '^' and '\<'
    const char* m_pszEnd = nullptr;     // where the successful path ended
    bool m_bCleared = false;            // the groups were cleared; failed tries leave them so
    bool m_bFailed = false;             // an error was reported: give up the whole regexec
    long m_nSteps = 0;                  // over every start position of one regexec
    SMatchMemory* m_pMemory = nullptr;  // the thread's, once a choice was met
    size_t m_nRowWords = 0;             // the memo's words a row (0: not known yet)
    size_t m_nLength = 0;               // the text's, known with m_nRowWords; only a text with
                                        // choices to remember can fill the memory
};

int CRegexMatcher::Try(const char* pszAt)
{
    if (!m_bCleared) {
        memset(m_pProg->startp, 0, sizeof m_pProg->startp);
        memset(m_pProg->endp, 0, sizeof m_pProg->endp);
        m_bCleared = true;
    }
    bool bMatched = false;
    try {
        bMatched = Run(1, pszAt);
    } catch (const std::bad_alloc&) {
        Fail("out of space");
    }
    if (!bMatched) {
        // A failed try has put every group back; one given up halfway leaves none set either.
        if (m_bFailed) {
            memset(m_pProg->startp, 0, sizeof m_pProg->startp);
            memset(m_pProg->endp, 0, sizeof m_pProg->endp);
        }
        if (m_pMemory != nullptr)
            m_pMemory->jobs.clear();
        return 0;
    }
    m_pProg->startp[0] = pszAt;
    m_pProg->endp[0] = m_pszEnd;
    return 1;
}

// Follows the program from nScan at pszIn; each time the path fails, takes up the newest choice
// left. True when a path reaches the end node.
bool CRegexMatcher::Run(int nScan, const char* pszIn)
{
    for (;;) {
        if (Follow(nScan, pszIn))
            return true;
        if (m_bFailed || !Resume(nScan, pszIn))
            return false;
    }
}

// One path, node after node: true at the end node, false where the text does not fit. Choices
// are left on the job stack for Resume, the first alternative taken at once.
bool CRegexMatcher::Follow(int& nScan, const char*& pszIn)
{
    for (;;) {
        if (nScan < 0)
            return Fail("corrupted pointers");
        if (++m_nSteps > REGEXP_MAX_STEPS)
            return Fail("regexp too complex");
        unsigned char op = m_pCode[nScan];
        int nNext = NextNode(m_pCode, nScan);
        switch (op) {
        case OP_END:
            m_pszEnd = pszIn;
            return true;
        case OP_BOL:
            if (pszIn != m_pszBol)
                return false;
            break;
        case OP_EOL:
            if (*pszIn != '\0')
                return false;
            break;
        case OP_WORDA:
            if (!IsWordChar(*pszIn) || (pszIn != m_pszBol && IsWordChar(pszIn[-1])))
                return false;
            break;
        case OP_WORDZ:
            if (IsWordChar(*pszIn) || pszIn == m_pszBol || !IsWordChar(pszIn[-1]))
                return false;
            break;
        case OP_ANY:
        case OP_ANYOF:
        case OP_ANYBUT:
            if (!MatchOne(nScan, pszIn))
                return false;
            ++pszIn;
            break;
        case OP_EXACTLY: {
            const char* pszLiteral = Operand(nScan);
            if (*pszLiteral != *pszIn)
                return false;
            size_t nLength = strlen(pszLiteral);
            if (nLength > 1 && strncmp(pszLiteral, pszIn, nLength) != 0)
                return false;
            pszIn += nLength;
            break;
        }
        case OP_NOTHING:
        case OP_BACK:
            break;
        case OP_BRANCH:
            // A branch without alternatives is no choice: go on inside it.
            if (nNext >= 0 && m_pCode[nNext] == OP_BRANCH) {
                uint64_t* pRow = Row(nScan);
                if (pRow == nullptr || !FirstEntry(pRow, pszIn) || !Push(JOB_BRANCH, nNext, pszIn))
                    return false;
            }
            nNext = nScan + NODE_HEADER;
            break;
        case OP_STAR:
        case OP_PLUS: {
            // A plus needs its operand once; then both are a loop that takes the operand once
            // more while it fits and the loop has not been at the next position yet, longest
            // first: each position is looped from once, over every start.
            int nOperand = nScan + NODE_HEADER;
            if (op == OP_PLUS && !MatchOne(nOperand, pszIn++))
                return false;
            uint64_t* pRow = Row(nScan);
            if (pRow == nullptr || !FirstEntry(pRow, pszIn))
                return false;
            const char* pszTop = pszIn;
            if (m_pCode[nOperand] == OP_ANY)
                pszTop = m_pszBol + EnterRun(pRow, static_cast<size_t>(Offset(pszIn)) + 1) - 1;
            while (MatchOne(nOperand, pszTop) && FirstEntry(pRow, pszTop + 1))
                ++pszTop;
            if (m_bFailed)
                return false;
            // Resume tries what follows from the longest count down.
            Push(JOB_REPEAT, nScan, pszTop, Offset(pszIn));
            return false;
        }
        default:
            if (op >= OP_OPEN && op < OP_CLOSE + NSUBEXP) {
                // The last time the path passes a group's ends is what the match reports.
                int nEnd = op < OP_CLOSE ? op - OP_OPEN : NSUBEXP + op - OP_CLOSE;
                const char* pszOld = GroupEnd(nEnd);
                if (!Push(JOB_GROUP, nEnd, pszOld))
                    return false;
                GroupEnd(nEnd) = pszIn;
                break;
            }
            return Fail("memory corruption");
        }
        nScan = nNext;
    }
}

// Takes up the newest choice left, putting back the group ends set since; false when none is left.
bool CRegexMatcher::Resume(int& nScan, const char*& pszIn)
{
    if (m_pMemory == nullptr)
        return false;                   // no choice was met
    std::deque<SJob>& jobs = m_pMemory->jobs;
    while (!jobs.empty()) {
        SJob& job = jobs.back();
        switch (job.nKind) {
        case JOB_GROUP:
            GroupEnd(job.nNode) = job.nAt < 0 ? nullptr : m_pszBol + job.nAt;
            jobs.pop_back();
            break;
        case JOB_BRANCH: {
            nScan = job.nNode;
            pszIn = m_pszBol + job.nAt;
            jobs.pop_back();
            int nNext = NextNode(m_pCode, nScan);
            if (nNext >= 0 && m_pCode[nNext] == OP_BRANCH && !Push(JOB_BRANCH, nNext, pszIn))
                return false;
            nScan += NODE_HEADER;
            return true;
        }
        case JOB_REPEAT: {
            int nNext = NextNode(m_pCode, job.nNode);
            // A literal next must see its first character before the rest is tried.
            char chNext = (nNext >= 0 && m_pCode[nNext] == OP_EXACTLY) ? *Operand(nNext) : '\0';
            int nAt = job.nAt;
            int nLow = job.nLow;
            while (nAt >= nLow && chNext != '\0' && m_pszBol[nAt] != chNext)
                --nAt;
            if (nAt > nLow)
                job.nAt = nAt - 1;
            else
                jobs.pop_back();        // this was the last count
            if (nAt < nLow)
                break;
            nScan = nNext;
            pszIn = m_pszBol + nAt;
            return true;
        }
        }
    }
    return false;
}

// The memo row of a choice node, made when the node is first met; null when it cannot be had.
uint64_t* CRegexMatcher::Row(int nNode)
{
    if (m_nRowWords == 0) {
        m_nLength = strlen(m_pszBol);
        m_nRowWords = (m_nLength + 1 + 63) / 64;
    }
    std::vector<int>& rows = Memory()->rows;
    std::vector<uint64_t>& entered = m_pMemory->entered;
    if (nNode >= static_cast<int>(rows.size()))
        rows.resize(static_cast<size_t>(nNode) + 1, -1);
    int& nRow = rows[static_cast<size_t>(nNode)];
    if (nRow < 0) {
        size_t nRows = entered.size() / m_nRowWords;
        if ((nRows + 1) * m_nRowWords > MAX_MEMO_BYTES / sizeof(uint64_t)) {
            Fail("out of space");
            return nullptr;
        }
        entered.resize((nRows + 1) * m_nRowWords, 0);
        nRow = static_cast<int>(nRows);
    }
    return entered.data() + static_cast<size_t>(nRow) * m_nRowWords;
}

// Marks the row's positions from nFrom to the text's end entered, a word at a time, up to the
// first that was already; returns that one, or the position past the end. What '.*' loops over.
size_t CRegexMatcher::EnterRun(uint64_t* pRow, size_t nFrom) const
{
    for (size_t nAt = nFrom; nAt <= m_nLength;) {
        size_t nLast = std::min(m_nLength, nAt | 63);
        uint64_t nMask = (~uint64_t(0) << (nAt % 64)) & (~uint64_t(0) >> (63 - nLast % 64));
        uint64_t& nWord = pRow[nAt / 64];
        if (uint64_t nEntered = nWord & nMask) {
            size_t nStop = (nAt & ~size_t(63)) + static_cast<size_t>(std::countr_zero(nEntered));
            nWord |= nMask & ~(~uint64_t(0) << (nStop % 64));
            return nStop;
        }
        nWord |= nMask;
        nAt = nLast + 1;
    }
    return m_nLength + 1;
}

bool CRegexMatcher::Push(unsigned char nKind, int nNode, const char* pszAt, int nLow)
{
    // Positions are kept as int; a text of 2 GB is far past anything a dictionary translates.
    if (pszAt != nullptr && pszAt - m_pszBol >= INT_MAX)
        return Fail("out of space");
    Memory()->jobs.push_back(SJob{nKind, nNode, pszAt == nullptr ? -1 : Offset(pszAt), nLow});
    return true;
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
