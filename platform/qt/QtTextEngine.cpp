// Fonts and text on Qt: faces from LOGFONT with substitutes for the original's faces, metrics,
// and drawing into a pixel buffer with Qt's shaping (Arabic joins, right-to-left runs).
#include <QtGui/QFont>
#include <QtGui/QFontMetrics>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QTextOption>
#include <algorithm>
#include <cstring>
#include "platform/qt/QtInternal.h"
#include "platform/win/gdi/PixelBuffer.h"

namespace {
struct Face {
    QFont font;
    TEXTMETRICA tm = {};
};

QString FamilyFor(const LOGFONTA& lf)
{
    char szFace[LF_FACESIZE + 1] = {};
    memcpy(szFace, lf.lfFaceName, LF_FACESIZE);
    QString strFace = QString::fromLatin1(szFace);
    if (!strFace.isEmpty())
        return strFace;
    if ((lf.lfPitchAndFamily & 0x3) == FIXED_PITCH || (lf.lfPitchAndFamily & 0xF0) == FF_MODERN)
        return QStringLiteral("DejaVu Sans Mono");
    if ((lf.lfPitchAndFamily & 0xF0) == FF_ROMAN)
        return QStringLiteral("DejaVu Serif");
    return QStringLiteral("DejaVu Sans");
}

class CQtTextEngine : public ITbTextEngine
{
public:
    std::shared_ptr<void> CreateFace(const LOGFONTA& lf) override
    {
        auto pFace = std::make_shared<Face>();
        QFont& font = pFace->font;
        font.setFamily(FamilyFor(lf));
        font.setStyleHint((lf.lfPitchAndFamily & 0x3) == FIXED_PITCH ? QFont::Monospace : QFont::SansSerif);
        int nHeight = lf.lfHeight == 0 ? -12 : static_cast<int>(std::clamp<LONG>(lf.lfHeight, -2000, 2000));
        if (nHeight < 0) {
            font.setPixelSize(std::max(1, -nHeight));           // the character height
        } else {
            // A positive height is the cell (ascent and descent): find the size that fills it.
            font.setPixelSize(nHeight);
            QFontMetrics fm(font);
            int nCell = std::max(1, fm.ascent() + fm.descent());
            font.setPixelSize(std::max(1, nHeight * nHeight / nCell));
        }
        int nWeight = lf.lfWeight <= 0 ? 400 : std::clamp<int>(static_cast<int>(lf.lfWeight), 100, 900);
        font.setWeight(static_cast<QFont::Weight>(nWeight));
        font.setItalic(lf.lfItalic != 0);
        font.setUnderline(lf.lfUnderline != 0);
        font.setStrikeOut(lf.lfStrikeOut != 0);
        if (lf.lfQuality == 3)          // NONANTIALIASED_QUALITY
            font.setStyleStrategy(QFont::NoAntialias);
        QFontMetrics fm(font);
        TEXTMETRICA& tm = pFace->tm;
        tm.tmAscent = fm.ascent();
        tm.tmDescent = fm.descent();
        tm.tmHeight = tm.tmAscent + tm.tmDescent;
        tm.tmInternalLeading = std::max<LONG>(0, tm.tmHeight - font.pixelSize());
        tm.tmExternalLeading = std::max(0, fm.leading());
        tm.tmAveCharWidth = std::max(1, fm.averageCharWidth());
        tm.tmMaxCharWidth = std::max(1, fm.maxWidth());
        tm.tmWeight = nWeight;
        tm.tmItalic = lf.lfItalic;
        tm.tmUnderlined = lf.lfUnderline;
        tm.tmStruckOut = lf.lfStrikeOut;
        tm.tmFirstChar = 0x20;
        tm.tmLastChar = 0xFF;
        tm.tmDefaultChar = '?';
        tm.tmBreakChar = ' ';
        tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = 96;
        // As on the original, the "fixed pitch" bit is set for variable-pitch fonts.
        tm.tmPitchAndFamily = TMPF_TRUETYPE | TMPF_VECTOR | (QFontInfo(font).fixedPitch() ? 0 : TMPF_FIXED_PITCH);
        tm.tmCharSet = lf.lfCharSet;
        return pFace;
    }
    void GetMetrics(void* pFace, TEXTMETRICA* pTm) override { *pTm = static_cast<Face*>(pFace)->tm; }
    int MeasureWidth(void* pFace, const char* pszUtf8, int cbUtf8) override
    {
        if (cbUtf8 <= 0)
            return 0;
        QFontMetrics fm(static_cast<Face*>(pFace)->font);
        return fm.horizontalAdvance(QString::fromUtf8(pszUtf8, cbUtf8));
    }
    void Draw(void* pFace, CTbPixelBuffer& target, const std::vector<RECT>& clip, int x, int yTop, const char* pszUtf8,
              int cbUtf8, uint32_t pxColor, BOOL bRtl) override
    {
        if (cbUtf8 <= 0 || clip.empty() || target.IsEmpty())
            return;
        const Face* pF = static_cast<Face*>(pFace);
        QString strText = QString::fromUtf8(pszUtf8, cbUtf8);
        QImage image(reinterpret_cast<uchar*>(target.Bits()), target.Width(), target.Height(), target.Width() * 4,
                     QImage::Format_RGB32);
        QRegion region;
        for (const RECT& rc : clip)
            region += QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
        QFontMetrics fm(pF->font);
        int nWidth = fm.horizontalAdvance(strText);
        QRect rcText(x, yTop, nWidth + 1, pF->tm.tmHeight);
        {
            QPainter painter(&image);
            painter.setClipRegion(region);
            painter.setFont(pF->font);
            painter.setPen(QColor::fromRgb(pxColor));
            QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignTop);
            option.setTextDirection(bRtl ? Qt::RightToLeft : Qt::LeftToRight);
            option.setWrapMode(QTextOption::NoWrap);
            painter.drawText(QRectF(rcText), strText, option);
        }
        if (target.IsMono()) {
            // Smoothed edges on a monochrome surface become black or white.
            QRect rc = rcText.intersected(QRect(0, 0, target.Width(), target.Height()));
            for (int yy = rc.top(); yy <= rc.bottom(); ++yy)
                for (int xx = rc.left(); xx <= rc.right(); ++xx)
                    target.Row(yy)[xx] = TbPixelToMono(target.Row(yy)[xx]);
        }
    }
};
}

ITbTextEngine* TbQtTextEngine()
{
    static CQtTextEngine* s_pEngine = new CQtTextEngine;
    return s_pEngine;
}
