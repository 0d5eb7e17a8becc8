#pragma once
// A question on Qt: a dialog shown without exec(), while the layer's modal loop waits. The
// dialog belongs to the question and goes with it.
#include <QtCore/QPointer>
#include <QtWidgets/QDialog>
#include "platform/win/user/Questions.h"

class CTbQtQuestion : public ITbQuestion
{
public:
    ~CTbQtQuestion() override;
    BOOL IsDone() override { return m_bDone; }

protected:
    // Modal to the owner's window when there is one; with bAppModal to the whole program.
    void Show(QDialog* pDialog, BOOL bAppModal);
    // The answer is in the request: wake the loop that waits for it.
    void Finish();
    static QWidget* ParentFor(HWND hOwner);
    QPointer<QDialog> m_pDialog;

private:
    BOOL m_bDone = FALSE;
};
