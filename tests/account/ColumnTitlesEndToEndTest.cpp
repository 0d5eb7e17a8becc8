// The titles of the table windows' columns as the trader reads them, in English and Arabic:
// every column a window shows by default or lets the trader show says what it holds (no numbered
// placeholder), and no two columns a position window shows share a title.
#include <algorithm>
#include <fstream>
#include <sstream>
#include <memory>
#include <map>
#include <set>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "account/CombinedUnrealizedProfitLossTable.h"
#include "account/UnrealizedProfitLossTable.h"
#include "app/AppCommands.h"
#include "app/NorvApp.h"
#include "app/NorvMainFrame.h"
#include "app/ZorvatApp.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "framework/print/NorvTablePrint.h"
#include "framework/table/ViewTable.h"
#include "market/DataArray.h"
#include "market/IndicesKSETable.h"
#include "platform/win/spool/Printers.h"
#include "tests/common/PdfReadBack.h"
#include "framework/table/Table.h"
#include "framework/table/TableColumn.h"
#include "tests/account/AccountTestSupport.h"

namespace {
struct ColumnTitles : CAccountSession
{

    // A title read as one line: its line breaks are spaces.
    static std::string OneLine(const char* pszTitle)
    {
        std::string strTitle = pszTitle != nullptr ? pszTitle : "";
        for (char& ch : strTitle)
            if (ch == '\n' || ch == '\r')
                ch = ' ';
        return strTitle;
    }

    // A numbered placeholder: a title that ends in a number of its own ("Amount 7", "كمية 2",
    // "Long qty (2)"), a generic word the number tells apart rather than what the column holds;
    // a number that a unit follows ("Bid 1 m") says what it counts.
    static bool IsNumbered(const std::string& strTitle)
    {
        const size_t nEnd = strTitle.find_last_not_of(' ');
        const size_t nStart = nEnd == std::string::npos ? std::string::npos : strTitle.find_last_of(' ', nEnd);
        const std::string strLast = nEnd == std::string::npos ? "" : strTitle.substr(nStart + 1, nEnd - nStart);
        return strLast.find_first_of("0123456789") != std::string::npos && strLast.find_first_not_of("0123456789()") == std::string::npos;
    }

    // The word a numbered placeholder numbers ("Amount" of "Amount (7)"): its number gone.
    static std::string Stem(const std::string& strTitle)
    {
        const size_t nEnd = strTitle.find_last_not_of(' ');
        const size_t nStart = strTitle.find_last_of(' ', nEnd);
        return nStart == std::string::npos ? "" : strTitle.substr(0, strTitle.find_last_not_of(' ', nStart) + 1);
    }

    // Every table the terminal makes, taken from its makers, at the columns each show of its
    // window leaves shown.
    static std::vector<CDataTable*> EveryTable()
    {
        std::vector<CDataTable*> tables;
        for (const UINT nId : RegisteredTableIds()) {
            IDataTable* pAny = CNorvApp::Get()->FindTable(nId);
            if (pAny == nullptr)
                pAny = MakeTable(nId, 0, 0);
            if (auto* pTable = dynamic_cast<CDataTable*>(pAny)) {
                pTable->SetColumnsHidden(TRUE);
                tables.push_back(pTable);
            }
        }
        return tables;
    }

