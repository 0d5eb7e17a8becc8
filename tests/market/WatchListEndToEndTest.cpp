// The US watch list end to end against the test server, logged in as the trader, with the
// Atlantic Board's clock seven hours behind Kuwait's and the server's clock before ten, when its
// times come with five digits: the quotes' trades run through the market's scrolling ticker,
// the watch list and the US trades show those times on the market's clock, and the symbol-change
// dialog changes a row, but nothing once the row went while it was open. The row menu's symbol
// items open their windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include "app/AppCommands.h"
#include "app/NorvMainFrame.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/QuotationTable.h"
#include "market/TimeAndSalesTable.h"
#include "market/dialogs/TickerSelectDlg.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/market/MarketSessionSupport.h"
#include "tests/market/RecordingActions.h"

namespace {

const int ATLANTIC_MARKET = 8;

// The data copy's market list with a field of the Atlantic Board's row changed, in
// "code|short|name|name_ar|enabled|linked|quotelist|noquote|lookup|nonews|offset|state|...".
void SetAtlanticField(const std::string& strData, int nField, const std::string& strValue)
{
    const std::string strFile = strData + "/reference/markets.txt";
    std::ifstream in(strFile);
    std::string strText;
    for (std::string strLine; std::getline(in, strLine); strText += strLine + "\n")
        if (strLine.rfind(std::to_string(ATLANTIC_MARKET) + "|", 0) == 0) {
            size_t nAt = 0;
            for (int i = 0; i < nField; ++i)
                nAt = strLine.find('|', nAt) + 1;
            strLine.replace(nAt, strLine.find('|', nAt) - nAt, strValue);
        }
    in.close();
    std::ofstream(strFile) << strText;
}

void SetAtlanticOffset(const std::string& strData)
{
    SetAtlanticField(strData, 10, std::to_string(7 * 3600));
}

// Digits, '.', three digits; then optionally a blank, a sign and the same again.
bool IsPrice(const std::string& str)
{
    std::string strShape;   // a run of digits: "n", or after a '.' "3" when three, else "x"
    for (size_t i = 0; i < str.size();) {
        const size_t nEnd = std::min(str.size(), str.find_first_not_of("0123456789", i));
        strShape += nEnd == i ? std::string(1, str[i]) : i > 0 && str[i - 1] == '.' ? (nEnd - i == 3 ? "3" : "x") : "n";
        i = std::max(nEnd, i + 1);
    }
    return strShape == "n.3" || strShape == "n.3 +n.3" || strShape == "n.3 -n.3";
}

}  // namespace

