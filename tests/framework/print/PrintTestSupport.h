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
#include "tests/framework/table/TableTestSupport.h"

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
    static std::string Symbol(int i);
    static const char* Sector(int i);
    // The symbols in the order the view shows them, computed from the rows as they were made.
    std::vector<std::string> ExpectedSymbols() const;
    int Rows() const { return m_nRows; }
    COwnedTable t;

private:
    int m_nRows;
};

// A UTF-8 text in a code page's bytes.
std::string ToCodePage(const std::string& strUtf8, UINT nCodePage);
// Only the PDF printer (and the test's virtual printers) are listed, whatever the machine has.
void UsePdfPrinterOnly();
// Text, numbers and the page count of a PDF file, through poppler's tools.
int PdfPageCount(const std::string& strPdf);
std::string PdfPageText(const std::string& strPdf, int nPage);       // -layout, from 1
std::string PdfPageBoxes(const std::string& strPdf, int nPage);      // -bbox HTML of one page
std::string RunCommand(const std::string& strCommand);
// The left edge (xMin) of the first word of a page that reads exactly strWord; -1 when absent.
double WordLeft(const std::string& strBoxes, const std::string& strWord);
std::vector<std::string> FindSymbols(const std::string& strText);    // "S0000" words in order

// The language module of a code page as the application's and the resources', with its reading
// direction and a settings file of the test's own; English again at the end.
class CPrintLanguage
{
public:
    explicit CPrintLanguage(int nCodePage = 1252);
    ~CPrintLanguage();
    CPrintLanguage(const CPrintLanguage&) = delete;
    CPrintLanguage& operator=(const CPrintLanguage&) = delete;

private:
    HMODULE m_hModule = nullptr;
    HMODULE m_hOldApp = nullptr;
    HINSTANCE m_hOldResources = nullptr;
    std::string m_strPath;
    CSettingsFile m_settings;
};

// A plain top-level window to hold a preview; Drain dispatches what is queued.
class CPrintTestParent
{
public:
    CPrintTestParent(int cx, int cy);
    ~CPrintTestParent();
    HWND m_hWnd = nullptr;
};
void Drain();
// <build>/screenshots/<name>.png
std::string ScreenshotPath(const char* pszName);

// A settings file of its own, section "Print".
struct CTestIni
{
    CTestIni();
    ~CTestIni();
    std::string m_strPath;
    CIni m_ini;
};
