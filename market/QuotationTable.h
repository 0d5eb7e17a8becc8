#pragma once
// The US watch list: one row per followed symbol of any quoted market, kept current by the live
// quote "GS" (also in its compact form), with the user's holdings, own position and a one-shot
// price alert per symbol. Its rows come from the saved watch list (each symbol looked up with
// "RN"), from a market's symbol list ("DS") and from the user's commands; it has no request of
// its own. The watch list's persistence, alerts and row commands are in QuotationWatchList.cpp.
#include <map>
#include <string>
#include <unordered_set>
#include <vector>
#include "link/MarketServices.h"
#include "link/ServerMessage.h"
#include "market/DataTable.h"
#include "market/WatchListSettings.h"

#define IDS_TABLE_QUOTATIONS_US 51921
#define IDS_TITLE_QUOTATIONS_US 56779
#define MAX_TICKER_LENGTH 32            // longer is no symbol: a request cut to fit would name another

// Columns the code reads or writes by number; the rest are fed by the description's maps.
enum QUOTE_COLUMN {
    QC_TICKER = 0, QC_MARKET = 1, QC_NAME = 2, QC_LAST = 3, QC_TIME = 4, QC_MARKET_TIME = 5, QC_OPEN = 6,
    QC_CLOSE = 9, QC_CHANGE = 10, QC_PERCENT = 11, QC_ALERT_PRICE = 15, QC_ALERT_DIR = 16, QC_BID_SIZE = 18,
    QC_ASK_SIZE = 20, QC_VOLUME = 21, QC_COMPANY = 22, QC_EPS = 25, QC_PE = 26, QC_HELD1 = 30, QC_HELD3 = 32,
    QC_POSITION = 33, QC_DAY_GAIN = 34, QC_SCROLLING = 35, QC_OWN_QTY = 36, QC_OWN_PRICE = 37, QC_OWN_COST = 38,
    QC_OWN_VALUE = 39, QC_OWN_GAIN = 40, QC_OWN_GAIN_PERCENT = 41, QC_SHORT_TICKER = 42, QC_BOOK = 44,
    QC_MAKER_BOOK = 45, QC_TRADES = 46, QC_COUNT = 50
};

extern const TABLE_DESC g_quotationTable;

// Filters the main window of the trades table nTableId on the symbol in column nSymbolColumn and
// selects its last trade; FALSE when the table is not open or holds no trade of the symbol.
BOOL ShowTradesOfSymbol(UINT nTableId, int nSymbolColumn, LPCSTR pszSymbol);

class CQuotationTable : public CDataTable, public ICompactQuoteExpander
{
public:
    explicit CQuotationTable(CZorvatMessageSource* pSource);
    ~CQuotationTable() override;

    using CDataTable::Create;
    BOOL Create(UINT nNameId, int nFixedColumns, UINT nTitleId) override;

    // Subscriptions: "GS" with "<ticker>|1" (or "|0"), sent only for a market the reference data
    // knows and quotes per symbol. ResubscribeAll walks the rows from the last to the first.
    void SubscribeQuote(LPCSTR pszTicker, LPCSTR pszMarket, LPCSTR pszShortTicker);
    void UnsubscribeQuote(LPCSTR pszTicker, LPCSTR pszMarket, LPCSTR pszShortTicker);
    void ResubscribeAll() override;

    // The dispatcher's compact quote, rewritten in place into the full "GS" line; a damaged
    // packed field leaves a line no sink takes.
    void ExpandCompactQuote(CServerMessage* pMsg) override;

    // Adding and removing symbols. AddSymbol reports a pair already listed and sends nothing;
    // otherwise it asks the server with "RN", whose reply adds the row (with the saved values
    // of pEntry when the symbol comes from the saved list). FALSE when nothing was sent.
    BOOL AddSymbol(LPCSTR pszTicker, LPCSTR pszMarket, const WATCH_ENTRY* pEntry);
    BOOL RemoveSymbol(LPCSTR pszTicker, LPCSTR pszMarket);
    void RemoveUnusableMarkets();
    int  GetPendingCount() const { return static_cast<int>(m_pending.size()); }
    CDataBuffer* FindQuote(LPCSTR pszTicker, LPCSTR pszMarket) const;

    // The order books tell whether they follow a symbol (column 44).
    void SetOrderBookFlag(LPCSTR pszTicker, long nMarketCode, long nValue);
    // Asks the US book nBookId (price levels or market makers) to start or stop the row's symbol
    // and keeps the row's flag for that book; FALSE when the book is not open or nothing was sent.
    BOOL FollowBook(CDataBuffer* pRow, UINT nBookId, BOOL bOn);
    // The symbol's row followed in that book (when it is not yet) and the book shown; FALSE
    // when the watch list does not hold the symbol.
    BOOL ShowInBook(LPCSTR pszTicker, LPCSTR pszMarket, UINT nBookId);

    // Alerts. SetAlert takes the price the user entered for the row of (ticker, market): at or
    // below 0 it removes the alert, at the current price it fires at once, else it waits for a
    // rise or a fall to it. FALSE when the row is gone.
    BOOL SetAlert(LPCSTR pszTicker, LPCSTR pszMarket, double dAlertPrice);
    void FireAlert(CDataBuffer* pRow);
    // The user's own position of a row; FALSE when the row is gone.
    BOOL SetOwnPosition(LPCSTR pszTicker, LPCSTR pszMarket, double dQuantity, double dPrice);
    void ShowExtColumns(BOOL bShow);
    BOOL IsShowingExtColumns() const { return m_bShowExt; }

