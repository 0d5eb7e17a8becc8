#include "app/FormFactory.h"
#include "app/NorvMainFrame.h"
#include "app/ZorvatApp.h"
#include "framework/base/SharedGlobals.h"
#include "link/MessageTypes.h"
#include "link/ZorvatComm.h"
#include "platform/mfc/CommonDialogs.h"

#define IDS_WORKSPACE_FILTER 40370
#define OFN_SAVE_WORKSPACE 0x210C0E
#define OFN_OPEN_WORKSPACE 0x200C0C
#define IDD_TICKER_LOOKUP_FORM 7260
#define IDD_PREFERENCES_FORM 7327
#define LINK_TYPE_PROTOCOL 16

// Every command of the application: its ids, its rule, its handler and, for items with a check
// mark, what the mark shows.
struct CZORVAT32App::COMMAND_ENTRY
{
    UINT nFirst;
    UINT nLast;
    COMMAND_RULE rule;
    void (CZORVAT32App::*pfnRun)(UINT);
    int (CZORVAT32App::*pfnCheck)(UINT) const;
};

const CZORVAT32App::COMMAND_ENTRY CZORVAT32App::s_commands[] = {
    // A row without a handler waits for the window it opens: its rule stands, its item stays grey.
    // The account forms (before the ranges of their neighbours, which wait for their windows).
    {33121, 33121, RULE_US, &CZORVAT32App::OnFormCommand, nullptr},
    {33237, 33237, RULE_KSE, &CZORVAT32App::OnFormCommand, nullptr},
    {33238, 33238, RULE_BOTH_MARKETS, &CZORVAT32App::OnFormCommand, nullptr},
    {33347, 33347, RULE_BOTH_MARKETS, &CZORVAT32App::OnIntlConversionCommand, nullptr},
    {40232, 40232, RULE_US, &CZORVAT32App::OnFormCommand, nullptr},
    {ID_APP_CONNECT, ID_APP_CONNECT, RULE_NOT_CONNECTED, &CZORVAT32App::OnConnectCommand, nullptr},
    {ID_APP_DISCONNECT, ID_APP_DISCONNECT, RULE_CONNECTED, &CZORVAT32App::OnDisconnectCommand, nullptr},
    {ID_APP_LINK_SETTINGS, ID_APP_LINK_SETTINGS, RULE_NOT_CONNECTED, &CZORVAT32App::OnLinkSettings, nullptr},
    {ID_APP_PROTOCOL_MODE, ID_APP_PROTOCOL_MODE, RULE_RAW_SERIAL, &CZORVAT32App::OnProtocolMode, nullptr},
    {ID_APP_FEED_LOG, ID_APP_FEED_LOG, RULE_ALWAYS, &CZORVAT32App::OnFeedLogSettings, nullptr},
    {ID_APP_SHOW_INFO, ID_APP_SHOW_INFO, RULE_ALWAYS, &CZORVAT32App::OnShowInfo, nullptr},
    {ID_APP_SAVE_WORKSPACE, ID_APP_SAVE_WORKSPACE, RULE_ALWAYS, &CZORVAT32App::OnSaveWorkspaceCommand,
     nullptr},
    {ID_APP_OPEN_WORKSPACE, ID_APP_OPEN_WORKSPACE, RULE_ALWAYS, &CZORVAT32App::OnOpenWorkspace, nullptr},
    {ID_APP_SAVE_WORKSPACE_AS, ID_APP_SAVE_WORKSPACE_AS, RULE_ALWAYS, &CZORVAT32App::OnSaveWorkspaceAs,
     nullptr},
    {ID_APP_TICKER_FLOAT, ID_APP_TICKER_DOCK, RULE_ALWAYS, &CZORVAT32App::OnTickerPlaceCommand, nullptr},
    {ID_APP_LOGIN, ID_APP_LOGIN, RULE_NONE, &CZORVAT32App::OnLoginCommand, nullptr},
    {ID_APP_CHANGE_PASSWORD, ID_APP_CHANGE_PASSWORD, RULE_ROLE_1_DIRECT, &CZORVAT32App::OnChangePassword,
     nullptr},
    {ID_APP_PAUSE_LOCK, ID_APP_PAUSE_LOCK, RULE_LOGGED_IN, &CZORVAT32App::OnPauseLock, nullptr},
    {33049, 33050, RULE_KSE_ORDERS, &CZORVAT32App::OnKseTicketCommand, nullptr},
    {33100, 33100, RULE_US_ORDERS, &CZORVAT32App::OnUsTicketCommand, nullptr},
    {33101, 33101, RULE_US, &CZORVAT32App::OnTableCommand, nullptr},
    {33103, 33103, RULE_US, &CZORVAT32App::OnTableCommand, nullptr},
    {33109, 33109, RULE_NONE, &CZORVAT32App::OnNothing, nullptr},
    {ID_APP_US_HOLDINGS, ID_APP_US_HOLDINGS, RULE_US, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_US_UNREALIZED, ID_APP_US_UNREALIZED, RULE_US, &CZORVAT32App::OnUnrealizedCommand, nullptr},
    {33120, 33120, RULE_US, &CZORVAT32App::OnCommandDialog, nullptr},
    {ID_APP_CORP_EVENTS, ID_APP_CORP_EVENTS, RULE_ROLE_1_DIRECT, &CZORVAT32App::OnCommandDialog, nullptr},
    {33140, 33140, RULE_US, &CZORVAT32App::OnCommandDialog, nullptr},
    {ID_APP_CLEAR_INFO, ID_APP_CLEAR_INFO, RULE_ALWAYS, &CZORVAT32App::OnClearInfo, nullptr},
    {33180, 33189, RULE_ROLE_1, &CZORVAT32App::OnPageCommand, nullptr},
    {ID_APP_CHART_US_HISTORY, ID_APP_CHART_US_HISTORY, RULE_ROLE_1, &CZORVAT32App::OnChartCommand, nullptr},
    {ID_APP_US_QUOTES, ID_APP_US_QUOTES, RULE_US_QUOTES, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_CHART_US_INTRADAY, ID_APP_CHART_US_INTRADAY, RULE_ROLE_1, &CZORVAT32App::OnChartCommand, nullptr},
    {ID_APP_NEWS, ID_APP_NEWS, RULE_ROLE_1, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_COMPANY_NEWS, ID_APP_COMPANY_NEWS, RULE_ROLE_1, &CZORVAT32App::OnCompanyNewsCommand, nullptr},
    {ID_APP_TICKER_LOOKUP, ID_APP_TICKER_LOOKUP, RULE_ROLE_1, &CZORVAT32App::OnFormCommand, nullptr},
    {ID_APP_VERSION, ID_APP_VERSION, RULE_ROLE_1, &CZORVAT32App::OnVersionCommand, nullptr},
    {ID_APP_CHANGE_PIN, ID_APP_CHANGE_PIN, RULE_ROLE_3, &CZORVAT32App::OnChangePin, nullptr},
    {ID_APP_WEB_SITE, ID_APP_WEB_SITE, RULE_ALWAYS, &CZORVAT32App::OnWebSite, nullptr},
    {ID_APP_INFO_RAISE, ID_APP_INFO_RAISE, RULE_ALWAYS, &CZORVAT32App::OnInfoRaise,
     &CZORVAT32App::GetInfoRaiseCheck},
    {ID_APP_US_TIME_SALES, ID_APP_US_TIME_SALES, RULE_US_QUOTES, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_GAINERS, ID_APP_MOST_ACTIVE, RULE_ROLE_1, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_HOLIDAYS, ID_APP_HOLIDAYS, RULE_ROLE_1, &CZORVAT32App::OnTableCommand, nullptr},
    {33215, 33215, RULE_ROLE_1, &CZORVAT32App::OnCommandDialog, nullptr},
    {33223, 33223, RULE_KSE_ORDERS, &CZORVAT32App::OnKseTicketCommand, nullptr},
    {33224, 33224, RULE_KSE, &CZORVAT32App::OnTableCommand, nullptr},
    {33226, 33226, RULE_KSE, &CZORVAT32App::OnTableCommand, nullptr},
    {33228, 33230, RULE_KSE, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_KSE_EVENTS, ID_APP_KSE_EVENTS, RULE_KSE, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_KSE_HOLDINGS, ID_APP_KSE_HOLDINGS, RULE_KSE, &CZORVAT32App::OnTableCommand, nullptr},
    {33234, 33234, RULE_KSE, &CZORVAT32App::OnCommandDialog, nullptr},
    {33235, 33235, RULE_KSE, &CZORVAT32App::OnUnrealizedCommand, nullptr},
    {33236, 33236, RULE_KSE, &CZORVAT32App::OnCommandDialog, nullptr},
    {33241, 33241, RULE_KSE, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_KSE_STOCK_LIST, ID_APP_KSE_TICK_UNITS, RULE_KSE, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_KSE_QUOTES, ID_APP_KSE_QUOTES, RULE_KSE, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_KSE_ORDER_BOOK, ID_APP_KSE_ORDER_BOOK, RULE_KSE, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_KSE_TIME_SALES, ID_APP_KSE_TIME_SALES, RULE_KSE, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_READING_DIRECTION, ID_APP_READING_DIRECTION, RULE_ALWAYS, &CZORVAT32App::OnReadingDirection,
     nullptr},
    {33269, 33269, RULE_KSE_ORDERS, &CZORVAT32App::OnForwardMarketTicketCommand, nullptr},
    {ID_APP_KSE_INDICES, ID_APP_KSE_INDICES, RULE_KSE, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_FWD_TIME_SALES, ID_APP_FWD_TIME_SALES, RULE_KSE, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_FWD_QUOTES, ID_APP_FWD_QUOTES, RULE_KSE, &CZORVAT32App::OnTableCommand, nullptr},
    {33273, 33273, RULE_KSE_ORDERS, &CZORVAT32App::OnForwardTicketCommand, nullptr},
    {ID_APP_FWD_OPEN_INTEREST, ID_APP_FWD_OPEN_INTEREST, RULE_KSE, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_FWD_RULES, ID_APP_FWD_RULES, RULE_KSE, &CZORVAT32App::OnTableCommand, nullptr},
    {33276, 33276, RULE_KSE, &CZORVAT32App::OnTableCommand, nullptr},
    {33277, 33278, RULE_ROLE_1, &CZORVAT32App::OnCommandDialog, nullptr},
    {ID_APP_KSE_NEWS_BROWSER, ID_APP_KSE_NEWS, RULE_ROLE_1, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_KSE_SORT_FIRST, ID_APP_KSE_SORT_LAST, RULE_ROLE_1, &CZORVAT32App::OnQuotationSort, nullptr},
    {33290, 33299, RULE_ROLE_1, &CZORVAT32App::OnPageCommand, nullptr},
    {ID_APP_CHART_KSE_HISTORY, ID_APP_CHART_KSE_INTRADAY, RULE_ROLE_1, &CZORVAT32App::OnChartCommand, nullptr},
    {ID_APP_MARKET_DEPTH, ID_APP_MARKET_DEPTH, RULE_ROLE_1, &CZORVAT32App::OnMarketDepth,
     &CZORVAT32App::GetMarketDepthCheck},
    {33306, 33306, RULE_US_ORDERS, &CZORVAT32App::OnUsTicketCommand, nullptr},
    {33309, 33310, RULE_DISABLED, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_MARGIN_DETAILS, ID_APP_MARGIN_DETAILS, RULE_MARGIN, &CZORVAT32App::OnTableCommand, nullptr},
    {33313, 33313, RULE_DISABLED, &CZORVAT32App::OnTableCommand, nullptr},
    {33315, 33315, RULE_ROLE_1, &CZORVAT32App::OnPageCommand, nullptr},
    {33335, 33335, RULE_REMOVED, &CZORVAT32App::OnPositionFormCommand, nullptr},
    {33336, 33336, RULE_REMOVED, &CZORVAT32App::OnUsTicketCommand, nullptr},
    {ID_APP_OPTION_CHAIN, ID_APP_OPTION_CHAIN, RULE_REMOVED, &CZORVAT32App::OnOptionChainCommand, nullptr},
    {ID_APP_EXCHANGE_RATES, ID_APP_EXCHANGE_RATES, RULE_ROLE_1, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_INTEREST_RATES, ID_APP_INTEREST_RATES, RULE_ROLE_1, &CZORVAT32App::OnTableCommand, nullptr},
    {33355, 33355, RULE_REMOVED, &CZORVAT32App::OnPositionFormCommand, nullptr},
    {ID_APP_COMPANY_NEWS_TICKER, ID_APP_COMPANY_NEWS_TICKER, RULE_ROLE_1, &CZORVAT32App::OnCompanyNewsCommand,
     nullptr},
    {33601, 33601, RULE_US_ORDERS, &CZORVAT32App::OnUsTicketCommand, nullptr},
    {ID_APP_TICKER_FIRST, ID_APP_TICKER_LAST, RULE_ALWAYS, &CZORVAT32App::OnTickerMenuCommand,
     &CZORVAT32App::GetTickerMenuCheck},
    {ID_APP_CHART_MARKET_1, ID_APP_CHART_MARKET_1, RULE_ROLE_1, &CZORVAT32App::OnMarketChartCommand, nullptr},
    {33615, 33615, RULE_ROLE_1, nullptr, nullptr},
    {ID_APP_ACTIVE_WINDOW, ID_APP_ACTIVE_WINDOW, RULE_ALWAYS, &CZORVAT32App::OnActiveWindowCommand, nullptr},
    {33621, 33621, RULE_US_QUOTES_PAGE, &CZORVAT32App::OnPageCommand, nullptr},
    {ID_APP_COMPANY_NEWS_2, ID_APP_COMPANY_NEWS_2, RULE_ROLE_1, &CZORVAT32App::OnCompanyNewsCommand, nullptr},
    {ID_APP_NEWS_LIST, ID_APP_NEWS_LIST, RULE_ROLE_1, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_INFO_PRIORITY_1, ID_APP_INFO_PRIORITY_4, RULE_ALWAYS, &CZORVAT32App::OnInfoPriority,
     &CZORVAT32App::GetInfoPriorityCheck},
    {ID_APP_INTL_BOOK, ID_APP_INTL_BOOK, RULE_ROLE_1, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_US_TIME_SALES_2, ID_APP_US_TIME_SALES_2, RULE_US_QUOTES, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_MARKET_FIRST, ID_APP_MARKET_ALL, RULE_ALWAYS, &CZORVAT32App::OnMarketSchedule, nullptr},
    {40192, 40192, RULE_ROLE_1, &CZORVAT32App::OnNothing, nullptr},
    {ID_APP_INTL_MM_BOOK, ID_APP_INTL_MM_BOOK, RULE_ROLE_1, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_COMBINED_HOLDINGS, ID_APP_COMBINED_HOLDINGS, RULE_ALWAYS, &CZORVAT32App::OnTableCommand, nullptr},
    {40228, 40228, RULE_KSE, &CZORVAT32App::OnCommandDialog, nullptr},
    {40229, 40229, RULE_KSE, &CZORVAT32App::OnUnrealizedCommand, nullptr},
    {ID_APP_INFO_BUTTON, ID_APP_INFO_BUTTON, RULE_NONE, &CZORVAT32App::OnInfoButton, nullptr},
    {ID_APP_PREFERENCES, ID_APP_PREFERENCES, RULE_US, &CZORVAT32App::OnFormCommand, nullptr},
    {ID_APP_INTL_BOOK_2, ID_APP_INTL_BOOK_2, RULE_ROLE_1, &CZORVAT32App::OnTableCommand, nullptr},
    {ID_APP_ABOUT, ID_APP_ABOUT, RULE_NONE, &CZORVAT32App::OnAbout, nullptr},
    // The class library's new and open: no document templates, and a workspace is the document.
    {ID_FILE_NEW, ID_FILE_NEW, RULE_NONE, &CZORVAT32App::OnNothing, nullptr},
    {ID_FILE_OPEN, ID_FILE_OPEN, RULE_NONE, &CZORVAT32App::OnFileOpenCommand, nullptr},
    {ID_FILE_PRINT_SETUP, ID_FILE_PRINT_SETUP, RULE_NONE, &CZORVAT32App::OnPrintSetupCommand, nullptr},
    {0, 0, RULE_NONE, nullptr, nullptr},
};

