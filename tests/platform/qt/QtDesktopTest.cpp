// Windows worked as on a desktop: among document windows, the one on top is the active one
// (brought forward by the program, clicked, on its caption too; Qt's own activation is put
// back), a title bar button takes its first click, keys held for a menu of the display are let
// go with it, and a maximised window comes back through the bar's buttons, its system menu, Ctrl+F5 and Window >
// Cascade; dialogs and message boxes come up over the window the user works in, with a dialog's
// frame.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>
#include <QtTest/QTest>
#include <QtGui/QWindow>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMdiArea>
#include <QtWidgets/QMdiSubWindow>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QStyleOptionTitleBar>
#include <QtWidgets/QToolButton>
#include "QtTestSupport.h"
#include "tests/common/DisplayUnderTest.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/user/Accelerators.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/Mdi.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/VirtualKeys.h"
#include "platform/win/user/Window.h"

namespace {
const int ID_FIELD = 10;
int s_nActivations = 0;      // WM_MDIACTIVATE heard by the children
bool s_bClingy = false;      // a child losing the activation asks for it back at once
UINT s_uCommand = 0;         // the frame's last command

LRESULT CALLBACK DeskFrameProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_COMMAND)
        s_uCommand = LOWORD(wParam);
    return DefFrameProcA(hWnd, reinterpret_cast<HWND>(GetWindowLongPtrA(hWnd, 0)), uMsg, wParam, lParam);
}

// A document window holding one input field, which takes the keyboard whenever the window does.
LRESULT CALLBACK DeskChildProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_MDIACTIVATE) {
        ++s_nActivations;
        if (s_bClingy && reinterpret_cast<HWND>(wParam) == hWnd)
            SendMessageA(GetParent(hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hWnd), 0);
    }
    if (uMsg == WM_CREATE)
        CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 120, 24, hWnd,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ID_FIELD)), nullptr, nullptr);
    if (uMsg == WM_SETFOCUS) {
        SetFocus(GetDlgItem(hWnd, ID_FIELD));
        return 0;
    }
    return DefMDIChildProcA(hWnd, uMsg, wParam, lParam);
}

struct Desk {
    HWND hFrame = nullptr, hClient = nullptr, hInfo = nullptr, hTicket = nullptr;
    ~Desk()
    {
        DestroyWindow(hFrame);
        PumpQt(20);
    }
    HWND Active() const { return reinterpret_cast<HWND>(SendMessageA(hClient, WM_MDIGETACTIVE, 0, 0)); }
    HWND Top() const { return GetWindow(hClient, GW_CHILD); }
    // The window on top, when it is the active one and the display shows it on top and active.
    HWND Shown() const
    {
        HWND hShownTop = nullptr, hShownActive = nullptr;
        TbQtMdiShown(hClient, &hShownTop, &hShownActive);
        return hShownTop == Top() && hShownActive == Top() && Active() == Top() ? Top() : nullptr;
    }
    // A window's place in the client, as the layer has it and as the display shows it.
    std::string Place(HWND hWnd) const
    {
        RECT rc, rcShown;
        GetWindowRect(hWnd, &rc);
        TbQtGetSurfaceGeometry(hWnd, &rcShown);
        MapWindowPoints(nullptr, hClient, reinterpret_cast<POINT*>(&rc), 2);
        MapWindowPoints(nullptr, hClient, reinterpret_cast<POINT*>(&rcShown), 2);
        auto text = [](const RECT& r) {
            return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) +
                   "x" + std::to_string(r.bottom - r.top);
        };
        const std::string str = text(rc);
        return str == text(rcShown) ? str : str + " shown at " + text(rcShown);
    }
    std::string Filled() const
    {
        RECT rc;
        GetClientRect(hClient, &rc);
        return "0,0 " + std::to_string(rc.right) + "x" + std::to_string(rc.bottom);
    }
    std::string Typed(HWND hWnd) const
    {
        char sz[64] = {};
        GetWindowTextA(GetDlgItem(hWnd, ID_FIELD), sz, sizeof sz);
        return sz;
    }
    // The maximised window's buttons on the frame's menu bar, by their commands.
    std::map<uint, QToolButton*> BarButtons() const
    {
        std::map<uint, QToolButton*> buttons;
        QMenuBar* pBar = TbQtWidgetOf(hFrame)->findChild<QMenuBar*>();
        if (QWidget* pCorner = pBar ? pBar->cornerWidget(Qt::TopRightCorner) : nullptr)
            for (QToolButton* pButton : pCorner->findChildren<QToolButton*>())
                if (pButton->isVisible())
                    buttons[pButton->property("tbCommand").toUInt()] = pButton;
        return buttons;
    }
};

