// The unrealized, forward contract and margin reports end to end as the trader against the test
// server with its market held still: the KSE and combined unrealized values, gains, per cents
// and base-currency columns computed here from the server's account state (--state), again
// after the base currency changes and after KSE trades close and reopen a position; the
// combined table's refresh through its dialog; the forward contracts and their detail form; the
// margin details with their caption.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>
#include "account/AccountTables.h"
#include "account/CombinedUnrealizedProfitLossDlg.h"
#include "account/CombinedUnrealizedProfitLossTable.h"
#include "account/ForwardContractsTable.h"
#include "account/InvestorHoldingsTable.h"
#include "account/MarginDetailsTable.h"
#include "account/MarginReportTable.h"
#include "account/MarginStocksTable.h"
#include "account/OrderStatusKSETable.h"
#include "account/UnrealizedProfitLossTable.h"
#include "account/UnrealizedProfitLossKSETable.h"
#include "app/AppCommands.h"
#include "app/FormMDIWnd.h"
#include "app/NorvApp.h"
#include "app/NorvMainFrame.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/PreferencesDlg.h"
#include "market/QuotationTable.h"
#include "orders/OrderForms.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/TestAnswers.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/account/AccountTestSupport.h"
#include "tests/common/DialogSteps.h"

namespace {
const int KSE = 2;
const int OPTIONS = 16;
const double CENT = 0.011;

struct POSITION
{
    int nMarket = 0;
    std::string strSymbol;
    double dQuantity = 0, dCost = 0, dPrice = 0;
    std::string strCurrency;
};

struct STATE
{
    std::vector<POSITION> positions;
    std::map<std::string, double> rates;    // "USD>KWD": one unit of the first in the second
};

STATE ReadState(const std::string& strPath)
{
    STATE state;
    std::ifstream file(strPath);
    for (std::string strLine; std::getline(file, strLine);) {
        const std::vector<std::string> f = Split(strLine);
        if (f.size() >= 8 && f[0] == "holding" && f[1] == "trader" && atof(f[4].c_str()) != 0)
            state.positions.push_back({atoi(f[2].c_str()), f[3], atof(f[4].c_str()), atof(f[5].c_str()),
                                       atof(f[6].c_str()), "=" + f[7]});
        else if (f.size() >= 4 && f[0] == "rate")
            state.rates[f[1] + ">" + f[2]] = atof(f[3].c_str());
    }
    return state;
}

double Rate(const STATE& state, const std::string& strFrom, const std::string& strBase)
{
    if (strFrom == strBase)
        return 1.0;
    const auto it = state.rates.find(strFrom.substr(1) + ">" + strBase.substr(1));
    return it != state.rates.end() ? it->second : 0.0;
}

struct VALUED
{
    double dValue, dGain, dPercent;
};

// A position at the server's price: KSE prices are fils; an option contract counts a hundred
// shares.
VALUED Value(const POSITION& p)
{
    const double dValue = p.dQuantity * p.dPrice * (p.nMarket == KSE ? 0.001 : p.nMarket == OPTIONS ? 100.0 : 1.0);
    const double dGain = dValue - p.dCost;
    return {dValue, dGain, p.dCost == 0 ? 100.0 : dGain * 100.0 / p.dCost};
}

// The KSE table's row of a stock, whatever its other keys hold.
const CDataBuffer* KseRow(CDataTable* pTable, const std::string& strStock)
{
    for (int i = 0; i < pTable->GetRows()->GetCount(); ++i)
        if (std::string(pTable->GetRows()->GetAt(i)->GetText(UK_STOCK)) == strStock)
            return pTable->GetRows()->GetAt(i);
    return nullptr;
}

struct UnrealizedReports : CAccountSession
{
    std::string strState;

    void Start(bool bArabic, const std::string& strUser = "trader", const std::string& strPassword = "secret")
    {
        char szState[] = "/tmp/unrealized-state-XXXXXX";
        const int fd = mkstemp(szState);
        ASSERT_GE(fd, 0);
        close(fd);
        strState = szState;
        ASSERT_TRUE(server.Start({"--rate", "0", "--state", strState}));
        pRun = std::make_unique<CTerminalRun>(bArabic);
        // The forms too: a contract's click opens its detail form.
        pRun->m_onMakersRegistered = [] {
            RegisterAccountTables();
            RegisterOrderForms();
        };
        ASSERT_TRUE(pRun->StartLoggedIn(server.Port(), strUser, strPassword));
    }
    void TearDown() override
    {
        ClearDialogSteps();
        CAccountSession::TearDown();
        if (!strState.empty())
            unlink(strState.c_str());
    }
    void Command(UINT nId) { SendMessageA(pRun->App().GetMainFrame()->m_hWnd, WM_COMMAND, nId, 0); }

