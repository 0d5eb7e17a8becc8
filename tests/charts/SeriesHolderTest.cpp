// The series holders through real lines fanned out by the message source: the intraday reply
// merged with the live quotes that came before its end, the calendar slots of historical replies
// against Python, the high and low rule, a ticker switched while quotes arrive, index volumes.
#include <algorithm>
#include <cmath>
#include <memory>
#include <sstream>
#include <gtest/gtest.h>
#include "tests/charts/SeriesTestSupport.h"
#include "tests/market/dialogs/MarketDialogSupport.h"
#include "tests/common/ExpectedData.h"
#include "refdata/ZorvatGlobals.h"

namespace {
struct SeriesFixture : ::testing::Test
{
    CZorvatMessageSource source;
    void SetUp() override { RegisterMessageCodes(g_messageCodePairs); }
    void Fire(const std::string& strLine) { FireDialogLine(source, strLine); }
};

std::vector<std::string> Split(const std::string& strText, char chAt)
{
    std::vector<std::string> parts;
    std::stringstream in(strText);
    for (std::string strPart; std::getline(in, strPart, chAt);)
        parts.push_back(strPart);
    return parts;
}

// A "GS" quote: symbol, result 0, kind 2, last, time, then "trades#volume" in field 9.
std::string Quote(const char* pszSymbol, const char* pszLast, const char* pszTime, const char* pszVolume,
                  const char* pszResult = "0", const char* pszKind = "2")
{
    return std::string("~GS|0|XC|8|") + pszSymbol + "|" + pszResult + "|" + pszKind + "|" + pszLast + "|||" + pszTime
           + "|||7#" + pszVolume;
}
}

TEST_F(SeriesFixture, IntradaySeriesTakesItsReplyAndGrowsAMinuteAtATime)
{
    // The header's reference is the per-cent base; 0 leaves it to the first price.
    static const struct { const char* pszRef; double dBase; } refs[] = {{"0", 10.0}, {"9.50", 9.5}};
    for (const auto& ref : refs) {
        SCOPED_TRACE(ref.pszRef);
        CSeriesChart chart(&source);
        chart.Choose("ABC", 0, 0);
        EXPECT_EQ(std::vector<std::string>{"&CD|XC||ABC|0|0|0|0"}, chart.main.lines);
        EXPECT_TRUE(chart.comp.lines.empty());      // no comparison: nothing to ask for

        // Before the reply ends the quotes wait; the one at or before the reply's last row goes.
        Fire(Quote("ABC", "10.00", "93050", "5000"));
        Fire(Quote("ABC", "10.50", "93110", "5300"));
        Fire(Quote("ABC", "10.60", "93510", "5600"));
        Fire("~CD|1|XC|1|ABC|1|3|0|0|0|0");        // another chart's daily reply
        Fire("$EN|1|XC|0");
        Fire(std::string("~CD|1|XC|1|ABC|0|0|0|0|") + ref.pszRef + "|0");
        Fire("93000|10.00|100");
        Fire("93030|10.20|50");
        Fire("93110|10.40|70");
        EXPECT_FALSE(chart.main.IsComplete());
        Fire("$EN|1|XC|0");
        EXPECT_TRUE(chart.main.IsComplete());
        EXPECT_EQ(1, chart.nComplete);
        EXPECT_EQ("34200:10.00:1:100|34230:10.20:1:50|34270:10.40:1:70|34510:10.60:1:300", SeriesText(chart.main));
        EXPECT_NEAR((10.0 - ref.dBase) / ref.dBase * 100.0, chart.main.GetHead()->m_dPercent, 1e-9);

        // Refused: another symbol, a failed quote, a bid-ask-only update, no price, no time.
        const int nUpdated = chart.nUpdated;
        Fire(Quote("ABD", "11.00", "93540", "5700"));
        Fire(Quote("ABC", "11.00", "93540", "5700", "1"));
        Fire(Quote("ABC", "11.00", "93540", "5700", "0", "1"));
        Fire(Quote("ABC", "0", "93540", "5700"));
        Fire(Quote("ABC", "11.00", "", "5700"));
        EXPECT_EQ(nUpdated, chart.nUpdated);
        // The same minute: the mean of the prices, the volume grows by the cumulative step.
        Fire(Quote("ABC", "10.80", "93540", "5700"));
        Fire(Quote("ABC", "10.90", "93600", "5750"));
        EXPECT_EQ("34200:10.00:1:100|34230:10.20:1:50|34270:10.40:1:70|34540:10.70:2:400|34560:10.90:1:50",
                  SeriesText(chart.main));
        EXPECT_EQ(nUpdated + 2, chart.nUpdated);
        EXPECT_NEAR((10.9 - ref.dBase) / ref.dBase * 100.0, chart.main.GetTail()->m_dPercent, 1e-9);
        EXPECT_DOUBLE_EQ(10.9, chart.main.GetTail()->m_dHigh);

        chart.main.ClearSeries();
        EXPECT_EQ(nullptr, chart.main.GetHead());
        EXPECT_EQ(nullptr, chart.main.GetTail());
    }
}

