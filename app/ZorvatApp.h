#pragma once
// The terminal's application object: it owns the session (the user, the link, the message
// source every server-fed object registers with, the error texts, the currency rates) and,
// through CNorvApp, the table map and the workspace. Start-up chooses the language and builds the
// main frame; the session connects, runs the handshake and logs the user in; the commands carry
// out the menu with its privilege rules. Implementation by concern: ZorvatApp.cpp (services and
// standing tables), ZorvatSession.cpp (connection, login, log-off), ZorvatStartup.cpp (start-up
// and exit), ZorvatCommands.cpp (the command table).
#include <deque>
#include <vector>

#include "app/AppCommands.h"
#include "app/HtmlPages.h"
#include "app/NorvApp.h"
#include "app/InfoTable.h"
#include "app/Tickers.h"
#include "link/AppServices.h"
#include "link/ErrorDictionary.h"
#include "link/MessageDispatcher.h"
#include "link/MessageSource.h"
#include "link/RefDataServices.h"
#include "refdata/CurrencyRates.h"
#include "refdata/MarketListClient.h"
#include "refdata/NorvFormat.h"
#include "refdata/ZorvatTypes.h"
#include "platform/mfc/StringArray.h"
#include "refdata/User.h"

class CZorvatComm;
class CMainFrame;
class CFormMDIWnd;
class COleDateTime;
struct IOrderTicketForm;
struct IChartView;
class CSharedGlobals;
class CViewHtml;

#define IDS_APP_TITLE 280
#define IDS_TABLE_INFO 50001
#define IDS_TITLE_INFO 56710
#define IDS_LINK_SETTINGS_FILE 40600
#define IDS_SETTINGS_FILE 40601
#define IDS_WORKSPACE_EXTENSION 40371
#define WM_LOGIN_AGAIN (WM_USER + 333)  // to the main frame: show the login dialog again

#define INFO_PRIORITY_NOTICE 1
#define INFO_PRIORITY_ERROR 2
// A request the link could not send: the forms' and the reports' refusal text.
#define IDS_REQUEST_NOT_SENT 40360
#define CHART_SLOTS 9                   // chart windows kept at once; the oldest is reused

// The international currency conversion form, preset with a currency pair; the layer that owns
// the form gives it to the application, which hands the exchange-rate table's clicks to it.
struct ICurrencyConversionOpener
{
    virtual ~ICurrencyConversionOpener() = default;
    virtual void OpenCurrencyConversion(LPCSTR pszFrom, LPCSTR pszTo) = 0;
};

