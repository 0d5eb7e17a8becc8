// The modify form end to end as the trader against the test server: orders rest in the book, a
// click on an open order's number in its order-status table opens the form; Modify previews,
// reviews, sends the change and the acknowledgement closes the form while the row takes the new
// quantity; Cancel order reviews with nothing on the wire and sends the cancel; for a US and a
// KSE order, every body compared field by field with a table written from the message layouts.
// An "NC" closes only the form of its order, also while the review is open, and then nothing is
// sent; a load that fails leaves no order to send.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "account/ExecutedTradesKSETable.h"
#include "account/ExecutedTradesTable.h"
#include "app/FormMDIWnd.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "link/MessageTypes.h"
#include "tests/app/AppTestSupport.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "framework/window/TableWindow.h"
#include "market/StockListKSETable.h"
#include "market/TableLinks.h"
#include "orders/NewModifyOrderDlg.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/OrderForms.h"
#include "orders/ReviewDialog.h"
#include "orders/ReviewOrderDlg.h"
#include "platform/win/kernel/CodePage.h"
#include "tests/common/DialogSteps.h"
#include "tests/orders/OrderTestSupport.h"

namespace {
enum { COL_ORDER = 1 };
#define IDC_REVIEW_QUANTITY 5744
#define IDC_REVIEW_ORDER_VALUE 5745
const int US_QUANTITY = 4, KSE_QUANTITY = 9, US_STATUS = 12, KSE_STATUS = 19, US_LIMIT = 6, KSE_LIMIT = 11;

struct MARKET_CASE
{
    const char* pszName;
    UINT nTable;
    int nQuantityCol, nStatusCol;
    int nPlace;                 // the order request that rests in the book
    const char* pszResting;     // its body: a buy of 100 far from the market
    const char* pszFilled;      // a market order of 100: filled at once
    int nNumberField;           // the order's number in the placing reply
    const char* pszPreview;
    const char* pszModify;
    const char* pszCancel;
    // The bodies after the quantity became 150; "#" stands for the order's number.
    std::vector<std::string> preview, modify, cancel;
    const char* pszChanged;     // the acknowledgement's text after the reference
    // US: the form's market and security, its option series (right, strike, expiry; "" for
    // none), and the order value the change's review shows.
    const char *pszMarket = nullptr, *pszSecurity = nullptr, *pszSeries = nullptr, *pszValue = nullptr;
};

const MARKET_CASE s_cases[] = {
    {"us", 51110, US_QUANTITY, US_STATUS, MSG_OR, "1002|10020|1|ALPN|100|0|30.00||0|||secret",
     "1002|10020|1|ALPN|100|3|0||0|||secret", 11, "OW", "OM", "OC",
     {"1002", "10020", "1", "ALPN", "150", "0", "30", "", "0", "", "", "#", "", "1"},
     {"1002", "10020", "1", "ALPN", "150", "0", "30", "", "0", "", "", "#", "secret", "", "", "", "", "1"},
     {"1002", "10020", "#", "secret"},
     " changed: account 10020, Buy 150 ALPN at 30.0000 Limit.", "Atlantic Board", "Alpine Networks", "", "4,500.00"},
    {"kse", 51128, KSE_QUANTITY, KSE_STATUS, MSG_KR, "||1002|10020|1|1|101|100|0|800||0|||secret",
     "||1002|10020|1|1|101|100|3|0||0|||secret", 17, "KW", "KM", "KC",
     {"", "", "1002", "10020", "1", "101", "150", "0", "800", "", "0", "", "", "#", "", "1"},
     {"", "", "1002", "10020", "1", "101", "150", "0", "800", "", "0", "", "", "#", "secret", "", "", "", "", "1"},
     {"", "", "1002", "10020", "#", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "secret"},
     " changed: account 10020, Buy 150 GHB at 800.0 Limit."},
    // An option order: booked on the options board under its series' letters, and named by its
    // series wherever the trader reads it; a put's contract is 100 shares too.
    {"us_option", 51110, US_QUANTITY, US_STATUS, MSG_OR, "1002|10020|1|ALPN|100|0|1.50||0|||secret|||||16|||ALPN|2|50.00|261218",
     "1002|10020|1|ALPN|100|3|0||0|||secret|||||16|||ALPN|2|50.00|261218", 11, "OW", "OM", "OC",
     {"1002", "10020", "1", "ALPNXJ", "150", "0", "1.5", "", "0", "", "", "#", "", "1"},
     {"1002", "10020", "1", "ALPNXJ", "150", "0", "1.5", "", "0", "", "", "#", "secret", "", "", "", "", "1"},
     {"1002", "10020", "#", "secret"},
     " changed: account 10020, Buy 150 ALPN Put 50.00 18/12/2026 at 1.5000 Limit.", "Options Board",
     "ALPN Put 50.00 18/12/2026", "Put 50.00 18/12/2026", "22,500.00"},
};

struct ModifySession : COrderStatusSession
{
    std::string Place(const MARKET_CASE& c, const char* pszBody)
    {
        return COrderStatusSession::Place(c.nPlace, pszBody, c.nNumberField, c.nTable);
    }
    using COrderStatusSession::Row;
    CDataBuffer* Row(const MARKET_CASE& c, const std::string& strOrder) const { return Row(c.nTable, strOrder); }
    // A click on the order's number; the modify form that opened, or null.
    CNewModifyOrderDlg* Click(const MARKET_CASE& c, const std::string& strOrder)
    {
        CDataTable* pTable = FindDataTable(c.nTable);
        CViewTable* pView = pTable->GetMainWindow()->GetView();
        CViewRow row;
        for (int i = 0; i < pView->GetRowCount(); ++i) {
            if (pView->GetRow(row, i) && row.IsDataRow() &&
                CDataTable::GetCellValue(&row, COL_ORDER).GetNumber() == atol(strOrder.c_str())) {
                int nHandled = 0;
                pTable->OnCellClick(&row, COL_ORDER, &nHandled);
                PumpPending();
                return Form();
            }
        }
        ADD_FAILURE() << "no row of order " << strOrder;
        return nullptr;
    }
    // What the order's row shows in a column.
    std::string Shown(const MARKET_CASE& c, const std::string& strOrder, int nCol)
    {
        CViewTable* pView = FindDataTable(c.nTable)->GetMainWindow()->GetView();
        CViewRow row;
        CTBString strText;
        for (int i = 0; i < pView->GetRowCount(); ++i)
            if (pView->GetRow(row, i) && row.IsDataRow() &&
                CDataTable::GetCellValue(&row, COL_ORDER).GetNumber() == atol(strOrder.c_str()))
                return row.GetText(strText, nCol) ? std::string(strText) : "";
        return "";
    }
    CNewModifyOrderDlg* Form()
    {
        CFormMDIWnd* pFrame = App().GetModifyOrderForm();
        return pFrame != nullptr ? dynamic_cast<CNewModifyOrderDlg*>(pFrame->GetView()) : nullptr;
    }
    void Dispatch(const std::string& strLine) { App().GetDispatcher().OnServerMessage(strLine.c_str()); }
};

// The lines from the nFrom-th on, one a line.
std::string LinesAfter(const std::vector<std::string>& lines, size_t nFrom)
{
    std::string strText;
    for (size_t i = nFrom; i < lines.size(); ++i)
        strText += lines[i] + "\n";
    return strText;
}

void AnswerReview(const std::function<void(HWND)>& before = nullptr, const std::string& strPassword = "secret")
{
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [before, strPassword](HWND h) {
                       if (before)
                           before(h);
                       TypeText(strPassword.c_str());
                       ClickControl(h, IDOK);
                   }}});
}
}  // namespace

