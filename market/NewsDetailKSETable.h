#pragma once
// The detail lines of one KSE announcement ("ND"), asked for by the announcements table.
#include "market/DataTable.h"

#define IDS_TABLE_NEWS_DETAIL_KSE 56934
#define IDS_TITLE_NEWS_DETAIL_KSE 56935

extern const TABLE_DESC g_newsDetailKSETable;

class CNewsDetailKSETable : public CDataTable
{
public:
    explicit CNewsDetailKSETable(CZorvatMessageSource* pSource) : CDataTable(g_newsDetailKSETable, pSource) {}
    void OnND(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
};
