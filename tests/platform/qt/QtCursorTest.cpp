// Cursors drawn as PNG files: the hot spot travels in the file's "HotSpot" text chunk.
#include <gtest/gtest.h>
#include <unistd.h>
#include <QtGui/QImage>
#include <string>
#include "QtTestSupport.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Cursor.h"

namespace {
POINT HotSpotOf(HCURSOR hCursor)
{
    TbIcon* pIcon = TbGdiFindAs<TbIcon>(hCursor, TB_OBJ_ICON);
    return pIcon ? pIcon->ptHotSpot : POINT{-1, -1};
}

HCURSOR LoadCursorFile(const char* pszName, int cx, int cy, const char* pszHotSpot)
{
    QImage image(cx, cy, QImage::Format_ARGB32);
    image.fill(qRgba(0, 0, 0, 255));
    if (pszHotSpot)
        image.setText("HotSpot", pszHotSpot);
    // ctest runs the program as several processes at once: each writes files of its own.
    std::string strPath = ScreenshotPath((pszName + std::to_string(getpid())).c_str());
    if (!image.save(QString::fromStdString(strPath), "PNG"))
        return nullptr;
    return static_cast<HCURSOR>(LoadImageA(nullptr, strPath.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
}
}  // namespace

TEST(QtCursor, PngCursorsTakeTheirHotSpotFromTheFile)
{
    ASSERT_TRUE(TbInitQtPlatform(nullptr, nullptr));     // the image codec
    HCURSOR hCursor = LoadCursorFile("cursor_hotspot", 32, 32, "5,7");
    ASSERT_NE(nullptr, hCursor);
    EXPECT_EQ(5, HotSpotOf(hCursor).x);
    EXPECT_EQ(7, HotSpotOf(hCursor).y);
    DestroyCursor(hCursor);
    // No chunk, or a spot outside the image: the top left corner.
    for (const char* pszSpot : {static_cast<const char*>(nullptr), "32,3", "-1,0", "x"}) {
        hCursor = LoadCursorFile("cursor_nohotspot", 32, 32, pszSpot);
        ASSERT_NE(nullptr, hCursor);
        EXPECT_EQ(0, HotSpotOf(hCursor).x) << (pszSpot ? pszSpot : "none");
        EXPECT_EQ(0, HotSpotOf(hCursor).y);
        DestroyCursor(hCursor);
    }
    // The grid's pointers in the English resources.
    TbAddResourcePath(TB_SOURCE_DIR "/resources");
    HMODULE hModule = LoadLibraryA("_1252.dll");
    ASSERT_NE(nullptr, hModule);
    for (int nId = 101; nId <= 105; ++nId) {
        hCursor = LoadCursorA(hModule, MAKEINTRESOURCE(nId));
        ASSERT_NE(nullptr, hCursor) << nId;
        EXPECT_EQ(nId == 105 ? 1 : 15, HotSpotOf(hCursor).y) << nId;
    }
    EXPECT_EQ(15, HotSpotOf(LoadCursorA(hModule, MAKEINTRESOURCE(101))).x);
    FreeLibrary(hModule);
}
