#pragma once
// The market's data files, read once: each file is '|'-separated text whose first line that is
// not a '#' comment names the columns; every later line is one record under those names. The
// list of files and the columns each must have is one table in SimTables.cpp.
#include <string>
#include <vector>
#include "tools/testserver/model/SimRecord.h"

struct CSimTable
{
    std::vector<std::string> columns;
    std::vector<CSimRecord> rows;
};

class CSimTables
{
public:
    // Reads every file of the list from strFolder; false with a message naming the file and
    // line when a file is missing, lacks a column or has a row of the wrong width.
    bool Load(const std::string& strFolder, std::string* pstrError);
    // The rows of a file by its name without ".txt" ("stocks"); an empty table for an unknown name.
    const CSimTable& Get(const std::string& strName) const;
    // Reads one file; public for the tests of the format.
    static bool ReadFile(const std::string& strPath, CSimTable& table, std::string* pstrError);
private:
    std::vector<std::pair<std::string, CSimTable>> m_tables;
};
