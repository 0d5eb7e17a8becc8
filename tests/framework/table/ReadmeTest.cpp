#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

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
    const std::regex name(R"([A-Za-z0-9_./]+\.(h|cpp|md))");
    int nNames = 0;
    for (auto it = std::sregex_iterator(strText.begin(), strText.end(), name); it != std::sregex_iterator(); ++it) {
        const std::string strName = it->str();
        const std::filesystem::path file =
            strName.find('/') == std::string::npos ? top / "framework/table" / strName : top / strName;
        EXPECT_TRUE(std::filesystem::exists(file)) << strName;
        ++nNames;
    }
    EXPECT_GT(nNames, 10);
}
