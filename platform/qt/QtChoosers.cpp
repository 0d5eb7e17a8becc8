// File, font and colour choosers on Qt: Qt's own dialogs (never the platform's native ones, which
// would run their own loop), shown without exec() while the layer's modal loop waits.
#include <QtCore/QIdentityProxyModel>
#include <QtGui/QFileSystemModel>
#include <QtWidgets/QApplication>
#include <QtWidgets/QColorDialog>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QFontDialog>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QTreeView>
#include <cmath>
#include "platform/qt/QtInternal.h"
#include "platform/qt/QtQuestion.h"
#include "platform/win/user/LayerWords.h"
#include "platform/win/user/CommonDialogs.h"

namespace {
QString FromUtf8(const std::string& str)
{
    return QString::fromStdString(str);
}

// "Text (*.txt)" with "*.txt;*.log" as Qt writes it: "Text (*.txt *.log)". The original's "*.*"
// takes every name, dotted or not.
QString QtFilter(const std::pair<std::string, std::string>& filter)
{
    QString strName = FromUtf8(filter.first).trimmed();
    if (strName.endsWith(QLatin1Char(')')) && strName.contains(QLatin1Char('(')))
        strName = strName.left(strName.lastIndexOf(QLatin1Char('('))).trimmed();
    QStringList patterns = FromUtf8(filter.second).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& strPattern : patterns)
        if (strPattern.trimmed() == QLatin1String("*.*"))
            strPattern = QStringLiteral("*");
    return strName + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

// The file list's sizes, types and dates as an Arabic reader reads them: Qt writes them in the
// system's locale ("9 Dec", "12 KB", "PDF document"), whatever the user chose. Dates take the
// program's numeric form; a file's type is named by its extension ("ملف PDF").
class CTbArabicFileList : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int nRole) const override
    {
        const auto* pFiles = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (pFiles == nullptr || nRole != Qt::DisplayRole || index.column() < 1 || index.column() > 3)
            return QIdentityProxyModel::data(index, nRole);
        const QModelIndex file = mapToSource(index);
        if (index.column() == 3)
            return pFiles->lastModified(file).toString(QStringLiteral("dd/MM/yyyy HH:mm"));
        if (index.column() == 2) {
            if (pFiles->isDir(file))
                return QIdentityProxyModel::data(index, nRole);
            const QString strSuffix = pFiles->fileInfo(file).suffix().toUpper();
            return strSuffix.isEmpty() ? QString::fromUtf8(TbLayerWord("File"))
                                       : QString::fromUtf8(TbLayerWord("%1 File")).arg(strSuffix);
        }
        if (pFiles->isDir(file))
            return QString();
        static const char* const s_units[] = {"بايت", "ك.ب", "م.ب", "ج.ب"};
        double dSize = static_cast<double>(pFiles->size(file));
        int nUnit = 0;
        for (; dSize >= 1024 && nUnit < 3; ++nUnit)
            dSize /= 1024;
        return QString::number(dSize, 'f', nUnit == 0 ? 0 : 1) + QLatin1Char(' ') + QString::fromUtf8(s_units[nUnit]);
    }
};

