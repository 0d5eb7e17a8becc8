// Printing on Qt: PDF files through QPdfWriter, the machine's CUPS queues through QPrinter, and
// pages drawn with a QPainter in the printer's dots, so text stays text and figures stay figures.
#include <QtCore/QFile>
#include <QtGui/QImage>
#include <QtGui/QPageLayout>
#include <QtGui/QPageSize>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtGui/QPdfWriter>
#include <QtPrintSupport/QPrinter>
#include <QtPrintSupport/QPrinterInfo>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <type_traits>
#include "platform/qt/QtInternal.h"
#include "platform/win/gdi/GdiDefs.h"
#include "platform/win/gdi/PixelBuffer.h"
#include "platform/win/gdi/Region.h"
#include "platform/win/spool/Printers.h"
#include "platform/win/spool/WinSpool.h"
#include "platform/win/kernel/CodePage.h"

namespace {

const struct {
    short nPaper;
    QPageSize::PageSizeId id;
} s_qtPapers[] = {
    {DMPAPER_A4, QPageSize::A4}, {DMPAPER_LETTER, QPageSize::Letter}, {DMPAPER_LEGAL, QPageSize::Legal},
    {DMPAPER_A3, QPageSize::A3}, {DMPAPER_A5, QPageSize::A5},
};

QPageLayout LayoutFor(const TBPAGEGEOMETRY& page)
{
    QPageSize::PageSizeId id = QPageSize::A4;
    for (const auto& p : s_qtPapers)
        if (p.nPaper == page.nPaper)
            id = p.id;
    return QPageLayout(QPageSize(id), page.bLandscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

// One page on a painter whose device has its own resolution: the page's dots are scaled to it and
// (0, 0) moved to the printable area's corner.
class CPainterPage : public ITbPrintPage
{
public:
    CPainterPage(QPainter& painter, const TBPAGEGEOMETRY& page, qreal dDeviceDpiX, qreal dDeviceDpiY)
        : m_painter(painter), m_bGrey(!page.bColor)
    {
        m_base.scale(dDeviceDpiX / page.nDpiX, dDeviceDpiY / page.nDpiY);
        m_base.translate(page.ptOffset.x, page.ptOffset.y);
    }
    void Begin()
    {
        m_painter.setTransform(m_base);
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        m_painter.setClipping(false);
        m_bClip = FALSE;
    }
    void SetClip(const std::vector<RECT>* pClip) override
    {
        if (!pClip) {
            m_painter.setClipping(false);
            m_bClip = FALSE;
            return;
        }
        // The DC hands the same clip to every call; setting it again would grow the PDF.
        if (m_bClip && SameRects(*pClip, m_clip))
            return;
        m_clip = *pClip;
        m_bClip = TRUE;
        QRegion region;
        for (const RECT& rc : m_clip)
            region += QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
        m_painter.setClipRegion(region);
    }
    void Lines(const POINT* pPoints, int nCount, BOOL bClosed, COLORREF cr, int nWidth, UINT uStyle) override
    {
        if (nCount < 2 || nWidth <= 0)
            return;
        QPen pen(Color(cr), nWidth, StyleOf(uStyle), Qt::SquareCap, Qt::MiterJoin);
        // Dots are squares: a line through their centres covers the same dots as on the screen.
        QPolygonF line;
        for (int i = 0; i < nCount; ++i)
            line << QPointF(pPoints[i].x + 0.5, pPoints[i].y + 0.5);
        m_painter.setPen(pen);
        m_painter.setBrush(Qt::NoBrush);
        if (bClosed)
            m_painter.drawPolygon(line);
        else
            m_painter.drawPolyline(line);
    }
    void FillPolygon(const POINT* pPoints, int nCount, BOOL bWinding, COLORREF cr) override
    {
        QPolygonF shape;
        for (int i = 0; i < nCount; ++i)
            shape << QPointF(pPoints[i].x, pPoints[i].y);
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(Color(cr));
        m_painter.drawPolygon(shape, bWinding ? Qt::WindingFill : Qt::OddEvenFill);
    }
    void FillRect(const RECT& rc, COLORREF cr) override
    {
        if (rc.right > rc.left && rc.bottom > rc.top)
            m_painter.fillRect(QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top), Color(cr));
    }
    void Ellipse(const RECT& rc, BOOL bFill, COLORREF crFill, BOOL bFrame, COLORREF crPen, int nWidth) override
    {
        // The pen lies inside the rectangle, as on the screen.
        const qreal dInset = bFrame ? nWidth / 2.0 : 0;
        QRectF box(rc.left + dInset, rc.top + dInset, rc.right - rc.left - 2 * dInset, rc.bottom - rc.top - 2 * dInset);
        m_painter.setPen(bFrame ? QPen(Color(crPen), nWidth) : QPen(Qt::NoPen));
        m_painter.setBrush(bFill ? QBrush(Color(crFill)) : QBrush(Qt::NoBrush));
        m_painter.drawEllipse(box);
    }
    void Text(void* pFace, int x, int yTop, const char* pszUtf8, int cbUtf8, COLORREF cr, BOOL bRtl) override
    {
        // The face was measured at the printer's dots; Qt's layout joins Arabic and runs it right
        // to left, and the PDF keeps it as text.
        if (cbUtf8 > 0)
            TbQtDrawFaceText(m_painter, pFace, x, yTop, QString::fromUtf8(pszUtf8, cbUtf8), Color(cr), bRtl);
    }
    void Image(const CTbPixelBuffer& image, const RECT& rcSource, const RECT& rcDest) override
    {
        RECT rcSrc = TbIntersect(rcSource, RECT{0, 0, image.Width(), image.Height()});
        if (TbRectEmpty(rcSrc))
            return;
        QImage source(reinterpret_cast<const uchar*>(image.Bits()), image.Width(), image.Height(), image.Width() * 4,
                      QImage::Format_RGB32);
        if (m_bGrey)
            source = source.convertToFormat(QImage::Format_Grayscale8);
        m_painter.drawImage(QRectF(rcDest.left, rcDest.top, rcDest.right - rcDest.left, rcDest.bottom - rcDest.top),
                            source, QRectF(rcSrc.left, rcSrc.top, rcSrc.right - rcSrc.left, rcSrc.bottom - rcSrc.top));
    }

private:
    // A monochrome page prints each colour as its grey.
    QColor Color(COLORREF cr) const
    {
        QColor color(GetRValue(cr), GetGValue(cr), GetBValue(cr));
        return m_bGrey ? QColor(qGray(color.rgb()), qGray(color.rgb()), qGray(color.rgb())) : color;
    }
    static bool SameRects(const std::vector<RECT>& a, const std::vector<RECT>& b)
    {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const RECT& x, const RECT& y) {
            return x.left == y.left && x.top == y.top && x.right == y.right && x.bottom == y.bottom;
        });
    }
    static Qt::PenStyle StyleOf(UINT uStyle)
    {
        switch (uStyle) {
        case PS_DASH:       return Qt::DashLine;
        case PS_DOT:        return Qt::DotLine;
        case PS_DASHDOT:    return Qt::DashDotLine;
        case PS_DASHDOTDOT: return Qt::DashDotDotLine;
        }
        return Qt::SolidLine;
    }
    QPainter& m_painter;
    BOOL m_bGrey;
    QTransform m_base;
    std::vector<RECT> m_clip;
    BOOL m_bClip = FALSE;
};

