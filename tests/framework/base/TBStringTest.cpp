#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/base/TBString.h"
#include "platform/win/kernel/Resources.h"

namespace {
// "text" or "<no buffer>", with the reported character count, so one EXPECT shows both.
std::string Show(const CTBString& str)
{
    if (str == nullptr)
        return "<no buffer>/" + std::to_string(str.GetLength());
    return std::string(static_cast<const char*>(str)) + "/" + std::to_string(str.GetLength());
}
}  // namespace

TEST(TBString, TwoEmptyStatesCompareAsTheSpecialCasesSay)
{
    CTBString strNone;
    EXPECT_TRUE(strNone == nullptr);
    EXPECT_TRUE(strNone == "");
    EXPECT_EQ(0, strNone.GetLength());
    EXPECT_STREQ("", static_cast<const char*>(strNone));

    CTBString strKept("abc");
    strKept.MakeLeft(0);
    EXPECT_TRUE(strKept == "");
    EXPECT_FALSE(strKept == nullptr);
    EXPECT_EQ(0, strKept.GetLength());
    EXPECT_TRUE(strKept == strNone);

    CTBString strFromNull(static_cast<const char*>(nullptr));
    EXPECT_TRUE(strFromNull == nullptr);
    CTBString strFromEmpty("");
    EXPECT_FALSE(strFromEmpty == nullptr);
    EXPECT_TRUE(strFromEmpty == "");

    // Copying an empty string onto a full one leaves the allocated empty state.
    CTBString strFull("x");
    strFull = strNone;
    EXPECT_EQ("/0", Show(strFull));
    EXPECT_FALSE(strFull == nullptr);
    // Assigning the shared empty text to a string without a buffer changes nothing.
    CTBString strStill;
    strStill = strNone;
    EXPECT_TRUE(strStill == nullptr);
    strFull = static_cast<const char*>(nullptr);
    EXPECT_TRUE(strFull == nullptr);
}

TEST(TBString, AssignKeepsTheCountItWasGiven)
{
    CTBString str("ab", 5);
    EXPECT_STREQ("ab", static_cast<const char*>(str));
    EXPECT_EQ(5, str.GetLength());
    EXPECT_EQ('b', str.GetAt(1));
    EXPECT_EQ(0, str.GetAt(4));
    EXPECT_EQ(0, str.GetAt(5));
    EXPECT_EQ(0, str.GetAt(500));
    EXPECT_EQ(0, str.GetAt(-1));
    EXPECT_EQ(0, CTBString().GetAt(0));

    CTBString strCut("abcdef", 3);
    EXPECT_EQ("abc/3", Show(strCut));
    CTBString strNull(nullptr, 4);
    EXPECT_TRUE(strNull == nullptr);
    EXPECT_EQ("x/1", Show(CTBString('x')));

    // A copy holds the text, not the padding.
    CTBString strCopy(str);
    EXPECT_EQ("ab/2", Show(strCopy));
}

TEST(TBString, CopiesAreIndependentAndMovesLeaveTheSourceEmpty)
{
    CTBString strA("alpha");
    CTBString strB(strA);
    strB.MakeUpper();
    EXPECT_EQ("alpha", std::string(strA));
    EXPECT_EQ("ALPHA", std::string(strB));
    strA = strB;
    strB = "beta";
    EXPECT_EQ("ALPHA", std::string(strA));

    CTBString strMoved(static_cast<CTBString&&>(strA));
    EXPECT_EQ("ALPHA", std::string(strMoved));
    EXPECT_TRUE(strA == nullptr);
    strB = static_cast<CTBString&&>(strMoved);
    EXPECT_EQ("ALPHA", std::string(strB));
    EXPECT_TRUE(strMoved == nullptr);
    strMoved = "again";
    EXPECT_EQ("again", std::string(strMoved));
}

TEST(TBString, AssigningPartOfItselfKeepsTheText)
{
    CTBString str("hello world");
    str = static_cast<const char*>(str);          // its own buffer: nothing happens
    EXPECT_EQ("hello world/11", Show(str));
    str = static_cast<const char*>(str) + 6;      // a tail of itself
    EXPECT_EQ("world/5", Show(str));
    str.Assign(static_cast<const char*>(str) + 1, 3);
    EXPECT_EQ("orl/3", Show(str));
    str += static_cast<const char*>(str);
    EXPECT_EQ("orlorl/6", Show(str));
    str += str;
    EXPECT_EQ("orlorlorlorl/12", Show(str));
    str.Format("<%s>", static_cast<const char*>(str));
    EXPECT_EQ("<orlorlorlorl>/14", Show(str));
}

