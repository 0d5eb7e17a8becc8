// A table window's print command end to end: a 1,000-row table of texts, integers, prices,
// groups with sums and marked rows printed to the PDF printer, read back with poppler's tools
// and compared with what the table holds, in English and in Arabic, at the stored scale and
// fitted to one page wide. Two pages are kept as pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "app/TableMDIWnd.h"
#include "framework/base/DateTime.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"
#include "framework/print/NorvTablePrint.h"
#include "framework/print/TBPrintDlg.h"
#include "framework/table/Table.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "platform/win/spool/Printers.h"
#include "platform/win/user/TestAnswers.h"
#include "tests/common/PdfReadBack.h"

namespace {

enum { COL_SYMBOL, COL_NAME, COL_SECTOR, COL_QTY, COL_PRICE, COL_VALUE, COLUMNS };

// Symbols, names, five sectors, quantities, prices of up to three decimals and values; grouped
// by sector with sums and a grand total; every 50th row marked.
class CPrintedTable : public CMDITable
{
public:
    explicit CPrintedTable(const std::vector<std::string>& titles) : m_titles(titles) {}
    ~CPrintedTable() override
    {
        Destroy();
        for (TBCellSlot* pBlock : m_blocks)
            CTableColumns::FreeRowValues(pBlock);
    }
    BOOL Create(UINT nNameId)
    {
        if (!CreateTable(nNameId, 0))
            return FALSE;
        CNorvApp::Get()->AddTable(this);
        return TRUE;
    }
    void Fill(int nRows)
    {
        CViewTable& view = *m_table.GetView(0);
        const CTableColumns& columns = view.GetColumns();
        for (int i = 0; i < nRows; ++i) {
            TBCellSlot* pBlock = columns.AllocRowValues(FALSE);
            m_blocks.push_back(pBlock);
            columns.SetSlotValue(&pBlock[COL_SYMBOL], PrintedSymbol(i).c_str(), COL_SYMBOL);
            std::string strName = "Company " + std::to_string(i);
            columns.SetSlotValue(&pBlock[COL_NAME], strName.c_str(), COL_NAME);
            columns.SetSlotValue(&pBlock[COL_SECTOR], PrintedSector(i).c_str(), COL_SECTOR);
            int32_t nQty = i;
            columns.SetSlotValue(&pBlock[COL_QTY], &nQty, COL_QTY);
            double dPrice = 10.0 + (i % 8) / 8.0;
            columns.SetSlotValue(&pBlock[COL_PRICE], &dPrice, COL_PRICE);
            double dValue = i * dPrice;
            columns.SetSlotValue(&pBlock[COL_VALUE], &dValue, COL_VALUE);
            CRow row(&m_table, pBlock);
            m_table.InsertRow(row);
        }
        CSortColumns keys(30);
        keys.Add(COL_SECTOR, SORT_ASCENDING);
        keys.Add(COL_SYMBOL, SORT_ASCENDING);
        view.Sort(keys, TRUE);
        view.SetGroupHeaderMode(1);
        view.SetTotalsMode(3);
        for (int nLine = 0; nLine < view.GetRowTree().GetCount(); ++nLine) {
            CViewRow row(&view);
            char szSymbol[16] = "";
            if (view.GetRow(row, nLine) && row.IsDataRow()) {
                row.GetNode()->GetCellText(szSymbol, sizeof(szSymbol), COL_SYMBOL, columns.GetColumn(COL_SYMBOL), &view);
                if (atoi(szSymbol + 1) % 50 == 0)
                    row.SetMarked(TRUE);
            }
        }
    }

protected:
    void CreateColumns() override
    {
        const struct { int nType; int nWidth; int nDecimals; BOOL bSummed; } defs[COLUMNS] = {
            {COLTYPE_STRING, 60, 0, FALSE}, {COLTYPE_STRING, 130, 0, FALSE}, {COLTYPE_STRING, 80, 0, FALSE},
            {COLTYPE_INT32, 60, 0, TRUE},   {COLTYPE_DOUBLE, 70, -3, FALSE}, {COLTYPE_DOUBLE, 100, 2, TRUE},
        };
        for (int i = 0; i < COLUMNS; ++i) {
            CColumn column = m_table.AddColumn();
            column.SetName(("C" + std::to_string(i)).c_str());
            column.SetTitle(m_titles[static_cast<size_t>(i)].c_str(), GetNorvGlobals().m_nLanguage);
            column.SetTitle(m_titles[static_cast<size_t>(i)].c_str(), 0);
            column.SetDataType(defs[i].nType);
            column.SetWidth(defs[i].nWidth);
            column.SetThousands(FALSE);
            if (defs[i].nType == COLTYPE_STRING)
                column.SetSize(24);
            if (defs[i].nDecimals)
                column.SetDecimals(defs[i].nDecimals);
            if (defs[i].nDecimals < 0)
                column.SetMinDecimals(1);
            if (defs[i].nType != COLTYPE_STRING)
                column.SetAlignment(ALIGN_RIGHT);
            column.SetSummed(defs[i].bSummed);
        }
    }

private:
    std::vector<std::string> m_titles;
    std::vector<TBCellSlot*> m_blocks;
};

// The words of a text, digits and letters apart, sorted.
std::vector<std::string> Words(const std::string& strText)
{
    std::vector<std::string> words;
    std::string strWord;
    bool bDigits = false;
    for (char ch : strText) {
        const bool bSpace = ch == ' ' || ch == '\n' || ch == '\r' || ch == '\t';
        const bool bDigit = ch >= '0' && ch <= '9';
        if (bSpace || (!strWord.empty() && bDigit != bDigits)) {
            if (!strWord.empty())
                words.push_back(strWord);
            strWord.clear();
        }
        if (!bSpace) {
            strWord += ch;
            bDigits = bDigit;
        }
    }
    if (!strWord.empty())
        words.push_back(strWord);
    std::sort(words.begin(), words.end());
    return words;
}

std::string LastLine(const std::string& strText)
{
    std::string strLast;
    size_t nStart = 0;
    while (nStart < strText.size()) {
        size_t nEnd = strText.find('\n', nStart);
        if (nEnd == std::string::npos)
            nEnd = strText.size();
        std::string strLine = strText.substr(nStart, nEnd - nStart);
        if (strLine.find_first_not_of(" \t\r\f") != std::string::npos)
            strLast = strLine;
        nStart = nEnd + 1;
    }
    return strLast;
}

// Whether the print dialog came up centred over the main window, as the user saw it.
bool s_bPrintCentred = false;

// The user's answer to the print dialog: Print, once the dialog is up and active.
void CALLBACK PressPrint(HWND, UINT, UINT_PTR nIdEvent, DWORD)
{
    HWND hDlg = GetActiveWindow();
    if (hDlg == nullptr || GetDlgItem(hDlg, IDC_PRINT_PRINTER) == nullptr)
        return;
    KillTimer(nullptr, nIdEvent);
    RECT rcDlg, rcOwner;
    GetWindowRect(hDlg, &rcDlg);
    GetWindowRect(GetWindow(hDlg, GW_OWNER), &rcOwner);
    s_bPrintCentred = std::abs((rcDlg.left + rcDlg.right) - (rcOwner.left + rcOwner.right)) <= 2 &&
                      std::abs((rcDlg.top + rcDlg.bottom) - (rcOwner.top + rcOwner.bottom)) <= 2;
    SendMessageA(GetDlgItem(hDlg, IDOK), BM_CLICK, 0, 0);
}

struct PrintCase
{
    const char* pszName;
    int nCodePage;
    int nPagesWide;
    int nScale;
};

}  // namespace

