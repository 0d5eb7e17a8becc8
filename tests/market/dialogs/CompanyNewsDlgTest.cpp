// The company choice beyond what the session test drives: an emptied ticker lists every entry
// again, OK and Enter only with a ticker, the Arabic names, and Cancel handing nothing back.
// (The narrowing as a part of a symbol is typed is driven end to end in tests/market.)
#include <gtest/gtest.h>

#include <string>

#include "MarketDialogSupport.h"
#include "app/dialogs/DialogDriver.h"
#include "framework/base/NorvGlobals.h"
#include "link/MessageSource.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/dialogs/CompanyNewsDlg.h"
#include "platform/win/user/Controls.h"
#include "refdata/ZorvatGlobals.h"

#define IDS_COMPANY_NEWS_TITLE 56784
#define US_MARKET 4

namespace {
// The symbol list of the US market as the server sends it ("DS": symbol, market, symbol, display
// names, company names in English and Arabic); no rows empties it.
void LoadUsSymbols(std::initializer_list<const char*> rows)
{
    CZorvatMessageSource source;
    ASSERT_TRUE(GetGlobals()->Register(&source, nullptr));
    FireDialogLine(source, "$DS|1|XC||0|0|4");
    for (const char* pszRow : rows)
        FireDialogLine(source, pszRow);
    FireDialogLine(source, "$EN|1|XC|0");
    GetGlobals()->Unregister();
}

class CompanyChoice : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LoadUsSymbols({"ORCH|4|ORCH|ORCH|ORCH|Orchard Devices|\xC3\xCC\xE5\xD2\xC9",
                       "PLMB|4|PLMB|PLMB|PLMB|Plumbline Tools|\xC3\xCF\xE6\xC7\xCA",
                       ".ORX|4|.ORX|.ORX|.ORX|Orchard Index|\xE3\xC4\xD4\xD1",
                       "KORE|4|KORE|KORE|KORE|Kore Mining|\xCA\xDA\xCF\xED\xE4"});
    }
    void TearDown() override
    {
        EXPECT_TRUE(FinishedSteps()) << "a dialog step never ran";
        ClearDialogSteps();
        LoadUsSymbols({});
        GetNorvGlobals().m_nLanguage = 0;
    }
    static bool OkEnabled(HWND h) { return IsWindowEnabled(GetDlgItem(h, IDOK)) != FALSE; }
    static void ChooseMarket(HWND h, int nCode)
    {
        const std::string strName = static_cast<LPCSTR>(GetGlobals()->GetMarketName(nCode));
        ASSERT_NE(CB_ERR, SendDlgItemMessageA(h, IDC_COMPANY_MARKET, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(strName.c_str())));
        SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_COMPANY_MARKET, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(h, IDC_COMPANY_MARKET)));
    }
    // Text typed at the end of the ticker box's edit part, as the edit tells the box; an open
    // list is closed again, so that the next step finds the dialog active.
    static void TypeTicker(HWND h, const char* pszText)
    {
        HWND hEdit = GetWindow(GetDlgItem(h, IDC_COMPANY_TICKER), GW_CHILD);
        ASSERT_NE(nullptr, hEdit);
        const std::string strText = ControlText(h, IDC_COMPANY_TICKER) + pszText;
        SetWindowTextA(hEdit, strText.c_str());
        SendDlgItemMessageA(h, IDC_COMPANY_TICKER, CB_SHOWDROPDOWN, FALSE, 0);
    }
    // Enter, as the dialog gets it whether OK is enabled or not.
    static void Enter(HWND h) { SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

    CTestLanguage m_language{1252};
    CReferenceMarkets m_markets;
};

TEST_F(CompanyChoice, AChosenEntryGivesItsSymbolAndNoTickerKeepsTheDialogOpen)
{
    CCompanyNewsDlg dlg("Company");
    RunDialogSteps({
        {IDC_COMPANY_MARKET, [](HWND h) {
            ChooseMarket(h, US_MARKET);
            SetDlgItemTextA(h, IDC_COMPANY_TICKER, "");
            TypeTicker(h, "x");
            EXPECT_EQ("", ComboItems(h, IDC_COMPANY_TICKER));
            SetDlgItemTextA(h, IDC_COMPANY_TICKER, "");
            SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_COMPANY_TICKER, CBN_EDITCHANGE),
                         reinterpret_cast<LPARAM>(GetDlgItem(h, IDC_COMPANY_TICKER)));
            // Emptied: every entry again, the first chosen.
            EXPECT_EQ(3, static_cast<int>(SendDlgItemMessageA(h, IDC_COMPANY_TICKER, CB_GETCOUNT, 0, 0)));
            SendDlgItemMessageA(h, IDC_COMPANY_TICKER, CB_SETCURSEL, 1, 0);
            SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_COMPANY_TICKER, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(GetDlgItem(h, IDC_COMPANY_TICKER)));
            EXPECT_TRUE(OkEnabled(h));
            // A blank ticker: OK goes grey, and Enter does not close.
            SetDlgItemTextA(h, IDC_COMPANY_TICKER, " /x");
            SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_COMPANY_TICKER, CBN_EDITCHANGE),
                         reinterpret_cast<LPARAM>(GetDlgItem(h, IDC_COMPANY_TICKER)));
            EXPECT_FALSE(OkEnabled(h));
            EXPECT_EQ("", ControlText(h, IDC_COMPANY_REASON));
            Enter(h);
            // What the request line cannot carry: OK grey, the reason said, Enter refused.
            SetDlgItemTextA(h, IDC_COMPANY_TICKER, "A|B|C|");
            SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_COMPANY_TICKER, CBN_EDITCHANGE),
                         reinterpret_cast<LPARAM>(GetDlgItem(h, IDC_COMPANY_TICKER)));
            EXPECT_FALSE(OkEnabled(h));
            EXPECT_EQ("A search cannot hold | or control characters.", ControlText(h, IDC_COMPANY_REASON));
            Enter(h);
        }},
        {IDC_COMPANY_MARKET, [](HWND h) {
            SetDlgItemTextA(h, IDC_COMPANY_TICKER, "");
            SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_COMPANY_TICKER, CBN_EDITCHANGE),
                         reinterpret_cast<LPARAM>(GetDlgItem(h, IDC_COMPANY_TICKER)));
            SendDlgItemMessageA(h, IDC_COMPANY_TICKER, CB_SETCURSEL, 2, 0);
            SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_COMPANY_TICKER, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(GetDlgItem(h, IDC_COMPANY_TICKER)));
            ClickControl(h, IDOK);
        }},
    });
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ("PLMB", std::string(dlg.GetTicker()));
}

TEST_F(CompanyChoice, ArabicInterfaceListsTheArabicNamesAndCancelGivesNothing)
{
    GetNorvGlobals().m_nLanguage = 1;
    CString strTicker = "unchanged";
    RunDialogSteps({
        {IDC_COMPANY_MARKET, [](HWND h) {
            ChooseMarket(h, US_MARKET);
            EXPECT_EQ("KORE/\xCA\xDA\xCF\xED\xE4|ORCH/\xC3\xCC\xE5\xD2\xC9|PLMB/\xC3\xCF\xE6\xC7\xCA",
                      ComboItems(h, IDC_COMPANY_TICKER));
            SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }},
    });
    EXPECT_FALSE(CCompanyNewsDlg::Choose(nullptr, IDS_COMPANY_NEWS_TITLE, &strTicker, nullptr));
    EXPECT_EQ("unchanged", std::string(strTicker));
}
}  // namespace
