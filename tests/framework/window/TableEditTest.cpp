#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WindowTestSupport.h"
#include "framework/base/ColumnDataType.h"
#include "framework/base/NorvGlobals.h"
#include "framework/window/TableEdit.h"
#include "platform/win/user/Controls.h"

namespace {
// Stands in for the grid window: logs the keys its editor hands over and answers 77.
class CGridStandIn : public CTBWnd
{
public:
    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_KEYDOWN || uMsg == WM_KEYUP) {
            m_keys.push_back(static_cast<int>(uMsg == WM_KEYUP ? -wParam : wParam));
            return 77;
        }
        return CTBWnd::WindowProc(uMsg, wParam, lParam);
    }
    std::vector<int> m_keys;
};

class TableEditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GetNorvGlobals().m_bBeep = FALSE;
        ASSERT_TRUE(m_grid.CreateEx(0, WC_STATICA, "", WS_CHILD | WS_VISIBLE, 0, 0, 380, 150, m_parent.m_hWnd,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(5))));
        RECT rc = {10, 10, 200, 34};
        ASSERT_TRUE(m_edit.Create(101, "", rc, &m_grid, WS_BORDER, 0));
        SendMessageA(m_edit.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_parent.m_hFont), FALSE);
    }
    void TearDown() override
    {
        GetNorvGlobals().m_bBeep = TRUE;
        GetNorvGlobals().m_chDecimal = '.';
        GetNorvGlobals().m_chThousands = ',';
    }
    // What the field holds after the text is set and the characters typed at its end.
    std::string TypeInto(int nType, int nDecimals, const char* pszStart, const std::string& strKeys)
    {
        m_edit.SetColumnType(nType, nDecimals);
        SetWindowTextA(m_edit.m_hWnd, pszStart);
        int nEnd = static_cast<int>(strlen(pszStart));
        SendMessageA(m_edit.m_hWnd, EM_SETSEL, nEnd, nEnd);
        for (char ch : strKeys)
            SendMessageA(m_edit.m_hWnd, WM_CHAR, static_cast<unsigned char>(ch), 0);
        return std::string(m_edit.GetWindowText());
    }

    CTestParent m_parent;
    CGridStandIn m_grid;
    CTableEdit m_edit;
};
}  // namespace

TEST_F(TableEditTest, NavigationKeysGoToTheGridAndTheRestStay)
{
    EXPECT_EQ(m_grid.m_hWnd, GetParent(m_edit.m_hWnd));
    EXPECT_EQ(101, GetDlgCtrlID(m_edit.m_hWnd));
    const DWORD dwStyle = static_cast<DWORD>(GetWindowLongA(m_edit.m_hWnd, GWL_STYLE));
    EXPECT_EQ(static_cast<DWORD>(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | WS_BORDER),
              dwStyle & (WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | WS_BORDER));
    for (int nKey : {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN}) {
        EXPECT_EQ(77, SendMessageA(m_edit.m_hWnd, WM_KEYDOWN, nKey, 1)) << nKey;
        EXPECT_EQ(0, SendMessageA(m_edit.m_hWnd, WM_KEYUP, nKey, 1)) << nKey;
    }
    EXPECT_EQ((std::vector<int>{VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN}), m_grid.m_keys);
    // Left and Right move the caret in the field.
    m_edit.SetColumnType(COLTYPE_STRING, 0);
    SetWindowTextA(m_edit.m_hWnd, "abc");
    SendMessageA(m_edit.m_hWnd, EM_SETSEL, 3, 3);
    SendMessageA(m_edit.m_hWnd, WM_KEYDOWN, VK_LEFT, 1);
    SendMessageA(m_edit.m_hWnd, WM_KEYUP, VK_LEFT, 1);
    SendMessageA(m_edit.m_hWnd, WM_KEYDOWN, VK_LEFT, 1);
    SendMessageA(m_edit.m_hWnd, WM_CHAR, 'x', 1);
    EXPECT_EQ("axbc", std::string(m_edit.GetWindowText()));
    EXPECT_EQ(7u, m_grid.m_keys.size());
    // Enter, Tab and Escape characters never reach the text.
    EXPECT_EQ("axbc", TypeInto(COLTYPE_STRING, 0, "axbc", "\r\t\x1b"));

    const LRESULT lWanted = DLGC_WANTTAB | DLGC_WANTALLKEYS;
    EXPECT_EQ(lWanted, SendMessageA(m_edit.m_hWnd, WM_GETDLGCODE, 0, 0) & lWanted);
}

TEST_F(TableEditTest, CharactersAreFilteredByTheColumnType)
{
    GetNorvGlobals().m_bBeep = TRUE;                // a refused character also beeps; it is still dropped
    EXPECT_EQ("", TypeInto(-1, 0, "", "1a-"));
    EXPECT_EQ("", TypeInto(COLTYPE_NONE, 0, "", "1a"));
    EXPECT_EQ("1,234", TypeInto(COLTYPE_INT32, 0, "", "1,2a34.x"));
    EXPECT_EQ("-12.5", TypeInto(COLTYPE_DOUBLE, -2, "", "-1-2.5."));
    m_edit.SetAllowNegative(FALSE);
    EXPECT_EQ("12", TypeInto(COLTYPE_INT64, -2, "", "-12"));
    m_edit.SetAllowNegative(TRUE);
    // A fraction takes one space and one slash.
    EXPECT_EQ("1 3/4", TypeInto(COLTYPE_INT32, CTableEdit::DECIMALS_FRACTION, "", "1 3/ 4/"));
    // Dates and times take their patterns' characters and the date marks.
    EXPECT_EQ("2020/01-02", TypeInto(COLTYPE_PACKED_DATE, 0, "", "2020/01-02:x"));
    EXPECT_EQ("10:30:00", TypeInto(COLTYPE_TIME_TEXT, 0, "", "10:30:00 /"));
    EXPECT_EQ("2020/01/02 10:30", TypeInto(COLTYPE_PACKED_DATETIME, 0, "", "2020/01/02 10:30x"));
    EXPECT_EQ("2020/01/02 10:30x", TypeInto(COLTYPE_DATETIME_TEXT, 0, "", "2020/01/02 10:30x"));
    EXPECT_EQ("a|b", TypeInto(COLTYPE_STRING, 0, "", "a|b"));
}

TEST_F(TableEditTest, ASelectedTextCountsAsEmptyForSignsAndSeparators)
{
    GetNorvGlobals().m_chDecimal = ',';
    GetNorvGlobals().m_chThousands = '.';
    EXPECT_EQ("-5", TypeInto(COLTYPE_INT32, -2, "-5", "-"));
    m_edit.SetColumnType(COLTYPE_INT32, -2);
    SendMessageA(m_edit.m_hWnd, EM_SETSEL, 0, -1);
    SendMessageA(m_edit.m_hWnd, WM_CHAR, '-', 0);
    EXPECT_EQ("-", std::string(m_edit.GetWindowText()));
    EXPECT_EQ("1.000,25", TypeInto(COLTYPE_INT32, -2, "", "1.000,2,5"));
    EXPECT_EQ("10", TypeInto(COLTYPE_INT32, 0, "", "1,0"));     // no decimals: no separator
}
