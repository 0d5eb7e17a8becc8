// What the trader sees of the document windows after each arrangement: every window shows its own
// picture in its stacking order, whatever the arrangement (each command of the Window menu), the
// number of windows open and the language, while the market moves. Run on a real display (Xvfb
// with a window manager, QT_QPA_PLATFORM=xcb), the client's picture is the screen's pixels.
#include <gtest/gtest.h>
#include <iostream>
#include <string>
#include <vector>
#include "AppTestSupport.h"
#include "TerminalRun.h"
#include "app/MainFrame.h"
#include "app/TableMDIWnd.h"
#include "tests/common/MdiPictures.h"
#include "tests/common/Property.h"

namespace {

std::string MenuText(HMENU hMenu, UINT uId)
{
    char szText[128] = {};
    GetMenuStringA(hMenu, uId, szText, sizeof szText, MF_BYCOMMAND);
    return szText;
}

// The document windows the display shows, minimised ones included.
std::vector<HWND> ShownWindows(HWND hClient)
{
    std::vector<HWND> shown;
    for (HWND h = GetWindow(hClient, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT))
        if (IsWindowVisible(h))
            shown.push_back(h);
    return shown;
}

// The frame of a logged-in terminal, with what a test works its windows with.
struct CDesk {
    explicit CDesk(CTerminalRun& run) : pFrame(run.App().GetMainFrame()), hClient(pFrame->m_hWndMDIClient) {}
    CNorvMainFrame* pFrame;
    HWND hClient;

    // The Window menu: the menu of the frame's bar that lists the open windows.
    HMENU WindowMenu() const
    {
        const HMENU hBar = ::GetMenu(pFrame->m_hWnd);
        const std::vector<HWND> shown = ShownWindows(hClient);
        for (int i = 0; i < GetMenuItemCount(hBar) && !shown.empty(); ++i)
            if (HMENU hSub = GetSubMenu(hBar, i); hSub != nullptr && GetMenuState(hSub, GetDlgCtrlID(shown.front()), MF_BYCOMMAND) != UINT(-1))
                return hSub;
        return nullptr;
    }
    // The Window menu's own commands: its items before the list of windows (which follows the
    // menu's last separator).
    std::vector<UINT> WindowCommands() const
    {
        std::vector<UINT> commands, before;
        const HMENU hMenu = WindowMenu();
        for (int i = 0; hMenu != nullptr && i < GetMenuItemCount(hMenu); ++i) {
            const UINT uId = GetMenuItemID(hMenu, i);
            if (uId == 0) {
                commands.insert(commands.end(), before.begin(), before.end());
                before.clear();
            } else if (uId != UINT(-1)) {
                before.push_back(uId);
            }
        }
        return commands;
    }
    // Table windows opened from the table commands, in their order, until n show.
    void OpenWindows(size_t n)
    {
        for (const auto& [nCommand, nNameId] : CZORVAT32App::GetTableCommands()) {
            if (ShownWindows(hClient).size() >= n)
                break;
            pFrame->SendMessage(WM_COMMAND, nCommand);
            PumpFor(30);
        }
    }
};

}  // namespace

// 1, 5 and 12 table windows, English and Arabic: after each command of the Window menu, and from
// the saved workspace at the next login, the client shows every window's own picture, each in its
// place in the stacking order; a cascade leaves every window's caption in view and the active
// window whole in front (with a dozen windows it went round to the top, the last ones over all).
TEST(WindowPictures, EveryArrangementShowsEachWindowsOwnPicture)
{
    CTestServer server;
    ASSERT_TRUE(server.Start({"--accounts", TB_SOURCE_DIR "/tests/app/data/accounts.txt", "--rate", "50"}));
    for (bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        CTerminalRun run(bArabic);
        ASSERT_TRUE(run.StartLoggedIn(server.Port(), "demo01", "demo12"));
        PumpFor(200);
        CDesk desk(run);
        for (size_t nWindows : {1u, 5u, 12u}) {
            SCOPED_TRACE(std::to_string(nWindows) + " windows");
            desk.OpenWindows(nWindows);
            ASSERT_GE(ShownWindows(desk.hClient).size(), nWindows);
            const std::vector<UINT> commands = desk.WindowCommands();
            ASSERT_GE(commands.size(), 3u);
            for (UINT uCommand : commands) {
                const std::string strCommand = MenuText(desk.WindowMenu(), uCommand);
                desk.pFrame->SendMessage(WM_COMMAND, uCommand);
                PumpFor(100);
                EXPECT_EQ("", MisdrawnWindows(desk.hClient)) << strCommand;
                if (uCommand == ID_WINDOW_CASCADE) {
                    EXPECT_EQ("", HiddenInCascade(desk.hClient));
                }
                if (ShownWindows(desk.hClient).size() < nWindows) {
                    desk.OpenWindows(nWindows);
                    PumpFor(50);
                    EXPECT_EQ("", MisdrawnWindows(desk.hClient)) << "opened after " << strCommand;
                }
            }
        }
        // The saved workspace brings the windows back at the next login, each with its own picture.
        const std::string strFolder = run.Folder();
        run.Close();
        CTerminalRun again(bArabic, strFolder);
        ASSERT_TRUE(again.StartLoggedIn(server.Port(), "demo01", "demo12"));
        PumpFor(200);
        CDesk restored(again);
        EXPECT_GE(ShownWindows(restored.hClient).size(), 12u);
        EXPECT_EQ("", MisdrawnWindows(restored.hClient)) << "the saved workspace";
        restored.pFrame->SendMessage(WM_COMMAND, ID_WINDOW_CASCADE);
        PumpFor(100);
        EXPECT_EQ("", MisdrawnWindows(restored.hClient)) << "the saved workspace cascaded";
        EXPECT_EQ("", HiddenInCascade(restored.hClient)) << "the saved workspace cascaded";
        again.Close();
    }
}

