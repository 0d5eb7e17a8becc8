#pragma once
// The user's KSE positions and cash ("IK", live "IU"), one row per stock and holding type, as
// the server values them: price and value come from its lines.
#include "market/DataTable.h"

extern const TABLE_DESC g_investorHoldingsKSETable;

class CInvestorHoldingsKSETable : public CDataTable
{
public:
    explicit CInvestorHoldingsKSETable(CZorvatMessageSource* pSource) : CDataTable(g_investorHoldingsKSETable, pSource) {}

    BOOL SendRequest() override;
    // The holding type's text; the cash line (stock 0) has its own three.
    static BOOL FormatHoldingType(char* pszBuf, int nSize, const TBCellSlot* pRow, int nCol);

    void OnIK(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
    void OnIU(CServerMessage* pMsg) override { TableOnLive(pMsg); }

    HMENU CreateContextMenu() override;
    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    void ApplyLive(CServerMessage* pMsg) override;

private:
    // The columns the table computes: the name, the sum of two fields, the status text.
    void Complete(CDataBuffer* pRow, CServerMessage* pMsg, BOOL bInterface, int nStatusField);

    long m_nRequest = -1;
};
