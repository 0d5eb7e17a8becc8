// The print-setup chooser on Qt: a printer with what the spooler says of it, one of its papers,
// the paper source and the orientation, in the program's language (right to left in Arabic),
// shown without exec() while the layer's modal loop waits.
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
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

// A driver's name or a port ("FILE:") isolated as left-to-right text, so that it reads the same
// in a right-to-left dialog.
QString LeftToRight(const QString& strText)
{
    return QChar(0x2066) + strText + QChar(0x2069);
}

QString Utf8(const std::string& str)
{
    return QString::fromUtf8(str.data(), static_cast<int>(str.size()));
}

class CTbQtPrintSetupQuestion : public CTbQtQuestion
{
public:
    CTbQtPrintSetupQuestion(HWND hOwner, TBPRINTSETUPQUESTION* pQ)
    {
        auto* pDialog = new QDialog(ParentFor(hOwner));
        pDialog->setObjectName(QStringLiteral("TbPrintSetup"));
        pDialog->setWindowTitle(Text("Print Setup"));
        pDialog->setLayoutDirection(TbUserReadsArabic() ? Qt::RightToLeft : Qt::LeftToRight);

        auto* pPrinterBox = new QGroupBox(Text("Printer"), pDialog);
        auto* pPrinterForm = new QFormLayout(pPrinterBox);
        auto* pPrinter = new QComboBox(pPrinterBox);
        pPrinter->setObjectName(QStringLiteral("printer"));
        for (const TBPRINTSETUPPRINTER& printer : pQ->printers)
            pPrinter->addItem(Utf8(printer.strName));
        auto* pType = new QLabel(pPrinterBox);
        auto* pWhere = new QLabel(pPrinterBox);
        pType->setObjectName(QStringLiteral("type"));
        pWhere->setObjectName(QStringLiteral("where"));
        auto* pComment = new QLabel(pPrinterBox);
        pPrinterForm->addRow(Text("Name:"), pPrinter);
        pPrinterForm->addRow(Text("Type:"), pType);
        pPrinterForm->addRow(Text("Where:"), pWhere);
        pPrinterForm->addRow(Text("Comment:"), pComment);

        auto* pPaperBox = new QGroupBox(Text("Paper"), pDialog);
        auto* pPaperForm = new QFormLayout(pPaperBox);
        auto* pPaper = new QComboBox(pPaperBox);
        pPaper->setObjectName(QStringLiteral("paper"));
        // The layer's printers take paper from wherever the printer decides.
        auto* pSource = new QComboBox(pPaperBox);
        pSource->addItem(Text("Automatically select"));
        pPaperForm->addRow(Text("Size:"), pPaper);
        pPaperForm->addRow(Text("Source:"), pSource);

        auto* pOrientationBox = new QGroupBox(Text("Orientation"), pDialog);
        auto* pOrientation = new QVBoxLayout(pOrientationBox);
        auto* pPortrait = new QRadioButton(Text("Portrait"), pOrientationBox);
        auto* pLandscape = new QRadioButton(Text("Landscape"), pOrientationBox);
        pLandscape->setObjectName(QStringLiteral("landscape"));
        (pQ->bLandscape ? pLandscape : pPortrait)->setChecked(true);
        pOrientation->addWidget(pPortrait);
        pOrientation->addWidget(pLandscape);

        // Another printer lists its own papers and keeps the paper chosen when it has it.
        auto showPrinter = [=](int nIndex) {
            if (nIndex < 0 || nIndex >= static_cast<int>(pQ->printers.size()))
                return;
            const TBPRINTSETUPPRINTER& printer = pQ->printers[static_cast<size_t>(nIndex)];
            pType->setText(LeftToRight(Utf8(printer.strDriver)));
            pWhere->setText(LeftToRight(Utf8(printer.strPort)));
            pComment->setText(Utf8(printer.strComment));
            const int nKeep = pPaper->count() > 0 ? pPaper->currentData().toInt() : pQ->nPaper;
            pPaper->clear();
            for (const auto& paper : printer.papers) {
                pPaper->addItem(Utf8(paper.second), static_cast<int>(paper.first));
                if (paper.first == nKeep)
                    pPaper->setCurrentIndex(pPaper->count() - 1);
            }
        };
        pPrinter->setCurrentIndex(pQ->nPrinter);
        showPrinter(pQ->nPrinter);
        QObject::connect(pPrinter, QOverload<int>::of(&QComboBox::currentIndexChanged), pDialog, showPrinter);

        auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, pDialog);
        pButtons->button(QDialogButtonBox::Ok)->setText(Text("OK"));
        pButtons->button(QDialogButtonBox::Cancel)->setText(Text("Cancel"));
        QObject::connect(pButtons, &QDialogButtonBox::accepted, pDialog, &QDialog::accept);
        QObject::connect(pButtons, &QDialogButtonBox::rejected, pDialog, &QDialog::reject);
        auto* pLower = new QHBoxLayout;
        pLower->addWidget(pPaperBox, 2);
        pLower->addWidget(pOrientationBox, 1);
        auto* pLayout = new QVBoxLayout(pDialog);
        pLayout->addWidget(pPrinterBox);
        pLayout->addLayout(pLower);
        pLayout->addWidget(pButtons);
        QObject::connect(pDialog, &QDialog::finished, [=, this](int nResult) {
            pQ->bOk = nResult == QDialog::Accepted;
            if (pQ->bOk) {
                pQ->nPrinter = pPrinter->currentIndex();
                pQ->nPaper = static_cast<short>(pPaper->currentData().toInt());
                pQ->bLandscape = pLandscape->isChecked();
            }
            Finish();
        });
        Show(pDialog, FALSE);
    }
};
}  // namespace

ITbQuestion* TbQtAskPrintSetup(HWND hOwner, TBPRINTSETUPQUESTION* pQuestion)
{
    return new CTbQtPrintSetupQuestion(hOwner, pQuestion);
}
