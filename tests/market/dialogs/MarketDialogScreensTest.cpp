// The dialogs' templates in both language files, and each dialog in both languages for a
// look: <build>/screenshots/market_<dialog>_<code page>.png.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MarketDialogSupport.h"
#include "app/dialogs/DialogDriver.h"
#include "framework/base/NorvGlobals.h"
#include "market/dialogs/AlertDlg.h"
#include "market/dialogs/CorpEventDownloadFilterDlg.h"
#include "market/dialogs/ExtrenalPortfolio.h"
#include "market/dialogs/GlobalParamKSEDlg.h"
#include "market/dialogs/MarketScheduleDlg.h"
#include "market/dialogs/MarketScheduleKSEDlg.h"
#include "market/dialogs/PausePasswdDlg.h"
#include "market/dialogs/TickerSelectDlg.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/kernel/ResourceTemplates.h"
#include "platform/win/kernel/Resources.h"
#include "refdata/ZorvatGlobals.h"

namespace {
const struct { UINT nTemplate; std::vector<int> controls; } s_dialogs[] = {
    {IDD_TICKER_SELECT, {IDC_TICKER_SYMBOL, IDC_TICKER_MARKET, IDOK, IDCANCEL}},
    {IDD_PRICE_ALERT, {IDC_ALERT_SYMBOL, IDC_ALERT_MARKET, IDC_ALERT_PRICE, IDC_ALERT_VALUE, IDOK, IDCANCEL}},
    {IDD_OWN_POSITION, {IDC_POSITION_SYMBOL, IDC_POSITION_MARKET, IDC_POSITION_QUANTITY, IDC_POSITION_PRICE, IDOK,
                        IDCANCEL}},
    {IDD_MARKET_SCHEDULE, {IDC_SCHEDULE_FIRST, IDC_SCHEDULE_FIRST_NY, IDC_SCHEDULE_SECOND, IDC_SCHEDULE_SECOND_NY, IDOK}},
    {IDD_MARKET_SCHEDULE_KSE, {IDC_KSE_SCHEDULE_FIRST, IDC_KSE_SCHEDULE_FIRST + 3, IDC_KSE_SCHEDULE_LAST,
                               IDC_KSE_SCHEDULE_STATE, IDC_KSE_SCHEDULE_MINUTES, IDOK}},
    {IDD_GLOBAL_PARAM_KSE, {IDC_KSE_PARAM_FIRST, IDC_KSE_PARAM_RATE_FIRST, IDC_KSE_PARAM_LIMIT_FIRST, IDC_KSE_PARAM_LAST,
                            IDOK}},
    {IDD_PAUSE_LOCK, {IDC_PAUSE_PASSWORD, IDOK, IDCANCEL}},
    {IDD_CORP_EVENT_FILTER, {IDC_CORP_EVENT_FROM, IDC_CORP_EVENT_TO, IDOK, IDCANCEL}},
};
const UINT s_strings[] = {IDS_FIELD_NOT_A_NUMBER, IDS_TICKER_BAD_CHARS, IDS_TICKER_NO_MARKET, IDS_PAUSE_WRONG_PASSWORD, IDS_PAUSE_LOG_OFF_QUESTION};

TEST(MarketDialogResources, BothLanguagesOfferTheSameControlsMirroredAndTheTexts)
{
    CTestLanguage english(1252);
    HMODULE hArabic = LoadLibraryA("_1256.dll");
    ASSERT_NE(nullptr, hArabic);
    for (const auto& dialog : s_dialogs) {
        SCOPED_TRACE(dialog.nTemplate);
        const TBDLGTEMPLATE* pEn = TbFindDialogTemplate(english.m_hModule, MAKEINTRESOURCEA(dialog.nTemplate));
        const TBDLGTEMPLATE* pAr = TbFindDialogTemplate(hArabic, MAKEINTRESOURCEA(dialog.nTemplate));
        ASSERT_TRUE(pEn != nullptr && pAr != nullptr);
        EXPECT_FALSE(pEn->strCaption.empty() || pAr->strCaption.empty());
        ASSERT_EQ(pEn->items.size(), pAr->items.size());
        for (size_t n = 0; n < pEn->items.size(); ++n) {
            const TBDLGITEMTEMPLATE& en = pEn->items[n];
            const TBDLGITEMTEMPLATE& ar = pAr->items[n];
            // The same tab order, each control in its mirrored place.
            EXPECT_EQ(en.nId, ar.nId) << "item " << n;
            EXPECT_EQ(en.strClass, ar.strClass) << "item " << n;
            if (en.strClass != "STATIC") {                    // labels are aligned to their side
                EXPECT_EQ(en.dwStyle, ar.dwStyle) << "item " << n;
            }
            EXPECT_EQ(pEn->cx - en.x - en.cx, ar.x) << "item " << n;
            EXPECT_EQ(en.y, ar.y) << "item " << n;
        }
        for (int nId : dialog.controls) {
            bool bFound = false;
            for (const auto& item : pEn->items)
                bFound = bFound || item.nId == nId;
            EXPECT_TRUE(bFound) << "lacks control " << nId;
        }
    }
    for (UINT nId : s_strings) {
        char szEn[256] = "", szAr[256] = "";
        EXPECT_GT(LoadStringA(english.m_hModule, nId, szEn, sizeof szEn), 0) << nId;
        EXPECT_GT(LoadStringA(hArabic, nId, szAr, sizeof szAr), 0) << nId;
        EXPECT_STRNE(szEn, szAr) << nId;
    }
    FreeLibrary(hArabic);
}

TEST(MarketDialogScreens, EnglishAndArabic)
{
    CReferenceMarkets markets;
    for (int nCodePage : {1252, 1256}) {
        CTestLanguage language(nCodePage);
        GetNorvGlobals().m_nLanguage = nCodePage == 1256 ? 1 : 0;
        const std::string strSuffix = "_" + std::to_string(nCodePage);
        CString strUs = GetGlobals()->GetMarketName(4);

        CTickerSelectDlg ticker(nullptr);
        ticker.SetTicker("AAPL");
        ticker.SetMarket(strUs);
        ASSERT_TRUE(ticker.Create(IDD_TICKER_SELECT));
        EXPECT_TRUE(SaveDialogScreenshot(ticker.m_hWnd, ("market_ticker_select" + strSuffix).c_str()));
        ticker.DestroyWindow();

        CAlertDlg alert;
        alert.SetSymbolText("AAPL");
        alert.SetMarketText(strUs);
        alert.SetPriceText("187.25");
        alert.SetAlertText("190.50");
        ASSERT_TRUE(alert.Create(IDD_PRICE_ALERT));
        EXPECT_TRUE(SaveDialogScreenshot(alert.m_hWnd, ("market_price_alert" + strSuffix).c_str()));
        alert.DestroyWindow();

        CExtrenalPortfolio position;
        position.SetSymbolText("AAPL");
        position.SetMarketText(strUs);
        position.SetQuantityText("1500");
        position.SetPriceText("172.3500");
        ASSERT_TRUE(position.Create(IDD_OWN_POSITION));
        EXPECT_TRUE(SaveDialogScreenshot(position.m_hWnd, ("market_own_position" + strSuffix).c_str()));
        position.DestroyWindow();

        CMarketScheduleDlg schedule;
        ASSERT_TRUE(schedule.Create(IDD_MARKET_SCHEDULE));
        EXPECT_TRUE(SaveDialogScreenshot(schedule.m_hWnd, ("market_schedule" + strSuffix).c_str()));
        schedule.DestroyWindow();

        CMarketScheduleKSEDlg kseSchedule;
        ASSERT_TRUE(kseSchedule.Create(IDD_MARKET_SCHEDULE_KSE));
        EXPECT_TRUE(SaveDialogScreenshot(kseSchedule.m_hWnd, ("market_schedule_kse" + strSuffix).c_str()));
        kseSchedule.DestroyWindow();

        CGlobalParamKSEDlg params;
        ASSERT_TRUE(params.Create(IDD_GLOBAL_PARAM_KSE));
        EXPECT_TRUE(SaveDialogScreenshot(params.m_hWnd, ("market_global_params_kse" + strSuffix).c_str()));
        params.DestroyWindow();

        CPausePasswdDlg pause;
        ASSERT_TRUE(pause.Create(IDD_PAUSE_LOCK));
        EXPECT_TRUE(SaveDialogScreenshot(pause.m_hWnd, ("market_pause_lock" + strSuffix).c_str()));
        pause.DestroyWindow();

        CCorpEventDownloadFilterDlg events(nullptr, nullptr);
        ASSERT_TRUE(events.Create(IDD_CORP_EVENT_FILTER));
        EXPECT_TRUE(SaveDialogScreenshot(events.m_hWnd, ("market_corp_event_filter" + strSuffix).c_str()));
        events.DestroyWindow();
    }
    GetNorvGlobals().m_nLanguage = 0;
}
}  // namespace
