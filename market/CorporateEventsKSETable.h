#pragma once
// The KSE corporate events ("CF"): date, stock, kind, values and record date of each event. A
// click on a stock or a kind shows those events only.
#include "market/DataTable.h"

#define IDS_TABLE_CORPORATE_EVENTS_KSE 55335
#define IDS_TITLE_CORPORATE_EVENTS_KSE 56789

extern const TABLE_DESC g_corporateEventsKSETable;

class CCorporateEventsKSETable : public CDataTable
{
public:
    explicit CCorporateEventsKSETable(CZorvatMessageSource* pSource)
        : CDataTable(g_corporateEventsKSETable, pSource) {}

    // The events of the argument's selection (the opener asks with 0).
    using CDataTable::SendRequest;
    BOOL SendRequestFor(long nArgument, LPCSTR pszText) override;
    BOOL SendRequest() override { return SendRequestFor(0, nullptr); }

    void OnCF(CServerMessage* pMsg) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;
};
