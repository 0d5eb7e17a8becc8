// The main menu as the user finds it: every command of the application that opens something is
// reached by a menu item, a toolbar button or a key in both language files, each menu's
// mnemonics are its own, every form has a title, and after login every user finds something in
// each top-level menu and can run every item it enables, each window it opens titled.
#include <gtest/gtest.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>
#include "AppTestSupport.h"
#include "common/MenuShot.h"
#include "TerminalRun.h"
#include "WholeTerminalMakers.h"
#include "account/AccountForms.h"
#include "account/AccountTables.h"
#include "app/AppCommands.h"
#include "app/ChartWindows.h"
#include "app/FormFactory.h"
#include "app/TableFactory.h"
#include "app/MainFrame.h"
#include "charts/ZorvatChartForm.h"
#include "orders/OrderForms.h"
#include "platform/win/kernel/ResourceScript.h"
#include "platform/win/kernel/Shell.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/TestAnswers.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/VirtualKeys.h"
#include "tests/common/MenuCommands.h"

namespace {

const char* const s_pszFiles[] = {"_1252.rc", "_1256.rc"};

// The application's commands that no menu item, button or key needs to reach, and why.
const struct { UINT nFirst, nLast; const char* pszWhy; } s_unreached[] = {
    {32842, 32843, "float or dock the ticker whose own menu asks"},
    {33109, 33109, "does nothing"},
    {33336, 33336, "no menu keeps it; 33100 does the same"},
    {33603, 33613, "the tickers, listed as the market list gives them"},
    {33616, 33616, "the active window's own command, passed on"},
    {33624, 33624, "33194 does the same"},
    {33650, 33650, "33202 does the same"},
    {40020, 40031, "the markets' schedules, listed as the market list gives them"},
    {40192, 40192, "does nothing"},
    {57452, 57452, "33649 does the same"},
    {57600, 57601, "the class library's new and open: 32832 opens a workspace"},
};

bool Unreached(UINT nId)
{
    for (const auto& range : s_unreached)
        if (nId >= range.nFirst && nId <= range.nLast)
            return true;
    return false;
}

const CResourceScript& Script(int nFile)
{
    static std::map<int, CResourceScript> s_scripts;
    if (!s_scripts.count(nFile)) {
        EXPECT_TRUE(s_scripts[nFile].LoadFile((std::string(TB_SOURCE_DIR "/resources/") + s_pszFiles[nFile]).c_str()));
    }
    return s_scripts[nFile];
}

const TbResourceTemplates& Templates(int nFile)
{
    return Script(nFile).GetTemplates();
}

// The letter a menu text underlines (one UTF-8 character, ASCII letters upper-cased), "" for none.
std::string Mnemonic(const std::string& strText)
{
    const std::string strShown = strText.substr(0, strText.find('\t'));
    for (size_t n = 0; n + 1 < strShown.size(); ++n) {
        if (strShown[n] != '&')
            continue;
        if (strShown[n + 1] == '&') {
            ++n;
            continue;
        }
        const unsigned char chLead = static_cast<unsigned char>(strShown[n + 1]);
        const size_t nLength = chLead < 0x80 ? 1 : chLead < 0xE0 ? 2 : chLead < 0xF0 ? 3 : 4;
        std::string strLetter = strShown.substr(n + 1, nLength);
        if (nLength == 1)
            strLetter[0] = static_cast<char>(toupper(chLead));
        return strLetter;
    }
    return "";
}

void CheckMnemonics(const std::string& strWhere, const std::vector<TBMENUTEMPLATEITEM>& items)
{
    std::map<std::string, std::string> seen;
    for (const auto& item : items) {
        const std::string strLetter = Mnemonic(item.strText);
        if (!strLetter.empty() && !seen.emplace(strLetter, item.strText).second)
            ADD_FAILURE() << strWhere << ": \"" << item.strText << "\" underlines what \"" << seen[strLetter]
                          << "\" does";
        if (item.uFlags & MF_POPUP)
            CheckMnemonics(strWhere + " > " + item.strText, item.popup);
    }
}

}  // namespace

