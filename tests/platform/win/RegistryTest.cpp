// The registry on its per-user files: values round trip through fresh handles and fresh reads of
// the file, damaged and cut files give what still reads, and two writers of one file (two
// handles, two processes) lose nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win/kernel/Registry.h"

namespace {
class RegistryFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char szTemplate[] = "/tmp/tb_registry_XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(szTemplate));
        m_strDir = szTemplate;
        const char* pszOld = std::getenv("XDG_CONFIG_HOME");
        m_bHadOld = pszOld != nullptr;
        m_strOld = pszOld ? pszOld : "";
        setenv("XDG_CONFIG_HOME", m_strDir.c_str(), 1);
    }
    void TearDown() override
    {
        if (m_bHadOld)
            setenv("XDG_CONFIG_HOME", m_strOld.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        std::system(("rm -rf '" + m_strDir + "'").c_str());
    }

    std::string FilePath() const { return m_strDir + "/Brand/registry"; }
    std::string ReadFile() const
    {
        std::ifstream file(FilePath(), std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    void WriteFile(const std::string& strText) const
    {
        mkdir((m_strDir + "/Brand").c_str(), 0700);
        std::ofstream(FilePath(), std::ios::binary) << strText;
    }
    static HKEY Create(LPCSTR pszPath, DWORD* pdwDisposition = nullptr)
    {
        HKEY hKey = nullptr;
        DWORD dw = 0;
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, pszPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                 &hKey, pdwDisposition ? pdwDisposition : &dw));
        return hKey;
    }
    static LSTATUS SetDword(HKEY hKey, LPCSTR pszName, DWORD dwValue)
    {
        return RegSetValueExA(hKey, pszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), sizeof dwValue);
    }
    static LSTATUS SetText(HKEY hKey, LPCSTR pszName, const std::string& str)
    {
        return RegSetValueExA(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(str.c_str()),
                              static_cast<DWORD>(str.size() + 1));
    }
    // The value as "type:bytes", "missing" when the key or value is not there.
    static std::string Read(LPCSTR pszPath, LPCSTR pszName)
    {
        HKEY hKey = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, pszPath, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            return "missing";
        DWORD dwType = 0, cb = 0;
        std::string strResult = "missing";
        if (RegQueryValueExA(hKey, pszName, nullptr, &dwType, nullptr, &cb) == ERROR_SUCCESS) {
            std::vector<BYTE> data(cb);
            EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(hKey, pszName, nullptr, &dwType, data.data(), &cb));
            strResult = std::to_string(dwType) + ":" + std::string(data.begin(), data.end());
        }
        RegCloseKey(hKey);
        return strResult;
    }

    std::string m_strDir;
    std::string m_strOld;
    bool m_bHadOld = false;
};

const char* const SETTINGS = "Software\\Brand\\Terminal\\Settings";

