#include "app/ZorvatApp.h"

#include <cstring>
#include <vector>

#include "app/DataTable.h"
#include "app/NorvMainFrame.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "framework/table/SortColumns.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "framework/base/SharedGlobals.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/kernel/Shell.h"
#include "refdata/ZorvatGlobals.h"

#define IDS_WEB_SITE 57066              // the broker's site, opened in the desktop's browser
#define IDS_OPTION_SECTION 40373        // the profile's place of the market-depth option
#define IDS_OPTION_KEY 40379
#define ACCESS_LEVEL_OPEN 10


// What follows the creation of a standing table.
enum STANDING_FLAGS
{
    STANDING_INFO_WINDOW = 1,       // it becomes the information window and is shown
    STANDING_FOLLOW_LAST_ROW = 2,   // its main window follows the last row
    STANDING_WITH_OPTION = 4,       // made only with the market-depth option
};

// The tables kept for the whole session, in the order they are made. A name id without a maker
// (its class is not built) is left out.
const struct { UINT nNameId; UINT nTitleId; int nFlags; } s_standingSet[] = {
    {50001, 56710, STANDING_INFO_WINDOW},                   // CZorvatInfoTable
    {51110, 56721, STANDING_FOLLOW_LAST_ROW},               // COrderStatusTable
    {51130, 56726, 0},                                      // CExecutedTradesTable
    {51200, 56769, 0},                                      // CUnrealizedProfitLossTable
    {41125, 41126, 0},                                      // CCombinedHoldingsTable
    {51170, 56745, 0},                                      // CInvestorHoldingsTable
    {56256, 56790, 0},                                      // CInvestorHoldingsKSETable
    {51921, 56779, 0},                                      // CQuotationTable
    {51954, 56782, STANDING_FOLLOW_LAST_ROW},               // CTimeAndSalesTable
    {51990, 56788, 0},                                      // CHolidayTable
    {51960, 56783, 0},                                      // CNewsTable
    {51128, 56725, STANDING_FOLLOW_LAST_ROW},               // COrderStatusKSETable
    {51164, 56737, STANDING_FOLLOW_LAST_ROW},               // COrderStatusActiveKSETable
    {51165, 56738, STANDING_FOLLOW_LAST_ROW},               // COrderStatusFilledKSETable
    {51166, 56739, STANDING_FOLLOW_LAST_ROW},               // COrderStatusCancelledKSETable
    {51142, 56740, 0},                                      // CExecutedTradesKSETable
    {56370, 56797, 0},                                      // COrderStatusForwardTable
    {56376, 56798, 0},                                      // CStockListKSETable
    {56382, 56799, 0},                                      // CTicksUnitsKSETable
    {55432, 55433, 0},                                      // CIndicesKSETable
    {52110, 56780, STANDING_WITH_OPTION},                   // COrderBookKSETable
    {52111, 56781, STANDING_WITH_OPTION},                   // COrderBookOddLotKSETable
    {52112, 56728, STANDING_WITH_OPTION},                   // CTimeAndSalesKSETable
    {52113, 56729, STANDING_WITH_OPTION},                   // CTimeAndSalesOddLotKSETable
    {52114, 56730, 0},                                      // CQuotationKSETable
    {52115, 56731, 0},                                      // CQuotationOddLotKSETable
    {52121, 52122, 0},                                      // CQuotationFwdKSETable
    {55335, 56789, 0},                                      // CCorporateEventsKSETable
    {57200, 57201, 0},                                      // COptionChainTable
    {57256, 57257, 0},                                      // CInternationalInterestRatesTable
    {57275, 57276, 0},                                      // CInternationalExchangeRatesTable
    {57396, 57495, 0},                                      // CInternationalOrderBookTable
    {57483, 57496, 0},                                      // CInternationalMarketMakerOrderBookTable
    {41057, 41058, 0},                                      // CInternationalMarketScheduleTable
};

