#pragma once
// The interest rates of the currencies ("LI"), by currency and kind of rate.
#include "market/DataTable.h"

#define IDS_TABLE_INTEREST_RATES 57256
#define IDS_TITLE_INTEREST_RATES 57257

extern const TABLE_DESC g_interestRatesTable;

class CInternationalInterestRatesTable : public CDataTable
{
public:
    explicit CInternationalInterestRatesTable(CZorvatMessageSource* pSource) : CDataTable(g_interestRatesTable, pSource) {}

    // "||user|0|": the logged-in user's rates.
    BOOL SendRequest() override;
    // A reply whose field 3 is not 0 leaves the table as it was.
    void OnLI(CServerMessage* pMsg) override;
};
