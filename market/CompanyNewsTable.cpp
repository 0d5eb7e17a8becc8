#include "market/CompanyNewsTable.h"

#include <cstring>

#include "app/ZorvatApp.h"
#include "link/ServerMessage.h"
#include "market/TableLinks.h"
#include "market/dialogs/CompanyNewsDlg.h"
#include "market/dialogs/TickerSelectDlg.h"
#include "refdata/User.h"
#include "refdata/ZorvatGlobals.h"

namespace {
// The news list's columns, maps, keys and sort under the company table's names.
TABLE_DESC CompanyDescription()
{
    TABLE_DESC desc = g_listNewsTable;
    desc.nNameId = IDS_TABLE_COMPANY_NEWS;
    desc.nTitleId = IDS_TITLE_COMPANY_NEWS;
    return desc;
}
}  // namespace

const TABLE_DESC g_companyNewsTable = CompanyDescription();

BOOL CCompanyNewsTable::SendRequestFor(long nMarketCode, LPCSTR pszTicker)
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    // The ticker is the request's last field: a separator in it would add fields.
    if (pApp == nullptr || pszTicker == nullptr || *pszTicker == '\0' || strpbrk(pszTicker, "|\r\n") != nullptr)
        return FALSE;
    m_strTicker = pszTicker;
    m_nMarketCode = nMarketCode;
    RemoveAllRows();
    const CUser user = pApp->GetUser();
    CString strBody;
    strBody.Format("||%d|%ld||%d|%ld|%s", user.GetUserNumber(), user.GetAccountNumber(), IsArabicInterface() ? 1 : 0,
                   nMarketCode, static_cast<LPCSTR>(m_strTicker));
    return CDataTable::SendRequest(strBody) != 0;
}

BOOL CCompanyNewsTable::SendRequest()
{
    if (m_strTicker.IsEmpty())
        return FALSE;
    const CString strTicker = m_strTicker;
    return SendRequestFor(m_nMarketCode, strTicker);
}

BOOL CCompanyNewsTable::IsOwnReply(CServerMessage* pMsg) const
{
    // A reply to a company's request names its market or ticker; the list of every market
    // names neither.
    return !pMsg->GetField(6).IsEmpty() || !pMsg->GetField(7).IsEmpty();
}

BOOL CCompanyNewsTable::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nId != ID_NEWS_REFRESH)
        return CListNewsTable::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
    // Refreshing asks which company to show.
    return RouteOwnCommand(nCode, pExtra, pHandlerInfo, TRUE, [&] {
        CString strTicker, strMarket;
        if (!CCompanyNewsDlg::Choose(nullptr, IDS_TITLE_COMPANY_NEWS, &strTicker, &strMarket))
            return;
        const CZorvatGlobals* pGlobals = GetGlobals();
        SendRequestFor(pGlobals != nullptr ? pGlobals->GetMarketCode(strMarket) : 0, strTicker);
    });
}

BOOL CCompanyNewsTable::ChooseCompany(HWND hParent, COMPANY_CHOICE kind, UINT nTitleId, CString* pstrTicker,
                                      CString* pstrMarket)
{
    CWnd* pParent = hParent != nullptr ? CWnd::FromHandle(hParent) : nullptr;
    if (kind == COMPANY_CHOICE_NEWS)
        return CCompanyNewsDlg::Choose(pParent, nTitleId, pstrTicker, pstrMarket);
    CTickerSelectDlg dialog(LoadMarketText(nTitleId), pParent);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    if (pstrTicker != nullptr)
        *pstrTicker = dialog.GetTicker();
    if (pstrMarket != nullptr)
        *pstrMarket = dialog.GetMarket();
    return TRUE;
}
