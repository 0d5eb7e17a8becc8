// The workspace file a user's name makes: plain characters only, always in the program folder.
#include <gtest/gtest.h>
#include <string>
#include "AppTestSupport.h"
#include "app/ZorvatApp.h"

TEST(UserWorkspaceFile, KeepsPlainCharactersInTheProgramFolder)
{
    const struct { const char* pszName; int nNumber; const char* pszExpected; } cases[] = {
        {"Ahmad Al Sabah", 7, "/p/AhmadAlS.wsp"},
        {"../../etc/passwd", 7, "/p/etcpassw.wsp"},
        {"/root", 7, "/p/root.wsp"},
        {"a|b\nc\td", 7, "/p/abcd.wsp"},
        {"\xC7\xE1\xD3\xE1\xC7\xE3", 1001, "/p/1001.wsp"},   // Arabic letters only: the number
        {"", 42, "/p/42.wsp"},
        {"x-_y.z", 3, "/p/x-_yz.wsp"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.pszExpected, std::string(CZORVAT32App::MakeUserWorkspaceFile("/p/", c.pszName, c.nNumber, "wsp")))
            << c.pszName;
}
