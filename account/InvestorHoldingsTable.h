#pragma once
// The user's US positions ("IH", live "NH"), valued from the US quotation table: each position
// of a symbol on a market takes the quotation's price as soon as the quotation table has stored
// a quote (a "GS" line reaches this table first and asks for the price stored before it).
#include "account/HoldingsValuation.h"
#include "market/DataTable.h"

extern const TABLE_DESC g_investorHoldingsTable;

// Columns the table's code reads or writes.
enum
{
    HC_SYMBOL = 0, HC_QUANTITY = 1, HC_QUANTITY2 = 3, HC_COST = 4, HC_PRICE = 5, HC_VALUE = 6, HC_OPTION_RIGHT = 11,
    HC_MARKET = 14, HC_CURRENCY = 15, HC_COMPANY = 16, HC_SUBKEY = 17, HC_GAIN = 18, HC_PERCENT = 19, HC_COUNT = 21
};

#define US_HOLDINGS_KIND_ALL 3          // every US account kind
#define US_HOLDINGS_KIND_OTHER 4

class CInvestorHoldingsTable : public CDataTable
{
public:
    explicit CInvestorHoldingsTable(CZorvatMessageSource* pSource) : CDataTable(g_investorHoldingsTable, pSource) {}

    // The holdings request of an account kind; FALSE when nothing was sent.
    BOOL SendKind(long nKind);
    BOOL SendRequest() override { return SendKind(US_HOLDINGS_KIND_ALL); }
    BOOL SendRequestFor(long nKind, LPCSTR /*pszText*/) override { return SendKind(nKind); }
    // Every position of the symbol on that market takes the US quotation's price.
    void RevalueSymbol(LPCSTR pszSymbol, long nMarketCode) override;
    // The option columns, which stay hidden after every show.
    void SetColumnsHidden(BOOL bHidden) override;

    void OnIH(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
    void OnEnd(CServerMessage* pMsg) override;
    void OnNH(CServerMessage* pMsg) override { TableOnLive(pMsg); }
    void OnGS(CServerMessage* pMsg) override;

    HMENU CreateContextMenu() override;
    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;

protected:
    void ApplyLive(CServerMessage* pMsg) override;

private:
    // Price, value, gain and per cent of every position of the symbol on the market.
    void ValueRows(LPCSTR pszSymbol, LPCSTR pszMarket, long nMarketCode, double dPrice);

    BOOL m_bRequestOutstanding = FALSE;     // any "IH" header is this table's until its reply ends
    long m_nRequest = 0;                    // the link's number of the last request
    CPositionRows m_positions{HC_SYMBOL, HC_MARKET};
};
