// Menu text on the Qt display. Qt underlines a mnemonic by giving its character a format of its
// own, which cuts the text into separately shaped runs and breaks the joining of Arabic letters.
// Here the text is shaped whole and the underline drawn under the mnemonic's glyph afterwards.
#include <QtGui/QPainter>
#include <QtGui/QTextLayout>
#include <QtWidgets/QApplication>
#include <QtWidgets/QProxyStyle>
#include <QtWidgets/QStyleOption>
#include "platform/qt/QtInternal.h"

namespace {
// The text as shown ("&&" one '&', a lone '&' gone) and where its mnemonic stands in it (-1: none).
QString ShownText(const QString& strText, int* pMnemonic)
{
    QString out;
    *pMnemonic = -1;
    for (qsizetype i = 0; i < strText.size(); ++i) {
        if (strText[i] == QLatin1Char('&') && i + 1 < strText.size()) {
            ++i;
            if (strText[i] != QLatin1Char('&') && *pMnemonic < 0)
                *pMnemonic = static_cast<int>(out.size());
        } else if (strText[i] == QLatin1Char('&')) {
            continue;
        }
        out += strText[i];
    }
    return out;
}

bool HasRightToLeft(const QString& strText)
{
    for (QChar ch : strText)
        if (ch.direction() == QChar::DirR || ch.direction() == QChar::DirAL)
            return true;
    return false;
}

class CMenuStyle : public QProxyStyle
{
public:
    void drawItemText(QPainter* pPainter, const QRect& rect, int nFlags, const QPalette& palette, bool bEnabled,
                      const QString& strText, QPalette::ColorRole role) const override
    {
        int nMnemonic = -1;
        const QString strShown = ShownText(strText, &nMnemonic);
        if (!(nFlags & Qt::TextShowMnemonic) || nMnemonic < 0) {
            QProxyStyle::drawItemText(pPainter, rect, nFlags, palette, bEnabled, strText, role);
            return;
        }
        // One run for the whole text...
        nFlags = (nFlags & ~Qt::TextShowMnemonic) | Qt::TextHideMnemonic;
        QProxyStyle::drawItemText(pPainter, rect, nFlags, palette, bEnabled, strText, role);
        // ...then the line under the mnemonic's glyph, measured within that same shaped run.
        const QFontMetrics fm = pPainter->fontMetrics();
        const QRect rcText = itemTextRect(fm, rect, nFlags, bEnabled, strText);
        QTextLayout layout(strShown, pPainter->font());
        QTextOption option;
        option.setTextDirection(pPainter->layoutDirection());
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        if (!line.isValid())
            return;
        const qreal x1 = line.cursorToX(nMnemonic);
        const qreal x2 = line.cursorToX(nMnemonic + 1);
        const qreal xLeft = rcText.left() + std::min(x1, x2) - line.x();
        const qreal xRight = rcText.left() + std::max(x1, x2) - line.x();
        const int y = rcText.top() + fm.ascent() + fm.underlinePos();
        const QColor color = palette.color(bEnabled ? QPalette::Active : QPalette::Disabled,
                                           role == QPalette::NoRole ? QPalette::WindowText : role);
        pPainter->fillRect(QRectF(xLeft, y, std::max<qreal>(1, xRight - xLeft), std::max(1, fm.lineWidth())), color);
    }

    void drawControl(ControlElement element, const QStyleOption* pOption, QPainter* pPainter,
                     const QWidget* pWidget) const override
    {
        // The painter lays text out left to right whatever the menu's direction: a right-to-left
        // menu's entries are right-to-left lines, flush with its right edge, so that a leading
        // number ("1 Quotes") stands at the right, where the reader starts.
        const Qt::LayoutDirection dirWas = pPainter->layoutDirection();
        const bool bMirror = (element == CE_MenuItem || element == CE_MenuBarItem) && pOption->direction == Qt::RightToLeft;
        if (bMirror)
            pPainter->setLayoutDirection(Qt::RightToLeft);
        DrawMenuControl(element, pOption, pPainter, pWidget);
        if (bMirror)
            pPainter->setLayoutDirection(dirWas);
    }

private:
    void DrawMenuControl(ControlElement element, const QStyleOption* pOption, QPainter* pPainter,
                         const QWidget* pWidget) const
    {
        // A right-to-left item of a popup shows its text whole, with no underline.
        const auto* pItem = qstyleoption_cast<const QStyleOptionMenuItem*>(pOption);
        if (element == CE_MenuItem && pItem && HasRightToLeft(pItem->text)) {
            QStyleOptionMenuItem item = *pItem;
            const qsizetype nTab = item.text.indexOf(QLatin1Char('\t'));
            int nMnemonic = -1;
            QString strLabel = ShownText(nTab < 0 ? item.text : item.text.left(nTab), &nMnemonic);
            strLabel.replace(QLatin1Char('&'), QLatin1String("&&"));
            item.text = nTab < 0 ? strLabel : strLabel + item.text.mid(nTab);
            QProxyStyle::drawControl(element, &item, pPainter, pWidget);
            return;
        }
        QProxyStyle::drawControl(element, pOption, pPainter, pWidget);
    }
};
}  // namespace

void TbQtInstallMenuStyle()
{
    if (dynamic_cast<CMenuStyle*>(QApplication::style()))
        return;
    QApplication::setStyle(new CMenuStyle);
}