// What a table command does with its table.
enum TABLE_ACTION
{
    TABLE_SHOW,     // a standing table: only shown
    TABLE_OPEN,     // made when missing (with its companion), first request when made, shown
    TABLE_REFRESH,  // made when missing, shown, then its own request (IDataTable::SendRequest)
    // As TABLE_REFRESH, the request with argument 0, or for the user's account.
    TABLE_REFRESH_ZERO,
    TABLE_REFRESH_ACCOUNT,
    TABLE_OPEN_REFRESH,     // made when missing with its own request (IDataTable::SendRequest), shown
    // As the three TABLE_REFRESH kinds, the request sent before the window shows.
    TABLE_REQUEST_SHOW,
    TABLE_REQUEST_ZERO_SHOW,
    TABLE_REQUEST_ACCOUNT_SHOW,
};

// One table command: its table, what it does, and for an opener the first request (its body a
// format that takes the language code) and the companion table made beside it, not shown.
struct CZORVAT32App::TABLE_COMMAND
{
    UINT nCommand;
    TABLE_ACTION action;
    UINT nNameId;
    UINT nTitleId;
    int nFirstRequest;                  // 0: none
    LPCSTR pszBody;
    UINT nCompanionId;                  // 0: none
    UINT nCompanionTitleId;
};

const CZORVAT32App::TABLE_COMMAND CZORVAT32App::s_tableCommands[] = {
    {ID_APP_US_QUOTES, TABLE_SHOW, 51921, 56779, 0, nullptr, 0, 0},
    {ID_APP_US_HOLDINGS, TABLE_SHOW, 51170, 56745, 0, nullptr, 0, 0},
    {ID_APP_US_UNREALIZED, TABLE_REQUEST_SHOW, 51200, 56769, 0, nullptr, 0, 0},
    {ID_APP_KSE_HOLDINGS, TABLE_SHOW, 56256, 56790, 0, nullptr, 0, 0},
    {ID_APP_COMBINED_HOLDINGS, TABLE_SHOW, 41125, 41126, 0, nullptr, 0, 0},
    // The account tables: shown, their option columns hidden again.
    {33101, TABLE_SHOW, 51110, 56721, 0, nullptr, 0, 0},
    {33103, TABLE_SHOW, 51130, 56726, 0, nullptr, 0, 0},
    {33224, TABLE_SHOW, 51128, 56725, 0, nullptr, 0, 0},
    {33226, TABLE_SHOW, 51142, 56740, 0, nullptr, 0, 0},
    {33228, TABLE_SHOW, 51164, 56737, 0, nullptr, 0, 0},
    {33229, TABLE_SHOW, 51165, 56738, 0, nullptr, 0, 0},
    {33230, TABLE_SHOW, 51166, 56739, 0, nullptr, 0, 0},
    {33241, TABLE_SHOW, 56370, 56797, 0, nullptr, 0, 0},
    {ID_APP_US_TIME_SALES, TABLE_SHOW, 51954, 56782, 0, nullptr, 0, 0},
    {ID_APP_US_TIME_SALES_2, TABLE_SHOW, 51954, 56782, 0, nullptr, 0, 0},
    {ID_APP_KSE_STOCK_LIST, TABLE_SHOW, 56376, 56798, 0, nullptr, 0, 0},
    {ID_APP_KSE_TICK_UNITS, TABLE_SHOW, 56382, 56799, 0, nullptr, 0, 0},
    {ID_APP_KSE_TIME_SALES, TABLE_OPEN, 52112, 56728, MSG_TE, "", 52113, 56729},
    {ID_APP_FWD_TIME_SALES, TABLE_OPEN, 52119, 52120, MSG_FE, "", 0, 0},
    {ID_APP_FWD_RULES, TABLE_OPEN, 52171, 52172, MSG_FR, "|||%s", 0, 0},
    {ID_APP_GAINERS, TABLE_REFRESH, 51977, 56785, 0, nullptr, 0, 0},
    {ID_APP_LOSERS, TABLE_REFRESH, 51978, 56786, 0, nullptr, 0, 0},
    {ID_APP_MOST_ACTIVE, TABLE_REFRESH, 51979, 56787, 0, nullptr, 0, 0},
    {ID_APP_HOLIDAYS, TABLE_SHOW, 51990, 56788, 0, nullptr, 0, 0},
    {ID_APP_NEWS_LIST, TABLE_REFRESH, 57744, 57747, 0, nullptr, 0, 0},
    {ID_APP_NEWS, TABLE_REFRESH_ZERO, 51960, 56783, 0, nullptr, 0, 0},
    {ID_APP_KSE_EVENTS, TABLE_REQUEST_ZERO_SHOW, 55335, 56789, 0, nullptr, 0, 0},
    {ID_APP_KSE_NEWS_BROWSER, TABLE_REFRESH_ZERO, 56938, 56939, 0, nullptr, 0, 0},
    {ID_APP_KSE_NEWS, TABLE_REFRESH, 56915, 56916, 0, nullptr, 0, 0},
    {ID_APP_MARGIN_DETAILS, TABLE_REQUEST_ACCOUNT_SHOW, 57049, 57050, 0, nullptr, 0, 0},
    {33309, TABLE_REQUEST_SHOW, 57052, 57053, 0, nullptr, 0, 0},
    {33310, TABLE_REQUEST_SHOW, 57054, 57055, 0, nullptr, 0, 0},
    {33313, TABLE_REQUEST_SHOW, 57056, 57057, 0, nullptr, 0, 0},
    {33235, TABLE_REQUEST_SHOW, 56304, 56795, 0, nullptr, 0, 0},
    {33276, TABLE_OPEN_REFRESH, 56608, 56791, 0, nullptr, 0, 0},
    {ID_APP_KSE_QUOTES, TABLE_SHOW, 52114, 56730, 0, nullptr, 0, 0},
    {ID_APP_KSE_ORDER_BOOK, TABLE_OPEN, 52110, 56780, MSG_OB, "", 0, 0},
    {ID_APP_KSE_INDICES, TABLE_OPEN, 55432, 55433, MSG_LX, "", 0, 0},
    {ID_APP_FWD_QUOTES, TABLE_OPEN, 52121, 52122, MSG_FQ, "", 0, 0},
    {ID_APP_FWD_OPEN_INTEREST, TABLE_OPEN, 52160, 52161, MSG_OI, "", 0, 0},
    {ID_APP_EXCHANGE_RATES, TABLE_REQUEST_SHOW, 57275, 57276, 0, nullptr, 0, 0},
    {ID_APP_INTEREST_RATES, TABLE_REQUEST_SHOW, 57256, 57257, 0, nullptr, 0, 0},
    {ID_APP_INTL_BOOK, TABLE_OPEN, 57396, 57495, 0, nullptr, 0, 0},
    {ID_APP_INTL_BOOK_2, TABLE_OPEN, 57396, 57495, 0, nullptr, 0, 0},
    {ID_APP_INTL_MM_BOOK, TABLE_OPEN, 57483, 57496, 0, nullptr, 0, 0},
};

