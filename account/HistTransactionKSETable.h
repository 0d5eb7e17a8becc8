#pragma once
// The KSE transactions between two dates ("TK"), and each new one ("NK") within the range the
// reply echoed; a status text for each.
#include "account/RangeReportTable.h"

#define IDS_TABLE_KSE_TRANSACTIONS 56272

extern const RANGE_REPORT_DESC g_histTransactionKSETable;

class CHistTransactionKSETable : public CRangeReportTable
{
public:
    explicit CHistTransactionKSETable(CZorvatMessageSource* pSource)
        : CRangeReportTable(g_histTransactionKSETable, pSource) {}

    void OnTK(CServerMessage* pMsg) override { BeginRangeReply(pMsg); }
    void OnRecord(CServerMessage* pMsg) override;
    void OnNK(CServerMessage* pMsg) override { TableOnLive(pMsg); }

protected:
    void ApplyLive(CServerMessage* pMsg) override;
};
