// Image files through Qt's codecs.
#include <QtGui/QImage>
#include "platform/qt/QtInternal.h"
#include "platform/win/gdi/PixelBuffer.h"

namespace {
class CQtImageCodec : public ITbImageCodec
{
public:
    BOOL Load(LPCSTR pszPath, CTbPixelBuffer* pImage, CTbPixelBuffer* pMask) override
    {
        QImage image;
        if (!pszPath || !image.load(QString::fromUtf8(pszPath)) || image.isNull())
            return FALSE;
        BOOL bAlpha = image.hasAlphaChannel();
        image = image.convertToFormat(QImage::Format_ARGB32);
        pImage->Create(image.width(), image.height(), FALSE, TB_PIXEL_WHITE);
        if (pImage->IsEmpty())
            return FALSE;
        if (pMask) {
            if (bAlpha)
                pMask->Create(image.width(), image.height(), TRUE, TB_PIXEL_BLACK);
            else
                pMask->Create(0, 0, TRUE, TB_PIXEL_BLACK);
        }
        for (int y = 0; y < pImage->Height(); ++y) {
            const QRgb* pSrc = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            uint32_t* pDst = pImage->Row(y);
            for (int x = 0; x < pImage->Width(); ++x) {
                pDst[x] = 0xFF000000u | (pSrc[x] & 0xFFFFFFu);
                if (pMask && bAlpha && qAlpha(pSrc[x]) < 128)
                    pMask->Row(y)[x] = TB_PIXEL_WHITE;
            }
        }
        return TRUE;
    }
    BOOL SavePng(const CTbPixelBuffer& image, LPCSTR pszPath) override
    {
        if (image.IsEmpty() || !pszPath)
            return FALSE;
        QImage wrapped(reinterpret_cast<const uchar*>(image.Bits()), image.Width(), image.Height(), image.Width() * 4,
                       QImage::Format_RGB32);
        return wrapped.save(QString::fromUtf8(pszPath), "PNG");
    }
};
}

ITbImageCodec* TbQtImageCodec()
{
    static CQtImageCodec* s_pCodec = new CQtImageCodec;
    return s_pCodec;
}
