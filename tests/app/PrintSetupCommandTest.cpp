// Print setup end to end, in English and in Arabic: the chooser over the spooler's printers sets
// the application's default printer, and the next table print starts on that printer with its
// orientation and paper; a cancelled chooser changes nothing.
#include <gtest/gtest.h>

#include <string>

#include "AppTestSupport.h"
#include "TerminalRun.h"
#include "app/TableMDIWnd.h"
#include "framework/base/SharedGlobals.h"
#include "framework/print/PrinterInfo.h"
#include "framework/print/TBPrintDlg.h"
#include "framework/print/TablePrintSettings.h"
#include "link/LinkSessionSupport.h"
#include "platform/mfc/CommonDialogs.h"
#include "platform/win/spool/Printers.h"
#include "platform/win/spool/WinSpool.h"
#include "platform/win/user/TestAnswers.h"

namespace {

const char* const GREY = "Office Grey";

std::string g_strPrintSeen;         // the printer the table's print dialog opened on

// The table's print dialog: which printer it opened on, then Cancel.
void CALLBACK ReadPrintDialog(HWND, UINT, UINT_PTR nIdEvent, DWORD)
{
    HWND hDlg = GetActiveWindow();
    if (hDlg == nullptr || GetDlgItem(hDlg, IDC_PRINT_PRINTER) == nullptr)
        return;
    KillTimer(nullptr, nIdEvent);
    char szPrinter[256] = "";
    GetDlgItemTextA(hDlg, IDC_PRINT_PRINTER, szPrinter, sizeof szPrinter);
    g_strPrintSeen = szPrinter;
    SendMessageA(GetDlgItem(hDlg, IDCANCEL), BM_CLICK, 0, 0);
}

std::string AppPrinter(CWinApp& app)
{
    if (!app.m_hDevNames)
        return "";
    CPrintDialog names(TRUE);
    names.m_pd.hDevNames = app.m_hDevNames;
    return static_cast<const char*>(names.GetDeviceName());
}

}  // namespace

TEST(PrintSetupCommand, ChosenPrinterIsWhereTheNextTablePrintStarts)
{
    CTestServer server;
    ASSERT_TRUE(server.Start({"--accounts", TB_SOURCE_DIR "/tests/app/data/accounts.txt"}));
    for (const bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "arabic" : "english");
        TbUseSystemPrinters(FALSE);
        TbRemoveVirtualPrinters();
        TbClearTestAnswers();
        TBVIRTUALPRINTER grey;
        grey.strName = GREY;
        grey.papers = {DMPAPER_A4, DMPAPER_LETTER};
        grey.bColor = FALSE;
        TbAddVirtualPrinter(grey);
        CTerminalRun run(bArabic);
        ASSERT_TRUE(run.StartLoggedIn(server.Port(), "demo01", "demo12"));
        CZORVAT32App& app = run.App();

        // Cancelled: the application keeps the machine's default printer.
        TbQueueTestAnswer({TB_ASK_PRINTSETUP, IDCANCEL, ""});
        EXPECT_TRUE(app.RunCommand(ID_FILE_PRINT_SETUP));
        EXPECT_EQ(0, TbPendingTestAnswers()) << "the chooser came";
        EXPECT_EQ("", AppPrinter(app));
        EXPECT_EQ(TB_PDF_PRINTER_NAME, std::string(CPrinterInfo::GetDefaultPrinterName()));

        // The grey printer on Letter in landscape.
        TbQueueTestAnswer({TB_ASK_PRINTSETUP, IDOK, std::string("printer=") + GREY + ";paper=1;orientation=2"});
        EXPECT_TRUE(app.RunCommand(ID_FILE_PRINT_SETUP));
        EXPECT_EQ(0, TbPendingTestAnswers());
        EXPECT_EQ(GREY, AppPrinter(app));

        // The information table has no printer of its own: its print starts on the grey one,
        // and the settings it keeps carry the orientation and paper chosen.
        CTableMDIWnd* pInfo = app.GetInfoTable()->GetDataTable()->GetMainWindow();
        ASSERT_NE(nullptr, pInfo);
        g_strPrintSeen.clear();
        SetTimer(nullptr, 0, 20, ReadPrintDialog);
        pInfo->SendMessage(WM_COMMAND, ID_TABLE_PRINT);
        PumpPending();
        EXPECT_EQ(GREY, g_strPrintSeen);
        CTablePrintSettings kept;
        CSettingsFile& settings = GetSharedGlobals()->m_settings;
        settings.SetSection(pInfo->GetDataTable()->GetSectionName(pInfo->GetView()));
        ASSERT_TRUE(kept.Load(settings));
        EXPECT_EQ(GREY, std::string(kept.GetPrinterName()));
        EXPECT_EQ(DMORIENT_LANDSCAPE, kept.GetOrientation());
        EXPECT_EQ(DMPAPER_LETTER, kept.GetPaperSize());
        run.Close();
        TbRemoveVirtualPrinters();
    }
}
