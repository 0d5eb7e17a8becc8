#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/base/TBString.h"
#include "platform/win/kernel/Resources.h"

namespace {
// The text with its reported character count, "-" for a string without a buffer, so one
// comparison shows content, count and empty state together.
std::string Show(const CTBString& str)
{
    return (str == nullptr ? std::string("-") : std::string(str)) + "/" + std::to_string(str.GetLength());
}
}  // namespace

TEST(TBString, EmptyStatesAndCounts)
{
    CTBString strNone;
    EXPECT_EQ("-/0", Show(strNone));
    EXPECT_TRUE(strNone == "");
    EXPECT_EQ("-/0", Show(CTBString(static_cast<const char*>(nullptr))));
    EXPECT_EQ("/0", Show(CTBString("")));       // allocated empty: equals "" but not null
    EXPECT_TRUE(CTBString("") == strNone);

    CTBString strKept("abc");
    strKept.MakeLeft(0);
    EXPECT_EQ("/0", Show(strKept));
    CTBString strFull("x");
    strFull = strNone;                          // copying an empty string keeps a buffer
    EXPECT_EQ("/0", Show(strFull));
    CTBString strStill;
    strStill = strNone;                         // the shared empty text onto itself: no change
    EXPECT_EQ("-/0", Show(strStill));
    strFull = static_cast<const char*>(nullptr);
    EXPECT_EQ("-/0", Show(strFull));

    // Assign keeps the count it was given, padding with zeros; a copy keeps only the text.
    CTBString strPadded("ab", 5);
    EXPECT_EQ("ab/5", Show(strPadded));
    EXPECT_EQ('b', strPadded.GetAt(1));
    EXPECT_EQ(0, strPadded.GetAt(5));
    EXPECT_EQ(0, strPadded.GetAt(500));
    EXPECT_EQ(0, strPadded.GetAt(-1));
    EXPECT_EQ(0, strNone.GetAt(0));
    EXPECT_EQ("ab/2", Show(CTBString(strPadded)));
    EXPECT_EQ("abc/3", Show(CTBString("abcdef", 3)));
    EXPECT_EQ("x/1", Show(CTBString('x')));

    CTBString strMoved(static_cast<CTBString&&>(strPadded));
    EXPECT_EQ("ab/5", Show(strMoved));
    EXPECT_EQ("-/0", Show(strPadded));
}

TEST(TBString, AssigningOrAppendingPartOfItself)
{
    CTBString str("hello world");
    str = static_cast<const char*>(str);
    EXPECT_EQ("hello world/11", Show(str));
    str = static_cast<const char*>(str) + 6;
    EXPECT_EQ("world/5", Show(str));
    str.Assign(static_cast<const char*>(str) + 1, 3);
    EXPECT_EQ("orl/3", Show(str));
    str += static_cast<const char*>(str);
    EXPECT_EQ("orlorl/6", Show(str));
    str += str;
    EXPECT_EQ("orlorlorlorl/12", Show(str));
    str.Format("<%s>", static_cast<const char*>(str));
    EXPECT_EQ("<orlorlorlorl>/14", Show(str));

    CTBString strSum;
    strSum += "";
    EXPECT_EQ("-/0", Show(strSum));
    strSum += "ab";
    strSum = strSum + "cd" + CTBString("ef");
    EXPECT_EQ("abcdef/6", Show(strSum));
    CTBString strPadded("ab", 4);
    strPadded += "c";                            // joins at the end of the text
    EXPECT_EQ("abc/3", Show(strPadded));
}

TEST(TBString, FormatIsCutAt1023Characters)
{
    CTBString str;
    str.Format("%d|%s|%.2f", 42, "KWD", 1.5);
    EXPECT_EQ("42|KWD|1.50/11", Show(str));
    str.Format("%s", std::string(3000, 'x').c_str());
    EXPECT_EQ(std::string(1023, 'x') + "/1023", Show(str));
    str.Format("%s%s", std::string(1020, 'a').c_str(), "bcdef");
    EXPECT_EQ(std::string(1020, 'a') + "bcd", std::string(str));
}

TEST(TBString, ComparisonsAndSearches)
{
    CTBString str("a,b,,c");
    EXPECT_TRUE(str == "a,b,,c" && "a,b,,c" == str && str == CTBString("a,b,,c"));
    EXPECT_TRUE(str != "a,b,," && str != nullptr);

    EXPECT_EQ(1, str.Find(','));
    EXPECT_EQ(3, str.Find(',', 2));
    EXPECT_EQ(-1, str.Find(',', 5));
    EXPECT_EQ(-1, str.Find(',', 1000));
    EXPECT_EQ(-1, CTBString().Find('a'));
    EXPECT_EQ(3, str.Find(",,"));
    EXPECT_EQ(0, str.Find(""));
    EXPECT_EQ(-1, str.Find("c,"));
    EXPECT_TRUE(str.HasChar('\0'));
    EXPECT_FALSE(CTBString().HasChar('\0'));
    EXPECT_EQ(nullptr, FindStringMB(nullptr, "a"));

    EXPECT_TRUE(CTBString("+-12").IsNumber());
    EXPECT_TRUE(CTBString().IsNumber());
    EXPECT_FALSE(CTBString("1.5").IsNumber());
    EXPECT_FALSE(CTBString("+12").IsDigits());
    EXPECT_TRUE(CTBString("").IsDigits());
    EXPECT_TRUE(CTBString(" \t ").IsBlank());
    EXPECT_FALSE(CTBString(" x\n").IsBlank());
}

