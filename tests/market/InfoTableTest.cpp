// The information table: numbered lines, their times, the resource forms, its one window that
// minimises when closed, the message column that keeps its widest width, and the server's
// notices and hello reply it takes as a message sink.
#include <gtest/gtest.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include "tests/app/AppTestSupport.h"
#include "framework/window/TableWindowArea.h"
#include "market/ZorvatInfoTable.h"
#include "link/MessageSource.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "platform/win/gdi/PixelBuffer.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/TestAnswers.h"
#include "refdata/ZorvatGlobals.h"

namespace {

class CRecordingHost : public IInfoTableHost
{
public:
    void SetIndicatorState(int nState) override { m_nIndicator = nState; }
    BOOL IsActiveChild(HWND hWnd) const override { return m_bActive && hWnd != nullptr; }
    void BringInfoWindowToTop(int nPriority) override { m_raises.push_back(nPriority); }
    CString GetErrorText(long nCode) override
    {
        CString strText;
        strText.Format("error %ld", nCode);
        return strText;
    }
    void ShowMessageBox(LPCSTR pszText, UINT nFlags) override
    {
        m_boxes.push_back(pszText);
        m_boxFlags.push_back(nFlags);
    }
    void OnVersionStatus(int nStatus, LPCSTR pszText) override
    {
        m_versions.push_back(std::to_string(nStatus) + " " + pszText);
    }

    int m_nIndicator = -1;
    BOOL m_bActive = FALSE;
    std::vector<int> m_raises;
    std::vector<std::string> m_boxes;
    std::vector<UINT> m_boxFlags;
    std::vector<std::string> m_versions;
};

struct InfoFixture : ::testing::Test
{
    CTestLanguage language;
    CTestShell shell;
    CRecordingHost host;
    CZorvatMessageSource source;
    CZorvatInfoTable* pTable = nullptr;

    explicit InfoFixture(int nCodePage = 1252) : language(nCodePage) {}
    void SetUp() override
    {
        RegisterMessageCodes(g_messageCodePairs);
        pTable = new CZorvatInfoTable(&host, &source);
        ASSERT_TRUE(pTable->Create(50001, 0, 56710));
    }
    std::string Line(int n) const
    {
        return std::string(pTable->GetLineCell(n, INFO_COL_NUMBER)) + "|" +
               static_cast<const char*>(pTable->GetLineCell(n, INFO_COL_TIME)) + "|" +
               static_cast<const char*>(pTable->GetLineCell(n, INFO_COL_TEXT));
    }
    void Fire(const char* pszLine)
    {
        CServerMessage msg(pszLine, 1);
        source.FireType(msg.GetType(), &msg, -1);
    }
};

// The same in Arabic, in the Arabic code page as the terminal runs it: the code page is set
// before the language and the shell are made, and put back after they are gone.
struct ArabicCodePage
{
    ArabicCodePage() { TbSetActiveCodePage(1256); }
    ~ArabicCodePage() { TbSetActiveCodePage(1252); }
};

struct ArabicInfoFixture : ArabicCodePage, InfoFixture
{
    ArabicInfoFixture() : InfoFixture(1256) {}
};

}  // namespace

