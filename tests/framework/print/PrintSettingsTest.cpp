// The print settings record against settings texts written here, the printer it selects, the
// locale's unit and the stored device mode; the printer information of the PDF printer.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

#include "PrintTestSupport.h"
#include "framework/print/PrinterInfo.h"
#include "framework/print/TablePrintSettings.h"

namespace {

std::string ReadFile(const std::string& strPath)
{
    std::ifstream in(strPath);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& strPath, const std::string& strText)
{
    std::ofstream(strPath) << strText;
}

short Orientation(CTablePrintSettings& settings)
{
    return settings.GetOrientation();
}

// A virtual printer whose device mode a test can tell from the PDF printer's.
void AddWidePrinter()
{
    TBVIRTUALPRINTER printer;
    printer.strName = "Wide";
    printer.papers = {DMPAPER_A3, DMPAPER_A4};
    printer.nDpiX = printer.nDpiY = 300;
    TbAddVirtualPrinter(printer);
}

struct ExpectedField
{
    const char* pszKey;
    const char* pszText;
    std::function<double(const CTablePrintSettings&)> get;
    double dExpected;
};

}  // namespace

TEST(PrintSettings, LoadsEveryStoredKeyAndSavesItBack)
{
    UseSourceResources();
    UsePdfPrinterOnly();
    CTestIni file;
    // Every stored key but the device mode, each away from its default (the margins, in inches,
    // within the paper: wider ones are bounded by it).
    const std::vector<ExpectedField> fields = {
        {"TableOrder", "Yes", [](const CTablePrintSettings& s) { return s.m_bTableOrder; }, 1},
        {"NoSort", "Yes", [](const CTablePrintSettings& s) { return s.m_bNoSort; }, 1},
        {"TitleRows", "1", [](const CTablePrintSettings& s) { return s.m_nTitleRows; }, 1},
        {"RowTitles", "No", [](const CTablePrintSettings& s) { return s.m_bRowTitles; }, 0},
        {"PageHeader", "No", [](const CTablePrintSettings& s) { return s.m_bPageHeader; }, 0},
        {"ReportHeader", "No", [](const CTablePrintSettings& s) { return s.m_bReportHeader; }, 0},
        {"PageFooter", "No", [](const CTablePrintSettings& s) { return s.m_bPageFooter; }, 0},
        {"ReportFooter", "No", [](const CTablePrintSettings& s) { return s.m_bReportFooter; }, 0},
        {"RowSelection", "3", [](const CTablePrintSettings& s) { return s.m_nRowSelection; }, 3},
        {"Background", "10,20,30", [](const CTablePrintSettings& s) { return s.m_crBackground & 0xFFFFFF; },
         RGB(10, 20, 30)},
        {"Scale", "75", [](const CTablePrintSettings& s) { return s.m_nScale; }, 75},
        {"PagesWide", "2", [](const CTablePrintSettings& s) { return s.m_nPagesWide; }, 2},
        {"FromPage", "3", [](const CTablePrintSettings& s) { return s.m_nFromPage; }, 3},
        {"ToPage", "9", [](const CTablePrintSettings& s) { return s.m_nToPage; }, 9},
        {"MarginLeft", "2.25", [](const CTablePrintSettings& s) { return s.m_dMargins[0]; }, 2.25},
        {"MarginRight", "1.50", [](const CTablePrintSettings& s) { return s.m_dMargins[1]; }, 1.5},
        {"MarginTop", "0.75", [](const CTablePrintSettings& s) { return s.m_dMargins[2]; }, 0.75},
        {"MarginBottom", "abc", [](const CTablePrintSettings& s) { return s.m_dMargins[3]; }, 0.0},
        {"Units", "0", [](const CTablePrintSettings& s) { return s.m_nUnits; }, 0},
        {"Center", "No", [](const CTablePrintSettings& s) { return s.m_bCenter; }, 0},
        {"GridWidth", "-3", [](const CTablePrintSettings& s) { return s.m_nGridWidth; }, -3},
        {"LineWidth", "4", [](const CTablePrintSettings& s) { return s.m_nLineWidth; }, 4},
        {"ColorMode", "2", [](const CTablePrintSettings& s) { return s.m_nColorMode; }, 2},
        {"PrintFont", "DejaVu Sans,-16,0,0,0,700,1,0,0,0,0,0,0,0",
         [](const CTablePrintSettings& s) {
             LOGFONTA lf = {};
             return s.m_font.GetLogFont(&lf) ? lf.lfWeight * 10.0 + lf.lfItalic : -1.0;
         },
         7001},
        {"Printer", "PDF", [](const CTablePrintSettings& s) { return s.HasPrinter() && s.GetPrinterName() == "PDF"; }, 1},
        {"StoredFlag", "No", [](const CTablePrintSettings& s) { return s.m_bStoredFlag; }, 0},
    };
    std::string strText = "[Print]\n";
    for (const ExpectedField& field : fields)
        strText += std::string(field.pszKey) + "=" + field.pszText + "\n";
    WriteFile(file.m_strPath, strText);

    CTablePrintSettings loaded;
    loaded.m_nTitleStyle = 3;
    ASSERT_TRUE(loaded.Load(file.m_ini));
    for (const ExpectedField& field : fields)
        EXPECT_DOUBLE_EQ(field.dExpected, field.get(loaded)) << field.pszKey;

    // Saved and loaded into a fresh record: every stored field comes back, the others are the
    // fresh record's own.
    CTestIni copy;
    loaded.Save(copy.m_ini);
    CTablePrintSettings again;
    ASSERT_TRUE(again.Load(copy.m_ini));
    for (const ExpectedField& field : fields)
        EXPECT_DOUBLE_EQ(field.dExpected, field.get(again)) << field.pszKey << " after a save";
    EXPECT_EQ(1, again.m_nTitleStyle);
    EXPECT_EQ(2, again.m_nGroupLineStyle);
    EXPECT_EQ(0, again.m_nBoldTitles);
    const std::string strSaved = ReadFile(copy.m_strPath);
    const size_t nMargin = strSaved.find("MarginRight=1.50");
    ASSERT_NE(std::string::npos, nMargin) << strSaved;
    EXPECT_FALSE(isdigit(static_cast<unsigned char>(strSaved[nMargin + 16]))) << "two decimals";
    EXPECT_NE(std::string::npos, strSaved.find("DevMode.0=")) << "the device mode is stored with a printer";
}

