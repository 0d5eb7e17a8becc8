// The clipboard inside the process: one opener at a time, ownership and WM_DESTROYCLIPBOARD,
// delayed rendering, rendering everything when the owner goes, registered formats.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "WindowTestSupport.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/Clipboard.h"

namespace {
HGLOBAL TextBlock(const std::string& text)
{
    HGLOBAL hData = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
    memcpy(GlobalLock(hData), text.c_str(), text.size() + 1);
    GlobalUnlock(hData);
    return hData;
}

std::string BlockText(HANDLE hData)
{
    if (!hData)
        return "<null>";
    std::string text(static_cast<const char*>(GlobalLock(hData)));
    GlobalUnlock(hData);
    return text;
}

// Opens, reads one format and closes; "<closed>" when it cannot open.
std::string ReadFormat(HWND hReader, UINT uFormat)
{
    if (!OpenClipboard(hReader))
        return "<closed>";
    std::string text = BlockText(GetClipboardData(uFormat));
    CloseClipboard();
    return text;
}

// What the owner windows render, by format; the override hands it out.
UINT g_uPrivate = 0;
int g_nRenders = 0;

LRESULT RenderingOwner(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM, BOOL* pbHandled)
{
    if (uMsg == WM_RENDERFORMAT) {
        ++g_nRenders;
        SetClipboardData(static_cast<UINT>(wParam), TextBlock(wParam == CF_TEXT ? "rendered text" : "/tmp/rows.tmp"));
        *pbHandled = TRUE;
    } else if (uMsg == WM_RENDERALLFORMATS) {
        // As a careful owner does: open, check it still owns, set, close.
        if (OpenClipboard(hWnd) && GetClipboardOwner() == hWnd) {
            SetClipboardData(CF_TEXT, TextBlock("all rendered"));
        }
        CloseClipboard();
        *pbHandled = TRUE;
    }
    return 0;
}

struct ClipboardTest : ::testing::Test {
    void SetUp() override
    {
        // Every test starts from an empty clipboard nobody owns.
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        CloseClipboard();
        g_uPrivate = RegisterClipboardFormatA("TbTestRows");
        g_nRenders = 0;
        g_pfnTestOverride = RenderingOwner;
        hA = CreateTestWindow();
        hB = CreateTestWindow();
        CMessageLog::Get().Clear();
    }
    void TearDown() override
    {
        CloseClipboard();
        g_pfnTestOverride = nullptr;
        DestroyWindow(hA);
        DestroyWindow(hB);
    }
    HWND hA = nullptr;
    HWND hB = nullptr;
};
}  // namespace

TEST_F(ClipboardTest, OneOpenerAtATimeAndDataOnlyWhileOpen)
{
    ASSERT_TRUE(OpenClipboard(hA));
    EXPECT_EQ(hA, GetOpenClipboardWindow());
    EXPECT_FALSE(OpenClipboard(hB));                 // a second opener waits for CloseClipboard
    EXPECT_FALSE(OpenClipboard(nullptr));
    EXPECT_TRUE(OpenClipboard(hA));                  // the opener itself keeps it
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(hA, GetClipboardOwner());
    HGLOBAL hText = TextBlock("one");
    EXPECT_EQ(hText, SetClipboardData(CF_TEXT, hText));
    EXPECT_EQ(hText, GetClipboardData(CF_TEXT));     // the same block: the clipboard keeps it
    EXPECT_TRUE(CloseClipboard());
    EXPECT_FALSE(CloseClipboard());
    EXPECT_EQ(static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN), GetLastError());

    // Closed: no reading, writing or emptying, but the questions without data are answered.
    EXPECT_EQ(nullptr, GetClipboardData(CF_TEXT));
    EXPECT_EQ(static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN), GetLastError());
    HGLOBAL hLost = TextBlock("lost");
    EXPECT_EQ(nullptr, SetClipboardData(CF_TEXT, hLost));
    GlobalFree(hLost);                               // refused: still the caller's
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_EQ(0u, EnumClipboardFormats(0));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(1, CountClipboardFormats());
    EXPECT_EQ("one", ReadFormat(hB, CF_TEXT));
    EXPECT_EQ(hA, GetClipboardOwner());              // reading does not take ownership

    // Replacing a format frees the old block; formats enumerate in the order they were set.
    ASSERT_TRUE(OpenClipboard(hB));
    HGLOBAL hRows = TextBlock("rows");
    SetClipboardData(g_uPrivate, hRows);
    SetClipboardData(CF_TEXT, TextBlock("two"));
    EXPECT_EQ(0u, GlobalSize(hText));                // freed
    EXPECT_EQ(static_cast<UINT>(CF_TEXT), EnumClipboardFormats(0));
    EXPECT_EQ(g_uPrivate, EnumClipboardFormats(CF_TEXT));
    EXPECT_EQ(0u, EnumClipboardFormats(g_uPrivate));
    EXPECT_EQ(0u, EnumClipboardFormats(0xBEEF));
    EXPECT_EQ(nullptr, SetClipboardData(CF_TEXT, reinterpret_cast<HANDLE>(0x1234)));   // not a block
    EXPECT_EQ("two", BlockText(GetClipboardData(CF_TEXT)));
    CloseClipboard();

    // A window that dies with the clipboard open does not keep everybody else out.
    HWND hC = CreateTestWindow();
    ASSERT_TRUE(OpenClipboard(hC));
    DestroyWindow(hC);
    EXPECT_TRUE(OpenClipboard(hB));
    EXPECT_EQ("two", BlockText(GetClipboardData(CF_TEXT)));
    CloseClipboard();
}