TEST_F(CMarketSession, WatchListTradesTimesAndSymbolChangesOnTheAtlanticBoard)
{
    strData = CopyServerData("watchlist");
    ASSERT_FALSE(strData.empty());
    SetAtlanticOffset(strData);
    ASSERT_TRUE(StartSession({"--rate", "200", "--data", strData, "--clock", "2026-12-07 09:30:00"}, false));
    auto* pQuotes = Find<CQuotationTable>(IDS_TABLE_QUOTATIONS_US);
    ASSERT_NE(nullptr, pQuotes);
    const CString strAtlantic = GetGlobals()->GetMarketName(ATLANTIC_MARKET);
    ASSERT_TRUE(PumpUntil([&] { return pQuotes->FindQuote("ALPN", strAtlantic) != nullptr; }, 20000)) << pRun->InfoText();
    CZORVAT32App& app = pRun->App();
    int nTicker = -1;
    for (int i = 0; i < app.GetTickerCount(); ++i)
        nTicker = app.GetTickerName(i) == strAtlantic ? i : nTicker;
    ASSERT_TRUE(nTicker >= 0 && app.RunCommand(ID_APP_TICKER_FIRST + nTicker));
    CTickerWnd* pTicker = app.GetTickerWindow(strAtlantic);
    ASSERT_NE(nullptr, pTicker);

    // The board's trades run through its ticker: a listed symbol's name and its last price to
    // three decimals, with the change when the ticker shows changes.
    const int nItems = pTicker->GetItemCount();
    ASSERT_TRUE(PumpUntil([&] { return pTicker->GetItemCount() >= nItems + 3; }, 20000)) << pTicker->GetItemCount();
    auto Listed = [&](const CString& strName) {
        for (int r = 0; r < pQuotes->GetRows()->GetCount(); ++r)
            if (pQuotes->GetRows()->GetAt(r)->GetText(QC_MARKET) == strAtlantic && pQuotes->GetRows()->GetAt(r)->GetText(2) == strName)
                return true;
        return false;
    };
    for (int i = nItems; i < pTicker->GetItemCount(); ++i) {
        EXPECT_TRUE(Listed(pTicker->GetItemText(i, FALSE))) << pTicker->GetItemText(i, FALSE);
        EXPECT_TRUE(IsPrice(std::string(pTicker->GetItemText(i, TRUE)))) << pTicker->GetItemText(i, TRUE);
    }

    // Before ten the server's times have five digits, "9mmss": on the board's clock "02mmss", in
    // the watch list as in the US trades.
    int nTimed = 0;
    for (int r = 0; r < pQuotes->GetRows()->GetCount(); ++r) {
        const CDataBuffer* pRow = pQuotes->GetRows()->GetAt(r);
        const std::string strSent = static_cast<LPCSTR>(pRow->GetText(QC_TIME));
        if (pRow->GetText(QC_MARKET) != strAtlantic || strSent.empty())
            continue;
        ++nTimed;
        EXPECT_EQ(5u, strSent.size()) << strSent;
        EXPECT_EQ("02" + strSent.substr(1), std::string(pRow->GetText(QC_MARKET_TIME))) << pRow->GetText(QC_TICKER);
    }
    EXPECT_GT(nTimed, 3);
    auto* pTrades = Find<CTimeAndSalesTable>(IDS_TABLE_TIME_AND_SALES);
    ASSERT_NE(nullptr, pTrades);
    ASSERT_TRUE(PumpUntil([&] { return pTrades->GetRows()->GetCount() > 3; }, 20000));
    int nAtlanticTrades = 0;
    for (int r = 0; r < pTrades->GetRows()->GetCount(); ++r) {
        const CDataBuffer* pRow = pTrades->GetRows()->GetAt(r);
        nAtlanticTrades += pRow->GetText(UTC_MARKET) == strAtlantic;
        EXPECT_TRUE(pRow->GetText(UTC_MARKET) != strAtlantic || std::string(pRow->GetText(UTC_TIME)).rfind("023", 0) == 0)
            << pRow->GetText(UTC_TIME);
    }
    EXPECT_GT(nAtlanticTrades, 0);

    // The symbol-change dialog on a row, to a symbol first unlisted; the step runs while it is open.
    auto changeSymbol = [&](LPCSTR pszOld, LPCSTR pszNew, const std::function<void()>& whileOpen) {
        CViewTable* pView = pQuotes->GetTable()->GetView(0);
        CViewRow row;
        bool bFound = false;
        for (int i = 0; i < pView->GetRowCount() && !bFound; ++i) {
            CTBString strTicker;
            bFound = pView->GetRow(row, i) && row.IsDataRow() && row.GetText(strTicker, QC_TICKER) && strTicker == pszOld;
        }
        ASSERT_TRUE(bFound) << pszOld;
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
    };
    ASSERT_TRUE(pQuotes->RemoveSymbol("BRKT", strAtlantic) && pQuotes->RemoveSymbol("CDRX", strAtlantic));
    // A change: the old row goes, the new symbol is asked for and listed.
    ASSERT_NO_FATAL_FAILURE(changeSymbol("DLMR", "BRKT", [] {}));
    EXPECT_EQ(nullptr, pQuotes->FindQuote("DLMR", strAtlantic));
    ASSERT_TRUE(PumpUntil([&] { return pQuotes->FindQuote("BRKT", strAtlantic) != nullptr; })) << pRun->InfoText();
    // The server stops quoting the row while the dialog is open: the change has nothing left to
    // replace, and asks for nothing.
    const int nLookups = RequestCount("RN");
    ASSERT_NO_FATAL_FAILURE(changeSymbol("EVTN", "CDRX", [&] {
        CServerMessage refused(("~GS|0|XC|" + std::to_string(ATLANTIC_MARKET) + "|EVTN|561|1").c_str(), 1);
        pQuotes->OnGS(&refused);
    }));
    EXPECT_EQ(nullptr, pQuotes->FindQuote("EVTN", strAtlantic));
    PumpFor(500);
    EXPECT_EQ(nullptr, pQuotes->FindQuote("CDRX", strAtlantic));
    EXPECT_EQ(nLookups, RequestCount("RN")) << ServerLines("RN");
    EXPECT_EQ(0, pQuotes->GetPendingCount());
}

