#include <ctime>
#include <gtest/gtest.h>

#include <regex.h>      // the C library's engine: only the differential test's peer

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "framework/base/Regex.h"
#include "platform/win/kernel/CodePage.h"

namespace {

struct FreeRegexp
{
    void operator()(tbre::regexp* p) const { free(p); }
};
using RegexpPtr = std::unique_ptr<tbre::regexp, FreeRegexp>;

RegexpPtr Compile(const char* pszExpression)
{
    return RegexpPtr(tbre::regcomp(pszExpression));
}

// The message regcomp gave for an expression it refused, "" when it compiled.
std::string CompileError(const char* pszExpression)
{
    tbre::regerror(nullptr);
    RegexpPtr pRe = Compile(pszExpression);
    if (pRe != nullptr)
        return "";
    return tbre::RegLastError() != nullptr ? tbre::RegLastError() : "(no message)";
}

// The first match as "start:text", "-" for none.
std::string Find(const char* pszExpression, const char* pszText)
{
    RegexpPtr pRe = Compile(pszExpression);
    if (pRe == nullptr)
        return "refused";
    if (!tbre::regexec(pRe.get(), pszText))
        return "-";
    return std::to_string(pRe->startp[0] - pszText) + ":" + std::string(pRe->startp[0], pRe->endp[0]);
}

std::string Substitute(const char* pszExpression, const char* pszText, const char* pszTemplate, size_t cbDest = 1024)
{
    RegexpPtr pRe = Compile(pszExpression);
    if (pRe == nullptr || !tbre::regexec(pRe.get(), pszText))
        return "-";
    std::string strDest(cbDest, 'X');
    tbre::regsub(pRe.get(), pszTemplate, strDest.data(), cbDest);
    return strDest.c_str();
}

}  // namespace

TEST(Regex, MatchesAndGroups)
{
    EXPECT_EQ("0:Order 17 filled", Find("Order (.*) filled", "Order 17 filled"));
    EXPECT_EQ("17 done", Substitute("Order (.*) filled", "Order 17 filled", "\\1 done"));
    EXPECT_EQ("Order 17 filled ok", Substitute("Order (.*) filled", "Order 17 filled", "& ok"));
    EXPECT_EQ("\\a & \\x <>", Substitute("(a)(b)?", "a", "\\\\& \\& \\x <\\2>"));

    EXPECT_EQ("0:", Find("a*", "bbb"));
    EXPECT_EQ("1:aa", Find("a+", "baab"));
    EXPECT_EQ("3:ab", Find("^ab|ab$", "xabab"));
    EXPECT_EQ("0:ab", Find("^ab|ab$", "ab"));
    EXPECT_EQ("-", Find("^b", "ab"));
    EXPECT_EQ("3:", Find("$", "abc"));
    EXPECT_EQ("1:]", Find("[]a]", "x]"));
    EXPECT_EQ("1:a", Find("[]a]", "xa"));
    EXPECT_EQ("0:x", Find("[^]a]", "x"));
    EXPECT_EQ("1:-", Find("[a-]", "b-"));
    EXPECT_EQ("2:5.25", Find("[0-9]+\\.[0-9]+", "v 5.25"));
    EXPECT_EQ("0:a.b", Find("a\\.b", "a.b"));
    EXPECT_EQ("-", Find("a\\.b", "axb"));
    EXPECT_EQ("4:cat", Find("\\<cat\\>", "the cat sat"));
    EXPECT_EQ("-", Find("\\<cat\\>", "concat"));
    EXPECT_EQ("-", Find("\\<cat\\>", "cats"));
    EXPECT_EQ("0:cat", Find("\\<cat\\>", "cat"));
    // A line feed separates alternatives as '|' does.
    EXPECT_EQ("1:NBK", Find("ZAIN\nNBK", "-NBK"));
    EXPECT_EQ("0:KFH", Find("ZAIN|NBK|KFH", "KFH"));
    // A run before a repetition gives only its last character to it.
    EXPECT_EQ("0:abbb", Find("ab*", "abbbc"));
    EXPECT_EQ("-", Find("ab*", "bbb"));
    // Groups: the last loop of a repetition is kept; a group outside the match gives nothing.
    EXPECT_EQ("c", Substitute("(a|b|c)+", "abc", "\\1"));
    EXPECT_EQ("[x][]", Substitute("(x)|(y)", "x", "[\\1][\\2]"));
    EXPECT_EQ("b", Substitute("a((b)|c)d", "abd", "\\2"));
    EXPECT_EQ("0:", Find("()", ""));
    // A path that fails puts back the groups it set; a repetition gives back counts down to none.
    EXPECT_EQ("[]", Substitute("((a)b|ac)", "ac", "[\\2]"));
    EXPECT_EQ("a", Substitute("(a|b|c)*b", "abcx", "\\1"));
    EXPECT_EQ("[aa][a]", Substitute("(a*)(a+)b", "aaab", "[\\1][\\2]"));
    EXPECT_EQ("[][abxab]", Substitute("(x*)(a.*)", "abxab", "[\\1][\\2]"));
}

