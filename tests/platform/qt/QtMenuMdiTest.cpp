// Menus and MDI on the Qt display: the menu bar above the client area, a popup worked with the
// keyboard, an MDI frame whose children are sub-windows of Qt's MDI area; screenshots of both.
#include <gtest/gtest.h>
#include <algorithm>
#include <array>
#include <map>
#include <QtGui/QColor>
#include <QtGui/QIcon>
#include <QtGui/QImage>
#include <QtGui/QKeyEvent>
#include <QtGui/QPainter>
#include <QtGui/QScreen>
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

// The texts of the menus and the MDI children's titles, in UTF-8 (given to the layer in the
// active code page).
enum { T_FILE, T_OPEN, T_WINDOW, T_BID, T_ASK, T_LAST, T_QUOTES, T_ORDERS };
using Texts = std::array<const char*, 8>;
const Texts s_english = {"&File", "&Open...", "&Window", "&Bid", "&Ask", "&Last", "Quotes", "Orders"};
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
    AppendMenuA(hFile, MF_STRING, ID_OPEN, Acp(t[T_OPEN]).c_str());
    HMENU hWindow = CreatePopupMenu();
    AppendMenuA(hWindow, MF_STRING, ID_BID, Acp(t[T_BID]).c_str());
    HMENU hBar = CreateMenu();
    AppendMenuA(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hFile), Acp(t[T_FILE]).c_str());
    AppendMenuA(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hWindow), Acp(t[T_WINDOW]).c_str());
    if (phWindow)
        *phWindow = hWindow;
    return hBar;
}

HMENU MakePopup(const Texts& t)
{
    HMENU hPopup = CreatePopupMenu();
    AppendMenuA(hPopup, MF_STRING, ID_BID, Acp(t[T_BID]).c_str());
    AppendMenuA(hPopup, MF_STRING, ID_ASK, Acp(t[T_ASK]).c_str());
    AppendMenuA(hPopup, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(hPopup, MF_STRING | MF_CHECKED, ID_LAST, Acp(t[T_LAST]).c_str());
    return hPopup;
}

void PaintGrey(HWND, HDC hdc, const RECT& rc)
{
    HBRUSH hbr = CreateSolidBrush(RGB(220, 226, 236));
    FillRect(hdc, &rc, hbr);
    DeleteObject(hbr);
}

// Where a window's client is, in its parent's coordinates of the layer: as the display shows it
// or as the layer has it.
RECT PlaceIn(HWND hWnd, HWND hParent, bool bShown)
{
    RECT rc = {};
    if (bShown)
        TbQtGetSurfaceGeometry(hWnd, &rc);
    else
        GetWindowRect(hWnd, &rc);
    MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
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

// Alt and a letter that both the menu bar and a form the keys are in mark: the form's label takes
// it (the key comes to the window as a key press), a letter only the bar marks stays the bar's,
// and so does every letter while the keys are in no form.
TEST_F(QtMenuTest, AltWithAFormsMnemonicIsTheFormsBeforeTheMenuBars)
{
    HWND hWnd = CreateQtWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80, 80, 360, 240);
    HWND hForm = CreateQtWindow(hWnd, WS_CHILD | WS_VISIBLE, 10, 10, 300, 100, 7);
    SetMenu(hWnd, MakeBar(s_english));          // "&File", "&Window"
    CreateWindowExA(0, "STATIC", "&Window size:", WS_CHILD | WS_VISIBLE, 5, 5, 80, 12, hForm, nullptr, nullptr, nullptr);
    HWND hEdit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 90, 5, 80, 14, hForm,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(11)), nullptr, nullptr);
    PumpQt(50);
    auto claimed = [&](Qt::Key nKey, const char* pszText) {
        QKeyEvent override(QEvent::ShortcutOverride, nKey, Qt::AltModifier, pszText);
        override.ignore();
        QApplication::sendEvent(TbQtWidgetOf(hWnd), &override);
        return override.isAccepted();
    };
    SetFocus(hEdit);
    EXPECT_TRUE(claimed(Qt::Key_W, "w")) << "the form's label";
    EXPECT_FALSE(claimed(Qt::Key_F, "f")) << "the bar's alone";
    SetFocus(hWnd);
    EXPECT_FALSE(claimed(Qt::Key_W, "w")) << "no form has the keys";
    DestroyWindow(hWnd);
}

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
    if (s_script.pszShot) {     // the window with the popup drawn over it where it shows
        QWidget* pWidget = TbQtWidgetOf(hWnd);
        QImage image = pWidget->grab().toImage();
        QPainter(&image).drawPixmap(pWidget->mapFromGlobal(pPopup->pos()), pPopup->grab());
        EXPECT_TRUE(image.save(QString::fromStdString(ScreenshotPath(s_script.pszShot)), "PNG"));
    }
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