    // The KSE position of a stock, from the state the server wrote after its last request.
    const POSITION* Kse(const STATE& state, const std::string& strStock) const
    {
        for (const POSITION& p : state.positions)
            if (p.nMarket == KSE && p.strSymbol == strStock)
                return &p;
        return nullptr;
    }

    // Every KSE row of both tables and every US row of the combined one against the state.
    void ExpectValued(const std::string& strBase, const std::string& strWhen)
    {
        SCOPED_TRACE(strWhen);
        const STATE state = ReadState(strState);
        auto* pKse = Find<CUnrealizedProfitLossKSETable>(IDS_TABLE_KSE_UNREALIZED);
        auto* pCombined = Find<CCombinedUnrealizedProfitLossTable>(IDS_TABLE_COMBINED_UNREALIZED);
        int nKse = 0;
        for (const POSITION& p : state.positions) {
            SCOPED_TRACE(p.strSymbol);
            const VALUED v = Value(p);
            const CString strMarket = GetGlobals()->GetMarketName(p.nMarket);
            const CDataBuffer* pRow = pCombined->GetRows()->FindRow({p.strSymbol.c_str(), strMarket});
            ASSERT_NE(nullptr, pRow);
            EXPECT_EQ(p.nMarket == KSE, pCombined->IsKseRow(pRow));
            EXPECT_NEAR(v.dValue, pRow->GetDouble(CU_VALUE), CENT);
            EXPECT_NEAR(v.dGain, pRow->GetDouble(CU_GAIN), CENT);
            EXPECT_NEAR(v.dPercent, pRow->GetDouble(CU_PERCENT), CENT);
            const double dRate = Rate(state, p.strCurrency, strBase);
            EXPECT_NEAR(v.dValue * dRate, pRow->GetDouble(CU_BASE_VALUE), CENT);
            EXPECT_NEAR(v.dGain * dRate, pRow->GetDouble(CU_BASE_GAIN), CENT);
            EXPECT_NEAR(p.dCost * dRate, pRow->GetDouble(CU_BASE_COST), CENT);
            if (p.nMarket != KSE)
                continue;
            ++nKse;
            const CDataBuffer* pOwn = KseRow(pKse, p.strSymbol);
            ASSERT_NE(nullptr, pOwn);
            EXPECT_NEAR(p.dQuantity, pOwn->GetDouble(UK_TOTAL), CENT);
            EXPECT_NEAR(v.dValue, pOwn->GetDouble(UK_VALUE), CENT);
            EXPECT_NEAR(v.dGain, pOwn->GetDouble(UK_GAIN), CENT);
            EXPECT_NEAR(v.dPercent, pOwn->GetDouble(UK_PERCENT), CENT);
        }
        EXPECT_EQ(nKse, pKse->GetRows()->GetCount());
        EXPECT_EQ(static_cast<int>(state.positions.size()), pCombined->GetRows()->GetCount());
    }

    void ChooseBaseCurrency(const char* pszCode) { ::ChooseBaseCurrency(*pRun, pszCode); }

    // A KSE market order filled at once; its position line has come back to the tables.
    void Trade(int nSide, const char* pszStock, int nQuantity)
    {
        const size_t nLines = Sent("IU").size();
        Send(MSG_KR, "||1002|10020|1|" + std::to_string(nSide) + "|" + pszStock + "|" + std::to_string(nQuantity) +
                         "|3|0||0|||secret");
        ASSERT_TRUE(PumpUntil([&] { return Sent("IU").size() > nLines; }, 5000)) << pRun->InfoText();
        PumpFor(300);
    }

    size_t Requests(const std::string& strMnemonic) const
    {
        size_t nCount = 0;
        for (const std::string& line : server.Received())
            nCount += line.rfind("&" + strMnemonic + "|", 0) == 0;
        return nCount;
    }
};

// A picture of a table's main window for the reports of this file.
void Picture(CDataTable* pTable, const std::string& strName)
{
    Shoot(pTable, strName);
}
}  // namespace

