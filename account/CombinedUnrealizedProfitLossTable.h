#pragma once
// The user's open US and KSE positions in one table ("UP" then "UK", live "NH" and "IU"), each
// row valued in its own currency and in the user's base currency. The "UP" reply it takes is
// the one of its latest request (the account dialog's or its own); its end asks for the KSE
// positions, and only the reply to that request adds them, once. The rows come only while the
// application's unrealized-report selector is on.
#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include "account/AccountTable.h"
#include "account/HoldingsValuation.h"
#include "app/TableFactory.h"

extern const ACCOUNT_DESC g_combinedUnrealizedTable;

enum
{
    CU_SYMBOL = 0, CU_NAME = 1, CU_MARKET = 2, CU_REPLY = 3, CU_CURRENCY = 4, CU_KIND = 5, CU_QTY = 6, CU_QTY2 = 7,
    CU_SERVER_GAIN = 8, CU_PRICE = 9, CU_AVERAGE = 10, CU_COST = 11, CU_VALUE = 12, CU_GAIN = 13, CU_PERCENT = 14, CU_BASE_COST = 15,
    CU_BASE_VALUE = 16, CU_BASE_GAIN = 17, CU_OPEN_DATE = 18, CU_LAST_DATE = 19, CU_EXTRA = 20, CU_SERVER_PERCENT = 21, CU_ROW = 22,
    CU_COUNT = 23
};
// The kind of a US option row: beyond the KSE holding types (0 to 4), which US shares share.
#define CU_KIND_OPTION 5

class CCombinedUnrealizedProfitLossTable : public CAccountTable
{
public:
    explicit CCombinedUnrealizedProfitLossTable(CZorvatMessageSource* pSource)
        : CAccountTable(g_combinedUnrealizedTable, pSource) {}

    // The account dialog's OK: "UP" for the account; when it went out, the table made or found,
    // shown and told the account and the request. FALSE, with the "not sent" notice, when the
    // link took nothing: the table is left as it was.
    static BOOL OpenForAccount(LPCSTR pszAccount);
    // "UP" for the stored account; the "UK" follows its reply.
    BOOL SendRequest() override;
    void SetAccount(LPCSTR pszAccount, long nUsRequest);
    const CString& GetAccount() const { return m_strAccount; }

    // The positions in the symbol on the market take the quotation's price and are revalued.
    void RevalueSymbol(LPCSTR pszSymbol, long nMarketCode) override;
    void ConvertToBaseCurrency() override;
    void RevalueRow(CDataBuffer* pRow) const;
    // The base-currency cost of the row's cost.
    static void ConvertCost(CDataBuffer* pRow);
    BOOL IsKseRow(const CDataBuffer* pRow) const;
    static BOOL FormatKind(char* pszBuf, int nSize, const TBCellSlot* pRow, int nCol);

    void OnUP(CServerMessage* pMsg) override;
    void OnUK(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
    void OnEnd(CServerMessage* pMsg) override;
    void OnNH(CServerMessage* pMsg) override { TableOnLive(pMsg); }
    void OnIU(CServerMessage* pMsg) override { TableOnLive(pMsg); }

protected:
    void ApplyLive(CServerMessage* pMsg) override;
    void OnAccountCommand(UINT nId) override;

private:
    void StartReply(int nKind, long nReplyId);
    void AddUsRow(CServerMessage* pMsg);
    void AddKseRow(CServerMessage* pMsg);
    void ApplyUsLine(CServerMessage* pMsg);
    void ApplyKseLine(CServerMessage* pMsg);
    CDataBuffer* OpenLiveRow(CServerMessage* pMsg, int nType, CDataBuffer* pRow, BOOL bClosed, int nLastField,
                             std::unique_ptr<CDataBuffer>& pNew);
    // A new row's running number, its side and whether it holds option contracts.
    void Number(CDataBuffer* pRow, BOOL bKse, BOOL bOption);
    CDataBuffer* Store(CDataBuffer* pNew);

    CString m_strAccount;
    long m_nUsRequest = -1;             // the "UP" whose reply the table takes
    long m_nKseRequest = -1;            // the "UK" its end sent
    int m_nReading = 0;                 // MSG_UP or MSG_UK while its reply runs
    long m_nReplyId = -1;
    long m_nNextRow = 0;
    std::unordered_set<long> m_kseRows; // the running numbers of the KSE rows
    std::unordered_set<long> m_optionRows;  // and of the US option rows
    // The KSE positions that live lines made before the "UK" reply (stock, kind): its rows
    // refill them, so a position is one row whatever came first. The store finds nothing by
    // key while a reply loads.
    std::map<std::pair<std::string, long>, CDataBuffer*> m_kseBefore;
    CPositionRows m_positions{CU_SYMBOL, CU_MARKET};
};
