// Resource files: the script reader, loading the language libraries of both languages, and
// the rule that settings keys read the same in both.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/kernel/ResourceScript.h"
#include "platform/win/kernel/Resources.h"

namespace {
const std::string s_strResources = TB_SOURCE_DIR "/resources";

class ResourceModules : public ::testing::Test
{
protected:
    void SetUp() override { TbAddResourcePath(s_strResources.c_str()); }
};

std::string Load(HINSTANCE hModule, UINT uId, int cchMax = 512)
{
    char sz[512] = "garbage";
    const int n = LoadStringA(hModule, uId, sz, cchMax);
    EXPECT_EQ(static_cast<size_t>(n), std::string(sz).size());
    return sz;
}
}  // namespace

TEST(ResourceScript, ReadsStringTablesAndStepsOverOtherStatements)
{
    CResourceScript script;
    script.Parse(
        "\xEF\xBB\xBF// a comment\n"
        "#include \"resource.h\"\n"
        "LANGUAGE 9, 1\n"
        "300 BITMAP \"arrows.png\"\n"
        "5200 DIALOG 0, 0, 200, 100\n"
        "STYLE DS_MODALFRAME\n"
        "CAPTION \"Find\"\n"
        "BEGIN\n"
        "    PUSHBUTTON \"OK\", 1, 10, 10, 50, 14\n"
        "END\n"
        "200 MENU\n"
        "{\n"
        "    POPUP \"&File\" { MENUITEM \"E&xit\", 100 }\n"
        "    POPUP \"&Edit\"\n"
        "    BEGIN\n"
        "        MENUITEM \"&Copy\", 101\n"
        "    END\n"
        "}\n"
        "STRINGTABLE DISCARDABLE\n"
        "BEGIN\n"
        "    1, \"plain\"\n"
        "    2 \"no comma\"\n"
        "    0x10, \"line\\nbreak\\ttab \\\"quoted\\\" back\\\\slash \"\"doubled\"\"\"\n"
        "    /* inline */ 3, \"joined \" \"texts\"\n"
        "    4, \"\"\n"
        "    1, \"second text for 1\"\n"
        "    IDS_NAME, \"symbolic ids are not ours\"\n"
        "    5, \"after the bad line\"\n"
        "END\n"
        "STRINGTABLE { 6, \"braces\" }\n");
    const auto& strings = script.GetStrings();
    ASSERT_EQ(7u, strings.size());
    EXPECT_EQ("plain", strings.at(1));
    EXPECT_EQ("no comma", strings.at(2));
    EXPECT_EQ("line\nbreak\ttab \"quoted\" back\\slash \"doubled\"", strings.at(16));
    EXPECT_EQ("joined texts", strings.at(3));
    EXPECT_EQ("", strings.at(4));
    EXPECT_EQ("after the bad line", strings.at(5));
    EXPECT_EQ("braces", strings.at(6));
    ASSERT_EQ(1u, script.GetFiles().size());
    EXPECT_EQ("arrows.png", script.GetFiles().at("BITMAP/#300"));
    // The repeated id and the symbolic one are reported with their lines.
    ASSERT_EQ(2u, script.GetErrors().size());
    EXPECT_EQ("line 26: string 1 given twice; the first text stays", script.GetErrors()[0]);
    EXPECT_EQ(0u, script.GetErrors()[1].find("line 27:"));
}

