// The simulated server answers the session and reference requests of each demo account in the
// shapes the terminal's readers expect, checked line by line with the product's own parser and
// type table; forced failures carry their code; the misbehaving scenarios do what they promise.
#include <gtest/gtest.h>
#include <iterator>
#include <iconv.h>
#include <map>
#include <vector>
#include "SimSession.h"
#include "link/ServerMessage.h"

namespace {

std::string Joined(const std::vector<std::string>& v)
{
    std::string s;
    for (const std::string& line : v)
        s += line + "\n";
    return s;
}

std::string ToCodePage(const std::string& strUtf8, const char* pszCodePage)
{
    iconv_t cd = iconv_open(pszCodePage, "UTF-8");
    std::string out(strUtf8.size(), '\0');
    char* pIn = const_cast<char*>(strUtf8.data());
    char* pOut = out.data();
    size_t nIn = strUtf8.size(), nOut = out.size();
    iconv(cd, &pIn, &nIn, &pOut, &nOut);
    iconv_close(cd);
    out.resize(out.size() - nOut);
    return out;
}

const struct Account {
    const char *pszUser, *pszPassword, *pszNumber, *pszAccount;
    int nRole, nUsLevel, nKseLevel;
} s_accounts[] = {
    {"viewer", "viewer", "1001", "10010", 2, 0, 0},
    {"trader", "secret", "1002", "10020", 4, 10, 10},
    {"guest1", "guest1", "1003", "10030", 16, 0, 0},
};

TEST(Conformance, EachDemoAccountGetsSessionAndReferenceDataInTheReadersShapes)
{
    for (const Account& a : s_accounts) {
        CSimSession s;
        ASSERT_TRUE(s.Start({}));
        ASSERT_TRUE(s.Handshake()) << a.pszUser;
        s.LoginAndLoad(a.pszUser, a.pszPassword, a.nRole, a.nKseLevel, a.pszNumber, a.pszAccount);
        s.checker.Check(s.lines);
        EXPECT_TRUE(s.checker.faults.empty()) << a.pszUser << ":\n" << Joined(s.checker.faults);

        // The login reply carries the user record.
        const std::vector<std::string> login = s.Lines("~UL|");
        ASSERT_EQ(1u, login.size()) << a.pszUser;
        const CServerMessage ul(login[0].c_str(), 1);
        EXPECT_STREQ(a.pszUser, ul.GetFieldText(0));
        EXPECT_EQ(0, ul.GetLong(1));
        EXPECT_STREQ(a.pszNumber, ul.GetFieldText(2));
        EXPECT_STREQ(a.pszAccount, ul.GetFieldText(6));
        EXPECT_EQ(a.nRole, ul.GetLong(8));
        EXPECT_EQ(a.nUsLevel, ul.GetLong(9));
        EXPECT_EQ(a.nKseLevel, ul.GetLong(12));

        // Every request got its answer; a stream per streamed request, closed once each.
        auto& n = s.checker.counts;
        for (const char* psz : {"VC", "MT", "EM", "CT", "HD", "VS", "VX", "LI", "FR", "TL", "RN"})
            EXPECT_EQ(1, n[psz]) << a.pszUser << " " << psz;
        EXPECT_EQ(3, n["DS"]) << a.pszUser;
        EXPECT_EQ(a.nRole >= 3 ? 2 : 1, n["XC"]) << a.pszUser;
        for (const char* psz : {"SL", "TU", "GM", "GG"})
            EXPECT_EQ(a.nKseLevel >= 10 ? 1 : 0, n[psz]) << a.pszUser << " " << psz;
        // After the login: the status that starts the market-data subscription, with K and -1.
        const std::vector<std::string> dr = s.Lines("~DR|");
        ASSERT_EQ(1u, dr.size());
        const CServerMessage msg(dr[0].c_str(), 1);
        EXPECT_STREQ("K", msg.GetFieldText(1));
        EXPECT_EQ(-1, msg.GetLong(2));
        for (const char* psz : {"MM", "CM", "BM", "MS"})
            EXPECT_LE(1, n[psz]) << a.pszUser << " " << psz;

        // The schedule's rows say each state in both languages; the interest rates' kind is
        // the terminal's code.
        int nSchedule = 0, nInterest = 0;
        std::string strStream;
        for (const std::string& line : s.lines) {
            if (line[0] == '~') {
                strStream = line.substr(1, 2);
                continue;
            }
            const CServerMessage row(line.c_str(), 1);
            if (strStream == "VS") {
                ++nSchedule;
                EXPECT_NE(std::string::npos, std::string(row.GetFieldText(4)).find_first_of("\xC7\xE1"))
                    << "Arabic in code page 1256: " << line;
            } else if (strStream == "LI") {
                ++nInterest;
                EXPECT_TRUE(row.GetLong(1) == 1 || row.GetLong(1) == 2) << line;
                EXPECT_STREQ("=", std::string(row.GetFieldText(0)).substr(0, 1).c_str()) << line;
            }
        }
        EXPECT_LE(3, nSchedule) << a.pszUser;
        EXPECT_EQ(5, nInterest) << a.pszUser << ": deposit and lending rates of KWD and USD, EUR's deposit";
    }
}

TEST(Conformance, RequestsWithALanguageGetTheirTextsInItsCodePage)
{
    CSimSession s;
    ASSERT_TRUE(s.Start({}));
    ASSERT_TRUE(s.Handshake("1"));
    s.Request("UL", "trader|secret|");
    s.Request("CT", "1");
    s.Request("FR", "|||1");
    s.Request("VS", "1001");
    s.Request("CT", "0");
    s.Request("VS", "1001");
    s.Drain();
    s.checker.Check(s.lines);
    EXPECT_TRUE(s.checker.faults.empty()) << Joined(s.checker.faults);
    const std::string strLines = Joined(s.lines);
    EXPECT_NE(std::string::npos, strLines.find("\n100|" + ToCodePage("اسم المستخدم أو كلمة المرور غير صحيحة", "CP1256") + "\n"));
    EXPECT_NE(std::string::npos, strLines.find("\n965|" + ToCodePage("الكويت", "CP1256") + "\n"));
    EXPECT_NE(std::string::npos, strLines.find("\n965|Kuwait\n")) << "the English request, in English";
    EXPECT_NE(std::string::npos, strLines.find(ToCodePage("مدة العقد الآجل", "CP1256")));
    // The schedule names no language: its texts come in the session's last one, Arabic beside.
    const std::string strArabic = ToCodePage("الجلسة العادية", "CP1256");
    const size_t nArabic = strLines.find("\n8|1|163000|" + strArabic + "|" + strArabic + "\n");
    const size_t nEnglish = strLines.find("\n8|1|163000|Regular session|" + strArabic + "\n");
    EXPECT_NE(std::string::npos, nArabic) << strLines;
    EXPECT_NE(std::string::npos, nEnglish) << strLines;
    EXPECT_LT(nArabic, nEnglish);
}

TEST(Conformance, ForcedFailuresCarryTheirCodeAndOpenNoStream)
{
    CSimSession s;
    ASSERT_TRUE(s.Start({"--fail", "KB=917", "--fail", "DS=651", "--fail", "UL=100"}));
    s.checker.fails = {{"KB", 917}, {"DS", 651}, {"UL", 100}};
    ASSERT_TRUE(s.Handshake());
    s.Request("UL", "trader|secret|");
    s.Request("KB", "1002|10020");
    s.Request("DS", "||4");
    s.Request("HD", "1");
    s.Drain();
    s.checker.Check(s.lines);
    EXPECT_TRUE(s.checker.faults.empty()) << Joined(s.checker.faults);
    EXPECT_EQ(1, s.checker.counts["KB"]);
    EXPECT_EQ(1, s.checker.counts["DS"]);
    EXPECT_EQ(0, s.checker.counts["DR"]) << "a refused login pushes nothing";
    EXPECT_EQ(1, s.checker.counts["HD"]) << "the types not named still answer";
}

TEST(Conformance, ScenariosBreakTheRulesTheyName)
{
    {   // "EN" after an error header: the checker sees an "EN" outside a stream.
        CSimSession s;
        ASSERT_TRUE(s.Start({"--fail", "VS=5", "--scenario", "en-after-error"}));
        ASSERT_TRUE(s.Handshake());
        s.Request("VS", "1");
        s.Drain();
        s.checker.fails = {{"VS", 5}};
        s.checker.Check(s.lines);
        ASSERT_EQ(1u, s.checker.faults.size()) << Joined(s.lines);
        EXPECT_NE(std::string::npos, s.checker.faults[0].find("\"EN\" outside a stream"));
    }
    {   // Two market lists in one session, the second nobody asked for.
        CSimSession s;
        ASSERT_TRUE(s.Start({"--scenario", "second-market-list"}));
        ASSERT_TRUE(s.Handshake());
        s.Request("UL", "trader|secret|");
        s.Drain();
        EXPECT_EQ(2u, s.Lines("~XC|").size());
    }
    {   // A US market state while the KSE state is 0.
        CSimSession s;
        ASSERT_TRUE(s.Start({"--scenario", "us-mm-kse-0"}));
        ASSERT_TRUE(s.Handshake());
        s.Request("UL", "trader|secret|");
        s.Drain();
        const std::vector<std::string> mm = s.Lines("~MM|");
        ASSERT_LE(2u, mm.size());
        EXPECT_EQ("~MM|0|XC||0|2", mm[0]);
        EXPECT_EQ("1", std::string(CServerMessage(mm[1].c_str(), 1).GetFieldText(1)));
    }
    {   // Unknown typed lines: types the terminal's table lacks or has no handler for.
        CSimSession s;
        ASSERT_TRUE(s.Start({"--scenario", "unknown-types"}));
        ASSERT_TRUE(s.Handshake());
        s.Request("UL", "trader|secret|");
        s.Drain();
        s.checker.Check(s.lines);
        ASSERT_EQ(1u, s.checker.faults.size()) << Joined(s.checker.faults);
        EXPECT_NE(std::string::npos, s.checker.faults[0].find("~ZZ|"));
        EXPECT_EQ(1, s.checker.counts["IC"]);
    }
    {   // Two replies of one type in reverse order.
        CSimSession s;
        ASSERT_TRUE(s.Start({"--scenario", "reverse=DS"}));
        ASSERT_TRUE(s.Handshake());
        s.Request("UL", "trader|secret|");
        const long nFirst = s.Request("DS", "||4");
        const long nSecond = s.Request("DS", "||8");
        s.Drain();
        const std::vector<std::string> ds = s.Lines("~DS|");
        ASSERT_EQ(2u, ds.size());
        EXPECT_EQ(0u, ds[0].rfind("~DS|" + std::to_string(nSecond) + "|", 0)) << ds[0];
        EXPECT_EQ(0u, ds[1].rfind("~DS|" + std::to_string(nFirst) + "|", 0)) << ds[1];
    }
    {   // A close in the middle of a stream: header and some rows, no "EN", then the end.
        CSimSession s;
        ASSERT_TRUE(s.Start({"--scenario", "close-in-stream=EM"}));
        ASSERT_TRUE(s.client.Connect(s.server.Port()));
        s.Request("EM", "0|0");
        s.Drain(1000);
        EXPECT_TRUE(s.client.IsClosed());
        ASSERT_LE(2u, s.lines.size());
        EXPECT_EQ(0u, s.lines[0].rfind("~EM|", 0));
        EXPECT_TRUE(s.Lines("~EN|").empty());
    }
    {   // A delay before a named reply; what is asked after it waits behind it.
        CSimSession s;
        ASSERT_TRUE(s.Start({"--scenario", "delay=VC:1"}));
        ASSERT_TRUE(s.client.Connect(s.server.Port()));
        s.Request("VC", "0|80000");
        s.Request("MT", "");
        std::string line;
        EXPECT_FALSE(s.client.ReadLine(line, 600)) << line;
        ASSERT_TRUE(s.client.ReadLine(line, 2000));
        EXPECT_EQ(0u, line.rfind("~VC|", 0));
        ASSERT_TRUE(s.client.ReadLine(line, 500));
        EXPECT_EQ(0u, line.rfind("~MT|", 0));
    }
    {   // A live line inside a table's own refill.
        CSimSession s;
        ASSERT_TRUE(s.Start({"--scenario", "live-in-refill", "--rate", "200"}));
        ASSERT_TRUE(s.Handshake());
        s.Request("UL", "trader|secret|");
        s.Request("SQ", "");
        s.client.ReadUntil("~QQ|", 3000, &s.lines);
        s.Request("DS", "||8");
        s.client.ReadUntil("~EN|", 3000, &s.lines);
        bool bInside = false;
        for (size_t i = 1; i + 1 < s.lines.size(); ++i)
            bInside = bInside || (s.lines[i].rfind("~", 0) == 0 && s.lines[i].rfind("~EN|", 0) != 0 &&
                                  s.lines[i - 1].rfind("~", 0) != 0);
        EXPECT_TRUE(bInside) << Joined(s.lines);
    }
}

// The market-data requests with their bodies as the terminal builds them.
const struct MarketRequest { const char *pszMnemonic, *pszBody; } s_marketRequests[] = {
    {"SQ", ""}, {"OB", ""}, {"TE", "1"}, {"LX", ""}, {"FQ", ""}, {"OI", ""},
    {"DQ", "||1002||1|101"}, {"DX", "||1002||1|1"}, {"GO", "||ALPN|2"}, {"GS", "ALPN|1"}, {"GS", "PRSM|1"}, {"GS", "QNTL|1"},
    {"L2", "||ALPN|8|1"}, {"L3", "||PRSM|4|1"}, {"NY", ""}, {"LW", "||1002|10020|0"}, {"CF", "||||||0"},
    {"CE", "||||261201|261231"}, {"FE", ""}, {"SF", "||1002||101|0"}, {"SI", "||1002||101|1"},
};
// Asked once the market has moved and the first minute's stories are out.
const MarketRequest s_laterRequests[] = {
    {"GL", ""}, {"LW", "||1002|10020||0|2|101"}, {"EW", "||1002|1|5001|0||||||0"}, {"NN", "ALPN"}, {"NZ", ""},
    {"ND", "261207093000|1"},
};

TEST(Conformance, MarketDataIsAnsweredInTheReadersShapesAndItsLiveLinesFollowTheReplies)
{
    CSimSession s;
    ASSERT_TRUE(s.Start({"--rate", "2000", "--clock", "2026-12-07 09:29:59"}));
    ASSERT_TRUE(s.Handshake());
    s.Request("UL", "trader|secret|");
    for (const MarketRequest& r : s_marketRequests)
        s.Request(r.pszMnemonic, r.pszBody);
    for (std::string& line : s.client.ReadFor(1300))
        s.lines.push_back(std::move(line));
    for (const MarketRequest& r : s_laterRequests)
        s.Request(r.pszMnemonic, r.pszBody);
    s.Request("L2", "||ALPN|8|2");
    for (std::string& line : s.client.ReadFor(300))
        s.lines.push_back(std::move(line));
    s.checker.Check(s.lines);
    EXPECT_TRUE(s.checker.faults.empty()) << Joined(s.checker.faults);
    auto& n = s.checker.counts;
    for (const char* psz : {"SQ", "OB", "TE", "LX", "FQ", "OI", "GL", "DQ", "DX", "GO", "GS", "EW", "NN", "NZ", "NY", "CF", "CE",
                            "FE", "SF", "SI", "ND"})
        EXPECT_LE(1, n[psz]) << psz << Joined(s.Lines(std::string("~") + psz));
    EXPECT_EQ(2, n["LW"]);
    EXPECT_EQ(1, n["OD"]) << "the odd-lot board comes unasked";
    // The books: the subscription's whole book on one "1" line, then a line a change, and the
    // stop's clearing line last.
    const std::vector<std::string> l2 = s.Lines("~L2|"), l3 = s.Lines("~L3|");
    ASSERT_LE(3u, l2.size());
    ASSERT_LE(2u, l3.size());
    const CServerMessage full(l2.front().c_str(), 1), makers(l3.front().c_str(), 1);
    EXPECT_STREQ("ALPN", full.GetFieldText(2));
    EXPECT_STREQ("1", full.GetFieldText(4));
    EXPECT_EQ(5 + 3 * 10, full.GetSize()) << "five levels a side";
    EXPECT_STREQ("1", makers.GetFieldText(4));
    EXPECT_EQ(5 + 6 * 10, makers.GetSize()) << "an entry a level";
    for (int nAt = 5; nAt < makers.GetSize(); nAt += 6)
        EXPECT_NE(std::string(makers.GetFieldText(nAt)).empty(), std::string(makers.GetFieldText(nAt + 3)).empty())
            << "each level has one side: " << l3.front();
    for (size_t i = 1; i + 1 < l2.size(); ++i) {
        const CServerMessage change(l2[i].c_str(), 1);
        EXPECT_STREQ("0", change.GetFieldText(4)) << l2[i];
        EXPECT_EQ(8, change.GetSize()) << l2[i];
    }
    const CServerMessage stop(l2.back().c_str(), 1);
    EXPECT_STREQ("2", stop.GetFieldText(4)) << "nothing of the symbol after its stop";
    EXPECT_STREQ("ALPN", stop.GetFieldText(2));
    EXPECT_LE(1, n["GS compact"]) << "the Harbor Exchange's quotations go compact";
    // Every table asked for gets its live lines after its reply, a company's news among them.
    for (const char* psz : {"QQ", "OU", "TM", "IX", "FW", "TI", "NI", "BW"})
        EXPECT_LE(1, n[psz]) << psz;

    // The rows of one reply: every KSE stock quoted, three lists of movers, the company's
    // news only, the story in Base64 of code page 1252.
    auto rowsAfter = [&](const std::string& strHead) {
        std::vector<std::string> rows;
        bool bIn = false;
        for (const std::string& line : s.lines) {
            if (bIn && line[0] == '~')
                break;
            if (bIn)
                rows.push_back(line);
            bIn = bIn || line.rfind(strHead, 0) == 0;
        }
        return rows;
    };
    EXPECT_EQ(20u, rowsAfter("~SQ|").size());
    // The chain of the underlying and right asked for: the underlying first, the option's own
    // symbol after it.
    const std::vector<std::string> puts = rowsAfter("~GO|");
    ASSERT_EQ(2u, puts.size());
    for (const std::string& row : puts) {
        const CServerMessage option(row.c_str(), 1);
        EXPECT_STREQ("ALPN", option.GetFieldText(0));
        EXPECT_EQ(0u, std::string(option.GetFieldText(1)).rfind("ALPN 261218P", 0)) << row;
        EXPECT_STREQ("2", option.GetFieldText(2));
    }
    std::map<std::string, int> lists;
    for (const std::string& row : rowsAfter("~GL|"))
        ++lists[CServerMessage(row.c_str(), 1).GetFieldText(3)];
    EXPECT_EQ(3u, lists.size());
    const std::vector<std::string> lw = s.Lines("~LW|");
    ASSERT_EQ(2u, lw.size());
    const CServerMessage company(lw[1].c_str(), 1);
    EXPECT_STREQ("2", company.GetFieldText(6));
    EXPECT_STREQ("101", company.GetFieldText(7));
    // The market's first announcement in Arabic: its story in code page 1256.
    const std::vector<std::string> nd = rowsAfter("~ND|");
    ASSERT_EQ(1u, nd.size());
    EXPECT_STREQ("5001", CServerMessage(nd[0].c_str(), 1).GetFieldText(0));
    EXPECT_EQ('\xC7', CServerMessage(nd[0].c_str(), 1).GetFieldText(1)[0]) << "alef in code page 1256";
    const std::vector<std::string> ew = s.Lines("~EW|");
    ASSERT_EQ(1u, ew.size());
    const CServerMessage story(ew[0].c_str(), 1);
    EXPECT_STREQ("5001", story.GetFieldText(4));
    EXPECT_STREQ("KSE opens the week steady", story.GetFieldText(8));
    EXPECT_STREQ("VHJhZGluZyBvbiB0aGUgS3V3YWl0IGJvYXJkIG9wZW5lZCB3aXRoIGJhbmtzIGluIGRlbWFuZCBhbmQgcmVhbCBlc3RhdGUgcXVpZXQu",
                 story.GetFieldText(9));
    EXPECT_STREQ("https://news.example.com/story/5001", story.GetFieldText(13));
}

TEST(Conformance, HistoryRepliesSayHowTheCacheStands)
{
    CSimSession s;
    ASSERT_TRUE(s.Start({}));
    ASSERT_TRUE(s.Handshake());
    s.Request("UL", "trader|secret|");
    s.Request("DQ", "||1002||1|101");
    s.Drain();
    const std::vector<std::string> full = s.Lines("~DQ|");
    ASSERT_EQ(1u, full.size());
    const CServerMessage head(full[0].c_str(), 1);
    EXPECT_EQ(1, head.GetLong(7)) << "no cache: every day";
    const std::string strLast = head.GetFieldText(3);
    const size_t nAll = s.lines.size();
    s.Request("DQ", "||1002|" + strLast + "|1|101");
    s.Request("DQ", "||1002|261120|1|101");
    s.Request("DX", "||1002|" + strLast + "|1|1");
    s.Drain();
    s.checker.Check(s.lines);
    EXPECT_TRUE(s.checker.faults.empty()) << Joined(s.checker.faults);
    const std::vector<std::string> dq = s.Lines("~DQ|");
    ASSERT_EQ(3u, dq.size());
    EXPECT_EQ(0, CServerMessage(dq[1].c_str(), 1).GetLong(7)) << "the cache is current";
    EXPECT_EQ(2, CServerMessage(dq[2].c_str(), 1).GetLong(7)) << "the days after the cache";
    EXPECT_EQ(0, CServerMessage(s.Lines("~DX|")[0].c_str(), 1).GetLong(6));
    // Mode 0 sends its header and "EN" only; mode 2 fewer days than mode 1.
    EXPECT_LT(s.lines.size() - nAll, nAll);
    EXPECT_EQ(4, s.checker.counts["EN"] - s.checker.counts["XC"] - s.checker.counts["EM"] - 1);
}

TEST(Conformance, PasswordChangeTakesTheOldPasswordOnly)
{
    CSimSession s;
    ASSERT_TRUE(s.Start({}));
    ASSERT_TRUE(s.Handshake());
    s.Request("UL", "trader|secret|");
    s.Request("US", "1002|wrong||newpass|||||");
    s.Request("US", "1002|secret||newpass|||||");
    s.Drain();
    const std::vector<std::string> us = s.Lines("~US|");
    ASSERT_EQ(2u, us.size());
    EXPECT_NE(0, CServerMessage(us[0].c_str(), 1).GetLong(1));
    EXPECT_EQ(0, CServerMessage(us[1].c_str(), 1).GetLong(1));
    EXPECT_EQ(1002, CServerMessage(us[1].c_str(), 1).GetLong(0));
}

}  // namespace

