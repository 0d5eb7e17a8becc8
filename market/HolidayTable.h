#pragma once
// The market holidays ("HD", requested after login): date, market and the holiday's name. A
// click on a market shows that market's holidays only.
#include "market/DataTable.h"

#define IDS_TABLE_HOLIDAYS 51990
#define IDS_TITLE_HOLIDAYS 56788

extern const TABLE_DESC g_holidayTable;

class CHolidayTable : public CDataTable
{
public:
    explicit CHolidayTable(CZorvatMessageSource* pSource) : CDataTable(g_holidayTable, pSource) {}
    void OnHD(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnRecord(CServerMessage* pMsg) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;
};
