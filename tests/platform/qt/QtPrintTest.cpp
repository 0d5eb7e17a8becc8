// Printer DCs on the Qt display, checked through the PDF files they write: poppler's tools read the
// pages back (pdfinfo: pages and size, pdftotext: the text and where it lies, pdftoppm: pixels).
#include <gtest/gtest.h>
#include <QtCore/QRegularExpression>
#include <algorithm>
#include <QtGui/QImage>
#include <QtGui/QGlyphRun>
#include <QtGui/QTextLayout>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialog>
#include <QtWidgets/QLabel>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QSpinBox>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include "QtTestSupport.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/mfc/DC.h"
#include "platform/win/Windows.h"
#include "platform/win/spool/Printers.h"
#include "platform/win/user/CommonDialogs.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/TestAnswers.h"
#include "tests/common/PdfReadBack.h"

namespace {
// The value after "Key:" in pdfinfo's output.
std::string InfoField(const std::string& strInfo, const char* pszKey)
{
    size_t n = strInfo.find(std::string(pszKey) + ":");
    if (n == std::string::npos)
        return "";
    n = strInfo.find_first_not_of(' ', n + strlen(pszKey) + 1);
    return strInfo.substr(n, strInfo.find('\n', n) - n);
}

// A page rendered at the printer's own resolution divided by nDivide.
QImage Render(const std::string& strPdf, int nPage, int nDpi)
{
    std::string strStem = strPdf + ".page";
    RunCommand("pdftoppm -png -r " + std::to_string(nDpi) + " -f " + std::to_string(nPage) + " -l " + std::to_string(nPage) +
        " -singlefile '" + strPdf + "' '" + strStem + "'");
    return QImage(QString::fromStdString(strStem + ".png"));
}

HFONT PrinterFont(HDC hdc, int nPoints, BYTE nCharSet, const char* pszFace)
{
    LOGFONTA lf = {};
    lf.lfHeight = -MulDiv(nPoints, GetDeviceCaps(hdc, LOGPIXELSY), 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = nCharSet;
    snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", pszFace);
    return CreateFontIndirectA(&lf);
}

struct QtPrintTest : ::testing::Test {
    std::filesystem::path dir;
    void SetUp() override
    {
        TbInitQtPlatform(nullptr, nullptr);
        TbUseSystemPrinters(FALSE);
        TbRemoveVirtualPrinters();
        TbClearTestAnswers();
        dir = std::filesystem::temp_directory_path() / ("tbprint_" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override
    {
        TbRemoveVirtualPrinters();
        TbUseSystemPrinters(TRUE);
        TbClearTestAnswers();
        std::filesystem::remove_all(dir);
    }
};
}

// Two A4 pages at 600 dpi through the GDI calls a table printout makes, with a logical page of
// 1000 x 1000 units stretched over the printable area (MM_ANISOTROPIC).
TEST_F(QtPrintTest, PdfPrinterPagesKeepTextFiguresClipsAndBitmaps)
{
    DEVMODEA dm = {};
    dm.dmSize = sizeof dm;
    dm.dmFields = DM_PAPERSIZE | DM_ORIENTATION;
    dm.dmPaperSize = DMPAPER_A4;
    dm.dmOrientation = DMORIENT_PORTRAIT;
    HDC hdc = CreateDCA(nullptr, TB_PDF_PRINTER_NAME, nullptr, &dm);
    ASSERT_NE(nullptr, hdc);
    const int cx = GetDeviceCaps(hdc, HORZRES), cy = GetDeviceCaps(hdc, VERTRES);
    const std::string strPdf = (dir / "table.pdf").string();
    DOCINFOA di = {sizeof di, "Table", strPdf.c_str(), nullptr, 0};
    ASSERT_GT(StartDocA(hdc, &di), 0);

    ASSERT_GT(StartPage(hdc), 0);
    // The words are measured on the printer before the mapping changes, as a report lays out.
    HFONT hLatin = PrinterFont(hdc, 12, ANSI_CHARSET, "Arial");
    HFONT hArabic = PrinterFont(hdc, 12, ARABIC_CHARSET, "Arial");
    HGDIOBJ hOldFont = SelectObject(hdc, hLatin);
    SIZE szWord = {};
    ASSERT_TRUE(GetTextExtentPoint32A(hdc, "Quarterly", 9, &szWord));
    TEXTMETRICA tm = {};
    ASSERT_TRUE(GetTextMetricsA(hdc, &tm));
    EXPECT_GE(tm.tmHeight, MulDiv(12, 600, 72));          // 100 dots of 12 points, and its leading
    SetBkMode(hdc, TRANSPARENT);
    TextOutA(hdc, 600, 600, "Quarterly", 9);
    SelectObject(hdc, hArabic);
    // "Market summary" in code page 1256: the PDF must give the same Arabic letters back.
    const char szArabic[] = "\xE3\xE1\xCE\xD5 \xC7\xE1\xD3\xE6\xDE";
    SetTextAlign(hdc, TA_RIGHT | TA_RTLREADING);
    TextOutA(hdc, cx - 600, 900, szArabic, static_cast<int>(strlen(szArabic)));
    SetTextAlign(hdc, TA_LEFT);
    SelectObject(hdc, hOldFont);

    SetMapMode(hdc, MM_ANISOTROPIC);
    SetWindowExtEx(hdc, 1000, 1000, nullptr);
    SetViewportExtEx(hdc, cx, cy, nullptr);
    // A red square at logical 100..300 x 400..600, its right half clipped away.
    HBRUSH hRed = CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ hOldBrush = SelectObject(hdc, hRed);
    SaveDC(hdc);
    IntersectClipRect(hdc, 0, 0, 200, 1000);
    HGDIOBJ hOldPen = SelectObject(hdc, GetStockObject(NULL_PEN));
    Rectangle(hdc, 100, 400, 300, 600);
    RestoreDC(hdc, -1);
    // A green band filled at logical 400..500 x 400..600.
    RECT rcGreen = {400, 400, 500, 600};
    HBRUSH hGreen = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(hdc, &rcGreen, hGreen);
    DeleteObject(hGreen);
    // A black line and a blue bitmap stretched over logical 600..800 x 400..600.
    MoveToEx(hdc, 100, 700, nullptr);
    LineTo(hdc, 900, 700);
    HDC hdcMem = CreateCompatibleDC(hdc);
    HBITMAP hBitmap = CreateBitmap(2, 2, 1, 32, nullptr);
    HGDIOBJ hOldBitmap = SelectObject(hdcMem, hBitmap);
    RECT rcAll = {0, 0, 2, 2};
    HBRUSH hBlue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(hdcMem, &rcAll, hBlue);
    EXPECT_TRUE(StretchBlt(hdc, 600, 400, 200, 200, hdcMem, 0, 0, 2, 2, SRCCOPY));
    SelectObject(hdcMem, hOldBitmap);
    DeleteObject(hBitmap);
    DeleteDC(hdcMem);
    SelectObject(hdc, hOldPen);
    SelectObject(hdc, hOldBrush);
    ASSERT_GT(EndPage(hdc), 0);

    ASSERT_GT(StartPage(hdc), 0);
    SetMapMode(hdc, MM_TEXT);
    SelectObject(hdc, hLatin);
    TextOutA(hdc, 600, 600, "Second page", 11);
    // A cell's text is cut at the cell's edge (dots 600..1200 across).
    RECT rcCell = {600, 1200, 1200, 1400};
    DrawTextA(hdc, "WWWWWWWWWWWWWWWWWWWW", -1, &rcCell, DT_SINGLELINE | DT_LEFT);
    ASSERT_GT(EndPage(hdc), 0);
    ASSERT_GT(EndDoc(hdc), 0);
    DeleteDC(hdc);
    for (HGDIOBJ h : {static_cast<HGDIOBJ>(hLatin), static_cast<HGDIOBJ>(hArabic), static_cast<HGDIOBJ>(hRed),
                      static_cast<HGDIOBJ>(hBlue)})
        DeleteObject(h);

    const std::string strInfo = RunCommand("pdfinfo '" + strPdf + "'");
    EXPECT_EQ("2", InfoField(strInfo, "Pages")) << strInfo;
    EXPECT_NE(std::string::npos, InfoField(strInfo, "Page size").find("595 x 842")) << strInfo;   // A4 in points

    // Every font is embedded: the file prints the same on a machine without the faces.
    const std::string strFonts = RunCommand("pdffonts '" + strPdf + "'");
    const size_t nEmb = strFonts.find("emb");
    ASSERT_NE(std::string::npos, nEmb) << strFonts;
    std::istringstream lines(strFonts);
    std::string strLine;
    for (int i = 0; std::getline(lines, strLine); ++i)
        if (i >= 2 && !strLine.empty()) {
            EXPECT_EQ("yes", strLine.substr(nEmb, 3)) << strLine;
        }
    EXPECT_NE(std::string::npos, strFonts.find("Liberation")) << strFonts;
    // Arabic comes back as its letters between bidi marks: dropping the marks gives them as they
    // were typed (NFKC leaves them so).
    std::string strPage1 = QString::fromStdString(RunCommand("pdftotext -f 1 -l 1 '" + strPdf + "' -"))
                               .normalized(QString::NormalizationForm_KC)
                               .remove(QRegularExpression(QStringLiteral("[\\x{200E}\\x{200F}\\x{202A}-\\x{202E}]")))
                               .toStdString();
    EXPECT_NE(std::string::npos, strPage1.find("Quarterly")) << strPage1;
    EXPECT_NE(std::string::npos, strPage1.find("\xD9\x85\xD9\x84\xD8\xAE\xD8\xB5")) << strPage1;
    EXPECT_NE(std::string::npos, strPage1.find("\xD8\xA7\xD9\x84\xD8\xB3\xD9\x88\xD9\x82")) << strPage1;
    EXPECT_EQ(std::string::npos, strPage1.find("Second")) << strPage1;
    EXPECT_NE(std::string::npos, RunCommand("pdftotext -f 2 -l 2 '" + strPdf + "' -").find("Second page"));

    // The word is as wide on paper as GetTextExtentPoint32 said: its box in points at 600 dpi.
    const std::string strBox = RunCommand("pdftotext -bbox -f 1 -l 1 '" + strPdf + "' -");
    double xMin = 0, xMax = 0;
    size_t nWord = strBox.find(">Quarterly<");
    ASSERT_NE(std::string::npos, nWord) << strBox;
    size_t nTag = strBox.rfind("<word", nWord);
    ASSERT_EQ(2, sscanf(strBox.c_str() + nTag, "<word xMin=\"%lf\" yMin=\"%*f\" xMax=\"%lf\"", &xMin, &xMax));
    EXPECT_NEAR(600, xMin * 600 / 72, 12);
    EXPECT_NEAR(szWord.cx, (xMax - xMin) * 600 / 72, szWord.cx * 0.03);

    // Rendered at 60 dpi, a tenth of the printer's dots: the mapping put the square at
    // logical 100..200 (the clip) x 400..600, the band at 400..500 and the bitmap at 600..800.
    QImage page = Render(strPdf, 1, 60);
    ASSERT_FALSE(page.isNull());
    // Colours within a step or two: the renderer may round the image's colour space.
    auto at = [&](int xLogical, int yLogical) {
        QRgb px = page.pixel(cx * xLogical / 1000 / 10, cy * yLogical / 1000 / 10);
        auto snap = [](int c) { return c < 8 ? 0u : c > 247 ? 255u : static_cast<unsigned>(c); };
        return snap(qRed(px)) << 16 | snap(qGreen(px)) << 8 | snap(qBlue(px));
    };
    EXPECT_EQ(0xFF0000u, at(150, 500));          // inside the clip
    EXPECT_EQ(0xFFFFFFu, at(250, 500));          // clipped away
    EXPECT_EQ(0xFFFFFFu, at(350, 500));          // past the square
    EXPECT_EQ(0x00FF00u, at(450, 500));          // the band
    EXPECT_EQ(0xFFFFFFu, at(450, 350));
    EXPECT_EQ(0x0000FFu, at(700, 500));          // the bitmap
    EXPECT_EQ(0xFFFFFFu, at(850, 500));
    EXPECT_LT(qGray(page.pixel(cx * 500 / 1000 / 10, cy * 700 / 1000 / 10)), 128);    // the line

    // The cut text inks the cell (60..120 at 60 dpi) and nothing after it.
    QImage page2 = Render(strPdf, 2, 60);
    auto inked = [&](int xFrom, int xTo) {
        int n = 0;
        for (int y = 120; y < 140; ++y)
            for (int x = xFrom; x < xTo; ++x)
                n += qGray(page2.pixel(x, y)) < 128;
        return n;
    };
    EXPECT_GT(inked(60, 119), 20);
    EXPECT_EQ(0, inked(121, 220));
}

// A monochrome virtual printer with an unprintable edge: its dots start at the offset, colours
// print as their greys, and the file comes from the save question when the document names none;
// cancelling it fails StartDoc.
TEST_F(QtPrintTest, VirtualPrinterOffsetsAndTheFileQuestion)
{
    TBVIRTUALPRINTER v;
    v.strName = "Office Laser";
    v.papers = {DMPAPER_LETTER, DMPAPER_A4};
    v.nDpiX = v.nDpiY = 300;
    v.ptOffset = POINT{75, 150};                 // a quarter and a half inch
    v.bColor = FALSE;
    TbAddVirtualPrinter(v);
    HDC hdc = CreateDCA(nullptr, "Office Laser", nullptr, nullptr);
    ASSERT_NE(nullptr, hdc);
    DOCINFOA di = {sizeof di, "Offsets", nullptr, nullptr, 0};
    TbQueueTestAnswer(TBTESTANSWER{TB_ASK_SAVEFILE, IDCANCEL, ""});
    EXPECT_EQ(SP_ERROR, StartDocA(hdc, &di));
    EXPECT_EQ(0, TbPendingTestAnswers());
    EXPECT_EQ(SP_ERROR, StartPage(hdc));

    // A file that cannot be written refuses the document; an aborted one leaves no file.
    DOCINFOA diNowhere = {sizeof di, "Offsets", "/nonexistent/folder/x.pdf", nullptr, 0};
    EXPECT_EQ(SP_ERROR, StartDocA(hdc, &diNowhere));
    const std::string strAborted = (dir / "aborted.pdf").string();
    DOCINFOA diAborted = {sizeof di, "Offsets", strAborted.c_str(), nullptr, 0};
    ASSERT_GT(StartDocA(hdc, &diAborted), 0);
    ASSERT_GT(StartPage(hdc), 0);
    EXPECT_GT(AbortDoc(hdc), 0);
    EXPECT_FALSE(std::filesystem::exists(strAborted));
    EXPECT_EQ(SP_ERROR, EndPage(hdc));

    const std::string strPdf = (dir / "chosen.pdf").string();
    TbQueueTestAnswer(TBTESTANSWER{TB_ASK_SAVEFILE, IDOK, strPdf});
    ASSERT_GT(StartDocA(hdc, &di), 0);
    ASSERT_GT(StartPage(hdc), 0);
    // A black square of one inch at the printable area's corner.
    RECT rc = {0, 0, 300, 300};
    FillRect(hdc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    RECT rcRed = {600, 0, 900, 300};
    HBRUSH hRed = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(hdc, &rcRed, hRed);
    DeleteObject(hRed);
    ASSERT_GT(EndPage(hdc), 0);
    ASSERT_GT(EndDoc(hdc), 0);
    DeleteDC(hdc);

    EXPECT_NE(std::string::npos, InfoField(RunCommand("pdfinfo '" + strPdf + "'"), "Page size").find("612 x 792"));   // Letter
    QImage page = Render(strPdf, 1, 100);        // a third of the printer's dots
    ASSERT_FALSE(page.isNull());
    // The square spans 0.25..1.25 inches across and 0.5..1.5 down the paper.
    EXPECT_EQ(0xFFFFFFu, page.pixel(20, 70) & 0xFFFFFF);
    EXPECT_EQ(0x000000u, page.pixel(30, 60) & 0xFFFFFF);
    EXPECT_EQ(0x000000u, page.pixel(120, 140) & 0xFFFFFF);
    EXPECT_EQ(0xFFFFFFu, page.pixel(130, 100) & 0xFFFFFF);
    EXPECT_EQ(0xFFFFFFu, page.pixel(60, 45) & 0xFFFFFF);
    // The red square, 2.25..3.25 inches across, is grey.
    const QRgb pxRed = page.pixel(280, 100);
    EXPECT_EQ(qRed(pxRed), qGreen(pxRed));
    EXPECT_EQ(qRed(pxRed), qBlue(pxRed));
    EXPECT_NEAR(qGray(qRgb(255, 0, 0)), qRed(pxRed), 3);
}

namespace {
std::string g_strPropsSeen;
}

// The properties question on the display, in both languages: the person picks Legal, landscape,
// four collated copies in grey, and the device mode comes back so (a screenshot of each for people).
TEST_F(QtPrintTest, PropertiesDialogOnTheDisplay)
{
    for (UINT uCodePage : {1252u, 1256u}) {
        ASSERT_TRUE(TbSetActiveCodePage(uCodePage));
        SetThreadLocale(uCodePage == 1256 ? 0x3401 : 1033);     // the dialog speaks the user's language
        g_strPropsSeen.clear();
        SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR nId, DWORD) {
            KillTimer(nullptr, nId);
            QDialog* pDialog = nullptr;
            for (QWidget* pWidget : QApplication::topLevelWidgets())
                if (pWidget->objectName() == QLatin1String("TbPrinterProperties") && pWidget->isVisible())
                    pDialog = qobject_cast<QDialog*>(pWidget);
            ASSERT_NE(nullptr, pDialog);
            auto* pPaper = pDialog->findChild<QComboBox*>(QStringLiteral("paper"));
            g_strPropsSeen = pPaper->currentText().toStdString();
            pPaper->setCurrentIndex(pPaper->findText(QStringLiteral("Legal")));
            pDialog->findChild<QRadioButton*>(QStringLiteral("landscape"))->setChecked(true);
            pDialog->findChild<QSpinBox*>(QStringLiteral("copies"))->setValue(4);
            pDialog->findChild<QCheckBox*>(QStringLiteral("collate"))->setChecked(true);
            pDialog->findChild<QCheckBox*>(QStringLiteral("color"))->setChecked(false);
            pDialog->grab().save(QString::fromStdString(
                ScreenshotPath(GetACP() == 1256 ? "printer_properties_ar" : "printer_properties_en")));
            pDialog->accept();
        });
        char szName[] = TB_PDF_PRINTER_NAME;
        DEVMODEA in = {};
        in.dmSize = sizeof in;
        in.dmFields = DM_PAPERSIZE;
        in.dmPaperSize = DMPAPER_A3;
        DEVMODEA out = {};
        EXPECT_EQ(IDOK, DocumentPropertiesA(nullptr, nullptr, szName, &out, &in, DM_IN_BUFFER | DM_IN_PROMPT | DM_OUT_BUFFER));
        EXPECT_EQ("A3", g_strPropsSeen);             // it opened on the caller's paper
        EXPECT_EQ(DMPAPER_LEGAL, out.dmPaperSize);
        EXPECT_EQ(DMORIENT_LANDSCAPE, out.dmOrientation);
        EXPECT_EQ(4, out.dmCopies);
        EXPECT_EQ(DMCOLLATE_TRUE, out.dmCollate);
        EXPECT_EQ(DMCOLOR_MONOCHROME, out.dmColor);
    }
    TbSetActiveCodePage(1252);
    SetThreadLocale(1033);
}

namespace {
struct SetupPick {
    std::string strOpenedOn, strPaperSeen;
    bool bLandscapeSeen = false;
    const char* pszPrinter = nullptr;
    const char* pszPaper = nullptr;
    bool bLandscape = false;
};
SetupPick g_setup;
std::string g_strLaidOut;           // how the port and the driver read

// The glyphs of a text from left to right as a line in that direction lays them out.
std::vector<quint32> GlyphsLeftToRight(const QString& strText, const QFont& font, Qt::LayoutDirection direction)
{
    QTextLayout layout(strText, font);
    QTextOption option;
    option.setTextDirection(direction);
    layout.setTextOption(option);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    std::vector<std::pair<qreal, quint32>> glyphs;
    for (const QGlyphRun& run : layout.glyphRuns())
        for (int i = 0; i < run.glyphIndexes().size(); ++i)
            glyphs.emplace_back(run.positions()[i].x(), run.glyphIndexes()[i]);
    std::stable_sort(glyphs.begin(), glyphs.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<quint32> order;
    for (const auto& glyph : glyphs)
        order.push_back(glyph.second);
    return order;
}

// "left to right" when the label shows its text's letters in the order they are written (a port
// "FILE:" laid out right to left shows ":FILE"); marks that steer the direction draw nothing.
std::string LaidOut(const QLabel* pLabel)
{
    QString strBare = pLabel->text();
    strBare.removeIf([](QChar ch) { return ch.category() == QChar::Other_Format; });
    const std::vector<quint32> written = GlyphsLeftToRight(strBare, pLabel->font(), Qt::LeftToRight);
    std::vector<quint32> shown = GlyphsLeftToRight(pLabel->text(), pLabel->font(), pLabel->layoutDirection());
    std::erase_if(shown, [&](quint32 n) { return std::find(written.begin(), written.end(), n) == written.end(); });
    return shown == written ? "left to right" : "right to left";
}

std::string DevNamesDevice(HGLOBAL hDevNames)
{
    const auto* pNames = static_cast<const DEVNAMES*>(GlobalLock(hDevNames));
    std::string str = pNames ? reinterpret_cast<const char*>(pNames) + pNames->wDeviceOffset : "";
    GlobalUnlock(hDevNames);
    return str;
}
}

// The print-setup chooser on the display, in both languages: English opens on the default
// printer and the person picks the grey one on Letter in landscape; Arabic opens on that choice
// and the person picks the PDF printer on A3 upright (a screenshot of each for people).
TEST_F(QtPrintTest, PrintSetupChooserOnTheDisplay)
{
    TBVIRTUALPRINTER grey;
    grey.strName = "Office Grey";
    grey.papers = {DMPAPER_A4, DMPAPER_LETTER};
    grey.bColor = FALSE;
    TbAddVirtualPrinter(grey);
    const struct {
        UINT uCodePage;
        SetupPick pick;
        const char* pszShot;
    } cases[] = {
        {1252, {TB_PDF_PRINTER_NAME, "A4", false, "Office Grey", "Letter", true}, "print_setup_en"},
        {1256, {"Office Grey", "Letter", true, TB_PDF_PRINTER_NAME, "A3", false}, "print_setup_ar"},
    };
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_PRINTSETUP;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszShot);
        ASSERT_TRUE(TbSetActiveCodePage(c.uCodePage));
        SetThreadLocale(c.uCodePage == 1256 ? 0x3401 : 1033);
        g_setup = c.pick;
        g_setup.strOpenedOn.clear();
        static std::string s_strShot;
        s_strShot = ScreenshotPath(c.pszShot);
        SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR nId, DWORD) {
            KillTimer(nullptr, nId);
            QDialog* pDialog = nullptr;
            for (QWidget* pWidget : QApplication::topLevelWidgets())
                if (pWidget->objectName() == QLatin1String("TbPrintSetup") && pWidget->isVisible())
                    pDialog = qobject_cast<QDialog*>(pWidget);
            ASSERT_NE(nullptr, pDialog);
            auto* pPrinter = pDialog->findChild<QComboBox*>(QStringLiteral("printer"));
            auto* pPaper = pDialog->findChild<QComboBox*>(QStringLiteral("paper"));
            auto* pLandscape = pDialog->findChild<QRadioButton*>(QStringLiteral("landscape"));
            g_setup.strOpenedOn = pPrinter->currentText().toStdString();
            g_setup.strPaperSeen = pPaper->currentText().toStdString();
            g_setup.bLandscapeSeen = pLandscape->isChecked();
            g_strLaidOut = LaidOut(pDialog->findChild<QLabel*>(QStringLiteral("where"))) + ", " +
                                 LaidOut(pDialog->findChild<QLabel*>(QStringLiteral("type")));
            pPrinter->setCurrentIndex(pPrinter->findText(QString::fromUtf8(g_setup.pszPrinter)));
            pPaper->setCurrentIndex(pPaper->findText(QString::fromUtf8(g_setup.pszPaper)));
            (g_setup.bLandscape ? pLandscape : pDialog->findChildren<QRadioButton*>().front())->setChecked(true);
            pDialog->grab().save(QString::fromStdString(s_strShot));
            pDialog->accept();
        });
        ASSERT_TRUE(PrintDlgA(&pd));
        EXPECT_EQ(c.pick.strOpenedOn, g_setup.strOpenedOn);
        EXPECT_EQ(c.pick.strPaperSeen, g_setup.strPaperSeen);
        EXPECT_EQ(c.pick.bLandscapeSeen, g_setup.bLandscapeSeen);
        EXPECT_EQ("left to right, left to right", g_strLaidOut) << "the port and the driver";
        EXPECT_EQ(c.pick.pszPrinter, DevNamesDevice(pd.hDevNames));
        const auto* pDm = static_cast<const DEVMODEA*>(GlobalLock(pd.hDevMode));
        ASSERT_NE(nullptr, pDm);
        EXPECT_STREQ(c.pick.pszPrinter, reinterpret_cast<const char*>(pDm->dmDeviceName));
        EXPECT_EQ(c.pick.bLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT, pDm->dmOrientation);
        EXPECT_EQ(TbFindPaper(pDm->dmPaperSize)->pszName, std::string(c.pick.pszPaper));
        GlobalUnlock(pd.hDevMode);
    }
    GlobalFree(pd.hDevNames);
    GlobalFree(pd.hDevMode);
    TbSetActiveCodePage(1252);
    SetThreadLocale(1033);
}