// Every command that opens something is reached; every menu underlines each letter once.
TEST(MainMenu, BothLanguagesReachEveryCommandAndUnderlineEachLetterOnce)
{
    for (int nFile : {0, 1}) {
        SCOPED_TRACE(s_pszFiles[nFile]);
        const TbResourceTemplates& templates = Templates(nFile);
        for (const auto& [strName, items] : templates.menus)
            CheckMnemonics("menu " + strName, items);
        ASSERT_TRUE(templates.menus.count("#280") && templates.toolbars.count("#280") &&
                    templates.accelerators.count("#280"));
        std::set<UINT> reached;
        CollectCommands(templates.menus.at("#280"), reached);
        for (UINT uId : templates.toolbars.at("#280").ids)
            reached.insert(uId);
        for (const ACCEL& accel : templates.accelerators.at("#280"))
            reached.insert(accel.cmd);
        int nCommands = 0;
        for (UINT nId = 1; nId < 0x10000; ++nId) {
            BOOL bHandled = FALSE;
            if (!CZORVAT32App::GetCommandRule(nId, nullptr, &bHandled) || !bHandled)
                continue;
            ++nCommands;
            EXPECT_TRUE(Unreached(nId) || reached.count(nId)) << "nothing reaches command " << nId;
        }
        EXPECT_GT(nCommands, 100);
        // The program's end in the File menu, the help in its menu (F1 is pressed in the session test).
        const auto& bar = templates.menus.at("#280");
        std::set<UINT> file, help;
        CollectCommands(bar.front().popup, file);
        CollectCommands(bar.back().popup, help);
        EXPECT_TRUE(file.count(ID_APP_EXIT));
        EXPECT_TRUE(help.count(ID_HELP));
    }
}

// A form's frame is titled by the text of its template's id: a title, not a message.
TEST(MainMenu, EveryFormIsTitledByItsTemplatesId)
{
    CWholeTerminalMakers makers;
    CWholeTerminalMakers::Register();
    for (int nFile : {0, 1}) {
        const auto& strings = Script(nFile).GetStrings();
        int nForms = 0;
        for (UINT nId = 1; nId < 0x10000; ++nId) {
            if (FindFormMaker(nId) == nullptr || !Templates(nFile).dialogs.count("#" + std::to_string(nId)))
                continue;
            ++nForms;
            const auto text = strings.find(nId);
            EXPECT_TRUE(text != strings.end() && !text->second.empty() && text->second.back() != '.')
                << s_pszFiles[nFile] << ": form " << nId;
        }
        EXPECT_GT(nForms, 12);
    }
}

namespace {

// The person at the keyboard while a command runs: a dialog it opens is cancelled (or, without
// Cancel, confirmed or closed); a question still open after three seconds is answered with every
// kind of refusal and the command noted.
HWND s_hFrame = nullptr;
UINT s_nRunning = 0;
std::chrono::steady_clock::time_point s_started;
std::vector<UINT> s_leftWaiting;

void CALLBACK CloseWhatTheCommandOpened(HWND, UINT, UINT_PTR, DWORD)
{
    if (s_nRunning == 0)
        return;
    HWND hActive = GetActiveWindow();
    if (hActive != nullptr && hActive != s_hFrame && IsWindowVisible(hActive)) {
        for (int nButton : {IDCANCEL, IDOK}) {
            if (HWND hButton = GetDlgItem(hActive, nButton)) {
                SendMessageA(hButton, BM_CLICK, 0, 0);
                return;
            }
        }
        SendMessageA(hActive, WM_CLOSE, 0, 0);
        return;
    }
    if (std::chrono::steady_clock::now() - s_started < std::chrono::seconds(3))
        return;
    s_leftWaiting.push_back(s_nRunning);
    s_started = std::chrono::steady_clock::now();
    for (int nKind : {TB_ASK_OPENFILE, TB_ASK_SAVEFILE, TB_ASK_FONT, TB_ASK_COLOR, TB_ASK_PRINTERPROPS, TB_ASK_PRINTSETUP})
        TbQueueTestAnswer({nKind, IDCANCEL, ""});
    for (int nButton : {IDCANCEL, IDNO, IDOK})
        TbQueueTestAnswer({TB_ASK_MESSAGEBOX, nButton, ""});
    TbQueueTestAnswer({TB_ASK_POPUPMENU, 0, ""});
}

// A popup opened as the user opens it, its sub-menus in turn: the commands it enables added to
// enabled; how many commands it shows, greyed or not.
int OpenPopup(CMainFrame* pFrame, HMENU hPopup, std::vector<UINT>& enabled)
{
    pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), 0);
    int nShown = 0;
    for (int n = 0; n < GetMenuItemCount(hPopup); ++n) {
        const UINT uId = GetMenuItemID(hPopup, n);
        if (HMENU hSub = GetSubMenu(hPopup, n))
            nShown += OpenPopup(pFrame, hSub, enabled);
        else if (uId != 0 && ++nShown > 0 && !(GetMenuState(hPopup, static_cast<UINT>(n), MF_BYPOSITION) & MF_GRAYED))
            enabled.push_back(uId);   // counted whether greyed or not
    }
    return nShown;
}

