// The demo without a display: the terminal itself, in this process, started on a folder of its
// own against the test server, with a person's part played from a timer inside its message loop:
// the login typed into the real dialog, the wait for the initial load, pictures of the main
// window, the login dialog and the information window; then the US watch list, its symbols
// followed in the US time and sales, and the KSE odd-lot quotations, tiled and left to update
// for a few seconds before their pictures; then two orders placed as a person places them, a KSE
// limit order and a US one, each typed into the order ticket, submitted, confirmed in the review
// with the trading password and acknowledged in the information window, with pictures of the
// ticket, the review, the acknowledgement and the order-status tables holding the orders; and the
// close. English, then Arabic, each in a child process with its own program and configuration
// folders.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include "app/DataTable.h"
#include "app/MainFrame.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "app/dialogs/CredentialDialogs.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/MarketTables.h"
#include "account/AccountTables.h"
#include "app/FormMDIWnd.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/OrderForms.h"
#include "orders/ReviewDialog.h"
#include "refdata/ZorvatGlobals.h"
#include "market/TimeAndSalesFeed.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/Windows.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/kernel/Registry.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/TestAnswers.h"
#include "tools/demo/TerminalSetup.h"

namespace {

const char s_szUser[] = "trader";
const char s_szPassword[] = "secret";
const int s_nLanguageSeconds = 80;          // one language; both stay inside three minutes
const int s_nUpdateMilliseconds = 4000;     // the market tables left to move before their pictures
const UINT s_nWatchList = 51921, s_nOddLots = 52115, s_nTrades = 51954;
const UINT s_nUsOrders = 51110, s_nKseOrders = 51128;
const int s_nOrderSeconds = 20;             // one order, from the ticket to its acknowledgement

// The orders the person places: the ticket's menu command, the market chosen in it (0: the
// command's own), the ticker, the quantity and the price typed when the ticket finds none.
struct DEMO_ORDER {
    const char* pszName;
    UINT nCommand;
    long nMarket;
    const char* pszTicker;
    const char* pszQuantity;
    const char* pszPrice;
};
const DEMO_ORDER s_orders[] = {
    {"kse", 33049, 0, "GHB", "1000", "842"},
    {"us", 33100, 4, "ALPN", "100", "40"},
};
enum { ORDER_OPEN, ORDER_SUBMIT, ORDER_REVIEW, ORDER_ACKNOWLEDGED };
const int s_nShots = 7 + 3 * 2 + 2;         // the market tables', each order's three, the two tables

struct DEMO_OPTIONS {
    int nPort = 0;
    std::string strOut;
    std::string strLanguage;                // "english", "arabic" or empty for both
    std::string strSettingsFolder;          // --write-settings: only the link settings
};

// What the person does, step by step, from the timer.
struct DEMO_STATE {
    std::string strFolder;
    bool bLoginShot = false;
    bool bLoggedIn = false;
    std::chrono::steady_clock::time_point loaded;
    bool bLoaded = false;
    bool bOpened = false;
    std::chrono::steady_clock::time_point opened;
    bool bDone = false;
    bool bFailed = false;
    bool bTrading = false;
    size_t nOrder = 0;                      // the order being placed
    int nOrderStep = ORDER_OPEN;
    int nInfoLines = 0;                     // the information window's lines before the order
    std::chrono::steady_clock::time_point stepped;
    std::vector<std::string> shots;
};
DEMO_STATE s_state;

bool Shot(HWND hWnd, const char* pszName)
{
    const std::string strPath = s_state.strFolder + "/" + pszName + ".png";
    // As the display shows it: the main window's menu bar is part of what a person sees.
    if (hWnd == nullptr || TbSaveScreenPng(hWnd, strPath.c_str()) < 0)
        return false;
    s_state.shots.push_back(strPath);
    return true;
}

HWND TicketFrame()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    CFormMDIWnd* pFrame = pApp != nullptr ? pApp->GetOrderTicketForm() : nullptr;
    return pFrame != nullptr ? pFrame->m_hWnd : nullptr;
}

HWND TicketView()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    CFormMDIWnd* pFrame = pApp != nullptr ? pApp->GetOrderTicketForm() : nullptr;
    return pFrame != nullptr && pFrame->GetView() != nullptr ? pFrame->GetView()->m_hWnd : nullptr;
}

