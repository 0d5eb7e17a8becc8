#include "tools/testserver/Session.h"
#include <cerrno>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <time.h>

static std::vector<std::string> Split(const std::string& line)
{
    std::vector<std::string> out;
    size_t nStart = 0;
    for (;;) {
        const size_t n = line.find('|', nStart);
        out.push_back(line.substr(nStart, n == std::string::npos ? std::string::npos : n - nStart));
        if (n == std::string::npos)
            return out;
        nStart = n + 1;
    }
}

CSession::CSession(int fd, const CScript& script, const ServerOptions& options, const CServerRsa& rsa)
    : m_fd(fd), m_script(script), m_options(options), m_rsa(rsa)
{
}

CSession::~CSession()
{
    close(m_fd);
}

bool CSession::OnReadable()
{
    char buf[65536];
    const ssize_t n = recv(m_fd, buf, sizeof buf, 0);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return true;
    if (n <= 0)
        return false;
    std::string data(buf, static_cast<size_t>(n));
    if (m_bEncrypted)
        data = StripPadding(m_cipher.DecryptStream(m_carry, data));
    for (char ch : data) {
        if (ch != '\n') {
            m_line += ch;
            continue;
        }
        const std::string line = m_line;
        m_line.clear();
        OnLine(line);
        if (m_bClose)
            return false;
    }
    return true;
}

// Deciphered bytes start on a block boundary. Padding is the run of '-' after a line feed that
// reaches the next boundary: the terminal pads every line on its own.
std::string CSession::StripPadding(const std::string& plain)
{
    std::string out;
    size_t i = 0;
    while (i < plain.size()) {
        const size_t nLf = plain.find('\n', i);
        if (nLf == std::string::npos) {
            out.append(plain, i, std::string::npos);
            break;
        }
        out.append(plain, i, nLf + 1 - i);
        i = nLf + 1;
        const size_t nBoundary = (i + 15) / 16 * 16;
        size_t j = i;
        while (j < nBoundary && j < plain.size() && plain[j] == '-')
            ++j;
        if (j == nBoundary)
            i = nBoundary;
    }
    return out;
}

void CSession::OnLine(const std::string& line)
{
    Log("<", line);
    // A request: "&MN|number|XC|request-number|data..." ("&EN|number|XC|data..." for EN).
    if (line.size() < 3 || (line[0] != '&' && line[0] != '^'))
        return;
    const std::string strMnemonic = line.substr(1, 2);
    std::vector<std::string> parts = Split(line);
    const long nNumber = parts.size() > 1 ? atol(parts[1].c_str()) : 0;
    const size_t nData = strMnemonic == "EN" ? 3 : 4;
    std::vector<std::string> fields;
    for (size_t i = nData; i < parts.size(); ++i)
        fields.push_back(parts[i]);
    const long nReplyNumber = m_options.strScenario == "no-ack" ? 0 : nNumber;

    if (strMnemonic == "X9") {
        OnKeyExchange(nReplyNumber, fields);
    } else if (strMnemonic == "UL") {
        const std::string user = fields.size() > 0 ? fields[0] : "";
        const std::string password = fields.size() > 1 ? fields[1] : "";
        Send(m_script.Reply(m_script.LoginSection(user, password), nReplyNumber, fields));
    } else {
        Send(m_script.Reply(strMnemonic, nReplyNumber, fields));
        if (strMnemonic == "VC" && m_options.strScenario == "close-after-hello")
            m_bClose = true;
    }
}

