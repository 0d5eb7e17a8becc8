// A printer's document properties on Qt: paper, orientation, copies with collation, and colour,
// in the program's language (right to left in Arabic), shown without exec() while the layer's
// modal loop waits.
#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QVBoxLayout>
#include "platform/qt/QtInternal.h"
#include "platform/qt/QtQuestion.h"
#include "platform/win/user/LayerWords.h"

namespace {
// The dialog's words in the user's language.
QString Text(const char* pszEnglish)
{
    return QString::fromUtf8(TbLayerWord(pszEnglish));
}

class CTbQtPrinterPropsQuestion : public CTbQtQuestion
{
public:
    CTbQtPrinterPropsQuestion(HWND hOwner, TBPRINTERPROPSQUESTION* pQ)
    {
        auto* pDialog = new QDialog(ParentFor(hOwner));
        pDialog->setObjectName(QStringLiteral("TbPrinterProperties"));
        pDialog->setWindowTitle(QString::fromStdString(pQ->strPrinter) + QStringLiteral(" - ") + Text("Document properties"));
        pDialog->setLayoutDirection(TbUserReadsArabic() ? Qt::RightToLeft : Qt::LeftToRight);
        auto* pForm = new QFormLayout;
        auto* pPaper = new QComboBox(pDialog);
        pPaper->setObjectName(QStringLiteral("paper"));
        for (const auto& paper : pQ->papers) {
            pPaper->addItem(QString::fromStdString(paper.second), static_cast<int>(paper.first));
            if (paper.first == pQ->nPaper)
                pPaper->setCurrentIndex(pPaper->count() - 1);
        }
        pForm->addRow(Text("Paper:"), pPaper);
        auto* pPortrait = new QRadioButton(Text("Portrait"), pDialog);
        auto* pLandscape = new QRadioButton(Text("Landscape"), pDialog);
        pLandscape->setObjectName(QStringLiteral("landscape"));
        (pQ->bLandscape ? pLandscape : pPortrait)->setChecked(true);
        auto* pOrientation = new QVBoxLayout;
        pOrientation->addWidget(pPortrait);
        pOrientation->addWidget(pLandscape);
        pForm->addRow(Text("Orientation:"), pOrientation);
        auto* pCopies = new QSpinBox(pDialog);
        pCopies->setObjectName(QStringLiteral("copies"));
        pCopies->setRange(1, 999);
        pCopies->setValue(pQ->nCopies);
        pForm->addRow(Text("Copies:"), pCopies);
        auto* pCollate = new QCheckBox(Text("Collate"), pDialog);
        pCollate->setObjectName(QStringLiteral("collate"));
        pCollate->setChecked(pQ->bCollate != FALSE);
        pForm->addRow(QString(), pCollate);
        auto* pColor = new QCheckBox(Text("Colour"), pDialog);
        pColor->setObjectName(QStringLiteral("color"));
        pColor->setChecked(pQ->bColor && pQ->bColorDevice);
        pColor->setEnabled(pQ->bColorDevice != FALSE);
        pForm->addRow(QString(), pColor);
        auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, pDialog);
        pButtons->button(QDialogButtonBox::Ok)->setText(Text("OK"));
        pButtons->button(QDialogButtonBox::Cancel)->setText(Text("Cancel"));
        QObject::connect(pButtons, &QDialogButtonBox::accepted, pDialog, &QDialog::accept);
        QObject::connect(pButtons, &QDialogButtonBox::rejected, pDialog, &QDialog::reject);
        auto* pLayout = new QVBoxLayout(pDialog);
        pLayout->addLayout(pForm);
        pLayout->addWidget(pButtons);
        QObject::connect(pDialog, &QDialog::finished, [=, this](int nResult) {
            pQ->bOk = nResult == QDialog::Accepted;
            if (pQ->bOk) {
                pQ->nPaper = static_cast<short>(pPaper->currentData().toInt());
                pQ->bLandscape = pLandscape->isChecked();
                pQ->nCopies = pCopies->value();
                pQ->bCollate = pCollate->isChecked();
                pQ->bColor = pColor->isChecked();
            }
            Finish();
        });
        Show(pDialog, FALSE);
    }
};
}  // namespace

ITbQuestion* TbQtAskPrinterProperties(HWND hOwner, TBPRINTERPROPSQUESTION* pQuestion)
{
    return new CTbQtPrinterPropsQuestion(hOwner, pQuestion);
}
