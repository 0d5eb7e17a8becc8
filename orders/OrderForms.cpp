#include "orders/OrderForms.h"
#include "app/FormFactory.h"
#include "app/SessionHooks.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/OrderRequests.h"
#include "orders/ReviewDialog.h"

void RegisterOrderForms()
{
    RegisterFormMaker(IDD_FORM_ORDER_TICKET, &CNewPlaceOrderDlg::Make);
    // The next user must not find the trading passwords or the ticket flag this one kept.
    RegisterLogoffHook(&CReviewDialog::ForgetKeptPasswords);
    RegisterLogoffHook(&ForgetKeptTicketFlag);
}