// The workspace line reads right to left, the file name in it left to right: the name stands
// whole at the line's left end, its leading slash first.
TEST_F(ArabicInfoFixture, FileNameInALineKeepsItsOwnDirection)
{
    CString strLoaded;
    GetSharedGlobals()->LoadString(strLoaded, 856);
    const std::string strPath = "/tmp/ws/Default.wsp";
    pTable->AddText(strLoaded + strPath.c_str());
    CNorvApp::ShowTable(pTable);
    PumpPending();
    CTableWindow& grid = pTable->GetMainWindow()->GetGrid();
    // The first line across the whole window: in Arabic the text column stands leftmost.
    RECT rcLine, rcCell;
    bool bShown = false;
    for (int nCol = 0; nCol < 3 && !bShown; ++nCol)
        bShown = grid.GetCellRect(0, nCol, &rcLine);
    ASSERT_TRUE(bShown);
    ::GetClientRect(grid.m_hWnd, &rcCell);
    rcLine.left = rcCell.left + 2;
    rcLine.right = rcCell.right;
    InflateRect(&rcLine, 0, -1);
    std::filesystem::create_directories(std::string(TB_BINARY_DIR) + "/screenshots");
    TbSaveWindowPng(pTable->GetMainWindow()->m_hWnd, (std::string(TB_BINARY_DIR) + "/screenshots/info_file_name_ar.png").c_str());
    const std::string strSeen = InkOfWindow(grid.m_hWnd, rcLine);
    const std::string strName = InkOfText(grid.GetFont(), strPath);
    ASSERT_LT(strName.size(), strSeen.size());
    EXPECT_TRUE(SameInk(strName, strSeen.substr(0, strName.size()))) << strSeen;
}

TEST_F(InfoFixture, LinesAreNumberedAndStampedAndFollowEachOther)
{
    pTable->AddText("first");
    pTable->AddMessage("main", 0, "second", "third");
    ASSERT_EQ(4, pTable->GetLineCount());
    EXPECT_EQ("1", std::string(pTable->GetLineCell(0, INFO_COL_NUMBER)));
    EXPECT_EQ(8u, strlen(pTable->GetLineCell(0, INFO_COL_TIME))) << "the server's clock as hh:mm:ss";
    EXPECT_EQ("3||second", Line(2));
    EXPECT_EQ("4||third", Line(3));
    EXPECT_EQ(4, pTable->GetTable()->GetRowCount());
    EXPECT_EQ(shell.App().FindTable(50001), static_cast<IDataTable*>(pTable));

    // A stamp of fewer than 6 characters gives the current time; from 6, its characters 4 on.
    pTable->AddTimedMessage("short", "12345", nullptr, nullptr);
    EXPECT_EQ(8u, strlen(pTable->GetLineCell(4, INFO_COL_TIME)));
    pTable->AddTimedMessage("stamped", "abc\x0a\x14\x1e", nullptr, nullptr);
    EXPECT_STRNE(pTable->GetLineCell(4, INFO_COL_TIME), pTable->GetLineCell(5, INFO_COL_TIME));

    // A string id without a text shows the missing-string line with the number.
    pTable->AddResourceText(49999);
    EXPECT_NE(std::string::npos, std::string(pTable->GetLineCell(6, INFO_COL_TEXT)).find("49999"));

    pTable->RemoveAllRows();
    EXPECT_EQ(0, pTable->GetTable()->GetRowCount());
    pTable->AddText("again");
    EXPECT_EQ("1", std::string(pTable->GetLineCell(0, INFO_COL_NUMBER)));
}

