#include <climits>
#include <cstdio>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "platform/mfc/String.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Resources.h"

TEST(CString, ConstructsAssignsAndConcatenates)
{
    EXPECT_STREQ("", CString(static_cast<LPCSTR>(nullptr)));
    EXPECT_STREQ("ab", CString("ab\0cd", 5));      // the counted form stops at a NUL
    EXPECT_STREQ("", CString("abc", -2));
    EXPECT_STREQ("xxx", CString('x', 3));

    CString str("KSE");
    str += '|';
    str += str;                                     // appending itself
    str = str + "END" + CString("!");
    EXPECT_STREQ("KSE|KSE|END!", str);
    str = str.GetString() + 4;                      // assigning a tail of its own text
    EXPECT_STREQ("KSE|END!", str);
    EXPECT_EQ(8, str.GetLength());
    str.Empty();
    EXPECT_TRUE(str.IsEmpty());

    CString strA("ABC"), strB("ABD");
    EXPECT_TRUE(strA < strB && strB > "ABC" && "ABC" == strA && strA != strB && strA <= "ABC");
    EXPECT_LT(CString("Z").Compare("a"), 0);        // byte order: capitals first
    EXPECT_EQ(0, CString("kwd").CompareNoCase("KWD"));
    EXPECT_GT(CString("b").Collate("A"), 0);        // the locale's order: case second
    EXPECT_EQ(0, CString("usd").CollateNoCase("USD"));
}

TEST(CString, PartsAreClampedToTheText)
{
    const CString str("ABCDEF");
    EXPECT_STREQ("ABC", str.Left(3));
    EXPECT_STREQ("", str.Left(-1));
    EXPECT_STREQ("ABCDEF", str.Left(INT_MAX));
    EXPECT_STREQ("DEF", str.Right(3));
    EXPECT_STREQ("ABCDEF", str.Right(99));
    EXPECT_STREQ("CD", str.Mid(2, 2));
    EXPECT_STREQ("CDEF", str.Mid(2));
    EXPECT_STREQ("AB", str.Mid(-3, 2));
    EXPECT_STREQ("EF", str.Mid(4, INT_MAX));        // no wrap round in start + count
    EXPECT_STREQ("", str.Mid(9, 2));
    EXPECT_EQ('F', str[5]);
    EXPECT_EQ('\0', str.GetAt(6));
    EXPECT_EQ('\0', str.GetAt(-1));

    CString strEdit(str);
    strEdit.SetAt(0, 'a');
    strEdit.SetAt(6, 'x');                          // outside: nothing happens
    strEdit.SetAt(-1, 'x');
    EXPECT_STREQ("aBCDEF", strEdit);
    EXPECT_STREQ("ABCDEF", str);                    // copies are independent
}

TEST(CString, FindsSpansAndTokens)
{
    const CString str("GS|1|XC|KWD|");
    EXPECT_EQ(2, str.Find('|'));
    EXPECT_EQ(4, str.Find('|', 3));
    EXPECT_EQ(-1, str.Find('|', -1));
    EXPECT_EQ(-1, str.Find('|', 12));
    EXPECT_EQ(5, str.Find("XC"));
    EXPECT_EQ(-1, str.Find("XC", 6));
    EXPECT_EQ(12, str.Find("", 12));
    EXPECT_EQ(-1, str.Find("|", 13));
    EXPECT_EQ(-1, str.Find(static_cast<LPCSTR>(nullptr)));
    EXPECT_EQ(11, str.ReverseFind('|'));
    EXPECT_EQ(-1, str.ReverseFind('#'));
    EXPECT_EQ(3, str.FindOneOf("1X"));
    EXPECT_STREQ("GS", str.SpanExcluding("|"));
    EXPECT_STREQ("12.5", CString("12.5 KWD").SpanIncluding("0123456789."));
    EXPECT_STREQ("", CString("x").SpanIncluding(""));

    // Tokens skip runs of delimiters; the walk ends with "" and -1.
    const CString strLine("%First  Second#Third#");
    std::vector<std::string> tokens;
    int nPos = 0;
    for (CString strToken = strLine.Tokenize("% #", nPos); !strToken.IsEmpty(); strToken = strLine.Tokenize("% #", nPos))
        tokens.push_back(strToken.GetString());
    EXPECT_EQ((std::vector<std::string>{"First", "Second", "Third"}), tokens);
    EXPECT_EQ(-1, nPos);
    nPos = 99;
    EXPECT_STREQ("", strLine.Tokenize("#", nPos));
    EXPECT_EQ(-1, nPos);
    nPos = 1;
    EXPECT_STREQ("First  Second#Third#", strLine.Tokenize("", nPos));
    EXPECT_EQ(-1, nPos);
}

TEST(CString, EditsInPlace)
{
    CString str("1,234,567");
    EXPECT_EQ(2, str.Remove(','));
    EXPECT_STREQ("1234567", str);
    EXPECT_EQ(9, str.Insert(0, "$ "));
    EXPECT_EQ(10, str.Insert(99, '!'));             // past the end: appended
    EXPECT_STREQ("$ 1234567!", str);
    EXPECT_EQ(8, str.Delete(0, 2));
    EXPECT_EQ(8, str.Delete(20, 2));
    EXPECT_EQ(5, str.Delete(5, 99));
    EXPECT_STREQ("12345", str);

    str = "a-b-c";
    EXPECT_EQ(2, str.Replace('-', '+'));
    EXPECT_EQ(2, str.Replace("+", "<+>"));          // the replacement contains the old text
    EXPECT_STREQ("a<+>b<+>c", str);
    EXPECT_EQ(0, str.Replace("", "x"));
    EXPECT_EQ(2, str.Replace("<+>", nullptr));
    EXPECT_STREQ("abc", str);
    EXPECT_EQ(1, str.Replace(str.GetString(), "abcabc"));   // both texts from our own buffer
    EXPECT_STREQ("abcabc", str);

    str = " \t KWD 1.5 \r\n";
    EXPECT_STREQ("KWD 1.5", CString(str).Trim());
    EXPECT_STREQ("KWD 1.5 \r\n", CString(str).TrimLeft());
    EXPECT_STREQ(" \t KWD 1.5", CString(str).TrimRight());
    EXPECT_STREQ("12.5", CString("0012.500").TrimLeft('0').TrimRight("0"));
    EXPECT_STREQ("", CString("----").Trim('-'));
}

