#pragma once
// The KSE trades, one row per trade keyed by its number, newest followed by the grid: the
// regular board's and the odd-lot board's both from one "TE" reply and the "TM" lines (each
// takes the lines of its board), the forward market's from "FE" and "FM". Each names the
// stock of a trade through the KSE stock list; a click on a symbol or other quick-filter column
// shows only the rows alike.
#include <span>
#include "market/DataTable.h"

#define IDS_TABLE_TRADES_KSE 52112
#define IDS_TITLE_TRADES_KSE 56728
#define IDS_TABLE_TRADES_ODDLOT_KSE 52113
#define IDS_TITLE_TRADES_ODDLOT_KSE 56729
#define IDS_TABLE_TRADES_FWD_KSE 52119
#define IDS_TITLE_TRADES_FWD_KSE 52120
#define IDS_TABLE_QUOTATIONS_KSE 52114     // names a trade's stock a second way, once it exists

#define TRADES_NO_BOARD 0

// What tells the three apart beyond their table descriptions.
struct KSE_TRADES_DESC
{
    const TABLE_DESC& table;
    int nBoard;                         // field 0 of the lines this table takes; TRADES_NO_BOARD: all
    int nTradeField;                    // the trade number, the row's key
    int nStockField;                    // the stock id
    int nSymbolColumn;                  // the stock list's symbol
    int nSecondSymbolColumn;            // the KSE quotation table's, -1 none
    std::span<const int> filterColumns; // a click filters on these
};

extern const KSE_TRADES_DESC g_tradesKSE;
extern const KSE_TRADES_DESC g_tradesOddLotKSE;
extern const KSE_TRADES_DESC g_tradesFwdKSE;

class CKSETradesTable : public CDataTable
{
public:
    CKSETradesTable(const KSE_TRADES_DESC& trades, CZorvatMessageSource* pSource);

    void OnRecord(CServerMessage* pMsg) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;

protected:
    void ApplyLive(CServerMessage* pMsg) override;

private:
    BOOL IsOwnBoard(CServerMessage* pMsg) const;
    void SetSymbols(CServerMessage* pMsg, CDataBuffer* pRow, BOOL bPublish);

    const KSE_TRADES_DESC& m_trades;
};

class CTimeAndSalesKSETable : public CKSETradesTable
{
public:
    explicit CTimeAndSalesKSETable(CZorvatMessageSource* pSource) : CKSETradesTable(g_tradesKSE, pSource) {}
    void OnTE(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnTM(CServerMessage* pMsg) override { TableOnLive(pMsg); }
};

class CTimeAndSalesOddLotKSETable : public CKSETradesTable
{
public:
    explicit CTimeAndSalesOddLotKSETable(CZorvatMessageSource* pSource) : CKSETradesTable(g_tradesOddLotKSE, pSource) {}
    void OnTE(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnTM(CServerMessage* pMsg) override { TableOnLive(pMsg); }
};

class CTimeAndSalesFwdKSETable : public CKSETradesTable
{
public:
    explicit CTimeAndSalesFwdKSETable(CZorvatMessageSource* pSource) : CKSETradesTable(g_tradesFwdKSE, pSource) {}
    void OnFE(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnFM(CServerMessage* pMsg) override { TableOnLive(pMsg); }
};
