// The reference-data dialogs as a user opens them: the US session times, the KSE schedule with
// the minutes to its next session, and the KSE parameters, each shown read-only from what the
// server's messages put into the reference data; the minutes checked against datetime's.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "app/dialogs/DialogDriver.h"
#include "link/ServerMessage.h"
#include "market/dialogs/GlobalParamKSEDlg.h"
#include "market/dialogs/MarketScheduleDlg.h"
#include "market/dialogs/MarketScheduleKSEDlg.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/VirtualKeys.h"
#include "refdata/ZorvatGlobals.h"

namespace {
CNorvTime TimeOf(const std::string& strHhmmss)
{
    const int n = std::stoi(strHhmmss);
    CNorvTime time;
    time.Set(n / 10000, n / 100 % 100, n % 100);
    return time;
}

TEST(KseSessionMinutes, AgreeWithDatetime)
{
    std::ifstream in(TB_SOURCE_DIR "/tests/market/dialogs/expected_kse_minutes.txt");
    ASSERT_TRUE(in.good());
    std::string strLine;
    int nLines = 0;
    while (std::getline(in, strLine)) {
        std::istringstream fields(strLine);
        CNorvTime times[KSE_SCHEDULE_TIMES];
        std::string strField;
        for (CNorvTime& time : times) {
            fields >> strField;
            time = TimeOf(strField);
        }
        std::string strNow;
        long nExpected = -1;
        fields >> strNow >> nExpected;
        EXPECT_EQ(nExpected, MinutesToNextKseSession(times, TimeOf(strNow))) << strLine;
        ++nLines;
    }
    EXPECT_GT(nLines, 200);
}

class CSecondsClock : public IClockSource
{
public:
    time_t GetNow() const override { return 1796601600; }           // 2026-12-07, no summer time in New York
    int GetLocalSecondsOfDay() const override { return m_nSeconds; }
    int m_nSeconds = 0;
};

class ScheduleDialogs : public ::testing::Test
{
protected:
    void SetUp() override { GetGlobals()->SetClockSource(&m_clock); }
    void TearDown() override
    {
        EXPECT_TRUE(FinishedSteps()) << "a dialog step never ran";
        ClearDialogSteps();
        GetGlobals()->SetClockSource(nullptr);
        GetGlobals()->SetClockOffset(0);
    }
    static void Receive(const std::string& strLine)
    {
        CServerMessage msg(strLine.c_str(), 1);
        CZorvatGlobals* pGlobals = GetGlobals();
        const std::string strType = strLine.substr(1, 2);
        if (strType == "MT")
            pGlobals->OnMT(&msg);
        else if (strType == "GM")
            pGlobals->OnGM(&msg);
        else if (strType == "MM")
            pGlobals->OnMM(&msg);
        else if (strType == "GG")
            pGlobals->OnGG(&msg);
    }
    static bool ReadOnly(HWND h, int nId) { return (GetWindowLongA(GetDlgItem(h, nId), GWL_STYLE) & ES_READONLY) != 0; }

