// A market's state as the server announces it, end to end against the test server logged in as
// the trader: once the market schedule has come, each announced state is kept and said in the
// information window in the schedule's words for that market; a state the schedule does not
// name for that market is kept and says nothing.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include "market/InternationalMarketScheduleTable.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/app/AppTestSupport.h"
#include "tests/market/MarketSessionSupport.h"

namespace {

#define KSE_MARKET 2
#define HARBOR_MARKET 4
#define ATLANTIC_MARKET 8

int CountLines(const std::string& strText, const std::string& strStart)
{
    std::istringstream lines(strText);
    int nCount = 0;
    for (std::string strLine; std::getline(lines, strLine);)
        nCount += strLine.rfind(strStart, 0) == 0;
    return nCount;
}

struct MarketStateSession : CMarketSession
{
};

}  // namespace

TEST_F(MarketStateSession, AnnouncedStateIsSaidInTheSchedulesWordsForItsMarket)
{
    strData = CopyServerData("marketstate");
    ASSERT_FALSE(strData.empty());
    // The schedule, then three announcements: the KSE closes, the Harbor Exchange enters a state
    // only the Atlantic Board's schedule names, and the Atlantic Board enters it.
    std::ofstream(strData + "/session.txt", std::ios::app) << "\n[VS]\n"
                                                              "~VS|{N}|XC||0\n"
                                                              "2|1|083000|Pre-opening|Pre-opening\n"
                                                              "2|3|123000|Market closed|Market closed\n"
                                                              "8|1|163000|Regular session|Regular session\n"
                                                              "8|2|230000|After hours|After hours\n"
                                                              "~EN|{N}|XC|0\n"
                                                              "~BM|0|XC||2|3\n"
                                                              "~BM|0|XC||4|2\n"
                                                              "~BM|0|XC||8|2\n";
    ASSERT_TRUE(StartSession({"--rate", "50", "--data", strData}, false));
    ASSERT_NE(nullptr, Find<CInternationalMarketScheduleTable>(IDS_TABLE_MARKET_SCHEDULE));
    const std::string strKse = static_cast<LPCSTR>(GetGlobals()->GetMarketName(KSE_MARKET));
    const std::string strHarbor = static_cast<LPCSTR>(GetGlobals()->GetMarketName(HARBOR_MARKET));
    const std::string strAtlantic = static_cast<LPCSTR>(GetGlobals()->GetMarketName(ATLANTIC_MARKET));
    ASSERT_TRUE(PumpUntil([&] { return GetGlobals()->GetMarketState(ATLANTIC_MARKET) == 2; }, 20000))
        << pRun->InfoText();
    PumpFor(100);
    const std::string strInfo = pRun->InfoText();
    EXPECT_EQ(1, CountLines(strInfo, strKse + ": Market closed")) << strInfo;
    EXPECT_EQ(1, CountLines(strInfo, strAtlantic + ": After hours")) << strInfo;
    EXPECT_EQ(0, CountLines(strInfo, strHarbor + ":")) << strInfo;
    EXPECT_EQ(3, GetGlobals()->GetMarketState(KSE_MARKET));
    EXPECT_EQ(2, GetGlobals()->GetMarketState(HARBOR_MARKET)) << "kept though not said";
}
