// Qt's events as the original's messages: keys with virtual-key codes and flags, characters,
// mouse buttons in client coordinates, the wheel, sizing and closing from the display; and the
// queue waiting inside Qt's loop.
#include <gtest/gtest.h>
#include <QtCore/QTimer>
#include <QtGui/QInputMethodEvent>
#include <QtTest/QTest>
#include <chrono>
#include <cstring>
#include <thread>
#include "QtTestSupport.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/Controls.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/Sound.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
struct QtInputTest : ::testing::Test {
    void SetUp() override
    {
        hTop = CreateQtWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
        hChild = CreateQtWindow(hTop, WS_CHILD | WS_VISIBLE, 20, 30, 100, 80, 5);
        ASSERT_NE(nullptr, TbQtWidgetOf(hChild));
        SetFocus(hChild);
        PumpQt(20);
        QtLog().clear();
    }
    void TearDown() override
    {
        DestroyWindow(hTop);
        PumpQt(10);
    }
    HWND hTop = nullptr;
    HWND hChild = nullptr;
};
}

TEST_F(QtInputTest, KeysArriveAsKeyMessagesWithVirtualKeysAndCharacters)
{
    QWidget* pWidget = TbQtWidgetOf(hChild);
    QTest::keyClick(pWidget, Qt::Key_A);
    QKeyEvent shiftA(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A"));
    QCoreApplication::sendEvent(pWidget, &shiftA);
    QTest::keyClick(pWidget, Qt::Key_Down);
    QTest::keyClick(pWidget, Qt::Key_Tab);                  // not taken by Qt's focus chain
    QTest::keyClick(pWidget, Qt::Key_F5);
    QTest::keyClick(pWidget, Qt::Key_F, Qt::AltModifier);
    QTest::keyClick(pWidget, Qt::Key_Return);
    PumpQt(30);
    std::vector<std::pair<UINT, WPARAM>> got;
    for (const auto& m : QtLog())
        if (m.hWnd == hChild && m.uMsg >= WM_KEYDOWN && m.uMsg <= WM_SYSCHAR && m.uMsg != WM_KEYUP && m.uMsg != WM_SYSKEYUP)
            got.emplace_back(m.uMsg, m.wParam);
    std::vector<std::pair<UINT, WPARAM>> expected = {
        {WM_KEYDOWN, 'A'}, {WM_CHAR, 'a'}, {WM_KEYDOWN, 'A'}, {WM_CHAR, 'A'}, {WM_KEYDOWN, VK_DOWN},
        {WM_KEYDOWN, VK_TAB}, {WM_CHAR, '\t'}, {WM_KEYDOWN, VK_F5}, {WM_SYSKEYDOWN, 'F'}, {WM_SYSCHAR, 'f'},
        {WM_KEYDOWN, VK_RETURN}, {WM_CHAR, '\r'}};
    // Shift and Alt themselves come as key messages too; leave them out of the comparison.
    std::vector<std::pair<UINT, WPARAM>> keys;
    for (const auto& k : got)
        if (k.second != VK_SHIFT && k.second != VK_MENU)
            keys.push_back(k);
    EXPECT_EQ(expected, keys);
    for (const auto& m : QtLog()) {
        if (m.uMsg == WM_KEYDOWN && m.wParam == VK_DOWN) {
            EXPECT_TRUE(HIWORD(m.lParam) & KF_EXTENDED);
            EXPECT_EQ(1, LOWORD(m.lParam));             // repeat count
        }
        if (m.uMsg == WM_KEYUP) {
            EXPECT_TRUE(HIWORD(m.lParam) & KF_UP);
        }
    }
}

// Offscreen there is no keyboard to ask: a modifier held is the one Qt delivered last.
TEST_F(QtInputTest, AsyncKeyStateOffscreenIsTheDeliveredKeys)
{
    QWidget* pWidget = TbQtWidgetOf(hChild);
    QTest::keyPress(pWidget, Qt::Key_Control);
    EXPECT_NE(0, GetAsyncKeyState(VK_CONTROL) & 0x8000);
    QTest::keyRelease(pWidget, Qt::Key_Control);
    EXPECT_EQ(0, GetAsyncKeyState(VK_CONTROL) & 0x8000);
    PumpQt(10);
}

TEST_F(QtInputTest, ArabicTextArrivesInTheActiveCodePage)
{
    UINT uOld = GetACP();
    ASSERT_TRUE(TbSetActiveCodePage(1256));
    QWidget* pWidget = TbQtWidgetOf(hChild);
    // Arabic letter sheen (U+0634) is 0xD4 in code page 1256.
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, 46, 0, 0, QString(QChar(0x0634)));
    QCoreApplication::sendEvent(pWidget, &press);
    PumpQt(20);
    TbSetActiveCodePage(uOld);
    auto chars = MessagesOf(WM_CHAR);
    ASSERT_EQ(1u, chars.size());
    EXPECT_EQ(0xD4u, chars[0].wParam);
    auto downs = MessagesOf(WM_KEYDOWN);
    ASSERT_EQ(1u, downs.size());
    EXPECT_EQ(static_cast<WPARAM>('L'), downs[0].wParam);     // the physical key, as the original reports
}

