// The clock panes of the status bar read the server clock: across midnight they wrap into the
// new day, in Kuwait and in New York, whichever way the offset or the time zone pushes them.
#include <gtest/gtest.h>
#include "AppTestSupport.h"
#include "app/ZorvatStatusPanes.h"
#include "refdata/ZorvatGlobals.h"

namespace {

// A winter day (no summer time in New York) at a time of day the test sets.
class CFixedClock : public IClockSource
{
public:
    time_t GetNow() const override { return 1768478400; }  // 15 January 2026, noon UTC
    int GetLocalSecondsOfDay() const override { return m_nSeconds; }
    int m_nSeconds = 0;
};

int Seconds(int h, int m, int s)
{
    return (h * 60 + m) * 60 + s;
}

struct StatusPaneFixture : ::testing::Test
{
    CTestLanguage language;
    CTestShell shell;
    CNorvStatusBar bar;
    CFixedClock clock;

    void SetUp() override
    {
        GetGlobals()->SetClockSource(&clock);
        GetGlobals()->SetClockOffset(0);
        ASSERT_TRUE(bar.CreateStatusBar(shell.Frame()));
        bar.AddPane(new CZorvatStatusBarKwTimePane);
        bar.AddPane(new CZorvatStatusBarNyTimePane);
    }
    void TearDown() override
    {
        bar.DestroyWindow();
        GetGlobals()->SetClockSource(nullptr);
        GetGlobals()->SetClockOffset(0);
    }
    // The Kuwait and New York panes after an update at the local time of day.
    std::pair<std::string, std::string> PanesAt(int nLocalSeconds)
    {
        clock.m_nSeconds = nLocalSeconds;
        bar.UpdatePanes();
        // The stretching message pane comes first.
        return {std::string(bar.GetPaneText(1)), std::string(bar.GetPaneText(2))};
    }
};

}  // namespace

TEST_F(StatusPaneFixture, KuwaitClockWrapsIntoTheNewDay)
{
    EXPECT_EQ("23:59:59", PanesAt(Seconds(23, 59, 59)).first);
    EXPECT_EQ("00:00:01", PanesAt(Seconds(0, 0, 1)).first);
    // The server is two minutes ahead of this machine: its midnight comes first.
    GetGlobals()->SetClockOffset(-120);
    EXPECT_EQ("00:01:00", PanesAt(Seconds(23, 59, 0)).first);
    // And two minutes behind: this machine's new day is still yesterday on the server.
    GetGlobals()->SetClockOffset(120);
    EXPECT_EQ("23:59:00", PanesAt(Seconds(0, 1, 0)).first);
}

TEST_F(StatusPaneFixture, NewYorkClockCrossesMidnightBothWays)
{
    // Eight hours behind Kuwait in winter.
    EXPECT_EQ("23:59:59", PanesAt(Seconds(7, 59, 59)).second);
    EXPECT_EQ("00:00:01", PanesAt(Seconds(8, 0, 1)).second);
    EXPECT_EQ("18:00:00", PanesAt(Seconds(2, 0, 0)).second) << "Kuwait's small hours are New York's evening";
    GetGlobals()->SetClockOffset(-120);
    const auto panes = PanesAt(Seconds(23, 59, 0));
    EXPECT_EQ("00:01:00", panes.first);
    EXPECT_EQ("16:01:00", panes.second);
}
