// The word sort behind lstrcmpA and lstrcmpiA: sorted lists of tricky words in both pages, and
// the order laws a table sort relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/win/kernel/CodePage.h"

namespace {
struct CActivePage {
    explicit CActivePage(UINT uPage) { TbSetActiveCodePage(uPage); }
    ~CActivePage() { TbSetActiveCodePage(1252); }
};

std::string Join(const std::vector<std::string>& words)
{
    std::string str;
    for (const std::string& w : words)
        str += (str.empty() ? "" : "|") + w;
    return str;
}

// Every earlier word sorts strictly before every later one, both ways round, and a shuffled
// copy sorts back into the same order.
void ExpectStrictOrder(const std::vector<std::string>& words, int (*pfnCompare)(LPCSTR, LPCSTR))
{
    for (size_t i = 0; i < words.size(); ++i) {
        EXPECT_EQ(0, pfnCompare(words[i].c_str(), words[i].c_str()));
        for (size_t j = i + 1; j < words.size(); ++j) {
            EXPECT_LT(pfnCompare(words[i].c_str(), words[j].c_str()), 0) << words[i] << " < " << words[j];
            EXPECT_GT(pfnCompare(words[j].c_str(), words[i].c_str()), 0) << words[j] << " > " << words[i];
        }
    }
    std::vector<std::string> shuffled = words;
    std::mt19937 rng(11);
    std::shuffle(shuffled.begin(), shuffled.end(), rng);
    std::sort(shuffled.begin(), shuffled.end(),
              [&](const std::string& a, const std::string& b) { return pfnCompare(a.c_str(), b.c_str()) < 0; });
    EXPECT_EQ(Join(words), Join(shuffled));
}

std::vector<std::string> InPage(const std::vector<std::string>& utf8Words, UINT uPage)
{
    std::vector<std::string> words;
    for (const std::string& w : utf8Words)
        words.push_back(TbUtf8ToCodePage(w, uPage));
    return words;
}
}  // namespace

TEST(Collation, EnglishWordSort)
{
    CActivePage page(1252);
    // Symbols before digits before letters; digits as characters, not numbers; case-insensitive
    // first, then accents, then lower before upper; hyphens and apostrophes only break ties.
    ExpectStrictOrder(InPage({
        "", " ", "!", "#", "$", "&", "(", "*", ",", ".", "/", ":", "?", "@", "[", "^", "_", "{", "~",
        "+", "<", "=", ">", "£",
        "0", "1", "10", "1a", "2", "9z",
        "a", "A", "á", "Á", "a b", "ab", "a-b", "aB", "Ab", "AB", "abc",
        "ae", "Ae", "AE", "æ", "Æ", "af",
        "can", "cant", "can't", "Cant", "canto",
        "coop", "co-op", "coop-", "Coop", "CO-OP", "cop",
        "cote", "coté", "côte", "côté", "cotes",
        "d", "ð", "dz",
        "e", "é", "ê", "ë",
        "resume", "Resume", "résumé", "Résumé", "resumes",
        "ss", "ß", "st",
        "z", "Z", "þ", "Þ",
    }, 1252), lstrcmpA);
}

TEST(Collation, ArabicAfterLatinInAlphabetOrder)
{
    CActivePage page(1256);
    ExpectStrictOrder(InPage({
        "9", "a", "é", "Z", "zz",
        "ء", "آ", "أ", "ؤ", "إ", "ئ", "ا", "ابن",
        "ب", "بَ", "بِ", "با", "بنك", "بيت",
        "پ", "ة", "ت", "تجارة", "ث", "ج", "چ", "ح", "خ", "د", "ذ", "ر", "ز", "ژ",
        "س", "ش", "ص", "ض", "ط", "ظ", "ع", "غ", "ف", "ق", "ك", "ک", "گ",
        "ل", "م", "ن", "ه", "و", "ى", "ي", "ے",
    }, 1256), lstrcmpA);
    // Tatweel stretches a word without changing it; the joiners and direction marks neither.
    EXPECT_EQ(0, lstrcmpA(TbUtf8ToCodePage("بـنك", 1256).c_str(), TbUtf8ToCodePage("بنك", 1256).c_str()));
    EXPECT_EQ(0, lstrcmpA(TbUtf8ToCodePage("\xE2\x80\x8F" "بنك", 1256).c_str(), TbUtf8ToCodePage("بنك", 1256).c_str()));
    // A vowel mark after tatweel still weighs on the letter before it.
    EXPECT_EQ(0, lstrcmpA(TbUtf8ToCodePage("بـَ", 1256).c_str(), TbUtf8ToCodePage("بَ", 1256).c_str()));
}