TEST(TablePrintCommands, PrintCommandWritesTheTableToPdf)
{
    const PrintCase cases[] = {
        {"english", 1252, 0, 100},
        {"fit_one_page_wide", 1252, 1, 100},
        {"scale_200", 1252, 0, 200},
        {"arabic", 1256, 0, 100},
    };
    const int ROWS = 1000;
    for (const PrintCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        CTestLanguage language(c.nCodePage);
        CTestShell shell;
        TbUseSystemPrinters(FALSE);
        TbClearTestAnswers();
        const bool bArabic = c.nCodePage == 1256;
        const std::vector<std::string> titlesUtf8 =
            bArabic ? std::vector<std::string>{"الرمز", "الاسم", "القطاع", "الكمية", "السعر", "القيمة"}
                    : std::vector<std::string>{"Symbol", "Name", "Sector", "Quantity", "Price", "Value"};
        const std::string strTitleUtf8 = bArabic ? "المحفظة" : "Holdings";
        std::vector<std::string> titles;
        for (const std::string& strTitle : titlesUtf8)
            titles.push_back(ToCodePage(strTitle, c.nCodePage));
        GetSharedGlobals()->m_strProductName = "Test Terminal";

        CPrintedTable* pTable = new CPrintedTable(titles);
        ASSERT_TRUE(pTable->Create(52114));
        pTable->Fill(ROWS);
        CViewTable* pView = pTable->GetTable()->GetView(0);
        pView->SetTitle(ToCodePage(strTitleUtf8, c.nCodePage).c_str(), GetNorvGlobals().m_nLanguage);
        CNorvApp::ShowTable(pTable);
        CTableMDIWnd* pWnd = pTable->GetMainWindow();
        ASSERT_NE(nullptr, pWnd);

        // The stored settings the command loads: the scale or the fit of this case.
        CSettingsFile& settings = GetSharedGlobals()->m_settings;
        const CString strSection = pTable->GetSectionName(pView);
        settings.SetSection(strSection);
        {
            CTablePrintSettings stored;
            stored.m_nScale = c.nScale;
            stored.m_nPagesWide = c.nPagesWide;
            stored.m_strPrinter = "PDF";
            stored.Save(settings);
        }
        const std::string strPdf = shell.Folder() + "/" + c.pszName + ".pdf";
        TbQueueTestAnswer({TB_ASK_SAVEFILE, IDOK, strPdf});
        SetTimer(nullptr, 0, 10, PressPrint);
        pWnd->SendMessage(WM_COMMAND, ID_TABLE_PRINT);
        PumpPending();
        EXPECT_EQ(0, TbPendingTestAnswers()) << "the file question came, and no failure message";
        EXPECT_TRUE(s_bPrintCentred) << "the print dialog over the middle of the main window";

        // The engine's own count on the same settings.
        int nEnginePages = 0;
        int nBands = 0;
        {
            CViewTable* pSnapshot = pTable->GetTable()->CreateSnapshotView(3);
            CNorvTablePrint print(pSnapshot);
            settings.SetSection(strSection);
            ASSERT_TRUE(print.GetSettings().Load(settings));
            print.GetProperties().CopyFrom(pWnd->GetGrid());
            print.BuildHeaders("");
            HDC hdc = print.BeginPreview();
            ASSERT_NE(nullptr, hdc);
            nEnginePages = print.GetPageCount();
            nBands = print.GetBandCount();
            print.EndPreview(hdc);
            delete pSnapshot;
        }
        ASSERT_EQ(nEnginePages, PdfPageCount(strPdf));
        if (c.nPagesWide == 1) {
            EXPECT_EQ(1, nBands);
        }
        if (c.nScale == 200) {
            EXPECT_GT(nBands, 1);
        }

        char szDate[32];
        time_t tNow = time(nullptr);
        struct tm local = {};
        localtime_r(&tNow, &local);
        FormatDate(szDate, sizeof(szDate), GetNorvGlobals().m_strDatePattern, local.tm_year + 1900, local.tm_mon + 1,
                   local.tm_mday);
        std::vector<std::string> seen;
        std::set<std::string> sliceTitles;
        for (int nPage = 1; nPage <= nEnginePages; ++nPage) {
            const std::string strText = PdfPageText(strPdf, nPage, bArabic);
            EXPECT_NE(std::string::npos, strText.find("Test Terminal")) << "page " << nPage;
            EXPECT_NE(std::string::npos, strText.find(strTitleUtf8)) << "page " << nPage;
            EXPECT_NE(std::string::npos, strText.find(szDate)) << "page " << nPage;
            const std::string strLine = (bArabic ? "صفحة " : "Page ") + std::to_string(nPage) + (bArabic ? " من " : " of ")
                                        + std::to_string(nEnginePages);
            // The extraction orders a right-to-left line's numbers as it sees them: the page
            // line is compared by its words there.
            if (bArabic) {
                EXPECT_EQ(Words(strLine), Words(LastLine(strText))) << "page " << nPage;
            } else {
                EXPECT_NE(std::string::npos, strText.find(strLine)) << "page " << nPage << ":\n" << strText;
            }
            for (const std::string& strTitle : titlesUtf8)
                if (strText.find(strTitle) != std::string::npos)
                    sliceTitles.insert(strTitle);
            if (nPage % nBands == 0) {
                EXPECT_EQ(titlesUtf8.size(), sliceTitles.size()) << "each column's title on its slice's pages";
                sliceTitles.clear();
            }
            for (const std::string& strSymbol : FindSymbols(strText))
                seen.push_back(strSymbol);
        }
        EXPECT_EQ(PrintedOrder(ROWS), seen) << "every row once, in the view's order";
        if (c.nCodePage == 1252 && c.nPagesWide == 0 && c.nScale == 100) {
            const std::string strShots = std::string(TB_BINARY_DIR) + "/screenshots";
            RunCommand("mkdir -p '" + strShots + "' && pdftoppm -png -r 60 -f 1 -l 2 '" + strPdf + "' '" + strShots + "/table_print_page'");
        }
        if (c.nCodePage == 1256)
            RunCommand("pdftoppm -png -r 60 -f 1 -l 1 '" + strPdf + "' '" + std::string(TB_BINARY_DIR) + "/screenshots/table_print_page_ar'");
        pTable->Destroy();
        PumpPending();
    }
}
