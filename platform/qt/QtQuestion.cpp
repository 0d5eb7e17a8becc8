// Questions on Qt: showing the dialog and waking the layer's loop when it is answered.
#include "platform/qt/QtQuestion.h"
#include "platform/qt/QtInternal.h"
#include "platform/win/user/LayerWords.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/Window.h"

CTbQtQuestion::~CTbQtQuestion()
{
    // Not from the dialog's own handlers: the layer deletes a question after its loop ends.
    if (m_pDialog) {
        m_pDialog->hide();
        delete m_pDialog.data();
    }
}

QWidget* CTbQtQuestion::ParentFor(HWND hOwner)
{
    // Asked without an owner, it belongs to the window the user works in: it opens over that
    // window, and the window manager treats it as that window's dialog.
    QWidget* pWidget = TbQtWidgetOf(hOwner ? hOwner : GetActiveWindow());
    return pWidget ? pWidget->window() : nullptr;
}

void CTbQtQuestion::Show(QDialog* pDialog, BOOL bAppModal)
{
    m_pDialog = pDialog;
    // A dialog's frame: a title, a system menu and a close button, never minimise or maximise.
    pDialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint);
    // An Arabic user's dialogs read right to left, whatever page the texts are in.
    if (TbUserReadsArabic())
        pDialog->setLayoutDirection(Qt::RightToLeft);
    if (bAppModal)
        pDialog->setWindowModality(Qt::ApplicationModal);
    else if (pDialog->parentWidget())
        pDialog->setWindowModality(Qt::WindowModal);
    pDialog->show();
    pDialog->raise();
    pDialog->activateWindow();
}

void CTbQtQuestion::Finish()
{
    if (m_bDone)
        return;
    m_bDone = TRUE;
    // The loop sleeps until a message comes: this one carries nothing but the wake.
    PostThreadMessageA(0, WM_NULL, 0, 0);
}
