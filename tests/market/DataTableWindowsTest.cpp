// The data-table base's windows, files and settings: view names that follow the windows, the
// fourth window as the last, the hidden main window, the table text export and import of every
// column type, the log options, and pictures of a table made from its description in both
// languages.
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <string>
#include "DataTableTestSupport.h"
#include "framework/table/TableFilters.h"
#include "platform/mfc/CmdUI.h"
#include "platform/win/gdi/ImageCodec.h"

namespace {

// One column of every stored type, fed by nothing: rows come from files.
const TABLE_COLUMN s_everyType[] = {
    {.nTitleId = 851, .nType = COLTYPE_INT32, .nWidth = 50, .nAlign = ALIGN_RIGHT},
    {.nTitleId = 852, .nType = COLTYPE_INT64, .nWidth = 90, .nAlign = ALIGN_RIGHT},
    {.nTitleId = 853, .nType = COLTYPE_DOUBLE, .nWidth = 70, .nDecimals = -3, .nAlign = ALIGN_RIGHT},
    {.nTitleId = 51951, .nType = COLTYPE_CHAR4, .nWidth = 40},
    {.nTitleId = 51952, .nSize = 20},
    {.nTitleId = 51953, .nType = COLTYPE_PACKED_DATE, .nWidth = 80},
    {.nTitleId = 51950, .nType = COLTYPE_PACKED_TIME, .nWidth = 70},
    {.nTitleId = 56693, .nType = COLTYPE_PACKED_DATETIME, .nWidth = 120},
    {.nTitleId = 52011, .nType = COLTYPE_DATE_TEXT, .nWidth = 80},
    {.nTitleId = 51236, .nType = COLTYPE_TIME_TEXT, .nWidth = 70},
    {.nTitleId = 57382, .nType = COLTYPE_DATETIME_TEXT, .nWidth = 120},
    {.nTitleId = 51955, .nType = COLTYPE_INT32, .nWidth = 60, .nDecimals = -2, .nAlign = ALIGN_RIGHT,
     .nFlags = COLF_THOUSANDS | COLF_OMIT_ZERO_FRACTION},
};
const TABLE_SORT_KEY s_everySort[] = {{0, 1}};
const int s_everyKeys[] = {0};
const TABLE_DESC s_everyTable = {.nNameId = 52175, .columns = s_everyType, .sort = s_everySort, .keys = s_everyKeys};

class CEveryTypeTable : public CDataTable
{
public:
    CEveryTypeTable() : CDataTable(s_everyTable, nullptr) {}
};

// Takes the new-window item off its menus while no row is selected.
class CRowMenuTable : public CQuoteFeedTable
{
public:
    explicit CRowMenuTable(CZorvatMessageSource* pSource) : CQuoteFeedTable(pSource) {}
    void OnInitMenuPopup(HMENU hMenu, UINT, BOOL) override
    {
        CViewRow row;
        int nIndex = -1;
        GetSelectedRow(row, &nIndex);
        if (nIndex < 0)
            RemoveMenu(hMenu, ID_TABLE_NEW_WINDOW, MF_BYCOMMAND);
    }
};

std::string ReadFile(const std::string& strPath)
{
    std::ifstream file(strPath);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string ViewNames(CTable* pTable)
{
    std::string strNames;
    for (int i = 0; i < pTable->GetViewCount(); ++i)
        strNames += (i > 0 ? " " : "") + std::string(pTable->GetView(i)->GetName());
    return strNames;
}

int NewWindowEnabled(CTableMDIWnd* pWindow)
{
    struct CRecordingCmdUI : CCmdUI {
        void Enable(BOOL bOn) override { m_nEnabled = bOn ? 1 : 0; }
        int m_nEnabled = -1;
    } ui;
    ui.m_nID = ID_TABLE_NEW_WINDOW;
    pWindow->OnCmdMsg(ID_TABLE_NEW_WINDOW, static_cast<int>(CN_UPDATE_COMMAND_UI), &ui, nullptr);
    return ui.m_nEnabled;
}

std::string ScreenshotPath(const char* pszName)
{
    const std::string strFolder = std::string(TB_BINARY_DIR) + "/screenshots";
    std::filesystem::create_directories(strFolder);
    return strFolder + "/" + pszName + ".png";
}

struct WindowsFixture : ::testing::Test
{
    CTestLanguage language;
    CTestShell shell;
    CZorvatMessageSource source;

    void SetUp() override { RegisterMessageCodes(g_messageCodePairs); }
    void TearDown() override { CNorvApp::Get()->RemoveAllTables(); }
    template <class TTable, class... TArgs>
    TTable* Make(TArgs... args)
    {
        TTable* pTable = new TTable(args...);       // the table map deletes it
        EXPECT_TRUE(pTable->Create());
        return pTable;
    }
};

}  // namespace

TEST_F(WindowsFixture, ViewNamesFollowTheWindowsUpToFour)
{
    CQuoteFeedTable* pTable = Make<CQuoteFeedTable>(&source);
    const std::string strName = static_cast<const char*>(pTable->GetName());
    CTableMDIWnd* pMain = pTable->GetMainWindow();
    ASSERT_NE(nullptr, pMain);
    CTableMDIWnd* pSecond = pTable->OpenWindow(TRUE);
    ASSERT_NE(nullptr, pSecond);
    ASSERT_NE(nullptr, pTable->OpenWindow(TRUE));
    EXPECT_EQ(strName + " " + strName + ":2 " + strName + ":3", ViewNames(pTable->GetTable()));
    EXPECT_EQ(1, NewWindowEnabled(pMain)) << "three windows: a fourth may open";
    ASSERT_NE(nullptr, pTable->OpenWindow(TRUE));
    EXPECT_EQ(0, NewWindowEnabled(pMain)) << "four windows: no fifth";
    EXPECT_EQ(nullptr, pTable->OpenWindow(TRUE));
    HMENU hMenu = pTable->CreateContextMenu();
    ASSERT_NE(nullptr, hMenu) << "the standard table menu";
    EXPECT_NE(static_cast<UINT>(-1), GetMenuState(hMenu, ID_TABLE_NEW_WINDOW, MF_BYCOMMAND));
    DestroyMenu(hMenu);

    // Closing the second renames the ones after it; the caption follows the title.
    pTable->CloseWindow(pSecond);
    PumpPending();
    EXPECT_EQ(strName + " " + strName + ":2 " + strName + ":3", ViewNames(pTable->GetTable()));
    CString strCaption;
    pTable->FindWindowByView(2)->GetWindowText(strCaption);
    EXPECT_EQ(std::string(pTable->GetTitle()) + ":3", std::string(strCaption));

    // The last window is only hidden, and the table stays fed.
    while (pTable->GetWindowCount() > 1) {
        pTable->CloseWindow(pTable->FindWindowByView(1));
        PumpPending();
    }
    pTable->CloseWindow(pMain);
    EXPECT_EQ(pMain, pTable->GetMainWindow());
    EXPECT_FALSE(pMain->IsWindowVisible());
    FireTableLine(source, "~FR|1|XC||0");
    FireTableLine(source, "1|AAA|1|1|200101|100000|a");
    FireTableLine(source, "$EN|1|XC|0");
    EXPECT_EQ(1, pTable->GetTable()->GetView(0)->GetRowCount());
}

TEST_F(WindowsFixture, TableShapesItsMenuByTheSelectedRow)
{
    CRowMenuTable* pTable = Make<CRowMenuTable>(&source);
    CNorvApp::ShowTable(pTable);
    CTableMDIWnd* pMain = pTable->GetMainWindow();
    HMENU hMenu = pTable->CreateContextMenu();
    ASSERT_NE(nullptr, hMenu);
    pMain->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), 0);
    EXPECT_EQ(static_cast<UINT>(-1), GetMenuState(hMenu, ID_TABLE_NEW_WINDOW, MF_BYCOMMAND)) << "no row selected";
    DestroyMenu(hMenu);

    FireTableLine(source, "~FR|1|XC||0");
    FireTableLine(source, "1|AAA|1|1|200101|100000|a");
    FireTableLine(source, "2|BBB|1|1|200101|100000|b");
    FireTableLine(source, "$EN|1|XC|0");
    pMain->GetGrid().SelectRow(1, 0, FALSE);
    CViewRow row;
    int nIndex = -1;
    ASSERT_TRUE(pTable->GetSelectedRow(row, &nIndex));
    EXPECT_EQ(1, nIndex);
    CTBString strSymbol;
    row.GetText(strSymbol, 1);
    EXPECT_EQ("BBB", std::string(strSymbol));
    hMenu = pTable->CreateContextMenu();
    pMain->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), 0);
    EXPECT_NE(static_cast<UINT>(-1), GetMenuState(hMenu, ID_TABLE_NEW_WINDOW, MF_BYCOMMAND)) << "a row selected";
    DestroyMenu(hMenu);
}

