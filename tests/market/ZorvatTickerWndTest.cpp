// The terminal's tickers: settings kept apart per number, the placement only of a floating one,
// label boxes, and the feed the quotation tables reach a ticker through by its name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/app/AppTestSupport.h"
#include "framework/base/SharedGlobals.h"
#include "market/ZorvatTickerWnd.h"
#include "platform/win/kernel/ResourceScript.h"
#include "platform/win/user/Menu.h"

namespace {

CSettingsFile& TickerSettings()
{
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    settings.SetSection("Ticker");
    return settings;
}

std::string Value(const char* pszKey)
{
    LPCSTR psz = GetSharedGlobals()->m_settings.GetValue("Ticker", pszKey);
    return psz ? psz : "";
}

// The frame docked tickers live in.
CWnd& Frame()
{
    static CWnd frame;
    if (!frame.GetSafeHwnd())
        frame.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 500, 300, nullptr, nullptr);
    return frame;
}

struct TickerSlot
{
    CZorvatTickerWnd wnd;
    CTickerWnd* pSlot = nullptr;
    BOOL Create(BOOL bDocked, int nNumber, LPCSTR pszName, BOOL bDirection = FALSE, int y = 0)
    {
        pSlot = &wnd;
        RECT rc = {0, y, 400, y + 24};
        return wnd.CreateTicker(rc, bDocked ? &Frame() : nullptr, &pSlot, bDocked, TRUE, nNumber, bDirection, pszName);
    }
};

TEST(ZorvatTickerWndTest, EachNumberKeepsItsOwnSettings)
{
    CSettingsFile& settings = TickerSettings();
    settings.WriteLong("TxtColor0", static_cast<LONG>(0x112233));
    settings.WriteLong("TxtColor1", static_cast<LONG>(0x445566));
    settings.WriteLong("UpColor1", static_cast<LONG>(0x00AA00));
    settings.WriteBool("Changes1", FALSE);
    settings.WriteString("DownColor0", "");     // missing: the default
    settings.WriteString("WinPlace0", "");
    settings.WriteString("WinPlace1", "");
    {
        TickerSlot t0, t1;
        ASSERT_TRUE(t0.Create(TRUE, 0, "KSE"));
        ASSERT_TRUE(t1.Create(FALSE, 1, "US"));
        EXPECT_EQ(0x112233u, t0.wnd.GetTextColor());
        EXPECT_EQ(0x445566u, t1.wnd.GetTextColor());
        EXPECT_EQ(0x00AA00u, t1.wnd.GetUpColor());
        EXPECT_EQ(0x0000FFu, t0.wnd.GetDownColor());
        EXPECT_TRUE(t0.wnd.IsShowingChanges());
        EXPECT_FALSE(t1.wnd.IsShowingChanges());

        LOGFONTA lf = t1.wnd.GetLogFont();
        lf.lfHeight = 17;
        t1.wnd.SetLogFont(lf);
        t1.wnd.SetColors(0x010203, 0xFFFFFF, 0x00FF00, 0x000080);
        t0.wnd.Settings();
        t1.wnd.Settings();
        EXPECT_EQ("Yes", Value("SnapTicker0"));
        EXPECT_EQ("No", Value("SnapTicker1"));
        EXPECT_EQ("", Value("WinPlace0"));          // docked: no placement
        EXPECT_NE("", Value("WinPlace1"));
    }
    // A ticker made again under the same number reads back what was written.
    TickerSlot again;
    ASSERT_TRUE(again.Create(FALSE, 1, "US"));
    EXPECT_EQ(0x010203u, again.wnd.GetTextColor());
    EXPECT_EQ(0x000080u, again.wnd.GetDownColor());
    EXPECT_FALSE(again.wnd.IsShowingChanges());
}

