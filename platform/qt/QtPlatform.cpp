// Bringing the Qt display up.
#include "platform/qt/QtPlatform.h"
#include <QtGui/QFont>
#include <QtWidgets/QApplication>
#include "platform/qt/QtInternal.h"
#include "platform/qt/WindowWidget.h"
#include "platform/win/user/WindowRecord.h"

static void AddFaceSubstitutes()
{
    // The faces the original's resources and settings name, on a machine that has none of them.
    static const char* const s_sans[] = {"MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2", "Microsoft Sans Serif",
                                         "Arial", "Tahoma", "Verdana", "Segoe UI", "System",
                                         "Traditional Arabic", "Simplified Arabic", "Arabic Transparent"};
    static const char* const s_mono[] = {"Courier New", "Courier", "Lucida Console", "Fixedsys", "Terminal"};
    for (const char* psz : s_sans)
        QFont::insertSubstitution(QString::fromLatin1(psz), QStringLiteral("DejaVu Sans"));
    for (const char* psz : s_mono)
        QFont::insertSubstitution(QString::fromLatin1(psz), QStringLiteral("DejaVu Sans Mono"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("DejaVu Serif"));
}

BOOL TbInitQtPlatform(int* pArgc, char** argv)
{
    if (!TbIsUiThread())
        return FALSE;
    if (!QCoreApplication::instance()) {
        static int s_nArgc = 1;
        static char s_szName[] = "terminal";
        static char* s_argv[] = {s_szName, nullptr};
        bool bGiven = pArgc && argv && *pArgc > 0;
        new QApplication(bGiven ? *pArgc : s_nArgc, bGiven ? argv : s_argv);
    } else if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        return FALSE;       // a console-only application object cannot show windows
    }
    AddFaceSubstitutes();
    TbQtInstallMenuStyle();
    TbSetTextEngine(TbQtTextEngine());
    TbSetImageCodec(TbQtImageCodec());
    TbSetDisplay(TbQtDisplay());
    return TRUE;
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

QWidget* TbQtWidgetOf(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    CTbQtSurface* pSurface = pWnd ? static_cast<CTbQtSurface*>(pWnd->pSurface.get()) : nullptr;
    return pSurface ? pSurface->Widget() : nullptr;
}
