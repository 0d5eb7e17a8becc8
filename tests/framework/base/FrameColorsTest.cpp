#include <gtest/gtest.h>

#include <string>

#include "framework/base/NorvGlobals.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/SysMetrics.h"

namespace {
class CColorRecorder : public CGlobalsEventSink
{
public:
    void OnFrameColor1Changed(COLORREF cr) override { m_strLog += "frame1:" + std::to_string(cr) + " "; }
    void OnFrameColor2Changed(COLORREF cr) override { m_strLog += "frame2:" + std::to_string(cr) + " "; }
    std::string m_strLog;
};

COLORREF PenColor(HPEN hPen)
{
    LOGPEN lp = {};
    return GetObjectA(hPen, sizeof(lp), &lp) ? lp.lopnColor : CLR_INVALID;
}
}  // namespace

TEST(FrameColors, SettersRebuildTheirSetsAndFireOnChange)
{
    CNorvGlobals& g = GetNorvGlobals();
    CColorRecorder sink;
    ASSERT_TRUE(g.AddSink(&sink));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), g.m_crFrame1);
    EXPECT_EQ(RGB(255, 0, 0), g.m_crFrame2);
    EXPECT_TRUE(g.m_frame.IsCreated3D());
    EXPECT_TRUE(g.m_frame1.IsCreated3D()) << "the button face builds the 3-D set";
    EXPECT_FALSE(g.m_frame2.IsCreated3D());

    HPEN hBefore = g.m_frame2.GetLightPen();
    g.SetFrameColor2(RGB(255, 0, 0));
    EXPECT_EQ("", sink.m_strLog) << "the same colour fires nothing";
    EXPECT_NE(hBefore, g.m_frame2.GetLightPen()) << "but the set is rebuilt";
    EXPECT_NE(static_cast<DWORD>(OBJ_PEN), GetObjectType(hBefore)) << "the old pens are deleted";

    g.SetFrameColor1(RGB(0, 0, 128));
    g.SetFrameColor2(RGB(0, 128, 0));
    EXPECT_EQ("frame1:8388608 frame2:32768 ", sink.m_strLog);
    EXPECT_EQ(RGB(0, 0, 128), PenColor(g.m_frame1.GetFacePen()));
    EXPECT_FALSE(g.m_frame1.IsCreated3D());

    // A change of the system colours reaches the plain set and the sets built in 3-D mode.
    g.SetFrameColor1(GetSysColor(COLOR_BTNFACE));
    INT nIndex = COLOR_BTNHIGHLIGHT;
    COLORREF crOld = GetSysColor(nIndex), crNew = RGB(250, 250, 200);
    ASSERT_TRUE(SetSysColors(1, &nIndex, &crNew));
    g.RecreateFrames();
    EXPECT_EQ(crNew, PenColor(g.m_frame.GetLightPen()));
    EXPECT_EQ(crNew, PenColor(g.m_frame1.GetLightPen()));
    EXPECT_NE(crNew, PenColor(g.m_frame2.GetLightPen()));
    SetSysColors(1, &nIndex, &crOld);
    g.RecreateFrames();

    g.SetFrameColor2(RGB(255, 0, 0));
    g.RemoveSink(sink.GetSinkId());
}

TEST(FrameColors, PaletteAndReadingFlagOnATrueColourScreen)
{
    CNorvGlobals& g = GetNorvGlobals();
    EXPECT_EQ(nullptr, g.m_hPalette);
    EXPECT_EQ(nullptr, CreateHalftonePaletteIfNeeded());
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hBefore = GetCurrentObject(hdc, OBJ_PAL);
    g.RealizePalette(hdc);
    EXPECT_EQ(hBefore, GetCurrentObject(hdc, OBJ_PAL));
    DeleteDC(hdc);

    EXPECT_EQ(0u, g.GetRtlReadingFlag());
    g.SetRightToLeft(TRUE);
    EXPECT_EQ(static_cast<UINT>(DT_RTLREADING), g.GetRtlReadingFlag());
    g.SetRightToLeft(FALSE);
}
