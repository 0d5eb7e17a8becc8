// Menus and MDI on the Qt display: the menu bar above the client area, a popup worked with the
// keyboard, an MDI frame whose children are sub-windows of Qt's MDI area; screenshots of both.
#include <gtest/gtest.h>
#include <QtGui/QColor>
#include <QtGui/QIcon>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMdiArea>
#include <QtWidgets/QMdiSubWindow>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QToolButton>
#include "QtTestSupport.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Cursor.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/Mdi.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/TestAnswers.h"

namespace {
enum { ID_OPEN = 100, ID_BID, ID_ASK, ID_LAST };

struct Texts {
    const char* pszFile;
    const char* pszOpen;
    const char* pszWindow;
    const char* pszBid;
    const char* pszAsk;
    const char* pszLast;
    const char* pszQuotes;
    const char* pszOrders;
};
const Texts s_english = {"&File", "&Open...", "&Window", "&Bid", "&Ask", "&Last", "Quotes", "Orders"};
// Arabic in UTF-8: the texts are given to the layer in code page 1256.
const Texts s_arabic = {"&\xd9\x85\xd9\x84\xd9\x81", "&\xd9\x81\xd8\xaa\xd8\xad...", "&\xd9\x86\xd8\xa7\xd9\x81\xd8\xb0\xd8\xa9",
                        "&\xd8\xb4\xd8\xb1\xd8\xa7\xd8\xa1", "&\xd8\xa8\xd9\x8a\xd8\xb9", "&\xd8\xa2\xd8\xae\xd8\xb1",
                        "\xd8\xa7\xd9\x84\xd8\xa3\xd8\xb3\xd8\xb9\xd8\xa7\xd8\xb1", "\xd8\xa7\xd9\x84\xd8\xa3\xd9\x88\xd8\xa7\xd9\x85\xd8\xb1"};

std::string Acp(const char* pszUtf8)
{
    return TbUtf8ToCodePage(pszUtf8, CP_ACP);
}

HMENU MakeBar(const Texts& t, HMENU* phWindow = nullptr)
{
    HMENU hFile = CreatePopupMenu();
    AppendMenuA(hFile, MF_STRING, ID_OPEN, Acp(t.pszOpen).c_str());
    HMENU hWindow = CreatePopupMenu();
    AppendMenuA(hWindow, MF_STRING, ID_BID, Acp(t.pszBid).c_str());
    HMENU hBar = CreateMenu();
    AppendMenuA(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hFile), Acp(t.pszFile).c_str());
    AppendMenuA(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hWindow), Acp(t.pszWindow).c_str());
    if (phWindow)
        *phWindow = hWindow;
    return hBar;
}