void MakeDesk(Desk* pDesk)
{
    static bool s_bRegistered = false;
    if (!s_bRegistered) {
        WNDCLASSA wc = {0, DeskFrameProc, 0, sizeof(LONG_PTR), nullptr, nullptr, nullptr,
                        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)), nullptr, "TbDeskFrame"};
        RegisterClassA(&wc);
        WNDCLASSA wcChild = {0, DeskChildProc, 0, 0, nullptr, nullptr, nullptr,
                             reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)), nullptr, "TbDeskChild"};
        RegisterClassA(&wcChild);
        s_bRegistered = true;
    }
    TbInitQtPlatform(nullptr, nullptr);
    HMENU hWindowMenu = CreatePopupMenu();
    AppendMenuA(hWindowMenu, MF_STRING, 100, "&Cascade");
    HMENU hBar = CreateMenu();
    AppendMenuA(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hWindowMenu), "&Window");
    pDesk->hFrame = CreateWindowExA(0, "TbDeskFrame", "Desk", WS_OVERLAPPEDWINDOW, 40, 40, 640, 420, nullptr, hBar,
                                    nullptr, nullptr);
    CLIENTCREATESTRUCT ccs = {hWindowMenu, 0xFF00};
    RECT rc;
    GetClientRect(pDesk->hFrame, &rc);
    const DWORD dwClient = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL;
    pDesk->hClient = CreateWindowExA(0, "MDICLIENT", nullptr, dwClient, 0, 0, rc.right, rc.bottom, pDesk->hFrame, nullptr,
                                     nullptr, &ccs);
    SetWindowLongPtrA(pDesk->hFrame, 0, reinterpret_cast<LONG_PTR>(pDesk->hClient));
    ShowWindow(pDesk->hFrame, SW_SHOW);
    MDICREATESTRUCTA info = {"TbDeskChild", "Information", nullptr, 20, 30, 300, 180, WS_VISIBLE, 0};
    pDesk->hInfo = reinterpret_cast<HWND>(SendMessageA(pDesk->hClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&info)));
    MDICREATESTRUCTA ticket = {"TbDeskChild", "Ticket", nullptr, 160, 110, 300, 180, WS_VISIBLE, 0};
    pDesk->hTicket = reinterpret_cast<HWND>(SendMessageA(pDesk->hClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&ticket)));
    PumpQt(50);
}

void ClickAt(HWND hWnd, int x, int y)
{
    QTest::mouseClick(TbQtWidgetOf(hWnd), Qt::LeftButton, {}, QPoint(x, y));
    PumpQt(30);
}

// Keys typed on the frame, taken through a loop that gives the MDI keys their meaning first.
void Type(const Desk& d, const char* pszKeys, Qt::Key key = Qt::Key_unknown)
{
    QWidget* pFrame = TbQtWidgetOf(d.hFrame);
    if (key != Qt::Key_unknown)
        QTest::keyClick(pFrame, key, Qt::ControlModifier);
    else
        QTest::keyClicks(pFrame, pszKeys);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!TranslateMDISysAccel(d.hClient, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    PumpQt(30);
}
}  // namespace

