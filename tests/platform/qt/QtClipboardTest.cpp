// The clipboard through Qt's: code-page text offered to other programs as Unicode, rendered
// only when they ask, and their text read back in the active code page.
#include <gtest/gtest.h>
#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <QtCore/QMimeData>
#include <cstring>
#include "QtTestSupport.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Clipboard.h"
#include <QtGui/QImage>

namespace {
HGLOBAL TextBlock(const std::string& text)
{
    HGLOBAL hData = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(hData), text.c_str(), text.size() + 1);
    GlobalUnlock(hData);
    return hData;
}

std::string ReadText()
{
    if (!OpenClipboard(nullptr))
        return "<closed>";
    HANDLE hData = GetClipboardData(CF_TEXT);
    std::string text = hData ? static_cast<const char*>(GlobalLock(hData)) : "<null>";
    if (hData)
        GlobalUnlock(hData);
    CloseClipboard();
    return text;
}

// The text the owner renders on request, in the active code page.
std::string g_strRender;
int g_nRenders = 0;
int g_nDestroyed = 0;

LRESULT CALLBACK OwnerProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_RENDERFORMAT && wParam == CF_TEXT) {
        ++g_nRenders;
        SetClipboardData(CF_TEXT, TextBlock(g_strRender));
        return 0;
    }
    if (uMsg == WM_DESTROYCLIPBOARD)
        ++g_nDestroyed;
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

struct QtClipboardTest : ::testing::Test {
    void SetUp() override
    {
        TbInitQtPlatform(nullptr, nullptr);
        static const bool s_bRegistered = [] {
            WNDCLASSA wc = {0, OwnerProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "TbClipOwner"};
            return RegisterClassA(&wc) != 0;
        }();
        ASSERT_TRUE(s_bRegistered);
        // Every test starts from an empty clipboard nobody owns, whatever an earlier one left.
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        CloseClipboard();
        hOwner = CreateWindowExA(0, "TbClipOwner", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
        uOldPage = GetACP();
        g_nRenders = 0;
        g_nDestroyed = 0;
    }
    void TearDown() override
    {
        TbSetActiveCodePage(uOldPage);
        DestroyWindow(hOwner);
    }
    // Puts code-page text on the clipboard, now or delayed.
    void Copy(const std::string& text, BOOL bDelayed)
    {
        ASSERT_TRUE(OpenClipboard(hOwner));
        EmptyClipboard();
        g_strRender = text;
        SetClipboardData(CF_TEXT, bDelayed ? nullptr : TextBlock(text));
        CloseClipboard();
    }
    HWND hOwner = nullptr;
    UINT uOldPage = 0;
};
}  // namespace

TEST_F(QtClipboardTest, CodePageTextReachesOtherProgramsAsUnicode)
{
    QClipboard* pClipboard = QGuiApplication::clipboard();
    ASSERT_TRUE(TbSetActiveCodePage(1256));
    Copy(TbUtf8ToCodePage("سعر\r\nالإغلاق 12.5", 1256), FALSE);
    EXPECT_EQ(QString::fromUtf8("سعر\nالإغلاق 12.5"), pClipboard->text());
    EXPECT_EQ(TbUtf8ToCodePage("سعر\r\nالإغلاق 12.5", 1256), ReadText());     // in the process: the bytes

    ASSERT_TRUE(TbSetActiveCodePage(1252));
    Copy("caf\xE9\t12.5", FALSE);
    EXPECT_EQ(QString::fromUtf8("café\t12.5"), pClipboard->text());

    // Delayed: rendered when another program asks, once.
    Copy("", TRUE);
    g_strRender = "late \xE9";
    EXPECT_EQ(0, g_nRenders);
    EXPECT_EQ(QString::fromUtf8("late é"), pClipboard->text());
    EXPECT_EQ(1, g_nRenders);
    EXPECT_EQ(QString::fromUtf8("late é"), pClipboard->text());
    EXPECT_EQ(1, g_nRenders);

    // Only a private format: other programs see an empty clipboard, the process sees its rows.
    const UINT uRows = RegisterClipboardFormatA("TbQtTestRows");
    ASSERT_TRUE(OpenClipboard(hOwner));
    EmptyClipboard();
    SetClipboardData(uRows, TextBlock("/tmp/rows"));
    CloseClipboard();
    EXPECT_FALSE(pClipboard->mimeData()->hasText());
    EXPECT_TRUE(IsClipboardFormatAvailable(uRows));
    EXPECT_EQ(3, g_nDestroyed);                      // each later copy of its own told the owner
}

