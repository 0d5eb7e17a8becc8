#pragma once
// The KSE board: one row per listed stock keyed by its number, filled by the "SQ" reply and kept
// current by the live "QQ" lines (through the base's gate). The class adds the stock's text, the
// state texts and market time of each line, the change, percentage and average price with the
// row's colours, the user's per-stock alert, outside holding and ticker flag kept in the shared
// settings (QuotationKSESettings.cpp), and the clicks, commands and menu from which the user
// acts on a stock (QuotationKSECommands.cpp).
#include "market/DataTable.h"
#include "market/LastPriceSource.h"
#include "market/TableLinks.h"

#define IDS_TABLE_QUOTATIONS_KSE 52114
#define IDS_TITLE_QUOTATIONS_KSE 56730

// Columns the code reads or writes by number; the rest are fed by the description's map.
enum KSE_QUOTE_COLUMN {
    KC_TEXT = 0, KC_STOCK = 1, KC_LAST = 2, KC_TIME = 3, KC_PRICE_MODE2 = 4, KC_PRICE_MODE1 = 5, KC_FALLBACK = 6,
    KC_VOLUME = 7, KC_VALUE = 9, KC_REFERENCE3 = 10, KC_BOOK_MODE2 = 12, KC_BOOK_MODE1 = 13, KC_AVERAGE = 14,
    KC_PREVIOUS = 15, KC_CHANGE = 17, KC_STATE = 23, KC_SEGMENT = 24, KC_SESSION = 25, KC_WHOLE = 26,
    KC_MARKET_TIME = 27, KC_PERCENT = 28, KC_ALERT_PRICE = 29, KC_ALERT_DIR = 30, KC_HELD1 = 31, KC_HELD3 = 33,
    KC_HELD_GAIN = 35, KC_TICKER = 36, KC_EXT_QTY = 37, KC_EXT_PRICE = 38, KC_EXT_COST = 39, KC_EXT_VALUE = 40,
    KC_EXT_GAIN = 41, KC_EXT_GAIN_PERCENT = 42, KC_COUNT = 43
};

// Fields of a "SQ" or "QQ" line the code reads by number.
enum KSE_QUOTE_FIELD {
    KF_STOCK = 0, KF_DATE = 2, KF_PREVIOUS_DATE = 13, KF_STATE = 25, KF_SEGMENT = 26, KF_SESSION = 27,
    KF_WHOLE = 28, KF_MARKET_TIME = 29, KF_TICKER = 30
};

// Colour indexes of the board's cells.
#define KSE_ATTR_SESSION 9              // the session's state ends on a "2"
#define KSE_ATTR_SUSPENDED 13
#define KSE_ATTR_SEGMENT 6

extern const TABLE_DESC g_quotationKSETable;

class CQuotationKSETable : public CDataTable, public IStockTextSource, public ILastPriceSource
{
public:
    explicit CQuotationKSETable(CZorvatMessageSource* pSource);

    using CDataTable::Create;
    BOOL Create(UINT nNameId, int nFixedColumns, UINT nTitleId) override;

    // The state text (column 23) of a stock; its number "%ld" when the board has no row for it.
    CString GetStockName(long nStock, BOOL bFlag) const;
    // Column 2 when above 0, else column 6; 0 for a stock the board does not list.
    double GetLastPrice(long nStock) const override;
    // The stock's text as the board shows it (column 0), empty when not listed.
    CString GetStockSymbol(long nStock, BOOL bSecond) const override;

    // Per-stock settings (QuotationKSESettings.cpp), under "<name>.TickerKSE" in the shared file.
    void OnLayoutSaved(CTableMDIWnd* pWindow) override;
    void LoadSettings(CIni* pIni) override;
    void SaveUserSettings(CIni& ini);
    void LoadUserSettings(CIni& ini);
    // The alert price entered for a stock: at or below 0 removes it, at the reference price it
    // fires now, else it waits for the price to reach it. FALSE when the stock is not listed.
    BOOL SetAlert(long nStock, double dAlertPrice);
    BOOL SetExternalHolding(long nStock, double dQuantity, double dPrice);
    BOOL ToggleTicker(long nStock);
    void SetShowExternal(BOOL bShow);
    BOOL IsShowingExternal() const { return m_bShowExternal; }
    // The dialogs on a row; the row is found again by its stock once the dialog has closed.
    void EditAlert(long nStock);
    void EditExternalHolding(long nStock);

    // Clicks, commands and menu (QuotationKSECommands.cpp).
    HMENU CreateContextMenu() override;
    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;
    void OnDoubleClick(CViewRow* pRow, int nCol) override;

    void OnSQ(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnQQ(CServerMessage* pMsg) override { TableOnLive(pMsg); }
    void OnRecord(CServerMessage* pMsg) override;
    void OnEnd(CServerMessage* pMsg) override;

protected:
    void CreateColumns() override;
    void ApplyLive(CServerMessage* pMsg) override;

private:
    struct ROW_STATE {
        BOOL bSession = FALSE;          // the session text's first "2" is its last character
        BOOL bSuspended = FALSE;        // segment code 9, 10, 11 or 4
        BOOL bSegment = FALSE;          // state 3 with segment 1
        BOOL Any() const { return bSession || bSuspended || bSegment; }
    };
    // What every line does before and after its fields are written.
    ROW_STATE PrepareLine(CServerMessage* pMsg) const;
    void WriteLineTexts(CServerMessage* pMsg, CDataBuffer* pRow, BOOL bPublish) const;
    void UpdateDerivedColumns(CDataBuffer* pRow, const ROW_STATE& state, BOOL bPublish);
    void UpdateHoldingColumns(CDataBuffer* pRow);
    void FireAlert(CDataBuffer* pRow);
    void SendToTicker(CServerMessage* pMsg, const CDataBuffer* pRow) const;
    CDataBuffer* FindStock(long nStock) const;
    void OpenTicket(CDataBuffer* pRow, int nCol);
    void OpenStockTable(UINT nId);
    BOOL UpdateCommand(UINT nId, CCmdUI* pCmdUI);
    BOOL RunCommand(UINT nId);

    BOOL m_bShowExternal = FALSE;
};

// The reference price of an alert: the last price, else the previous, else the third price.
double KSEReferencePrice(double dLast, double dPrevious, double dThird);
