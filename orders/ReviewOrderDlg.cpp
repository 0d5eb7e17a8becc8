// The US review's two layouts and its show and hide rules.
#include "orders/ReviewOrderDlg.h"

#include <climits>
#include <iterator>

#include "app/ZorvatApp.h"
#include "link/ServerMessage.h"
#include "orders/ReviewOrderKSEDlg.h"
#include "refdata/PriceText.h"

namespace {
KEPT_PASSWORD s_kept;
const REVIEW_CLASS s_class = {IDD_REVIEW_ORDER_US, 12, &s_kept, /*bKeepIsSetting=*/TRUE};

// The two layouts differ in the last two figures; a cancellation's message ends before field 14,
// so everything from there reads 0.
#define US_ROWS(count, value)                                          \
    {5742, RK_TEXT, 3, nullptr, RC_ALWAYS, RD_AS_FILLED},              \
    {5754, RK_STOCK_NAME, -1, nullptr, RC_ALWAYS, RD_AS_FILLED},       \
    {IDC_REVIEW_SIDE, RK_SIDE, 2, nullptr, RC_ALWAYS, RD_AS_FILLED},   \
    {5743, RK_ORDER_TYPE, 5, nullptr, RC_ALWAYS, RD_AS_FILLED},        \
    {5748, RK_DURATION, 8, nullptr, RC_ALWAYS, RD_AS_FILLED},          \
    {5758, RK_DATE, 10, nullptr, RC_DURATION_1, RD_AS_FILLED},    \
    {5744, RK_TEXT, 4, nullptr, RC_ALWAYS, 0},                         \
    {5749, RK_NUMBER, 16, "%.4f", RC_ALWAYS, RD_AS_FILLED},            \
    {5752, RK_PRICE, 6, nullptr, RC_NOT_ZERO, RD_AS_FILLED, US_PRICE_DECIMALS}, \
    {5753, RK_PRICE, 7, nullptr, RC_NOT_ZERO, RD_AS_FILLED, US_PRICE_DECIMALS}, \
    {5745, RK_NUMBER, 17, "%.2f", RC_ALWAYS, -2},                      \
    {5746, RK_NUMBER, 19, "%.2f", RC_ALWAYS, -2},                      \
    {5750, RK_NUMBER, 18, "%.2f", RC_ALWAYS, -2},                      \
    {6644, RK_NUMBER, 14, "%.2f", RC_ALWAYS, -2},                      \
    {6723, RK_WHOLE, 15, "%d", RC_ALWAYS, 0},                          \
    {6550, RK_NUMBER, 22, "%.3f", RC_ALWAYS, -3},                      \
    {6581, RK_NUMBER, count, "%.0f", RC_ALWAYS, 0},                    \
    {6582, RK_NUMBER, value, "%.2f", RC_ALWAYS, -2},                   \
    {6639, RK_NUMBER, 23, "%.2f", RC_ALWAYS, -2},                      \
    {6641, RK_NUMBER, 20, "%.2f", RC_ALWAYS, -2},                      \
    {6643, RK_NUMBER, 21, "%.2f", RC_ALWAYS, -2}

const REVIEW_ROW s_checkRows[] = {US_ROWS(29, 30)};
const REVIEW_ROW s_previewRows[] = {US_ROWS(28, 29)};
const REVIEW_LAYOUT s_checkLayout = {s_checkRows, static_cast<int>(std::size(s_checkRows)), 2, 8};
const REVIEW_LAYOUT s_previewLayout = {s_previewRows, static_cast<int>(std::size(s_previewRows)), 2, 8};

constexpr int SIDE_ANY = INT_MIN;
constexpr int SIDE_NONE = INT_MIN + 1;

// One rule: for users with (bMargin) or without a margin value, the controls shown or hidden,
// for every side (nSide 0) or for the two sides given.
struct SHOW_RULE
{
    BOOL bMargin;
    int nShowSide, nShowSide2;          // SIDE_ANY, or the sides; SIDE_NONE matches none
    int nHideSide, nHideSide2;
    int ids[8];
};
const SHOW_RULE s_rules[] = {
    {FALSE, SIDE_ANY, SIDE_ANY, SIDE_NONE, SIDE_NONE, {1706, 6641, 6640, 6582}},
    {FALSE, SIDE_NONE, SIDE_NONE, SIDE_ANY, SIDE_ANY, {6638, 6581}},
    {FALSE, 1, 1, 2, 2, {6635, 6644, 6642, 6643, 6636, 6550, 6637, 6639}},
    {TRUE, SIDE_NONE, SIDE_NONE, SIDE_ANY, SIDE_ANY, {1706, 6641, 6642, 6643, 6636, 6550, 6637, 6639}},
    {TRUE, 1, 27, 2, 28, {6635, 6644, 6640, 6582, 6638, 6581}},
};
}  // namespace

CReviewOrderDlg::CReviewOrderDlg(const CServerMessage& reply, const CString* pDescription, int nMode, CWnd* pParent)
    : CReviewDialog(s_class, nMode, pParent)
{
    Fill(nMode == 0 ? s_checkLayout : s_previewLayout, reply,
         pDescription != nullptr ? static_cast<LPCSTR>(*pDescription) : nullptr);
    // A change or a cancellation is reviewed as such, under the KSE modify forms' title.
    if (nMode != 0)
        SetTitleId(IDS_REVIEW_TITLE_MODIFY_FORM);
}

void CReviewOrderDlg::ShowBySide()
{
    const CZORVAT32App* pApp = CZORVAT32App::Get();
    const BOOL bMargin = pApp != nullptr && pApp->GetUser().GetValue18() != 0;
    const int nSide = GetSideCode();
    ShowControl(IDC_REVIEW_LABEL_A, TRUE);
    ShowControl(6723, TRUE);
    for (const SHOW_RULE& rule : s_rules) {
        if (rule.bMargin != bMargin)
            continue;
        const bool bShow = rule.nShowSide == SIDE_ANY || nSide == rule.nShowSide || nSide == rule.nShowSide2;
        const bool bHide = rule.nHideSide == SIDE_ANY || nSide == rule.nHideSide || nSide == rule.nHideSide2;
        if (!bShow && !bHide)
            continue;               // another side: as the template has them
        for (int nId : rule.ids)
            if (nId != 0)
                ShowControl(nId, bShow);
    }
}
