// The test dialog on the Qt display in English and in its mirrored Arabic layout: controls paint
// into their own images, the screenshot shows them over the dialog, and typing through Qt reaches
// the focused edit only with characters the code page holds.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <utility>
#include <QtCore/QCoreApplication>
#include <QtGui/QKeyEvent>
#include <QtGui/QWindow>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>
#include "QtTestSupport.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/gdi/PixelBuffer.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/kernel/ResourceTemplates.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/user/Dialogs.h"
#include "platform/qt/WindowWidget.h"
#include "platform/win/user/SysMetrics.h"

namespace {
INT_PTR CALLBACK PlainDialogProc(HWND, UINT uMsg, WPARAM, LPARAM)
{
    return uMsg == WM_INITDIALOG;
}

struct Texts {
    const char* pszName; const char* pszPrice; const char* pszCurrency; const char* pszPassword;
    const char* pszItems[3];            // the account combo's and the list's items
};

HWND ShowTestDialog(HMODULE hModule, const Texts& t, UINT uCodePage)
{
    HWND hDlg = CreateDialogParamA(hModule, MAKEINTRESOURCEA(100), nullptr, PlainDialogProc, 0);
    if (!hDlg)
        return nullptr;
    SetDlgItemTextA(hDlg, 101, TbUtf8ToCodePage(t.pszName, uCodePage).c_str());
    SetDlgItemTextA(hDlg, 102, t.pszPrice);
    SetDlgItemTextA(hDlg, 103, TbUtf8ToCodePage(t.pszCurrency, uCodePage).c_str());
    SetDlgItemTextA(hDlg, 104, t.pszPassword);
    for (const char* pszItem : t.pszItems) {
        const std::string strItem = TbUtf8ToCodePage(pszItem, uCodePage);
        SendDlgItemMessageA(hDlg, 105, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strItem.c_str()));
        SendDlgItemMessageA(hDlg, 106, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strItem.c_str()));
    }
    SendDlgItemMessageA(hDlg, 105, CB_SETCURSEL, 1, 0);
    SendDlgItemMessageA(hDlg, 106, LB_SETCURSEL, 0, 0);
    SendDlgItemMessageA(hDlg, 108, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    SendDlgItemMessageA(hDlg, 108, TBM_SETPOS, TRUE, 3);
    SetScrollRange(GetDlgItem(hDlg, 107), SB_CTL, 0, 100, TRUE);
    SetScrollPos(GetDlgItem(hDlg, 107), SB_CTL, 40, TRUE);
    CheckRadioButton(hDlg, 111, 113, 112);
    CheckDlgButton(hDlg, 121, BST_CHECKED);
    ShowWindow(hDlg, SW_SHOW);
    SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hDlg, 101)), TRUE);
    PumpQt(150);
    return hDlg;
}

// The screenshot's pixel at a control's centre is the control's, not the dialog's face.
COLORREF PixelAt(HWND hDlg, int nId, const std::string& strPath, int dx = 0)
{
    ITbImageCodec* pCodec = TbGetImageCodec();
    CTbPixelBuffer image;
    if (!pCodec || !pCodec->Load(strPath.c_str(), &image, nullptr))
        return CLR_INVALID;
    RECT rc;
    GetWindowRect(GetDlgItem(hDlg, nId), &rc);
    POINT pt = {(rc.left + rc.right) / 2 + dx, (rc.top + rc.bottom) / 2};
    ScreenToClient(hDlg, &pt);
    return image.Contains(pt.x, pt.y) ? TbPixelToColor(image.Row(pt.y)[pt.x]) : CLR_INVALID;
}
}  // namespace

