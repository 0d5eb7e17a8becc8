// Menus on the Qt display: a window's menu bar and the popup menu, built from the layer's menu
// objects each time they show, after the owner has prepared them.
#include <QtCore/QPointer>
#include <QtGui/QAction>
#include <QtGui/QImage>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMenu>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QStyle>
#include <QtWidgets/QToolButton>
#include <vector>
#include "platform/qt/QtInternal.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/WindowWidget.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/Window.h"

namespace {
// The popup open now (one at a time) and what the user chose in it.
struct PopupSession {
    QPointer<QMenu> pMenu;
    HWND hOwner = nullptr;
    UINT uChosen = 0;
};
PopupSession& Popup()
{
    static PopupSession* s_pSession = new PopupSession;
    return *s_pSession;
}

QString MenuText(const char* pszText)
{
    return QString::fromStdString(TbCodePageToUtf8(pszText, CP_ACP));
}

// Submenus made for the last filling go with the next one.
void DropSubmenus(QWidget* pMenu)
{
    for (QAction* pAction : pMenu->actions())
        if (QMenu* pSub = pAction->menu())
            pSub->deleteLater();
}

void FillMenu(QWidget* pTarget, HMENU hMenu, HWND hOwner, const std::function<void(UINT)>& fnChosen);

QMenu* AddSubmenu(QWidget* pTarget, const QString& strText, HMENU hSub, int nPos, HWND hOwner, BOOL bBar,
                  const std::function<void(UINT)>& fnChosen)
{
    auto* pSub = new QMenu(strText, pTarget);
    if (auto* pBar = qobject_cast<QMenuBar*>(pTarget))
        pBar->addMenu(pSub);
    else
        static_cast<QMenu*>(pTarget)->addMenu(pSub);
    // The owner prepares the submenu (greys, checks) before it is built and shown.
    QObject::connect(pSub, &QMenu::aboutToShow, pSub, [pSub, hSub, nPos, hOwner, bBar, fnChosen] {
        CTbQtHandlerScope scope;
        TbDisplayMenuInit(hOwner, hSub, nPos, bBar);
        if (IsMenu(hSub))
            FillMenu(pSub, hSub, hOwner, fnChosen);
    });
    if (bBar) {
        // A menu of the bar ends its menu loop when it closes; the choice comes with the end.
        auto pChosen = std::make_shared<UINT>(0);
        QObject::connect(pSub, &QMenu::triggered, pSub, [pChosen](QAction* pAction) {
            *pChosen = pAction->data().toUInt();
        });
        QObject::connect(pSub, &QMenu::aboutToHide, pSub, [pSub, pChosen, hOwner] {
            *pChosen = 0;
            QMetaObject::invokeMethod(pSub, [pChosen, hOwner] {
                CTbQtHandlerScope scope;
                TbDisplayMenuDone(hOwner, *pChosen);
            }, Qt::QueuedConnection);
        });
    }
    return pSub;
}

// The buttons of a maximised MDI child, drawn as the window's title bar draws them.
QStyle::StandardPixmap ButtonPixmap(HBITMAP hbm)
{
    if (hbm == HBMMENU_MBAR_MINIMIZE)
        return QStyle::SP_TitleBarMinButton;
    if (hbm == HBMMENU_MBAR_RESTORE)
        return QStyle::SP_TitleBarNormalButton;
    return QStyle::SP_TitleBarCloseButton;
}

BOOL IsBarButton(HBITMAP hbm)
{
    return hbm == HBMMENU_MBAR_MINIMIZE || hbm == HBMMENU_MBAR_RESTORE || hbm == HBMMENU_MBAR_CLOSE;
}

// The bar's buttons stand in its far corner; a click is the command, as a menu item's.
void FillBarButtons(QMenuBar* pBar, HMENU hMenu, HWND hOwner)
{
    if (QWidget* pOld = pBar->cornerWidget(Qt::TopRightCorner)) {
        pBar->setCornerWidget(nullptr, Qt::TopRightCorner);
        pOld->hide();
        pOld->deleteLater();
    }
    QWidget* pCorner = nullptr;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i) {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_ID | MIIM_BITMAP;
        if (!GetMenuItemInfoA(hMenu, static_cast<UINT>(i), TRUE, &mii) || !IsBarButton(mii.hbmpItem))
            continue;
        if (!pCorner) {
            pCorner = new QWidget(pBar);
            auto* pLayout = new QHBoxLayout(pCorner);
            pLayout->setContentsMargins(0, 0, 2, 0);
            pLayout->setSpacing(0);
        }
        auto* pButton = new QToolButton(pCorner);
        pButton->setIcon(pBar->style()->standardIcon(ButtonPixmap(mii.hbmpItem), nullptr, pBar));
        pButton->setAutoRaise(true);
        pButton->setFocusPolicy(Qt::NoFocus);
        pButton->setProperty("tbCommand", static_cast<uint>(mii.wID));
        const UINT uId = mii.wID;
        QObject::connect(pButton, &QToolButton::clicked, pButton, [uId, hOwner] {
            CTbQtHandlerScope scope;
            TbDisplayMenuDone(hOwner, uId);
        });
        pCorner->layout()->addWidget(pButton);
    }
    if (pCorner) {
        pBar->setCornerWidget(pCorner, Qt::TopRightCorner);
        pCorner->show();
    }
}

