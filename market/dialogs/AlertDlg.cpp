// The price-alert dialog's fields.
#include "market/dialogs/AlertDlg.h"

#include <iterator>

#include "framework/base/ColumnDataType.h"

namespace {
// In the order of CAlertDlg's field names.
const DIALOG_FIELD s_alertFields[] = {
    {IDC_ALERT_SYMBOL, COLTYPE_STRING, 0, 6, /*bShownOnly=*/TRUE},
    {IDC_ALERT_MARKET, COLTYPE_STRING, 0, 6, /*bShownOnly=*/TRUE},
    {IDC_ALERT_PRICE, COLTYPE_DOUBLE, -2, 6, /*bShownOnly=*/TRUE},
    {IDC_ALERT_VALUE, COLTYPE_DOUBLE, -2, 6, /*bShownOnly=*/FALSE},
};
}  // namespace

CAlertDlg::CAlertDlg(CWnd* pParent)
    : CFieldDialog(IDD_PRICE_ALERT, s_alertFields, static_cast<int>(std::size(s_alertFields)), pParent)
{
}
