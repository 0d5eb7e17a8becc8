#pragma once
// Checks a session's received lines the way the terminal reads them: each line parsed by the
// product's CServerMessage in mode 1 and looked up in its type table, against a table of the
// fields the terminal's readers read, the stream rules and the numbers the replies echo.
#include <map>
#include <string>
#include <vector>

struct CWireChecker
{
    // What the request of each link number asked: its mnemonic and its header number.
    struct Request { std::string strMnemonic, strNumber; };
    std::map<long, Request> requests;
    // Forced error codes by mnemonic (--fail): such a reply must carry the code, not 0.
    std::map<std::string, long> fails;
    // Every fault found, one text each, with the line it was found on.
    std::vector<std::string> faults;
    // How many typed lines of each mnemonic, and rows in all.
    std::map<std::string, int> counts;
    int nRows = 0;

    void Check(const std::vector<std::string>& lines);
private:
    void Fault(const std::string& strWhat, const std::string& line) { faults.push_back(strWhat + ": " + line); }
};