TEST_F(SeriesFixture, HistoricalPointsTakeTheirCalendarSlotsAsPythonCountsThem)
{
    const auto rows = ReadExpectedRows("tests/charts/data/expected_slots.txt", 'S');
    ASSERT_EQ(24u, rows.size());
    for (const auto& row : rows) {
        const bool bKse = row[1] == "KH";
        const int nPeriod = std::stoi(row[2]);
        SCOPED_TRACE(row[1] + " period " + row[2] + " from " + row[3]);
        CSeriesChart chart(&source);
        const int nDuration = nPeriod == 2 ? 1 : 3;
        chart.Choose("ABC", nDuration, nPeriod, bKse ? 2 : 4);
        const std::string strCodes = std::to_string(nDuration) + "|" + std::to_string(nPeriod + 1);
        Fire(bKse ? "~KH|1|XC|1|0||ABC|" + strCodes + "|0|0" : "~CD|1|XC|1|ABC|" + strCodes + "|0|0|0|0");
        for (const std::string& strDate : Split(row[4], ','))
            Fire(strDate + "|10.00|100");
        Fire("$EN|1|XC|0");
        EXPECT_EQ(std::stoi(row[3]), chart.main.GetStartDate());
        std::string strSlots;
        for (const CChartPoint* p = chart.main.GetHead(); p != nullptr; p = p->m_pNext)
            strSlots += (strSlots.empty() ? "" : ",") + std::to_string(p->m_nTime);
        EXPECT_EQ(row[5], strSlots);
    }
    // A period the calendar has no step for (the chooser never gives it): the points stand in
    // their order.
    CSeriesChart chart(&source);
    chart.Choose("ABC", 1, 1);
    EXPECT_EQ("&CD|XC||ABC|1|0|0|0", chart.main.lines.back());
    Fire("~CD|1|XC|1|ABC|1|0|0|0|0|0");
    for (const char* pszRow : {"240105|10.00|100", "240103|10.00|100", "240103|10.00|100"})
        Fire(pszRow);
    Fire("$EN|1|XC|0");
    EXPECT_EQ("0:10.00:1:100|1:10.00:1:100|2:10.00:1:100", SeriesText(chart.main));
}

TEST_F(SeriesFixture, HistoricalRowsKeepHighLowAndOpenByTheirReply)
{
    // Fields: date, close, volume, high, low, open, average, deviation.
    static const struct { const char* pszRow; double dHighCD, dHighKH, dLow, dOpenCD, dOpenKH; } cases[] = {
        {"240102|10.20|3000000000|10.00|10.50|10.10|10.05|0.30", 10.50, 10.00, 10.50, 10.10, 10.10},
        {"240102|10.20|3000000000", 10.20, 10.20, 10.20, 10.20, 0.0},
        {"240102|10.20|3000000000|0|0", 10.20, 10.20, 10.20, 10.20, 0.0},
        {"240102|10.20|3000000000|10.40|10.10", 10.40, 10.40, 10.10, 10.20, 0.0},
    };
    for (const auto& c : cases) {
        for (bool bKse : {false, true}) {
            SCOPED_TRACE(std::string(c.pszRow) + (bKse ? " KH" : " CD"));
            CSeriesChart chart(&source);
            chart.Choose("ABC", 1, 2, bKse ? 2 : 4);
            // A historical header's reference is not the base: the first close is.
            Fire(bKse ? "~KH|1|XC|1|0||ABC|1|3|0|5.00" : "~CD|1|XC|1|ABC|1|3|0|0|5.00|0");
            Fire(c.pszRow);
            Fire("$EN|1|XC|0");
            const CChartPoint* p = chart.main.GetHead();
            ASSERT_NE(nullptr, p);
            EXPECT_DOUBLE_EQ(bKse ? c.dHighKH : c.dHighCD, p->m_dHigh);
            EXPECT_DOUBLE_EQ(c.dLow, p->m_dLow);
            EXPECT_DOUBLE_EQ(bKse ? c.dOpenKH : c.dOpenCD, p->m_dOpen);
            EXPECT_EQ(3000000000LL, p->m_nVolume);
            EXPECT_EQ(0.0, p->m_dPercent);
            EXPECT_EQ(0.0, chart.main.GetHeaderRef());
        }
    }
}

