// A window's widget and its surface.
#include "platform/qt/WindowWidget.h"
#include <algorithm>
#include <cstring>
#include <QtCore/QTimer>
#include <QtGui/QIcon>
#include <QtGui/QInputMethodEvent>
#include <QtGui/QPainter>
#include <QtGui/QFontMetrics>
#include <QtGui/QPixmap>
#include <QtCore/QTimer>
#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>
#include <QtGui/QWindow>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMenuBar>
#include "platform/qt/QtInternal.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/gdi/PixelBuffer.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/VirtualKeys.h"
#include "platform/win/user/Window.h"

CTbWindowWidget::CTbWindowWidget(HWND hWnd, QWidget* pParent) : QWidget(pParent), m_hWnd(hWnd)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

namespace {
// How often and how long a window just shown is looked at until the window manager has framed it.
const int FRAME_CHECK_MS = 50;
const int FRAME_CHECKS = 40;
BOOL s_bStandInFrame = FALSE;
QMargins s_standInFrame;

// The frame the window manager draws around a top-level window, caption included.
QMargins WindowManagerFrame(const QWidget* pWindow)
{
    if (s_bStandInFrame)
        return s_standInFrame;
    const QRect rcOuter = pWindow->frameGeometry(), rc = pWindow->geometry();
    return QMargins(rc.left() - rcOuter.left(), rc.top() - rcOuter.top(), rcOuter.right() - rc.right(),
                    rcOuter.bottom() - rc.bottom());
}

// One side: the outer extent (frame before and after) moved inside [nFrom, nTo), its size bounded
// by the room there; the frame's start stays on the screen whatever.
void FitSide(int& nStart, int& nSize, int nBefore, int nAfter, int nFrom, int nTo)
{
    nSize = std::max(1, std::min(nSize, nTo - nFrom - nBefore - nAfter));
    nStart = std::max(nFrom + nBefore, std::min(nStart, nTo - nAfter - nSize));
}
}  // namespace

void TbQtSetWindowManagerFrame(const RECT* prcFrame)
{
    s_bStandInFrame = prcFrame != nullptr;
    s_standInFrame = prcFrame ? QMargins(prcFrame->left, prcFrame->top, prcFrame->right, prcFrame->bottom) : QMargins();
}

bool CTbWindowWidget::event(QEvent* pEvent)
{
    CTbQtHandlerScope scope;
    if (pEvent->type() == QEvent::WinIdChange)
        KeepShowState();
    if (pEvent->type() == QEvent::ShortcutOverride && ClaimsMnemonic(static_cast<QKeyEvent*>(pEvent))) {
        pEvent->accept();       // the key comes as a key press, for the dialog
        return true;
    }
    if (pEvent->type() == QEvent::Show && m_hWnd && isWindow() &&
        (windowType() == Qt::Window || windowType() == Qt::Dialog) && !(windowFlags() & Qt::FramelessWindowHint) &&
        (s_bStandInFrame || QGuiApplication::platformName() != "offscreen")) {
        m_nFrameChecks = FRAME_CHECKS;
        QTimer::singleShot(FRAME_CHECK_MS, this, [this] { KeepFrameOnScreen(); });
    }
    return QWidget::event(pEvent);
}

bool CTbWindowWidget::ClaimsMnemonic(const QKeyEvent* pEvent) const
{
    // Alt and a character the menu bar would take: a form's own label or button marked with it
    // comes first, as the dialog manager reads the key before the menu does.
    const Qt::KeyboardModifiers mods = pEvent->modifiers();
    if (!m_hWnd || !(mods & Qt::AltModifier) || (mods & Qt::ControlModifier))
        return false;
    std::string strChar;
    if (!pEvent->text().isEmpty())
        strChar = TbUtf8ToCodePage(pEvent->text().toStdString(), CP_ACP);
    else if (pEvent->key() >= Qt::Key_A && pEvent->key() <= Qt::Key_Z)
        strChar = std::string(1, static_cast<char>('A' + (pEvent->key() - Qt::Key_A)));
    return strChar.size() == 1 && TbFocusedDialogHasMnemonic(static_cast<unsigned char>(strChar[0])) != FALSE;
}

