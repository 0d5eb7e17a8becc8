// The display on Qt: surfaces, the event loop the queue waits in, the pointer and the beep.
#include <QtCore/QAbstractEventDispatcher>
#include <QtCore/QCoreApplication>
#include <QtCore/QSocketNotifier>
#include <QtCore/QTimer>
#include <QtGui/QCursor>
#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>
#include <QtGui/QWindow>
#include <QtWidgets/QApplication>
#include <atomic>
#include <map>
#include <vector>
#include "platform/qt/QtInternal.h"
#include "platform/qt/WindowWidget.h"
#include "platform/win/gdi/PixelBuffer.h"
#include "platform/win/user/Cursor.h"
#include "platform/win/user/VirtualKeys.h"
#include "platform/win/user/Window.h"

namespace {
int s_nHandlerDepth = 0;
std::vector<QPointer<QWidget>>& Buried()
{
    static std::vector<QPointer<QWidget>>* s_pBuried = new std::vector<QPointer<QWidget>>;
    return *s_pBuried;
}

const QEvent::Type s_wakeEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

const struct { int nIdc; Qt::CursorShape shape; } s_cursors[] = {
    {32512, Qt::ArrowCursor}, {32513, Qt::IBeamCursor}, {32514, Qt::WaitCursor}, {32515, Qt::CrossCursor},
    {32516, Qt::UpArrowCursor}, {32640, Qt::SizeAllCursor}, {32642, Qt::SizeFDiagCursor},
    {32643, Qt::SizeBDiagCursor}, {32644, Qt::SizeHorCursor}, {32645, Qt::SizeVerCursor},
    {32646, Qt::SizeAllCursor}, {32648, Qt::ForbiddenCursor}, {32649, Qt::PointingHandCursor},
    {32650, Qt::BusyCursor}, {32651, Qt::WhatsThisCursor},
};
}

CTbQtHandlerScope::CTbQtHandlerScope() { ++s_nHandlerDepth; }
CTbQtHandlerScope::~CTbQtHandlerScope() { --s_nHandlerDepth; }
int CTbQtHandlerScope::Depth() { return s_nHandlerDepth; }

void TbQtBury(QWidget* pWidget)
{
    if (pWidget)
        Buried().push_back(QPointer<QWidget>(pWidget));
}

void TbQtDeleteBuried()
{
    // Only from the loop itself: a widget whose handler is running must outlive the handler.
    if (s_nHandlerDepth > 0 || Buried().empty())
        return;
    std::vector<QPointer<QWidget>> buried;
    buried.swap(Buried());
    for (QPointer<QWidget>& p : buried)
        delete p.data();
}