TEST(TBString, AppendAndConcatenate)
{
    CTBString str;
    str += "";
    EXPECT_TRUE(str == nullptr);
    str += static_cast<const char*>(nullptr);
    EXPECT_TRUE(str == nullptr);
    str += "ab";
    str += CTBString("cd");
    EXPECT_EQ("abcd/4", Show(str));
    CTBString strSum = str + "ef" + CTBString("gh");
    EXPECT_EQ("abcdefgh/8", Show(strSum));
    EXPECT_EQ("abcd/4", Show(str));
    // Appending to a padded string joins at the end of its text.
    CTBString strPadded("ab", 4);
    strPadded += "c";
    EXPECT_EQ("abc/3", Show(strPadded));
}

TEST(TBString, FormatIsCutAt1023Characters)
{
    CTBString str;
    str.Format("%d|%s|%.2f", 42, "KWD", 1.5);
    EXPECT_EQ("42|KWD|1.50", std::string(str));

    std::string strLong(3000, 'x');
    str.Format("%s", strLong.c_str());
    EXPECT_EQ(1023, str.GetLength());
    EXPECT_EQ(std::string(1023, 'x'), std::string(str));

    str.Format("%s%s", std::string(1020, 'a').c_str(), "bcdef");
    EXPECT_EQ(std::string(1020, 'a') + "bcd", std::string(str));
    str.Format("%s", "");
    EXPECT_EQ("/0", Show(str));
}

TEST(TBString, ComparisonsWithTextsAndStrings)
{
    CTBString str("KWD");
    EXPECT_TRUE(str == "KWD");
    EXPECT_TRUE("KWD" == str);
    EXPECT_TRUE(str != "kwd");
    EXPECT_TRUE(str != nullptr);
    EXPECT_FALSE(str == nullptr);
    EXPECT_TRUE(str == CTBString("KWD"));
    EXPECT_TRUE(str != CTBString("KWD "));
    EXPECT_FALSE(str == "KW");
}

TEST(TBString, FindCharAndText)
{
    CTBString str("a,b,,c");
    EXPECT_EQ(1, str.Find(','));
    EXPECT_EQ(3, str.Find(',', 2));
    EXPECT_EQ(4, str.Find(',', 4));
    EXPECT_EQ(-1, str.Find(',', 5));
    EXPECT_EQ(-1, str.Find(',', 7));
    EXPECT_EQ(-1, str.Find(',', 1000));
    EXPECT_EQ(-1, str.Find('z'));
    EXPECT_EQ(-1, CTBString().Find('a'));

    EXPECT_EQ(3, str.Find(",,"));
    EXPECT_EQ(0, str.Find(""));
    EXPECT_EQ(-1, str.Find("c,"));
    EXPECT_EQ(-1, CTBString().Find("a"));
    EXPECT_EQ(0, CTBString().Find(""));

    EXPECT_TRUE(str.HasChar('c'));
    EXPECT_FALSE(str.HasChar('z'));
    EXPECT_TRUE(str.HasChar('\0'));
    EXPECT_FALSE(CTBString().HasChar('\0'));

    const char* pszText = "xxabab";
    EXPECT_EQ(pszText + 2, FindStringMB(pszText, "ab"));
    EXPECT_EQ(pszText, FindStringMB(pszText, ""));
    EXPECT_EQ(nullptr, FindStringMB(pszText, "abc"));
    EXPECT_EQ(nullptr, FindStringMB(nullptr, "a"));
}

TEST(TBString, CharacterClassChecks)
{
    EXPECT_TRUE(CTBString("+-12").IsNumber());
    EXPECT_TRUE(CTBString().IsNumber());
    EXPECT_FALSE(CTBString("1.5").IsNumber());
    EXPECT_TRUE(CTBString("0123").IsDigits());
    EXPECT_TRUE(CTBString("").IsDigits());
    EXPECT_FALSE(CTBString("+12").IsDigits());
    EXPECT_FALSE(CTBString("12 ").IsDigits());

    EXPECT_TRUE(CTBString().IsBlank());
    EXPECT_TRUE(CTBString(" \t ").IsBlank());
    EXPECT_FALSE(CTBString(" x ").IsBlank());
    EXPECT_FALSE(CTBString("\n").IsBlank());
    EXPECT_TRUE(IsBlankText(nullptr));
}

