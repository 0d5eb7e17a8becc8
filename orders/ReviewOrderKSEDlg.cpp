// The three reply layouts of the KSE regular-board review.
#include "orders/ReviewOrderKSEDlg.h"

#include <iterator>

#include "link/ServerMessage.h"
#include "refdata/PriceText.h"

namespace {
KEPT_PASSWORD s_kept;
const REVIEW_CLASS s_class = {IDD_REVIEW_ORDER_KSE, 12, &s_kept, /*bKeepIsSetting=*/FALSE};

// Prices read as the price rule has them; amounts grouped with three decimals.
#define KSE_ROWS(stock, type, duration, date, quantity, price, limit, stop, a17, a22, a18, a19, a20, a21, bought, held, \
                 fee)                                                                                                \
    {5742, RK_STOCK, stock, nullptr, RC_ALWAYS, RD_AS_FILLED},                                                       \
    {5754, RK_STOCK_NAME, stock, nullptr, RC_ALWAYS, RD_AS_FILLED},                                                  \
    {5743, RK_ORDER_TYPE, type, nullptr, RC_ALWAYS, RD_AS_FILLED},                                                   \
    {5748, RK_DURATION, duration, nullptr, RC_ALWAYS, RD_AS_FILLED},                                                 \
    {5758, RK_DATE, date, nullptr, RC_DURATION_1, RD_AS_FILLED},                                                \
    {5744, RK_TEXT, quantity, nullptr, RC_NOT_ZERO, 0},                                                              \
    {5749, RK_PRICE, price, nullptr, RC_ALWAYS, RD_AS_FILLED, KSE_PRICE_DECIMALS},                                   \
    {5752, RK_PRICE, limit, nullptr, RC_NOT_ZERO, RD_AS_FILLED, KSE_PRICE_DECIMALS},                                 \
    {5753, RK_PRICE, stop, nullptr, RC_NOT_ZERO, RD_AS_FILLED, KSE_PRICE_DECIMALS},                                  \
    {5745, RK_NUMBER, a17, "%.3f", RC_ALWAYS, -3},                                                                   \
    {5746, RK_NUMBER, a22, "%.3f", RC_ALWAYS, -3},                                                                   \
    {5816, RK_NUMBER, a18, "%.3f", RC_ALWAYS, -3},                                                                   \
    {5817, RK_NUMBER, a19, "%.3f", RC_ALWAYS, -3},                                                                   \
    {5818, RK_NUMBER, a20, "%.3f", RC_ALWAYS, -3},                                                                   \
    {5819, RK_NUMBER, a21, "%.3f", RC_ALWAYS, -3},                                                                   \
    {5751, RK_NUMBER, bought, "%.3f", RC_SIDE_1, -3},                                                                \
    {5751, RK_WHOLE, held, "%d", RC_SIDE_NOT_1, 0},                                                                 \
    {6550, RK_NUMBER, fee, "%.3f", RC_ALWAYS, -3}

const REVIEW_ROW s_checkRows[] = {KSE_ROWS(6, 8, 11, 13, 7, 16, 9, 10, 17, 22, 18, 19, 20, 21, 14, 15, 25),
                                  {IDC_REVIEW_SIDE, RK_SIDE, 5, nullptr, RC_ALWAYS, RD_AS_FILLED}};
// The modification check carries no fee: it shows as 0.000 (field -1 reads 0).
const REVIEW_ROW s_modifyCheckRows[] = {KSE_ROWS(8, 22, 25, 27, 13, 15, 23, 24, 16, 21, 17, 18, 19, 20, 28, 30, -1),
                                        {IDC_REVIEW_SIDE, RK_SIDE, 7, nullptr, RC_ALWAYS, RD_AS_FILLED}};
const REVIEW_ROW s_modifyFormRows[] = {KSE_ROWS(5, 7, 10, 12, 6, 16, 8, 9, 17, 22, 18, 19, 20, 21, 14, 15, 25),
                                       {IDC_REVIEW_SIDE, RK_SIDE, 4, nullptr, RC_ALWAYS, RD_AS_FILLED}};

const REVIEW_LAYOUT s_checkLayout = {s_checkRows, static_cast<int>(std::size(s_checkRows)), 5, 11};
const REVIEW_LAYOUT s_modifyCheckLayout = {s_modifyCheckRows, static_cast<int>(std::size(s_modifyCheckRows)), 7, 25};
const REVIEW_LAYOUT s_modifyFormLayout = {s_modifyFormRows, static_cast<int>(std::size(s_modifyFormRows)), 4, 10};
}  // namespace

CReviewOrderKSEDlg::CReviewOrderKSEDlg(const CServerMessage& reply, const CString* pName, int nMode,
                                       BOOL bModifyCheck, CWnd* pParent)
    : CReviewDialog(s_class, nMode, pParent)
{
    const REVIEW_LAYOUT& layout = bModifyCheck ? s_modifyCheckLayout : nMode == 0 ? s_checkLayout : s_modifyFormLayout;
    Fill(layout, reply, pName != nullptr ? static_cast<LPCSTR>(*pName) : nullptr);
}