// Down twice and Enter: the second item; Escape: nothing; a mnemonic: its item; in Arabic the
// popup is mirrored. A queued answer closes the shown popup once the queue has drained.
TEST_F(QtMenuTest, ThePopupIsWorkedWithTheKeyboardInTheModalLoop)
{
    const struct { const Texts* pTexts; UINT uFlags; PopupScript script; UINT uChosen; } cases[] = {
        {&s_english, 0, {"popup_menu", {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}}, ID_ASK},
        {&s_english, TPM_RIGHTALIGN | TPM_BOTTOMALIGN, {nullptr, {Qt::Key_Escape}}, 0},
        {&s_english, 0, {nullptr, {Qt::Key_L}}, ID_LAST},
        {&s_arabic, TPM_RIGHTALIGN | TPM_LAYOUTRTL, {"popup_menu_arabic", {Qt::Key_Down, Qt::Key_Return}}, ID_BID}};
    for (const auto& c : cases) {
        TbSetActiveCodePage(c.pTexts == &s_arabic ? 1256 : 1252);
        QApplication::setLayoutDirection(c.pTexts == &s_arabic ? Qt::RightToLeft : Qt::LeftToRight);
        HWND hWnd = CreateQtWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80, 80, 360, 240);
        HWND hChild = CreateQtWindow(hWnd, WS_CHILD | WS_VISIBLE, 10, 10, 50, 30, 7);
        SetMenu(hWnd, MakeBar(*c.pTexts));
        HMENU hPopup = MakePopup(*c.pTexts);
        PumpQt(50);
        // A child keeps its client coordinates: on the display it moves below the bar.
        EXPECT_EQ(10 + TbQtWidgetOf(hWnd)->findChild<QMenuBar*>()->height(), TbQtWidgetOf(hChild)->y());
        QtLog().clear();
        EXPECT_EQ(c.uChosen, RunPopup(hWnd, hPopup, c.uFlags, c.script)) << c.script.keys.size() << " keys";
        EXPECT_EQ(1u, MessagesOf(WM_INITMENUPOPUP).size());
        EXPECT_FALSE(MessagesOf(WM_MENUSELECT).empty());
        EXPECT_EQ(nullptr, TbQtOpenPopup());
        TbQueueTestAnswer(TBTESTANSWER{TB_ASK_POPUPMENU, ID_BID, ""});
        EXPECT_EQ(ID_BID, TrackPopupMenuEx(hPopup, TPM_RETURNCMD, 100, 100, hWnd, nullptr));
        DestroyMenu(hPopup);
        DestroyWindow(hWnd);
    }
}

// ---- MDI ----

