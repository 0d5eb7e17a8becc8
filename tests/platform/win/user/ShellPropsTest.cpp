// What the hyperlinks stand on: atoms, window properties, the shell's open of an address (seen
// through the recording, never handed to a browser) and help files that may be missing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/win/kernel/Atoms.h"
#include "platform/win/kernel/Shell.h"
#include "platform/win/user/Props.h"
#include "tests/platform/win/user/ControlTestSupport.h"

namespace {
TEST(Atoms, NamesAreCountedAndCompareWithoutCase)
{
    const char* pszName = "_Link_Object_Pointer_{1234}";
    const ATOM nAtom = GlobalAddAtomA(pszName);
    ASSERT_GE(nAtom, MAXINTATOM);
    EXPECT_EQ(nAtom, GlobalAddAtomA("_link_object_POINTER_{1234}"));
    EXPECT_EQ(nAtom, GlobalFindAtomA(pszName));
    char szName[64];
    EXPECT_EQ(std::string(pszName).size(), GlobalGetAtomNameA(nAtom, szName, sizeof szName));
    EXPECT_STREQ(pszName, szName);
    EXPECT_EQ(5u, GlobalGetAtomNameA(nAtom, szName, 6));         // cut to the buffer
    EXPECT_STREQ("_Link", szName);
    // Two adds, two deletes: only the second takes it away.
    EXPECT_EQ(0, GlobalDeleteAtom(nAtom));
    EXPECT_EQ(nAtom, GlobalFindAtomA(pszName));
    EXPECT_EQ(0, GlobalDeleteAtom(nAtom));
    EXPECT_EQ(0, GlobalFindAtomA(pszName));
    EXPECT_EQ(nAtom, GlobalDeleteAtom(nAtom));
    // Integer atoms are themselves.
    EXPECT_EQ(123, GlobalAddAtomA("#123"));
    EXPECT_EQ(123, GlobalAddAtomA(MAKEINTATOM(123)));
    EXPECT_EQ(0, GlobalAddAtomA(""));
    EXPECT_EQ(0, GlobalAddAtomA(std::string(256, 'x').c_str()));
}

TEST(WindowProperties, SetByNameFoundByAtomAndGoneWithTheWindow)
{
    HWND hWnd = CreateControlParent();
    const ATOM nAtom = GlobalAddAtomA("_Link_Test_Property_");
    int nData = 7, nOther = 8;
    EXPECT_EQ(nullptr, GetPropA(hWnd, "_Link_Test_Property_"));
    EXPECT_TRUE(SetPropA(hWnd, MAKEINTATOM(nAtom), &nData));
    EXPECT_EQ(&nData, GetPropA(hWnd, "_LINK_test_property_"));
    EXPECT_TRUE(SetPropA(hWnd, "_Link_Test_Property_", &nOther));       // replaces
    EXPECT_EQ(&nOther, GetPropA(hWnd, MAKEINTATOM(nAtom)));
    EXPECT_TRUE(SetPropA(hWnd, "Second", &nData));
    EXPECT_EQ(&nOther, RemovePropA(hWnd, MAKEINTATOM(nAtom)));
    EXPECT_EQ(nullptr, GetPropA(hWnd, MAKEINTATOM(nAtom)));
    EXPECT_EQ(nullptr, RemovePropA(hWnd, MAKEINTATOM(nAtom)));
    EXPECT_EQ(&nData, GetPropA(hWnd, "Second"));
    EXPECT_FALSE(SetPropA(hWnd, "", &nData));
    EXPECT_FALSE(SetPropA(hWnd, MAKEINTATOM(0xFFF0), &nData));          // an atom nobody added
    DestroyWindow(hWnd);
    EXPECT_FALSE(SetPropA(hWnd, "Second", &nData));
    EXPECT_EQ(nullptr, GetPropA(hWnd, "Second"));
    GlobalDeleteAtom(nAtom);
}

class ShellOpen : public ::testing::Test
{
protected:
    void SetUp() override { TbRecordShellOpens(TRUE); }
    void TearDown() override { TbRecordShellOpens(FALSE); }
    static BOOL Open(LPCSTR pszFile, LPCSTR pszVerb = "open", INT_PTR* pnInstApp = nullptr)
    {
        SHELLEXECUTEINFOA info = {};
        info.cbSize = sizeof info;
        info.lpVerb = pszVerb;
        info.lpFile = pszFile;
        info.nShow = 1;
        const BOOL bResult = ShellExecuteExA(&info);
        if (pnInstApp)
            *pnInstApp = reinterpret_cast<INT_PTR>(info.hInstApp);
        return bResult;
    }
    static std::string Taken()
    {
        std::string str;
        return TbTakeShellOpen(&str) ? str : "(none)";
    }
};

TEST_F(ShellOpen, AddressesAndFilesGoToTheDesktopOthersDoNot)
{
    INT_PTR nInstApp = 0;
    EXPECT_TRUE(Open("https://www.example.com/version?v=8", "open", &nInstApp));
    EXPECT_GT(nInstApp, 32);
    EXPECT_TRUE(Open("HTTP://example.com", nullptr));
    EXPECT_TRUE(Open("mailto:support@example.com", ""));
    EXPECT_EQ("https://www.example.com/version?v=8", Taken());
    EXPECT_EQ("HTTP://example.com", Taken());
    EXPECT_EQ("mailto:support@example.com", Taken());
    EXPECT_EQ("(none)", Taken());

    // Not opened: other schemes, bare words, options, control characters, other verbs, no file.
    for (const char* pszBad : {"javascript:alert(1)", "file:///etc/passwd", "www.example.com", "-x", "http://",
                               "https://a\nb", "https://a\x7f", "/no/such/file.txt", ""}) {
        EXPECT_FALSE(Open(pszBad, "open", &nInstApp)) << pszBad;
        EXPECT_LE(nInstApp, 32) << pszBad;
    }
    EXPECT_FALSE(Open("https://example.com", "print"));
    EXPECT_FALSE(ShellExecuteExA(nullptr));
    EXPECT_EQ("(none)", Taken());

    // An existing file by its absolute path.
    char szPath[] = "/tmp/tb_shell_XXXXXX";
    const int fd = mkstemp(szPath);
    ASSERT_GE(fd, 0);
    close(fd);
    EXPECT_TRUE(Open(szPath));
    EXPECT_EQ(szPath, Taken());
    unlink(szPath);
}

TEST_F(ShellOpen, HelpOfAMissingFileDoesNothing)
{
    EXPECT_EQ(nullptr, HtmlHelpA(nullptr, "/no/such/folder/help.chm", HH_DISPLAY_TOPIC, 0));
    EXPECT_EQ(nullptr, HtmlHelpA(nullptr, "/no/such/folder/help.chm::/index.htm", HH_HELP_CONTEXT, 5));
    EXPECT_EQ(nullptr, HtmlHelpA(nullptr, nullptr, HH_DISPLAY_TOPIC, 0));
    EXPECT_EQ("(none)", Taken());
    char szPath[] = "/tmp/tb_help_XXXXXX";
    const int fd = mkstemp(szPath);
    ASSERT_GE(fd, 0);
    close(fd);
    EXPECT_EQ(nullptr, HtmlHelpA(nullptr, (std::string(szPath) + "::/topic.htm").c_str(), HH_DISPLAY_TOPIC, 0));
    EXPECT_EQ(szPath, Taken());
    EXPECT_EQ(nullptr, HtmlHelpA(nullptr, szPath, HH_CLOSE_ALL, 0));
    EXPECT_EQ("(none)", Taken());
    unlink(szPath);
}
}  // namespace
