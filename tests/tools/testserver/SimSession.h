#pragma once
// A terminal's session against the simulated server, for the tests: the server started with
// the options given, the hello, the market list, the key exchange, the error texts, the login
// and the requests that follow it as the terminal sends them, every line kept for the checker.
#include <string>
#include <vector>
#include "WireChecker.h"
#include "tools/testserver/client/SimClient.h"

struct CSimSession
{
    CSimServerProcess server;
    CSimClient client;
    CWireChecker checker;
    std::vector<std::string> lines;     // every line received after the key exchange's
    int nRequests = 0;

    // Starts the server (a run time of 30 s, the market still unless the options say otherwise).
    bool Start(const std::vector<std::string>& options);
    // Connects and runs the handshake up to the login dialog: hello, market list, key
    // exchange, session times and error texts (in English, or Arabic with strLanguage "1").
    bool Handshake(const std::string& strLanguage = "0");
    // A request with a header number of its own, so that its reply's echo can be checked.
    long Request(const std::string& strMnemonic, const std::string& strBody);
    // The login and the requests the terminal sends after it, by the user's role and levels.
    void LoginAndLoad(const std::string& strUser, const std::string& strPassword, int nRole, int nKseLevel,
                      const std::string& strNumber, const std::string& strAccount);
    // Reads until nMs pass without a line.
    void Drain(int nMs = 300);
    // The received lines that start with strPrefix.
    std::vector<std::string> Lines(const std::string& strPrefix) const;
};