TEST(ResourceScript, DamagedFilesKeepWhatCanBeRead)
{
    CResourceScript unclosed;
    unclosed.Parse("STRINGTABLE\nBEGIN\n 1, \"one\"\n 2, \"two\n 3, \"three\"\n");
    EXPECT_EQ(3u, unclosed.GetStrings().size());
    EXPECT_EQ("two", unclosed.GetStrings().at(2));
    EXPECT_EQ(2u, unclosed.GetErrors().size());              // the open quote and the missing END

    CResourceScript blockless;
    blockless.Parse("100 DIALOG 0, 0, 10, 10\nSTRINGTABLE\nBEGIN\n 7, \"kept\"\nEND\n");
    EXPECT_EQ("kept", blockless.GetStrings().at(7));
    EXPECT_EQ(1u, blockless.GetErrors().size());

    CResourceScript big;
    big.Parse("STRINGTABLE\nBEGIN\n 70000, \"too big\"\n 99999999999, \"far too big\"\n 8, \"ok\"\nEND\n");
    EXPECT_EQ(1u, big.GetStrings().size());
    EXPECT_EQ(2u, big.GetErrors().size());

    CResourceScript missing;
    EXPECT_FALSE(missing.LoadFile("/nonexistent/x.rc"));

    // A block or a table left open does not take the next table with it: STRINGTABLE is a keyword
    // that no block holds, so the damage ends where the next table starts.
    CResourceScript openBlock;
    openBlock.Parse("1 DIALOG 0, 0, 10, 10\nBEGIN\n LTEXT \"x\"\n BEGIN\nSTRINGTABLE\nBEGIN\n 4, \"after\"\nEND\n");
    EXPECT_EQ("after", openBlock.GetStrings().at(4));
    ASSERT_FALSE(openBlock.GetErrors().empty());
    EXPECT_EQ("line 1: block without its END", openBlock.GetErrors().back());
    CResourceScript openTable;
    openTable.Parse("STRINGTABLE\nBEGIN\n 1, \"one\"\nSTRINGTABLE\nBEGIN\n 2, \"two\"\nEND\nEND\n");
    EXPECT_EQ(2u, openTable.GetStrings().size());
    EXPECT_EQ("two", openTable.GetStrings().at(2));
    EXPECT_EQ(2u, openTable.GetErrors().size());            // the first table's END, then a stray END
    CResourceScript openTemplates;
    openTemplates.Parse("1 MENU\nBEGIN\n POPUP \"&File\"\n BEGIN\n  MENUITEM \"&Open\", 10\nSTRINGTABLE\nBEGIN\n 6, \"six\"\nEND\n"
                        "2 ACCELERATORS\nBEGIN\n \"A\", 11\nSTRINGTABLE\nBEGIN\n 7, \"seven\"\nEND\n");
    EXPECT_EQ("six", openTemplates.GetStrings().at(6));
    EXPECT_EQ("seven", openTemplates.GetStrings().at(7));
    ASSERT_EQ(3u, openTemplates.GetErrors().size());
    EXPECT_EQ("line 5: POPUP without its END", openTemplates.GetErrors()[0]);
    EXPECT_EQ("line 1: block without its END", openTemplates.GetErrors()[1]);
    EXPECT_EQ("line 10: block without its END", openTemplates.GetErrors()[2]);
    CResourceScript headerWord;
    headerWord.Parse("x STRINGTABLE\nBEGIN\n 5, \"five\"\nEND\n");
    EXPECT_EQ("five", headerWord.GetStrings().at(5));
}

