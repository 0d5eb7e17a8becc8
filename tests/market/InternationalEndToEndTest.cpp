// The international tables and the option chain end to end: the terminal logs in as the trader
// against the test server on loopback; the exchange rates fill and become the converter's cross
// rates, the schedule comes on the login's own request and narrows to a market from its menu,
// interest rates and two option chains fill; pictures in English and Arabic.
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <utility>
#include <set>
#include <string>
#include <vector>
#include "app/AppCommands.h"
#include "app/FormMDIWnd.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/TBString.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "link/MessageTypes.h"
#include "market/DataArray.h"
#include "market/InternationalExchangeRatesTable.h"
#include "market/InternationalInterestRatesTable.h"
#include "market/InternationalMarketMakerOrderBookTable.h"
#include "market/InternationalMarketScheduleTable.h"
#include "market/InternationalOrderBookTable.h"
#include "market/OptionChainDlg.h"
#include "market/OptionChainTable.h"
#include "market/QuotationTable.h"
#include "market/TableLinks.h"
#include "platform/win/gdi/ImageCodec.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/TerminalRun.h"
#include "tests/market/MarketSessionSupport.h"
#include "tests/market/RecordingActions.h"

namespace fs = std::filesystem;

namespace {

// The texts of one column of the rows a window shows.
std::set<std::string> ShownColumn(CTableMDIWnd* pWindow, int nCol)
{
    std::set<std::string> texts;
    CViewRow row;
    for (int i = 0; pWindow->GetView()->GetRow(row, i); ++i) {
        CTBString strText;
        if (row.IsDataRow() && row.GetText(strText, nCol))
            texts.insert(std::string(strText));
    }
    return texts;
}

struct CRecordingConversion : ICurrencyConversionOpener
{
    std::vector<std::string> opened;
    void OpenCurrencyConversion(LPCSTR pszFrom, LPCSTR pszTo) override
    {
        opened.push_back(std::string(pszFrom) + ">" + pszTo);
    }
};

struct InternationalSession : CMarketSession
{
    void Start(bool bArabic)
    {
        ASSERT_TRUE(StartSession({}, bArabic));
    }
    int SentCount(const std::string& strStart) const
    {
        int nCount = 0;
        for (const std::string& line : server.Received())
            nCount += line.rfind(strStart, 0) == 0 ? 1 : 0;
        return nCount;
    }
    static bool Filled(CDataTable* pTable)
    {
        return pTable != nullptr && pTable->IsComplete() && !pTable->IsReceiving() && pTable->GetRows()->GetCount() > 0;
    }
    // The chain of one underlying as the dialog asks for it: the puts, then the calls, one
    // reply after the other.
    COptionChainTable* RequestChains(const char* pszUnderlying)
    {
        COptionChainTable* pChain = Find<COptionChainTable>(IDS_TABLE_OPTION_CHAIN);
        if (pChain == nullptr)
            return nullptr;
        pChain->RemoveAllRows();
        pRun->App().SendRequest(MSG_GO, (std::string("||") + pszUnderlying + "|2").c_str());
        PumpUntil([&] { return Filled(pChain); });
        const int nFirst = pChain->GetRows()->GetCount();
        pRun->App().SendRequest(MSG_GO, (std::string("||") + pszUnderlying + "|1").c_str());
        PumpUntil([&] { return pChain->GetRows()->GetCount() > nFirst && !pChain->IsReceiving(); });
        return pChain;
    }
    // Each row's column 3 holds Arabic letters (code page 1256), or none.
    static bool DescriptionsInArabic(CDataTable* pSchedule, bool bArabic)
    {
        for (int r = 0; r < pSchedule->GetRows()->GetCount(); ++r) {
            const std::string strText(pSchedule->GetRows()->GetAt(r)->GetText(3));
            bool bLetters = false;
            for (unsigned char ch : strText)
                bLetters = bLetters || ch >= 0xC1;
            if (strText.empty() || bLetters != bArabic)
                return false;
        }
        return pSchedule->GetRows()->GetCount() > 0;
    }
    // The rows in the state their market is in now, each said in the information window in the
    // words the window shows; how many.
    int CheckStatesSaid(CDataTable* pSchedule)
    {
        CArray<int, int> codes;
        GetGlobals()->GetMarketCodes(codes);
        int nSaid = 0;
        for (int r = 0; r < pSchedule->GetRows()->GetCount(); ++r) {
            const CDataBuffer* pRow = pSchedule->GetRows()->GetAt(r);
            for (int i = 0; i < codes.GetSize(); ++i) {
                const CString strName = GetGlobals()->GetMarketName(codes[i]);
                if (codes[i] != atoi(pRow->GetText(0)) || GetGlobals()->GetMarketState(codes[i]) != atoi(pRow->GetText(1)))
                    continue;
                const std::string strLine = std::string(strName) + ": " + std::string(pRow->GetText(3));
                EXPECT_NE(std::string::npos, pRun->InfoText().find(strLine)) << strLine;
                ++nSaid;
            }
        }
        return nSaid;
    }
    // The market menu, and then a click on a market's cell, narrow the window to that market; its
    // cells and the caption name it whole (strKse: the KSE's name as the trader reads it).
    void CheckMarketsShownWhole(CInternationalMarketScheduleTable* pSchedule, const std::string& strKse)
    {
        CZORVAT32App& app = pRun->App();
        const std::string strUs(GetGlobals()->GetMarketName(8));
        CTableMDIWnd* pMain = pSchedule->GetMainWindow();
        ASSERT_NE(nullptr, pMain);
        const std::set<std::string> all = ShownColumn(pMain, 0);
        EXPECT_EQ(1u, all.count(strKse)) << "the markets by name";
        EXPECT_EQ(1u, all.count(strUs));
        CArray<int, int> codes;
        GetGlobals()->GetMarketCodes(codes);
        int nKseItem = -1;
        for (int i = 0; i < codes.GetSize(); ++i)
            nKseItem = codes[i] == 2 ? i : nKseItem;
        ASSERT_GE(nKseItem, 0);
        BOOL bEnabled = FALSE;
        int nCheck = 0;
        ASSERT_TRUE(app.GetCommandState(ID_APP_MARKET_FIRST + nKseItem, &bEnabled, &nCheck));
        EXPECT_TRUE(bEnabled);
        const auto caption = [&] {
            char szText[256] = "";
            GetWindowTextA(pMain->m_hWnd, szText, sizeof szText);
            return std::string(szText);
        };
        const std::string strPlain = caption();
        EXPECT_TRUE(app.RunCommand(ID_APP_MARKET_FIRST + nKseItem));
        EXPECT_EQ((std::set<std::string>{strKse}), ShownColumn(pMain, 0));
        EXPECT_EQ(strPlain + " - " + strKse, caption());
        pSchedule->FilterByMarket(8);
        EXPECT_EQ((std::set<std::string>{strUs}), ShownColumn(pMain, 0)) << "a second market replaces the first";
        EXPECT_EQ(strPlain + " - " + strUs, caption());
        EXPECT_TRUE(app.RunCommand(ID_APP_MARKET_ALL));
        EXPECT_EQ(all, ShownColumn(pMain, 0));
        EXPECT_EQ(strPlain, caption());
        // A click on the KSE's cell.
        CViewRow row;
        CTBString strMarket;
        int nRow = 0;
        while (pMain->GetView()->GetRow(row, nRow) && !(row.IsDataRow() && row.GetText(strMarket, 0) && strMarket == strKse.c_str()))
            ++nRow;
        ASSERT_LT(nRow, pMain->GetView()->GetRowCount());
        int nHandled = 0;
        pSchedule->OnCellClick(&row, 0, &nHandled);
        EXPECT_EQ((std::set<std::string>{strKse}), ShownColumn(pMain, 0));
        EXPECT_EQ(strPlain + " - " + strKse, caption());
        Shoot(pSchedule, std::string("market_schedule_kse_") + (IsArabicInterface() ? "ar" : "en"));
        EXPECT_TRUE(app.RunCommand(ID_APP_MARKET_ALL));
    }
    void ShootAll(const std::string& strLanguage)
    {
        Shoot(Find<CInternationalExchangeRatesTable>(IDS_TABLE_EXCHANGE_RATES), "market_exchange_rates_" + strLanguage);
        Shoot(Find<CInternationalMarketScheduleTable>(IDS_TABLE_MARKET_SCHEDULE), "market_schedule_" + strLanguage);
        Shoot(Find<COptionChainTable>(IDS_TABLE_OPTION_CHAIN), "market_option_chain_" + strLanguage);
    }
};

}  // namespace

