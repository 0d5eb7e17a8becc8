// The KSE odd-lot board's modify form.
#include "orders/ModifyOrderOddLotKSEDlg.h"

namespace {
const SEPARATE_MODIFY_FORM ODD_LOT_FORM = {IDD_FORM_MODIFY_ORDER_ODD_LOT, TRUE, nullptr, 0, 2, &ODD_LOT_MODIFY_ROAD, 0};
}  // namespace

CModifyOrderOddLotKSEDlg::CModifyOrderOddLotKSEDlg() : CSeparateModifyForm(ODD_LOT_FORM) {}

CWnd* CModifyOrderOddLotKSEDlg::Make(UINT)
{
    return new CModifyOrderOddLotKSEDlg;
}
