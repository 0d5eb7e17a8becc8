#include "tools/testserver/Script.h"
#include <fstream>

static bool ReadLines(const std::string& path, std::vector<std::string>& lines)
{
    std::ifstream in(path);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return true;
}

bool CScript::Load(const std::string& folder, const std::string& strAccounts)
{
    std::vector<std::string> lines;
    if (!ReadLines(folder + "/session.txt", lines))
        return false;
    std::vector<std::string>* pCurrent = nullptr;
    for (const std::string& line : lines) {
        if (line.empty() || line[0] == '#')
            continue;
        if (line.size() > 2 && line.front() == '[' && line.back() == ']')
            pCurrent = &m_sections[line.substr(1, line.size() - 2)];
        else if (pCurrent)
            pCurrent->push_back(line);
    }
    lines.clear();
    if (ReadLines(strAccounts, lines)) {
        for (const std::string& line : lines) {
            if (line.empty() || line[0] == '#')
                continue;
            const size_t a = line.find('|'), b = line.find('|', a == std::string::npos ? a : a + 1);
            if (a == std::string::npos || b == std::string::npos)
                continue;
            m_accounts[line.substr(0, a)] = {line.substr(a + 1, b - a - 1), line.substr(b + 1)};
        }
    }
    return true;
}

std::vector<std::string> CScript::Reply(const std::string& section, long nNumber,
                                        const std::vector<std::string>& fields) const
{
    std::vector<std::string> out;
    auto it = m_sections.find(section);
    if (it == m_sections.end())
        return out;
    for (const std::string& tmpl : it->second) {
        std::string line;
        for (size_t i = 0; i < tmpl.size(); ++i) {
            if (tmpl.compare(i, 3, "{N}") == 0) {
                line += std::to_string(nNumber);
                i += 2;
            } else if (i + 3 < tmpl.size() && tmpl[i] == '{' && tmpl[i + 1] == 'F' &&
                       tmpl[i + 2] >= '0' && tmpl[i + 2] <= '9' && tmpl[i + 3] == '}') {
                const size_t k = static_cast<size_t>(tmpl[i + 2] - '0');
                if (k < fields.size())
                    line += fields[k];
                i += 3;
            } else {
                line += tmpl[i];
            }
        }
        out.push_back(line);
    }
    return out;
}

std::string CScript::LoginSection(const std::string& user, const std::string& password) const
{
    auto it = m_accounts.find(user);
    if (it == m_accounts.end() || it->second.password != password)
        return "UL-refused";
    return it->second.section;
}
