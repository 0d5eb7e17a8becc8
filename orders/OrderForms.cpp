#include "orders/OrderForms.h"
#include "app/AppCommands.h"
#include "app/FormFactory.h"
#include "app/SessionHooks.h"
#include "orders/AlertSoundDlg.h"
#include "orders/ExpirationInstructionDlg.h"
#include "orders/ForwardContractDetailDlg.h"
#include "orders/ManualExerciseDlg.h"
#include "orders/ModifyOrderDlg.h"
#include "orders/ModifyOrderKSEDlg.h"
#include "orders/ModifyOrderOddLotKSEDlg.h"
#include "orders/NewModifyOrderDlg.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/OrderRequests.h"
#include "orders/PlaceOrderDlg.h"
#include "orders/PlaceOrderForwardDlg.h"
#include "orders/PlaceOrderKSEDlg.h"
#include "orders/PlaceOrderOddLotKSEDlg.h"
#include "orders/ReviewDialog.h"

#define ID_ALERT_SOUND_COMMAND 33316     // the trades tables' menu item

namespace {
INT_PTR RunAlertSoundDialog(HWND hParent)
{
    CAlertSoundDlg dialog(hParent != nullptr ? CWnd::FromHandle(hParent) : nullptr);
    return dialog.DoModal();
}

// No command opens the per-market tickets; the form factory makes them for their ids.
const struct { UINT nFormId; PFN_MAKE_FORM_VIEW pfnMake; } s_forms[] = {
    {IDD_FORM_ORDER_TICKET, &CNewPlaceOrderDlg::Make},
    {IDD_FORM_FORWARD_CONTRACT, &CForwardContractDetailDlg::Make},
    {IDD_FORM_MANUAL_EXERCISE, &CManualExerciseDlg::Make},
    {IDD_FORM_EXPIRATION_INSTRUCTION, &CExpirationInstructionDlg::Make},
    {IDD_FORM_MODIFY_ORDER, &CNewModifyOrderDlg::Make},
    {IDD_FORM_KSE_TICKET, &CPlaceOrderKSEDlg::Make},
    {IDD_FORM_ODD_LOT_TICKET, &CPlaceOrderOddLotKSEDlg::Make},
    {IDD_FORM_US_ORDER, &CPlaceOrderDlg::Make},
    {IDD_FORM_FORWARD_ORDER, &CPlaceOrderForwardDlg::Make},
    {IDD_FORM_MODIFY_ORDER_US, &CModifyOrderDlg::Make},
    {IDD_FORM_MODIFY_ORDER_KSE, &CModifyOrderKSEDlg::Make},
    {IDD_FORM_MODIFY_ORDER_ODD_LOT, &CModifyOrderOddLotKSEDlg::Make},
};
}  // namespace

std::vector<UINT> GetOrderFormIds()
{
    std::vector<UINT> ids;
    for (const auto& form : s_forms)
        ids.push_back(form.nFormId);
    return ids;
}

void RegisterOrderForms()
{
    RegisterCommandDialog(ID_ALERT_SOUND_COMMAND, RunAlertSoundDialog);
    for (const auto& form : s_forms)
        RegisterFormMaker(form.nFormId, form.pfnMake);
    // The next user must not find the trading passwords or the ticket flag this one kept.
    RegisterLogoffHook(&CReviewDialog::ForgetKeptPasswords);
    RegisterLogoffHook(&ForgetKeptTicketFlag);
}