HMENU MakePopup(const Texts& t)
{
    HMENU hPopup = CreatePopupMenu();
    AppendMenuA(hPopup, MF_STRING, ID_BID, Acp(t.pszBid).c_str());
    AppendMenuA(hPopup, MF_STRING, ID_ASK, Acp(t.pszAsk).c_str());
    AppendMenuA(hPopup, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(hPopup, MF_STRING | MF_CHECKED, ID_LAST, Acp(t.pszLast).c_str());
    return hPopup;
}

void PaintGrey(HWND, HDC hdc, const RECT& rc)
{
    HBRUSH hbr = CreateSolidBrush(RGB(220, 226, 236));
    FillRect(hdc, &rc, hbr);
    DeleteObject(hbr);
}

// The window's widget with the open popup drawn over it where it shows.
void SaveWithPopup(HWND hWnd, const char* pszName)
{
    QWidget* pWidget = TbQtWidgetOf(hWnd);
    QMenu* pPopup = TbQtOpenPopup();
    ASSERT_TRUE(pWidget && pPopup);
    QImage image = pWidget->grab().toImage();
    QPainter painter(&image);
    painter.drawPixmap(pWidget->mapFromGlobal(pPopup->pos()), pPopup->grab());
    painter.end();
    ASSERT_TRUE(image.save(QString::fromStdString(ScreenshotPath(pszName)), "PNG"));
}

struct QtMenuTest : ::testing::Test {
    void SetUp() override
    {
        TbInitQtPlatform(nullptr, nullptr);
        TbClearTestAnswers();
        QtLog().clear();
        g_pfnQtPaint = PaintGrey;
    }
    void TearDown() override
    {
        g_pfnQtPaint = nullptr;
        QApplication::setLayoutDirection(Qt::LeftToRight);
        TbSetActiveCodePage(1252);
    }
};

// The popup's keyboard, and a screenshot, while the popup is open in the modal loop.
struct PopupScript {
    const char* pszShot = nullptr;
    std::vector<int> keys;
};
PopupScript s_script;

void CALLBACK DrivePopup(HWND hWnd, UINT, UINT_PTR nId, DWORD)
{
    QMenu* pPopup = TbQtOpenPopup();
    if (!pPopup || !pPopup->isVisible())
        return;                         // not shown yet: the next tick
    KillTimer(hWnd, nId);
    if (s_script.pszShot)
        SaveWithPopup(hWnd, s_script.pszShot);
    for (int nKey : s_script.keys)
        QTest::keyClick(pPopup, static_cast<Qt::Key>(nKey));
}

UINT RunPopup(HWND hWnd, HMENU hPopup, UINT uFlags, const PopupScript& script)
{
    s_script = script;
    SetTimer(hWnd, 77, 30, DrivePopup);
    RECT rc;
    GetWindowRect(hWnd, &rc);
    const int x = (uFlags & TPM_RIGHTALIGN) ? rc.right - 40 : rc.left + 40;
    return static_cast<UINT>(TrackPopupMenuEx(hPopup, uFlags | TPM_RETURNCMD, x, rc.top + 40, hWnd, nullptr));
}
}  // namespace

TEST_F(QtMenuTest, TheMenuBarShowsTheMenuAboveTheClientArea)
{
    HWND hWnd = CreateQtWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 420, 260);
    HWND hChild = CreateQtWindow(hWnd, WS_CHILD | WS_VISIBLE, 10, 10, 50, 30, 7);
    ASSERT_TRUE(SetMenu(hWnd, MakeBar(s_english)));
    PumpQt(50);
    auto* pBar = TbQtWidgetOf(hWnd)->findChild<QMenuBar*>();
    ASSERT_NE(nullptr, pBar);
    ASSERT_EQ(2, pBar->actions().size());
    EXPECT_EQ(QString("&File"), pBar->actions()[0]->text());
    const int nBar = pBar->height();
    ASSERT_GT(nBar, 0);
    RECT rcClient, rcSurface, rcWindow;
    GetClientRect(hWnd, &rcClient);
    EXPECT_EQ(260 - nBar, rcClient.bottom);
    ASSERT_TRUE(TbQtGetSurfaceGeometry(hWnd, &rcSurface));
    GetWindowRect(hWnd, &rcWindow);
    EXPECT_EQ(rcWindow.bottom - rcWindow.top, rcSurface.bottom - rcSurface.top);
    // The child keeps its client coordinates: on the display it sits below the bar.
    EXPECT_EQ(10 + nBar, TbQtWidgetOf(hChild)->y());
    RECT rcChild;
    ASSERT_TRUE(TbQtGetSurfaceGeometry(hChild, &rcChild));
    POINT pt = {10, 10};
    ClientToScreen(hWnd, &pt);
    EXPECT_EQ(pt.y, rcChild.top);

    // Opening File: the owner prepares it first; choosing Open posts the command.
    QtLog().clear();
    QMenu* pFile = pBar->actions()[0]->menu();
    QTest::mouseClick(pBar, Qt::LeftButton, {}, pBar->actionGeometry(pBar->actions()[0]).center());
    PumpQt(50);
    ASSERT_TRUE(pFile->isVisible());
    EXPECT_EQ(1u, MessagesOf(WM_INITMENU).size());
    ASSERT_EQ(1u, MessagesOf(WM_INITMENUPOPUP).size());
    ASSERT_EQ(1, pFile->actions().size());
    QTest::keyClick(pFile, Qt::Key_Down);
    QTest::keyClick(pFile, Qt::Key_Return);
    PumpQt(50);
    auto commands = MessagesOf(WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(static_cast<WPARAM>(ID_OPEN), commands[0].wParam);
    EXPECT_EQ(1u, MessagesOf(WM_EXITMENULOOP).size());

    // Without the menu the client has its height back and the child moves up with it.
    HMENU hBar = GetMenu(hWnd);
    SetMenu(hWnd, nullptr);
    DestroyMenu(hBar);
    GetClientRect(hWnd, &rcClient);
    EXPECT_EQ(260, rcClient.bottom);
    EXPECT_EQ(10, TbQtWidgetOf(hChild)->y());
    DestroyWindow(hWnd);
}

