#pragma once
// The reader of our resource files: a small subset of the resource-script language, stored as
// UTF-8. It takes STRINGTABLE blocks ("BEGIN  id, "text"  END", or with braces), DIALOG and
// DIALOGEX templates, MENU and ACCELERATORS blocks (ResourceTemplates.cpp), and steps over
// every other statement (a header line naming a file, or a header with a BEGIN..END block,
// nested blocks included), so that sections added later never break an older reader.
// Comments (// and /* */) and preprocessor lines are skipped.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/WinTypes.h"
#include "platform/win/kernel/ResourceTemplates.h"

class CResourceScript
{
public:
    // FALSE when the file cannot be read. Faults inside it are collected and the rest is kept.
    BOOL LoadFile(const char* pszPath);
    void Parse(std::string_view text);

    // Texts by id, still UTF-8. An id given twice keeps its first text.
    const std::map<UINT, std::string>& GetStrings() const { return m_strings; }
    // Entries that name a file ("300 BITMAP "grid.png""), keyed by the upper-cased type and the
    // name ("#300" for a number, the word itself otherwise); the file text as written.
    const std::map<std::string, std::string>& GetFiles() const { return m_files; }
    // Dialogs, menus and accelerator tables, texts still UTF-8.
    const TbResourceTemplates& GetTemplates() const { return m_templates; }
    // One line per fault found ("line 12: ..."); empty for a clean file.
    const std::vector<std::string>& GetErrors() const { return m_errors; }

    struct Token;       // the tokenizer's output, read by the statement readers

private:
    // Dialogs, menus and accelerators (ResourceTemplates.cpp): TRUE when the statement at i is
    // one, which is then read and i moved past it.
    BOOL ParseTemplate(const std::vector<Token>& tokens, size_t& i);
    void ParseStringTable(const std::vector<Token>& tokens, size_t& i);
    void SkipStatement(const std::vector<Token>& tokens, size_t& i);
    void AddError(int nLine, const char* pszWhat);
    static bool IsStringTableWord(const Token& token);

    std::map<UINT, std::string> m_strings;
    std::map<std::string, std::string> m_files;
    std::vector<std::string> m_errors;
    TbResourceTemplates m_templates;
};

// The name of a numbered entry: "#300".
std::string NumberedName(unsigned long long ullId);
// The key of a file entry: "BITMAP/#300", "CURSOR/HANDCUR".
std::string ResourceFileKey(const char* pszType, const std::string& strName);
