// The private-profile functions on real files: the original's reading rules, buffer bounds,
// files written on Windows, and writes that keep the rest of the file or fail cleanly.
#include <gtest/gtest.h>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/win/kernel/Profile.h"

namespace {
class ProfileFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char szTemplate[] = "/tmp/tb_profile_XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(szTemplate));
        m_strDir = szTemplate;
    }
    void TearDown() override { std::system(("rm -rf '" + m_strDir + "'").c_str()); }

    std::string Path(const char* pszName) const { return m_strDir + "/" + pszName; }
    void Write(const char* pszName, const std::string& strText) const
    {
        std::ofstream(Path(pszName), std::ios::binary) << strText;
    }
    std::string Read(const char* pszName) const
    {
        std::ifstream file(Path(pszName), std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    int CountFiles() const
    {
        int n = 0;
        if (DIR* pDir = opendir(m_strDir.c_str())) {
            while (dirent* pEntry = readdir(pDir))
                n += pEntry->d_name[0] != '.';
            closedir(pDir);
        }
        return n;
    }
    std::string Get(const char* pszSection, const char* pszKey, const char* pszDefault = "def", DWORD cch = 256)
    {
        char sz[256] = "garbage";
        const DWORD n = GetPrivateProfileStringA(pszSection, pszKey, pszDefault, sz, cch, Path("a.ini").c_str());
        EXPECT_EQ(n, std::string(sz).size());
        return sz;
    }
    std::string List(const char* pszSection, DWORD cch = 256)
    {
        char sz[256];
        const DWORD n = GetPrivateProfileStringA(pszSection, nullptr, "def", sz, cch, Path("a.ini").c_str());
        std::string str(sz, n);
        for (char& ch : str)
            if (ch == '\0')
                ch = '|';
        EXPECT_EQ('\0', sz[n]);             // the list ends in a second NUL
        return str;
    }

    std::string m_strDir;
};

// Written on Windows: CR LF, a comment, blanks around everything, a repeated key and section.
const char* const s_pszWindowsFile =
    "; settings\r\n"
    "[General]\r\n"
    "Name = Value One  \r\n"
    "Key2=\"quoted value\"\r\n"
    "key2=second\r\n"
    "Empty=\r\n"
    "Count=12abc\r\n"
    "Minus=-5\r\n"
    "NoEquals\r\n"
    "\r\n"
    "[general]\r\n"
    "Name=Other\r\n"
    "Only=in the second\r\n"
    "  [ Spaced ]  \r\n"
    " A = 1 \r\n";
}  // namespace

TEST_F(ProfileFiles, ReadsWithTheOriginalRules)
{
    Write("a.ini", s_pszWindowsFile);
    EXPECT_EQ("Value One", Get("GENERAL", "name"));              // case-insensitive, trimmed
    EXPECT_EQ("quoted value", Get("General", "KEY2"));           // first match wins, quotes dropped
    EXPECT_EQ("", Get("General", "Empty"));                     // present but empty: not the default
    EXPECT_EQ("", Get("General", "NoEquals"));
    EXPECT_EQ("def", Get("General", "Only"));                   // only the first [General] is searched
    EXPECT_EQ("1", Get("Spaced", "A"));
    EXPECT_EQ("def", Get("General", "Missing", "def  "));       // the default loses trailing blanks
    EXPECT_EQ("", Get("General", "Missing", nullptr));
    EXPECT_EQ("def", Get("Nowhere", "Name"));
    // The caller's size bounds the text: cut to size - 1 and terminated.
    EXPECT_EQ("Val", Get("General", "Name", "def", 4));
    char sz[2] = {'x', 'y'};
    EXPECT_EQ(0u, GetPrivateProfileStringA("General", "Name", "def", sz, 0, Path("a.ini").c_str()));
    EXPECT_EQ('x', sz[0]);

    const std::string strFile = Path("a.ini");
    EXPECT_EQ(1u, GetPrivateProfileIntA("spaced", "a", 7, strFile.c_str()));
    EXPECT_EQ(12u, GetPrivateProfileIntA("General", "Count", 7, strFile.c_str()));
    EXPECT_EQ(static_cast<UINT>(-5), GetPrivateProfileIntA("General", "Minus", 7, strFile.c_str()));
    EXPECT_EQ(0u, GetPrivateProfileIntA("General", "Name", 7, strFile.c_str()));
    EXPECT_EQ(7u, GetPrivateProfileIntA("General", "Empty", 7, strFile.c_str()));
    EXPECT_EQ(7u, GetPrivateProfileIntA("General", "Missing", 7, strFile.c_str()));
}