TEST_F(WindowsFixture, ViewFilterShowsOnlyMatchingRowsInItsWindow)
{
    CQuoteFeedTable* pTable = Make<CQuoteFeedTable>(&source);
    FireTableLine(source, "~FR|1|XC||0");
    for (const char* pszRow : {"1|AAA|1|1|200101|100000|a", "2|BBB|1|1|200101|100000|b", "3|AAA|1|1|200101|100000|c"})
        FireTableLine(source, pszRow);
    FireTableLine(source, "$EN|1|XC|0");
    CTableMDIWnd* pSecond = pTable->OpenWindow(FALSE);
    ASSERT_NE(nullptr, pSecond);
    CTableFilters* pFilters = new CTableFilters;
    ASSERT_TRUE(pFilters->Init(pSecond->GetView(), nullptr));
    ASSERT_EQ(0, pFilters->AddFilter(1, "AAA", /*bFlag=*/FALSE, /*nGroup=*/0));
    ASSERT_TRUE(CDataTable::SetViewFilter(pSecond, pFilters));
    auto shown = [](CViewTable* pView) {
        std::string strKeys;
        CViewRow row;
        for (int i = 0; pView->GetRow(row, i); ++i) {
            CTBString strKey;
            if (row.IsDataRow() && row.GetText(strKey, 0))
                strKeys += std::string(strKey);
        }
        return strKeys;
    };
    EXPECT_EQ("13", shown(pSecond->GetView()));
    EXPECT_EQ("123", shown(pTable->GetMainWindow()->GetView())) << "the other window keeps every row";
    EXPECT_FALSE(CDataTable::SetViewFilter(nullptr, nullptr));
}