TEST_F(UnrealizedReports, KseAndCombinedUnrealizedFollowTheAccountItsTradesAndTheBaseCurrency)
{
    ASSERT_NO_FATAL_FAILURE(Start(false));
    ASSERT_NO_FATAL_FAILURE(ChooseBaseCurrency("=KWD"));
    Command(33235);
    auto* pKse = Find<CUnrealizedProfitLossKSETable>(IDS_TABLE_KSE_UNREALIZED);
    ASSERT_NE(nullptr, pKse);
    ASSERT_TRUE(PumpUntil([&] { return pKse->IsComplete(); }));
    EXPECT_FALSE(pRun->App().IsUnrealizedSelectorOn());

    // The combined report from its dialog, the account typed.
    RunDialogSteps({{IDC_COMBINED_UNREALIZED_ACCOUNT, [](HWND hDlg) {
                         EnterText(hDlg, IDC_COMBINED_UNREALIZED_ACCOUNT, "");
                         NotifyControl(hDlg, IDC_COMBINED_UNREALIZED_ACCOUNT, EN_CHANGE);
                         EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hDlg, IDOK))) << "no account, no OK";
                         EnterText(hDlg, IDC_COMBINED_UNREALIZED_ACCOUNT, "10020");
                         NotifyControl(hDlg, IDC_COMBINED_UNREALIZED_ACCOUNT, EN_CHANGE);
                         SaveDialogScreenshot(hDlg, "account_combined_unrealized_dialog");
                         ClickControl(hDlg, IDOK);
                     }}});
    Command(40229);
    EXPECT_TRUE(FinishedSteps());
    auto* pCombined = Find<CCombinedUnrealizedProfitLossTable>(IDS_TABLE_COMBINED_UNREALIZED);
    ASSERT_NE(nullptr, pCombined);
    ASSERT_TRUE(PumpUntil([&] { return pCombined->IsComplete(); }));
    PumpFor(200);
    EXPECT_EQ("10020", std::string(pCombined->GetAccount()));
    ASSERT_NO_FATAL_FAILURE(ExpectValued("=KWD", "loaded"));
    ASSERT_NO_FATAL_FAILURE(ChooseBaseCurrency("=USD"));
    ASSERT_NO_FATAL_FAILURE(ExpectValued("=USD", "in dollars"));

    // The refresh: the dialog opens empty, its OK asks, then Yes asks again; the KSE rows come once.
    const size_t nUk = Requests("UK");
    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDYES, ""});
    RunDialogSteps({{IDC_COMBINED_UNREALIZED_ACCOUNT, [](HWND hDlg) {
                         EXPECT_EQ("", ControlText(hDlg, IDC_COMBINED_UNREALIZED_ACCOUNT));
                         EnterText(hDlg, IDC_COMBINED_UNREALIZED_ACCOUNT, "10020");
                         ClickControl(hDlg, IDOK);
                     }}});
    RunTableCommand(pCombined, ID_ACCOUNT_REFRESH);
    EXPECT_TRUE(FinishedSteps());
    ASSERT_TRUE(PumpUntil([&] { return Requests("UK") > nUk && !pCombined->IsReceiving(); }));
    PumpFor(500);
    EXPECT_EQ(nUk + 1, Requests("UK")) << "only the latest \"UP\" reply asks for the KSE positions";
    ASSERT_NO_FATAL_FAILURE(ExpectValued("=USD", "refreshed"));

    // More of a held stock updates its reply row; a new stock bought, sold out and bought again.
    ASSERT_NO_FATAL_FAILURE(Trade(1, "107", 100));
    ASSERT_NO_FATAL_FAILURE(ExpectValued("=USD", "more of 107"));
    ASSERT_NO_FATAL_FAILURE(Trade(1, "101", 100));
    ASSERT_NE(nullptr, Kse(ReadState(strState), "101"));
    ASSERT_NO_FATAL_FAILURE(ExpectValued("=USD", "101 bought"));
    ASSERT_NO_FATAL_FAILURE(Trade(2, "101", 100));
    EXPECT_EQ(nullptr, Kse(ReadState(strState), "101"));
    EXPECT_EQ(nullptr, KseRow(pKse, "101"));
    ASSERT_NO_FATAL_FAILURE(ExpectValued("=USD", "101 sold out"));
    ASSERT_NO_FATAL_FAILURE(Trade(1, "101", 100));
    ASSERT_NO_FATAL_FAILURE(ExpectValued("=USD", "101 bought again"));
    Picture(pKse, "account_kse_unrealized");
    Picture(pCombined, "account_combined_unrealized");
    Command(33276);
    auto* pContracts = Find<CForwardContractsTable>(IDS_TABLE_FORWARD_CONTRACTS);
    ASSERT_NE(nullptr, pContracts);
    ASSERT_TRUE(PumpUntil([&] { return pContracts->IsComplete(); }));
    Picture(pContracts, "account_forward_contracts");
}

