#include <gtest/gtest.h>

#include <cstring>

#include "framework/base/SettingsFile.h"
#include "framework/base/TBApp.h"
#include "framework/base/TBWnd.h"
#include "platform/win/gdi/Gdi.h"

TEST(SettingsFonts, LiveFontsWrittenAndReadBack)
{
    CSettingsFile settings;
    settings.SetSection("Fonts");
    LOGFONTA lf = {};
    lf.lfHeight = -13;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 1;
    lf.lfCharSet = ARABIC_CHARSET;
    strcpy(lf.lfFaceName, "Courier");
    HFONT hFont = CreateFontIndirectA(&lf);
    ASSERT_NE(nullptr, hFont);
    EXPECT_TRUE(settings.WriteFont("Grid", hFont));
    EXPECT_STREQ("Courier,-13,0,0,0,700,1,0,0,178,0,0,0,0", settings.GetString("Grid"));

    HFONT hDefault = CreateFontIndirectA(&lf);
    HFONT hRead = settings.GetFont("Grid", hDefault);
    ASSERT_NE(nullptr, hRead);
    EXPECT_NE(hDefault, hRead) << "a new font the caller owns";
    LOGFONTA lfRead = {};
    ASSERT_EQ(static_cast<int>(sizeof(lfRead)), GetObjectA(hRead, sizeof(lfRead), &lfRead));
    EXPECT_EQ(0, memcmp(&lf, &lfRead, sizeof(lf)));
    DeleteObject(hRead);

    // Blank, incomplete and missing texts answer the default handle.
    settings.WriteString("Short", "Arial,1,2,3,4,5");
    EXPECT_EQ(hDefault, settings.GetFont("Short", hDefault));
    EXPECT_EQ(hDefault, settings.GetFont("Missing", hDefault));

    // A blanked font is no value: it reads as missing, as it will after the file is saved and read.
    EXPECT_TRUE(settings.WriteFont("Grid", nullptr));
    EXPECT_STREQ("x", settings.GetString("Grid", "x"));
    EXPECT_EQ(hDefault, settings.GetFont("Grid", hDefault));
    settings.WriteString("Grid", "kept");
    HPEN hPen = CreatePen(PS_SOLID, 1, 0);
    EXPECT_FALSE(settings.WriteFont("Grid", reinterpret_cast<HFONT>(hPen))) << "a pen is no font";
    EXPECT_STREQ("x", settings.GetString("Grid", "x"));
    DeleteObject(hPen);
    DeleteObject(hFont);
    DeleteObject(hDefault);
}

TEST(SettingsWindowPos, PointsKeptInsideTheMainWindow)
{
    CSettingsFile settings;
    settings.SetSection("Dialogs");
    settings.WriteString("Far", "1000,20");
    settings.WriteString("Low", "10,2000");
    settings.WriteString("Damaged", "7");
    POINT pt = {};
    settings.GetWindowPos(&pt, "Far", POINT{5, 6});
    EXPECT_EQ(1000, pt.x) << "no main window: nothing to keep it inside";

    CTBApp app;
    ASSERT_STREQ("SettingsPosTest", RegisterWndClass("SettingsPosTest", 0, nullptr, nullptr, nullptr));
    CTBWnd main;
    ASSERT_TRUE(main.CreateEx(0, "SettingsPosTest", "", WS_OVERLAPPED, 0, 0, 400, 300, nullptr, nullptr));
    app.m_pMainWnd = &main;
    settings.GetWindowPos(&pt, "Far", POINT{5, 6});
    EXPECT_EQ(350, pt.x);
    EXPECT_EQ(20, pt.y);
    settings.GetWindowPos(&pt, "Low", POINT{5, 6});
    EXPECT_EQ(10, pt.x);
    EXPECT_EQ(250, pt.y);
    settings.GetWindowPos(&pt, "Missing", POINT{-30, 6});
    EXPECT_EQ(-30, pt.x) << "no lower bound";
    EXPECT_EQ(6, pt.y);
    settings.GetWindowPos(&pt, "Damaged", POINT{5, 6});
    EXPECT_EQ(7, pt.x);
    EXPECT_EQ(6, pt.y);
    app.m_pMainWnd = nullptr;
}
