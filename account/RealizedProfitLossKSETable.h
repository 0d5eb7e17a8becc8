#pragma once
// The KSE trades closed between two dates ("RK"), each stock named from the stock list.
#include "account/RangeReportTable.h"

#define IDS_TABLE_KSE_REALIZED 56305

extern const RANGE_REPORT_DESC g_realizedProfitLossKSETable;

class CRealizedProfitLossKSETable : public CRangeReportTable
{
public:
    explicit CRealizedProfitLossKSETable(CZorvatMessageSource* pSource)
        : CRangeReportTable(g_realizedProfitLossKSETable, pSource) {}

    void OnRK(CServerMessage* pMsg) override { BeginRangeReply(pMsg); }
    void OnRecord(CServerMessage* pMsg) override;
};
