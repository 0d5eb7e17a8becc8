#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/base/Dictionary.h"
#include "platform/win/kernel/Resources.h"

namespace {

// A dictionary file in a private folder, removed with the fixture.
class CDictionaryFile
{
public:
    explicit CDictionaryFile(const std::string& strContent)
    {
        char szDir[] = "/tmp/dictionaryXXXXXX";
        if (mkdtemp(szDir) != nullptr)
            m_strDir = szDir;
        m_strPath = m_strDir + "/dictionary.txt";
        FILE* pFile = fopen(m_strPath.c_str(), "wb");
        if (pFile != nullptr) {
            fwrite(strContent.data(), 1, strContent.size(), pFile);
            fclose(pFile);
        }
    }
    ~CDictionaryFile()
    {
        remove(m_strPath.c_str());
        rmdir(m_strDir.c_str());
    }
    const char* Path() const { return m_strPath.c_str(); }

private:
    std::string m_strDir;
    std::string m_strPath;
};

std::string Translate(CDictionary& dict, const char* pszText, int nDirection = DICT_LEFT_TO_RIGHT)
{
    return std::string(dict.Translate(pszText, nDirection));
}

}  // namespace

TEST(Dictionary, PlainPairsBothWays)
{
    CDictionary dict;
    EXPECT_EQ("Open", Translate(dict, "Open"));     // not loaded: texts come back as they are
    EXPECT_FALSE(dict.LoadDictionaryFile("/nonexistent/dictionary.txt"));
    EXPECT_FALSE(dict.IsLoaded());

    CDictionaryFile file("Open|Ouvrir\n"
                         "\n"
                         "|skipped\n"
                         "no bar here\n"
                         "a|b|c\n"
                         "\\(x\\)|(y)\n"
                         "Save\\|Enregistrer\n");
    ASSERT_TRUE(dict.LoadDictionaryFile(file.Path()));
    EXPECT_TRUE(dict.IsLoaded());
    EXPECT_EQ(4, dict.GetEntryCount());
    EXPECT_EQ("Ouvrir", Translate(dict, "Open"));
    EXPECT_EQ("Open", Translate(dict, "Ouvrir", DICT_RIGHT_TO_LEFT));
    EXPECT_EQ("open", Translate(dict, "open"));     // case-sensitive
    EXPECT_EQ("Ouvrir", Translate(dict, "Ouvrir")); // only the right text answers direction 0
    EXPECT_EQ("b|c", Translate(dict, "a"));
    EXPECT_EQ("a", Translate(dict, "b|c", DICT_RIGHT_TO_LEFT));
    // Escaped parentheses make no pattern; backslashes are dropped from both texts.
    EXPECT_EQ("(y)", Translate(dict, "(x)"));
    EXPECT_EQ("Enregistrer", Translate(dict, "Save"));
    EXPECT_EQ("", Translate(dict, ""));
}

TEST(Dictionary, PatternPairsCarryTheirParts)
{
    CDictionaryFile file("Order (.*) filled|Ordre (.*) rempli\r\n"
                         "Order 17 filled|Ordre dix-sept rempli\r\n"
                         "(.*) of (.*) shares|(.*) actions sur (.*)\r\n"
                         "Total (sum)|Somme\r\n"
                         "Price ([0-9]+)|& \\& (prix)\r\n"
                         "Bad (*)|Mauvais (*)\r\n");
    CDictionary dict;
    ASSERT_TRUE(dict.LoadDictionaryFile(file.Path()));
    EXPECT_EQ("Ordre 42 rempli", Translate(dict, "Order 42 filled"));
    EXPECT_EQ("Order 42 filled", Translate(dict, "Ordre 42 rempli", DICT_RIGHT_TO_LEFT));
    // The plain entry comes first, whatever the file's order.
    EXPECT_EQ("Ordre dix-sept rempli", Translate(dict, "Order 17 filled"));
    // More groups come before fewer: the two-part entry takes the text, parts in their order.
    EXPECT_EQ("5 actions sur 10", Translate(dict, "5 of 10 shares"));
    // Only the matched part is replaced; the text around it stays.
    EXPECT_EQ("Now: Ordre 42 rempli.", Translate(dict, "Now: Order 42 filled."));
    // A right text without a parenthesised part makes a plain pair.
    EXPECT_EQ("Somme", Translate(dict, "Total (sum)"));
    EXPECT_EQ("Total sum", Translate(dict, "Total sum"));
    // '&' is the whole match, '\&' a literal one.
    EXPECT_EQ("Price 12 & 12", Translate(dict, "Price 12"));
    // An expression that does not compile never matches.
    EXPECT_EQ("Bad x", Translate(dict, "Bad x"));
}

