// Message boxes on Qt: a QMessageBox with the original's buttons, icon and reading order, shown
// without exec(). Escape and the close button answer only where the box has an escape answer.
#include <QtGui/QKeyEvent>
#include <QtGui/QFontMetrics>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <map>
#include "platform/qt/QtInternal.h"
#include "platform/qt/QtQuestion.h"
#include "platform/win/user/MessageBox.h"

namespace {
// Room in a title bar beside the caption: the window's icon, its buttons and the margins.
const int CAPTION_ALLOWANCE = 160;

const struct { int nId; QMessageBox::StandardButton button; } s_buttons[] = {
    {IDOK, QMessageBox::Ok}, {IDCANCEL, QMessageBox::Cancel}, {IDABORT, QMessageBox::Abort},
    {IDRETRY, QMessageBox::Retry}, {IDIGNORE, QMessageBox::Ignore}, {IDYES, QMessageBox::Yes}, {IDNO, QMessageBox::No},
};
const struct { UINT uIcon; QMessageBox::Icon icon; } s_icons[] = {
    {MB_ICONHAND, QMessageBox::Critical}, {MB_ICONQUESTION, QMessageBox::Question},
    {MB_ICONEXCLAMATION, QMessageBox::Warning}, {MB_ICONASTERISK, QMessageBox::Information},
};

class CTbMessageBox : public QMessageBox
{
public:
    CTbMessageBox(QWidget* pParent, QAbstractButton** ppEscape) : QMessageBox(pParent), m_ppEscape(ppEscape) {}

protected:
    // Qt would pick an escape button of its own (No in a Yes/No box); the original has none there.
    void keyPressEvent(QKeyEvent* pEvent) override
    {
        if (pEvent->key() != Qt::Key_Escape)
            return QMessageBox::keyPressEvent(pEvent);
        if (*m_ppEscape)
            (*m_ppEscape)->click();
    }
    void closeEvent(QCloseEvent* pEvent) override
    {
        pEvent->ignore();
        if (*m_ppEscape)
            (*m_ppEscape)->click();
    }

private:
    QAbstractButton** m_ppEscape;
};

class CTbQtMessageBoxQuestion : public CTbQtQuestion
{
public:
    CTbQtMessageBoxQuestion(HWND hOwner, TBMESSAGEBOXQUESTION* pQuestion)
    {
        auto* pBox = new CTbMessageBox(ParentFor(hOwner), &m_pEscape);
        pBox->setObjectName(QStringLiteral("TbMessageBox"));
        pBox->setWindowTitle(QString::fromStdString(pQuestion->strCaption));
        pBox->setTextFormat(Qt::PlainText);     // the original shows markup as it stands
        pBox->setText(QString::fromStdString(pQuestion->strText));
        for (const auto& i : s_icons)
            if (i.uIcon == pQuestion->uIcon)
                pBox->setIcon(i.icon);
        for (int nId : pQuestion->buttons) {
            for (const auto& b : s_buttons) {
                if (b.nId != nId)
                    continue;
                QPushButton* pButton = pBox->addButton(b.button);
                m_ids[pButton] = nId;
                if (nId == pQuestion->nDefault)
                    pBox->setDefaultButton(pButton);
                if (nId == pQuestion->nEscape)
                    m_pEscape = pButton;
            }
        }
        if (pQuestion->bRtl)
            pBox->setLayoutDirection(Qt::RightToLeft);
        // The box is at least as wide as its caption with the window manager's icon and buttons
        // beside it, so that a short question does not cut its caption short.
        if (auto* pGrid = qobject_cast<QGridLayout*>(pBox->layout())) {
            const int cxCaption = QFontMetrics(QApplication::font()).horizontalAdvance(pBox->windowTitle());
            pGrid->addItem(new QSpacerItem(cxCaption + CAPTION_ALLOWANCE, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                           pGrid->rowCount(), 0, 1, pGrid->columnCount());
        }
        if (QLabel* pLabel = pBox->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")); pLabel && pQuestion->bRight)
            pLabel->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
        QObject::connect(pBox, &QMessageBox::buttonClicked, [this, pQuestion](QAbstractButton* pButton) {
            const auto it = m_ids.find(pButton);
            pQuestion->nAnswer = it == m_ids.end() ? pQuestion->nEscape : it->second;
            Finish();
        });
        Show(pBox, pQuestion->bAppModal);
    }

private:
    std::map<QAbstractButton*, int> m_ids;
    QAbstractButton* m_pEscape = nullptr;
};
}  // namespace

ITbQuestion* TbQtAskMessageBox(HWND hOwner, TBMESSAGEBOXQUESTION* pQuestion)
{
    return new CTbQtMessageBoxQuestion(hOwner, pQuestion);
}
