#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

bool IsNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '.' || c == '/';
}

bool EndsWith(const std::string& str, const char* pszEnd)
{
    const std::string strEnd(pszEnd);
    return str.size() > strEnd.size() && str.compare(str.size() - strEnd.size(), strEnd.size(), strEnd) == 0;
}

}  // namespace

// A reader of the folder's README is sent to files by name: each must be there. A bare name is
// the folder's own file; a path is from the top of the tree.
TEST(TableEngineReadme, NamesOnlyFilesThatExist)
{
    const std::filesystem::path top(TB_SOURCE_DIR);
    std::ifstream in(top / "framework/table/README.md");
    ASSERT_TRUE(in.good());
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string strText = ss.str();
    int nNames = 0;
    for (size_t nAt = 0; nAt < strText.size();) {
        if (!IsNameChar(strText[nAt])) {
            ++nAt;
            continue;
        }
        size_t nEnd = nAt;
        while (nEnd < strText.size() && IsNameChar(strText[nEnd]))
            ++nEnd;
        std::string strName = strText.substr(nAt, nEnd - nAt);
        nAt = nEnd;
        while (!strName.empty() && (strName.back() == '.' || strName.back() == '/'))
            strName.pop_back();         // a sentence's full stop
        if (!EndsWith(strName, ".h") && !EndsWith(strName, ".cpp") && !EndsWith(strName, ".md"))
            continue;
        const std::filesystem::path file =
            strName.find('/') == std::string::npos ? top / "framework/table" / strName : top / strName;
        EXPECT_TRUE(std::filesystem::exists(file)) << strName;
        ++nNames;
    }
    EXPECT_GT(nNames, 10);
}