// The further KSE quotation windows: each sorts its own view by one column, some with the cursor
// put back on the first cell.
const struct { UINT nCommand; int nColumn; int nDirection; BOOL bCursorHome; } s_quotationSorts[] = {
    {ID_APP_KSE_SORT_FIRST, 17, -1, TRUE},
    {ID_APP_KSE_SORT_FIRST + 1, 17, 1, TRUE},
    {ID_APP_KSE_SORT_FIRST + 2, 7, -1, FALSE},
};

std::vector<std::pair<UINT, UINT>> CZORVAT32App::GetTableCommands()
{
    std::vector<std::pair<UINT, UINT>> commands;
    for (const TABLE_COMMAND& command : s_tableCommands)
        commands.emplace_back(command.nCommand, command.nNameId);
    return commands;
}

int CZORVAT32App::OpenStandingTables()
{
    // The windows appear together once the set is made.
    if (m_pMainFrame != nullptr && m_pMainFrame->m_hWnd != nullptr)
        m_pMainFrame->SendMessage(WM_SETREDRAW, FALSE);
    for (const auto& row : s_standingSet) {
        if ((row.nFlags & STANDING_WITH_OPTION) != 0 && !GetGlobals()->m_bOption)
            continue;
        IDataTable* pTable = MakeTable(row.nNameId, 0, row.nTitleId);
        if (pTable == nullptr)
            continue;
        CTableMDIWnd* pMain = pTable->GetMainWindow();
        if ((row.nFlags & STANDING_FOLLOW_LAST_ROW) != 0 && pMain != nullptr)
            pMain->GetGrid().SetFollowLastRow(TRUE);
        if ((row.nFlags & STANDING_INFO_WINDOW) != 0)
            AdoptInfoTable(pTable);
    }
    if (m_pMainFrame != nullptr && m_pMainFrame->m_hWnd != nullptr) {
        m_pMainFrame->SendMessage(WM_SETREDRAW, TRUE);
        m_pMainFrame->Invalidate();
    }
    return 1;
}