TEST_F(RegistryFiles, ValuesRoundTripThroughTheBrandsFile)
{
    DWORD dwDisposition = 0;
    HKEY hKey = Create(SETTINGS, &dwDisposition);
    ASSERT_NE(nullptr, hKey);
    EXPECT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), dwDisposition);
    EXPECT_EQ(ERROR_SUCCESS, SetDword(hKey, "Arabic", 1));
    EXPECT_EQ(ERROR_SUCCESS, SetText(hKey, "Workspace", "/home/user/my ws=1 [a].wks"));
    const BYTE binary[] = {0, 1, 0xFF, '\n', '=', '%'};
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(hKey, "Line\nName=%", 0, REG_BINARY, binary, sizeof binary));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(hKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("dflt"), 5));
    EXPECT_EQ(ERROR_SUCCESS, SetDword(hKey, "ARABIC", 0));       // names compare without case
    RegCloseKey(hKey);

    // Another handle reads the file afresh.
    EXPECT_EQ(std::string("4:") + std::string("\0\0\0\0", 4), Read("software\\BRAND\\terminal\\settings", "arabic"));
    EXPECT_EQ(std::string("1:/home/user/my ws=1 [a].wks") + '\0', Read(SETTINGS, "Workspace"));
    EXPECT_EQ(std::string("3:") + std::string(reinterpret_cast<const char*>(binary), sizeof binary),
              Read(SETTINGS, "Line\nName=%"));
    EXPECT_EQ(std::string("1:dflt") + '\0', Read(SETTINGS, ""));
    EXPECT_EQ("missing", Read(SETTINGS, "Nothing"));
    EXPECT_EQ("missing", Read("Software\\Brand\\Other", "Arabic"));
    EXPECT_EQ(0, access(FilePath().c_str(), R_OK));
    EXPECT_NE(0, access((FilePath() + ".new").c_str(), F_OK));

    // Sizes: asked, too small, and a key opened twice.
    HKEY hRead = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, SETTINGS, 0, KEY_READ, &hRead));
    DWORD cb = 0, dwType = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(hRead, "Workspace", nullptr, &dwType, nullptr, &cb));
    EXPECT_EQ(27u, cb);
    char szSmall[4] = "abc";
    cb = sizeof szSmall;
    EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExA(hRead, "Workspace", nullptr, &dwType, reinterpret_cast<BYTE*>(szSmall), &cb));
    EXPECT_EQ(27u, cb);
    // A read-only handle writes nothing; a closed one is no handle.
    EXPECT_EQ(ERROR_ACCESS_DENIED, SetDword(hRead, "Arabic", 7));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(hRead));
    EXPECT_EQ(ERROR_INVALID_HANDLE, SetDword(hRead, "Arabic", 7));

    // Opening an existing key through its parent.
    HKEY hBrand = Create("Software\\Brand", &dwDisposition);
    EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), dwDisposition);
    HKEY hChild = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(hBrand, "Terminal\\Settings", 0, KEY_READ, &hChild));
    RegCloseKey(hChild);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(hBrand, "Terminal\\Missing", 0, KEY_READ, &hChild));
    EXPECT_EQ(nullptr, hChild);
    RegCloseKey(hBrand);

    // Deleting a value.
    hKey = Create(SETTINGS);
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteValueA(hKey, "WORKSPACE"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueA(hKey, "Workspace"));
    RegCloseKey(hKey);
    EXPECT_EQ("missing", Read(SETTINGS, "Workspace"));
}

TEST_F(RegistryFiles, NamesThatCannotBeKeysAreRefused)
{
    HKEY hKey = nullptr;
    DWORD dw = 0;
    for (const char* pszBad : {"Software\\..\\x", "Software\\\\Brand", "\\Software\\Brand", "Software\\.\\x"})
        EXPECT_EQ(ERROR_INVALID_PARAMETER, RegCreateKeyExA(HKEY_CURRENT_USER, pszBad, 0, nullptr, 0, KEY_ALL_ACCESS,
                                                           nullptr, &hKey, &dw)) << pszBad;
    // "Software" itself is above the brands: it opens but holds no values.
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS, &hKey));
    EXPECT_EQ(ERROR_ACCESS_DENIED, SetDword(hKey, "x", 1));
    RegCloseKey(hKey);
    // A slash in a brand stays inside the config folder.
    hKey = Create("Software\\a/b\\c");
    EXPECT_EQ(ERROR_SUCCESS, SetDword(hKey, "x", 1));
    RegCloseKey(hKey);
    EXPECT_EQ(0, access((m_strDir + "/a_b/registry").c_str(), R_OK));
}

TEST_F(RegistryFiles, DamagedFileGivesWhatStillReadsAndIsWrittenClean)
{
    WriteFile("TBREGISTRY 1\n"
              "Stray=4:01000000\n"                                          // before any key
              "[Software\\Brand\\Terminal\\Settings]\n"
              "Good=4:02000000\n"
              "OddHex=3:ABC\n"
              "BadHex=3:ZZ\n"
              "HugeType=99999999999:00\n"
              "NoColon=4\n"
              "Bad%Escape=4:01000000\n"
              "Good=4:03000000\n"                                           // a second of one name: the first wins
              "Text=1:414200\r\n"
              "\x01\x02\xff garbage line without an equals sign\n"
              "[Software\\Brand\\..]\n"
              "Lost=4:01000000\n"
              "[Unclosed\n"
              "[Software\\Brand\\Terminal\\Settings]\n"                     // the same key again
              "Later=4:05000000\n"
              "Cut=1:4142");                                                // a last line cut short
    EXPECT_EQ(std::string("4:\x02\0\0\0", 6), Read(SETTINGS, "Good"));
    EXPECT_EQ(std::string("1:AB\0", 5), Read(SETTINGS, "Text"));
    EXPECT_EQ(std::string("4:\x05\0\0\0", 6), Read(SETTINGS, "Later"));
    EXPECT_EQ("1:AB", Read(SETTINGS, "Cut"));
    for (const char* pszGone : {"Stray", "OddHex", "BadHex", "HugeType", "NoColon", "Bad%Escape", "Lost"})
        EXPECT_EQ("missing", Read(SETTINGS, pszGone)) << pszGone;

    // The next write leaves a file that reads back whole.
    HKEY hKey = Create(SETTINGS);
    EXPECT_EQ(ERROR_SUCCESS, SetDword(hKey, "New", 9));
    RegCloseKey(hKey);
    const std::string strClean = ReadFile();
    EXPECT_EQ(std::string::npos, strClean.find("garbage"));
    EXPECT_EQ(std::string::npos, strClean.find("Stray"));
    EXPECT_EQ(std::string("4:\x09\0\0\0", 6), Read(SETTINGS, "New"));
    EXPECT_EQ(std::string("4:\x02\0\0\0", 6), Read(SETTINGS, "Good"));
}

