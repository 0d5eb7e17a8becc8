#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <vector>
#include <string>

#include "WindowTestSupport.h"
#include "framework/base/NorvGlobals.h"
#include "framework/window/TBTabControl.h"
#include "platform/win/gdi/ImageCodec.h"

namespace {
const int TAB_ID = 77;

CTBTabControl* MakeTabs(HWND hParent, DWORD dwStyle, int cx, std::initializer_list<const char*> texts)
{
    HWND hWnd = CreateWindowExA(0, TB_TABCONTROL_CLASS, "", WS_CHILD | WS_VISIBLE | dwStyle, 0, 0, cx, 40, hParent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(TAB_ID)), nullptr, nullptr);
    auto* pTabs = dynamic_cast<CTBTabControl*>(CTBWnd::FromHandle(hWnd));
    if (pTabs)
        for (const char* psz : texts)
            pTabs->AddItem(psz);
    return pTabs;
}

// Text measured apart, in the tab font: the parent's font at weight 300.
SIZE TabTextSize(const CTestParent& parent, const char* pszText)
{
    LOGFONTA lf;
    GetObjectA(parent.m_hFont, sizeof(lf), &lf);
    lf.lfWeight = 300;
    HFONT hFont = CreateFontIndirectA(&lf);
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hFont);
    SIZE size = {};
    GetTextExtentPoint32A(hdc, pszText, static_cast<int>(strlen(pszText)), &size);
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    DeleteObject(hFont);
    return size;
}

int WindowHeight(HWND hWnd)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    return rc.bottom - rc.top;
}

void Click(const CTBTabControl* pTabs, UINT uMsg, int x, int y)
{
    SendMessageA(pTabs->m_hWnd, uMsg, uMsg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
}

POINT Centre(const RECT& rc)
{
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}
}  // namespace

TEST(TabControl, TenTabsAtMostBeforeAndAfterTheWindowExists)
{
    auto* pLoose = new CTBTabControl;
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(i, pLoose->AddItem("tab"));
    EXPECT_EQ(-1, pLoose->AddItem("eleventh"));
    EXPECT_EQ(10, pLoose->GetItemCount());
    delete pLoose;  // no window: the object is still the caller's

    CTestParent parent;
    CTBTabControl* pTabs = MakeTabs(parent.m_hWnd, 0, 300, {});
    ASSERT_NE(nullptr, pTabs);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(TRUE, pTabs->AddItem("tab"));
    EXPECT_EQ(FALSE, pTabs->AddItem("eleventh"));
    EXPECT_EQ(10, pTabs->GetItemCount());
}

TEST(TabControl, OneRowLaysTabsOutLeftToRightAndHitTestsThem)
{
    CTestParent parent;
    CTBTabControl* pTabs = MakeTabs(parent.m_hWnd, 0, 380, {"Quotes", "Orders", "Time and sales"});
    ASSERT_NE(nullptr, pTabs);

    const int cyStrip = TabTextSize(parent, "M").cy + 8;
    EXPECT_EQ(cyStrip, pTabs->GetStripHeight());
    EXPECT_EQ(cyStrip, WindowHeight(pTabs->m_hWnd)) << "the window takes the strip's height";

    int x = 2;
    const char* apszTexts[] = {"Quotes", "Orders", "Time and sales"};
    for (int i = 0; i < 3; ++i) {
        RECT rc = pTabs->GetItemRect(i);
        int cx = TabTextSize(parent, apszTexts[i]).cx + 16;
        EXPECT_EQ(x, rc.left) << "tab " << i;
        EXPECT_EQ(x + cx, rc.right) << "tab " << i;
        EXPECT_EQ(2, rc.top);
        EXPECT_EQ(cyStrip - 2, rc.bottom);
        EXPECT_TRUE(pTabs->IsItemFullyVisible(i));
        POINT pt = Centre(rc);
        EXPECT_EQ(i, pTabs->HitTest(pt.x, pt.y));
        EXPECT_EQ(-1, pTabs->HitTest(rc.right, pt.y)) << "the 2-pixel gap after tab " << i;
        x += cx + 2;
    }
    EXPECT_FALSE(pTabs->AreArrowsShown());
    EXPECT_EQ(-1, pTabs->HitTest(370, cyStrip / 2));
}

