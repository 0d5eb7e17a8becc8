#pragma once
// The exchange rates between currencies ("VX"). Each rate received also becomes the
// application's cross rate for its pair, and at the reply's end every currency of the currency
// list, known then or coming later, converts to itself at 1.0. A click on a rate opens the
// currency conversion form on the row's pair.
#include "market/DataTable.h"

#define IDS_TABLE_EXCHANGE_RATES 57275
#define IDS_TITLE_EXCHANGE_RATES 57276

extern const TABLE_DESC g_exchangeRatesTable;

class CInternationalExchangeRatesTable : public CDataTable
{
public:
    explicit CInternationalExchangeRatesTable(CZorvatMessageSource* pSource) : CDataTable(g_exchangeRatesTable, pSource) {}

    // "||user|0": the logged-in user's rates.
    BOOL SendRequest() override;
    // A reply whose field 3 is not 0 leaves the table as it was.
    void OnVX(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
    void OnEnd(CServerMessage* pMsg) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;
};