TEST_F(UnrealizedReports, ForwardContractsOpenTheirDetailAskForOneAndTakeNewOnes)
{
    ASSERT_NO_FATAL_FAILURE(Start(true));
    Command(33235);
    auto* pKse = Find<CUnrealizedProfitLossKSETable>(IDS_TABLE_KSE_UNREALIZED);
    ASSERT_NE(nullptr, pKse);
    ASSERT_TRUE(PumpUntil([&] { return pKse->IsComplete(); }));
    Picture(pKse, "account_kse_unrealized_ar");
    Command(33276);
    auto* pContracts = Find<CForwardContractsTable>(IDS_TABLE_FORWARD_CONTRACTS);
    ASSERT_NE(nullptr, pContracts);
    ASSERT_TRUE(PumpUntil([&] { return pContracts->IsComplete(); }));
    const std::vector<std::string> rows = LastReplyRows("KN");
    ASSERT_EQ(rows.size(), static_cast<size_t>(pContracts->GetRows()->GetCount()));
    ASSERT_FALSE(rows.empty());
    // Value and profit in dinars to the fils, in the rows and their totals; titles a trader reads.
    const std::vector<std::string> numbers = ShownTexts(pContracts, FC_NUMBER);
    for (const int nCol : {FC_VALUE, FC_PROFIT}) {
        const std::vector<std::string> shown = ShownTexts(pContracts, nCol);
        double dTotal = 0;
        for (const std::string& row : rows) {
            const std::vector<std::string> f = Split(row);
            const size_t nAt = std::find(numbers.begin(), numbers.end(), f[2]) - numbers.begin();
            ASSERT_LT(nAt, shown.size()) << f[2];
            EXPECT_EQ(GroupedAmount(atof(f[nCol - 1].c_str()), 3), shown[nAt]) << f[2];
            dTotal += atof(f[nCol - 1].c_str());
        }
        EXPECT_EQ(GroupedAmount(dTotal, 3), TotalText(pContracts, nCol));
    }
    // Each contract's status by its name: "مفتوح" (open) for 1, "مغلق" (closed) for 2.
    const std::vector<std::string> statuses = ShownTexts(pContracts, FC_STATUS);
    for (const std::string& row : rows) {
        const std::vector<std::string> f = Split(row);
        const size_t nAt = std::find(numbers.begin(), numbers.end(), f[2]) - numbers.begin();
        ASSERT_LT(nAt, statuses.size()) << f[2];
        EXPECT_EQ(f[13] == "1" ? "\xE3\xDD\xCA\xE6\xCD" : "\xE3\xDB\xE1\xDE", statuses[nAt]) << f[2];
    }
    // The contract's price and the series' price now read as the server gave them, every decimal
    // of them: the value and profit above are reckoned from those.
    const int FC_PRICE = 9, FC_NOW = 10;
    const auto number = [](std::string strText) {
        strText.erase(std::remove(strText.begin(), strText.end(), ','), strText.end());
        return atof(strText.c_str());
    };
    for (const int nCol : {FC_PRICE, FC_NOW}) {
        const std::vector<std::string> shown = ShownTexts(pContracts, nCol);
        for (const std::string& row : rows) {
            const std::vector<std::string> f = Split(row);
            const size_t nAt = std::find(numbers.begin(), numbers.end(), f[2]) - numbers.begin();
            ASSERT_LT(nAt, shown.size()) << f[2];
            EXPECT_EQ(atof(f[nCol - 1].c_str()), number(shown[nAt])) << f[2] << " column " << nCol;
        }
    }
    // In code page 1256: "أوامر السوق الآجل - السوق الآجل".
    char szCaption[256] = "";
    CDataTable* pForwardOrders = FindDataTable(IDS_TABLE_KSE_FORWARD_ORDERS);
    ASSERT_NE(nullptr, pForwardOrders);
    CNorvApp::ShowTable(pForwardOrders);
    GetWindowTextA(pForwardOrders->GetMainWindow()->m_hWnd, szCaption, sizeof szCaption);
    EXPECT_EQ("\xC3\xE6\xC7\xE3\xD1 \xC7\xE1\xD3\xE6\xDE \xC7\xE1\xC2\xCC\xE1 - \xC7\xE1\xD3\xE6\xDE \xC7\xE1\xC2\xCC\xE1",
              std::string(szCaption));

    // A click on the maturity of the first shown contract opens its detail form on its opening day.
    CViewTable* pView = pContracts->GetMainWindow()->GetView();
    CViewRow row;
    int nShown = 0;
    while (pView->GetRow(row, nShown) && !row.IsDataRow())
        ++nShown;
    const std::string strId = std::string(CDataTable::GetCellValue(&row, FC_ID).GetText());
    int nHandled = 0;
    pContracts->OnCellClick(&row, FC_MATURITY, &nHandled);
    EXPECT_EQ(1, nHandled);
    ASSERT_TRUE(PumpUntil([&] { return pRun->App().GetForwardContractForm() != nullptr; }, 3000));
    EXPECT_TRUE(PumpUntil([&] {
        for (const std::string& line : server.Received())
            if (line.rfind("&KD|", 0) == 0 && line.find("|" + strId) != std::string::npos)
                return true;
        return false;
    }, 3000)) << "the detail form asks for the clicked contract";

    // "RV" for the selected contract; none for one without its opening day.
    CNorvApp::ShowTable(pContracts);
    PumpFor(100);
    pContracts->GetMainWindow()->GetGrid().SelectRow(nShown, 0, FALSE);
    const size_t nRv = Requests("RV");
    EXPECT_TRUE(pContracts->SendContractRequest());
    CDataBuffer* pSelected = pContracts->GetSelectedDataRow();
    ASSERT_NE(nullptr, pSelected);
    pSelected->SetText(FC_OPEN_DATE, "", TRUE);
    EXPECT_FALSE(pContracts->SendContractRequest());
    PumpFor(300);
    EXPECT_EQ(nRv + 1, Requests("RV"));

    // A new contract from a forward order filled at once comes as "CU" and adds its row.
    const int nBefore = pContracts->GetRows()->GetCount();
    Send(MSG_KA, "||1002|10020|1|101|1000|0|3|1|9999.0|secret");
    ASSERT_TRUE(PumpUntil([&] { return pContracts->GetRows()->GetCount() == nBefore + 1; }, 5000)) << pRun->InfoText();
    const CServerMessage update(Sent("CU").back().c_str(), 1);
    const CDataBuffer* pNew = pContracts->GetRows()->FindRow({update.GetFieldText(2)});
    ASSERT_NE(nullptr, pNew);
    EXPECT_EQ(std::string(update.GetFieldText(3)), std::string(pNew->GetText(FC_ID)));
    Picture(pContracts, "account_forward_contracts_ar");
}