// A field typed and left, as the person's keys and the next click leave it.
void Type(HWND hForm, int nId, const char* pszText, UINT nLeft)
{
    SetDlgItemTextA(hForm, nId, pszText);
    SendMessageA(hForm, WM_COMMAND, MAKEWPARAM(nId, nLeft), reinterpret_cast<LPARAM>(GetDlgItem(hForm, nId)));
}

std::string LastInfoLine(CZORVAT32App* pApp)
{
    IInfoTable* pInfo = pApp->GetInfoTable();
    return pInfo != nullptr && pInfo->GetLineCount() > 0
               ? std::string(pInfo->GetLineCell(pInfo->GetLineCount() - 1, INFO_COL_TEXT))
               : std::string();
}

// The person places the orders one after the other; then the order-status tables. Returns true
// when everything is done.
bool TradeStep(CZORVAT32App* pApp, CNorvMainFrame* pFrame)
{
    const auto now = std::chrono::steady_clock::now();
    if (s_state.nOrder < std::size(s_orders)) {
        const DEMO_ORDER& order = s_orders[s_state.nOrder];
        const std::string strName = order.pszName;
        HWND hTicket = TicketView();
        IInfoTable* pInfo = pApp->GetInfoTable();
        if (now - s_state.stepped > std::chrono::seconds(s_nOrderSeconds)) {
            fprintf(stderr, "demo: the %s order stopped at step %d; the information window says: %s\n", order.pszName,
                    s_state.nOrderStep, LastInfoLine(pApp).c_str());
            s_state.bFailed = true;
            return true;
        }
        switch (s_state.nOrderStep) {
        case ORDER_OPEN:
            s_state.nInfoLines = pInfo != nullptr ? pInfo->GetLineCount() : 0;
            // The information window across the workspace, so that a whole acknowledgement shows.
            if (CTableMDIWnd* pInfoWindow = pInfo != nullptr ? pInfo->GetDataTable()->GetMainWindow() : nullptr) {
                RECT rcClient;
                GetClientRect(pFrame->m_hWndMDIClient, &rcClient);
                SetWindowPos(pInfoWindow->m_hWnd, HWND_TOP, 0, 0, rcClient.right, rcClient.bottom / 2, 0);
            }
            pFrame->SendMessage(WM_COMMAND, order.nCommand);
            hTicket = TicketView();
            if (hTicket == nullptr)
                return false;
            if (order.nMarket != 0) {
                const CString strMarket = GetGlobals()->GetMarketName(order.nMarket);
                SendDlgItemMessageA(hTicket, IDC_TICKET_MARKET, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strMarket)));
                SendMessageA(hTicket, WM_COMMAND, MAKEWPARAM(IDC_TICKET_MARKET, CBN_SELCHANGE),
                             reinterpret_cast<LPARAM>(GetDlgItem(hTicket, IDC_TICKET_MARKET)));
            }
            Type(hTicket, IDC_TICKET_TICKER, order.pszTicker, CBN_KILLFOCUS);
            Type(hTicket, IDC_TICKET_QUANTITY, order.pszQuantity, EN_KILLFOCUS);
            s_state.nOrderStep = ORDER_SUBMIT;
            s_state.stepped = now;
            return false;
        case ORDER_SUBMIT: {
            // A moment for the ticket's frame to take its size and the lookups to answer.
            if (now - s_state.stepped < std::chrono::milliseconds(500))
                return false;
            // The price the ticket found for the symbol, or the person's own.
            char szPrice[64] = "";
            GetDlgItemTextA(hTicket, IDC_TICKET_LIMIT, szPrice, sizeof szPrice);
            if (szPrice[0] == '\0')
                Type(hTicket, IDC_TICKET_LIMIT, order.pszPrice, EN_KILLFOCUS);
            UpdateWindow(TicketFrame());
            if (!Shot(TicketFrame(), (strName + "_ticket").c_str()))
                s_state.bFailed = true;
            s_state.nOrderStep = ORDER_REVIEW;
            s_state.stepped = now;
            // The review runs inside the check reply's handler: this timer goes on within it.
            PostMessageA(hTicket, WM_COMMAND, MAKEWPARAM(IDC_TICKET_SUBMIT, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(hTicket, IDC_TICKET_SUBMIT)));
            return false;
        }
        case ORDER_REVIEW: {
            HWND hReview = GetActiveWindow();
            if (hReview == nullptr || GetDlgItem(hReview, IDC_REVIEW_PASSWORD) == nullptr || !IsWindowVisible(hReview))
                return false;
            SetDlgItemTextA(hReview, IDC_REVIEW_PASSWORD, s_szPassword);
            UpdateWindow(hReview);
            if (!Shot(hReview, (strName + "_review").c_str()))
                s_state.bFailed = true;
            s_state.nOrderStep = ORDER_ACKNOWLEDGED;
            s_state.stepped = now;
            PostMessageA(GetDlgItem(hReview, IDOK), BM_CLICK, 0, 0);
            return false;
        }
        default: {
            // Acknowledged: a new line in the information window and the ticket cleared for the
            // next order; a refusal leaves the ticket as it was.
            char szTicker[64] = "";
            GetDlgItemTextA(hTicket, IDC_TICKET_TICKER, szTicker, sizeof szTicker);
            if (pInfo == nullptr || pInfo->GetLineCount() <= s_state.nInfoLines || szTicker[0] != '\0')
                return false;
            CTableMDIWnd* pInfoWindow = pInfo->GetDataTable()->GetMainWindow();
            if (pInfoWindow != nullptr) {
                pFrame->SendMessage(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pInfoWindow->m_hWnd));
                UpdateWindow(pInfoWindow->m_hWnd);
            }
            if (pInfoWindow == nullptr || !Shot(pInfoWindow->m_hWnd, (strName + "_acknowledged").c_str()))
                s_state.bFailed = true;
            ++s_state.nOrder;
            s_state.nOrderStep = ORDER_OPEN;
            s_state.stepped = now;
            return false;
        }
        }
    }
    // The order-status tables from the menu, once each holds its order.
    if (s_state.nOrderStep == ORDER_OPEN) {
        pFrame->SendMessage(WM_COMMAND, 33224);
        pFrame->SendMessage(WM_COMMAND, 33101);
        s_state.nOrderStep = ORDER_SUBMIT;
        s_state.stepped = now;
        return false;
    }
    const struct { UINT nId; const char* pszShot; } tables[] = {{s_nKseOrders, "kse_order_status"}, {s_nUsOrders, "us_order_status"}};
    bool bFilled = true;
    for (const auto& table : tables) {
        auto* pTable = dynamic_cast<CDataTable*>(pApp->FindTable(table.nId));
        bFilled = bFilled && pTable != nullptr && pTable->GetRows()->GetCount() > 0;
    }
    if (!bFilled && now - s_state.stepped < std::chrono::seconds(s_nOrderSeconds))
        return false;
    for (const auto& table : tables) {
        IDataTable* pTable = pApp->FindTable(table.nId);
        CTableMDIWnd* pWindow = pTable != nullptr ? pTable->GetMainWindow() : nullptr;
        if (pWindow != nullptr)
            pFrame->SendMessage(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pWindow->m_hWnd));
        s_state.bFailed = !Shot(pWindow != nullptr ? pWindow->m_hWnd : nullptr, table.pszShot) || s_state.bFailed;
    }
    if (!bFilled) {
        fprintf(stderr, "demo: the order-status tables did not show the orders\n");
        s_state.bFailed = true;
    }
    return true;
}

