// The preferences form end to end as the trader against the test server: the currencies of the
// reference data offered with the base currency chosen, apply enabled only for another one, and
// applying it stores it, makes it the base currency and says so in the information window.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/FormMDIWnd.h"
#include "app/ZorvatApp.h"
#include "market/PreferencesDlg.h"
#include "platform/mfc/StringArray.h"
#include "refdata/ZorvatGlobals.h"
#include "platform/win/gdi/ImageCodec.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/TerminalRun.h"
#include "tests/link/LinkSessionSupport.h"
#include "tests/market/MarketSessionSupport.h"

namespace {

struct PreferencesSession : CMarketSession
{
    void TearDown() override
    {
        // The profile outlives the run: the next sessions start with the base currency as it was.
        if (pRun != nullptr && m_bProfileRead)
            pRun->App().WriteProfileText(".General", "BaseCurrency", m_strOldProfile);
        StopSession();
    }
    CString m_strOldProfile;
    bool m_bProfileRead = false;

    static bool ApplyEnabled(HWND hDlg) { return IsWindowEnabled(GetDlgItem(hDlg, IDC_PREFERENCES_APPLY)) != FALSE; }
    static std::string Chosen(HWND hDlg)
    {
        HWND hCombo = GetDlgItem(hDlg, IDC_PREFERENCES_CURRENCY);
        const LRESULT nItem = SendMessageA(hCombo, CB_GETCURSEL, 0, 0);
        char sz[64] = "";
        if (nItem >= 0 && SendMessageA(hCombo, CB_GETLBTEXTLEN, nItem, 0) < static_cast<LRESULT>(sizeof sz))
            SendMessageA(hCombo, CB_GETLBTEXT, nItem, reinterpret_cast<LPARAM>(sz));
        return sz;
    }
    // Chooses an item as the user does: the selection, then its notice to the form.
    static void Choose(HWND hDlg, int nItem)
    {
        HWND hCombo = GetDlgItem(hDlg, IDC_PREFERENCES_CURRENCY);
        SendMessageA(hCombo, CB_SETCURSEL, nItem, 0);
        SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_PREFERENCES_CURRENCY, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
    }

    void Run(bool bArabic, const char* pszLanguage)
    {
        ASSERT_TRUE(StartSession({}, bArabic));
        CZORVAT32App& app = pRun->App();
        m_strOldProfile = app.ReadProfileText(".General", "BaseCurrency", "");
        m_bProfileRead = true;
        CStringArray codes;
        ASSERT_TRUE(PumpUntil([&] { GetGlobals()->GetCurrencyCodes(codes); return codes.GetSize() > 1; }, 10000));
        app.SetBaseCurrency(codes[0]);

        CFormMDIWnd* pForm = nullptr;
        app.OpenFormWindow(&pForm, IDD_FORM_PREFERENCES);
        ASSERT_NE(nullptr, pForm);
        ASSERT_NE(nullptr, dynamic_cast<CPreferencesDlg*>(pForm->GetView()));
        const HWND hDlg = pForm->GetView()->m_hWnd;
        HWND hCombo = GetDlgItem(hDlg, IDC_PREFERENCES_CURRENCY);
        ASSERT_EQ(codes.GetSize(), SendMessageA(hCombo, CB_GETCOUNT, 0, 0));
        EXPECT_EQ(std::string(codes[0]), Chosen(hDlg));
        EXPECT_FALSE(ApplyEnabled(hDlg));

        Choose(hDlg, 1);
        EXPECT_TRUE(ApplyEnabled(hDlg));
        Choose(hDlg, 0);                                    // the base currency again
        EXPECT_FALSE(ApplyEnabled(hDlg));
        Choose(hDlg, 1);
        const std::string strInfoBefore = pRun->InfoText();
        SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_PREFERENCES_APPLY, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDC_PREFERENCES_APPLY)));
        const std::string strNew(codes[1]);
        EXPECT_EQ(strNew, std::string(app.GetBaseCurrency()));
        EXPECT_EQ(strNew, std::string(app.ReadProfileText(".General", "BaseCurrency", "")));
        EXPECT_EQ(strNew, Chosen(hDlg));
        EXPECT_FALSE(ApplyEnabled(hDlg));
        EXPECT_NE(strInfoBefore, pRun->InfoText()) << "the change is told";

        const std::string strFolder = std::string(TB_BINARY_DIR) + "/screenshots";
        std::filesystem::create_directories(strFolder);
        PumpFor(100);
        UpdateWindow(pForm->m_hWnd);
        EXPECT_TRUE(TbSaveWindowPng(pForm->m_hWnd, (strFolder + "/market_preferences_" + pszLanguage + ".png").c_str()));

        SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_PREFERENCES_CLOSE, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDC_PREFERENCES_CLOSE)));
        ASSERT_TRUE(PumpUntil([&] { return pForm == nullptr; }, 5000)) << "the close command closes the form";
    }
};

TEST_F(PreferencesSession, OtherBaseCurrencyAppliedInEnglish)
{
    Run(false, "en");
}

TEST_F(PreferencesSession, OtherBaseCurrencyAppliedInArabic)
{
    Run(true, "ar");
}

}  // namespace
