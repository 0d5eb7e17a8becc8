#include "tools/testserver/Records.h"
#include <dirent.h>
#include <cerrno>
#include <fstream>

std::vector<std::string> SplitFields(const std::string& strLine)
{
    std::vector<std::string> out;
    size_t nStart = 0;
    for (;;) {
        const size_t n = strLine.find('|', nStart);
        out.push_back(strLine.substr(nStart, n == std::string::npos ? std::string::npos : n - nStart));
        if (n == std::string::npos)
            return out;
        nStart = n + 1;
    }
}

const std::vector<CRecord>& NoRecords()
{
    static const std::vector<CRecord> s_none;
    return s_none;
}

bool CRecordTables::LoadFile(const std::string& strTable, const std::string& strPath)
{
    std::ifstream in(strPath);
    if (!in)
        return false;
    std::vector<std::string> names;
    std::vector<CRecord>& rows = m_tables[strTable];
    rows.clear();
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '@') {
            names = SplitFields(line.substr(1));
            continue;
        }
        const std::vector<std::string> values = SplitFields(line);
        CRecord rec;
        for (size_t i = 0; i < names.size(); ++i)
            rec[names[i]] = i < values.size() ? values[i] : "";
        rows.push_back(std::move(rec));
    }
    return true;
}

bool CRecordTables::LoadFolder(const std::string& strFolder)
{
    DIR* pDir = opendir(strFolder.c_str());
    if (!pDir)
        return false;
    while (const dirent* pEntry = readdir(pDir)) {
        const std::string strName = pEntry->d_name;
        if (strName.size() > 4 && strName.compare(strName.size() - 4, 4, ".txt") == 0)
            LoadFile(strName.substr(0, strName.size() - 4), strFolder + "/" + strName);
    }
    closedir(pDir);
    return true;
}

const std::vector<CRecord>* CRecordTables::FindTable(const std::string& strName) const
{
    auto it = m_tables.find(strName);
    return it == m_tables.end() ? nullptr : &it->second;
}

CWireText::CWireText()
    : m_latin(iconv_open("CP1252", "UTF-8")), m_arabic(iconv_open("CP1256", "UTF-8"))
{
}

CWireText::~CWireText()
{
    if (m_latin != reinterpret_cast<iconv_t>(-1))
        iconv_close(m_latin);
    if (m_arabic != reinterpret_cast<iconv_t>(-1))
        iconv_close(m_arabic);
}

const std::string& CWireText::Convert(const std::string& strUtf8, bool bArabic) const
{
    bool bAscii = true;
    for (unsigned char ch : strUtf8)
        bAscii = bAscii && ch < 0x80;
    if (bAscii)
        return strUtf8;
    std::map<std::string, std::string>& done = m_done[bArabic ? 1 : 0];
    auto it = done.find(strUtf8);
    if (it != done.end())
        return it->second;
    // Texts come from the data and the model's few kinds of record; a bound keeps a long run small.
    if (done.size() > 100000)
        done.clear();
    return done.emplace(strUtf8, Iconv(strUtf8, bArabic)).first->second;
}

std::string CWireText::Iconv(const std::string& strUtf8, bool bArabic) const
{
    iconv_t cd = bArabic ? m_arabic : m_latin;
    if (cd == reinterpret_cast<iconv_t>(-1))
        return strUtf8;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    char* pIn = const_cast<char*>(strUtf8.data());
    size_t nIn = strUtf8.size();
    char buf[256];
    while (nIn > 0) {
        char* pOut = buf;
        size_t nOut = sizeof buf;
        const size_t r = iconv(cd, &pIn, &nIn, &pOut, &nOut);
        out.append(buf, static_cast<size_t>(pOut - buf));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            // Skip the whole UTF-8 character the code page cannot show.
            out += '?';
            do {
                ++pIn;
                --nIn;
            } while (nIn > 0 && (static_cast<unsigned char>(*pIn) & 0xC0) == 0x80);
        }
    }
    return out;
}