TEST_F(ClipboardTest, OwnershipGoesWithEmptyingAndTheOwnerHearsIt)
{
    ASSERT_TRUE(OpenClipboard(hA));
    EmptyClipboard();
    EXPECT_EQ(0, CMessageLog::Get().Count(WM_DESTROYCLIPBOARD));     // nobody owned it
    SetClipboardData(CF_TEXT, TextBlock("a"));
    CloseClipboard();

    // The owner's own copy empties it again: it hears that its data goes, too.
    ASSERT_TRUE(OpenClipboard(hA));
    EmptyClipboard();
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_DESTROYCLIPBOARD, hA));
    SetClipboardData(CF_TEXT, TextBlock("a2"));
    CloseClipboard();

    ASSERT_TRUE(OpenClipboard(hB));
    EmptyClipboard();
    EXPECT_EQ(2, CMessageLog::Get().Count(WM_DESTROYCLIPBOARD, hA));
    EXPECT_EQ(0, CMessageLog::Get().Count(WM_DESTROYCLIPBOARD, hB));
    EXPECT_EQ(hB, GetClipboardOwner());
    EXPECT_EQ(0, CountClipboardFormats());
    CloseClipboard();

    // Emptied by an opener with no window: nobody owns it, and delayed rendering is refused.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_DESTROYCLIPBOARD, hB));
    EXPECT_EQ(nullptr, GetClipboardOwner());
    EXPECT_EQ(nullptr, SetClipboardData(CF_TEXT, nullptr));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    CloseClipboard();
}

TEST_F(ClipboardTest, DelayedFormatsAreRenderedOnceWhenAsked)
{
    ASSERT_TRUE(OpenClipboard(hA));
    EmptyClipboard();
    EXPECT_EQ(nullptr, SetClipboardData(CF_TEXT, nullptr));
    EXPECT_EQ(nullptr, SetClipboardData(g_uPrivate, nullptr));
    CloseClipboard();
    EXPECT_EQ(0, g_nRenders);
    EXPECT_TRUE(IsClipboardFormatAvailable(g_uPrivate));
    EXPECT_EQ(2, CountClipboardFormats());

    EXPECT_EQ("/tmp/rows.tmp", ReadFormat(hB, g_uPrivate));
    EXPECT_EQ(1, g_nRenders);
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_RENDERFORMAT, hA));
    EXPECT_EQ(g_uPrivate, CMessageLog::Get().All().back().wParam);
    EXPECT_EQ("/tmp/rows.tmp", ReadFormat(hB, g_uPrivate));
    EXPECT_EQ(1, g_nRenders);                        // rendered data stays
    EXPECT_EQ("rendered text", ReadFormat(hB, CF_TEXT));
    EXPECT_EQ(2, g_nRenders);

    // An owner that does not render leaves the format without data.
    ASSERT_TRUE(OpenClipboard(hB));
    EmptyClipboard();
    SetClipboardData(CF_TEXT, nullptr);
    CloseClipboard();
    g_pfnTestOverride = nullptr;
    EXPECT_EQ("<null>", ReadFormat(hA, CF_TEXT));
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_RENDERFORMAT, hB));
}

