// The US watch list end to end against the test server, logged in as the trader, with the
// Atlantic Board's clock seven hours behind Kuwait's and the server's clock before ten, when its
// times come with five digits: the quotes' trades run through the market's scrolling ticker,
// the watch list and the US trades show those times on the market's clock, and the symbol-change
// dialog changes a row, but nothing once the row went while it was open.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>
#include "app/AppCommands.h"
#include "app/ZorvatApp.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/QuotationTable.h"
#include "market/TimeAndSalesTable.h"
#include "market/dialogs/TickerSelectDlg.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/app/AppTestSupport.h"
#include "tests/market/MarketSessionSupport.h"

namespace {

#define ATLANTIC_MARKET 8
#define ATLANTIC_OFFSET (7 * 3600)      // seconds the board's times are behind the server's

// The market list of the data copy with the board's offset (the last field but one) set.
bool SetMarketOffset(const std::string& strData, int nMarket, long nOffset)
{
    const std::string strFile = strData + "/reference/markets.txt";
    std::ifstream in(strFile);
    std::string strText;
    bool bSet = false;
    for (std::string strLine; std::getline(in, strLine); strText += strLine + "\n") {
        // code|short|name|name_ar|enabled|linked|quotelist|noquote|lookup|nonews|offset|state|...
        if (strLine.rfind(std::to_string(nMarket) + "|", 0) != 0 || std::count(strLine.begin(), strLine.end(), '|') < 11)
            continue;
        size_t nAt = 0;
        for (int i = 0; i < 10; ++i)
            nAt = strLine.find('|', nAt) + 1;
        strLine.replace(nAt, strLine.find('|', nAt) - nAt, std::to_string(nOffset));
        bSet = true;
    }
    in.close();
    std::ofstream(strFile) << strText;
    return bSet;
}

// A server time as sent (the hour's zero may be missing) less the offset, as six digits.
std::string Shifted(const std::string& strTime, long nOffset)
{
    const std::string strSix = strTime.size() == 5 ? "0" + strTime : strTime;
    const long nSeconds = std::stol(strSix.substr(0, 2)) * 3600 + std::stol(strSix.substr(2, 2)) * 60 +
                          std::stol(strSix.substr(4, 2)) - nOffset;
    const long nDay = (nSeconds % 86400 + 86400) % 86400;
    char szText[8];
    snprintf(szText, sizeof szText, "%02ld%02ld%02ld", nDay / 3600, nDay / 60 % 60, nDay % 60);
    return szText;
}

bool ViewRowOf(CQuotationTable* pTable, LPCSTR pszTicker, CViewRow& row)
{
    CViewTable* pView = pTable->GetTable()->GetView(0);
    for (int i = 0; i < pView->GetRowCount(); ++i) {
        CTBString strTicker;
        if (pView->GetRow(row, i) && row.IsDataRow() && row.GetText(strTicker, QC_TICKER) && strTicker == pszTicker)
            return true;
    }
    return false;
}

struct WatchListSession : CMarketSession
{
    CQuotationTable* pQuotes = nullptr;
    CString strAtlantic;

    void Start()
    {
        strData = CopyServerData("watchlist");
        ASSERT_FALSE(strData.empty());
        ASSERT_TRUE(SetMarketOffset(strData, ATLANTIC_MARKET, ATLANTIC_OFFSET));
        ASSERT_TRUE(StartSession({"--rate", "200", "--data", strData, "--clock", "2026-12-07 09:30:00"}, false));
        pQuotes = Find<CQuotationTable>(IDS_TABLE_QUOTATIONS_US);
        ASSERT_NE(nullptr, pQuotes);
        strAtlantic = GetGlobals()->GetMarketName(ATLANTIC_MARKET);
        ASSERT_TRUE(PumpUntil([&] { return pQuotes->FindQuote("ALPN", strAtlantic) != nullptr; }, 20000))
            << pRun->InfoText();
    }

    // The user changes the row's symbol to pszNew in the dialog; the step runs in it first.
    void ChangeSymbol(LPCSTR pszOld, LPCSTR pszNew, std::function<void()> whileOpen)
    {
        CViewRow row;
        ASSERT_TRUE(ViewRowOf(pQuotes, pszOld, row));
        RunOnNextDialog(IDC_TICKER_SYMBOL, [&](HWND hDlg) {
            char szPreset[32] = "";
            GetDlgItemTextA(hDlg, IDC_TICKER_SYMBOL, szPreset, sizeof szPreset);
            EXPECT_STREQ(pszOld, szPreset);
            whileOpen();
            SetDlgItemTextA(hDlg, IDC_TICKER_SYMBOL, pszNew);
            SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDOK)));
        });
        pQuotes->OnBeginEdit(&row, QC_NAME, nullptr);
        EXPECT_TRUE(DialogStepRan());
    }
};

}  // namespace

