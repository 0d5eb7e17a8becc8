#pragma once
// The server's command line: one table names every option, its value and what it sets, so the
// parser and --help cannot drift apart.
#include <cstdio>
#include <map>
#include <string>

struct ServerOptions
{
    int nPort = 0;
    std::string strData;                  // folder with the data files
    std::string strAccounts;              // the users' file, when not the data folder's
    std::string AccountsFile() const { return strAccounts.empty() ? strData + "/accounts.txt" : strAccounts; }
    std::string strScenario = "normal";   // which misbehaviour to show, "normal" for none
    std::string strScenarioArg;           // what follows '=' in "--scenario name=arg"
    size_t nSplit = 0;                    // write replies in pieces of this many bytes (0: whole)
    long nStreamLines = 1000000;          // scenario "stream": quotation lines after the accept
    int nRsaBits = 256;
    unsigned long nSeed = 1;
    std::string strClock = "2026-12-07 09:30:00";   // Kuwait time the simulated clock starts at
    double dRate = 20;                    // live lines per second; 0 stops the market
    std::map<std::string, long> fails;    // forced error code by request mnemonic
    double dRunTime = 600;
    double dIdleTime = 60;
    std::string strState;                 // every account's state written here after each request
    FILE* pLog = nullptr;                 // every line in and out, for a test that fails
    bool IsScenario(const char* pszName) const { return strScenario == pszName; }
};

// Fills the options from argv. Returns -1 to go on, else the exit code (0 after --help, 2 for a
// refused option; the reason is on stderr).
int ParseOptions(int argc, char** argv, ServerOptions& options);
