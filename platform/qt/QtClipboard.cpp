// The system clipboard on Qt. What the layer offers goes out as a mime object that renders its
// text only when another program asks, so delayed rendering stays delayed; a change the layer
// did not make is another program taking the clipboard.
#include <QtCore/QMimeData>
#include <QtCore/QPointer>
#include <QtCore/QStringList>
#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include "platform/qt/QtInternal.h"

namespace {
class CTbClipboardOffer : public QMimeData
{
public:
    explicit CTbClipboardOffer(BOOL bText) : m_bText(bText) {}
    QStringList formats() const override
    {
        return m_bText ? QStringList{QStringLiteral("text/plain;charset=utf-8"), QStringLiteral("text/plain")} : QStringList();
    }
    bool hasFormat(const QString& strMime) const override { return formats().contains(strMime); }

protected:
    QVariant retrieveData(const QString& strMime, QMetaType) const override
    {
        // Another program asks while Qt handles its request: the owner may render now.
        CTbQtHandlerScope scope;
        std::string strUtf8;
        if (!hasFormat(strMime) || !TbDisplayClipboardText(&strUtf8))
            return QVariant();
        return QString::fromStdString(strUtf8);
    }

private:
    BOOL m_bText;
};

QPointer<QMimeData> s_pOffer;     // ours while the system clipboard holds it; Qt owns it

QClipboard* Clipboard()
{
    static bool s_bWatching = false;
    QClipboard* pClipboard = QGuiApplication::clipboard();
    if (pClipboard && !s_bWatching) {
        s_bWatching = true;
        QObject::connect(pClipboard, &QClipboard::dataChanged, [pClipboard] {
            if (!s_pOffer || pClipboard->mimeData(QClipboard::Clipboard) != s_pOffer.data()) {
                CTbQtHandlerScope scope;
                TbDisplayClipboardChanged();
            }
        });
    }
    return pClipboard;
}
}  // namespace

void TbQtOfferClipboard(BOOL bText)
{
    QClipboard* pClipboard = Clipboard();
    if (!pClipboard)
        return;
    auto* pOffer = new CTbClipboardOffer(bText);
    s_pOffer = pOffer;
    pClipboard->setMimeData(pOffer, QClipboard::Clipboard);
}

BOOL TbQtGetClipboardText(std::string* pUtf8)
{
    QClipboard* pClipboard = Clipboard();
    const QMimeData* pData = pClipboard ? pClipboard->mimeData(QClipboard::Clipboard) : nullptr;
    if (!pData || pData == s_pOffer.data() || !pData->hasText())
        return FALSE;
    if (pUtf8)
        *pUtf8 = pData->text().toStdString();
    return TRUE;
}
