// Statics that show a picture: the image a dialog hands them is drawn at their top left, handed
// back when replaced, and stays the caller's to free.
#include <gtest/gtest.h>
#include "ControlTestSupport.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Cursor.h"
#include "platform/win/user/Paint.h"

namespace {
COLORREF PixelOf(HWND hWnd, int x, int y)
{
    UpdateWindow(hWnd);
    HDC hdc = GetDC(hWnd);
    const COLORREF cr = GetPixel(hdc, x, y);
    ReleaseDC(hWnd, hdc);
    return cr;
}

HBITMAP SolidBitmap(COLORREF cr, int cx, int cy)
{
    HDC hdcScreen = GetDC(nullptr);
    HBITMAP hBitmap = CreateCompatibleBitmap(hdcScreen, cx, cy);
    HDC hdc = CreateCompatibleDC(hdcScreen);
    HGDIOBJ hOld = SelectObject(hdc, hBitmap);
    HBRUSH hBrush = CreateSolidBrush(cr);
    RECT rc = {0, 0, cx, cy};
    FillRect(hdc, &rc, hBrush);
    DeleteObject(hBrush);
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    ReleaseDC(nullptr, hdcScreen);
    return hBitmap;
}
}  // namespace

TEST(StaticPictures, BitmapsAreDrawnAndHandedBackWhenReplaced)
{
    HWND hParent = CreateControlParent();
    HWND hStatic = CreateControl(hParent, "Static", SS_BITMAP, 0, 0, 40, 40, 5);
    HBITMAP hRed = SolidBitmap(RGB(255, 0, 0), 10, 10);
    HBITMAP hBlue = SolidBitmap(RGB(0, 0, 255), 10, 10);
    EXPECT_EQ(0, SendMessageA(hStatic, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hRed)));
    EXPECT_EQ(reinterpret_cast<LRESULT>(hRed), SendMessageA(hStatic, STM_GETIMAGE, IMAGE_BITMAP, 0));
    EXPECT_EQ(0, SendMessageA(hStatic, STM_GETIMAGE, IMAGE_ICON, 0));
    EXPECT_EQ(RGB(255, 0, 0), PixelOf(hStatic, 2, 2));
    EXPECT_NE(RGB(255, 0, 0), PixelOf(hStatic, 20, 20));          // outside the picture: the ground
    EXPECT_EQ(reinterpret_cast<LRESULT>(hRed), SendMessageA(hStatic, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBlue)));
    EXPECT_EQ(RGB(0, 0, 255), PixelOf(hStatic, 9, 9));
    // An unknown image type changes nothing.
    EXPECT_EQ(0, SendMessageA(hStatic, STM_SETIMAGE, 7, reinterpret_cast<LPARAM>(hRed)));
    EXPECT_EQ(RGB(0, 0, 255), PixelOf(hStatic, 9, 9));
    DestroyWindow(hParent);
    // The control never owned them.
    EXPECT_TRUE(DeleteObject(hRed));
    EXPECT_TRUE(DeleteObject(hBlue));
}

TEST(StaticPictures, IconsTakeTheirOwnMessage)
{
    HWND hParent = CreateControlParent();
    HWND hStatic = CreateControl(hParent, "Static", SS_ICON, 0, 0, 40, 40, 6);
    HICON hIcon = LoadIconA(nullptr, IDI_INFORMATION);
    ASSERT_NE(nullptr, hIcon);
    const COLORREF crGround = PixelOf(hStatic, 39, 39);
    EXPECT_EQ(0, SendMessageA(hStatic, STM_SETICON, reinterpret_cast<WPARAM>(hIcon), 0));
    EXPECT_EQ(reinterpret_cast<LRESULT>(hIcon), SendMessageA(hStatic, STM_GETICON, 0, 0));
    EXPECT_EQ(reinterpret_cast<LRESULT>(hIcon), SendMessageA(hStatic, STM_GETIMAGE, IMAGE_ICON, 0));
    // Somewhere in the icon's square the picture differs from the ground.
    bool bDrawn = false;
    for (int y = 0; y < 32 && !bDrawn; y += 2)
        for (int x = 0; x < 32 && !bDrawn; x += 2)
            bDrawn = PixelOf(hStatic, x, y) != crGround;
    EXPECT_TRUE(bDrawn);
    DestroyWindow(hParent);
}
