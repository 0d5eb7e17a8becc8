// The ticker choice as a user runs it: a ticker typed through the field's filter, a market
// picked from the reference data's list, OK that follows the ticker, and the refusals that keep
// the dialog open on the field to correct.
#include <gtest/gtest.h>

#include <string>

#include "MarketDialogSupport.h"
#include "app/dialogs/DialogDriver.h"
#include "framework/base/NorvGlobals.h"
#include "market/dialogs/TickerSelectDlg.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/TestAnswers.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
class TickerChoice : public ::testing::Test
{
protected:
    void SetUp() override { TbClearTestAnswers(); }
    void TearDown() override
    {
        EXPECT_TRUE(FinishedSteps()) << "a dialog step never ran";
        ClearDialogSteps();
        EXPECT_TRUE(MessageBoxesAnswered()) << "a refusal's message never came";
        TbClearTestAnswers();
        GetNorvGlobals().m_nLanguage = 0;
    }
    static bool OkEnabled(HWND h) { return IsWindowEnabled(GetDlgItem(h, IDOK)) != FALSE; }
    // The market box or its edit part has the focus.
    static bool FocusInCombo(HWND h)
    {
        HWND hCombo = GetDlgItem(h, IDC_TICKER_MARKET);
        return GetFocus() == hCombo || GetParent(GetFocus()) == hCombo;
    }

    CTestLanguage m_language{1252};
    CReferenceMarkets m_markets;
};

TEST_F(TickerChoice, TypedTickerAndCompletedMarketAreHandedBack)
{
    CTickerSelectDlg dlg("Add Symbol");
    RunDialogSteps({
        {IDC_TICKER_SYMBOL, [](HWND h) {
            char szCaption[64] = "";
            GetWindowTextA(h, szCaption, sizeof szCaption);
            EXPECT_EQ("Add Symbol", std::string(szCaption));
            // Every market of the reference data by code, in the current language.
            EXPECT_EQ("KSE|US|US OTC|Options", ComboItems(h, IDC_TICKER_MARKET));
            EXPECT_EQ(IDC_TICKER_SYMBOL, FocusedControl(h));
            EXPECT_EQ("", ControlText(h, IDC_TICKER_MARKET));    // none chosen for the user
            EXPECT_FALSE(OkEnabled(h));
            TypeText("brk.b");
        }},
        {IDC_TICKER_SYMBOL, [](HWND h) {
            EXPECT_TRUE(OkEnabled(h));
            PressKey(VK_TAB);
        }},
        {IDC_TICKER_SYMBOL, [](HWND) { TypeText("U"); }},     // completes to the first "U..."
        {IDC_TICKER_SYMBOL, [](HWND) { PressKey(VK_RETURN); }},
    });
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ("brk.b", std::string(dlg.GetTicker()));
    EXPECT_EQ("US", std::string(dlg.GetMarket()));
}

