#pragma once
// The US trades closed between two dates ("RP"): profit per trade, an option's at a hundred
// shares a contract; the option columns stay hidden.
#include "account/RangeReportTable.h"

#define IDS_TABLE_US_REALIZED 51220

extern const RANGE_REPORT_DESC g_realizedProfitLossTable;

enum { RC_SYMBOL = 3, RC_PROFIT = 12, RC_MARKET = 15, RC_CURRENCY = 16, RC_SYMBOL_TEXT = 17, RC_RIGHT = 19 };

class CRealizedProfitLossTable : public CRangeReportTable
{
public:
    explicit CRealizedProfitLossTable(CZorvatMessageSource* pSource)
        : CRangeReportTable(g_realizedProfitLossTable, pSource) {}

    void OnRP(CServerMessage* pMsg) override { BeginRangeReply(pMsg); }
    void OnRecord(CServerMessage* pMsg) override;
    void OnQuerySent(long /*nNumber*/) override { SetColumnsHidden(TRUE); }
};
