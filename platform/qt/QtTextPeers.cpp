#include "platform/qt/QtTextPeers.h"
#include <QtGui/QFont>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QStaticText>

struct CTbQtTextPeers::Page {
    QImage image;
    QFont font;
    std::vector<QString> strings;
    std::vector<QRect> rects;
    std::vector<QStaticText> kept;      // laid out on first use
};

CTbQtTextPeers::CTbQtTextPeers(int cx, int cy, const char* pszFace, int nPixelHeight,
                               const std::vector<TBTEXTPEERCELL>& cells)
    : m_pPage(std::make_unique<Page>())
{
    m_pPage->image = QImage(cx, cy, QImage::Format_RGB32);
    m_pPage->image.fill(Qt::white);
    m_pPage->font.setFamily(QString::fromUtf8(pszFace));
    m_pPage->font.setPixelSize(nPixelHeight);
    for (const TBTEXTPEERCELL& cell : cells) {
        m_pPage->strings.push_back(QString::fromUtf8(cell.strUtf8.c_str()));
        m_pPage->rects.emplace_back(cell.rc.left, cell.rc.top, cell.rc.right - cell.rc.left, cell.rc.bottom - cell.rc.top);
    }
}

CTbQtTextPeers::~CTbQtTextPeers() = default;

void CTbQtTextPeers::DrawWithPainter()
{
    Page& page = *m_pPage;
    QPainter painter(&page.image);
    painter.setFont(page.font);
    painter.setPen(QColor(0, 0, 128));
    for (size_t i = 0; i < page.strings.size(); ++i)
        painter.drawText(page.rects[i], Qt::AlignRight | Qt::AlignVCenter, page.strings[i]);
}

void CTbQtTextPeers::DrawStaticTextAnew()
{
    Page& page = *m_pPage;
    QPainter painter(&page.image);
    painter.setFont(page.font);
    painter.setPen(QColor(0, 0, 128));
    for (size_t i = 0; i < page.strings.size(); ++i) {
        QStaticText text(page.strings[i]);
        text.prepare(QTransform(), page.font);
        painter.drawStaticText(QPointF(page.rects[i].right() + 1 - text.size().width(), page.rects[i].top()), text);
    }
}

void CTbQtTextPeers::DrawStaticTextKept()
{
    Page& page = *m_pPage;
    if (page.kept.empty()) {
        for (const QString& str : page.strings) {
            page.kept.emplace_back(str);
            page.kept.back().prepare(QTransform(), page.font);
        }
    }
    QPainter painter(&page.image);
    painter.setFont(page.font);
    painter.setPen(QColor(0, 0, 128));
    for (size_t i = 0; i < page.kept.size(); ++i)
        painter.drawStaticText(QPointF(page.rects[i].right() + 1 - page.kept[i].size().width(), page.rects[i].top()),
                               page.kept[i]);
}