TEST_F(TickerChoice, TickerTakesTenAllowedCharactersAndOkFollowsIt)
{
    CTickerSelectDlg dlg("Add Symbol");
    RunDialogSteps({
        {IDC_TICKER_SYMBOL, [](HWND) { TypeText("a b|c$1.2/3-XYZW"); }},
        {IDC_TICKER_SYMBOL, [](HWND h) {
            EXPECT_EQ("abc1.2/3-X", ControlText(h, IDC_TICKER_SYMBOL));
            EXPECT_TRUE(OkEnabled(h));
            for (int i = 0; i < 10; ++i)
                PressKey(VK_BACK);
        }},
        {IDC_TICKER_SYMBOL, [](HWND h) {
            EXPECT_EQ("", ControlText(h, IDC_TICKER_SYMBOL));
            EXPECT_FALSE(OkEnabled(h));
            PressKey(VK_RETURN);                              // nothing to hand back: stays open
        }},
        {IDC_TICKER_SYMBOL, [](HWND h) {
            EXPECT_TRUE(IsWindowVisible(h));
            TypeText("Q");
        }},
        {IDC_TICKER_SYMBOL, [](HWND h) {
            EXPECT_TRUE(OkEnabled(h));
            PressKey(VK_ESCAPE);
        }},
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ("", std::string(dlg.GetTicker()));
    EXPECT_EQ("", std::string(dlg.GetMarket()));
}

TEST_F(TickerChoice, ForeignCharactersAndUnknownMarketsAreRefusedOnTheirField)
{
    CTickerSelectDlg dlg("Add Symbol");
    RunDialogSteps({
        {IDC_TICKER_SYMBOL, [](HWND h) {
            // Text that reaches the field past its filter, as another program can put it there.
            SetDlgItemTextA(h, IDC_TICKER_SYMBOL, "AB|C");
            SetDlgItemTextA(h, IDC_TICKER_MARKET, "US");
            AnswerNextMessageBox();
            ClickControl(h, IDOK);
        }},
        {IDC_TICKER_SYMBOL, [](HWND h) {
            EXPECT_TRUE(MessageBoxesAnswered());
            EXPECT_EQ(IDC_TICKER_SYMBOL, FocusedControl(h));
            TypeText("ABC");                                  // the refused text is selected: replaced
        }},
        {IDC_TICKER_SYMBOL, [](HWND h) {
            EXPECT_EQ("ABC", ControlText(h, IDC_TICKER_SYMBOL));
            SetDlgItemTextA(h, IDC_TICKER_MARKET, "Mars");
            AnswerNextMessageBox();
            PressKey(VK_RETURN);
        }},
        {IDC_TICKER_SYMBOL, [](HWND h) {
            EXPECT_TRUE(MessageBoxesAnswered());
            EXPECT_TRUE(FocusInCombo(h));
            SetDlgItemTextA(h, IDC_TICKER_MARKET, "");
            AnswerNextMessageBox();
            PressKey(VK_RETURN);                              // no market at all
        }},
        {IDC_TICKER_SYMBOL, [](HWND h) {
            EXPECT_TRUE(MessageBoxesAnswered());
            // A list name in another case is that item.
            SetDlgItemTextA(h, IDC_TICKER_MARKET, "options");
            PressKey(VK_RETURN);
        }},
    });
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ("ABC", std::string(dlg.GetTicker()));
    EXPECT_EQ("Options", std::string(dlg.GetMarket()));
}

TEST_F(TickerChoice, PresetSymbolOpensOnItsMarketAndAFirstCharacterGoesOnTyping)
{
    CTickerSelectDlg change("Change Symbol");
    change.SetTicker("IBM");
    change.SetMarket("US OTC");
    RunDialogSteps({{IDC_TICKER_SYMBOL, [](HWND h) {
        EXPECT_EQ("IBM", ControlText(h, IDC_TICKER_SYMBOL));
        EXPECT_EQ(2, SendDlgItemMessageA(h, IDC_TICKER_MARKET, CB_GETCURSEL, 0, 0));
        EXPECT_TRUE(OkEnabled(h));
        PressKey(VK_RETURN);
    }}});
    ASSERT_EQ(IDOK, change.DoModal());
    EXPECT_EQ("IBM", std::string(change.GetTicker()));
    EXPECT_EQ("US OTC", std::string(change.GetMarket()));

    // Without a market the caret stands after the text given, so the next key adds to it.
    CTickerSelectDlg typing("Change Symbol");
    typing.SetTicker("A");
    RunDialogSteps({
        {IDC_TICKER_SYMBOL, [](HWND h) {
            EXPECT_EQ(IDC_TICKER_SYMBOL, FocusedControl(h));
            TypeText("PL");
        }},
        {IDC_TICKER_SYMBOL, [](HWND h) {
            EXPECT_EQ("APL", ControlText(h, IDC_TICKER_SYMBOL));
            PressKey(VK_TAB);
        }},
        {IDC_TICKER_SYMBOL, [](HWND) { TypeText("K"); }},
        {IDC_TICKER_SYMBOL, [](HWND) { PressKey(VK_RETURN); }},
    });
    ASSERT_EQ(IDOK, typing.DoModal());
    EXPECT_EQ("APL", std::string(typing.GetTicker()));
    EXPECT_EQ("KSE", std::string(typing.GetMarket()));
}

TEST_F(TickerChoice, MarketTwoJoinsTheListOnlyWhenMissing)
{
    for (bool bHeld : {true, false}) {
        CReferenceMarkets markets = bHeld ? CReferenceMarkets({2, 4}) : CReferenceMarkets({4, 16});
        CTickerSelectDlg dlg("Research");
        dlg.SetAddMarket2(TRUE);
        RunDialogSteps({{IDC_TICKER_SYMBOL, [bHeld](HWND h) {
            // Without its record the market is named by its number, as every code is.
            EXPECT_EQ(bHeld ? "KSE|US" : "US|Options|2", ComboItems(h, IDC_TICKER_MARKET));
            PressKey(VK_ESCAPE);
        }}});
        EXPECT_EQ(IDCANCEL, dlg.DoModal());
    }
}
}  // namespace
