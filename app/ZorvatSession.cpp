#include <filesystem>
#include <vector>
#include "app/DataTable.h"
#include "app/FormMDIWnd.h"
#include "app/NorvMainFrame.h"
#include "app/TableFactory.h"
#include "app/ZorvatApp.h"
#include "app/SessionHooks.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"
#include "link/LinkProtocol.h"
#include "link/ServerMessage.h"
#include "link/ZorvatComm.h"
#include "platform/win/Windows.h"
#include "platform/win/user/MessageBox.h"
#include "refdata/ZorvatGlobals.h"

#define IDS_LINK_ERROR_CONNECTED 512
#define IDS_CONNECT_REFUSED 516
#define IDS_CONNECTION_LOST 599
#define IDS_CONNECTING 40329
#define IDS_LOGGED_IN 40332             // "%1": the user's name
#define IDS_ASK_RELOGIN 40336
#define IDS_ASK_DISCONNECT 40339
#define IDS_LINK_ENCRYPTED 40340

#define LINK_WINDOW_STYLE 0x50CF0000    // child, visible, overlapped window
#define US_HOLDINGS_ALL 3               // the holdings of every US account kind
#define ACCESS_LEVEL_OPEN 10

void CZORVAT32App::CreateLinkWindow()
{
    if (m_pComm != nullptr)
        return;
    m_pComm = new CZorvatComm(m_strLinkSettingsFile, &m_dispatcher, this);
    // Made visible in the MDI client, where the user sees the link's traffic.
    CRect rect(0, 0, 640, 400);
    if (m_pMainFrame != nullptr && m_pMainFrame->m_hWndMDIClient != nullptr) {
        ::GetClientRect(m_pMainFrame->m_hWndMDIClient, &rect);
        rect.top = rect.bottom / 2;
        rect.right = rect.right * 2 / 3;
    }
    if (!m_pComm->Create(nullptr, "Terminal", LINK_WINDOW_STYLE, rect, m_pMainFrame))
        m_pComm = nullptr;  // a failed creation deleted the window object
}

void CZORVAT32App::Connect()
{
    // The session ends before its windows go, so that the user's workspace is saved with them
    // and the next login brings them back.
    if (IsLoggedIn())
        Logoff();
    // The tables are made anew; the day's log goes on in the new information table. (The
    // start-up's first connection has nothing to carry but the workspace line it repeats.)
    if (m_pInfoTable != nullptr && m_pComm != nullptr)
        m_keptInfoLines = m_pInfoTable->GetLines();
    DestroyTickersAndTables();
    m_dispatcher.ResetInitialLoad();
    m_heldTableRequests.clear();
    // The lines this connection writes before its server tells the time are told again then.
    GetGlobals()->ForgetServerTime();
    BuildStandingSet();
    CreateLinkWindow();
    if (m_pComm != nullptr) {
        m_pComm->ShowLinkWindow(SW_SHOW);
        m_pComm->MDIActivate();
    }
    SetBusyFlag(TRUE);
    m_bConnectAsked = TRUE;
    if (m_pComm == nullptr || !m_pComm->Connect(LINK_DIRECT_SOCKET, 1)) {
        // A TCP connect finishes later; only a link that did not even start says so now.
        if (m_pComm == nullptr || !m_pComm->IsConnecting())
            ShowInfoResource(IDS_CONNECT_REFUSED, INFO_PRIORITY_ERROR);
    }
    if (m_pComm == nullptr || !m_pComm->IsConnecting())
        m_bConnectAsked = FALSE;    // it has answered already
    SetBusyFlag(FALSE);
}