// Neither page holds the Arabic keyboards' digits: they arrive as the digits they are, in both
// pages, while a character a page lacks is still refused with a beep rather than sent as '?'.
TEST_F(QtInputTest, ArabicIndicDigitsArriveAsDigitsInEitherPage)
{
    const UINT uOld = GetACP();
    QWidget* pWidget = TbQtWidgetOf(hChild);
    for (UINT uPage : {1256u, 1252u}) {
        ASSERT_TRUE(TbSetActiveCodePage(uPage));
        QtLog().clear();
        for (int nDigit = 0; nDigit < 10; ++nDigit)
            for (char16_t chFirst : {u'\u0660', u'\u06F0'}) {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + nDigit, Qt::NoModifier, 11 + nDigit, 0, 0,
                                QString(QChar(chFirst + nDigit)));
                QCoreApplication::sendEvent(pWidget, &press);
            }
        const int nBeeps = static_cast<int>(TbGetBeepCount());
        QKeyEvent zhe(QEvent::KeyPress, 0, Qt::NoModifier, 40, 0, 0, QString(QChar(0x0416)));    // in neither page
        QCoreApplication::sendEvent(pWidget, &zhe);
        PumpQt(20);
        std::string strChars;
        for (const auto& m : MessagesOf(WM_CHAR))
            strChars += static_cast<char>(m.wParam);
        EXPECT_EQ("00112233445566778899", strChars) << "page " << uPage;
        EXPECT_EQ(nBeeps + 1, static_cast<int>(TbGetBeepCount())) << "page " << uPage;
    }
    TbSetActiveCodePage(uOld);
}

// The Arabic decimal and thousands separators are the page's '.' and ','; a character on a key
// Qt names by the character itself (no key of its own here: another layout's, or one the window
// system made up) still arrives, on VK_PACKET, in either page.
TEST_F(QtInputTest, ArabicSeparatorsAndCharactersWithoutAKeyOfTheirOwnArrive)
{
    const UINT uOld = GetACP();
    QWidget* pWidget = TbQtWidgetOf(hChild);
    for (UINT uPage : {1256u, 1252u}) {
        ASSERT_TRUE(TbSetActiveCodePage(uPage));
        QtLog().clear();
        const int nBeeps = static_cast<int>(TbGetBeepCount());
        for (char16_t ch : {u'\u0667', u'\u066B', u'\u06F1', u'\u066C', u'5'}) {
            QKeyEvent press(QEvent::KeyPress, ch, Qt::NoModifier, 0, 0, 0, QString(QChar(ch)));
            QCoreApplication::sendEvent(pWidget, &press);
            QKeyEvent release(QEvent::KeyRelease, ch, Qt::NoModifier, 0, 0, 0, QString(QChar(ch)));
            QCoreApplication::sendEvent(pWidget, &release);
        }
        // AltGr+K of the Arabic keyboard.
        QKeyEvent altGrK(QEvent::KeyPress, 0x066B, Qt::GroupSwitchModifier, 45, 0, 0, QString(QChar(0x066B)));
        QCoreApplication::sendEvent(pWidget, &altGrK);
        PumpQt(20);
        std::string strChars;
        for (const auto& m : MessagesOf(WM_CHAR))
            strChars += static_cast<char>(m.wParam);
        EXPECT_EQ("7.1,5.", strChars) << "page " << uPage;
        EXPECT_EQ(nBeeps, static_cast<int>(TbGetBeepCount())) << "page " << uPage;
        std::vector<WPARAM> downs;
        for (const auto& m : MessagesOf(WM_KEYDOWN))
            downs.push_back(m.wParam);
        EXPECT_EQ((std::vector<WPARAM>{VK_PACKET, VK_PACKET, VK_PACKET, VK_PACKET, '5', 'K'}), downs) << "page " << uPage;
        EXPECT_EQ(0, GetAsyncKeyState(VK_PACKET) & 0x8000) << "the keys went up";
    }
    TbSetActiveCodePage(uOld);
}