class CTbQtFileQuestion : public CTbQtQuestion
{
public:
    CTbQtFileQuestion(HWND hOwner, TBFILEQUESTION* pQuestion)
    {
        auto* pDialog = new QFileDialog(ParentFor(hOwner), FromUtf8(pQuestion->strTitle), FromUtf8(pQuestion->strFolder));
        pDialog->setObjectName(QStringLiteral("TbFileChooser"));
        pDialog->setOption(QFileDialog::DontUseNativeDialog);
        if (TbUserReadsArabic()) {
            pDialog->setProxyModel(new CTbArabicFileList(pDialog));
            // Room for the whole date, which Qt's own short form did not need.
            if (auto* pList = pDialog->findChild<QTreeView*>(QStringLiteral("treeView")))
                pList->header()->resizeSection(3, pList->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000 00:00")) + 24);
        }
        pDialog->setAcceptMode(pQuestion->bSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        pDialog->setFileMode(pQuestion->bMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        pDialog->setOption(QFileDialog::DontConfirmOverwrite, !pQuestion->bConfirmOverwrite);
        pDialog->setDefaultSuffix(FromUtf8(pQuestion->strDefExt));
        QStringList filters;
        for (const auto& filter : pQuestion->filters)
            filters << QtFilter(filter);
        if (!filters.isEmpty()) {
            pDialog->setNameFilters(filters);
            pDialog->selectNameFilter(filters.value(pQuestion->nFilter));
        }
        if (!pQuestion->strFile.empty())
            pDialog->selectFile(FromUtf8(pQuestion->strFile));
        QObject::connect(pDialog, &QDialog::finished, [this, pDialog, pQuestion, filters](int nResult) {
            const QStringList chosen = pDialog->selectedFiles();
            pQuestion->bOk = nResult == QDialog::Accepted && !chosen.isEmpty();
            if (pQuestion->bOk)
                pQuestion->strPath = chosen.first().toStdString();
            pQuestion->nFilter = std::max(0, static_cast<int>(filters.indexOf(pDialog->selectedNameFilter())));
            Finish();
        });
        Show(pDialog, FALSE);
    }
};

// Qt's font chooser with the original's size limits: a size outside them does not close it.
class CTbFontDialog : public QFontDialog
{
public:
    CTbFontDialog(QWidget* pParent, int nMin, int nMax) : QFontDialog(pParent), m_nMin(nMin), m_nMax(nMax) {}
    void done(int nResult) override
    {
        const qreal dPoints = currentFont().pointSizeF();
        if (nResult == QDialog::Accepted && m_nMax > 0 && (dPoints < m_nMin || dPoints > m_nMax)) {
            QApplication::beep();
            return;
        }
        QFontDialog::done(nResult);
    }

private:
    int m_nMin;
    int m_nMax;
};

class CTbQtFontQuestion : public CTbQtQuestion
{
public:
    CTbQtFontQuestion(HWND hOwner, TBFONTQUESTION* pQuestion)
    {
        auto* pDialog = new CTbFontDialog(ParentFor(hOwner), pQuestion->nMinPoints, pQuestion->nMaxPoints);
        pDialog->setObjectName(QStringLiteral("TbFontChooser"));
        pDialog->setOption(QFontDialog::DontUseNativeDialog);
        pDialog->setOption(QFontDialog::ScalableFonts, pQuestion->bScalableOnly != FALSE);
        pDialog->setOption(QFontDialog::MonospacedFonts, pQuestion->bFixedPitchOnly != FALSE);
        const TBFONTCHOICE& in = pQuestion->font;
        QFont font = QApplication::font();
        if (!in.strFace.empty())
            font.setFamily(FromUtf8(in.strFace));
        font.setPointSizeF(in.nPointSize10 / 10.0);
        font.setWeight(static_cast<QFont::Weight>(std::clamp(in.nWeight, 100, 900)));
        font.setItalic(in.bItalic != FALSE);
        font.setUnderline(in.bUnderline != FALSE);
        font.setStrikeOut(in.bStrikeOut != FALSE);
        pDialog->setCurrentFont(font);
        QObject::connect(pDialog, &QDialog::finished, [this, pDialog, pQuestion](int nResult) {
            pQuestion->bOk = nResult == QDialog::Accepted;
            if (pQuestion->bOk) {
                const QFont chosen = pDialog->selectedFont();
                TBFONTCHOICE& out = pQuestion->font;
                out.strFace = chosen.family().toStdString();
                out.nPointSize10 = static_cast<int>(std::lround(chosen.pointSizeF() * 10));
                out.nWeight = chosen.weight();
                out.bItalic = chosen.italic();
                // Qt's chooser always offers the effects; only a caller that asked for them gets them.
                out.bUnderline = pQuestion->bEffects && chosen.underline();
                out.bStrikeOut = pQuestion->bEffects && chosen.strikeOut();
            }
            Finish();
        });
        Show(pDialog, FALSE);
    }
};

QColor QtColor(COLORREF cr)
{
    return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

class CTbQtColorQuestion : public CTbQtQuestion
{
public:
    CTbQtColorQuestion(HWND hOwner, TBCOLORQUESTION* pQuestion)
    {
        // Qt keeps one set of custom colours for the program; each caller brings its own.
        for (int i = 0; i < 16 && i < QColorDialog::customCount(); ++i)
            QColorDialog::setCustomColor(i, QtColor(pQuestion->custom[i]));
        auto* pDialog = new QColorDialog(QtColor(pQuestion->crColor), ParentFor(hOwner));
        pDialog->setObjectName(QStringLiteral("TbColorChooser"));
        pDialog->setOption(QColorDialog::DontUseNativeDialog);
        QObject::connect(pDialog, &QDialog::finished, [this, pDialog, pQuestion](int nResult) {
            pQuestion->bOk = nResult == QDialog::Accepted;
            if (pQuestion->bOk) {
                const QColor color = pDialog->selectedColor();
                pQuestion->crColor = RGB(color.red(), color.green(), color.blue());
            }
            for (int i = 0; i < 16 && i < QColorDialog::customCount(); ++i) {
                const QColor custom = QColorDialog::customColor(i);
                pQuestion->custom[i] = RGB(custom.red(), custom.green(), custom.blue());
            }
            Finish();
        });
        Show(pDialog, FALSE);
    }
};
}  // namespace

ITbQuestion* TbQtAskFile(HWND hOwner, TBFILEQUESTION* pQuestion)
{
    return new CTbQtFileQuestion(hOwner, pQuestion);
}

ITbQuestion* TbQtAskFont(HWND hOwner, TBFONTQUESTION* pQuestion)
{
    return new CTbQtFontQuestion(hOwner, pQuestion);
}

ITbQuestion* TbQtAskColor(HWND hOwner, TBCOLORQUESTION* pQuestion)
{
    return new CTbQtColorQuestion(hOwner, pQuestion);
}
