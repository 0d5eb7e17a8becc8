// The forward review's layout and side label.
#include "orders/ReviewOrderForwardDlg.h"

#include <iterator>

#include "link/ServerMessage.h"
#include "refdata/PriceText.h"

namespace {
KEPT_PASSWORD s_kept;
const REVIEW_CLASS s_class = {IDD_REVIEW_ORDER_FORWARD, 12, &s_kept, /*bKeepIsSetting=*/FALSE};

const REVIEW_ROW s_rows[] = {
    {5742, RK_STOCK, 5, nullptr, RC_ALWAYS, RD_AS_FILLED},
    {5754, RK_STOCK_NAME, 5, nullptr, RC_ALWAYS, RD_AS_FILLED},
    // The market maker as the ticket names it (its number), and the maturity as a date.
    {5759, RK_TEXT, 7, nullptr, RC_ALWAYS, RD_AS_FILLED},
    {5760, RK_DATE, 22, nullptr, RC_ALWAYS, RD_AS_FILLED},
    // The fill rule the order was asked with, in the words the ticket offered it: no duration.
    {5761, RK_FILL_RULE, 8, nullptr, RC_ALWAYS, RD_AS_FILLED},
    {5749, RK_PRICE, 23, nullptr, RC_ALWAYS, RD_AS_FILLED, KSE_PRICE_DECIMALS},
    {5744, RK_TEXT, 6, nullptr, RC_NOT_ZERO, 0},
    {5745, RK_FORWARD_PRICE, 24, "%.3f", RC_ALWAYS, -3},
    {5746, RK_FORWARD_PRICE, 17, "%.3f", RC_ALWAYS, -3},
    {5816, RK_NUMBER, 12, "%.3f", RC_ALWAYS, -3},
    {5817, RK_NUMBER, 13, "%.3f", RC_ALWAYS, -3},
    {5818, RK_NUMBER, 14, "%.3f", RC_ALWAYS, -3},
    {5751, RK_NUMBER, 9, "%.3f", RC_SIDE_1, -3},
    {5751, RK_WHOLE, 10, "%d", RC_SIDE_NOT_1, 0},
    {6550, RK_NUMBER, 20, "%.3f", RC_ALWAYS, -3},
};
const REVIEW_LAYOUT s_layout = {s_rows, static_cast<int>(std::size(s_rows)), 4, -1};
}  // namespace

CReviewOrderForwardDlg::CReviewOrderForwardDlg(const CServerMessage& reply, const CString* pName, int nMode,
                                               CWnd* pParent)
    : CReviewDialog(s_class, nMode, pParent)
{
    Fill(s_layout, reply, pName != nullptr ? static_cast<LPCSTR>(*pName) : nullptr);
}

void CReviewOrderForwardDlg::ShowBySide()
{
    CString strSide;
    strSide.LoadString(GetSideCode() == 2 ? IDS_REVIEW_FORWARD_SALE : IDS_REVIEW_FORWARD_PURCHASE);
    ::SetDlgItemTextA(m_hWnd, IDC_REVIEW_LABEL_B, strSide);
}
