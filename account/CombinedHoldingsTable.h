#pragma once
// The user's US and KSE positions in one table, each in its own currency and in the user's base
// currency. It loads in two steps, the US holdings ("IH") and, once they have ended, the KSE
// holdings ("IK"); it follows both families' live lines ("NH", "IU") and takes the price each
// quotation table has just stored.
#include "account/HoldingsValuation.h"
#include "market/DataTable.h"

extern const TABLE_DESC g_combinedHoldingsTable;

enum
{
    CH_SYMBOL = 0, CH_NAME = 1, CH_MARKET = 2, CH_CURRENCY = 3, CH_TYPE = 4, CH_QUANTITY = 5, CH_QUANTITY2 = 7,
    CH_GAIN = 8, CH_GAIN_PERCENT = 9, CH_COST = 20, CH_GAIN_2 = 21, CH_PRICE = 10, CH_VALUE = 11, CH_BASE_VALUE = 12, CH_HIDDEN_AMOUNT = 15, CH_BASE_HIDDEN_AMOUNT = 16,
    CH_KSE_SUM = 17, CH_STATUS = 22, CH_COUNT = 23
};

class CCombinedHoldingsTable : public CDataTable
{
public:
    explicit CCombinedHoldingsTable(CZorvatMessageSource* pSource) : CDataTable(g_combinedHoldingsTable, pSource) {}

    // The two-step load of an account kind; the rows go only when its first request went out.
    BOOL SendKind(long nKind);
    BOOL SendRequest() override { return SendKind(3); }
    BOOL SendRequestFor(long nKind, LPCSTR /*pszText*/) override { return SendKind(nKind); }
    void RevalueSymbol(LPCSTR pszSymbol, long nMarketCode) override;
    void ConvertToBaseCurrency() override;
    // The holding type's text; a currency symbol's row is a cash line.
    static BOOL FormatHoldingType(char* pszBuf, int nSize, const TBCellSlot* pRow, int nCol);

    void OnIH(CServerMessage* pMsg) override { BeginReply(pMsg, m_nUsRequest); }
    void OnIK(CServerMessage* pMsg) override { BeginReply(pMsg, m_nKseRequest); }
    void OnRecord(CServerMessage* pMsg) override;
    void OnEnd(CServerMessage* pMsg) override;
    // A position line between a request and its reply's header is older than the reply's rows:
    // dropped ("NH" while the US load is asked for, "IU" while either is). Inside a reply it
    // waits for the reply's end.
    void OnNH(CServerMessage* pMsg) override
    {
        if (IsReceiving() || !m_bUsAsked)
            TableOnLive(pMsg);
    }
    void OnIU(CServerMessage* pMsg) override
    {
        if (IsReceiving() || m_nUsRequest <= 0)
            TableOnLive(pMsg);
    }

    HMENU CreateContextMenu() override;
    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;

protected:
    void ApplyLive(CServerMessage* pMsg) override;

private:
    void BeginReply(CServerMessage* pMsg, long nRequest);
    long Send(int nType, LPCSTR pszBody) const;
    void AddUsRow(CServerMessage* pMsg);
    // A KSE reply row or live line: its row found or made, filled through the line's own map.
    void ApplyKse(CServerMessage* pMsg, int nType, int nStatusField);
    // A US row's holding type: an option's own, or shares.
    static void SetKind(CDataBuffer* pRow, long nOptionRight, BOOL bPublish);
    void ApplyUsLine(CServerMessage* pMsg);
    // Both base-currency columns of a row from its own amounts.
    static void Convert(CDataBuffer* pRow);
    // The gain of a row its line valued.
    static void Settle(CDataBuffer* pRow);

    int m_nReply = 0;                   // MSG_IH or MSG_IK while its reply runs
    long m_nUsRequest = -1;             // until the "IK" reply's end
    BOOL m_bUsAsked = FALSE;            // from the "IH" request to its reply's end
    long m_nKseRequest = -1;
    CString m_strAccount;
    CPositionRows m_positions{CH_SYMBOL, CH_MARKET};
};