TEST(Regex, SetsAndWordsWorkOnUnsignedBytes)
{
    EXPECT_EQ("1:\xC7\xE9", Find("[\x80-\xFF]+", "a\xC7\xE9"));
    EXPECT_EQ("0:\xC7", Find("[^a-z]", "\xC7"));
    EXPECT_EQ("-", Find("[\xC0-\xC1]", "\xC7"));
    EXPECT_EQ("invalid [] range", CompileError("[\xFF-\x80]"));

    // 0x81 is a letter only in the Arabic page: there it joins the word and "cat" starts none.
    ASSERT_EQ(1252u, GetACP());
    EXPECT_EQ("1:cat", Find("\\<cat", "\x81" "cat"));
    ASSERT_TRUE(TbSetActiveCodePage(1256));
    EXPECT_EQ("-", Find("\\<cat", "\x81" "cat"));
    EXPECT_EQ("0:\xC7\xE1", Find("\\<[\x80-\xFF]+\\>", "\xC7\xE1 x"));
    TbSetActiveCodePage(1252);
}

TEST(Regex, CompileErrorsAreReported)
{
    EXPECT_EQ("", CompileError("a*"));
    EXPECT_EQ("*+ operand could be empty", CompileError("(a*)*"));
    EXPECT_EQ("*+ operand could be empty", CompileError("(^)+"));
    EXPECT_EQ("", CompileError("(a*)?"));
    EXPECT_EQ("nested *?+", CompileError("a**"));
    EXPECT_EQ("invalid [] range", CompileError("[z-a]"));
    EXPECT_EQ("unmatched []", CompileError("[abc"));
    EXPECT_EQ("unmatched ()", CompileError("(ab"));
    EXPECT_EQ("unmatched ()", CompileError("ab)"));
    EXPECT_EQ("?+* follows nothing", CompileError("+a"));
    EXPECT_EQ("?+* follows nothing", CompileError("a|*b"));
    EXPECT_EQ("trailing \\", CompileError("ab\\"));
    EXPECT_EQ("", CompileError("(1)(2)(3)(4)(5)(6)(7)(8)(9)"));
    EXPECT_EQ("too many ()", CompileError("(1)(2)(3)(4)(5)(6)(7)(8)(9)(10)"));
    EXPECT_EQ("too many ()", CompileError("((((((((((x))))))))))"));
    EXPECT_EQ("NULL argument", CompileError(nullptr));

    // The program holds the text and three bytes a node: 32767 bytes is the limit.
    EXPECT_EQ("", CompileError(std::string(32000, 'x').c_str()));
    EXPECT_EQ("regexp too big", CompileError(std::string(40000, 'x').c_str()));
    EXPECT_EQ("regexp too big", CompileError(std::string(1000000, 'x').c_str()));
    std::string strManyGroups;
    for (int i = 0; i < 8000; ++i)
        strManyGroups += "a|";
    EXPECT_EQ("regexp too big", CompileError(strManyGroups.c_str()));
    EXPECT_EQ("regexp too big", CompileError(("[" + std::string(200, 'a') + "\x01-\xFF]" + std::string(40000, 'x')).c_str()));
}

