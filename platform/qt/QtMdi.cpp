// MDI on the Qt display: an MDI client's surface holds a QMdiArea, and each MDI child's widget
// is a sub-window of it. The layer keeps the state (active child, maximised mode, geometry); the
// area shows it, and what the user does to a sub-window comes back as a system command.
#include <QtCore/QCoreApplication>
#include <QtGui/QCloseEvent>
#include <QtGui/QGuiApplication>
#include <QtGui/QPixmap>
#include <QtGui/QScreen>
#include <QtGui/QMouseEvent>
#include <QtGui/QWindowStateChangeEvent>
#include <QtGui/QFontMetrics>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLayout>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMdiArea>
#include <QtWidgets/QMdiSubWindow>
#include <QtWidgets/QStyle>
#include <QtWidgets/QStyleOptionTitleBar>
#include <algorithm>
#include <cstring>
#include <strings.h>
#include <vector>
#include "platform/qt/QtInternal.h"
#include "platform/qt/WindowWidget.h"
#include "platform/win/gdi/PixelBuffer.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/Message.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/user/Window.h"
#include "platform/win/user/WindowRecord.h"

namespace {
class CTbMdiSubWindow;
QRect TitleButton(CTbMdiSubWindow* pSub, UINT uCommand);

// The area fills its client's widget, whatever size the layer gives that.
class CTbMdiArea : public QMdiArea
{
public:
    CTbMdiArea(QWidget* pParent, DWORD dwStyle) : QMdiArea(pParent)
    {
        setFrameShape(QFrame::NoFrame);
        // The scroll bars the client was made with are the area's: a window moved or left past
        // the client's edge (the frame made smaller) can be scrolled into view.
        setHorizontalScrollBarPolicy((dwStyle & WS_HSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy((dwStyle & WS_VSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        setGeometry(pParent->rect());
        pParent->installEventFilter(this);
        connect(this, &QMdiArea::subWindowActivated, this, &CTbMdiArea::OnActivated);
    }
    BOOL m_bApplying = FALSE;

    // The layer's order of the children and its active child are what the area shows. Qt also
    // raises and activates sub-windows of its own accord (one shown or hidden, one whose frame
    // changes): what it did goes back to the layer's word, and is never taken as the user's.
    void Sync();
    // Qt lays its minimised sub-windows out again of its own accord (one minimised, the area
    // resized), in rows of its own from the left: each icon goes back where the layer put it,
    // in the row from the reading start. At once, and once more after Qt's queued layout.
    void KeepIcons();
    void KeepIconsSoon();

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override
    {
        if (pObject == parent() && pEvent->type() == QEvent::Resize)
            setGeometry(static_cast<QWidget*>(pObject)->rect());
        // A sub-window moved or sized changes how far the area scrolls; the rest of the area's
        // own filtering (its keys) stays off.
        const bool bGeometry = pEvent->type() == QEvent::Move || pEvent->type() == QEvent::Resize;
        if (bGeometry && qobject_cast<QMdiSubWindow*>(pObject))
            return QMdiArea::eventFilter(pObject, pEvent);
        return false;
    }
    void resizeEvent(QResizeEvent* pEvent) override
    {
        QMdiArea::resizeEvent(pEvent);
        KeepIconsSoon();
    }

private:
    void OnActivated(QMdiSubWindow* pSub);
};

// While the layer's change is applied, what Qt does to the area on its own is not the user's;
// afterwards the area shows the layer's order and active child again.
class CTbAreaApplying
{
public:
    explicit CTbAreaApplying(CTbMdiArea* pArea) : m_pArea(pArea), m_bWas(pArea ? pArea->m_bApplying : FALSE)
    {
        if (m_pArea)
            m_pArea->m_bApplying = TRUE;
    }
    ~CTbAreaApplying()
    {
        if (!m_pArea)
            return;
        m_pArea->m_bApplying = m_bWas;
        if (!m_bWas)
            m_pArea->Sync();
    }
    CTbAreaApplying(const CTbAreaApplying&) = delete;
    CTbAreaApplying& operator=(const CTbAreaApplying&) = delete;

private:
    QPointer<CTbMdiArea> m_pArea;
    BOOL m_bWas;
};

class CTbMdiSubWindow : public QMdiSubWindow
{
public:
    explicit CTbMdiSubWindow(HWND hWnd) : m_hWnd(hWnd)
    {
        setAttribute(Qt::WA_DeleteOnClose, false);
        // The keys are the program's: Qt's own shortcuts of the frame's menu (Ctrl+W closing a
        // restored window, none a maximised one) would act beside the program's Ctrl+F4.
        if (QMenu* pMenu = systemMenu())
            for (QAction* pAction : pMenu->actions())
                pAction->setShortcuts({});
    }
    HWND m_hWnd;
    BOOL m_bApplying = FALSE;

    // The place of the window's own widget (its client) in the area.
    QRect Inner() const
    {
        QWidget* pInner = widget();
        if (!pInner || !mdiArea())
            return QRect();
        return QRect(pInner->mapTo(mdiArea()->viewport(), QPoint(0, 0)), pInner->size());
    }

protected:
    bool event(QEvent* pEvent) override
    {
        CTbQtHandlerScope scope;
        return QMdiSubWindow::event(pEvent);
    }
    void mousePressEvent(QMouseEvent* pEvent) override
    {
        // A press on the frame or caption activates the window in the layer, which brings it
        // over the others even when it was active already (Qt leaves an active one where it is).
        if (m_hWnd && pEvent->button() == Qt::LeftButton) {
            CTbQtHandlerScope scope;
            TbDisplayChildActivate(m_hWnd);
        }
        // The maximise button of a minimised window's icon is the layer's own: Qt's answer
        // to it restores the window once more after maximising it, at its normal size and with
        // a caption it leaves undrawn.
        m_bIconMaximise = pEvent->button() == Qt::LeftButton && OnIconMaximise(pEvent->position().toPoint());
        if (m_bIconMaximise) {
            pEvent->accept();
            return;
        }
        // Qt takes the button under a press from the pointer's last move, and after a press on
        // the caption it leaves that unchanged for the first move off it: a pointer that came
        // to the minimise or maximise button in one move pressed the caption's label instead,
        // and the click was lost. The press is first taken as a move to where it is.
        if (pEvent->button() == Qt::LeftButton) {
            for (int i = 0; i < 2; ++i) {
                QMouseEvent hover(QEvent::MouseMove, pEvent->position(), pEvent->globalPosition(), Qt::NoButton,
                                  Qt::NoButton, pEvent->modifiers());
                QMdiSubWindow::mouseMoveEvent(&hover);
            }
        }
        QMdiSubWindow::mousePressEvent(pEvent);
    }
    void mouseReleaseEvent(QMouseEvent* pEvent) override
    {
        if (!m_bIconMaximise || pEvent->button() != Qt::LeftButton) {
            QMdiSubWindow::mouseReleaseEvent(pEvent);
            return;
        }
        m_bIconMaximise = FALSE;
        pEvent->accept();
        if (!m_hWnd || !OnIconMaximise(pEvent->position().toPoint()))
            return;
        CTbQtHandlerScope scope;
        TbDisplaySysCommand(m_hWnd, SC_MAXIMIZE);
    }
    void moveEvent(QMoveEvent* pEvent) override
    {
        QMdiSubWindow::moveEvent(pEvent);
        Report();
    }
    void resizeEvent(QResizeEvent* pEvent) override
    {
        QMdiSubWindow::resizeEvent(pEvent);
        Report();
    }
    void closeEvent(QCloseEvent* pEvent) override
    {
        // The program decides: the close box is WM_SYSCOMMAND SC_CLOSE (a child may only hide).
        pEvent->ignore();
        if (m_hWnd)
            TbDisplayClose(m_hWnd);
    }
    void changeEvent(QEvent* pEvent) override
    {
        QMdiSubWindow::changeEvent(pEvent);
        if (pEvent->type() != QEvent::WindowStateChange || m_bApplying || !m_hWnd)
            return;
        // Qt marks the active sub-window with a state of its own: only a change between
        // minimised, maximised and normal is the user's command.
        const Qt::WindowStates shown = Qt::WindowMinimized | Qt::WindowMaximized;
        const Qt::WindowStates state = windowState();
        if ((state & shown) == (static_cast<QWindowStateChangeEvent*>(pEvent)->oldState() & shown))
            return;
        const UINT uCommand = (state & Qt::WindowMinimized) ? SC_MINIMIZE : (state & Qt::WindowMaximized) ? SC_MAXIMIZE : SC_RESTORE;
        // The layer maximises a window its own way. Qt's maximised mode, left on, would maximise
        // the window again at its next resize, after the user had restored it.
        if (state & Qt::WindowMaximized) {
            m_bApplying = TRUE;
            setWindowState(state & ~Qt::WindowMaximized);
            m_bApplying = FALSE;
        }
        TbDisplaySysCommand(m_hWnd, uCommand);
        if (auto* pArea = dynamic_cast<CTbMdiArea*>(mdiArea()))
            pArea->KeepIconsSoon();
    }

private:
    BOOL OnIconMaximise(const QPoint& pt)
    {
        if (!(windowState() & Qt::WindowMinimized))
            return FALSE;
        const QRect rcButton = TitleButton(this, SC_MAXIMIZE);
        return rcButton.isValid() && rcButton.contains(pt);
    }
    BOOL m_bIconMaximise = FALSE;       // the press was on a minimised window's maximise button
    void Report()
    {
        if (m_bApplying || !m_hWnd || !isVisible() || (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
            return;
        const QRect rc = Inner();
        if (rc.isValid())
            TbDisplayUserGeometry(m_hWnd, rc.x(), rc.y(), rc.width(), rc.height());
    }
};

CTbMdiSubWindow* SubWindowOf(HWND hWnd)
{
    QWidget* pWidget = TbQtWidgetOf(hWnd);
    return pWidget ? dynamic_cast<CTbMdiSubWindow*>(pWidget->parentWidget()) : nullptr;
}

void CTbMdiArea::Sync()
{
    auto* pClient = dynamic_cast<CTbWindowWidget*>(parentWidget());
    const HWND hClient = pClient ? pClient->GetHwnd() : nullptr;
    if (!hClient || !IsWindow(hClient))
        return;
    // The layer's order, bottom first, against the area's (its children's order is the stacking).
    std::vector<QWidget*> wanted, shown;
    for (HWND h = GetWindow(hClient, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (CTbMdiSubWindow* pSub = SubWindowOf(h); pSub && pSub->mdiArea() == this)
            wanted.insert(wanted.begin(), pSub);
    for (QObject* pChild : viewport()->children())
        if (std::find(wanted.begin(), wanted.end(), pChild) != wanted.end())
            shown.push_back(static_cast<QWidget*>(pChild));
    const BOOL bWas = m_bApplying;
    m_bApplying = TRUE;
    if (shown != wanted)
        for (QWidget* pSub : wanted)
            pSub->raise();
    CTbMdiSubWindow* pActive = SubWindowOf(reinterpret_cast<HWND>(SendMessageA(hClient, WM_MDIGETACTIVE, 0, 0)));
    if (pActive && pActive->isVisible() && activeSubWindow() != pActive)
        setActiveSubWindow(pActive);
    m_bApplying = bWas;
}

void CTbMdiArea::KeepIcons()
{
    auto* pClient = dynamic_cast<CTbWindowWidget*>(parentWidget());
    const HWND hClient = pClient ? pClient->GetHwnd() : nullptr;
    if (!hClient || !IsWindow(hClient))
        return;
    for (QMdiSubWindow* pChild : subWindowList()) {
        auto* pSub = dynamic_cast<CTbMdiSubWindow*>(pChild);
        if (!pSub || !pSub->m_hWnd || !IsIconic(pSub->m_hWnd) || !(pSub->windowState() & Qt::WindowMinimized))
            continue;
        RECT rc;
        GetWindowRect(pSub->m_hWnd, &rc);
        MapWindowPoints(nullptr, hClient, reinterpret_cast<POINT*>(&rc), 2);
        const QRect rcIcon(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
        if (pSub->geometry() == rcIcon)
            continue;
        pSub->m_bApplying = TRUE;
        pSub->setGeometry(rcIcon);
        pSub->m_bApplying = FALSE;
    }
}

void CTbMdiArea::KeepIconsSoon()
{
    KeepIcons();
    QMetaObject::invokeMethod(this, [this] {
        CTbQtHandlerScope scope;
        KeepIcons();
    }, Qt::QueuedConnection);
}

void CTbMdiArea::OnActivated(QMdiSubWindow* pSub)
{
    if (m_bApplying || !dynamic_cast<CTbMdiSubWindow*>(pSub))
        return;
    // Qt activates a sub-window of its own accord when the program focuses a control in it, long
    // after the layer chose: the user's presses reach the layer themselves (the caption's above,
    // the client's as mouse messages), so the area goes back to the layer's active child.
    QMetaObject::invokeMethod(this, [this] {
        CTbQtHandlerScope scope;
        Sync();
    }, Qt::QueuedConnection);
}

// The surface of an MDI child: the layer's geometry is its client's, inside the sub-window's frame.
class CTbQtMdiChildSurface : public CTbQtSurface
{
public:
    CTbQtMdiChildSurface(CTbWindowWidget* pWidget, CTbMdiSubWindow* pSub, CTbMdiArea* pArea)
        : CTbQtSurface(pWidget), m_pSub(pSub), m_pArea(pArea)
    {
    }
    ~CTbQtMdiChildSurface() override
    {
        if (m_pSub) {
            CTbAreaApplying applying(m_pArea);
            m_pSub->m_hWnd = nullptr;
            m_pSub->hide();
            TbQtBury(m_pSub);
        }
    }
    void SetGeometry(int x, int y, int cx, int cy) override
    {
        if (!m_pSub)
            return;
        CTbAreaApplying applying(m_pArea);
        m_pSub->m_bApplying = TRUE;
        if (m_nShowState == SW_SHOWMINIMIZED) {
            m_pSub->setGeometry(x, y, cx, cy);      // only the title shows
            m_bIconPlaced = TRUE;
        } else {
            // The frame around the client, as the sub-window's style keeps it. (Its widget's
            // place is no measure while the sub-window is hidden: nothing lays it out then, and
            // a window sized before it first shows grew by its old size each time.)
            const QMargins frame = m_pSub->contentsMargins();
            m_pSub->setGeometry(x - frame.left(), y - frame.top(), cx + frame.left() + frame.right(),
                                cy + frame.top() + frame.bottom());
        }
        m_pSub->m_bApplying = FALSE;
    }
    void SetVisible(BOOL bVisible) override
    {
        if (!m_pSub)
            return;
        CTbAreaApplying applying(m_pArea);
        m_pSub->m_bApplying = TRUE;
        m_pSub->setVisible(bVisible != FALSE);
        if (CTbWindowWidget* pWidget = Widget())
            pWidget->setVisible(bVisible != FALSE && m_nShowState != SW_SHOWMINIMIZED);
        MinimiseInQt();
        m_pSub->m_bApplying = FALSE;
    }
    void SetShowState(int nCmdShow) override
    {
        if (!m_pSub || nCmdShow == SW_HIDE)
            return;
        // A window the user minimised on its title bar is minimised in Qt too: its client hidden,
        // only the caption drawn. Brought back by the program (a line for the information
        // window, a command for a table), it leaves Qt's minimised state as well, or it would
        // show as an empty box at its normal size.
        const BOOL bQtMinimised = (m_pSub->windowState() & Qt::WindowMinimized) != 0;
        if (nCmdShow == m_nShowState && bQtMinimised == (nCmdShow == SW_SHOWMINIMIZED))
            return;
        if (nCmdShow != m_nShowState)
            m_bIconPlaced = FALSE;
        m_nShowState = nCmdShow;
        // A maximised child fills the area without a frame, so its client is the area; the
        // layer sizes it (Qt's own maximised state would put the title bar inside).
        CTbAreaApplying applying(m_pArea);
        m_pSub->m_bApplying = TRUE;
        const bool bVisible = m_pSub->isVisible();
        if (bQtMinimised && nCmdShow != SW_SHOWMINIMIZED)
            m_pSub->setWindowState(m_pSub->windowState() & ~Qt::WindowMinimized);
        m_pSub->setWindowFlags(nCmdShow == SW_SHOWMAXIMIZED ? Qt::SubWindow | Qt::FramelessWindowHint : Qt::SubWindow);
        if (QWidget* pInner = m_pSub->widget(); pInner && bVisible && nCmdShow != SW_SHOWMINIMIZED)
            pInner->show();
        if (bVisible)
            m_pSub->show();
        MinimiseInQt();
        m_pSub->m_bApplying = FALSE;
    }
    void SetText(LPCSTR pszText) override
    {
        if (m_pSub)
            m_pSub->setWindowTitle(QString::fromStdString(TbCodePageToUtf8(pszText ? pszText : "", CP_ACP)));
    }
    void Raise(BOOL) override
    {
        // The layer's order has changed: the area takes it, with the layer's active child.
        if (m_pSub && m_pArea)
            CTbAreaApplying applying(m_pArea);
    }
    void Reparent(ITbSurface*) override {}
    void SetIcon(const CTbPixelBuffer* pImage, const CTbPixelBuffer* pMask) override
    {
        // Without an icon of its own the sub-window shows the program's.
        if (m_pSub)
            TbQtSetWindowIcon(m_pSub, TbQtIcon(pImage, pMask));
    }

private:
    // A window the program minimises is minimised in Qt too, as the title bar's button leaves
    // it: its icon then offers restore where a shown window offers minimise, and Qt keeps the
    // place it restores to. Qt shows a hidden sub-window it minimises, so a hidden one waits
    // until it is shown; the icon stays where the layer placed it.
    void MinimiseInQt()
    {
        if (m_nShowState != SW_SHOWMINIMIZED || !m_pSub->isVisible() || (m_pSub->windowState() & Qt::WindowMinimized))
            return;
        const QRect rcIcon = m_pSub->geometry();
        m_pSub->setWindowState(m_pSub->windowState() | Qt::WindowMinimized);
        if (m_bIconPlaced)
            m_pSub->setGeometry(rcIcon);
        if (m_pArea)
            m_pArea->KeepIconsSoon();
    }

    QPointer<CTbMdiSubWindow> m_pSub;
    QPointer<CTbMdiArea> m_pArea;
    int m_nShowState = SW_SHOWNORMAL;
    BOOL m_bIconPlaced = FALSE;     // the layer has placed the window in the icon row
};

CTbMdiArea* AreaOf(ITbSurface* pSurface)
{
    auto* pQt = dynamic_cast<CTbQtSurface*>(pSurface);
    CTbWindowWidget* pWidget = pQt ? pQt->Widget() : nullptr;
    return pWidget ? pWidget->findChild<CTbMdiArea*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}
}  // namespace

ITbSurface* TbQtCreateMdiSurface(HWND hWnd, ITbSurface* pParent, DWORD dwStyle, DWORD dwExStyle)
{
    char szClass[32] = {};
    GetClassNameA(hWnd, szClass, sizeof szClass);
    if (pParent && strcasecmp(szClass, "MDICLIENT") == 0) {
        auto* pWidget = new CTbWindowWidget(hWnd, static_cast<CTbQtSurface*>(pParent)->Widget());
        new CTbMdiArea(pWidget, dwStyle);
        return new CTbQtSurface(pWidget);
    }
    CTbMdiArea* pArea = AreaOf(pParent);
    if (!pArea || !(dwExStyle & WS_EX_MDICHILD))
        return nullptr;
    auto* pSub = new CTbMdiSubWindow(hWnd);
    auto* pWidget = new CTbWindowWidget(hWnd, nullptr);
    pSub->setWidget(pWidget);
    pArea->m_bApplying = TRUE;
    pArea->addSubWindow(pSub);
    pSub->hide();
    pArea->m_bApplying = FALSE;
    return new CTbQtMdiChildSurface(pWidget, pSub, pArea);
}

void TbQtMdiChildFrame(RECT* prcFrame)
{
    // Measured on a sub-window laid out by the style in use, as the child surfaces measure theirs.
    static const RECT s_rcFrame = [] {
        QMdiArea area;
        area.setAttribute(Qt::WA_DontShowOnScreen);
        area.resize(400, 300);
        auto* pInner = new QWidget;
        QMdiSubWindow* pSub = area.addSubWindow(pInner);
        area.show();
        pSub->show();
        pSub->resize(200, 150);
        if (QLayout* pLayout = pSub->layout())
            pLayout->activate();
        const QRect rc = pInner->geometry();
        RECT rcFrame = {rc.left(), rc.top(), std::max(0, pSub->width() - rc.right() - 1),
                        std::max(0, pSub->height() - rc.bottom() - 1)};
        area.hide();
        return rcFrame;
    }();
    *prcFrame = s_rcFrame;
}

int TbQtMdiTitleWidth(LPCSTR pszTitle)
{
    // What the style leaves the label of a wide title bar with every button, measured once; the
    // title is measured bold, as the styles draw an active caption.
    static const int s_nBeside = [] {
        QMdiSubWindow sub;
        QStyleOptionTitleBar option;
        option.initFrom(&sub);
        option.titleBarFlags = Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
        const int nWide = 1000;
        option.rect = QRect(0, 0, nWide, sub.style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, &sub));
        const QRect rcLabel = sub.style()->subControlRect(QStyle::CC_TitleBar, &option, QStyle::SC_TitleBarLabel, &sub);
        return nWide - rcLabel.width();
    }();
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QString strTitle = QString::fromStdString(TbCodePageToUtf8(pszTitle != nullptr ? pszTitle : "", CP_ACP));
    // A little room besides, as the styles leave between the label's edge and its text.
    return s_nBeside + QFontMetrics(font).horizontalAdvance(strTitle) + 2 * QFontMetrics(font).averageCharWidth();
}

BOOL TbQtMdiShown(HWND hClient, HWND* phTop, HWND* phActive)
{
    TbWindow* pWnd = TbFindWindow(hClient);
    CTbMdiArea* pArea = pWnd ? AreaOf(pWnd->pSurface.get()) : nullptr;
    if (!pArea)
        return FALSE;
    // The stacking is the order of the viewport's children: the last one shown is on top.
    HWND hTop = nullptr;
    for (QObject* pChild : pArea->viewport()->children())
        if (auto* pSub = dynamic_cast<CTbMdiSubWindow*>(pChild); pSub && pSub->isVisible() && pSub->m_hWnd && !IsIconic(pSub->m_hWnd))
            hTop = pSub->m_hWnd;
    auto* pActive = dynamic_cast<CTbMdiSubWindow*>(pArea->activeSubWindow());
    if (phTop)
        *phTop = hTop;
    if (phActive)
        *phActive = pActive ? pActive->m_hWnd : nullptr;
    return TRUE;
}

namespace {
// The title-bar button of the system command as the sub-window shows it, in its coordinates;
// an invalid rectangle when it shows none.
QRect TitleButton(CTbMdiSubWindow* pSub, UINT uCommand)
{
    QStyle::SubControl control = QStyle::SC_None;
    switch (uCommand) {
    case SC_MINIMIZE: control = QStyle::SC_TitleBarMinButton; break;
    case SC_MAXIMIZE: control = QStyle::SC_TitleBarMaxButton; break;
    case SC_RESTORE:  control = QStyle::SC_TitleBarNormalButton; break;
    case SC_CLOSE:    control = QStyle::SC_TitleBarCloseButton; break;
    default:          return QRect();
    }
    QStyleOptionTitleBar option;
    option.initFrom(pSub);
    option.titleBarFlags = pSub->windowFlags();
    option.titleBarState = static_cast<int>(pSub->windowState());
    option.rect = QRect(0, 0, pSub->width(), pSub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, pSub));
    return pSub->style()->subControlRect(QStyle::CC_TitleBar, &option, control, pSub);
}
}  // namespace

BOOL TbQtClickTitleButton(HWND hChild, UINT uCommand)
{
    CTbMdiSubWindow* pSub = SubWindowOf(hChild);
    if (!pSub || !pSub->isVisible())
        return FALSE;
    const QRect rcButton = TitleButton(pSub, uCommand);
    if (!rcButton.isValid())
        return FALSE;
    TbQtClickWidget(pSub, QPointF(rcButton.center()));
    return TRUE;
}

BOOL TbQtTitleButtonOnScreen(HWND hChild, UINT uCommand, POINT* pptScreen)
{
    CTbMdiSubWindow* pSub = SubWindowOf(hChild);
    const QRect rcButton = pSub && pSub->isVisible() ? TitleButton(pSub, uCommand) : QRect();
    if (!rcButton.isValid() || !pptScreen)
        return FALSE;
    const QPoint pt = pSub->mapToGlobal(rcButton.center());
    *pptScreen = POINT{pt.x(), pt.y()};
    return TRUE;
}

BOOL TbQtMdiChildShownWhole(HWND hChild)
{
    CTbMdiSubWindow* pSub = SubWindowOf(hChild);
    QWidget* pInner = pSub ? pSub->widget() : nullptr;
    return pInner && pSub->isVisible() && pInner->isVisible() && !(pSub->windowState() & Qt::WindowMinimized) &&
           pInner->width() > 0 && pInner->height() > 0;
}

BOOL TbQtPicture(HWND hWnd, CTbPixelBuffer* pImage, RECT* prcFrame)
{
    QWidget* pShown = nullptr;
    RECT rcFrame = {};
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (CTbMdiArea* pArea = pWnd ? AreaOf(pWnd->pSurface.get()) : nullptr) {
        pShown = pArea->viewport();
    } else if (CTbMdiSubWindow* pSub = SubWindowOf(hWnd)) {
        pShown = pSub;
        if (QWidget* pInner = pSub->widget(); pInner && pInner->isVisible() && !(pSub->windowState() & Qt::WindowMinimized)) {
            const QRect rc = pInner->geometry();
            rcFrame = RECT{rc.left(), rc.top(), pSub->width() - rc.right() - 1, pSub->height() - rc.bottom() - 1};
        }
    } else {
        pShown = TbQtWidgetOf(hWnd);
    }
    if (pShown == nullptr || !pShown->isVisible() || pImage == nullptr)
        return FALSE;
    QImage image;
    if (QScreen* pScreen = pShown->screen();
        pShown->parentWidget() != nullptr && dynamic_cast<CTbMdiArea*>(pShown->parentWidget()) != nullptr &&
        pScreen != nullptr && QGuiApplication::platformName() != "offscreen") {
        // On a real display the client is what the screen shows: its pixels once the updates
        // asked for are flushed, not a fresh drawing of the widgets.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        const QPoint pt = pShown->mapTo(pShown->window(), QPoint(0, 0));
        image = pScreen->grabWindow(pShown->window()->winId(), pt.x(), pt.y(), pShown->width(), pShown->height()).toImage();
    } else {
        image = pShown->grab().toImage();
    }
    image = image.convertToFormat(QImage::Format_RGB32);
    pImage->Create(image.width(), image.height(), FALSE, 0);
    for (int y = 0; y < image.height(); ++y)
        memcpy(pImage->Row(y), image.constScanLine(y), static_cast<size_t>(image.width()) * 4);
    if (prcFrame)
        *prcFrame = rcFrame;
    return TRUE;
}
