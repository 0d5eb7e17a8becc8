#include "tests/common/PdfReadBack.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/win/kernel/CodePage.h"

std::string RunCommand(const std::string& strCommand)
{
    std::string strOut;
    FILE* pPipe = popen(strCommand.c_str(), "r");
    if (!pPipe)
        return strOut;
    char szBuffer[4096];
    size_t n;
    while ((n = fread(szBuffer, 1, sizeof(szBuffer), pPipe)) > 0)
        strOut.append(szBuffer, n);
    pclose(pPipe);
    return strOut;
}

int PdfPageCount(const std::string& strPdf)
{
    const std::string strInfo = RunCommand("pdfinfo '" + strPdf + "' 2>/dev/null");
    const size_t nAt = strInfo.find("Pages:");
    return nAt == std::string::npos ? -1 : atoi(strInfo.c_str() + nAt + 6);
}

std::string PdfPageText(const std::string& strPdf, int nPage, bool bLogical)
{
    const std::string strPage = std::to_string(nPage);
    const std::string strText = "pdftotext -layout -f " + strPage + " -l " + strPage + " '" + strPdf + "' - 2>/dev/null";
    if (!bLogical)
        return RunCommand(strText);
    return RunCommand(strText + " | python3 -c \"import sys, unicodedata; t = unicodedata.normalize('NFKC', "
                      "sys.stdin.read()); sys.stdout.write(''.join(c for c in t if c not in "
                      "'\\u200e\\u200f\\u061c\\u202a\\u202b\\u202c\\u202d\\u202e\\u2066\\u2067\\u2068\\u2069'))\"");
}

std::string PdfPageBoxes(const std::string& strPdf, int nPage)
{
    std::string strPage = std::to_string(nPage);
    return RunCommand("pdftotext -bbox -f " + strPage + " -l " + strPage + " '" + strPdf + "' - 2>/dev/null");
}

double WordLeft(const std::string& strBoxes, const std::string& strWord)
{
    const size_t nWord = strBoxes.find(">" + strWord + "</word>");
    const size_t nAt = nWord == std::string::npos ? nWord : strBoxes.rfind("xMin=\"", nWord);
    return nAt == std::string::npos ? -1 : atof(strBoxes.c_str() + nAt + 6);
}

static bool IsWordChar(char ch)
{
    return isalnum(static_cast<unsigned char>(ch)) || ch == '_';
}

std::vector<std::string> FindSymbols(const std::string& strText)
{
    std::vector<std::string> symbols;
    for (size_t i = 0; i + 5 <= strText.size(); ++i) {
        if (strText[i] != 'S' || (i > 0 && IsWordChar(strText[i - 1])))
            continue;
        bool bDigits = true;
        for (size_t k = 1; k <= 4; ++k)
            bDigits = bDigits && isdigit(static_cast<unsigned char>(strText[i + k]));
        if (bDigits && (i + 5 == strText.size() || !IsWordChar(strText[i + 5])))
            symbols.push_back(strText.substr(i, 5));
    }
    return symbols;
}

std::string PrintedSymbol(int i)
{
    char sz[16];
    snprintf(sz, sizeof(sz), "S%04d", i);
    return sz;
}

std::string PrintedSector(int i)
{
    return "Sector " + std::string(1, static_cast<char>('A' + i % 5));
}

std::vector<std::string> PrintedOrder(int nRows)
{
    std::vector<std::pair<std::string, std::string>> rows;
    for (int i = 0; i < nRows; ++i)
        rows.emplace_back(PrintedSector(i), PrintedSymbol(i));
    std::sort(rows.begin(), rows.end());
    std::vector<std::string> symbols;
    for (const auto& row : rows)
        symbols.push_back(row.second);
    return symbols;
}

std::string ToCodePage(const std::string& strUtf8, UINT nCodePage)
{
    int nWide = MultiByteToWideChar(CP_UTF8, 0, strUtf8.c_str(), -1, nullptr, 0);
    std::vector<WCHAR> wide(static_cast<size_t>(nWide > 0 ? nWide : 1));
    MultiByteToWideChar(CP_UTF8, 0, strUtf8.c_str(), -1, wide.data(), nWide);
    int nBytes = WideCharToMultiByte(nCodePage, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    std::string strOut(static_cast<size_t>(nBytes > 0 ? nBytes : 1), '\0');
    WideCharToMultiByte(nCodePage, 0, wide.data(), -1, strOut.data(), nBytes, nullptr, nullptr);
    strOut.resize(strlen(strOut.c_str()));
    return strOut;
}