// A damaged program or match state is refused with the message that names the damage.
TEST(Regex, RunTimeErrorsAreReported)
{
    auto Message = [] { return std::string(tbre::RegLastError() != nullptr ? tbre::RegLastError() : ""); };
    char szDest[16] = "";

    tbre::regerror(nullptr);
    EXPECT_EQ(0, tbre::regexec(nullptr, "a"));
    EXPECT_EQ("NULL parameter", Message());
    RegexpPtr pRe = Compile("ab*c");
    ASSERT_NE(nullptr, pRe);
    EXPECT_EQ(0, tbre::regexec(pRe.get(), nullptr));
    EXPECT_EQ("NULL parameter", Message());
    tbre::regsub(nullptr, "x", szDest, sizeof szDest);
    EXPECT_EQ("NULL parm to regsub", Message());
    tbre::regsub(pRe.get(), nullptr, szDest, sizeof szDest);
    EXPECT_EQ("NULL parm to regsub", Message());

    // A group whose text holds a terminator cannot have come from a match.
    const char szBroken[] = "ab\0cd";
    pRe->startp[0] = szBroken;
    pRe->endp[0] = szBroken + 5;
    tbre::regsub(pRe.get(), "<&>", szDest, sizeof szDest);
    EXPECT_EQ("damaged match string", Message());
    EXPECT_STREQ("<", szDest);

    // Program layout of "ab*c": magic, branch (1), "a" (4), star (9) over "b" (12), "c" (17), end.
    auto* pCode = reinterpret_cast<unsigned char*>(pRe->program);
    ASSERT_EQ(0234, pCode[0]);
    ASSERT_EQ(8, pCode[4]);
    ASSERT_EQ(10, pCode[9]);
    pCode[12] = 1;                      // the star's operand a '^'
    EXPECT_EQ(0, tbre::regexec(pRe.get(), "abc"));
    EXPECT_EQ("internal foulup", Message());
    pCode[12] = 8;
    EXPECT_EQ(1, tbre::regexec(pRe.get(), "abc"));
    pCode[4] = 99;                      // no such opcode
    EXPECT_EQ(0, tbre::regexec(pRe.get(), "abc"));
    EXPECT_EQ("memory corruption", Message());
    pCode[4] = 8;
    pCode[5] = pCode[6] = 0;            // "a" leads nowhere
    EXPECT_EQ(0, tbre::regexec(pRe.get(), "abc"));
    EXPECT_EQ("corrupted pointers", Message());
    pCode[0] = 0;
    EXPECT_EQ(0, tbre::regexec(pRe.get(), "abc"));
    EXPECT_EQ("corrupted program", Message());
    tbre::regsub(pRe.get(), "&", szDest, sizeof szDest);
    EXPECT_EQ("damaged regexp fed to regsub", Message());
}

TEST(Regex, SubstitutionIsCutToTheDestination)
{
    std::string strText = "<" + std::string(5000, 'g') + ">";
    RegexpPtr pRe = Compile("<(g*)>");
    ASSERT_EQ(1, tbre::regexec(pRe.get(), strText.c_str()));
    // Exact-size heap buffers, so that AddressSanitizer sees any byte written past them.
    for (size_t cb : {size_t(1), size_t(2), size_t(7), size_t(1024)}) {
        std::unique_ptr<char[]> pDest(new char[cb]);
        tbre::regsub(pRe.get(), "x\\1\\1&y", pDest.get(), cb);
        EXPECT_EQ(cb - 1, strlen(pDest.get()));
        EXPECT_EQ(std::string("xggggggggg").substr(0, cb - 1), std::string(pDest.get()).substr(0, 10));
    }
    std::unique_ptr<char[]> pDest(new char[4]);
    tbre::regsub(pRe.get(), "ab\\", pDest.get(), 4);
    EXPECT_STREQ("ab\\", pDest.get());
}