namespace {
// A top-level window's frame as its styles ask: a dialog's frame for a modal frame, a title bar
// only with a caption, and no button the styles leave out.
Qt::WindowFlags TopLevelFlags(DWORD dwStyle, DWORD dwExStyle)
{
    if ((dwStyle & WS_POPUP) && (dwStyle & WS_CAPTION) != WS_CAPTION)
        return Qt::Window | Qt::FramelessWindowHint;
    Qt::WindowFlags flags = (dwExStyle & WS_EX_DLGMODALFRAME) ? Qt::Dialog : Qt::Window;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (dwStyle & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (dwStyle & WS_MINIMIZEBOX)
        flags |= Qt::WindowMinimizeButtonHint;
    if (dwStyle & WS_MAXIMIZEBOX)
        flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

class CQtDisplay : public ITbDisplay
{
public:
    CQtDisplay()
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [] {});
    }
    ITbSurface* CreateSurface(HWND hWnd, ITbSurface* pParent, DWORD dwStyle, DWORD dwExStyle) override
    {
        if (ITbSurface* pMdi = TbQtCreateMdiSurface(hWnd, pParent, dwStyle, dwExStyle))
            return pMdi;
        QWidget* pParentWidget = pParent ? static_cast<CTbQtSurface*>(pParent)->Widget() : nullptr;
        auto* pWidget = new CTbWindowWidget(hWnd, pParentWidget);
        if (!pParentWidget) {
            Qt::WindowFlags flags = TopLevelFlags(dwStyle, dwExStyle);
            if (dwExStyle & WS_EX_TOOLWINDOW)
                flags |= Qt::Tool;
            if (dwExStyle & WS_EX_TOPMOST)
                flags |= Qt::WindowStaysOnTopHint;
            // A tip or similar window must never take the activation from the window it explains.
            if (dwExStyle & WS_EX_NOACTIVATE) {
                flags |= Qt::WindowDoesNotAcceptFocus;
                pWidget->setAttribute(Qt::WA_ShowWithoutActivating);
            }
            pWidget->setWindowFlags(flags);
            pWidget->m_bFixedSize = !(flags & Qt::FramelessWindowHint) && !(dwStyle & WS_THICKFRAME);
            // An owned window is transient for its owner's window, so the window manager keeps it
            // above the owner and treats it as the owner's dialog rather than a window of its own.
            // A dialog made without an owner is the dialog of the window the user works in.
            HWND hOwner = GetWindow(hWnd, GW_OWNER);
            if (!hOwner && (dwExStyle & WS_EX_DLGMODALFRAME))
                hOwner = GetActiveWindow();
            if (QWidget* pOwner = TbQtWidgetOf(hOwner)) {
                pOwner->window()->winId();
                pWidget->winId();
                pWidget->windowHandle()->setTransientParent(pOwner->window()->windowHandle());
            }
        }
        return new CTbQtSurface(pWidget);
    }
    void Wait(int nTimeoutMs) override
    {
        TbQtDeleteBuried();
        if (m_bWakePending.exchange(false)) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            return;
        }
        if (nTimeoutMs >= 0)
            m_timer.start(nTimeoutMs);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        m_timer.stop();
        m_bWakePending.store(false);
    }
    void Wake() override
    {
        // One wake in flight is enough; posting is safe from any thread.
        if (!m_bWakePending.exchange(true))
            QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(s_wakeEvent));
    }
    void ProcessPending() override
    {
        TbQtDeleteBuried();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    void SetCursorShape(const TBCURSORSHAPE& shape) override
    {
        QCursor cursor(Qt::BlankCursor);
        if (shape.pImage && !shape.pImage->IsEmpty()) {
            QImage image(reinterpret_cast<const uchar*>(shape.pImage->Bits()), shape.pImage->Width(),
                         shape.pImage->Height(), shape.pImage->Width() * 4, QImage::Format_RGB32);
            cursor = QCursor(QPixmap::fromImage(image.copy()), shape.ptHotSpot.x, shape.ptHotSpot.y);
        } else {
            for (const auto& c : s_cursors)
                if (c.nIdc == shape.nStandard)
                    cursor = QCursor(c.shape);
        }
        if (m_bOverride) {
            QGuiApplication::changeOverrideCursor(cursor);
        } else {
            QGuiApplication::setOverrideCursor(cursor);
            m_bOverride = true;
        }
    }
    BOOL GetCursorPos(POINT* pPoint) override
    {
        // Without a real screen the pointer is where the last input said it was.
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            return FALSE;
        QPoint pt = QCursor::pos();
        *pPoint = POINT{pt.x(), pt.y()};
        return TRUE;
    }
    SHORT GetAsyncKeyState(int nVirtKey) override
    {
        // Without a real keyboard Qt knows no modifiers held; the keys delivered tell.
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            return TbDeliveredKeyState(nVirtKey);
        Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
        Qt::MouseButtons buttons = QGuiApplication::mouseButtons();
        bool bDown = false;
        switch (nVirtKey) {
        case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT:     bDown = mods & Qt::ShiftModifier; break;
        case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL: bDown = mods & Qt::ControlModifier; break;
        case VK_MENU: case VK_LMENU: case VK_RMENU:        bDown = mods & Qt::AltModifier; break;
        case VK_LBUTTON: bDown = buttons & Qt::LeftButton; break;
        case VK_RBUTTON: bDown = buttons & Qt::RightButton; break;
        case VK_MBUTTON: bDown = buttons & Qt::MiddleButton; break;
        }
        return static_cast<SHORT>(bDown ? 0x8000 : 0);
    }
    void GetScreenSize(SIZE* pSize) override
    {
        QScreen* pScreen = QGuiApplication::primaryScreen();
        QSize size = pScreen ? pScreen->geometry().size() : QSize(1024, 768);
        *pSize = SIZE{size.width(), size.height()};
    }
    void Beep(UINT) override { QApplication::beep(); }
    BOOL PlayWave(LPCSTR pszPath, BOOL bLoop) override { return TbQtPlayWave(pszPath, bLoop); }
    void OfferClipboard(BOOL bText, BOOL bImage) override { TbQtOfferClipboard(bText, bImage); }
    BOOL GetClipboardText(std::string* pUtf8) override { return TbQtGetClipboardText(pUtf8); }
    ITbQuestion* AskMessageBox(HWND hOwner, TBMESSAGEBOXQUESTION* pQuestion) override
    {
        return TbQtAskMessageBox(hOwner, pQuestion);
    }
    ITbQuestion* AskFile(HWND hOwner, TBFILEQUESTION* pQuestion) override { return TbQtAskFile(hOwner, pQuestion); }
    ITbQuestion* AskFont(HWND hOwner, TBFONTQUESTION* pQuestion) override { return TbQtAskFont(hOwner, pQuestion); }
    ITbQuestion* AskColor(HWND hOwner, TBCOLORQUESTION* pQuestion) override { return TbQtAskColor(hOwner, pQuestion); }
    ITbQuestion* AskPrinterProperties(HWND hOwner, TBPRINTERPROPSQUESTION* pQuestion) override
    {
        return TbQtAskPrinterProperties(hOwner, pQuestion);
    }
    ITbQuestion* AskPrintSetup(HWND hOwner, TBPRINTSETUPQUESTION* pQuestion) override
    {
        return TbQtAskPrintSetup(hOwner, pQuestion);
    }
    // Menus and MDI.
    BOOL OpenPopupMenu(HMENU hMenu, UINT uFlags, POINT pt, HWND hOwner) override
    {
        return TbQtOpenPopupMenu(hMenu, uFlags, pt, hOwner);
    }
    void ClosePopupMenu() override { TbQtClosePopupMenu(); }
    void GetMdiChildFrame(RECT* prcFrame) override { TbQtMdiChildFrame(prcFrame); }
    int GetMdiTitleWidth(LPCSTR pszTitle) override { return TbQtMdiTitleWidth(pszTitle); }
    void WatchFd(int fd, int nEvents) override
    {
        Notifiers& n = m_notifiers[fd];
        Watch(n.pRead, fd, QSocketNotifier::Read, TB_FD_READ, nEvents);
        Watch(n.pWrite, fd, QSocketNotifier::Write, TB_FD_WRITE, nEvents);
        if (!nEvents)
            m_notifiers.erase(fd);
    }

private:
    struct Notifiers {
        QSocketNotifier* pRead = nullptr;
        QSocketNotifier* pWrite = nullptr;
    };
    // A direction that is only paused keeps its notifier, switched off; when the whole watch
    // ends the notifiers go, later, as one of them may be the caller.
    static void Watch(QSocketNotifier*& pNotifier, int fd, QSocketNotifier::Type type, int nDirection, int nEvents)
    {
        const bool bOn = (nEvents & nDirection) != 0;
        if (bOn && !pNotifier) {
            pNotifier = new QSocketNotifier(fd, type);
            QObject::connect(pNotifier, &QSocketNotifier::activated, [fd, nDirection] {
                CTbQtHandlerScope scope;
                TbDisplayFdReady(fd, nDirection);
            });
        }
        if (!pNotifier)
            return;
        pNotifier->setEnabled(bOn);
        if (!nEvents) {
            pNotifier->deleteLater();
            pNotifier = nullptr;
        }
    }

    std::map<int, Notifiers> m_notifiers;
    QTimer m_timer;
    std::atomic<bool> m_bWakePending{false};
    bool m_bOverride = false;
};
}

ITbDisplay* TbQtDisplay()
{
    static CQtDisplay* s_pDisplay = new CQtDisplay;
    return s_pDisplay;
}
