// The clock panes of the status bar read the server clock: across midnight they wrap into the
// new day, in Kuwait and in New York, whichever way the offset or the time zone pushes them.
#include <gtest/gtest.h>
#include <filesystem>
#include <string>
#include "AppTestSupport.h"
#include "app/ZorvatStatusPanes.h"
#include "link/ServerMessage.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/kernel/CodePage.h"
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

namespace {
// The market states as the server announces them: the US market's, then the KSE's.
void AnnounceStates(int nUs, int nKse)
{
    CServerMessage us(("~MM|0|XC||" + std::to_string(nUs) + "|1").c_str(), 1);
    GetGlobals()->OnMM(&us);
    CServerMessage kse(("~MM|0|XC||" + std::to_string(nKse) + "|2").c_str(), 1);
    GetGlobals()->OnMM(&kse);
}
}  // namespace

// An Arabic status bar with one pane in a shown test frame, in the Arabic code page for as long
// as it lives. The pane is made after the language, whose texts and fonts it takes.
template <class TPane>
struct CArabicPaneBar
{
    struct CCodePage
    {
        CCodePage() { TbSetActiveCodePage(1256); }
        ~CCodePage() { TbSetActiveCodePage(1252); }
    } codePage;
    CTestLanguage language{1256};
    CTestShell shell;
    CNorvStatusBar bar;

    CArabicPaneBar()
    {
        EXPECT_TRUE(bar.CreateStatusBar(shell.Frame()));
        bar.AddPane(new TPane);
        shell.Frame()->ShowWindow(SW_SHOW);
        shell.Frame()->RecalcLayout();
    }
    ~CArabicPaneBar() { bar.DestroyWindow(); }
};

// In Arabic the market-state pane reads right to left part by part: "US" at the right with its
// colon to its left, then its state, then the KSE's label and state; a state without a word is
// unknown, so no label stands alone.
TEST(StatusPaneReading, MarketStatePaneStandsInRightToLeftReadingOrder)
{
    {
        CArabicPaneBar<CZorvatStatusBarStatePane> arabic;
        CNorvStatusBar& bar = arabic.bar;
        ASSERT_NE(nullptr, bar.m_hWnd);
        HFONT hFont = reinterpret_cast<HFONT>(bar.SendMessage(WM_GETFONT));
        if (hFont == nullptr)
            hFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        struct
        {
            int nUs, nKse;
            const char* pszSeen;   // as it stands on the screen, from the left
        } const cases[] = {
            {5, 99, "غير معروف :KSE  غير معروف :US"},
            {1, 2, "مغلق :KSE  مغلق :US"},
            {4, 1, "مفتوح :KSE  مفتوح :US"},
        };
        for (const auto& c : cases) {
            AnnounceStates(c.nUs, c.nKse);
            bar.UpdatePanes();
            PumpPending();
            RECT rcPane;
            bar.GetItemRect(1, &rcPane);
            InflateRect(&rcPane, -2, -2);
            std::filesystem::create_directories(std::string(TB_BINARY_DIR) + "/screenshots");
            const std::string strShot = std::string(TB_BINARY_DIR) + "/screenshots/status_states_ar_" +
                                        std::to_string(c.nKse) + ".png";
            TbSaveWindowPng(bar.m_hWnd, strShot.c_str());
            EXPECT_TRUE(SameInk(InkOfText(hFont, TbUtf8ToCodePage(c.pszSeen, 1256), GetSysColor(COLOR_BTNFACE)),
                                InkOfWindow(bar.m_hWnd, rcPane)))
                << c.pszSeen;
        }
    }
}

// The connection pane says its state in the language of the windows, in letters of that
// language: in Arabic, "غير متصل" while there is no link.
TEST(StatusPaneReading, ConnectionPaneSpeaksArabic)
{
    {
        CArabicPaneBar<CZorvatStatusBarStatusPane> arabic;
        CNorvStatusBar& bar = arabic.bar;
        ASSERT_NE(nullptr, bar.m_hWnd);
        bar.UpdatePanes();
        PumpPending();
        RECT rcPane;
        bar.GetItemRect(1, &rcPane);
        InflateRect(&rcPane, -1, -1);
        LOGFONTA lf{};
        HDC hdc = GetDC(nullptr);
        lf.lfHeight = -MulDiv(10, GetDeviceCaps(hdc, LOGPIXELSY), 72);
        ReleaseDC(nullptr, hdc);
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
        HFONT hFont = CreateFontIndirectA(&lf);
        const std::string strExpected = InkOfText(hFont, TbUtf8ToCodePage("غير متصل", 1256), GetSysColor(COLOR_BTNFACE),
                                                   false, STATUS_COLOR_DISCONNECTED);
        DeleteObject(hFont);
        EXPECT_TRUE(SameInk(strExpected, InkOfWindow(bar.m_hWnd, rcPane)));
    }
}