TEST(QtDialog, EnglishAndArabicScreenshotsShowTheControls)
{
    CreateQtWindow(nullptr, WS_OVERLAPPED, 0, 0, 10, 10);   // brings the Qt display up
    TbAddResourcePath(TB_SOURCE_DIR "/tests/platform/data");
    static const struct { const char* pszLibrary; UINT uCodePage; Texts texts; const char* pszShot; } s_runs[] = {
        {"testdlg_1252.dll", 1252, {"ACME Trading", "12.50", "USD", "secret", {"Main account", "Savings", "Margin"}}, "dialog_english"},
        {"testdlg_1256.dll", 1256, {"شركة التداول", "12.50", "دينار", "secret", {"الحساب الرئيسي", "التوفير", "الهامش"}}, "dialog_arabic"},
    };
    for (const auto& run : s_runs) {
        HMODULE hModule = LoadLibraryA(run.pszLibrary);
        ASSERT_NE(nullptr, hModule) << run.pszLibrary;
        HWND hDlg = ShowTestDialog(hModule, run.texts, run.uCodePage);
        ASSERT_NE(nullptr, hDlg) << run.pszLibrary;
        const std::string strPath = ScreenshotPath(run.pszShot);
        ASSERT_TRUE(TbSaveWindowPng(hDlg, strPath.c_str()));
        // The name field's white and the read-only field's face colour show where they stand.
        EXPECT_EQ(GetSysColor(COLOR_WINDOW), PixelAt(hDlg, 104, strPath, 0)) << run.pszShot;
        EXPECT_EQ(GetSysColor(COLOR_BTNFACE), PixelAt(hDlg, 110, strPath, -2)) << run.pszShot;
        // The account list dropped with more items than it shows: its bar stands at the side
        // the reader ends on, the left in Arabic.
        for (int i = 0; i < 12; ++i)
            SendDlgItemMessageA(hDlg, 105, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("9"));
        SendDlgItemMessageA(hDlg, 105, CB_SHOWDROPDOWN, TRUE, 0);
        PumpQt(50);
        QImage list;
        CTbWindowWidget* pList = nullptr;
        for (QWidget* pWidget : QApplication::topLevelWidgets()) {
            auto* pWindow = dynamic_cast<CTbWindowWidget*>(pWidget);
            char szClass[32] = "";
            if (pWindow && pWindow->isVisible() && GetClassNameA(pWindow->GetHwnd(), szClass, sizeof szClass) &&
                strcmp(szClass, "ListBox") == 0)
                pList = pWindow;
        }
        ASSERT_NE(nullptr, pList) << run.pszShot;
        list = pList->grab().toImage();
        ASSERT_FALSE(list.isNull()) << run.pszShot;
        const COLORREF crFace = GetSysColor(COLOR_BTNFACE);
        const QColor face(GetRValue(crFace), GetGValue(crFace), GetBValue(crFace));
        const bool bLeft = list.pixelColor(3, 3) == face, bRight = list.pixelColor(list.width() - 4, 3) == face;
        EXPECT_EQ(run.uCodePage == 1256 ? "left" : "right", std::string(bLeft && !bRight ? "left" : bRight && !bLeft ? "right" : "?"))
            << run.pszShot;
        // A click on the bar's lower arrow, where the bar shows, scrolls the list (a click on an
        // item there would choose it instead).
        const LRESULT nChosen = SendDlgItemMessageA(hDlg, 105, CB_GETCURSEL, 0, 0);
        QTest::mouseClick(pList, Qt::LeftButton, {}, QPoint(bLeft ? 8 : list.width() - 8, list.height() - 6));
        PumpQt(50);
        EXPECT_LT(0, SendMessageA(pList->GetHwnd(), LB_GETTOPINDEX, 0, 0)) << run.pszShot;
        EXPECT_EQ(nChosen, SendDlgItemMessageA(hDlg, 105, CB_GETCURSEL, 0, 0)) << run.pszShot;
        EXPECT_TRUE(pList->isVisible()) << run.pszShot;
        SendDlgItemMessageA(hDlg, 105, CB_SHOWDROPDOWN, FALSE, 0);
        DestroyWindow(hDlg);
        FreeLibrary(hModule);
    }
    PumpQt(20);
}