TEST(Regex, LongTextsMatchWithoutDeepNesting)
{
    std::string strText;
    for (int i = 0; i < 500000; ++i)
        strText += "ab";
    const int N = static_cast<int>(strText.size());
    // Every loop of a repeated group is one more choice to come back to, half a million of them;
    // the groups report the last loop.
    const struct
    {
        const char* pszExpression;
        int nGroups[4][2];              // start and end of groups 1 to 4, -1 for none
    } cases[] = {
        {"^(a|b)*$", {{N - 1, N}, {-1, -1}, {-1, -1}, {-1, -1}}},
        {"(ab)+$", {{N - 2, N}, {-1, -1}, {-1, -1}, {-1, -1}}},
        {"((a)(b))+x?$", {{N - 2, N}, {N - 2, N - 1}, {N - 1, N}, {-1, -1}}},
        {"^(a|b|c)+(c)?$", {{N - 1, N}, {-1, -1}, {-1, -1}, {-1, -1}}},
        {"^([ab]*)(.*)b$", {{0, N - 1}, {N - 1, N - 1}, {-1, -1}, {-1, -1}}},
        {"^((a)|b)+$", {{N - 1, N}, {N - 2, N - 1}, {-1, -1}, {-1, -1}}},
    };
    for (const auto& c : cases) {
        tbre::regerror(nullptr);
        RegexpPtr pRe = Compile(c.pszExpression);
        ASSERT_NE(nullptr, pRe) << c.pszExpression;
        ASSERT_EQ(1, tbre::regexec(pRe.get(), strText.c_str())) << c.pszExpression << ": " << tbre::RegLastError();
        EXPECT_EQ(0, pRe->startp[0] - strText.c_str()) << c.pszExpression;
        EXPECT_EQ(N, pRe->endp[0] - strText.c_str()) << c.pszExpression;
        for (int i = 0; i < 4; ++i) {
            auto Offset = [&](const char* p) { return p == nullptr ? -1 : static_cast<int>(p - strText.c_str()); };
            EXPECT_EQ(c.nGroups[i][0], Offset(pRe->startp[i + 1])) << c.pszExpression << " group " << i + 1;
            EXPECT_EQ(c.nGroups[i][1], Offset(pRe->endp[i + 1])) << c.pszExpression << " group " << i + 1;
        }
    }
}

// Alternatives under repetition can be combined in exponentially many ways; each pair of program
// node and text position is worked on once instead, however many ways lead to it.
TEST(Regex, BacktrackingIsBoundedByProgramTimesText)
{
    auto Quiet = [](const char* pszExpression, const std::string& strText) {
        tbre::regerror(nullptr);
        std::string strFound = Find(pszExpression, strText.c_str());
        return strFound + (tbre::RegLastError() != nullptr ? std::string(" ") + tbre::RegLastError() : "");
    };
    const std::string strAs = std::string(40, 'a') + "cb";
    EXPECT_EQ("41:b", Quiet("(a|a)*b", strAs));
    EXPECT_EQ("-", Quiet("^(a|aa)*(a|aa)*c$", strAs));
    EXPECT_EQ("0:" + strAs.substr(0, 41), Quiet("^(a|aa)*(a|aa)*c", strAs));
    EXPECT_EQ("41:b", Quiet("((a|a)(a|a))*b", strAs));
    EXPECT_EQ("201:c", Quiet("[ab]*[ab]*[ab]*c", std::string(200, 'a') + "xc"));
    std::string strOrders;
    while (strOrders.size() < 21000)
        strOrders += "Order 17 done ";
    EXPECT_EQ("-", Quiet("Order (.*) filled", strOrders));
    EXPECT_EQ(strOrders.substr(6) + "18", Substitute("Order (.*) filled", (strOrders + "18 filled").c_str(), "\\1", 30000));

    // A megabyte each: the whole search, every start position, in well under a second even with
    // sanitizers on a busy machine (tens of milliseconds in an optimised build).
    const size_t MB = 1 << 20;
    std::string strAb;
    while (strAb.size() < MB)
        strAb += "ab";
    const struct
    {
        const char* pszExpression;
        std::string strText;
        std::string strExpected;
    } cases[] = {
        {"(a|aa)*b", std::string(MB, 'a') + "cb", std::to_string(MB + 1) + ":b"},
        {"(x+x+)+y", std::string(MB, 'x') + "zy", "-"},
        {"[ab]*[ab]*[ab]*c", strAb + "dc", std::to_string(MB + 1) + ":c"},
        {"Order (.*) filled", strOrders + std::string(MB, ' '), "-"},
    };
    // The processor time the search took: a machine busy with other work lengthens only the wait.
    const auto CpuMs = [] {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return ts.tv_sec * 1000LL + ts.tv_nsec / 1000000;
    };
    for (const auto& c : cases) {
        const long long nStart = CpuMs();
        EXPECT_EQ(c.strExpected, Quiet(c.pszExpression, c.strText)) << c.pszExpression;
        EXPECT_LT(CpuMs() - nStart, 3000) << c.pszExpression;
    }

    // The memory of tried pairs grows with choices times text; past what any dictionary needs the
    // text is refused rather than the memory taken.
    std::string strManyChoices;
    for (int i = 0; i < 200; ++i)
        strManyChoices += "a?";
    EXPECT_EQ("- out of space", Quiet((strManyChoices + "c").c_str(), std::string(3 * MB, 'a')));
    EXPECT_EQ("0:" + std::string(200, 'a') + "c", Quiet((strManyChoices + "c").c_str(), std::string(200, 'a') + "c"));
}