TEST(Dictionary, SortedOrderIsTheSameEveryRun)
{
    // Same groups and length: the earlier line of the file wins, on every load.
    CDictionaryFile file("A (.*)|first (.*)\nB (.*)|second (.*)\nA (x*)|third (x*)\n");
    for (int nRun = 0; nRun < 3; ++nRun) {
        CDictionary dict;
        ASSERT_TRUE(dict.LoadDictionaryFile(file.Path()));
        EXPECT_EQ("first xx", Translate(dict, "A xx"));
        EXPECT_EQ("second y", Translate(dict, "B y"));
    }
    CDictArray entries;
    for (const char* pszLeft : {"(a)", "abc", "(a)(b)", "a", "ab"}) {
        auto* pEntry = new CDictString;
        pEntry->Set(pszLeft, "x (y)");
        pEntry->m_nFileOrder = entries.GetSize();
        entries.Add(pEntry);
    }
    entries.Sort();
    std::string strOrder;
    for (CDictString* pEntry : entries)
        strOrder += std::string(pEntry->GetLeft()) + " ";
    EXPECT_EQ("abc ab a (a)(b) (a) ", strOrder);
}

TEST(Dictionary, LongGroupsAreCutAtTheBuffer)
{
    CDictionaryFile file("Order (.*) filled|Ordre (.*) rempli\n");
    CDictionary dict;
    ASSERT_TRUE(dict.LoadDictionaryFile(file.Path()));
    std::string strGroup(2000, 'g');
    std::string strOut = Translate(dict, ("Order " + strGroup + " filled").c_str());
    EXPECT_EQ(("Ordre " + strGroup).substr(0, DICT_SUBST_SIZE - 1), strOut);

    // A 2,000-character line loads whole.
    CDictionaryFile longFile(strGroup + "|long\n");
    CDictionary longDict;
    ASSERT_TRUE(longDict.LoadDictionaryFile(longFile.Path()));
    EXPECT_EQ("long", Translate(longDict, strGroup.c_str()));
}

TEST(Dictionary, UnescapeAndResourceStrings)
{
    EXPECT_EQ("a(b)c", std::string(CDictString::Unescape("a\\(b\\)\\c", 0)));
    EXPECT_EQ("a(b\\)", std::string(CDictString::Unescape("a\\(b\\)", '(')));

    char szDir[] = "/tmp/dictresXXXXXX";
    ASSERT_NE(nullptr, mkdtemp(szDir));
    const std::string strRc = std::string(szDir) + "/strings_1252.rc";
    FILE* pFile = fopen(strRc.c_str(), "w");
    ASSERT_NE(nullptr, pFile);
    fprintf(pFile, "STRINGTABLE\nBEGIN\n  900, \"Open\"\nEND\n");
    fclose(pFile);
    HMODULE hModule = LoadLibraryA((std::string(szDir) + "/strings_1252.dll").c_str());
    ASSERT_NE(nullptr, hModule);
    HINSTANCE hOld = TbGetResourceModule();
    TbSetResourceModule(hModule);
    CDictionaryFile file("Open|Ouvrir\n");
    CDictionary dict;
    EXPECT_EQ("Open", std::string(dict.TranslateString(900, DICT_LEFT_TO_RIGHT)));
    ASSERT_TRUE(dict.LoadDictionaryFile(file.Path()));
    EXPECT_EQ("Ouvrir", std::string(dict.TranslateString(900, DICT_LEFT_TO_RIGHT)));
    TbSetResourceModule(hOld);
    FreeLibrary(hModule);
    remove(strRc.c_str());
    rmdir(szDir);
}
