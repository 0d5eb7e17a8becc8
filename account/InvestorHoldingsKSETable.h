#pragma once
// The user's KSE positions and cash ("IK", live "IU"), one row per stock and holding type, valued
// as every account window values them (HoldingsValuation.h): at the board's price, or the
// server's while the board has none.
#include "account/HoldingsValuation.h"
#include "market/DataTable.h"

extern const TABLE_DESC g_investorHoldingsKSETable;

class CInvestorHoldingsKSETable : public CDataTable
{
public:
    explicit CInvestorHoldingsKSETable(CZorvatMessageSource* pSource) : CDataTable(g_investorHoldingsKSETable, pSource) {}

    BOOL SendRequest() override;
    // The holding type's text; the cash line (stock 0) has its own three.
    static BOOL FormatHoldingType(char* pszBuf, int nSize, const TBCellSlot* pRow, int nCol);

    // Every position in the stock takes the board's price; price, value, gain and per cent.
    void RevalueSymbol(LPCSTR pszStock, long nMarketCode) override;

    void OnIK(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
    void OnEnd(CServerMessage* pMsg) override;
    void OnIU(CServerMessage* pMsg) override { TableOnLive(pMsg); }

    HMENU CreateContextMenu() override;
    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    void ApplyLive(CServerMessage* pMsg) override;

private:
    // The columns the table computes: the name, the sum of two fields, the status text.
    void Complete(CDataBuffer* pRow, CServerMessage* pMsg, BOOL bInterface, int nStatusField);

    long m_nRequest = -1;
    CPositionRows m_positions{1, -1};   // by stock code
};
