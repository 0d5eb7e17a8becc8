// Bringing the Qt display up.
#include "platform/qt/QtPlatform.h"
#include <QtCore/QPointer>
#include <QtCore/QTimer>
#include <QtGui/QFont>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtCore/QTranslator>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMenu>
#include "platform/qt/QtInternal.h"
#include "platform/qt/WindowWidget.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/Accelerators.h"
#include "platform/win/user/LayerWords.h"
#include "platform/win/user/WebEngine.h"
#include "platform/win/spool/Printers.h"
#include "platform/win/user/WindowRecord.h"

static void AddFaceSubstitutes()
{
    // The faces the original's resources and settings name, on a machine that has none of them.
    // The column widths were made for the original's faces: the Liberation faces keep their
    // metrics, and DejaVu after them brings the Arabic letters the Liberation faces lack.
    static const struct {
        const char* pszFace;
        const char* pszFirst;
        const char* pszThen;
    } s_substitutes[] = {
        {"MS Sans Serif", "Liberation Sans", "DejaVu Sans"},
        {"MS Shell Dlg", "Liberation Sans", "DejaVu Sans"},
        {"MS Shell Dlg 2", "Liberation Sans", "DejaVu Sans"},
        {"Microsoft Sans Serif", "Liberation Sans", "DejaVu Sans"},
        {"Arial", "Liberation Sans", "DejaVu Sans"},
        {"Times New Roman", "Liberation Serif", "DejaVu Sans"},
        {"Courier New", "Liberation Mono", "DejaVu Sans Mono"},
        {"Courier", "Liberation Mono", "DejaVu Sans Mono"},
        {"Tahoma", "DejaVu Sans", nullptr},
        {"Verdana", "DejaVu Sans", nullptr},
        {"Segoe UI", "DejaVu Sans", nullptr},
        {"System", "DejaVu Sans", nullptr},
        {"Traditional Arabic", "DejaVu Sans", nullptr},
        {"Simplified Arabic", "DejaVu Sans", nullptr},
        {"Arabic Transparent", "DejaVu Sans", nullptr},
        {"Lucida Console", "DejaVu Sans Mono", nullptr},
        {"Fixedsys", "DejaVu Sans Mono", nullptr},
        {"Terminal", "DejaVu Sans Mono", nullptr},
    };
    for (const auto& face : s_substitutes) {
        QStringList faces{QString::fromLatin1(face.pszFirst)};
        if (face.pszThen)
            faces << QString::fromLatin1(face.pszThen);
        QFont::insertSubstitutions(QString::fromLatin1(face.pszFace), faces);
    }
}

namespace {
// Qt's own dialog words (the standard buttons, the file, font and colour choosers) in the user's
// language, asked each time a dialog is made: the program ships no translation files.
class CLayerTranslator : public QTranslator
{
public:
    QString translate(const char*, const char* pszSource, const char* = nullptr, int = -1) const override
    {
        const char* pszArabic = TbUserReadsArabic() ? TbArabicLayerWord(pszSource) : nullptr;
        return pszArabic != nullptr ? QString::fromUtf8(pszArabic) : QString();
    }
    bool isEmpty() const override { return false; }
};
}  // namespace

namespace {
// What Qt draws itself inside a window (its menu bar, the bar's buttons, the frames and buttons
// of document windows) takes no input while the window's top-level is disabled: a modal dialog
// is up over it. The layer's own windows are kept by the layer as well.
class CModalityGuard : public QObject
{
    static const int REFUSED_RAISE_MS = 50;

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override
    {
        switch (pEvent->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            // The layer gives a key to its focus, which the modal loop keeps in the dialog, even
            // when the window manager left the keyboard with the owner.
            if (dynamic_cast<CTbWindowWidget*>(pObject) != nullptr)
                return false;
            break;
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
            break;
        default:
            return false;
        }
        if (!pObject->isWidgetType())
            return false;
        for (auto* pWidget = static_cast<QWidget*>(pObject); pWidget; pWidget = pWidget->parentWidget()) {
            auto* pWindow = dynamic_cast<CTbWindowWidget*>(pWidget);
            // A window of Qt's own (a message box, a chooser, a popup menu) answers for itself.
            if (!pWindow && pWidget->isWindow())
                return false;
            if (!pWindow)
                continue;
            const HWND hWnd = pWindow->GetHwnd();
            if (!hWnd || TbDisplayTakesInput(hWnd))
                return false;
            // Once the window manager is done with the press (it moves the keyboard to the window
            // clicked), the modal dialog comes forward.
            if (pEvent->type() == QEvent::MouseButtonPress)
                QTimer::singleShot(REFUSED_RAISE_MS, [hWnd] {
                    CTbQtHandlerScope scope;
                    TbDisplayInputRefused(hWnd);
                });
            return true;
        }
        return false;
    }
};
}  // namespace

