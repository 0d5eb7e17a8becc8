#pragma once
// What the market tables' end-to-end tests share: where pictures go, a table of the running
// terminal by its name id, a table's main window pictured, and the cache files in a folder.
#include <string>
#include <vector>
#include "market/DataTable.h"
#include "market/TableLinks.h"

// <build>/screenshots/<name>.png, the folder made when missing.
std::string ScreenshotPath(const std::string& strName);
// The files of the folder whose names start with the stem, sorted.
std::vector<std::string> CacheFiles(const std::string& strFolder, const std::string& strStem);
// The table's main window shown and pictured under the name.
void Shoot(CDataTable* pTable, const std::string& strName);

template <class TTable>
TTable* Find(UINT nNameId)
{
    return dynamic_cast<TTable*>(FindDataTable(nNameId));
}

