// The separate modify forms (US, KSE regular board, KSE odd lot) end to end as the trader
// against the test server: an order rests in the book, is loaded into the form from its
// order-status row; Modify previews, reviews and sends the change the preview was built from,
// the acknowledgement closes the form and the row takes the new quantity; Cancel order reviews
// with nothing on the wire and sends the cancel. Bodies are compared field by field with tables
// written from the message layouts. A dated order's good-till keeps off weekends: loaded or
// typed, a Saturday or Sunday steps back to the Friday.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/FormMDIWnd.h"
#include "link/MessageTypes.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/TableLinks.h"
#include "orders/ModifyOrderDlg.h"
#include "orders/ModifyOrderKSEDlg.h"
#include "orders/ModifyOrderOddLotKSEDlg.h"
#include "orders/OrderForms.h"
#include "orders/ReviewDialog.h"
#include "refdata/ServerDateFields.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/orders/OrderTestSupport.h"

namespace {
struct FORM_CASE
{
    const char* pszName;
    UINT nForm;
    UINT nTable;
    int nQuantityCol, nStatusCol;
    int nPlace;                 // the order request that rests in the book
    const char* pszResting;     // its body: a buy far from the market
    int nNumberField;           // the order's number in the placing reply
    const char* pszQuantity;    // the new quantity
    bool bDated;                // good till Saturday 19/12/2026
    const char* pszPreview;
    const char* pszModify;
    const char* pszCancel;
    // "#" stands for the order's number, "@" for Friday 11/12/2026 in the server's form.
    std::vector<std::string> preview, modify, cancel;
    const char* pszChanged;     // in the acknowledgement
};

const FORM_CASE s_cases[] = {
    {"us", IDD_FORM_MODIFY_ORDER_US, 51110, 4, 12, MSG_OR, "1002|10020|1|ALPN|100|0|30.00||1|10|261219|secret", 11,
     "150", true, "OW", "OM", "OC",
     {"1002", "10020", "1", "ALPN", "150", "0", "30.0000", "", "1", "2", "@", "#"},
     {"1002", "10020", "1", "ALPN", "150", "0", "30.0000", "", "1", "2", "@", "#", "secret"},
     {"1002", "10020", "#", "secret"},
     " changed: account 10020, Buy 150 ALPN at 30.0000 Limit"},
    {"kse", IDD_FORM_MODIFY_ORDER_KSE, 51128, 9, 19, MSG_KR, "||1002|10020|1|1|101|100|0|800||1|10|261219|secret",
     17, "150", true, "KW", "KM", "KC",
     {"", "", "1002", "10020", "1", "101", "150", "0", "800.00", "", "1", "2", "@", "#", "", "1"},
     {"", "", "1002", "10020", "1", "101", "150", "0", "800.00", "", "1", "2", "@", "#", "secret", "", "", "", "", "1"},
     {"", "", "1002", "10020", "#", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "secret"},
     " changed: account 10020, Buy 150 GHB at 800.0 Limit"},
    {"oddlot", IDD_FORM_MODIFY_ORDER_ODD_LOT, 51128, 9, 19, MSG_KR, "||1002|10020|2|1|101|50|0|800|||||secret", 17,
     "60", false, "KW", "KM", "KC",
     {"", "", "1002", "10020", "1", "101", "60", "0", "800.00", "", "", "", "", "#", "", "1"},
     {"", "", "1002", "10020", "1", "101", "60", "0", "800.00", "", "", "", "", "#", "secret", "", "", "", "", "1"},
     {"", "", "1002", "10020", "#", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "secret"},
     " changed: account 10020, Buy 60 GHB at 800.00 Limit"},
};

struct SeparateModifySession : COrderStatusSession
{
    CFormMDIWnd* pSlot = nullptr;

    void StartTrader(bool bArabic)
    {
        COrderStatusSession::StartTrader(bArabic);
        // A Wednesday.
        clock.tNow = LocalMorning(2026, 12, 9);
        GetGlobals()->SetClockSource(&clock);
    }
    void TearDown() override
    {
        COrderStatusSession::TearDown();
        pSlot = nullptr;
    }
    std::string Place(const FORM_CASE& c)
    {
        return COrderStatusSession::Place(c.nPlace, c.pszResting, c.nNumberField, c.nTable);
    }
    using COrderStatusSession::Row;
    CDataBuffer* Row(const FORM_CASE& c, const std::string& strOrder) const { return Row(c.nTable, strOrder); }
    // The form opened as the application opens forms, with the order loaded.
    CSeparateModifyForm* Open(const FORM_CASE& c, const std::string& strOrder)
    {
        App().OpenFormWindow(&pSlot, c.nForm);
        PumpPending();
        auto* pForm = pSlot != nullptr ? dynamic_cast<CSeparateModifyForm*>(pSlot->GetView()) : nullptr;
        if (pForm != nullptr) {
            pForm->LoadOrder(atol(strOrder.c_str()));
            CheckDlgButton(pForm->m_hWnd, IDC_SEPARATE_SIDE_OPTION, BST_UNCHECKED);
        }
        return pForm;
    }
};

std::vector<std::string> Expected(const std::vector<std::string>& fields, const std::string& strOrder)
{
    std::vector<std::string> expected = WithOrder(fields, strOrder);
    for (std::string& field : expected)
        if (field == "@")
            field = static_cast<LPCSTR>(ConvertDisplayDateField("20261211", 24));
    return expected;
}

void AnswerReview(const std::function<void(HWND)>& before)
{
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [before](HWND h) {
                       before(h);
                       TypeText("secret");
                       ClickControl(h, IDOK);
                   }}});
}
}  // namespace

