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
}  // namespace

void RegisterOrderForms()
{
    RegisterCommandDialog(ID_ALERT_SOUND_COMMAND, RunAlertSoundDialog);
    RegisterFormMaker(IDD_FORM_ORDER_TICKET, &CNewPlaceOrderDlg::Make);
    RegisterFormMaker(IDD_FORM_FORWARD_CONTRACT, &CForwardContractDetailDlg::Make);
    RegisterFormMaker(IDD_FORM_MANUAL_EXERCISE, &CManualExerciseDlg::Make);
    RegisterFormMaker(IDD_FORM_EXPIRATION_INSTRUCTION, &CExpirationInstructionDlg::Make);
    RegisterFormMaker(IDD_FORM_MODIFY_ORDER, &CNewModifyOrderDlg::Make);
    RegisterFormMaker(IDD_FORM_KSE_TICKET, &CPlaceOrderKSEDlg::Make);
    RegisterFormMaker(IDD_FORM_ODD_LOT_TICKET, &CPlaceOrderOddLotKSEDlg::Make);
    // No command opens the per-market tickets; the form factory makes them for their ids.
    RegisterFormMaker(IDD_FORM_US_ORDER, &CPlaceOrderDlg::Make);
    RegisterFormMaker(IDD_FORM_FORWARD_ORDER, &CPlaceOrderForwardDlg::Make);
    RegisterFormMaker(IDD_FORM_MODIFY_ORDER_US, &CModifyOrderDlg::Make);
    RegisterFormMaker(IDD_FORM_MODIFY_ORDER_KSE, &CModifyOrderKSEDlg::Make);
    RegisterFormMaker(IDD_FORM_MODIFY_ORDER_ODD_LOT, &CModifyOrderOddLotKSEDlg::Make);
    // The next user must not find the trading passwords or the ticket flag this one kept.
    RegisterLogoffHook(&CReviewDialog::ForgetKeptPasswords);
    RegisterLogoffHook(&ForgetKeptTicketFlag);
}