const CZORVAT32App::COMMAND_ENTRY* CZORVAT32App::FindCommand(UINT nId)
{
    for (const COMMAND_ENTRY* pEntry = s_commands; pEntry->nFirst != 0; ++pEntry)
        if (nId >= pEntry->nFirst && nId <= pEntry->nLast)
            return pEntry;
    return nullptr;
}

COMMAND_CONTEXT CZORVAT32App::GetCommandContext() const
{
    COMMAND_CONTEXT context;
    context.nRole = m_user.GetRole();
    context.nUsLevel = m_user.GetUsAccessLevel();
    context.nKseLevel = m_user.GetKseAccessLevel();
    context.nUsQuoteValue = m_user.GetValue10();
    context.nMarginValue = m_user.GetValue18();
    context.bUsPagesSet = !m_user.GetLoginText21().IsEmpty() && !m_user.GetLoginText22().IsEmpty();
    context.bLinkConnected = IsConnected();
    context.nLinkType = m_pComm != nullptr ? m_pComm->GetConnectType() : 0;
    return context;
}

BOOL CZORVAT32App::RunCommand(UINT nId)
{
    const COMMAND_ENTRY* pEntry = FindCommand(nId);
    if (pEntry == nullptr)
        return FALSE;
    if (pEntry->pfnRun != nullptr)
        (this->*pEntry->pfnRun)(nId);
    return TRUE;
}