    CSecondsClock m_clock;
    CTestLanguage m_language{1252};
};

TEST_F(ScheduleDialogs, UsSessionsInKuwaitAndNewYorkTime)
{
    Receive("$MT|1|XC||x|173000|230000");
    CMarketScheduleDlg dlg;
    RunDialogSteps({{IDC_SCHEDULE_FIRST, [](HWND h) {
        EXPECT_EQ("17:30:00", ControlText(h, IDC_SCHEDULE_FIRST));
        EXPECT_EQ("09:30:00", ControlText(h, IDC_SCHEDULE_FIRST_NY));       // eight hours behind in winter
        EXPECT_EQ("23:00:00", ControlText(h, IDC_SCHEDULE_SECOND));
        EXPECT_EQ("15:00:00", ControlText(h, IDC_SCHEDULE_SECOND_NY));
        for (int nId = IDC_SCHEDULE_FIRST; nId <= IDC_SCHEDULE_SECOND_NY; ++nId)
            EXPECT_TRUE(ReadOnly(h, nId)) << nId;
        TypeText("12");                                                     // nothing can be typed
        EXPECT_EQ("17:30:00", ControlText(h, IDC_SCHEDULE_FIRST));
        ClickControl(h, IDOK);
    }}});
    EXPECT_EQ(IDOK, dlg.DoModal());
}

TEST_F(ScheduleDialogs, KseScheduleWithTheStateAndTheMinutesByTheServerClock)
{
    Receive("$GM|1|XC||x|x|090000|093000|100000|110000|120000|123000|130000|133000|x|x|1");
    Receive("$MM|1|XC||3|2");
    // The local clock runs five minutes ahead of the server's: 10:35 here is 10:30 there, and
    // the fourth time (11:00) opens no session, so the next is 12:00.
    m_clock.m_nSeconds = 10 * 3600 + 35 * 60;
    GetGlobals()->SetClockOffset(300);
    const std::string strState(GetGlobals()->GetKseMarketStateText());
    ASSERT_FALSE(strState.empty());
    CMarketScheduleKSEDlg dlg;
    RunDialogSteps({{IDC_KSE_SCHEDULE_MINUTES, [&strState](HWND h) {
        const char* const pszTimes[] = {"09:00:00", "09:30:00", "10:00:00", "11:00:00", "12:00:00", "12:30:00",
                                        "13:00:00"};
        for (int n = 0; n < KSE_SCHEDULE_TIMES; ++n)
            EXPECT_EQ(pszTimes[n], ControlText(h, IDC_KSE_SCHEDULE_FIRST + n)) << n;
        EXPECT_EQ(strState, ControlText(h, IDC_KSE_SCHEDULE_STATE));
        EXPECT_EQ("90", ControlText(h, IDC_KSE_SCHEDULE_MINUTES));
        for (int nId : {IDC_KSE_SCHEDULE_FIRST, IDC_KSE_SCHEDULE_LAST, IDC_KSE_SCHEDULE_STATE, IDC_KSE_SCHEDULE_MINUTES})
            EXPECT_TRUE(ReadOnly(h, nId)) << nId;
        PressKey(VK_ESCAPE);
    }}});
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

TEST_F(ScheduleDialogs, KseParametersInTheirOrderAndFormats)
{
    // Fields 2 to 14 integers, 15 to 19 and 20 to 24 rates (shown 20 to 24 first), 25 to 27 limits.
    std::string strLine = "$GG|1|XC|";
    for (int n = 0; n < 28; ++n)
        strLine += "|" + (n >= 15 && n <= 24 ? std::to_string(n) + ".5" : std::to_string(n * 1000));
    Receive(strLine);
    CGlobalParamKSEDlg dlg;
    RunDialogSteps({{IDC_KSE_PARAM_LAST, [](HWND h) {
        EXPECT_EQ("2000", ControlText(h, IDC_KSE_PARAM_FIRST));
        EXPECT_EQ("14000", ControlText(h, IDC_KSE_PARAM_RATE_FIRST - 1));
        EXPECT_EQ("20.50", ControlText(h, IDC_KSE_PARAM_RATE_FIRST));
        EXPECT_EQ("24.50", ControlText(h, IDC_KSE_PARAM_RATE_FIRST + 4));
        EXPECT_EQ("15.50", ControlText(h, IDC_KSE_PARAM_RATE_FIRST + 5));
        EXPECT_EQ("19.50", ControlText(h, IDC_KSE_PARAM_LIMIT_FIRST - 1));
        EXPECT_EQ("25000", ControlText(h, IDC_KSE_PARAM_LIMIT_FIRST));
        EXPECT_EQ("27000", ControlText(h, IDC_KSE_PARAM_LAST));
        for (int nId = IDC_KSE_PARAM_FIRST; nId <= IDC_KSE_PARAM_LAST; ++nId)
            EXPECT_TRUE(ReadOnly(h, nId)) << nId;
        ClickControl(h, IDOK);
    }}});
    EXPECT_EQ(IDOK, dlg.DoModal());
}
}  // namespace
