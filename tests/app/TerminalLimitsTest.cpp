// What the README says the terminal does not do, one line of its list a row (named by the words
// the README says it with), checked against the tree and its English and Arabic resources: a row
// fails when its line becomes false, or when the README no longer says it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace {

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A resource's block: from the line that starts with its head ("<id> <KIND>") to the END that
// closes it at a line's start.
std::string Block(const std::string& strRc, const std::string& strHead)
{
    const size_t nAt = strRc.find("\n" + strHead);
    return nAt == std::string::npos ? "" : strRc.substr(nAt, strRc.find("\nEND", nAt) - nAt);
}

// The text of a string id, "" when the table has none.
std::string StringText(const std::string& strRc, int nId)
{
    const std::string strHead = "\n    " + std::to_string(nId) + ", \"";
    const size_t nAt = strRc.find(strHead);
    return nAt == std::string::npos ? "" : strRc.substr(nAt + strHead.size(), strRc.find("\"\n", nAt) - nAt - strHead.size());
}

bool Has(const std::string& str, const char* pszPart)
{
    return str.find(pszPart) != std::string::npos;
}

bool EndsWith(const std::string& str, const std::string& strEnd)
{
    return str.size() > strEnd.size() && str.compare(str.size() - strEnd.size(), strEnd.size(), strEnd) == 0;
}

// How many files of the tree (builds and the repository left out) pass the test.
int CountFiles(const std::function<bool(const std::filesystem::path&)>& test)
{
    int nCount = 0;
    for (auto it = std::filesystem::recursive_directory_iterator(TB_SOURCE_DIR); it != std::filesystem::end(it); ++it) {
        const std::string strName = it->path().filename().string();
        if (it->is_directory() && (strName.rfind("build", 0) == 0 || strName[0] == '.'))
            it.disable_recursion_pending();
        else if (it->is_regular_file() && test(it->path()))
            ++nCount;
    }
    return nCount;
}

bool IsCode(const std::filesystem::path& path)
{
    return path.extension() == ".cpp" || path.extension() == ".h";
}

// Under the folder of the tree, or a file whose path starts so ("orders/NewPlaceOrder").
bool Under(const std::filesystem::path& path, const char* pszFolder)
{
    return path.string().rfind(std::string(TB_SOURCE_DIR "/") + pszFolder, 0) == 0;
}

}  // namespace

TEST(TerminalLimits, EachLineOfWhatTheTerminalDoesNotDoHolds)
{
    // The README's words with its line breaks and indents as single blanks.
    std::string strReadme;
    for (const char ch : ReadText(TB_SOURCE_DIR "/README.md"))
        if (ch != '\n' && (ch != ' ' || strReadme.empty() || strReadme.back() != ' '))
            strReadme += ch;
        else if (!strReadme.empty() && strReadme.back() != ' ')
            strReadme += ' ';
    for (const char* pszRc : {"_1252.rc", "_1256.rc"}) {
        SCOPED_TRACE(pszRc);
        const std::string strRc = ReadText(std::string(TB_SOURCE_DIR "/resources/") + pszRc);
        const std::string strMainMenu = Block(strRc, "280 MENU");
        const std::string strFileMenu = strMainMenu.substr(0, strMainMenu.find("\n    POPUP", 20));
        const auto codeWith = [](const char* pszText, const char* pszFolder) {
            return CountFiles([&](const auto& p) {
                return IsCode(p) && Under(p, pszFolder) && Has(ReadText(p), pszText);
            });
        };
        const struct { const char* pszLine; std::function<bool()> holds; } lines[] = {
            {"It ships no help file", [] { return CountFiles([](const auto& p) { return p.extension() == ".chm"; }) == 0; }},
            {"say that the help file is not installed and where it was looked for", [&] { return EndsWith(StringText(strRc, 40412), "%s"); }},
            {"the only server in this tree is the simulator under `tools/testserver`",
             [&] { return codeWith("listen(", "") == codeWith("listen(", "tools/testserver") + codeWith("listen(", "tests"); }},
            {"The order ticket places new orders only.", [&] {
                 return codeWith("MSG_OM", "orders/NewPlaceOrder") + codeWith("MSG_KM", "orders/NewPlaceOrder") +
                            codeWith("MSG_OC", "orders/NewPlaceOrder") + codeWith("MSG_KC", "orders/NewPlaceOrder") == 0;
             }},
            {"a click on the order's Time or Order cell in the US or KSE order status window opens; no menu item opens it.",
             [&] { return codeWith("->OpenModifyOrder", "") - codeWith("->OpenModifyOrder", "tests") == 2; }},
            {"The File menu has Print setup but no Print",
             [&] { return Has(strFileMenu, ", 57606") && !Has(strFileMenu, ", 57607"); }},
            {"and no table's menu holds one",
             [&] { return !Has(Block(strRc, "104 MENU"), "57607") && !Has(Block(strRc, "251 MENU"), "57607"); }},
            {"the active table prints from the toolbar's Print button or with Ctrl+P.", [&] {
                 return Has(Block(strRc, "280 TOOLBAR"), "BUTTON 57607") &&
                        Has(Block(strRc, "280 ACCELERATORS"), "\"P\", 57607, VIRTKEY, CONTROL");
             }},
            {"The KSE parameters and KSE schedule dialogs number their values",
             [&] { return Has(Block(strRc, "7291 DIALOG"), " 7:\"") && Has(Block(strRc, "7292 DIALOG"), " 13:\""); }},
            {"show as their kind and number", [&] {
                 for (const auto& code : {std::pair{55066, " 4"}, {56807, " 3"}, {57069, " 1"}, {57251, " 1"},
                                          {41027, " 1"}, {57706, " 1"}, {57831, " 1"}})
                     if (!EndsWith(StringText(strRc, code.first), code.second))
                         return false;
                 return true;
             }},
        };
        for (const auto& line : lines) {
            EXPECT_TRUE(Has(strReadme, line.pszLine)) << "the README no longer says: " << line.pszLine;
            EXPECT_TRUE(line.holds()) << line.pszLine;
        }
    }
}

// The README's set-up by hand installs what scripts/setup installs: the block after its packages
// mark holds the script's own list, word for word.
TEST(TerminalLimits, TheReadmesPackagesAreTheOnesTheSetUpScriptInstalls)
{
    const std::string strReadme = ReadText(TB_SOURCE_DIR "/README.md"), strMark = "<!-- packages -->\n```\n";
    const size_t nFrom = strReadme.find(strMark);
    ASSERT_NE(std::string::npos, nFrom) << "the README shows no package list";
    auto words = [](std::istream&& in) {
        std::string strWord, strWords;
        while (in >> strWord)
            strWords += strWord + " ";
        return strWords;
    };
    std::string strListed;
    FILE* pList = popen(TB_SOURCE_DIR "/scripts/setup --list", "r");
    ASSERT_NE(nullptr, pList);
    for (char szLine[256]; fgets(szLine, sizeof szLine, pList) != nullptr;)
        strListed += szLine;
    EXPECT_EQ(0, pclose(pList));
    EXPECT_NE(std::string::npos, strListed.find("librapidcheck-dev"));
    const size_t nStart = nFrom + strMark.size();
    const std::string strShown = strReadme.substr(nStart, strReadme.find("```", nStart) - nStart);
    EXPECT_EQ(words(std::istringstream(strListed)), words(std::istringstream(strShown)));
}
