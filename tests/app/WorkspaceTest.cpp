// The workspace: the general settings and the table windows with their order go into the
// settings file and come back from it; a file cannot make a table show more than four windows.
#include <gtest/gtest.h>
#include <fstream>
#include <string>
#include <vector>
#include "AppTestSupport.h"
#include "app/FormMDIWnd.h"
#include "platform/mfc/CmdUI.h"
#include "platform/win/user/Display.h"

namespace {

struct WorkspaceFixture : ::testing::Test
{
    CTestLanguage language;
    CTestShell shell;
    CQuoteTestTable* pTable = nullptr;
    int nFile = 0;

    void SetUp() override
    {
        pTable = new CQuoteTestTable;
        ASSERT_TRUE(pTable->Create(52114));
        CNorvApp::ShowTable(pTable);
    }
    std::string Name() const { return static_cast<const char*>(pTable->GetName()); }
    // The window of a view index that is on top of the other table windows.
    HWND TopTableWindow()
    {
        for (HWND h = GetWindow(shell.Frame()->m_hWndMDIClient, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT))
            if (dynamic_cast<CTableMDIWnd*>(CWnd::FromHandlePermanent(h)) != nullptr && IsWindowVisible(h))
                return h;
        return nullptr;
    }
    void WriteFile(const std::string& strText)
    {
        // Another name each time: the file already loaded is not read again.
        const std::string strPath = shell.Folder() + "/hand" + std::to_string(++nFile) + ".ini";
        std::ofstream(strPath) << strText;
        shell.App().LoadWorkspace(strPath.c_str(), TRUE);
    }
};

}  // namespace