TEST(ResourceScript, OurFilesAreCleanAndKeysReadTheSameInBothLanguages)
{
    CResourceScript files[4];
    const char* pszNames[4] = {"_1252.rc", "_1256.rc", "branding_1252.rc", "branding_1256.rc"};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(files[i].LoadFile((s_strResources + "/" + pszNames[i]).c_str())) << pszNames[i];
        EXPECT_TRUE(files[i].GetErrors().empty()) << pszNames[i] << ": " << files[i].GetErrors().front();
    }
    const auto& english = files[0].GetStrings();
    const auto& arabic = files[1].GetStrings();
    EXPECT_EQ(english.size(), arabic.size());
    for (const auto& [uId, strText] : english) {
        ASSERT_TRUE(arabic.count(uId)) << "string " << uId << " has no Arabic text";
        const bool bSettingsKey = uId >= 28000 && uId <= 28699;
        if (bSettingsKey) {
            EXPECT_EQ(strText, arabic.at(uId)) << "settings key " << uId;
            // Keys go into INI lines: nothing the profile functions would trim or split.
            EXPECT_EQ(std::string::npos, strText.find_first_of("=[] \t\r\n")) << uId;
            EXPECT_FALSE(strText.empty()) << uId;
        }
    }
    // Every settings key the framework uses has a text; the grid's run from 28600 to 28665 in fives.
    for (UINT uId : {28000u, 28005u, 28070u, 28100u, 28206u, 28300u, 28330u, 28400u, 28403u, 29000u, 29001u})
        EXPECT_TRUE(english.count(uId)) << uId;
    for (UINT uId = 28600; uId <= 28665; uId += 5)
        EXPECT_TRUE(english.count(uId)) << uId;
    // Both languages name the same image files, the grid's pointers among them, and the files are there.
    EXPECT_EQ(files[0].GetFiles(), files[1].GetFiles());
    for (int nId = 101; nId <= 105; ++nId)
        EXPECT_TRUE(files[0].GetFiles().count(ResourceFileKey("CURSOR", NumberedName(nId)))) << "cursor " << nId;
    for (const auto& [strKey, strFile] : files[0].GetFiles())
        EXPECT_EQ(0, access((s_strResources + "/" + strFile).c_str(), R_OK)) << strKey << " " << strFile;
    // The grid's dialogs, texts, marks and drag pointers: the same controls in both languages.
    for (UINT uId : {25850u, 28700u, 28701u, 28713u, 28714u, 28715u, 28716u, 28717u})
        EXPECT_TRUE(english.count(uId)) << "string " << uId;
    // Account states a brand may rename: in both branding files, and in the language files behind them.
    for (UINT uId : {57513u, 57514u, 57516u}) {
        EXPECT_TRUE(files[2].GetStrings().count(uId) && files[3].GetStrings().count(uId)) << "branding " << uId;
        EXPECT_TRUE(english.count(uId)) << uId;
    }
    for (int nId = 4001; nId <= 4003; ++nId)
        EXPECT_TRUE(files[0].GetFiles().count(ResourceFileKey("BITMAP", NumberedName(nId)))) << "bitmap " << nId;
    for (int nId = 111; nId <= 112; ++nId)
        EXPECT_TRUE(files[0].GetFiles().count(ResourceFileKey("CURSOR", NumberedName(nId)))) << "cursor " << nId;
    for (const char* pszDialog : {"#5017", "#5106", "#5200"}) {
        const auto& en = files[0].GetTemplates().dialogs;
        const auto& ar = files[1].GetTemplates().dialogs;
        ASSERT_TRUE(en.count(pszDialog) && ar.count(pszDialog)) << pszDialog;
        const auto& itemsEn = en.at(pszDialog).items;
        const auto& itemsAr = ar.at(pszDialog).items;
        ASSERT_EQ(itemsEn.size(), itemsAr.size()) << pszDialog;
        for (size_t i = 0; i < itemsEn.size(); ++i) {
            EXPECT_EQ(itemsEn[i].nId, itemsAr[i].nId) << pszDialog << " item " << i;
            EXPECT_EQ(itemsEn[i].strClass, itemsAr[i].strClass) << pszDialog << " item " << i;
        }
    }
}

TEST_F(ResourceModules, LoadsBothLanguagesInTheirCodePages)
{
    HMODULE hEnglish = LoadLibraryA("_1252.dll");
    HMODULE hArabic = LoadLibraryA("_1256.dll");
    ASSERT_NE(nullptr, hEnglish);
    ASSERT_NE(nullptr, hArabic);
    EXPECT_NE(hEnglish, hArabic);
    EXPECT_EQ("inch", Load(hEnglish, 29001));
    EXPECT_EQ(TbUtf8ToCodePage("بوصة", 1256), Load(hArabic, 29001));
    EXPECT_EQ("Name", Load(hArabic, 28000));                     // keys are the same in Arabic
    // A missing id answers 0 with an empty buffer, so the caller can use its own fallback.
    EXPECT_EQ("", Load(hArabic, 12345));
    EXPECT_EQ("", Load(hEnglish, 12345));
    // The buffer bounds the copy: cut to size-1 and terminated.
    EXPECT_EQ("Fo", Load(hEnglish, 28605, 3));
    char sz[4] = "xyz";
    EXPECT_EQ(0, LoadStringA(hEnglish, 28605, sz, 0));
    EXPECT_STREQ("xyz", sz);
    EXPECT_EQ(0, LoadStringA(hEnglish, 28605, nullptr, 10));

    char szPath[MAX_PATH];
    const DWORD n = GetModuleFileNameA(hArabic, szPath, MAX_PATH);
    EXPECT_EQ(s_strResources + "/_1256.rc", std::string(szPath, n));

    EXPECT_NE(nullptr, LoadLibraryA("branding_1252.dll"));
    EXPECT_NE(nullptr, LoadLibraryA("branding_1256"));
    EXPECT_TRUE(FreeLibrary(hEnglish));
    EXPECT_TRUE(FreeLibrary(hArabic));
}

