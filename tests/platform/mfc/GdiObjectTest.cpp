// The drawing objects and the DC wrapper: who deletes a handle, what SelectObject gives back,
// and drawing between memory DCs as the frame's indicator and background pictures do.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/mfc/DC.h"
#include "platform/mfc/GdiObject.h"

namespace {
TEST(GdiObjects, OwnersDeleteTheirHandlesAndTemporariesDoNot)
{
    HGDIOBJ hKept = nullptr, hGone = nullptr;
    {
        CBitmap kept, gone;
        ASSERT_TRUE(kept.CreateBitmap(4, 4, 1, 32, nullptr));
        ASSERT_TRUE(gone.CreateBitmap(4, 4, 1, 32, nullptr));
        EXPECT_FALSE(gone.CreateBitmap(2, 2, 1, 32, nullptr));     // holds one already
        hKept = kept.Detach();
        hGone = gone.GetSafeHandle();
        // A temporary over a live handle owns nothing.
        CBitmap* pTemp = CBitmap::FromHandle(static_cast<HBITMAP>(hKept));
        EXPECT_EQ(pTemp, CBitmap::FromHandle(static_cast<HBITMAP>(hKept)));
        EXPECT_FALSE(pTemp->DeleteObject());
        CGdiObject::DeleteTempMap();
    }
    EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(hKept));
    EXPECT_EQ(0u, GetObjectType(hGone));
    DeleteObject(hKept);

    CBrush brush(RGB(1, 2, 3));
    CPen pen(PS_SOLID, 1, RGB(4, 5, 6));
    EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(static_cast<HBRUSH>(brush)));
    EXPECT_EQ(static_cast<DWORD>(OBJ_PEN), GetObjectType(static_cast<HPEN>(pen)));
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, "Arial"));
    LOGFONTA lf = {};
    ASSERT_EQ(static_cast<int>(sizeof lf), font.GetLogFont(&lf));
    EXPECT_STREQ("Arial", lf.lfFaceName);
    EXPECT_LT(lf.lfHeight, 0);                  // a character height of 10 points
}

TEST(GdiObjects, MemoryDCsDrawAndCopyPictures)
{
    CDC screen(GetDC(nullptr));
    CDC memory, target;
    ASSERT_TRUE(memory.CreateCompatibleDC(&screen));
    EXPECT_FALSE(memory.CreateCompatibleDC(&screen));
    ASSERT_TRUE(target.CreateCompatibleDC(&screen));
    CBitmap picture, canvas;
    ASSERT_TRUE(picture.CreateCompatibleBitmap(&screen, 10, 8));
    ASSERT_TRUE(canvas.CreateCompatibleBitmap(&screen, 40, 30));
    ReleaseDC(nullptr, screen.Detach());
    BITMAP bm = {};
    ASSERT_TRUE(picture.GetBitmap(&bm));
    EXPECT_EQ(10, bm.bmWidth);
    EXPECT_EQ(8, bm.bmHeight);

    // The object selected before comes back, as a temporary of its class.
    CBitmap* pOldPicture = memory.SelectObject(&picture);
    ASSERT_NE(nullptr, pOldPicture);
    EXPECT_NE(picture.GetSafeHandle(), pOldPicture->GetSafeHandle());
    CBitmap* pOldCanvas = target.SelectObject(&canvas);
    memory.FillSolidRect(CRect(0, 0, 10, 8), RGB(0, 128, 0));
    CBrush red(RGB(255, 0, 0));
    CRect rcDot(2, 3, 3, 4);
    memory.FillRect(&rcDot, &red);
    target.FillSolidRect(CRect(0, 0, 40, 30), RGB(64, 64, 64));
    // The picture centred on the canvas, as the MDI client draws its background.
    ASSERT_TRUE(target.BitBlt((40 - 10) / 2, (30 - 8) / 2, 10, 8, &memory, 0, 0, SRCCOPY));
    EXPECT_EQ(RGB(0, 128, 0), target.GetPixel(15, 11));
    EXPECT_EQ(RGB(255, 0, 0), target.GetPixel(15 + 2, 11 + 3));
    EXPECT_EQ(RGB(64, 64, 64), target.GetPixel(14, 11));
    const CPoint ptOld = target.MoveTo(5, 6);
    EXPECT_EQ(CPoint(0, 0), ptOld);
    EXPECT_EQ(CPoint(5, 6), target.MoveTo(0, 0));
    memory.SelectObject(pOldPicture);
    target.SelectObject(pOldCanvas);
    EXPECT_TRUE(memory.DeleteDC());
    EXPECT_FALSE(memory.DeleteDC());
    // A DC made over a handle only borrows it.
    CDC* pTemp = CDC::FromHandle(target.GetSafeHdc());
    EXPECT_EQ(pTemp, CDC::FromHandle(target.GetSafeHdc()));
    // Temporaries go when the program is idle: what outlives them keeps the handle, not the object.
    const HGDIOBJ hOldCanvas = pOldCanvas->GetSafeHandle();
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
    target.SelectObject(&canvas);
    EXPECT_EQ(RGB(64, 64, 64), target.GetPixel(0, 0));
    ::SelectObject(target, hOldCanvas);
}
}  // namespace
