// Code pages 1252 and 1256: conversions against the C library's iconv, classes and case.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>
#include <string>

#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Kernel.h"

namespace {
// Restores the active page, so each test starts from the process's default.
struct CActivePage {
    explicit CActivePage(UINT uPage) { TbSetActiveCodePage(uPage); }
    ~CActivePage() { TbSetActiveCodePage(1252); }
};

// One byte through iconv, an implementation independent of ours; empty when it has no mapping.
std::string IconvToUtf8(const char* pszPage, BYTE b)
{
    iconv_t cd = iconv_open("UTF-8", pszPage);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return "(no iconv)";
    char in[1] = {static_cast<char>(b)};
    char out[8] = {};
    char* pIn = in;
    char* pOut = out;
    size_t nIn = 1, nOut = sizeof(out);
    const size_t r = iconv(cd, &pIn, &nIn, &pOut, &nOut);
    iconv_close(cd);
    return r == static_cast<size_t>(-1) ? std::string() : std::string(out, sizeof(out) - nOut);
}
}  // namespace

TEST(CodePage, EveryByteMatchesIconvAndSurvivesTheRoundTrip)
{
    for (UINT uPage : {1252u, 1256u}) {
        const char* pszIconv = uPage == 1252 ? "CP1252" : "CP1256";
        for (int b = 0; b < 256; ++b) {
            const std::string strByte(1, static_cast<char>(b));
            const std::string strUtf8 = TbCodePageToUtf8(strByte, uPage);
            const std::string strExpected = IconvToUtf8(pszIconv, static_cast<BYTE>(b));
            // iconv leaves the five holes of 1252 undefined; the original gives them the C1 controls.
            if (strExpected.empty() && uPage == 1252)
                EXPECT_EQ(std::string({'\xC2', static_cast<char>(b)}), strUtf8) << b;
            else
                EXPECT_EQ(strExpected, strUtf8) << "page " << uPage << " byte " << b;
            EXPECT_EQ(strByte, TbUtf8ToCodePage(strUtf8, uPage)) << "page " << uPage << " byte " << b;

            WCHAR wch[2] = {};
            ASSERT_EQ(1, MultiByteToWideChar(uPage, 0, strByte.data(), 1, wch, 2));
            char chBack[2] = {};
            BOOL bDefault = TRUE;
            ASSERT_EQ(1, WideCharToMultiByte(uPage, 0, wch, 1, chBack, 2, nullptr, &bDefault));
            EXPECT_EQ(static_cast<char>(b), chBack[0]);
            EXPECT_FALSE(bDefault);
        }
    }
}

TEST(CodePage, KnownCharactersAndTheFallbacks)
{
    EXPECT_EQ("\xE2\x82\xAC", TbCodePageToUtf8("\x80", 1252));          // euro in both pages
    EXPECT_EQ("\xE2\x82\xAC", TbCodePageToUtf8("\x80", 1256));
    EXPECT_EQ("\xD8\xA7", TbCodePageToUtf8("\xC7", 1256));              // alef
    EXPECT_EQ("\xC3\x87", TbCodePageToUtf8("\xC7", 1252));              // C cedilla
    EXPECT_EQ("\xDB\x92", TbCodePageToUtf8("\xFF", 1256));              // yeh barree
    // Characters a page lacks become '?', and so does malformed UTF-8, one per bad byte.
    EXPECT_EQ("a?b", TbUtf8ToCodePage("a\xD0\x96" "b", 1252));          // Cyrillic zhe
    EXPECT_EQ("?", TbUtf8ToCodePage("\xD8\xA7", 1252));                 // alef has no place in 1252
    EXPECT_EQ("??x", TbUtf8ToCodePage("\xC0\xAF" "x", 1252));           // overlong slash
    EXPECT_EQ("??", TbUtf8ToCodePage("\xE2\x82", 1252));                // cut short at the end
    EXPECT_EQ("???", TbUtf8ToCodePage("\xED\xA0\x80", 1252));           // a surrogate
    // CP_ACP follows the active page.
    {
        CActivePage page(1256);
        EXPECT_EQ(1256u, GetACP());
        EXPECT_EQ("\xD8\xA7", TbCodePageToUtf8("\xC7"));
    }
    EXPECT_EQ("\xC3\x87", TbCodePageToUtf8("\xC7"));
    EXPECT_FALSE(TbSetActiveCodePage(437));
    EXPECT_EQ(1252u, GetACP());
}