TEST_F(QtMenuTest, ThePopupIsWorkedWithTheKeyboardInTheModalLoop)
{
    HWND hWnd = CreateQtWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80, 80, 360, 240);
    SetMenu(hWnd, MakeBar(s_english));
    HMENU hPopup = MakePopup(s_english);
    PumpQt(50);
    // Down twice and Enter: the second item; Escape: nothing; a mnemonic: its item.
    EXPECT_EQ(static_cast<UINT>(ID_ASK), RunPopup(hWnd, hPopup, 0, {"popup_menu", {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}}));
    EXPECT_EQ(0u, RunPopup(hWnd, hPopup, TPM_RIGHTALIGN | TPM_BOTTOMALIGN, {nullptr, {Qt::Key_Escape}}));
    EXPECT_EQ(static_cast<UINT>(ID_LAST), RunPopup(hWnd, hPopup, 0, {nullptr, {Qt::Key_L}}));
    EXPECT_GE(MessagesOf(WM_INITMENUPOPUP).size(), 3u);
    EXPECT_GE(MessagesOf(WM_MENUSELECT).size(), 3u);
    EXPECT_EQ(nullptr, TbQtOpenPopup());
    // A queued answer closes the shown popup once the queue has drained.
    TbQueueTestAnswer(TBTESTANSWER{TB_ASK_POPUPMENU, ID_BID, ""});
    EXPECT_EQ(ID_BID, TrackPopupMenuEx(hPopup, TPM_RETURNCMD, 100, 100, hWnd, nullptr));
    DestroyMenu(hPopup);
    DestroyWindow(hWnd);
}

TEST_F(QtMenuTest, ThePopupInArabicIsMirrored)
{
    TbSetActiveCodePage(1256);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    HWND hWnd = CreateQtWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80, 80, 360, 240);
    SetMenu(hWnd, MakeBar(s_arabic));
    HMENU hPopup = MakePopup(s_arabic);
    PumpQt(50);
    EXPECT_EQ(static_cast<UINT>(ID_BID), RunPopup(hWnd, hPopup, TPM_RIGHTALIGN | TPM_LAYOUTRTL, {"popup_menu_arabic", {Qt::Key_Down, Qt::Key_Return}}));
    DestroyMenu(hPopup);
    DestroyWindow(hWnd);
}

// ---- MDI ----

namespace {
LRESULT CALLBACK QtFrameProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return DefFrameProcA(hWnd, reinterpret_cast<HWND>(GetWindowLongPtrA(hWnd, 0)), uMsg, wParam, lParam);
}

LRESULT CALLBACK QtChildProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    QtLog().push_back({hWnd, uMsg, wParam, lParam});
    if (uMsg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hWnd, &ps);
        HBRUSH hbr = CreateSolidBrush(GetDlgCtrlID(hWnd) % 2 ? RGB(250, 240, 200) : RGB(210, 240, 215));
        FillRect(hdc, &ps.rcPaint, hbr);
        DeleteObject(hbr);
        char szTitle[64];
        GetWindowTextA(hWnd, szTitle, sizeof szTitle);
        TextOutA(hdc, 8, 8, szTitle, static_cast<int>(strlen(szTitle)));
        EndPaint(hWnd, &ps);
        return 0;
    }
    if (uMsg == WM_CLOSE) {
        ShowWindow(hWnd, SW_HIDE);      // kept for later
        return 0;
    }
    return DefMDIChildProcA(hWnd, uMsg, wParam, lParam);
}

