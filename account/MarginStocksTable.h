#pragma once
// A list of the stocks accepted for margin ("LM"): two instances, each of its own list kind,
// each taking only the replies of its kind.
#include "account/AccountTable.h"

#define IDS_TABLE_MARGIN_STOCKS_1 57052
#define IDS_TABLE_MARGIN_STOCKS_2 57054

extern const ACCOUNT_DESC g_marginStocksTable;

class CMarginStocksTable : public CAccountTable
{
public:
    explicit CMarginStocksTable(CZorvatMessageSource* pSource) : CAccountTable(g_marginStocksTable, pSource) {}

    // The kind follows the name: 57052 lists kind 1, 57054 kind 2.
    BOOL Create(UINT nNameId, int nFixedColumns, UINT nTitleId) override;
    BOOL SendRequest() override;
    long GetKind() const { return m_nKind; }

    void OnLM(CServerMessage* pMsg) override;

private:
    long m_nKind = 1;
};