TEST_F(InternationalSession, RatesScheduleAndChainsFillForTheTrader)
{
    ASSERT_NO_FATAL_FAILURE(Start(false));
    CZORVAT32App& app = pRun->App();

    // Exchange rates: asked at login, each pair the converter's, every currency itself at 1.0.
    auto* pRates = Find<CInternationalExchangeRatesTable>(IDS_TABLE_EXCHANGE_RATES);
    ASSERT_NE(nullptr, pRates);
    ASSERT_TRUE(PumpUntil([&] { return Filled(pRates); }));
    EXPECT_EQ(1, SentCount("&VX|")) << "the login's request alone";
    app.SetBaseCurrency("=KWD");
    EXPECT_NEAR(0.3065, app.GetRates().GetCrossRate("=USD"), 1e-9);
    EXPECT_DOUBLE_EQ(1.0, app.GetRates().GetCrossRate("=KWD")) << "the base currency converts to itself";
    app.SetBaseCurrency("=USD");
    EXPECT_NEAR(1.0806, app.GetRates().GetCrossRate("=EUR"), 1e-9);
    EXPECT_NEAR(3.2626, app.GetRates().GetCrossRate("=KWD"), 1e-9) << "KWD to USD is a row of its own";

    // A click on a rate opens the conversion form on the row's pair; other columns do not.
    CRecordingConversion conversion;
    app.SetCurrencyConversionOpener(&conversion);
    CViewRow row;
    ASSERT_TRUE(pRates->GetMainWindow()->GetView()->GetRow(row, 0));
    CTBString strFrom, strTo;
    row.GetText(strFrom, 0);
    row.GetText(strTo, 1);
    int nHandled = 0;
    pRates->OnCellClick(&row, 0, &nHandled);
    pRates->OnCellClick(&row, 2, &nHandled);
    pRates->OnCellClick(&row, 3, &nHandled);
    app.SetCurrencyConversionOpener(nullptr);
    const std::string strPair = std::string(strFrom) + ">" + std::string(strTo);
    EXPECT_EQ((std::vector<std::string>{strPair, strPair}), conversion.opened);

    // The schedule: the login's "VS" with the user's number, one row per line of the server's.
    auto* pSchedule = Find<CInternationalMarketScheduleTable>(IDS_TABLE_MARKET_SCHEDULE);
    ASSERT_NE(nullptr, pSchedule);
    ASSERT_TRUE(PumpUntil([&] { return Filled(pSchedule); }));
    EXPECT_EQ(1, SentCount("&VS|"));
    EXPECT_FALSE(app.IsBusy()) << "the schedule's reply never holds the busy flag";
    // Each row in the state its market is in now is said once in the information window.
    EXPECT_GE(CheckStatesSaid(pSchedule), 1) << "the server's schedule holds the state each market is in";
    EXPECT_TRUE(DescriptionsInArabic(pSchedule, false)) << "the English descriptions";
    CheckMarketsShownWhole(pSchedule, "Kuwait Stock Exchange");

    // Interest rates on their own request.
    auto* pInterest = Find<CInternationalInterestRatesTable>(IDS_TABLE_INTEREST_RATES);
    ASSERT_NE(nullptr, pInterest);
    EXPECT_TRUE(pInterest->SendRequest());
    EXPECT_TRUE(PumpUntil([&] { return Filled(pInterest); }));
    // Each currency's kinds by their code, shown as the kind's text.
    std::set<std::string> kinds;
    CViewRow rate;
    for (int i = 0; pInterest->GetMainWindow()->GetView()->GetRow(rate, i); ++i) {
        CTBString strCurrency, strKind;
        if (rate.IsDataRow() && rate.GetText(strCurrency, 0) && rate.GetText(strKind, 1))
            kinds.insert(std::string(strCurrency) + " " + std::string(strKind));
    }
    const std::string strDeposit(CInterestType::GetText(1)), strLending(CInterestType::GetText(2));
    EXPECT_NE(strDeposit, "1");
    EXPECT_EQ((std::set<std::string>{"=EUR " + strDeposit, "=KWD " + strDeposit, "=KWD " + strLending,
                                     "=USD " + strDeposit, "=USD " + strLending}),
              kinds);

    // The puts and then the calls of one underlying stay together, each under the underlying.
    COptionChainTable* pChain = RequestChains("ALPN");
    ASSERT_NE(nullptr, pChain);
    std::multiset<std::string> series;
    for (int i = 0; i < pChain->GetRows()->GetCount(); ++i) {
        const CDataBuffer* pRow = pChain->GetRows()->GetAt(i);
        series.insert(std::string(pRow->GetText(0)) + " " + std::to_string(pRow->GetLong(1)) + " " +
                      std::to_string(pRow->GetDouble(2)));
    }
    EXPECT_EQ((std::multiset<std::string>{"ALPN 1 45.000000", "ALPN 1 50.000000", "ALPN 2 45.000000",
                                          "ALPN 2 50.000000"}),
              series)
        << "the second reply kept the first's rows";
    ShootAll("en");
}