struct MdiFrame {
    HWND hFrame = nullptr, hClient = nullptr, hA = nullptr, hB = nullptr;
};

MdiFrame MakeMdiFrame(const Texts& t)
{
    static bool s_bRegistered = false;
    if (!s_bRegistered) {
        WNDCLASSA wc = {0, QtFrameProc, 0, sizeof(LONG_PTR), nullptr, nullptr, nullptr,
                        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)), nullptr, "TbQtMdiFrame"};
        RegisterClassA(&wc);
        WNDCLASSA wcChild = {0, QtChildProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "TbQtMdiChild"};
        RegisterClassA(&wcChild);
        s_bRegistered = true;
    }
    MdiFrame f;
    HMENU hWindowMenu = nullptr;
    HMENU hBar = MakeBar(t, &hWindowMenu);
    f.hFrame = CreateWindowExA(0, "TbQtMdiFrame", "Terminal", WS_OVERLAPPEDWINDOW, 40, 40, 640, 420, nullptr, hBar,
                               nullptr, nullptr);
    CLIENTCREATESTRUCT ccs = {hWindowMenu, 0xFF00};
    RECT rc;
    GetClientRect(f.hFrame, &rc);
    f.hClient = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, rc.right,
                                rc.bottom, f.hFrame, nullptr, nullptr, &ccs);
    SetWindowLongPtrA(f.hFrame, 0, reinterpret_cast<LONG_PTR>(f.hClient));
    ShowWindow(f.hFrame, SW_SHOW);
    std::string strA = Acp(t.pszQuotes), strB = Acp(t.pszOrders);
    MDICREATESTRUCTA mcsA = {"TbQtMdiChild", strA.c_str(), nullptr, 20, 40, 260, 160, WS_VISIBLE, 0};
    f.hA = reinterpret_cast<HWND>(SendMessageA(f.hClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcsA)));
    MDICREATESTRUCTA mcsB = {"TbQtMdiChild", strB.c_str(), nullptr, 160, 120, 260, 160, WS_VISIBLE, 0};
    f.hB = reinterpret_cast<HWND>(SendMessageA(f.hClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcsB)));
    return f;
}

// Where the display shows a window's client, in the client's parent's coordinates of the layer.
RECT ShownIn(HWND hWnd, HWND hParent)
{
    RECT rc = {};
    TbQtGetSurfaceGeometry(hWnd, &rc);
    MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

RECT LayerIn(HWND hWnd, HWND hParent)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}
}  // namespace

