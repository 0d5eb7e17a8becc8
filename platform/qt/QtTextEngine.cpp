// Fonts and text on Qt: faces from LOGFONT with substitutes for the original's faces, metrics,
// and drawing into a pixel buffer with Qt's shaping (Arabic joins, right-to-left runs).
#include <QtGui/QFont>
#include <QtGui/QFontDatabase>
#include <QtGui/QFontMetrics>
#include <QtGui/QGlyphRun>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QRawFont>
#include <QtGui/QTextLayout>
#include <QtGui/QTextOption>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <list>
#include <memory>
#include <unordered_map>
#include "platform/qt/QtInternal.h"
#include "platform/win/gdi/PixelBuffer.h"

namespace {
// A string laid out once: a grid repaints the same few hundred numbers page after page, and
// shaping them again costs more than drawing them.
struct Laid {
    int nWidth = 0;                         // the advance, as QFontMetrics answers it
    std::unique_ptr<QTextLayout> pLayout[2];    // left-to-right and right-to-left, made on first draw
    qreal cxNatural[2] = {0, 0};            // the widest line and the height of the lines, for
    qreal cyLines[2] = {0, 0};              // the clip QPainter::drawText adds when they overhang
    QGlyphRun numberRun;                    // a number's glyphs, drawn left to right without a layout
    qreal cxNumber = 0;
    bool bNumber = false;
};

// The last strings of one face, newest first, bounded so that a scrolling grid does not grow it.
class CLaidCache
{
public:
    Laid* Find(const QString& str)
    {
        auto it = m_index.find(str);
        if (it == m_index.end())
            return nullptr;
        m_order.splice(m_order.begin(), m_order, it->second);
        return &it->second->second;
    }
    Laid* Add(const QString& str)
    {
        if (m_index.size() >= MAX_STRINGS) {
            m_index.erase(m_order.back().first);
            m_order.pop_back();
        }
        m_order.emplace_front(str, Laid{});
        m_index.emplace(str, m_order.begin());
        return &m_order.front().second;
    }
private:
    static constexpr size_t MAX_STRINGS = 4096;
    std::list<std::pair<QString, Laid>> m_order;
    std::unordered_map<QString, std::list<std::pair<QString, Laid>>::iterator> m_index;
};

// Numbers in a grid change with every quote: shaping each new one would cost more than drawing
// it. Their characters take no ligatures and no reordering left to right, so their glyphs and
// kerned advances come straight from the font, and the run draws as the shaped text would.
class CNumberGlyphs
{
public:
    static bool IsNumber(const QString& str)
    {
        if (str.isEmpty() || str.size() > MAX_CHARS)
            return false;
        for (QChar ch : str)
            if (!strchr("0123456789.,:-+%/() ", ch.toLatin1()) || ch.unicode() > 0x7F || ch.unicode() == 0)
                return false;
        return true;
    }
    // FALSE when the font has no raw form or lacks one of the characters.
    bool Run(const QFont& font, const QString& str, QGlyphRun* pRun, qreal* pWidth)
    {
        if (!m_bTried) {
            m_bTried = true;
            // Underlines and strike-outs belong to the layout's drawing: such faces keep it.
            if (!font.underline() && !font.strikeOut() && !font.overline())
                m_raw = QRawFont::fromFont(font);
        }
        if (!m_raw.isValid())
            return false;
        const int n = static_cast<int>(str.size());
        quint32 glyphs[MAX_CHARS];
        QPointF advances[MAX_CHARS];
        for (int i = 0; i < n; ++i) {
            const int ch = str[i].unicode();
            if (m_glyph[ch] == 0) {
                QChar c(static_cast<char16_t>(ch));
                quint32 nGlyph = 0;
                int nGlyphs = 1;
                if (!m_raw.glyphIndexesForChars(&c, 1, &nGlyph, &nGlyphs) || nGlyph == 0)
                    return false;
                m_glyph[ch] = nGlyph;
            }
            glyphs[i] = m_glyph[ch];
        }
        if (!m_raw.advancesForGlyphIndexes(glyphs, advances, n, QRawFont::KernedAdvances))
            return false;
        QList<quint32> indexes(glyphs, glyphs + n);
        QList<QPointF> positions(n);
        qreal x = 0;
        for (int i = 0; i < n; ++i) {
            positions[i] = QPointF(x, 0);
            x += advances[i].x();
        }
        pRun->setRawFont(m_raw);
        pRun->setGlyphIndexes(indexes);
        pRun->setPositions(positions);
        *pWidth = x;
        return true;
    }

private:
    static constexpr int MAX_CHARS = 64;
    bool m_bTried = false;
    QRawFont m_raw;
    quint32 m_glyph[128] = {};
};

struct Face {
    QFont font;
    TEXTMETRICA tm = {};
    CLaidCache laid;
    CNumberGlyphs numbers;
    qreal ascent = 0;               // where a line's baseline lies below its top
    // A light face that holds Latin alone takes Arabic from its family's regular weight, as GDI's
    // font linking does: Qt's own fallback would pick another family's light or monospaced face,
    // whose Arabic lacks its marks and joins.
    QFont arabicFont;
    bool bArabicFont = false;
};

bool HasArabic(const QString& str)
{
    for (QChar ch : str) {
        const char16_t c = ch.unicode();
        if ((c >= 0x0600 && c <= 0x077F) || (c >= 0xFB50 && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF))
            return true;
    }
    return false;
}

// The font a string is shaped and measured in.
const QFont& FontFor(const Face* pF, const QString& str)
{
    return pF->bArabicFont && HasArabic(str) ? pF->arabicFont : pF->font;
}

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
        // Whole-pixel hinted advances, as the original's text has: the column widths were made for
        // them, and the design advances run a pixel or two wider ("07/12/2026" in Arial 10 is 65
        // pixels instead of 64), which a right-aligned cell then clips from its first character.
        font.setHintingPreference(QFont::PreferFullHinting);
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
        // A light weight can pick a face made for Latin alone (DejaVu's ExtraLight): Arabic text
        // then falls back letter by letter, unjoined. As GDI does where a family has no light
        // face for the script, the regular one draws it.
        if (lf.lfCharSet == ARABIC_CHARSET && nWeight < 400 && !QRawFont::fromFont(font).supportsCharacter(QChar(0x0644)))
            font.setWeight(QFont::Normal);
        pFace->bArabicFont = font.weight() < QFont::Normal && !QRawFont::fromFont(font).supportsCharacter(QChar(0x0644));
        font.setItalic(lf.lfItalic != 0);
        font.setUnderline(lf.lfUnderline != 0);
        font.setStrikeOut(lf.lfStrikeOut != 0);
        if (lf.lfQuality == 3)          // NONANTIALIASED_QUALITY
            font.setStyleStrategy(QFont::NoAntialias);
        if (pFace->bArabicFont) {
            pFace->arabicFont = font;
            pFace->arabicFont.setWeight(QFont::Normal);
        }
        QFontMetrics fm(font);
        pFace->ascent = QFontMetricsF(font).ascent();
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
        Face* pF = static_cast<Face*>(pFace);
        QString strText = QString::fromUtf8(pszUtf8, cbUtf8);
        if (!m_bKeepLayouts)
            return QFontMetrics(FontFor(pF, strText)).horizontalAdvance(strText);
        return LaidOut(pF, strText)->nWidth;
    }
    void Draw(void* pFace, CTbPixelBuffer& target, const std::vector<RECT>& clip, int x, int yTop, const char* pszUtf8,
              int cbUtf8, uint32_t pxColor, BOOL bRtl) override
    {
        if (cbUtf8 <= 0 || clip.empty() || target.IsEmpty())
            return;
        Face* pF = static_cast<Face*>(pFace);
        QString strText = QString::fromUtf8(pszUtf8, cbUtf8);
        QRegion region;
        for (const RECT& rc : clip)
            region += QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
        QRect rcText;
        if (m_bKeepLayouts && IsPlainLine(strText))
            rcText = DrawLaidOut(pF, target, region, x, yTop, strText, pxColor, bRtl);
        else
            rcText = DrawOnce(pF, target, region, x, yTop, strText, pxColor, bRtl);
        if (target.IsMono()) {
            EndDrawing();       // the pixels are read back below
            // Smoothed edges on a monochrome surface become black or white.
            QRect rc = rcText.intersected(QRect(0, 0, target.Width(), target.Height()));
            for (int yy = rc.top(); yy <= rc.bottom(); ++yy)
                for (int xx = rc.left(); xx <= rc.right(); ++xx)
                    target.Row(yy)[xx] = TbPixelToMono(target.Row(yy)[xx]);
        }
    }
    void EndDrawing() override
    {
        if (m_painter.isActive())
            m_painter.end();
        m_image = QImage();
        m_pBits = nullptr;
    }
    // One line onto another device's painter (a printer's page), through the same laid-out
    // strings the screen uses; the painter's clip stays as the caller set it.
    void DrawOn(QPainter& painter, void* pFace, int x, int yTop, const QString& str, const QColor& color, BOOL bRtl)
    {
        Face* pF = static_cast<Face*>(pFace);
        painter.setPen(color);
        if (!m_bKeepLayouts || !IsPlainLine(str)) {
            QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignTop);
            option.setTextDirection(bRtl ? Qt::RightToLeft : Qt::LeftToRight);
            option.setWrapMode(QTextOption::NoWrap);
            painter.setFont(FontFor(pF, str));
            painter.drawText(QRectF(x, yTop, QFontMetrics(FontFor(pF, str)).horizontalAdvance(str) + 1, pF->tm.tmHeight), str, option);
            return;
        }
        Laid* p = LaidOut(pF, str);
        if (p->bNumber && !bRtl) {
            painter.drawGlyphRun(QPointF(x, yTop + pF->ascent), p->numberRun);
            return;
        }
        const int nDir = bRtl ? 1 : 0;
        if (!p->pLayout[nDir])
            Lay(p, FontFor(pF, str), str, nDir);
        p->pLayout[nDir]->draw(&painter, QPointF(x, yTop));
    }
    BOOL HasFace(const char* pszUtf8) override
    {
        const QString strFace = QString::fromUtf8(pszUtf8);
        if (QFontDatabase::hasFamily(strFace))
            return TRUE;
        for (const QString& strSubstitute : QFont::substitutes(strFace))
            if (QFontDatabase::hasFamily(strSubstitute))
                return TRUE;
        return FALSE;
    }
    void KeepLayouts(BOOL bKeep)
    {
        EndDrawing();
        m_bKeepLayouts = bKeep;
    }

