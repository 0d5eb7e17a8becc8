// A trader with the mouse types the quantity last and clicks Submit at once, the focus still in
// the quantity: in every ticket Submit is already enabled, the click is taken, and the order the
// server receives carries the quantity typed.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/FormMDIWnd.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/QuotationFwdKSETable.h"
#include "market/TableLinks.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/PlaceOrderDlg.h"
#include "orders/PlaceOrderForwardDlg.h"
#include "orders/PlaceOrderKSEDlg.h"
#include "orders/PlaceOrderOddLotKSEDlg.h"
#include "orders/ReviewDialog.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/orders/OrderTestSupport.h"

namespace {
struct SubmitFollowsTyping : COrderSession
{
    // The form's frame slot outlives the test: the session's end destroys the frame and clears it.
    HWND Open(UINT nFormId)
    {
        static CFormMDIWnd* s_pFrame;
        s_pFrame = nullptr;
        App().OpenFormWindow(&s_pFrame, nFormId);
        PumpPending();
        return s_pFrame != nullptr && s_pFrame->GetView() != nullptr ? s_pFrame->GetView()->m_hWnd : nullptr;
    }
};

struct TICKET
{
    const char* pszName;
    std::function<HWND(SubmitFollowsTyping&)> fill;     // opens the ticket, fills all but the quantity
    int nQuantity;
    const char* pszOrder;
    size_t nQuantityField;                              // in the order's body
};
}  // namespace

TEST_F(SubmitFollowsTyping, AQuantityTypedThenSubmitClickedSendsTheOrder)
{
    Start(false);
    const TICKET tickets[] = {
        {"order ticket, KSE", [](SubmitFollowsTyping& s) {
             const HWND h = s.Command(33049)->m_hWnd;
             SetDlgItemTextA(h, IDC_TICKET_TICKER, "101");
             NotifyControl(h, IDC_TICKET_TICKER, CBN_KILLFOCUS);
             EnterText(h, IDC_TICKET_LIMIT, "842");
             return h;
         }, IDC_TICKET_QUANTITY, "KR", 7},
        {"US ticket", [](SubmitFollowsTyping& s) {
             const HWND h = s.Open(IDD_FORM_US_ORDER);
             ChooseItem(h, 6730, static_cast<LPCSTR>(GetGlobals()->GetMarketName(4)));
             SetDlgItemTextA(h, 5722, "ALPN");
             EnterText(h, 5728, "10.5");
             return h;
         }, 5723, "OR", 4},
        {"KSE ticket", [](SubmitFollowsTyping& s) {
             const HWND h = s.Open(IDD_FORM_KSE_TICKET);
             ClickControl(h, IDC_KSE_SIDE_BUY);
             ChooseItem(h, IDC_KSE_STOCK, "GHB / 101");
             ClickControl(h, IDC_KSE_TYPE_LIMIT);
             PumpPending();
             EnterText(h, IDC_KSE_LIMIT, "842");
             return h;
         }, IDC_KSE_QUANTITY, "KR", 7},
        {"odd-lot ticket", [](SubmitFollowsTyping& s) {
             const HWND h = s.Open(IDD_FORM_ODD_LOT_TICKET);
             ClickControl(h, IDC_KSE_SIDE_BUY);
             ChooseItem(h, IDC_KSE_STOCK, "GHB / 101");
             ClickControl(h, IDC_KSE_TYPE_STOP);        // the odd-lot board's limit order
             PumpPending();
             EnterText(h, IDC_KSE_LIMIT, "842");
             return h;
         }, IDC_KSE_QUANTITY, "KR", 7},
        {"forward ticket", [](SubmitFollowsTyping& s) {
             const HWND h = s.Open(IDD_FORM_FORWARD_ORDER);
             auto* pForm = dynamic_cast<CPlaceOrderForwardDlg*>(CWnd::FromHandlePermanent(h));
             EXPECT_TRUE(pForm != nullptr && PumpUntil([&] { return pForm->GetInitCount() == 1; }));
             // The test market quotes no quantities: maker 1 sells 900 of stock 101 for a month.
             FindDataTable(IDS_TABLE_QUOTATIONS_FWD_KSE)->GetRows()->FindRowByIds({101, 2, 1})->SetDouble(10, 900, TRUE);
             CheckRadioButton(h, 5720, 5721, 5720);
             NotifyControl(h, 5720, BN_CLICKED);
             SendDlgItemMessageA(h, 5794, CB_SETCURSEL, 1, 0);     // the best market maker
             NotifyControl(h, 5794, CBN_SELCHANGE);
             return h;
         }, 5723, "KA", 6},
    };
    for (const TICKET& t : tickets) {
        SCOPED_TRACE(t.pszName);
        const HWND hDlg = t.fill(*this);
        ASSERT_NE(nullptr, hDlg);
        SetDlgItemTextA(hDlg, t.nQuantity, "");
        ClickControl(hDlg, t.nQuantity);
        PumpPending();
        TypeText("250");
        PumpPending();
        ASSERT_EQ(t.nQuantity, FocusedControl(hDlg)) << "the focus stays in the quantity";
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