TEST_F(ModifySession, OpenOrdersAreModifiedAndCancelledFromTheirRows)
{
    StartTrader(false);
    for (const MARKET_CASE& c : s_cases) {
        SCOPED_TRACE(c.pszName);
        // The requests of this case: the cases before it may have sent the same kinds.
        const size_t nPreviewed = Count(c.pszPreview), nModified = Count(c.pszModify), nCancelled = Count(c.pszCancel);
        const std::string strChanged = Place(c, c.pszResting), strCancelled = Place(c, c.pszResting);
        const std::string strFilled = Place(c, c.pszFilled);
        ASSERT_FALSE(strChanged.empty() || strCancelled.empty() || strFilled.empty()) << pRun->InfoText();
        ASSERT_TRUE(PumpUntil([&] { return Row(c, strFilled)->GetLong(c.nStatusCol) == 3; }));
        EXPECT_EQ(nullptr, Click(c, strFilled)) << "a filled order opens nothing";
        if (c.nTable == 51128) {
            // Opened for it all the same, a KSE order in that state is refused: no order shown.
            App().OpenModifyOrderKSE(atol(strFilled.c_str()));
            ASSERT_NE(nullptr, Form());
            EXPECT_EQ(0, Form()->GetOrderNumber());
            EXPECT_NE(std::string::npos, pRun->InfoText().find(static_cast<LPCSTR>(LoadMarketText(40326))));
        }

        // Modify: the preview, its review, the change; the acknowledgement closes the form.
        CNewModifyOrderDlg* pForm = Click(c, strChanged);
        ASSERT_NE(nullptr, pForm);
        const HWND hForm = pForm->m_hWnd;
        EXPECT_EQ(atol(strChanged.c_str()), pForm->GetOrderNumber());
        EXPECT_EQ("100", ControlText(hForm, IDC_MODIFY_QUANTITY));
        if (c.pszSecurity != nullptr) {
            EXPECT_TRUE(PumpUntil([&] { return ControlText(hForm, IDC_MODIFY_SECURITY) == c.pszSecurity; }))
                << "the name the form's own request brought, or the option's series: " << ControlText(hForm, IDC_MODIFY_SECURITY);
            EXPECT_EQ(c.pszMarket, ControlText(hForm, IDC_MODIFY_MARKET));
            EXPECT_STREQ(c.pszMarket, Row(c, strChanged)->GetText(21)) << "the order-status row's market";
            const std::string strSeries = ControlText(hForm, IDC_MODIFY_RIGHT) + " " + ControlText(hForm, IDC_MODIFY_OPTION_A) +
                                          " " + ControlText(hForm, IDC_MODIFY_OPTION_B);
            EXPECT_EQ(*c.pszSeries != '\0' ? c.pszSeries : "  ", strSeries);
            EXPECT_EQ(*c.pszSeries != '\0', IsWindowVisible(GetDlgItem(hForm, IDC_MODIFY_RIGHT)) != FALSE);
        }
        EnterText(hForm, IDC_MODIFY_QUANTITY, "150");
        // What is sent is what was reviewed, whatever the form holds by then.
        std::string strReviewed;
        AnswerReview([hForm, &strReviewed](HWND h) {
            strReviewed = ControlText(h, IDC_REVIEW_OPTION_SERIES) + "|" + ControlText(h, IDC_REVIEW_ORDER_VALUE);
            SetDlgItemTextA(hForm, IDC_MODIFY_QUANTITY, "175");
        });
        NotifyControl(hForm, IDC_MODIFY_MODIFY, BN_CLICKED);
        ASSERT_TRUE(PumpUntil([&] { return Form() == nullptr && Row(c, strChanged)->GetLong(c.nQuantityCol) == 150; }))
            << pRun->InfoText() << Lines(c.pszModify);
        EXPECT_TRUE(FinishedSteps());
        ASSERT_EQ(nPreviewed + 1, Count(c.pszPreview)) << Lines(c.pszPreview) << pRun->InfoText() << Lines(c.pszModify);
        ASSERT_EQ(nModified + 1, Count(c.pszModify)) << Lines(c.pszModify);
        EXPECT_EQ(WithOrder(c.preview, strChanged), BodyOf(Requests({c.pszPreview}).back()));
        EXPECT_EQ(WithOrder(c.modify, strChanged), BodyOf(Requests({c.pszModify}).back()));
        EXPECT_NE(std::string::npos, pRun->InfoText().find(c.pszChanged)) << pRun->InfoText();
        // The row reads the order's price as the acknowledgement does.
        const std::string strLimit = Shown(c, strChanged, c.nTable == 51128 ? KSE_LIMIT : US_LIMIT);
        EXPECT_NE(std::string::npos, std::string(c.pszChanged).find(" at " + strLimit + " ")) << strLimit;
        if (c.pszValue != nullptr) {
            EXPECT_EQ(std::string(c.pszSecurity != nullptr && *c.pszSeries != '\0' ? c.pszSecurity : "") + "|" + c.pszValue,
                      strReviewed);
        }

        // Cancel order: reviewed with no request on the wire, then the cancel of four fields.
        pForm = Click(c, strCancelled);
        ASSERT_NE(nullptr, pForm);
        // The form's own name request, answered, is on the server's side before the count.
        if (c.pszSecurity != nullptr) {
            ASSERT_TRUE(PumpUntil([&] { return ControlText(pForm->m_hWnd, IDC_MODIFY_SECURITY) == c.pszSecurity; }));
        }
        const size_t nPreviews = Count(c.pszPreview);
        std::vector<std::string> whileReviewed;
        std::string strReviewedQuantity;
        std::string strCancelSeries;
        AnswerReview([&](HWND h) {
            whileReviewed = server.Received();
            strReviewedQuantity = ControlText(h, IDC_REVIEW_QUANTITY);
            strCancelSeries = c.pszValue != nullptr ? ControlText(h, IDC_REVIEW_OPTION_SERIES) : "";
        });
        const size_t nBefore = server.Received().size();
        const size_t nInfoBefore = pRun->InfoText().size();
        NotifyControl(pForm->m_hWnd, IDC_MODIFY_CANCEL, BN_CLICKED);
        ASSERT_TRUE(PumpUntil([&] { return Form() == nullptr && Row(c, strCancelled)->GetLong(c.nStatusCol) == 5; }))
            << pRun->InfoText() << Lines(c.pszCancel);
        PumpFor(500);
        // The form tells the cancel once, naming the account; its order's status line adds nothing.
        const std::string strTold = pRun->InfoText().substr(nInfoBefore);
        const std::string strAck = "Order " + strCancelled + " cancelled: account 10020.";
        EXPECT_EQ(strTold.find(strAck), strTold.rfind(strAck)) << strTold;
        EXPECT_NE(std::string::npos, strTold.find(strAck)) << strTold;
        EXPECT_EQ(std::string::npos, strTold.find("Order " + strCancelled + " (reference")) << strTold;
        EXPECT_EQ(nBefore, whileReviewed.size()) << "nothing sent before the review; the server received:\n"
                                                  << LinesAfter(whileReviewed, nBefore);
        EXPECT_EQ("100", strReviewedQuantity) << "the preview's fields in their places";
        EXPECT_EQ(c.pszSeries != nullptr && *c.pszSeries != '\0' ? c.pszSecurity : "", strCancelSeries);
        EXPECT_EQ(nPreviews, Count(c.pszPreview));
        ASSERT_EQ(nCancelled + 1, Count(c.pszCancel)) << Lines(c.pszCancel);
        EXPECT_EQ(WithOrder(c.cancel, strCancelled), BodyOf(Requests({c.pszCancel}).back()));
    }
}

