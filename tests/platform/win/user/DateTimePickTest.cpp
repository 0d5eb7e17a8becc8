// The date picker through its messages, keys and mouse: dates set and read with and without the
// no-date state, the text each format shows, the fields the keys and digits change (a day kept
// inside its month), the check box, and the parent's DTN_DATETIMECHANGE for the user's changes
// only. Mirrored, the check box stands at the right.
#include <gtest/gtest.h>

#include <string>

#include "ControlTestSupport.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/DateTimePick.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
SYSTEMTIME Date(int nYear, int nMonth, int nDay, int nHour = 0, int nMinute = 0)
{
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(nYear);
    st.wMonth = static_cast<WORD>(nMonth);
    st.wDay = static_cast<WORD>(nDay);
    st.wHour = static_cast<WORD>(nHour);
    st.wMinute = static_cast<WORD>(nMinute);
    st.wDayOfWeek = 6;      // wrong on purpose: the picker works it out
    return st;
}

class DatePickers : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (IsWindow(m_hParent))
            DestroyWindow(m_hParent);
        DrainQueue();
    }
    HWND Make(DWORD dwStyle, DWORD dwExStyle = 0, int cx = 150)
    {
        m_hParent = CreateControlParent();
        m_hPick = CreateControl(m_hParent, DATETIMEPICK_CLASSA, dwStyle | WS_TABSTOP, 5, 5, cx, 22, 9);
        if (m_hPick && dwExStyle)
            SetWindowLongA(m_hPick, GWL_EXSTYLE, static_cast<LONG>(dwExStyle));
        return m_hPick;
    }
    BOOL Set(const SYSTEMTIME& st) { return static_cast<BOOL>(SendMessageA(m_hPick, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st))); }
    std::string Get()
    {
        SYSTEMTIME st = {};
        const LRESULT lResult = SendMessageA(m_hPick, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
        if (lResult == GDT_NONE)
            return "none";
        if (lResult != GDT_VALID)
            return "error";
        char sz[40];
        snprintf(sz, sizeof sz, "%04d-%02d-%02d/%d %02d:%02d", st.wYear, st.wMonth, st.wDay, st.wDayOfWeek, st.wHour, st.wMinute);
        return sz;
    }
    std::string Text()
    {
        char sz[100] = "";
        GetWindowTextA(m_hPick, sz, sizeof sz);
        return sz;
    }
    void Format(LPCSTR psz) { SendMessageA(m_hPick, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(psz)); }
    void Key(UINT uVk) { SendMessageA(m_hPick, WM_KEYDOWN, uVk, 0); }
    void Type(const char* psz)
    {
        for (; *psz; ++psz)
            SendMessageA(m_hPick, WM_CHAR, static_cast<WPARAM>(*psz), 0);
    }
    HWND m_hParent = nullptr;
    HWND m_hPick = nullptr;
};
}  // namespace

TEST_F(DatePickers, DatesSetAndReadWithAndWithoutTheNoDateState)
{
    ASSERT_NE(nullptr, Make(0));
    EXPECT_NE("none", Get()) << "a new picker holds today";
    ASSERT_TRUE(Set(Date(2026, 12, 7, 14, 30)));
    EXPECT_EQ("2026-12-07/1 14:30", Get()) << "the weekday is worked out (a Monday)";
    // Without the check box there is no "no date"; nor is there a 30 February or a year before 1601.
    EXPECT_FALSE(SendMessageA(m_hPick, DTM_SETSYSTEMTIME, GDT_NONE, 0));
    EXPECT_FALSE(Set(Date(2026, 2, 30)));
    EXPECT_FALSE(Set(Date(1500, 1, 1)));
    EXPECT_FALSE(SendMessageA(m_hPick, DTM_SETSYSTEMTIME, GDT_VALID, 0));
    EXPECT_EQ("2026-12-07/1 14:30", Get());
    EXPECT_EQ(GDT_ERROR, SendMessageA(m_hPick, DTM_GETSYSTEMTIME, 0, 0));
    DestroyWindow(m_hParent);

    ASSERT_NE(nullptr, Make(DTS_SHOWNONE));
    ASSERT_TRUE(Set(Date(2024, 2, 29)));
    EXPECT_EQ("2024-02-29/4 00:00", Get());
    EXPECT_TRUE(SendMessageA(m_hPick, DTM_SETSYSTEMTIME, GDT_NONE, 0));
    EXPECT_EQ("none", Get());
    EXPECT_EQ("", Text()) << "no date shows no text to read";
    ASSERT_TRUE(Set(Date(2000, 1, 1)));
    EXPECT_EQ("2000-01-01/6 00:00", Get()) << "a date set checks the box again";
    EXPECT_EQ("", ParentLog().Joined()) << "the program's changes are not told";
}

TEST_F(DatePickers, FormatsShowTheirFieldsAndQuotedText)
{
    ASSERT_NE(nullptr, Make(0));
    ASSERT_TRUE(Set(Date(2026, 3, 5, 9, 7)));
    EXPECT_EQ("05/03/2026", Text()) << "the default format";
    static const struct { const char* pszFormat; const char* pszText; } s_cases[] = {
        {"yyyy/MM/dd", "2026/03/05"},
        {"dd'/'MM'/'yyyy", "05/03/2026"},
        {"d/M/yy", "5/3/26"},
        {"ddd dd MMM yyyy", "Thu 05 Mar 2026"},
        {"dddd, MMMM d", "Thursday, March 5"},
        {"'Day' d 'of' MMMM", "Day 5 of March"},
        {"'It''s' HH:mm", "It's 09:07"},
        {"h:mm tt", "9:07 AM"},
        {"yyyy/MM/dd 'open", "2026/03/05 open"},
    };
    for (const auto& c : s_cases) {
        Format(c.pszFormat);
        EXPECT_EQ(c.pszText, Text()) << c.pszFormat;
    }
    Format(nullptr);
    EXPECT_EQ("05/03/2026", Text());
}