void CZORVAT32App::OnConnectionState(int nCode)
{
    if (nCode >= 501 && nCode <= 598) {
        ShowInfoResource(static_cast<UINT>(nCode), 0);
        if (m_pComm != nullptr && !m_pComm->IsConnected()) {
            // Only the user's own connect asks for other settings; the link's timed retries
            // fail with their line here and wait for the next one.
            if (m_bConnectAsked) {
                m_bConnectAsked = FALSE;
                m_pComm->EditCommSettings(8);
            }
        } else {
            CString strText;
            GetSharedGlobals()->LoadString(strText, IDS_LINK_ERROR_CONNECTED);
            MessageBoxA(nullptr, strText, m_strAppTitle, MB_OK | MB_ICONSTOP);
        }
    } else if (nCode == COMM_STATE_LOST) {
        TellFormsLinkDown();
        CString strText;
        GetSharedGlobals()->LoadString(strText, IDS_CONNECTION_LOST);
        MessageBoxA(nullptr, strText, m_strAppTitle, MB_OK | MB_ICONSTOP);
    } else if (nCode == COMM_STATE_READY) {
        if (m_pComm != nullptr && m_pComm->IsEncrypted())
            ShowInfoResource(IDS_LINK_ENCRYPTED, 0);
        ShowInfoResource(IDS_CONNECTING, INFO_PRIORITY_NOTICE);
        SetBusyFlag(TRUE);
        m_bDisconnected = FALSE;
        m_bConnectAsked = FALSE;
        Logoff();
        // A new connection loads its data again and says so once more.
        m_dispatcher.ResetInitialLoad();
        CString strBody;
        strBody.Format("%d|%d", 0, ZORVAT_CLIENT_ID);
        SendRequest(MSG_VC, strBody);
    }
}

void CZORVAT32App::OnCommDestroyed()
{
    m_pComm = nullptr;
}

void CZORVAT32App::Login()
{
    // Called by the link's routing inside its read handler, where a modal dialog would keep the
    // link from reading: the frame runs the dialog once the handler has returned.
    if (m_pMainFrame != nullptr && m_pMainFrame->m_hWnd != nullptr) {
        if (!m_bLoginPosted)
            m_bLoginPosted = m_pMainFrame->PostMessage(WM_LOGIN_AGAIN);
        return;
    }
    RunLogin();
}

void CZORVAT32App::RunLogin()
{
    m_bLoginPosted = FALSE;
    if (m_pComm == nullptr || (!m_pComm->IsConnected() && !m_pComm->IsReplaying())) {
        Connect();
        return;
    }
    if (IsLoggedIn()) {
        if (AskYesNo(IDS_ASK_RELOGIN) != IDYES)
            return;
        Logoff();
    }
    CString strFile;
    GetSharedGlobals()->LoadString(strFile, IDS_SETTINGS_FILE);
    if (m_strWorkspaceFile != m_strProgramFolder + strFile)
        GetSharedGlobals()->m_settings.Open(m_strProgramFolder + strFile);
    m_strWorkspaceFile = m_strProgramFolder + strFile;
    BringInfoWindowToTop(INFO_PRIORITY_NOTICE);
    CString strUser, strPassword;
    if (!AskCredentials(strUser, strPassword))
        return;
    CString strBody;
    strBody.Format("%s|%s|", static_cast<LPCSTR>(strUser), static_cast<LPCSTR>(strPassword));
    SendRequest(MSG_UL, strBody);
    m_user.SetPassword(strPassword);
    WriteProfileText(".General", "MostRecentUserID", strUser);
}

CString CZORVAT32App::MakeUserWorkspaceFile(LPCSTR pszFolder, LPCSTR pszName, int nUserNumber, LPCSTR pszExtension)
{
    // The server's name becomes a file name: nothing in it may leave the folder or reach
    // another user's file, so only plain characters are kept.
    CString strStem;
    for (const char* p = pszName != nullptr ? pszName : ""; *p != '\0' && strStem.GetLength() < 8; ++p) {
        const unsigned char ch = static_cast<unsigned char>(*p);
        if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '-' || ch == '_')
            strStem += static_cast<char>(ch);
    }
    if (strStem.IsEmpty())
        strStem.Format("%d", nUserNumber);
    CString strFile;
    strFile.Format("%s%s.%s", pszFolder != nullptr ? pszFolder : "", static_cast<LPCSTR>(strStem),
                   pszExtension != nullptr && *pszExtension ? pszExtension : "ini");
    return strFile;
}

void CZORVAT32App::ResetSessionUser()
{
    // Nobody is logged in: nothing of the last user stays enabled or goes out with a request,
    // and no answer to the last user's changes can touch the next user's password.
    m_user.Reset();
    m_pendingChanges.clear();
    m_dispatcher.ResetInitialLoad();
    SetFrameTitle(m_strAppTitle);
}