// Keys pile up while the program is busy: each keeps its own character however many wait, an
// Arabic letter on its physical key and a digit on a key named by its character alike.
TEST_F(QtInputTest, EveryWaitingKeyKeepsItsCharacter)
{
    const UINT uOld = GetACP();
    ASSERT_TRUE(TbSetActiveCodePage(1256));
    QWidget* pWidget = TbQtWidgetOf(hChild);
    std::string strSent;
    for (int i = 0; i < 150; ++i) {
        const bool bLetter = i % 3 == 0;
        const char16_t ch = bLetter ? u'\u0634' : static_cast<char16_t>(u'\u0660' + i % 10);
        QKeyEvent press(QEvent::KeyPress, bLetter ? 0 : ch, Qt::NoModifier, bLetter ? 46 : 0, 0, 0, QString(QChar(ch)));
        QCoreApplication::sendEvent(pWidget, &press);
        strSent += bLetter ? '\xD4' : static_cast<char>('0' + i % 10);
    }
    PumpQt(50);
    TbSetActiveCodePage(uOld);
    std::string strChars;
    for (const auto& m : MessagesOf(WM_CHAR))
        strChars += static_cast<char>(m.wParam);
    EXPECT_EQ(strSent, strChars);
}

// Input keeps its order whatever path a key takes: characters typed at once after a click (with a
// key code, without one, committed by an input method, pasted with Ctrl+V) land in the field the
// click put the keys in, also when the click first closed another field's open list; never in the
// field the keys were in before it, even when the click is the second press of a double click.
TEST_F(QtInputTest, KeysTypedRightAfterAClickLandInTheFieldClicked)
{
    const UINT uOld = GetACP();
    ASSERT_TRUE(TbSetActiveCodePage(1256));
    const HWND hTicker = CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 130, 5, 120, 120,
                                         hTop, reinterpret_cast<HMENU>(11), nullptr, nullptr);
    const HWND hQuantity = CreateWindowExA(0, "Edit", "1,500", WS_CHILD | WS_VISIBLE, 130, 30, 120, 20, hTop,
                                           reinterpret_cast<HMENU>(12), nullptr, nullptr);
    const HWND hLimit = CreateWindowExA(0, "Edit", "842", WS_CHILD | WS_VISIBLE, 130, 150, 120, 20, hTop,
                                        reinterpret_cast<HMENU>(13), nullptr, nullptr);
    SendMessageA(hTicker, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("ALPN/Alpine"));
    const auto Text = [](HWND hWnd) {
        char sz[64] = "";
        GetWindowTextA(hWnd, sz, sizeof sz);
        return std::string(sz);
    };
    // A click on the limit at its left, and the Arabic keys after it in the same turn: digits
    // without a key code, the decimal separator on AltGr+K, a digit committed by an input method,
    // and a paste.
    const auto ClickAndType = [&](HWND hClicked) {
        QWidget* pClicked = TbQtWidgetOf(hClicked);
        QTest::mousePress(pClicked, Qt::LeftButton, Qt::NoModifier, QPoint(2, 5));
        QTest::mouseRelease(pClicked, Qt::LeftButton, Qt::NoModifier, QPoint(2, 5));
        QWidget* pKeys = TbQtWidgetOf(hTop);
        for (char16_t ch : {u'\u0668', u'\u0664', u'\u0666'}) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, 0, 0, 0, QString(QChar(ch)));
            QCoreApplication::sendEvent(pKeys, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, 0, 0, 0, QString(QChar(ch)));
            QCoreApplication::sendEvent(pKeys, &release);
        }
        QKeyEvent altGrK(QEvent::KeyPress, 0x066B, Qt::GroupSwitchModifier, 45, 0, 0, QString(QChar(0x066B)));
        QCoreApplication::sendEvent(pKeys, &altGrK);
        QInputMethodEvent commit;
        commit.setCommitString(QString(QChar(0x0660)));
        QCoreApplication::sendEvent(pKeys, &commit);
        QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, 55, 0, 0, QString(QChar(0x16)));
        QCoreApplication::sendEvent(pKeys, &paste);
        QKeyEvent pasteUp(QEvent::KeyRelease, Qt::Key_V, Qt::ControlModifier, 55, 0, 0, QString(QChar(0x16)));
        QCoreApplication::sendEvent(pKeys, &pasteUp);
        QTest::keyRelease(pKeys, Qt::Key_Control);
        PumpQt(40);
    };
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const HGLOBAL hText = GlobalAlloc(GMEM_MOVEABLE, 2);
    memcpy(GlobalLock(hText), "5", 2);
    GlobalUnlock(hText);
    SetClipboardData(CF_TEXT, hText);
    CloseClipboard();

    // The keys in the quantity, its caret at the end.
    SetFocus(hQuantity);
    SendMessageA(hQuantity, EM_SETSEL, 5, 5);
    PumpQt(10);
    ClickAndType(hLimit);
    EXPECT_EQ(hLimit, GetFocus());
    EXPECT_EQ("1,500", Text(hQuantity));
    EXPECT_EQ("846.05842", Text(hLimit));

    // The ticker's list open over the quantity: the click on the limit closes it and lands there.
    SetWindowTextA(hLimit, "");
    SetFocus(hTicker);
    SendMessageA(hTicker, CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(SendMessageA(hTicker, CB_GETDROPPEDSTATE, 0, 0));
    const std::string strTicker = Text(hTicker);
    ClickAndType(hLimit);
    EXPECT_FALSE(SendMessageA(hTicker, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(0, GetAsyncKeyState(VK_LBUTTON) & 0x8000);       // the click is over: the button is up
    EXPECT_EQ(hLimit, GetFocus());
    EXPECT_EQ(strTicker, Text(hTicker));
    EXPECT_EQ("846.05", Text(hLimit));

    // The keys moved to the quantity, the limit clicked again at once: the second press of a
    // double click gives the keys back to the limit.
    SetWindowTextA(hLimit, "");
    SetFocus(hQuantity);
    ClickAndType(hLimit);
    EXPECT_EQ(hLimit, GetFocus());
    EXPECT_EQ("1,500", Text(hQuantity));
    EXPECT_EQ("846.05", Text(hLimit));
    TbSetActiveCodePage(uOld);
}

TEST_F(QtInputTest, MouseButtonsAndWheelArriveInClientCoordinates)
{
    QWidget* pWidget = TbQtWidgetOf(hChild);
    QTest::mouseClick(pWidget, Qt::LeftButton, Qt::ShiftModifier, QPoint(7, 9));
    QTest::mouseClick(pWidget, Qt::LeftButton, Qt::NoModifier, QPoint(8, 9));     // a second press: double click
    QPoint ptGlobal = pWidget->mapToGlobal(QPoint(3, 4));
    QWheelEvent wheel(QPointF(3, 4), QPointF(ptGlobal), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(pWidget, &wheel);
    PumpQt(30);
    auto downs = MessagesOf(WM_LBUTTONDOWN);
    ASSERT_GE(downs.size(), 1u);
    EXPECT_EQ(hChild, downs[0].hWnd);
    EXPECT_EQ(7, GET_X_LPARAM(downs[0].lParam));
    EXPECT_EQ(9, GET_Y_LPARAM(downs[0].lParam));
    EXPECT_TRUE(downs[0].wParam & MK_LBUTTON);
    EXPECT_TRUE(downs[0].wParam & MK_SHIFT);
    EXPECT_EQ(1u, MessagesOf(WM_LBUTTONDBLCLK).size());        // the class asked for double clicks
    EXPECT_GE(MessagesOf(WM_LBUTTONUP).size(), 2u);
    EXPECT_GE(MessagesOf(WM_SETCURSOR).size(), 1u);
    auto wheels = MessagesOf(WM_MOUSEWHEEL);
    ASSERT_GE(wheels.size(), 1u);
    EXPECT_EQ(hChild, wheels[0].hWnd);                          // the wheel goes to the focus
    EXPECT_EQ(-120, GET_WHEEL_DELTA_WPARAM(wheels[0].wParam));

    // While captured, the pointer's messages go to the capture window.
    QtLog().clear();
    SetCapture(hTop);
    // Sent directly: QTest drops a move to where its last move left the pointer, which a
    // repeated run of this test would hit.
    QMouseEvent move(QEvent::MouseMove, QPointF(15, 16), QPointF(pWidget->mapToGlobal(QPoint(15, 16))), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(pWidget, &move);
    PumpQt(20);
    ReleaseCapture();
    auto moves = MessagesOf(WM_MOUSEMOVE);
    ASSERT_GE(moves.size(), 1u);
    EXPECT_EQ(hTop, moves.back().hWnd);
    EXPECT_EQ(20 + 15, GET_X_LPARAM(moves.back().lParam));
}

// A double click as the window system delivers it (the second press comes as Qt's double-click
// event only) is one press and one double click, as the class asked for.
TEST_F(QtInputTest, ADoubleClickFromTheWindowSystemIsADoubleClick)
{
    QWidget* pWidget = TbQtWidgetOf(hChild);
    QWindow* pWindow = pWidget->window()->windowHandle();
    ASSERT_NE(nullptr, pWindow);
    const QPoint pt = pWidget->mapTo(pWidget->window(), QPoint(7, 9));
    QTest::mouseDClick(pWindow, Qt::LeftButton, Qt::NoModifier, pt);
    PumpQt(30);
    const auto downs = MessagesOf(WM_LBUTTONDOWN);
    const auto doubles = MessagesOf(WM_LBUTTONDBLCLK);
    ASSERT_EQ(1u, doubles.size());
    EXPECT_EQ(hChild, doubles[0].hWnd);
    EXPECT_EQ(7, GET_X_LPARAM(doubles[0].lParam));
    EXPECT_EQ(9, GET_Y_LPARAM(doubles[0].lParam));
    EXPECT_EQ(1u, downs.size());
    EXPECT_EQ(2u, MessagesOf(WM_LBUTTONUP).size());
}

TEST_F(QtInputTest, TheDisplaySizesAndClosesThroughMessages)
{
    QWidget* pTopWidget = TbQtWidgetOf(hTop);
    pTopWidget->resize(320, 240);
    PumpQt(20);
    RECT rc;
    GetClientRect(hTop, &rc);
    EXPECT_EQ(320, rc.right);
    EXPECT_EQ(240, rc.bottom);
    auto sizes = MessagesOf(WM_SIZE);
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(320, LOWORD(sizes.back().lParam));

    MoveWindow(hTop, 50, 60, 200, 150, TRUE);                  // and the layer moves the widget
    EXPECT_EQ(QRect(50, 60, 200, 150), pTopWidget->geometry());

    pTopWidget->close();                                        // the close box: SC_CLOSE, WM_CLOSE, destroyed
    PumpQt(10);
    EXPECT_EQ(1u, MessagesOf(WM_CLOSE).size());
    EXPECT_FALSE(IsWindow(hTop));
}

TEST_F(QtInputTest, TheUsersSizingOfTheWidgetIsOneSizeMovePhase)
{
    MoveWindow(hTop, 50, 60, 200, 150, TRUE);                  // the program's: no phase
    PumpQt(TB_SIZEMOVE_QUIET_MS * 2);
    EXPECT_TRUE(MessagesOf(WM_ENTERSIZEMOVE).empty());
    QtLog().clear();
    QWidget* pTopWidget = TbQtWidgetOf(hTop);
    pTopWidget->resize(220, 160);
    PumpQt(20);
    pTopWidget->resize(240, 170);
    PumpQt(20);
    EXPECT_EQ(1u, MessagesOf(WM_ENTERSIZEMOVE).size());
    EXPECT_TRUE(MessagesOf(WM_EXITSIZEMOVE).empty());
    PumpQt(TB_SIZEMOVE_QUIET_MS * 2);
    ASSERT_EQ(1u, MessagesOf(WM_EXITSIZEMOVE).size());
    // The sizes came inside the phase.
    std::string strOrder;
    for (const LoggedMessage& m : QtLog())
        if (m.hWnd == hTop && (m.uMsg == WM_ENTERSIZEMOVE || m.uMsg == WM_EXITSIZEMOVE || m.uMsg == WM_SIZE))
            strOrder += m.uMsg == WM_SIZE ? "S" : m.uMsg == WM_ENTERSIZEMOVE ? "[" : "]";
    EXPECT_EQ("[SS]", strOrder);
}

TEST(QtLoop, GetMessageWaitsInQtsLoopAndWakesForPostsAndTimers)
{
    HWND hWnd = CreateQtWindow(nullptr, WS_OVERLAPPEDWINDOW, 0, 0, 50, 50);
    // What earlier tests left in the queue is not this test's wake-up.
    MSG stale;
    while (PeekMessageA(&stale, nullptr, 0, 0, PM_REMOVE)) {
    }
    QtLog().clear();
    // Qt's own timers run while the queue waits.
    bool bQtTimer = false;
    QTimer::singleShot(20, [&] { bQtTimer = true; });
    std::thread poster([hWnd] {
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        PostMessageA(hWnd, WM_USER + 7, 0, 0);
    });
    SetTimer(hWnd, 1, 5000, nullptr);
    auto start = std::chrono::steady_clock::now();
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    poster.join();
    EXPECT_EQ(static_cast<UINT>(WM_USER + 7), msg.message);
    EXPECT_TRUE(bQtTimer);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));

    SetTimer(hWnd, 1, 15, nullptr);
    PumpQt(100);
    EXPECT_GE(MessagesOf(WM_TIMER).size(), 3u);
    DestroyWindow(hWnd);
}