TEST(TabControl, ParentVetoesOrHearsEveryChange)
{
    CTestParent parent;
    CTBTabControl* pTabs = MakeTabs(parent.m_hWnd, 0, 380, {"One", "Two", "Three"});
    ASSERT_NE(nullptr, pTabs);

    EXPECT_TRUE(pTabs->SelectTab(2));
    EXPECT_EQ(2, pTabs->GetCurSel());
    ASSERT_EQ(2u, parent.m_log.size());
    EXPECT_EQ(static_cast<UINT>(TBTN_QUERYCHANGE), parent.m_log[0].uMsg) << "asked before the change";
    EXPECT_EQ(2u, parent.m_log[0].wParam);
    EXPECT_EQ(static_cast<UINT>(WM_COMMAND), parent.m_log[1].uMsg);
    EXPECT_EQ(MAKEWPARAM(TAB_ID, TBTN_SELCHANGE), parent.m_log[1].wParam);
    EXPECT_EQ(reinterpret_cast<LPARAM>(pTabs->m_hWnd), parent.m_log[1].lParam);

    parent.m_log.clear();
    EXPECT_TRUE(pTabs->SelectTab(2)) << "the same tab again";
    EXPECT_TRUE(parent.m_log.empty());

    parent.m_lVeto = 1;
    EXPECT_FALSE(pTabs->SelectTab(0));
    EXPECT_EQ(2, pTabs->GetCurSel());
    EXPECT_TRUE(parent.Messages(WM_COMMAND).empty()) << "a vetoed change is not reported";
    EXPECT_FALSE(pTabs->SelectTab(3)) << "no such tab";
    EXPECT_FALSE(pTabs->SelectTab(-1));

    // A click on another tab selects it; on the current one it takes the focus.
    parent.m_lVeto = 0;
    parent.m_log.clear();
    POINT pt = Centre(pTabs->GetItemRect(1));
    Click(pTabs, WM_LBUTTONDOWN, pt.x, pt.y);
    Click(pTabs, WM_LBUTTONUP, pt.x, pt.y);
    EXPECT_EQ(1, pTabs->GetCurSel());
    EXPECT_EQ(1u, parent.Messages(WM_COMMAND).size());
    SetFocus(parent.m_hWnd);
    Click(pTabs, WM_LBUTTONDOWN, pt.x, pt.y);
    EXPECT_EQ(pTabs->m_hWnd, GetFocus());
    EXPECT_EQ(1u, parent.Messages(WM_COMMAND).size());
}