TEST_F(ProfileFiles, ListsSectionsAndKeys)
{
    Write("a.ini", s_pszWindowsFile);
    EXPECT_EQ("General|general|Spaced|", List(nullptr));
    EXPECT_EQ("Name|Key2|key2|Empty|Count|Minus|NoEquals|", List("general"));
    EXPECT_EQ("", List("Nowhere"));
    EXPECT_EQ("General", List(nullptr, 9));                    // cut, still double-NUL ended
}

TEST_F(ProfileFiles, MissingFilesAndLongLines)
{
    EXPECT_EQ("def", Get("General", "Name"));
    EXPECT_EQ(3u, GetPrivateProfileIntA("General", "Name", 3, Path("none.ini").c_str()));
    EXPECT_EQ("", List(nullptr));
    const std::string strLong(600, 'x');
    Write("a.ini", "[S]\nLong=" + strLong + "\nAfter=1\n");
    char sz[1024];
    EXPECT_EQ(600u, GetPrivateProfileStringA("S", "Long", "", sz, sizeof(sz), Path("a.ini").c_str()));
    EXPECT_EQ(strLong, sz);
    EXPECT_EQ("1", Get("S", "After"));
}

TEST_F(ProfileFiles, WritesKeepTheRestOfTheFile)
{
    Write("a.ini", s_pszWindowsFile);
    chmod(Path("a.ini").c_str(), 0640);
    const std::string strFile = Path("a.ini");
    EXPECT_TRUE(WritePrivateProfileStringA("general", "NAME", "New", strFile.c_str()));       // replaced in place
    EXPECT_TRUE(WritePrivateProfileStringA("General", "Added", "x y", strFile.c_str()));      // before the blank line
    EXPECT_TRUE(WritePrivateProfileStringA("Spaced", "A", nullptr, strFile.c_str()));         // key deleted
    EXPECT_TRUE(WritePrivateProfileStringA("New Section", "K", "v", strFile.c_str()));
    EXPECT_TRUE(WritePrivateProfileStringA("Nowhere", "K", nullptr, strFile.c_str()));        // nothing to delete
    EXPECT_EQ(
        "; settings\r\n[General]\r\nNAME=New\r\nKey2=\"quoted value\"\r\nkey2=second\r\nEmpty=\r\n"
        "Count=12abc\r\nMinus=-5\r\nNoEquals\r\nAdded=x y\r\n\r\n[general]\r\nName=Other\r\nOnly=in the second\r\n"
        "  [ Spaced ]  \r\n\r\n[New Section]\r\nK=v\r\n",
        Read("a.ini"));
    EXPECT_EQ("New", Get("General", "Name"));
    EXPECT_EQ("x y", Get("General", "Added"));
    EXPECT_TRUE(WritePrivateProfileStringA("general", nullptr, nullptr, strFile.c_str()));   // section deleted
    EXPECT_EQ("general|Spaced|New Section|", List(nullptr));
    EXPECT_EQ("Other", Get("General", "Name"));                 // the second [general] now answers

    struct stat st {};
    ASSERT_EQ(0, stat(strFile.c_str(), &st));
    EXPECT_EQ(0640u, st.st_mode & 07777u);                      // the file keeps its mode
    EXPECT_EQ(1, CountFiles());                                 // and no temporary file is left

    // A new file is created, with the line ends of the original.
    EXPECT_TRUE(WritePrivateProfileStringA("S", "K", "1", Path("new.ini").c_str()));
    EXPECT_EQ("[S]\r\nK=1\r\n", Read("new.ini"));
    // A file with LF lines keeps them.
    Write("lf.ini", "[S]\nK=1\n");
    EXPECT_TRUE(WritePrivateProfileStringA("S", "J", "2", Path("lf.ini").c_str()));
    EXPECT_EQ("[S]\nK=1\nJ=2\n", Read("lf.ini"));
}