// The log keeps one clock: the lines written before the server first tells its time (the
// connection's and the login's) carry the machine's time until then, and the server's after,
// as every later line does; a time the message brought along stays its own. The reference data
// may hear the time before or after the table does.
TEST_F(InfoFixture, LinesWrittenBeforeTheServersTimeTakeItWhenItComes)
{
    struct CMachineClock : IClockSource
    {
        time_t GetNow() const override { return 1765000000; }
        int GetLocalSecondsOfDay() const override { return 15 * 3600 + 45 * 60 + 53; }
    } machine;
    CZorvatGlobals* pGlobals = GetGlobals();
    pGlobals->SetClockSource(&machine);
    for (bool bTableFirst : {false, true}) {
        SCOPED_TRACE(bTableFirst ? "the table hears the time first" : "the reference data hears it first");
        pTable->RemoveAllRows();
        pGlobals->SetClockOffset(0);
        pGlobals->ForgetServerTime();
        pTable->AddText("Connected");
        pTable->AddMessage("Logged in", 0, "as trader", nullptr);
        pTable->AddTimedMessage("stamped", "abc\x0a\x14\x1e", nullptr, nullptr);
        EXPECT_EQ("1|15:45:53|Connected", Line(0));
        const std::string strStamped = Line(3);

        CServerMessage time("~TI|0|XC||93150", 1);
        if (bTableFirst)
            Fire("~TI|0|XC||93150");
        pGlobals->OnTI(&time);
        if (!bTableFirst)
            Fire("~TI|0|XC||93150");
        pTable->AddText("Order 1 accepted");
        EXPECT_EQ("1|09:31:50|Connected", Line(0));
        EXPECT_EQ("2|09:31:50|Logged in", Line(1));
        EXPECT_EQ("3||as trader", Line(2));
        EXPECT_EQ(strStamped, Line(3));
        EXPECT_EQ("5|09:31:50|Order 1 accepted", Line(4));

        // Lines kept over a reconnect that came before the time keep waiting for it.
        pGlobals->ForgetServerTime();
        pTable->AddText("Reconnected");
        const std::vector<INFO_LINE> kept = pTable->GetLines();
        pTable->RemoveAllRows();
        pTable->AddLines(kept);
        pGlobals->SetClockOffset(pGlobals->GetClockOffset() + 60);
        Fire("~TI|0|XC||93050");
        EXPECT_EQ("6|09:30:50|Reconnected", Line(5));
        EXPECT_EQ("1|09:31:50|Connected", Line(0)) << "a time told stays";
    }
    pGlobals->SetClockSource(nullptr);
    pGlobals->SetClockOffset(0);
}

TEST_F(InfoFixture, OneWindowThatMinimisesWhenClosed)
{
    CTableMDIWnd* pMain = pTable->GetMainWindow();
    ASSERT_NE(nullptr, pMain);
    EXPECT_FALSE(pTable->CanOpenNewWindow());
    EXPECT_EQ(nullptr, pTable->OpenWindow(TRUE));
    pMain->SendMessage(WM_COMMAND, ID_TABLE_NEW_WINDOW);
    EXPECT_EQ(1, pTable->GetWindowCount());
    pTable->ShowWindow();
    pMain->SendMessage(WM_CLOSE);
    PumpPending();
    ASSERT_EQ(pMain, pTable->GetMainWindow()) << "closing keeps the window";
    EXPECT_TRUE(pMain->IsIconic());
}

TEST_F(InfoFixture, IndicatorBlinksForLinesTheUserHasNotSeen)
{
    host.m_bActive = FALSE;
    pTable->AddText("unseen");
    EXPECT_EQ(INFO_INDICATOR_NEW, host.m_nIndicator);
    host.m_bActive = TRUE;
    pTable->ShowWindow();
    pTable->AddText("seen");
    EXPECT_EQ(INFO_INDICATOR_IDLE, host.m_nIndicator);
}

TEST_F(InfoFixture, MessageColumnKeepsTheWidestLine)
{
    CTableWindow& grid = pTable->GetMainWindow()->GetGrid();
    const int nTextCol = grid.GetDisplayColumnCount() - 1;
    pTable->AddText(std::string(200, 'W').c_str());
    const int nWide = grid.GetColumnWidth(nTextCol);
    EXPECT_GT(nWide, 400);
    pTable->AddText("x");
    EXPECT_EQ(nWide, grid.GetColumnWidth(nTextCol)) << "a narrower line leaves the width";
}

// The pixels of one line of the window as it shows, as a text of their values.
std::string LinePixels(CTableWindow& grid, int nLine)
{
    const std::string strPath = MakeTestFolder("lines") + "/grid.png";
    CTbPixelBuffer image;
    if (!TbSaveWindowPng(grid.m_hWnd, strPath.c_str()) || !TbGetImageCodec()->Load(strPath.c_str(), &image, nullptr))
        return "no picture";
    std::string strPixels;
    const int y0 = grid.GetTitleHeight() + nLine * grid.GetRowHeight();
    for (int y = y0 + 2; y < y0 + grid.GetRowHeight() - 2 && y < image.Height(); ++y)
        for (int x = grid.GetRowHeight() + 2; x < image.Width(); ++x)
            strPixels += std::to_string(image.Row(y)[x]) + ",";
    return strPixels;
}

