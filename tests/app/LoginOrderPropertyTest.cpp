// Whatever order the server answers the login's requests in, every window of the saved workspace
// reads at the end of the load as it does when the server answers in its own order: a reply read
// with data another reply brings (the schedule, a code table, the symbol lists, the currencies)
// is read again when that reply comes, and nothing the server sent is lost for coming first.
#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>
#include "AppTestSupport.h"
#include "TerminalRun.h"
#include "WholeTerminalMakers.h"
#include "app/AppCommands.h"
#include "app/FormMDIWnd.h"
#include "app/TableMDIWnd.h"
#include "charts/ChartChooserDlg.h"
#include "charts/ChartPoint.h"
#include "charts/ZorvatChartDataHolder.h"
#include "charts/ZorvatChartView.h"
#include "framework/table/ViewTable.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/common/Property.h"

namespace {

// A still market on a fixed clock, so that two logins see the same data.
const std::vector<std::string> s_still = {"--rate", "0", "--clock", "2026-12-08 10:00:00"};

std::string TitleOf(CWnd* pWnd)
{
    CString strTitle;
    pWnd->GetWindowText(strTitle);
    return static_cast<LPCSTR>(strTitle);
}

// What the trader reads in every window: a table window's title and rows (the rows as a set:
// rows that come in arrival order may come in another), a chart's title and points; and the
// rate each currency of the list converts at into the base currency and into itself.
std::string Reading(CZORVAT32App& app)
{
    std::ostringstream out;
    CStringArray codes;
    GetGlobals()->GetCurrencyCodes(codes);
    std::vector<std::string> rates;
    const CString strBase = app.GetBaseCurrency();
    for (int i = 0; i < codes.GetSize(); ++i)
        for (LPCSTR pszBase : {static_cast<LPCSTR>(strBase), static_cast<LPCSTR>(codes[i])}) {
            app.SetBaseCurrency(pszBase);
            rates.push_back(std::string(codes[i]) + ">" + pszBase + " " + std::to_string(app.GetRates().GetCrossRate(codes[i])));
        }
    app.SetBaseCurrency(strBase);
    std::sort(rates.begin(), rates.end());
    out << "[rates]\n";
    for (const std::string& strRate : rates)
        out << strRate << "\n";
    for (const auto& [nCommand, nNameId] : CZORVAT32App::GetTableCommands()) {
        IDataTable* pTable = app.FindTable(nNameId);
        CTableMDIWnd* pWindow = pTable != nullptr ? pTable->GetMainWindow() : nullptr;
        if (pWindow == nullptr || !pWindow->IsWindowVisible())
            continue;
        std::vector<std::string> rows;
        CViewRow row;
        for (int i = 0; pWindow->GetView()->GetRow(row, i); ++i) {
            rows.emplace_back();
            CTBString strText;
            for (int nCol = 0; nCol < pWindow->GetView()->GetColumnCount(); ++nCol)
                rows.back() += (row.GetText(strText, nCol) ? std::string(strText) : "") + "|";
        }
        std::sort(rows.begin(), rows.end());
        out << "[" << TitleOf(pWindow) << "]\n";
        for (const std::string& strRow : rows)
            out << strRow << "\n";
    }
    for (int nSlot = 0; nSlot < 9; ++nSlot) {
        CFormMDIWnd* pFrame = app.GetChartWindow(nSlot);
        auto* pView = pFrame != nullptr ? dynamic_cast<CZorvatChartView*>(pFrame->GetView()) : nullptr;
        if (pView == nullptr)
            continue;
        out << "[" << TitleOf(pFrame) << "]\n";
        for (const CChartPoint* p = pView->GetMainHolder()->GetHead(); p != nullptr; p = p->m_pNext)
            out << p->m_nTime << " " << p->m_dClose << "\n";
    }
    return out.str();
}

// The first line where two readings part, with the window it is in; "" when they read alike.
std::string FirstDifference(const std::string& strWant, const std::string& strGot)
{
    std::istringstream want(strWant + "\n(end)"), got(strGot + "\n(end)");
    std::string strWindow, a, b;
    while (std::getline(want, a) && std::getline(got, b) && a == b)
        strWindow = !a.empty() && a[0] == '[' ? a : strWindow;
    return a == b ? "" : strWindow + "\n  usual order: " + a + "\n  this order:  " + b;
}

// The trader's workspace with a window of every kind: each table the table commands open, and
// today's KSE and US charts and a US history chart. "" when it could not be made.
std::string SaveEveryWindowKind(bool bArabic)
{
    CTestServer server;
    if (!server.Start(s_still))
        return "";
    CTerminalRun run(bArabic);
    run.m_onMakersRegistered = &CWholeTerminalMakers::Register;
    if (!run.StartLoggedIn(server.Port(), "trader", "secret"))
        return "";
    for (const auto& [nCommand, nNameId] : CZORVAT32App::GetTableCommands()) {
        run.App().GetMainFrame()->SendMessage(WM_COMMAND, nCommand);
        PumpFor(20);
    }
    const struct { UINT nCommand; const char* pszTicker; } charts[] = {{33301, "101"}, {33192, "ALPN"}, {33190, "BRKT"}};
    for (const auto& chart : charts) {
        run.QueueDialog(IDC_CHART_TICKER, {{IDC_CHART_TICKER, chart.pszTicker}});
        run.App().RunCommand(chart.nCommand);
    }
    PumpFor(500);
    run.App().SaveWorkspace();
    const std::string strFolder = run.Folder();
    run.Close();
    return strFolder;
}

// The workspace's windows after a login whose replies the server sends in the scenario's order
// (none: its own), at a program's start (no schedule yet), read once the load is done and the
// replies it caused are in.
std::string LoginReading(const std::string& strFolder, bool bArabic, const std::string& strScenario)
{
    std::vector<std::string> options = s_still;

    if (!strScenario.empty())
        options.insert(options.end(), {"--scenario", strScenario});
    CTestServer server;
    if (!server.Start(options))
        return "(the server did not start)";
    // Each login saves into a copy of the workspace's folder.
    const std::string strCopy = MakeTestFolder("login-order");
    std::filesystem::copy(strFolder, strCopy, std::filesystem::copy_options::recursive);
    GetGlobals()->ClearSchedule();
    GetGlobals()->ClearCurrencies();
    CTerminalRun run(bArabic, strCopy);
    run.m_onMakersRegistered = &CWholeTerminalMakers::Register;
    if (!run.StartLoggedIn(server.Port(), "trader", "secret"))
        return "(no login)";
    PumpFor(700);
    const std::string strReading = Reading(run.App());
    run.Close();
    return strReading;
}

}  // namespace