void FillMenu(QWidget* pTarget, HMENU hMenu, HWND hOwner, const std::function<void(UINT)>& fnChosen)
{
    DropSubmenus(pTarget);
    auto* pBar = qobject_cast<QMenuBar*>(pTarget);
    if (pBar) {
        pBar->clear();
        FillBarButtons(pBar, hMenu, hOwner);
    } else {
        static_cast<QMenu*>(pTarget)->clear();
    }
    const int nCount = GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        char szText[256] = {};
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_BITMAP | MIIM_DATA;
        mii.dwTypeData = szText;
        mii.cch = sizeof szText;
        if (!GetMenuItemInfoA(hMenu, static_cast<UINT>(i), TRUE, &mii) || (pBar && IsBarButton(mii.hbmpItem)))
            continue;
        if (mii.fType & MFT_SEPARATOR) {
            if (auto* pMenu = qobject_cast<QMenu*>(pTarget))
                pMenu->addSeparator();
            continue;
        }
        const QString strText = MenuText(szText);
        const bool bEnabled = !(mii.fState & MFS_GRAYED);
        QAction* pAction = nullptr;
        if (mii.hSubMenu) {
            pAction = AddSubmenu(pTarget, strText, mii.hSubMenu, i, hOwner, pBar != nullptr, fnChosen)->menuAction();
            pAction->setData(QVariant());
            // A maximised MDI child's system menu shows as the child's icon, as its title bar did.
            if (mii.hbmpItem == HBMMENU_SYSTEM) {
                QWidget* pChild = TbQtWidgetOf(reinterpret_cast<HWND>(mii.dwItemData));
                QWidget* pSub = pChild ? pChild->parentWidget() : nullptr;
                pAction->setIcon(pSub && !pSub->windowIcon().isNull()
                                     ? pSub->windowIcon()
                                     : pTarget->style()->standardIcon(QStyle::SP_TitleBarMenuButton, nullptr, pTarget));
            }
        } else {
            pAction = new QAction(strText, pTarget);
            pTarget->addAction(pAction);
            pAction->setData(static_cast<uint>(mii.wID));
            pAction->setCheckable((mii.fState & MFS_CHECKED) != 0);
            pAction->setChecked((mii.fState & MFS_CHECKED) != 0);
            const UINT uId = mii.wID;
            QObject::connect(pAction, &QAction::triggered, pAction, [fnChosen, uId, hOwner, pBar] {
                if (pBar) {
                    // A command on the bar itself, with no submenu.
                    CTbQtHandlerScope scope;
                    TbDisplayMenuDone(hOwner, uId);
                } else if (fnChosen) {
                    fnChosen(uId);
                }
            });
        }
        pAction->setEnabled(bEnabled);
        // Moving over an item tells the owner (WM_MENUSELECT): the id, or a submenu's position.
        const UINT uItem = mii.hSubMenu ? static_cast<UINT>(i) : mii.wID;
        const UINT uFlags = (mii.fState & (MFS_GRAYED | MFS_CHECKED)) | (mii.hSubMenu ? MF_POPUP : 0);
        QObject::connect(pAction, &QAction::hovered, pAction, [hOwner, hMenu, uItem, uFlags] {
            CTbQtHandlerScope scope;
            TbDisplayMenuSelect(hOwner, hMenu, uItem, uFlags);
        });
    }
}