BOOL CZORVAT32App::GetCommandState(UINT nId, BOOL* pbEnabled, int* pnCheck, MENU_REMOVAL* pRemoval)
{
    const COMMAND_ENTRY* pEntry = FindCommand(nId);
    if (pEntry == nullptr || (pEntry->rule == RULE_NONE && pEntry->pfnRun != nullptr))
        return FALSE;
    const COMMAND_CONTEXT context = GetCommandContext();
    if (pbEnabled != nullptr)
        *pbEnabled = pEntry->pfnRun != nullptr && IsRuleMet(pEntry->rule, context);
    if (pnCheck != nullptr)
        *pnCheck = pEntry->pfnCheck != nullptr ? (this->*pEntry->pfnCheck)(nId) : -1;
    if (pRemoval != nullptr)
        *pRemoval = GetRuleRemoval(pEntry->rule, context);
    return TRUE;
}

BOOL CZORVAT32App::GetCommandRule(UINT nId, COMMAND_RULE* pRule, BOOL* pbHandled)
{
    const COMMAND_ENTRY* pEntry = FindCommand(nId);
    if (pRule != nullptr)
        *pRule = pEntry != nullptr ? pEntry->rule : RULE_NONE;
    if (pbHandled != nullptr)
        *pbHandled = pEntry != nullptr && pEntry->pfnRun != nullptr;
    return pEntry != nullptr;
}

