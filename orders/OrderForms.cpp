#include "orders/OrderForms.h"
#include "app/FormFactory.h"
#include "app/SessionHooks.h"
#include "orders/ReviewDialog.h"

void RegisterOrderForms()
{
    // The next user must not find the trading passwords this one kept.
    RegisterLogoffHook(&CReviewDialog::ForgetKeptPasswords);
}