namespace {
LRESULT CALLBACK QtFrameProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    QtLog().push_back({hWnd, uMsg, wParam, lParam});
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

// A PNG file as an icon and as the picture it holds.
struct FileIcon {
    HICON hIcon;
    QImage image;
};
FileIcon LoadFileIcon(const char* pszName)
{
    const std::string strFile = std::string(TB_SOURCE_DIR "/resources/app/") + pszName;
    return {static_cast<HICON>(LoadImageA(nullptr, strFile.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)),
            QImage(QString::fromStdString(strFile))};
}

// A frame of a class with the program's icon, its A of a class with an icon of its own, its B
// of a class without one.
MdiFrame MakeMdiFrame(const Texts& t)
{
    static bool s_bRegistered = false;
    if (!s_bRegistered) {
        WNDCLASSA wc = {0, QtFrameProc, 0, sizeof(LONG_PTR), nullptr, LoadFileIcon("terminal.png").hIcon, nullptr,
                        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)), nullptr, "TbQtMdiFrame"};
        RegisterClassA(&wc);
        WNDCLASSA wcChild = {0, QtChildProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "TbQtMdiChild"};
        RegisterClassA(&wcChild);
        wcChild.hIcon = LoadFileIcon("table.png").hIcon;
        wcChild.lpszClassName = "TbQtMdiTable";
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
    std::string strA = Acp(t[T_QUOTES]), strB = Acp(t[T_ORDERS]);
    MDICREATESTRUCTA mcsA = {"TbQtMdiTable", strA.c_str(), nullptr, 20, 40, 260, 160, WS_VISIBLE, 0};
    f.hA = reinterpret_cast<HWND>(SendMessageA(f.hClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcsA)));
    MDICREATESTRUCTA mcsB = {"TbQtMdiChild", strB.c_str(), nullptr, 160, 120, 260, 160, WS_VISIBLE, 0};
    f.hB = reinterpret_cast<HWND>(SendMessageA(f.hClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcsB)));
    return f;
}

// The icon a window shows and a PNG file's picture, as "x,y=#rrggbb" at three points
// (transparent: "-"), so that a failure names the pixels that differ.
std::string IconPoints(const QImage& image)
{
    std::string str = image.isNull() ? "none" : "";
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (QPoint pt : {QPoint(0, 0), QPoint(argb.width() / 2, argb.height() / 2), QPoint(argb.width() - 3, 2)}) {
        const QRgb px = image.isNull() ? 0 : argb.pixel(pt);
        str += std::to_string(pt.x()) + "," + std::to_string(pt.y()) + "=" +
               (qAlpha(px) < 128 ? "-" : QColor(px).name().toStdString()) + " ";
    }
    return str;
}
std::string ShownIcon(HWND hWnd, const QImage& like)
{
    const QIcon icon = TbQtWidgetOf(hWnd)->windowIcon();
    return IconPoints(icon.isNull() ? QImage() : icon.pixmap(like.size()).toImage());
}
}  // namespace

