#pragma once
// The user's open KSE positions with their cost, market value and unrealized profit in dinars
// ("UK", live "IU"), one row per stock, holding kind and the server's text and date keys; a
// cash row "=KWD" when the reply carries stock 0.
#include "account/AccountTable.h"
#include "account/HoldingsValuation.h"
#include "app/TableFactory.h"

extern const ACCOUNT_DESC g_unrealizedProfitLossKSETable;

enum
{
    UK_SYMBOL = 0, UK_STOCK = 1, UK_KIND = 2, UK_QTY = 3, UK_QTY2 = 4, UK_TOTAL = 7, UK_OPEN_DATE = 8,
    UK_LAST_DATE = 9, UK_AVERAGE = 10, UK_COST = 11, UK_EXTRA = 12, UK_PRICE = 14, UK_VALUE = 15, UK_GAIN = 16,
    UK_PERCENT = 17, UK_TEXT_KEY = 18, UK_DATE_KEY = 19, UK_COUNT = 20
};

class CUnrealizedProfitLossKSETable : public CAccountTable
{
public:
    explicit CUnrealizedProfitLossKSETable(CZorvatMessageSource* pSource)
        : CAccountTable(g_unrealizedProfitLossKSETable, pSource) {}

    // The kind's text; a row without a stock text has the cash kinds' texts.
    static BOOL FormatKind(char* pszBuf, int nSize, const TBCellSlot* pRow, int nCol);
    // Value, profit and per cent of a stored row from its price (fils) and quantities.
    static void RevalueRow(CDataBuffer* pRow);
    // Every position in the stock takes the board's price and is revalued.
    void RevalueSymbol(LPCSTR pszStock, long nMarketCode) override;

    // "UK" for the logged-in user's account; the reply the table takes is this one's.
    BOOL SendRequest() override;
    using CAccountTable::SendRequest;
    void OnUK(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
    void OnIU(CServerMessage* pMsg) override { TableOnLive(pMsg); }

protected:
    void ApplyLive(CServerMessage* pMsg) override;

private:
    long m_nRequest = -1;               // its own latest "UK"
    long m_nReplyId = -1;               // field 3 of the last reply's header; its live lines carry it in 10
    CPositionRows m_positions{UK_STOCK, -1};
};

// The row of a KSE position line: by its stock and kind with empty text and date keys, else
// the first of that stock and kind whatever its text and date keys hold. Shared with the
// combined table's KSE rows.
CDataBuffer* FindKsePositionRow(CDataArray* pRows, LPCSTR pszStock, LPCSTR pszKind);
