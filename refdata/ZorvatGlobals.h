#pragma once
// The terminal's reference data, one process-wide object reached through GetGlobals: the markets
// with their names in both languages, the symbols of each market, the currencies, the market
// states and texts, the session and schedule times and the clocks, the KSE global parameters and
// the alert sound. It is a message sink: the "XC", "DS", "SL" and "CL" reply streams and a few
// single messages fill it; the market names are also cached in "Markets.zvt".
#include "framework/base/ColumnDataType.h"
#include "link/MessageSink.h"
#include "platform/mfc/Array.h"
#include "platform/mfc/Map.h"
#include "platform/mfc/StringArray.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ZorvatClocks.h"

class CZorvatMessageSource;
struct IMarketListClient;

// The three texts every reference-data holder loads at start-up.
class CGlobals
{
public:
    virtual ~CGlobals() = default;
    void LoadStrings();
    CString m_strText1;
    CString m_strText2;
    CString m_strText3;
};

// The KSE global trading parameters of "GG", in the order the dialog shows them.
struct KseGlobalParams
{
    int anValues[13] = {};              // fields 2 to 14
    double adRatesA[5] = {};            // fields 20 to 24
    double adRatesB[5] = {};            // fields 15 to 19
    int anLimits[3] = {};               // fields 25 to 27
};

typedef CMap<CString, LPCSTR, ShortStockListEntry, ShortStockListEntry&> CSymbolMap;

class CZorvatGlobals : public CGlobals, public CZorvatMessageSink, public CZorvatClocks, public IMarketTimeOffsets
{
public:
    CZorvatGlobals();
    ~CZorvatGlobals() override;

    // Start-up and exit. The client is not owned and must stay until Unregister. FALSE when the
    // source refuses the sink (null, or registered already).
    BOOL Register(CZorvatMessageSource* pSource, IMarketListClient* pClient);
    void Unregister();

    // Markets. Names follow the framework's language flag; the code is the key of every map.
    CString GetMarketName(long nCode) const;            // unknown code: "%ld"; code 0: ""
    BOOL LookupMarketName(long nCode, CString& strName) const;
    // A market column's callback: the column holds the market's code and shows its whole name
    // as GetMarketName gives it now (a name is longer than any text a row keeps of it).
    static BOOL FormatMarketColumn(char* pszBuf, int nSize, const TBCellSlot* pRow, int nCol);
    long GetMarketCode(LPCSTR pszName) const;           // exact match, 0 when none
    void GetMarketCodes(CArray<int, int>& codes) const;             // emptied first
    void GetMarketCodeList(CArray<int, int>& codes) const;          // permitted; appended
    BOOL LookupMarket(long nCode, MarketDetail& market) const;
    long GetMarketTimeOffset(long nMarketCode) const override;
    int  GetMarketState(long nCode) const;              // -1 when none was set
    void SetMarketState(long nCode, int nState);

    // Symbols and currencies; the arrays are emptied first.
    void GetCurrencyCodes(CStringArray& codes) const;
    BOOL LookupCurrency(LPCSTR pszCode, CurrencyDetail& currency) const;
    void GetStockListNames(long nMarket, CStringArray& symbols) const;
    void GetMarketSymbols(long nMarket, CStringArray& symbols) const;
    BOOL LookupShortStockEntry(long nMarket, LPCSTR pszSymbol, ShortStockListEntry& entry) const;

    // Orders by the name the trader reads them by. An acknowledgement notes the name it gave its
    // order (number and the symbol its line carries, as an option's letters); the last
    // ORDER_NAMES_KEPT are kept, until the user's log-off forgets them. The name of an order is
    // that one; else a KSE stock's symbol in the interface language; else the symbol as given.
    enum { ORDER_NAMES_KEPT = 256 };
    void NoteOrderName(LPCSTR pszOrder, LPCSTR pszSymbol, LPCSTR pszName);
    void ForgetOrderNames();
    CString GetOrderName(LPCSTR pszOrder, LPCSTR pszSymbol) const;

    // Requests sent for the logged-in user.
    void RequestMarketList();
    void RequestCurrencyList();