TEST(TBString, CuttingInPlaceAndCopies)
{
    CTBString str("abc");
    str.MakeLeft(3);
    str.MakeLeft(10);
    EXPECT_EQ("abc/3", Show(str));
    str = "abcdef";
    str.MakeRight(2);
    EXPECT_EQ("ef/2", Show(str));
    CTBString strNone;
    strNone.MakeLeft(0);
    strNone.MakeUpper();
    EXPECT_EQ("-/0", Show(strNone));

    CTBString strSrc("abcdef");
    EXPECT_EQ("abc/3", Show(strSrc.Left(3)));
    EXPECT_EQ("def/3", Show(strSrc.Right(3)));
    EXPECT_EQ("abcdef/6", Show(strSrc));
    CTBString strAbc("abc");
    EXPECT_TRUE(strAbc.Mid(3, 2) == "");
    EXPECT_EQ("-/0", Show(strAbc.Mid(4, 1)));
    EXPECT_EQ("bc/2", Show(strAbc.Mid(1, 10)));

    str = "ab \t ";
    str.TrimRight(" \t");
    EXPECT_EQ("ab/2", Show(str));
    str = "   ";
    str.TrimRight(" ");
    EXPECT_EQ("-/0", Show(str));
    str = "ab  ";
    str.TrimRight("");
    EXPECT_EQ("ab  /4", Show(str));

    char* psz = strSrc.DuplicateN(8);
    EXPECT_EQ(0, memcmp(psz, "abcdef\0\0\0", 9));
    delete[] psz;
    EXPECT_EQ(nullptr, CTBString().Duplicate());
}

TEST(TBString, CaseFollowsTheCodePage)
{
    // Letters beyond ASCII follow the page's own table, whatever the C locale says.
    CTBString str("Caf\xe9 12-b");
    str.MakeUpper();
    EXPECT_EQ("CAF\xc9 12-B", std::string(str));
    str.MakeLower();
    EXPECT_EQ("caf\xe9 12-b", std::string(str));
}

TEST(TBString, SplitTokenCutsOneTokenAtATime)
{
    static const struct { const char *pszText, *pszToken, *pszRest; } cases[] = {
        {"ab,cd,ef", "ab", "cd,ef"}, {"ab,,cd", "ab", ",cd"}, {",ab,cd", "ab", "cd"},
        {",,,", "", ""}, {"ab", "ab", ""}, {"ab,", "ab", ""}, {"", "", ""},
    };
    for (const auto& c : cases) {
        CTBString str(c.pszText);
        CTBString strRest("stale");
        str.SplitToken(",", strRest);
        EXPECT_EQ(c.pszToken, std::string(str)) << c.pszText;
        EXPECT_EQ(c.pszRest, std::string(strRest)) << c.pszText;
    }
    CTBString strNone, strRest("stale");
    strNone.SplitToken(",", strRest);
    EXPECT_EQ("-/0", Show(strNone));
    EXPECT_TRUE(strRest == "");

    // Two lists walked in turn: nothing of one is remembered into the other.
    CTBString strList("a b;c"), strOther("x;y");
    strList.SplitToken(" ;", strRest);
    strOther.SplitToken(";", strOther);
    strList = strRest;
    strList.SplitToken(" ;", strRest);
    EXPECT_EQ("b c", std::string(strList) + " " + std::string(strRest));
}

TEST(TBString, ReplaceTextsAndCharacters)
{
    CTBString strOut = CTBString("a\nb").Replace("\n", "\\n");
    EXPECT_EQ("a\\nb/4", Show(strOut));
    EXPECT_EQ("a\nb/3", Show(strOut.Replace("\\n", "\n")));
    EXPECT_EQ("ba/2", Show(CTBString("aaa").Replace("aa", "b")));
    EXPECT_EQ("-/0", Show(CTBString("aa").Replace("a", "")));
    EXPECT_EQ("xyz/3", Show(CTBString("xyz").Replace("", "r")));
    EXPECT_EQ("a_b_c/5", Show(CTBString("a b c").ReplaceChar(' ', '_')));
}

TEST(TBString, ResourceStrings)
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
    EXPECT_FALSE(str.LoadString(hModule, 123));
    EXPECT_EQ("SID 123", std::string(str));
    str.LoadStringOrEmpty(hModule, 123);
    EXPECT_TRUE(str == "");

    HINSTANCE hOld = TbGetResourceModule();
    TbSetResourceModule(hModule);
    EXPECT_TRUE(CTBString().LoadAppString(900) == "Quotes");
    EXPECT_TRUE(CTBString().LoadAppString(65000) == "");
    TbSetResourceModule(hOld);

    FreeLibrary(hModule);
    unlink(strPath.c_str());
    rmdir(szDir);
}