void CSession::OnKeyExchange(long nNumber, const std::vector<std::string>& fields)
{
    const std::string& s = m_options.strScenario;
    const std::string prefix = "$X9|" + std::to_string(nNumber) + "|XC||";
    const bool bKeyRequest = fields.empty() || (fields.size() == 1 && fields[0].empty());
    if (bKeyRequest) {
        if (s == "x9-two-fields")
            Send({prefix + "0|" + m_rsa.ModulusText()});
        else
            Send({prefix + "0|" + m_rsa.ModulusText() + "|" + m_rsa.ExponentText()});
        return;
    }
    std::string keyText;
    if (!m_rsa.Decrypt(fields[0], keyText) || !m_cipher.SetKeyText(keyText) || s == "x9-reject") {
        Send({prefix + "1"});
        return;
    }
    // The accept goes out plain; everything after it, in the same write too, is enciphered.
    std::vector<std::string> after;
    if (s == "data-after-accept")
        after = m_script.Reply("AFTER-ACCEPT", nNumber, fields);
    Send({prefix + "0"}, /*bThenEncrypt=*/true, after);
    if (s == "stream")
        StreamQuotes();
}

// As a busy server does: quotation lines of 30 fields, enciphered, in writes of a megabyte.
// The lines repeat in a cycle of 64, so their cipher text is made once.
void CSession::StreamQuotes()
{
    static const char* const s_pszTickers[] = {"ZAIN", "NBK", "KFH", "AGILITY", "GBK", "BURGAN", "MABANEE", "HUMANSOFT"};
    std::vector<std::string> cycle;
    for (int i = 0; i < 64; ++i) {
        std::string line = "~GS|0|XC|7|" + std::string(s_pszTickers[i % 8]);
        for (int nField = 1; nField < 30; ++nField) {
            switch (nField % 5) {
            case 0: line += "|" + std::to_string(100 + i * 7 + nField) + "." + std::to_string(nField % 10) + "5"; break;
            case 1: line += "|" + std::to_string(12500 * (i + 1) + nField); break;
            case 2: line += "|" + std::to_string(9 + nField % 3) + ":" + std::to_string(10 + i % 50) + ":05"; break;
            case 3: line += nField % 2 ? "|" : "|KWD"; break;
            default: line += "|-" + std::to_string(nField) + ".250"; break;
            }
        }
        cycle.push_back(m_cipher.EncryptPadded(line + "\n"));
    }
    std::string block;
    long nSent = 0;
    while (nSent < m_options.nStreamLines) {
        block.clear();
        while (block.size() < (1u << 20) && nSent < m_options.nStreamLines)
            block += cycle[static_cast<size_t>(nSent++ % 64)];
        WriteAll(block);
    }
}

void CSession::Send(const std::vector<std::string>& lines, bool bThenEncrypt,
                    const std::vector<std::string>& after)
{
    std::string bytes;
    for (const std::string& line : lines) {
        Log(">", line);
        bytes += m_bEncrypted ? m_cipher.EncryptPadded(line + "\n") : line + "\n";
    }
    if (bThenEncrypt)
        m_bEncrypted = true;
    for (const std::string& line : after) {
        Log(">", line);
        bytes += m_cipher.EncryptPadded(line + "\n");
    }
    WriteAll(bytes);
}

void CSession::WriteAll(const std::string& bytes)
{
    const size_t nPiece = m_options.nSplit ? m_options.nSplit : bytes.size();
    for (size_t nOff = 0; nOff < bytes.size();) {
        const size_t nWant = std::min(nPiece, bytes.size() - nOff);
        const ssize_t n = send(m_fd, bytes.data() + nOff, nWant, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno != EAGAIN && errno != EINTR)
                return;
            pollfd p{m_fd, POLLOUT, 0};
            poll(&p, 1, 1000);
            continue;
        }
        nOff += static_cast<size_t>(n);
        if (m_options.nSplit && nOff < bytes.size()) {
            // Give the terminal a chance to read each piece on its own.
            timespec ts{0, 2000000};
            nanosleep(&ts, nullptr);
        }
    }
}

void CSession::Log(const char* pszDir, const std::string& line)
{
    if (m_options.pLog) {
        fprintf(m_options.pLog, "%s %s\n", pszDir, line.c_str());
        fflush(m_options.pLog);
    }
}
