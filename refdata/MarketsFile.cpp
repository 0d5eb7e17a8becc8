// The market names cached in "Markets.zvt", so that names show before the server's market list
// arrives. One line per market: code "|" English name "|" Arabic name, CR LF at the end.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include "refdata/MarketListClient.h"
#include "refdata/ZorvatGlobals.h"

namespace {

// A name as one piece of a line: a line break would split the market in two, and a '|' in the
// English name would move the start of the Arabic one.
std::string LinePiece(LPCSTR pszName, bool bLastPiece)
{
    std::string piece(pszName != nullptr ? pszName : "");
    for (char& ch : piece) {
        if (ch == '\r' || ch == '\n' || (ch == '|' && !bLastPiece))
            ch = ' ';
    }
    return piece;
}

int ParseCode(const std::string& text)
{
    const long nCode = strtol(text.c_str(), nullptr, 10);
    if (nCode > INT_MAX)
        return INT_MAX;
    if (nCode < INT_MIN)
        return INT_MIN;
    return static_cast<int>(nCode);
}

// One line without its end (LF, CR LF or a lone CR left by another editor); false at the end.
bool ReadLine(FILE* pFile, std::string& line)
{
    line.clear();
    int ch = fgetc(pFile);
    if (ch == EOF)
        return false;
    for (; ch != EOF && ch != '\n'; ch = fgetc(pFile))
        line.push_back(static_cast<char>(ch));
    while (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

}  // namespace

CString CZorvatGlobals::GetMarketsFilePath() const
{
    if (m_pClient == nullptr)
        return m_strMarketsFile;
    CString strPath = m_pClient->GetProgramFolder();
    if (!strPath.IsEmpty())
        strPath += "/";
    strPath += m_strMarketsFile;
    return strPath;
}

void CZorvatGlobals::WriteMarketsFile() const
{
    FILE* pFile = fopen(GetMarketsFilePath(), "wb");
    if (pFile == nullptr)
        return;
    POSITION pos = m_englishNames.GetStartPosition();
    while (pos != nullptr) {
        int nCode = 0;
        CString strEnglish;
        m_englishNames.GetNextAssoc(pos, nCode, strEnglish);
        CString strArabic;
        if (!m_arabicNames.Lookup(nCode, strArabic))
            strArabic = strEnglish;
        const std::string english = LinePiece(strEnglish, false);
        const std::string arabic = LinePiece(strArabic, true);
        fprintf(pFile, "%d|%s|%s\r\n", nCode, english.c_str(), arabic.c_str());
    }
    fclose(pFile);
}

void CZorvatGlobals::ReadMarketsFile()
{
    m_englishNames.RemoveAll();
    m_arabicNames.RemoveAll();
    FILE* pFile = fopen(GetMarketsFilePath(), "rb");
    if (pFile == nullptr)
        return;
    std::string line;
    while (ReadLine(pFile, line)) {
        const size_t nFirst = line.find('|');
        if (nFirst == std::string::npos)
            continue;
        const int nCode = ParseCode(line.substr(0, nFirst));
        const size_t nSecond = line.find('|', nFirst + 1);
        std::string english, arabic;
        if (nSecond == std::string::npos) {
            english = arabic = line.substr(nFirst + 1);
        } else {
            english = line.substr(nFirst + 1, nSecond - nFirst - 1);
            arabic = line.substr(nSecond + 1);
        }
        m_englishNames[nCode] = english.c_str();
        m_arabicNames[nCode] = arabic.c_str();
    }
    fclose(pFile);
}
