// The US order's modify form.
#include "orders/ModifyOrderDlg.h"

#include <iterator>

#include "app/ZorvatApp.h"
#include "app/dialogs/AppHelpers.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/TableLinks.h"

namespace {
// Day, good till cancelled, good till date.
const int VALIDITIES[] = {0, 2, 1};
const SEPARATE_MODIFY_FORM US_FORM = {IDD_FORM_MODIFY_ORDER_US, FALSE, VALIDITIES,
                                      static_cast<int>(std::size(VALIDITIES)), 4, &US_MODIFY_ROAD, MSG_RN};
}  // namespace

CModifyOrderDlg::CModifyOrderDlg() : CSeparateModifyForm(US_FORM) {}

CWnd* CModifyOrderDlg::Make(UINT)
{
    return new CModifyOrderDlg;
}

void CModifyOrderDlg::LoadOrder(long nOrder)
{
    m_nNameRequest = 0;
    CSeparateModifyForm::LoadOrder(nOrder);
    if (GetOrderNumber() == 0)
        return;
    ORDER_TICKET_SNAPSHOT shot;
    shot.strTicker = GetSymbol();
    shot.nMarketCode = GetMarketCode();
    ORDER_VALUES values;
    values.pShot = &shot;
    CString strLine;
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp != nullptr && BuildOrderRequest(RN_BODY, values, &strLine) == 0)
        m_nNameRequest = pApp->SendRequest(strLine);
}

void CModifyOrderDlg::OnRN(CServerMessage* pMsg)
{
    if (m_nNameRequest == 0 || GetRawLineNumber(pMsg) != m_nNameRequest)
        return;
    m_nNameRequest = 0;
    if (pMsg->GetLong(0) == 0 && pMsg->GetField(2) == GetSymbol())
        SetSecurityName(pMsg->GetField(7));
}