TEST_F(QtMenuTest, MdiChildrenAreSubWindowsOfTheMdiAreaAndAMaximisedOnesButtonsStandOnTheBar)
{
    MdiFrame f = MakeMdiFrame(s_english);
    ASSERT_TRUE(f.hA && f.hB);
    PumpQt(80);
    auto* pArea = TbQtWidgetOf(f.hClient)->findChild<QMdiArea*>();
    ASSERT_NE(nullptr, pArea);
    ASSERT_EQ(2, pArea->subWindowList().size());
    // Ctrl+W is no key of the program's: a restored window stays, as a maximised one does.
    TbQtWidgetOf(f.hFrame)->activateWindow();
    SetFocus(f.hB);
    PumpQt(30);
    QTest::keyClick(TbQtWidgetOf(f.hB), Qt::Key_W, Qt::ControlModifier);
    PumpQt(30);
    EXPECT_TRUE(IsWindowVisible(f.hB)) << "Ctrl+W closed a document window";
    auto active = [&] { return reinterpret_cast<HWND>(SendMessageA(f.hClient, WM_MDIGETACTIVE, 0, 0)); };
    EXPECT_EQ(f.hB, active());
    EXPECT_EQ(TbQtWidgetOf(f.hB), pArea->currentSubWindow()->widget());
    // The menu bar above the client area, which keeps its coordinates: on the display the MDI
    // client sits below the bar.
    auto bar = [&] { return TbQtWidgetOf(f.hFrame)->findChild<QMenuBar*>(); };
    ASSERT_NE(nullptr, bar());
    const int nBar = bar()->height();
    RECT rcFrameClient, rcSurface, rcWindow;
    GetClientRect(f.hFrame, &rcFrameClient);
    EXPECT_EQ(420 - nBar, rcFrameClient.bottom);
    ASSERT_TRUE(TbQtGetSurfaceGeometry(f.hFrame, &rcSurface));
    GetWindowRect(f.hFrame, &rcWindow);
    EXPECT_EQ(rcWindow.bottom - rcWindow.top, rcSurface.bottom - rcSurface.top);
    EXPECT_EQ(nBar, TbQtWidgetOf(f.hClient)->y());
    EXPECT_EQ(0, PlaceIn(f.hClient, f.hFrame, true).top);
    // Opening File: the frame prepares it first; choosing Open posts the command.
    auto frameMessages = [&](UINT uMsg) {
        std::vector<WPARAM> params;
        for (const auto& m : MessagesOf(uMsg))
            if (m.hWnd == f.hFrame)
                params.push_back(m.wParam);
        return params;
    };
    QtLog().clear();
    QMenu* pFile = bar()->actions()[0]->menu();
    QTest::mouseClick(bar(), Qt::LeftButton, {}, bar()->actionGeometry(bar()->actions()[0]).center());
    PumpQt(50);
    ASSERT_TRUE(pFile->isVisible());
    EXPECT_EQ(1u, frameMessages(WM_INITMENU).size());
    ASSERT_EQ(1u, frameMessages(WM_INITMENUPOPUP).size());
    ASSERT_EQ(1, pFile->actions().size());
    QTest::keyClick(pFile, Qt::Key_Down);
    QTest::keyClick(pFile, Qt::Key_Return);
    PumpQt(50);
    EXPECT_EQ(std::vector<WPARAM>{ID_OPEN}, frameMessages(WM_COMMAND));
    EXPECT_EQ(1u, frameMessages(WM_EXITMENULOOP).size());
    // The display shows each child's client where the layer has it, also once tiled.
    auto shownAsLaidOut = [&](HWND h) {
        RECT rcShown = PlaceIn(h, f.hClient, true), rcLayer = PlaceIn(h, f.hClient, false);
        return EqualRect(&rcShown, &rcLayer) != FALSE;
    };
    EXPECT_TRUE(shownAsLaidOut(f.hA) && shownAsLaidOut(f.hB));
    // The frame shows its class's icon, A its class's, B (its class has none) the program's.
    const QImage frameIcon = LoadFileIcon("terminal.png").image, tableIcon = LoadFileIcon("table.png").image;
    EXPECT_EQ(IconPoints(frameIcon), ShownIcon(f.hFrame, frameIcon));
    EXPECT_EQ(IconPoints(tableIcon), ShownIcon(f.hA, tableIcon));
    EXPECT_EQ(IconPoints(frameIcon), ShownIcon(f.hB, frameIcon));
    ASSERT_TRUE(TbSaveWindowPng(f.hFrame, ScreenshotPath("mdi_frame").c_str()));
    ASSERT_TRUE(TbQtWidgetOf(f.hFrame)->grab().save(QString::fromStdString(ScreenshotPath("mdi_frame_display")), "PNG"));
    SendMessageA(f.hClient, WM_MDITILE, MDITILE_VERTICAL, 0);
    PumpQt(30);
    EXPECT_TRUE(shownAsLaidOut(f.hA));
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
        pSubA = pSub->widget() == TbQtWidgetOf(f.hA) ? pSub : pSubA;
    ASSERT_NE(nullptr, pSubA);
    SendMessageA(f.hClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(f.hA), 0);
    QtLog().clear();
    const RECT rcBefore = PlaceIn(f.hA, f.hClient, false);
    pSubA->move(pSubA->x() + 15, pSubA->y() + 5);
    PumpQt(30);
    const RECT rcAfter = PlaceIn(f.hA, f.hClient, false);
    EXPECT_EQ(rcBefore.left + 15, rcAfter.left);
    EXPECT_EQ(rcBefore.top + 5, rcAfter.top);
    const auto sysCommands = MessagesOf(WM_SYSCOMMAND);
    EXPECT_TRUE(std::any_of(sysCommands.begin(), sysCommands.end(),
                            [&](const LoggedMessage& m) { return m.hWnd == f.hA && (m.wParam & 0xFFF0) == SC_MOVE; }));

    // Maximised: the client fills the area, the child's system menu leads the frame's menu bar and
    // its minimise, restore and close buttons stand in the bar's far corner.
    const int nTitles = bar()->actions().size();
    auto plain = [&] { return bar()->actions().size() == nTitles && bar()->cornerWidget(Qt::TopRightCorner) == nullptr; };
    auto buttons = [&] {    // the corner's visible buttons by their commands
        std::map<uint, QToolButton*> shown;
        if (QWidget* pCorner = bar()->cornerWidget(Qt::TopRightCorner))
            for (QToolButton* pButton : pCorner->findChildren<QToolButton*>())
                shown[pButton->isVisible() ? pButton->property("tbCommand").toUInt() : 0] = pButton;
        return shown;
    };
    SendMessageA(f.hClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(f.hA), 0);
    PumpQt(50);
    RECT rcShown = PlaceIn(f.hA, f.hClient, true), rcClient;
    GetClientRect(f.hClient, &rcClient);
    EXPECT_TRUE(EqualRect(&rcShown, &rcClient));
    ASSERT_EQ(nTitles + 1, bar()->actions().size());
    EXPECT_FALSE(bar()->actions().front()->icon().isNull());
    EXPECT_EQ(GetSystemMenu(f.hA, FALSE), GetSubMenu(GetMenu(f.hFrame), 0));
    std::vector<uint> commands;     // in the order they stand
    for (QToolButton* pButton : bar()->cornerWidget(Qt::TopRightCorner)->findChildren<QToolButton*>())
        commands.push_back(pButton->property("tbCommand").toUInt());
    EXPECT_EQ((std::vector<uint>{SC_MINIMIZE, SC_RESTORE, SC_CLOSE}), commands);
    EXPECT_EQ(3u, buttons().size()) << "all shown";
    ASSERT_TRUE(TbSaveWindowPng(f.hFrame, ScreenshotPath("mdi_maximised_bar").c_str()));
    ASSERT_TRUE(TbQtWidgetOf(f.hFrame)->grab().save(QString::fromStdString(ScreenshotPath("mdi_maximised_bar_display")), "PNG"));
    // The bar's restore button gives A its frame back and the controls leave the bar.
    ASSERT_TRUE(buttons().count(SC_RESTORE));
    QTest::mouseClick(buttons()[SC_RESTORE], Qt::LeftButton);
    PumpQt(50);
    EXPECT_TRUE(IsWindowVisible(f.hA) && !IsZoomed(f.hA));
    EXPECT_TRUE(plain());
    // A's close box: the child hides (its choice) and B becomes active.
    pSubA->close();
    PumpQt(30);
    EXPECT_TRUE(IsWindow(f.hA));
    EXPECT_FALSE(IsWindowVisible(f.hA) || pSubA->isVisible());
    EXPECT_EQ(f.hB, active());
    // B maximised, closed with the bar's close button: it hides and the controls go with it.
    SendMessageA(f.hClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(f.hB), 0);
    PumpQt(50);
    ASSERT_TRUE(buttons().count(SC_CLOSE));
    QTest::mouseClick(buttons()[SC_CLOSE], Qt::LeftButton);
    PumpQt(50);
    EXPECT_FALSE(IsWindowVisible(f.hB));
    EXPECT_TRUE(plain());

    // A dialog: the program's icon until WM_SETICON gives it one; its icon static shows the
    // system's information icon, a blue disk with a white letter.
    TBDLGTEMPLATE tpl;
    tpl.dwStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    tpl.cx = 120, tpl.cy = 60;
    TBDLGITEMTEMPLATE item;
    item.strClass = "Static";
    item.dwStyle = SS_ICON | WS_VISIBLE;
    item.nId = 1532;
    item.x = 4, item.y = 4, item.cx = 21, item.cy = 20;
    tpl.items.push_back(item);
    const FileIcon brand = LoadFileIcon("brand.png");
    HWND hDlg = CreateDialogIndirectParamA(nullptr, &tpl, f.hFrame, nullptr, 0);
    ASSERT_NE(nullptr, hDlg);
    SendDlgItemMessageA(hDlg, 1532, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_INFORMATION)), 0);
    ShowWindow(hDlg, SW_SHOW);
    PumpQt(20);
    const std::string strShot = ScreenshotPath("icon_information");
    ASSERT_TRUE(TbSaveWindowPng(GetDlgItem(hDlg, 1532), strShot.c_str()));
    const QImage shot(QString::fromStdString(strShot));
    EXPECT_EQ(QColor(Qt::white), QColor(shot.pixel(15, 20))) << "the letter's stem";
    EXPECT_EQ(QColor(0, 84, 166), QColor(shot.pixel(6, 16))) << "the disk";
    EXPECT_EQ(IconPoints(frameIcon), ShownIcon(hDlg, frameIcon));
    SendMessageA(hDlg, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(brand.hIcon));
    EXPECT_EQ(IconPoints(brand.image), ShownIcon(hDlg, brand.image));
    DestroyWindow(hDlg);
    // Without the menu the frame's client has its height back and the MDI client moves up with it.
    HMENU hMenu = GetMenu(f.hFrame);
    SetMenu(f.hFrame, nullptr);
    DestroyMenu(hMenu);
    GetClientRect(f.hFrame, &rcFrameClient);
    EXPECT_EQ(420, rcFrameClient.bottom);
    EXPECT_EQ(0, TbQtWidgetOf(f.hClient)->y());
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
    AppendMenuA(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), Acp(s_arabic[T_WINDOW]).c_str());
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