// A reply's rows are painted when the window next paints; its end gives the scroll bar every
// row, so that the bar's end reaches the last.
TEST_F(WindowsFixture, AReplyLongerThanItsWindowReachesItsLastRowThroughTheBar)
{
    CQuoteFeedTable* pTable = Make<CQuoteFeedTable>(&source);
    CNorvApp::ShowTable(pTable);
    CTableMDIWnd* pWindow = pTable->GetMainWindow();
    ASSERT_NE(nullptr, pWindow);
    CTableWindow& grid = pWindow->GetGrid();
    pWindow->MoveWindow(0, 0, 600, grid.GetTitleHeight() + 12 * grid.GetRowHeight());
    const int nRows = 80;
    FireTableLine(source, "~FR|1|XC||0");
    for (int i = 1; i <= nRows; ++i)
        FireTableLine(source, (std::to_string(i) + "|AAA|1|1|200101|100000|a").c_str());
    FireTableLine(source, "$EN|1|XC|0");
    ASSERT_LT(grid.GetWholeLines(), nRows);
    grid.VScroll(SB_BOTTOM, 0, 1);
    grid.VScroll(SB_ENDSCROLL, 0, 1);
    EXPECT_EQ(nRows - grid.GetWholeLines(), grid.GetTopRow());
}

TEST_F(WindowsFixture, ExportThenImportGivesTheSameRowsOfEveryType)
{
    CEveryTypeTable* pFirst = Make<CEveryTypeTable>();
    const std::string strIn = shell.Folder() + "/in.tbl";
    std::ofstream(strIn) << "2|-9000000000|-0.125|AB|text \\| with bar|2024/02/29|23:59:59|2023/12/31 12:00:00|2024/01/01|"
                            "12:00:00|2024/01/01 09:30:00|1234.5\n"
                            "\n"
                            "1|42|3.5|X|short\n";
    ASSERT_TRUE(pFirst->LoadFromFile(strIn.c_str()));
    ASSERT_EQ(2, pFirst->GetRows()->GetCount()) << "the empty line is no row";
    const std::string strOut = shell.Folder() + "/out.tbl";
    ASSERT_TRUE(pFirst->SaveToFile(strOut.c_str()));
    const std::string strExported = ReadFile(strOut);

    CEveryTypeTable* pSecond = new CEveryTypeTable;
    ASSERT_TRUE(pSecond->Create(52176, 0, 0));
    ASSERT_TRUE(pSecond->LoadFromFile(strOut.c_str()));
    EXPECT_EQ(RowsText(*pFirst->GetRows()), RowsText(*pSecond->GetRows()));
    const std::string strAgain = shell.Folder() + "/again.tbl";
    ASSERT_TRUE(pSecond->SaveToFile(strAgain.c_str()));
    EXPECT_EQ(strExported, ReadFile(strAgain));
    EXPECT_NE(std::string::npos, strExported.find("text \\| with bar")) << strExported;
    EXPECT_NE(std::string::npos, strExported.find("-9,000,000,000|-0.125|AB|")) << strExported;
    EXPECT_NE(std::string::npos, strExported.find("2024/02/29|23:59:59|2023/12/31 12:00:00|")) << strExported;
}

