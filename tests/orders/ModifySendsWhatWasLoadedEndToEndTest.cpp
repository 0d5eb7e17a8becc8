// The modify forms send an order as it was loaded, but for what the trader changed: the quantity
// typed and Tab pressed up to Modify, through the days field and the prices, leaves the order's
// good-till date (174 days on, or a Saturday) and its prices as they were; Cancel order reviews
// the order as the form shows it.
#include <string>
#include <vector>

#include "app/FormMDIWnd.h"
#include "link/MessageTypes.h"
#include "market/TableLinks.h"
#include "orders/ModifyOrderDlg.h"
#include "orders/ModifyOrderKSEDlg.h"
#include "orders/NewModifyOrderDlg.h"
#include "orders/ReviewDialog.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/orders/OrderTestSupport.h"

namespace {
#define IDC_REVIEW_GOOD_TILL 5758

struct LOADED_CASE
{
    UINT nForm;                 // 0: the combined form
    UINT nTable;
    int nPlace;
    const char* pszResting;     // a buy good till a date
    int nNumberField;
    const char* pszPreview;
    size_t nLimitField;         // the preview's limit price, then stop, validity, days and date
    std::vector<std::string> sent;
    const char* pszReviewed;    // the good-till date the cancel's review shows
    std::vector<int> none;      // its figures a cancel has none of: price, amounts, buying power
};

const LOADED_CASE s_cases[] = {
    {0, 51128, MSG_KR, "||1002|10020|1|1|101|100|0|800||1|174|270601|secret", 17, "KW", 8,
     {"800", "", "1", "174", "270601"}, "01/06/2027", {5749, 5745, 5746, 5751}},
    {IDD_FORM_MODIFY_ORDER_KSE, 51128, MSG_KR, "||1002|10020|1|1|101|100|0|800||1|10|261219|secret", 17, "KW", 8,
     {"800.00", "", "1", "10", "261219"}, "19/12/2026", {5749, 5745, 5746, 5751}},
    {IDD_FORM_MODIFY_ORDER_US, 51110, MSG_OR, "1002|10020|1|ALPN|100|0|30.00||1|10|261219|secret", 11, "OW", 6,
     {"30.0000", "", "1", "10", "261219"}, "19/12/2026", {5749, 5745, 6644, 6643, 6641}},
};

struct LoadedSession : COrderStatusSession
{
    CFormMDIWnd* pSlot = nullptr;       // a separate form's

    CFormMDIWnd* Frame(const LOADED_CASE& c) { return c.nForm == 0 ? App().GetModifyOrderForm() : pSlot; }
    HWND Open(const LOADED_CASE& c, const std::string& strOrder)
    {
        if (c.nForm == 0)
            App().OpenModifyOrderKSE(atol(strOrder.c_str()));
        else if (App().OpenFormWindow(&pSlot, c.nForm); pSlot != nullptr)
            dynamic_cast<CSeparateModifyForm&>(*pSlot->GetView()).LoadOrder(atol(strOrder.c_str()));
        PumpPending();
        return Frame(c) != nullptr ? Frame(c)->GetView()->m_hWnd : nullptr;
    }
    // Keys as the terminal takes them: through the windows' translation, to the dialog manager.
    void PumpKeys()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message != WM_QUIT && !App().PreTranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
    }
};
}  // namespace

TEST_F(LoadedSession, TabToModifySendsTheOrderAsLoadedAndCancelReviewsIt)
{
    StartTrader(false);
    // A Wednesday.
    clock.tNow = LocalMorning(2026, 12, 9);
    GetGlobals()->SetClockSource(&clock);
    for (const LOADED_CASE& c : s_cases) {
        SCOPED_TRACE(c.pszPreview + std::to_string(c.nForm));
        const int nModify = c.nForm == 0 ? IDC_MODIFY_MODIFY : IDC_SEPARATE_MODIFY;
        const std::string strOrder = Place(c.nPlace, c.pszResting, c.nNumberField, c.nTable);
        HWND hForm = Open(c, strOrder);
        ASSERT_NE(nullptr, hForm) << pRun->InfoText();
        // The quantity field is 5833 in every form.
        SetFocus(GetDlgItem(hForm, IDC_MODIFY_QUANTITY));
        SendDlgItemMessageA(hForm, IDC_MODIFY_QUANTITY, EM_SETSEL, 0, -1);
        TypeText("150");
        for (int i = 0; i < 20 && FocusedControl(hForm) != nModify; ++i) {
            PressKey(VK_TAB);
            PumpKeys();
        }
        ASSERT_EQ(nModify, FocusedControl(hForm));
        RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) {
                             TypeText("secret");
                             ClickControl(h, IDOK);
                         }}});
        ClickControl(hForm, nModify);
        ASSERT_TRUE(PumpUntil([&] { return Frame(c) == nullptr; })) << pRun->InfoText();
        const std::vector<std::string> body = BodyOf(Requests({c.pszPreview}).back());
        ASSERT_LT(c.nLimitField + 4, body.size());
        EXPECT_EQ("150", body[c.nLimitField - 2]);
        EXPECT_EQ(c.sent, std::vector<std::string>(body.begin() + static_cast<long>(c.nLimitField),
                                                   body.begin() + static_cast<long>(c.nLimitField) + 5));

        hForm = Open(c, strOrder);
        std::string strReviewed, strTitle, strLimit;
        std::vector<std::string> figures;
        RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND h) {
                             strReviewed = ControlText(h, IDC_REVIEW_GOOD_TILL);
                             strLimit = ControlText(h, 5752);
                             char szTitle[128] = "";
                             GetWindowTextA(h, szTitle, sizeof szTitle);
                             strTitle = szTitle;
                             for (int nId : c.none)
                                 figures.push_back(ControlText(h, nId));
                             ClickControl(h, IDCANCEL);
                         }}});
        ClickControl(hForm, c.nForm == 0 ? IDC_MODIFY_CANCEL : IDC_SEPARATE_CANCEL);
        ASSERT_TRUE(PumpUntil([] { return FinishedSteps(); }));
        EXPECT_EQ(c.pszReviewed, strReviewed);
        EXPECT_EQ(c.sent[0].substr(0, 2), strLimit.substr(0, 2)) << "the order's limit price";
        EXPECT_EQ(std::string(LoadMarketText(7293)), strTitle);
        EXPECT_EQ(std::vector<std::string>(c.none.size()), figures) << "no figure made up as 0";
        Frame(c)->SendMessage(WM_CLOSE);
    }
}
