#pragma once
// The KSE stock list: one row per listed stock, keyed by its stock id, filled by the "SL" reply
// at log-in and kept current by "LL" lines (never removed by them). Every KSE table names its
// stocks through it. Its end of the first list starts the KSE market-data subscriptions; its
// context menu opens the selected stock's company information and financials.
#include "market/DataTable.h"
#include "market/TableLinks.h"

#define IDS_TABLE_STOCK_LIST_KSE 56376
#define IDS_TITLE_STOCK_LIST_KSE 56798
#define ID_STOCK_INFORMATION 33279
#define ID_STOCK_FINANCIALS 33280

enum STOCK_LIST_COLUMN { SLC_ID = 0, SLC_SYMBOL = 1, SLC_SYMBOL_AR = 2, SLC_NAME = 3, SLC_NAME_AR = 4 };

extern const TABLE_DESC g_stockListKSETable;

class CStockListKSETable : public CDataTable, public IStockTextSource
{
public:
    explicit CStockListKSETable(CZorvatMessageSource* pSource) : CDataTable(g_stockListKSETable, pSource) {}

    // Column 2 (bSecond) or 1 of the stock's row; "=KWD" for id 0, the id "%ld" for a stock the
    // list lacks.
    CString GetStockSymbol(long nStockId, BOOL bSecond) const override;
    // Column 4 (bSecond) or 3; empty for a stock the list lacks.
    CString GetStockName(long nStockId, BOOL bSecond) const;

    HMENU CreateContextMenu() override;
    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    void OnSL(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnLL(CServerMessage* pMsg) override { TableOnLive(pMsg); }
    void OnEnd(CServerMessage* pMsg) override;

private:
    // The stock id of the selected row of the active window, or else of the main window; -1.
    long GetSelectedStock();
    void OpenStockTable(UINT nNameId, UINT nTitleId);
};

// The stock's symbol in the list's words, for the tables that show KSE stocks; the id "%ld"
// while the list does not exist.
CString GetKSEStockSymbol(long nStockId, BOOL bSecond);
