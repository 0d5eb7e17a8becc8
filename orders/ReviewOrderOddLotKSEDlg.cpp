// The odd-lot review's layout.
#include "orders/ReviewOrderOddLotKSEDlg.h"

#include <iterator>

#include "link/ServerMessage.h"
#include "refdata/PriceText.h"

namespace {
KEPT_PASSWORD s_kept;
const REVIEW_CLASS s_class = {IDD_REVIEW_ORDER_ODD_LOT, 12, &s_kept, /*bKeepIsSetting=*/FALSE};

// The ticket's check reply ("KV") and the modify form's preview ("KW"), whose order fields sit
// one place earlier.
#define ODD_LOT_ROWS(side, stock, quantity, type, limit)                                  \
    {5742, RK_STOCK, stock, nullptr, RC_ALWAYS, RD_AS_FILLED},                            \
    {5754, RK_STOCK_NAME, stock, nullptr, RC_ALWAYS, RD_AS_FILLED},                       \
    {5743, RK_ORDER_TYPE, type, nullptr, RC_ALWAYS, RD_AS_FILLED},                        \
    {IDC_REVIEW_SIDE, RK_SIDE, side, nullptr, RC_ALWAYS, RD_AS_FILLED},                   \
    {5744, RK_TEXT, quantity, nullptr, RC_NOT_ZERO, 0},                                   \
    {5749, RK_PRICE, 16, nullptr, RC_ALWAYS, RD_AS_FILLED, KSE_PRICE_DECIMALS},           \
    {5752, RK_PRICE, limit, nullptr, RC_ALWAYS, RD_AS_FILLED, KSE_PRICE_DECIMALS},        \
    {5745, RK_NUMBER, 17, "%.3f", RC_ALWAYS, -3},                                         \
    {5746, RK_NUMBER, 22, "%.3f", RC_ALWAYS, -3},                                         \
    {5816, RK_NUMBER, 18, "%.3f", RC_ALWAYS, -3},                                         \
    {5817, RK_NUMBER, 19, "%.3f", RC_ALWAYS, -3},                                         \
    {5818, RK_NUMBER, 20, "%.3f", RC_ALWAYS, -3},                                         \
    {5819, RK_NUMBER, 21, "%.3f", RC_ALWAYS, -3},                                         \
    {5751, RK_NUMBER, 14, "%.3f", RC_SIDE_1, -3},                                         \
    {5751, RK_WHOLE, 15, "%d", RC_SIDE_NOT_1, 0},                                         \
    {6550, RK_NUMBER, 25, "%.3f", RC_ALWAYS, -3}
const REVIEW_ROW s_rows[] = {ODD_LOT_ROWS(5, 6, 7, 8, 9)};
const REVIEW_ROW s_modifyRows[] = {ODD_LOT_ROWS(4, 5, 6, 7, 8)};
const REVIEW_LAYOUT s_layout = {s_rows, static_cast<int>(std::size(s_rows)), 5, -1};
const REVIEW_LAYOUT s_modifyLayout = {s_modifyRows, static_cast<int>(std::size(s_modifyRows)), 4, -1};
}  // namespace

CReviewOrderOddLotKSEDlg::CReviewOrderOddLotKSEDlg(const CServerMessage& reply, const CString* pName, int nMode,
                                                   CWnd* pParent)
    : CReviewDialog(s_class, nMode, pParent)
{
    Fill(nMode == 0 ? s_layout : s_modifyLayout, reply, pName != nullptr ? static_cast<LPCSTR>(*pName) : nullptr);
}