void CTbWindowWidget::KeepFrameOnScreen()
{
    CTbQtHandlerScope scope;
    if (!m_hWnd || !isWindow() || !isVisible() || m_nFrameChecks <= 0 ||
        (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const QMargins frame = WindowManagerFrame(this);
    if (frame.isNull()) {
        // Not framed yet: the window manager sets the frame's extents a moment after the window maps.
        if (--m_nFrameChecks > 0)
            QTimer::singleShot(FRAME_CHECK_MS, this, [this] { KeepFrameOnScreen(); });
        return;
    }
    m_nFrameChecks = 0;
    const QScreen* pScreen = screen() ? screen() : QGuiApplication::primaryScreen();
    if (pScreen == nullptr)
        return;
    const QRect rcScreen = pScreen->availableGeometry();
    QRect rc = geometry();
    int x = rc.x(), y = rc.y(), cx = rc.width(), cy = rc.height();
    FitSide(x, cx, frame.left(), frame.right(), rcScreen.left(), rcScreen.right() + 1);
    FitSide(y, cy, frame.top(), frame.bottom(), rcScreen.top(), rcScreen.bottom() + 1);
    if (QRect(x, y, cx, cy) == rc)
        return;
    // Moved as the desktop moves it: the window hears of its new place as of the user's.
    if (m_bFixedSize)
        setFixedSize(cx, cy);
    setGeometry(x, y, cx, cy);
    ReportGeometry();
}

void CTbWindowWidget::KeepShowState()
{
    // Qt builds a shown window's native window anew when a web page joins it (the page needs a
    // surface of another kind). The new one would come up plain, and the window manager's word of
    // that would restore a maximised main window: it takes the window's state before it shows.
    QWindow* pWindow = windowHandle();
    if (!m_hWnd || !isWindow() || !isVisible() || internalWinId() == 0 || pWindow == nullptr)
        return;
    Qt::WindowStates state = pWindow->windowStates() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (IsIconic(m_hWnd))
        state |= Qt::WindowMinimized;
    else if (IsZoomed(m_hWnd))
        state |= Qt::WindowMaximized;
    if (state == pWindow->windowStates())
        return;
    m_bApplying = TRUE;
    pWindow->setWindowStates(state);
    m_bApplying = FALSE;
}

void CTbWindowWidget::paintEvent(QPaintEvent* pEvent)
{
    QPainter painter(this);
    const CTbPixelBuffer* pImage = m_hWnd ? TbDisplayImage(m_hWnd) : nullptr;
    // The backing image is the client area, below the menu bar.
    painter.translate(0, m_nClientTop);
    QRect rc = pEvent->rect().translated(0, -m_nClientTop);
    if (pImage) {
        QImage image(reinterpret_cast<const uchar*>(pImage->Bits()), pImage->Width(), pImage->Height(),
                     pImage->Width() * 4, QImage::Format_RGB32);
        if (const int cxBar = std::min(LeftBarWidth(), pImage->Width())) {
            const int cxClient = pImage->Width() - cxBar;
            painter.drawImage(QPoint(0, 0), image, QRect(cxClient, 0, cxBar, pImage->Height()));
            painter.drawImage(QPoint(cxBar, 0), image, QRect(0, 0, cxClient, pImage->Height()));
            return;
        }
        painter.drawImage(rc, image, rc);
        QRect rcImage(0, 0, pImage->Width(), pImage->Height());
        for (const QRect& r : QRegion(rc).subtracted(QRegion(rcImage)))
            painter.fillRect(r, Qt::white);
        return;
    }
    COLORREF cr = m_hWnd ? TbDisplayBackground(m_hWnd) : CLR_INVALID;
    painter.fillRect(rc, cr == CLR_INVALID ? QColor(Qt::white) : QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr)));
}