TEST_F(QtMenuTest, MdiChildrenAreSubWindowsOfTheMdiArea)
{
    MdiFrame f = MakeMdiFrame(s_english);
    ASSERT_TRUE(f.hA && f.hB);
    PumpQt(80);
    auto* pArea = TbQtWidgetOf(f.hClient)->findChild<QMdiArea*>();
    ASSERT_NE(nullptr, pArea);
    ASSERT_EQ(2, pArea->subWindowList().size());
    EXPECT_EQ(f.hB, reinterpret_cast<HWND>(SendMessageA(f.hClient, WM_MDIGETACTIVE, 0, 0)));
    EXPECT_EQ(TbQtWidgetOf(f.hB), pArea->currentSubWindow()->widget());
    // The display shows each child's client where the layer has it.
    for (HWND h : {f.hA, f.hB}) {
        RECT rcShown = ShownIn(h, f.hClient), rcLayer = LayerIn(h, f.hClient);
        EXPECT_TRUE(EqualRect(&rcShown, &rcLayer)) << rcShown.left << "," << rcShown.top << " vs " << rcLayer.left << "," << rcLayer.top;
    }
    ASSERT_TRUE(TbSaveWindowPng(f.hFrame, ScreenshotPath("mdi_frame").c_str()));
    QImage shot = TbQtWidgetOf(f.hFrame)->grab().toImage();
    ASSERT_TRUE(shot.save(QString::fromStdString(ScreenshotPath("mdi_frame_display")), "PNG"));

    // Tiled by the layer: the sub-windows follow.
    SendMessageA(f.hClient, WM_MDITILE, MDITILE_VERTICAL, 0);
    PumpQt(30);
    RECT rcShown = ShownIn(f.hA, f.hClient), rcLayer = LayerIn(f.hA, f.hClient);
    EXPECT_TRUE(EqualRect(&rcShown, &rcLayer));
    // Tiled or cascaded, every sub-window with its title bar lies inside the area.
    for (UINT uMsg : {WM_MDICASCADE, WM_MDITILE}) {
        SendMessageA(f.hClient, uMsg, MDITILE_HORIZONTAL, 0);
        PumpQt(30);
        for (QMdiSubWindow* pSub : pArea->subWindowList())
            EXPECT_TRUE(pArea->viewport()->rect().contains(pSub->geometry()))
                << "message " << uMsg << ": " << pSub->x() << "," << pSub->y() << " " << pSub->width() << "x"
                << pSub->height();
    }
    // The user moves A's sub-window: the layer hears SC_MOVE and takes the new place.
    QMdiSubWindow* pSubA = nullptr;
    for (QMdiSubWindow* pSub : pArea->subWindowList())
        if (pSub->widget() == TbQtWidgetOf(f.hA))
            pSubA = pSub;
    ASSERT_NE(nullptr, pSubA);
    SendMessageA(f.hClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(f.hA), 0);
    QtLog().clear();
    const RECT rcBefore = LayerIn(f.hA, f.hClient);
    pSubA->move(pSubA->x() + 15, pSubA->y() + 5);
    PumpQt(30);
    const RECT rcAfter = LayerIn(f.hA, f.hClient);
    EXPECT_EQ(rcBefore.left + 15, rcAfter.left);
    EXPECT_EQ(rcBefore.top + 5, rcAfter.top);
    bool bSysMove = false;
    for (const auto& m : MessagesOf(WM_SYSCOMMAND))
        bSysMove = bSysMove || (m.hWnd == f.hA && (m.wParam & 0xFFF0) == SC_MOVE);
    EXPECT_TRUE(bSysMove);
    // Maximised by the layer: the client fills the area.
    SendMessageA(f.hClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(f.hA), 0);
    PumpQt(30);
    rcShown = ShownIn(f.hA, f.hClient);
    RECT rcClient;
    GetClientRect(f.hClient, &rcClient);
    EXPECT_TRUE(EqualRect(&rcShown, &rcClient));
    SendMessageA(f.hClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(f.hA), 0);
    // The close box: the child hides (its choice) and B becomes active.
    pSubA->close();
    PumpQt(30);
    EXPECT_TRUE(IsWindow(f.hA));
    EXPECT_FALSE(IsWindowVisible(f.hA));
    EXPECT_FALSE(pSubA->isVisible());
    EXPECT_EQ(f.hB, reinterpret_cast<HWND>(SendMessageA(f.hClient, WM_MDIGETACTIVE, 0, 0)));
    DestroyWindow(f.hFrame);
    PumpQt(20);
}

TEST_F(QtMenuTest, TheMdiFrameInArabic)
{
    TbSetActiveCodePage(1256);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    MdiFrame f = MakeMdiFrame(s_arabic);
    PumpQt(80);
    QImage shot = TbQtWidgetOf(f.hFrame)->grab().toImage();
    ASSERT_TRUE(shot.save(QString::fromStdString(ScreenshotPath("mdi_frame_arabic")), "PNG"));
    DestroyWindow(f.hFrame);
    PumpQt(20);
}