TEST(CodePage, WideConversionsFollowTheOriginalBufferRules)
{
    // -1 counts the terminator; a size query writes nothing.
    EXPECT_EQ(4, MultiByteToWideChar(1252, 0, "abc", -1, nullptr, 0));
    WCHAR wsz[4];
    EXPECT_EQ(4, MultiByteToWideChar(1252, 0, "abc", -1, wsz, 4));
    EXPECT_EQ(L'\0', wsz[3]);
    SetLastError(0);
    EXPECT_EQ(0, MultiByteToWideChar(1252, 0, "abc", -1, wsz, 3));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(0, MultiByteToWideChar(950, 0, "abc", -1, wsz, 4));       // a page we do not have

    const WCHAR wszArabic[] = {0x0628, 0x0646, 0x0643, 0x0416, 0};      // "bank" and a Cyrillic letter
    char sz[8] = {};
    BOOL bDefault = FALSE;
    EXPECT_EQ(5, WideCharToMultiByte(1256, 0, wszArabic, -1, sz, sizeof(sz), "*", &bDefault));
    EXPECT_STREQ("\xC8\xE4\xDF*", sz);
    EXPECT_TRUE(bDefault);
    EXPECT_EQ(0, WideCharToMultiByte(1256, 0, wszArabic, -1, sz, 3, nullptr, nullptr));

    // UTF-8 both ways, beyond the basic plane too.
    const char* pszUtf8 = "\xD8\xA8\xF0\x9F\x98\x80";
    EXPECT_EQ(2, MultiByteToWideChar(CP_UTF8, 0, pszUtf8, 6, wsz, 4));
    EXPECT_EQ(0x0628, static_cast<int>(wsz[0]));
    EXPECT_EQ(0x1F600, static_cast<int>(wsz[1]));
    EXPECT_EQ(6, WideCharToMultiByte(CP_UTF8, 0, wsz, 2, sz, sizeof(sz), nullptr, nullptr));
    EXPECT_EQ(0, std::memcmp(sz, pszUtf8, 6));
}

TEST(CodePage, ClassesAndCaseOfEachPage)
{
    {
        CActivePage page(1252);
        EXPECT_TRUE(IsCharAlphaA('\xE9'));                      // e acute
        EXPECT_TRUE(IsCharLowerA('\xE9'));
        EXPECT_EQ(0xC9, TbToUpper(0xE9));
        EXPECT_EQ(0xC9, TbToUpper('\xE9'));                     // a signed char names the same byte
        EXPECT_EQ(0x9F, TbToUpper(0xFF));                       // y diaeresis has its capital at 0x9F
        EXPECT_EQ(0x8A, TbToUpper(0x9A));                       // s caron
        EXPECT_EQ(0xDF, TbToUpper(0xDF));                       // sharp s has no one-byte capital
        EXPECT_EQ(0xB5, TbToUpper(0xB5));                       // micro sign neither
        EXPECT_EQ(-1, TbToUpper(-1));
        EXPECT_FALSE(IsCharAlphaA('\xD7'));                     // multiplication sign
        EXPECT_FALSE(IsCharAlphaNumericA('\xB2'));              // superscript two is no digit
        EXPECT_TRUE(IsCharAlphaNumericA('7'));
        char sz[] = "Caf\xE9 \xC6gir";
        EXPECT_STREQ("CAF\xC9 \xC6GIR", CharUpperA(sz));
        EXPECT_STREQ("caf\xE9 \xE6gir", CharLowerA(sz));
        EXPECT_EQ('A', static_cast<int>(reinterpret_cast<ULONG_PTR>(CharUpperA(reinterpret_cast<LPSTR>(ULONG_PTR('a'))))));
    }
    {
        CActivePage page(1256);
        const std::string strAlef = TbUtf8ToCodePage("\xD8\xA7", 1256);
        EXPECT_TRUE(IsCharAlphaA(strAlef[0]));                  // Arabic letters are letters without case
        EXPECT_FALSE(IsCharUpperA(strAlef[0]));
        EXPECT_FALSE(IsCharLowerA(strAlef[0]));
        EXPECT_EQ(0xC7, TbToUpper(0xC7));
        EXPECT_EQ(0xC7, TbToLower(0xC7));
        EXPECT_FALSE(IsCharAlphaA('\xF3'));                     // fatha is a mark, not a letter
        EXPECT_EQ(0xE9, TbToUpper(0xE9));                       // e acute: 1256 has no capital for it
        EXPECT_EQ(0x8C, TbToUpper(0x9C));                       // oe ligature has one
        EXPECT_EQ('Q', TbToUpper('q'));
        char sz[] = "Ab\xC7";
        EXPECT_EQ(3u, CharUpperBuffA(sz, 3));
        EXPECT_STREQ("AB\xC7", sz);
    }
    for (int ch = -128; ch < 256; ++ch) {
        EXPECT_EQ(ch >= '0' && ch <= '9', TbIsDigit(ch) != 0) << ch;
        EXPECT_EQ(ch == ' ' || (ch >= 9 && ch <= 13), TbIsSpace(ch) != 0) << ch;
    }
}

TEST(CodePage, SingleByteSteppingAndCopies)
{
    const char* psz = "ab";
    EXPECT_EQ(psz + 1, CharNextA(psz));
    EXPECT_EQ(psz + 2, CharNextA(psz + 2));                     // never past the terminator
    EXPECT_EQ(psz, CharPrevA(psz, psz));                        // never before the start
    EXPECT_EQ(psz + 1, CharPrevA(psz, psz + 2));
    EXPECT_FALSE(IsDBCSLeadByte(0xC7));
    char sz[4] = "xyz";
    EXPECT_STREQ("ab", lstrcpynA(sz, "abcdef", 3));
    EXPECT_STREQ("", lstrcpynA(sz, nullptr, 3));
    EXPECT_EQ(0, lstrlenA(nullptr));
    EXPECT_EQ(2, lstrlenA("ab"));
}