static WPARAM MouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    WPARAM w = 0;
    if (buttons & Qt::LeftButton) w |= MK_LBUTTON;
    if (buttons & Qt::RightButton) w |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) w |= MK_MBUTTON;
    if (mods & Qt::ShiftModifier) w |= MK_SHIFT;
    if (mods & Qt::ControlModifier) w |= MK_CONTROL;
    return w;
}

static UINT DownMessage(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:   return WM_LBUTTONDOWN;
    case Qt::RightButton:  return WM_RBUTTONDOWN;
    case Qt::MiddleButton: return WM_MBUTTONDOWN;
    default:               return 0;
    }
}

int CTbWindowWidget::LeftBarWidth() const
{
    if (!m_hWnd || !(GetWindowLongA(m_hWnd, GWL_STYLE) & WS_VSCROLL) ||
        !(GetWindowLongA(m_hWnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR))
        return 0;
    return GetSystemMetrics(SM_CXVSCROLL);
}

QPoint CTbWindowWidget::ToImage(const QPoint& pt) const
{
    const int cxBar = LeftBarWidth();
    if (cxBar == 0 || pt.y() < m_nClientTop)
        return pt;
    const int cxClient = width() - cxBar;
    return QPoint(pt.x() < cxBar ? pt.x() + cxClient : pt.x() - cxBar, pt.y());
}

void CTbWindowWidget::Mouse(QMouseEvent* pEvent, UINT uMsg, BOOL)
{
    if (!m_hWnd || !uMsg)
        return;
    QPoint ptGlobal = mapToGlobal(ToImage(pEvent->position().toPoint()));
    SyncModifiers(pEvent->modifiers());
    TbDisplayMouse(m_hWnd, uMsg, MouseKeys(pEvent->buttons(), pEvent->modifiers()), POINT{ptGlobal.x(), ptGlobal.y()});
    pEvent->accept();
}

void CTbWindowWidget::mousePressEvent(QMouseEvent* pEvent)
{
    Mouse(pEvent, DownMessage(pEvent->button()), FALSE);
}

void CTbWindowWidget::mouseReleaseEvent(QMouseEvent* pEvent)
{
    UINT uDown = DownMessage(pEvent->button());
    Mouse(pEvent, uDown ? uDown + 1 : 0, TRUE);
}

void CTbWindowWidget::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    // From the window system the second press of a double click comes as this event alone (Qt
    // holds the press back): it is that press, and the layer makes the double click of it.
    Mouse(pEvent, DownMessage(pEvent->button()), FALSE);
}

void CTbWindowWidget::mouseMoveEvent(QMouseEvent* pEvent)
{
    Mouse(pEvent, WM_MOUSEMOVE, FALSE);
}

void CTbWindowWidget::leaveEvent(QEvent* pEvent)
{
    CTbQtHandlerScope scope;
    TbDisplayMouseLeave(m_hWnd);
    QWidget::leaveEvent(pEvent);
}

void CTbWindowWidget::wheelEvent(QWheelEvent* pEvent)
{
    if (!m_hWnd)
        return;
    QPoint ptGlobal = mapToGlobal(ToImage(pEvent->position().toPoint()));
    int nDelta = pEvent->angleDelta().y();
    WPARAM wKeys = MouseKeys(pEvent->buttons(), pEvent->modifiers());
    TbDisplayMouse(m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(wKeys, static_cast<short>(nDelta)), POINT{ptGlobal.x(), ptGlobal.y()});
    pEvent->accept();
}

void CTbWindowWidget::SyncModifiers(Qt::KeyboardModifiers mods)
{
    TbDisplayModifiers((mods & Qt::ShiftModifier) != 0, (mods & Qt::ControlModifier) != 0, (mods & Qt::AltModifier) != 0);
}

