#pragma once
// One company's headlines: the news list's columns, filled by the "LW" replies that name a
// market and a ticker. The refresh asks for a company again through its dialog.
#include "app/CompanyNews.h"
#include "market/ListNewsTable.h"

#define IDS_TABLE_COMPANY_NEWS 51965
#define IDS_TITLE_COMPANY_NEWS 56784

extern const TABLE_DESC g_companyNewsTable;

class CCompanyNewsTable : public CListNewsTable
{
public:
    explicit CCompanyNewsTable(CZorvatMessageSource* pSource) : CListNewsTable(g_companyNewsTable, pSource) {}

    // The rows go and the headlines of the ticker in the market are asked for; FALSE for an
    // empty ticker. SendRequest asks again for the last company, FALSE before the first.
    BOOL SendRequestFor(long nMarketCode, LPCSTR pszTicker) override;
    BOOL SendRequest() override;
    const CString& GetTicker() const { return m_strTicker; }
    long GetMarketCode() const { return m_nMarketCode; }

    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // The application's company choice (app/CompanyNews.h): the company news dialog, or the
    // plain ticker choice.
    static BOOL ChooseCompany(HWND hParent, COMPANY_CHOICE kind, UINT nTitleId, CString* pstrTicker,
                              CString* pstrMarket);

protected:
    BOOL IsOwnReply(CServerMessage* pMsg) const override;

private:
    CString m_strTicker;
    long m_nMarketCode = 0;
};
