// The US order's modify form.
#include "orders/ModifyOrderDlg.h"

#include <iterator>

#include "link/MessageTypes.h"
#include "link/ServerMessage.h"

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
    ForgetSecurityName();
    CSeparateModifyForm::LoadOrder(nOrder);
    if (GetOrderNumber() != 0 && !IsOptionOrder())
        AskSecurityName(GetSymbol(), GetMarketCode());
}

void CModifyOrderDlg::OnRN(CServerMessage* pMsg)
{
    if (TakeSecurityName(*pMsg, GetSymbol()))
        SetSecurityName(pMsg->GetField(7));
}
