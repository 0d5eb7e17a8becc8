// The KSE odd-lot board's order ticket: its description.
#include "orders/PlaceOrderOddLotKSEDlg.h"

namespace {
// A market order (code 3) or a limit order (code 0, radio 5727) at price 5728.
const KSE_CHOICE TYPES[] = {{IDC_KSE_TYPE_MARKET, 3}, {IDC_KSE_TYPE_STOP, 0}};
// The template's id is a search's text: the title is a string of its own.
const KSE_TICKET_KIND ODD_LOT = {IDD_FORM_ODD_LOT_TICKET, TYPES, 2, &ODD_LOT_TICKET_ROAD, FALSE, FALSE};
}  // namespace

CPlaceOrderOddLotKSEDlg::CPlaceOrderOddLotKSEDlg() : CPlaceOrderKSEDlg(ODD_LOT)
{
}

CWnd* CPlaceOrderOddLotKSEDlg::Make(UINT)
{
    return new CPlaceOrderOddLotKSEDlg;
}