TEST(Collation, IgnoringCaseKeepsAccentsAndHyphens)
{
    CActivePage page(1252);
    EXPECT_EQ(0, lstrcmpiA("Kuwait", "KUWAIT"));
    EXPECT_EQ(0, lstrcmpiA("\xC6gir", "\xE6GIR"));
    EXPECT_LT(lstrcmpiA("RESUME", "r\xE9sum\xE9"), 0);
    EXPECT_LT(lstrcmpiA("COOP", "co-op"), 0);
    EXPECT_LT(lstrcmpiA("co-op", "COP"), 0);
    EXPECT_LT(lstrcmpiA("Apple", "banana"), 0);
    EXPECT_LT(lstrcmpA("apple", "Apple"), 0);           // the case-sensitive form still tells them apart
    ExpectStrictOrder({"a", "B", "c", "D"}, lstrcmpiA);
}

TEST(Collation, NullTextsAndIgnorables)
{
    EXPECT_EQ(0, lstrcmpA(nullptr, nullptr));
    EXPECT_LT(lstrcmpA(nullptr, ""), 0);
    EXPECT_GT(lstrcmpA("", nullptr), 0);
    EXPECT_LT(lstrcmpiA(nullptr, "a"), 0);
    EXPECT_LT(lstrcmpA("", "a"), 0);
    EXPECT_LT(lstrcmpA("", "-"), 0);                    // a lone hyphen is still more than nothing
    EXPECT_LT(lstrcmpA("-", "!"), 0);                   // and weighs less than any symbol
    EXPECT_EQ(0, lstrcmpA("co\xADop", "coop"));         // a soft hyphen is invisible
    EXPECT_EQ(0, lstrcmpA("a\x01" "b", "ab"));          // and so are control characters
    // The results are the C library's signs, as callers test them.
    EXPECT_EQ(-1, lstrcmpA("a", "b"));
    EXPECT_EQ(1, lstrcmpA("b", "a"));
}

TEST(Collation, RandomTextsSortConsistently)
{
    // A sort needs a strict weak order: check it over texts built from the tricky characters.
    for (UINT uPage : {1252u, 1256u}) {
        CActivePage page(uPage);
        const std::string alphabet = uPage == 1252 ? std::string("aAbB-' 1\xE9\xC9\xE6\xDF\xAD.")
                                                   : std::string("aA-' 1\xC7\xC8\xF3\xF8\xDC\xE9.");
        std::mt19937 rng(5 + uPage);
        std::vector<std::string> texts;
        for (int n = 0; n < 300; ++n) {
            std::string s;
            const int nLen = static_cast<int>(rng() % 5);
            for (int k = 0; k < nLen; ++k)
                s += alphabet[rng() % alphabet.size()];
            texts.push_back(s);
        }
        std::stable_sort(texts.begin(), texts.end(),
                         [](const std::string& a, const std::string& b) { return lstrcmpA(a.c_str(), b.c_str()) < 0; });
        for (size_t i = 0; i < texts.size(); ++i) {
            for (size_t j = i + 1; j < texts.size(); ++j) {
                const int n = lstrcmpA(texts[i].c_str(), texts[j].c_str());
                ASSERT_LE(n, 0) << "page " << uPage << ": '" << texts[i] << "' after '" << texts[j] << "'";
                ASSERT_EQ(-n, lstrcmpA(texts[j].c_str(), texts[i].c_str()));
            }
        }
    }
}