TEST_F(QtClipboardTest, AnotherProgramsTextReadsBackInTheActivePage)
{
    Copy("ours", FALSE);
    QClipboard* pClipboard = QGuiApplication::clipboard();
    pClipboard->setText(QString::fromUtf8("Ωmega é ش\nline 2"));     // as another program would
    EXPECT_EQ(1, g_nDestroyed);                      // our owner lost it
    EXPECT_EQ(nullptr, GetClipboardOwner());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(1, CountClipboardFormats());

    ASSERT_TRUE(TbSetActiveCodePage(1252));
    EXPECT_EQ("?mega \xE9 ?\r\nline 2", ReadText());
    ASSERT_TRUE(TbSetActiveCodePage(1256));
    EXPECT_EQ("?mega \xE9 \xD4\r\nline 2", ReadText());

    // A private format set beside it keeps the other program's text in the process.
    const UINT uRows = RegisterClipboardFormatA("TbQtTestRows");
    ASSERT_TRUE(OpenClipboard(hOwner));
    SetClipboardData(uRows, TextBlock("/tmp/rows"));
    CloseClipboard();
    EXPECT_EQ("?mega \xE9 \xD4\r\nline 2", ReadText());
    EXPECT_TRUE(IsClipboardFormatAvailable(uRows));

    pClipboard->clear();
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(uRows));
    EXPECT_EQ("<null>", ReadText());

    // Numbers copied from an Arabic text paste as the digits they are, in either page.
    pClipboard->setText(QString::fromUtf8("٨٤٢.٥ ۱۲۳۴"));
    for (UINT uPage : {1256u, 1252u}) {
        ASSERT_TRUE(TbSetActiveCodePage(uPage));
        EXPECT_EQ("842.5 1234", ReadText()) << "page " << uPage;
    }
}

namespace {
// A picture copied in the program is one other programs can paste: a bitmap offered beside the text.
TEST_F(QtClipboardTest, BitmapIsOfferedAsAPicture)
{
    HDC hdcScreen = GetDC(nullptr);
    HDC hdc = CreateCompatibleDC(hdcScreen);
    HBITMAP hBitmap = CreateCompatibleBitmap(hdcScreen, 30, 20);
    ReleaseDC(nullptr, hdcScreen);
    HGDIOBJ hOld = SelectObject(hdc, hBitmap);
    RECT rc = {0, 0, 30, 20};
    HBRUSH hBrush = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(hdc, &rc, hBrush);
    DeleteObject(hBrush);
    SetPixel(hdc, 3, 4, RGB(255, 0, 0));
    SelectObject(hdc, hOld);
    DeleteDC(hdc);

    ASSERT_TRUE(OpenClipboard(hOwner));
    ASSERT_TRUE(EmptyClipboard());
    SetClipboardData(CF_TEXT, TextBlock("rows"));
    ASSERT_EQ(hBitmap, SetClipboardData(CF_BITMAP, hBitmap));
    ASSERT_TRUE(CloseClipboard());
    const QMimeData* pData = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(nullptr, pData);
    EXPECT_TRUE(pData->hasText());
    ASSERT_TRUE(pData->hasImage());
    const QImage image = QGuiApplication::clipboard()->image();
    EXPECT_EQ(QSize(30, 20), image.size());
    EXPECT_EQ(qRgb(255, 0, 0), image.pixel(3, 4) | 0xFF000000u);
    EXPECT_EQ(qRgb(0, 0, 255), image.pixel(10, 10) | 0xFF000000u);
    EXPECT_EQ("rows", QGuiApplication::clipboard()->text().toStdString());
}
}  // namespace