TEST_F(RegistryFiles, FileCutAnywhereReadsAsItsCompleteLines)
{
    HKEY hKey = Create(SETTINGS);
    for (int i = 0; i < 6; ++i)
        ASSERT_EQ(ERROR_SUCCESS, SetDword(hKey, ("Value" + std::to_string(i)).c_str(), static_cast<DWORD>(i * 1000)));
    RegCloseKey(hKey);
    const std::string strWhole = ReadFile();
    for (size_t nCut = 0; nCut <= strWhole.size(); ++nCut) {
        const std::string strPart = strWhole.substr(0, nCut);
        WriteFile(strPart);
        for (int i = 0; i < 6; ++i) {
            const std::string strName = "Value" + std::to_string(i);
            const DWORD dwValue = static_cast<DWORD>(i * 1000);
            const std::string strLine = strName + "=4:";
            const size_t nLine = strWhole.find(strLine);
            // A value reads when its whole line survived the cut, and never as something else.
            const bool bWhole = nLine != std::string::npos && nCut >= nLine + strLine.size() + 8;
            const std::string strGot = Read(SETTINGS, strName.c_str());
            if (bWhole)
                EXPECT_EQ("4:" + std::string(reinterpret_cast<const char*>(&dwValue), 4), strGot) << "cut at " << nCut;
            else
                EXPECT_TRUE(strGot == "missing" || strGot.size() < 6) << "cut at " << nCut << ": " << strName;
        }
    }
}

TEST_F(RegistryFiles, TwoWritersOfOneFileLoseNothing)
{
    // Two handles of one key, writing in turn: each write reads the other's.
    HKEY hFirst = Create(SETTINGS), hSecond = Create(SETTINGS);
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(ERROR_SUCCESS, SetDword(hFirst, ("First" + std::to_string(i)).c_str(), static_cast<DWORD>(i)));
        ASSERT_EQ(ERROR_SUCCESS, SetDword(hSecond, ("Second" + std::to_string(i)).c_str(), static_cast<DWORD>(i)));
    }
    RegCloseKey(hFirst);
    RegCloseKey(hSecond);

    // Two processes writing at once.
    const int nEach = 60;
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        HKEY hChild = nullptr;
        DWORD dw = 0;
        int nFailed = RegCreateKeyExA(HKEY_CURRENT_USER, SETTINGS, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hChild, &dw);
        for (int i = 0; i < nEach; ++i)
            nFailed += SetDword(hChild, ("Child" + std::to_string(i)).c_str(), static_cast<DWORD>(i)) != ERROR_SUCCESS;
        _exit(nFailed == 0 ? 0 : 1);
    }
    HKEY hParent = Create(SETTINGS);
    for (int i = 0; i < nEach; ++i)
        EXPECT_EQ(ERROR_SUCCESS, SetDword(hParent, ("Parent" + std::to_string(i)).c_str(), static_cast<DWORD>(i)));
    RegCloseKey(hParent);
    int nStatus = 0;
    ASSERT_EQ(pid, waitpid(pid, &nStatus, 0));
    EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0);
    for (const char* pszStem : {"First", "Second"})
        for (int i = 0; i < 20; ++i)
            EXPECT_NE("missing", Read(SETTINGS, (pszStem + std::to_string(i)).c_str())) << pszStem << i;
    for (const char* pszStem : {"Child", "Parent"})
        for (int i = 0; i < nEach; ++i)
            EXPECT_NE("missing", Read(SETTINGS, (pszStem + std::to_string(i)).c_str())) << pszStem << i;
}
}  // namespace