// In both languages: the replies to the login's requests, the restored windows' among them, come
// whole in an order drawn at random; at the end every window reads as in the server's own order.
TEST(LoginOrderProperty, EveryRestoredWindowReadsAsInTheServersOrder)
{
    CWholeTerminalMakers makers;
    for (bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        const std::string strFolder = SaveEveryWindowKind(bArabic);
        ASSERT_FALSE(strFolder.empty());
        const std::string strUsual = LoginReading(strFolder, bArabic, "");
        // The KSE stock list held until the US quotations are asked for: the "DR" that opens the
        // KSE data comes long before, and the KSE windows still name their stocks, not their ids.
        EXPECT_EQ("", FirstDifference(strUsual, LoginReading(strFolder, bArabic, "hold=SL:GS")));
        TB_CHECK_PROPERTY(4, [&] {
            const unsigned nSeed = *rc::gen::noShrink(rc::gen::inRange(1u, 1000000u));
            RC_LOG() << "login-order=" << nSeed << "\n";
            const std::string strWrong =
                FirstDifference(strUsual, LoginReading(strFolder, bArabic, "login-order=" + std::to_string(nSeed)));
            RC_ASSERT(strWrong == "");
        });
    }
}

// Found by the property: the holdings came before the symbols of the US watch list they fill.
TEST(LoginOrderProperty, HoldingsBeforeTheWatchListsSymbolsShowInTheirRows)
{
    CWholeTerminalMakers makers;
    const std::string strFolder = SaveEveryWindowKind(false);
    ASSERT_FALSE(strFolder.empty());
    EXPECT_EQ("", FirstDifference(LoginReading(strFolder, false, ""), LoginReading(strFolder, false, "login-order=222509")));
}
