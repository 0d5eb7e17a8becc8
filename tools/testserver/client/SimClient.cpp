#include "tools/testserver/client/SimClient.h"
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <gmp.h>

static long long NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch()).count();
}

bool CSimServerProcess::Start(const std::string& strProgram, const std::vector<std::string>& options)
{
    std::vector<std::string> args = {strProgram, "--port", "0"};
    args.insert(args.end(), options.begin(), options.end());
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    m_pid = fork();
    if (m_pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        close(fds[1]);
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(fds[1]);
    std::string text;
    const long long nEnd = NowMs() + 10000;
    while (text.find('\n') == std::string::npos && NowMs() < nEnd) {
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        char buf[64];
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n <= 0)
            break;
        text.append(buf, static_cast<size_t>(n));
    }
    close(fds[0]);
    if (sscanf(text.c_str(), "PORT %d HTTP %d", &m_nPort, &m_nHttpPort) != 2) {
        Stop();
        return false;
    }
    return true;
}

int CSimServerProcess::Wait(int nMs)
{
    const long long nEnd = NowMs() + nMs;
    while (m_pid > 0 && NowMs() < nEnd) {
        int nStatus = 0;
        if (waitpid(m_pid, &nStatus, WNOHANG) == m_pid) {
            m_pid = -1;
            return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
        }
        usleep(10000);
    }
    Stop();
    return -1;
}

void CSimServerProcess::Stop()
{
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
    m_pid = -1;
}

bool CSimClient::Connect(int nPort)
{
    m_fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(nPort));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (m_fd < 0 || connect(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
        return false;
    const int nOn = 1;
    setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &nOn, sizeof nOn);
    return true;
}

// The session key under the server's public key: 32 bytes big-endian to the power e mod n.
static std::string RsaEncrypt(const std::string& strKey, const std::string& strModulus, const std::string& strExponent)
{
    mpz_t n, e, m;
    mpz_inits(n, e, m, nullptr);
    std::string out;
    if (FromRadix64(n, strModulus) && FromRadix64(e, strExponent)) {
        mpz_import(m, strKey.size(), 1, 1, 1, 0, strKey.data());
        mpz_powm(m, m, e, n);
        out = ToRadix64(m);
    }
    mpz_clears(n, e, m, nullptr);
    return out;
}

bool CSimClient::KeyExchange(const std::string& strKeyHex)
{
    Send("X9", "");
    std::string line;
    if (!ReadLine(line, 5000) || line.rfind("~X9|", 0) != 0)
        return false;
    const std::vector<std::string> parts = [&] {
        std::vector<std::string> v;
        size_t nStart = 0;
        for (size_t n; (n = line.find('|', nStart)) != std::string::npos; nStart = n + 1)
            v.push_back(line.substr(nStart, n - nStart));
        v.push_back(line.substr(nStart));
        return v;
    }();
    if (parts.size() != 7 || !m_cipher.SetKeyText(strKeyHex))
        return false;
    Send("X9", RsaEncrypt(strKeyHex, parts[5], parts[6]));
    if (!ReadLine(line, 5000) || line.rfind("~X9|", 0) != 0 || line.substr(line.size() - 2) != "|0")
        return false;
    m_bEncrypted = true;
    // What came with the accept was already enciphered.
    std::string rest = m_plain.substr(m_nPlainOff);
    m_plain.clear();
    m_nPlainOff = 0;
    m_carry = rest;
    if (!m_carry.empty())
        m_plain = StripLinePadding(m_cipher.DecryptStream(m_carry, ""));
    return true;
}

bool CSimClient::SendRaw(const std::string& strLine)
{
    // The terminal pads every line on its own.
    const std::string bytes = m_bEncrypted ? m_cipher.EncryptPadded(strLine + "\n") : strLine + "\n";
    for (size_t nOff = 0; nOff < bytes.size();) {
        const ssize_t n = send(m_fd, bytes.data() + nOff, bytes.size() - nOff, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        nOff += static_cast<size_t>(n);
    }
    return true;
}

long CSimClient::Send(const std::string& strMnemonic, const std::string& strBody, const std::string& strNumber)
{
    const long nLink = ++m_nLink;
    const std::string line = "&" + strMnemonic + "|" + std::to_string(nLink) + "|XC|" + strNumber + "|" + strBody;
    return SendRaw(line) ? nLink : 0;
}

bool CSimClient::Fill(int nMs)
{
    pollfd p{m_fd, POLLIN, 0};
    if (m_bClosed || poll(&p, 1, nMs) <= 0)
        return false;
    char buf[1 << 16];
    const ssize_t n = recv(m_fd, buf, sizeof buf, 0);
    if (n <= 0) {
        m_bClosed = true;
        return false;
    }
    m_nBytesRead += static_cast<size_t>(n);
    const std::string data(buf, static_cast<size_t>(n));
    m_plain += m_bEncrypted ? StripLinePadding(m_cipher.DecryptStream(m_carry, data)) : data;
    return true;
}

bool CSimClient::ReadLine(std::string& line, int nMs)
{
    const long long nEnd = NowMs() + nMs;
    for (;;) {
        const size_t nLf = m_plain.find('\n', m_nPlainOff);
        if (nLf != std::string::npos) {
            line.assign(m_plain, m_nPlainOff, nLf - m_nPlainOff);
            m_nPlainOff = nLf + 1;
            return true;
        }
        m_plain.erase(0, m_nPlainOff);
        m_nPlainOff = 0;
        const long long nLeft = nEnd - NowMs();
        if (nLeft <= 0 || !Fill(static_cast<int>(nLeft)))
            return false;
    }
}

std::vector<std::string> CSimClient::ReadQuiet(int nMs)
{
    std::vector<std::string> lines;
    std::string line;
    while (ReadLine(line, nMs))
        lines.push_back(line);
    return lines;
}

std::vector<std::string> CSimClient::ReadFor(int nMs)
{
    const long long nEnd = NowMs() + nMs;
    std::vector<std::string> lines;
    std::string line;
    for (long long nLeft; (nLeft = nEnd - NowMs()) > 0 && ReadLine(line, static_cast<int>(nLeft));)
        lines.push_back(line);
    return lines;
}

bool CSimClient::ReadUntil(const std::string& strPrefix, int nMs, std::vector<std::string>* pLines)
{
    const long long nEnd = NowMs() + nMs;
    std::string line;
    while (ReadLine(line, static_cast<int>(std::max(0LL, nEnd - NowMs())))) {
        if (pLines)
            pLines->push_back(line);
        if (line.rfind(strPrefix, 0) == 0)
            return true;
    }
    return false;
}

void CSimClient::Close()
{
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
}