TEST_F(InfoFixture, WindowShowsOnlyTheLinesTheLogHolds)
{
    CNorvApp::ShowTable(pTable);
    CTableWindow& grid = pTable->GetMainWindow()->GetGrid();
    pTable->AddText("one");
    pTable->AddText("two");
    PumpPending();
    const std::string strEmpty = LinePixels(grid, 5);
    EXPECT_NE(strEmpty, LinePixels(grid, 1)) << "the second line shows";
    // Emptied, then a line again: the window shows that line alone, no leftover of the others.
    pTable->RemoveAllRows();
    pTable->AddText("three");
    PumpPending();
    EXPECT_NE(strEmpty, LinePixels(grid, 0));
    EXPECT_EQ(strEmpty, LinePixels(grid, 1)) << "the second line is empty";
    EXPECT_EQ(strEmpty, LinePixels(grid, 2));
}

TEST_F(InfoFixture, LateLinesCostWhatEarlyLinesDid)
{
    using clock = std::chrono::steady_clock;
    auto timeBatch = [&] {
        const auto start = clock::now();
        for (int i = 0; i < 2000; ++i)
            pTable->AddText("A notice of an ordinary length, as the server sends them all day");
        return std::chrono::duration<double>(clock::now() - start).count();
    };
    const double dFirst = timeBatch();
    for (int i = 0; i < 46; ++i)
        timeBatch();
    const double dLate = timeBatch();
    EXPECT_EQ(96000, pTable->GetLineCount());
    // Generous: only a cost that grows with the log (a measure of every line) is caught.
    EXPECT_LT(dLate, dFirst * 4 + 0.05) << "first " << dFirst << " s, late " << dLate << " s";
}

TEST_F(InfoFixture, ServerNoticesBecomeLinesAndBoxes)
{
    Fire("$MS|1|XC||0|0|Market#opens|AR#text|1|1");
    ASSERT_EQ(1, pTable->GetLineCount());
    EXPECT_STREQ("Market, opens", pTable->GetLineCell(0, INFO_COL_TEXT));
    ASSERT_EQ(1u, host.m_boxes.size());
    EXPECT_EQ("Market\n\nopens", host.m_boxes[0]);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), host.m_boxFlags[0]);
    EXPECT_EQ(std::vector<int>{1}, host.m_raises);

    Fire("$MS|2|XC||0|7|ignored|ignored|0|0");
    EXPECT_STREQ("error 7", pTable->GetLineCell(1, INFO_COL_TEXT));
    EXPECT_EQ(1u, host.m_boxes.size()) << "no box without field 4";

    Fire("$VC|3|XC||0|1|1|80000|1|Get the new version");
    Fire("$VC|4|XC||0|1|2|80000|1|Too old");
    Fire("$VC|5|XC||0|1|0|80000|1|Current");
    EXPECT_EQ((std::vector<std::string>{"1 Get the new version", "2 Too old"}), host.m_versions);
    EXPECT_EQ(5, pTable->GetLineCount()) << "one line for status 1, two for status 2";

    // Code 1 is an error code; a box without the error flag shows the information icon.
    Fire("$MS|6|XC||0|1|ignored|ignored|1|0");
    EXPECT_STREQ("error 1", pTable->GetLineCell(5, INFO_COL_TEXT));
    ASSERT_EQ(2u, host.m_boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), host.m_boxFlags[1]);
}

TEST_F(InfoFixture, DestroyedTableTakesItsSinkAlong)
{
    shell.App().RemoveAllTables();
    EXPECT_EQ(nullptr, shell.App().FindTable(50001));
    Fire("$MS|1|XC||0|0|after|after|0|0");    // nobody is left to take it
    SUCCEED();
}

