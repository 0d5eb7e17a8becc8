#include "orders/OrderForms.h"
#include "app/FormFactory.h"
#include "orders/NewPlaceOrderDlg.h"

void RegisterOrderForms()
{
    RegisterFormMaker(IDD_FORM_ORDER_TICKET, &CNewPlaceOrderDlg::Make);
}