void CZORVAT32App::OpenDefaultSettings()
{
    CString strFile;
    GetSharedGlobals()->LoadString(strFile, IDS_SETTINGS_FILE);
    m_strWorkspaceFile = m_strProgramFolder + strFile;
    GetSharedGlobals()->m_settings.Open(m_strWorkspaceFile);
}

void CZORVAT32App::OnLoginReply(CServerMessage* pReply)
{
    // The reason stays for the dialog that comes again; any other reply, or none, ends it.
    m_strLoginRefusal.Empty();
    if (pReply != nullptr && IsReplyError(pReply, 1) != 0)
        m_errors.FormatReplyError(&m_strLoginRefusal, 1, 2, pReply);
    if (pReply == nullptr || pReply->GetSize() <= 4) {
        ResetSessionUser();
        OpenDefaultSettings();
        return;
    }
    if (pReply->GetLong(1) != 0)
        return;
    const CString strPassword = m_user.GetPassword();
    m_user.SetFromLoginReply(*pReply);
    m_user.SetPassword(strPassword);

    CString strLine;
    GetSharedGlobals()->LoadString(strLine, IDS_LOGGED_IN);
    strLine.Replace("%1", m_user.GetName());
    AddInfoText(strLine);
    BringInfoWindowToTop(INFO_PRIORITY_NOTICE);
    // Each field a part of its own, so that right-to-left reading keeps their order.
    const LPCSTR pszMark = GetNorvGlobals().GetRtlMark();
    CString strTitle;
    strTitle.Format("%s [%s /%s %s /%s %s]", static_cast<LPCSTR>(m_strAppTitle),
                    static_cast<LPCSTR>(pReply->GetField(2)), pszMark, static_cast<LPCSTR>(m_user.GetUserText()),
                    pszMark, static_cast<LPCSTR>(pReply->GetField(4)));
    SetFrameTitle(strTitle);
    OpenUserWorkspace();
    SendLoginFollowUps();
    ReadBaseCurrency();
}

void CZORVAT32App::OpenUserWorkspace()
{
    // The user's windows appear together, once the workspace is whole. Another window's lock
    // (one at a time) is left alone: the frame then draws as it goes.
    const BOOL bFrame = m_pMainFrame != nullptr && m_pMainFrame->m_hWnd != nullptr;
    const BOOL bLocked = bFrame && m_pMainFrame->LockWindowUpdate();
    CString strExtension, strDefault;
    GetSharedGlobals()->LoadString(strExtension, IDS_WORKSPACE_EXTENSION);
    GetSharedGlobals()->LoadString(strDefault, IDS_SETTINGS_FILE);
    const CString strFile =
        MakeUserWorkspaceFile(m_strProgramFolder, m_user.GetName(), m_user.GetUserNumber(), strExtension);
    std::error_code ec;
    const BOOL bExists = std::filesystem::exists(static_cast<LPCSTR>(strFile), ec);
    if (strFile != m_strProgramFolder + strDefault && bExists) {
        LoadWorkspace(strFile, TRUE);
    } else {
        // A first login: the current settings become the user's own file.
        LoadWorkspace(m_strWorkspaceFile, bExists);
        SaveWorkspace();
        GetSharedGlobals()->m_settings.SaveSettingsFile();
        m_strWorkspaceFile = strFile;
        GetSharedGlobals()->m_settings.Open(strFile);
        SaveWorkspace();
        GetSharedGlobals()->m_settings.SaveSettingsFile();
        AddRecentFile(strFile);
        WriteProfileText(".General", "Workspace", strFile);
    }
    if (bLocked)
        m_pMainFrame->UnlockWindowUpdate();
    if (bFrame)
        m_pMainFrame->DrawMenuBar();
    BringInfoWindowToTop(INFO_PRIORITY_NOTICE);
}