void CALLBACK DemoStep(HWND, UINT, UINT_PTR, DWORD)
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr || s_state.bDone)
        return;
    HWND hDlg = GetActiveWindow();
    if (!s_state.bLoggedIn && hDlg != nullptr && GetDlgItem(hDlg, IDC_LOGIN_USER) != nullptr &&
        IsWindowVisible(hDlg)) {
        SetDlgItemTextA(hDlg, IDC_LOGIN_USER, s_szUser);
        SetDlgItemTextA(hDlg, IDC_LOGIN_PASSWORD, s_szPassword);
        UpdateWindow(hDlg);
        s_state.bLoginShot = Shot(hDlg, "login");
        s_state.bLoggedIn = true;
        SendMessageA(GetDlgItem(hDlg, IDOK), BM_CLICK, 0, 0);
        return;
    }
    if (!s_state.bLoaded) {
        if (pApp->IsInitialLoadDone()) {
            s_state.bLoaded = true;
            s_state.loaded = std::chrono::steady_clock::now();
        }
        return;
    }
    // A moment for the status panes and the clocks to show what they know.
    if (std::chrono::steady_clock::now() - s_state.loaded < std::chrono::milliseconds(1500))
        return;
    CNorvMainFrame* pFrame = pApp->GetMainFrame();
    if (!s_state.bOpened) {
        s_state.bOpened = true;
        s_state.opened = std::chrono::steady_clock::now();
        bool bOk = s_state.bLoginShot && pFrame != nullptr && Shot(pFrame->m_hWnd, "main");
        // The toolbar's information button, as the person clicks it.
        if (pFrame != nullptr)
            pFrame->SendMessage(WM_COMMAND, ID_APP_INFO_BUTTON);
        IInfoTable* pInfo = pApp->GetInfoTable();
        CTableMDIWnd* pInfoWindow = pInfo != nullptr ? pInfo->GetDataTable()->GetMainWindow() : nullptr;
        bOk = bOk && pInfoWindow != nullptr && Shot(pInfoWindow->m_hWnd, "information");
        s_state.bFailed = !bOk;
        // The watch list and the US time and sales from the menu, every listed symbol followed in
        // the trades, the odd-lot quotations beside them, the three side by side.
        // Only what the menu offers the demo user: a greyed item fails the run as it stops a person.
        for (UINT nCommand : {ID_APP_US_QUOTES, ID_APP_US_TIME_SALES}) {
            BOOL bEnabled = FALSE;
            pApp->GetCommandState(nCommand, &bEnabled, nullptr);
            if (!bEnabled) {
                fprintf(stderr, "demo: command %u is greyed for the demo user\n", nCommand);
                s_state.bFailed = true;
            } else if (pFrame != nullptr) {
                pFrame->SendMessage(WM_COMMAND, nCommand);
            }
        }
        auto* pWatch = dynamic_cast<CDataTable*>(pApp->FindTable(s_nWatchList));
        ITimeAndSalesFeed* pFeed = FindTimeAndSalesFeed();
        if (pWatch != nullptr && pFeed != nullptr)
            for (int i = 0; i < pWatch->GetRows()->GetCount(); ++i)
                pFeed->AddSymbol(pWatch->GetRows()->GetAt(i)->GetText(0));
        CNorvApp::ShowTable(pApp->FindTable(s_nOddLots));
        if (pFrame != nullptr)
            pFrame->SendMessage(WM_COMMAND, ID_WINDOW_TILE_HORZ);
        return;
    }
    if (s_state.bTrading) {
        if (pFrame == nullptr || TradeStep(pApp, pFrame)) {
            s_state.bDone = true;
            TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDYES, ""});
            if (pFrame != nullptr)
                pFrame->PostMessage(WM_CLOSE);
        }
        return;
    }
    if (std::chrono::steady_clock::now() - s_state.opened < std::chrono::milliseconds(s_nUpdateMilliseconds))
        return;
    bool bOk = pFrame != nullptr && Shot(pFrame->m_hWnd, "workspace");
    const struct { UINT nId; const char* pszShot; } windows[] = {
        {s_nWatchList, "watch_list"}, {s_nTrades, "us_time_and_sales"}, {s_nOddLots, "odd_lots"}};
    for (const auto& window : windows) {
        IDataTable* pTable = pApp->FindTable(window.nId);
        CTableMDIWnd* pWindow = pTable != nullptr ? pTable->GetMainWindow() : nullptr;
        bOk = Shot(pWindow != nullptr ? pWindow->m_hWnd : nullptr, window.pszShot) && bOk;
    }
    s_state.bFailed = s_state.bFailed || !bOk;
    // The KSE quotations give the ticket its reference price; then the person trades.
    if (pFrame != nullptr)
        pFrame->SendMessage(WM_COMMAND, ID_APP_KSE_QUOTES);
    s_state.bTrading = true;
    s_state.stepped = std::chrono::steady_clock::now();
}