// In Arabic the MDI frame is mirrored, and a mnemonic inside a word keeps the word joined: the
// title with and without it has the same glyphs, and differs only in the line under the letter.
TEST_F(QtMenuTest, TheMdiFrameInArabicAndATitleShapedWholeUnderItsMnemonic)
{
    TbSetActiveCodePage(1256);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    MdiFrame f = MakeMdiFrame(s_arabic);
    PumpQt(80);
    ASSERT_TRUE(TbQtWidgetOf(f.hFrame)->grab().save(QString::fromStdString(ScreenshotPath("mdi_frame_arabic")), "PNG"));
    DestroyWindow(f.hFrame);
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

// A picture of an MDI document is the document's own rectangle, also when Qt leaves the widget
// inside its sub-window larger than the frame shows it (as the terminal's ticket frame was found).
TEST_F(QtMenuTest, APictureOfAnMdiDocumentIsItsOwnSize)
{
    MdiFrame f = MakeMdiFrame(s_english);
    ASSERT_TRUE(f.hB);
    PumpQt(80);
    RECT rc;
    GetWindowRect(f.hB, &rc);
    const QSize own(rc.right - rc.left, rc.bottom - rc.top);
    ASSERT_FALSE(own.isEmpty());
    TbQtWidgetOf(f.hB)->resize(own.width() * 4, own.height() * 4);
    const std::string strShot = ScreenshotPath("mdi_document_picture");
    ASSERT_EQ(0, TbSaveScreenPng(f.hB, strShot.c_str()));
    const QImage shot(QString::fromStdString(strShot));
    EXPECT_EQ(own, shot.size());
    const QImage shown = TbQtWidgetOf(f.hB)->grab(QRect(QPoint(0, 0), own)).toImage();
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32), shot.convertToFormat(QImage::Format_RGB32));
    DestroyWindow(f.hFrame);
}