// The class library's DC over a printer: made, printed through and deleted by the object.
TEST_F(QtPrintTest, ClassLibraryDCPrintsLandscapePages)
{
    DEVMODEA dm = {};
    dm.dmSize = sizeof dm;
    dm.dmFields = DM_ORIENTATION;
    dm.dmOrientation = DMORIENT_LANDSCAPE;
    const std::string strPdf = (dir / "wide.pdf").string();
    {
        CDC dc;
        ASSERT_TRUE(dc.CreateDC(nullptr, TB_PDF_PRINTER_NAME, nullptr, &dm));
        EXPECT_FALSE(dc.CreateIC(nullptr, TB_PDF_PRINTER_NAME, nullptr, nullptr));      // one DC at a time
        EXPECT_GT(dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
        DOCINFOA di = {sizeof di, "Wide", strPdf.c_str(), nullptr, 0};
        ASSERT_GT(dc.StartDoc(&di), 0);
        for (int nPage = 1; nPage <= 3; ++nPage) {
            ASSERT_GT(dc.StartPage(), 0);
            dc.TextOut(100, 100, CString("Page ") + std::to_string(nPage).c_str());
            ASSERT_GT(dc.EndPage(), 0);
        }
        ASSERT_GT(dc.EndDoc(), 0);
    }
    const std::string strInfo = RunCommand("pdfinfo '" + strPdf + "'");
    EXPECT_EQ("3", InfoField(strInfo, "Pages"));
    EXPECT_NE(std::string::npos, InfoField(strInfo, "Page size").find("842 x 595")) << strInfo;
    EXPECT_NE(std::string::npos, RunCommand("pdftotext -f 3 -l 3 '" + strPdf + "' -").find("Page 3"));
}

// The machine's CUPS queues: without a scheduler the list answers at once with the PDF printer
// first; with a queue (printer-driver-cups-pdf makes one) a document goes through to it.
TEST_F(QtPrintTest, CupsQueuesWhereThereAreAny)
{
    TbUseSystemPrinters(TRUE);
    const DWORD dwStart = GetTickCount();
    std::vector<TBPRINTER> printers = TbListPrinters();
    EXPECT_LT(GetTickCount() - dwStart, 2000u);
    ASSERT_FALSE(printers.empty());
    EXPECT_EQ(TB_PDF_PRINTER_NAME, printers.front().strName);
    auto itQueue = std::find_if(printers.begin(), printers.end(), [](const TBPRINTER& p) { return p.nKind == TB_PRINTER_QUEUE; });
    if (itQueue == printers.end())
        GTEST_SKIP() << "no CUPS queue on this machine";
    HDC hdc = CreateDCA(nullptr, itQueue->strName.c_str(), nullptr, nullptr);
    ASSERT_NE(nullptr, hdc);
    DOCINFOA di = {sizeof di, "Queue test", nullptr, nullptr, 0};
    ASSERT_GT(StartDocA(hdc, &di), 0);
    for (int nPage = 0; nPage < 2; ++nPage) {
        ASSERT_GT(StartPage(hdc), 0);
        TextOutA(hdc, 100, 100, "Queue", 5);
        ASSERT_GT(EndPage(hdc), 0);
    }
    EXPECT_GT(EndDoc(hdc), 0);
    DeleteDC(hdc);
}
