#pragma once
// The margin details of one account ("MD"), its summary (account, ratio, loan and equity) in
// the window's caption from the reply's first line.
#include "account/AccountTable.h"

#define IDS_TABLE_MARGIN_DETAILS 57049

extern const ACCOUNT_DESC g_marginDetailsTable;

class CMarginDetailsTable : public CAccountTable
{
public:
    explicit CMarginDetailsTable(CZorvatMessageSource* pSource) : CAccountTable(g_marginDetailsTable, pSource) {}

    // "MD" for the account; the refresh asks again for the same one.
    BOOL SendRequestFor(long nArgument, LPCSTR pszAccount) override;
    BOOL SendRequest() override { return SendRequestFor(0, m_strAccount); }
    // The caption the reply's first line gives.
    static CString FormatSummary(CServerMessage* pMsg);

    void OnMD(CServerMessage* pMsg) override;

private:
    CString m_strAccount;
};