    // No column shown by default or that the trader may show is titled by a numbered placeholder;
    // in a position window none by the bare word the window's placeholders number, and no two
    // shown columns share a title.
    void ExpectTitlesSayWhatTheyHold(const char* pszLanguage)
    {
        const std::vector<CDataTable*> tables = EveryTable();
        ASSERT_GT(tables.size(), std::size(g_positionTables));
        for (CDataTable* pTable : tables) {
            CTable* pEngine = pTable->GetTable();
            std::set<std::string> stems;
            for (int nCol = 0; nCol < pEngine->GetColumnCount(); ++nCol) {
                const std::string strTitle = OneLine(pEngine->GetColumn(nCol).GetTableColumn()->GetTitle());
                if (IsNumbered(strTitle))
                    stems.insert(Stem(strTitle));
            }
            const bool bPosition = std::find(std::begin(g_positionTables), std::end(g_positionTables), pTable->GetNameId())
                                   != std::end(g_positionTables);
            std::map<std::string, int> shown;
            for (int nCol = 0; nCol < pEngine->GetColumnCount(); ++nCol) {
                CColumn column = pEngine->GetColumn(nCol);
                if (column.IsHidden() && !column.IsUserSwitchable())
                    continue;
                const std::string strTitle = OneLine(column.GetTableColumn()->GetTitle());
                const std::string strWhere = std::string(pszLanguage) + ", " + std::string(pTable->GetName()) + " column " +
                                             std::to_string(nCol) + " \"" + strTitle + "\"";
                EXPECT_FALSE(strTitle.empty()) << strWhere;
                EXPECT_FALSE(IsNumbered(strTitle)) << strWhere << ": a numbered placeholder";
                if (!bPosition || column.IsHidden())
                    continue;
                EXPECT_EQ(0u, stems.count(strTitle)) << strWhere << ": the word of a numbered placeholder";
                const auto [it, bNew] = shown.emplace(strTitle, nCol);
                EXPECT_TRUE(bNew) << strWhere << ": the title of column " << it->second << " too";
            }
        }
    }
};
}  // namespace

// The columns a window keeps for the unrealized figures of the server's fields repeat the row's
// own gain and per cent: shown, they read as those do.
TEST_F(ColumnTitles, ARepeatedGainOrPerCentReadsAsTheRowsOwn)
{
    ASSERT_TRUE(StartSession({"--rate", "0"}));
    SendMessageA(pRun->App().GetMainFrame()->m_hWnd, WM_COMMAND, ID_APP_US_UNREALIZED, 0);
    CDataTable* pUs = FindDataTable(IDS_TABLE_US_UNREALIZED);
    ASSERT_TRUE(PumpUntil([&] { return pUs->IsComplete(); }));
    ASSERT_TRUE(CCombinedUnrealizedProfitLossTable::OpenForAccount("10020"));
    CDataTable* pCombined = FindDataTable(IDS_TABLE_COMBINED_UNREALIZED);
    ASSERT_TRUE(PumpUntil([&] { return pCombined->IsComplete() && !pCombined->IsReceiving(); }));
    const struct {
        CDataTable* pTable;
        int nRepeat, nOwn;
    } repeats[] = {{pUs, UC_LONG_AMOUNT, UC_LONG_GAIN}, {pUs, UC_LONG_AMOUNT_PERCENT, UC_LONG_PERCENT},
                   {pCombined, CU_SERVER_GAIN, CU_GAIN}, {pCombined, CU_SERVER_PERCENT, CU_PERCENT}};
    for (const auto& r : repeats) {
        CColumn column = r.pTable->GetTable()->GetColumn(r.nRepeat);
        EXPECT_TRUE(column.IsHidden() && column.IsUserSwitchable()) << r.nRepeat;
        column.SetHidden(FALSE);
        const std::vector<std::string> own = ShownTexts(r.pTable, r.nOwn);
        ASSERT_FALSE(own.empty());
        EXPECT_EQ(own, ShownTexts(r.pTable, r.nRepeat)) << r.pTable->GetName() << " column " << r.nRepeat;
    }
}

TEST_F(ColumnTitles, EveryShowableColumnOfEveryTableWindowSaysWhatItHoldsInBothLanguages)
{
    for (const bool bArabic : {false, true}) {
        ASSERT_TRUE(StartSession({"--rate", "0"}, bArabic));
        ExpectTitlesSayWhatTheyHold(bArabic ? "Arabic" : "English");
        TearDown();
    }
}