// A document on any paint device that pages with newPage(): QPdfWriter and QPrinter alike.
template <class Device> class CPainterJob : public ITbPrintJob
{
public:
    CPainterJob(std::unique_ptr<Device> pDevice, const TBPAGEGEOMETRY& page, QString strFile)
        : m_pDevice(std::move(pDevice)), m_strFile(std::move(strFile)),
          m_page(m_painter, page, m_pDevice->logicalDpiX(), m_pDevice->logicalDpiY())
    {
    }
    ~CPainterJob() override
    {
        if (m_painter.isActive())
            Abort();
    }
    // Opens the output: FALSE when it cannot be written.
    BOOL Open() { return m_painter.begin(m_pDevice.get()); }
    ITbPrintPage* StartPage() override
    {
        if (!m_painter.isActive())
            return nullptr;
        if (m_nPages > 0 && !m_pDevice->newPage())
            return nullptr;
        ++m_nPages;
        m_page.Begin();
        return &m_page;
    }
    BOOL EndPage() override { return m_painter.isActive(); }
    BOOL Finish() override
    {
        if (!m_painter.isActive() || !m_painter.end())
            return FALSE;
        if constexpr (std::is_same_v<Device, QPdfWriter>)
            return TbQtPdfBaseLetters(m_strFile);
        return TRUE;
    }
    void Abort() override
    {
        if (m_painter.isActive())
            m_painter.end();
        if (!m_strFile.isEmpty())
            QFile::remove(m_strFile);
        if constexpr (std::is_same_v<Device, QPrinter>)
            m_pDevice->abort();
    }

private:
    std::unique_ptr<Device> m_pDevice;
    QString m_strFile;                      // removed when the job is aborted
    QPainter m_painter;
    CPainterPage m_page;
    int m_nPages = 0;
};

// Whether a CUPS scheduler can answer: its socket, or a listener on the local port. Without one,
// Qt's CUPS plugin would still try, and the list must answer at once.
BOOL SchedulerReachable()
{
    if (getenv("CUPS_SERVER"))
        return TRUE;
    struct stat st;
    if (stat("/run/cups/cups.sock", &st) == 0 || stat("/var/run/cups/cups.sock", &st) == 0)
        return TRUE;
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return FALSE;
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(631);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const BOOL bListening = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    close(fd);
    return bListening;
}