TEST_F(ModifySession, OnlyItsOwnOrderAndRepliesEndTheFormAndAFailedLoadSendsNothing)
{
    StartTrader(false);
    const MARKET_CASE& c = s_cases[0];
    const std::string strShown = Place(c, c.pszResting), strOther = Place(c, c.pszResting);
    const std::string strGone = Place(c, c.pszResting);
    ASSERT_FALSE(strShown.empty() || strOther.empty() || strGone.empty());

    // Cancelled elsewhere while its cancel was reviewed: the server's refusal names the order.
    CNewModifyOrderDlg* pForm = Click(c, strGone);
    ASSERT_NE(nullptr, pForm);
    AnswerReview([&](HWND) { App().SendRequest(MSG_OC, ("1002|10020|" + strGone + "|secret").c_str()); });
    NotifyControl(pForm->m_hWnd, IDC_MODIFY_CANCEL, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return pRun->InfoText().find(" is not open") != std::string::npos; })) << pRun->InfoText();
    EXPECT_NE(std::string::npos, pRun->InfoText().find("Order " + strGone + " is not open\n")) << pRun->InfoText();
    PumpFor(200);
    const size_t nCancels = Count("OC");

    pForm = Click(c, strShown);
    ASSERT_NE(nullptr, pForm);

    // Another order's end leaves it open.
    Dispatch("~NC|0|XC||" + std::to_string(atol(strShown.c_str()) + 100) + "|0|5|8|R1");
    PumpFor(200);
    ASSERT_EQ(pForm, Form());

    // Its own order filled during the review: the review ends, nothing is sent, the form closes
    // saying what happened.
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND) {
                       TypeText("secret");
                       Dispatch("~NC|0|XC||" + strShown + "|0|3|8|R1");
                   }}});
    NotifyControl(pForm->m_hWnd, IDC_MODIFY_CANCEL, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return Form() == nullptr; }));
    EXPECT_EQ(nCancels, Count("OC"));
    EXPECT_NE(std::string::npos, pRun->InfoText().find("Order " + strShown + " (reference R1) was filled.\n"))
        << pRun->InfoText();
    EXPECT_EQ(std::string::npos, pRun->InfoText().find("Order " + strShown + " cancelled")) << pRun->InfoText();

    // A review cancelled sends nothing and leaves Modify for another try.
    pForm = Click(c, strOther);
    ASSERT_NE(nullptr, pForm);
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) { ClickControl(h, IDCANCEL); }}});
    NotifyControl(pForm->m_hWnd, IDC_MODIFY_MODIFY, BN_CLICKED);
    // Before the server answers, a refused preview under another number: not this form's.
    Dispatch("~OW|9999|XC|||10020|1|ALPN|100|0|30||0|||" + strOther + "|428|X");
    ASSERT_TRUE(PumpUntil([&] { return FinishedSteps() && IsWindowEnabled(GetDlgItem(pForm->m_hWnd, IDC_MODIFY_MODIFY)); }));
    EXPECT_EQ(1u, Count("OW"));
    EXPECT_EQ(0u, Count("OM"));
    // A change this form did not send leaves it open.
    Dispatch("~OM|9999|XC|||10020|1|ALPN|150|0|30|||||" + strOther + "|0||||R1");
    PumpFor(200);
    ASSERT_EQ(pForm, Form());

    // A good load, then one whose row is missing: no order is left to send.
    App().OpenModifyOrderUS(987654);
    PumpPending();
    ASSERT_EQ(pForm, Form());
    EXPECT_EQ(0, pForm->GetOrderNumber());
    EXPECT_EQ("", ControlText(pForm->m_hWnd, IDC_MODIFY_QUANTITY));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(pForm->m_hWnd, IDC_MODIFY_MODIFY)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(pForm->m_hWnd, IDC_MODIFY_CANCEL)));
    const size_t nSent = server.Received().size();
    NotifyControl(pForm->m_hWnd, IDC_MODIFY_MODIFY, BN_CLICKED);
    NotifyControl(pForm->m_hWnd, IDC_MODIFY_CANCEL, BN_CLICKED);
    PumpFor(200);
    EXPECT_EQ(nSent, server.Received().size());

    // An order its row marks unchangeable: Cancel order only, also after a cancelled review.
    Row(c, strOther)->SetText(13, "1", TRUE);
    App().OpenModifyOrderUS(atol(strOther.c_str()));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(pForm->m_hWnd, IDC_MODIFY_MODIFY)));
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [](HWND h) { ClickControl(h, IDCANCEL); }}});
    NotifyControl(pForm->m_hWnd, IDC_MODIFY_CANCEL, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return FinishedSteps(); }));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(pForm->m_hWnd, IDC_MODIFY_MODIFY)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(pForm->m_hWnd, IDC_MODIFY_CANCEL)));
    Row(c, strOther)->SetText(13, "0", TRUE);

    // Closed during a cancel's review (run in the form's own command): nothing sent, the form gone.
    const HWND hFrame = GetParent(pForm->m_hWnd);
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [hFrame](HWND) {
                       TypeText("secret");
                       PostMessageA(hFrame, WM_CLOSE, 0, 0);
                   }}});
    NotifyControl(pForm->m_hWnd, IDC_MODIFY_CANCEL, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return Form() == nullptr; }));
    EXPECT_EQ(nCancels, Count("OC"));

    // A log-off during the review ends it: nothing sent, the form gone.
    pForm = Click(c, strOther);
    ASSERT_NE(nullptr, pForm);
    RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND) {
                       TypeText("secret");
                       App().Logoff();
                   }}});
    NotifyControl(pForm->m_hWnd, IDC_MODIFY_MODIFY, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return Form() == nullptr; }));
    PumpFor(200);
    EXPECT_EQ(0u, Count("OM"));
}