void CZORVAT32App::AdoptInfoTable(IDataTable* pTable)
{
    m_pInfoTable = dynamic_cast<IInfoTable*>(pTable);
    if (m_pInfoTable == nullptr) {
        // Some other table under the information table's id is of no use here.
        if (FindTableByName(pTable->GetName()) == pTable)
            RemoveTable(&pTable);
        else
            delete pTable;
        return;
    }
    GetSharedGlobals()->m_pInfoWindow = m_pInfoTable;
    m_pInfoTable->AddLines(m_keptInfoLines);
    m_keptInfoLines.clear();
    ShowTable(pTable);
}

IDataTable* CZORVAT32App::MakeMissingTable(UINT nNameId, UINT nTitleId, BOOL* pbMade)
{
    *pbMade = FALSE;
    if (IDataTable* pTable = FindTable(nNameId))
        return pTable;
    IDataTable* pTable = MakeTable(nNameId, 0, nTitleId);
    if (pTable == nullptr)
        return nullptr;
    *pbMade = TRUE;
    if (CTableMDIWnd* pMain = pTable->GetMainWindow())
        pMain->LoadSettings();
    return pTable;
}

void CZORVAT32App::OnTableCommand(UINT nId)
{
    for (const TABLE_COMMAND& command : s_tableCommands) {
        if (command.nCommand != nId)
            continue;
        if (command.action == TABLE_SHOW) {
            IDataTable* pShown = FindTable(command.nNameId);
            ShowTable(pShown);
            // A table's own columns (options) stay hidden whatever its window was left with.
            if (pShown != nullptr)
                pShown->SetColumnsHidden(TRUE);
            return;
        }
        BOOL bMade = FALSE;
        IDataTable* pTable = MakeMissingTable(command.nNameId, command.nTitleId, &bMade);
        if (pTable == nullptr)
            return;     // its class is not there: the command fails quietly
        if (command.nCompanionId != 0) {
            BOOL bCompanionMade = FALSE;
            MakeMissingTable(command.nCompanionId, command.nCompanionTitleId, &bCompanionMade);
        }
        if (m_bHoldTableRequests) {
            m_heldTableRequests.emplace_back(nId, bMade);
            ShowTable(pTable);
        } else {
            SendCommandRequests(command, pTable, bMade, TRUE);
        }
        pTable->SetColumnsHidden(TRUE);
        return;
    }
}

void CZORVAT32App::SendCommandRequests(const TABLE_COMMAND& command, IDataTable* pTable, BOOL bMade, BOOL bShow)
{
    if (bMade && command.nFirstRequest != 0) {
        CString strBody;
        strBody.Format(command.pszBody, GetLanguageCode());
        SendRequest(command.nFirstRequest, strBody);
    }
    if (bMade && command.action == TABLE_OPEN_REFRESH)
        pTable->SendRequest();
    const BOOL bRequestFirst = command.action == TABLE_REQUEST_SHOW || command.action == TABLE_REQUEST_ZERO_SHOW ||
                               command.action == TABLE_REQUEST_ACCOUNT_SHOW;
    if (bRequestFirst)
        SendTableRequest(pTable, command.action);
    if (bShow)
        ShowTable(pTable);
    if (!bRequestFirst)
        SendTableRequest(pTable, command.action);
}