void CZORVAT32App::SendLoginFollowUps()
{
    SendRequest(MSG_CT, GetLanguageCode());
    const BOOL bKse = m_user.GetKseAccessLevel() >= ACCESS_LEVEL_OPEN;
    if (bKse)
        for (int nType : {MSG_SL, MSG_TU, MSG_GM, MSG_GG})
            SendRequest(nType, "");
    SendRequest(MSG_HD, "1");
    // The account and schedule tables that exist ask for their rows; the others come later.
    if (IDataTable* pSchedule = FindTable(IDS_TABLE_MARKET_SCHEDULE))
        pSchedule->SendRequest();
    if (m_user.GetRole() >= 3) {
        GetGlobals()->RequestMarketList();
        if (m_user.GetUsAccessLevel() >= ACCESS_LEVEL_OPEN) {
            for (UINT nTable : {IDS_TABLE_US_EXECUTED_TRADES, IDS_TABLE_US_ORDER_STATUS})
                if (IDataTable* pTable = FindTable(nTable))
                    pTable->SendRequest();
            if (IDataTable* pHoldings = FindTable(IDS_TABLE_US_HOLDINGS))
                pHoldings->SendRequestFor(US_HOLDINGS_ALL, nullptr);
            if (IDataTable* pCombined = FindTable(IDS_TABLE_COMBINED_HOLDINGS))
                pCombined->SendRequestFor(US_HOLDINGS_ALL, m_user.GetAccountText());
        }
        GetGlobals()->RequestCurrencyList();
    }
    // The quotations that stayed from the last session are the new session's to stream again.
    if (IDataTable* pQuotes = FindTable(IDS_TABLE_US_QUOTATIONS))
        pQuotes->ResubscribeAll();
    CString strBody;
    strBody.Format("||%ld|%ld", static_cast<long>(m_user.GetUserNumber()), 0L);
    SendRequest(MSG_VX, strBody);
    // The load ends with a reply the session asked for: the holidays below role 3, the KSE
    // order status where it was requested, else the stream every login asks for last.
    if (m_user.GetRole() < 3)
        m_dispatcher.SetAwaitedType(MSG_HD);
    else if (bKse && FindTable(IDS_TABLE_KSE_ORDER_STATUS) != nullptr)
        m_dispatcher.SetAwaitedType(MSG_KB);
    else
        m_dispatcher.SetAwaitedType(MSG_VX);
}

void CZORVAT32App::ReadBaseCurrency()
{
    CString strCode = ReadProfileText(".General", "BaseCurrency", "");
    if (strCode.IsEmpty())
        strCode = "=KWD";
    SetBaseCurrency(strCode);
}

void CZORVAT32App::Logoff()
{
    if (m_bAutoSave)
        SaveWorkspace();
    // The session's forms close into the user's own file, where they are looked for at the next
    // login, and only then does the shared default file take over. Chart and page frames go
    // after: gone from view as they are destroyed, they would write themselves hidden into the
    // user's file over the places its workspace saved.
    ResetSessionUser();
    CloseStandingWindows(FALSE);
    OpenDefaultSettings();
    CloseStandingWindows(TRUE);
    m_dispatcher.ResetInitialLoad();
    m_heldTableRequests.clear();
    // The next user's session subscribes again.
    m_bMarketDataSubscribed = FALSE;
    m_bKseStockListIn = FALSE;
    // What the next user must not find of this one (kept trading passwords).
    RunLogoffHooks();
}