namespace {
// A frame's Window menu with two entries that differ only in their number, opened from the bar
// with the mouse: the columns where the two rows differ are the number's, and it is told where
// it stands in its entry's text ("start" where the reader begins, "end", or "inside").
std::string WhereTheNumberStands(bool bRightToLeft, const char* pszTitleUtf8, const char* pszShot)
{
    HWND hWnd = CreateQtWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80, 80, 420, 260);
    SetWindowLongA(hWnd, GWL_EXSTYLE, bRightToLeft ? WS_EX_RTLREADING : 0);     // as an Arabic frame's
    HMENU hWindow = CreatePopupMenu();
    for (const char* pszNumber : {"&1 ", "&7 "})
        AppendMenuA(hWindow, MF_STRING, ID_BID, Acp((std::string(pszNumber) + pszTitleUtf8).c_str()).c_str());
    HMENU hBar = CreateMenu();
    AppendMenuA(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hWindow), Acp(s_arabic[T_WINDOW]).c_str());
    SetMenu(hWnd, hBar);
    PumpQt(50);
    std::string strWhere = "no menu";
    auto* pBar = TbQtWidgetOf(hWnd)->findChild<QMenuBar*>();
    QMenu* pMenu = pBar && !pBar->actions().isEmpty() ? pBar->actions().first()->menu() : nullptr;
    if (pMenu) {
        QTest::mouseClick(pBar, Qt::LeftButton, {}, pBar->actionGeometry(pBar->actions().first()).center());
        PumpQt(50);
        const QImage shot = pMenu->grab().toImage();
        shot.save(QString::fromStdString(ScreenshotPath(pszShot)));
        const QList<QAction*> items = pMenu->actions();
        const QRect rcOne = pMenu->actionGeometry(items.value(0)), rcSeven = pMenu->actionGeometry(items.value(1));
        int nInkLeft = shot.width(), nInkRight = -1, nDigitLeft = shot.width(), nDigitRight = -1;
        for (int y = 0; y < rcOne.height(); ++y)
            for (int x = rcOne.left(); x <= rcOne.right(); ++x) {
                const QRgb one = shot.pixel(x, rcOne.top() + y), seven = shot.pixel(x, rcSeven.top() + y);
                if (qGray(one) < 128)
                    nInkLeft = std::min(nInkLeft, x), nInkRight = std::max(nInkRight, x);
                if ((qGray(one) < 128) != (qGray(seven) < 128))
                    nDigitLeft = std::min(nDigitLeft, x), nDigitRight = std::max(nDigitRight, x);
            }
        strWhere = nDigitRight < 0 ? "no number" : nDigitRight >= nInkRight - 1 ? (bRightToLeft ? "start" : "end")
                                               : nDigitLeft <= nInkLeft + 1     ? (bRightToLeft ? "end" : "start")
                                                                                : "inside";
        pMenu->hide();
        PumpQt(20);
    }
    DestroyWindow(hWnd);
    return strWhere;
}
}  // namespace

