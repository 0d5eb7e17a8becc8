#pragma once
// One terminal's connection in the direct socket mode: LF-terminated lines, the "X9" key
// exchange, and from its accept on every byte through Twofish with '-' padding. Nothing blocks:
// output waits in a queue of its own that the server drains when the socket can take it, and a
// terminal that stops reading is dropped once its output has waited past the bound.
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>
#include "tools/testserver/Options.h"
#include "tools/testserver/Records.h"
#include "tools/testserver/Script.h"
#include "tools/testserver/ServerCrypto.h"
#include "tools/testserver/Shapes.h"
#include "tools/testserver/model/Simulator.h"

// What every session reads and the server keeps up to date; owned by the server.
struct CServerShared
{
    const ServerOptions& options;
    const CScript& script;
    const CShapeBook& shapes;
    const CShapeWriter& writer;
    const std::vector<CRecord>* pUsers;  // the accounts file, null when there is none
    const CServerRsa& rsa;
    CRecord clock;                       // the simulated clock's values now
    std::string strLastLive;             // the latest live line, for the scenario that misplaces one
    std::map<std::string, std::string> lastLiveOf;  // and the latest of each type and shape ("IU.live")
    CSimulator& sim;                     // the market and the accounts
    std::function<void(double)> fnPushPending;   // sends the model's events made so far
};

// A live line and whom it is for.
struct CLiveLine
{
    std::string line;
    const CShape* pShape = nullptr;
    std::string strSymbol;               // the record's symbol, for subscriptions by symbol
    std::string strUser;                 // an account's line: its user only
};

// Output that waits longer than this without a byte taken, or grows past the size, ends the session.
#define SESSION_STALL_SECONDS 5.0
#define SESSION_QUEUE_LIMIT (32u << 20)
// Sends one writable round makes at most: a whole write takes one or two, --split 1 many.
#define SESSION_ROUND_SENDS 4096

class CSession
{
public:
    CSession(int fd, CServerShared& shared);
    ~CSession();
    CSession(const CSession&) = delete;
    CSession& operator=(const CSession&) = delete;
    int Socket() const { return m_fd; }

    // Reads what the socket has; false when the peer closed or the session ended itself.
    bool OnReadable(double dNow);
    // Writes what the socket takes; false when the connection broke or the session is done.
    bool OnWritable(double dNow);
    bool WantsWrite(double dNow) const;
    // The earliest time a held reply is due, 0 for none.
    double NextDue() const;
    // False, with the reason, when the output has waited past the bound.
    bool WithinBound(double dNow, std::string& strWhy) const;

    bool IsLoggedIn() const { return m_pUser != nullptr; }
    // The live lines meant for it, in one write: its user's account lines, the lines of the
    // tables it has had a first reply for, and those of the symbols it subscribed: quotations
    // with "GS" ("ticker|1"; "ticker|0" ends it), books with "L2" and "L3" ("2" in field 4 ends it).
    void SendLive(const std::vector<CLiveLine>& lines, double dNow);
    // Lines of the market: one write, never inside a reply (replies are queued whole).
    void SendUnsolicited(const std::vector<std::string>& lines, double dNow);
    size_t QueuedBytes() const { return m_out.size() - m_nOutOff; }
private:
    struct Held { double dDue; std::string bytes; bool bClose; };

    void OnLine(const std::string& line, double dNow);
    // --state: every account as it stands, for the tests that check the sums.
    void WriteState() const;
    void OnKeyExchange(long nNumber, const std::vector<std::string>& fields);
    void OnLogin(const CShapeContext& ctx, const std::vector<std::string>& fields, double dNow);
    void OnPasswordChange(const CShapeContext& ctx, const std::vector<std::string>& fields, double dNow);
    void Reply(const std::string& strShape, const CShapeContext& ctx, double dNow);
    void EmptyNamedField(std::vector<std::string>& lines) const;
    void Emit(const std::vector<std::string>& lines, double dNow, double dDelay = 0, bool bCloseAfter = false);
    void Emit(const std::vector<const std::string*>& lines, double dNow, double dDelay = 0, bool bCloseAfter = false);
    std::string Encode(const std::vector<const std::string*>& lines);
    void StreamQuotes(double dNow);
    void Log(const char* pszDir, const std::string& line) const;

    int m_fd;
    CServerShared& m_shared;
    const ServerOptions& m_options;
    CServerCipher m_cipher;
    bool m_bEncrypted = false;
    bool m_bClose = false;              // close once the queue is written
    bool m_bAfterContractCheck = false; // the last "KJ" was the order ticket's contract order
    std::set<std::string> m_symbols;    // "GS:ALPN": the subscriptions by symbol it asked for
    std::set<std::string> m_opened;     // the replies it has had, whose tables' live lines it takes
    const CRecord* m_pUser = nullptr;   // the logged-in user
    bool m_bArabic = false;             // the language its last request that named one asked for
    CRecord m_user;                     // its record, with a changed password
    long m_nSeq = 0;
    std::string m_carry;                // cipher bytes short of a block
    std::string m_line;                 // plain bytes short of a line
    std::string m_out;                  // bytes ready for the socket
    size_t m_nOutOff = 0;
    double m_dLastProgress = 0;         // when the socket last took a byte, or the queue was empty
    std::deque<Held> m_held;            // delayed output, in order; later output waits behind it
    std::vector<std::string> m_reversed;  // scenario reverse: the first reply, sent after the second
    bool m_bReverseDone = false;
    std::vector<std::string> m_holding;   // scenario hold: the replies waiting for the release type
    // Scenario login-order: from the login's reply to the "VX" every later login asks for last,
    // each reply (whole) and push waits; then they all go in an order the seed draws.
    bool m_bLoginHeld = false;
    std::vector<std::vector<std::string>> m_loginReplies;
    long m_nStreamSent = 0;             // scenario stream: lines written so far
    bool m_bStreaming = false;
};
