#pragma once
// What the printing tests share: a holdings-like table of texts, integers, prices and values,
// grouped by sector with sums and some rows marked; the PDF printer as the only printer; and
// the poppler tools that read a printed file back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/base/Ini.h"
#include "framework/base/SettingsFile.h"
#include "framework/print/TablePrint.h"
#include "framework/table/ViewRow.h"
#include "platform/win/spool/Printers.h"
#include "tests/common/PdfReadBack.h"
#include "tests/framework/table/TableTestSupport.h"
#include "tests/framework/window/GridTestSupport.h"

enum { PT_SYMBOL, PT_NAME, PT_SECTOR, PT_QTY, PT_PRICE, PT_VALUE, PT_COLUMNS };

// Row i: symbol "S0000".., a name, sector "Sector A".."Sector E" by i % 5, quantity i, price
// 10 + (i % 8) / 8 shown with up to three decimals (10.5, 10.125), value quantity * price.
// Sorted by sector and symbol and grouped by sector, with group sums and a grand total; every
// 50th row is marked.
class CPrintTable
{
public:
    explicit CPrintTable(int nRows, BOOL bGroups = TRUE);
    CViewTable& View() { return t.View(0); }
    COwnedTable t;
};

// Only the PDF printer (and the test's virtual printers) are listed, whatever the machine has.
void UsePdfPrinterOnly();

// A window to hold a preview, Drain and ScreenshotPath: the window tests' (WindowTestSupport.h).

// A settings file of its own, section "Print".
struct CTestIni
{
    CTestIni();
    ~CTestIni();
    std::string m_strPath;
    CIni m_ini;
};