namespace {

// Steps of what a trader does to the windows, each a kind and a pick: a Window menu command (0),
// a table opened (1), a window activated (2), minimised (3), maximised (4), restored (5) or
// closed (6), the market moving (7). After each step every window must show its own picture:
// "" when they all did, else the steps done and what showed wrong.
std::string RunSteps(CDesk& desk, const std::vector<std::pair<int, int>>& steps)
{
    const auto tables = CZORVAT32App::GetTableCommands();
    const std::vector<UINT> commands = desk.WindowCommands();
    std::string strDone;
    for (const auto& [nKind, nPick] : steps) {
        const std::vector<HWND> shown = ShownWindows(desk.hClient);
        const HWND hPicked = shown.empty() ? nullptr : shown[static_cast<size_t>(nPick) % shown.size()];
        char szTitle[128] = "(none)";
        if (hPicked != nullptr)
            GetWindowTextA(hPicked, szTitle, sizeof szTitle);
        if (nKind == 0 && !commands.empty()) {
            const UINT uCommand = commands[static_cast<size_t>(nPick) % commands.size()];
            strDone += "menu " + MenuText(desk.WindowMenu(), uCommand) + "; ";
            desk.pFrame->SendMessage(WM_COMMAND, uCommand);
        } else if (nKind == 1) {
            const UINT uCommand = tables[static_cast<size_t>(nPick) % tables.size()].first;
            strDone += "open " + std::to_string(uCommand) + "; ";
            desk.pFrame->SendMessage(WM_COMMAND, uCommand);
        } else if (nKind == 7) {
            strDone += "market; ";
            PumpFor(150);
        } else if (nKind >= 2 && nKind <= 6 && hPicked != nullptr) {
            static const char* const s_names[] = {"activate", "minimise", "maximise", "restore", "close"};
            strDone += std::string(s_names[nKind - 2]) + " " + szTitle + "; ";
            if (nKind == 2)
                SendMessageA(desk.hClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hPicked), 0);
            else if (nKind == 3)
                SendMessageA(hPicked, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            else if (nKind == 4)
                SendMessageA(desk.hClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(hPicked), 0);
            else if (nKind == 5)
                SendMessageA(desk.hClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(hPicked), 0);
            else
                SendMessageA(hPicked, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        PumpFor(30);
        std::string strWrong = MisdrawnWindows(desk.hClient);
        if (nKind == 0 && !commands.empty() && commands[static_cast<size_t>(nPick) % commands.size()] == ID_WINDOW_CASCADE)
            strWrong += HiddenInCascade(desk.hClient);
        if (!strWrong.empty())
            return strDone + "-> " + strWrong;
    }
    return "";
}

}  // namespace

// Any sequence of what a trader does to the windows while the market moves: after each step
// every window shows its own picture in its stacking order.
TEST(WindowPicturesProperty, EveryStepShowsEachWindowsOwnPicture)
{
    CTestServer server;
    ASSERT_TRUE(server.Start({"--accounts", TB_SOURCE_DIR "/tests/app/data/accounts.txt", "--rate", "50"}));
    CTerminalRun run(false);
    ASSERT_TRUE(run.StartLoggedIn(server.Port(), "demo01", "demo12"));
    PumpFor(200);
    CDesk desk(run);
    desk.OpenWindows(3);
    TB_CHECK_PROPERTY(12, ([&] {
        const auto steps = *rc::gen::resize(
            12, rc::gen::container<std::vector<std::pair<int, int>>>(rc::gen::pair(rc::gen::inRange(0, 8), rc::gen::inRange(0, 1000))));
        const std::string strWrong = RunSteps(desk, steps);
        if (!strWrong.empty())
            std::cerr << strWrong << "\n";     // the state a sequence left may not come back when it is shrunk
        RC_ASSERT(strWrong == "");
    }));
    run.Close();
}