TEST_F(WatchListSession, TradesTimesAndSymbolChangesOnTheBoard)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    CZORVAT32App& app = pRun->App();
    int nTicker = -1;
    for (int i = 0; i < app.GetTickerCount(); ++i)
        if (app.GetTickerName(i) == strAtlantic)
            nTicker = i;
    ASSERT_GE(nTicker, 0);
    ASSERT_TRUE(app.RunCommand(ID_APP_TICKER_FIRST + nTicker));
    CTickerWnd* pTicker = app.GetTickerWindow(strAtlantic);
    ASSERT_NE(nullptr, pTicker);

    // The board's trades run through its ticker: the symbol's name and its last price to three
    // decimals, with the change when the ticker shows changes.
    const int nItems = pTicker->GetItemCount();
    ASSERT_TRUE(PumpUntil([&] { return pTicker->GetItemCount() >= nItems + 3; }, 20000)) << pTicker->GetItemCount();
    // Digits, '.', three digits; then optionally a blank, a sign and the same again.
    auto isPrice = [](const std::string& str) {
        std::string strShape;   // each run of digits: "3" for three decimals, "x" other decimals, "n" before a '.'
        for (size_t i = 0; i < str.size();) {
            const size_t nEnd = std::min(str.size(), str.find_first_not_of("0123456789", i));
            if (nEnd == i) {
                strShape += str[i++];
                continue;
            }
            strShape += i > 0 && str[i - 1] == '.' ? (nEnd - i == 3 ? "3" : "x") : "n";
            i = nEnd;
        }
        return strShape == "n.3" || strShape == "n.3 +n.3" || strShape == "n.3 -n.3";
    };
    for (int i = nItems; i < pTicker->GetItemCount(); ++i) {
        const std::string strName = pTicker->GetItemText(i, FALSE);
        bool bListed = false;
        for (int r = 0; r < pQuotes->GetRows()->GetCount(); ++r) {
            const CDataBuffer* pRow = pQuotes->GetRows()->GetAt(r);
            bListed = bListed || (pRow->GetText(QC_MARKET) == strAtlantic && pRow->GetText(QC_NAME) == strName.c_str());
        }
        EXPECT_TRUE(bListed) << strName;
        EXPECT_TRUE(isPrice(std::string(pTicker->GetItemText(i, TRUE)))) << pTicker->GetItemText(i, TRUE);
    }

    // Before ten the server's times have five digits: on the board's clock all the same.
    int nTimed = 0;
    for (int r = 0; r < pQuotes->GetRows()->GetCount(); ++r) {
        const CDataBuffer* pRow = pQuotes->GetRows()->GetAt(r);
        const std::string strSent = static_cast<LPCSTR>(pRow->GetText(QC_TIME));
        if (pRow->GetText(QC_MARKET) != strAtlantic || strSent.empty())
            continue;
        ++nTimed;
        EXPECT_EQ(5u, strSent.size()) << strSent;
        EXPECT_EQ(Shifted(strSent, ATLANTIC_OFFSET), std::string(pRow->GetText(QC_MARKET_TIME)))
            << pRow->GetText(QC_TICKER) << " sent at " << strSent;
    }
    EXPECT_GT(nTimed, 3);
    CTimeAndSalesTable* pTrades = Find<CTimeAndSalesTable>(IDS_TABLE_TIME_AND_SALES);
    ASSERT_NE(nullptr, pTrades);
    ASSERT_TRUE(PumpUntil([&] { return pTrades->GetRows()->GetCount() > 3; }, 20000));
    int nAtlanticTrades = 0;
    for (int r = 0; r < pTrades->GetRows()->GetCount(); ++r) {
        const CDataBuffer* pRow = pTrades->GetRows()->GetAt(r);
        if (pRow->GetText(UTC_MARKET) != strAtlantic)
            continue;
        ++nAtlanticTrades;
        // 09:3x in Kuwait is 02:3x on the board.
        EXPECT_EQ(0u, std::string(pRow->GetText(UTC_TIME)).rfind("023", 0)) << pRow->GetText(UTC_TIME);
    }
    EXPECT_GT(nAtlanticTrades, 0);

    // The symbol-change dialog, with the rows to change to unlisted first.
    ASSERT_TRUE(pQuotes->RemoveSymbol("BRKT", strAtlantic));
    ASSERT_TRUE(pQuotes->RemoveSymbol("CDRX", strAtlantic));

    // A change: the old row goes, the new symbol is asked for and listed.
    ASSERT_NO_FATAL_FAILURE(ChangeSymbol("DLMR", "BRKT", [] {}));
    EXPECT_EQ(nullptr, pQuotes->FindQuote("DLMR", strAtlantic));
    ASSERT_TRUE(PumpUntil([&] { return pQuotes->FindQuote("BRKT", strAtlantic) != nullptr; })) << pRun->InfoText();

    // The server stops quoting the row while the dialog is open: the change has nothing left to
    // replace, and asks for nothing.
    const int nLookups = RequestCount("RN");
    ASSERT_NO_FATAL_FAILURE(ChangeSymbol("EVTN", "CDRX", [&] {
        char szRefused[64];
        snprintf(szRefused, sizeof szRefused, "~GS|0|XC|%d|EVTN|561|1", ATLANTIC_MARKET);
        CServerMessage refused(szRefused, 1);
        pQuotes->OnGS(&refused);
    }));
    EXPECT_EQ(nullptr, pQuotes->FindQuote("EVTN", strAtlantic));
    PumpFor(500);
    EXPECT_EQ(nullptr, pQuotes->FindQuote("CDRX", strAtlantic));
    EXPECT_EQ(nLookups, RequestCount("RN")) << ServerLines("RN");
    EXPECT_EQ(0, pQuotes->GetPendingCount());
}
