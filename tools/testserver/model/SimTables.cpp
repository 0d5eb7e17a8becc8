#include "tools/testserver/model/SimTables.h"
#include <fstream>

// Every file of the market and the columns the model reads from it; further columns are kept
// in the records for the server.
static const struct { const char* pszName; const char* pszColumns; } s_files[] = {
    {"markets", "code|name|name_ar|currency|scale|decimals|tick|opens|closes|state|commission|min_commission|"
                "exchange_fee|clearing_fee|limit_pct|unit"},
    {"ticks", "band|low|high|tick"},
    {"stocks", "id|symbol|name|name_ar|sector|prev_close|shares|ticker"},
    {"indices", "code|name|name_ar|base|sector"},
    {"us_indices", "symbol|board|market|name|name_ar|base"},
    {"forwards", "stock|series|months|premium"},
    {"us_symbols", "symbol|market|name|name_ar|prev_close|eps|chain|ticker"},
    {"options", "underlying|right|strike|expiry"},
    {"currencies", "currency|name|name_ar|decimals|kwd"},
    {"rates", "from|to|rate|bid|ask"},
    {"interest", "currency|type|rate"},
    {"schedule", "market|state|time|text|text_ar"},
    {"holidays", "date|market|name|name_ar"},
    {"countries", "code|name|name_ar"},
    {"news", "id|lang|minute|market|symbol|headline|story"},
    {"events", "id|date|market|symbol|kind|value|shares|value2|record_date|text"},
    {"errors", "code|text|text_ar"},
    {"portfolios", "user|kind|market|symbol|quantity|price"},
};

static std::vector<std::string> Split(const std::string& strLine)
{
    std::vector<std::string> parts;
    size_t nStart = 0;
    for (;;) {
        const size_t nBar = strLine.find('|', nStart);
        parts.push_back(strLine.substr(nStart, nBar == std::string::npos ? std::string::npos : nBar - nStart));
        if (nBar == std::string::npos)
            return parts;
        nStart = nBar + 1;
    }
}

bool CSimTables::ReadFile(const std::string& strPath, CSimTable& table, std::string* pstrError)
{
    table = CSimTable();
    std::ifstream in(strPath);
    if (!in) {
        *pstrError = strPath + ": cannot be read";
        return false;
    }
    std::string strLine;
    for (int nLine = 1; std::getline(in, strLine); ++nLine) {
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        if (strLine.empty() || strLine[0] == '#')
            continue;
        std::vector<std::string> parts = Split(strLine);
        if (table.columns.empty()) {
            table.columns = std::move(parts);
            continue;
        }
        if (parts.size() != table.columns.size()) {
            *pstrError = strPath + ":" + std::to_string(nLine) + ": " + std::to_string(parts.size()) + " fields, the header has " +
                         std::to_string(table.columns.size());
            return false;
        }
        CSimRecord rec;
        for (size_t i = 0; i < parts.size(); ++i)
            rec.emplace(table.columns[i], std::move(parts[i]));
        table.rows.push_back(std::move(rec));
    }
    if (table.columns.empty()) {
        *pstrError = strPath + ": no header line";
        return false;
    }
    return true;
}

bool CSimTables::Load(const std::string& strFolder, std::string* pstrError)
{
    m_tables.clear();
    for (const auto& f : s_files) {
        CSimTable table;
        if (!ReadFile(strFolder + "/" + f.pszName + ".txt", table, pstrError))
            return false;
        for (const std::string& strColumn : Split(f.pszColumns)) {
            bool bFound = false;
            for (const std::string& strHave : table.columns)
                bFound = bFound || strHave == strColumn;
            if (!bFound) {
                *pstrError = strFolder + "/" + f.pszName + ".txt: no column " + strColumn;
                return false;
            }
        }
        m_tables.emplace_back(f.pszName, std::move(table));
    }
    return true;
}

const CSimTable& CSimTables::Get(const std::string& strName) const
{
    static const CSimTable s_empty;
    for (const auto& entry : m_tables)
        if (entry.first == strName)
            return entry.second;
    return s_empty;
}