TEST(TabControl, LeftAndRightWrapAroundAndDoNothingWithoutTabs)
{
    CTestParent parent;
    CTBTabControl* pTabs = MakeTabs(parent.m_hWnd, 0, 380, {"One", "Two", "Three"});
    ASSERT_NE(nullptr, pTabs);
    EXPECT_TRUE(SendMessageA(pTabs->m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS);

    SendMessageA(pTabs->m_hWnd, WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(2, pTabs->GetCurSel()) << "Left on the first goes to the last";
    EXPECT_EQ(pTabs->m_hWnd, GetFocus());
    SendMessageA(pTabs->m_hWnd, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(0, pTabs->GetCurSel()) << "Right on the last goes to the first";
    SendMessageA(pTabs->m_hWnd, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(1, pTabs->GetCurSel());
    EXPECT_EQ(3u, parent.Messages(WM_COMMAND).size());

    // With every tab deleted the keys have nothing to go to.
    while (pTabs->GetItemCount() > 0)
        ASSERT_TRUE(pTabs->DeleteItem(0));
    parent.m_log.clear();
    SendMessageA(pTabs->m_hWnd, WM_KEYDOWN, VK_LEFT, 0);
    SendMessageA(pTabs->m_hWnd, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(0, pTabs->GetCurSel());
    EXPECT_TRUE(parent.m_log.empty());
    UpdateWindow(pTabs->m_hWnd);    // and it still paints
}

TEST(TabControl, DeletingKeepsTheCurrentTabWherePossible)
{
    CTestParent parent;
    CTBTabControl* pTabs = MakeTabs(parent.m_hWnd, 0, 380, {"A", "B", "C", "D"});
    ASSERT_NE(nullptr, pTabs);
    ASSERT_TRUE(pTabs->SelectTab(3));
    EXPECT_TRUE(pTabs->DeleteItem(3));
    EXPECT_EQ(0, pTabs->GetCurSel()) << "the current last tab gone: tab 0";
    ASSERT_TRUE(pTabs->SelectTab(2));
    EXPECT_TRUE(pTabs->DeleteItem(0));
    EXPECT_EQ(1, pTabs->GetCurSel()) << "a tab before the current one gone: the same tab, one lower";
    EXPECT_FALSE(pTabs->DeleteItem(2));
    EXPECT_FALSE(pTabs->DeleteItem(-1));
    EXPECT_EQ(2, pTabs->GetItemCount());
}

TEST(TabControl, HeldArrowScrollsUntilTheLastTabShows)
{
    CTestParent parent;
    CTBTabControl* pTabs = MakeTabs(parent.m_hWnd, 0, 300, {"Tab 1", "Tab 2", "Tab 3", "Tab 4", "Tab 5", "Tab 6",
                                                          "Tab 7", "Tab 8", "Tab 9", "Tab 10"});
    ASSERT_NE(nullptr, pTabs);
    const RECT rcArrows = pTabs->GetArrowRect();
    ASSERT_FALSE(IsRectEmpty(&rcArrows)) << "the arrow bitmap was loaded";
    EXPECT_EQ(300, rcArrows.right);
    EXPECT_EQ(pTabs->GetStripHeight() - 1, rcArrows.bottom);
    EXPECT_TRUE(pTabs->AreArrowsShown());
    EXPECT_FALSE(pTabs->IsItemFullyVisible(9));
    EXPECT_EQ(TAB_ARROWS_LEFT_OFF, pTabs->GetArrowImage());

    const int yArrow = (rcArrows.top + rcArrows.bottom) / 2;
    const int xLeft = rcArrows.left + 2, xRight = rcArrows.right - 2;
    EXPECT_EQ(CTBTabControl::TAB_HIT_LEFT, pTabs->HitTest(xLeft, yArrow));
    EXPECT_EQ(CTBTabControl::TAB_HIT_RIGHT, pTabs->HitTest(xRight, yArrow));

    Click(pTabs, WM_LBUTTONDOWN, xLeft, yArrow);
    EXPECT_EQ(0, pTabs->GetFirstVisible()) << "the left arrow is unusable";
    EXPECT_EQ(nullptr, GetCapture());

    Click(pTabs, WM_LBUTTONDOWN, xRight, yArrow);
    EXPECT_EQ(1, pTabs->GetFirstVisible()) << "one tab at once";
    EXPECT_EQ(pTabs->m_hWnd, GetCapture());
    EXPECT_EQ(TAB_ARROWS_RIGHT_PRESSED, pTabs->GetArrowImage());
    RECT rcFirst = pTabs->GetItemRect(0);
    EXPECT_TRUE(IsRectEmpty(&rcFirst)) << "scrolled out";
    // With the first tab out of view, the tabs stop short of the arrows.
    const int cxArrow = rcArrows.right - rcArrows.left;
    for (int i = 1; i < 10; ++i)
        EXPECT_LE(pTabs->GetItemRect(i).right, 300 - cxArrow - cxArrow / 3) << "tab " << i;

    // Off the arrow the repeat stops; back on it scrolls at once and repeats again.
    Click(pTabs, WM_MOUSEMOVE, 10, yArrow);
    EXPECT_NE(TAB_ARROWS_RIGHT_PRESSED, pTabs->GetArrowImage());
    PumpUntil([] { return false; }, 700);
    EXPECT_EQ(1, pTabs->GetFirstVisible());
    Click(pTabs, WM_MOUSEMOVE, xRight, yArrow);
    EXPECT_EQ(2, pTabs->GetFirstVisible());
    EXPECT_EQ(TAB_ARROWS_RIGHT_PRESSED, pTabs->GetArrowImage());
    EXPECT_TRUE(PumpUntil([pTabs] { return pTabs->IsItemFullyVisible(9); }, 10000));
    PumpUntil([] { return false; }, 600);
    const int nFirst = pTabs->GetFirstVisible();
    EXPECT_GT(nFirst, 2);

    Click(pTabs, WM_LBUTTONUP, xRight, yArrow);
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(TAB_ARROWS_RIGHT_OFF, pTabs->GetArrowImage());
    PumpUntil([] { return false; }, 600);
    EXPECT_EQ(nFirst, pTabs->GetFirstVisible()) << "released: no more scrolling";

    // Selecting a tab out of view scrolls it back in.
    ASSERT_TRUE(pTabs->SelectTab(0));
    EXPECT_EQ(0, pTabs->GetFirstVisible());
    EXPECT_TRUE(pTabs->IsItemFullyVisible(0));
}

// Right to left, asked by the window's style or by the application's language, is the left-to-right
// strip in a mirror, in one row and in several: rectangles, arrows, the arrow that moves on and the
// key that does.
TEST(TabControl, RightToLeftMirrorsTheStripItsArrowsAndKeys)
{
    const int cx = 300;
    for (DWORD dwStyle : {0UL, static_cast<unsigned long>(TCS_NORV_MULTIROW)})
        for (BOOL bByLanguage : {FALSE, TRUE}) {
            SCOPED_TRACE(std::string(dwStyle ? "several rows, " : "one row, ") + (bByLanguage ? "by the language" : "by the style"));
            CTestParent parent;
            CTBTabControl* pLtr = MakeTabs(parent.m_hWnd, dwStyle, cx, {});
            GetNorvGlobals().SetRightToLeft(bByLanguage);
            HWND hRtl = CreateWindowExA(bByLanguage ? 0 : WS_EX_LAYOUTRTL, TB_TABCONTROL_CLASS, "", WS_CHILD | WS_VISIBLE | dwStyle,
                                        0, 50, cx, 40, parent.m_hWnd, nullptr, nullptr, nullptr);
            auto* pRtl = dynamic_cast<CTBTabControl*>(CTBWnd::FromHandle(hRtl));
            ASSERT_TRUE(pLtr && pRtl);
            // The left-to-right twin does each step with the language left to right.
            auto OnLtr = [bByLanguage](auto fn) {
                GetNorvGlobals().SetRightToLeft(FALSE);
                fn();
                GetNorvGlobals().SetRightToLeft(bByLanguage);
            };
            for (const char* psz : {"Tab 1", "Tab 2", "Tab 3", "Tab 4", "Tab 5", "Tab 6", "Tab 7", "Tab 8", "Tab 9"}) {
                pRtl->AddItem(psz);
                OnLtr([&] { pLtr->AddItem(psz); });
            }
            auto ExpectMirrored = [&](int nStep) {
                for (int i = 0; i < 9; ++i) {
                    const RECT rcL = pLtr->GetItemRect(i), rcR = pRtl->GetItemRect(i);
                    EXPECT_EQ(IsRectEmpty(&rcL) ? 0 : cx - rcL.right, rcR.left) << "tab " << i << " step " << nStep;
                    EXPECT_EQ(IsRectEmpty(&rcL) ? 0 : cx - rcL.left, rcR.right) << "tab " << i << " step " << nStep;
                    EXPECT_EQ(rcL.top, rcR.top) << "tab " << i << " step " << nStep;
                    POINT pt = Centre(rcR);
                    if (pRtl->IsItemFullyVisible(i)) {     // a cut one may lie under the arrows
                        EXPECT_EQ(i, pRtl->HitTest(pt.x, pt.y));
                    }
                }
            };
            ExpectMirrored(0);
            if (dwStyle) {
                pRtl->SelectTab(8);
                OnLtr([&] { pLtr->SelectTab(8); });
                ExpectMirrored(1);
                GetNorvGlobals().SetRightToLeft(FALSE);
                continue;
            }
            for (int nStep = 0; nStep < 2; ++nStep) {
                const RECT rcArrows = pRtl->GetArrowRect();
                EXPECT_EQ(0, rcArrows.left);
                ASSERT_TRUE(pRtl->AreArrowsShown());
                EXPECT_EQ(nStep == 0 ? TAB_ARROWS_RIGHT_OFF : TAB_ARROWS_BOTH, pRtl->GetArrowImage());
                // The left arrow shows the later tabs, as the right one does left to right.
                const int yArrow = (rcArrows.top + rcArrows.bottom) / 2;
                const RECT rcLtrArrows = pLtr->GetArrowRect();
                Click(pRtl, WM_LBUTTONDOWN, rcArrows.left + 2, yArrow);
                Click(pRtl, WM_LBUTTONUP, rcArrows.left + 2, yArrow);
                OnLtr([&] {
                    Click(pLtr, WM_LBUTTONDOWN, rcLtrArrows.right - 2, yArrow);
                    Click(pLtr, WM_LBUTTONUP, rcLtrArrows.right - 2, yArrow);
                });
                EXPECT_EQ(nStep + 1, pRtl->GetFirstVisible());
                ExpectMirrored(nStep + 1);
            }
            SendMessageA(hRtl, WM_KEYDOWN, VK_LEFT, 0);
            EXPECT_EQ(1, pRtl->GetCurSel()) << "Left steps to the next tab";
            SendMessageA(hRtl, WM_KEYDOWN, VK_RIGHT, 0);
            SendMessageA(hRtl, WM_KEYDOWN, VK_RIGHT, 0);
            EXPECT_EQ(8, pRtl->GetCurSel()) << "Right on the first goes to the last";
            GetNorvGlobals().SetRightToLeft(FALSE);
        }
}

TEST(TabControl, SeveralRowsFillTheWidthAndBringTheCurrentRowDown)
{
    CTestParent parent;
    const int cx = 230;
    CTBTabControl* pTabs = MakeTabs(parent.m_hWnd, TCS_NORV_MULTIROW, cx,
                                    {"Quotes", "Orders", "Time and sales", "Indices", "News", "Holdings", "Charts"});
    ASSERT_NE(nullptr, pTabs);
    EXPECT_FALSE(pTabs->AreArrowsShown());
    EXPECT_EQ(pTabs->GetStripHeight(), WindowHeight(pTabs->m_hWnd));

    // Rows by their top edge; every tab is whole and every row reaches the width less 3.
    auto RowTops = [pTabs] {
        std::vector<LONG> tops;
        for (int i = 0; i < pTabs->GetItemCount(); ++i)
            if (std::find(tops.begin(), tops.end(), pTabs->GetItemRect(i).top) == tops.end())
                tops.push_back(pTabs->GetItemRect(i).top);
        std::sort(tops.begin(), tops.end());
        return tops;
    };
    std::vector<LONG> tops = RowTops();
    ASSERT_GE(tops.size(), 2u);
    const int cyRow = tops[1] - tops[0];
    EXPECT_EQ(2, tops[0]);
    EXPECT_EQ(static_cast<int>(tops.size()) * cyRow + 2, pTabs->GetStripHeight());
    for (LONG top : tops) {
        LONG right = 0;
        for (int i = 0; i < pTabs->GetItemCount(); ++i)
            if (pTabs->GetItemRect(i).top == top)
                right = std::max(right, pTabs->GetItemRect(i).right);
        EXPECT_EQ(cx - 3, right) << "row at " << top;
    }
    for (int i = 0; i < pTabs->GetItemCount(); ++i)
        EXPECT_TRUE(pTabs->IsItemFullyVisible(i)) << "tab " << i;
    EXPECT_EQ(tops.back(), pTabs->GetItemRect(0).top) << "the current tab's row touches the page";

    // A click on a tab of the top row selects it and its row comes down.
    int nTop = -1;
    for (int i = 0; i < pTabs->GetItemCount() && nTop < 0; ++i)
        if (pTabs->GetItemRect(i).top == tops.front())
            nTop = i;
    ASSERT_GE(nTop, 0);
    POINT pt = Centre(pTabs->GetItemRect(nTop));
    Click(pTabs, WM_LBUTTONDOWN, pt.x, pt.y);
    EXPECT_EQ(nTop, pTabs->GetCurSel());
    EXPECT_EQ(tops.back(), pTabs->GetItemRect(nTop).top);
    EXPECT_EQ(tops, RowTops()) << "the rows rotate, their number stays";
    POINT ptFirst = Centre(pTabs->GetItemRect(0));
    EXPECT_EQ(0, pTabs->HitTest(ptFirst.x, ptFirst.y));
}

// Screenshots of both layouts in both languages, for a person to look at.
TEST(TabControl, ScreenshotsInOneAndSeveralRows)
{
    const struct {
        const char* pszShot;
        DWORD dwStyle;
        BOOL bArabic;
    } shots[] = {{"tabs_one_row", 0, FALSE}, {"tabs_rows", TCS_NORV_MULTIROW, FALSE},
                 {"tabs_one_row_arabic", 0, TRUE}, {"tabs_rows_arabic", TCS_NORV_MULTIROW, TRUE}};
    const char* apszEnglish[] = {"Quotes", "Orders", "Time and sales", "Indices", "News", "Holdings", "Charts"};
    const char* apszArabic[] = {"الأسعار", "الأوامر", "الصفقات", "المؤشرات", "الأخبار", "المحفظة", "الرسوم"};
    for (const auto& shot : shots) {
        TbSetActiveCodePage(shot.bArabic ? 1256 : 1252);
        GetNorvGlobals().SetRightToLeft(shot.bArabic);
        {
            CTestParent parent(260, 90);
            CTBTabControl* pTabs = MakeTabs(parent.m_hWnd, shot.dwStyle, 250, {});
            ASSERT_NE(nullptr, pTabs);
            for (int i = 0; i < 7; ++i)
                pTabs->AddItem(shot.bArabic ? Arabic(apszArabic[i]).c_str() : apszEnglish[i]);
            pTabs->SelectTab(2);
            SetFocus(pTabs->m_hWnd);
            UpdateWindow(parent.m_hWnd);
            UpdateWindow(pTabs->m_hWnd);
            EXPECT_TRUE(TbSaveWindowPng(parent.m_hWnd, ScreenshotPath(shot.pszShot).c_str())) << shot.pszShot;
        }
        GetNorvGlobals().SetRightToLeft(FALSE);
        TbSetActiveCodePage(1252);
    }
}
