#include "framework/base/SettingsFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "framework/base/RecordStore.h"

namespace fs = std::filesystem;

namespace {

// A fresh folder per test, removed with everything in it.
class SettingsFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("tb-settings-" + std::to_string(getpid()) + "-" +
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string Path(const char* pszName) const { return (m_folder / pszName).string(); }
    static void WriteText(const std::string& strPath, const std::string& strText)
    {
        std::ofstream(strPath, std::ios::binary) << strText;
    }
    static std::string ReadText(const std::string& strPath)
    {
        std::stringstream ss;
        ss << std::ifstream(strPath, std::ios::binary).rdbuf();
        return ss.str();
    }
    // Every section and entry in the order the object walks them: "[S] k=v k=v [T] ...".
    static std::string Dump(const CSettingsFile& file)
    {
        std::string str;
        CTBString strName;
        int nPos = 0;
        while (const CRecordStore* pEntries = file.GetNextSection(nPos, strName)) {
            str += "[" + std::string(strName) + "]";
            for (int i = pEntries->GetNextIndex(-1); i >= 0; i = pEntries->GetNextIndex(i)) {
                const INT_PTR* pEntry = pEntries->GetAt(i);
                str += " " + std::string(reinterpret_cast<const char*>(pEntry[0])) + "=" +
                       reinterpret_cast<const char*>(pEntry[1]);
            }
            str += " ";
        }
        return str;
    }
    size_t FilesInFolder() const
    {
        return static_cast<size_t>(std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()));
    }

    fs::path m_folder;
};

} // namespace

TEST_F(SettingsFileTest, RoundTripOfAProgramSettingsFile)
{
    const std::string strPath = Path("zorvat.ini");
    WriteText(strPath, "\n[Communication]\nHost=trade.example.net\nPort=2\nLogfile in path=C:\\logs\\feed.log\n"
                       "\n[.General]\nWinPlace=0,3,-1,-1,-4,-23,22,29,1302,744\nBaseCurrency==KWD\n"
                       "\n[Quotations]\nName=Quotes\\nKSE\nColor=255,0,0\n");
    {
        CSettingsFile file;
        ASSERT_TRUE(file.Open(strPath.c_str()));
        EXPECT_STREQ("=KWD", file.GetValue(".General", "BaseCurrency"));
        EXPECT_EQ(nullptr, file.GetValue("Communication", "port")) << "names are case-sensitive";
        file.SetSection("Communication");
        EXPECT_EQ(2, file.GetInt("Port", 0));
        EXPECT_EQ("C:\\logs\\feed.log", std::string(file.GetString("Logfile in path")));
        file.SetSection("Quotations");
        EXPECT_EQ(0x02000000 | RGB(255, 0, 0), file.GetColor("Color", 0));
        EXPECT_EQ("Quotes\nKSE", std::string(file.GetString("Name")));
        EXPECT_TRUE(file.WriteString("Name", "Quotes\nUS"));
        EXPECT_TRUE(file.WriteInt("Rows", 12));
        // No escape exists for a real backslash and 'n': it comes back as a line break.
        EXPECT_TRUE(file.WriteProfileString("Paths", "Dir", "C:\\new", nullptr));
    }
    // Saved on destruction, sorted by name, upper case before lower case.
    EXPECT_EQ("\n[.General]\nBaseCurrency==KWD\nWinPlace=0,3,-1,-1,-4,-23,22,29,1302,744\n"
              "\n[Communication]\nHost=trade.example.net\nLogfile in path=C:\\logs\\feed.log\nPort=2\n"
              "\n[Paths]\nDir=C:\\new\n\n[Quotations]\nColor=255,0,0\nName=Quotes\\nUS\nRows=12\n",
              ReadText(strPath));
    CSettingsFile again(strPath.c_str(), "Quotations");
    EXPECT_EQ("Quotes\nUS", std::string(again.GetString("Name")));
    EXPECT_STREQ("C:\new", again.GetValue("Paths", "Dir"));
}

