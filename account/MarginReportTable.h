#pragma once
// The margin report of the user's accounts ("ML", live "MN"), one row per account number.
#include "account/AccountTable.h"

#define IDS_TABLE_MARGIN_REPORT 57056

extern const ACCOUNT_DESC g_marginReportTable;

class CMarginReportTable : public CAccountTable
{
public:
    explicit CMarginReportTable(CZorvatMessageSource* pSource) : CAccountTable(g_marginReportTable, pSource) {}

    void OnML(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnMN(CServerMessage* pMsg) override { TableOnLive(pMsg); }
};