std::set<HWND> VisibleChildren(CMainFrame* pFrame)
{
    std::set<HWND> children;
    for (HWND h = GetWindow(pFrame->GetClientWnd().m_hWnd, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT))
        if (IsWindowVisible(h))
            children.insert(h);
    return children;
}

// A key as the display delivers it, through the application's own message loop (where the
// frame's keys are translated) for a tenth of a second.
void PressKey(CZORVAT32App& app, UINT nKey)
{
    TbDisplayKey(WM_KEYDOWN, nKey, 1, "");
    TbDisplayKey(WM_KEYUP, nKey, 1 | (static_cast<LPARAM>(KF_UP) << 16), "");
    const UINT_PTR nTimer = ::SetTimer(nullptr, 0, 10, nullptr);
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
    MSG msg;
    while (std::chrono::steady_clock::now() < end && ::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!app.PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    ::KillTimer(nullptr, nTimer);
}

// How often the help file went to the viewer since the last look.
int HelpShown()
{
    int nShown = 0;
    for (std::string strOpened; TbTakeShellOpen(&strOpened);)
        nShown += strOpened.size() >= 13 && strOpened.compare(strOpened.size() - 13, 13, "/Zorvat32.chm") == 0;
    return nShown;
}

}  // namespace

// Each kind of user: the viewer, the trader, the trader with margin, the restricted user.
TEST(MainMenuSession, EveryUserFindsEachMenuFilledAndRunsEveryItemItEnables)
{
    CWholeTerminalMakers makers;
    std::filesystem::create_directories(TB_BINARY_DIR "/screenshots");
    // The trader's menus and the margin trader's, in Arabic, are pictured.
    const struct { const char* pszUser; const char* pszPassword; bool bArabic; } users[] = {
        {"viewer", "viewer", false}, {"trader", "secret", false}, {"margin", "margin", true},
        {"restricted", "limited", false}};
    // What ends or restarts the session has tests of its own.
    const std::set<UINT> ending = {32775, 33046, 33048, ID_APP_EXIT};
    for (const auto& user : users) {
        SCOPED_TRACE(user.pszUser);
        CTestServer server;
        ASSERT_TRUE(server.Start({}));
        CTerminalRun run(user.bArabic);
        // The help file beside the program, which the help hands to the viewer.
        std::ofstream(run.Folder() + "/Zorvat32.chm") << "help";
        run.m_onMakersRegistered = &CWholeTerminalMakers::Register;
        ASSERT_TRUE(run.StartLoggedIn(server.Port(), user.pszUser, user.pszPassword));
        PumpFor(200);
        TbRecordShellOpens(TRUE);
        auto* pFrame = static_cast<CMainFrame*>(run.App().GetMainFrame());
        HMENU hBar = ::GetMenu(pFrame->m_hWnd);
        std::vector<UINT> enabled;
        for (int i = 0; i < GetMenuItemCount(hBar); ++i) {
            HMENU hPopup = GetSubMenu(hBar, i);
            ASSERT_NE(nullptr, hPopup) << i;
            char szTitle[64] = "";
            GetMenuStringA(hBar, static_cast<UINT>(i), szTitle, sizeof szTitle, MF_BYPOSITION);
            EXPECT_GT(OpenPopup(pFrame, hPopup, enabled), 0) << szTitle << " is empty";
            if (user.bArabic || std::string(user.pszUser) == "trader") {
                RECT rc;
                GetWindowRect(pFrame->m_hWnd, &rc);
                const std::string strShot = std::string(TB_BINARY_DIR "/screenshots/main_menu_") + user.pszUser + "_" +
                                            std::to_string(i) + (user.bArabic ? "_ar" : "_en") + ".png";
                EXPECT_GE(ShootMenuWhile(pFrame->m_hWnd, strShot, [&] {
                    TrackPopupMenu(hPopup, user.bArabic ? TPM_LAYOUTRTL | TPM_RIGHTALIGN : 0,
                                   user.bArabic ? rc.right - 40 : rc.left + 40, rc.top + 40, 0, pFrame->m_hWnd, nullptr);
                }), 1) << szTitle;
            }
        }
        // Each enabled item as the user chooses it; what it opened is closed again.
        s_hFrame = pFrame->m_hWnd;
        s_leftWaiting.clear();
        const UINT_PTR nTimer = SetTimer(nullptr, 0, 30, &CloseWhatTheCommandOpened);
        const std::map<UINT, TBTESTANSWER> answers = {
            {32832, {TB_ASK_OPENFILE, IDCANCEL, ""}}, {32835, {TB_ASK_SAVEFILE, IDCANCEL, ""}},
            {57606, {TB_ASK_PRINTSETUP, IDCANCEL, ""}}, {33268, {TB_ASK_MESSAGEBOX, IDNO, ""}}};
        int nRun = 0;
        for (UINT nId : enabled) {
            if (ending.count(nId) || (nId >= ID_FILE_MRU_FILE1 && nId <= ID_FILE_MRU_FILE16))
                continue;
            if (answers.count(nId))
                TbQueueTestAnswer(answers.at(nId));
            const std::set<HWND> before = VisibleChildren(pFrame);
            s_nRunning = nId;
            s_started = std::chrono::steady_clock::now();
            pFrame->SendMessage(WM_COMMAND, nId, 0);
            PumpPending();
            s_nRunning = 0;
            TbClearTestAnswers();
            ASSERT_TRUE(IsWindow(s_hFrame)) << "command " << nId << " ended the program";
            for (HWND hChild : VisibleChildren(pFrame))
                if (!before.count(hChild)) {
                    char szTitle[256] = "";
                    GetWindowTextA(hChild, szTitle, sizeof szTitle);
                    EXPECT_STRNE("", szTitle) << "command " << nId << " opened a window without a title";
                    SendMessageA(hChild, WM_CLOSE, 0, 0);
                }
            PumpPending();
            ++nRun;
        }
        KillTimer(nullptr, nTimer);
        EXPECT_EQ(std::vector<UINT>{}, s_leftWaiting) << "commands that left a question waiting";
        EXPECT_GT(nRun, 30);
        // The help item showed the help file, and so does F1.
        EXPECT_EQ(1, HelpShown());
        PressKey(run.App(), VK_F1);
        EXPECT_EQ(1, HelpShown()) << "F1";
        // Without the file the user is told so.
        std::filesystem::remove(run.Folder() + "/Zorvat32.chm");
        TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDOK, ""});
        PressKey(run.App(), VK_F1);
        EXPECT_EQ(0, TbPendingTestAnswers()) << "no help file, and nothing said";
        TbClearTestAnswers();
        TbRecordShellOpens(FALSE);
        if (std::string(user.pszUser) == "restricted") {
            // The program ends from its File menu once the user says yes.
            TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDYES, ""});
            pFrame->SendMessage(WM_COMMAND, ID_APP_EXIT, 0);
            PumpPending();
            EXPECT_FALSE(IsWindow(s_hFrame));
        }
    }
}
