#pragma once
// What the server answers, read from text files under data/ so that tests and the demo can
// change the replies without recompiling.
//
// session.txt: "[MN]" starts the reply to requests of mnemonic MN; each following line is one
// reply line. "{N}" becomes the request's number, "{F0}".."{F9}" its data fields. '#' lines are
// comments. accounts.txt: "user|password|section" picks the login reply section for a user.
#include <map>
#include <string>
#include <vector>

class CScript
{
public:
    bool Load(const std::string& folder, const std::string& strAccounts);
    // The reply lines of a section with the request's number and fields put in; empty when the
    // section does not exist (the server stays silent).
    std::vector<std::string> Reply(const std::string& section, long nNumber,
                                   const std::vector<std::string>& fields) const;
    bool HasSection(const std::string& section) const { return m_sections.count(section) != 0; }
    // The reply section for a login, "UL-refused" when the user or password does not match.
    std::string LoginSection(const std::string& user, const std::string& password) const;
private:
    std::map<std::string, std::vector<std::string>> m_sections;
    struct Account { std::string password, section; };
    std::map<std::string, Account> m_accounts;
};