TEST(PrintSettings, UnitsAndMarginsFollowTheLocalesMeasurement)
{
    const struct { const char* pszLocale; int nUnits; double dMargin; } cases[] = {
        {"en_US.UTF-8", PRINT_UNITS_INCHES, 1.0},
        {"de_DE.UTF-8", PRINT_UNITS_MM, 20.0},
    };
    for (const auto& c : cases) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            setenv("LC_MEASUREMENT", c.pszLocale, 1);
            setenv("LC_ALL", "", 1);
            unsetenv("LC_ALL");
            CTablePrintSettings settings;
            BOOL bAll = TRUE;
            for (double dMargin : settings.m_dMargins)
                bAll = bAll && dMargin == c.dMargin;
            _exit(settings.m_nUnits == c.nUnits && bAll ? 0 : 1);
        }
        int nStatus = 0;
        waitpid(pid, &nStatus, 0);
        EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0) << c.pszLocale;
    }
}

TEST(PrintSettings, StoredDeviceModeAppliesOnlyWholeAndToItsOwnPrinter)
{
    UseSourceResources();
    UsePdfPrinterOnly();
    AddWidePrinter();
    CTestIni file;
    {
        CTablePrintSettings settings;
        settings.SetPrinterName("Wide");
        ASSERT_TRUE(settings.HasPrinter());
        ASSERT_EQ(DMORIENT_PORTRAIT, Orientation(settings));
        settings.SetOrientation(DMORIENT_LANDSCAPE);
        settings.Save(file.m_ini);
    }
    const std::string strStored = ReadFile(file.m_strPath);
    // The public part's chunks: 40 bytes each, so 148 bytes make four, the last of 28.
    auto edited = [&](const std::function<void(std::string&)>& edit) {
        std::string strText = strStored;
        edit(strText);
        return strText;
    };
    auto replaceLine = [](std::string& strText, const std::string& strKey, const std::string& strValue) {
        size_t nAt = strText.find("\n" + strKey + "=");
        ASSERT_NE(std::string::npos, nAt) << strKey;
        size_t nEnd = strText.find('\n', nAt + 1);
        strText.replace(nAt + 1, nEnd - nAt - 1, strKey + "=" + strValue);
    };
    const struct { const char* pszCase; std::string strText; short nOrientation; const char* pszPrinter; } cases[] = {
        {"whole", strStored, DMORIENT_LANDSCAPE, "Wide"},
        {"printer gone", edited([&](std::string& s) { replaceLine(s, "Printer", "Gone"); }), DMORIENT_PORTRAIT, "PDF"},
        {"short", edited([&](std::string& s) { replaceLine(s, "DevMode.3", "0000"); }), DMORIENT_PORTRAIT, "Wide"},
        {"long", edited([&](std::string& s) { replaceLine(s, "DevMode.3", s.substr(s.find("DevMode.3=") + 10, 56) + "ffff"); }),
         DMORIENT_PORTRAIT, "Wide"},
        {"resized", edited([&](std::string& s) {
             std::string strChunk = s.substr(s.find("DevMode.0=") + 10, 80);
             strChunk.replace(72, 4, "ff7f");      // dmSize at byte 36
             replaceLine(s, "DevMode.0", strChunk);
         }),
         DMORIENT_PORTRAIT, "Wide"},
    };
    for (const auto& c : cases) {
        WriteFile(file.m_strPath, c.strText);
        CTablePrintSettings settings;
        EXPECT_TRUE(settings.Load(file.m_ini)) << c.pszCase;
        EXPECT_STREQ(c.pszPrinter, settings.GetPrinterName()) << c.pszCase;
        EXPECT_EQ(c.nOrientation, Orientation(settings)) << c.pszCase;
    }
    TbRemoveVirtualPrinters();
}

