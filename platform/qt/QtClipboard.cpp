// The system clipboard on Qt. What the layer offers goes out as a mime object that renders its
// text only when another program asks, so delayed rendering stays delayed; a change the layer
// did not make is another program taking the clipboard.
#include <QtCore/QBuffer>
#include <QtCore/QMimeData>
#include <QtCore/QPointer>
#include <QtCore/QStringList>
#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include "platform/qt/QtInternal.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/gdi/PixelBuffer.h"

namespace {
class CTbClipboardOffer : public QMimeData
{
public:
    CTbClipboardOffer(BOOL bText, BOOL bImage) : m_bText(bText), m_bImage(bImage) {}
    QStringList formats() const override
    {
        QStringList formats;
        if (m_bText)
            formats << QStringLiteral("text/plain;charset=utf-8") << QStringLiteral("text/plain");
        if (m_bImage)
            formats << QStringLiteral("application/x-qt-image") << QStringLiteral("image/png");
        return formats;
    }
    bool hasFormat(const QString& strMime) const override { return formats().contains(strMime); }

protected:
    QVariant retrieveData(const QString& strMime, QMetaType) const override
    {
        // Another program asks while Qt handles its request: the owner may render now.
        CTbQtHandlerScope scope;
        if (!hasFormat(strMime))
            return QVariant();
        if (strMime.startsWith(QStringLiteral("text/"))) {
            std::string strUtf8;
            return TbDisplayClipboardText(&strUtf8) ? QVariant(QString::fromStdString(strUtf8)) : QVariant();
        }
        CTbPixelBuffer pixels;
        if (!TbDisplayClipboardImage(&pixels))
            return QVariant();
        const QImage image = QImage(reinterpret_cast<const uchar*>(pixels.Bits()), pixels.Width(), pixels.Height(),
                                    pixels.Width() * 4, QImage::Format_RGB32).copy();
        if (strMime == QStringLiteral("application/x-qt-image"))
            return image;
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return png;
    }

private:
    BOOL m_bText;
    BOOL m_bImage;
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

void TbQtOfferClipboard(BOOL bText, BOOL bImage)
{
    QClipboard* pClipboard = Clipboard();
    if (!pClipboard)
        return;
    auto* pOffer = new CTbClipboardOffer(bText, bImage);
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

BOOL TbQtCopyAsAnotherProgram(const char* pszUtf8)
{
    QClipboard* pClipboard = Clipboard();
    if (!pClipboard || pszUtf8 == nullptr)
        return FALSE;
    pClipboard->setText(QString::fromUtf8(pszUtf8), QClipboard::Clipboard);
    return TRUE;
}