void CZORVAT32App::OnStandingTableRestored(IDataTable* pTable)
{
    // Shown again, it asks for its rows as its command would (US unrealized is made at the
    // login but asked for only by its command).
    for (const TABLE_COMMAND& command : s_tableCommands) {
        BOOL bEnabled = FALSE;
        if (command.action == TABLE_SHOW || FindTable(command.nNameId) != pTable ||
            !GetCommandState(command.nCommand, &bEnabled, nullptr) || !bEnabled)
            continue;
        if (m_bHoldTableRequests)
            m_heldTableRequests.emplace_back(command.nCommand, FALSE);
        else
            SendTableRequest(pTable, command.action);
        return;
    }
}

void CZORVAT32App::OnInitialLoadDone()
{
    const std::vector<std::pair<UINT, BOOL>> held = std::move(m_heldTableRequests);
    m_heldTableRequests.clear();
    for (const auto& [nCommand, bMade] : held)
        for (const TABLE_COMMAND& command : s_tableCommands)
            if (command.nCommand == nCommand) {
                // Shown as the workspace placed them: only asked for.
                if (IDataTable* pTable = FindTable(command.nNameId))
                    SendCommandRequests(command, pTable, bMade, FALSE);
                break;
            }
}

void CZORVAT32App::SendTableRequest(IDataTable* pTable, int nAction)
{
    switch (nAction) {
    case TABLE_REFRESH:
    case TABLE_REQUEST_SHOW:
        pTable->SendRequest();
        break;
    case TABLE_REFRESH_ZERO:
    case TABLE_REQUEST_ZERO_SHOW:
        pTable->SendRequestFor(0, "");
        break;
    case TABLE_REFRESH_ACCOUNT:
    case TABLE_REQUEST_ACCOUNT_SHOW:
        pTable->SendRequestFor(0, m_user.GetAccountText());
        break;
    default:
        break;
    }
}

IDataTable* CZORVAT32App::MakeWorkspaceTable(LPCSTR pszName)
{
    // Only a table its command may open for this user, made as the command makes it.
    for (const TABLE_COMMAND& command : s_tableCommands) {
        if (command.action == TABLE_SHOW)
            continue;
        CString strName;
        GetSharedGlobals()->LoadString(strName, command.nNameId);
        BOOL bEnabled = FALSE;
        if (strName != pszName || !GetCommandState(command.nCommand, &bEnabled, nullptr) || !bEnabled)
            continue;
        RunCommand(command.nCommand);
        return FindTableByName(pszName);
    }
    return nullptr;
}

void CZORVAT32App::ReportLeftOut(LPCSTR pszName, UINT nLineId)
{
    if (IsLoggedIn())
        CNorvApp::ReportLeftOut(pszName, nLineId);
}

namespace {

// The reports the account and market dialogs make for what the user chose there (an account,
// dates, a company): a new connection closes them, and no workspace can ask for them again.
const struct { UINT nNameId; UINT nTitleId; } s_dialogReports[] = {
    {41176, 41177}, {41152, 41153}, {56305, 56796}, {56272, 56794}, {51220, 56770}, {51180, 56746}, {51965, 56784},
    {51580, 56765},     // the ticker lookup's results
};

// The two language libraries, to match a saved name against both.
class CBothLanguages
{
public:
    CBothLanguages() : m_modules{LoadLibraryA("_1252.dll"), LoadLibraryA("_1256.dll")} {}
    ~CBothLanguages()
    {
        for (HMODULE hModule : m_modules)
            if (hModule != nullptr)
                FreeLibrary(hModule);
    }
    CBothLanguages(const CBothLanguages&) = delete;
    CBothLanguages& operator=(const CBothLanguages&) = delete;
    BOOL Says(UINT nId, LPCSTR pszText) const
    {
        for (HMODULE hModule : m_modules) {
            char szText[256];
            if (hModule != nullptr && LoadStringA(hModule, nId, szText, sizeof szText) > 0 && strcmp(szText, pszText) == 0)
                return TRUE;
        }
        return FALSE;
    }

private:
    HMODULE m_modules[2];
};

}  // namespace

