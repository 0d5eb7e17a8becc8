// The spooler without a display: the printer list, device modes, capabilities, information DCs,
// the default printer's profile string and the user's measurement system.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <cstring>
#include <vector>
#include "platform/win/Windows.h"
#include "platform/win/spool/Printers.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/TestAnswers.h"

namespace {
struct SpoolerTest : ::testing::Test {
    void SetUp() override
    {
        TbUseSystemPrinters(FALSE);
        TbRemoveVirtualPrinters();
        TbClearTestAnswers();
        TBVIRTUALPRINTER v;
        v.strName = "Office Laser";
        v.papers = {DMPAPER_LETTER, DMPAPER_A4, DMPAPER_LEGAL};
        v.nDpiX = 300;
        v.nDpiY = 600;
        v.ptOffset = POINT{50, 100};
        v.bColor = FALSE;
        TbAddVirtualPrinter(v);
    }
    void TearDown() override
    {
        TbRemoveVirtualPrinters();
        TbUseSystemPrinters(TRUE);
        TbClearTestAnswers();
    }
};

std::vector<std::string> Names(DWORD dwFlags)
{
    DWORD cbNeeded = 0, nReturned = 0;
    EXPECT_FALSE(EnumPrintersA(dwFlags, nullptr, 4, nullptr, 0, &cbNeeded, &nReturned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    // One byte short is refused and left untouched; the size asked for is enough.
    std::vector<BYTE> buffer(cbNeeded, 0xAB);
    EXPECT_FALSE(EnumPrintersA(dwFlags, nullptr, 4, buffer.data(), cbNeeded - 1, &cbNeeded, &nReturned));
    EXPECT_EQ(0xAB, buffer[0]);
    EXPECT_TRUE(EnumPrintersA(dwFlags, nullptr, 4, buffer.data(), cbNeeded, &cbNeeded, &nReturned));
    std::vector<std::string> names;
    for (DWORD i = 0; i < nReturned; ++i) {
        const PRINTER_INFO_4A& info = reinterpret_cast<PRINTER_INFO_4A*>(buffer.data())[i];
        names.push_back(std::string(info.pPrinterName) + ((info.Attributes & PRINTER_ATTRIBUTE_DEFAULT) ? "*" : ""));
    }
    return names;
}

std::string DefaultDevice()
{
    char sz[256];
    GetProfileStringA("windows", "device", "", sz, sizeof sz);
    return sz;
}
}

// The PDF printer comes first and is the default until a test's printer claims it; level 2 hands
// out each printer's port and device mode inside the caller's buffer.
TEST_F(SpoolerTest, ListsPrintersAndTheDefault)
{
    EXPECT_EQ((std::vector<std::string>{"PDF*", "Office Laser"}), Names(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS));
    EXPECT_EQ((std::vector<std::string>{"PDF*"}), Names(PRINTER_ENUM_DEFAULT));
    EXPECT_EQ("PDF,winspool,FILE:", DefaultDevice());

    TBVIRTUALPRINTER v;
    v.strName = "Front Desk";
    v.bDefault = TRUE;
    TbAddVirtualPrinter(v);
    EXPECT_EQ((std::vector<std::string>{"PDF", "Office Laser", "Front Desk*"}), Names(PRINTER_ENUM_LOCAL));
    EXPECT_EQ("Front Desk,winspool,FILE:", DefaultDevice());
    char szShort[8];
    EXPECT_EQ(7u, GetProfileStringA("windows", "device", "", szShort, sizeof szShort));
    EXPECT_STREQ("Front D", szShort);

    HANDLE hPrinter = nullptr;
    char szName[] = "Office Laser";
    ASSERT_TRUE(OpenPrinterA(szName, &hPrinter, nullptr));
    DWORD cbNeeded = 0;
    EXPECT_FALSE(GetPrinterA(hPrinter, 2, nullptr, 0, &cbNeeded));
    std::vector<BYTE> buffer(cbNeeded);
    ASSERT_TRUE(GetPrinterA(hPrinter, 2, buffer.data(), cbNeeded, &cbNeeded));
    const auto* pInfo = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    EXPECT_STREQ("Office Laser", pInfo->pPrinterName);
    EXPECT_STREQ("FILE:", pInfo->pPortName);
    ASSERT_NE(nullptr, pInfo->pDevMode);
    EXPECT_GE(reinterpret_cast<const BYTE*>(pInfo->pDevMode), buffer.data() + sizeof(PRINTER_INFO_2A));
    EXPECT_LE(reinterpret_cast<const BYTE*>(pInfo->pDevMode + 1), buffer.data() + buffer.size());
    EXPECT_STREQ("Office Laser", reinterpret_cast<const char*>(pInfo->pDevMode->dmDeviceName));
    EXPECT_EQ(DMPAPER_LETTER, pInfo->pDevMode->dmPaperSize);
    EXPECT_EQ(DMCOLOR_MONOCHROME, pInfo->pDevMode->dmColor);
    EXPECT_TRUE(ClosePrinter(hPrinter));
    EXPECT_FALSE(ClosePrinter(hPrinter));
    char szMissing[] = "Nowhere";
    EXPECT_FALSE(OpenPrinterA(szMissing, &hPrinter, nullptr));
    EXPECT_EQ(nullptr, hPrinter);
}

// Papers in tenths of a millimetre and the dots they give: 254 tenths to the inch, an edge the
// printer cannot reach on each side, lengths and edges swapped in landscape.
TEST_F(SpoolerTest, CapabilitiesAndInformationDCs)
{
    WORD papers[8] = {};
    POINT sizes[8] = {};
    char names[8][64] = {};
    ASSERT_EQ(5u, DeviceCapabilitiesA("PDF", nullptr, DC_PAPERS, nullptr, nullptr));
    DeviceCapabilitiesA("PDF", nullptr, DC_PAPERS, reinterpret_cast<LPSTR>(papers), nullptr);
    DeviceCapabilitiesA("PDF", nullptr, DC_PAPERSIZE, reinterpret_cast<LPSTR>(sizes), nullptr);
    DeviceCapabilitiesA("PDF", nullptr, DC_PAPERNAMES, names[0], nullptr);
    const struct { WORD nId; const char* pszName; double dWidthMm, dHeightMm; } expected[] = {
        {DMPAPER_A4, "A4", 210, 297}, {DMPAPER_LETTER, "Letter", 8.5 * 25.4, 11 * 25.4},
        {DMPAPER_LEGAL, "Legal", 8.5 * 25.4, 14 * 25.4}, {DMPAPER_A3, "A3", 297, 420}, {DMPAPER_A5, "A5", 148, 210}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(expected[i].nId, papers[i]);
        EXPECT_STREQ(expected[i].pszName, names[i]);
        EXPECT_NEAR(expected[i].dWidthMm * 10, sizes[i].x, 0.5) << names[i];
        EXPECT_NEAR(expected[i].dHeightMm * 10, sizes[i].y, 0.5) << names[i];
    }
    LONG resolutions[4] = {};
    ASSERT_EQ(1u, DeviceCapabilitiesA("Office Laser", nullptr, DC_ENUMRESOLUTIONS, reinterpret_cast<LPSTR>(resolutions), nullptr));
    EXPECT_EQ(300, resolutions[0]);
    EXPECT_EQ(600, resolutions[1]);
    EXPECT_EQ(0u, DeviceCapabilitiesA("Office Laser", nullptr, DC_COLORDEVICE, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(-1), DeviceCapabilitiesA("Nowhere", nullptr, DC_PAPERS, nullptr, nullptr));

    // Letter at 300 x 600 dpi, then A4 at 600 dpi on the PDF printer, in both orientations.
    const struct { const char* pszPrinter; short nPaper; short nOrient; double dInchesX, dInchesY; int nDpiX, nDpiY, nOffX, nOffY; } cases[] = {
        {"Office Laser", DMPAPER_LETTER, DMORIENT_PORTRAIT, 8.5, 11, 300, 600, 50, 100},
        {"Office Laser", DMPAPER_LETTER, DMORIENT_LANDSCAPE, 11, 8.5, 300, 600, 100, 50},
        {"PDF", DMPAPER_A4, DMORIENT_PORTRAIT, 210 / 25.4, 297 / 25.4, 600, 600, 0, 0},
        {"PDF", DMPAPER_A4, DMORIENT_LANDSCAPE, 297 / 25.4, 210 / 25.4, 600, 600, 0, 0},
        {"PDF", DMPAPER_A5, DMORIENT_PORTRAIT, 148 / 25.4, 210 / 25.4, 600, 600, 0, 0},
    };
    for (const auto& c : cases) {
        DEVMODEA dm = {};
        dm.dmSize = sizeof dm;
        dm.dmFields = DM_PAPERSIZE | DM_ORIENTATION;
        dm.dmPaperSize = c.nPaper;
        dm.dmOrientation = c.nOrient;
        HDC hdc = CreateICA(nullptr, c.pszPrinter, nullptr, &dm);
        ASSERT_NE(nullptr, hdc) << c.pszPrinter;
        const int cxPaper = static_cast<int>(std::lround(c.dInchesX * c.nDpiX));
        const int cyPaper = static_cast<int>(std::lround(c.dInchesY * c.nDpiY));
        const std::string strCase = std::string(c.pszPrinter) + " paper " + std::to_string(c.nPaper) + " orientation " +
                                    std::to_string(c.nOrient);
        EXPECT_EQ(DT_RASPRINTER, GetDeviceCaps(hdc, TECHNOLOGY)) << strCase;
        EXPECT_EQ(cxPaper, GetDeviceCaps(hdc, PHYSICALWIDTH)) << strCase;
        EXPECT_EQ(cyPaper, GetDeviceCaps(hdc, PHYSICALHEIGHT)) << strCase;
        EXPECT_EQ(c.nOffX, GetDeviceCaps(hdc, PHYSICALOFFSETX)) << strCase;
        EXPECT_EQ(c.nOffY, GetDeviceCaps(hdc, PHYSICALOFFSETY)) << strCase;
        EXPECT_EQ(cxPaper - 2 * c.nOffX, GetDeviceCaps(hdc, HORZRES)) << strCase;
        EXPECT_EQ(cyPaper - 2 * c.nOffY, GetDeviceCaps(hdc, VERTRES)) << strCase;
        EXPECT_EQ(c.nDpiX, GetDeviceCaps(hdc, LOGPIXELSX)) << strCase;
        EXPECT_EQ(c.nDpiY, GetDeviceCaps(hdc, LOGPIXELSY)) << strCase;
        EXPECT_NEAR((cxPaper - 2 * c.nOffX) * 25.4 / c.nDpiX, GetDeviceCaps(hdc, HORZSIZE), 0.5) << strCase;
        // An information DC draws nowhere and has no document to start.
        DOCINFOA di = {sizeof di, "x", "/dev/null", nullptr, 0};
        EXPECT_EQ(SP_ERROR, StartDocA(hdc, &di));
        EXPECT_TRUE(DeleteDC(hdc));
    }
    EXPECT_EQ(nullptr, CreateICA(nullptr, "Nowhere", nullptr, nullptr));
}

// DM_IN_BUFFER takes only what the printer can do and only what lies inside the mode's own size;
// DM_IN_PROMPT asks, and a cancelled question leaves the output as the input made it.
TEST_F(SpoolerTest, DocumentPropertiesMergeAndAsk)
{
    char szName[] = "Office Laser";
    EXPECT_EQ(static_cast<LONG>(sizeof(DEVMODEA)), DocumentPropertiesA(nullptr, nullptr, szName, nullptr, nullptr, 0));
    EXPECT_LT(DocumentPropertiesA(nullptr, nullptr, nullptr, nullptr, nullptr, 0), 0);

    DEVMODEA in = {};
    in.dmSize = sizeof in;
    in.dmFields = DM_PAPERSIZE | DM_ORIENTATION | DM_COPIES | DM_COLOR | DM_COLLATE;
    in.dmPaperSize = DMPAPER_A3;                 // not on this printer: stays Letter
    in.dmOrientation = DMORIENT_LANDSCAPE;
    in.dmCopies = 3;
    in.dmColor = DMCOLOR_COLOR;                  // a monochrome printer stays monochrome
    in.dmCollate = DMCOLLATE_TRUE;
    DEVMODEA out = {};
    EXPECT_EQ(IDOK, DocumentPropertiesA(nullptr, nullptr, szName, &out, &in, DM_IN_BUFFER | DM_OUT_BUFFER));
    EXPECT_EQ(DMPAPER_LETTER, out.dmPaperSize);
    EXPECT_EQ(DMORIENT_LANDSCAPE, out.dmOrientation);
    EXPECT_EQ(3, out.dmCopies);
    EXPECT_EQ(DMCOLOR_MONOCHROME, out.dmColor);
    EXPECT_EQ(DMCOLLATE_TRUE, out.dmCollate);
    EXPECT_EQ(sizeof(DEVMODEA), out.dmSize);

    // A mode cut short: the fields past its end are not read.
    DEVMODEA shortMode = in;
    shortMode.dmPaperSize = DMPAPER_A4;
    shortMode.dmSize = offsetof(DEVMODEA, dmPaperSize);
    EXPECT_EQ(IDOK, DocumentPropertiesA(nullptr, nullptr, szName, &out, &shortMode, DM_IN_BUFFER | DM_OUT_BUFFER));
    EXPECT_EQ(DMORIENT_LANDSCAPE, out.dmOrientation);
    EXPECT_EQ(DMPAPER_LETTER, out.dmPaperSize);
    shortMode.dmSize = offsetof(DEVMODEA, dmCopies);
    EXPECT_EQ(IDOK, DocumentPropertiesA(nullptr, nullptr, szName, &out, &shortMode, DM_IN_BUFFER | DM_OUT_BUFFER));
    EXPECT_EQ(DMPAPER_A4, out.dmPaperSize);
    EXPECT_EQ(1, out.dmCopies);

    TbQueueTestAnswer(TBTESTANSWER{TB_ASK_PRINTERPROPS, IDOK, "paper=5;orientation=1;copies=2;collate=0"});
    EXPECT_EQ(IDOK, DocumentPropertiesA(nullptr, nullptr, szName, &out, &in, DM_IN_BUFFER | DM_IN_PROMPT | DM_OUT_BUFFER));
    EXPECT_EQ(DMPAPER_LEGAL, out.dmPaperSize);
    EXPECT_EQ(DMORIENT_PORTRAIT, out.dmOrientation);
    EXPECT_EQ(2, out.dmCopies);
    EXPECT_EQ(DMCOLLATE_FALSE, out.dmCollate);
    TbQueueTestAnswer(TBTESTANSWER{TB_ASK_PRINTERPROPS, IDCANCEL, ""});
    EXPECT_EQ(IDCANCEL, DocumentPropertiesA(nullptr, nullptr, szName, &out, &in, DM_IN_BUFFER | DM_IN_PROMPT | DM_OUT_BUFFER));
    EXPECT_EQ(DMPAPER_LETTER, out.dmPaperSize);
    EXPECT_EQ(3, out.dmCopies);
    EXPECT_EQ(0, TbPendingTestAnswers());
}

// The measurement system of the user's locale, read as the C library reads it: LC_ALL over
// LC_MEASUREMENT over LANG. Each case runs in a child, whose environment is its own.
TEST(Locale, MeasureFollowsTheUserLocale)
{
    const struct { const char* pszAll; const char* pszMeasurement; const char* pszLang; const char* pszAnswer; } cases[] = {
        {nullptr, "en_US.UTF-8", "de_DE.UTF-8", "1"},
        {nullptr, "de_DE.UTF-8", "en_US.UTF-8", "0"},
        {nullptr, nullptr, "en_US", "1"},
        {nullptr, nullptr, "en_GB.UTF-8", "0"},
        {"de_DE.UTF-8", "en_US.UTF-8", nullptr, "0"},
        {nullptr, nullptr, "C", "0"},
    };
    for (const auto& c : cases) {
        EXPECT_EXIT(
            {
                unsetenv("LC_ALL");
                unsetenv("LC_MEASUREMENT");
                unsetenv("LANG");
                if (c.pszAll)
                    setenv("LC_ALL", c.pszAll, 1);
                if (c.pszMeasurement)
                    setenv("LC_MEASUREMENT", c.pszMeasurement, 1);
                if (c.pszLang)
                    setenv("LANG", c.pszLang, 1);
                char sz[4] = "";
                const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, sz, sizeof sz);
                _exit(n == 2 && strcmp(sz, c.pszAnswer) == 0 ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "")
            << (c.pszMeasurement ? c.pszMeasurement : "-") << " " << (c.pszLang ? c.pszLang : "-");
    }
    EXPECT_EQ(2, GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, nullptr, 0));
    char szOne[1];
    EXPECT_EQ(0, GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, szOne, 1));
}