TEST_F(UnrealizedReports, MarginDetailsOpenForAMarginUserWithTheirSummaryInTheCaption)
{
    for (const bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        ASSERT_NO_FATAL_FAILURE(Start(bArabic, "margin", "margin"));
        BOOL bEnabled = FALSE;
        int nCheck = 0;
        ASSERT_TRUE(pRun->App().GetCommandState(ID_APP_MARGIN_DETAILS, &bEnabled, &nCheck));
        EXPECT_TRUE(bEnabled);
        Command(ID_APP_MARGIN_DETAILS);
        auto* pMargin = Find<CMarginDetailsTable>(IDS_TABLE_MARGIN_DETAILS);
        ASSERT_NE(nullptr, pMargin);
        ASSERT_TRUE(PumpUntil([&] { return pMargin->IsComplete(); }));
        const std::vector<std::string> md = Sent("MD");
        ASSERT_FALSE(md.empty());
        const CServerMessage header(md.back().c_str(), 1);
        char szCaption[512] = "";
        GetWindowTextA(pMargin->GetMainWindow()->m_hWnd, szCaption, sizeof szCaption);
        const std::string strCaption = szCaption;
        EXPECT_NE(std::string::npos, strCaption.find("#10040")) << strCaption;
        char szLoan[64];
        snprintf(szLoan, sizeof szLoan, "=%.2f USD", header.GetDouble(5, 0));
        EXPECT_NE(std::string::npos, strCaption.find(szLoan)) << strCaption;
        EXPECT_EQ(1, pMargin->GetRows()->GetCount());
        Picture(pMargin, bArabic ? "account_margin_details_ar" : "account_margin_details");
        pRun.reset();
        server.Stop();
    }
}