// The top-left corner that puts a menu of this size at pt as the TPM_ flags align it.
QPoint AlignedCorner(QSize size, UINT uFlags, POINT pt)
{
    int x = pt.x, y = pt.y;
    if (uFlags & TPM_RIGHTALIGN)
        x -= size.width();
    else if (uFlags & TPM_CENTERALIGN)
        x -= size.width() / 2;
    if (uFlags & TPM_BOTTOMALIGN)
        y -= size.height();
    else if (uFlags & TPM_VCENTERALIGN)
        y -= size.height() / 2;
    return QPoint(x, y);
}
}  // namespace

int CTbQtSurface::SetMenuBar(HMENU hMenu)
{
    CTbWindowWidget* pWidget = m_pWidget;
    if (!pWidget || !pWidget->isWindow())
        return 0;
    if (!hMenu) {
        if (pWidget->m_pMenuBar)
            pWidget->m_pMenuBar->deleteLater();
        pWidget->m_pMenuBar = nullptr;
    } else {
        if (!pWidget->m_pMenuBar) {
            pWidget->m_pMenuBar = new QMenuBar(pWidget);
            pWidget->m_pMenuBar->setNativeMenuBar(false);
        }
        FillMenu(pWidget->m_pMenuBar, hMenu, pWidget->GetHwnd(), nullptr);
        // A right-to-left window's menu runs from the right, as its toolbar and status bar do.
        const bool bRtl = (GetWindowLongA(pWidget->GetHwnd(), GWL_EXSTYLE) & (WS_EX_LAYOUTRTL | WS_EX_RTLREADING)) != 0;
        pWidget->m_pMenuBar->setLayoutDirection(bRtl ? Qt::RightToLeft : Qt::LeftToRight);
        pWidget->m_pMenuBar->show();
    }
    const int nOld = pWidget->m_nClientTop;
    const int nHeight = pWidget->m_pMenuBar ? pWidget->m_pMenuBar->sizeHint().height() : 0;
    pWidget->m_nClientTop = nHeight;
    if (pWidget->m_pMenuBar)
        pWidget->m_pMenuBar->setGeometry(0, 0, pWidget->width(), nHeight);
    // The child windows keep their client coordinates: they move with the client area.
    if (nHeight != nOld)
        for (QObject* pChild : pWidget->children())
            if (auto* pChildWidget = dynamic_cast<CTbWindowWidget*>(pChild))
                pChildWidget->move(pChildWidget->x(), pChildWidget->y() + nHeight - nOld);
    pWidget->update();
    return nHeight;
}

BOOL TbQtOpenPopupMenu(HMENU hMenu, UINT uFlags, POINT pt, HWND hOwner)
{
    PopupSession& session = Popup();
    TbQtClosePopupMenu();
    auto* pMenu = new QMenu(TbQtWidgetOf(hOwner));
    if (uFlags & TPM_LAYOUTRTL)
        pMenu->setLayoutDirection(Qt::RightToLeft);
    session.pMenu = pMenu;
    session.hOwner = hOwner;
    session.uChosen = 0;
    FillMenu(pMenu, hMenu, hOwner, [](UINT uId) { Popup().uChosen = uId; });
    // Qt emits the choice after it hides the menu: the end is reported once both are known.
    QObject::connect(pMenu, &QMenu::aboutToHide, pMenu, [pMenu] {
        QMetaObject::invokeMethod(pMenu, [pMenu] {
            PopupSession& s = Popup();
            if (s.pMenu != pMenu)
                return;
            s.pMenu = nullptr;
            pMenu->deleteLater();
            CTbQtHandlerScope scope;
            TbDisplayMenuDone(s.hOwner, s.uChosen);
        }, Qt::QueuedConnection);
    });
    pMenu->popup(AlignedCorner(pMenu->sizeHint(), uFlags, pt));
    return TRUE;
}

