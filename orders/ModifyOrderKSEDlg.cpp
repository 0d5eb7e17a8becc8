// The KSE regular board's modify form.
#include "orders/ModifyOrderKSEDlg.h"

#include <iterator>

namespace {
// Day, good till cancelled, the board's third validity, good till date.
const int VALIDITIES[] = {0, 2, 3, 1};
const SEPARATE_MODIFY_FORM KSE_FORM = {IDD_FORM_MODIFY_ORDER_KSE, TRUE, VALIDITIES,
                                       static_cast<int>(std::size(VALIDITIES)), 2, &KSE_MODIFY_ROAD, 0};
}  // namespace

CModifyOrderKSEDlg::CModifyOrderKSEDlg() : CSeparateModifyForm(KSE_FORM) {}

CWnd* CModifyOrderKSEDlg::Make(UINT)
{
    return new CModifyOrderKSEDlg;
}
