#pragma once
// One terminal's connection in the direct socket mode: LF-terminated lines, the "X9" key
// exchange, and from its accept on every byte through Twofish with '-' padding.
#include <cstdio>
#include <string>
#include <vector>
#include "tools/testserver/Script.h"
#include "tools/testserver/ServerCrypto.h"

struct ServerOptions
{
    std::string strScenario = "normal";   // which misbehaviour to show, "normal" for none
    size_t nSplit = 0;                    // write replies in pieces of this many bytes (0: whole)
    long nStreamLines = 1000000;          // scenario "stream": quotation lines after the accept
    int nRsaBits = 256;
    FILE* pLog = nullptr;                 // every line in and out, for a test that fails
};

class CSession
{
public:
    CSession(int fd, const CScript& script, const ServerOptions& options, const CServerRsa& rsa);
    ~CSession();
    // Reads what the socket has; false when the peer closed or the session ended itself.
    bool OnReadable();
    int Socket() const { return m_fd; }
private:
    void OnLine(const std::string& line);
    void OnKeyExchange(long nNumber, const std::vector<std::string>& fields);
    void Send(const std::vector<std::string>& lines, bool bThenEncrypt = false,
              const std::vector<std::string>& after = {});
    void WriteAll(const std::string& bytes);
    void StreamQuotes();
    void Log(const char* pszDir, const std::string& line);
    static std::string StripPadding(const std::string& plain);

    int m_fd;
    const CScript& m_script;
    const ServerOptions& m_options;
    const CServerRsa& m_rsa;
    CServerCipher m_cipher;
    bool m_bEncrypted = false;
    bool m_bClose = false;
    std::string m_carry;       // cipher bytes short of a block
    std::string m_line;        // plain bytes short of a line
};