// The margin report and the two margin stock lists, opened as their menu items open them: the
// report's row carries the figures of the account's margin details, follows the live "MN" of a
// trade and gains a row for another account; each stock list takes only its own kind's reply.
TEST_F(UnrealizedReports, MarginReportFollowsTheAccountAndEachStockListTakesItsOwnKind)
{
    ASSERT_NO_FATAL_FAILURE(Start(false, "margin", "margin"));
    enum { MR_ACCOUNT = 0, MR_CASH = 1, MR_EQUITY = 7 };
    Command(ID_APP_MARGIN_DETAILS);
    auto* pDetails = Find<CMarginDetailsTable>(IDS_TABLE_MARGIN_DETAILS);
    ASSERT_NE(nullptr, pDetails);
    ASSERT_TRUE(PumpUntil([&] { return pDetails->IsComplete(); }));
    const CDataBuffer* pDetail = pDetails->GetRows()->GetAt(0);
    ASSERT_NE(nullptr, pDetail);

    pRun->App().RunCommand(33313);
    auto* pReport = Find<CMarginReportTable>(IDS_TABLE_MARGIN_REPORT);
    ASSERT_NE(nullptr, pReport);
    ASSERT_TRUE(PumpUntil([&] { return pReport->IsComplete(); }));
    ASSERT_EQ(1, pReport->GetRows()->GetCount());
    const CDataBuffer* pRow = pReport->GetRows()->GetAt(0);
    EXPECT_EQ(std::string(pDetail->GetText(0)), std::string(pRow->GetText(MR_ACCOUNT)));
    EXPECT_NEAR(pDetail->GetDouble(1), pRow->GetDouble(MR_CASH), 0.005);
    EXPECT_NEAR(pDetail->GetDouble(3), pRow->GetDouble(MR_EQUITY), 0.005);

    // A KSE buy moves the cash; its "MN" rewrites the account's row in place.
    const double dCash = pRow->GetDouble(MR_CASH);
    const size_t nLive = Sent("MN").size();
    Send(MSG_KR, "||1004|10040|1|1|101|100|3|0||0|||margin");
    ASSERT_TRUE(PumpUntil([&] { return Sent("MN").size() > nLive; }, 5000)) << pRun->InfoText();
    PumpFor(200);
    ASSERT_EQ(1, pReport->GetRows()->GetCount());
    const CServerMessage live(Sent("MN").back().c_str(), 1);
    EXPECT_NEAR(live.GetDouble(MR_CASH, 0), pReport->GetRows()->GetAt(0)->GetDouble(MR_CASH), 0.005);
    EXPECT_GT(dCash, pReport->GetRows()->GetAt(0)->GetDouble(MR_CASH));
    // The same line for another account adds its row.
    std::string strOther = Sent("MN").back();
    const size_t nAt = strOther.find("|" + std::string(pRow->GetText(MR_ACCOUNT)) + "|");
    ASSERT_NE(std::string::npos, nAt);
    strOther.replace(nAt + 1, strlen(pRow->GetText(MR_ACCOUNT)), "77777");
    CServerMessage other(strOther.c_str(), 1);
    pRun->App().FireType(MSG_MN, &other, -1);
    EXPECT_EQ(2, pReport->GetRows()->GetCount());
    Shoot(pReport, "account_margin_report");

    // Each list asks for its own kind and fills from that reply only.
    pRun->App().RunCommand(33309);
    auto* pList1 = Find<CMarginStocksTable>(IDS_TABLE_MARGIN_STOCKS_1);
    ASSERT_NE(nullptr, pList1);
    ASSERT_TRUE(PumpUntil([&] { return pList1->IsComplete(); }));
    const int nStocks = pList1->GetRows()->GetCount();
    EXPECT_LT(0, nStocks);
    pRun->App().RunCommand(33310);
    auto* pList2 = Find<CMarginStocksTable>(IDS_TABLE_MARGIN_STOCKS_2);
    ASSERT_NE(nullptr, pList2);
    ASSERT_TRUE(PumpUntil([&] { return pList2->IsComplete(); }));
    const std::vector<std::string> requests = Sent("LM");
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ(1, CServerMessage(requests[0].c_str(), 1).GetLong(3));
    EXPECT_EQ(2, CServerMessage(requests[1].c_str(), 1).GetLong(3));
    pList2->RemoveAllRows();
    pList1->SendRequest();
    ASSERT_TRUE(PumpUntil([&] { return Sent("LM").size() == 3; }));
    PumpFor(200);
    EXPECT_EQ(nStocks, pList1->GetRows()->GetCount());
    EXPECT_EQ(0, pList2->GetRows()->GetCount()) << "the other kind's reply is not this list's";
}

// With the market trading, the long amount the server tells for a US position follows its
// quotes as the table's own long gain does: once the last price moves, the two agree again.
struct UsUnrealizedLive : CAccountSession
{
};

