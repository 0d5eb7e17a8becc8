#pragma once
// The user's forward contracts ("KN", live "CU"), one row per contract number. A click on a
// contract's dates or number opens its detail form; command 40210 asks the server for the
// selected contract ("RV").
#include "account/AccountTable.h"

#define IDS_TABLE_FORWARD_CONTRACTS 56608
#define ID_FORWARD_CONTRACT_REQUEST 40210

extern const ACCOUNT_DESC g_forwardContractsTable;

enum
{
    FC_OPEN_DATE = 0, FC_MATURITY = 1, FC_NUMBER = 2, FC_ID = 3, FC_STOCK = 4, FC_SYMBOL = 5, FC_SIDE = 6,
    FC_VALUE = 11, FC_PROFIT = 12, FC_STATUS = 14, FC_ACTIONS = 15, FC_COUNT = 29
};

class CForwardContractsTable : public CAccountTable
{
public:
    explicit CForwardContractsTable(CZorvatMessageSource* pSource) : CAccountTable(g_forwardContractsTable, pSource) {}

    // "KN"; the rows go only when it went out.
    BOOL SendRequest() override;
    // "RV" for the selected contract; FALSE when none is selected, it has no date, or nothing went out.
    BOOL SendContractRequest();

    void OnKN(CServerMessage* pMsg) override { TableOnReplyBegin(pMsg); }
    void OnRecord(CServerMessage* pMsg) override;
    void OnCU(CServerMessage* pMsg) override { TableOnLive(pMsg); }

protected:
    void ApplyLive(CServerMessage* pMsg) override;
    BOOL OnOwnCellClick(CViewRow* pRow, int nCol) override;
    void OnAccountCommand(UINT nId) override;
};
