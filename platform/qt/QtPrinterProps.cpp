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
#include "platform/win/kernel/CodePage.h"

namespace {
// The dialog's words in both languages: English, then Arabic.
enum { TEXT_CAPTION, TEXT_PAPER, TEXT_ORIENTATION, TEXT_PORTRAIT, TEXT_LANDSCAPE, TEXT_COPIES, TEXT_COLLATE, TEXT_COLOR, TEXT_OK, TEXT_CANCEL };
const char* const s_texts[][2] = {
    {"Document properties", "\xD8\xAE\xD8\xB5\xD8\xA7\xD8\xA6\xD8\xB5 \xD8\xA7\xD9\x84\xD9\x85\xD8\xB3\xD8\xAA\xD9\x86\xD8\xAF"},
    {"Paper:", "\xD8\xA7\xD9\x84\xD9\x88\xD8\xB1\xD9\x82:"},
    {"Orientation:", "\xD8\xA7\xD9\x84\xD8\xA7\xD8\xAA\xD8\xAC\xD8\xA7\xD9\x87:"},
    {"Portrait", "\xD8\xB7\xD9\x88\xD9\x84\xD9\x8A"},
    {"Landscape", "\xD8\xB9\xD8\xB1\xD8\xB6\xD9\x8A"},
    {"Copies:", "\xD8\xA7\xD9\x84\xD9\x86\xD8\xB3\xD8\xAE:"},
    {"Collate", "\xD8\xAA\xD8\xB1\xD8\xAA\xD9\x8A\xD8\xA8 \xD8\xA7\xD9\x84\xD9\x86\xD8\xB3\xD8\xAE"},
    {"Colour", "\xD8\xA8\xD8\xA7\xD9\x84\xD8\xA3\xD9\x84\xD9\x88\xD8\xA7\xD9\x86"},
    {"OK", "\xD9\x85\xD9\x88\xD8\xA7\xD9\x81\xD9\x82"},
    {"Cancel", "\xD8\xA5\xD9\x84\xD8\xBA\xD8\xA7\xD8\xA1"},
};

QString Text(int nText)
{
    return QString::fromUtf8(s_texts[nText][GetACP() == 1256 ? 1 : 0]);
}

class CTbQtPrinterPropsQuestion : public CTbQtQuestion
{
public:
    CTbQtPrinterPropsQuestion(HWND hOwner, TBPRINTERPROPSQUESTION* pQ)
    {
        auto* pDialog = new QDialog(ParentFor(hOwner));
        pDialog->setObjectName(QStringLiteral("TbPrinterProperties"));
        pDialog->setWindowTitle(QString::fromStdString(pQ->strPrinter) + QStringLiteral(" - ") + Text(TEXT_CAPTION));
        pDialog->setLayoutDirection(GetACP() == 1256 ? Qt::RightToLeft : Qt::LeftToRight);
        auto* pForm = new QFormLayout;
        auto* pPaper = new QComboBox(pDialog);
        pPaper->setObjectName(QStringLiteral("paper"));
        for (const auto& paper : pQ->papers) {
            pPaper->addItem(QString::fromStdString(paper.second), static_cast<int>(paper.first));
            if (paper.first == pQ->nPaper)
                pPaper->setCurrentIndex(pPaper->count() - 1);
        }
        pForm->addRow(Text(TEXT_PAPER), pPaper);
        auto* pPortrait = new QRadioButton(Text(TEXT_PORTRAIT), pDialog);
        auto* pLandscape = new QRadioButton(Text(TEXT_LANDSCAPE), pDialog);
        pLandscape->setObjectName(QStringLiteral("landscape"));
        (pQ->bLandscape ? pLandscape : pPortrait)->setChecked(true);
        auto* pOrientation = new QVBoxLayout;
        pOrientation->addWidget(pPortrait);
        pOrientation->addWidget(pLandscape);
        pForm->addRow(Text(TEXT_ORIENTATION), pOrientation);
        auto* pCopies = new QSpinBox(pDialog);
        pCopies->setObjectName(QStringLiteral("copies"));
        pCopies->setRange(1, 999);
        pCopies->setValue(pQ->nCopies);
        pForm->addRow(Text(TEXT_COPIES), pCopies);
        auto* pCollate = new QCheckBox(Text(TEXT_COLLATE), pDialog);
        pCollate->setObjectName(QStringLiteral("collate"));
        pCollate->setChecked(pQ->bCollate != FALSE);
        pForm->addRow(QString(), pCollate);
        auto* pColor = new QCheckBox(Text(TEXT_COLOR), pDialog);
        pColor->setObjectName(QStringLiteral("color"));
        pColor->setChecked(pQ->bColor && pQ->bColorDevice);
        pColor->setEnabled(pQ->bColorDevice != FALSE);
        pForm->addRow(QString(), pColor);
        auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, pDialog);
        pButtons->button(QDialogButtonBox::Ok)->setText(Text(TEXT_OK));
        pButtons->button(QDialogButtonBox::Cancel)->setText(Text(TEXT_CANCEL));
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