CZORVAT32App::NAMED_TABLE CZORVAT32App::FindNamedTable(LPCSTR pszSaved) const
{
    if (pszSaved == nullptr || *pszSaved == '\0')
        return {};
    std::vector<NAMED_TABLE> known;
    for (const auto& row : s_standingSet)
        known.push_back({row.nNameId, row.nTitleId, FALSE});
    for (const TABLE_COMMAND& command : s_tableCommands) {
        known.push_back({command.nNameId, command.nTitleId, FALSE});
        if (command.nCompanionId != 0)
            known.push_back({command.nCompanionId, command.nCompanionTitleId, FALSE});
    }
    for (const auto& report : s_dialogReports)
        known.push_back({report.nNameId, report.nTitleId, TRUE});
    // This session's own names first; the libraries are read only for a name of another.
    for (const NAMED_TABLE& table : known) {
        CString strName;
        GetSharedGlobals()->LoadString(strName, table.nNameId);
        if (strName == pszSaved)
            return table;
    }
    // Held for the process: a damaged file may name a thousand unknown windows.
    static const CBothLanguages s_languages;
    const CBothLanguages& languages = s_languages;
    for (const NAMED_TABLE& table : known)
        if (languages.Says(table.nNameId, pszSaved) || languages.Says(table.nTitleId, pszSaved))
            return table;
    return {};
}

CString CZORVAT32App::WorkspaceTableName(LPCSTR pszSaved) const
{
    if (FindTableByName(pszSaved) != nullptr)
        return pszSaved;
    const NAMED_TABLE table = FindNamedTable(pszSaved);
    if (table.nNameId == 0)
        return pszSaved;
    CString strName;
    GetSharedGlobals()->LoadString(strName, table.nNameId);
    return strName;
}

void CZORVAT32App::ReportLeftOutTable(LPCSTR pszName)
{
    const NAMED_TABLE table = FindNamedTable(pszName);
    if (table.nNameId == 0) {
        ReportLeftOut(pszName);
        return;
    }
    CString strTitle;
    GetSharedGlobals()->LoadString(strTitle, table.nTitleId);
    ReportLeftOut(strTitle, table.bReport ? IDS_WORKSPACE_REPORT_CLOSED : IDS_WORKSPACE_LEFT_OUT);
}

void CZORVAT32App::OnQuotationSort(UINT nId)
{
    IDataTable* pQuotes = FindTable(IDS_TABLE_KSE_QUOTATIONS);
    if (pQuotes != nullptr)
        ApplyQuotationSort(pQuotes->OpenWindow(TRUE), nId);
}

void CZORVAT32App::OnExtraWindowRestored(IDataTable* pTable, CTableMDIWnd* pWindow)
{
    // The layout keeps a sort window's sort but not its title: a window sorted as a sort
    // command sorts is titled as the command titles it, in this session's language.
    CViewTable* pView = pWindow != nullptr ? pWindow->GetView() : nullptr;
    if (pTable != FindTable(IDS_TABLE_KSE_QUOTATIONS) || pView == nullptr || pView->GetSortColumns().GetCount() == 0)
        return;
    const CSortPair& key = pView->GetSortColumns().GetAt(0);
    for (const auto& sort : s_quotationSorts)
        if (key.m_nColumn == sort.nColumn && key.m_nDirection == sort.nDirection) {
            ApplyQuotationSort(pWindow, sort.nCommand);
            return;
        }
}

void CZORVAT32App::ApplyQuotationSort(CTableMDIWnd* pWindow, UINT nId)
{
    for (const auto& sort : s_quotationSorts) {
        if (sort.nCommand != nId)
            continue;
        CViewTable* pView = pWindow != nullptr ? pWindow->GetView() : nullptr;
        if (pView == nullptr)
            return;
        CSortColumns keys(30);
        keys.Add(sort.nColumn, sort.nDirection);
        pView->Sort(keys, FALSE);
        // Titled by what it lists: the command's short name, after the prompt's line feed.
        CString strPrompt;
        GetSharedGlobals()->LoadString(strPrompt, nId);
        const int nBreak = strPrompt.ReverseFind('\n');
        if (nBreak >= 0 && nBreak + 1 < strPrompt.GetLength()) {
            pView->SetTitle(strPrompt.Mid(nBreak + 1), 0);
            pView->SetTitle(strPrompt.Mid(nBreak + 1), 1);
        }
        if (sort.bCursorHome)
            pWindow->GetGrid().SetCurrentCell(0, 0);
        return;
    }
}