TEST_F(ClipboardTest, AnOwnerGoingAwayRendersWhatItStillOwes)
{
    ASSERT_TRUE(OpenClipboard(hA));
    EmptyClipboard();
    SetClipboardData(CF_TEXT, nullptr);
    SetClipboardData(g_uPrivate, nullptr);
    CloseClipboard();
    DestroyWindow(hA);
    // Rendered while it still was a whole window, before its WM_DESTROY.
    std::string strOrder;
    for (const auto& m : CMessageLog::Get().All())
        if (m.hWnd == hA && (m.uMsg == WM_RENDERALLFORMATS || m.uMsg == WM_DESTROY))
            strOrder += m.uMsg == WM_DESTROY ? "destroy " : "renderall ";
    EXPECT_EQ("renderall destroy ", strOrder);
    hA = nullptr;
    EXPECT_EQ(nullptr, GetClipboardOwner());
    EXPECT_EQ("all rendered", ReadFormat(hB, CF_TEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(g_uPrivate));       // not rendered: gone
    EXPECT_EQ(1, CountClipboardFormats());

    // An owner whose formats all have data is not asked.
    ASSERT_TRUE(OpenClipboard(hB));
    EmptyClipboard();
    SetClipboardData(CF_TEXT, TextBlock("kept"));
    CloseClipboard();
    DestroyWindow(hB);
    EXPECT_EQ(0, CMessageLog::Get().Count(WM_RENDERALLFORMATS, hB));
    hB = CreateTestWindow();
    EXPECT_EQ("kept", ReadFormat(hB, CF_TEXT));
    // Emptied after its owner is gone: nobody hears it, and nothing breaks.
    ASSERT_TRUE(OpenClipboard(hB));
    EXPECT_TRUE(EmptyClipboard());
    CloseClipboard();
}

TEST_F(ClipboardTest, CodePageTextTravelsAsItsBytes)
{
    const UINT uOld = GetACP();
    const std::string strArabic = TbUtf8ToCodePage("سعر الإغلاق 12.5", 1256);
    ASSERT_TRUE(TbSetActiveCodePage(1256));
    ASSERT_TRUE(OpenClipboard(hA));
    EmptyClipboard();
    SetClipboardData(CF_TEXT, TextBlock(strArabic));
    CloseClipboard();
    EXPECT_EQ(strArabic, ReadFormat(hB, CF_TEXT));
    TbSetActiveCodePage(uOld);
}

TEST(ClipboardFormats, RegisteredNamesGiveOneIdEach)
{
    const UINT uRows = RegisterClipboardFormatA("TbGridRows");
    EXPECT_GE(uRows, 0xC000u);
    EXPECT_LE(uRows, 0xFFFFu);
    EXPECT_EQ(uRows, RegisterClipboardFormatA("TbGridRows"));
    EXPECT_EQ(uRows, RegisterClipboardFormatA("tbgridrows"));
    const UINT uOther = RegisterClipboardFormatA("TbGridRows2");
    EXPECT_NE(uRows, uOther);
    EXPECT_GE(uOther, 0xC000u);
    EXPECT_EQ(0u, RegisterClipboardFormatA(""));
    EXPECT_EQ(0u, RegisterClipboardFormatA(nullptr));
}

// A picture of a window goes on the clipboard as a bitmap, which the clipboard then owns.
TEST_F(ClipboardTest, BitmapsAreKeptAndDeletedByTheClipboard)
{
    ASSERT_TRUE(OpenClipboard(hA));
    ASSERT_TRUE(EmptyClipboard());
    HBITMAP hBitmap = CreateBitmap(8, 4, 1, 32, nullptr);
    ASSERT_NE(nullptr, hBitmap);
    HGLOBAL hText = TextBlock("rows");
    EXPECT_EQ(hText, SetClipboardData(CF_TEXT, hText));
    EXPECT_EQ(hBitmap, SetClipboardData(CF_BITMAP, hBitmap));
    EXPECT_EQ(nullptr, SetClipboardData(CF_BITMAP, hText));       // a memory block is no bitmap
    EXPECT_EQ(hBitmap, GetClipboardData(CF_BITMAP));
    EXPECT_EQ(2, CountClipboardFormats());
    BITMAP bm = {};
    EXPECT_EQ(static_cast<int>(sizeof bm), GetObjectA(GetClipboardData(CF_BITMAP), sizeof bm, &bm));
    EXPECT_EQ(8, bm.bmWidth);
    EXPECT_TRUE(CloseClipboard());
    // A second picture replaces the first, which the clipboard deletes.
    ASSERT_TRUE(OpenClipboard(hA));
    HBITMAP hSecond = CreateBitmap(2, 2, 1, 32, nullptr);
    EXPECT_EQ(hSecond, SetClipboardData(CF_BITMAP, hSecond));
    EXPECT_EQ(0u, GetObjectType(hBitmap));
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(0u, GetObjectType(hSecond));
    EXPECT_TRUE(CloseClipboard());
}