private:
    // A line break, tab or other control character takes QPainter::drawText's own paths.
    static bool IsPlainLine(const QString& str)
    {
        for (QChar ch : str)
            if (ch.unicode() < 0x20)
                return false;
        return true;
    }
    static Laid* LaidOut(Face* pF, const QString& str)
    {
        if (Laid* p = pF->laid.Find(str))
            return p;
        Laid* p = pF->laid.Add(str);
        if (CNumberGlyphs::IsNumber(str) && pF->numbers.Run(pF->font, str, &p->numberRun, &p->cxNumber)) {
            p->bNumber = true;
            p->nWidth = qRound(p->cxNumber);
        } else {
            p->nWidth = QFontMetrics(FontFor(pF, str)).horizontalAdvance(str);
        }
        return p;
    }
    // The layout QPainter::drawText(rect, text, option) makes for one unwrapped, left-aligned line.
    static void Lay(Laid* p, const QFont& font, const QString& str, int nDir)
    {
        auto pLayout = std::make_unique<QTextLayout>(str, font);
        QTextOption option(Qt::AlignLeft);
        option.setTextDirection(nDir ? Qt::RightToLeft : Qt::LeftToRight);
        option.setWrapMode(QTextOption::NoWrap);
        pLayout->setTextOption(option);
        pLayout->setCacheEnabled(true);
        qreal leading = QFontMetricsF(font).leading();
        qreal height = -leading;
        qreal width = 0;
        pLayout->beginLayout();
        for (;;) {
            QTextLine line = pLayout->createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(0x01000000);
            height = std::ceil(height + leading);
            line.setPosition(QPointF(0, height));
            height += line.height();
            width = std::max(width, line.naturalTextWidth());
        }
        pLayout->endLayout();
        p->pLayout[nDir] = std::move(pLayout);
        p->cxNatural[nDir] = width;
        p->cyLines[nDir] = height;
    }
    QPainter& PainterOn(CTbPixelBuffer& target)
    {
        if (!m_painter.isActive() || m_pBits != target.Bits() || m_image.width() != target.Width() ||
            m_image.height() != target.Height()) {
            EndDrawing();
            m_image = QImage(reinterpret_cast<uchar*>(target.Bits()), target.Width(), target.Height(),
                             target.Width() * 4, QImage::Format_RGB32);
            m_pBits = target.Bits();
            m_painter.begin(&m_image);
        }
        return m_painter;
    }
    QRect DrawLaidOut(Face* pF, CTbPixelBuffer& target, const QRegion& region, int x, int yTop, const QString& str,
                      uint32_t pxColor, BOOL bRtl)
    {
        Laid* p = LaidOut(pF, str);
        if (p->bNumber && !bRtl) {
            QRect rcText(x, yTop, p->nWidth + 1, pF->tm.tmHeight);
            QRectF rcBounds(x, yTop, p->cxNumber, pF->tm.tmHeight);
            QPainter& painter = PainterOn(target);
            painter.setClipRegion(QRectF(rcText).contains(rcBounds) ? region : region.intersected(rcText));
            painter.setPen(QColor::fromRgb(pxColor));
            painter.drawGlyphRun(QPointF(x, yTop + pF->ascent), p->numberRun);
            return rcText;
        }
        int nDir = bRtl ? 1 : 0;
        if (!p->pLayout[nDir])
            Lay(p, FontFor(pF, str), str, nDir);
        QRect rcText(x, yTop, p->nWidth + 1, pF->tm.tmHeight);
        // As drawText does: the text's rectangle clips only glyphs that reach beyond it.
        QRectF rcBounds(x, yTop, p->cxNatural[nDir], p->cyLines[nDir]);
        QPainter& painter = PainterOn(target);
        painter.setClipRegion(QRectF(rcText).contains(rcBounds) ? region : region.intersected(rcText));
        painter.setPen(QColor::fromRgb(pxColor));
        p->pLayout[nDir]->draw(&painter, QPointF(x, yTop));
        return rcText;
    }
    // A painter and a layout for this call alone.
    QRect DrawOnce(Face* pF, CTbPixelBuffer& target, const QRegion& region, int x, int yTop, const QString& strText,
                   uint32_t pxColor, BOOL bRtl)
    {
        EndDrawing();
        QImage image(reinterpret_cast<uchar*>(target.Bits()), target.Width(), target.Height(), target.Width() * 4,
                     QImage::Format_RGB32);
        QFontMetrics fm(FontFor(pF, strText));
        int nWidth = fm.horizontalAdvance(strText);
        QRect rcText(x, yTop, nWidth + 1, pF->tm.tmHeight);
        QPainter painter(&image);
        painter.setClipRegion(region);
        painter.setFont(FontFor(pF, strText));
        painter.setPen(QColor::fromRgb(pxColor));
        QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignTop);
        option.setTextDirection(bRtl ? Qt::RightToLeft : Qt::LeftToRight);
        option.setWrapMode(QTextOption::NoWrap);
        painter.drawText(QRectF(rcText), strText, option);
        return rcText;
    }

    BOOL m_bKeepLayouts = TRUE;
    QImage m_image;                 // the last target, while m_painter draws into it
    const void* m_pBits = nullptr;
    QPainter m_painter;
};
}

static CQtTextEngine* Engine()
{
    static CQtTextEngine* s_pEngine = new CQtTextEngine;
    return s_pEngine;
}

ITbTextEngine* TbQtTextEngine()
{
    return Engine();
}

void TbQtDrawFaceText(QPainter& painter, void* pFace, int x, int yTop, const QString& str, const QColor& color, BOOL bRtl)
{
    Engine()->DrawOn(painter, pFace, x, yTop, str, color, bRtl);
}

void TbQtKeepTextLayouts(BOOL bKeep)
{
    Engine()->KeepLayouts(bKeep);
}