TEST(TBString, LeftRightAndMid)
{
    CTBString str("abc");
    str.MakeLeft(3);
    EXPECT_EQ("abc/3", Show(str));
    str.MakeLeft(10);
    EXPECT_EQ("abc/3", Show(str));
    str.MakeLeft(2);
    EXPECT_EQ("ab/2", Show(str));
    str = "abcdef";
    str.MakeRight(2);
    EXPECT_EQ("ef/2", Show(str));
    str.MakeRight(0);
    EXPECT_EQ("/0", Show(str));
    EXPECT_FALSE(str == nullptr);

    CTBString strNone;
    strNone.MakeLeft(0);
    strNone.MakeRight(0);
    EXPECT_TRUE(strNone == nullptr);

    CTBString strSrc("abcdef");
    EXPECT_EQ("abc/3", Show(strSrc.Left(3)));
    EXPECT_EQ("def/3", Show(strSrc.Right(3)));
    EXPECT_EQ("abcdef/6", Show(strSrc.Right(6)));
    EXPECT_EQ("abcdef/6", Show(strSrc));

    CTBString strAbc("abc");
    EXPECT_TRUE(strAbc.Mid(3, 2) == "");
    EXPECT_TRUE(strAbc.Mid(4, 1) == nullptr);
    EXPECT_EQ("bc/2", Show(strAbc.Mid(1, 10)));
    EXPECT_EQ("b/1", Show(strAbc.Mid(1, 1)));
    EXPECT_EQ("abc/3", Show(strAbc.Mid(0, 3)));
    EXPECT_TRUE(CTBString().Mid(0, 5) == "");
}

TEST(TBString, TrimRight)
{
    CTBString str("ab  ");
    str.TrimRight(" ");
    EXPECT_EQ("ab/2", Show(str));
    str = "ab \t\r\n";
    str.TrimRight(" \t\r\n");
    EXPECT_EQ("ab/2", Show(str));
    str = "   ";
    str.TrimRight(" ");
    EXPECT_TRUE(str == nullptr);
    str = "ab  ";
    str.TrimRight("");
    EXPECT_EQ("ab  /4", Show(str));
    str.TrimRight(nullptr);
    EXPECT_EQ("ab  /4", Show(str));
    str = " a b";
    str.TrimRight(" ");
    EXPECT_EQ(" a b/4", Show(str));
}

TEST(TBString, CaseFollowsTheCodePage)
{
    CTBString str("Kuwait 12-b");
    str.MakeUpper();
    EXPECT_EQ("KUWAIT 12-B", std::string(str));
    str.MakeLower();
    EXPECT_EQ("kuwait 12-b", std::string(str));
    // Letters of the page beyond ASCII follow the page's own table, whatever the C locale says.
    CTBString strAccent("caf\xe9");
    strAccent.MakeUpper();
    EXPECT_EQ("CAF\xc9", std::string(strAccent));
    strAccent.MakeLower();
    EXPECT_EQ("caf\xe9", std::string(strAccent));
    CTBString strNone;
    strNone.MakeUpper();
    EXPECT_TRUE(strNone == nullptr);
}

