#pragma once
// The trades of both markets closed between two dates: the US rows of an "RP" reply, then the
// KSE rows of the "RK" the table sends itself when that reply has ended, with the cost, profit
// and charges of each in the base currency. It takes only the replies to its own two requests.
#include "account/RangeReportTable.h"
#include "app/TableFactory.h"

#define ID_APP_COMBINED_REALIZED    40228

extern const RANGE_REPORT_DESC g_combinedRealizedProfitLossTable;

// The combined realized date-range dialog, given by whoever builds it: modal over hParent, preset
// with the range (server form), answering as DoModal does.
typedef INT_PTR (*COMBINED_RANGE_DIALOG)(HWND hParent, const CString& strFrom, const CString& strTo);
void RegisterCombinedRealizedDialog(COMBINED_RANGE_DIALOG pfnRun);

// The dialog's OK: the "RP" request for the range goes out, then the table is made or emptied,
// shown and armed with the range and the number of that request. 0, and nothing changed but a
// line in the information window, when the link cannot send.
long QueryCombinedRealized(const CString& strFrom, const CString& strTo);

class CCombinedRealizedProfitLossTable : public CRangeReportTable
{
public:
    explicit CCombinedRealizedProfitLossTable(CZorvatMessageSource* pSource)
        : CRangeReportTable(g_combinedRealizedProfitLossTable, pSource) {}

    BOOL SendRequest() override;
    using CRangeReportTable::SendRequest;
    void OnQuerySent(long nNumber) override;
    void OnRP(CServerMessage* pMsg) override;
    void OnRK(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
    void OnEnd(CServerMessage* pMsg) override;
    void ConvertToBaseCurrency() override;

private:
    void Convert(CDataBuffer* pRow);

    int m_nCurrent = 0;                 // MSG_RP or MSG_RK while its reply arrives
    long m_nUsNumber = 0;               // the link numbers of the two requests; 0 for none
    long m_nKseNumber = 0;
};
