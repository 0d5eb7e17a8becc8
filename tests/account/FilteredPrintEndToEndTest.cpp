// A filtered window printed as the trader prints it: every window whose view carries a filter
// once the load is done (the KSE order variants among them, holding orders of several statuses),
// Ctrl+P, the print dialog's Print, a PDF file. The print holds exactly the rows the window shows,
// and the window shows the same rows afterwards, in English and in Arabic.
#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "app/NorvApp.h"
#include "app/TableMDIWnd.h"
#include "framework/print/TBPrintDlg.h"
#include "framework/table/TableFilters.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "app/MainFrame.h"
#include "platform/win/spool/Printers.h"
#include "platform/win/user/TestAnswers.h"
#include "tests/account/AccountTestSupport.h"
#include "tests/common/PdfReadBack.h"

namespace {

std::vector<std::string> Words(const std::string& strText)
{
    std::vector<std::string> words;
    std::istringstream text(strText);
    for (std::string strWord; text >> strWord;)
        words.push_back(strWord);
    return words;
}

// Each data row as its first two shown columns read, the rows the view hides included: the
// cells' texts, and whether the window shows the row.
struct ROW_WORDS
{
    std::vector<std::string> cells;
    bool bShown;
};
std::vector<ROW_WORDS> HeldRows(CViewTable* pView)
{
    std::vector<int> columns;
    const CTableColumnsMap& order = pView->GetColumnOrder();
    for (int nPos = 0; nPos < order.GetCount() && columns.size() < 2; ++nPos)
        if (!order.GetColumn(nPos)->m_bHidden)
            columns.push_back(order.GetColumnIndex(nPos));
    std::vector<ROW_WORDS> rows;
    pView->GetRowTree().ForEachRow([&](CTableRow* pRow) {
        ROW_WORDS row{{}, !pRow->IsHidden()};
        for (int nCol : columns) {
            char szText[256] = "";
            pRow->GetCellText(szText, sizeof szText, nCol, pView->GetColumns().GetColumn(nCol), pView);
            row.cells.emplace_back(szText);
        }
        rows.push_back(row);
        return TRUE;
    });
    return rows;
}

// The lines of every page of a PDF, each as its words, in logical order.
std::vector<std::vector<std::string>> PrintedLines(const std::string& strPdf)
{
    std::vector<std::vector<std::string>> lines;
    for (int nPage = 1; nPage <= PdfPageCount(strPdf); ++nPage) {
        std::istringstream text(PdfPageText(strPdf, nPage, /*bLogical=*/true));
        for (std::string strLine; std::getline(text, strLine);)
            lines.push_back(Words(strLine));
    }
    return lines;
}

// Whether a printed line carries the cells' words in a run, the cells left to right or (a
// right-to-left page) right to left.
bool Printed(const std::vector<std::vector<std::string>>& lines, std::vector<std::string> cells)
{
    for (int nWay = 0; nWay < 2; ++nWay) {
        std::vector<std::string> words;
        for (const std::string& strCell : cells)
            for (const std::string& strWord : Words(strCell))
                words.push_back(strWord);
        for (const std::vector<std::string>& line : lines)
            if (!words.empty() && std::search(line.begin(), line.end(), words.begin(), words.end()) != line.end())
                return true;
        std::reverse(cells.begin(), cells.end());
    }
    return false;
}

struct FilteredPrint : CAccountSession
{
    // An order placed as its form places it; its number from the reply's field.
    std::string Place(const std::string& strMnemonic, int nType, const std::string& strBody, int nNumberField)
    {
        const long nLink = Send(nType, strBody);
        std::string strOrder;
        PumpUntil([&] {
            for (const std::string& line : Sent(strMnemonic))
                if (line.rfind("~" + strMnemonic + "|" + std::to_string(nLink) + "|", 0) == 0)
                    strOrder = CServerMessage(line.c_str(), 1).GetFieldText(nNumberField);
            return !strOrder.empty();
        }, 5000);
        return strOrder;
    }