TEST_F(UsUnrealizedLive, TheServersLongAmountFollowsTheLongGain)
{
    ASSERT_TRUE(StartSession({"--rate", "400"}));
    SendMessageA(pRun->App().GetMainFrame()->m_hWnd, WM_COMMAND, ID_APP_US_UNREALIZED, 0);
    CDataTable* pTable = FindDataTable(IDS_TABLE_US_UNREALIZED);
    ASSERT_NE(nullptr, pTable);
    ASSERT_TRUE(PumpUntil([&] { return pTable->IsComplete(); }));
    const auto row = [&]() -> const CDataBuffer* {
        for (int i = 0; i < pTable->GetRows()->GetCount(); ++i)
            if (std::string(pTable->GetRows()->GetAt(i)->GetText(UC_SYMBOL)) == "GLNT")
                return pTable->GetRows()->GetAt(i);
        return nullptr;
    };
    ASSERT_NE(nullptr, row());
    const double dReplyLast = row()->GetDouble(UC_LAST);
    // The held share on the watch list, so that its quotes value it.
    auto* pQuotes = dynamic_cast<CQuotationTable*>(FindDataTable(IDS_TABLE_US_QUOTATIONS));
    ASSERT_NE(nullptr, pQuotes);
    pQuotes->AddSymbol("GLNT", row()->GetText(UC_MARKET), nullptr);
    EXPECT_TRUE(PumpUntil([&] {
        const CDataBuffer* pRow = row();
        return pRow != nullptr && pRow->GetDouble(UC_LAST) != dReplyLast &&
               std::fabs(pRow->GetDouble(UC_LONG_AMOUNT) - pRow->GetDouble(UC_LONG_GAIN)) < 0.005;
    }, 20000)) << "last " << row()->GetDouble(UC_LAST) << ": amount " << row()->GetDouble(UC_LONG_AMOUNT) << ", gain "
               << row()->GetDouble(UC_LONG_GAIN);
}

namespace {
const int KSE_HOLDINGS_STOCK = 1, KSE_HOLDINGS_QUANTITY = 3;

// The text a window shows in a column for the first data row whose key column reads strKey;
// "none" when it shows no such row.
std::string ShownCell(CDataTable* pTable, int nKeyCol, const std::string& strKey, int nCol)
{
    const std::vector<std::string> keys = ShownTexts(pTable, nKeyCol);
    const std::vector<std::string> texts = ShownTexts(pTable, nCol);
    for (size_t i = 0; i < keys.size() && i < texts.size(); ++i)
        if (keys[i] == strKey)
            return texts[i];
    return "none";
}

// The same cell's figure as the trader reads it; NAN when the window shows no such row.
double ShownFigure(CDataTable* pTable, int nKeyCol, const std::string& strKey, int nCol)
{
    const std::string strText = ShownCell(pTable, nKeyCol, strKey, nCol);
    if (strText == "none")
        return NAN;
    std::string strDigits;
    for (const char ch : strText)
        if (ch != ',')
            strDigits += ch;
    return atof(strDigits.c_str());
}

}  // namespace