TEST(PrintSettings, CopiesAndCopyingKeepThePrinterRules)
{
    UseSourceResources();
    UsePdfPrinterOnly();
    CTablePrintSettings withPrinter;
    ASSERT_TRUE(withPrinter.SelectPrinter());
    // A device mode without copies says 1 and keeps the field from then on.
    DEVMODEA* pDevMode = static_cast<DEVMODEA*>(GlobalLock(withPrinter.GetPrinter()->GetDevMode()));
    pDevMode->dmFields &= ~static_cast<DWORD>(DM_COPIES);
    pDevMode->dmCopies = 7;
    GlobalUnlock(withPrinter.GetPrinter()->GetDevMode());
    EXPECT_EQ(1, withPrinter.GetCopies());
    pDevMode = static_cast<DEVMODEA*>(GlobalLock(withPrinter.GetPrinter()->GetDevMode()));
    EXPECT_TRUE(pDevMode->dmFields & DM_COPIES) << "the copies are a field of the mode from then on";
    GlobalUnlock(withPrinter.GetPrinter()->GetDevMode());
    withPrinter.SetCopies(3);
    EXPECT_EQ(3, withPrinter.GetCopies());

    CTablePrintSettings without;
    without.m_nScale = 150;
    without.m_bStoredFlag = FALSE;
    CTablePrintSettings target;
    ASSERT_TRUE(target.SelectPrinter());
    target.CopyFrom(without);
    EXPECT_TRUE(target.HasPrinter()) << "a source without a printer leaves the target's";
    EXPECT_STREQ("PDF", target.GetPrinterName());
    EXPECT_EQ(150, target.m_nScale);
    EXPECT_FALSE(target.m_bStoredFlag);

    CTablePrintSettings copy(withPrinter);
    EXPECT_STREQ("PDF", copy.GetPrinterName());
    EXPECT_EQ(3, copy.GetCopies());
    EXPECT_NE(copy.GetPrinter()->GetDevMode(), withPrinter.GetPrinter()->GetDevMode());
    EXPECT_EQ(-1, without.GetOrientation());
    EXPECT_EQ(-1, without.GetCollate());
}

TEST(PrinterInfo, NamesPapersAndTheDefaultPrinter)
{
    UsePdfPrinterOnly();
    EXPECT_STREQ("PDF", CPrinterInfo::GetDefaultPrinterName());
    CPrinterInfo info;
    ASSERT_TRUE(info.OpenPrinter("PDF"));
    EXPECT_STREQ("winspool.drv", info.GetDriverName());
    // Without a location of its own the printer is where its port is.
    EXPECT_FALSE(info.GetPortName().IsBlank());
    EXPECT_STREQ(info.GetPortName(), info.GetLocation());
    const POINT* pA4 = info.FindPaperDimensions(DMPAPER_A4);
    ASSERT_NE(nullptr, pA4);
    EXPECT_EQ(2100, pA4->x);
    EXPECT_EQ(2970, pA4->y);
    EXPECT_EQ(nullptr, info.GetPaperDimensions(info.GetPaperCount()));
    EXPECT_STREQ("", info.GetPaperName(-1));
    EXPECT_FALSE(info.OpenPrinter("No Such Printer"));
    EXPECT_EQ(nullptr, info.GetDevMode());
    EXPECT_EQ(0, info.GetPaperCount());
}