TEST_F(ModifySession, PicturesOfAUsAndAKseOrderInBothLanguages)
{
    for (bool bArabic : {false, true}) {
        StartTrader(bArabic);
        for (const MARKET_CASE& c : s_cases) {
            const std::string strOrder = Place(c, c.pszResting);
            CNewModifyOrderDlg* pForm = Click(c, strOrder);
            ASSERT_NE(nullptr, pForm);
            PumpFor(300);
            char szTitle[128] = "";
            ::GetWindowTextA(::GetParent(pForm->m_hWnd), szTitle, sizeof(szTitle));
            EXPECT_EQ(bArabic ? TbUtf8ToCodePage("تعديل أو إلغاء الأمر", 1256) : "Modify or Cancel Order", szTitle);
            EXPECT_TRUE(SaveDialogScreenshot(pForm->m_hWnd, std::string("orders_modify_") + c.pszName +
                                                                (bArabic ? "_ar" : "_en")));
        }
        TearDown();
    }
}

// The form names the order's company whole, in either language: a KSE and a US order of the
// companies with the longest names of the simulator's lists, each in every read-only field that
// shows it, with room for the widest listed name.
TEST_F(ModifySession, TheFormShowsTheLongestListedNameWhole)
{
    for (bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        StartTrader(bArabic);
        ASSERT_TRUE(PumpUntil([] { return !FindDataTable(IDS_TABLE_STOCK_LIST_KSE)->IsReceiving(); }));
        const LISTED_NAMES listed = ListedNames(bArabic);
        ASSERT_GT(listed.nKseStock, 0);
        ASSERT_FALSE(listed.strUsSymbol.empty());
        // A US security's name is the server's description, the one that is not in the second
        // language: the widest names of both languages are measured.
        const LISTED_NAMES english = ListedNames(false);
        std::vector<std::string> names = listed.names;
        names.insert(names.end(), english.names.begin(), english.names.end());
        // Resting purchases under the market: the KSE one a tenth under the stock's reference
        // price, on its tick, inside the day's limits.
        const CDataBuffer* pStock = FindDataTable(IDS_TABLE_STOCK_LIST_KSE)->GetRows()->FindRowByIds(std::vector<LONG>{static_cast<LONG>(listed.nKseStock)});
        ASSERT_NE(nullptr, pStock);
        const double dTick = pStock->GetDouble(11) > 0 ? pStock->GetDouble(11) : 1;
        char szPrice[32];
        snprintf(szPrice, sizeof szPrice, "%g", std::floor(pStock->GetDouble(8) * 0.9 / dTick) * dTick);
        const struct { const MARKET_CASE& c; std::string strBody, strName; } orders[] = {
            {s_cases[1], "||1002|10020|1|1|" + std::to_string(listed.nKseStock) + "|100|0|" + szPrice + "||0|||secret", listed.strKseName},
            {s_cases[0], "1002|10020|1|" + english.strUsSymbol + "|100|0|1.00||0|||secret", english.strUsName},
        };
        for (const auto& order : orders) {
            const std::string strOrder = Place(order.c, order.strBody.c_str());
            ASSERT_FALSE(strOrder.empty()) << order.strBody << Lines(order.c.nPlace == MSG_KR ? "KR" : "OR");
            CNewModifyOrderDlg* pForm = Click(order.c, strOrder);
            ASSERT_NE(nullptr, pForm);
            EXPECT_TRUE(PumpUntil([&] { return !ControlsShowing(pForm->m_hWnd, order.strName).empty(); }, 5000))
                << "no field shows \"" << TbCodePageToUtf8(order.strName) << "\": " << ControlText(pForm->m_hWnd, IDC_MODIFY_SECURITY);
            for (HWND hField : ControlsShowing(pForm->m_hWnd, order.strName))
                ExpectEachNameFits(hField, names);
            EXPECT_TRUE(SaveDialogScreenshot(pForm->m_hWnd, std::string("orders_modify_longest_") + (order.c.nPlace == MSG_KR ? "kse" : "us")
                                                                + (bArabic ? "_ar" : "_en")));
        }
        TearDown();
    }
}