namespace {
// The MDI children now: closing one changes the list, so they are gathered first.
std::vector<HWND> MdiChildren(const CMDIFrameWnd* pMainFrame)
{
    std::vector<HWND> children;
    if (pMainFrame == nullptr || pMainFrame->m_hWnd == nullptr || pMainFrame->m_hWndMDIClient == nullptr)
        return children;
    for (HWND hChild = ::GetWindow(pMainFrame->m_hWndMDIClient, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        children.push_back(hChild);
    return children;
}

// The form frame of that window while it lives, else null.
CFormMDIWnd* LiveForm(HWND hChild)
{
    return ::IsWindow(hChild) ? dynamic_cast<CFormMDIWnd*>(CWnd::FromHandlePermanent(hChild)) : nullptr;
}

// String nTextId naming the form ("%1": its title) when it holds an order typed and not sent;
// empty when it holds none.
CString UnsentOrderLine(CFormMDIWnd* pForm, UINT nTextId)
{
    CWnd* pView = pForm->GetView();
    if (pView == nullptr || pView->m_hWnd == nullptr || pView->SendMessage(WM_FORM_HOLDS_ORDER) == 0)
        return "";
    CString strTitle, strLine;
    pForm->GetWindowText(strTitle);
    GetSharedGlobals()->LoadString(strLine, nTextId);
    strLine.Replace("%1", strTitle);
    return strLine;
}
}  // namespace

std::vector<CString> CZORVAT32App::DescribeUnsentOrders(UINT nTextId) const
{
    std::vector<CString> lines;
    for (HWND hChild : MdiChildren(m_pMainFrame))
        if (CFormMDIWnd* pForm = LiveForm(hChild))
            if (CString strLine = UnsentOrderLine(pForm, nTextId); !strLine.IsEmpty())
                lines.push_back(strLine);
    return lines;
}

void CZORVAT32App::TellFormsLinkDown()
{
    for (HWND hChild : MdiChildren(m_pMainFrame))
        if (CFormMDIWnd* pForm = LiveForm(hChild))
            if (pForm->GetView() != nullptr && pForm->GetView()->m_hWnd != nullptr)
                pForm->GetView()->SendMessage(WM_FORM_LINK_DOWN);
}

void CZORVAT32App::TellFormsOrderRows()
{
    for (HWND hChild : MdiChildren(m_pMainFrame))
        if (CFormMDIWnd* pForm = LiveForm(hChild))
            if (pForm->GetView() != nullptr && pForm->GetView()->m_hWnd != nullptr)
                ::PostMessageA(pForm->GetView()->m_hWnd, WM_FORM_ORDER_ROWS, 0, 0);
}

void CZORVAT32App::CloseStandingWindows(BOOL bChartsAndPages)
{
    for (HWND hChild : MdiChildren(m_pMainFrame)) {
        CFormMDIWnd* pForm = LiveForm(hChild);
        if (pForm == nullptr)
            continue;
        // Chart and page frames only hide on WM_CLOSE; the next user must not find them (or
        // what they showed), so they go for good and clear their slots as they do.
        if (dynamic_cast<CHidingFormWnd*>(pForm) != nullptr) {
            if (bChartsAndPages)
                pForm->DestroyWindow();
            continue;
        }
        switch (pForm->GetTemplateId()) {
        case IDD_FORM_NEWS_READER:
        case IDD_FORM_OPTION_CHAIN:
        case IDD_FORM_EXPIRATION:
            break;      // not the session's: they stay open across users
        default: {
            // An order typed and never sent goes with its ticket: the trader is told which.
            const CString strLine = UnsentOrderLine(pForm, IDS_ORDER_LEFT_UNSENT);
            pForm->SendMessage(WM_CLOSE);
            if (!strLine.IsEmpty()) {
                AddInfoText(strLine);
                BringInfoWindowToTop(INFO_PRIORITY_ERROR);
            }
            break;
        }
        }
    }
}

void CZORVAT32App::Disconnect(BOOL bAsk)
{
    if (bAsk && AskYesNo(IDS_ASK_DISCONNECT) != IDYES)
        return;
    if (m_pComm == nullptr)
        return;
    if (!m_bDisconnected)
        Logoff();
    m_bDisconnected = TRUE;
    m_pComm->Disconnect(FALSE);
    TellFormsLinkDown();
}

void CZORVAT32App::OnRatesIn()
{
    m_bRatesIn = TRUE;
    CStringArray codes;
    GetGlobals()->GetCurrencyCodes(codes);
    for (int i = 0; i < codes.GetSize(); ++i)
        SetCrossRate(codes[i], codes[i], 1.0);
    // Rows that came before the rates are converted now: a row no quote revalues has no other turn.
    for (IDataTable* pTable : GetTables())
        pTable->ConvertToBaseCurrency();
}

void CZORVAT32App::OnCurrencyListIn()
{
    // A list that comes after the rates names currencies they have not set to themselves yet.
    if (m_bRatesIn)
        OnRatesIn();
}

void CZORVAT32App::OnSymbolListsIn()
{
    // The last symbol list has come: a reply that came before it names its companies now, and
    // the orders are asked for again, now that they can be shown.
    for (IDataTable* pTable : GetTables())
        pTable->NameCompanies();
    if (IDataTable* pOrders = FindTable(IDS_TABLE_US_ORDER_STATUS))
        pOrders->SendRequest();
}