void CALLBACK Deadline(HWND, UINT, UINT_PTR, DWORD)
{
    fprintf(stderr, "demo: no initial load within %d seconds (login %s, loaded %s)\n", s_nLanguageSeconds,
            s_state.bLoggedIn ? "typed" : "not seen", s_state.bLoaded ? "yes" : "no");
    _exit(3);
}

int RunLanguage(const DEMO_OPTIONS& options, char** argv)
{
    const bool bArabic = options.strLanguage == "arabic";
    s_state.strFolder = options.strOut + "/" + options.strLanguage;
    const std::string strProgram = s_state.strFolder + "/program";
    const std::string strConfig = s_state.strFolder + "/config";
    MakeFolder(strProgram);
    MakeFolder(strConfig);
    setenv("TB_PROGRAM_DIR", strProgram.c_str(), 1);
    setenv("XDG_CONFIG_HOME", strConfig.c_str(), 1);
    if (!WriteLinkSettings(strProgram, false, options.nPort)) {
        fprintf(stderr, "demo: the language files were not found (TB_RESOURCE_DIR?)\n");
        return 2;
    }
    WriteLanguageChoice(bArabic);
    int argc = 1;
    if (!TbInitQtPlatform(&argc, argv)) {
        fprintf(stderr, "demo: the display did not start\n");
        return 2;
    }
    RegisterMarketTables();
    RegisterAccountTables();
    RegisterOrderForms();
    CZORVAT32App app;
    SetTimer(nullptr, 0, 50, DemoStep);
    SetTimer(nullptr, 0, s_nLanguageSeconds * 1000, Deadline);
    if (!app.InitApplication() || !app.InitInstance()) {
        fprintf(stderr, "demo: the terminal did not start\n");
        app.ExitInstance();
        return 2;
    }
    app.Run();
    if (s_state.bFailed || s_state.shots.size() != static_cast<size_t>(s_nShots)) {
        fprintf(stderr, "demo: %s: the pictures could not all be written\n", options.strLanguage.c_str());
        return 4;
    }
    for (const std::string& strShot : s_state.shots)
        printf("%s\n", strShot.c_str());
    return 0;
}

