// The date-range reports end to end as the trader: each opened from the menu on its last seven
// days, then for a range and refreshed on it, its rows summed against the server's own account
// history (--state) and its caption naming the echoed range; the combined report converted
// into the base currency; refusals and a link down leaving each report as it was.
#include <gtest/gtest.h>
#include <algorithm>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>
#include "account/CombinedRealizedProfitLossTable.h"
#include "account/HistRangeDlg.h"
#include "account/HistTransactionKSETable.h"
#include "account/HistTransactionTable.h"
#include "account/RealizedProfitLossKSETable.h"
#include "account/RealizedProfitLossTable.h"
#include "app/FormMDIWnd.h"
#include "app/NorvMainFrame.h"
#include "app/ZorvatApp.h"
#include "framework/table/ViewTable.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/PreferencesDlg.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/DateTimePick.h"
#include "platform/win/user/TestAnswers.h"
#include "tests/account/AccountTestSupport.h"
#include "tests/common/DialogSteps.h"

namespace {
const double CENT = 0.011;
const long WIDE_FROM = 20261101, WIDE_TO = 20261231;

// YYYYMMDD of a picker.
long PickerDay(HWND hDlg, int nId)
{
    SYSTEMTIME st = {};
    SendMessageA(GetDlgItem(hDlg, nId), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
    return st.wYear * 10000L + st.wMonth * 100L + st.wDay;
}
long DayOf(time_t nTime)
{
    struct tm day = {};
    gmtime_r(&nTime, &day);
    return (day.tm_year + 1900) * 10000L + (day.tm_mon + 1) * 100L + day.tm_mday;
}

struct REPORT
{
    UINT nCommand;
    UINT nTable;
    const char* pszReply;
    const char* pszKind;        // the state's lines of its history
    int nStateField;            // their amount
    const char* pszMarkets;     // the markets of its history, as the state names them ("||": cash)
    const char* pszCurrency;    // its currency; empty for any
    int nColumn;                // the table's column of that amount
    const char* pszShot;
    const char* pszFirstReply = nullptr;    // a reply the report takes before its own
};
const REPORT s_reports[] = {
    {ID_APP_US_REALIZED, IDS_TABLE_US_REALIZED, "RP", "realized", 7, "|4|8|16|", "", 12, "account_realized_us"},
    {ID_APP_KSE_REALIZED, IDS_TABLE_KSE_REALIZED, "RK", "realized", 7, "|2|", "", 17, "account_realized_kse"},
    {ID_APP_US_TRANSACTIONS, IDS_TABLE_US_TRANSACTIONS, "TH", "transaction", 4, "|4|8|16|", "", 8, "account_transactions_us"},
    {ID_APP_KSE_TRANSACTIONS, IDS_TABLE_KSE_TRANSACTIONS, "TK", "transaction", 4, "|2||", "KWD", 11, "account_transactions_kse"},
};
enum { CC_PROFIT = 12, CC_CURRENCY = 15, CC_BASE_PROFIT = 19 };

double Sum(CDataTable* pTable, int nCol)
{
    double dSum = 0;
    for (int i = 0; i < pTable->GetRows()->GetCount(); ++i)
        dSum += pTable->GetRows()->GetAt(i)->GetDouble(nCol);
    return dSum;
}
std::string Caption(CDataTable* pTable)
{
    return std::string(pTable->GetTable()->GetView(0)->GetTitleAt(0));
}
// A title's range as the user reads it, in the title's code page.
std::string Range(bool bArabic, const std::string& strFrom, const std::string& strTo)
{
    return bArabic ? TbUtf8ToCodePage(" من " + strFrom + " إلى " + strTo, 1256) : " from " + strFrom + " through " + strTo;
}

struct CRangeReports : CAccountSession
{
    std::string strState = "/tmp/pnl_state_" + std::to_string(getpid());

    void TearDown() override
    {
        CAccountSession::TearDown();
        unlink(strState.c_str());
    }

    // The server's lines of a kind and of the markets within the range, each as its fields.
    std::vector<std::vector<std::string>> StateLines(const char* pszKind, const char* pszMarkets, long nFrom, long nTo) const
    {
        std::ifstream file(strState);
        std::string strLine;
        std::vector<std::vector<std::string>> lines;
        while (std::getline(file, strLine)) {
            const std::vector<std::string> f = Split(strLine);
            if (f.size() < 6 || f[0] != pszKind || f[1] != "trader")
                continue;
            const long nDate = 20000000 + atol(f[2].c_str());
            if (nDate >= nFrom && nDate <= nTo && std::string(pszMarkets).find("|" + f[3] + "|") != std::string::npos)
                lines.push_back(f);
        }
        return lines;
    }
    double StateSum(const REPORT& r, long nFrom, long nTo) const
    {
        double dSum = 0;
        for (const auto& f : StateLines(r.pszKind, r.pszMarkets, nFrom, nTo))
            if (*r.pszCurrency == 0 || f[5] == r.pszCurrency)
                dSum += atof(f[r.nStateField].c_str());
        return dSum;
    }
    // The rate the server lists from a currency ("=USD") into the base; 1 for the base itself,
    // 0 for none.
    double Rate(const std::string& strFrom, const std::string& strBase) const
    {
        std::ifstream file(strState);
        std::string strLine;
        while (std::getline(file, strLine)) {
            const std::vector<std::string> f = Split(strLine);
            if (f.size() >= 4 && f[0] == "rate" && "=" + f[1] == strFrom && "=" + f[2] == strBase)
                return atof(f[3].c_str());
        }
        return strFrom == strBase ? 1.0 : 0.0;
    }
    void ChooseBaseCurrency(const char* pszCode) { ::ChooseBaseCurrency(*pRun, pszCode); }

    // The number of reply lines of a mnemonic the server has sent.
    size_t Replies(const char* pszReply) const { return Sent(pszReply).size(); }
    // Runs the command (or the refresh, nCommand 0, of pTable) through its dialog: the pickers
    // are checked against the range it opens on, set to the range asked (0: as they open), OK.
    // The pickers of the dialog asked; the combined report's has its own.
    int nPickFrom = IDC_RANGE_FROM, nPickTo = IDC_RANGE_TO;
    void Ask(UINT nCommand, CDataTable* pTable, long nOpenFrom, long nOpenTo, long nFrom = 0, long nTo = 0)
    {
        const int nIdFrom = nPickFrom, nIdTo = nPickTo;
        RunDialogSteps({{nIdFrom, [=](HWND hDlg) {
                             EXPECT_EQ(nOpenFrom, PickerDay(hDlg, nIdFrom));
                             EXPECT_EQ(nOpenTo, PickerDay(hDlg, nIdTo));
                             if (nFrom != 0) {
                                 SetPicker(hDlg, nIdFrom, nFrom);
                                 SetPicker(hDlg, nIdTo, nTo);
                             }
                             ClickControl(hDlg, IDOK);
                         }}});
        if (nCommand != 0)
            SendMessageA(pRun->App().GetMainFrame()->m_hWnd, WM_COMMAND, nCommand, 0);
        else
            RunTableCommand(pTable, ID_ACCOUNT_REFRESH);
        EXPECT_TRUE(FinishedSteps());
    }
    // Whether the server has sent a whole reply of the mnemonic, its end included, after the
    // first nBefore.
    bool Ended(const char* pszReply, size_t nBefore) const
    {
        size_t nSeen = 0;
        bool bOpen = false;
        for (const std::string& line : Sent("")) {
            if (line.rfind("~" + std::string(pszReply) + "|", 0) == 0)
                bOpen = ++nSeen > nBefore;
            else if (bOpen && line.rfind("~EN|", 0) == 0)
                return true;
        }
        return false;
    }
    // Asks and waits until the terminal has taken the whole reply: the server ended it, and the
    // table, no longer receiving, holds a row for each row the server sent (the combined report:
    // its US reply's and its KSE reply's). A refusal is its header alone, with no end: only that
    // is waited for. The report's table.
    CDataTable* Load(const REPORT& r, CDataTable* pTable, long nOpenFrom, long nOpenTo, long nFrom = 0, long nTo = 0,
                     bool bRefused = false)
    {
        const size_t nBefore = Replies(r.pszReply);
        Ask(pTable != nullptr ? 0 : r.nCommand, pTable, nOpenFrom, nOpenTo, nFrom, nTo);
        if (bRefused) {
            EXPECT_TRUE(PumpUntil([&] { return Replies(r.pszReply) > nBefore; }));
            PumpFor(200);
            return FindDataTable(r.nTable);
        }
        EXPECT_TRUE(PumpUntil([&] { return Ended(r.pszReply, nBefore); }));
        const auto rows = [&] {
            return LastReplyRows(r.pszReply).size() + (r.pszFirstReply != nullptr ? LastReplyRows(r.pszFirstReply).size() : 0);
        };
        EXPECT_TRUE(PumpUntil([&] {
            CDataTable* pShown = FindDataTable(r.nTable);
            return pShown != nullptr && !pShown->IsReceiving() && static_cast<size_t>(pShown->GetRows()->GetCount()) == rows();
        })) << "the reply's " << rows() << " rows";
        return FindDataTable(r.nTable);
    }
};

struct CRangeReportsInLanguage : CRangeReports, ::testing::WithParamInterface<bool>
{
};
}  // namespace

TEST_P(CRangeReportsInLanguage, EveryReportMatchesTheServersHistoryForItsRange)
{
    const bool bArabic = GetParam();
    ASSERT_TRUE(StartSession({"--rate", "0", "--state", strState}, bArabic));
    const long nToday = DayOf(time(nullptr)), nWeekAgo = DayOf(time(nullptr) - 7 * 86400);
    for (const REPORT& r : s_reports) {
        SCOPED_TRACE(r.pszShot);
        // From the menu: the last seven days.
        CDataTable* pTable = Load(r, nullptr, nWeekAgo, nToday);
        ASSERT_NE(nullptr, pTable);
        EXPECT_NEAR(StateSum(r, nWeekAgo, nToday), Sum(pTable, r.nColumn), CENT);
        // A range of its own, then the refresh on that range.
        for (CDataTable* pAgain : {static_cast<CDataTable*>(nullptr), pTable}) {
            if (pAgain == nullptr)
                EXPECT_EQ(pTable, Load(r, nullptr, nWeekAgo, nToday, WIDE_FROM, WIDE_TO));
            else
                EXPECT_EQ(pTable, Load(r, pTable, WIDE_FROM, WIDE_TO));
            EXPECT_LT(0, pTable->GetRows()->GetCount());
            EXPECT_NEAR(StateSum(r, WIDE_FROM, WIDE_TO), Sum(pTable, r.nColumn), CENT);
            // The window's title before the range, not the table's settings key.
            const std::string strCaption = Caption(pTable);
            const size_t nRange = strCaption.find(Range(bArabic, "01/11/2026", "31/12/2026"));
            ASSERT_NE(std::string::npos, nRange) << strCaption;
            CString strKey;
            strKey.LoadString(r.nTable);
            EXPECT_NE(static_cast<LPCSTR>(strKey), strCaption.substr(0, nRange));
        }
        Shoot(pTable, std::string(r.pszShot) + (bArabic ? "_ar" : "_en"));
    }
    // A range that ends before it starts is refused with the reason, in the user's language: the
    // form stays open, nothing goes out and the report keeps its rows and range.
    CDataTable* pKseHistory = FindDataTable(s_reports[3].nTable);
    ASSERT_NE(nullptr, pKseHistory);
    const int nKseRows = pKseHistory->GetRows()->GetCount();
    const std::string strKseCaption = Caption(pKseHistory);
    const auto asked = [&] {
        const std::vector<std::string> lines = server.Received();
        return std::count_if(lines.begin(), lines.end(), [](const std::string& line) { return line.rfind("&TK|", 0) == 0; });
    };
    const auto nAsked = asked();
    RunDialogSteps({{IDC_RANGE_FROM, [=](HWND hDlg) {
                         SetPicker(hDlg, IDC_RANGE_FROM, WIDE_TO);
                         SetPicker(hDlg, IDC_RANGE_TO, WIDE_FROM);
                         ClickControl(hDlg, IDOK);
                     }},
                    {IDC_RANGE_FROM, [=](HWND hDlg) {
                         EXPECT_EQ(WIDE_TO, PickerDay(hDlg, IDC_RANGE_FROM)) << "the form keeps what was chosen";
                         ClickControl(hDlg, IDCANCEL);
                     }}});
    RunTableCommand(pKseHistory, ID_ACCOUNT_REFRESH);
    EXPECT_TRUE(FinishedSteps());
    PumpFor(300);
    EXPECT_EQ(nAsked, asked()) << "nothing asked";
    EXPECT_EQ(nKseRows, pKseHistory->GetRows()->GetCount());
    EXPECT_EQ(strKseCaption, Caption(pKseHistory));
    const std::string strReason = bArabic ? TbUtf8ToCodePage("الفترة تنتهي قبل أن تبدأ", 1256) : "the range ends before it starts";
    EXPECT_NE(std::string::npos, pRun->InfoText().find(strReason)) << pRun->InfoText();

    // Both markets' trades, from the menu's dialog opening three days back.
    nPickFrom = IDC_COMBINED_REALIZED_FROM;
    nPickTo = IDC_COMBINED_REALIZED_TO;
    const REPORT combined = {ID_APP_COMBINED_REALIZED, IDS_TABLE_COMBINED_REALIZED, "RK", "realized", 7, "|2|4|8|16|", "", CC_PROFIT, "", "RP"};
    CDataTable* pCombined = Load(combined, nullptr, DayOf(time(nullptr) - 3 * 86400), nToday, WIDE_FROM, WIDE_TO);
    ASSERT_NE(nullptr, pCombined);
    const auto trades = StateLines("realized", "|2|4|8|16|", WIDE_FROM, WIDE_TO);
    ASSERT_EQ(static_cast<int>(trades.size()), pCombined->GetRows()->GetCount());
    double dProfit = 0;
    for (const auto& f : trades)
        dProfit += atof(f[7].c_str());
    EXPECT_NEAR(dProfit, Sum(pCombined, CC_PROFIT), CENT);
    // Each row's profit at its currency's rate to the base, again after the base changed.
    const CString strOldBase = pRun->App().ReadProfileText(".General", "BaseCurrency", "");
    for (const char* pszBase : {"", "=USD", "=KWD"}) {
        if (*pszBase != 0)
            ChooseBaseCurrency(pszBase);
        const std::string strBase(pRun->App().GetBaseCurrency());
        double dBase = 0;
        for (int i = 0; i < pCombined->GetRows()->GetCount(); ++i) {
            CDataBuffer* pRow = pCombined->GetRows()->GetAt(i);
            dBase += pRow->GetDouble(CC_PROFIT) * Rate(std::string(pRow->GetText(CC_CURRENCY, TRUE)), strBase);
        }
        EXPECT_NEAR(dBase, Sum(pCombined, CC_BASE_PROFIT), CENT) << strBase;
    }
    pRun->App().WriteProfileText(".General", "BaseCurrency", strOldBase);
    for (int i = 0; i < pCombined->GetTable()->GetViewCount(); ++i)
        EXPECT_NE(std::string::npos, std::string(pCombined->GetTable()->GetView(i)->GetTitleAt(0)).find(Range(bArabic, "01/11/2026", "31/12/2026")));
    // The refresh opens on the table's range and asks both markets again.
    EXPECT_EQ(pCombined, Load(combined, pCombined, WIDE_FROM, WIDE_TO));
    EXPECT_EQ(static_cast<int>(trades.size()), pCombined->GetRows()->GetCount());
    Shoot(pCombined, std::string("account_realized_combined") + (bArabic ? "_ar" : "_en"));
}
INSTANTIATE_TEST_SUITE_P(Languages, CRangeReportsInLanguage, ::testing::Bool());

// Refused reports and a report that cannot be sent leave every table as it stands, and the
// combined report takes only its own replies.
TEST_F(CRangeReports, RefusalsAndALinkDownLeaveTheReportsAsTheyAre)
{
    ASSERT_TRUE(StartSession({"--rate", "0", "--state", strState, "--fail", "RK=9"}));
    const REPORT& us = s_reports[0];
    const REPORT& kse = s_reports[1];
    const long nToday = DayOf(time(nullptr)), nWeekAgo = DayOf(time(nullptr) - 7 * 86400);
    const int nUsTrades = static_cast<int>(StateLines("realized", us.pszMarkets, WIDE_FROM, WIDE_TO).size());
    ASSERT_LT(0, nUsTrades);

    // Its KSE half refused, the combined report keeps its US rows...
    ASSERT_NE(0, QueryCombinedRealized("261101", "261231"));
    ASSERT_TRUE(PumpUntil([&] { return Replies("RK") > 0; }));
    PumpFor(200);
    CDataTable* pCombined = FindDataTable(IDS_TABLE_COMBINED_REALIZED);
    ASSERT_NE(nullptr, pCombined);
    EXPECT_EQ(nUsTrades, pCombined->GetRows()->GetCount());
    // ...and takes neither the KSE report's refusal nor the US report's rows.
    CDataTable* pKse = Load(kse, nullptr, nWeekAgo, nToday, WIDE_FROM, WIDE_TO, /*bRefused=*/true);
    ASSERT_NE(nullptr, pKse);
    EXPECT_EQ(0, pKse->GetRows()->GetCount());
    EXPECT_EQ(std::string::npos, Caption(pKse).find(" from ")) << "a refusal names no range";
    // Each refusal told once: the combined report's and the KSE report's.
    const std::string strError(pRun->App().GetErrorText(9));
    ASSERT_FALSE(strError.empty());
    const auto told = [&] {
        const std::string strInfo = pRun->InfoText();
        size_t nTold = 0;
        for (size_t nAt = strInfo.find(strError); nAt != std::string::npos; nAt = strInfo.find(strError, nAt + 1))
            ++nTold;
        return nTold;
    };
    // Under load the second refusal may come a little later: waited for, within a bound.
    PumpUntil([&] { return told() >= 2; }, 3000);
    PumpFor(100);
    EXPECT_EQ(2u, told()) << pRun->InfoText();
    CDataTable* pUs = Load(us, nullptr, nWeekAgo, nToday, WIDE_FROM, 20261130);
    ASSERT_NE(nullptr, pUs);
    EXPECT_EQ(0, pUs->GetRows()->GetCount());
    EXPECT_EQ(nUsTrades, pCombined->GetRows()->GetCount());
    EXPECT_EQ(pUs, Load(us, pUs, WIDE_FROM, 20261130, WIDE_FROM, WIDE_TO));
    EXPECT_EQ(nUsTrades, pUs->GetRows()->GetCount());

    // Today's trades join the transactions of a range that holds today only.
    const REPORT& history = s_reports[2];
    CDataTable* pHistory = Load(history, nullptr, nWeekAgo, nToday, WIDE_FROM, 20261130);
    ASSERT_NE(nullptr, pHistory);
    for (long nTo : {20261130L, WIDE_TO}) {
        SCOPED_TRACE(nTo);
        if (nTo == WIDE_TO)
            Load(history, pHistory, WIDE_FROM, 20261130, WIDE_FROM, WIDE_TO);
        const int nRows = pHistory->GetRows()->GetCount();
        const size_t nLive = Replies("NR");
        Send(MSG_OR, "1002|10020|1|ALPN|100|3|0||0|||secret");
        ASSERT_TRUE(PumpUntil([&] { return Replies("NR") > nLive; }));
        // The server has sent it; the terminal takes it a little later.
        if (nTo == WIDE_TO)
            PumpUntil([&] { return pHistory->GetRows()->GetCount() > nRows; }, 3000);
        PumpFor(200);
        EXPECT_EQ(nRows + (nTo == WIDE_TO ? 1 : 0), pHistory->GetRows()->GetCount());
    }

    // The link down at OK: nothing is emptied or re-titled, and the information window says so.
    const std::string strCaption = Caption(pUs);
    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDOK, ""});     // the connection's loss is told
    server.Stop();
    ASSERT_TRUE(PumpUntil([&] { return !pRun->App().IsConnected(); }));
    Ask(0, pUs, WIDE_FROM, WIDE_TO, nWeekAgo, nToday);
    EXPECT_EQ(0, QueryCombinedRealized("261201", "261231"));
    PumpFor(200);
    EXPECT_EQ(nUsTrades, pUs->GetRows()->GetCount());
    EXPECT_EQ(strCaption, Caption(pUs));
    EXPECT_EQ(nUsTrades, pCombined->GetRows()->GetCount());
    EXPECT_EQ(2, pRun->CountInfoLines(IDS_REQUEST_NOT_SENT));
}
