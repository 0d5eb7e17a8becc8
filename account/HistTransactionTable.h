#pragma once
// The US transactions between two dates ("TH"), and each new one ("NR") that falls within the
// range the reply echoed.
#include "account/RangeReportTable.h"

#define IDS_TABLE_US_TRANSACTIONS 51180

extern const RANGE_REPORT_DESC g_histTransactionTable;

class CHistTransactionTable : public CRangeReportTable
{
public:
    explicit CHistTransactionTable(CZorvatMessageSource* pSource) : CRangeReportTable(g_histTransactionTable, pSource) {}

    void OnTH(CServerMessage* pMsg) override { BeginRangeReply(pMsg); }
    void OnRecord(CServerMessage* pMsg) override;
    void OnNR(CServerMessage* pMsg) override { TableOnLive(pMsg); }

protected:
    void ApplyLive(CServerMessage* pMsg) override;
};