TEST(QtDialog, TypingRefusesCharactersTheCodePageCannotHold)
{
    CreateQtWindow(nullptr, WS_OVERLAPPED, 0, 0, 10, 10);
    TbAddResourcePath(TB_SOURCE_DIR "/tests/platform/data");
    HMODULE hModule = LoadLibraryA("testdlg_1252.dll");
    ASSERT_NE(nullptr, hModule);
    HWND hDlg = ShowTestDialog(hModule, Texts{"", "", "", "", {"a", "b", "c"}}, 1252);
    ASSERT_NE(nullptr, hDlg);
    QWidget* pWidget = TbQtWidgetOf(GetDlgItem(hDlg, 101));
    ASSERT_NE(nullptr, pWidget);
    auto type = [&](int nKey, const QString& str) {
        QKeyEvent press(QEvent::KeyPress, nKey, Qt::NoModifier, str);
        QCoreApplication::sendEvent(pWidget, &press);
        QKeyEvent release(QEvent::KeyRelease, nKey, Qt::NoModifier, str);
        QCoreApplication::sendEvent(pWidget, &release);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message == WM_TIMER || !IsDialogMessageA(hDlg, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
    };
    type(Qt::Key_A, QStringLiteral("a"));
    type(Qt::Key_B, QString(QChar(0x4E2D)));       // not in 1252
    type(Qt::Key_E, QString(QChar(0x00E9)));       // e-acute is
    char sz[16];
    GetDlgItemTextA(hDlg, 101, sz, sizeof sz);
    EXPECT_STREQ("a\xE9", sz);
    DestroyWindow(hDlg);
    FreeLibrary(hModule);
    PumpQt(20);
}

// A dialog owned by a frame away from the screen's corner: DS_CENTER, or a template that names no
// place, centres it on the frame, otherwise its template's place counts from the frame's client
// area, and a place off the screen is pulled back onto it. Its title bar offers only the buttons its styles give.
TEST(QtDialog, TakesThePlaceAndButtonsItsTemplateGives)
{
    HWND hFrame = CreateQtWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 150, 600, 400);
    ASSERT_NE(nullptr, hFrame);
    SIZE screen = {0, 0};
    TbGetDisplay()->GetScreenSize(&screen);
    POINT ptClient = {0, 0};
    ClientToScreen(hFrame, &ptClient);
    RECT rcFrame;
    GetWindowRect(hFrame, &rcFrame);
    const LONG cxUnit = LOWORD(GetDialogBaseUnits()), cyUnit = HIWORD(GetDialogBaseUnits());
    static const struct { DWORD dwStyle; int x, y; const char* pszCase; } s_cases[] = {
        {DS_CENTER, 0, 0, "centred"},
        {0, 0, 0, "no place named: centred"},
        {0, 20, 16, "in from the client's corner"},
        {0, 2000, 2000, "pulled onto the screen"},
        {DS_ABSALIGN, 8, 8, "on the screen"},
    };
    for (const auto& c : s_cases) {
        TBDLGTEMPLATE tpl;
        tpl.dwStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | c.dwStyle;
        tpl.x = c.x, tpl.y = c.y, tpl.cx = 160, tpl.cy = 80;
        tpl.strCaption = "Placed";
        HWND hDlg = CreateDialogIndirectParamA(nullptr, &tpl, hFrame, PlainDialogProc, 0);
        ASSERT_NE(nullptr, hDlg) << c.pszCase;
        ShowWindow(hDlg, SW_SHOW);
        PumpQt(20);
        RECT rc, rcShown;
        GetWindowRect(hDlg, &rc);
        ASSERT_TRUE(TbQtGetSurfaceGeometry(hDlg, &rcShown));
        EXPECT_EQ(rc.left, rcShown.left) << c.pszCase;
        EXPECT_EQ(rc.top, rcShown.top) << c.pszCase;
        const LONG cx = rc.right - rc.left, cy = rc.bottom - rc.top;
        POINT ptWant = {ptClient.x + MulDiv(c.x, cxUnit, 4), ptClient.y + MulDiv(c.y, cyUnit, 8)};
        if ((c.dwStyle & DS_CENTER) || (c.x == 0 && c.y == 0))
            ptWant = POINT{(rcFrame.left + rcFrame.right) / 2 - cx / 2, (rcFrame.top + rcFrame.bottom) / 2 - cy / 2};
        else if (c.dwStyle & DS_ABSALIGN)
            ptWant = POINT{MulDiv(c.x, cxUnit, 4), MulDiv(c.y, cyUnit, 8)};
        else if (c.x > 1000)
            ptWant = POINT{screen.cx - cx, screen.cy - cy};
        EXPECT_EQ(ptWant.x, rc.left) << c.pszCase;
        EXPECT_EQ(ptWant.y, rc.top) << c.pszCase;
        const Qt::WindowFlags flags = TbQtWidgetOf(hDlg)->windowFlags();
        EXPECT_EQ(Qt::Dialog, flags & Qt::WindowType_Mask) << c.pszCase;
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint) << c.pszCase;
        EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)) << c.pszCase;
        // The window manager sees a dialog of the frame's window, not a window of its own.
        const QWindow* pShown = TbQtWidgetOf(hDlg)->windowHandle();
        ASSERT_NE(nullptr, pShown) << c.pszCase;
        EXPECT_EQ(Qt::Dialog, pShown->type()) << c.pszCase;
        EXPECT_EQ(TbQtWidgetOf(hFrame)->windowHandle(), pShown->transientParent()) << c.pszCase;
        // Without a sizing frame the window has one size, so no window manager offers to size it.
        const QWidget* pWidget = TbQtWidgetOf(hDlg);
        EXPECT_EQ(pWidget->minimumSize(), pWidget->maximumSize()) << c.pszCase;
        EXPECT_EQ(QSize(cx, cy), pWidget->maximumSize()) << c.pszCase;
        DestroyWindow(hDlg);
    }
    // The frame keeps every button of an overlapped window.
    const Qt::WindowFlags frameFlags = TbQtWidgetOf(hFrame)->windowFlags();
    EXPECT_EQ(Qt::Window, frameFlags & Qt::WindowType_Mask);
    EXPECT_TRUE(frameFlags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(frameFlags & Qt::WindowMaximizeButtonHint);
    EXPECT_NE(TbQtWidgetOf(hFrame)->minimumSize(), TbQtWidgetOf(hFrame)->maximumSize());
    DestroyWindow(hFrame);
    PumpQt(20);
}

