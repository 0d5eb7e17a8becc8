// The live side of the simulated server: the same seed and requests give the same replies and
// the same live lines; --rate paces the lines and the simulated clock with them; a terminal that
// stops reading is dropped without holding up another one, and the run time holds whatever the
// terminals do; writes in pieces go as fast as the terminal takes them.
#include <gtest/gtest.h>
#include <chrono>
#include <thread>
#include <fstream>
#include <iterator>
#include <algorithm>
#include <map>
#include <sys/socket.h>
#include "SimSession.h"
#include "link/ServerMessage.h"

namespace {

const char* const s_liveSymbols[] = {"ALPN", "CRST", "PRSM", "QNTL", "BRKT"};

// A logged-in client that asked for the quotations of some US symbols and for the KSE tables
// with live lines: quotations, books, trades and indices.
bool Subscribe(CSimSession& s)
{
    if (!s.Handshake())
        return false;
    s.Request("UL", "trader|secret|");
    for (const char* psz : s_liveSymbols)
        s.Request("GS", std::string(psz) + "|1");
    for (const char* psz : {"SQ", "OB", "LX"})
        s.Request(psz, "");
    s.Request("TE", "1");
    // Up to the reply of the last request, so that what follows is live lines only: the replies
    // show the market as it stood when each was answered, which depends on the timing. A live
    // trade line goes out only after that reply.
    return s.client.ReadUntil("~TE|", 5000, &s.lines);
}

// The live lines received, by their sequence number (the last field).
std::map<long, std::string> LiveBySeq(const std::vector<std::string>& lines)
{
    std::map<long, std::string> out;
    for (const std::string& line : lines)
        if (line.rfind("~GS|", 0) == 0 && CServerMessage(line.c_str(), 1).GetSize() > 35)
            out[atol(line.substr(line.rfind('|') + 1).c_str())] = line;
    return out;
}

// The load after the login, then market data, an order, a forward order, a contract closed in
// part, an option exercised, and the reports they change, with the market standing still, so
// that only the seed and the requests decide the replies.
std::vector<std::string> LoadSession(unsigned nSeed)
{
    CSimSession s;
    EXPECT_TRUE(s.Start({"--seed", std::to_string(nSeed), "--rate", "0"}));
    EXPECT_TRUE(s.Handshake());
    s.LoginAndLoad("trader", "secret", 4, 10, "1002", "10020");
    for (const char* psz : {"SQ", "OB", "LX", "FQ"})
        s.Request(psz, "");
    s.Request("KR", "||1002|10020|1|1|101|2000|3|||0|||secret");
    s.Request("KS", "||1002|10020|0|0|0|1000000|0||2");
    s.Request("IK", "||1002|10020|3");
    s.Request("TK", "||1002|10020|261101|261231|||||2");
    s.Request("KA", "||1002|10020|1|101|1000|0|3|1||secret");
    s.Request("KI", "||1002|10020|2|261207|1|10020|1|102|1|4000|||secret||||0.0");
    s.Request("XO", "||1002|1|10020|ALPNLI|16|1");
    for (const char* psz : {"KB", "EF", "KN"})
        s.Request(psz, "||1002|10020|0|0|1000000|0||2");
    s.Request("IH", "1002|10020|3");
    s.Drain();
    return s.lines;
}

// The live lines up to event 8,000 (two seconds of run time at this rate), so that two runs cover
// the same events however long each took to log in on a loaded machine.
std::map<long, std::string> LiveLines(unsigned nSeed)
{
    static const long LAST_SEQ = 8000;
    CSimSession s;
    EXPECT_TRUE(s.Start({"--seed", std::to_string(nSeed), "--rate", "4000"}));
    EXPECT_TRUE(Subscribe(s));
    std::map<long, std::string> out;
    std::vector<std::string> lines;
    while (out.empty() || out.rbegin()->first < LAST_SEQ) {
        lines.clear();
        if (!s.client.ReadUntil("~GS|", 20000, &lines))
            break;
        for (auto& [nSeq, line] : LiveBySeq(lines))
            if (nSeq <= LAST_SEQ)
                out[nSeq] = line;
            else
                return out;
    }
    return out;
}

TEST(Determinism, OneSeedAndOneScriptGiveTheSameRepliesAndLiveLines)
{
    const std::vector<std::string> first = LoadSession(7);
    EXPECT_GT(first.size(), 50u);
    EXPECT_EQ(first, LoadSession(7));
    EXPECT_NE(first, LoadSession(8)) << "another seed, another book";

    const std::map<long, std::string> a = LiveLines(7), b = LiveLines(7), c = LiveLines(8);
    int nSame = 0, nOtherSeedSame = 0, nCompared = 0;
    for (const auto& [nSeq, line] : a) {
        auto itB = b.find(nSeq);
        if (itB != b.end()) {
            EXPECT_EQ(line, itB->second) << "live line " << nSeq;
            ++nSame;
        }
        auto itC = c.find(nSeq);
        if (itC != c.end()) {
            ++nCompared;
            nOtherSeedSame += line == itC->second;
        }
    }
    EXPECT_GT(nSame, 30) << "the two runs' live lines overlap";
    EXPECT_LE(nOtherSeedSame * 2, nCompared) << "another seed walks another way";
    EXPECT_NE(a, c);
}

TEST(Live, LinesFollowTheSubscriptions)
{
    CSimSession s;
    ASSERT_TRUE(s.Start({"--rate", "2000"}));
    ASSERT_TRUE(s.Handshake());
    s.Request("UL", "trader|secret|");
    s.Request("GS", "ALPN|1");
    s.Request("GS", "CRST|1");
    auto symbols = [&] {
        std::map<std::string, int> seen;
        for (const std::string& line : s.client.ReadFor(300))
            if (line.rfind("~GS|", 0) == 0)
                ++seen[CServerMessage(line.c_str(), 1).GetFieldText(0)];
        return seen;
    };
    std::map<std::string, int> seen = symbols();
    EXPECT_EQ(2u, seen.size());
    EXPECT_LT(0, seen["ALPN"]);
    EXPECT_LT(0, seen["CRST"]);
    s.Request("GS", "CRST|0");
    symbols();                          // what was on its way before the request
    seen = symbols();
    EXPECT_EQ(1u, seen.size());
    EXPECT_LT(0, seen["ALPN"]);
}

TEST(Live, CompactQuotationsGoOnlyToUsersWhoCanReadThem)
{
    for (const char* pszUser : {"trader", "guest1"}) {
        CSimSession s;
        ASSERT_TRUE(s.Start({"--rate", "3000"}));
        ASSERT_TRUE(s.Handshake());
        s.Request("UL", std::string(pszUser) + "|" + (std::string(pszUser) == "trader" ? "secret" : pszUser) + "|");
        for (const char* psz : {"PRSM", "QNTL", "RVNS", "SLVT"})
            s.Request("GS", std::string(psz) + "|1");
        s.lines = s.client.ReadFor(600);
        s.checker.Check(s.lines);
        EXPECT_TRUE(s.checker.faults.empty()) << s.checker.faults.front();
        int nCompact = 0, nFull = 0;
        for (const std::string& line : s.lines)
            if (line.rfind("~GS|0|", 0) == 0)
                (CServerMessage(line.c_str(), 1).GetSize() == 2 ? nCompact : nFull)++;
        if (std::string(pszUser) == "trader") {
            EXPECT_LT(0, nCompact);
            EXPECT_EQ(0, nFull);
        } else {
            EXPECT_EQ(0, nCompact) << "role 16 cannot expand them";
            EXPECT_LT(0, nFull);
        }
    }
}

TEST(Pace, RateOfTenThousandForFiveSecondsDeliversFiftyThousandLines)
{
    CSimSession s;
    ASSERT_TRUE(s.Start({"--rate", "10000", "--run-time", "5", "--clock", "2026-12-07 09:29:57"}));
    ASSERT_TRUE(Subscribe(s));
    std::string line;
    while (s.client.ReadLine(line, 2000))
        s.lines.push_back(line);
    EXPECT_TRUE(s.client.IsClosed()) << "the run time ends the session";
    // Live quotations carry the market's event number: the last one tells how many the market
    // made, and they come in the order it made them. (A subscription's reply is the symbol's state
    // now, numbered by its own last event, which live lines of other symbols may have passed.)
    long nLast = -1, nLive = 0;
    for (const std::string& line : s.lines) {
        nLive += line.rfind("~GS|", 0) == 0 || line.rfind("~QQ|", 0) == 0 || line.rfind("~OU|", 0) == 0 ||
                 line.rfind("~TM|", 0) == 0 || line.rfind("~IX|", 0) == 0;
        if (line.rfind("~GS|0|", 0) != 0 || CServerMessage(line.c_str(), 1).GetSize() <= 35)
            continue;           // a reply, or a compact quotation, which carries no number
        const long nSeq = atol(line.substr(line.rfind('|') + 1).c_str());
        EXPECT_LT(nLast, nSeq);
        nLast = nSeq;
    }
    EXPECT_NEAR(50000.0, static_cast<double>(nLast + 1), 2500.0);
    EXPECT_GT(nLive, 15000) << "the lines of the tables it asked for reach the client";
    // The simulated clock moved with the lines: the minute it reached went out as "TI".
    EXPECT_EQ(1u, s.Lines("~TI|0|XC||93000").size());
}

TEST(Bounds, AClientThatStopsReadingNeitherStallsAnotherNorOutlivesTheRunTime)
{
    char szDir[] = "/tmp/tb-sim-bounds-XXXXXX";
    ASSERT_TRUE(mkdtemp(szDir));
    const std::string strLog = std::string(szDir) + "/server.log";
    CSimSession stalled;
    const auto start = std::chrono::steady_clock::now();
    // The run time leaves the stall bound (5 s without a byte taken) room to be met on a slow
    // machine (the sanitizers, other tests at once), where the socket's buffers take seconds to fill.
    ASSERT_TRUE(stalled.Start({"--rate", "50000", "--run-time", "20", "--log", strLog}));
    ASSERT_TRUE(Subscribe(stalled));
    // stalled reads no more from here on.

    CSimSession reader;
    ASSERT_TRUE(reader.client.Connect(stalled.server.Port()));
    reader.Request("VC", "0|80000");
    ASSERT_TRUE(reader.client.ReadUntil("~VC|", 2000));
    ASSERT_TRUE(reader.client.KeyExchange("0123456789ABCDEF0123456789ABCDEF"));
    reader.Request("UL", "viewer|viewer|");
    // Every request of the second client is answered while the first one stalls, well inside the
    // 5 s a stalled session is given (a loaded sanitizer run may take a second).
    for (int i = 0; i < 6; ++i) {
        reader.Request("VS", "1001");
        ASSERT_TRUE(reader.client.ReadUntil("~VS|", 3000)) << "request " << i;
        reader.client.ReadQuiet(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(900));
    }
    EXPECT_EQ(0, stalled.server.Wait(16000)) << "the server ends at its run time";
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(22));
    std::ifstream in(strLog);
    std::string line, strNotes;
    while (std::getline(in, line))
        if (line.rfind("! ", 0) == 0)
            strNotes += line + "\n";
    // Dropped by whichever bound it met first: the time without a byte taken or the queue's size.
    EXPECT_TRUE(strNotes.find("no byte taken") != std::string::npos || strNotes.find("MiB waiting") != std::string::npos)
        << strNotes;
}