class CZORVAT32App : public CNorvApp,
                     public CZorvatMessageSource,
                     public IAppServices,
                     public IRefDataServices,
                     public IMarketListClient,
                     public IInfoTableHost,
                     public IBaseCurrencySource
{
public:
    CZORVAT32App();
    ~CZORVAT32App() override;

    static CZORVAT32App* Get();

    // Start-up and exit (ZorvatStartup.cpp).
    BOOL InitInstance() override;
    int ExitInstance() override;

    // The session (ZorvatSession.cpp).
    void Connect();
    void Disconnect(BOOL bAsk);
    // The information window keeps its lines: the day's acknowledgements stay readable across
    // log-offs, new logins and new connections.
    void Logoff();
    // The session's form, chart and page windows go (log-off); the news reader, option chain
    // and expiration forms stay.
    // bChartsAndPages: the chart and page frames too, else the forms alone.
    void CloseStandingWindows(BOOL bChartsAndPages = TRUE);
    // The two halves of the reset of the session's user: the user and the title; the default
    // settings file in place of the user's.
    void ResetSessionUser();
    void OpenDefaultSettings();
    // The link went down: every form forgets what it waits for.
    void TellFormsLinkDown();
    // An order-status reply ended: every form reads the order rows again once the line is
    // handled, as after a line of its order (a form open on an order the reply ended ends).
    void TellFormsOrderRows();
    // The lines that name each form holding an order the trader typed and did not send (string
    // nTextId, "%1" the form's title), one per form, in the order of the windows.
    std::vector<CString> DescribeUnsentOrders(UINT nTextId) const;
    // The login dialog now, then "UL". The link's call (IAppServices::Login) only posts
    // WM_LOGIN_AGAIN, so that the dialog never runs inside the link's read handler.
    void RunLogin();
    void Login() override;
    void OnLoginReply(CServerMessage* pReply) override;
    void OnConnectionState(int nCode) override;
    void OnCommDestroyed() override;
    // "DR": the KSE state K with no text starts the market-data subscription (ZorvatTables.cpp).
    void OnMessageDR(CServerMessage* pMsg) override;
    // The requests of the windows the login's workspace restored go now (ZorvatTables.cpp).
    void OnInitialLoadDone() override;
    BOOL IsConnected() const;
    BOOL IsLoggedIn() const { return m_user.GetRole() != -1; }
    BOOL IsInitialLoadDone() const { return m_dispatcher.IsInitialLoadDone(); }
    // The workspace file of a user: letters, digits, '-' and '_' of the name, at most 8, else
    // the user number; in the program folder, with the workspace extension.
    static CString MakeUserWorkspaceFile(LPCSTR pszFolder, LPCSTR pszName, int nUserNumber, LPCSTR pszExtension);

    // Services.
    long SendRequest(LPCSTR pszLine);
    long SendRequest(int nType, LPCSTR pszBody) override;
    void BringInfoWindowToTop(int nPriority) override;
    CUser GetUser() const override { return m_user; }
    IInfoTable* GetInfoTable() const { return m_pInfoTable; }
    CZorvatComm* GetComm() const { return m_pComm; }
    CZorvatErrorDictionary& GetErrorDictionary() { return m_errors; }
    CMessageDispatcher& GetDispatcher() { return m_dispatcher; }
    const CString& GetAppTitle() const { return m_strAppTitle; }
    CString GetBaseCurrency() const override { return m_strBaseCurrency; }
    void SetBaseCurrency(LPCSTR pszCode) { m_strBaseCurrency = pszCode; }
    // The exchange rates the rate table receives, one pair at a time.
    void SetCrossRate(LPCSTR pszFrom, LPCSTR pszTo, double dRate) { m_rates.SetCrossRate(pszFrom, pszTo, dRate); }
    const CBaseCurrConv& GetRates() const { return m_rates; }
    // The rates' reply has ended: every currency of the currency list converts to itself at 1.0,
    // and again for a list that comes after the rates; the tables convert their rows again.
    void OnRatesIn();
    // Not owned; null: a conversion asked for opens nothing.
    void SetCurrencyConversionOpener(ICurrencyConversionOpener* pOpener) { m_pConversionOpener = pOpener; }
    void OpenInternationalCurrencyConversion(LPCSTR pszFrom, LPCSTR pszTo);
    WORD GetLanguageId() const { return m_nLanguageId; }
    int GetIndicatorState() const { return m_nIndicatorState; }
    int GetInfoPriority() const { return m_nInfoPriority; }
    void SetInfoPriority(int nLevel) { m_nInfoPriority = nLevel; }
    BOOL IsInfoRaise() const { return m_bInfoRaise; }
    void SetInfoRaise(BOOL bRaise) { m_bInfoRaise = bRaise; }

    // The standing tables, made in their fixed order (ZorvatTables.cpp); those whose class is not
    // there are left out. BuildStandingSet then loads the general workspace.
    int OpenStandingTables();
    int BuildStandingSet();
    void DestroyTickersAndTables();

    // Market data (ZorvatTables.cpp). The KSE feeds and the account tables' first requests, once
    // per session (log-off allows the next); the flag is set even when nothing could be sent.
    void SubscribeMarketData();
    // The KSE stock list has come whole: the KSE requests that waited for it go.
    void OnKseStockListIn();
    BOOL IsMarketDataSubscribed() const { return m_bMarketDataSubscribed; }
    // The address in a window of the desktop's browser; FALSE when none took it.
    static BOOL OpenExternalBrowser(LPCSTR pszAddress);

    // Forms, market menus and charts (ZorvatForms.cpp). OpenFormWindow: the form window of the
    // slot made when the slot is empty (the view from the form's registered maker, an empty frame
    // without one), then activated.
    void OpenFormWindow(CFormMDIWnd** ppSlot, UINT nFormId);
    // The option chain form, opened or activated; a symbol (not null nor empty) is put into it
    // afresh (ITickerForm).
    void OpenOptionChain(LPCSTR pszSymbol);
    // The news reader form (one window, kept across sessions), opened or activated, showing the
    // story given; null texts are taken as empty.
    void OpenNewsStory(LPCSTR pszBody, LPCSTR pszTitle, LPCSTR pszLink);
    CFormMDIWnd* GetNewsReaderForm() const { return m_pNewsReaderForm; }
    // The order ticket (form 7310, one window, ZorvatOrderTickets.cpp), opened or activated and
    // then filled by its openers in a fixed order; nothing opens without the orders layer's
    // maker. Null texts and a price of 0 leave their fields as they were.
    void OpenOrderTicket(int nMode, LPCSTR pszSymbol, double dPrice, LPCSTR pszMarket, LPCSTR pszCurrency, int nUnused);
    void OpenOrderTicketFromOrderUS(long nOrder);
    void OpenOrderTicketFromOrderKSE(long nOrder);
    // The modify form (7311, one window) for an order of the US or KSE order status; nothing
    // opens without the orders layer's maker.
    void OpenModifyOrderUS(long nOrder);
    void OpenModifyOrderKSE(long nOrder);
    CFormMDIWnd* GetModifyOrderForm() const { return m_pModifyOrderForm; }
    // KSE regular board: mode 1 or 2 picks the default side; market type 4 the contract panel,
    // any other the regular one.
    void OpenOrderTicketKSE(int nMode, LPCSTR pszSymbol, double dPrice, int nIgnored, int nMarketType);
    void OpenOrderTicketForwardMarket(LPCSTR pszSymbol, double dPrice, int nIgnored);
    // An existing forward contract: an invalid date leaves the contract date at now; side -1
    // selects none.
    void OpenOrderTicketForward(LPCSTR pszSymbol, const COleDateTime& validity, LPCSTR pszMarketMaker,
                                LPCSTR pszContract, LPCSTR pszQuantity, int nSide);
    CFormMDIWnd* GetOrderTicketForm() const { return m_pOrderTicketForm; }
    // The forms that act on a position (ZorvatOrderTickets.cpp): one window each, reused.
    void OpenForwardContractDetail(long nUser, long nAccount, const COleDateTime& date, LPCSTR pszContractId,
                                   long nMask);
    void OpenManualExercise(LPCSTR pszSymbolKey, LPCSTR pszSecondKey);
    void OpenExpirationInstruction(LPCSTR pszSymbol, LPCSTR pszMarket);
    CFormMDIWnd* GetForwardContractForm() const { return m_pForwardContractForm; }
    CFormMDIWnd* GetManualExerciseForm() const { return m_pManualExerciseForm; }
    CFormMDIWnd* GetExpirationForm() const { return m_pExpirationForm; }
    // Whether the order forms show their advanced rows, one state for the ticket and the
    // modify form.
    BOOL IsOrderAdvancedShown() const { return m_bOrderAdvanced; }
    void SetOrderAdvancedShown(BOOL bShown) { m_bOrderAdvanced = bShown; }
    // The combined unrealized table takes rows only while this is on: the US and combined
    // unrealized commands set it, the KSE one clears it.
    BOOL IsUnrealizedSelectorOn() const { return m_bUnrealizedSelector; }
    void SetUnrealizedSelector(BOOL bOn) { m_bUnrealizedSelector = bOn; }
    // The ticker and market-schedule sub-menus made again from the ticker names and the markets.
    void BuildMarketMenus();
    // Charts (ZorvatCharts.cpp), through the charts layer's maker (app/ChartWindows.h). The
    // chart slot to use next: the first empty or hidden one, else the oldest in turn.
    int NextChartSlot();
    // The chooser, then the chart in the next slot: a window of the kind reused, another
    // replaced. Nothing when the chooser is not confirmed or there is no maker.
    void OpenChart(LPCSTR pszSymbol, int nKind, int nMarket);
    // Every series of the charts (of the symbol's) cleared and asked for again; the walk stops
    // at a chart not ready.
    void RefreshChartsForSymbol(LPCSTR pszSymbol);
    CFormMDIWnd* GetChartWindow(int nSlot) const { return nSlot >= 0 && nSlot < CHART_SLOTS ? m_chartSlots[nSlot] : nullptr; }

    // Company news (ZorvatCompanyNews.cpp): the company news table made when missing, shown
    // and asked for the symbol's headlines in the market; a null symbol asks for the company
    // first, and nothing opens when the user cancels. The stock rows reach it through
    // app/StockActions.h, which the application registers at start-up.
    void OpenCompanyNews(LPCSTR pszSymbol, long nMarketCode);
    static void RegisterStockActions(BOOL bRegister);

    // Web pages (ZorvatPages.cpp). OpenHtmlPage: the page's window made into its slot when empty
    // (a companion slot gets a hidden one), shown and activated, and sent to the address unless
    // it shows that page already. OpenPage: the page-table row's address made with its texts
    // (percent-encoded); a symbol page without a ticker asks for one; FALSE when nothing opened
    // (cancelled, no story, or a quotes page address that is not http or https).
    void OpenHtmlPage(CFormMDIWnd** ppSlot, LPCSTR pszAddress, LPCSTR pszPageId, UINT nFormId,
                      CFormMDIWnd** ppCompanionSlot, LPCSTR pszCompanionId, UINT nCompanionFormId);
    BOOL OpenPage(int nPage, LPCSTR pszText1 = nullptr, LPCSTR pszText2 = nullptr);
    void OpenNewsPage(LPCSTR pszStoryId);
    void OpenNewsPageKSE(LPCSTR pszStoryId);
    // A null ticker asks for one; nMarket PAGE_MARKET_KSE or any other for the US page.
    void OpenCompanyProfilePage(LPCSTR pszTicker, int nMarket);
    void OpenResearchPage(LPCSTR pszTicker, int nMarket);
    void OpenInsiderTradesPage(LPCSTR pszTicker, int nMarket);
    void OpenCompanyProfile(LPCSTR pszSymbol) { OpenCompanyProfilePage(pszSymbol, PAGE_MARKET_US); }
    void OpenResearch(LPCSTR pszSymbol) { OpenResearchPage(pszSymbol, PAGE_MARKET_US); }
    void OpenInsiderTrades(LPCSTR pszSymbol) { OpenInsiderTradesPage(pszSymbol, PAGE_MARKET_US); }
    void OpenOrderBookPage(LPCSTR pszText1, LPCSTR pszText2);
    // The window of a page id (a companion's too); null while it is not open.
    CFormMDIWnd* GetPageWindow(LPCSTR pszPageId) const;
    CViewHtml* GetPageView(LPCSTR pszPageId) const;
    // The news tables' clicks reach the story pages through app/NewsPages.h.
    static void RegisterPageOpeners(BOOL bRegister);

    // Workspace: the framework's part, the link's settings, the application's general keys.
    void SaveWorkspace() override;
    void LoadWorkspace(LPCSTR pszFile, BOOL bCloseFirst) override;
    // Whether the trading PIN is kept once typed (".General" "RememberPIN").
    BOOL IsRememberPin() const { return m_bRememberPin; }
    void SetRememberPin(BOOL bRemember) { m_bRememberPin = bRemember; }

    // IAppServices.
    ICommLink* GetLink() override;
    IInfoWindow* GetInfoWindow() override { return m_pInfoTable; }
    // The US quotation table expands the compact quotes; null while it does not exist.
    ICompactQuoteExpander* GetQuoteExpander() override;
    LPCSTR GetLanguageCode() const override { return m_nLanguageId == 1033 ? "0" : "1"; }
    void SetBusy(BOOL bBusy) override { SetBusyFlag(bBusy); }
    // IRefDataServices.
    int GetUserRole() const override { return m_user.GetRole(); }
    void AcceptPendingText() override;
    // Settles the oldest change not yet answered; only an accepted password change sets the
    // session's password.
    void OnChangeReply(BOOL bAccepted) override;
    CString GetPaymentModeText(long nCode) const override;
    CString GetAccountTypeText(long nCode) const override;
    // IMarketListClient.
    void AddInfoText(LPCSTR pszText) override;
    void RemoveAllTickers() override;
    void AddTicker(LPCSTR pszName) override;
    int GetTickerCount() const override { return m_tickers.GetSize(); }
    void OnMarketListChanged() override
    {
        BuildMarketMenus();
        ShowTickers();
    }
    void ResetCharts() override;
    void OnSymbolListsIn() override;
    void OnCurrencyListIn() override;
    CString GetProgramFolder() const override;
    // IInfoTableHost.
    void SetIndicatorState(int nState) override { m_nIndicatorState = nState; }
    BOOL IsActiveChild(HWND hWnd) const override;
    CString GetErrorText(long nCode) override;
    void ShowMessageBox(LPCSTR pszText, UINT nFlags) override;
    void OnVersionStatus(int nStatus, LPCSTR pszText) override;
    std::vector<CTickerWnd*> GetDockedTickers() const override;

    // Tickers (ZorvatTickers.cpp), numbered from 1 in the order of the names. Names not among
    // the tickers are ignored.
    void ShowTickers();
    void CreateTicker(LPCSTR pszName, int nNumber, BOOL bDocked);
    void OpenTicker(LPCSTR pszName, int nNumber, BOOL bShow, BOOL bDocked);
    void DestroyTicker(LPCSTR pszName);
    // Left, top, width and height of a ticker window being made.
    void GetTickerRect(RECT* pOut, int nNumber, BOOL bDocked) const;
    // The text heights of the ticker windows, all or only the docked ones.
    int GetTickerBarHeight(BOOL bDockedOnly) const;
    CTickerWnd* GetTickerWindow(LPCSTR pszName) const;        // the first of that name
    CTickerWnd* GetTickerWindowAt(int nIndex) const;           // null: none, or no such ticker
    CString GetTickerName(int nIndex) const { return nIndex >= 0 && nIndex < m_tickers.GetSize() ? m_tickers[nIndex] : ""; }
    void OnTickerMenuCommand(UINT nId);
    int GetTickerMenuCheck(UINT nId) const;
    // Floats (32842) or docks (32843) the ticker whose own menu asked for it.
    void OnTickerPlaceCommand(UINT nId);
    // The same by the ticker's index in the names: the menu, its mark and the closer know which
    // ticker they mean even when two share a name.
    void CreateTickerAt(int nIndex, int nNumber, BOOL bDocked);
    void OpenTickerAt(int nIndex, int nNumber, BOOL bShow, BOOL bDocked);
    void DestroyTickerAt(int nIndex);

    // Commands (ZorvatCommands.cpp): TRUE when the id is one of the application's and ran.
    // GetCommandState: FALSE for an id without a rule of its own; else whether it is enabled and
    // its check mark (-1 for an item that carries none).
    BOOL RunCommand(UINT nId);
    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // A command without a handler yet is disabled; pRemoval says how its menu item goes.
    BOOL GetCommandState(UINT nId, BOOL* pbEnabled, int* pnCheck, MENU_REMOVAL* pRemoval = nullptr);
    // The command's rule, and whether it has a handler; FALSE for an id not in the table.
    static BOOL GetCommandRule(UINT nId, COMMAND_RULE* pRule, BOOL* pbHandled);
    static BOOL HasCommandHandler(UINT nId);
    // Every command that opens the order ticket (a menu item, key or toolbar button of it), in
    // the table's order; removed items are left out.
    static std::vector<UINT> GetOrderTicketCommands();
    // The commands that show a table's window, with the name id of the table each shows.
    static std::vector<std::pair<UINT, UINT>> GetTableCommands();
    // The commands that open a form window of their own.
    static std::vector<UINT> GetFormCommands();
    // The commands that open a chart, each of its kind and market.
    static std::vector<UINT> GetChartCommands();
    COMMAND_CONTEXT GetCommandContext() const;

    // Profile values (the registry key of the application).
    CString ReadProfileText(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszDefault);
    void WriteProfileText(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszValue);

protected:
    // The main frame's title while nobody is logged in, or with the user.
    void SetFrameTitle(LPCSTR pszTitle);
    int  AskYesNo(UINT nTextId);
    void ShowInfoResource(UINT nId, int nPriority);
    void SendLoginFollowUps();
    void OpenUserWorkspace();
    void ReadBaseCurrency();
    void WriteGeneralSettings() override;
    // Start-up steps (ZorvatStartup.cpp).
    static CString ReadBrandName();
    DWORD ReadArabicChoice(LPCSTR pszBrand);
    BOOL LoadLanguage(DWORD dwArabic);
    static CString FindProgramFolder();
    void OpenProfile(CSharedGlobals* pShared, LPCSTR pszAppName);
    BOOL CreateMainFrame();
    void TrimMenu(CMainFrame* pFrame);
    // The table commands: a standing table shown, or a table opened (ZorvatTables.cpp).
    struct TABLE_COMMAND;
    static const TABLE_COMMAND s_tableCommands[];
    void OnTableCommand(UINT nId);
    // The table command's own request for its table (nAction a TABLE_ACTION).
    void SendTableRequest(IDataTable* pTable, int nAction);
    IDataTable* MakeWorkspaceTable(LPCSTR pszName) override;
    void OnStandingTableRestored(IDataTable* pTable) override;
    void OnExtraWindowRestored(IDataTable* pTable, CTableMDIWnd* pWindow) override;
    // A command's requests for its table: the first request of a table just made, then its own,
    // around showing it when bShow.
    void SendCommandRequests(const TABLE_COMMAND& command, IDataTable* pTable, BOOL bMade, BOOL bShow);
    // A KSE quotation window sorted and titled as the sort command nId does.
    void ApplyQuotationSort(CTableMDIWnd* pWindow, UINT nId);
    // Told only to a logged-in user: before the login no user's window may open anyway.
    void ReportLeftOut(LPCSTR pszName, UINT nLineId = IDS_WORKSPACE_LEFT_OUT) override;
    void ReportLeftOutTable(LPCSTR pszName) override;
    CString WorkspaceTableName(LPCSTR pszSaved) const override;
    // The name and title ids of the table a saved name stands for (its name or title in either
    // language); nNameId 0 when it stands for none this program knows.
    struct NAMED_TABLE { UINT nNameId; UINT nTitleId; BOOL bReport; };
    NAMED_TABLE FindNamedTable(LPCSTR pszSaved) const;
    // The unrealized reports' commands: the selector set or cleared, then the table or dialog.
    void OnUnrealizedCommand(UINT nId);
    // The information table handed to the shared services and shown; anything else is removed.
    void AdoptInfoTable(IDataTable* pTable);
    // A table made when missing (its saved layout restored); null when it cannot be.
    IDataTable* MakeMissingTable(UINT nNameId, UINT nTitleId, BOOL* pbMade);
    void OnWebSite(UINT);
    void OnMarketDepth(UINT);
    // The market schedule shown, narrowed to the market the sub-menu item names (all markets
    // for the last item).
    void OnMarketSchedule(UINT nId);
    // One more KSE quotation window, its view sorted as the command says.
    void OnQuotationSort(UINT nId);
    int  GetMarketDepthCheck(UINT) const;
    // The command table (ZorvatCommands.cpp).
    struct COMMAND_ENTRY;
    static const COMMAND_ENTRY s_commands[];
    struct FORM_COMMAND;
    static const FORM_COMMAND s_formCommands[];
    static const COMMAND_ENTRY* FindCommand(UINT nId);
    // Command handlers, one per command or range.
    void OnConnectCommand(UINT);
    void OnDisconnectCommand(UINT);
    void OnLinkSettings(UINT);
    void OnProtocolMode(UINT);
    void OnFeedLogSettings(UINT);
    void OnPauseLock(UINT);
    void OnActiveWindowCommand(UINT);
    void OnFormCommand(UINT nId);
    void OnCommandDialog(UINT nId);
    void OnOptionChainCommand(UINT);
    void OnIntlConversionCommand(UINT);
    // The ticket commands: KSE 33049, 33050, 33223; forward market 33269; forward contract
    // 33273; US 33100, 33601 (regular) and 33306 (pre-market).
    void OnKseTicketCommand(UINT nId);
    void OnForwardMarketTicketCommand(UINT);
    void OnForwardTicketCommand(UINT);
    void OnUsTicketCommand(UINT nId);
    void OnPositionFormCommand(UINT nId);
    // The ticket's form opened or activated; null without the orders layer.
    IOrderTicketForm* OpenTicketForm();
    // 33194 and 33624 ask for a company; 33566 asks for a ticker when market 1 has news.
    void OnCompanyNewsCommand(UINT nId);
    void OnNothing(UINT) {}
    void OnChartCommand(UINT nId);
    void OnMarketChartCommand(UINT);
    // The chart slots' frames: given up for good, made on a new view whose slot is set, saved,
    // and made again from the workspace's sections.
    void DropChartWindow(int nSlot);
    IChartView* MakeChartWindow(int nSlot, int nKind, int nMarket);
    void RefreshCharts(LPCSTR pszSymbol);
    void SaveChartWindows();
    void LoadChartWindows();
    // The page windows' places and what each was about, and the shown ones opened again where
    // the user may open them (ZorvatPages.cpp).
    void SavePageWindows();
    void LoadPageWindows();
    // The saved order lists only tables: each chart and page on view keeps its own place among
    // them in its section, and takes it again once the workspace's windows are all back.
    CString FrameSection(HWND hWnd) const;
    void SaveFrameOrder();
    void RestoreFrameOrder();
    void OnPageCommand(UINT nId);
    // The link window "Terminal" in the MDI client when there is none; m_pComm stays null when
    // it could not be made.
    void CreateLinkWindow();
    void OnShowInfo(UINT);
    void OnSaveWorkspaceCommand(UINT);
    void OnOpenWorkspace(UINT);
    void OnFileOpenCommand(UINT);
    void OnPrintSetupCommand(UINT);
    void OnSaveWorkspaceAs(UINT);
    void OnLoginCommand(UINT);
    void OnClearInfo(UINT);
    void OnInfoRaise(UINT);
    void OnInfoPriority(UINT nId);
    void OnInfoButton(UINT);
    void OnChangePassword(UINT);
    void OnChangePin(UINT);
    void OnAbout(UINT);
    void OnReadingDirection(UINT);
    void OnVersionCommand(UINT);
    void ShowVersionInfo(LPCSTR pszText, int nVersionStatus);
    int  GetInfoRaiseCheck(UINT) const { return m_bInfoRaise ? 1 : 0; }
    int  GetInfoPriorityCheck(UINT nId) const { return static_cast<int>(nId) - (ID_APP_INFO_PRIORITY_1 - 1) == m_nInfoPriority; }
    void AddRecentFile(LPCSTR pszPath);
    void SaveWorkspaceFile();
    // The login dialog; FALSE when the user cancelled (ZorvatLogin.cpp).
    BOOL AskCredentials(CString& strUser, CString& strPassword);

    CUser m_user;
    CZorvatErrorDictionary m_errors;
    CMessageDispatcher m_dispatcher;
    CZorvatComm* m_pComm = nullptr;             // not owned: the window deletes itself
    IInfoTable* m_pInfoTable = nullptr;         // owned through the table map
    std::vector<INFO_LINE> m_keptInfoLines;     // the last table's lines, for the next one
    CBaseCurrConv m_rates;
    ICurrencyConversionOpener* m_pConversionOpener = nullptr;
    CString m_strBaseCurrency;
    CString m_strLinkSettingsFile;
    // The password and PIN changes sent and not yet answered, oldest first (the server answers
    // in order): the new password of a password change, none for a PIN change.
    struct PENDING_CHANGE {
        BOOL bPassword;
        CString strPassword;
    };
    std::deque<PENDING_CHANGE> m_pendingChanges;
    CString m_strHelpFile;
    CNorvFormat m_norvFormat;
    CZorvatTypes m_types{this, this};
    CString m_strAppTitle;
    CStringArray m_tickers;             // the ticker names
    std::deque<CTickerWnd*> m_tickerWindows;    // beside the names; null while not shown
    BOOL m_bDisconnected = FALSE;
    BOOL m_bRatesIn = FALSE;            // a rates reply has ended: a currency list gets its 1.0 rates
    BOOL m_bConnectAsked = FALSE;       // a connect the user asked for has not answered yet
    BOOL m_bLoginPosted = FALSE;        // a WM_LOGIN_AGAIN waits in the queue
    CString m_strLoginRefusal;          // why the server refused the last login, for the next dialog
    BOOL m_bInfoRaise = TRUE;
    BOOL m_bRememberPin = FALSE;
    BOOL m_bMarketDataSubscribed = FALSE;
    BOOL m_bKseStockListIn = FALSE;     // this session's KSE stock list has come
    // While the login's workspace comes back, the table commands' requests wait for the initial
    // load: a reply before the stock list would show stock numbers for symbols.
    BOOL m_bHoldTableRequests = FALSE;
    std::vector<std::pair<UINT, BOOL>> m_heldTableRequests;    // command, table made by it
    CFormMDIWnd* m_pLookupForm = nullptr;       // not owned: each frame clears its slot as it goes
    CFormMDIWnd* m_pPreferencesForm = nullptr;
    CFormMDIWnd* m_pOptionChainForm = nullptr;  // outlives the session: log-off leaves it open
    CFormMDIWnd* m_pNewsReaderForm = nullptr;
    CFormMDIWnd* m_pOrderTicketForm = nullptr;
    CFormMDIWnd* m_pModifyOrderForm = nullptr;
    CFormMDIWnd* m_pForwardContractForm = nullptr;
    CFormMDIWnd* m_pManualExerciseForm = nullptr;
    CFormMDIWnd* m_pExpirationForm = nullptr;
    CFormMDIWnd* m_pPerformanceUsForm = nullptr;        // the account forms
    CFormMDIWnd* m_pPerformanceKseForm = nullptr;
    CFormMDIWnd* m_pPerformanceCombinedForm = nullptr;
    CFormMDIWnd* m_pConversionForm = nullptr;
    CFormMDIWnd* m_pIntlConversionForm = nullptr;
    BOOL m_bOrderAdvanced = FALSE;
    BOOL m_bUnrealizedSelector = FALSE;
    CFormMDIWnd* m_pageSlots[HTML_PAGE_COUNT] = {};       // by page-table row; not owned
    CFormMDIWnd* m_companionSlots[HTML_PAGE_COUNT] = {};
    CString m_pageTexts[HTML_PAGE_COUNT][2];            // the texts each page was opened with
    CFormMDIWnd* m_chartSlots[CHART_SLOTS] = {};  // not owned: each frame clears its slot as it goes
    int m_nChartSlot = 0;               // the slot used last
    int  m_nInfoPriority = 1;
    int  m_nIndicatorState = 0;
    WORD m_nLanguageId = 1033;
    HMODULE m_hLanguage = nullptr;      // owned: freed at exit
};