TEST_F(InternationalSession, ArabicShowsTheSameTablesRightToLeft)
{
    ASSERT_NO_FATAL_FAILURE(Start(true));
    auto* pSchedule = Find<CInternationalMarketScheduleTable>(IDS_TABLE_MARKET_SCHEDULE);
    auto* pRates = Find<CInternationalExchangeRatesTable>(IDS_TABLE_EXCHANGE_RATES);
    ASSERT_NE(nullptr, pSchedule);
    ASSERT_NE(nullptr, pRates);
    ASSERT_TRUE(PumpUntil([&] { return Filled(pSchedule) && Filled(pRates); }));
    EXPECT_TRUE(DescriptionsInArabic(pSchedule, true)) << "the schedule's Arabic descriptions";
    EXPECT_GE(CheckStatesSaid(pSchedule), 1) << "the states said in Arabic";
    CheckMarketsShownWhole(pSchedule, "\xD3\xE6\xDE \xC7\xE1\xDF\xE6\xED\xCA \xE1\xE1\xC3\xE6\xD1\xC7\xDE \xC7\xE1\xE3\xC7\xE1\xED\xC9");
    ASSERT_NE(nullptr, RequestChains("CDRX"));
    ShootAll("ar");
}

TEST_F(InternationalSession, WatchListRowFollowsAndStopsTheUsBooks)
{
    ASSERT_NO_FATAL_FAILURE(Start(false));
    auto* pQuotes = Find<CQuotationTable>(IDS_TABLE_QUOTATIONS_US);
    ASSERT_NE(nullptr, pQuotes);
    const CString strMarket = GetGlobals()->GetMarketName(4);
    ASSERT_TRUE(PumpUntil([&] { return pQuotes->FindQuote("PRSM", strMarket) != nullptr; }, 20000)) << pRun->InfoText();
    CNorvApp::ShowTable(pQuotes);
    CTableMDIWnd* pWindow = pQuotes->GetMainWindow();
    ASSERT_NE(nullptr, pWindow);
    CViewRow row;
    int nIndex = 0;
    for (CTBString strTicker; pWindow->GetView()->GetRow(row, nIndex); ++nIndex)
        if (row.IsDataRow() && row.GetText(strTicker, QC_TICKER) && strTicker == "PRSM" &&
            row.GetText(strTicker, QC_MARKET) && strTicker == static_cast<LPCSTR>(strMarket))
            break;
    ASSERT_LT(nIndex, pWindow->GetView()->GetRowCount());
    pWindow->MDIActivate();
    pWindow->GetGrid().SelectRow(nIndex, 1, FALSE);
    const auto enabled = [&](UINT nId) {
        CUpdateProbe probe;
        EXPECT_TRUE(pQuotes->OnCmdMsg(nId, CN_UPDATE_COMMAND_UI, &probe, nullptr)) << nId;
        return probe.bEnabled;
    };
    const auto flag = [&](int nCol) { return pQuotes->FindQuote("PRSM", strMarket)->GetLong(nCol); };
    // The last request of a book for the symbol: "1" follows, "2" stops.
    const auto last = [&](const char* pszType) {
        std::string strLast;
        for (const std::string& line : server.Received())
            if (line.rfind(pszType, 0) == 0 && line.find("|PRSM|4|") != std::string::npos)
                strLast = line.substr(line.size() - 1);
        return strLast;
    };
    EXPECT_TRUE(enabled(57454));
    EXPECT_FALSE(enabled(57455));
    EXPECT_TRUE(enabled(40195));
    EXPECT_FALSE(enabled(40196));

    const int nL2 = SentCount("&L2|");
    const int nL3 = SentCount("&L3|");
    pQuotes->OnCmdMsg(57454, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(1, flag(QC_BOOK));
    EXPECT_EQ(0, flag(QC_MAKER_BOOK)) << "one book at a time";
    EXPECT_FALSE(enabled(57454));
    EXPECT_TRUE(enabled(57455));
    EXPECT_TRUE(enabled(40195));
    pQuotes->OnCmdMsg(40195, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(1, flag(QC_MAKER_BOOK));
    ASSERT_TRUE(PumpUntil([&] { return SentCount("&L2|") == nL2 + 1 && SentCount("&L3|") == nL3 + 1; }));
    EXPECT_EQ("1", last("&L2|"));
    EXPECT_EQ("1", last("&L3|"));

    pQuotes->OnCmdMsg(57455, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(0, flag(QC_BOOK));
    EXPECT_EQ(1, flag(QC_MAKER_BOOK));
    ASSERT_TRUE(PumpUntil([&] { return SentCount("&L2|") == nL2 + 2; }));
    EXPECT_EQ("2", last("&L2|"));

    // The row's option chain opens the chain form set to its symbol.
    const UINT ID_QUOTE_OPTION_CHAIN = 33338;
    EXPECT_TRUE(enabled(ID_QUOTE_OPTION_CHAIN));
    pQuotes->OnCmdMsg(ID_QUOTE_OPTION_CHAIN, CN_COMMAND, nullptr, nullptr);
    auto* pChainForm = dynamic_cast<CFormMDIWnd*>(pRun->App().GetMainFrame()->MDIGetActive());
    ASSERT_NE(nullptr, pChainForm);
    EXPECT_EQ(static_cast<UINT>(IDD_FORM_OPTION_CHAIN), pChainForm->GetTemplateId());
    char szTicker[16] = "";
    GetDlgItemTextA(pChainForm->GetView()->m_hWnd, IDC_OPTION_TICKER, szTicker, sizeof szTicker);
    EXPECT_STREQ("PRSM", szTicker);
    pWindow->MDIActivate();

    // A row that goes stops the book that still follows it, and only that one.
    ASSERT_TRUE(pQuotes->RemoveSymbol("PRSM", strMarket));
    ASSERT_TRUE(PumpUntil([&] { return SentCount("&L3|") == nL3 + 2; }));
    EXPECT_EQ("2", last("&L3|"));
    PumpFor(200);
    EXPECT_EQ(nL2 + 2, SentCount("&L2|"));

    // The open commands show the books.
    for (const auto& book : {std::pair<UINT, UINT>{57456, IDS_TABLE_ORDER_BOOK_US}, {40197, IDS_TABLE_MAKER_BOOK_US}}) {
        EXPECT_TRUE(enabled(book.first));
        pQuotes->OnCmdMsg(book.first, CN_COMMAND, nullptr, nullptr);
        CDataTable* pBook = FindDataTable(book.second);
        ASSERT_NE(nullptr, pBook);
        EXPECT_EQ(pBook->GetMainWindow(), pRun->App().GetMainFrame()->MDIGetActive()) << book.first;
    }
}