// The program brings the information window to the top over a maximised ticket: the window on
// top is the one the keys go to, so it is activated and takes the maximised place at once, and
// the ticket gets its own back.
TEST(QtDesktop, AWindowBroughtForwardOverAMaximisedOneTakesItsPlace)
{
    Desk d;
    MakeDesk(&d);
    ASSERT_TRUE(d.hInfo && d.hTicket);
    const std::string strInfo = d.Place(d.hInfo), strTicket = d.Place(d.hTicket);
    SendMessageA(d.hClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(d.hTicket), 0);
    PumpQt(50);
    ASSERT_EQ(d.Filled(), d.Place(d.hTicket));
    s_nActivations = 0;
    SetWindowPos(d.hInfo, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    PumpQt(300);
    EXPECT_EQ(2, s_nActivations) << "one to the window leaving, one to the window coming";
    EXPECT_EQ(d.hInfo, d.Active());
    EXPECT_EQ(d.Filled(), d.Place(d.hInfo));
    EXPECT_EQ(strTicket, d.Place(d.hTicket));
    EXPECT_EQ(1u, d.BarButtons().count(SC_RESTORE));
    SendMessageA(d.hClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(d.hInfo), 0);
    PumpQt(50);
    EXPECT_EQ(strInfo, d.Place(d.hInfo));
    // Windows that answer losing the activation by asking for it back: the activation asked
    // for ends, and the answers asked during it do not start others.
    s_bClingy = true;
    s_nActivations = 0;
    SendMessageA(d.hClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(d.hTicket), 0);
    s_bClingy = false;
    EXPECT_EQ(d.hTicket, d.Active());
    EXPECT_EQ(2, s_nActivations);
}

// A click into a window that is not active, or that another covers, activates it and brings it
// to the front, and the keys typed next go into it.
TEST(QtDesktop, AClickActivatesTheWindowUnderThePointerAndTheKeysFollow)
{
    Desk d;
    MakeDesk(&d);
    ASSERT_EQ(d.hTicket, d.Active());
    Type(d, "ab");
    ClickAt(d.hInfo, 200, 60);
    EXPECT_EQ(d.hInfo, d.Active());
    EXPECT_EQ(d.hInfo, d.Top());
    Type(d, "xy");
    EXPECT_EQ("xy", d.Typed(d.hInfo));
    EXPECT_EQ("ab", d.Typed(d.hTicket));
    // The information window raised over the active ticket takes the keys; a click on the
    // ticket's caption, where it shows, brings the ticket back over it, on the display too.
    ClickAt(d.hTicket, 200, 150);
    SetWindowPos(d.hInfo, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    PumpQt(30);
    EXPECT_EQ(d.hInfo, d.Shown());
    Type(d, "z");
    EXPECT_EQ("xyz", d.Typed(d.hInfo));
    QWidget* pTicketFrame = TbQtWidgetOf(d.hTicket)->parentWidget();
    QTest::mouseClick(pTicketFrame, Qt::LeftButton, {}, QPoint(pTicketFrame->width() * 3 / 4, TbQtWidgetOf(d.hTicket)->y() / 2));
    PumpQt(50);
    EXPECT_EQ(d.hTicket, d.Shown());
    Type(d, "c");
    EXPECT_EQ("abc", d.Typed(d.hTicket));
    // Qt activating the information window of its own accord (a control in it focused, as the
    // program does) is put back: the display shows the ticket active, which has the keys.
    auto* pInfoFrame = static_cast<QMdiSubWindow*>(TbQtWidgetOf(d.hInfo)->parentWidget());
    pInfoFrame->mdiArea()->setActiveSubWindow(pInfoFrame);
    PumpQt(50);
    EXPECT_EQ(d.hTicket, d.Shown());
}

// A click on an inactive window's caption, then one on its maximise button, the pointer brought
// there in one move: the button's first click maximises it.
TEST(QtDesktop, TheFirstClickOnATitleBarButtonAfterACaptionClickIsTaken)
{
    Desk d;
    MakeDesk(&d);
    QWidget* pFrame = TbQtWidgetOf(d.hInfo)->parentWidget();
    QStyleOptionTitleBar option;
    option.initFrom(pFrame);
    option.titleBarFlags = pFrame->windowFlags();
    option.rect = QRect(0, 0, pFrame->width(), TbQtWidgetOf(d.hInfo)->y());
    const QPoint pt = pFrame->style()->subControlRect(QStyle::CC_TitleBar, &option, QStyle::SC_TitleBarMaxButton, pFrame).center();
    QTest::mouseClick(pFrame, Qt::LeftButton, {}, QPoint(pFrame->width() / 3, pt.y()));
    QTest::mouseMove(pFrame, pt);
    QTest::mouseClick(pFrame, Qt::LeftButton, {}, pt);
    PumpQt(50);
    EXPECT_TRUE(IsZoomed(d.hInfo));
}

// Alt pressed for a menu of the display and let go inside it is let go for the program too:
// Ctrl+S typed next is the frame's accelerator, not Ctrl+Alt+S.
TEST(QtDesktop, AKeyLetGoInADisplaysMenuIsLetGoForTheProgram)
{
    Desk d;
    MakeDesk(&d);
    const UINT ID_SAVE = 200;
    ACCEL accel = {FVIRTKEY | FCONTROL, 'S', ID_SAVE};
    HACCEL hAccel = CreateAcceleratorTableA(&accel, 1);
    QWidget* pTicket = TbQtWidgetOf(d.hTicket);
    QTest::keyPress(pTicket, Qt::Key_Alt, Qt::AltModifier);
    QMenu menu;
    menu.addAction("&Save");
    menu.popup(QPoint(50, 50));
    QTest::keyRelease(&menu, Qt::Key_Alt);
    menu.close();
    s_uCommand = 0;
    QTest::keyClick(pTicket, Qt::Key_S, Qt::ControlModifier);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!TranslateAcceleratorA(d.hFrame, hAccel, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    EXPECT_EQ(ID_SAVE, s_uCommand);
    DestroyAcceleratorTable(hAccel);
}

// Each way back from maximised, in turn: the bar's restore button, its minimise button, the
// system menu's Restore, Ctrl+F5, and Window > Cascade, which leaves no window frameless.
TEST(QtDesktop, AMaximisedWindowComesBackEveryWayADesktopOffers)
{
    Desk d;
    MakeDesk(&d);
    const std::string strTicket = d.Place(d.hTicket);
    auto maximise = [&] {
        SendMessageA(d.hClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(d.hTicket), 0);
        PumpQt(50);
        return d.Place(d.hTicket) == d.Filled() && d.BarButtons().size() == 3;
    };
    ASSERT_TRUE(maximise());
    QTest::mouseClick(d.BarButtons()[SC_RESTORE], Qt::LeftButton);
    PumpQt(50);
    EXPECT_EQ(strTicket, d.Place(d.hTicket)) << "the restore button";
    EXPECT_TRUE(d.BarButtons().empty());

    ASSERT_TRUE(maximise());
    QTest::mouseClick(d.BarButtons()[SC_MINIMIZE], Qt::LeftButton);
    PumpQt(50);
    EXPECT_TRUE(IsIconic(d.hTicket)) << "the minimise button";
    EXPECT_TRUE(d.BarButtons().empty());
    SendMessageA(d.hClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(d.hTicket), 0);
    SendMessageA(d.hClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(d.hTicket), 0);
    PumpQt(50);
    EXPECT_EQ(strTicket, d.Place(d.hTicket));

    ASSERT_TRUE(maximise());
    TbDisplayMenuDone(d.hFrame, SC_RESTORE);        // Restore chosen in the system menu on the bar
    PumpQt(50);
    EXPECT_EQ(strTicket, d.Place(d.hTicket)) << "the system menu";

    ASSERT_TRUE(maximise());
    Type(d, "", Qt::Key_F5);
    EXPECT_EQ(strTicket, d.Place(d.hTicket)) << "Ctrl+F5";

    // Maximised by the user on its own title bar (what its maximise button and a double click
    // there do), and back by the bar's button.
    TbQtWidgetOf(d.hTicket)->parentWidget()->showMaximized();
    PumpQt(50);
    ASSERT_EQ(d.Filled(), d.Place(d.hTicket)) << "maximised from its title bar";
    ASSERT_EQ(1u, d.BarButtons().count(SC_RESTORE));
    QTest::mouseClick(d.BarButtons()[SC_RESTORE], Qt::LeftButton);
    PumpQt(300);
    EXPECT_EQ(strTicket, d.Place(d.hTicket)) << "the restore button after the title bar's maximise";
    EXPECT_TRUE(d.BarButtons().empty());

    ASSERT_TRUE(maximise());
    ShowWindow(d.hInfo, SW_SHOWMAXIMIZED);      // the program's own maximise of another window
    SendMessageA(d.hClient, WM_MDICASCADE, 0, 0);
    PumpQt(50);
    for (HWND h : {d.hInfo, d.hTicket}) {
        EXPECT_FALSE(IsZoomed(h));
        EXPECT_NE(d.Filled(), d.Place(h)) << "framed and cascaded";
    }
    EXPECT_TRUE(d.BarButtons().empty());
}

// Every way a document window is minimised: a show command on a shown or a hidden window, a
// window made minimised or placed minimised (as a saved workspace brings it), the system
// command (the Window menu's), the title bar's button. Its icon offers restore, maximise and
// close, never minimise; restore brings it back whole where it stood, maximise fills the client
// with the window's buttons and title on the frame's menu bar, and close closes it.
TEST(QtDesktop, AMinimisedWindowsIconButtonsDoWhatTheyShowHoweverItWasMinimised)
{
    Desk d;
    MakeDesk(&d);
    const MDICREATESTRUCTA info = {"TbDeskChild", "Information", nullptr, 40, 50, 300, 180, 0, 0};
    auto make = [&](DWORD dwStyle) {
        MDICREATESTRUCTA create = info;
        create.style = dwStyle;
        return reinterpret_cast<HWND>(SendMessageA(d.hClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    };
    struct Way {
        std::string strName;
        std::function<HWND()> minimise;
    };
    std::vector<Way> ways;
    for (int nCmdShow = SW_HIDE; nCmdShow <= SW_MAX; ++nCmdShow)
        for (DWORD dwShown : {DWORD(WS_VISIBLE), DWORD(0)})
            ways.push_back({"show command " + std::to_string(nCmdShow) + (dwShown ? " on a shown window" : " on a hidden one"),
                            [&, nCmdShow, dwShown] {
                                HWND h = make(dwShown);
                                ShowWindow(h, nCmdShow);
                                return h;
                            }});
    ways.push_back({"made minimised", [&] { return make(WS_VISIBLE | WS_MINIMIZE); }});
    ways.push_back({"placed minimised", [&] {
                        HWND h = make(0);
                        WINDOWPLACEMENT place = {sizeof place, 0, SW_SHOWMINIMIZED, {}, {}, {40, 50, 340, 230}};
                        SetWindowPlacement(h, &place);
                        return h;
                    }});
    ways.push_back({"system command", [&] {
                        HWND h = make(WS_VISIBLE);
                        SendMessageA(h, WM_SYSCOMMAND, SC_MINIMIZE, 0);
                        return h;
                    }});
    ways.push_back({"title bar", [&] {
                        HWND h = make(WS_VISIBLE);
                        PumpQt(20);
                        EXPECT_TRUE(TbQtClickTitleButton(h, SC_MINIMIZE));
                        return h;
                    }});
    int nMinimised = 0;
    for (const Way& way : ways) {
        SCOPED_TRACE(way.strName);
        HWND h = way.minimise();
        PumpQt(20);
        if (!IsIconic(h)) {
            DestroyWindow(h);
            continue;
        }
        ++nMinimised;
        if (nMinimised == 1)
            TbQtWidgetOf(d.hFrame)->grab().save(QString::fromStdString(ScreenshotPath("mdi_minimised_by_the_program")), "PNG");
        EXPECT_FALSE(TbQtClickTitleButton(h, SC_MINIMIZE)) << "the icon offers minimise";
        EXPECT_TRUE(TbQtClickTitleButton(h, SC_RESTORE)) << "the icon offers no restore";
        PumpQt(20);
        EXPECT_FALSE(IsIconic(h));
        EXPECT_TRUE(TbQtMdiChildShownWhole(h));
        EXPECT_EQ("40,50 300x180", d.Place(h));
        // Maximise from the icon: it fills the client, its buttons and title on the frame's bar.
        ShowWindow(h, SW_MINIMIZE);
        PumpQt(20);
        EXPECT_TRUE(TbQtClickTitleButton(h, SC_MAXIMIZE)) << "the icon offers no maximise";
        PumpQt(20);
        EXPECT_TRUE(IsZoomed(h) && !IsIconic(h));
        EXPECT_TRUE(TbQtMdiChildShownWhole(h));
        EXPECT_EQ(d.Filled(), d.Place(h));
        EXPECT_EQ(3u, d.BarButtons().size()) << "the maximised window's buttons on the menu bar";
        char szTitle[128] = {};
        GetWindowTextA(d.hFrame, szTitle, sizeof szTitle);
        EXPECT_NE(nullptr, strstr(szTitle, "[Information]")) << szTitle;
        SendMessageA(d.hClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(h), 0);
        PumpQt(20);
        EXPECT_EQ("40,50 300x180", d.Place(h)) << "restored from the maximised icon";
        ShowWindow(h, SW_MINIMIZE);
        PumpQt(20);
        EXPECT_TRUE(TbQtClickTitleButton(h, SC_CLOSE));
        PumpQt(20);
        EXPECT_FALSE(IsWindow(h) && IsWindowVisible(h)) << "the icon's close";
        if (IsWindow(h))
            DestroyWindow(h);
    }
    EXPECT_GT(nMinimised, 4);
}

// A form's window is sized to its form before it first shows (as the order ticket is): it shows
// at the last size it was given, frame and all inside the client. Moved past the client's edge,
// it is within reach still: the client scrolls to show it whole.
TEST(QtDesktop, AWindowSizedWhileHiddenShowsAtItsLastSize)
{
    Desk d;
    MakeDesk(&d);
    MDICREATESTRUCTA form = {"TbDeskChild", "Order Ticket", nullptr, 10, 10, 500, 500, 0, 0};
    HWND hForm = reinterpret_cast<HWND>(SendMessageA(d.hClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&form)));
    ASSERT_NE(nullptr, hForm);
    for (const SIZE& size : {SIZE{320, 200}, SIZE{310, 150}})
        SetWindowPos(hForm, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(hForm, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hForm, SW_SHOW);
    PumpQt(50);
    EXPECT_EQ("20,20 310x150", d.Place(hForm));
    RECT rc;
    GetClientRect(d.hClient, &rc);
    SetWindowPos(hForm, nullptr, rc.right - 100, rc.bottom - 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpQt(50);
    auto* pArea = TbQtWidgetOf(d.hClient)->findChild<QMdiArea*>();
    for (QScrollBar* pBar : {pArea->horizontalScrollBar(), pArea->verticalScrollBar()}) {
        EXPECT_TRUE(pBar->isVisible()) << "no scroll bar to reach it by";
        pBar->setValue(pBar->maximum());
    }
    PumpQt(50);
    GetWindowRect(hForm, &rc);
    MapWindowPoints(nullptr, d.hClient, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_TRUE(rc.right <= pArea->viewport()->width() && rc.bottom <= pArea->viewport()->height())
        << d.Place(hForm);
}

// A web page joining a shown window makes Qt build the window's native window anew (the page
// needs another kind of surface; headless Qt has none, so the test builds it anew itself). The
// maximised main window stays maximised across the screen, and restores to its own place.
TEST(QtDesktop, AMaximisedFrameStaysMaximisedWhenItsNativeWindowIsBuiltAnew)
{
    Desk d;
    MakeDesk(&d);
    auto place = [&] {
        RECT rc;
        GetWindowRect(d.hFrame, &rc);
        const bool bAcross = rc.right - rc.left >= GetSystemMetrics(SM_CXSCREEN) - 8;    // a frame's border may stay off
        return std::to_string(rc.left) + "," + std::to_string(rc.top) + " " + std::to_string(rc.right - rc.left) + "x" +
               std::to_string(rc.bottom - rc.top) + (IsZoomed(d.hFrame) ? " maximised" : "") + (bAcross ? " across" : "");
    };
    const std::string strNormal = place();
    ShowWindow(d.hFrame, SW_SHOWMAXIMIZED);
    PumpQt(300);
    ASSERT_NE(std::string::npos, place().find(" maximised across"));
    QWidget* pFrame = TbQtWidgetOf(d.hFrame);
    const WId idOld = pFrame->winId();
    struct Rebuild : QWidget {      // reaches QWidget's own protected members, no more
        static void Run(QWidget* p) { (p->*&Rebuild::destroy)(true, false), (p->*&Rebuild::create)(0, true, true); }
    };
    Rebuild::Run(pFrame);
    PumpQt(300);
    ASSERT_NE(idOld, pFrame->winId());
    EXPECT_NE(std::string::npos, place().find(" maximised across")) << place();
    EXPECT_TRUE(pFrame->windowHandle()->windowStates() & Qt::WindowMaximized) << "the window the window manager is given";
    ShowWindow(d.hFrame, SW_RESTORE);
    PumpQt(300);
    EXPECT_EQ(strNormal, place());
}

// On a display: the frame restored and maximised again by the desktop, as its title bar's
// buttons do, stays maximised with its title bar in view.
TEST(QtDesktop, DISABLED_AFrameTheDesktopMaximises)
{
    if (!OnDisplayUnderTest())
        GTEST_SKIP() << "runs on the display AFrameTheDesktopMaximisesKeepsItsTitleBar starts";
    Desk d;
    MakeDesk(&d);
    QWidget* pFrame = TbQtWidgetOf(d.hFrame);
    PumpQt(500);
    for (const bool bMaximised : {true, false, true}) {
        // The window manager's maximise button, second from the title bar's end.
        const QRect rc = pFrame->frameGeometry();
        RunOnDisplay({"xdotool", "mousemove", std::to_string(rc.right() - 25), std::to_string(rc.top() + 8), "click", "1"});
        for (int n = 0; n < 40 && ((pFrame->windowState() & Qt::WindowMaximized) != 0) != bMaximised; ++n)
            PumpQt(50);
        PumpQt(500);
    }
    EXPECT_TRUE(IsZoomed(d.hFrame));
    EXPECT_TRUE(pFrame->windowState() & Qt::WindowMaximized) << "the desktop's maximise undone";
    EXPECT_GE(pFrame->frameGeometry().top(), 0) << "the title bar above the screen";
    EXPECT_GT(pFrame->geometry().top(), pFrame->frameGeometry().top()) << "no title bar";
}

TEST(QtDesktop, AFrameTheDesktopMaximisesKeepsItsTitleBar)
{
    RunCaseOnDisplay("QtDesktop.DISABLED_AFrameTheDesktopMaximises", 30000);
}

namespace {
INT_PTR CALLBACK QuietProc(HWND, UINT uMsg, WPARAM, LPARAM)
{
    return uMsg == WM_INITDIALOG;
}

// Where a window shows and which buttons its frame offers, as one line for a failure to name.
std::string Shown(const QWidget* pWidget, const QWidget* pOver)
{
    const QRect rc = pWidget->frameGeometry();
    const QPoint ptGap = rc.center() - pOver->frameGeometry().center();
    const Qt::WindowFlags flags = pWidget->windowFlags();
    const QWindow* pShown = pWidget->windowHandle();
    // Without its buttons named, a window manager gives a window whichever buttons it likes.
    const bool bMinMax = !(flags & Qt::CustomizeWindowHint) ||
                         (flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    return std::string((flags & Qt::WindowType_Mask) == Qt::Dialog ? "dialog" : "window") +
           (bMinMax ? " that may minimise" : "") +
           ((pShown && pShown->transientParent() == pOver->windowHandle()) ? " of the frame" : " alone") +
           ((std::abs(ptGap.x()) <= 2 && std::abs(ptGap.y()) <= 2) ? " centred" : " off centre");
}

std::string s_strBox;
QWidget* s_pFrame = nullptr;
}  // namespace

// A dialog whose template names no place (as Print and Page Setup) and a message box, neither
// with an owner: each a dialog of the active frame, without minimise or maximise, over the
// frame's middle (an owned dialog's place is QtDialog's).
TEST(QtDesktop, DialogsAndMessageBoxesOpenCentredOverTheWindowTheUserWorksIn)
{
    HWND hFrame = CreateQtWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 150, 600, 400);
    SetActiveWindow(hFrame);
    PumpQt(30);
    QWidget* pFrame = s_pFrame = TbQtWidgetOf(hFrame);
    TBDLGTEMPLATE tpl;
    tpl.dwStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    tpl.cx = 200, tpl.cy = 120;
    tpl.strCaption = "Print";
    HWND hDlg = CreateDialogIndirectParamA(nullptr, &tpl, nullptr, QuietProc, 0);
    ASSERT_NE(nullptr, hDlg);
    ShowWindow(hDlg, SW_SHOW);
    PumpQt(30);
    EXPECT_EQ("dialog of the frame centred", Shown(TbQtWidgetOf(hDlg), pFrame));
    DestroyWindow(hDlg);
    s_strBox.clear();
    SetTimer(nullptr, 0, 40, [](HWND, UINT, UINT_PTR nId, DWORD) {
        for (QWidget* pWidget : QApplication::topLevelWidgets())
            if (auto* pBox = qobject_cast<QMessageBox*>(pWidget); pBox && pBox->isVisible()) {
                KillTimer(nullptr, nId);
                s_strBox = Shown(pBox, s_pFrame);
                pBox->buttons().front()->click();
            }
    });
    MessageBoxA(nullptr, "Order refused", "Terminal", MB_OK);
    EXPECT_EQ("dialog of the frame centred", s_strBox);
    DestroyWindow(hFrame);
    PumpQt(20);
}

// Minimised windows stand in one row along the client's bottom from the reading start: the left
// in a frame that reads left to right, the right in one that reads right to left; however each
// was minimised (the show commands that minimise, the title bar's button), and after the frame is
// resized.
TEST(QtDesktop, MinimisedWindowsStandInOneRowFromTheReadingStart)
{
    for (const bool bRtl : {false, true}) {
        SCOPED_TRACE(bRtl ? "right to left" : "left to right");
        Desk d;
        MakeDesk(&d);
        if (bRtl)
            SetWindowLongA(d.hFrame, GWL_EXSTYLE, GetWindowLongA(d.hFrame, GWL_EXSTYLE) | WS_EX_RTLREADING);
        std::vector<HWND> icons;
        auto make = [&] {
            MDICREATESTRUCTA create = {"TbDeskChild", "Quotes", nullptr, 60, 40, 200, 120, WS_VISIBLE, 0};
            return reinterpret_cast<HWND>(SendMessageA(d.hClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
        };
        for (int nCmdShow = SW_HIDE; nCmdShow <= SW_MAX; ++nCmdShow) {
            HWND h = make();
            ShowWindow(h, nCmdShow);
            PumpQt(20);
            if (IsIconic(h) && IsWindowVisible(h))
                icons.push_back(h);
            else
                DestroyWindow(h);
        }
        HWND hClicked = make();
        PumpQt(20);
        ASSERT_TRUE(TbQtClickTitleButton(hClicked, SC_MINIMIZE));
        PumpQt(50);
        ASSERT_TRUE(IsIconic(hClicked));
        icons.push_back(hClicked);
        ASSERT_GE(icons.size(), 3u);
        for (const SIZE size : {SIZE{0, 0}, SIZE{900, 520}}) {
            SCOPED_TRACE(size.cx ? "resized" : "as made");
            if (size.cx) {
                SetWindowPos(d.hFrame, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
                PumpQt(100);
            }
            const QWidget* pArea = TbQtWidgetOf(d.hClient);
            std::vector<QRect> shown;
            for (HWND h : icons)
                shown.push_back(TbQtWidgetOf(h)->parentWidget()->geometry());
            std::sort(shown.begin(), shown.end(), [&](const QRect& a, const QRect& b) {
                return bRtl ? a.right() > b.right() : a.left() < b.left();
            });
            int nEdge = bRtl ? pArea->width() - 1 : 0;
            for (const QRect& rc : shown) {
                EXPECT_EQ(pArea->height() - 1, rc.bottom()) << "on the bottom row";
                EXPECT_EQ(nEdge, bRtl ? rc.right() : rc.left()) << "next to the one before";
                nEdge = bRtl ? rc.left() - 1 : rc.right() + 1;
            }
        }
        TbQtWidgetOf(d.hFrame)->grab().save(QString::fromStdString(ScreenshotPath(bRtl ? "mdi_icons_rtl" : "mdi_icons_ltr")), "PNG");
    }
}
