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
#include "platform/win/kernel/CodePage.h"

namespace {
// The dialog's words in both languages: English, then Arabic.
enum { TEXT_CAPTION, TEXT_PRINTER, TEXT_NAME, TEXT_TYPE, TEXT_WHERE, TEXT_COMMENT, TEXT_PAPER, TEXT_SIZE, TEXT_SOURCE, TEXT_AUTOMATIC, TEXT_ORIENTATION, TEXT_PORTRAIT, TEXT_LANDSCAPE, TEXT_OK, TEXT_CANCEL };
const char* const s_texts[][2] = {
    {"Print Setup", "\xD8\xA5\xD8\xB9\xD8\xAF\xD8\xA7\xD8\xAF\x20\xD8\xA7\xD9\x84\xD8\xB7\xD8\xA8\xD8\xA7\xD8\xB9\xD8\xA9"},
    {"Printer", "\xD8\xA7\xD9\x84\xD8\xB7\xD8\xA7\xD8\xA8\xD8\xB9\xD8\xA9"},
    {"Name:", "\xD8\xA7\xD9\x84\xD8\xA7\xD8\xB3\xD9\x85\x3A"},
    {"Type:", "\xD8\xA7\xD9\x84\xD9\x86\xD9\x88\xD8\xB9\x3A"},
    {"Where:", "\xD8\xA7\xD9\x84\xD9\x85\xD9\x83\xD8\xA7\xD9\x86\x3A"},
    {"Comment:", "\xD8\xAA\xD8\xB9\xD9\x84\xD9\x8A\xD9\x82\x3A"},
    {"Paper", "\xD8\xA7\xD9\x84\xD9\x88\xD8\xB1\xD9\x82"},
    {"Size:", "\xD8\xA7\xD9\x84\xD8\xAD\xD8\xAC\xD9\x85\x3A"},
    {"Source:", "\xD8\xA7\xD9\x84\xD9\x85\xD8\xB5\xD8\xAF\xD8\xB1\x3A"},
    {"Automatically select", "\xD8\xA7\xD8\xAE\xD8\xAA\xD9\x8A\xD8\xA7\xD8\xB1\x20\xD8\xAA\xD9\x84\xD9\x82\xD8\xA7\xD8\xA6\xD9\x8A"},
    {"Orientation", "\xD8\xA7\xD9\x84\xD8\xA7\xD8\xAA\xD8\xAC\xD8\xA7\xD9\x87"},
    {"Portrait", "\xD8\xB7\xD9\x88\xD9\x84\xD9\x8A"},
    {"Landscape", "\xD8\xB9\xD8\xB1\xD8\xB6\xD9\x8A"},
    {"OK", "\xD9\x85\xD9\x88\xD8\xA7\xD9\x81\xD9\x82"},
    {"Cancel", "\xD8\xA5\xD9\x84\xD8\xBA\xD8\xA7\xD8\xA1"},
};

QString Text(int nText)
{
    return QString::fromUtf8(s_texts[nText][GetACP() == 1256 ? 1 : 0]);
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
        pDialog->setWindowTitle(Text(TEXT_CAPTION));
        pDialog->setLayoutDirection(GetACP() == 1256 ? Qt::RightToLeft : Qt::LeftToRight);

        auto* pPrinterBox = new QGroupBox(Text(TEXT_PRINTER), pDialog);
        auto* pPrinterForm = new QFormLayout(pPrinterBox);
        auto* pPrinter = new QComboBox(pPrinterBox);
        pPrinter->setObjectName(QStringLiteral("printer"));
        for (const TBPRINTSETUPPRINTER& printer : pQ->printers)
            pPrinter->addItem(Utf8(printer.strName));
        auto* pType = new QLabel(pPrinterBox);
        auto* pWhere = new QLabel(pPrinterBox);
        auto* pComment = new QLabel(pPrinterBox);
        pPrinterForm->addRow(Text(TEXT_NAME), pPrinter);
        pPrinterForm->addRow(Text(TEXT_TYPE), pType);
        pPrinterForm->addRow(Text(TEXT_WHERE), pWhere);
        pPrinterForm->addRow(Text(TEXT_COMMENT), pComment);

        auto* pPaperBox = new QGroupBox(Text(TEXT_PAPER), pDialog);
        auto* pPaperForm = new QFormLayout(pPaperBox);
        auto* pPaper = new QComboBox(pPaperBox);
        pPaper->setObjectName(QStringLiteral("paper"));
        // The layer's printers take paper from wherever the printer decides.
        auto* pSource = new QComboBox(pPaperBox);
        pSource->addItem(Text(TEXT_AUTOMATIC));
        pPaperForm->addRow(Text(TEXT_SIZE), pPaper);
        pPaperForm->addRow(Text(TEXT_SOURCE), pSource);

        auto* pOrientationBox = new QGroupBox(Text(TEXT_ORIENTATION), pDialog);
        auto* pOrientation = new QVBoxLayout(pOrientationBox);
        auto* pPortrait = new QRadioButton(Text(TEXT_PORTRAIT), pOrientationBox);
        auto* pLandscape = new QRadioButton(Text(TEXT_LANDSCAPE), pOrientationBox);
        pLandscape->setObjectName(QStringLiteral("landscape"));
        (pQ->bLandscape ? pLandscape : pPortrait)->setChecked(true);
        pOrientation->addWidget(pPortrait);
        pOrientation->addWidget(pLandscape);

        // Another printer lists its own papers and keeps the paper chosen when it has it.
        auto showPrinter = [=](int nIndex) {
            if (nIndex < 0 || nIndex >= static_cast<int>(pQ->printers.size()))
                return;
            const TBPRINTSETUPPRINTER& printer = pQ->printers[static_cast<size_t>(nIndex)];
            pType->setText(Utf8(printer.strDriver));
            pWhere->setText(Utf8(printer.strPort));
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
        pButtons->button(QDialogButtonBox::Ok)->setText(Text(TEXT_OK));
        pButtons->button(QDialogButtonBox::Cancel)->setText(Text(TEXT_CANCEL));
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