// Every titled dialog of the program's language libraries, English and Arabic, at the size its
// template gives: its whole caption goes to the window manager when the caption has room for it,
// else its start and an ellipsis, never more than the room (a window manager cuts a title it
// cannot hold in its middle). The window's own text stays whole.
TEST(QtDialog, ACaptionTooLongForItsDialogEndsInAnEllipsis)
{
    CreateQtWindow(nullptr, WS_OVERLAPPED, 0, 0, 10, 10);   // brings the Qt display up
    TbAddResourcePath(TB_SOURCE_DIR "/resources");
    const UINT uWas = GetACP();
    int nDialogs = 0, nShortened = 0;
    for (const auto& [pszLibrary, uCodePage] : {std::pair<const char*, UINT>{"_1252.dll", 1252}, {"_1256.dll", 1256}}) {
        SCOPED_TRACE(pszLibrary);
        ASSERT_TRUE(TbSetActiveCodePage(uCodePage));
        HMODULE hModule = LoadLibraryA(pszLibrary);
        ASSERT_NE(nullptr, hModule);
        const TbResourceTemplates* pTemplates = TbModuleTemplates(hModule);
        ASSERT_NE(nullptr, pTemplates);
        for (const auto& [strName, tpl] : pTemplates->dialogs) {
            if ((tpl.dwStyle & WS_CHILD) || (tpl.dwStyle & WS_CAPTION) != WS_CAPTION || tpl.strCaption.empty())
                continue;
            SCOPED_TRACE(strName + " " + TbCodePageToUtf8(tpl.strCaption, uCodePage));
            // The dialog's frame as made, without its controls (their classes are the program's).
            TBDLGTEMPLATE frame = tpl;
            frame.items.clear();
            frame.dwStyle &= ~static_cast<DWORD>(WS_VISIBLE);
            HWND hDlg = CreateDialogIndirectParamA(hModule, &frame, nullptr, PlainDialogProc, 0);
            ASSERT_NE(nullptr, hDlg);
            ShowWindow(hDlg, SW_SHOWNORMAL);
            ++nDialogs;
            std::string strShown;
            int nWidth = 0, nRoom = 0;
            ASSERT_TRUE(TbQtShownTitle(hDlg, &strShown, &nWidth, &nRoom));
            const std::string strCaption = TbCodePageToUtf8(tpl.strCaption, uCodePage);
            char szText[512] = {};
            GetWindowTextA(hDlg, szText, sizeof szText);
            EXPECT_EQ(tpl.strCaption, szText) << "the window's text is whole";
            if (strShown != strCaption) {
                ++nShortened;
                const std::string strEllipsis = "\u2026";
                ASSERT_GT(strShown.size(), strEllipsis.size());
                EXPECT_EQ(strEllipsis, strShown.substr(strShown.size() - strEllipsis.size())) << strShown;
                // An Arabic letter cut from the next keeps its joined form (a zero-width joiner).
                std::string strStart = strShown.substr(0, strShown.size() - strEllipsis.size());
                const std::string strJoiner = "\u200d";
                if (strStart.size() > strJoiner.size() && strStart.substr(strStart.size() - strJoiner.size()) == strJoiner)
                    strStart.resize(strStart.size() - strJoiner.size());
                EXPECT_EQ(0u, strCaption.rfind(strStart, 0)) << strShown << ": the caption's start";
            }
            EXPECT_LE(nWidth, std::max(nRoom, 0)) << strShown;
            DestroyWindow(hDlg);
        }
        FreeLibrary(hModule);
    }
    TbSetActiveCodePage(uWas);
    EXPECT_GT(nDialogs, 50);
    EXPECT_GT(nShortened, 0) << "some caption is longer than its dialog has room for";
}
