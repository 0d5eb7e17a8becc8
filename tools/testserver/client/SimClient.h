#pragma once
// A terminal's side of the wire for the server's own tests and benchmark: starts the server,
// connects, runs the key exchange and sends and reads lines. Built on nettle and GMP like the
// server, not on the product, so that it checks the server and not itself.
#include <sys/types.h>
#include <string>
#include <vector>
#include "tools/testserver/ServerCrypto.h"

// The server as a child process on a free loopback port, stopped by the destructor.
class CSimServerProcess
{
public:
    CSimServerProcess() = default;
    ~CSimServerProcess() { Stop(); }
    CSimServerProcess(const CSimServerProcess&) = delete;
    CSimServerProcess& operator=(const CSimServerProcess&) = delete;
    // Starts the server with "--port 0" and these options; false when it did not announce its
    // port within ten seconds.
    bool Start(const std::string& strProgram, const std::vector<std::string>& options);
    // Waits up to nMs for the server to end by itself; its exit code, or -1 when it had to be killed.
    int Wait(int nMs);
    void Stop();
    int Port() const { return m_nPort; }
    int HttpPort() const { return m_nHttpPort; }     // the web side's
private:
    pid_t m_pid = -1;
    int m_nPort = 0;
    int m_nHttpPort = 0;
};

class CSimClient
{
public:
    CSimClient() = default;
    ~CSimClient() { Close(); }
    CSimClient(const CSimClient&) = delete;
    CSimClient& operator=(const CSimClient&) = delete;

    bool Connect(int nPort);
    // Both "X9" steps with this session key (32 hexadecimal characters); true once accepted.
    bool KeyExchange(const std::string& strKeyHex);
    // Sends "&MN|n|XC|number|body" with the next link number n (returned, 0 when not sent).
    long Send(const std::string& strMnemonic, const std::string& strBody, const std::string& strNumber = "");
    bool SendRaw(const std::string& strLine);
    // The next line, false after nMs without one or when the server closed.
    bool ReadLine(std::string& line, int nMs);
    // Lines until nMs pass without a new one (or the connection ends).
    std::vector<std::string> ReadQuiet(int nMs);
    // The lines that come within the next nMs.
    std::vector<std::string> ReadFor(int nMs);
    // Reads until a line starts with strPrefix; every line read is appended to pLines when given.
    bool ReadUntil(const std::string& strPrefix, int nMs, std::vector<std::string>* pLines = nullptr);
    bool IsClosed() const { return m_bClosed; }
    void Close();
    int Socket() const { return m_fd; }
    // Bytes read since the connection began (after deciphering, padding included).
    size_t GetBytesRead() const { return m_nBytesRead; }
private:
    bool Fill(int nMs);

    int m_fd = -1;
    long m_nLink = 0;
    bool m_bEncrypted = false;
    bool m_bClosed = false;
    CServerCipher m_cipher;
    std::string m_carry;        // cipher bytes short of a block
    std::string m_plain;        // deciphered bytes, returned as lines up to m_nPlainOff
    size_t m_nPlainOff = 0;
    size_t m_nBytesRead = 0;
};