TEST_F(SeriesFixture, SwitchedTickerTakesNoneOfTheFormerTickersQuotes)
{
    CSeriesChart chart(&source);
    chart.Choose("AAA", 0, 0);
    Fire(Quote("AAA", "20.00", "94000", "100"));     // waits for AAA's reply
    chart.Choose("BBB", 0, 0);
    Fire(Quote("AAA", "20.10", "94100", "200"));
    Fire("~CD|1|XC|1|AAA|0|0|0|0|0|0");             // AAA's reply, late: no longer ours
    Fire("93000|20.00|100");
    Fire("$EN|1|XC|0");
    EXPECT_FALSE(chart.main.IsComplete());
    Fire("~CD|1|XC|2|BBB|0|0|0|0|5.00|0");
    Fire("93000|5.00|10");
    Fire("$EN|1|XC|0");
    EXPECT_EQ((std::vector<std::string>{"&CD|XC||AAA|0|0|0|0", "&CD|XC||BBB|0|0|0|0"}), chart.main.lines);
    EXPECT_EQ("34200:5.00:1:10", SeriesText(chart.main));
    Fire(Quote("BBB", "5.10", "94200", "20"));
    EXPECT_EQ("34200:5.00:1:10|34920:5.10:1:0", SeriesText(chart.main));
}

TEST_F(SeriesFixture, IndexVolumesPastTwoToTheThirtyFirstStayWhole)
{
    // "IX": 0 index, 1 value, 3 high, 4 low, 6 cumulative volume, 17 date and time.
    auto Index = [](const char* pszValue, const char* pszVolume, const char* pszTime) {
        return std::string("~IX|0|XC|0|.DJI|") + pszValue + "||35100|34900||" + pszVolume + "|||||||||||261208" + pszTime;
    };
    CSeriesChart chart(&source);
    chart.Choose(".DJI", 0, 0);
    Fire("~CD|1|XC|1|.DJI|0|0|0|0|35000|0");
    Fire("$EN|1|XC|0");
    Fire(Index("35010", "10000000000", "100000"));
    Fire(Index("35020", "13000000000", "100030"));
    Fire(Index("35030", "13000000001", "100100"));
    EXPECT_EQ("36030:35015.00:2:3000000000|36060:35030.00:1:1", SeriesText(chart.main));
    EXPECT_DOUBLE_EQ(35100, chart.main.GetHead()->m_dHigh);
    EXPECT_DOUBLE_EQ(34900, chart.main.GetHead()->m_dLow);
    // "QQ": 0 stock, 1 last, 2 date and time, 6 high, 7 low, 8 volume.
    CSeriesChart kse(&source);
    kse.Choose("NBK", 0, 0, 2);
    EXPECT_EQ("&KH|XC||||NBK|0|0|0", kse.main.lines.back());
    Fire("~KH|1|XC|1|0||NBK|0|0|0|900|0");
    Fire("$EN|1|XC|0");
    Fire("~QQ|0|XC|2|NBK|905|261208100000||||910|900|4000000000");
    EXPECT_EQ("36000:905.00:1:0", SeriesText(kse.main));
}

namespace {
class CWinterClock : public IClockSource
{
public:
    time_t GetNow() const override { return 1796601600; }      // 2026-12-07: New York eight hours behind
    int GetLocalSecondsOfDay() const override { return 0; }
};

void ReceiveGlobals(const std::string& strLine)
{
    CServerMessage msg(strLine.c_str(), 1);
    if (strLine.compare(1, 2, "MT") == 0)
        GetGlobals()->OnMT(&msg);
    else
        GetGlobals()->OnGM(&msg);
}
}  // namespace