TEST_F(SeparateModifySession, EachFormModifiesAndCancelsItsOrder)
{
    StartTrader(false);
    for (const FORM_CASE& c : s_cases) {
        SCOPED_TRACE(c.pszName);
        const std::string strChanged = Place(c), strCancelled = Place(c);
        ASSERT_FALSE(strChanged.empty() || strCancelled.empty()) << pRun->InfoText() << Lines(c.pszModify);

        CSeparateModifyForm* pForm = Open(c, strChanged);
        ASSERT_NE(nullptr, pForm);
        const HWND hForm = pForm->m_hWnd;
        // A click on another side is undone.
        NotifyControl(hForm, IDC_SEPARATE_SIDE_SELL, BN_CLICKED);
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(hForm, IDC_SEPARATE_SIDE_BUY));
        EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(hForm, IDC_SEPARATE_SIDE_SELL));
        if (c.bDated) {
            // Good till Saturday, ten days on: the order's own date, as loaded; four days typed
            // land on a Sunday: two.
            EXPECT_EQ(COleDateTime(2026, 12, 19, 0, 0, 0), pForm->GetGoodTill());
            EXPECT_EQ("10", ControlText(hForm, IDC_SEPARATE_DAYS));
            EnterText(hForm, IDC_SEPARATE_DAYS, "4");
            NotifyControl(hForm, IDC_SEPARATE_DAYS, EN_KILLFOCUS);
            EXPECT_EQ("2", ControlText(hForm, IDC_SEPARATE_DAYS));
        }
        EnterText(hForm, IDC_SEPARATE_QUANTITY, c.pszQuantity);
        const size_t nModifies = Count(c.pszModify);
        // What is sent is what was reviewed, whatever the form holds by then.
        AnswerReview([hForm](HWND) { SetDlgItemTextA(hForm, IDC_SEPARATE_QUANTITY, "175"); });
        NotifyControl(hForm, IDC_SEPARATE_MODIFY, BN_CLICKED);
        ASSERT_TRUE(PumpUntil([&] {
            return pSlot == nullptr && Row(c, strChanged)->GetLong(c.nQuantityCol) == atol(c.pszQuantity);
        })) << pRun->InfoText() << Lines(c.pszPreview) << Lines(c.pszModify);
        EXPECT_TRUE(FinishedSteps());
        ASSERT_EQ(nModifies + 1, Count(c.pszModify)) << Lines(c.pszModify);
        EXPECT_EQ(Expected(c.preview, strChanged), BodyOf(Requests({c.pszPreview}).back()));
        EXPECT_EQ(Expected(c.modify, strChanged), BodyOf(Requests({c.pszModify}).back()));
        EXPECT_NE(std::string::npos, pRun->InfoText().find(c.pszChanged)) << pRun->InfoText();

        // Cancel order: reviewed with nothing on the wire, then the cancel.
        pForm = Open(c, strCancelled);
        ASSERT_NE(nullptr, pForm);
        PumpFor(200);
        size_t nWhileReviewed = 0;
        std::string strReviewedQuantity;
        AnswerReview([&](HWND h) {
            nWhileReviewed = server.Received().size();
            strReviewedQuantity = ControlText(h, 5744);
        });
        const size_t nBefore = server.Received().size(), nPreviews = Count(c.pszPreview);
        NotifyControl(pForm->m_hWnd, IDC_SEPARATE_CANCEL, BN_CLICKED);
        ASSERT_TRUE(PumpUntil([&] { return pSlot == nullptr && Row(c, strCancelled)->GetLong(c.nStatusCol) == 5; }))
            << pRun->InfoText() << Lines(c.pszCancel);
        EXPECT_EQ(nBefore, nWhileReviewed) << "nothing sent before the review";
        EXPECT_EQ(std::to_string(Row(c, strCancelled)->GetLong(c.nQuantityCol)), strReviewedQuantity)
            << "the preview's fields in their places";
        EXPECT_EQ(nPreviews, Count(c.pszPreview));
        ASSERT_FALSE(Requests({c.pszCancel}).empty());
        EXPECT_EQ(Expected(c.cancel, strCancelled), BodyOf(Requests({c.pszCancel}).back()));
    }
}

TEST_F(SeparateModifySession, PicturesOfTheThreeFormsInBothLanguages)
{
    for (bool bArabic : {false, true}) {
        StartTrader(bArabic);
        for (const FORM_CASE& c : s_cases) {
            const std::string strOrder = Place(c);
            CSeparateModifyForm* pForm = Open(c, strOrder);
            ASSERT_NE(nullptr, pForm);
            PumpFor(300);
            EXPECT_TRUE(SaveDialogScreenshot(pForm->m_hWnd, std::string("orders_separate_modify_") + c.pszName +
                                                                (bArabic ? "_ar" : "_en")));
            pSlot->SendMessage(WM_CLOSE);
            PumpPending();
        }
        TearDown();
    }
}