TEST_F(SettingsFileTest, LinesThatAreNotEntriesAndRepeatedNames)
{
    const std::string strPath = Path("odd.ini");
    WriteText(strPath, "Before=dropped\n[Communication]\nPort=2\nx\n=novalue\nk=\nkey=\n[]\n[a]b]\nq=1\n[open\n"
                       "r=2\n[Empty]\nonly=\n[S]\nk=first\nk=second\n[S]\nk=third");
    CSettingsFile file;
    ASSERT_TRUE(file.Open(strPath.c_str()));
    // 'x', '=novalue' and 'k=' give nothing; '[]' and '[open' are no section lines, so 'r'
    // stays in 'a]b'; the last line needs no line end. The first of two names answers.
    EXPECT_EQ("[Communication] Port=2 key= [Empty] only= [S] k=first k=second [S] k=third [a]b] q=1 r=2 ",
              Dump(file));
    EXPECT_TRUE(file.WriteProfileString("S", "k", "changed", nullptr));
    ASSERT_TRUE(file.SaveSettingsFile());
    EXPECT_EQ("\n[Communication]\nPort=2\n\n[Empty]\n\n[S]\nk=changed\nk=second\n\n[S]\nk=third\n\n[a]b]\nq=1\nr=2\n",
              ReadText(strPath));
}

// A file read, saved and read again answers every lookup as it did. Empty values are not saved,
// so they are no values at all; of repeated names the first entry with a value answers.
TEST_F(SettingsFileTest, ASavedFileAnswersAsItDid)
{
    const std::string strPath = Path("again.ini");
    WriteText(strPath, "[b]\nkey=\nk=1\n[b]\nkey=2\nk=3\n[c]\nkey=\n");
    auto Answers = [](CSettingsFile& file) {
        std::string str;
        for (const char* pszKey : {"key", "k"}) {
            for (const char* pszSection : {"b", "c"}) {
                char sz[16];
                file.ReadProfileString(pszSection, pszKey, "-", sz, sizeof(sz), nullptr);
                str += std::string(pszSection) + "." + pszKey + "=" + sz + " ";
            }
        }
        return str;
    };
    {
        CSettingsFile file;
        ASSERT_TRUE(file.Open(strPath.c_str()));
        EXPECT_EQ("b.key=2 c.key=- b.k=1 c.k=- ", Answers(file));
        EXPECT_EQ(nullptr, file.GetValue("c", "key"));
        ASSERT_TRUE(file.SaveSettingsFile());
    }
    EXPECT_EQ("\n[b]\nk=1\n\n[b]\nk=3\nkey=2\n\n[c]\n", ReadText(strPath));
    CSettingsFile file;
    ASSERT_TRUE(file.Open(strPath.c_str()));
    EXPECT_EQ("b.key=2 c.key=- b.k=1 c.k=- ", Answers(file));

    // A value goes to the first entry of its key, and answers; blanking takes every entry.
    EXPECT_TRUE(file.WriteProfileString("b", "k", "4", nullptr));
    EXPECT_EQ("b.key=2 c.key=- b.k=4 c.k=- ", Answers(file));
    EXPECT_TRUE(file.WriteProfileString("b", "k", "", nullptr));
    EXPECT_EQ("b.key=2 c.key=- b.k=- c.k=- ", Answers(file));
    ASSERT_TRUE(file.SaveSettingsFile());
    CSettingsFile reloaded;
    ASSERT_TRUE(reloaded.Open(strPath.c_str()));
    EXPECT_EQ("b.key=2 c.key=- b.k=- c.k=- ", Answers(reloaded));
}

