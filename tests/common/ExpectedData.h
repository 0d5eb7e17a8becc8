#pragma once
// Known answers that a Python script wrote once into a text file of the source tree: one case a
// line, its kind the first character, its fields split at '|' (a trailing '|' gives an empty last
// field). Lines of other kinds are skipped.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

inline std::vector<std::vector<std::string>> ReadExpectedRows(const std::string& strRelativePath, char chKind)
{
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(std::string(TB_SOURCE_DIR) + "/" + strRelativePath);
    for (std::string strLine; std::getline(in, strLine);) {
        if (strLine.empty() || strLine[0] != chKind)
            continue;
        std::vector<std::string> fields;
        std::stringstream line(strLine);
        for (std::string strField; std::getline(line, strField, '|');)
            fields.push_back(strField);
        if (strLine.back() == '|')
            fields.push_back("");
        rows.push_back(fields);
    }
    return rows;
}