TEST_F(InfoFixture, ExportAndCopyTakeTheLines)
{
    pTable->AddText("first notice");
    pTable->AddText("second notice");
    CTableMDIWnd* pMain = pTable->GetMainWindow();
    pMain->SendMessage(WM_COMMAND, ID_TABLE_TITLES);
    const std::string strPath = MakeTestFolder("export") + "/log.tbl";
    TbQueueTestAnswer({TB_ASK_SAVEFILE, IDOK, strPath});
    pMain->SendMessage(WM_COMMAND, ID_TABLE_EXPORT);
    std::ifstream in(strPath);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(3u, lines.size()) << "the titles, then a line per notice";
    EXPECT_NE(std::string::npos, lines[1].find("first notice"));
    EXPECT_NE(std::string::npos, lines[2].find("second notice"));

    // The picture goes beside the rows, which stay on the clipboard.
    pMain->GetGrid().SelectRow(0, 1, FALSE);
    pMain->SendMessage(WM_COMMAND, ID_TABLE_COPY_PICTURE);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_TRUE(IsClipboardFormatAvailable(pMain->GetGrid().GetClipboardFormat()));
}

namespace {
// A line wider than the window: its column takes the line's width and the window's scroll bar
// reaches all of it, in either language.
void ExpectAWideLineWithinReach(CZorvatInfoTable* pTable, const char* pszPicture)
{
    CNorvApp::ShowTable(pTable);
    PumpPending();
    pTable->AddText(CString('w', 400));
    PumpPending();
    CTableWindow& grid = pTable->GetMainWindow()->GetGrid();
    CTableWindowArea& pane = grid.GetScrollPane();
    RECT rcClient;
    ::GetClientRect(grid.m_hWnd, &rcClient);
    ASSERT_TRUE(pane.IsScrollBarShown()) << "a line of " << rcClient.right << " px with no scroll bar";
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE;
    ASSERT_TRUE(::GetScrollInfo(pane.GetScrollBar().GetSafeHwnd(), SB_CTL, &si));
    EXPECT_GT(si.nMax + 1, static_cast<int>(si.nPage)) << "the bar scrolls";
    int nWidths = 0;
    for (int nCol = 0; nCol < grid.GetDisplayColumnCount(); ++nCol)
        nWidths += grid.GetColumnWidth(nCol);
    EXPECT_GE(si.nMax + 1, nWidths) << "the bar reaches every column's end";
    // At either end of the bar the line stands at its place in its column, cut only by the
    // window's edge: scrolling brings every part of it into view.
    const int nTextCol = grid.GetDisplayColumnCount() - 1;
    for (const UINT nCode : {SB_RIGHT, SB_LEFT}) {
        pane.Scroll(nCode, 0);
        PumpPending();
        RECT rcColumn, rcText;
        CTBString strShown;
        pane.GetColumnRect(nTextCol, &rcColumn);
        ASSERT_TRUE(pane.GetShownCellText(0, nTextCol, &strShown, &rcText));
        EXPECT_LE(rcText.left, rcColumn.left + 5) << "scrolled to " << nCode;
        EXPECT_GE(rcText.right, rcColumn.right - 5) << "scrolled to " << nCode;
    }
    std::filesystem::create_directories(std::string(TB_BINARY_DIR) + "/screenshots");
    TbSaveWindowPng(pTable->GetMainWindow()->m_hWnd, (std::string(TB_BINARY_DIR) + "/screenshots/" + pszPicture).c_str());
}
}  // namespace

TEST_F(InfoFixture, AWideLineIsWithinTheScrollBarsReach)
{
    ExpectAWideLineWithinReach(pTable, "info_wide_line_en.png");
}

TEST_F(ArabicInfoFixture, AWideLineIsWithinTheScrollBarsReach)
{
    ExpectAWideLineWithinReach(pTable, "info_wide_line_ar.png");
}