void CTbWindowWidget::Key(QKeyEvent* pEvent, BOOL bRelease)
{
    UINT uVk = TbQtVirtualKey(pEvent);
    if (!m_hWnd || !uVk) {
        pEvent->ignore();
        return;
    }
    // A modifier's own press or release tells its state itself.
    if (uVk != VK_SHIFT && uVk != VK_CONTROL && uVk != VK_MENU)
        SyncModifiers(pEvent->modifiers());
    // A character the active code page cannot hold is refused there, with a beep.
    const std::string strUtf8 = bRelease ? std::string() : pEvent->text().toStdString();
    TbDisplayKeyText(bRelease ? WM_KEYUP : WM_KEYDOWN, uVk, TbQtKeyFlags(pEvent, bRelease), strUtf8.c_str());
    pEvent->accept();
}

void CTbWindowWidget::keyPressEvent(QKeyEvent* pEvent)
{
    Key(pEvent, FALSE);
}

void CTbWindowWidget::keyReleaseEvent(QKeyEvent* pEvent)
{
    Key(pEvent, TRUE);
}

void CTbWindowWidget::inputMethodEvent(QInputMethodEvent* pEvent)
{
    // What an input method (or an on-screen keyboard through one) commits is typed text: each
    // character a key of its own that carries it, queued behind the input that came before it.
    if (m_hWnd) {
        const QString strCommit = pEvent->commitString();
        for (const char32_t ch : strCommit.toUcs4()) {
            const std::string strUtf8 = QString::fromUcs4(&ch, 1).toStdString();
            if (TbDisplayKeyText(WM_KEYDOWN, VK_PACKET, MAKELPARAM(1, 0), strUtf8.c_str()))
                TbDisplayKey(WM_KEYUP, VK_PACKET, MAKELPARAM(1, KF_REPEAT | KF_UP), nullptr);
        }
    }
    pEvent->accept();
}

void CTbWindowWidget::ReportGeometry()
{
    if (m_hWnd && isWindow() && !m_bApplying) {
        QRect rc = geometry();
        TbDisplayGeometry(m_hWnd, rc.x(), rc.y(), rc.width(), rc.height());
    }
}

void CTbWindowWidget::moveEvent(QMoveEvent*)
{
    ReportGeometry();
}

void CTbWindowWidget::resizeEvent(QResizeEvent*)
{
    if (m_pMenuBar)
        m_pMenuBar->setGeometry(0, 0, width(), m_nClientTop);
    ReportGeometry();
}

void CTbWindowWidget::closeEvent(QCloseEvent* pEvent)
{
    // The program decides whether the window closes: the close box is WM_SYSCOMMAND SC_CLOSE.
    pEvent->ignore();
    if (m_hWnd)
        TbDisplayClose(m_hWnd);
}