namespace {

// The trader's contract and option requests, with their bodies as the terminal's forms build them.
const struct { const char *pszMnemonic, *pszBody; int nResultField; } s_positionRequests[] = {
    {"KD", "||1002|10020|261202|1", 0},
    {"KL", "||1002|10020|2|261202|1|10020|1|102|1|10000|0.0|0.0||||||0.0", 0},
    {"KL", "||1002|10020|16|261202|1|10020|1|102|1|10000|0.0|0.0||||||0.0", 0},
    {"XO", "||1002|0|10020|GLNTXN|16|1", 0},
    {"XI", "||1002|10020|CDRXAM|16|0|0|0.000000|0.000000", 0},
    {"XI", "||1002|10020|NOSUCH|16|0|0|0.000000|0.000000", 0},
    {"KB", "||1002|10020|0|0|1000000|0||2", -1},
    {"EF", "||1002|10020|0|0|0", -1},
    {"FE", "", -1},
};

TEST(Conformance, ContractAndOptionRequestsAreAnsweredInTheReadersShapes)
{
    CSimSession s;
    ASSERT_TRUE(s.Start({}));
    ASSERT_TRUE(s.Handshake());
    s.Request("UL", "trader|secret|");
    std::map<long, size_t> asked;
    for (size_t i = 0; i < std::size(s_positionRequests); ++i)
        asked[s.Request(s_positionRequests[i].pszMnemonic, s_positionRequests[i].pszBody)] = i;
    s.Drain();
    s.checker.Check(s.lines);
    EXPECT_TRUE(s.checker.faults.empty()) << Joined(s.checker.faults);
    // Each one answered once, with the result its form reads: the plain ones' field 0.
    std::map<long, long> results;
    for (const std::string& line : s.lines) {
        const CServerMessage msg(line.c_str(), 1);
        const long nLink = line[0] == '~' ? atol(line.substr(line.find('|') + 1).c_str()) : 0;
        auto it = asked.find(nLink);
        if (it != asked.end() && line.rfind(std::string("~") + s_positionRequests[it->second].pszMnemonic + "|", 0) == 0)
            results[nLink] = s_positionRequests[it->second].nResultField < 0 ? 0 : msg.GetLong(0);
    }
    ASSERT_EQ(asked.size(), results.size()) << Joined(s.lines);
    std::vector<long> got;
    for (const auto& entry : results)
        got.push_back(entry.second);
    EXPECT_EQ((std::vector<long>{0, 0, 500, 0, 0, 652, 0, 0, 0}), got) << "action 16 is not offered; no NOSUCH position";
}

}  // namespace