void TbQtClosePopupMenu()
{
    PopupSession& session = Popup();
    if (QMenu* pMenu = session.pMenu) {
        session.pMenu = nullptr;
        pMenu->disconnect();
        pMenu->hide();
        pMenu->deleteLater();
    }
}

QMenu* TbQtOpenPopup()
{
    return Popup().pMenu;
}

BOOL TbQtChooseFromMenuBar(HWND hWnd, UINT uId)
{
    auto* pWidget = dynamic_cast<CTbWindowWidget*>(TbQtWidgetOf(hWnd));
    QMenuBar* pBar = pWidget ? pWidget->m_pMenuBar.data() : nullptr;
    if (!pBar)
        return FALSE;
    auto click = [](QWidget* pTarget, QPoint pt) {
        QPointer<QWidget> pAlive = pTarget;
        const QPointF ptGlobal = pTarget->mapToGlobal(QPointF(pt));
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(pt), ptGlobal, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pTarget, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(pt), ptGlobal, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        if (pAlive)
            QApplication::sendEvent(pAlive, &release);
    };
    for (QAction* pTop : pBar->actions()) {
        if (!pTop->menu())
            continue;
        QMenu* pMenu = pTop->menu();
        click(pBar, pBar->actionGeometry(pTop).center());
        if (!pMenu->isVisible())
            continue;
        for (QAction* pItem : pMenu->actions())
            if (!pItem->menu() && pItem->data().toUInt() == uId) {
                click(pMenu, pMenu->actionGeometry(pItem).center());
                return TRUE;
            }
        pMenu->hide();
    }
    return FALSE;
}

BOOL TbQtMenuBarButtonOnScreen(HWND hFrame, UINT uCommand, POINT* pptScreen)
{
    auto* pWidget = dynamic_cast<CTbWindowWidget*>(TbQtWidgetOf(hFrame));
    QMenuBar* pBar = pWidget ? pWidget->m_pMenuBar.data() : nullptr;
    QWidget* pCorner = pBar ? pBar->cornerWidget(Qt::TopRightCorner) : nullptr;
    if (!pCorner || !pptScreen)
        return FALSE;
    for (QToolButton* pButton : pCorner->findChildren<QToolButton*>())
        if (pButton->isVisible() && pButton->property("tbCommand").toUInt() == uCommand) {
            const QPoint pt = pButton->mapToGlobal(pButton->rect().center());
            *pptScreen = POINT{pt.x(), pt.y()};
            return TRUE;
        }
    return FALSE;
}

int TbSaveScreenPng(HWND hWnd, LPCSTR pszPath)
{
    QWidget* pWidget = TbQtWidgetOf(hWnd);
    if (!pWidget || !pszPath)
        return -1;
    // The window's own rectangle, as the layer has it: the widget of an MDI document can stand
    // larger than its frame shows, and what lies beyond is not the window.
    RECT rc = {};
    GetWindowRect(hWnd, &rc);
    const QRect rcOwn(0, 0, rc.right - rc.left, rc.bottom - rc.top);
    QImage image = pWidget->grab(rcOwn.isEmpty() ? QRect(QPoint(0, 0), QSize(-1, -1)) : rcOwn).toImage();
    QPainter painter(&image);
    int nMenus = 0;
    // The popup first, then the submenus that open over it.
    std::vector<QMenu*> menus;
    if (QMenu* pPopup = TbQtOpenPopup(); pPopup && pPopup->isVisible())
        menus.push_back(pPopup);
    for (QWidget* pTop : QApplication::topLevelWidgets())
        if (auto* pMenu = qobject_cast<QMenu*>(pTop); pMenu && pMenu->isVisible() && pMenu != TbQtOpenPopup())
            menus.push_back(pMenu);
    for (QMenu* pMenu : menus) {
        painter.drawPixmap(pWidget->mapFromGlobal(pMenu->pos()), pMenu->grab());
        ++nMenus;
    }
    painter.end();
    return image.save(QString::fromLocal8Bit(pszPath), "PNG") ? nMenus : -1;
}