// The combined report asked for another account takes that account's positions alone: the US and
// KSE windows keep the trader's account and follow its trades; asked for the trader's account
// again, the combined report follows them too.
TEST_F(UnrealizedReports, EachUnrealizedWindowKeepsTheAccountItWasAskedFor)
{
    ASSERT_NO_FATAL_FAILURE(Start(false));
    Command(ID_APP_US_UNREALIZED);
    Command(33235);
    auto* pUs = Find<CUnrealizedProfitLossTable>(IDS_TABLE_US_UNREALIZED);
    auto* pKse = Find<CUnrealizedProfitLossKSETable>(IDS_TABLE_KSE_UNREALIZED);
    CDataTable* pUsHoldings = FindDataTable(IDS_TABLE_US_HOLDINGS);
    CDataTable* pKseHoldings = FindDataTable(IDS_TABLE_KSE_HOLDINGS);
    ASSERT_TRUE(pUs != nullptr && pKse != nullptr && pUsHoldings != nullptr && pKseHoldings != nullptr);
    ASSERT_TRUE(PumpUntil([&] { return pUs->IsComplete() && pKse->IsComplete(); }));
    CNorvApp::ShowTable(pUsHoldings);
    CNorvApp::ShowTable(pKseHoldings);
    const auto askCombined = [&](const char* pszAccount) {
        const size_t nUk = Requests("UK");
        RunDialogSteps({{IDC_COMBINED_UNREALIZED_ACCOUNT, [pszAccount](HWND hDlg) {
                             EnterText(hDlg, IDC_COMBINED_UNREALIZED_ACCOUNT, pszAccount);
                             ClickControl(hDlg, IDOK);
                         }}});
        Command(40229);
        EXPECT_TRUE(FinishedSteps());
        auto* pCombined = Find<CCombinedUnrealizedProfitLossTable>(IDS_TABLE_COMBINED_UNREALIZED);
        EXPECT_TRUE(pCombined != nullptr && PumpUntil([&] {
            return Requests("UK") > nUk && pCombined->IsComplete() && !pCombined->IsReceiving();
        }));
        PumpFor(300);
        return pCombined;
    };
    const std::string strUsRows = RowsText(pUs, {UC_SYMBOL, UC_MARKET, UC_LONG_QTY});
    const std::string strKseRows = RowsText(pKse, {UK_STOCK, UK_KIND, UK_QTY});
    auto* pCombined = askCombined("1002");
    ASSERT_NE(nullptr, pCombined);
    EXPECT_EQ("1002", std::string(pCombined->GetAccount()));
    EXPECT_EQ(strUsRows, RowsText(pUs, {UC_SYMBOL, UC_MARKET, UC_LONG_QTY})) << "the other account's reply";
    EXPECT_EQ(strKseRows, RowsText(pKse, {UK_STOCK, UK_KIND, UK_QTY})) << "the other account's reply";
    const double dCombinedKse = ShownFigure(pCombined, CU_SYMBOL, "107", CU_QTY);
    const double dCombinedUs = ShownFigure(pCombined, CU_SYMBOL, "GLNT", CU_QTY);

    const std::string strKseAverage = ShownCell(pKse, UK_STOCK, "107", UK_AVERAGE);
    const std::string strUsAverage = ShownCell(pUs, UC_SYMBOL, "GLNT", UC_LONG_AVERAGE);

    // The trader's trades on both markets: the trader's windows follow them, the other
    // account's report does not.
    ASSERT_NO_FATAL_FAILURE(Trade(1, "107", 1000));
    const size_t nNh = Sent("NH").size();
    Send(MSG_OR, "1002|10020|1|GLNT|100|3|0||0|||secret");
    ASSERT_TRUE(PumpUntil([&] { return Sent("NH").size() > nNh; }, 5000)) << pRun->InfoText();
    PumpFor(300);
    const double dKse = ShownFigure(pKseHoldings, KSE_HOLDINGS_STOCK, "107", KSE_HOLDINGS_QUANTITY);
    const double dUs = ShownFigure(pUsHoldings, HC_SYMBOL, "GLNT", HC_QUANTITY);
    ASSERT_EQ(dKse, ShownFigure(pKse, UK_STOCK, "107", UK_QTY)) << "KSE unrealized beside the KSE holdings";
    ASSERT_EQ(dUs, ShownFigure(pUs, UC_SYMBOL, "GLNT", UC_LONG_QTY)) << "US unrealized beside the US holdings";
    EXPECT_EQ(dCombinedKse, ShownFigure(pCombined, CU_SYMBOL, "107", CU_QTY)) << "another account's report";
    EXPECT_EQ(dCombinedUs, ShownFigure(pCombined, CU_SYMBOL, "GLNT", CU_QTY)) << "another account's report";
    EXPECT_NE(dCombinedKse, dKse);
    EXPECT_NE(dCombinedUs, dUs);
    // An average cost shows the same places whether the reply or a live line gave it.
    const std::string strKseAfter = ShownCell(pKse, UK_STOCK, "107", UK_AVERAGE);
    const std::string strUsAfter = ShownCell(pUs, UC_SYMBOL, "GLNT", UC_LONG_AVERAGE);
    EXPECT_NE(strKseAverage, strKseAfter);
    EXPECT_EQ(Places(strKseAverage), Places(strKseAfter)) << strKseAverage << " then " << strKseAfter;
    EXPECT_EQ(Places(strUsAverage), Places(strUsAfter)) << strUsAverage << " then " << strUsAfter;

    // Asked for the trader's account again, the combined report follows the next trades too.
    ASSERT_EQ(pCombined, askCombined("10020"));
    ASSERT_NO_FATAL_FAILURE(Trade(1, "107", 1000));
    const double dAgain = ShownFigure(pKseHoldings, KSE_HOLDINGS_STOCK, "107", KSE_HOLDINGS_QUANTITY);
    EXPECT_EQ(dKse + 1000, dAgain);
    EXPECT_EQ(dAgain, ShownFigure(pKse, UK_STOCK, "107", UK_QTY));
    EXPECT_EQ(dAgain, ShownFigure(pCombined, CU_SYMBOL, "107", CU_QTY));
    Picture(pCombined, "account_combined_unrealized_accounts");
}