// The row menu's symbol items on a row of the book market (the Atlantic Board named "NMS") and
// of the Harbor Exchange: what each opens, and what the server was asked for it.
TEST_F(CMarketSession, WatchListRowItemsOpenTheirWindows)
{
    strData = CopyServerData("watchrows");
    ASSERT_FALSE(strData.empty());
    SetAtlanticField(strData, 2, "NMS");
    SetAtlanticField(strData, 3, "NMS");
    ASSERT_TRUE(StartSession({"--rate", "0", "--data", strData}, false));
    auto* pQuotes = Find<CQuotationTable>(IDS_TABLE_QUOTATIONS_US);
    ASSERT_NE(nullptr, pQuotes);
    const CString strHarbor = GetGlobals()->GetMarketName(4);
    ASSERT_TRUE(PumpUntil([&] { return pQuotes->FindQuote("ALPN", "NMS") && pQuotes->FindQuote("PRSM", strHarbor); },
                          20000));
    CNorvApp::ShowTable(pQuotes);
    CTableMDIWnd* pWindow = pQuotes->GetMainWindow();
    ASSERT_NE(nullptr, pWindow);
    const struct {
        const char* pszTicker;
        UINT nId;
        BOOL bEnabled;
        UINT nTitleId;                  // the window it opens
        const char *pszType, *pszEnd;   // the request it sends: its type and how its line ends
    } cases[] = {
        {"PRSM", 33209, TRUE, 56784, "LW", "||0|4|PRSM"},
        {"ALPN", 33569, TRUE, 56784, "LW", "||0|8|COMPANY:ALPN"},
        {"ALPN", 33568, TRUE, 57495, "L2", "||ALPN|8|1"},
        {"PRSM", 33568, TRUE, 42226, nullptr, nullptr},
        {"PRSM", 40194, TRUE, 57496, "L3", "||PRSM|4|1"},
        {"ALPN", 33567, FALSE, 0, nullptr, nullptr},   // the board's symbols are looked up in this very list
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.nId) + " " + c.pszTicker);
        pWindow->MDIActivate();
        int nIndex = 0;
        CViewRow row;
        for (CTBString strTicker; pWindow->GetView()->GetRow(row, nIndex); ++nIndex)
            if (row.IsDataRow() && row.GetText(strTicker, QC_TICKER) && strTicker == c.pszTicker)
                break;
        pWindow->GetGrid().SelectRow(nIndex, 1, FALSE);
        CUpdateProbe probe;
        EXPECT_TRUE(pQuotes->OnCmdMsg(c.nId, CN_UPDATE_COMMAND_UI, &probe, nullptr));
        EXPECT_EQ(c.bEnabled, probe.bEnabled);
        if (!c.bEnabled)
            continue;
        pQuotes->OnCmdMsg(c.nId, CN_COMMAND, nullptr, nullptr);
        const CString strTitle = LoadMarketText(c.nTitleId);
        char szActive[128] = "";
        EXPECT_TRUE(PumpUntil([&] {
            GetWindowTextA(pRun->App().GetMainFrame()->MDIGetActive()->m_hWnd, szActive, sizeof szActive);
            return strTitle == szActive;
        })) << szActive;
        if (c.pszType == nullptr)
            continue;
        const std::string strEnd = c.pszEnd;
        EXPECT_TRUE(PumpUntil([&] {
            const std::vector<std::string> sent = Requests(c.pszType);
            return !sent.empty() && sent.back().size() > strEnd.size() &&
                   sent.back().compare(sent.back().size() - strEnd.size(), strEnd.size(), strEnd) == 0;
        })) << ServerLines(c.pszType);
    }
}