// What the file could not give back is refused, and nothing changes; a line's CRs and whatever
// follows a NUL are not part of its text, and the lines around stay apart.
TEST_F(SettingsFileTest, WritesTheFileCannotKeepAreRefused)
{
    const std::string strPath = Path("refused.ini");
    WriteText(strPath, std::string("[S]\r\nK=1\r\r\nJ=a\0b\nL=2\n", 21));
    CSettingsFile file;
    ASSERT_TRUE(file.Open(strPath.c_str()));
    EXPECT_EQ("[S] J=a K=1 L=2 ", Dump(file));
    EXPECT_FALSE(file.WriteProfileString("S\nT", "K", "1", nullptr));
    EXPECT_FALSE(file.WriteProfileString("", "K", "1", nullptr));
    EXPECT_FALSE(file.WriteProfileString("S", "K=J", "1", nullptr));
    EXPECT_FALSE(file.WriteProfileString("S", "K\nJ", "1", nullptr));
    EXPECT_FALSE(file.WriteProfileString("S", "[T]", "1", nullptr));
    EXPECT_FALSE(file.WriteProfileString("S", "", "1", nullptr));
    EXPECT_FALSE(file.WriteProfileString("S", "K", "1\r", nullptr));
    EXPECT_EQ("[S] J=a K=1 L=2 ", Dump(file));
    EXPECT_TRUE(file.WriteProfileString("S]x", "K;[", "two\nlines\rin it", nullptr));
    ASSERT_TRUE(file.SaveSettingsFile());
    CSettingsFile reloaded;
    ASSERT_TRUE(reloaded.Open(strPath.c_str()));
    EXPECT_EQ("[S] J=a K=1 L=2 [S]x] K;[=two\nlines\rin it ", Dump(reloaded));
}

TEST_F(SettingsFileTest, LongLinesAndWindowsLineEnds)
{
    const std::string strPath = Path("long.ini");
    const std::string strLong(600, 'v');
    const std::string strKey(300, 'k');
    const std::string strSection(280, 's');
    WriteText(strPath, "\r\n[Grid]\r\nShort=1\r\nLong=" + strLong + "=x\r\n" + strKey + "=" + strLong + "\r\n[" +
                           strSection + "]\r\nk=\r\nz=9\r\n");
    CSettingsFile file;
    ASSERT_TRUE(file.Open(strPath.c_str()));
    // The tail of a long line is no entry of its own, and no value keeps the CR.
    EXPECT_EQ("[Grid] Long=" + strLong + "=x Short=1 " + strKey + "=" + strLong + " [" + strSection + "] z=9 ",
              Dump(file));
    ASSERT_TRUE(file.SaveSettingsFile());
    EXPECT_EQ("\n[Grid]\nLong=" + strLong + "=x\nShort=1\n" + strKey + "=" + strLong + "\n\n[" + strSection +
                  "]\nz=9\n",
              ReadText(strPath));

    // Values hold 1024 characters: a longer one is refused whole and the old one stays.
    EXPECT_TRUE(file.WriteProfileString("Grid", "Short", std::string(1024, 'a').c_str(), nullptr));
    EXPECT_FALSE(file.WriteProfileString("Grid", "Short", std::string(1025, 'b').c_str(), nullptr));
    EXPECT_EQ(std::string(1024, 'a'), file.GetValue("Grid", "Short"));
    file.SetSection("Grid");
    EXPECT_FALSE(file.WriteString("Short", std::string(1000, 'c').append(20, '\n').c_str()))
        << "the stored form with its backslashes is too long";

    // Reads are bounded by the caller's buffer.
    char sz[4] = "zzz";
    EXPECT_EQ(4u, file.ReadProfileString("Grid", "Short", "", sz, sizeof(sz), nullptr)) << "the size when cut";
    EXPECT_STREQ("aaa", sz);
    EXPECT_EQ(0u, file.ReadProfileString("Grid", "Short", "", sz, 0, nullptr));
}

TEST_F(SettingsFileTest, MissingFilesAndSwitchingFiles)
{
    const std::string strFirst = Path("first.ini");
    const std::string strSecond = Path("second.ini");
    CSettingsFile file;
    EXPECT_FALSE(file.Open(strFirst.c_str()));
    file.SetSection("A");
    EXPECT_EQ(4, file.GetInt("Missing", 4));
    EXPECT_TRUE(file.WriteInt("One", 1));
    // Switching saves the first file and starts the second from what is on disk.
    WriteText(strSecond, "[B]\nTwo=2\n");
    EXPECT_TRUE(file.Open(strSecond.c_str()));
    EXPECT_EQ("\n[A]\nOne=1\n", ReadText(strFirst));
    EXPECT_EQ("[B] Two=2 ", Dump(file));
    // SetFileName only renames: the next save goes to the new name.
    file.SetFileName(strFirst.c_str());
    ASSERT_TRUE(file.SaveSettingsFile());
    EXPECT_EQ("\n[B]\nTwo=2\n", ReadText(strFirst));
}