BOOL TbInitQtPlatform(int* pArgc, char** argv)
{
    if (!TbIsUiThread())
        return FALSE;
    // No fast moves of child widgets: Qt paints a moved sub-window that nothing covered when it
    // moved without looking again at the siblings an arrangement moves over it afterwards, so a
    // cascade showed a back window's picture over the front ones until they painted again.
    qputenv("QT_NO_FAST_MOVE", "1");
    if (!QCoreApplication::instance()) {
        static int s_nArgc = 1;
        static char s_szName[] = "terminal";
        static char* s_argv[] = {s_szName, nullptr};
        bool bGiven = pArgc && argv && *pArgc > 0;
#ifdef TB_HAVE_WEB_ENGINE
        TbQtPrepareWebEngine();
#endif
        new QApplication(bGiven ? *pArgc : s_nArgc, bGiven ? argv : s_argv);
    } else if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        return FALSE;       // a console-only application object cannot show windows
    }
    AddFaceSubstitutes();
    static CLayerTranslator* s_pTranslator = nullptr;
    if (s_pTranslator == nullptr) {
        s_pTranslator = new CLayerTranslator;
        QCoreApplication::installTranslator(s_pTranslator);
    }
    static CModalityGuard* s_pGuard = nullptr;
    if (s_pGuard == nullptr) {
        s_pGuard = new CModalityGuard;
        qApp->installEventFilter(s_pGuard);
    }
    TbQtInstallMenuStyle();
    TbSetTextEngine(TbQtTextEngine());
    TbSetImageCodec(TbQtImageCodec());
    TbSetDisplay(TbQtDisplay());
#ifdef TB_HAVE_WEB_ENGINE
    TbSetWebEngine(TbQtWebEngine());
#endif
    TbSetPrintSystem(TbQtPrintSystem());
    return TRUE;
}

// Qt's own: the shortcut map tried with a key before the key goes to its widget, as the window
// system's keys are.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* pObject, ulong nTimestamp, int nKey,
                                               Qt::KeyboardModifiers mods, const QString& strText,
                                               bool bRepeat, ushort nCount);

BOOL TbQtPressKey(HWND hWnd, UINT uVk, BYTE fVirt, char chTyped)
{
    auto* pWidget = dynamic_cast<CTbWindowWidget*>(TbQtWidgetOf(hWnd));
    const char szTyped[2] = {chTyped, '\0'};
    const QString strTyped = QString::fromStdString(TbCodePageToUtf8(szTyped, CP_ACP));
    // Qt names a letter's key by its capital.
    const int nKey = uVk != 0 ? TbQtKeyOfVirtualKey(uVk) : strTyped.isEmpty() ? 0 : strTyped.toUpper()[0].unicode();
    if (!pWidget || !pWidget->isWindow() || nKey == 0)
        return FALSE;
    QApplication::setActiveWindow(pWidget);
    Qt::KeyboardModifiers mods;
    if (fVirt & FSHIFT)
        mods |= Qt::ShiftModifier;
    if (fVirt & FCONTROL)
        mods |= Qt::ControlModifier;
    if (fVirt & FALT)
        mods |= Qt::AltModifier;
    // The character a letter or digit gives: a control character with Ctrl, as X gives it.
    QString strText = strTyped;
    if (uVk >= 'A' && uVk <= 'Z')
        strText = (fVirt & FCONTROL) ? QString(QChar(nKey - Qt::Key_A + 1))
                                     : QString(QChar((fVirt & FSHIFT) ? nKey : nKey - Qt::Key_A + 'a'));
    else if (uVk >= '0' && uVk <= '9' && !(fVirt & FCONTROL))
        strText = QString(QChar(nKey));
    QWidget* pTarget = QApplication::focusWidget();
    if (!pTarget || pTarget->window() != pWidget)
        pTarget = pWidget;
    QPointer<QWidget> pAlive = pTarget;
    QKeyEvent press(QEvent::KeyPress, nKey, mods, strText);
    if (!qt_sendShortcutOverrideEvent(pTarget, press.timestamp(), nKey, mods, strText, false, 1) && pAlive)
        QApplication::sendEvent(pTarget, &press);
    QKeyEvent release(QEvent::KeyRelease, nKey, mods, strText);
    if (pAlive)
        QApplication::sendEvent(pTarget, &release);
    // The modifiers go up after the key, as the window system tells.
    CTbQtHandlerScope scope;
    TbDisplayModifiers(FALSE, FALSE, FALSE);
    return TRUE;
}