// The edge a queue cannot print on its default paper, left and top in points. Only a printer
// object tells, and making one talks to the scheduler: asked once per queue.
QPointF UnprintableEdge(const QPrinterInfo& info)
{
    static std::map<QString, QPointF>* s_pEdges = new std::map<QString, QPointF>;
    auto it = s_pEdges->find(info.printerName());
    if (it == s_pEdges->end()) {
        QPrinter printer(info, QPrinter::HighResolution);
        QPageLayout layout = printer.pageLayout();
        layout.setUnits(QPageLayout::Point);
        const QMarginsF margins = layout.minimumMargins();
        it = s_pEdges->emplace(info.printerName(), QPointF(margins.left(), margins.top())).first;
    }
    return it->second;
}

std::string ToCodePage(const QString& str)
{
    return TbUtf8ToCodePage(str.toStdString(), CP_ACP);
}

class CQtPrintSystem : public ITbPrintSystem
{
public:
    void ListQueues(std::vector<TBPRINTER>* pQueues) override
    {
        pQueues->clear();
        if (!SchedulerReachable())
            return;
        for (const QPrinterInfo& info : QPrinterInfo::availablePrinters()) {
            TBPRINTER p;
            p.nKind = TB_PRINTER_QUEUE;
            p.strQueue = info.printerName().toStdString();
            p.strName = ToCodePage(info.printerName());
            if (p.strName == TB_PDF_PRINTER_NAME)
                p.strName += " (CUPS)";         // the PDF printer keeps its fixed name
            p.strPort = "CUPS:" + p.strName;
            p.strDriver = ToCodePage(info.makeAndModel());
            p.strLocation = ToCodePage(info.location());
            p.strComment = ToCodePage(info.description());
            const QPageSize defaultSize = info.defaultPageSize();
            for (const QPageSize& size : info.supportedPageSizes())
                for (const auto& known : s_qtPapers)
                    if (size.id() == known.id) {
                        p.papers.push_back(known.nPaper);
                        if (defaultSize.id() == known.id)
                            p.nDefaultPaper = known.nPaper;
                    }
            if (p.papers.empty())
                p.papers = {DMPAPER_A4, DMPAPER_LETTER};
            if (!p.nDefaultPaper)
                p.nDefaultPaper = p.papers.front();
            for (int nDpi : info.supportedResolutions())
                if (nDpi > 0)
                    p.resolutions.push_back(POINT{nDpi, nDpi});
            if (p.resolutions.empty())
                p.resolutions.push_back(POINT{300, 300});
            const QPointF edge = UnprintableEdge(info);
            p.ptOffset = POINT{static_cast<LONG>(std::lround(edge.x() * p.resolutions[0].x / 72)),
                               static_cast<LONG>(std::lround(edge.y() * p.resolutions[0].y / 72))};
            p.bColor = info.defaultColorMode() == QPrinter::Color || info.supportedColorModes().contains(QPrinter::Color);
            p.bDefault = info.isDefault();
            pQueues->push_back(std::move(p));
        }
    }
    std::unique_ptr<ITbPrintJob> StartJob(const TBPRINTER& printer, const TBPAGEGEOMETRY& page, const char* pszDocUtf8,
                                          const char* pszOutputUtf8) override
    {
        const QString strDoc = QString::fromUtf8(pszDocUtf8 ? pszDocUtf8 : "");
        if (pszOutputUtf8) {
            const QString strFile = QString::fromUtf8(pszOutputUtf8);
            auto pWriter = std::make_unique<QPdfWriter>(strFile);
            pWriter->setResolution(page.nDpiX);
            pWriter->setPageLayout(LayoutFor(page));
            pWriter->setTitle(strDoc);
            pWriter->setCreator(QStringLiteral("Terminal"));
            auto pJob = std::make_unique<CPainterJob<QPdfWriter>>(std::move(pWriter), page, strFile);
            if (!pJob->Open())
                return nullptr;
            return pJob;
        }
        auto pPrinter = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(QString::fromStdString(printer.strQueue)),
                                                   QPrinter::HighResolution);
        pPrinter->setOutputFormat(QPrinter::NativeFormat);
        pPrinter->setResolution(page.nDpiX);
        pPrinter->setPageLayout(LayoutFor(page));
        // After the layout, which would bring the margins back: the painter's origin is the paper's
        // corner, and the page moves the printable area's corner there itself.
        pPrinter->setFullPage(true);
        pPrinter->setCopyCount(page.nCopies);
        pPrinter->setCollateCopies(page.bCollate != FALSE);
        pPrinter->setColorMode(page.bColor ? QPrinter::Color : QPrinter::GrayScale);
        pPrinter->setDocName(strDoc);
        auto pJob = std::make_unique<CPainterJob<QPrinter>>(std::move(pPrinter), page, QString());
        if (!pJob->Open())
            return nullptr;
        return pJob;
    }
};
}

ITbPrintSystem* TbQtPrintSystem()
{
    static CQtPrintSystem* s_pSystem = new CQtPrintSystem;
    return s_pSystem;
}
