#pragma once
// The option series the option chain dialog asks for ("GO"): one row per underlying, right,
// strike and expiry. The dialog sends one request per right, so a reply adds to the rows, and
// narrows the main window with ApplyFilter.
#include "market/DataTable.h"
#include "platform/mfc/OleDateTime.h"

#define IDS_TABLE_OPTION_CHAIN 57200
#define IDS_TITLE_OPTION_CHAIN 57201
#define IDS_OPTION_BOTH_RIGHTS 57206

extern const TABLE_DESC g_optionChainTable;

class COptionChainTable : public CDataTable
{
public:
    explicit COptionChainTable(CZorvatMessageSource* pSource) : CDataTable(g_optionChainTable, pSource) {}

    // The main window's filter: strikes from (0.0: no bound) and below to (0.0: no bound),
    // expiries from and before to (only when both are dates and from is the earlier), and the
    // right of the text unless it is the choice of both rights. FALSE without a window.
    BOOL ApplyFilter(double dStrikeFrom, double dStrikeTo, LPCSTR pszRight, const COleDateTime& expiryFrom,
                     const COleDateTime& expiryTo);

    void OnGO(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
};