std::vector<UINT> CZORVAT32App::GetOrderTicketCommands()
{
    std::vector<UINT> ids;
    for (const COMMAND_ENTRY* pEntry = s_commands; pEntry->nFirst != 0; ++pEntry) {
        const auto pfn = pEntry->pfnRun;
        if (pEntry->rule == RULE_REMOVED ||
            (pfn != &CZORVAT32App::OnKseTicketCommand && pfn != &CZORVAT32App::OnForwardMarketTicketCommand &&
             pfn != &CZORVAT32App::OnForwardTicketCommand && pfn != &CZORVAT32App::OnUsTicketCommand))
            continue;
        for (UINT nId = pEntry->nFirst; nId <= pEntry->nLast; ++nId)
            ids.push_back(nId);
    }
    return ids;
}

void CZORVAT32App::OnConnectCommand(UINT)
{
    Connect();
}

void CZORVAT32App::OnDisconnectCommand(UINT)
{
    Disconnect(TRUE);
}

void CZORVAT32App::OnLinkSettings(UINT)
{
    if (m_pComm != nullptr) {
        m_pComm->EditCommSettings(0);
        return;
    }
    // Without a link the settings are still the user's to change, through a link made for it.
    CZorvatComm* pTemporary = new CZorvatComm(m_strLinkSettingsFile, nullptr, nullptr);
    pTemporary->LoadCommSettings();
    pTemporary->EditCommSettings(0);
    pTemporary->SaveCommSettings();
    delete pTemporary;
}

