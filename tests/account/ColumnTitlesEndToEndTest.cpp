// The titles of the position windows' columns as the trader reads them, in English and Arabic:
// every column a window shows by default says what it holds (no numbered placeholder), and no two
// columns a window shows share a title.
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

    // The word a numbered placeholder numbers ("Amount" of "Amount (7)"): its digits, brackets
    // and commas gone, its ends trimmed.
    static std::string Stem(const std::string& strTitle)
    {
        std::string strStem;
        for (const char ch : strTitle)
            if (std::string("0123456789(),").find(ch) == std::string::npos)
                strStem += ch;
        const size_t nFirst = strStem.find_first_not_of(' ');
        return nFirst == std::string::npos ? "" : strStem.substr(nFirst, strStem.find_last_not_of(' ') - nFirst + 1);
    }

    void ExpectTitlesSayWhatTheyHold(const char* pszLanguage)
    {
        // The words the windows' numbered placeholders number, hidden columns' too: a title that
        // is one of them says no more than they do.
        std::set<std::string> stems;
        for (const UINT nId : g_positionTables)
            if (CNorvApp::Get()->FindTable(nId) == nullptr)
                MakeTable(nId, 0, 0);
        for (const UINT nId : g_positionTables)
            if (auto* pTable = dynamic_cast<CDataTable*>(CNorvApp::Get()->FindTable(nId)))
                for (int nCol = 0; nCol < pTable->GetTable()->GetColumnCount(); ++nCol) {
                    const std::string strTitle = OneLine(pTable->GetTable()->GetColumn(nCol).GetTableColumn()->GetTitle());
                    if (strTitle.find_first_of("0123456789") != std::string::npos)
                        stems.insert(Stem(strTitle));
                }
        for (const UINT nId : g_positionTables) {
            IDataTable* pAny = CNorvApp::Get()->FindTable(nId);
            if (pAny == nullptr)
                pAny = MakeTable(nId, 0, 0);
            auto* pTable = dynamic_cast<CDataTable*>(pAny);
            ASSERT_NE(nullptr, pTable) << nId;
            // As every show of the table leaves it.
            pTable->SetColumnsHidden(TRUE);
            std::map<std::string, int> shown;
            CTable* pEngine = pTable->GetTable();
            for (int nCol = 0; nCol < pEngine->GetColumnCount(); ++nCol) {
                CColumn column = pEngine->GetColumn(nCol);
                if (column.IsHidden())
                    continue;
                const std::string strTitle = OneLine(column.GetTableColumn()->GetTitle());
                const std::string strWhere = std::string(pszLanguage) + ", " + std::string(pTable->GetName()) + " column " +
                                             std::to_string(nCol) + " \"" + strTitle + "\"";
                EXPECT_FALSE(strTitle.empty()) << strWhere;
                EXPECT_EQ(std::string::npos, strTitle.find_first_of("0123456789")) << strWhere << ": a numbered placeholder";
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

TEST_F(ColumnTitles, EveryShownColumnOfEveryPositionWindowSaysWhatItHoldsInBothLanguages)
{
    for (const bool bArabic : {false, true}) {
        ASSERT_TRUE(StartSession({"--rate", "0"}, bArabic));
        ExpectTitlesSayWhatTheyHold(bArabic ? "Arabic" : "English");
        TearDown();
    }
}
