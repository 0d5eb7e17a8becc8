// The price alert and the own position as a user runs them on a watch-list row: the row's texts
// shown read-only, nothing set shown as an empty field, numbers typed with live grouping and
// handed back plain, a text that is not a number refused on its field, and Cancel.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "MarketDialogSupport.h"
#include "app/dialogs/DialogDriver.h"
#include "market/dialogs/AlertDlg.h"
#include "market/dialogs/ExtrenalPortfolio.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/TestAnswers.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
class RowDialogs : public ::testing::Test
{
protected:
    void SetUp() override { TbClearTestAnswers(); }
    void TearDown() override
    {
        EXPECT_TRUE(FinishedSteps()) << "a dialog step never ran";
        ClearDialogSteps();
        EXPECT_TRUE(MessageBoxesAnswered()) << "a refusal's message never came";
        TbClearTestAnswers();
    }
    static bool ReadOnly(HWND h, int nId) { return (GetWindowLongA(GetDlgItem(h, nId), GWL_STYLE) & ES_READONLY) != 0; }
    static void SelectAll(HWND h, int nId) { SendDlgItemMessageA(h, nId, EM_SETSEL, 0, -1); }

    CTestLanguage m_language{1252};
};

TEST_F(RowDialogs, AlertShowsTheRowAndHandsBackTheTypedPrice)
{
    CAlertDlg dlg;
    dlg.SetSymbolText("AAPL");
    dlg.SetMarketText("US");
    dlg.SetPriceText("187.25");
    dlg.SetAlertText("0.00");                                 // no alert set
    RunDialogSteps({
        {IDC_ALERT_VALUE, [](HWND h) {
            EXPECT_EQ("AAPL", ControlText(h, IDC_ALERT_SYMBOL));
            EXPECT_EQ("US", ControlText(h, IDC_ALERT_MARKET));
            EXPECT_EQ("187.25", ControlText(h, IDC_ALERT_PRICE));
            for (int nId : {IDC_ALERT_SYMBOL, IDC_ALERT_MARKET, IDC_ALERT_PRICE})
                EXPECT_TRUE(ReadOnly(h, nId)) << nId;
            EXPECT_FALSE(ReadOnly(h, IDC_ALERT_VALUE));
            EXPECT_EQ("", ControlText(h, IDC_ALERT_VALUE));
            EXPECT_EQ(IDC_ALERT_VALUE, FocusedControl(h));
            TypeText("190.5");
            PressKey(VK_TAB, /*bShift=*/true);                // read-only fields are passed over
        }},
        {IDC_ALERT_VALUE, [](HWND h) {
            EXPECT_EQ(IDCANCEL, FocusedControl(h));
            TypeText("x");                                    // nothing happens on a button
            ClickControl(h, IDOK);
        }},
    });
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ("190.50", std::string(dlg.GetAlertText()));
    EXPECT_DOUBLE_EQ(190.5, dlg.GetAlertPrice());
}

TEST_F(RowDialogs, AlertOpensInItsFormatEmptiedRemovesItCancelKeepsIt)
{
    CAlertDlg dlg;
    dlg.SetSymbolText("NBK");
    dlg.SetAlertText("1.5");
    RunDialogSteps({
        {IDC_ALERT_VALUE, [](HWND h) {
            EXPECT_EQ("1.50", ControlText(h, IDC_ALERT_VALUE));
            // Two fraction digits at most: a third is refused.
            PressKey(VK_END);
            TypeText("9");
        }},
        {IDC_ALERT_VALUE, [](HWND h) {
            EXPECT_EQ("1.50", ControlText(h, IDC_ALERT_VALUE));
            SelectAll(h, IDC_ALERT_VALUE);
            PressKey(VK_BACK);
            PressKey(VK_RETURN);
        }},
    });
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ("", std::string(dlg.GetAlertText()));
    EXPECT_EQ(0.0, dlg.GetAlertPrice());

    CAlertDlg cancelled;
    cancelled.SetAlertText("1.50");
    RunDialogSteps({{IDC_ALERT_VALUE, [](HWND) {
        TypeText("2");
        PressKey(VK_ESCAPE);
    }}});
    EXPECT_EQ(IDCANCEL, cancelled.DoModal());
    EXPECT_EQ(0.0, cancelled.GetAlertPrice());
}