TEST_F(WindowsFixture, ImportSkipsOverlongLinesAndExportSaysWhenItCannotWrite)
{
    CEveryTypeTable* pTable = Make<CEveryTypeTable>();
    const std::string strIn = shell.Folder() + "/long.tbl";
    // A line is cut at 32,768 bytes; its tail looks like a row of its own ("5|...") and is not one.
    std::ofstream(strIn) << "1|1\n" << "9|" << std::string(32765, '7') << "5|5|tail\n" << "3|3\n";
    ASSERT_TRUE(pTable->LoadFromFile(strIn.c_str()));
    EXPECT_EQ(3, pTable->GetRows()->GetCount());
    EXPECT_EQ("1 3 9", std::string(pTable->GetRows()->GetAt(0)->GetText(0)) + " " +
                           std::string(pTable->GetRows()->GetAt(1)->GetText(0)) + " " +
                           std::string(pTable->GetRows()->GetAt(2)->GetText(0)));

    EXPECT_TRUE(pTable->LoadFromFile((shell.Folder() + "/missing.tbl").c_str())) << "kept: a missing file answers TRUE";
    EXPECT_EQ(3, pTable->GetRows()->GetCount());
    EXPECT_FALSE(pTable->LoadFromFile(""));
    EXPECT_FALSE(pTable->SaveToFile(""));
    EXPECT_FALSE(pTable->SaveToFile((shell.Folder() + "/no/such/folder/out.tbl").c_str()));
}

TEST_F(WindowsFixture, LogOptionsLiveInTheTablesSection)
{
    CQuoteFeedTable* pTable = Make<CQuoteFeedTable>(&source);
    const std::string strName = static_cast<const char*>(pTable->GetName());
    pTable->GetLogSettings().m_nLogsPeriod = 9;
    pTable->GetLogSettings().m_bLogsRealtime = TRUE;
    pTable->GetLogSettings().m_strLogsFileRT = "rt.log";
    pTable->SaveSettings();
    EXPECT_EQ("9", shell.Setting(strName.c_str(), "LogsPeriod"));
    EXPECT_EQ("Yes", shell.Setting(strName.c_str(), "LogsRealtime"));
    EXPECT_EQ("rt.log", shell.Setting(strName.c_str(), "LogsFileRT"));
    CQuoteFeedTable* pAgain = new CQuoteFeedTable(&source);
    ASSERT_TRUE(pAgain->Create(g_quoteTable.nNameId, 0, 0));
    EXPECT_EQ(9, pAgain->GetLogSettings().m_nLogsPeriod);
    EXPECT_TRUE(pAgain->GetLogSettings().m_bLogsRealtime);
    EXPECT_EQ("rt.log", std::string(pAgain->GetLogSettings().m_strLogsFileRT));
    // The map now knows the second table under the name; the first goes by hand.
    IDataTable* pFirst = pTable;
    pFirst->Destroy();
    delete pFirst;
}

namespace {

// The table from its description with two rows, shown, as a picture under the build folder.
void PictureTable(CZorvatMessageSource& source, const char* pszName)
{
    CQuoteFeedTable* pTable = new CQuoteFeedTable(&source);     // the table map deletes it
    ASSERT_TRUE(pTable->Create());
    CNorvApp::ShowTable(pTable);
    FireTableLine(source, "~FR|1|XC||0");
    FireTableLine(source, "2|BBB|7.25|2000|201231|101500|bbb");
    FireTableLine(source, "1|AAA|99.5|1500000|200105|093000|aaa");
    FireTableLine(source, "$EN|1|XC|0");
    PumpPending();
    const std::string strPath = ScreenshotPath(pszName);
    EXPECT_TRUE(TbSaveWindowPng(pTable->GetMainWindow()->m_hWnd, strPath.c_str()));
    EXPECT_TRUE(std::filesystem::exists(strPath));
}

struct ArabicWindowsFixture : ::testing::Test
{
    CTestLanguage language{1256};
    CTestShell shell;
    CZorvatMessageSource source;

    void SetUp() override { RegisterMessageCodes(g_messageCodePairs); }
    void TearDown() override { CNorvApp::Get()->RemoveAllTables(); }
};

}  // namespace

TEST_F(WindowsFixture, DescribedTablePictured)
{
    PictureTable(source, "market_table_en");
}

TEST_F(ArabicWindowsFixture, DescribedTablePictured)
{
    PictureTable(source, "market_table_ar");
}