namespace {
// The bar's title of a window whose menu bar holds one title, as the display draws it.
QImage DrawnTitle(const char* pszTitleUtf8, const char* pszShot)
{
    HWND hWnd = CreateQtWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80, 80, 360, 200);
    HMENU hBar = CreateMenu();
    AppendMenuA(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), Acp(pszTitleUtf8).c_str());
    AppendMenuA(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), Acp(s_arabic.pszWindow).c_str());
    SetMenu(hWnd, hBar);
    PumpQt(50);
    QImage title;
    auto* pBar = TbQtWidgetOf(hWnd)->findChild<QMenuBar*>();
    if (pBar && !pBar->actions().isEmpty()) {
        const QImage shot = pBar->grab().toImage();
        title = shot.copy(pBar->actionGeometry(pBar->actions().first()));
        EXPECT_TRUE(TbQtWidgetOf(hWnd)->grab().save(QString::fromStdString(ScreenshotPath(pszShot)), "PNG"));
    }
    DestroyWindow(hWnd);
    return title;
}
}  // namespace

// A mnemonic inside an Arabic word keeps the word joined: the title with and without it has the
// same glyphs, and differs only in the line under the mnemonic's letter.
TEST_F(QtMenuTest, AnArabicTitleIsShapedWholeUnderItsMnemonic)
{
    TbSetActiveCodePage(1256);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    // "American", the mnemonic on its fifth letter, between two joining letters.
    const QImage plain = DrawnTitle("\xd8\xa7\xd9\x84\xd8\xa3\xd9\x85\xd8\xb1\xd9\x8a\xd9\x83\xd9\x8a", "menu_bar_arabic_plain");
    const QImage marked = DrawnTitle("\xd8\xa7\xd9\x84\xd8\xa3\xd9\x85&\xd8\xb1\xd9\x8a\xd9\x83\xd9\x8a", "menu_bar_arabic");
    ASSERT_FALSE(plain.isNull());
    ASSERT_EQ(plain.size(), marked.size());
    int nTop = plain.height(), nBottom = -1, nLeft = plain.width(), nRight = -1;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (plain.pixel(x, y) != marked.pixel(x, y)) {
                nTop = std::min(nTop, y), nBottom = std::max(nBottom, y);
                nLeft = std::min(nLeft, x), nRight = std::max(nRight, x);
            }
    ASSERT_GE(nBottom, 0) << "the mnemonic is underlined";
    EXPECT_LE(nBottom - nTop, 1) << "only the underline differs: rows " << nTop << " to " << nBottom;
    EXPECT_LT(nRight - nLeft, plain.width() / 3) << "under one letter, not the whole title";
}

namespace {
// The picture a window's title bar shows as "x,y=#rrggbb" at three points (transparent: "-"),
// against the same points of a PNG file, so a failure names the pixels that differ.
std::string IconPoints(const QImage& image)
{
    std::string str;
    if (image.isNull())
        return "none";
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (QPoint pt : {QPoint(0, 0), QPoint(argb.width() / 2, argb.height() / 2), QPoint(argb.width() - 3, 2)}) {
        const QRgb px = argb.pixel(pt);
        char sz[32];
        snprintf(sz, sizeof sz, "%d,%d=%s ", pt.x(), pt.y(), qAlpha(px) < 128 ? "-" : QColor(px).name().toUtf8().constData());
        str += sz;
    }
    return str;
}
std::string ShownIcon(HWND hWnd, const QImage& like)
{
    const QIcon icon = TbQtWidgetOf(hWnd)->windowIcon();
    return icon.isNull() ? "none" : IconPoints(icon.pixmap(like.size()).toImage());
}
}  // namespace