    // The market-list cache, in the program folder (the working folder without a client).
    void ReadMarketsFile();
    void WriteMarketsFile() const;
    CString GetMarketsFilePath() const;

    // States, texts and times the server sends.
    CString GetUsMarketStateText() const { return m_strUsStateText; }
    int  GetKseMarketState() const { return m_nKseState; }
    void SetKseMarketState(int nState) { m_nKseState = nState; }
    CString GetKseMarketStateText() const { return m_strKseStateText; }
    CString GetKseStatus1Text() const { return m_strKseStatus1; }
    CString GetKseStatus2Text() const { return m_strKseStatus2; }
    CNorvTime GetScheduleTime(int nIndex) const;        // 0..7; outside: 0
    // The schedule ("GM") came in this run; ClearSchedule forgets it, as a process starts.
    BOOL HasSchedule() const { return m_bScheduleIn; }
    void ClearSchedule();
    // The currency list forgotten, as a process starts.
    void ClearCurrencies() { m_currencies.RemoveAll(); }
    const KseGlobalParams& GetKseGlobalParams() const { return m_kseParams; }

    // The option flag and the alert sound (1 beep, 2 the sound file, other none).
    BOOL m_bOption = FALSE;
    CString m_strAlertSoundFile;
    int m_nAlertSoundMode = 0;
    void PlayAlertSound() const;

    // Handlers; the constructor states their types, one each.
    void OnXC(CServerMessage* pMsg) override;
    void OnDS(CServerMessage* pMsg) override;
    void OnSL(CServerMessage* pMsg) override;
    void OnCL(CServerMessage* pMsg) override;
    void OnMT(CServerMessage* pMsg) override;
    void OnGM(CServerMessage* pMsg) override;
    void OnCM(CServerMessage* pMsg) override;
    void OnMM(CServerMessage* pMsg) override;
    void OnGG(CServerMessage* pMsg) override;
    void OnTI(CServerMessage* pMsg) override;
    void OnNU(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
    void OnEnd(CServerMessage* pMsg) override;
    // Forgets every market's symbol list, as a process starts without one.
    void ClearSymbolMaps();

private:
    const CMap<int, int, CString, LPCSTR>& NameMap() const;
    void BeginStream(int nType);
    void EndStream();
    void BeginSymbolMap(long nMarket);
    void AddMarketRow(const CServerMessage& row);
    void EndMarketList();
    void ShowNotice(LPCSTR pszText);

    IMarketListClient* m_pClient = nullptr;     // not owned: the application
    CString m_strUsStateText;
    int m_nKseState = 0;
    CString m_strKseStateText;
    CString m_strKseStatus1;
    CString m_strKseStatus2;
    CNorvTime m_scheduleTimes[8];
    BOOL m_bScheduleIn = FALSE;
    KseGlobalParams m_kseParams;
    BOOL m_bFiveMinuteWarned = FALSE;
    BOOL m_bOneMinuteWarned = FALSE;
    int m_nReplyType = -1;                      // the reply stream in progress, -1 none
    CSymbolMap* m_pCurrentSymbols = nullptr;    // not owned: one of m_symbolMaps
    int m_nPendingSymbolLists = 0;
    CMap<CString, LPCSTR, CurrencyDetail, CurrencyDetail&> m_currencies;
    CMap<int, int, MarketDetail, MarketDetail&> m_markets;
    CMap<int, int, int, int> m_marketStates;
    CMap<CString, LPCSTR, StockList, StockList&> m_stockLists;
    CMap<int, int, CSymbolMap*, CSymbolMap*> m_symbolMaps;     // the symbol maps are owned
    CMap<int, int, CString, LPCSTR> m_englishNames;
    CMap<int, int, CString, LPCSTR> m_arabicNames;
    CString m_strMarketsFile;
    CArray<int, int> m_permittedCodes;          // in arrival order
    CMap<CString, LPCSTR, CString, LPCSTR> m_orderNames;     // "order|symbol" to its name
    CStringArray m_orderNameKeys;               // oldest first
};

// The one instance, made on first use.
CZorvatGlobals* GetGlobals();