TEST_F(SettingsFileTest, SavesReplaceTheFileOnlyWhenComplete)
{
    // A folder that is a regular file: nothing can be created below it (even for root).
    const std::string strBlocker = Path("blocker");
    WriteText(strBlocker, "not a folder");
    {
        CSettingsFile file;
        EXPECT_FALSE(file.Open((strBlocker + "/settings.ini").c_str()));
        file.WriteProfileString("S", "k", "v", nullptr);
        EXPECT_FALSE(file.SaveSettingsFile());
    }
    EXPECT_EQ("not a folder", ReadText(strBlocker));
    // A file that exists but cannot be read is never replaced by what little was loaded.
    const std::string strFolder = Path("folder.ini");
    fs::create_directory(strFolder);
    {
        CSettingsFile file;
        EXPECT_FALSE(file.Open(strFolder.c_str()));
        file.WriteProfileString("S", "k", "v", nullptr);
        EXPECT_FALSE(file.SaveSettingsFile());
    }
    EXPECT_TRUE(fs::is_directory(strFolder));

    // A good save keeps the old file's mode and writes through a link.
    const std::string strPath = Path("mode.ini");
    WriteText(strPath, "[S]\nk=v\n");
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(strPath, mode, fs::perm_options::replace);
    fs::create_symlink(strPath, Path("link.ini"));
    {
        CSettingsFile file(Path("link.ini").c_str(), "S");
        EXPECT_TRUE(file.WriteString("k", "w"));
    }
    EXPECT_TRUE(fs::is_symlink(Path("link.ini")));
    EXPECT_EQ("\n[S]\nk=w\n", ReadText(strPath));
    EXPECT_EQ(mode, fs::status(strPath).permissions() & fs::perms::mask);
    EXPECT_EQ(4u, FilesInFolder()) << "no temporary file is left behind";
}

TEST_F(SettingsFileTest, PlacementsAndFonts)
{
    CSettingsFile file;
    file.SetSection("Form");
    const WINDOWPLACEMENT wp = {44, 2, 1111, {-1, -1}, {-4, -23}, {22, 29, 1302, 744}};
    EXPECT_TRUE(file.WriteWindowPlacement("WinPlace", &wp));
    EXPECT_STREQ("2,1111,-1,-1,-4,-23,22,29,1302,744", file.GetValue("Form", "WinPlace"));
    WINDOWPLACEMENT back = {};
    BOOL bDefault = TRUE;
    file.GetWindowPlacement(&back, "WinPlace", nullptr, &bDefault);
    EXPECT_FALSE(bDefault);
    EXPECT_EQ(0, memcmp(&wp, &back, sizeof(wp)));
    const WINDOWPLACEMENT dflt = {0, 0, 3, {0, 0}, {0, 0}, {50, 50, 300, 300}};
    file.GetWindowPlacement(&back, "Missing", &dflt, &bDefault);
    EXPECT_TRUE(bDefault);
    EXPECT_EQ("44 3", std::to_string(back.length) + " " + std::to_string(back.showCmd));
    // A damaged text keeps the default's numbers where its own run out.
    file.WriteProfileString("Form", "Cut", "0,1,5,6", nullptr);
    file.GetWindowPlacement(&back, "Cut", &dflt, &bDefault);
    EXPECT_EQ("1 6 50", std::to_string(back.showCmd) + " " + std::to_string(back.ptMinPosition.y) + " " +
                            std::to_string(back.rcNormalPosition.left));

    const LOGFONTA lf = {-11, 0, 0, 0, 400, 0, 0, 0, 178, 0, 0, 0, 0, "Arial"};
    const LOGFONTA lfDefault = {-20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Courier"};
    EXPECT_TRUE(file.WriteLogFont("Font", &lf));
    LOGFONTA lfBack = {};
    file.GetLogFont(&lfBack, "Font", &lfDefault);
    EXPECT_EQ(0, memcmp(&lf, &lfBack, sizeof(lf)));
    file.WriteProfileString("Form", "Bad", "Arial,1,2", nullptr);
    file.GetLogFont(&lfBack, "Bad", &lfDefault);
    EXPECT_EQ(0, memcmp(&lfDefault, &lfBack, sizeof(lf)));
}