    // Orders of four kinds: filled, partly filled and then cancelled, resting on the forward
    // market; each filtered order window shows some of them and hides the others.
    void PlaceOrders()
    {
        auto* pOrders = FindDataTable(51128);
        ASSERT_NE(nullptr, pOrders);
        const std::string strFilled = Place("KR", MSG_KR, "||1002|10020|1|1|101|100|3|0||0|||secret", 17);
        const std::string strPartly = Place("KR", MSG_KR, "||1002|10020|1|1|101|300000|3|0||0|||secret", 17);
        ASSERT_FALSE(strFilled.empty() || strPartly.empty()) << pRun->InfoText();
        ASSERT_TRUE(PumpUntil([&] { return pOrders->GetRows()->FindRow({strPartly.c_str()}) != nullptr; }, 5000));
        Send(MSG_KC, "||1002|10020|" + strPartly + "||||||||||||||||||||secret");
        ASSERT_TRUE(PumpUntil([&] {
            const CDataBuffer* pRow = pOrders->GetRows()->FindRow({strPartly.c_str()});
            return pRow != nullptr && std::string(pRow->GetText(19)) == "5";
        }, 5000));
        const std::string strForward = Place("KA", MSG_KA, "||1002|10020|1|101|1000|0|3|1|849.585|secret", 13);
        ASSERT_FALSE(strForward.empty()) << pRun->InfoText();
        ASSERT_TRUE(PumpUntil([&] { return pOrders->GetRows()->FindRow({strForward.c_str()}) != nullptr; }, 5000));
        PumpFor(300);
    }

    // Ctrl+P on the window's grid, Print in the dialog, the file named; the printed lines.
    std::vector<std::vector<std::string>> PrintWindow(CTableMDIWnd* pWnd, const std::string& strPdf)
    {
        CMDIFrameWnd* pFrame = pRun->App().GetMainFrame();
        pFrame->MDIActivate(pWnd);
        ::SetFocus(pWnd->GetGrid().GetSafeHwnd());
        TbUseSystemPrinters(FALSE);
        TbClearTestAnswers();
        TbQueueTestAnswer({TB_ASK_SAVEFILE, IDOK, strPdf});
        pRun->QueueDialog(IDC_PRINT_PRINTER, {});
        EXPECT_TRUE(pRun->TypeCtrl('P', [&] { return TbPendingTestAnswers() == 0 && std::filesystem::exists(strPdf); }))
            << "the print dialog came and the file was written";
        PumpFor(100);
        return PrintedLines(strPdf);
    }

    void PrintsWhatEachFilteredWindowShows(bool bArabic)
    {
        ASSERT_TRUE(StartSession({"--rate", "0"}, bArabic));
        ASSERT_NO_FATAL_FAILURE(PlaceOrders());
        int nFiltered = 0;
        for (IDataTable* pTable : CNorvApp::Get()->GetTables()) {
            auto* pData = dynamic_cast<CDataTable*>(pTable);
            if (pData == nullptr)
                continue;
            CNorvApp::ShowTable(pTable);
            PumpUntil([&] { return !pData->IsReceiving(); }, 3000);
            PumpFor(100);
            CTableMDIWnd* pWnd = pTable->GetMainWindow();
            CViewTable* pView = pWnd != nullptr && pWnd->HasGrid() ? pWnd->GetView() : nullptr;
            if (pView == nullptr || pView->GetFilters() == nullptr || pData->GetDescription().keys.empty())
                continue;
            const std::vector<ROW_WORDS> held = HeldRows(pView);
            const std::vector<std::string> shownKeys = ShownTexts(pData, pData->GetDescription().keys[0]);
            if (shownKeys.size() >= held.size())
                continue;
            ++nFiltered;
            const std::string strName(pTable->GetName());
            SCOPED_TRACE(strName);
            const std::string strPdf = pRun->Folder() + "/filtered_" + std::to_string(pTable->GetNameId()) + ".pdf";
            const std::vector<std::vector<std::string>> lines = PrintWindow(pWnd, strPdf);
            ASSERT_FALSE(lines.empty()) << "printed";
            for (const ROW_WORDS& row : held) {
                std::string strRow;
                for (const std::string& strCell : row.cells)
                    strRow += strCell + " ";
                EXPECT_EQ(row.bShown, Printed(lines, row.cells)) << strRow << (row.bShown ? "shown, not printed" : "hidden, printed");
            }
            EXPECT_EQ(shownKeys, ShownTexts(pData, pData->GetDescription().keys[0])) << "the window shows the same rows after printing";
            if (!HasFailure())
                Shoot(pData, std::string("filtered_print_") + (bArabic ? "ar_" : "en_") + std::to_string(pTable->GetNameId()));
        }
        // The four KSE order variants at least, each hiding some of the orders.
        EXPECT_LE(4, nFiltered);
    }
};

}  // namespace

TEST_F(FilteredPrint, EachFilteredWindowPrintsTheRowsItShowsAndKeepsShowingThem)
{
    PrintsWhatEachFilteredWindowShows(false);
}

TEST_F(FilteredPrint, EachFilteredWindowPrintsTheRowsItShowsAndKeepsShowingThemInArabic)
{
    PrintsWhatEachFilteredWindowShows(true);
}