namespace {
// A printed page's pixel rows above the first line of data, at 72 dots an inch (a point a
// pixel) in grey: the titles, with what stands among them.
std::string PrintedTitleRows(const std::string& strPdf)
{
    // The titles' line is the page's first; the rows below start a line under it.
    double yTop = 1e9, yBottom = 0;
    std::istringstream lines(PdfPageBoxes(strPdf, 1));
    for (std::string strLine; std::getline(lines, strLine);) {
        double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
        if (sscanf(strLine.c_str(), " <word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\"", &xMin, &yMin, &xMax, &yMax) == 4
            && yMin < yTop + 1) {
            yBottom = yMin < yTop - 1 ? yMax : std::max(yBottom, yMax);
            yTop = std::min(yTop, yMin);
        }
    }
    RunCommand("pdftoppm -r 72 -gray -singlefile -f 1 -l 1 '" + strPdf + "' '" + strPdf + "' 2>/dev/null");
    std::ifstream file(strPdf + ".pgm", std::ios::binary);
    std::string strMagic;
    int nWidth = 0, nHeight = 0, nMax = 0;
    file >> strMagic >> nWidth >> nHeight >> nMax;
    file.get();
    std::string strRows(static_cast<size_t>(std::max(nWidth, 0)) * static_cast<size_t>(std::clamp(static_cast<int>(yBottom) + 1, 0, nHeight)), '\0');
    file.read(strRows.data(), static_cast<std::streamsize>(strRows.size()));
    return strRows;
}
}  // namespace

// The market's indices in their default order, printed in both languages: as the grid marks no
// column then, neither does the print; its titles print as they do while the rows are sorted by
// a column the window hides, whose mark does not print.
TEST_F(ColumnTitles, AWindowInItsDefaultOrderPrintsNoSortMark)
{
    for (const bool bArabic : {false, true}) {
        ASSERT_TRUE(StartSession({"--rate", "0"}, bArabic));
        TbUseSystemPrinters(FALSE);
        auto* pTable = dynamic_cast<CDataTable*>(CNorvApp::Get()->FindTable(IDS_TABLE_INDICES_KSE));
        ASSERT_NE(nullptr, pTable);
        CNorvApp::ShowTable(pTable);
        ASSERT_TRUE(PumpUntil([&]() -> bool { return pTable->GetRows()->GetCount() > 0 && !pTable->IsReceiving(); }));
        CTableMDIWnd* pWnd = pTable->GetMainWindow();
        CViewTable* pView = pWnd->GetView();
        int nHidden = -1;
        for (int nCol = 0; nCol < pView->GetColumnCount() && nHidden < 0; ++nCol)
            nHidden = pView->GetColumns().GetColumn(nCol)->m_bHidden ? nCol : -1;
        ASSERT_LE(0, nHidden);
        std::string strPrinted[2];
        for (int nPrint = 0; nPrint < 2; ++nPrint) {
            if (nPrint == 1) {
                CSortColumns keys(30);
                keys.Add(nHidden, SORT_ASCENDING);
                pView->Sort(keys, FALSE);
                PumpFor(200);
            }
            const std::string strPdf = pRun->Folder() + "/order_" + std::to_string(nPrint) + ".pdf";
            const std::unique_ptr<CViewTable> pSnapshot(pView->GetTable()->CreateSnapshotView(3));
            CNorvTablePrint print(pSnapshot.get());
            print.GetProperties().CopyFrom(pWnd->GetGrid());
            print.SetOutputFile(strPdf.c_str());
            print.GetSettings().m_bPageHeader = print.GetSettings().m_bReportHeader = FALSE;
            ASSERT_TRUE(print.GetSettings().SelectPrinter() && print.Print() == 1);
            strPrinted[nPrint] = PrintedTitleRows(strPdf);
        }
        EXPECT_FALSE(strPrinted[0].empty());
        EXPECT_TRUE(strPrinted[0] == strPrinted[1]) << (bArabic ? "Arabic" : "English") << ": the titles print unlike";
        TearDown();
    }
}
