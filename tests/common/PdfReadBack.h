#pragma once
// A printed PDF file read back through poppler's tools (pdfinfo, pdftotext), and the texts the
// printing tests put in and look for.
#include <string>
#include <vector>

#include "platform/win/Windows.h"

// The standard output of a shell command.
std::string RunCommand(const std::string& strCommand);
// The page count; -1 when the file cannot be read.
int PdfPageCount(const std::string& strPdf);
// One page's text laid out as printed (pages from 1); bLogical folds Arabic presentation forms
// back (NFKC) and drops the direction marks, so the text reads in logical order.
std::string PdfPageText(const std::string& strPdf, int nPage, bool bLogical = false);
std::string PdfPageBoxes(const std::string& strPdf, int nPage);      // -bbox HTML of one page
// The left edge (xMin) of the first word of a page that reads exactly strWord; -1 when absent.
double WordLeft(const std::string& strBoxes, const std::string& strWord);
// The words "S0000".."S9999" of a text, in order.
std::vector<std::string> FindSymbols(const std::string& strText);
// The rows the printing tests print: row i's symbol "S0000".. and sector "Sector A".."Sector E"
// (i % 5); the symbols of n rows in the order of a view sorted by sector, then by symbol.
std::string PrintedSymbol(int i);
std::string PrintedSector(int i);
std::vector<std::string> PrintedOrder(int nRows);
// A UTF-8 text in a code page's bytes.
std::string ToCodePage(const std::string& strUtf8, UINT nCodePage);