void CZORVAT32App::OnShowInfo(UINT)
{
    ShowTable(m_pInfoTable != nullptr ? m_pInfoTable->GetDataTable() : nullptr);
}

void CZORVAT32App::SaveWorkspaceFile()
{
    SaveWorkspace();
    GetSharedGlobals()->m_settings.SaveSettingsFile();
}

void CZORVAT32App::OnSaveWorkspaceCommand(UINT)
{
    SaveWorkspaceFile();
}

// The workspace file dialog, to open one or to save under the name given; false when cancelled.
static bool AskWorkspaceFile(BOOL bOpen, LPCSTR pszFile, CWnd* pParent, CString& strPath)
{
    CString strFilter, strExtension;
    GetSharedGlobals()->LoadString(strFilter, IDS_WORKSPACE_FILTER);
    GetSharedGlobals()->LoadString(strExtension, IDS_WORKSPACE_EXTENSION);
    CFileDialog dialog(bOpen, strExtension, pszFile, bOpen ? OFN_OPEN_WORKSPACE : OFN_SAVE_WORKSPACE, strFilter, pParent);
    if (dialog.DoModal() != IDOK)
        return false;
    strPath = dialog.GetPathName();
    return true;
}

void CZORVAT32App::OnSaveWorkspaceAs(UINT)
{
    CString strPath;
    if (!AskWorkspaceFile(FALSE, m_strWorkspaceFile, m_pMainFrame, strPath))
        return;
    if (strPath != m_strWorkspaceFile)
        AddRecentFile(m_strWorkspaceFile);
    m_strWorkspaceFile = strPath;
    GetSharedGlobals()->m_settings.Open(strPath);
    SaveWorkspaceFile();
    AddRecentFile(strPath);
    WriteProfileText(".General", "Workspace", strPath);
}