// Once "MT" has given the US session in Kuwait time, a US series' server times move onto the
// axis's New York clock, the reply's rows and the live quotes alike; a KSE series keeps Kuwait's.
TEST_F(SeriesFixture, UsTimesMoveOntoNewYorkTimeOnceTheSessionIsKnownKseTimesStay)
{
    CWinterClock clock;
    GetGlobals()->SetClockSource(&clock);
    ReceiveGlobals("$MT|1|XC||0|163000|230000");
    ReceiveGlobals("$GM|1|XC||0|0|0|0|90000|123000|0|0|0|0|0|0|1");     // fields 4 and 5: the KSE session
    CSeriesChart us(&source);
    us.Choose("ABC", 0, 0);
    Fire("~CD|1|XC|1|ABC|0|0|0|0|9.50|0");
    Fire("173000|10.00|100");
    Fire("$EN|1|XC|0");
    Fire(Quote("ABC", "10.20", "173110", "5000"));
    EXPECT_EQ("34200:10.00:1:100|34270:10.20:1:0", SeriesText(us.main));
    CSeriesChart kse(&source);
    kse.Choose("NBK", 0, 0, 2);
    Fire("~KH|1|XC|1|0||NBK|0|0|0|900|0");
    Fire("100000|905|100");
    Fire("$EN|1|XC|0");
    Fire("~QQ|0|XC|2|NBK|906|261207100110||||910|900|4000");
    EXPECT_EQ("36000:905.00:1:100|36070:906.00:1:0", SeriesText(kse.main));
    // The header line twice, then a minute a row from the open: every row inside the session.
    CSeriesChart twice(&source);
    twice.Choose("KFH", 0, 0, 2);
    Fire("~KH|1|XC|1|0||KFH|0|0|0|700|0");
    Fire("~KH|1|XC|1|0||KFH|0|0|0|700|0");
    for (int nMinute = 0; nMinute < 56; ++nMinute)
        Fire(std::to_string(90000 + nMinute / 60 * 10000 + nMinute % 60 * 100) + "|701|10");
    Fire("$EN|1|XC|0");
    const std::string strTwice = SeriesText(twice.main);
    EXPECT_EQ(55, std::count(strTwice.begin(), strTwice.end(), '|')) << "56 points";
    EXPECT_EQ(0u, strTwice.find("32400:701.00:1:10|")) << "from 09:00";

    ReceiveGlobals("$MT|1|XC||0|0|0");
    ReceiveGlobals("$GM|1|XC||0|0|0|0|0|0|0|0|0|0|0|0|0");
    GetGlobals()->SetClockSource(nullptr);
}

// A KSE day answered before the schedule (a chart restored at a program's first login) keeps every
// minute until the schedule comes, then those of the session; once the schedule is in, a new
// reply takes the session's minutes at once.
TEST_F(SeriesFixture, KseDayAnsweredBeforeTheScheduleIsReadAgainWhenItComes)
{
    CZorvatGlobals* pGlobals = GetGlobals();
    pGlobals->ClearSchedule();
    ASSERT_TRUE(source.AddSink(pGlobals->GetSinkRecord()));     // first, as at start-up
    {
        CSeriesChart kse(&source);
        kse.Choose("NBK", 0, 0, 2);
        auto Day = [&] {
            Fire("~KH|1|XC|1|0||NBK|0|0|0|0|0");
            for (const char* pszRow : {"85500|890|10", "90000|900|20", "123000|910|30", "124500|905|40"})
                Fire(pszRow);
            Fire("$EN|1|XC|0");
        };
        Day();
        EXPECT_EQ(4, static_cast<int>(Split(SeriesText(kse.main), '|').size())) << SeriesText(kse.main);
        Fire("$GM|1|XC||x|x|84500|85900|90000|123000|124000|125000|130000|133000|x|x|1");
        const std::string strSession = "32400:900.00:1:20|45000:910.00:1:30";
        EXPECT_EQ(strSession, SeriesText(kse.main));
        EXPECT_NEAR((910.0 - 900.0) / 900.0 * 100, kse.main.GetTail()->m_dPercent, 1e-9) << "from the first minute kept";
        kse.Choose("NBK", 0, 0, 2);
        Day();
        EXPECT_EQ(strSession, SeriesText(kse.main));
    }
    source.RemoveSink(pGlobals->GetSinkId());
    pGlobals->ClearSchedule();
}