void CTbWindowWidget::changeEvent(QEvent* pEvent)
{
    if (m_hWnd && isWindow()) {
        if (pEvent->type() == QEvent::ActivationChange) {
            if (!isActiveWindow()) {
                m_nActivationsAsked = 0;            // whatever was asked has been answered
            } else if (m_nActivationsAsked > 0) {
                --m_nActivationsAsked;
            } else if (!TbDisplayTakesInput(m_hWnd)) {
                // The window manager gave the keyboard to a modal dialog's owner (a click on
                // it): the dialog takes it back, and with it the active caption, once Qt is done
                // with this activation. A question of Qt's own (a message box, a chooser) is
                // Qt's modal window; the layer's dialogs are the layer's active window.
                const HWND hWnd = m_hWnd;
                QTimer::singleShot(0, this, [hWnd] {
                    if (QWidget* pModal = QApplication::activeModalWidget();
                        pModal != nullptr && dynamic_cast<CTbWindowWidget*>(pModal) == nullptr) {
                        pModal->raise();
                        pModal->activateWindow();
                        return;
                    }
                    CTbQtHandlerScope scope;
                    TbDisplayInputRefused(hWnd);
                });
            } else {
                TbDisplayActivate(m_hWnd);
            }
        } else if (pEvent->type() == QEvent::WindowStateChange && !m_bApplying) {
            Qt::WindowStates state = windowState();
            TbDisplayShowState(m_hWnd, (state & Qt::WindowMinimized) ? SW_SHOWMINIMIZED
                                       : (state & Qt::WindowMaximized) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
        }
    }
    QWidget::changeEvent(pEvent);
}

// ---- the surface ----

CTbQtSurface::~CTbQtSurface()
{
    if (m_pWidget) {
        m_pWidget->Detach();
        m_pWidget->hide();
        TbQtBury(m_pWidget);
    }
}

void CTbQtSurface::SetGeometry(int x, int y, int cx, int cy)
{
    if (!m_pWidget)
        return;
    // A child's place is in its parent's client area, which a menu bar pushes down.
    if (auto* pParent = dynamic_cast<CTbWindowWidget*>(m_pWidget->parentWidget()))
        y += pParent->m_nClientTop;
    // The window manager places a maximised window under its own title bar; a place set on it
    // would take the maximised state away and put the client where the title bar belongs.
    if (!m_pWidget->isWindow() || !(m_pWidget->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        m_pWidget->m_bApplying = TRUE;
        // A window manager offers no sizing, and no maximise button, for a window of one fixed size.
        if (m_pWidget->m_bFixedSize && m_pWidget->isWindow())
            m_pWidget->setFixedSize(cx, cy);
        m_pWidget->setGeometry(x, y, cx, cy);
        m_pWidget->m_bApplying = FALSE;
    }
    if (m_pWidget->isWindow())
        ShowTitle();
}

void CTbQtSurface::SetVisible(BOOL bVisible)
{
    if (!m_pWidget)
        return;
    m_pWidget->m_bApplying = TRUE;
    m_pWidget->setVisible(bVisible != FALSE);
    m_pWidget->m_bApplying = FALSE;
}

void CTbQtSurface::SetShowState(int nCmdShow)
{
    if (!m_pWidget || !m_pWidget->isWindow())
        return;
    m_pWidget->m_bApplying = TRUE;
    Qt::WindowStates state = m_pWidget->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (nCmdShow == SW_SHOWMINIMIZED)
        state |= Qt::WindowMinimized;
    else if (nCmdShow == SW_SHOWMAXIMIZED)
        state |= Qt::WindowMaximized;
    m_pWidget->setWindowState(state);
    m_pWidget->m_bApplying = FALSE;
}

void CTbQtSurface::SetText(LPCSTR pszText)
{
    m_strTitle = QString::fromStdString(TbCodePageToUtf8(pszText ? pszText : "", CP_ACP));
    ShowTitle();
}

int TbQtTitleRoom(int cxWindow)
{
    // The window's icon and up to three buttons (minimise, maximise, close) with their gaps.
    static const int TITLE_BUTTONS_CX = 110;
    return cxWindow - TITLE_BUTTONS_CX;
}

QFont TbQtTitleFont()
{
    // Window managers draw titles bold, near the interface's own size.
    QFont font = QApplication::font();
    font.setBold(true);
    if (font.pointSizeF() > 0 && font.pointSizeF() < 9)
        font.setPointSizeF(9);
    return font;
}

QString CTbQtSurface::ShownTitle() const
{
    if (!m_pWidget || !m_pWidget->isWindow())
        return m_strTitle;
    const QFontMetrics metrics(TbQtTitleFont());
    const int nRoom = std::max(0, TbQtTitleRoom(m_pWidget->width()));
    if (metrics.horizontalAdvance(m_strTitle) <= nRoom)
        return m_strTitle;
    return metrics.elidedText(m_strTitle, Qt::ElideRight, nRoom);
}

void CTbQtSurface::ShowTitle()
{
    if (!m_pWidget)
        return;
    const QString strShown = ShownTitle();
    if (m_pWidget->windowTitle() != strShown)
        m_pWidget->setWindowTitle(strShown);
}

QIcon TbQtIcon(const CTbPixelBuffer* pImage, const CTbPixelBuffer* pMask)
{
    if (!pImage || pImage->IsEmpty())
        return QIcon();
    const bool bMasked = pMask && !pMask->IsEmpty() && pMask->Width() == pImage->Width() &&
                         pMask->Height() == pImage->Height();
    QImage image(pImage->Width(), pImage->Height(), QImage::Format_ARGB32);
    for (int y = 0; y < pImage->Height(); ++y) {
        auto* pOut = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < pImage->Width(); ++x)
            pOut[x] = (bMasked && pMask->Row(y)[x] == TB_PIXEL_WHITE) ? 0u : (pImage->Row(y)[x] | 0xff000000u);
    }
    return QIcon(QPixmap::fromImage(image));
}

void CTbQtSurface::SetIcon(const CTbPixelBuffer* pImage, const CTbPixelBuffer* pMask)
{
    if (!m_pWidget || !m_pWidget->isWindow())
        return;
    TbQtSetWindowIcon(m_pWidget, TbQtIcon(pImage, pMask));
}

void TbQtSetWindowIcon(QWidget* pWindow, const QIcon& icon)
{
    // Qt keeps a null icon once set as the window's own: a window that loses its icon takes the
    // program's instead, and one that never had one keeps showing whatever the program's becomes.
    static const char s_szOwnIcon[] = "tbOwnIcon";
    if (!icon.isNull() || pWindow->property(s_szOwnIcon).toBool())
        pWindow->setWindowIcon(icon.isNull() ? QApplication::windowIcon() : icon);
    pWindow->setProperty(s_szOwnIcon, !icon.isNull());
    // The first main window's icon becomes the program's: windows without one of their own show it.
    static bool s_bProgramIcon = false;
    if (!icon.isNull() && pWindow->windowType() == Qt::Window && !s_bProgramIcon) {
        QApplication::setWindowIcon(icon);
        s_bProgramIcon = true;
    }
}

BOOL CTbQtSurface::DrawForeign(CTbPixelBuffer* pImage)
{
    if (!m_pWidget || !m_pWidget->property("tbForeign").toBool() || pImage == nullptr)
        return FALSE;
    const QImage image = m_pWidget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int cx = std::min(image.width(), pImage->Width()), cy = std::min(image.height(), pImage->Height());
    for (int y = 0; y < cy; ++y)
        memcpy(pImage->Row(y), image.constScanLine(y), static_cast<size_t>(cx) * 4);
    return TRUE;
}

void CTbQtSurface::Update(const RECT& rc)
{
    if (m_pWidget && m_pWidget->LeftBarWidth() > 0)
        m_pWidget->update();        // the image's rectangle may span both of the shown sides
    else if (m_pWidget)
        m_pWidget->update(QRect(rc.left, rc.top + m_pWidget->m_nClientTop, rc.right - rc.left, rc.bottom - rc.top));
}

void CTbQtSurface::SetFocus()
{
    if (!m_pWidget)
        return;
    // Keys reach the layer through whichever of its widgets Qt focuses; the layer routes them.
    m_pWidget->setFocusPolicy(Qt::StrongFocus);
    m_pWidget->setAttribute(Qt::WA_InputMethodEnabled, true);
    m_pWidget->setFocus(Qt::OtherFocusReason);
}

void CTbQtSurface::Raise(BOOL bToTop)
{
    if (!m_pWidget)
        return;
    if (bToTop) {
        m_pWidget->raise();
        // A window that never takes the activation (a drop-down list) is raised only.
        if (m_pWidget->isWindow() && m_pWidget->isVisible() && !m_pWidget->isActiveWindow() &&
            !(m_pWidget->windowFlags() & Qt::WindowDoesNotAcceptFocus)) {
            ++m_pWidget->m_nActivationsAsked;
            m_pWidget->activateWindow();
        }
    } else {
        m_pWidget->lower();
    }
}

void CTbQtSurface::Reparent(ITbSurface* pParent)
{
    if (!m_pWidget)
        return;
    QWidget* pParentWidget = pParent ? static_cast<CTbQtSurface*>(pParent)->Widget() : nullptr;
    m_pWidget->m_bApplying = TRUE;
    m_pWidget->setParent(pParentWidget, pParentWidget ? Qt::Widget : Qt::Window);
    m_pWidget->m_bApplying = FALSE;
}
