#pragma once
// A port for CLinkProtocol without window or transport: it records what the link writes,
// delivers and reports, and takes written bytes as a socket would (all, some, or none).
#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>
#include "link/LinkChecksum.h"
#include "link/LinkProtocol.h"
#include "link/crypto/LinkCipher.h"

class CFakeLinkPort : public ILinkPort
{
public:
    int WriteTransport(const BYTE* pBytes, int nCount) override
    {
        if (m_bFail)
            return -1;
        int nTake = nCount;
        if (m_nAccept >= 0)
            nTake = std::min(nTake, m_nAccept - m_nAccepted);
        if (nTake <= 0)
            return 0;
        m_nAccepted += nTake;
        m_written.append(reinterpret_cast<const char*>(pBytes), static_cast<size_t>(nTake));
        return nTake;
    }
    void WatchWritable(BOOL bOn) override { m_bWatchWritable = bOn; }
    void OnLine(char* pszLine) override
    {
        m_lines.push_back(pszLine);
        if (m_onLine)
            m_onLine(pszLine);
    }
    void OnState(int nCode) override { m_states.push_back(nCode); }
    void StartTimer(UINT nId, UINT nMs) override { m_timers[nId] = nMs; }
    void StopTimer(UINT nId) override { m_timers.erase(nId); }
    void Log(const char* pszText) override { m_log += pszText; }
    void Reconnect(int nType) override
    {
        m_reconnects.push_back(nType);
        if (m_onReconnect)
            m_onReconnect(nType);
    }
    void ClearInput() override { ++m_nClears; }
    void CloseLink(int nCode) override { m_closes.push_back(nCode); }

    BOOL TimerRuns(UINT nId) const { return m_timers.count(nId) != 0; }
    // The written bytes, taken off the record.
    std::string TakeWritten()
    {
        std::string s;
        s.swap(m_written);
        return s;
    }
    // Lets the transport take nBytes more before it would block again (-1: everything).
    void Accept(int nBytes)
    {
        m_nAccept = nBytes < 0 ? -1 : m_nAccepted + nBytes;
    }

    std::string m_written;
    std::vector<std::string> m_lines;
    std::vector<int> m_states;
    std::map<UINT, UINT> m_timers;
    std::string m_log;
    std::vector<int> m_reconnects;
    std::vector<int> m_closes;
    int m_nClears = 0;
    BOOL m_bWatchWritable = FALSE;
    BOOL m_bFail = FALSE;
    int m_nAccept = -1;         // total bytes the transport takes; -1 no limit
    int m_nAccepted = 0;
    std::function<void(char*)> m_onLine;
    // Runs after a reconnect is recorded: a test closes and opens the link as the window would.
    std::function<void(int)> m_onReconnect;
};

// Enciphers as the server does: each line with its LF padded with '-' to whole blocks.
inline std::string ServerCipher(const std::string& plain, const char* pszKey)
{
    TwofishCipherInit();
    std::string buf = plain;
    buf.append((16 - buf.size() % 16) % 16, '-');
    std::string out(buf.size(), '\0');
    TwofishEncryptBlocks(reinterpret_cast<BYTE*>(out.data()), reinterpret_cast<const BYTE*>(buf.data()),
                         static_cast<int>(buf.size()), pszKey);
    return out;
}

inline std::string Decipher(const std::string& cipher, const char* pszKey)
{
    TwofishCipherInit();
    std::string out(cipher.size(), '\0');
    TwofishDecryptBlocks(reinterpret_cast<BYTE*>(out.data()), reinterpret_cast<const BYTE*>(cipher.data()),
                         static_cast<int>(cipher.size()), pszKey);
    return out;
}

// A line with its two checksum characters, as the protocol modes send it.
inline std::string Checked(const std::string& line)
{
    char check[2];
    LinkChecksum(line.data(), static_cast<int>(line.size()), check);
    return line + std::string(check, 2);
}

// Fields as a line's body: each followed by '|'.
inline std::string Join(const std::vector<std::string>& fields)
{
    std::string s;
    for (const std::string& field : fields)
        s += field + "|";
    return s;
}

// One control line in a packet of the server's cycle: '/' first, then '0' to '9' and round.
inline std::string ServerPacket(char& chNext, const std::string& payload)
{
    const std::string packet = "#" + std::string(1, chNext) + Checked(payload) + "\n";
    chNext = chNext == '/' || chNext == '9' ? '0' : static_cast<char>(chNext + 1);
    return packet;
}

// What a link wrote, without its acknowledgements of the server's packets.
inline std::string WithoutPacketAcks(const std::string& all)
{
    std::string out;
    for (size_t i = 0; i < all.size(); ++i) {
        if (i + 1 < all.size() && all[i + 1] == '\r' && (all[i] == '/' || (all[i] >= '0' && all[i] <= '9')) &&
            (i == 0 || all[i - 1] == '\r')) {
            ++i;
            continue;
        }
        out += all[i];
    }
    return out;
}