TEST(ZorvatTickerWndTest, LabelBoxesShareTheirWidthWhenDockedAndSitAtTheDirectionsEnd)
{
    TickerSlot shortName, longName, floating, rtl;
    ASSERT_TRUE(shortName.Create(TRUE, 5, "A"));
    ASSERT_TRUE(longName.Create(TRUE, 6, "A much longer name", FALSE, 30));
    ASSERT_TRUE(floating.Create(FALSE, 7, "A", FALSE, 60));
    RECT rcShort = shortName.wnd.GetLabelRect();
    RECT rcLong = longName.wnd.GetLabelRect();
    RECT rcFloat = floating.wnd.GetLabelRect();
    EXPECT_EQ(0, rcShort.left);
    EXPECT_EQ(rcLong.right - rcLong.left, rcShort.right - rcShort.left);
    EXPECT_LT(rcFloat.right - rcFloat.left, rcShort.right - rcShort.left);
    EXPECT_GT(rcFloat.right - rcFloat.left, 8);
    EXPECT_EQ(shortName.wnd.GetTextHeight(FALSE), rcShort.bottom);

    ASSERT_TRUE(rtl.Create(TRUE, 8, "B", TRUE, 90));
    RECT rcClient, rcRtl = rtl.wnd.GetLabelRect();
    rtl.wnd.GetClientRect(&rcClient);
    EXPECT_EQ(rcClient.right, rcRtl.right);
    // The box is painted with the button face, also after a scroll step.
    rtl.wnd.AddItem("X", 0, "1.00", 0);
    while (rtl.wnd.IsTimerRunning())
        rtl.wnd.SendMessage(WM_TIMER, CTickerWnd::SCROLL_TIMER);
    HDC hdc = GetDC(rtl.wnd.GetSafeHwnd());
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetPixel(hdc, rcRtl.left + 2, rcRtl.bottom - 3));
    ReleaseDC(rtl.wnd.GetSafeHwnd(), hdc);
}

TEST(ZorvatTickerWndTest, TheFeedOfANameLivesWithItsWindow)
{
    {
        TickerSlot t;
        ASSERT_TRUE(t.Create(TRUE, 9, "FeedTicker"));
        ITickerFeed* pFeed = FindTickerFeed("FeedTicker");
        ASSERT_EQ(static_cast<ITickerFeed*>(&t.wnd), pFeed);
        pFeed->AddItem("ZAIN", pFeed->GetTextColor(), "0.52 +0.01", pFeed->GetUpColor());
        ASSERT_EQ(1, t.wnd.GetItemCount());
        EXPECT_STREQ("ZAIN", t.wnd.GetItemText(0, FALSE));
        EXPECT_STREQ("0.52 +0.01", t.wnd.GetItemText(0, TRUE));

        CTickerWnd* pClosed = nullptr;
        SetTickerCloser([&](CTickerWnd* pTicker) { pClosed = pTicker; });
        t.wnd.SendMessage(WM_CLOSE);
        SetTickerCloser(nullptr);
        EXPECT_EQ(static_cast<CTickerWnd*>(&t.wnd), pClosed);
        t.wnd.DestroyWindow();
    }
    EXPECT_EQ(nullptr, FindTickerFeed("FeedTicker"));
}

}  // namespace

namespace {

// The same commands, in the same order, in both languages.
TEST(ZorvatTickerWndTest, TheContextMenuHasTheWindowsOwnCommandsInBothLanguages)
{
    const char* const pszFiles[2] = {TB_SOURCE_DIR "/resources/_1252.rc", TB_SOURCE_DIR "/resources/_1256.rc"};
    std::vector<UINT> ids[2];
    for (int i = 0; i < 2; ++i) {
        CResourceScript script;
        ASSERT_TRUE(script.LoadFile(pszFiles[i])) << pszFiles[i];
        const auto& menus = script.GetTemplates().menus;
        ASSERT_TRUE(menus.count("#112")) << pszFiles[i];
        ASSERT_EQ(1u, menus.at("#112").size());
        for (const auto& item : menus.at("#112")[0].popup)
            if (!(item.uFlags & MF_SEPARATOR))
                ids[i].push_back(item.uId);
    }
    EXPECT_EQ(ids[0], ids[1]);
    EXPECT_EQ((std::vector<UINT>{32837, 32838, 33087, 33088, 33089, 32843, 32844}), ids[0]);
}

}  // namespace