TEST(TBString, SplitTokenCutsOneTokenAtATime)
{
    static const struct { const char *pszText, *pszToken, *pszRest; } cases[] = {
        {"ab,cd,ef", "ab", "cd,ef"},
        {"ab,,cd", "ab", ",cd"},
        {",ab,cd", "ab", "cd"},
        {",,,", "", ""},
        {"ab", "ab", ""},
        {"ab,", "ab", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        CTBString str(c.pszText);
        CTBString strRest("stale");
        str.SplitToken(",", strRest);
        EXPECT_EQ(c.pszToken, std::string(str)) << c.pszText;
        EXPECT_EQ(c.pszRest, std::string(strRest)) << c.pszText;
    }

    CTBString strNone;
    CTBString strRest("stale");
    strNone.SplitToken(",", strRest);
    EXPECT_TRUE(strNone == nullptr);
    EXPECT_TRUE(strRest == "");

    // Several delimiters, and walking a whole list; no state is left between two lists.
    CTBString strList("a b;c");
    CTBString strOther("x;y");
    strList.SplitToken(" ;", strRest);
    EXPECT_EQ("a", std::string(strList));
    strOther.SplitToken(";", strOther);
    strList = strRest;
    strList.SplitToken(" ;", strRest);
    EXPECT_EQ("b", std::string(strList));
    EXPECT_EQ("c", std::string(strRest));
}

TEST(TBString, ReplaceTextsAndCharacters)
{
    CTBString str("a\nb");
    CTBString strOut = str.Replace("\n", "\\n");
    EXPECT_EQ("a\\nb/4", Show(strOut));
    EXPECT_EQ("a\nb/3", Show(strOut.Replace("\\n", "\n")));
    EXPECT_EQ("ba/2", Show(CTBString("aaa").Replace("aa", "b")));
    EXPECT_TRUE(CTBString("aa").Replace("a", "") == nullptr);
    EXPECT_EQ("xyz/3", Show(CTBString("xyz").Replace("q", "r")));
    EXPECT_EQ("xyz/3", Show(CTBString("xyz").Replace("", "r")));
    EXPECT_EQ("a-b-c/5", Show(CTBString("a|b|c").Replace("|", "-")));

    EXPECT_EQ("a_b_c/5", Show(CTBString("a b c").ReplaceChar(' ', '_')));
    EXPECT_TRUE(CTBString().ReplaceChar('a', 'b') == nullptr);
}

TEST(TBString, DuplicatesBelongToTheCaller)
{
    CTBString str("abc");
    char* psz = str.Duplicate();
    ASSERT_NE(nullptr, psz);
    EXPECT_STREQ("abc", psz);
    delete[] psz;
    EXPECT_EQ(nullptr, CTBString().Duplicate());

    psz = str.DuplicateN(2);
    EXPECT_STREQ("ab", psz);
    delete[] psz;
    psz = str.DuplicateN(6);
    EXPECT_EQ(0, memcmp(psz, "abc\0\0\0\0", 7));
    delete[] psz;
}

TEST(TBString, ResourceStringsFromAModule)
{
    char szDir[] = "/tmp/tbstringXXXXXX";
    ASSERT_NE(nullptr, mkdtemp(szDir));
    const std::string strPath = std::string(szDir) + "/strings_1252.rc";
    FILE* pFile = fopen(strPath.c_str(), "w");
    ASSERT_NE(nullptr, pFile);
    fprintf(pFile, "STRINGTABLE\nBEGIN\n  900, \"Quotes\"\n  901, \"%s\"\nEND\n", std::string(600, 'q').c_str());
    fclose(pFile);
    HMODULE hModule = LoadLibraryA((std::string(szDir) + "/strings_1252.dll").c_str());
    ASSERT_NE(nullptr, hModule);

    CTBString str;
    EXPECT_TRUE(str.LoadString(hModule, 900));
    EXPECT_EQ("Quotes", std::string(str));
    EXPECT_TRUE(str.LoadString(hModule, 901));     // cut to the 512-byte buffer
    EXPECT_EQ(std::string(511, 'q'), std::string(str));
    EXPECT_FALSE(str.LoadString(hModule, 902));
    EXPECT_EQ("SID 902", std::string(str));
    EXPECT_TRUE(str.LoadStringOrEmpty(hModule, 900) == "Quotes");

    HINSTANCE hOld = TbGetResourceModule();
    TbSetResourceModule(hModule);
    EXPECT_TRUE(CTBString().LoadAppString(900) == "Quotes");
    TbSetResourceModule(hOld);

    FreeLibrary(hModule);
    unlink(strPath.c_str());
    rmdir(szDir);
}

TEST(TBString, MissingResourceStrings)
{
    CTBString str("old");
    EXPECT_FALSE(str.LoadString(nullptr, 123));
    EXPECT_EQ("SID 123", std::string(str));
    str = "old";
    str.LoadStringOrEmpty(nullptr, 123);
    EXPECT_TRUE(str == "");
    str = "old";
    str.LoadAppString(65000);
    EXPECT_TRUE(str == "");
}
