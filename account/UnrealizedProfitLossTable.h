#pragma once
// The user's open US positions with their cost, market value, unrealized gain and gain per cent,
// long and short side ("UP", live "NH"), revalued whenever the US quotation table stores a new
// last price of a held symbol.
#include "account/HoldingsValuation.h"
#include "market/DataTable.h"

extern const TABLE_DESC g_unrealizedProfitLossTable;

enum
{
    UC_SYMBOL = 0, UC_LAST = 1, UC_LONG_DATE = 2, UC_LONG_DATE2 = 3, UC_LONG_AVERAGE = 4, UC_LONG_COST = 5,
    UC_LONG_QTY = 6, UC_LONG_QTY2 = 7, UC_LONG_AMOUNT = 8, UC_LONG_AMOUNT_PERCENT = 9, UC_LONG_VALUE = 10, UC_LONG_GAIN = 11,
    UC_LONG_PERCENT = 12, UC_SHORT_DATE = 13, UC_SHORT_DATE2 = 14, UC_SHORT_AVERAGE = 15, UC_SHORT_PROCEEDS = 16,
    UC_SHORT_QTY = 17, UC_SHORT_QTY2 = 18, UC_SHORT_VALUE = 19, UC_SHORT_GAIN = 20, UC_SHORT_PERCENT = 21,
    UC_OPTION = 22, UC_OPTION_RIGHT = 23, UC_STRIKE = 24, UC_EXPIRY = 25, UC_MARKET = 26, UC_TEXT = 27,
    UC_COMPANY = 28, UC_INTRINSIC = 29, UC_COUNT = 30
};

class CUnrealizedProfitLossTable : public CDataTable
{
public:
    explicit CUnrealizedProfitLossTable(CZorvatMessageSource* pSource)
        : CDataTable(g_unrealizedProfitLossTable, pSource) {}

    BOOL SendRequest() override;
    // The position in the symbol on the market takes the quotation's price, and the options on
    // the symbol their intrinsic value at it.
    void RevalueSymbol(LPCSTR pszSymbol, long nMarketCode) override;
    // Values, gains and per cents of one stored row from its last price and quantities.
    void RevalueRow(CDataBuffer* pRow);
    // The option columns, which stay hidden after every show.
    void SetColumnsHidden(BOOL bHidden) override;

    void OnUP(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
    void OnNH(CServerMessage* pMsg) override { TableOnLive(pMsg); }

    HMENU CreateContextMenu() override;
    void OnInitMenuPopup(HMENU hMenu, UINT nIndex, BOOL bSysMenu) override;
    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;

protected:
    void ApplyLive(CServerMessage* pMsg) override;

private:
    long m_nRequest = -1;               // the "UP" whose reply the table takes: its own latest
    long m_nReplyId = -1;               // field 1 of the last reply's header; its live lines carry it
    HMENU m_hPopup = nullptr;
    CPositionRows m_positions{UC_SYMBOL, UC_MARKET, true};
    CPositionRows m_options{UC_OPTION, -1, false, false};  // by underlying
};
