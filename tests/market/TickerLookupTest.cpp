// The ticker lookup: which patterns may be searched and how they are sent, then the form end to
// end as the trader against the test server: the fields exclude each other, the search button
// follows the rules, and a search fills the results table. Pictures in English and Arabic.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/FormMDIWnd.h"
#include "app/ZorvatApp.h"
#include "market/DataArray.h"
#include "market/TableLinks.h"
#include "market/TickerLookupDlg.h"
#include "market/TickerLookupResultsTable.h"
#include "market/dialogs/CompanyNewsDlg.h"
#include "platform/win/gdi/ImageCodec.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/TerminalRun.h"
#include "tests/link/LinkSessionSupport.h"
#include "tests/market/MarketSessionSupport.h"

namespace {

TEST(TickerLookupRules, TickerPatternsSpecificEnoughToSearch)
{
    for (const char* psz : {"A", "A?", "?", "?A", "??", "?*", "AB", "AB*", "*AB", "A*B", "?A?B", "ABCDEFGH"})
        EXPECT_TRUE(IsTickerPatternSearchable(psz)) << psz;
    for (const char* psz : {"", "*", "A*", "*A", "A??", "??A", "**", "?A?", "*****A", "A*****B"})
        EXPECT_FALSE(IsTickerPatternSearchable(psz)) << psz;
}

TEST(TickerLookupRules, NamePatternsNeedThreeLettersInTheirFirstHundred)
{
    for (const char* psz : {"abc", "*a*b*c*", "a?b?c", "Alpine"})
        EXPECT_TRUE(IsNamePatternSearchable(psz)) << psz;
    for (const char* psz : {"", "ab", "*a*b*", "???", "a??b"})
        EXPECT_FALSE(IsNamePatternSearchable(psz)) << psz;
    const std::string strLate = std::string(98, '*') + "abc";
    EXPECT_FALSE(IsNamePatternSearchable(strLate.c_str()));
}

TEST(TickerLookupRules, PatternsAreWidenedWithStars)
{
    EXPECT_EQ("A", std::string(DecorateTickerPattern("A")));
    EXPECT_EQ("AB*", std::string(DecorateTickerPattern("AB")));
    EXPECT_EQ("AB*", std::string(DecorateTickerPattern("AB*")));
    EXPECT_EQ("?A*", std::string(DecorateTickerPattern("?A")));
    EXPECT_EQ("", std::string(DecorateTickerPattern("")));
    EXPECT_EQ("*abc*", std::string(DecorateNamePattern("abc")));
    EXPECT_EQ("*abc*", std::string(DecorateNamePattern("*abc")));
    EXPECT_EQ("*abc*", std::string(DecorateNamePattern("abc*")));
    EXPECT_EQ("a", std::string(DecorateNamePattern("a")));
    EXPECT_EQ("", std::string(DecorateNamePattern("")));
}

struct LookupSession : CMarketSession
{
    static std::string Text(HWND hDlg, int nId)
    {
        char sz[300] = "";
        GetDlgItemTextA(hDlg, nId, sz, sizeof sz);
        return sz;
    }
    static std::string Loaded(UINT nId)
    {
        CString str;
        str.LoadString(nId);
        return static_cast<LPCSTR>(str);
    }
    static bool SearchEnabled(HWND hDlg) { return IsWindowEnabled(GetDlgItem(hDlg, IDC_LOOKUP_SEARCH)) != FALSE; }
    static void Click(HWND hDlg, int nId)
    {
        SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hDlg, nId)));
    }
    // The symbols the results table holds, each on its own and the first column joined.
    static std::string Symbols(CDataTable* pTable)
    {
        std::string str;
        for (int i = 0; i < pTable->GetRows()->GetCount(); ++i)
            str += (i ? "," : "") + std::string(pTable->GetRows()->GetAt(i)->GetText(0));
        return str;
    }

    void Run(bool bArabic, const char* pszLanguage)
    {
        ASSERT_TRUE(StartSession({}, bArabic));

        CFormMDIWnd* pForm = nullptr;
        pRun->App().OpenFormWindow(&pForm, IDD_FORM_TICKER_LOOKUP);
        ASSERT_NE(nullptr, pForm);
        ASSERT_NE(nullptr, dynamic_cast<CTickerLookupDlg*>(pForm->GetView()));
        const HWND hDlg = pForm->GetView()->m_hWnd;
        EXPECT_FALSE(SearchEnabled(hDlg));

        // One letter and stars: too wide, and the hint line says what a ticker needs; two
        // letters: searchable, the hint back to the wildcards.
        const std::string strHint = Text(hDlg, IDC_LOOKUP_HINT);
        if (!bArabic) {
            EXPECT_EQ("* stands for any run of characters, ? for one.", strHint);
        }
        for (const char* pszWide : {"A*", "G*", "*A*"}) {
            SetDlgItemTextA(hDlg, IDC_LOOKUP_TICKER, pszWide);
            EXPECT_FALSE(SearchEnabled(hDlg)) << pszWide;
            EXPECT_EQ(Loaded(IDS_LOOKUP_TICKER_RULE), Text(hDlg, IDC_LOOKUP_HINT)) << pszWide;
        }
        if (!bArabic) {
            EXPECT_EQ("A ticker needs two letters, or one letter with at most a ? after it.", Text(hDlg, IDC_LOOKUP_HINT));
        }
        SetDlgItemTextA(hDlg, IDC_LOOKUP_TICKER, "AL");
        EXPECT_TRUE(SearchEnabled(hDlg));
        EXPECT_EQ(strHint, Text(hDlg, IDC_LOOKUP_HINT));
        // Typing a name empties the ticker, and the reverse.
        SetDlgItemTextA(hDlg, IDC_LOOKUP_NAME, "pi");
        EXPECT_EQ("", Text(hDlg, IDC_LOOKUP_TICKER));
        EXPECT_FALSE(SearchEnabled(hDlg));
        SetDlgItemTextA(hDlg, IDC_LOOKUP_TICKER, "AL");
        EXPECT_EQ("", Text(hDlg, IDC_LOOKUP_NAME));
        EXPECT_TRUE(SearchEnabled(hDlg));

        // "AL" is sent as "AL*": the symbols that begin with it.
        Click(hDlg, IDC_LOOKUP_SEARCH);
        CDataTable* pResults = FindDataTable(IDS_TABLE_TICKER_LOOKUP_RESULTS);
        ASSERT_NE(nullptr, pResults);
        ASSERT_TRUE(PumpUntil([&] { return pResults->IsComplete() && pResults->GetRows()->GetCount() > 0; }, 10000));
        const std::string strFound = Symbols(pResults);
        EXPECT_NE(std::string::npos, strFound.find("ALPN")) << strFound;
        for (int i = 0; i < pResults->GetRows()->GetCount(); ++i)
            EXPECT_EQ(0, strncasecmp(pResults->GetRows()->GetAt(i)->GetText(0), "AL", 2)) << strFound;

        // A name in the middle of the company's: sent with a star on either side.
        SetDlgItemTextA(hDlg, IDC_LOOKUP_NAME, "pine");
        EXPECT_TRUE(SearchEnabled(hDlg));
        Click(hDlg, IDC_LOOKUP_SEARCH);
        EXPECT_EQ(pResults, FindDataTable(IDS_TABLE_TICKER_LOOKUP_RESULTS)) << "the open table is used again";
        ASSERT_TRUE(PumpUntil([&] { return pResults->IsComplete() && Symbols(pResults) == "ALPN"; }, 10000))
            << Symbols(pResults);

        // A '|' in the name would shift the request's fields: the search is refused, and said so.
        const int nRequests = RequestCount("TL");
        SetDlgItemTextA(hDlg, IDC_LOOKUP_NAME, "pi|ne");
        EXPECT_FALSE(SearchEnabled(hDlg));
        EXPECT_EQ(Loaded(IDS_REQUEST_FIELD_REFUSED), Text(hDlg, IDC_LOOKUP_HINT));
        Click(hDlg, IDC_LOOKUP_SEARCH);
        PumpFor(200);
        EXPECT_EQ(nRequests, RequestCount("TL"));
        SetDlgItemTextA(hDlg, IDC_LOOKUP_NAME, "pi");
        EXPECT_EQ(Loaded(IDS_LOOKUP_NAME_RULE), Text(hDlg, IDC_LOOKUP_HINT));

        Click(hDlg, IDC_LOOKUP_CLEAR);
        EXPECT_EQ("", Text(hDlg, IDC_LOOKUP_NAME));
        EXPECT_FALSE(SearchEnabled(hDlg));
        // The picture shows why a search cannot run.
        SetDlgItemTextA(hDlg, IDC_LOOKUP_TICKER, "G*");

        const std::string strFolder = std::string(TB_BINARY_DIR) + "/screenshots";
        std::filesystem::create_directories(strFolder);
        PumpFor(100);
        UpdateWindow(pForm->m_hWnd);
        EXPECT_TRUE(TbSaveWindowPng(pForm->m_hWnd,
                                    (strFolder + "/market_ticker_lookup_" + pszLanguage + ".png").c_str()));

        Click(hDlg, IDC_LOOKUP_CLOSE);
        ASSERT_TRUE(PumpUntil([&] { return pForm == nullptr; }, 5000)) << "the close command closes the form";
    }
};

TEST_F(LookupSession, SearchesByTickerAndByNameInEnglish)
{
    Run(false, "en");
}

TEST_F(LookupSession, SearchesByTickerAndByNameInArabic)
{
    Run(true, "ar");
}

}  // namespace
