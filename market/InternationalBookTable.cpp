#include "market/InternationalBookTable.h"

#include <cstring>
#include "app/ZorvatApp.h"
#include "framework/base/SharedGlobals.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/QuotationTable.h"
#include "market/TableLinks.h"
#include "refdata/ZorvatGlobals.h"

long CInternationalBookTable::Subscribe(LPCSTR pszSymbol, long nMarketCode, BOOL bOn)
{
    if (pszSymbol == nullptr || *pszSymbol == '\0' || strpbrk(pszSymbol, "|\r\n") != nullptr)
        return 0;
    CString strBody;
    strBody.Format("||%s|%ld|%c", pszSymbol, nMarketCode, bOn ? BOOK_ACTION_FULL : BOOK_ACTION_CLEAR);
    return SendLine(strBody);
}

void CInternationalBookTable::SplitField(LPCSTR pszPair, CString& strFirst, CString& strSecond)
{
    strFirst.Empty();
    strSecond.Empty();
    if (pszPair == nullptr)
        return;
    const char* pszColon = strchr(pszPair, ':');
    if (pszColon == nullptr) {
        strFirst = pszPair;
        return;
    }
    strFirst = CString(pszPair, static_cast<int>(pszColon - pszPair));
    strSecond = pszColon + 1;
}

void CInternationalBookTable::OnBookLine(CServerMessage* pMsg)
{
    CZorvatGlobals* pGlobals = GetGlobals();
    if (pMsg == nullptr || pGlobals == nullptr)
        return;
    const long nStatus = pMsg->GetLong(0);
    const CString strSymbol = pMsg->GetField(2);
    const CString strMarket = pGlobals->GetMarketName(pMsg->GetLong(3));
    const CString strAction = pMsg->GetField(4);
    auto* pQuotes = dynamic_cast<CQuotationTable*>(FindDataTable(IDS_TABLE_QUOTATIONS_US));
    CDataBuffer* pQuote = pQuotes != nullptr ? pQuotes->FindQuote(strSymbol, strMarket) : nullptr;
    if (nStatus != 0) {
        if (IInfoWindow* pInfo = GetSharedGlobals()->m_pInfoWindow) {
            CZORVAT32App* pApp = CZORVAT32App::Get();
            CString strText;
            if (pApp != nullptr)
                strText = pApp->GetErrorText(nStatus);
            else
                strText.Format("%ld", nStatus);
            pInfo->AddText(strText);
        }
        if (CZORVAT32App* pApp = CZORVAT32App::Get())
            pApp->BringInfoWindowToTop(INFO_PRIORITY_ERROR);
        if (pQuote != nullptr) {
            const int nOff = 0;
            pQuote->SetValue(m_nFlagColumn, &nOff, TRUE);
        }
        return;
    }
    if (strAction.GetLength() != 1)
        return;
    switch (strAction[0]) {
    case BOOK_ACTION_CLEAR:
        RemoveSymbol(strSymbol, strMarket);
        break;
    case BOOK_ACTION_FULL:
    case BOOK_ACTION_UPDATE:
        if (pQuote == nullptr || pQuote->GetLong(m_nFlagColumn) != 1)
            return;
        if (strAction[0] == BOOK_ACTION_FULL)
            RemoveSymbol(strSymbol, strMarket);
        ApplyEntries(pMsg, strSymbol, strMarket, pQuote->GetText(QC_NAME));
        break;
    default:
        break;
    }
}

void CInternationalBookTable::RemoveSymbol(const CString& strSymbol, const CString& strMarket)
{
    if (!strSymbol.IsEmpty())
        GetRows()->RemoveRange({strSymbol, strMarket});
}

void CInternationalBookTable::SetName(CDataBuffer* pRow, int nCol, const CString& strName)
{
    if (!strName.IsEmpty())
        pRow->SetText(nCol, strName, FALSE);
}
