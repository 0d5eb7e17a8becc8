#include <gtest/gtest.h>

#include <string>

#include "WindowTestSupport.h"
#include "framework/base/NorvGlobals.h"
#include "framework/window/TBFont.h"
#include "framework/window/TBScrollBar.h"
#include "platform/win/user/Controls.h"

namespace {
int ScreenDpi()
{
    HDC hdc = CreateCompatibleDC(nullptr);
    int nDpi = GetDeviceCaps(hdc, LOGPIXELSY);
    DeleteDC(hdc);
    return nDpi;
}

LOGFONTA LogFontOf(const CTBFont& font)
{
    LOGFONTA lf = {};
    EXPECT_EQ(static_cast<int>(sizeof(lf)), font.GetLogFont(&lf));
    return lf;
}
}  // namespace

TEST(TBFont, PointFontsTakeTheFaceWeightAndCharacterSet)
{
    const int nDpi = ScreenDpi();
    ASSERT_GT(nDpi, 0);
    EXPECT_EQ(-static_cast<int>(10 * nDpi / 72.0), CTBFont::PointSizeToHeight(10, nullptr));
    EXPECT_EQ(-static_cast<int>(9 * nDpi / 72.0), CTBFont::PointSizeToHeight(9, nullptr));

    CTBFont font;
    ASSERT_TRUE(font.CreatePointFont("DejaVu Sans", 10, /*bBold=*/FALSE, nullptr));
    LOGFONTA lf = LogFontOf(font);
    EXPECT_STREQ("DejaVu Sans", lf.lfFaceName);
    EXPECT_EQ(CTBFont::PointSizeToHeight(10, nullptr), lf.lfHeight);
    EXPECT_EQ(FW_NORMAL, lf.lfWeight);
    EXPECT_EQ(DEFAULT_CHARSET, lf.lfCharSet);
    if (nDpi == 96) {
        EXPECT_EQ(-13, lf.lfHeight);
        EXPECT_EQ(10, font.GetPointSize(nullptr)) << "9.75 rounds back to 10";
    }
    // The point size reads back from the font's own metrics on any display.
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, font.GetSafeHandle());
    TEXTMETRICA tm;
    ASSERT_TRUE(GetTextMetricsA(hdc, &tm));
    SelectObject(hdc, hOld);
    EXPECT_EQ(MulDiv(tm.tmHeight - tm.tmInternalLeading, 72, nDpi), font.GetPointSize(hdc));
    DeleteDC(hdc);

    ASSERT_TRUE(font.CreatePointFont("DejaVu Sans", 12, /*bBold=*/TRUE, nullptr));
    EXPECT_EQ(FW_BOLD, LogFontOf(font).lfWeight) << "the old font replaced";
    GetNorvGlobals().SetRightToLeft(TRUE);
    ASSERT_TRUE(font.CreatePointFont("DejaVu Sans", 12, FALSE, nullptr));
    GetNorvGlobals().SetRightToLeft(FALSE);
    EXPECT_EQ(ARABIC_CHARSET, LogFontOf(font).lfCharSet) << "right to left: Arabic whatever the face";

    EXPECT_EQ(-1, CTBFont::GetPointSizeOf(nullptr, nullptr));
    CTBFont none;
    EXPECT_EQ(-1, none.GetPointSize(nullptr));
    LOGFONTA lfNone;
    EXPECT_EQ(0, none.GetLogFont(&lfNone));
}

TEST(TBFont, LongFaceIsCutToWhatALogFontHolds)
{
    const std::string strFace(40, 'F');
    CTBFont font;
    ASSERT_TRUE(font.CreatePointFont(strFace.c_str(), 10, FALSE, nullptr));
    LOGFONTA lf = LogFontOf(font);
    EXPECT_EQ(std::string(31, 'F'), std::string(lf.lfFaceName)) << "31 characters and the terminator";

    const std::string strExact(32, 'G');
    ASSERT_TRUE(font.CreatePointFont(strExact.c_str(), 10, FALSE, nullptr));
    EXPECT_EQ(std::string(31, 'G'), std::string(LogFontOf(font).lfFaceName));
}

TEST(TBFont, CopiesAndHandlesOwnTheirFonts)
{
    LOGFONTA lf = {};
    lf.lfHeight = -15;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 1;
    snprintf(lf.lfFaceName, sizeof(lf.lfFaceName), "%s", "DejaVu Serif");
    CTBFont source;
    ASSERT_TRUE(source.CreateFontIndirect(lf));

    CTBFont copy;
    copy.Copy(source);
    ASSERT_NE(nullptr, copy.GetSafeHandle());
    EXPECT_NE(source.GetSafeHandle(), copy.GetSafeHandle()) << "a font of its own";
    LOGFONTA lfCopy = LogFontOf(copy);
    EXPECT_EQ(-15, lfCopy.lfHeight);
    EXPECT_EQ(FW_BOLD, lfCopy.lfWeight);
    EXPECT_EQ(1, lfCopy.lfItalic);
    EXPECT_STREQ("DejaVu Serif", lfCopy.lfFaceName);

    // Onto itself, or from the handle it holds: nothing changes.
    HFONT hHeld = copy.GetSafeHandle();
    copy.Copy(copy);
    EXPECT_EQ(hHeld, copy.GetSafeHandle());
    copy.CreateFromHandle(hHeld);
    EXPECT_EQ(hHeld, copy.GetSafeHandle());

    // From an object without a font: none.
    CTBFont empty;
    copy.Copy(empty);
    EXPECT_EQ(nullptr, copy.GetSafeHandle());

    // A detached handle is the caller's and stays usable after the object is gone.
    HFONT hDetached = nullptr;
    {
        CTBFont owner;
        owner.CreateFromHandle(source.GetSafeHandle());
        hDetached = owner.Detach();
        EXPECT_EQ(nullptr, owner.GetSafeHandle());
    }
    LOGFONTA lfDetached;
    EXPECT_EQ(static_cast<int>(sizeof(lfDetached)), GetObjectA(hDetached, sizeof(lfDetached), &lfDetached));
    EXPECT_TRUE(DeleteObject(hDetached));
    source.DeleteObject();
    EXPECT_EQ(nullptr, source.GetSafeHandle());
}

TEST(TBScrollBar, IsAScrollBarChildOfItsParent)
{
    CTestParent parent;
    CTBWnd parentWnd;
    ASSERT_TRUE(parentWnd.Attach(parent.m_hWnd));
    HWND hBar = nullptr;
    {
        CTBScrollBar bar;
        ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, RECT{10, 10, 26, 110}, &parentWnd, 41));
        char szClass[32] = {};
        GetClassNameA(bar.m_hWnd, szClass, sizeof(szClass));
        EXPECT_STREQ(WC_SCROLLBARA, szClass);
        EXPECT_EQ(parent.m_hWnd, GetParent(bar.m_hWnd));
        EXPECT_EQ(41, GetDlgCtrlID(bar.m_hWnd));
        EXPECT_EQ(&bar, CTBWnd::FromHandle(bar.m_hWnd));
        SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 40, 0};
        SendMessageA(bar.m_hWnd, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&si));
        EXPECT_EQ(40, SendMessageA(bar.m_hWnd, SBM_GETPOS, 0, 0));
        hBar = bar.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(hBar)) << "the destructor destroyed the window";
    parentWnd.Detach();
}