void CZORVAT32App::OnMarketSchedule(UINT nId)
{
    IDataTable* pSchedule = FindTable(IDS_TABLE_MARKET_SCHEDULE);
    if (pSchedule == nullptr)
        return;
    ShowTable(pSchedule);
    long nMarket = 0;
    HMENU hMain = m_pMainFrame != nullptr && m_pMainFrame->m_hWnd != nullptr ? ::GetMenu(m_pMainFrame->m_hWnd) : nullptr;
    char szName[128] = "";
    // The item's text is the market's name as the menu was built; a name no longer listed is 0.
    if (nId != ID_APP_MARKET_ALL && hMain != nullptr &&
        GetMenuStringA(hMain, nId, szName, static_cast<int>(sizeof(szName)), MF_BYCOMMAND) > 0)
        nMarket = GetGlobals()->GetMarketCode(szName);
    pSchedule->FilterByMarket(nMarket);
}

void CZORVAT32App::OnMessageDR(CServerMessage* pMsg)
{
    if (pMsg == nullptr)
        return;
    const CString strState = pMsg->GetField(1);
    const char chState = strState.IsEmpty() ? 'x' : strState[0];
    // The KSE requests wait for the list that names their stocks: its end subscribes.
    if (pMsg->GetLong(2) == -1 && chState == 'K' && (m_user.GetKseAccessLevel() < ACCESS_LEVEL_OPEN || m_bKseStockListIn))
        SubscribeMarketData();
}

void CZORVAT32App::OnKseStockListIn()
{
    m_bKseStockListIn = TRUE;
    SubscribeMarketData();
}

void CZORVAT32App::SubscribeMarketData()
{
    if (m_bMarketDataSubscribed)
        return;
    // Set before anything goes out: a request the link drops is not tried again this session.
    m_bMarketDataSubscribed = TRUE;
    if (m_user.GetKseAccessLevel() >= ACCESS_LEVEL_OPEN) {
        for (int nType : {MSG_LX, MSG_SQ, MSG_FQ})
            SendRequest(nType, "");
        for (UINT nTable : {IDS_TABLE_KSE_EXECUTED_TRADES, IDS_TABLE_KSE_ORDER_STATUS, IDS_TABLE_KSE_HOLDINGS})
            if (IDataTable* pTable = FindTable(nTable))
                pTable->SendRequest();
        if (GetGlobals()->m_bOption) {
            SendRequest(MSG_TE, "1");
            SendRequest(MSG_OB, "");
        }
    }
}

BOOL CZORVAT32App::OpenExternalBrowser(LPCSTR pszAddress)
{
    if (pszAddress == nullptr || *pszAddress == '\0')
        return FALSE;
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = pszAddress;
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExA(&info);
}

void CZORVAT32App::OnWebSite(UINT)
{
    CString strAddress;
    GetSharedGlobals()->LoadString(strAddress, IDS_WEB_SITE);
    OpenExternalBrowser(strAddress);
}

void CZORVAT32App::OnMarketDepth(UINT)
{
    CZorvatGlobals* pGlobals = GetGlobals();
    pGlobals->m_bOption = !pGlobals->m_bOption;
    CString strSection, strKey;
    GetSharedGlobals()->LoadString(strSection, IDS_OPTION_SECTION);
    GetSharedGlobals()->LoadString(strKey, IDS_OPTION_KEY);
    WriteProfileText(strSection, strKey, pGlobals->m_bOption ? "Yes" : "No");
}

int CZORVAT32App::GetMarketDepthCheck(UINT) const
{
    return GetGlobals()->m_bOption ? 1 : 0;
}
