// The own-position dialog's fields.
#include "market/dialogs/ExtrenalPortfolio.h"

#include <iterator>

#include "framework/base/ColumnDataType.h"

namespace {
// In the order of CExtrenalPortfolio's field names, which is also the tab order.
const DIALOG_FIELD s_positionFields[] = {
    {IDC_POSITION_SYMBOL, COLTYPE_STRING, 0, 6, /*bShownOnly=*/TRUE},
    {IDC_POSITION_MARKET, COLTYPE_STRING, 0, 6, /*bShownOnly=*/TRUE},
    {IDC_POSITION_QUANTITY, COLTYPE_INT64, 0, 12, /*bShownOnly=*/FALSE},
    {IDC_POSITION_PRICE, COLTYPE_DOUBLE, -4, 12, /*bShownOnly=*/FALSE},
};
}  // namespace

CExtrenalPortfolio::CExtrenalPortfolio(CWnd* pParent)
    : CFieldDialog(IDD_OWN_POSITION, s_positionFields, static_cast<int>(std::size(s_positionFields)), pParent)
{
}