namespace {

// Random expressions over a small alphabet, in the syntax both engines share.
class CPatternMaker
{
public:
    explicit CPatternMaker(unsigned nSeed) : m_rng(nSeed) {}
    // bSimple: single-character atoms with '*', '+', '?', '^' and '$' only.
    std::string Make(bool bSimple)
    {
        m_bSimple = bSimple;
        return bSimple ? Branch(0) : Expression(0);
    }

private:
    int Pick(int n) { return static_cast<int>(m_rng() % static_cast<unsigned>(n)); }
    std::string Expression(int nDepth)
    {
        std::string str = Branch(nDepth);
        while (Pick(4) == 0)
            str += "|" + Branch(nDepth);
        return str;
    }
    std::string Branch(int nDepth)
    {
        std::string str;
        for (int n = 1 + Pick(4); n > 0; --n)
            str += Piece(nDepth);
        return str;
    }
    std::string Piece(int nDepth)
    {
        std::string str = Atom(nDepth);
        int nOp = Pick(7);
        if (nOp < 3 && str[0] != '\\')
            str += "*+?"[nOp];
        return str;
    }
    std::string Atom(int nDepth)
    {
        static const char* const s_sets[] = {"[ab]", "[^a]", "[a-c]", "[^ b]", "[]a]", "[b-]"};
        int n = Pick(m_bSimple ? 12 : 16);
        if (n < 5)
            return std::string(1, "abcab"[n]);
        if (n == 5)
            return ".";
        if (n < 8)
            return s_sets[Pick(6)];
        if (n == 8)
            return " ";
        if (n == 9)
            return "^";
        if (n < 12)
            return "$";
        if (n < 14)
            return nDepth < 3 ? "(" + Expression(nDepth + 1) + ")" : "a";
        // The C library mistakes word anchors inside groups and under repetitions (with one
        // match slot "(\\<.)+" takes all of "b a", with three it finds nothing), so they
        // stand only at the top, bare.
        if (nDepth > 0)
            return "b";
        return n == 14 ? "\\<" : "\\>";
    }
    std::mt19937 m_rng;
    bool m_bSimple = false;
};

}  // namespace

// Against the C library's POSIX engine: whether and where a match starts always agree (a
// backtracking search finds the leftmost start as POSIX does); the extent agrees where greedy
// first choice and POSIX longest cannot differ.
TEST(Regex, AgreesWithTheCLibraryEngine)
{
    CPatternMaker maker(20261207);
    std::mt19937 rngText(99);
    int nCompared = 0;
    for (int nStep = 0; nStep < 20000; ++nStep) {
        bool bSimple = nStep % 3 == 0;
        std::string strPattern = maker.Make(bSimple);
        tbre::regerror(nullptr);
        RegexpPtr pOurs = Compile(strPattern.c_str());
        if (pOurs == nullptr)
            continue;
        regex_t peer;
        if (::regcomp(&peer, strPattern.c_str(), REG_EXTENDED) != 0)
            continue;
        for (int nText = 0; nText < 4; ++nText) {
            std::string strText;
            for (int n = static_cast<int>(rngText() % 10); n > 0; --n)
                strText += "abc  "[rngText() % 5];
            regmatch_t match[1];
            int nPeer = ::regexec(&peer, strText.c_str(), 1, match, 0) == 0;
            int nOurs = tbre::regexec(pOurs.get(), strText.c_str());
            std::string strWhere = "pattern '" + strPattern + "' text '" + strText + "' step " + std::to_string(nStep);
            ASSERT_EQ(nPeer, nOurs) << strWhere;
            ++nCompared;
            if (!nOurs)
                continue;
            ASSERT_EQ(match[0].rm_so, pOurs->startp[0] - strText.c_str()) << strWhere;
            if (bSimple) {
                ASSERT_EQ(match[0].rm_eo, pOurs->endp[0] - strText.c_str()) << strWhere;
            }
        }
        ::regfree(&peer);
    }
    EXPECT_GT(nCompared, 40000);
}