// The trader's load with every write cut into one-byte pieces: the pieces go as fast as the
// client reads them, so the load is whole, in the time a load takes, and line for line the
// load of whole writes.
TEST(Bounds, LoadInOneBytePiecesIsTheLoadOfWholeWrites)
{
    auto load = [](const char* pszSplit) {
        CSimSession s;
        EXPECT_TRUE(s.Start({"--split", pszSplit}));
        EXPECT_TRUE(s.Handshake()) << "split " << pszSplit;
        s.LoginAndLoad("trader", "secret", 4, 10, "1002", "10020");
        EXPECT_FALSE(s.client.IsClosed()) << "split " << pszSplit;
        return s.lines;
    };
    const auto start = std::chrono::steady_clock::now();
    const std::vector<std::string> pieces = load("1");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    const std::vector<std::string> whole = load("0");
    EXPECT_GT(whole.size(), 100u);
    EXPECT_EQ(whole, pieces);
}

// In one-byte pieces too, the stall bound counts only the time a client takes nothing: of two
// clients of an endless stream, the one that stops reading is dropped for it after 5 s, and the
// one that takes a little every half second outlives it.
TEST(Bounds, InPiecesOnlyAClientThatTakesNothingIsDropped)
{
    char szDir[] = "/tmp/tb-sim-pieces-XXXXXX";
    ASSERT_TRUE(mkdtemp(szDir));
    const std::string strLog = std::string(szDir) + "/server.log";
    CSimServerProcess server;
    ASSERT_TRUE(server.Start(TESTSERVER_PATH, {"--scenario", "stream", "--lines", "1000000000", "--split", "1",
                                               "--run-time", "30", "--idle-time", "5", "--log", strLog}));
    const auto start = std::chrono::steady_clock::now();
    CSimClient stalled, slow;
    for (CSimClient* p : {&stalled, &slow}) {
        ASSERT_TRUE(p->Connect(server.Port()));
        ASSERT_TRUE(p->KeyExchange("0123456789ABCDEF0123456789ABCDEF"));
    }
    auto notes = [&] {
        std::ifstream in(strLog);
        std::string line, strNotes;
        while (std::getline(in, line))
            if (line.rfind("! ", 0) == 0)
                strNotes += line + "\n";
        return strNotes;
    };
    std::vector<char> buf(1 << 16);
    size_t nTaken = 0;
    const auto end = start + std::chrono::seconds(15);
    while (notes().find("no byte taken") == std::string::npos && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const ssize_t n = recv(slow.Socket(), buf.data(), buf.size(), MSG_DONTWAIT);
        ASSERT_GT(n, 0) << "the slow client's session ended: " << notes();
        nTaken += static_cast<size_t>(n);
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const std::string strNotes = notes();
    EXPECT_NE(std::string::npos, strNotes.find("no byte taken for 5 s")) << strNotes;
    EXPECT_GE(elapsed, std::chrono::seconds(5));
    EXPECT_EQ(1, std::count(strNotes.begin(), strNotes.end(), '\n')) << "only the stalled session ended: " << strNotes;
    EXPECT_GT(nTaken, 100000u) << "the slow client's pieces kept coming";
}

}  // namespace
