// A trader with the mouse types the quantity last and clicks Submit at once, the focus still in
// the quantity: in every ticket Submit is already enabled, the click is taken, and the order the
// server receives carries the quantity typed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/FormMDIWnd.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/PlaceOrderDlg.h"
#include "orders/PlaceOrderForwardDlg.h"
#include "orders/PlaceOrderOddLotKSEDlg.h"
#include "orders/ReviewDialog.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/orders/OrderTestSupport.h"

namespace {
using SubmitFollowsTyping = COrderSession;
}  // namespace

TEST_F(SubmitFollowsTyping, AQuantityTypedThenSubmitClickedSendsTheOrder)
{
    Start(false);
    const struct { const char* pszName; UINT nFormId; const char* pszOrder; size_t nQuantityField; } tickets[] = {
        {"order ticket, KSE", IDD_FORM_ORDER_TICKET, "KR", 7},
        {"US ticket", IDD_FORM_US_ORDER, "OR", 4},
        {"KSE ticket", IDD_FORM_KSE_TICKET, "KR", 7},
        {"odd-lot ticket", IDD_FORM_ODD_LOT_TICKET, "KR", 7},
        {"forward ticket", IDD_FORM_FORWARD_ORDER, "KA", 6},
    };
    for (const auto& t : tickets) {
        SCOPED_TRACE(t.pszName);
        int nQuantity = 0;
        const HWND hDlg = OpenFilledTicket(t.nFormId, &nQuantity);
        ASSERT_NE(nullptr, hDlg);
        SetDlgItemTextA(hDlg, nQuantity, "");
        ClickControl(hDlg, nQuantity);
        PumpPending();
        TypeText("250");
        PumpPending();
        ASSERT_EQ(nQuantity, FocusedControl(hDlg)) << "the focus stays in the quantity";
        ASSERT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, IDC_ORDER_FORM_SUBMIT))) << "Submit follows the typing";

        const size_t nOrders = Count(t.pszOrder);
        RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) {
                             TypeText("secret");
                             ClickControl(h, IDOK);
                         }}});
        ClickControl(hDlg, IDC_ORDER_FORM_SUBMIT);
        ASSERT_TRUE(PumpUntil([&] { return Count(t.pszOrder) == nOrders + 1; })) << pRun->InfoText();
        EXPECT_TRUE(FinishedSteps());
        const std::vector<std::string> body = BodyOf(Requests({t.pszOrder}).back());
        ASSERT_GT(body.size(), t.nQuantityField);
        EXPECT_EQ("250", body[t.nQuantityField]);
        PumpFor(100);
        SendMessageA(GetParent(hDlg), WM_CLOSE, 0, 0);
        PumpPending();
    }
}