TEST(CString, CaseFollowsTheActiveCodePage)
{
    // In 1252 the accented letters have capitals (0xFF's is 0x9F); in 1256 the Arabic
    // letters have no case at all. The machine's locale plays no part.
    ASSERT_TRUE(TbSetActiveCodePage(1252));
    CString str("usd \xE0\xE9\xFF");
    str.MakeUpper();
    EXPECT_STREQ("USD \xC0\xC9\x9F", str);
    EXPECT_STREQ("usd \xE0\xE9\xFF", CString(str).MakeLower());
    EXPECT_EQ(0, CString("\xC0" "BC").CompareNoCase("\xE0" "bc"));

    ASSERT_TRUE(TbSetActiveCodePage(1256));
    CString strArabic("kwd \xC7\xE1\xDF");
    strArabic.MakeUpper();
    EXPECT_STREQ("KWD \xC7\xE1\xDF", strArabic);
    ASSERT_TRUE(TbSetActiveCodePage(1252));
}

TEST(CString, FormatsTextsOfAnyLength)
{
    CString str;
    str.Format("%c%s|XC||%d", '&', "OB", 42);
    EXPECT_STREQ("&OB|XC||42", str);
    str.AppendFormat("|%.2f", 1.005e3);
    EXPECT_STREQ("&OB|XC||42|1005.00", str);

    // Far past any fixed buffer the original had, and with this string as an argument.
    const std::string strLong(5000, 'x');
    str.Format("[%s][%s]", strLong.c_str(), static_cast<LPCSTR>(str));
    EXPECT_EQ(5000 + 18 + 4, str.GetLength());
    EXPECT_EQ("[" + strLong + "][&OB|XC||42|1005.00]", std::string(str));
    str.AppendFormat("%s", strLong.c_str());
    EXPECT_EQ(10022, str.GetLength());
    str.Format("%s", "");
    EXPECT_TRUE(str.IsEmpty());
}

TEST(CString, FormatMessageInsertsArgumentsByNumber)
{
    CString str;
    str.FormatMessage("%2 before %1", "first", CString("second"));
    EXPECT_STREQ("second before first", str);
    str.FormatMessage("%1!d! x %2!.2f! = %3!-6s!|%1!d!", 3, 1.5, "4.5");
    EXPECT_STREQ("3 x 1.50 = 4.5   |3", str);
    str.FormatMessage("%1!I64d! at 100%%%n", 12345678901LL);
    EXPECT_STREQ("12345678901 at 100%\r\n", str);
    str.FormatMessage("%1%0 not shown", "shown");
    EXPECT_STREQ("shown", str);
    // A gap in the numbers still takes its argument's slot.
    str.FormatMessage("%1 and %3", "a", "b", "c");
    EXPECT_STREQ("a and c", str);
    // A text naming more inserts than were passed (a translation gone wrong) keeps them as written.
    str.FormatMessage("%1 and %3!d!", "a");
    EXPECT_STREQ("a and %3!d!", str);
}

TEST(CString, BufferAccessForCFunctions)
{
    CString str("old text");
    char* pszBuffer = str.GetBuffer(31);
    std::snprintf(pszBuffer, 32, "%s-%d", "KSE", 7);
    str.ReleaseBuffer();
    EXPECT_STREQ("KSE-7", str);
    EXPECT_EQ(5, str.GetLength());

    pszBuffer = str.GetBufferSetLength(3);
    pszBuffer[2] = 'Z';
    str.ReleaseBuffer(3);
    EXPECT_STREQ("KSZ", str);
    str.GetBuffer(10);
    str.ReleaseBuffer(99);                          // more than the buffer: cut to it
    EXPECT_EQ(10, str.GetLength());
    str.ReleaseBuffer(2);
    EXPECT_STREQ("KS", str);
}

TEST(CString, LoadsResourceStrings)
{
    HMODULE hModule = LoadLibraryA(TB_SOURCE_DIR "/tests/platform/mfc/data/mfctest_1252.rc");
    ASSERT_NE(nullptr, hModule);
    HINSTANCE hOld = TbGetResourceModule();
    TbSetResourceModule(hModule);

    CString str("kept");
    EXPECT_FALSE(str.LoadString(999));
    EXPECT_STREQ("kept", str);                      // a missing id leaves the string alone
    EXPECT_TRUE(str.LoadString(104));               // longer than the first buffer tried
    EXPECT_EQ(280, str.GetLength());
    EXPECT_TRUE(str.LoadString(hModule, 105));
    EXPECT_STREQ("Prix \xE9", str);                 // converted to code page 1252
    EXPECT_STREQ("Ab", CString(MAKEINTRESOURCE(103)));
    const CString strMarket("KWD"), strTicker("AAPL");
    str.Format(100U, 7, strMarket);                 // a CString passes as its text
    EXPECT_STREQ("Order 7 of KWD", str);
    str.FormatMessage(101U, strTicker, 12);
    EXPECT_STREQ("AAPL is already in the table (12 rows)", str);

    TbSetResourceModule(hOld);
    FreeLibrary(hModule);
}
