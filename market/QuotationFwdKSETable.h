#pragma once
// The KSE forward market: two rows per stock and series, one for each side, keyed by stock,
// side and series, each with the underlying's price from the KSE board and the figures of the
// five contract periods (1, 3, 6, 9 and 12 months). "FQ" fills it, "FW" replaces a stock's
// figures at any time, "FM" counts a forward trade into its period and shows it on the KSE
// ticker, and the KSE market's closing states empty it until the next reply.
#include "market/DataTable.h"

#define IDS_TABLE_QUOTATIONS_FWD_KSE 52121
#define IDS_TITLE_QUOTATIONS_FWD_KSE 52122
#define FWD_PERIODS 5
#define ID_FWD_ORDER_TICKET 33208

extern const TABLE_DESC g_quotationFwdKSETable;

class CQuotationFwdKSETable : public CDataTable
{
public:
    explicit CQuotationFwdKSETable(CZorvatMessageSource* pSource) : CDataTable(g_quotationFwdKSETable, pSource) {}

    void OnFQ(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnFW(CServerMessage* pMsg) override { TableOnLive(pMsg); }
    void OnFM(CServerMessage* pMsg) override;
    void OnMM(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;
    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    void ApplyLive(CServerMessage* pMsg) override;

private:
    // One side's row from a "FQ" or "FW" line.
    void FillSide(CServerMessage* pMsg, CDataBuffer* pRow, long nSide, BOOL bPublish);
    void ApplyTrade(CServerMessage* pMsg);
};