// The frame shows its class icon, a document window of a class with an icon that icon, one of a
// class without the program's, and a dialog the icon WM_SETICON gives it.
TEST(QtMdi, WindowsShowTheIconsTheirClassesAndOwnersGive)
{
    DestroyWindow(CreateQtWindow(nullptr, WS_OVERLAPPED, 0, 0, 10, 10));   // brings the Qt display up
    const std::string strFrame = TB_SOURCE_DIR "/resources/app/terminal.png";
    const std::string strTable = TB_SOURCE_DIR "/resources/app/table.png";
    const std::string strBrand = TB_SOURCE_DIR "/resources/app/brand.png";
    auto load = [](const std::string& str) { return static_cast<HICON>(LoadImageA(nullptr, str.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)); };
    HICON hFrameIcon = load(strFrame), hTableIcon = load(strTable), hBrandIcon = load(strBrand);
    ASSERT_TRUE(hFrameIcon && hTableIcon && hBrandIcon);
    const QImage frameImage(QString::fromStdString(strFrame)), tableImage(QString::fromStdString(strTable));
    const QImage brandImage(QString::fromStdString(strBrand));
    static bool s_bRegistered = false;
    if (!s_bRegistered) {
        WNDCLASSA wc = {0, DefWindowProcA, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "TbQtIconFrame"};
        RegisterClassA(&wc);
        wc.lpfnWndProc = QtChildProc;
        wc.hIcon = hTableIcon;
        wc.lpszClassName = "TbQtIconTable";
        RegisterClassA(&wc);
        wc.hIcon = nullptr;
        wc.lpszClassName = "TbQtIconPlain";
        RegisterClassA(&wc);
        s_bRegistered = true;
    }
    HWND hFrame = CreateWindowExA(0, "TbQtIconFrame", "Terminal", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 500, 360,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hFrame);
    SetClassLongPtrA(hFrame, GCLP_HICON, reinterpret_cast<LONG_PTR>(hFrameIcon));
    EXPECT_EQ(IconPoints(frameImage), ShownIcon(hFrame, frameImage));

    CLIENTCREATESTRUCT ccs = {nullptr, 0xFF00};
    HWND hClient = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 500, 360,
                                   hFrame, nullptr, nullptr, &ccs);
    MDICREATESTRUCTA mcsTable = {"TbQtIconTable", "Quotes", nullptr, 10, 10, 200, 120, WS_VISIBLE, 0};
    HWND hTable = reinterpret_cast<HWND>(SendMessageA(hClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcsTable)));
    MDICREATESTRUCTA mcsPlain = {"TbQtIconPlain", "Orders", nullptr, 60, 60, 200, 120, WS_VISIBLE, 0};
    HWND hPlain = reinterpret_cast<HWND>(SendMessageA(hClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcsPlain)));
    ASSERT_TRUE(hTable && hPlain);
    PumpQt(20);
    EXPECT_EQ(IconPoints(tableImage), ShownIcon(hTable, tableImage));
    EXPECT_EQ(IconPoints(frameImage), ShownIcon(hPlain, frameImage));

    TBDLGTEMPLATE tpl;
    tpl.dwStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    tpl.cx = 120, tpl.cy = 60;
    TBDLGITEMTEMPLATE item;
    item.strClass = "Static";
    item.dwStyle = SS_ICON | WS_VISIBLE;
    item.nId = 1532;
    item.x = 4, item.y = 4, item.cx = 21, item.cy = 20;
    tpl.items.push_back(item);
    HWND hDlg = CreateDialogIndirectParamA(nullptr, &tpl, hFrame, nullptr, 0);
    ASSERT_NE(nullptr, hDlg);
    // The system's information icon in an icon static: a blue disk with a white letter.
    SendDlgItemMessageA(hDlg, 1532, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_INFORMATION)), 0);
    HWND hIcon = GetDlgItem(hDlg, 1532);
    ShowWindow(hDlg, SW_SHOW);
    PumpQt(20);
    const std::string strShot = ScreenshotPath("icon_information");
    ASSERT_TRUE(TbSaveWindowPng(hIcon, strShot.c_str()));
    const QImage shot(QString::fromStdString(strShot));
    EXPECT_EQ(QColor(Qt::white), QColor(shot.pixel(15, 20))) << "the letter's stem";
    EXPECT_EQ(QColor(0, 84, 166), QColor(shot.pixel(6, 16))) << "the disk";
    EXPECT_EQ(IconPoints(frameImage), ShownIcon(hDlg, frameImage));
    SendMessageA(hDlg, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hBrandIcon));
    EXPECT_EQ(IconPoints(brandImage), ShownIcon(hDlg, brandImage));
    EXPECT_EQ(reinterpret_cast<LRESULT>(hBrandIcon), SendMessageA(hDlg, WM_GETICON, ICON_BIG, 0));
    DestroyWindow(hDlg);
    DestroyWindow(hFrame);
    PumpQt(20);
}