// A KSE order loads changeable by its state unless the market's state word is 2, when the
// market's capability bit decides; the order type cannot be changed, and a duration the list
// lacks is added and shown.
TEST_F(ModifySession, KseOrdersFollowTheirStateAndTheMarketsWords)
{
    StartTrader(false);
    const MARKET_CASE& c = s_cases[1];
    const std::string strOrder = Place(c, c.pszResting);
    ASSERT_FALSE(strOrder.empty());
    // The market list as the server sent it, to send again with the KSE record's words changed.
    std::vector<std::string> marketList;
    for (const std::string& entry : server.Log()) {
        const std::string line = entry.rfind("> ", 0) == 0 ? entry.substr(2) : std::string();
        if (line.rfind("~XC|", 0) == 0)
            marketList = {line};
        else if (!marketList.empty() && marketList.back().rfind("~EN|", 0) != 0 && !line.empty())
            marketList.push_back(line);
    }
    ASSERT_LT(2u, marketList.size());
    const auto SendMarketWords = [&](const char* pszState, const char* pszCapability) {
        for (std::string line : marketList) {
            std::vector<std::string> f = BodyOf("~R|0|XC||" + line);
            if (line[0] != '~' && f.size() > 19 && f[12] == "2") {
                f[5] = pszState;
                f[19] = pszCapability;
                line.clear();
                for (size_t i = 0; i < f.size(); ++i)
                    line += (i != 0 ? "|" : "") + f[i];
            }
            Dispatch(line);
        }
        PumpFor(100);
    };

    struct
    {
        const char *pszOrderState, *pszMarketState, *pszCapability;
        bool bChangeable;
    } const cases[] = {
        {"6", "1", "1", false}, {"1", "1", "1", true}, {"1", "2", "1", false}, {"6", "2", "0", true}, {"2", "2", "2", true},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(std::string(k.pszOrderState) + " " + k.pszMarketState + " " + k.pszCapability);
        SendMarketWords(k.pszMarketState, k.pszCapability);
        Row(c, strOrder)->SetText(KSE_STATUS, k.pszOrderState, TRUE);
        App().OpenModifyOrderKSE(atol(strOrder.c_str()));
        PumpPending();
        CNewModifyOrderDlg* pForm = Form();
        ASSERT_NE(nullptr, pForm);
        EXPECT_EQ(k.bChangeable, IsWindowEnabled(GetDlgItem(pForm->m_hWnd, IDC_MODIFY_MODIFY)) != FALSE);
        EXPECT_EQ(!k.bChangeable, (GetWindowLongA(GetDlgItem(pForm->m_hWnd, IDC_MODIFY_QUANTITY), GWL_STYLE) & ES_READONLY) != 0);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(pForm->m_hWnd, IDC_MODIFY_CANCEL)));
    }

    // The type snaps back; an unknown duration text joins the list.
    Row(c, strOrder)->SetText(KSE_STATUS, "1", TRUE);
    Row(c, strOrder)->SetText(13, "77", TRUE);
    const std::string strDuration(Row(c, strOrder)->GetText(13, TRUE));
    App().OpenModifyOrderKSE(atol(strOrder.c_str()));
    PumpPending();
    CNewModifyOrderDlg* pForm = Form();
    ASSERT_NE(nullptr, pForm);
    EXPECT_EQ(strDuration, ControlText(pForm->m_hWnd, IDC_MODIFY_DURATION));
    const std::string strType = ControlText(pForm->m_hWnd, IDC_MODIFY_TYPE);
    const HWND hType = GetDlgItem(pForm->m_hWnd, IDC_MODIFY_TYPE);
    ASSERT_LT(1, SendMessageA(hType, CB_GETCOUNT, 0, 0));
    char szOther[128] = "";
    for (int i = 0; i < SendMessageA(hType, CB_GETCOUNT, 0, 0) && (*szOther == 0 || strType == szOther); ++i)
        SendMessageA(hType, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(szOther));
    ASSERT_NE(strType, szOther);
    ChooseItem(pForm->m_hWnd, IDC_MODIFY_TYPE, szOther);
    PumpPending();
    EXPECT_EQ(strType, ControlText(pForm->m_hWnd, IDC_MODIFY_TYPE));
}