// Each language in a process of its own: the application object is one per process.
int RunBoth(const DEMO_OPTIONS& options, const char* pszSelf)
{
    for (const char* pszLanguage : {"english", "arabic"}) {
        const std::string strPort = std::to_string(options.nPort);
        const pid_t pid = fork();
        if (pid == 0) {
            execl(pszSelf, pszSelf, "--port", strPort.c_str(), "--out", options.strOut.c_str(), "--language",
                  pszLanguage, static_cast<char*>(nullptr));
            _exit(127);
        }
        int nStatus = 0;
        if (pid < 0 || waitpid(pid, &nStatus, 0) != pid || !WIFEXITED(nStatus) || WEXITSTATUS(nStatus) != 0) {
            fprintf(stderr, "demo: the %s run failed\n", pszLanguage);
            return 1;
        }
    }
    return 0;
}

void Usage()
{
    fprintf(stderr,
            "usage: demo_driver --port N --out DIR [--language english|arabic]\n"
            "       demo_driver --write-settings DIR --port N [--language english|arabic]\n");
}

}  // namespace

int main(int argc, char** argv)
{
    DEMO_OPTIONS options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string strName = argv[i];
        const char* pszValue = argv[i + 1];
        if (strName == "--port")
            options.nPort = atoi(pszValue);
        else if (strName == "--out")
            options.strOut = pszValue;
        else if (strName == "--language")
            options.strLanguage = pszValue;
        else if (strName == "--write-settings")
            options.strSettingsFolder = pszValue;
        else {
            Usage();
            return 2;
        }
    }
    if (options.nPort <= 0 || options.nPort > 65535) {
        Usage();
        return 2;
    }
    // The tree's language files, unless the caller named others.
    if (getenv("TB_RESOURCE_DIR") == nullptr)
        setenv("TB_RESOURCE_DIR", TB_SOURCE_DIR "/resources", 1);
    if (!options.strLanguage.empty() && options.strLanguage != "english" && options.strLanguage != "arabic") {
        Usage();
        return 2;
    }
    // The terminal started by hand reads its language where start-up always reads it: the
    // registry of the configuration folder it is given.
    if (!options.strSettingsFolder.empty()) {
        const bool bArabic = options.strLanguage == "arabic";
        WriteLanguageChoice(bArabic);
        return WriteLinkSettings(options.strSettingsFolder, bArabic, options.nPort) ? 0 : 2;
    }
    if (options.strOut.empty()) {
        Usage();
        return 2;
    }
    if (options.strLanguage.empty())
        return RunBoth(options, "/proc/self/exe");
    return RunLanguage(options, argv);
}