TEST_F(WorkspaceFixture, WindowsAndTheirOrderComeBack)
{
    CTableMDIWnd* pSecond = pTable->OpenWindow(TRUE);
    ASSERT_NE(nullptr, pSecond) << pTable->GetTable()->GetViewCount();
    CTableMDIWnd* pThird = pTable->OpenWindow(TRUE);
    ASSERT_NE(nullptr, pThird);
    pSecond->MDIActivate();
    ::SetWindowPos(pSecond->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(3, shell.App().CountVisibleTableWindows());
    shell.App().SaveWorkspace();
    EXPECT_EQ("3", shell.Setting(".Z-Order", "NumTables"));
    EXPECT_EQ(Name() + ":2", shell.Setting(".Z-Order", "0")) << "the top window is entry 0";
    EXPECT_EQ("Yes", shell.Setting(".General", "AutoSave"));
    EXPECT_NE("<none>", shell.Setting(".General", "WinPlace"));

    pTable->CloseAllWindows();
    EXPECT_EQ(1, pTable->GetWindowCount());
    EXPECT_FALSE(pTable->GetMainWindow()->IsWindowVisible());
    shell.App().LoadWorkspace(shell.App().GetWorkspaceFile(), TRUE);
    EXPECT_EQ(3, pTable->GetWindowCount());
    CTableMDIWnd* pTop = dynamic_cast<CTableMDIWnd*>(CWnd::FromHandlePermanent(TopTableWindow()));
    ASSERT_NE(nullptr, pTop);
    EXPECT_EQ(Name() + ":2", std::string(pTop->GetView()->GetName()));

    // Fewer windows saved later leave no stale entries behind.
    pTable->CloseAllWindows();
    shell.App().SaveWorkspace();
    EXPECT_EQ("0", shell.Setting(".Z-Order", "NumTables"));
}

TEST_F(WorkspaceFixture, AFileAsksForAThousandWindowsAndGetsFour)
{
    std::string strText = "[.Z-Order]\nNumTables=1000\n";
    for (int i = 0; i < 1000; ++i)
        strText += std::to_string(i) + "=" + Name() + ":" + std::to_string(i + 1) + "\n";
    WriteFile(strText);
    EXPECT_EQ(MAX_TABLE_WINDOWS, pTable->GetWindowCount());
    pTable->GetMainWindow()->SendMessage(WM_COMMAND, ID_TABLE_NEW_WINDOW);
    EXPECT_EQ(MAX_TABLE_WINDOWS, pTable->GetWindowCount()) << "the command refuses a fifth";
}

TEST_F(WorkspaceFixture, HostileCountsAndNamesRestoreNothingStrange)
{
    WriteFile("[.Z-Order]\nNumTables=-3\n0=" + Name() + ":2\n");
    EXPECT_EQ(1, pTable->GetWindowCount()) << "a negative count restores nothing";
    // 70000 is 4464 as a 16-bit count; entries for tables that are not open are skipped.
    WriteFile("[.Z-Order]\nNumTables=70000\n0=NoSuchTable:3\n1=:\n2=" + Name() + ":x\n4463=" + Name() + ":2\n");
    EXPECT_EQ(2, pTable->GetWindowCount()) << "two entries name the table";
}

// Placements of a larger screen, of a run without a display, or of a damaged file: each window
// comes no larger than the screen, its caption (drawn above its rectangle) inside the client,
// moved in whole where it fits.
TEST_F(WorkspaceFixture, EveryRestoredWindowCanBeReached)
{
    RECT rcFrame{};
    TbGetDisplay()->GetMdiChildFrame(&rcFrame);
    shell.Frame()->MoveWindow(0, 0, 1000, 720);     // the client laid out, as on a display
    const HWND hClient = shell.Frame()->m_hWndMDIClient;
    CRect rcClient;
    ::GetClientRect(hClient, &rcClient);
    for (const char* pszPlace : {"0,1,0,0,0,0,100000,100000,200000,200000", "0,1,0,0,0,0,-100000,-100000,100000,100000",
                                 "0,1,0,0,0,0,2500,1900,2900,2200", "0,1,0,0,0,0,9,-2147483647,0,2147483647"}) {
        SCOPED_TRACE(pszPlace);
        WriteFile("[.Z-Order]\nNumTables=1\n0=" + Name() + "\n[" + Name() + "]\nWinPlace=" + pszPlace +
                  "\n[PAGE]\nWinPlace=" + pszPlace + "\n[ChartView0]\nWinPlace=" + pszPlace + "\n");
        CFormHtml* pPage = new CFormHtml;
        CFormChart* pChart = new CFormChart;
        CFormMDIWnd* slots[] = {pPage, pChart};
        pPage->SetPageId("PAGE");
        pChart->SetSection("ChartView0");
        ASSERT_TRUE(pPage->CreateForm(0, nullptr, &slots[0]) && pChart->CreateForm(0, nullptr, &slots[1]));
        for (CWnd* pWnd : {static_cast<CWnd*>(pTable->GetMainWindow()), static_cast<CWnd*>(pPage), static_cast<CWnd*>(pChart)}) {
            CRect rc;
            pWnd->GetWindowRect(&rc);
            ::MapWindowPoints(nullptr, hClient, reinterpret_cast<POINT*>(&rc), 2);
            EXPECT_TRUE(rc.left == rcFrame.left || rc.right + rcFrame.right <= rcClient.right) << rc.left;
            EXPECT_TRUE(rc.top == rcFrame.top || (rc.top > rcFrame.top && rc.bottom + rcFrame.bottom <= rcClient.bottom)) << rc.top;
            EXPECT_TRUE(rc.left >= rcFrame.left && rc.Width() <= GetSystemMetrics(SM_CXSCREEN) &&
                        rc.Height() <= GetSystemMetrics(SM_CYSCREEN)) << rc.left << " " << rc.Width() << "x" << rc.Height();
        }
        for (CFormMDIWnd* pSlot : slots)
            pSlot->DestroyWindow();
    }
}

// A workspace saved on a larger screen (a 1024-high one) opened on a smaller (800 high): the
// windows come back in the same arrangement, smaller, each inside the client with its caption in
// view, none over another's caption.
TEST_F(WorkspaceFixture, AWorkspaceFromALargerScreenComesBackWithEveryCaptionInView)
{
    RECT rcFrame{};
    TbGetDisplay()->GetMdiChildFrame(&rcFrame);
    const HWND hClient = shell.Frame()->m_hWndMDIClient;
    std::vector<CQuoteTestTable*> tables = {pTable};
    for (UINT nId : {41176u, 56256u, 51200u, 51921u, 52121u}) {
        tables.push_back(new CQuoteTestTable);
        ASSERT_TRUE(tables.back()->Create(nId));
        CNorvApp::ShowTable(tables.back());
    }
    auto outer = [&](CTableMDIWnd* pWindow) {
        CRect rc;
        pWindow->GetWindowRect(&rc);
        ::MapWindowPoints(nullptr, hClient, reinterpret_cast<POINT*>(&rc), 2);
        return CRect(rc.left - rcFrame.left, rc.top - rcFrame.top, rc.right + rcFrame.right, rc.bottom + rcFrame.bottom);
    };
    for (bool bCascade : {false, true}) {
        SCOPED_TRACE(bCascade ? "cascaded" : "tiled");
        shell.Frame()->MoveWindow(0, 0, 1280, 1024);
        if (bCascade)
            shell.Frame()->MDICascade();
        else
            shell.Frame()->MDITile(MDITILE_HORIZONTAL);
        shell.App().SaveWorkspace();
        for (CQuoteTestTable* pEach : tables)
            pEach->CloseAllWindows();
        shell.Frame()->MoveWindow(0, 0, 1280, 800);
        shell.App().LoadWorkspace(shell.App().GetWorkspaceFile(), TRUE);
        CRect rcClient;
        ::GetClientRect(hClient, &rcClient);
        // The windows from the top of the order down, with the outer rectangles of those over them.
        std::vector<CRect> above;
        for (HWND h = ::GetWindow(hClient, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
            auto* pWindow = dynamic_cast<CTableMDIWnd*>(CWnd::FromHandlePermanent(h));
            if (pWindow == nullptr || !pWindow->IsWindowVisible())
                continue;
            const CRect rc = outer(pWindow);
            SCOPED_TRACE(std::string(pWindow->GetView()->GetName()) + " at " + std::to_string(rc.left) + "," +
                         std::to_string(rc.top) + " " + std::to_string(rc.Width()) + "x" + std::to_string(rc.Height()));
            EXPECT_TRUE(rc.left >= 0 && rc.top >= 0 && rc.right <= rcClient.right && rc.bottom <= rcClient.bottom);
            EXPECT_GE(rc.Height(), rcClient.Height() / 4) << "no smaller than a tile of three rows";
            const CRect rcCaption(rc.left, rc.top, rc.right, rc.top + rcFrame.top);
            for (const CRect& rcOver : above) {
                CRect rcCommon;
                EXPECT_FALSE(rcCommon.IntersectRect(rcCaption, rcOver)) << "its caption is covered";
            }
            above.push_back(rc);
        }
        EXPECT_EQ(6u, above.size());
    }
    for (CQuoteTestTable* pEach : tables)
        if (pEach != pTable) {
            IDataTable* pGone = pEach;
            shell.App().RemoveTable(&pGone);
        }
}

// A table's name keys its window in the workspace: saved in English, the window comes back in
// Arabic where it stood.
TEST_F(WorkspaceFixture, WindowsSavedInOneLanguageComeBackInTheOther)
{
    const UINT ids[] = {41176, 56256, 51200};   // combined unrealized, KSE holdings, US unrealized
    auto remake = [&](int nLeft) {
        for (UINT nId : ids) {
            IDataTable* pOld = shell.App().FindTable(nId);
            shell.App().RemoveTable(&pOld);
            auto* pTable = new CQuoteTestTable;
            ASSERT_TRUE(pTable->Create(nId));
            if (nLeft >= 0) {
                CNorvApp::ShowTable(pTable);
                pTable->GetMainWindow()->MoveWindow(nLeft, 70, 300, 200);
            }
        }
    };
    remake(90);
    shell.App().SaveWorkspace();
    CTestLanguage arabic(1256);
    remake(-1);
    shell.App().LoadWorkspace(shell.App().GetWorkspaceFile(), TRUE);
    for (UINT nId : ids) {
        CTableMDIWnd* pWindow = shell.App().FindTable(nId)->GetMainWindow();
        EXPECT_TRUE(pWindow->IsWindowVisible()) << nId;
        CRect rc;
        pWindow->GetWindowRect(&rc);
        shell.Frame()->GetClientWnd().ScreenToClient(&rc);
        EXPECT_EQ(90, rc.left) << nId;
    }
    remake(-1);
}

TEST_F(WorkspaceFixture, GeneralSettingsTakeTheirLoadDefaults)
{
    WriteFile("[.General]\nColorUp=255\nAutoSave=No\n");
    EXPECT_EQ(255u, shell.App().GetColors().crUp);
    EXPECT_EQ(0x008000u, shell.App().GetColors().crMarketMaker) << "the load default, not the initial colour";
    EXPECT_FALSE(shell.App().IsAutoSave());
}

namespace {

// Records what an update handler says of its item.
class CRecordingCmdUI : public CCmdUI
{
public:
    void Enable(BOOL bOn) override { m_nEnabled = bOn ? 1 : 0; }
    void SetCheck(int nCheck) override { m_nCheck = nCheck; }
    int m_nEnabled = -1;
    int m_nCheck = -1;
};

CRecordingCmdUI Update(CWnd* pTarget, UINT nId)
{
    CRecordingCmdUI ui;
    ui.m_nID = nId;
    pTarget->OnCmdMsg(nId, static_cast<int>(CN_UPDATE_COMMAND_UI), &ui, nullptr);
    return ui;
}

std::vector<std::string> MenuTexts(HMENU hMenu)
{
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i) {
        char szText[160] = "";
        GetMenuStringA(hMenu, static_cast<UINT>(i), szText, sizeof szText, MF_BYPOSITION);
        texts.push_back(szText);
    }
    return texts;
}

}  // namespace

TEST_F(WorkspaceFixture, FurtherWindowCommandFollowsTheWindowCount)
{
    CTableMDIWnd* pMain = pTable->GetMainWindow();
    EXPECT_EQ(1, Update(pMain, ID_TABLE_NEW_WINDOW).m_nEnabled);
    while (pTable->GetWindowCount() < MAX_TABLE_WINDOWS)
        ASSERT_NE(nullptr, pTable->OpenWindow(FALSE));
    EXPECT_EQ(0, Update(pMain, ID_TABLE_NEW_WINDOW).m_nEnabled) << "four windows: no fifth";
    EXPECT_EQ(0, Update(pMain, ID_TABLE_COPY_ALL).m_nEnabled) << "nothing to copy without rows";
    pMain->SendMessage(WM_COMMAND, ID_TABLE_GRAND_TOTAL);
    EXPECT_EQ(1, Update(pMain, ID_TABLE_GRAND_TOTAL).m_nCheck);
    pMain->SendMessage(WM_COMMAND, ID_TABLE_GRAND_TOTAL);
    EXPECT_EQ(0, Update(pMain, ID_TABLE_GRAND_TOTAL).m_nCheck);
}

TEST_F(WorkspaceFixture, WindowMenuNumbersTheOpenWindows)
{
    std::vector<CQuoteTestTable*> tables = {pTable};
    for (UINT nId : {52110u, 52112u}) {
        tables.push_back(new CQuoteTestTable);
        ASSERT_TRUE(tables.back()->Create(nId));
        CNorvApp::ShowTable(tables.back());
    }
    for (CQuoteTestTable* p : tables)
        while (p->GetWindowCount() < MAX_TABLE_WINDOWS)
            ASSERT_NE(nullptr, p->OpenWindow(FALSE));
    HMENU hPopup = CreatePopupMenu();
    AppendMenuA(hPopup, MF_STRING, ID_WINDOW_CASCADE, "&Cascade");
    shell.Frame()->BuildWindowMenu(hPopup);
    shell.Frame()->BuildWindowMenu(hPopup);     // made afresh, not added to
    const std::vector<std::string> texts = MenuTexts(hPopup);
    ASSERT_EQ(2u + 12u, texts.size());
    EXPECT_EQ("&Cascade", texts[0]);
    EXPECT_EQ("&1 ", texts[2].substr(0, 3));
    EXPECT_EQ("1&0 ", texts[11].substr(0, 4)) << "the tenth window";
    int nChecked = 0;
    for (int i = 2; i < GetMenuItemCount(hPopup); ++i)
        nChecked += (GetMenuState(hPopup, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) != 0;
    EXPECT_EQ(1, nChecked) << "the active window";
    DestroyMenu(hPopup);
}

TEST_F(WorkspaceFixture, CharacterSetReachesEveryWindowAndTheStoredFonts)
{
    CTableMDIWnd* pSecond = pTable->OpenWindow(FALSE);
    ASSERT_NE(nullptr, pSecond);
    shell.App().SaveWorkspace();
    EXPECT_TRUE(shell.App().SetFontCharset(ARABIC_CHARSET));
    for (CTableMDIWnd* pWindow : {pTable->GetMainWindow(), pSecond}) {
        LOGFONTA lf{};
        ASSERT_NE(0, GetObjectA(pWindow->GetGrid().GetFont(), sizeof lf, &lf));
        EXPECT_EQ(ARABIC_CHARSET, lf.lfCharSet);
        ASSERT_NE(0, GetObjectA(pWindow->GetGrid().GetBoldFont(), sizeof lf, &lf));
        EXPECT_EQ(ARABIC_CHARSET, lf.lfCharSet);
        EXPECT_EQ(FW_BOLD, lf.lfWeight);
    }
}

TEST_F(WorkspaceFixture, TableMapFindsByIdTheTableRegisteredUnderItsName)
{
    CNorvApp& app = shell.App();
    EXPECT_EQ(pTable, app.FindTable(52114));
    EXPECT_EQ(pTable, app.FindTableByName(pTable->GetName()));
    EXPECT_EQ(nullptr, app.FindTable(52115));

    // A second table under the same name takes the id as well; the first, removed, takes
    // nothing with it.
    CQuoteTestTable* pSecond = new CQuoteTestTable;
    ASSERT_TRUE(pSecond->Create(52114));
    EXPECT_EQ(pSecond, app.FindTable(52114));
    IDataTable* pOld = pTable;
    app.RemoveTable(&pOld);
    pTable = pSecond;
    EXPECT_EQ(pSecond, app.FindTable(52114));
    IDataTable* pGone = pSecond;
    app.RemoveTable(&pGone);
    pTable = nullptr;
    EXPECT_EQ(nullptr, app.FindTable(52114));
    EXPECT_TRUE(app.GetTables().empty());
}

// A table opened again while its window is maximised stays maximised; another table opened then
// comes up maximised in its place, as choosing it from the Window menu does.
TEST_F(WorkspaceFixture, OpeningATableKeepsTheMaximisedWindow)
{
    CTableMDIWnd* pWindow = pTable->GetMainWindow();
    shell.Frame()->MDIMaximize(pWindow);
    CNorvApp::ShowTable(pTable);
    EXPECT_TRUE(pWindow->IsZoomed()) << "opened again";
    auto* pOther = new CQuoteTestTable;
    ASSERT_TRUE(pOther->Create(56256));
    CNorvApp::ShowTable(pOther);
    EXPECT_TRUE(pOther->GetMainWindow()->IsZoomed());
    EXPECT_FALSE(pWindow->IsZoomed());
    CNorvApp::ShowTable(pTable);
    EXPECT_TRUE(pWindow->IsZoomed()) << "back to the first";
    IDataTable* pGone = pOther;
    shell.App().RemoveTable(&pGone);
}