    // The watch list in the shared settings file, under "<name>.Ticker": saved with the main
    // window's layout, restored when the table's settings or that layout are loaded.
    void OnLayoutSaved(CTableMDIWnd* pWindow) override;
    void OnLayoutLoaded(CTableMDIWnd* pWindow) override;
    void LoadSettings(CIni* pIni) override;
    void SaveWatchList(CIni& ini);
    void LoadWatchList(CIni& ini);

    // Context menu and commands.
    HMENU CreateContextMenu() override;
    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // Sink slots.
    void OnGS(CServerMessage* pMsg) override;
    void OnIH(CServerMessage* pMsg) override;
    void OnNH(CServerMessage* pMsg) override;
    void OnXC(CServerMessage* pMsg) override;
    void OnDS(CServerMessage* pMsg) override;
    void OnRN(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
    void OnEnd(CServerMessage* pMsg) override;

    // Grid events.
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;
    void OnDoubleClick(CViewRow* pRow, int nCol) override;
    void OnBeginEdit(CViewRow* pRow, int nCol, CTBString* pText) override;
    void OnKeyDown(UINT nKey, UINT nRepeat, UINT nFlags) override;

protected:
    void CreateColumns() override;

private:
    struct PENDING_SYMBOL {
        CString strTicker;
        CString strMarket;
        BOOL bSaved = FALSE;            // restored from the settings: entry holds its values
        WATCH_ENTRY entry;
    };
    // A line in the information window, raised as for an error.
    static void ShowInfo(LPCSTR pszText);
    // A number into a double cell as it is: no detour through its text.
    static BOOL SetNumber(CDataBuffer* pRow, int nCol, double dValue, BOOL bPublish);
    // A request through the application's link; its sequence number, 0 when nothing went.
    static long SendLine(int nType, LPCSTR pszBody);
    // The key of a row in the starred set: its ticker and market.
    static std::string StarredKey(LPCSTR pszTicker, LPCSTR pszMarket);
    static std::string StarredKey(const CDataBuffer* pRow);
    // Row work.
    void ComputeRow(CDataBuffer* pRow);
    void ComputePosition(CDataBuffer* pRow);
    void ApplyHoldings(CServerMessage* pMsg, LPCSTR pszMarket);
    // The holding kept for a symbol that had no row yet goes into the row just added.
    void ApplyWaitingHoldings(LPCSTR pszTicker);
    void AddSymbolRow(CServerMessage* pMsg, const PENDING_SYMBOL& pending);
    // The saved values of a symbol written into its row (in the caller's batch, if any).
    void ApplySavedEntry(CDataBuffer* pRow, const WATCH_ENTRY& entry, BOOL bPublish);
    void AddListedSymbol(CServerMessage* pMsg);
    // A quote's item for the scrolling ticker of its market (else the one of every market),
    // when the line brings a trade of a row that goes into it.
    void SendToTicker(CServerMessage* pMsg, const CDataBuffer* pRow, LPCSTR pszMarket) const;
    void CheckAlert(CDataBuffer* pRow, double dLast);
    void ShowError(long nCode);
    void ShowAlreadyListed(LPCSTR pszTicker);
    BOOL SendSubscription(LPCSTR pszTicker, LPCSTR pszMarket, BOOL bOn);
    void SubscribeMarket(LPCSTR pszMarket);
    void BeginReceiving(int nType);
    // Commands (QuotationWatchList.cpp).
    BOOL RunCommand(UINT nId);
    BOOL UpdateCommand(UINT nId, CCmdUI* pCmdUI);
    void UpdateTradesCommand(UINT nId, CDataBuffer* pRow, CCmdUI* pCmdUI);
    void RunTradesCommand(UINT nId, LPCSTR pszTicker);
    // A row that goes stops the books that follow it.
    void StopFollowedBooks(CDataBuffer* pRow);
    void FilterOnMarket(LPCSTR pszMarket);
    void RunCommandOnRow(UINT nId, const CString& strTicker, const CString& strMarket);
    void AskNewSymbol(CDataBuffer* pRow, LPCSTR pszFirstText);
    // Asks the server for the saved symbols not yet in the table, once their markets are known
    // and the link is up; what cannot be asked yet waits for the next chance.
    void RestoreSavedSymbols();

    int m_nReplyType = 0;               // the reply being received ("IH", "XC", "DS"), 0 none
    CString m_strListMarket;            // the market of the "DS" list being received
    BOOL m_bShowExt = FALSE;
    BOOL m_bStarred = FALSE;            // the quote being applied is starred
    BOOL m_bBusyShown = FALSE;          // server busy (971) reported; quiet until another result
    std::vector<PENDING_SYMBOL> m_pending;
    // Holdings of symbols not listed yet (the list or the lookup that adds them may come after
    // the holdings): the line and its market, by ticker, taken when the row comes.
    std::map<std::string, std::pair<CServerMessage, CString>> m_waitingHoldings;
    std::vector<WATCH_ENTRY> m_saved;   // the saved list's symbols not yet asked for
    std::unordered_set<std::string> m_starredRows;  // "ticker|market" of the rows shown starred
    std::vector<CString> m_marketMenu;  // the market popup's names, by command offset
    std::string m_strExpanded;          // the compact quote's expansion, reused from line to line
};