TEST_F(QtMenuTest, AMaximisedChildsButtonsAndSystemMenuStandOnTheFramesMenuBar)
{
    MdiFrame f = MakeMdiFrame(s_english);
    ASSERT_TRUE(f.hA && f.hB);
    PumpQt(50);
    auto bar = [&] { return TbQtWidgetOf(f.hFrame)->findChild<QMenuBar*>(); };
    ASSERT_NE(nullptr, bar());
    const int nTitles = bar()->actions().size();
    // The bar's titles alone, no buttons: no child is maximised.
    auto plain = [&] { return bar()->actions().size() == nTitles && bar()->cornerWidget(Qt::TopRightCorner) == nullptr; };
    EXPECT_TRUE(plain());
    auto button = [&](uint nCommand) -> QToolButton* {
        QWidget* pCorner = bar()->cornerWidget(Qt::TopRightCorner);
        for (QToolButton* pButton : pCorner != nullptr ? pCorner->findChildren<QToolButton*>() : QList<QToolButton*>())
            if (pButton->property("tbCommand").toUInt() == nCommand)
                return pButton;
        return nullptr;
    };

    SendMessageA(f.hClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(f.hB), 0);
    PumpQt(50);
    ASSERT_NE(nullptr, bar());
    // The system menu first, with the child's commands; the buttons in the bar's far corner.
    ASSERT_EQ(nTitles + 1, bar()->actions().size());
    ASSERT_NE(nullptr, bar()->actions().front()->menu());
    EXPECT_FALSE(bar()->actions().front()->icon().isNull());
    QWidget* pCorner = bar()->cornerWidget(Qt::TopRightCorner);
    ASSERT_NE(nullptr, pCorner);
    std::vector<uint> commands;
    for (QToolButton* pButton : pCorner->findChildren<QToolButton*>()) {
        commands.push_back(pButton->property("tbCommand").toUInt());
        EXPECT_TRUE(pButton->isVisible());
    }
    EXPECT_EQ((std::vector<uint>{SC_MINIMIZE, SC_RESTORE, SC_CLOSE}), commands);
    ASSERT_TRUE(TbSaveWindowPng(f.hFrame, ScreenshotPath("mdi_maximised_bar").c_str()));
    ASSERT_TRUE(TbQtWidgetOf(f.hFrame)->grab().save(QString::fromStdString(ScreenshotPath("mdi_maximised_bar_display")), "PNG"));

    // A click on the bar's close button closes the maximised child (these children hide); the
    // controls leave the bar with it, and A is active.
    ASSERT_NE(nullptr, button(SC_CLOSE));
    QTest::mouseClick(button(SC_CLOSE), Qt::LeftButton);
    PumpQt(50);
    EXPECT_FALSE(IsWindowVisible(f.hB));
    EXPECT_EQ(f.hA, reinterpret_cast<HWND>(SendMessageA(f.hClient, WM_MDIGETACTIVE, 0, 0)));
    EXPECT_TRUE(plain());

    // A maximised, its system menu on the bar; the bar's restore button gives it its frame back.
    SendMessageA(f.hClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(f.hA), 0);
    PumpQt(50);
    EXPECT_EQ(GetSystemMenu(f.hA, FALSE), GetSubMenu(GetMenu(f.hFrame), 0));
    ASSERT_NE(nullptr, button(SC_RESTORE));
    QTest::mouseClick(button(SC_RESTORE), Qt::LeftButton);
    PumpQt(50);
    EXPECT_FALSE(IsZoomed(f.hA));
    EXPECT_TRUE(plain());
    DestroyWindow(f.hFrame);
    PumpQt(20);
}