void CZORVAT32App::OnOpenWorkspace(UINT)
{
    CString strPath;
    if (!AskWorkspaceFile(TRUE, nullptr, m_pMainFrame, strPath))
        return;
    SetBusyFlag(TRUE);
    AddRecentFile(m_strWorkspaceFile);
    AddRecentFile(strPath);
    // The windows appear together once the workspace is whole, not one by one.
    const BOOL bLocked = m_pMainFrame != nullptr && m_pMainFrame->m_hWnd != nullptr && m_pMainFrame->LockWindowUpdate();
    LoadWorkspace(strPath, TRUE);
    WriteProfileText(".General", "Workspace", m_strWorkspaceFile);
    if (bLocked)
        m_pMainFrame->UnlockWindowUpdate();
    SetBusyFlag(FALSE);
}

// A workspace file chosen, opened as a recent file opens one, and put first among them.
void CZORVAT32App::OnFileOpenCommand(UINT)
{
    CString strPath;
    if (!AskWorkspaceFile(TRUE, nullptr, m_pMainFrame, strPath))
        return;
    if (OpenDocumentFile(strPath) != nullptr)
        AddRecentFile(strPath);
}

// The class library's print setup: the printer a table prints on when it has none of its own.
void CZORVAT32App::OnPrintSetupCommand(UINT)
{
    OnFilePrintSetup();
}

void CZORVAT32App::OnLoginCommand(UINT)
{
    RunLogin();
}

void CZORVAT32App::OnClearInfo(UINT)
{
    if (m_pInfoTable != nullptr)
        m_pInfoTable->RemoveAllRows();
}

void CZORVAT32App::OnInfoRaise(UINT)
{
    m_bInfoRaise = !m_bInfoRaise;
}

void CZORVAT32App::OnInfoPriority(UINT nId)
{
    m_nInfoPriority = static_cast<int>(nId) - (ID_APP_INFO_PRIORITY_1 - 1);
}