TEST_F(DatePickers, KeysAndDigitsChangeTheChosenFieldAndTellTheParent)
{
    ASSERT_NE(nullptr, Make(0));
    Format("yyyy/MM/dd");
    ASSERT_TRUE(Set(Date(2024, 1, 31)));
    SetFocus(m_hPick);
    EXPECT_EQ(DLGC_WANTARROWS | DLGC_WANTCHARS, SendMessageA(m_hPick, WM_GETDLGCODE, 0, 0) & (DLGC_WANTARROWS | DLGC_WANTCHARS));
    Key(VK_HOME);                       // the year
    Key(VK_UP);
    EXPECT_EQ("2025/01/31", Text());
    Key(VK_RIGHT);                      // the month: February has no 31st
    Key(VK_UP);
    EXPECT_EQ("2025/02/28", Text());
    Key(VK_DOWN);
    Key(VK_DOWN);                       // January, then December of the same year: months wrap
    EXPECT_EQ("2025/12/28", Text());
    Key(VK_RIGHT);                      // the day, each digit applied as it comes; 31 wraps to 1
    Type("31");
    EXPECT_EQ("2025/12/31", Text());
    Key(VK_UP);
    EXPECT_EQ("2025/12/01", Text());
    Key(VK_RIGHT);                      // nothing after the day: it stays chosen
    Type("4");
    EXPECT_EQ("2025/12/04", Text());
    Type("5");                          // 45 is no day: the 5 starts over
    EXPECT_EQ("2025/12/05", Text());
    Key(VK_HOME);
    Type("199");                        // a year waits for its fourth digit
    EXPECT_EQ("2025/12/05", Text());
    Type("9");
    EXPECT_EQ("1999/12/05", Text());
    EXPECT_EQ("DATE 9 2025-01-31/5, DATE 9 2025-02-28/5, DATE 9 2025-01-28/2, DATE 9 2025-12-28/0, "
              "DATE 9 2025-12-03/3, DATE 9 2025-12-31/3, DATE 9 2025-12-01/1, DATE 9 2025-12-04/4, DATE 9 2025-12-05/5, DATE 9 1999-12-05/0",
              ParentLog().Joined());
}

TEST_F(DatePickers, CheckBoxTurnsTheDateOffAndOnAndIsMirrored)
{
    ASSERT_NE(nullptr, Make(DTS_SHOWNONE));
    Format("yyyy/MM/dd");
    ASSERT_TRUE(Set(Date(2026, 12, 7)));
    Click(m_hPick, 2 + 3 + 6, 11);      // the box, after the frame and its gap
    EXPECT_EQ("none", Get());
    Key(VK_UP);                         // no date: the fields do not change
    Type("5");
    EXPECT_EQ("none", Get());
    Key(VK_SPACE);
    EXPECT_EQ("2026-12-07/1 00:00", Get()) << "the date comes back as it was";
    EXPECT_EQ("DATE 9 none, DATE 9 2026-12-07/1", ParentLog().Joined());
    DestroyWindow(m_hParent);

    // Right to left: the box at the right edge, the drop button at the left.
    ASSERT_NE(nullptr, Make(DTS_SHOWNONE, WS_EX_RTLREADING | WS_EX_RIGHT));
    ASSERT_TRUE(Set(Date(2026, 12, 7)));
    Click(m_hPick, 11, 11);
    EXPECT_NE("none", Get()) << "the left end holds the drop button";
    const int xBox = 150 - 2 - 3 - 6;
    UpdateWindow(m_hPick);
    HDC hdc = GetDC(m_hPick);
    // The check mark's pixels: in the box at the right, none at the left where it stood before.
    auto marks = [&](int xFrom) {
        int n = 0;
        for (int x = xFrom; x < xFrom + 13; ++x)
            for (int y = 4; y < 17; ++y)
                n += GetPixel(hdc, x, y) == GetSysColor(COLOR_WINDOWTEXT);
        return n;
    };
    EXPECT_GT(marks(xBox - 6), 5);
    EXPECT_EQ(0, marks(2 + GetSystemMetrics(SM_CXVSCROLL) + 3));
    const COLORREF crButton = GetPixel(hdc, 2 + GetSystemMetrics(SM_CXVSCROLL) / 2 - 5, 6);
    ReleaseDC(m_hPick, hdc);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), crButton);
    Click(m_hPick, xBox, 11);
    EXPECT_EQ("none", Get());
    EXPECT_EQ("DATE 9 none", ParentLog().Joined());
    // The date still reads left to right, and the arrows walk it as it reads: Right from the day
    // chooses the month beside it.
    Key(VK_SPACE);
    Format("dd/MM/yyyy");
    SetFocus(m_hPick);
    Key(VK_HOME);
    Key(VK_RIGHT);
    Key(VK_UP);
    EXPECT_EQ("07/01/2026", Text());          // months wrap in their year
    Key(VK_LEFT);
    Key(VK_UP);
    EXPECT_EQ("08/01/2026", Text());
}