TEST_F(RowDialogs, OwnPositionOpensEmptyAndHandsBackPlainNumbers)
{
    CExtrenalPortfolio dlg;
    dlg.SetSymbolText("MSFT");
    dlg.SetMarketText("US");
    dlg.SetQuantityText("0");
    dlg.SetPriceText("0.0000");
    RunDialogSteps({
        {IDC_POSITION_PRICE, [](HWND h) {
            EXPECT_EQ("MSFT", ControlText(h, IDC_POSITION_SYMBOL));
            EXPECT_TRUE(ReadOnly(h, IDC_POSITION_SYMBOL));
            EXPECT_TRUE(ReadOnly(h, IDC_POSITION_MARKET));
            EXPECT_EQ("", ControlText(h, IDC_POSITION_QUANTITY));
            EXPECT_EQ("", ControlText(h, IDC_POSITION_PRICE));
            EXPECT_EQ(IDC_POSITION_QUANTITY, FocusedControl(h));
            TypeText("1500.7");                               // whole shares: the point is refused
        }},
        {IDC_POSITION_PRICE, [](HWND h) {
            EXPECT_EQ("15,007", ControlText(h, IDC_POSITION_QUANTITY));
            PressKey(VK_TAB);
        }},
        {IDC_POSITION_PRICE, [](HWND h) {
            EXPECT_EQ(IDC_POSITION_PRICE, FocusedControl(h));
            TypeText("1234.56789");
        }},
        {IDC_POSITION_PRICE, [](HWND h) {
            EXPECT_EQ("1,234.5678", ControlText(h, IDC_POSITION_PRICE));
            PressKey(VK_RETURN);
        }},
    });
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ("15007", std::string(dlg.GetQuantityText()));
    EXPECT_EQ("1234.5678", std::string(dlg.GetPriceText()));
    EXPECT_DOUBLE_EQ(15007, dlg.GetQuantity());
    EXPECT_DOUBLE_EQ(1234.5678, dlg.GetPrice());
}

TEST_F(RowDialogs, OwnPositionShowsAHeldPositionGroupedAndCancelHandsNothingBack)
{
    CExtrenalPortfolio dlg;
    dlg.SetSymbolText("101");
    dlg.SetQuantityText("2500");
    dlg.SetPriceText("0.35");
    RunDialogSteps({{IDC_POSITION_PRICE, [](HWND h) {
        EXPECT_EQ("", ControlText(h, IDC_POSITION_MARKET));
        EXPECT_EQ("2,500", ControlText(h, IDC_POSITION_QUANTITY));
        EXPECT_EQ("0.3500", ControlText(h, IDC_POSITION_PRICE));
        TypeText("9");
        PressKey(VK_ESCAPE);
    }}});
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ("2500", std::string(dlg.GetQuantityText()));
    EXPECT_EQ(0.0, dlg.GetQuantity());
    EXPECT_EQ(0.0, dlg.GetPrice());
}

// Every field the user types a number into, in both dialogs.
struct NUMBER_FIELD_CASE
{
    const char* pszName;
    int nId;
    std::function<int(std::string*, double*)> fnRun;   // runs the dialog; its text and value
};

TEST_F(RowDialogs, TextThatIsNoNumberIsRefusedOnItsField)
{
    const NUMBER_FIELD_CASE cases[] = {
        {"alert", IDC_ALERT_VALUE,
         [](std::string* pText, double* pValue) {
             CAlertDlg dlg;
             const int nResult = static_cast<int>(dlg.DoModal());
             *pText = dlg.GetAlertText().GetString();
             *pValue = dlg.GetAlertPrice();
             return nResult;
         }},
        {"quantity", IDC_POSITION_QUANTITY,
         [](std::string* pText, double* pValue) {
             CExtrenalPortfolio dlg;
             const int nResult = static_cast<int>(dlg.DoModal());
             *pText = dlg.GetQuantityText().GetString();
             *pValue = dlg.GetQuantity();
             return nResult;
         }},
    };
    for (const NUMBER_FIELD_CASE& c : cases) {
        SCOPED_TRACE(c.pszName);
        const int nId = c.nId;
        RunDialogSteps({
            {nId, [nId](HWND h) {
                // Text that reaches the field past its filter, as another program can put it there.
                SetDlgItemTextA(h, nId, "12x");
                AnswerNextMessageBox();
                PressKey(VK_RETURN);
            }},
            {nId, [nId](HWND h) {
                EXPECT_TRUE(MessageBoxesAnswered());
                EXPECT_TRUE(IsWindowVisible(h));
                EXPECT_EQ(nId, FocusedControl(h));
                EXPECT_EQ("12x", ControlText(h, nId));        // kept, selected to be typed over
                TypeText("42");
                PressKey(VK_RETURN);
            }},
        });
        std::string strText;
        double dValue = 0;
        ASSERT_EQ(IDOK, c.fnRun(&strText, &dValue));
        EXPECT_EQ(42.0, dValue);
        EXPECT_EQ(nId == IDC_POSITION_QUANTITY ? "42" : "42.00", strText);
        ASSERT_TRUE(FinishedSteps());
    }
}
}  // namespace