void CZORVAT32App::OnInfoButton(UINT)
{
    m_nIndicatorState = INFO_INDICATOR_CLICKED;
    if (m_pInfoTable != nullptr)
        m_pInfoTable->ShowWindow();
}

void CZORVAT32App::OnProtocolMode(UINT)
{
    if (m_pComm != nullptr)
        m_pComm->Connect(LINK_TYPE_PROTOCOL, 0);
}

void CZORVAT32App::OnFeedLogSettings(UINT)
{
    if (m_pComm == nullptr)
        CreateLinkWindow();
    if (m_pComm == nullptr)
        return;
    m_pComm->EditFeedLogSettings();
    // A link not yet connected completes its initial load with the login reply's stream.
    if (m_pComm != nullptr && !m_pComm->IsConnected())
        m_dispatcher.SetAwaitedType(MSG_UL);
}

void CZORVAT32App::OnPauseLock(UINT)
{
    const PAUSE_LOCK_RUNNER pfnRun = GetPauseLock();
    if (pfnRun == nullptr)
        return;
    const HWND hParent = m_pMainFrame != nullptr ? m_pMainFrame->m_hWnd : nullptr;
    if (pfnRun(hParent, m_user.GetPassword()) != IDOK)
        Logoff();
}

void CZORVAT32App::OnActiveWindowCommand(UINT)
{
    CMDIChildWnd* pActive = m_pMainFrame != nullptr ? m_pMainFrame->MDIGetActive() : nullptr;
    if (pActive != nullptr && pActive->m_hWnd != nullptr)
        pActive->SendMessage(WM_COMMAND, ID_ACTIVE_WINDOW_COMMAND);
}

// The forms the menu opens, each in a slot of its own.
struct CZORVAT32App::FORM_COMMAND
{
    UINT nCommand;
    UINT nFormId;
    CFormMDIWnd* CZORVAT32App::*pSlot;
};

const CZORVAT32App::FORM_COMMAND CZORVAT32App::s_formCommands[] = {
    {ID_APP_TICKER_LOOKUP, IDD_TICKER_LOOKUP_FORM, &CZORVAT32App::m_pLookupForm},
    {ID_APP_PREFERENCES, IDD_PREFERENCES_FORM, &CZORVAT32App::m_pPreferencesForm},
    {33121, 7117, &CZORVAT32App::m_pPerformanceUsForm},
    {33237, 7270, &CZORVAT32App::m_pPerformanceKseForm},
    {33238, 7269, &CZORVAT32App::m_pConversionForm},
    {40232, 7328, &CZORVAT32App::m_pPerformanceCombinedForm},
};

void CZORVAT32App::OnFormCommand(UINT nId)
{
    for (const FORM_COMMAND& form : s_formCommands) {
        // Without its view the form would be an empty frame: the command waits for it quietly.
        if (form.nCommand == nId && FindFormMaker(form.nFormId) != nullptr)
            OpenFormWindow(&(this->*form.pSlot), form.nFormId);
    }
}

std::vector<UINT> CZORVAT32App::GetFormCommands()
{
    std::vector<UINT> commands;
    for (const FORM_COMMAND& form : s_formCommands)
        commands.push_back(form.nCommand);
    return commands;
}

// The modal dialogs the layers above give for their commands; without one the command waits.
void CZORVAT32App::OnCommandDialog(UINT nId)
{
    const COMMAND_DIALOG_RUNNER pfnRun = FindCommandDialog(nId);
    if (pfnRun != nullptr)
        pfnRun(m_pMainFrame != nullptr ? m_pMainFrame->m_hWnd : nullptr);
}

void CZORVAT32App::OnUnrealizedCommand(UINT nId)
{
    m_bUnrealizedSelector = nId != 33235;
    if (nId == 40229)
        OnCommandDialog(nId);
    else
        OnTableCommand(nId);
}

void CZORVAT32App::OnIntlConversionCommand(UINT)
{
    OpenInternationalCurrencyConversion("", "");
}

void CZORVAT32App::OnOptionChainCommand(UINT)
{
    OpenOptionChain(nullptr);
}
