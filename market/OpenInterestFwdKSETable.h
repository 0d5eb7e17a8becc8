#pragma once
// The KSE forward market's open interest: one row per stock, contract term and side, with five
// amounts, filled by the "OI" reply; each row names its stock through the KSE stock list, and a
// click on the stock code, term or side shows only the rows alike.
#include "market/DataTable.h"

#define IDS_TABLE_OPEN_INTEREST_FWD_KSE 52160
#define IDS_TITLE_OPEN_INTEREST_FWD_KSE 52161

extern const TABLE_DESC g_openInterestFwdKSETable;

class COpenInterestFwdKSETable : public CDataTable
{
public:
    explicit COpenInterestFwdKSETable(CZorvatMessageSource* pSource) : CDataTable(g_openInterestFwdKSETable, pSource) {}

    void OnOI(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnRecord(CServerMessage* pMsg) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;
};