BOOL TbQtTypeText(HWND hWnd, const char* pszUtf8, BOOL bOwnKeys)
{
    auto* pWidget = dynamic_cast<CTbWindowWidget*>(TbQtWidgetOf(hWnd));
    if (!pWidget || !pWidget->isWindow() || pszUtf8 == nullptr)
        return FALSE;
    QApplication::setActiveWindow(pWidget);
    for (const char32_t ch : QString::fromUtf8(pszUtf8).toUcs4()) {
        const QString strText = QString::fromUcs4(&ch, 1);
        int nKey = strText.toUpper().toUcs4().value(0);
        quint32 nScan = 0;
        if (bOwnKeys) {
            // The digit keys of every script are X keycodes 10 ('1') to 19 ('0').
            int nDigit = -1;
            if (ch >= U'0' && ch <= U'9')
                nDigit = static_cast<int>(ch - U'0');
            else if ((ch >= 0x0660 && ch <= 0x0669) || (ch >= 0x06F0 && ch <= 0x06F9))
                nDigit = static_cast<int>(ch & 0x0F);
            if (nDigit >= 0) {
                nKey = Qt::Key_0 + nDigit;
                nScan = static_cast<quint32>(nDigit == 0 ? 19 : 9 + nDigit);
            } else if (ch == U'.' || ch == 0x066B) {
                // The Arabic decimal separator lies on AltGr+K of the Arabic keyboard.
                nScan = ch == U'.' ? 60 : 45;
            } else if (ch == U',' || ch == 0x066C) {
                nScan = 59;
            } else if (ch == U'-') {
                nScan = 20;
            }
        }
        QWidget* pTarget = QApplication::focusWidget();
        if (!pTarget || pTarget->window() != pWidget)
            pTarget = pWidget;
        QPointer<QWidget> pAlive = pTarget;
        QKeyEvent press(QEvent::KeyPress, nKey, Qt::NoModifier, nScan, 0, 0, strText);
        QApplication::sendEvent(pTarget, &press);
        QKeyEvent release(QEvent::KeyRelease, nKey, Qt::NoModifier, nScan, 0, 0, strText);
        if (pAlive)
            QApplication::sendEvent(pTarget, &release);
    }
    return TRUE;
}

BOOL TbQtMenuOpen()
{
    return qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr;
}

HWND TbQtActiveWindow()
{
    auto* pWidget = dynamic_cast<CTbWindowWidget*>(QApplication::activeWindow());
    return pWidget != nullptr ? pWidget->GetHwnd() : nullptr;
}

BOOL TbQtClickWindow(HWND hWnd, POINT ptClient)
{
    auto* pWidget = dynamic_cast<CTbWindowWidget*>(TbQtWidgetOf(hWnd));
    if (!pWidget)
        return FALSE;
    const QPoint ptWidget(ptClient.x, ptClient.y + pWidget->m_nClientTop);
    QWidget* pTarget = pWidget->childAt(ptWidget);
    if (!pTarget)
        pTarget = pWidget;
    TbQtClickWidget(pTarget, pTarget->mapFromGlobal(pWidget->mapToGlobal(QPointF(ptWidget))));
    return TRUE;
}

void TbQtClickWidget(QWidget* pTarget, const QPointF& ptLocal)
{
    const QPointF ptGlobal = pTarget->mapToGlobal(ptLocal);
    QPointer<QWidget> pAlive = pTarget;
    QMouseEvent press(QEvent::MouseButtonPress, ptLocal, ptGlobal, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pTarget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, ptLocal, ptGlobal, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    if (pAlive)
        QApplication::sendEvent(pAlive, &release);
}

BOOL TbQtGetSurfaceGeometry(HWND hWnd, RECT* pRect)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    CTbQtSurface* pSurface = pWnd ? static_cast<CTbQtSurface*>(pWnd->pSurface.get()) : nullptr;
    if (!pSurface || !pSurface->Widget() || !pRect)
        return FALSE;
    QRect rc = pSurface->Widget()->geometry();
    if (!pSurface->Widget()->isWindow())
        rc.moveTopLeft(pSurface->Widget()->mapToGlobal(QPoint(0, 0)));
    *pRect = RECT{rc.left(), rc.top(), rc.left() + rc.width(), rc.top() + rc.height()};
    return TRUE;
}

BOOL TbQtShownTitle(HWND hWnd, std::string* pstrTitle, int* pnWidth, int* pnRoom)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    auto* pSurface = pWnd ? dynamic_cast<CTbQtSurface*>(pWnd->pSurface.get()) : nullptr;
    if (!pSurface || !pSurface->Widget())
        return FALSE;
    const QString strShown = pSurface->Widget()->windowTitle();
    if (pstrTitle)
        *pstrTitle = strShown.toStdString();
    if (pnWidth)
        *pnWidth = QFontMetrics(TbQtTitleFont()).horizontalAdvance(strShown);
    if (pnRoom)
        *pnRoom = TbQtTitleRoom(pSurface->Widget()->width());
    return TRUE;
}

QWidget* TbQtWidgetOf(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    CTbQtSurface* pSurface = pWnd ? static_cast<CTbQtSurface*>(pWnd->pSurface.get()) : nullptr;
    return pSurface ? pSurface->Widget() : nullptr;
}