// The trader with the executed-trades tables as well, as the terminal stands after login.
struct NoticeSession : ModifySession
{
    PFN_MAKE_TABLE pfnUsTrades = FindTableMaker(51130), pfnKseTrades = FindTableMaker(51142);
    void RegisterMakers() override
    {
        ModifySession::RegisterMakers();
        RegisterTableMaker(51130, MakeDataTable<CExecutedTradesTable>);
        RegisterTableMaker(51142, MakeDataTable<CExecutedTradesKSETable>);
    }
    void TearDown() override
    {
        ModifySession::TearDown();
        RegisterTableMaker(51130, pfnUsTrades);
        RegisterTableMaker(51142, pfnKseTrades);
    }
    // The information window's lines since the count, once nLines of them came.
    std::string NewLines(size_t nBefore, int nLines)
    {
        PumpUntil([&] {
            const std::string strText = pRun->InfoText();
            return std::count(strText.begin() + static_cast<long>(std::min(nBefore, strText.size())), strText.end(), '\n') >= nLines;
        });
        PumpFor(300);
        return pRun->InfoText().substr(nBefore);
    }
};

// Each event of an order is told once, saying what happened and naming the order as its placing
// did, each market's prices in its own decimals: a cancel by whichever of the form's
// acknowledgement and the order-status table's notice comes first, a fill by the trade's notice; a restricted user, who reads no order or trade lines, by the server's notice.
TEST_F(NoticeSession, EachOrderEventIsToldSayingWhatHappened)
{
    struct
    {
        const MARKET_CASE& c;
        const char *pszCrossing, *pszRestricted;   // buys above the market: filled at once
        const char *pszCancelled, *pszFilled, *pszRestrictedFill;   // "#1", "#2": the orders
    } const told[] = {
        {s_cases[0], "1002|10020|1|ALPN|100|0|49.50||0|||secret", "1005|10050|1|ALPN|100|0|49.50||0|||limited",
         "Order #1 cancelled: account 10020.\n",
         "Order #2: Buy 100 ALPN filled at 48.2600.\n", "Order #1 (account 10050): Buy 100 ALPN 49.5000 Limit, filled\n"},
        {s_cases[1], "||1002|10020|1|1|101|100|0|850||0|||secret", "||1005|10050|1|1|101|100|0|850||0|||limited",
         "Order #1 cancelled: account 10020.\n",
         "Order #2: Buy 100 GHB filled at 844.0.\n", "Order #1 (account 10050): Buy 100 GHB 850.0 Limit, filled\n"},
        {s_cases[2], "1002|10020|1|ALPN|100|0|2.50||0|||secret|||||16|||ALPN|2|50.00|261218",
         "1005|10050|1|ALPN|100|0|2.50||0|||limited|||||16|||ALPN|2|50.00|261218",
         "Order #1 cancelled: account 10020.\n",
         "Order #2: Buy 100 ALPN Put 50.00 18/12/2026 filled at 2.1200.\n",
         "Order #1 accepted: account 10050, Buy 100 ALPN Put 50.00 18/12/2026 at 2.5000 Limit.\nOrder #1 (account 10050): Buy 100 ALPN Put 50.00 18/12/2026 2.5000 Limit, filled\n"},
    };
    const auto Told = [](std::string strText, const std::string& strFirst, const std::string& strSecond) {
        for (size_t n; (n = strText.find('#')) != std::string::npos;)
            strText.replace(n, 2, strText[n + 1] == '1' ? strFirst : strSecond);
        return strText;
    };
    StartTrader(false);
    for (const auto& t : told) {
        SCOPED_TRACE(t.c.pszName);
        const std::string strCancelled = Place(t.c, t.c.pszResting);
        ASSERT_FALSE(strCancelled.empty());
        CNewModifyOrderDlg* pForm = Click(t.c, strCancelled);
        ASSERT_NE(nullptr, pForm);
        AnswerReview();
        size_t nBefore = pRun->InfoText().size();
        NotifyControl(pForm->m_hWnd, IDC_MODIFY_CANCEL, BN_CLICKED);
        // The status line comes after the acknowledgement: the row takes it, and it tells nothing more.
        NewLines(nBefore, 1);
        ASSERT_TRUE(PumpUntil([&] { return Row(t.c.nTable, strCancelled) != nullptr && Row(t.c.nTable, strCancelled)->GetLong(t.c.nStatusCol) == 5; }));
        PumpFor(200);
        EXPECT_EQ(Told(t.pszCancelled, strCancelled, ""), pRun->InfoText().substr(nBefore)) << "told once";

        nBefore = pRun->InfoText().size();
        const std::string strFilled = Place(t.c, t.pszCrossing);
        ASSERT_FALSE(strFilled.empty());
        EXPECT_EQ(Told(t.pszFilled, strCancelled, strFilled), NewLines(nBefore, 1));
    }
    // The option's trade is of its series on the options board: underlying, right, expiry, strike, market.
    CDataTable* pTrades = FindDataTable(51130);
    std::string strTrade;
    for (int i = 0; pTrades != nullptr && i < pTrades->GetRows()->GetCount(); ++i) {
        const CDataBuffer* pRow = pTrades->GetRows()->GetAt(i);
        if (std::string(pRow->GetText(3)) == "ALPNXJ")
            for (int nCol : {11, 12, 13, 14, 15})
                strTrade += std::string(pRow->GetText(nCol, TRUE)) + "|";
    }
    EXPECT_EQ("ALPN|Put|18/12/2026|50.00|Options Board|", strTrade);

    // A server whose status line overtakes the cancel's reply: the cancel is told once, by the
    // status table; the form closes with the reply.
    TearDown();
    Start(false, {"--rate", "0", "--scenario", "live-first=OC"});
    const std::string strRaced = Place(s_cases[0], s_cases[0].pszResting);
    CNewModifyOrderDlg* pForm = Click(s_cases[0], strRaced);
    ASSERT_NE(nullptr, pForm);
    AnswerReview();
    const size_t nBefore = pRun->InfoText().size();
    NotifyControl(pForm->m_hWnd, IDC_MODIFY_CANCEL, BN_CLICKED);
    ASSERT_TRUE(PumpUntil([&] { return Form() == nullptr; }));
    NewLines(nBefore, 1);
    PumpFor(300);
    EXPECT_EQ("Order " + strRaced + " (Buy ALPN) has been cancelled.\n", pRun->InfoText().substr(nBefore)) << "told once, by the first";
    TearDown();

    // The restricted user's orders by the server's lines, named as the stock list names a KSE
    // stock; the option's through the ticket, named by the series its acknowledgement gave it.
    StartTrader(false, "restricted", "limited");
    for (const auto& t : told) {
        SCOPED_TRACE(t.c.pszName);
        const size_t nBefore = pRun->InfoText().size();
        std::string strFilled;
        if (t.c.pszSeries == nullptr || *t.c.pszSeries == '\0') {
            strFilled = COrderStatusSession::Place(t.c.nPlace, t.pszRestricted, t.c.nNumberField, 0);
        } else {
            const HWND h = Command(33100)->m_hWnd;
            ChooseItem(h, IDC_TICKET_MARKET, static_cast<LPCSTR>(GetGlobals()->GetMarketName(16)));
            AskOptionSeries(h, "ALPN");
            ChooseItem(h, IDC_TICKET_RIGHT, static_cast<LPCSTR>(LoadMarketText(57171)));
            ChooseItem(h, IDC_TICKET_EXPIRY, "2026/12");
            for (const std::string& strike : BoxItems(h, IDC_TICKET_STRIKE))
                if (atof(strike.c_str()) == 50)
                    ChooseItem(h, IDC_TICKET_STRIKE, strike.c_str());
            ChooseItem(h, IDC_TICKET_SIDE, static_cast<LPCSTR>(LoadMarketText(55045)));
            SetDlgItemTextA(h, IDC_TICKET_TICKER, "ALPN");
            EnterText(h, IDC_TICKET_QUANTITY, "100");
            EnterText(h, IDC_TICKET_LIMIT, "2.50");
            AnswerReview(nullptr, "limited");
            NotifyControl(h, IDC_TICKET_SUBMIT, BN_CLICKED);
            const std::string strLines = NewLines(nBefore, 2);
            const size_t nAt = strLines.find("Order ");
            strFilled = nAt == std::string::npos ? "" : strLines.substr(nAt + 6, strLines.find_first_of(": ", nAt + 6) - nAt - 6);
        }
        ASSERT_FALSE(strFilled.empty()) << pRun->InfoText();
        EXPECT_EQ(Told(t.pszRestrictedFill, strFilled, ""), NewLines(nBefore, 1));
    }
}