TEST_F(ProfileFiles, FailedWritesReportFalseAndChangeNothing)
{
    Write("a.ini", "[S]\r\nK=1\r\n");
    const std::string strFile = Path("a.ini");
    EXPECT_FALSE(WritePrivateProfileStringA("S", "K", "two\r\nlines", strFile.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringA("S", "K=J", "1", strFile.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringA("S", "[X]", "1", strFile.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringA("S]", "K", "1", strFile.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringA(nullptr, "K", "1", strFile.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringA("S", "K", "1", nullptr));
    EXPECT_EQ("[S]\r\nK=1\r\n", Read("a.ini"));
    EXPECT_FALSE(WritePrivateProfileStringA("S", "K", "1", Path("no/such/folder.ini").c_str()));
    // A folder in the file's place: the temporary file is written, the rename fails, nothing stays.
    ASSERT_EQ(0, mkdir(Path("dir.ini").c_str(), 0700));
    EXPECT_FALSE(WritePrivateProfileStringA("S", "K", "1", Path("dir.ini").c_str()));
    EXPECT_EQ(2, CountFiles());
}

// A write changes its own line and nothing else: every other line keeps its bytes, its own line
// end (CR CR LF, LF among CR LF, none at the end of the file) and the byte-order mark.
TEST_F(ProfileFiles, UntouchedLinesSurviveAWriteByteForByte)
{
    const std::string strFile = Path("a.ini");
    const std::string strTail = "[T]\r\nOdd=1\r\r\nLf=2\nCr=3\r\r\r\nLast=4";
    Write("a.ini", "\xEF\xBB\xBF[S]\nK=1\r\r\n" + strTail);
    EXPECT_EQ("1", Get("S", "K")) << "the carriage returns belong to the line end, not the value";
    EXPECT_EQ("3", Get("T", "Cr"));
    EXPECT_TRUE(WritePrivateProfileStringA("S", "K", "2", strFile.c_str()));
    EXPECT_EQ("\xEF\xBB\xBF[S]\nK=2\r\r\n" + strTail, Read("a.ini"));
    EXPECT_TRUE(WritePrivateProfileStringA("S", "New", "x", strFile.c_str()));
    EXPECT_EQ("\xEF\xBB\xBF[S]\nK=2\r\r\nNew=x\n" + strTail, Read("a.ini"));
    // Appending behind a last line without a line end gives it one and keeps the file's ending.
    EXPECT_TRUE(WritePrivateProfileStringA("T", "Added", "y", strFile.c_str()));
    EXPECT_EQ("\xEF\xBB\xBF[S]\nK=2\r\r\nNew=x\n" + strTail + "\nAdded=y", Read("a.ini"));
    EXPECT_TRUE(WritePrivateProfileStringA("S", "New", nullptr, strFile.c_str()));
    EXPECT_EQ("\xEF\xBB\xBF[S]\nK=2\r\r\n" + strTail + "\nAdded=y", Read("a.ini"));
    EXPECT_EQ("4", Get("T", "Last"));
    EXPECT_EQ("y", Get("T", "Added"));
    // A file that ends in CRs without a LF: the new section still starts a line of its own.
    Write("a.ini", "[S]\r\nK=1\r\n\r\r");
    EXPECT_TRUE(WritePrivateProfileStringA("New", "K", "2", strFile.c_str()));
    EXPECT_EQ("[S]\r\nK=1\r\n\r\r\n[New]\r\nK=2", Read("a.ini"));
    EXPECT_EQ("2", Get("New", "K"));
    EXPECT_EQ("1", Get("S", "K"));
    // A NUL ends what a line says, never the line: the names listed can be asked for, and the
    // line keeps its bytes.
    const std::string strNul("[S]\nab\0cd=1\nK=2\0x\n", 18);
    Write("a.ini", strNul);
    EXPECT_EQ("ab|K|", List("S"));
    EXPECT_EQ("", Get("S", "ab"));
    EXPECT_EQ("2", Get("S", "K"));
    EXPECT_TRUE(WritePrivateProfileStringA("S", "New", "3", strFile.c_str()));
    EXPECT_EQ(strNul + "New=3\n", Read("a.ini"));
}