// The Window menu lists the open windows as "1 Name", "2 Name": the number is read first, at
// the left of a left-to-right frame's entry and at the right of a right-to-left frame's, whatever
// the language of the window's name.
TEST_F(QtMenuTest, TheWindowListsNumbersStandWhereTheEntryIsReadFrom)
{
    TbSetActiveCodePage(1256);
    const struct { bool bRightToLeft; const char* pszTitle; const char* pszShot; } cases[] = {
        {false, "Quotes", "window_menu_numbers"},
        {true, "Quotes", "window_menu_numbers_rtl"},
        {true, s_arabic[T_QUOTES], "window_menu_numbers_arabic"}};
    for (const auto& c : cases)
        EXPECT_EQ("start", WhereTheNumberStands(c.bRightToLeft, c.pszTitle, c.pszShot)) << c.pszShot;
}

// A document window repainted whole while one of its child windows moves (the box between a
// grid's scroll bars, as the window grows in a cascade) shows only where no window above covers
// it. Qt's fast move of the child let the window paint over every sibling above it, and its
// picture stayed until they painted again: a cascade showed a back window over the front ones.
// The pixels are the ones the display composed.
TEST_F(QtMenuTest, ADocumentWindowWhoseChildMovesStaysUnderTheWindowsAboveIt)
{
    MdiFrame f = MakeMdiFrame(s_english);
    ASSERT_TRUE(f.hA && f.hB);
    HWND hBox = CreateQtWindow(f.hA, WS_CHILD | WS_VISIBLE, 10, 10, 16, 16);
    PumpQt(80);
    QWidget* pA = TbQtWidgetOf(f.hA);
    QWidget* pB = TbQtWidgetOf(f.hB);
    QWidget* pTop = pB->window();
    const QPoint ptInB(30, 30);                     // in B (on top), over A
    const QPoint pt = pB->mapTo(pTop, ptInB);
    ASSERT_TRUE(QRect(pA->mapTo(pTop, QPoint(0, 0)), pA->size()).contains(pt)) << "the point is not over A";
    const QColor own = pB->grab().toImage().pixelColor(ptInB);
    ASSERT_NE(own, pA->grab().toImage().pixelColor(pA->mapFrom(pTop, pt)));
    // The child moves and A repaints whole, with no painting between.
    SetWindowPos(hBox, nullptr, 10, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(f.hA, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpQt(80);
    const QImage shown = pTop->screen()->grabWindow(pTop->winId()).toImage();
    EXPECT_EQ(own.name().toStdString(), shown.pixelColor(pt).name().toStdString());
    DestroyWindow(f.hFrame);
}