TEST_F(ResourceModules, HandlesAreCountedAndChecked)
{
    EXPECT_EQ(nullptr, LoadLibraryA("_1257.dll"));
    EXPECT_EQ(nullptr, LoadLibraryA(""));
    EXPECT_EQ(nullptr, LoadLibraryA(nullptr));
    EXPECT_EQ(nullptr, LoadLibraryA("/nonexistent/_1252.dll"));   // a named folder is the only one searched

    HMODULE h1 = LoadLibraryA("_1252.dll");
    HMODULE h2 = LoadLibraryA("_1252.DLL");
    ASSERT_NE(nullptr, h1);
    EXPECT_EQ(h1, h2);                                          // one module, counted twice
    EXPECT_TRUE(FreeLibrary(h1));
    EXPECT_EQ("Name", Load(h1, 28000));                         // still loaded once more
    EXPECT_TRUE(FreeLibrary(h2));
    EXPECT_FALSE(FreeLibrary(h1));                               // gone
    EXPECT_EQ("", Load(h1, 28000));                             // a stale handle reads nothing
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
}

TEST_F(ResourceModules, TheFrameworkModuleAnswersForTheProgram)
{
    HMODULE hArabic = LoadLibraryA("_1256.dll");
    ASSERT_NE(nullptr, hArabic);
    TbSetResourceModule(hArabic);
    EXPECT_EQ(hArabic, TbGetResourceModule());
    EXPECT_EQ(TbUtf8ToCodePage("مم", 1256), Load(nullptr, 29000));
    // Freeing the module the framework loads from leaves no dangling module behind.
    EXPECT_TRUE(FreeLibrary(hArabic));
    EXPECT_EQ(nullptr, TbGetResourceModule());
    EXPECT_EQ("", Load(nullptr, 29000));

    char szExe[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, szExe, MAX_PATH), 0u);
    EXPECT_EQ('/', szExe[0]);
    EXPECT_EQ(0, access(szExe, X_OK));                          // the program itself
    char szShort[5];
    EXPECT_EQ(5u, GetModuleFileNameA(nullptr, szShort, 5));      // cut: the size comes back
    EXPECT_EQ(4u, std::strlen(szShort));

    // The program may be placed in another folder: its name stays, the folder is the one named.
    const std::string strExe(szExe);
    setenv("TB_PROGRAM_DIR", "/tmp/tb demo folder", 1);
    char szMoved[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, szMoved, MAX_PATH), 0u);
    unsetenv("TB_PROGRAM_DIR");
    EXPECT_EQ("/tmp/tb demo folder" + strExe.substr(strExe.rfind('/')), szMoved);
}

TEST_F(ResourceModules, ImageEntriesNameFilesBesideTheResourceFile)
{
    char szDir[] = "/tmp/tbresXXXXXX";
    ASSERT_NE(nullptr, mkdtemp(szDir));
    const std::string strRc = std::string(szDir) + "/_1252.rc";
    FILE* pFile = fopen(strRc.c_str(), "w");
    ASSERT_NE(nullptr, pFile);
    fputs("300 BITMAP \"img/grid.png\"\nHANDCUR cursor \"/abs/hand.png\"\n"
          "STRINGTABLE { 1, \"x\" }\n", pFile);
    fclose(pFile);
    HMODULE hModule = LoadLibraryA(strRc.c_str());
    ASSERT_NE(nullptr, hModule);

    char szPath[MAX_PATH];
    ASSERT_TRUE(TbFindResourceFile(hModule, "BITMAP", MAKEINTRESOURCE(300), szPath, MAX_PATH));
    EXPECT_EQ(std::string(szDir) + "/img/grid.png", szPath);     // relative to the resource file
    ASSERT_TRUE(TbFindResourceFile(hModule, "CURSOR", "HANDCUR", szPath, MAX_PATH));
    EXPECT_STREQ("/abs/hand.png", szPath);
    EXPECT_FALSE(TbFindResourceFile(hModule, "ICON", MAKEINTRESOURCE(300), szPath, MAX_PATH));
    EXPECT_FALSE(TbFindResourceFile(hModule, "BITMAP", MAKEINTRESOURCE(301), szPath, MAX_PATH));
    EXPECT_FALSE(TbFindResourceFile(hModule, "CURSOR", "HANDCUR", szPath, 5));   // does not fit: nothing
    // A null module is the framework's resource module.
    TbSetResourceModule(hModule);
    EXPECT_TRUE(TbFindResourceFile(nullptr, "BITMAP", MAKEINTRESOURCE(300), szPath, MAX_PATH));
    EXPECT_TRUE(FreeLibrary(hModule));
    EXPECT_FALSE(TbFindResourceFile(nullptr, "BITMAP", MAKEINTRESOURCE(300), szPath, MAX_PATH));
    unlink(strRc.c_str());
    rmdir(szDir);
}
